// The whole product tried once as a user would: the built program started as a
// process on the test's X server (openbox, a tray), driven only by fake keys and
// pointer input, and judged by what appears on the screen and in the files.
// One test, a table of steps that build on each other: the first that fails
// ends the run and names the program's windows; VELISTROM_SMOKE_SHOTS=DIR
// also keeps a picture of the screen at that moment.
#include "tests/support/ScreenPattern.h"
#include "tests/support/TestEnv.h"
#include "tests/support/TrayHost.h"
#include "tests/support/XTestKeys.h"

#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QMap>
#include <QPainter>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <vector>

// Xlib last: its macros clash with Qt.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#undef KeyPress
#undef None
#undef Bool
#undef Status

namespace {

constexpr int kLong = 30000;  // ms: a loaded machine may be slow, never this slow
constexpr int kPointerPixels = 32 * 32;  // a grab may hold the pointer's picture

// Section 1 of the shipped English language source: the titles and texts the user sees.
QMap<int, QString> englishTexts() {
  QMap<int, QString> t;
  QFile f(QStringLiteral(VELISTROM_SOURCE_ROOT) + "/data/lang/ConstPRJA.txt");
  if (!f.open(QIODevice::ReadOnly)) return t;
  static const QRegularExpression line(R"re(^(\d{3}) "(.*)"\s*$)re");
  for (const QString& l : QString::fromUtf8(f.readAll()).split('\n')) {
    if (l.startsWith("///")) break;
    const auto m = line.match(l);
    if (m.hasMatch()) t.insert(m.captured(1).toInt(), m.captured(2));
  }
  return t;
}

// Two pictures the pattern window can show; both give every screen pixel its
// own colour, and neither has any pure magenta.
int gMotif = 0;
QRgb patternAt(int x, int y) {
  if (gMotif == 0) return qRgb(x & 255, y & 255, ((x >> 8) & 15) << 4 | ((y >> 8) & 15));
  return qRgb(255 - (x & 255), 255 - (y & 255), 90 + ((x >> 8) & 7) * 8 + ((y >> 8) & 7));
}

// A managed window painting, at every pixel, the pattern of its screen position.
class Motif : public QWidget {
 public:
  Motif() : QWidget(nullptr, Qt::Window) {
    setWindowTitle("smoke pattern");
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    const QPoint o = mapToGlobal(QPoint(0, 0));
    QImage img(size(), QImage::Format_RGB32);
    for (int y = 0; y < height(); ++y)
      for (int x = 0; x < width(); ++x) img.setPixel(x, y, patternAt(o.x() + x, o.y() + y));
    QPainter(this).drawImage(0, 0, img);
  }
  void moveEvent(QMoveEvent*) override { update(); }
};

// Pixels of `img` that differ from the pattern when its top-left pixel lies at `at`.
int offPattern(const QImage& img, QPoint at, QRect part = {}) {
  if (part.isNull()) part = img.rect();
  int bad = 0;
  for (int y = part.top(); y <= part.bottom(); ++y)
    for (int x = part.left(); x <= part.right(); ++x)
      if ((img.pixel(x, y) & 0xFFFFFF) != (patternAt(at.x() + x, at.y() + y) & 0xFFFFFF)) ++bad;
  return bad;
}

// Where on the screen a pattern pixel came from.
QPoint decode(QRgb c) {
  if (gMotif == 0) return QPoint(qRed(c) | (qBlue(c) >> 4) << 8, qGreen(c) | (qBlue(c) & 15) << 8);
  const int high = qBlue(c) - 90;
  return QPoint((255 - qRed(c)) | (high >> 3) << 8, (255 - qGreen(c)) | (high & 7) << 8);
}

// One top-level window of the program, as the window manager has it.
struct Win {
  Window id = 0;
  QString title;
  QRect rect;  // client area, screen pixels
  bool dialog = false;
  bool popup = false;  // override-redirect: a menu, a tooltip, the overlay
  // The selection overlay covers the screen (twice as high, for the double-height view).
  bool fullscreen() const { return rect.topLeft() == QPoint(0, 0) && rect.width() == 1920 && rect.height() >= 1080; }
};

class Desk {
 public:
  Desk() : d_(XOpenDisplay(nullptr)) {}
  ~Desk() {
    if (d_) XCloseDisplay(d_);
  }
  Display* display() const { return d_; }

  // The viewable top-level windows of process `pid`: managed clients and
  // override-redirect windows straight on the root (menus, the overlay).
  QList<Win> windowsOf(qint64 pid) const {
    QList<Win> out;
    if (!d_) return out;
    XSync(d_, False);
    QList<Window> candidates, popups;
    Window root = DefaultRootWindow(d_), parent = 0, *kids = nullptr;
    unsigned n = 0;
    if (XQueryTree(d_, root, &root, &parent, &kids, &n)) {
      for (unsigned i = 0; i < n; ++i) {
        XWindowAttributes wa{};
        if (XGetWindowAttributes(d_, kids[i], &wa) && wa.override_redirect) popups << kids[i];
      }
      if (kids) XFree(kids);
    }
    for (Window w : windowList(DefaultRootWindow(d_), "_NET_CLIENT_LIST")) candidates << w;
    candidates << popups;
    for (Window w : candidates) {
      if (cardinal(w, "_NET_WM_PID") != pid) continue;
      XWindowAttributes wa{};
      if (!XGetWindowAttributes(d_, w, &wa) || wa.map_state != IsViewable) continue;
      int x = 0, y = 0;
      Window child = 0;
      XTranslateCoordinates(d_, w, DefaultRootWindow(d_), 0, 0, &x, &y, &child);
      Win win;
      win.id = w;
      win.title = title(w);
      win.rect = QRect(x, y, wa.width, wa.height);
      const QList<Window> type = windowList(w, "_NET_WM_WINDOW_TYPE");
      win.dialog = !type.isEmpty() && type.first() == atom("_NET_WM_WINDOW_TYPE_DIALOG");
      win.popup = popups.contains(w);
      out << win;
    }
    return out;
  }

