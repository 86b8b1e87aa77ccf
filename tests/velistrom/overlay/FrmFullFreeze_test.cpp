// The freeze: what InitFull makes of the grabs (undimmed copy, dimmed view,
// double height, the pointer), the re-selection without a grab, and a refused
// opening.
#include "OverlayFixture.h"

#include "platform/Clipboard.h"
#include "tests/support/ScriptedDialogs.h"

#include <cstdlib>

using namespace overlaytest;

namespace {

bool within1(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) <= 1 && std::abs(qGreen(a) - qGreen(b)) <= 1 &&
         std::abs(qBlue(a) - qBlue(b)) <= 1;
}

// The blend as the old AlphaBlend gives it: 80/255 of the mask over the rest.
QRgb blendRef(QRgb p) {
  auto ch = [](double m, double v) { return int(m * 80.0 / 255.0 + v * 175.0 / 255.0); };
  return qRgb(ch(128, qRed(p)), ch(128, qGreen(p)), ch(254, qBlue(p)));
}

// Every n-th pixel of a picture region against a function of its coordinates.
template <class F>
int mismatches(const QImage& img, QRect region, F expected, int step = 7) {
  int bad = 0;
  for (int y = region.top(); y <= region.bottom(); y += step)
    for (int x = region.left(); x <= region.right(); x += step)
      if (!expected(x, y, img.pixel(x, y))) ++bad;
  return bad;
}

}  // namespace

TEST(Dimming, EveryLevelWithinOneOfTheBlend) {
  for (int v = 0; v < 256; ++v) {
    const QRgb p = qRgb(v, 255 - v, v / 2);
    EXPECT_TRUE(within1(overlay::dimPixel(p), blendRef(p))) << v;
    QImage one(1, 1, QImage::Format_RGB32);
    one.setPixel(0, 0, p);
    overlay::dimRows(one, 0, 1);
    EXPECT_EQ(one.pixel(0, 0), overlay::dimPixel(p)) << v;
  }
}

TEST_F(OverlayTest, FirstGrabUndimmedCopyEqualsTheGrabAndTheViewIsItsBlend) {
  platform::clipboard::setText("kept");
  FrmFull& f = open(0);
  const int w = sw(), h = sh();
  ASSERT_EQ(grabs, 1);
  EXPECT_EQ(grabRects[0], QRect(0, 0, w, h));
  ASSERT_EQ(f.PictPourSel.size(), QSize(w, 2 * h));
  const QImage& view = f.Picture1.Image();
  ASSERT_EQ(view.size(), QSize(w, 2 * h));
  EXPECT_EQ(mismatches(f.PictPourSel, QRect(0, 0, w, h),
                       [](int x, int y, QRgb p) { return p == patternAt(x, y, 1); }, 1),
            0);
  EXPECT_EQ(mismatches(view, QRect(0, 0, w, h),
                       [](int x, int y, QRgb p) { return within1(p, blendRef(patternAt(x, y, 1))); }),
            0);
  // The room below for a second grab is dimmed black.
  EXPECT_TRUE(within1(view.pixel(5, h + 5), blendRef(qRgb(0, 0, 0))));
  EXPECT_EQ(f.Picture1.Top(), 0);
  EXPECT_EQ(f.Height(), f.Picture1.Height());
  EXPECT_EQ(f.Picture1.Height(), 2 * vb::Screen.Height());
  EXPECT_EQ(gHautDbl, vb::Screen.Height());
  EXPECT_FALSE(f.doubleHeight());
  // Opening the overlay leaves the clipboard alone.
  EXPECT_EQ(platform::clipboard::text(), "kept");
  EXPECT_TRUE(f.TimForgrnd.Enabled());
  EXPECT_EQ(main.only({"colourKey"}), QStringList{"colourKey off"});
}

TEST_F(OverlayTest, TwoMonitorsGrabTwiceTheWidth) {
  monitors = 2;
  FrmFull& f = open(0);
  EXPECT_EQ(grabRects.at(0), QRect(0, 0, 2 * sw(), sh()));
  EXPECT_EQ(f.Picture1.Image().width(), 2 * sw());
  EXPECT_EQ(f.Width(), 2 * vb::Screen.Width());
}

