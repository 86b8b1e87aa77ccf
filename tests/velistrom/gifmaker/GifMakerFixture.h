#pragma once
// The GIF maker on a folder of the test's own: the texts it shows, the main
// window's side, frame files of any size, and the saved-message box.
#include "velistrom/gifmaker/FrmGifAnim.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSize>

#include <vector>

#include "tests/support/Files.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"
#include "tests/velistrom/gifmaker/GifBuilder.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/gifmaker/GifSide.h"

namespace giffix {

using gifmaker::frmGifAnim;
using gifmaker::FrmGifAnim;

class TestSide : public gifmaker::GifSide {
 public:
  void showTutorials() override { ++tutorials; }
  QString programFolder() override { return folder; }
  int tutorials = 0;
  QString folder;
};

inline QByteArray frameFile(QRgb colour, int w = 8, int h = 6) {
  return gifbuild::simple(w, h, {colour, qRgb(255, 255, 255)},
                          std::vector<std::uint8_t>(size_t(w * h), 0), 0);
}

inline bool write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

class GifMaker : public ::testing::Test {
 protected:
  void SetUp() override {
    capt::resetList();
    gifmaker::setGifSide(&side_);
    gLng218 = "GIF maker";
    gLng223 = "Not a valid GIF file";
    gLng224 = "The GIF file is incomplete";
    gLng225 = "A GIF frame cannot be opened";
    gLng245 = "GIF saved in ";
    gLng246 = "File: ";
    gLng252 = "Hint";
    gLng258 = "nogif";
    folder_ = testenv::home() + "/gifs";
    gRepSauve = testenv::home() + "/save";
    gRepCapt = testenv::home() + "/tempocapt";
    ASSERT_TRUE(QDir().mkpath(folder_));
    ASSERT_TRUE(QDir().mkpath(gRepSauve));
    ASSERT_TRUE(QDir().mkpath(gRepCapt));
    gGifDepuisCapt = false;
  }
  void TearDown() override {
    frmGifAnim.destroyNow();
    gifmaker::setGifSide(nullptr);
    gifmaker::gDossierGif.clear();
    capt::resetList();
    testenv::dialogs().verify();
  }

  // Writes these frame files into the folder and opens the maker on it; frame
  // k has sizes[k] when given, else 8 x 6.
  FrmGifAnim& openFolder(const QStringList& names, const std::vector<QSize>& sizes = {}) {
    int k = 0;
    for (const QString& n : names) {
      const QSize size = size_t(k) < sizes.size() ? sizes[size_t(k)] : QSize(8, 6);
      EXPECT_TRUE(write(folder_ + "/" + n, frameFile(qRgb(10 * ++k, 0, 0), size.width(), size.height())));
    }
    gifmaker::gDossierGif = folder_;
    FrmGifAnim& f = frmGifAnim();
    f.Show();
    return f;
  }
  static QStringList items(FrmGifAnim& f) {
    QStringList l;
    for (int i = 0; i < f.ListUtiles.ListCount(); ++i) l << f.ListUtiles.List(i);
    return l;
  }
  QStringList saved() const { return QDir(gRepSauve).entryList(QDir::Files); }
  void expectSavedBox() {
    testenv::dialogs().expectMsgBox("GIF saved in " + gRepSauve + "\r\nFile: animgif", vb::vbOK);
  }

  TestSide side_;
  QString folder_;
};

}  // namespace giffix
