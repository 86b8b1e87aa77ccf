#pragma once
// Grab of a rectangle of the screen (the root window), pixel for pixel. Pixels
// of the rectangle outside the root come back black.
#include <QImage>
#include <QRect>

namespace platform {

enum class GrabMethod {
  Auto,      // shared memory when the server offers it, else a plain request
  Shm,       // MIT-SHM only: a null picture when it cannot be used
  GetImage,  // plain XGetImage through the socket
};

// True when the X server offers MIT-SHM to this client.
bool shmAvailable();

// A Format_RGB32 picture of `rect` (root coordinates) of exactly rect's size; a
// null picture for an empty rectangle or one too big to hold in memory. Without an X display the picture comes
// from Qt's screen grab (on Qt's offscreen platform: its own windows).
QImage grabScreen(const QRect& rect, GrabMethod method = GrabMethod::Auto);
// The whole root window.
QImage grabWholeScreen(GrabMethod method = GrabMethod::Auto);

}  // namespace platform
