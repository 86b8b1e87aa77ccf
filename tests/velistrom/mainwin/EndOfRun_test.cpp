// The program itself ending on outside events: its X server going away, the
// signals that end a session, and a disk that is full when the settings go.
#include "tests/support/Files.h"
#include "tests/support/PrivateDisplay.h"
#include "tests/support/TestEnv.h"
#include "tests/support/Wait.h"
#include "tests/support/XTestKeys.h"
#include "velistrom/core/Params.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

using testsupport::readFile;
using testsupport::waitFor;

// A private account for one run of the program, up to its main window.
class ProgramRun {
 public:
  ProgramRun() {
    appData = dir.filePath("data/Velistrom");
    QDir().mkpath(appData);
    QDir().mkpath(dir.filePath("home"));
    QDir().mkpath(dir.filePath("config"));
    QDir().mkpath(dir.filePath("cwd"));
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
  // The temporary bitmaps of the run's captures, as folder/name.
  QStringList captures() const {
    QStringList out;
    for (const QString& f : runFolders())
      for (const QString& n : QDir(appData + "/" + f).entryList({"Captprov_*"}, QDir::Files))
        out << f + "/" + n;
    return out;
  }
  QStringList saved() const { return QDir(dir.filePath("home/Documents")).entryList(QDir::Files); }
  QStringList boxes() const {
    // No box at all leaves no log.
    const QString log = dir.filePath("boxes.log");
    if (!QFile::exists(log)) return {};
    return QString::fromUtf8(readFile(log)).split('\n', Qt::SkipEmptyParts);
  }
  QString errors() const { return QString::fromLocal8Bit(readFile(dir.filePath("stderr.txt"))); }
  // A core dump the run left in its working folder.
  bool dumpedCore() const { return !QDir(dir.filePath("cwd")).entryList({"core*"}, QDir::Files).isEmpty(); }

  // Starts the program (or `program` that starts it) and waits until `up` holds:
  // by default, the run's capture folder is there (the main window is up).
  bool start(QProcess& p, const QString& display = {}, const QString& program = {},
             const QStringList& args = {}, std::function<bool()> up = {}) {
    p.setProcessEnvironment(environment(display));
    p.setWorkingDirectory(dir.filePath("cwd"));
    // Read only at the end: a pipe nobody reads could stall the program.
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(dir.filePath("stderr.txt"));
    // A crash would leave its core where it can be seen.
    p.setChildProcessModifier([] {
      rlimit core{};
      if (getrlimit(RLIMIT_CORE, &core) == 0) {
        core.rlim_cur = core.rlim_max;
        setrlimit(RLIMIT_CORE, &core);
      }
    });
    p.start(program.isEmpty() ? testenv::binDir() + "/Velistrom" : program, args);
    if (!p.waitForStarted(10000)) return false;
    if (!up) up = [this] { return !runFolders().isEmpty(); };
    QElapsedTimer t;
    t.start();
    // Waiting on the process is what lets it notice that the program ended.
    while (!up() && p.state() == QProcess::Running && t.elapsed() < 60000) p.waitForFinished(50);
    if (p.state() == QProcess::Running) p.waitForFinished(300);
    return p.state() == QProcess::Running && up();
  }

  QTemporaryDir dir;
  QString appData;
};

bool built() { return QFile::exists(testenv::binDir() + "/Velistrom"); }

// Ctrl and a hotkey letter pressed through XTest until `done` holds. The
// program's poll runs one command per press and sees the keys only every
// 100 ms, so a press it missed is let go and made again.
bool hotkey(const QString& display, const QString& letter, const std::function<bool()>& done) {
  testsupport::XTestInput keys(display);
  if (!keys.ok()) return false;
  for (int attempt = 0; attempt < 4; ++attempt) {
    keys.press("Control_L");
    keys.press(letter);
    const bool ok = waitFor(done, 10000);
    keys.releaseAll();
    QThread::msleep(400);
    if (ok) return true;
  }
  return false;
}

// Whole-screen captures by Ctrl+F until the run holds `n`.
bool captureScreens(const ProgramRun& run, const QString& display, int n) {
  for (qsizetype have = run.captures().size(); have < n; have = run.captures().size())
    if (!hotkey(display, "f", [&] { return run.captures().size() > have; })) return false;
  return true;
}

// The program ended on its own with a status, not by a signal, and left no core.
void expectPlainExit(QProcess& p, const ProgramRun& run) {
  EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << "ended by a signal";
  EXPECT_GT(p.exitCode(), 0);
  EXPECT_LT(p.exitCode(), 128);
  EXPECT_FALSE(run.dumpedCore());
}

// The program on an X server of the test's own, with openbox.
class EndOfRunOnX : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!built()) GTEST_SKIP() << "Velistrom not built";
    if (!testsupport::PrivateDisplay::available()) GTEST_SKIP() << "no Xvfb with openbox";
    ASSERT_TRUE(x.start()) << x.failure().toStdString();
  }

  // The display goes; the program ends on its own with one line on stderr.
  void killTheDisplay(QProcess& p, const ProgramRun& run) {
    x.kill();
    ASSERT_TRUE(p.waitForFinished(30000)) << "the program outlived its display";
    expectPlainExit(p, run);
    const QString err = run.errors();
    EXPECT_TRUE(err.contains("Velistrom: the connection to the X display \"" + x.name() + "\" was lost"))
        << err.toStdString();
  }

  testsupport::PrivateDisplay x;
};

