#include "common/LangFile.h"

#include "common/Cp1252.h"
#include "tests/common/LangFixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using langtest::LangLines;
using langtest::scrambled;
using lang::LangFault;

QByteArray numbered(int n, const QByteArray& rest) {
  return QByteArray::number(n).rightJustified(3, '0') + rest;
}

TEST(ReadLangFile, FillsEverySectionOfAWellFormedFile) {
  LangLines l;
  l.texts = {"000 \"zero\"", "001", "002 \"\"", "003 \"caf\xE9 \x80\" trailing \"x\""};
  const auto r = lang::readLangFile(scrambled(l));
  ASSERT_TRUE(r.ok()) << qPrintable(lang::describe(*r.failure));
  EXPECT_EQ(r.texts.txtLng[0], "zero");
  EXPECT_EQ(r.texts.txtLng[1], "") << "no quotes: no text";
  EXPECT_EQ(r.texts.txtLng[2], "") << "adjacent quotes: the empty text";
  EXPECT_EQ(r.texts.txtLng[3], QString::fromUtf8("café €")) << "Windows-1252, up to the second quote";
  EXPECT_EQ(r.texts.txtLng[4], "");
  EXPECT_EQ(r.texts.tips, QStringList({"tip A", "tip B"}));
  EXPECT_EQ(r.texts.txtAide[0], "help 0");
  EXPECT_EQ(r.texts.txtAide[1], "help 1");
  EXPECT_EQ(r.texts.txtAide[2], "") << "the plain HELP ME line has no text";
  EXPECT_EQ(r.texts.tabAideMenu[0][0], "menu 0,0");
  EXPECT_EQ(r.texts.tabAideMenu[1][0], "menu 1,0") << "line 8 of section 4 is group 1, item 0";
  EXPECT_EQ(r.texts.tabAideMenu[4][6], "menu 4,6");
}

TEST(ReadLangFile, NumberingIsThePositionInTheSection) {
  struct Case {
    const char* name;
    std::function<void(LangLines&)> edit;
    bool ok;
    int failLine;
  };
  auto upTo = [](int count) {
    QList<QByteArray> t;
    for (int n = 0; n < count; ++n) t.append(numbered(n, " \"t\""));
    return t;
  };
  const Case cases[] = {
      {"005 at the sixth position", [&](LangLines& l) { l.texts = upTo(6); }, true, 0},
      {"005 at the fifth position", [&](LangLines& l) { l.texts = upTo(4); l.texts.append("005 \"t\""); }, false, 5},
      {"a gap", [&](LangLines& l) { l.texts = upTo(3); l.texts.removeAt(1); }, false, 2},
      {"blank, 7 and a letter on the eighth line",
       [&](LangLines& l) { l.texts = upTo(7); l.texts.append(" 7x \"seven\""); }, true, 0},
      {"no number on the first line reads as 0", [&](LangLines& l) { l.texts = {"\"first\""}; }, true, 0},
      {"empty section 1", [&](LangLines& l) { l.texts.clear(); }, true, 0},
  };
  for (const auto& c : cases) {
    LangLines l;
    c.edit(l);
    const auto r = lang::readLangFile(scrambled(l));
    EXPECT_EQ(r.ok(), c.ok) << c.name;
    if (!c.ok && r.failure) {
      EXPECT_EQ(r.failure->fault, LangFault::Numbering) << c.name;
      EXPECT_EQ(r.failure->line, c.failLine) << c.name;
      EXPECT_EQ(lang::describe(*r.failure), "Permanent Error ....") << c.name;
    }
  }
  LangLines seven;
  seven.texts = upTo(7);
  seven.texts.append(" 7x \"seven\"");
  EXPECT_EQ(lang::readLangFile(scrambled(seven)).texts.txtLng[7], "seven");
}

// A line whose closing quote stands at character `closeAt` (1-based).
QByteArray quoteClosingAt(const QByteArray& head, int closeAt, char fill = 'a') {
  QByteArray line = head + "\"";
  line += QByteArray(closeAt - 1 - line.size(), fill);
  return line + "\"";
}

