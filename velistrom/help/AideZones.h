#pragma once
// The hover zones of the interactive help window: boxes in pixels of each
// page's screenshot (both edges excluded), the menu titles of page 0's menu
// bar (both edges included), and the 17-pixel rows of a menu picture. The
// screenshots are drawn to fit these tables (tools/helpshots.cpp).
#include <QSize>

#include <vector>

namespace help {

struct Zone {
  int left, right, top, bottom;
};

constexpr int kPages = 3;
constexpr int kMenus = 5;
constexpr int kRowHeight = 17;  // pixels of one menu item
constexpr int kRows = 7;

// The zones of page 0, 1 or 2, in index order.
const std::vector<Zone>& ZonesPage(int page);
// The help text (gTxtAide) of zone i of a page.
int TexteZone(int page, int zone);
// The zone of the page hit by the pointer at X, Y in twips over the picture:
// of overlapping zones the highest index; -1 for none.
int ZoneTouchee(int page, double X, double Y, int twipsPerPixelX, int twipsPerPixelY);

struct MenuTitre {
  int from, to;  // x range of the title, pixels, bounds included
  int leftPx;    // where its drop-down picture goes, from the screenshot's left
};
const std::vector<MenuTitre>& MenusPage0();
// The menu under pointer x (pixels) in page 0's menu bar; -1 for none.
int MenuSous(double x);
// Page 0's menu bar: 20 < y < 50 pixels.
constexpr int kBarreHaut = 20, kBarreBas = 50;
// The menu row under a pointer Y twips below the picture's top, held to 0..6.
int LigneMenu(double Y, int twipsPerPixelY);

// The screenshots' sizes, pixels (the placeholder of a missing one).
QSize TaillePage(int page);
QSize TailleMenu(int menu);

}  // namespace help
