#pragma once
// The posting window in process: the shipped English texts, a picture handed
// over in the data folder, the real loopback image host, and a recording
// xdg-open first on PATH.
#include "common/LigneCommande.h"
#include "postelle/ConstAppli.h"
#include "postelle/FrmForum.h"
#include "tests/common/LangFixture.h"
#include "tests/support/ImageHost.h"
#include "tests/support/RecordingOpener.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

namespace forumtest {

// What the three-state table of the window looks at.
struct Etat {
  bool options;   // every link option enabled
  bool labverif;  // the page address shown
  bool copier;
  QString lien;   // the link code
  bool operator==(const Etat&) const = default;
};

inline void PrintTo(const Etat& e, std::ostream* os) {
  *os << "{options " << e.options << ", page " << e.labverif << ", copy " << e.copier << ", \""
      << e.lien.toStdString() << "\"}";
}

class Forum : public ::testing::Test {
 protected:
  void SetUp() override {
    donnees_ = testenv::dataHome() + "/Velistrom";
    QDir().mkpath(donnees_ + "/tempocapt");
    QFile spoken(donnees_ + "/spoken.txt");
    ASSERT_TRUE(spoken.open(QIODevice::WriteOnly));
    spoken.write("ConstPRJA\r\n");
    spoken.close();
    ASSERT_TRUE(ConstAppli::chargerTextes(donnees_, testenv::binDir()));

    const QString bin = testenv::home() + "/bin";
    ASSERT_TRUE(testenv::installRecordingXdgOpen(bin));
    chemin_ = qgetenv("PATH");
    qputenv("PATH", (bin + ":").toLocal8Bit() + chemin_);
    qputenv("XDG_OPEN_LOG", (testenv::home() + "/opened.log").toLocal8Bit());
    hoteEnv_ = qgetenv("VELISTROM_IMAGE_HOST");
    qunsetenv("VELISTROM_IMAGE_HOST");
    vb::setWallClock([] { return QDateTime(QDate(2026, 3, 7), QTime(9, 5, 4)); });
  }
  void TearDown() override {
    qputenv("PATH", chemin_);
    if (!hoteEnv_.isEmpty()) qputenv("VELISTROM_IMAGE_HOST", hoteEnv_);
  }

  // A picture of one colour, saved as JPEG (PNG for a ".png" name).
  static QString picture(const QString& path, QSize size = {40, 30}, QColor colour = Qt::red) {
    QDir().mkpath(QFileInfo(path).path());
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    EXPECT_TRUE(img.save(path, path.endsWith(".png") ? "PNG" : "JPG"));
    return path;
  }
  QString copie(const QString& name = "Capt07032026-090504.jpg") {
    return picture(donnees_ + "/tempocapt/" + name);
  }

  // The window as the start hands it the command line, shown.
  FrmForum& ouvrir(const QStringList& args, const testenv::ImageHost* host = nullptr) {
    ConstAppli::gCheminsDepart = lireLigneCommande(args);
    FrmForum& f = frmForum();
    f.dossierProgramme = testenv::binDir();
    if (host) f.options.adresseHote = host->address();
    f.Show();
    // The offscreen platform activates no window; a real server does.
    if (QGuiApplication::platformName() == u"offscreen") f.Form_Activate();
    return f;
  }

  static Etat etat(FrmForum& f) {
    bool tous = true;
    for (int i = 0; i <= 8; ++i) tous = tous && f.OptTypLien[i].Enabled();
    bool aucun = true;
    for (int i = 0; i <= 8; ++i) aucun = aucun && !f.OptTypLien[i].Enabled();
    EXPECT_TRUE(tous || aucun) << "the link options are not all in one state";
    return {tous, f.Labverif.Visible(), f.CdeCopier.Enabled(), f.TxtLienForum.Text()};
  }
  static Etat depart() { return {false, false, false, QString()}; }

  QStringList lignesHisto() const {
    QFile f(donnees_ + "/historforum.txt");
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split("\r\n", Qt::SkipEmptyParts);
  }
  void ecrireHisto(const QStringList& lignes) const {
    QFile f(donnees_ + "/historforum.txt");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    for (const QString& l : lignes) f.write(l.toUtf8() + "\r\n");
  }
  QStringList ouverts(int attendus) const {
    return testenv::recordedOpens(testenv::home() + "/opened.log", attendus);
  }

  QString donnees_;
  QByteArray chemin_, hoteEnv_;
};

}  // namespace forumtest
