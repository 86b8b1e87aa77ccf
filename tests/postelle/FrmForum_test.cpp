// The posting window in process against the real loopback image host: its
// start, the three states around an upload, another picture, the comment,
// the link code, quitting, and uploads that fail.
#include "postelle/HistoForum.h"
#include "postelle/LienForum.h"
#include "platform/Clipboard.h"
#include "platform/forms/Busy.h"
#include "tests/postelle/ForumFixture.h"
#include "tests/support/BoxRecorder.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

namespace {

using forumtest::Etat;
using forumtest::Forum;

const QString kId = QStringLiteral("Xy12_ab-3.z");  // what the test host returns by default

QString page(const testenv::ImageHost& host, const QString& id = kId) {
  return host.address() + "/zimage/" + id + ".php";
}

QString param(const QJsonObject& requete, int i) {
  return requete["params"].toArray()[i].toObject()["value"].toString();
}

TEST_F(Forum, StartShowsThePictureAndOffersNothingToCopyYet) {
  const QString p = picture(donnees_ + "/tempocapt/wide.jpg", {300, 100}, Qt::red);
  FrmForum& f = ouvrir({p});
  EXPECT_EQ(etat(f), depart());
  EXPECT_TRUE(f.CmdUpload.Enabled());
  EXPECT_EQ(f.LabChemImg.Caption(), p);
  EXPECT_EQ(f.Caption(), gLngForum30);
  EXPECT_EQ(f.FrameChoix.ToolTipText(), gLngForum14 + gLngForum15);
  EXPECT_FALSE(f.OptTypLien[0].Visible());

  // Two columns of four, 400 twips apart.
  const int gauche = f.OptTypLien[0].Left(), haut = f.OptTypLien[0].Top();
  for (int i = 1; i <= 8; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(f.OptTypLien[i].Visible());
    EXPECT_EQ(f.OptTypLien[i].Left(), i <= 4 ? gauche : f.FrameChoix.Width() / 2 + gauche);
    EXPECT_EQ(f.OptTypLien[i].Top(), haut + (i - 1) % 4 * 400);
  }
  EXPECT_EQ(f.OptTypLien[1].Caption(), gLngForum05);
  EXPECT_EQ(f.OptTypLien[8].Caption(), gLngForum12);

  // Both previews scaled to their limit, the longer side first.
  EXPECT_EQ(f.GrandeMinia.Width(), 3750);
  EXPECT_EQ(f.GrandeMinia.Height(), 1250);
  EXPECT_EQ(f.PetiteMinia.Width(), 1050);
  EXPECT_EQ(f.PetiteMinia.Height(), 350);
  EXPECT_GT(f.GrandeMinia.Image().pixelColor(125, 40).red(), 240);

  // No history yet: the placeholder, which is no upload to choose.
  ASSERT_EQ(f.mnulhisto.Count(), 1);
  EXPECT_EQ(f.mnulhisto[0].Caption(), gLngForum29);
  EXPECT_FALSE(f.mnulhisto[0].Enabled());
  EXPECT_TRUE(QFile::exists(donnees_ + "/historforum.txt"));
}

TEST_F(Forum, SmallPicturesKeepTheirSizeInTheirBox) {
  FrmForum& f = ouvrir({picture(donnees_ + "/tempocapt/small.png", {60, 60}, Qt::blue)});
  EXPECT_EQ(f.GrandeMinia.Width(), 900);
  EXPECT_EQ(f.GrandeMinia.Height(), 900);
  EXPECT_EQ(f.PetiteMinia.Width(), 1050);  // stays a 70-pixel square
  EXPECT_EQ(f.PetiteMinia.Height(), 1050);
  EXPECT_GT(f.PetiteMinia.Image().pixelColor(10, 10).blue(), 240);
  EXPECT_LT(f.PetiteMinia.Image().pixelColor(10, 10).red(), 15);
  EXPECT_EQ(f.PetiteMinia.Image().pixelColor(65, 65), QColor(Qt::white));
}

TEST_F(Forum, PictureThatCannotBeReadSaysWhyAndCannotBeSent) {
  QFile texte(donnees_ + "/tempocapt/notes.jpg");
  ASSERT_TRUE(texte.open(QIODevice::WriteOnly));
  texte.write("not a picture");
  texte.close();
  const QImage indispo(testenv::binDir() + "/MinIndisp.jpg");
  ASSERT_FALSE(indispo.isNull());
  struct Cas {
    QStringList args;
    bool box;
  };
  const Cas cas[] = {{{donnees_ + "/missing.jpg"}, true}, {{texte.fileName()}, true}, {{}, false}};
  for (const auto& c : cas) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    if (c.box) testenv::dialogs().expectMsgBox("cannot be read as a picture", vb::vbOK);
    FrmForum& f = ouvrir(c.args);
    testenv::dialogs().verify();
    EXPECT_FALSE(f.CmdUpload.Enabled());
    EXPECT_EQ(etat(f), depart());
    EXPECT_EQ(f.GrandeMinia.Picture(), indispo);
    EXPECT_EQ(f.PetiteMinia.Picture(), indispo);
    vb::resetFormsForTests();
  }
  EXPECT_TRUE(QFile::exists(texte.fileName()));
}

