// Periodic and long-period capture of the main window: command 6 opens the
// timed-capture window, the periodic timer repeats the last capture and saves
// the list by tens, the long-period timer runs the series that window armed.
#include "platform/Pointer.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Runtime.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/mainwin/Commandes.h"
#include "velistrom/mainwin/Fcam.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/Ressources.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/mainwin/frmMain.h"
#include "velistrom/timed/ChampsChrono.h"
#include "velistrom/timed/FrmChrono.h"

namespace {

// One shot of either timer at a time: a shot waits, saves and may show a box,
// and both timers keep ticking meanwhile.
class TirEnCours {
 public:
  explicit TirEnCours(bool& drapeau) : drapeau_(drapeau), libre_(!drapeau) { drapeau_ = true; }
  ~TirEnCours() {
    if (libre_) drapeau_ = false;
  }
  TirEnCours(const TirEnCours&) = delete;
  TirEnCours& operator=(const TirEnCours&) = delete;
  bool libre() const { return libre_; }

 private:
  bool& drapeau_;
  bool libre_;
};

}  // namespace

void FrmMain::MnuCaptper_Click() {
  if (gModeCapt == "e" || gModeCapt == "f" || gNbCapt == 0) {
    vb::MsgBox(gLng033, vb::vbInformation);
    return;
  }
  FrmChrono& chrono = frmChrono();
  if (chrono.Visible()) chrono.setWindowState(vb::vbNormal);
  else chrono.Show(vb::vbModeless);
}

void FrmMain::TimPeriod_Timer() {
  const TirEnCours tir(TirSerie);
  if (!tir.libre()) return;
  int SavOk = -1;
  gHCurseur = platform::pointerHandle();
  Rafraichir();
  QString copie = gModeCapt;
  CopiePP(copie);
  gModeCapt = copie;
  if (gNbCapt > 9) {
    EnregistrerTout(SavOk, 1, mainwin::FormatToutEnregistrer(gFormatBmp));
    if (SavOk == 0) {
      // The captures stay in the list; the periodic capture stops.
      TimPeriod.setEnabled(false);
      MnuCaptper.setChecked(false);
    } else {
      int sansQuestion = 0;
      Supprimertout(sansQuestion);
    }
  }
}

void FrmMain::TimerLngPerio_Timer() {
  const TirEnCours tir(TirSerie);
  if (!tir.libre()) return;
  int SavOk = -1;
  gHCurseur = platform::pointerHandle();
  // The window is loaded again, hidden, when it was closed during the series.
  const QString format = frmChrono().FormatChoisi();

  const QString maintenant = vb::TimeText();
  if (maintenant < gHeureDeb) return;
  if (timed::SerieFinie(maintenant, gHeureFin, gNbImgLim, gNbImgPer)) {
    EnregistrerTout(SavOk, 1, format);
    TimerLngPerio.setEnabled(false);
    frmChrono().Timer1.setEnabled(true);  // afresh: the window may have closed under a box
    if (bouton.exists(6)) bouton[6].setBorderStyle(0);
    MnuCaptper.setChecked(false);
    return;
  }

  if (gPremTop) {
    // The first shot comes one period after the start, not at it.
    gPremTop = false;
    gProchCapt = timed::Echeance(vb::TimerNow(), gIntervPer);
  }
  FrmChrono& chrono = frmChrono();
  chrono.Timer1.setEnabled(false);
  chrono.setCaption(timed::Compte(maintenant, gLng232, gProchCapt - vb::TimerNow()));
  if (vb::TimerNow() < gProchCapt) return;

  gProchCapt = timed::Echeance(vb::TimerNow(), gIntervPer);
  Rafraichir();
  QString copie = gModeCapt;
  CopiePP(copie);
  gModeCapt = copie;
  gNbImgPer += 1;
  // The window may have been closed while the shot was taken.
  frmChrono().Labcpt.setCaption(vb::CStr(gNbImgPer) + " images");
  Labdeja.Move(50, 50);
  Labdeja.setVisible(true);
  Timdeja.setEnabled(true);
  EnregistrerTout(SavOk, 1, format);
  vb::DoEvents();
  // A failed save leaves the list as it is; the series goes on.
  if (SavOk != 0 && gNbCapt >= 10) {
    int sansQuestion = 0;
    Supprimertout(sansQuestion);
    vb::DoEvents();
  }
  if (gMuet == 0) mainwin::JouerSon(core::CheminRessource("Capture.wav"));
}
