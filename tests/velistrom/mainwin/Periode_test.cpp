// Periodic and long-period capture on the stepped clock and a fake desktop:
// command 6, the periodic batches of ten, the long-period schedule and its
// ends, and one shot at a time while a box is up.
#include "platform/Pointer.h"
#include "platform/forms/Runtime.h"
#include "tests/platform/forms/TestForms.h"
#include "tests/velistrom/mainwin/CaptureFixture.h"
#include "velistrom/core/Bureau.h"
#include "velistrom/mainwin/Commandes.h"
#include "velistrom/mainwin/Fcam.h"
#include "velistrom/timed/ChampsChrono.h"
#include "velistrom/timed/CoteMain.h"
#include "velistrom/timed/FrmChrono.h"

#include <QDir>
#include <gtest/gtest.h>

#include <vector>

namespace {

const QDateTime kDebut(QDate(2026, 3, 4), QTime(10, 0, 0));

// The timed-capture window's side, on the test's own main window.
struct CoteTest : timed::MainSide {
  explicit CoteTest(FrmMain& m) : m_(m) {}
  int mainLeft() override { return 0; }
  void armLongSeries() override { m_.TimerLngPerio.setEnabled(true); }
  void stopLongSeries() override { m_.TimerLngPerio.setEnabled(false); }
  void seriesMarkOff() override {}
  void showTutorials() override {}
  FrmMain& m_;
};

class Periode : public captfix::CaptureList {
 protected:
  void SetUp() override {
    CaptureList::SetUp();
    vb::setSteppedClock(kDebut);
    cote = std::make_unique<CoteTest>(m());
    timed::setMainSide(cote.get());
    gGardeVisible = 1;
    gMuet = 1;
    gPasCopiePP = "1";
    gHCurseur = platform::kNoPointer;
    gPrefixe = "Capt";
    gQualJpg = 70;
    gNomHorod = 0;
    gNumSauv = 0;
    gRepSauve = testenv::home() + "/Captures";
    ASSERT_TRUE(QDir().mkpath(gRepSauve));
    gRepSauvLigne = gRepSauve.leftJustified(300);
    gParams = QString(121, u' ') + "10000" + QString(174, u' ');
    gLng033 = "Take a region capture first";
    gLng117 = "The captures could not be saved";
    gLng231 = "- Timed capture";
    gLng232 = "- next in ";
    gTxtPasDeZone = "No region to take again";
    m().DateSess = "20260304";
    auto& e = core::bureau();
    e.grab = [](const QRect& r) {
      QImage img(r.size(), QImage::Format_RGB32);
      img.fill(QColor(40, 90, 200));
      return img;
    };
    e.ecran = [] { return QRect(0, 0, 320, 200); };
    e.fenetreActive = [] { return QRect(); };
    e.drawPointer = [](QImage&, quint32, QPoint) { return false; };
    sons.clear();
    mainwin::setLecteurSonPourTests([this](const QString& f) {
      sons << QFileInfo(f).fileName();
      return true;
    });
    // The last capture: a region of 40 x 30 pixels at (10, 20).
    gSelX = 10 * 15;
    gSelY = 20 * 15;
    add(Qt::red, 40, 30);
    gHautImg = 30 * 15;
  }
  void TearDown() override {
    frmChrono.destroyNow();
    timed::setMainSide(nullptr);
    core::resetBureau();
    mainwin::setLecteurSonPourTests({});
    fcam.destroyNow();
    CaptureList::TearDown();
  }

  // A long-period series as Start arms it.
  void Armer(const char* deb, const char* fin, double nbImgLim, double intervPer) {
    gHeureDeb = deb;
    gHeureFin = fin;
    gNbImgLim = nbImgLim;
    gIntervPer = intervPer;
    gNbImgPer = 0;
    gPremTop = true;
    m().TimerLngPerio.setEnabled(true);
    m().MnuCaptper.setChecked(true);
    m().bouton[6].setBorderStyle(1);
  }
  // Steps the clock by 100 ms at a time for `secondes`, noting the time of
  // each shot of the series.
  std::vector<double> Suivre(double secondes) {
    std::vector<double> tirs;
    double vus = gNbImgPer;
    for (int i = 0; i < int(secondes * 10); ++i) {
      vb::stepClock(100);
      if (gNbImgPer != vus) {
        vus = gNbImgPer;
        tirs.push_back(vb::TimerNow() - 36000);
      }
    }
    return tirs;
  }
  QStringList Sauves() const { return QDir(gRepSauve).entryList(QDir::Files, QDir::Name); }

