#pragma once
// What the overlay asks of the main window and the thumbnail window when a
// selection ends: the frozen screen they keep, the cut they show, the clipboard,
// the capture list, and their showing again. One object, replaceable so that the
// overlay can be driven without the main window (tests record the calls).
#include <QImage>
#include <QString>

namespace vb {
class PictureBox;
}

namespace overlay {

class MainSide {
 public:
  virtual ~MainSide() = default;
  // frmMain.PictReserv: the frozen screen kept for a re-selection.
  virtual QImage pictReserv() = 0;
  virtual void setPictReserv(const QImage& frozen) = 0;
  // Every key on the overlay: frmMain.ImgTTscreen hidden, gSourceImg "picture".
  virtual void overlayKey() = 0;
  // frmMain.Picture2 = the cut.
  virtual void setPicture2(const QImage& cut) = 0;
  // frmMain.CopiePP: clipboard (unless switched off) and its notice.
  virtual void CopiePP(const QString& kind) = 0;
  // Picture2 and StatusBar1 shown, ImgTTscreen hidden, and in normal state the
  // window's height follows Picture2.
  virtual void showCut() = 0;
  // frmMain.GestVignettes: the picture joins the capture list.
  virtual void GestVignettes(vb::PictureBox& picture) = 0;
  // frmMain.Mnumulti.Checked: several captures in a row.
  virtual bool severalInARow() = 0;
  // A capture of a series: the thumbnail window at (1000, 1000) when in normal
  // state, and shown.
  virtual void showThumbsForSeries() = 0;
  virtual void hideThumbs() = 0;
  // The overlay closed after one capture: frmMain sized to the capture (in
  // normal state), flush right, shown; Picture2S takes Picture2.
  virtual void backToMain(double hautImg) = 0;
  // BascTransp on the thumbnail window: off while the overlay shows, back on
  // with the key colour &HC0FFFF.
  virtual void thumbsColourKey(bool on) = 0;
  // frmMain.TimZoom on: the main window picks its zoom.
  virtual void startZoom() = 0;
  // Escape: frmMain shown, the thumbnail window at (0, 0) in normal state and shown.
  virtual void escapeToMain() = 0;
};

// The main side in use: the one set, else the real main window once it has
// plugged itself in (setRealMainSide), else a side that does nothing.
MainSide& mainSide();
// nullptr puts the real main window back. The object stays the caller's.
void setMainSide(MainSide* side);
// The main window's own side, plugged in once at start.
void setRealMainSide(MainSide* side);

}  // namespace overlay
