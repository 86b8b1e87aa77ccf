#include "velistrom/dialogs/FrmSortie.h"

#include "platform/forms/App.h"

namespace {
constexpr int kLargeur = 5400;
constexpr int kHauteur = 1500;
}  // namespace

FrmSortie::FrmSortie() : vb::Form("FrmSortie"), Label1(*this, "Label1") {
  setBorderStyle(vb::vbFixedToolWindow);
  setControlBox(false);
  setShowInTaskbar(false);
  setWidth(kLargeur);
  setHeight(kHauteur);
  setBackColor(0xFFFFFF);
  Label1.setBackColor(0xFFFFFF);
  Label1.setAlignment(2);
  Label1.setWordWrap(true);
  Label1.setFontBold(true);
  Label1.setUseMnemonic(false);
  Label1.Move(240, 300, kLargeur - 600, kHauteur - 720);
}

void FrmSortie::Form_Load() {
  setCaption(vb::App.Title());
  // Above whatever else is still on the screen while the session closes.
  setAlwaysOnTop(true);
  Move((vb::Screen.Width() - Width()) / 2, (vb::Screen.Height() - Height()) / 2);
}
