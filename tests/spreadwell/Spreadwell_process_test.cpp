// Spreadwell as the main program starts it: a separate process with the picture
// path on its command line, a real test host, boxes logged, and a recording
// xdg-open first on PATH.
#include "tests/support/ImageHost.h"
#include "tests/support/RecordingOpener.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

class SpreadwellProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    programme_ = testenv::binDir() + "/Spreadwell";
    if (!QFile::exists(programme_)) GTEST_SKIP() << "no Spreadwell in VELISTROM_BIN_DIR";
    ASSERT_TRUE(testenv::installRecordingXdgOpen(testenv::home() + "/bin"));
    donnees_ = testenv::dataHome() + "/Velistrom";
    QDir().mkpath(donnees_ + "/tempocapt");
  }

  int run(const QStringList& args, const QString& hote, const QList<QPair<QString, QString>>& extra = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : extra) env.insert(name, value);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("VELISTROM_IMAGE_HOST", hote);
    env.insert("VELISTROM_MSGBOX_LOG", testenv::home() + "/boxes.log");
    env.insert("XDG_OPEN_LOG", testenv::home() + "/opened.log");
    env.insert("PATH", testenv::home() + "/bin:" + env.value("PATH"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(programme_, args);
    if (!p.waitForFinished(30000)) {
      p.kill();
      p.waitForFinished();
      ADD_FAILURE() << "Spreadwell did not end";
      return -1;
    }
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
  }

  static QStringList lines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
  }
  QStringList boxes() const { return lines(testenv::home() + "/boxes.log"); }
  QStringList opened(int expected) const {
    return testenv::recordedOpens(testenv::home() + "/opened.log", expected);
  }
  static QString picture(const QString& path) {
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(Qt::blue);
    EXPECT_TRUE(img.save(path, "JPG"));
    return path;
  }

  QString programme_, donnees_;
};

TEST_F(SpreadwellProcess, SuccessOpensThePageAndDeletesOnlyOurCopy) {
  testenv::ImageHost host;
  ASSERT_TRUE(host.started());
  const QString page = host.address() + "/zimage/Xy12_ab-3.z.php";

  const QString copie = picture(donnees_ + "/tempocapt/Capt07032026-090504.jpg");
  EXPECT_EQ(run({copie}, host.address()), 0);
  EXPECT_EQ(opened(1), QStringList{page});
  EXPECT_FALSE(QFile::exists(copie));

  // A user's own file, its path split at the blank by a shell.
  QDir().mkpath(testenv::home() + "/My Pictures");
  const QString sien = picture(testenv::home() + "/My Pictures/a b.jpg");
  EXPECT_EQ(run(sien.split(' '), host.address()), 0);
  EXPECT_EQ(opened(2), (QStringList{page, page}));
  EXPECT_TRUE(QFile::exists(sien));

  EXPECT_TRUE(boxes().isEmpty());
  const QJsonArray reqs = host.requests();
  ASSERT_EQ(reqs.size(), 2);
  EXPECT_TRUE(reqs[0].toObject()["params"].toArray()[2].toObject()["value"].toString().startsWith(
      "picked with Velistrom "));
}

TEST_F(SpreadwellProcess, FailuresKeepTheFileAndOnlyAnErrorStatusOrNoHostShowABox) {
  const QString copie = picture(donnees_ + "/tempocapt/Capt.jpg");
  {
    testenv::ImageHost host("fault-int");
    ASSERT_TRUE(host.started());
    EXPECT_EQ(run({copie}, host.address()), 1);
    EXPECT_EQ(boxes(), QStringList{
        "critical|Spreadwell|Server returned a fault. Code is '42', description is 'Bad picture'."});
  }
  // A refused connection ends quietly; a missing host setting is told.
  EXPECT_EQ(run({copie}, QString("http://127.0.0.1:%1").arg(testenv::freeLoopbackPort())), 1);
  EXPECT_EQ(boxes().size(), 1);
  EXPECT_EQ(run({copie}, ""), 1);
  ASSERT_EQ(boxes().size(), 2);
  EXPECT_TRUE(boxes()[1].contains("no image host is configured"));
  EXPECT_TRUE(QFile::exists(copie));
  EXPECT_TRUE(opened(0).isEmpty());
}

// A host that drips its answer, fast enough for the stall rule, is given up at
// the overall limit (a few seconds here, not 120): a quiet end, the file kept.
TEST_F(SpreadwellProcess, AHostThatDripsItsAnswerIsGivenUpAtTheLimitKeepingTheFile) {
  testenv::ImageHost host("drip");
  ASSERT_TRUE(host.started());
  const QString copie = picture(donnees_ + "/tempocapt/Capt.jpg");
  QElapsedTimer t;
  t.start();
  EXPECT_EQ(run({copie}, host.address(), {{"VELISTROM_UPLOAD_TIMEOUT", "3"}}), 1);
  // The whole answer takes over a minute at its pace.
  EXPECT_LT(t.elapsed(), 25000);
  EXPECT_EQ(host.requests().size(), 1);
  EXPECT_TRUE(QFile::exists(copie));
  EXPECT_TRUE(boxes().isEmpty()) << boxes().join("\n").toStdString();
  EXPECT_TRUE(opened(0).isEmpty());
}

TEST_F(SpreadwellProcess, NoPictureEndsCleanlyWithNothingSent) {
  testenv::ImageHost host;
  ASSERT_TRUE(host.started());
  QFile texte(donnees_ + "/tempocapt/notes.jpg");
  ASSERT_TRUE(texte.open(QIODevice::WriteOnly));
  texte.write("not a picture");
  texte.close();
  const QStringList cas[] = {{donnees_ + "/tempocapt/missing.jpg"}, {texte.fileName()}, {}};
  int n = 0;
  for (const auto& args : cas) {
    EXPECT_EQ(run(args, host.address()), 2);
    const QStringList b = boxes();
    ASSERT_EQ(b.size(), ++n);
    EXPECT_TRUE(b.last().startsWith("exclamation|Spreadwell|")) << b.last().toStdString();
  }
  EXPECT_TRUE(boxes()[0].contains("missing.jpg"));
  EXPECT_TRUE(QFile::exists(texte.fileName()));
  EXPECT_EQ(host.requests().size(), 0);
  EXPECT_TRUE(opened(0).isEmpty());
}

}  // namespace
