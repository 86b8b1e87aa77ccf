#include "velistrom/help/MainSide.h"

namespace help {

namespace {

class NoMain : public MainSide {
 public:
  void restartPeriodicIfSelected() override {}
  void envoimail() override {}
  vb::Color mainBackColor() override { return vb::Color(0x8000000F); }
};

MainSide* g_side = nullptr;

}  // namespace

MainSide& mainSide() {
  static NoMain none;
  return g_side ? *g_side : none;
}

void setMainSide(MainSide* side) { g_side = side; }

}  // namespace help
