// The selection's numbers: handles and their zones, the resize from each handle,
// the refused negative size and the reset after it, the 10-pixel snap, the label
// texts and places, and a screen too wide for 16-bit twips.
#include "velistrom/overlay/SelGeometry.h"

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <vector>

using overlay::Rect;
using overlay::Redim;
using overlay::Screen;
using overlay::SelGeometry;
using overlay::Twips;

namespace overlay {
void PrintTo(const Rect& r, std::ostream* os) {
  *os << "{" << r.Left << ", " << r.Top << ", " << r.Width << " x " << r.Height << "}";
}
}  // namespace overlay

namespace {

struct Pt {
  Twips Left, Top;
};

// A loaded form's geometry (5 x 5 pixel handles) with the adjustable rectangle on
// and rectsel set to r.
SelGeometry withRect(Rect r, Screen screen = {}) {
  SelGeometry g(screen);
  g.setRectAjust(1);
  g.formLoad();
  g.rectsel().setLeft(r.Left);
  g.rectsel().setTop(r.Top);
  EXPECT_TRUE(g.rectsel().setWidth(r.Width));
  EXPECT_TRUE(g.rectsel().setHeight(r.Height));
  g.PlacDesCoins();
  return g;
}

// ------------------------------------------------------------ handle layout

struct LayoutCase {
  const char* what;
  Rect r;
  std::array<Pt, 8> coins;
};
void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.what; }

class HandleLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(HandleLayout, EightHandlesOutsideTheRectangle) {
  const LayoutCase& c = GetParam();
  const SelGeometry g = withRect(c.r);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(g.coinrect(i).Left(), c.coins[i].Left) << "handle " << i;
    EXPECT_EQ(g.coinrect(i).Top(), c.coins[i].Top) << "handle " << i;
    EXPECT_EQ(g.coinrect(i).Width(), 75);
    EXPECT_EQ(g.coinrect(i).Height(), 75);
    EXPECT_EQ(g.CoinXMin(i), c.coins[i].Left - 500);
    EXPECT_EQ(g.CoinXMax(i), c.coins[i].Left + 500);
    EXPECT_EQ(g.CoinYMin(i), c.coins[i].Top - 500);
    EXPECT_EQ(g.CoinYMax(i), c.coins[i].Top + 500);
  }
  EXPECT_EQ(g.labPrecis().Left, c.r.Left + 30);
  EXPECT_EQ(g.labPrecis().Top, c.r.Top - 600);
}

