#include "velistrom/overlay/Remise.h"

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

}  // namespace overlay
