#pragma once
// Helpers with the semantics of the old forms runtime's string and number
// functions. Positions are 1-based where the old functions were.
#include "platform/forms/Error.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <memory>

namespace vb {

// ---------------------------------------------------------------- numbers

// Numeric value of the start of a text: leading blanks and tabs skipped, then an
// optional sign, digits, a decimal point and an exponent, or &H / &O radix
// numbers; reading stops at the first character that cannot continue the number.
// No number at all gives 0.
double Val(QStringView text);
double Val(const QByteArray& latin1);

// True when the whole text, blanks and tabs around it ignored, is one decimal
// number: an optional sign (+ or -), digits with at most one decimal point (at
// least one digit in all), and optionally an exponent (E or D, optional sign,
// at least one digit); or &H hexadecimal / &O octal digits (at least one). The
// decimal separator is always "."; no thousands separators, no currency signs.
// An empty or blank text is not numeric.
bool IsNumeric(QStringView text);

// Text of a number as Str$ gives it: a leading blank for zero and positive
// numbers, "-" for negative ones; whole numbers without a decimal point, others
// with up to 15 significant digits (0.5 -> " .5", -0.25 -> "-.25").
QString Str(double value);
// The same without the leading blank (CStr).
QString CStr(double value);

// Int: the greatest whole number not above the value (Int(-2.5) = -3). Fix cuts
// towards zero.
double Int(double value);
double Fix(double value);
// CInt / CLng: round halves to even (CInt(2.5) = 2, CInt(3.5) = 4); a result
// outside -32768..32767 (CInt) or the 32-bit range (CLng) throws Error 6.
int CInt(double value);
std::int32_t CLng(double value);
// Mod: both operands rounded half to even to whole numbers first, the result
// has the dividend's sign (-7 Mod 3 = -1); a zero divisor throws Error 11.
std::int64_t Mod(double dividend, double divisor);
// Integer division "\": operands rounded like Mod, quotient cut towards zero.
std::int64_t IntDiv(double dividend, double divisor);

// Colours are the old runtime's colour longs: 0x00BBGGRR.
using Color = std::int32_t;
Color RGB(int red, int green, int blue);
// The 16 colours of the old palette: 0 black, 1 blue, 2 green, 3 cyan, 4 red,
// 5 magenta, 6 yellow (brown), 7 white (light grey), 8 grey, 9 light blue,
// 10 light green, 11 light cyan, 12 light red, 13 light magenta, 14 light
// yellow, 15 bright white. Out of range throws Error 5.
Color QBColor(int number);

// Random numbers with the old generator: Rnd() is the next number in [0, 1);
// Randomize(seed) mixes a seed into the generator as the old runtime did, so a
// seeded series is repeatable; Randomize() seeds from TimerNow().
float Rnd();
float Rnd(double argument);  // < 0: reseed from the argument and draw; 0: repeat last
void Randomize();
void Randomize(double seed);

// ---------------------------------------------------------------- strings

// Mid$(text, start, length): 1-based; start < 1 throws Error 5; start past the
// end gives ""; length < 0 means "to the end".
QString Mid(const QString& text, int start, int length = -1);
// Mid statement: overwrites characters of target from start with those of
// replacement, never changing target's length.
void MidAssign(QString& target, int start, const QString& replacement, int length = -1);
QString Left(const QString& text, int length);   // length < 0 throws Error 5
QString Right(const QString& text, int length);  // length < 0 throws Error 5
// InStr([start,] text, find): 1-based position of find at or after start, 0 when
// absent; an empty find gives start (when start <= Len(text) + 1). start < 1
// throws Error 5. compare 1 = case-insensitive.
int InStr(const QString& text, const QString& find);
int InStr(int start, const QString& text, const QString& find, int compare = 0);
// InStrRev(text, find[, start]): last position of find that ends at or before
// start (-1 = the end), 0 when absent.
int InStrRev(const QString& text, const QString& find, int start = -1, int compare = 0);
// Trim cuts blanks (spaces only, as the old runtime did), not tabs.
QString Trim(const QString& text);
QString LTrim(const QString& text);
QString RTrim(const QString& text);
QString UCase(const QString& text);
QString LCase(const QString& text);
int Len(const QString& text);
QString Space(int count);
QString String(int count, QChar c);
QString Chr(int code);    // code as a Windows-1252 byte (0..255) or a Unicode code point above 255
int Asc(const QString& text);  // empty text throws Error 5
QString Replace(const QString& text, const QString& find, const QString& with);

// A String * N: always exactly N characters; an assignment is padded with
// blanks or cut to N.
class FixedString {
 public:
  explicit FixedString(int length, const QString& value = QString());
  FixedString& operator=(const QString& value);
  const QString& str() const { return text_; }
  operator const QString&() const { return text_; }
  int length() const { return length_; }

