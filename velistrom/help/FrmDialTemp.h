#pragma once
// The short message window: a notice that closes itself 2 s after loading.
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"

class FrmDialTemp : public vb::Form {
 public:
  FrmDialTemp();
  void Form_Load() override;
  void Timer1_Timer();

  vb::Label LabAffich;
  vb::Timer Timer1;
};

inline vb::DefaultInstance<FrmDialTemp> frmDialTemp;
