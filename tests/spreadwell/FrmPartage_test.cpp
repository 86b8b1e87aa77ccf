// Spreadwell's upload and success steps in process, against the real test host.
#include "spreadwell/FrmPartage.h"
#include "platform/forms/Runtime.h"
#include "tests/support/ImageHost.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/TestEnv.h"

#include <QApplication>
#include <QLocale>
#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

namespace {

class Partage : public ::testing::Test {
 protected:
  void SetUp() override {
    donnees_ = testenv::dataHome() + "/Velistrom";
    QDir().mkpath(donnees_ + "/tempocapt");
    vb::setWallClock([] { return QDateTime(QDate(2026, 3, 7), QTime(9, 5, 4)); });
  }
  void TearDown() override { vb::setWallClock({}); }

  QStringList boxes() const { return recorder_.boxes(); }
  testenv::BoxRecorder recorder_;
  static QString picture(const QString& path) {
    QImage img(8, 6, QImage::Format_RGB32);
    img.fill(Qt::red);
    EXPECT_TRUE(img.save(path, "JPG"));
    return path;
  }
  spreadwell::FrmPartage frm(const testenv::ImageHost& host) {
    spreadwell::FrmPartage f;
    f.dossierDonnees = donnees_;
    f.options.adresseHote = host.address();
    f.ouvrirAdresse = [this](const QString& url) {
      ouverts_ << url;
      existait_ << QFile::exists(fichier_);
      return ouvrirOk_;
    };
    return f;
  }

  QString donnees_, fichier_;
  QStringList ouverts_;
  QList<bool> existait_;
  bool ouvrirOk_ = true;
};

TEST_F(Partage, SuccessOpensThePageThenDeletesOnlyOurOwnCopy) {
  testenv::ImageHost host;
  ASSERT_TRUE(host.started());
  struct Cas {
    QString fichier;
    bool supprime;
  };
  QDir().mkpath(testenv::home() + "/Pictures");
  const Cas cas[] = {
      {donnees_ + "/tempocapt/Capt07032026-090504.jpg", true},
      {testenv::home() + "/Pictures/mine.jpg", false},
      // A path that only looks inside the data folder.
      {donnees_ + "/../mine2.jpg", false},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.fichier.toStdString());
    fichier_ = picture(c.fichier);
    ouverts_.clear();
    existait_.clear();
    auto f = frm(host);
    EXPECT_EQ(f.Form_Load({fichier_}), 0);
    EXPECT_EQ(ouverts_, QStringList{host.address() + "/zimage/Xy12_ab-3.z.php"});
    EXPECT_EQ(existait_, QList<bool>{true});
    EXPECT_EQ(f.Labverif, ouverts_.value(0));
    EXPECT_EQ(QFile::exists(fichier_), !c.supprime);
  }
  EXPECT_TRUE(boxes().isEmpty());

  const QJsonArray reqs = host.requests();
  ASSERT_EQ(reqs.size(), 3);
  const QJsonArray p = reqs[0].toObject()["params"].toArray();
  ASSERT_EQ(p.size(), 5);
  EXPECT_EQ(p[1].toObject()["value"].toString(), "Velistrom");
  EXPECT_TRUE(p[2].toObject()["value"].toString().startsWith("picked with Velistrom "));
  EXPECT_EQ(p[3].toObject()["value"].toString(), "mon commentaire");
  EXPECT_EQ(p[4].toObject()["value"].toString(), " ");
}

// A trapped error (no answer, a browser that does not start after a good
// upload) ends quietly; only an error status of the host gives a box.
TEST_F(Partage, TrappedErrorsEndQuietlyAndOnlyErrorStatusesShowABox) {
  fichier_ = picture(donnees_ + "/tempocapt/Capt.jpg");
  {
    testenv::ImageHost host("fault-int");
    ASSERT_TRUE(host.started());
    auto f = frm(host);
    EXPECT_EQ(f.Form_Load({fichier_}), 1);
    EXPECT_TRUE(QFile::exists(fichier_));
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_TRUE(boxes()[0].startsWith("critical|"));
    EXPECT_TRUE(boxes()[0].contains("Server returned a fault. Code is '42', description is 'Bad picture'."));
  }
  {
    testenv::ImageHost host("close");
    ASSERT_TRUE(host.started());
    auto f = frm(host);
    EXPECT_EQ(f.Form_Load({fichier_}), 1);
    EXPECT_TRUE(QFile::exists(fichier_));
    EXPECT_EQ(boxes().size(), 1) << "no box for a host that did not answer";
  }
  {
    testenv::ImageHost host("success");
    ASSERT_TRUE(host.started());
    ouvrirOk_ = false;
    auto f = frm(host);
    EXPECT_EQ(f.Form_Load({fichier_}), 0);
    EXPECT_EQ(ouverts_.size(), 1);
    EXPECT_FALSE(QFile::exists(fichier_)) << "our hand-over copy goes whether or not a browser started";
    EXPECT_EQ(boxes().size(), 1);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(Partage, TitleCarriesTheMomentInTheSystemsFormats) {
  const QDateTime moment(QDate(2026, 12, 31), QTime(23, 59, 58));
  const QString titre = spreadwell::titreEnvoi(moment);
  EXPECT_TRUE(titre.startsWith("picked with Velistrom " + QLocale::system().toString(moment.date(), QLocale::ShortFormat) +
                               " - "))
      << titre.toStdString();
  EXPECT_TRUE(titre.contains("59:58")) << titre.toStdString();
  EXPECT_FALSE(titre.endsWith(' '));
}

}  // namespace