  std::unique_ptr<CoteTest> cote;
  QStringList sons;
};

}  // namespace

TEST_F(Periode, CommandSixNeedsARegionLast) {
  struct Cas {
    const char* mode;
    bool vide;
  };
  for (const Cas c : {Cas{"e", false}, Cas{"f", false}, Cas{"z", true}}) {
    gModeCapt = c.mode;
    const int avant = gNbCapt;
    if (c.vide) gNbCapt = 0;
    testenv::dialogs().expectMsgBox("Take a region capture first", vb::vbOK);
    m().bouton_Click(6);
    testenv::dialogs().verify();
    EXPECT_EQ(testenv::dialogs().shown().back().icon, vb::iconName(vb::vbInformation));
    EXPECT_EQ(frmChrono.existing(), nullptr) << c.mode;
    gNbCapt = avant;
  }
  gModeCapt = "z";
  m().bouton_Click(6);
  ASSERT_NE(frmChrono.existing(), nullptr);
  EXPECT_TRUE(frmChrono().Visible());
  frmChrono().setWindowState(vb::vbMinimized);
  m().MnuCaptper_Click();
  EXPECT_EQ(frmChrono().WindowState(), vb::vbNormal) << "a minimised window comes back";
}

TEST_F(Periode, FirstShotOnePeriodAfterTheStartThenEndByCount) {
  gMuet = 0;
  frmChrono().OptSav[1].setValue(true);  // jpg
  Armer("10:00:05", "10:00:00", 3, 2000);
  const std::vector<double> tirs = Suivre(14);
  ASSERT_EQ(tirs.size(), 3u);
  // Each shot is noted once its tick is over: the repeat waits 0.3 s.
  EXPECT_NEAR(tirs[0], 7.3, 0.15) << "nothing before 10:00:05, then one period";
  EXPECT_NEAR(tirs[1] - tirs[0], 2.0, 0.15);
  EXPECT_NEAR(tirs[2] - tirs[1], 2.0, 0.15);
  EXPECT_FALSE(m().TimerLngPerio.Enabled()) << "the count ends the series";
  EXPECT_FALSE(m().MnuCaptper.Checked());
  EXPECT_EQ(m().bouton[6].BorderStyle(), 0);
  EXPECT_TRUE(frmChrono().Timer1.Enabled()) << "the caption clock is back";
  EXPECT_EQ(frmChrono().Labcpt.Caption(), "3 images");
  ASSERT_EQ(gNbCapt, 4);
  for (int i = 2; i <= 4; ++i) {
    EXPECT_EQ(gTabMode[i], "z");
    EXPECT_TRUE(gTabSauv[i].endsWith(".jpg")) << "saved at once: " << gTabSauv[i].toStdString();
  }
  EXPECT_EQ(Sauves().size(), 4) << "the first capture too, by the saves of the series";
  EXPECT_EQ(sons, (QStringList{"Capture.wav", "Capture.wav", "Capture.wav"}));
}

TEST_F(Periode, CountdownCaption) {
  Armer("10:00:00", "10:00:00", 2, 2000);
  vb::stepClock(100);  // the first running tick fixes the due time: 10:00:02.1
  vb::stepClock(1500);
  EXPECT_EQ(frmChrono().Caption(), "10:00:01 - next in 00.500 sec");
  EXPECT_FALSE(frmChrono().Timer1.Enabled());
  vb::stepClock(500);
  EXPECT_EQ(frmChrono().Caption(), "10:00:02 - next in 0,00 sec") << "the time is up at the shot's tick";
  EXPECT_EQ(gNbImgPer, 1);
}

TEST_F(Periode, EndByTimeAndAnEndBeforeTheStart) {
  struct Cas {
    const char* what;
    const char* deb;
    const char* fin;
    size_t tirs;
  };
  for (const Cas c : {Cas{"end by time", "10:00:00", "10:00:03", 2}, Cas{"end earlier than start", "10:00:00", "09:00:00", 0}}) {
    vb::setSteppedClock(kDebut);
    Armer(c.deb, c.fin, timed::kSansLimite, 1000);
    EXPECT_EQ(Suivre(6).size(), c.tirs) << c.what;
    EXPECT_FALSE(m().TimerLngPerio.Enabled()) << c.what;
  }
}

