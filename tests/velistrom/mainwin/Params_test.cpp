#include "velistrom/core/Params.h"

#include "platform/Folders.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Runtime.h"
#include "tests/support/Files.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"
#include "tests/support/ReadOnlyFolder.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/startup/Splash.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <csignal>
#include <functional>
#include <sys/stat.h>
#include <sys/resource.h>

namespace {

using testsupport::readFile;

void write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QString blanks(int n) { return QString(n, u' '); }

// The record of a settings file as the create defaults make it, written out.
const QString kCreation = QString(92, u'X') + "0420" + "0260" + "ZMEFY00007Capt111001010000" +
                          blanks(4) + "mspaint" + blanks(143) + "c:\\tempocapt<=======";
const QString kReinit = QString(92, u'X') + "0420" + "0260" + "ZMEF200007Capt111000010000" +
                        blanks(4) + "mspaint" + blanks(143) + "c:\\tempocapt<=======";

// Message boxes answered from a script, every box recorded.
struct Boxes {
  struct Shown {
    QString prompt;
    int buttons;
  };
  QList<Shown> shown;
  QList<int> answers;
  ParamsUi ui() {
    return ParamsUi{[this](const QString& prompt, int buttons) {
                      shown.append({prompt, buttons});
                      return answers.isEmpty() ? int(vb::vbOK) : answers.takeFirst();
                    },
                    "Reset the settings?", "Settings reset."};
  }
};

class Params : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(PrepDossiers());
    docs = platform::documentsFolder();
  }
  QString file() const { return gDossAppli + "/params.txt"; }
  QString docs;
  Boxes boxes;
};

using testsupport::ReadOnlyFolder;

}  // namespace

TEST_F(Params, MissingFileIsCreatedWithTheDefaults) {
  ASSERT_FALSE(QFile::exists(file()));
  EXPECT_EQ(chargtparam(boxes.ui()), ChargtParamStatus::Pret);
  EXPECT_TRUE(boxes.shown.isEmpty());
  const QString docsLine = docs.leftJustified(300, u' ');
  EXPECT_EQ(readFile(file()), (kCreation + "\r\n" + docsLine + "\r\n").toUtf8());
  EXPECT_EQ(kCreation.size(), 300);

  EXPECT_EQ(gParams, kCreation);
  EXPECT_EQ(QStringList({gTouche1, gTouche2, gTouche3, gTouche4, gTouche5}),
            QStringList({"Z", "M", "E", "F", "Y"}));
  EXPECT_EQ(gQualJpg, 70);
  EXPECT_EQ(gPrefixe, "Capt");
  EXPECT_EQ(gIntervPeriode, 10000);
  EXPECT_EQ(gRepSauve, docs);
  EXPECT_EQ(gRepSauvLigne, docsLine);
  EXPECT_EQ(gMesDocs, docsLine);
  EXPECT_EQ(gSelLarg, "0420");
  EXPECT_EQ(gSelHaut, "0260");
  EXPECT_EQ(gEditeur, "mspaint" + blanks(143));
  EXPECT_EQ(gNomExeEdit, "mspaint");
  EXPECT_EQ(gMemoSel, 1);
  EXPECT_EQ(gRectAjust, 1);
  EXPECT_EQ(gPasCopiePP, "0");
  EXPECT_EQ(gOptChk0 + gFormatBmp + gGardeVisible + gNomHorod + gMuet, 0);
  EXPECT_EQ(gRepCapt, gDossAppli + "/tempocapt");
}

