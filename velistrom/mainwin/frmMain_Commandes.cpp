// The command dispatcher, the toolbar's look, the opening roll-out and the
// hotkey poll of the main window.
#include "platform/Keys.h"
#include "platform/Pointer.h"
#include "platform/forms/MsgBox.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/help/AideImage.h"
#include "velistrom/mainwin/Commandes.h"
#include "velistrom/mainwin/Flistimages.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/mainwin/frmMain.h"
#include "velistrom/options/Options.h"
#include "velistrom/overlay/FrmFull.h"
#include "velistrom/startup/frmTip.h"

namespace {

mainwin::Touches touchesActuelles() { return {gTouche1, gTouche2, gTouche3, gTouche4, gTouche5}; }

std::function<void(int)>& relaisCommande() {
  static std::function<void(int)> relais;
  return relais;
}

}  // namespace

void mainwin::setRelaisCommandePourTests(std::function<void(int)> relais) { relaisCommande() = std::move(relais); }

void FrmMain::bouton_Click(int Index) {
  if (relaisCommande()) return relaisCommande()(Index);
  ExecBouton(Index, 0);
}

void FrmMain::ExecBouton(int Index, int FromHotkey) {
  // ---- prologue
  Timbouton.setEnabled(true);
  for (int i : bouton.indexes())
    if (mainwin::BordureRemiseAZero(i)) bouton[i].setBorderStyle(0);
  if (mainwin::PrendAspectEnfonce(Index) && bouton.exists(Index)) bouton[Index].setBorderStyle(1);
  labdeb.setVisible(false);
  gParClavier = FromHotkey != 0;
  if (FrmTip* tip = frmTip.existing()) vb::Unload(*tip);

  try {
    switch (Index) {
      case 0:
      case 1: {
        if (Index == 0) {
          SecondeCaptOk = true;
        } else {
          if (!SecondeCaptOk) {
            vb::MsgBox(gLng265, vb::vbInformation);
            return;
          }
          SecondeCaptOk = false;
        }
        // An overlay already on screen (a region hotkey pressed again) goes
        // first: the new grab must see the desktop, not the frozen picture.
        bool attendre = false;
        std::vector<unsigned long> cachees;
        if (FrmFull* full = frmFull.existing(); full && full->Visible()) {
          NoterFenetre(cachees, *full);
          full->Hide();
          vb::DoEvents();
          attendre = true;
        }
        bool mainCachee = false;
        bool listeCachee = false;
        if (gGardeVisible == 0) {
          mainCachee = Visible();
          if (mainCachee) NoterFenetre(cachees, *this);
          Hide();
          vb::DoEvents();
          if (Flistimages* liste = flistimages.existing()) {
            listeCachee = liste->Visible();
            if (listeCachee) NoterFenetre(cachees, *liste);
            liste->Hide();
          }
          vb::DoEvents();
          attendre = true;
        }
        if (attendre) Attente(0.4f);
        AttendreHorsEcran(cachees);
        gModeCapt = "z";
        gAnnuler = false;
        if (!frmFull().InitFull(Index)) {
          // No overlay (it said why): the windows it would have brought back return now.
          if (mainCachee) Show();
          if (Flistimages* liste = flistimages.existing(); liste && listeCachee) liste->Show();
          return;
        }
        frmFull().Show(vb::vbModeless);
        RideauPhoto();
        AnnulPossible = true;
        break;
      }
      case 2: {
        CapturTTbis(0);
        CocherZoom(2);
        RideauPhoto();
        gModeCapt = "e";
        FinCapture(0, Picture1);
        break;
      }
      case 3: {
        const double largAvant = gLargImg, hautAvant = gHautImg;
        CapturTTbis(1);
        CocherZoom(3);
        TimZoom.setEnabled(true);
        if (FenetreVide) {
          // Nothing was taken: the last picture's size (the region a repeat
          // takes again) stays.
          gLargImg = largAvant;
          gHautImg = hautAvant;
          vb::MsgBox(gLng143, vb::vbInformation);
          break;
        }
        gModeCapt = "f";
        FinCapture(1, Picture2);
        break;
      }
      case 4:
        if (!AnnulPossible) break;
        gAnnuler = true;
        if (!frmFull().InitFull(1)) break;
        frmFull().Show(vb::vbModeless);
        gModeCapt = "z";
        break;
      case 5: {
        Rafraichir();
        CopieDuModeCapt();
        break;
      }
      case 6: MnuCaptper_Click(); break;
      case 7: Buttcopier(); break;
      case 8: {
        int n = gNumCapt;
        SuppVignette(n);
        break;
      }
      case 9: {
        int avecMess = -1;  // True
        Supprimertout(avecMess);
        break;
      }
      case 10: Enregistrer2(); break;
      case 11: {
        int savOk = 0;
        EnregistrerTout(savOk, 1, mainwin::FormatToutEnregistrer(gFormatBmp));
        break;
      }
      case 12: Imprimer(); break;
      case 13: MnuEditPaint_Click(); break;
      case 14: Mnumulti_Click(); break;
      case 15: Agrandred(); break;
      case 16: {
        if (gNbCapt <= 0) break;
        Flistimages& liste = flistimages();
        // A minimised list (its button already shows it off) comes back too:
        // without a taskbar nothing else would bring it back.
        if (!liste.Visible() || liste.WindowState() == vb::vbMinimized) {
          liste.setVisible(true);
          if (liste.WindowState() == vb::vbMinimized) liste.setWindowState(vb::vbNormal);
          if (bouton.exists(16)) bouton[16].setBorderStyle(0);
        } else {
          liste.setVisible(false);
          if (bouton.exists(16)) bouton[16].setBorderStyle(1);
        }
        break;
      }
      case 17: mnuoptions_Click(); break;
      case 18:
        TimPeriod.setEnabled(false);
        mainwin::BrancherAide(*this);
        if (mainwin::montrerAPropos()) mainwin::montrerAPropos()();
        break;
      case 19: quitprog(); break;
      default: break;
    }
  } catch (const vb::Error& e) {
    vb::MsgBox(QString::number(e.Number()) + " " + e.Description(), vb::vbCritical);
  } catch (const std::exception& e) {
    vb::MsgBox(QString::fromLocal8Bit(e.what()), vb::vbCritical);
  }
}

