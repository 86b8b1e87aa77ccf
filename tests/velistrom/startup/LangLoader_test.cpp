#include "velistrom/startup/LangLoader.h"

#include "common/LangFile.h"
#include "platform/forms/App.h"
#include "tests/common/LangFixture.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"
#include "velistrom/core/GlobTextes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sys/stat.h>

namespace {

using langtest::LangLines;
using langtest::scrambled;

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

// A data folder with "spoken.txt", a program folder with the language file, and
// the message boxes logged instead of shown.
class LoaderTest : public ::testing::Test {
 public:
  void SetUp() override {
    ASSERT_TRUE(data.isValid() && program.isValid());
    writeFile(data.filePath("spoken.txt"), "ConstPRJF\r\n");
    splashShown = 0;
    startup::setSplashHook([this] { ++splashShown; });
  }
  void TearDown() override {
    startup::setSplashHook(nullptr);
  }
  void writeLang(const QByteArray& bytes) { writeFile(program.filePath("ConstPRJF_codN.txt"), bytes); }
  bool load() { return startup::ChargerPuisSplash(data.path(), program.path()); }

  QTemporaryDir data, program;
  int splashShown = 0;
};

// Every entry 0 ... 271 with a text of its own number.
LangLines everyEntry() {
  LangLines l;
  l.texts.clear();
  for (int n = 0; n < 272; ++n) {
    const QByteArray num = QByteArray::number(n).rightJustified(3, '0');
    l.texts.append(num + " \"t" + num + "\"");
  }
  return l;
}

TEST_F(LoaderTest, FillsTheNamedVariablesFromTheirEntries) {
  writeLang(scrambled(everyEntry()));
  ASSERT_TRUE(load());
  EXPECT_EQ(splashShown, 1);
  EXPECT_TRUE(testenv::dialogs().shown().empty());
  EXPECT_EQ(gCodeLng, "ConstPRJF");
  EXPECT_EQ(gTxtLng[226], "t226") << "loaded though no variable holds it";
  EXPECT_EQ(gTxtLng[264], "t264");

  std::map<int, std::pair<const char*, QString>> named;
#define COLLECT(name, n) named[n] = {#name, name};
  VELISTROM_NAMED_TEXTS(COLLECT)
#undef COLLECT
  EXPECT_EQ(named.size(), 270u);
  EXPECT_EQ(named.count(226), 0u);
  EXPECT_EQ(named.count(264), 0u);
  EXPECT_STREQ(named[27].first, "gTxtQuitter");
  EXPECT_STREQ(named[58].first, "gTxtPasDeZone");
  EXPECT_STREQ(named[130].first, "gTxtCapture");
  EXPECT_STREQ(named[151].first, "gTxtErrLance");
  EXPECT_STREQ(named[28].first, "gLng028");
  for (const auto& [n, entry] : named)
    EXPECT_EQ(entry.second, "t" + QString::number(n).rightJustified(3, '0')) << entry.first;
  EXPECT_EQ(gTxtQuitter, "t027");
  EXPECT_EQ(gLng271, "t271");
}

TEST_F(LoaderTest, FillsTipsAndHelpTablesAndTipsAlwaysExist) {
  gTips = QStringList{"left from before"};
  LangLines l;
  l.tips.clear();
  l.help = {"\"aide 0\""};
  writeLang(scrambled(l));
  ASSERT_TRUE(load());
  EXPECT_TRUE(gTips.isEmpty()) << "no tips in the file: an empty list";
  EXPECT_EQ(gTxtAide[0], "aide 0");
  EXPECT_EQ(gTabAideMenu[3][5], "menu 3,5");

  writeLang(scrambled(LangLines{}));
  ASSERT_TRUE(load());
  EXPECT_EQ(gTips, QStringList({"tip A", "tip B"}));
}

TEST_F(LoaderTest, AnyFailureIsReportedAndShowsNoSplash) {
  struct Case {
    const char* name;
    std::function<void(LoaderTest&)> setUp;
    QString box;  // a piece of the message
  };
  auto damaged = [](LangLines l) { return scrambled(l); };
  LangLines badNumber;
  badNumber.texts[1] = "007 \"x\"";
  LangLines past300 = everyEntry();
  for (int n = 272; n <= 301; ++n) past300.texts.append(QByteArray::number(n) + " \"t\"");
  LangLines past100;
  past100.help.clear();
  for (int i = 0; i <= 101; ++i) past100.help.append("\"h\"");
  const QString title = vb::App.Title();
  const Case cases[] = {
      {"numbering", [&](LoaderTest& t) { t.writeLang(damaged(badNumber)); },
       "Permanent Error ...."},
      {"truncated", [&](LoaderTest& t) { t.writeLang(scrambled(LangLines{}.all().mid(0, 20))); },
       "the file ends too early (line 21)"},
      {"line under three bytes", [&](LoaderTest& t) { t.writeLang(scrambled(LangLines{}.all().mid(0, 2)) + "x\r\n"); },
       "shorter than three characters (line 3)"},
      {"bad key",
       [&](LoaderTest& t) {
         t.writeLang(QByteArray(3, char(255 - '9')) + "abc\r\n" + scrambled(LangLines{}.all().mid(1)));
       },
       "invalid key (line 1)"},
      {"entry past 300", [&](LoaderTest& t) { t.writeLang(damaged(past300)); }, "above 300 (line 302)"},
      {"help text past 100", [&](LoaderTest& t) { t.writeLang(damaged(past100)); }, "more than 101 help texts"},
      {"no language file", [](LoaderTest&) {}, "ConstPRJF_codN.txt"},
      // Read only when regular and not too large: a FIFO would block the start.
      {"a FIFO for the language file",
       [&](LoaderTest& t) { ASSERT_EQ(::mkfifo(QFile::encodeName(t.program.filePath("ConstPRJF_codN.txt")), 0600), 0); },
       "ConstPRJF_codN.txt"},
      {"a language file above its cap",
       [&](LoaderTest& t) { t.writeLang(scrambled(LangLines{}) + QByteArray(lang::kLangFileMax, ' ')); },
       "ConstPRJF_codN.txt"},
      {"a FIFO for spoken.txt",
       [&](LoaderTest& t) {
         t.writeLang(scrambled(LangLines{}));
         QFile::remove(t.data.filePath("spoken.txt"));
         ASSERT_EQ(::mkfifo(QFile::encodeName(t.data.filePath("spoken.txt")), 0600), 0);
       },
       "no language has been chosen"},
      {"empty spoken.txt",
       [&](LoaderTest& t) {
         t.writeLang(scrambled(LangLines{}));
         writeFile(t.data.filePath("spoken.txt"), "");
       },
       "no language has been chosen"},
  };
  for (const auto& c : cases) {
    testenv::dialogs().reset();
    QFile::remove(program.filePath("ConstPRJF_codN.txt"));
    QFile::remove(data.filePath("spoken.txt"));  // it may be a FIFO
    writeFile(data.filePath("spoken.txt"), "ConstPRJF\r\n");
    gTxtLng[0] = "untouched";
    c.setUp(*this);
    testenv::dialogs().expectMsgBox(c.box, vb::vbOK);
    EXPECT_FALSE(load()) << c.name;
    testenv::dialogs().verify();
    EXPECT_EQ(splashShown, 0) << c.name;
    ASSERT_EQ(testenv::dialogs().shown().size(), 1u) << c.name;
    const auto& box = testenv::dialogs().shown()[0];
    EXPECT_EQ(box.icon, "critical") << c.name;
    EXPECT_EQ(box.title, title) << c.name;
    if (c.box == "Permanent Error ....") {
      EXPECT_EQ(box.text, c.box) << "exactly";
    }
    EXPECT_EQ(gTxtLng[0], "untouched") << c.name;
  }
}

}  // namespace
