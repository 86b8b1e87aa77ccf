// Whole-screen, window and repeated capture on a real X server with openbox,
// started by real key presses (XTest) through the main window's hotkey poll.
#include "platform/ActiveWindow.h"
#include "platform/Pointer.h"
#include "platform/ScreenGrab.h"
#include "platform/forms/Forms.h"
#include "tests/support/ScreenPattern.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"
#include "tests/support/Wait.h"
#include "tests/support/XTestKeys.h"
#include "velistrom/core/Bureau.h"
#include "velistrom/core/Ressources.h"
#include "velistrom/mainwin/Commandes.h"
#include "velistrom/mainwin/Fcam.h"
#include "velistrom/mainwin/Flistimages.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/mainwin/frmMain.h"
#include "velistrom/overlay/FrmFull.h"
#include "velistrom/startup/Splash.h"
#include "velistrom/startup/frmTip.h"

#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

using testsupport::stripe;
using testsupport::waitFor;

struct Vu {
  QImage brut;  // the grab before the pointer was drawn
  QRect zone;
  bool mainVisible = true;
  bool listeVisible = true;
};

class DispatcherX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testenv::onX11() || !keys.ok()) GTEST_SKIP() << "needs X with XTest";
    capt::resetList();
    gDossAppli.clear();  // this test's own data folder, made by the start-up
    core::setDossierRessources(testenv::binDir());
    mainwin::setLecteurSonPourTests([](const QString&) { return true; });

    motif.setGeometry(300, 200, 400, 300);
    motif.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&motif));

    // Every grab is recorded with the state of the windows at that moment.
    auto& e = core::bureau();
    e.grab = [this](const QRect& r) {
      Vu v;
      v.brut = platform::grabScreen(r);
      v.zone = r;
      FrmMain* m = frmMain.existing();
      v.mainVisible = m && m->widget()->isVisible();
      Flistimages* l = flistimages.existing();
      v.listeVisible = l && l->widget()->isVisible();
      vus.push_back(v);
      return v.brut;
    };

    testenv::dialogs().reset();
    frmMain();  // the real start-up: settings, toolbar, hint; its first tick arms the hotkeys
    ASSERT_TRUE(frmMain.existing());
    frmMain().Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frmMain().widget()));
    if (FrmTip* tip = frmTip.existing()) vb::Unload(*tip);
    ASSERT_TRUE(waitFor([] { return frmMain().Timerclav.Enabled(); })) << "the hotkey poll runs";
    ASSERT_EQ(gTouche4.toStdString(), "F") << "default whole-screen letter";
  }
  void TearDown() override {
    keys.releaseAll();
    core::resetBureau();
    mainwin::setLecteurSonPourTests({});
    core::setDossierRessources(QString());
    core::resetBureau();
    // Hidden first: the overlay's input grabber must not outlive the form.
    if (FrmFull* f = frmFull.existing()) f->Hide();
    frmFull.destroyNow();
    fcam.destroyNow();
    flistimages.destroyNow();
    frmTip.destroyNow();
    frmMain.destroyNow();
    capt::resetList();
  }

  // Ctrl+F held until `n` captures are listed (or a timeout), then released.
  bool hotkeyWholeScreen(int n) {
    keys.press("Control_L");
    keys.press("f");
    keys.sync();
    const bool ok = waitFor([n] { return gNbCapt >= n; });
    keys.release("f");
    keys.release("Control_L");
    keys.sync();
    return ok;
  }

  // Ctrl+F tapped: both keys down and up again at once, quicker than the poll.
  void tapWholeScreen() {
    keys.press("Control_L");
    keys.tap("f");
    keys.release("Control_L");
    keys.sync();
  }
  // The command has run to its end (the poll starts nothing before).
  static bool commandDone(int n) { return gNbCapt >= n && frmMain().CommandesEnCours == 0; }

  QImage capture(int i) { return QImage(gRepCapt + "/" + gTabNomCapt[i]).convertToFormat(QImage::Format_RGB32); }

  testsupport::XTestInput keys;
  testsupport::PatternWindow motif;
  std::vector<Vu> vus;
};

}  // namespace

