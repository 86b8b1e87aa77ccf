#pragma once
// Small forms for the tests of the forms layer; each logs its lifecycle events.
#include "platform/forms/Controls.h"
#include "platform/forms/Menu.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QStringList>
#include <QWidget>

#include <ostream>

// Readable QString values in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace testforms {

inline QStringList& log() {
  static QStringList events;
  return events;
}

class LoggingForm : public vb::Form {
 public:
  explicit LoggingForm(const QString& name) : Form(name) {}
  void Form_Load() override { log() << name() + ".Load"; }
  void Form_Activate() override { log() << name() + ".Activate"; }
  void Form_Deactivate() override { log() << name() + ".Deactivate"; }
  void Form_Resize() override { log() << name() + ".Resize"; }
  void Form_QueryUnload(int& cancel, int mode) override {
    log() << name() + ".QueryUnload" + QString::number(mode);
    cancel = cancelQuery;
  }
  void Form_Unload(int& cancel) override { log() << name() + ".Unload"; }
  void Form_Terminate() override { log() << name() + ".Terminate"; }
  QString name() const { return Name(); }
  int cancelQuery = 0;
};

class FormA : public LoggingForm {
 public:
  FormA() : LoggingForm("FormA") {}
  vb::Label lbl{*this, "lbl"};
  vb::PictureBox pic{*this, "pic"};
  int counter = 0;
};

// Unloads itself in Form_Load when told so.
class FormB : public LoggingForm {
 public:
  FormB() : LoggingForm("FormB") {}
  static inline bool unloadInLoad = false;
  void Form_Load() override {
    LoggingForm::Form_Load();
    if (unloadInLoad) vb::Unload(*this);
  }
  vb::TextBox txt{*this, "txt"};
};

class FormC : public LoggingForm {
 public:
  FormC() : LoggingForm("FormC") {}
  vb::Timer tim{*this, "tim", 0, false};
};

inline vb::DefaultInstance<FormA> frmA;
inline vb::DefaultInstance<FormB> frmB;
inline vb::DefaultInstance<FormC> frmC;

// Sends one mouse event with a timestamp (the layer tells double clicks by it).
inline void mouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                  Qt::MouseButtons held, quint64 timestamp, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QMouseEvent e(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, held, mods);
  e.setTimestamp(timestamp);
  QCoreApplication::sendEvent(w, &e);
}

}  // namespace testforms
