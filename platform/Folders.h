#pragma once
// Per-user folders, from the XDG locations.
#include <QString>

namespace platform {

// The user's application-data folder ($XDG_DATA_HOME, by default ~/.local/share).
QString appDataFolder();
// The user's documents folder, made when missing; the home folder when it cannot be.
QString documentsFolder();
// The programs' shared data folder: appDataFolder()/Velistrom, created with all
// its parents. Empty when it cannot be created.
QString velistromDataFolder();

}  // namespace platform
