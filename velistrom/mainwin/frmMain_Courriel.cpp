// E-mail: the ticked captures as JPEG attachments, and a message to the
// maker, both through the desktop's mail program (xdg-email).
#include "velistrom/mainwin/frmMain.h"

#include "platform/Mail.h"
#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Runtime.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/helpers/Conversion.h"
#include "velistrom/mainwin/Compagnons.h"
#include "velistrom/mainwin/Drapeau.h"
#include "velistrom/mainwin/Flistimages.h"
#include "velistrom/mainwin/Sauvegarde.h"

namespace {

bool Cochee(Flistimages& fl, int i) { return fl.Chkmail.exists(i) && fl.Chkmail[i].Value() == 1; }

void Cocher(Flistimages& fl, int i) {
  if (fl.Chkmail.exists(i)) fl.Chkmail[i].setValue(1);
}

}  // namespace

void FrmMain::mnucourriel_Click() {
  const bool liste = gNbCapt >= 1;
  for (vb::Menu* m : {&mnujoindreune, &mnujoindrecoch, &mnujoindretout, &mnuimgforum}) m->setEnabled(liste);
}

void FrmMain::mnujoindreune_Click() {
  if (mainwin::CaptureCourante()) Cocher(flistimages(), gNumCapt);
  EnvoiMailCoch(true);
}

void FrmMain::mnujoindretout_Click() {
  for (int i = 1; i <= gNbCapt; ++i) Cocher(flistimages(), i);
  EnvoiMailCoch(true);
}

void FrmMain::mnujoindrecoch_Click() { EnvoiMailCoch(true); }

void FrmMain::EnvoiMailCoch(bool) {
  if (MailEnCours) return;
  mainwin::Drapeau enCours(MailEnCours);
  Flistimages& fl = flistimages();

  platform::MailMessage message{QString(), gLng243, gLng244, {}};
  // The attached captures by their bitmap's name: the list may change while
  // the mail program is asked, and the marks must go to these captures.
  QStringList joints;
  for (int i = 1; i <= gNbCapt; ++i) {
    if (!Cochee(fl, i)) continue;
    if (message.attachments.size() >= kMaxPiecesJointes) {
      vb::MsgBox(
          QString::number(vb::vbErrSubscript) + " " + vb::Error::standardDescription(vb::vbErrSubscript),
          vb::vbCritical);
      return;
    }
    CheminCapt = gRepCapt + "/" + gTabNomCapt[i];
    NomFinal = compag::NomJpegMail(gRepCapt, gPrefixe, vb::DateText(), vb::TimeText(), i,
                                   [this](const QString& c) { return JpegPris(c); });
    // ConvImage has told the user; nothing is sent and the ticks stay.
    if (!Conversion::ConvImage(CheminCapt, NomFinal, Conversion::FormatJpeg, gQualJpg)) return;
    JpegsRemis << NomFinal;
    PiecesJointes << NomFinal;
    message.attachments << NomFinal;
    joints << gTabNomCapt[i];
  }

  const platform::MailResult r = platform::composeMail(message);
  if (!r.accepted) {
    vb::MsgBox(gLng162 + QString::number(r.code) + " " + r.description, vb::vbCritical);
    return;
  }
  for (int i = 1; i <= gNbCapt; ++i) {
    if (!joints.contains(gTabNomCapt[i]) || !fl.Chkmail.exists(i)) continue;
    fl.pictmail[i].setVisible(true);
    fl.Chkmail[i].setValue(2);
  }
}

void FrmMain::envoimail() {
  if (MailEnCours) return;
  mainwin::Drapeau enCours(MailEnCours);
  // Offered, never insisted on: a desktop without a mail program leaves it there.
  platform::composeMail({compag::AdresseSupport(), gLng128, QString(), {}});
}
