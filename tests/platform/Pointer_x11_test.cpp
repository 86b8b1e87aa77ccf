// Pointer position, warp and shape handles on a real X server.
#include "platform/Pointer.h"
#include "platform/X11Display.h"
#include "tests/support/XTestKeys.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// An unmanaged window with a given pointer shape.
std::unique_ptr<QWidget> shapedWindow(QRect geometry, Qt::CursorShape shape) {
  auto w = std::make_unique<QWidget>(nullptr, Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint);
  w->setGeometry(geometry);
  w->setCursor(shape);
  w->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
  return w;
}

class PointerX11 : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(platform::x11Display(), nullptr); }
};

TEST_F(PointerX11, WarpAndFakeMotionMoveThePointer) {
  platform::warpPointer(QPoint(123, 456));
  EXPECT_EQ(platform::pointerPosition(), QPoint(123, 456));
  testsupport::XTestInput input;
  ASSERT_TRUE(input.ok());
  input.movePointer(QPoint(700, 80));
  EXPECT_EQ(platform::pointerPosition(), QPoint(700, 80));
}

TEST_F(PointerX11, HandleNamesTheShapeAndItsImageIsKept) {
  auto cross = shapedWindow(QRect(100, 100, 200, 200), Qt::CrossCursor);
  auto hand = shapedWindow(QRect(400, 100, 200, 200), Qt::PointingHandCursor);
  platform::warpPointer(QPoint(200, 200));
  ASSERT_TRUE(QTest::qWaitFor([] { return platform::pointerHandle() != platform::kNoPointer; }, 3000));
  const platform::PointerShape first = platform::currentPointer();
  ASSERT_FALSE(first.image.isNull());
  EXPECT_TRUE(QRect(QPoint(), first.image.size()).contains(first.hotspot));

  platform::warpPointer(QPoint(500, 200));
  ASSERT_TRUE(QTest::qWaitFor([&] { return platform::pointerHandle() != first.handle; }, 3000));
  const quint32 second = platform::pointerHandle();
  EXPECT_NE(second, platform::kNoPointer);

  // The first shape can still be drawn after the pointer changed.
  const platform::PointerShape kept = platform::pointerShape(first.handle);
  EXPECT_EQ(kept.image, first.image);
  EXPECT_EQ(kept.hotspot, first.hotspot);
  QImage pic(50, 50, QImage::Format_RGB32);
  pic.fill(Qt::black);
  EXPECT_TRUE(platform::drawPointer(pic, first.handle, QPoint(25, 25)));
  EXPECT_NE(pic, [] { QImage b(50, 50, QImage::Format_RGB32); b.fill(Qt::black); return b; }());

  // Back over the first window: the same shape has the same handle.
  platform::warpPointer(QPoint(150, 150));
  EXPECT_TRUE(QTest::qWaitFor([&] { return platform::pointerHandle() == first.handle; }, 3000));
}

TEST_F(PointerX11, HiddenOrBlankPointerHasTheNoPointerHandle) {
  platform::warpPointer(QPoint(900, 700));  // over the root
  ASSERT_TRUE(QTest::qWaitFor([] { return platform::pointerHandle() != platform::kNoPointer; }, 3000));
  platform::hidePointer();
  EXPECT_EQ(platform::pointerHandle(), platform::kNoPointer);
  EXPECT_TRUE(platform::currentPointer().image.isNull());
  platform::showPointer();
  EXPECT_NE(platform::pointerHandle(), platform::kNoPointer);

  // A program that blanks the pointer over its window (a video player).
  auto blank = shapedWindow(QRect(800, 600, 200, 200), Qt::BlankCursor);
  EXPECT_TRUE(QTest::qWaitFor([] { return platform::pointerHandle() == platform::kNoPointer; }, 3000));
  platform::warpPointer(QPoint(50, 1000));
  EXPECT_TRUE(QTest::qWaitFor([] { return platform::pointerHandle() != platform::kNoPointer; }, 3000));
}

}  // namespace
