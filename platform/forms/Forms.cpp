#include "platform/forms/Forms.h"

#include "platform/forms/App.h"
#include "platform/forms/Controls.h"
#include "platform/forms/FormsInternal.h"
#include "platform/forms/MsgBox.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFont>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPalette>
#include <QScreen>
#include <QSocketNotifier>
#include <QStyleHints>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <unordered_set>
#include <sys/socket.h>
#include <unistd.h>

namespace vb {
namespace {

// Built on first use and never destroyed: default instances live in other
// files, whose static construction and destruction come in any order.
std::vector<Form*>& loadedList() {
  static auto* forms = new std::vector<Form*>;
  return *forms;
}
std::vector<DefaultInstanceBase*>& instanceList() {
  static auto* instances = new std::vector<DefaultInstanceBase*>;
  return *instances;
}

Form* g_lastActive = nullptr;
bool g_running = false;
bool g_ended = false;
std::function<void(Menu&)> g_popupHook;

// Owns an unloaded form until control returns to the event loop.
class FormReaper : public QObject {
 public:
  explicit FormReaper(std::unique_ptr<Form> form) : form_(std::move(form)) {}
  ~FormReaper() override {
    if (form_) form_->Form_Terminate();
  }

 private:
  std::unique_ptr<Form> form_;
};

// The offscreen platform cannot raise windows (and says so on every call).
void raiseWindow(QWidget* w) {
  if (QGuiApplication::platformName() != "offscreen") w->raise();
  w->activateWindow();
}

// Ends the program when no form is loaded once the code that unloaded the
// last one has returned to the event loop (a handler may unload its form and
// then show another). A deferred delete waits for that even across DoEvents.
class EndCheck : public QObject {
 public:
  ~EndCheck() override {
    if (loadedList().empty() && g_running) QCoreApplication::exit(0);
  }
};

void forget(Form* form) {
  loadedList().erase(std::remove(loadedList().begin(), loadedList().end(), form), loadedList().end());
  if (g_lastActive == form) g_lastActive = nullptr;
}

}  // namespace

// ---------------------------------------------------------------- units and colours

namespace {
int g_twipsPerPixel = kTwipsPerPixelUnscaled;
// Qt's variables for its own scaling: read once, kept for our children.
constexpr const char* kQtScaleFactor = "QT_SCALE_FACTOR";
constexpr const char* kQtScreenFactors = "QT_SCREEN_SCALE_FACTORS";

std::optional<QByteArray> takeEnv(const char* name) {
  if (!qEnvironmentVariableIsSet(name)) return std::nullopt;
  QByteArray value = qgetenv(name);
  qunsetenv(name);
  return value;
}

void putBack(const char* name, const std::optional<QByteArray>& value) {
  if (value) qputenv(name, *value);
}
}  // namespace

int twipsPerPixel() { return g_twipsPerPixel; }

double requestedScale(const QString& scaleFactor, const QString& screenFactors, const QString& screenName,
                      int screenIndex) {
  bool ok = false;
  double global = scaleFactor.trimmed().toDouble(&ok);
  if (!ok || !(global > 0)) global = 1;
  // Qt's rule: an entry with a name goes to that screen, one without to the
  // screen at its place among the valid entries.
  double own = 1;
  int index = 0;
  for (const QString& entry : screenFactors.split(';', Qt::SkipEmptyParts)) {
    const int eq = int(entry.lastIndexOf('='));
    if (eq == 0) continue;  // a name left out
    const double factor = entry.mid(eq + 1).trimmed().toDouble(&ok);
    if (!ok || !(factor > 0)) continue;
    if (eq > 0 ? entry.left(eq).trimmed() == screenName : index == screenIndex) {
      own = factor;
      break;
    }
    ++index;
  }
  return global * own;
}

int twipsPerPixelAtScale(double scale) {
  if (!(scale > 0)) return kTwipsPerPixelUnscaled;
  return std::max(1, int(std::nearbyint(kTwipsPerPixelUnscaled / scale)));
}

int twipsToPixels(double twips) { return int(std::nearbyint(twips / twipsPerPixel())); }
int pixelsToTwips(int pixels) { return pixels * twipsPerPixel(); }

QColor toQColor(Color color) {
  const std::uint32_t c = std::uint32_t(color);
  if (c & 0x80000000u) {
    const QPalette pal = QApplication::palette();
    switch (c & 0xFF) {
      case 1: case 12: return pal.color(QPalette::Window);
      case 4: return pal.color(QPalette::Window);
      case 5: return pal.color(QPalette::Base);
      case 7: return pal.color(QPalette::WindowText);
      case 8: return pal.color(QPalette::Text);
      case 13: return pal.color(QPalette::Highlight);
      case 14: return pal.color(QPalette::HighlightedText);
      case 15: return pal.color(QPalette::Button);
      case 16: return pal.color(QPalette::Dark);
      case 17: return pal.color(QPalette::Disabled, QPalette::Text);
      case 18: return pal.color(QPalette::ButtonText);
      case 20: return pal.color(QPalette::Light);
      case 23: return pal.color(QPalette::ToolTipText);
      case 24: return pal.color(QPalette::ToolTipBase);
      default: return pal.color(QPalette::Window);
    }
  }
  return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

Color fromQColor(const QColor& color) { return RGB(color.red(), color.green(), color.blue()); }

QCursor cursorForPointer(int p) {
  switch (p) {
    case vbCrosshair: return Qt::CrossCursor;
    case vbIbeam: return Qt::IBeamCursor;
    case vbSizePointer:
    case vbSizeAll: return Qt::SizeAllCursor;
    case vbSizeNESW: return Qt::SizeBDiagCursor;
    case vbSizeNS: return Qt::SizeVerCursor;
    case vbSizeNWSE: return Qt::SizeFDiagCursor;
    case vbSizeWE: return Qt::SizeHorCursor;
    case vbUpArrow: return Qt::UpArrowCursor;
    case vbHourglass: return Qt::WaitCursor;
    case vbNoDrop: return Qt::ForbiddenCursor;
    case vbArrowHourglass: return Qt::BusyCursor;
    case vbArrowQuestion: return Qt::WhatsThisCursor;
    default: return Qt::ArrowCursor;
  }
}

namespace detail {

double unitsToPixels(double units, int scaleMode) {
  switch (scaleMode) {
    case vbPixels: return units;
    case vbPoints: return units * 20.0 / twipsPerPixel();
    default: return units / twipsPerPixel();
  }
}

double pixelsToUnits(double pixels, int scaleMode) {
  switch (scaleMode) {
    case vbPixels: return pixels;
    case vbPoints: return pixels * twipsPerPixel() / 20.0;
    default: return pixels * twipsPerPixel();
  }
}

void dispatchMouse(EventSinks& sinks, QMouseEvent* e, QPointF pos, QSize clientSize, int scaleMode,
                   MouseState& st, bool clickOnRelease) {
  const float X = float(pixelsToUnits(pos.x(), scaleMode));
  const float Y = float(pixelsToUnits(pos.y(), scaleMode));
  const int shift = shiftMask(e->modifiers());
  switch (e->type()) {
    case QEvent::MouseButtonPress: {
      const int b = buttonNumber(e->button());
      if (!b) return;
      const quint64 t = e->timestamp();
      const QPointF d = pos - st.lastPressPos;
      const bool dbl = st.lastButton == e->button() && !st.lastWasDouble &&
                       t >= st.lastPressTime &&
                       t - st.lastPressTime <= quint64(QGuiApplication::styleHints()->mouseDoubleClickInterval()) &&
                       std::abs(d.x()) + std::abs(d.y()) <= QGuiApplication::styleHints()->startDragDistance();
      st.lastButton = e->button();
      st.lastPressTime = t;
      st.lastPressPos = pos;
      st.lastWasDouble = dbl;
      st.secondPress = dbl;
      st.pressed = !dbl;
      if (dbl) {
        if (sinks.onDblClick) sinks.onDblClick();
      } else if (sinks.onMouseDown) {
        sinks.onMouseDown(b, shift, X, Y);
      }
      return;
    }
    case QEvent::MouseButtonRelease: {
      const int b = buttonNumber(e->button());
      if (!b) return;
      const bool inside = pos.x() >= 0 && pos.y() >= 0 && pos.x() < clientSize.width() &&
                          pos.y() < clientSize.height();
      const bool click = st.pressed && clickOnRelease && inside && b != vbMiddleButton;
      st.pressed = false;
      st.secondPress = false;
      if (sinks.onMouseUp) sinks.onMouseUp(b, shift, X, Y);
      if (click && sinks.onClick) sinks.onClick();
      return;
    }
    case QEvent::MouseMove:
      if (sinks.onMouseMove) sinks.onMouseMove(buttonMask(e->buttons()), shift, X, Y);
      return;
    default: return;
  }
}

bool dispatchKey(Form& form, EventSinks* control, QKeyEvent* e, bool press, bool acceptsEnter) {
  int vk = vkFromQtKey(e->key(), e->modifiers() & Qt::KeypadModifier);
  const int shift = shiftMask(e->modifiers());
  EventSinks& own = control ? *control : static_cast<EventSinks&>(form);
  const bool preview = control && form.KeyPreview();
  if (!press) {
    if (e->isAutoRepeat()) return false;
    if (preview && form.onKeyUp) {
      form.onKeyUp(vk, shift);
      if (vk == 0) return true;
    }
    if (own.onKeyUp) own.onKeyUp(vk, shift);
    return vk == 0;
  }
  if (preview && form.onKeyDown) {
    form.onKeyDown(vk, shift);
    if (vk == 0) return true;
  }
  if (own.onKeyDown) own.onKeyDown(vk, shift);
  if (vk == 0) return true;
  const QString text = e->text();
  if (!text.isEmpty() && text[0].unicode() != 0x7F) {
    int ascii = text[0].unicode();
    if (preview && form.onKeyPress) {
      form.onKeyPress(ascii);
      if (ascii == 0) return true;
    }
    if (own.onKeyPress) own.onKeyPress(ascii);
    if (ascii == 0) return true;
  }
  if (vk == vbKeyReturn && !acceptsEnter && form.defaultButton() && form.defaultButton()->Enabled() &&
      form.defaultButton()->Visible()) {
    form.defaultButton()->click_();
    return true;
  }
  if (vk == vbKeyEscape && form.cancelButton() && form.cancelButton()->Enabled() &&
      form.cancelButton()->Visible()) {
    form.cancelButton()->click_();
    return true;
  }
  return false;
}

}  // namespace detail

// ---------------------------------------------------------------- Container

double Container::toPixels(double units) const {
  return detail::unitsToPixels(units, containerScaleMode());
}

double Container::fromPixels(double pixels) const {
  return detail::pixelsToUnits(pixels, containerScaleMode());
}

void Container::addChild(Control* control) {
  children_.push_back(control);
  restack(control, true);
}

void Container::removeChild(Control* control) {
  children_.erase(std::remove(children_.begin(), children_.end(), control), children_.end());
}

void Container::restack(Control* control, bool toFront) {
  QWidget* w = control->widget();
  QWidget* parent = containerWidget();
  if (!w || !parent) return;
  // The lowest windowed sibling in Qt's stacking order (children() runs bottom to top).
  // Looked up, not searched for each sibling: a list of many rows has thousands.
  std::unordered_set<const QObject*> windowed;
  for (Control* c : children_)
    if (!c->windowless() && c->widget() && c->widget() != w) windowed.insert(c->widget());
  QWidget* lowestWindowed = nullptr;
  for (QObject* o : parent->children())
    if (windowed.count(o)) {
      lowestWindowed = static_cast<QWidget*>(o);
      break;
    }
  if (control->windowless()) {
    if (!toFront) w->lower();
    else if (lowestWindowed) w->stackUnder(lowestWindowed);
    else w->raise();
  } else {
    if (toFront) w->raise();
    else if (lowestWindowed) w->stackUnder(lowestWindowed);
    else w->raise();
    if (!toFront) {
      // Windowed controls stay above every windowless one.
      for (Control* c : children_)
        if (c->windowless() && c->widget()) restack(c, true);
    }
  }
}

// ---------------------------------------------------------------- Form widget

class Form::Widget : public QWidget {
 public:
  explicit Widget(Form* form) : form_(form) {
    setFocusPolicy(Qt::StrongFocus);
    // Tooltips show over a window that is not the active one too, as users expect of a toolbar.
    setAttribute(Qt::WA_AlwaysShowToolTips);
  }
  Form* form_;

 protected:
  bool event(QEvent* e) override {
    switch (e->type()) {
      case QEvent::WindowActivate: form_->onActivated(); break;
      case QEvent::Show: form_->awaitFrame(); break;
      case QEvent::Hide:
        if (form_->modalLoop_) form_->modalLoop_->quit();
        break;
      case QEvent::WindowStateChange: {
        auto* sc = static_cast<QWindowStateChangeEvent*>(e);
        if (((sc->oldState() | windowState()) & Qt::WindowMinimized) && form_->live()) form_->Form_Resize();
        break;
      }
      default: break;
    }
    return QWidget::event(e);
  }
  void closeEvent(QCloseEvent* e) override { form_->onClose(e); }
  void resizeEvent(QResizeEvent*) override { form_->onResized(); }
  void moveEvent(QMoveEvent*) override { form_->applyPendingOuterSize(); }
  void keyPressEvent(QKeyEvent* e) override {
    if (!detail::dispatchKey(*form_, nullptr, e, true, false)) QWidget::keyPressEvent(e);
  }
  void keyReleaseEvent(QKeyEvent* e) override {
    if (!detail::dispatchKey(*form_, nullptr, e, false, false)) QWidget::keyReleaseEvent(e);
  }
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (watched != form_->client_) return false;
    switch (e->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(e);
        detail::dispatchMouse(*form_, me, me->position(), form_->client_->size(), form_->scaleMode_,
                              *form_->mouse_, true);
        return true;
      }
      case QEvent::MouseButtonDblClick: return true;
      case QEvent::Paint: {
        QPainter p(form_->client_);
        p.fillRect(form_->client_->rect(), toQColor(form_->backColor_));
        p.end();
        form_->Form_Paint();
        return true;
      }
      default: return false;
    }
  }
};

