#pragma once
// A recording mail program for the real xdg-email: a script registered as the
// x-scheme-handler/mailto handler in the test's own XDG folders. Each mailto
// link it is handed becomes one line of its record; it then waits `delay`
// seconds and exits with `status`. While it lives, the desktop variables that
// would send xdg-email to another desktop's mail program (or to a web
// browser) are cleared.
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>

#include <map>

namespace testenv {

class MailHandler {
 public:
  explicit MailHandler(int status = 0, double delay = 0) {
    for (const char* v : {"XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                          "GNOME_DESKTOP_SESSION_ID", "MATE_DESKTOP_SESSION_ID", "MAILER", "BROWSER"}) {
      if (qEnvironmentVariableIsSet(v)) saved_[v] = qgetenv(v);
      qunsetenv(v);
    }
    // xdg-open asks the mailto handler only when it sees a display; the
    // offscreen tests have none, and the handler needs none.
    if (!qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("WAYLAND_DISPLAY")) {
      qputenv("WAYLAND_DISPLAY", "velistrom-test-none");
      setDisplay_ = true;
    }
    const QString bin = home() + "/mailer";
    QDir().mkpath(bin);
    QDir().mkpath(dataHome() + "/applications");
    QDir().mkpath(configHome());
    record_ = bin + "/record.txt";
    QFile::remove(record_);
    const QString script = bin + "/recmail";
    write(script, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + record_ + "'\nsleep " + QString::number(delay) +
                      "\nexit " + QString::number(status) + "\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    write(dataHome() + "/applications/velistrom-recmail.desktop",
          "[Desktop Entry]\nType=Application\nName=Recording mail\nExec=" + script +
              " %u\nMimeType=x-scheme-handler/mailto;\n");
    write(configHome() + "/mimeapps.list",
          "[Default Applications]\nx-scheme-handler/mailto=velistrom-recmail.desktop\n");
  }
  ~MailHandler() {
    if (setDisplay_) qunsetenv("WAYLAND_DISPLAY");
    for (const auto& [name, value] : saved_) qputenv(name.c_str(), value);
  }
  MailHandler(const MailHandler&) = delete;
  MailHandler& operator=(const MailHandler&) = delete;

  // Every link handed over so far.
  QStringList links() const {
    QFile f(record_);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
  }

  // One link taken apart: the address, and each field's decoded values.
  struct Link {
    QString to;
    QStringList subject, body, attach;
  };
  static Link parse(const QString& link) {
    Link l;
    const QString rest = link.mid(QString("mailto:").size());
    const qsizetype q = rest.indexOf('?');
    l.to = QUrl::fromPercentEncoding(rest.left(q < 0 ? rest.size() : q).toUtf8());
    if (q < 0) return l;
    for (const QString& pair : rest.mid(q + 1).split('&', Qt::SkipEmptyParts)) {
      const QString key = pair.section('=', 0, 0);
      const QString value = QUrl::fromPercentEncoding(pair.section('=', 1).toUtf8());
      if (key == "subject") l.subject << value;
      if (key == "body") l.body << value;
      if (key == "attach") l.attach << value;
    }
    return l;
  }

 private:
  static void write(const QString& path, const QString& text) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(text.toUtf8());
  }
  QString record_;
  bool setDisplay_ = false;
  std::map<std::string, QByteArray> saved_;
};

}  // namespace testenv
