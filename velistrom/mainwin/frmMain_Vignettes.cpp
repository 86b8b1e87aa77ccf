// The capture list of the main window: adding a capture (its thumbnail row on
// the thumbnail window and its temporary bitmap) and deleting captures.
#include "velistrom/mainwin/frmMain.h"

#include "platform/Folders.h"
#include "platform/Imaging.h"
#include "platform/forms/MsgBox.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/mainwin/Commandes.h"
#include "velistrom/mainwin/Flistimages.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/mainwin/Vignettes.h"

#include <QDir>
#include <QFile>

#include <algorithm>


namespace {

// The slider and count after a capture joins or leaves the list.
void MajDefilement(Flistimages& fl) {
  if (gNbCapt > 1) {
    fl.Vscroll1.setEnabled(true);
    fl.Vscroll1.setMax(gNbCapt);
    fl.Labscroll.setCaption(vb::Str(gNbCapt));
  } else {
    fl.Vscroll1.setEnabled(false);
    fl.Labscroll.setCaption(QString());
  }
}

constexpr int kCommunesLargeurBoutons = 24;  // the window is never narrower than 24 buttons

QString TexteComptage(int nb) { return gLng111 + vb::Str(nb) + (nb > 1 ? gLng112 : gLng113); }

void DechargerRangee(Flistimages& fl, int i) {
  if (fl.Image1.exists(i)) fl.Image1.Unload(i);
  if (fl.Gimage1.exists(i)) fl.Gimage1.Unload(i);
  if (fl.Lbldim.exists(i)) fl.Lbldim.Unload(i);
  if (fl.Txtordre.exists(i)) fl.Txtordre.Unload(i);
  if (fl.PictSave.exists(i)) fl.PictSave.Unload(i);
  if (fl.pictmail.exists(i)) fl.pictmail.Unload(i);
  if (fl.Chkmail.exists(i)) fl.Chkmail.Unload(i);
  if (fl.Chksav.exists(i)) fl.Chksav.Unload(i);
}

// The row of position n: controls, sizes, places and pictures.
void ChargerRangee(Flistimages& fl, int n, const QImage& source) {
  DechargerRangee(fl, n);  // nothing should be there; never load over a stale row
  fl.Image1.Load(n);
  fl.Gimage1.Load(n);
  fl.Lbldim.Load(n);
  fl.Txtordre.Load(n);
  fl.Txtordre[n].ZOrder(0);
  fl.PictSave.Load(n);
  fl.Chkmail.Load(n);
  fl.Chksav.Load(n);
  fl.pictmail.Load(n);
  fl.PictSave[n].ZOrder(0);
  fl.pictmail[n].ZOrder(0);

  vb::PictureBox& vign = fl.Image1[n];
  vb::PictureBox& agr = fl.Gimage1[n];
  fl.PictSave[n].setLeft(vign.Left());
  fl.pictmail[n].setLeft(vign.Left() + fl.PictSave[n].Width());
  fl.Chkmail[n].setVisible(true);

  const vign::Aspect a = vign::RegleAspect(gLargImg, gHautImg, fl.Image1[0].Width(), fl.Image1[0].Height(),
                                           fl.Gimage1[0].Width(), fl.Gimage1[0].Height());
  vign.setWidth(a.largVign);
  vign.setHeight(a.hautVign);
  agr.setWidth(a.largAgr);
  agr.setHeight(a.hautAgr);

  if (n > 1) vign.setTop(fl.Image1[n - 1].Top() + Flistimages::kPasRangee);
  agr.setTop(vign::HautAgrandie(vign.Top(), agr.Height()));
  fl.Lbldim[n].setTop(vign.Top());
  fl.Txtordre[n].setTop(fl.Lbldim[n].Top() + 450);
  fl.Txtordre[n].setText(vb::Format(n, "00"));
  fl.PictSave[n].setTop(vign.Top());
  fl.pictmail[n].setTop(vign.Top());
  fl.Chkmail[n].setTop(vign.Top() + fl.Lbldim[n].Height() + 100);

  // Halftone: both copies of the whole picture made in one pass over it, drawn
  // once onto each box's surface (not kept a second time as its picture).
  const int dW = vb::twipsToPixels(vign.Width()), dH = vb::twipsToPixels(vign.Height());
  const QImage src = source.isNull() ? QImage(1, 1, QImage::Format_RGB32) : source;
  const std::vector<QImage> copies = mainwin::DemiTeintes(
      src, {QSize(std::max(1, dW), std::max(1, dH)),
            QSize(std::max(1, vign::Arrondi(dW * 1.7)), std::max(1, vign::Arrondi(dH * 1.7)))});
  mainwin::Poser(copies[0], vign);
  mainwin::Poser(copies[1], agr);
}

}  // namespace

