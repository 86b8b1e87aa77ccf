#pragma once
// The strict scripted dialog service every test runs with: a test states the
// boxes it expects, in order, each by a substring of its text (prompt for
// message and input boxes, DialogTitle or Filter for the common dialog), and
// the answer to give. A box nobody expected, or one that does not match the
// next expectation, fails the running test at once and gets its default
// answer instead of blocking (a modal box under the offscreen platform would
// never return).
//
//   testenv::dialogs().expectMsgBox("Save the captures", vb::vbNo);
//   testenv::dialogs().expectInputBox("Name", QString("abc"));
//   ... code under test ...
//   testenv::dialogs().verify();   // every expected box came (checked again
//                                  // at the end of every test)
#include "platform/forms/CommonDialog.h"
#include "platform/forms/MsgBox.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <optional>

namespace testenv {

class ScriptedDialogs : public vb::DialogService {
 public:
  struct Shown {
    QString kind;  // "msgbox", "input", "open", "save", "printer"
    QString icon;  // message boxes: as iconName()
    QString title;
    QString text;
    int buttons = 0;
  };

  void expectMsgBox(const QString& textContains, int answer);
  // nullopt: the user cancels.
  void expectInputBox(const QString& promptContains, std::optional<QString> answer);
  // Open (kind 1) or save (2) dialog whose DialogTitle or Filter contains the
  // text (empty: any); the path chosen, nullopt = cancel; filterIndex the
  // filter chosen (0 = unchanged).
  void expectFileDialog(int kind, const QString& contains, std::optional<QString> path,
                        int filterIndex = 0);
  // Printer dialog: accepted printing into the PDF file pdfPath, or cancelled
  // (empty pdfPath with accept false).
  void expectPrinterDialog(bool accept, const QString& pdfPath = QString(), int copies = 1);

  // Fails the test when an expected box did not come; clears the script.
  void verify();
  // Forgets the script and the record (at the start of every test).
  void reset();
  // Every box shown since the last reset, in order.
  const std::vector<Shown>& shown() const { return shown_; }
  int pending() const { return int(script_.size()); }

  int msgBox(const QString& prompt, int buttons, const QString& title) override;
  std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                  const QString& defaultText) override;
  std::optional<QString> fileDialog(int kind, const vb::CommonDialog& dialog) override;
  bool printerDialog(vb::CommonDialog& dialog) override;

 private:
  struct Expectation {
    QString kind;
    QString contains;
    int answer = 0;
    std::optional<QString> text;
    int filterIndex = 0;
    bool accept = false;
    int copies = 1;
  };
  // The next expectation if it is of that kind and matches; else fails the test.
  std::optional<Expectation> take(const QString& kind, const QString& haystack);
  std::deque<Expectation> script_;
  std::vector<Shown> shown_;
};

// The service installed for every test (reset at each test's start).
ScriptedDialogs& dialogs();

}  // namespace testenv
