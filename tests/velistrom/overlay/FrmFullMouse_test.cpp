// The pointer on the overlay: what a press does by button, modifiers and zone;
// the rubber band in four directions; the release; a drag of each handle; the
// clear view's press; the blinking.
#include "OverlayFixture.h"

using namespace overlaytest;
using overlay::Rect;

namespace {
constexpr Rect kSel{3000, 3000, 3000, 3000};  // 200 x 200 pixels
enum class Did { Nothing, Square, Capture, Move, Band };
const char* name(Did d) {
  switch (d) {
    case Did::Nothing: return "nothing";
    case Did::Square: return "square";
    case Did::Capture: return "capture";
    case Did::Move: return "move";
    case Did::Band: return "band";
  }
  return "?";
}
}  // namespace

struct PressCase {
  const char* what;
  int rectAjust;
  bool drawing;  // a band is being drawn
  int button, shift;
  float x, y;
  Did did;
};
void PrintTo(const PressCase& c, std::ostream* os) { *os << c.what; }

class OverlayPress : public OverlayTest, public ::testing::WithParamInterface<PressCase> {};

TEST_P(OverlayPress, Dispatch) {
  const PressCase& c = GetParam();
  gRectAjust = c.rectAjust;
  FrmFull& f = open(0);
  select(f, {kSel.Left, kSel.Top, kSel.Width, 2400});
  if (c.drawing) f.Picture1_MouseDown(1, 0, 500, 500);
  main.calls.clear();
  const bool wasTracing = f.EnTrace();
  f.Picture1_MouseDown(c.button, c.shift, c.x, c.y);
  const auto& g = f.geometry();
  Did did = Did::Nothing;
  if (!main.only({"GestVignettes"}).isEmpty()) did = Did::Capture;
  else if (g.rectsel().Height() == g.rectsel().Width()) did = Did::Square;
  else if (f.EnTrace() && (!wasTracing || g.rectlibre().Left() == overlay::twips(c.x))) did = Did::Band;
  else if (g.DecalX() == overlay::twips(c.x) - kSel.Left && f.Picture1.MousePointer() == vb::vbSizePointer)
    did = Did::Move;
  EXPECT_STREQ(name(did), name(c.did));
}

INSTANTIATE_TEST_SUITE_P(
    Table, OverlayPress,
    ::testing::Values(
        PressCase{"left deep inside: move", 1, false, 1, 0, 4500, 4200, Did::Move},
        PressCase{"left deep inside without handles: nothing", 0, false, 1, 0, 4500, 4200, Did::Nothing},
        PressCase{"left in the ring: nothing", 1, false, 1, 0, 3100, 4200, Did::Nothing},
        PressCase{"left outside: band", 1, false, 1, 0, 1000, 1000, Did::Band},
        PressCase{"middle outside: band", 1, false, 4, 0, 1000, 1000, Did::Band},
        PressCase{"left outside without handles: band", 0, false, 1, 0, 8000, 8000, Did::Band},
        PressCase{"right with Shift: square", 1, false, 2, 1, 4500, 4200, Did::Square},
        PressCase{"right with Shift without handles: square", 0, false, 2, 1, 1000, 1000, Did::Square},
        PressCase{"right with Shift and Ctrl: capture", 1, false, 2, 3, 4500, 4200, Did::Capture},
        PressCase{"right anywhere: capture", 1, false, 2, 0, 1000, 1000, Did::Capture},
        PressCase{"right in the move zone while a band is drawn: capture", 1, true, 2, 0, 4500, 4200, Did::Capture},
        PressCase{"right outside while a band is drawn: new anchor", 1, true, 2, 0, 8000, 8000, Did::Band},
        PressCase{"another left press while drawing: new anchor", 1, true, 1, 0, 8000, 8000, Did::Band}));

struct BandCase {
  const char* what;
  int snap;
  int dx, dy;  // pointer from the anchor, twips
  Rect band;
};
void PrintTo(const BandCase& c, std::ostream* os) { *os << c.what; }

class OverlayBand : public OverlayTest, public ::testing::WithParamInterface<BandCase> {};

