#pragma once
// For X tests of windows shown over the capture overlay: the real Qt boxes
// instead of the scripted ones, and how much of a window the screen shows.
#include "platform/ScreenGrab.h"
#include "platform/forms/MsgBox.h"

#include <QImage>
#include <QWidget>

#include <cstdlib>

namespace testsupport {

// The real Qt boxes while it lives.
class RealBoxes {
 public:
  RealBoxes() : scripted_(&vb::dialogService()) { vb::setDialogService(&vb::defaultDialogService()); }
  ~RealBoxes() { vb::setDialogService(scripted_); }
  RealBoxes(const RealBoxes&) = delete;
  RealBoxes& operator=(const RealBoxes&) = delete;

 private:
  vb::DialogService* scripted_;
};

// The share of a window's own rendering that the screen shows where it lies
// (every third pixel, one step of each colour allowed).
inline double shareSeen(QWidget* w) {
  const QImage own = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QRect at(w->mapToGlobal(QPoint(0, 0)), own.size());
  const QImage screen = platform::grabScreen(at).convertToFormat(QImage::Format_RGB32);
  if (screen.size() != own.size() || own.isNull()) return 0;
  auto near = [](QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 1 && std::abs(qGreen(a) - qGreen(b)) <= 1 &&
           std::abs(qBlue(a) - qBlue(b)) <= 1;
  };
  int same = 0;
  for (int y = 0; y < own.height(); y += 3)
    for (int x = 0; x < own.width(); x += 3)
      if (near(own.pixel(x, y), screen.pixel(x, y))) ++same;
  return double(same) / (((own.height() + 2) / 3) * ((own.width() + 2) / 3));
}

}  // namespace testsupport
