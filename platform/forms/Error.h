#pragma once
// Run-time errors of the old forms runtime: a number and a description. The
// layer throws vb::Error where the old runtime raised a trappable error, so a
// caller that trapped by number can catch and test Number.
#include <QString>

#include <exception>
#include <string>

namespace vb {

enum ErrorNumber : int {
  vbErrInvalidCall = 5,          // Invalid procedure call or argument
  vbErrOverflow = 6,             // Overflow
  vbErrSubscript = 9,            // Subscript out of range
  vbErrDivisionByZero = 11,      // Division by zero
  vbErrTypeMismatch = 13,        // Type mismatch
  vbErrBadFileName = 52,         // Bad file name or number
  vbErrFileNotFound = 53,        // File not found
  vbErrInputPastEnd = 62,        // Input past end of file
  vbErrPathFileAccess = 75,      // Path/File access error
  vbErrPathNotFound = 76,        // Path not found
  vbErrNoSuchElement = 340,      // Control array element does not exist
  vbErrAlreadyLoaded = 360,      // Object already loaded
  vbErrDesignElement = 362,      // Can't unload controls created at design time
  vbErrUnloaded = 364,           // Object was unloaded
  vbErrInvalidProperty = 380,    // Invalid property value
  vbErrInvalidPicture = 481,     // Invalid picture
  vbErrCancel = 32755,           // Cancel was selected (common dialog with CancelError)
};

class Error : public std::exception {
 public:
  // An empty description takes the runtime's standard text for the number.
  explicit Error(int number, QString description = QString());

  int Number() const { return number_; }
  QString Description() const { return description_; }
  const char* what() const noexcept override { return what_.c_str(); }

  // The runtime's standard text for an error number ("Application-defined or
  // object-defined error" for numbers it does not know).
  static QString standardDescription(int number);

 private:
  int number_;
  QString description_;
  std::string what_;
};

}  // namespace vb
