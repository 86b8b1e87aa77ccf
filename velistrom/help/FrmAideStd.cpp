#include "velistrom/help/FrmAideStd.h"

#include "platform/forms/MsgBox.h"
#include "platform/forms/Runtime.h"
#include "velistrom/help/AideImage.h"
#include "velistrom/help/AideZones.h"
#include "velistrom/core/GlobTextes.h"

#include <algorithm>

namespace {

constexpr int kImageLeft = 1800;
constexpr int kImageTop = 600;
constexpr int kLargeur = 12900;  // the widest page, 700 pixels, and its margins
constexpr int kHautLabel = 2250;

int Tx() { return vb::Screen.TwipsPerPixelX(); }
int Ty() { return vb::Screen.TwipsPerPixelY(); }

}  // namespace

FrmAideStd::FrmAideStd()
    : vb::Form("FrmAideStd"),
      PictForm(*this, "PictForm"),
      Pictmenu(*this, "Pictmenu"),
      rectmenu(Pictmenu, "rectmenu"),
      LabExplic(*this, "LabExplic"),
      CdeFen(*this, "CdeFen") {
  setBorderStyle(vb::vbFixedSingle);
  setWidth(kLargeur);
  const QSize p0 = help::TaillePage(0);
  setHeight(kImageTop + p0.height() * Ty() + 100 + kHautLabel + 750);
  PictForm.setBorderStyle(0);
  PictForm.setAutoSize(true);
  PictForm.Move(kImageLeft, kImageTop);
  Pictmenu.setBorderStyle(0);
  Pictmenu.setAutoSize(true);
  Pictmenu.setVisible(false);
  Pictmenu.Move(kImageLeft, kImageTop + help::kBarreBas * Ty());
  rectmenu.setBorderColor(vb::QBColor(12));
  rectmenu.setBorderWidth(1);
  rectmenu.setBackStyle(0);
  rectmenu.Move(0, 0, 3000, help::kRowHeight * Ty());
  rectmenu.setVisible(false);
  LabExplic.setUseMnemonic(false);
  LabExplic.setWordWrap(true);
  LabExplic.Move(200, kImageTop + p0.height() * Ty() + 100, kLargeur - 400, kHautLabel);
  CdeFen[0].Move(120, kImageTop, 1560, 420);
  for (int i = 1; i <= 3; ++i) {
    CdeFen.Load(i);
    CdeFen[i].Move(120, kImageTop + i * 540, 1560, 420);
    CdeFen[i].setVisible(true);
  }

  onMouseMove = [this](int b, int s, float x, float y) { Form_MouseMove(b, s, x, y); };
  PictForm.onMouseMove = [this](int b, int s, float x, float y) { PictForm_MouseMove(b, s, x, y); };
  PictForm.onClick = [this] { PictForm_Click(); };
  Pictmenu.onMouseMove = [this](int b, int s, float x, float y) { Pictmenu_MouseMove(b, s, x, y); };
  CdeFen.on(&vb::CommandButton::onClick, [this](int i) { CdeFen_Click(i); });
  CdeFen.on(&vb::CommandButton::onMouseMove,
            [this](int i, int b, int s, float x, float y) { CdeFen_MouseMove(i, b, s, x, y); });
}

QImage FrmAideStd::ImagePage(int page) const {
  return help::ImageAide(gTxtAide[67 + page] + ".jpg", help::TaillePage(page));
}

QImage FrmAideStd::ImageMenu(int menu) const {
  return help::ImageAide(gTxtAide[46 + menu] + ".jpg", help::TailleMenu(menu));
}

void FrmAideStd::Form_Load() {
  for (int i = 0; i <= 3; ++i) CdeFen[i].setCaption(gTxtAide[70 + i]);
  PictForm.setPicture(ImagePage(0));
  PictForm.Move(kImageLeft, kImageTop);
  LabExplic.setTop(PictForm.Top() + PictForm.Height() + 100);
  page_ = 0;
}

void FrmAideStd::Form_MouseMove(int, int, float, float) { LabExplic.setCaption(" "); }

void FrmAideStd::PictForm_MouseMove(int, int, float X, float Y) {
  const int tx = Tx(), ty = Ty();
  if (page_ != 0) Pictmenu.setVisible(false);
  const int zone = help::ZoneTouchee(page_, X, Y, tx, ty);
  if (zone >= 0) {
    LabExplic.setCaption(gTxtAide[help::TexteZone(page_, zone)]);
    if (page_ == 0) LabExplic.setForeColor(vb::QBColor(1));
  }
  if (page_ == 1 && zone < 0) LabExplic.setCaption(gTxtAide[45]);
  if (page_ == 2 && zone < 0) LabExplic.setCaption(gTxtAide[65]);
  if (page_ != 0) return;

  if (Y > 78 * ty && X < 560 * tx) {
    LabExplic.setCaption(gTxtAide[80]);
    LabExplic.setForeColor(vb::QBColor(1));
  }
  if (Y > help::kBarreHaut * ty && Y < help::kBarreBas * ty) {
    LabExplic.setForeColor(vb::QBColor(0));
    const int k = help::MenuSous(X / tx);
    if (k < 0) {
      Pictmenu.setVisible(false);
      return;
    }
    Pictmenu.setPicture(ImageMenu(k));
    LabExplic.setCaption(gTxtAide[75 + k]);
    Pictmenu.setLeft(PictForm.Left() + help::MenusPage0()[k].leftPx * tx);
    menu_ = k;
    Pictmenu.setVisible(true);
    Pictmenu.ZOrder(0);
    rectmenu.setWidth(Pictmenu.Width());
    rectmenu.setVisible(true);
    rectmenu.Move(0, 0);
  } else {
    Pictmenu.setVisible(false);
  }
}

void FrmAideStd::PictForm_Click() { vb::MsgBox(gTxtAide[81], vb::vbExclamation); }

void FrmAideStd::Pictmenu_MouseMove(int, int, float, float Y) {
  rectmenu.setTop(int(Y));
  rectmenu.setLeft(0);
  LabExplic.setCaption(gTabAideMenu[menu_][help::LigneMenu(Y, Ty())]);
}

void FrmAideStd::ChargerPage(int page) {
  PictForm.setPicture(ImagePage(page));
  PictForm.Move(kImageLeft, kImageTop);
}

void FrmAideStd::CdeFen_Click(int Index) {
  if (Index == 3) {
    LabExplic.setCaption(QString());
    vb::Unload(*this);
    return;
  }
  page_ = Index;
  Pictmenu.setVisible(false);
  LabExplic.setCaption(gTxtAide[74]);
  ChargerPage(Index);
  if (Index == 1) {
    // Beside the picture; a window narrower than the picture leaves no room,
    // and a negative width is refused.
    LabExplic.setTop(PictForm.Top());
    LabExplic.setLeft(PictForm.Left() + PictForm.Width() + 100);
    LabExplic.setWidth(std::max(0, Width() - (PictForm.Left() + PictForm.Width() + 300)));
    setHeight(PictForm.Top() + PictForm.Height() + 500);
  } else {
    LabExplic.setTop(PictForm.Top() + PictForm.Height() + 100);
    LabExplic.setWidth(std::max(0, Width() - 400));
    LabExplic.setLeft((Width() - LabExplic.Width()) / 2);
    LabExplic.setHeight(kHautLabel);
    setHeight(LabExplic.Top() + LabExplic.Height() + 750);
  }
}

void FrmAideStd::CdeFen_MouseMove(int Index, int, int, float, float) {
  LabExplic.setCaption(Index >= 3 ? CdeFen[Index].Caption() : gTxtAide[74]);
}
