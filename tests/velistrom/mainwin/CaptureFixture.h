#pragma once
// A main window that is built but not loaded (its start-up reads settings,
// makes folders and opens the tray: none of it matters to the capture list),
// the thumbnail window, a capture folder of the test's own and the texts the
// list shows. add() hands a picture (one colour, or the one given) to GestVignettes.
#include "platform/forms/Forms.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"
#include "velistrom/core/Ressources.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/mainwin/Flistimages.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobDossiers.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/mainwin/frmMain.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

#include <memory>

namespace captfix {

inline const QString kSess = "1030450";

inline QString fileName(int number) { return "Captprov_" + kSess + (number < 10 ? "0" : "") + QString::number(number) + ".bmp"; }

class CaptureList : public ::testing::Test {
 protected:
  void SetUp() override {
    capt::resetList();
    gQuitter = false;
    gAgrandi = false;
    gGifDepuisCapt = false;
    gFormatBmp = 0;
    gDossAppli.clear();  // no settings file unless a test makes one
    gRepCapt = testenv::home() + "/tempocapt";
    ASSERT_TRUE(QDir().mkpath(gRepCapt));
    gLng091 = "Delete every capture?";
    gLng105 = "Standby";
    gLng106 = "Wake up";
    gLng109 = "Screen";
    gLng110 = "At most 200 captures";
    gLng111 = "Velistrom -";
    gLng112 = " captures";
    gLng113 = " capture";
    gLng123 = "Velistrom - no capture";
    gLng144 = "Tick to mail";
    gLng195 = "Click to show";
    gLng216 = "Make a GIF";
    gLng217 = "GIF maker";
    gLng248 = "Two captures at least";
    gLng250 = "Type a position";
    gLng251 = "Positions go up to ";
    core::setDossierRessources(testenv::binDir());
    main_ = std::make_unique<FrmMain>();
    // The start-up timers would run inside the list's event processing.
    for (vb::Timer* t : {&main_->Timbouton, &main_->Timderoul, &main_->Timlabdeb, &main_->Timerclav,
                         &main_->TimCurs, &main_->TimPeriod, &main_->TimerLngPerio, &main_->TimZoom,
                         &main_->Timdeja, &main_->TimPaint, &main_->TimerUnload, &main_->Timsplash})
      t->setEnabled(false);
    main_->HeureSess = kSess;
    main_->mnuveille.setCaption(gLng105);
    main_->MnuEnAuto.setChecked(false);
    main_->MnuCaptper.setChecked(false);
    main_->Picture2.setBorderStyle(0);
    main_->Picture1.setBorderStyle(0);
    // The toolbar is built by the window's start-up; the list reads buttons 0 and 16.
    for (int i = 1; i <= 19; ++i)
      if (!main_->bouton.exists(i)) main_->bouton.Load(i);
  }
  void TearDown() override {
    flistimages.destroyNow();
    main_.reset();
    capt::resetList();
    core::setDossierRessources(QString());
    testenv::dialogs().verify();
  }

  FrmMain& m() { return *main_; }
  Flistimages& fl() { return flistimages(); }

  // A capture of w x h pixels in one colour, through the box of that kind
  // ("Picture2": region or window, "Picture1": whole screen).
  void add(QColor colour, int w = 40, int h = 30, const char* box = "Picture2") {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    add(img, box);
  }
  void add(const QImage& img, const char* box = "Picture2") {
    vb::PictureBox& b = QString(box) == "Picture1" ? m().Picture1 : m().Picture2;
    b.Move(0, 0, img.width() * 15, img.height() * 15);
    b.setPicture(img);
    gLargImg = img.width() * 15;
    gModeCapt = "z";
    m().GestVignettes(b);
  }

  // The colour in the middle of row i's thumbnail.
  QColor thumbColour(int i) {
    const QImage& img = fl().Image1[i].Image();
    return QColor(img.pixel(img.width() / 2, img.height() / 2));
  }
  QColor bigColour(int i) {
    const QImage& img = fl().Gimage1[i].Image();
    return QColor(img.pixel(img.width() / 4, img.height() / 4));
  }
  bool exists(int number) { return QFile::exists(gRepCapt + "/" + fileName(number)); }

  std::unique_ptr<FrmMain> main_;
};

}  // namespace captfix
