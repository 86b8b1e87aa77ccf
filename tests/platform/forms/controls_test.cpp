// Controls: the old semantics where Qt's widgets differ.
#include "TestForms.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using namespace testforms;

namespace {

class ControlsForm : public vb::Form {
 public:
  ControlsForm() : Form("ControlsForm") {
    pic.setBorderStyle(0);
    pic.Move(0, 0, 3000, 1500);
    chk.Move(0, 1600, 1500, 300);
    txt.Move(0, 2000, 1500, 300);
    shp.Move(100, 100, 600, 600);
    arr[0].Move(120, 240, 750, 255);
    arr[0].setCaption("template");
    arr[0].setBackColor(0x00C0FFFF);
    arr[0].setToolTipText("tip");
  }
  vb::PictureBox pic{*this, "pic"};
  vb::CheckBox chk{*this, "chk"};
  vb::TextBox txt{*this, "txt"};
  vb::Shape shp{pic, "shp"};
  vb::Label inner{pic, "inner"};
  vb::ControlArray<vb::Label> arr{*this, "arr"};
  vb::CommandButton ok{*this, "ok"};
  vb::CommandButton cancel{*this, "cancel"};
  vb::OptionButton opt1{*this, "opt1"};
  vb::OptionButton opt2{*this, "opt2"};
  vb::ListBox list{*this, "list"};
};
vb::DefaultInstance<ControlsForm> frmControls;

QStringList events;

TEST(Controls, CheckBoxClickOnEveryChangeAndUsersNeverReachGrayed) {
  events.clear();
  vb::CheckBox& chk = frmControls().chk;
  chk.onClick = [&] { events << QString::number(chk.Value()); };
  chk.setValue(1);  // by code: Click
  chk.setValue(1);  // no change: no Click
  chk.setValue(2);
  EXPECT_EQ(events, (QStringList{"1", "2"}));
  auto* button = static_cast<QAbstractButton*>(chk.widget());
  events.clear();
  for (int i = 0; i < 4; ++i) button->click();  // the user: 2 -> 1 -> 0 -> 1 -> 0
  EXPECT_EQ(events, (QStringList{"1", "0", "1", "0"}));
  EXPECT_EQ(static_cast<QCheckBox*>(chk.widget())->checkState(), Qt::Unchecked);
  try {
    chk.setValue(3);
    ADD_FAILURE();
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number(), 380);
  }
}

TEST(Controls, TextBoxMaxLengthLimitsTheUserNotTheCode) {
  vb::TextBox& txt = frmControls().txt;
  int changes = 0;
  txt.onChange = [&] { ++changes; };
  txt.setMaxLength(3);
  txt.setText("abcdef");
  EXPECT_EQ(txt.Text(), "abcdef");  // kept whole
  EXPECT_EQ(changes, 1);
  QTest::keyClick(txt.widget(), Qt::Key_X);  // the user cannot make it longer
  EXPECT_EQ(txt.Text(), "abcdef");
  QTest::keyClick(txt.widget(), Qt::Key_End);
  QTest::keyClick(txt.widget(), Qt::Key_Backspace);  // but can shorten it
  EXPECT_EQ(txt.Text(), "abcde");
  txt.setText("");
  changes = 0;
  QTest::keyClicks(txt.widget(), "wxyz");
  EXPECT_EQ(txt.Text(), "wxy");
  EXPECT_EQ(changes, 3);  // Change on every change
  txt.setText("hello world");
  txt.setSelStart(6);
  txt.setSelLength(5);
  EXPECT_EQ(txt.SelText(), "world");
  EXPECT_EQ(txt.SelStart(), 6);
  EXPECT_EQ(txt.SelLength(), 5);
  txt.setSelText("there");
  EXPECT_EQ(txt.Text(), "hello there");
}

// Two boxes of one size: one given a long text, the other what it should show.
class StartForm : public vb::Form {
 public:
  StartForm() : Form("StartForm") {
    given.Move(0, 0, 1800, 300);
    shown.Move(0, 400, 1800, 300);
    memo.Move(2000, 0, 1800, 600);
  }
  vb::TextBox given{*this, "given"};
  vb::TextBox shown{*this, "shown"};
  vb::TextBox memo{*this, "memo", true};
};
vb::DefaultInstance<StartForm> frmStart;

QImage rendered(vb::TextBox& box) { return box.widget()->grab().toImage(); }

