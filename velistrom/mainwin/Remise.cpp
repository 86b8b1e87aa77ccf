// The hand-over of a selection to the real main window and thumbnail window.
#include "velistrom/overlay/Remise.h"

#include "platform/forms/Controls.h"
#include "velistrom/helpers/CursTransp.h"
#include "velistrom/mainwin/Branchements.h"
#include "velistrom/mainwin/Flistimages.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/mainwin/frmMain.h"

namespace overlay {
namespace {

constexpr quint32 kCleListe = 0xC0FFFF;

class RealMainSide final : public MainSide {
 public:
  QImage pictReserv() override {
    // The picture as set: the box's image is only as large as the box.
    const QImage kept = frmMain().PictReserv.Picture();
    return kept.isNull() ? frmMain().PictReserv.Image() : kept;
  }
  void setPictReserv(const QImage& frozen) override { frmMain().PictReserv.setPicture(frozen); }
  void overlayKey() override {
    frmMain().ImgTTscreen.setVisible(false);
    gSourceImg = QStringLiteral("picture");
  }
  void setPicture2(const QImage& cut) override { frmMain().Picture2.setPicture(cut); }
  void CopiePP(const QString& kind) override {
    QString k = kind;
    frmMain().CopiePP(k);
  }
  void showCut() override {
    FrmMain& m = frmMain();
    m.Picture2.setVisible(true);
    m.StatusBar1.setVisible(true);
    m.ImgTTscreen.setVisible(false);
    if (m.WindowState() == vb::vbNormal) m.setHeight(m.Picture2.Height() + 1800);
  }
  void GestVignettes(vb::PictureBox& picture) override { frmMain().GestVignettes(picture); }
  bool severalInARow() override { return frmMain().Mnumulti.Checked(); }
  void showThumbsForSeries() override {
    Flistimages& l = flistimages();
    if (l.WindowState() == vb::vbNormal) {
      l.setLeft(1000);
      l.setTop(1000);
      l.Show();
    }
  }
  void hideThumbs() override { flistimages().Hide(); }
  void backToMain(double hautImg) override {
    FrmMain& m = frmMain();
    if (m.WindowState() == vb::vbNormal) {
      m.setHeight(int(hautImg) + 1400);
      m.setWidth(m.Picture2.Width() > 10000 ? m.Picture2.Width() + 220 : 10000);
      m.setLeft(vb::Screen.Width() - m.Width());
      m.Show();
    }
    m.Picture2S.setPicture(m.Picture2.Picture());
  }
  void thumbsColourKey(bool on) override {
    if (auto* l = flistimages.existing()) {
      if (on)
        BascTransp(l->widget(), true, kCleListe);
      else
        BascTransp(l->widget(), false);
    }
  }
  void startZoom() override { frmMain().TimZoom.setEnabled(true); }
  void escapeToMain() override {
    frmMain().Show();
    Flistimages& l = flistimages();
    if (l.WindowState() == vb::vbNormal) {
      l.setLeft(0);
      l.setTop(0);
    }
    l.Show();
    BascTransp(l.widget(), true, kCleListe);
  }
};

}  // namespace
}  // namespace overlay

namespace mainwin {

void BrancherRemise() {
  static overlay::RealMainSide real;
  overlay::setRealMainSide(&real);
}

}  // namespace mainwin
