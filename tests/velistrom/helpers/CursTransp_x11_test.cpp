// CoulTransp and BascTransp on a real X server: the key colour of the old
// 0x00BBGGRR value vanishes, comes back when switched off and goes again on.
#include "platform/ScreenGrab.h"
#include "platform/WindowMask.h"
#include "platform/X11Display.h"
#include "velistrom/helpers/CursTransp.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

constexpr quint32 kLightYellow = 0xC0FFFF;  // RGB 255, 255, 192

QWidget* plate(QWidget* parent, QColor colour, QRect geometry) {
  auto* w = new QWidget(parent, parent ? Qt::Widget : Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint);
  w->setAutoFillBackground(true);
  QPalette p = w->palette();
  p.setColor(QPalette::Window, colour);
  w->setPalette(p);
  w->setGeometry(geometry);
  return w;
}

QRgb screenPixel(QPoint p) { return platform::grabScreen(QRect(p, QSize(1, 1))).pixel(0, 0); }

TEST(CursTranspX11, SwitchingOffRestoresTheWholeWindowAndOnRemovesTheKeyAgain) {
  ASSERT_NE(platform::x11Display(), nullptr);
  EXPECT_EQ(BgrToRgb(kLightYellow), qRgb(255, 255, 192));
  std::unique_ptr<QWidget> below(plate(nullptr, Qt::red, QRect(100, 100, 200, 200)));
  below->show();
  std::unique_ptr<QWidget> list(plate(nullptr, QColor(255, 255, 192), QRect(100, 100, 200, 200)));
  plate(list.get(), Qt::blue, QRect(10, 10, 50, 50));
  list->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(list.get()));
  const QPoint key(200, 200), thumb(120, 120);
  ASSERT_TRUE(QTest::qWaitFor([&] { return screenPixel(key) == qRgb(255, 255, 192); }, 3000));

  CoulTransp(list.get(), kLightYellow, 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return screenPixel(key) == qRgb(255, 0, 0); }, 3000));
  EXPECT_EQ(screenPixel(thumb), qRgb(0, 0, 255));

  BascTransp(list.get(), false);
  EXPECT_FALSE(platform::colourKeyActive(list.get()));
  EXPECT_TRUE(QTest::qWaitFor([&] { return screenPixel(key) == qRgb(255, 255, 192); }, 3000));
  EXPECT_EQ(screenPixel(thumb), qRgb(0, 0, 255));

  BascTransp(list.get(), true, kLightYellow);
  EXPECT_TRUE(QTest::qWaitFor([&] { return screenPixel(key) == qRgb(255, 0, 0); }, 3000));
  EXPECT_EQ(screenPixel(thumb), qRgb(0, 0, 255));

  // Off and on without a colour: the window's last key colour.
  BascTransp(list.get(), false);
  ASSERT_TRUE(QTest::qWaitFor([&] { return screenPixel(key) == qRgb(255, 255, 192); }, 3000));
  BascTransp(list.get(), true);
  EXPECT_TRUE(QTest::qWaitFor([&] { return screenPixel(key) == qRgb(255, 0, 0); }, 3000));
}

// No form reaches no window: a keyed one stays keyed, a plain one plain.
TEST(CursTranspX11, NullFormIsIgnored) {
  std::unique_ptr<QWidget> keyed(plate(nullptr, QColor(255, 255, 192), QRect(400, 100, 50, 50)));
  std::unique_ptr<QWidget> plain(plate(nullptr, QColor(255, 255, 192), QRect(500, 100, 50, 50)));
  keyed->show();
  plain->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(keyed.get()));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(plain.get()));
  CoulTransp(keyed.get(), kLightYellow, 0);
  ASSERT_TRUE(platform::colourKeyActive(keyed.get()));

  CoulTransp(nullptr, kLightYellow, 0);
  BascTransp(nullptr, true, kLightYellow);
  EXPECT_FALSE(platform::colourKeyActive(plain.get()));
  BascTransp(nullptr, false);
  EXPECT_TRUE(platform::colourKeyActive(keyed.get()));
}

}  // namespace