// ---------------------------------------------------------------- adding

void FrmMain::GestVignettes(vb::PictureBox& uneImage) {
  if (gLargImg == 0) return;
  Flistimages& fl = flistimages();
  fl.Principale = this;
  // First position the automatic save looks at: this capture's own, even when
  // another one joined while events ran below.
  int debLot = gNbCapt;
  try {
    gHautImg = uneImage.Height();
    gLargImg = uneImage.Width();
    if (gNbCapt >= kMaxCapt) {
      vb::MsgBox(gLng110, vb::vbExclamation);
    } else {
      // The file first: a capture whose bitmap is missing is not listed.
      int numero = gCptVign + 1;
      if (!EnregVign(numero, uneImage)) return;
      const QString chemin = CheminCapt;
      const int n = gNbCapt + 1;
      try {
        ChargerRangee(fl, n, uneImage.Image());
        const QString nomCtl = uneImage.Name();
        fl.Lbldim[n].setCaption(vign::LibelleRangee(n, nomCtl == "PictInvis" || nomCtl == "Picture2", gLargImg,
                                                    gHautImg, gLng109));
        gTabNomCapt[n] = vign::NomCapt(HeureSess, numero);
        gTabHautCapt[n] = vign::Arrondi(uneImage.Height());
        gTabLargCapt[n] = vign::Arrondi(uneImage.Width());
        gTabHorod[n] = vign::Horodatage(vb::Now());
        gTabHautPlus[n] = vign::Arrondi(uneImage.Height() + 1800.0);
        const int largBoutons = kCommunesLargeurBoutons * (bouton.exists(0) ? bouton[0].Width() : 0);
        gTabPos[n] = largBoutons < uneImage.Width() ? uneImage.Width() + 210 : largBoutons;
        gTabTaille[n] = Labtaille.Caption();
        gTabMode[n] = gModeCapt;
        gTabSauv[n].clear();
      } catch (...) {
        DechargerRangee(fl, n);
        QFile::remove(chemin);
        gTabNomCapt[n].clear();
        gTabSauv[n].clear();
        throw;
      }
      // Complete: publish it.
      gCptVign = numero;
      gNbCapt = n;
      debLot = n;
      if (n == 1 && bouton.exists(16)) bouton[16].setBorderStyle(1);

      fl.Image1[n].setVisible(true);
      for (int i = 1; i <= n; ++i) fl.Image1[i].setBorderStyle(0);
      fl.Image1[n].setBorderStyle(1);
      fl.Lbldim[n].setVisible(true);
      fl.Txtordre[n].setVisible(true);
      fl.PictSave[n].setVisible(false);
      fl.Image1[0].setVisible(false);
      fl.Lbldim[0].setVisible(false);
      fl.Txtordre[0].setVisible(false);
      fl.PictSave[0].setVisible(false);

      if (fl.WindowState() == vb::vbNormal) {
        const int plafond = vb::Screen.Height() - 500;
        fl.setHeight(plafond > fl.Height() ? fl.Image1[n].Top() + fl.Gimage1[n].Height() + 800 : plafond);
        vb::DoEvents();
        if (mnuveille.Caption() == gLng105) fl.Show();
      }
    }
  } catch (const vb::Error& e) {
    vb::MsgBox(QString::number(e.Number()) + " " + e.Description(), vb::vbCritical);
    return;
  }

  // Common end, also after the limit refusal.
  gNumCapt = gNbCapt;
  MajDefilement(fl);
  setCaption(TexteComptage(gNbCapt));
  if (MnuEnAuto.Checked()) {
    int savOk = -1;
    EnregistrerTout(savOk, debLot, mainwin::FormatToutEnregistrer(gFormatBmp));
  }
  if (!MnuCaptper.Checked() && fl.WindowState() == vb::vbNormal) fl.Docker();
  fl.TimerCache.setEnabled(true);
  if (gNbCapt >= 1 && fl.Gimage1.exists(gNbCapt))
    fl.Frame1.setHeight(fl.BasRangee(gNbCapt) + 400);
}

