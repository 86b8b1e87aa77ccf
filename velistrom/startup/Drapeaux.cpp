#include "velistrom/startup/Drapeaux.h"

#include <QPainter>
#include <QPainterPath>

QImage DrapeauFrancais(QSize size) {
  QImage img(size, QImage::Format_RGB32);
  QPainter p(&img);
  const int w = size.width(), h = size.height();
  p.fillRect(0, 0, w / 3, h, QColor(0x00, 0x23, 0x95));
  p.fillRect(w / 3, 0, w - 2 * (w / 3), h, Qt::white);
  p.fillRect(w - w / 3, 0, w / 3, h, QColor(0xED, 0x29, 0x39));
  return img;
}

QImage DrapeauAnglais(QSize size) {
  QImage img(size, QImage::Format_RGB32);
  const QColor blue(0x01, 0x21, 0x69), red(0xC8, 0x10, 0x2E);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  // Drawn on the flag's own 60 x 30 grid, stretched to the size asked.
  p.scale(size.width() / 60.0, size.height() / 30.0);
  p.fillRect(QRectF(0, 0, 60, 30), blue);
  p.setPen(QPen(Qt::white, 6));
  p.drawLine(QPointF(0, 0), QPointF(60, 30));
  p.drawLine(QPointF(60, 0), QPointF(0, 30));
  // The red diagonals, offset clockwise in each quarter.
  p.save();
  p.setClipRect(QRectF(0, 0, 30, 15));
  p.setPen(QPen(red, 2));
  p.drawLine(QPointF(0, 1), QPointF(30, 16));
  p.restore();
  p.save();
  p.setClipRect(QRectF(30, 0, 30, 15));
  p.setPen(QPen(red, 2));
  p.drawLine(QPointF(29, 15), QPointF(59, 0));
  p.restore();
  p.save();
  p.setClipRect(QRectF(30, 15, 30, 15));
  p.setPen(QPen(red, 2));
  p.drawLine(QPointF(30, 14), QPointF(60, 29));
  p.restore();
  p.save();
  p.setClipRect(QRectF(0, 15, 30, 15));
  p.setPen(QPen(red, 2));
  p.drawLine(QPointF(1, 30), QPointF(31, 15));
  p.restore();
  p.fillRect(QRectF(25, 0, 10, 30), Qt::white);
  p.fillRect(QRectF(0, 10, 60, 10), Qt::white);
  p.fillRect(QRectF(27, 0, 6, 30), red);
  p.fillRect(QRectF(0, 12, 60, 6), red);
  return img;
}