  Window active() const {
    const QList<Window> a = windowList(DefaultRootWindow(d_), "_NET_ACTIVE_WINDOW");
    return a.isEmpty() ? 0 : a.first();
  }

  // A small window of the program docked inside another program's window: its tray icon.
  bool trayIconOf(qint64 pid) const {
    for (Window w : windowList(DefaultRootWindow(d_), "_NET_CLIENT_LIST"))
      if (cardinal(w, "_NET_WM_PID") != pid && hasDescendantOf(w, pid)) return true;
    return false;
  }

  QImage grab(const QRect& r) const {
    return QGuiApplication::primaryScreen()->grabWindow(0, r.x(), r.y(), r.width(), r.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
  }

 private:
  Atom atom(const char* name) const { return XInternAtom(d_, name, False); }

  QList<Window> windowList(Window w, const char* prop) const {
    QList<Window> out;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d_, w, atom(prop), 0, 4096, False, AnyPropertyType, &type, &format, &count, &after,
                           &data) == Success &&
        data && format == 32)
      for (unsigned long i = 0; i < count; ++i) out << Window(reinterpret_cast<unsigned long*>(data)[i]);
    if (data) XFree(data);
    return out;
  }
  qint64 cardinal(Window w, const char* prop) const {
    const QList<Window> v = windowList(w, prop);
    return v.isEmpty() ? -1 : qint64(v.first());
  }
  QString title(Window w) const {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    QString t;
    if (XGetWindowProperty(d_, w, atom("_NET_WM_NAME"), 0, 4096, False, atom("UTF8_STRING"), &type, &format,
                           &count, &after, &data) == Success &&
        data)
      t = QString::fromUtf8(reinterpret_cast<char*>(data), int(count));
    if (data) XFree(data);
    if (t.isEmpty()) {
      char* name = nullptr;
      if (XFetchName(d_, w, &name) && name) {
        t = QString::fromLocal8Bit(name);
        XFree(name);
      }
    }
    return t;
  }
  bool hasDescendantOf(Window w, qint64 pid) const {
    Window root = 0, parent = 0, *kids = nullptr;
    unsigned n = 0;
    if (!XQueryTree(d_, w, &root, &parent, &kids, &n)) return false;
    bool found = false;
    for (unsigned i = 0; i < n && !found; ++i) {
      XWindowAttributes wa{};
      if (cardinal(kids[i], "_NET_WM_PID") == pid && XGetWindowAttributes(d_, kids[i], &wa) &&
          wa.map_state == IsViewable && wa.width <= 64 && wa.height <= 64)
        found = true;
      else
        found = hasDescendantOf(kids[i], pid);
    }
    if (kids) XFree(kids);
    return found;
  }

  Display* d_;
};

