// The two web-page windows without a page: where they go on the screen, the
// fallback when no view can be made, and Ctrl+Q on the news window.
#include "velistrom/help/FrmActua.h"
#include "velistrom/help/FrmBrows.h"
#include "velistrom/help/WebGeom.h"

#include "platform/Clipboard.h"
#include "platform/WebView.h"
#include "platform/forms/Runtime.h"
#include "tests/support/ScriptedDialogs.h"
#include "velistrom/core/GlobTextes.h"

#include <gtest/gtest.h>

namespace {

TEST(WebGeom, WindowsFollowTheScreenSize) {
  EXPECT_EQ(help::GeomBrows(15360, 11520), QRect(500, 1000, 14360, 10520));
  EXPECT_EQ(help::GeomActua(15360, 11520, 15, 15), QRect(1680, 1260, 12000, 9000));
  EXPECT_EQ(help::GeomBrows(28800, 16200), QRect(500, 1000, 27800, 15200));
  EXPECT_EQ(help::GeomActua(28800, 16200, 15, 15), QRect(8400, 3600, 12000, 9000));
  // A screen smaller than the news window puts it above and left of the corner.
  EXPECT_EQ(help::GeomActua(9600, 7200, 15, 15), QRect(-1200, -900, 12000, 9000));
}

class WebWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gLng154 = "Paste the copied address into your web browser";
    gLng189 = "Tutorials";
    gLng200 = "http://127.0.0.1:9/news";
    gLng202 = "http://127.0.0.1:9/tutorials";
    gTxtQuitter = "Quit";
    platform::clipboard::setText("before");
  }
  void TearDown() override {
    frmBrows.destroyNow();
    frmActua.destroyNow();
    platform::setWebPageMaker({});
  }
  static void NoView() {
    platform::setWebPageMaker([](QWidget*) { return std::unique_ptr<platform::WebPage>(); });
  }
};

TEST_F(WebWindowsTest, TutorialsWithoutAViewPutTheAddressOnTheClipboard) {
  NoView();
  testenv::dialogs().expectMsgBox(gLng154, vb::vbOK);
  FrmBrows& b = frmBrows();
  EXPECT_EQ(platform::clipboard::text(), gLng202);
  EXPECT_EQ(testenv::dialogs().shown().back().icon, vb::iconName(vb::vbInformation));
  // What came before the failure is set; what came after is not.
  EXPECT_EQ(b.Caption(), "Tutorials");
  EXPECT_EQ(b.Width(), vb::Screen.Width() - 1000);
  EXPECT_NE(b.Cmdquitter.Caption(), "Quit");
  b.Cmdquitter_Click();
  EXPECT_FALSE(frmBrows.isLoaded());
}

TEST_F(WebWindowsTest, AnAddressThatIsNotWebIsNeverOpened) {
  // No maker either way: the address is refused before any view is asked for.
  int asked = 0;
  platform::setWebPageMaker([&](QWidget*) {
    ++asked;
    return std::unique_ptr<platform::WebPage>();
  });
  for (const char* address : {"file:///etc/passwd", "javascript:alert(1)", "", "http://"}) {
    gLng202 = address;
    testenv::dialogs().expectMsgBox(gLng154, vb::vbOK);
    frmBrows();
    testenv::dialogs().verify();
    EXPECT_EQ(platform::clipboard::text(), QString(address));
    frmBrows.destroyNow();
  }
  EXPECT_EQ(asked, 0);
}

TEST_F(WebWindowsTest, NewsWithoutAViewFallsBackInsteadOfEndingTheProgram) {
  NoView();
  testenv::dialogs().expectMsgBox(gLng154, vb::vbOK);
  FrmActua& a = frmActua();
  EXPECT_EQ(platform::clipboard::text(), gLng200);
  EXPECT_EQ(a.Caption(), "Velistrom news");
  EXPECT_EQ(a.CdeQuit.Caption(), "Quit");
  EXPECT_EQ(a.CdeQuit.Left(), a.Width() - a.CdeQuit.Width() - 50);
  EXPECT_EQ(a.Width(), 12000);
  EXPECT_EQ(a.Height(), 9000);
}

TEST_F(WebWindowsTest, OnlyCtrlQClosesTheNews) {
  NoView();
  struct Case {
    int key, shift;
    bool closes;
  };
  const Case cases[] = {{81, 2, true}, {81, 3, false}, {81, 0, false}, {81, 6, false},
                        {81, 1, false}, {87, 2, false}, {27, 0, false}};
  for (const Case& c : cases) {
    testenv::dialogs().expectMsgBox(gLng154, vb::vbOK);
    frmActua().Show();
    testenv::dialogs().verify();
    int key = c.key;
    frmActua().Form_KeyDown(key, c.shift);
    EXPECT_EQ(!frmActua.isLoaded(), c.closes) << c.key << " " << c.shift;
    frmActua.destroyNow();
  }
}

}  // namespace
