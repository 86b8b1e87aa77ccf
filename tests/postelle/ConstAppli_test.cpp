// Postelle's start: its texts from the language file, and the program as a
// process copied beside a fixture language file (it reads the file beside itself).
#include "postelle/ConstAppli.h"
#include "tests/common/LangFixture.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

// A language file whose companion section holds 55 entries "forum k", with
// entry 5 left without quotes.
langtest::LangLines fixture() {
  langtest::LangLines l;
  l.forum = {"xxxx========== companion"};
  for (int k = 0; k < 55; ++k)
    l.forum << (k == 5 ? QByteArray("no quotes here") : "\"forum " + QByteArray::number(k) + "\" rest");
  l.forum << "closing line";
  return l;
}

void write(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).path());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

class Postelle : public ::testing::Test {
 public:
  void SetUp() override {
    donnees_ = testenv::dataHome() + "/Velistrom";
    prog_ = testenv::home() + "/prog";
    QDir().mkpath(donnees_);
    QDir().mkpath(prog_);
  }
  QStringList boxes() const { return recorder_.boxes(); }
  testenv::BoxRecorder recorder_;
  void installe(const langtest::LangLines& l, const QByteArray& code = "ConstPRJA") {
    write(donnees_ + "/spoken.txt", code + "\r\n");
    write(prog_ + "/" + code + "_codN.txt", langtest::scrambled(l));
  }
  QString donnees_, prog_;
};

TEST_F(Postelle, TextsGoToTheirNumberedGlobals) {
  installe(fixture());
  gLngForum05 = "old";
  ASSERT_TRUE(ConstAppli::chargerTextes(donnees_, prog_));
  EXPECT_EQ(gLngForum00, "forum 0");
  EXPECT_EQ(gLngForum03, "forum 3");
  EXPECT_EQ(gLngForum04, "forum 4");
  EXPECT_EQ(gLngForum05, "");  // no text on that line
  EXPECT_EQ(gLngForum29, "forum 29");
  EXPECT_EQ(gLngForum30, "forum 30");
  EXPECT_TRUE(boxes().isEmpty());
}

TEST_F(Postelle, UnusableLanguageSetUpEndsWithAMessageAndSetsNothing) {
  struct Cas {
    const char* nom;
    std::function<void(Postelle&)> prepare;
    QString raison;
  };
  const Cas cas[] = {
      {"no spoken.txt", [](Postelle&) {}, "no language has been chosen"},
      {"empty spoken.txt", [](Postelle& t) { write(t.donnees_ + "/spoken.txt", "\r\n"); },
       "no language has been chosen"},
      {"no language file", [](Postelle& t) { write(t.donnees_ + "/spoken.txt", "ConstPRJF\r\n"); },
       "ConstPRJF_codN.txt"},
      {"no marker",
       [](Postelle& t) {
         langtest::LangLines l = fixture();
         l.forum.removeFirst();
         t.installe(l);
       },
       "the companion's section is missing"},
  };
  int n = 0;
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nom);
    QFile::remove(donnees_ + "/spoken.txt");
    QDir(prog_).removeRecursively();
    c.prepare(*this);
    gLngForum03 = "before";
    EXPECT_FALSE(ConstAppli::chargerTextes(donnees_, prog_));
    EXPECT_EQ(gLngForum03, "before");
    const QStringList b = boxes();
    ASSERT_EQ(b.size(), ++n);
    EXPECT_TRUE(b.last().startsWith("critical|")) << b.last().toStdString();
    EXPECT_TRUE(b.last().contains("Postelle cannot start."));
    EXPECT_TRUE(b.last().contains(c.raison)) << b.last().toStdString();
  }
}

// The program reads its language file beside itself, so the test runs a copy
// of it in a folder holding the fixture.
TEST_F(Postelle, ProgramShowsItsWindowUntilItIsEnded) {
  const QString original = testenv::binDir() + "/Postelle";
  if (!QFile::exists(original)) GTEST_SKIP() << "no Postelle in VELISTROM_BIN_DIR";
  ASSERT_TRUE(QFile::copy(original, prog_ + "/Postelle"));
  const QString journal = testenv::home() + "/boxes.log";
  auto logged = [&] {
    QFile f(journal);
    if (!f.open(QIODevice::ReadOnly)) return QStringList();
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
  };
  auto start = [&](QProcess& p, const QStringList& args) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("VELISTROM_MSGBOX_LOG", journal);
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(prog_ + "/Postelle", args);
  };
  const QString histo = donnees_ + "/historforum.txt";
  // The window is up once its load has filled the history menu (which creates the file).
  auto showsItsWindow = [&](QProcess& p) {
    for (int i = 0; i < 300 && !QFile::exists(histo); ++i) p.waitForFinished(50);
    return QFile::exists(histo) && p.state() == QProcess::Running;
  };

  {
    QProcess p;
    start(p, {"/tmp/a.jpg"});  // no language chosen yet
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 1);
  }
  ASSERT_EQ(logged().size(), 1);
  EXPECT_TRUE(logged()[0].startsWith("critical|Postelle|Postelle cannot start.")) << logged()[0].toStdString();

  installe(fixture());
  QImage img(20, 10, QImage::Format_RGB32);
  img.fill(Qt::green);
  const QString picture = donnees_ + "/tempocapt/my pic.jpg";
  QDir().mkpath(donnees_ + "/tempocapt");
  ASSERT_TRUE(img.save(picture, "JPG"));
  struct Cas {
    QStringList args;
    int boxes;  // in the journal once the window is up
  };
  const Cas cas[] = {
      {picture.split(' '), 1},            // split by a shell at its blank: joined again
      {{donnees_ + "/missing.jpg"}, 2},  // says why, and the window still opens
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    QFile::remove(histo);
    QProcess p;
    start(p, c.args);
    ASSERT_TRUE(showsItsWindow(p));
    EXPECT_EQ(logged().size(), c.boxes);
    p.terminate();  // the session ends
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
  }
  EXPECT_TRUE(logged().last().startsWith("exclamation|Postelle|The file \"" + donnees_ + "/missing.jpg\" cannot be read"))
      << logged().last().toStdString();
  EXPECT_TRUE(QFile::exists(picture));  // only Quit deletes the picture
}

}  // namespace
