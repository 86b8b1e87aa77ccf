#pragma once
// The clipboard as another X client reads it (xclip), while this process's
// event loop keeps serving it: a blocking wait would leave the request unanswered.
#include "tests/support/Wait.h"

#include <QByteArray>
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

namespace testsupport {

// xclip's output for `args` (e.g. {"-selection", "clipboard", "-t", "image/png", "-o"});
// empty when xclip does not start or does not finish within ten seconds. What
// xclip says on its error output fails the test, unless the caller takes it
// (a clipboard without the asked type is no fault then).
inline QByteArray xclipOutput(const QStringList& args, QByteArray* errors = nullptr) {
  QProcess xclip;
  xclip.start("xclip", args);
  if (!xclip.waitForStarted(5000)) return {};
  if (!waitFor([&] { return xclip.state() == QProcess::NotRunning; }, 10000)) {
    xclip.kill();
    xclip.waitForFinished(1000);
    return {};
  }
  const QByteArray err = xclip.readAllStandardError();
  if (errors)
    *errors = err;
  else if (!err.isEmpty())
    ADD_FAILURE() << "xclip: " << err.toStdString();
  return xclip.readAllStandardOutput();
}

}  // namespace testsupport
