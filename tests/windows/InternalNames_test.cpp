// No window of the three programs shows an internal name: as each window
// first shows, in both languages, neither its title nor any text it shows
// (captions, panels, menu entries, tooltips) is, or holds as a word, the name
// of the form or of one of its controls or menus.
#include "tests/windows/EveryWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

using windows::Language;
using windows::Window;

// Names that are also the word a shipped language file uses in that window.
const windows::Allowance kWords[] = {
    {"Options", "Options", "the dialog's title in both language files (text 89) is the word itself"},
};

struct Shown {
  QString where, text;
};

void addMenuTexts(const QList<QAction*>& actions, const QString& where, std::vector<Shown>& out) {
  for (QAction* a : actions) {
    if (!a->isVisible() || a->isSeparator()) continue;
    out.push_back({where + " > " + a->objectName(), a->text()});
    out.push_back({where + " > " + a->objectName() + " tooltip", a->toolTip() == a->text() ? QString() : a->toolTip()});
    if (QMenu* sub = a->menu()) addMenuTexts(sub->actions(), where + " > " + a->objectName(), out);
  }
}

// Every text the window shows: its title, each shown widget's text and
// tooltip, the frames' captions, and its menus' entries (pop-up holders too).
std::vector<Shown> shownTexts(vb::Form& form) {
  QWidget* window = form.widget();
  std::vector<Shown> out{{"title", window->windowTitle()}};
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window)) continue;
    const QString where = w->objectName().isEmpty() ? QString(w->metaObject()->className()) : w->objectName();
    if (auto* l = qobject_cast<QLabel*>(w)) out.push_back({where, l->text()});
    if (auto* b = qobject_cast<QAbstractButton*>(w)) out.push_back({where, b->text()});
    out.push_back({where + " tooltip", w->toolTip()});
  }
  std::function<void(const vb::Container&)> frames = [&](const vb::Container& c) {
    for (vb::Control* control : c.children()) {
      if (auto* f = dynamic_cast<vb::Frame*>(control); f && control->widget()->isVisibleTo(window))
        out.push_back({f->Name(), f->Caption()});
      if (auto* inner = dynamic_cast<vb::Container*>(control)) frames(*inner);
    }
  };
  frames(form);
  if (auto* bar = window->findChild<QMenuBar*>()) addMenuTexts(bar->actions(), "menu", out);
  return out;
}

// The names the window's code knows it by: the form, its controls, its menus.
QStringList internalNames(vb::Form& form) {
  QStringList names{form.Name()};
  for (QObject* o : form.widget()->findChildren<QObject*>())
    if (!o->objectName().isEmpty() && !o->objectName().startsWith("qt_")) names << o->objectName();
  std::function<void(const QList<QAction*>&)> menus = [&](const QList<QAction*>& actions) {
    for (QAction* a : actions) {
      if (!a->objectName().isEmpty()) names << a->objectName();
      if (QMenu* sub = a->menu()) menus(sub->actions());
    }
  };
  if (auto* bar = form.widget()->findChild<QMenuBar*>()) menus(bar->actions());
  names.removeDuplicates();
  return names;
}

class InternalNames : public ::testing::TestWithParam<std::tuple<Window, Language>> {
 protected:
  void SetUp() override { ASSERT_TRUE(windows::enter(std::get<0>(GetParam()), std::get<1>(GetParam()))); }
  void TearDown() override { windows::leave(); }
};

TEST_P(InternalNames, NoShownTextIsANameOfTheWindow) {
  const Window& window = std::get<0>(GetParam());
  vb::Form& form = window.open();
  QCoreApplication::processEvents();
  const QStringList names = internalNames(form);
  ASSERT_TRUE(names.contains(form.Name()) && names.size() > 1) << "the window's controls carry their names";
  QStringList leaks;
  for (const Shown& s : shownTexts(form))
    for (const QString& name : names)
      if (!windows::allowed(kWords, form.Name(), name) && s.text.contains(QRegularExpression("\\b" + QRegularExpression::escape(name) + "\\b")))
        leaks << QString("%1 \"%2\" shows %3").arg(s.where, s.text, name);
  EXPECT_TRUE(leaks.isEmpty()) << leaks.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Windows, InternalNames,
                         ::testing::Combine(::testing::ValuesIn(windows::everyWindow()),
                                            ::testing::ValuesIn(windows::kLanguages)),
                         windows::rowName);

}  // namespace
