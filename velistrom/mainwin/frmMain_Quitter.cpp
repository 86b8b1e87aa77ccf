// The tray icon's mouse codes, quitting (quitprog), the end of the desktop
// session, and the one-shot tidying timers of the start.
#include "velistrom/mainwin/Quitter.h"

#include "platform/Tray.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Runtime.h"
#include "velistrom/dialogs/FrmSortie.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/mainwin/Commandes.h"
#include "velistrom/mainwin/Drapeau.h"
#include "velistrom/mainwin/Fcam.h"
#include "velistrom/mainwin/Flistimages.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/core/Params.h"
#include "velistrom/mainwin/frmMain.h"
#include "velistrom/overlay/FrmFull.h"
#include "velistrom/startup/frmSplash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

constexpr char kPrefixeTemp[] = "Captprov_";

std::function<void(double)>& attenteFinSession() {
  static std::function<void(double)> attente;
  return attente;
}

void AttendreFinSession(double secondes) {
  if (attenteFinSession())
    attenteFinSession()(secondes);
  else
    vb::Wait(secondes);
}

// One step of the quit: whatever fails in it, the next step runs.
template <class F>
void Etape(F&& f) {
  try {
    f();
  } catch (...) {
  }
}

QString ChiffresSelection(double pixels) {
  const double tenu = std::clamp(std::isfinite(pixels) ? pixels : 0.0, 0.0, 9999.0);
  return vb::Format(tenu, "0000");
}

// A real pointer move over the window also comes here; only a call with the
// pointer elsewhere (on the tray icon) is a tray message. Without that, moving
// across the window at pixel column 515 or 516 would act as a tray click.
bool MessageTray(const vb::Form& f, int Button, int Shift, float Y) {
  if (Button != 0 || Shift != 0 || Y != 0) return false;
  const QWidget* w = f.widget();
  return !(w && w->isVisible() && w->underMouse());
}

}  // namespace

namespace mainwin {

ActionTray ActionDuCodeTray(int code) {
  switch (code) {
    case platform::TrayIcon::kLeftDoubleClick: return ActionTray::BasculerFenetres;
    case platform::TrayIcon::kRightDown: return ActionTray::MenuTray;
    default: return ActionTray::Aucune;
  }
}

int CodeTrayDeX(double x, int twipsPerPixelX) {
  if (twipsPerPixelX == 0 || !std::isfinite(x)) return 0;
  return int(std::nearbyint(x / twipsPerPixelX));
}

QString ParamsAvecSelection(const QString& params, double largPixels, double hautPixels) {
  EnregParams r(params);
  r.set(EnregParams::SelLarg, ChiffresSelection(largPixels));
  r.set(EnregParams::SelHaut, ChiffresSelection(hautPixels));
  return r.texte();
}

int SupprimerBitmapsTemp(const QString& dossier, const QStringList& noms) {
  if (dossier.isEmpty()) return 0;
  const QFileInfo infoDossier(dossier);
  if (!infoDossier.isDir()) return 0;
  const QString racine = infoDossier.absoluteFilePath();
  int supprimes = 0;
  for (const QString& nom : noms) {
    if (!nom.startsWith(kPrefixeTemp) || nom.contains(u'/') || nom.contains(u'\\')) continue;
    const QFileInfo fi(racine + "/" + nom);
    if (fi.absolutePath() != racine) continue;
    if (!fi.isSymLink() && !fi.isFile()) continue;  // a folder of that name is not ours
    if (QFile::remove(fi.absoluteFilePath())) ++supprimes;
  }
  return supprimes;
}

bool SupprimerDossierCaptVide(const QString& dossier) {
  if (dossier.isEmpty()) return false;
  const QFileInfo fi(dossier);
  if (fi.isSymLink() || !fi.isDir()) return false;
  // rmdir itself refuses a folder that still holds anything.
  return QDir().rmdir(fi.absoluteFilePath());
}

void setAttenteFinSession(std::function<void(double)> attente) { attenteFinSession() = std::move(attente); }

}  // namespace mainwin

// ============================================================================ tray

void FrmMain::Form_MouseMove(int Button, int Shift, float X, float Y) {
  LabDoubleClick.setVisible(false);
  for (int i = 0; i < mainwin::kNbBoutons; ++i)
    if (bouton.exists(i) && ImageList1.Count() >= i + 1) bouton[i].setPicture(ImageList1.ListImages(i + 1).Picture);

  if (!MessageTray(*this, Button, Shift, Y)) return;
  switch (mainwin::ActionDuCodeTray(mainwin::CodeTrayDeX(X, vb::Screen.TwipsPerPixelX()))) {
    case mainwin::ActionTray::BasculerFenetres: {
      Flistimages& fl = flistimages();
      if (!Visible()) {
        if (gNbCapt > 0) fl.setVisible(true);
        setVisible(true);
      }
      // Also right after the showing above: a window hidden in the normal
      // state comes back minimised, and the next double click restores it.
      if (WindowState() != vb::vbNormal) {
        setWindowState(vb::vbNormal);
        fl.setWindowState(vb::vbNormal);
        if (gNbCapt > 0) fl.setVisible(true);
        setVisible(true);
      } else {
        setWindowState(vb::vbMinimized);
        fl.setWindowState(vb::vbMinimized);
      }
      break;
    }
    case mainwin::ActionTray::MenuTray: PopupMenu(mnucaptu); break;
    case mainwin::ActionTray::Aucune: break;
  }
}

