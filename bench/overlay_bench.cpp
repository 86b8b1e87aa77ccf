// The selection overlay: from InitFull(0) to a ready overlay picture (grab, the
// undimmed copy, the dimmed two-screen view), with the real grab and with a
// prepared one, and the hand-over of a whole-screen selection (the cut, the
// frozen screen kept for the main window). Run on an Xvfb of the size to
// measure:
//
//   Xvfb :53 -screen 0 1920x1080x24 -nolisten tcp & DISPLAY=:53 openbox &
//   DISPLAY=:53 build/bench/overlay_bench --benchmark_repetitions=5
#include "platform/forms/Controls.h"
#include "velistrom/core/Bureau.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/overlay/FrmFull.h"
#include "velistrom/mainwin/Branchements.h"
#include "velistrom/overlay/Remise.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

// A main window that takes the hand-over and does nothing with it.
class QuietMain : public overlay::MainSide {
 public:
  QImage pictReserv() override { return reserv; }
  void setPictReserv(const QImage& frozen) override { reserv = frozen; }
  void overlayKey() override {}
  void setPicture2(const QImage&) override {}
  void CopiePP(const QString&) override {}
  void showCut() override {}
  void GestVignettes(vb::PictureBox& p) override { benchmark::DoNotOptimize(p.Image().constBits()); }
  bool severalInARow() override { return false; }
  void showThumbsForSeries() override {}
  void hideThumbs() override {}
  void backToMain(double) override {}
  void thumbsColourKey(bool) override {}
  void startZoom() override {}
  void escapeToMain() override {}
  QImage reserv;
};
QuietMain quiet;

void setUp() {
  overlay::setMainSide(&quiet);
  core::resetBureau();
  core::bureau().monitorCount = [] { return 1; };
  gRectAjust = 1;
  gParClavier = false;
}

QString screenLabel() {
  return QString("%1x%2").arg(vb::twipsToPixels(vb::Screen.Width())).arg(vb::twipsToPixels(vb::Screen.Height()));
}

void BM_InitFull_RealGrab(benchmark::State& state) {
  setUp();
  FrmFull& f = frmFull();
  for (auto _ : state) {
    const bool ok = f.InitFull(0);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(f.Picture1.Image().constBits());
  }
  state.SetLabel(screenLabel().toStdString());
}
BENCHMARK(BM_InitFull_RealGrab)->Unit(benchmark::kMillisecond);

// The opening as the main window makes it: InitFull, Show, and the events that
// follow (the first paint of the two-screen-high window); the hiding untimed.
void BM_InitFull_Shown(benchmark::State& state) {
  setUp();
  FrmFull& f = frmFull();
  for (auto _ : state) {
    const bool ok = f.InitFull(0);
    f.Show(vb::vbModeless);
    QApplication::processEvents();
    benchmark::DoNotOptimize(ok);
    state.PauseTiming();
    f.Hide();
    QApplication::processEvents();
    state.ResumeTiming();
  }
  state.SetLabel(screenLabel().toStdString());
}
BENCHMARK(BM_InitFull_Shown)->Unit(benchmark::kMillisecond);

// The same without the X round trip: what the overlay itself adds to a grab.
void BM_InitFull_PreparedGrab(benchmark::State& state) {
  setUp();
  const QImage prepared = core::bureau().grab(QRect(0, 0, vb::twipsToPixels(vb::Screen.Width()),
                                                                vb::twipsToPixels(vb::Screen.Height())));
  core::bureau().grab = [&prepared](const QRect&) { return prepared; };
  FrmFull& f = frmFull();
  for (auto _ : state) {
    const bool ok = f.InitFull(0);
    benchmark::DoNotOptimize(ok);
  }
  state.SetLabel(screenLabel().toStdString());
}
BENCHMARK(BM_InitFull_PreparedGrab)->Unit(benchmark::kMillisecond);

// As after a validation, when the main window still holds the last frozen screen:
// the view cannot be written over and is made afresh.
void BM_InitFull_PreparedGrabFreshBuffers(benchmark::State& state) {
  setUp();
  const QImage prepared = core::bureau().grab(QRect(0, 0, vb::twipsToPixels(vb::Screen.Width()),
                                                                vb::twipsToPixels(vb::Screen.Height())));
  core::bureau().grab = [&prepared](const QRect&) { return prepared; };
  FrmFull& f = frmFull();
  QImage keptView, keptUndimmed;
  for (auto _ : state) {
    state.PauseTiming();
    keptView = f.Picture1.Image();
    keptUndimmed = f.PictPourSel;
    state.ResumeTiming();
    const bool ok = f.InitFull(0);
    benchmark::DoNotOptimize(ok);
  }
  state.SetLabel(screenLabel().toStdString());
}
BENCHMARK(BM_InitFull_PreparedGrabFreshBuffers)->Unit(benchmark::kMillisecond);

// The dimming alone over the two-screen-high view.
void BM_DimTwoScreens(benchmark::State& state) {
  const int w = vb::twipsToPixels(vb::Screen.Width()), h = vb::twipsToPixels(vb::Screen.Height());
  QImage img(w, 2 * h, QImage::Format_RGB32);
  img.fill(0x336699);
  for (auto _ : state) {
    overlay::dimRows(img, 0, img.height());
    benchmark::DoNotOptimize(img.constBits());
  }
  state.SetLabel(screenLabel().toStdString());
}
BENCHMARK(BM_DimTwoScreens)->Unit(benchmark::kMillisecond);

// Enter on a selection as large as the screen: the cut, the frozen screen for
// the main window, the hand-over.
void BM_HandOverFullScreen(benchmark::State& state) {
  setUp();
  FrmFull& f = frmFull();
  if (!f.InitFull(0)) {
    state.SkipWithError("no overlay");
    return;
  }
  auto& g = f.geometry();
  for (auto _ : state) {
    state.PauseTiming();
    g.rectsel().setLeft(-15);
    g.rectsel().setTop(-15);
    (void)g.rectsel().setWidth(vb::Screen.Width());
    (void)g.rectsel().setHeight(vb::Screen.Height());
    state.ResumeTiming();
    f.ValidSel(f.rectsel);
  }
  state.SetLabel(screenLabel().toStdString());
}
BENCHMARK(BM_HandOverFullScreen)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  if (qgetenv("DISPLAY").isEmpty() && qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  mainwin::BrancherRemise();
    overlay::setMainSide(nullptr);
  vb::EndForms();
  return 0;
}
