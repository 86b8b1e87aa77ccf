#pragma once
// The readable sources of the language files (data/lang/ConstPRJ?.txt): UTF-8
// text holding the descrambled lines, one per line. compileLangSource checks a
// source and turns it into the scrambled Windows-1252 file the programs read.
// Used by tools/langtool at build time.
#include <QByteArray>
#include <QString>

#include <optional>

namespace lang {

struct SourceError {
  int line = 0;  // 1-based line of the source; 0 for the file as a whole
  QString message;
};

struct CompiledLang {
  QByteArray bytes;  // the scrambled file, CR LF after every line; valid without error
  std::optional<SourceError> error;
};

// Refuses: text that is not UTF-8 or has a character Windows-1252 cannot hold;
// a NUL; a section-1 line whose number is not its position, or past 300; a text
// whose closing quote lies past character 500 in sections 1 and 2; a help text
// past 100; a line of sections 1 to 4 with "==========" at characters 5 to 14; a
// missing section end, a section 4 of fewer than 35 lines, a missing companion
// marker, a closing line that is missing or holds a text, a companion text past
// entry 50.
CompiledLang compileLangSource(const QByteArray& utf8);

}  // namespace lang