// The window's three states: after start, after an upload (or a history
// choice), after another picture; a failed upload changes none of them.
TEST_F(Forum, ThreeStatesAroundUploadsAndAnotherPicture) {
  testenv::ImageHost premier("success", "First_1");
  testenv::ImageHost second("success", "Second_2");
  testenv::ImageHost faute("fault-int");
  ASSERT_TRUE(premier.started() && second.started() && faute.started());
  const QString recu = copie();
  FrmForum& f = ouvrir({recu}, &premier);
  EXPECT_EQ(etat(f), depart());

  f.CmdUpload_Click();
  EXPECT_EQ(f.Labverif.Caption(), page(premier, "First_1"));
  EXPECT_EQ(etat(f), (Etat{true, true, true, ""}));  // the code waits for a kind
  f.OptTypLien[8].setValue(true);
  EXPECT_EQ(f.TxtLienForum.Text(), page(premier, "First_1"));

  f.options.adresseHote = faute.address();
  testenv::dialogs().expectMsgBox("Server returned a fault. Code is '42'", vb::vbOK);
  f.CmdUpload_Click();
  testenv::dialogs().verify();
  EXPECT_EQ(etat(f), (Etat{true, true, true, page(premier, "First_1")}));
  EXPECT_EQ(f.IdImage, "First_1");

  const QString autre = picture(testenv::home() + "/Pictures/other.png", {20, 20}, Qt::green);
  testenv::dialogs().expectFileDialog(1, "", autre);
  f.CdeParcourir_Click();
  EXPECT_EQ(etat(f), depart());
  EXPECT_EQ(f.CheminImage, autre);
  EXPECT_EQ(f.LabChemImg.Caption(), autre);
  EXPECT_EQ(f.CommentImage, gLngForum00);
  EXPECT_TRUE(f.CmdUpload.Enabled());

  // A new id: the kind still chosen shows that picture's code at once.
  f.options.adresseHote = second.address();
  f.CmdUpload_Click();
  EXPECT_EQ(etat(f), (Etat{true, true, true, page(second, "Second_2")}));

  const QJsonArray a = premier.requests(), b = second.requests();
  ASSERT_EQ(a.size(), 1);
  ASSERT_EQ(b.size(), 1);
  EXPECT_EQ(param(a[0].toObject(), 1), "Capt07032026-090504.jpg");
  EXPECT_EQ(param(a[0].toObject(), 2), "Capt07032026-090504.jpg");
  EXPECT_EQ(param(a[0].toObject(), 3), gLngForum03);
  EXPECT_EQ(param(a[0].toObject(), 4), " ");
  EXPECT_EQ(param(b[0].toObject(), 1), "other.png");
  EXPECT_EQ(param(b[0].toObject(), 3), gLngForum00);

  // One history line per upload that succeeded, shown in the menu too.
  const QStringList lignes = lignesHisto();
  ASSERT_EQ(lignes.size(), 2);
  EXPECT_EQ(lignes[0], '"' + histo::texteEntree(vb::Now(), page(premier, "First_1")) + '"');
  EXPECT_EQ(lignes[1].size(), 122);
  EXPECT_TRUE(lignes[1].startsWith("\"2026/03/07 - " + page(second, "Second_2") + "  "));
  ASSERT_EQ(f.mnulhisto.Count(), 2);
  EXPECT_EQ(f.mnulhisto[1].Caption(), histo::texteEntree(vb::Now(), page(second, "Second_2")));
  EXPECT_TRUE(QFile::exists(recu));
}

