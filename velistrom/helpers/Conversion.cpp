#include "velistrom/helpers/Conversion.h"

#include <QImage>

#include "platform/Imaging.h"
#include "platform/forms/MsgBox.h"
#include "velistrom/core/GlobTextes.h"

namespace Conversion {
namespace {

void MontrerEchec(const QString& source, platform::ImageStatus status) {
  vb::MsgBox(gLng190 + '\r' + source + " !" + '\r' +
                 "Status Code= " + QString::number(platform::statusCode(status)),
             vb::vbCritical);
}

}  // namespace

int QualiteJpeg(int quality) { return quality >= 0 && quality <= 100 ? quality : 75; }

QString TypeMime(int format) {
  switch (format) {
    case FormatBmp: return QStringLiteral("image/bmp");
    case FormatJpeg: return QStringLiteral("image/jpeg");
    case FormatGif: return QStringLiteral("image/gif");
    case FormatPng: return QStringLiteral("image/png");
    default: return QString();
  }
}

int ClsidEncodeur(const QString& mimeType, QUuid& clsid) {
  const auto& encoders = platform::imageEncoders();
  for (size_t i = 0; i < encoders.size(); ++i) {
    if (QString::compare(mimeType, encoders[i].mimeType, Qt::CaseInsensitive) == 0) {
      clsid = encoders[i].clsid;
      return static_cast<int>(i) + 1;
    }
  }
  return -1;
}

bool ConvImage(const QString& source, const QString& destination, int format, int quality) {
  QImage image;
  platform::ImageStatus status = platform::loadPicture(source, image);
  if (status == platform::ImageStatus::Ok) {
    // A format number outside 1 to 4 names no encoder: refused, never saved
    // with whatever encoder an earlier call used.
    QUuid clsid;
    if (ClsidEncodeur(TypeMime(format), clsid) < 0) {
      status = platform::ImageStatus::InvalidParameter;
    } else {
      const auto jpegQuality =
          format == FormatJpeg ? std::optional<int>(QualiteJpeg(quality)) : std::nullopt;
      status = platform::savePicture(image, destination, clsid, jpegQuality);
    }
  }
  if (status == platform::ImageStatus::Ok) return true;
  MontrerEchec(source, status);
  return false;
}

}  // namespace Conversion
