#pragma once
// Message and input boxes with the old runtime's button and icon codes. Every box
// goes through one service, so tests can script the answers and out-of-process
// tests can log the boxes (VELISTROM_MSGBOX_LOG=FILE: one line icon|title|text
// per box, answered with its default button, nothing shown; an input box logs
// "input|title|prompt" and answers its default text).
#include <QString>

#include <optional>

namespace vb {

enum MsgBoxStyle : int {
  vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4,
  vbRetryCancel = 5,
  vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
  vbDefaultButton1 = 0, vbDefaultButton2 = 256, vbDefaultButton3 = 512,
  vbApplicationModal = 0, vbSystemModal = 4096,
};
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// Shows a box; an empty title means the application's title (App.Title).
int MsgBox(const QString& prompt, int buttons = vbOKOnly, const QString& title = QString());
// InputBox: the text typed, or "" when the user cancels (as the old function).
QString InputBox(const QString& prompt, const QString& title = QString(),
                 const QString& defaultText = QString());
// The same, telling a cancel (nullopt) from an empty answer.
std::optional<QString> InputBoxEx(const QString& prompt, const QString& title = QString(),
                                  const QString& defaultText = QString());

// The answer a box gets when nobody can answer it: its default button.
int defaultAnswer(int buttons);
// "critical", "question", "exclamation", "information" or "none".
QString iconName(int buttons);

class CommonDialog;

// Where the boxes and the common dialog go. The default service shows Qt
// dialogs (or logs, with VELISTROM_MSGBOX_LOG); tests install a scripted one.
class DialogService {
 public:
  virtual ~DialogService() = default;
  // title is already resolved (never empty).
  virtual int msgBox(const QString& prompt, int buttons, const QString& title) = 0;
  virtual std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                          const QString& defaultText) = 0;
  // kind: 1 open, 2 save. The chosen path, or nullopt on cancel. The dialog's
  // properties (Filter, InitDir, FileName, DialogTitle, ...) describe the box.
  virtual std::optional<QString> fileDialog(int kind, const CommonDialog& dialog) = 0;
  // The printer box: true when accepted; may set the dialog's printer
  // (CommonDialog::printer) and Copies.
  virtual bool printerDialog(CommonDialog& dialog) = 0;
};

// The service in force (never null): the one installed, else the default.
DialogService& dialogService();
// Installs a service (nullptr: back to the default). The caller keeps it alive.
void setDialogService(DialogService* service);
// The default service (Qt dialogs, or the log).
DialogService& defaultDialogService();

}  // namespace vb