TEST(ReadLangFile, SectionsOneAndTwoSeeOnlyTheFirst500Characters) {
  LangLines l;
  l.texts = {"000 \"zero\"", quoteClosingAt("001 ", 500), quoteClosingAt("002 ", 501)};
  l.tips = {"\"tip A\"", quoteClosingAt("", 501), quoteClosingAt("", 500, 'b')};
  l.help = {quoteClosingAt("", 600, 'c')};
  const auto r = lang::readLangFile(scrambled(l));
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.texts.txtLng[1].size(), 500 - 6) << "closing quote at 500 still counts";
  EXPECT_EQ(r.texts.txtLng[2], "") << "closing quote at 501 gives no text";
  ASSERT_EQ(r.texts.tips.size(), 3);
  EXPECT_EQ(r.texts.tips[1], "tip A") << "past 500 the previous tip comes again";
  EXPECT_EQ(r.texts.tips[2], QString(498, 'b'));
  EXPECT_EQ(r.texts.txtAide[0], QString(598, 'c')) << "section 3 uses the whole line";
}

TEST(ReadLangFile, TipsAndHelpEdges) {
  {
    LangLines l;
    l.tips = {"no text first", "\"A\"", "no text", "\"\"", "\"B\""};
    const auto r = lang::readLangFile(scrambled(l));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.texts.tips, QStringList({"", "A", "A", "", "B"}));
  }
  {
    LangLines l;
    l.tips.clear();
    const auto r = lang::readLangFile(scrambled(l));
    ASSERT_TRUE(r.ok());
    EXPECT_TRUE(r.texts.tips.isEmpty());
  }
  {
    LangLines l;
    l.help = {"\"h0\"", "no text", "\"h2\""};
    l.helpMe = "///--- HELP ME \"last help\"";
    const auto r = lang::readLangFile(scrambled(l));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.texts.txtAide[1], "") << "a line without text still counts";
    EXPECT_EQ(r.texts.txtAide[2], "h2");
    EXPECT_EQ(r.texts.txtAide[3], "last help") << "the HELP ME line's text is the last help text";
  }
  {
    // Exactly 101 help texts fill 0 to 100; lines without text may follow.
    LangLines l;
    l.help.clear();
    for (int i = 0; i < 101; ++i) l.help.append("\"h" + QByteArray::number(i) + "\"");
    l.help.append("no text at 101");
    const auto r = lang::readLangFile(scrambled(l));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.texts.txtAide[100], "h100");
  }
}

TEST(ReadLangFile, NothingAfterSectionFourIsRead) {
  LangLines l;
  l.forum = {"ab", "\"changed\""};  // a damaged line there would stop the reader if it looked
  QByteArray file = scrambled(l);
  file += "x\r\n";
  const auto r = lang::readLangFile(file);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.texts.tabAideMenu[4][6], "menu 4,6");
}

TEST(ReadLangFile, LineEndsOfEveryKindAndNoFinalLineEnd) {
  const QByteArray crlf = scrambled(LangLines{});
  for (const QByteArray& end : {QByteArray("\n"), QByteArray("\r")}) {
    QByteArray other = crlf;
    other.replace("\r\n", end);
    const auto r = lang::readLangFile(other);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.texts.tabAideMenu[4][6], "menu 4,6");
  }
  QByteArray unterminated = crlf;
  unterminated.chop(2);
  EXPECT_TRUE(lang::readLangFile(unterminated).ok());
}

