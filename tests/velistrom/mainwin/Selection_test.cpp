// Choosing a capture in the thumbnail window: the view of its kind, the zoom
// entry, the window's size and place, the caption, the size text, the one
// bordered thumbnail, the clipboard, and the editor's watch.
#include "tests/velistrom/mainwin/ShowFixture.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

using showfix::plain;
using showfix::rgb;
namespace cb = platform::clipboard;

class Selection : public showfix::Show {
 protected:
  void SetUp() override {
    Show::SetUp();
    Labtaille("first size");
    addRegion(plain(400, 100, Qt::red));
    Labtaille("second size");
    addScreen(plain(64, 48, Qt::blue));
    Labtaille("third size");
    addRegion(plain(30, 20, Qt::green));
  }
  void Labtaille(const QString& text) { m().Labtaille.setCaption(text); }
  // This test program stands for a running editor.
  static QString ownName() { return QFileInfo(QCoreApplication::applicationFilePath()).fileName(); }
};

TEST_F(Selection, ARegionCaptureShowsAtItsOwnSizeAtOneHundredPerCent) {
  m().ImgTTscreen.setVisible(true);
  fl().clickimage1(1, false);

  EXPECT_TRUE(m().Picture2.Visible());
  EXPECT_FALSE(m().ImgTTscreen.Visible());
  EXPECT_TRUE(m().StatusBar1.Visible());
  EXPECT_EQ(rgb(m().Picture2S.Picture()), plain(400, 100, Qt::red));
  EXPECT_EQ(m().Picture2.Width(), gTabLargCapt[1]);
  EXPECT_EQ(m().Picture2.Height(), gTabHautCapt[1]);
  EXPECT_EQ(m().Picture2.Left(), 50);
  EXPECT_EQ(m().Picture2.Top(), 500);
  EXPECT_EQ(m().Width(), gTabPos[1]);
  EXPECT_EQ(m().Height(), gTabHautPlus[1]);
  EXPECT_EQ(m().Left(), vb::Screen.Width() - m().Width());
  EXPECT_EQ(checkedZoom(), 3);
  EXPECT_EQ(gModeCapt, "z");
  EXPECT_EQ(m().Caption(), "Capture1/3");
  EXPECT_EQ(m().Labtaille.Caption(), "first size");
  EXPECT_EQ(bordered(), 1);
  EXPECT_EQ(fl().Image1[1].BorderStyle(), 1);
  EXPECT_EQ(rgb(cb::picture()), plain(400, 100, Qt::red));
  EXPECT_EQ(gNumCapt, 1);
  EXPECT_FALSE(gAgrandi);
}

TEST_F(Selection, AWholeScreenCaptureShowsAtOneOverOnePointSevenOfTheScreen) {
  // The kind comes from the record: a row label that happens to read like the
  // whole-screen word decides nothing.
  fl().Lbldim[3].setCaption("03 Screen");
  fl().clickimage1(3, false);
  EXPECT_TRUE(m().Picture2.Visible()) << "a region, whatever its label says";

  fl().clickimage1(2, false);
  EXPECT_FALSE(m().Picture2.Visible());
  EXPECT_TRUE(m().ImgTTscreen.Visible());
  EXPECT_EQ(rgb(m().Picture1.Picture()), plain(64, 48, Qt::blue));
  EXPECT_EQ(centre(m().ImgTTscreen.Picture()), qRgb(0, 0, 255));
  EXPECT_EQ(m().ImgTTscreen.Width(), int(vb::Screen.Width() / 1.7));
  EXPECT_EQ(m().ImgTTscreen.Height(), int(vb::Screen.Height() / 1.7));
  EXPECT_EQ(m().ImgTTscreen.Left(), 50);
  EXPECT_EQ(m().ImgTTscreen.Top(), 500);
  EXPECT_EQ(m().Width(), m().ImgTTscreen.Width() + 180);
  EXPECT_EQ(m().Height(), m().ImgTTscreen.Height() + 1400);
  EXPECT_EQ(checkedZoom(), 2);
  EXPECT_EQ(gModeCapt, "e");
  EXPECT_EQ(centre(fl().Image1[2].Image()), qRgb(0, 0, 255)) << "the thumbnail redrawn from the full picture";
  EXPECT_EQ(m().Labtaille.Caption(), "second size");
  EXPECT_EQ(bordered(), 1);
  EXPECT_EQ(fl().Image1[2].BorderStyle(), 1);
  EXPECT_EQ(rgb(cb::picture()), plain(64, 48, Qt::blue)) << "the full-size picture";
}

TEST_F(Selection, AWholeScreenCaptureAtPositionOneHundredIsStillOne) {
  // Its label reads "100 Screen": the word no longer starts at the fourth character.
  for (int i = gNbCapt + 1; i <= 99; ++i) add(Qt::red, 4, 3);
  addScreen(plain(64, 48, Qt::blue));
  ASSERT_EQ(fl().Lbldim[100].Caption(), "100 Screen");
  fl().clickimage1(100, false);
  EXPECT_TRUE(m().ImgTTscreen.Visible());
  EXPECT_FALSE(m().Picture2.Visible());
  EXPECT_EQ(gModeCapt, "e");
  // F5 treats it as a whole-screen capture too: its label and sizes stay.
  int f5 = 116;
  m().Form_KeyDown(f5, 0);
  EXPECT_EQ(fl().Lbldim[100].Caption(), "100 Screen");
  EXPECT_EQ(gTabLargCapt[100], 64 * 15);
}

TEST_F(Selection, TheCaptionNamesTheSavedFileOnlyWhileNoEditorRuns) {
  gTabSauv[1] = "/home/me/Pictures/Capt_001.png";
  fl().PictSave[1].setVisible(true);
  struct Case {
    int capture;
    bool editor;
    const char* caption;
    bool savedMark;
  } cases[] = {
      {1, false, "Capture1/3 > /home/me/Pictures/Capt_001.png", true},
      {1, true, "Capture1/3", true},
      {3, false, "Capture3/3", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    gNomExeEdit = c.editor ? ownName() : QString();
    fl().clickimage1(c.capture, false);
    EXPECT_EQ(m().Caption(), c.caption);
    EXPECT_EQ(m().PictSave.Visible(), c.savedMark);
  }
}

TEST_F(Selection, AnotherCaptureStopsTheEditorWatchButLeavesTheEditorRunning) {
  gNomExeEdit = ownName();
  struct Case {
    int capture;
    bool watchRuns;
  } cases[] = {{3, true}, {1, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.capture);
    m().TimPaint.setEnabled(true);
    fl().clickimage1(c.capture, false);
    EXPECT_EQ(m().TimPaint.Enabled(), c.watchRuns);
    EXPECT_FALSE(vb::programEnded()) << "the editor (here, this program) is never ended";
  }
  m().TimPaint.setEnabled(false);
}

TEST_F(Selection, AMissingBitmapIsToldAndTheViewStays) {
  fl().clickimage1(3, false);
  ASSERT_TRUE(QFile::remove(FrmMain::CheminTemp(1)));
  testenv::dialogs().expectMsgBox("Cannot read the picture", vb::vbOK);
  fl().clickimage1(1, false);
  testenv::dialogs().verify();
  EXPECT_EQ(gNumCapt, 3);
  EXPECT_EQ(rgb(m().Picture2S.Picture()), plain(30, 20, Qt::green));
  EXPECT_EQ(fl().Image1[3].BorderStyle(), 1);
}

}  // namespace
