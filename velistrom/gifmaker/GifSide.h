#pragma once
// What the GIF maker asks of the rest of the program. One object, replaceable
// so that the window can be driven without the main window (tests set theirs).
#include <QString>

namespace gifmaker {

class GifSide {
 public:
  virtual ~GifSide() = default;
  // The tutorials window, modeless.
  virtual void showTutorials() = 0;
  // The folder that holds our programs: Postelle is started from there.
  virtual QString programFolder() = 0;
};

// The side in use: the real program unless one was set.
GifSide& gifSide();
// nullptr puts the real program back. The object stays the caller's.
void setGifSide(GifSide* side);

}  // namespace gifmaker
