#include "platform/Pointer.h"

#include "platform/X11Display.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPainter>

#include <deque>

// Xlib last: its macros clash with C++ and Qt headers.
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

namespace platform {
namespace {

constexpr size_t kRemembered = 16;
std::deque<PointerShape> g_seen;  // newest first
int g_hidden = 0;

bool haveGui() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

bool hasXFixes(Display* dpy) {
  int event = 0, error = 0;
  return XFixesQueryExtension(dpy, &event, &error);
}

// A serial that happens to equal kNoPointer still needs a handle of its own.
quint32 handleOfSerial(unsigned long serial) {
  const auto h = static_cast<quint32>(serial);
  return h == kNoPointer ? 0x80000000u | kNoPointer : h;
}

void remember(const PointerShape& shape) {
  for (auto it = g_seen.begin(); it != g_seen.end(); ++it)
    if (it->handle == shape.handle) {
      g_seen.erase(it);
      break;
    }
  g_seen.push_front(shape);
  if (g_seen.size() > kRemembered) g_seen.pop_back();
}

}  // namespace

QPoint pointerPosition() {
  if (Display* dpy = x11Display()) {
    Window root = 0, child = 0;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    if (XQueryPointer(dpy, DefaultRootWindow(dpy), &root, &child, &rx, &ry, &wx, &wy, &mask))
      return QPoint(rx, ry);
    return QPoint();
  }
  return haveGui() ? QCursor::pos() : QPoint();
}

void warpPointer(QPoint pos) {
  if (Display* dpy = x11Display()) {
    XWarpPointer(dpy, 0, DefaultRootWindow(dpy), 0, 0, 0, 0, pos.x(), pos.y());
    XFlush(dpy);
    return;
  }
  if (haveGui()) QCursor::setPos(pos);
}

PointerShape currentPointer() {
  Display* dpy = x11Display();
  if (!dpy || g_hidden > 0 || !hasXFixes(dpy)) return {};
  XFixesCursorImage* cursor = XFixesGetCursorImage(dpy);
  if (!cursor) return {};
  PointerShape shape;
  shape.handle = handleOfSerial(cursor->cursor_serial);
  shape.hotspot = QPoint(cursor->xhot, cursor->yhot);
  QImage image(cursor->width, cursor->height, QImage::Format_ARGB32_Premultiplied);
  bool visible = false;
  // XFixes hands 32-bit premultiplied ARGB in unsigned longs (64-bit here).
  for (int y = 0; y < cursor->height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < cursor->width; ++x) {
      const auto argb = static_cast<QRgb>(cursor->pixels[size_t(y) * cursor->width + x]);
      line[x] = argb;
      if (qAlpha(argb)) visible = true;
    }
  }
  XFree(cursor);
  if (!visible || image.isNull()) return {};  // a blank pointer is a hidden one
  shape.image = image;
  remember(shape);
  return shape;
}

quint32 pointerHandle() { return currentPointer().handle; }

PointerShape pointerShape(quint32 handle) {
  if (handle == kNoPointer) return {};
  for (const PointerShape& s : g_seen)
    if (s.handle == handle) return s;
  return {};
}

void hidePointer() {
  if (Display* dpy = x11Display()) {
    if (hasXFixes(dpy)) {
      XFixesHideCursor(dpy, DefaultRootWindow(dpy));
      XFlush(dpy);
    }
  }
  ++g_hidden;
}

void showPointer() {
  if (g_hidden == 0) return;
  --g_hidden;
  if (Display* dpy = x11Display()) {
    if (hasXFixes(dpy)) {
      XFixesShowCursor(dpy, DefaultRootWindow(dpy));
      XFlush(dpy);
    }
  }
}

void drawPointer(QImage& target, const PointerShape& shape, QPoint hotspotAt) {
  if (shape.handle == kNoPointer || shape.image.isNull() || target.isNull()) return;
  QPainter painter(&target);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter.drawImage(hotspotAt - shape.hotspot, shape.image);
}

bool drawPointer(QImage& target, quint32 handle, QPoint hotspotAt) {
  const PointerShape shape = pointerShape(handle);
  if (shape.image.isNull()) return false;
  drawPointer(target, shape, hotspotAt);
  return true;
}

}  // namespace platform
