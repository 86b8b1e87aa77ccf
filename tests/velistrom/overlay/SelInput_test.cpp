// The geometry behind the keys and the pointer: arrow resizes and moves (never a
// negative size), the rubber band and its snap, the move of the selection, the
// press zones, the square shortcut and the clear view.
#include "velistrom/overlay/SelGeometry.h"

#include <gtest/gtest.h>

#include <ostream>

using overlay::Rect;
using overlay::SelGeometry;
using overlay::Twips;

namespace {

SelGeometry withRect(Rect r) {
  SelGeometry g;
  g.setRectAjust(1);
  g.formLoad();
  g.rectsel().setLeft(r.Left);
  g.rectsel().setTop(r.Top);
  EXPECT_TRUE(g.rectsel().setWidth(r.Width));
  EXPECT_TRUE(g.rectsel().setHeight(r.Height));
  g.PlacDesCoins();
  return g;
}

// ------------------------------------------------------------ keys

struct KeyCase {
  const char* what;
  Rect start;
  bool move;  // Shift / Ctrl: move; plain / Alt: resize
  int dx, dy;
  Rect after;
};
void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.what; }

class ArrowKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(ArrowKeys, ResizeFromTheHandlesMoveWithThem) {
  const KeyCase& c = GetParam();
  SelGeometry g = withRect(c.start);
  if (c.move)
    g.keyMove(c.dx, c.dy);
  else
    g.keyResize(c.dx, c.dy);
  g.refreshAfterKey();
  EXPECT_EQ(g.rectsel().rect(), c.after) << c.what;
  EXPECT_EQ(g.rectlibre().rect(), c.after);
  EXPECT_EQ(g.labtaille().Caption, g.sizeText(c.after));
  EXPECT_EQ(g.labPosition().Caption, g.positionText(c.after));
  EXPECT_EQ(g.coinrect(4).Left(), c.after.Left + c.after.Width);
  EXPECT_EQ(g.coinrect(6).Top(), c.after.Top + c.after.Height);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ArrowKeys,
    ::testing::Values(
        KeyCase{"Right", {1500, 1500, 3000, 1500}, false, 1, 0, {1500, 1500, 3015, 1500}},
        KeyCase{"Left", {1500, 1500, 3000, 1500}, false, -1, 0, {1500, 1500, 2985, 1500}},
        KeyCase{"Alt+Down", {1500, 1500, 3000, 1500}, false, 0, 20, {1500, 1500, 3000, 1800}},
        KeyCase{"Left at width 0 stays 0", {1500, 1500, 0, 1500}, false, -1, 0, {1500, 1500, 0, 1500}},
        KeyCase{"Alt+Left under 20 pixels stops at 0", {1500, 1500, 150, 1500}, false, -20, 0, {1500, 1500, 0, 1500}},
        KeyCase{"Up at height 0 stays 0", {1500, 1500, 3000, 0}, false, 0, -1, {1500, 1500, 3000, 0}},
        KeyCase{"Shift+Right", {1500, 1500, 3000, 1500}, true, 1, 0, {1515, 1500, 3000, 1500}},
        KeyCase{"Ctrl+Up", {1500, 1500, 3000, 1500}, true, 0, -20, {1500, 1200, 3000, 1500}},
        KeyCase{"Ctrl+Left off the screen", {0, 1500, 3000, 1500}, true, -20, 0, {-300, 1500, 3000, 1500}}));

TEST(ArrowKeysRoundTrip, RightThenLeftLeavesTheRectangleAsItWas) {
  SelGeometry g = withRect({1500, 1500, 3000, 1500});
  g.keyResize(1, 0);
  g.refreshAfterKey();
  g.keyResize(-1, 0);
  g.refreshAfterKey();
  EXPECT_EQ(g.rectsel().rect(), (Rect{1500, 1500, 3000, 1500}));
}

TEST(ArrowKeysRoundTrip, LeftAtZeroThenRightGrowsFromZero) {
  SelGeometry g = withRect({1500, 1500, 0, 1500});
  g.keyResize(-1, 0);  // refused by stopping at 0, handle not left behind
  g.keyResize(1, 0);
  EXPECT_EQ(g.rectsel().Width(), 15);
}

TEST(ArrowKeysRoundTrip, OffTheLeftEdgeThePositionLabelStopsAt0) {
  SelGeometry g = withRect({0, 1500, 3000, 1500});
  g.labPosition().Width = 1400;
  g.keyMove(-20, 0);
  g.refreshAfterKey();
  EXPECT_EQ(g.labPosition().Left, 0);
  EXPECT_EQ(g.labPosition().Caption, "<- -20  ^  100");
}

// ------------------------------------------------------------ rubber band

TEST(RubberBand, SnappedBandRoundsEachSideDownTo10Pixels) {
  SelGeometry g = withRect({1500, 1500, 3000, 1500});
  g.setOptChk0(1);
  g.startBand(3000, 3000);
  EXPECT_EQ(g.pictClaire().Width(), 0);
  g.sizeBand(3000 + 161 * 15, 3000 + 95 * 15, true);
  EXPECT_EQ(g.rectlibre().rect(), (Rect{3000, 3000, 2400, 1350}));
  EXPECT_EQ(g.labtaille().Caption, " 160 x  90 pixels");
  EXPECT_EQ(g.pictClaire().rect(), (Rect{3010, 3010, 2370, 1320}));

  // Dragged up and left the band starts at the pointer; its far side falls
  // short of the press point.
  g.sizeBand(3000 - 161 * 15, 3000 - 95 * 15, true);
  EXPECT_EQ(g.rectlibre().rect(), (Rect{585, 1575, 2400, 1350}));
}

