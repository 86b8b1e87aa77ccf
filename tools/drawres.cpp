// drawres OUTDIR [NAME...]: draws every picture and sound that ships beside
// the programs, so that the repository holds no binary files. The build passes
// the names it expects; a list that differs from what this tool draws is an
// error, so the two cannot drift apart. Output depends only on this file and
// the Qt version (the flags: velistrom/startup/Drapeaux.cpp): no fonts, no
// clock, a fixed noise seed.
#include "platform/GifWriter.h"
#include "velistrom/startup/Drapeaux.h"

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <QRadialGradient>
#include <QSaveFile>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

// One calm blue palette for everything; the warm red marks destructive
// commands only.
namespace pal {
const QColor deep(0x17, 0x36, 0x5D);
const QColor ink(0x1F, 0x4E, 0x79);
const QColor mid(0x2E, 0x75, 0xB6);
const QColor bright(0x3A, 0x8D, 0xDE);
const QColor soft(0x9D, 0xC3, 0xE6);
const QColor light(0xBD, 0xD7, 0xEE);
const QColor pale(0xDE, 0xEB, 0xF7);
const QColor white(0xFF, 0xFF, 0xFF);
const QColor warm(0xC0, 0x50, 0x4D);
const QColor warmBright(0xD9, 0x4F, 0x4A);
const QColor bandTop(0xEA, 0xF2, 0xFA);
const QColor bandBottom(0xCF, 0xE1, 0xF2);
}  // namespace pal

// ---------------------------------------------------------------- helpers

QImage canvas(int w, int h) {
  QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  return img;
}

QPen stroke(const QColor& c, double width = 1.0) {
  QPen p(c, width);
  p.setCapStyle(Qt::RoundCap);
  p.setJoinStyle(Qt::RoundJoin);
  return p;
}

void box(QPainter& p, const QRectF& r, const QColor& fill, const QColor& edge, double radius = 1.0,
         double width = 1.0) {
  p.setPen(edge.isValid() ? stroke(edge, width) : QPen(Qt::NoPen));
  p.setBrush(fill.isValid() ? QBrush(fill) : QBrush(Qt::NoBrush));
  if (radius > 0)
    p.drawRoundedRect(r, radius, radius);
  else
    p.drawRect(r);
}

void disc(QPainter& p, QPointF c, double r, const QColor& fill, const QColor& edge = QColor(), double width = 1.0) {
  p.setPen(edge.isValid() ? stroke(edge, width) : QPen(Qt::NoPen));
  p.setBrush(fill.isValid() ? QBrush(fill) : QBrush(Qt::NoBrush));
  p.drawEllipse(c, r, r);
}

void segment(QPainter& p, QPointF a, QPointF b, const QColor& c, double width) {
  p.setPen(stroke(c, width));
  p.drawLine(a, b);
}

// Filled triangle with its tip at `tip`, pointing away from `from`.
void arrowHead(QPainter& p, QPointF from, QPointF tip, double length, double half, const QColor& c) {
  const QPointF d = tip - from;
  const double n = std::hypot(d.x(), d.y());
  if (n <= 0) return;
  const QPointF u = d / n;
  const QPointF v(-u.y(), u.x());
  const QPointF base = tip - u * length;
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawPolygon(QPolygonF({tip, base + v * half, base - v * half}));
}

// Straight arrow from a to b (head at b).
void arrow(QPainter& p, QPointF a, QPointF b, const QColor& c, double width, double head) {
  const QPointF d = b - a;
  const double n = std::hypot(d.x(), d.y());
  segment(p, a, b - d / n * (head * 0.8), c, width);
  arrowHead(p, a, b, head, head * 0.62, c);
}

QPointF onCircle(QPointF c, double r, double deg) {
  const double a = deg * kPi / 180.0;
  return {c.x() + r * std::cos(a), c.y() - r * std::sin(a)};
}

// Arc (angles in degrees, counter-clockwise from 3 o'clock, as Qt counts
// them), with an arrow head at its end when head > 0. The head is aimed along
// the chord it covers, so that it sits on the curve rather than on the tangent.
void arcArrow(QPainter& p, QPointF c, double r, double start, double sweep, const QColor& col, double width,
              double head) {
  const double dir = sweep > 0 ? 1.0 : -1.0;
  const double headDeg = head > 0 ? (head / r) * 180.0 / kPi : 0.0;
  QPainterPath path;
  const QRectF rect(c.x() - r, c.y() - r, 2 * r, 2 * r);
  path.arcMoveTo(rect, start);
  path.arcTo(rect, start, sweep - dir * headDeg * 0.8);
  p.setPen(stroke(col, width));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  if (head > 0) {
    const QPointF tip = onCircle(c, r, start + sweep);
    const QPointF base = onCircle(c, r, start + sweep - dir * headDeg);
    arrowHead(p, base, tip, head, head * 0.62, col);
  }
}

QPainter::RenderHints smooth() { return QPainter::Antialiasing | QPainter::SmoothPixmapTransform; }

// ------------------------------------------------------ toolbar glyphs
// Drawn on a 24-unit grid; Face holds the colours of one face of a button.

struct Face {
  QColor ink, fill, accent, paper, warm;
};
const Face kNormal{pal::ink, pal::light, pal::mid, pal::white, pal::warm};
const Face kHover{pal::deep, pal::soft, pal::bright, pal::white, pal::warmBright};

using Glyph = void (*)(QPainter&, const Face&);

void textLines(QPainter& p, double x0, double x1, std::initializer_list<double> ys, const QColor& c) {
  for (double y : ys) segment(p, {x0, y}, {x1, y}, c, 1.0);
}

