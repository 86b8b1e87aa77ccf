// The options dialog on the offscreen platform: the record it writes, its
// checks, its lifecycle between openings, the hotkey boxes under real key
// clicks, and the browse buttons through the scripted common dialog.
#include "velistrom/options/Options.h"

#include "platform/forms/MsgBox.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/velistrom/ShippedTexts.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/core/Params.h"
#include "velistrom/options/OptionsMain.h"
#include "velistrom/options/Saisie.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString blanks(int n) { return QString(n, u' '); }

// The main window as the dialog sees it, every call recorded.
struct FakeMain : options::MainSide {
  vb::Color colour = 0x00E0E0E0;
  bool ticked = false;
  bool on = false;
  int interval = -1;
  QString tooltip = "Save all --->    /old/folder";
  int saves = 0;
  QStringList savedParams;  // gParams at each write
  int rectangleHidden = 0;

  vb::Color backColor() override { return colour; }
  bool periodicTicked() override { return ticked; }
  bool periodicOn() override { return on; }
  void setPeriodicOn(bool v) override { on = v; }
  void setPeriodicInterval(int ms) override { interval = ms; }
  QString saveTooltip() override { return tooltip; }
  void setSaveTooltip(const QString& t) override { tooltip = t; }
  void SavOptions() override {
    ++saves;
    savedParams << gParams;
  }
  void hideOverlayRectangle() override { ++rectangleHidden; }
};

class OptionsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testsupport::textesLivres());
    options::setMainSide(&main);
    EnregParams e = EnregParams::creation();
    e.set(EnregParams::SelLarg, "0640");
    e.set(EnregParams::SelHaut, " 480");
    gParams = e.texte();
    gSelLarg = "0640";
    gSelHaut = " 480";
    gRepSauvLigne = Ligne300("/home/u/shots");
    gRepCapt = "/d/tempocapt123";
    gEditeur = e.get(EnregParams::Editeur);
  }
  void TearDown() override {
    frmOptions.destroyNow();
    options::setMainSide(nullptr);
  }
  Options& dlg() { return frmOptions(); }
  QLineEdit* edit(vb::TextBox& box) { return static_cast<QLineEdit*>(box.widget()); }
  void typeText(vb::TextBox& box, const QString& text) {
    for (QChar c : text) {
      if (c.unicode() < 128)
        QTest::keyClicks(edit(box), QString(c));
      else  // QTest types only ASCII by itself
        QTest::sendKeyEvent(QTest::Click, edit(box), Qt::Key_Eacute, QString(c), Qt::NoModifier);
    }
  }
  void selectAll(vb::TextBox& box) { edit(box)->selectAll(); }

  FakeMain main;
};

EnregParams::Champ champ(int pos, int len) { return {pos, len}; }

}  // namespace

// ---------------------------------------------------------------- the record

