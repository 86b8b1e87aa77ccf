#include "velistrom/startup/Relais.h"

namespace startup {
namespace {
MainSide& side() {
  static MainSide s;
  return s;
}
}  // namespace

void setMainSide(MainSide s) { side() = std::move(s); }
const MainSide& mainSide() { return side(); }

}  // namespace startup
