#pragma once
// The widget-free rules of quitting: what a tray code asks for, the selection
// size written into the settings record, and the clean-up of the run's
// capture folder. The procedures themselves are in frmMain_Quitter.cpp.
#include <QString>
#include <QStringList>

#include <functional>

namespace mainwin {

// What the main window does for a tray code (platform/Tray.h).
enum class ActionTray {
  Aucune,            // moves, button ups, the middle button, a single left click
  BasculerFenetres,  // 515 left double click: show / restore, or minimise
  MenuTray,          // 516 right button down: the tray pop-up menu
};
ActionTray ActionDuCodeTray(int code);

// The code a tray message carries in X (twips): X / twips-per-pixel, rounded.
int CodeTrayDeX(double x, int twipsPerPixelX);

// The settings record with the selection size in pixels at 93-96 (width) and
// 97-100 (height), four digits with leading zeros; a size outside 0-9999 is
// held within it so the neighbouring fields are never overwritten.
QString ParamsAvecSelection(const QString& params, double largPixels, double hautPixels);

// Deletes the run's temporary bitmaps `noms` from `dossier`. Only plain names
// starting with "Captprov_" are touched, and only inside `dossier` (a link of
// that name is removed, never what it points to). Returns how many went.
int SupprimerBitmapsTemp(const QString& dossier, const QStringList& noms);

// Removes the run's capture folder when it is empty; anything left in it
// (files that are not ours) keeps it. True when it went.
bool SupprimerDossierCaptVide(const QString& dossier);

// The wait of the session end while the notice shows (seconds, events keep
// running). Tests may put another in its place; empty = vb::Wait again.
void setAttenteFinSession(std::function<void(double)> attente);

}  // namespace mainwin
