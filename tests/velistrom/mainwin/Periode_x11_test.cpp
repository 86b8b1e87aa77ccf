// A long-period series on a real X server: started from the timed-capture
// window, three shots of the last region join the capture list.
#include "platform/Pointer.h"
#include "platform/ScreenGrab.h"
#include "tests/support/ScreenPattern.h"
#include "tests/velistrom/mainwin/CaptureFixture.h"
#include "velistrom/mainwin/Commandes.h"
#include "velistrom/mainwin/Fcam.h"
#include "velistrom/timed/CoteMain.h"
#include "velistrom/timed/FrmChrono.h"


namespace {

QRgb motif(int x, int y) { return qRgb(x & 255, y & 255, ((x >> 8) & 15) << 4 | ((y >> 8) & 15)); }

struct CoteTest : timed::MainSide {
  explicit CoteTest(FrmMain& m) : m_(m) {}
  int mainLeft() override { return 0; }
  void armLongSeries() override {
    m_.TimerLngPerio.setEnabled(true);
    m_.MnuCaptper.setChecked(true);
  }
  void stopLongSeries() override { m_.TimerLngPerio.setEnabled(false); }
  void seriesMarkOff() override {}
  void showTutorials() override {}
  FrmMain& m_;
};

class PeriodeX11 : public captfix::CaptureList {
 protected:
  void TearDown() override {
    frmChrono.destroyNow();
    timed::setMainSide(nullptr);
    mainwin::setLecteurSonPourTests({});
    CaptureList::TearDown();
  }
};

}  // namespace

TEST_F(PeriodeX11, ASeriesOfThreeShotsAddsThreeCaptures) {
  if (!testenv::onX11()) GTEST_SKIP() << "needs X";
  testsupport::PatternWindow ecran(motif, QRect(0, 0, 1920, 1080));
  ecran.show();
  platform::warpPointer(QPoint(1900, 1070));
  ASSERT_TRUE(testsupport::waitFor([] { return platform::grabScreen(QRect(500, 400, 1, 1)).pixel(0, 0) == motif(500, 400); }))
      << "the pattern is on the screen";

  CoteTest cote(m());
  timed::setMainSide(&cote);
  mainwin::setLecteurSonPourTests([](const QString&) { return true; });
  m().mnuveille.setCaption(gLng106);  // the thumbnail window stays away from the screen
  gGardeVisible = 1;
  gPasCopiePP = "1";
  gRepSauve = testenv::home() + "/Captures";
  ASSERT_TRUE(QDir().mkpath(gRepSauve));
  gRepSauvLigne = gRepSauve.leftJustified(300);
  gSelX = 400 * 15;
  gSelY = 300 * 15;
  add(Qt::red, 90, 60);
  gHautImg = 60 * 15;

  FrmChrono& f = frmChrono();
  f.TxtNbImg.setText("3");
  f.Txtchrono[7].setText("00");
  f.Txtchrono[8].setText("00");
  f.Txtchrono[9].setText("01");
  f.Txtchrono[10].setText("0000");
  f.CdeOk_Click();
  ASSERT_TRUE(m().TimerLngPerio.Enabled());
  ASSERT_TRUE(testsupport::waitFor([this] { return !m().TimerLngPerio.Enabled(); }, 20000))
      << "the series ends after its count";

  ASSERT_EQ(gNbCapt, 4);
  for (int i = 2; i <= 4; ++i) {
    EXPECT_EQ(gTabMode[i], "z");
    const QImage img = QImage(gRepCapt + "/" + gTabNomCapt[i]).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(img.size(), QSize(90, 60)) << i;
    int ecarts = 0;
    // The repeat cuts one pixel inside the region's corner, as the overlay does.
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        if ((img.pixel(x, y) & 0xFFFFFF) != (motif(401 + x, 301 + y) & 0xFFFFFF)) ++ecarts;
    EXPECT_EQ(ecarts, 0) << "capture " << i;
    EXPECT_FALSE(gTabSauv[i].isEmpty()) << "each shot is saved at once";
  }
}
