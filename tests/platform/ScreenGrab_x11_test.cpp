// Screen grab against a real X server: a window with a known pattern comes back
// pixel for pixel, by shared memory and by plain requests.
#include "platform/ScreenGrab.h"
#include "platform/X11Display.h"

#include <QPainter>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

QRgb patternAt(int x, int y) { return qRgb(x & 255, y & 255, (x * 7 + y * 13) & 255); }

// An unmanaged window at a fixed place, painting the pattern.
class PatternWindow : public QWidget {
 public:
  PatternWindow(QPoint at, QSize size) : QWidget(nullptr, Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    pattern_ = QImage(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
      for (int x = 0; x < size.width(); ++x) pattern_.setPixel(x, y, patternAt(x, y));
    setGeometry(QRect(at, size));
  }

 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, pattern_); }

 private:
  QImage pattern_;
};

class ScreenGrabX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(platform::x11Display(), nullptr);
  }
  // Shows a window and waits until its pattern is on the screen.
  void showAt(PatternWindow& w) {
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QPoint probe = w.geometry().topLeft() + QPoint(5, 3);
    ASSERT_TRUE(QTest::qWaitFor([&] {
      return platform::grabScreen(QRect(probe, QSize(1, 1)), platform::GrabMethod::GetImage).pixel(0, 0) ==
             patternAt(5, 3);
    }, 5000));
  }
};

TEST_F(ScreenGrabX11, WindowPatternIsGrabbedExactlyByBothMethods) {
  PatternWindow w(QPoint(200, 150), QSize(300, 280));
  showAt(w);
  ASSERT_TRUE(platform::shmAvailable());
  for (auto method : {platform::GrabMethod::Shm, platform::GrabMethod::GetImage, platform::GrabMethod::Auto}) {
    const QImage img = platform::grabScreen(QRect(200, 150, 300, 280), method);
    ASSERT_EQ(img.size(), QSize(300, 280));
    ASSERT_EQ(img.format(), QImage::Format_RGB32);
    int wrong = 0;
    for (int y = 0; y < 280; ++y)
      for (int x = 0; x < 300; ++x)
        if (img.pixel(x, y) != patternAt(x, y)) ++wrong;
    EXPECT_EQ(wrong, 0) << "method " << int(method);
  }
}

TEST_F(ScreenGrabX11, RectanglesPartlyOffTheRootAreClippedAndPaddedBlack) {
  const QRect root = platform::rootRect();
  ASSERT_EQ(root.topLeft(), QPoint(0, 0));
  ASSERT_FALSE(root.isEmpty());
  // One window in the top-left corner, one in the bottom-right.
  PatternWindow tl(QPoint(0, 0), QSize(64, 64));
  PatternWindow br(root.bottomRight() - QPoint(63, 63), QSize(64, 64));
  showAt(tl);
  showAt(br);
  for (auto method : {platform::GrabMethod::Shm, platform::GrabMethod::GetImage}) {
    const QImage a = platform::grabScreen(QRect(-20, -30, 60, 60), method);
    ASSERT_EQ(a.size(), QSize(60, 60));
    EXPECT_EQ(a.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(a.pixel(19, 59), qRgb(0, 0, 0));
    EXPECT_EQ(a.pixel(59, 29), qRgb(0, 0, 0));
    EXPECT_EQ(a.pixel(20, 30), patternAt(0, 0));
    EXPECT_EQ(a.pixel(59, 59), patternAt(39, 29));

    const QRect tail(root.right() - 9, root.bottom() - 4, 40, 30);
    const QImage b = platform::grabScreen(tail, method);
    ASSERT_EQ(b.size(), QSize(40, 30));
    EXPECT_EQ(b.pixel(0, 0), patternAt(54, 59));
    EXPECT_EQ(b.pixel(9, 4), patternAt(63, 63));
    EXPECT_EQ(b.pixel(10, 4), qRgb(0, 0, 0));
    EXPECT_EQ(b.pixel(9, 5), qRgb(0, 0, 0));
    EXPECT_EQ(b.pixel(39, 29), qRgb(0, 0, 0));

    // Wholly off the root: all black, still of the asked size.
    const QImage c = platform::grabScreen(QRect(root.right() + 100, 0, 8, 8), method);
    ASSERT_EQ(c.size(), QSize(8, 8));
    EXPECT_EQ(c.pixel(7, 7), qRgb(0, 0, 0));
  }
}

TEST_F(ScreenGrabX11, WholeScreenIsTheRootSize) {
  const QImage img = platform::grabWholeScreen();
  EXPECT_EQ(img.size(), platform::rootRect().size());
  EXPECT_EQ(platform::monitorCount(), 1);
}

}  // namespace