TEST(OptionsRecord, BuiltWholeWithEveryFieldInItsPlace) {
  ReglagesOptions base;
  base.touches = {"Z", "M", "E", "F", "Y"};
  base.cases = {0, 1, 0, 1, 0, 1, 0, 1};
  base.qualite = 8;
  base.tempo = 3;
  base.prefixe = "Shot";
  base.intervalle = "250";
  base.editeur = "/usr/bin/gimp";
  struct Case {
    const char* name;
    std::function<void(ReglagesOptions&)> edit;
    std::function<void(const EnregParams&)> check;
  };
  const Case cases[] = {
      {"the plain values",
       [](ReglagesOptions&) {},
       [](const EnregParams& e) {
         EXPECT_EQ(e.get(champ(101, 26)), "ZMEFY 0108Shot1 3110000250");
         EXPECT_EQ(e.get(EnregParams::Editeur), QString("/usr/bin/gimp").leftJustified(150));
       }},
      {"a six-character prefix keeps four", [](ReglagesOptions& r) { r.prefixe = "Captur"; },
       [](const EnregParams& e) { EXPECT_EQ(e.get(EnregParams::Prefixe), "Capt"); }},
      {"a prefix loses its path separators", [](ReglagesOptions& r) { r.prefixe = QString("a/b\\c") + QChar(0) + "de"; },
       [](const EnregParams& e) { EXPECT_EQ(e.get(EnregParams::Prefixe), "abcd"); }},
      {"interval 70000 is stored as the most the record keeps",
       [](ReglagesOptions& r) { r.intervalle = "70000"; },
       [](const EnregParams& e) { EXPECT_EQ(e.get(EnregParams::Intervalle), "65000"); }},
      {"interval 65000", [](ReglagesOptions& r) { r.intervalle = "65000"; },
       [](const EnregParams& e) { EXPECT_EQ(e.get(EnregParams::Intervalle), "65000"); }},
      {"interval 0", [](ReglagesOptions& r) { r.intervalle = "0"; },
       [](const EnregParams& e) { EXPECT_EQ(e.get(EnregParams::Intervalle), "00000"); }},
      {"an empty interval", [](ReglagesOptions& r) { r.intervalle = ""; },
       [](const EnregParams& e) { EXPECT_EQ(e.get(EnregParams::Intervalle), "00000"); }},
      {"tempo 10 keeps one digit", [](ReglagesOptions& r) { r.tempo = 10; },
       [](const EnregParams& e) {
         EXPECT_EQ(e.get(EnregParams::Tempo), "9");
         EXPECT_EQ(e.get(EnregParams::PasCopiePP), "1") << "the next position did not move";
       }},
      {"an editor with blanks in its path",
       [](ReglagesOptions& r) { r.editeur = "/opt/paint tools/bin/kolour paint" + blanks(130); },
       [](const EnregParams& e) {
         EXPECT_EQ(e.get(EnregParams::Editeur), QString("/opt/paint tools/bin/kolour paint").leftJustified(150));
         EXPECT_EQ(e.get(EnregParams::RepCapt), "/d/tempocapt<=======");
       }},
      {"hotkeys of digits", [](ReglagesOptions& r) { r.touches = {"1", "9", "A", "Q", "2"}; },
       [](const EnregParams& e) { EXPECT_EQ(e.get(champ(101, 5)), "19AQ2"); }},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ReglagesOptions r = base;
    k.edit(r);
    const EnregParams e = EnregDeReglages(r, "0420", "0260", "/d/tempocapt");
    ASSERT_EQ(e.texte().size(), 300);
    EXPECT_EQ(e.get(EnregParams::Remplissage), blanks(92));
    EXPECT_EQ(e.get(champ(93, 8)), "04200260");
    for (int pos : {106, 116}) EXPECT_EQ(e.get(champ(pos, 1)), " ") << pos;
    EXPECT_EQ(e.get(EnregParams::Libre127), blanks(4));
    EXPECT_EQ(e.get(EnregParams::RepCapt), QString("/d/tempocapt<=======").left(20));
    k.check(e);
  }
}

TEST(OptionsRecord, ALongCaptureFolderIsCutWhereTheRecordEnds) {
  const EnregParams e = EnregDeReglages(ReglagesDeEnreg(EnregParams::creation()), "0420", "0260",
                                        "/home/someone/.local/share/Velistrom/tempocapt417");
  EXPECT_EQ(e.texte().size(), 300);
  EXPECT_EQ(e.get(EnregParams::RepCapt), "/home/someone/.local");
}

TEST(OptionsRecord, AReadRecordComesBackFieldByField) {
  EnregParams lu = EnregParams::creation();
  lu.set(champ(101, 26), "A1B2C 1107Pict0 5100100450");
  lu.set(EnregParams::Editeur, "/usr/bin/kolourpaint");
  const EnregParams e = EnregDeReglages(ReglagesDeEnreg(lu), lu.get(EnregParams::SelLarg),
                                        lu.get(EnregParams::SelHaut), "c:\\tempocapt");
  const EnregParams::Champ champs[] = {
      EnregParams::SelLarg,  EnregParams::SelHaut,   EnregParams::Touche1,      EnregParams::Touche2,
      EnregParams::Touche3,  EnregParams::Touche4,   EnregParams::Touche5,      EnregParams::OptChk0,
      EnregParams::FormatBmp, EnregParams::GardeVisible, EnregParams::QualJpg,  EnregParams::Prefixe,
      EnregParams::MemoSel,  EnregParams::Tempo,     EnregParams::PasCopiePP,   EnregParams::NomHorod,
      EnregParams::RectAjust, EnregParams::Muet,     EnregParams::Intervalle,   EnregParams::Editeur,
      EnregParams::RepCapt};
  for (const EnregParams::Champ& c : champs)
    EXPECT_EQ(e.get(c).toStdString(), lu.get(c).toStdString()) << "position " << c.pos;
  // The filler becomes blanks; the unread positions too.
  EXPECT_EQ(e.get(EnregParams::Remplissage), blanks(92));
}

