#pragma once
// The common dialog object: one object whose properties are kept between calls,
// as the old control's were. ShowOpen/ShowSave use Qt's own (non-native) file
// dialog, ShowPrinter the Qt print dialog; all go through vb::dialogService(),
// so tests script them.
#include "platform/forms/MsgBox.h"

#include <QString>
#include <QStringList>

#include <memory>

class QPrinter;

namespace vb {

enum CommonDialogFlags : int {
  cdlOFNReadOnly = 0x1, cdlOFNOverwritePrompt = 0x2, cdlOFNHideReadOnly = 0x4,
  cdlOFNNoChangeDir = 0x8, cdlOFNPathMustExist = 0x800, cdlOFNFileMustExist = 0x1000,
  cdlOFNCreatePrompt = 0x2000, cdlOFNExplorer = 0x80000,
  cdlPDAllPages = 0x0, cdlPDSelection = 0x1, cdlPDPageNums = 0x2, cdlPDNoSelection = 0x4,
  cdlPDNoPageNums = 0x8, cdlPDPrintSetup = 0x40, cdlPDReturnDC = 0x100,
};

class CommonDialog {
 public:
  CommonDialog();
  ~CommonDialog();

  QString FileName() const { return fileName_; }
  void setFileName(const QString& name) { fileName_ = name; }
  // The name part of FileName (after the last "/").
  QString FileTitle() const;
  // "description|pattern|description|pattern..." (patterns "*.bmp;*.jpg").
  QString Filter() const { return filter_; }
  void setFilter(const QString& filter) { filter_ = filter; }
  int FilterIndex() const { return filterIndex_; }  // 1-based
  void setFilterIndex(int index) { filterIndex_ = index; }
  QString InitDir() const { return initDir_; }
  void setInitDir(const QString& dir) { initDir_ = dir; }
  QString DefaultExt() const { return defaultExt_; }
  void setDefaultExt(const QString& ext) { defaultExt_ = ext; }
  int Flags() const { return flags_; }
  void setFlags(int flags) { flags_ = flags; }
  bool CancelError() const { return cancelError_; }
  void setCancelError(bool on) { cancelError_ = on; }
  QString DialogTitle() const { return dialogTitle_; }
  void setDialogTitle(const QString& title) { dialogTitle_ = title; }
  int Copies() const { return copies_; }
  void setCopies(int copies) { copies_ = copies; }

  // ShowOpen takes only an existing file when Flags hold cdlOFNFileMustExist;
  // without it a new name may be typed, as in the old open box.
  // Each returns normally when the user accepts; on cancel it throws
  // Error 32755 when CancelError is set, else returns with FileName unchanged.
  // An accepted open/save sets FileName (with DefaultExt added to a name
  // without extension) and FilterIndex (when the service reports it).
  void ShowOpen();
  void ShowSave();
  void ShowPrinter();

  // The filter as Qt name filters ("Pictures (*.bmp *.jpg)").
  QStringList qtNameFilters() const;
  // The printer the last accepted ShowPrinter chose (created on first use:
  // the default printer, or a PDF file for tests).
  QPrinter& printer();
  // Set by a dialog service after a choice of filter.
  void setChosenFilterIndex_(int index) { filterIndex_ = index; }

 private:
  void accept(const QString& path);
  QString fileName_, filter_, initDir_, defaultExt_, dialogTitle_;
  int filterIndex_ = 1;
  int flags_ = 0;
  bool cancelError_ = false;
  int copies_ = 1;
  std::unique_ptr<QPrinter> printer_;
};

}  // namespace vb
