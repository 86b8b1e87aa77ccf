#include "platform/forms/App.h"

#include "platform/Folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace vb {

QString AppObject::Path() const { return QCoreApplication::applicationDirPath(); }

QString AppObject::Title() const {
  return title_.isEmpty() ? QCoreApplication::applicationName() : title_;
}

void AppObject::setTitle(const QString& title) { title_ = title; }

QString AppObject::EXEName() const {
  QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
  if (name.endsWith(".exe", Qt::CaseInsensitive)) name.chop(4);
  return name;
}

QString settingsFile(const QString& appName) {
  const QString base = platform::xdgBase("XDG_CONFIG_HOME", ".config");
  QString safe = appName;
  safe.replace('/', '_').replace('\\', '_');
  if (safe.isEmpty() || safe == "." || safe == "..") safe = "_";
  return base + "/Velistrom/" + safe + ".ini";
}

namespace {
QString groupKey(const QString& section, const QString& key) {
  // Slashes would make QSettings nest groups.
  QString s = section, k = key;
  return s.replace('/', '_') + '/' + k.replace('/', '_');
}
}  // namespace

QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue) {
  QSettings s(settingsFile(appName), QSettings::IniFormat);
  return s.value(groupKey(section, key), defaultValue).toString();
}

void SaveSetting(const QString& appName, const QString& section, const QString& key,
                 const QString& value) {
  const QString file = settingsFile(appName);
  QDir().mkpath(QFileInfo(file).absolutePath());
  QSettings s(file, QSettings::IniFormat);
  s.setValue(groupKey(section, key), value);
  s.sync();
}

void DeleteSetting(const QString& appName, const QString& section, const QString& key) {
  QSettings s(settingsFile(appName), QSettings::IniFormat);
  QString sec = section;
  sec.replace('/', '_');
  if (key.isEmpty()) s.remove(sec);
  else s.remove(groupKey(section, key));
  s.sync();
}

}  // namespace vb