void gCamera(QPainter& p, const Face& f) {
  QPainterPath hump;
  hump.moveTo(7.5, 8);
  hump.lineTo(9.2, 4.5);
  hump.lineTo(14.8, 4.5);
  hump.lineTo(16.5, 8);
  hump.closeSubpath();
  p.setPen(stroke(f.ink));
  p.setBrush(f.fill);
  p.drawPath(hump);
  box(p, {2.5, 7.5, 19, 12}, f.fill, f.ink, 2);
  disc(p, {12, 13.5}, 4.6, f.paper, f.ink);
  disc(p, {12, 13.5}, 3.0, f.accent);
  disc(p, {11, 12.5}, 0.9, f.paper);
  box(p, {17.5, 9.3, 2.5, 1.6}, f.accent, QColor(), 0);
}

void gDoubleHeight(QPainter& p, const Face& f) {
  box(p, {3.5, 2.5, 12, 19}, f.paper, f.ink, 1);
  p.fillRect(QRectF(4, 3, 11, 8.5), f.fill);
  p.fillRect(QRectF(4, 12.5, 11, 8.5), f.fill);
  QPen dash(f.warm, 1.0);
  dash.setDashPattern({1.5, 1.0});
  p.setPen(dash);
  p.drawLine(QPointF(3.5, 12), QPointF(15.5, 12));
  arrow(p, {19.5, 4}, {19.5, 21}, f.accent, 2.0, 4.5);
}

void gWholeScreen(QPainter& p, const Face& f) {
  box(p, {2.5, 3.5, 19, 13}, f.ink, f.ink, 1.5);
  p.fillRect(QRectF(4, 5, 16, 10), f.fill);
  p.setPen(stroke(f.accent, 1.2));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({{5.5, 9}, {5.5, 6.5}, {8, 6.5}}));
  p.drawPolyline(QPolygonF({{16, 6.5}, {18.5, 6.5}, {18.5, 9}}));
  p.drawPolyline(QPolygonF({{18.5, 11}, {18.5, 13.5}, {16, 13.5}}));
  p.drawPolyline(QPolygonF({{8, 13.5}, {5.5, 13.5}, {5.5, 11}}));
  p.setPen(Qt::NoPen);
  p.setBrush(f.ink);
  p.drawPolygon(QPolygonF({{10.3, 16.5}, {13.7, 16.5}, {14.6, 19.5}, {9.4, 19.5}}));
  segment(p, {7, 20.3}, {17, 20.3}, f.ink, 1.6);
}

void gWindow(QPainter& p, const Face& f) {
  box(p, {2.5, 4.5, 19, 15}, f.paper, f.ink, 1);
  p.fillRect(QRectF(3, 5, 18, 3.5), f.accent);
  for (double x : {15.5, 17.5, 19.5}) disc(p, {x, 6.75}, 0.7, f.paper);
  textLines(p, 5, 12.5, {11.5, 14, 16.5}, f.accent);
  box(p, {14.5, 10.5, 5, 6.5}, f.fill, QColor(), 0);
}

void gReselect(QPainter& p, const Face& f) {
  QPen dash(f.ink, 1.0);
  dash.setDashPattern({1.5, 1.2});
  p.setPen(dash);
  p.setBrush(f.fill);
  p.drawRect(QRectF(2.5, 13.5, 9, 7));
  QPainterPath path;
  path.moveTo(19, 20);
  path.lineTo(19, 13);
  path.quadTo(19, 8.5, 14.5, 8.5);
  path.lineTo(9, 8.5);
  p.setPen(stroke(f.accent, 2.4));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  arrowHead(p, {12, 8.5}, {3, 8.5}, 6, 4, f.accent);
}

void gRepeat(QPainter& p, const Face& f) {
  QPen dash(f.ink, 1.0);
  dash.setDashPattern({2.0, 1.5});
  p.setPen(dash);
  p.setBrush(f.fill);
  p.drawRect(QRectF(2.5, 2.5, 19, 19));
  arcArrow(p, {12, 12}, 6.0, 80, -280, f.accent, 2.2, 4.8);
}

void gTimedRepeat(QPainter& p, const Face& f) {
  disc(p, {12, 12.5}, 6.8, f.paper, f.ink);
  for (int k = 0; k < 4; ++k) {
    const double a = 90.0 * k;
    segment(p, onCircle({12, 12.5}, 5.8, a), onCircle({12, 12.5}, 4.6, a), f.ink, 1.0);
  }
  segment(p, {12, 12.5}, {12, 8.3}, f.ink, 1.4);
  segment(p, {12, 12.5}, {15, 14}, f.ink, 1.4);
  arcArrow(p, {12, 12.5}, 9.6, 120, -300, f.accent, 1.8, 4.0);
}

void gCopy(QPainter& p, const Face& f) {
  box(p, {3.5, 2.5, 11, 14}, f.fill, f.ink, 1);
  box(p, {9.5, 7.5, 11, 14}, f.paper, f.ink, 1);
  textLines(p, 11.5, 18.5, {11, 13.5, 16, 18.5}, f.accent);
}

void gDelete(QPainter& p, const Face& f) {
  box(p, {3.5, 2.5, 12, 17}, f.paper, f.ink, 1);
  textLines(p, 5.5, 13.5, {6, 8.5, 11}, f.accent);
  for (const QColor& c : {f.paper, f.warm}) {
    const double w = c == f.paper ? 5.0 : 2.6;
    segment(p, {13, 13}, {20.5, 20.5}, c, w);
    segment(p, {20.5, 13}, {13, 20.5}, c, w);
  }
}

