#pragma once
// Is a program running, by its executable name ("gimp", "gimp.exe" alike).
#include <QString>

// True when a running process goes by that name. Names are compared whole,
// case-sensitively, each without a trailing ".exe": "gim" does not match "gimp".
bool ProcActif(const QString& exeName);
