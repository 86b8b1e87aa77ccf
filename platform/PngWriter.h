#pragma once
// PNG writer through libpng that picks the smallest lossless form of the same
// pixels: a palette at the lowest bit depth holding the colours (1, 2, 4 or 8),
// grey as grey, true colour otherwise; a picture with an alpha channel keeps it.
#include <QIODevice>
#include <QImage>

#include "platform/Imaging.h"

namespace platform {

// zlib levels, chosen with bench/compare.sh (figures in bench/README.md):
// palette and grey rows are a quarter of true colour's or less, so the highest
// level stays quick; above 7, true colour takes seconds on photo-like content.
inline constexpr int kPngIndexedZlibLevel = 9;
inline constexpr int kPngTrueColourZlibLevel = 7;

// Writes `image` as PNG into `out`; GenericError when libpng or the device fails.
ImageStatus writePng(const QImage& image, QIODevice& out);

}  // namespace platform
