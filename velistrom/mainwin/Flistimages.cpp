#include "velistrom/core/Ressources.h"
#include "velistrom/mainwin/Flistimages.h"

#include "platform/forms/MsgBox.h"
#include "velistrom/gifmaker/FrmGifAnim.h"
#include "platform/forms/Keys.h"
#include "velistrom/helpers/CursTransp.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/helpers/PaintActif.h"
#include "velistrom/mainwin/Vignettes.h"
#include "velistrom/mainwin/frmMain.h"

#include <QWidget>

#include <algorithm>

namespace {

QImage Ressource(const char* file) { return core::ChargerRessource(file); }

// A position typed in a box: blanks around allowed, digits only.
std::optional<int> PositionTapee(const QString& text) {
  const QString t = text.trimmed();
  if (t.isEmpty() || t.size() > 4) return std::nullopt;
  for (QChar c : t)
    if (!c.isDigit()) return std::nullopt;
  return t.toInt();
}

}  // namespace

Flistimages::Flistimages()
    : vb::Form("Flistimages"),
      Frame1(*this, "Frame1"),
      Image1(Frame1, "Image1"),
      Gimage1(Frame1, "Gimage1"),
      Lbldim(Frame1, "Lbldim"),
      Txtordre(Frame1, "Txtordre"),
      PictSave(Frame1, "PictSave"),
      pictmail(Frame1, "pictmail"),
      Chkmail(Frame1, "Chkmail"),
      Chksav(Frame1, "Chksav"),
      LblcheckHlp(Frame1, "LblcheckHlp"),
      LabGif(Frame1, "LabGif"),
      Labflech(*this, "Labflech"),
      RectSlide(*this, "RectSlide"),
      Vscroll1(*this, "Vscroll1"),
      Labscroll(*this, "Labscroll"),
      PictBande(*this, "PictBande"),
      TimerCache(*this, "TimerCache", 40000, false),
      TimGif(*this, "TimGif", 100, true) {
  setCaption("Collection");
  setBorderStyle(vb::vbFixedToolWindow);
  setBackColor(kCleTransp);
  setShowInTaskbar(false);
  Move(0, 0, kLargeurFen, kHauteurFen);

  Frame1.setBorderStyle(0);
  Frame1.setCaption(QString());
  Frame1.Move(0, 0, 2780, kHauteurFen - 1000);

  // The template row: every row copies it when the main window loads it.
  Image1[0].Move(40, 840, 1450, 1485);
  Image1[0].setBorderStyle(0);
  Gimage1[0].Move(40, 840, 2720, 2720);
  Gimage1[0].setBorderStyle(0);
  Lbldim[0].Move(1560, 840, 1215, 345);
  Lbldim[0].setBackStyle(0);
  Txtordre[0].Move(2160, 1290, 495, 285);
  PictSave[0].Move(40, 840, 255, 255);
  PictSave[0].setBorderStyle(0);
  PictSave[0].setPicture(Ressource("mark_saved.png"));
  pictmail[0].Move(295, 840, 200, 150);
  pictmail[0].setBorderStyle(0);
  pictmail[0].setPicture(Ressource("mark_mail.png"));
  Chkmail[0].Move(1680, 1285, 255, 255);
  Chksav[0].Move(2160, 1285, 255, 255);
  for (vb::Control* c : std::initializer_list<vb::Control*>{&Image1[0], &Gimage1[0], &Lbldim[0], &Txtordre[0],
                                                            &PictSave[0], &pictmail[0], &Chkmail[0], &Chksav[0]})
    c->setVisible(false);

  LblcheckHlp.Move(40, 50, 2700, 700);
  LblcheckHlp.setWordWrap(true);
  LblcheckHlp.setAutoSize(true);  // as deep as the help text of the language needs
  LblcheckHlp.setBackColor(0xE1FFFF);
  LblcheckHlp.setVisible(false);
  LabGif.Move(40, 420, 2700, 300);
  LabGif.setBackColor(0x8000000F);
  LabGif.setAlignment(2);
  LabGif.setFontName("Monospace");

  RectSlide.Move(0, 10, 270, 2400);
  Vscroll1.Move(3048, 28, 230, 2380);  // where activation puts it, so Labscroll starts below it
  Vscroll1.setOrientation(1);
  Vscroll1.setMin(1);
  Vscroll1.setMax(1);
  Vscroll1.setEnabled(false);
  Labscroll.Move(0, 2500, 450, 285);
  Labscroll.setBackColor(0x8000000F);
  Labflech.setStretch(true);
  Labflech.setPicture(Ressource("slide_arrow.png"));
  Labflech.Move(2810, 60, 195, 195);
  PictBande.setBorderStyle(0);

  // ---- events
  onMouseMove = [this](int b, int s, float x, float y) { Form_MouseMove(b, s, x, y); };
  Frame1.onMouseMove = [this](int b, int s, float x, float y) { Frame1_MouseMove(b, s, x, y); };
  // The strip is the window's own surface for the pointer.
  PictBande.onMouseMove = [this](int b, int s, float x, float y) {
    Form_MouseMove(b, s, float(PictBande.Left() + x), float(PictBande.Top() + y));
  };
  Image1.on(&vb::PictureBox::onMouseMove,
            [this](int i, int b, int s, float x, float y) { Image1_MouseMove(i, b, s, x, y); });
  Gimage1.on(&vb::PictureBox::onMouseMove,
             [this](int i, int b, int s, float x, float y) { Gimage1_MouseMove(i, b, s, x, y); });
  Image1.on(&vb::PictureBox::onMouseDown,
            [this](int i, int b, int s, float x, float y) { Image1_MouseDown(i, b, s, x, y); });
  Gimage1.on(&vb::PictureBox::onMouseDown,
             [this](int i, int b, int s, float x, float y) { Gimage1_MouseDown(i, b, s, x, y); });
  Image1.on(&vb::PictureBox::onDblClick, [this](int i) { Image1_DblClick(i); });
  Gimage1.on(&vb::PictureBox::onClick, [this](int i) { Gimage1_Click(i); });
  Chkmail.on(&vb::CheckBox::onMouseMove,
             [this](int i, int b, int s, float x, float y) { Chkmail_MouseMove(i, b, s, x, y); });
  Txtordre.on(&vb::TextBox::onKeyDown, [this](int i, int& k, int s) { Txtordre_KeyDown(i, k, s); });
  Labflech.onMouseMove = [this](int b, int s, float x, float y) { Labflech_MouseMove(b, s, x, y); };
  LabGif.onClick = [this] { LabGif_Click(); };
  Vscroll1.onChange = [this] { Vscroll1_Change(); };
  Vscroll1.onScroll = [this] { Vscroll1_Change(); };
  TimerCache.onTimer = [this] { TimerCache_Timer(); };
  TimGif.onTimer = [this] { TimGif_Timer(); };
}

