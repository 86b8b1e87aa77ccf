#include "velistrom/core/GlobCapt.h"

CaptArray<QString> gTabNomCapt;
CaptArray<QString> gTabHorod;
CaptArray<QString> gTabSauv;
CaptArray<std::int32_t> gTabLargCapt{};
CaptArray<std::int32_t> gTabHautCapt{};
CaptArray<std::int32_t> gTabPos{};
CaptArray<std::int32_t> gTabHautPlus{};
CaptArray<QString> gTabTaille;
CaptArray<QString> gTabMode;

std::int32_t gNbCapt = 0;
std::int32_t gNumCapt = 0;
std::int32_t gCptVign = 0;

namespace capt {

void copyEntry(int from, int to)
{
    gTabPos[to] = gTabPos[from];
    gTabHautPlus[to] = gTabHautPlus[from];
    gTabLargCapt[to] = gTabLargCapt[from];
    gTabHautCapt[to] = gTabHautCapt[from];
    gTabMode[to] = gTabMode[from];
    gTabHorod[to] = gTabHorod[from];
    gTabTaille[to] = gTabTaille[from];
    gTabNomCapt[to] = gTabNomCapt[from];
    gTabSauv[to] = gTabSauv[from];
}

void resetList()
{
    for (int i = 0; i <= kMaxCapt; ++i) {
        gTabNomCapt[i].clear();
        gTabHorod[i].clear();
        gTabSauv[i].clear();
        gTabLargCapt[i] = gTabHautCapt[i] = gTabPos[i] = gTabHautPlus[i] = 0;
        gTabTaille[i].clear();
        gTabMode[i].clear();
    }
    gNbCapt = 0;
    gNumCapt = 0;
    gCptVign = 0;
}

}  // namespace capt