TEST(OptionsRecord, TheEditorsProgramIsItsWholeName) {
  EXPECT_EQ(NomExeDeEditeur(QString("/usr/bin/gimp").leftJustified(150)), "gimp");
  EXPECT_EQ(NomExeDeEditeur("mspaint.exe" + blanks(139)), "mspaint");
  EXPECT_EQ(NomExeDeEditeur("/opt/my tools/kolour paint  "), "kolour paint");
  EXPECT_EQ(NomExeDeEditeur("/opt/exec/run.exercise"), "run.exercise");
}

TEST(OptionsRecord, TheSaveFolderIsCutBeforeItsFirstDoubleBlankOnlyWhenPadded) {
  EXPECT_EQ(RepSauveDeSaisie(Ligne300("/data/shots")), "/data/shots");
  EXPECT_EQ(RepSauveDeSaisie(Ligne300("/data/my  shots")), "/data/my");
  EXPECT_EQ(RepSauveDeSaisie("/data/my  shots"), "/data/my  shots") << "typed without padding";
  EXPECT_EQ(RepSauveDeSaisie("/data/a b "), "/data/a b ");
}

// ---------------------------------------------------------------- the checks

TEST(OptionsChecks, OkRefusesAShortPrefixBadHotkeysAndALongEditor) {
  ReglagesOptions ok;
  ok.touches = {"Z", "M", "E", "F", "Y"};
  ok.prefixe = "Capt";
  ok.editeur = "mspaint" + blanks(143);
  using V = options::Verdict;
  struct Case {
    const char* name;
    std::function<void(ReglagesOptions&)> edit;
    V verdict;
  };
  const Case cases[] = {
      {"the defaults", [](ReglagesOptions&) {}, V::Accepte},
      {"a three-character prefix", [](ReglagesOptions& r) { r.prefixe = "Cap"; }, V::PrefixeCourt},
      {"a prefix short once its separator is gone", [](ReglagesOptions& r) { r.prefixe = "Ca/p"; }, V::PrefixeCourt},
      {"six characters", [](ReglagesOptions& r) { r.prefixe = "Captur"; }, V::Accepte},
      {"boxes 1 and 5 alike", [](ReglagesOptions& r) { r.touches[4] = "Z"; }, V::ToucheInvalide},
      {"boxes 3 and 4 alike", [](ReglagesOptions& r) { r.touches[3] = "E"; }, V::ToucheInvalide},
      {"an emptied box", [](ReglagesOptions& r) { r.touches[1] = ""; }, V::ToucheInvalide},
      {"a zero", [](ReglagesOptions& r) { r.touches[2] = "0"; }, V::ToucheInvalide},
      {"a lower-case letter", [](ReglagesOptions& r) { r.touches[2] = "e"; }, V::ToucheInvalide},
      {"digits 1 and 9", [](ReglagesOptions& r) { r.touches = {"1", "9", "E", "F", "Y"}; }, V::Accepte},
      {"both faults: the prefix is told first",
       [](ReglagesOptions& r) {
         r.prefixe = "ab";
         r.touches[0] = "";
       },
       V::PrefixeCourt},
      {"an editor of 150 characters", [](ReglagesOptions& r) { r.editeur = "/" + QString(149, u'e'); }, V::Accepte},
      {"an editor of 151 characters", [](ReglagesOptions& r) { r.editeur = "/" + QString(150, u'e'); },
       V::EditeurTropLong},
      {"150 characters and trailing blanks", [](ReglagesOptions& r) { r.editeur = "/" + QString(149, u'e') + "   "; },
       V::Accepte},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ReglagesOptions r = ok;
    k.edit(r);
    EXPECT_EQ(options::Verifier(r), k.verdict);
  }
}

TEST(OptionsChecks, TheHotkeyRuleKeepsDigitsAndLettersOnly) {
  struct Case {
    QString typed, before, kept;
  };
  const Case cases[] = {
      {"q", "", "Q"},  {"Q", "Z", "Q"}, {"7", "Z", "7"}, {"0", "Z", "Z"}, {" ", "Z", "Z"},
      {"#", "M", "M"}, {"[", "M", "M"}, {"`", "M", "M"}, {":", "M", "M"}, {"@", "M", "M"},
      {"{", "E", "E"}, {QString(QChar(0xE9)), "F", "F"}, {"", "F", ""},   {"z", "F", "Z"},
      {"#", "", ""},
  };
  for (const Case& k : cases)
    EXPECT_EQ(options::ToucheAcceptee(k.typed, k.before), k.kept)
        << k.typed.toStdString() << " after " << k.before.toStdString();
}

