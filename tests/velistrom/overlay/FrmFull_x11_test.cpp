// The overlay on a real X server with a window manager: it freezes and dims what
// is on the screen, lies above every window, outside the window manager, holds
// the keyboard, and a real Enter hands over the saved-size rectangle.
#include "OverlayFixture.h"

#include "platform/ScreenGrab.h"
#include "platform/X11Display.h"
#include "platform/forms/MsgBox.h"
#include "tests/support/Wait.h"
#include "tests/support/BoxOnScreen.h"
#include "tests/support/XTestKeys.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <QPainter>
#include <QTest>
#include <QWidget>

#include <cstdlib>
#include <memory>

#include <X11/Xlib.h>

using namespace overlaytest;
using testsupport::RealBoxes;
using testsupport::shareSeen;

namespace {

using testsupport::waitFor;

bool within1(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) <= 1 && std::abs(qGreen(a) - qGreen(b)) <= 1 &&
         std::abs(qBlue(a) - qBlue(b)) <= 1;
}

// A window at a fixed place of the screen painting the coordinate pattern of
// the screen pixels it covers (or a plain colour once told so).
class PatternWindow : public QWidget {
 public:
  explicit PatternWindow(QRect at)
      : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint), at_(at) {
    setGeometry(at);
    img_ = pattern(at, 1);
  }
  void paintRed() {
    img_.fill(Qt::red);
    repaint();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.drawImage(0, 0, img_);
  }

 private:
  QRect at_;
  QImage img_;
};

// Shows a plain green window, framed by the window manager, as the series'
// thumbnail window.
class SeriesMain : public RecordingMain {
 public:
  SeriesMain() {
    thumbs.setWindowTitle("thumbs");
    thumbs.setAutoFillBackground(true);
    QPalette pal = thumbs.palette();
    pal.setColor(QPalette::Window, Qt::green);
    thumbs.setPalette(pal);
    thumbs.setGeometry(400, 300, 360, 240);
  }
  void showThumbsForSeries() override {
    RecordingMain::showThumbsForSeries();
    thumbs.show();
  }
  void hideThumbs() override {
    RecordingMain::hideThumbs();
    thumbs.hide();
  }
  QWidget thumbs;
};

class OverlayX11 : public OverlayTest {
 protected:
  void SetUp() override {
    OverlayTest::SetUp();
    core::resetBureau();  // the real grab, warp and pointer
  }
};

