#include "platform/forms/Runtime.h"

#include "platform/forms/FormsInternal.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vb {
namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

double radixValue(QStringView s, qsizetype i, int radix) {
  double v = 0;
  for (; i < s.size(); ++i) {
    const int d = QChar(s[i]).toLower().unicode();
    int digit = -1;
    if (d >= '0' && d <= '9') digit = d - '0';
    else if (d >= 'a' && d <= 'f') digit = d - 'a' + 10;
    if (digit < 0 || digit >= radix) break;
    v = v * radix + digit;
  }
  return v;
}


// Windows-1252 bytes 0x80..0x9F; 0 where the code page has no character.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039,
    0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

// Plain decimal digits of |value| with 15 significant digits: whole and
// fractional parts, no exponent.
void decimalDigits(double value, QString* whole, QString* frac) {
  QString g = QString::number(std::fabs(value), 'e', 14);  // d.dddddddddddddde±x
  const qsizetype e = g.indexOf('e');
  const int exp = g.mid(e + 1).toInt();
  QString digits = g.left(e).remove('.');
  // digits = d0 d1 ... d14, value = d0.d1... × 10^exp
  const int point = exp + 1;  // digits before the decimal point
  if (point <= 0) {
    *whole = QString();
    *frac = QString(-point, '0') + digits;
  } else if (point >= digits.size()) {
    *whole = digits + QString(point - digits.size(), '0');
    *frac = QString();
  } else {
    *whole = digits.left(point);
    *frac = digits.mid(point);
  }
  while (whole->startsWith('0')) whole->remove(0, 1);
  while (frac->endsWith('0')) frac->chop(1);
}

// Rounds the digit strings half away from zero to `decimals` fractional digits.
void roundDigits(QString* whole, QString* frac, int decimals) {
  if (frac->size() <= decimals) {
    *frac += QString(decimals - frac->size(), '0');
    return;
  }
  const bool up = (*frac)[decimals] >= u'5';
  frac->truncate(decimals);
  if (!up) return;
  QString all = *whole + *frac;
  int i = int(all.size()) - 1;
  for (; i >= 0; --i) {
    if (all[i] == u'9') {
      all[i] = u'0';
    } else {
      all[i] = QChar(all[i].unicode() + 1);
      break;
    }
  }
  if (i < 0) all.prepend('1');
  *whole = all.left(all.size() - decimals);
  *frac = all.right(decimals);
  while (whole->startsWith('0')) whole->remove(0, 1);
}

struct Token {
  enum Kind { Literal, IntDigit, FracDigit, Point } kind;
  QChar c;  // '0' or '#' for digits, the literal character
};

QString formatSection(double value, const QString& section) {
  std::vector<Token> tokens;
  bool seenPoint = false, thousands = false;
  int intCount = 0, fracCount = 0;
  for (qsizetype i = 0; i < section.size(); ++i) {
    const QChar c = section[i];
    if (c == u'0' || c == u'#') {
      tokens.push_back({seenPoint ? Token::FracDigit : Token::IntDigit, c});
      (seenPoint ? fracCount : intCount)++;
    } else if (c == u'.' && !seenPoint) {
      seenPoint = true;
      tokens.push_back({Token::Point, c});
    } else if (c == u',' && !seenPoint && intCount > 0 && i + 1 < section.size() &&
               (section[i + 1] == u'0' || section[i + 1] == u'#')) {
      thousands = true;
    } else if (c == u'\\' && i + 1 < section.size()) {
      tokens.push_back({Token::Literal, section[++i]});
    } else if (c == u'"') {
      for (++i; i < section.size() && section[i] != u'"'; ++i) tokens.push_back({Token::Literal, section[i]});
    } else {
      tokens.push_back({Token::Literal, c});
    }
  }
  QString whole, frac;
  decimalDigits(value, &whole, &frac);
  roundDigits(&whole, &frac, fracCount);
  // Trailing '#' decimals drop their zeros.
  int keepFrac = fracCount;
  {
    int j = fracCount - 1;
    std::vector<QChar> fracKinds;
    for (const Token& t : tokens)
      if (t.kind == Token::FracDigit) fracKinds.push_back(t.c);
    while (j >= 0 && fracKinds[j] == u'#' && frac[j] == u'0') --j;
    keepFrac = j + 1;
  }
  if (thousands && whole.size() > 3) {
    for (qsizetype k = whole.size() - 3; k > 0; k -= 3) whole.insert(k, ',');
  }
  QString out;
  int intSeen = 0, fracSeen = 0;
  const int wholeLen = int(whole.size());
  for (const Token& t : tokens) {
    switch (t.kind) {
      case Token::Literal: out += t.c; break;
      case Token::Point: out += '.'; break;
      case Token::IntDigit: {
        const int fromRight = intCount - 1 - intSeen;  // 0 = units
        if (intSeen == 0 && wholeLen > intCount) out += whole.left(wholeLen - intCount);
        const int pos = wholeLen - 1 - fromRight;
        if (pos >= 0) out += whole[pos];
        else if (t.c == u'0') out += '0';
        ++intSeen;
        break;
      }
      case Token::FracDigit:
        if (fracSeen < keepFrac) out += frac[fracSeen];
        ++fracSeen;
        break;
    }
  }
  if (intCount == 0 && !whole.isEmpty()) {
    // No whole-number placeholder: the whole part goes before the point.
    const qsizetype point = out.indexOf('.');
    out.insert(point < 0 ? 0 : point, whole);
  }
  return out;
}