// ---------------------------------------------------------------- the dialog

TEST_F(OptionsDialog, LoadShowsTheRecordAndChangesNothing) {
  EnregParams e(gParams);
  e.set(champ(101, 5), "zm3fy");
  e.set(EnregParams::OptChk0, "1");
  e.set(EnregParams::Muet, "1");
  e.set(EnregParams::QualJpg, "4");
  e.set(EnregParams::Tempo, "6");
  gParams = e.texte();
  const QString avant = gParams;
  Options& o = dlg();
  EXPECT_FALSE(o.Visible()) << "a read of a box loads the dialog hidden";
  EXPECT_EQ(o.TextTouche1.Text() + o.TextTouche2.Text() + o.TextTouche3.Text() + o.TextTouche4.Text() +
                o.TextTouche5.Text(),
            "ZM3FY")
      << "lower-case letters shown upper-cased";
  EXPECT_EQ(o.Check1[0].Value(), 1);
  EXPECT_EQ(o.Check1[4].Value(), 1);
  EXPECT_EQ(o.Check1[1].Value(), 0);
  EXPECT_EQ(o.Check1[6].Value(), 1);
  EXPECT_EQ(o.Check1[7].Value(), 1);
  EXPECT_EQ(o.SlidQual.Value(), 4);
  EXPECT_EQ(o.Slidtempo.Value(), 6);
  EXPECT_EQ(o.Txtpref.Text(), "Capt");
  EXPECT_EQ(o.Txtinterval.Text(), "10000");
  EXPECT_EQ(o.TxtEdit.Text(), "mspaint" + blanks(143));
  EXPECT_EQ(o.Text1.Text(), Ligne300("/home/u/shots"));
  EXPECT_EQ(o.Caption(), gLng089);
  EXPECT_EQ(o.BackColor(), main.colour);
  EXPECT_EQ(o.TextTouche2.Top(), o.TextTouche1.Top() + o.TextTouche1.Height() + 30);
  EXPECT_EQ(o.LabTfen.Top(), o.TextTouche4.Top());
  EXPECT_EQ(o.Check1[7].Top(), o.Check1[0].Top() + 7 * 300);
  EXPECT_EQ(gParams, avant);
  EXPECT_EQ(main.saves, 0);
  EXPECT_EQ(main.rectangleHidden, 0) << "the record has the handles on";
}

TEST_F(OptionsDialog, ARecordWithTheHandlesOffHidesTheOverlaysRectangleAtLoad) {
  EnregParams e(gParams);
  e.set(EnregParams::RectAjust, "0");
  gParams = e.texte();
  dlg();
  EXPECT_EQ(main.rectangleHidden, 1);
  // Ticking does nothing at once; unticking hides it again, even before OK.
  dlg().Check1[6].setValue(1);
  EXPECT_EQ(main.rectangleHidden, 1);
  dlg().Check1[6].setValue(0);
  EXPECT_EQ(main.rectangleHidden, 2);
  dlg().Check1[3].setValue(1);
  EXPECT_EQ(main.rectangleHidden, 2);
}

