#pragma once
// The widget-free rules of saving and printing captures: generated file
// names, the save-as dialog's preset and target names, the header proposed
// for printing and where the picture goes on the page. Paths use "/", sizes
// are twips.
#include "platform/forms/CommonDialog.h"
#include "velistrom/helpers/NomsSauv.h"

#include <QString>

#include <functional>

namespace sauv {

// The stamp of a generated name: the capture's own stamp (yyMMdd_HHmmss) when
// names follow the capture time, else the run stamp DateSess + "_" + HeureSess.
QString Estampille(bool nomHorod, const QString& dateSess, const QString& heureSess, const QString& horod);

// The save-as dialog's file name after its first use: the name chosen the
// previous time, trimmed of trailing blanks, its last two characters replaced
// by the capture number "00" when both are digits. With no previous name the
// first-use preset: the capture word followed by the number "00".
QString NomPropose(const QString& nomPrecedent, const QString& motCapture, int numCapt);

// The chosen name trimmed of trailing blanks, without a final ".jpg", ".gif",
// ".png" or ".bmp" (compared exactly).
QString BaseDuNom(const QString& choisi);

// ".bmp", ".jpg", ".gif", ".png" for filter indexes 1 to 4 (".bmp" otherwise);
// FormatDuFiltre gives the conversion format (0 = plain copy of the bitmap).
QString ExtensionDuFiltre(int index);
int FormatDuFiltre(int index);

// The header proposed for printing: text 121, the date, text 122, the time and
// "  -  V e l i s t r o m".
QString EnteteProposee(const QString& avantDate, const QString& date, const QString& avantHeure,
                       const QString& heure);

// Where printing puts things, twips from the page's top-left.
inline constexpr int kEnteteX = 3000;
inline constexpr int kEnteteY = 1000;
inline constexpr int kImageX = 800;
inline constexpr int kImageY = 2000;
inline constexpr int kLargeurMax = 10000;

struct Cadre {
  int x = 0, y = 0, largeur = 0, hauteur = 0;
};
// The picture's frame: a whole-screen capture always 10000 twips wide, any
// other one at its own size unless wider than 10000, then 10000 wide; the
// height keeps the picture's proportions.
Cadre CadreImpression(bool ecranComplet, int largTwips, int hautTwips);

// Copies a file, replacing the destination only once the copy is complete
// (a failure leaves an existing destination as it was). The error text, or "".
QString CopierFichier(const QString& source, const QString& destination);

}  // namespace sauv

namespace mainwin {

// gNumCapt names a capture of the list.
bool CaptureCourante();

// For the life of one dialog call: the common dialog reports a cancel as an
// error; its own setting, which other commands share, comes back afterwards.
class AnnulationSignalee {
 public:
  explicit AnnulationSignalee(vb::CommonDialog& d) : d_(d), avant_(d.CancelError()) { d_.setCancelError(true); }
  ~AnnulationSignalee() { d_.setCancelError(avant_); }
  AnnulationSignalee(const AnnulationSignalee&) = delete;
  AnnulationSignalee& operator=(const AnnulationSignalee&) = delete;

 private:
  vb::CommonDialog& d_;
  bool avant_;
};

// The saved marks of capture i on the thumbnail window (PictSave shown,
// Chksav ticked), when its row exists.
void MarquerSauvee(int i);

// What a save-all that cannot write into the save folder shows after its
// message so the user can pick another folder (the options dialog, modeless).
// Tests may put something else there; empty = the options dialog again.
void setMontrerOptions(std::function<void()> montrer);
void MontrerOptions();

}  // namespace mainwin
