#include "velistrom/help/AideZones.h"

#include <cmath>

namespace help {

namespace {

std::vector<Zone> Page0() {
  // The toolbar band, y 50 to 78, and one box at the right of the menu bar.
  const int bords[19][2] = {{0, 35},    {42, 68},   {74, 100},  {106, 130}, {138, 170},
                            {172, 198}, {204, 232}, {236, 264}, {268, 296}, {300, 335},
                            {335, 378}, {380, 408}, {410, 436}, {440, 465}, {470, 495},
                            {500, 535}, {540, 565}, {570, 625}, {630, 655}};
  std::vector<Zone> z;
  for (const auto& b : bords) z.push_back({b[0], b[1], 50, 78});
  z.push_back({660, 690, 30, 50});
  return z;
}

}  // namespace

const std::vector<Zone>& ZonesPage(int page) {
  static const std::vector<Zone> pages[kPages] = {
      Page0(),
      {{40, 100, 50, 550},   {160, 180, 28, 100},  {130, 140, 65, 75},   {130, 140, 165, 175},
       {130, 140, 215, 225}, {130, 140, 275, 285}, {130, 140, 335, 345}, {130, 140, 395, 405},
       {130, 140, 495, 505}, {100, 160, 45, 60},   {100, 160, 145, 155}, {100, 160, 195, 205},
       {100, 160, 250, 265}, {100, 160, 315, 330}, {100, 160, 375, 390}, {100, 160, 475, 490},
       {100, 160, 535, 550}, {10, 20, 145, 155},   {10, 20, 250, 260},   {10, 20, 315, 325},
       {20, 38, 145, 155},   {20, 38, 250, 260}},
      {{30, 680, 65, 85},    {30, 360, 95, 115},   {30, 300, 125, 140},  {30, 300, 145, 165},
       {30, 300, 166, 185},  {30, 300, 186, 205},  {30, 300, 206, 225},  {30, 300, 226, 239},
       {30, 450, 240, 270},  {30, 680, 275, 320},  {360, 560, 160, 230}, {565, 680, 100, 180},
       {565, 680, 185, 220}, {565, 680, 222, 265}},
  };
  static const std::vector<Zone> none;
  return page >= 0 && page < kPages ? pages[page] : none;
}

int TexteZone(int page, int zone) {
  static const int debut[kPages] = {0, 23, 51};
  return debut[page] + zone;
}

int ZoneTouchee(int page, double X, double Y, int tx, int ty) {
  int touchee = -1;
  const std::vector<Zone>& zones = ZonesPage(page);
  for (int i = 0; i < int(zones.size()); ++i) {
    const Zone& z = zones[i];
    if (X > z.left * tx && X < z.right * tx && Y > z.top * ty && Y < z.bottom * ty) touchee = i;
  }
  return touchee;
}

const std::vector<MenuTitre>& MenusPage0() {
  static const std::vector<MenuTitre> menus = {
      {0, 50, 10}, {65, 100, 65}, {110, 135, 115}, {141, 260, 160}, {270, 300, 280}};
  return menus;
}

int MenuSous(double x) {
  const std::vector<MenuTitre>& menus = MenusPage0();
  for (int k = 0; k < int(menus.size()); ++k)
    if (x >= menus[k].from && x <= menus[k].to) return k;
  return -1;
}

int LigneMenu(double Y, int ty) {
  const int ligne = int(std::floor(Y / (kRowHeight * ty)));
  return ligne > kRows - 1 ? kRows - 1 : ligne < 0 ? 0 : ligne;
}

QSize TaillePage(int page) {
  switch (page) {
    case 1: return QSize(190, 565);
    case 2: return QSize(700, 330);
    default: return QSize(700, 330);
  }
}

QSize TailleMenu(int) { return QSize(200, kRows * kRowHeight + 4); }

}  // namespace help
