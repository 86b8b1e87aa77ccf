// Every caption of every window fits its control, in both languages, as the
// window first shows under a real window manager: measured with the font's
// own metrics, the style's margins and the part of the control its window
// lets show. The same program runs unscaled and on a desktop scaled 1.5.
#include "tests/windows/EveryWindow.h"

#include "tests/support/Wait.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

using windows::Language;
using windows::Window;

// Controls whose caption may pass their box: on purpose, or because the
// box's size is fixed for them (a control array: every element).
const windows::Allowance kExceptions[] = {
    {"Flistimages", "LabGif", "a marquee: its caption scrolls through the label"},
    {"FrmChoixLng", "Label3", "3900 x 285 twips for bold Calibri 12 pt, whose line is 20 pixels: one short"},
    {"Flistimages", "Lbldim", "1215 twips from 1560 in the 2780-twip frame: a pixel short for \"02/  1920 x 1080\""},
    {"FrmChrono", "CdeChronoM", "rows 770 twips apart with a button right above and below each field: no room for a button's margins"},
    {"FrmChrono", "CdeChronoP", "as CdeChronoM"},
};

// What a caption needs and where it is drawn, in its widget's pixels.
struct Need {
  QRect text;  // the caption's own box, placed as the control draws it
  QRect room;  // what the control gives it
};

// The part of `w` that its window shows (its parents clip it), in w's pixels.
QRect visiblePart(const QWidget* w) {
  QRect r = w->rect();
  QPoint offset(0, 0);  // w's origin in the current ancestor
  for (const QWidget* a = w; a->parentWidget() && !a->isWindow(); a = a->parentWidget()) {
    offset += a->pos();
    r &= a->parentWidget()->rect().translated(-offset);
  }
  return r;
}

Need labelNeed(const QLabel* l, const QString& text) {
  const QFontMetrics fm(l->font());
  QRect room = l->contentsRect().adjusted(l->margin(), l->margin(), -l->margin(), -l->margin());
  const Qt::Alignment align = l->alignment();
  if (l->indent() > 0) {
    if (align & Qt::AlignLeft) room.setLeft(room.left() + l->indent());
    if (align & Qt::AlignRight) room.setRight(room.right() - l->indent());
  }
  const int flags = l->wordWrap() ? int(Qt::TextWordWrap) : 0;
  const QSize size = fm.boundingRect(QRect(0, 0, l->wordWrap() ? room.width() : 1 << 20, 1 << 20),
                                     flags, text).size();
  return {QStyle::alignedRect(Qt::LeftToRight, align, size, room), room};
}

Need buttonNeed(const QPushButton* b) {
  const QFontMetrics fm(b->font());
  QSize content = b->text().isEmpty() ? QSize() : fm.size(Qt::TextShowMnemonic, b->text());
  if (!b->icon().isNull()) {
    const QSize icon = b->iconSize();
    content = QSize(content.width() + icon.width() + (b->text().isEmpty() ? 0 : 4),
                    std::max(content.height(), icon.height()));
  }
  QStyleOptionButton opt;
  opt.initFrom(b);
  QStyle* s = b->style();
  const int margin = s->pixelMetric(QStyle::PM_ButtonMargin, &opt, b) +
                     2 * s->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, b) +
                     (b->autoDefault() || b->isDefault() ? 2 * s->pixelMetric(QStyle::PM_ButtonDefaultIndicator, &opt, b) : 0);
  const QSize need = content + QSize(margin, margin);
  return {QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, need, b->rect()), b->rect()};
}

// A check box or option button: the indicator where the style puts it, the
// text in the room the style leaves beside it.
Need toggleNeed(const QAbstractButton* b) {
  QStyleOptionButton opt;
  opt.initFrom(b);
  opt.text = b->text();
  const bool check = qobject_cast<const QCheckBox*>(b) != nullptr;
  QStyle* s = b->style();
  const QRect indicator = s->subElementRect(check ? QStyle::SE_CheckBoxIndicator : QStyle::SE_RadioButtonIndicator, &opt, b);
  const QRect room = s->subElementRect(check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &opt, b);
  const QSize text = QFontMetrics(b->font()).size(Qt::TextShowMnemonic, b->text());
  const QRect placed = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignLeft | Qt::AlignVCenter, text, room);
  return {placed | indicator, room | indicator};
}

struct Misfit {
  QString control, text;
  Need need;
  QRect shown;
  QString coveredBy;  // a windowed control painted over the caption
};

using Controls = std::map<const QWidget*, const vb::Control*>;

// The windowed control of the form painted over `part` of w: one stacked above
// w, or above one of w's containers, at that place.
QString coveredBy(const QWidget* w, QRect part, const Controls& controls) {
  for (const QWidget* a = w; a->parentWidget() && !a->isWindow(); a = a->parentWidget()) {
    part.translate(a->pos());
    const QObjectList& siblings = a->parentWidget()->children();
    for (qsizetype i = siblings.indexOf(const_cast<QWidget*>(a)) + 1; i < siblings.size(); ++i) {
      const auto* s = qobject_cast<const QWidget*>(siblings[i]);
      const auto it = s ? controls.find(s) : controls.end();
      if (it != controls.end() && !it->second->windowless() && s->isVisibleTo(w->window()) &&
          s->geometry().intersects(part))
        return it->second->Name();
    }
  }
  return {};
}

