#include "velistrom/gifmaker/GifSide.h"

#include "platform/forms/App.h"
#include "velistrom/core/Prise.h"

namespace gifmaker {
namespace {

class ProgramOnly final : public GifSide {
 public:
  void showTutorials() override {}
  QString programFolder() override { return vb::App.Path(); }
};

core::Prise<GifSide, ProgramOnly> prise;

}  // namespace

GifSide& gifSide() { return prise.courant(); }
void setGifSide(GifSide* side) { prise.brancher(side); }
void setRealGifSide(GifSide* side) { prise.brancherReel(side); }

}  // namespace gifmaker
