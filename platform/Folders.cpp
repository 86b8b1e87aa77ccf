#include "platform/Folders.h"

#include <QDir>
#include <QStandardPaths>

namespace platform {

QString appDataFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString documentsFolder() {
  const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return docs.isEmpty() ? QDir::homePath() : docs;
}

QString velistromDataFolder() {
  const QString dir = appDataFolder() + "/Velistrom";
  return QDir().mkpath(dir) ? dir : QString();
}

}  // namespace platform
