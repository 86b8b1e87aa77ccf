// The thumbnail window's own behaviour: slider layout, hover, docking, the GIF
// button marquee and the refused close.
#include "tests/velistrom/mainwin/CaptureFixture.h"
#include "velistrom/gifmaker/FrmGifAnim.h"
#include "platform/forms/Runtime.h"

#include <QFontMetrics>
#include <functional>

namespace {

using captfix::CaptureList;

TEST_F(CaptureList, SliderPutsTheChosenRowOnTopAndParksTheOnesAbove) {
  for (int i = 0; i < 8; ++i) add(QColor(i * 30, 0, 0), 40, 30);
  fl().Vscroll1.setValue(5);
  fl().Vscroll1_Change();
  for (int i = 1; i <= 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(fl().Image1[i].Top(), -1500);
    EXPECT_EQ(fl().Gimage1[i].Top(), -1900);
    EXPECT_EQ(fl().Lbldim[i].Top(), -1420);
    EXPECT_EQ(fl().Txtordre[i].Top(), -970);
    EXPECT_EQ(fl().Chkmail[i].Top(), -1500);
    EXPECT_EQ(fl().PictSave[i].Top(), -1500);
  }
  EXPECT_EQ(fl().Image1[5].Top(), 800);
  EXPECT_EQ(fl().Lbldim[5].Top(), 880);
  EXPECT_EQ(fl().Txtordre[5].Top(), 1330);
  EXPECT_EQ(fl().Chkmail[5].Top(), 880 + 345 + 100);
  EXPECT_EQ(fl().Gimage1[5].Top(), 800);
  EXPECT_EQ(fl().Image1[8].Top(), 6200);
  EXPECT_EQ(fl().Height(), 6200 + fl().Gimage1[8].Height() + 800);
  for (int i = 1; i <= 8; ++i) EXPECT_TRUE(fl().Image1[i].Visible());
}

TEST_F(CaptureList, HoverShowsTheEnlargedCopyAndItsEdgesGiveTheThumbnailBack) {
  add(Qt::red, 40, 30);
  add(Qt::green, 30, 60);
  fl().Image1_MouseMove(2, 0, 0, 10, 10);
  EXPECT_TRUE(fl().Gimage1[2].Visible());
  EXPECT_FALSE(fl().Image1[2].Visible());
  EXPECT_TRUE(fl().Lbldim[2].FontBold());
  EXPECT_EQ(fl().Lbldim[2].Top(), fl().Gimage1[2].Top() - 250);
  EXPECT_TRUE(fl().LblcheckHlp.Visible());
  EXPECT_EQ(fl().LblcheckHlp.Caption(), "Click to show");
  EXPECT_FALSE(fl().TimerCache.Enabled());

  // Inside the copy nothing changes; within 50 twips of its edge it goes.
  fl().Gimage1_MouseMove(2, 0, 0, 100, 400);
  EXPECT_TRUE(fl().Gimage1[2].Visible());
  fl().Gimage1_MouseMove(2, 0, 0, 100, 20);
  EXPECT_FALSE(fl().Gimage1[2].Visible());
  EXPECT_TRUE(fl().Image1[2].Visible());
  EXPECT_FALSE(fl().Lbldim[2].FontBold());

  // Hovering another row resets the first.
  fl().Image1_MouseMove(2, 0, 0, 10, 10);
  fl().Image1_MouseMove(1, 0, 0, 10, 10);
  EXPECT_FALSE(fl().Gimage1[2].Visible());
  EXPECT_TRUE(fl().Image1[2].Visible());
  EXPECT_EQ(fl().Lbldim[2].Top(), fl().Image1[2].Top() + 80);

  fl().Chkmail_MouseMove(1, 0, 0, 0, 0);
  EXPECT_EQ(fl().LblcheckHlp.Caption(), "Tick to mail");
  fl().Form_MouseMove(0, 0, 0, 0);
  EXPECT_FALSE(fl().LblcheckHlp.Visible());
  EXPECT_FALSE(fl().Gimage1[1].Visible());
}

TEST_F(CaptureList, SmallEnlargedCopiesNeverHideOnTheirEdges) {
  add(Qt::red, 400, 20);  // a flat strip: copy 1.7 x 73 = 124 twips high
  ASSERT_LE(fl().Gimage1[1].Height(), 300);
  fl().Image1_MouseMove(1, 0, 0, 10, 10);
  fl().Gimage1_MouseMove(1, 0, 0, 10, 5);
  EXPECT_TRUE(fl().Gimage1[1].Visible());
}

// Slid off to the left: the window's right end stays on the screen, at least
// its last 50 twips, and the strip the pointer brings it back with reaches
// the screen's left edge (nothing of the window but the strip shows).
void expectSlidOff(const Flistimages& f) {
  EXPECT_LT(f.Left(), 0);
  EXPECT_GE(f.Left() + f.Width(), 50) << "the rightmost 50 twips stay on the screen";
  EXPECT_LE(f.PictBande.widget()->mapToGlobal(QPoint(0, 0)).x(), 0) << "the strip reaches the screen's edge";
  EXPECT_EQ(f.PictBande.widget()->mapToGlobal(QPoint(f.PictBande.widget()->width() - 1, 0)).x(),
            f.widget()->mapToGlobal(QPoint(f.widget()->width() - 1, 0)).x())
      << "and ends at the window's right edge";
}

TEST_F(CaptureList, DockingSlidingAndComingBack) {
  add(Qt::red);
  EXPECT_EQ(fl().Left(), 0);
  EXPECT_TRUE(fl().TimerCache.Enabled());
  fl().Labflech_MouseMove(0, 0, 0, 0);
  {
    SCOPED_TRACE("arrow");
    expectSlidOff(fl());
  }
  fl().Form_MouseMove(0, 0, 0, 0);
  EXPECT_EQ(fl().Left(), 0);
  fl().TimerCache.tick();
  {
    SCOPED_TRACE("40 s timer");
    expectSlidOff(fl());
  }
  // The strip at the right edge is the window's surface for the pointer.
  ASSERT_TRUE(fl().PictBande.onMouseMove);
  fl().PictBande.onMouseMove(0, 0, 10, 10);
  EXPECT_EQ(fl().Left(), 0);
  EXPECT_EQ(fl().PictBande.Left() + fl().PictBande.Width(), int(fl().ScaleWidth()));

  // With periodic capture running a new capture does not pull it back.
  fl().Glisser();
  m().MnuCaptper.setChecked(true);
  add(Qt::green);
  EXPECT_LT(fl().Left(), -3000);  // (the offscreen platform nudges a resized window by a few pixels)
}

TEST_F(CaptureList, MinimisedWindowIsNeitherResizedNorShownByANewCapture) {
  add(Qt::red);
  fl().Hide();
  fl().setWindowState(vb::vbMinimized);
  const int h = fl().Height(), left = fl().Left();
  add(Qt::green);
  EXPECT_EQ(fl().Height(), h);
  EXPECT_FALSE(fl().Visible());
  // Nor does the slide-off timer move it.
  fl().TimerCache.tick();
  EXPECT_EQ(fl().Left(), left);
}

TEST_F(CaptureList, GifButtonMarqueeTurnsOneCharacterPerTick) {
  // The 100 ms timer ticks only when the clock is stepped, not while a
  // loaded machine spends that long in add().
  vb::setSteppedClock(QDateTime(QDate(2026, 3, 4), QTime(9, 0)));
  add(Qt::red);
  EXPECT_EQ(fl().LabGif.Caption(), "Make a GIF          ");
  EXPECT_EQ(fl().LabGif.ToolTipText(), "GIF maker");
  EXPECT_EQ(fl().Txtordre[1].ToolTipText(), "Type a position");
  EXPECT_EQ(fl().TimGif.Interval(), 100);
  EXPECT_TRUE(fl().TimGif.Enabled());
  vb::stepClock(99);
  EXPECT_EQ(fl().LabGif.Caption(), "Make a GIF          ");
  vb::stepClock(1);
  EXPECT_EQ(fl().LabGif.Caption(), "ake a GIF          M");
  vb::stepClock(100 * 19);
  EXPECT_EQ(fl().LabGif.Caption(), "Make a GIF          ") << "twenty ticks: the whole turn";
  fl().TimGif_Timer();
  EXPECT_EQ(fl().LabGif.Caption(), "ake a GIF          M");
  for (int k = 1; k < 20; ++k) fl().TimGif_Timer();
  EXPECT_EQ(fl().LabGif.Caption(), "Make a GIF          ");

  testenv::dialogs().expectMsgBox("Two captures at least", vb::vbOK);
  fl().LabGif_Click();
  testenv::dialogs().verify();
  EXPECT_FALSE(gifmaker::frmGifAnim.isLoaded());
  EXPECT_FALSE(gGifDepuisCapt);
  add(Qt::green);
  fl().LabGif_Click();
  EXPECT_TRUE(gGifDepuisCapt);
  // The maker opens on the two captures, converted beside their bitmaps.
  gifmaker::FrmGifAnim* maker = gifmaker::frmGifAnim.existing();
  ASSERT_NE(maker, nullptr);
  EXPECT_TRUE(maker->Visible());
  EXPECT_EQ(maker->NbImages, 2);
  EXPECT_EQ(maker->TabImagesGif[1], gRepCapt + "/" + captfix::fileName(2).replace(".bmp", ".gif"));
  EXPECT_TRUE(QFile::exists(maker->TabImagesGif[1]));
  gifmaker::frmGifAnim.destroyNow();
}

TEST_F(CaptureList, TheWindowClosesOnlyWhenTheProgramQuits) {
  add(Qt::red);
  EXPECT_FALSE(vb::Unload(fl()));
  EXPECT_NE(flistimages.existing(), nullptr);
  gQuitter = true;
  EXPECT_TRUE(vb::Unload(flistimages()));
  EXPECT_EQ(flistimages.existing(), nullptr);
  gQuitter = false;
}

TEST_F(CaptureList, RightPressSelectsThenAsksForTheCaptureMenu) {
  add(Qt::red);
  add(Qt::green);
  int menus = 0;
  fl().onCaptureMenu = [&] { ++menus; };
  // Each gesture selects its capture; the double click and the click on the
  // enlarged copy also bring a minimised main window back.
  struct Step {
    std::function<void()> gesture;
    int selected, menus;
    bool restores;
  } steps[] = {
      {[&] { fl().Image1_MouseDown(1, 1, 0, 0, 0); }, 1, 0, false},
      {[&] { fl().Gimage1_MouseDown(2, 2, 0, 0, 0); }, 2, 1, false},
      {[&] { fl().Image1_DblClick(1); }, 1, 1, true},
      {[&] { fl().Gimage1_Click(2); }, 2, 1, true},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.selected);
    m().setWindowState(vb::vbMinimized);
    gNumCapt = 0;
    s.gesture();
    EXPECT_EQ(gNumCapt, s.selected);
    EXPECT_EQ(menus, s.menus);
    EXPECT_EQ(m().WindowState(), s.restores ? vb::vbNormal : vb::vbMinimized);
  }
}

}  // namespace

