// Cutting a region from the grab on show: the band's geometry (reversed drags,
// snapping, the right button moving it), its size text, the cut into the
// capture list, multi-zone mode, and the releases that take nothing.
#include "tests/velistrom/mainwin/ShowFixture.h"
#include "velistrom/mainwin/Apercu.h"

#include <QFile>

namespace {

using showfix::coords;
using showfix::rgb;
namespace cb = platform::clipboard;

TEST(ApercuRules, SnappingBringsADistanceDownToHundreds) {
  const struct {
    double in, out;
  } cases[] = {{0, 0}, {1, 0}, {99, 0}, {100, 100}, {250, 200}, {1234, 1200}, {99.4, 0}};
  for (const auto& c : cases) EXPECT_EQ(mainwin::AccrocherCent(c.in), c.out) << c.in;
}

TEST(ApercuRules, SizeText) {
  EXPECT_EQ(mainwin::TexteTaille(1500, 900), " 1500 X 900 = ~ 17 K (bmp)");
  EXPECT_EQ(mainwin::TexteTaille(0, 200), " 0 X 200 = ~ 0 K (bmp)");
}

class Apercu : public showfix::Show {
 protected:
  void SetUp() override {
    Show::SetUp();
    gOptChk0 = 0;
    m().Mnumulti.setChecked(false);
    m().rectsel.Move(0, 0, 0, 0);
    // The grab on show, as a whole-screen or window capture leaves it.
    m().Picture1.setPicture(coords(200, 150));
    m().Picture1.setVisible(true);
    m().Picture2.setVisible(false);
    m().setCaption("Velistrom - grab");
  }
  void TearDown() override {
    gOptChk0 = 0;
    Show::TearDown();
  }
  // A drag with the left button from one pixel of the grab to another.
  void drag(QPoint from, QPoint to, int button = 1) {
    m().Picture1_MouseDown(button, 0, from.x() * 15, from.y() * 15);
    m().Picture1_MouseMove(button, 0, to.x() * 15, to.y() * 15);
    m().Picture1_MouseUp(button, 0, to.x() * 15, to.y() * 15);
  }
  QRect band() const {
    const vb::Shape& r = main_->rectsel;
    return QRect(r.Left(), r.Top(), r.Width(), r.Height());
  }
};

TEST_F(Apercu, TheBandFollowsTheDragAndTheRightButtonMovesIt) {
  struct Move {
    int button;
    double x, y;
  };
  struct Case {
    const char* name;
    int snap;
    QPointF down;
    std::vector<Move> moves;
    QRect band;
    bool visible;
  } cases[] = {
      {"down-right", 0, {100, 200}, {{1, 1600, 1100}}, QRect(100, 200, 1500, 900), true},
      {"up-left", 0, {1600, 1100}, {{1, 100, 200}}, QRect(100, 200, 1500, 900), true},
      {"snapped 99 and 250", 1, {1000, 1000}, {{1, 1099, 1250}}, QRect(1000, 1000, 0, 200), true},
      {"snapped, reversed", 1, {1000, 1000}, {{1, 750, 901}}, QRect(750, 901, 200, 0), true},
      {"right button joins", 0, {100, 200}, {{1, 1600, 1100}, {3, 3000, 2000}}, QRect(3000, 2000, 1500, 900), true},
      {"right button alone", 0, {100, 200}, {{2, 700, 800}}, QRect(700, 800, 0, 0), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gOptChk0 = c.snap;
    m().rectsel.Move(0, 0, 0, 0);
    m().rectsel.setVisible(false);
    m().Labtaille.setCaption("before");
    m().Picture1_MouseDown(c.moves.front().button & 1 ? 1 : 2, 0, c.down.x(), c.down.y());
    for (const Move& mv : c.moves) m().Picture1_MouseMove(mv.button, 0, mv.x, mv.y);
    EXPECT_EQ(band(), c.band);
    EXPECT_EQ(m().rectsel.Visible(), c.visible);
    if (c.moves.back().button != 1) {
      EXPECT_EQ(gSelX0, c.band.left()) << "the anchor moves with the band";
      EXPECT_EQ(gSelY0, c.band.top());
    }
    m().SelEnCours = false;
  }
  // The size text comes from the left-button drags only.
  gOptChk0 = 0;
  m().Picture1_MouseDown(1, 0, 100, 200);
  m().Picture1_MouseMove(1, 0, 1600, 1100);
  EXPECT_EQ(m().Labtaille.Caption(), " 1500 X 900 = ~ 17 K (bmp)");
  m().Picture1_MouseMove(2, 0, 50, 50);
  EXPECT_EQ(m().Labtaille.Caption(), " 1500 X 900 = ~ 17 K (bmp)");
  // Idle: moves change nothing.
  m().SelEnCours = false;
  m().Picture1_MouseMove(1, 0, 3000, 3000);
  EXPECT_EQ(band(), QRect(50, 50, 1500, 900));
}

TEST_F(Apercu, AReleaseCutsThoseGrabPixelsIntoANewRegionCapture) {
  gModeCapt = "e";  // the grab came from a whole-screen capture
  cb::setText("before");
  drag({10, 20}, {60, 50});

  ASSERT_EQ(gNbCapt, 1);
  const QImage cut = coords(200, 150).copy(10, 20, 50, 30);
  EXPECT_EQ(rgb(m().Picture2.Image()), cut);
  EXPECT_EQ(rgb(cb::picture()), cut);
  EXPECT_EQ(gTabMode[1], "z");
  EXPECT_EQ(fl().Lbldim[1].Caption(), "01/  50 x 30");
  EXPECT_EQ(gTabLargCapt[1], 750);
  EXPECT_EQ(gTabHautCapt[1], 450);
  EXPECT_EQ(gTabTaille[1], " 750 X 450 = ~ 4 K (bmp)");
  QImage written;
  ASSERT_TRUE(written.load(FrmMain::CheminTemp(1)));
  EXPECT_EQ(rgb(written), cut);
  // Back to the normal layout.
  EXPECT_EQ(m().Caption(), "Velistrom - region");
  EXPECT_FALSE(m().Picture1.Visible());
  EXPECT_TRUE(m().Picture2.Visible());
  EXPECT_FALSE(m().ImgTTscreen.Visible());
  EXPECT_EQ(m().Picture2.Top(), m().bouton[0].Height() + 80);
  EXPECT_EQ(m().Picture2.Left(), 20);
  EXPECT_EQ(m().HautGrab, 150 * 15);
  EXPECT_EQ(m().LargGrab, 200 * 15);
  EXPECT_EQ(m().Picture1.MousePointer(), 2);
  EXPECT_TRUE(m().mnufichier.Visible());
  EXPECT_FALSE(m().rectsel.Visible());
  EXPECT_FALSE(m().SelEnCours);
}

TEST_F(Apercu, ABandReachingPastTheGrabCutsOnlyWhatLiesOnIt) {
  drag({190, 140}, {250, 200});
  ASSERT_EQ(gNbCapt, 1);
  EXPECT_EQ(rgb(m().Picture2.Image()), coords(200, 150).copy(190, 140, 10, 10));
  EXPECT_EQ(gTabLargCapt[1], 150);
  EXPECT_EQ(gTabHautCapt[1], 150);
  EXPECT_EQ(fl().Lbldim[1].Caption(), "01/  10 x 10");
}

TEST_F(Apercu, AReleaseThatFramesNothingTakesNothingAndSaysNothing) {
  struct Case {
    const char* name;
    int snap;
    QPoint from, to;
  } cases[] = {
      {"no move, fresh band", 0, {10, 10}, {10, 10}},
      {"snapped below 100 twips", 1, {10, 10}, {16, 80}},
      {"moved off the grab", 0, {10, 10}, {10, 10}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gOptChk0 = c.snap;
    if (QString(c.name) == "moved off the grab") {
      m().rectsel.Move(0, 0, 300, 300);
      m().Picture1_MouseDown(2, 0, 0, 0);
      m().Picture1_MouseMove(2, 0, 4000, 4000);
      m().Picture1_MouseUp(2, 0, 4000, 4000);
    } else {
      m().rectsel.Move(0, 0, 0, 0);
      drag(c.from, c.to);
    }
    EXPECT_EQ(gNbCapt, 0);
    EXPECT_EQ(m().Caption(), "Velistrom - grab");
    EXPECT_TRUE(m().Picture1.Visible()) << "the grab stays for another try";
  }
}

TEST_F(Apercu, MultiZoneKeepsTheGrabAndMarksEachCut) {
  m().Mnumulti.setChecked(true);
  // Each cut: the list's count in the caption, then the mark of one more region.
  const struct {
    QPoint from, to;
    const char* caption;
  } cuts[] = {{{0, 0}, {10, 10}, "Velistrom - 1 capture +1"},
              {{20, 20}, {40, 30}, "Velistrom - 2 captures +1"},
              {{100, 100}, {101, 101}, "Velistrom - 3 captures +1"}};
  for (const auto& c : cuts) {
    drag(c.from, c.to);
    EXPECT_EQ(m().Caption(), c.caption);
    EXPECT_TRUE(m().Picture1.Visible()) << "the grab stays for the next region";
  }
  ASSERT_EQ(gNbCapt, 3);
  EXPECT_EQ(rgb(m().Picture2.Image()), coords(200, 150).copy(100, 100, 1, 1));
  EXPECT_EQ(gTabLargCapt[2], 300);
}

TEST_F(Apercu, AFullListTakesNoCutAndLeavesCaptionClipboardAndGrab) {
  for (int i = 1; i <= 200; ++i) add(Qt::red, 4, 3);
  m().Picture1.setVisible(true);
  m().setCaption("Velistrom - grab");
  cb::setText("the user's own text");
  testenv::dialogs().expectMsgBox("At most 200 captures", vb::vbOK);
  drag({10, 20}, {60, 50});
  testenv::dialogs().verify();
  EXPECT_EQ(gNbCapt, 200);
  EXPECT_EQ(m().Caption(), "Velistrom - grab");
  EXPECT_EQ(cb::text(), "the user's own text");
  EXPECT_TRUE(m().Picture1.Visible());
}

}  // namespace
