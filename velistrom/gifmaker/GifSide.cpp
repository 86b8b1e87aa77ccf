#include "velistrom/gifmaker/GifSide.h"

#include "platform/forms/App.h"

namespace gifmaker {
namespace {

class ProgramOnly final : public GifSide {
 public:
  void showTutorials() override {}
  QString programFolder() override { return vb::App.Path(); }
};

GifSide* g_side = nullptr;
GifSide* g_real = nullptr;

}  // namespace

GifSide& gifSide() {
  static ProgramOnly alone;
  if (g_side) return *g_side;
  return g_real ? *g_real : alone;
}

void setGifSide(GifSide* side) { g_side = side; }
void setRealGifSide(GifSide* side) { g_real = side; }

}  // namespace gifmaker
