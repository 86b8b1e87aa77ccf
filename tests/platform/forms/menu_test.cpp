// Menus: captions, Checked, Visible, submenu Click on opening, arrays, pop-ups.
#include "TestForms.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

namespace {

class MenuForm : public vb::Form {
 public:
  MenuForm() : Form("MenuForm") {
    mnuHidden.setVisible(false);
    zoom[0].setCaption("25 %");
  }
  vb::Menu mnuFile{*this, "mnuFile", "&File"};
  vb::Menu mnuSave{mnuFile, "mnuSave", "&Save"};
  vb::Menu mnuSep{mnuFile, "mnuSep", "-"};
  vb::Menu mnuZoom{mnuFile, "mnuZoom", "&Zoom"};
  vb::ControlArray<vb::Menu> zoom{mnuZoom, "mnuzoomX"};
  vb::Menu mnuQuit{mnuFile, "mnuQuit", "&Quit"};
  vb::Menu mnuHidden{*this, "Mnuflott", "pop-up"};
  vb::Menu mnuPopSave{mnuHidden, "mnuFenregistrer", "Save"};
};
vb::DefaultInstance<MenuForm> frmMenu;

TEST(Menus, EntriesCarryCaptionsAndKeepCheckedUnderCode) {
  MenuForm& f = frmMenu();
  EXPECT_EQ(f.mnuSave.action()->text(), "&Save");
  EXPECT_TRUE(f.mnuSep.action()->isSeparator());
  int saves = 0;
  f.mnuSave.onClick = [&] { ++saves; };
  f.mnuSave.setChecked(true);
  f.mnuSave.trigger();
  EXPECT_EQ(saves, 1);
  EXPECT_TRUE(f.mnuSave.Checked());  // choosing does not toggle it
  EXPECT_TRUE(f.mnuSave.action()->isChecked());
  f.mnuSave.setChecked(false);
  EXPECT_FALSE(f.mnuSave.action()->isCheckable()) << "an unticked entry shows no empty box";
  f.mnuSave.trigger();
  EXPECT_FALSE(f.mnuSave.Checked());
  EXPECT_EQ(saves, 2);
  f.mnuSave.setEnabled(false);
  f.mnuSave.trigger();
  EXPECT_EQ(saves, 2);
}

TEST(Menus, AHeldSubmenuRaisesClickWhenItOpens) {
  MenuForm& f = frmMenu();
  int opened = 0;
  f.mnuFile.onClick = [&] {
    ++opened;
    f.mnuSave.setEnabled(false);  // the handler sets up the entries before they show
  };
  emit f.mnuFile.submenu()->aboutToShow();
  EXPECT_EQ(opened, 1);
  EXPECT_FALSE(f.mnuSave.Enabled());
  int zoomOpened = 0;
  f.mnuZoom.onClick = [&] { ++zoomOpened; };
  emit f.mnuZoom.submenu()->aboutToShow();
  EXPECT_EQ(zoomOpened, 1);
}

TEST(Menus, HiddenTopLevelMenusLeaveTheBarAndMenuArraysGrowInPlace) {
  MenuForm& f = frmMenu();
  QMenuBar* bar = f.menuBar();
  EXPECT_FALSE(f.mnuHidden.action()->isVisible());
  EXPECT_FALSE(bar->isHidden());
  const double withBar = f.ScaleHeight();
  f.mnuFile.setVisible(false);
  EXPECT_TRUE(bar->isHidden());  // every top-level menu hidden: no bar
  EXPECT_GT(f.ScaleHeight(), withBar);
  f.mnuFile.setVisible(true);

  std::vector<int> chosen;
  f.zoom.on(&vb::Menu::onClick, [&](int index) { chosen.push_back(index); });
  vb::Menu& z1 = f.zoom.Load(1);
  EXPECT_EQ(z1.Caption(), "25 %");
  EXPECT_FALSE(z1.Visible());
  z1.setVisible(true);
  z1.setCaption("50 %");
  f.zoom.Load(2).setVisible(true);
  const QList<QAction*> acts = f.mnuZoom.submenu()->actions();
  ASSERT_EQ(acts.size(), 3);
  EXPECT_EQ(acts[1], z1.action());
  z1.trigger();
  f.zoom[0].trigger();
  EXPECT_EQ(chosen, (std::vector<int>{1, 0}));
  f.zoom.Unload(1);
  EXPECT_EQ(f.mnuZoom.submenu()->actions().size(), 2);
}

TEST(Menus, PopupMenuOfAHiddenHolder) {
  MenuForm& f = frmMenu();
  QString shown;
  vb::setPopupMenuHook([&](vb::Menu& m) {
    shown = m.Name();
    m.entries().front()->trigger();  // the user picks the first entry
  });
  int saved = 0;
  f.mnuPopSave.onClick = [&] { ++saved; };
  f.PopupMenu(f.mnuHidden);
  EXPECT_EQ(shown, "Mnuflott");
  EXPECT_EQ(saved, 1);
}

}  // namespace

namespace {

TEST(Menus, EnabledIsKeptApartFromVisible) {
  MenuForm& f = frmMenu();
  // A hidden holder and its entries keep the Enabled state code gave them.
  EXPECT_TRUE(f.mnuHidden.Enabled());
  f.mnuPopSave.setEnabled(false);
  f.mnuHidden.setVisible(false);
  EXPECT_FALSE(f.mnuPopSave.Enabled());
  f.mnuPopSave.setEnabled(true);
  EXPECT_TRUE(f.mnuPopSave.Enabled());
}

}  // namespace
