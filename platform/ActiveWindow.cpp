#include "platform/ActiveWindow.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <QWindow>

#include <algorithm>

#include <vector>

// Xlib last: its macros clash with C++ and Qt headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace platform {
namespace {

bool haveGui() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

// Reads a property of 32-bit items; empty when absent or of another type.
std::vector<unsigned long> cardinals(Display* dpy, Window w, const char* name, Atom type) {
  std::vector<unsigned long> values;
  const Atom prop = XInternAtom(dpy, name, True);
  if (prop == None) return values;
  Atom actual = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  X11ErrorTrap trap(dpy);
  const int status = XGetWindowProperty(dpy, w, prop, 0, 64, False, type, &actual, &format,
                                        &count, &after, &data);
  if (status == Success && !trap.failed() && data && actual == type && format == 32) {
    const auto* items = reinterpret_cast<const unsigned long*>(data);  // longs, whatever their size
    values.assign(items, items + count);
  }
  if (data) XFree(data);
  return values;
}

// The ancestor of `w` that is a child of the root: the window manager's frame
// when it reparents. 0 when `w` is gone.
Window topLevelAncestor(Display* dpy, Window w, Window root) {
  X11ErrorTrap trap(dpy);
  for (int depth = 0; depth < 64; ++depth) {
    Window rootRet = 0, parent = 0;
    Window* children = nullptr;
    unsigned n = 0;
    if (!XQueryTree(dpy, w, &rootRet, &parent, &children, &n) || trap.failed()) return 0;
    if (children) XFree(children);
    if (parent == root || parent == 0) return w;
    w = parent;
  }
  return w;
}

QRect rootGeometry(Display* dpy, Window w) {
  X11ErrorTrap trap(dpy);
  XWindowAttributes attrs{};
  if (!XGetWindowAttributes(dpy, w, &attrs) || trap.failed()) return QRect();
  Window child = 0;
  int x = 0, y = 0;
  XTranslateCoordinates(dpy, w, attrs.root, 0, 0, &x, &y, &child);
  if (trap.failed()) return QRect();
  // The border belongs to the window as seen on screen.
  const int b = attrs.border_width;
  return QRect(x - b, y - b, attrs.width + 2 * b, attrs.height + 2 * b);
}

QWindow* qtWindow(NativeWindow id) {
  if (!haveGui() || id == 0) return nullptr;
  for (QWindow* w : QGuiApplication::topLevelWindows())
    if (w->winId() == id) return w;
  return nullptr;
}

}  // namespace

NativeWindow activeWindow() {
  Display* dpy = x11Display();
  if (!dpy) {
    if (!haveGui()) return 0;
    QWindow* w = QGuiApplication::focusWindow();
    return w ? NativeWindow(w->winId()) : 0;
  }
  const auto v = cardinals(dpy, DefaultRootWindow(dpy), "_NET_ACTIVE_WINDOW", XA_WINDOW);
  return v.empty() ? 0 : v.front();
}

QRect windowFrameRect(NativeWindow window) {
  if (window == 0) return QRect();
  Display* dpy = x11Display();
  if (!dpy) {
    QWindow* w = qtWindow(window);
    return w ? w->frameGeometry() : QRect();
  }
  const Window root = DefaultRootWindow(dpy);
  if (window == root) return rootRect();
  const Window top = topLevelAncestor(dpy, window, root);
  if (top == 0) return QRect();
  QRect r = rootGeometry(dpy, top);
  if (r.isNull()) return r;
  if (top == window) {
    // Not reparented (no frame window, e.g. a compositing manager that draws
    // the frame itself): the manager says how far its frame reaches.
    const auto ext = cardinals(dpy, window, "_NET_FRAME_EXTENTS", XA_CARDINAL);
    if (ext.size() == 4)
      r.adjust(-int(ext[0]), -int(ext[2]), int(ext[1]), int(ext[3]));
  }
  return r;
}

bool requestActivation(NativeWindow window) {
  if (window == 0) return false;
  Display* dpy = x11Display();
  if (!dpy) {
    QWindow* w = qtWindow(window);
    if (!w) return false;
    w->requestActivate();
    return true;
  }
  const Window root = DefaultRootWindow(dpy);
  if (cardinals(dpy, root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW).empty()) {
    X11ErrorTrap trap(dpy);
    XRaiseWindow(dpy, window);
    XSetInputFocus(dpy, window, RevertToParent, CurrentTime);
    return !trap.failed();
  }
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = window;
  ev.xclient.message_type = XInternAtom(dpy, "_NET_ACTIVE_WINDOW", False);
  ev.xclient.format = 32;
  // Source 2 (a pager): the user asked for it, so focus-stealing prevention
  // must not refuse it.
  ev.xclient.data.l[0] = 2;
  ev.xclient.data.l[1] = CurrentTime;
  ev.xclient.data.l[2] = 0;
  XSendEvent(dpy, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
  XFlush(dpy);
  return true;
}

namespace {
bool viewable(Display* dpy, Window w) {
  X11ErrorTrap trap(dpy);
  XWindowAttributes attrs{};
  return XGetWindowAttributes(dpy, w, &attrs) && !trap.failed() && attrs.map_state == IsViewable;
}
}  // namespace

bool stackBelowFrameOf(NativeWindow cover, NativeWindow window) {
  Display* dpy = x11Display();
  if (!dpy) return true;
  if (cover == 0 || window == 0) return false;
  const Window root = DefaultRootWindow(dpy);
  const Window frame = topLevelAncestor(dpy, window, root);
  if (frame == 0 || !viewable(dpy, frame) || !viewable(dpy, window)) return false;
  X11ErrorTrap trap(dpy);
  XWindowChanges change{};
  change.sibling = frame;
  change.stack_mode = Below;
  XConfigureWindow(dpy, cover, CWSibling | CWStackMode, &change);
  return !trap.failed();
}

NativeWindow outerWindow(NativeWindow window) {
  Display* dpy = x11Display();
  if (!dpy || window == 0) return window;
  return topLevelAncestor(dpy, window, DefaultRootWindow(dpy));
}

bool waitUntilOffScreen(const std::vector<NativeWindow>& windows, int timeoutMs) {
  Display* dpy = x11Display();
  if (!dpy) return true;
  QElapsedTimer clock;
  clock.start();
  for (;;) {
    XSync(dpy, False);
    const bool allGone = std::none_of(windows.begin(), windows.end(),
                                      [dpy](NativeWindow w) { return w != 0 && viewable(dpy, w); });
    if (allGone) return true;
    if (clock.elapsed() >= timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(2);
  }
}

bool giveKeyboardFocus(NativeWindow window) {
  Display* dpy = x11Display();
  if (!dpy) {
    QWindow* w = qtWindow(window);
    if (w) w->requestActivate();
    return w != nullptr;
  }
  if (window == 0 || !viewable(dpy, window)) return false;
  X11ErrorTrap trap(dpy);
  XSetInputFocus(dpy, window, RevertToParent, CurrentTime);
  return !trap.failed();
}

}  // namespace platform
