// The screen grab's contract where there is no X server behind Qt.
#include "platform/ScreenGrab.h"
#include "platform/X11Display.h"

#include <gtest/gtest.h>

namespace {

TEST(ScreenGrabOffscreen, NoDisplayButAPictureOfTheAskedSize) {
  EXPECT_EQ(platform::x11Display(), nullptr);
  EXPECT_FALSE(platform::shmAvailable());
  const QImage img = platform::grabScreen(QRect(-10, -10, 50, 40));
  EXPECT_EQ(img.size(), QSize(50, 40));
  EXPECT_EQ(img.format(), QImage::Format_RGB32);
  EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0));  // off the screen: black
  EXPECT_TRUE(platform::grabScreen(QRect(0, 0, 0, 10)).isNull());
  EXPECT_GE(platform::monitorCount(), 1);
}

}  // namespace
