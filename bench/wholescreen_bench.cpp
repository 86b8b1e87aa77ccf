// The whole-screen capture path of the main window, without its 0.3 s wait
// for the windows to vanish: grab of the root window, the pointer drawn in,
// and the addition to the capture list (thumbnail row and temporary bitmap),
// and that addition step by step.
// Runs on whatever $DISPLAY is; the label gives the screen size. Start an Xvfb
// of the size wanted, e.g. Xvfb :55 -screen 0 3840x2160x24, with openbox.
#include "platform/Imaging.h"
#include "platform/Pointer.h"
#include "platform/X11Display.h"
#include "platform/forms/Forms.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/mainwin/Commandes.h"
#include "velistrom/mainwin/Flistimages.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/mainwin/Vignettes.h"
#include "velistrom/mainwin/frmMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace {

std::unique_ptr<FrmMain> gMain;
std::unique_ptr<QTemporaryDir> gDossier;

QString taille(const QRect& r) { return QString("%1x%2").arg(r.width()).arg(r.height()); }

bool pret(benchmark::State& state) {
  if (!platform::x11Display()) {
    state.SkipWithError("no X display ($DISPLAY)");
    return false;
  }
  return true;
}

// An empty list again (files, rows and arrays), outside the timing.
void viderListe() {
  QDir(gRepCapt).removeRecursively();
  QDir().mkpath(gRepCapt);
  flistimages.destroyNow();
  capt::resetList();
}

void preparer() {
  gDossier = std::make_unique<QTemporaryDir>();
  gRepCapt = gDossier->path() + "/tempocapt";
  QDir().mkpath(gRepCapt);
  gLng105 = "Standby";
  gMain = std::make_unique<FrmMain>();
  for (vb::Timer* t : {&gMain->Timbouton, &gMain->Timderoul, &gMain->Timlabdeb, &gMain->Timerclav,
                       &gMain->TimCurs, &gMain->TimPeriod, &gMain->TimerLngPerio, &gMain->TimZoom,
                       &gMain->Timdeja, &gMain->TimPaint, &gMain->TimerUnload, &gMain->Timsplash})
    t->setEnabled(false);
  gMain->HeureSess = "1030450";
  gMain->mnuveille.setCaption(gLng105);
  gMain->Picture1.setBorderStyle(0);
  for (int i = 1; i <= 19; ++i)
    if (!gMain->bouton.exists(i)) gMain->bouton.Load(i);
}

// The grab alone.
void BM_Grab(benchmark::State& state) {
  if (!pret(state)) return;
  QRect zone;
  for (auto _ : state) {
    mainwin::Prise p = mainwin::Prendre(false, true, platform::kNoPointer, QPoint());
    zone = p.zone;
    benchmark::DoNotOptimize(p.image.constBits());
  }
  state.SetLabel(taille(zone).toStdString());
}

// The grab with the pointer drawn in at the middle of the screen.
void BM_GrabAndPointer(benchmark::State& state) {
  if (!pret(state)) return;
  const quint32 h = platform::pointerHandle();
  if (h == platform::kNoPointer) return state.SkipWithError("no visible pointer (XFixes)");
  QRect zone;
  for (auto _ : state) {
    mainwin::Prise p = mainwin::Prendre(false, true, h, QPoint(400, 300));
    zone = p.zone;
    benchmark::DoNotOptimize(p.image.constBits());
  }
  state.SetLabel(taille(zone).toStdString());
}

// Picture1 holding a grab, as a capture leaves it.
void dansPicture1(const QImage& image) {
  gMain->Picture1.setWidth(image.width() * 15);
  gMain->Picture1.setHeight(image.height() * 15);
  gMain->Picture1.setPicture(image);
}

// Picture1 joins the list again and again; the list is emptied every 150
// outside the timing.
void ajouterPicture1(benchmark::State& state) {
  viderListe();
  const double larg = gMain->Picture1.Width();
  for (auto _ : state) {
    if (gNbCapt >= 150) {
      state.PauseTiming();
      viderListe();
      state.ResumeTiming();
    }
    gModeCapt = "e";
    gLargImg = larg;
    gMain->GestVignettes(gMain->Picture1);
  }
  viderListe();
}

// One capture joins the list: thumbnail and enlarged copy, temporary bitmap.
void BM_AddToList(benchmark::State& state) {
  if (!pret(state)) return;
  const mainwin::Prise p = mainwin::Prendre(false, true, platform::kNoPointer, QPoint());
  dansPicture1(p.image);
  ajouterPicture1(state);
  state.SetLabel(taille(p.zone).toStdString());
}

// The steps of the list's addition, one by one, on a real grab: the temporary
// bitmap, the two halftone copies (and, for comparison, Qt's smooth scale
// that made them before), and everything else (rows, window, events) with a
// capture too small for its pixels to count.
mainwin::Prise grabOnce() {
  mainwin::Prise p = mainwin::Prendre(false, true, platform::kNoPointer, QPoint());
  dansPicture1(p.image);
  return p;
}