// Grab 1 over grab 2, w wide and h high each: undimmed in the copy the cut
// reads, dimmed in the view.
static void expectGrabAOverGrabB(FrmFull& f, int w, int h) {
  EXPECT_EQ(mismatches(f.PictPourSel, QRect(0, 0, w, 2 * h),
                       [h](int x, int y, QRgb p) {
                         return p == (y < h ? patternAt(x, y, 1) : patternAt(x, y - h, 2));
                       }),
            0);
  EXPECT_EQ(mismatches(f.Picture1.Image(), QRect(0, 0, w, 2 * h),
                       [h](int x, int y, QRgb p) {
                         return within1(p, blendRef(y < h ? patternAt(x, y, 1) : patternAt(x, y - h, 2)));
                       }),
            0);
}

TEST_F(OverlayTest, SecondGrabGoesBelowTheFirstWithFreshSeams) {
  FrmFull& f = open(0);
  f.Hide();
  ASSERT_TRUE(f.InitFull(1));
  const int w = sw(), h = sh();
  ASSERT_EQ(grabs, 2);
  EXPECT_TRUE(f.doubleHeight());
  expectGrabAOverGrabB(f, w, h);
  EXPECT_EQ(f.PictBasSel.pixel(3, 4), patternAt(3, 4, 2));
  EXPECT_EQ(f.PictHautSel.pixel(3, 4), patternAt(3, 4, 1));
  EXPECT_TRUE(within1(f.PictHaut.pixel(3, 4), blendRef(patternAt(3, 4, 1))));
  EXPECT_TRUE(within1(f.PictBas.pixel(3, 4), blendRef(patternAt(3, 4, 2))));
  EXPECT_EQ(f.Picture1.Top(), -vb::Screen.Height() / 2);
  EXPECT_EQ(f.CoupF6(), vb::Screen.Height());
  EXPECT_EQ(f.CoupF7(), vb::Screen.Height());
  EXPECT_EQ(f.MinCoupF6(), vb::Screen.Height() / 2);
  EXPECT_EQ(f.MinCoupF7(), vb::Screen.Height() / 2);
  EXPECT_EQ(f.DemiHautPix(), h / 2);
  EXPECT_EQ(f.NbCoupF6(), 0);
  EXPECT_TRUE(f.PictHelpDbH.Visible());
  EXPECT_TRUE(f.TimLabDbhV.Enabled());
}

TEST_F(OverlayTest, TwoMonitorsInDoubleHeightKeepBothScreensOfBothGrabs) {
  monitors = 2;
  FrmFull& f = open(0);
  ASSERT_TRUE(f.InitFull(1));
  const int w = 2 * sw(), h = sh();
  ASSERT_EQ(grabRects.at(1), QRect(0, 0, w, h));
  expectGrabAOverGrabB(f, w, h);
  // The undimmed strips of the seam keys are as wide as the grab.
  EXPECT_EQ(f.PictHautSel.size(), QSize(w, h));
  EXPECT_EQ(f.PictBasSel.size(), QSize(w, h));
  // A cut on the second monitor across the seam.
  select(f, {(sw() + 99) * 15, (h - 11) * 15, 300, 300});
  f.ValidSel(f.rectsel);
  EXPECT_EQ(f.PictInvis.Image().pixel(0, 0), patternAt(sw() + 100, h - 10, 1));
  EXPECT_EQ(f.PictInvis.Image().pixel(0, 19), patternAt(sw() + 100, 9, 2));
}

TEST_F(OverlayTest, SeamCountersStartAfreshWithEachDoubleHeightOpening) {
  FrmFull& f = open(0);
  ASSERT_TRUE(f.InitFull(1));
  for (int i = 0; i < 3; ++i) {
    int k = 117;  // F6
    f.Picture1_KeyDown(k, 0);
  }
  ASSERT_EQ(f.NbCoupF6(), 3);
  // A validation with the mouse keeps them; the next double view does not.
  select(f, {1500, 1500, 3000, 1500});
  f.Picture1_MouseDown(2, 0, 2000, 2000);
  EXPECT_EQ(f.NbCoupF6(), 3);
  ASSERT_TRUE(f.InitFull(0));
  ASSERT_TRUE(f.InitFull(1));
  EXPECT_EQ(f.NbCoupF6(), 0);
  EXPECT_EQ(f.CoupF6(), vb::Screen.Height());
}

struct PointerCase {
  const char* what;
  bool parClavier;
  quint32 handle;
  int numB;
  bool drawn;
};
void PrintTo(const PointerCase& c, std::ostream* os) { *os << c.what; }