TEST(ReadLangFile, DamagedFilesFailCleanly) {
  struct Case {
    const char* name;
    std::function<QByteArray()> file;
    LangFault fault;
    int line;
  };
  auto cutAfter = [](int lines) {
    QList<QByteArray> all = LangLines{}.all();
    return scrambled(all.mid(0, lines));
  };
  const int menuEnd = int(LangLines{}.all().size() - LangLines{}.forum.size());  // 3+1+2+1+2+1+35 = 45
  const Case cases[] = {
      {"empty file", [] { return QByteArray(); }, LangFault::Truncated, 1},
      {"ends in section 1", [&] { return cutAfter(2); }, LangFault::Truncated, 3},
      {"ends in section 2", [&] { return cutAfter(5); }, LangFault::Truncated, 6},
      {"ends in section 3", [&] { return cutAfter(8); }, LangFault::Truncated, 9},
      {"section 4 has 34 lines", [&] { return cutAfter(menuEnd - 1); }, LangFault::Truncated, menuEnd},
      {"Ctrl-Z ends the file", [&] { return cutAfter(4) + char(26) + scrambled(LangLines{}.all().mid(4)); },
       LangFault::Truncated, 5},
      {"a line under three bytes",
       [&] { return cutAfter(2) + "ab\r\n" + scrambled(LangLines{}.all().mid(3)); }, LangFault::ShortLine, 3},
      {"an empty line",
       [&] { return cutAfter(9) + "\r\n" + scrambled(LangLines{}.all().mid(9)); }, LangFault::ShortLine, 10},
      {"a key outside 0 to 255",
       [&] {
         QByteArray bad = *CodeLigne("001 \"one\"");
         for (int i = 0; i < 3; ++i) bad[i] = char(255 - '9');  // key text "999"
         return cutAfter(1) + bad + "\r\n" + scrambled(LangLines{}.all().mid(2));
       },
       LangFault::BadKey, 2},
      {"a text at entry 301",
       [] {
         LangLines l;
         l.texts.clear();
         for (int n = 0; n <= 301; ++n) l.texts.append(numbered(n, " \"t\""));
         return scrambled(l);
       },
       LangFault::EntryPast300, 302},
      {"a help text at position 101",
       [] {
         LangLines l;
         l.help.clear();
         for (int i = 0; i <= 101; ++i) l.help.append("\"h\"");
         return scrambled(l);
       },
       LangFault::HelpPast100, 3 + 1 + 2 + 1 + 102},
  };
  for (const auto& c : cases) {
    const auto r = lang::readLangFile(c.file());
    ASSERT_FALSE(r.ok()) << c.name;
    EXPECT_EQ(r.failure->fault, c.fault) << c.name;
    EXPECT_EQ(r.failure->line, c.line) << c.name;
    EXPECT_FALSE(lang::describe(*r.failure).isEmpty());
  }
  // Lines past 300 or 100 without a text do no harm.
  LangLines l;
  l.texts.clear();
  for (int n = 0; n <= 300; ++n) l.texts.append(numbered(n, " \"t\""));
  l.texts.append("301 no text");
  EXPECT_TRUE(lang::readLangFile(scrambled(l)).ok());
}

TEST(ReadForumTexts, EntriesAfterTheMarker) {
  LangLines l;
  l.forum = {"####==========", "\"first\" after \"ignored\"", "no quotes", "\"\"", "one \" quote",
             "\"with \xE9\"", "\"closing line is never stored\""};
  const auto r = lang::readForumTexts(scrambled(l));
  ASSERT_TRUE(r.ok()) << qPrintable(lang::describe(*r.failure));
  EXPECT_EQ(r.texts[0], "first");
  EXPECT_EQ(r.texts[1], "");
  EXPECT_EQ(r.texts[2], "");
  EXPECT_EQ(r.texts[3], "");
  EXPECT_EQ(r.texts[4], QString::fromUtf8("with é"));
  EXPECT_EQ(r.texts[5], "") << "the file's last line";
}

TEST(ReadForumTexts, MarkerAnywhereAndEntriesPastFifty) {
  // The marker is found by its "=" signs, whatever comes before it.
  QList<QByteArray> lines{"anything", "\"x\"", "abcd========== rest"};
  for (int n = 0; n <= 60; ++n) lines.append("\"e" + QByteArray::number(n) + "\"");
  lines.append("end");
  const auto r = lang::readForumTexts(scrambled(lines));
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.texts[0], "e0");
  EXPECT_EQ(r.texts[30], "e30");

  const auto none = lang::readForumTexts(scrambled(QList<QByteArray>{"abc=========", "\"x\""}));
  ASSERT_FALSE(none.ok());
  EXPECT_EQ(none.failure->fault, LangFault::NoMarker);

  const auto damaged = lang::readForumTexts(scrambled(QList<QByteArray>{"abcd=========="}) + "ab\r\n");
  ASSERT_FALSE(damaged.ok());
  EXPECT_EQ(damaged.failure->fault, LangFault::ShortLine);
}

TEST(Cp1252, DecodesTheHighRangeAndRoundTripsEveryByte) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all.append(char(b));
  const QString text = cp1252::decode(all);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(text[0x80], QChar(0x20AC));
  EXPECT_EQ(text[0x81], QChar(0x0081));
  EXPECT_EQ(text[0x8C], QChar(0x0152));
  EXPECT_EQ(text[0x9F], QChar(0x0178));
  EXPECT_EQ(text[0xE9], QChar(0x00E9));
  EXPECT_EQ(cp1252::encode(text), all);
  qsizetype bad = -1;
  EXPECT_FALSE(cp1252::encode(u"ab\u0080", &bad)) << "U+0080 is not the euro's byte";
  EXPECT_EQ(bad, 2);
  EXPECT_FALSE(cp1252::encode(u"\u0141", &bad));
  EXPECT_FALSE(cp1252::encode(QString::fromUtf8("\xF0\x9F\x98\x80"), &bad)) << "no surrogates";
}

}  // namespace