TEST_F(Forum, CancelledFileDialogChangesNothing) {
  testenv::ImageHost host;
  ASSERT_TRUE(host.started());
  const QString recu = copie();
  FrmForum& f = ouvrir({recu}, &host);
  f.CmdUpload_Click();
  f.OptTypLien[2].setValue(true);
  const Etat avant = etat(f);
  ASSERT_FALSE(avant.lien.isEmpty());
  const QImage apercu = f.GrandeMinia.Image();

  testenv::dialogs().expectFileDialog(1, "", std::nullopt);
  f.CdeParcourir_Click();
  testenv::dialogs().verify();
  EXPECT_EQ(etat(f), avant);
  EXPECT_EQ(f.CheminImage, recu);
  EXPECT_EQ(f.CommentImage, gLngForum03);
  EXPECT_EQ(f.GrandeMinia.Image(), apercu);
}

TEST_F(Forum, ChosenPictureThatCannotBeReadKeepsItsPath) {
  testenv::ImageHost host;
  ASSERT_TRUE(host.started());
  FrmForum& f = ouvrir({copie()}, &host);
  const QString abime = donnees_ + "/broken.jpg";
  QFile b(abime);
  ASSERT_TRUE(b.open(QIODevice::WriteOnly));
  b.write("xyz");
  b.close();
  testenv::dialogs().expectFileDialog(1, "", abime);
  testenv::dialogs().expectMsgBox("cannot be read as a picture", vb::vbOK);
  f.CdeParcourir_Click();
  testenv::dialogs().verify();
  EXPECT_EQ(f.GrandeMinia.Picture(), QImage(testenv::binDir() + "/MinIndisp.jpg"));
  EXPECT_TRUE(f.CmdUpload.Enabled());
  f.CmdUpload_Click();  // a later upload sends that file
  ASSERT_EQ(host.requests().size(), 1);
  EXPECT_EQ(host.requests()[0].toObject()["file_length"].toInt(), 3);
}

TEST_F(Forum, FailedUploadsChangeNothingAndSayWhy) {
  const QString recu = copie();
  struct Cas {
    const char* scenario;  // nullptr: no image host configured
    QString box;
  };
  const Cas cas[] = {
      {"fault-string", "Server returned a fault. Code is 'E_FULL', description is 'Quota exceeded'."},
      {"http-404", "HTTP error encountered. Code is '404', description is 'Not Found'."},
      {"two", "Expecting one return parameter, received '2'."},
      {"close", gLngForum04 + "\n(the image host did not answer"},
      {"int-value", gLngForum04 + "\n(the image host returned a value that is not a string"},
      {nullptr, gLngForum04 + "\n(no image host is configured"},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.scenario ? c.scenario : "no host");
    std::optional<testenv::ImageHost> host;
    if (c.scenario) {
      host.emplace(c.scenario);
      ASSERT_TRUE(host->started());
    }
    FrmForum& f = ouvrir({recu}, host ? &*host : nullptr);
    testenv::dialogs().expectMsgBox(c.box, vb::vbOK);
    f.CmdUpload_Click();
    testenv::dialogs().verify();
    EXPECT_EQ(etat(f), depart());
    EXPECT_TRUE(f.IdImage.isEmpty());
    EXPECT_EQ(f.mnulhisto.Count(), 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    vb::resetFormsForTests();
  }
  EXPECT_TRUE(lignesHisto().isEmpty());
  EXPECT_TRUE(QFile::exists(recu));
}

