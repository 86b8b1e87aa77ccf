// Start-up of the main window: run stamps, the run's capture folder, the
// toolbar, texts and menus, the settings file and its failures, placement.
#include "velistrom/core/Ressources.h"
#include "velistrom/mainwin/frmMain.h"

#include "platform/Tray.h"
#include "platform/forms/App.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Runtime.h"
#include "tests/velistrom/ShippedTexts.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"
#include "tests/support/ReadOnlyFolder.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/mainwin/Fcam.h"
#include "velistrom/mainwin/Flistimages.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/startup/LangLoader.h"
#include "velistrom/startup/Splash.h"
#include "velistrom/startup/frmTip.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

QStringList readLines(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll()).split("\r\n", Qt::SkipEmptyParts);
}

using testsupport::ReadOnlyFolder;

// A fresh account with the shipped language files and pictures.
class MainStart : public ::testing::Test {
 protected:
  void SetUp() override {
    loadLanguage("ConstPRJF");
    capt::resetList();
    gAgrandi = false;
    gHautImg = 0;
    gLargImg = 0;
    gRepCapt.clear();
    gParams.clear();
    gRepSauvLigne.clear();
    gRepSauve.clear();
  }
  void TearDown() override {
    destroyAll();
    core::setDossierRessources(QString());
    mainwin::setSortieApresEchecParams(nullptr);
    QLocale::setDefault(QLocale::c());
    testenv::dialogs().verify();
  }
  static void destroyAll() {
    frmMain.destroyNow();
    frmTip.destroyNow();
    fcam.destroyNow();
    flistimages.destroyNow();
  }
  void loadLanguage(const char* code) {
    ASSERT_TRUE(testsupport::textesLivres(code));
  }
  // Loads the main window, as the banner's closing does.
  FrmMain& load() {
    FrmMain& m = frmMain();
    // The start-up timers would otherwise run in any later event processing.
    for (vb::Timer* t : {&m.Timderoul, &m.Timlabdeb, &m.TimCurs, &m.TimerUnload, &m.Timsplash}) t->setEnabled(false);
    return m;
  }
};

// ---------------------------------------------------------------- run stamps

TEST(RunStamp, TimeAndDateTexts) {
  struct Case {
    const char* time;
    const char* heure;
  };
  const Case heures[] = {
      {"10:30:45", "1030450"},     {"09:05:07", "0905070"},     {"9:05:07", "9050700"},
      {"10:30:45 AM", "1030450"},  {"9:05:07 PM", "905070P"},   {"00:00:00", "0000000"},
      {"23:59:59", "2359590"},     {"", "0000000"},
  };
  for (const Case& c : heures) EXPECT_EQ(mainwin::HeureSessDe(c.time), c.heure) << c.time;

  struct DateCase {
    const char* date;
    const char* sess;
  };
  const DateCase dates[] = {
      {"09/12/2026", "20261209"}, {"9/12/2026", "20261209"}, {"9/3/2026", "20260309"},
      {"31/01/2027", "20270131"}, {"01/1/2000", "20000101"},
  };
  for (const DateCase& c : dates) EXPECT_EQ(mainwin::DateSessDe(c.date), c.sess) << c.date;
}

TEST_F(MainStart, RunStampsComeFromTheClockWhateverTheLocale) {
  struct Case {
    QDateTime when;
    const char* locale;
    const char* heure;
    const char* date;
  };
  const Case cases[] = {
      {QDateTime(QDate(2026, 3, 9), QTime(9, 5, 7)), "de_DE", "0905070", "20260309"},
      {QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58)), "en_US", "2359580", "20261231"},
      {QDateTime(QDate(2027, 1, 1), QTime(0, 0, 0)), "ar_EG", "0000000", "20270101"},
  };
  for (const Case& c : cases) {
    QLocale::setDefault(QLocale(c.locale));
    vb::setWallClock([w = c.when] { return w; });
    FrmMain& m = load();
    EXPECT_EQ(m.HeureSess, c.heure) << c.locale;
    EXPECT_EQ(m.DateSess, c.date) << c.locale;
    // The folder name is plain ASCII digits too.
    EXPECT_TRUE(QRegularExpression("/tempocapt(\\d{3})*$").match(gRepCapt).hasMatch()) << gRepCapt.toStdString();
    destroyAll();
  }
}

// ---------------------------------------------------------------- capture folder

