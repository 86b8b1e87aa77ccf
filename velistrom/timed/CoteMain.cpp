#include "velistrom/timed/CoteMain.h"

#include "velistrom/core/Prise.h"

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

core::Prise<MainSide, NoMainSide> prise;

}  // namespace

MainSide& mainSide() { return prise.courant(); }
void setMainSide(MainSide* side) { prise.brancher(side); }
void setRealMainSide(MainSide* side) { prise.brancherReel(side); }

}  // namespace timed
