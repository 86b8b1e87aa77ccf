// The upload history: its entries, the trim to the newest fifty, two programs
// writing at once, and the menu that lists and re-selects earlier uploads.
#include "postelle/HistoForum.h"
#include "platform/Clipboard.h"
#include "tests/postelle/ForumFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

namespace {

using forumtest::Etat;
using forumtest::Forum;

QString entree(int n) {
  return histo::texteEntree(QDateTime(QDate(2026, 1, 2), QTime(3, 4)),
                            "http://h.test/zimage/id" + QString::number(n) + ".php");
}

class Histo : public ::testing::Test {
 protected:
  void SetUp() override {
    dossier_ = testenv::dataHome() + "/Velistrom";
    QDir().mkpath(dossier_);
  }
  QByteArray contenu() const {
    QFile f(histo::cheminHisto(dossier_));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  void ecrire(int n) const {
    QFile f(histo::cheminHisto(dossier_));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    for (int i = 1; i <= n; ++i) f.write(histo::ligneFichier(entree(i)));
  }
  QString dossier_;
};

TEST_F(Histo, EntryIsTheDateAndThePagePaddedTo120) {
  const QString e = histo::texteEntree(QDateTime(QDate(2026, 3, 7), QTime(9, 5)), "http://h.test/zimage/A.php");
  EXPECT_EQ(e, QString("2026/03/07 - http://h.test/zimage/A.php").leftJustified(120));
  EXPECT_EQ(histo::ligneFichier(e), '"' + e.toUtf8() + "\"\r\n");
  // A page too long for the padding is kept whole rather than cut or refused.
  const QString longue = "http://h.test/zimage/" + QString(120, 'x') + ".php";
  EXPECT_EQ(histo::texteEntree(QDateTime(QDate(2026, 3, 7), QTime()), longue), "2026/03/07 - " + longue);

  ASSERT_TRUE(histo::ajouter(dossier_, e));
  ASSERT_TRUE(histo::ajouter(dossier_, "2026/03/08 - " + longue));
  EXPECT_EQ(histo::lire(dossier_).entrees, (QStringList{e, "2026/03/08 - " + longue}));
}

TEST_F(Histo, TrimKeepsTheNewestFifty) {
  struct Cas {
    int entrees;
    int premiere;  // the oldest entry left
  };
  const Cas cas[] = {{0, 0}, {1, 1}, {50, 1}, {51, 2}, {120, 71}};
  for (const auto& c : cas) {
    SCOPED_TRACE(c.entrees);
    ecrire(c.entrees);
    const QByteArray avant = contenu();
    ASSERT_TRUE(histo::tailler(dossier_));
    const QStringList reste = histo::lire(dossier_).entrees;
    ASSERT_EQ(reste.size(), std::min(c.entrees, 50));
    if (c.entrees <= 50) {
      EXPECT_EQ(contenu(), avant);  // left as it was
    }
    for (int i = 0; i < reste.size(); ++i) EXPECT_EQ(reste[i], entree(c.premiere + i));
    for (const QByteArray& ligne : contenu().split('\n'))
      if (!ligne.isEmpty()) {
        EXPECT_EQ(ligne.size(), 123);  // quotes, 120 characters, CR
      }
    EXPECT_EQ(QDir(dossier_).entryList(QDir::Files), QStringList{"historforum.txt"});  // no scratch left
  }
}

TEST_F(Histo, MissingFileIsCreatedEmpty) {
  const histo::Lecture l = histo::lire(dossier_);
  EXPECT_TRUE(l.entrees.isEmpty());
  EXPECT_TRUE(l.erreur.isEmpty());
  EXPECT_TRUE(QFile::exists(histo::cheminHisto(dossier_)));
}

TEST_F(Histo, PageAndIdAreReadBackFromTheLastMarks) {
  struct Cas {
    QString texte;
    std::optional<histo::Upload> attendu;
  };
  const Cas cas[] = {
      {entree(7), histo::Upload{"http://h.test/zimage/id7.php", "http://h.test", "id7"}},
      {"2026/01/02 - http://h.test/zimage/a.php.b.php  x", histo::Upload{"http://h.test/zimage/a.php.b.php", "http://h.test", "a.php.b"}},
      {"2026/01/02 - http://h.test/zimage/x/zimage/Q9.php", histo::Upload{"http://h.test/zimage/x/zimage/Q9.php", "http://h.test/zimage/x", "Q9"}},
      {"2026/01/02 - http://h.test/zimage/Q9", std::nullopt},
      {"2026/01/02 - http://h.test/Q9.php", std::nullopt},
      {"short", std::nullopt},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.texte.toStdString());
    const auto u = histo::lireEntree(c.texte);
    ASSERT_EQ(u.has_value(), c.attendu.has_value());
    if (!u) continue;
    EXPECT_EQ(u->page, c.attendu->page);
    EXPECT_EQ(u->adresseHote, c.attendu->adresseHote);
    EXPECT_EQ(u->idImage, c.attendu->idImage);
  }
}

// The child side of the next test: appends or trims as its parent asks.
TEST(HistoChild, WritesWhatItsParentAsks) {
  const QString dossier = qEnvironmentVariable("HISTO_CHILD_FOLDER");
  if (dossier.isEmpty()) GTEST_SKIP() << "only run by HistoTwoPrograms";
  const QString tache = qEnvironmentVariable("HISTO_CHILD_TASK");
  const int fois = qEnvironmentVariableIntValue("HISTO_CHILD_COUNT");
  // Both programs start their work together, once each has said it is ready.
  QFile pret(dossier + "/ready-" + tache);
  ASSERT_TRUE(pret.open(QIODevice::WriteOnly));
  pret.close();
  QElapsedTimer attente;
  attente.start();
  while (!QFile::exists(dossier + "/go") && attente.elapsed() < 30000) QThread::msleep(1);
  for (int i = 1; i <= fois; ++i) {
    if (tache == "trim")
      ASSERT_TRUE(histo::tailler(dossier));
    else
      ASSERT_TRUE(histo::ajouter(dossier, entree(1000 * tache.toInt() + i)));
  }
}

// Two posting programs at once: every line arrives whole, and a trim in one
// loses nothing the other appends meanwhile.
TEST_F(Histo, TwoProgramsAtOnceLoseNothing) {
  auto lancer = [&](QProcess& p, const QString& tache, int fois) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HISTO_CHILD_FOLDER", dossier_);
    env.insert("HISTO_CHILD_TASK", tache);
    env.insert("HISTO_CHILD_COUNT", QString::number(fois));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=HistoChild.*"});
  };
  auto partir = [&](const QStringList& taches) {
    QElapsedTimer t;
    t.start();
    for (const QString& tache : taches)
      while (!QFile::exists(dossier_ + "/ready-" + tache) && t.elapsed() < 30000) QThread::msleep(5);
    QFile go(dossier_ + "/go");
    ASSERT_TRUE(go.open(QIODevice::WriteOnly));
  };
  // Two programs doing their task at once, until both have ended.
  auto ensemble = [&](const QString& tacheA, int foisA, const QString& tacheB, int foisB) {
    QProcess a, b;
    lancer(a, tacheA, foisA);
    lancer(b, tacheB, foisB);
    partir({tacheA, tacheB});
    for (QProcess* p : {&a, &b}) {
      ASSERT_TRUE(p->waitForFinished(60000));
      EXPECT_EQ(p->exitCode(), 0);
    }
    for (const QString& f : QStringList{"go", "ready-" + tacheA, "ready-" + tacheB}) QFile::remove(dossier_ + "/" + f);
  };

