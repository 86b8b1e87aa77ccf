// ConvImage of a 1920 x 1080 screenshot-like picture to each format: time,
// file size and (for the lossy ones) PSNR against the source; and the GIF
// quantisers side by side, which chose the default one.
//
//   convimage_bench                      run the benchmarks
//   convimage_bench --write-fixtures=DIR write desktop, dialog, photo and
//                                        terminal .bmp to DIR
//   convimage_bench --psnr A B            print the PSNR of picture B against A
//   convimage_bench --convert SRC DEST N  ConvImage(SRC, DEST, N, 70)
//                                         (both for bench/convimage_compare.sh)
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "platform/GifWriter.h"
#include "platform/Imaging.h"
#include "velistrom/helpers/Conversion.h"
#include "bench/Fixtures.h"

namespace {

using benchfix::desktopFixture;
using benchfix::dialogFixture;
using benchfix::photoFixture;

// The four fixtures, in memory and as BMP files (ConvImage's input).
constexpr const char* kFixtureNames[] = {"desktop", "dialog", "photo", "terminal"};

struct Fixture {
  QTemporaryDir dir;
  QImage images[4];
  QString files[4];
  QImage& desktopImage = images[0];
  QImage& photoImage = images[2];
  Fixture() {
    images[0] = desktopFixture();
    images[1] = dialogFixture();
    images[2] = photoFixture();
    images[3] = benchfix::terminalFixture();
    for (int i = 0; i < 4; ++i) {
      files[i] = dir.filePath(QString(kFixtureNames[i]) + ".bmp");
      images[i].save(files[i], "BMP");
    }
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void BM_ConvImage(benchmark::State& state, int format, int which) {
  Fixture& f = fixture();
  const QString src = f.files[which];
  const QString dest = f.dir.filePath("out");
  for (auto _ : state) {
    if (!Conversion::ConvImage(src, dest, format, 70)) {
      state.SkipWithError("conversion failed");
      return;
    }
  }
  state.counters["bytes"] = static_cast<double>(QFile(dest).size());
  if (format == Conversion::FormatJpeg || format == Conversion::FormatGif) {
    QImage back;
    platform::loadPicture(dest, back);
    const double psnr = platform::picturePsnr(f.images[which], back);
    state.counters["psnr_dB"] = std::isinf(psnr) ? 99.0 : psnr;  // 99: identical
  }
}

void BM_GifQuantiser(benchmark::State& state, platform::GifQuantiser q, bool photo) {
  const QImage& src = photo ? fixture().photoImage : fixture().desktopImage;
  platform::IndexedPicture indexed;
  for (auto _ : state) indexed = platform::quantisePicture(src, q);
  QByteArray bytes;
  QBuffer buf(&bytes);
  buf.open(QIODevice::WriteOnly);
  platform::encodeGif(indexed, buf);
  state.counters["bytes"] = bytes.size();
  state.counters["psnr_dB"] = platform::picturePsnr(src, platform::indexedToImage(indexed));
  state.counters["colours"] = static_cast<double>(indexed.palette.size());
}

void registerBenchmarks() {
  const std::pair<const char*, int> formats[] = {{"bmp", Conversion::FormatBmp},
                                                 {"jpeg70", Conversion::FormatJpeg},
                                                 {"gif", Conversion::FormatGif},
                                                 {"png", Conversion::FormatPng}};
  for (int which = 0; which < 4; ++which)
    for (const auto& [name, format] : formats)
      benchmark::RegisterBenchmark(
          (std::string("BM_ConvImage/") + kFixtureNames[which] + "_" + name).c_str(),
          BM_ConvImage, format, which)
          ->Unit(benchmark::kMillisecond);

  using Q = platform::GifQuantiser;
  const std::pair<const char*, Q> quantisers[] = {{"imagequant_fast", Q::ImageQuant},
                                                  {"imagequant_slow", Q::ImageQuantSlow},
                                                  {"imagequant_dithered", Q::ImageQuantDithered},
                                                  {"giflib_mediancut", Q::Giflib}};
  for (const bool photo : {false, true})
    for (const auto& [name, q] : quantisers)
      benchmark::RegisterBenchmark(
          (std::string("BM_GifQuantiser/") + (photo ? "photo_" : "desktop_") + name).c_str(),
          BM_GifQuantiser, q, photo)
          ->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("VELISTROM_MSGBOX_LOG", "/dev/null");  // a failed conversion must not block
  QGuiApplication app(argc, argv);
  if (argc == 4 && std::strcmp(argv[1], "--psnr") == 0) {
    QImage a, b;
    if (platform::loadPicture(QString::fromLocal8Bit(argv[2]), a) != platform::ImageStatus::Ok ||
        platform::loadPicture(QString::fromLocal8Bit(argv[3]), b) != platform::ImageStatus::Ok)
      return 1;
    const double psnr = platform::picturePsnr(a, b);
    std::printf("%.2f\n", std::isinf(psnr) ? 99.0 : psnr);
    return 0;
  }
  if (argc == 5 && std::strcmp(argv[1], "--convert") == 0)
    return Conversion::ConvImage(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                                 std::atoi(argv[4]), 70)
               ? 0
               : 1;
  for (int i = 1; i < argc; ++i) {
    const char* opt = "--write-fixtures=";
    if (std::strncmp(argv[i], opt, std::strlen(opt)) == 0) {
      const QString dir = QString::fromLocal8Bit(argv[i] + std::strlen(opt));
      QDir().mkpath(dir);
      const bool ok = desktopFixture().save(dir + "/desktop.bmp", "BMP") &&
                      dialogFixture().save(dir + "/dialog.bmp", "BMP") &&
                      photoFixture().save(dir + "/photo.bmp", "BMP") &&
                      benchfix::terminalFixture().save(dir + "/terminal.bmp", "BMP");
      return ok ? 0 : 1;
    }
  }
  registerBenchmarks();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
