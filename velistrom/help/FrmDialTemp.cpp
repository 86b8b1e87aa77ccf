#include "velistrom/help/FrmDialTemp.h"

#include "velistrom/help/MainSide.h"
#include "velistrom/core/GlobTextes.h"

FrmDialTemp::FrmDialTemp()
    : vb::Form("FrmDialTemp"), LabAffich(*this, "LabAffich"), Timer1(*this, "Timer1", 2000, true) {
  setBorderStyle(vb::vbFixedToolWindow);
  setWidth(4800);
  setHeight(1400);
  LabAffich.setUseMnemonic(false);
  LabAffich.setWordWrap(true);
  LabAffich.setAlignment(2);
  LabAffich.setBackStyle(0);
  LabAffich.Move(240, 240, 4200, 600);
  Timer1.onTimer = [this] { Timer1_Timer(); };
}

void FrmDialTemp::Form_Load() {
  setBackColor(help::mainSide().mainBackColor());
  LabAffich.setCaption(gLng241);
  setCaption(gLng242);
}

void FrmDialTemp::Timer1_Timer() {
  Timer1.setEnabled(false);
  vb::Unload(*this);
}
