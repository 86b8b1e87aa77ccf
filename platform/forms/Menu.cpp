#include "platform/forms/Menu.h"

#include "platform/forms/FormsInternal.h"

#include <QAction>
#include <QCoreApplication>
#include <QResizeEvent>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>

namespace vb {

Menu::Menu(Form& form, const QString& name, const QString& caption) : Menu(form, nullptr, name, caption, nullptr) {}

Menu::Menu(Menu& parent, const QString& name, const QString& caption)
    : Menu(parent.form_, &parent, name, caption, nullptr) {}

Menu::Menu(Form& form, Menu* parent, const QString& name, const QString& caption, Menu* after)
    : ArrayElement(name), form_(form), parent_(parent), caption_(caption) {
  if (!parent_) {
    submenu_ = new QMenu;
    action_ = submenu_->menuAction();
    QObject::connect(submenu_.data(), &QMenu::aboutToShow, submenu_.data(), [this] {
      if (onClick) onClick();
    });
    QMenuBar* bar = form_.menuBar();
    // Top-level menus keep their creation order (arrays insert after `after`).
    QAction* before = nullptr;
    if (after) {
      const QList<QAction*> acts = bar->actions();
      const qsizetype i = acts.indexOf(after->action_);
      if (i >= 0 && i + 1 < acts.size()) before = acts[i + 1];
    }
    bar->insertAction(before, action_);
  } else {
    action_ = new QAction;
    QObject::connect(action_.data(), &QAction::triggered, action_.data(), [this] {
      // A checkable action toggles itself; the old menus only change Checked in code.
      action_->setChecked(checked_);
      if (!submenu_ && onClick) onClick();
    });
    parent_->insertEntry(this, after);
  }
  action_->setObjectName(name);
  setCaption(caption_);
  updateMenuBar();
}

Menu::~Menu() {
  if (parent_) parent_->removeEntry(this);
  if (parent_) {
    delete action_.data();
    delete submenu_.data();
  } else {
    delete submenu_.data();  // its menu action goes with it
    updateMenuBar();
  }
}

void Menu::insertEntry(Menu* entry, Menu* after) {
  QMenu* menu = submenu();
  auto pos = entries_.end();
  if (after) {
    auto it = std::find(entries_.begin(), entries_.end(), after);
    if (it != entries_.end()) pos = it + 1;
  }
  QAction* before = pos == entries_.end() ? nullptr : (*pos)->action_.data();
  entries_.insert(pos, entry);
  menu->insertAction(before, entry->action_);
}

void Menu::removeEntry(Menu* entry) {
  entries_.erase(std::remove(entries_.begin(), entries_.end(), entry), entries_.end());
}

QMenu* Menu::submenu() {
  if (!submenu_) {
    submenu_ = new QMenu;
    QObject::connect(submenu_.data(), &QMenu::aboutToShow, submenu_.data(), [this] {
      if (onClick) onClick();
    });
    action_->setMenu(submenu_.data());
  }
  return submenu_;
}

void Menu::setCaption(const QString& caption) {
  caption_ = caption;
  action_->setSeparator(caption == "-");
  action_->setText(caption);
  if (submenu_) submenu_->setTitle(caption);
}

bool Menu::Checked() const { return checked_; }

void Menu::setChecked(bool on) {
  checked_ = on;
  // Only a ticked entry has a mark, as in the old menus: no empty box beside the others.
  action_->setCheckable(on);
  action_->setChecked(on);
}

// Kept apart from the action: Qt reports a hidden action as disabled.
bool Menu::Enabled() const { return enabled_; }
void Menu::setEnabled(bool on) {
  enabled_ = on;
  action_->setEnabled(on);
}

void Menu::setVisible(bool on) {
  visible_ = on;
  action_->setVisible(on);
  updateMenuBar();
}

void Menu::setShortcut(const QKeySequence& keys) {
  action_->setShortcut(keys);
  if (!keys.isEmpty() && !action_->associatedObjects().contains(form_.widget())) form_.widget()->addAction(action_);
}

void Menu::updateMenuBar() {
  if (parent_) return;
  QMenuBar* bar = form_.menuBar();
  bool any = false;
  for (QAction* a : bar->actions())
    if (a->isVisible()) any = true;
  if (bar->isHidden() == !any) return;
  bar->setVisible(any);
  // The client area moves with the menu bar.
  QResizeEvent re(form_.widget()->size(), form_.widget()->size());
  QCoreApplication::sendEvent(form_.widget(), &re);
}

void Menu::trigger() {
  if (!enabled_ || !visible_) return;
  if (submenu_ || !parent_) {
    if (onClick) onClick();
  } else {
    action_->trigger();
  }
}

std::unique_ptr<ArrayElement> Menu::cloneForArray_(ArrayElement* after) const {
  std::unique_ptr<Menu> m(new Menu(form_, parent_, Name(), caption_, static_cast<Menu*>(after)));
  m->setChecked(checked_);
  m->setEnabled(Enabled());
  m->tag_ = tag_;
  m->setVisible(false);
  return m;
}

void Form::PopupMenu(Menu& menu, int flags, std::optional<float> x, std::optional<float> y) {
  if (auto& hook = popupMenuHook_()) {
    if (menu.onClick) menu.onClick();
    hook(menu);
    return;
  }
  QPoint at = QCursor::pos();
  if (x && y)
    at = containerWidget()->mapToGlobal(QPoint(int(detail::unitsToPixels(*x, scaleMode_)),
                                               int(detail::unitsToPixels(*y, scaleMode_))));
  menu.submenu()->exec(at);
}

}  // namespace vb