TEST_F(Params, RecordsAreReadPositionByPosition) {
  const QString longPath = "/srv/" + QString(295, u'p');  // 300 characters, no blank at the end
  struct Case {
    const char* name;
    std::function<void(EnregParams&)> edit;
    QString line2;
    std::function<void()> check;
  };
  const Case cases[] = {
      {"a size led by a blank", [](EnregParams& e) { e.set(EnregParams::SelLarg, " 420"); },
       "/d",
       [] {
         EXPECT_EQ(gSelLarg, " 420");
         EXPECT_EQ(int(vb::Val(gSelLarg)), 420);
       }},
      {"an editor given as a full path",
       [](EnregParams& e) { e.set(EnregParams::Editeur, "/opt/paint tools/bin/kolour-paint"); },
       "/d",
       [] {
         EXPECT_EQ(gEditeur, QString("/opt/paint tools/bin/kolour-paint").leftJustified(150));
         EXPECT_EQ(gNomExeEdit, "kolour-paint");
       }},
      {"a prefix of digits leaves the quality alone",
       [](EnregParams& e) {
         e.set(EnregParams::Prefixe, "9912");
         e.set(EnregParams::QualJpg, "4");
       },
       "/d",
       [] {
         EXPECT_EQ(gPrefixe, "9912");
         EXPECT_EQ(gQualJpg, 40);
       }},
      {"switches and hotkeys",
       [](EnregParams& e) {
         e.set({101, 5}, "A1B2C");
         e.set({107, 3}, "111");
         e.set({118, 4}, "1111");
         e.set(EnregParams::MemoSel, "0");
         e.set(EnregParams::Intervalle, "00250");
       },
       "/d",
       [] {
         EXPECT_EQ(gTouche1 + gTouche2 + gTouche3 + gTouche4 + gTouche5, "A1B2C");
         EXPECT_EQ(gOptChk0 + gFormatBmp + gGardeVisible, 3);
         EXPECT_EQ(gPasCopiePP, "1");
         EXPECT_EQ(gNomHorod + gRectAjust + gMuet, 3);
         EXPECT_EQ(gMemoSel, 0);
         EXPECT_EQ(gIntervPeriode, 250);
       }},
      {"the largest interval the timer takes",
       [](EnregParams& e) { e.set(EnregParams::Intervalle, "65535"); }, "/d",
       [] { EXPECT_EQ(gIntervPeriode, 65535); }},
      {"interval 0: periodic capture never fires",
       [](EnregParams& e) { e.set(EnregParams::Intervalle, "00000"); }, "/d",
       [] { EXPECT_EQ(gIntervPeriode, 0); }},
      {"an interval without digits scans as 0",
       [](EnregParams& e) { e.set(EnregParams::Intervalle, "abcde"); }, "/d",
       [] { EXPECT_EQ(gIntervPeriode, 0); }},
      {"an editor kept from a Windows record",
       [](EnregParams& e) { e.set(EnregParams::Editeur, "C:/Tools/PAINT.EXE"); }, "/d",
       [] { EXPECT_EQ(gNomExeEdit, "PAINT"); }},
      {"a non-digit in a switch counts as 0",
       [](EnregParams& e) { e.set(EnregParams::PasCopiePP, "x"); }, "/d",
       [] { EXPECT_EQ(gPasCopiePP, "0"); }},
      {"a folder with two blanks inside is kept whole", [](EnregParams&) {},
       QString("/home/u/My  Captures").leftJustified(300),
       [] { EXPECT_EQ(gRepSauve, "/home/u/My  Captures"); }},
      {"a 300-character folder is taken whole", [](EnregParams&) {}, longPath,
       [longPath] { EXPECT_EQ(gRepSauve, longPath); }},
      {"a 299-character folder loses only its padding", [](EnregParams&) {},
       longPath.left(299) + " ", [longPath] { EXPECT_EQ(gRepSauve, longPath.left(299)); }},
      {"an unpadded save-folder line", [](EnregParams&) {}, "/data/shots",
       [] {
         EXPECT_EQ(gRepSauve, "/data/shots");
         EXPECT_EQ(gRepSauvLigne, QString("/data/shots").leftJustified(300));
       }},
      {"an empty save-folder line", [](EnregParams&) {}, "",
       [] { EXPECT_EQ(gRepSauve, ""); }},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    EnregParams e = EnregParams::creation();
    k.edit(e);
    write(file(), (e.texte() + "\r\n" + k.line2 + "\r\n").toUtf8());
    ASSERT_EQ(chargtparam(boxes.ui()), ChargtParamStatus::Pret);
    EXPECT_EQ(gParams, e.texte());
    k.check();
  }
  EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(Params, ShortAndLongLinesArePaddedOrCut) {
  struct Case {
    const char* name;
    QByteArray bytes;
    QString params;
  };
  const QByteArray creation = kCreation.toUtf8();
  const Case cases[] = {
      {"line 1 cut before the editor", creation.left(130) + "\r\n/d\r\n",
       kCreation.left(130) + blanks(170)},
      {"line 1 too long", creation + "EXTRA\r\n/d\r\n", kCreation},
      {"LF line ends, no end after line 2", creation + "\n/d", kCreation},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    write(file(), k.bytes);
    ASSERT_EQ(chargtparam(boxes.ui()), ChargtParamStatus::Pret);
    EXPECT_EQ(gParams, k.params);
    EXPECT_EQ(gRepSauve, "/d");
  }
  // A record cut before its editor has a blank editor.
  write(file(), creation.left(130) + "\r\n/d\r\n");
  ASSERT_EQ(chargtparam(boxes.ui()), ChargtParamStatus::Pret);
  EXPECT_EQ(gEditeur, blanks(150));
  EXPECT_EQ(gNomExeEdit, "");
}

TEST_F(Params, DamagedFileOffersTheResetAndEndsTheStart) {
  auto with = [](EnregParams::Champ c, const char* v) {
    EnregParams e = EnregParams::creation();
    e.set(c, v);
    return (e.texte() + "\r\n/d\r\n").toUtf8();
  };
  struct Case {
    const char* name;
    QByteArray bytes;
  };
  const Case cases[] = {
      {"line 2 missing", (kCreation + "\r\n").toUtf8()},
      {"empty file", ""},
      {"a letter where the quit-size digit stands", with(EnregParams::MemoSel, "y")},
      {"a blank where the quit-size digit stands", with(EnregParams::MemoSel, " ")},
      {"interval past 65535", with(EnregParams::Intervalle, "65536")},
      {"negative interval", with(EnregParams::Intervalle, "-1000")},
  };
  const QByteArray reset = (kReinit + "\r\n" + docs.leftJustified(300) + "\r\n").toUtf8();
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    // No: the file stays as it was.
    write(file(), k.bytes);
    boxes.shown.clear();
    boxes.answers = {vb::vbNo};
    EXPECT_EQ(chargtparam(boxes.ui()), ChargtParamStatus::FinProgramme);
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].prompt, "Reset the settings?");
    EXPECT_EQ(boxes.shown[0].buttons, vb::vbYesNo | vb::vbQuestion);
    EXPECT_EQ(readFile(file()), k.bytes);
    // Yes: the reset record is written and confirmed.
    boxes.shown.clear();
    boxes.answers = {vb::vbYes};
    EXPECT_EQ(chargtparam(boxes.ui()), ChargtParamStatus::FinProgramme);
    ASSERT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(boxes.shown[1].prompt, "Settings reset.");
    EXPECT_EQ(boxes.shown[1].buttons, vb::vbInformation);
    EXPECT_EQ(readFile(file()), reset);
  }
  // The reset file starts normally, with hotkey 5 = "2" and no handles.
  boxes.shown.clear();
  EXPECT_EQ(chargtparam(boxes.ui()), ChargtParamStatus::Pret);
  EXPECT_EQ(gTouche5, "2");
  EXPECT_EQ(gRectAjust, 0);
  EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(Params, SavOptionsRoundTrip) {
  ASSERT_EQ(chargtparam(boxes.ui()), ChargtParamStatus::Pret);
  EnregParams e(gParams);
  e.set(EnregParams::Prefixe, "Shot");
  e.set(EnregParams::Touche1, "K");
  e.set(EnregParams::Intervalle, "00500");
  e.set(EnregParams::Editeur, "/usr/bin/gimp");
  gParams = e.texte();
  gRepSauvLigne = Ligne300("/data/my  shots");
  EXPECT_EQ(SavOptions(boxes.ui()), SaveStatus::Enregistre);
  EXPECT_EQ(readFile(file()), (e.texte() + "\r\n" + Ligne300("/data/my  shots") + "\r\n").toUtf8());

  gPrefixe.clear();
  ASSERT_EQ(chargtparam(boxes.ui()), ChargtParamStatus::Pret);
  EXPECT_EQ(gPrefixe, "Shot");
  EXPECT_EQ(gTouche1, "K");
  EXPECT_EQ(gIntervPeriode, 500);
  EXPECT_EQ(gNomExeEdit, "gimp");
  EXPECT_EQ(gRepSauve, "/data/my  shots");
  EXPECT_TRUE(boxes.shown.isEmpty());
  EXPECT_EQ(QDir(gDossAppli).entryList(QDir::Files | QDir::Hidden), QStringList{"params.txt"});
}