void FrmMain::Timbouton_Timer() {
  for (int i : bouton.indexes())
    if (mainwin::BordureRemiseAZero(i)) bouton[i].setBorderStyle(0);
  Timbouton.setEnabled(false);
}

// ---------------------------------------------------------------- hover images

void FrmMain::bouton_MouseMove(int Index, int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/) {
  auto imagesNormales = [this] {
    for (int i = 0; i < mainwin::kNbBoutons; ++i)
      if (bouton.exists(i) && ImageList1.Count() >= i + 1) bouton[i].setPicture(ImageList1.ListImages(i + 1).Picture);
  };
  if (Index < 0 || Index >= mainwin::kNbBoutons) {
    imagesNormales();
    return;
  }
  // Over the same button the restore is needed only now and then; the result
  // on screen is the same.
  if (Index != DernierBouton || !SautReinit) imagesNormales();
  SautReinit = Index == DernierBouton ? !SautReinit : false;
  if (ImageList1.Count() >= Index + 21) bouton[Index].setPicture(ImageList1.ListImages(Index + 21).Picture);

  if (Index == 11) {
    LabDoubleClick.setLeft(Width() - LabDoubleClick.Width() - 300);
    LabDoubleClick.setTop(bouton[11].Top() + bouton[11].Height() + 50);
    LabDoubleClick.setVisible(true);
  } else {
    LabDoubleClick.setVisible(false);
  }
  DernierBouton = Index;
}

void FrmMain::bouton_DblClick(int Index) {
  if (Index != 11) return;
  try {
    CDlg1.setInitDir(gRepSauve);
    CDlg1.setFilter("Tous fichiers (*.*)|*.*");
    CDlg1.setDialogTitle(gLng240);
    CDlg1.ShowOpen();  // only to look at the saved files; the name is not used
  } catch (const vb::Error&) {
  }
}

// ---------------------------------------------------------------- roll-out and start hint

void FrmMain::Timderoul_Timer() {
  if (22 * bouton[0].Width() <= Width()) {
    Timderoul.setEnabled(false);
    Timlabdeb.setEnabled(true);
    for (vb::Menu* m : {&mnufichier, &mnuedition, &mnuoutils, &mnuHelp, &Mnured2}) m->setVisible(true);
  } else {
    setWidth(Width() + 300);
  }
}

void FrmMain::Timlabdeb_Timer() {
  PosLabdeb += 100;
  if (PosLabdeb == 100) {
    platform::watchKeyPresses();  // a tap before the first poll counts
    Timerclav.setEnabled(true);
  }
  labdeb.setLeft(int(6000 - PosLabdeb));
  if (PosLabdeb >= 5900) {
    PosLabdeb = 0;
    Timlabdeb.setEnabled(false);
  }
}

// ---------------------------------------------------------------- hotkeys and pointer

void FrmMain::Timerclav_Timer() {
  const platform::KeySnapshot clavier = platform::KeySnapshot::read();
  const mainwin::Lecture lue = mainwin::LectureClavier([&clavier](int vk) { return clavier.asyncState(vk); });
  // Nothing new starts while a command waits for the windows to vanish (the
  // poll keeps ticking inside that wait); message boxes and modal windows do
  // not hold the hotkeys up.
  const std::optional<int> commande =
      mainwin::CommandeSurFront(ToucheTenue, lue, touchesActuelles(), CommandesEnCours > 0);
  if (!commande) return;

  // The capture goes ahead; edits pending in the options dialog are dropped.
  if (Options* options = frmOptions.existing(); options && options->Visible()) vb::Unload(*options);
  if (mainwin::fermerAidesEtOptions()) mainwin::fermerAidesEtOptions()();

  const QPoint pos = platform::pointerPosition();
  gCursX = pos.x();
  gCursY = pos.y();
  gHCurseur = platform::pointerHandle();
  // The old program raised its thread priority here; nothing to gain on Linux
  // without privileges.
  ExecBouton(*commande, -1);
}

void FrmMain::TimCurs_Timer() {
  const QPoint pos = platform::pointerPosition();
  gCursX = pos.x();
  gCursY = pos.y();
}

// ---------------------------------------------------------------- neighbours

namespace mainwin {

std::function<void()>& montrerAPropos() {
  static std::function<void()> f = MontrerAPropos;
  return f;
}

std::function<void()>& fermerAidesEtOptions() {
  static std::function<void()> f = help::FermerAidesImages;
  return f;
}

}  // namespace mainwin