// A text set by code shows from its start with the caret at 0, as the old box
// did, even after the user moved to its end; the text stays exactly as set.
TEST(Controls, TextBoxSetByCodeShowsItsStart) {
  StartForm& f = frmStart();
  f.Show();
  auto* given = static_cast<QLineEdit*>(f.given.widget());
  const QString path = "/home/u/shots";
  const QString padded = path + QString(287, u' ');
  f.shown.setText(path);
  const QImage empty = [&] {
    f.given.setText("");
    return rendered(f.given);
  }();
  int changes = 0, selStartInChange = -1;
  f.given.onChange = [&] {
    ++changes;
    selStartInChange = f.given.SelStart();
  };
  for (const QString& before : {QString(), padded}) {
    SCOPED_TRACE(before.isEmpty() ? "from empty" : "again, caret at the end");
    f.given.setText(before);
    given->end(false);
    changes = 0;
    selStartInChange = -1;
    f.given.setText(padded);
    EXPECT_EQ(f.given.Text(), padded);
    EXPECT_EQ(changes, before == padded ? 0 : 1);
    if (changes) {
      EXPECT_EQ(selStartInChange, 0) << "Change sees the caret already at the start";
    }
    EXPECT_EQ(given->cursorPosition(), 0);
    EXPECT_EQ(f.given.SelStart(), 0);
    EXPECT_EQ(f.given.SelLength(), 0);
    const QImage got = rendered(f.given);
    EXPECT_NE(got, empty) << "the path's first characters show";
    EXPECT_EQ(got, rendered(f.shown));
  }

  // Many lines in a box two lines high: the view at the top line.
  QStringList lines;
  for (int i = 1; i <= 40; ++i) lines << QString("line %1").arg(i);
  const QString text = lines.join("\r\n");
  auto* memo = static_cast<QPlainTextEdit*>(f.memo.widget());
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    f.memo.setText(text);
    EXPECT_EQ(f.memo.Text(), text);
    EXPECT_EQ(f.memo.SelStart(), 0);
    EXPECT_EQ(memo->verticalScrollBar()->value(), 0);
    EXPECT_EQ(memo->cursorForPosition(QPoint(4, 4)).blockNumber(), 0) << "line 1 at the top";
    f.memo.setSelStart(int(text.size()));  // the user goes to the end: the view follows
    ASSERT_GT(memo->verticalScrollBar()->value(), 0);
  }
}

TEST(Controls, NegativeSizesAreRefusedWithError380) {
  vb::Shape& shp = frmControls().shp;
  for (auto set : {+[](vb::Shape& s) { s.setWidth(-1); }, +[](vb::Shape& s) { s.setHeight(-15); },
                   +[](vb::Shape& s) { s.Move(0, 0, -30, 10); }}) {
    try {
      set(shp);
      ADD_FAILURE() << "negative size accepted";
    } catch (const vb::Error& e) {
      EXPECT_EQ(e.Number(), 380);
    }
  }
  EXPECT_EQ(shp.Width(), 600);
  EXPECT_EQ(shp.Height(), 600);
  shp.setWidth(0);  // zero is allowed
  EXPECT_EQ(shp.Width(), 0);
}

// The old designer's default caption, the control's name, is never shown: a
// caption the code does not set is empty, and a graphical button given a
// picture and no caption shows the picture alone.
class UncaptionedForm : public vb::Form {
 public:
  UncaptionedForm() : Form("UncaptionedForm") {}
  vb::Label lblName{*this, "lblName"};
  vb::Frame fraName{*this, "fraName"};
  vb::CommandButton cmdName{*this, "cmdName"};
  vb::CommandButton cmdPicture{*this, "cmdPicture"};
  vb::CheckBox chkName{fraName, "chkName"};
  vb::OptionButton optName{fraName, "optName"};
  vb::ControlArray<vb::Label> arrName{*this, "arrName"};
  vb::Menu mnuName{*this, "mnuName"};
  vb::Menu mnuEntry{mnuName, "mnuEntry"};
};
vb::DefaultInstance<UncaptionedForm> frmUncaptioned;

TEST(Controls, ACaptionTheCodeDoesNotSetIsEmptyNeverTheName) {
  UncaptionedForm& f = frmUncaptioned();
  auto text = [](vb::Control& c) {
    if (auto* l = qobject_cast<QLabel*>(c.widget())) return l->text();
    return static_cast<QAbstractButton*>(c.widget())->text();
  };
  vb::Label& loaded = f.arrName.Load(1);
  struct Case {
    const char* what;
    QString caption, shown;
  };
  const Case cases[] = {
      {"label", f.lblName.Caption(), text(f.lblName)},
      {"frame", f.fraName.Caption(), QString()},
      {"command button", f.cmdName.Caption(), text(f.cmdName)},
      {"check box", f.chkName.Caption(), text(f.chkName)},
      {"option button", f.optName.Caption(), text(f.optName)},
      {"element loaded into an array", loaded.Caption(), text(loaded)},
      {"menu", f.mnuName.Caption(), f.mnuName.action()->text()},
      {"menu entry", f.mnuEntry.Caption(), f.mnuEntry.action()->text()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.caption, QString());
    EXPECT_EQ(c.shown, QString());
  }

  QImage picture(16, 16, QImage::Format_RGB32);
  picture.fill(Qt::blue);
  f.cmdPicture.setStyle(1);
  f.cmdPicture.setPicture(picture);
  auto* button = static_cast<QPushButton*>(f.cmdPicture.widget());
  EXPECT_EQ(button->text(), QString());
  EXPECT_FALSE(button->icon().isNull());
  EXPECT_EQ(button->iconSize(), picture.size());
}