TEST_F(Params, SaveIntoAReadOnlyFolderIsReportedAndKeepsTheOldFile) {
  ASSERT_EQ(chargtparam(boxes.ui()), ChargtParamStatus::Pret);
  const QByteArray before = readFile(file());
  EnregParams e(gParams);
  e.set(EnregParams::Prefixe, "Lost");
  gParams = e.texte();
  for (int answer : {int(vb::vbNo), int(vb::vbYes)}) {
    SCOPED_TRACE(answer);
    boxes.shown.clear();
    boxes.answers = {answer};
    SaveStatus status;
    {
      ReadOnlyFolder ro(gDossAppli);
      status = SavOptions(boxes.ui());
    }
    // Neither the save nor the reset could be written; nothing was confirmed.
    EXPECT_EQ(status, SaveStatus::Echec);
    ASSERT_EQ(boxes.shown.size(), 1);
    // The question comes with the system's reason.
    EXPECT_EQ(boxes.shown[0].prompt,
              "Reset the settings?\n\n\"" + file() + "\": " + QString::fromLocal8Bit(std::strerror(EACCES)));
    EXPECT_EQ(readFile(file()), before);
    EXPECT_EQ(QDir(gDossAppli).entryList(QDir::Files | QDir::Hidden), QStringList{"params.txt"});
  }
  // In a writable folder a read-only file is replaced whole, not written into.
  boxes.shown.clear();
  QFile::setPermissions(file(), QFileDevice::ReadOwner);
  EXPECT_EQ(SavOptions(boxes.ui()), SaveStatus::Enregistre);
  EXPECT_TRUE(boxes.shown.isEmpty());
  EXPECT_TRUE(readFile(file()).contains("Lost"));
}

