// The GIF maker on 50 screen captures of 1920 x 1080: each capture converted
// to a single-frame GIF by ConvImage, then the frames re-packed into one
// animated GIF.
//
//   gifanime_bench                      re-packing alone (Google Benchmark)
//   gifanime_bench --write-frames=DIR   write frame00.bmp ... frame49.bmp to DIR
//   gifanime_bench --assemble DIR OUT   ConvImages of every DIR/frameNN.bmp to
//                                       DIR/frameNN.gif, then the animated GIF
//                                       OUT; prints "conversion_ms repack_ms bytes"
//                                       (for bench/gifanime_compare.sh)
#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

#include "bench/Fixtures.h"
#include "velistrom/gifmaker/GifAnime.h"
#include "velistrom/helpers/Conversion.h"

namespace {

constexpr int kFrames = 50;

QString frameName(const QString& dir, int k, const char* ext) {
  return QString("%1/frame%2.%3").arg(dir).arg(k, 2, 10, QChar('0')).arg(ext);
}

// A desktop over which a small window travels and a counter changes, as in a
// recording of someone at work: every frame differs from the one before.
bool writeFrames(const QString& dir) {
  QDir().mkpath(dir);
  const QImage desktop = benchfix::desktopFixture();
  for (int k = 0; k < kFrames; ++k) {
    QImage frame = desktop.copy();
    QPainter p(&frame);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect win(200 + k * 24, 640 - k * 6, 420, 260);
    p.fillRect(win.adjusted(5, 5, 5, 5), QColor(0, 0, 0, 90));
    p.fillRect(win, QColor(248, 248, 246));
    QLinearGradient bar(win.topLeft(), win.topRight());
    bar.setColorAt(0, QColor(120, 40, 130));
    bar.setColorAt(1, QColor(200, 120, 210));
    p.fillRect(QRect(win.left(), win.top(), win.width(), 28), bar);
    p.setPen(Qt::white);
    p.setFont(QFont("DejaVu Sans", 10));
    p.drawText(win.left() + 10, win.top() + 19, QString("Progress - step %1").arg(k + 1));
    p.setPen(QColor(30, 30, 30));
    p.setFont(QFont("DejaVu Sans", 28, QFont::Bold));
    p.drawText(win.adjusted(0, 28, 0, 0), Qt::AlignCenter, QString("%1 %").arg(k * 2));
    p.end();
    if (!frame.save(frameName(dir, k, "bmp"), "BMP")) return false;
  }
  return true;
}

int assemble(const QString& dir, const QString& out) {
  QElapsedTimer t;
  t.start();
  QStringList gifs;
  std::vector<std::pair<QString, QString>> conversions;
  for (int k = 0; k < kFrames; ++k) {
    gifs << frameName(dir, k, "gif");
    conversions.emplace_back(frameName(dir, k, "bmp"), gifs.back());
  }
  for (bool written : Conversion::ConvImages(conversions, Conversion::FormatGif, 0))
    if (!written) return 1;
  const qint64 conversion = t.restart();
  const gifmaker::ResultatCreation r = gifmaker::CreeGifAnime(gifs, 40, true, false, out);
  const qint64 repack = t.elapsed();
  if (r.etat != gifmaker::ResultatCreation::Ok) return 1;
  std::printf("%lld %lld %lld\n", static_cast<long long>(conversion), static_cast<long long>(repack),
              static_cast<long long>(QFileInfo(out).size()));
  return 0;
}

struct Frames {
  QTemporaryDir dir;
  QStringList gifs;
  std::vector<QByteArray> bytes;
  Frames() {
    writeFrames(dir.path());
    for (int k = 0; k < kFrames; ++k) {
      gifs << frameName(dir.path(), k, "gif");
      Conversion::ConvImage(frameName(dir.path(), k, "bmp"), gifs.back(), Conversion::FormatGif, 0);
      QFile f(gifs.back());
      f.open(QIODevice::ReadOnly);
      bytes.push_back(f.readAll());
    }
  }
};

Frames& frames() {
  static Frames f;
  return f;
}

// Re-packing in memory: header blocks read, data copied.
void BM_RepackInMemory(benchmark::State& state) {
  const Frames& f = frames();
  for (auto _ : state) {
    std::vector<gifmaker::TrameGif> trames(f.bytes.size());
    for (size_t k = 0; k < f.bytes.size(); ++k) gifmaker::RepackGif(f.bytes[k], 40, trames[k]);
    benchmark::DoNotOptimize(gifmaker::AssembleGif(trames, true, false));
  }
}
BENCHMARK(BM_RepackInMemory)->Unit(benchmark::kMillisecond);

// The whole creation from the 50 frame files to the animated file.
void BM_CreeGifAnime(benchmark::State& state) {
  const Frames& f = frames();
  const QString out = f.dir.filePath("animgif.gif");
  for (auto _ : state) gifmaker::CreeGifAnime(f.gifs, 40, true, state.range(0) != 0, out);
  state.counters["bytes"] = double(QFileInfo(out).size());
}
BENCHMARK(BM_CreeGifAnime)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("VELISTROM_MSGBOX_LOG", "/dev/null");  // a failed conversion must not block
  QGuiApplication app(argc, argv);
  const char* opt = "--write-frames=";
  if (argc == 2 && std::strncmp(argv[1], opt, std::strlen(opt)) == 0)
    return writeFrames(QString::fromLocal8Bit(argv[1] + std::strlen(opt))) ? 0 : 1;
  if (argc == 4 && std::strcmp(argv[1], "--assemble") == 0)
    return assemble(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
