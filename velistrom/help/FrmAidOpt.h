#pragma once
// A picture help window: one explanatory picture; a click on it closes the window.
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"

class FrmAidOpt : public vb::Form {
 public:
  FrmAidOpt();
  void Form_Load() override;
  void PicAidOpt_Click();

  vb::Image PicAidOpt;
};

inline vb::DefaultInstance<FrmAidOpt> frmAidOpt;
