#pragma once
// For X tests that read the screen back: a window over a rectangle of the
// screen, above the others and outside the window manager, that paints each
// screen pixel in a colour the test computes from its position; and a wait on a
// condition that keeps events running.
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWidget>

#include <functional>

namespace testsupport {

class PatternWindow : public QWidget {
 public:
  PatternWindow(std::function<QRgb(int x, int y)> colour, const QRect& screenRect)
      : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                             Qt::X11BypassWindowManagerHint),
        colour_(std::move(colour)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(screenRect);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QImage img(size(), QImage::Format_RGB32);
    for (int y = 0; y < height(); ++y)
      for (int x = 0; x < width(); ++x) img.setPixel(x, y, colour_(this->x() + x, this->y() + y));
    QPainter(this).drawImage(0, 0, img);
  }

 private:
  std::function<QRgb(int, int)> colour_;
};

inline bool waitFor(const std::function<bool()>& ok, int ms = 15000) {
  QElapsedTimer t;
  t.start();
  while (!ok()) {
    if (t.elapsed() > ms) return false;
    QTest::qWait(20);
  }
  return true;
}

}  // namespace testsupport