// ---------------------------------------------------------------- lifecycle

void Flistimages::Form_Load() {
  // The rows stand on the main window's colour (chosen at random at its start).
  vb::Color fond = 0x8000000F;
  if (FrmMain* m = frmMain.existing()) fond = m->BackColor();
  Frame1.setBackColor(fond);
  Lbldim[0].setBackColor(fond);
  PictSave[0].setBackColor(fond);
  pictmail[0].setBackColor(fond);
  PictBande.setBackColor(fond);
  Labflech.setLeft(Frame1.Left() + Frame1.Width() + 30);
  CoulTransp(widget(), kCleTransp, 0);
  setTop(0);
  setLeft(0);
  Gimage1[0].setTop(Image1[0].Top());
  LabGif.setCaption(QString());
  LabGif.setToolTipText(gLng217);
  Txtordre[0].setToolTipText(gLng250);
  QString caption;
  for (int k = 0; k < 20; ++k) {
    LettresGif[k] = k < gLng216.size() ? QString(gLng216[k]) : QString(" ");
    caption += LettresGif[k];
  }
  LettresGif[20] = " ";
  LabGif.setCaption(caption);
  PlacerBande();
}

void Flistimages::Form_Activate() {
  if (WindowState() == vb::vbNormal) {
    Vscroll1.setMin(1);
    if (gNbCapt >= 2) {
      Vscroll1.setEnabled(true);
      Vscroll1.setMax(gNbCapt);
    } else {
      Vscroll1.setEnabled(false);
    }
    Labscroll.setCaption(QString::number(gNbCapt));
  }
  setVisible(true);
  Frame1.setTop(0);
  if (gNbCapt > 0 && Image1.exists(gNbCapt)) Frame1.setHeight(std::max(Height() - 1000, BasRangee(gNbCapt) + 100));
  Vscroll1.ZOrder(0);
  // The slider column stands left of the strip so the strip stays free.
  RectSlide.setTop(10);
  RectSlide.setLeft(int(ScaleWidth()) - kBande - RectSlide.Width() - 10);
  // Beside the slider, but never under the strip.
  Labscroll.setLeft(std::min(Vscroll1.Left() + 200, int(ScaleWidth()) - kBande - Labscroll.Width()));
  Vscroll1.Move(RectSlide.Left() + 8, RectSlide.Top() + 18, RectSlide.Width() - 40, RectSlide.Height() - 20);
  Labscroll.setTop(RectSlide.Top() + RectSlide.Height() + 90);
  PlacerBande();
}

