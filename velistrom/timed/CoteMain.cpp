#include "velistrom/timed/CoteMain.h"

namespace timed {
namespace {
MainSide* g_side = nullptr;
}  // namespace

MainSide& mainSide() { return g_side ? *g_side : realMainSide(); }
void setMainSide(MainSide* side) { g_side = side; }

}  // namespace timed
