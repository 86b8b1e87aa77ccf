#include "platform/SystemLookup.h"

#include <QSettings>
#include <QStandardPaths>

namespace platform {

QString lookupFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/Velistrom/lookup.ini");
}

std::optional<QString> lookupValue(const QString& root, const QString& key, const QString& name) {
  QSettings file(lookupFile(), QSettings::IniFormat);
  // QSettings reads "\" as its own group separator.
  QString path = root + u'/' + key + u'/' + name;
  path.replace(u'\\', u'/');
  const QVariant v = file.value(path);
  if (!v.isValid()) return std::nullopt;
  // An unquoted value with commas reads as a list: it was one text.
  if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QStringLiteral(", "));
  return v.toString();
}

}  // namespace platform
