#pragma once
// Forms of the old event-driven runtime on Qt Widgets.
//
// A form is a class derived from vb::Form whose constructor builds its controls
// with their design values (controls are members, see Controls.h); its
// lifecycle events are virtual functions named as the old handlers
// (Form_Load, Form_QueryUnload, ...); its mouse and key events are the
// std::function members of EventSinks (onMouseMove, onKeyDown, ...).
//
// Each form class has one default instance, declared next to the class:
//
//   class FrmTip : public vb::Form { ... };
//   inline vb::DefaultInstance<FrmTip> frmTip;
//
// frmTip() returns the loaded default instance, creating and loading it first
// when needed (so frmTip().lblTipText.setCaption(x) loads the form, as the old
// code assumes); frmTip.existing() is the instance or nullptr and never loads.
// vb::Unload(form) runs QueryUnload and Unload, hides the form, stops its
// timers and detaches it from its default instance: the next frmTip() builds
// and loads a fresh form. The unloaded object lives on until control returns
// to the event loop, so the handler that unloaded it may finish.
//
// All geometry is in twips (15 per pixel); pixels appear only inside this layer.
#include "platform/forms/Keys.h"
#include "platform/forms/Runtime.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QEventLoop;
class QMenuBar;

namespace vb {

class Control;
class CommandButton;
namespace detail {
struct MouseState;
}
class Form;
class Menu;

// Twips per pixel at 96 dots per inch, Qt's scale 1.
constexpr int kTwipsPerPixelUnscaled = 15;
// Twips per pixel of this run. Qt's own scaling is off in our programs (one Qt
// pixel is one device pixel, so grabs and captures are exact); the scale the
// session asks Qt for goes into the twips instead, as the old runtime's
// followed the screen's DPI: 15 / scale in whole twips (8 at 2, 10 at 1.5), so
// every pixel count stays a whole number of twips.
int twipsPerPixel();
// The scale the session asks of Qt for the screen named `screenName`, at
// `screenIndex` in Qt's list: QT_SCALE_FACTOR times its entry of
// QT_SCREEN_SCALE_FACTORS ("2", "2;1", "DP-1=2;HDMI-1=1"); 1 when neither says.
double requestedScale(const QString& scaleFactor, const QString& screenFactors, const QString& screenName,
                      int screenIndex);
// 15 / scale rounded to whole twips, at least 1.
int twipsPerPixelAtScale(double scale);
// Twips to whole pixels, halves to even; pixels to twips.
int twipsToPixels(double twips);
int pixelsToTwips(int pixels);

// The colour long 0x00BBGGRR as a QColor; system colours (0x800000nn) map to
// the application palette (5 window, 8 window text, 15 button face, ...).
QColor toQColor(Color color);
Color fromQColor(const QColor& color);

// ScaleMode values.
enum ScaleModeConstants : int { vbUser = 0, vbTwips = 1, vbPoints = 2, vbPixels = 3 };
// Show styles.
enum FormShowConstants : int { vbModeless = 0, vbModal = 1 };
// QueryUnload modes.
enum QueryUnloadConstants : int {
  vbFormControlMenu = 0,  // the user closed the window
  vbFormCode = 1,         // Unload in code
  vbAppWindows = 2,       // the session ends
  vbAppTaskManager = 3,
  vbFormOwner = 5,
};
// WindowState values.
enum WindowStateConstants : int { vbNormal = 0, vbMinimized = 1, vbMaximized = 2 };
// Form BorderStyle values.
enum FormBorderStyleConstants : int {
  vbBSNone = 0, vbFixedSingle = 1, vbSizable = 2, vbFixedDouble = 3,
  vbFixedToolWindow = 4, vbSizableToolWindow = 5,
};
// MousePointer numbers: 0 default, 1 arrow, 2 cross, 3 I-beam, 4 icon, 5 size,
// 6 NE-SW, 7 N-S, 8 NW-SE, 9 W-E, 10 up arrow, 11 hourglass, 12 no drop,
// 13 arrow and hourglass, 14 arrow and question mark, 15 size all, 99 custom
// (the MouseIcon).
enum MousePointerConstants : int {
  vbDefault = 0, vbArrow = 1, vbCrosshair = 2, vbIbeam = 3, vbIconPointer = 4, vbSizePointer = 5,
  vbSizeNESW = 6, vbSizeNS = 7, vbSizeNWSE = 8, vbSizeWE = 9, vbUpArrow = 10, vbHourglass = 11,
  vbNoDrop = 12, vbArrowHourglass = 13, vbArrowQuestion = 14, vbSizeAll = 15, vbCustom = 99,
};
// The Qt cursor of a MousePointer number (99 and unknown numbers: the arrow).
QCursor cursorForPointer(int mousePointer);

// Events shared by forms and controls, with the old arguments:
// Button 1 left, 2 right, 4 middle (on a move: the mask of the buttons held,
// 0 when none); Shift 1 Shift, 2 Ctrl, 4 Alt; X and Y in the scale of the
// control (twips unless its ScaleMode says pixels); KeyCode a virtual-key
// number (Keys.h), which a handler may set to 0 to swallow the key; KeyAscii
// the character code, 0 swallows it.
// A double click gives MouseDown, MouseUp, Click, DblClick, MouseUp: the
// second press raises DblClick instead of MouseDown and no second Click.
struct EventSinks {
  std::function<void()> onClick;
  std::function<void()> onDblClick;
  std::function<void(int Button, int Shift, float X, float Y)> onMouseDown;
  std::function<void(int Button, int Shift, float X, float Y)> onMouseMove;
  std::function<void(int Button, int Shift, float X, float Y)> onMouseUp;
  std::function<void(int& KeyCode, int Shift)> onKeyDown;
  std::function<void(int& KeyCode, int Shift)> onKeyUp;
  std::function<void(int& KeyAscii)> onKeyPress;
  std::function<void()> onGotFocus;
  std::function<void()> onLostFocus;
  // TextBox text, Slider value, FileListBox path/pattern: any change.
  std::function<void()> onChange;
};

// Something that holds controls: a form, a picture box or a frame. Child
// controls are placed in its scale (ScaleMode twips or pixels).
class Container {
 public:
  virtual ~Container() = default;
  virtual QWidget* containerWidget() const = 0;
  virtual Form& parentForm() = 0;
  virtual int containerScaleMode() const { return vbTwips; }
  // Scale units <-> pixels for this container's coordinates.
  double toPixels(double units) const;
  double fromPixels(double pixels) const;

