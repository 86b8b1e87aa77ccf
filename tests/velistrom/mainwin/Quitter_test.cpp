// Quitting: the question about unsaved captures, the clean-up of the run's
// capture folder, the stored selection size, the end of the desktop session,
// the tray codes (the program ending on a signal: EndOfRun_test).
#include "velistrom/core/Ressources.h"
#include "velistrom/mainwin/Quitter.h"

#include "platform/Tray.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menu.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Runtime.h"
#include "tests/platform/forms/TestForms.h"  // readable QString values in failures
#include "tests/velistrom/ShippedTexts.h"
#include "tests/support/ReadOnlyFolder.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"
#include "velistrom/dialogs/FrmSortie.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/mainwin/Fcam.h"
#include "velistrom/mainwin/Flistimages.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/core/Params.h"
#include "velistrom/mainwin/frmMain.h"
#include "velistrom/overlay/FrmFull.h"
#include "velistrom/startup/LangLoader.h"
#include "velistrom/startup/Splash.h"
#include "velistrom/startup/frmTip.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <linux/capability.h>
#include <csignal>
#include <optional>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

QStringList files(const QString& dir) { return QDir(dir).entryList(QDir::Files | QDir::System | QDir::Hidden, QDir::Name); }

QString settingsLine1() {
  QFile f(gDossAppli + "/params.txt");
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll()).section("\r\n", 0, 0);
}

// The scripted boxes, with something run while the first box of a kind is up
// (as the hotkey poll runs under a message box).
class UnderBoxService : public vb::DialogService {
 public:
  QString trigger;
  std::function<void()> during;
  int msgBox(const QString& prompt, int buttons, const QString& title) override {
    if (during && prompt.contains(trigger)) std::exchange(during, nullptr)();
    return testenv::dialogs().msgBox(prompt, buttons, title);
  }
  std::optional<QString> inputBox(const QString& p, const QString& t, const QString& d) override {
    return testenv::dialogs().inputBox(p, t, d);
  }
  std::optional<QString> fileDialog(int kind, const vb::CommonDialog& d) override {
    return testenv::dialogs().fileDialog(kind, d);
  }
  bool printerDialog(vb::CommonDialog& d) override { return testenv::dialogs().printerDialog(d); }
};

// A fresh account with the shipped language files and pictures, and the main
// window loaded as the banner's closing loads it.
class Quit : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testsupport::textesLivres());
    capt::resetList();
    gQuitter = false;
    gAgrandi = false;
    gHautImg = 0;
    gLargImg = 0;
    gRepCapt.clear();
    gParams.clear();
    gRepSauvLigne.clear();
    gRepSauve.clear();
  }
  void TearDown() override {
    for (vb::DefaultInstanceBase* d : std::initializer_list<vb::DefaultInstanceBase*>{
             &frmMain, &frmTip, &fcam, &flistimages, &frmFull, &frmSortie})
      d->destroyNow();
    vb::setDialogService(&testenv::dialogs());
    vb::setPopupMenuHook(nullptr);
    core::setDossierRessources(QString());
    mainwin::setSortieApresEchecParams(nullptr);
    mainwin::setAttenteFinSession(nullptr);
    capt::resetList();
    gQuitter = false;
    gMemoSel = 0;
    testenv::dialogs().verify();
  }

  FrmMain& load() {
    FrmMain& m = frmMain();
    for (vb::Timer* t : {&m.Timderoul, &m.Timlabdeb, &m.TimCurs, &m.TimerUnload, &m.Timsplash}) t->setEnabled(false);
    EXPECT_TRUE(QFileInfo(gRepCapt).isDir());
    gRepSauve = testenv::home() + "/Saved";
    EXPECT_TRUE(QDir().mkpath(gRepSauve));
    gFormatBmp = 1;
    gMemoSel = 0;
    m.MnuEnAuto.setChecked(false);
    m.MnuCaptper.setChecked(false);
    return m;
  }

  // A capture through the list itself (its row and its temporary bitmap).
  void add(FrmMain& m, QColor colour) {
    m.Picture2.Move(0, 0, 40 * 15, 30 * 15);
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(colour);
    m.Picture2.setPicture(img);
    gLargImg = 40 * 15;
    gModeCapt = "z";
    const int before = gNbCapt;
    m.GestVignettes(m.Picture2);
    ASSERT_EQ(gNbCapt, before + 1);
  }
  QStringList temps() const {
    QStringList out;
    for (int i = 1; i <= gNbCapt; ++i) out << gTabNomCapt[i];
    return out;
  }
};

