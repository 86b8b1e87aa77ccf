// Whole-screen, window and repeated capture of the main window, the wait
// before a grab and the shutter.
#include "platform/ActiveWindow.h"
#include "platform/Pointer.h"
#include "platform/forms/MsgBox.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/mainwin/Commandes.h"
#include "velistrom/mainwin/Fcam.h"
#include "velistrom/mainwin/Flistimages.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/mainwin/frmMain.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

// A wait under way for as long as it lives (the hotkey poll starts nothing then).
class EnAttente {
 public:
  explicit EnAttente(int& n) : n_(n) { ++n_; }
  ~EnAttente() { --n_; }
  EnAttente(const EnAttente&) = delete;
  EnAttente& operator=(const EnAttente&) = delete;

 private:
  int& n_;
};

}  // namespace

void FrmMain::CapturTTbis(int ActiveWindow) {
  FenetreVide = false;

  // Only what was on screen is hidden, and exactly that comes back.
  bool mainCachee = false;
  bool listeCachee = false;
  std::vector<unsigned long> cachees;
  if (gGardeVisible == 0) {
    if (Visible()) {
      NoterFenetre(cachees, *this);
      Hide();
      mainCachee = true;
    }
    vb::DoEvents();
    if (Flistimages* liste = flistimages.existing(); liste && liste->Visible()) {
      NoterFenetre(cachees, *liste);
      liste->Hide();
      listeCachee = true;
    }
    vb::DoEvents();
  }
  Attente(0.3f);
  AttendreHorsEcran(cachees);

  Picture1.setWidth(vb::Screen.Width());
  Picture1.setHeight(vb::Screen.Height());
  vb::DoEvents();

  const mainwin::Prise prise =
      mainwin::Prendre(ActiveWindow != 0, gParClavier, gHCurseur, QPoint(gCursX, gCursY));
  const int tppX = vb::Screen.TwipsPerPixelX(), tppY = vb::Screen.TwipsPerPixelY();
  Picture1.setWidth(prise.zone.width() * tppX);
  Picture1.setHeight(prise.zone.height() * tppY);
  Picture1.setPicture(prise.image);
  gLargImg = double(prise.zone.width()) * tppX;
  gHautImg = double(prise.zone.height()) * tppY;

  if (!prise.vide) {
    Picture1.setVisible(true);
    StatusBar1.setVisible(true);
  } else {
    FenetreVide = true;
  }
  labdeb.setVisible(false);

  if (mainCachee) Show();
  if (listeCachee) {
    if (Flistimages* liste = flistimages.existing()) liste->Show();
  }
  if (mainCachee || listeCachee) vb::DoEvents();
  StatusBar1.setVisible(true);
}

void FrmMain::Rafraichir() {
  if (gModeCapt == "e") {
    bouton_Click(2);
    return;
  }
  if (gModeCapt == "f") {
    bouton_Click(3);
    return;
  }

  // A region: the last region's corner (gSelX, gSelY) at the size the
  // newest capture of the list was recorded with (the first position's when
  // the list is empty).
  const bool dernierEstZone = gNbCapt <= 0 || gTabMode[gNbCapt] == "z";
  const int n = gNbCapt > 0 ? gNbCapt : 1;
  const int largeur = gTabLargCapt[n], hauteur = gTabHautCapt[n];
  // No size recorded yet: an empty picture is no capture.
  if (!dernierEstZone || largeur <= 0 || hauteur <= 0) {
    vb::MsgBox(gTxtPasDeZone, vb::vbInformation);
    TimPeriod.setEnabled(false);
    return;
  }

  Mnumulti.setChecked(false);
  if (bouton.exists(14)) bouton[14].setBorderStyle(0);
  ImgTTscreen.setVisible(false);
  if (!gAgrandi) {
    Picture2.setVisible(true);
    StatusBar1.setVisible(true);
  }
  Picture2.setPicture(QImage());

  CapturTTbis(0);
  const QPoint pos = platform::pointerPosition();
  gCursX = pos.x();
  gCursY = pos.y();

  Picture2.setWidth(largeur);
  Picture2.setHeight(hauteur);
  if (WindowState() == vb::vbNormal && !gAgrandi) {
    setHeight(gTabHautPlus[n]);
    setWidth(gTabPos[n]);
  }
  Labtaille.setCaption(gTabTaille[n]);

  const int tppX = vb::Screen.TwipsPerPixelX(), tppY = vb::Screen.TwipsPerPixelY();
  gLargImg += 4 * tppX;
  gHautImg += 4 * tppY;
  // The cut starts one pixel inside the region's corner, as the overlay's
  // does, and Picture2 keeps it to the capture's size.
  const QRect coupe((gSelX + tppX) / tppX, (gSelY + tppY) / tppY,
                    std::min(vb::twipsToPixels(gLargImg), vb::twipsToPixels(largeur)),
                    std::min(vb::twipsToPixels(gHautImg), vb::twipsToPixels(hauteur)));
  const QImage image = Picture1.Picture().copy(coupe);
  Picture2.setPicture(image);
  Picture2S.setPicture(image);
  PictSave.setVisible(false);
  Picture1.setVisible(false);
  if (!gAgrandi) Picture2.setVisible(true);

  GestVignettes(Picture2);
  gModeCapt = "z";
}

void FrmMain::NoterFenetre(std::vector<unsigned long>& fenetres, vb::Form& forme) {
  const platform::NativeWindow id = forme.widget()->winId();
  fenetres.push_back(id);
  fenetres.push_back(platform::outerWindow(id));
}

void FrmMain::AttendreHorsEcran(const std::vector<unsigned long>& fenetres) {
  (void)platform::waitUntilOffScreen(fenetres, 2000);
}

void FrmMain::Attente(float Secondes) {
  if (!(Secondes > 0) || !std::isfinite(Secondes)) {
    vb::DoEvents();
    return;
  }
  EnAttente enAttente(CommandesEnCours);
  vb::Wait(Secondes);  // monotonic, events keep running
}

void FrmMain::RideauPhoto() {
  Fcam& cam = fcam();
  cam.Show(vb::vbModeless);
  cam.Declencher();  // in case the window system gave no activation
}

void FrmMain::FinCapture(int modeF, vb::PictureBox& source) {
  MefImageF(modeF);
  GestVignettes(source);
  CopieDuModeCapt();
}

void FrmMain::CopieDuModeCapt() {
  QString copie = gModeCapt;
  CopiePP(copie);
  gModeCapt = copie;
}