TEST_F(OverlayX11, FrozenDimmedAboveEveryWindowAndEnterHandsOverThePattern) {
  ASSERT_EQ(platform::rootRect().size(), QSize(1920, 1080)) << "run on a 1920x1080 Xvfb";
  const QRect at(300, 200, 1300, 700);
  PatternWindow window(at);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  ASSERT_TRUE(waitFor([&] {
    return platform::grabScreen(QRect(900, 500, 1, 1)).pixel(0, 0) == patternAt(900, 500, 1);
  }));

  gSelLarg = "0200";
  gSelHaut = "0100";
  FrmFull& f = frmFull();
  ASSERT_TRUE(f.InitFull(0));
  f.Show();
  ASSERT_TRUE(waitFor([&] { return !f.TimMvtDeb.Enabled(); }));
  ASSERT_TRUE(waitFor([&] { return !f.TimForgrnd.Enabled(); }));

  // Outside the window manager and holding the keyboard.
  Display* dpy = platform::x11Display();
  ASSERT_NE(dpy, nullptr);
  XWindowAttributes wa{};
  ASSERT_TRUE(XGetWindowAttributes(dpy, f.widget()->winId(), &wa));
  EXPECT_TRUE(wa.override_redirect);
  EXPECT_EQ(QWidget::keyboardGrabber(), f.Picture1.widget());
  EXPECT_EQ(QWidget::mouseGrabber(), f.Picture1.widget());

  // The window below changes; the overlay keeps showing the frozen, dimmed copy.
  window.paintRed();
  EXPECT_TRUE(waitFor([] {
    const QImage screen = platform::grabWholeScreen();
    for (QPoint p : {QPoint(320, 220), QPoint(1500, 850), QPoint(700, 800), QPoint(1200, 300)})
      if (!within1(screen.pixel(p), overlay::dimPixel(patternAt(p.x(), p.y(), 1)))) return false;
    return true;
  }));

  // A real Enter, through the X server.
  testsupport::XTestInput input;
  ASSERT_TRUE(input.ok());
  input.tap("Return");
  input.sync();
  ASSERT_TRUE(waitFor([&] { return !main.only({"GestVignettes"}).isEmpty(); }));
  EXPECT_EQ(gSelX, (28800 - 3000) / 2);
  EXPECT_EQ(gSelY, (16200 - 1500) / 2);
  const QImage cut = main.listed;
  ASSERT_EQ(cut.size(), QSize(200, 100));
  int bad = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x)
      if ((cut.pixel(x, y) & 0xFFFFFF) != (patternAt(861 + x, 491 + y, 1) & 0xFFFFFF)) ++bad;
  EXPECT_EQ(bad, 0);
  EXPECT_TRUE(gFinFull);
  EXPECT_FALSE(f.Visible());
  EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(OverlayX11, ARealDragDrawsABandThatIsCapturedOnRelease) {
  const QRect at(0, 0, 1920, 1080);
  PatternWindow window(at);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  ASSERT_TRUE(waitFor([&] {
    return platform::grabScreen(QRect(1300, 300, 1, 1)).pixel(0, 0) == patternAt(1300, 300, 1);
  }));
  gRectAjust = 0;
  FrmFull& f = frmFull();
  ASSERT_TRUE(f.InitFull(0));
  f.Show();
  ASSERT_TRUE(waitFor([&] { return !f.TimMvtDeb.Enabled() && !f.TimForgrnd.Enabled(); }));
  testsupport::XTestInput input;
  ASSERT_TRUE(input.ok());
  input.movePointer(QPoint(1200, 250));
  input.sync();
  input.pressButton(1);
  for (int i = 1; i <= 10; ++i) {
    input.movePointer(QPoint(1200 + 20 * i, 250 + 10 * i));
    input.sync();
    QTest::qWait(20);
  }
  ASSERT_TRUE(waitFor([&] { return f.geometry().rectlibre().Width() == 3000; }));
  input.releaseButton(1);
  input.sync();
  ASSERT_TRUE(waitFor([&] { return !main.only({"GestVignettes"}).isEmpty(); }));
  EXPECT_EQ(gSelX, 1200 * 15);
  EXPECT_EQ(gSelY, 250 * 15);
  const QImage cut = main.listed;
  ASSERT_EQ(cut.size(), QSize(200, 100));
  EXPECT_EQ(cut.pixel(0, 0) & 0xFFFFFF, patternAt(1201, 251, 1) & 0xFFFFFF);
  EXPECT_EQ(cut.pixel(199, 99) & 0xFFFFFF, patternAt(1400, 350, 1) & 0xFFFFFF);
}

TEST_F(OverlayX11, DoubleHeightWindowIsTwoScreensHighWithTheSeamAtMidScreen) {
  const QRect at(0, 0, 1920, 1080);
  PatternWindow window(at);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  ASSERT_TRUE(waitFor([&] {
    return platform::grabScreen(QRect(10, 1000, 1, 1)).pixel(0, 0) == patternAt(10, 1000, 1);
  }));
  FrmFull& f = frmFull();
  ASSERT_TRUE(f.InitFull(0));
  ASSERT_TRUE(f.InitFull(1));  // the same desktop grabbed again below
  f.Show();
  ASSERT_TRUE(waitFor([&] { return !f.TimMvtDeb.Enabled(); }));
  Display* dpy = platform::x11Display();
  ASSERT_TRUE(waitFor([&] {
    XWindowAttributes wa{};
    XGetWindowAttributes(dpy, f.widget()->winId(), &wa);
    return wa.map_state == IsViewable && wa.height == 2160 && wa.y == 0;
  }));
  // Screen row 539 is the first grab's last row, row 540 the second grab's first.
  EXPECT_TRUE(waitFor([] {
    const QImage rows = platform::grabScreen(QRect(0, 539, 1920, 2));
    for (int x : {30, 700, 1300})
      if (!within1(rows.pixel(x, 0), overlay::dimPixel(patternAt(x, 1079, 1))) ||
          !within1(rows.pixel(x, 1), overlay::dimPixel(patternAt(x, 0, 1))))
        return false;
    return true;
  }));
}

