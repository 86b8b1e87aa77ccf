#pragma once
// Picture files: the list of encoders by MIME type, loading any picture, and
// saving through a chosen encoder. Every failure comes back as a status whose
// numbers follow the old imaging library's scale, so messages that show a
// "status code" keep their meaning.
#include <QImage>
#include <QString>
#include <QUuid>
#include <optional>
#include <vector>

namespace platform {

enum class ImageStatus : int {
  Ok = 0,
  GenericError = 1,
  InvalidParameter = 2,  // no picture, unknown encoder, quality out of range
  OutOfMemory = 3,
  SystemError = 7,  // the system refused a write (disk full, file size limit)
  FileNotFound = 10,
  AccessDenied = 12,
  UnknownImageFormat = 13,  // the file is not a picture we can read
};

inline int statusCode(ImageStatus s) { return static_cast<int>(s); }

// One installed encoder, in the shape of the old encoder records: a class
// identifier that names the encoder, the identifier of its file format, and texts.
struct ImageEncoderInfo {
  QUuid clsid;
  QUuid formatId;
  QString codecName;
  QString formatDescription;
  QString filenameExtension;  // e.g. "*.JPG;*.JPEG;*.JPE;*.JFIF"
  QString mimeType;           // e.g. "image/jpeg"
};

// The encoders, always in this order: BMP, JPEG, GIF, PNG.
const std::vector<ImageEncoderInfo>& imageEncoders();
// The encoder of a MIME type (case ignored), or nullptr.
const ImageEncoderInfo* findEncoderByMime(const QString& mimeType);

// Loads any picture Qt can read (BMP, JPEG, GIF, PNG, ...). On failure `out` is null.
ImageStatus loadPicture(const QString& path, QImage& out);

// Saves `image` to `path` through the encoder `clsid`. `jpegQuality` (0 to 100)
// applies to JPEG only and is ignored by the others; without it JPEG uses 75.
// BMP is written 24-bit without alpha. The file is written under a temporary
// name in the destination's folder and renamed into place, so an existing
// destination survives any failure and nothing partial is left behind.
ImageStatus savePicture(const QImage& image, const QString& path, const QUuid& clsid,
                        std::optional<int> jpegQuality = std::nullopt);

// A temporary bitmap of the run (the capture list's own copy of a capture):
// the same file as savePicture's BMP, complete under its name or absent, but
// not waited for on the disk, which takes several times longer than writing a
// whole screen's bitmap. A crash of the program leaves it whole; only a crash
// of the system can lose it.
ImageStatus saveTemporaryBitmap(const QImage& image, const QString& path);

// Peak signal-to-noise ratio in dB of `b` against `a` over R, G and B
// (infinity when equal, 0 when the sizes differ).
double picturePsnr(const QImage& a, const QImage& b);

}  // namespace platform
