#include "platform/WindowMask.h"

#include "platform/X11Display.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QMoveEvent>
#include <QPaintEvent>
#include <QPointer>
#include <QResizeEvent>
#include <QTimer>
#include <QWidget>

#include <vector>

// Xlib last: its macros clash with C++ and Qt headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

namespace platform {

QRegion regionWithoutColour(const QImage& source, QRgb key) {
  QRegion region;
  if (source.isNull()) return region;
  const QImage image = source.convertToFormat(QImage::Format_RGB32);
  const QRgb wanted = key | 0xff000000u;
  std::vector<QRect> rects;
  std::vector<std::pair<int, int>> prevRuns, runs;  // [x0, x1) of the current band
  size_t bandStart = 0;                               // first rect of the current band
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    runs.clear();
    for (int x = 0; x < image.width();) {
      if ((line[x] | 0xff000000u) == wanted) {
        ++x;
        continue;
      }
      const int x0 = x;
      while (x < image.width() && (line[x] | 0xff000000u) != wanted) ++x;
      runs.emplace_back(x0, x);
    }
    if (y > 0 && runs == prevRuns) {
      for (size_t i = bandStart; i < rects.size(); ++i) rects[i].setBottom(y);  // band grows
      continue;
    }
    bandStart = rects.size();
    for (const auto& [x0, x1] : runs) rects.emplace_back(x0, y, x1 - x0, 1);
    prevRuns = runs;
  }
  if (!rects.empty()) region.setRects(rects.data(), int(rects.size()));
  return region;
}

namespace {

const char* const kName = "platform_colourKey";

// Watches a window and every widget in it; owned by the window.
class ColourKey : public QObject {
 public:
  ColourKey(QWidget* window, QRgb key) : QObject(window), window_(window), key_(key) {
    setObjectName(kName);
    timer_.setSingleShot(true);
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { rebuild(); });
    watch(window);
  }

  ~ColourKey() override {
    if (window_) applyShape(QRegion(), true);
  }

  void setKey(QRgb key) {
    key_ = key;
    applied_ = false;  // every pixel is looked at again
    rebuild();
  }

