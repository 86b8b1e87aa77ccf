#pragma once
// Loading the interface texts at start: "spoken.txt" names the language, the
// language file beside the program gives the texts (common/LangFile.h), which go
// into the shared variables of velistrom/core/GlobTextes.h.
#include "common/LangFile.h"

#include <QString>

#include <functional>
#include <optional>

namespace startup {

// Reads "spoken.txt" in dataFolder into gCodeLng, then the language file in
// programFolder, and fills gTxtLng, gTips, gTxtAide, gTabAideMenu and the named
// text variables. On a failure nothing but gCodeLng is changed.
std::optional<lang::LangFailure> ChargerTextes(const QString& dataFolder, const QString& programFolder);

// Tells the user why the start ends: the numbering fault as "Permanent Error ...."
// with the critical icon and the application's title, the others with what is
// wrong and where.
void SignalerEchec(const lang::LangFailure& failure);

// Loads the texts and, when that worked, shows the splash; on a failure reports it
// and shows nothing. Returns whether the texts were loaded.
bool ChargerPuisSplash(const QString& dataFolder, const QString& programFolder);

// The folder the language files are read from: the program's folder unless a test
// set another (empty = the program's folder again).
QString DossierLangues();
void setDossierLangues(const QString& folder);

// What the loader does last: show the splash window. Until the splash plugs itself
// in here nothing is shown, and with no window left the run ends.
void setSplashHook(std::function<void()> showSplash);
void AfficherSplash();

}  // namespace startup
