// The GIF maker window: the folder listing, the frame-list operations, the
// capture mode's own frames, the creation with its failures, the hand-over.
#include "tests/velistrom/gifmaker/GifMakerFixture.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QScreen>
#include <QThread>

#include "platform/forms/Runtime.h"
#include "tests/support/Wait.h"

using testsupport::readFile;
using namespace giffix;

TEST(GifMakerFolder, NamesThatServeAsFrames) {
  QStringList sixty;
  for (int i = 0; i < 60; ++i) sixty << QString("f%1.gif").arg(i, 2, 10, QChar('0'));
  const struct {
    const char* name;
    QStringList in, out;
  } cases[] = {
      {"own output left out, case counts", {"a.gif", "animgif101500.gif", "AnimGif1.gif", "b.gif"},
       {"a.gif", "AnimGif1.gif", "b.gif"}},
      {"fifty at most, in list order", sixty, sixty.mid(0, 50)},
      {"none", {"animgif1.gif"}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(gifmaker::TramesDuDossier(c.in), c.out);
  }
}

TEST_F(GifMaker, FolderModeListsTheFolderAndShowsTheFirstFrame) {
  FrmGifAnim& f = openFolder({"a.gif", "animgif101500.gif", "b.gif"});
  EXPECT_EQ(items(f), QStringList({"a.gif", "b.gif"}));
  EXPECT_EQ(f.NbImages, 2);
  EXPECT_TRUE(f.CdeCreGif.Enabled());
  EXPECT_FALSE(f.CdeUplGif.Enabled());
  EXPECT_EQ(f.ListUtiles.ListIndex(), 0);
  EXPECT_EQ(f.WebBrowsgif.LocationURL(), folder_ + "/a.gif");
  EXPECT_EQ(f.WebBrowsgif.frameCount(), 1);
  EXPECT_EQ(f.Caption(), "GIF maker - maximum 50 images");
}

TEST_F(GifMaker, AFolderWithoutUsableGifLeavesCreationOff) {
  FrmGifAnim& f = openFolder({"animgif120000.gif"});
  EXPECT_EQ(f.NbImages, 0);
  EXPECT_FALSE(f.CdeCreGif.Enabled());
  EXPECT_TRUE(f.WebBrowsgif.LocationURL().endsWith("/nogif.gif"));
}

// Each row: the current item, the operation, the list and buttons after it.
TEST_F(GifMaker, FrameListOperations) {
  enum Op { Up, Down, Delete, Press };
  const struct {
    const char* name;
    std::vector<int> selected;  // the first is the current item
    std::vector<Op> ops;
    QStringList after;
    int current;
    bool upOn, downOn;
  } cases[] = {
      {"press on the first: up off", {0}, {Press}, {"a.gif", "b.gif", "c.gif"}, 0, false, true},
      {"press on the last: down off", {2}, {Press}, {"a.gif", "b.gif", "c.gif"}, 2, true, false},
      {"first moved down, up stays off", {0}, {Press, Down}, {"b.gif", "a.gif", "c.gif"}, 1, false,
       true},
      {"last moved up", {2}, {Press, Up}, {"a.gif", "c.gif", "b.gif"}, 1, true, true},
      {"up on the first only turns up off", {0}, {Up}, {"a.gif", "b.gif", "c.gif"}, 0, false, true},
      {"down on the last only turns down off", {2}, {Down}, {"a.gif", "b.gif", "c.gif"}, 2, true,
       false},
      {"two selected deleted", {0, 1}, {Delete}, {"c.gif"}, 0, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FrmGifAnim& f = openFolder({"a.gif", "b.gif", "c.gif"});
    f.ListUtiles.setListIndex(c.selected[0]);
    for (int i = 0; i < 3; ++i) f.ListUtiles.setSelected(i, false);
    for (int i : c.selected) f.ListUtiles.setSelected(i, true);
    f.ListUtiles.setListIndex(c.selected[0]);
    for (Op op : c.ops) {
      int key = 46;
      switch (op) {
        case Up: f.CdeH_Click(); break;
        case Down: f.CdeB_Click(); break;
        case Delete: f.ListUtiles_KeyDown(key, 0); break;
        case Press: f.ListUtiles_MouseDown(1, 0, 0, 0); break;
      }
    }
    EXPECT_EQ(items(f), c.after);
    EXPECT_EQ(f.ListUtiles.ListIndex(), c.current);
    // Only a press, a move or a removal shows the current item.
    const bool shown = c.ops.front() == Press || c.after != QStringList({"a.gif", "b.gif", "c.gif"});
    EXPECT_EQ(f.WebBrowsgif.LocationURL(), folder_ + "/" + (shown ? c.after[c.current] : "a.gif"));
    EXPECT_EQ(f.CdeH.Enabled(), c.upOn);
    EXPECT_EQ(f.CdeB.Enabled(), c.downOn);
    if (c.ops.back() == Delete) {
      EXPECT_EQ(f.NbImages, 1);
      EXPECT_EQ(f.Caption(), "1 images gif - 50 maxi");
    }
    frmGifAnim.destroyNow();
    for (const char* n : {"a.gif", "b.gif", "c.gif"}) QFile::remove(folder_ + "/" + n);
  }
}

TEST_F(GifMaker, UntickingLoopRestoresTheFolderOrder) {
  FrmGifAnim& f = openFolder({"a.gif", "b.gif", "c.gif"});
  f.CdeB_Click();
  ASSERT_EQ(items(f), QStringList({"b.gif", "a.gif", "c.gif"}));
  f.Chkloop.setValue(0);
  EXPECT_EQ(items(f), QStringList({"a.gif", "b.gif", "c.gif"}));
}

// The frames follow the list; their names resolve against the chosen folder,
// whatever the current folder; the user's GIFs stay when the window closes.
TEST_F(GifMaker, FolderCreationFollowsTheListAndKeepsTheUsersFiles) {
  FrmGifAnim& f = openFolder({"a.gif", "b.gif", "c.gif"});
  f.CdeB_Click();  // b a c
  f.ChkAR.setValue(1);
  expectSavedBox();
  f.CdeCreGif_Click();
  ASSERT_EQ(saved().size(), 1);
  EXPECT_TRUE(saved()[0].startsWith("animgif"));
  EXPECT_EQ(f.CheminGif, gRepSauve + "/" + saved()[0]);
  EXPECT_TRUE(f.CdeUplGif.Enabled());
  EXPECT_FALSE(f.ListUtiles.Visible());
  EXPECT_EQ(f.MousePointer(), vb::vbArrow);
  EXPECT_EQ(f.WebBrowsgif.LocationURL(), f.CheminGif);
  EXPECT_EQ(f.WebBrowsgif.frameCount(), 6);

  QImageReader reader(f.CheminGif);
  const int reds[6] = {20, 10, 30, 30, 10, 20};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(qRed(reader.read().pixel(1, 1)), reds[k]) << k;

  vb::Unload(f);
  for (const char* n : {"a.gif", "b.gif", "c.gif"}) EXPECT_TRUE(QFile::exists(folder_ + "/" + n));
}

// The preview takes the new GIF's own screen (its largest frame width and
// height) and the window grows from it; wherever it stood, the window then lies
// within the screen, or starts at its top-left corner when it is larger.
TEST_F(GifMaker, ThePreviewFollowsTheGifsScreenAndTheWindowStaysOnTheScreen) {
  const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
  const QSize over = free.size() + QSize(120, 80);
  const struct {
    const char* name;
    std::vector<QSize> frames;
    int previewWidth, previewHeight, width, height;
  } cases[] = {
      {"300 x 100 and 200 x 250", {{300, 100}, {200, 250}}, 300 * 15 + 650, 250 * 15 + 700, 9000,
       250 * 15 + 700 + 2000},
      {"a preview 9000 twips wide or more", {{600, 80}, {20, 100}}, 600 * 15 + 650, 100 * 15 + 700,
       600 * 15 + 650 + 100, 100 * 15 + 700 + 2000},
      {"larger than the screen", {{over.width(), 40}, {40, over.height()}}, over.width() * 15 + 650,
       over.height() * 15 + 700, over.width() * 15 + 750, over.height() * 15 + 2700},
  };
  const int screenLeft = free.left() * 15, screenTop = free.top() * 15;
  const int screenRight = (free.x() + free.width()) * 15, screenBottom = (free.y() + free.height()) * 15;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FrmGifAnim& f = openFolder({"a.gif", "b.gif"}, c.frames);
    f.Move(screenRight - 3000, screenBottom - 2500);  // near the bottom-right corner
    expectSavedBox();
    f.CdeCreGif_Click();
    testenv::dialogs().verify();
    EXPECT_EQ(f.WebBrowsgif.Width(), c.previewWidth);
    EXPECT_EQ(f.WebBrowsgif.Height(), c.previewHeight);
    EXPECT_EQ(f.Width(), c.width);
    EXPECT_EQ(f.Height(), c.height);
    if (c.width <= screenRight - screenLeft && c.height <= screenBottom - screenTop) {
      EXPECT_GE(f.Left(), screenLeft);
      EXPECT_GE(f.Top(), screenTop);
      EXPECT_LE(f.Left() + f.Width(), screenRight);
      EXPECT_LE(f.Top() + f.Height(), screenBottom);
    } else {
      EXPECT_EQ(f.Left(), screenLeft);
      EXPECT_EQ(f.Top(), screenTop);
    }
    frmGifAnim.destroyNow();
    for (const QString& n : saved()) QFile::remove(gRepSauve + "/" + n);
  }
}

// A bad frame ends the creation with its message only: no saved message, the
// file of an earlier creation untouched, the upload button off, the pointer
// back; a truncated one also closes the window.
TEST_F(GifMaker, AFrameAtFaultEndsTheCreationCleanly) {
  const QByteArray good = frameFile(qRgb(1, 2, 3));
  const struct {
    const char* name;
    QByteArray second;  // null: the file goes after the listing
    QStringList messages;
    bool unloaded;
  } cases[] = {
      {"bad header", "GIF00a" + good.mid(6), {"Not a valid GIF file"}, false},
      {"shorter than a header", "GIF8", {"Error reading file", "Not a valid GIF file"}, false},
      {"no colour table", gifbuild::Gif().screen(2, 2, 0).descriptor(0, 0, 2, 2, 0)
                              .raw(gifbuild::imageData({0, 0, 0, 0})).trailer().bytes(),
       {"Not a valid GIF file"}, false},
      {"truncated", good.left(good.size() - 4), {"The GIF file is incomplete"}, true},
      {"cannot be opened", QByteArray(), {"A GIF frame cannot be opened"}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FrmGifAnim& f = openFolder({"a.gif", "b.gif"});
    // A first creation that works, within the same second as the next one.
    vb::setWallClock([] { return QDateTime(QDate(2026, 12, 11), QTime(10, 15, 0)); });
    expectSavedBox();
    f.CdeCreGif_Click();
    ASSERT_EQ(saved(), QStringList({"animgif101500.gif"}));
    const QByteArray first = readFile(f.CheminGif);
    const QString b = folder_ + "/b.gif";
    if (c.second.isNull()) QFile::remove(b);
    else {
      ASSERT_TRUE(write(b, c.second));
    }
    for (const QString& m : c.messages) testenv::dialogs().expectMsgBox(m, vb::vbOK);
    f.CdeCreGif_Click();
    testenv::dialogs().verify();
    // The message names the frame at fault.
    ASSERT_FALSE(testenv::dialogs().shown().empty());
    EXPECT_TRUE(testenv::dialogs().shown().back().text.endsWith("\r\n" + b));
    EXPECT_EQ(saved(), QStringList({"animgif101500.gif"}));
    EXPECT_EQ(readFile(gRepSauve + "/animgif101500.gif"), first);
    EXPECT_EQ(frmGifAnim.isLoaded(), !c.unloaded);
    if (!c.unloaded) {
      EXPECT_FALSE(f.CdeUplGif.Enabled());
      EXPECT_EQ(f.MousePointer(), vb::vbArrow);
    }
    frmGifAnim.destroyNow();
    QFile::remove(gRepSauve + "/animgif101500.gif");
  }
}

TEST_F(GifMaker, CaptureModeMakesAndRemovesOnlyItsOwnFrames) {
  const QRgb colours[3] = {qRgb(250, 0, 0), qRgb(0, 250, 0), qRgb(0, 0, 250)};
  for (int n = 1; n <= 3; ++n) {
    gTabNomCapt[size_t(n)] = QString("Captprov_10304500%1.bmp").arg(n);
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(colours[n - 1]);
    ASSERT_TRUE(img.save(gRepCapt + "/" + gTabNomCapt[size_t(n)], "BMP"));
  }
  gNbCapt = 3;
  ASSERT_TRUE(write(gRepCapt + "/mine.gif", frameFile(qRgb(5, 5, 5))));
  ASSERT_TRUE(write(gRepCapt + "/Capt11122026-101010.jpg", "jpeg bytes"));
  gGifDepuisCapt = true;

  FrmGifAnim& f = frmGifAnim();
  f.Show();
  EXPECT_EQ(f.NbImages, 3);
  EXPECT_FALSE(f.ListUtiles.Visible());
  EXPECT_FALSE(f.CdeH.Visible());
  const QString first = gRepCapt + "/Captprov_103045001.gif";
  EXPECT_EQ(f.TabImagesGif[0], first);
  EXPECT_TRUE(QFile::exists(first));
  EXPECT_EQ(f.WebBrowsgif.LocationURL(), first);

  expectSavedBox();
  f.CdeCreGif_Click();
  ASSERT_EQ(saved().size(), 1);
  QImageReader reader(f.CheminGif);
  EXPECT_EQ(reader.imageCount(), 3);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(reader.read().pixel(20, 15), colours[k]) << k;

  vb::Unload(f);
  const QStringList left = QDir(gRepCapt).entryList(QDir::Files, QDir::Name);
  EXPECT_EQ(left, QStringList({"Capt11122026-101010.jpg", "Captprov_103045001.bmp",
                               "Captprov_103045002.bmp", "Captprov_103045003.bmp", "mine.gif"}));
  EXPECT_EQ(saved().size(), 1);  // the animation stays
}

// The upload button starts Postelle from our own folder with the GIF's path
// as its one argument.
TEST_F(GifMaker, UploadHandsTheGifToPostelle) {
  side_.folder = testenv::home() + "/bin";
  ASSERT_TRUE(QDir().mkpath(side_.folder));
  const QString got = testenv::home() + "/postelle-args.txt";
  const QString script = side_.folder + "/Postelle";
  ASSERT_TRUE(write(script, ("#!/bin/sh\nprintf '%s|' \"$@\" > '" + got + ".part' && mv '" + got +
                             ".part' '" + got + "'\n").toUtf8()));
  QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

  FrmGifAnim& f = openFolder({"a.gif", "b.gif"});
  expectSavedBox();
  f.CdeCreGif_Click();
  f.CdeUplGif_Click();
  ASSERT_TRUE(testsupport::waitFor([&] { return QFile::exists(got); }, 5000));
  QFile args(got);
  ASSERT_TRUE(args.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(args.readAll()), f.CheminGif + "|");

  f.CdeAideGif_Click();
  EXPECT_EQ(side_.tutorials, 1);
}