// The middle handles sit at side / 2 - 37.5: an even side leaves a half twip,
// rounded to the even neighbour (down for ...2.5, up for ...7.5); an odd one
// leaves none.
INSTANTIATE_TEST_SUITE_P(
    OddAndEvenSides, HandleLayout,
    ::testing::Values(
        LayoutCase{"even sides, half rounds down",
                   {1500, 1500, 3000, 1500},
                   {{{1425, 2212}, {1425, 1425}, {2962, 1425}, {4500, 1425}, {4500, 2212}, {4500, 3000},
                     {2962, 3000}, {1425, 3000}}}},
        LayoutCase{"even sides, half rounds up",
                   {1500, 1500, 3030, 1530},
                   {{{1425, 2228}, {1425, 1425}, {2978, 1425}, {4530, 1425}, {4530, 2228}, {4530, 3030},
                     {2978, 3030}, {1425, 3030}}}},
        LayoutCase{"odd sides (the design rectangle)",
                   {1560, 1560, 2415, 1575},
                   {{{1485, 2310}, {1485, 1485}, {2730, 1485}, {3975, 1485}, {3975, 2310}, {3975, 3135},
                     {2730, 3135}, {1485, 3135}}}},
        LayoutCase{"zero size",
                   {3000, 2000, 0, 0},
                   {{{2925, 1962}, {2925, 1925}, {2962, 1925}, {3000, 1925}, {3000, 1962}, {3000, 2000},
                     {2962, 2000}, {2925, 2000}}}}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(HandleLayoutOff, WithoutHandlesOnlyThePrecisionHintAndClearViewMove) {
  SelGeometry g = withRect({1500, 1500, 3000, 1500});
  g.setRectAjust(0);
  g.rectsel().setLeft(6000);
  g.PlacDesCoins();
  EXPECT_EQ(g.coinrect(0).Left(), 1425);  // where the last placement left them
  EXPECT_EQ(g.CoinXMin(0), 925);
  EXPECT_EQ(g.labPrecis().Left, 6030);
  EXPECT_EQ(g.pictClaire().Left(), 6010);
  EXPECT_EQ(g.labGuide().Left, 6000);
}

// ------------------------------------------------------------ hit zones

struct HitCase {
  Rect r;
  double X, Y;
  std::vector<int> handles;
};
void PrintTo(const HitCase& c, std::ostream* os) { *os << "(" << c.X << ", " << c.Y << ")"; }

class HitZones : public ::testing::TestWithParam<HitCase> {};

TEST_P(HitZones, StrictSquareOf1000TwipsOnEachHandlesCorner) {
  const HitCase& c = GetParam();
  EXPECT_EQ(withRect(c.r).coinsAt(c.X, c.Y), c.handles);
}

INSTANTIATE_TEST_SUITE_P(
    Zones, HitZones,
    ::testing::Values(
        HitCase{{1500, 1500, 3000, 1500}, 1425, 2212, {0}},
        HitCase{{1500, 1500, 3000, 1500}, 925, 2212, {}},    // on the edge: outside
        HitCase{{1500, 1500, 3000, 1500}, 925.5, 2212, {0}},
        HitCase{{1500, 1500, 3000, 1500}, 1425, 1800, {0, 1}},
        HitCase{{1500, 1500, 3000, 1500}, 3000, 2200, {}},   // middle of a large rectangle
        HitCase{{1500, 1500, 3000, 1500}, 4999, 3499, {5}},
        // 50 x 50 pixels: the zones of the top-left three overlap.
        HitCase{{1500, 1500, 750, 750}, 1600, 1600, {0, 1, 2}},
        HitCase{{1500, 1500, 750, 750}, 2200, 2200, {4, 5, 6}}));

TEST(HitZonesBeforePlacement, NoZoneHoldsAnyPoint) {
  SelGeometry g;
  EXPECT_TRUE(g.coinsAt(0, 0).empty());
  EXPECT_TRUE(g.coinsAt(1, 1).empty());
}

// ------------------------------------------------------------ resize per handle

struct RedimCase {
  int handle;
  Twips X, Y;  // pointer
  Rect after;
};
void PrintTo(const RedimCase& c, std::ostream* os) { *os << "handle " << c.handle << " to (" << c.X << ", " << c.Y << ")"; }

class RedimPerHandle : public ::testing::TestWithParam<RedimCase> {};

// Handles around {1500, 1500, 3000, 1500}: left column 1425, right 4500, top row
// 1425, bottom 3000.
TEST_P(RedimPerHandle, DragMovesTheHandlesSidesOnly) {
  const RedimCase& c = GetParam();
  SelGeometry g = withRect({1500, 1500, 3000, 1500});
  g.labtaille().Width = 1200;
  constexpr std::array<int, 8> kPointer{9, 8, 7, 6, 9, 8, 7, 6};  // W-E, NW-SE, N-S, NE-SW
  EXPECT_EQ(g.BougCoin(c.handle, 1), kPointer[std::size_t(c.handle)]);
  EXPECT_EQ(g.onTimboug(c.handle, c.X, c.Y), Redim::Done);
  EXPECT_EQ(g.rectsel().rect(), c.after);
  EXPECT_EQ(g.rectlibre().rect(), c.after);
  EXPECT_TRUE(g.timtailleEnabled());
  EXPECT_EQ(g.labtaille().Caption, g.sizeText(c.after));
  EXPECT_EQ(g.labPosition().Caption, g.positionText(c.after));
  EXPECT_EQ(g.labtaille().Left, c.after.Left + c.after.Width + 50);
  EXPECT_EQ(g.labGuide().Top, c.after.Top + c.after.Height + 50);
  // The handles follow the new rectangle.
  EXPECT_EQ(g.coinrect(0).Left(), c.after.Left - 75);
  EXPECT_EQ(g.coinrect(5).Left(), c.after.Left + c.after.Width);
  EXPECT_EQ(g.coinrect(5).Top(), c.after.Top + c.after.Height);
}

INSTANTIATE_TEST_SUITE_P(
    EachHandle, RedimPerHandle,
    ::testing::Values(
        // Left and top handles put that edge at the pointer; the opposite edge stays.
        RedimCase{0, 1200, 2212, {1200, 1500, 3300, 1500}},
        RedimCase{1, 1300, 1400, {1300, 1400, 3200, 1600}},
        RedimCase{2, 2962, 1200, {1500, 1200, 3000, 1800}},
        // Right and bottom ones end one handle (75 twips) beyond the pointer.
        RedimCase{3, 4800, 1300, {1500, 1300, 3375, 1700}},
        RedimCase{4, 5000, 2212, {1500, 1500, 3575, 1500}},
        RedimCase{5, 5000, 3300, {1500, 1500, 3575, 1875}},
        RedimCase{6, 2962, 3300, {1500, 1500, 3000, 1875}},
        RedimCase{7, 1200, 3300, {1200, 1500, 3300, 1875}},
        // A width of exactly 0 is a size like any other.
        RedimCase{4, 1425, 2212, {1500, 1500, 0, 1500}}));

TEST(RedimOtherHandle, ChangesNoGeometryButRefreshesTheRest) {
  SelGeometry g = withRect({1500, 1500, 3000, 1500});
  ASSERT_NE(g.rectlibre().rect(), g.rectsel().rect());
  EXPECT_EQ(g.RedimRect(8), Redim::Done);
  EXPECT_EQ(g.rectsel().rect(), (Rect{1500, 1500, 3000, 1500}));
  EXPECT_EQ(g.rectlibre().rect(), g.rectsel().rect());
  EXPECT_TRUE(g.timtailleEnabled());
  EXPECT_EQ(g.labtaille().Caption, " 200 x  100 pixels");
}

TEST(RedimSnapped, HandleGoesToThePointerRoundedDownTo10Pixels) {
  SelGeometry g = withRect({1500, 1500, 3000, 1500});
  g.setOptChk0(1);
  g.BougCoin(5, 1);
  g.onTimboug(5, 2345, 3310);
  // Handle 5 at (2250, 3300) before PlacDesCoins re-placed it from the result.
  EXPECT_EQ(g.rectsel().rect(), (Rect{1500, 1500, 2250 - 1425, 3300 - 1425}));
}

TEST(HandleTimers, OnlyALeftButtonStartsADragAndReleaseStopsIt) {
  SelGeometry g = withRect({1500, 1500, 3000, 1500});
  EXPECT_EQ(g.BougCoin(0, 0), 9);  // hover: pointer shape only
  EXPECT_FALSE(g.timbougEnabled(0));
  EXPECT_EQ(g.onTimboug(0, 100, 100), Redim::Done);
  EXPECT_EQ(g.rectsel().rect(), (Rect{1500, 1500, 3000, 1500}));  // no tick while off
  EXPECT_EQ(g.BougCoin(12, 1), 5);
  g.BougCoin(2, 1);
  EXPECT_TRUE(g.timbougEnabled(2));
  EXPECT_EQ(g.selX(), 1500);
  EXPECT_EQ(g.selY(), 1500);
  EXPECT_EQ(g.LargDepl(), 3000);
  EXPECT_EQ(g.HautDepl(), 1500);
  g.stopHandleDrags();
  EXPECT_FALSE(g.timbougEnabled(2));
}

// ------------------------------------------------------------ refused negative size

struct RefuseCase {
  const char* what;
  int handle;
  Twips X, Y;
  Rect after;  // what was set before the refused value stays
};
void PrintTo(const RefuseCase& c, std::ostream* os) { *os << c.what; }

class RefusedSize : public ::testing::TestWithParam<RefuseCase> {};

TEST_P(RefusedSize, PastTheOppositeEdgeHidesAndArmsTheReset) {
  const RefuseCase& c = GetParam();
  SelGeometry g = withRect({1500, 1500, 3000, 1500});
  g.updateCaptions();
  for (int i = 0; i < 8; ++i) g.setCoinVisible(i, true);
  const Rect band = g.rectlibre().rect();
  g.setTimreinitEnabled(false);

  g.BougCoin(c.handle, 1);
  EXPECT_EQ(g.onTimboug(c.handle, c.X, c.Y), Redim::Refused) << c.what;
  EXPECT_EQ(g.rectsel().rect(), c.after) << c.what;
  EXPECT_GE(g.rectsel().Width(), 0);
  EXPECT_GE(g.rectsel().Height(), 0);
  EXPECT_FALSE(g.rectselVisible());
  for (int i = 0; i < 8; ++i) EXPECT_FALSE(g.coinVisible(i));
  EXPECT_TRUE(g.timreinitEnabled());
  // The rest of the resize did not happen.
  EXPECT_FALSE(g.timtailleEnabled());
  EXPECT_EQ(g.rectlibre().rect(), band);
  EXPECT_EQ(g.labtaille().Caption, " 200 x  100 pixels");

  // 20 ms later: the saved size at the corner the rectangle has now, shown again.
  EXPECT_TRUE(g.onTimreinit());
  EXPECT_EQ(g.rectsel().rect(), (Rect{c.after.Left, c.after.Top, 6300, 3900}));
  EXPECT_TRUE(g.rectselVisible());
  for (int i = 0; i < 8; ++i) EXPECT_TRUE(g.coinVisible(i));
  EXPECT_FALSE(g.timreinitEnabled());
  EXPECT_EQ(g.labtaille().Caption, " 420 x  260 pixels");
  EXPECT_EQ(g.labPosition().Caption, g.positionText(g.rectsel().rect()));
  EXPECT_EQ(g.coinrect(5).Left(), c.after.Left + 6300);
  EXPECT_FALSE(g.onTimreinit());  // it ran once
}

INSTANTIATE_TEST_SUITE_P(
    EachSide, RefusedSize,
    ::testing::Values(RefuseCase{"left handle past the right edge", 0, 5000, 2212, {1500, 1500, 3000, 1500}},
                      RefuseCase{"top-left: corner moved, width refused", 1, 5000, 3500, {5000, 3500, 3000, 1500}},
                      RefuseCase{"top-right: top and width set, height refused", 3, 4800, 3500,
                                 {1500, 3500, 3375, 1500}},
                      RefuseCase{"right handle past the left edge", 4, 1000, 2212, {1500, 1500, 3000, 1500}},
                      RefuseCase{"bottom handle above the top", 6, 2962, 1000, {1500, 1500, 3000, 1500}},
                      RefuseCase{"bottom-left: left set, height refused", 7, 1200, 1000,
                                 {1200, 1500, 3000, 1500}}));

TEST(RefusedSizeReset, WithoutHandlesTheRectangleIsSizedButStaysHidden) {
  SelGeometry g = withRect({1500, 1500, 3000, 1500});
  g.BougCoin(0, 1);
  ASSERT_EQ(g.onTimboug(0, 5000, 2212), Redim::Refused);
  g.setRectAjust(0);
  g.onTimreinit();
  EXPECT_EQ(g.rectsel().rect(), (Rect{1500, 1500, 6300, 3900}));
  EXPECT_FALSE(g.rectselVisible());
  EXPECT_FALSE(g.coinVisible(0));
}

TEST(RefusedSizeReset, TheShapeItselfRefusesANegativeSize) {
  overlay::ShapeBox s({10, 20, 30, 40});
  EXPECT_FALSE(s.setWidth(-1));
  EXPECT_FALSE(s.setHeight(-1));
  EXPECT_TRUE(s.setWidth(0));
  EXPECT_EQ(s.rect(), (Rect{10, 20, 0, 40}));
}

TEST(RefusedSizeReset, RunsOnceAfterTheFormsLoadAndNotAfterUnload) {
  SelGeometry g;
  g.setRectAjust(1);
  g.formLoad();
  EXPECT_TRUE(g.timreinitEnabled());
  g.setTimreinitEnabled(false);  // the form's unload
  EXPECT_FALSE(g.onTimreinit());
}

// ------------------------------------------------------------ snapping

struct SnapCase {
  int optChk0;
  Twips w, h;
  Twips snappedW, snappedH;
};
void PrintTo(const SnapCase& c, std::ostream* os) { *os << c.w << " x " << c.h << " snap " << c.optChk0; }

class Snapping : public ::testing::TestWithParam<SnapCase> {};

TEST_P(Snapping, SizeRoundedDownTo10PixelsCornerKept) {
  const SnapCase& c = GetParam();
  SelGeometry g = withRect({1500, 1500, c.w, c.h});
  g.setOptChk0(c.optChk0);
  g.labtaille().Caption = "old";
  g.setTimtailleEnabled(true);
  EXPECT_TRUE(g.onTimtaille());
  EXPECT_EQ(g.rectsel().rect(), (Rect{1500, 1500, c.snappedW, c.snappedH}));
  EXPECT_FALSE(g.timtailleEnabled());
  if (c.optChk0 == 1) {
    EXPECT_EQ(g.labtaille().Caption, g.sizeText(g.rectsel().rect()));
    EXPECT_EQ(g.coinrect(4).Left(), 1500 + c.snappedW);  // handles re-placed
  } else {
    EXPECT_EQ(g.labtaille().Caption, "old");
  }
}

INSTANTIATE_TEST_SUITE_P(Table, Snapping,
                         ::testing::Values(SnapCase{1, 2415, 1575, 2400, 1500},  // 161 x 105 px
                                           SnapCase{1, 2400, 1500, 2400, 1500},  // already whole
                                           SnapCase{1, 149, 14, 0, 0},           // under 10 px
                                           SnapCase{1, 0, 0, 0, 0},
                                           SnapCase{0, 2415, 1575, 2415, 1575}));

TEST(SnappingTimer, NoTickWhileOff) {
  SelGeometry g = withRect({1500, 1500, 2415, 1575});
  g.setOptChk0(1);
  EXPECT_FALSE(g.onTimtaille());
  EXPECT_EQ(g.rectsel().Width(), 2415);
}

// ------------------------------------------------------------ texts

struct TextCase {
  Rect r;
  const char* size;
  const char* position;
};
void PrintTo(const TextCase& c, std::ostream* os) { *os << "\"" << c.size << "\""; }

class LabelTexts : public ::testing::TestWithParam<TextCase> {};

TEST_P(LabelTexts, WholePixelsRoundedDownWithTheirBlanks) {
  const TextCase& c = GetParam();
  SelGeometry g;
  EXPECT_EQ(g.sizeText(c.r), QString::fromLatin1(c.size));
  EXPECT_EQ(g.positionText(c.r), QString::fromLatin1(c.position));
}

INSTANTIATE_TEST_SUITE_P(
    Table, LabelTexts,
    ::testing::Values(TextCase{{1500, 750, 6300, 3900}, " 420 x  260 pixels", "<-  100  ^  50"},
                      TextCase{{0, 0, 0, 0}, " 0 x  0 pixels", "<-  0  ^  0"},
                      TextCase{{-1, -15, 2414, 14}, " 160 x  0 pixels", "<- -1  ^ -1"},
                      TextCase{{-16, 44, 16, 29}, " 1 x  1 pixels", "<- -2  ^  2"},
                      TextCase{{57585, 35985, 57600, 36000}, " 3840 x  2400 pixels", "<-  3839  ^  2399"}));

// ------------------------------------------------------------ label placement

struct PlaceCase {
  const char* what;
  Rect r;
  Twips sizeWidth, posWidth;
  Twips sizeLeft, posLeft;
};
void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.what; }

class LabelPlacement : public ::testing::TestWithParam<PlaceCase> {};

// Screen 1920 pixels = 28800 twips.
TEST_P(LabelPlacement, SizeRightOfTheRectanglePositionLeftOfIt) {
  const PlaceCase& c = GetParam();
  SelGeometry g = withRect(c.r);
  g.labtaille().Width = c.sizeWidth;
  g.labPosition().Width = c.posWidth;
  g.placeLabels();
  EXPECT_EQ(g.labtaille().Left, c.sizeLeft) << c.what;
  EXPECT_EQ(g.labPosition().Left, c.posLeft) << c.what;
  EXPECT_EQ(g.labtaille().Top, c.r.Top);
  EXPECT_EQ(g.labPosition().Top, c.r.Top);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LabelPlacement,
    ::testing::Values(PlaceCase{"room on both sides", {20000, 3000, 6000, 1500}, 1200, 1400, 26050, 18600},
                      PlaceCase{"ends exactly at the edge", {21550, 3000, 6000, 1500}, 1200, 1400, 27600, 20150},
                      PlaceCase{"one twip past the edge", {21551, 3000, 6000, 1500}, 1200, 1400, 27550, 20151},
                      PlaceCase{"rectangle off the right", {30000, 3000, 6000, 1500}, 1200, 1400, 27550, 28600},
                      PlaceCase{"label wider than the screen", {1000, 3000, 600, 600}, 30000, 1400, -1250, 0},
                      PlaceCase{"position label just fits", {1400, 3000, 600, 600}, 1200, 1400, 2050, 0},
                      PlaceCase{"position label one twip short", {1399, 3000, 600, 600}, 1200, 1400, 2049, 0},
                      PlaceCase{"position label with a twip to spare", {1401, 3000, 600, 600}, 1200, 1400, 2051, 1},
                      PlaceCase{"rectangle off the left", {-5000, -700, 600, 600}, 1200, 1400, -4350, 0}));

TEST(LabelPlacementOnce, TimLabPosLeavesTheSizeLabelPastTheEdge) {
  SelGeometry g = withRect({30000, 3000, 6000, 1500});
  g.labtaille().Width = 1200;
  EXPECT_TRUE(g.onTimLabPos());
  EXPECT_EQ(g.labtaille().Left, 36050);
  EXPECT_TRUE(g.labtaille().Caption.isEmpty());
  EXPECT_FALSE(g.onTimLabPos());  // once per load
}

TEST(LabelPlacementOnce, ResizeUsesTheWidthsKnownBeforeTheNewCaptions) {
  SelGeometry g = withRect({1500, 1500, 3000, 1500});
  g.labPosition().Width = 1000;
  g.BougCoin(0, 1);
  g.onTimboug(0, 1200, 2212);
  EXPECT_EQ(g.labPosition().Left, 200);  // 1200 - the width it had
  EXPECT_EQ(g.labPosition().Caption, "<-  80  ^  100");
}

// ------------------------------------------------------------ first opening

struct LoadCase {
  const char* larg;
  const char* haut;
  Rect r;
};
void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.larg << " x " << c.haut; }

