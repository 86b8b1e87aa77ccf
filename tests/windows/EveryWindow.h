#pragma once
// Every window of the three programs, opened as the programs open it: the
// shipped language files loaded (French or English), the main window's sides
// plugged in, the program's own title, pictures from the shipped folder. One
// row a window (two for the GIF maker, one per mode); Spreadwell has none.
#include "common/LigneCommande.h"
#include "platform/forms/App.h"
#include "platform/forms/Controls.h"
#include "postelle/ConstAppli.h"
#include "postelle/FrmForum.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"
#include "tests/velistrom/gifmaker/GifBuilder.h"
#include "tests/velistrom/ShippedTexts.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/dialogs/FrmSortie.h"
#include "velistrom/gifmaker/FrmGifAnim.h"
#include "velistrom/help/FrmActua.h"
#include "velistrom/help/FrmAidOpt.h"
#include "velistrom/help/FrmAideStd.h"
#include "velistrom/help/FrmAidfn.h"
#include "velistrom/help/FrmBrows.h"
#include "velistrom/help/FrmDialTemp.h"
#include "velistrom/help/MainSide.h"
#include "velistrom/help/Frmaidfv.h"
#include "velistrom/help/frmAbout.h"
#include "velistrom/mainwin/Branchements.h"
#include "velistrom/mainwin/Commandes.h"
#include "velistrom/mainwin/Fcam.h"
#include "velistrom/mainwin/Flistimages.h"
#include "velistrom/mainwin/frmMain.h"
#include "velistrom/options/Options.h"
#include "velistrom/overlay/FrmFull.h"
#include "velistrom/startup/FrmChoixLng.h"
#include "velistrom/startup/frmSplash.h"
#include "velistrom/startup/frmTip.h"
#include "velistrom/timed/FrmChrono.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace windows {

struct Language {
  const char* code;  // the language file
  const char* name;
};
inline const Language kLanguages[] = {{"ConstPRJF", "French"}, {"ConstPRJA", "English"}};
inline void PrintTo(const Language& l, std::ostream* os) { *os << l.name; }

// A control of a window let off a check, and why.
struct Allowance {
  const char* form;
  const char* control;
  const char* reason;
};

template <std::size_t N>
bool allowed(const Allowance (&list)[N], const QString& form, const QString& control) {
  return std::any_of(std::begin(list), std::end(list),
                     [&](const Allowance& a) { return form == a.form && control == a.control; });
}

struct Window {
  const char* name;     // the row, as the test output names it
  const char* program;  // the program's title
  std::function<vb::Form&()> open;
};

inline void PrintTo(const Window& w, std::ostream* os) { *os << w.name; }

// The main window as the banner's closing shows it, its start-up timers
// stopped (they would run inside the other windows' event processing).
inline FrmMain& mainWindow() {
  FrmMain& m = frmMain();
  for (vb::Timer* t : {&m.Timbouton, &m.Timderoul, &m.Timlabdeb, &m.Timerclav, &m.TimCurs, &m.TimPeriod,
                       &m.TimerLngPerio, &m.TimZoom, &m.Timdeja, &m.TimPaint, &m.TimerUnload, &m.Timsplash})
    t->setEnabled(false);
  m.Show();
  return m;
}

// A region capture of a plain picture, as the overlay hands it over.
inline void addCapture(QColor colour, QSize size) {
  FrmMain& m = mainWindow();
  QImage img(size, QImage::Format_RGB32);
  img.fill(colour);
  m.Picture2.Move(20, 500, size.width() * vb::Screen.TwipsPerPixelX(), size.height() * vb::Screen.TwipsPerPixelY());
  m.Picture2.setPicture(img);
  m.Picture2S.setPicture(img);
  gLargImg = size.width() * vb::Screen.TwipsPerPixelX();
  gModeCapt = "z";
  m.GestVignettes(m.Picture2);
}

// A folder of small GIF frames (the narrowest window), as the user picks one
// for the GIF maker.
inline QString gifFolder() {
  const QString folder = testenv::home() + "/gifs";
  QDir().mkpath(folder);
  const int w = 64, h = 48;
  for (int i = 0; i < 3; ++i) {
    QFile f(QString("%1/frame%2.gif").arg(folder).arg(i));
    if (f.open(QIODevice::WriteOnly))
      f.write(gifbuild::simple(w, h, {QColor::fromHsv(i * 100, 200, 220).rgb(), qRgb(255, 255, 255)},
                               std::vector<std::uint8_t>(size_t(w * h), 0), 0));
  }
  return folder;
}

// A page the web-view windows cannot show here (no engine in the tests): the
// address goes to the clipboard and a box says so.
inline void expectNoPage() { testenv::dialogs().expectMsgBox(gLng154, vb::vbOK); }

template <class F>
F& shown(F& form) {
  form.Show();
  return form;
}

// A window the main window's commands open: the main window up first, its
// side of the help windows plugged in as its commands plug it.
template <class F>
F& fromTheMainWindow(vb::DefaultInstance<F>& instance) {
  mainwin::BrancherAide(mainWindow());
  return shown(instance());
}