void Flistimages::Form_Resize() {
  const int state = WindowState();
  if (state == vb::vbMinimized) {
    if (FrmMain* m = frmMain.existing(); m && m->bouton.exists(16)) m->bouton[16].setBorderStyle(1);
    return;
  }
  if (state == vb::vbNormal && gNbCapt >= 1) AppliquerHauteur();
  PlacerBande();
}

void Flistimages::Form_QueryUnload(int& Cancel, int /*UnloadMode*/) {
  if (!gQuitter) Cancel = 1;
}

// ---------------------------------------------------------------- docking

int Flistimages::GaucheGlissee() const {
  // The window's right frame border plus the strip stay on screen.
  const QWidget* w = widget();
  const int bordDroit = std::max(0, w->frameGeometry().right() - w->geometry().right());
  return kBande + vb::pixelsToTwips(bordDroit) - Width();
}

void Flistimages::Glisser() {
  glissee_ = true;
  setLeft(GaucheGlissee());
  PlacerBande();
}

void Flistimages::Docker() {
  glissee_ = false;
  setLeft(0);
  PlacerBande();
}

void Flistimages::PlacerBande() {
  const int h = std::max(15, int(ScaleHeight()));
  const int largeur = int(ScaleWidth());
  // Slid off, the strip covers the whole client, over the slider, the labels
  // and the see-through background, so that a pointer move anywhere on what the
  // screen still shows reaches it. Where the window really stands is not known
  // here: a window manager may keep more of it on the screen than asked, and
  // need not say so.
  const int gauche = glissee_ ? 0 : std::max(0, largeur - kBande);
  PictBande.Move(gauche, 0, largeur - gauche, h);
  PictBande.ZOrder(0);
}

// ---------------------------------------------------------------- mouse

void Flistimages::Form_MouseMove(int, int, float, float) {
  Docker();
  LblcheckHlp.setVisible(false);
  ReinitSurvol();
  TimerCache.setEnabled(true);
}

void Flistimages::Frame1_MouseMove(int, int, float, float) { ReinitSurvol(); }

void Flistimages::ReinitSurvol() {
  for (int i = 1; i <= gNbCapt; ++i) {
    if (!Image1.exists(i)) continue;
    Gimage1[i].setVisible(false);
    Image1[i].setVisible(true);
    Lbldim[i].setFontBold(false);
    Lbldim[i].setTop(Image1[i].Top() + 80);
  }
}

void Flistimages::MontrerAide(const QString& texte) {
  LblcheckHlp.ZOrder(0);
  LblcheckHlp.setVisible(true);
  LblcheckHlp.setCaption(texte);
  LblcheckHlp.setTop(50);
}

void Flistimages::Image1_MouseMove(int Index, int, int, float, float) {
  MontrerAide(gLng195);
  ReinitSurvol();
  if (!Image1.exists(Index)) return;
  Gimage1[Index].setVisible(true);
  Gimage1[Index].ZOrder(0);
  Lbldim[Index].setFontBold(true);
  Lbldim[Index].setTop(Gimage1[Index].Top() - 250);
  Lbldim[Index].ZOrder(0);
  Image1[Index].setVisible(false);
  TimerCache.setEnabled(false);
}

void Flistimages::Gimage1_MouseMove(int Index, int, int, float, float Y) {
  if (!Gimage1.exists(Index)) return;
  const int h = Gimage1[Index].Height();
  if (h > 300 && (Y < 50 || Y > h - 50)) {
    Gimage1[Index].setVisible(false);
    // The row must not be left without a picture until the next reset.
    Image1[Index].setVisible(true);
    Lbldim[Index].setFontBold(false);
    Lbldim[Index].setTop(Image1[Index].Top() + 80);
  }
}

