#include "postelle/Apercus.h"

#include "platform/forms/Forms.h"

#include <algorithm>
#include <cmath>

namespace apercu {

std::optional<Reduction> reduction(QSize picturePixels, int limitePixels) {
  const double tpp = vb::twipsPerPixel();
  const double largeur = picturePixels.width() * tpp;
  const double hauteur = picturePixels.height() * tpp;
  const double limite = limitePixels * tpp;
  if (largeur <= limite && hauteur <= limite) return std::nullopt;
  double l, h;
  if (largeur >= hauteur) {
    l = limite;
    h = l / largeur * hauteur;
  } else {
    h = limite;
    l = h / hauteur * largeur;
  }
  Reduction r;
  r.largeurTwips = int(std::nearbyint(l));
  r.hauteurTwips = int(std::nearbyint(h));
  r.dessin = QSize(std::max(1, vb::twipsToPixels(l)), std::max(1, vb::twipsToPixels(h)));
  return r;
}

}  // namespace apercu