 private:
  int length_;
  QString text_;
};

// ---------------------------------------------------------------- Format

// Format$(number, pattern) for the numeric patterns: "0" digit placeholders
// (zero filled), "#" optional digits, "." decimal point, "," thousands groups
// when between digit placeholders, other characters literal; rounding half
// away from zero like the old runtime. "00" pads to two digits, "000.0" one
// decimal, "###00.000" at least two whole digits. A second section after ";"
// is used for negative numbers. The decimal separator is always ".".
QString Format(double value, const QString& pattern);
// Format$(date, pattern) for date/time patterns: yyyy, yy, mm (month, or
// minutes right after h/hh or before ss), m, dd, d, hh, h, nn (minutes), ss, s,
// ampm "AM/PM"; named formats "Short Date" (dd/MM/yyyy), "Long Time" and
// "Short Time" (HH:mm:ss, HH:mm). Any other character is literal; "/" and ":"
// are always "/" and ":".
QString Format(const QDateTime& when, const QString& pattern);

// ---------------------------------------------------------------- clocks

// The wall clock of the runtime; tests may replace it. The default is
// QDateTime::currentDateTime().
using WallClock = std::function<QDateTime()>;
void setWallClock(WallClock clock);  // empty function = the real clock
QDateTime Now();
// Short date "dd/MM/yyyy" and time "HH:mm:ss" of Now(), whatever the locale.
QString DateText();
QString TimeText();
// The old Timer function: seconds since midnight of Now(), with the
// milliseconds as fraction (named apart from the Timer control).
double TimerNow();

// The stepped clock, for tests: from setSteppedClock(start) on, Now() starts
// at start and moves only with stepClock; Timer controls count on it instead
// of real time, and Wait steps it instead of waiting. An invalid start goes
// back to real time.
void setSteppedClock(const QDateTime& start);
bool steppedClock();
// Moves the stepped clock on by ms, running every Timer tick that falls due on
// the way at its own time, in time order, and letting events run after each.
void stepClock(qint64 ms);

// Lets pending events run once (timers, paints, input).
void DoEvents();
// Waits the given number of seconds on a monotonic clock, letting events run
// all the while (the old busy loop on Timer, without its midnight fault).
void Wait(double seconds);

// ---------------------------------------------------------------- files

// Line Input # over a whole file: lines end with CR LF, LF or a lone CR; the
// last line needs no terminator. EOF() becomes true right after the last line
// has been read (a file ending with CR LF has no extra empty line at its end);
// reading past the end throws Error 62. Text is UTF-8 unless Latin-1 is asked.
class LineReader {
 public:
  enum class Encoding { Utf8, Latin1 };
  LineReader() = default;
  // Throws Error 53 when the file is missing, 75 when it cannot be read.
  explicit LineReader(const QString& path, Encoding encoding = Encoding::Utf8);
  static LineReader fromBytes(const QByteArray& bytes, Encoding encoding = Encoding::Utf8);

  bool EOF_() const;
  QString LineInput();
  // Input #: the next comma-separated field (see ReadFields), across lines.
  QString Input();

 private:
  QByteArray data_;
  qsizetype pos_ = 0;
  Encoding encoding_ = Encoding::Utf8;
  QStringList pendingFields_;
};

// Write #: fields separated by commas, text in double quotes, numbers bare
// (as CStr gives them), booleans as #TRUE# / #FALSE#, a null or invalid
// QVariant as nothing. No line end is added.
QString WriteFields(const QVariantList& fields);
// Input # on one line: fields separated by commas; a field starting with a
// double quote runs to the next double quote (the quotes removed, commas kept);
// other fields are trimmed of blanks; #TRUE#/#FALSE# give "True"/"False".
QStringList ReadFields(QStringView line);

// Pictures: LoadPicture throws Error 53 (missing file) or 481 (not a picture).

QImage LoadPicture(const QString& path);
// SavePicture writes a BMP; throws Error 75 when the file cannot be written.
void SavePicture(const QImage& picture, const QString& path);

}  // namespace vb
