#pragma once
// Small language files for the reader and tool tests: plain lines per section,
// assembled and scrambled with CodeLigne.
#include "common/VarConst.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <ostream>
#include <stdexcept>

// Readable QString values in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace langtest {

struct LangLines {
  QList<QByteArray> texts{"000 \"zero\"", "001 \"one\"", "002 \"two\""};
  QByteArray tooltyp = "///--- TOOLTYP";
  QList<QByteArray> tips{"\"tip A\"", "\"tip B\""};
  QByteArray helpStart = "///--- HELP --";
  QList<QByteArray> help{"\"help 0\"", "\"help 1\""};
  QByteArray helpMe = "///--- HELP ME";
  QList<QByteArray> menu = defaultMenu();
  QList<QByteArray> forum{"    ==========", "\"forum 0\"", "\"forum 1\"", "closing line"};

  static QList<QByteArray> defaultMenu() {
    QList<QByteArray> m;
    for (int k = 0; k < 35; ++k) m.append("\"menu " + QByteArray::number(k / 7) + "," + QByteArray::number(k % 7) + "\"");
    return m;
  }

  QList<QByteArray> all() const {
    QList<QByteArray> l = texts;
    l << tooltyp << tips << helpStart << help << helpMe << menu << forum;
    return l;
  }
};

inline QByteArray scrambled(const QList<QByteArray>& lines) {
  QByteArray file;
  for (const auto& l : lines) {
    const auto coded = CodeLigne(l);
    if (!coded) throw std::runtime_error("fixture line cannot be scrambled");
    file += *coded + "\r\n";
  }
  return file;
}

inline QByteArray scrambled(const LangLines& l) { return scrambled(l.all()); }

inline QByteArray source(const QList<QByteArray>& lines) {
  QByteArray s;
  for (const auto& l : lines) s += l + "\n";
  return s;
}

}  // namespace langtest
