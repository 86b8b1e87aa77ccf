#include "postelle/HistoForum.h"

#include "platform/forms/Runtime.h"

#include <QFile>
#include <QLockFile>
#include <QSaveFile>

namespace histo {
namespace {

// Held while the file is appended to or replaced.
class Verrou {
 public:
  explicit Verrou(const QString& dossier) : lock_(dossier + "/historforum.lock") {
    pris_ = lock_.tryLock(10000);
  }
  bool pris() const { return pris_; }

 private:
  QLockFile lock_;
  bool pris_ = false;
};

bool echec(QString* erreur, const QString& pourquoi) {
  if (erreur) *erreur = pourquoi;
  return false;
}

const char kVerrouille[] = "the upload history is held by another program";

}  // namespace

QString cheminHisto(const QString& dossier) { return dossier + "/historforum.txt"; }

QString texteEntree(const QDateTime& quand, const QString& page) {
  const QString texte = vb::Format(quand, QStringLiteral("yyyy/mm/dd")) + " - " + page;
  return texte.leftJustified(kLongueurEntree, ' ');
}

QByteArray ligneFichier(const QString& texte) { return '"' + texte.toUtf8() + "\"\r\n"; }

QStringList entreesDe(const QByteArray& contenu) {
  QStringList entrees;
  for (const QString& ligne : QString::fromUtf8(contenu).split('\n')) {
    QString l = ligne;
    if (l.endsWith('\r')) l.chop(1);
    if (l.trimmed().isEmpty()) continue;
    if (l.startsWith('"')) {
      const qsizetype fin = l.indexOf('"', 1);
      entrees << (fin < 0 ? l.mid(1) : l.mid(1, fin - 1));
    } else {
      entrees << l;
    }
  }
  return entrees;
}

Lecture lire(const QString& dossier) {
  Lecture r;
  QFile f(cheminHisto(dossier));
  if (!f.exists()) {
    if (!f.open(QIODevice::Append)) r.erreur = f.errorString();
    return r;
  }
  if (!f.open(QIODevice::ReadOnly)) {
    r.erreur = f.errorString();
    return r;
  }
  r.entrees = entreesDe(f.readAll());
  return r;
}

bool ajouter(const QString& dossier, const QString& texte, QString* erreur) {
  Verrou verrou(dossier);
  if (!verrou.pris()) return echec(erreur, kVerrouille);
  QFile f(cheminHisto(dossier));
  if (!f.open(QIODevice::Append)) return echec(erreur, f.errorString());
  const QByteArray ligne = ligneFichier(texte);
  if (f.write(ligne) != ligne.size() || !f.flush()) return echec(erreur, f.errorString());
  return true;
}

bool tailler(const QString& dossier, QString* erreur) {
  Verrou verrou(dossier);
  if (!verrou.pris()) return echec(erreur, kVerrouille);
  QFile f(cheminHisto(dossier));
  if (!f.exists()) return true;
  if (!f.open(QIODevice::ReadOnly)) return echec(erreur, f.errorString());
  const QStringList entrees = entreesDe(f.readAll());
  f.close();
  if (entrees.size() <= kEntreesGardees) return true;

  // Written beside it and renamed into place: a reader sees the old file or
  // the new one, never half of it.
  QSaveFile nouveau(f.fileName());
  if (!nouveau.open(QIODevice::WriteOnly)) return echec(erreur, nouveau.errorString());
  for (qsizetype i = entrees.size() - kEntreesGardees; i < entrees.size(); ++i)
    nouveau.write(ligneFichier(entrees[i]));
  if (!nouveau.commit()) return echec(erreur, nouveau.errorString());
  return true;
}

std::optional<Upload> lireEntree(const QString& texte) {
  // After the 13 characters of the date and " - ".
  const QString page = vb::Mid(texte, 14).trimmed();
  const qsizetype zimage = page.lastIndexOf(u"/zimage/");
  const qsizetype php = page.lastIndexOf(u".php");
  if (zimage < 0 || php < zimage + 8) return std::nullopt;
  Upload u;
  u.page = page.left(php + 4);
  u.adresseHote = page.left(zimage);
  u.idImage = page.mid(zimage + 8, php - zimage - 8);
  return u;
}

}  // namespace histo
