#pragma once
// The X display the platform layer talks to. With a Qt application on the xcb
// platform this is Qt's own connection; with no Qt application at all (tools,
// benchmarks) the layer opens one of its own; under any other Qt platform
// (offscreen, wayland) there is none and callers fall back to Qt. Qt's
// connection is shared with its event loop: use the layer from the UI thread.
#include <QRect>
#include <QtGlobal>

struct _XDisplay;

namespace platform {

using NativeWindow = unsigned long;  // an X window id

// Before the Qt application: false, after one line on standard error naming
// the variable and the display tried, when Qt would need an X display and
// cannot open it (the program then exits with 1 instead of Qt's abort).
bool displayReachable(const char* program);

// nullptr when no X server is behind the program. Test it before any Xlib call.
_XDisplay* x11Display();
// The root window of the default screen (0 without a display).
NativeWindow x11Root();
// Size of the root window in pixels, or the primary screen's size without a display.
QRect rootRect();
// Number of monitors, as the desktop reports them (0 when it reports none).
int monitorCount();

// Catches the X errors of the requests made while it lives, instead of letting
// the default handler print them. For requests on windows of other clients,
// which may vanish at any moment.
class X11ErrorTrap {
 public:
  explicit X11ErrorTrap(_XDisplay* dpy);
  ~X11ErrorTrap();
  X11ErrorTrap(const X11ErrorTrap&) = delete;
  X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;
  // Waits for the server to answer every request so far; true if one failed.
  bool failed();

 private:
  _XDisplay* dpy_;
  void* previous_;
};

}  // namespace platform
