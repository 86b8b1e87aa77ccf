// Running-program names from a /proc tree.
#include "platform/Processes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(ProgramBaseName, FileNameWithoutExe) {
  const std::pair<QString, QString> cases[] = {
      {"mspaint.exe", "mspaint"},   {"MSPAINT.EXE", "MSPAINT"},
      {"/usr/bin/gimp", "gimp"},    {"/opt/x/editor.exe", "editor"},
      {"gimp-2.10", "gimp-2.10"},   {"/usr/bin/vim (deleted)", "vim"},
      {"a.exe.exe", "a.exe"},       {"", ""},
      {"exe", "exe"},               {".exe", ""},
  };
  for (const auto& [in, want] : cases) EXPECT_EQ(platform::programBaseName(in), want) << in.toStdString();
}

// A fake /proc: one process started through a link (exe and argv[0] differ), one
// whose executable link cannot be read (another user's), a kernel thread, and
// entries that are not processes.
class FakeProc : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.path();
    QDir(root).mkpath("100");
    QFile::link("/usr/bin/true", root + "/100/exe");  // the link target need not matter
    write(root + "/100/cmdline", QByteArray("gimp\0/home/u/a.png\0", 19));
    QDir(root).mkpath("200");
    write(root + "/200/cmdline", QByteArray("/opt/app/Editor.exe\0-x\0", 23));
    QDir(root).mkpath("300");
    write(root + "/300/cmdline", QByteArray());
    QDir(root).mkpath("self");
    write(root + "/self/cmdline", QByteArray("selfname\0", 9));
    QDir(root).mkpath("sys");
  }
  static void write(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
  }
  QTemporaryDir dir;
};

TEST_F(FakeProc, NamesFromTheExecutableAndFromArgvZero) {
  const QStringList names = platform::runningProgramNames(dir.path());
  EXPECT_TRUE(names.contains("true"));
  EXPECT_TRUE(names.contains("gimp"));
  EXPECT_TRUE(names.contains("Editor"));
  EXPECT_FALSE(names.contains("selfname"));  // not a process id
  EXPECT_FALSE(names.contains(""));
}

TEST_F(FakeProc, WholeNamesCaseSensitiveWithOrWithoutExe) {
  struct Case { const char* asked; bool running; };
  const Case cases[] = {
      {"gimp", true},     {"gimp.exe", true},  {"gim", false},      {"gimpx", false},
      {"GIMP", false},    {"Editor", true},    {"Editor.EXE", true}, {"editor.exe", false},
      {"true", true},     {"", false},         {".exe", false},      {"/usr/bin/gimp", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::isProgramRunning(c.asked, dir.path()), c.running) << c.asked;
}

TEST(ProcessList, SeesThisTestProgram) {
  // The real /proc: this very process is listed by its executable's name.
  const QString self = platform::programBaseName(QFile::symLinkTarget("/proc/self/exe"));
  ASSERT_FALSE(self.isEmpty());
  EXPECT_TRUE(platform::isProgramRunning(self));
  EXPECT_TRUE(platform::isProgramRunning(self + ".exe"));
  EXPECT_FALSE(platform::isProgramRunning(self.chopped(1)));
}

}  // namespace