// ---------------------------------------------------------------- Form

Form::Form(const QString& name) : name_(name), mouse_(std::make_unique<detail::MouseState>()) {
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    app->setQuitOnLastWindowClosed(false);
  auto* w = new Widget(this);
  w->setObjectName(name);
  widget_.reset(w);
  client_ = new QWidget(w);
  client_->setMouseTracking(true);
  client_->installEventFilter(w);
  w->setMouseTracking(true);
  // The old designer's default caption, the form's name, is no text for a
  // user: a form its code leaves untitled bears the program's title.
  w->setWindowTitle(App.Title());
  w->resize(320, 240);
  layoutClient();
}

Form::~Form() {
  *alive_ = false;
  if (modalLoop_) modalLoop_->quit();
  forget(this);
  for (Timer* t : timers_) t->stop_();
  widget_.reset();
}

void Form::layoutClient() {
  QWidget* w = widget_.get();
  int top = 0;
  if (menuBar_ && !menuBar_->isHidden()) {
    top = menuBar_->sizeHint().height();
    menuBar_->setGeometry(0, 0, w->width(), top);
  }
  client_->setGeometry(0, top, w->width(), std::max(0, w->height() - top));
}

void Form::onResized() {
  layoutClient();
  applyPendingOuterSize();
  if (live()) Form_Resize();
}