TEST_F(OptionsDialog, OkWritesTheRecordRefreshesTheGlobalsAndHides) {
  gOptChk0 = 0;
  gFormatBmp = 0;
  main.ticked = true;
  Options& o = dlg();
  o.Show();
  o.TextTouche1.setText("K");
  o.Check1[0].setValue(1);  // waits for the next start
  o.Check1[1].setValue(1);
  o.Check1[2].setValue(1);
  o.Check1[3].setValue(1);
  o.Check1[7].setValue(0);
  o.SlidQual.setValue(9);
  o.Slidtempo.setValue(10);
  o.Txtpref.setText("Pict");
  o.Txtinterval.setText("70000");
  o.TxtEdit.setText("/usr/bin/gimp");
  o.Text1.setText(Ligne300("/data/my  shots"));
  o.OKButton_Click();

  EXPECT_FALSE(o.Visible());
  EXPECT_TRUE(frmOptions.isLoaded()) << "hidden, not unloaded";
  ASSERT_EQ(main.saves, 1);
  const EnregParams e(gParams);
  EXPECT_EQ(gParams.size(), 300);
  EXPECT_EQ(main.savedParams[0], gParams) << "the new record is what was written";
  EXPECT_EQ(e.get(champ(93, 34)), "0640 480KMEFY 1119Pict0 9101065000");
  EXPECT_EQ(e.get(EnregParams::RepCapt), "/d/tempocapt123<====");
  EXPECT_EQ(main.interval, 65000);
  EXPECT_TRUE(main.on) << "periodic capture armed: the timer runs again";
  // Its text up to the arrow's first character, then the arrow's rest and the new folder.
  EXPECT_EQ(main.tooltip, "Save all --->    /data/my");

  EXPECT_EQ(gTouche1, "K");
  EXPECT_EQ(gQualJpg, 90);
  EXPECT_EQ(gGardeVisible, 1);
  EXPECT_EQ(gPrefixe, "Pict");
  EXPECT_EQ(gMemoSel, 0);
  EXPECT_EQ(gPasCopiePP, "1");
  EXPECT_DOUBLE_EQ(gTempo, 1.0);
  EXPECT_EQ(gEditeur, "/usr/bin/gimp");
  EXPECT_EQ(gNomExeEdit, "gimp");
  EXPECT_EQ(gRepSauve, "/data/my");
  EXPECT_EQ(gMesDocs, Ligne300("/data/my"));
  EXPECT_EQ(gRepSauvLigne, Ligne300("/data/my"));
  EXPECT_EQ(gOptChk0, 0) << "the 10-pixel snap takes effect at the next start";
  EXPECT_EQ(gFormatBmp, 0);
}

// The padded fields of the record show from their start, as the same boxes
// given the bare texts, and OK keeps the folder exactly.
TEST_F(OptionsDialog, PaddedBoxesShowTheirStartAndOkKeepsTheFolder) {
  const QString dossier = QString::fromUtf8("/home/u/my shots \u00e9t\u00e9");
  gRepSauvLigne = Ligne300(dossier);
  Options& o = dlg();
  o.Show();
  struct Box {
    vb::TextBox& box;
    QString padded, bare;
  };
  const Box boxes[] = {{o.Text1, Ligne300(dossier), dossier},
                       {o.TxtEdit, "mspaint" + blanks(143), "mspaint"}};
  for (const Box& b : boxes) {
    SCOPED_TRACE(b.box.Name().toStdString());
    ASSERT_EQ(b.box.Text(), b.padded);
    EXPECT_EQ(edit(b.box)->cursorPosition(), 0);
    const QImage atOpening = b.box.widget()->grab().toImage();
    b.box.setText(b.bare);
    EXPECT_EQ(b.box.widget()->grab().toImage(), atOpening) << "the first characters show";
    b.box.setText(b.padded);
  }

  o.OKButton_Click();
  ASSERT_EQ(main.saves, 1);
  EXPECT_EQ(o.Text1.Text(), Ligne300(dossier));
  EXPECT_EQ(gRepSauve, dossier);
  EXPECT_EQ(gRepSauvLigne, Ligne300(dossier));
  EXPECT_EQ(gMesDocs, Ligne300(dossier));
}

TEST_F(OptionsDialog, TheTooltipWithoutAnArrowGetsOnlyTheFolder) {
  main.tooltip = "Save all";
  dlg().Text1.setText("/srv/pics");
  dlg().OKButton_Click();
  EXPECT_EQ(main.tooltip, "-->    /srv/pics");
  EXPECT_EQ(gRepSauve, "/srv/pics");
}

