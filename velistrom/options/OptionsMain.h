#pragma once
// What the options dialog asks of the main window: its colour, the periodic
// timer and its menu tick, the save button's tooltip, the settings write, and
// the overlay's rectangle. One object, replaceable so that the dialog can be
// driven without the main window (tests record the calls).
#include "platform/forms/Runtime.h"

#include <QString>

namespace options {

class MainSide {
 public:
  virtual ~MainSide() = default;
  // frmMain.BackColor.
  virtual vb::Color backColor() = 0;
  // frmMain.MnuCaptper.Checked: periodic capture is armed.
  virtual bool periodicTicked() = 0;
  // frmMain.TimPeriod.Enabled.
  virtual bool periodicOn() = 0;
  virtual void setPeriodicOn(bool on) = 0;
  // frmMain.TimPeriod.Interval, milliseconds (0: never fires).
  virtual void setPeriodicInterval(int ms) = 0;
  // frmMain.bouton(11).ToolTipText: the save button, which names the save folder.
  virtual QString saveTooltip() = 0;
  virtual void setSaveTooltip(const QString& text) = 0;
  // frmMain.SavOptions: writes gParams and gRepSauvLigne to the settings file.
  virtual void SavOptions() = 0;
  // The overlay's selection rectangle and its eight handles made invisible.
  virtual void hideOverlayRectangle() = 0;
};

// The main side in use: the real main window unless one was set.
MainSide& mainSide();
// nullptr puts the real main window back. The object stays the caller's.
void setMainSide(MainSide* side);
// The main window's own side, plugged in once at start.
void setRealMainSide(MainSide* side);

}  // namespace options
