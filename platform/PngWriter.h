#pragma once
// PNG writer through libpng that picks the smallest lossless form of the same
// pixels: a palette at the lowest bit depth holding the colours (1, 2, 4 or 8),
// grey as grey, true colour otherwise; a picture with an alpha channel keeps it.
#include <QIODevice>
#include <QImage>

#include "platform/Imaging.h"

namespace platform {

// zlib level used by writePng: chosen with bench/compare.sh, files no larger
// than ImageMagick's in no more time (figures in bench/README.md).
inline constexpr int kPngZlibLevel = 6;

// Writes `image` as PNG into `out`; GenericError when libpng or the device fails.
ImageStatus writePng(const QImage& image, QIODevice& out, int zlibLevel = kPngZlibLevel);

}  // namespace platform
