#pragma once
// The upload history "historforum.txt" in the data folder: one quoted entry per
// upload, oldest first, each the date "yyyy/mm/dd", " - " and the page
// address, padded with blanks to 120 characters (a longer one is kept whole).
// Appending and trimming take a lock, so two posting programs at once lose
// nothing; the trim replaces the file in one step.
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace histo {

constexpr int kLongueurEntree = 120;
constexpr int kEntreesGardees = 50;

QString cheminHisto(const QString& dossier);  // dossier + "/historforum.txt"

// The text of the entry of an upload.
QString texteEntree(const QDateTime& quand, const QString& page);
// The entry as its line in the file: the text in double quotes, then CR LF.
QByteArray ligneFichier(const QString& texte);
// The entries of the file's bytes, in order; blank lines are skipped.
QStringList entreesDe(const QByteArray& contenu);

struct Lecture {
  QStringList entrees;
  QString erreur;  // empty when read (a missing file is created empty)
};
// The entries at start; a missing file is created, as the first upload would.
Lecture lire(const QString& dossier);

// Appends one entry. False with the reason when it could not be written.
bool ajouter(const QString& dossier, const QString& texte, QString* erreur = nullptr);

// Keeps the newest kEntreesGardees entries; a file with no more is left as it
// is. False with the reason when the file could not be replaced (it is then
// unchanged).
bool tailler(const QString& dossier, QString* erreur = nullptr);

// An entry taken back: its page, the host's base address and the picture id
// (after the last "/zimage/", before the last ".php"). nullopt when the entry
// holds no such address.
struct Upload {
  QString page;
  QString adresseHote;
  QString idImage;
};
std::optional<Upload> lireEntree(const QString& texte);

}  // namespace histo
