#pragma once
// The news window: the news page of the user's language, centred, closed by
// its button or Ctrl+Q.
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"
#include "velistrom/help/NavWeb.h"

class FrmActua : public vb::Form {
 public:
  FrmActua();
  void Form_Load() override;
  void Form_KeyDown(int& KeyCode, int Shift);
  void CdeQuit_Click();

  help::NavWeb Webre1;
  vb::CommandButton CdeQuit;
};

inline vb::DefaultInstance<FrmActua> frmActua;
