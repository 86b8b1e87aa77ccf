#include "velistrom/helpers/Conversion.h"

#include <QImage>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <thread>

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

namespace {

// The conversion itself, without a word to the user: safe on any thread.
platform::ImageStatus Convertir(const QString& source, const QString& destination, int format,
                                int quality) {
  QImage image;
  platform::ImageStatus status = platform::loadPicture(source, image);
  if (status != platform::ImageStatus::Ok) return status;
  // A format number outside 1 to 4 names no encoder: refused, never saved
  // with whatever encoder an earlier call used.
  QUuid clsid;
  if (ClsidEncodeur(TypeMime(format), clsid) < 0) return platform::ImageStatus::InvalidParameter;
  const auto jpegQuality =
      format == FormatJpeg ? std::optional<int>(QualiteJpeg(quality)) : std::nullopt;
  return platform::savePicture(image, destination, clsid, jpegQuality);
}

}  // namespace

bool ConvImage(const QString& source, const QString& destination, int format, int quality) {
  const platform::ImageStatus status = Convertir(source, destination, format, quality);
  if (status == platform::ImageStatus::Ok) return true;
  MontrerEchec(source, status);
  return false;
}

std::vector<bool> ConvImages(const std::vector<std::pair<QString, QString>>& pairs, int format,
                             int quality) {
  std::vector<platform::ImageStatus> statuses(pairs.size(), platform::ImageStatus::GenericError);
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t i = next++; i < pairs.size(); i = next++)
      statuses[i] = Convertir(pairs[i].first, pairs[i].second, format, quality);
  };
  const size_t n = std::min<size_t>(pairs.size(), size_t(std::max(1, QThread::idealThreadCount())));
  std::vector<std::thread> threads;
  for (size_t t = 1; t < n; ++t) threads.emplace_back(work);
  work();
  for (std::thread& t : threads) t.join();

  std::vector<bool> written;
  for (size_t i = 0; i < pairs.size(); ++i) {
    written.push_back(statuses[i] == platform::ImageStatus::Ok);
    if (!written.back()) MontrerEchec(pairs[i].first, statuses[i]);
  }
  return written;
}

}  // namespace Conversion