inline const std::vector<Window>& everyWindow() {
  static const std::vector<Window> rows = {
      {"FrmChoixLng", "Velistrom",
       [] () -> vb::Form& {
         // The first start: no language chosen yet.
         QFile::remove(gDossAppli + "/spoken.txt");
         return shown(frmChoixLng());
       }},
      {"frmSplash", "Velistrom",
       [] () -> vb::Form& {
         FrmSplash& s = shown(frmSplash());
         s.Timstart.setEnabled(false);
         s.TimEffac.setEnabled(false);
         return s;
       }},
      {"frmTip", "Velistrom", [] () -> vb::Form& { return shown(frmTip()); }},
      {"frmMain", "Velistrom", [] () -> vb::Form& { return mainWindow(); }},
      {"Flistimages", "Velistrom",
       [] () -> vb::Form& {
         addCapture(Qt::red, {320, 200});
         addCapture(Qt::blue, {1920, 1080});
         return shown(flistimages());
       }},
      {"Fcam", "Velistrom",
       [] () -> vb::Form& {
         mainwin::setLecteurSonPourTests([](const QString&) { return true; });
         Fcam& f = shown(fcam());
         f.Timcam.setEnabled(false);
         return f;
       }},
      {"FrmFull", "Velistrom",
       [] () -> vb::Form& {
         mainWindow();
         FrmFull& f = frmFull();
         // As the region command opens it: the desktop frozen first.
         if (!f.InitFull(0)) ADD_FAILURE() << "the overlay did not open";
         return shown(f);
       }},
      {"FrmChrono", "Velistrom", [] () -> vb::Form& { return fromTheMainWindow(frmChrono); }},
      {"FrmGifAnim folder", "Velistrom",
       [] () -> vb::Form& {
         mainWindow();
         gifmaker::gDossierGif = gifFolder();
         gGifDepuisCapt = false;
         return shown(gifmaker::frmGifAnim());
       }},
      {"FrmGifAnim captures", "Velistrom",
       [] () -> vb::Form& {
         addCapture(Qt::red, {320, 200});
         addCapture(Qt::blue, {320, 200});
         gGifDepuisCapt = true;
         return shown(gifmaker::frmGifAnim());
       }},
      {"Options", "Velistrom", [] () -> vb::Form& { return fromTheMainWindow(frmOptions); }},
      {"FrmSortie", "Velistrom",
       [] () -> vb::Form& {
         FrmSortie& f = frmSortie();
         f.Label1.setCaption(gLng134);
         return shown(f);
       }},
      {"FrmDialTemp", "Velistrom",
       [] () -> vb::Form& {
         FrmDialTemp& f = fromTheMainWindow(frmDialTemp);
         f.Timer1.setEnabled(false);
         return f;
       }},
      {"FrmAideStd", "Velistrom", [] () -> vb::Form& { return fromTheMainWindow(frmAideStd); }},
      {"frmAbout", "Velistrom", [] () -> vb::Form& { return fromTheMainWindow(frmAbout); }},
      {"FrmBrows", "Velistrom",
       [] () -> vb::Form& {
         expectNoPage();
         return fromTheMainWindow(frmBrows);
       }},
      {"FrmActua", "Velistrom",
       [] () -> vb::Form& {
         expectNoPage();
         return fromTheMainWindow(frmActua);
       }},
      {"Frmaidfv", "Velistrom", [] () -> vb::Form& { return shown(frmAidfv()); }},
      {"FrmAidfn", "Velistrom", [] () -> vb::Form& { return shown(frmAidfn()); }},
      {"FrmAidOpt", "Velistrom", [] () -> vb::Form& { return shown(frmAidOpt()); }},
      {"FrmForum", "Postelle",
       [] () -> vb::Form& {
         QImage img(640, 480, QImage::Format_RGB32);
         img.fill(Qt::darkCyan);
         const QString picture = gDossAppli + "/tempocapt/Capt07032026-090504.jpg";
         QDir().mkpath(gDossAppli + "/tempocapt");
         img.save(picture, "JPG");
         ConstAppli::gCheminsDepart = lireLigneCommande({picture});
         FrmForum& f = frmForum();
         f.dossierProgramme = testenv::binDir();
         return shown(f);
       }},
  };
  return rows;
}

// A row's test name: the window and the language.
inline std::string rowName(const ::testing::TestParamInfo<std::tuple<Window, Language>>& info) {
  QString name = QString("%1_%2").arg(std::get<0>(info.param).name, std::get<1>(info.param).name);
  return name.replace(' ', '_').toStdString();
}

// The test program's own name, given back when a row leaves.
inline QString& testProgramName() {
  static QString name = QCoreApplication::applicationName();
  return name;
}

// The world a row opens in: the language's texts (Postelle's own section for
// its window), the sides of the main window, the program's title. Undone by
// leave().
inline ::testing::AssertionResult enter(const Window& w, const Language& l) {
  testProgramName();
  QCoreApplication::setApplicationName(w.program);
  capt::resetList();
  gGifDepuisCapt = false;
  if (auto ok = testsupport::textesLivres(l.code); !ok) return ok;
  if (QString(w.program) == "Postelle" && !ConstAppli::chargerTextes(gDossAppli, testenv::binDir()))
    return ::testing::AssertionFailure() << "Postelle's texts";
  mainwin::BrancherCotes();
  return ::testing::AssertionSuccess();
}

inline void leave() {
  vb::EndForms();
  help::setMainSide(nullptr);
  mainwin::setLecteurSonPourTests({});
  gifmaker::gDossierGif.clear();
  capt::resetList();
  core::setDossierRessources(QString());
  QCoreApplication::setApplicationName(testProgramName());
}

}  // namespace windows
