#include "velistrom/timed/CoteMain.h"

namespace timed {
namespace {

// Before the main window plugs itself in, a series has nowhere to run.
class NoMainSide final : public MainSide {
 public:
  int mainLeft() override { return 0; }
  void armLongSeries() override {}
  void stopLongSeries() override {}
  void seriesMarkOff() override {}
  void showTutorials() override {}
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

}  // namespace timed