// One run of the program with an account of its own.
class Program {
 public:
  Program() {
    home = dir.filePath("home");
    data = dir.filePath("data");
    QDir().mkpath(home);
    QDir().mkpath(data + "/Velistrom");
    QDir().mkpath(dir.filePath("config"));
    QFile spoken(data + "/Velistrom/spoken.txt");
    if (spoken.open(QIODevice::WriteOnly)) spoken.write("ConstPRJA\r\n");
  }
  bool start() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home);
    env.insert("XDG_DATA_HOME", data);
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.remove("VELISTROM_TIPS_FTP");
    env.remove("VELISTROM_MSGBOX_LOG");  // real boxes: the user answers them
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(home);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(testenv::binDir() + "/Velistrom", {});
    return process.waitForStarted(10000);
  }
  ~Program() {
    if (process.state() != QProcess::NotRunning) {
      process.kill();
      process.waitForFinished(5000);
    }
  }
  bool running() const { return process.state() == QProcess::Running; }
  qint64 pid() const { return process.processId(); }
  QString saveFolder() const { return home + "/Documents"; }
  // The run's temporary captures, oldest first.
  QStringList captures() const {
    QStringList out;
    QDirIterator it(data + "/Velistrom", {"Captprov_*.bmp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) out << it.next();
    out.sort();
    return out;
  }
  QStringList files(const QString& folder, const QString& pattern) const {
    QStringList out;
    for (const QString& f : QDir(folder).entryList({pattern}, QDir::Files, QDir::Name)) out << folder + "/" + f;
    return out;
  }

  QTemporaryDir dir{QDir::tempPath() + "/velistrom-smoke-XXXXXX"};
  QString home, data;
  QProcess process;
};

class Smoke : public ::testing::Test {
 protected:
  // ---------------------------------------------------------------- windows
  QList<Win> windows() const { return screen.windowsOf(program.pid()); }
  std::optional<Win> window(const std::function<bool(const Win&)>& which) const {
    for (const Win& w : windows())
      if (which(w)) return w;
    return std::nullopt;
  }
  std::optional<Win> titled(const QString& t) const {
    return window([&](const Win& w) { return w.title == t; });
  }
  // A window once the window manager has placed it: in the same place twice running.
  std::optional<Win> waitWindow(const std::function<bool(const Win&)>& which, int ms = kLong) {
    std::optional<Win> found, before;
    (void)testsupport::waitFor([&] {
      found = window(which);
      const bool placed = found && before && found->rect == before->rect;
      before = found;
      if (!placed) QTest::qWait(100);
      return placed || !program.running();
    }, ms);
    return found;
  }
  std::optional<Win> waitTitled(const QString& t, int ms = kLong) {
    return waitWindow([&](const Win& w) { return w.title == t; }, ms);
  }
  bool waitGone(const QString& t, int ms = kLong) {
    return testsupport::waitFor([&] { return !titled(t); }, ms);
  }
  std::optional<Win> mainWindow() const {
    return window([](const Win& w) { return w.title.startsWith("Velistrom - "); });
  }
  // Message boxes and other dialogs the step did not expect.
  QStringList strayBoxes() const {
    QStringList out;
    for (const Win& w : windows())
      if (w.dialog) out << w.title;
    return out;
  }

  // Gives a window the keyboard focus the way a hand does: a click on its title bar.
  bool activate(const Win& w) {
    if (screen.active() == w.id) return true;
    keys.click(QPoint(w.rect.center().x(), w.rect.top() - 8));
    return testsupport::waitFor([&] { return screen.active() == w.id; }, 10000);
  }

  // A window freshly mapped is drawn: its picture holds several colours and stays put.
  bool waitPainted(const Win& w) {
    QImage last;
    return testsupport::waitFor([&] {
      const QImage now = screen.grab(w.rect);
      QSet<QRgb> colours;
      for (int y = 0; y < now.height() && colours.size() < 3; y += 7)
        for (int x = 0; x < now.width() && colours.size() < 3; x += 7) colours.insert(now.pixel(x, y));
      const bool still = colours.size() >= 3 && now == last;
      last = now;
      return still;
    }, kLong);
  }

  // Answers a window with a key until it has gone: a key pressed before the
  // window had the focus is pressed again, as a user would.
  bool answer(const std::function<bool(const Win&)>& which, const QString& key) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < kLong) {
      const std::optional<Win> w = window(which);
      if (!w) return true;
      if (activate(*w)) keys.tap(key);
      if (testsupport::waitFor([&] { return !window(which); }, 3000)) return true;
    }
    return false;
  }
  bool answer(const QString& title, const QString& key) {
    return answer([&](const Win& w) { return w.title == title; }, key);
  }

  // ---------------------------------------------------------------- input
  // Ctrl and a hotkey letter, held until `done` (the program polls the keys).
  bool hotkey(const QString& letter, const std::function<bool()>& done) {
    keys.press("Control_L");
    keys.press(letter);
    const bool ok = testsupport::waitFor(done, kLong);
    keys.release(letter);
    keys.release("Control_L");
    return ok;
  }
  void chord(const QString& modifier, const QString& key) {
    keys.press(modifier);
    keys.tap(key);
    keys.release(modifier);
  }
  void type(const QString& text) {
    for (QChar c : text) {
      QString sym;
      bool shift = false;
      if (c.isLetter()) {
        sym = c.toLower();
        shift = c.isUpper();
      } else if (c.isDigit()) {
        sym = c;
      } else if (c == '/') {
        sym = "slash";
      } else if (c == '.') {
        sym = "period";
      } else if (c == '-') {
        sym = "minus";
      } else if (c == '_') {
        sym = "minus";
        shift = true;
      } else {
        ADD_FAILURE() << "no key for " << QString(c).toStdString();
        continue;
      }
      if (shift) keys.press("Shift_L");
      keys.tap(sym);
      if (shift) keys.release("Shift_L");
    }
  }
  // A click at a point of a window's client area given in twips, as the forms lay out their controls.
  void clickTwips(const Win& w, int xTwips, int yTwips) {
    keys.click(w.rect.topLeft() + QPoint(xTwips / 15, yTwips / 15));
  }
  // Types into a text box of a window (its rectangle in twips): a click, then,
  // once the box shows the focus, everything selected and replaced.
  bool editBox(const Win& w, const QRect& twips, const QString& newText) {
    return editBox(QRect(w.rect.topLeft() + twips.topLeft() / 15, twips.size() / 15), newText);
  }
  bool editBox(const QRect& box, const QString& newText) {
    const QRect look = box.adjusted(-2, -2, 2, 2);
    const QImage before = screen.grab(look);
    bool focused = false;
    for (int attempt = 0; attempt < 3 && !focused; ++attempt) {
      keys.click(box.center());
      focused = testsupport::waitFor([&] { return screen.grab(look) != before; }, 5000);
    }
    if (!focused) return false;
    const QImage shown = screen.grab(look);
    chord("Control_L", "a");
    type(newText);
    (void)testsupport::waitFor([&] { return screen.grab(look) != shown; }, 5000);
    return true;
  }

  // The first text box (white, at least 30 pixels wide) right of a point of a
  // window given in twips, on its row: for boxes placed after a label that
  // sizes itself to its text.
  std::optional<QPoint> textBoxRightOf(const Win& w, int xTwips, int yTwips) {
    const QPoint start = w.rect.topLeft() + QPoint(xTwips / 15, yTwips / 15);
    const QImage row = screen.grab(QRect(start - QPoint(0, 1), QSize(w.rect.right() - start.x(), 3)));
    int run = 0;
    for (int x = 0; x < row.width(); ++x) {
      const QRgb c = row.pixel(x, 1);
      run = qRed(c) >= 250 && qGreen(c) >= 250 && qBlue(c) >= 250 ? run + 1 : 0;
      if (run == 20) return start + QPoint(x - 10, 0);
    }
    ADD_FAILURE() << "no text box right of " << start.x() << "," << start.y();
    return std::nullopt;
  }
  // A drag with the left button, in small steps as a hand makes it.
  void drag(QPoint from, QPoint to) {
    keys.movePointer(from);
    keys.pressButton(1);
    for (int i = 1; i <= 12; ++i) {
      keys.movePointer(from + (to - from) * i / 12);
      QTest::qWait(30);  // the pace of a hand, not a wait for the program
    }
    keys.releaseButton(1);
  }
  // Opens a menu of the main window with its access key; `entry` then runs one of its entries.
  bool menu(const QString& accessKey, const std::function<void()>& entry) {
    const std::optional<Win> m = mainWindow();
    if (!m || !activate(*m)) return false;
    chord("Alt_L", accessKey);
    if (!testsupport::waitFor([&] { return window([](const Win& w) { return w.popup && !w.fullscreen(); }).has_value(); }, 10000))
      return false;
    entry();
    return true;
  }
  bool menuKey(const QString& accessKey, const QString& entryKey) {
    return menu(accessKey, [&] { keys.tap(entryKey); });
  }
  // The entry `downs` below the first one.
  bool menuDown(const QString& accessKey, int downs) {
    return menu(accessKey, [&] {
      for (int i = 0; i < downs; ++i) keys.tap("Down");
      keys.tap("Return");
    });
  }

  // Toolbar button i of the main window, found by its picture on the screen.
  std::optional<QPoint> toolbarButton(int i) {
    const std::optional<Win> m = mainWindow();
    if (!m) return std::nullopt;
    if (!toolbarOrigin_) {
      keys.movePointer(QPoint(1900, 1070));  // no hover picture
      const QImage face = QImage(testenv::binDir() + "/camera.bmp").convertToFormat(QImage::Format_RGB32);
      if (face.isNull()) return std::nullopt;
      const QImage top = screen.grab(QRect(m->rect.topLeft(), QSize(std::min(m->rect.width(), 120), 100)));
      // The place where the first button's picture fits best.
      int best = face.width() * face.height();
      auto near = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) < 24 && std::abs(qGreen(a) - qGreen(b)) < 24 && std::abs(qBlue(a) - qBlue(b)) < 24;
      };
      for (int y = 0; y + face.height() <= top.height(); ++y)
        for (int x = 0; x + face.width() <= top.width(); ++x) {
          int bad = 0;
          for (int v = 0; v < face.height() && bad < best; ++v)
            for (int u = 0; u < face.width(); ++u) bad += !near(top.pixel(x + u, y + v), face.pixel(u, v));
          if (bad < best) {
            best = bad;
            toolbarOrigin_ = QPoint(x, y);
          }
        }
      if (best > face.width() * face.height() / 4) {
        ADD_FAILURE() << "no toolbar found: best place has " << best << " pixels off";
        toolbarOrigin_.reset();
        return std::nullopt;
      }
    }
    // Buttons of 360 twips, 50 apart, from the first one.
    return m->rect.topLeft() + *toolbarOrigin_ + QPoint(i * 410 / 15 + 12, 12);
  }
  bool clickButton(int i) {
    const std::optional<QPoint> p = toolbarButton(i);
    if (!p) return false;
    keys.click(*p);
    return true;
  }

  // ---------------------------------------------------------------- outputs
  QImage clipboard() {
    const QString out = dir.filePath("clipboard.png");
    QFile::remove(out);
    QProcess p;
    p.setStandardOutputFile(out);
    p.start("xclip", {"-selection", "clipboard", "-t", "image/png", "-o"});
    if (!p.waitForFinished(10000)) {
      p.kill();
      p.waitForFinished();
      return {};
    }
    return QImage(out).convertToFormat(QImage::Format_RGB32);
  }
  // Waits for a new picture on the clipboard (a new capture empties it, then fills it).
  QImage newClipboard(const QImage& before) {
    QImage now;
    (void)testsupport::waitFor([&] {
      now = clipboard();
      return !now.isNull() && now != before;
    }, kLong);
    return now;
  }
  // A file written whole: it decodes.
  QImage waitPicture(const QString& path) {
    QImage img;
    (void)testsupport::waitFor([&] { return !(img = QImage(path)).isNull(); }, kLong);
    return img.convertToFormat(QImage::Format_RGB32);
  }
  bool captureCount(int n) {
    return testsupport::waitFor([&] { return program.captures().size() == n; }, kLong);
  }
  // The main window is back and quiet: the overlay and the shutter gone.
  bool mainBack() {
    return testsupport::waitFor([&] {
      const QList<Win> ws = windows();
      if (ws.size() < 1) return false;
      for (const Win& w : ws)
        if (w.fullscreen()) return false;
      return mainWindow().has_value();
    }, kLong);
  }

  bool patternShown() {
    const QImage s = screen.grab(QRect(0, 0, 1920, 1080));
    for (QPoint p : kWitness)
      if ((s.pixel(p) & 0xFFFFFF) != (patternAt(p.x(), p.y()) & 0xFFFFFF)) return false;
    return true;
  }

  const QMap<int, QString> text = englishTexts();
  // Points of the pattern window away from the program's usual places.
  static constexpr QPoint kWitness[] = {QPoint(1000, 300), QPoint(1700, 600), QPoint(600, 950), QPoint(1400, 980)};
  QTemporaryDir dir;
  Desk screen;
  testsupport::XTestInput keys;
  Program program;
  Motif motif;
  std::optional<QPoint> toolbarOrigin_;
};

