#pragma once
// Waiting in tests: events run until the condition holds, never a fixed sleep
// before a check. The result says whether it came in time and must be checked.
#include <QTest>

#include <functional>

namespace testsupport {

// Generous by default: a loaded machine is slow, a passing test does not wait.
[[nodiscard]] inline bool waitFor(const std::function<bool()>& ok, int ms = 15000) {
  return QTest::qWaitFor([&] { return ok(); }, ms);
}

}  // namespace testsupport
