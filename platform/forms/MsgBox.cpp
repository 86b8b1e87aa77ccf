#include "platform/forms/MsgBox.h"

#include "platform/forms/App.h"
#include "platform/forms/CommonDialog.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>

namespace vb {
namespace {

QString logPath() { return QString::fromLocal8Bit(qgetenv("VELISTROM_MSGBOX_LOG")); }

void appendLog(const QString& path, const QString& kind, const QString& title, const QString& text) {
  QFile log(path);
  if (!log.open(QIODevice::Append)) return;
  QString oneLine = text;
  oneLine.replace("\r\n", "\\n").replace('\n', "\\n").replace('\r', "\\n");
  log.write((kind + '|' + title + '|' + oneLine + '\n').toUtf8());
}

QWidget* activeParent() { return QApplication::activeWindow(); }

class QtDialogService : public DialogService {
 public:
  int msgBox(const QString& prompt, int buttons, const QString& title) override {
    const QString log = logPath();
    if (!log.isEmpty()) {
      appendLog(log, iconName(buttons), title, prompt);
      return defaultAnswer(buttons);
    }
    QMessageBox box(activeParent());
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    box.setText(prompt);
    switch (buttons & 0x70) {
      case vbCritical: box.setIcon(QMessageBox::Critical); break;
      case vbQuestion: box.setIcon(QMessageBox::Question); break;
      case vbExclamation: box.setIcon(QMessageBox::Warning); break;
      case vbInformation: box.setIcon(QMessageBox::Information); break;
      default: break;
    }
    using B = QMessageBox::StandardButton;
    static const QList<QList<std::pair<B, int>>> sets = {
        {{B::Ok, vbOK}},
        {{B::Ok, vbOK}, {B::Cancel, vbCancel}},
        {{B::Abort, vbAbort}, {B::Retry, vbRetry}, {B::Ignore, vbIgnore}},
        {{B::Yes, vbYes}, {B::No, vbNo}, {B::Cancel, vbCancel}},
        {{B::Yes, vbYes}, {B::No, vbNo}},
        {{B::Retry, vbRetry}, {B::Cancel, vbCancel}}};
    const auto& set = sets[(buttons & 7) < 6 ? (buttons & 7) : 0];
    for (const auto& [b, code] : set) box.addButton(b);
    const int def = (buttons >> 8) & 3;
    box.setDefaultButton(set[def < set.size() ? def : 0].first);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const auto& [b, code] : set)
      if (b == clicked) return code;
    return (buttons & 7) == vbOKOnly ? vbOK : vbCancel;  // closed with Esc
  }

  std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                  const QString& defaultText) override {
    const QString log = logPath();
    if (!log.isEmpty()) {
      appendLog(log, "input", title, prompt);
      return defaultText;
    }
    QInputDialog dlg(activeParent());
    dlg.setWindowTitle(title);
    dlg.setLabelText(prompt);
    dlg.setTextValue(defaultText);
    // Wide enough to show the proposed text whole, within reason.
    const int large = dlg.fontMetrics().horizontalAdvance(defaultText) + 40;
    const int base = dlg.sizeHint().width();
    dlg.resize(std::max(base, std::min(large, 800)), dlg.sizeHint().height());
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return dlg.textValue();
  }

  std::optional<QString> fileDialog(int kind, const CommonDialog& d) override {
    const QString log = logPath();
    if (!log.isEmpty()) {
      appendLog(log, kind == 1 ? "open" : "save", d.DialogTitle(), d.Filter());
      return std::nullopt;
    }
    QFileDialog dlg(activeParent(), d.DialogTitle());
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setAcceptMode(kind == 1 ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    // As the old open box: a name that does not exist yet may be typed unless
    // the file must exist.
    dlg.setFileMode(kind == 1 && (d.Flags() & cdlOFNFileMustExist) ? QFileDialog::ExistingFile
                                                                    : QFileDialog::AnyFile);
    if (kind == 2 && !(d.Flags() & cdlOFNOverwritePrompt))
      dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = d.qtNameFilters();
    if (!filters.isEmpty()) {
      dlg.setNameFilters(filters);
      const int i = d.FilterIndex() - 1;
      if (i >= 0 && i < filters.size()) dlg.selectNameFilter(filters[i]);
    }
    if (!d.InitDir().isEmpty()) dlg.setDirectory(d.InitDir());
    if (!d.FileName().isEmpty()) dlg.selectFile(d.FileName());
    if (!d.DefaultExt().isEmpty()) dlg.setDefaultSuffix(d.DefaultExt());
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    const int chosen = int(filters.indexOf(dlg.selectedNameFilter()));
    if (chosen >= 0) const_cast<CommonDialog&>(d).setChosenFilterIndex_(chosen + 1);
    return dlg.selectedFiles().first();
  }

  bool printerDialog(CommonDialog& d) override {
    const QString log = logPath();
    if (!log.isEmpty()) {
      appendLog(log, "printer", d.DialogTitle(), QString());
      return false;
    }
    QPrintDialog dlg(&d.printer(), activeParent());
    if (!d.DialogTitle().isEmpty()) dlg.setWindowTitle(d.DialogTitle());
    if (dlg.exec() != QDialog::Accepted) return false;
    d.setCopies(d.printer().copyCount());
    return true;
  }
};

DialogService* g_service = nullptr;

}  // namespace

int defaultAnswer(int buttons) {
  static const int answers[6][3] = {{vbOK, vbOK, vbOK},           {vbOK, vbCancel, vbCancel},
                                    {vbAbort, vbRetry, vbIgnore}, {vbYes, vbNo, vbCancel},
                                    {vbYes, vbNo, vbNo},          {vbRetry, vbCancel, vbCancel}};
  const int set = buttons & 7;
  const int def = (buttons >> 8) & 3;
  return answers[set < 6 ? set : 0][def < 3 ? def : 0];
}

QString iconName(int buttons) {
  switch (buttons & 0x70) {
    case vbCritical: return "critical";
    case vbQuestion: return "question";
    case vbExclamation: return "exclamation";
    case vbInformation: return "information";
    default: return "none";
  }
}

DialogService& defaultDialogService() {
  static QtDialogService service;
  return service;
}

DialogService& dialogService() { return g_service ? *g_service : defaultDialogService(); }
void setDialogService(DialogService* service) { g_service = service; }

namespace {
QString resolvedTitle(const QString& title) { return title.isEmpty() ? App.Title() : title; }
}  // namespace

int MsgBox(const QString& prompt, int buttons, const QString& title) {
  return dialogService().msgBox(prompt, buttons, resolvedTitle(title));
}

std::optional<QString> InputBoxEx(const QString& prompt, const QString& title,
                                  const QString& defaultText) {
  return dialogService().inputBox(prompt, resolvedTitle(title), defaultText);
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) {
  return InputBoxEx(prompt, title, defaultText).value_or(QString());
}

}  // namespace vb
