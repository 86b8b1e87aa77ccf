#include "tests/support/XTestKeys.h"

// Xlib last: its macros clash with Qt.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace testsupport {

XTestInput::XTestInput(const QString& display) {
  dpy_ = XOpenDisplay(display.isEmpty() ? nullptr : display.toLatin1().constData());
  if (!dpy_) return;
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(dpy_, &event, &error, &major, &minor)) {
    XCloseDisplay(dpy_);
    dpy_ = nullptr;
  }
}

XTestInput::~XTestInput() {
  if (!dpy_) return;
  releaseAll();
  XCloseDisplay(dpy_);
}

int XTestInput::keycodeOf(const QString& keysym) const {
  const KeySym sym = XStringToKeysym(keysym.toLatin1().constData());
  return sym == NoSymbol ? 0 : XKeysymToKeycode(dpy_, sym);
}

bool XTestInput::press(const QString& keysym) {
  const int code = dpy_ ? keycodeOf(keysym) : 0;
  if (!code) return false;
  XTestFakeKeyEvent(dpy_, unsigned(code), True, CurrentTime);
  if (!held_.contains(keysym)) held_ << keysym;
  sync();
  return true;
}

bool XTestInput::release(const QString& keysym) {
  const int code = dpy_ ? keycodeOf(keysym) : 0;
  if (!code) return false;
  XTestFakeKeyEvent(dpy_, unsigned(code), False, CurrentTime);
  held_.removeAll(keysym);
  sync();
  return true;
}

bool XTestInput::tap(const QString& keysym) { return press(keysym) && release(keysym); }

void XTestInput::releaseAll() {
  const QStringList held = held_;
  for (const QString& k : held) release(k);
  const QList<int> buttons = buttons_;
  for (int b : buttons) releaseButton(b);
}

void XTestInput::movePointer(QPoint p) {
  if (!dpy_) return;
  XTestFakeMotionEvent(dpy_, -1, p.x(), p.y(), CurrentTime);
  sync();
}

void XTestInput::pressButton(int button) {
  if (!dpy_) return;
  XTestFakeButtonEvent(dpy_, unsigned(button), True, CurrentTime);
  if (!buttons_.contains(button)) buttons_ << button;
  sync();
}

void XTestInput::releaseButton(int button) {
  if (!dpy_) return;
  XTestFakeButtonEvent(dpy_, unsigned(button), False, CurrentTime);
  buttons_.removeAll(button);
  sync();
}

void XTestInput::click(QPoint p, int button) {
  movePointer(p);
  pressButton(button);
  releaseButton(button);
}

void XTestInput::sync() {
  if (dpy_) XSync(dpy_, False);
}

}  // namespace testsupport