std::string describe(const std::vector<Misfit>& misfits) {
  auto box = [](const QRect& r) { return QString("%1x%2 at %3,%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y()); };
  QString out;
  for (const Misfit& m : misfits)
    out += QString("\n  %1 \"%2\" needs %3, has %4, shows %5%6")
               .arg(m.control, m.text, box(m.need.text), box(m.need.room), box(m.shown),
                    m.coveredBy.isEmpty() ? QString() : ", under " + m.coveredBy);
  return out.toStdString();
}

// Each shown caption of the form that does not fit, with what it needs and has.
std::vector<Misfit> misfits(vb::Form& form) {
  Controls controls;
  std::function<void(const vb::Container&)> index = [&](const vb::Container& c) {
    for (vb::Control* control : c.children()) {
      controls[control->widget()] = control;
      if (auto* inner = dynamic_cast<vb::Container*>(control)) index(*inner);
    }
  };
  index(form);
  std::vector<Misfit> out;
  auto check = [&](const vb::Control& c, const QString& control, const QWidget* w, const QString& text,
                   const Need& need) {
    if (text.isEmpty() || !w->isVisibleTo(form.widget()) || windows::allowed(kExceptions, form.Name(), c.Name())) return;
    const QRect shown = visiblePart(w) & need.room;
    const QString over = coveredBy(w, need.text, controls);
    if (!shown.contains(need.text) || !over.isEmpty()) out.push_back({control, text, need, shown, over});
  };
  std::function<void(const vb::Container&)> walk = [&](const vb::Container& c) {
    for (vb::Control* control : c.children()) {
      const QString name = control->Index() >= 0 ? QString("%1(%2)").arg(control->Name()).arg(control->Index())
                                                 : control->Name();
      QWidget* w = control->widget();
      if (dynamic_cast<vb::Label*>(control)) {
        auto* l = static_cast<QLabel*>(w);
        check(*control, name, w, l->text(), labelNeed(l, l->text()));
      } else if (dynamic_cast<vb::CommandButton*>(control)) {
        auto* b = static_cast<QPushButton*>(w);
        if (b->text().isEmpty() && b->icon().isNull() && w->isVisibleTo(form.widget()))
          out.push_back({name, "(neither caption nor picture)", {w->rect(), w->rect()}, w->rect(), QString()});
        check(*control, name, w, b->text().isEmpty() ? " " : b->text(), buttonNeed(b));
      } else if (dynamic_cast<vb::CheckBox*>(control) || dynamic_cast<vb::OptionButton*>(control)) {
        auto* b = static_cast<QAbstractButton*>(w);
        check(*control, name, w, b->text(), toggleNeed(b));
      } else if (auto* frame = dynamic_cast<vb::Frame*>(control)) {
        const QFontMetrics fm(w->font());
        const QString text = QString(frame->Caption()).remove(QRegularExpression("&(?!&)"));
        check(*control, name, w, frame->BorderStyle() ? text : QString(),
              {QRect(6, 0, fm.horizontalAdvance(text) + 4, fm.height()), w->rect()});
      } else if (auto* bar = dynamic_cast<vb::StatusBar*>(control)) {
        for (int i = 1; i <= bar->PanelCount(); ++i) {
          auto* l = static_cast<QLabel*>(bar->Panels(i).widget());
          check(*control, QString("%1.Panels(%2)").arg(name).arg(i), l, l->text(), labelNeed(l, l->text()));
        }
      }
      if (auto* inner = dynamic_cast<vb::Container*>(control)) walk(*inner);
    }
  };
  walk(form);
  return out;
}

// Shown, framed by the window manager and laid out as its code sizes it.
bool settled(vb::Form& form) {
  QWidget* w = form.widget();
  if (!QTest::qWaitForWindowExposed(w, 10000)) return false;
  const bool framed = testsupport::waitFor(
      [&] { return form.BorderStyle() == vb::vbBSNone || w->frameGeometry().size() != w->size(); }, 10000);
  QTest::qWait(100);  // the size asked before the frame was known is applied on a short timer
  return framed;
}

class CaptionFit : public ::testing::TestWithParam<std::tuple<Window, Language>> {
 protected:
  void SetUp() override {
    if (!testenv::onX11()) GTEST_SKIP() << "needs X with a window manager";
    ASSERT_TRUE(windows::enter(std::get<0>(GetParam()), std::get<1>(GetParam())));
  }
  void TearDown() override { windows::leave(); }
};

TEST_P(CaptionFit, EveryShownCaptionFitsItsControl) {
  const Window& window = std::get<0>(GetParam());
  vb::Form& form = window.open();
  ASSERT_TRUE(settled(form)) << window.name << " shows";
  SCOPED_TRACE(QString("%1 at %2 twips a pixel").arg(window.name).arg(vb::twipsPerPixel()).toStdString());
  const std::vector<Misfit> bad = misfits(form);
  EXPECT_TRUE(bad.empty()) << "captions cut:" << describe(bad);
}

// The scaled run is scaled: twips per pixel and the forms' face follow the scale.
TEST(CaptionFitScale, TheProgramRunsAtTheScaleAsked) {
  const QByteArray asked = qgetenv("VELISTROM_TEST_SCALE");
  const double scale = asked.isEmpty() ? 1.0 : asked.toDouble();
  EXPECT_EQ(vb::twipsPerPixel(), vb::twipsPerPixelAtScale(scale));
  if (scale != 1) {
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    EXPECT_NEAR(QApplication::font().pointSizeF() * dpi / 96, 8 * scale, 0.01);
  }
}

INSTANTIATE_TEST_SUITE_P(Windows, CaptionFit,
                         ::testing::Combine(::testing::ValuesIn(windows::everyWindow()),
                                            ::testing::ValuesIn(windows::kLanguages)),
                         windows::rowName);

}  // namespace