class PointerDrawing : public OverlayTest, public ::testing::WithParamInterface<PointerCase> {};

TEST_P(PointerDrawing, OnlyAHotkeyCaptureWithAVisiblePointerCarriesIt) {
  const PointerCase& c = GetParam();
  FrmFull& f = frmFull();
  if (c.numB == 1) {
    ASSERT_TRUE(f.InitFull(0));
  }
  gParClavier = c.parClavier;
  gHCurseur = c.handle;
  gCursX = 40;
  gCursY = 30;
  pointers.clear();
  ASSERT_TRUE(f.InitFull(c.numB));
  const int h = sh();
  const int row = c.numB == 1 ? h + 30 : 30;  // the pointer sits in the grab it was seen on
  EXPECT_EQ(f.PictPourSel.pixel(40, row) == kPointerMark, c.drawn);
  EXPECT_EQ(f.Picture1.Image().pixel(40, row) == kPointerMark, c.drawn);
  if (c.numB == 1) {
    // The first grab keeps no second pointer.
    EXPECT_EQ(f.PictPourSel.pixel(40, 30), patternAt(40, 30, 1));
    EXPECT_EQ(f.PictBasSel.pixel(40, 30) == kPointerMark, c.drawn);
  }
  for (const PointerCall& p : pointers) EXPECT_EQ(p.handle, c.handle);
  EXPECT_EQ(pointers.empty(), !c.drawn);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PointerDrawing,
    ::testing::Values(PointerCase{"hotkey, visible pointer", true, 4242, 0, true},
                      PointerCase{"hotkey, no visible pointer", true, 65557, 0, false},
                      PointerCase{"toolbar", false, 4242, 0, false},
                      PointerCase{"hotkey, second grab", true, 4242, 1, true},
                      PointerCase{"toolbar, second grab", false, 4242, 1, false}));

TEST_F(OverlayTest, ReselectionReopensTheKeptFrozenScreenWithoutAGrab) {
  FrmFull& f = open(0);
  select(f, {1500, 1500, 3000, 1500});
  int enter = 13;
  f.Picture1_KeyDown(enter, 0);
  ASSERT_FALSE(main.reserv.isNull());
  const QImage kept = main.reserv;
  const QImage undimmed = f.PictPourSel;
  gAnnuler = true;
  gParClavier = true;
  gHCurseur = 4242;
  pointers.clear();
  ASSERT_TRUE(f.InitFull(1));
  EXPECT_EQ(grabs, 1);
  EXPECT_TRUE(pointers.empty());
  EXPECT_EQ(f.Picture1.Image().convertToFormat(QImage::Format_RGB32), kept.convertToFormat(QImage::Format_RGB32));
  EXPECT_EQ(f.PictPourSel, undimmed);
  EXPECT_EQ(f.Picture1.Top(), 0);  // a single-height screen opens unscrolled
}

TEST_F(OverlayTest, BuffersThatCannotBeMadeRefuseTheOpeningWithAMessage) {
  FrmFull& f = frmFull();
  core::bureau().bufferLimit = 1000;
  testenv::dialogs().expectMsgBox("Not enough memory", vb::vbOK);
  EXPECT_FALSE(f.InitFull(0));
  testenv::dialogs().verify();
  EXPECT_EQ(grabs, 0);
  EXPECT_FALSE(f.TimForgrnd.Enabled());
  EXPECT_TRUE(main.calls.isEmpty());
}

TEST_F(OverlayTest, SlideInReachesTheCornerOnTheEighteenthTick) {
  FrmFull& f = frmFull();
  ASSERT_TRUE(f.InitFull(0));
  // The 10 ms timer may already have ticked for real on a slow machine: each
  // tick moves the form 300 twips from its start at 5000.
  const int done = (5000 - f.Left()) / 300;
  ASSERT_EQ(f.Left(), 5000 - 300 * done);
  ASSERT_LT(done, 17);
  EXPECT_TRUE(f.TimMvtDeb.Enabled());
  EXPECT_TRUE(f.TimForgrnd.Enabled());
  for (int i = done; i < 17; ++i) f.TimMvtDeb.tick();
  EXPECT_EQ(f.Left(), -100);
  EXPECT_TRUE(f.TimMvtDeb.Enabled());
  f.TimMvtDeb.tick();
  EXPECT_EQ(f.Left(), 0);
  EXPECT_EQ(f.Top(), 0);
  EXPECT_FALSE(f.TimMvtDeb.Enabled());
}

