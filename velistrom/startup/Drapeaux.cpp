#include "velistrom/startup/Drapeaux.h"

#include <QPainter>
#include <QPolygonF>

#include <cmath>

QImage DrapeauFrancais(QSize size) {
  const int w = size.width(), h = size.height();
  QImage img(size, QImage::Format_RGB32);
  QPainter p(&img);
  const QColor bands[3] = {QColor(0x00, 0x23, 0x95), QColor(0xFF, 0xFF, 0xFF), QColor(0xED, 0x29, 0x39)};
  for (int i = 0; i < 3; ++i) {
    const int x0 = i * w / 3, x1 = (i + 1) * w / 3;
    p.fillRect(QRect(x0, 0, x1 - x0, h), bands[i]);
  }
  return img;
}

// Widths follow the 30-unit height of the official pattern: St George's cross
// 6 with white 2 on each side, the white saltire 6, the red saltire 2,
// counterchanged: in each arm it lies on the anticlockwise side of the
// diagonal, so that the broad white is above it in the upper hoist.
QImage DrapeauAnglais(QSize size) {
  const int w = size.width(), h = size.height();
  const double unit = h / 30.0;
  const QPointF c(w / 2.0, h / 2.0);
  const QColor blue(0x01, 0x21, 0x69), red(0xC8, 0x10, 0x2E);
  QImage img(size, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(img.rect(), blue);
  const QPointF corners[4] = {{0, 0}, {double(w), 0}, {double(w), double(h)}, {0, double(h)}};
  const QRectF quadrants[4] = {{0, 0, c.x(), c.y()}, {c.x(), 0, c.x(), c.y()}, {c.x(), c.y(), c.x(), c.y()},
                               {0, c.y(), c.x(), c.y()}};
  // A band along the arm from the centre to corner k, between offsets a and b
  // across it (positive towards the arm's anticlockwise side).
  auto band = [&](int k, double a, double b) {
    const QPointF d0 = corners[k] - c;
    const QPointF u = d0 / std::hypot(d0.x(), d0.y());
    const QPointF n(u.y(), -u.x());  // screen y points down: the anticlockwise side
    const double reach = std::hypot(w, h);
    QPolygonF poly({c + n * a, c + u * reach + n * a, c + u * reach + n * b, c + n * b});
    p.save();
    p.setClipRect(quadrants[k]);
    p.drawPolygon(poly);
    p.restore();
  };
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  for (int k = 0; k < 4; ++k) band(k, -3 * unit, 3 * unit);
  p.setBrush(red);
  for (int k = 0; k < 4; ++k) band(k, 0, 2 * unit);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(QRectF(c.x() - 5 * unit, 0, 10 * unit, h), Qt::white);
  p.fillRect(QRectF(0, c.y() - 5 * unit, w, 10 * unit), Qt::white);
  p.fillRect(QRectF(c.x() - 3 * unit, 0, 6 * unit, h), red);
  p.fillRect(QRectF(0, c.y() - 3 * unit, w, 6 * unit), red);
  return img;
}
