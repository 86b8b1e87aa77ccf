// The tray codes with a real tray host and a real pointer: a right click on
// the icon opens the tray menu, a pointer crossing the window where the codes'
// numbers would be does not, and the quit takes the icon away.
#include "velistrom/core/Ressources.h"
#include "velistrom/mainwin/frmMain.h"

#include "platform/Tray.h"
#include "platform/forms/Menu.h"
#include "platform/forms/Runtime.h"
#include "tests/velistrom/ShippedTexts.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"
#include "tests/support/TrayHost.h"
#include "tests/support/Wait.h"
#include "tests/support/XTestKeys.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/mainwin/Fcam.h"
#include "velistrom/mainwin/Flistimages.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/startup/LangLoader.h"
#include "velistrom/startup/Splash.h"
#include "velistrom/startup/frmTip.h"

#include <QDir>
#include <QFile>
#include <QSystemTrayIcon>
#include <gtest/gtest.h>

#include <vector>

namespace {

using testsupport::waitFor;

class QuitX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testsupport::textesLivres());
    capt::resetList();
    gQuitter = false;
    vb::setPopupMenuHook([this](vb::Menu& menu) { popped.push_back(&menu); });
  }
  void TearDown() override {
    vb::setPopupMenuHook(nullptr);
    frmMain.destroyNow();
    frmTip.destroyNow();
    fcam.destroyNow();
    flistimages.destroyNow();
    core::setDossierRessources(QString());
    gQuitter = false;
    testenv::dialogs().verify();
  }
  FrmMain& load() {
    FrmMain& m = frmMain();
    for (vb::Timer* t : {&m.Timderoul, &m.Timlabdeb, &m.TimCurs, &m.TimerUnload, &m.Timsplash, &m.Timerclav})
      t->setEnabled(false);
    if (FrmTip* tip = frmTip.existing()) vb::Unload(*tip);
    return m;
  }

  std::vector<vb::Menu*> popped;
};

TEST_F(QuitX11, ARightClickOnTheIconOpensTheTrayMenuAndTheQuitRemovesTheIcon) {
  testsupport::TrayHost host;
  if (!host.ok()) GTEST_SKIP() << "no tray host (trayer) could be started";
  testsupport::XTestInput input;
  if (!input.ok()) GTEST_SKIP() << "no XTest";
  FrmMain& m = load();
  ASSERT_NE(m.trayIcon(), nullptr);
  platform::TrayIcon* icon = m.trayIcon();
  ASSERT_TRUE(waitFor([&] { return icon->qtIcon()->geometry().isValid(); }, 5000)) << "the icon was not placed";
  vb::Wait(0.3);

  input.click(icon->qtIcon()->geometry().center(), 3);
  input.sync();
  ASSERT_TRUE(waitFor([&] { return !popped.empty(); }, 3000)) << "no menu on the right click";
  EXPECT_EQ(popped.front(), &m.mnucaptu);

  m.quitprog();
  EXPECT_TRUE(vb::programEnded());
  EXPECT_FALSE(icon->visible());
}

TEST_F(QuitX11, ThePointerCrossingTheWindowAtTheCodeColumnsIsNoTrayClick) {
  testsupport::XTestInput input;
  if (!input.ok()) GTEST_SKIP() << "no XTest";
  FrmMain& m = load();
  m.Show();
  ASSERT_TRUE(waitFor([&] { return m.widget()->isVisible() && m.containerWidget()->width() > 520; }, 5000));
  vb::Wait(0.3);

  // Along the client area's top row, where nothing covers the form itself:
  // there the move arrives with X / 15 = 515 or 516 and Y = 0.
  for (int col : {514, 515, 516, 517}) {
    m.LabDoubleClick.setVisible(true);
    input.movePointer(m.containerWidget()->mapToGlobal(QPoint(col, 0)));
    input.sync();
    EXPECT_TRUE(waitFor([&] { return !m.LabDoubleClick.Visible(); }, 2000)) << "no move arrived at " << col;
  }
  vb::Wait(0.2);
  EXPECT_TRUE(popped.empty());
  EXPECT_EQ(m.WindowState(), vb::vbNormal);
  EXPECT_TRUE(m.Visible());
}

}  // namespace