TEST(Controls, ControlArrayLoadCopiesElementZeroHidden) {
  ControlsForm& f = frmControls();
  std::vector<int> clicked;
  f.arr.on(&vb::Label::onClick, [&](int index) { clicked.push_back(index); });
  vb::Label& one = f.arr.Load(1);
  EXPECT_EQ(one.Index(), 1);
  EXPECT_EQ(one.Caption(), "template");
  EXPECT_EQ(one.Left(), 120);
  EXPECT_EQ(one.Top(), 240);
  EXPECT_EQ(one.Width(), 750);
  EXPECT_EQ(one.BackColor(), 0x00C0FFFF);
  EXPECT_EQ(one.ToolTipText(), "tip");
  EXPECT_FALSE(one.Visible());
  EXPECT_TRUE(f.arr[0].Visible());
  EXPECT_EQ(f.arr.UBound(), 1);
  f.arr.Load(5);
  EXPECT_EQ(f.arr.Count(), 3);
  one.setVisible(true);
  mouse(one.widget(), QEvent::MouseButtonPress, {2, 2}, Qt::LeftButton, Qt::LeftButton, 1000);
  mouse(one.widget(), QEvent::MouseButtonRelease, {2, 2}, Qt::LeftButton, Qt::NoButton, 1010);
  EXPECT_EQ(clicked, std::vector<int>{1});
  auto number = [](auto fn) {
    try {
      fn();
    } catch (const vb::Error& e) {
      return e.Number();
    }
    return 0;
  };
  EXPECT_EQ(number([&] { f.arr.Load(1); }), 360);
  EXPECT_EQ(number([&] { f.arr[2]; }), 340);
  EXPECT_EQ(number([&] { f.arr.Unload(0); }), 362);
  f.arr.Unload(1);
  EXPECT_FALSE(f.arr.exists(1));
  EXPECT_EQ(f.arr.UBound(), 5);
}

TEST(Controls, MouseEventsCarryButtonShiftAndTwips) {
  ControlsForm& f = frmControls();
  QStringList got;
  auto rec = [&](const char* what) {
    return [&got, what](int b, int s, float x, float y) {
      got << QString("%1 %2 %3 %4 %5").arg(what).arg(b).arg(s).arg(x).arg(y);
    };
  };
  f.pic.onMouseDown = rec("down");
  f.pic.onMouseUp = rec("up");
  f.pic.onMouseMove = rec("move");
  QWidget* w = f.pic.widget();
  mouse(w, QEvent::MouseMove, {4, 6}, Qt::NoButton, Qt::NoButton, 10);
  mouse(w, QEvent::MouseButtonPress, {10, 20}, Qt::RightButton, Qt::RightButton, 20, Qt::ShiftModifier);
  mouse(w, QEvent::MouseMove, {11, 20}, Qt::NoButton, Qt::RightButton | Qt::LeftButton, 30,
        Qt::ControlModifier | Qt::AltModifier);
  mouse(w, QEvent::MouseButtonRelease, {11, 20}, Qt::RightButton, Qt::LeftButton, 40);
  mouse(w, QEvent::MouseButtonPress, {1, 1}, Qt::MiddleButton, Qt::MiddleButton, 5000);
  EXPECT_EQ(got, (QStringList{"move 0 0 60 90", "down 2 1 150 300", "move 3 6 165 300", "up 2 0 165 300",
                              "down 4 0 15 15"}));
  got.clear();
  f.pic.setScaleMode(vb::vbPixels);
  mouse(w, QEvent::MouseMove, {7, 8}, Qt::NoButton, Qt::NoButton, 6000);
  EXPECT_EQ(got, QStringList{"move 0 0 7 8"});
}

TEST(Controls, DoubleClickGivesClickThenDblClick) {
  ControlsForm& f = frmControls();
  QStringList got;
  f.pic.onMouseDown = [&](int, int, float, float) { got << "MouseDown"; };
  f.pic.onMouseUp = [&](int, int, float, float) { got << "MouseUp"; };
  f.pic.onClick = [&] { got << "Click"; };
  f.pic.onDblClick = [&] { got << "DblClick"; };
  QWidget* w = f.pic.widget();
  mouse(w, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton, 1000);
  mouse(w, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton, 1050);
  mouse(w, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton, 1150);
  mouse(w, QEvent::MouseButtonDblClick, {5, 5}, Qt::LeftButton, Qt::LeftButton, 1150);
  mouse(w, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton, 1200);
  EXPECT_EQ(got, (QStringList{"MouseDown", "MouseUp", "Click", "DblClick", "MouseUp"}));
  got.clear();
  // Two clicks far apart in time are two clicks.
  mouse(w, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton, 5000);
  mouse(w, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton, 5050);
  mouse(w, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton, 9000);
  mouse(w, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton, 9050);
  EXPECT_EQ(got.count("Click"), 2);
  EXPECT_EQ(got.count("DblClick"), 0);
  // A release outside the control is no Click.
  got.clear();
  mouse(w, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton, 20000);
  mouse(w, QEvent::MouseButtonRelease, {500, 5}, Qt::LeftButton, Qt::NoButton, 20050);
  EXPECT_EQ(got, (QStringList{"MouseDown", "MouseUp"}));
}