  ensemble("1", 40, "2", 40);
  QStringList lu = histo::lire(dossier_).entrees;
  ASSERT_EQ(lu.size(), 80);
  for (int t : {1, 2}) {
    QStringList siens;
    for (const QString& e : lu)
      if (e.contains(QString("/id%1").arg(t))) siens << e;
    QStringList attendus;
    for (int i = 1; i <= 40; ++i) attendus << entree(1000 * t + i);
    EXPECT_EQ(siens, attendus);  // whole, and in their own order
  }

  // 80 entries, then one program appends 80 more while the other trims again
  // and again: a line appended while a trim rewrites the file must survive it.
  ensemble("trim", 400, "3", 80);
  ASSERT_TRUE(histo::tailler(dossier_));
  QStringList attendus = lu;
  for (int i = 1; i <= 80; ++i) attendus << entree(3000 + i);
  EXPECT_EQ(histo::lire(dossier_).entrees, attendus.mid(attendus.size() - 50));
}

// ---------------------------------------------------------------- the menu

TEST_F(Forum, MenuListsTheEntriesAndTellsOneFromNone) {
  testenv::ImageHost host;
  ASSERT_TRUE(host.started());
  const QString nouvelle = histo::texteEntree(vb::Now(), host.address() + "/zimage/Xy12_ab-3.z.php");
  for (const int n : {0, 1, 3}) {
    SCOPED_TRACE(n);
    QStringList lignes;
    for (int i = 1; i <= n; ++i) lignes << QString::fromUtf8(histo::ligneFichier(entree(i)).chopped(2));
    ecrireHisto(lignes);
    FrmForum& f = ouvrir({copie()}, &host);
    ASSERT_EQ(f.mnulhisto.Count(), std::max(n, 1));
    EXPECT_EQ(f.mnulhisto[0].Enabled(), n > 0);
    for (int i = 0; i < n; ++i) EXPECT_EQ(f.mnulhisto[i].Caption(), entree(i + 1));
    f.CmdUpload_Click();
    f.CmdUpload_Click();
    // Each upload is one more item, after the file's own.
    ASSERT_EQ(f.mnulhisto.Count(), n + 2);
    EXPECT_EQ(f.mnulhisto[n].Caption(), nouvelle);
    EXPECT_EQ(f.mnulhisto[n + 1].Caption(), nouvelle);
    EXPECT_TRUE(f.mnulhisto[n].Enabled() && f.mnulhisto[n + 1].Visible());
    EXPECT_EQ(lignesHisto().size(), n + 2);
    vb::resetFormsForTests();
  }
}

