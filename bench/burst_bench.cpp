// Sustained rate of the timed-capture window's burst on a real X server: the
// window's own timer, the live grab of the region, the bitmap written, the
// conversion of each shot. For each region size, asked period and format the
// burst runs for a few seconds; the rate is the shots written per second of
// wall time, and the ratio that rate over the one asked (1000 / period).
//
//   DISPLAY=:NN build/bench/burst_bench [seconds per run, default 3] [runs, default 3]
//
// Each row is the median of the runs by rate; "ms per shot" is the time spent
// inside the burst tick (grab, bitmap, conversion), so rate x ms per shot
// shows how much of each second the burst keeps the program busy.
//
// A full-screen window shows a desktop-like picture (gradient, text, flat
// panels) so the encoders get real work; the pictures go to a temporary
// folder that is emptied after every run.
#include "platform/X11Display.h"
#include "platform/forms/Forms.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Runtime.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/timed/CoteMain.h"
#include "velistrom/timed/FrmChrono.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <vector>

namespace {

// Every box is answered with its default button, and counted.
class Boxes : public vb::DialogService {
 public:
  int msgBox(const QString& prompt, int buttons, const QString&) override {
    std::fprintf(stderr, "box: %s\n", qPrintable(prompt.left(120)));
    ++count;
    return vb::defaultAnswer(buttons);
  }
  std::optional<QString> inputBox(const QString&, const QString&, const QString& d) override { return d; }
  std::optional<QString> fileDialog(int, const vb::CommonDialog&) override { return std::nullopt; }
  bool printerDialog(vb::CommonDialog&) override { return false; }
  int count = 0;
};

struct NoMain : timed::MainSide {
  int mainLeft() override { return 0; }
  void armLongSeries() override {}
  void stopLongSeries() override {}
  void seriesMarkOff() override {}
  void showTutorials() override {}
};

class Desktop : public QWidget {
 public:
  Desktop()
      : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                             Qt::X11BypassWindowManagerHint) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    QLinearGradient wall(0, 0, width(), height());
    wall.setColorAt(0, QColor(70, 130, 180));
    wall.setColorAt(1, QColor(20, 30, 80));
    p.fillRect(rect(), wall);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (int w = 0; w < 3; ++w) {
      const QRect r(60 + w * 600, 60 + w * 120, 560, 700);
      p.fillRect(r, QColor(240, 240, 236));
      p.fillRect(QRect(r.x(), r.y(), r.width(), 28), QColor(40 + 50 * w, 90, 160 - 40 * w));
      p.setPen(QColor(30, 30, 30));
      for (int line = 0; line < 36; ++line)
        p.drawText(r.x() + 12, r.y() + 52 + line * 18,
                   QString("Line %1: the quick brown fox jumps over the lazy dog 0123").arg(line + 1));
    }
  }
};

double threadCpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

void runFor(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  QApplication app(argc, argv);
  if (!platform::x11Display()) {
    std::fprintf(stderr, "burst_bench needs an X display ($DISPLAY)\n");
    return 1;
  }
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  Boxes boxes;
  vb::setDialogService(&boxes);
  NoMain noMain;
  timed::setMainSide(&noMain);

  Desktop desktop;
  desktop.setGeometry(0, 0, 1920, 1080);
  desktop.show();
  runFor(1000);

  QTemporaryDir folder;
  gRepSauve = folder.path();
  gRepSauvLigne = folder.path().leftJustified(300);
  gPrefixe = "Rafl";
  gQualJpg = 70;
  gParams = QString(121, u' ') + "10000" + QString(174, u' ');
  gNbCapt = 0;

  struct Size {
    int w, h;
  };
  struct Run {
    double rate = 0;   // shots per second of wall time
    double msShot = 0; // time inside the burst tick per shot
    double cpuShot = 0; // CPU time of this thread inside the tick per shot
  };
  // One burst of `seconds`; the tick is timed from outside the form.
  auto burst = [&](int period, int k) {
    FrmChrono& f = frmChrono();
    f.TxtNbImg.setText("999999");
    for (int i = 7; i <= 9; ++i) f.Txtchrono[i].setText("00");
    f.Txtchrono[10].setText(vb::Format(period, "0000"));
    f.OptSav[k].setValue(true);
    qint64 busy = 0;
    double cpu = 0;
    const std::function<void()> tick = f.Timrapid.onTimer;
    f.Timrapid.onTimer = [&busy, &cpu, tick] {
      QElapsedTimer e;
      e.start();
      const double c0 = threadCpuMs();
      tick();
      cpu += threadCpuMs() - c0;
      busy += e.nsecsElapsed();
    };
    QElapsedTimer t;
    t.start();
    f.CdeOk_Click();
    runFor(seconds * 1000);
    f.Timrapid.setEnabled(false);
    Run r;
    r.rate = f.CptRafale / (t.elapsed() / 1000.0);
    r.msShot = f.CptRafale ? busy / 1e6 / f.CptRafale : 0;
    r.cpuShot = f.CptRafale ? cpu / f.CptRafale : 0;
    frmChrono.destroyNow();
    QDir dir(folder.path());
    for (const QString& name : dir.entryList(QDir::Files)) dir.remove(name);
    return r;
  };

  std::printf("| region | period ms | asked /s | format | shots /s | ratio | ms per shot | CPU ms per shot |\n"
              "|---|---:|---:|---|---:|---:|---:|---:|\n");
  for (const Size s : {Size{1920, 1080}, Size{400, 300}}) {
    gSelX = s.w == 1920 ? 0 : 600 * 15;
    gSelY = s.w == 1920 ? 0 : 300 * 15;
    gLargImg = s.w * 15;
    gHautImg = s.h * 15;
    for (int period : {100, 20}) {
      for (int k = 0; k < 4; ++k) {
        const int boxesBefore = boxes.count;
        std::vector<Run> runs;
        for (int rep = 0; rep < repetitions; ++rep) runs.push_back(burst(period, k));
        // The median run by rate.
        std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.rate < b.rate; });
        const Run& m = runs[runs.size() / 2];
        const double asked = 1000.0 / period;
        static const char* const words[4] = {"bmp", "jpg", "gif", "png"};
        std::printf("| %dx%d | %d | %.0f | %s | %.1f | %.2f | %.1f | %.1f |%s\n", s.w, s.h, period, asked,
                    words[k], m.rate, m.rate / asked, m.msShot, m.cpuShot,
                    boxes.count != boxesBefore ? " (boxes shown)" : "");
        std::fflush(stdout);
      }
    }
  }
  vb::EndForms();
  vb::setDialogService(nullptr);
  return 0;
}
