#pragma once
// The widget-free rules of handing a capture to other programs: the names of
// the hand-over and mail JPEGs, the program and argument each companion is
// started with, the editor the Edit command opens, and the maker's address.
#include <QString>
#include <QStringList>

#include <functional>

namespace compag {

// Whether a file name is already in use (on disk or handed out in this run).
using NomPris = std::function<bool(const QString& chemin)>;

// The hand-over JPEG: folder / prefix + the date without "/" + "-" + the time
// without ":" + ".jpg". A name already taken gets "_2", "_3" ... before ".jpg",
// so a second hand-over in the same second never replaces a file that a
// companion may not have read yet.
QString NomJpegEnvoi(const QString& dossier, const QString& prefixe, const QString& dateText,
                     const QString& timeText, const NomPris& pris);
// The mail attachment of the capture at `position`: folder / prefix + the date
// without "/" + the time without ":" + "-" + position + ".jpg", made free the
// same way.
QString NomJpegMail(const QString& dossier, const QString& prefixe, const QString& dateText,
                    const QString& timeText, int position, const NomPris& pris);

// A program beside ours and its argument list.
struct Lancement {
  QString programme;
  QStringList arguments;
};
Lancement LancementPostelle(const QString& dossierProgrammes, const QString& jpeg);
Lancement LancementSpreadwell(const QString& dossierProgrammes, const QString& jpeg);
// A status-bar panel by its key: "share" Spreadwell with the JPEG, "mosaiq"
// Mosaiq, any other Mosaiquor; the puzzles get the JPEG, "*" and the last
// letter of the language code ("F" or "A") as one argument.
Lancement LancementPanneau(const QString& dossierProgrammes, const QString& cle, const QString& jpeg,
                           const QString& codeLng);

// The editor field's program: the desktop's paint program `peinture` when the
// field starts with a blank, is empty, or names the old default "mspaint";
// else the field without its trailing blanks, run as it is.
struct Editeur {
  QString programme;  // empty when the default is wanted and none is installed
  bool parDefaut = false;
};
Editeur EditeurAUtiliser(const QString& champ, const QString& peinture);
// The editor's name in the caption: the program's file name with its first
// letter in capitals, up to its first "." ("kolourpaint" -> "Kolourpaint").
QString NomEditeurAffiche(const QString& programme);

// The folder of the saved file that the main-window caption shows after
// " > " ("Capture 03/05 > /home/u/Capt_001.jpg" -> "/home/u"); empty when the
// caption has no " > " followed by a path.
QString DossierDuTitre(const QString& caption);

// The maker's support address: VELISTROM_SUPPORT_MAIL when it holds a plain
// address, else the project's own.
inline constexpr char kAdresseSupport[] = "support@velistrom.example";
QString AdresseSupport();
// A plain address: one "@", no blank, nothing a mail link would read as more.
bool AdresseValable(const QString& adresse);

}  // namespace compag

namespace mainwin {
// The folder the companion programs are started from: the program's own
// unless a test set another (empty = the program's folder again).
QString DossierProgrammes();
void setDossierProgrammes(const QString& folder);
}  // namespace mainwin