  // The shape from the rendered window: all of it after a new size, native
  // window or key, else only the part repainted since the last time (adding a
  // row to a long list repaints a few controls, not the whole window).
  void rebuild() {
    timer_.stop();
    if (!window_ || window_->size().isEmpty()) return;
    const QRect whole = window_->rect();
    const bool all = !applied_ || whole.size() != shapedSize_;
    const QRect part = all ? whole : dirty_.boundingRect() & whole;
    dirty_ = QRegion();
    if (part.isEmpty()) return;
    const qreal dpr = window_->devicePixelRatioF();
    QImage image((QSizeF(part.size()) * dpr).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(key_);
    rendering_ = true;
    window_->render(&image, QPoint(), QRegion(part), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    rendering_ = false;
    const QPoint at = (QPointF(part.topLeft()) * dpr).toPoint();
    const QRegion seen = regionWithoutColour(image, key_).translated(at);
    if (all) {
      shapedSize_ = whole.size();
      applyShape(seen, false);
    } else {
      applyShape((shape_ - QRect(at, image.size())) | seen, false);
    }
  }

  QRegion shape() const { return shape_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::ChildAdded:
        if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child()))
          watch(child);
        break;
      case QEvent::Paint:
        if (!rendering_ && window_) {
          const QWidget* w = static_cast<QWidget*>(watched);
          // A scrolled view moves its pixels and repaints only the strip it uncovers.
          const bool view = w->parentWidget() && qobject_cast<QAbstractScrollArea*>(w->parentWidget());
          const QRegion region = view ? QRegion(w->rect()) : static_cast<QPaintEvent*>(event)->region();
          dirty_ += region.translated(w->mapTo(window_, QPoint()));
          timer_.start();
        }
        break;
      case QEvent::Show:
        // Shaped before it is mapped, so the key colour never flashes up.
        if (watched == window_ && !rendering_) {
          applied_ = false;
          rebuild();
        }
        break;
      case QEvent::Resize:
      case QEvent::WinIdChange:
        if (watched == window_) {
          applied_ = false;  // a new native window has no shape yet
          timer_.start();
          break;
        }
        [[fallthrough]];
      case QEvent::Move:
      case QEvent::Hide:
        // A child moved or resized keeps its pixels (they are copied, not
        // repainted), and one that hides uncovers what is below it: where it
        // was and where it is.
        if (watched != window_ && window_ && !rendering_ &&
            (event->type() == QEvent::Hide || static_cast<QWidget*>(watched)->isVisible())) {
          const auto* w = static_cast<QWidget*>(watched);
          QRect was = w->geometry();
          if (event->type() == QEvent::Move) was.moveTopLeft(static_cast<QMoveEvent*>(event)->oldPos());
          if (event->type() == QEvent::Resize) was.setSize(static_cast<QResizeEvent*>(event)->oldSize());
          if (const QWidget* parent = w->parentWidget()) {
            const QPoint origin = parent->mapTo(window_, QPoint());
            dirty_ += was.translated(origin);
            dirty_ += w->geometry().translated(origin);
          }
          timer_.start();
        }
        break;
      default:
        break;
    }
    return false;
  }

 private:
  void watch(QWidget* w) {
    w->installEventFilter(this);
    for (QObject* child : w->children())
      if (auto* cw = qobject_cast<QWidget*>(child)) watch(cw);
  }

  // Sets the X shape of the window's native window; `clear` restores the plain
  // rectangle.
  void applyShape(const QRegion& region, bool clear) {
    if (!clear && applied_ && region == shape_) return;
    shape_ = clear ? QRegion() : region;
    Display* dpy = x11Display();
    const WId id = window_->internalWinId();
    if (!dpy || !id) {
      applied_ = false;
      return;
    }
    X11ErrorTrap trap(dpy);
    if (clear) {
      XShapeCombineMask(dpy, Window(id), ShapeBounding, 0, 0, 0, ShapeSet);
    } else {
      std::vector<XRectangle> rects;
      rects.reserve(size_t(region.rectCount()));
      for (const QRect& r : region)
        rects.push_back({short(r.x()), short(r.y()), static_cast<unsigned short>(r.width()),
                         static_cast<unsigned short>(r.height())});
      XShapeCombineRectangles(dpy, Window(id), ShapeBounding, 0, 0, rects.data(), int(rects.size()),
                              ShapeSet, Unsorted);
    }
    applied_ = !trap.failed() && !clear;
  }

  QPointer<QWidget> window_;
  QRgb key_;
  QTimer timer_;
  QRegion shape_;
  QSize shapedSize_;  // the window's size when the whole shape was last made
  QRegion dirty_;     // repainted since, in window coordinates
  bool rendering_ = false;
  bool applied_ = false;
};

ColourKey* colourKeyOf(const QWidget* widget) {
  if (!widget) return nullptr;
  return widget->window()->findChild<ColourKey*>(kName, Qt::FindDirectChildrenOnly);
}

}  // namespace

void setColourKey(QWidget* widget, QRgb key) {
  if (!widget) return;
  QWidget* window = widget->window();
  if (ColourKey* ck = colourKeyOf(window)) {
    ck->setKey(key);
    return;
  }
  (new ColourKey(window, key))->rebuild();
}

void clearColourKey(QWidget* widget) {
  delete colourKeyOf(widget);
  if (widget) widget->window()->update();
}

bool colourKeyActive(const QWidget* widget) { return colourKeyOf(widget) != nullptr; }

QRegion colourKeyShape(const QWidget* widget) {
  const ColourKey* ck = colourKeyOf(widget);
  return ck ? ck->shape() : QRegion();
}

void refreshColourKey(QWidget* widget) {
  if (ColourKey* ck = colourKeyOf(widget)) ck->rebuild();
}

}  // namespace platform