struct Step {
  const char* name;
  std::function<bool()> action;                       // false: the user could not do it
  std::function<::testing::AssertionResult()> check;  // what the user sees or gets
};

using ::testing::AssertionFailure;
using ::testing::AssertionResult;
using ::testing::AssertionSuccess;

TEST_F(Smoke, TheProgramFromStartToQuit) {
  if (!keys.ok() || !screen.display()) GTEST_SKIP() << "needs X with XTest";
  if (!QFile::exists(testenv::binDir() + "/Velistrom")) GTEST_SKIP() << "Velistrom not built";
  ASSERT_EQ(QGuiApplication::primaryScreen()->geometry().size(), QSize(1920, 1080)) << "run on a 1920x1080 Xvfb";
  ASSERT_FALSE(text.isEmpty());
  testsupport::TrayHost tray;
  ASSERT_TRUE(tray.ok()) << "no tray host (trayer)";

  motif.setGeometry(100, 100, 1700, 900);
  motif.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&motif));
  ASSERT_TRUE(testsupport::waitFor([&] { return patternShown(); }, kLong)) << "the pattern is on the screen";
  keys.movePointer(QPoint(1880, 1060));  // off the region, out of the captured points

  const QPoint from(1250, 650), to(1650, 900);  // the region, outside the preset selection
  QImage clip;                                  // the clipboard after the last capture
  QImage windowShot;                            // the window capture
  QPoint regionAt;                              // screen corner of the region cut

  const std::vector<Step> steps = {
      {"start",
       [&] { return program.start(); },
       [&]() -> AssertionResult {
         if (!waitTitled("Velistrom - " + text[210], 3 * kLong)) return AssertionFailure() << "no main window";
         if (waitTitled(text[170], 15000) && !answer(text[170], "Escape"))
           return AssertionFailure() << "the tip of the day stays";
         if (!testsupport::waitFor([&] { return screen.trayIconOf(program.pid()); }, kLong))
           return AssertionFailure() << "no icon in the tray";
         return AssertionSuccess();
       }},
      {"region capture with the mouse",
       [&] {
         if (!hotkey("z", [&] { return window([](const Win& w) { return w.fullscreen(); }).has_value(); }))
           return false;
         // The frozen desktop is dimmed and still, the shutter gone: the overlay waits.
         QImage last;
         if (!testsupport::waitFor([&] {
               const QImage now = screen.grab(QRect(kWitness[0], QSize(200, 100)));
               const QList<Win> ws = windows();
               const bool alone = ws.size() == 1 && ws.first().fullscreen();  // the shutter has gone
               const bool still = now == last && alone &&
                                  (now.pixel(0, 0) & 0xFFFFFF) != (patternAt(kWitness[0].x(), kWitness[0].y()) & 0xFFFFFF);
               last = now;
               return still;
             }, kLong))
           return false;
         // The band drawn becomes the selection, with its handles, its picture
         // already on the clipboard; Enter then takes it. A drag the overlay
         // missed is drawn again.
         const QSize band = QRect(from, to).size();
         for (int attempt = 0; attempt < 3; ++attempt) {
           drag(from, to);
           if (testsupport::waitFor([&] {
                 const QImage c = clipboard();
                 return std::abs(c.width() - band.width()) <= 3 && std::abs(c.height() - band.height()) <= 3;
               }, 10000)) {
             keys.tap("Return");
             return true;
           }
         }
         return false;
       },
       [&]() -> AssertionResult {
         if (!mainBack()) return AssertionFailure() << "the overlay stays or the main window does not come back";
         if (!captureCount(1)) return AssertionFailure() << "no capture in the list";
         clip = newClipboard(QImage());
         if (clip.isNull()) return AssertionFailure() << "no picture on the clipboard";
         regionAt = decode(clip.pixel(0, 0));
         const QRect want(from, to);
         if ((regionAt - from).manhattanLength() > 4 || std::abs(clip.width() - want.width()) > 3 ||
             std::abs(clip.height() - want.height()) > 3)
           return AssertionFailure() << "cut " << clip.width() << "x" << clip.height() << " at " << regionAt.x()
                                     << "," << regionAt.y();
         if (const int bad = offPattern(clip, regionAt); bad > kPointerPixels)
           return AssertionFailure() << bad << " pixels off the pattern";
         return AssertionSuccess();
       }},
      {"the same region again (toolbar)",
       [&] {
         gMotif = 1;
         motif.repaint();
         if (!testsupport::waitFor([&] { return patternShown(); }, kLong)) return false;
         return clickButton(5);
       },
       [&]() -> AssertionResult {
         if (!captureCount(2)) return AssertionFailure() << "no second capture";
         const QImage now = newClipboard(clip);
         if (now.isNull()) return AssertionFailure() << "no new picture on the clipboard";
         if (now.size() != clip.size()) return AssertionFailure() << "another size";
         if (const int bad = offPattern(now, regionAt); bad > kPointerPixels)
           return AssertionFailure() << bad << " pixels off the new picture of the region";
         clip = now;
         return AssertionSuccess();
       }},
      {"options: the file-name prefix",
       [&] {
         if (!menuKey("t", "o")) return false;
         const std::optional<Win> o = waitTitled(text[89]);
         if (!o || !activate(*o) || !waitPainted(*o)) return false;
         // The prefix box follows its label, as wide as the language's text makes it.
         const std::optional<QPoint> box = textBoxRightOf(*o, 5600, 3960 + 150);
         if (!box || !editBox(QRect(*box - QPoint(20, 8), QSize(40, 16)), "Smok")) return false;
         keys.tap("Return");
         return true;
       },
       [&]() -> AssertionResult {
         if (!waitGone(text[89])) return AssertionFailure() << "the options dialog stays";
         QFile params(program.data + "/Velistrom/params.txt");
         if (!params.open(QIODevice::ReadOnly) || !params.readLine().contains("Smok"))
           return AssertionFailure() << "the settings do not hold the new prefix";
         return AssertionSuccess();
       }},
      {"a burst of 3",
       [&] {
         if (!menuKey("t", "t")) return false;
         const std::optional<Win> chrono = waitWindow([&](const Win& w) { return w.title.endsWith(text[231]); });
         if (!chrono) return false;
         if (!activate(*chrono) || !waitPainted(*chrono)) return false;
         // Period 00:00:00 and 200 ms, three images, Start.
         if (!editBox(*chrono, QRect(2640, 2100, 300, 300), "00") ||
             !editBox(*chrono, QRect(3240, 2100, 600, 300), "200") ||
             !editBox(*chrono, QRect(6050, 1330, 700, 300), "3"))
           return false;
         clickTwips(*chrono, 120 + 675, 3950 + 200);
         return true;
       },
       [&]() -> AssertionResult {
         std::optional<Win> done;
         if (!testsupport::waitFor([&] { return (done = window([](const Win& w) { return w.dialog; })).has_value(); }, kLong))
           return AssertionFailure() << "no end-of-burst message";
         if (!answer([](const Win& w) { return w.dialog; }, "Return")) return AssertionFailure() << "the message stays";
         const QStringList shots = program.files(program.saveFolder(), "Smok_??????_00?.bmp");
         if (shots.size() != 3) return AssertionFailure() << shots.size() << " burst files: " << shots.join(", ").toStdString();
         for (const QString& s : shots) {
           // The region cut from the live screen (the repeat grew it by a few pixels).
           const QImage img = waitPicture(s);
           const QPoint at = img.isNull() ? QPoint() : decode(img.pixel(0, 0));
           if (std::abs(img.width() - clip.width()) > 6 || std::abs(img.height() - clip.height()) > 6 ||
               (at - regionAt).manhattanLength() > 6)
             return AssertionFailure() << s.toStdString() << " is " << img.width() << "x" << img.height() << " at "
                                       << at.x() << "," << at.y();
           if (const int bad = offPattern(img, at); bad > kPointerPixels)
             return AssertionFailure() << s.toStdString() << ": " << bad << " pixels off the region";
         }
         // Quit closes the window.
         std::optional<Win> chrono = window([&](const Win& w) { return w.title.endsWith(text[231]); });
         if (chrono) clickTwips(*chrono, 3020 + 675, 3950 + 200);
         if (!testsupport::waitFor([&] { return !window([&](const Win& w) { return w.title.endsWith(text[231]); }); }, kLong))
           return AssertionFailure() << "the timed-capture window stays";
         return AssertionSuccess();
       }},
      {"a GIF from 2 captures",
       [&] {
         const std::optional<Win> list = waitTitled("Collection");
         if (!list || !activate(*list) || !waitPainted(*list)) return false;
         clickTwips(*list, 40 + 1350, 420 + 150);
         const std::optional<Win> gif = waitTitled(text[218] + " - maximum 50 images");
         if (!gif || !activate(*gif) || !waitPainted(*gif)) return false;
         clickTwips(*gif, 120 + 1100, 960 + 210);
         return true;
       },
       [&]() -> AssertionResult {
         QStringList made;
         if (!testsupport::waitFor([&] { return !(made = program.files(program.saveFolder(), "animgif*.gif")).isEmpty(); }, kLong))
           return AssertionFailure() << "no animated GIF in the save folder";
         QImageReader r(made.first());
         bool whole = testsupport::waitFor([&] {
           QImageReader again(made.first());
           return again.imageCount() == 2;
         }, kLong);
         if (!whole) return AssertionFailure() << r.imageCount() << " frames";
         QImageReader frames(made.first());
         const QImage first = frames.read().convertToFormat(QImage::Format_RGB32);
         if (first.size() != clip.size()) return AssertionFailure() << "frame " << first.width() << "x" << first.height();
         // The maker says where it saved the file; then Exit closes it.
         if (!waitWindow([](const Win& w) { return w.dialog && w.title == "Velistrom"; }) ||
             !answer([](const Win& w) { return w.dialog && w.title == "Velistrom"; }, "Return"))
           return AssertionFailure() << "no message naming the file, or it stays";
         const std::optional<Win> gif = titled(text[218] + " - maximum 50 images");
         if (gif && activate(*gif)) clickTwips(*gif, 5000 + 650, 560 + 190);
         if (!waitGone(text[218] + " - maximum 50 images")) return AssertionFailure() << "the GIF maker stays";
         return AssertionSuccess();
       }},
      {"whole-screen capture (hotkey)",
       [&] { return hotkey("f", [&] { return program.captures().size() == 3; }); },
       [&]() -> AssertionResult {
         const QImage now = newClipboard(clip);
         if (now.size() != QSize(1920, 1080)) return AssertionFailure() << "clipboard " << now.width() << "x" << now.height();
         int seen = 0;
         for (QPoint p : kWitness) seen += (now.pixel(p) & 0xFFFFFF) == (patternAt(p.x(), p.y()) & 0xFFFFFF);
         if (seen < 3) return AssertionFailure() << "the pattern shows at " << seen << " of 4 points";
         clip = now;
         return mainBack() ? AssertionSuccess() : AssertionFailure() << "the main window does not come back";
       }},
      {"window capture (toolbar)",
       [&] {
         // The pattern window is the last one active when the main window steps aside.
         // A click on a part of it no window of the program covers.
         const QList<Win> others = windows();
         std::optional<QPoint> free;
         for (int y = motif.geometry().top() + 20; y < motif.geometry().bottom() && !free; y += 40)
           for (int x = motif.geometry().left() + 20; x < motif.geometry().right() && !free; x += 40) {
             bool covered = false;
             for (const Win& w : others) covered |= w.rect.adjusted(-10, -40, 10, 10).contains(QPoint(x, y));
             if (!covered) free = QPoint(x, y);
           }
         if (!free) return false;
         keys.click(*free);
         if (!testsupport::waitFor([&] { return screen.active() == Window(motif.winId()); }, 10000)) return false;
         const std::optional<Win> m = mainWindow();
         if (!m || !activate(*m)) return false;
         return clickButton(3);
       },
       [&]() -> AssertionResult {
         if (!captureCount(4)) return AssertionFailure() << "no fourth capture";
         windowShot = newClipboard(clip);
         if (windowShot.isNull()) return AssertionFailure() << "no picture on the clipboard";
         // The pattern window whole, frame included: its client area inside the picture.
         const QPoint mid(windowShot.width() / 2, windowShot.height() / 2);
         const QPoint origin = decode(windowShot.pixel(mid)) - mid;
         const QRect client = motif.geometry().translated(-origin);
         if (!windowShot.rect().contains(client))
           return AssertionFailure() << "window capture " << windowShot.width() << "x" << windowShot.height()
                                     << " does not hold the window";
         if (const int bad = offPattern(windowShot, origin, client.adjusted(4, 4, -4, -4)); bad > kPointerPixels)
           return AssertionFailure() << bad << " pixels of the window off the pattern";
         clip = windowShot;
         return mainBack() ? AssertionSuccess() : AssertionFailure() << "the main window does not come back";
       }},
      {"F5 reloads the capture the editor changed",
       [&] {
         const QStringList caps = program.captures();
         if (caps.size() != 4) return false;
         QImage edited(caps.last());
         if (edited.isNull()) return false;
         QPainter(&edited).fillRect(QRect(100, 100, 300, 200), QColor(255, 0, 255));
         if (!edited.save(caps.last(), "BMP")) return false;
         const std::optional<Win> m = mainWindow();
         if (!m || !activate(*m)) return false;
         keys.tap("F5");
         return true;
       },
       [&]() -> AssertionResult {
         auto magenta = [&] {
           const std::optional<Win> m = mainWindow();
           if (!m) return 0;
           const QImage s = screen.grab(m->rect);
           int n = 0;
           for (int y = 0; y < s.height(); y += 2)
             for (int x = 0; x < s.width(); x += 2) n += (s.pixel(x, y) & 0xFFFFFF) == 0xFF00FF;
           return n;
         };
         if (!testsupport::waitFor([&] { return magenta() > 1000; }, kLong))
           return AssertionFailure() << "the main view does not show the changed picture";
         return AssertionSuccess();
       }},
      {"zoom 50 % and back to 100 %",
       [&] { return true; },
       [&]() -> AssertionResult {
         const std::optional<Win> before = mainWindow();
         if (!before) return AssertionFailure() << "no main window";
         if (!menuDown("z", 1)) return AssertionFailure() << "the zoom menu did not open";
         if (!testsupport::waitFor([&] {
               const std::optional<Win> m = mainWindow();
               return m && m->rect.width() < before->rect.width() * 7 / 10;
             }, kLong))
           return AssertionFailure() << "the window does not shrink at 50 %";
         if (!menuDown("z", 3)) return AssertionFailure() << "the zoom menu did not open again";
         if (!testsupport::waitFor([&] {
               const std::optional<Win> m = mainWindow();
               return m && m->rect.width() > before->rect.width() * 9 / 10;
             }, kLong))
           return AssertionFailure() << "the window does not grow back at 100 %";
         return AssertionSuccess();
       }},
      {"save in each format",
       [&] { return true; },
       [&]() -> AssertionResult {
         struct Format {
           const char* name;
           const char* filterKey;
           const char* suffix;
         };
         const Format formats[] = {{"shotb", "b", ".bmp"}, {"shotj", "j", ".jpg"}, {"shotg", "g", ".gif"}, {"shotp", "p", ".png"}};
         for (const Format& f : formats) {
           if (!menuKey("f", "s")) return AssertionFailure() << "the file menu did not open";
           const std::optional<Win> d = waitTitled(text[163]);
           if (!d || !activate(*d)) return AssertionFailure() << f.suffix << ": no save dialog";
           chord("Control_L", "a");
           type(f.name);
           // The file type: its list, at the foot of the dialog, opened with a
           // click; the type picked by its initial; then Save.
           // The list drops over the combo box at the click's column; a tooltip
           // is a popup too, but one line high.
           const QPoint combo(d->rect.left() + 300, d->rect.bottom() - 23);
           auto listOpen = [&] {
             return window([&](const Win& w) {
                      return w.popup && !w.fullscreen() && w.rect.height() >= 60 && w.rect.left() <= combo.x() &&
                             w.rect.right() >= combo.x();
                    }).has_value();
           };
           waitPainted(*d);
           for (int attempt = 0; attempt < 3 && !listOpen(); ++attempt) {
             keys.click(combo);
             (void)testsupport::waitFor(listOpen, 5000);
           }
           if (!listOpen()) return AssertionFailure() << f.suffix << ": the list of file types does not open";
           keys.tap(f.filterKey);
           keys.tap("Return");
           if (!testsupport::waitFor([&] { return !window([](const Win& w) { return w.popup && !w.fullscreen(); }); }, 10000))
             return AssertionFailure() << f.suffix << ": the list of file types stays";
           keys.tap("Return");
           if (!waitGone(text[163])) return AssertionFailure() << f.suffix << ": the save dialog stays";
           const QString path = program.saveFolder() + "/" + f.name + f.suffix;
           const QImage img = waitPicture(path);
           if (img.isNull()) {
             QStringList found;
             QDirIterator it(program.home, {"shot*"}, QDir::Files, QDirIterator::Subdirectories);
             while (it.hasNext()) found << it.next();
             return AssertionFailure() << path.toStdString() << " not written; there are: " << found.join(", ").toStdString();
           }
           if (img.size() != windowShot.size())
             return AssertionFailure() << path.toStdString() << " is " << img.width() << "x" << img.height();
         }
         return AssertionSuccess();
       }},
      {"print to a PDF",
       [&] {
         if (!hotkey("m", [&] { return titled("Velistrom") && titled("Velistrom")->dialog; })) return false;
         const std::optional<Win> header = titled("Velistrom");
         activate(*header);
         keys.tap("Return");  // the proposed header line
         const std::optional<Win> print = waitTitled("Print");
         if (!print) return false;
         activate(*print);
         waitPainted(*print);
         keys.tap("Return");
         return true;
       },
       [&]() -> AssertionResult {
         if (!waitGone("Print")) return AssertionFailure() << "the printer dialog stays";
         QString pdf;
         if (!testsupport::waitFor([&] {
               QDirIterator it(program.home, {"*.pdf"}, QDir::Files, QDirIterator::Subdirectories);
               if (!it.hasNext()) return false;
               pdf = it.next();
               QProcess info;
               info.start("pdfinfo", {pdf});
               return info.waitForFinished(10000) && info.exitCode() == 0 &&
                      QRegularExpression(R"(Pages:\s+1\n)").match(QString::fromUtf8(info.readAllStandardOutput())).hasMatch();
             }, kLong))
         {
           QStringList found;
           QDirIterator it(program.dir.path(), QDir::Files, QDirIterator::Subdirectories);
           while (it.hasNext()) found << it.next();
           return AssertionFailure() << "no one-page PDF written: " << found.join(", ").toStdString();
         }
         QProcess render;
         const QString png = dir.filePath("page");
         render.start("pdftoppm", {"-r", "30", "-png", "-singlefile", pdf, png});
         if (!render.waitForFinished(30000)) return AssertionFailure() << "pdftoppm did not end";
         const QImage page(png + ".png");
         if (page.isNull()) return AssertionFailure() << "the PDF does not render";
         int inked = 0;
         for (int y = 0; y < page.height(); ++y)
           for (int x = 0; x < page.width(); ++x) inked += qGray(page.pixel(x, y)) < 200;
         if (inked < page.width() * page.height() / 20) return AssertionFailure() << "the page is nearly blank";
         return AssertionSuccess();
       }},
      {"the about box",
       [&] { return menuKey("h", "a"); },
       [&]() -> AssertionResult {
         const std::optional<Win> about = waitTitled(text[99]);
         if (!about) return AssertionFailure() << "no about box";
         if (!answer(text[99], "Return")) return AssertionFailure() << "the about box stays";
         return AssertionSuccess();
       }},
      {"quit with the save question",
       [&] { return hotkey("y", [&] { return titled(text[116]).has_value(); }); },
       [&]() -> AssertionResult {
         // Cancel keeps the program; Yes saves the unsaved captures and ends it.
         if (!answer(text[116], "Escape")) return AssertionFailure() << "Cancel does not close the question";
         if (!program.running() || !mainWindow()) return AssertionFailure() << "Cancel ended the program";
         // The hotkey asks again once the first question is gone.
         if (!hotkey("y", [&] { return titled(text[116]).has_value(); })) return AssertionFailure() << "no question the second time";
         if (!answer(text[116], "Return")) return AssertionFailure() << "Yes does not close the question";
         if (!program.process.waitForFinished(kLong)) return AssertionFailure() << "the program does not end";
         if (program.process.exitStatus() != QProcess::NormalExit || program.process.exitCode() != 0)
           return AssertionFailure() << "exit status " << program.process.exitCode();
         const QStringList saved = program.files(program.saveFolder(), "Smok_*.jpg");
         if (saved.size() != 3) return AssertionFailure() << saved.size() << " captures saved at quit";
         for (const QString& s : saved)
           if (QImage(s).isNull()) return AssertionFailure() << s.toStdString() << " does not decode";
         return AssertionSuccess();
       }},
  };

  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    if (!program.running() && std::string(s.name) != "start") {
      ADD_FAILURE() << s.name << ": the program is no longer running";
      break;
    }
    const bool done = s.action();
    const AssertionResult result = done ? s.check() : AssertionFailure() << "could not be done";
    EXPECT_TRUE(result) << s.name;
    if (!result) {
      // What was on the screen, for the one who reads the failure.
      QStringList seen;
      for (const Win& w : windows())
        seen << QString("\"%1\" %2,%3 %4x%5%6")
                    .arg(w.title)
                    .arg(w.rect.x())
                    .arg(w.rect.y())
                    .arg(w.rect.width())
                    .arg(w.rect.height())
                    .arg(w.dialog ? " dialog" : w.popup ? " popup" : "");
      ADD_FAILURE() << s.name << ": the program's windows: " << seen.join("; ").toStdString();
      QTest::qWait(300);  // the pattern repainted where windows went away
      const QString shots = qEnvironmentVariable("VELISTROM_SMOKE_SHOTS");
      if (!shots.isEmpty()) screen.grab(QRect(0, 0, 1920, 1080)).save(shots + "/" + QString(s.name).replace(' ', '_') + ".png");
      break;  // the steps build on each other
    }
    if (program.running()) {
      EXPECT_EQ(strayBoxes().join(", ").toStdString(), "") << s.name << ": boxes left open";
    }
    keys.releaseAll();
  }
  EXPECT_FALSE(program.running()) << "the program outlived its last step";
}

}  // namespace
