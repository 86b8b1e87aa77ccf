#include "tests/support/PrivateDisplay.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#include <string>

// Xlib last: its macros clash with Qt.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace testsupport {

namespace {

// Whether some X server already answers as display n. Xvfb's own choice
// (-displayfd) looks only at the lock files in /tmp, which a neighbour in
// another mount namespace does not share, while the servers' abstract sockets
// are shared with the whole network namespace: our clients would reach the
// neighbour's server.
bool displayTaken(int n) {
  if (QFile::exists(QString("/tmp/.X%1-lock").arg(n))) return true;
  const std::string path = "/tmp/.X11-unix/X" + std::to_string(n);
  sockaddr_un a{};
  a.sun_family = AF_UNIX;
  std::memcpy(a.sun_path + 1, path.data(), path.size());  // sun_path[0] = 0: abstract
  const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
  const bool answered =
      ::connect(s, reinterpret_cast<sockaddr*>(&a), socklen_t(offsetof(sockaddr_un, sun_path) + 1 + path.size())) == 0;
  ::close(s);
  return answered;
}

// Windows may go between listing them and asking about them.
int ignoreErrors(Display*, XErrorEvent*) { return 0; }

void stop(QProcess& p) {
  if (p.state() == QProcess::NotRunning) return;
  p.kill();
  p.waitForFinished(5000);
}

}  // namespace

PrivateDisplay::~PrivateDisplay() {
  stop(windowManager_);
  stop(server_);
}

bool PrivateDisplay::available() {
  return !QStandardPaths::findExecutable("Xvfb").isEmpty() && !QStandardPaths::findExecutable("openbox").isEmpty();
}

bool PrivateDisplay::start(QSize size) {
  auto fail = [this](const QString& why) {
    failure_ = why;
    return false;
  };
  size_ = size;
  // A number well above those the usual servers take, and free.
  for (int attempt = 0; attempt < 20 && name_.isEmpty(); ++attempt) {
    const int n = 200 + int(QRandomGenerator::global()->bounded(800));
    if (displayTaken(n)) continue;
    server_.setStandardErrorFile(QProcess::nullDevice());
    server_.start(QStandardPaths::findExecutable("Xvfb"),
                  {":" + QString::number(n), "-displayfd", "1", "-screen", "0",
                   QString("%1x%2x24").arg(size.width()).arg(size.height()), "-nolisten", "tcp", "+extension",
                   "XFIXES", "-noreset"});
    if (!server_.waitForStarted(10000)) return fail("Xvfb did not start: " + server_.errorString());
    // A loaded machine can take its time: the limit only ends a wait that failed.
    QElapsedTimer t;
    t.start();
    while (!server_.canReadLine() && server_.state() == QProcess::Running && t.elapsed() < 60000)
      server_.waitForReadyRead(200);
    // Nothing written: another server took the number meanwhile.
    if (server_.readLine().trimmed() == QByteArray::number(n)) name_ = ":" + QString::number(n);
    else stop(server_);
  }
  if (name_.isEmpty()) return fail("Xvfb found no free display");
  // Told ready, a loaded server may still turn the first clients away. (It
  // does not reset when the last client goes: each query here is a client.)
  QElapsedTimer t;
  t.start();
  while (!accepts()) {
    if (server_.waitForFinished(50)) return fail("Xvfb ended on " + name_);
    if (t.elapsed() > 60000) return fail("Xvfb took no client on " + name_);
  }

  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("DISPLAY", name_);
  windowManager_.setProcessEnvironment(env);
  windowManager_.setProcessChannelMode(QProcess::MergedChannels);
  windowManager_.start(QStandardPaths::findExecutable("openbox"), {});
  if (!windowManager_.waitForStarted(10000)) return fail("openbox did not start: " + windowManager_.errorString());
  t.restart();
  while (!windowManagerReady()) {
    if (windowManager_.waitForFinished(50))
      return fail("openbox ended at once on " + name_ + ": " + QString::fromLocal8Bit(windowManager_.readAll()));
    if (t.elapsed() > 60000) return fail("openbox did not take the screen of " + name_);
  }
  return true;
}

void PrivateDisplay::kill() {
  stop(server_);
  stop(windowManager_);
}

bool PrivateDisplay::accepts() const {
  Display* dpy = XOpenDisplay(name_.toLatin1().constData());
  if (dpy) XCloseDisplay(dpy);
  return dpy != nullptr;
}

bool PrivateDisplay::windowManagerReady() const {
  Display* dpy = XOpenDisplay(name_.toLatin1().constData());
  if (!dpy) return false;
  const Atom check = XInternAtom(dpy, "_NET_SUPPORTING_WM_CHECK", True);
  bool ready = false;
  if (check != None) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, DefaultRootWindow(dpy), check, 0, 1, False, XA_WINDOW, &type, &format, &count,
                           &after, &data) == Success)
      ready = type == XA_WINDOW && count == 1;
    if (data) XFree(data);
  }
  XCloseDisplay(dpy);
  return ready;
}

bool PrivateDisplay::screenCovered() const {
  Display* dpy = XOpenDisplay(name_.toLatin1().constData());
  if (!dpy) return false;
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  bool covered = false;
  const auto previous = XSetErrorHandler(ignoreErrors);
  if (XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &count)) {
    for (unsigned int i = 0; i < count && !covered; ++i) {
      XWindowAttributes a;
      if (!XGetWindowAttributes(dpy, children[i], &a)) continue;
      covered = a.map_state == IsViewable && a.x <= 0 && a.y <= 0 && a.x + a.width >= size_.width() &&
                a.y + a.height >= size_.height();
    }
    if (children) XFree(children);
  }
  XSync(dpy, False);
  XSetErrorHandler(previous);
  XCloseDisplay(dpy);
  return covered;
}

}  // namespace testsupport
