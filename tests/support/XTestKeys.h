#pragma once
// Fake keyboard and pointer input for the X11 tests, through XTest on a
// connection of the test's own. A client's fake presses end when it
// disconnects, so keys stay down as long as this object lives; the destructor
// releases whatever is still held.
#include <QPoint>
#include <QString>
#include <QStringList>

struct _XDisplay;

namespace testsupport {

class XTestInput {
 public:
  // display: the X server to talk to, by default $DISPLAY.
  explicit XTestInput(const QString& display = QString());
  ~XTestInput();
  XTestInput(const XTestInput&) = delete;
  XTestInput& operator=(const XTestInput&) = delete;

  // False when no X server or no XTest: the test should skip.
  bool ok() const { return dpy_ != nullptr; }

  // Keys by keysym name ("Control_L", "a", "KP_1", "Num_Lock"). False when the
  // keyboard has no key for it.
  bool press(const QString& keysym);
  bool release(const QString& keysym);
  // Press and release (toggles a lock key).
  bool tap(const QString& keysym);
  void releaseAll();

  void movePointer(QPoint screenPos);
  void pressButton(int button);
  void releaseButton(int button);
  void click(QPoint screenPos, int button = 1);

  // Waits until the server has handled every fake event sent so far.
  void sync();

 private:
  int keycodeOf(const QString& keysym) const;

  _XDisplay* dpy_ = nullptr;
  QStringList held_;
  QList<int> buttons_;
};

}  // namespace testsupport