// The history file cannot take the line: the upload still succeeded, and the
// window says so instead of reporting a failed upload.
TEST_F(Forum, UnwritableHistoryIsReportedAsSuchAfterASuccess) {
  testenv::ImageHost host;
  ASSERT_TRUE(host.started());
  FrmForum& f = ouvrir({copie()}, &host);
  ASSERT_TRUE(QFile::remove(donnees_ + "/historforum.txt"));
  ASSERT_TRUE(QDir().mkpath(donnees_ + "/historforum.txt"));
  testenv::dialogs().expectMsgBox("The picture was sent, but the upload history could not be written", vb::vbOK);
  f.CmdUpload_Click();
  testenv::dialogs().verify();
  EXPECT_EQ(f.Labverif.Caption(), page(host));
  f.OptTypLien[8].setValue(true);
  EXPECT_EQ(etat(f), (Etat{true, true, true, page(host)}));
  EXPECT_EQ(f.mnulhisto[0].Caption(), gLngForum29);
}

TEST_F(Forum, QuitDeletesOnlyOurOwnCopyAndTheCloseBoxNothing) {
  QDir().mkpath(testenv::home() + "/Pictures");
  struct Cas {
    const char* nom;
    QString fichier;
    bool quitter;  // the Quit button, else the close box
    bool supprime;
  };
  const Cas cas[] = {
      {"our copy, Quit", donnees_ + "/tempocapt/a.jpg", true, true},
      {"a user's file, Quit", testenv::home() + "/Pictures/mine.jpg", true, false},
      {"only looks inside", donnees_ + "/../b.jpg", true, false},
      {"our copy, close box", donnees_ + "/tempocapt/c.jpg", false, false},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nom);
    picture(c.fichier);
    FrmForum& f = ouvrir({c.fichier});
    if (c.quitter)
      f.CdeQuitter.click_();
    else
      f.widget()->close();
    EXPECT_EQ(frmForum.existing(), nullptr);
    EXPECT_EQ(QFile::exists(c.fichier), !c.supprime);
    vb::resetFormsForTests();
  }

  // After another picture, Quit still deletes the file it was handed, never the chosen one.
  const QString recu = copie("d.jpg"), choisi = copie("e.jpg");
  FrmForum& f = ouvrir({recu});
  testenv::dialogs().expectFileDialog(1, "", choisi);
  f.CdeParcourir_Click();
  f.CdeQuitter_Click();
  EXPECT_FALSE(QFile::exists(recu));
  EXPECT_TRUE(QFile::exists(choisi));
}

