#pragma once
// A recording xdg-open: a script that appends the address it is handed to the
// file named by $XDG_OPEN_LOG, for tests of what a program opens in the browser.
// Put its folder first on the PATH of the program under test.
#include "tests/support/Wait.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

namespace testenv {

// Writes folder/xdg-open; returns false when it cannot be written.
inline bool installRecordingXdgOpen(const QString& folder) {
  QDir().mkpath(folder);
  QFile script(folder + "/xdg-open");
  if (!script.open(QIODevice::WriteOnly)) return false;
  script.write("#!/bin/sh\nprintf '%s\\n' \"$*\" >> \"$XDG_OPEN_LOG\"\n");
  script.close();
  return script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The addresses recorded in log so far. xdg-open runs detached, so this waits
// up to 5 s for at least `expected` of them.
inline QStringList recordedOpens(const QString& log, int expected) {
  QStringList lines;
  (void)testsupport::waitFor([&] {  // the caller checks the lines
    QFile f(log);
    lines = f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts)
                                        : QStringList();
    return lines.size() >= expected;
  }, 5000);
  return lines;
}

}  // namespace testenv