void gDeleteAll(QPainter& p, const Face& f) {
  p.setPen(stroke(f.ink));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({{9.5, 5}, {9.5, 3}, {14.5, 3}, {14.5, 5}}));
  p.setBrush(f.fill);
  p.drawPolygon(QPolygonF({{6, 8}, {18, 8}, {17, 21.5}, {7, 21.5}}));
  for (double x : {9.5, 12.0, 14.5}) segment(p, {x, 10.5}, {x, 19}, f.ink, 1.0);
  box(p, {3.5, 5, 17, 3}, f.warm, f.ink, 0.8);
}

void floppy(QPainter& p, const Face& f, const QRectF& r) {
  const double w = r.width(), h = r.height();
  box(p, r, f.accent, f.ink, 1.5);
  p.fillRect(QRectF(r.x() + w * 0.24, r.y() + 0.5, w * 0.52, h * 0.34), f.fill);
  p.fillRect(QRectF(r.x() + w * 0.56, r.y() + h * 0.06, w * 0.12, h * 0.22), f.ink);
  box(p, {r.x() + w * 0.16, r.y() + h * 0.52, w * 0.68, h * 0.48 - 0.5}, f.paper, QColor(), 0.5);
  textLines(p, r.x() + w * 0.26, r.right() - w * 0.26, {r.y() + h * 0.68, r.y() + h * 0.84}, f.fill);
}

void gSave(QPainter& p, const Face& f) { floppy(p, f, {3.5, 3.5, 17, 17}); }

void gSaveAll(QPainter& p, const Face& f) {
  floppy(p, f, {2.5, 2.5, 13, 13});
  floppy(p, f, {8.5, 8.5, 13, 13});
}

void gPrint(QPainter& p, const Face& f) {
  box(p, {7.5, 2.5, 9, 7}, f.paper, f.ink, 0);
  box(p, {2.5, 8.5, 19, 9}, f.fill, f.ink, 2);
  segment(p, {5, 14.5}, {19, 14.5}, f.ink, 1.0);
  disc(p, {18.3, 11.3}, 0.9, f.accent);
  box(p, {6.5, 13.5, 11, 8}, f.paper, f.ink, 0);
  textLines(p, 8.5, 15.5, {16.5, 18.8}, f.accent);
}

void gEdit(QPainter& p, const Face& f) {
  box(p, {2.5, 6.5, 15, 14}, f.paper, f.ink, 1);
  p.setPen(Qt::NoPen);
  p.setBrush(f.fill);
  p.drawPolygon(QPolygonF({{3, 20}, {7.5, 13}, {10.5, 16.5}, {12.5, 14.5}, {17, 20}}));
  disc(p, {7, 10}, 1.5, f.accent);
  p.save();
  p.translate(15.5, 9);
  p.rotate(45);
  box(p, {-1.9, -6.5, 3.8, 9.5}, f.accent, f.ink, 0.5);
  box(p, {-1.9, -8, 3.8, 1.8}, f.warm, f.ink, 0.5);
  p.setPen(stroke(f.ink));
  p.setBrush(QColor(0xF4, 0xD9, 0xB0));
  p.drawPolygon(QPolygonF({{-1.9, 3}, {1.9, 3}, {0, 6.8}}));
  disc(p, {0, 6.2}, 0.6, f.ink);
  p.restore();
}

void gMultiSel(QPainter& p, const Face& f) {
  QPen dash(f.ink, 1.0);
  dash.setDashPattern({1.5, 1.2});
  for (const QRectF& r : {QRectF(2.5, 2.5, 10, 7), QRectF(7.5, 8.5, 10, 7)}) {
    p.setPen(dash);
    p.setBrush(f.fill);
    p.drawRect(r);
  }
  box(p, {12.5, 14.5, 9, 7}, f.accent, f.ink, 0);
  for (QPointF c : {QPointF(12.5, 14.5), QPointF(21.5, 14.5), QPointF(12.5, 21.5), QPointF(21.5, 21.5)})
    box(p, {c.x() - 1, c.y() - 1, 2, 2}, f.paper, f.ink, 0, 0.8);
}

void gEnlarge(QPainter& p, const Face& f) {
  box(p, {7.5, 7.5, 9, 9}, f.fill, f.ink, 0.5);
  arrow(p, {8, 8}, {2.5, 2.5}, f.accent, 1.8, 4.2);
  arrow(p, {16, 8}, {21.5, 2.5}, f.accent, 1.8, 4.2);
  arrow(p, {8, 16}, {2.5, 21.5}, f.accent, 1.8, 4.2);
  arrow(p, {16, 16}, {21.5, 21.5}, f.accent, 1.8, 4.2);
}

void gThumbnails(QPainter& p, const Face& f) {
  box(p, {5.5, 1.5, 13, 21}, f.ink, f.ink, 0.5);
  for (double y = 2.6; y < 21.5; y += 3.0) {
    p.fillRect(QRectF(6.5, y, 1.3, 1.6), f.paper);
    p.fillRect(QRectF(16.2, y, 1.3, 1.6), f.paper);
  }
  for (double y : {3.0, 9.0, 15.0}) box(p, {8.8, y, 6.4, 5.2}, f.fill, QColor(), 0);
  box(p, {8.8, 9.0, 6.4, 5.2}, f.accent, QColor(), 0);
}