QStringList splitSections(const QString& pattern) {
  QStringList sections;
  QString cur;
  bool quoted = false;
  for (qsizetype i = 0; i < pattern.size(); ++i) {
    const QChar c = pattern[i];
    if (c == u'"') quoted = !quoted;
    if (c == u'\\' && i + 1 < pattern.size()) {
      cur += c;
      cur += pattern[++i];
      continue;
    }
    if (c == u';' && !quoted) {
      sections << cur;
      cur.clear();
    } else {
      cur += c;
    }
  }
  sections << cur;
  return sections;
}

WallClock& wallClock() {
  static WallClock clock;
  return clock;
}

std::uint32_t g_rndSeed = 0x50000;
float g_lastRnd = 0;

bool equalsAt(const QString& text, qsizetype at, const QString& find, Qt::CaseSensitivity cs) {
  return QStringView(text).mid(at, find.size()).compare(find, cs) == 0;
}

QByteArray readWholeFile(const QString& path) {
  QFile f(path);
  if (!f.exists()) throw Error(vbErrFileNotFound);
  if (!f.open(QIODevice::ReadOnly)) throw Error(vbErrPathFileAccess);
  return f.readAll();
}

}  // namespace

double Val(QStringView s) {
  qsizetype i = 0;
  while (i < s.size() && (s[i] == u' ' || s[i] == u'\t')) ++i;
  if (i + 1 < s.size() && s[i] == u'&') {
    const QChar r = QChar(s[i + 1]).toUpper();
    if (r == u'H') return radixValue(s, i + 2, 16);
    if (r == u'O') return radixValue(s, i + 2, 8);
  }
  QString num;
  if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) num += s[i++];
  bool digits = false;
  while (i < s.size() && isDigit(s[i])) { num += s[i++]; digits = true; }
  if (i < s.size() && s[i] == u'.') {
    num += u'.';
    ++i;
    while (i < s.size() && isDigit(s[i])) { num += s[i++]; digits = true; }
  }
  if (!digits) return 0;
  if (i < s.size() && (s[i] == u'e' || s[i] == u'E' || s[i] == u'd' || s[i] == u'D')) {
    qsizetype j = i + 1;
    QString exp = "e";
    if (j < s.size() && (s[j] == u'-' || s[j] == u'+')) exp += s[j++];
    bool expDigits = false;
    while (j < s.size() && isDigit(s[j])) { exp += s[j++]; expDigits = true; }
    if (expDigits) num += exp;
  }
  return num.toDouble();
}

double Val(const QByteArray& latin1) { return Val(QString::fromLatin1(latin1)); }


// ---------------------------------------------------------------- numbers

