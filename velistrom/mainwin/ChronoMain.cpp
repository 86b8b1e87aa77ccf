// The timed-capture window's side of the real main window.
#include "velistrom/mainwin/Branchements.h"
#include "velistrom/mainwin/frmMain.h"
#include "velistrom/timed/CoteMain.h"

namespace timed {
namespace {

class RealMainSide final : public MainSide {
 public:
  int mainLeft() override { return frmMain().Left(); }
  void armLongSeries() override {
    FrmMain& m = frmMain();
    m.TimerLngPerio.setEnabled(true);
    if (m.bouton.exists(6)) m.bouton[6].setBorderStyle(1);
    m.MnuCaptper.setChecked(true);
  }
  void stopLongSeries() override {
    frmMain().TimerLngPerio.setEnabled(false);
    seriesMarkOff();
  }
  void seriesMarkOff() override {
    FrmMain& m = frmMain();
    if (m.bouton.exists(6)) m.bouton[6].setBorderStyle(0);
    m.MnuCaptper.setChecked(false);
  }
  void showTutorials() override {
    // TODO(lead): FrmBrows shown modeless once it exists.
  }
};

}  // namespace
}  // namespace timed

namespace mainwin {

void BrancherChrono() {
  static timed::RealMainSide real;
  timed::setRealMainSide(&real);
}

}  // namespace mainwin
