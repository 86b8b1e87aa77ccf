// The dispatcher and the grabs of the main window on a fake desktop.
#include "platform/Pointer.h"
#include "tests/velistrom/mainwin/CaptureFixture.h"
#include "velistrom/core/Bureau.h"
#include "velistrom/mainwin/Commandes.h"
#include "velistrom/mainwin/Fcam.h"
#include "velistrom/overlay/FrmFull.h"
#include "platform/forms/Runtime.h"

#include <QColor>
#include <QDir>
#include <gtest/gtest.h>

namespace {

constexpr int kW = 320, kH = 200;  // the fake screen, pixels

// Every pixel tells where it is.
QRgb motif(int x, int y) { return qRgb(x % 256, y % 256, (x / 256) * 16 + (y / 256)); }

QImage ecranMotif(const QRect& r) {
  QImage img(r.size(), QImage::Format_RGB32);
  for (int y = 0; y < r.height(); ++y)
    for (int x = 0; x < r.width(); ++x) img.setPixel(x, y, motif(r.x() + x, r.y() + y));
  return img;
}

class Dispatcher : public captfix::CaptureList {
 protected:
  void SetUp() override {
    CaptureList::SetUp();
    gGardeVisible = 0;
    gMuet = 1;
    gParClavier = false;
    gHCurseur = platform::kNoPointer;
    gModeCapt.clear();
    gLargImg = gHautImg = 0;
    gLng143 = "No window found";
    gLng265 = "First a region capture";
    gTxtPasDeZone = "No region to take again";
    grabs = 0;
    fenetre = QRect(40, 30, 100, 60);
    auto& e = core::bureau();
    e.grab = [this](const QRect& r) {
      ++grabs;
      return ecranMotif(r);
    };
    e.ecran = [] { return QRect(0, 0, kW, kH); };
    e.fenetreActive = [this] { return fenetre; };
    e.drawPointer = [](QImage&, quint32, QPoint) { return false; };
    sons.clear();
    mainwin::setLecteurSonPourTests([this](const QString& f) {
      sons << f;
      return true;
    });
  }
  void TearDown() override {
    core::resetBureau();
    mainwin::setLecteurSonPourTests({});
    mainwin::montrerAPropos() = mainwin::MontrerAPropos;
    fcam.destroyNow();
    frmFull.destroyNow();
    CaptureList::TearDown();
  }

  int grabs = 0;
  QRect fenetre;
  QStringList sons;
};

}  // namespace

TEST_F(Dispatcher, PrologueAndPressedLook) {
  for (int i = 0; i <= 19; ++i) m().bouton[i].setBorderStyle(1);
  m().labdeb.setVisible(true);
  m().ExecBouton(4, 0);  // no overlay opened yet: only the prologue runs
  for (int i = 0; i <= 19; ++i) {
    const int expected = (i == 4 || i == 6 || i == 14 || i == 16 || i == 19) ? 1 : 0;
    EXPECT_EQ(m().bouton[i].BorderStyle(), expected) << "button " << i;
  }
  EXPECT_FALSE(m().labdeb.Visible());
  EXPECT_TRUE(m().Timbouton.Enabled());
  EXPECT_EQ(frmFull.existing(), nullptr) << "command 4 before any overlay does nothing";

  m().Timbouton.tick();
  EXPECT_EQ(m().bouton[4].BorderStyle(), 0) << "the pressed look ends";
  EXPECT_EQ(m().bouton[6].BorderStyle(), 1) << "a toggle keeps its state";
  EXPECT_FALSE(m().Timbouton.Enabled());
}

TEST_F(Dispatcher, HotkeyFlagFollowsTheCaller) {
  struct Case {
    int fromHotkey;
    bool expected;
  };
  for (const Case c : {Case{0, false}, Case{-1, true}, Case{1, true}, Case{0, false}}) {
    m().ExecBouton(20, c.fromHotkey);  // beyond the commands: the prologue alone
    EXPECT_EQ(gParClavier, c.expected) << c.fromHotkey;
  }
  m().bouton_Click(20);
  EXPECT_FALSE(gParClavier) << "a toolbar click is no hotkey";
}

