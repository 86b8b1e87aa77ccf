// Timers with the old rules: Interval 0 never fires, 65535 at most, Enabled
// True on a running timer keeps its count, a new Interval restarts it, ticks
// run inside every event loop, and a busy handler is not re-entered; the
// stepped clock runs the same rules without real waiting.
#include "TestForms.h"

#include "platform/forms/MsgBox.h"
#include "tests/support/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace testforms;

namespace {

class TimerForm : public vb::Form {
 public:
  TimerForm() : Form("TimerForm") {}
  vb::Timer tim{*this, "tim", 0, false};
  vb::Timer other{*this, "other", 0, false};
};
vb::DefaultInstance<TimerForm> frmTimer;

TEST(Timers, IntervalZeroNeverFires) {
  vb::Timer& t = frmTimer().tim;
  int ticks = 0;
  t.onTimer = [&] { ++ticks; };
  t.setEnabled(true);
  EXPECT_TRUE(t.Enabled());
  EXPECT_FALSE(t.running());
  QTest::qWait(150);
  EXPECT_EQ(ticks, 0);
  t.setInterval(10);
  EXPECT_TRUE(t.running());
  QTRY_VERIFY_WITH_TIMEOUT(ticks > 0, 3000);
}

TEST(Timers, IntervalAbove65535IsRefused) {
  vb::Timer& t = frmTimer().tim;
  t.setInterval(65535);
  EXPECT_EQ(t.Interval(), 65535);
  for (int bad : {65536, 100000, -1}) {
    try {
      t.setInterval(bad);
      ADD_FAILURE() << bad << " accepted";
    } catch (const vb::Error& e) {
      EXPECT_EQ(e.Number(), 380);
    }
  }
  EXPECT_EQ(t.Interval(), 65535);
  EXPECT_THROW((vb::Timer{frmTimer(), "t", 70000}), vb::Error);
}

TEST(Timers, EnabledOnARunningTimerKeepsItsCount) {
  vb::Timer& t = frmTimer().tim;
  t.setInterval(2000);
  t.setEnabled(true);
  QTest::qWait(600);
  t.setEnabled(true);  // already running: the count goes on
  EXPECT_LT(t.remainingMs(), 1700);
  t.setInterval(2000);  // the same interval: no restart either
  EXPECT_LT(t.remainingMs(), 1700);
  t.setInterval(3000);  // a new interval starts a new count
  EXPECT_GT(t.remainingMs(), 2500);
  t.setEnabled(false);
  EXPECT_FALSE(t.running());
  EXPECT_EQ(t.remainingMs(), -1);
  t.setEnabled(true);  // after a stop, a fresh count
  EXPECT_GT(t.remainingMs(), 2500);
}

TEST(Timers, TicksRunInsideWaitAndModalForms) {
  vb::Timer& t = frmTimer().tim;
  int ticks = 0;
  t.onTimer = [&] { ++ticks; };
  t.setInterval(20);
  t.setEnabled(true);
  vb::Wait(0.4);
  EXPECT_GE(ticks, 3);

  // A timer of the modal form itself ends the modal loop by unloading it.
  frmC().tim.setInterval(20);
  int modalTicks = 0;
  frmC().tim.onTimer = [&] {
    if (++modalTicks == 3) vb::Unload(frmC());
  };
  frmC().tim.setEnabled(true);
  ticks = 0;
  frmC().Show(vb::vbModal);
  EXPECT_EQ(modalTicks, 3);
  EXPECT_GE(ticks, 1);  // another form's timer ticked during the modal loop
  EXPECT_FALSE(frmC.isLoaded());
}

TEST(Timers, ABusyHandlerIsNotReenteredWhileOthersTick) {
  TimerForm& f = frmTimer();
  int depth = 0, deepest = 0, ticks = 0, otherTicks = 0, otherDuringWait = 0;
  f.tim.onTimer = [&] {
    ++ticks;
    deepest = std::max(deepest, ++depth);
    if (ticks == 1) {
      vb::Wait(0.3);  // the first tick waits, letting events run
      otherDuringWait = otherTicks;
    }
    --depth;
  };
  f.other.onTimer = [&] { ++otherTicks; };
  f.tim.setInterval(15);
  f.other.setInterval(15);
  f.tim.setEnabled(true);
  f.other.setEnabled(true);
  QTRY_VERIFY_WITH_TIMEOUT(ticks >= 2, 5000);
  EXPECT_EQ(deepest, 1);
  EXPECT_GE(otherDuringWait, 3);
}

TEST(Timers, TicksRunInsideARealMessageBox) {
  vb::setDialogService(nullptr);  // Qt's own box, with its own event loop
  vb::Timer& t = frmTimer().tim;
  int ticks = 0;
  t.onTimer = [&] {
    if (++ticks == 3)
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
        box->button(QMessageBox::Ok)->click();
  };
  t.setInterval(20);
  t.setEnabled(true);
  QTimer failsafe;
  failsafe.setSingleShot(true);
  QObject::connect(&failsafe, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->reject();
  });
  failsafe.start(5000);
  EXPECT_EQ(vb::MsgBox("waiting"), vb::vbOK);
  EXPECT_GE(ticks, 3);
  vb::setDialogService(&testenv::dialogs());
}

