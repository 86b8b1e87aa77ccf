#pragma once
// The frozen pictures the overlay shows and cuts from, made from a grab: the
// dimming, and the undimmed copy and dimmed view of a one-screen opening.
#include <QImage>
#include <QSize>

namespace overlay {

// The dimming: 80/255 of RGB(128, 128, 254) over 175/255 of the desktop pixel.
QRgb dimPixel(QRgb desktop);
// Dims rows [fromRow, toRow) of an RGB32/ARGB32 picture in place.
void dimRows(QImage& picture, int fromRow, int toRow);
// Dimmed copy of `rows` rows of src (from srcRow) into dst (from dstRow), both RGB32.
void dimCopyRows(const QImage& src, QImage& dst, int srcRow, int dstRow, int rows);

// A one-screen opening, in one pass over the RGB32 grab: `undimmed` and `view`
// become RGB32 pictures of `size` holding the grab at their top, as it is and
// dimmed, and black and dimmed black everywhere else. Pictures of that size
// that nothing else holds are written over (fresh pages cost more than the
// copy), and a black part they still hold from the last call is not written
// again.
void freezeOneScreen(const QImage& grab, QSize size, QImage& undimmed, QImage& view);

}  // namespace overlay
