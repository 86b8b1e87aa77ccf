// Drawing a pointer into a picture: hotspot placement, blending and clipping.
#include "platform/Pointer.h"

#include <gtest/gtest.h>

namespace {

// A 4x3 pointer: each pixel opaque with a colour that encodes its position,
// except the bottom-right one, which is fully transparent.
platform::PointerShape fakePointer() {
  platform::PointerShape s;
  s.handle = 42;
  s.hotspot = QPoint(1, 2);
  s.image = QImage(4, 3, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) s.image.setPixel(x, y, qRgb(10 * x, 10 * y, 200));
  s.image.setPixel(3, 2, 0);
  return s;
}

QImage canvas() {
  QImage img(10, 8, QImage::Format_RGB32);
  img.fill(qRgb(1, 2, 3));
  return img;
}

TEST(DrawPointer, HotspotLandsOnThePointAndTransparentPixelsKeepThePicture) {
  QImage img = canvas();
  platform::drawPointer(img, fakePointer(), QPoint(5, 4));
  // Pointer pixel (x, y) lands at (5 - 1 + x, 4 - 2 + y).
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) {
      const QRgb want = (x == 3 && y == 2) ? qRgb(1, 2, 3) : qRgb(10 * x, 10 * y, 200);
      EXPECT_EQ(img.pixel(4 + x, 2 + y), want) << x << "," << y;
    }
  EXPECT_EQ(img.pixel(5, 4), qRgb(10, 20, 200));  // the hotspot pixel itself
  EXPECT_EQ(img.pixel(3, 2), qRgb(1, 2, 3));      // just outside the pointer
  EXPECT_EQ(img.pixel(8, 4), qRgb(1, 2, 3));
}

TEST(DrawPointer, ClippedAtEveryEdge) {
  struct Case { QPoint at; QPoint probe; QRgb want; };
  const Case cases[] = {
      {QPoint(0, 0), QPoint(0, 0), qRgb(10, 20, 200)},   // top-left: hotspot pixel at 0,0
      {QPoint(0, 1), QPoint(0, 0), qRgb(10, 10, 200)},    // pointer's first row and column cut off
      {QPoint(0, 1), QPoint(2, 1), qRgb(1, 2, 3)},        // its transparent corner
      {QPoint(-1, -2), QPoint(0, 0), qRgb(1, 2, 3)},      // wholly above the picture
      {QPoint(9, 7), QPoint(9, 7), qRgb(10, 20, 200)},    // bottom-right corner
      {QPoint(9, 7), QPoint(8, 5), qRgb(0, 0, 200)},
      {QPoint(100, 100), QPoint(9, 7), qRgb(1, 2, 3)},    // wholly outside: nothing drawn
  };
  for (const Case& c : cases) {
    QImage img = canvas();
    platform::drawPointer(img, fakePointer(), c.at);
    EXPECT_EQ(img.pixel(c.probe), c.want) << c.at.x() << "," << c.at.y();
    EXPECT_EQ(img.size(), QSize(10, 8));
  }
}

TEST(DrawPointer, NoPointerAndUnknownHandlesDrawNothing) {
  QImage img = canvas();
  const QImage before = img;
  platform::PointerShape none = fakePointer();
  none.handle = platform::kNoPointer;
  platform::drawPointer(img, none, QPoint(5, 4));
  EXPECT_FALSE(platform::drawPointer(img, platform::kNoPointer, QPoint(5, 4)));
  EXPECT_FALSE(platform::drawPointer(img, 123456u, QPoint(5, 4)));
  EXPECT_EQ(img, before);
  EXPECT_TRUE(platform::pointerShape(platform::kNoPointer).image.isNull());
}

TEST(PointerOffscreen, NoDisplayMeansNoVisiblePointer) {
  // Under the offscreen platform there is no X server to ask.
  EXPECT_EQ(platform::pointerHandle(), platform::kNoPointer);
}

}  // namespace
