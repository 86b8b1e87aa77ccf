#pragma once
// The mouse pointer: position, warp, and a "handle" naming its current shape
// (the XFixes cursor serial) with the shape's image and hotspot, so a capture can
// draw the pointer that was on screen when it was triggered.
#include <QImage>
#include <QPoint>
#include <QtGlobal>

namespace platform {

// The handle that means "no visible pointer": a hidden or fully transparent
// pointer, or no XFixes on the server. No real shape ever gets this value.
inline constexpr quint32 kNoPointer = 65557;

struct PointerShape {
  quint32 handle = kNoPointer;
  QImage image;   // Format_ARGB32_Premultiplied; null for kNoPointer
  QPoint hotspot;  // inside image
};

// Pointer position in screen pixels.
QPoint pointerPosition();
// Moves the pointer to a screen position.
void warpPointer(QPoint pos);

// The shape on screen now. Each shape read is remembered (a few of the latest),
// so pointerShape(handle) can give it back later.
PointerShape currentPointer();
quint32 pointerHandle();
// A shape seen before by currentPointer()/pointerHandle(); a null image when the
// handle is kNoPointer or no longer known.
PointerShape pointerShape(quint32 handle);

// Hides/shows the pointer for this program (counted, like XFixes). While hidden
// the handle is kNoPointer. Another program's hiding cannot be seen through X.
void hidePointer();
void showPointer();

// Draws a pointer into a picture with its hotspot at `hotspotAt` (picture
// pixels), blended over the picture and clipped at its edges.
void drawPointer(QImage& target, const PointerShape& shape, QPoint hotspotAt);
// The same for a remembered handle; false (nothing drawn) for kNoPointer or an
// unknown handle.
bool drawPointer(QImage& target, quint32 handle, QPoint hotspotAt);

}  // namespace platform
