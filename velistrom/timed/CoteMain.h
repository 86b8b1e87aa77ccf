#pragma once
// What the timed-capture window asks of the main window: where it stands, and
// the long-period series it arms and stops there (the main window's 100 ms
// timer, toolbar button 6's frame and the periodic-capture menu tick). One
// object, replaceable so that the window can be driven without the main
// window (tests record the calls).
namespace timed {

class MainSide {
 public:
  virtual ~MainSide() = default;
  // frmMain.Left, twips.
  virtual int mainLeft() = 0;
  // frmMain.TimerLngPerio on, bouton(6) framed, MnuCaptper ticked.
  virtual void armLongSeries() = 0;
  // frmMain.TimerLngPerio off, then seriesMarkOff.
  virtual void stopLongSeries() = 0;
  // bouton(6) without its frame, MnuCaptper unticked.
  virtual void seriesMarkOff() = 0;
  // The tutorials window, modeless.
  virtual void showTutorials() = 0;
};

// The main side in use: the one set, else the real main window once it has
// plugged itself in (setRealMainSide), else a side that does nothing.
MainSide& mainSide();
// nullptr puts the real main window back. The object stays the caller's.
void setMainSide(MainSide* side);
// The main window's own side, plugged in once at start.
void setRealMainSide(MainSide* side);

}  // namespace timed
