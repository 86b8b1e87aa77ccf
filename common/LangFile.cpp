#include "common/LangFile.h"

#include "common/Cp1252.h"
#include "common/VarConst.h"
#include "platform/Folders.h"
#include "platform/forms/Runtime.h"

#include <QFile>
#include <QFileInfo>

namespace lang {
namespace {

constexpr qsizetype kBuffer = 500;  // sections 1 and 2 see a line through this buffer
constexpr int kMenuLines = kMenuGroups * kMenuItems;

// Walks the stored lines of a file with the old reader's rules: a line ends at
// CR LF, CR or LF; a Ctrl-Z byte (26) ends the file; a line end at the very end
// of the file opens no further line. Lines are descrambled as they are taken, so
// nothing past the last line wanted is ever looked at.
class LineReader {
 public:
  explicit LineReader(const QByteArray& file) : data_(file) {
    const qsizetype eof = data_.indexOf(char(26));
    end_ = eof < 0 ? data_.size() : eof;
  }

  bool atEnd() const { return pos_ >= end_; }
  int lineNo() const { return lineNo_; }

  // The next descrambled line, or nullopt with *failure set.
  std::optional<QByteArray> next(std::optional<LangFailure>& failure) {
    if (atEnd()) {
      failure = LangFailure{LangFault::Truncated, lineNo_ + 1, {}};
      return std::nullopt;
    }
    qsizetype stop = pos_;
    while (stop < end_ && data_[stop] != '\r' && data_[stop] != '\n') ++stop;
    const QByteArray stored = data_.mid(pos_, stop - pos_);
    pos_ = stop;
    if (pos_ < end_ && data_[pos_] == '\r') {
      ++pos_;
      if (pos_ < end_ && data_[pos_] == '\n') ++pos_;
    } else if (pos_ < end_) {
      ++pos_;  // a lone LF
    }
    ++lineNo_;
    if (stored.size() < 3) {
      failure = LangFailure{LangFault::ShortLine, lineNo_, {}};
      return std::nullopt;
    }
    auto plain = DecodLigne(stored);
    if (!plain) failure = LangFailure{LangFault::BadKey, lineNo_, {}};
    return plain;
  }