TEST_P(OverlayBand, SizedFromTheAnchorThenCapturedOnRelease) {
  const BandCase& c = GetParam();
  gRectAjust = 0;
  gOptChk0 = c.snap;
  FrmFull& f = open(0);
  select(f, kSel);
  const float ax = 9000, ay = 7000;
  f.Picture1_MouseDown(1, 0, ax, ay);
  f.Picture1_MouseMove(1, 0, ax + c.dx / 2, ay + c.dy / 2);
  f.Picture1_MouseMove(1, 0, ax + c.dx, ay + c.dy);
  EXPECT_EQ(f.geometry().rectlibre().rect(), c.band);
  EXPECT_TRUE(f.rectlibre.Visible());
  EXPECT_EQ(f.Labtaille.Caption(), f.geometry().sizeText(c.band));
  f.Picture1_MouseUp(1, 0, ax + c.dx, ay + c.dy);
  EXPECT_EQ(main.only({"GestVignettes"}).size(), 1);
  EXPECT_EQ(gSelX, c.band.Left);
  EXPECT_EQ(gSelY, c.band.Top);
  EXPECT_EQ(gLargImg, c.band.Width);
  EXPECT_FALSE(f.EnTrace());
  EXPECT_FALSE(f.Visible());
}

INSTANTIATE_TEST_SUITE_P(
    Table, OverlayBand,
    ::testing::Values(BandCase{"right and down", 0, 2415, 1425, {9000, 7000, 2415, 1425}},
                      BandCase{"left and down", 0, -2415, 1425, {6585, 7000, 2415, 1425}},
                      BandCase{"right and up", 0, 2415, -1425, {9000, 5575, 2415, 1425}},
                      BandCase{"left and up", 0, -2415, -1425, {6585, 5575, 2415, 1425}},
                      BandCase{"snapped right and down", 1, 2415, 1425, {9000, 7000, 2400, 1350}},
                      BandCase{"snapped left and down", 1, -2415, 1425, {6585, 7000, 2400, 1350}},
                      BandCase{"snapped right and up", 1, 2415, -1425, {9000, 5575, 2400, 1350}},
                      BandCase{"snapped left and up", 1, -2415, -1425, {6585, 5575, 2400, 1350}}));

TEST_F(OverlayTest, BandWithHandlesIsCutAndBecomesTheSelectionWithoutAListEntry) {
  FrmFull& f = open(0);
  select(f, kSel);
  f.Picture1_MouseDown(1, 0, 9000, 1500);
  f.Picture1_MouseMove(1, 0, 10500, 3000);
  EXPECT_FALSE(f.rectsel.Visible());
  EXPECT_FALSE(f.coinrect[2].Visible());
  main.calls.clear();
  warps.clear();
  f.Picture1_MouseUp(1, 0, 10500, 3000);
  EXPECT_EQ(f.geometry().rectsel().rect(), (Rect{9000, 1500, 1500, 1500}));
  // The main view and the clipboard hold the band's picture; the list does not.
  EXPECT_EQ(main.only({"GestVignettes", "CopiePP", "setPicture2"}), (QStringList{"setPicture2", "CopiePP z"}));
  EXPECT_EQ(main.picture2.size(), QSize(100, 100));
  EXPECT_EQ(main.picture2.pixel(0, 0), patternAt(601, 101, 1));
  EXPECT_EQ(gModeCapt, "z");
  EXPECT_EQ(gSelX, 9000);
  EXPECT_EQ(gSelY, 1500);
  EXPECT_EQ(gLargImg, 1500);
  EXPECT_EQ(gHautImg, 1500);
  EXPECT_TRUE(f.Visible());
  EXPECT_TRUE(f.rectsel.Visible());
  EXPECT_TRUE(f.coinrect[2].Visible());
  EXPECT_FALSE(f.rectlibre.Visible());
  EXPECT_EQ(f.coinrect[4].Left(), 10500);
  ASSERT_FALSE(warps.empty());
  EXPECT_EQ(warps.back(), QPoint(10500 / 15 + 50, 3000 / 15 + 50));
}

