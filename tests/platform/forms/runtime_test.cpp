// The old runtime's string, number, format, clock and file helpers.
#include "platform/forms/Runtime.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(Runtime, ValReadsTheLeadingNumber) {
  struct Case { const char* text; double value; };
  const Case cases[] = {{"  12abc", 12}, {"-3.5e2x", -350}, {"&H1F", 31}, {"&o17", 15},
                        {"abc", 0},      {"", 0},           {" 0420", 420}, {"1.2.3", 1.2},
                        {"\t7", 7},      {"1e", 1},         {"+.5", 0.5}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(vb::Val(QString(c.text)), c.value) << c.text;
}

TEST(Runtime, IsNumericNeedsTheWholeText) {
  struct Case { const char* text; bool numeric; };
  const Case cases[] = {{"12", true},   {" -12.5 ", true}, {"1e5", true},  {"&HFF", true},
                        {".5", true},   {"5.", true},      {"", false},    {"  ", false},
                        {"12a", false}, {"1e", false},     {"1.2.3", false}, {"&H", false},
                        {"+", false},   {"1,5", false},    {"&O8", false}, {"1 2", false}};
  for (const Case& c : cases) EXPECT_EQ(vb::IsNumeric(QString(c.text)), c.numeric) << c.text;
}

TEST(Runtime, StrGivesALeadingBlankForNonNegative) {
  EXPECT_EQ(vb::Str(5), " 5");
  EXPECT_EQ(vb::Str(0), " 0");
  EXPECT_EQ(vb::Str(-5), "-5");
  EXPECT_EQ(vb::Str(0.5), " .5");
  EXPECT_EQ(vb::Str(-0.25), "-.25");
  EXPECT_EQ(vb::Str(1234567), " 1234567");
  EXPECT_EQ(vb::Str(1e20), " 1E+20");
  EXPECT_EQ(vb::CStr(2.5), "2.5");
}

TEST(Runtime, FormatNumberPatterns) {
  struct Case { double value; const char* pattern; const char* text; };
  const Case cases[] = {
      {5, "00", "05"},          {123, "00", "123"},        {7, "000", "007"},
      {42, "00000", "00042"},   {3, "0000", "0003"},       {1000, "0000", "1000"},
      {2.25, "0.0", "2.3"},     {2.24, "0.0", "2.2"},      {-2.25, "0.0", "-2.3"},
      {0, "0.0", "0.0"},        {12.3456, "###00.000", "12.346"}, {3.5, "###00.000", "03.500"},
      {0.5, "0", "1"},          {2.5, "0", "3"},           {1234567, "#,##0", "1,234,567"},
      {5, "#.##", "5."},        {5.1, "#.##", "5.1"},      {-3, "0;(0)", "(3)"},
      {-0.01, "0.0", "0.0"},    {9.99, "0.0", "10.0"},     {2.675, "0.00", "2.68"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(vb::Format(c.value, c.pattern), QString(c.text)) << c.value << " " << c.pattern;
}

TEST(Runtime, FormatDatePatterns) {
  const QDateTime t(QDate(2024, 3, 7), QTime(14, 5, 9));
  struct Case { const char* pattern; const char* text; };
  const Case cases[] = {{"hh:mm:ss", "14:05:09"}, {"hhmmss", "140509"},   {"yyyymmdd", "20240307"},
                        {"yyyy/mm/dd", "2024/03/07"}, {"dd/mm/yyyy", "07/03/2024"},
                        {"h:nn", "14:05"},        {"Short Date", "07/03/2024"}, {"Long Time", "14:05:09"},
                        {"hh:mm AM/PM", "02:05 PM"}, {"d-m-yy", "7-3-24"}};
  for (const Case& c : cases) EXPECT_EQ(vb::Format(t, c.pattern), QString(c.text)) << c.pattern;
}

TEST(Runtime, RoundingHalfToEvenAndOverflow) {
  struct Case { double value; int rounded; };
  const Case cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {1.5, 2}, {2.6, 3}, {-2.4, -2}};
  for (const Case& c : cases) EXPECT_EQ(vb::CInt(c.value), c.rounded) << c.value;
  EXPECT_EQ(vb::CLng(100000.5), 100000);
  EXPECT_EQ(vb::CInt(32767.4), 32767);
  for (double bad : {32767.5, -32769.0, 1e10, std::nan("")}) {
    try {
      vb::CInt(bad);
      ADD_FAILURE() << "CInt(" << bad << ") did not overflow";
    } catch (const vb::Error& e) {
      EXPECT_EQ(e.Number(), 6);
    }
  }
  EXPECT_THROW(vb::CLng(3e9), vb::Error);
  EXPECT_EQ(vb::Int(-2.5), -3);
  EXPECT_EQ(vb::Int(2.9), 2);
  EXPECT_EQ(vb::Fix(-2.5), -2);
}

TEST(Runtime, ModKeepsTheDividendSign) {
  struct Case { double a, b; long long r; };
  const Case cases[] = {{7, 3, 1}, {-7, 3, -1}, {7, -3, 1}, {-7, -3, -1}, {6, 3, 0}, {7.5, 3, 2}, {6.5, 3, 0}};
  for (const Case& c : cases) EXPECT_EQ(vb::Mod(c.a, c.b), c.r) << c.a << " Mod " << c.b;
  try {
    vb::Mod(1, 0.4);  // the divisor rounds to 0
    ADD_FAILURE() << "no division by zero";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number(), 11);
  }
  EXPECT_EQ(vb::IntDiv(-7, 2), -3);
}

