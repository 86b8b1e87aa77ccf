// The pure rules of the capture list: thumbnail geometry, names, labels, stamps.
#include "velistrom/mainwin/Vignettes.h"

#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

struct AspectCase {
  const char* name;
  int wPx, hPx;
  int largVign, hautVign, largAgr, hautAgr;
};

// Template boxes: thumbnail 1450 x 1485, enlarged copy 2720 x 2720.
TEST(CaptureRules, ThumbnailFitsTheTemplateBoxByAspect) {
  const AspectCase cases[] = {
      {"portrait 800x1200", 800, 1200, 990, 1485, 1683, 2720},
      {"square", 500, 500, 1450, 1450, 2720, 2465},
      {"landscape 1024x768 (1087.5 rounds to even)", 1024, 768, 1450, 1088, 2720, 1850},
      {"wide 3840x2160", 3840, 2160, 1450, 816, 2720, 1387},
      {"tall strip 10x2000", 10, 2000, 7, 1485, 12, 2720},
  };
  for (const AspectCase& c : cases) {
    SCOPED_TRACE(c.name);
    const vign::Aspect a = vign::RegleAspect(c.wPx * 15.0, c.hPx * 15.0, 1450, 1485, 2720, 2720);
    EXPECT_EQ(a.largVign, c.largVign);
    EXPECT_EQ(a.hautVign, c.hautVign);
    EXPECT_EQ(a.largAgr, c.largAgr);
    EXPECT_EQ(a.hautAgr, c.hautAgr);
  }
}

TEST(CaptureRules, EnlargedCopyStandsAboveOnlyWhenTallerThan600) {
  EXPECT_EQ(vign::HautAgrandie(840, 600), 840);
  EXPECT_EQ(vign::HautAgrandie(840, 601), 440);
  EXPECT_EQ(vign::HautAgrandie(2640, 2720), 2240);
}

TEST(CaptureRules, NamesLabelsAndStamps) {
  EXPECT_EQ(vign::NomCapt("1030450", 1), "Captprov_103045001.bmp");
  EXPECT_EQ(vign::NomCapt("1030450", 6), "Captprov_103045006.bmp");
  EXPECT_EQ(vign::NomCapt("1030450", 100), "Captprov_1030450100.bmp");

  EXPECT_EQ(vign::LibelleRangee(3, true, 1024 * 15, 768 * 15, "Screen"), "03/  1024 x 768");
  EXPECT_EQ(vign::LibelleRangee(100, true, 3840 * 15, 2160 * 15, "Screen"), "100/  3840 x 2160");
  EXPECT_EQ(vign::LibelleRangee(7, false, 1920 * 15, 1080 * 15, "Screen"), "07 Screen");
  // Sizes are cut to whole pixels, never rounded up.
  EXPECT_EQ(vign::LibelleRangee(1, true, 1024 * 15 + 14, 768 * 15 + 14, "Screen"), "01/  1024 x 768");

  EXPECT_EQ(vign::Renumeroter("03/  1024 x 768", 2), "02/  1024 x 768");
  EXPECT_EQ(vign::Renumeroter("100/  5 x 5", 99), "99/  5 x 5");
  EXPECT_EQ(vign::Renumeroter("101/  6 x 6", 100), "100/  6 x 6");
  EXPECT_EQ(vign::Renumeroter("05 Screen", 4), "04 Screen");

  EXPECT_EQ(vign::Horodatage(QDateTime(QDate(2026, 12, 9), QTime(10, 30, 45))), "261209_103045");
  EXPECT_EQ(vign::Horodatage(QDateTime(QDate(2031, 1, 2), QTime(3, 4, 5))), "310102_030405");
}

TEST(CaptureRules, DeletingAMissingFileCountsAsDeletedAndOtherFailuresAreTold) {
  const QString dir = testenv::home();
  EXPECT_EQ(vign::SupprimerFichier(dir + "/never-there.bmp"), QString());
  QFile f(dir + "/there.bmp");
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  EXPECT_EQ(vign::SupprimerFichier(dir + "/there.bmp"), QString());
  EXPECT_FALSE(QFile::exists(dir + "/there.bmp"));
  // A name that is a folder with something in it cannot be removed as a file.
  ASSERT_TRUE(QDir().mkpath(dir + "/busy.bmp/inner"));
  EXPECT_FALSE(vign::SupprimerFichier(dir + "/busy.bmp").isEmpty());
}

}  // namespace
