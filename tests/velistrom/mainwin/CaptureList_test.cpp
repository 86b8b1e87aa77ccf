// Adding and deleting captures: rows of the thumbnail window, the arrays, the
// temporary files, the counter and the captions.
#include "tests/velistrom/mainwin/CaptureFixture.h"

#include "tests/platform/PictureFixtures.h"
#include "tests/support/Files.h"
#include "tests/support/ReadOnlyFolder.h"
#include "velistrom/mainwin/Vignettes.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTimer>

#include <cmath>
#include <csignal>
#include <sys/resource.h>

namespace {

using captfix::CaptureList;
using captfix::fileName;
using testsupport::readFile;

const QColor kColours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::magenta, Qt::cyan};

// While alive, no file of this process may grow beyond `bytes` (also for root).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};

TEST_F(CaptureList, FirstCaptureMakesRowOneFileOneAndTheCaption) {
  m().Labtaille.setCaption("40 x 30");
  add(Qt::red, 40, 30);
  ASSERT_EQ(gNbCapt, 1);
  EXPECT_EQ(gNumCapt, 1);
  EXPECT_EQ(gTabNomCapt[1], fileName(1));
  EXPECT_TRUE(exists(1));
  EXPECT_EQ(m().CheminCapt, gRepCapt + "/" + fileName(1));
  EXPECT_EQ(QImageReader(m().CheminCapt).size(), QSize(40, 30));
  EXPECT_EQ(fl().Image1[1].Top(), 840);
  EXPECT_EQ(fl().Txtordre[1].Text(), "01");
  EXPECT_EQ(fl().Lbldim[1].Caption(), "01/  40 x 30");
  EXPECT_EQ(fl().Image1[1].BorderStyle(), 1);
  EXPECT_TRUE(fl().Image1[1].Visible());
  EXPECT_FALSE(fl().Gimage1[1].Visible());
  EXPECT_TRUE(fl().Chkmail[1].Visible());
  EXPECT_FALSE(fl().PictSave[1].Visible());
  EXPECT_FALSE(fl().Vscroll1.Enabled());
  EXPECT_EQ(fl().Labscroll.Caption(), "");
  EXPECT_EQ(m().Caption(), "Velistrom - 1 capture");
  EXPECT_EQ(m().bouton[16].BorderStyle(), 1);
  EXPECT_TRUE(fl().Visible());
  EXPECT_EQ(gTabLargCapt[1], 600);
  EXPECT_EQ(gTabHautCapt[1], 450);
  EXPECT_EQ(gTabHautPlus[1], 2250);
  EXPECT_EQ(gTabTaille[1], "40 x 30");
  EXPECT_EQ(gTabMode[1], "z");
  EXPECT_EQ(gTabHorod[1].size(), 13);
  EXPECT_EQ(thumbColour(1), QColor(Qt::red));
  EXPECT_EQ(bigColour(1), QColor(Qt::red));

  add(Qt::green, 40, 30);
  EXPECT_EQ(fl().Image1[2].Top(), 840 + 1800);
  EXPECT_EQ(fl().Image1[1].BorderStyle(), 0);
  EXPECT_EQ(fl().Image1[2].BorderStyle(), 1);
  EXPECT_TRUE(fl().Vscroll1.Enabled());
  EXPECT_EQ(fl().Vscroll1.Max(), 2);
  EXPECT_EQ(fl().Labscroll.Caption(), " 2");
  EXPECT_EQ(m().Caption(), "Velistrom - 2 captures");
}

TEST_F(CaptureList, WholeScreenRowsCarryTheScreenWordAndStandbyKeepsTheWindowHidden) {
  m().mnuveille.setCaption(gLng106);  // after the reduce command
  add(Qt::blue, 64, 36, "Picture1");
  EXPECT_EQ(fl().Lbldim[1].Caption(), "01 Screen");
  EXPECT_FALSE(fl().Visible());
}

TEST_F(CaptureList, FileNumbersCountTheRunNotTheList) {
  for (int i = 0; i < 5; ++i) add(kColours[i]);
  int two = 2;
  m().SuppVignette(two);
  add(Qt::cyan);
  EXPECT_EQ(gNbCapt, 5);
  EXPECT_EQ(gTabNomCapt[5], fileName(6));
  EXPECT_TRUE(exists(6));
  const QString expected[] = {fileName(1), fileName(3), fileName(4), fileName(5), fileName(6)};
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(gTabNomCapt[i], expected[i - 1]) << i;

  // After a delete-all the counter goes on.
  int silent = 0;
  m().Supprimertout(silent);
  add(Qt::red);
  EXPECT_EQ(gNbCapt, 1);
  EXPECT_EQ(fl().Image1[1].Top(), 840);
  EXPECT_EQ(gTabNomCapt[1], fileName(7));

  gCptVign = 99;  // the hundredth capture of the run
  add(Qt::red);
  EXPECT_EQ(gTabNomCapt[2], "Captprov_" + captfix::kSess + "100.bmp");
  EXPECT_TRUE(QFile::exists(gRepCapt + "/" + gTabNomCapt[2]));
}

