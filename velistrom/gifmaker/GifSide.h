#pragma once
// What the GIF maker asks of the rest of the program. The main window plugs
// its own in at start; tests may set theirs.
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

// The side in use: a test's, else the main window's, else one that starts
// Postelle beside our own executable and shows no tutorials.
GifSide& gifSide();
// nullptr removes a test's side. The objects stay their callers'.
void setGifSide(GifSide* side);
void setRealGifSide(GifSide* side);

}  // namespace gifmaker
