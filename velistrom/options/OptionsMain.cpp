#include "velistrom/options/OptionsMain.h"

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

MainSide* g_side = nullptr;
MainSide* g_real = nullptr;

}  // namespace

MainSide& mainSide() {
  static NoMainSide none;
  if (g_side) return *g_side;
  return g_real ? *g_real : none;
}

void setMainSide(MainSide* side) { g_side = side; }
void setRealMainSide(MainSide* side) { g_real = side; }

}  // namespace options
