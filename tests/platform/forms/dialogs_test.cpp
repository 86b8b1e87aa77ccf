// Message and input boxes, the scripted test service, the box log and the
// common dialog.
#include "TestForms.h"
#include "platform/forms/App.h"
#include "platform/forms/CommonDialog.h"
#include "platform/forms/MsgBox.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

using testenv::dialogs;

TEST(Dialogs, ScriptedBoxesGetTheirAnswersInOrder) {
  dialogs().expectMsgBox("Save the captures", vb::vbNo);
  dialogs().expectInputBox("Name", QString("abc"));
  dialogs().expectInputBox("Other", std::nullopt);
  EXPECT_EQ(vb::MsgBox("Save the captures?", vb::vbYesNoCancel | vb::vbQuestion, "Velistrom"), vb::vbNo);
  EXPECT_EQ(vb::InputBox("Name:"), "abc");
  EXPECT_EQ(vb::InputBoxEx("Other"), std::nullopt);  // cancelled
  dialogs().verify();
  ASSERT_EQ(dialogs().shown().size(), 3u);
  EXPECT_EQ(dialogs().shown()[0].icon, "question");
  EXPECT_EQ(dialogs().shown()[0].title, "Velistrom");
  EXPECT_EQ(dialogs().shown()[1].title, vb::App.Title());  // an empty title is the program's
}

TEST(Dialogs, AnUnexpectedBoxFailsTheTestInsteadOfBlocking) {
  int answer = 0;
  EXPECT_NONFATAL_FAILURE(answer = vb::MsgBox("surprise", vb::vbYesNo | vb::vbDefaultButton2),
                          "unexpected msgbox box: \"surprise\"");
  EXPECT_EQ(answer, vb::vbNo);  // the default button
  dialogs().expectMsgBox("first", vb::vbOK);
  EXPECT_NONFATAL_FAILURE(vb::MsgBox("second"), "the next expected is a msgbox box containing \"first\"");
  dialogs().reset();
  dialogs().expectInputBox("never", QString());
  EXPECT_NONFATAL_FAILURE(dialogs().verify(), "was never shown");
  EXPECT_NONFATAL_FAILURE(vb::InputBox("x"), "unexpected input box");
}

TEST(Dialogs, TheLogWritesOneLineAndAnswersTheDefault) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/boxes.log";
  qputenv("VELISTROM_MSGBOX_LOG", path.toLocal8Bit());
  vb::setDialogService(nullptr);  // the default service, as a program run as a process has
  const int a = vb::MsgBox("line one\r\nline two\nthree", vb::vbYesNo | vb::vbExclamation | vb::vbDefaultButton2,
                           "Title");
  const int b = vb::MsgBox("plain");
  const QString typed = vb::InputBox("Your name", "Ask", "preset");
  vb::setDialogService(&dialogs());
  qunsetenv("VELISTROM_MSGBOX_LOG");
  EXPECT_EQ(a, vb::vbNo);
  EXPECT_EQ(b, vb::vbOK);
  EXPECT_EQ(typed, "preset");
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(f.readAll()),
            "exclamation|Title|line one\\nline two\\nthree\n"
            "none|" + vb::App.Title() + "|plain\n"
            "input|Ask|Your name\n");
}

TEST(Dialogs, DefaultAnswerOfEveryButtonSet) {
  struct Case { int buttons; int answer; };
  const Case cases[] = {{vb::vbOKOnly, vb::vbOK},
                        {vb::vbOKCancel | vb::vbDefaultButton2, vb::vbCancel},
                        {vb::vbAbortRetryIgnore | vb::vbDefaultButton3, vb::vbIgnore},
                        {vb::vbYesNoCancel, vb::vbYes},
                        {vb::vbYesNoCancel | vb::vbDefaultButton3, vb::vbCancel},
                        {vb::vbRetryCancel, vb::vbRetry}};
  for (const Case& c : cases) EXPECT_EQ(vb::defaultAnswer(c.buttons), c.answer) << c.buttons;
}

