#include "velistrom/startup/FrmChoixLng.h"

#include "platform/forms/App.h"
#include "platform/forms/Runtime.h"
#include "tests/common/LangFixture.h"
#include "tests/support/Files.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"
#include "tests/support/Wait.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/startup/LangLoader.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using testsupport::readFile;

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

// The start-up form against a fresh data folder, with the language files in a
// folder of the test's own and message boxes logged.
class StartForm : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(program.isValid());
    dataFolder = testenv::dataHome() + "/Velistrom";
    startup::setDossierLangues(program.path());
    for (const char* code : {"ConstPRJF", "ConstPRJA"}) {
      langtest::LangLines l;
      l.texts[0] = QByteArray("000 \"") + code + "\"";
      writeFile(program.filePath(QString(code) + "_codN.txt"), langtest::scrambled(l));
    }
    startup::setSplashHook([this] {
      ++splashShown;
      splashAfterMs = clock.isValid() ? clock.elapsed() : -1;
    });
  }
  void TearDown() override {
    frmChoixLng.destroyNow();
    startup::setSplashHook(nullptr);
    startup::setDossierLangues(QString());
  }
  QString spoken() const { return dataFolder + "/spoken.txt"; }

  // Clicks the middle of a flag as the user would.
  static void click(vb::Image& flag) {
    QWidget* w = flag.form().widget();
    const QPoint centre(vb::twipsToPixels(flag.Left() + flag.Width() / 2),
                        vb::twipsToPixels(flag.Top() + flag.Height() / 2));
    QWidget* target = w->childAt(centre);
    const QPoint at = target ? target->mapFrom(w, centre) : centre;
    QTest::mouseClick(target ? target : w, Qt::LeftButton, {}, at);
  }

  [[nodiscard]] bool waitForSplash(int ms) {
    return testsupport::waitFor([this] { return splashShown > 0; }, ms);
  }

  QTemporaryDir program;
  QString dataFolder;
  int splashShown = 0;
  qint64 splashAfterMs = -1;
  QElapsedTimer clock;
};

TEST_F(StartForm, FirstStartAsksWritesTheCodeAndLoadsHalfASecondLater) {
  ASSERT_FALSE(QDir(dataFolder).exists());
  frmChoixLng().Show();
  ASSERT_TRUE(frmChoixLng.existing());
  EXPECT_TRUE(frmChoixLng->Visible());
  EXPECT_TRUE(QDir(dataFolder).exists()) << "the data folder is made with its parents";
  EXPECT_EQ(gDossLng, dataFolder);

  clock.start();
  click(frmChoixLng->Image1);
  EXPECT_EQ(readFile(spoken()), "ConstPRJF\r\n");
  EXPECT_EQ(frmChoixLng->Image1.BorderStyle(), 1);
  EXPECT_EQ(splashShown, 0) << "the loader waits for the timer";
  ASSERT_TRUE(waitForSplash(3000));
  EXPECT_GE(splashAfterMs, 450);
  EXPECT_EQ(gCodeLng, "ConstPRJF");
  EXPECT_EQ(gLng000, "ConstPRJF");
  EXPECT_FALSE(frmChoixLng.existing()) << "the form unloads after the hand-over";
  QTest::qWait(700);
  EXPECT_EQ(splashShown, 1);
}

TEST_F(StartForm, ASecondClickWithinTheHalfSecondWins) {
  // On the stepped clock, so the half second is counted exactly, from the first
  // click: a count restarted by the second click would hand over 100 ms late.
  vb::setSteppedClock(QDateTime(QDate(2026, 1, 5), QTime(10, 0)));
  frmChoixLng().Show();
  click(frmChoixLng->Image1);
  vb::stepClock(100);
  click(frmChoixLng->Image2);
  EXPECT_EQ(readFile(spoken()), "ConstPRJA\r\n");
  EXPECT_EQ(frmChoixLng->Image2.BorderStyle(), 1);
  EXPECT_EQ(frmChoixLng->Image1.BorderStyle(), 0);
  vb::stepClock(399);
  EXPECT_EQ(splashShown, 0) << "not before the half second";
  vb::stepClock(1);
  EXPECT_EQ(splashShown, 1) << "the count runs from the first click";
  EXPECT_EQ(gLng000, "ConstPRJA");
  vb::stepClock(1000);
  EXPECT_EQ(splashShown, 1);
}

