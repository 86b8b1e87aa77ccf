#pragma once
// Message and input boxes with the old runtime's button and icon codes. Every box
// goes through one service, so tests can script the answers and out-of-process
// tests can log the boxes (VELISTROM_MSGBOX_LOG=FILE: one line icon|title|text
// per box, answered with its default button, nothing shown).
#include <QString>

namespace vb {

enum MsgBoxStyle : int {
  vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4,
  vbRetryCancel = 5,
  vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
  vbDefaultButton1 = 0, vbDefaultButton2 = 256, vbDefaultButton3 = 512,
};
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// Shows a box; an empty title means the application's title.
int MsgBox(const QString& prompt, int buttons = vbOKOnly, const QString& title = QString());

}  // namespace vb
