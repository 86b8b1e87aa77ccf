#pragma once
// Where the two web-page windows go, in twips, from the screen's size.
#include <QRect>

namespace help {

// The tutorial window: the screen less 1000 twips each way, centred across,
// 1000 twips from the top.
QRect GeomBrows(int screenWidth, int screenHeight);
// The news window: 800 x 600 pixels, centred.
QRect GeomActua(int screenWidth, int screenHeight, int twipsPerPixelX, int twipsPerPixelY);

}  // namespace help
