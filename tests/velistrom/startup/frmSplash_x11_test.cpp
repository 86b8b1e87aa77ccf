// The banner on a real X server: it takes the keyboard focus although it has
// no frame, so a real Escape from the keyboard reaches it and ends the run, in
// this process and in the built program.
#include "velistrom/startup/Relais.h"
#include "tests/support/Wait.h"
#include "velistrom/startup/frmSplash.h"

#include "tests/support/TestEnv.h"
#include "tests/support/XTestKeys.h"
#include "velistrom/core/GlobTextes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(SplashX11, AKeyboardEscapeOnTheBannerEndsTheRun) {
  testsupport::XTestInput input;
  if (!input.ok()) GTEST_SKIP() << "no XTest";
  qunsetenv("VELISTROM_TIPS_FTP");
  int mainShown = 0;
  const startup::MainSide savedMain = startup::mainSide();
  startup::setMainSide({[&] { ++mainShown; }, {}});
  frmSplash().Show();
  ASSERT_TRUE(frmSplash.existing());
  // Hold the banner while the window manager maps it: the test is about where
  // the key goes, not about racing the quarter second.
  frmSplash->Timstart.setEnabled(false);
  QWidget* w = frmSplash->widget();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w, 5000)) << "the banner never got the keyboard focus";
  EXPECT_EQ(w->geometry().top(), 0) << "the banner touches the top of the screen";

  input.tap("a");
  input.sync();
  QTest::qWait(200);
  EXPECT_FALSE(vb::programEnded()) << "another key ends nothing";
  input.tap("Escape");
  input.sync();
  EXPECT_TRUE(testsupport::waitFor([] { return vb::programEnded(); }, 3000));
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(mainShown, 0);
  startup::setMainSide(savedMain);
}

// The built program started from an account that chose its language: Escape,
// pressed again and again from the start, ends the process while the banner is
// up, before the main window exists (it would write "params.txt").
TEST(SplashX11, EscapeEndsTheBuiltProgramBeforeTheMainWindow) {
  const QString bin = testenv::binDir();
  if (!QFile::exists(bin + "/Velistrom") || !QFile::exists(bin + "/ConstPRJA_codN.txt"))
    GTEST_SKIP() << "Velistrom or its language files not built";
  testsupport::XTestInput input;
  if (!input.ok()) GTEST_SKIP() << "no XTest";
  const QString data = testenv::dataHome() + "/Velistrom";
  ASSERT_TRUE(QDir().mkpath(data));
  QFile spoken(data + "/spoken.txt");
  ASSERT_TRUE(spoken.open(QIODevice::WriteOnly));
  spoken.write("ConstPRJA\r\n");
  spoken.close();

  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "xcb");
  env.insert("VELISTROM_MSGBOX_LOG", testenv::home() + "/boxes.log");
  env.remove("VELISTROM_TIPS_FTP");
  env.remove("VELISTROM_TIPS_FTP_PASSWORD");
  p.setProcessEnvironment(env);
  p.start(bin + "/Velistrom", {});
  ASSERT_TRUE(p.waitForStarted(5000));
  const bool ended = testsupport::waitFor([&] {
    input.tap("Escape");
    input.sync();
    return p.state() == QProcess::NotRunning;
  }, 15000);
  if (!ended) {
    p.kill();
    p.waitForFinished(5000);
  }
  ASSERT_TRUE(ended) << "Escape did not end the program";
  EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(p.exitCode(), 0);
  EXPECT_FALSE(QFile::exists(data + "/params.txt")) << "the main window was loaded";
  EXPECT_FALSE(QFile::exists(testenv::home() + "/boxes.log"));
}

}  // namespace