void Form::applyPendingOuterSize() {
  if (!pendingOuter_) return;
  QWidget* w = widget_.get();
  const QRect frame = w->frameGeometry();
  if (frame.size() == w->size()) return;  // the frame is not known yet
  const QSize outer = *pendingOuter_;
  pendingOuter_.reset();
  if (borderStyle_ != vbBSNone) lastExtra_ = frame.size() - w->size();
  const QSize client(std::max(1, outer.width() - (frame.width() - w->width())),
                     std::max(1, outer.height() - (frame.height() - w->height())));
  if (!resizeClient(client)) return;
  // The place asked before the frame existed may have gone to the client area
  // (a window docked at the top then has its title bar off the screen): ask again.
  w->move(twipsToPixels(geomTw_[0]), twipsToPixels(geomTw_[1]));
  geomPx_ = outerRectPx();
}

bool Form::fixedBorder() const {
  return borderStyle_ == vbFixedSingle || borderStyle_ == vbFixedDouble || borderStyle_ == vbFixedToolWindow;
}

bool Form::resizeClient(QSize client) {
  const unsigned move = ++moves_;
  // A fixed-size window only takes a new size through its fixed size.
  if (fixedBorder())
    widget_->setFixedSize(client);
  else
    widget_->resize(client);
  return move == moves_;
}