TEST_F(OverlayTest, LoadAndActivateFollowTheAdjustableOption) {
  for (int opt : {0, 1}) {
    gRectAjust = opt;
    FrmFull& f = open(0);
    EXPECT_EQ(f.rectsel.Visible(), opt == 1);
    EXPECT_EQ(f.coinrect[5].Visible(), opt == 1);
    EXPECT_EQ(f.Labtaille.Visible(), opt == 1);
    EXPECT_EQ(f.LabGuide.Visible(), opt == 1);
    EXPECT_EQ(f.LabPreAff.Visible(), opt == 1);
    EXPECT_TRUE(f.LabDblScreen.Visible());
    if (opt == 0) {
      EXPECT_EQ(f.Picture1.MousePointer(), vb::vbCustom);
    }
    f.Timreinit.tick();
    EXPECT_EQ(f.rectsel.Width(), 420 * 15);
    EXPECT_EQ(f.rectsel.Left(), (vb::Screen.Width() - 420 * 15) / 2);
    vb::Unload(f);
  }
}

TEST_F(OverlayTest, HelpLabelsGoWhenTheirTimersTick) {
  FrmFull& f = open(0);
  ASSERT_TRUE(f.InitFull(1));
  struct Case {
    vb::Timer& timer;
    vb::Control& shown;
    bool timerStops;
  };
  f.LabPreAff.setVisible(true);
  f.Labconsignes.setVisible(true);
  for (Case c : {Case{f.TimLabPreAff, f.LabPreAff, true}, Case{f.TimConsignes, f.Labconsignes, false},
                 Case{f.Timdefil, f.LabDblScreen, false}, Case{f.TimLabDbhV, f.PictHelpDbH, true}}) {
    ASSERT_TRUE(c.shown.Visible()) << c.shown.Name().toStdString();
    c.timer.setEnabled(true);
    c.timer.tick();
    EXPECT_FALSE(c.shown.Visible()) << c.shown.Name().toStdString();
    EXPECT_EQ(c.timer.Enabled(), !c.timerStops) << c.timer.Name().toStdString();
  }
  // The double-height help also goes at the first movement over it.
  f.PictHelpDbH.setVisible(true);
  f.PictHelpDbH_MouseMove(0, 0, 10, 10);
  EXPECT_FALSE(f.PictHelpDbH.Visible());
}

TEST_F(OverlayTest, SnappingTickRoundsTheSelectionDownTo10Pixels) {
  gOptChk0 = 1;
  FrmFull& f = open(0);
  select(f, {1500, 1500, 2415, 1560});
  f.geometry().setTimtailleEnabled(true);
  f.syncControls();
  ASSERT_TRUE(f.Timtaille.Enabled());
  f.Timtaille.tick();
  EXPECT_EQ(f.rectsel.Width(), 2400);
  EXPECT_EQ(f.rectsel.Height(), 1500);
  EXPECT_EQ(f.coinrect[4].Left(), 1500 + 2400);
  EXPECT_FALSE(f.Timtaille.Enabled());
}

namespace {

// A grab that gives nothing is said and closes the overlay, on a first
// opening and on a second grab under an overlay already shown.
TEST_F(OverlayTest, AFailedGrabIsSaidAndClosesTheOverlay) {
  const auto goodGrab = core::bureau().grab;
  for (const int numB : {0, 1}) {
    SCOPED_TRACE(numB);
    core::bureau().grab = goodGrab;
    FrmFull& f = open(0);
    main.calls.clear();
    if (numB == 0) f.Hide();
    core::bureau().grab = [](const QRect&) { return QImage(); };
    testenv::dialogs().expectMsgBox("could not be grabbed", vb::vbOK);
    EXPECT_FALSE(f.InitFull(numB));
    testenv::dialogs().verify();
    EXPECT_EQ(testenv::dialogs().shown().back().icon, "exclamation");
    EXPECT_FALSE(f.Visible());
    EXPECT_FALSE(f.TimForgrnd.Enabled());
    EXPECT_FALSE(f.TimMvtDeb.Enabled());
    EXPECT_EQ(main.only({"escapeToMain"}).size(), numB == 1 ? 1 : 0) << main.calls.join(", ").toStdString();
    frmFull.destroyNow();
  }
}

}  // namespace
