#include "velistrom/timed/ChampsChrono.h"

#include "platform/forms/Runtime.h"
#include "platform/forms/Forms.h"
#include "velistrom/helpers/NomsSauv.h"

#include <cmath>

namespace timed {
namespace {

bool estHeure(int i) { return i == 1 || i == 4 || i == 7; }
bool estMinOuSec(int i) { return i >= 2 && i <= 9 && !estHeure(i); }

QString deux(double v) { return vb::Format(v, "00"); }
QString quatre(double v) { return vb::Format(v, "0000"); }

}  // namespace

ChampsChrono::ChampsChrono() {
  for (int i = 1; i <= 9; ++i) champs_[i] = "00";
  champs_[10] = "0000";
}

bool ChampsChrono::periodeNulle() const { return champs_[7] == "00" && champs_[8] == "00" && champs_[9] == "00"; }

void ChampsChrono::changer(int i, const QString& texte) {
  if (i < 1 || i > kNbChamps) return;
  ++profondeur_;
  champs_[i] = texte;
  regle(i);
  --profondeur_;
  if (profondeur_ == 0 && onChange) onChange();
}

void ChampsChrono::regle(int i) {
  QString& t = champs_[i];
  if (i == 10) {
    if (!vb::IsNumeric(t) || vb::Val(t) > 1000) t = "0000";
  } else if (estMinOuSec(i)) {
    if (!vb::IsNumeric(t)) {
      t = "00";
    } else if (vb::Val(t) == 60) {
      // 60 carries into the next larger unit of the row (which may carry again).
      t = "00";
      changer(i - 1, deux(vb::Val(champs_[i - 1]) + 1));
    }
  } else if (!vb::IsNumeric(t)) {
    t = "00";
  }
  if (periodeNulle()) noteRafale_ = true;
}

void ChampsChrono::affecter(int i, const QString& texte) { changer(i, texte); }

void ChampsChrono::taper(int i, const QString& texte) {
  QString chiffres;
  for (QChar ch : texte)
    if (ch >= u'0' && ch <= u'9') chiffres += ch;
  changer(i, chiffres);
}

void ChampsChrono::plus(int i) {
  if (i < 1 || i > kNbChamps) return;
  const double v = vb::Val(champs_[i]) + 1;
  if (i == 10) changer(i, v < 1001 ? quatre(v) : "0001");
  else if (i == 7) changer(i, v < 100 ? deux(v) : "00");
  else if (estHeure(i)) changer(i, v < 24 ? deux(v) : "00");
  else changer(i, deux(v));
}

void ChampsChrono::moins(int i) {
  if (i < 1 || i > kNbChamps) return;
  const double v = vb::Val(champs_[i]) - 1;
  if (i == 10) changer(i, v > 0 ? quatre(v) : "1000");
  else changer(i, v > 0 ? deux(v) : "00");
}

void ChampsChrono::setNbImg(const QString& texte) {
  ++profondeur_;
  nbImg_ = texte;
  for (int i = 4; i <= 6; ++i) changer(i, "00");
  --profondeur_;
  if (profondeur_ == 0 && onChange) onChange();
}

void ChampsChrono::activer() {
  if (periodeNulle()) noteRafale_ = true;
  if (onChange) onChange();
}

void ChampsChrono::ouvrir(const QTime& maintenant, int intervalleMs) {
  ++profondeur_;
  const Periode p = PeriodeDeIntervalle(intervalleMs);
  nbImg_.clear();
  changer(7, "00");
  changer(8, deux(p.minutes));
  changer(9, deux(p.secondes));
  changer(10, quatre(p.millis));
  changer(1, deux(maintenant.hour()));
  changer(2, deux(maintenant.minute()));
  changer(3, deux(maintenant.second()));
  changer(4, deux(maintenant.hour()));
  changer(5, deux(maintenant.minute() + 1));
  changer(6, deux(maintenant.second()));
  // The opening then puts the default note up, whatever the period.
  noteRafale_ = false;
  --profondeur_;
  if (profondeur_ == 0 && onChange) onChange();
}

Periode PeriodeDeIntervalle(int intervalleMs) {
  Periode p;
  int reste = intervalleMs;
  if (intervalleMs >= 60000) {
    p.minutes = 1;
    reste = intervalleMs - 60000;
  }
  p.secondes = reste / 1000;
  p.millis = reste % 1000;
  return p;
}

// ---------------------------------------------------------------- Start

Demarrage Valider(const ChampsChrono& c, int nbCapt, const QString& modeDernier, double largImg,
                  double hautImg) {
  Demarrage d;
  if (nbCapt > 0 && modeDernier != "z") {
    d.refus = Refus::PasDeZone;
    return d;
  }
  if (vb::twipsToPixels(largImg) < 1 || vb::twipsToPixels(hautImg) < 1) {
    d.refus = Refus::ZoneVide;
    return d;
  }
  d.heureDeb = c.champ(1) + ":" + c.champ(2) + ":" + c.champ(3);
  d.heureFin = c.champ(4) + ":" + c.champ(5) + ":" + c.champ(6);
  d.nbImgLim = vb::Val(c.nbImg());
  if (d.nbImgLim == 0 && d.heureDeb > d.heureFin) {
    d.refus = Refus::DebutApresFin;
    return d;
  }
  // No time of day reads 24 h or more, so such an end would never come.
  if (d.nbImgLim == 0 && vb::Val(c.champ(4)) >= 24) {
    d.refus = Refus::FinHorsJournee;
    return d;
  }
  if (d.nbImgLim == 0) d.nbImgLim = kSansLimite;
  d.rafale = c.periodeNulle();
  if (d.rafale) {
    d.intervalleRafale = int(vb::Val(c.champ(10)));
  } else {
    d.intervPer = vb::Val(c.champ(10)) + 1000 * vb::Val(c.champ(9)) + 60000 * vb::Val(c.champ(8)) +
                  3600000 * vb::Val(c.champ(7));
  }
  return d;
}

// ---------------------------------------------------------------- running series

bool SerieFinie(const QString& maintenant, const QString& heureFin, double nbImgLim, double nbPris) {
  return nbPris >= nbImgLim || (maintenant >= heureFin && nbImgLim == kSansLimite);
}

double Echeance(double maintenant, double intervPer) { return std::round(maintenant * 1000 + intervPer) / 1000; }

QString Compte(const QString& maintenant, const QString& texte232, double restant) {
  return maintenant + " " + texte232 + (restant > 0 ? vb::Format(restant, "###00.000") : QString("0,00")) + " sec";
}

QString DossierSauve(const QString& ligne) {
  const qsizetype fin = ligne.indexOf(QStringLiteral("  "));
  if (fin >= 0) return ligne.left(fin);
  qsizetype n = ligne.size();
  while (n > 0 && ligne[n - 1] == u' ') --n;
  return ligne.left(n);
}

int NumeroLibre(const QString& dossier, const QString& prefixe, const QString& hhmmss, int numero,
                const QString& motFormat, const std::function<bool(const QString&)>& existe) {
  const bool converti = sauv::FormatDeMot(motFormat) != 0;
  for (int n = numero;; ++n) {
    const QString bmp = sauv::NomSauv(dossier, prefixe, hhmmss, n);
    if (!existe(bmp) && !(converti && existe(sauv::AvecFormat(bmp, motFormat)))) return n;
  }
}

}  // namespace timed
