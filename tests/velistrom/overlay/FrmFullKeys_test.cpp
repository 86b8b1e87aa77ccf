// The keys of the overlay: arrows with their modifier priority, Escape, F12, the
// double-height scroll and seam keys, the two-screen keys.
#include "OverlayFixture.h"

#include "tests/support/ScriptedDialogs.h"
#include "velistrom/core/GlobTextes.h"

using namespace overlaytest;
using overlay::Rect;

namespace {
constexpr int kShift = 1, kCtrl = 2, kAlt = 4;
constexpr int kF6 = 117, kF7 = 118, kF8 = 119, kF9 = 120;

void press(FrmFull& f, int key, int shift = 0) {
  int k = key;
  f.Picture1_KeyDown(k, shift);
}
}  // namespace

struct ArrowCase {
  const char* what;
  int rectAjust;
  Rect start;
  int key, shift;
  int dL, dT, dW, dH;
};
void PrintTo(const ArrowCase& c, std::ostream* os) { *os << c.what; }

class OverlayArrows : public OverlayTest, public ::testing::WithParamInterface<ArrowCase> {};

TEST_P(OverlayArrows, ChangeOfTheRectangle) {
  const ArrowCase& c = GetParam();
  gRectAjust = c.rectAjust;
  FrmFull& f = open(0);
  select(f, c.start);
  main.calls.clear();
  press(f, c.key, c.shift);
  const Rect r = f.geometry().rectsel().rect();
  EXPECT_EQ(r, (Rect{c.start.Left + c.dL, c.start.Top + c.dT, c.start.Width + c.dW, c.start.Height + c.dH}));
  EXPECT_EQ(f.rectsel.Left(), r.Left);
  EXPECT_EQ(f.rectsel.Width(), r.Width);
  EXPECT_EQ(f.geometry().rectlibre().rect(), r);
  EXPECT_EQ(f.Labtaille.Caption(), f.geometry().sizeText(r));
  EXPECT_EQ(f.LabPosition.Caption(), f.geometry().positionText(r));
  EXPECT_EQ(main.calls.first(), "overlayKey");
}

constexpr Rect kR{1500, 1500, 3000, 1500};
INSTANTIATE_TEST_SUITE_P(
    Table, OverlayArrows,
    ::testing::Values(
        ArrowCase{"Right", 1, kR, 39, 0, 0, 0, 15, 0}, ArrowCase{"Left", 1, kR, 37, 0, 0, 0, -15, 0},
        ArrowCase{"Down", 1, kR, 40, 0, 0, 0, 0, 15}, ArrowCase{"Up", 1, kR, 38, 0, 0, 0, 0, -15},
        ArrowCase{"Alt+Right", 1, kR, 39, kAlt, 0, 0, 300, 0},
        ArrowCase{"Alt+Up", 1, kR, 38, kAlt, 0, 0, 0, -300},
        ArrowCase{"Shift+Right", 1, kR, 39, kShift, 15, 0, 0, 0},
        ArrowCase{"Shift+Down", 1, kR, 40, kShift, 0, 15, 0, 0},
        ArrowCase{"Ctrl+Left", 1, kR, 37, kCtrl, -300, 0, 0, 0},
        ArrowCase{"Ctrl+Up", 1, kR, 38, kCtrl, 0, -300, 0, 0},
        ArrowCase{"Ctrl+Alt+Right: Alt wins", 1, kR, 39, kCtrl | kAlt, 0, 0, 300, 0},
        ArrowCase{"Shift+Ctrl+Right: Shift wins", 1, kR, 39, kShift | kCtrl, 15, 0, 0, 0},
        ArrowCase{"Left at width 0 stays 0", 1, {1500, 1500, 0, 1500}, 37, 0, 0, 0, 0, 0},
        ArrowCase{"Alt+Up under 20 pixels stops at 0", 1, {1500, 1500, 3000, 150}, 38, kAlt, 0, 0, 0, -150},
        ArrowCase{"a letter changes nothing", 1, kR, 65, 0, 0, 0, 0, 0},
        ArrowCase{"F6 with Ctrl alone changes nothing", 1, kR, kF6, kCtrl, 0, 0, 0, 0},
        ArrowCase{"no handles: Right", 0, kR, 39, 0, 0, 0, 15, 0},
        ArrowCase{"no handles: Alt+Left", 0, kR, 37, kAlt, 0, 0, -300, 0},
        ArrowCase{"no handles: Shift+Down", 0, kR, 40, kShift, 0, 15, 0, 0},
        ArrowCase{"no handles: Ctrl+Right", 0, kR, 39, kCtrl, 300, 0, 0, 0}));

