#pragma once
// Pure rules of the capture list: thumbnail geometry, names, labels and stamps.
// Sizes are twips.
#include <QDateTime>
#include <QString>

namespace vign {

// Rounds halves to even, as the old CInt.
int Arrondi(double v);

// Thumbnail and enlarged-copy box sizes. The thumbnail fits the template box:
// a portrait picture keeps the template height and narrows, a landscape or
// square one keeps the template width and flattens; the enlarged copy is 1.7
// times the thumbnail along that side and keeps its template size along the other.
struct Aspect {
  int largVign, hautVign, largAgr, hautAgr;
};
Aspect RegleAspect(double largImg, double hautImg, int largGabarit, int hautGabarit, int largAgrGabarit,
                   int hautAgrGabarit);
// Top of the enlarged copy: 400 above a thumbnail when the copy is taller than 600.
int HautAgrandie(int topVignette, int hautAgr);

// "Captprov_" + run stamp + the run's capture number, at least two digits, + ".bmp".
QString NomCapt(const QString& heureSess, int numero);
// Row label: "03/  1024 x 768" for a region or window capture, "03 " + the
// whole-screen word otherwise.
QString LibelleRangee(int position, bool regionOuFenetre, double largTwips, double hautTwips,
                      const QString& motEcran);
// The label's leading number replaced by the position, the rest kept.
QString Renumeroter(const QString& libelle, int position);
// yyMMdd_HHmmss.
QString Horodatage(const QDateTime& quand);
// Deletes a file; an already missing one counts as deleted. The error text, or "".
QString SupprimerFichier(const QString& chemin);

}  // namespace vign