void FrmMain::Form_Terminate() { removeTrayIcon(); }

// ============================================================================ closing

void FrmMain::Form_QueryUnload(int& Cancel, int UnloadMode) {
  switch (UnloadMode) {
    case vb::vbFormCode:
      gQuitter = true;  // the thumbnail window may close now
      return;

    case vb::vbAppWindows: {
      if (gNbCapt < 1) {
        // Nothing to keep: the empty folder of the run goes, then the end.
        Etape([] { mainwin::SupprimerDossierCaptVide(gRepCapt); });
        vb::End();
        return;
      }
      int SavOk = -1;
      Etape([&] { EnregistrerTout(SavOk, 1, mainwin::FormatToutEnregistrer(gFormatBmp)); });
      if (NbSauves > 0) {
        Etape([] {
          FrmSortie& notice = frmSortie();
          notice.Label1.setCaption(gLng134);
          notice.Show();
        });
        // The temporary bitmaps stay: they are the copies of anything the save missed.
        AttendreFinSession(3.0);
        Etape([] {
          if (FrmSortie* notice = frmSortie.existing()) vb::Unload(*notice);
        });
        vb::End();
        return;
      }
      // Nothing written: the windows close with the session, the thumbnail
      // window too; the captures stay in their temporary files.
      gQuitter = true;
      return;
    }

    default:
      // The close box, the window manager, the task manager.
      quitprog();
      if (!vb::programEnded()) Cancel = 1;
      return;
  }
}

void FrmMain::quitprog() {
  // A second quit while the first one asks its question (the hotkey poll
  // keeps running under a message box) leaves the decision to the first.
  if (EnQuitprog) return;
  mainwin::Drapeau enCours(EnQuitprog);

  Etape([this] { TimPeriod.setEnabled(false); });
  Etape([] {
    for (vb::Form* f : vb::loadedForms())
      if (f->Name() == "Options") vb::Unload(*f);
  });

  bool nonSauvee = false;
  for (int i = 1; i <= gNbCapt && !nonSauvee; ++i) nonSauvee = gTabSauv[i].isEmpty();
  if (gNbCapt > 0 && nonSauvee) {
    const int reponse = vb::MsgBox(gLng115, vb::vbYesNoCancel | vb::vbQuestion, gLng116);
    if (reponse == vb::vbCancel) {
      if (MnuCaptper.Checked()) TimPeriod.setEnabled(true);
      return;
    }
    if (reponse == vb::vbYes) {
      int SavOk = -1;
      try {
        EnregistrerTout(SavOk, 1, mainwin::FormatToutEnregistrer(gFormatBmp));
      } catch (...) {
        SavOk = 0;
      }
      // Not saved: the captures stay, and so does the program.
      if (SavOk == 0) return;
    }
  }

  Etape([] {
    QStringList noms;
    for (int i = 0; i <= gNbCapt && i <= kMaxCapt; ++i) noms << gTabNomCapt[i];
    mainwin::SupprimerBitmapsTemp(gRepCapt, noms);
  });
  // The mail program has had them since the message was handed over.
  Etape([this] {
    for (const QString& piece : PiecesJointes) QFile::remove(piece);
    PiecesJointes.clear();
  });
  Etape([] { mainwin::SupprimerDossierCaptVide(gRepCapt); });
  Etape([this] { removeTrayIcon(); });
  Etape([this] {
    if (gMemoSel == 0) return;
    // The overlay keeps the last selection; never opened in this run, the
    // stored size is still the one in force.
    FrmFull* full = frmFull.existing();
    if (!full) return;
    const double larg = double(full->rectsel.Width()) / vb::Screen.TwipsPerPixelX();
    const double haut = double(full->rectsel.Height()) / vb::Screen.TwipsPerPixelY();
    gParams = mainwin::ParamsAvecSelection(gParams, larg, haut);
    gSelLarg = EnregParams(gParams).get(EnregParams::SelLarg);
    gSelHaut = EnregParams(gParams).get(EnregParams::SelHaut);
    // A failed write is reported there (with the reset offer) and the quit goes on.
    SavOptions();
  });

  // The thumbnail window refuses to close until the quit says so.
  gQuitter = true;
  Etape([] {
    if (Flistimages* fl = flistimages.existing()) vb::Unload(*fl);
  });
  Etape([this] { vb::Unload(*this); });
  Etape([] {
    if (Fcam* c = fcam.existing()) vb::Unload(*c);
  });
  Etape([] {
    if (FrmFull* full = frmFull.existing()) vb::Unload(*full);
  });
  Etape([this] {
    if (!ProcLance) return;
    ProcLance->terminate();  // nothing when it has ended
    ProcLance.reset();
  });
  vb::End();
}

// ============================================================================ tidying timers

void FrmMain::TimerUnload_Timer() {
  flistimages().setVisible(false);
  TimerUnload.setEnabled(false);
}

void FrmMain::Timsplash_Timer() {
  if (FrmSplash* splash = frmSplash.existing()) vb::Unload(*splash);
  Timsplash.setEnabled(false);
}

void FrmMain::ClignBordure() {
  rectsel.setBorderColor(rectsel.BorderColor() == vb::QBColor(0) ? vb::QBColor(7) : vb::QBColor(0));
}
