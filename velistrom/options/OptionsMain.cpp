#include "velistrom/options/OptionsMain.h"

#include "velistrom/core/Prise.h"

namespace options {
namespace {

// Before the main window plugs itself in: nothing to follow the dialog.
class NoMainSide final : public MainSide {
 public:
  vb::Color backColor() override { return vb::Color(0x8000000F); }
  bool periodicTicked() override { return false; }
  bool periodicOn() override { return false; }
  void setPeriodicOn(bool) override {}
  void setPeriodicInterval(int) override {}
  QString saveTooltip() override { return {}; }
  void setSaveTooltip(const QString&) override {}
  void SavOptions() override {}
  void hideOverlayRectangle() override {}
};

core::Prise<MainSide, NoMainSide> prise;

}  // namespace

MainSide& mainSide() { return prise.courant(); }
void setMainSide(MainSide* side) { prise.brancher(side); }
void setRealMainSide(MainSide* side) { prise.brancherReel(side); }

}  // namespace options