TEST(Controls, EachControlTakesItsOwnMouseEvents) {
  ControlsForm& f = frmControls();
  int picMoves = 0, labelMoves = 0, formMoves = 0;
  f.pic.onMouseMove = [&](int, int, float, float) { ++picMoves; };
  f.inner.onMouseMove = [&](int, int, float, float) { ++labelMoves; };
  f.onMouseMove = [&](int, int, float, float) { ++formMoves; };
  f.Show();
  QTest::mouseMove(f.inner.widget(), QPoint(2, 2));
  mouse(f.inner.widget(), QEvent::MouseMove, {3, 3}, Qt::NoButton, Qt::NoButton, 1);
  EXPECT_GE(labelMoves, 1);
  EXPECT_EQ(picMoves, 0);
  EXPECT_EQ(formMoves, 0);
  // A shape takes no mouse input: it reaches the picture box below.
  EXPECT_TRUE(f.shp.widget()->testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST(Controls, WindowlessControlsStayBelowWindowedOnes) {
  ControlsForm& f = frmControls();
  QWidget* parent = f.pic.widget()->parentWidget();
  auto order = [&](QWidget* w) { return parent->children().indexOf(w); };
  // arr(0) is a label made after the picture box, yet it lies below it.
  EXPECT_LT(order(f.arr[0].widget()), order(f.pic.widget()));
  f.arr[0].ZOrder(0);
  EXPECT_LT(order(f.arr[0].widget()), order(f.pic.widget()));
  f.pic.ZOrder(1);  // to the back of the windowed layer, still above labels
  EXPECT_LT(order(f.arr[0].widget()), order(f.pic.widget()));
  EXPECT_LT(order(f.pic.widget()), order(f.txt.widget()));
  vb::Label& late = f.arr.Load(3);
  EXPECT_LT(order(late.widget()), order(f.pic.widget()));
  EXPECT_GT(order(late.widget()), order(f.arr[0].widget()));  // newer windowless on top of older
}

TEST(Controls, LabelsArePlainTextWithAccessKeys) {
  ControlsForm& f = frmControls();
  f.arr[0].setCaption("&Save && <b>quit</b>");
  auto* l = static_cast<QLabel*>(f.arr[0].widget());
  EXPECT_EQ(l->text(), "Save & <b>quit</b>");
  EXPECT_EQ(l->textFormat(), Qt::PlainText);
  f.arr[0].setUseMnemonic(false);
  EXPECT_EQ(l->text(), "&Save && <b>quit</b>");
  f.arr[0].setCaption("a");
  f.arr[0].setAutoSize(true);
  const int narrow = f.arr[0].Width();
  f.arr[0].setCaption("a much longer caption");
  EXPECT_GT(f.arr[0].Width(), narrow);
}

TEST(Controls, KeysArriveAsVirtualKeysWithKeyPreview) {
  ControlsForm& f = frmControls();
  QStringList got;
  f.txt.onKeyDown = [&](int& code, int shift) { got << QString("txt %1 %2").arg(code).arg(shift); };
  QTest::keyClick(f.txt.widget(), Qt::Key_A, Qt::ShiftModifier);
  QTest::keyClick(f.txt.widget(), Qt::Key_F1);
  QTest::keyClick(f.txt.widget(), Qt::Key_5, Qt::KeypadModifier);
  QTest::keyClick(f.txt.widget(), Qt::Key_Left, Qt::ControlModifier);
  // The modifier keys come as keys of their own (16 Shift, 17 Ctrl), as they did.
  EXPECT_EQ(got, (QStringList{"txt 16 1", "txt 65 1", "txt 112 0", "txt 101 0", "txt 17 2", "txt 37 2"}));
  got.clear();
  f.setKeyPreview(true);
  f.onKeyDown = [&](int& code, int) {
    got << QString("form %1").arg(code);
    if (code == vb::vbKeyEscape) code = 0;  // swallowed before the control
  };
  QTest::keyClick(f.txt.widget(), Qt::Key_B);
  QTest::keyClick(f.txt.widget(), Qt::Key_Escape);
  EXPECT_EQ(got, (QStringList{"form 66", "txt 66 0", "form 27"}));
}

TEST(Controls, EnterAndEscapePressDefaultAndCancel) {
  ControlsForm& f = frmControls();
  QStringList got;
  f.ok.setDefault(true);
  f.cancel.setCancel(true);
  f.ok.onClick = [&] { got << "ok"; };
  f.cancel.onClick = [&] { got << "cancel"; };
  QTest::keyClick(f.txt.widget(), Qt::Key_Return);
  QTest::keyClick(f.txt.widget(), Qt::Key_Escape);
  EXPECT_EQ(got, (QStringList{"ok", "cancel"}));
  f.cancel.setDefault(true);  // one default per form
  EXPECT_FALSE(f.ok.Default());
}

TEST(Controls, OptionButtonsOfOneContainerExcludeEachOther) {
  ControlsForm& f = frmControls();
  int clicks = 0;
  f.opt2.onClick = [&] { ++clicks; };
  f.opt1.setValue(true);
  static_cast<QAbstractButton*>(f.opt2.widget())->click();
  EXPECT_TRUE(f.opt2.Value());
  EXPECT_FALSE(f.opt1.Value());
  EXPECT_EQ(clicks, 1);
  static_cast<QAbstractButton*>(f.opt2.widget())->click();  // already selected
  EXPECT_EQ(clicks, 1);
}

TEST(Controls, PictureBoxPictureAndPersistentImage) {
  ControlsForm& f = frmControls();
  vb::PictureBox& p = f.pic;
  p.setBackColor(0xFFFFFF);
  QImage pic(10, 10, QImage::Format_RGB32);
  pic.fill(QColor(0, 0, 255));
  p.setPicture(pic);
  EXPECT_EQ(p.Point(15, 15), 0xFF0000);        // blue in BGR, at pixel (1,1)
  EXPECT_EQ(p.Point(300, 300), 0xFFFFFF);      // beyond the picture: BackColor
  p.Line(300, 300, 450, 450, 0x0000FF, 2);     // a filled red box, pixels 20..30
  EXPECT_EQ(p.Point(375, 375), 0x0000FF);
  EXPECT_EQ(p.Picture().pixelColor(1, 1), QColor(0, 0, 255));  // the Picture is untouched
  p.PSet(600, 600, 0x00FF00);
  EXPECT_EQ(p.Point(600, 600), 0x00FF00);
  p.Cls();
  EXPECT_EQ(p.Point(375, 375), 0xFFFFFF);
  EXPECT_EQ(p.Point(15, 15), 0xFF0000);  // Cls keeps the Picture
  EXPECT_EQ(p.Point(-15, 0), -1);
  QImage big(40, 30, QImage::Format_RGB32);
  big.fill(Qt::green);
  p.PaintPicture(big, 0, 0, 300, 150);  // stretched to 20 x 10 pixels
  EXPECT_EQ(p.Point(285, 135), 0x00FF00);
  EXPECT_EQ(p.Point(315, 15), 0xFFFFFF);
  p.setAutoSize(true);
  p.setPicture(big);
  EXPECT_EQ(p.Width(), 600);
  EXPECT_EQ(p.Height(), 450);
}

// The form's box as 200 x 100 pixels, no border, white behind.
vb::PictureBox& plainBox() {
  vb::PictureBox& p = frmControls().pic;
  p.setAutoSize(false);
  p.setBorderStyle(0);
  p.Move(0, 0, 3000, 1500);
  p.setBackColor(0xFFFFFF);
  return p;
}

// A picture that fills the box exactly becomes its persistent image without a
// copy; drawing on the box must still leave the picture and its owner's copy.
TEST(Controls, PictureBoxFilledByItsPictureDrawsOnItsOwnImage) {
  vb::PictureBox& p = plainBox();
  QImage mine(200, 100, QImage::Format_RGB32);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x) mine.setPixel(x, y, qRgb(x, y, 7));
  const QImage before = mine.copy();
  p.setPicture(mine);
  EXPECT_EQ(p.Image().convertToFormat(QImage::Format_RGB32), before);
  p.Line(300, 300, 450, 450, 0x0000FF, 2);
  EXPECT_EQ(p.Point(375, 375), 0x0000FF);
  EXPECT_EQ(mine, before);
  EXPECT_EQ(p.Picture(), before);
  p.Cls();
  EXPECT_EQ(p.Image().convertToFormat(QImage::Format_RGB32), before);
  p.setBorderStyle(1);  // a smaller client keeps the picture's top left
  EXPECT_EQ(p.Point(15, 15), 0x070101);  // pixel (1, 1) in BGR
  p.setBorderStyle(0);
}

// What the box shows: its drawing, and its back colour wherever the drawing
// leaves the box uncovered or lets it through.
TEST(Controls, PictureBoxShowsItsBackColourWhereItsDrawingLetsItThrough) {
  struct Case {
    const char* name;
    QSize size;
    QImage::Format format;
    QColor fill;
    bool drawing;  // handed in as the box's drawing, not as its picture
    QPoint inside, beyond;  // a pixel of the picture, one past it (or none)
    QColor seenInside;
  };
  const Case cases[] = {
      {"opaque picture, filling the box", {200, 100}, QImage::Format_RGB32, QColor(10, 20, 30), false, {5, 5},
       {-1, -1}, QColor(10, 20, 30)},
      {"opaque picture, smaller", {20, 10}, QImage::Format_RGB32, QColor(10, 20, 30), false, {5, 5}, {50, 50},
       QColor(10, 20, 30)},
      {"see-through picture", {200, 100}, QImage::Format_ARGB32, QColor(0, 0, 0, 0), false, {5, 5}, {-1, -1},
       QColor(Qt::white)},
      {"opaque drawing, smaller", {20, 10}, QImage::Format_RGB32, QColor(10, 20, 30), true, {5, 5}, {50, 50},
       QColor(10, 20, 30)},
      {"see-through drawing", {200, 100}, QImage::Format_ARGB32_Premultiplied, QColor(0, 0, 0, 0), true, {5, 5},
       {-1, -1}, QColor(Qt::white)},
  };
  ControlsForm& f = frmControls();
  vb::PictureBox& p = plainBox();
  f.Show();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QImage pic(c.size, c.format);
    pic.fill(c.fill);
    if (c.drawing) {
      p.canvas() = pic;
      p.Refresh();
    } else {
      p.setPicture(pic);
    }
    QWidget* client = p.widget()->findChild<QWidget*>();
    ASSERT_NE(client, nullptr);
    // Over a colour the box never uses: what it leaves unpainted shows.
    QImage shot(client->size(), QImage::Format_RGB32);
    shot.fill(Qt::magenta);
    client->render(&shot);
    EXPECT_EQ(shot.pixelColor(c.inside), c.seenInside);
    if (c.beyond.x() >= 0) {
      EXPECT_EQ(shot.pixelColor(c.beyond), QColor(Qt::white));
    }
  }
  p.setPicture(QImage());
  f.Hide();
}

