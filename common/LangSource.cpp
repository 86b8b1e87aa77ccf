#include "common/LangSource.h"

#include "common/Cp1252.h"
#include "common/LangFile.h"
#include "common/VarConst.h"
#include "platform/forms/Runtime.h"

#include <QList>
#include <QStringDecoder>

namespace lang {
namespace {

struct Failure {
  SourceError error;
};

[[noreturn]] void refuse(int line, const QString& message) { throw Failure{{line, message}}; }

// The source split into lines, each decoded from UTF-8 and encoded to 1252.
QList<QByteArray> sourceLines(QByteArray utf8) {
  if (utf8.startsWith("\xEF\xBB\xBF")) utf8.remove(0, 3);
  QList<QByteArray> raw = utf8.split('\n');
  if (!raw.isEmpty() && raw.last().isEmpty()) raw.removeLast();  // the final line end
  QList<QByteArray> out;
  for (int i = 0; i < raw.size(); ++i) {
    const int no = i + 1;
    QByteArray l = raw[i];
    if (l.endsWith('\r')) l.chop(1);
    QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = dec.decode(l);
    if (dec.hasError()) refuse(no, "not valid UTF-8");
    qsizetype bad = -1;
    const auto bytes = cp1252::encode(text, &bad);
    if (!bytes) {
      const QString code = QString::number(text[bad].unicode(), 16).toUpper().rightJustified(4, '0');
      refuse(no, QString("character U+%1 at column %2 has no Windows-1252 code").arg(code).arg(bad + 1));
    }
    if (bytes->contains('\r')) refuse(no, "a carriage return inside the line");
    if (bytes->contains('\0')) refuse(no, "a NUL character cannot be stored");
    out.append(*bytes);
  }
  return out;
}

bool hasForumMarker(const QByteArray& line) { return line.mid(4, 10) == "=========="; }

// Sections 1 and 2 see only the first 500 characters of a line.
void checkQuoteFits(const QByteArray& line, int no) {
  const qsizetype p1 = line.indexOf('"');
  if (p1 < 0) return;
  const qsizetype p2 = line.indexOf('"', p1 + 1);
  if (p2 >= 500) refuse(no, "the closing quote lies past character 500");
}

bool hasText(const QByteArray& line) {
  const qsizetype p1 = line.indexOf('"');
  return p1 >= 0 && line.indexOf('"', p1 + 1) >= 0;
}

void checkStructure(const QList<QByteArray>& lines) {
  int i = 0;
  const int count = int(lines.size());
  auto need = [&](const char* what) {
    if (i >= count) refuse(0, QString("the file ends before %1").arg(what));
  };
  auto noMarker = [&](int k) {
    if (hasForumMarker(lines[k]))
      refuse(k + 1, "\"==========\" at characters 5 to 14 belongs to the companion's marker only");
  };

  // Section 1.
  for (int n = 0;; ++n, ++i) {
    need("the line \"///--- TOOLTYP\"");
    const QByteArray buf = lines[i].left(500);
    noMarker(i);
    if (buf.startsWith("///--- TOOLTYP")) break;
    if (vb::Val(buf.left(3).leftJustified(3, ' ')) != n)
      refuse(i + 1, QString("numbering error: this line must be number %1").arg(n, 3, 10, QChar('0')));
    if (n > kTxtLngLast) refuse(i + 1, "section 1 holds at most entries 000 to 300");
    checkQuoteFits(lines[i], i + 1);
  }
  // Section 2.
  for (++i;; ++i) {
    need("the line \"///--- HELP --\"");
    noMarker(i);
    if (lines[i].startsWith("///--- HELP --")) break;
    checkQuoteFits(lines[i], i + 1);
  }
  // Section 3, up to and including its closing line.
  for (int k = 0;; ++k) {
    ++i;
    need("the line \"///--- HELP ME\"");
    noMarker(i);
    if (k > kTxtAideLast && hasText(lines[i])) refuse(i + 1, "section 3 holds at most help texts 0 to 100");
    if (lines[i].startsWith("///--- HELP ME")) break;
  }
  // Section 4.
  for (int k = 0; k < kMenuGroups * kMenuItems; ++k) {
    ++i;
    need("the 35th menu-help line");
    noMarker(i);
  }
  // Section 5: marker, entries, one closing line.
  ++i;
  need("the companion's marker line");
  if (!hasForumMarker(lines[i])) refuse(i + 1, "expected the companion's marker line (\"==========\" at characters 5 to 14)");
  const int last = count - 1;
  if (last <= i) refuse(0, "the file must end with a closing line after the companion's texts");
  if (hasText(lines[last]))
    refuse(last + 1, "the last line is never read as a text: end the file with a closing line without quotes");
  for (int k = i + 1, n = 0; k < last; ++k, ++n)
    if (n > kForumEntryLast && hasText(lines[k])) refuse(k + 1, "the companion's section holds at most entries 0 to 50");
}

}  // namespace

CompiledLang compileLangSource(const QByteArray& utf8) {
  CompiledLang out;
  try {
    const QList<QByteArray> lines = sourceLines(utf8);
    checkStructure(lines);
    for (int i = 0; i < lines.size(); ++i) {
      const auto coded = CodeLigne(lines[i]);
      if (!coded) refuse(i + 1, "the line cannot be scrambled");
      out.bytes += *coded + "\r\n";
    }
    // The programs' own readers must accept what we wrote.
    const LangRead main = readLangFile(out.bytes);
    if (!main.ok()) refuse(main.failure->line, "the reader refuses the result: " + describe(*main.failure));
    const ForumRead forum = readForumTexts(out.bytes);
    if (!forum.ok()) refuse(forum.failure->line, "the companion's reader refuses the result: " + describe(*forum.failure));
  } catch (const Failure& f) {
    out.bytes.clear();
    out.error = f.error;
  }
  return out;
}

}  // namespace lang
