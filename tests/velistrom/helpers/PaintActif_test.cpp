// ProcActif against real processes that the test starts itself.
#include "velistrom/helpers/PaintActif.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A copy of sleep under a name no other process has.
class RenamedSleep : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    exe = dir.path() + "/" + name;
    ASSERT_TRUE(QFile::copy("/bin/sleep", exe));
    QFile::setPermissions(exe, QFile::permissions(exe) | QFile::ExeOwner);
  }
  void TearDown() override {
    if (child.state() != QProcess::NotRunning) {
      child.kill();
      child.waitForFinished(3000);
    }
  }
  void start() {
    child.start(exe, {"30"});
    ASSERT_TRUE(child.waitForStarted(3000));
  }
  QTemporaryDir dir;
  const QString name = QStringLiteral("vlsleeper") + QString::number(QCoreApplication::applicationPid());
  QString exe;
  QProcess child;
};

TEST_F(RenamedSleep, TrueWhileItRunsFalseOnceEnded) {
  EXPECT_FALSE(ProcActif(name));
  start();
  EXPECT_TRUE(ProcActif(name));
  EXPECT_TRUE(ProcActif(name + ".exe"));  // the old way of naming it
  EXPECT_TRUE(ProcActif(exe));            // a full path names the same program
  EXPECT_FALSE(ProcActif(name.toUpper()));
  child.kill();
  ASSERT_TRUE(child.waitForFinished(3000));
  EXPECT_FALSE(ProcActif(name));
  EXPECT_FALSE(ProcActif(name + ".exe"));
}

TEST_F(RenamedSleep, ThreeLetterPrefixDoesNotMatch) {
  start();
  // The old rule compared only three characters of names without ".exe".
  EXPECT_FALSE(ProcActif(name.left(3)));
  EXPECT_FALSE(ProcActif(name.left(3) + ".exe"));
  EXPECT_FALSE(ProcActif(name.chopped(1)));
  EXPECT_FALSE(ProcActif(name + "x"));
}

TEST(ProcActif, ExeInTheProgramsOwnNameIsStrippedToo) {
  QTemporaryDir dir;
  const QString base = QStringLiteral("vlwinlike") + QString::number(QCoreApplication::applicationPid());
  const QString exe = dir.path() + "/" + base + ".exe";
  ASSERT_TRUE(QFile::copy("/bin/sleep", exe));
  QProcess child;
  child.start(exe, {"30"});
  ASSERT_TRUE(child.waitForStarted(3000));
  EXPECT_TRUE(ProcActif(base));
  EXPECT_TRUE(ProcActif(base + ".exe"));
  EXPECT_FALSE(ProcActif(base.left(3)));
  child.kill();
  child.waitForFinished(3000);
}

TEST(ProcActif, SleepIsNotSle) {
  QProcess sleep;
  sleep.start("/bin/sleep", {"30"});
  ASSERT_TRUE(sleep.waitForStarted(3000));
  EXPECT_TRUE(ProcActif("sleep"));
  EXPECT_FALSE(ProcActif("sle"));
  EXPECT_FALSE(ProcActif(""));
  sleep.kill();
  sleep.waitForFinished(3000);
}

}  // namespace
