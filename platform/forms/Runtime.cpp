#include "platform/forms/Runtime.h"

#include <cmath>

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

}  // namespace vb