TEST_F(OverlayTest, AReleaseUnderTheSizeAllPointerOnlyRestoresTheArrow) {
  gRectAjust = 0;
  FrmFull& f = open(0);
  select(f, kSel);
  f.Picture1_MouseDown(1, 0, 9000, 1500);
  f.Picture1_MouseMove(1, 0, 10500, 3000);
  f.Picture1.setMousePointer(vb::vbSizeAll);
  warps.clear();
  f.Picture1_MouseUp(1, 0, 10500, 3000);
  EXPECT_EQ(f.Picture1.MousePointer(), vb::vbArrow);
  EXPECT_TRUE(f.EnTrace()) << "the band is still being drawn";
  EXPECT_TRUE(main.only({"GestVignettes"}).isEmpty());
  EXPECT_TRUE(warps.empty());
  f.Picture1_MouseUp(1, 0, 10500, 3000);
  EXPECT_EQ(main.only({"GestVignettes"}).size(), 1);
}

TEST_F(OverlayTest, ALateActivationLeavesABandBeingDrawnAlone) {
  FrmFull& f = open(0);
  select(f, kSel);
  f.Picture1_MouseDown(1, 0, 9000, 1500);
  f.Picture1_MouseMove(1, 0, 10500, 3000);
  ASSERT_FALSE(f.rectsel.Visible());
  f.Form_Activate();  // the window system's, after the Show that already ran it
  EXPECT_FALSE(f.rectsel.Visible());
  EXPECT_FALSE(f.coinrect[4].Visible());
  EXPECT_FALSE(f.LabGuide.Visible());
  // Shown again, as in a series, it runs afresh.
  f.Hide();
  f.Show();
  EXPECT_TRUE(f.rectsel.Visible());
  EXPECT_TRUE(f.coinrect[4].Visible());
}

TEST_F(OverlayTest, ARightPressInTheMoveZoneWhileABandIsDrawnValidatesTheSelection) {
  FrmFull& f = open(0);
  select(f, kSel);
  f.Picture1_MouseDown(1, 0, 9000, 1500);
  f.Picture1_MouseMove(1, 0, 10500, 3000);
  ASSERT_TRUE(f.EnTrace());
  ASSERT_TRUE(f.geometry().inPressZone(4500, 4500));
  f.Picture1_MouseDown(2, 0, 4500, 4500);
  EXPECT_EQ(main.only({"GestVignettes"}).size(), 1);
  EXPECT_EQ(gSelX, kSel.Left);
  EXPECT_EQ(gLargImg, kSel.Width);
}

// Every press reaches Picture1 through its pointer grab: one on a control of
// the overlay goes to that control, which does nothing with it.
TEST_F(OverlayTest, APressOnAControlOfTheOverlayGoesToThatControl) {
  FrmFull& f = open(0);
  select(f, kSel);
  ASSERT_TRUE(f.PictValid.Visible());
  ASSERT_TRUE(f.Labtaille.Visible());
  for (const vb::Control* c : std::initializer_list<const vb::Control*>{&f.PictValid, &f.Labtaille, &f.LabGuide}) {
    SCOPED_TRACE(c->Name().toStdString());
    ASSERT_TRUE(c->Visible());
    main.calls.clear();
    const float x = c->Left() + c->Width() / 2.0f, y = c->Top() + c->Height() / 2.0f;
    for (int button : {1, 2}) f.Picture1.onMouseDown(button, 0, x, y);
    EXPECT_FALSE(f.EnTrace()) << "a band started under the control";
    EXPECT_TRUE(main.only({"GestVignettes"}).isEmpty());
    EXPECT_EQ(f.geometry().rectsel().rect(), kSel);
  }
}

TEST_F(OverlayTest, ReleaseAfterAMoveNudgesThePointerOffTheRectangle) {
  FrmFull& f = open(0);
  select(f, kSel);
  f.Picture1_MouseDown(1, 0, 4500, 4500);
  f.Picture1_MouseMove(1, 0, 5250, 4500);  // the rectangle follows: left 3750
  EXPECT_EQ(f.geometry().rectsel().Left(), 3750);
  EXPECT_EQ(f.geometry().rectsel().Width(), 3000);
  warps.clear();
  f.Picture1_MouseUp(1, 0, 5250, 4500);
  EXPECT_TRUE(warps.empty());  // well inside: the pointer stays
  f.Picture1_MouseUp(1, 0, 6900, 4500);  // right of the right handles
  ASSERT_EQ(warps.size(), 1u);
  EXPECT_EQ(warps[0], QPoint(6900 / 15 + 40, 4500 / 15));
  EXPECT_EQ(f.Picture1.MousePointer(), vb::vbArrow);
  EXPECT_TRUE(main.only({"GestVignettes"}).isEmpty());
}

