#pragma once
// The banner shown at the end of every start: it settles the data folder,
// fetches the tips of the day (TipsDownload.h), sits a quarter of a second at
// the top of the screen and, as it closes, shows the main window.
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"

#include <functional>

class FrmSplash : public vb::Form {
 public:
  FrmSplash();

  void Form_Load() override;
  // Closing the banner hands over to the main window; never cancelled.
  void Form_QueryUnload(int& Cancel, int UnloadMode) override;
  // The tips download into the data folder (called by Form_Load only).
  void ChargtTips();

  void Timstart_Timer();
  void TimEffac_Timer();
  // Escape ends the whole program at once.
  void Form_KeyPress(int& KeyAscii);
  // Opens the author's address (language text 198).
  void lblAuteur_Click();
  // Kept for the transfer control's states; nothing starts a transfer on it.
  void InetFtp_StateChanged(int State);

  vb::Frame Frame1;
  vb::Label lblProductName{Frame1, "lblProductName"};
  vb::Label lblPlatform{Frame1, "lblPlatform"};
  vb::Label lblAuteur{Frame1, "lblAuteur"};
  vb::Label Label6{Frame1, "Label6"};
  vb::Timer Timstart;
  vb::Timer TimEffac;
};

inline vb::DefaultInstance<FrmSplash> frmSplash;

namespace startup {

// Plugs the banner into the language loader (LangLoader.h): once the texts are
// loaded the loader shows frmSplash.
void BrancherSplash();

// What the banner's closing shows: the main window (modeless, no owner), through
// the main side of Relais.h.
void AfficherFenetrePrincipale();

}  // namespace startup
