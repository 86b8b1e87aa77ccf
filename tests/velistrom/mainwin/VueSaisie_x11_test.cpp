// The main window under a window manager with real input: a pointer drag on
// the grab on show cuts exactly the pixels it framed, and its keys arrive
// whichever of its boxes has the focus.
#include "platform/forms/Forms.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"
#include "tests/support/XTestKeys.h"
#include "velistrom/core/Ressources.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/mainwin/Fcam.h"
#include "velistrom/mainwin/Flistimages.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/mainwin/frmMain.h"
#include "velistrom/startup/Splash.h"
#include "velistrom/startup/frmTip.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// Each pixel tells where it came from.
QImage coords(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x % 256, y % 256, 77));
  return img;
}

class VueSaisieX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testenv::onX11() || !input.ok()) GTEST_SKIP() << "needs X with XTest";
    capt::resetList();
    gDossAppli.clear();
    gPasCopiePP = "0";
    gOptChk0 = 0;
    core::setDossierRessources(testenv::binDir());
    mainwin::setLecteurSonPourTests([](const QString&) { return true; });
    testenv::dialogs().reset();
    FrmMain& m = frmMain();
    if (FrmTip* tip = frmTip.existing()) vb::Unload(*tip);
    m.Mnumulti.setChecked(false);
    // The grab on show, as a whole-screen or window capture leaves it.
    m.Picture1.Move(20, 500, 300 * 15, 200 * 15);
    m.Picture1.setPicture(coords(300, 200));
    m.Picture1.setVisible(true);
    m.Picture2.setVisible(false);
    m.Move(vb::Screen.Width() - 6000, 500, 6000, 5500);
    m.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m.widget()));
    QTest::qWait(300);
  }
  void TearDown() override {
    input.releaseAll();
    mainwin::setLecteurSonPourTests({});
    core::setDossierRessources(QString());
    fcam.destroyNow();
    flistimages.destroyNow();
    frmTip.destroyNow();
    frmMain.destroyNow();
    capt::resetList();
  }
  QPoint onGrab(QPoint pixel) { return frmMain().Picture1.widget()->mapToGlobal(pixel); }

  testsupport::XTestInput input;
};

TEST_F(VueSaisieX11, ADragCutsThePixelsItFramed) {
  FrmMain& m = frmMain();
  // From the bottom right to the top left: the same region as the other way.
  input.movePointer(onGrab(QPoint(90, 70)));
  input.sync();
  QTest::qWait(100);
  input.pressButton(1);
  input.sync();
  QTest::qWait(100);
  for (QPoint p : {QPoint(70, 60), QPoint(40, 40), QPoint(30, 25)}) {
    input.movePointer(onGrab(p));
    input.sync();
    QTest::qWait(60);
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return m.rectsel.Visible() && m.rectsel.Width() == 60 * 15; }, 3000))
      << "the band follows the pointer";
  input.releaseButton(1);
  input.sync();
  ASSERT_TRUE(QTest::qWaitFor([&] { return gNbCapt == 1; }, 3000));

  const QImage want = coords(300, 200).copy(30, 25, 60, 45);
  QImage listed;
  ASSERT_TRUE(listed.load(FrmMain::CheminTemp(1)));
  EXPECT_EQ(listed.convertToFormat(QImage::Format_RGB32), want);
  EXPECT_EQ(gTabMode[1], "z");
  EXPECT_EQ(gTabLargCapt[1], 60 * 15);
  EXPECT_EQ(gTabHautCapt[1], 45 * 15);
  EXPECT_FALSE(m.Picture1.Visible());
  EXPECT_TRUE(m.Picture2.Visible());
  EXPECT_FALSE(m.rectsel.Visible());
}

TEST_F(VueSaisieX11, TheDeleteKeyReachesTheWindowWhicheverBoxHasTheFocus) {
  FrmMain& m = frmMain();
  gLng091 = "Delete every capture?";
  gLargImg = 40 * 15;
  gModeCapt = "z";
  m.Picture2.setPicture(coords(40, 30));
  m.GestVignettes(m.Picture2);
  ASSERT_EQ(gNbCapt, 1);
  m.Show();
  m.widget()->activateWindow();
  m.bouton[5].widget()->setFocus();  // a toolbar button holds the focus, as after a click
  ASSERT_TRUE(QTest::qWaitFor([&] { return m.widget()->isActiveWindow(); }, 3000));

  testenv::dialogs().expectMsgBox("Delete every capture?", vb::vbOK);
  input.tap("Delete");
  input.sync();
  EXPECT_TRUE(QTest::qWaitFor([&] { return gNbCapt == 0; }, 3000));
  testenv::dialogs().verify();
}

}  // namespace
