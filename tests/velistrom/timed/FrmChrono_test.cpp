// The timed-capture window: its opening, its fields through their boxes,
// Start and Stop, and bursts on the stepped clock with a fake screen.
#include "platform/forms/Runtime.h"
#include "tests/velistrom/timed/ChronoFixture.h"
#include "velistrom/core/Bureau.h"

#include <QImage>
#include <gtest/gtest.h>

using chronotest::ChronoFixture;
using chronotest::Fichiers;

namespace {

const QDateTime kDebut(QDate(2026, 3, 4), QTime(10, 15, 0));

QString Lecture(FrmChrono& f) {
  QStringList t;
  for (int i = 1; i <= 10; ++i) t << f.Txtchrono[i].Text();
  return t.mid(0, 3).join(':') + " " + t.mid(3, 3).join(':') + " " + t.mid(6, 3).join(':') + " " + t[9];
}

class Chrono : public ChronoFixture {};

// A fake screen: each grab one flat colour, the next one another.
class Rafale : public ChronoFixture {
 protected:
  void SetUp() override {
    ChronoFixture::SetUp();
    vb::setSteppedClock(kDebut);
    core::bureau().grab = [this](const QRect& r) {
      zones << r;
      QImage img(r.size(), QImage::Format_RGB32);
      img.fill(kCouleurs[(zones.size() - 1) % 4]);
      return img;
    };
  }
  // Start with count n, burst period ms, format option k.
  void Lancer(int n, const char* ms, int k) {
    FrmChrono& f = frmChrono();
    Champs(QString("10:15:00 00:00:00 00:00:00 ") + ms);
    f.TxtNbImg.setText(QString::number(n));
    f.OptSav[k].setValue(true);
    f.CdeOk_Click();
  }
  QColor CouleurDe(const QString& nom) { return QImage(dossier + "/" + nom).pixelColor(3, 3); }

  static constexpr QRgb kCouleurs[4] = {0xff0000, 0x00c000, 0x0000ff, 0xc0c000};
  QList<QRect> zones;
};

}  // namespace

TEST_F(Chrono, OpensOnTheClockAndTheSettings) {
  vb::setWallClock([] { return QDateTime(QDate(2026, 3, 4), QTime(10, 15, 42)); });
  FrmChrono& f = frmChrono();
  EXPECT_EQ(Lecture(f), "10:15:42 10:16:42 00:00:10 0000");
  EXPECT_EQ(f.Left(), 1230) << "lined up with the main window";
  EXPECT_EQ(f.Caption(), "10:15:42 - Timed capture");
  EXPECT_EQ(f.LabChangt.Caption(), gLng233);
  EXPECT_EQ(f.LabNbImg.Caption(), gLng249);
  EXPECT_TRUE(f.TxtNbImg.Text().isEmpty());
  EXPECT_TRUE(f.OptSav[0].Value());
  EXPECT_EQ(f.FormatChoisi(), "bmp");
  EXPECT_TRUE(f.Timer1.Enabled());
  EXPECT_FALSE(f.Timrapid.Enabled());
  const char* unites[] = {"h", "min", "sec", "h", "min", "sec", "h", "min", "sec", "ms"};
  for (int i = 1; i <= 10; ++i) {
    EXPECT_EQ(f.LabInterm[i].Caption(), unites[i - 1]) << i;
    EXPECT_EQ(f.Txtchrono[i].MaxLength(), i == 10 ? 4 : 2) << i;
    EXPECT_EQ(f.CdeChronoM[i].Top() + f.CdeChronoM[i].Height(), f.Txtchrono[i].Top()) << i;
    EXPECT_EQ(f.CdeChronoP[i].Top(), f.Txtchrono[i].Top() + f.Txtchrono[i].Height()) << i;
  }
  EXPECT_EQ(f.Txtchrono[4].Top(), f.Txtchrono[1].Top() + 770);
  EXPECT_EQ(f.Txtchrono[2].Left(), f.Txtchrono[1].Left() + 600);
  EXPECT_EQ(f.Txtchrono[10].Width(), 2 * f.Txtchrono[9].Width());
  EXPECT_EQ(f.Txtchrono[1].ForeColor(), vb::RGB(0, 128, 0));
  EXPECT_EQ(f.Txtchrono[5].ForeColor(), vb::RGB(255, 0, 0));
  EXPECT_EQ(f.Txtchrono[10].ForeColor(), vb::RGB(200, 120, 50));
  EXPECT_TRUE(testenv::dialogs().shown().empty()) << "an empty save folder: no warning";
}

