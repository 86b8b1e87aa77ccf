#pragma once
// Helpers with the semantics of the old forms runtime's string and number
// functions. Positions are 1-based where the old functions were.
#include <QByteArray>
#include <QString>
#include <QStringView>

namespace vb {

// Numeric value of the start of a text: leading blanks and tabs skipped, then an
// optional sign, digits, a decimal point and an exponent, or &H / &O radix
// numbers; reading stops at the first character that cannot continue the number.
// No number at all gives 0.
double Val(QStringView text);
double Val(const QByteArray& latin1);

}  // namespace vb
