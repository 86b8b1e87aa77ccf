#include "platform/Imaging.h"

#include "platform/Log.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QSaveFile>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

#include <fcntl.h>
#include <unistd.h>

#include "platform/BmpWriter.h"
#include "platform/Folders.h"
#include "platform/GifWriter.h"
#include "platform/PngWriter.h"

namespace platform {
namespace {

// Our own identifiers: one per encoder and one per file format.
const QUuid kBmpEncoder("{cd038e34-6c5f-4329-9b45-a935fc74332b}");
const QUuid kJpegEncoder("{1c1fbf39-72aa-48a6-8237-91e848843752}");
const QUuid kGifEncoder("{37f30761-da64-4326-8941-b4faf9dbc8fb}");
const QUuid kPngEncoder("{c0959625-d71c-4011-bd8f-fa4628653c8f}");
const QUuid kBmpFormat("{49c5dc83-961e-41bb-b601-93da61cb2b64}");
const QUuid kJpegFormat("{68d15557-f298-4391-80eb-f8af4aa0b3ea}");
const QUuid kGifFormat("{eca77e08-a447-4118-84f1-e1b68c07f882}");
const QUuid kPngFormat("{48f12119-ba75-4b4b-8469-d4db56f64c76}");

bool qtCanWrite(const char* format) {
  return QImageWriter::supportedImageFormats().contains(QByteArray(format));
}

std::vector<ImageEncoderInfo> buildEncoderList() {
  std::vector<ImageEncoderInfo> list;
  // BMP is built into Qt; JPEG is a plug-in and is listed only when present,
  // so a missing plug-in shows as a missing encoder. GIF and PNG are our own.
  if (qtCanWrite("bmp"))
    list.push_back(
        {kBmpEncoder, kBmpFormat, "Built-in BMP Codec", "BMP", "*.BMP;*.DIB;*.RLE", "image/bmp"});
  if (qtCanWrite("jpeg"))
    list.push_back({kJpegEncoder, kJpegFormat, "Built-in JPEG Codec", "JPEG",
                    "*.JPG;*.JPEG;*.JPE;*.JFIF", "image/jpeg"});
  list.push_back({kGifEncoder, kGifFormat, "Built-in GIF Codec", "GIF", "*.GIF", "image/gif"});
  list.push_back({kPngEncoder, kPngFormat, "Built-in PNG Codec", "PNG", "*.PNG", "image/png"});
  return list;
}

const ImageEncoderInfo* findEncoder(const QUuid& clsid) {
  for (const auto& e : imageEncoders())
    if (e.clsid == clsid) return &e;
  return nullptr;
}

// Writes the encoded picture into an open device.
ImageStatus encodeInto(const ImageEncoderInfo& encoder, const QImage& image, QIODevice& out,
                       std::optional<int> jpegQuality) {
  if (encoder.clsid == kGifEncoder) return writeGif(image, out);
  if (encoder.clsid == kPngEncoder) return writePng(image, out);
  if (encoder.clsid == kBmpEncoder) return writeBmp(image, out) ? ImageStatus::Ok : ImageStatus::GenericError;

  QImageWriter writer(&out, "jpeg");
  writer.setQuality(jpegQuality.value_or(75));
  // Huffman tables made for the picture: the same pixels in fewer bytes (a
  // smooth photo in a third less than with the standard tables).
  writer.setOptimizedWrite(true);
  return writer.write(image.convertToFormat(QImage::Format_RGB32)) ? ImageStatus::Ok : ImageStatus::GenericError;
}

ImageStatus openFailure(const QString& path) {
  qCInfo(lcSave) << "could not open" << path << "for writing";
  const QFileInfo info(path);
  if (!info.absoluteDir().exists()) return ImageStatus::FileNotFound;
  return ImageStatus::AccessDenied;
}

// QSaveFile writes "<path>.XXXXXX" beside the destination and renames it into
// place on commit; a cancelled save removes it and leaves the old destination.
// The write is unbuffered and the size checked: a short write (disk full, file
// size limit) must never be committed as a truncated picture.
ImageStatus writeAtomically(const QString& path, qint64 expected, const std::function<bool(QIODevice&)>& write) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return openFailure(path);
  keepPrivate(file, path);
  if (!write(file) || file.size() != expected) {
    qCInfo(lcSave) << "short write to" << path << ":" << file.errorString();
    file.cancelWriting();  // the temporary file goes when `file` does
    return ImageStatus::SystemError;
  }
  if (!file.commit()) {
    qCInfo(lcSave) << "could not write" << path << ":" << file.errorString();
    return ImageStatus::SystemError;
  }
  return ImageStatus::Ok;
}

// Gives an unnamed file (O_TMPFILE) its name. An existing destination is
// replaced in one step: the file takes a name of its own beside it first.
bool nameUnnamedFile(int fd, const QByteArray& target) {
  const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
  auto linkAs = [&](const QByteArray& name) {
    return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0;
  };
  if (linkAs(target)) return true;
  for (int attempt = 0; errno == EEXIST && attempt < 16; ++attempt) {
    const QByteArray beside = target + "." + QByteArray::number(QRandomGenerator::global()->generate(), 36);
    if (!linkAs(beside)) continue;
    if (::rename(beside.constData(), target.constData()) == 0) return true;
    ::unlink(beside.constData());
    return false;
  }
  return false;
}

// writeAtomically without waiting for the disk: the bytes go into an unnamed
// file of the destination's folder, which takes the name once they are all
// there, so a reader never sees part of the file and a failure leaves nothing.
// A file system without unnamed files gets writeAtomically itself.
ImageStatus writeUnsynced(const QString& path, qint64 expected, const std::function<bool(QIODevice&)>& write) {
  const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
  const int fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) return writeAtomically(path, expected, write);
    return openFailure(path);
  }
  QFile file;
  if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    return openFailure(path);
  }
  keepPrivate(file, path);
  if (!write(file) || file.size() != expected) {
    qCInfo(lcSave) << "short write to" << path << ":" << file.errorString();
    return ImageStatus::SystemError;  // the unnamed file goes with its descriptor
  }
  if (!nameUnnamedFile(fd, QFile::encodeName(path))) {
    qCInfo(lcSave) << "could not name" << path << ":" << std::strerror(errno);
    return ImageStatus::SystemError;
  }
  return ImageStatus::Ok;
}

}  // namespace

