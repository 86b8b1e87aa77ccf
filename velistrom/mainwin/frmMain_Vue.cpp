// The main view: which box shows the current capture, the layout of a fresh
// whole-screen or window capture, the five zoom entries, the fitting zoom two
// seconds after a capture, the toolbar-only layout, and the activation after
// the selection overlay. Geometry in twips; the stretched copies in pixels.
#include "velistrom/mainwin/frmMain.h"

#include "platform/Reduce.h"
#include "platform/forms/Runtime.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/overlay/FrmFull.h"

#include <QImage>
#include <QPainter>

#include <cmath>

namespace {

constexpr double kFacteurs[5] = {0.25, 0.5, 0.75, 1.0, 2.0};
constexpr int kIndex100 = 3;
constexpr int kLargeurBande = 24;  // the toolbar strip: 24 widths of button 0
// Window height beyond the view: toolbar, menu bar, title bar and status bar.
// Less than this and the status bar covers the bottom of a fresh capture.
constexpr int kSousLaVue = 1800;

int arrondi(double v) { return int(std::nearbyint(v)); }
std::int32_t pixelsX(double twips) { return std::int32_t(std::nearbyint(twips / vb::Screen.TwipsPerPixelX())); }
std::int32_t pixelsY(double twips) { return std::int32_t(std::nearbyint(twips / vb::Screen.TwipsPerPixelY())); }

}  // namespace

