#pragma once
// A picture help window: one explanatory picture; a click on it closes the window.
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"

class FrmAidfn : public vb::Form {
 public:
  FrmAidfn();
  void Form_Load() override;
  void PicaidFN_Click();

  vb::PictureBox PicaidFN;
};

inline vb::DefaultInstance<FrmAidfn> frmAidfn;
