// The hover zones of the interactive help window: edges, overlaps, the menu
// titles of the main window's picture and the rows of a menu picture.
#include "velistrom/help/AideZones.h"

#include <gtest/gtest.h>

namespace {

constexpr int kTw = 15;

int At(int page, double xPx, double yPx) { return help::ZoneTouchee(page, xPx * kTw, yPx * kTw, kTw, kTw); }

TEST(AideZones, PointerPixelsGiveTheZoneOfThePage) {
  struct Case {
    int page;
    double x, y;
    int zone;  // -1: none
  };
  const Case cases[] = {
      {0, 20, 60, 0},
      {0, 40, 60, -1},   // between zones 0 (to 35) and 1 (from 42)
      {0, 335, 60, -1},  // zone 9 ends and zone 10 starts at 335, both excluded
      {0, 336, 60, 10},
      {0, 334.9, 60, 9},
      {0, 20, 50, -1},   // the band's top edge is excluded
      {0, 20, 78, -1},
      {0, 675, 40, 19},  // the box high up at the right
      {0, 675, 60, -1},
      {1, 70, 300, 0},
      {1, 170, 50, 1},
      {1, 135, 70, 2},
      {1, 15, 150, 17},
      {1, 30, 255, 21},
      {1, 150, 10, -1},
      {1, 120, 50, 9},
      {1, 100, 50, -1},  // zone 0 ends and zone 9 starts at x 100
      {2, 100, 75, 0},
      {2, 360, 105, -1},  // zones 1 (to 360) and 10 (from 360) meet at 360
      {2, 200, 130, 2},
      {2, 400, 200, 10},
      {2, 600, 200, 12},
      {2, 650, 300, 9},
      {2, 5, 5, -1},
      {2, 200, 272, -1},  // between zone 8 (to y 270) and zone 9 (from 275)
  };
  for (const Case& c : cases)
    EXPECT_EQ(At(c.page, c.x, c.y), c.zone) << "page " << c.page << " at " << c.x << "," << c.y;
}

TEST(AideZones, ZoneTextsFollowEachPagesBlock) {
  EXPECT_EQ(help::TexteZone(0, 0), 0);
  EXPECT_EQ(help::TexteZone(0, 19), 19);
  EXPECT_EQ(help::TexteZone(1, 0), 23);
  EXPECT_EQ(help::TexteZone(1, 21), 44);
  EXPECT_EQ(help::TexteZone(2, 0), 51);
  EXPECT_EQ(help::TexteZone(2, 13), 64);
  EXPECT_EQ(help::ZonesPage(0).size(), 20u);
  EXPECT_EQ(help::ZonesPage(1).size(), 22u);
  EXPECT_EQ(help::ZonesPage(2).size(), 14u);
}

TEST(AideZones, MenuTitlesIncludeTheirBounds) {
  const std::pair<double, int> cases[] = {{0, 0},    {50, 0},   {50.5, -1}, {55, -1}, {65, 1},
                                          {100, 1},  {105, -1}, {110, 2},   {135, 2}, {138, -1},
                                          {141, 3},  {260, 3},  {265, -1},  {270, 4}, {300, 4},
                                          {301, -1}, {675, -1}};
  for (const auto& [x, menu] : cases) EXPECT_EQ(help::MenuSous(x), menu) << "x " << x;
}

TEST(AideZones, MenuRowsAre17PixelsAndHeldToSeven) {
  const std::pair<double, int> cases[] = {{-30, 0}, {0, 0},   {16 * kTw, 0}, {17 * kTw, 1},
                                          {50 * kTw, 2}, {118 * kTw, 6}, {130 * kTw, 6}, {400 * kTw, 6}};
  for (const auto& [y, row] : cases) EXPECT_EQ(help::LigneMenu(y, kTw), row) << "Y " << y;
}

}  // namespace