TEST(Runtime, OneBasedStringHelpers) {
  const QString s = "Hello World";
  EXPECT_EQ(vb::Mid(s, 1, 5), "Hello");
  EXPECT_EQ(vb::Mid(s, 7), "World");
  EXPECT_EQ(vb::Mid(s, 11, 5), "d");
  EXPECT_EQ(vb::Mid(s, 12), "");
  EXPECT_THROW(vb::Mid(s, 0), vb::Error);
  EXPECT_EQ(vb::Left(s, 3), "Hel");
  EXPECT_EQ(vb::Left(s, 99), s);
  EXPECT_EQ(vb::Right(s, 3), "rld");
  EXPECT_THROW(vb::Left(s, -1), vb::Error);
  EXPECT_EQ(vb::InStr(s, "o"), 5);
  EXPECT_EQ(vb::InStr(6, s, "o"), 8);
  EXPECT_EQ(vb::InStr(s, "z"), 0);
  EXPECT_EQ(vb::InStr(3, s, ""), 3);
  EXPECT_EQ(vb::InStr(1, s, "WORLD", 1), 7);
  EXPECT_EQ(vb::InStr(20, s, "o"), 0);
  EXPECT_EQ(vb::InStrRev(s, "o"), 8);
  EXPECT_EQ(vb::InStrRev(s, "o", 7), 5);
  EXPECT_EQ(vb::InStrRev("a\\b\\c", "\\"), 4);
  EXPECT_EQ(vb::InStrRev(s, "zz"), 0);
  EXPECT_EQ(vb::Trim("  a b \t "), "a b \t");  // blanks only, as the old Trim
  EXPECT_EQ(vb::LTrim("  x "), "x ");
  EXPECT_EQ(vb::RTrim("  x "), "  x");
  QString target = "abcdef";
  vb::MidAssign(target, 3, "XYZW", 2);
  EXPECT_EQ(target, "abXYef");
  vb::MidAssign(target, 5, "12345");
  EXPECT_EQ(target, "abXY12");
  EXPECT_EQ(vb::Chr(0x80), QString(QChar(0x20AC)));
  EXPECT_EQ(vb::Asc(QString(QChar(0x20AC))), 0x80);
  EXPECT_EQ(vb::Asc("A"), 65);
}

TEST(Runtime, FixedLengthStringsPadAndCut) {
  vb::FixedString f(5);
  EXPECT_EQ(f.str(), "     ");
  f = "ab";
  EXPECT_EQ(f.str(), "ab   ");
  f = "abcdefgh";
  EXPECT_EQ(f.str(), "abcde");
  vb::FixedString zero(0, "abc");
  EXPECT_EQ(zero.str(), "");
}

TEST(Runtime, QBColorAndRgbAreBgrLongs) {
  EXPECT_EQ(vb::QBColor(12), 0x0000FF);  // light red
  EXPECT_EQ(vb::QBColor(15), 0xFFFFFF);
  EXPECT_EQ(vb::QBColor(1), 0x800000);   // blue
  EXPECT_EQ(vb::RGB(128, 128, 254), 0xFE8080);
  EXPECT_THROW(vb::QBColor(16), vb::Error);
}

TEST(Runtime, RndIsTheOldGeneratorAndSeedable) {
  // The old generator's numbers after Rnd(-1), as the old runtime gave them.
  EXPECT_FLOAT_EQ(vb::Rnd(-1), 3758214 / 16777216.0f);  // 0.224007
  EXPECT_FLOAT_EQ(vb::Rnd(), 601393 / 16777216.0f);     // 0.0358458
  EXPECT_FLOAT_EQ(vb::Rnd(), 1448752 / 16777216.0f);    // 0.0863523
  vb::Rnd(-1);  // a known state
  const float a = vb::Rnd(), b = vb::Rnd();
  vb::Rnd(-1);
  EXPECT_EQ(vb::Rnd(), a);
  EXPECT_EQ(vb::Rnd(), b);
  EXPECT_EQ(vb::Rnd(0), b);  // Rnd(0) repeats the last number
  // Rnd(-1) then Randomize(n): the old idiom for a repeatable series
  // (Randomize alone only mixes the seed into the current state).
  vb::Rnd(-1);
  vb::Randomize(42);
  const float c = vb::Rnd();
  vb::Rnd(-1);
  vb::Randomize(42);
  EXPECT_EQ(vb::Rnd(), c);
  vb::Rnd(-1);
  vb::Randomize(43);
  EXPECT_NE(vb::Rnd(), c);
  for (int i = 0; i < 1000; ++i) {
    const float r = vb::Rnd();
    ASSERT_GE(r, 0.0f);
    ASSERT_LT(r, 1.0f);
  }
}

