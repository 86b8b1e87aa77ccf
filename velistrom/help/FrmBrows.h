#pragma once
// The tutorial window: the tutorials page of the user's language inside the
// program. When no page can be shown, its address goes on the clipboard for
// an outside browser.
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"
#include "velistrom/help/NavWeb.h"

class FrmBrows : public vb::Form {
 public:
  FrmBrows();
  void Form_Load() override;
  void Cmdquitter_Click();

  help::NavWeb WebBrowser1;
  vb::CommandButton Cmdquitter;
};

inline vb::DefaultInstance<FrmBrows> frmBrows;
