// The Tools menu's GIF maker on a folder of GIF files: the notice, the folder
// dialog, and the maker opened on the folder the dialog was closed in.
#include "tests/velistrom/mainwin/CaptureFixture.h"
#include "tests/velistrom/gifmaker/GifBuilder.h"
#include "velistrom/gifmaker/FrmGifAnim.h"

using captfix::CaptureList;

namespace {

class GifFolderMenu : public CaptureList {
 protected:
  void SetUp() override {
    CaptureList::SetUp();
    gLng257 = "Go to the GIF folder";
    gLng270 = "Choose a folder of GIF files next";
    gLng271 = "Animated GIF";
    folder_ = testenv::home() + "/my gifs";
    ASSERT_TRUE(QDir().mkpath(folder_));
    for (const char* name : {"b.gif", "a.gif", "animgif120000.gif"}) {
      QFile f(folder_ + "/" + name);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(gifbuild::simple(4, 4, {qRgb(9, 9, 9)}, std::vector<std::uint8_t>(16, 0), 0));
    }
    gGifDepuisCapt = true;
  }
  void TearDown() override {
    gifmaker::frmGifAnim.destroyNow();
    gifmaker::gDossierGif.clear();
    CaptureList::TearDown();
  }
  QString folder_;
};

}  // namespace

TEST_F(GifFolderMenu, CancelOnTheNoticeOrTheDialogShowsNoMaker) {
  testenv::dialogs().expectMsgBox("Choose a folder of GIF files next", vb::vbCancel);
  m().mnuFabGif_Click();
  testenv::dialogs().verify();
  EXPECT_FALSE(gGifDepuisCapt);

  testenv::dialogs().expectMsgBox("Choose a folder of GIF files next", vb::vbOK);
  testenv::dialogs().expectFileDialog(1, "Go to the GIF folder", std::nullopt);
  m().mnuFabGif_Click();
  testenv::dialogs().verify();
  EXPECT_FALSE(gifmaker::frmGifAnim.isLoaded());
  // The dialog raises no error on cancel for the other commands.
  EXPECT_FALSE(m().CDlg1.CancelError());
}

TEST_F(GifFolderMenu, TheMakerListsTheFolderTheDialogWasClosedIn) {
  testenv::dialogs().expectMsgBox("Choose a folder of GIF files next", vb::vbOK);
  testenv::dialogs().expectFileDialog(1, "Images (gif)|*.gif", folder_ + "/navigate");
  m().mnuFabGif_Click();
  gifmaker::FrmGifAnim* maker = gifmaker::frmGifAnim.existing();
  ASSERT_NE(maker, nullptr);
  EXPECT_TRUE(maker->Visible());
  EXPECT_EQ(maker->FichdossCapt.Path(), folder_);
  ASSERT_EQ(maker->ListUtiles.ListCount(), 2);
  EXPECT_EQ(maker->ListUtiles.List(0), "a.gif");
  EXPECT_EQ(maker->ListUtiles.List(1), "b.gif");
  EXPECT_TRUE(maker->ListUtiles.Visible());
}
