// The thumbnail window on a real X server with a window manager: its key-colour
// background lets clicks through to the window below, and it slides off to the
// left leaving a strip that brings it back under the pointer.
#include "tests/velistrom/mainwin/CaptureFixture.h"

#include "platform/ActiveWindow.h"
#include "platform/ScreenGrab.h"
#include "platform/WindowMask.h"
#include "platform/X11Display.h"
#include "tests/support/XTestKeys.h"

#include <QDateTime>
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
  // The strip covers the whole client: its part on the screen starts at the edge.
  const int stripX = std::max(0, fl().PictBande.widget()->mapToGlobal(QPoint(0, 0)).x());
  ASSERT_LT(stripX, win()->mapToGlobal(QPoint(win()->width() - 3, 0)).x());
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

// Slid off by its 40 s timer, the window comes back at a pointer move over any
// pixel of its client still on the screen: every column from the screen's edge
// to the client's right edge, near the top, in the middle and near the foot,
// where the slider (enabled), the count and the see-through background lie too.
TEST_F(ThumbnailWindowX11, APointerMoveAnywhereOnTheSlidOffPartBringsItBack) {
  add(Qt::green, 200, 150);
  fl().Form_Activate();
  ASSERT_TRUE(fl().Vscroll1.Enabled()) << "two captures: the slider takes the pointer";
  fl().TimGif.setEnabled(false);  // the marquee's 400 ticks a slide would only slow the test
  vb::setSteppedClock(QDateTime(QDate(2026, 3, 4), QTime(9, 0)));
  fl().Form_MouseMove(0, 0, 0, 0);  // the timer counts on the stepped clock from here
  ASSERT_TRUE(QTest::qWaitFor([&] { return win()->frameGeometry().x() == 0; }, 3000));
  const QPoint away(900, 900);
  const QPoint thumb = centreOf(fl().Image1[1]);  // where the window stands when docked
  const QRect client = win()->geometry();
  const int heights[] = {client.top() + 1, client.center().y(), client.bottom() - 1};
  QWidget* bande = fl().PictBande.widget();
  const QRgb stripColour = bande->grab().toImage().pixel(0, 0);
  QStringList missed;
  for (int y : heights) {
    for (int x = 0;; ++x) {
      input_.movePointer(away);
      input_.sync();
      vb::stepClock(40000);
      ASSERT_TRUE(QTest::qWaitFor([&] { return screenPixel(thumb) == qRgb(255, 0, 0); }, 3000))
          << "slid off the screen";
      // The client's right edge where the server has it: Qt need not have
      // heard where the window manager really put the window.
      const int border = win()->frameGeometry().right() - win()->geometry().right();
      const int right = platform::windowFrameRect(win()->winId()).right() - border;
      ASSERT_GE(right, 0) << "part of the client stays on the screen";
      if (x > right) break;
      // Where the window stands now, its strip drawn (and its shape with it).
      (void)QTest::qWaitFor([&] { return screenPixel(QPoint(x, y)) == stripColour; }, 500);
      input_.movePointer(QPoint(x, y));
      input_.sync();
      if (!QTest::qWaitFor([&] { return win()->frameGeometry().x() == 0; }, 1000)) {
        missed << QString("%1,%2").arg(x).arg(y);
        fl().Docker();
        ASSERT_TRUE(QTest::qWaitFor([&] { return win()->frameGeometry().x() == 0; }, 3000));
      }
    }
  }
  EXPECT_TRUE(missed.isEmpty()) << "no return at " << missed.join(" ").toStdString();
}

}  // namespace
