// The active window and its frame under a real window manager (openbox).
#include "platform/ActiveWindow.h"
#include "platform/X11Display.h"
#include "tests/support/Wait.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

std::unique_ptr<QWidget> managedWindow(QRect geometry, const char* title) {
  auto w = std::make_unique<QWidget>();
  w->setWindowTitle(title);
  w->setGeometry(geometry);
  w->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
  return w;
}

class ActiveWindowX11 : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(platform::x11Display(), nullptr); }
};

TEST_F(ActiveWindowX11, ActivationMovesTheActiveWindowAndItsFrameIsBiggerThanTheClient) {
  auto a = managedWindow(QRect(100, 120, 300, 200), "first");
  auto b = managedWindow(QRect(600, 300, 250, 150), "second");
  const auto idA = platform::NativeWindow(a->winId());
  const auto idB = platform::NativeWindow(b->winId());

  ASSERT_TRUE(platform::requestActivation(idA));
  ASSERT_TRUE(QTest::qWaitFor([&] { return platform::activeWindow() == idA; }, 5000));
  ASSERT_TRUE(platform::requestActivation(idB));
  ASSERT_TRUE(QTest::qWaitFor([&] { return platform::activeWindow() == idB; }, 5000));
  ASSERT_TRUE(platform::requestActivation(idA));
  ASSERT_TRUE(QTest::qWaitFor([&] { return platform::activeWindow() == idA; }, 5000));

  // Client area on screen, as X has it.
  const QRect client(a->mapToGlobal(QPoint(0, 0)), a->size());
  const QRect frame = platform::windowFrameRect(platform::activeWindow());
  EXPECT_TRUE(frame.contains(client)) << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
  EXPECT_GT(frame.height(), client.height());  // the title bar
  EXPECT_GE(frame.width(), client.width());
  EXPECT_LT(frame.top(), client.top());
  // openbox's frame is what Qt calls the frame geometry.
  EXPECT_EQ(frame, a->frameGeometry());
}

TEST_F(ActiveWindowX11, NoWindowAndVanishedWindowsGiveANullRect) {
  EXPECT_TRUE(platform::windowFrameRect(0).isNull());
  EXPECT_FALSE(platform::requestActivation(0));
  platform::NativeWindow gone = 0;
  {
    auto w = managedWindow(QRect(50, 50, 100, 100), "short-lived");
    gone = platform::NativeWindow(w->winId());
    EXPECT_FALSE(platform::windowFrameRect(gone).isNull());
  }
  // Once the server has destroyed it; no X error escapes either.
  EXPECT_TRUE(testsupport::waitFor([&] { return platform::windowFrameRect(gone).isNull(); }));
  EXPECT_EQ(platform::windowFrameRect(platform::x11Root()), platform::rootRect());
}

TEST_F(ActiveWindowX11, UnmanagedWindowHasItsOwnRectangle) {
  QWidget w(nullptr, Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint);
  w.setGeometry(300, 400, 120, 80);
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  EXPECT_EQ(platform::windowFrameRect(platform::NativeWindow(w.winId())), QRect(300, 400, 120, 80));
}

}  // namespace
