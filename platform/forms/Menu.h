#pragma once
// Menus of a form: top-level menus in the form's menu bar, entries inside
// them, and submenus. The Caption marks the access key with "&"; a Caption of
// "-" is a separator; without one given, the Caption is empty (never the
// menu's name). An entry that holds entries raises its Click when its
// submenu opens (before it shows, so the handler can enable the entries).
// A top-level menu with Visible False is not in the menu bar but can still be
// shown with Form::PopupMenu (a holder menu); a form whose top-level menus
// are all hidden shows no menu bar.
//
//   vb::Menu mnuFile{*this, "mnuFile", "&File"};
//   vb::Menu mnuQuit{mnuFile, "mnuQuit", "&Quit"};
//   vb::ControlArray<vb::Menu> mnuzoomX{mnuView, "mnuzoomX", 5};
#include "platform/forms/Controls.h"

#include <QKeySequence>
#include <QPointer>

class QAction;
class QMenu;

namespace vb {

class Menu : public ArrayElement {
 public:
  Menu(Form& form, const QString& name, const QString& caption = QString());
  Menu(Menu& parent, const QString& name, const QString& caption = QString());
  ~Menu() override;

  QString Caption() const { return caption_; }
  void setCaption(const QString& caption);
  bool Checked() const;
  void setChecked(bool on);
  bool Enabled() const;
  void setEnabled(bool on);
  bool Visible() const { return visible_; }
  void setVisible(bool on);
  QString Tag() const { return tag_; }
  void setTag(const QString& tag) { tag_ = tag; }
  void setShortcut(const QKeySequence& keys);

  // Click: the user chose the entry, or its submenu is opening.
  std::function<void()> onClick;
  // Runs Click as when the user chooses the entry (an enabled, visible one).
  void trigger();

  Form& form() const { return form_; }
  Menu* parentMenu() const { return parent_; }
  bool topLevel() const { return parent_ == nullptr; }
  // The entries of this menu, in order (arrays included).
  const std::vector<Menu*>& entries() const { return entries_; }
  QAction* action() const { return action_; }
  // The submenu, created with the first entry (or for a pop-up of a holder).
  QMenu* submenu();
  std::unique_ptr<ArrayElement> cloneForArray_(ArrayElement* after) const override;

 private:
  Menu(Form& form, Menu* parent, const QString& name, const QString& caption, Menu* after);
  void insertEntry(Menu* entry, Menu* after);
  void removeEntry(Menu* entry);
  void updateMenuBar();
  Form& form_;
  Menu* parent_;
  QString caption_;
  bool visible_ = true;
  bool checked_ = false;
  bool enabled_ = true;
  QString tag_;
  QPointer<QAction> action_;
  QPointer<QMenu> submenu_;
  std::vector<Menu*> entries_;
};

}  // namespace vb