TEST_F(EndOfRunOnX, TheXServerGoingAwayEndsWithAStatusAndALineAndLeavesTheFiles) {
  ProgramRun run;
  QProcess p;
  ASSERT_TRUE(run.start(p, x.name())) << run.errors().toStdString();
  const QStringList folders = run.runFolders();

  killTheDisplay(p, run);
  EXPECT_EQ(run.runFolders(), folders) << "the run's captures folder went";
}

// The display goes while the selection overlay covers the screen: the same
// plain end, and the capture taken before it stays on disk.
TEST_F(EndOfRunOnX, TheXServerGoingAwayUnderTheOverlayLeavesTheCaptures) {
  ProgramRun run;
  QProcess p;
  ASSERT_TRUE(run.start(p, x.name())) << run.errors().toStdString();
  ASSERT_TRUE(captureScreens(run, x.name(), 1)) << run.errors().toStdString();
  ASSERT_TRUE(hotkey(x.name(), "z", [&] { return x.screenCovered(); })) << "the overlay did not open";
  const QStringList captures = run.captures();
  ASSERT_FALSE(captures.isEmpty());

  killTheDisplay(p, run);
  EXPECT_EQ(run.captures(), captures) << "a capture's bitmap went";
  EXPECT_TRUE(run.saved().isEmpty());
}

// Every signal that ends a session ends the run the same way: the session-end
// save, then a clean exit.
TEST(EndOfRun, SessionEndSignalsEndTheRunCleanly) {
  if (!built()) GTEST_SKIP() << "Velistrom not built";
  for (const int sig : {SIGTERM, SIGHUP, SIGINT}) {
    SCOPED_TRACE(sig);
    ProgramRun run;
    QProcess p;
    ASSERT_TRUE(run.start(p)) << run.errors().toStdString();
    ::kill(pid_t(p.processId()), sig);
    ASSERT_TRUE(p.waitForFinished(5000)) << "the program did not end";
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_TRUE(run.runFolders().isEmpty()) << run.runFolders().join(", ").toStdString();
    EXPECT_TRUE(QFile::exists(run.appData + "/params.txt"));
    EXPECT_TRUE(run.boxes().isEmpty()) << "a message box came";
  }
}

// With captures in the list, the signal saves each under its automatic name in
// the save folder without asking, and the temporary bitmaps stay as copies.
TEST_F(EndOfRunOnX, SessionEndSignalsSaveTheCapturesAndKeepTheirCopies) {
  for (const int sig : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(sig);
    ProgramRun run;
    QProcess p;
    ASSERT_TRUE(run.start(p, x.name())) << run.errors().toStdString();
    ASSERT_TRUE(captureScreens(run, x.name(), 2)) << run.errors().toStdString();
    const QStringList captures = run.captures();
    ASSERT_TRUE(run.saved().isEmpty());

    ::kill(pid_t(p.processId()), sig);
    ASSERT_TRUE(p.waitForFinished(60000)) << "the program did not end";
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    const QStringList saved = run.saved();
    EXPECT_EQ(saved.size(), captures.size()) << saved.join(", ").toStdString();
    for (const QString& name : saved)
      EXPECT_TRUE(QFileInfo(run.dir.filePath("home/Documents/" + name)).size() > 0) << name.toStdString();
    EXPECT_EQ(run.captures(), captures) << "the temporary copies went";
    EXPECT_TRUE(run.boxes().isEmpty()) << run.boxes().join("\n").toStdString();
  }
}