TEST_F(OptionsDialog, ARefusedOkWritesNothingButPeriodicCaptureRunsAgain) {
  struct Case {
    const char* name;
    std::function<void(Options&)> edit;
    const QString* message;
  };
  const QString editeurLong = gLng090;
  const Case cases[] = {
      {"three-character prefix", [](Options& o) { o.Txtpref.setText("Cap"); }, &gLng066},
      {"box 5 as box 1", [](Options& o) { o.TextTouche5.setText("Z"); }, &gLng067},
      {"an emptied box", [](Options& o) { o.TextTouche3.setText(""); }, &gLng067},
      {"an editor path of 151 characters", [](Options& o) { o.TxtEdit.setText("/" + QString(150, u'x')); },
       &editeurLong},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    frmOptions.destroyNow();
    main = FakeMain();
    main.ticked = true;
    const QString avant = gParams;
    const QString prefixeAvant = gPrefixe;
    Options& o = dlg();
    o.Show();
    k.edit(o);
    testenv::dialogs().expectMsgBox(*k.message, vb::vbOK);
    o.OKButton_Click();
    testenv::dialogs().verify();
    ASSERT_FALSE(testenv::dialogs().shown().empty());
    EXPECT_EQ(testenv::dialogs().shown().back().icon, "exclamation");
    EXPECT_EQ(testenv::dialogs().shown().back().buttons, vb::vbExclamation);
    EXPECT_TRUE(o.Visible()) << "the dialog stays open";
    EXPECT_EQ(gParams, avant);
    EXPECT_EQ(gPrefixe, prefixeAvant);
    EXPECT_EQ(main.saves, 0);
    EXPECT_TRUE(main.on);
  }
}

TEST_F(OptionsDialog, CancelKeepsTheEditsForTheNextOpeningAndOkThenSavesThem) {
  Options& o = dlg();
  o.Show();
  o.Txtpref.setText("Snap");
  o.TextTouche4.setText("W");
  o.Check1[5].setValue(1);
  o.CdeAnnul_Click();
  EXPECT_FALSE(o.Visible());
  EXPECT_EQ(main.saves, 0);
  EXPECT_EQ(EnregParams(gParams).get(EnregParams::Prefixe), "Capt");

  Options& again = dlg();
  EXPECT_EQ(&again, &o) << "still loaded: no fresh load";
  again.Show();
  EXPECT_EQ(again.Txtpref.Text(), "Snap");
  EXPECT_EQ(again.TextTouche4.Text(), "W");
  EXPECT_EQ(again.Check1[5].Value(), 1);
  again.OKButton_Click();
  ASSERT_EQ(main.saves, 1);
  const EnregParams e(gParams);
  EXPECT_EQ(e.get(EnregParams::Prefixe), "Snap");
  EXPECT_EQ(e.get(EnregParams::Touche4), "W");
  EXPECT_EQ(e.get(EnregParams::NomHorod), "1");
  EXPECT_FALSE(main.on) << "periodic capture not armed: the timer stays off";

  // An unload drops the edits: the next load reads the record again.
  again.Txtpref.setText("Gone");
  vb::Unload(again);
  EXPECT_EQ(dlg().Txtpref.Text(), "Snap");
}

TEST_F(OptionsDialog, TheDialogsRecordReadsBackAtTheNextStart) {
  Options& o = dlg();
  o.TextTouche2.setText("P");
  o.Txtinterval.setText("0");
  o.Slidtempo.setValue(4);
  o.OKButton_Click();
  const QString ecrit = gParams;
  frmOptions.destroyNow();
  Options& relu = dlg();
  const ReglagesOptions r = relu.reglages();
  const ReglagesOptions attendu = ReglagesDeEnreg(EnregParams(ecrit));
  EXPECT_EQ(r.touches, attendu.touches);
  EXPECT_EQ(r.touches[1], "P");
  EXPECT_EQ(r.cases, attendu.cases);
  EXPECT_EQ(r.qualite, attendu.qualite);
  EXPECT_EQ(r.tempo, 4);
  EXPECT_EQ(r.prefixe, attendu.prefixe);
  EXPECT_EQ(r.intervalle, "00000");
  EXPECT_EQ(r.editeur, attendu.editeur);
  EXPECT_EQ(main.interval, 0);
}

// ---------------------------------------------------------------- keys in the boxes

