#include "platform/forms/Error.h"

namespace vb {

Error::Error(int number, QString description)
    : number_(number), description_(description.isEmpty() ? standardDescription(number) : description) {
  what_ = QString("Error %1: %2").arg(number_).arg(description_).toStdString();
}

QString Error::standardDescription(int number) {
  switch (number) {
    case 5: return "Invalid procedure call or argument";
    case 6: return "Overflow";
    case 7: return "Out of memory";
    case 9: return "Subscript out of range";
    case 11: return "Division by zero";
    case 13: return "Type mismatch";
    case 52: return "Bad file name or number";
    case 53: return "File not found";
    case 55: return "File already open";
    case 61: return "Disk full";
    case 62: return "Input past end of file";
    case 70: return "Permission denied";
    case 75: return "Path/File access error";
    case 76: return "Path not found";
    case 91: return "Object variable or With block variable not set";
    case 340: return "Control array element does not exist";
    case 360: return "Object already loaded";
    case 362: return "Can't unload controls created at design time";
    case 364: return "Object was unloaded";
    case 380: return "Invalid property value";
    case 481: return "Invalid picture";
    case 482: return "Printer error";
    case 35600: return "Index out of bounds";
    case 35601: return "Element not found";
    case 35602: return "Key is not unique in collection";
    case 32755: return "Cancel was selected.";
    default: return "Application-defined or object-defined error";
  }
}

}  // namespace vb
