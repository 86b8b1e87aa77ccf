#pragma once
// The App object and the per-user settings store of the old runtime.
#include <QString>

namespace vb {

class AppObject {
 public:
  // Folder of the running program (no trailing "/").
  QString Path() const;
  // The program's title: by default the application name.
  QString Title() const;
  void setTitle(const QString& title);
  // The program's file name without folder (and never with ".exe").
  QString EXEName() const;
  // Another instance of the program already running: never reported here.
  bool PrevInstance() const { return false; }

 private:
  QString title_;
};
inline AppObject App;

// GetSetting/SaveSetting/DeleteSetting: an INI file per application name,
// $XDG_CONFIG_HOME/Velistrom/<appName>.ini, one group per section. Values are
// written at once. A missing value gives the default.
QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
void SaveSetting(const QString& appName, const QString& section, const QString& key,
                 const QString& value);
void DeleteSetting(const QString& appName, const QString& section, const QString& key = QString());
// The file that holds appName's settings.
QString settingsFile(const QString& appName);

}  // namespace vb
