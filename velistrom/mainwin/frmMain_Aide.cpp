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

class AideCote : public help::MainSide {
 public:
  void restartPeriodicIfSelected() override {
    FrmMain& m = frmMain();
    if (m.MnuCaptper.Checked()) m.TimPeriod.setEnabled(true);
  }
  void envoimail() override { frmMain().envoimail(); }
  vb::Color mainBackColor() override { return frmMain().BackColor(); }
};

}  // namespace

void BrancherAide() {
  static AideCote cote;
  help::setMainSide(&cote);
}

void MontrerAPropos() {
  BrancherAide();
  frmAbout().Show();
}

}  // namespace mainwin

void FrmMain::MnuAide_Click() {
  mainwin::BrancherAide();
  frmAideStd().Show(vb::vbModal);
}

void FrmMain::MnuNouversion_Click() {
  mainwin::BrancherAide();
  frmActua().Show();
}

void FrmMain::Tutosite_Click() {
  mainwin::BrancherAide();
  frmBrows().Show();
}
