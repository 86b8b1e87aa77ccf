#pragma once
// Layer internals shared by the forms, controls and menus (not for application code).
#include "platform/forms/Forms.h"

#include <QPainter>
#include <QWidget>

#include <functional>

class QMouseEvent;
class QKeyEvent;

namespace vb {
class Timer;
std::function<void(Menu&)>& popupMenuHook_();
}
namespace vb::detail {
using vb::popupMenuHook_;

// A widget that paints through a function (picture-box clients, shapes, lines,
// images, the form's client area).
class PaintWidget : public QWidget {
 public:
  explicit PaintWidget(QWidget* parent = nullptr) : QWidget(parent) {}
  std::function<void(QPainter&)> paint;
  std::function<void()> resized;

 protected:
  void paintEvent(QPaintEvent*) override {
    if (!paint) return;
    QPainter p(this);
    paint(p);
  }
  void resizeEvent(QResizeEvent*) override {
    if (resized) resized();
  }
};

// Mouse state of one control or form, for Click and DblClick.
struct MouseState {
  bool pressed = false;      // a press whose release may give Click
  bool secondPress = false;  // the press was the second of a double click
  Qt::MouseButton lastButton = Qt::NoButton;
  quint64 lastPressTime = 0;
  QPointF lastPressPos;
  bool lastWasDouble = false;
};

// Turns one Qt mouse event into the old events. pos is in pixels relative to
// the control's client area; scaleMode gives X/Y units. clickOnRelease: the
// control raises Click itself on a release inside (picture boxes, labels,
// images, frames, forms) rather than through its Qt widget's signal.
void dispatchMouse(EventSinks& sinks, QMouseEvent* event, QPointF pos, QSize clientSize,
                   int scaleMode, MouseState& state, bool clickOnRelease);

// Key events with KeyPreview and the Default/Cancel buttons; true when the key
// was swallowed. control is null for keys on the form itself.
bool dispatchKey(Form& form, EventSinks* control, QKeyEvent* event, bool press,
                 bool acceptsEnter);

// The stepped clock (Runtime.h): its time in milliseconds since it was set,
// that time as a date, and the Timer controls it drives.
qint64 steppedMs();
QDateTime steppedNow();
void timerCreated(Timer* timer);
void timerDestroyed(Timer* timer);

// Pixels of a scale value and back.
double unitsToPixels(double units, int scaleMode);
double pixelsToUnits(double pixels, int scaleMode);

}  // namespace vb::detail