TEST_F(DispatcherX11, CtrlFCapturesTheScreenOnceWithThePointer) {
  keys.movePointer(QPoint(500, 350));  // over the pattern
  keys.sync();
  ASSERT_TRUE(waitFor([] { return gCursX == 500 && gCursY == 350; })) << "the 50 ms pointer timer";

  ASSERT_TRUE(hotkeyWholeScreen(1));
  QTest::qWait(600);  // six more polls with the keys held would have fired again
  ASSERT_EQ(gNbCapt, 1) << "one press, one capture";
  ASSERT_EQ(vus.size(), 1u);
  EXPECT_TRUE(gParClavier);
  EXPECT_EQ(gTabMode[1].toStdString(), "e");

  const Vu& v = vus[0];
  EXPECT_EQ(v.zone, QRect(0, 0, 1920, 1080));
  EXPECT_FALSE(v.mainVisible) << "the main window is off the screen during the grab";
  EXPECT_TRUE(frmMain().widget()->isVisible()) << "and back after it";

  // The pattern window's client area, as the grab saw it.
  const QPoint c = motif.mapToGlobal(QPoint(0, 0));
  for (QPoint p : {QPoint(10, 10), QPoint(123, 45), QPoint(390, 290)})
    EXPECT_EQ(v.brut.pixel(c + p), stripe(p.x(), p.y())) << p.x() << "," << p.y();

  // The capture is that grab with the pointer's hotspot at the pointer (Xvfb
  // shows its root cursor).
  ASSERT_NE(gHCurseur, platform::kNoPointer) << "the hotkey poll took the pointer's shape";
  QImage attendu = v.brut.copy();
  ASSERT_TRUE(platform::drawPointer(attendu, gHCurseur, QPoint(500, 350)));
  const QImage prise = capture(1);
  ASSERT_FALSE(prise.isNull());
  EXPECT_EQ(prise, attendu);
  EXPECT_EQ(frmMain().Picture1.Picture(), attendu);
  EXPECT_NE(prise, v.brut) << "a pointer was drawn";
}

TEST_F(DispatcherX11, EveryTapShorterThanThePollCapturesOnce) {
  tapWholeScreen();
  ASSERT_TRUE(waitFor([] { return commandDone(1); })) << "the tap was seen";
  QTest::qWait(400);  // polls that must not fire again
  EXPECT_EQ(gNbCapt, 1);
  EXPECT_TRUE(gParClavier);

  tapWholeScreen();
  ASSERT_TRUE(waitFor([] { return commandDone(2); })) << "the second tap was seen";
  QTest::qWait(400);
  EXPECT_EQ(gNbCapt, 2);
  EXPECT_EQ(vus.size(), 2u);
}

TEST_F(DispatcherX11, ACombinationHeldAcrossPollsCapturesOnceThoughTheKeyRepeats) {
  keys.press("Control_L");
  keys.press("f");
  keys.sync();
  ASSERT_TRUE(waitFor([] { return commandDone(1); }));
  // Still held, past the server's auto-repeat delay (660 ms): ten idle polls.
  QTest::qWait(1000);
  EXPECT_EQ(gNbCapt, 1);
  keys.release("f");
  keys.release("Control_L");
  keys.sync();
  QTest::qWait(300);
  EXPECT_EQ(gNbCapt, 1);
}

TEST_F(DispatcherX11, RepeatGrabsTheSameScreenAgainAndBringsBothWindowsBack) {
  keys.movePointer(QPoint(420, 260));
  keys.sync();
  ASSERT_TRUE(waitFor([] { return gCursX == 420 && gCursY == 260; }));
  ASSERT_TRUE(hotkeyWholeScreen(1));
  ASSERT_EQ(vus.size(), 1u);
  const QImage premier = vus[0].brut;
  flistimages().Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(flistimages->widget()));
  QTest::qWait(300);
  vus.clear();

  frmMain().bouton_Click(5);
  ASSERT_EQ(gNbCapt, 2);
  ASSERT_EQ(vus.size(), 1u);
  EXPECT_FALSE(vus[0].mainVisible);
  EXPECT_FALSE(vus[0].listeVisible) << "the thumbnail window is off the screen during the grab";
  EXPECT_TRUE(frmMain().widget()->isVisible());
  EXPECT_TRUE(flistimages->widget()->isVisible());
  EXPECT_EQ(gTabMode[2].toStdString(), "e");
  EXPECT_EQ(vus[0].brut, premier) << "the same screen, grabbed again";
  // Repeated from the toolbar: the pointer 6 pixels up and left of where it stands.
  EXPECT_FALSE(gParClavier);
  ASSERT_NE(gHCurseur, platform::kNoPointer);
  QImage attendu = vus[0].brut.copy();
  ASSERT_TRUE(platform::drawPointer(attendu, gHCurseur, QPoint(414, 254)));
  EXPECT_EQ(capture(2), attendu);
}

// A window that was not on the screen before the grab (the main window put
// away, a hotkey pressed) does not appear after it.
TEST_F(DispatcherX11, AHiddenMainWindowStaysHidden) {
  frmMain().Hide();
  QTest::qWait(200);
  frmMain().CapturTTbis(0);
  ASSERT_EQ(vus.size(), 1u);
  EXPECT_FALSE(vus[0].mainVisible);
  QTest::qWait(200);
  EXPECT_FALSE(frmMain().widget()->isVisible());
}