TEST(CaptureFolder, SuffixesAccumulateWhileTheNameIsTaken) {
  QTemporaryDir dir;
  const QString base = dir.path() + "/tempocapt";
  auto sequence = [](std::vector<double> v) {
    return [v, i = size_t(0)]() mutable { return v[i++ % v.size()]; };
  };
  // Nothing there: the plain name.
  EXPECT_EQ(mainwin::DossierCaptLibre(base, sequence({0.5})), base);
  ASSERT_TRUE(QDir().mkpath(base));
  EXPECT_EQ(mainwin::DossierCaptLibre(base, sequence({0.4175, 0.0325})), base + "417");
  // A leftover file (not a folder) with the first candidate's name counts too.
  writeFile(base + "417", "x");
  EXPECT_EQ(mainwin::DossierCaptLibre(base, sequence({0.4175, 0.0325})), base + "417032");
  // The extremes of the random numbers: 000 and 998.
  EXPECT_EQ(mainwin::DossierCaptLibre(base, sequence({0.0})), base + "000");
  EXPECT_EQ(mainwin::DossierCaptLibre(base, sequence({0.99999})), base + "998");
  // A dangling link is taken as well: nothing could be made under its name.
  ASSERT_TRUE(QFile::link(dir.path() + "/nowhere", base + "555"));
  EXPECT_EQ(mainwin::DossierCaptLibre(base, sequence({0.5556, 0.1})), base + "555099");
}

TEST(CaptureFolder, SeededRandomNumbersGiveRepeatableNames) {
  QTemporaryDir dir;
  const QString base = dir.path() + "/tempocapt";
  auto seed = [] {
    vb::Rnd(-1);
    vb::Randomize(4242);
  };
  seed();
  QStringList digits;
  for (int i = 0; i < 3; ++i) digits << QString::number(int(std::floor(vb::Rnd() * 999))).rightJustified(3, u'0');
  ASSERT_TRUE(QDir().mkpath(base));
  ASSERT_TRUE(QDir().mkpath(base + digits[0]));
  seed();
  EXPECT_EQ(mainwin::DossierCaptLibre(base, [] { return double(vb::Rnd()); }), base + digits[0] + digits[1]);
}

TEST_F(MainStart, LeftoverFolderIsLeftAloneAndTheRunGetsAFreshEmptyOne) {
  const QString old = gDossAppli + "/tempocapt";
  ASSERT_TRUE(QDir().mkpath(old));
  writeFile(old + "/Captprov_123456701.bmp", "old");
  load();
  EXPECT_TRUE(QRegularExpression("^" + QRegularExpression::escape(old) + "(\\d{3})+$").match(gRepCapt).hasMatch())
      << gRepCapt.toStdString();
  EXPECT_TRUE(QFileInfo(gRepCapt).isDir());
  EXPECT_TRUE(QDir(gRepCapt).isEmpty());
  EXPECT_TRUE(QFile::exists(old + "/Captprov_123456701.bmp"));
}

// ---------------------------------------------------------------- toolbar

