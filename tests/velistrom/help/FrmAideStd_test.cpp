// The interactive help window: what the label says as the pointer moves,
// the menu pictures of the main window's page, the page buttons' layout.
#include "velistrom/help/FrmAideStd.h"

#include "platform/forms/Runtime.h"
#include "tests/support/ScriptedDialogs.h"
#include "velistrom/help/AideZones.h"
#include "velistrom/core/GlobTextes.h"

#include <gtest/gtest.h>

namespace {

constexpr int kTw = 15;

class AideStdTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i <= 100; ++i) gTxtAide[i] = QStringLiteral("aide %1").arg(i);
    // No such pictures: every page and menu shows its blank placeholder.
    for (int i : {46, 47, 48, 49, 50, 67, 68, 69}) gTxtAide[i] = QStringLiteral("no_such_picture_%1").arg(i);
    for (int g = 0; g < 5; ++g)
      for (int j = 0; j < 7; ++j) gTabAideMenu[g][j] = QStringLiteral("menu %1 item %2").arg(g).arg(j);
  }
  void TearDown() override {
    frmAideStd.destroyNow();
    for (auto& t : gTxtAide) t.clear();
  }
  static FrmAideStd& f() { return frmAideStd(); }
  static void over(double xPx, double yPx) { f().PictForm_MouseMove(0, 0, float(xPx * kTw), float(yPx * kTw)); }
  static QString label() { return f().LabExplic.Caption(); }
};

TEST_F(AideStdTest, LoadingShowsTheMainWindowsPageWithItsButtons) {
  EXPECT_EQ(f().page(), 0);
  for (int i = 0; i <= 3; ++i) EXPECT_EQ(f().CdeFen[i].Caption(), gTxtAide[70 + i]);
  EXPECT_EQ(f().PictForm.Left(), 1800);
  EXPECT_EQ(f().PictForm.Top(), 600);
  // A missing picture is a blank of the page's size, so the zones still work.
  EXPECT_EQ(f().PictForm.Width(), help::TaillePage(0).width() * kTw);
  EXPECT_EQ(f().LabExplic.Top(), 600 + f().PictForm.Height() + 100);
  EXPECT_FALSE(f().Pictmenu.Visible());
}

TEST_F(AideStdTest, PageZeroExplainsZonesTheMainAreaAndTheMenus) {
  over(20, 60);
  EXPECT_EQ(label(), "aide 0");
  EXPECT_EQ(f().LabExplic.ForeColor(), vb::QBColor(1));
  over(40, 60);  // between two zones: the label keeps what it had
  EXPECT_EQ(label(), "aide 0");
  over(300.5, 60);
  EXPECT_EQ(label(), "aide 9");
  over(335, 60);
  EXPECT_EQ(label(), "aide 9");
  over(200, 150);
  EXPECT_EQ(label(), "aide 80");
  over(600, 150);  // right of the main area
  EXPECT_EQ(label(), "aide 80");

  over(50, 30);  // menu 0, bound included
  EXPECT_EQ(label(), "aide 75");
  EXPECT_EQ(f().LabExplic.ForeColor(), vb::QBColor(0));
  EXPECT_TRUE(f().Pictmenu.Visible());
  EXPECT_EQ(f().Pictmenu.Left(), 1800 + 10 * kTw);
  EXPECT_TRUE(f().rectmenu.Visible());
  EXPECT_EQ(f().rectmenu.Width(), f().Pictmenu.Width());
  EXPECT_EQ(f().menuIndex(), 0);
  over(55, 30);
  EXPECT_FALSE(f().Pictmenu.Visible());
  over(200, 40);
  EXPECT_EQ(label(), "aide 78");
  EXPECT_EQ(f().Pictmenu.Left(), 1800 + 160 * kTw);
  EXPECT_EQ(f().menuIndex(), 3);
  over(200, 60);  // below the menu bar
  EXPECT_FALSE(f().Pictmenu.Visible());
  over(675, 40);  // the box at the right of the menu bar, in black
  EXPECT_EQ(label(), "aide 19");
  EXPECT_EQ(f().LabExplic.ForeColor(), vb::QBColor(0));
}

TEST_F(AideStdTest, MenuRowsShowTheirHelpAndTheLastRowHoldsBelow) {
  over(280, 30);
  ASSERT_EQ(f().menuIndex(), 4);
  f().Pictmenu_MouseMove(0, 0, 0, float(20 * kTw));
  EXPECT_EQ(label(), "menu 4 item 1");
  EXPECT_EQ(f().rectmenu.Top(), 20 * kTw);
  f().Pictmenu_MouseMove(0, 0, 0, float(130 * kTw));
  EXPECT_EQ(label(), "menu 4 item 6");
}

TEST_F(AideStdTest, OtherPagesFallBackToTheirGeneralText) {
  f().CdeFen_Click(1);
  EXPECT_EQ(label(), "aide 74");
  over(150, 10);
  EXPECT_EQ(label(), "aide 45");
  over(70, 300);
  EXPECT_EQ(label(), "aide 23");
  f().CdeFen_Click(2);
  over(5, 5);
  EXPECT_EQ(label(), "aide 65");
  over(360, 105);
  EXPECT_EQ(label(), "aide 65");
  over(400, 200);
  EXPECT_EQ(label(), "aide 61");
  EXPECT_FALSE(f().Pictmenu.Visible());
}

TEST_F(AideStdTest, PageButtonsLayTheLabelOutBelowOrBesideThePicture) {
  over(50, 30);
  f().CdeFen_Click(1);
  EXPECT_FALSE(f().Pictmenu.Visible());
  const int w = f().Width();
  const vb::PictureBox& p = f().PictForm;
  EXPECT_EQ(f().LabExplic.Top(), p.Top());
  EXPECT_EQ(f().LabExplic.Left(), p.Left() + p.Width() + 100);
  EXPECT_EQ(f().LabExplic.Width(), w - (p.Left() + p.Width() + 300));
  EXPECT_EQ(f().Height(), p.Top() + p.Height() + 500);

  for (int page : {2, 0}) {
    f().CdeFen_Click(page);
    EXPECT_EQ(f().page(), page);
    EXPECT_EQ(f().LabExplic.Top(), p.Top() + p.Height() + 100);
    EXPECT_EQ(f().LabExplic.Width(), w - 400);
    EXPECT_EQ(f().LabExplic.Left(), 200);
    EXPECT_EQ(f().LabExplic.Height(), 2250);
    EXPECT_EQ(f().Height(), f().LabExplic.Top() + 2250 + 750);
  }
}

TEST_F(AideStdTest, ANarrowWindowGivesTheLabelNoWidthInsteadOfAnError) {
  f().setWidth(4000);  // narrower than page 1's picture and its margin
  f().CdeFen_Click(1);
  EXPECT_EQ(f().LabExplic.Width(), 0);
}

TEST_F(AideStdTest, ButtonsPointerOutsideClickAndClosing) {
  f().CdeFen_MouseMove(3, 0, 0, 0, 0);
  EXPECT_EQ(label(), "aide 73");
  f().CdeFen_MouseMove(1, 0, 0, 0, 0);
  EXPECT_EQ(label(), "aide 74");
  f().Form_MouseMove(0, 0, 0, 0);
  EXPECT_EQ(label(), " ");
  testenv::dialogs().expectMsgBox("aide 81", vb::vbOK);
  f().PictForm_Click();
  EXPECT_EQ(testenv::dialogs().shown().back().icon, vb::iconName(vb::vbExclamation));
  f().CdeFen_Click(3);
  EXPECT_FALSE(frmAideStd.isLoaded());
}

}  // namespace
