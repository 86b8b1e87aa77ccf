// The start-up chain's hand-over to the real main window.
#include "velistrom/mainwin/Branchements.h"
#include "velistrom/mainwin/frmMain.h"
#include "velistrom/startup/Relais.h"

namespace mainwin {

void BrancherRelais() {
  startup::setMainSide({[] { frmMain().Show(); },
                        []() -> std::optional<vb::Color> {
                          if (FrmMain* main = frmMain.existing()) return main->BackColor();
                          return std::nullopt;
                        }});
}

void BrancherCotes() {
  BrancherRelais();
  BrancherRemise();
  BrancherChrono();
  BrancherGifMaker();
  BrancherOptions();
}

}  // namespace mainwin