TEST_F(Dispatcher, SecondGrabNeedsARegionCaptureFirst) {
  fl().Show();
  testenv::dialogs().expectMsgBox("First a region capture", vb::vbOK);
  m().ExecBouton(1, -1);
  testenv::dialogs().verify();
  EXPECT_EQ(testenv::dialogs().shown().back().icon.toStdString(), vb::iconName(vb::vbInformation).toStdString());
  EXPECT_FALSE(m().SecondeCaptOk);
  EXPECT_TRUE(fl().Visible()) << "nothing hidden";
  EXPECT_EQ(frmFull.existing(), nullptr) << "no overlay";
  EXPECT_EQ(grabs, 0);
}

TEST_F(Dispatcher, AboutBoxComesAfterThePeriodicTimerStopped) {
  m().TimPeriod.setInterval(5000);
  m().TimPeriod.setEnabled(true);
  std::optional<bool> timerAtShow;
  mainwin::montrerAPropos() = [&] { timerAtShow = m().TimPeriod.Enabled(); };
  m().bouton_Click(18);
  ASSERT_TRUE(timerAtShow.has_value());
  EXPECT_FALSE(*timerAtShow);
}

TEST_F(Dispatcher, ThumbnailToggleNeedsCaptures) {
  m().ExecBouton(16, 0);
  EXPECT_EQ(flistimages.existing(), nullptr) << "an empty list: nothing happens";
}

// The list and view commands reach the procedures of their own parts of the
// window; the toggles keep the border their procedure gives, the prologue
// notwithstanding.
TEST_F(Dispatcher, ListAndViewCommandsReachTheirProcedures) {
  add(Qt::red);
  add(Qt::green);
  add(Qt::blue);
  ASSERT_TRUE(fl().Visible());

  m().ExecBouton(16, 0);
  EXPECT_FALSE(fl().Visible());
  EXPECT_EQ(m().bouton[16].BorderStyle(), 1);
  m().ExecBouton(16, 0);
  EXPECT_TRUE(fl().Visible());
  EXPECT_EQ(m().bouton[16].BorderStyle(), 0);
  // Minimised (by the reduce command, say), the button brings it back whole.
  fl().setWindowState(vb::vbMinimized);
  m().ExecBouton(16, 0);
  EXPECT_TRUE(fl().Visible());
  EXPECT_EQ(fl().WindowState(), vb::vbNormal);
  EXPECT_EQ(m().bouton[16].BorderStyle(), 0);

  m().ExecBouton(14, 0);
  EXPECT_TRUE(m().Mnumulti.Checked());
  EXPECT_EQ(m().bouton[14].BorderStyle(), 1);
  m().ExecBouton(20, 0);  // the prologue alone leaves the toggle's border
  EXPECT_EQ(m().bouton[14].BorderStyle(), 1);
  m().ExecBouton(14, 0);
  EXPECT_FALSE(m().Mnumulti.Checked());
  EXPECT_EQ(m().bouton[14].BorderStyle(), 0);

  m().ExecBouton(15, 0);
  EXPECT_TRUE(gAgrandi);
  m().ExecBouton(15, 0);
  EXPECT_FALSE(gAgrandi);

  gNumCapt = 2;
  m().ExecBouton(8, 0);
  ASSERT_EQ(gNbCapt, 2) << "the current capture is deleted";
  EXPECT_EQ(thumbColour(2), QColor(Qt::blue));

  testenv::dialogs().expectMsgBox("Delete every capture?", vb::vbCancel);
  m().ExecBouton(9, 0);
  EXPECT_EQ(gNbCapt, 2) << "asked first";
  testenv::dialogs().expectMsgBox("Delete every capture?", vb::vbOK);
  m().ExecBouton(9, 0);
  EXPECT_EQ(gNbCapt, 0);
}