void gWrench(QPainter& p, const Face& f) {
  const QPointF head(15.5, 8.5);
  QPainterPath shape;
  shape.addEllipse(head, 5.2, 5.2);
  QPainterPath handleLine;
  handleLine.moveTo(head);
  handleLine.lineTo(5, 19);
  QPainterPathStroker stroker;
  stroker.setWidth(3.8);
  stroker.setCapStyle(Qt::RoundCap);
  shape = shape.united(stroker.createStroke(handleLine));
  QTransform t;
  t.translate(head.x(), head.y());
  t.rotate(-45);
  QPainterPath jaw;
  jaw.addPolygon(t.map(QPolygonF(QRectF(0, -1.9, 8, 3.8))));
  jaw.closeSubpath();
  QPainterPath hole;
  hole.addEllipse(QPointF(6.2, 17.8), 1.0, 1.0);
  shape = shape.subtracted(jaw).subtracted(hole);
  p.setPen(stroke(f.ink));
  p.setBrush(f.accent);
  p.drawPath(shape);
}

void gAbout(QPainter& p, const Face& f) {
  disc(p, {12, 12}, 9.5, f.accent, f.ink);
  disc(p, {12, 7.2}, 1.7, f.paper);
  box(p, {10.6, 10, 2.8, 8.5}, f.paper, QColor(), 1);
}

void gQuit(QPainter& p, const Face& f) {
  arcArrow(p, {12, 13}, 7.5, 60, -300, f.warm, 2.6, 0);
  segment(p, {12, 3.5}, {12, 11.5}, f.warm, 2.6);
}

struct ToolButton {
  const char* normal;  // file stems, without ".bmp"
  const char* hover;
  Glyph glyph;
};

// In toolbar order: button i shows table entry i.
const ToolButton kToolbar[20] = {
    {"camera", "camerac", gCamera},             {"camerag", "cameragc", gDoubleHeight},
    {"toutecran", "toutecranc", gWholeScreen},  {"camerafen", "camerafenc", gWindow},
    {"undox", "undocx", gReselect},             {"moverbox", "moverboxc", gRepeat},
    {"moverboxtim", "moverboxtimc", gTimedRepeat}, {"copy", "copyc", gCopy},
    {"deletex", "deletecx", gDelete},           {"waste", "wastec", gDeleteAll},
    {"savex", "savecx", gSave},                 {"saveallx", "saveallcx", gSaveAll},
    {"printerx", "printercx", gPrint},          {"paintx", "paintcx", gEdit},
    {"multiselx", "multiselcx", gMultiSel},     {"agrandir", "agrandirc", gEnlarge},
    {"filmx", "filmcx", gThumbnails},           {"wrench", "wrenchc", gWrench},
    {"report", "reportc", gAbout},              {"closex", "closecx", gQuit},
};

// 24 px fits twenty buttons 50 twips apart inside the 10000-twip window that
// follows a region capture.
constexpr int kButton = 24;

void paintBand(QPainter& p, int w, int h) {
  QLinearGradient g(0, 0, 0, h);
  g.setColorAt(0, pal::bandTop);
  g.setColorAt(1, pal::bandBottom);
  p.fillRect(QRect(0, 0, w, h), g);
}

QImage toolbarFace(Glyph glyph, bool hover) {
  QImage img(kButton, kButton, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHints(smooth());
  paintBand(p, kButton, kButton);
  if (hover) {
    QLinearGradient g(0, 0, 0, kButton);
    g.setColorAt(0, pal::white);
    g.setColorAt(1, QColor(0xE3, 0xF0, 0xFC));
    p.setPen(stroke(QColor(0x5B, 0x9B, 0xD5)));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, kButton - 1, kButton - 1), 3, 3);
  }
  p.scale(kButton / 24.0, kButton / 24.0);
  glyph(p, hover ? kHover : kNormal);
  return img;
}

QImage fillerTile() {
  QImage img(kButton, kButton, QImage::Format_RGB32);
  QPainter p(&img);
  paintBand(p, kButton, kButton);
  return img;
}

// ------------------------------------------------------------- emblem

// The product's mark: selection corners around a lens, on a 64-unit grid.
void drawEmblem(QPainter& p) {
  QLinearGradient g(0, 2, 0, 62);
  g.setColorAt(0, QColor(0x3A, 0x86, 0xC8));
  g.setColorAt(1, pal::ink);
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawRoundedRect(QRectF(2, 2, 60, 60), 13, 13);
  QPen corner(pal::white, 4.2);
  corner.setCapStyle(Qt::SquareCap);
  corner.setJoinStyle(Qt::MiterJoin);
  p.setPen(corner);
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({{12, 22}, {12, 12}, {22, 12}}));
  p.drawPolyline(QPolygonF({{42, 12}, {52, 12}, {52, 22}}));
  p.drawPolyline(QPolygonF({{52, 42}, {52, 52}, {42, 52}}));
  p.drawPolyline(QPolygonF({{22, 52}, {12, 52}, {12, 42}}));
  QRadialGradient iris(QPointF(29, 29), 13);
  iris.setColorAt(0, pal::pale);
  iris.setColorAt(1, pal::soft);
  p.setPen(QPen(pal::white, 3.6));
  p.setBrush(iris);
  p.drawEllipse(QPointF(32, 32), 11.5, 11.5);
  disc(p, {32, 32}, 5, pal::deep);
  disc(p, {29.2, 29.2}, 2, pal::white);
}

QImage appIcon(int size) {
  QImage img = canvas(size, size);
  QPainter p(&img);
  p.setRenderHints(smooth());
  p.scale(size / 64.0, size / 64.0);
  drawEmblem(p);
  return img;
}

