#include "velistrom/options/OptionsMain.h"

namespace options {
namespace {
MainSide* installed = nullptr;
}  // namespace

MainSide& mainSide() { return installed ? *installed : realMainSide(); }

void setMainSide(MainSide* side) { installed = side; }

}  // namespace options
