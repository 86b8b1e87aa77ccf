// The X11 test programs run on a real X server with a window manager.
#include <gtest/gtest.h>
// Xlib last: its macros (None, Bool, Status) clash with C++ headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

TEST(X11Display, HasAnEwmhWindowManager) {
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  const Atom check = XInternAtom(dpy, "_NET_SUPPORTING_WM_CHECK", True);
  ASSERT_NE(check, None);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  XGetWindowProperty(dpy, DefaultRootWindow(dpy), check, 0, 1, False, XA_WINDOW, &type, &format,
                     &count, &after, &data);
  EXPECT_EQ(count, 1u);
  if (data) XFree(data);
  XCloseDisplay(dpy);
}
