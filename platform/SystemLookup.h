#pragma once
// The few machine-wide values the programs look up by key and name (on
// Windows they lived in the registry): read only, and empty on Linux unless
// the file lookup.ini in the configuration folder ($XDG_CONFIG_HOME/Velistrom)
// provides them, as
//
//   [HKEY_LOCAL_MACHINE]
//   SOFTWARE\Microsoft\Shared%20Tools\MSINFO\PATH=/usr/bin/hardinfo
//
// (QSettings' INI spelling: the registry key and the value name joined by
// "\", blanks as %20; a value holding a comma goes between double quotes).
#include <QString>

#include <optional>

namespace platform {

// The text stored under root ("HKEY_LOCAL_MACHINE"), key ("SOFTWARE\..." with
// "\" between its parts) and value name; nullopt when there is none.
std::optional<QString> lookupValue(const QString& root, const QString& key, const QString& name);

// The file read by lookupValue.
QString lookupFile();

}  // namespace platform
