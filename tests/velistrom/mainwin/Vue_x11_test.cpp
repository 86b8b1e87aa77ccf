// The window command on a real X server with openbox: the active window, frame
// included, is laid out in the main view and joins the capture list.
#include "platform/ActiveWindow.h"
#include "platform/Pointer.h"
#include "platform/forms/Forms.h"
#include "tests/support/ScreenPattern.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"
#include "tests/support/Wait.h"
#include "tests/support/XTestKeys.h"
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
#include <QWidget>
#include <gtest/gtest.h>

namespace {

using testsupport::stripe;
using testsupport::waitFor;

class VueX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testenv::onX11() || !keys.ok()) GTEST_SKIP() << "needs X with XTest";
    capt::resetList();
    gDossAppli.clear();
    core::setDossierRessources(testenv::binDir());
    mainwin::setLecteurSonPourTests([](const QString&) { return true; });
    motif.setGeometry(300, 200, 400, 300);
    motif.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&motif));
    // The pointer well away from the pattern, so no pointer is drawn over it.
    keys.movePointer(QPoint(1900, 1070));
    keys.sync();

    testenv::dialogs().reset();
    frmMain();
    ASSERT_TRUE(frmMain.existing());
    frmMain().Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frmMain().widget()));
    if (FrmTip* tip = frmTip.existing()) vb::Unload(*tip);
  }
  void TearDown() override {
    keys.releaseAll();
    mainwin::setLecteurSonPourTests({});
    core::setDossierRessources(QString());
    frmFull.destroyNow();
    fcam.destroyNow();
    flistimages.destroyNow();
    frmTip.destroyNow();
    frmMain.destroyNow();
    capt::resetList();
  }

  // Activates the pattern window; its frame rectangle on the screen.
  QRect activerMotif() {
    QRect cadre;
    if (!platform::requestActivation(motif.winId())) return {};
    const bool active = waitFor([&] {
      platform::NativeWindow w = platform::activeWindow();
      cadre = platform::windowFrameRect(w);
      return w != 0 && cadre.contains(motif.mapToGlobal(QPoint(200, 150))) && cadre.width() < 1000;
    });
    // Another window's frame would pass for the pattern's if this went unchecked.
    return active ? cadre : QRect();
  }

  testsupport::XTestInput keys;
  testsupport::PatternWindow motif;
};

}  // namespace

