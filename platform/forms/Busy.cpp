#include "platform/forms/Busy.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <exception>
#include <memory>

namespace vb {
namespace {

int g_busy = 0;

// Eats the user's input for as long as it is installed.
class DropInput : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::NonClientAreaMouseButtonPress:
      case QEvent::NonClientAreaMouseButtonRelease:
      case QEvent::NonClientAreaMouseButtonDblClick:
      case QEvent::Wheel:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
      case QEvent::Shortcut:
      case QEvent::ContextMenu:
      case QEvent::TouchBegin:
      case QEvent::TouchUpdate:
      case QEvent::TouchEnd:
        return true;
      case QEvent::Close:
        // The window stays: its close request is refused, not queued.
        event->ignore();
        return true;
      default:
        return QObject::eventFilter(watched, event);
    }
  }
};

}  // namespace

bool busy() { return g_busy > 0; }

void RunBusy(const std::function<void()>& work) {
  std::exception_ptr failure;
  QEventLoop loop;
  std::unique_ptr<QThread> thread(QThread::create([&] {
    try {
      work();
    } catch (...) {
      failure = std::current_exception();
    }
  }));
  QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
  DropInput filter;
  QCoreApplication* app = QCoreApplication::instance();
  if (app) app->installEventFilter(&filter);
  ++g_busy;
  thread->start();
  if (app) loop.exec();
  thread->wait();
  --g_busy;
  if (app) app->removeEventFilter(&filter);
  if (failure) std::rethrow_exception(failure);
}

}  // namespace vb