TEST(Controls, PictureBoxBorderChangesTheClientNotTheBox) {
  ControlsForm& f = frmControls();
  vb::PictureBox& p = f.pic;
  p.setBorderStyle(1);
  const int w = p.Width();
  const double inner = p.ScaleWidth();
  p.setBorderStyle(0);
  EXPECT_EQ(p.Width(), w);
  EXPECT_DOUBLE_EQ(p.ScaleWidth(), inner + 4 * 15);  // a 2-pixel border each side
  EXPECT_THROW(p.setBorderStyle(2), vb::Error);
}

TEST(Controls, ListBoxSelectionAndMultiSelect) {
  ControlsForm& f = frmControls();
  vb::ListBox& l = f.list;
  int clicks = 0;
  l.onClick = [&] { ++clicks; };
  for (const char* s : {"one", "two", "three"}) l.AddItem(s);
  l.AddItem("zero", 0);
  EXPECT_EQ(l.ListCount(), 4);
  EXPECT_EQ(l.List(0), "zero");
  EXPECT_EQ(l.ListIndex(), -1);
  l.setListIndex(2);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(l.Text(), "two");
  EXPECT_THROW(l.setListIndex(9), vb::Error);
  l.RemoveItem(0);
  EXPECT_EQ(l.List(0), "one");
  l.setMultiSelect(1);
  l.setSelected(0, true);
  l.setSelected(2, true);
  EXPECT_TRUE(l.Selected(0));
  EXPECT_TRUE(l.Selected(2));
  EXPECT_EQ(l.SelCount(), 3);
  l.Clear();
  EXPECT_EQ(l.ListCount(), 0);
  EXPECT_EQ(l.List(0), "");
}

