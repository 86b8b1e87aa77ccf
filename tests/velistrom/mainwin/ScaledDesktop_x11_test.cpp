// The program run on a desktop Qt is told to scale, as a scaled session sets it:
// grabs, the frozen desktop on the overlay and every capture stay in the
// screen's device pixels. The test itself runs unscaled; it puts a pattern whose
// every pixel encodes its position on the screen, drives the program through
// XTest in device pixels and reads back the screen and the capture files.
#include "platform/ScreenGrab.h"
#include "platform/Pointer.h"
#include "platform/X11Display.h"
#include "tests/support/ScreenPattern.h"
#include "tests/support/TestEnv.h"
#include "tests/support/XTestKeys.h"
#include "velistrom/overlay/FrmFull.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <optional>

namespace {

QRgb patternAt(int x, int y) { return qRgb(x & 255, y & 255, ((x >> 8) & 15) << 4 | ((y >> 8) & 15)); }

bool within1(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) <= 1 && std::abs(qGreen(a) - qGreen(b)) <= 1 &&
         std::abs(qBlue(a) - qBlue(b)) <= 1;
}

const QSize kScreen(1920, 1080);
// Where the pointer waits during the whole-screen capture; the capture draws it there.
const QPoint kPointer(1900, 1060);
const QRect kAroundPointer(1870, 1030, 50, 50);

// Pixels of `img` that differ from the pattern at `at`, outside `skip`.
int mismatches(const QImage& img, QPoint at, const QRect& skip = {}) {
  int bad = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (!skip.contains(at.x() + x, at.y() + y) &&
          (img.pixel(x, y) & 0xFFFFFF) != (patternAt(at.x() + x, at.y() + y) & 0xFFFFFF))
        ++bad;
  return bad;
}

// Of a grid over each quarter of the screen, the share that shows `colour` of
// the pattern at its own place, for the four quarters.
std::array<double, 4> sharesByQuarter(const QImage& screen, const std::function<QRgb(QRgb)>& colour) {
  std::array<double, 4> shares{};
  for (int q = 0; q < 4; ++q) {
    const QRect quarter(q % 2 * kScreen.width() / 2, q / 2 * kScreen.height() / 2, kScreen.width() / 2,
                        kScreen.height() / 2);
    int seen = 0, good = 0;
    for (int y = quarter.top() + 7; y < quarter.bottom(); y += 23)
      for (int x = quarter.left() + 5; x < quarter.right(); x += 29) {
        ++seen;
        if (within1(screen.pixel(x, y), colour(patternAt(x, y)))) ++good;
      }
    shares[size_t(q)] = double(good) / seen;
  }
  return shares;
}

struct Scale {
  const char* variable;
  const char* value;
};

void PrintTo(const Scale& s, std::ostream* os) { *os << s.variable << "=" << s.value; }

class ScaledDesktopX11 : public ::testing::TestWithParam<Scale> {
 protected:
  void SetUp() override {
    if (!testenv::onX11() || !keys.ok()) GTEST_SKIP() << "needs X with XTest";
    if (!QFile::exists(testenv::binDir() + "/Velistrom")) GTEST_SKIP() << "the program is not built";
    ASSERT_EQ(platform::rootRect().size(), kScreen) << "run on a 1920x1080 Xvfb";
    appData = dir.filePath("data/Velistrom");
    QDir().mkpath(appData);
    QDir().mkpath(dir.filePath("home"));
    QDir().mkpath(dir.filePath("config"));
    QFile spoken(appData + "/spoken.txt");
    ASSERT_TRUE(spoken.open(QIODevice::WriteOnly));
    spoken.write("ConstPRJA\r\n");
    spoken.close();

    pattern.emplace(patternAt, QRect(QPoint(0, 0), kScreen));
    pattern->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&*pattern));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", dir.filePath("home"));
    env.insert("XDG_DATA_HOME", dir.filePath("data"));
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    env.insert("VELISTROM_MSGBOX_LOG", dir.filePath("boxes.log"));
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.remove("VELISTROM_TIPS_FTP");
    env.remove("QT_SCALE_FACTOR");
    env.remove("QT_SCREEN_SCALE_FACTORS");
    env.insert(GetParam().variable, GetParam().value);
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(testenv::binDir() + "/Velistrom", {});
    ASSERT_TRUE(program.waitForStarted(10000));
    ASSERT_TRUE(testsupport::waitFor([&] { return !runFolder().isEmpty(); }, 30000))
        << "the main window is up (its run's capture folder exists)";
  }

  void TearDown() override {
    keys.releaseAll();
    if (program.state() != QProcess::NotRunning) {
      program.terminate();
      if (!program.waitForFinished(10000)) {
        program.kill();
        program.waitForFinished();
      }
    }
  }

  QString runFolder() const {
    const QStringList runs = QDir(appData).entryList({"tempocapt*"}, QDir::Dirs | QDir::NoDotAndDotDot);
    return runs.isEmpty() ? QString() : appData + "/" + runs.first();
  }

  QStringList captureFiles() const {
    return QDir(runFolder()).entryList({"Captprov_*.bmp"}, QDir::Files, QDir::Name);
  }

  // The pattern above whatever the program has shown, and all of it on the screen.
  // Raised again while it waits: the program may show a window meanwhile.
  bool patternOnTop() {
    return testsupport::waitFor([&] {
      pattern->raise();
      return mismatches(platform::grabWholeScreen(), QPoint(0, 0)) == 0;
    });
  }

  // Ctrl and `letter` held until the program has written one more capture
  // file (or, with `until`, until that holds); the new file's picture.
  QImage hotkey(const QString& letter, const std::function<bool()>& until = {}) {
    const int before = int(captureFiles().size());
    keys.press("Control_L");
    keys.press(letter);
    keys.sync();
    const bool ok = testsupport::waitFor([&] { return until ? until() : captureFiles().size() > before; });
    keys.release(letter);
    keys.release("Control_L");
    keys.sync();
    return ok && !until ? newestCapture(before) : QImage();
  }

  // The capture the program writes after the first `before` ones, once it reads back whole.
  QImage newestCapture(int before) {
    QImage img;
    (void)testsupport::waitFor([&] {
      const QStringList files = captureFiles();
      if (files.size() <= before) return false;
      img = QImage(runFolder() + "/" + files.last());
      return !img.isNull();
    });
    return img.convertToFormat(QImage::Format_RGB32);
  }

  QTemporaryDir dir;
  QString appData;
  testsupport::XTestInput keys;
  std::optional<testsupport::PatternWindow> pattern;
  QProcess program;
};

}  // namespace