TEST_F(Periode, ShotsPauseBeforeTheStartTime) {
  Armer("10:00:30", "10:01:00", 5, 1000);
  EXPECT_TRUE(Suivre(20).empty());
  EXPECT_TRUE(gPremTop) << "not begun yet";
  EXPECT_TRUE(m().TimerLngPerio.Enabled());
}

TEST_F(Periode, PeriodicCaptureSavesAndEmptiesTheListByTens) {
  struct Cas {
    int formatBmp;
    const char* ext;
  };
  for (const Cas c : {Cas{0, ".jpg"}, Cas{1, ".bmp"}}) {
    gFormatBmp = c.formatBmp;
    for (const QString& f : Sauves()) QFile::remove(gRepSauve + "/" + f);
    m().TimPeriod.setInterval(1000);
    m().TimPeriod.setEnabled(true);
    vb::stepClock(1000 * (10 - gNbCapt) - 500);
    ASSERT_EQ(gNbCapt, 9) << c.ext;
    vb::stepClock(1000);
    EXPECT_EQ(gNbCapt, 0) << c.ext << ": saved and emptied at the tenth";
    const QStringList sauves = Sauves();
    EXPECT_EQ(sauves.size(), 10) << c.ext;
    for (const QString& f : sauves) EXPECT_TRUE(f.endsWith(c.ext)) << f.toStdString();
    EXPECT_TRUE(QDir(gRepCapt).entryList(QDir::Files).isEmpty()) << "the temporary bitmaps went";
    EXPECT_TRUE(m().TimPeriod.Enabled()) << "the next batch begins";
    m().TimPeriod.setEnabled(false);
    add(Qt::red, 40, 30);
    gHautImg = 30 * 15;
  }
}

TEST_F(Periode, AFailedPeriodicSaveStopsItAndKeepsTheList) {
  gRepSauve = testenv::home() + "/gone";
  m().MnuCaptper.setChecked(true);
  m().TimPeriod.setInterval(1000);
  m().TimPeriod.setEnabled(true);
  testenv::dialogs().expectMsgBox("The captures could not be saved", vb::vbOK);
  vb::stepClock(9500);
  testenv::dialogs().verify();
  EXPECT_EQ(gNbCapt, 10);
  EXPECT_FALSE(m().TimPeriod.Enabled());
  EXPECT_FALSE(m().MnuCaptper.Checked());
  vb::stepClock(3000);
  EXPECT_EQ(gNbCapt, 10);
}

// Boxes that let both timers tick while they are up, as a real box does.
class BoxesQuiLaissentTourner : public vb::DialogService {
 public:
  BoxesQuiLaissentTourner(FrmMain& m) : m_(m), avant_(&vb::dialogService()) { vb::setDialogService(this); }
  ~BoxesQuiLaissentTourner() override { vb::setDialogService(avant_); }
  int msgBox(const QString& prompt, int buttons, const QString&) override {
    ++boites;
    ++ouvertes;
    profondeurMax = std::max(profondeurMax, ouvertes);
    m_.TimerLngPerio_Timer();
    m_.TimPeriod_Timer();
    --ouvertes;
    return vb::defaultAnswer(buttons);
  }
  std::optional<QString> inputBox(const QString&, const QString&, const QString& d) override { return d; }
  std::optional<QString> fileDialog(int, const vb::CommonDialog&) override { return std::nullopt; }
  bool printerDialog(vb::CommonDialog&) override { return false; }
  int boites = 0, ouvertes = 0, profondeurMax = 0;

 private:
  FrmMain& m_;
  vb::DialogService* avant_;
};

TEST_F(Periode, AFailedSaveInASeriesShowsOneBoxAtATimeAndTheSeriesGoesOn) {
  gRepSauve = testenv::home() + "/gone";
  Armer("10:00:00", "10:00:00", 3, 1000);
  frmChrono();  // loaded before the boxes are replaced
  BoxesQuiLaissentTourner boites(m());
  Suivre(5);
  EXPECT_EQ(gNbImgPer, 3) << "the series goes on after each failed save";
  EXPECT_EQ(boites.profondeurMax, 1) << "no box opens inside another";
  EXPECT_GE(boites.boites, 3);
  EXPECT_EQ(gNbCapt, 4) << "nothing saved, nothing cleared";
  for (int i = 1; i <= gNbCapt; ++i) EXPECT_TRUE(gTabSauv[i].isEmpty());
}
