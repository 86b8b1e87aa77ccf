#pragma once
// The widget-free rules of the options dialog: what a hotkey box keeps of a
// typed character, what the interval box keeps, and the checks of OK.
#include "velistrom/core/Params.h"

#include <QString>

namespace options {

// What a hotkey box holds after its text became `text`: a digit 1-9 or a
// letter A-Z (upper-cased), else `avant` (what it held before the key press),
// and nothing when the text is empty.
QString ToucheAcceptee(const QString& text, const QString& avant);

// The digits of a typed interval.
QString ChiffresSeuls(const QString& text);

// The longest editor path the record keeps.
inline constexpr int kEditeurMax = 150;

enum class Verdict {
  Accepte,
  PrefixeCourt,     // fewer than 4 characters in the prefix
  ToucheInvalide,   // a hotkey box empty or not 1-9 / A-Z, or two boxes alike
  EditeurTropLong,  // an editor path longer than its field
};
// OK's checks, in OK's order.
Verdict Verifier(const ReglagesOptions& r);

}  // namespace options