TEST(RubberBand, UnsnappedBandFollowsThePointerAndOtherButtonsOnlyMoveTheLabel) {
  SelGeometry g = withRect({1500, 1500, 3000, 1500});
  g.labtaille().Width = 1200;
  g.startBand(3000, 3000);
  g.sizeBand(5000.4, 4000.6, true);
  EXPECT_EQ(g.rectlibre().rect(), (Rect{3000, 3000, 2000, 1001}));
  g.sizeBand(9000, 9000, false);
  EXPECT_EQ(g.rectlibre().rect(), (Rect{3000, 3000, 2000, 1001}));
  EXPECT_EQ(g.labtaille().Left, 3000 + 2000 + 50);

  // Near the right edge the size label folds back inside the screen.
  g.startBand(27000, 3000);
  g.sizeBand(28500, 3500, true);
  g.sizeBand(28500, 3500, false);
  EXPECT_EQ(g.labtaille().Left, 28800 - 1200 - 50);
}

TEST(RubberBand, ValidatedBandBecomesTheSelection) {
  SelGeometry g = withRect({1500, 1500, 3000, 1500});
  g.startBand(6000, 6000);
  g.sizeBand(9000, 7500, true);
  g.takeBand();
  EXPECT_EQ(g.rectsel().rect(), (Rect{6000, 6000, 3000, 1500}));
  EXPECT_EQ(g.coinrect(1).Left(), 5925);
  EXPECT_EQ(g.coinrect(5).Top(), 7500);
}

TEST(RubberBand, ATinyBandKeepsTheClearViewsSize) {
  SelGeometry g = withRect({1500, 1500, 3000, 1500});
  g.startBand(6000, 6000);
  g.sizeBand(6030, 6500, true);  // 30 twips wide
  EXPECT_EQ(g.pictClaire().rect(), (Rect{6010, 6010, 0, 0}));
}

// ------------------------------------------------------------ move and zones

TEST(MoveSelection, FollowsThePointerAtThePressOffsetWithoutTouchingTheSize) {
  SelGeometry g = withRect({21000, 3000, 3000, 1500});
  g.labtaille().Width = 1200;
  g.labtaille().Caption = " 200 x  100 pixels";
  g.startMove(21600.5, 3700.5);
  EXPECT_EQ(g.DecalX(), 600);
  EXPECT_EQ(g.DecalY(), 700);
  g.moveTo(26600, 5700);
  EXPECT_EQ(g.rectsel().rect(), (Rect{26000, 5000, 3000, 1500}));
  EXPECT_EQ(g.coinrect(0).Left(), 25925);
  EXPECT_EQ(g.labtaille().Left, 29050);  // no fold-back while moving
  EXPECT_EQ(g.labtaille().Caption, " 200 x  100 pixels");
  EXPECT_EQ(g.labPosition().Caption, "<-  1733  ^  333");
}

struct ZoneCase {
  double X, Y;
  bool press, inner, enlarged;
};
void PrintTo(const ZoneCase& c, std::ostream* os) { *os << "(" << c.X << ", " << c.Y << ")"; }

class PointerZones : public ::testing::TestWithParam<ZoneCase> {};

// Rectangle {3000, 3000, 3000, 1500}; every bound is strict.
TEST_P(PointerZones, PressInnerAndEnlargedZones) {
  const ZoneCase& c = GetParam();
  const SelGeometry g = withRect({3000, 3000, 3000, 1500});
  EXPECT_EQ(g.inPressZone(c.X, c.Y), c.press);
  EXPECT_EQ(g.inInnerZone(c.X, c.Y), c.inner);
  EXPECT_EQ(g.inEnlarged(c.X, c.Y), c.enlarged);
}

INSTANTIATE_TEST_SUITE_P(Table, PointerZones,
                         ::testing::Values(ZoneCase{4500, 3750, true, true, true},
                                           ZoneCase{3400, 3750, true, false, true},
                                           ZoneCase{3300, 3750, false, false, true},
                                           ZoneCase{5699, 4199, true, false, true},
                                           ZoneCase{3501, 3501, true, true, true},
                                           ZoneCase{2801, 2801, false, false, true},
                                           ZoneCase{2800, 3750, false, false, false},
                                           ZoneCase{6199, 4699, false, false, true},
                                           ZoneCase{6200, 4000, false, false, false}));

TEST(PointerZonesOff, WithoutHandlesNoPressStartsAMove) {
  SelGeometry g = withRect({3000, 3000, 3000, 1500});
  g.setRectAjust(0);
  EXPECT_FALSE(g.inPressZone(4500, 3750));
  EXPECT_TRUE(g.inInnerZone(4500, 3750));
}

// ------------------------------------------------------------ square, clear view

TEST(Square, HeightTakesTheWidth) {
  SelGeometry g = withRect({1500, 1500, 3000, 1500});
  g.makeSquare();
  EXPECT_EQ(g.rectsel().rect(), (Rect{1500, 1500, 3000, 3000}));
  EXPECT_EQ(g.coinrect(5).Top(), 4500);
  EXPECT_EQ(g.labtaille().Caption, " 200 x  200 pixels");
}

TEST(ClearView, TenTwipsInsideAndCopiedInWholePixels) {
  SelGeometry g = withRect({1500, 1500, 3000, 1500});
  int copies = 0;
  g.setSelClaireHook([&] { ++copies; });
  g.PlacDesCoins();
  EXPECT_EQ(copies, 1);
  EXPECT_EQ(g.pictClaire().rect(), (Rect{1510, 1510, 2970, 1470}));
  EXPECT_EQ(g.clearViewSourcePixels(), (Rect{101, 101, 198, 98}));
  EXPECT_EQ(g.pictValidLeft(), 1500 + g.labGuide().Width);
  EXPECT_EQ(g.pictValidTop(), 1500 + 1500 + 50 - 100);
}

}  // namespace