TEST_F(Params, SaveThatFailsHalfWayKeepsTheOldFile) {
  ASSERT_EQ(chargtparam(boxes.ui()), ChargtParamStatus::Pret);
  const QByteArray before = readFile(file());
  EnregParams e(gParams);
  e.set(EnregParams::Prefixe, "Lost");
  gParams = e.texte();
  boxes.answers = {vb::vbYes};
  // The disk takes the first 200 bytes of any file and refuses the rest.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 200;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const SaveStatus status = SavOptions(boxes.ui());
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(status, SaveStatus::Echec);
  ASSERT_EQ(boxes.shown.size(), 1);
  // A disk that takes no more is named, so it is not taken for a damaged file.
  EXPECT_TRUE(boxes.shown[0].prompt.startsWith("Reset the settings?\n\n\"" + file() + "\": "));
  EXPECT_TRUE(boxes.shown[0].prompt.endsWith(QString::fromLocal8Bit(std::strerror(EFBIG))))
      << boxes.shown[0].prompt.toStdString();
  EXPECT_EQ(readFile(file()), before);
  EXPECT_EQ(QDir(gDossAppli).entryList(QDir::Files | QDir::Hidden), QStringList{"params.txt"});
}

TEST_F(Params, CreateFailureAtStartEnds) {
  // The data folder cannot take the new file: the reset is offered, then the end.
  boxes.answers = {vb::vbYes};
  ChargtParamStatus status;
  {
    ReadOnlyFolder ro(gDossAppli);
    status = chargtparam(boxes.ui());
  }
  EXPECT_EQ(status, ChargtParamStatus::FinProgramme);
  EXPECT_EQ(boxes.shown.size(), 1);  // no confirmation: the reset failed too
  EXPECT_FALSE(QFile::exists(file()));
}

TEST_F(Params, WithoutADataFolderNothingIsWritten) {
  gDossAppli.clear();
  boxes.answers = {vb::vbYes};
  EXPECT_EQ(chargtparam(boxes.ui()), ChargtParamStatus::FinProgramme);
  EXPECT_EQ(SavOptions(boxes.ui()), SaveStatus::Echec);
  EXPECT_FALSE(QFile::exists("/params.txt"));
  EXPECT_EQ(boxes.shown.size(), 2);  // one question each, no confirmation
}

TEST_F(Params, TheStandardQuestionIsAMessageBoxWithTexts125And126) {
  write(file(), (kCreation + "\r\n").toUtf8());
  gLng125 = "Settings damaged. Reset them?";
  gLng126 = "Settings reset; start again.";
  testenv::dialogs().expectMsgBox("Settings damaged", vb::vbYes);
  testenv::dialogs().expectMsgBox("Settings reset", vb::vbOK);
  EXPECT_EQ(chargtparam(), ChargtParamStatus::FinProgramme);
  testenv::dialogs().verify();
  const auto& shown = testenv::dialogs().shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].icon, "question");
  EXPECT_EQ(shown[0].buttons, vb::vbYesNo | vb::vbQuestion);
  EXPECT_EQ(shown[1].icon, "information");
  EXPECT_TRUE(readFile(file()).startsWith(kReinit.toUtf8() + "\r\n"));
  gLng125.clear();
  gLng126.clear();
}

