// The stepped clock: time that moves only when a test says so, driving the
// Timer controls in place of Qt's real-time timers.
#include "platform/forms/Controls.h"
#include "platform/forms/FormsInternal.h"
#include "platform/forms/Runtime.h"

#include <algorithm>
#include <vector>

namespace vb {
namespace {

bool g_stepped = false;
QDateTime g_start;
qint64 g_ms = 0;

std::vector<Timer*>& timers() {
  static std::vector<Timer*> all;
  return all;
}

// The running timer that ticks first, at or before limit (the older on a tie).
Timer* nextDue(qint64 limit) {
  Timer* next = nullptr;
  for (Timer* t : timers()) {
    const qint64 due = t->steppedDue_();
    if (due >= 0 && due <= limit && (!next || due < next->steppedDue_())) next = t;
  }
  return next;
}

}  // namespace

namespace detail {
qint64 steppedMs() { return g_ms; }
QDateTime steppedNow() { return g_start.addMSecs(g_ms); }
void timerCreated(Timer* timer) { timers().push_back(timer); }
void timerDestroyed(Timer* timer) { std::erase(timers(), timer); }
}  // namespace detail

void setSteppedClock(const QDateTime& start) {
  const bool wasStepped = g_stepped;
  g_stepped = start.isValid();
  g_start = start;
  g_ms = 0;
  if (wasStepped || g_stepped)
    for (Timer* t : timers()) t->clockChanged_();
}

bool steppedClock() { return g_stepped; }

void stepClock(qint64 ms) {
  if (!g_stepped) return;
  const qint64 target = g_ms + std::max<qint64>(ms, 0);
  // A handler may step the clock itself (a Wait): time never runs backwards.
  while (Timer* t = nextDue(target)) {
    g_ms = std::max(g_ms, t->steppedDue_());
    t->steppedTick_();
    DoEvents();
  }
  g_ms = std::max(g_ms, target);
}

}  // namespace vb
