// The rules of the hand-over: JPEG names, the companions' command lines, the
// editor chosen for the Edit command, the folder shown in the caption and the
// maker's address.
#include "velistrom/mainwin/Compagnons.h"

#include "tests/platform/forms/TestForms.h"  // readable QString values in failures

#include <gtest/gtest.h>
#include <QSet>

namespace {

TEST(Compagnons, HandOverAndMailNamesFromTheDateAndTime) {
  const compag::NomPris libre = [](const QString&) { return false; };
  EXPECT_EQ(compag::NomJpegEnvoi("/run/capt", "Capt", "11/12/2026", "03:20:45", libre),
            "/run/capt/Capt11122026-032045.jpg");
  EXPECT_EQ(compag::NomJpegMail("/run/capt", "Capt", "11/12/2026", "03:20:45", 7, libre),
            "/run/capt/Capt11122026032045-7.jpg");
  // The prefix never leads out of the folder.
  EXPECT_EQ(compag::NomJpegEnvoi("/d", "../x", "01/02/2026", "10:00:00", libre), "/d/..x01022026-100000.jpg");
}

TEST(Compagnons, ANameInUseIsNeverTakenAgain) {
  QSet<QString> pris;
  const compag::NomPris dejaPris = [&](const QString& c) { return pris.contains(c); };
  QStringList noms;
  for (int i = 0; i < 3; ++i) {
    noms << compag::NomJpegEnvoi("/d", "Capt", "11/12/2026", "03:20:45", dejaPris);
    pris.insert(noms.back());
  }
  EXPECT_EQ(noms, (QStringList{"/d/Capt11122026-032045.jpg", "/d/Capt11122026-032045_2.jpg",
                               "/d/Capt11122026-032045_3.jpg"}));
  // Two positions in the same second differ by their position alone.
  EXPECT_NE(compag::NomJpegMail("/d", "Capt", "11/12/2026", "03:20:45", 1, dejaPris),
            compag::NomJpegMail("/d", "Capt", "11/12/2026", "03:20:45", 2, dejaPris));
}

TEST(Compagnons, EachCompanionGetsThePictureAsOneArgument) {
  const QString jpeg = "/home/u/it's a \"dir\"/Capt11122026-032045.jpg";
  struct Case {
    const char* cle;
    const char* code;
    const char* programme;
    QString argument;
  };
  const Case cases[] = {
      {"share", "ConstPRJF", "/bin/dir/Spreadwell", jpeg},
      {"mosaiq", "ConstPRJF", "/bin/dir/Mosaiq", jpeg + "*F"},
      {"mosaiq", "ConstPRJA", "/bin/dir/Mosaiq", jpeg + "*A"},
      {"other", "ConstPRJA", "/bin/dir/Mosaiquor", jpeg + "*A"},
      {"", "ConstPRJF", "/bin/dir/Mosaiquor", jpeg + "*F"},
  };
  for (const Case& c : cases) {
    const compag::Lancement l = compag::LancementPanneau("/bin/dir", c.cle, jpeg, c.code);
    EXPECT_EQ(l.programme, c.programme) << c.cle;
    EXPECT_EQ(l.arguments, QStringList{c.argument}) << c.cle;
  }
  EXPECT_EQ(compag::LancementPostelle("/b", jpeg).programme, "/b/Postelle");
  EXPECT_EQ(compag::LancementPostelle("/b", jpeg).arguments, QStringList{jpeg});
  EXPECT_EQ(compag::LancementSpreadwell("/b", jpeg).programme, "/b/Spreadwell");
}

TEST(Compagnons, TheEditorFieldAndTheDesktopPaintProgram) {
  const QString peinture = "/usr/bin/pinta";
  struct Case {
    QString champ;
    QString programme;
    bool parDefaut;
  };
  const Case cases[] = {
      {QString(150, ' '), peinture, true},
      {"mspaint" + QString(143, ' '), peinture, true},
      {"mspaint.exe", peinture, true},
      {"C:/WINDOWS/system32/MSPAINT.EXE", peinture, true},
      {" gimp", peinture, true},  // a leading blank counts as a blank setting
      {"gimp" + QString(146, ' '), "gimp", false},
      {"/opt/My Paint/paint.sh  ", "/opt/My Paint/paint.sh", false},
  };
  for (const Case& c : cases) {
    const compag::Editeur e = compag::EditeurAUtiliser(c.champ, peinture);
    EXPECT_EQ(e.programme, c.programme) << c.champ.toStdString();
    EXPECT_EQ(e.parDefaut, c.parDefaut) << c.champ.toStdString();
  }
  EXPECT_TRUE(compag::EditeurAUtiliser("mspaint", QString()).programme.isEmpty());

  EXPECT_EQ(compag::NomEditeurAffiche("/usr/bin/kolourpaint"), "Kolourpaint");
  EXPECT_EQ(compag::NomEditeurAffiche("gimp-2.10"), "Gimp-2");
  EXPECT_EQ(compag::NomEditeurAffiche("/opt/My Paint/paint.sh"), "Paint");
}

TEST(Compagnons, TheFolderShownInTheCaption) {
  struct Case {
    const char* caption;
    const char* dossier;
  };
  for (const Case c : {Case{"Capture 03/05 > /home/u/Saved/Capt_001.jpg", "/home/u/Saved"},
                       Case{"Capture 03/05 > /Capt_001.jpg", "/"},
                       Case{"Capture 03/05", ""},  // not saved: the count's "/" is no folder
                       Case{"Capture 03/05 /home/u/Capt_001.jpg", ""},  // only " > " brings the path
                       Case{"Capture 03/05 > ", ""}, Case{"Velistrom ->/b/c", ""},
                       Case{"Capture 03/05 > /home/u/a > b/Capt_001.jpg", "/home/u/a > b"},
                       Case{"Velistrom - ready", ""}, Case{"", ""}})
    EXPECT_EQ(compag::DossierDuTitre(c.caption), c.dossier) << c.caption;
}

TEST(Compagnons, TheSupportAddressTakesOnlyAPlainOverride) {
  struct Case {
    const char* env;
    QString adresse;
  };
  const QString propre = compag::kAdresseSupport;
  const Case cases[] = {
      {nullptr, propre},
      {"help@example.org", "help@example.org"},
      {"  help@example.org ", "help@example.org"},
      {"mailto:x@example.org", propre},
      {"x@example.org?attach=/etc/passwd", propre},
      {"--attach", propre},
      {"a b@example.org", propre},
  };
  for (const Case& c : cases) {
    if (c.env)
      qputenv("VELISTROM_SUPPORT_MAIL", c.env);
    else
      qunsetenv("VELISTROM_SUPPORT_MAIL");
    EXPECT_EQ(compag::AdresseSupport(), c.adresse) << (c.env ? c.env : "(unset)");
  }
  qunsetenv("VELISTROM_SUPPORT_MAIL");
  EXPECT_TRUE(compag::AdresseValable(propre));
}

}  // namespace
