// The main window's keys: F5 reloads the current capture from its temporary
// bitmap (the external editor may have changed it; its watch timer and the
// refresh entry press F5 too), Delete is toolbar button 9, Ctrl+Q quits.
#include "velistrom/mainwin/frmMain.h"

#include "platform/forms/Keys.h"
#include "platform/forms/Runtime.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/mainwin/Flistimages.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/mainwin/Vignettes.h"

namespace {
constexpr int kF5 = 116;
constexpr int kQ = 81;
}  // namespace

void FrmMain::Form_KeyDown(int& KeyCode, int Shift) {
  switch (KeyCode) {
    case kF5:  // whatever the modifiers
      if (!CheminCapt.isEmpty()) RafraichirCourante();
      break;
    case vb::vbKeyDelete:
      bouton_Click(9);
      break;
    case kQ:
      if (Shift == vb::vbCtrlMask) quitprog();
      break;
    default:
      break;  // Escape (the thumbnail window's call) included
  }
}

bool FrmMain::RafraichirCourante() {
  const int n = gNumCapt;
  Flistimages& fl = flistimages();
  if (n < 1 || n > gNbCapt || !fl.Image1.exists(n)) return false;
  // The capture's own file: CheminCapt names the file written or handed over
  // last, which is another capture's once an older one is chosen.
  const QImage image = mainwin::LireBitmap(CheminTemp(n));
  if (image.isNull()) return false;  // told; view, row and record stay

  if (gTabMode[n] == "e") {
    Picture1.setPicture(image);
    vb::DoEvents();
    Picture2S.setPicture(Picture1.Image());
    const QImage& grand = Picture1.Image();
    gZoomSrcW = grand.width();
    gZoomSrcH = grand.height();
    gZoomDestW = vb::twipsToPixels(ImgTTscreen.Width());
    gZoomDestH = vb::twipsToPixels(ImgTTscreen.Height());
    ImgTTscreen.setPicture(mainwin::DemiTeinte(grand, gZoomSrcW, gZoomSrcH, gZoomDestW, gZoomDestH));
    mainwin::EtirerDans(grand, fl.Image1[n]);
    mainwin::EtirerDans(grand, fl.Gimage1[n]);
  } else {
    Picture2.setPicture(image);  // the box takes the picture's size
    vb::DoEvents();
    Picture2S.setPicture(Picture2.Image());
    // The view's size is the reloaded picture's, so the window (and the size
    // recorded for this capture below) fits it, not the picture before.
    gLargImg = Picture2.Width();
    gHautImg = Picture2.Height();
    if (WindowState() == vb::vbNormal) setHeight(Picture2.Height() + 1800);
    PosDimRedMain();
    const QImage& vue = Picture2.Image();
    gZoomSrcW = vue.width();
    gZoomSrcH = vue.height();
    mainwin::EtirerDans(vue, fl.Image1[n]);
    mainwin::EtirerDans(vue, fl.Gimage1[n]);
    gTabHautCapt[n] = vign::Arrondi(Picture2.Height());
    gTabLargCapt[n] = vign::Arrondi(Picture2.Width());
    fl.Lbldim[n].setCaption(vign::LibelleRangee(n, true, Picture2.Width(), Picture2.Height(), gLng109));
  }
  fl.Gimage1[n].Refresh();
  fl.Image1[n].Refresh();
  gTabHautPlus[n] = vign::Arrondi(Height());
  gTabPos[n] = vign::Arrondi(Width());
  MnuRaff.setVisible(false);

  // The zoom in force, applied again to the reloaded picture.
  for (int i = 0; i <= 4; ++i) {
    if (mnuzoomX.exists(i) && mnuzoomX[i].Checked()) {
      mnuzoomX_Click(i);
      break;
    }
  }
  return true;
}
