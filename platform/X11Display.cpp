#include "platform/X11Display.h"

#include "platform/Log.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

#include <cstdio>
#include <cstdlib>

// Xlib last: its macros clash with Qt.
#include <X11/Xlib.h>

namespace platform {
namespace {

Display* g_own = nullptr;

int g_trapDepth = 0;
bool g_trapped = false;

int trapHandler(Display* dpy, XErrorEvent* e) {
  g_trapped = true;
  char text[160] = {};
  XGetErrorText(dpy, e->error_code, text, sizeof text);
  qCInfo(lcPlatform) << "X request" << int(e->request_code) << "trapped:" << text;
  return 0;
}

void closeOwn() {
  if (g_own) XCloseDisplay(g_own);
  g_own = nullptr;
}

Display* ownDisplay() {
  static bool tried = false;
  if (!tried) {
    tried = true;
    g_own = XOpenDisplay(nullptr);
    if (g_own) std::atexit(closeOwn);
  }
  return g_own;
}

}  // namespace

bool displayReachable(const char* program) {
  // Another Qt platform (offscreen, wayland) needs no X server.
  const QByteArray qpa = qgetenv("QT_QPA_PLATFORM");
  if (!qpa.isEmpty() && !qpa.startsWith("xcb")) return true;
  const QByteArray name = qgetenv("DISPLAY");
  if (name.isEmpty()) {
    std::fprintf(stderr, "%s: no X display: the DISPLAY variable is not set.\n", program);
    return false;
  }
  Display* dpy = XOpenDisplay(name.constData());
  if (!dpy) {
    std::fprintf(stderr, "%s: cannot open the X display \"%s\" named by the DISPLAY variable.\n", program,
                 name.constData());
    return false;
  }
  XCloseDisplay(dpy);
  return true;
}

Display* x11Display() {
  if (!QCoreApplication::instance()) return ownDisplay();
  auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (!gui || QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  auto* x11 = gui->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->display() : nullptr;
}

NativeWindow x11Root() {
  Display* dpy = x11Display();
  return dpy ? DefaultRootWindow(dpy) : 0;
}

QRect rootRect() {
  if (Display* dpy = x11Display()) {
    const int screen = DefaultScreen(dpy);
    return QRect(0, 0, DisplayWidth(dpy, screen), DisplayHeight(dpy, screen));
  }
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    if (QScreen* s = QGuiApplication::primaryScreen()) return s->geometry();
  return QRect();
}

int monitorCount() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 0;
  return int(QGuiApplication::screens().size());
}

X11ErrorTrap::X11ErrorTrap(Display* dpy) : dpy_(dpy), previous_(nullptr) {
  if (!dpy_) return;
  XSync(dpy_, False);
  if (g_trapDepth++ == 0) {
    g_trapped = false;
    previous_ = reinterpret_cast<void*>(XSetErrorHandler(trapHandler));
  }
}

X11ErrorTrap::~X11ErrorTrap() {
  if (!dpy_) return;
  XSync(dpy_, False);
  if (--g_trapDepth == 0) XSetErrorHandler(reinterpret_cast<XErrorHandler>(previous_));
}

bool X11ErrorTrap::failed() {
  if (!dpy_) return true;
  XSync(dpy_, False);
  return g_trapped;
}

}  // namespace platform
