#pragma once
// What the help and information windows ask of the main window: the periodic
// capture the about box switches on again, its mail message, its colour. One
// object, set by the main window before it opens one of these windows
// (replaceable, so tests record the calls); none set: nothing happens.
#include "platform/forms/Runtime.h"

namespace help {

class MainSide {
 public:
  virtual ~MainSide() = default;
  // When frmMain.MnuCaptper is ticked, frmMain.TimPériod is switched on.
  virtual void restartPeriodicIfSelected() = 0;
  // frmMain.envoimail: the message to the maker; it reports its own errors.
  virtual void envoimail() = 0;
  // frmMain.BackColor.
  virtual vb::Color mainBackColor() = 0;
};

MainSide& mainSide();
// The object stays the caller's; nullptr: none.
void setMainSide(MainSide* side);

}  // namespace help