TEST_F(DispatcherX11, WindowCommandTakesTheActiveWindowWithItsFrame) {
  ASSERT_TRUE(platform::requestActivation(motif.winId()));
  QRect cadre;
  ASSERT_TRUE(waitFor([&] {
    platform::NativeWindow w = platform::activeWindow();
    cadre = platform::windowFrameRect(w);
    return w != 0 && cadre.contains(motif.mapToGlobal(QPoint(200, 150))) && cadre.width() < 1000;
  })) << "openbox activates the pattern window";
  ASSERT_GT(cadre.height(), motif.height()) << "a frame with a title bar";
  const QPoint pointeur = motif.mapToGlobal(QPoint(100, 80));
  keys.movePointer(pointeur);
  keys.sync();
  ASSERT_TRUE(waitFor([&] { return QPoint(gCursX, gCursY) == pointeur; }));
  gHCurseur = platform::pointerHandle();  // as a hotkey earlier in the run left it
  ASSERT_NE(gHCurseur, platform::kNoPointer);

  // Clicked on the toolbar: the main window goes, openbox gives the focus back
  // to the pattern window, which the grab then takes.
  frmMain().bouton_Click(3);
  EXPECT_FALSE(frmMain().FenetreVide);
  ASSERT_EQ(vus.size(), 1u);
  EXPECT_EQ(vus[0].zone, cadre);
  EXPECT_FALSE(vus[0].mainVisible);
  const QImage brut = vus[0].brut;
  const QPoint c = motif.mapToGlobal(QPoint(0, 0)) - cadre.topLeft();
  for (QPoint p : {QPoint(5, 5), QPoint(200, 100), QPoint(395, 295)})
    EXPECT_EQ(brut.pixel(c + p), stripe(p.x(), p.y())) << p.x() << "," << p.y();
  // The capture: that grab with the pointer 6 pixels up and left of it,
  // counted from the frame's corner.
  QImage attendu = brut.copy();
  ASSERT_TRUE(platform::drawPointer(attendu, gHCurseur, pointeur - cadre.topLeft() - QPoint(6, 6)));
  ASSERT_EQ(gNbCapt, 1);
  EXPECT_EQ(gTabMode[1].toStdString(), "f");
  EXPECT_EQ(capture(1), attendu);
  EXPECT_TRUE(frmMain().widget()->isVisible()) << "back after the grab";
}

TEST_F(DispatcherX11, RegionHotkeyAgainHidesTheOverlayBeforeTheNewGrab) {
  struct Prise {
    bool overlayVisible;
    bool mainVisible;
  };
  std::vector<Prise> prises;
  core::bureau().grab = [&](const QRect& r) {
    FrmFull* f = frmFull.existing();
    prises.push_back({f && f->widget()->isVisible(), frmMain().widget()->isVisible()});
    return platform::grabScreen(r);
  };
  auto ctrlZ = [&](size_t n) {
    keys.press("Control_L");
    keys.press("z");
    keys.sync();
    const bool ok = waitFor([&] { return prises.size() >= n && frmFull.existing() && frmFull->Visible(); });
    QTest::qWait(500);  // held: no second command
    keys.release("z");
    keys.release("Control_L");
    keys.sync();
    QTest::qWait(250);
    return ok;
  };
  ASSERT_TRUE(ctrlZ(1));
  ASSERT_EQ(prises.size(), 1u) << "one press, one overlay";
  EXPECT_FALSE(prises[0].mainVisible);
  EXPECT_FALSE(prises[0].overlayVisible);
  EXPECT_TRUE(frmMain().SecondeCaptOk);
  EXPECT_TRUE(frmMain().AnnulPossible);
  EXPECT_TRUE(gParClavier);

  ASSERT_TRUE(ctrlZ(2));
  ASSERT_EQ(prises.size(), 2u);
  EXPECT_FALSE(prises[1].overlayVisible) << "the new grab does not see the frozen picture";
  EXPECT_TRUE(frmFull->Visible()) << "the overlay opens again on the new grab";
}

TEST_F(DispatcherX11, HotkeyIgnoredWhileAToolbarCommandWaits) {
  int grabs = 0;
  core::bureau().grab = [&](const QRect& r) {
    ++grabs;
    return platform::grabScreen(r);
  };
  // Ctrl+Z goes down while the toolbar's region command waits for the windows
  // to vanish; the poll keeps ticking meanwhile but must not start a second one.
  QTimer::singleShot(100, [&] {
    keys.press("Control_L");
    keys.press("z");
    keys.sync();
  });
  frmMain().bouton_Click(0);
  EXPECT_EQ(grabs, 1);
  EXPECT_FALSE(gParClavier) << "started from the toolbar";
  QTest::qWait(400);  // still held after the command: not a new press
  keys.release("z");
  keys.release("Control_L");
  keys.sync();
  QTest::qWait(250);
  EXPECT_EQ(grabs, 1);
}
