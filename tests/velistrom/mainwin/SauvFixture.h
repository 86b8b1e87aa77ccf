#pragma once
// A main window (not loaded: only its controls) and a capture list of real
// temporary bitmaps in a capture folder of the test's own, for the saving,
// clipboard and printing tests.
#include "platform/forms/Runtime.h"
#include "tests/platform/forms/TestForms.h"  // readable QString values in failures
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/mainwin/Flistimages.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/mainwin/Sauvegarde.h"
#include "velistrom/mainwin/Vignettes.h"
#include "velistrom/mainwin/frmMain.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>

namespace sauvtest {

// A picture whose pixels tell where they come from: a flat colour with a
// black frame one pixel wide.
inline QImage Motif(int w, int h, QColor fond) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(fond);
  QPainter p(&img);
  p.setPen(Qt::black);
  p.drawRect(0, 0, w - 1, h - 1);
  return img;
}

inline QByteArray Contenu(const QString& chemin) {
  QFile f(chemin);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline QStringList Fichiers(const QString& dossier) {
  return QDir(dossier).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

class SauvFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    capt::resetList();
    gNumSauv = 0;
    gRepCapt = testenv::home() + "/tempocapt";
    gRepSauve = testenv::home() + "/Captures";
    ASSERT_TRUE(QDir().mkpath(gRepCapt));
    ASSERT_TRUE(QDir().mkpath(gRepSauve));
    gPrefixe = "Capt";
    gNomHorod = 0;
    gQualJpg = 70;
    gFormatBmp = 0;
    gPasCopiePP = "0";
    gNomExeEdit.clear();
    gTxtCapture = "Capture";
    gLng117 = "The captures could not be saved";
    gLng119 = "The file ";
    gLng120 = " already exists. Replace it?";
    gLng121 = "Screen capture of ";
    gLng122 = " at ";
    gLng163 = "Capture file";
    gLng175 = "BMP picture (*.bmp)|*.bmp|JPEG picture (*.jpg)|*.jpg|GIF picture (*.gif)|*.gif|PNG picture (*.png)|*.png";
    gLng190 = "Conversion failed";
    gLng209 = "Header line printed above the capture:";
    m = std::make_unique<FrmMain>();
    m->HeureSess = "1030450";
    m->DateSess = "20260304";
    m->PremDialogue = true;
  }
  void TearDown() override {
    testenv::dialogs().verify();
    m.reset();
    capt::resetList();
  }

  // Adds a capture as the capture list would: its bitmap in the capture
  // folder, its entries, and it becomes current. Returns its position.
  int Ajouter(const QImage& image, const QString& mode = "z", const QString& horod = "260304_103050") {
    const int n = gNbCapt + 1;
    ++gCptVign;
    gTabNomCapt[n] = vign::NomCapt(m->HeureSess, gCptVign);
    EXPECT_TRUE(image.save(gRepCapt + "/" + gTabNomCapt[n], "BMP"));
    gTabHorod[n] = horod;
    gTabLargCapt[n] = image.width() * 15;
    gTabHautCapt[n] = image.height() * 15;
    gTabMode[n] = mode;
    gTabSauv[n].clear();
    gNbCapt = n;
    gNumCapt = n;
    return n;
  }
  QString Bitmap(int i) const { return gRepCapt + "/" + gTabNomCapt[i]; }

  // The saved-mark controls of rows 1..n on the thumbnail window.
  void RangeesMarques(int n) {
    Flistimages& fl = flistimages();
    for (int i = 1; i <= n; ++i) {
      fl.PictSave.Load(i);
      fl.Chksav.Load(i);
    }
  }
  static bool Marquee(int i) {
    Flistimages* fl = flistimages.existing();
    return fl && fl->PictSave[i].Visible() && fl->Chksav[i].Value() == 1;
  }

  std::unique_ptr<FrmMain> m;
};

}  // namespace sauvtest