TEST(Dialogs, FilterPatternsAreShownOnceAndOtherParenthesesAreNoPatterns) {
  vb::CommonDialog cd;
  cd.setFilter("Bitmap (*.bmp)|*.bmp|Pictures|*.jpg;*.png|Photo (old) (*.jpg)|*.jpg|Any (*.txt)|*.bmp");
  EXPECT_EQ(cd.qtNameFilters(), (QStringList{"Bitmap (*.bmp)", "Pictures (*.jpg *.png)", "Photo (old) (*.jpg)",
                                             "Any [*.txt] (*.bmp)"}));
}

TEST(Dialogs, CommonDialogKeepsItsPropertiesAndCancelErrorThrows) {
  vb::CommonDialog cd;
  cd.setFilter("Bitmap (*.bmp)|*.bmp|Pictures|*.jpg;*.png");
  cd.setFilterIndex(2);
  cd.setDefaultExt("png");
  cd.setDialogTitle("Save the capture");
  cd.setFileName("/tmp/old.png");
  EXPECT_EQ(cd.qtNameFilters(), (QStringList{"Bitmap (*.bmp)", "Pictures (*.jpg *.png)"}));

  dialogs().expectFileDialog(2, "Save the capture", QString("/tmp/shot"), 1);
  cd.ShowSave();
  EXPECT_EQ(cd.FileName(), "/tmp/shot.png");  // DefaultExt added
  EXPECT_EQ(cd.FileTitle(), "shot.png");
  EXPECT_EQ(cd.FilterIndex(), 1);

  dialogs().expectFileDialog(1, "Pictures", std::nullopt);
  cd.ShowOpen();  // cancelled without CancelError: nothing changes
  EXPECT_EQ(cd.FileName(), "/tmp/shot.png");

  cd.setCancelError(true);
  dialogs().expectFileDialog(1, "", std::nullopt);
  try {
    cd.ShowOpen();
    ADD_FAILURE() << "no error on cancel";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number(), 32755);
  }
  EXPECT_EQ(cd.Filter(), "Bitmap (*.bmp)|*.bmp|Pictures|*.jpg;*.png");  // kept between calls
  dialogs().verify();
}

TEST(Dialogs, ShowPrinterHandsAPrinterThatPrintsIntoAPdf) {
  QTemporaryDir dir;
  const QString pdf = dir.path() + "/out.pdf";
  vb::CommonDialog cd;
  cd.setCancelError(true);
  dialogs().expectPrinterDialog(true, pdf, 2);
  cd.ShowPrinter();
  EXPECT_EQ(cd.Copies(), 2);
  {
    QPainter p(&cd.printer());
    p.drawText(100, 100, "page");
  }
  QFile f(pdf);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.read(4) == "%PDF");
  dialogs().expectPrinterDialog(false);
  EXPECT_THROW(cd.ShowPrinter(), vb::Error);
}

TEST(Dialogs, ThePrinterBoxHasItsOwnTitleNotTheFileDialogsOne) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/boxes.log";
  qputenv("VELISTROM_MSGBOX_LOG", path.toLocal8Bit());
  vb::setDialogService(nullptr);
  vb::CommonDialog cd;
  cd.setDialogTitle("Capture file");
  cd.ShowPrinter();
  vb::setDialogService(&dialogs());
  qunsetenv("VELISTROM_MSGBOX_LOG");
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(f.readAll()), "printer|Print|\n");
}

TEST(Settings, SaveAndGetUnderTheConfigFolder) {
  EXPECT_EQ(vb::GetSetting("Velistrom", "Options", "Show Tips at Startup", "1"), "1");
  vb::SaveSetting("Velistrom", "Options", "Show Tips at Startup", "0");
  EXPECT_EQ(vb::GetSetting("Velistrom", "Options", "Show Tips at Startup", "1"), "0");
  EXPECT_EQ(vb::settingsFile("Velistrom"), testenv::configHome() + "/Velistrom/Velistrom.ini");
  EXPECT_TRUE(QFile::exists(vb::settingsFile("Velistrom")));
  vb::SaveSetting("Velistrom", "a/b", "k/x", "v");  // slashes do not make nested groups
  EXPECT_EQ(vb::GetSetting("Velistrom", "a/b", "k/x"), "v");
  vb::DeleteSetting("Velistrom", "Options", "Show Tips at Startup");
  EXPECT_EQ(vb::GetSetting("Velistrom", "Options", "Show Tips at Startup", "d"), "d");
}