TEST_F(Chrono, WarnsWhenTheSaveFolderHoldsFilesAndOpensAnyway) {
  QFile f(dossier + "/old.jpg");
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  testenv::dialogs().expectMsgBox("The folder " + dossier + " holds files already", vb::vbCancel);
  EXPECT_TRUE(frmChrono().isLoaded());
  testenv::dialogs().verify();
  EXPECT_EQ(testenv::dialogs().shown().back().buttons, vb::vbOKCancel | vb::vbExclamation);
}

TEST_F(Chrono, BoxesFollowTheFieldRules) {
  FrmChrono& f = frmChrono();
  Champs("10:00:00 10:01:00 00:00:01 0000");
  f.Txtchrono[8].setText("-5");
  EXPECT_EQ(f.Txtchrono[8].Text(), "5") << "a time field takes digits only";
  f.Txtchrono[3].setText("60");
  EXPECT_EQ(Lecture(f), "10:01:00 10:01:00 00:5:01 0000");
  f.Txtchrono[10].setText("1500");
  EXPECT_EQ(f.Txtchrono[10].Text(), "0000");

  f.TxtNbImg.setText("3");
  EXPECT_EQ(Lecture(f).mid(9, 8), "00:00:00") << "a count clears the end";

  f.Txtchrono[8].setText("00");
  EXPECT_EQ(f.LabChangt.Caption(), gLng233);
  f.CdeChronoM[9].onClick();
  EXPECT_EQ(f.LabChangt.Caption(), gLng253) << "period 00:00:00: the burst note";
  f.CdeChronoP[7].onClick();
  EXPECT_EQ(f.Txtchrono[7].Text(), "01");
  EXPECT_EQ(f.LabChangt.Caption(), gLng253) << "and it stays";

  f.Command1_Click();
  EXPECT_EQ(main.tutorials, 1);
}

TEST_F(Chrono, StartArmsALongSeriesAndStopEndsIt) {
  FrmChrono& f = frmChrono();
  f.Show();
  Champs("10:00:00 11:30:00 00:01:02 0500");
  f.Labcpt.setCaption("7 images");
  f.CdeOk_Click();
  EXPECT_EQ(main.armed, 1);
  EXPECT_EQ(gHeureDeb, "10:00:00");
  EXPECT_EQ(gHeureFin, "11:30:00");
  EXPECT_EQ(gNbImgLim, timed::kSansLimite);
  EXPECT_EQ(gIntervPer, 62500);
  EXPECT_EQ(gNbImgPer, 0);
  EXPECT_TRUE(gPremTop);
  EXPECT_EQ(f.Labcpt.Caption(), "0");
  EXPECT_EQ(f.WindowState(), vb::vbMinimized);
  EXPECT_FALSE(f.Timrapid.Enabled());

  f.CdeStopper_Click();
  EXPECT_EQ(main.stopped, 1);
  EXPECT_FALSE(f.Timrapid.Enabled());
}

TEST_F(Chrono, RefusedStartsLeaveTheStateAlone) {
  struct Cas {
    const char* what;
    const char* champs;
    const char* nbImg;
    int nbCapt;
    const char* mode;
    double larg;
    const char* message;
    int icone;
  };
  const Cas cas[] = {
      {"newest is a window", "10:00:00 10:01:00 00:00:01 0000", "", 1, "f", 600, "Take a region first", vb::vbInformation},
      {"no region known", "10:00:00 10:01:00 00:00:00 0100", "", 0, "", 0, "Take a region first", vb::vbInformation},
      {"start after end", "10:00:00 09:00:00 00:00:01 0000", "", 1, "z", 600, "The start is after the end", vb::vbExclamation},
      {"end past midnight", "23:59:30 24:00:30 00:00:00 0100", "", 1, "z", 600, "24:00:00", vb::vbExclamation},
  };
  for (const Cas& c : cas) {
    capt::resetList();
    gNbCapt = c.nbCapt;
    if (c.nbCapt > 0) gTabMode[c.nbCapt] = c.mode;
    gLargImg = c.larg;
    gHeureDeb = "sentinel";
    FrmChrono& f = frmChrono();
    Champs(c.champs);
    f.TxtNbImg.setText(c.nbImg);
    Champs(c.champs);
    testenv::dialogs().expectMsgBox(c.message, vb::vbOK);
    f.CdeOk_Click();
    testenv::dialogs().verify();
    EXPECT_EQ(testenv::dialogs().shown().back().icon, vb::iconName(c.icone)) << c.what;
    EXPECT_EQ(gHeureDeb, "sentinel") << c.what;
    EXPECT_EQ(main.armed, 0) << c.what;
    EXPECT_FALSE(f.Timrapid.Enabled()) << c.what;
    frmChrono.destroyNow();
  }
}