TEST_F(MainStart, ToolbarGeometryPicturesAndTooltips) {
  // The save folder comes from line 2 of the settings file.
  const QString save = testenv::home() + "/My captures";
  ASSERT_TRUE(QDir().mkpath(save));
  writeFile(gDossAppli + "/params.txt",
            (QString(92, u'X') + "04200260ZMEFY00007Capt111001010000    mspaint" + QString(143, u' ') +
             "c:\\tempocapt<=======\r\n" + save.leftJustified(300, u' ') + "\r\n")
                .toUtf8());
  FrmMain& m = load();

  ASSERT_EQ(m.bouton.Count(), 101);
  const int w0 = m.bouton[0].Width();
  for (int i = 1; i <= 100; ++i) {
    SCOPED_TRACE(i);
    const vb::PictureBox& prev = m.bouton[i - 1];
    const vb::PictureBox& b = m.bouton[i];
    const int gap = i < 20 ? 50 : i == 20 ? 40 : -5;
    EXPECT_EQ(b.Left(), prev.Left() + prev.Width() + gap);
    EXPECT_EQ(b.Top(), m.bouton[0].Top());
    EXPECT_EQ(b.Width(), w0);
    EXPECT_TRUE(b.Visible());
  }

  // Forty pictures, keyed, in order; button i shows picture i + 1.
  ASSERT_EQ(m.ImageList1.Count(), 40);
  EXPECT_EQ(m.ImageList1.ListImages(1).Key, "Clicher");
  EXPECT_EQ(m.ImageList1.ListImages(19).Key, "A propos");
  EXPECT_EQ(m.ImageList1.ListImages(21).Key, "Clicher2");
  EXPECT_EQ(m.ImageList1.ListImages(40).Key, "Quitter2");
  EXPECT_EQ(m.ImageList1.ListImages("Supprimertout").Index, 10);
  EXPECT_EQ(m.ImageList1.ListImages(1).Picture.convertToFormat(QImage::Format_RGB32),
            QImage(testenv::binDir() + "/camera.bmp").convertToFormat(QImage::Format_RGB32));
  EXPECT_EQ(m.ImageList1.ListImages(40).Picture.convertToFormat(QImage::Format_RGB32),
            QImage(testenv::binDir() + "/closecx.bmp").convertToFormat(QImage::Format_RGB32));
  for (int i = 0; i < 20; ++i)
    EXPECT_EQ(m.bouton[i].Picture(), m.ImageList1.ListImages(i + 1).Picture) << i;
  const QImage tile = QImage(testenv::binDir() + "/toutbleu.bmp").convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(m.bouton[20].Picture().convertToFormat(QImage::Format_RGB32), tile);
  EXPECT_EQ(m.bouton[100].Picture().convertToFormat(QImage::Format_RGB32), tile);

  struct Tip {
    int button;
    QString text;
  };
  const Tip tips[] = {
      {0, gTxtLng[39]},  {1, gTxtLng[40]},  {10, gTxtLng[49]},
      {11, gTxtLng[50] + " --->    " + save},
      {18, gTxtLng[57]}, {19, gTxtLng[263]}, {20, QString()}, {100, QString()},
  };
  for (const Tip& t : tips) EXPECT_EQ(m.bouton[t.button].ToolTipText(), t.text) << t.button;
  for (int i = 0; i < 20; ++i) EXPECT_FALSE(m.bouton[i].ToolTipText().trimmed().isEmpty()) << i;
}

TEST_F(MainStart, MissingToolbarPictureIsNamedAndTheToolbarKeepsItsShape) {
  QTemporaryDir res;
  for (const QString& f : QDir(testenv::binDir()).entryList({"*.bmp", "*.png"})) {
    if (f != "savex.bmp") {
      ASSERT_TRUE(QFile::copy(testenv::binDir() + "/" + f, res.path() + "/" + f));
    }
  }
  core::setDossierRessources(res.path());
  testenv::dialogs().expectMsgBox("savex.bmp", vb::vbOK);
  FrmMain& m = load();
  EXPECT_EQ(m.bouton.Count(), 101);
  EXPECT_FALSE(m.bouton[10].Picture().isNull());
  EXPECT_TRUE(m.Timlabdeb.Interval() == 1);
}

// ---------------------------------------------------------------- texts and menus

std::vector<vb::Menu*> allMenus(FrmMain& m) {
  std::vector<vb::Menu*> out;
  std::function<void(vb::Menu&)> walk = [&](vb::Menu& menu) {
    out.push_back(&menu);
    for (vb::Menu* e : menu.entries()) walk(*e);
  };
  for (vb::Menu* top : {&m.mnufichier, &m.mnuedition, &m.mnuoutils, &m.mnuzoom, &m.mnucourriel, &m.mnuHelp,
                        &m.mnucaptu, &m.Mnuflott, &m.MnuRaff, &m.Mnured2})
    walk(*top);
  return out;
}

class MainTexts : public MainStart, public ::testing::WithParamInterface<const char*> {};

