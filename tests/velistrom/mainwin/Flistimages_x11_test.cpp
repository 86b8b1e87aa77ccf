// The thumbnail window on a real X server with a window manager: its key-colour
// background lets clicks through to the window below, and it slides off to the
// left leaving a strip that brings it back under the pointer.
#include "tests/velistrom/mainwin/CaptureFixture.h"

#include "platform/ScreenGrab.h"
#include "platform/WindowMask.h"
#include "platform/X11Display.h"
#include "tests/support/XTestKeys.h"

#include <QMouseEvent>
#include <QTest>
#include <QWidget>

namespace {

using captfix::CaptureList;

// A plain window under the thumbnail window that counts the presses it gets.
class Below : public QWidget {
 public:
  Below() : QWidget(nullptr, Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::red);
    setPalette(p);
    setGeometry(0, 0, 600, 1000);
  }
  int presses = 0;

 protected:
  void mousePressEvent(QMouseEvent*) override { ++presses; }
};

QRgb screenPixel(QPoint p) { return platform::grabScreen(QRect(p, QSize(1, 1))).pixel(0, 0); }

class ThumbnailWindowX11 : public CaptureList {
 protected:
  void SetUp() override {
    CaptureList::SetUp();
    if (!platform::x11Display() || !input_.ok()) GTEST_SKIP() << "no X server with XTest";
    below_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&below_));
    add(Qt::blue, 200, 150);
    ASSERT_TRUE(fl().Visible());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(fl().widget()));
    below_.lower();  // unmanaged windows are stacked by their clients alone
    fl().widget()->raise();
    QTest::qWait(300);
  }
  QWidget* win() { return fl().widget(); }
  // A point of the client, 3 pixels clear of the shown shape all round.
  std::optional<QPoint> keyPoint() {
    platform::refreshColourKey(win());
    const QRegion shape = platform::colourKeyShape(win());
    const QRect r = win()->rect().adjusted(4, 4, -4, -4);
    for (int y = r.top(); y < r.bottom(); y += 3)
      for (int x = r.left(); x < r.right(); x += 3)
        if (!shape.intersects(QRect(x - 3, y - 3, 7, 7))) return win()->mapToGlobal(QPoint(x, y));
    return std::nullopt;
  }
  QPoint centreOf(vb::Control& c) { return c.widget()->mapToGlobal(c.widget()->rect().center()); }

  Below below_;
  testsupport::XTestInput input_;
};

TEST_F(ThumbnailWindowX11, AClickOnTheKeyColourReachesTheWindowBelow) {
  const std::optional<QPoint> key = keyPoint();
  ASSERT_TRUE(key.has_value());
  EXPECT_TRUE(QTest::qWaitFor([&] { return screenPixel(*key) == qRgb(255, 0, 0); }, 3000));
  input_.click(*key);
  input_.sync();
  EXPECT_TRUE(QTest::qWaitFor([&] { return below_.presses == 1; }, 3000));

  // The thumbnail itself is solid: a press there stays with the window.
  gNumCapt = 0;
  const QPoint thumb = centreOf(fl().Image1[1]);
  EXPECT_EQ(QColor(screenPixel(thumb)), QColor(Qt::blue));
  input_.click(thumb);
  input_.sync();
  EXPECT_TRUE(QTest::qWaitFor([&] { return gNumCapt == 1; }, 3000)) << "the press selected the capture";
  EXPECT_EQ(below_.presses, 1);
}

TEST_F(ThumbnailWindowX11, DocksLeftSlidesOffOnTheArrowAndComesBackFromItsStrip) {
  EXPECT_TRUE(QTest::qWaitFor([&] { return win()->frameGeometry().x() == 0; }, 3000));
  EXPECT_EQ(fl().Left(), 0);
  // In the corner with its title bar on the screen, not above it.
  EXPECT_TRUE(QTest::qWaitFor([&] { return win()->frameGeometry().y() == 0 && win()->geometry().y() > 0; }, 3000))
      << win()->frameGeometry().y() << " " << win()->geometry().y();

  input_.movePointer(QPoint(900, 900));
  input_.sync();
  QTest::qWait(100);
  input_.movePointer(centreOf(fl().Labflech));
  input_.sync();
  ASSERT_TRUE(QTest::qWaitFor([&] { return win()->frameGeometry().x() < -100; }, 3000));
  input_.movePointer(QPoint(900, 900));
  input_.sync();
  QTest::qWait(300);

  // Only the strip and the right border remain on screen, and they are drawn.
  const QRect frame = win()->frameGeometry();
  EXPECT_GT(frame.right(), 0);
  const int stripX = fl().PictBande.widget()->mapToGlobal(QPoint(0, 0)).x();
  ASSERT_GE(stripX, 0);
  const QPoint onStrip(stripX + 3, win()->mapToGlobal(QPoint(0, win()->height() / 2)).y());
  // The strip as it draws itself, not whatever else stands there.
  QWidget* bande = fl().PictBande.widget();
  const QRgb dessine = bande->grab().toImage().pixel(bande->mapFromGlobal(onStrip));
  EXPECT_TRUE(QTest::qWaitFor([&] { return screenPixel(onStrip) == dessine; }, 3000));
  EXPECT_TRUE(platform::colourKeyShape(win()).contains(fl().PictBande.widget()->mapTo(win(), QPoint(3, 3))));

  input_.movePointer(onStrip);
  input_.sync();
  EXPECT_TRUE(QTest::qWaitFor([&] { return win()->frameGeometry().x() == 0; }, 3000));
  EXPECT_EQ(fl().Left(), 0);
  EXPECT_TRUE(fl().TimerCache.Enabled());
}

}  // namespace
