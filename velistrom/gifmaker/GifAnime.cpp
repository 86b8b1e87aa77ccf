#include "velistrom/gifmaker/GifAnime.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace gifmaker {

namespace {

void ajoute16(QByteArray& out, int valeur) {
  out.append(char(valeur & 0xFF));
  out.append(char((valeur >> 8) & 0xFF));
}

ResultatCreation::Etat etatDe(ErreurTrame erreur) {
  switch (erreur) {
    case ErreurTrame::Aucune: return ResultatCreation::Ok;
    case ErreurTrame::EnteteCourte: return ResultatCreation::EnteteCourte;
    case ErreurTrame::EnteteInvalide: return ResultatCreation::EnteteInvalide;
    case ErreurTrame::Tronquee: return ResultatCreation::Tronquee;
    case ErreurTrame::SansCouleurs: return ResultatCreation::SansCouleurs;
  }
  return ResultatCreation::Tronquee;
}

}  // namespace

QByteArray EnteteAnim(int largeur, int hauteur) {
  QByteArray out("GIF89a");
  ajoute16(out, largeur);
  ajoute16(out, hauteur);
  out.append(3, '\0');  // no global table, background 0, aspect 0
  return out;
}

QByteArray BlocBoucle() {
  return QByteArray("\x21\xFF\x0B" "NETSCAPE2.0" "\x03\x01\xFF\xFF\x00", 19);
}

std::vector<int> OrdreTrames(int nbTrames, bool allerRetour) {
  std::vector<int> ordre;
  for (int i = 0; i < nbTrames; ++i) ordre.push_back(i);
  if (allerRetour)
    for (int i = nbTrames - 1; i >= 0; --i) ordre.push_back(i);
  return ordre;
}

EcranAnim EcranDesTrames(const std::vector<TrameGif>& trames) {
  EcranAnim e;
  for (const TrameGif& t : trames) {
    e.largeur = std::max(e.largeur, t.largeurEcran);
    e.hauteur = std::max(e.hauteur, t.hauteurEcran);
  }
  return e;
}

QByteArray AssembleGif(const std::vector<TrameGif>& trames, bool boucle, bool allerRetour) {
  qsizetype taille = 13 + 19 + 1;
  for (const TrameGif& t : trames) taille += t.groupe.size() * (allerRetour ? 2 : 1);
  const EcranAnim ecran = EcranDesTrames(trames);
  QByteArray out;
  out.reserve(taille);
  out.append(EnteteAnim(ecran.largeur, ecran.hauteur));
  if (boucle) out.append(BlocBoucle());
  for (int i : OrdreTrames(int(trames.size()), allerRetour)) out.append(trames[size_t(i)].groupe);
  out.append('\x3B');
  return out;
}

QString NomGifAnime(const QString& dossier, const QString& heure) {
  return dossier + "/animgif" + heure.mid(0, 2) + heure.mid(3, 2) + heure.mid(6, 2) + ".gif";
}

ResultatCreation CreeGifAnime(const QStringList& trames, int delai, bool boucle, bool allerRetour,
                              const QString& sortie) {
  ResultatCreation r;
  std::vector<TrameGif> reconditionnees(size_t(trames.size()));
  for (int i = 0; i < trames.size(); ++i) {
    r.trame = i;
    QFile f(trames[i]);
    if (!f.open(QIODevice::ReadOnly)) {
      r.etat = ResultatCreation::TrameIllisible;
      r.message = f.errorString();
      return r;
    }
    const QByteArray octets = f.readAll();
    if (f.error() != QFileDevice::NoError) {
      r.etat = ResultatCreation::TrameIllisible;
      r.message = f.errorString();
      return r;
    }
    r.etat = etatDe(RepackGif(octets, delai, reconditionnees[size_t(i)]));
    if (r.etat != ResultatCreation::Ok) return r;
  }
  r.trame = -1;
  r.ecran = EcranDesTrames(reconditionnees);

  // Written under a temporary name and renamed into place only when complete.
  QSaveFile out(sortie);
  const QByteArray gif = AssembleGif(reconditionnees, boucle, allerRetour);
  if (!out.open(QIODevice::WriteOnly) || out.write(gif) != gif.size() || !out.commit()) {
    r.etat = ResultatCreation::EcritureImpossible;
    r.message = out.errorString();
  }
  return r;
}

}  // namespace gifmaker
