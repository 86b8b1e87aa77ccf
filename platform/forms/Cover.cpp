#include "platform/forms/Cover.h"

#include "platform/ActiveWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <memory>
#include <vector>

namespace vb {
namespace {

class CoverKeeper : public QObject {
 public:
  QPointer<QWidget> cover;

  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() != QEvent::Show && e->type() != QEvent::Hide) return false;
    auto* w = qobject_cast<QWidget*>(o);
    if (!w || !w->isWindow() || w == cover) return false;
    if (e->type() == QEvent::Show) shown(w);
    else hidden(w);
    return false;
  }

 bool anyModal() const { return coverShows() && !modals_.empty(); }

 private:
  bool coverShows() const { return cover && cover->isVisible(); }

  void shown(QWidget* w) {
    // A window kept on top by its own flag (the shutter) keeps its own stacking.
    if (!coverShows() || (w->windowFlags() & Qt::WindowStaysOnTopHint)) return;
    above_.push_back(w);
    const bool modal = w->isModal();
    if (modal) takeGrabs(w);
    lift(w, modal);
  }

  void hidden(QWidget* w) {
    std::erase_if(above_, [w](const QPointer<QWidget>& p) { return !p || p == w; });
    const auto it = std::find(modals_.begin(), modals_.end(), w);
    if (it == modals_.end()) return;
    modals_.erase(it);
    if (modals_.empty()) giveGrabsBack();
  }

  // The cover's grab would take the keys and clicks meant for the box.
  void takeGrabs(QWidget* box) {
    if (modals_.empty()) {
      keyboardFrom_ = QWidget::keyboardGrabber();
      mouseFrom_ = QWidget::mouseGrabber();
      if (keyboardFrom_) keyboardFrom_->releaseKeyboard();
      if (mouseFrom_) mouseFrom_->releaseMouse();
    }
    modals_.push_back(box);
  }

  void giveGrabsBack() {
    const bool shows = coverShows();
    if (keyboardFrom_ && shows && keyboardFrom_->isVisible()) keyboardFrom_->grabKeyboard();
    if (mouseFrom_ && shows && mouseFrom_->isVisible()) mouseFrom_->grabMouse();
    keyboardFrom_ = nullptr;
    mouseFrom_ = nullptr;
  }

  // The window manager frames and maps the window a moment after Qt shows it:
  // the cover goes below the frame once it is there.
  void lift(QWidget* w, bool focus) {
    QPointer<QWidget> target(w);
    auto* timer = new QTimer(this);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(10);
    connect(timer, &QTimer::timeout, this, [this, target, focus, timer, clock] {
      const bool gone = !target || !target->isVisible() || !coverShows();
      if (!gone && platform::stackBelowFrameOf(cover->winId(), target->winId())) {
        if (focus) platform::giveKeyboardFocus(target->winId());
      } else if (!gone && clock->elapsed() < 3000) {
        return;
      }
      timer->deleteLater();
    });
    timer->start();
  }

  std::vector<QWidget*> modals_;
  std::vector<QPointer<QWidget>> above_;

 public:
  bool anyAbove() const {
    if (!coverShows()) return false;
    return std::any_of(above_.begin(), above_.end(), [](const QPointer<QWidget>& p) { return p && p->isVisible(); });
  }

 private:
  QPointer<QWidget> keyboardFrom_, mouseFrom_;
};

CoverKeeper* keeper() {
  static QPointer<CoverKeeper> k;  // dies with the application
  if (!k) {
    k = new CoverKeeper;
    if (qApp) {
      k->setParent(qApp);
      qApp->installEventFilter(k);
    }
  }
  return k;
}

}  // namespace

void setCoveringWindow(QWidget* cover) { keeper()->cover = cover; }
QWidget* coveringWindow() { return keeper()->cover; }
bool windowsAboveCover() { return keeper()->anyAbove(); }
bool modalAboveCover() { return keeper()->anyModal(); }

}  // namespace vb