TEST_F(CaptureList, TheListHoldsTwoHundredAndRefusesThe201st) {
  for (int i = 1; i <= 200; ++i) add(kColours[i % 6], 8, 6);
  ASSERT_EQ(gNbCapt, 200);
  EXPECT_EQ(fl().Lbldim[100].Caption(), "100/  8 x 6");
  EXPECT_EQ(fl().Txtordre[100].Text(), "100");
  EXPECT_EQ(fl().Image1[200].Top(), 840 + 199 * 1800);
  int first = 1;
  fl().clickimage1(first, false);
  ASSERT_EQ(gNumCapt, 1);

  testenv::dialogs().expectMsgBox("At most 200 captures", vb::vbOK);
  add(Qt::black, 8, 6);
  testenv::dialogs().verify();
  EXPECT_EQ(testenv::dialogs().shown().back().icon, "exclamation");
  EXPECT_EQ(gNbCapt, 200);
  EXPECT_EQ(gNumCapt, 200);
  EXPECT_FALSE(fl().Image1.exists(201));
  EXPECT_FALSE(exists(201));
  EXPECT_EQ(gCptVign, 200);
  EXPECT_EQ(QDir(gRepCapt).entryList(QDir::Files).size(), 200);
}

TEST_F(CaptureList, LargeCapturesKeepTheirTwipSizes) {
  struct Case {
    int w, h;
  };
  for (const Case c : {Case{2560, 1440}, Case{3840, 2160}}) {
    SCOPED_TRACE(c.w);
    add(Qt::darkGreen, c.w, c.h);
    const int n = gNbCapt;
    EXPECT_EQ(gTabLargCapt[n], c.w * 15);
    EXPECT_EQ(gTabHautCapt[n], c.h * 15);
    EXPECT_EQ(gTabPos[n], c.w * 15 + 210);
    EXPECT_EQ(gTabHautPlus[n], c.h * 15 + 1800);
    EXPECT_EQ(QImageReader(gRepCapt + "/" + gTabNomCapt[n]).size(), QSize(c.w, c.h));
    EXPECT_EQ(fl().Lbldim[n].Caption(), vb::Format(n, "00") + "/  " + QString::number(c.w) + " x " +
                                            QString::number(c.h));
    EXPECT_EQ(fl().Image1[n].Width(), 1450);
  }
}

