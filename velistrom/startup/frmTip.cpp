#include "velistrom/startup/frmTip.h"

#include "platform/forms/App.h"
#include "platform/forms/Runtime.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/startup/Relais.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

const char kSection[] = "Options";
const char kCle[] = "Show Tips at Startup";

// The small bulb in the corner of the tip area.
QImage Ampoule() {
  QImage img(32, 32, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::white);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(120, 100, 0), 1.5));
  p.setBrush(QColor(255, 230, 60));
  p.drawEllipse(QRectF(7, 3, 18, 18));
  p.setBrush(QColor(150, 150, 150));
  p.drawRect(QRectF(12, 21, 8, 7));
  p.drawLine(QPointF(12, 24.5), QPointF(20, 24.5));
  return img;
}

}  // namespace

namespace tips {

QString ValeurStockee() { return vb::GetSetting(vb::App.EXEName(), kSection, kCle); }

bool AfficherAuDemarrage() {
  const QString v = vb::GetSetting(vb::App.EXEName(), kSection, kCle, "1");
  // A damaged value must not hide the tips for good: only a number that comes
  // to 0 switches them off.
  if (!vb::IsNumeric(v)) return true;
  return std::nearbyint(vb::Val(v)) != 0;
}

void EcrireAfficherAuDemarrage(bool show) {
  vb::SaveSetting(vb::App.EXEName(), kSection, kCle, show ? "1" : "0");
}

}  // namespace tips

FrmTip::FrmTip()
    : vb::Form("frmTip"),
      Picture1(*this, "Picture1"),
      cmdOK(*this, "cmdOK"),
      cmdNextTip(*this, "cmdNextTip"),
      chkLoadTipsAtStartup(*this, "chkLoadTipsAtStartup"),
      Timer1(*this, "Timer1", 30000, false) {
  setBorderStyle(vb::vbFixedDouble);
  setWidth(5985);  // a client area of 5895 x 3285 and the frame around it
  setHeight(3780);

  Picture1.setBackColor(0xFFFFFF);
  Picture1.setPicture(Ampoule());
  Picture1.Move(120, 120, 3735, 2715);
  Label1.setBackColor(0xFFFFFF);
  Label1.Move(540, 180, 2655, 255);
  lblTipText.setBackColor(0xFFFFFF);
  lblTipText.setFontName("MS Sans Serif");
  lblTipText.setWordWrap(true);
  // A tip is plain text: "&" is shown, never taken as an access key.
  lblTipText.setUseMnemonic(false);
  lblTipText.setCaption(QString());
  lblTipText.Move(120, 480, 3255, 2115);
  cmdOK.setDefault(true);
  cmdOK.setCancel(true);
  cmdOK.Move(4080, 120, 1335, 375);
  cmdNextTip.Move(4080, 600, 1335, 375);
  chkLoadTipsAtStartup.Move(120, 2940, 2895, 315);

  cmdOK.onClick = [this] { cmdOK_Click(); };
  cmdNextTip.onClick = [this] { cmdNextTip_Click(); };
  chkLoadTipsAtStartup.onClick = [this] { chkLoadTipsAtStartup_Click(); };
  Timer1.onTimer = [this] { Timer1_Timer(); };
}

void FrmTip::Form_Load() {
  // Never loads the main window: only takes its colour when it is there.
  if (const auto& colour = startup::mainSide().backColor)
    if (const auto c = colour()) setBackColor(*c);

  if (!tips::AfficherAuDemarrage()) {
    vb::Unload(*this);
    return;
  }

  cmdOK.setCaption(gLng174);
  cmdNextTip.setCaption(gLng169);
  Label1.setCaption(gLng168);
  setCaption(gLng170);
  chkLoadTipsAtStartup.setCaption(gLng171);
  chkLoadTipsAtStartup.setValue(1);  // its Click stores "1"

  vb::Randomize();
  AstuceSuivante();
}

void FrmTip::AstuceSuivante() {
  AstuceCourante = int(vb::Int(vb::Rnd() * gTips.size() + 1));
  DisplayCurrentTip();
}

void FrmTip::DisplayCurrentTip() {
  if (AstuceCourante >= 1 && AstuceCourante <= gTips.size()) lblTipText.setCaption(gTips[AstuceCourante - 1]);
}

void FrmTip::cmdNextTip_Click() {
  AstuceSuivante();
  Timer1.setEnabled(false);
}

void FrmTip::cmdOK_Click() { vb::Unload(*this); }

void FrmTip::Timer1_Timer() { vb::Unload(*this); }

void FrmTip::chkLoadTipsAtStartup_Click() {
  vb::SaveSetting(vb::App.EXEName(), kSection, kCle, QString::number(chkLoadTipsAtStartup.Value()));
}