// Kept in the overlay's bottom-right corner: a lens and a closing selection
// corner, on a transparent ground.
QImage cornerDecoration() {
  QImage img = canvas(56, 61);
  QPainter p(&img);
  p.setRenderHints(smooth());
  const QPolygonF bracket({{51, 18}, {51, 56}, {13, 56}});
  for (const auto& [c, w] : {std::pair{pal::ink, 8.0}, std::pair{pal::white, 4.0}}) {
    QPen pen(c, w);
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setCapStyle(Qt::SquareCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(bracket);
  }
  QRadialGradient iris(QPointF(23, 27), 15);
  iris.setColorAt(0, pal::bright);
  iris.setColorAt(1, pal::ink);
  p.setPen(QPen(pal::white, 3));
  p.setBrush(iris);
  p.drawEllipse(QPointF(27, 31), 14, 14);
  disc(p, {27, 31}, 5.5, pal::deep, pal::soft, 1.2);
  disc(p, {23.5, 27.5}, 2.2, pal::white);
  return img;
}

// Shown by the GIF maker when a folder holds no GIF it can use: a strip of
// film frames, struck through. No words, so one drawing serves every
// language. 4000 x 5000 twips, opaque.
QImage noGifPicture() {
  QImage img(266, 333, QImage::Format_RGB32);
  img.fill(pal::white);
  QPainter p(&img);
  p.setRenderHints(smooth());
  const QRectF strip(33, 96, 200, 140);
  p.setPen(Qt::NoPen);
  p.setBrush(pal::ink);
  p.drawRoundedRect(strip, 10, 10);
  p.setBrush(pal::white);
  for (int k = 0; k < 8; ++k) {
    p.drawRect(QRectF(strip.left() + 12 + k * 23, strip.top() + 9, 11, 11));
    p.drawRect(QRectF(strip.left() + 12 + k * 23, strip.bottom() - 20, 11, 11));
  }
  p.setBrush(pal::soft);
  for (int k = 0; k < 3; ++k)
    p.drawRect(QRectF(strip.left() + 14 + k * 59, strip.top() + 30, 52, 80));
  QPen cross(pal::warm, 14);
  cross.setCapStyle(Qt::RoundCap);
  p.setPen(cross);
  p.drawLine(QPointF(40, 266), QPointF(226, 66));
  return img;
}

bool writeGif(const QString& path, const QImage& img) {
  QSaveFile f(path);
  return f.open(QIODevice::WriteOnly) &&
         platform::writeGif(img, f) == platform::ImageStatus::Ok && f.commit();
}

// Shown by the posting program's previews when there is no picture to show:
// a pale card with a crossed-out picture frame, opaque (a JPEG).
QImage noPreview() {
  QImage img(70, 70, QImage::Format_RGB32);
  img.fill(pal::pale);
  QPainter p(&img);
  p.setRenderHints(smooth());
  p.setPen(QPen(pal::soft, 3));
  p.setBrush(pal::white);
  p.drawRoundedRect(QRectF(14, 18, 42, 34), 3, 3);
  p.setPen(QPen(pal::light, 2));
  p.setBrush(pal::light);
  p.drawPolygon(QPolygonF({{18, 48}, {30, 32}, {38, 42}, {44, 36}, {52, 48}}));
  p.setPen(QPen(pal::warm, 4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(16, 56), QPointF(54, 14));
  return img;
}

// ------------------------------------------------------------- shutter

// The camera's iris: six blades around a bright hexagonal opening.
QImage shutterPicture() {
  const int s = 120;
  const QPointF c(s / 2.0, s / 2.0);
  QImage img(s, s, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHints(smooth());
  QLinearGradient back(0, 0, 0, s);
  back.setColorAt(0, pal::ink);
  back.setColorAt(1, pal::deep);
  p.fillRect(img.rect(), back);
  const double outer = 50, blades = 47, opening = 15;
  disc(p, c, outer, QColor(0x0F, 0x27, 0x40), pal::soft, 2.5);
  std::vector<QPointF> v(6), e(6);
  for (int k = 0; k < 6; ++k) v[k] = onCircle(c, opening, 60.0 * k + 15);
  for (int k = 0; k < 6; ++k) {
    // Side k of the opening, carried on past its end until it meets the rim.
    const QPointF d0 = v[(k + 1) % 6] - v[k];
    const QPointF d = d0 / std::hypot(d0.x(), d0.y());
    const QPointF b = v[(k + 1) % 6] - c;
    const double bd = b.x() * d.x() + b.y() * d.y();
    const double t = -bd + std::sqrt(bd * bd - (b.x() * b.x() + b.y() * b.y()) + blades * blades);
    e[k] = c + b + d * t;
  }
  const QColor shades[2] = {pal::mid, QColor(0x28, 0x66, 0xA0)};
  for (int k = 0; k < 6; ++k) {
    QPolygonF blade;
    blade << v[(k + 1) % 6] << e[k];
    const double a0 = std::atan2(-(e[k].y() - c.y()), e[k].x() - c.x());
    double a1 = std::atan2(-(e[(k + 1) % 6].y() - c.y()), e[(k + 1) % 6].x() - c.x());
    while (a1 < a0) a1 += 2 * kPi;
    for (int i = 1; i < 16; ++i) {
      const double a = a0 + (a1 - a0) * i / 16.0;
      blade << QPointF(c.x() + blades * std::cos(a), c.y() - blades * std::sin(a));
    }
    blade << e[(k + 1) % 6];
    p.setPen(stroke(pal::deep, 1.4));
    p.setBrush(shades[k % 2]);
    p.drawPolygon(blade);
  }
  QRadialGradient glow(c - QPointF(4, 4), opening * 1.4);
  glow.setColorAt(0, pal::white);
  glow.setColorAt(1, pal::soft);
  p.setPen(stroke(pal::deep, 1.4));
  p.setBrush(glow);
  p.drawPolygon(QPolygonF(QVector<QPointF>(v.begin(), v.end())));
  return img;
}

// ------------------------------------------------------- thumbnail marks

QImage savedMark() {  // 255 x 255 twips
  QImage img = canvas(17, 17);
  QPainter p(&img);
  p.setRenderHints(smooth());
  disc(p, {8.5, 8.5}, 7.6, pal::mid, pal::ink);
  p.setPen(stroke(pal::white, 2.0));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({{4.8, 8.9}, {7.4, 11.5}, {12.3, 5.8}}));
  return img;
}

QImage mailMark() {  // 200 x 150 twips
  QImage img = canvas(13, 10);
  QPainter p(&img);
  p.setRenderHints(smooth());
  box(p, {0.5, 0.5, 12, 9}, pal::white, pal::mid, 0);
  p.setPen(stroke(pal::mid));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({{0.8, 0.8}, {6.5, 5.6}, {12.2, 0.8}}));
  return img;
}

QImage slideArrow() {  // points left: the list window slides off that way
  QImage img = canvas(16, 16);
  QPainter p(&img);
  p.setRenderHints(smooth());
  p.setPen(stroke(pal::mid, 2.2));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({{8.5, 3}, {3.5, 8}, {8.5, 13}}));
  p.drawPolyline(QPolygonF({{13.5, 3}, {8.5, 8}, {13.5, 13}}));
  return img;
}