const std::vector<ImageEncoderInfo>& imageEncoders() {
  static const std::vector<ImageEncoderInfo> list = buildEncoderList();
  return list;
}

const ImageEncoderInfo* findEncoderByMime(const QString& mimeType) {
  for (const auto& e : imageEncoders())
    if (QString::compare(e.mimeType, mimeType, Qt::CaseInsensitive) == 0) return &e;
  return nullptr;
}

ImageStatus loadPicture(const QString& path, QImage& out) {
  out = QImage();
  const QFileInfo info(path);
  if (path.isEmpty() || !info.exists()) return ImageStatus::FileNotFound;
  if (!info.isFile() || !info.isReadable()) return ImageStatus::AccessDenied;
  QImageReader reader(path);
  reader.setDecideFormatFromContent(true);  // a capture's name need not match its kind
  out = reader.read();
  if (!out.isNull()) return ImageStatus::Ok;
  switch (reader.error()) {
    case QImageReader::UnsupportedFormatError:
    case QImageReader::InvalidDataError: return ImageStatus::UnknownImageFormat;
    case QImageReader::DeviceError: return ImageStatus::SystemError;
    case QImageReader::FileNotFoundError: return ImageStatus::FileNotFound;
    default: return ImageStatus::GenericError;
  }
}

ImageStatus savePicture(const QImage& image, const QString& path, const QUuid& clsid,
                        std::optional<int> jpegQuality) {
  const ImageEncoderInfo* encoder = findEncoder(clsid);
  if (image.isNull() || path.isEmpty() || !encoder) return ImageStatus::InvalidParameter;
  if (jpegQuality && (*jpegQuality < 0 || *jpegQuality > 100)) return ImageStatus::InvalidParameter;

  // A bitmap cannot fail to encode: its rows go straight into the file, and a
  // whole screen is not held a second time in memory.
  if (encoder->clsid == kBmpEncoder)
    return writeAtomically(path, bmpFileSize(image.width(), image.height()),
                           [&image](QIODevice& file) { return writeBmp(image, file); });

  // Encode in memory first, so an encoder failure and a write failure stay apart.
  QByteArray bytes;
  {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const ImageStatus status = encodeInto(*encoder, image, buffer, jpegQuality);
    if (status != ImageStatus::Ok) return status;
  }
  return writeAtomically(path, bytes.size(),
                         [&bytes](QIODevice& file) { return file.write(bytes) == bytes.size(); });
}

ImageStatus saveTemporaryBitmap(const QImage& image, const QString& path) {
  if (image.isNull() || path.isEmpty()) return ImageStatus::InvalidParameter;
  return writeUnsynced(path, bmpFileSize(image.width(), image.height()),
                       [&image](QIODevice& file) { return writeBmp(image, file); });
}

double picturePsnr(const QImage& a, const QImage& b) {
  if (a.size() != b.size() || a.isNull()) return 0.0;
  const QImage x = a.convertToFormat(QImage::Format_RGB32);
  const QImage y = b.convertToFormat(QImage::Format_RGB32);
  double sum = 0.0;
  for (int row = 0; row < x.height(); ++row) {
    const QRgb* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
    const QRgb* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
    for (int col = 0; col < x.width(); ++col) {
      const int dr = qRed(p[col]) - qRed(q[col]);
      const int dg = qGreen(p[col]) - qGreen(q[col]);
      const int db = qBlue(p[col]) - qBlue(q[col]);
      sum += dr * dr + dg * dg + db * db;
    }
  }
  if (sum == 0.0) return std::numeric_limits<double>::infinity();
  const double mse = sum / (3.0 * x.width() * x.height());
  return 10.0 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace platform
