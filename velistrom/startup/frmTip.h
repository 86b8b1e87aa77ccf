#pragma once
// The tip of the day: one tip drawn at random from gTips, a button for another
// one, and the box that decides whether the window comes at start-up.
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"

#include <QString>

class FrmTip : public vb::Form {
 public:
  FrmTip();

  // Unloads itself at once, showing nothing, when the tips are switched off.
  void Form_Load() override;
  // Shows tip number AstuceCourante; with no tips the text stays as it is.
  void DisplayCurrentTip();
  // Draws a tip (the same one may come twice in a row) and shows it.
  void AstuceSuivante();

  void cmdNextTip_Click();
  void cmdOK_Click();
  // Writes the box's value to the setting at once.
  void chkLoadTipsAtStartup_Click();
  void Timer1_Timer();

  vb::PictureBox Picture1;
  vb::Label Label1{Picture1, "Label1"};
  vb::Label lblTipText{Picture1, "lblTipText"};
  vb::CommandButton cmdOK;
  vb::CommandButton cmdNextTip;
  vb::CheckBox chkLoadTipsAtStartup;
  vb::Timer Timer1;

  // The tip shown: 1-based position in gTips.
  int AstuceCourante = 0;
};

inline vb::DefaultInstance<FrmTip> frmTip;

namespace tips {

// The setting "Show Tips at Startup" (section "Options" of the program's
// settings). Missing, or not a number, means show; a number rounding to 0
// means do not show.
bool AfficherAuDemarrage();
// Stores "1" or "0" (the re-enable command of the main window stores "1").
void EcrireAfficherAuDemarrage(bool show);
// The stored text itself, empty when missing (for tests and diagnostics).
QString ValeurStockee();

}  // namespace tips