// ---------------------------------------------------------------- quitprog

TEST_F(Quit, WithNoCapturesEndsWithoutAQuestionAndRemovesTheFolder) {
  FrmMain& m = load();
  const QString folder = gRepCapt;
  m.quitprog();
  EXPECT_TRUE(vb::programEnded());
  EXPECT_FALSE(QFileInfo::exists(folder));
  EXPECT_TRUE(gQuitter);
  EXPECT_EQ(frmMain.existing(), nullptr);
  EXPECT_EQ(flistimages.existing(), nullptr);
  EXPECT_EQ(fcam.existing(), nullptr);
}

TEST_F(Quit, TheAnswerDecidesWhatIsSavedAndWhatGoes) {
  struct Case {
    const char* name;
    std::optional<int> answer;  // nullopt: no question (every capture saved)
    int formatBmp;
    const char* savedSuffix;    // the extension of the files written by the quit
    int savedByQuit;
    bool ends;
  };
  const Case cases[] = {
      {"yes, JPEG", vb::vbYes, 0, ".jpg", 2, true},
      {"yes, BMP", vb::vbYes, 1, ".bmp", 2, true},
      {"no", vb::vbNo, 1, "", 0, true},
      {"cancel", vb::vbCancel, 1, "", 0, false},
      {"all saved before", std::nullopt, 1, "", 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    vb::resetFormsForTests();
    SetUp();
    FrmMain& m = load();
    gRepSauve = testenv::home() + "/Saved_" + QString::number(&c - cases);
    ASSERT_TRUE(QDir().mkpath(gRepSauve));
    gFormatBmp = c.formatBmp;
    add(m, Qt::red);
    add(m, Qt::blue);
    if (!c.answer) {
      int ok = -1;
      m.EnregistrerTout(ok, 1, "bmp");
      ASSERT_EQ(files(gRepSauve).size(), 2);
    }
    const QStringList savedBefore = files(gRepSauve);
    const QString folder = gRepCapt;
    const QStringList tmp = temps();
    m.MnuCaptper.setChecked(true);  // periodic capture armed: Cancel must bring it back
    m.TimPeriod.setEnabled(true);

    if (c.answer) testenv::dialogs().expectMsgBox(gLng115, *c.answer);
    m.quitprog();
    testenv::dialogs().verify();
    if (c.answer) {
      const auto& shown = testenv::dialogs().shown();
      ASSERT_FALSE(shown.empty());
      EXPECT_EQ(shown.back().title, gLng116);
      EXPECT_EQ(shown.back().buttons, vb::vbYesNoCancel | vb::vbQuestion);
    }

    EXPECT_EQ(vb::programEnded(), c.ends);
    QStringList written = files(gRepSauve);
    for (const QString& f : savedBefore) written.removeAll(f);
    EXPECT_EQ(written.size(), c.savedByQuit);
    for (const QString& f : written) EXPECT_TRUE(f.endsWith(c.savedSuffix)) << f.toStdString();
    for (const QString& t : tmp) EXPECT_EQ(QFile::exists(folder + "/" + t), !c.ends) << t.toStdString();
    EXPECT_EQ(QFileInfo(folder).isDir(), !c.ends);
    if (!c.ends) {
      ASSERT_NE(frmMain.existing(), nullptr);
      EXPECT_TRUE(m.TimPeriod.Enabled());
      EXPECT_FALSE(m.EnQuitprog);
      EXPECT_FALSE(gQuitter);
      EXPECT_EQ(gNbCapt, 2);
    } else {
      EXPECT_EQ(frmMain.existing(), nullptr);
    }
  }
}

TEST_F(Quit, AFailedSaveKeepsTheProgramAndTheCaptures) {
  FrmMain& m = load();
  add(m, Qt::green);
  const QString tmp = gRepCapt + "/" + gTabNomCapt[1];
  m.MnuCaptper.setChecked(true);
  m.TimPeriod.setEnabled(true);
  ASSERT_TRUE(QDir(gRepSauve).removeRecursively());
  testenv::dialogs().expectMsgBox(gLng115, vb::vbYes);
  testenv::dialogs().expectMsgBox(gLng117, vb::vbOK);
  m.quitprog();
  testenv::dialogs().verify();
  EXPECT_FALSE(vb::programEnded());
  ASSERT_NE(frmMain.existing(), nullptr);
  EXPECT_TRUE(QFile::exists(tmp));
  EXPECT_FALSE(m.TimPeriod.Enabled());  // periodic capture stays stopped
  EXPECT_FALSE(m.EnQuitprog);
  // The next quit asks again and can still end the run.
  testenv::dialogs().expectMsgBox(gLng115, vb::vbNo);
  m.quitprog();
  EXPECT_TRUE(vb::programEnded());
  EXPECT_FALSE(QFile::exists(tmp));
}

TEST_F(Quit, ASecondQuitUnderTheQuestionDoesNothing) {
  FrmMain& m = load();
  add(m, Qt::green);
  UnderBoxService service;
  service.trigger = gLng115;
  service.during = [&] {
    m.quitprog();  // no second question, no end while the first one waits
    EXPECT_FALSE(vb::programEnded());
    EXPECT_NE(frmMain.existing(), nullptr);
  };
  vb::setDialogService(&service);
  testenv::dialogs().expectMsgBox(gLng115, vb::vbCancel);
  m.quitprog();
  testenv::dialogs().verify();
  EXPECT_EQ(testenv::dialogs().shown().size(), 1u);
  EXPECT_FALSE(vb::programEnded());
}

TEST_F(Quit, TheCloseBoxRunsTheSameQuit) {
  FrmMain& m = load();
  m.Show();
  add(m, Qt::green);
  testenv::dialogs().expectMsgBox(gLng115, vb::vbCancel);
  m.widget()->close();
  testenv::dialogs().verify();
  ASSERT_NE(frmMain.existing(), nullptr);  // cancelled: the window stays
  EXPECT_TRUE(m.Visible());
  EXPECT_FALSE(vb::programEnded());

  testenv::dialogs().expectMsgBox(gLng115, vb::vbNo);
  m.widget()->close();
  testenv::dialogs().verify();
  EXPECT_TRUE(vb::programEnded());
  EXPECT_EQ(frmMain.existing(), nullptr);
}

TEST_F(Quit, TheSelectionSizeIsStoredWhenTheOptionIsSet) {
  struct Case {
    const char* name;
    int memoSel;
    bool overlayLoaded;
    int wPx, hPx;
    const char* expected;  // characters 93-100 of line 1 after the quit
  };
  const Case cases[] = {
      {"1280 x 720", 1, true, 1280, 720, "12800720"},
      {"small", 1, true, 7, 45, "00070045"},
      {"option off", 0, true, 1280, 720, nullptr},
      {"overlay never opened", 1, false, 0, 0, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    vb::resetFormsForTests();
    SetUp();
    load();
    const QString before = settingsLine1();
    ASSERT_EQ(before.size(), 300);
    gMemoSel = c.memoSel;
    if (c.overlayLoaded) {
      FrmFull& f = frmFull();
      f.rectsel.setWidth(c.wPx * 15);
      f.rectsel.setHeight(c.hPx * 15);
    }
    frmMain().quitprog();
    EXPECT_TRUE(vb::programEnded());
    EXPECT_EQ(frmFull.existing(), nullptr);
    const QString after = settingsLine1();
    if (c.expected) {
      EXPECT_EQ(after.mid(92, 8), c.expected);
      EXPECT_EQ(after.left(92) + after.mid(100), before.left(92) + before.mid(100));
    } else {
      EXPECT_EQ(after, before);
    }
  }
}

TEST(QuitRecord, TheSelectionSizeNeverSpillsIntoTheNextFields) {
  const QString record = EnregParams::creation().texte();
  struct Case {
    double w, h;
    const char* digits;
  };
  const Case cases[] = {{1280, 720, "12800720"}, {12000, 4320, "99994320"}, {-3, 0.4, "00000000"}, {99.5, 100.5, "01000101"}};
  for (const Case& c : cases) {
    const QString r = mainwin::ParamsAvecSelection(record, c.w, c.h);
    ASSERT_EQ(r.size(), 300);
    EXPECT_EQ(r.mid(92, 8), c.digits) << c.w << " x " << c.h;
    EXPECT_EQ(r.left(92) + r.mid(100), record.left(92) + record.mid(100));
  }
}

TEST_F(Quit, ASettingsWriteFailureAtQuitIsReportedAndTheQuitGoesOn) {
  FrmMain& m = load();
  add(m, Qt::green);
  const QString tmp = gRepCapt + "/" + gTabNomCapt[1];
  int secondQuits = 0;
  mainwin::setSortieApresEchecParams([&] { ++secondQuits; });
  gMemoSel = 1;
  frmFull().rectsel.setWidth(300 * 15);
  const QString before = settingsLine1();
  {
    testsupport::ReadOnlyFolder ro(gDossAppli);
    testenv::dialogs().expectMsgBox(gLng115, vb::vbNo);
    testenv::dialogs().expectMsgBox(gTxtLng[125], vb::vbNo);
    m.quitprog();
    testenv::dialogs().verify();
  }
  EXPECT_EQ(secondQuits, 0);
  EXPECT_TRUE(vb::programEnded());
  EXPECT_FALSE(QFile::exists(tmp));
  EXPECT_EQ(settingsLine1(), before);  // the old file stays whole
}

// ---------------------------------------------------------------- the capture folder

TEST(QuitFolder, OnlyOurOwnFilesGoAndNothingOutsideTheFolder) {
  const QString home = testenv::home();
  const QString folder = home + "/tempocapt";
  ASSERT_TRUE(QDir().mkpath(folder + "/Captprov_sub"));
  writeFile(home + "/Captprov_outside.bmp", "keep");
  writeFile(folder + "/Captprov_103045001.bmp", "ours");
  writeFile(folder + "/Captprov_103045002.bmp", "ours");
  writeFile(folder + "/photo.jpg", "not ours");
  ASSERT_TRUE(QFile::link(home + "/Captprov_outside.bmp", folder + "/Captprov_link.bmp"));

  const QStringList names = {"Captprov_103045001.bmp", "Captprov_103045002.bmp", "", "photo.jpg",
                             "../Captprov_outside.bmp", "Captprov_/../../Captprov_outside.bmp",
                             "Captprov_sub", "Captprov_link.bmp", "Captprov_missing.bmp"};
  EXPECT_EQ(mainwin::SupprimerBitmapsTemp(folder, names), 3);
  EXPECT_EQ(files(folder), QStringList{"photo.jpg"});
  EXPECT_TRUE(QFile::exists(home + "/Captprov_outside.bmp"));  // the link went, not its target
  EXPECT_TRUE(QFileInfo(folder + "/Captprov_sub").isDir());

  EXPECT_FALSE(mainwin::SupprimerDossierCaptVide(folder));  // other things remain
  EXPECT_TRUE(QFile::exists(folder + "/photo.jpg"));
  ASSERT_TRUE(QFile::remove(folder + "/photo.jpg"));
  ASSERT_TRUE(QDir().rmdir(folder + "/Captprov_sub"));
  EXPECT_TRUE(mainwin::SupprimerDossierCaptVide(folder));
  EXPECT_FALSE(QFileInfo::exists(folder));

  // No folder known: nothing is touched, wherever the process runs.
  const QString cwd = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(home));
  EXPECT_EQ(mainwin::SupprimerBitmapsTemp(QString(), {"Captprov_outside.bmp"}), 0);
  EXPECT_FALSE(mainwin::SupprimerDossierCaptVide(QString()));
  QDir::setCurrent(cwd);
  EXPECT_TRUE(QFile::exists(home + "/Captprov_outside.bmp"));
}

// ---------------------------------------------------------------- the session end

TEST_F(Quit, SessionEndWithNoCapturesEndsAtOnce) {
  load();
  const QString folder = gRepCapt;
  bool waited = false;
  mainwin::setAttenteFinSession([&](double) { waited = true; });
  vb::EndSession();
  EXPECT_TRUE(vb::programEnded());
  EXPECT_FALSE(waited);
  EXPECT_EQ(frmSortie.existing(), nullptr);
  EXPECT_FALSE(QFileInfo::exists(folder));  // it was empty
  EXPECT_TRUE(testenv::dialogs().shown().empty());
}

TEST_F(Quit, SessionEndSavesWithoutAskingShowsTheNoticeAndEnds) {
  FrmMain& m = load();
  gFormatBmp = 0;
  add(m, Qt::red);
  add(m, Qt::blue);
  const QString folder = gRepCapt;
  const QStringList tmp = temps();
  std::vector<double> waits;
  bool noticeShown = false;
  mainwin::setAttenteFinSession([&](double s) {
    waits.push_back(s);
    FrmSortie* notice = frmSortie.existing();
    noticeShown = notice && notice->Visible() && notice->Label1.Caption() == gLng134;
    EXPECT_FALSE(vb::programEnded());  // the end comes after the wait
    vb::Wait(0.05);
  });
  vb::EndSession();
  EXPECT_TRUE(testenv::dialogs().shown().empty());  // nothing asked
  EXPECT_EQ(waits, std::vector<double>{3.0});
  EXPECT_TRUE(noticeShown);
  EXPECT_EQ(frmSortie.existing(), nullptr);
  EXPECT_TRUE(vb::programEnded());
  const QStringList saved = files(gRepSauve);
  ASSERT_EQ(saved.size(), 2);
  for (const QString& f : saved) EXPECT_TRUE(f.endsWith(".jpg")) << f.toStdString();
  for (const QString& t : tmp) EXPECT_TRUE(QFile::exists(folder + "/" + t)) << t.toStdString();
}

TEST_F(Quit, SessionEndWithNothingWrittenShowsNoNoticeAndKeepsTheCaptures) {
  FrmMain& m = load();
  add(m, Qt::red);
  const QString tmp = gRepCapt + "/" + gTabNomCapt[1];
  ASSERT_TRUE(QDir(gRepSauve).removeRecursively());
  bool waited = false;
  mainwin::setAttenteFinSession([&](double) { waited = true; });
  testenv::dialogs().expectMsgBox(gLng117, vb::vbOK);
  vb::EndSession();
  testenv::dialogs().verify();
  EXPECT_FALSE(waited);
  EXPECT_EQ(frmSortie.existing(), nullptr);
  EXPECT_FALSE(vb::programEnded());  // the windows simply close with the session
  EXPECT_EQ(frmMain.existing(), nullptr);
  EXPECT_EQ(flistimages.existing(), nullptr);
  EXPECT_TRUE(QFile::exists(tmp));
}

// ---------------------------------------------------------------- tray

TEST(QuitTray, WhatEachCodeAsksFor) {
  using A = mainwin::ActionTray;
  struct Case {
    int code;
    A action;
  };
  const Case cases[] = {
      {platform::TrayIcon::kMouseMove, A::Aucune},      {platform::TrayIcon::kLeftDown, A::Aucune},
      {platform::TrayIcon::kLeftUp, A::Aucune},         {platform::TrayIcon::kLeftDoubleClick, A::BasculerFenetres},
      {platform::TrayIcon::kRightDown, A::MenuTray},    {platform::TrayIcon::kRightUp, A::Aucune},
      {518, A::Aucune},                                 {platform::TrayIcon::kMiddleDown, A::Aucune},
      {platform::TrayIcon::kMiddleUp, A::Aucune},       {0, A::Aucune},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(mainwin::ActionDuCodeTray(c.code), c.action) << c.code;
    EXPECT_EQ(mainwin::CodeTrayDeX(c.code * 15.0, 15), c.code);
  }
  EXPECT_EQ(mainwin::CodeTrayDeX(516 * 15.0 + 7, 15), 516);
  EXPECT_EQ(mainwin::CodeTrayDeX(1000, 0), 0);
}

TEST_F(Quit, TrayCodesOnTheWindow) {
  FrmMain& m = load();
  m.Show();
  add(m, Qt::red);
  std::vector<vb::Menu*> popped;
  vb::setPopupMenuHook([&](vb::Menu& menu) { popped.push_back(&menu); });
  auto tray = [&](int code) { m.Form_MouseMove(0, 0, float(code * 15), 0); };

  // Single clicks, button ups and the middle button do nothing.
  for (int code : {512, 513, 514, 517, 519, 520}) tray(code);
  EXPECT_TRUE(popped.empty());
  EXPECT_EQ(m.WindowState(), vb::vbNormal);

  tray(platform::TrayIcon::kRightDown);
  ASSERT_EQ(popped.size(), 1u);
  EXPECT_EQ(popped[0], &m.mnucaptu);

  // Double click: a normal window is minimised with the thumbnails, then restored.
  tray(platform::TrayIcon::kLeftDoubleClick);
  EXPECT_EQ(m.WindowState(), vb::vbMinimized);
  EXPECT_EQ(flistimages().WindowState(), vb::vbMinimized);
  tray(platform::TrayIcon::kLeftDoubleClick);
  EXPECT_EQ(m.WindowState(), vb::vbNormal);
  EXPECT_EQ(flistimages().WindowState(), vb::vbNormal);
  EXPECT_TRUE(m.Visible());
  EXPECT_TRUE(flistimages().Visible());

  // A window hidden in the normal state comes back minimised.
  m.setVisible(false);
  flistimages().setVisible(false);
  tray(platform::TrayIcon::kLeftDoubleClick);
  EXPECT_TRUE(m.Visible());
  EXPECT_TRUE(flistimages().Visible());
  EXPECT_EQ(m.WindowState(), vb::vbMinimized);
}

TEST_F(Quit, APointerMoveOverTheWindowIsNoTrayClick) {
  FrmMain& m = load();
  m.Show();
  std::vector<vb::Menu*> popped;
  vb::setPopupMenuHook([&](vb::Menu& menu) { popped.push_back(&menu); });
  m.LabDoubleClick.setVisible(true);
  // The pointer is on the window at pixel column 516.
  m.widget()->setAttribute(Qt::WA_UnderMouse, true);
  m.Form_MouseMove(0, 0, 516 * 15, 0);
  m.Form_MouseMove(0, 0, 515 * 15, 0);
  EXPECT_TRUE(popped.empty());
  EXPECT_EQ(m.WindowState(), vb::vbNormal);
  EXPECT_FALSE(m.LabDoubleClick.Visible());  // the move itself still tidies the toolbar
  m.widget()->setAttribute(Qt::WA_UnderMouse, false);
  m.Form_MouseMove(1, 0, 516 * 15, 0);  // a drag is never a tray message either
  EXPECT_TRUE(popped.empty());
}

}  // namespace
