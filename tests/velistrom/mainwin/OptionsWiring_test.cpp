// The options dialog reached from the real main window: the options command
// (modal, periodic capture held while it is open), the save-all error path
// (modeless) and OK writing the settings file through the main window.
#include "velistrom/options/Options.h"

#include "platform/forms/MsgBox.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/velistrom/ShippedTexts.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/mainwin/Branchements.h"
#include "velistrom/mainwin/Fcam.h"
#include "velistrom/mainwin/Flistimages.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/mainwin/Sauvegarde.h"
#include "velistrom/mainwin/frmMain.h"
#include "velistrom/startup/frmTip.h"

#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

class OptionsWiring : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testsupport::textesLivres());
    mainwin::BrancherOptions();
    capt::resetList();
    gParams.clear();
    gRepSauvLigne.clear();
    FrmMain& m = frmMain();
    ASSERT_TRUE(frmMain.existing());
    // The start-up timers would otherwise run in any later event processing.
    for (vb::Timer* t : {&m.Timderoul, &m.Timlabdeb, &m.TimCurs, &m.TimerUnload, &m.Timsplash, &m.Timerclav})
      t->setEnabled(false);
    if (FrmTip* tip = frmTip.existing()) vb::Unload(*tip);
  }
  void TearDown() override {
    frmOptions.destroyNow();
    frmMain.destroyNow();
    frmTip.destroyNow();
    fcam.destroyNow();
    flistimages.destroyNow();
  }
  // Runs the options command; `inside` runs in its modal loop.
  void optionsCommand(const std::function<void(Options&)>& inside) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
      ran = true;
      Options& o = frmOptions();
      EXPECT_TRUE(o.Visible());
      EXPECT_TRUE(o.isShownModal());
      EXPECT_FALSE(frmMain().TimPeriod.Enabled()) << "periodic capture waits while the dialog is open";
      inside(o);
    });
    frmMain().bouton_Click(17);
    EXPECT_TRUE(ran);
  }
};

}  // namespace

TEST_F(OptionsWiring, PeriodicCaptureRunsAgainHoweverTheDialogCloses) {
  struct Case {
    const char* name;
    std::function<void(Options&)> close;
  };
  const Case cases[] = {
      {"OK", [](Options& o) { o.OKButton_Click(); }},
      {"Cancel", [](Options& o) { o.CdeAnnul_Click(); }},
      {"an unload (a hotkey)", [](Options& o) { vb::Unload(o); }},
      {"a refused OK, then Cancel",
       [](Options& o) {
         o.Txtpref.setText("ab");
         testenv::dialogs().expectMsgBox(gLng066, vb::vbOK);
         o.OKButton_Click();
         o.CdeAnnul_Click();
       }},
  };
  for (bool ticked : {true, false}) {
    for (const Case& k : cases) {
      SCOPED_TRACE(k.name + std::string(ticked ? ", armed" : ", not armed"));
      frmOptions.destroyNow();  // a cancelled edit would stay for the next case
      frmMain().MnuCaptper.setChecked(ticked);
      frmMain().TimPeriod.setEnabled(true);
      optionsCommand(k.close);
      testenv::dialogs().verify();
      EXPECT_FALSE(frmOptions.existing() && frmOptions.existing()->Visible());
      EXPECT_EQ(frmMain().TimPeriod.Enabled(), ticked);
      frmMain().TimPeriod.setEnabled(false);
    }
  }
}

TEST_F(OptionsWiring, OkWritesTheFileAndTheMainWindowFollows) {
  optionsCommand([](Options& o) {
    o.TextTouche1.setText("Q");
    o.Txtinterval.setText("250");
    o.Text1.setText("/srv/shots");
    o.OKButton_Click();
  });
  FrmMain& m = frmMain();
  EXPECT_EQ(m.TimPeriod.Interval(), 250);
  EXPECT_EQ(gIntervPeriode, 250);
  EXPECT_EQ(gTouche1, "Q");
  EXPECT_TRUE(m.bouton[11].ToolTipText().endsWith(" --->    /srv/shots"));
  EXPECT_EQ(m.bouton[11].ToolTipText().count("--->"), 1) << "the old folder went, the arrow stays one";
  QFile f(gDossAppli + "/params.txt");
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QStringList lines = QString::fromUtf8(f.readAll()).split("\r\n");
  ASSERT_GE(lines.size(), 2);
  EXPECT_EQ(lines[0], gParams);
  EXPECT_EQ(EnregParams(lines[0]).get(EnregParams::Intervalle), "00250");
  EXPECT_EQ(lines[1], Ligne300("/srv/shots"));
}

TEST_F(OptionsWiring, TheSaveAllErrorPathLeavesTheDialogOpenBesideTheMainWindow) {
  mainwin::MontrerOptions();
  ASSERT_TRUE(frmOptions.existing());
  EXPECT_TRUE(frmOptions->Visible());
  EXPECT_FALSE(frmOptions->isShownModal());
  // The options command then shows it modal, with what it held.
  frmOptions->Txtpref.setText("Keep");
  optionsCommand([](Options& o) {
    EXPECT_EQ(o.Txtpref.Text(), "Keep");
    o.CdeAnnul_Click();
  });
}

TEST_F(OptionsWiring, QuittingUnloadsTheDialog) {
  frmOptions().Show();
  ASSERT_TRUE(frmOptions.isLoaded());
  frmMain().quitprog();
  EXPECT_FALSE(frmOptions.isLoaded());
}
