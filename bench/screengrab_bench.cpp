// Whole-screen grab of the X root window: shared memory against plain
// XGetImage. Runs on whatever $DISPLAY is; the label gives the screen size.
// Start an Xvfb of the size wanted, e.g. Xvfb :45 -screen 0 3840x2160x24.
#include "platform/ScreenGrab.h"
#include "platform/X11Display.h"

#include <benchmark/benchmark.h>

#include <QString>

namespace {

void grab(benchmark::State& state, platform::GrabMethod method) {
  if (!platform::x11Display()) {
    state.SkipWithError("no X display ($DISPLAY)");
    return;
  }
  if (method == platform::GrabMethod::Shm && !platform::shmAvailable()) {
    state.SkipWithError("no MIT-SHM on this server");
    return;
  }
  const QRect root = platform::rootRect();
  for (auto _ : state) {
    QImage img = platform::grabScreen(root, method);
    benchmark::DoNotOptimize(img.constBits());
  }
  state.SetLabel(QString("%1x%2").arg(root.width()).arg(root.height()).toStdString());
  state.SetBytesProcessed(int64_t(state.iterations()) * root.width() * root.height() * 4);
}

void BM_WholeScreen_Shm(benchmark::State& state) { grab(state, platform::GrabMethod::Shm); }
void BM_WholeScreen_GetImage(benchmark::State& state) { grab(state, platform::GrabMethod::GetImage); }

// A region the size the overlay's default selection has (420x260).
void BM_Region420x260_Shm(benchmark::State& state) {
  if (!platform::x11Display()) return state.SkipWithError("no X display ($DISPLAY)");
  for (auto _ : state) benchmark::DoNotOptimize(platform::grabScreen(QRect(100, 100, 420, 260), platform::GrabMethod::Shm).constBits());
}
void BM_Region420x260_GetImage(benchmark::State& state) {
  if (!platform::x11Display()) return state.SkipWithError("no X display ($DISPLAY)");
  for (auto _ : state) benchmark::DoNotOptimize(platform::grabScreen(QRect(100, 100, 420, 260), platform::GrabMethod::GetImage).constBits());
}

}  // namespace

BENCHMARK(BM_WholeScreen_Shm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeScreen_GetImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Region420x260_Shm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Region420x260_GetImage)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
