// The language files as the build ships them in bin/ (made by langtool from
// data/lang/). Skipped only while a source is missing.
#include "common/LangFile.h"

#include "tests/common/LangFixture.h"
#include "tests/support/TestEnv.h"

#include <QFile>

#include <gtest/gtest.h>

#include <set>

namespace {

// Section-1 entries some window shows; every other number is a placeholder.
const std::set<int> kUsedTexts = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  15,  16,  17,  18,  22,
    23,  24,  25,  27,  28,  29,  30,  31,  32,  33,  34,  35,  36,  37,  38,  39,  40,  41,  42,  43,
    44,  45,  46,  47,  48,  49,  50,  51,  52,  53,  54,  55,  56,  57,  58,  59,  66,  67,  69,  70,
    71,  72,  73,  74,  75,  76,  77,  78,  79,  80,  81,  82,  83,  84,  85,  86,  87,  88,  89,  90,
    91,  92,  93,  94,  95,  96,  97,  98,  99,  100, 104, 105, 106, 107, 109, 110, 111, 112, 113, 114,
    115, 116, 117, 118, 119, 120, 121, 122, 123, 125, 126, 128, 129, 130, 134, 135, 139, 140, 141, 142,
    143, 144, 148, 149, 150, 151, 154, 155, 156, 157, 158, 160, 162, 163, 166, 168, 169, 170, 171, 172,
    173, 174, 175, 176, 183, 184, 185, 186, 187, 189, 190, 193, 194, 195, 196, 198, 200, 201, 202, 203,
    204, 209, 210, 213, 214, 216, 217, 218, 219, 220, 221, 222, 223, 224, 225, 227, 228, 229, 230, 231,
    232, 233, 234, 235, 236, 239, 240, 241, 242, 243, 244, 245, 246, 248, 249, 250, 251, 252, 253, 254,
    255, 256, 257, 258, 260, 263, 265, 266, 267, 268, 269, 270, 271};

// Help texts the interactive help window reads: 0-19, 23-65, 67-81.
bool helpUsed(int i) { return (i <= 19) || (i >= 23 && i <= 65) || (i >= 67 && i <= 81); }

// Menu help: the rows each pictured menu has (File 4, Edit 7, Tools 7, Mail 4,
// Help 5); the rows below them stay empty.
constexpr int kMenuRows[lang::kMenuGroups] = {4, 7, 7, 4, 5};

class ShippedLang : public ::testing::TestWithParam<const char*> {};

TEST_P(ShippedLang, LoadsCompletelyWithEveryEntryTheProgramsShow) {
  const QString source = QStringLiteral(VELISTROM_SOURCE_ROOT "/data/lang/") + GetParam() + ".txt";
  if (!QFile::exists(source)) GTEST_SKIP() << "no source " << qPrintable(source);
  const QString path = testenv::binDir() + "/" + GetParam() + "_codN.txt";
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(path) << " was not built from " << qPrintable(source);
  const QByteArray bytes = f.readAll();

  const auto main = lang::readLangFile(bytes);
  ASSERT_TRUE(main.ok()) << qPrintable(lang::describe(*main.failure));
  ASSERT_EQ(kUsedTexts.size(), 213u);
  for (int n : kUsedTexts) EXPECT_FALSE(main.texts.txtLng[n].isEmpty()) << "section 1 entry " << n;
  int help = 0;
  for (int i = 0; i <= lang::kTxtAideLast; ++i)
    if (helpUsed(i)) {
      ++help;
      EXPECT_FALSE(main.texts.txtAide[i].isEmpty()) << "help text " << i;
    }
  EXPECT_EQ(help, 78);
  for (int g = 0; g < lang::kMenuGroups; ++g)
    for (int j = 0; j < kMenuRows[g]; ++j)
      EXPECT_FALSE(main.texts.tabAideMenu[g][j].isEmpty()) << "menu help group " << g << " item " << j;
  EXPECT_FALSE(main.texts.tips.isEmpty());
  for (const QString& tip : main.texts.tips) EXPECT_FALSE(tip.isEmpty());

  const auto forum = lang::readForumTexts(bytes);
  ASSERT_TRUE(forum.ok()) << qPrintable(lang::describe(*forum.failure));
  for (int k = 0; k < lang::kForumTextCount; ++k) EXPECT_FALSE(forum.texts[k].isEmpty()) << "gLngForum" << k;
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, ShippedLang, ::testing::Values("ConstPRJF", "ConstPRJA"));

}  // namespace