TEST_F(Dispatcher, WholeScreenJoinsTheList) {
  // The shutter unloads itself 300 ms after it shows: on a stepped clock it
  // stays until the test moves time on, however long the capture took.
  vb::setSteppedClock(QDateTime(QDate(2026, 3, 4), QTime(9, 0)));
  m().bouton_Click(2);
  EXPECT_EQ(grabs, 1);
  ASSERT_EQ(gNbCapt, 1);
  EXPECT_EQ(gTabMode[1].toStdString(), "e");
  EXPECT_EQ(gModeCapt.toStdString(), "e");
  EXPECT_EQ(gTabLargCapt[1], kW * 15);
  EXPECT_EQ(gTabHautCapt[1], kH * 15);
  EXPECT_EQ(m().Picture1.Picture(), ecranMotif(QRect(0, 0, kW, kH)));
  EXPECT_TRUE(m().mnuzoomX[2].Checked());
  EXPECT_FALSE(m().mnuzoomX[3].Checked());
  EXPECT_TRUE(sons.isEmpty()) << "muted";
  ASSERT_NE(fcam.existing(), nullptr) << "the shutter shows";
  EXPECT_TRUE(fcam.existing()->Timcam.Enabled());
  vb::stepClock(fcam.existing()->Timcam.Interval());
  EXPECT_EQ(fcam.existing(), nullptr) << "and goes by itself";
}

TEST_F(Dispatcher, ShutterSoundAndSelfUnload) {
  gMuet = 0;
  m().RideauPhoto();
  ASSERT_EQ(sons.size(), 1);
  EXPECT_TRUE(sons[0].endsWith("/camera.wav"));
  Fcam* cam = fcam.existing();
  ASSERT_NE(cam, nullptr);
  EXPECT_EQ(cam->Timcam.Interval(), 300);
  EXPECT_TRUE(cam->Timcam.Enabled());
  cam->Form_Activate();  // a late activation does not play it twice
  EXPECT_EQ(sons.size(), 1);
  cam->Timcam.tick();
  EXPECT_EQ(fcam.existing(), nullptr);
}

TEST_F(Dispatcher, NoWindowFoundIsReportedAndNothingAdded) {
  if (m().HautGrab == 0) m().HautGrab = 16200;
  fenetre = QRect();
  testenv::dialogs().expectMsgBox("No window found", vb::vbOK);
  m().bouton_Click(3);
  testenv::dialogs().verify();
  EXPECT_TRUE(m().FenetreVide);
  EXPECT_EQ(gNbCapt, 0);
  EXPECT_EQ(grabs, 0);
}

// The main window of these tests is never loaded, so it cannot show; the
// X11 tests watch it.
TEST_F(Dispatcher, GrabHidesOnlyTheVisibleListAndBringsItBack) {
  struct Case {
    bool listShown;
    int keep;
  };
  for (const Case c : {Case{true, 0}, Case{false, 0}, Case{true, 1}}) {
    gGardeVisible = c.keep;
    fl().setVisible(c.listShown);
    bool listDuring = true;
    core::bureau().grab = [&](const QRect& r) {
      listDuring = fl().Visible();
      return ecranMotif(r);
    };
    m().CapturTTbis(0);
    EXPECT_EQ(listDuring, c.listShown && c.keep != 0) << c.listShown << c.keep;
    EXPECT_EQ(fl().Visible(), c.listShown) << c.listShown << c.keep;
  }
}

TEST_F(Dispatcher, RepeatedRegionTakesTheNewestCapturesSizeAtTheLastCorner) {
  // The overlay's record of the last region: corner (10, 20), 40 x 30 pixels.
  gModeCapt = "z";
  gSelX = 10 * 15;
  gSelY = 20 * 15;
  // The newest capture of the list is a region of another size: its recorded
  // sizes decide the repeat's picture and the main window's size.
  add(Qt::red, 90, 70);
  gLargImg = 40 * 15;
  gHautImg = 30 * 15;
  if (m().HautGrab == 0) m().HautGrab = 16200;
  const int hautPlus = gTabHautPlus[1], pos = gTabPos[1];

  const QImage attendu = ecranMotif(QRect(11, 21, 90, 70));
  for (int round = 1; round <= 2; ++round) {
    m().Rafraichir();
    ASSERT_EQ(gNbCapt, 1 + round) << round;
    EXPECT_EQ(m().Picture2.Picture(), attendu) << round;
    EXPECT_EQ(gTabMode[gNbCapt].toStdString(), "z");
    EXPECT_EQ(gTabLargCapt[gNbCapt], 90 * 15) << round;
    EXPECT_EQ(gTabHautCapt[gNbCapt], 70 * 15) << round;
    if (m().WindowState() == vb::vbNormal && !gAgrandi) {
      EXPECT_EQ(m().Height(), hautPlus);
      EXPECT_EQ(m().Width(), pos);
    }
    EXPECT_EQ(gModeCapt.toStdString(), "z");
  }
}

