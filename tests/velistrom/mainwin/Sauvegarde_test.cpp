// Saving captures: generated names, save all (marks, counter, failures that
// lose nothing) and save as through the scripted save dialog.
#include "tests/velistrom/mainwin/SauvFixture.h"

#include "platform/Clipboard.h"

#include <QImageReader>

using sauvtest::Contenu;
using sauvtest::Fichiers;
using sauvtest::Motif;

namespace {

QByteArray FormatLu(const QString& chemin) { return QImageReader(chemin).format(); }

}  // namespace

// ---------------------------------------------------------------- names

TEST(NomSauv, PrefixStampAndCounter) {
  struct Case {
    const char* dossier;
    const char* prefixe;
    bool horod;
    int num;
    const char* attendu;
  } cases[] = {
      {"/s", "Capt", false, 1, "/s/Capt_20260304_1030450_001.bmp"},
      {"/s/", "Capt", false, 999, "/s/Capt_20260304_1030450_999.bmp"},
      {"/s", "Capt", false, 1000, "/s/Capt_20260304_1030450_1000.bmp"},
      {"/s", "Capt", true, 12, "/s/Capt_260304_103050_012.bmp"},
      // A prefix never leads out of the save folder.
      {"/s", "../x", false, 1, "/s/..x_20260304_1030450_001.bmp"},
      {"/s", "a/\\b", false, 1, "/s/ab_20260304_1030450_001.bmp"},
  };
  for (const Case& c : cases) {
    const QString stamp = sauv::Estampille(c.horod, "20260304", "1030450", "260304_103050");
    EXPECT_EQ(sauv::NomSauv(c.dossier, c.prefixe, stamp, c.num), c.attendu) << c.prefixe << " " << c.num;
  }
}