TEST_P(MainTexts, CaptionLabelsAndEveryMenuCaptionFromTheLanguage) {
  loadLanguage(GetParam());
  FrmMain& m = load();
  EXPECT_EQ(m.Caption(), "Velistrom - " + gTxtLng[210]);
  EXPECT_EQ(m.labdeb.Caption(), gTxtLng[1]);
  EXPECT_EQ(m.LabDoubleClick.Caption(), gTxtLng[239]);
  EXPECT_EQ(m.Picture1.ToolTipText(), gTxtLng[0]);
  EXPECT_EQ(m.Labdeja.Caption(), gTxtLng[172]);
  EXPECT_EQ(m.Labdeja2.Caption(), gTxtLng[172]);

  const std::vector<vb::Menu*> menus = allMenus(m);
  EXPECT_EQ(menus.size(), 52u);
  for (vb::Menu* menu : menus) EXPECT_FALSE(menu->Caption().trimmed().isEmpty()) << menu->Name().toStdString();

  struct Expect {
    vb::Menu* menu;
    QString caption;
  };
  const Expect expected[] = {
      {&m.mnufichier, gTxtLng[2]},      {&m.Mnuquitter, gTxtLng[6]},    {&m.MnuEditPaint, gTxtLng[32]},
      {&m.mnuFabGif, gTxtLng[256]},     {&m.MnuChgLang, gTxtLng[214]},  {&m.Tutosite, gTxtLng[187] + gTxtLng[201]},
      {&m.Mnuquitt, gTxtQuitter},       {&m.mnuveille, gTxtLng[105]},   {&m.MnuFdelcap, gTxtLng[12]},
      {&m.Mnured2, gTxtLng[196]},       {&m.mnuzoom, "&Zoom +/-"},      {&m.mnuzoomX[3], "-> 100%"},
      {&m.MnuOuvDos, "Ouvrir dossier "},
  };
  for (const Expect& e : expected) EXPECT_EQ(e.menu->Caption(), e.caption) << e.menu->Name().toStdString();
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, MainTexts, ::testing::Values("ConstPRJF", "ConstPRJA"));

TEST_F(MainStart, MenuStateAfterStartUp) {
  FrmMain& m = load();
  for (vb::Menu* v : {&m.mnufichier, &m.mnuedition, &m.mnuoutils, &m.mnuHelp, &m.mnuzoom, &m.mnucourriel})
    EXPECT_TRUE(v->Visible()) << v->Name().toStdString();
  for (vb::Menu* h : {&m.mnucaptu, &m.Mnuflott, &m.MnuRaff, &m.Mnured2})
    EXPECT_FALSE(h->Visible()) << h->Name().toStdString();
  for (vb::Menu* menu : allMenus(m)) {
    // (A hidden holder reports Enabled False through Qt, whatever was set.)
    if (menu->Visible()) {
      EXPECT_TRUE(menu->Enabled()) << menu->Name().toStdString();
    }
    EXPECT_EQ(menu->Checked(), menu == &m.mnuzoomX[3]) << menu->Name().toStdString();
  }
}

TEST_F(MainStart, OpeningHandlersFollowTheCaptureCount) {
  FrmMain& m = load();
  for (int count : {0, 1}) {
    gNbCapt = count;
    m.mnufichier_Click();
    m.mnuedition_Click();
    for (vb::Menu* e : {&m.Mnuenregistrer, &m.Mnuenregistrertout, &m.Mnuimprimer, &m.mnuretour, &m.mnucopier,
                        &m.mnurafraichir, &m.Mnudelcap, &m.Mnudeltout, &m.MnuEditPaint})
      EXPECT_EQ(e->Enabled(), count != 0) << e->Name().toStdString() << " count " << count;
    EXPECT_TRUE(m.Mnuquitter.Enabled());
    EXPECT_TRUE(m.mnuttscreen.Enabled());
  }
  gNbCapt = 0;
  // The open-folder entry needs a saved file's path in the caption.
  m.Mnuflott_Click();
  EXPECT_FALSE(m.MnuOuvDos.Enabled());
  m.setCaption(m.Caption() + " " + testenv::home() + "/Capt_1.jpg");
  m.Mnuflott_Click();
  EXPECT_FALSE(m.MnuOuvDos.Enabled()) << "a path without the saved-file separator is not one";
  m.setCaption("Capture 1/1 > " + testenv::home() + "/Capt_1.jpg");
  m.Mnuflott_Click();
  EXPECT_TRUE(m.MnuOuvDos.Enabled());
}

TEST_F(MainStart, SwitchesOfTheToolsMenu) {
  FrmMain& m = load();
  m.Mnumulti_Click();
  EXPECT_TRUE(m.Mnumulti.Checked());
  EXPECT_EQ(m.bouton[14].BorderStyle(), 1);
  m.Mnumulti_Click();
  EXPECT_FALSE(m.Mnumulti.Checked());
  EXPECT_EQ(m.bouton[14].BorderStyle(), 0);

  // Switching automatic saving on says so once; switching it off is silent.
  testenv::dialogs().expectMsgBox(gTxtLng[135], vb::vbOK);
  m.MnuEnAuto_Click();
  EXPECT_TRUE(m.MnuEnAuto.Checked());
  m.MnuEnAuto_Click();
  EXPECT_FALSE(m.MnuEnAuto.Checked());
  testenv::dialogs().verify();

  // The language is asked again at the next start; the entry works once.
  const QString spoken = gDossAppli + "/spoken.txt";
  ASSERT_TRUE(QFile::exists(spoken));
  m.MnuChgLang_Click();
  EXPECT_FALSE(QFile::exists(spoken));
  EXPECT_TRUE(m.MnuChgLang.Checked());
  EXPECT_FALSE(m.MnuChgLang.Enabled());
  m.MnuChgLang_Click();  // already gone: nothing to report
}