class ToolsForm : public vb::Form {
 public:
  ToolsForm() : Form("ToolsForm") {}
  vb::FileListBox files{*this, "files"};
  vb::StatusBar bar{*this, "bar"};
  vb::ImageList images{*this, "images"};
  vb::Slider slider{*this, "slider"};
};
vb::DefaultInstance<ToolsForm> frmTools;

TEST(Controls, FileListBoxListsMatchingFilesByName) {
  QTemporaryDir dir;
  for (const char* name : {"b.GIF", "a.gif", "c.bmp", "d.txt"}) {
    QFile f(dir.path() + "/" + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  QDir(dir.path()).mkdir("sub.gif");
  vb::FileListBox& fl = frmTools().files;
  int pathChanges = 0;
  fl.onPathChange = [&] { ++pathChanges; };
  fl.setPattern("*.gif;*.BMP");
  fl.setPath(dir.path());
  EXPECT_EQ(pathChanges, 1);
  QStringList names;
  for (int i = 0; i < fl.ListCount(); ++i) names << fl.List(i);
  EXPECT_EQ(names, (QStringList{"a.gif", "b.GIF", "c.bmp"}));
  fl.setFileName("b.GIF");
  QFile(dir.path() + "/a2.gif").open(QIODevice::WriteOnly);
  fl.Refresh();
  EXPECT_EQ(fl.ListCount(), 4);
  EXPECT_EQ(fl.FileName(), "b.GIF");  // the selection survives a refresh
  try {
    fl.setPath(dir.path() + "/missing");
    ADD_FAILURE();
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number(), 76);
  }
}

TEST(Controls, StatusBarPanelsByIndexAndKey) {
  vb::StatusBar& bar = frmTools().bar;
  EXPECT_EQ(bar.PanelCount(), 1);
  bar.Panels(1).setKey("first");
  vb::Panel& p2 = bar.AddPanel("run", "Mosaiq");
  p2.setToolTipText("start it");
  EXPECT_EQ(bar.Panels("run").Index(), 2);
  EXPECT_EQ(bar.Panels(2).Text(), "Mosaiq");
  EXPECT_EQ(p2.widget()->toolTip(), "start it");
  EXPECT_THROW(bar.Panels(3), vb::Error);
  EXPECT_THROW(bar.AddPanel("run"), vb::Error);
  QString clicked;
  bar.onPanelClick = [&](vb::Panel& p) { clicked = p.Key(); };
  QTest::mouseClick(p2.widget(), Qt::LeftButton);
  EXPECT_EQ(clicked, "run");
}

// A panel not sized by its text wraps in a bar that grows to show it; a
// panel sized by its text stays on one line.
TEST(Controls, AStatusBarGrowsToShowAPanelTooLongForItsWidth) {
  ToolsForm& f = frmTools();
  f.Move(0, 0, 3000, 3000);
  f.Show();
  vb::StatusBar& bar = f.bar;
  vb::Panel& spring = bar.Panels(1);
  spring.setAutoSize(1);
  spring.setText("short");
  QCoreApplication::processEvents();
  const int oneLine = bar.Height();
  const QString hint = "Set the delay, then click Create the GIF. In the list, the arrows move a frame and "
                       "Delete removes it.";
  spring.setText(hint);
  QCoreApplication::processEvents();
  auto* label = static_cast<QLabel*>(spring.widget());
  const QRect need = QFontMetrics(label->font()).boundingRect(QRect(0, 0, label->contentsRect().width() - label->indent(), 1 << 20), Qt::TextWordWrap, hint);
  EXPECT_GT(need.height(), QFontMetrics(label->font()).height()) << "the hint takes more than one line here";
  EXPECT_GE(label->contentsRect().height(), need.height()) << "every line of the panel shows";
  EXPECT_EQ(bar.Top() + bar.Height(), int(f.ScaleHeight())) << "still docked at the bottom";
  EXPECT_EQ(bar.Width(), int(f.ScaleWidth()));

  spring.setText("short");
  QCoreApplication::processEvents();
  EXPECT_EQ(bar.Height(), oneLine) << "back to one line";
  vb::Panel& contents = bar.AddPanel("contents", "a panel as wide as its text");
  contents.setAutoSize(2);
  QCoreApplication::processEvents();
  EXPECT_FALSE(static_cast<QLabel*>(contents.widget())->wordWrap());
  EXPECT_EQ(bar.Height(), oneLine);
}

TEST(Controls, ImageListIsOneBasedAndKeyed) {
  vb::ImageList& il = frmTools().images;
  QImage a(4, 4, QImage::Format_RGB32), b(8, 8, QImage::Format_RGB32);
  il.Add(a, "a");
  il.Add(b, "b");
  il.Add(a, "first", 1);
  EXPECT_EQ(il.Count(), 3);
  EXPECT_EQ(il.ListImages(1).Key, "first");
  EXPECT_EQ(il.ListImages("b").Index, 3);
  EXPECT_EQ(il.ListImages("b").Picture.width(), 8);
  try {
    il.ListImages(0);
    ADD_FAILURE();
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number(), 35600);
  }
  EXPECT_THROW(il.Add(a, "a"), vb::Error);
  il.Remove("first");
  EXPECT_EQ(il.ListImages("b").Index, 2);
}

