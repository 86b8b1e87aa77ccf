#include "common/LigneCommande.h"
#include "platform/Folders.h"
#include "platform/X11Display.h"
#include "platform/forms/Forms.h"
#include "spreadwell/FrmPartage.h"

#include <QApplication>

int main(int argc, char** argv) {
  // One device pixel per twip-pixel, so captures are pixel-exact.
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  const QStringList args = argumentsBruts(argc, argv);
  if (!platform::displayReachable("Spreadwell")) return 1;
  vb::Application app(argc, argv);
  QApplication::setApplicationName("Spreadwell");
  spreadwell::FrmPartage partage;
  partage.dossierDonnees = platform::velistromDataFolder();
  return partage.Form_Load(args);
}