bool FrmMain::EnregVign(int& NouVign, vb::PictureBox& uneImage) {
  const QString chemin = gRepCapt + "/" + vign::NomCapt(HeureSess, NouVign);
  platform::ImageStatus st = platform::ImageStatus::AccessDenied;
  if (platform::makePrivateFolder(gRepCapt)) st = platform::saveTemporaryBitmap(uneImage.Image(), chemin);
  if (st != platform::ImageStatus::Ok) {
    vb::MsgBox("Save/Sauver " + QString::number(vb::vbErrPathFileAccess) + " " +
                   vb::Error::standardDescription(vb::vbErrPathFileAccess) + " (" +
                   QString::number(platform::statusCode(st)) + ")\n" + chemin,
               vb::vbCritical);
    return false;
  }
  CheminCapt = chemin;
  return true;
}

QString FrmMain::CheminTemp(int n) { return gRepCapt + "/" + gTabNomCapt[n]; }

QImage mainwin::LireBitmap(const QString& chemin) {
  QImage image;
  const platform::ImageStatus st = platform::loadPicture(chemin, image);
  if (st != platform::ImageStatus::Ok) {
    vb::MsgBox(gLng190 + "\n" + chemin + " !\nStatus Code= " + QString::number(platform::statusCode(st)),
               vb::vbCritical);
    return QImage();
  }
  return image;
}

void FrmMain::Voirtabprov() {
  QString texte;
  for (int i = 1; i <= 10; ++i) texte += "\n" + gTabNomCapt[i];
  vb::MsgBox(texte, vb::vbOKOnly);
}

// ---------------------------------------------------------------- deleting

namespace {

void ViderVue(FrmMain& m) {
  m.Picture2.setPicture(QImage());
  m.ImgTTscreen.setPicture(QImage());
  m.Picture2.setVisible(false);
  m.StatusBar1.setVisible(false);
  m.ImgTTscreen.setVisible(false);
}

void SignalerEchecs(const QStringList& echecs) {
  if (echecs.isEmpty()) return;
  vb::MsgBox("Suppression/Delete " + QString::number(vb::vbErrPathFileAccess) +
                 vb::Error::standardDescription(vb::vbErrPathFileAccess) + "\n" + echecs.join("\n"),
             vb::vbCritical);
}

}  // namespace

