#include "velistrom/help/AideImage.h"

#include "velistrom/help/FrmAidOpt.h"
#include "velistrom/help/FrmAidfn.h"
#include "velistrom/help/Frmaidfv.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/core/Ressources.h"

namespace help {

QImage ImageAide(const QString& fichier, QSize placeholder) {
  QImage img = core::ChargerRessource(fichier);
  if (!img.isNull()) return img;
  img = QImage(placeholder, QImage::Format_RGB32);
  img.fill(Qt::white);
  return img;
}

void ChargerAideImage(vb::Form& form, vb::Control& image, const QString& caption) {
  form.setHeight(image.Height() + 400);
  form.setWidth(image.Width() + 100);
  form.setCaption(caption);
  image.setToolTipText(gLng095);
}

void FermerAidesImages() {
  if (frmAidfv().Visible()) vb::Unload(frmAidfv());
  if (frmAidfn().Visible()) vb::Unload(frmAidfn());
  if (frmAidOpt().Visible()) vb::Unload(frmAidOpt());
}

}  // namespace help
