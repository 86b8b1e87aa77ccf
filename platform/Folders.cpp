#include "platform/Folders.h"

#include <QDir>
#include <QStandardPaths>

namespace platform {

QString appDataFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString documentsFolder() {
  // A fresh account may not have its documents folder yet: it is made, as
  // the desktop's user-dirs set-up would, and the home serves when it cannot be.
  const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return !docs.isEmpty() && QDir().mkpath(docs) ? docs : QDir::homePath();
}

QString velistromDataFolder() {
  const QString dir = appDataFolder() + "/Velistrom";
  return QDir().mkpath(dir) ? dir : QString();
}

}  // namespace platform