 private:
  const QByteArray& data_;
  qsizetype end_ = 0;
  qsizetype pos_ = 0;
  int lineNo_ = 0;
};

// The line as the fixed buffer holds it: cut to 500 bytes, padded with blanks.
QByteArray buffered(const QByteArray& line) {
  QByteArray b = line.left(kBuffer);
  if (b.size() < kBuffer) b.append(QByteArray(kBuffer - b.size(), ' '));
  return b;
}

// The bytes between the first two double quotes; nullopt with fewer than two.
std::optional<QByteArray> quoted(const QByteArray& line) {
  const qsizetype p1 = line.indexOf('"');
  if (p1 < 0) return std::nullopt;
  const qsizetype p2 = line.indexOf('"', p1 + 1);
  if (p2 < 0) return std::nullopt;
  return line.mid(p1 + 1, p2 - p1 - 1);
}

bool startsWith(const QByteArray& line, const char* marker) { return line.startsWith(marker); }

bool isForumMarker(const QByteArray& line) { return line.mid(4, 10) == "=========="; }

}  // namespace

QString describe(const LangFailure& f) {
  if (f.fault == LangFault::Numbering) return QStringLiteral("Permanent Error ....");
  QString reason;
  switch (f.fault) {
    case LangFault::Truncated: reason = "the file ends too early"; break;
    case LangFault::ShortLine: reason = "a line is shorter than three characters"; break;
    case LangFault::BadKey: reason = "a line carries an invalid key"; break;
    case LangFault::EntryPast300: reason = "a text is numbered above 300"; break;
    case LangFault::HelpPast100: reason = "there are more than 101 help texts"; break;
    case LangFault::NoMarker: reason = "the companion's section is missing"; break;
    case LangFault::SpokenMissing: reason = "no language has been chosen"; break;
    case LangFault::FileMissing: reason = "the file cannot be read"; break;
    case LangFault::Numbering: break;
  }
  QString text = QStringLiteral("Fichier de langue inutilisable / Unusable language file");
  if (!f.file.isEmpty()) text += "\n" + f.file;
  text += "\n" + reason;
  if (f.line > 0) text += QStringLiteral(" (line %1)").arg(f.line);
  text += '.';
  return text;
}

LangRead readLangFile(const QByteArray& file) {
  LangRead r;
  auto& t = r.texts;
  LineReader in(file);
  auto fail = [&](LangFault fault) {
    r.failure = LangFailure{fault, in.lineNo(), {}};
    return r;
  };

  // Section 1: numbered texts.
  auto line = in.next(r.failure);
  if (!line) return r;
  QByteArray buf = buffered(*line);
  for (int n = 0; !startsWith(buf, "///--- TOOLTYP"); ++n) {
    if (vb::Val(buf.left(3)) != n) return fail(LangFault::Numbering);
    if (const auto text = quoted(buf)) {
      if (n > kTxtLngLast) return fail(LangFault::EntryPast300);
      t.txtLng[n] = cp1252::decode(*text);
    }
    if (!(line = in.next(r.failure))) return r;
    buf = buffered(*line);
  }

  // Section 2: tips; a line without a text repeats the tip before it.
  if (!(line = in.next(r.failure))) return r;
  buf = buffered(*line);
  QByteArray tip = quoted(buf).value_or(QByteArray());
  while (!startsWith(buf, "///--- HELP --")) {
    t.tips.append(cp1252::decode(tip));
    if (!(line = in.next(r.failure))) return r;
    buf = buffered(*line);
    if (const auto text = quoted(buf)) tip = *text;
  }

  // Section 3: help texts, the closing marker line included; whole lines.
  for (int i = 0;; ++i) {
    if (!(line = in.next(r.failure))) return r;
    if (const auto text = quoted(*line)) {
      if (i > kTxtAideLast) return fail(LangFault::HelpPast100);
      t.txtAide[i] = cp1252::decode(*text);
    }
    if (startsWith(*line, "///--- HELP ME")) break;
  }

  // Section 4: exactly 35 menu-help lines; nothing after them is read.
  for (int k = 0; k < kMenuLines; ++k) {
    if (!(line = in.next(r.failure))) return r;
    if (const auto text = quoted(*line)) t.tabAideMenu[k / kMenuItems][k % kMenuItems] = cp1252::decode(*text);
  }
  return r;
}

ForumRead readForumTexts(const QByteArray& file) {
  ForumRead r;
  LineReader in(file);
  std::optional<QByteArray> line;
  do {
    if (in.atEnd()) {
      r.failure = LangFailure{LangFault::NoMarker, 0, {}};
      return r;
    }
    if (!(line = in.next(r.failure))) return r;
  } while (!isForumMarker(*line));

  if (!(line = in.next(r.failure))) return r;
  // The end test comes before a line is looked at: the last line is never stored.
  for (int n = 0; !in.atEnd(); ++n) {
    if (n < kForumTextCount)
      if (const auto text = quoted(*line)) r.texts[n] = cp1252::decode(*text);
    if (!(line = in.next(r.failure))) return r;
  }
  return r;
}

std::optional<QString> readSpokenCode(const QString& dataFolder) {
  const std::optional<QByteArray> bytes = platform::readRegularFile(dataFolder + "/spoken.txt", 1 << 16);
  if (!bytes) return std::nullopt;
  QByteArray first = *bytes;
  if (const qsizetype lf = first.indexOf('\n'); lf >= 0) first.truncate(lf + 1);
  if (first.startsWith("\xEF\xBB\xBF")) first.remove(0, 3);
  while (first.endsWith('\n') || first.endsWith('\r')) first.chop(1);
  if (const qsizetype cr = first.indexOf('\r'); cr >= 0) first.truncate(cr);
  if (first.isEmpty()) return std::nullopt;
  return QString::fromUtf8(first);
}

QString langFilePath(const QString& programFolder, const QString& code) {
  QString name = code.left(9);
  // The code is a name, never a path.
  name.replace('/', '_').replace('\\', '_');
  return programFolder + "/" + name + "_codN.txt";
}

std::optional<QByteArray> langFileBytes(const QString& path) {
  return platform::readRegularFile(path, kLangFileMax);
}

bool languageChosen(const QString& dataFolder, const QString& programFolder) {
  const auto code = readSpokenCode(dataFolder);
  return code && QFileInfo(langFilePath(programFolder, *code)).isFile();
}

ForumRead loadForumTexts(const QString& dataFolder, const QString& programFolder) {
  ForumRead r;
  const auto code = readSpokenCode(dataFolder);
  if (!code) {
    r.failure = LangFailure{LangFault::SpokenMissing, 0, dataFolder + "/spoken.txt"};
    return r;
  }
  const QString path = langFilePath(programFolder, *code);
  const std::optional<QByteArray> bytes = langFileBytes(path);
  if (!bytes) {
    r.failure = LangFailure{LangFault::FileMissing, 0, path};
    return r;
  }
  r = readForumTexts(*bytes);
  if (r.failure) r.failure->file = path;
  return r;
}

}  // namespace lang