void Form::awaitFrame() {
  // Framing a newly mapped window moves and resizes nothing of ours, so no
  // event tells when the frame is known: look for it for a short while.
  if (!pendingOuter_) return;
  auto* timer = new QTimer(widget_.get());
  auto tries = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, timer, [this, timer, tries] {
    applyPendingOuterSize();
    if (!pendingOuter_ || ++*tries >= 250) timer->deleteLater();  // a busy window manager can take seconds
  });
  timer->start(20);
}

void Form::onActivated() {
  if (!live() || g_lastActive == this) return;
  Form* prev = g_lastActive;
  g_lastActive = this;
  if (prev && prev->live()) prev->Form_Deactivate();
  Form_Activate();
}

void Form::onClose(QCloseEvent* e) {
  e->ignore();
  if (live()) unload_(vbFormControlMenu);
}

void Form::load_() {
  if (state_ != State::Constructed) return;
  state_ = State::Loading;
  loadedList().push_back(this);
  Form_Load();
  if (state_ == State::Loading) state_ = State::Loaded;
}

bool Form::unload_(int mode) {
  if (!live()) return true;
  if (unloading_) return false;
  unloading_ = true;
  int cancel = 0;
  Form_QueryUnload(cancel, mode);
  if (cancel == 0) Form_Unload(cancel);
  unloading_ = false;
  if (cancel != 0) return false;
  state_ = State::Unloaded;
  stopTimers_();
  if (modalLoop_) modalLoop_->quit();
  widget_->hide();
  forget(this);
  if (auto detach = std::move(detach_)) detach();  // may hand this form to a reaper
  if (loadedList().empty() && g_running) (new EndCheck)->deleteLater();
  return true;
}

