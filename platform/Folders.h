#pragma once
// Per-user folders, from the XDG locations.
#include <QByteArray>
#include <QString>

#include <optional>

class QFileDevice;

namespace platform {

// An XDG base variable (XDG_DATA_HOME, XDG_CONFIG_HOME): its value when it is
// an absolute path, else fallback below the home folder (a relative value
// counts as unset).
QString xdgBase(const char* variable, const QString& homeRelativeFallback);

// The user's application-data folder ($XDG_DATA_HOME, by default ~/.local/share).
QString appDataFolder();
// The user's documents folder, made when missing; the home folder when it cannot be.
QString documentsFolder();
// The programs' shared data folder: appDataFolder()/Velistrom, created with all
// its parents. Empty when it cannot be created.
QString velistromDataFolder();

// Captures can hold anything that was on the screen: the programs' own folder
// and everything in it are the user's alone. makePrivateFolder makes a folder
// and its missing parents readable by the user only (0700, whatever the
// umask); the folder itself is narrowed to 0700 when it is inside the
// programs' own folder. False when it cannot be made.
bool makePrivateFolder(const QString& dir);
// True when path lies inside the programs' own folder.
bool inPrivateFolder(const QString& path);
// Narrows an open file that will end at path to 0600 when path lies inside the
// programs' own folder; files elsewhere keep the umask's permissions.
void keepPrivate(QFileDevice& file, const QString& path);

// The whole of a small file the programs read at the start (settings, language
// files): nullopt, with the reason, when it is missing, is not a regular file
// (a FIFO there would block the start for good) or holds more than maxBytes.
std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes, QString* reason = nullptr);

}  // namespace platform