TEST(NomSauv, FormatWordsAreComparedExactly) {
  struct Case {
    const char* mot;
    int format;
    const char* nom;
  } cases[] = {
      {"jpg", 2, "/s/a_001.jpg"}, {"gif", 3, "/s/a_001.gif"}, {"png", 4, "/s/a_001.png"},
      {"bmp", 0, "/s/a_001.bmp"}, {"JPG", 0, "/s/a_001.bmp"}, {"", 0, "/s/a_001.bmp"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(sauv::FormatDeMot(c.mot), c.format) << c.mot;
    EXPECT_EQ(c.format ? sauv::AvecFormat("/s/a_001.bmp", c.mot) : QString("/s/a_001.bmp"), c.nom) << c.mot;
  }
}

TEST(NomSauv, SaveAsPresetAndBaseName) {
  EXPECT_EQ(sauv::NomPropose("", "Capture", 3), "Capture03");
  EXPECT_EQ(sauv::NomPropose("/d/Shot07  ", "Capture", 3), "/d/Shot03");
  EXPECT_EQ(sauv::NomPropose("/d/Shot07", "Capture", 123), "/d/Shot123");
  EXPECT_EQ(sauv::NomPropose("/d/Shot7", "Capture", 3), "/d/Shot7");
  EXPECT_EQ(sauv::NomPropose("/d/shot.jpg", "Capture", 3), "/d/shot.jpg");
  EXPECT_EQ(sauv::BaseDuNom("/d/shot.png  "), "/d/shot");
  EXPECT_EQ(sauv::BaseDuNom("/d/shot.PNG"), "/d/shot.PNG");
  EXPECT_EQ(sauv::BaseDuNom("/d/shot"), "/d/shot");
}

// ---------------------------------------------------------------- save all

class EnregistrerTout : public sauvtest::SauvFixture {};

TEST_F(EnregistrerTout, SavesTheUnsavedOnesOnceAndMarksThem) {
  Ajouter(Motif(40, 30, Qt::red));
  Ajouter(Motif(50, 20, Qt::green));
  Ajouter(Motif(30, 30, Qt::blue));
  RangeesMarques(3);
  const QString deja = gRepSauve + "/earlier.jpg";
  gTabSauv[2] = deja;  // saved earlier under a name of its own
  m->CheminCapt = Bitmap(3);

  int savOk = -1;
  m->EnregistrerTout(savOk, 1, "jpg");
  EXPECT_EQ(savOk, -1);
  EXPECT_EQ(m->NbSauves, 2);
  EXPECT_EQ(gNumSauv, 2);
  const QString n1 = gRepSauve + "/Capt_20260304_1030450_001.jpg";
  const QString n3 = gRepSauve + "/Capt_20260304_1030450_002.jpg";
  EXPECT_EQ(gTabSauv[1], n1);
  EXPECT_EQ(gTabSauv[2], deja);
  EXPECT_EQ(gTabSauv[3], n3);
  EXPECT_EQ(m->NomFinal, n3);
  EXPECT_EQ(FormatLu(n1), "jpeg");
  EXPECT_EQ(QImage(n3).size(), QSize(30, 30));
  // Only the converted files: no BMP copies left beside them.
  EXPECT_EQ(Fichiers(gRepSauve), QStringList({"Capt_20260304_1030450_001.jpg", "Capt_20260304_1030450_002.jpg"}));
  EXPECT_TRUE(Marquee(1) && Marquee(3));
  EXPECT_TRUE(m->PictSave.Visible());
  // The capture's own bitmaps stay, and the editor's path still names one.
  for (int i = 1; i <= 3; ++i) EXPECT_TRUE(QFile::exists(Bitmap(i)));
  EXPECT_EQ(m->CheminCapt, Bitmap(3));

  // Again: nothing to do, no counter spent.
  m->EnregistrerTout(savOk, 1, "jpg");
  EXPECT_EQ(m->NbSauves, 0);
  EXPECT_EQ(gNumSauv, 2);
  EXPECT_EQ(Fichiers(gRepSauve).size(), 2);
}

TEST_F(EnregistrerTout, FormatsTimeStampNamesAndTheKeptBitmap) {
  gNomHorod = 1;
  Ajouter(Motif(20, 20, Qt::red), "z", "260304_103050");
  Ajouter(Motif(20, 20, Qt::green), "z", "260304_103050");  // same second
  int savOk = 3;  // keep the BMP beside the converted file
  m->EnregistrerTout(savOk, 1, "png");
  EXPECT_EQ(Fichiers(gRepSauve), QStringList({"Capt_260304_103050_001.bmp", "Capt_260304_103050_001.png",
                                              "Capt_260304_103050_002.bmp", "Capt_260304_103050_002.png"}));
  EXPECT_EQ(Contenu(gRepSauve + "/Capt_260304_103050_001.bmp"), Contenu(Bitmap(1)));
  EXPECT_EQ(FormatLu(gRepSauve + "/Capt_260304_103050_002.png"), "png");
  EXPECT_FALSE(m->PictSave.Visible());  // SavOk 3 leaves the main window's mark alone

  // A format word in capitals names no conversion: a plain BMP copy.
  Ajouter(Motif(20, 20, Qt::blue), "z", "260304_103051");
  int ok = -1;
  m->EnregistrerTout(ok, gNbCapt, "GIF");
  EXPECT_EQ(gTabSauv[3], gRepSauve + "/Capt_260304_103051_003.bmp");
  EXPECT_EQ(Contenu(gTabSauv[3]), Contenu(Bitmap(3)));
}

TEST_F(EnregistrerTout, NeverOverwritesAFileOfAnEarlierRun) {
  Ajouter(Motif(20, 20, Qt::red));
  const QString ancien = gRepSauve + "/Capt_20260304_1030450_001.jpg";
  {
    QFile f(ancien);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("earlier");
  }
  int savOk = -1;
  m->EnregistrerTout(savOk, 1, "jpg");
  EXPECT_EQ(Contenu(ancien), "earlier");
  EXPECT_EQ(gTabSauv[1], gRepSauve + "/Capt_20260304_1030450_002.jpg");
  EXPECT_TRUE(QFile::exists(gTabSauv[1]));
}

// The options dialog that lets the user choose another folder is not built
// yet: only the message and the hook are checked.
TEST_F(EnregistrerTout, AMissingSaveFolderLosesNothing) {
  Ajouter(Motif(20, 20, Qt::red));
  Ajouter(Motif(20, 20, Qt::green));
  RangeesMarques(2);
  ASSERT_TRUE(QDir(gRepSauve).removeRecursively());
  int options = 0;
  mainwin::setMontrerOptions([&] { ++options; });
  for (const char* format : {"jpg", "bmp"}) {
    testenv::dialogs().expectMsgBox(gLng117, vb::vbOK);
    int savOk = -1;
    m->EnregistrerTout(savOk, 1, format);
    EXPECT_EQ(savOk, 0) << format;
    EXPECT_EQ(testenv::dialogs().shown().back().icon, "exclamation");
  }
  mainwin::setMontrerOptions({});
  EXPECT_EQ(options, 2);
  for (int i = 1; i <= 2; ++i) {
    EXPECT_TRUE(gTabSauv[i].isEmpty());
    EXPECT_FALSE(Marquee(i));
    EXPECT_TRUE(QFile::exists(Bitmap(i)));
  }
  EXPECT_FALSE(m->PictSave.Visible());
}

// A bitmap that cannot be read: the captures before it stay saved, it and
// the ones after stay unsaved, and the caller hears of it.
TEST_F(EnregistrerTout, AFailingConversionLosesNothing) {
  Ajouter(Motif(20, 20, Qt::red));
  Ajouter(Motif(20, 20, Qt::green));
  Ajouter(Motif(20, 20, Qt::blue));
  RangeesMarques(3);
  {
    QFile f(Bitmap(2));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("not a picture");
  }
  testenv::dialogs().expectMsgBox(gLng190, vb::vbOK);
  int savOk = -1;  // True: a periodic series would empty the list after a save that went well
  m->EnregistrerTout(savOk, 1, "jpg");
  EXPECT_EQ(savOk, 0);
  EXPECT_FALSE(gTabSauv[1].isEmpty());
  EXPECT_TRUE(Marquee(1));
  EXPECT_TRUE(gTabSauv[2].isEmpty() && gTabSauv[3].isEmpty());
  EXPECT_FALSE(Marquee(2) || Marquee(3));
  EXPECT_EQ(Fichiers(gRepSauve), QStringList({"Capt_20260304_1030450_001.jpg"}));
  EXPECT_EQ(Contenu(Bitmap(2)), "not a picture");
}

TEST_F(EnregistrerTout, DebLotSavesFromThatPositionOn) {
  Ajouter(Motif(20, 20, Qt::red));
  Ajouter(Motif(20, 20, Qt::green));
  int savOk = -1;
  m->EnregistrerTout(savOk, gNbCapt, "bmp");
  EXPECT_TRUE(gTabSauv[1].isEmpty());
  EXPECT_EQ(gTabSauv[2], gRepSauve + "/Capt_20260304_1030450_001.bmp");
}

// ---------------------------------------------------------------- save as

class Enregistrer2 : public sauvtest::SauvFixture {};

TEST_F(Enregistrer2, NeedsACurrentCapture) {
  Ajouter(Motif(20, 20, Qt::red));
  gNumCapt = 0;
  m->Enregistrer2();  // no dialog expected: the strict script fails on any
  EXPECT_TRUE(Fichiers(gRepSauve).isEmpty());
}

TEST_F(Enregistrer2, CancelSavesNothingAfterTheFirstUsePreset) {
  Ajouter(Motif(20, 20, Qt::red));
  Ajouter(Motif(20, 20, Qt::green));
  testenv::dialogs().expectFileDialog(2, gLng163, std::nullopt);
  m->Enregistrer2();
  EXPECT_EQ(m->CDlg1.FileName(), "Capture02");
  EXPECT_EQ(m->CDlg1.FilterIndex(), 2);
  EXPECT_EQ(m->CDlg1.InitDir(), gRepSauve);
  EXPECT_EQ(m->CDlg1.Filter(), gLng175);
  EXPECT_FALSE(m->CDlg1.CancelError());  // the shared dialog's setting is given back
  EXPECT_FALSE(m->PremDialogue);
  EXPECT_TRUE(Fichiers(gRepSauve).isEmpty());
  EXPECT_EQ(Fichiers(gRepCapt).size(), 2);
  EXPECT_TRUE(gTabSauv[2].isEmpty());
  EXPECT_FALSE(m->PictSave.Visible());
}

// The filter chosen decides the format and the extension, whatever the name
// typed ends with; the work copy never shows in the user's folder.
TEST_F(Enregistrer2, TheFilterIndexDecidesTheFormat) {
  struct Case {
    int index;
    const char* tape;
    const char* fichier;
    const char* format;
  } cases[] = {
      {1, "shot1", "shot1.bmp", "bmp"},
      {2, "shot2.png", "shot2.jpg", "jpeg"},
      {3, "shot3.bmp", "shot3.gif", "gif"},
      {4, "shot4", "shot4.png", "png"},
  };
  const int n = Ajouter(Motif(24, 16, Qt::red));
  RangeesMarques(n);
  m->CheminCapt = Bitmap(n);
  const QString dossier = testenv::home() + "/mine";
  ASSERT_TRUE(QDir().mkpath(dossier));
  for (const Case& c : cases) {
    testenv::dialogs().expectFileDialog(2, gLng163, dossier + "/" + c.tape, c.index);
    m->Enregistrer2();
    const QString cible = dossier + "/" + c.fichier;
    EXPECT_EQ(FormatLu(cible), c.format) << c.fichier;
    EXPECT_EQ(QImage(cible).size(), QSize(24, 16)) << c.fichier;
    EXPECT_EQ(gTabSauv[n], cible);
    EXPECT_EQ(m->NomFinal, cible);
    EXPECT_TRUE(m->Caption().endsWith(" " + cible));
  }
  EXPECT_EQ(Contenu(dossier + "/shot1.bmp"), Contenu(Bitmap(n)));
  EXPECT_EQ(Fichiers(dossier), QStringList({"shot1.bmp", "shot2.jpg", "shot3.gif", "shot4.png"}));
  EXPECT_EQ(Fichiers(gRepCapt), QStringList({gTabNomCapt[n]}));
  EXPECT_EQ(m->CheminCapt, Bitmap(n)) << "the editor and the reload still find the capture";
  EXPECT_TRUE(Marquee(n));
  EXPECT_TRUE(m->PictSave.Visible());
  EXPECT_EQ(m->CDlg1.InitDir(), dossier);  // the last call opened where the one before saved
}

TEST_F(Enregistrer2, OverwriteNoKeepsTheFileAndYesReplacesIt) {
  const int n = Ajouter(Motif(20, 20, Qt::red));
  const QString cible = gRepSauve + "/mine.png";
  {
    QFile f(cible);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep me");
  }
  testenv::dialogs().expectFileDialog(2, gLng163, cible, 4);
  testenv::dialogs().expectMsgBox(gLng119 + cible + gLng120, vb::vbNo);
  m->Enregistrer2();
  EXPECT_EQ(testenv::dialogs().shown().back().icon, "question");
  EXPECT_EQ(Contenu(cible), "keep me");
  EXPECT_TRUE(gTabSauv[n].isEmpty());
  EXPECT_EQ(Fichiers(gRepSauve), QStringList({"mine.png"}));
  EXPECT_EQ(Fichiers(gRepCapt), QStringList({gTabNomCapt[n]}));

  testenv::dialogs().expectFileDialog(2, gLng163, cible, 4);
  testenv::dialogs().expectMsgBox(gLng119 + cible + gLng120, vb::vbYes);
  m->Enregistrer2();
  EXPECT_EQ(FormatLu(cible), "png");
  EXPECT_EQ(gTabSauv[n], cible);
}

// After the first use the dialog proposes the last name chosen, its closing
// digits replaced by the current capture's number.
TEST_F(Enregistrer2, LaterPresetsFollowTheLastName) {
  Ajouter(Motif(20, 20, Qt::red));
  Ajouter(Motif(20, 20, Qt::green));
  const QString dossier = testenv::home() + "/mine";
  ASSERT_TRUE(QDir().mkpath(dossier));
  testenv::dialogs().expectFileDialog(2, gLng163, dossier + "/Beach07", 2);
  m->Enregistrer2();
  ASSERT_TRUE(QFile::exists(dossier + "/Beach07.jpg"));

  gNumCapt = 1;
  testenv::dialogs().expectFileDialog(2, gLng163, std::nullopt);
  m->Enregistrer2();
  EXPECT_EQ(m->CDlg1.FileName(), dossier + "/Beach01");
  EXPECT_EQ(m->CDlg1.InitDir(), dossier);
  EXPECT_EQ(m->CDlg1.FilterIndex(), 2);  // kept from the last choice
}

// ---------------------------------------------------------------- automatic save

// A new capture with the automatic save ticked is saved at once; the ones
// before it are left to the user.
TEST_F(EnregistrerTout, TheAutomaticSaveOfANewCapture) {
  Ajouter(Motif(20, 20, Qt::red));
  vb::PictureBox& source = m->Picture2;
  source.setAutoSize(true);
  source.setPicture(Motif(32, 24, Qt::green));
  gLargImg = source.Width();
  gHautImg = source.Height();
  gModeCapt = "z";
  m->MnuEnAuto.setChecked(true);
  gFormatBmp = 1;
  // The list's rows do not exist for the capture added by hand: give it its row.
  Flistimages& fl = flistimages();
  for (auto* arr : {&fl.Image1, &fl.Gimage1, &fl.PictSave}) arr->Load(1);
  fl.Lbldim.Load(1);
  fl.Txtordre.Load(1);
  fl.Chkmail.Load(1);
  fl.Chksav.Load(1);
  fl.pictmail.Load(1);
  m->GestVignettes(source);
  ASSERT_EQ(gNbCapt, 2);
  EXPECT_TRUE(gTabSauv[1].isEmpty());
  EXPECT_EQ(gTabSauv[2], gRepSauve + "/Capt_20260304_1030450_001.bmp");
  EXPECT_EQ(QImage(gTabSauv[2]).size(), QSize(32, 24));
  EXPECT_TRUE(Marquee(2));
  gLargImg = gHautImg = 0;
}

// ---------------------------------------------------------------- commands

// The toolbar commands and the print hotkey reach these procedures.
TEST_F(EnregistrerTout, CommandsSevenToTwelveRunThem) {
  Ajouter(Motif(20, 20, Qt::red));
  gFormatBmp = 1;
  m->ExecBouton(11, 0);
  EXPECT_EQ(gTabSauv[1], gRepSauve + "/Capt_20260304_1030450_001.bmp");

  testenv::dialogs().expectFileDialog(2, gLng163, std::nullopt);
  m->ExecBouton(10, 0);

  testenv::dialogs().expectInputBox(gLng209, std::nullopt);
  m->ExecBouton(12, 1);  // as the print hotkey runs it

  platform::clipboard::setText("before");
  m->ExecBouton(7, 0);
  EXPECT_EQ(platform::clipboard::picture().convertToFormat(QImage::Format_RGB32), Motif(20, 20, Qt::red));
}

// An unreadable bitmap: the user hears of it, nothing is marked saved and no
// work copy stays anywhere.
TEST_F(Enregistrer2, AFailedConversionMarksNothing) {
  const int n = Ajouter(Motif(20, 20, Qt::red));
  {
    QFile f(Bitmap(n));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("not a picture");
  }
  RangeesMarques(n);
  testenv::dialogs().expectFileDialog(2, gLng163, gRepSauve + "/mine", 2);
  testenv::dialogs().expectMsgBox(gLng190, vb::vbOK);
  m->Enregistrer2();
  EXPECT_TRUE(gTabSauv[n].isEmpty());
  EXPECT_FALSE(Marquee(n) || m->PictSave.Visible());
  EXPECT_TRUE(Fichiers(gRepSauve).isEmpty());
  EXPECT_EQ(Fichiers(gRepCapt), QStringList({gTabNomCapt[n]}));
}