TEST_F(StartForm, AKnownLanguageLoadsAtOnceWithoutAWindow) {
  ASSERT_TRUE(QDir().mkpath(dataFolder));
  writeFile(spoken(), "ConstPRJA\r\n");
  frmChoixLng().Show();
  EXPECT_FALSE(frmChoixLng.existing());
  EXPECT_EQ(splashShown, 1);
  EXPECT_EQ(gLng000, "ConstPRJA");
  EXPECT_TRUE(testenv::dialogs().shown().empty());
}

TEST_F(StartForm, AnUnusableChoiceIsAskedAgain) {
  for (const QByteArray& content : {QByteArray(), QByteArray("\r\n"), QByteArray("ConstPRJX\r\n")}) {
    ASSERT_TRUE(QDir().mkpath(dataFolder));
    writeFile(spoken(), content);
    frmChoixLng().Show();
    ASSERT_TRUE(frmChoixLng.existing()) << content.constData();
    EXPECT_TRUE(frmChoixLng->Visible());
    EXPECT_EQ(splashShown, 0);
    EXPECT_EQ(readFile(spoken()), content) << "left alone until a flag is clicked";
    frmChoixLng.destroyNow();
  }
}

TEST_F(StartForm, AFolderOrChoiceThatCannotBeWrittenEndsTheStartWithAMessage) {
  {
    // The data folder's place is taken by a file: the folder cannot be made.
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    const QString blocked = testenv::home() + "/not-a-folder";
    writeFile(blocked, "x");
    qputenv("XDG_DATA_HOME", blocked.toLocal8Bit());
    testenv::dialogs().expectMsgBox("Cannot create the folder", vb::vbOK);
    frmChoixLng().Show();
    qputenv("XDG_DATA_HOME", saved);
    testenv::dialogs().verify();
    EXPECT_FALSE(frmChoixLng.existing());
    EXPECT_TRUE(vb::loadedForms().empty());
  }
  {
    // "spoken.txt" cannot be written (a folder holds its name).
    testenv::dialogs().reset();
    ASSERT_TRUE(QDir().mkpath(spoken()));
    frmChoixLng().Show();
    ASSERT_TRUE(frmChoixLng.existing()) << "an unreadable choice is asked again";
    testenv::dialogs().expectMsgBox("Cannot write", vb::vbOK);
    click(frmChoixLng->Image1);
    testenv::dialogs().verify();
    EXPECT_FALSE(frmChoixLng.existing());
    QTest::qWait(700);
    EXPECT_EQ(splashShown, 0) << "no hand-over after a failed choice";
  }
  for (const auto& box : testenv::dialogs().shown()) {
    EXPECT_EQ(box.icon, "critical");
    EXPECT_EQ(box.title, vb::App.Title());
  }
}

TEST_F(StartForm, ADamagedLanguageFileEndsTheStartWithAMessage) {
  ASSERT_TRUE(QDir().mkpath(dataFolder));
  writeFile(spoken(), "ConstPRJF\r\n");
  langtest::LangLines l;
  l.texts[2] = "004 \"wrong\"";
  writeFile(program.filePath("ConstPRJF_codN.txt"), langtest::scrambled(l));
  testenv::dialogs().expectMsgBox("Permanent Error ....", vb::vbOK);
  frmChoixLng().Show();
  testenv::dialogs().verify();
  EXPECT_FALSE(frmChoixLng.existing());
  EXPECT_EQ(splashShown, 0);
  ASSERT_EQ(testenv::dialogs().shown().size(), 1u);
  const auto& box = testenv::dialogs().shown()[0];
  EXPECT_EQ(box.icon, "critical");
  EXPECT_EQ(box.title, vb::App.Title());
  EXPECT_EQ(box.text, "Permanent Error ....");
  EXPECT_TRUE(vb::loadedForms().empty()) << "no window is left, so the run ends";
}

}  // namespace