  // Bookkeeping of children so windowed controls stay above windowless ones
  // (Label, Image, Shape, Line paint below every windowed sibling).
  void addChild(Control* control);
  void removeChild(Control* control);
  void restack(Control* control, bool toFront);
  const std::vector<Control*>& children() const { return children_; }

 private:
  std::vector<Control*> children_;
};

class Form : public Container, public EventSinks {
 public:
  explicit Form(const QString& name);
  ~Form() override;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // ---- lifecycle events (override in the form class)
  virtual void Form_Load() {}
  // Only when activation moves to this form from another of our own forms, or
  // on its first showing; not when the user comes back from another program.
  virtual void Form_Activate() {}
  virtual void Form_Deactivate() {}
  virtual void Form_Resize() {}
  virtual void Form_QueryUnload(int& Cancel, int UnloadMode) {}
  virtual void Form_Unload(int& Cancel) {}
  virtual void Form_Terminate() {}
  virtual void Form_Paint() {}

  // ---- showing
  // Modeless, optionally owned (an owned form stays above its owner), or modal:
  // a modal Show returns when the form is hidden or unloaded. A Show of a form
  // that is not loaded (it unloaded itself in Form_Load) does nothing.
  void Show(int style = vbModeless, Form* owner = nullptr);
  void Hide();
  bool Visible() const;
  void setVisible(bool visible);
  bool isLoaded() const { return state_ == State::Loaded; }
  bool isShownModal() const { return modalLoop_ != nullptr; }

  // ---- geometry in twips: Left/Top/Width/Height are the outer frame (title
  // bar and borders included); ScaleWidth/ScaleHeight the client area in the
  // form's ScaleMode.
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void setLeft(int twips);
  void setTop(int twips);
  void setWidth(int twips);
  void setHeight(int twips);
  void Move(int left, std::optional<int> top = {}, std::optional<int> width = {},
            std::optional<int> height = {});
  // Moves the window, where it sticks out, into its screen's area left free
  // for windows; one larger than that area goes to its top-left corner, so
  // its title bar stays on the screen. The size is kept.
  void keepOnScreen();
  double ScaleWidth() const;
  double ScaleHeight() const;
  int ScaleMode() const { return scaleMode_; }
  void setScaleMode(int mode);
  int WindowState() const;
  void setWindowState(int state);