TEST_F(OverlayTest, EscapeKeepsTheFrozenScreenAndLeavesTheLastRegionsSize) {
  FrmFull& f = open(0);
  ASSERT_TRUE(f.InitFull(1));
  press(f, kF6);
  press(f, kF7);
  HideWatch watch;
  f.widget()->installEventFilter(&watch);
  gLargImg = 3000;
  gHautImg = 1500;
  main.calls.clear();
  press(f, 27);
  EXPECT_EQ(main.calls, (QStringList{"overlayKey", "setPictReserv", "escapeToMain"}));
  EXPECT_EQ(main.reserv, f.Picture1.Image());
  EXPECT_EQ(f.PictSave, f.Picture1.Image());
  EXPECT_FALSE(f.Visible());
  EXPECT_TRUE(watch.finFullAtHide);
  EXPECT_EQ(f.NbCoupF6(), 0);
  EXPECT_EQ(f.NbCoupF7(), 0);
  f.Show();
  press(f, 27);
  EXPECT_EQ(gLargImg, 3000);
  EXPECT_EQ(gHautImg, 1500);
  EXPECT_EQ(gMargeEchapX, 60);
  EXPECT_EQ(gMargeEchapY, 60);
  EXPECT_TRUE(main.only({"GestVignettes", "CopiePP"}).isEmpty());
}

// Escape, or a region hotkey hiding the overlay, in the 400 ms before a
// series re-shows it: it stays hidden.
TEST_F(OverlayTest, HidingTheOverlayCancelsTheSeriesReShow) {
  main.multi = true;
  FrmFull& f = open(0);
  select(f, kR);
  f.ValidSel(f.rectsel);
  ASSERT_TRUE(f.Timtransp.Enabled());
  press(f, 27);
  EXPECT_FALSE(f.Timtransp.Enabled());
  open(0);
  f.ValidSel(f.rectsel);
  ASSERT_TRUE(f.Timtransp.Enabled());
  f.Hide();
  EXPECT_FALSE(f.Timtransp.Enabled());
}

TEST_F(OverlayTest, EnterOnEitherKeyboardValidatesTheSelection) {
  FrmFull& f = open(0);
  select(f, kR);
  // The keypad's Enter reaches the handler as the same key code.
  EXPECT_EQ(vb::vkFromQtKey(Qt::Key_Enter, true), 13);
  press(f, 13);
  EXPECT_EQ(main.only({"GestVignettes"}), QStringList{"GestVignettes PictInvis"});
  EXPECT_EQ(gSelX, kR.Left);
}

TEST_F(OverlayTest, F12TwiceRestoresEachDecoration) {
  FrmFull& f = open(0);
  select(f, kR);
  f.geometry().setCoinVisible(3, false);
  f.LabGuide.setVisible(false);
  f.PictClaire.setVisible(true);
  f.syncControls();
  std::vector<vb::Control*> all{&f.rectsel, &f.LabPrecis, &f.Labtaille, &f.PictValid, &f.LabGuide, &f.PictClaire};
  for (int i = 0; i < 8; ++i) all.push_back(&f.coinrect[i]);
  std::vector<bool> before;
  for (auto* c : all) before.push_back(c->Visible());
  press(f, 123);
  for (std::size_t i = 0; i < all.size(); ++i) EXPECT_NE(all[i]->Visible(), before[i]) << all[i]->Name().toStdString() << i;
  press(f, 123, kShift);
  for (std::size_t i = 0; i < all.size(); ++i) EXPECT_EQ(all[i]->Visible(), before[i]) << all[i]->Name().toStdString() << i;
}

TEST_F(OverlayTest, SeamAndScrollKeysDoNothingOnASingleHeightView) {
  FrmFull& f = open(0);
  select(f, kR);
  const QImage view = f.Picture1.Image();
  const QImage undimmed = f.PictPourSel;
  for (int key : {kF6, kF7, kF8, kF9}) {
    press(f, key);
    press(f, key, kShift);
  }
  EXPECT_EQ(f.Picture1.Top(), 0);
  EXPECT_EQ(f.NbCoupF6(), 0);
  EXPECT_EQ(f.NbCoupF7(), 0);
  EXPECT_EQ(f.Picture1.Image(), view);
  EXPECT_EQ(f.PictPourSel, undimmed);
}