bool IsNumeric(QStringView s) {
  qsizetype i = 0, n = s.size();
  while (i < n && (s[i] == u' ' || s[i] == u'\t')) ++i;
  while (n > i && (s[n - 1] == u' ' || s[n - 1] == u'\t')) --n;
  if (i >= n) return false;
  if (s[i] == u'&' && i + 1 < n) {
    const QChar r = QChar(s[i + 1]).toUpper();
    const bool hex = r == u'H';
    if (!hex && r != u'O') return false;
    qsizetype j = i + 2;
    if (j >= n) return false;
    for (; j < n; ++j) {
      const QChar c = QChar(s[j]).toUpper();
      const bool ok = hex ? (isDigit(c) || (c >= u'A' && c <= u'F')) : (c >= u'0' && c <= u'7');
      if (!ok) return false;
    }
    return true;
  }
  if (s[i] == u'+' || s[i] == u'-') ++i;
  int digits = 0;
  bool point = false;
  for (; i < n && (isDigit(s[i]) || (s[i] == u'.' && !point)); ++i) {
    if (s[i] == u'.') point = true;
    else ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (s[i] == u'e' || s[i] == u'E' || s[i] == u'd' || s[i] == u'D')) {
    ++i;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) ++i;
    int expDigits = 0;
    for (; i < n && isDigit(s[i]); ++i) ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == n;
}

QString CStr(double value) {
  if (value == 0) return "0";
  if (value == std::floor(value) && std::fabs(value) < 1e15) return QString::number(qint64(value));
  QString g = QString::number(value, 'g', 15);
  const qsizetype e = g.indexOf('e');
  if (e >= 0) {
    QString mant = g.left(e), exp = g.mid(e + 1);
    const QChar sign = exp[0];
    exp = exp.mid(1);
    while (exp.size() < 2) exp.prepend('0');
    g = mant + "E" + sign + exp;
  }
  if (g.startsWith("0.")) g.remove(0, 1);
  else if (g.startsWith("-0.")) g.remove(1, 1);
  return g;
}

QString Str(double value) {
  const QString s = CStr(value);
  return value < 0 ? s : " " + s;
}

double Int(double value) { return std::floor(value); }
double Fix(double value) { return std::trunc(value); }

int CInt(double value) {
  const double r = std::nearbyint(value);
  if (!(r >= -32768.0 && r <= 32767.0)) throw Error(vbErrOverflow);
  return int(r);
}

std::int32_t CLng(double value) {
  const double r = std::nearbyint(value);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) throw Error(vbErrOverflow);
  return std::int32_t(r);
}

namespace {
std::int64_t wholeOperand(double v) {
  const double r = std::nearbyint(v);
  if (!(r >= -9.2e18 && r <= 9.2e18)) throw Error(vbErrOverflow);
  return std::int64_t(r);
}
}  // namespace

std::int64_t Mod(double dividend, double divisor) {
  const std::int64_t a = wholeOperand(dividend), b = wholeOperand(divisor);
  if (b == 0) throw Error(vbErrDivisionByZero);
  return a % b;
}

std::int64_t IntDiv(double dividend, double divisor) {
  const std::int64_t a = wholeOperand(dividend), b = wholeOperand(divisor);
  if (b == 0) throw Error(vbErrDivisionByZero);
  return a / b;
}

Color RGB(int red, int green, int blue) {
  auto clamp = [](int v) { return v < 0 ? 0 : v > 255 ? 255 : v; };
  return Color(clamp(red) | (clamp(green) << 8) | (clamp(blue) << 16));
}

Color QBColor(int number) {
  static const Color palette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                    0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                    0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  if (number < 0 || number > 15) throw Error(vbErrInvalidCall);
  return palette[number];
}

