#pragma once
// Picture-file conversion: the one place that writes JPEG, GIF and PNG files.
#include <QString>
#include <QUuid>

#include <utility>
#include <vector>

namespace Conversion {

// Format numbers of ConvImage.
enum Format : int { FormatBmp = 1, FormatJpeg = 2, FormatGif = 3, FormatPng = 4 };

// Converts the picture file `source` into `destination` in `format` (1 to 4),
// `quality` applying to JPEG only (see QualiteJpeg). The destination is created
// or replaced; it is written under a temporary name and renamed into place, so a
// failed conversion leaves an existing destination as it was. A failure shows
// the critical box (language text 190, the source path, the status code).
// True when the destination was written.
bool ConvImage(const QString& source, const QString& destination, int format, int quality);

// ConvImage of each (source, destination) pair, several at once on worker
// threads; the failure boxes follow on the calling thread, in list order.
// One flag per pair: the destination was written.
std::vector<bool> ConvImages(const std::vector<std::pair<QString, QString>>& pairs, int format,
                             int quality);

// The JPEG quality actually used: `quality` when it lies from 0 to 100, else 75.
int QualiteJpeg(int quality);

// The MIME type of a format number, empty for a number outside 1 to 4.
QString TypeMime(int format);

// Looks the MIME type up (case ignored) in the installed encoders. On a match
// copies the encoder's class identifier into `clsid` and returns its 1-based
// position in the list; -1 when none matches (`clsid` is then left unchanged).
int ClsidEncodeur(const QString& mimeType, QUuid& clsid);

}  // namespace Conversion