void Flistimages::Chkmail_MouseMove(int, int, int, float, float) { MontrerAide(gLng144); }

void Flistimages::Labflech_MouseMove(int, int, float, float) { Glisser(); }

void Flistimages::Image1_MouseDown(int Index, int Button, int, float, float) {
  clickimage1(Index, false);
  if (Button == 2) {
    // The capture menu of the main window these rows belong to.
    FrmMain* m = Principale ? Principale : frmMain.existing();
    if (onCaptureMenu) onCaptureMenu();
    else if (m) PopupMenu(m->Mnuflott);
  }
}

void Flistimages::Gimage1_MouseDown(int Index, int Button, int Shift, float X, float Y) {
  Image1_MouseDown(Index, Button, Shift, X, Y);
}

void Flistimages::Image1_DblClick(int Index) { clickimage1(Index, true); }

void Flistimages::Gimage1_Click(int Index) { clickimage1(Index, true); }

void Flistimages::clickimage1(int Index, bool restore) {
  if (Index < 1 || Index > gNbCapt || !Image1.exists(Index)) return;
  const int i = Index;
  FrmMain& m = Principale ? *Principale : frmMain();
  if (m.WindowState() == vb::vbMaximized) {
    int echap = vb::vbKeyEscape;
    m.Form_KeyDown(echap, 0);
  }
  if (restore) m.setWindowState(vb::vbNormal);
  // The editor keeps running (ending it would lose its unsaved edits); only
  // its watch stops, so its saves never land in the capture now on show.
  const bool editeur = ProcActif(gNomExeEdit) || m.EditeurEnCours();
  if (editeur && i != gNbCapt) m.TimPaint.setEnabled(false);

  // A missing or damaged bitmap is reported and the view stays as it was.
  const QImage image = mainwin::LireBitmap(FrmMain::CheminTemp(i));
  if (image.isNull()) return;

  m.Picture1.setVisible(false);  // a grab on show gives way to the chosen capture
  if (gTabMode[i] != "e") {
    MontrerZoneOuFenetre(m, i, image);
  } else {
    MontrerEcranEntier(m, i, image);
  }

  QString mode = gModeCapt;  // a copy: the clipboard copy records its own kind
  m.CopiePP(mode);
  QString titre = gTxtCapture + QString::number(i) + "/" + QString::number(gNbCapt);
  if (PictSave[i].Visible() && !editeur) titre += " > " + gTabSauv[i];
  m.setCaption(titre);
  if (m.WindowState() == vb::vbNormal) m.setLeft(vb::Screen.Width() - m.Width());
  m.Labtaille.setCaption(gTabTaille[i]);
  m.Labtaill2.setVisible(false);
  for (int k = 1; k <= gNbCapt; ++k)
    if (Image1.exists(k)) Image1[k].setBorderStyle(0);
  Image1[i].setBorderStyle(1);
  m.PictSave.setVisible(PictSave[i].Visible());
  gAgrandi = false;
  gNumCapt = i;
  m.Show(vb::vbModeless);
}

void Flistimages::MontrerZoneOuFenetre(FrmMain& m, int i, const QImage& image) {
  m.ImgTTscreen.setVisible(false);
  m.Picture2.setVisible(true);
  m.StatusBar1.setVisible(true);
  m.Picture2.setPicture(image);
  gZoomDestH = vb::twipsToPixels(Image1[i].Height());
  gZoomDestW = vb::twipsToPixels(Image1[i].Width());
  m.Picture2S.setPicture(m.Picture2.Image());
  m.Picture2.Move(50, 500, gTabLargCapt[i], gTabHautCapt[i]);
  if (m.WindowState() == vb::vbNormal) {
    m.setHeight(gTabHautPlus[i]);
    m.setWidth(gTabPos[i]);
  }
  CocherZoom(m, 3);
  gModeCapt = "z";
}

