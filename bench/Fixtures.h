#pragma once
// Screenshot-like 1920 x 1080 pictures drawn with QPainter, shared by the
// benchmarks (they need a QGuiApplication for the fonts).
#include <QColor>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QString>

#include <cmath>

namespace benchfix {

// A desktop: gradient wallpaper, windows with gradient title bars, anti-aliased
// text, buttons and a list. Many thousands of colours, like most real captures.
inline QImage desktopFixture() {
  QImage img(1920, 1080, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  QRadialGradient wall(QPointF(1400, 300), 1400);
  wall.setColorAt(0, QColor(70, 130, 180));
  wall.setColorAt(0.6, QColor(30, 50, 110));
  wall.setColorAt(1, QColor(10, 10, 40));
  p.fillRect(img.rect(), wall);

  struct Win {
    QRect r;
    QColor title;
    const char* caption;
  };
  const Win wins[] = {{{80, 60, 900, 640}, QColor(40, 90, 160), "Report - Editor"},
                      {{700, 300, 760, 520}, QColor(150, 60, 40), "Settings"},
                      {{1300, 120, 540, 860}, QColor(50, 120, 60), "Files"}};
  QFont font("DejaVu Sans", 10);
  p.setFont(font);
  for (const Win& w : wins) {
    p.fillRect(w.r.adjusted(6, 6, 6, 6), QColor(0, 0, 0, 90));  // shadow
    p.fillRect(w.r, QColor(240, 240, 238));
    QLinearGradient bar(w.r.topLeft(), w.r.topRight());
    bar.setColorAt(0, w.title);
    bar.setColorAt(1, w.title.lighter(160));
    p.fillRect(QRect(w.r.left(), w.r.top(), w.r.width(), 28), bar);
    p.setPen(Qt::white);
    p.drawText(w.r.left() + 10, w.r.top() + 19, w.caption);
    p.setPen(QColor(30, 30, 30));
    for (int line = 0; line * 18 + 60 < w.r.height() - 60; ++line)
      p.drawText(
          w.r.left() + 16, w.r.top() + 56 + line * 18,
          QString("Line %1: the quick brown fox jumps over the lazy dog 0123456789").arg(line + 1));
    for (int b = 0; b < 3; ++b) {
      const QRect button(w.r.right() - 110 * (b + 1), w.r.bottom() - 44, 96, 30);
      p.setPen(QColor(120, 120, 120));
      p.setBrush(QColor(225, 225, 225));
      p.drawRoundedRect(button, 4, 4);
      p.setPen(QColor(20, 20, 20));
      p.drawText(button, Qt::AlignCenter, b == 0 ? "Cancel" : b == 1 ? "OK" : "Apply");
    }
  }
  return img;
}

// A dialog without anti-aliasing: flat colours, at most a few dozen of them,
// the case where the GIF keeps every colour exactly.
inline QImage dialogFixture() {
  QImage img(1920, 1080, QImage::Format_RGB32);
  img.fill(QColor(0, 100, 160));
  QPainter p(&img);
  QFont font("DejaVu Sans", 10);
  font.setStyleStrategy(QFont::NoAntialias);
  p.setFont(font);
  for (int i = 0; i < 6; ++i) {
    const QRect r(60 + i * 300, 80 + i * 120, 520, 420);
    p.fillRect(r, QColor(212, 208, 200));
    p.fillRect(QRect(r.left(), r.top(), r.width(), 24), QColor(10, 36, 106));
    p.setPen(Qt::white);
    p.drawText(r.left() + 8, r.top() + 17, QString("Dialog %1").arg(i + 1));
    p.setPen(Qt::black);
    for (int line = 0; line < 18; ++line)
      p.drawText(r.left() + 12, r.top() + 50 + line * 18,
                 "Option text, plain and crisp 0123456789");
  }
  return img;
}

// A photo-like area: smooth colourful waves, the hardest case for a palette.
inline QImage photoFixture() {
  QImage img(1920, 1080, QImage::Format_RGB32);
  for (int y = 0; y < img.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      const double u = x / 240.0, v = y / 180.0;
      const auto wave = [](double t) { return static_cast<int>(127.5 + 127.5 * std::sin(t)); };
      line[x] = qRgb(wave(u + std::sin(v)), wave(v * 1.3 + std::cos(u * 0.7)),
                     wave(u * 0.6 + v * 0.8 + 2));
    }
  }
  return img;
}

// A terminal full of anti-aliased monospace text in a few colours on a dark
// background: the most common text-heavy capture.
inline QImage terminalFixture() {
  QImage img(1920, 1080, QImage::Format_RGB32);
  img.fill(QColor(30, 30, 30));
  QPainter p(&img);
  p.setFont(QFont("DejaVu Sans Mono", 11));
  static const QColor inks[] = {QColor(220, 220, 220), QColor(120, 200, 120),
                                QColor(110, 160, 240), QColor(230, 200, 90)};
  for (int line = 0; line < 60; ++line) {
    p.setPen(inks[line % 5 == 0 ? 1 + line % 3 : 0]);
    p.drawText(8, 16 + line * 17,
               QString("drwxr-xr-x  %1 user group %2 Dec 11 04:%3 build-%4/src/module_%5.cpp")
                   .arg(line % 7 + 1)
                   .arg(4096 * (line + 1) + line * 37, 8)
                   .arg(line % 60, 2, 10, QChar('0'))
                   .arg(line * 13 % 97)
                   .arg(line * 7919 % 1000));
  }
  return img;
}

}  // namespace benchfix
