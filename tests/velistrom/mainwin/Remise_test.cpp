// What the real main window and thumbnail window do when the overlay hands a
// selection over or is given up: their places and sizes, by window state.
#include "velistrom/core/Ressources.h"
#include "velistrom/mainwin/Branchements.h"
#include "velistrom/overlay/Remise.h"

#include "tests/velistrom/ShippedTexts.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/mainwin/Fcam.h"
#include "velistrom/mainwin/Flistimages.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/mainwin/frmMain.h"
#include "velistrom/startup/LangLoader.h"
#include "velistrom/startup/Splash.h"
#include "velistrom/startup/frmTip.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRect>
#include <gtest/gtest.h>

namespace {

QRect placeOf(const vb::Form& f) { return QRect(f.Left(), f.Top(), f.Width(), f.Height()); }

// A fresh account with the shipped texts; the main window loaded, as the
// banner's closing leaves it, but not shown.
class RealMainSide : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testsupport::textesLivres());
    capt::resetList();
    gAgrandi = false;
    gFinFull = false;
    gRepCapt.clear();
    gParams.clear();
    mainwin::BrancherRemise();
    overlay::setMainSide(nullptr);
    FrmMain& m = frmMain();
    for (vb::Timer* t : {&m.Timderoul, &m.Timlabdeb, &m.TimCurs, &m.TimerUnload, &m.Timsplash}) t->setEnabled(false);
    m.Hide();
  }
  void TearDown() override {
    frmMain.destroyNow();
    frmTip.destroyNow();
    fcam.destroyNow();
    flistimages.destroyNow();
    capt::resetList();
    core::setDossierRessources(QString());
    testenv::dialogs().verify();
  }
};

TEST_F(RealMainSide, AfterOneCaptureTheMainWindowFitsItFlushRight) {
  FrmMain& m = frmMain();
  struct Case {
    int pictureWidth;
    double hautImg;
    int width;
  };
  // 10000 twips at least; wider pictures get 220 twips more.
  for (Case c : {Case{6000, 3000, 10000}, Case{10000, 3000, 10000}, Case{10001, 4500, 10221}}) {
    QImage cut(c.pictureWidth / 15 + 1, 40, QImage::Format_RGB32);
    cut.fill(qRgb(c.pictureWidth % 256, 90, 40));
    m.Picture2.setPicture(cut);
    m.Picture2.setWidth(c.pictureWidth);
    m.Hide();
    overlay::mainSide().backToMain(c.hautImg);
    EXPECT_EQ(m.Width(), c.width) << c.pictureWidth;
    EXPECT_EQ(m.Height(), int(c.hautImg) + 1400) << c.pictureWidth;
    EXPECT_EQ(m.Left(), vb::Screen.Width() - m.Width()) << c.pictureWidth;
    EXPECT_TRUE(m.Visible());
    EXPECT_EQ(m.Picture2S.Picture(), cut) << "the zoom source takes the new capture";
  }
}

TEST_F(RealMainSide, MinimisedMainWindowIsLeftWhereItIsButTakesTheCapture) {
  FrmMain& m = frmMain();
  m.Move(1200, 900, 9000, 6000);
  m.setWindowState(vb::vbMinimized);
  QImage cut(120, 50, QImage::Format_RGB32);
  cut.fill(Qt::darkCyan);
  m.Picture2.setPicture(cut);
  m.Picture2.setWidth(20000);
  const QRect before = placeOf(m);
  overlay::mainSide().showCut();
  overlay::mainSide().backToMain(3000);
  EXPECT_EQ(placeOf(m), before);
  EXPECT_FALSE(m.Visible());
  EXPECT_EQ(m.Picture2S.Picture(), cut);
}

TEST_F(RealMainSide, TheCutShownGrowsTheWindowInNormalStateOnly) {
  FrmMain& m = frmMain();
  m.Picture2.setHeight(4000);
  overlay::mainSide().showCut();
  EXPECT_EQ(m.Height(), 4000 + 1800);
  EXPECT_TRUE(m.Picture2.Visible());
  EXPECT_TRUE(m.StatusBar1.Visible());
  EXPECT_FALSE(m.ImgTTscreen.Visible());
}

// The thumbnail window: at (1000, 1000) for a capture of a series, at the
// screen's corner after Escape, in normal state only; after Escape it shows
// whatever its state.
TEST_F(RealMainSide, ThumbnailWindowPlacesBySeriesAndEscape) {
  Flistimages& l = flistimages();
  struct Case {
    bool minimised;
    bool escape;
    QPoint at;
    bool shown;
  };
  for (Case c : {Case{false, false, {1000, 1000}, true}, Case{true, false, {3000, 2000}, false},
                 Case{false, true, {0, 0}, true}, Case{true, true, {3000, 2000}, true}}) {
    SCOPED_TRACE(std::string(c.escape ? "escape" : "series") + (c.minimised ? ", minimised" : ""));
    l.Hide();
    l.setWindowState(vb::vbNormal);
    l.Move(3000, 2000);
    if (c.minimised) l.setWindowState(vb::vbMinimized);
    if (c.escape)
      overlay::mainSide().escapeToMain();
    else
      overlay::mainSide().showThumbsForSeries();
    EXPECT_EQ(QPoint(l.Left(), l.Top()), c.at);
    EXPECT_EQ(l.Visible(), c.shown);
    if (c.escape) {
      EXPECT_TRUE(frmMain().Visible());
    }
  }
}

}  // namespace