void Flistimages::MontrerEcranEntier(FrmMain& m, int i, const QImage& image) {
  m.Picture2.setVisible(false);
  m.ImgTTscreen.setVisible(true);
  m.StatusBar1.setVisible(true);
  m.Picture1.setPicture(image);
  m.ImgTTscreen.setPicture(QImage());
  const QImage& grand = m.Picture1.Image();
  gZoomDestH = vb::twipsToPixels(m.ImgTTscreen.Height());
  gZoomDestW = vb::twipsToPixels(m.ImgTTscreen.Width());
  // The whole grab: the screen's size when it was taken, which the screen
  // itself may no longer have.
  gZoomSrcH = grand.height();
  gZoomSrcW = grand.width();
  m.ImgTTscreen.setPicture(mainwin::DemiTeinte(grand, gZoomSrcW, gZoomSrcH, gZoomDestW, gZoomDestH));
  // The thumbnail and its enlarged copy, redrawn from the full picture.
  gZoomDestH = vb::twipsToPixels(Image1[i].Height());
  gZoomDestW = vb::twipsToPixels(Image1[i].Width());
  mainwin::EtirerDans(grand, Image1[i], gZoomDestW, gZoomDestH);
  mainwin::EtirerDans(grand, Gimage1[i], vign::Arrondi(gZoomDestW * 1.7), vign::Arrondi(gZoomDestH * 1.7));
  m.ImgTTscreen.Move(50, 500, int(vb::Screen.Width() / 1.7), int(vb::Screen.Height() / 1.7));
  if (m.WindowState() == vb::vbNormal) {
    m.setWidth(m.ImgTTscreen.Width() + 180);
    m.setHeight(m.ImgTTscreen.Height() + 1400);
  }
  CocherZoom(m, 2);
  gModeCapt = "e";
}

void Flistimages::CocherZoom(FrmMain& m, int index) {
  for (int k = 0; k <= 4; ++k)
    if (m.mnuzoomX.exists(k)) m.mnuzoomX[k].setChecked(k == index);
}

// ---------------------------------------------------------------- timers and GIF button

void Flistimages::TimerCache_Timer() {
  if (WindowState() == vb::vbNormal) Glisser();
}

void Flistimages::TimGif_Timer() {
  const QString garde = LettresGif[0];
  for (int k = 0; k < 20; ++k) LettresGif[k] = LettresGif[k + 1];
  LettresGif[19] = garde;
  QString caption;
  for (int k = 0; k < 20; ++k) caption += LettresGif[k];
  LabGif.setCaption(caption);
  LabGif.Refresh();
}

void Flistimages::LabGif_Click() {
  if (gNbCapt < 2) {
    vb::MsgBox(gLng248, vb::vbExclamation);
    return;
  }
  gGifDepuisCapt = true;
  gifmaker::frmGifAnim().Show();
}

// ---------------------------------------------------------------- slider layout

void Flistimages::PlacerRangee(int i, int top) {
  Image1[i].setTop(top);
  Gimage1[i].setTop(top);
  Lbldim[i].setTop(top + 80);
  Txtordre[i].setTop(Lbldim[i].Top() + 450);
  PictSave[i].setTop(top);
  pictmail[i].setTop(top);
  Chkmail[i].setTop(Lbldim[i].Top() + Lbldim[i].Height() + 100);
}

void Flistimages::ParquerRangee(int i) {
  Image1[i].setTop(-1500);
  PictSave[i].setTop(-1500);
  pictmail[i].setTop(-1500);
  Gimage1[i].setTop(-1900);
  Lbldim[i].setTop(-1420);
  Txtordre[i].setTop(-970);
  Chkmail[i].setTop(-1500);
}

int Flistimages::BasRangee(int i) const {
  auto bas = [](const vb::Control& c) { return c.Top() + c.Height(); };
  return std::max({bas(Image1[i]), bas(Gimage1[i]), bas(Txtordre[i]), bas(Chkmail[i])});
}

void Flistimages::AppliquerHauteur() {
  if (gNbCapt < 1 || !Image1.exists(gNbCapt)) return;
  // Never taller than the screen allows: a window manager would fight it.
  const int h = std::min(BasRangee(gNbCapt) + 800, vb::Screen.Height() - 500);
  if (h > 0 && h != Height()) setHeight(h);
}

void Flistimages::Vscroll1_Change() {
  for (int i = 1; i <= gNbCapt; ++i) {
    if (!Image1.exists(i)) continue;
    Gimage1[i].setVisible(false);
    Image1[i].setVisible(true);
  }
  if (gNbCapt < 1) return;
  const int v = std::clamp(Vscroll1.Value(), 1, int(gNbCapt));
  PlacerRangee(v, kTopRangee);
  for (int i = v + 1; i <= gNbCapt; ++i) PlacerRangee(i, Image1[i - 1].Top() + kPasRangee);
  for (int i = v - 1; i >= 1; --i) ParquerRangee(i);
  if (WindowState() == vb::vbNormal) AppliquerHauteur();
  vb::DoEvents();
}