class FormLoad : public ::testing::TestWithParam<LoadCase> {};

TEST_P(FormLoad, SavedSizeCentredOnTheScreen) {
  const LoadCase& c = GetParam();
  SelGeometry g;
  g.setSavedSize(c.larg, c.haut);
  g.labPosition().Width = 1400;
  g.formLoad();
  EXPECT_EQ(g.rectsel().rect(), c.r);
  EXPECT_EQ(g.coinrect(7).Width(), 75);
  EXPECT_EQ(g.labPosition().Left, std::max(0, c.r.Left - 1400));
}

// A damaged record gives the nearest size from 0 to 9999 pixels instead of a
// negative or overflowing one.
INSTANTIATE_TEST_SUITE_P(Table, FormLoad,
                         ::testing::Values(LoadCase{"0420", "0260", {11250, 6150, 6300, 3900}},
                                           LoadCase{"0000", "0000", {14400, 8100, 0, 0}},
                                           LoadCase{"0421", "0261", {11242, 6142, 6315, 3915}},
                                           LoadCase{"3000", "2000", {-8100, -6900, 45000, 30000}},
                                           LoadCase{"-050", "abcd", {14400, 8100, 0, 0}},
                                           LoadCase{"9E99", "12.5", {-60592, 8006, 149985, 188}}));

