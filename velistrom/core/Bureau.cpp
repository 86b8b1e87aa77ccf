#include "velistrom/core/Bureau.h"

#include "platform/ActiveWindow.h"
#include "platform/Pointer.h"
#include "platform/ScreenGrab.h"
#include "platform/X11Display.h"

#include <QGuiApplication>
#include <QScreen>

namespace core {
namespace {

Bureau reel() {
  Bureau b;
  b.grab = [](const QRect& r) { return platform::grabScreen(r); };
  b.ecran = [] {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? QRect(QPoint(0, 0), s->geometry().size()) : QRect();
  };
  b.fenetreActive = [] { return platform::windowFrameRect(platform::activeWindow()); };
  b.monitorCount = [] { return platform::monitorCount(); };
  b.warpPointer = [](QPoint at) { platform::warpPointer(at); };
  b.drawPointer = [](QImage& img, quint32 h, QPoint at) { return platform::drawPointer(img, h, at); };
  return b;
}

}  // namespace

Bureau& bureau() {
  static Bureau b = reel();
  return b;
}

void resetBureau() { bureau() = reel(); }

}  // namespace core
