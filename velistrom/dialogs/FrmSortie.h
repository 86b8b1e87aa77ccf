#pragma once
// The short notice shown while the program closes with the desktop session,
// after the captures were saved without asking. It has no buttons: the main
// window unloads it when its wait is over.
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"

class FrmSortie : public vb::Form {
 public:
  FrmSortie();

  void Form_Load() override;

  vb::Label Label1;  // the notice text, set by the caller
};

inline vb::DefaultInstance<FrmSortie> frmSortie;