TEST_F(OverlayX11, ABoxShownOverTheOverlayIsSeenTakesTheEnterAndGivesTheGrabsBack) {
  FrmFull& f = frmFull();
  ASSERT_TRUE(f.InitFull(0));
  f.Show();
  ASSERT_TRUE(waitFor([&] { return !f.TimMvtDeb.Enabled() && !f.TimForgrnd.Enabled(); }));
  ASSERT_EQ(QWidget::keyboardGrabber(), f.Picture1.widget());
  RealBoxes real;
  testsupport::XTestInput input;
  ASSERT_TRUE(input.ok());

  double seen = 0;
  bool grabsFreed = false;
  QTimer::singleShot(0, [&] {
    QWidget* box = nullptr;
    ASSERT_TRUE(waitFor([&] {
      box = QApplication::activeModalWidget();
      return box && box->isVisible();
    }));
    (void)waitFor([&] { return (seen = shareSeen(box)) > 0.95; });  // checked once the box has closed
    grabsFreed = QWidget::keyboardGrabber() == nullptr && QWidget::mouseGrabber() == nullptr;
    (void)waitFor([&] { return QApplication::focusWidget() && box->isAncestorOf(QApplication::focusWidget()); });
    input.tap("Return");
    input.sync();
    // Should the box not take it, the test must not hang.
    QTimer::singleShot(5000, [] {
      if (QWidget* b = QApplication::activeModalWidget()) b->close();
    });
  });
  const int answer = vb::MsgBox("Over the overlay", vb::vbYesNo | vb::vbDefaultButton2);
  EXPECT_GT(seen, 0.95) << "the box is under the overlay";
  EXPECT_TRUE(grabsFreed);
  EXPECT_EQ(answer, vb::vbNo);  // the Enter went to the box's default button
  EXPECT_TRUE(main.only({"GestVignettes"}).isEmpty()) << "the Enter made a capture";
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(QWidget::keyboardGrabber(), f.Picture1.widget());
  EXPECT_EQ(QWidget::mouseGrabber(), f.Picture1.widget());
  f.Hide();
}

TEST_F(OverlayX11, ThreeCapturesInASeriesShowTheThumbnailWindowOverTheOverlay) {
  SeriesMain series;
  series.multi = true;
  overlay::setMainSide(&series);
  gSelLarg = "0200";
  gSelHaut = "0100";
  FrmFull& f = frmFull();
  ASSERT_TRUE(f.InitFull(0));
  f.Show();
  ASSERT_TRUE(waitFor([&] { return !f.TimMvtDeb.Enabled() && !f.TimForgrnd.Enabled(); }));
  f.Timtransp.setInterval(60000);  // the test brings the overlay back itself
  testsupport::XTestInput input;
  ASSERT_TRUE(input.ok());
  for (int n = 1; n <= 3; ++n) {
    SCOPED_TRACE(n);
    input.tap("Return");
    input.sync();
    ASSERT_TRUE(waitFor([&] { return series.only({"GestVignettes"}).size() == n; }));
    ASSERT_TRUE(series.thumbs.isVisible());
    EXPECT_TRUE(f.Visible());
    double seen = 0;
    EXPECT_TRUE(waitFor([&] { return (seen = shareSeen(&series.thumbs)) > 0.95; }))
        << "the thumbnail window is under the overlay: " << seen;
    f.Timtransp.tick();
    EXPECT_FALSE(series.thumbs.isVisible());
    EXPECT_TRUE(f.Visible());
  }
  EXPECT_EQ(QWidget::keyboardGrabber(), f.Picture1.widget());
  f.Hide();
  overlay::setMainSide(&main);
}

}  // namespace
