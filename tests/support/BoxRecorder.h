#pragma once
// Records every message box as "icon|title|text" and answers its default
// button, for tests of code whose boxes are outcomes rather than dialogue.
// Installed for its lifetime; the service in force before comes back after.
#include "platform/forms/MsgBox.h"

#include <QStringList>

namespace testenv {

class BoxRecorder : public vb::DialogService {
 public:
  BoxRecorder() : previous_(&vb::dialogService()) { vb::setDialogService(this); }
  ~BoxRecorder() override { vb::setDialogService(previous_); }
  BoxRecorder(const BoxRecorder&) = delete;
  BoxRecorder& operator=(const BoxRecorder&) = delete;

  const QStringList& boxes() const { return boxes_; }

  int msgBox(const QString& prompt, int buttons, const QString& title) override {
    boxes_ << vb::iconName(buttons) + '|' + title + '|' + prompt;
    return vb::defaultAnswer(buttons);
  }
  std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                  const QString& defaultText) override {
    boxes_ << "input|" + title + '|' + prompt;
    return defaultText;
  }
  std::optional<QString> fileDialog(int, const vb::CommonDialog&) override { return std::nullopt; }
  bool printerDialog(vb::CommonDialog&) override { return false; }

 private:
  vb::DialogService* previous_;
  QStringList boxes_;
};

}  // namespace testenv