void Form::stopTimers_() {
  for (Timer* t : timers_) t->stop_();
}

void Form::registerTimer_(Timer* timer) { timers_.push_back(timer); }

void Form::unregisterTimer_(Timer* timer) {
  timers_.erase(std::remove(timers_.begin(), timers_.end(), timer), timers_.end());
}

void Form::setDefaultButton_(CommandButton* button, bool on) {
  if (on) {
    if (defaultButton_ && defaultButton_ != button) defaultButton_->setDefault(false);
    defaultButton_ = button;
  } else if (defaultButton_ == button) {
    defaultButton_ = nullptr;
  }
}

void Form::setCancelButton_(CommandButton* button, bool on) {
  if (on) {
    if (cancelButton_ && cancelButton_ != button) cancelButton_->setCancel(false);
    cancelButton_ = button;
  } else if (cancelButton_ == button) {
    cancelButton_ = nullptr;
  }
}

void Form::Show(int style, Form* owner) {
  if (!live()) return;
  QWidget* w = widget_.get();
  if (owner && owner != this && owner->widget()) {
    w->winId();
    owner->widget()->winId();
    if (w->windowHandle() && owner->widget()->windowHandle())
      w->windowHandle()->setTransientParent(owner->widget()->windowHandle());
  }
  if (style != vbModal) {
    w->show();
    raiseWindow(w);
    return;
  }
  if (modalLoop_) return;
  if (w->isVisible()) w->hide();
  w->setWindowModality(Qt::ApplicationModal);
  w->show();
  raiseWindow(w);
  QEventLoop loop;
  modalLoop_ = &loop;
  const std::shared_ptr<bool> alive = alive_;
  if (w->isVisible() && live()) loop.exec();
  if (!*alive) return;
  modalLoop_ = nullptr;
  w->setWindowModality(Qt::NonModal);
}

void Form::Hide() {
  widget_->hide();
  if (modalLoop_) modalLoop_->quit();
}

bool Form::Visible() const { return widget_->isVisible(); }

void Form::setVisible(bool visible) {
  if (visible) Show();
  else Hide();
}

// The frame on the screen. A window hidden and shown again has no frame until
// the window manager frames it anew; until then it counts the frame it had, as
// Move does, so that reading a size and writing it back changes nothing.
QRect Form::outerRectPx() const {
  const QRect f = widget_->frameGeometry();
  if (f.size() == widget_->size() && borderStyle_ != vbBSNone && lastExtra_)
    return QRect(f.topLeft(), f.size() + *lastExtra_);
  return f;
}

int Form::Left() const {
  const QRect f = outerRectPx();
  return f.x() == geomPx_.x() ? geomTw_[0] : pixelsToTwips(f.x());
}

int Form::Top() const {
  const QRect f = outerRectPx();
  return f.y() == geomPx_.y() ? geomTw_[1] : pixelsToTwips(f.y());
}

int Form::Width() const {
  if (pendingOuter_ && widget_->size() == pendingClient_) return geomTw_[2];
  const QRect f = outerRectPx();
  return f.width() == geomPx_.width() ? geomTw_[2] : pixelsToTwips(f.width());
}

int Form::Height() const {
  if (pendingOuter_ && widget_->size() == pendingClient_) return geomTw_[3];
  const QRect f = outerRectPx();
  return f.height() == geomPx_.height() ? geomTw_[3] : pixelsToTwips(f.height());
}

void Form::Move(int left, std::optional<int> top, std::optional<int> width, std::optional<int> height) {
  QWidget* w = widget_.get();
  const int l = left, t = top.value_or(Top());
  const int wd = width.value_or(Width()), ht = height.value_or(Height());
  if (wd < 0 || ht < 0) throw Error(vbErrInvalidProperty);
  w->move(twipsToPixels(l), twipsToPixels(t));
  QRect frame = w->frameGeometry();
  int extraW = frame.width() - w->width(), extraH = frame.height() - w->height();
  const bool frameKnown = extraW != 0 || extraH != 0 || borderStyle_ == vbBSNone;
  // A window hidden and shown again has no frame until the window manager
  // reframes it: size it with the frame it had, and correct once it is known.
  if (frameKnown && borderStyle_ != vbBSNone)
    lastExtra_ = QSize(extraW, extraH);
  else if (!frameKnown && lastExtra_) {
    extraW = lastExtra_->width();
    extraH = lastExtra_->height();
  }
  const int pw = std::max(1, twipsToPixels(wd) - extraW), ph = std::max(1, twipsToPixels(ht) - extraH);
  // Written before the resize: its Resize event may read the size back and move
  // the window again, and must see what was asked, not half of it.
  geomTw_[0] = l;
  geomTw_[1] = t;
  geomTw_[2] = wd;
  geomTw_[3] = ht;
  if (frameKnown) {
    pendingOuter_.reset();
  } else {
    pendingOuter_ = QSize(twipsToPixels(wd), twipsToPixels(ht));
    pendingClient_ = QSize(pw, ph);
  }
  if (!resizeClient(QSize(pw, ph))) return;
  layoutClient();
  if (!frameKnown) pendingClient_ = w->size();
  geomPx_ = outerRectPx();
}

