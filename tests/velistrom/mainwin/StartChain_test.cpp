// The whole start in process, as main() wires it: the start-up form loads the
// texts, the banner fetches the tips and closes, the main window comes and
// shows the tip of the day.
#include "platform/forms/App.h"
#include "tests/common/LangFixture.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"
#include "tests/support/Wait.h"
#include "velistrom/core/Ressources.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/mainwin/Branchements.h"
#include "velistrom/mainwin/frmMain.h"
#include "velistrom/startup/FrmChoixLng.h"
#include "velistrom/startup/LangLoader.h"
#include "velistrom/startup/Splash.h"
#include "velistrom/startup/frmSplash.h"
#include "velistrom/startup/frmTip.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

using testsupport::waitFor;

TEST(StartChain, FromAFreshAccountToTheTipOfTheDay) {
  if (!QFile::exists(testenv::binDir() + "/camera.bmp")) GTEST_SKIP() << "the toolbar pictures are not built";
  core::setDossierRessources(testenv::binDir());
  qunsetenv("VELISTROM_TIPS_FTP");
  qunsetenv("VELISTROM_TIPS_FTP_PASSWORD");
  QTemporaryDir program;
  ASSERT_TRUE(program.isValid());
  langtest::LangLines lang;
  lang.texts[0] = "000 \"zero\"";
  writeFile(program.filePath("ConstPRJA_codN.txt"), langtest::scrambled(lang));
  startup::setDossierLangues(program.path());
  const QString data = testenv::dataHome() + "/Velistrom";
  ASSERT_TRUE(QDir().mkpath(data));
  writeFile(data + "/spoken.txt", "ConstPRJA\r\n");
  writeFile(data + "/FicTips.txt", "local tip\r\n\r\nlast line\r\n");

  startup::BrancherSplash();
  mainwin::BrancherCotes();
  QElapsedTimer sinceShown;
  sinceShown.start();
  frmChoixLng().Show();
  EXPECT_FALSE(frmChoixLng.existing()) << "the language was known: no choice window";
  ASSERT_TRUE(frmSplash.existing());
  EXPECT_TRUE(frmSplash->Visible());
  EXPECT_FALSE(frmMain.existing()) << "the main window waits for the banner";
  EXPECT_EQ(gDossAppli, data);
  EXPECT_EQ(gTips, (QStringList{"tip A", "tip B", "local tip"}))
      << "the language file's tips, then those of the local copy";

  ASSERT_TRUE(waitFor([] { return !frmSplash.existing(); }, 3000)) << "the banner closes by itself";
  EXPECT_GE(sinceShown.elapsed(), 200) << "not before its quarter second";
  ASSERT_TRUE(frmMain.existing());
  EXPECT_TRUE(frmMain->Visible());
  ASSERT_TRUE(frmTip.existing()) << "the main window shows the tip at the end of its load";
  EXPECT_TRUE(frmTip->Visible());
  EXPECT_TRUE(gTips.contains(frmTip->lblTipText.Caption())) << frmTip->lblTipText.Caption().toStdString();
  EXPECT_EQ(frmTip->BackColor(), frmMain->BackColor());
  EXPECT_EQ(tips::ValeurStockee(), "1") << "the first showing stores the setting";
  EXPECT_TRUE(QFile::exists(data + "/params.txt"));
  EXPECT_TRUE(testenv::dialogs().shown().empty());

  startup::setSplashHook(nullptr);
  startup::setDossierLangues(QString());
  core::setDossierRessources(QString());
  vb::resetFormsForTests();
  gTips.clear();
}

// The built program, run as a process beside the built language files, from a
// fresh account that already chose its language: it gets as far as the tip of
// the day (the setting it stores) with no message on the way.
TEST(StartChain, TheBuiltProgramStartsThroughToTheTip) {
  const QString bin = testenv::binDir();
  if (!QFile::exists(bin + "/Velistrom") || !QFile::exists(bin + "/ConstPRJA_codN.txt"))
    GTEST_SKIP() << "Velistrom or its language files not built";
  const QString data = testenv::dataHome() + "/Velistrom";
  ASSERT_TRUE(QDir().mkpath(data));
  writeFile(data + "/spoken.txt", "ConstPRJA\r\n");
  const QString log = testenv::home() + "/boxes.log";
  const QString ini = testenv::configHome() + "/Velistrom/Velistrom.ini";

  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("VELISTROM_MSGBOX_LOG", log);
  env.remove("VELISTROM_TIPS_FTP");
  env.remove("VELISTROM_TIPS_FTP_PASSWORD");
  p.setProcessEnvironment(env);
  p.start(bin + "/Velistrom", {});
  ASSERT_TRUE(p.waitForStarted(5000));
  const bool reached = waitFor([&] { return QFile::exists(ini); }, 15000);
  const bool stillRunning = p.state() == QProcess::Running;
  p.terminate();
  if (!p.waitForFinished(5000)) {
    p.kill();
    p.waitForFinished(5000);
  }
  EXPECT_TRUE(reached) << "the tip window never stored its setting";
  EXPECT_TRUE(stillRunning) << "the program ended on its own: " << p.readAllStandardError().constData();
  EXPECT_TRUE(QFile::exists(data + "/params.txt"));
  QFile boxes(log);
  const QByteArray shown = boxes.open(QIODevice::ReadOnly) ? boxes.readAll() : QByteArray();
  EXPECT_TRUE(shown.isEmpty()) << "no message on the way: " << shown.constData();
}

}  // namespace