// The data folder on a full disk when the quit stores the selection size: the
// reset question names the system's reason, and the settings file is the one
// there was. A small tmpfs is the full disk, mounted in a mount namespace of
// the run's own (with a user namespace when not root).
TEST_F(EndOfRunOnX, AFullDiskAtTheSettingsWriteIsNamedAndKeepsTheSettings) {
  const QString unshare = QStandardPaths::findExecutable("unshare");
  if (unshare.isEmpty()) GTEST_SKIP() << "no unshare to mount a small tmpfs";
  ProgramRun run;
  EnregParams record = EnregParams::creation();
  record.set(EnregParams::MemoSel, "1");
  const QByteArray settings = ContenuParams(record.texte(), Ligne300(run.dir.filePath("home/Documents")));
  writeFile(run.appData + "/params.txt", settings);

  // $1 the data folder, $2 the program, $3 a marker beside the run: made once the
  // disk is full, then "$3.params" is the settings file after the run.
  static const char script[] = R"(
data=$1 program=$2 marker=$3
cp -a "$data" "$data.seed" || exit 90
mount -t tmpfs -o size=512k,mode=0700 velistrom-full "$data" 2>"$marker.mount" || exit 77
cp -a "$data.seed/." "$data/" || exit 91
"$program" & pid=$!
until ls -d "$data"/Velistrom/tempocapt* >/dev/null 2>&1; do
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
dd if=/dev/zero of="$data/filler" bs=4096 2>/dev/null
: >"$marker"
wait $pid; rc=$?
cp "$data/Velistrom/params.txt" "$marker.params"
exit $rc
)";
  const QString marker = run.dir.filePath("full");
  QStringList args;
  if (::geteuid() != 0) args << "--map-root-user";
  args << "--mount" << "--propagation" << "private" << "/bin/sh" << "-c" << script << "sh"
       << run.dir.filePath("data") << testenv::binDir() + "/Velistrom" << marker;
  QProcess p;
  const bool up = run.start(p, x.name(), unshare, args, [&] { return QFile::exists(marker); });
  // 77: the mount was refused; 1 with unshare's own message: no namespace.
  if (!up && p.state() == QProcess::NotRunning && !QFile::exists(marker) &&
      (p.exitCode() == 77 || (p.exitCode() == 1 && run.errors().startsWith("unshare"))))
    GTEST_SKIP() << "no small tmpfs can be mounted here: " << readFile(marker + ".mount").trimmed().constData()
                 << run.errors().trimmed().toStdString();
  ASSERT_TRUE(up) << run.errors().toStdString();

  // The overlay opened once makes the quit store the selection; Ctrl+Y quits.
  ASSERT_TRUE(hotkey(x.name(), "z", [&] { return x.screenCovered(); })) << "the overlay did not open";
  ASSERT_TRUE(hotkey(x.name(), "y", [&] { return p.state() == QProcess::NotRunning || p.waitForFinished(50); }))
      << "the quit did not end the program";
  EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(p.exitCode(), 0) << run.errors().toStdString();

  const QStringList boxes = run.boxes();
  ASSERT_EQ(boxes.size(), 1) << boxes.join("\n").toStdString();
  const QString reason = "\"" + run.dir.filePath("data/Velistrom/params.txt") + "\": " +
                         QString::fromLocal8Bit(std::strerror(ENOSPC));
  EXPECT_TRUE(boxes[0].startsWith("question|")) << boxes[0].toStdString();
  EXPECT_TRUE(boxes[0].endsWith("\\n\\n" + reason)) << boxes[0].toStdString();
  EXPECT_EQ(readFile(marker + ".params"), settings) << "the settings file changed";
}

}  // namespace
