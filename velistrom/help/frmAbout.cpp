#include "velistrom/help/frmAbout.h"

#include "platform/Shell.h"
#include "platform/SystemLookup.h"
#include "platform/forms/App.h"
#include "platform/forms/MsgBox.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/core/Ressources.h"
#include "velistrom/help/MainSide.h"

#include <QFileInfo>
#include <QImage>
#include <QProcess>


namespace {

constexpr char kRacine[] = "HKEY_LOCAL_MACHINE";

// The tool runs on its own; the layer reaps it when it ends.
bool Demarrer(const QString& programme, const QStringList& arguments) {
  return platform::startProgram(programme, arguments) != nullptr;
}

// A command line as stored: the program and its arguments, double quotes
// around one that holds blanks; never run through a shell.
bool Lancer(const QString& commande) {
  QStringList mots = QProcess::splitCommand(commande);
  if (mots.isEmpty()) return false;
  const QString programme = mots.takeFirst();
  return Demarrer(programme, mots);
}

QImage ImageLivree(const char* nom) { return core::ChargerRessource(QLatin1String(nom)); }

}  // namespace

namespace help {
QString VersionText(int major, int minor, int revision) {
  return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}
}  // namespace help

FrmAbout::FrmAbout()
    : vb::Form("frmAbout"),
      picIcon(*this, "picIcon"),
      lblTitle(*this, "lblTitle"),
      lblVersion(*this, "lblVersion"),
      lblDescription(*this, "lblDescription"),
      lblDisclaimer(*this, "lblDisclaimer"),
      labmail(*this, "labmail"),
      LabRemerc(*this, "LabRemerc"),
      cmdOK(*this, "cmdOK"),
      cmdSysInfo(*this, "cmdSysInfo"),
      Cdemail(*this, "Cdemail"),
      CdeDon(*this, "CdeDon") {
  setBorderStyle(vb::vbFixedDouble);
  setWidth(6900);
  setHeight(4500);
  picIcon.setBorderStyle(0);
  picIcon.Move(240, 240, 720, 720);
  for (vb::Label* l : {&lblTitle, &lblVersion, &lblDescription, &lblDisclaimer, &labmail, &LabRemerc}) {
    l->setUseMnemonic(false);
    l->setWordWrap(true);
  }
  lblTitle.setFontBold(true);
  lblTitle.setFontSize(12);
  lblTitle.Move(1200, 240, 5400, 360);
  lblVersion.Move(1200, 660, 5400, 240);
  lblDescription.Move(1200, 1020, 5400, 720);
  labmail.Move(1800, 1860, 3000, 420);
  // The mail and web buttons show their pictures only.
  for (vb::CommandButton* b : {&Cdemail, &CdeDon}) b->setStyle(1);
  Cdemail.Move(1200, 1800, 480, 480);
  CdeDon.Move(4920, 1800, 480, 480);
  // Room for two lines of thanks, and buttons as wide as "System information...".
  LabRemerc.Move(1200, 2340, 5400, 420);
  lblDisclaimer.Move(240, 2880, 4320, 840);
  cmdOK.setCaption("OK");
  cmdOK.setDefault(true);
  cmdOK.setCancel(true);
  cmdOK.Move(4800, 2880, 1800, 375);
  cmdSysInfo.Move(4800, 3360, 1800, 375);

  cmdOK.onClick = [this] { cmdOK_Click(); };
  cmdSysInfo.onClick = [this] { cmdSysInfo_Click(); };
  Cdemail.onClick = [this] { Cdemail_Click(); };
  CdeDon.onClick = [this] { CdeDon_Click(); };
}

void FrmAbout::Form_Load() {
  setCaption(gLng099);
  lblVersion.setCaption(help::VersionText(VELISTROM_VERSION_MAJOR, VELISTROM_VERSION_MINOR,
                                          VELISTROM_VERSION_PATCH));
  lblDescription.setCaption(gLng096);
  lblTitle.setCaption(vb::App.Title());
  lblDisclaimer.setCaption(gLng097);
  labmail.setCaption(gLng098);
  cmdSysInfo.setCaption(gLng100);
  LabRemerc.setCaption(gLng183);
  // The pictures ship beside the program; a missing one leaves the face plain.
  const QImage icone = ImageLivree("velistrom.png");
  if (!icone.isNull()) picIcon.setPicture(icone.scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  const QImage mail = ImageLivree("mark_mail.png");
  if (!mail.isNull()) Cdemail.setPicture(mail);
  else Cdemail.setCaption("@");
  const QImage web = ImageLivree("about_web.png");
  if (!web.isNull()) CdeDon.setPicture(web);
  else CdeDon.setCaption("www");
}

void FrmAbout::cmdOK_Click() {
  help::mainSide().restartPeriodicIfSelected();
  vb::Unload(*this);
}

void FrmAbout::cmdSysInfo_Click() { StartSysInfo(); }

void FrmAbout::Cdemail_Click() { help::mainSide().envoimail(); }

void FrmAbout::CdeDon_Click() {
  // Only an http or https address is handed on; the result is not reported.
  platform::openAddress(gLng203);
}

void FrmAbout::StartSysInfo() {
  QString valeur;
  if (GetKeyValue(kRacine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", valeur)) {
    // Started as found, without a test first.
    if (Lancer(valeur)) return;
  } else if (GetKeyValue(kRacine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", valeur)) {
    const QString outil = valeur + "/MSINFO32";
    if (QFileInfo(outil).isFile() && Demarrer(outil, {})) return;
  }
  vb::MsgBox(gLng129, vb::vbOKOnly);
}

bool FrmAbout::GetKeyValue(const QString& KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                           QString& KeyVal) {
  const std::optional<QString> v = platform::lookupValue(KeyRoot, KeyName, SubKeyRef);
  KeyVal = v.value_or(QString());
  return v.has_value();
}