// ------------------------------------------------------- overlay pictures

// Pointer over the frozen screen: a cross-hair with a white rim, so that it
// shows on dark and light ground alike. Hotspot (16, 16).
QImage crossCursor() {
  QImage img = canvas(32, 32);
  QPainter p(&img);
  const QColor core(0x0F, 0x27, 0x40), rim = Qt::white;
  const QRect arms[4] = {{16, 1, 1, 11}, {16, 21, 1, 11}, {1, 16, 11, 1}, {21, 16, 11, 1}};
  for (const QRect& r : arms) p.fillRect(r.adjusted(-1, -1, 1, 1), rim);
  p.fillRect(QRect(15, 15, 3, 3), rim);
  for (const QRect& r : arms) p.fillRect(r, core);
  p.fillRect(QRect(16, 16, 1, 1), core);
  return img;
}

QImage validateButton() {
  QImage img = canvas(32, 32);
  QPainter p(&img);
  p.setRenderHints(smooth());
  QLinearGradient g(0, 1, 0, 31);
  g.setColorAt(0, pal::bright);
  g.setColorAt(1, pal::ink);
  p.setPen(stroke(pal::deep));
  p.setBrush(g);
  p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 50));
  p.drawRoundedRect(QRectF(3, 3, 26, 12), 5, 5);
  p.setPen(stroke(pal::white, 3.4));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({{8.5, 16.5}, {13.5, 21.5}, {23.5, 10.5}}));
  return img;
}

// Key names drawn as strokes, so the picture needs no font.
QPainterPath keyGlyph(char ch) {
  QPainterPath g;
  switch (ch) {
    case 'F':
      g.moveTo(0, 10);
      g.lineTo(0, 0);
      g.lineTo(6, 0);
      g.moveTo(0, 4.8);
      g.lineTo(4.6, 4.8);
      break;
    case '6':
      g.moveTo(5.6, 1.3);
      g.cubicTo(4.6, -0.2, 0.9, -0.5, 0.2, 3.6);
      g.lineTo(0.1, 7.0);
      g.addEllipse(QRectF(0.1, 4.3, 5.8, 5.7));
      break;
    case '7':
      g.moveTo(0, 0);
      g.lineTo(6, 0);
      g.lineTo(2.2, 10);
      break;
    case '8':
      g.addEllipse(QRectF(0.5, 0, 5, 4.6));
      g.addEllipse(QRectF(0, 4.6, 6, 5.4));
      break;
    case '9':
      g.addEllipse(QRectF(0.1, 0, 5.8, 5.7));
      g.moveTo(5.9, 2.9);
      g.lineTo(5.8, 6.6);
      g.cubicTo(5.4, 10.3, 1.3, 10.5, 0.4, 8.7);
      break;
    case '^':  // the Shift key's outlined arrow
      g.moveTo(3, 0);
      g.lineTo(7, 4.6);
      g.lineTo(5, 4.6);
      g.lineTo(5, 10);
      g.lineTo(1, 10);
      g.lineTo(1, 4.6);
      g.lineTo(-1, 4.6);
      g.closeSubpath();
      break;
    default:
      break;
  }
  return g;
}

