#pragma once
// For X tests that read the screen back: windows painted in colours the test
// computes, so a grab shows exactly where a window lies and what of it was taken
// (and the wait until the screen shows them).
#include "tests/support/Wait.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <functional>

namespace testsupport {

// Checks of 8 pixels in two colours far from black, white and grey.
inline QRgb stripe(int x, int y) { return ((x / 8 + y / 8) % 2) ? qRgb(250, 20, 20) : qRgb(20, 20, 250); }

class PatternWindow : public QWidget {
 public:
  // Over a rectangle of the screen, above the others and outside the window
  // manager, painting each pixel in the colour of its screen position.
  PatternWindow(std::function<QRgb(int x, int y)> colour, const QRect& screenRect)
      : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                             Qt::X11BypassWindowManagerHint),
        colour_(std::move(colour)),
        screenCoordinates_(true) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(screenRect);
  }
  // An ordinary window, framed by the window manager and one it can activate,
  // painting stripe() of its own client coordinates.
  PatternWindow() : colour_(stripe), screenCoordinates_(false) {
    setWindowTitle("pattern");
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    const QPoint origin = screenCoordinates_ ? pos() : QPoint(0, 0);
    QImage img(size(), QImage::Format_RGB32);
    for (int y = 0; y < height(); ++y)
      for (int x = 0; x < width(); ++x) img.setPixel(x, y, colour_(origin.x() + x, origin.y() + y));
    QPainter(this).drawImage(0, 0, img);
  }

 private:
  std::function<QRgb(int, int)> colour_;
  bool screenCoordinates_;
};

}  // namespace testsupport
