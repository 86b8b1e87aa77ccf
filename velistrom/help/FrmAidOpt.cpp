#include "velistrom/help/FrmAidOpt.h"

#include "velistrom/help/AideImage.h"
#include "velistrom/core/GlobTextes.h"

FrmAidOpt::FrmAidOpt() : vb::Form("FrmAidOpt"), PicAidOpt(*this, "PicAidOpt") {
  setBorderStyle(vb::vbFixedToolWindow);
  PicAidOpt.Move(0, 0);
  PicAidOpt.setPicture(help::ImageAide("aide_opt.jpg"));
  PicAidOpt.onClick = [this] { PicAidOpt_Click(); };
}

void FrmAidOpt::Form_Load() { help::ChargerAideImage(*this, PicAidOpt, gLng094); }

void FrmAidOpt::PicAidOpt_Click() { vb::Unload(*this); }
