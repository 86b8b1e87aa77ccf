#pragma once
// The capture list: nine parallel arrays indexed 0 to kMaxCapt. Positions 1 to
// gNbCapt hold the captures in list order; position 0 is scratch (a move parks a
// capture there). Sizes are twips, kept 32-bit so that a 3840x2160 capture
// (57600 twips across) fits.
#include <QString>

#include <array>
#include <cstdint>

inline constexpr int kMaxCapt = 200;

template <class T>
using CaptArray = std::array<T, kMaxCapt + 1>;

extern CaptArray<QString> gTabNomCapt;        // temporary bitmap name in gRepCapt ("" beyond the count)
extern CaptArray<QString> gTabHorod;          // time stamp yyMMdd_HHmmss
extern CaptArray<QString> gTabSauv;           // full path of the saved file; "" = not saved
extern CaptArray<std::int32_t> gTabLargCapt;  // picture width, twips
extern CaptArray<std::int32_t> gTabHautCapt;  // picture height, twips
extern CaptArray<std::int32_t> gTabPos;       // main-window width for this capture, twips
extern CaptArray<std::int32_t> gTabHautPlus;  // main-window height for this capture, twips
extern CaptArray<QString> gTabTaille;         // size text shown by frmMain.Labtaille
extern CaptArray<QString> gTabMode;           // kind: "z" region, "e" whole screen, "f" window

extern std::int32_t gNbCapt;   // number of captures, 0 ... kMaxCapt
extern std::int32_t gNumCapt;  // position of the current capture; 0 = none
// Captures added in this run. Only grows (deleting never lowers it), so a
// temporary file name is never reused within a run.
extern std::int32_t gCptVign;

namespace capt {
// Copy every array element of position `from` to position `to`.
void copyEntry(int from, int to);
// Empty every array and counter (the state at start; tests use it between cases).
void resetList();
}  // namespace capt