// The temporary bitmap is byte for byte the BMP Qt writes of the capture, and
// the thumbnail and its enlarged copy are the halftone of the whole picture:
// no further than two levels from Qt's smooth scale, which made them before.
TEST_F(CaptureList, TheTemporaryBitmapIsQtsBmpAndTheThumbnailsTheWholePictureSmoothed) {
  QImage screen = fixtures::gradient(1920, 1080);
  QPainter(&screen).drawImage(700, 400, fixtures::noise(300, 200));  // detail a sampling would miss
  const struct {
    const char* what;
    QImage picture;
    const char* box;
  } cases[] = {
      {"a region of odd width", fixtures::noise(331, 187), "Picture2"},
      {"a whole screen", screen, "Picture1"},
      {"a portrait window", fixtures::noise(90, 300), "Picture2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    add(c.picture, c.box);
    const int n = gNbCapt;
    QByteArray qt;
    {
      QBuffer buffer(&qt);
      buffer.open(QIODevice::WriteOnly);
      ASSERT_TRUE(QImageWriter(&buffer, "bmp").write(c.picture));
    }
    EXPECT_TRUE(readFile(gRepCapt + "/" + gTabNomCapt[n]) == qt) << "not Qt's bytes";
    // The thumbnail fills its box; the enlarged copy is 1.7 times it.
    const QSize thumb(vb::twipsToPixels(fl().Image1[n].Width()), vb::twipsToPixels(fl().Image1[n].Height()));
    const QSize enlarged(int(std::nearbyint(thumb.width() * 1.7)), int(std::nearbyint(thumb.height() * 1.7)));
    for (const auto& [box, size] : {std::pair{&fl().Image1[n], thumb}, std::pair{&fl().Gimage1[n], enlarged}}) {
      SCOPED_TRACE(box->Name().toStdString());
      const QImage before = c.picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      // A bordered box shows the top left of its drawing.
      const QRect shown(QPoint(), size.boundedTo(box->Image().size()));
      EXPECT_LE(fixtures::maxChannelDifference(box->Image().copy(shown).convertToFormat(QImage::Format_RGB32),
                                               before.copy(shown)),
                2);
    }
  }
}

TEST_F(CaptureList, ACaptureWhoseFileCannotBeWrittenIsNotListed) {
  add(Qt::red);
  const QString before = m().CheminCapt;
  {
    FileSizeLimit none(0);
    testenv::dialogs().expectMsgBox("Save/Sauver", vb::vbOK);
    add(Qt::green);
  }
  testenv::dialogs().verify();
  EXPECT_EQ(testenv::dialogs().shown().back().icon, "critical");
  EXPECT_EQ(gNbCapt, 1);
  EXPECT_EQ(gCptVign, 1);
  EXPECT_FALSE(fl().Image1.exists(2));
  EXPECT_FALSE(fl().Txtordre.exists(2));
  EXPECT_TRUE(gTabNomCapt[2].isEmpty());
  EXPECT_EQ(m().CheminCapt, before);
  EXPECT_EQ(QDir(gRepCapt).entryList(QDir::Files), QStringList{fileName(1)});

  // A read-only capture folder refuses the write as well.
  {
    testsupport::ReadOnlyFolder ro(gRepCapt);
    testenv::dialogs().expectMsgBox("Save/Sauver", vb::vbOK);
    add(Qt::blue);
    testenv::dialogs().verify();
  }
  EXPECT_EQ(gNbCapt, 1);
  EXPECT_EQ(gCptVign, 1);
  EXPECT_FALSE(fl().Image1.exists(2));
  EXPECT_EQ(QDir(gRepCapt).entryList(QDir::Files), QStringList{fileName(1)});

  // The next capture that can be written takes the next number.
  add(Qt::blue);
  EXPECT_EQ(gNbCapt, 2);
  EXPECT_EQ(gTabNomCapt[2], fileName(2));
}

// Five captures, distinct colours and sizes; capture 3 saved, capture 4 ticked
// for mailing and mailed, capture 3 portrait.
class FiveCaptures : public CaptureList {
 protected:
  void SetUp() override {
    CaptureList::SetUp();
    const QSize sizes[] = {{40, 30}, {42, 30}, {30, 60}, {46, 30}, {48, 30}};
    for (int i = 0; i < 5; ++i) {
      m().Labtaille.setCaption("size " + QString::number(i + 1));
      add(kColours[i], sizes[i].width(), sizes[i].height());
    }
    gTabSauv[3] = "/saved/three.png";
    fl().PictSave[3].setVisible(true);
    fl().Chksav[3].setValue(1);
    fl().Chkmail[4].setValue(1);
    fl().pictmail[4].setVisible(true);
  }
};

TEST_F(FiveCaptures, DeletingTheSecondMovesTheLaterOnesUp) {
  const int thumbW3 = fl().Image1[3].Width(), bigW3 = fl().Gimage1[3].Width(), bigH3 = fl().Gimage1[3].Height();
  int two = 2;
  m().SuppVignette(two);
  ASSERT_EQ(gNbCapt, 4);
  EXPECT_EQ(gNumCapt, 0);
  EXPECT_FALSE(exists(2));
  for (int f : {1, 3, 4, 5}) EXPECT_TRUE(exists(f)) << f;
  EXPECT_FALSE(fl().Image1.exists(5));
  EXPECT_FALSE(fl().Chksav.exists(5));

  const int from[] = {1, 3, 4, 5};
  const QString labels[] = {"01/  40 x 30", "02/  30 x 60", "03/  46 x 30", "04/  48 x 30"};
  for (int i = 1; i <= 4; ++i) {
    SCOPED_TRACE(i);
    const int k = from[i - 1];
    EXPECT_EQ(thumbColour(i), kColours[k - 1]);
    EXPECT_EQ(fl().Lbldim[i].Caption(), labels[i - 1]);
    EXPECT_EQ(gTabNomCapt[i], fileName(k));
    EXPECT_EQ(gTabTaille[i], "size " + QString::number(k));
    EXPECT_EQ(fl().Txtordre[i].Text(), vb::Format(i, "00"));
    EXPECT_EQ(fl().Image1[i].Top(), 840 + (i - 1) * 1800);
    EXPECT_EQ(fl().Image1[i].BorderStyle(), 0);
  }
  // The portrait capture took its box sizes with it.
  EXPECT_EQ(fl().Image1[2].Width(), thumbW3);
  EXPECT_EQ(fl().Gimage1[2].Width(), bigW3);
  EXPECT_EQ(fl().Gimage1[2].Height(), bigH3);
  EXPECT_EQ(bigColour(2), kColours[2]);
  // Marks, ticks and the saved path go with their captures.
  EXPECT_EQ(gTabSauv[2], "/saved/three.png");
  EXPECT_TRUE(fl().PictSave[2].Visible());
  EXPECT_EQ(fl().Chksav[2].Value(), 1);
  EXPECT_FALSE(fl().PictSave[3].Visible());
  EXPECT_EQ(fl().Chksav[3].Value(), 0);
  EXPECT_EQ(fl().Chkmail[3].Value(), 1);
  EXPECT_TRUE(fl().pictmail[3].Visible());
  EXPECT_EQ(fl().Chkmail[4].Value(), 0);
  EXPECT_TRUE(gTabNomCapt[5].isEmpty());
  EXPECT_TRUE(gTabSauv[5].isEmpty());
  EXPECT_EQ(m().Caption(), "Velistrom - 4 captures");
  EXPECT_EQ(fl().Labscroll.Caption(), " 4");
  EXPECT_FALSE(m().Picture2.Visible());

  // No current capture now: a second delete deletes nothing.
  m().SuppVignette(gNumCapt);
  EXPECT_EQ(gNbCapt, 4);
  for (int f : {1, 3, 4, 5}) EXPECT_TRUE(exists(f)) << f;
}

TEST_F(FiveCaptures, DeletingTheCurrentCaptureThroughGNumCaptDeletesThatOne) {
  m().SuppVignette(gNumCapt);  // the caller's variable is cleared on the way
  EXPECT_EQ(gNbCapt, 4);
  EXPECT_FALSE(exists(5));
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(thumbColour(i), kColours[i - 1]);
}

TEST_F(FiveCaptures, AMissingFileStillDeletesTheEntryAndAFileThatCannotGoKeepsItsCapture) {
  ASSERT_TRUE(QFile::remove(gRepCapt + "/" + fileName(2)));
  int two = 2;
  m().SuppVignette(two);  // no box: gone already is as good as deleted
  EXPECT_EQ(gNbCapt, 4);
  EXPECT_EQ(gTabNomCapt[2], fileName(3));

  // The file of the capture now at 2 turns into a folder that cannot go.
  const QString path = gRepCapt + "/" + fileName(3);
  ASSERT_TRUE(QFile::remove(path));
  ASSERT_TRUE(QDir().mkpath(path + "/inner"));
  testenv::dialogs().expectMsgBox("Suppression/Delete 75", vb::vbOK);
  m().SuppVignette(two);
  testenv::dialogs().verify();
  // The capture stays, with its file; only the main view was emptied.
  EXPECT_EQ(gNbCapt, 4);
  EXPECT_EQ(gTabNomCapt[2], fileName(3));
  EXPECT_EQ(thumbColour(2), kColours[2]);
  EXPECT_TRUE(fl().Image1.exists(4));
  EXPECT_TRUE(QFileInfo::exists(path));
  EXPECT_FALSE(m().Picture2.Visible());
}

TEST_F(FiveCaptures, ACaptureArrivingWhileADeleteLetsEventsRunJoinsTheEnd) {
  // A periodic shot or a hotkey capture whose event runs inside the delete.
  bool deleting = false, arrivedDuringDelete = false;
  QTimer::singleShot(0, [&] {
    arrivedDuringDelete = deleting;
    add(Qt::cyan);
  });
  deleting = true;
  int two = 2;
  m().SuppVignette(two);
  deleting = false;
  ASSERT_TRUE(arrivedDuringDelete);
  ASSERT_EQ(gNbCapt, 5);
  const int from[] = {1, 3, 4, 5, 6};
  for (int i = 1; i <= 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(gTabNomCapt[i], fileName(from[i - 1]));
    EXPECT_EQ(thumbColour(i), kColours[from[i - 1] - 1]);
    EXPECT_TRUE(exists(from[i - 1]));
  }
  EXPECT_FALSE(fl().Image1.exists(6));
}

TEST_F(FiveCaptures, DeleteAllAsksAndCancelKeepsEverything) {
  gAgrandi = true;
  int ask = 1;
  testenv::dialogs().expectMsgBox("Delete every capture?", vb::vbCancel);
  m().Supprimertout(ask);
  testenv::dialogs().verify();
  EXPECT_EQ(testenv::dialogs().shown().back().icon, "question");
  EXPECT_EQ(gNbCapt, 5);
  for (int f = 1; f <= 5; ++f) EXPECT_TRUE(exists(f));
  EXPECT_TRUE(fl().Image1.exists(5));
  EXPECT_TRUE(gAgrandi);

  testenv::dialogs().expectMsgBox("Delete every capture?", vb::vbOK);
  m().Supprimertout(ask);
  EXPECT_EQ(gNbCapt, 0);
  EXPECT_FALSE(gAgrandi);
  EXPECT_EQ(QDir(gRepCapt).entryList(QDir::Files), QStringList());
}

TEST_F(FiveCaptures, DeleteAllWithoutAskingClearsRowsFilesAndNames) {
  gAgrandi = true;
  int silent = 0;
  m().Supprimertout(silent);
  EXPECT_EQ(gNbCapt, 0);
  EXPECT_EQ(gNumCapt, 0);
  EXPECT_TRUE(gAgrandi);
  for (int i = 1; i <= 5; ++i) {
    EXPECT_FALSE(fl().Image1.exists(i));
    EXPECT_FALSE(fl().Chksav.exists(i));
    EXPECT_TRUE(gTabNomCapt[i].isEmpty());
    EXPECT_TRUE(gTabSauv[i].isEmpty());
  }
  EXPECT_EQ(QDir(gRepCapt).entryList(QDir::Files), QStringList());
  EXPECT_FALSE(fl().Visible());
  EXPECT_TRUE(flistimages.existing() != nullptr);  // the window refused to unload
  EXPECT_EQ(m().Caption(), "Velistrom - no capture");
  EXPECT_EQ(m().bouton[16].BorderStyle(), 0);

  // On an empty list nothing is asked.
  int ask = 1;
  m().Supprimertout(ask);
}

TEST_F(FiveCaptures, DeleteAllWithAnUndeletableFileStillEmptiesTheList) {
  const QString path = gRepCapt + "/" + fileName(3);
  ASSERT_TRUE(QFile::remove(path));
  ASSERT_TRUE(QDir().mkpath(path + "/inner"));
  int silent = 0;
  testenv::dialogs().expectMsgBox(fileName(3), vb::vbOK);
  m().Supprimertout(silent);
  testenv::dialogs().verify();
  EXPECT_EQ(gNbCapt, 0);
  for (int i = 1; i <= 5; ++i) EXPECT_FALSE(fl().Image1.exists(i));
  add(Qt::red);
  EXPECT_EQ(gNbCapt, 1);
  EXPECT_EQ(gTabNomCapt[1], fileName(6));
}

TEST_F(CaptureList, DeletingTheOnlyCaptureEmptiesTheWindow) {
  add(Qt::red);
  int one = 1;
  m().SuppVignette(one);
  EXPECT_EQ(gNbCapt, 0);
  EXPECT_EQ(gNumCapt, 0);
  EXPECT_FALSE(exists(1));
  EXPECT_FALSE(fl().Image1.exists(1));
  EXPECT_FALSE(fl().Visible());
  EXPECT_FALSE(fl().Vscroll1.Enabled());
  EXPECT_EQ(fl().Labscroll.Caption(), "");
  EXPECT_EQ(m().Caption(), "Velistrom - 0 capture");
  EXPECT_TRUE(gTabNomCapt[1].isEmpty());
}

}  // namespace

