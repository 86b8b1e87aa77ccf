#pragma once
// The size of a thumbnail preview of the posting window: a picture that fits
// the limit is shown as it is; a larger one is scaled down, its longer side to
// the limit, the other in proportion.
#include <QSize>

#include <optional>

namespace apercu {

constexpr int kLimiteGrande = 250;  // pixels, large preview
constexpr int kLimitePetite = 70;   // pixels, small preview and its square box

struct Reduction {
  int largeurTwips = 0;  // the preview box
  int hauteurTwips = 0;
  QSize dessin;          // the picture drawn into it, pixels
};

// nullopt when a picture of that size in pixels fits the limit unscaled.
std::optional<Reduction> reduction(QSize picturePixels, int limitePixels);

}  // namespace apercu