TEST_F(MainStart, StandbyInvertsEachWindowOnItsOwn) {
  FrmMain& m = load();
  for (bool mainShown : {true, false})
    for (bool listShown : {true, false}) {
      SCOPED_TRACE(std::to_string(mainShown) + std::to_string(listShown));
      m.setVisible(mainShown);
      flistimages().setVisible(listShown);
      m.mnuveille.trigger();
      EXPECT_EQ(m.Visible(), !mainShown);
      EXPECT_EQ(flistimages().Visible(), !listShown);
      EXPECT_EQ(m.mnuveille.Caption(), gTxtLng[105]);
    }
}

TEST_F(MainStart, ThumbnailWindowMinimisedByOtherMeansPressesItsButton) {
  FrmMain& m = load();
  flistimages().Show();
  m.bouton[16].setBorderStyle(0);
  flistimages().setWindowState(vb::vbMinimized);
  EXPECT_EQ(m.bouton[16].BorderStyle(), 1);
}

// ---------------------------------------------------------------- settings

TEST_F(MainStart, FreshAccountGetsItsSettingsFileAndStartsFully) {
  gDossAppli.clear();  // as when the banner could not settle it
  QDir(testenv::dataHome() + "/Velistrom").removeRecursively();
  tips::EcrireAfficherAuDemarrage(true);
  FrmMain& m = frmMain();
  const QString params = testenv::dataHome() + "/Velistrom/params.txt";
  const QStringList lines = readLines(params);
  ASSERT_EQ(lines.size(), 2);
  EXPECT_EQ(lines[0].size(), 300);
  EXPECT_EQ(lines[1].size(), 300);
  EXPECT_EQ(m.TimPeriod.Interval(), 10000);
  EXPECT_FALSE(m.TimPeriod.Enabled());
  EXPECT_TRUE(m.isLoaded());
  EXPECT_TRUE(m.Timlabdeb.Enabled());  // the hint, and with it the hotkey poll, starts
  EXPECT_FALSE(m.Picture2.Visible()) << "an empty view: nothing covers the hint";
  // Two panels: "share", enabled once there is a capture, then "mosaiq".
  ASSERT_EQ(m.StatusBar1.PanelCount(), 2);
  EXPECT_EQ(m.StatusBar1.Panels(1).Key(), "share");
  EXPECT_EQ(m.StatusBar1.Panels(1).Text(), "< Click (Partager/Share)");
  EXPECT_FALSE(m.StatusBar1.Panels(1).Enabled());
  EXPECT_EQ(m.StatusBar1.Panels(2).Key(), "mosaiq");
  EXPECT_TRUE(QFileInfo(gRepCapt).isDir());
  EXPECT_EQ(gNbCapt, 0);
  EXPECT_TRUE(m.PremDialogue);
  EXPECT_FALSE(m.Visible());  // shown by the banner's closing
  EXPECT_TRUE(fcam.isLoaded());
  EXPECT_FALSE(fcam.existing()->Visible());
  // Without a tray host (offscreen) the run goes on without an icon.
  EXPECT_EQ(m.trayIcon(), nullptr);
  ASSERT_NE(frmTip.existing(), nullptr);
  EXPECT_TRUE(frmTip.existing()->Visible());
  EXPECT_FALSE(frmTip.existing()->isShownModal());
  // A light tint: red 245, green and blue each 245 to 255.
  const vb::Color tint = m.BackColor();
  EXPECT_EQ(tint & 0xFF, 245);
  for (int shift : {8, 16}) {
    EXPECT_GE((tint >> shift) & 0xFF, 245) << shift;
    EXPECT_LE((tint >> shift) & 0xFF, 255) << shift;
  }
}

TEST_F(MainStart, PeriodicIntervalIsTakenFromTheSettings) {
  writeFile(gDossAppli + "/params.txt",
            (QString(92, u'X') + "04200260ZMEFY00007Capt111001005000    mspaint" + QString(143, u' ') +
             "c:\\tempocapt<=======\r\n" + QString(300, u' ') + "\r\n")
                .toUtf8());
  EXPECT_EQ(load().TimPeriod.Interval(), 5000);
}

