// Start-up of the main window on a real X server: the tray icon with a real
// tray host, and a start without one.
#include "velistrom/core/Ressources.h"
#include "velistrom/mainwin/frmMain.h"

#include "platform/Tray.h"
#include "tests/velistrom/ShippedTexts.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"
#include "tests/support/TrayHost.h"
#include "tests/support/Wait.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/mainwin/Fcam.h"
#include "velistrom/mainwin/Flistimages.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/startup/LangLoader.h"
#include "velistrom/startup/Splash.h"
#include "velistrom/startup/frmTip.h"

#include <QDir>
#include <QFile>
#include <QSystemTrayIcon>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class MainStartX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testsupport::textesLivres());
    capt::resetList();
  }
  void TearDown() override {
    frmMain.destroyNow();
    frmTip.destroyNow();
    fcam.destroyNow();
    flistimages.destroyNow();
    core::setDossierRessources(QString());
    testenv::dialogs().verify();
  }
  FrmMain& load() {
    FrmMain& m = frmMain();
    for (vb::Timer* t : {&m.Timderoul, &m.Timlabdeb, &m.TimCurs, &m.TimerUnload, &m.Timsplash}) t->setEnabled(false);
    return m;
  }
};

TEST_F(MainStartX11, TrayIconAppearsWithTheLanguageTip) {
  testsupport::TrayHost host;
  if (!host.ok()) GTEST_SKIP() << "no tray host (trayer) could be started";
  FrmMain& m = load();
  ASSERT_NE(m.trayIcon(), nullptr);
  EXPECT_TRUE(QSystemTrayIcon::isSystemTrayAvailable());
  EXPECT_TRUE(m.trayIcon()->visible());
  EXPECT_EQ(m.trayIcon()->toolTip(), gTxtLng[104].left(63));
  EXPECT_FALSE(m.trayIcon()->toolTip().isEmpty());
  m.removeTrayIcon();
  EXPECT_FALSE(m.trayIcon()->visible());
}

TEST_F(MainStartX11, LongTrayTipIsCutToTheOldField) {
  testsupport::TrayHost host;
  if (!host.ok()) GTEST_SKIP() << "no tray host (trayer) could be started";
  gTxtLng[104] = "Velistrom " + QString(100, u'*');
  FrmMain& m = load();
  ASSERT_NE(m.trayIcon(), nullptr);
  EXPECT_EQ(m.trayIcon()->toolTip(), gTxtLng[104].left(63));
}

TEST_F(MainStartX11, WithoutATrayHostTheStartStillCompletes) {
  if (!testsupport::TrayHost::waitFor(false, 3000)) GTEST_SKIP() << "a tray host runs on this display";
  FrmMain& m = frmMain();  // with its timers, as in a real start
  EXPECT_TRUE(m.isLoaded());
  EXPECT_EQ(m.trayIcon(), nullptr);
  EXPECT_EQ(m.Caption(), "Velistrom - " + gTxtLng[210]);
  EXPECT_TRUE(fcam.isLoaded());
  EXPECT_TRUE(m.Timlabdeb.Enabled());
  // The banner's closing shows the window; the start hint then switches the
  // hotkey poll on.
  m.Show();
  EXPECT_TRUE(m.Visible());
  EXPECT_TRUE(testsupport::waitFor([&] { return m.Timerclav.Enabled(); }));
}

}  // namespace