TEST_F(Forum, ChoosingAnEntryMakesItCurrentAndFollowsItsId) {
  testenv::ImageHost host;
  ASSERT_TRUE(host.started());
  ecrireHisto({QString::fromUtf8(histo::ligneFichier(entree(4)).chopped(2)), "\"garbage\""});
  FrmForum& f = ouvrir({copie("pic.png")}, &host);
  f.CmdUpload_Click();
  f.OptTypLien[2].setValue(true);
  ASSERT_TRUE(f.TxtLienForum.Text().contains("Xy12_ab-3.z"));
  f.CdeCopier_Click();

  f.mnulhisto[0].trigger();
  EXPECT_EQ(ouverts(1), QStringList{"http://h.test/zimage/id4.php"});
  EXPECT_EQ(f.IdImage, "id4");
  EXPECT_EQ(f.Labverif.Caption(), "http://h.test/zimage/id4.php");
  // The code on show is the chosen upload's, with the current picture's extension.
  EXPECT_EQ(etat(f), (Etat{true, true, true, "[url=http://h.test/zimage/id4.php][img]http://h.test/miniature/id4.png[/img][/url]"}));
  EXPECT_EQ(f.GrandeMinia.Picture(), QImage(testenv::binDir() + "/MinIndisp.jpg"));
  f.CdeCopier_Click();
  EXPECT_EQ(platform::clipboard::text(), f.TxtLienForum.Text());

  // An entry without a page address is refused and changes nothing.
  testenv::dialogs().expectMsgBox("holds no usable page address", vb::vbOK);
  f.mnulhisto[1].trigger();
  testenv::dialogs().verify();
  EXPECT_EQ(f.IdImage, "id4");
  EXPECT_EQ(ouverts(1).size(), 1);
}

TEST_F(Forum, UploadsComeBackThroughTheHistoryOfTheNextRun) {
  testenv::ImageHost premier("success", "Run1");
  testenv::ImageHost second("success", "Run2");
  ASSERT_TRUE(premier.started() && second.started());
  {
    FrmForum& f = ouvrir({copie()}, &premier);
    f.CmdUpload_Click();
    f.options.adresseHote = second.address();
    f.CmdUpload_Click();
    f.widget()->close();  // the close box
  }
  FrmForum& f = ouvrir({copie()});
  ASSERT_EQ(f.mnulhisto.Count(), 2);
  f.mnulhisto[0].trigger();
  EXPECT_EQ(f.IdImage, "Run1");
  EXPECT_EQ(f.hoteLien, premier.address());
  f.mnulhisto[1].trigger();
  EXPECT_EQ(f.IdImage, "Run2");
  f.OptTypLien[8].setValue(true);
  EXPECT_EQ(f.TxtLienForum.Text(), second.address() + "/zimage/Run2.php");
  EXPECT_EQ(ouverts(2).size(), 2);
}

}  // namespace