namespace {

using captfix::CaptureList;

TEST_F(CaptureList, ALongHelpTextShowsWhole) {
  add(Qt::red, 40, 30);
  gLng195 = QString("Click: show this capture. Double-click: show it and bring back the main window. "
                    "Right click: capture menu.");
  fl().Image1_MouseMove(1, 0, 0, 10, 10);
  const vb::Label& aide = fl().LblcheckHlp;
  EXPECT_EQ(aide.Width(), 2700) << "it grows down, not across";
  const QRect texte = QFontMetrics(aide.Font()).boundingRect(
      QRect(0, 0, aide.widget()->width(), 100000), Qt::TextWordWrap, gLng195);
  EXPECT_GE(aide.widget()->height(), texte.height());
}

TEST_F(CaptureList, ActivationSetsTheSliderFromTheCount) {
  fl().Frame1.setHeight(1234);
  fl().Form_Activate();  // no capture yet
  EXPECT_FALSE(fl().Vscroll1.Enabled());
  EXPECT_EQ(fl().Labscroll.Caption(), "0");
  EXPECT_EQ(fl().Frame1.Height(), 1234);
  EXPECT_TRUE(fl().Visible());

  add(Qt::red);
  fl().Form_Activate();
  EXPECT_FALSE(fl().Vscroll1.Enabled());
  EXPECT_EQ(fl().Labscroll.Caption(), "1");
  // The frame reaches below the row and to 1000 twips above the window's foot.
  EXPECT_EQ(fl().Height(), fl().widget()->frameGeometry().height() * 15);
  EXPECT_GE(fl().Frame1.Height(), fl().Height() - 1000);
  EXPECT_GT(fl().Frame1.Height(), fl().BasRangee(1));

  add(Qt::green);
  add(Qt::blue);
  fl().Form_Activate();
  EXPECT_TRUE(fl().Vscroll1.Enabled());
  EXPECT_EQ(fl().Vscroll1.Max(), 3);
  EXPECT_EQ(fl().Labscroll.Caption(), "3");
  // The slider column stays clear of the strip at the right edge.
  EXPECT_LE(fl().Vscroll1.Left() + fl().Vscroll1.Width(), fl().PictBande.Left());
  EXPECT_GE(fl().Vscroll1.Left(), fl().Labflech.Left() + fl().Labflech.Width());
  EXPECT_LE(fl().Labscroll.Left() + fl().Labscroll.Width(), fl().PictBande.Left()) << "the count stays readable";
}

}  // namespace

namespace {

// A wide capture gives a shallow thumbnail; the label, position box and mail
// tick beside it must still lie inside the frame and the window.
TEST_F(CaptureList, TheLastRowOfWideCapturesIsWhole) {
  for (auto [w, h] : {std::pair{420, 110}, std::pair{1900, 40}, std::pair{40, 300}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    for (int k = 0; k < 2; ++k) add(Qt::blue, w, h);
    fl().Form_Activate();
    const int n = gNbCapt;
    const int bas = fl().Frame1.Top() + fl().BasRangee(n);
    EXPECT_GE(fl().BasRangee(n), fl().Txtordre[n].Top() + fl().Txtordre[n].Height());
    EXPECT_GE(fl().BasRangee(n), fl().Chkmail[n].Top() + fl().Chkmail[n].Height());
    EXPECT_LE(fl().BasRangee(n), fl().Frame1.Height()) << "inside the frame";
    EXPECT_LE(bas, int(fl().ScaleHeight())) << "inside the window";
    int avecMess = 0;
    m().Supprimertout(avecMess);
  }
}

}  // namespace
