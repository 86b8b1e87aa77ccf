#include "common/LigneCommande.h"
#include "platform/X11Display.h"
#include "platform/forms/Forms.h"
#include "postelle/ConstAppli.h"
#include "postelle/FrmForum.h"

#include <QApplication>

int main(int argc, char** argv) {
  // One device pixel per twip-pixel, so captures are pixel-exact.
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  const QStringList args = argumentsBruts(argc, argv);
  if (!platform::displayReachable("Postelle")) return 1;
  vb::Application app(argc, argv);
  QApplication::setApplicationName("Postelle");
  vb::useDefaultFont();
  if (!ConstAppli::Main(args)) return 1;
  vb::installSessionEndHandlers();
  frmForum().Show();
  const int rc = vb::RunProgram();
  vb::EndForms();
  return rc;
}
