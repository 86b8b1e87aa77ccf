// The hand-over of a selection: the cut, the width cap, what the main window
// gets and in which order, the modes (one capture, a series, a band to adjust),
// and a selection too small to capture.
#include "OverlayFixture.h"

using namespace overlaytest;
using overlay::Rect;

TEST_F(OverlayTest, CutStartsOnePixelInsideTheCornerWithTheShapesSize) {
  FrmFull& f = open(0);
  select(f, {1500, 1200, 3000, 1500});  // 100, 80 and 200 x 100 pixels
  f.ValidSel(f.rectsel);
  const QImage cut = f.PictInvis.Image();
  ASSERT_EQ(cut.size(), QSize(200, 100));
  EXPECT_EQ(cut.pixel(0, 0), patternAt(101, 81, 1));
  EXPECT_EQ(cut.pixel(199, 99), patternAt(300, 180, 1));
  EXPECT_EQ(main.picture2.pixel(0, 0), patternAt(101, 81, 1));
  EXPECT_EQ(main.listed.pixel(10, 20), patternAt(111, 101, 1));
  EXPECT_EQ(gModeCapt, "z");
  EXPECT_EQ(gSelX, 1500);
  EXPECT_EQ(gSelY, 1200);
  EXPECT_EQ(gLargImg, 3000);
  EXPECT_EQ(gHautImg, 1500);
  // The frozen screen as seen goes to the main window for a re-selection.
  EXPECT_EQ(main.reserv.size(), f.Picture1.Image().size());
  // 400 twips beyond the bottom-right corner.
  ASSERT_FALSE(warps.empty());
  EXPECT_EQ(warps.back(), QPoint(overlay::twips(4900 / 15.0), overlay::twips(3100 / 15.0)));
}

TEST_F(OverlayTest, CutInDoubleHeightSpansTheSeam) {
  FrmFull& f = open(0);
  ASSERT_TRUE(f.InitFull(1));
  slideIn(f);
  const int h = sh();
  select(f, {150, (h - 11) * 15, 300, 20 * 15});  // rows h-10 .. h+9
  f.ValidSel(f.rectsel);
  const QImage cut = f.PictInvis.Image();
  ASSERT_EQ(cut.size(), QSize(20, 20));
  EXPECT_EQ(cut.pixel(0, 0), patternAt(11, h - 10, 1));
  EXPECT_EQ(cut.pixel(0, 19), patternAt(11, 9, 2));
  // The warp is on the screen, where Picture1 is scrolled to.
  EXPECT_EQ(warps.back().y(), overlay::twips(((h - 11) * 15 + 700) / 15.0 - vb::Screen.Height() / 2 / 15.0));
}

TEST_F(OverlayTest, WidthCappedAt32500TwipsOnTheShapeToo) {
  FrmFull& f = open(0);
  for (int width : {32500, 32501}) {
    select(f, {0, 0, width, 1500});
    f.ValidSel(f.rectsel);
    EXPECT_EQ(f.geometry().rectsel().Width(), 32500) << width;
    f.Show();
  }
}

// A selection reaching past the frozen desktop (a click without a drag near
// an edge) is cut to what was on the screen: no black rows or columns.
TEST_F(OverlayTest, TheCutIsKeptToTheFrozenDesktop) {
  FrmFull& f = open(0);
  const int w = sw(), h = sh();
  struct Case {
    Rect sel;
    QSize cut;
  };
  for (const Case& c : {Case{{0, 0, 32500, 1500}, {w - 1, 100}},
                        Case{{(w - 100) * 15, (h - 50) * 15, 3000, 3000}, {99, 49}},
                        Case{{1500, 1500, 3000, 1500}, {200, 100}}}) {
    SCOPED_TRACE(c.sel.Left);
    select(f, c.sel);
    f.ValidSel(f.rectsel);
    const QImage cut = f.PictInvis.Image();
    ASSERT_EQ(cut.size(), c.cut);
    EXPECT_EQ(gLargImg, c.cut.width() * 15);
    EXPECT_EQ(gHautImg, c.cut.height() * 15);
    const int x0 = c.sel.Left / 15 + 1, y0 = c.sel.Top / 15 + 1;
    EXPECT_EQ(cut.pixel(cut.width() - 1, cut.height() - 1), patternAt(x0 + cut.width() - 1, y0 + cut.height() - 1, 1));
    f.Show();
  }
}