  // ---- look and behaviour
  QString Name() const { return name_; }
  // The title bar's text; until the code sets one, the program's (App.Title).
  QString Caption() const;
  void setCaption(const QString& caption);
  Color BackColor() const { return backColor_; }
  void setBackColor(Color color);
  Color ForeColor() const { return foreColor_; }
  void setForeColor(Color color) { foreColor_ = color; }
  int BorderStyle() const { return borderStyle_; }
  void setBorderStyle(int style);
  bool ControlBox() const { return controlBox_; }
  void setControlBox(bool on);
  bool ShowInTaskbar() const { return showInTaskbar_; }
  void setShowInTaskbar(bool on);
  // Always above other windows (the old HWND_TOPMOST).
  bool AlwaysOnTop() const;
  void setAlwaysOnTop(bool on);
  bool KeyPreview() const { return keyPreview_; }
  void setKeyPreview(bool on) { keyPreview_ = on; }
  bool Enabled() const;
  void setEnabled(bool on);
  int MousePointer() const { return mousePointer_; }
  void setMousePointer(int pointer);
  QCursor MouseIcon() const { return mouseIcon_; }
  void setMouseIcon(const QCursor& icon);
  void setMouseIcon(const QImage& image, QPoint hotspot = QPoint(-1, -1));
  void setIcon(const QImage& icon);
  QString Tag() const { return tag_; }
  void setTag(const QString& tag) { tag_ = tag; }
  void SetFocus();
  void ZOrder(int position = 0);
  void Refresh();

  // Pops a menu up at the pointer (or at X/Y in the form's scale); the menu may
  // be a hidden holder. Returns when the menu closes; the entry's Click runs
  // before that. Tests replace the showing with setPopupMenuHook.
  void PopupMenu(Menu& menu, int flags = 0, std::optional<float> x = {},
                 std::optional<float> y = {});

  // The Enter and Escape buttons (CommandButton::setDefault/setCancel).
  CommandButton* defaultButton() const { return defaultButton_; }
  CommandButton* cancelButton() const { return cancelButton_; }

  // ---- Qt side, for the layer and the platform code (masks, grabs)
  QWidget* widget() const { return widget_.get(); }
  QWidget* containerWidget() const override { return client_; }
  Form& parentForm() override { return *this; }
  int containerScaleMode() const override { return scaleMode_; }
  QMenuBar* menuBar();  // created on first use, by the first top-level menu

  // ---- layer internals (used by DefaultInstance, controls and menus)
  void load_();
  // Runs QueryUnload and Unload; false when cancelled.
  bool unload_(int mode);
  void setDefaultButton_(CommandButton* button, bool on);
  void setCancelButton_(CommandButton* button, bool on);
  void registerTimer_(class Timer* timer);
  void stopTimers_();
  void unregisterTimer_(class Timer* timer);
  std::function<void()> detach_;  // set by DefaultInstance: forget this instance

 private:
  class Widget;
  friend class Widget;
  enum class State { Constructed, Loading, Loaded, Unloaded };
  void applyWindowFlags();
  void applyPendingOuterSize();
  bool fixedBorder() const;
  // Sets the client size; false when its Resize event placed the window again
  // (that nested call then holds).
  bool resizeClient(QSize client);
  void awaitFrame();
  void onActivated();
  void onClose(QCloseEvent* event);
  void onResized();
  void layoutClient();
  QRect outerRectPx() const;
  bool live() const { return state_ == State::Loading || state_ == State::Loaded; }

