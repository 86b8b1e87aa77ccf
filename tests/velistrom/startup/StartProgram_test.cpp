// The program itself, started as a process from a copy beside test language files.
#include "tests/common/LangFixture.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

// A damaged language file: one message, then the program ends with no window.
TEST(StartProgram, ADamagedLanguageFileEndsTheRun) {
  const QString built = testenv::binDir() + "/Velistrom";
  if (!QFile::exists(built)) GTEST_SKIP() << "Velistrom not built";
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString program = dir.filePath("Velistrom");
  ASSERT_TRUE(QFile::copy(built, program));
  const QString data = dir.filePath("xdg-data");
  ASSERT_TRUE(QDir().mkpath(data + "/Velistrom"));
  writeFile(data + "/Velistrom/spoken.txt", "ConstPRJF\r\n");
  const QString log = dir.filePath("boxes.log");

  struct Case {
    const char* name;
    QByteArray langFile;
    QByteArray boxes;
  };
  langtest::LangLines badNumber;
  badNumber.texts[1] = "002 \"x\"";
  const Case cases[] = {
      {"a numbering error", langtest::scrambled(badNumber), "critical|Velistrom|Permanent Error ....\n"},
      {"a truncated file", langtest::scrambled(langtest::LangLines{}.all().mid(0, 30)), "critical|Velistrom|"},
  };
  for (const auto& c : cases) {
    writeFile(dir.filePath("ConstPRJF_codN.txt"), c.langFile);
    QFile::remove(log);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", data);
    env.insert("VELISTROM_MSGBOX_LOG", log);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(program, {});
    ASSERT_TRUE(p.waitForFinished(20000)) << c.name << ": the program did not end";
    QFile boxes(log);
    const QByteArray shown = boxes.open(QIODevice::ReadOnly) ? boxes.readAll() : QByteArray();
    if (c.boxes.endsWith('\n'))
      EXPECT_EQ(shown, c.boxes) << c.name;
    else
      EXPECT_TRUE(shown.startsWith(c.boxes) && shown.count('\n') == 1) << c.name << ": " << shown.constData();
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << c.name;
  }
}

}  // namespace

namespace {

// Without a usable X display every program says so in one line, naming the
// variable and the display tried, and exits with 1 (not Qt's abort).
TEST(StartProgram, NoDisplayGivesOneLineAndStatusOne) {
  struct Case {
    const char* display;  // nullptr: unset
    QString says;
  };
  const Case cases[] = {
      {nullptr, "no X display: the DISPLAY variable is not set."},
      {":4321", "cannot open the X display \":4321\" named by the DISPLAY variable."},
  };
  for (const QString name : {"Velistrom", "Postelle", "Spreadwell"}) {
    const QString program = testenv::binDir() + "/" + name;
    if (!QFile::exists(program)) {
      ADD_FAILURE() << name.toStdString() << " not built";
      continue;
    }
    for (const Case& c : cases) {
      SCOPED_TRACE(name.toStdString() + " " + (c.display ? c.display : "unset"));
      QProcess p;
      QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
      env.remove("QT_QPA_PLATFORM");
      env.remove("WAYLAND_DISPLAY");
      env.remove("DISPLAY");
      if (c.display) env.insert("DISPLAY", c.display);
      p.setProcessEnvironment(env);
      p.start(program, {});
      ASSERT_TRUE(p.waitForFinished(20000));
      EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
      EXPECT_EQ(p.exitCode(), 1);
      EXPECT_EQ(QString::fromLocal8Bit(p.readAllStandardError()), name + ": " + c.says + "\n");
    }
  }
}

}  // namespace