// A key cap with its name at (x, y), glyphs 20 px high; returns its width.
double keyCap(QPainter& p, double x, double y, const char* name) {
  const double scale = 2.0, advance = 16.0, pad = 8.0;
  double textWidth = 0;
  for (const char* s = name; *s; ++s) textWidth += (*s == '^' ? 20.0 : advance);
  textWidth -= 4.0;
  const double capWidth = textWidth + 2 * pad;
  box(p, {x, y, capWidth, 32}, pal::white, pal::ink, 5, 1.6);
  p.fillRect(QRectF(x + 2, y + 27, capWidth - 4, 3), pal::pale);
  double cx = x + pad + (*name == '^' ? 2.0 : 0.0);
  for (const char* s = name; *s; ++s) {
    QTransform t;
    t.translate(cx, y + 6);
    t.scale(scale, scale);
    p.setPen(stroke(pal::deep, 2.4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(t.map(keyGlyph(*s)));
    cx += (*s == '^' ? 20.0 : advance);
  }
  return capWidth;
}

// A landscape cut in two at the seam, as the double-height view shows two
// grabs one below the other.
void landscape(QPainter& p, const QRectF& r) {
  p.save();
  p.setClipRect(r);
  QLinearGradient sky(r.topLeft(), r.bottomLeft());
  sky.setColorAt(0, QColor(0x7F, 0xB2, 0xE0));
  sky.setColorAt(0.55, pal::pale);
  p.fillRect(r, sky);
  disc(p, {r.x() + r.width() * 0.72, r.y() + 40}, 16, QColor(0xFC, 0xEB, 0xB0));
  auto at = [&](double fx, double fy) { return QPointF(r.x() + r.width() * fx, r.y() + r.height() * fy); };
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x5B, 0x8D, 0xB8));
  p.drawPolygon(QPolygonF({at(0, 0.62), at(0.22, 0.30), at(0.38, 0.48), at(0.58, 0.22), at(0.82, 0.50),
                           at(1, 0.40), at(1, 0.75), at(0, 0.75)}));
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygonF({at(0.22, 0.30), at(0.27, 0.355), at(0.24, 0.35), at(0.205, 0.37), at(0.18, 0.35)}));
  p.drawPolygon(QPolygonF({at(0.58, 0.22), at(0.65, 0.30), at(0.61, 0.29), at(0.57, 0.31), at(0.52, 0.28)}));
  p.setBrush(QColor(0x3E, 0x6E, 0x99));
  p.drawPolygon(QPolygonF({at(0, 0.78), at(0.30, 0.56), at(0.50, 0.70), at(0.72, 0.58), at(1, 0.76),
                           at(1, 0.80), at(0, 0.80)}));
  QLinearGradient lake(at(0, 0.8), at(0, 1));
  lake.setColorAt(0, pal::soft);
  lake.setColorAt(1, pal::mid);
  p.fillRect(QRectF(at(0, 0.8), at(1, 1)), lake);
  for (int i = 0; i < 6; ++i)
    segment(p, at(0.1 + 0.13 * i, 0.85 + 0.025 * (i % 3)), at(0.18 + 0.13 * i, 0.85 + 0.025 * (i % 3)),
            QColor(255, 255, 255, 140), 1.5);
  p.restore();
}

// Help on the double-height keys: F9 and F8 scroll, F7 and F6 trim the seam,
// Shift with F7 or F6 undoes a trim; close box top right.
QImage doubleHeightHelp() {
  const int w = 380, h = 434;
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(pal::white);
  QPainter p(&img);
  p.setRenderHints(smooth());
  box(p, {1, 1, w - 2.0, h - 2.0}, QColor(0xF4, 0xF8, 0xFC), pal::mid, 8, 2);

  // Close box.
  box(p, {350, 8, 22, 22}, pal::white, pal::ink, 3, 1.4);
  segment(p, {355.5, 13.5}, {366.5, 24.5}, pal::warm, 2.2);
  segment(p, {366.5, 13.5}, {355.5, 24.5}, pal::warm, 2.2);

  const QRectF photo(22, 64, 228, 306);
  const double seam = photo.y() + photo.height() / 2;
  landscape(p, photo);
  box(p, photo, QColor(), pal::ink, 0, 1.5);
  p.fillRect(QRectF(photo.x(), seam - 2, photo.width(), 4), pal::white);
  QPen dash(pal::warm, 2.0);
  dash.setDashPattern({4, 3});
  p.setPen(dash);
  p.drawLine(QPointF(14, seam), QPointF(338, seam));

  // Scrolling: F9 above the picture pointing down, F8 below pointing up.
  const double midX = photo.x() + photo.width() / 2;
  keyCap(p, midX - 48, 16, "F9");
  arrow(p, {midX + 16, 14}, {midX + 16, 58}, pal::mid, 4, 13);
  keyCap(p, midX - 48, h - 50.0, "F8");
  arrow(p, {midX + 16, h - 6.0}, {midX + 16, h - 60.0}, pal::mid, 4, 13);

  // Seam trimming, right of the picture.
  const double col = 262, arrowX = 352;
  keyCap(p, col, 80, "^F7");
  arrow(p, {arrowX, 120}, {arrowX, 80}, pal::mid, 3, 11);
  keyCap(p, col, 150, "F7");
  arrow(p, {arrowX, 140}, {arrowX, seam - 3}, pal::bright, 4, 13);
  keyCap(p, col, seam + 40, "F6");
  arrow(p, {arrowX, seam + 84}, {arrowX, seam + 3}, pal::bright, 4, 13);
  keyCap(p, col, seam + 110, "^F6");
  arrow(p, {arrowX, seam + 104}, {arrowX, seam + 144}, pal::mid, 3, 11);
  return img;
}

// ---------------------------------------------------------------- sounds

constexpr int kRate = 44100;

// Fixed-seed noise: the same bytes on every build.
struct Noise {
  uint32_t state = 0x9E3779B9u;
  double next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return (state / 4294967295.0) * 2.0 - 1.0;
  }
};

std::vector<double> silence(double seconds) { return std::vector<double>(size_t(seconds * kRate), 0.0); }

// One mechanical click at `at` seconds: a bright noise burst, a metallic ring
// and a low thump, each dying away on its own time.
void addClick(std::vector<double>& s, double at, double level, double ringHz, double thumpHz, Noise& noise) {
  double prev = 0, hp = 0;
  for (size_t i = size_t(at * kRate); i < s.size(); ++i) {
    const double t = double(i) / kRate - at;
    const double n = noise.next();
    hp = 0.85 * (hp + n - prev);  // high-pass: a crisp click, not a hiss
    prev = n;
    s[i] += level * (0.9 * hp * std::exp(-t / 0.004) + 0.45 * std::sin(2 * kPi * ringHz * t) * std::exp(-t / 0.012) +
                     0.5 * std::sin(2 * kPi * thumpHz * t) * std::exp(-t / 0.025));
  }
}

void fadeOut(std::vector<double>& s, double seconds) {
  const size_t n = std::min(s.size(), size_t(seconds * kRate));
  for (size_t i = 0; i < n; ++i) s[s.size() - 1 - i] *= double(i) / n;
}

