// The about box: its texts, OK and the close box, the mail and web buttons,
// and the system-information tool found through the lookup table.
#include "velistrom/help/frmAbout.h"

#include "platform/SystemLookup.h"
#include "platform/forms/App.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"
#include "velistrom/help/MainSide.h"
#include "velistrom/core/GlobTextes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct RecordedMain : help::MainSide {
  int restarts = 0;
  int mails = 0;
  void restartPeriodicIfSelected() override { ++restarts; }
  void envoimail() override { ++mails; }
  vb::Color mainBackColor() override { return 0x123456; }
};

// The lookup table as a machine would carry it.
void WriteLookup(const QByteArray& text) {
  QDir().mkpath(QFileInfo(platform::lookupFile()).path());
  QFile f(platform::lookupFile());
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(text);
}

// A tool that writes its arguments, one a line, into the file next to it.
QString StubTool(const QTemporaryDir& dir, const QString& name) {
  const QString path = dir.filePath(name);
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\n");
  f.close();
  f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
  return path;
}

QStringList ArgsOf(const QString& tool) {
  QFile f(tool + ".args");
  if (!QTest::qWaitFor([&] { return f.exists() && f.size() >= 0 && QFileInfo(f).size() > 0; }, 10000)) return {};
  f.open(QIODevice::ReadOnly);
  return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

class AboutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    help::setMainSide(&main_);
    gLng096 = "A screen-capture tool";
    gLng097 = "No warranty";
    gLng098 = "Write to us";
    gLng099 = "About Velistrom";
    gLng100 = "System information...";
    gLng129 = "System information is not available";
    gLng183 = "Thanks";
    gLng203 = "mailto:someone@example.org";
  }
  void TearDown() override {
    frmAbout.destroyNow();
    help::setMainSide(nullptr);
    QFile::remove(platform::lookupFile());
  }
  RecordedMain main_;
};

TEST_F(AboutTest, LoadingSetsTheTextsAndTheVersion) {
  vb::App.setTitle("Velistrom");
  FrmAbout& a = frmAbout();
  EXPECT_EQ(a.Caption(), "About Velistrom");
  EXPECT_EQ(a.lblTitle.Caption(), "Velistrom");
  EXPECT_TRUE(a.lblVersion.Caption().startsWith("Version "));
  EXPECT_EQ(a.lblDescription.Caption(), gLng096);
  EXPECT_EQ(a.lblDisclaimer.Caption(), gLng097);
  EXPECT_EQ(a.labmail.Caption(), gLng098);
  EXPECT_EQ(a.cmdSysInfo.Caption(), gLng100);
  EXPECT_EQ(a.LabRemerc.Caption(), gLng183);
  EXPECT_EQ(help::VersionText(1, 0, 12), "Version 1.0.12");
  EXPECT_EQ(help::VersionText(0, 7, 0), "Version 0.7.0");
}

TEST_F(AboutTest, OkRestartsPeriodicCaptureButTheCloseBoxDoesNot) {
  frmAbout().Show();
  frmAbout().widget()->close();  // the close box
  QCoreApplication::processEvents();
  EXPECT_FALSE(frmAbout.isLoaded());
  EXPECT_EQ(main_.restarts, 0);

  frmAbout().Show();
  frmAbout().cmdOK_Click();
  EXPECT_FALSE(frmAbout.isLoaded());
  EXPECT_EQ(main_.restarts, 1);
}

TEST_F(AboutTest, TheMailButtonAsksTheMainWindow) {
  frmAbout().Cdemail_Click();
  EXPECT_EQ(main_.mails, 1);
  EXPECT_TRUE(frmAbout.isLoaded());
}

TEST_F(AboutTest, TheWebButtonOpensNothingButAWebAddress) {
  // A mailto address is refused silently (nothing to script, no box).
  frmAbout().CdeDon_Click();
  EXPECT_TRUE(testenv::dialogs().shown().empty());
}

TEST_F(AboutTest, WithoutTheToolInTheTableTheBoxSaysSo) {
  for (const QByteArray& table : {QByteArray(), QByteArray("[HKEY_CURRENT_USER]\nSOFTWARE\\Microsoft\\Shared%20Tools\\MSINFO\\PATH=/bin/true\n")}) {
    WriteLookup(table);
    testenv::dialogs().expectMsgBox(gLng129, vb::vbOK);
    frmAbout().cmdSysInfo_Click();
    testenv::dialogs().verify();
    EXPECT_EQ(testenv::dialogs().shown().back().buttons, vb::vbOKOnly);
  }
}

TEST_F(AboutTest, TheFirstLocationIsStartedWithItsArgumentsWithoutAFileTest) {
  QTemporaryDir dir;
  const QString tool = StubTool(dir, "sys info");
  // A command line: the program in double quotes (its name has a blank), then its arguments.
  WriteLookup("[HKEY_LOCAL_MACHINE]\nSOFTWARE\\Microsoft\\Shared%20Tools\\MSINFO\\PATH=\"\\\"" + tool.toUtf8() +
              "\\\" --report \\\"all parts\\\"\"\n"
              // The second location names a folder without the tool: never reached.
              "SOFTWARE\\Microsoft\\Shared%20Tools%20Location\\MSINFO=/nonexistent\n");
  frmAbout().cmdSysInfo_Click();
  EXPECT_EQ(ArgsOf(tool), (QStringList{"--report", "all parts"}));
  EXPECT_TRUE(testenv::dialogs().shown().empty());
}

TEST_F(AboutTest, AFirstLocationThatCannotStartSaysSo) {
  WriteLookup("[HKEY_LOCAL_MACHINE]\nSOFTWARE\\Microsoft\\Shared%20Tools\\MSINFO\\PATH=/nonexistent/tool\n");
  testenv::dialogs().expectMsgBox(gLng129, vb::vbOK);
  frmAbout().cmdSysInfo_Click();
}

TEST_F(AboutTest, TheSecondLocationNeedsTheToolInItsFolder) {
  QTemporaryDir dir;
  WriteLookup("[HKEY_LOCAL_MACHINE]\nSOFTWARE\\Microsoft\\Shared%20Tools%20Location\\MSINFO=" +
              dir.path().toUtf8() + "\n");
  testenv::dialogs().expectMsgBox(gLng129, vb::vbOK);
  frmAbout().cmdSysInfo_Click();
  testenv::dialogs().verify();

  const QString tool = StubTool(dir, "MSINFO32");
  frmAbout().cmdSysInfo_Click();
  EXPECT_EQ(ArgsOf(tool), QStringList());
  EXPECT_TRUE(QFileInfo::exists(tool + ".args"));
}

}  // namespace
