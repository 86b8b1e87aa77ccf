#include "velistrom/core/Ressources.h"

#include "platform/Log.h"
#include "platform/forms/App.h"

namespace core {
namespace {
QString& dossierAutre() {
  static QString folder;
  return folder;
}
}  // namespace

QString DossierRessources() { return dossierAutre().isEmpty() ? vb::App.Path() : dossierAutre(); }
void setDossierRessources(const QString& folder) { dossierAutre() = folder; }

QString CheminRessource(const QString& file) { return DossierRessources() + "/" + file; }

QImage ChargerRessource(const QString& file, QStringList* manquants) {
  QImage img(CheminRessource(file));
  if (img.isNull()) {
    qCInfo(lcPlatform) << "picture missing or unreadable:" << CheminRessource(file);
    if (manquants && !manquants->contains(file)) *manquants << file;
  }
  return img;
}

}  // namespace core