TEST(Controls, SliderValueAndChange) {
  vb::Slider& s = frmTools().slider;
  int changes = 0;
  s.onChange = [&] { ++changes; };
  s.setMin(1);
  s.setMax(8);
  changes = 0;
  s.setValue(5);
  EXPECT_EQ(s.Value(), 5);
  EXPECT_EQ(changes, 1);
  EXPECT_THROW(s.setValue(9), vb::Error);
}

}  // namespace

namespace {

class MoreForm : public vb::Form {
 public:
  MoreForm() : Form("MoreForm") {
    frame.Move(1500, 1500, 3000, 3000);
    inFrame.Move(150, 300, 600, 300);
    line.setX1(0);
    line.setY1(0);
    line.setX2(1500);
    line.setY2(750);
  }
  vb::TextBox memo{*this, "memo", true};
  vb::Image img{*this, "img"};
  vb::Line line{*this, "line"};
  vb::Frame frame{*this, "frame"};
  vb::CommandButton inFrame{frame, "inFrame"};
};
vb::DefaultInstance<MoreForm> frmMore;

TEST(Controls, MultiLineTextBoxKeepsCodeTextAndLimitsTyping) {
  vb::TextBox& m = frmMore().memo;
  m.setMaxLength(4);
  m.setText("line1\r\nline2");
  EXPECT_EQ(m.Text(), "line1\r\nline2");
  m.setSelStart(0);
  QTest::keyClick(m.widget(), Qt::Key_X);
  EXPECT_EQ(m.Text(), "line1\r\nline2");
  m.setText("");
  QTest::keyClicks(m.widget(), "abcdef");
  EXPECT_EQ(m.Text(), "abcd");
}

TEST(Controls, ImageTakesItsPictureSizeUnlessStretched) {
  vb::Image& img = frmMore().img;
  QImage pic(20, 10, QImage::Format_RGB32);
  pic.fill(Qt::blue);
  img.setPicture(pic);
  EXPECT_EQ(img.Width(), 300);
  EXPECT_EQ(img.Height(), 150);
  img.setStretch(true);
  img.Move(0, 0, 900, 900);
  img.setPicture(pic);
  EXPECT_EQ(img.Width(), 900);
  const QImage shot = img.widget()->grab().toImage();
  EXPECT_EQ(shot.pixelColor(55, 55), QColor(Qt::blue));  // stretched over the whole control
}

TEST(Controls, ContainersPlaceChildrenInTheirOwnCoordinates) {
  MoreForm& f = frmMore();
  EXPECT_EQ(f.inFrame.widget()->parentWidget(), f.frame.widget());
  EXPECT_EQ(f.inFrame.widget()->pos(), QPoint(10, 20));
  EXPECT_EQ(f.inFrame.Left(), 150);
  EXPECT_EQ(f.line.X2(), 1500);
  EXPECT_GE(f.line.widget()->width(), 100);  // spans 100 x 50 pixels
  EXPECT_GE(f.line.widget()->height(), 50);
  EXPECT_TRUE(f.line.widget()->testAttribute(Qt::WA_TransparentForMouseEvents));
}

}  // namespace

