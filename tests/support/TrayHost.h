#pragma once
// A real notification-area host (Debian's trayer) on the test's X server, for
// as long as the object lives. ok() is false when trayer is missing or the
// tray did not come up.
#include "tests/support/Wait.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QSystemTrayIcon>

namespace testsupport {

class TrayHost {
 public:
  TrayHost() {
    const QString trayer = QStandardPaths::findExecutable("trayer");
    if (trayer.isEmpty()) return;
    process_.start(trayer, {"--edge", "top", "--align", "right", "--widthtype", "request", "--height", "24"});
    if (!process_.waitForStarted(5000)) return;
    ok_ = waitFor(true, 10000);
  }
  ~TrayHost() {
    if (process_.state() != QProcess::NotRunning) {
      process_.terminate();
      if (!process_.waitForFinished(3000)) {
        process_.kill();
        process_.waitForFinished(3000);
      }
    }
    (void)waitFor(false, 5000);  // a test that needs no tray checks for one itself
  }
  TrayHost(const TrayHost&) = delete;
  TrayHost& operator=(const TrayHost&) = delete;

  bool ok() const { return ok_; }

  // Waits (letting events run) until the tray is there, or gone.
  [[nodiscard]] static bool waitFor(bool available, int ms) {
    return testsupport::waitFor([=] { return QSystemTrayIcon::isSystemTrayAvailable() == available; }, ms);
  }

 private:
  QProcess process_;
  bool ok_ = false;
};

}  // namespace testsupport
