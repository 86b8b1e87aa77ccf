// What the options dialog reaches of the real main window and the overlay.
#include "velistrom/core/GlobParams.h"
#include "velistrom/mainwin/Branchements.h"
#include "velistrom/mainwin/frmMain.h"
#include "velistrom/options/OptionsMain.h"
#include "velistrom/overlay/FrmFull.h"

namespace options {
namespace {

class RealMainSide final : public MainSide {
 public:
  vb::Color backColor() override { return frmMain().BackColor(); }
  bool periodicTicked() override { return frmMain().MnuCaptper.Checked(); }
  bool periodicOn() override { return frmMain().TimPeriod.Enabled(); }
  void setPeriodicOn(bool on) override { frmMain().TimPeriod.setEnabled(on); }
  void setPeriodicInterval(int ms) override {
    gIntervPeriode = ms;
    frmMain().TimPeriod.setInterval(ms);
  }
  QString saveTooltip() override { return frmMain().bouton[11].ToolTipText(); }
  void setSaveTooltip(const QString& text) override { frmMain().bouton[11].setToolTipText(text); }
  void SavOptions() override { frmMain().SavOptions(); }
  void hideOverlayRectangle() override {
    // An overlay not loaded yet sets its rectangle from the settings when it
    // first shows, so loading it here would change nothing but the cost.
    FrmFull* full = frmFull.existing();
    if (!full) return;
    overlay::SelGeometry& geo = full->geometry();
    geo.setRectselVisible(false);
    for (int i = 0; i < overlay::SelGeometry::kCoins; ++i) geo.setCoinVisible(i, false);
    full->syncControls();
  }
};

}  // namespace
}  // namespace options

namespace mainwin {

void BrancherOptions() {
  static options::RealMainSide real;
  options::setRealMainSide(&real);
}

}  // namespace mainwin
