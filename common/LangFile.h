#pragma once
// Reading the scrambled language files ("ConstPRJF_codN.txt", "ConstPRJA_codN.txt").
//
// A file is lines of Windows-1252 bytes ended by CR LF, each line scrambled on its
// own (DecodLigne). After descrambling it holds, in order:
//   1. numbered texts "000 ..." (number = position from 0) up to "///--- TOOLTYP";
//   2. tips of the day up to "///--- HELP --";
//   3. help texts up to and including "///--- HELP ME";
//   4. 35 menu-help lines;
//   5. the companion's part: a line with "==========" at characters 5 to 14, one
//      line per entry 0, 1, 2 ..., and one closing line that is never a text.
// The text of a line is what stands between its first two double quotes.
//
// Everything here is pure: bytes in, texts or a precise failure out.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace lang {

inline constexpr int kTxtLngLast = 300;   // section 1 entries 0 ... 300
inline constexpr int kTxtAideLast = 100;  // section 3 entries 0 ... 100
inline constexpr int kMenuGroups = 5;     // section 4: 5 groups ...
inline constexpr int kMenuItems = 7;      //            ... of 7 items
inline constexpr int kForumTextCount = 31;  // section 5 entries 0 ... 30 are used
inline constexpr int kForumEntryLast = 50;  // entries past 50 are ignored

// Sections 1 to 4, as the main program keeps them.
struct LangTexts {
  std::array<QString, kTxtLngLast + 1> txtLng;  // entry n of section 1; empty when none
  QStringList tips;                              // section 2 in file order (may be empty)
  std::array<QString, kTxtAideLast + 1> txtAide; // section 3
  std::array<std::array<QString, kMenuItems>, kMenuGroups> tabAideMenu;  // [group][item]
};

enum class LangFault {
  Numbering,      // section 1: the number of a line is not its position
  Truncated,      // the file ends before the 35th line of section 4
  ShortLine,      // a stored line under 3 bytes
  BadKey,         // a stored line whose key lies outside 0 to 255
  EntryPast300,   // a section-1 text at an entry above 300
  HelpPast100,    // a section-3 text at a position above 100
  NoMarker,       // section 5: no line with "==========" at characters 5 to 14
  SpokenMissing,  // "spoken.txt" missing, unreadable or with an empty first line
  FileMissing,    // the language file named by "spoken.txt" cannot be read
};

struct LangFailure {
  LangFault fault;
  int line = 0;   // 1-based line of the language file concerned (0: none)
  QString file;   // the file concerned, when known
  bool operator==(const LangFailure&) const = default;
};

// A short description for the user (the numbering fault is "Permanent Error ....").
QString describe(const LangFailure& failure);

struct LangRead {
  LangTexts texts;  // meaningful only when ok()
  std::optional<LangFailure> failure;
  bool ok() const { return !failure; }
};

// Sections 1 to 4 of a whole file. Nothing after the 35th line of section 4 is
// looked at.
LangRead readLangFile(const QByteArray& file);

// The companion's texts: texts[k] is gLngForumKK (k = 0 ... 30, two digits), e.g.
// texts[3] is gLngForum03, the default comment, and texts[30] gLngForum30, the
// window caption. An entry without a text line stays empty.
using ForumTexts = std::array<QString, kForumTextCount>;

struct ForumRead {
  ForumTexts texts;  // meaningful only when ok()
  std::optional<LangFailure> failure;
  bool ok() const { return !failure; }
};

// Section 5 of a whole file: skips to the marker line, then entry 0, 1, ...;
// the file's last line is never stored and entries past 50 are ignored.
ForumRead readForumTexts(const QByteArray& file);

// --- Files on disk, shared by the main program and the companion ---

// The first line of dataFolder/"spoken.txt" (UTF-8), without its line end; nullopt
// when the file is missing, unreadable or its first line is empty.
std::optional<QString> readSpokenCode(const QString& dataFolder);

// programFolder/ + the first 9 characters of the code + "_codN.txt".
QString langFilePath(const QString& programFolder, const QString& code);
// The bytes of a language file: nullopt when it is missing, not a regular
// file, or larger than kLangFileMax (the shipped ones are some 25 KB).
inline constexpr qint64 kLangFileMax = 1 << 20;
std::optional<QByteArray> langFileBytes(const QString& path);

// "spoken.txt" names a language whose file exists beside the program. An empty
// or unusable "spoken.txt" counts as no choice made.
bool languageChosen(const QString& dataFolder, const QString& programFolder);

// For the companion: reads "spoken.txt" from dataFolder, the language file beside
// the program and its section 5, in one call.
ForumRead loadForumTexts(const QString& dataFolder, const QString& programFolder);

}  // namespace lang
