// The overlay on a real X server with two monitors side by side: a double-height
// capture holds real pixels of both monitors in both grabs, and F7 moves the
// seam on the second monitor's half of the view too.
#include "tests/support/ScreenPattern.h"
#include "tests/support/XTestKeys.h"
#include "tests/velistrom/overlay/OverlayFixture.h"

#include "platform/ScreenGrab.h"
#include "platform/X11Display.h"

#include <QGuiApplication>
#include <QScreen>

#include <X11/Xlib.h>

#include <cstdlib>

using namespace overlaytest;
using testsupport::waitFor;

namespace {

bool within1(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) <= 1 && std::abs(qGreen(a) - qGreen(b)) <= 1 &&
         std::abs(qBlue(a) - qBlue(b)) <= 1;
}

// Points of the first monitor, of the second, and at their edges.
const std::vector<int> kColumns = {5, 700, 1915, 1925, 2600, 3830};

class OverlayTwoMonitorsX11 : public OverlayTest {
 protected:
  void SetUp() override {
    OverlayTest::SetUp();
    core::resetBureau();  // the real grab, warp and pointer
  }
};

// The screen shows, at each column, colour(x, y) at the rows given.
bool screenShows(const std::vector<int>& rows, const std::function<QRgb(int, int)>& colour) {
  const QImage screen = platform::grabScreen(QRect(0, 0, 3840, 1080)).convertToFormat(QImage::Format_RGB32);
  for (int y : rows)
    for (int x : kColumns)
      if (!within1(screen.pixel(x, y), colour(x, y))) return false;
  return true;
}

}  // namespace

TEST_F(OverlayTwoMonitorsX11, DoubleHeightCaptureHoldsBothMonitorsAndF7MovesTheSecondMonitorsSeam) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  ASSERT_EQ(screens.size(), 2) << "run through with-two-monitors.sh";
  ASSERT_EQ(platform::monitorCount(), 2);
  ASSERT_EQ(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 1920, 1080));
  ASSERT_EQ(platform::rootRect(), QRect(0, 0, 3840, 1080));

  // One pattern window on each monitor; the second grab sees their negative.
  int gen = 1;
  auto colour = [&gen](int x, int y) { return patternAt(x, y, gen); };
  testsupport::PatternWindow left(colour, QRect(0, 0, 1920, 1080));
  testsupport::PatternWindow right(colour, QRect(1920, 0, 1920, 1080));
  left.show();
  right.show();
  ASSERT_TRUE(waitFor([&] { return screenShows({3, 540, 1076}, colour); }));

  FrmFull& f = frmFull();
  ASSERT_TRUE(f.InitFull(0));
  gen = 2;
  left.update();
  right.update();
  ASSERT_TRUE(waitFor([&] { return screenShows({3, 540, 1076}, colour); }));
  ASSERT_TRUE(f.InitFull(1));
  f.Show();
  ASSERT_TRUE(waitFor([&] { return !f.TimMvtDeb.Enabled() && !f.TimForgrnd.Enabled(); }));
  Display* dpy = platform::x11Display();
  ASSERT_TRUE(waitFor([&] {
    XWindowAttributes wa{};
    XGetWindowAttributes(dpy, f.widget()->winId(), &wa);
    return wa.map_state == IsViewable && wa.width == 3840 && wa.height == 2160 && wa.y == 0;
  }));

  // The view opens on the seam: screen row y shows row y + 540 of the two grabs.
  auto view = [](int pushes) {
    return [pushes](int x, int y) {
      const int row = y + 540;
      return overlay::dimPixel(row < 1080 ? patternAt(x, row >= pushes ? row - pushes : row, 1)
                                          : patternAt(x, row - 1080, 2));
    };
  };
  EXPECT_TRUE(waitFor([&] { return screenShows({0, 300, 539, 540, 1079}, view(0)); }));

  // Two real F7 presses push the first grab two rows down on both monitors.
  testsupport::XTestInput input;
  ASSERT_TRUE(input.ok());
  input.tap("F7");
  input.tap("F7");
  input.sync();
  ASSERT_TRUE(waitFor([&] { return f.NbCoupF7() == 2; }));
  EXPECT_TRUE(waitFor([&] { return screenShows({0, 300, 539, 540, 1079}, view(2)); }));

  // A real Enter on a selection across both monitors and the seam.
  select(f, {1800 * 15, 1000 * 15, 300 * 15, 200 * 15});
  input.tap("Return");
  input.sync();
  ASSERT_TRUE(waitFor([&] { return !main.only({"GestVignettes"}).isEmpty(); }));
  const QImage cut = main.listed.convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(cut.size(), QSize(300, 200));
  int bad = 0, fromSecond = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) {
      const int sx = 1801 + x, sy = 1001 + y;
      const QRgb want = sy < 1080 ? patternAt(sx, sy - 2, 1) : patternAt(sx, sy - 1080, 2);
      if ((cut.pixel(x, y) & 0xFFFFFF) != (want & 0xFFFFFF)) ++bad;
      else if (sx >= 1920) ++fromSecond;
    }
  EXPECT_EQ(bad, 0);
  EXPECT_EQ(fromSecond, 181 * 200);
}