TEST_P(ScaledDesktopX11, CapturesAndTheOverlayAreInTheScreensDevicePixels) {
  ASSERT_TRUE(patternOnTop());
  keys.movePointer(kPointer);
  keys.sync();

  // Whole screen: every device pixel, where it is.
  const QImage whole = hotkey("f");
  ASSERT_FALSE(whole.isNull()) << "a whole-screen capture was written";
  EXPECT_EQ(whole.size(), kScreen);
  if (whole.size() == kScreen) {
    EXPECT_EQ(mismatches(whole, QPoint(0, 0), kAroundPointer), 0);
  }

  // The overlay shows the whole frozen desktop, each pixel at its own place.
  ASSERT_TRUE(patternOnTop());
  const auto plain = [](QRgb c) { return c; };
  const auto dimmed = [](QRgb c) { return overlay::dimPixel(c); };
  hotkey("z", [&] {
    const auto live = sharesByQuarter(platform::grabWholeScreen(), plain);
    return *std::max_element(live.begin(), live.end()) < 0.5;
  });
  std::array<double, 4> shown{};
  (void)testsupport::waitFor([&] {
    shown = sharesByQuarter(platform::grabWholeScreen(), dimmed);
    return *std::min_element(shown.begin(), shown.end()) > 0.9;
  }, 5000);
  for (double share : shown)
    EXPECT_GT(share, 0.9) << "of a quarter of the desktop, the share the overlay shows dimmed at its place";

  // A 300x200 band drawn in device pixels; the selection shows undimmed as it grows.
  const QPoint from(700, 400), to(1000, 600);
  keys.movePointer(from);
  keys.sync();
  keys.pressButton(1);
  keys.sync();
  for (int i = 1; i <= 10; ++i) {
    keys.movePointer(from + (to - from) * i / 10);
    keys.sync();
    QTest::qWait(25);  // the pace of a hand
  }
  const auto undimmed = [](QPoint p) {
    return within1(platform::grabScreen(QRect(p, QSize(1, 1))).pixel(0, 0), patternAt(p.x(), p.y()));
  };
  EXPECT_TRUE(testsupport::waitFor([&] { return undimmed(to - QPoint(4, 4)) && undimmed(from + QPoint(4, 4)); }))
      << "the band follows the pointer to its end";
  keys.releaseButton(1);
  keys.sync();
  // The band becomes the adjustable selection; the pointer moves off its corner.
  EXPECT_TRUE(testsupport::waitFor([&] { return platform::pointerPosition() == to + QPoint(50, 50); }, 5000));

  const int before = int(captureFiles().size());
  keys.tap("Return");
  keys.sync();
  const QImage band = newestCapture(before);
  ASSERT_FALSE(band.isNull()) << "Enter captured the band";
  EXPECT_EQ(band.size(), QSize(300, 200));
  if (band.size() == QSize(300, 200)) {
    EXPECT_EQ(mismatches(band, from + QPoint(1, 1)), 0) << "the cut starts one pixel inside the drawn corner";
  }
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledDesktopX11,
                         ::testing::Values(Scale{"QT_SCALE_FACTOR", "1"}, Scale{"QT_SCALE_FACTOR", "1.5"},
                                           Scale{"QT_SCALE_FACTOR", "2"}, Scale{"QT_SCREEN_SCALE_FACTORS", "2"}),
                         [](const ::testing::TestParamInfo<Scale>& i) {
                           return QString("%1_%2").arg(i.param.variable, i.param.value).replace('.', '_').toStdString();
                         });
