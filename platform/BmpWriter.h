#pragma once
// 24-bit BMP writer that streams the rows straight into a device: byte for
// byte the file Qt's BMP writer makes of an RGB32 picture, without holding the
// encoded picture in memory first.
#include <QIODevice>
#include <QImage>

namespace platform {

// Size in bytes of the 24-bit BMP file of a picture of that size.
qint64 bmpFileSize(int width, int height);

// Writes `image` (any format; other than RGB32 it is converted first) as a
// 24-bit bottom-up BMP into `out`. False when a write comes up short.
bool writeBmp(const QImage& image, QIODevice& out);

}  // namespace platform