TEST_F(Rafale, JpegBurstWritesNumberedFilesAndDropsItsBitmaps) {
  QImage ancien(8, 8, QImage::Format_RGB32);
  ancien.fill(Qt::white);
  ASSERT_TRUE(ancien.save(dossier + "/older.bmp", "BMP"));
  testenv::dialogs().expectMsgBox("The folder", vb::vbOK);
  Lancer(3, "0100", 1);
  EXPECT_TRUE(frmChrono().Timrapid.Enabled());
  EXPECT_EQ(frmChrono().Timrapid.Interval(), 100);
  EXPECT_EQ(main.armed, 0) << "a burst leaves the main window's series alone";

  testenv::dialogs().expectMsgBox("3 images were saved in " + gRepSauvLigne, vb::vbOK);
  vb::stepClock(400);
  testenv::dialogs().verify();
  EXPECT_FALSE(frmChrono().Timrapid.Enabled());
  EXPECT_EQ(main.markedOff, 1);
  EXPECT_EQ(frmChrono().Labcpt.Caption(), "3 images");
  EXPECT_EQ(Fichiers(dossier), (QStringList{"Capt_101500_001.jpg", "Capt_101500_002.jpg", "Capt_101500_003.jpg", "older.bmp"}));
  ASSERT_EQ(zones.size(), 3);
  EXPECT_EQ(zones[0], QRect(10, 20, 40, 30)) << "the last region, in pixels";
  EXPECT_EQ(gNbCapt, 0) << "burst shots never join the list";
}

TEST_F(Rafale, ABurstStartedAgainInTheSameSecondKeepsTheEarlierFiles) {
  testenv::dialogs().expectMsgBox("2 images were saved", vb::vbOK);
  Lancer(2, "0100", 1);
  vb::stepClock(300);
  testenv::dialogs().expectMsgBox("2 images were saved", vb::vbOK);
  frmChrono().CdeOk_Click();
  vb::stepClock(300);
  testenv::dialogs().verify();
  ASSERT_EQ(vb::TimeText(), "10:15:00");
  EXPECT_EQ(Fichiers(dossier), (QStringList{"Capt_101500_001.jpg", "Capt_101500_002.jpg", "Capt_101500_003.jpg", "Capt_101500_004.jpg"}));
  // JPEG moves colours a little: compare by the strongest channel.
  EXPECT_GT(CouleurDe("Capt_101500_001.jpg").red(), 200) << "the first burst's first shot is still there";
  EXPECT_GT(CouleurDe("Capt_101500_003.jpg").blue(), 200) << "the second burst's first shot";
}

TEST_F(Rafale, BitmapFormatKeepsTheBitmapsAndAZeroPeriodNeverFires) {
  testenv::dialogs().expectMsgBox("2 images were saved", vb::vbOK);
  Lancer(2, "0050", 0);
  vb::stepClock(200);
  testenv::dialogs().verify();
  EXPECT_EQ(Fichiers(dossier), (QStringList{"Capt_101500_001.bmp", "Capt_101500_002.bmp"}));
  EXPECT_EQ(CouleurDe("Capt_101500_002.bmp"), QColor(0x00c000));

  frmChrono().Txtchrono[10].setText("0000");
  frmChrono().CdeOk_Click();
  EXPECT_TRUE(frmChrono().Timrapid.Enabled());
  vb::stepClock(3000);
  EXPECT_EQ(zones.size(), 2) << "an interval of 0 never fires";
}

TEST_F(Rafale, AShotWhoseConversionFailedKeepsItsBitmap) {
  // Too wide for JPEG (65500 pixels at most); a bitmap takes it.
  gLargImg = 70000 * 15;
  gHautImg = 2 * 15;
  testenv::dialogs().expectMsgBox("Conversion failed", vb::vbOK);
  testenv::dialogs().expectMsgBox("1 images were saved", vb::vbOK);
  Lancer(1, "0100", 1);
  vb::stepClock(200);
  testenv::dialogs().verify();
  EXPECT_EQ(Fichiers(dossier), QStringList{"Capt_101500_001.bmp"}) << "the only copy of the shot stays";
}

TEST_F(Rafale, AShotThatCannotBeWrittenEndsTheBurst) {
  gRepSauvLigne = (dossier + "/gone").leftJustified(300);
  testenv::dialogs().expectMsgBox("75 ", vb::vbOK);
  testenv::dialogs().expectMsgBox("0 images were saved", vb::vbOK);
  Lancer(5, "0100", 1);
  vb::stepClock(500);
  testenv::dialogs().verify();
  EXPECT_FALSE(frmChrono().Timrapid.Enabled());
  EXPECT_EQ(zones.size(), 1);
  EXPECT_EQ(main.markedOff, 1);
}