// A window command that found no window takes nothing, so the region stays
// the one a repeat takes again.
TEST_F(Dispatcher, RepeatedRegionAfterAWindowCommandThatFoundNothing) {
  gModeCapt = "z";
  gSelX = 10 * 15;
  gSelY = 20 * 15;
  add(Qt::red, 40, 30);
  if (m().HautGrab == 0) m().HautGrab = 16200;
  fenetre = QRect();
  testenv::dialogs().expectMsgBox("No window found", vb::vbOK);
  m().bouton_Click(3);
  testenv::dialogs().verify();
  ASSERT_EQ(gNbCapt, 1);
  EXPECT_EQ(gModeCapt.toStdString(), "z");

  m().bouton_Click(5);
  ASSERT_EQ(gNbCapt, 2) << "the region is taken again, not refused";
  EXPECT_EQ(m().Picture2.Picture(), ecranMotif(QRect(11, 21, 40, 30)));
}

TEST_F(Dispatcher, RepeatedRegionRefusedWithoutARegion) {
  struct Case {
    const char* what;
    double larg;
    const char* newestKind;  // nullptr: empty list
  };
  for (const Case c : {Case{"no region yet", 0, nullptr}, Case{"newest is a whole screen", 600, "e"}}) {
    capt::resetList();
    if (c.newestKind) {
      add(Qt::blue);
      gTabMode[gNbCapt] = c.newestKind;
    }
    const int before = gNbCapt;
    gModeCapt = "z";
    gLargImg = c.larg;
    gHautImg = c.larg;
    m().TimPeriod.setInterval(5000);
    m().TimPeriod.setEnabled(true);
    testenv::dialogs().expectMsgBox("No region to take again", vb::vbOK);
    m().Rafraichir();
    testenv::dialogs().verify();
    EXPECT_EQ(gNbCapt, before) << c.what;
    EXPECT_FALSE(m().TimPeriod.Enabled()) << c.what << ": the periodic capture stops";
    EXPECT_EQ(grabs, 0) << c.what;
  }
}

TEST_F(Dispatcher, RepeatOfAWholeScreenAddsAnEqualCapture) {
  m().bouton_Click(2);
  ASSERT_EQ(gNbCapt, 1);
  const QImage premier = m().Picture1.Picture();
  m().bouton_Click(5);
  ASSERT_EQ(gNbCapt, 2);
  EXPECT_EQ(gTabMode[2].toStdString(), "e");
  EXPECT_EQ(m().Picture1.Picture(), premier);
  QImage a(gRepCapt + "/" + gTabNomCapt[1]), b(gRepCapt + "/" + gTabNomCapt[2]);
  ASSERT_FALSE(a.isNull());
  EXPECT_EQ(a.convertToFormat(QImage::Format_RGB32), b.convertToFormat(QImage::Format_RGB32));
}

TEST_F(Dispatcher, WaitLetsTimersRun) {
  vb::Timer t(m(), "t", 20, true);
  int ticks = 0;
  t.onTimer = [&] { ++ticks; };
  m().Attente(0.15f);
  EXPECT_GE(ticks, 3);
  m().Attente(-1);  // returns at once
  m().Attente(std::numeric_limits<float>::quiet_NaN());
}

TEST_F(Dispatcher, RefusedOverlayBringsTheHiddenWindowsBack) {
  fl().Show();
  core::bureau().bufferLimit = 1;  // the overlay cannot freeze the screen
  testenv::dialogs().expectMsgBox("Not enough memory", vb::vbOK);
  m().ExecBouton(0, 0);
  testenv::dialogs().verify();
  core::resetBureau();
  EXPECT_TRUE(fl().Visible());
  ASSERT_NE(frmFull.existing(), nullptr);
  EXPECT_FALSE(frmFull->Visible());
  EXPECT_EQ(fcam.existing(), nullptr) << "no shutter";
  EXPECT_FALSE(m().AnnulPossible);
}

