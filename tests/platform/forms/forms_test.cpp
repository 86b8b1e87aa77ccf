// Forms: default instances and the old lifecycle.
#include "TestForms.h"
#include "platform/forms/App.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/Wait.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDeadlineTimer>
#include <csignal>
#include <functional>
#include <new>
#include <stdexcept>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace testforms;

namespace {

// Ends a hung RunProgram; gone with the test, so it never fires in a later one.
struct SafetyNet {
  QTimer timer;
  SafetyNet() {
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    timer.start(5000);
  }
};

class Forms : public ::testing::Test {
 protected:
  void SetUp() override {
    log().clear();
    FormB::unloadInLoad = false;
  }
};

TEST_F(Forms, ReadingAControlLoadsTheForm) {
  EXPECT_FALSE(frmA.isLoaded());
  EXPECT_EQ(frmA.existing(), nullptr);  // existing() never loads
  EXPECT_EQ(frmA().lbl.Caption(), QString());
  EXPECT_TRUE(frmA.isLoaded());
  EXPECT_EQ(log(), QStringList{"FormA.Load"});
  frmA().pic.setWidth(3000);  // a second use does not load again
  EXPECT_EQ(log(), QStringList{"FormA.Load"});
  EXPECT_EQ(vb::loadedForms().size(), 1u);
  EXPECT_FALSE(frmA().Visible());  // loaded, not shown
}

TEST_F(Forms, UnloadResetsTheFormForItsNextUse) {
  frmA().counter = 5;
  frmA().lbl.setCaption("changed");
  EXPECT_TRUE(vb::Unload(frmA()));
  EXPECT_FALSE(frmA.isLoaded());
  EXPECT_EQ(log(), (QStringList{"FormA.Load", "FormA.QueryUnload1", "FormA.Unload"}));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(log().last(), "FormA.Terminate");
  EXPECT_EQ(frmA().counter, 0);
  EXPECT_EQ(frmA().lbl.Caption(), QString());
  EXPECT_EQ(log().count("FormA.Load"), 2);
}

TEST_F(Forms, QueryUnloadCanCancelAndTheCloseBoxIsModeZero) {
  frmA().Show();
  frmA().cancelQuery = 1;
  EXPECT_FALSE(vb::Unload(frmA()));
  EXPECT_TRUE(frmA.isLoaded());
  frmA().widget()->close();  // the user's close box
  EXPECT_TRUE(frmA.isLoaded());
  EXPECT_TRUE(log().contains("FormA.QueryUnload0"));
  EXPECT_FALSE(log().contains("FormA.Unload"));
  frmA().cancelQuery = 0;
  frmA().widget()->close();
  EXPECT_FALSE(frmA.isLoaded());
  EXPECT_EQ(log().last(), "FormA.Unload");
}

TEST_F(Forms, ShowAfterUnloadingItselfInLoadDoesNothing) {
  FormB::unloadInLoad = true;
  FormB& b = frmB();
  EXPECT_FALSE(b.isLoaded());
  b.Show();
  EXPECT_FALSE(b.widget()->isVisible());
  EXPECT_FALSE(frmB.isLoaded());
  EXPECT_EQ(log(), (QStringList{"FormB.Load", "FormB.QueryUnload1", "FormB.Unload"}));
  FormB::unloadInLoad = false;
  frmB().Show();  // the next use loads afresh
  EXPECT_TRUE(frmB().Visible());
}

TEST_F(Forms, ModalShowReturnsWhenTheFormHidesOrUnloads) {
  frmA().Show();
  QTimer::singleShot(30, [] { frmB().Hide(); });
  frmB().Show(vb::vbModal);
  EXPECT_TRUE(frmB.isLoaded());
  EXPECT_FALSE(frmB().Visible());
  EXPECT_FALSE(frmB().isShownModal());

  QTimer::singleShot(30, [] { vb::Unload(frmB()); });
  frmB().Show(vb::vbModal);
  EXPECT_FALSE(frmB.isLoaded());
  EXPECT_TRUE(log().contains("FormB.Unload"));
}

TEST_F(Forms, ModalFormBlocksOthersUntilDone) {
  bool sawModal = false;
  QTimer::singleShot(30, [&] {
    sawModal = frmB().isShownModal() && QApplication::activeModalWidget() == frmB().widget();
    vb::Unload(frmB());
  });
  frmB().Show(vb::vbModal);
  EXPECT_TRUE(sawModal);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(Forms, TheProgramEndsWithTheLastUnloadNotTheLastWindow) {
  frmA().Show();
  frmB().Show();
  bool ranAfterAllHidden = false;
  QTimer::singleShot(20, [] {
    frmA().Hide();
    frmB().widget()->hide();  // every window gone, both forms still loaded
  });
  QTimer::singleShot(120, [&] {
    ranAfterAllHidden = frmA.isLoaded() && frmB.isLoaded();
    vb::Unload(frmA());
  });
  QTimer::singleShot(200, [] { vb::Unload(frmB()); });
  SafetyNet net;
  EXPECT_EQ(vb::RunProgram(), 0);
  EXPECT_TRUE(ranAfterAllHidden);
  EXPECT_TRUE(vb::loadedForms().empty());
}

TEST_F(Forms, AHandlerMayUnloadTheLastFormAndShowAnother) {
  frmA().Show();
  bool bStillLoaded = false;
  QTimer::singleShot(20, [] {
    vb::Unload(frmA());  // no form loaded for a moment...
    vb::DoEvents();
    frmB().Show();       // ...but the handler goes on and shows the next one
  });
  QTimer::singleShot(150, [&] {
    bStillLoaded = frmB.isLoaded();
    vb::Unload(frmB());
  });
  SafetyNet net;
  EXPECT_EQ(vb::RunProgram(), 0);
  EXPECT_TRUE(bStillLoaded);
}

TEST_F(Forms, RunProgramWithNoFormReturnsAtOnce) { EXPECT_EQ(vb::RunProgram(), 0); }

TEST_F(Forms, EndStopsTheProgramWithoutUnloadEvents) {
  frmA().Show();
  QTimer::singleShot(20, [] { vb::End(); });
  SafetyNet net;
  EXPECT_EQ(vb::RunProgram(), 0);
  EXPECT_TRUE(vb::programEnded());
  EXPECT_FALSE(log().contains("FormA.Unload"));
}

TEST_F(Forms, SessionEndUnloadsWithModeTwo) {
  frmA().Show();
  frmB();
  vb::EndSession();
  EXPECT_TRUE(log().contains("FormA.QueryUnload2"));
  EXPECT_TRUE(log().contains("FormB.QueryUnload2"));
  EXPECT_TRUE(vb::loadedForms().empty());
}

TEST_F(Forms, GeometryIsInTwipsAndReadsBackAsWritten) {
  FormA& a = frmA();
  a.Move(1500, 750, 4800, 3600);
  EXPECT_EQ(a.Left(), 1500);
  EXPECT_EQ(a.Top(), 750);
  EXPECT_EQ(a.Width(), 4800);
  EXPECT_EQ(a.Height(), 3600);
  EXPECT_EQ(a.widget()->x(), 100);
  a.setWidth(1007);  // not a whole pixel: reads back as written
  EXPECT_EQ(a.Width(), 1007);
  a.widget()->resize(200, a.widget()->height());  // changed outside: follows the pixels
  EXPECT_EQ(a.Width(), 3000);
  EXPECT_DOUBLE_EQ(a.ScaleWidth(), 3000);
  a.setScaleMode(vb::vbPixels);
  EXPECT_DOUBLE_EQ(a.ScaleWidth(), 200);
  EXPECT_EQ(vb::Screen.TwipsPerPixelX(), 15);
  EXPECT_EQ(vb::Screen.Width(), QGuiApplication::primaryScreen()->geometry().width() * 15);
  EXPECT_THROW(a.setWidth(-15), vb::Error);
}

// Puts its height back whenever it is resized, as a list window fitted to its
// rows does.
class KeepsHeight : public vb::Form {
 public:
  KeepsHeight() : Form("KeepsHeight") {}
  void Form_Resize() override {
    ++resizes;
    if (Height() != wanted) setHeight(wanted);
  }
  int wanted = 4500, resizes = 0;
};
vb::DefaultInstance<KeepsHeight> frmKeeps;

// The scale a session asks Qt for becomes whole twips per device pixel.
TEST(ScreenScale, TheRequestedScaleGivesTheTwipsPerPixel) {
  struct Case {
    const char *scaleFactor, *screenFactors, *screen;
    int index;
    double scale;
    int twips;
  };
  const Case cases[] = {
      {"", "", "screen", 0, 1, 15},
      {"2", "", "screen", 0, 2, 8},  // 7.5, halves to even
      {"1.5", "", "screen", 0, 1.5, 10},
      {"1.25", "", "screen", 0, 1.25, 12},
      {"", "2", "screen", 0, 2, 8},
      {"2", "1.5", "screen", 0, 3, 5},  // both apply
      {"", "1;2", "screen", 1, 2, 8},  // by place in Qt's list
      {"", "DP-1=1;HDMI-1=2;", "HDMI-1", 0, 2, 8},  // by name
      {"", "DP-1=2", "HDMI-1", 0, 1, 15},  // another screen's
      {"abc", "x;-2;0", "screen", 0, 1, 15},  // unusable values ask nothing
      {"0.5", "", "screen", 0, 0.5, 30},
      {"40", "", "screen", 0, 40, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.scaleFactor) + " | " + c.screenFactors + " | " + c.screen);
    const double scale = vb::requestedScale(c.scaleFactor, c.screenFactors, c.screen, c.index);
    EXPECT_DOUBLE_EQ(scale, c.scale);
    EXPECT_EQ(vb::twipsPerPixelAtScale(scale), c.twips);
  }
}

TEST_F(Forms, ASizeSetAgainFromResizeIsTheOneThatHolds) {
  KeepsHeight& f = frmKeeps();
  f.Move(1500, 1500, 6000, 4500);
  f.Show();
  f.resizes = 0;
  f.wanted = 6000;
  f.setHeight(5250);
  EXPECT_EQ(f.widget()->frameGeometry().height(), 400);
  EXPECT_EQ(f.Height(), 6000) << "the size first asked was written over the one set from Resize";
  EXPECT_EQ(f.Width(), 6000);
  EXPECT_EQ(f.resizes, 2);
  vb::Unload(f);
}

TEST_F(Forms, ShowGivesResizeThenActivate) {
  frmA().Show();
  const QStringList& l = log();
  ASSERT_TRUE(testsupport::waitFor([&] { return l.contains("FormA.Activate"); }));
  EXPECT_EQ(l, (QStringList{"FormA.Load", "FormA.Resize", "FormA.Activate"}));
  frmA().Show();  // already active: no second Activate
  QTest::qWait(20);
  EXPECT_EQ(l.count("FormA.Activate"), 1);
}

// The old designer titled a form with its name; here a form its code leaves
// untitled bears the program's title, whatever it is when the form is made.
TEST_F(Forms, AFormLeftUntitledBearsTheProgramsTitle) {
  const QString program = QCoreApplication::applicationName();
  ASSERT_FALSE(program.isEmpty());
  EXPECT_EQ(frmA().Caption(), program);
  EXPECT_EQ(frmA().widget()->windowTitle(), program);
  vb::App.setTitle("Postelle");
  EXPECT_EQ(frmC().Caption(), "Postelle");
  EXPECT_EQ(frmA().Caption(), program) << "a form keeps the title it was made with";
  vb::App.setTitle(QString());
  frmC().setCaption(QString());
  EXPECT_EQ(frmC().Caption(), QString()) << "a title the code empties stays empty";
}

TEST_F(Forms, WindowStateAndCaption) {
  FormA& a = frmA();
  a.setCaption("Collection");
  EXPECT_EQ(a.Caption(), "Collection");
  a.Show();
  a.setWindowState(vb::vbMinimized);
  EXPECT_EQ(a.WindowState(), vb::vbMinimized);
  a.setWindowState(vb::vbNormal);
  EXPECT_EQ(a.WindowState(), vb::vbNormal);
}

}  // namespace