TEST_F(MainStart, DamagedSettingsAtStartEndTheStartWithoutAWindow) {
  writeFile(gDossAppli + "/params.txt", "only one line\r\n");
  testenv::dialogs().expectMsgBox(gTxtLng[125], vb::vbNo);
  frmMain();
  testenv::dialogs().verify();
  EXPECT_TRUE(vb::programEnded());
  EXPECT_FALSE(frmMain.isLoaded());
  EXPECT_FALSE(QFileInfo(gDossAppli + "/tempocapt").exists());
  // No answers the question: the file stays as it was.
  QFile f(gDossAppli + "/params.txt");
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), "only one line\r\n");
  EXPECT_EQ(frmMain.existing(), nullptr);
}

TEST_F(MainStart, CaptureFolderThatCannotBeMadeIsReportedAndEndsTheStart) {
  // The settings are there and readable; only the capture folder cannot be made.
  load();
  destroyAll();
  {
    ReadOnlyFolder ro(gDossAppli);
    testenv::dialogs().expectMsgBox("tempocapt", vb::vbOK);
    frmMain();
    testenv::dialogs().verify();
  }
  EXPECT_TRUE(vb::programEnded());
  EXPECT_EQ(frmMain.existing(), nullptr);
}

TEST_F(MainStart, SettingsWriteFailureWhileRunningGoesThroughTheQuitPath) {
  FrmMain& m = load();
  int quits = 0;
  mainwin::setSortieApresEchecParams([&] { ++quits; });
  const QByteArray before = [&] {
    QFile f(gDossAppli + "/params.txt");
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }();
  {
    ReadOnlyFolder ro(gDossAppli);
    for (int answer : {int(vb::vbNo), int(vb::vbYes)}) {
      testenv::dialogs().expectMsgBox(gTxtLng[125], answer);
      m.SavOptions();
      testenv::dialogs().verify();
    }
    EXPECT_EQ(quits, 2);
    EXPECT_FALSE(vb::programEnded());  // the quit path decides, not a silent end

    // Inside the quit path itself the failure is reported and quitprog goes on.
    m.EnQuitprog = true;
    testenv::dialogs().expectMsgBox(gTxtLng[125], vb::vbNo);
    m.SavOptions();
    testenv::dialogs().verify();
    EXPECT_EQ(quits, 2);
    m.EnQuitprog = false;
  }
  QFile f(gDossAppli + "/params.txt");
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), before);
  // Writable again: saved, nothing asked, no quit.
  m.SavOptions();
  EXPECT_EQ(quits, 2);
}

// ---------------------------------------------------------------- placement

TEST_F(MainStart, WindowIsSizedAroundThePictureAndFlushRight) {
  FrmMain& m = load();
  const int strip = 24 * m.bouton[0].Width();
  // Step 18 of the start: a 200-twip picture, never narrower than the strip.
  EXPECT_EQ(m.Height(), 2000);
  EXPECT_EQ(m.Width(), strip);
  EXPECT_EQ(m.Left(), vb::Screen.Width() - m.Width());
  EXPECT_EQ(m.Top(), 500);

  struct Case {
    int viewWidth;
    double pictureHeight;
    int width;
  };
  const Case cases[] = {{strip - 15, 3000, strip}, {strip, 3000, strip}, {strip + 15, 4500, strip + 15 + 180}};
  for (const Case& c : cases) {
    m.Picture2.setWidth(c.viewWidth);
    gHautImg = c.pictureHeight;
    m.PosDimRedMain();
    EXPECT_EQ(m.Width(), c.width) << c.viewWidth;
    EXPECT_EQ(m.Height(), int(c.pictureHeight) + 1800) << c.viewWidth;
    EXPECT_EQ(m.Left(), vb::Screen.Width() - m.Width()) << c.viewWidth;
  }

  // In the toolbar-only layout only the sizes to restore change.
  const QRect before(m.Left(), m.Top(), m.Width(), m.Height());
  gAgrandi = true;
  m.Picture2.setWidth(strip + 300);
  gHautImg = 999.6;
  m.PosDimRedMain();
  EXPECT_EQ(QRect(m.Left(), m.Top(), m.Width(), m.Height()), before);
  EXPECT_EQ(gHautRed, 2800);
  EXPECT_EQ(gLargRed, strip + 480);
}

}  // namespace