float Rnd() {
  g_rndSeed = (g_rndSeed * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
  g_lastRnd = float(g_rndSeed) / 16777216.0f;
  return g_lastRnd;
}

float Rnd(double argument) {
  if (argument == 0) return g_lastRnd;
  if (argument < 0) {
    const float f = float(argument);
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    g_rndSeed = (bits + (bits >> 24)) & 0xFFFFFFu;
  }
  return Rnd();
}

void Randomize(double seed) {
  std::uint64_t bits;
  std::memcpy(&bits, &seed, sizeof bits);
  std::uint32_t hi = std::uint32_t(bits >> 32);
  hi = ((hi & 0xFFFFu) ^ (hi >> 16)) << 8;
  g_rndSeed = (g_rndSeed & 0xFF0000FFu) | (hi & 0x00FFFF00u);
}

void Randomize() { Randomize(TimerNow()); }

// ---------------------------------------------------------------- strings

QString Mid(const QString& text, int start, int length) {
  if (start < 1) throw Error(vbErrInvalidCall);
  if (start > text.size()) return QString();
  return length < 0 ? text.mid(start - 1) : text.mid(start - 1, length);
}

void MidAssign(QString& target, int start, const QString& replacement, int length) {
  if (start < 1 || start > target.size()) throw Error(vbErrInvalidCall);
  qsizetype n = replacement.size();
  if (length >= 0 && length < n) n = length;
  n = std::min<qsizetype>(n, target.size() - (start - 1));
  target.replace(start - 1, n, replacement.left(n));
}

QString Left(const QString& text, int length) {
  if (length < 0) throw Error(vbErrInvalidCall);
  return text.left(length);
}

QString Right(const QString& text, int length) {
  if (length < 0) throw Error(vbErrInvalidCall);
  return text.right(length);
}

int InStr(const QString& text, const QString& find) { return InStr(1, text, find); }

int InStr(int start, const QString& text, const QString& find, int compare) {
  if (start < 1) throw Error(vbErrInvalidCall);
  if (start > text.size() + 1) return 0;
  if (find.isEmpty()) return start;
  const auto cs = compare == 1 ? Qt::CaseInsensitive : Qt::CaseSensitive;
  return int(text.indexOf(find, start - 1, cs)) + 1;
}

int InStrRev(const QString& text, const QString& find, int start, int compare) {
  if (start == 0 || start < -1) throw Error(vbErrInvalidCall);
  const qsizetype end = start == -1 ? text.size() : start;  // 1-based last usable character
  if (end > text.size()) return 0;
  if (find.isEmpty()) return int(end);
  const auto cs = compare == 1 ? Qt::CaseInsensitive : Qt::CaseSensitive;
  for (qsizetype at = end - find.size(); at >= 0; --at)
    if (equalsAt(text, at, find, cs)) return int(at) + 1;
  return 0;
}

QString LTrim(const QString& text) {
  qsizetype i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  return text.mid(i);
}

QString RTrim(const QString& text) {
  qsizetype n = text.size();
  while (n > 0 && text[n - 1] == u' ') --n;
  return text.left(n);
}

QString Trim(const QString& text) { return LTrim(RTrim(text)); }
QString UCase(const QString& text) { return text.toUpper(); }
QString LCase(const QString& text) { return text.toLower(); }
int Len(const QString& text) { return int(text.size()); }

QString Space(int count) {
  if (count < 0) throw Error(vbErrInvalidCall);
  return QString(count, ' ');
}

QString String(int count, QChar c) {
  if (count < 0) throw Error(vbErrInvalidCall);
  return QString(count, c);
}

QString Chr(int code) {
  if (code < 0) throw Error(vbErrInvalidCall);
  if (code >= 0x80 && code <= 0x9F) {
    const char16_t u = kCp1252High[code - 0x80];
    return QString(QChar(u ? u : char16_t(code)));
  }
  if (code > 0xFFFF) return QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
  return QString(QChar(char16_t(code)));
}

int Asc(const QString& text) {
  if (text.isEmpty()) throw Error(vbErrInvalidCall);
  const char16_t c = text[0].unicode();
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (int i = 0; i < 32; ++i)
    if (kCp1252High[i] == c) return 0x80 + i;
  return c <= 0x9F ? c : '?';
}

QString Replace(const QString& text, const QString& find, const QString& with) {
  if (find.isEmpty()) return text;
  QString out = text;
  return out.replace(find, with);
}

FixedString::FixedString(int length, const QString& value) : length_(length < 0 ? 0 : length) {
  *this = value;
}

FixedString& FixedString::operator=(const QString& value) {
  text_ = value.left(length_);
  if (text_.size() < length_) text_ += QString(length_ - text_.size(), ' ');
  return *this;
}

// ---------------------------------------------------------------- Format

QString Format(double value, const QString& pattern) {
  if (pattern.isEmpty()) return CStr(value);
  const QStringList sections = splitSections(pattern);
  if (value < 0 && sections.size() >= 2 && !sections[1].isEmpty())
    return formatSection(-value, sections[1]);
  if (value == 0 && sections.size() >= 3 && !sections[2].isEmpty())
    return formatSection(0, sections[2]);
  QString out = formatSection(value, sections[0]);
  if (value < 0) {
    // No sign for a value that rounds to zero in every shown digit.
    bool nonZero = false;
    for (QChar c : out)
      if (c >= u'1' && c <= u'9') nonZero = true;
    if (nonZero) out.prepend('-');
  }
  return out;
}

QString Format(const QDateTime& when, const QString& pattern) {
  const QString lower = pattern.toLower();
  if (lower == "short date") return when.toString("dd/MM/yyyy");
  if (lower == "long time" || lower == "ttttt") return when.toString("HH:mm:ss");
  if (lower == "short time") return when.toString("HH:mm");
  if (lower == "general date") return when.toString("dd/MM/yyyy HH:mm:ss");
  const QDate d = when.date();
  const QTime t = when.time();
  const bool ampm = lower.contains("am/pm");
  auto two = [](int v) { return QString::number(v).rightJustified(2, '0'); };
  QString out;
  bool lastWasHour = false;
  for (qsizetype i = 0; i < pattern.size();) {
    auto run = [&](QChar c) {
      qsizetype j = i;
      while (j < pattern.size() && pattern[j].toLower() == c) ++j;
      return int(j - i);
    };
    const QChar c = pattern[i].toLower();
    if (lower.mid(i, 5) == "am/pm") {
      out += t.hour() < 12 ? "AM" : "PM";
      i += 5;
      continue;
    }
    if (c == u'y') {
      const int n = run(c);
      out += n >= 3 ? QString::number(d.year()) : two(d.year() % 100);
      i += n;
    } else if (c == u'd') {
      const int n = run(c);
      out += n >= 2 ? two(d.day()) : QString::number(d.day());
      i += n;
    } else if (c == u'h') {
      const int n = run(c);
      int h = t.hour();
      if (ampm) h = h % 12 == 0 ? 12 : h % 12;
      out += n >= 2 ? two(h) : QString::number(h);
      i += n;
      lastWasHour = true;
      continue;
    } else if (c == u'm' || c == u'n') {
      const int n = run(c);
      // "m" after an hour or before seconds is minutes.
      qsizetype k = i + n;
      while (k < pattern.size() && !pattern[k].isLetter()) ++k;
      const bool beforeSeconds = k < pattern.size() && pattern[k].toLower() == u's';
      const bool minutes = c == u'n' || lastWasHour || beforeSeconds;
      const int v = minutes ? t.minute() : d.month();
      out += n >= 2 ? two(v) : QString::number(v);
      i += n;
    } else if (c == u's') {
      const int n = run(c);
      out += n >= 2 ? two(t.second()) : QString::number(t.second());
      i += n;
    } else if (c == u'\\' && i + 1 < pattern.size()) {
      out += pattern[i + 1];
      i += 2;
    } else {
      out += pattern[i];
      ++i;
      if (c.isLetter()) lastWasHour = false;
      continue;
    }
    lastWasHour = false;
  }
  return out;
}

// ---------------------------------------------------------------- clocks

void setWallClock(WallClock clock) { wallClock() = std::move(clock); }

QDateTime Now() {
  if (steppedClock()) return detail::steppedNow();
  return wallClock() ? wallClock()() : QDateTime::currentDateTime();
}
QString DateText() { return Now().toString("dd/MM/yyyy"); }
QString TimeText() { return Now().toString("HH:mm:ss"); }
double TimerNow() { return Now().time().msecsSinceStartOfDay() / 1000.0; }

void DoEvents() {
  if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void Wait(double seconds) {
  if (steppedClock()) {
    stepClock(qint64(seconds * 1000.0 + 0.5));
    DoEvents();
    return;
  }
  if (!QCoreApplication::instance()) return;
  QElapsedTimer clock;
  clock.start();
  const qint64 total = qint64(seconds * 1000.0 + 0.5);
  for (qint64 left = total; left > 0; left = total - clock.elapsed()) {
    QEventLoop loop;
    QTimer::singleShot(int(left), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    if (QCoreApplication::closingDown()) break;
  }
}

// ---------------------------------------------------------------- files

LineReader::LineReader(const QString& path, Encoding encoding)
    : data_(readWholeFile(path)), encoding_(encoding) {
  if (encoding_ == Encoding::Utf8 && data_.startsWith("\xEF\xBB\xBF")) pos_ = 3;
}

LineReader LineReader::fromBytes(const QByteArray& bytes, Encoding encoding) {
  LineReader r;
  r.data_ = bytes;
  r.encoding_ = encoding;
  if (encoding == Encoding::Utf8 && bytes.startsWith("\xEF\xBB\xBF")) r.pos_ = 3;
  return r;
}

bool LineReader::EOF_() const { return pos_ >= data_.size() && pendingFields_.isEmpty(); }

QString LineReader::LineInput() {
  if (pos_ >= data_.size()) throw Error(vbErrInputPastEnd);
  qsizetype end = pos_;
  while (end < data_.size() && data_[end] != '\r' && data_[end] != '\n') ++end;
  const QByteArray line = data_.mid(pos_, end - pos_);
  pos_ = end;
  if (pos_ < data_.size()) {
    if (data_[pos_] == '\r' && pos_ + 1 < data_.size() && data_[pos_ + 1] == '\n') pos_ += 2;
    else pos_ += 1;
  }
  return encoding_ == Encoding::Utf8 ? QString::fromUtf8(line) : QString::fromLatin1(line);
}

QString LineReader::Input() {
  while (pendingFields_.isEmpty()) {
    if (pos_ >= data_.size()) throw Error(vbErrInputPastEnd);
    pendingFields_ = ReadFields(LineInput());
  }
  return pendingFields_.takeFirst();
}

QString WriteFields(const QVariantList& fields) {
  QStringList parts;
  for (const QVariant& v : fields) {
    switch (v.typeId()) {
      case QMetaType::UnknownType: parts << QString(); break;
      case QMetaType::Bool: parts << (v.toBool() ? "#TRUE#" : "#FALSE#"); break;
      case QMetaType::Int:
      case QMetaType::UInt:
      case QMetaType::LongLong:
      case QMetaType::ULongLong:
      case QMetaType::Double:
      case QMetaType::Float:
      case QMetaType::Short:
      case QMetaType::Long: parts << CStr(v.toDouble()); break;
      default: parts << '"' + v.toString() + '"'; break;
    }
  }
  return parts.join(',');
}

QStringList ReadFields(QStringView line) {
  QStringList out;
  qsizetype i = 0;
  const qsizetype n = line.size();
  if (n == 0) return {QString()};
  while (i <= n) {
    while (i < n && (line[i] == u' ' || line[i] == u'\t')) ++i;
    QString field;
    if (i < n && line[i] == u'"') {
      const qsizetype close = line.indexOf(u'"', i + 1);
      const qsizetype end = close < 0 ? n : close;
      field = line.mid(i + 1, end - i - 1).toString();
      i = close < 0 ? n : close + 1;
      while (i < n && line[i] != u',') ++i;  // anything after the quote up to the comma is dropped
    } else {
      qsizetype end = i;
      while (end < n && line[end] != u',') ++end;
      field = Trim(line.mid(i, end - i).toString());
      const QString up = field.toUpper();
      if (up == "#TRUE#") field = "True";
      else if (up == "#FALSE#") field = "False";
      i = end;
    }
    out << field;
    if (i >= n) break;
    ++i;  // the comma
    if (i == n) {
      out << QString();
      break;
    }
  }
  return out;
}

QImage LoadPicture(const QString& path) {
  if (path.isEmpty()) return QImage();
  if (!QFileInfo::exists(path)) throw Error(vbErrFileNotFound);
  QImage image(path);
  if (image.isNull()) throw Error(vbErrInvalidPicture);
  return image;
}

void SavePicture(const QImage& picture, const QString& path) {
  if (picture.isNull() || !picture.save(path, "BMP")) throw Error(vbErrPathFileAccess);
}

}  // namespace vb