namespace {

// A borderless frame holding a label far from its top left corner.
class RepaintForm : public vb::Form {
 public:
  RepaintForm() : Form("RepaintForm") {
    Move(0, 0, 9000, 9000);
    frame.setBorderStyle(0);
    frame.Move(0, 0, 7500, 6000);
    probe.Move(3000, 3000, 1500, 300);
    probe.setCaption("probe");
  }
  vb::Frame frame{*this, "frame"};
  vb::Label probe{frame, "probe"};
};
vb::DefaultInstance<RepaintForm> frmRepaint;

// Counts the paint events of a widget and the area they cover.
struct PaintCount : QObject {
  explicit PaintCount(QWidget* w) { w->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) region += static_cast<QPaintEvent*>(e)->region();
    return false;
  }
  QRegion region;
};

}  // namespace

// A change repaints what it touches, not its neighbours: a list that gains a
// row (new controls, its frame a row taller) would repaint every row shown.
TEST(Controls, AChangeRepaintsWhatItTouchesOnly) {
  RepaintForm& f = frmRepaint();
  f.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f.widget()));
  std::vector<std::unique_ptr<vb::PictureBox>> made;
  const struct {
    const char* change;
    std::function<void()> make;
    bool probeRepainted;
  } cases[] = {
      {"a control made and placed away from it",
       [&] {
         made.push_back(std::make_unique<vb::PictureBox>(f.frame, "made"));
         made.back()->Move(6000, 150, 600, 600);
       },
       false},
      {"its borderless frame made taller", [&] { f.frame.setHeight(f.frame.Height() + 1800); }, false},
      {"the label itself changed", [&] { f.probe.setCaption("changed"); }, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.change);
    QCoreApplication::processEvents();
    PaintCount probe(f.probe.widget());
    c.make();
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    EXPECT_EQ(!probe.region.isEmpty(), c.probeRepainted);
  }

  // A bordered frame moves its bottom border when it grows: the old one is repainted.
  f.frame.setBorderStyle(1);
  QCoreApplication::processEvents();
  PaintCount frame(f.frame.widget());
  const int oldBottom = f.frame.widget()->height() - 1;
  f.frame.setHeight(f.frame.Height() + 600);
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  EXPECT_TRUE(frame.region.contains(QPoint(50, oldBottom))) << "the old bottom border stays drawn";
  f.Hide();
}
