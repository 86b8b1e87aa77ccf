#include "velistrom/help/FrmAidfn.h"

#include "velistrom/help/AideImage.h"
#include "velistrom/core/GlobTextes.h"

FrmAidfn::FrmAidfn() : vb::Form("FrmAidfn"), PicaidFN(*this, "PicaidFN") {
  setBorderStyle(vb::vbFixedToolWindow);
  PicaidFN.setAutoSize(true);
  PicaidFN.setBorderStyle(0);
  PicaidFN.Move(0, 0);
  PicaidFN.setPicture(help::ImageAide("aide_fn.jpg"));
  PicaidFN.onClick = [this] { PicaidFN_Click(); };
}

void FrmAidfn::Form_Load() { help::ChargerAideImage(*this, PicaidFN, gLng092); }

void FrmAidfn::PicaidFN_Click() { vb::Unload(*this); }