namespace {

TEST_F(Forms, SessionEndSignalsEndTheSessionWithModeTwo) {
  vb::installSessionEndHandlers();
  for (const int sig : {SIGTERM, SIGHUP, SIGINT}) {
    SCOPED_TRACE(sig);
    log().clear();
    frmA().Show();
    std::raise(sig);
    QTRY_VERIFY_WITH_TIMEOUT(log().contains("FormA.QueryUnload2"), 3000);
    EXPECT_FALSE(frmA.isLoaded());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

// An exception out of a handler shows the run-time error box and leaves the
// program running: the form stays loaded and its next tick comes.
TEST_F(Forms, AHandlerThatThrowsShowsTheRunTimeErrorBoxAndTheProgramGoesOn) {
  struct Case {
    std::function<void()> fault;
    QString box;
  };
  const Case cases[] = {
      {[] { throw vb::Error(vb::vbErrTypeMismatch); }, "Run-time error '13':\n\nType mismatch"},
      {[] { throw std::runtime_error("disk gone"); }, "Run-time error '51':\n\nInternal error: disk gone"},
      {[] { throw std::bad_alloc(); }, "Run-time error '7':\n\nOut of memory"},
      {[] { throw 42; }, "Run-time error '51':\n\nInternal error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box.toStdString());
    FormC& f = frmC();
    int ticks = 0;
    f.tim.onTimer = [&] {
      if (++ticks == 1) c.fault();
    };
    f.tim.setInterval(10);
    testenv::dialogs().expectMsgBox(c.box, vb::vbOK);
    f.tim.setEnabled(true);
    EXPECT_TRUE(testsupport::waitFor([&] { return ticks >= 2; }, 3000)) << "the timer stopped after the fault";
    f.tim.setEnabled(false);
    testenv::dialogs().verify();
    ASSERT_FALSE(testenv::dialogs().shown().empty());
    EXPECT_EQ(testenv::dialogs().shown().back().icon, "critical");
    EXPECT_TRUE(frmC.isLoaded());
  }
}

TEST_F(Forms, MousePointerNumbersAndTheCustomIcon) {
  struct Case { int number; Qt::CursorShape shape; };
  const Case cases[] = {{vb::vbArrow, Qt::ArrowCursor},          {vb::vbSizePointer, Qt::SizeAllCursor},
                        {vb::vbSizeNESW, Qt::SizeBDiagCursor},   {vb::vbSizeNS, Qt::SizeVerCursor},
                        {vb::vbSizeNWSE, Qt::SizeFDiagCursor},   {vb::vbSizeWE, Qt::SizeHorCursor},
                        {vb::vbSizeAll, Qt::SizeAllCursor},      {vb::vbCrosshair, Qt::CrossCursor},
                        {vb::vbHourglass, Qt::WaitCursor},       {vb::vbCustom, Qt::ArrowCursor}};
  for (const Case& c : cases) EXPECT_EQ(vb::cursorForPointer(c.number).shape(), c.shape) << c.number;
  FormA& a = frmA();
  a.pic.setMousePointer(vb::vbSizeAll);
  EXPECT_EQ(a.pic.widget()->cursor().shape(), Qt::SizeAllCursor);
  QImage icon(32, 32, QImage::Format_ARGB32);
  icon.fill(Qt::red);
  a.pic.setMouseIcon(icon, QPoint(3, 4));
  a.pic.setMousePointer(vb::vbCustom);
  EXPECT_EQ(a.pic.widget()->cursor().shape(), Qt::BitmapCursor);
  EXPECT_EQ(a.pic.widget()->cursor().hotSpot(), QPoint(3, 4));
  a.setMousePointer(vb::vbHourglass);
  EXPECT_EQ(a.widget()->findChild<QWidget*>()->cursor().shape(), Qt::WaitCursor);
  vb::Screen.setMousePointer(vb::vbHourglass);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  vb::Screen.setMousePointer(0);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