TEST(Runtime, ClockTextsComeFromTheInjectedClock) {
  vb::setWallClock([] { return QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5, 250)); });
  EXPECT_EQ(vb::DateText(), "02/01/2025");
  EXPECT_EQ(vb::TimeText(), "03:04:05");
  EXPECT_DOUBLE_EQ(vb::TimerNow(), 3 * 3600 + 4 * 60 + 5.25);
  vb::setWallClock({});
  EXPECT_LT(std::abs(vb::Now().secsTo(QDateTime::currentDateTime())), 5);
}

TEST(Runtime, LineReaderEndOfFileRule) {
  struct Case { const char* bytes; QStringList lines; };
  const Case cases[] = {
      {"a\r\nb\r\n", {"a", "b"}},  // no extra empty line after the last CR LF
      {"a\r\nb", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\rb", {"a", "b"}},
      {"\r\n", {""}},
      {"", {}},
  };
  for (const Case& c : cases) {
    auto r = vb::LineReader::fromBytes(QByteArray(c.bytes));
    QStringList got;
    while (!r.EOF_()) got << r.LineInput();
    EXPECT_EQ(got, c.lines) << c.bytes;
    EXPECT_TRUE(r.EOF_());
    try {
      r.LineInput();
      ADD_FAILURE() << "read past the end";
    } catch (const vb::Error& e) {
      EXPECT_EQ(e.Number(), 62);
    }
  }
  // EOF turns true right after the last line has been read.
  auto r = vb::LineReader::fromBytes("one\r\ntwo\r\n");
  r.LineInput();
  EXPECT_FALSE(r.EOF_());
  r.LineInput();
  EXPECT_TRUE(r.EOF_());
}

TEST(Runtime, LineReaderFileErrors) {
  QTemporaryDir dir;
  try {
    vb::LineReader r(dir.path() + "/missing.txt");
    ADD_FAILURE();
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number(), 53);
  }
  QFile f(dir.path() + "/u.txt");
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("\xEF\xBB\xBF\xC3\xA9t\xC3\xA9\r\n");
  f.close();
  vb::LineReader r(f.fileName());
  EXPECT_EQ(r.LineInput(), QString::fromUtf8("\xC3\xA9t\xC3\xA9"));
  EXPECT_TRUE(r.EOF_());
}

TEST(Runtime, QuotedFieldsWriteAndReadBack) {
  const QString line = vb::WriteFields({QString("a, b"), 12, 2.5, true, QString(""), QString("x")});
  EXPECT_EQ(line, "\"a, b\",12,2.5,#TRUE#,\"\",\"x\"");
  EXPECT_EQ(vb::ReadFields(line), (QStringList{"a, b", "12", "2.5", "True", "", "x"}));
  EXPECT_EQ(vb::ReadFields(QString("  7 , \"q\"  ,")), (QStringList{"7", "q", ""}));
  auto r = vb::LineReader::fromBytes("\"one\",2\r\n\"three\"\r\n");
  EXPECT_EQ(r.Input(), "one");
  EXPECT_EQ(r.Input(), "2");
  EXPECT_EQ(r.Input(), "three");
  EXPECT_TRUE(r.EOF_());
}

TEST(Runtime, ErrorsCarryNumberAndDescription) {
  const vb::Error e(380);
  EXPECT_EQ(e.Number(), 380);
  EXPECT_EQ(e.Description(), "Invalid property value");
  EXPECT_EQ(vb::Error(32755).Description(), "Cancel was selected.");
  EXPECT_EQ(vb::Error(1234, "mine").Description(), "mine");
}

TEST(Runtime, LoadPictureErrors) {
  QTemporaryDir dir;
  try {
    vb::LoadPicture(dir.path() + "/none.bmp");
    ADD_FAILURE();
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number(), 53);
  }
  QFile f(dir.path() + "/bad.bmp");
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("not a picture");
  f.close();
  try {
    vb::LoadPicture(f.fileName());
    ADD_FAILURE();
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number(), 481);
  }
}

}  // namespace
