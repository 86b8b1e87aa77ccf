#include "platform/forms/CommonDialog.h"

#include "platform/forms/Error.h"

#include <QFileInfo>
#include <QPrinter>

namespace vb {

CommonDialog::CommonDialog() = default;
CommonDialog::~CommonDialog() = default;

QString CommonDialog::FileTitle() const {
  const qsizetype slash = fileName_.lastIndexOf('/');
  return slash < 0 ? fileName_ : fileName_.mid(slash + 1);
}

QStringList CommonDialog::qtNameFilters() const {
  const QStringList parts = filter_.split('|');
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    patterns = patterns.simplified();
    QString desc = parts[i];
    // A description that already ends in its own patterns is shown as it is.
    if (desc.endsWith(" (" + patterns + ")") || desc.endsWith("(" + patterns + ")")) {
      out << desc;
      continue;
    }
    desc.replace('(', '[').replace(')', ']');  // Qt reads the patterns from the parentheses
    out << desc + " (" + patterns + ")";
  }
  return out;
}

QPrinter& CommonDialog::printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

void CommonDialog::accept(const QString& path) {
  QString name = path;
  if (!defaultExt_.isEmpty() && QFileInfo(name).suffix().isEmpty()) {
    QString ext = defaultExt_;
    if (ext.startsWith('.')) ext.remove(0, 1);
    name += '.' + ext;
  }
  fileName_ = name;
}

void CommonDialog::ShowOpen() {
  const auto path = dialogService().fileDialog(1, *this);
  if (!path) {
    if (cancelError_) throw Error(vbErrCancel);
    return;
  }
  accept(*path);
}

void CommonDialog::ShowSave() {
  const auto path = dialogService().fileDialog(2, *this);
  if (!path) {
    if (cancelError_) throw Error(vbErrCancel);
    return;
  }
  accept(*path);
}

void CommonDialog::ShowPrinter() {
  if (!dialogService().printerDialog(*this)) {
    if (cancelError_) throw Error(vbErrCancel);
  }
}

}  // namespace vb
