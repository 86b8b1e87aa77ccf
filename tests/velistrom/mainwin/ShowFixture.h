#pragma once
// The capture list with a main window that shows captures: region and
// whole-screen captures made through the list itself, their temporary bitmaps
// rewritten as an editor would, and the texts the view and the caption use.
#include "platform/Clipboard.h"
#include "tests/velistrom/mainwin/CaptureFixture.h"

#include <QImage>

namespace showfix {

// Each pixel tells where it came from: red = x, green = y.
inline QImage coords(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x % 256, y % 256, 77));
  return img;
}

inline QImage plain(int w, int h, QColor c) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(c);
  return img;
}

inline QImage rgb(const QImage& i) { return i.convertToFormat(QImage::Format_RGB32); }

class Show : public captfix::CaptureList {
 protected:
  void SetUp() override {
    CaptureList::SetUp();
    gPasCopiePP = "0";
    gNomExeEdit.clear();
    gTxtCapture = "Capture";
    gLng107 = "Velistrom - region";
    gLng114 = " +1";
    gLng190 = "Cannot read the picture";
    gZoomSrcW = gZoomSrcH = gZoomDestW = gZoomDestH = 0;
    m().setWindowState(vb::vbNormal);
    m().CheminCapt.clear();
  }
  void TearDown() override {
    gNomExeEdit.clear();
    CaptureList::TearDown();
  }

  // A region capture of that picture, through Picture2 as the overlay leaves it.
  void addRegion(const QImage& img) {
    m().Picture2.setVisible(true);
    m().Picture2.Move(20, 500, img.width() * 15, img.height() * 15);
    m().Picture2.setPicture(img);
    m().Picture2S.setPicture(img);
    gLargImg = img.width() * 15;
    gModeCapt = "z";
    m().GestVignettes(m().Picture2);
  }
  // A whole-screen capture of that picture, through Picture1 as command 2 leaves it.
  void addScreen(const QImage& img) {
    m().Picture1.setPicture(img);
    gLargImg = img.width() * 15;
    gModeCapt = "e";
    m().GestVignettes(m().Picture1);
  }
  // What an editor does: the capture's temporary bitmap replaced.
  void rewrite(int n, const QImage& img) {
    ASSERT_TRUE(img.save(FrmMain::CheminTemp(n), "BMP"));
  }
  int checkedZoom() {
    int found = -1, count = 0;
    for (int i = 0; i < 5; ++i)
      if (m().mnuzoomX[i].Checked()) {
        found = i;
        ++count;
      }
    return count == 1 ? found : -10 - count;
  }
  int bordered() {
    int count = 0;
    for (int k = 1; k <= gNbCapt; ++k) count += fl().Image1[k].BorderStyle() == 1;
    return count;
  }
  static QRgb centre(const QImage& img) { return img.pixel(img.width() / 2, img.height() / 2) | 0xff000000u; }
};

}  // namespace showfix
