// The help menu, command 18 and the hotkey reach the help windows, and those
// reach back the main window that opened them.
#include "platform/WebView.h"
#include "tests/velistrom/mainwin/CaptureFixture.h"
#include "velistrom/help/AideImage.h"
#include "velistrom/help/FrmActua.h"
#include "velistrom/help/FrmAideStd.h"
#include "velistrom/help/FrmAidOpt.h"
#include "velistrom/help/FrmAidfn.h"
#include "velistrom/help/Frmaidfv.h"
#include "velistrom/help/FrmBrows.h"
#include "velistrom/help/FrmDialTemp.h"
#include "velistrom/help/frmAbout.h"
#include "velistrom/mainwin/Commandes.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

class AideMain : public captfix::CaptureList {
 protected:
  void SetUp() override {
    CaptureList::SetUp();
    gLng154 = "Paste the address";
    gLng200 = "http://127.0.0.1:9/news";
    gLng202 = "http://127.0.0.1:9/tutorials";
    // No web view: each web window takes its fallback.
    platform::setWebPageMaker([](QWidget*) { return std::unique_ptr<platform::WebPage>(); });
  }
  void TearDown() override {
    for (vb::DefaultInstanceBase* d : std::initializer_list<vb::DefaultInstanceBase*>{
             &frmAbout, &frmAideStd, &frmBrows, &frmActua, &frmAidfn, &frmAidfv, &frmAidOpt, &frmDialTemp})
      d->destroyNow();
    platform::setWebPageMaker({});
    CaptureList::TearDown();
  }
};

TEST_F(AideMain, CommandEighteenShowsTheAboutBoxAndOnlyOkRestartsPeriodicCapture) {
  m().MnuCaptper.setChecked(true);
  m().TimPeriod.setInterval(5000);
  m().TimPeriod.setEnabled(true);
  m().ExecBouton(18, 0);
  ASSERT_TRUE(frmAbout.isLoaded());
  EXPECT_TRUE(frmAbout().Visible());
  EXPECT_FALSE(frmAbout().isShownModal());
  EXPECT_FALSE(m().TimPeriod.Enabled());
  frmAbout().cmdOK_Click();
  EXPECT_TRUE(m().TimPeriod.Enabled());

  m().MnuCaptper.setChecked(false);
  m().ExecBouton(18, 0);
  frmAbout().cmdOK_Click();
  EXPECT_FALSE(m().TimPeriod.Enabled()) << "periodic capture not ticked";
}

TEST_F(AideMain, TheWebPagesOpenModelessFromTheHelpMenu) {
  testenv::dialogs().expectMsgBox(gLng154, vb::vbOK);
  m().Tutosite_Click();
  EXPECT_TRUE(frmBrows().Visible());
  EXPECT_FALSE(frmBrows().isShownModal());
  testenv::dialogs().expectMsgBox(gLng154, vb::vbOK);
  m().MnuNouversion_Click();
  EXPECT_TRUE(frmActua().Visible());
  EXPECT_FALSE(frmActua().isShownModal());
}

TEST_F(AideMain, TheInteractiveHelpIsModalAndReturnsWhenClosed) {
  bool modal = false;
  QTimer::singleShot(0, [&] {
    modal = frmAideStd().isShownModal();
    frmAideStd().CdeFen_Click(3);
  });
  m().MnuAide_Click();
  EXPECT_TRUE(modal);
  EXPECT_FALSE(frmAideStd.isLoaded());
}

TEST_F(AideMain, AHotkeyUnloadsAShownPictureHelp) {
  frmAidfn().Show();
  mainwin::fermerAidesEtOptions()();
  EXPECT_FALSE(frmAidfn.isLoaded());
}

TEST_F(AideMain, TheShortMessageTakesTheColourOfTheMainWindowThatOpenedHelp) {
  m().setBackColor(0x00336699);
  mainwin::BrancherAide(m());
  EXPECT_EQ(frmDialTemp().BackColor(), 0x00336699);
}

}  // namespace
