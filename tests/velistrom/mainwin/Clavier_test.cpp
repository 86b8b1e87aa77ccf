// The main window's keys: F5 reloads the current capture from its own
// temporary bitmap into the view, the row and the record; Delete is toolbar
// button 9 whatever the modifiers; Ctrl alone with Q quits.
#include "tests/velistrom/mainwin/ShowFixture.h"

#include <QFile>

namespace {

using showfix::plain;
using showfix::rgb;

class Clavier : public showfix::Show {
 protected:
  void press(int key, int shift = 0) { m().Form_KeyDown(key, shift); }
  void onlyZoom(int index) {
    for (int i = 0; i < 5; ++i) m().mnuzoomX[i].setChecked(i == index);
  }
};

TEST_F(Clavier, F5BeforeAnyCaptureDoesNothing) {
  m().MnuRaff.setVisible(true);
  m().Picture2.setPicture(plain(10, 10, Qt::red));
  press(116);
  EXPECT_TRUE(m().MnuRaff.Visible());
  EXPECT_EQ(rgb(m().Picture2.Picture()), plain(10, 10, Qt::red));
}

TEST_F(Clavier, F5ShowsARegionCaptureRewrittenAtANewSizeAtTheZoomInForce) {
  const double facteurs[] = {0.25, 0.5, 0.75, 1.0, 2.0};
  for (int zoom : {3, 0}) {
    SCOPED_TRACE(zoom);
    capt::resetList();
    addRegion(plain(40, 30, Qt::red));
    rewrite(1, plain(60, 40, Qt::blue));
    onlyZoom(zoom);
    m().MnuRaff.setVisible(true);
    press(116);

    EXPECT_EQ(rgb(m().Picture2S.Picture()), plain(60, 40, Qt::blue));
    EXPECT_EQ(centre(m().Picture2.Image()), qRgb(0, 0, 255));
    EXPECT_EQ(m().Picture2.Width(), int(900 * facteurs[zoom]));
    EXPECT_EQ(checkedZoom(), zoom);
    EXPECT_EQ(centre(fl().Image1[1].Image()), qRgb(0, 0, 255));
    EXPECT_EQ(centre(fl().Gimage1[1].Image()), qRgb(0, 0, 255));
    EXPECT_EQ(fl().Lbldim[1].Caption(), "01/  60 x 40");
    EXPECT_EQ(gTabLargCapt[1], 900);
    EXPECT_EQ(gTabHautCapt[1], 600);
    if (zoom == 3) {
      EXPECT_EQ(gTabPos[1], m().Width());
      EXPECT_EQ(gTabHautPlus[1], m().Height());
    }
    EXPECT_FALSE(m().MnuRaff.Visible());
  }
}

TEST_F(Clavier, F5OnAWholeScreenCaptureRedrawsTheViewButKeepsTheLabelAndTheRecordedSize) {
  addScreen(plain(64, 48, Qt::red));
  fl().clickimage1(1, false);
  ASSERT_EQ(checkedZoom(), 2);
  rewrite(1, plain(80, 60, Qt::green));
  press(116);

  EXPECT_EQ(rgb(m().Picture2S.Picture()), plain(80, 60, Qt::green)) << "the full-size picture";
  EXPECT_EQ(m().ImgTTscreen.Width(), int(80 * 15 * 0.75)) << "75 per cent of the full-size picture";
  EXPECT_EQ(centre(m().ImgTTscreen.Picture()), qRgb(0, 255, 0));
  EXPECT_EQ(centre(fl().Image1[1].Image()), qRgb(0, 255, 0));
  EXPECT_EQ(centre(fl().Gimage1[1].Image()), qRgb(0, 255, 0));
  EXPECT_EQ(checkedZoom(), 2);
  EXPECT_EQ(fl().Lbldim[1].Caption(), "01 Screen");
  EXPECT_EQ(gTabLargCapt[1], 64 * 15);
  EXPECT_EQ(gTabHautCapt[1], 48 * 15);
}

TEST_F(Clavier, F5AfterChoosingAnOlderCaptureReloadsThatCaptureNotTheNewest) {
  addRegion(plain(40, 30, Qt::red));
  addRegion(plain(60, 40, Qt::green));
  ASSERT_EQ(m().CheminCapt, FrmMain::CheminTemp(2));
  fl().clickimage1(1, false);
  press(116);
  EXPECT_EQ(rgb(m().Picture2S.Picture()), plain(40, 30, Qt::red));
  EXPECT_EQ(gTabLargCapt[1], 600);
  EXPECT_EQ(fl().Lbldim[1].Caption(), "01/  40 x 30");
  EXPECT_EQ(centre(fl().Image1[1].Image()), qRgb(255, 0, 0));
  EXPECT_EQ(centre(fl().Image1[2].Image()), qRgb(0, 255, 0));
  EXPECT_EQ(gTabLargCapt[2], 900);
}

TEST_F(Clavier, F5OnABitmapThatIsGoneSaysSoAndChangesNothing) {
  addRegion(plain(40, 30, Qt::red));
  ASSERT_TRUE(QFile::remove(FrmMain::CheminTemp(1)));
  m().MnuRaff.setVisible(true);
  const int pos = gTabPos[1], plus = gTabHautPlus[1];
  testenv::dialogs().expectMsgBox("Cannot read the picture", vb::vbOK);
  press(116);
  testenv::dialogs().verify();
  EXPECT_EQ(rgb(m().Picture2S.Picture()), plain(40, 30, Qt::red));
  EXPECT_EQ(centre(fl().Image1[1].Image()), qRgb(255, 0, 0));
  EXPECT_EQ(fl().Lbldim[1].Caption(), "01/  40 x 30");
  EXPECT_EQ(gTabLargCapt[1], 600);
  EXPECT_EQ(gTabPos[1], pos);
  EXPECT_EQ(gTabHautPlus[1], plus);
  EXPECT_TRUE(m().MnuRaff.Visible());
}

TEST_F(Clavier, DeleteAndCtrlQWithTheirModifiers) {
  gLng115 = "Save the captures before quitting?";
  struct Case {
    int key, shift;
    const char* box;  // the question the key leads to, or none
  } cases[] = {
      {46, 0, "Delete every capture?"}, {46, 1, "Delete every capture?"},
      {46, 2, "Delete every capture?"}, {46, 4, "Delete every capture?"},
      {81, 2, "Save the captures before quitting?"},
      {81, 3, nullptr}, {81, 0, nullptr}, {81, 6, nullptr}, {27, 0, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.key) + " " + std::to_string(c.shift));
    if (gNbCapt == 0) addRegion(plain(40, 30, Qt::red));
    addRegion(plain(40, 30, Qt::green));
    gNumCapt = 1;
    const int before = gNbCapt;
    // Cancel keeps the captures and the program: what matters is who asked.
    if (c.box) testenv::dialogs().expectMsgBox(c.box, vb::vbCancel);
    press(c.key, c.shift);
    testenv::dialogs().verify();
    EXPECT_EQ(gNbCapt, before) << "never only the current capture";
    EXPECT_FALSE(vb::programEnded());
  }
}

}  // namespace