TEST(Timers, UnloadStopsTheFormsTimers) {
  vb::Timer& t = frmTimer().tim;
  int ticks = 0;
  t.onTimer = [&] { ++ticks; };
  t.setInterval(10);
  t.setEnabled(true);
  vb::Unload(frmTimer());
  QTest::qWait(100);
  EXPECT_EQ(ticks, 0);
}

TEST(Timers, ControlArrayTimersCopyTheTemplate) {
  struct F : vb::Form {
    F() : Form("F") {
      timers[0].setInterval(1);
      timers[0].setEnabled(false);
    }
    vb::ControlArray<vb::Timer> timers{*this, "Timboug"};
  } f;
  std::vector<int> fired;
  f.timers.on(&vb::Timer::onTimer, [&](int index) { fired.push_back(index); });
  f.timers.Load(3);
  EXPECT_EQ(f.timers[3].Interval(), 1);
  EXPECT_FALSE(f.timers[3].Enabled());
  f.timers[3].tick();
  EXPECT_EQ(fired, std::vector<int>{3});
}

// Milliseconds of the stepped clock since start.
int at(const QDateTime& start) { return int(start.msecsTo(vb::Now())); }

TEST(SteppedClock, RunsTheTimerRulesOnItsOwnTime) {
  struct Case {
    const char* name;
    std::function<void(vb::Timer&)> at60;  // done 60 ms into a 100 ms count
    std::vector<int> ticks;                // within the first 400 ms
  };
  const Case cases[] = {
      {"untouched", [](vb::Timer&) {}, {100, 200, 300, 400}},
      {"Enabled again keeps the count", [](vb::Timer& t) { t.setEnabled(true); }, {100, 200, 300, 400}},
      {"the same Interval keeps it", [](vb::Timer& t) { t.setInterval(100); }, {100, 200, 300, 400}},
      {"a new Interval restarts", [](vb::Timer& t) { t.setInterval(150); }, {210, 360}},
      {"off and on counts afresh",
       [](vb::Timer& t) {
         t.setEnabled(false);
         t.setEnabled(true);
       },
       {160, 260, 360}},
      {"Interval 0 never fires", [](vb::Timer& t) { t.setInterval(0); }, {}},
  };
  for (const Case& c : cases) {
    const QDateTime start(QDate(2026, 5, 6), QTime(8, 0));
    vb::setSteppedClock(start);
    vb::Timer& t = frmTimer().tim;
    std::vector<int> ticks;
    t.onTimer = [&] { ticks.push_back(at(start)); };
    t.setInterval(100);
    t.setEnabled(true);
    vb::stepClock(60);
    c.at60(t);
    vb::stepClock(340);
    EXPECT_EQ(ticks, c.ticks) << c.name;
    vb::Unload(frmTimer());
  }
}

TEST(SteppedClock, TicksComeInTimeOrderAndMoveTheClocksAcrossMidnight) {
  const QDateTime start(QDate(2026, 1, 1), QTime(23, 59, 59, 900));
  vb::setSteppedClock(start);
  TimerForm& f = frmTimer();
  QStringList got;
  f.tim.onTimer = [&] { got << QString("tim %1").arg(at(start)); };
  f.other.onTimer = [&] { got << QString("other %1").arg(at(start)); };
  f.tim.setInterval(100);
  f.other.setInterval(250);
  f.tim.setEnabled(true);
  f.other.setEnabled(true);
  EXPECT_EQ(f.other.remainingMs(), 250);
  QElapsedTimer real;
  real.start();
  vb::Wait(0.5);  // steps the clock instead of waiting
  EXPECT_LT(real.elapsed(), 400);
  EXPECT_EQ(got, (QStringList{"tim 100", "tim 200", "other 250", "tim 300", "tim 400", "tim 500", "other 500"}));
  EXPECT_EQ(vb::DateText(), "02/01/2026");
  EXPECT_DOUBLE_EQ(vb::TimerNow(), 0.4);
  EXPECT_EQ(f.tim.remainingMs(), 100);

  // Back on real time, a running timer counts afresh on a real timer.
  vb::setSteppedClock({});
  EXPECT_TRUE(f.tim.running());
  EXPECT_GT(f.tim.remainingMs(), 50);
  EXPECT_LT(std::abs(vb::Now().secsTo(QDateTime::currentDateTime())), 5);
}

TEST(SteppedClock, ABusyHandlerDropsItsOwnTicksWhileOthersGoOn) {
  const QDateTime start(QDate(2026, 5, 6), QTime(8, 0));
  vb::setSteppedClock(start);
  TimerForm& f = frmTimer();
  QStringList got;
  f.tim.onTimer = [&] {
    got << QString("tim %1").arg(at(start));
    if (got.count() < 3) vb::Wait(0.3);
  };
  f.other.onTimer = [&] { got << QString("other %1").arg(at(start)); };
  f.tim.setInterval(100);
  f.other.setInterval(70);
  f.tim.setEnabled(true);
  f.other.setEnabled(true);
  vb::stepClock(500);
  EXPECT_EQ(got, (QStringList{"other 70", "tim 100", "other 140", "other 210", "other 280", "other 350",
                              "other 420", "other 490", "tim 500"}));
  vb::Unload(f);
  vb::stepClock(1000);
  EXPECT_EQ(got.size(), 9);  // an unloaded form's timers are gone
}

}  // namespace