TEST_F(Forum, CommentFlow) {
  testenv::ImageHost host;
  ASSERT_TRUE(host.started());
  FrmForum& f = ouvrir({copie()}, &host);
  {
    // Accepting the default twice adds the suffix twice.
    testenv::BoxRecorder accepte;
    f.CdeTitre_Click();
    EXPECT_EQ(f.CommentImage, gLngForum03 + " - Velistrom");
    f.CdeTitre_Click();
    EXPECT_EQ(f.CommentImage, gLngForum03 + " - Velistrom - Velistrom");
    EXPECT_EQ(accepte.boxes(), (QStringList(2, "input|" + gLngForum02 + "|" + gLngForum01)));
  }
  testenv::dialogs().expectInputBox(gLngForum01, QString("Sunset \"over\" <the> bay"));
  f.CdeTitre_Click();
  EXPECT_EQ(f.CommentImage, "Sunset \"over\" <the> bay - Velistrom");
  f.CmdUpload_Click();
  EXPECT_EQ(param(host.requests()[0].toObject(), 3), "Sunset \"over\" <the> bay - Velistrom");
  f.OptTypLien[7].setValue(true);
  EXPECT_EQ(f.TxtLienForum.Text(),
            "<a href=\"" + page(host) + "\" target=\"_blank\" title=\"Sunset &quot;over&quot; &lt;the&gt; bay - Velistrom\">Capt07032026-090504.jpg</a>");

  // An empty answer or a cancel gives the start's comment back, not the one
  // another picture had.
  testenv::dialogs().expectFileDialog(1, "", copie("other.jpg"));
  f.CdeParcourir_Click();
  EXPECT_EQ(f.CommentImage, gLngForum00);
  for (const std::optional<QString>& reponse : {std::optional<QString>(QString()), std::optional<QString>()}) {
    testenv::dialogs().expectInputBox(gLngForum01, reponse);
    f.CommentImage = "x";
    f.CdeTitre_Click();
    EXPECT_EQ(f.CommentImage, gLngForum03);
  }
}

TEST_F(Forum, LinkCodeIsSelectedCopiedAndThePageOpens) {
  testenv::ImageHost host;
  ASSERT_TRUE(host.started());
  FrmForum& f = ouvrir({copie("shot.jpeg")}, &host);
  f.CmdUpload_Click();
  f.OptTypLien[5].setValue(true);
  const lien::ValeursLien v{host.address(), kId, "jpeg", gLngForum03, "shot.jpeg"};
  EXPECT_EQ(f.TxtLienForum.Text(), lien::CodeLien(5, v));
  EXPECT_TRUE(f.TxtLienForum.Text().contains("/avatar/" + kId + "jpeg\""));
  EXPECT_EQ(f.TxtLienForum.SelStart(), 0);
  EXPECT_EQ(f.TxtLienForum.SelLength(), f.TxtLienForum.Text().size());

  EXPECT_FALSE(f.Labcoller.Visible());
  f.CdeCopier.click_();
  EXPECT_EQ(platform::clipboard::text(), f.TxtLienForum.Text());
  EXPECT_TRUE(f.Labcoller.Visible());

  f.Labverif_Click();
  EXPECT_EQ(ouverts(1), QStringList{page(host)});
}

// While the host takes its time the window repaints and its timers run, but a
// click on Quit or the close box does nothing: the file being sent stays.
TEST_F(Forum, UploadUnderWayTakesNoInputButRepaints) {
  testenv::ImageHost host("hang");
  ASSERT_TRUE(host.started());
  const QString recu = copie();
  FrmForum& f = ouvrir({recu}, &host);
  f.options.limites.total = std::chrono::milliseconds(1500);
  QApplication::processEvents();

  int peint = 0;
  struct Compteur : QObject {
    int* n;
    explicit Compteur(int* c) : n(c) {}
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) ++*n;
      return false;
    }
  } compteur(&peint);
  f.CmdUpload.widget()->installEventFilter(&compteur);
  bool occupe = false;
  int peintAvant = -1;
  QTimer::singleShot(300, [&] {
    occupe = vb::busy();
    peintAvant = peint;
    f.CmdUpload.widget()->update();
    QTest::mouseClick(f.CdeQuitter.widget(), Qt::LeftButton);
    QTest::keyClick(f.widget(), Qt::Key_Escape);
    f.widget()->close();
  });
  testenv::dialogs().expectMsgBox(gLngForum04, vb::vbOK);
  f.CmdUpload_Click();
  testenv::dialogs().verify();
  EXPECT_TRUE(occupe);
  EXPECT_GT(peint, peintAvant);
  EXPECT_TRUE(QFile::exists(recu));
  EXPECT_EQ(frmForum.existing(), &f);
  EXPECT_TRUE(f.widget()->isVisible());
}

}  // namespace
