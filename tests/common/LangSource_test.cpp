#include "common/LangSource.h"

#include "common/LangFile.h"
#include "tests/common/LangFixture.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

using langtest::LangLines;
using langtest::source;

TEST(CompileLangSource, RoundTripsThroughBothReaders) {
  LangLines l;
  l.texts = {"000 \"Fen\xC3\xAAtre \xE2\x82\xAC\"", "001", "002 \"l\xE2\x80\x99image\""};
  l.tips = {"\"Astuce \xC5\x93\"", "\"B\""};
  l.forum = {"////==========", "\"Envoyer \xC3\xA0\"", "\"un\"", "fin"};
  const auto compiled = lang::compileLangSource(source(l.all()));
  ASSERT_FALSE(compiled.error) << qPrintable(compiled.error->message);
  EXPECT_TRUE(compiled.bytes.endsWith("\r\n"));
  EXPECT_EQ(compiled.bytes.count("\r\n"), l.all().size());
  EXPECT_FALSE(compiled.bytes.contains(char(26)));

  const auto main = lang::readLangFile(compiled.bytes);
  ASSERT_TRUE(main.ok());
  EXPECT_EQ(main.texts.txtLng[0], QString::fromUtf8("Fenêtre €"));
  EXPECT_EQ(main.texts.txtLng[2], QString::fromUtf8("l’image"));
  EXPECT_EQ(main.texts.tips, QStringList({QString::fromUtf8("Astuce œ"), "B"}));
  EXPECT_EQ(main.texts.tabAideMenu[2][3], "menu 2,3");
  const auto forum = lang::readForumTexts(compiled.bytes);
  ASSERT_TRUE(forum.ok());
  EXPECT_EQ(forum.texts[0], QString::fromUtf8("Envoyer à"));
  EXPECT_EQ(forum.texts[1], "un");

  // A BOM and CR LF line ends in the source change nothing.
  QByteArray crlf = source(l.all());
  crlf.replace("\n", "\r\n");
  EXPECT_EQ(lang::compileLangSource("\xEF\xBB\xBF" + crlf).bytes, compiled.bytes);
}

TEST(CompileLangSource, RefusesWhatTheReadersWouldMisread) {
  struct Case {
    const char* name;
    std::function<void(LangLines&)> edit;
    int line;  // expected source line, 0 = the whole file
    const char* words;
  };
  const Case cases[] = {
      {"marker pattern in section 1", [](LangLines& l) { l.texts[1] = "001 ========== \"x\""; }, 2, "=========="},
      {"marker pattern in a tip", [](LangLines& l) { l.tips[1] = "\"abc==========\""; }, 6, "=========="},
      {"marker pattern in a help text", [](LangLines& l) { l.help[0] = "\"abc==========\""; }, 8, "=========="},
      {"marker pattern in section 4", [](LangLines& l) { l.menu[34] = "\"abc==========\""; }, 45, "=========="},
      {"numbering error", [](LangLines& l) { l.texts[2] = "003 \"two\""; }, 3, "numbering"},
      {"unmappable character", [](LangLines& l) { l.tips[0] = "\"\xC5\x81\xC3\xB3""d\xC5\xBA\""; }, 5, "U+0141"},
      {"not UTF-8", [](LangLines& l) { l.help[1] = "\"caf\xE9\""; }, 9, "UTF-8"},
      {"NUL", [](LangLines& l) { l.help[1] = QByteArray("\"a\0b\"", 5); }, 9, "NUL"},
      {"closing quote past 500",
       [](LangLines& l) { l.texts[1] = "001 \"" + QByteArray(500, 'a') + "\""; }, 2, "500"},
      {"text at entry 301",
       [](LangLines& l) {
         l.texts.clear();
         for (int n = 0; n <= 301; ++n) l.texts.append(QByteArray::number(n).rightJustified(3, '0') + " \"t\"");
       },
       302, "300"},
      {"section 4 too short", [](LangLines& l) { l.menu.removeLast(); }, 45, "marker"},
      {"no companion marker", [](LangLines& l) { l.forum = {"closing"}; }, 46, "marker"},
      {"no closing line", [](LangLines& l) { l.forum = {"////=========="}; }, 0, "closing"},
      {"a text on the last line", [](LangLines& l) { l.forum = {"////==========", "\"lost\""}; }, 47, "closing"},
      {"companion text past 50",
       [](LangLines& l) {
         l.forum = {"////=========="};
         for (int n = 0; n <= 51; ++n) l.forum.append("\"f\"");
         l.forum.append("end");
       },
       46 + 1 + 51, "50"},
  };
  for (const auto& c : cases) {
    LangLines l;
    c.edit(l);
    const auto compiled = lang::compileLangSource(source(l.all()));
    ASSERT_TRUE(compiled.error) << c.name;
    EXPECT_EQ(compiled.error->line, c.line) << c.name << ": " << qPrintable(compiled.error->message);
    EXPECT_TRUE(compiled.error->message.contains(c.words)) << c.name << ": " << qPrintable(compiled.error->message);
    EXPECT_TRUE(compiled.bytes.isEmpty()) << c.name;
  }
  const auto sectionOneOnly = lang::compileLangSource(source(LangLines{}.texts));
  ASSERT_TRUE(sectionOneOnly.error);
  EXPECT_EQ(sectionOneOnly.error->line, 0);
  EXPECT_TRUE(sectionOneOnly.error->message.contains("TOOLTYP"));
}

// The tool as the build runs it.
TEST(LangTool, WritesTheFileOrNamesTheFaultyLine) {
  const QString tool = testenv::binDir() + "/../tools/langtool";
  if (!QFile::exists(tool)) GTEST_SKIP() << "langtool not built";
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString src = dir.filePath("ConstPRJF.txt"), out = dir.filePath("ConstPRJF_codN.txt");
  auto run = [&](const QByteArray& text, QByteArray* err) {
    QFile f(src);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.close();
    QProcess p;
    p.start(tool, {src, out});
    EXPECT_TRUE(p.waitForFinished(20000));
    *err = p.readAllStandardError();
    return p.exitCode();
  };
  QByteArray err;
  LangLines l;
  ASSERT_EQ(run(source(l.all()), &err), 0) << err.constData();
  QFile written(out);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  EXPECT_TRUE(lang::readLangFile(written.readAll()).ok());
  written.close();

  l.texts[1] = "009 \"wrong\"";
  EXPECT_EQ(run(source(l.all()), &err), 1);
  EXPECT_TRUE(err.contains("ConstPRJF.txt:2:")) << err.constData();
}

}  // namespace
