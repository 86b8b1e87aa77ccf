// The help menu and the about box: the main window's side of the help and
// information windows (velistrom/help/).
#include "velistrom/help/FrmActua.h"
#include "velistrom/help/FrmAideStd.h"
#include "velistrom/help/FrmBrows.h"
#include "velistrom/help/MainSide.h"
#include "velistrom/help/frmAbout.h"
#include "velistrom/mainwin/Commandes.h"
#include "velistrom/mainwin/frmMain.h"

namespace mainwin {

namespace {

// The main window that opened the help windows last.
class AideCote : public help::MainSide {
 public:
  FrmMain* main = nullptr;
  void restartPeriodicIfSelected() override {
    if (main && main->MnuCaptper.Checked()) main->TimPeriod.setEnabled(true);
  }
  void envoimail() override {
    if (main) main->envoimail();
  }
  vb::Color mainBackColor() override { return main ? main->BackColor() : vb::Color(0x8000000F); }
};

AideCote& cote() {
  static AideCote c;
  return c;
}

}  // namespace

void BrancherAide(FrmMain& main) {
  cote().main = &main;
  help::setMainSide(&cote());
}

void DebrancherAide(FrmMain& main) {
  if (cote().main == &main) cote().main = nullptr;
}

void MontrerAPropos() { frmAbout().Show(); }

}  // namespace mainwin

void FrmMain::MnuAide_Click() {
  mainwin::BrancherAide(*this);
  frmAideStd().Show(vb::vbModal);
}

void FrmMain::MnuNouversion_Click() {
  mainwin::BrancherAide(*this);
  frmActua().Show();
}

void FrmMain::Tutosite_Click() {
  mainwin::BrancherAide(*this);
  frmBrows().Show();
}
