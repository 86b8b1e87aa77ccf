#include "platform/WebView.h"
#include "platform/X11Display.h"
#include "platform/forms/Forms.h"
#include "velistrom/mainwin/Branchements.h"
#include "velistrom/startup/FrmChoixLng.h"
#include "velistrom/startup/frmSplash.h"

#include <QApplication>

int main(int argc, char** argv) {
  // One device pixel per twip-pixel, so captures are pixel-exact.
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  if (!platform::displayReachable("Velistrom")) return 1;
  // The web pages' engine takes some settings only before the application exists.
  platform::prepareWebViewProcess();
  vb::Application app(argc, argv);
  QApplication::setApplicationName("Velistrom");
  vb::useDefaultFont();
  // Log-out, shutdown, SIGTERM, SIGHUP and SIGINT end the run through the session-end
  // path; a lost X display ends it at once with a line on standard error.
  vb::installSessionEndHandlers();
  // The chain of the start: language choice, texts, banner, main window.
  startup::BrancherSplash();
  mainwin::BrancherCotes();
  // The start-up form comes first. It either loads the texts at once and unloads
  // itself (then this Show does nothing) or waits for the language choice; the
  // program runs while any form is loaded.
  frmChoixLng().Show();
  const int rc = vb::RunProgram();
  vb::EndForms();
  return rc;
}