struct HandleCase {
  int handle;
  int snap;    // gOptChk0
  int dx, dy;  // the pointer from the handle's corner, twips
  Rect after;
  int pointer;
};
void PrintTo(const HandleCase& c, std::ostream* os) { *os << "handle " << c.handle << (c.snap ? " snapped" : ""); }

class OverlayHandleDrag : public OverlayTest, public ::testing::WithParamInterface<HandleCase> {};

TEST_P(OverlayHandleDrag, TheHandleFollowsThePointerAndResizes) {
  const HandleCase& c = GetParam();
  gOptChk0 = c.snap;
  FrmFull& f = open(0);
  select(f, kSel);
  gSelX = 11;
  gSelY = 22;
  const int hx = f.geometry().coinrect(c.handle).Left(), hy = f.geometry().coinrect(c.handle).Top();
  f.Picture1_MouseDown(1, 0, hx, hy);  // the ring: starts nothing by itself
  EXPECT_FALSE(f.EnTrace());
  f.Picture1_MouseMove(1, 0, hx + c.dx, hy + c.dy);
  EXPECT_EQ(f.Picture1.MousePointer(), c.pointer);
  EXPECT_TRUE(f.Timboug[c.handle].Enabled());
  EXPECT_EQ(f.Timboug[c.handle].Interval(), 1);
  EXPECT_TRUE(f.Timsel.Enabled());
  for (int i = 0; i < 8; ++i)
    if (i != c.handle) {
      EXPECT_FALSE(f.Timboug[i].Enabled()) << i;
    }
  f.Timboug[c.handle].tick();
  EXPECT_EQ(f.geometry().rectsel().rect(), c.after);
  EXPECT_EQ(f.rectsel.Width(), c.after.Width);
  EXPECT_EQ(f.geometry().rectlibre().rect(), c.after);
  // The drag's anchor is the form's own: the last region is left alone.
  EXPECT_EQ(gSelX, 11);
  EXPECT_EQ(gSelY, 22);
  f.Picture1_MouseUp(1, 0, hx + c.dx, hy + c.dy);
  EXPECT_FALSE(f.Timboug[c.handle].Enabled());
  EXPECT_FALSE(f.Timsel.Enabled());
  EXPECT_EQ(f.rectsel.BorderColor(), vb::Color(0x0000FF));
}

// Handles of kSel: left and top columns at 2925, middles at 4462, right and
// bottom at 6000. Moved 300 twips right and 150 down; snapped, the pointer
// 340 right and 290 down goes to the 150-twip multiple below it.
INSTANTIATE_TEST_SUITE_P(Table, OverlayHandleDrag,
                         ::testing::Values(HandleCase{0, 0, 300, 150, {3225, 3000, 2775, 3000}, 9},
                                           HandleCase{1, 0, 300, 150, {3225, 3075, 2775, 2925}, 8},
                                           HandleCase{2, 0, 300, 150, {3000, 3075, 3000, 2925}, 7},
                                           HandleCase{3, 0, 300, 150, {3000, 3075, 3375, 2925}, 6},
                                           HandleCase{4, 0, 300, 150, {3000, 3000, 3375, 3000}, 9},
                                           HandleCase{5, 0, 300, 150, {3000, 3000, 3375, 3225}, 8},
                                           HandleCase{6, 0, 300, 150, {3000, 3000, 3000, 3225}, 7},
                                           HandleCase{7, 0, 300, 150, {3225, 3000, 2775, 3225}, 6},
                                           HandleCase{0, 1, 340, 290, {3150, 3000, 2850, 3000}, 9},
                                           HandleCase{1, 1, 340, 290, {3150, 3150, 2850, 2850}, 8},
                                           HandleCase{2, 1, 340, 290, {3000, 3150, 3000, 2850}, 7},
                                           HandleCase{3, 1, 340, 290, {3000, 3150, 3375, 2850}, 6},
                                           HandleCase{4, 1, 340, 290, {3000, 3000, 3375, 3000}, 9},
                                           HandleCase{5, 1, 340, 290, {3000, 3000, 3375, 3225}, 8},
                                           HandleCase{6, 1, 340, 290, {3000, 3000, 3000, 3225}, 7},
                                           HandleCase{7, 1, 340, 290, {3150, 3000, 2850, 3225}, 6}));

