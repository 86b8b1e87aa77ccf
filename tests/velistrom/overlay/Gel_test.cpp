// The frozen pictures made from a grab: the dimming of rows of any width and
// the one-pass undimmed copy and dimmed view, against the pixel-by-pixel
// computation they replace.
#include "velistrom/overlay/Gel.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// Every channel value in every channel over the first 256 columns.
QImage grabFixture(int w, int h, int seed) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      img.setPixel(x, y, qRgb((x + seed) & 255, (x + 85 * y + seed) & 255, (255 - x + 40 * y + seed) & 255));
  return img;
}

// What the overlay made before: the grab copied at the top of the undimmed
// picture, each pixel dimmed at the top of the view, black and dimmed black
// everywhere else.
int mismatches(const QImage& grab, const QImage& undimmed, const QImage& view) {
  int bad = 0;
  for (int y = 0; y < undimmed.height(); ++y)
    for (int x = 0; x < undimmed.width(); ++x) {
      const bool inGrab = x < grab.width() && y < grab.height();
      const QRgb plain = inGrab ? grab.pixel(x, y) : qRgb(0, 0, 0);
      if (undimmed.pixel(x, y) != plain || view.pixel(x, y) != overlay::dimPixel(plain)) ++bad;
    }
  return bad;
}

TEST(Dimming, RowsOfEveryWidthInPlaceAndCopiedEqualThePixelRule) {
  for (int w = 1; w <= 9; ++w) {
    const QImage src = grabFixture(256 + w, 3, w);
    QImage inPlace = src;
    overlay::dimRows(inPlace, 1, 3);
    QImage copied(src.size(), QImage::Format_RGB32);
    copied.fill(qRgb(1, 2, 3));
    overlay::dimCopyRows(src, copied, 0, 1, 2);
    int bad = 0;
    for (int x = 0; x < src.width(); ++x) {
      bad += inPlace.pixel(x, 0) != src.pixel(x, 0);  // outside the rows asked
      bad += copied.pixel(x, 0) != qRgb(1, 2, 3);
      for (int y = 1; y < 3; ++y) {
        bad += inPlace.pixel(x, y) != overlay::dimPixel(src.pixel(x, y));
        bad += copied.pixel(x, y) != overlay::dimPixel(src.pixel(x, y - 1));
      }
    }
    EXPECT_EQ(bad, 0) << "width " << w;
  }
}

TEST(FreezeOneScreen, EqualsThePixelByPixelCopiesOverSuccessiveOpenings) {
  const QSize size(259, 14);  // not a multiple of four pixels: the row tails too
  QImage undimmed, view;
  const struct {
    const char* what;
    QImage grab;
    bool drawBelow;  // something drew into the view's black part since
  } openings[] = {
      {"fresh pictures", grabFixture(259, 7, 0), false},
      {"written over, black kept", grabFixture(259, 7, 99), false},
      {"a pointer drawn below the grab", grabFixture(259, 7, 3), true},
      {"a narrower, shorter grab", grabFixture(200, 5, 7), false},
      {"the full grab again", grabFixture(259, 7, 11), false},
  };
  for (const auto& o : openings) {
    SCOPED_TRACE(o.what);
    if (o.drawBelow) {
      view.setPixel(3, 9, qRgb(255, 0, 255));
      undimmed.setPixel(250, 13, qRgb(255, 0, 255));
    }
    overlay::freezeOneScreen(o.grab, size, undimmed, view);
    ASSERT_EQ(undimmed.size(), size);
    ASSERT_EQ(view.size(), size);
    EXPECT_EQ(undimmed.format(), QImage::Format_RGB32);
    EXPECT_EQ(view.format(), QImage::Format_RGB32);
    EXPECT_EQ(mismatches(o.grab, undimmed, view), 0);
  }
}

TEST(FreezeOneScreen, APictureHeldElsewhereIsLeftAsItWas) {
  QImage undimmed, view;
  overlay::freezeOneScreen(grabFixture(64, 4, 0), QSize(64, 8), undimmed, view);
  const QImage keptView = view, keptUndimmed = undimmed;  // as the main window keeps the frozen screen
  const QImage keptViewPixels = view.copy(), keptUndimmedPixels = undimmed.copy();
  const QImage next = grabFixture(64, 4, 50);
  overlay::freezeOneScreen(next, QSize(64, 8), undimmed, view);
  EXPECT_EQ(keptView, keptViewPixels);
  EXPECT_EQ(keptUndimmed, keptUndimmedPixels);
  EXPECT_EQ(mismatches(next, undimmed, view), 0);
}

}  // namespace
