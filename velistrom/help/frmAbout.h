#pragma once
// The about box: title, version, a few texts, and four buttons (OK, system
// information, a mail to the maker, the web page). Command 18 shows it
// modeless with periodic capture switched off; only OK switches it on again.
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"

#include <QString>

class FrmAbout : public vb::Form {
 public:
  FrmAbout();

  void Form_Load() override;

  void cmdOK_Click();
  void cmdSysInfo_Click();
  void Cdemail_Click();
  void CdeDon_Click();

  // Finds the system-information tool in the lookup table and starts it;
  // message gLng129 when it is not there or cannot be started.
  void StartSysInfo();
  // One value of the lookup table as text into KeyVal; false (KeyVal empty)
  // when there is none.
  static bool GetKeyValue(const QString& KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                          QString& KeyVal);

  vb::PictureBox picIcon;
  vb::Label lblTitle;
  vb::Label lblVersion;
  vb::Label lblDescription;
  vb::Label lblDisclaimer;
  vb::Label labmail;
  vb::Label LabRemerc;
  vb::CommandButton cmdOK;
  vb::CommandButton cmdSysInfo;
  vb::CommandButton Cdemail;
  vb::CommandButton CdeDon;
};

inline vb::DefaultInstance<FrmAbout> frmAbout;

namespace help {
// "Version " and major.minor.revision, each without leading zeros.
QString VersionText(int major, int minor, int revision);
}  // namespace help
