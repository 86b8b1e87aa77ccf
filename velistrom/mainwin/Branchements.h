#pragma once
// The main window plugs itself into the folders that reach it only through an
// interface of their own (the start-up chain, the overlay, the timed-capture
// window, the GIF maker). Called once at start,
// before the first form shows; tests of the real windows call it too.

namespace mainwin {

void BrancherCotes();
void BrancherRemise();   // the overlay's main side
void BrancherRelais();   // the start-up chain's main side
void BrancherChrono();   // the timed-capture window's main side
void BrancherGifMaker(); // the GIF maker's side
void BrancherOptions();  // the options dialog's main side

}  // namespace mainwin