// ------------------------------------------------------------ 3840 x 2400

TEST(WideScreen, TwipsBeyond16BitsStayExact) {
  const Screen wide{3840, 2400};
  SelGeometry g(wide);
  g.setRectAjust(1);
  g.setSavedSize("3000", "2000");
  g.formLoad();
  ASSERT_EQ(g.rectsel().rect(), (Rect{6300, 3000, 45000, 30000}));
  g.PlacDesCoins();
  EXPECT_EQ(g.coinrect(3).Left(), 51300);
  EXPECT_EQ(g.coinrect(4).Top(), 17962);
  EXPECT_EQ(g.CoinXMax(3), 51800);
  EXPECT_EQ(g.coinsAt(51700, 33400), std::vector<int>{5});

  g.labtaille().Width = 1500;
  g.BougCoin(5, 1);
  ASSERT_EQ(g.onTimboug(5, 57000, 35000), Redim::Done);
  EXPECT_EQ(g.rectsel().rect(), (Rect{6300, 3000, 50775, 32075}));
  EXPECT_EQ(g.labtaille().Caption, " 3385 x  2138 pixels");
  EXPECT_EQ(g.labPosition().Caption, "<-  420  ^  200");
  EXPECT_EQ(g.labtaille().Left, 57600 - 1500 - 50);

  g.setOptChk0(1);
  g.onTimtaille();
  EXPECT_EQ(g.rectsel().rect(), (Rect{6300, 3000, 50700, 31950}));
  EXPECT_EQ(g.labtaille().Caption, " 3380 x  2130 pixels");
}

}  // namespace
