// The banner on a real X server: it takes the keyboard focus although it has
// no frame, so a real Escape from the keyboard reaches it and ends the run.
#include "velistrom/startup/frmSplash.h"

#include "tests/support/TestEnv.h"
#include "tests/support/XTestKeys.h"
#include "velistrom/helpers/GlobTextes.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(SplashX11, AKeyboardEscapeOnTheBannerEndsTheRun) {
  testsupport::XTestInput input;
  if (!input.ok()) GTEST_SKIP() << "no XTest";
  qunsetenv("VELISTROM_TIPS_FTP");
  int mainShown = 0;
  startup::setMainWindowHook([&] { ++mainShown; });
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
  QElapsedTimer t;
  t.start();
  while (!vb::programEnded() && t.elapsed() < 3000) QTest::qWait(10);
  EXPECT_TRUE(vb::programEnded());
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(mainShown, 0);
  startup::setMainWindowHook(nullptr);
}

}  // namespace