void Form::keepOnScreen() {
  QScreen* s = widget_->screen() ? widget_->screen() : QGuiApplication::primaryScreen();
  if (!s) return;
  const QRect a = s->availableGeometry();
  const int areaLeft = pixelsToTwips(a.left()), areaTop = pixelsToTwips(a.top());
  const int areaRight = pixelsToTwips(a.x() + a.width()), areaBottom = pixelsToTwips(a.y() + a.height());
  // The corner last: a window larger than the area starts at its top-left.
  const int left = std::max(areaLeft, std::min(Left(), areaRight - Width()));
  const int top = std::max(areaTop, std::min(Top(), areaBottom - Height()));
  if (left != Left() || top != Top()) Move(left, top);
}

void Form::setLeft(int twips) { Move(twips); }
void Form::setTop(int twips) { Move(Left(), twips); }
void Form::setWidth(int twips) { Move(Left(), Top(), twips); }
void Form::setHeight(int twips) { Move(Left(), Top(), Width(), twips); }

double Form::ScaleWidth() const { return detail::pixelsToUnits(widget_->width(), scaleMode_); }
double Form::ScaleHeight() const {
  const int bar = menuBar_ && !menuBar_->isHidden() ? menuBar_->sizeHint().height() : 0;
  return detail::pixelsToUnits(std::max(0, widget_->height() - bar), scaleMode_);
}
void Form::setScaleMode(int mode) { scaleMode_ = mode; }

int Form::WindowState() const {
  const Qt::WindowStates s = widget_->windowState();
  if (s & Qt::WindowMinimized) return vbMinimized;
  if (s & (Qt::WindowMaximized | Qt::WindowFullScreen)) return vbMaximized;
  return vbNormal;
}

void Form::setWindowState(int state) {
  Qt::WindowStates s = widget_->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
  if (state == vbMinimized) s |= Qt::WindowMinimized;
  else if (state == vbMaximized) s |= Qt::WindowMaximized;
  widget_->setWindowState(s);
}

QString Form::Caption() const { return widget_->windowTitle(); }
void Form::setCaption(const QString& caption) { widget_->setWindowTitle(caption); }

void Form::setBackColor(Color color) {
  backColor_ = color;
  client_->update();
}

void Form::applyWindowFlags() {
  QWidget* w = widget_.get();
  const bool visible = w->isVisible();
  Qt::WindowFlags f = Qt::Window;
  switch (borderStyle_) {
    case vbBSNone: f |= Qt::FramelessWindowHint; break;
    case vbFixedToolWindow:
    case vbSizableToolWindow: f = Qt::Tool; break;
    case vbFixedDouble: f = Qt::Dialog; break;
    default: break;
  }
  if (borderStyle_ != vbBSNone) {
    f |= Qt::WindowTitleHint | Qt::CustomizeWindowHint;
    if (controlBox_) f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (controlBox_ && (borderStyle_ == vbSizable || borderStyle_ == vbFixedSingle))
      f |= Qt::WindowMinimizeButtonHint;
    if (controlBox_ && borderStyle_ == vbSizable) f |= Qt::WindowMaximizeButtonHint;
  }
  if (!showInTaskbar_ && borderStyle_ != vbFixedToolWindow && borderStyle_ != vbSizableToolWindow)
    f |= Qt::Tool;
  if (w->windowFlags() & Qt::WindowStaysOnTopHint) f |= Qt::WindowStaysOnTopHint;
  w->setWindowFlags(f);
  if (fixedBorder()) w->setFixedSize(w->size());
  else {
    w->setMinimumSize(0, 0);
    w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  }
  if (visible) w->show();
}

void Form::setBorderStyle(int style) {
  if (style < 0 || style > 5) throw Error(vbErrInvalidProperty);
  borderStyle_ = style;
  applyWindowFlags();
}

void Form::setControlBox(bool on) {
  controlBox_ = on;
  applyWindowFlags();
}

void Form::setShowInTaskbar(bool on) {
  showInTaskbar_ = on;
  applyWindowFlags();
}

