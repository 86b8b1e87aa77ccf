#include "platform/forms/MsgBox.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>

namespace vb {
namespace {

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

bool logBox(const QString& title, const QString& prompt, int buttons) {
  const QByteArray path = qgetenv("VELISTROM_MSGBOX_LOG");
  if (path.isEmpty()) return false;
  QFile log(QString::fromLocal8Bit(path));
  if (log.open(QIODevice::Append)) {
    QString text = prompt;
    text.replace("\r\n", "\\n").replace('\n', "\\n").replace('\r', "\\n");
    log.write((iconName(buttons) + '|' + title + '|' + text + '\n').toUtf8());
  }
  return true;
}

}  // namespace

int MsgBox(const QString& prompt, int buttons, const QString& title) {
  const QString caption = title.isEmpty() ? QApplication::applicationName() : title;
  if (logBox(caption, prompt, buttons)) return defaultAnswer(buttons);

  QMessageBox box;
  box.setWindowTitle(caption);
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

}  // namespace vb