  QString name_;
  std::unique_ptr<QWidget> widget_;
  QWidget* client_ = nullptr;  // the client area, below the menu bar
  std::unique_ptr<detail::MouseState> mouse_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  bool unloading_ = false;
  int geomTw_[4] = {0, 0, 0, 0};  // Left, Top, Width, Height as last written
  QRect geomPx_;                  // the frame they gave
  QPointer<QMenuBar> menuBar_;
  State state_ = State::Constructed;
  QEventLoop* modalLoop_ = nullptr;
  QPointer<QWidget> ownerWidget_;
  int scaleMode_ = vbTwips;
  Color backColor_ = Color(0x8000000F);
  Color foreColor_ = Color(0x80000012);
  int borderStyle_ = vbSizable;
  bool controlBox_ = true;
  bool showInTaskbar_ = true;
  bool keyPreview_ = false;
  int mousePointer_ = vbDefault;
  QCursor mouseIcon_;
  QString tag_;
  std::optional<QSize> pendingOuter_;  // outer size asked before the frame was known
  QSize pendingClient_;                // the client size set with it
  std::optional<QSize> lastExtra_;     // frame extents last seen, for a window shown again
  unsigned moves_ = 0;                 // resizes so far, to spot one nested in a Resize event
  CommandButton* defaultButton_ = nullptr;
  CommandButton* cancelButton_ = nullptr;
  std::vector<class Timer*> timers_;
  bool terminated_ = false;
};

// Unload form (mode 1, code); false when the form cancelled it. Unloading a
// form that runs modally first ends its modal loop.
bool Unload(Form& form);

// The loaded forms (the old Forms collection), in load order.
std::vector<Form*> loadedForms();

// ---------------------------------------------------------------- default instances

class DefaultInstanceBase {
 public:
  DefaultInstanceBase();
  virtual ~DefaultInstanceBase();
  DefaultInstanceBase(const DefaultInstanceBase&) = delete;
  DefaultInstanceBase& operator=(const DefaultInstanceBase&) = delete;
  Form* existingForm() const { return form_; }
  // Destroys the instance without any event (end of a test, end of the program).
  void destroyNow();

 protected:
  Form& getOrLoad(const std::function<std::unique_ptr<Form>()>& make);

 private:
  Form* form_ = nullptr;
  std::unique_ptr<Form> owned_;
};

template <class F>
class DefaultInstance : public DefaultInstanceBase {
 public:
  // The loaded default instance, loading it first when needed.
  F& operator()() { return static_cast<F&>(getOrLoad([] { return std::make_unique<F>(); })); }
  F* operator->() { return &(*this)(); }
  // The default instance when it is loaded, else nullptr; never loads.
  F* existing() const { return static_cast<F*>(existingForm()); }
  bool isLoaded() const { return existingForm() != nullptr; }
};

// ---------------------------------------------------------------- program

// The programs' application object. An exception that escapes an event handler
// (a click, a timer, a key) ends here: the run-time error box shows its number
// and description, a line goes to standard error, and the program goes on.
// Before Qt reads the environment it takes Qt's scaling variables out of it
// and turns Qt's scaling off; once the application exists the twips per pixel
// follow them and they go back for the programs we start.
namespace detail {
class QtScaleRequest {
 protected:
  QtScaleRequest();
  void applyAndRestore();

 private:
  std::optional<QByteArray> scaleFactor_, screenFactors_;
};
}  // namespace detail

class Application : private detail::QtScaleRequest, public QApplication {
 public:
  Application(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};
// The box and the log line for an exception no handler trapped (nullptr: not a
// standard exception).
void reportUntrappedError(const std::exception* error);

// Runs the program: returns when no form is loaded any more (or after End).
// Closing the last window does not end it: only the last Unload does.
int RunProgram();
// The End statement: ends the program at once, no more Unload events; forms
// are destroyed by EndForms.
void End();
bool programEnded();
// Destroys every form without events; call before the QApplication goes.
void EndForms();
// Tests: EndForms, and forget End and the pop-up hook (between tests).
void resetFormsForTests();
// The session end: QueryUnload with mode 2 for every loaded form, then
// Unload; wired to QGuiApplication::commitDataRequest and SIGTERM/SIGHUP/SIGINT by
// installSessionEndHandlers.
void EndSession();
void installSessionEndHandlers();
// The forms' default face: 8-point sans serif with Arial's metrics, the size
// the twips of every caption were laid out for.
void useDefaultFont();

// Tests: a function that replaces showing a pop-up menu (it receives the menu
// and may run an entry's Click through Menu::trigger).
void setPopupMenuHook(std::function<void(Menu&)> hook);

// ---------------------------------------------------------------- Screen

class ScreenObject {
 public:
  int TwipsPerPixelX() const { return twipsPerPixel(); }
  int TwipsPerPixelY() const { return twipsPerPixel(); }
  // The primary screen's size in twips.
  int Width() const;
  int Height() const;
  // A pointer shown over every form of the program (0 = each form's own).
  int MousePointer() const { return mousePointer_; }
  void setMousePointer(int pointer);
  Form* ActiveForm() const;

 private:
  int mousePointer_ = 0;
};
inline ScreenObject Screen;

}  // namespace vb