void BM_ListStep_Bitmap(benchmark::State& state) {
  if (!pret(state)) return;
  const mainwin::Prise p = grabOnce();
  viderListe();
  int n = 0;
  for (auto _ : state) {
    if (++n % 150 == 0) {
      state.PauseTiming();
      viderListe();
      state.ResumeTiming();
    }
    const QString chemin = gRepCapt + "/Captprov_" + QString::number(n) + ".bmp";
    if (platform::saveTemporaryBitmap(gMain->Picture1.Image(), chemin) != platform::ImageStatus::Ok)
      return state.SkipWithError("bitmap not written");
  }
  viderListe();
  state.SetLabel(taille(p.zone).toStdString());
}

// The thumbnail and enlarged sizes a row of this grab gets.
std::vector<QSize> taillesRangee(const QRect& zone) {
  Flistimages& fl = flistimages();
  const vign::Aspect a = vign::RegleAspect(zone.width() * 15.0, zone.height() * 15.0, fl.Image1[0].Width(),
                                           fl.Image1[0].Height(), fl.Gimage1[0].Width(), fl.Gimage1[0].Height());
  const int w = vb::twipsToPixels(a.largVign), h = vb::twipsToPixels(a.hautVign);
  return {QSize(w, h), QSize(vign::Arrondi(w * 1.7), vign::Arrondi(h * 1.7))};
}

void BM_ListStep_Thumbnails(benchmark::State& state, bool qtSmooth) {
  if (!pret(state)) return;
  const mainwin::Prise p = grabOnce();
  const std::vector<QSize> tailles = taillesRangee(p.zone);
  for (auto _ : state) {
    if (qtSmooth) {
      for (const QSize& t : tailles)
        benchmark::DoNotOptimize(p.image.scaled(t, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    } else {
      benchmark::DoNotOptimize(mainwin::DemiTeintes(p.image, tailles));
    }
  }
  state.SetLabel(taille(p.zone).toStdString());
}

void BM_ListStep_RowsAndWindow(benchmark::State& state) {
  if (!pret(state)) return;
  const mainwin::Prise p = grabOnce();
  dansPicture1(p.image.copy(0, 0, 16, 9));
  ajouterPicture1(state);
  state.SetLabel(taille(p.zone).toStdString());
}

// The whole path after the wait: grab, pointer, Picture1, list.
void BM_WholeScreenPath(benchmark::State& state) {
  if (!pret(state)) return;
  const quint32 h = platform::pointerHandle();
  viderListe();
  QRect zone;
  for (auto _ : state) {
    if (gNbCapt >= 150) {
      state.PauseTiming();
      viderListe();
      state.ResumeTiming();
    }
    mainwin::Prise p = mainwin::Prendre(false, true, h, QPoint(400, 300));
    zone = p.zone;
    dansPicture1(p.image);
    gModeCapt = "e";
    gLargImg = p.zone.width() * 15.0;
    gMain->GestVignettes(gMain->Picture1);
  }
  viderListe();
  state.SetLabel(taille(zone).toStdString());
}

// Resident memory of this process in MB, from /proc.
double residentMb() {
  QFile status("/proc/self/status");
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
  return 0;
}

// 200 whole-screen captures kept in the list: resident memory before the first,
// after it and after the 200th (bench/compare.sh reports them).
void BM_Resident200Captures(benchmark::State& state) {
  if (!pret(state)) return;
  const quint32 h = platform::pointerHandle();
  for (auto _ : state) {
    viderListe();
    state.counters["rss_before_MB"] = residentMb();
    QRect zone;
    for (int i = 1; i <= 200; ++i) {
      mainwin::Prise p = mainwin::Prendre(false, true, h, QPoint(400, 300));
      zone = p.zone;
      dansPicture1(p.image);
      gModeCapt = "e";
      gLargImg = p.zone.width() * 15.0;
      gMain->GestVignettes(gMain->Picture1);
      if (i == 1) state.counters["rss_first_MB"] = residentMb();
    }
    state.counters["rss_200_MB"] = residentMb();
    state.SetLabel(taille(zone).toStdString());
  }
  viderListe();
}

}  // namespace

BENCHMARK(BM_Resident200Captures)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Grab)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrabAndPointer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddToList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListStep_Bitmap)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ListStep_Thumbnails, averaged, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ListStep_Thumbnails, qt_smooth, true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListStep_RowsAndWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeScreenPath)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  // A home of its own, so nothing lands in the user's folders.
  QTemporaryDir home;
  qputenv("HOME", home.path().toUtf8());
  qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  preparer();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  flistimages.destroyNow();
  gMain.reset();
  vb::EndForms();
  gDossier.reset();
  return 0;
}