namespace {

using captfix::CaptureList;

TEST_F(CaptureList, AutomaticSavingSavesEachNewCaptureOnce) {
  gRepSauve = testenv::home() + "/saves";
  ASSERT_TRUE(QDir().mkpath(gRepSauve));
  gPrefixe = "Capt";
  gFormatBmp = 1;
  m().DateSess = "20261209";
  m().MnuEnAuto.setChecked(true);
  add(Qt::red);
  add(Qt::green);
  EXPECT_FALSE(gTabSauv[1].isEmpty());
  EXPECT_FALSE(gTabSauv[2].isEmpty());
  EXPECT_NE(gTabSauv[1], gTabSauv[2]);
  EXPECT_EQ(QDir(gRepSauve).entryList(QDir::Files).size(), 2);
  EXPECT_EQ(QColor(QImage(gTabSauv[2]).pixel(5, 5)), QColor(Qt::green));

  // A capture that joins while the previous addition lets events run: both saved.
  QTimer::singleShot(0, [&] { add(Qt::magenta); });
  add(Qt::blue);
  ASSERT_EQ(gNbCapt, 4);
  for (int i = 3; i <= 4; ++i) EXPECT_FALSE(gTabSauv[i].isEmpty()) << i;
  EXPECT_EQ(QDir(gRepSauve).entryList(QDir::Files).size(), 4);
}

}  // namespace
