#include "velistrom/mainwin/Vignettes.h"

#include "platform/forms/Forms.h"
#include "platform/forms/Runtime.h"

#include <QFile>

#include <cmath>

namespace vign {

int Arrondi(double v) { return int(std::nearbyint(v)); }

Aspect RegleAspect(double largImg, double hautImg, int largGabarit, int hautGabarit, int largAgrGabarit,
                   int hautAgrGabarit) {
  Aspect a{largGabarit, hautGabarit, largAgrGabarit, hautAgrGabarit};
  if (hautImg > largImg) {
    a.largVign = Arrondi(largImg / hautImg * hautGabarit);
    a.largAgr = Arrondi(a.largVign * 1.7);
  } else {
    a.hautVign = Arrondi(hautImg / largImg * largGabarit);
    a.hautAgr = Arrondi(a.hautVign * 1.7);
  }
  return a;
}

int HautAgrandie(int topVignette, int hautAgr) { return hautAgr > 600 ? topVignette - 400 : topVignette; }

QString NomCapt(const QString& heureSess, int numero) {
  return "Captprov_" + heureSess + vb::Format(numero, "00") + ".bmp";
}

QString LibelleRangee(int position, bool regionOuFenetre, double largTwips, double hautTwips,
                      const QString& motEcran) {
  if (regionOuFenetre)
    return vb::Format(position, "00") + "/ " + vb::Str(vb::Int(largTwips / vb::Screen.TwipsPerPixelX())) + " x" +
           vb::Str(vb::Int(hautTwips / vb::Screen.TwipsPerPixelY()));
  return vb::Format(position, "00") + " " + motEcran;
}

QString Renumeroter(const QString& libelle, int position) {
  int k = 0;
  while (k < libelle.size() && libelle[k].isDigit()) ++k;
  return vb::Format(position, "00") + libelle.mid(k);
}

QString Horodatage(const QDateTime& quand) { return quand.toString("yyMMdd_HHmmss"); }

QString SupprimerFichier(const QString& chemin) {
  QFile f(chemin);
  if (!f.exists()) return QString();  // already gone: as good as deleted
  if (f.remove()) return QString();
  return f.errorString();
}

}  // namespace vign