TEST_F(VueX11, WindowCommandShowsAndListsTheActiveWindowWithItsFrame) {
  const QRect cadre = activerMotif();
  ASSERT_TRUE(cadre.isValid()) << "openbox activates the pattern window";
  ASSERT_GT(cadre.height(), motif.height()) << "a frame with a title bar";

  FrmMain& m = frmMain();
  m.bouton_Click(3);
  ASSERT_FALSE(m.FenetreVide);
  ASSERT_EQ(gNbCapt, 1);
  EXPECT_EQ(gTabMode[1].toStdString(), "f");
  EXPECT_EQ(gTabLargCapt[1], cadre.width() * 15);
  EXPECT_EQ(gTabHautCapt[1], cadre.height() * 15);

  // The listed picture: the window's client area inside its frame.
  const QImage prise = QImage(gRepCapt + "/" + gTabNomCapt[1]).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(prise.size(), cadre.size());
  const QPoint c = motif.mapToGlobal(QPoint(0, 0)) - cadre.topLeft();
  ASSERT_GT(c.y(), 0) << "the title bar is above the client area";
  for (QPoint p : {QPoint(5, 5), QPoint(200, 100), QPoint(395, 295)})
    EXPECT_EQ(prise.pixel(c + p), stripe(p.x(), p.y())) << p.x() << "," << p.y();
  // The title bar belongs to the picture: not the pattern, not empty black.
  const QRgb titre = prise.pixel(cadre.width() / 2, c.y() / 2);
  EXPECT_NE(titre, stripe(cadre.width() / 2, 0));
  int nonNoirs = 0;
  for (int x = 0; x < prise.width(); ++x) nonNoirs += (qGray(prise.pixel(x, c.y() / 2)) > 0) ? 1 : 0;
  EXPECT_GT(nonNoirs, prise.width() / 2) << "the frame was drawn, not a black band";

  // The main view shows it at full size; the zoom copy is the same picture.
  EXPECT_TRUE(m.Picture2.Visible());
  EXPECT_FALSE(m.ImgTTscreen.Visible());
  EXPECT_FALSE(m.Picture1.Visible());
  EXPECT_EQ(m.Picture2.Width(), cadre.width() * 15);
  EXPECT_EQ(m.Picture2.Height(), cadre.height() * 15);
  EXPECT_EQ(m.Picture2.Image().convertToFormat(QImage::Format_RGB32), prise);
  EXPECT_EQ(m.Picture2S.Picture().convertToFormat(QImage::Format_RGB32), prise);
  EXPECT_TRUE(m.mnuzoomX[3].Checked());
  EXPECT_TRUE(m.TimZoom.Enabled()) << "the fitting pass comes two seconds later";

  // Never narrower than the toolbar strip (the exact frame: the disabled test below).
  EXPECT_GE(m.Width(), 24 * m.bouton[0].Width());

  // The fitting pass: the window fits at 100 %, which stays.
  m.TimZoom.tick();
  EXPECT_FALSE(m.TimZoom.Enabled());
  EXPECT_TRUE(m.mnuzoomX[3].Checked());
  EXPECT_EQ(m.Picture2.Width(), cadre.width() * 15);
}

// The window was hidden for the grab and is sized again while openbox is still
// framing it: the frame must come out at the size asked, flush right.
TEST_F(VueX11, WindowReShownForTheGrabSettlesAtTheAskedFrame) {
  ASSERT_TRUE(activerMotif().isValid());
  FrmMain& m = frmMain();
  m.bouton_Click(3);
  ASSERT_EQ(gNbCapt, 1);
  const int largeur = m.LargeurFenetre(m.Picture2.Width());
  const int hauteur = m.Picture2.Height() + 1800;
  // However long openbox takes to frame it again, it settles at the size asked.
  EXPECT_TRUE(waitFor([&] {
    const QRect f = m.widget()->frameGeometry();
    return f.width() == largeur / 15 && f.height() == hauteur / 15 && f.right() == 1919;
  })) << "the frame settles";
  EXPECT_EQ(m.widget()->frameGeometry().width(), largeur / 15);
  EXPECT_EQ(m.widget()->frameGeometry().height(), hauteur / 15);
  EXPECT_EQ(m.widget()->frameGeometry().right(), 1919) << "flush with the screen's right edge";
  EXPECT_LE(m.Picture2.Top() + m.Picture2.Height(), m.StatusBar1.Top()) << "the status bar leaves the picture whole";
}

TEST_F(VueX11, ZoomedViewFitsAboveTheStatusBar) {
  const QRect cadre = activerMotif();
  ASSERT_TRUE(cadre.isValid());
  FrmMain& m = frmMain();
  m.bouton_Click(3);
  ASSERT_EQ(gNbCapt, 1);
  ASSERT_TRUE(waitFor([&] { return m.Left() == vb::Screen.Width() - m.Width(); })) << "shown again, flush right";
  for (int i : {4, 1, 3}) {
    int index = i;
    m.mnuzoomX_Click(index);
    // openbox may still be answering earlier moves: wait for the last one.
    EXPECT_TRUE(waitFor([&] { return m.Left() == vb::Screen.Width() - m.Width(); })) << i;
    const int bas = m.Picture2.Top() + m.Picture2.Height();
    EXPECT_LE(bas, m.StatusBar1.Top()) << "zoom entry " << i << ": the status bar leaves the picture whole";
    EXPECT_EQ(m.Left(), vb::Screen.Width() - m.Width()) << i;
  }
}
