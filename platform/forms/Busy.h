#pragma once
// A blocking call that keeps the windows painted: the work runs on a thread of
// its own while the UI thread goes on painting and running timers, but every
// input the user gives meanwhile (mouse buttons, wheel, keys, menus, the close
// box) is dropped, as if the program were busy in that call.
#include <functional>

namespace vb {

// Runs work and returns when it has finished; an exception it throws is thrown
// again here. work must not touch widgets.
void RunBusy(const std::function<void()>& work);

// True while a RunBusy call is under way (for tests and re-entry checks).
bool busy();

}  // namespace vb
