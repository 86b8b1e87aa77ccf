// The shape left when one colour is cut out of a rendered window.
#include "platform/WindowMask.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

const QRgb kKey = qRgb(255, 255, 192);

void expectShapeMatchesPixels(const QImage& img, const QRegion& region) {
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const bool key = (img.pixel(x, y) | 0xff000000u) == (kKey | 0xff000000u);
      ASSERT_EQ(region.contains(QPoint(x, y)), !key) << x << "," << y;
    }
}

TEST(RegionWithoutColour, EveryNonKeyPixelAndNoKeyPixel) {
  QImage img(23, 17, QImage::Format_RGB32);
  img.fill(kKey);
  // Shapes that make bands merge and split: a block, a hole in it, a diagonal,
  // lone pixels on the edges, and a colour one step from the key.
  for (int y = 2; y < 9; ++y)
    for (int x = 3; x < 15; ++x) img.setPixel(x, y, qRgb(0, 0, 0));
  for (int y = 4; y < 6; ++y)
    for (int x = 6; x < 9; ++x) img.setPixel(x, y, kKey);
  for (int i = 0; i < 12; ++i) img.setPixel(10 + i, 5 + i / 2, qRgb(200, 10, 10));
  img.setPixel(0, 0, qRgb(1, 1, 1));
  img.setPixel(22, 16, qRgb(1, 1, 1));
  img.setPixel(0, 16, qRgb(255, 255, 191));
  expectShapeMatchesPixels(img, platform::regionWithoutColour(img, kKey));
}

TEST(RegionWithoutColour, AllKeyIsEmptyAndNoKeyIsTheWholeRect) {
  QImage img(8, 5, QImage::Format_RGB32);
  img.fill(kKey);
  EXPECT_TRUE(platform::regionWithoutColour(img, kKey).isEmpty());
  img.fill(qRgb(0, 0, 255));
  EXPECT_EQ(platform::regionWithoutColour(img, kKey), QRegion(0, 0, 8, 5));
  EXPECT_TRUE(platform::regionWithoutColour(QImage(), kKey).isEmpty());
}

TEST(RegionWithoutColour, AlphaOfTheImageIsIgnored) {
  QImage img(4, 1, QImage::Format_ARGB32);
  img.setPixel(0, 0, qRgba(255, 255, 192, 0));  // key colour, fully transparent
  img.setPixel(1, 0, qRgba(255, 255, 192, 255));
  img.setPixel(2, 0, qRgba(0, 0, 0, 0));
  img.setPixel(3, 0, qRgba(255, 255, 192, 128));
  // Converting to RGB32 keeps the colour channels of unpremultiplied pixels.
  const QRegion r = platform::regionWithoutColour(img, kKey);
  EXPECT_FALSE(r.contains(QPoint(1, 0)));
  EXPECT_TRUE(r.contains(QPoint(2, 0)));
}

TEST(ColourKeyOffscreen, ShapeFollowsTheWidgetAndSwitchesOff) {
  QWidget w;
  w.resize(40, 30);
  w.setAutoFillBackground(true);
  QPalette pal = w.palette();
  pal.setColor(QPalette::Window, QColor(kKey));
  w.setPalette(pal);
  QWidget child(&w);
  child.setGeometry(5, 6, 10, 8);
  child.setAutoFillBackground(true);
  QPalette cp = child.palette();
  cp.setColor(QPalette::Window, Qt::blue);
  child.setPalette(cp);
  w.show();

  platform::setColourKey(&child, kKey);  // any widget of the window names the window
  EXPECT_TRUE(platform::colourKeyActive(&w));
  EXPECT_EQ(platform::colourKeyShape(&w), QRegion(5, 6, 10, 8));

  // A change is picked up: the child moves and a new one appears.
  child.move(20, 1);
  QWidget later(&w);
  later.setGeometry(0, 25, 3, 3);
  later.setAutoFillBackground(true);
  later.setPalette(cp);
  later.show();
  platform::refreshColourKey(&w);
  EXPECT_EQ(platform::colourKeyShape(&w), QRegion(20, 1, 10, 8) + QRegion(0, 25, 3, 3));

  platform::clearColourKey(&w);
  EXPECT_FALSE(platform::colourKeyActive(&w));
  EXPECT_TRUE(platform::colourKeyShape(&w).isNull());
}

}  // namespace