void FrmMain::SuppVignette(int& numerVign) {
  const int num = numerVign;  // the caller may pass gNumCapt itself, which this clears
  Flistimages& fl = flistimages();
  try {
    if (num >= 1 && num <= gNbCapt) {
      ViderVue(*this);
      if (WindowState() == vb::vbNormal && !gAgrandi) {
        setHeight(1800);
        setWidth(kCommunesLargeurBoutons * (bouton.exists(0) ? bouton[0].Width() : 0));
        setLeft(vb::Screen.Width() - Width());
        setTop(500);
      }
      // A file that cannot go keeps its capture: the entry would point nowhere
      // and the file would be left behind for good.
      const QString chemin = gRepCapt + "/" + gTabNomCapt[num];
      if (!vign::SupprimerFichier(chemin).isEmpty()) throw vb::Error(vb::vbErrPathFileAccess);

      for (int i = num; i <= gNbCapt - 1; ++i) {
        fl.EcrireEntree(i, fl.LireEntree(i + 1), false);
        capt::copyEntry(i + 1, i);
        if (i != num) {
          const int top = fl.Image1[i].Top();
          fl.pictmail[i].setTop(top);
          fl.Lbldim[i].setTop(top);
          fl.PictSave[i].setTop(top);
          fl.Txtordre[i].setTop(fl.Lbldim[i].Top() + 450);
          fl.Chkmail[i].setTop(fl.Lbldim[i].Top() + fl.Lbldim[i].Height() + 100);
        }
      }

      const int dernier = gNbCapt;
      const bool fenNormale = fl.WindowState() == vb::vbNormal;
      if (fenNormale) {
        const int plafond = vb::Screen.Height() - 500;
        fl.setHeight(plafond > fl.Height() ? fl.BasRangee(dernier) + 800 : plafond);
      }
      const int basFrame = fl.BasRangee(dernier) + 100;
      DechargerRangee(fl, dernier);
      fl.Frame1.setHeight(std::max({0, fl.Height() - 1000, basFrame}));
      gTabNomCapt[dernier].clear();
      gTabSauv[dernier].clear();
      gNbCapt = dernier - 1;
      // Events run only now that the list is whole again: a capture taken by
      // a timer or a hotkey meanwhile lands after the last row, not on it.
      if (fenNormale) vb::DoEvents();
      if (gNbCapt == 0) fl.Hide();
    }

    gNumCapt = 0;
    for (int i = 1; i <= gNbCapt; ++i) {
      fl.Image1[i].setBorderStyle(0);
      fl.Lbldim[i].setCaption(vign::Renumeroter(fl.Lbldim[i].Caption(), i));
    }
    if (fl.WindowState() == vb::vbNormal && fl.Image1.exists(gNbCapt))
      fl.setHeight(fl.Image1[gNbCapt].Top() + 1800);
    MajDefilement(fl);
    setCaption(TexteComptage(gNbCapt));
  } catch (const vb::Error& e) {
    vb::MsgBox("Suppression/Delete " + QString::number(e.Number()) + e.Description(), vb::vbCritical);
  }
}

void FrmMain::Supprimertout(int& AvecMess) {
  if (gNbCapt == 0) return;
  if (AvecMess != 0 && vb::MsgBox(gLng091, vb::vbQuestion | vb::vbOKCancel) == vb::vbCancel) return;
  Flistimages& fl = flistimages();
  ViderVue(*this);
  if (WindowState() == vb::vbNormal) setHeight(1800);

  // Row by row, the count follows, so the list stays whole whatever happens.
  QStringList echecs;
  for (int i = gNbCapt; i >= 1; --i) {
    DechargerRangee(fl, i);
    const QString chemin = gRepCapt + "/" + gTabNomCapt[i];
    if (const QString err = vign::SupprimerFichier(chemin); !err.isEmpty()) echecs << chemin + ": " + err;
    gNbCapt = i - 1;
  }
  for (int i = 1; i <= kMaxCapt; ++i) {
    gTabNomCapt[i].clear();
    gTabSauv[i].clear();
  }
  gNbCapt = 0;
  gNumCapt = 0;
  fl.Hide();
  if (fl.WindowState() == vb::vbNormal) {
    fl.setWidth(Flistimages::kLargeurFen);
    fl.setHeight(Flistimages::kHauteurFen);
  }
  fl.Vscroll1.setEnabled(false);
  fl.Labscroll.setCaption(QString());
  if (AvecMess != 0) gAgrandi = false;
  setCaption(gLng123);
  if (bouton.exists(16)) bouton[16].setBorderStyle(0);
  vb::Unload(fl);  // refused unless the program quits: the window stays loaded and hidden
  SignalerEchecs(echecs);
}
