#pragma once
// The overlay on fake grabs whose pixels encode their coordinates, a fake pointer
// drawing, a recorded pointer warp and a main window that records what it gets.
#include "platform/forms/Controls.h"
#include "velistrom/core/Bureau.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/overlay/FrmFull.h"
#include "velistrom/overlay/Remise.h"

#include <QEvent>
#include <QImage>
#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

namespace overlaytest {

// Grab number `gen` (1, 2, ...) of the pixel (x, y): red and green the low bytes
// of x and y, blue their high nibbles; the second grab is the negative.
inline QRgb patternAt(int x, int y, int gen) {
  const QRgb p = qRgb(x & 255, y & 255, ((x >> 8) & 15) << 4 | ((y >> 8) & 15));
  return gen >= 2 ? qRgb(255 - qRed(p), 255 - qGreen(p), 255 - qBlue(p)) : p;
}

inline QImage pattern(const QRect& r, int gen) {
  QImage img(r.size(), QImage::Format_RGB32);
  for (int y = 0; y < r.height(); ++y)
    for (int x = 0; x < r.width(); ++x) img.setPixel(x, y, patternAt(r.x() + x, r.y() + y, gen));
  return img;
}

constexpr QRgb kPointerMark = 0xFFFF00FF;

class RecordingMain : public overlay::MainSide {
 public:
  QStringList calls;
  QImage reserv, picture2, listed;
  bool multi = false;
  bool visibleAtList = false;

  QImage pictReserv() override {
    calls << "pictReserv";
    return reserv;
  }
  void setPictReserv(const QImage& frozen) override {
    calls << "setPictReserv";
    reserv = frozen;
  }
  void overlayKey() override { calls << "overlayKey"; }
  void setPicture2(const QImage& cut) override {
    calls << "setPicture2";
    picture2 = cut;
  }
  void CopiePP(const QString& kind) override { calls << "CopiePP " + kind; }
  void showCut() override { calls << "showCut"; }
  void GestVignettes(vb::PictureBox& picture) override {
    calls << "GestVignettes " + picture.Name();
    listed = picture.Image();
  }
  bool severalInARow() override { return multi; }
  void showThumbsForSeries() override { calls << "showThumbsForSeries"; }
  void hideThumbs() override { calls << "hideThumbs"; }
  void backToMain(double) override { calls << "backToMain"; }
  void thumbsColourKey(bool on) override { calls << (on ? "colourKey on" : "colourKey off"); }
  void startZoom() override { calls << "startZoom"; }
  void escapeToMain() override { calls << "escapeToMain"; }
  // The calls of one kind, in order, without the others.
  QStringList only(const QStringList& kinds) const {
    QStringList out;
    for (const QString& c : calls)
      for (const QString& k : kinds)
        if (c.startsWith(k)) out << c;
    return out;
  }
};

struct PointerCall {
  quint32 handle;
  QPoint at;
  QSize target;
};

// Records gFinFull at the moment the overlay's window hides.
class HideWatch : public QObject {
 public:
  bool hidden = false;
  bool finFullAtHide = false;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Hide) {
      hidden = true;
      finFullAtHide = gFinFull;
    }
    return false;
  }
};

class OverlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    overlay::setMainSide(&main);
    auto& p = core::bureau();
    p.grab = [this](const QRect& r) {
      ++grabs;
      grabRects.push_back(r);
      return pattern(r, grabs);
    };
    p.monitorCount = [this] { return monitors; };
    p.warpPointer = [this](QPoint q) { warps.push_back(q); };
    p.drawPointer = [this](QImage& img, quint32 h, QPoint at) {
      pointers.push_back({h, at, img.size()});
      if (img.rect().contains(at)) img.setPixel(at, kPointerMark);
      return true;
    };
    gRectAjust = 1;
    gOptChk0 = 0;
    gSelLarg = "0420";
    gSelHaut = "0260";
    gAnnuler = false;
    gParClavier = false;
    gHCurseur = 65557;
    gCursX = gCursY = 0;
    gFinFull = false;
    gLargImg = gHautImg = 0;
    gSelX = gSelY = 0;
    gMargeEchapX = gMargeEchapY = 0;
    gModeCapt.clear();
  }
  void TearDown() override {
    overlay::setMainSide(nullptr);
    core::resetBureau();
  }

  // Screen size in pixels under the test platform.
  static int sw() { return vb::twipsToPixels(vb::Screen.Width()); }
  static int sh() { return vb::twipsToPixels(vb::Screen.Height()); }

  FrmFull& open(int numB = 0) {
    FrmFull& f = frmFull();
    EXPECT_TRUE(f.InitFull(numB));
    f.Show();
    slideIn(f);
    return f;
  }
  // Runs the slide-in to its end: the form at the screen's corner.
  static void slideIn(FrmFull& f) {
    for (int i = 0; i < 100 && f.TimMvtDeb.Enabled(); ++i) f.TimMvtDeb.tick();
  }
  // Puts the selection at a known place (twips) with its handles around it.
  static void select(FrmFull& f, overlay::Rect r) {
    auto& g = f.geometry();
    g.setTimreinitEnabled(false);
    g.rectsel().setLeft(r.Left);
    g.rectsel().setTop(r.Top);
    EXPECT_TRUE(g.rectsel().setWidth(r.Width));
    EXPECT_TRUE(g.rectsel().setHeight(r.Height));
    g.PlacDesCoins();
    g.copyToBand();
    f.syncControls();
  }

  RecordingMain main;
  int grabs = 0;
  int monitors = 1;
  std::vector<QRect> grabRects;
  std::vector<QPoint> warps;
  std::vector<PointerCall> pointers;
};

}  // namespace overlaytest
