// Two monitors as the X server may lay them out: the frozen pictures of a
// double-height view, the seam keys and the capture cover what every monitor
// shows within the grab, and only black is left where no monitor lies.
#include "OverlayFixture.h"

#include <vector>

using namespace overlaytest;

namespace {

// A monitor in screens of the primary: x, y, width and height.
struct Place {
  double x, y, w, h;
};

struct TwoMonitorsCase {
  const char* what;
  Place primary, other;
};
void PrintTo(const TwoMonitorsCase& c, std::ostream* os) { *os << c.what; }

QRect inPixels(Place p, int sw, int sh) {
  return QRect(int(p.x * sw), int(p.y * sh), int(p.w * sw), int(p.h * sh));
}

}  // namespace

class OverlayTwoMonitors : public OverlayTest, public ::testing::WithParamInterface<TwoMonitorsCase> {
 protected:
  void SetUp() override {
    OverlayTest::SetUp();
    monitors = 2;
    screens = {inPixels(GetParam().primary, sw(), sh()), inPixels(GetParam().other, sw(), sh())};
    // The root window: each grab's pattern where a monitor lies, black elsewhere.
    core::bureau().grab = [this](const QRect& r) {
      ++grabs;
      grabRects.push_back(r);
      QImage img = pattern(r, grabs);
      for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x)
          if (!onAMonitor(QPoint(r.x() + x, r.y() + y))) img.setPixel(x, y, qRgb(0, 0, 0));
      return img;
    };
  }
  bool onAMonitor(QPoint p) const {
    for (const QRect& s : screens)
      if (s.contains(p)) return true;
    return false;
  }
  // What the grab number `gen` holds at (x, y).
  QRgb grabbed(int x, int y, int gen) const {
    return onAMonitor(QPoint(x, y)) ? patternAt(x, y, gen) : qRgb(0, 0, 0);
  }
  std::vector<QRect> screens;
};

// Both grabs, every monitor, after `pushes` presses of F7: the first grab starts
// that many rows lower, the rows above keep what they showed.
TEST_P(OverlayTwoMonitors, DoubleHeightSeamsAndCaptureCoverBothMonitors) {
  FrmFull& f = open(0);
  ASSERT_TRUE(f.InitFull(1));
  const int w = 2 * sw(), h = sh();
  ASSERT_EQ(grabRects.at(1), QRect(0, 0, w, h));
  for (const QImage* strip : {&f.PictHaut, &f.PictBas, &f.PictHautSel, &f.PictBasSel})
    EXPECT_EQ(strip->size(), QSize(w, h));

  const int pushes = 3;
  for (int i = 0; i < pushes; ++i) {
    int k = 118;  // F7
    f.Picture1_KeyDown(k, 0);
  }
  ASSERT_EQ(f.NbCoupF7(), pushes);
  auto expected = [&](int x, int y) {
    if (y >= h) return grabbed(x, y - h, 2);
    return grabbed(x, y >= pushes ? y - pushes : y, 1);
  };

  // The whole double-height picture as one capture.
  select(f, {-15, -15, 15 * w, 15 * 2 * h});
  f.ValidSel(f.rectsel);
  const QImage cut = main.listed;
  ASSERT_EQ(cut.size(), QSize(w, 2 * h));
  int badCut = 0, badView = 0, badCopy = 0;
  std::vector<int> seenOn(screens.size(), 0);
  const QImage& view = f.Picture1.Image();
  for (int y = 0; y < 2 * h; y += 5)
    for (int x = 0; x < w; x += 7) {
      const QRgb want = expected(x, y);
      if (cut.pixel(x, y) != want) ++badCut;
      if (f.PictPourSel.pixel(x, y) != want) ++badCopy;
      if (view.pixel(x, y) != overlay::dimPixel(want)) ++badView;
      for (std::size_t m = 0; m < screens.size(); ++m)
        if (screens[m].contains(QPoint(x, y % h)) && cut.pixel(x, y) == want && want != qRgb(0, 0, 0)) ++seenOn[m];
    }
  EXPECT_EQ(badCut, 0);
  EXPECT_EQ(badCopy, 0);
  EXPECT_EQ(badView, 0);
  for (std::size_t m = 0; m < screens.size(); ++m) EXPECT_GT(seenOn[m], 0) << "monitor " << m;
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, OverlayTwoMonitors,
    ::testing::Values(TwoMonitorsCase{"side by side", {0, 0, 1, 1}, {1, 0, 1, 1}},
                      TwoMonitorsCase{"primary on the right", {1, 0, 1, 1}, {0, 0, 1, 1}},
                      TwoMonitorsCase{"a smaller second monitor", {0, 0, 1, 1}, {1, 0, 0.5, 0.5}},
                      TwoMonitorsCase{"a wider second monitor", {0, 0, 1, 1}, {1, 0, 1.5, 1}},
                      TwoMonitorsCase{"a taller second monitor lower down", {0, 0, 1, 1}, {1, 0.25, 1, 1.25}}),
    [](const ::testing::TestParamInfo<TwoMonitorsCase>& i) {
      std::string n = i.param.what;
      for (char& c : n)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return n;
    });
