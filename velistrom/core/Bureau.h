#pragma once
// The desktop as the program's grabs reach it: the dispatcher's whole-screen and
// window captures and the overlay's frozen screen go through this one seam.
// Tests replace pieces; resetBureau() puts the real desktop back.
#include <QImage>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <functional>

namespace core {

struct Bureau {
  std::function<QImage(const QRect&)> grab;  // a root rectangle, RGB32, padded black
  std::function<QRect()> ecran;              // the whole desktop, screen pixels
  std::function<QRect()> fenetreActive;      // the foreground window's frame; null when none
  std::function<int()> monitorCount;         // 1: one screen wide
  std::function<void(QPoint)> warpPointer;   // SetCursorPos, screen pixels
  // Draws the pointer `handle` with its hotspot at the point; false when unknown.
  std::function<bool(QImage&, quint32, QPoint)> drawPointer;
  // Bytes the overlay may take for its buffers (a failed allocation is refused too).
  std::int64_t bufferLimit = std::int64_t(1) << 34;
};

Bureau& bureau();
void resetBureau();

}  // namespace core