TEST_F(OptionsDialog, HotkeyBoxesTakeDigitsAndLettersFromRealKeys) {
  Options& o = dlg();
  o.Show();
  vb::TextBox& box = o.TextTouche3;  // "E"
  // A letter cannot be typed over another one (one character at most).
  QTest::keyClick(edit(box), Qt::Key_End);
  typeText(box, "k");
  EXPECT_EQ(box.Text(), "E");

  struct Case {
    const char* typed;
    const char* shown;
  };
  const Case cases[] = {{"q", "Q"}, {"0", "Q"}, {" ", "Q"}, {"#", "Q"}, {"[", "Q"}, {"\xC3\xA9", "Q"},
                        {"7", "7"}, {"z", "Z"}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.typed);
    selectAll(box);
    typeText(box, QString::fromUtf8(k.typed));
    EXPECT_EQ(box.Text(), k.shown);
  }
  // Backspace empties the box; OK then refuses it.
  QTest::keyClick(edit(box), Qt::Key_End);
  QTest::keyClick(edit(box), Qt::Key_Backspace);
  EXPECT_EQ(box.Text(), "");
  testenv::dialogs().expectMsgBox(gLng067, vb::vbOK);
  o.OKButton_Click();
  testenv::dialogs().verify();

  // A letter another box holds is taken by the box; OK refuses the pair.
  typeText(box, "f");
  EXPECT_EQ(box.Text(), "F");
  testenv::dialogs().expectMsgBox(gLng067, vb::vbOK);
  o.OKButton_Click();
  testenv::dialogs().verify();
  EXPECT_EQ(main.saves, 0);
}

TEST_F(OptionsDialog, APasteWithoutAKeyPutsBackWhatTheLastTypedBoxHeld) {
  Options& o = dlg();
  o.Show();
  selectAll(o.TextTouche1);
  typeText(o.TextTouche1, "k");  // the previous value is now "Z", from box 1
  o.TextTouche4.setText("#");    // as a paste into box 4 would
  EXPECT_EQ(o.TextTouche4.Text(), "Z");
}

TEST_F(OptionsDialog, ThePrefixAndIntervalBoxesDropWhatTheyCannotHold) {
  Options& o = dlg();
  o.Show();
  o.Txtpref.setText("");
  typeText(o.Txtpref, "ab/c\\de");
  EXPECT_EQ(o.Txtpref.Text(), "abcde");
  o.Txtinterval.setText("");
  typeText(o.Txtinterval, "1a2-3.4");
  EXPECT_EQ(o.Txtinterval.Text(), "1234");
  o.OKButton_Click();
  EXPECT_EQ(EnregParams(gParams).get(EnregParams::Prefixe), "abcd");
  EXPECT_EQ(EnregParams(gParams).get(EnregParams::Intervalle), "01234");
  EXPECT_EQ(main.interval, 1234);
}

// ---------------------------------------------------------------- browse buttons

TEST_F(OptionsDialog, TheFolderBrowseTakesTheFolderOfTheNameChosen) {
  main.on = true;
  Options& o = dlg();
  o.Show();
  testenv::dialogs().expectFileDialog(1, "", QString("/data/new shots/Capture"));
  o.Cdeparcourir_Click();
  testenv::dialogs().verify();
  EXPECT_EQ(o.Text1.Text(), "/data/new shots");
  EXPECT_EQ(o.Cdlgparc.InitDir(), "/home/u/shots");
  EXPECT_TRUE(main.on) << "the periodic timer runs again";

  // Cancelled: the box keeps its text and the timer is back.
  testenv::dialogs().expectFileDialog(1, "", std::nullopt);
  o.Cdeparcourir_Click();
  testenv::dialogs().verify();
  EXPECT_EQ(o.Text1.Text(), "/data/new shots");
  EXPECT_TRUE(main.on);

  o.OKButton_Click();
  EXPECT_EQ(gRepSauve, "/data/new shots");
  EXPECT_EQ(gRepSauvLigne, Ligne300("/data/new shots"));
}

TEST_F(OptionsDialog, TheEditorBrowseTakesTheWholePath) {
  Options& o = dlg();
  o.Show();
  testenv::dialogs().expectFileDialog(1, "", QString("/usr/local/bin/krita"));
  o.CdeParcEdit_Click();
  testenv::dialogs().verify();
  EXPECT_EQ(o.TxtEdit.Text(), "/usr/local/bin/krita");
  EXPECT_TRUE(o.Cdlgparc.Flags() & vb::cdlOFNFileMustExist);
  EXPECT_FALSE(main.on) << "off before, off after";
  testenv::dialogs().expectFileDialog(1, "", std::nullopt);
  o.CdeParcEdit_Click();
  testenv::dialogs().verify();
  EXPECT_EQ(o.TxtEdit.Text(), "/usr/local/bin/krita");
  o.OKButton_Click();
  EXPECT_EQ(gNomExeEdit, "krita");
  EXPECT_EQ(EnregParams(gParams).get(EnregParams::Editeur), QString("/usr/local/bin/krita").leftJustified(150));
}
