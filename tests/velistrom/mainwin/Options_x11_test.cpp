// The options dialog on a real X server with openbox: unticking the handles
// switch hides a real overlay's rectangle, and a hotkey letter chosen in the
// dialog starts its capture through the main window's key poll.
#include "velistrom/options/Options.h"

#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"
#include "tests/support/Wait.h"
#include "tests/support/XTestKeys.h"
#include "tests/velistrom/ShippedTexts.h"
#include "velistrom/mainwin/Branchements.h"
#include "velistrom/mainwin/Fcam.h"
#include "velistrom/mainwin/Flistimages.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/mainwin/frmMain.h"
#include "velistrom/options/OptionsMain.h"
#include "velistrom/overlay/FrmFull.h"
#include "velistrom/overlay/Remise.h"
#include "velistrom/startup/frmTip.h"

#include <QElapsedTimer>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

namespace {

using testsupport::waitFor;

// The dialog's side without the main window, but with the real overlay.
struct OverlayOnlySide : options::MainSide {
  vb::Color backColor() override { return 0x00E0E0E0; }
  bool periodicTicked() override { return false; }
  bool periodicOn() override { return false; }
  void setPeriodicOn(bool) override {}
  void setPeriodicInterval(int) override {}
  QString saveTooltip() override { return QString(); }
  void setSaveTooltip(const QString&) override {}
  void SavOptions() override {}
  void hideOverlayRectangle() override { real->hideOverlayRectangle(); }
  options::MainSide* real = nullptr;
};

// The overlay's hand-over with nothing behind it.
struct NoMain : overlay::MainSide {
  QImage pictReserv() override { return {}; }
  void setPictReserv(const QImage&) override {}
  void overlayKey() override {}
  void setPicture2(const QImage&) override {}
  void CopiePP(const QString&) override {}
  void showCut() override {}
  void GestVignettes(vb::PictureBox&) override {}
  bool severalInARow() override { return false; }
  void showThumbsForSeries() override {}
  void hideThumbs() override {}
  void backToMain(double) override {}
  void thumbsColourKey(bool) override {}
  void startZoom() override {}
  void escapeToMain() override {}
};

class OptionsOverlayX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testenv::onX11() || !input.ok()) GTEST_SKIP() << "needs X with XTest";
    ASSERT_TRUE(testsupport::textesLivres());
    mainwin::BrancherOptions();
    side.real = &options::mainSide();
    options::setMainSide(&side);
    overlay::setMainSide(&noMain);
    gParams = EnregParams::creation().texte();
    gRectAjust = 1;
    gSelLarg = "0300";
    gSelHaut = "0200";
  }
  void TearDown() override {
    input.releaseAll();
    frmOptions.destroyNow();
    if (FrmFull* f = frmFull.existing()) f->Hide();
    frmFull.destroyNow();
    overlay::setMainSide(nullptr);
    options::setMainSide(nullptr);
  }
  bool handlesShown(FrmFull& f) {
    bool any = f.rectsel.widget()->isVisible();
    for (int i : f.coinrect.indexes()) any = any || f.coinrect[i].widget()->isVisible();
    return any;
  }
  testsupport::XTestInput input;
  OverlayOnlySide side;
  NoMain noMain;
};

}  // namespace

TEST_F(OptionsOverlayX11, UntickingTheHandlesHidesTheOverlaysRectangleAtOnce) {
  FrmFull& f = frmFull();
  ASSERT_TRUE(f.InitFull(0));
  f.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f.widget()));
  ASSERT_TRUE(waitFor([&] { return f.rectsel.widget()->isVisible(); })) << "the saved-size rectangle shows";
  // The overlay's one sizing tick after its load shows the rectangle again:
  // the untick comes after it, as any user's does.
  ASSERT_TRUE(waitFor([&] { return !f.Timreinit.Enabled(); })) << "the first sizing tick ran";
  EXPECT_EQ(f.coinrect.Count(), 8);

  Options& o = frmOptions();
  ASSERT_EQ(o.Check1[6].Value(), 1);
  o.Check1[6].setValue(0);
  EXPECT_FALSE(handlesShown(f));
  // The pointer moving over the overlay does not bring them back.
  input.movePointer(QPoint(900, 500));
  input.movePointer(QPoint(960, 540));
  input.sync();
  QTest::qWait(300);
  EXPECT_FALSE(handlesShown(f));
  // Cancelled: still hidden.
  o.CdeAnnul_Click();
  EXPECT_FALSE(handlesShown(f));
}

namespace {

class OptionsHotkeyX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testenv::onX11() || !keys.ok()) GTEST_SKIP() << "needs X with XTest";
    ASSERT_TRUE(testsupport::textesLivres());
    mainwin::BrancherCotes();
    capt::resetList();
    gParams.clear();
    gRepSauvLigne.clear();
    mainwin::setLecteurSonPourTests([](const QString&) { return true; });
    frmMain();
    ASSERT_TRUE(frmMain.existing());
    frmMain().Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frmMain().widget()));
    if (FrmTip* tip = frmTip.existing()) vb::Unload(*tip);
    ASSERT_TRUE(waitFor([] { return frmMain().Timerclav.Enabled(); })) << "the hotkey poll runs";
  }
  void TearDown() override {
    keys.releaseAll();
    mainwin::setLecteurSonPourTests({});
    frmOptions.destroyNow();
    if (FrmFull* f = frmFull.existing()) f->Hide();
    frmFull.destroyNow();
    fcam.destroyNow();
    flistimages.destroyNow();
    frmTip.destroyNow();
    frmMain.destroyNow();
    capt::resetList();
  }
  // Ctrl + the key, held until `ok` or a timeout, then released.
  bool ctrl(const QString& key, const std::function<bool()>& ok, int ms = 5000) {
    keys.press("Control_L");
    keys.press(key);
    keys.sync();
    const bool done = waitFor(ok, ms);
    keys.release(key);
    keys.release("Control_L");
    keys.sync();
    return done;
  }
  testsupport::XTestInput keys;
};

}  // namespace

TEST_F(OptionsHotkeyX11, ANewWholeScreenLetterWorksAfterOkAndTheOldOneNoLonger) {
  ASSERT_EQ(gTouche4, "F");
  Options& o = frmOptions();
  o.Show();
  o.TextTouche4.setText("w");
  EXPECT_EQ(o.TextTouche4.Text(), "W");
  o.OKButton_Click();
  ASSERT_FALSE(o.Visible());
  EXPECT_EQ(gTouche4, "W");

  EXPECT_FALSE(ctrl("f", [] { return gNbCapt > 0; }, 800)) << "the old letter starts nothing";
  ASSERT_TRUE(ctrl("w", [] { return gNbCapt == 1; })) << "the new letter captures the screen";
  EXPECT_EQ(gTabMode[1], "e");
}

TEST_F(OptionsHotkeyX11, AHotkeyWhileTheDialogShowsUnloadsItAndTheCaptureGoesAhead) {
  Options& o = frmOptions();
  o.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(o.widget()));
  o.Txtpref.setText("Lost");
  ASSERT_TRUE(ctrl("f", [] { return gNbCapt == 1; }));
  EXPECT_FALSE(frmOptions.isLoaded()) << "pending edits are dropped";
  EXPECT_EQ(gPrefixe, "Capt");
  EXPECT_EQ(frmOptions().Txtpref.Text(), "Capt");
}
