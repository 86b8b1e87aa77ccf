// The program itself ending on outside events: its X server going away and the
// signals that end a session.
#include "tests/support/TestEnv.h"
#include "tests/support/Wait.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

// A private account for one run of the program, up to its main window.
class ProgramRun {
 public:
  ProgramRun() {
    appData = dir.filePath("data/Velistrom");
    QDir().mkpath(appData);
    QDir().mkpath(dir.filePath("home"));
    QDir().mkpath(dir.filePath("config"));
    writeFile(appData + "/spoken.txt", "ConstPRJA\r\n");
  }

  QProcessEnvironment environment(const QString& display) const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", dir.filePath("home"));
    env.insert("XDG_DATA_HOME", dir.filePath("data"));
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    env.insert("VELISTROM_MSGBOX_LOG", dir.filePath("boxes.log"));
    env.remove("VELISTROM_TIPS_FTP");
    if (display.isEmpty()) {
      env.insert("QT_QPA_PLATFORM", "offscreen");
    } else {
      env.insert("QT_QPA_PLATFORM", "xcb");
      env.insert("DISPLAY", display);
    }
    return env;
  }

  QStringList runFolders() const {
    return QDir(appData).entryList({"tempocapt*"}, QDir::Dirs | QDir::NoDotAndDotDot);
  }

  // Starts the program and waits for its run's capture folder (the main window is up).
  bool start(QProcess& p, const QString& display = {}) {
    p.setProcessEnvironment(environment(display));
    p.start(testenv::binDir() + "/Velistrom", {});
    if (!p.waitForStarted(10000)) return false;
    (void)testsupport::waitFor([&] { return !runFolders().isEmpty() || p.state() != QProcess::Running; }, 20000);
    QThread::msleep(300);
    return p.state() == QProcess::Running && !runFolders().isEmpty();
  }

  QTemporaryDir dir;
  QString appData;
};

bool built() { return QFile::exists(testenv::binDir() + "/Velistrom"); }

// An X server of the test's own, to be killed under the program.
class PrivateX {
 public:
  bool start() {
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    if (xvfb.isEmpty()) return false;
    server.start(xvfb, {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    if (!server.waitForStarted(5000)) return false;
    QElapsedTimer t;
    t.start();
    while (!server.canReadLine() && t.elapsed() < 10000) server.waitForReadyRead(200);
    const QByteArray number = server.readLine().trimmed();
    if (number.isEmpty()) return false;
    display = ":" + QString::fromLatin1(number);
    return true;
  }
  ~PrivateX() {
    if (server.state() != QProcess::NotRunning) {
      server.kill();
      server.waitForFinished(3000);
    }
  }
  QProcess server;
  QString display;
};

TEST(EndOfRun, TheXServerGoingAwayEndsWithAStatusAndALineAndLeavesTheFiles) {
  if (!built()) GTEST_SKIP() << "Velistrom not built";
  PrivateX x;
  if (!x.start()) GTEST_SKIP() << "no Xvfb";
  ProgramRun run;
  QProcess p;
  ASSERT_TRUE(run.start(p, x.display)) << p.readAllStandardError().constData();
  const QStringList folders = run.runFolders();

  x.server.kill();
  x.server.waitForFinished(3000);
  ASSERT_TRUE(p.waitForFinished(10000)) << "the program outlived its display";
  EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << "ended by a signal";
  EXPECT_GT(p.exitCode(), 0);
  EXPECT_LT(p.exitCode(), 128);
  const QString err = QString::fromLocal8Bit(p.readAllStandardError());
  EXPECT_TRUE(err.contains("Velistrom: the connection to the X display \"" + x.display + "\" was lost"))
      << err.toStdString();
  EXPECT_EQ(run.runFolders(), folders) << "the run's captures folder went";
}

// Every signal that ends a session ends the run the same way: the session-end
// save, then a clean exit.
TEST(EndOfRun, SessionEndSignalsEndTheRunCleanly) {
  if (!built()) GTEST_SKIP() << "Velistrom not built";
  for (const int sig : {SIGTERM, SIGHUP, SIGINT}) {
    SCOPED_TRACE(sig);
    ProgramRun run;
    QProcess p;
    ASSERT_TRUE(run.start(p)) << p.readAllStandardError().constData();
    ::kill(pid_t(p.processId()), sig);
    ASSERT_TRUE(p.waitForFinished(5000)) << "the program did not end";
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_TRUE(run.runFolders().isEmpty()) << run.runFolders().join(", ").toStdString();
    EXPECT_TRUE(QFile::exists(run.appData + "/params.txt"));
    QFile boxes(run.dir.filePath("boxes.log"));
    EXPECT_FALSE(boxes.exists() && boxes.size() > 0) << "a message box came";
  }
}

}  // namespace
