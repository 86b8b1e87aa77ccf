#include "velistrom/help/Frmaidfv.h"

#include "velistrom/help/AideImage.h"
#include "velistrom/core/GlobTextes.h"

Frmaidfv::Frmaidfv() : vb::Form("Frmaidfv"), Picaidfv(*this, "Picaidfv") {
  setBorderStyle(vb::vbFixedToolWindow);
  Picaidfv.setAutoSize(true);
  Picaidfv.setBorderStyle(0);
  Picaidfv.Move(0, 0);
  Picaidfv.setPicture(help::ImageAide("aide_fv.jpg"));
  Picaidfv.onClick = [this] { Picaidfv_Click(); };
}

void Frmaidfv::Form_Load() { help::ChargerAideImage(*this, Picaidfv, gLng093); }

void Frmaidfv::Picaidfv_Click() { vb::Unload(*this); }
