#pragma once
// A picture help window: one explanatory picture; a click on it closes the window.
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"

class Frmaidfv : public vb::Form {
 public:
  Frmaidfv();
  void Form_Load() override;
  void Picaidfv_Click();

  vb::PictureBox Picaidfv;
};

inline vb::DefaultInstance<Frmaidfv> frmAidfv;