TEST(Settings, AppObject) {
  EXPECT_EQ(vb::App.Path(), QCoreApplication::applicationDirPath());
  EXPECT_EQ(vb::App.EXEName(), "test_forms");
  EXPECT_FALSE(vb::App.PrevInstance());
  vb::App.setTitle("Velistrom");
  EXPECT_EQ(vb::App.Title(), "Velistrom");
  vb::App.setTitle(QString());
}

TEST(Keys, QtKeysMapToVirtualKeys) {
  struct Case { int key; bool keypad; int vk; };
  const Case cases[] = {{Qt::Key_A, false, 65},       {Qt::Key_Z, false, 90},     {Qt::Key_0, false, 48},
                        {Qt::Key_9, false, 57},       {Qt::Key_F1, false, 112},   {Qt::Key_F12, false, 123},
                        {Qt::Key_Left, false, 37},    {Qt::Key_Down, false, 40},  {Qt::Key_Return, false, 13},
                        {Qt::Key_Enter, true, 13},    {Qt::Key_Escape, false, 27}, {Qt::Key_Tab, false, 9},
                        {Qt::Key_0, true, 96},        {Qt::Key_9, true, 105},     {Qt::Key_Asterisk, true, 106},
                        {Qt::Key_Plus, true, 107},    {Qt::Key_Minus, true, 109}, {Qt::Key_Period, true, 110},
                        {Qt::Key_Slash, true, 111},   {Qt::Key_Home, true, 36},   {Qt::Key_Shift, false, 16},
                        {Qt::Key_Control, false, 17}, {Qt::Key_Delete, false, 46}, {Qt::Key_Space, false, 32}};
  for (const Case& c : cases) EXPECT_EQ(vb::vkFromQtKey(c.key, c.keypad), c.vk) << c.key;
  bool keypad = false;
  EXPECT_EQ(vb::qtKeyFromVk(101, &keypad), Qt::Key_5);
  EXPECT_TRUE(keypad);
  EXPECT_EQ(vb::qtKeyFromVk(37, &keypad), Qt::Key_Left);
  EXPECT_FALSE(keypad);
  EXPECT_EQ(vb::shiftMask(Qt::ShiftModifier | Qt::AltModifier), 5);
  EXPECT_EQ(vb::buttonMask(Qt::LeftButton | Qt::MiddleButton), 5);
}

}  // namespace

namespace {

// Drives the real Qt dialog that the default service opens.
template <class W>
void whenShown(std::function<void(W*)> act) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
    if (auto* w = qobject_cast<W*>(QApplication::activeModalWidget())) {
      poll->stop();
      poll->deleteLater();
      act(w);
    }
  });
  poll->start(20);
}

TEST(Dialogs, TheDefaultServiceShowsQtsOwnDialogs) {
  vb::setDialogService(nullptr);
  whenShown<QMessageBox>([](QMessageBox* box) {
    EXPECT_EQ(box->text(), "<b>not rich</b>");
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    box->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(vb::MsgBox("<b>not rich</b>", vb::vbYesNo | vb::vbQuestion, "T"), vb::vbNo);

  QTemporaryDir dir;
  QFile(dir.path() + "/pick.bmp").open(QIODevice::WriteOnly);
  vb::CommonDialog cd;
  cd.setInitDir(dir.path());
  cd.setFilter("Bitmap|*.bmp");
  cd.setDialogTitle("Open one");
  whenShown<QFileDialog>([&](QFileDialog* d) {
    EXPECT_TRUE(d->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(d->windowTitle(), "Open one");
    // As the user does: the name typed into the dialog's own field, then Open.
    auto* name = d->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    name->setText("pick.bmp");
    QMetaObject::invokeMethod(d, "accept", Qt::QueuedConnection);
    QTimer::singleShot(3000, d, [d] { d->reject(); });  // never hang the run
  });
  cd.ShowOpen();
  EXPECT_EQ(cd.FileName(), dir.path() + "/pick.bmp");
  vb::setDialogService(&dialogs());
}

}  // namespace
