// A real burst on a real X server: five shots of the last region straight
// from the screen into JPEG files of the save folder.
#include "platform/Pointer.h"
#include "platform/ScreenGrab.h"
#include "tests/support/ScreenPattern.h"
#include "tests/velistrom/timed/ChronoFixture.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

// Smooth colours that tell where they are: JPEG keeps them close.
QRgb degrade(int x, int y) { return qRgb(x * 255 / 1919, y * 255 / 1079, (x + y) * 255 / 2998); }

class RafaleX11 : public chronotest::ChronoFixture {};

}  // namespace

TEST_F(RafaleX11, FiveJpegShotsOfTheLastRegion) {
  if (!testenv::onX11()) GTEST_SKIP() << "needs X";
  const QRect zone(300, 200, 160, 120);
  testsupport::PatternWindow ecran(degrade, QRect(0, 0, 1920, 1080));
  ecran.show();
  platform::warpPointer(QPoint(1900, 1070));
  ASSERT_TRUE(testsupport::waitFor([&] {
    const QImage g = platform::grabScreen(zone);
    return g.pixel(0, 0) == degrade(zone.x(), zone.y()) && g.pixel(159, 119) == degrade(459, 319);
  })) << "the gradient is on the screen";

  gSelX = zone.x() * 15;
  gSelY = zone.y() * 15;
  gLargImg = zone.width() * 15;
  gHautImg = zone.height() * 15;
  FrmChrono& f = frmChrono();  // loaded, not shown: nothing of it covers the region
  f.TxtNbImg.setText("5");
  for (int i = 7; i <= 9; ++i) f.Txtchrono[i].setText("00");
  f.Txtchrono[10].setText("0050");
  f.OptSav[1].setValue(true);
  testenv::dialogs().expectMsgBox("5 images were saved in " + dossier, vb::vbOK);
  f.CdeOk_Click();
  ASSERT_TRUE(f.Timrapid.Enabled());
  ASSERT_TRUE(testsupport::waitFor([&] { return !f.Timrapid.Enabled(); })) << "the burst ends by its count";
  testenv::dialogs().verify();

  const QStringList fichiers = chronotest::Fichiers(dossier);
  ASSERT_EQ(fichiers.size(), 5) << fichiers.join(' ').toStdString() << ": the bitmaps are gone";
  const QRegularExpression nom("^Capt_(\\d{6})_(\\d{3})\\.jpg$");
  for (int n = 1; n <= 5; ++n) {
    const QString& fichier = fichiers[n - 1];
    const QRegularExpressionMatch m = nom.match(fichier);
    ASSERT_TRUE(m.hasMatch()) << fichier.toStdString();
    EXPECT_EQ(m.captured(2).toInt(), n) << fichier.toStdString();
    const QImage img = QImage(dossier + "/" + fichier).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(img.size(), zone.size()) << fichier.toStdString();
    double somme = 0;
    int pire = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) {
        const QRgb a = img.pixel(x, y), b = degrade(zone.x() + x, zone.y() + y);
        const int e = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
        somme += e;
        pire = std::max(pire, e);
      }
    EXPECT_LT(somme / (img.width() * img.height()), 4.0) << fichier.toStdString();
    EXPECT_LT(pire, 24) << fichier.toStdString();
  }
}