TEST_F(OverlayTest, ClipboardBeforeTheListAndTheOverlayHiddenAfterItSaysSo) {
  FrmFull& f = open(0);
  HideWatch watch;
  f.widget()->installEventFilter(&watch);
  select(f, {1500, 1500, 3000, 1500});
  main.calls.clear();
  int enter = 13;
  f.Picture1_KeyDown(enter, 0);
  EXPECT_EQ(main.calls, (QStringList{"overlayKey", "setPictReserv", "setPicture2", "CopiePP z", "showCut",
                                     "GestVignettes PictInvis", "backToMain", "colourKey on", "startZoom"}));
  EXPECT_TRUE(watch.hidden);
  EXPECT_TRUE(watch.finFullAtHide);
  EXPECT_FALSE(f.Visible());
}

struct ModeCase {
  const char* what;
  bool band;
  int rectAjust;
  bool series;
  QStringList calls;  // of setPicture2, CopiePP, GestVignettes, showThumbsForSeries, backToMain
  bool staysShown;
};
void PrintTo(const ModeCase& c, std::ostream* os) { *os << c.what; }

class HandOverModes : public OverlayTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(HandOverModes, WhatTheMainWindowGets) {
  const ModeCase& c = GetParam();
  gRectAjust = c.rectAjust;
  main.multi = c.series;
  FrmFull& f = open(0);
  select(f, {1500, 1500, 3000, 1500});
  f.geometry().rectlibre() = overlay::ShapeBox(Rect{3000, 3000, 1500, 900});
  main.calls.clear();
  f.ValidSel(c.band ? f.rectlibre : f.rectsel);
  EXPECT_EQ(main.only({"setPicture2", "CopiePP", "GestVignettes", "showThumbsForSeries", "backToMain"}), c.calls);
  EXPECT_EQ(f.Visible(), c.staysShown);
  EXPECT_EQ(f.Timtransp.Enabled(), c.series && !(c.band && c.rectAjust));
  EXPECT_EQ(gFinFull, !c.staysShown);
  // The band becomes the selection in every mode.
  if (c.band) {
    EXPECT_EQ(f.geometry().rectsel().rect(), (Rect{3000, 3000, 1500, 900}));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, HandOverModes,
    ::testing::Values(
        ModeCase{"selection, one capture", false, 1, false,
                 {"setPicture2", "CopiePP z", "GestVignettes PictInvis", "backToMain"}, false},
        ModeCase{"selection, series", false, 1, true,
                 {"setPicture2", "CopiePP z", "GestVignettes PictInvis", "showThumbsForSeries"}, true},
        ModeCase{"band without handles", true, 0, false,
                 {"setPicture2", "CopiePP z", "GestVignettes PictInvis", "backToMain"}, false},
        ModeCase{"band with handles: cut, adjusted, not listed", true, 1, false, {"setPicture2", "CopiePP z"}, true},
        ModeCase{"band with handles in a series", true, 1, true, {"setPicture2", "CopiePP z"}, true}));

TEST_F(OverlayTest, ASeriesComesBackOnTheSameFrozenScreen) {
  main.multi = true;
  FrmFull& f = open(0);
  select(f, {1500, 1500, 3000, 1500});
  f.ValidSel(f.rectsel);
  f.Hide();
  main.calls.clear();
  f.Timtransp.tick();
  EXPECT_EQ(main.calls.first(), "hideThumbs");
  EXPECT_TRUE(f.Visible());
  EXPECT_FALSE(f.Timtransp.Enabled());
  EXPECT_EQ(grabs, 1);
}

TEST_F(OverlayTest, TheSeriesReShowOfTheStillShownOverlayActivatesItAgain) {
  main.multi = true;
  FrmFull& f = open(0);
  select(f, {1500, 1500, 3000, 1500});
  f.ValidSel(f.rectsel);
  ASSERT_TRUE(f.Visible());
  f.LabDblScreen.setVisible(false);
  f.rectsel.setVisible(false);
  f.Timtransp.tick();
  EXPECT_TRUE(f.LabDblScreen.Visible());
  EXPECT_TRUE(f.rectsel.Visible());
}

TEST_F(OverlayTest, ASelectionUnderOnePixelIsNotHandedOver) {
  FrmFull& f = open(0);
  for (Rect r : {Rect{1500, 1500, 0, 1500}, Rect{1500, 1500, 3000, 14}}) {
    select(f, r);
    main.calls.clear();
    gModeCapt = "e";
    f.ValidSel(f.rectsel);
    EXPECT_TRUE(main.calls.isEmpty());
    EXPECT_EQ(gModeCapt, "e");
    EXPECT_TRUE(f.Visible());
  }
}