bool Form::AlwaysOnTop() const { return widget_->windowFlags() & Qt::WindowStaysOnTopHint; }

void Form::setAlwaysOnTop(bool on) {
  QWidget* w = widget_.get();
  const bool visible = w->isVisible();
  w->setWindowFlag(Qt::WindowStaysOnTopHint, on);
  if (visible) w->show();
}

bool Form::Enabled() const { return widget_->isEnabled(); }
void Form::setEnabled(bool on) { widget_->setEnabled(on); }

void Form::setMousePointer(int pointer) {
  mousePointer_ = pointer;
  if (pointer == vbDefault) client_->unsetCursor();
  else client_->setCursor(pointer == vbCustom ? mouseIcon_ : cursorForPointer(pointer));
}

void Form::setMouseIcon(const QCursor& icon) {
  mouseIcon_ = icon;
  if (mousePointer_ == vbCustom) setMousePointer(vbCustom);
}

void Form::setMouseIcon(const QImage& image, QPoint hotspot) {
  setMouseIcon(QCursor(QPixmap::fromImage(image), hotspot.x(), hotspot.y()));
}

void Form::setIcon(const QImage& icon) { widget_->setWindowIcon(QIcon(QPixmap::fromImage(icon))); }

void Form::SetFocus() {
  widget_->activateWindow();
  widget_->setFocus();
}

void Form::ZOrder(int position) {
  if (position == 0) raiseWindow(widget_.get());
  else widget_->lower();
}

void Form::Refresh() {
  client_->repaint();
}

QMenuBar* Form::menuBar() {
  if (!menuBar_) {
    menuBar_ = new QMenuBar(widget_.get());
    menuBar_->show();
    layoutClient();
  }
  return menuBar_;
}

bool Unload(Form& form) { return form.unload_(vbFormCode); }

std::vector<Form*> loadedForms() { return loadedList(); }

// ---------------------------------------------------------------- default instances

DefaultInstanceBase::DefaultInstanceBase() { instanceList().push_back(this); }

DefaultInstanceBase::~DefaultInstanceBase() {
  instanceList().erase(std::remove(instanceList().begin(), instanceList().end(), this), instanceList().end());
  if (QCoreApplication::instance()) destroyNow();
  else (void)owned_.release();  // the widgets went with the application
}

Form& DefaultInstanceBase::getOrLoad(const std::function<std::unique_ptr<Form>()>& make) {
  if (form_) return *form_;
  owned_ = make();
  Form* f = owned_.get();
  form_ = f;
  f->detach_ = [this, f] {
    if (form_ != f) return;
    form_ = nullptr;
    auto* reaper = new FormReaper(std::move(owned_));
    reaper->deleteLater();
  };
  f->load_();
  return *f;
}

void DefaultInstanceBase::destroyNow() {
  form_ = nullptr;
  if (owned_) {
    owned_->detach_ = nullptr;
    owned_.reset();
  }
}

// ---------------------------------------------------------------- program

namespace detail {

QtScaleRequest::QtScaleRequest() {
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  scaleFactor_ = takeEnv(kQtScaleFactor);
  screenFactors_ = takeEnv(kQtScreenFactors);
}

void QtScaleRequest::applyAndRestore() {
  QScreen* primary = QGuiApplication::primaryScreen();
  const double scale =
      requestedScale(QString::fromLocal8Bit(scaleFactor_.value_or(QByteArray())),
                     QString::fromLocal8Bit(screenFactors_.value_or(QByteArray())),
                     primary ? primary->name() : QString(), int(QGuiApplication::screens().indexOf(primary)));
  g_twipsPerPixel = twipsPerPixelAtScale(scale);
  putBack(kQtScaleFactor, scaleFactor_);
  putBack(kQtScreenFactors, screenFactors_);
}

}  // namespace detail

Application::Application(int& argc, char** argv) : QApplication(argc, argv) { applyAndRestore(); }

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    reportUntrappedError(&e);
  } catch (...) {
    reportUntrappedError(nullptr);
  }
  return false;
}

void reportUntrappedError(const std::exception* error) {
  // Not one of the runtime's own errors: out of memory (7) or an internal error (51).
  int number = dynamic_cast<const std::bad_alloc*>(error) ? 7 : 51;
  QString description = number == 7 ? QString("Out of memory") : QString("Internal error");
  if (const auto* e = dynamic_cast<const Error*>(error)) {
    number = e->Number();
    description = e->Description();
  } else if (error && number == 51 && *error->what()) {
    description += ": " + QString::fromLocal8Bit(error->what());
  }
  const QString text = QString("Run-time error '%1':\n\n%2").arg(number).arg(description);
  std::fprintf(stderr, "%s: %s\n", qUtf8Printable(QCoreApplication::applicationName()),
               qUtf8Printable(QString(text).replace("\n\n", " ")));
  try {
    MsgBox(text, vbOKOnly | vbCritical);
  } catch (...) {
    // A box that cannot show leaves the log line.
  }
}