std::vector<double> shutterSound() {  // ~0.3 s: the shutter opens, then closes
  std::vector<double> s = silence(0.30);
  Noise noise;
  addClick(s, 0.0, 0.75, 1800, 150, noise);
  addClick(s, 0.105, 0.60, 1350, 120, noise);
  fadeOut(s, 0.02);
  return s;
}

std::vector<double> tickSound() {  // soft, short: one shot of a series
  std::vector<double> s = silence(0.08);
  Noise noise;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = double(i) / kRate;
    s[i] = 0.30 * std::sin(2 * kPi * 2400 * t) * std::exp(-t / 0.008) +
           0.14 * std::sin(2 * kPi * 1200 * t) * std::exp(-t / 0.014) + 0.08 * noise.next() * std::exp(-t / 0.0015);
  }
  fadeOut(s, 0.01);
  return s;
}

void put16(QByteArray& b, uint16_t v) {
  b.append(char(v & 0xFF));
  b.append(char(v >> 8));
}
void put32(QByteArray& b, uint32_t v) {
  put16(b, uint16_t(v & 0xFFFF));
  put16(b, uint16_t(v >> 16));
}

// 16-bit mono PCM in a RIFF/WAVE container.
QByteArray wavFile(const std::vector<double>& samples) {
  const uint32_t dataBytes = uint32_t(samples.size() * 2);
  QByteArray b;
  b.append("RIFF");
  put32(b, 36 + dataBytes);
  b.append("WAVEfmt ");
  put32(b, 16);
  put16(b, 1);  // PCM
  put16(b, 1);  // mono
  put32(b, kRate);
  put32(b, kRate * 2);
  put16(b, 2);
  put16(b, 16);
  b.append("data");
  put32(b, dataBytes);
  for (double v : samples) put16(b, uint16_t(int16_t(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0))));
  return b;
}

// ---------------------------------------------------------------- output

bool writeBytes(const QString& path, const QByteArray& bytes) {
  QSaveFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.commit();
}

// Toolbar bitmaps are 24-bit BMP, which Qt writes for any image without a
// palette.
bool writeBmp(const QString& path, const QImage& img) {
  return img.convertToFormat(QImage::Format_RGB32).save(path, "BMP");
}

bool writePng(const QString& path, const QImage& img) { return img.save(path, "PNG"); }

using Writer = std::function<bool(const QString&)>;

std::map<std::string, Writer> allResources() {
  std::map<std::string, Writer> out;
  auto png = [&](const char* name, std::function<QImage()> draw) {
    out[name] = [draw](const QString& path) { return writePng(path, draw()); };
  };
  for (const ToolButton& b : kToolbar) {
    const Glyph g = b.glyph;
    out[std::string(b.normal) + ".bmp"] = [g](const QString& path) { return writeBmp(path, toolbarFace(g, false)); };
    out[std::string(b.hover) + ".bmp"] = [g](const QString& path) { return writeBmp(path, toolbarFace(g, true)); };
  }
  out["toutbleu.bmp"] = [](const QString& path) { return writeBmp(path, fillerTile()); };
  png("velistrom.png", [] { return appIcon(64); });
  png("velistrom_22.png", [] { return appIcon(22); });
  png("camera_shutter.png", shutterPicture);
  out["camera.wav"] = [](const QString& path) { return writeBytes(path, wavFile(shutterSound())); };
  out["Capture.wav"] = [](const QString& path) { return writeBytes(path, wavFile(tickSound())); };
  png("mark_saved.png", savedMark);
  png("mark_mail.png", mailMark);
  png("slide_arrow.png", slideArrow);
  // Portrait 1500 x 1995 twips and landscape 1995 x 1500, as the start-up form shows them.
  png("flag_fr.png", [] { return DrapeauFrancais(QSize(100, 133)); });
  png("flag_en.png", [] { return DrapeauAnglais(QSize(133, 100)); });
  png("cursor_cross.png", crossCursor);
  png("valid_button.png", validateButton);
  png("dblheight_help.png", doubleHeightHelp);
  png("corner_deco.png", cornerDecoration);
  // The names are language text 258 of each language file.
  for (const char* name : {"nogif_en.gif", "pasdegif.gif"})
    out[name] = [](const QString& path) { return writeGif(path, noGifPicture()); };
  out["MinIndisp.jpg"] = [](const QString& path) { return noPreview().save(path, "JPG", 90); };
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: drawres OUTDIR [NAME...]\n");
    return 2;
  }
  const QString outDir = QString::fromLocal8Bit(argv[1]);
  const std::map<std::string, Writer> resources = allResources();

  if (argc > 2) {
    std::set<std::string> expected(argv + 2, argv + argc);
    bool same = expected.size() == resources.size();
    for (const auto& [name, writer] : resources)
      if (!expected.count(name)) {
        std::fprintf(stderr, "drawres: %s is drawn but not expected by the build\n", name.c_str());
        same = false;
      }
    for (const std::string& name : expected)
      if (!resources.count(name)) {
        std::fprintf(stderr, "drawres: %s is expected by the build but not drawn\n", name.c_str());
        same = false;
      }
    if (!same) return 1;
  }

  if (!QDir().mkpath(outDir)) {
    std::fprintf(stderr, "drawres: %s cannot be created\n", argv[1]);
    return 1;
  }
  int failures = 0;
  for (const auto& [name, writer] : resources) {
    const QString path = outDir + "/" + QString::fromStdString(name);
    if (!writer(path)) {
      std::fprintf(stderr, "drawres: %s cannot be written\n", qPrintable(path));
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
