#include "velistrom/overlay/Remise.h"

#include "velistrom/core/Prise.h"

namespace overlay {
namespace {

// Before the main window plugs itself in, the overlay hands its selection to
// nobody rather than to a window that is not there.
class NoMainSide final : public MainSide {
 public:
  QImage pictReserv() override { return {}; }
  void setPictReserv(const QImage&) override {}
  void overlayKey() override {}
  void setPicture2(const QImage&) override {}
  void CopiePP(const QString&) override {}
  void showCut() override {}
  void GestVignettes(vb::PictureBox&) override {}
  bool severalInARow() override { return false; }
  void showThumbsForSeries() override {}
  void hideThumbs() override {}
  void backToMain(double) override {}
  void thumbsColourKey(bool) override {}
  void startZoom() override {}
  void escapeToMain() override {}
};

core::Prise<MainSide, NoMainSide> prise;

}  // namespace

MainSide& mainSide() { return prise.courant(); }
void setMainSide(MainSide* side) { prise.brancher(side); }
void setRealMainSide(MainSide* side) { prise.brancherReel(side); }

}  // namespace overlay