TEST_F(OverlayTest, F6LiftsTheSecondGrabAndNeverReadsPastIt) {
  FrmFull& f = open(0);
  ASSERT_TRUE(f.InitFull(1));
  const int h = sh();
  press(f, kF6);
  EXPECT_EQ(f.DemiHautPix(), h - 2);
  EXPECT_EQ(f.NbCoupF6(), 1);
  EXPECT_EQ(f.CoupF6(), vb::Screen.Height() - 15);
  EXPECT_EQ(f.PictPourSel.pixel(7, h - 2), patternAt(7, 1, 2));
  EXPECT_EQ(f.Picture1.Image().pixel(7, h - 2), f.PictBas.pixel(7, 1));
  press(f, kF6, kShift);
  EXPECT_EQ(f.NbCoupF6(), 0);
  EXPECT_EQ(f.PictPourSel.pixel(7, h - 2), patternAt(7, 0, 2));
  press(f, kF6, kShift);  // at 0: refused
  EXPECT_EQ(f.NbCoupF6(), 0);
  // Down to the guard: each step lifts it one more row; the last rows, past the
  // grab, keep what they showed.
  for (int i = 0; i < h; ++i) press(f, kF6);
  const int n = f.NbCoupF6();
  EXPECT_EQ(n, h / 2 + 1);
  EXPECT_EQ(f.PictPourSel.pixel(7, h - 2), patternAt(7, n, 2));
  EXPECT_EQ(f.PictPourSel.pixel(7, 2 * h - 3 - n), patternAt(7, h - 1, 2));
}

// Across two monitors the undimmed copy (the cut's source) follows the seam
// as the view does, on both halves.
TEST_F(OverlayTest, F6OnTwoMonitorsMovesTheSeamOfTheUndimmedCopyOnBothHalves) {
  monitors = 2;
  FrmFull& f = open(0);
  ASSERT_TRUE(f.InitFull(1));
  const int h = sh();
  press(f, kF6);
  press(f, kF6);
  for (int x : {7, sw() + 7}) {
    EXPECT_EQ(f.PictPourSel.pixel(x, h - 2), patternAt(x, 2, 2)) << x;
    EXPECT_EQ(f.Picture1.Image().pixel(x, h - 2), overlay::dimPixel(f.PictPourSel.pixel(x, h - 2))) << x;
  }
}

TEST_F(OverlayTest, F7PushesTheFirstGrabDownOneRowAtATime) {
  FrmFull& f = open(0);
  ASSERT_TRUE(f.InitFull(1));
  press(f, kF7);
  press(f, kF7);
  EXPECT_EQ(f.NbCoupF7(), 2);
  EXPECT_EQ(f.PictPourSel.pixel(5, 0), patternAt(5, 0, 1));  // rows above keep what they showed
  EXPECT_EQ(f.PictPourSel.pixel(5, 2), patternAt(5, 0, 1));
  EXPECT_EQ(f.PictPourSel.pixel(5, 12), patternAt(5, 10, 1));
  EXPECT_EQ(f.Picture1.Image().pixel(5, 12), f.PictHaut.pixel(5, 10));
  press(f, kF7, kShift);
  EXPECT_EQ(f.PictPourSel.pixel(5, 12), patternAt(5, 11, 1));
}

TEST_F(OverlayTest, F8AndF9ScrollHalfAScreenEachWay) {
  FrmFull& f = open(0);
  ASSERT_TRUE(f.InitFull(1));
  const int H = vb::Screen.Height();
  const int steps = H / 2 / 100;
  for (int i = 0; i < steps + 3; ++i) press(f, kF8);
  EXPECT_EQ(f.Picture1.Top(), -H);
  EXPECT_EQ(f.MinCoupF6(), H / 2 + 100 * steps);
  for (int i = 0; i < 3 * steps; ++i) press(f, kF9);
  EXPECT_EQ(f.Picture1.Top(), 0);
  // Trimmed seams make F8 stop earlier, without a refresh.
  ASSERT_TRUE(f.InitFull(1));
  for (int i = 0; i < 3; ++i) press(f, kF6);
  for (int i = 0; i < steps + 3; ++i) press(f, kF8);
  EXPECT_EQ(f.Picture1.Top(), -H / 2 - 100 * steps);
}

TEST_F(OverlayTest, KeypadKeysShiftTheViewSidewaysAndWarnOnOneMonitor) {
  gLng155 = "one monitor";
  gLng156 = "Velistrom";
  FrmFull& f = open(0);
  press(f, 109);  // keypad minus at Left 0: only the refresh
  EXPECT_EQ(f.Picture1.Left(), 0);
  press(f, 107);
  EXPECT_EQ(f.Picture1.Left(), -300);
  testenv::dialogs().expectMsgBox("one monitor", vb::vbOK);
  press(f, 107);
  testenv::dialogs().verify();
  EXPECT_EQ(f.Picture1.Left(), 0);
  press(f, 9);  // Tab
  EXPECT_EQ(f.Picture1.Left(), vb::Screen.Width());
  press(f, 109);
  EXPECT_EQ(f.Picture1.Left(), vb::Screen.Width());
}

TEST_F(OverlayTest, TwoMonitorsScrollWithoutAWarning) {
  monitors = 2;
  FrmFull& f = open(0);
  for (int i = 0; i < 3; ++i) press(f, 107);
  EXPECT_EQ(f.Picture1.Left(), -900);
  press(f, 109);
  EXPECT_EQ(f.Picture1.Left(), -600);
}
