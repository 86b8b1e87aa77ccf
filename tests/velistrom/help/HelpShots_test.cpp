// The help pictures drawn at build time against the zone tables: every part
// the help explains lies inside its zone, every menu entry on its row, and
// each picture has the size the window lays out for.
#include "common/LangFile.h"
#include "velistrom/help/AideZones.h"

#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRect>
#include <QTextStream>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

constexpr int kTw = 15;

struct Part {
  int zone;
  QRect rect;
};

std::map<QString, std::vector<Part>> ReadList() {
  std::map<QString, std::vector<Part>> parts;
  QFile f(QDir(testenv::binDir()).filePath("helpshots.txt"));
  if (!f.open(QIODevice::ReadOnly)) return parts;
  QTextStream in(&f);
  while (!in.atEnd()) {
    const QStringList w = in.readLine().split(' ');
    if (w.size() != 6) continue;
    parts[w[0]].push_back({w[1].toInt(), QRect(w[2].toInt(), w[3].toInt(), w[4].toInt(), w[5].toInt())});
  }
  return parts;
}

std::vector<lang::LangTexts> Languages() {
  std::vector<lang::LangTexts> out;
  for (const char* code : {"ConstPRJF", "ConstPRJA"}) {
    QFile f(lang::langFilePath(testenv::binDir(), code));
    if (!f.open(QIODevice::ReadOnly)) continue;
    const lang::LangRead r = lang::readLangFile(f.readAll());
    if (r.ok()) out.push_back(r.texts);
  }
  return out;
}

QSize SizeOf(const QString& name) { return QImage(QDir(testenv::binDir()).filePath(name + ".jpg")).size(); }

TEST(HelpShots, ExplainedPartsLieInsideTheirZones) {
  const auto parts = ReadList();
  const auto languages = Languages();
  ASSERT_FALSE(parts.empty()) << "helpshots.txt missing from " << testenv::binDir().toStdString();
  ASSERT_EQ(languages.size(), 2u);
  for (const lang::LangTexts& t : languages) {
    for (int page = 0; page < help::kPages; ++page) {
      const QString name = t.txtAide[67 + page];
      EXPECT_EQ(SizeOf(name), help::TaillePage(page)) << name.toStdString();
      ASSERT_TRUE(parts.count(name)) << name.toStdString();
      std::set<int> zonesSeen;
      for (const Part& p : parts.at(name)) {
        const QRect& r = p.rect;
        if (p.zone >= 100) {  // a menu title of the main window's page
          const help::MenuTitre& m = help::MenusPage0()[p.zone - 100];
          EXPECT_GE(r.left(), m.from) << name.toStdString() << " menu " << p.zone - 100;
          EXPECT_LE(r.right(), m.to) << name.toStdString() << " menu " << p.zone - 100;
          EXPECT_GT(r.top(), help::kBarreHaut);
          EXPECT_LT(r.bottom(), help::kBarreBas);
          EXPECT_EQ(help::MenuSous(r.center().x()), p.zone - 100);
          continue;
        }
        zonesSeen.insert(p.zone);
        const help::Zone& z = help::ZonesPage(page)[p.zone];
        // Pixels left + 1 to right - 1: the zone's edges are excluded.
        EXPECT_TRUE(r.left() > z.left && r.right() < z.right && r.top() > z.top && r.bottom() < z.bottom)
            << name.toStdString() << " zone " << p.zone;
        // Every pixel of the part hits its own zone, corners included.
        for (QPoint c : {r.topLeft(), r.bottomRight(), r.center()})
          EXPECT_EQ(help::ZoneTouchee(page, (c.x() + 0.5) * kTw, (c.y() + 0.5) * kTw, kTw, kTw), p.zone)
              << name.toStdString() << " zone " << p.zone;
      }
      EXPECT_EQ(zonesSeen.size(), help::ZonesPage(page).size()) << name.toStdString();
    }
    for (int k = 0; k < help::kMenus; ++k) {
      const QString name = t.txtAide[46 + k];
      EXPECT_EQ(SizeOf(name), help::TailleMenu(k)) << name.toStdString();
      ASSERT_TRUE(parts.count(name)) << name.toStdString();
      for (const Part& p : parts.at(name)) {
        EXPECT_EQ(help::LigneMenu(p.rect.top() * kTw, kTw), p.zone) << name.toStdString();
        EXPECT_EQ(help::LigneMenu((p.rect.bottom() + 0.5) * kTw, kTw), p.zone) << name.toStdString();
      }
    }
  }
  for (const char* picture : {"aide_fn", "aide_fv", "aide_opt"}) EXPECT_FALSE(SizeOf(picture).isEmpty()) << picture;
}

}  // namespace