TEST_F(Dispatcher, HoverImagesAndTheSaveAllHint) {
  auto face = [](int n) {
    QImage img(24, 24, QImage::Format_RGB32);
    img.fill(QColor(n, 0, 0));
    return img;
  };
  for (int n = 1; n <= 40; ++n) m().ImageList1.Add(face(n));
  auto red = [&](int i) { return qRed(m().bouton[i].Picture().pixel(0, 0)); };

  m().bouton_MouseMove(11, 0, 0, 10, 10);
  EXPECT_EQ(red(11), 32) << "hover image of button 11";
  EXPECT_EQ(red(10), 11) << "the others show their normal image";
  EXPECT_TRUE(m().LabDoubleClick.Visible());
  EXPECT_EQ(m().LabDoubleClick.Left(), m().Width() - m().LabDoubleClick.Width() - 300);
  EXPECT_EQ(m().LabDoubleClick.Top(), m().bouton[11].Top() + m().bouton[11].Height() + 50);

  for (int k = 0; k < 3; ++k) {  // staying over the same button keeps its hover image
    m().bouton_MouseMove(11, 0, 0, 12, 12);
    EXPECT_EQ(red(11), 32);
  }
  m().bouton_MouseMove(3, 0, 0, 10, 10);
  EXPECT_EQ(red(3), 24);
  EXPECT_EQ(red(11), 12) << "back to its normal image";
  EXPECT_FALSE(m().LabDoubleClick.Visible());

  m().bouton_MouseMove(25, 0, 0, 10, 10);  // a filler tile
  for (int i = 0; i <= 19; ++i) EXPECT_EQ(red(i), i + 1) << i;
}

// Only to look at the saved files: whatever is chosen, nothing is opened or saved.
TEST_F(Dispatcher, DoubleClickOnSaveAllShowsTheSaveFolder) {
  gRepSauve = testenv::home() + "/Captures";
  ASSERT_TRUE(QDir().mkpath(gRepSauve));
  gLng240 = "Saved captures";
  add(Qt::red);
  for (int i : {0, 10, 12, 19}) m().bouton_DblClick(i);  // no dialog: a box here fails the test
  testenv::dialogs().expectFileDialog(1, "Saved captures", gRepSauve + "/old.jpg");
  m().bouton_DblClick(11);
  testenv::dialogs().verify();
  EXPECT_EQ(m().CDlg1.InitDir(), gRepSauve);
  EXPECT_TRUE(m().CDlg1.Filter().startsWith("Tous fichiers (*.*)"));
  testenv::dialogs().expectFileDialog(1, "Saved captures", std::nullopt);
  m().bouton_DblClick(11);  // cancelled: ends quietly
  EXPECT_EQ(gNbCapt, 1);
  EXPECT_TRUE(gTabSauv[1].isEmpty());
  EXPECT_EQ(QDir(gRepSauve).entryList(QDir::Files).size(), 0);
}

TEST_F(Dispatcher, RollOutThenStartHintArmsTheHotkeys) {
  m().bouton[0].setWidth(360);
  m().setWidth(7000);
  int ticks = 0;
  while (m().Width() < 22 * 360 && ticks < 100) {
    m().Timderoul_Timer();
    ++ticks;
  }
  EXPECT_EQ(ticks, 4) << "300 twips a tick: 7000 to 8200";
  m().Timderoul.setEnabled(true);
  m().Timderoul_Timer();
  EXPECT_FALSE(m().Timderoul.Enabled());
  EXPECT_TRUE(m().Timlabdeb.Enabled());
  EXPECT_TRUE(m().mnufichier.Visible());

  m().Timerclav.setEnabled(false);
  m().Timlabdeb_Timer();
  EXPECT_TRUE(m().Timerclav.Enabled()) << "the first tick arms the hotkey poll";
  EXPECT_EQ(m().labdeb.Left(), 5900);
  int n = 1;
  while (m().Timlabdeb.Enabled() && n < 200) {
    m().Timlabdeb_Timer();
    ++n;
  }
  EXPECT_EQ(n, 59);
  EXPECT_EQ(m().labdeb.Left(), 100);
  EXPECT_EQ(m().PosLabdeb, 0);
}
