#pragma once
// Small pictures of known pixels for the imaging and conversion tests.
#include <sys/resource.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <csignal>
#include <cstdint>
#include <cstdlib>

namespace fixtures {

// 7 x 5 (an odd width, so BMP rows need padding), six colours including black
// and white, each pixel computed from its position.
inline QImage knownPixels() {
  static const QRgb colours[] = {0xff000000, 0xffffffff, 0xffff0000,
                                 0xff00ff00, 0xff0000ff, 0xff808040};
  QImage img(7, 5, QImage::Format_RGB32);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, colours[(x * 3 + y * 5) % 6]);
  return img;
}

// Flat blocks of colour that JPEG keeps close to their values.
inline QImage colourBlocks() {
  QImage img(64, 32, QImage::Format_RGB32);
  QPainter p(&img);
  p.fillRect(0, 0, 32, 16, QColor(200, 30, 30));
  p.fillRect(32, 0, 32, 16, QColor(30, 200, 30));
  p.fillRect(0, 16, 32, 16, QColor(30, 30, 200));
  p.fillRect(32, 16, 32, 16, QColor(240, 240, 240));
  return img;
}

// A smooth gradient of many thousands of colours.
inline QImage gradient(int width = 256, int height = 128) {
  QImage img(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      img.setPixel(x, y,
                   qRgb(x * 255 / (width - 1), y * 255 / (height - 1),
                        (x + y) * 255 / (width + height - 2)));
  return img;
}

// Exactly `count` distinct colours (count <= 4096), one per pixel in a row-major run.
inline QImage distinctColours(int count) {
  QImage img(64, (count + 63) / 64, QImage::Format_RGB32);
  img.fill(qRgb(0, 0, 0));  // colour 0 is black
  for (int i = 0; i < count; ++i)
    img.setPixel(i % 64, i / 64, qRgb((i % 16) * 16, (i / 16 % 16) * 16, (i / 256) * 16));
  return img;
}

// Noise from a fixed seed: incompressible, so every format writes a large file.
inline QImage noise(int width = 128, int height = 128) {
  QImage img(width, height, QImage::Format_RGB32);
  std::uint32_t state = 12345;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      state = state * 1664525u + 1013904223u;
      img.setPixel(x, y, 0xff000000u | (state >> 8));
    }
  return img;
}

// While alive, this process cannot grow a file beyond `bytes` (writes fail with
// EFBIG, also for root, unlike a read-only folder).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};

// Largest difference of one channel between two pictures of the same size.
inline int maxChannelDifference(const QImage& a, const QImage& b) {
  const QImage x = a.convertToFormat(QImage::Format_RGB32);
  const QImage y = b.convertToFormat(QImage::Format_RGB32);
  int worst = 0;
  for (int r = 0; r < x.height(); ++r)
    for (int c = 0; c < x.width(); ++c) {
      const QRgb p = x.pixel(c, r), q = y.pixel(c, r);
      worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                        std::abs(qBlue(p) - qBlue(q))});
    }
  return worst;
}

}  // namespace fixtures
