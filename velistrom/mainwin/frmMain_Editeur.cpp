// The external editor and the hand-over of the current capture to the
// companion programs: the editor is opened on the capture's temporary bitmap
// and followed through the child we started, TimPaint reloading the capture
// while it runs; Postelle, Spreadwell and the puzzles get a fresh JPEG of it.
#include "velistrom/mainwin/frmMain.h"

#include "platform/Imaging.h"
#include "platform/Shell.h"
#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Runtime.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/helpers/Conversion.h"
#include "velistrom/mainwin/Compagnons.h"
#include "velistrom/mainwin/Drapeau.h"
#include "velistrom/mainwin/Sauvegarde.h"

#include <QFileInfo>

namespace {

const QString kPasDImage = QStringLiteral("Pas d'image / No picture");

QString BitmapDe(int i) { return gRepCapt + "/" + gTabNomCapt[i]; }

std::unique_ptr<platform::ChildProgram> Lancer(const compag::Lancement& l) {
  return platform::startProgram(l.programme, l.arguments);
}

// A program the menu or EnvoiPartage could not start.
void EchecLancement(const QString& programme) {
  vb::MsgBox(QString::number(vb::vbErrFileNotFound) + " " +
                 vb::Error::standardDescription(vb::vbErrFileNotFound) + "\n" + programme,
             vb::vbCritical);
}

}  // namespace

// ---------------------------------------------------------------- the editor

void FrmMain::MnuEditPaint_Click() {
  if (!mainwin::CaptureCourante()) {
    vb::MsgBox(gLng160, vb::vbInformation);
    return;
  }
  CheminCapt = BitmapDe(gNumCapt);
  const compag::Editeur choisi = compag::EditeurAUtiliser(gEditeur, platform::desktopPaintProgram());
  auto ouvrir = [this](const QString& programme) -> std::unique_ptr<platform::ChildProgram> {
    if (programme.isEmpty()) return nullptr;
    return platform::startProgram(programme, {CheminCapt});
  };

  if (auto editeur = ouvrir(choisi.programme)) {
    // An editor watched already: the caption to come back to is still the one from before it.
    if (!TimPaint.Enabled()) TitreAvantEdit = Caption();
    setCaption(gLng173 + compag::NomEditeurAffiche(choisi.programme));
    ProcEditeur = std::move(editeur);
    gPidEditeur = ProcEditeur->pid();
    NomCaptEditee = gTabNomCapt[gNumCapt];
    RechargeSignalee = false;
    TimPaint.setEnabled(true);
    return;
  }
  // The desktop's own paint program, not followed: the caption stays as it is.
  if (!choisi.parDefaut) {
    vb::MsgBox(gLng118, vb::vbExclamation);
    if (ouvrir(platform::desktopPaintProgram())) return;
  }
  vb::MsgBox(gTxtErrLance, vb::vbExclamation);
}

void FrmMain::TimPaint_Timer() {
  // A message box below lets further ticks through.
  if (DansTimPaint) return;
  mainwin::Drapeau dedans(DansTimPaint);

  // Another capture on show (or the editor's one deleted): its picture is not
  // the editor's, and the editor's later saves stay in its own capture's file.
  if (!mainwin::CaptureCourante() || gTabNomCapt[gNumCapt] != NomCaptEditee) {
    TimPaint.setEnabled(false);
    return;
  }
  // Read before the reload: an editor that has ended made its last save before it.
  const bool enMarche = ProcEditeur && ProcEditeur->isRunning();

  const QString chemin = BitmapDe(gNumCapt);
  QImage essai;
  const platform::ImageStatus st = platform::loadPicture(chemin, essai);
  if (st == platform::ImageStatus::Ok) {
    int KeyCode = 116;
    Form_KeyDown(KeyCode, 0);
  } else if (!RechargeSignalee) {
    RechargeSignalee = true;
    vb::MsgBox(
        gLng190 + '\r' + chemin + " !" + '\r' + "Status Code= " + QString::number(platform::statusCode(st)),
        vb::vbCritical);
  }
  if (enMarche) return;

  setCaption(TitreAvantEdit);
  TimPaint.setEnabled(false);
  ProcEditeur.reset();
}

// ---------------------------------------------------------------- companions

bool FrmMain::JpegPris(const QString& chemin) const {
  return JpegsRemis.contains(chemin) || QFileInfo::exists(chemin) || QFileInfo(chemin).isSymLink();
}

bool FrmMain::PreparerJpegEnvoi() {
  if (!mainwin::CaptureCourante()) {
    vb::MsgBox(kPasDImage);
    return false;
  }
  CheminCapt = BitmapDe(gNumCapt);
  JpegEnvoi = compag::NomJpegEnvoi(gRepCapt, gPrefixe, vb::DateText(), vb::TimeText(),
                                   [this](const QString& c) { return JpegPris(c); });
  NomFinal = JpegEnvoi;
  // ConvImage tells the user what failed; a program started on a missing file
  // would only fail in its turn.
  if (!Conversion::ConvImage(CheminCapt, JpegEnvoi, Conversion::FormatJpeg, gQualJpg)) return false;
  JpegsRemis << JpegEnvoi;
  return true;
}

void FrmMain::mnuimgforum_Click() {
  if (!PreparerJpegEnvoi()) return;
  const compag::Lancement l = compag::LancementPostelle(mainwin::DossierProgrammes(), JpegEnvoi);
  if (!Lancer(l)) EchecLancement(l.programme);
}

void FrmMain::EnvoiPartage() {
  if (!PreparerJpegEnvoi()) return;
  const compag::Lancement l = compag::LancementSpreadwell(mainwin::DossierProgrammes(), JpegEnvoi);
  if (!Lancer(l)) EchecLancement(l.programme);
}

void FrmMain::StatusBar1_PanelClick(vb::Panel& Panel) {
  const QString cle = Panel.Key();  // the panel is not read after events have run
  if (!PreparerJpegEnvoi()) return;
  vb::DoEvents();
  auto lance = Lancer(compag::LancementPanneau(mainwin::DossierProgrammes(), cle, JpegEnvoi, gCodeLng));
  if (!lance) {
    vb::MsgBox(gTxtErrLance, vb::vbExclamation);
    return;
  }
  ProcLance = std::move(lance);
  vb::DoEvents();
}

// ---------------------------------------------------------------- folder browse

void FrmMain::MnuOuvDos_Click() {
  // Only a saved capture shows its folder in the caption.
  const QString dossier = compag::DossierDuTitre(Caption());
  if (dossier.isEmpty()) return;
  CDlg1.setInitDir(dossier);
  if (PremDialogue) {
    CDlg1.setFilterIndex(2);
    CDlg1.setFileName(gTxtCapture + vb::Format(gNumCapt, "00"));
  } else {
    CDlg1.setFileName(sauv::NomPropose(NomFinal, gTxtCapture, gNumCapt));
  }
  PremDialogue = false;
  CDlg1.setFilter(gLng175);
  CDlg1.setDialogTitle(gLng163);
  // Nothing is written: no question about replacing a file either.
  CDlg1.setFlags(CDlg1.Flags() & ~vb::cdlOFNOverwritePrompt);
  try {
    CDlg1.ShowSave();
  } catch (const vb::Error&) {
    // cancelled: the dialog only served to look at the folder
  }
}
