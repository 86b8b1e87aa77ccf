#pragma once
// A top-level window painted with stripes of known colours, so a grab shows
// exactly where the window lies and what of it was taken.
#include <QImage>
#include <QPainter>
#include <QWidget>

namespace testsupport {

inline QRgb stripe(int x, int y) { return ((x / 8 + y / 8) % 2) ? qRgb(250, 20, 20) : qRgb(20, 20, 250); }

class PatternWindow : public QWidget {
 public:
  PatternWindow() {
    setWindowTitle("pattern");
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QImage img(size(), QImage::Format_RGB32);
    for (int y = 0; y < height(); ++y)
      for (int x = 0; x < width(); ++x) img.setPixel(x, y, stripe(x, y));
    QPainter(this).drawImage(0, 0, img);
  }
};

}  // namespace testsupport
