// Cutting a region from the grab on show (Picture1) with a rubber band: the
// left button sizes it, any other button moves it, the release adds the
// framed pixels to the capture list as a region capture. In multi-zone mode
// the grab stays for the next region.
#include "velistrom/mainwin/Apercu.h"

#include "platform/forms/MsgBox.h"
#include "platform/forms/Runtime.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/mainwin/frmMain.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

// ---------------------------------------------------------------- rules

double mainwin::AccrocherCent(double d) { return std::nearbyint(d - std::fmod(std::nearbyint(d), 100.0)); }

QString mainwin::TexteTaille(double largeur, double hauteur) {
  return vb::Str(largeur) + " X" + vb::Str(hauteur) + " = ~" + vb::Str(vb::Int(hauteur * largeur * 13.3 / 1000000)) +
         " K (bmp)";
}

QRect mainwin::CoupeDansGrab(double left, double top, double w, double h, QSize grab) {
  const int x0 = vb::twipsToPixels(left), y0 = vb::twipsToPixels(top);
  const int x1 = vb::twipsToPixels(left + w), y1 = vb::twipsToPixels(top + h);
  const QRect coupe = QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1)).intersected(QRect(QPoint(0, 0), grab));
  return coupe.isValid() ? coupe : QRect();
}

// ---------------------------------------------------------------- the band

void FrmMain::Picture1_MouseDown(int, int, float X, float Y) {
  gSelX0 = X;
  gSelY0 = Y;
  SelEnCours = true;
}

void FrmMain::Picture1_MouseMove(int Button, int, float X, float Y) {
  if (!SelEnCours) return;
  if (Button == vb::vbLeftButton) {
    double dx = std::abs(X - gSelX0), dy = std::abs(Y - gSelY0);
    // The snapping switch of the options (settings position 107).
    if (gOptChk0 == 1) {
      dx = mainwin::AccrocherCent(dx);
      dy = mainwin::AccrocherCent(dy);
    }
    rectsel.setHeight(int(std::nearbyint(dy)));
    rectsel.setWidth(int(std::nearbyint(dx)));
    rectsel.setTop(int(std::nearbyint(std::min<double>(gSelY0, Y))));
    rectsel.setLeft(int(std::nearbyint(std::min<double>(gSelX0, X))));
    rectsel.setVisible(true);
    Labtaille.setCaption(mainwin::TexteTaille(rectsel.Width(), rectsel.Height()));
    return;
  }
  // Any other button, or several: the band follows the pointer at its size.
  rectsel.setTop(int(std::nearbyint(Y)));
  rectsel.setLeft(int(std::nearbyint(X)));
  gSelY0 = rectsel.Top();
  gSelX0 = rectsel.Left();
}

void FrmMain::Picture1_MouseUp(int, int, float X, float Y) {
  rectsel.setVisible(false);
  SelEnCours = false;

  // Only the part of the band that lies on the grab is cut; a band of no
  // width or height cuts nothing, and says nothing.
  const QImage& grab = Picture1.Image();
  const QRect coupe = mainwin::CoupeDansGrab(std::min<double>(gSelX0, X), std::min<double>(gSelY0, Y),
                                             rectsel.Width(), rectsel.Height(), grab.size());
  if (rectsel.Width() <= 0 || rectsel.Height() <= 0 || coupe.isEmpty()) return;
  // A full list takes nothing: caption, clipboard and layout stay as they are.
  if (gNbCapt >= kMaxCapt) {
    vb::MsgBox(gLng110, vb::vbExclamation);
    return;
  }

  gHautImg = vb::pixelsToTwips(coupe.height());
  gLargImg = vb::pixelsToTwips(coupe.width());
  HautGrab = int(std::nearbyint(Picture1.Height()));
  LargGrab = int(std::nearbyint(Picture1.Width()));
  Picture2.setPicture(QImage());
  Picture2.Move(20, bouton[0].Height() + 80, int(gLargImg), int(gHautImg));
  Picture2.setPicture(grab.copy(coupe));

  // Recorded as a region capture, whatever the grab was.
  gModeCapt = "z";
  GestVignettes(Picture2);
  setCaption(Caption() + gLng114);
  QString z = "z";
  CopiePP(z);
  if (Mnumulti.Checked()) return;  // the grab stays on show for the next region

  setWindowState(vb::vbNormal);
  Picture1.setVisible(false);
  PictSave.setVisible(false);
  ImgTTscreen.setVisible(false);  // never both views
  Picture2.setVisible(true);
  StatusBar1.setVisible(true);
  setCaption(gLng107);
  PosDimRedMain();
  if (Left() + Width() > vb::Screen.Width()) setLeft(vb::Screen.Width() - Width());
  Labtaille.setVisible(false);
  Show();
  Picture1.setMousePointer(vb::vbCrosshair);
  for (vb::Menu* m : {&mnufichier, &mnuedition, &mnuoutils, &mnuHelp}) m->setVisible(true);
}

void FrmMain::Picture2_MouseMove(int, int, float X, float Y) {
  // Labtaill2 is never shown: this only keeps it in step.
  Labtaill2.setCaption(Labtaille.Caption());
  Labtaill2.setWidth(Labtaille.Width());
  Labtaill2.setTop(int(std::nearbyint(Y)));
  Labtaill2.setLeft(int(std::nearbyint(X + 200)));
}
