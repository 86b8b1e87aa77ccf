#pragma once
// Per-test environment: every test runs with its own empty HOME and XDG folders,
// so nothing a test writes reaches the developer's account or another test.
#include <QString>

namespace testenv {

// The temporary home of the running test (valid between a test's start and end).
QString home();
QString dataHome();    // $XDG_DATA_HOME
QString configHome();  // $XDG_CONFIG_HOME

// Folder of the built programs and their data files (build/bin).
QString binDir();

// True when the test program runs against a real X server.
bool onX11();

}  // namespace testenv