TEST(EnregParams, FieldsArePaddedAndCutToTheirLength) {
  EnregParams e;
  EXPECT_EQ(e.texte(), QString(300, u' '));
  e.set(EnregParams::Prefixe, "Captur");
  e.set(EnregParams::Editeur, "gimp");
  e.set(EnregParams::RepCapt, "/home/user/.local/share/Velistrom/tempocapt<=======");
  EXPECT_EQ(e.texte().size(), 300);
  EXPECT_EQ(e.get(EnregParams::Prefixe), "Capt");
  EXPECT_EQ(e.get(EnregParams::Editeur), "gimp" + QString(146, u' '));
  EXPECT_EQ(e.get(EnregParams::RepCapt), "/home/user/.local/sh");
  EXPECT_EQ(e.texte().mid(114, 16), QString(16, u' '));  // neighbours untouched
  EXPECT_EQ(EnregParams::creation().texte(), kCreation);
  EXPECT_EQ(EnregParams::reinit().texte(), kReinit);
}

// A character outside the basic plane across the 300th position: the cut keeps
// it whole or not at all, so the saved file reads back equal.
TEST_F(Params, TheCutAtThreeHundredNeverSplitsACharacter) {
  const QString clef = QString::fromUcs4(U"\U0001F511");  // two UTF-16 units
  struct Case {
    const char* name;
    QString line;
    QString expected;
  };
  const Case cases[] = {
      {"whole at the end", blanks(298) + clef, blanks(298) + clef},
      {"half past the end", "/" + blanks(298) + clef + "x", "/" + blanks(299)},
      {"just past the end", blanks(300) + clef, blanks(300)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Ligne300(c.line), c.expected);
    EXPECT_EQ(EnregParams(c.line).texte(), c.expected);
  }
  ASSERT_EQ(chargtparam(boxes.ui()), ChargtParamStatus::Pret);
  EnregParams e(gParams);
  e.set(EnregParams::Editeur, "/usr/bin/" + QString(140, u'e') + clef);  // 151 units into 150
  EXPECT_EQ(e.get(EnregParams::Editeur), "/usr/bin/" + QString(140, u'e') + " ");
  gParams = e.texte();
  gRepSauvLigne = Ligne300("/" + QString(298, u'd') + clef);
  const QString params = gParams, ligne = gRepSauvLigne;
  ASSERT_EQ(SavOptions(boxes.ui()), SaveStatus::Enregistre);
  ASSERT_EQ(chargtparam(boxes.ui()), ChargtParamStatus::Pret);
  EXPECT_EQ(gParams, params);
  EXPECT_EQ(gRepSauvLigne, ligne);
  EXPECT_TRUE(boxes.shown.isEmpty());
}

// Only a regular file of reasonable size is read as the settings: a FIFO there
// would block the start for good, a huge file would be read whole.
TEST_F(Params, ASettingsFileThatIsNoRegularFileIsNotRead) {
  struct Case {
    const char* name;
    std::function<void(const QString&)> make;
    QString reason;
  };
  const Case cases[] = {
      {"a FIFO", [](const QString& p) { ASSERT_EQ(::mkfifo(QFile::encodeName(p).constData(), 0600), 0); },
       "not a regular file"},
      {"a folder", [](const QString& p) { ASSERT_TRUE(QDir().mkdir(p)); }, "not a regular file"},
      {"a huge file", [](const QString& p) { ASSERT_TRUE(QFile(p).open(QIODevice::WriteOnly)); QFile::resize(p, 1 << 20); },
       "larger than"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(file());
    QDir().rmdir(file());
    c.make(file());
    boxes.shown.clear();
    boxes.answers = {vb::vbNo};
    EXPECT_EQ(chargtparam(boxes.ui()), ChargtParamStatus::FinProgramme);
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].prompt.startsWith("Reset the settings?\n\n\"" + file() + "\": " + c.reason))
        << boxes.shown[0].prompt.toStdString();
  }
  QDir().rmdir(file());
}
