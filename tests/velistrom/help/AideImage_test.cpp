// The three picture help windows and the short message window.
#include "velistrom/help/AideImage.h"
#include "velistrom/help/FrmAidOpt.h"
#include "velistrom/help/FrmAidfn.h"
#include "velistrom/help/FrmDialTemp.h"
#include "velistrom/help/Frmaidfv.h"
#include "velistrom/help/MainSide.h"
#include "velistrom/core/GlobTextes.h"

#include <gtest/gtest.h>

namespace {

struct ColouredMain : help::MainSide {
  void restartPeriodicIfSelected() override {}
  void envoimail() override {}
  vb::Color mainBackColor() override { return 0x00C0FFFF; }
};

class AideImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gLng092 = "Keys";
    gLng093 = "Thumbnails";
    gLng094 = "Options";
    gLng095 = "Click to close";
    gLng241 = "Saved";
    gLng242 = "Velistrom";
  }
  void TearDown() override {
    for (vb::DefaultInstanceBase* d :
         std::initializer_list<vb::DefaultInstanceBase*>{&frmAidfn, &frmAidfv, &frmAidOpt, &frmDialTemp})
      d->destroyNow();
    help::setMainSide(nullptr);
  }
};

// Each window: its caption, and its picture control as a plain control.
template <class F, class P>
void CheckLoaded(F& form, P& picture, const QString& caption) {
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(form.Caption(), caption);
  EXPECT_EQ(picture.ToolTipText(), "Click to close");
  EXPECT_GT(picture.Width(), 0);
  EXPECT_EQ(form.Height(), picture.Height() + 400);
  EXPECT_EQ(form.Width(), picture.Width() + 100);
}

TEST_F(AideImageTest, ReferringLoadsEachWindowSizedToItsPictureButHidden) {
  CheckLoaded(frmAidfn(), frmAidfn().PicaidFN, "Keys");
  CheckLoaded(frmAidfv(), frmAidfv().Picaidfv, "Thumbnails");
  CheckLoaded(frmAidOpt(), frmAidOpt().PicAidOpt, "Options");
}

TEST_F(AideImageTest, AClickOnThePictureClosesTheWindow) {
  frmAidfn().Show();
  frmAidfn().PicaidFN.onClick();
  EXPECT_FALSE(frmAidfn.isLoaded());
  frmAidfv().Show();
  frmAidfv().Picaidfv.onClick();
  EXPECT_FALSE(frmAidfv.isLoaded());
  frmAidOpt().Show();
  frmAidOpt().PicAidOpt.onClick();
  EXPECT_FALSE(frmAidOpt.isLoaded());
}

TEST_F(AideImageTest, AHotkeyUnloadsTheVisibleOnesAndLeavesTheOthersLoaded) {
  frmAidfv().Show();
  help::FermerAidesImages();
  EXPECT_FALSE(frmAidfv.isLoaded());
  // Asking whether the others were visible loaded them, hidden.
  EXPECT_TRUE(frmAidfn.isLoaded());
  EXPECT_TRUE(frmAidOpt.isLoaded());
  EXPECT_FALSE(frmAidfn().Visible());
}

TEST_F(AideImageTest, TheShortMessageTakesTheMainColourAndItsTimerClosesIt) {
  ColouredMain main;
  help::setMainSide(&main);
  FrmDialTemp& d = frmDialTemp();
  EXPECT_EQ(d.BackColor(), 0x00C0FFFF);
  EXPECT_EQ(d.LabAffich.Caption(), "Saved");
  EXPECT_EQ(d.Caption(), "Velistrom");
  EXPECT_EQ(d.Timer1.Interval(), 2000);
  EXPECT_TRUE(d.Timer1.Enabled());
  d.Show();
  d.Timer1_Timer();
  EXPECT_FALSE(frmDialTemp.isLoaded());
}

}  // namespace