// A reduction averages every source pixel, as halftone does (a nearest-pixel
// copy would drop rows and columns); an enlargement is a smooth scale.
std::vector<QImage> mainwin::DemiTeintes(const QImage& source, const std::vector<QSize>& tailles) {
  std::vector<QImage> copies = platform::reduceByAveraging(source, tailles);
  for (std::size_t k = 0; k < tailles.size(); ++k) {
    const QSize t = tailles[k];
    if (!copies[k].isNull() || source.isNull() || t.isEmpty()) continue;
    const QImage entiere = source.convertToFormat(QImage::Format_RGB32);
    copies[k] = entiere.size() == t ? entiere : entiere.scaled(t, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  return copies;
}

QImage mainwin::DemiTeinte(const QImage& source, int sw, int sh, int dw, int dh) {
  if (source.isNull() || sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return {};
  // The whole picture needs no copy of its own.
  const QImage whole = sw == source.width() && sh == source.height() ? source : source.copy(0, 0, sw, sh);
  if (whole.width() == dw && whole.height() == dh) return whole.convertToFormat(QImage::Format_RGB32);
  return DemiTeintes(whole, {QSize(dw, dh)}).front();
}

void mainwin::Poser(const QImage& copie, vb::PictureBox& box) {
  QImage& cible = box.canvas();
  if (copie.isNull() || cible.isNull()) return;
  QPainter p(&cible);
  p.drawImage(0, 0, copie);
}

void mainwin::EtirerDans(const QImage& source, vb::PictureBox& box, int dw, int dh) {
  if (dw <= 0 || dh <= 0) {
    dw = box.canvas().width();
    dh = box.canvas().height();
  }
  Poser(DemiTeinte(source, source.width(), source.height(), dw, dh), box);
}

// ============================================================================ a fresh capture

void FrmMain::MefImageF(int& modeF) {
  setWindowState(vb::vbNormal);
  for (vb::Menu* m : {&mnufichier, &mnuedition, &mnuoutils, &mnuHelp}) m->setVisible(true);

  if (modeF == 0) {
    // Whole screen: a 75 per cent view of the grab in ImgTTscreen.
    ImgTTscreen.setHeight(int(std::floor(vb::Screen.Height() * 0.75)));
    ImgTTscreen.setWidth(int(std::floor(vb::Screen.Width() * 0.75)));
    mnuzoomX[2].setChecked(true);
    Picture1.setVisible(false);
    ImgTTscreen.setLeft(20);
    ImgTTscreen.setTop(500);
    ImgTTscreen.setVisible(true);
    setHeight(ImgTTscreen.Height() + kSousLaVue);
    setWidth(ImgTTscreen.Width() + 180);
    setLeft(vb::Screen.Width() - Width());

    Picture2.setVisible(false);
    ImgTTscreen.setPicture(QImage());
    gLargImg = ImgTTscreen.Width();
    gHautImg = ImgTTscreen.Height();
    gZoomDestH = pixelsY(ImgTTscreen.Height());
    gZoomDestW = pixelsX(ImgTTscreen.Width());
    gZoomSrcH = pixelsY(Picture1.Height());
    gZoomSrcW = pixelsX(Picture1.Width());
    const QImage vue = mainwin::DemiTeinte(Picture1.Image(), gZoomSrcW, gZoomSrcH, gZoomDestW, gZoomDestH);
    ImgTTscreen.setPicture(vue);
    Picture2S.setPicture(vue);
    return;
  }

  // A window: the grab at full size in Picture2. The box is sized before it
  // takes the picture, since it keeps only what fits when it grows.
  Picture2.setVisible(true);
  StatusBar1.setVisible(true);
  Picture1.setVisible(false);
  Picture2.Move(20, 500, Picture1.Width(), Picture1.Height());
  Picture2.setPicture(QImage());
  Picture2.setPicture(Picture1.Image());
  Picture2.setWidth(arrondi(gLargImg));
  Picture2.setHeight(arrondi(gHautImg));
  ImgTTscreen.setVisible(false);
  setHeight(Picture2.Height() + kSousLaVue);
  setWidth(LargeurFenetre(Picture2.Width()));
  setLeft(vb::Screen.Width() - Width());
  gLargImg = Picture2.Width();
  gHautImg = Picture2.Height();
  Picture2S.setPicture(Picture2.Image());
}

// ============================================================================ zoom

void FrmMain::mnuzoomX_Click(int& Index) {
  if (Index < 0 || Index > 4 || !mnuzoomX.exists(Index)) return;
  const int index = Index;  // the caller's variable may change while events run
  mnuzoomX[index].setChecked(true);
  const double f = kFacteurs[index];

  // The zoom geometry from the 100 per cent copy.
  auto geometrie = [this, f] {
    gZoomDestH = std::int32_t(std::nearbyint(double(Picture2S.Height()) / vb::Screen.TwipsPerPixelY() * f));
    gZoomDestW = std::int32_t(std::nearbyint(double(Picture2S.Width()) / vb::Screen.TwipsPerPixelX() * f));
    gZoomSrcH = pixelsY(Picture2S.Height());
    gZoomSrcW = pixelsX(Picture2S.Width());
  };

  if (Picture2.Visible()) {
    if (f == 1.0) {
      // The stored picture itself, no stretch; the box takes its size first.
      const QImage image = Picture2S.Picture();
      if (!image.isNull()) {
        const int bord = 2 * Picture2.border_();
        Picture2.setWidth(vb::pixelsToTwips(image.width() + bord));
        Picture2.setHeight(vb::pixelsToTwips(image.height() + bord));
      }
      Picture2.setPicture(image);
    } else {
      Picture2.setPicture(QImage());
      Picture2.setWidth(arrondi(Picture2S.Width() * f));
      Picture2.setHeight(arrondi(Picture2S.Height() * f));
      geometrie();
      const QImage vue = mainwin::DemiTeinte(Picture2S.Image(), gZoomSrcW, gZoomSrcH, gZoomDestW, gZoomDestH);
      if (!vue.isNull()) {
        QPainter p(&Picture2.canvas());
        p.drawImage(0, 0, vue);
      }
    }
    Picture2.Refresh();
    if (WindowState() == vb::vbNormal) {
      setWidth(LargeurFenetre(Picture2.Width()));
      setHeight(Picture2.Height() + kSousLaVue);
    }
  } else {
    ImgTTscreen.setPicture(QImage());
    if (f == 1.0) {
      // The grab at full size, wider than the screen.
      ImgTTscreen.setWidth(Picture1.Width());
      ImgTTscreen.setHeight(Picture1.Height());
      ImgTTscreen.setPicture(Picture1.Image());
    } else {
      ImgTTscreen.setWidth(arrondi(Picture2S.Width() * f));
      ImgTTscreen.setHeight(arrondi(Picture2S.Height() * f));
      geometrie();
      ImgTTscreen.setPicture(mainwin::DemiTeinte(Picture2S.Image(), gZoomSrcW, gZoomSrcH, gZoomDestW, gZoomDestH));
    }
    ImgTTscreen.Refresh();
    if (WindowState() == vb::vbNormal) {
      setWidth(LargeurFenetre(ImgTTscreen.Width()));
      setHeight(ImgTTscreen.Height() + kSousLaVue);
    }
  }

  vb::DoEvents();
  for (int i = 0; i < 5; ++i)
    if (i != index && mnuzoomX.exists(i)) mnuzoomX[i].setChecked(false);
  if (WindowState() == vb::vbNormal) setLeft(vb::Screen.Width() - Width());
}

void FrmMain::CocherZoom(int index) {
  for (int i = 0; i < 5; ++i)
    if (mnuzoomX.exists(i)) mnuzoomX[i].setChecked(i == index);
}

void FrmMain::TimZoom_Timer() {
  // Once per enabling; off first, so a capture that enables it again while
  // the events below run gets its own pass.
  TimZoom.setEnabled(false);
  CocherZoom(kIndex100);
  vb::DoEvents();

  // Down from 100 per cent until the view fits; 25 per cent is the last resort.
  auto tropGrand = [this] {
    return float(vb::Screen.Width() - 500) < float(Picture2.Width()) ||
           float(vb::Screen.Height() - 1500) < float(Picture2.Height());
  };
  int k = kIndex100;
  while (k > 0 && tropGrand()) {
    --k;
    mnuzoomX_Click(k);
  }
  if (WindowState() == vb::vbNormal) setLeft(vb::Screen.Width() - Width());
}

// ============================================================================ toolbar-only layout

void FrmMain::Agrandred() {
  if (!(gNbCapt > 0 && gNumCapt > 0)) return;
  const int bande = kLargeurBande * bouton[0].Width();
  if (!gAgrandi) {
    if (Picture2.Visible()) {
      Picture2.setVisible(false);
      StatusBar1.setVisible(false);
      gSourceImg = "picture";
    }
    if (ImgTTscreen.Visible()) {
      ImgTTscreen.setVisible(false);
      gSourceImg = "image";
    }
    gHautRed = Height();
    gLargRed = Width();
    setHeight(1800);
    setWidth(bande);
    gAgrandi = true;
    setLeft(vb::Screen.Width() - Width() - 50);
  } else {
    setHeight(gHautRed);
    setWidth(bande > gLargRed ? bande : gLargRed);
    setLeft(vb::Screen.Width() - Width() - 50);
    if (gSourceImg == "picture") {
      Picture2.setVisible(true);
      StatusBar1.setVisible(true);
    } else {
      ImgTTscreen.setVisible(true);
    }
    gAgrandi = false;
  }
}

// ============================================================================ activation

void FrmMain::Form_Activate() {
  if (gNumCapt > 0 && StatusBar1.PanelCount() >= 1) StatusBar1.Panels(1).setEnabled(true);

  if (gFinFull) {
    // The overlay has just ended a selection: Picture2 holds the cut (or, after
    // Escape, the previous capture, laid out a little larger).
    Picture2.setHeight(arrondi(gHautImg + gMargeEchapY));
    Picture2.setWidth(arrondi(gLargImg + gMargeEchapX));
    Picture2.setTop(bouton[0].Height() + 80);
    Picture2.setLeft(20);
    Picture1.setVisible(false);
    PictSave.setVisible(false);
    Picture2.setVisible(true);
    StatusBar1.setVisible(true);
    setCaption(gLng107);
    PosDimRedMain();
    Labtaille.setVisible(false);
    if (float(vb::Screen.Width() * 0.9) < float(Picture2.Width())) {
      int quart = 0;
      mnuzoomX_Click(quart);
    }
    gFinFull = false;
  }

  HautGrab = arrondi(Picture1.Height());
  LargGrab = arrondi(Picture1.Width());
}
