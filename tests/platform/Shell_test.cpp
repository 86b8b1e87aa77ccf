// Opening addresses and starting our own children.
#include "platform/Shell.h"
#include "tests/support/TestEnv.h"
#include "tests/support/Wait.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// The lines written so far, once there are `expected` (the caller checks them).
QStringList waitLines(const QString& path, int expected) {
  QStringList l;
  (void)testsupport::waitFor([&] {
    QFile f(path);
    l = f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts) : QStringList();
    return l.size() >= expected;
  });
  return l;
}

TEST(OpenAddress, OnlyHttpAndHttpsReachTheHandler) {
  const QString bin = testenv::home() + "/bin";
  QDir().mkpath(bin);
  const QString log = testenv::home() + "/opened.log";
  QFile script(bin + "/xdg-open");
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write(("#!/bin/sh\nprintf '%s|%s\\n' \"$#\" \"$1\" >> '" + log + "'\n").toUtf8());
  script.close();
  script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  const QByteArray oldPath = qgetenv("PATH");
  qputenv("PATH", bin.toLocal8Bit() + ":" + oldPath);

  for (const char* refused : {"file:///etc/passwd", "javascript:alert(1)", "ftp://127.0.0.1/x",
                              "/usr/bin/xterm", "-e", "", "http://"})
    EXPECT_FALSE(platform::openAddress(refused)) << refused;
  EXPECT_TRUE(platform::openAddress("http://127.0.0.1:8080/zimage/ab.php"));
  EXPECT_TRUE(platform::openAddress("https://127.0.0.1/x?y=1;z"));
  qputenv("PATH", oldPath);

  // One argument each, never split or run through a shell.
  EXPECT_EQ(waitLines(log, 2), (QStringList{"1|http://127.0.0.1:8080/zimage/ab.php",
                                            "1|https://127.0.0.1/x?y=1;z"}));
}

TEST(StartProgram, HandleFollowsOurChildOnly) {
  auto quick = platform::startProgram("/bin/sh", {"-c", "exit 3"});
  ASSERT_TRUE(quick);
  EXPECT_TRUE(quick->waitForFinished(5000));
  EXPECT_EQ(quick->exitCode(), 3);
  EXPECT_FALSE(quick->isRunning());
  EXPECT_FALSE(quick->terminate());  // ended: nothing is signalled

  auto slow = platform::startProgram("sleep", {"30"});
  ASSERT_TRUE(slow);
  EXPECT_TRUE(slow->isRunning());
  EXPECT_TRUE(slow->terminate());
  EXPECT_TRUE(slow->waitForFinished(5000));

  EXPECT_EQ(platform::startProgram(testenv::home() + "/no-such-program", {}), nullptr);

  // Dropping the handle leaves the program running.
  const QString mark = testenv::home() + "/mark";
  platform::startProgram("/bin/sh", {"-c", "sleep 0.3; : > \"$0\"", mark}).reset();
  EXPECT_TRUE(testsupport::waitFor([&] { return QFile::exists(mark); }));
}

}  // namespace
