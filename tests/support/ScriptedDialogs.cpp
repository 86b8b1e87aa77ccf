#include "tests/support/ScriptedDialogs.h"

#include <QPrinter>
#include <gtest/gtest.h>

namespace testenv {

void ScriptedDialogs::expectMsgBox(const QString& textContains, int answer) {
  Expectation e;
  e.kind = "msgbox";
  e.contains = textContains;
  e.answer = answer;
  script_.push_back(e);
}

void ScriptedDialogs::expectInputBox(const QString& promptContains, std::optional<QString> answer) {
  Expectation e;
  e.kind = "input";
  e.contains = promptContains;
  e.text = std::move(answer);
  script_.push_back(e);
}

void ScriptedDialogs::expectFileDialog(int kind, const QString& contains, std::optional<QString> path,
                                       int filterIndex) {
  Expectation e;
  e.kind = kind == 1 ? "open" : "save";
  e.contains = contains;
  e.text = std::move(path);
  e.filterIndex = filterIndex;
  script_.push_back(e);
}

void ScriptedDialogs::expectPrinterDialog(bool accept, const QString& pdfPath, int copies) {
  Expectation e;
  e.kind = "printer";
  e.accept = accept;
  e.text = pdfPath;
  e.copies = copies;
  script_.push_back(e);
}

void ScriptedDialogs::verify() {
  for (const Expectation& e : script_)
    ADD_FAILURE() << "expected " << e.kind.toStdString() << " box containing \"" << e.contains.toStdString()
                  << "\" was never shown";
  script_.clear();
}

void ScriptedDialogs::reset() {
  script_.clear();
  shown_.clear();
}

std::optional<ScriptedDialogs::Expectation> ScriptedDialogs::take(const QString& kind, const QString& haystack) {
  if (script_.empty()) {
    ADD_FAILURE() << "unexpected " << kind.toStdString() << " box: \"" << haystack.toStdString() << "\"";
    return std::nullopt;
  }
  const Expectation e = script_.front();
  if (e.kind != kind || !haystack.contains(e.contains)) {
    ADD_FAILURE() << "unexpected " << kind.toStdString() << " box: \"" << haystack.toStdString()
                  << "\"; the next expected is a " << e.kind.toStdString() << " box containing \""
                  << e.contains.toStdString() << "\"";
    return std::nullopt;
  }
  script_.pop_front();
  return e;
}

int ScriptedDialogs::msgBox(const QString& prompt, int buttons, const QString& title) {
  shown_.push_back({"msgbox", vb::iconName(buttons), title, prompt, buttons});
  const auto e = take("msgbox", prompt);
  return e ? e->answer : vb::defaultAnswer(buttons);
}

std::optional<QString> ScriptedDialogs::inputBox(const QString& prompt, const QString& title,
                                                 const QString& defaultText) {
  shown_.push_back({"input", QString(), title, prompt, 0});
  const auto e = take("input", prompt);
  if (!e) return std::nullopt;
  return e->text;
}

std::optional<QString> ScriptedDialogs::fileDialog(int kind, const vb::CommonDialog& dialog) {
  const QString k = kind == 1 ? "open" : "save";
  shown_.push_back({k, QString(), dialog.DialogTitle(), dialog.Filter(), 0});
  const auto e = take(k, dialog.DialogTitle() + '\n' + dialog.Filter());
  if (!e) return std::nullopt;
  if (e->text && e->filterIndex > 0) const_cast<vb::CommonDialog&>(dialog).setChosenFilterIndex_(e->filterIndex);
  return e->text;
}

bool ScriptedDialogs::printerDialog(vb::CommonDialog& dialog) {
  shown_.push_back({"printer", QString(), dialog.DialogTitle(), QString(), 0});
  const auto e = take("printer", dialog.DialogTitle());
  if (!e) return false;
  // The output is set before the answer, also for a cancel: code that printed
  // after a cancelled dialog would then leave its PDF for the test to find.
  QPrinter& printer = dialog.printer();
  if (e->text && !e->text->isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(*e->text);
  }
  if (!e->accept) return false;
  printer.setCopyCount(e->copies);
  dialog.setCopies(e->copies);
  return true;
}

ScriptedDialogs& dialogs() {
  static ScriptedDialogs service;
  return service;
}

}  // namespace testenv
