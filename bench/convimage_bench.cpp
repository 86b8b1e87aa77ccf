// ConvImage of a 1920 x 1080 screenshot-like picture to each format: time,
// file size and (for the lossy ones) PSNR against the source; and the GIF
// quantisers side by side, which chose the default one.
//
//   convimage_bench                      run the benchmarks
//   convimage_bench --write-fixtures=DIR write desktop.bmp and dialog.bmp to DIR
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

namespace {

// A desktop: gradient wallpaper, windows with gradient title bars, anti-aliased
// text, buttons and a list. Many thousands of colours, like most real captures.
QImage desktopFixture() {
  QImage img(1920, 1080, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  QRadialGradient wall(QPointF(1400, 300), 1400);
  wall.setColorAt(0, QColor(70, 130, 180));
  wall.setColorAt(0.6, QColor(30, 50, 110));
  wall.setColorAt(1, QColor(10, 10, 40));
  p.fillRect(img.rect(), wall);

  struct Win {
    QRect r;
    QColor title;
    const char* caption;
  };
  const Win wins[] = {{{80, 60, 900, 640}, QColor(40, 90, 160), "Report - Editor"},
                      {{700, 300, 760, 520}, QColor(150, 60, 40), "Settings"},
                      {{1300, 120, 540, 860}, QColor(50, 120, 60), "Files"}};
  QFont font("DejaVu Sans", 10);
  p.setFont(font);
  for (const Win& w : wins) {
    p.fillRect(w.r.adjusted(6, 6, 6, 6), QColor(0, 0, 0, 90));  // shadow
    p.fillRect(w.r, QColor(240, 240, 238));
    QLinearGradient bar(w.r.topLeft(), w.r.topRight());
    bar.setColorAt(0, w.title);
    bar.setColorAt(1, w.title.lighter(160));
    p.fillRect(QRect(w.r.left(), w.r.top(), w.r.width(), 28), bar);
    p.setPen(Qt::white);
    p.drawText(w.r.left() + 10, w.r.top() + 19, w.caption);
    p.setPen(QColor(30, 30, 30));
    for (int line = 0; line * 18 + 60 < w.r.height() - 60; ++line)
      p.drawText(
          w.r.left() + 16, w.r.top() + 56 + line * 18,
          QString("Line %1: the quick brown fox jumps over the lazy dog 0123456789").arg(line + 1));
    for (int b = 0; b < 3; ++b) {
      const QRect button(w.r.right() - 110 * (b + 1), w.r.bottom() - 44, 96, 30);
      p.setPen(QColor(120, 120, 120));
      p.setBrush(QColor(225, 225, 225));
      p.drawRoundedRect(button, 4, 4);
      p.setPen(QColor(20, 20, 20));
      p.drawText(button, Qt::AlignCenter, b == 0 ? "Cancel" : b == 1 ? "OK" : "Apply");
    }
  }
  return img;
}

// A dialog without anti-aliasing: flat colours, at most a few dozen of them,
// the case where the GIF keeps every colour exactly.
QImage dialogFixture() {
  QImage img(1920, 1080, QImage::Format_RGB32);
  img.fill(QColor(0, 100, 160));
  QPainter p(&img);
  QFont font("DejaVu Sans", 10);
  font.setStyleStrategy(QFont::NoAntialias);
  p.setFont(font);
  for (int i = 0; i < 6; ++i) {
    const QRect r(60 + i * 300, 80 + i * 120, 520, 420);
    p.fillRect(r, QColor(212, 208, 200));
    p.fillRect(QRect(r.left(), r.top(), r.width(), 24), QColor(10, 36, 106));
    p.setPen(Qt::white);
    p.drawText(r.left() + 8, r.top() + 17, QString("Dialog %1").arg(i + 1));
    p.setPen(Qt::black);
    for (int line = 0; line < 18; ++line)
      p.drawText(r.left() + 12, r.top() + 50 + line * 18,
                 "Option text, plain and crisp 0123456789");
  }
  return img;
}

// A photo-like area: smooth colourful waves, the hardest case for a palette.
QImage photoFixture() {
  QImage img(1920, 1080, QImage::Format_RGB32);
  for (int y = 0; y < img.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      const double u = x / 240.0, v = y / 180.0;
      const auto wave = [](double t) { return static_cast<int>(127.5 + 127.5 * std::sin(t)); };
      line[x] = qRgb(wave(u + std::sin(v)), wave(v * 1.3 + std::cos(u * 0.7)),
                     wave(u * 0.6 + v * 0.8 + 2));
    }
  }
  return img;
}

struct Fixture {
  QTemporaryDir dir;
  QString desktop, dialog;
  QImage desktopImage, dialogImage, photoImage;
  Fixture() {
    photoImage = photoFixture();
    desktopImage = desktopFixture();
    dialogImage = dialogFixture();
    desktop = dir.filePath("desktop.bmp");
    dialog = dir.filePath("dialog.bmp");
    desktopImage.save(desktop, "BMP");
    dialogImage.save(dialog, "BMP");
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void BM_ConvImage(benchmark::State& state, int format, bool dialog) {
  Fixture& f = fixture();
  const QString src = dialog ? f.dialog : f.desktop;
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
    const double psnr = platform::picturePsnr(dialog ? f.dialogImage : f.desktopImage, back);
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
  for (const bool dialog : {false, true})
    for (const auto& [name, format] : formats)
      benchmark::RegisterBenchmark(
          (std::string("BM_ConvImage/") + (dialog ? "dialog_" : "desktop_") + name).c_str(),
          BM_ConvImage, format, dialog)
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
                      dialogFixture().save(dir + "/dialog.bmp", "BMP");
      return ok ? 0 : 1;
    }
  }
  registerBenchmarks();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