TEST_F(OverlayTest, HoverOverAHandleOnlyShowsItsPointer) {
  FrmFull& f = open(0);
  select(f, kSel);
  const auto& c0 = f.geometry().coinrect(0);
  f.Picture1_MouseMove(0, 0, c0.Left(), c0.Top());
  EXPECT_EQ(f.Picture1.MousePointer(), vb::vbSizeWE);
  EXPECT_FALSE(f.Timboug[0].Enabled());
  EXPECT_FALSE(f.LabPos2.Visible());
  f.Picture1_MouseMove(0, 0, 12000, 8000);  // elsewhere
  EXPECT_EQ(f.Picture1.MousePointer(), vb::vbCustom);
  EXPECT_TRUE(f.LabPos2.Visible());
  EXPECT_EQ(f.LabPos2.Caption(), "<-  800  ^  533");
}

TEST_F(OverlayTest, APressOnTheClearViewIsForwardedWhereItIsOnThePicture) {
  FrmFull& f = open(0);
  select(f, kSel);
  ASSERT_EQ(f.PictClaire.Left(), kSel.Left + 10);
  f.PictClaire_MouseDown(1, 0, 1490, 1490);  // Picture1 (4500, 4500): deep inside
  EXPECT_FALSE(f.EnTrace());
  EXPECT_EQ(f.geometry().DecalX(), 1500);
  EXPECT_EQ(f.Picture1.MousePointer(), vb::vbSizePointer);
}

TEST_F(OverlayTest, BlinkingStartsWhiteThenRedWithTheValidatePicture) {
  FrmFull& f = open(0);
  f.Timsel.tick();
  EXPECT_EQ(f.rectsel.BorderColor(), vb::Color(0xFFFFFF));
  EXPECT_EQ(f.coinrect[6].BackColor(), vb::Color(0xFFFFFF));
  EXPECT_FALSE(f.PictValid.Visible());
  f.Timsel.tick();
  EXPECT_EQ(f.rectsel.BorderColor(), vb::Color(0x0000FF));
  EXPECT_EQ(f.LabGuide.ForeColor(), vb::Color(0x0000FF));
  EXPECT_TRUE(f.PictValid.Visible());
}

TEST_F(OverlayTest, ClearViewShowsTheUndimmedPixelsInsideTheRectangle) {
  FrmFull& f = open(0);
  select(f, {1500, 1200, 3000, 1500});
  const QImage& v = f.PictClaire.Image();
  ASSERT_EQ(v.size(), QSize(vb::twipsToPixels(2970), 98));
  EXPECT_EQ(v.pixel(0, 0), patternAt(overlay::twips(1510 / 15.0), overlay::twips(1210 / 15.0), 1));
  // Moved by a pixel (same size) and then partly off the screen: it follows.
  int k = 39;
  f.Picture1_KeyDown(k, 1);
  EXPECT_EQ(f.PictClaire.Image().pixel(0, 0), patternAt(overlay::twips(1525 / 15.0), 81, 1));
  select(f, {-1500, 1200, 3000, 1500});
  EXPECT_EQ(f.PictClaire.Image().pixel(0, 0) & 0xFFFFFF, 0u);
  EXPECT_EQ(f.PictClaire.Image().pixel(150, 0), patternAt(150 - 99, 81, 1));
}