// ---------------------------------------------------------------- entries and moves

Flistimages::Entree Flistimages::LireEntree(int i) const {
  Entree e;
  e.vignette = Image1[i].Image();
  e.agrandie = Gimage1[i].Image();
  e.largVign = Image1[i].Width();
  e.hautVign = Image1[i].Height();
  e.largAgr = Gimage1[i].Width();
  e.hautAgr = Gimage1[i].Height();
  e.decalAgr = Gimage1[i].Top() - Image1[i].Top();
  e.libelle = Lbldim[i].Caption();
  e.coche = Chkmail[i].Value();
  e.sauve = Chksav[i].Value();
  e.marqueSauv = PictSave[i].Visible();
  e.marqueMail = pictmail[i].Visible();
  e.chkmailVisible = Chkmail[i].Visible();
  e.chksavVisible = Chksav[i].Visible();
  return e;
}

void Flistimages::EcrireEntree(int i, const Entree& e, bool avecVisibiliteCoches) {
  Image1[i].setWidth(e.largVign);
  Image1[i].setHeight(e.hautVign);
  Image1[i].setPicture(e.vignette);
  Gimage1[i].setWidth(e.largAgr);
  Gimage1[i].setHeight(e.hautAgr);
  Gimage1[i].setTop(Image1[i].Top() + e.decalAgr);
  Gimage1[i].setPicture(e.agrandie);
  Lbldim[i].setCaption(e.libelle);
  Chkmail[i].setValue(e.coche);
  Chksav[i].setValue(e.sauve);
  PictSave[i].setVisible(e.marqueSauv);
  pictmail[i].setVisible(e.marqueMail);
  if (avecVisibiliteCoches) {
    Chkmail[i].setVisible(e.chkmailVisible);
    Chksav[i].setVisible(e.chksavVisible);
  }
}

void Flistimages::Txtordre_KeyDown(int Index, int& KeyCode, int /*Shift*/) {
  for (int k = 1; k <= gNbCapt; ++k)
    if (k != Index && Txtordre.exists(k)) Txtordre[k].setEnabled(false);
  if (KeyCode == vb::vbKeyReturn) ReorgVign(Index);
}

void Flistimages::ReorgVign(int numsource) {
  if (numsource < 1 || numsource > gNbCapt) return;
  const std::optional<int> typed = PositionTapee(Txtordre[numsource].Text());
  const auto finir = [&] {
    for (int k = 1; k <= gNbCapt; ++k) Txtordre[k].setEnabled(true);
    Txtordre[numsource].setText(vb::Format(numsource, "00"));
  };
  if (!typed || *typed < 1 || *typed > gNbCapt) {
    finir();  // boxes usable again before the message, which may run events
    vb::MsgBox(gLng251 + QString::number(gNbCapt), vb::vbCritical);
    return;
  }
  const int n = *typed;
  if (n == numsource) {
    finir();
    return;
  }
  const Entree garde = LireEntree(numsource);
  capt::copyEntry(numsource, 0);
  if (n > numsource) {
    for (int k = numsource + 1; k <= n; ++k) {
      EcrireEntree(k - 1, LireEntree(k), true);
      capt::copyEntry(k, k - 1);
    }
  } else {
    for (int k = numsource - 1; k >= n; --k) {
      EcrireEntree(k + 1, LireEntree(k), true);
      capt::copyEntry(k, k + 1);
    }
  }
  EcrireEntree(n, garde, true);
  capt::copyEntry(0, n);

  // The current capture follows its capture, not the position.
  if (gNumCapt == numsource) gNumCapt = n;
  else if (n > numsource && gNumCapt > numsource && gNumCapt <= n) gNumCapt -= 1;
  else if (n < numsource && gNumCapt >= n && gNumCapt < numsource) gNumCapt += 1;
  for (int k = 1; k <= gNbCapt; ++k) {
    PictSave[k].setVisible(!gTabSauv[k].isEmpty());
    Image1[k].setBorderStyle(k == gNumCapt ? 1 : 0);
  }
  finir();
}
