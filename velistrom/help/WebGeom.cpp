#include "velistrom/help/WebGeom.h"

#include <cmath>

namespace help {

QRect GeomBrows(int screenWidth, int screenHeight) {
  const int w = screenWidth - 1000;
  const int h = screenHeight - 1000;
  return QRect((screenWidth - w) / 2, 1000, w, h);
}

QRect GeomActua(int screenWidth, int screenHeight, int twipsPerPixelX, int twipsPerPixelY) {
  const int w = 800 * twipsPerPixelX;
  const int h = 600 * twipsPerPixelY;
  return QRect(int(std::nearbyint((screenWidth - w) * 0.5)), int(std::nearbyint((screenHeight - h) * 0.5)),
               w, h);
}

}  // namespace help