TEST_F(OverlayTest, TheClearViewHidesOnlyWhenThePointerIsWellInsideIt) {
  FrmFull& f = open(0);
  select(f, kSel);
  struct Case {
    float x, y;
    bool hides;
  };
  for (Case c : {Case{10, 11, false}, Case{11, 10, false}, Case{11, 11, true},
                 Case{float(kSel.Width - 30 - 10), 500, false}, Case{500, 500, true}}) {
    f.PictClaire.setVisible(true);
    f.PictClaire_MouseMove(0, 0, c.x, c.y);
    EXPECT_EQ(f.PictClaire.Visible(), !c.hides) << c.x << "," << c.y;
  }
}

TEST_F(OverlayTest, TheFloatingLabelSitsAboveLeftOfThePointerAndStepsAside) {
  FrmFull& f = open(0);
  select(f, kSel);  // right handles at Left 6000, bottom ones at Top 6000
  enum Place { Edge, Beside, AtPointer, Keep };  // 500; 80 off the label's far side; the pointer's
  struct Step {
    const char* what;
    float x, y;
    Place left, top;
  };
  // In order: the strip below the bottom edge keeps the Left of the step before.
  const Step steps[] = {
      {"away from the rectangle", 9000, 8000, Beside, Beside},
      {"in the strip below the bottom edge", 3600, 6100, Keep, AtPointer},
      {"in the strip right of the right edge", 6100, 3500, AtPointer, Beside},
      {"20 pixels from the top and left", 300, 300, Edge, Edge},
      {"22 pixels down, 65 across: still the edge", 975, 330, Edge, Edge},
      {"one twip further", 976, 331, Beside, Beside},
  };
  int left = f.LabPos2.Left();
  for (const Step& s : steps) {
    f.Picture1_MouseMove(0, 0, s.x, s.y);
    // The caption is written first: the width is the new text's.
    const int w = f.LabPos2.Width(), h = f.LabPos2.Height();
    ASSERT_GT(w, 0);
    if (s.left != Keep) left = s.left == Edge ? 500 : s.left == AtPointer ? int(s.x) : int(s.x) - w - 80;
    const int top = s.top == Edge ? 500 : s.top == AtPointer ? int(s.y) : int(s.y) - h - 80;
    EXPECT_EQ(f.LabPos2.Left(), left) << s.what;
    EXPECT_EQ(f.LabPos2.Top(), top) << s.what;
  }
  EXPECT_EQ(f.LabPos2.Caption(), "<-  65  ^  22");
}

// A gesture cut short by a key that hides the overlay (its release never comes)
// must not act on the next opening.
TEST_F(OverlayTest, ABandLeftByEscapeIsNotCapturedAtTheNextOpening) {
  gRectAjust = 0;
  FrmFull& f = open(0);
  select(f, kSel);
  f.Picture1_MouseDown(1, 0, 9000, 1500);
  f.Picture1_MouseMove(1, 0, 10500, 3000);
  int esc = 27;
  f.Picture1_KeyDown(esc, 0);
  open(0);
  EXPECT_FALSE(f.EnTrace());
  EXPECT_FALSE(f.rectlibre.Visible());
  f.Picture1_MouseDown(1, 0, 4500, 4500);  // a click on the hidden rectangle
  f.Picture1_MouseUp(1, 0, 4500, 4500);
  EXPECT_TRUE(main.only({"GestVignettes", "CopiePP"}).isEmpty());
}

TEST_F(OverlayTest, AHandleDragLeftByEnterDoesNotFollowTheBarePointerLater) {
  FrmFull& f = open(0);
  select(f, kSel);
  const auto& c4 = f.geometry().coinrect(4);
  f.Picture1_MouseMove(1, 0, c4.Left() + 30, c4.Top());
  ASSERT_TRUE(f.Timboug[4].Enabled());
  int enter = 13;
  f.Picture1_KeyDown(enter, 0);
  ASSERT_FALSE(f.Visible());
  EXPECT_FALSE(f.Timboug[4].Enabled());
  EXPECT_FALSE(f.Timsel.Enabled());
  open(0);
  f.Picture1_MouseMove(0, 0, c4.Left() + 30, c4.Top());  // hover, no button
  EXPECT_FALSE(f.Timboug[4].Enabled());
}