int RunProgram() {
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    app->setQuitOnLastWindowClosed(false);
  if (loadedList().empty() || g_ended) return 0;
  g_running = true;
  const int rc = QCoreApplication::exec();
  g_running = false;
  return rc;
}

void End() {
  g_ended = true;
  for (Form* f : loadedList()) {
    f->stopTimers_();
    f->widget()->hide();
  }
  // Only our own loop: QCoreApplication::exit outside exec() would make every
  // later event loop (modal forms, waits) return at once.
  if (g_running) QCoreApplication::exit(0);
}

bool programEnded() { return g_ended; }

void EndForms() {
  const std::vector<DefaultInstanceBase*> all = instanceList();
  for (DefaultInstanceBase* d : all) d->destroyNow();
  if (QCoreApplication::instance()) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  g_lastActive = nullptr;
}

void resetFormsForTests() {
  EndForms();
  g_ended = false;
  g_running = false;
  g_popupHook = nullptr;
}

void EndSession() {
  const std::vector<Form*> forms = loadedList();
  for (Form* f : forms)
    if (std::find(loadedList().begin(), loadedList().end(), f) != loadedList().end()) f->unload_(vbAppWindows);
}

namespace {
int g_signalPipe[2] = {-1, -1};
void onSignal(int) {
  const char c = 1;
  if (g_signalPipe[1] >= 0) (void)!::write(g_signalPipe[1], &c, 1);
}

// Qt and Xlib call exit(1) when the X connection breaks. The forms then still
// hold widgets of a dead display, and destroying them during static destruction
// crashes. An exit while the application still lives ends at once instead,
// leaving every file where it is.
void onExitUnderTheApplication() {
  if (!QCoreApplication::instance()) return;
  const QByteArray name = QCoreApplication::applicationName().toLocal8Bit();
  const QByteArray display = qgetenv("DISPLAY");
  std::fprintf(stderr, "%s: the connection to the X display \"%s\" was lost; ending.\n", name.constData(),
               display.constData());
  std::fflush(nullptr);
  ::_exit(1);
}
}  // namespace

void useDefaultFont() {
  QFont f("Liberation Sans", 8);
  f.setFamilies({"Liberation Sans", "Arial", "DejaVu Sans"});
  // On a scaled desktop the face grows with the twips, so captions keep the
  // room they were laid out for whatever the font DPI says.
  if (twipsPerPixel() != kTwipsPerPixelUnscaled) {
    QScreen* s = QGuiApplication::primaryScreen();
    const double dpi = s && s->logicalDotsPerInchY() > 0 ? s->logicalDotsPerInchY() : 96.0;
    f.setPointSizeF(8.0 * kTwipsPerPixelUnscaled / twipsPerPixel() * 96.0 / dpi);
  }
  QApplication::setFont(f);
}

void installSessionEndHandlers() {
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (!app) return;
  QObject::connect(app, &QGuiApplication::commitDataRequest, app, [](QSessionManager&) { EndSession(); });
  static const bool exitHook = std::atexit(onExitUnderTheApplication) == 0;
  (void)exitHook;
  if (g_signalPipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) return;
  auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, app);
  QObject::connect(notifier, &QSocketNotifier::activated, app, [] {
    char c;
    (void)!::read(g_signalPipe[0], &c, 1);
    EndSession();
    if (g_running) QCoreApplication::exit(0);
  });
  struct sigaction sa {};
  sa.sa_handler = onSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);  // Ctrl+C in the starting terminal
}

void setPopupMenuHook(std::function<void(Menu&)> hook) { g_popupHook = std::move(hook); }
std::function<void(Menu&)>& popupMenuHook_() { return g_popupHook; }

// ---------------------------------------------------------------- Screen

int ScreenObject::Width() const {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? pixelsToTwips(s->geometry().width()) : 0;
}

int ScreenObject::Height() const {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? pixelsToTwips(s->geometry().height()) : 0;
}

void ScreenObject::setMousePointer(int pointer) {
  const bool had = mousePointer_ != 0;
  mousePointer_ = pointer;
  if (pointer == 0) {
    if (had) QGuiApplication::restoreOverrideCursor();
  } else if (had) {
    QGuiApplication::changeOverrideCursor(cursorForPointer(pointer));
  } else {
    QGuiApplication::setOverrideCursor(cursorForPointer(pointer));
  }
}

Form* ScreenObject::ActiveForm() const { return g_lastActive; }

}  // namespace vb
