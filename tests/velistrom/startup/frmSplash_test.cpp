// The banner: its load (folders, tips, placement), its quarter-second close
// that hands over to the main window, Escape, and the author link.
#include "velistrom/startup/frmSplash.h"

#include "common/VarConst.h"
#include "tests/support/FtpServer.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"
#include "tests/support/Wait.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/startup/Relais.h"
#include "velistrom/startup/Splash.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

// A stand-in for the main window that counts the hand-overs and when they came.
class SplashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qunsetenv("VELISTROM_TIPS_FTP");
    qunsetenv("VELISTROM_TIPS_FTP_PASSWORD");
    gTips = QStringList{"language tip"};
    clock.start();
    savedMain = startup::mainSide();
    startup::setMainSide({[this] {
                            ++mainShown;
                            mainAfterMs = clock.elapsed();
                          },
                          {}});
  }
  void TearDown() override {
    frmSplash.destroyNow();
    startup::setMainSide(savedMain);
    qunsetenv("VELISTROM_TIPS_FTP");
    qunsetenv("VELISTROM_TIPS_FTP_PASSWORD");
    gTips.clear();
  }
  [[nodiscard]] static bool waitGone(int ms) {
    return testsupport::waitFor([] { return !frmSplash.existing(); }, ms);
  }

  QElapsedTimer clock;
  int mainShown = 0;
  startup::MainSide savedMain;
  qint64 mainAfterMs = -1;
};

TEST_F(SplashTest, LoadSettlesTheDataFolderReadsTheLocalTipsAndSitsAtTheTop) {
  const QString data = testenv::dataHome() + "/Velistrom";
  ASSERT_FALSE(QDir(data).exists());
  frmSplash().Show();
  EXPECT_TRUE(QDir(data).exists()) << "a missing data folder is made";
  EXPECT_EQ(gDossAppli, data);
  EXPECT_FALSE(gDossSys.isEmpty());
  EXPECT_EQ(gTips, QStringList{"language tip"});
  frmSplash.destroyNow();

  writeFile(data + "/FicTips.txt", "local one\r\n\r\nlocal two\r\nlast line\r\n");
  frmSplash().Show();
  ASSERT_TRUE(frmSplash.existing());
  FrmSplash& s = *frmSplash.existing();
  EXPECT_TRUE(s.Visible());
  EXPECT_EQ(gTips, (QStringList{"language tip", "local one", "local two"}))
      << "without a server the copy of an earlier start is read";
  EXPECT_TRUE(testenv::dialogs().shown().empty());

  const SplashLayout want =
      PlacerSplash(vb::Screen.Width(), vb::Screen.Height(), s.Width(), s.Height(), 0, s.lblAuteur.Height());
  EXPECT_EQ(s.Left(), want.left);
  EXPECT_EQ(s.Top(), 0);
  EXPECT_EQ(s.Frame1.Left(), 50);
  EXPECT_EQ(s.Frame1.Width(), s.Width() - 200);
  EXPECT_EQ(s.Frame1.Height(), s.Height() - 200);
  EXPECT_EQ(s.lblAuteur.Top(), want.authorTop);
  EXPECT_EQ(s.lblAuteur.Top() + s.lblAuteur.Height(), s.Frame1.Height() - 100)
      << "the author line sits 100 twips above the frame's bottom";
  EXPECT_EQ(s.lblProductName.Caption(), "Velistrom 2.60");
}

TEST_F(SplashTest, ClosesAfterAQuarterSecondAndShowsTheMainWindowOnce) {
  frmSplash().Show();
  ASSERT_TRUE(frmSplash.existing());
  EXPECT_EQ(mainShown, 0) << "the main window waits for the banner to close";
  EXPECT_TRUE(frmSplash->Timstart.running());
  EXPECT_EQ(frmSplash->Timstart.Interval(), 250);
  EXPECT_FALSE(frmSplash->TimEffac.running());
  ASSERT_TRUE(waitGone(3000));
  EXPECT_EQ(mainShown, 1);
  EXPECT_GE(mainAfterMs, 200);
  QTest::qWait(400);
  EXPECT_EQ(mainShown, 1) << "the banner is not shown again";
}

// Escape ends the program from the event loop, as main() runs it: RunProgram
// returns and the main window never comes. Other keys change nothing.
TEST_F(SplashTest, EscapeEndsTheProgramBeforeTheMainWindow) {
  struct Case {
    Qt::Key key;
    bool ends;
  };
  for (const Case& c : {Case{Qt::Key_A, false}, Case{Qt::Key_Return, false}, Case{Qt::Key_Escape, true}}) {
    mainShown = 0;
    frmSplash().Show();
    ASSERT_TRUE(frmSplash.existing());
    QWidget* w = frmSplash->widget();
    // A form of our own keeps the program running when Escape is not the end.
    vb::Form keepAlive("keepAlive");
    keepAlive.load_();
    QTimer::singleShot(0, w, [w, c] { QTest::keyClick(w, c.key); });
    QTimer guard;  // every case ends by then
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { vb::End(); });
    guard.start(1500);
    QElapsedTimer t;
    t.start();
    vb::RunProgram();
    if (c.ends) {
      EXPECT_LT(t.elapsed(), 200) << "Escape ends the run at once";
      EXPECT_EQ(mainShown, 0) << "no main window after Escape";
      EXPECT_FALSE(frmSplash.existing() && frmSplash.existing()->Visible());
      QTest::qWait(400);
      EXPECT_EQ(mainShown, 0) << "the close timer stopped with the program";
    } else {
      EXPECT_GE(t.elapsed(), 1400) << "key " << c.key << " ended the run";
      EXPECT_EQ(mainShown, 1) << "key " << c.key;
    }
    vb::resetFormsForTests();
  }
}

TEST_F(SplashTest, TheAuthorLineOpensTextOneNinetyEight) {
  const QString bin = testenv::home() + "/bin";
  QDir().mkpath(bin);
  const QString log = testenv::home() + "/opened.log";
  QFile script(bin + "/xdg-open");
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write(("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + log + "'\n").toUtf8());
  script.close();
  script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  const QByteArray oldPath = qgetenv("PATH");
  qputenv("PATH", bin.toLocal8Bit() + ":" + oldPath);
  gLng198 = "https://127.0.0.1/author?a=1;b";

  frmSplash().Show();
  ASSERT_TRUE(frmSplash.existing());
  frmSplash->Timstart.setEnabled(false);  // keep the banner while the click is made
  vb::Label& link = frmSplash->lblAuteur;
  EXPECT_EQ(link.MousePointer(), vb::vbCustom);
  QTest::mouseClick(link.widget(), Qt::LeftButton, {}, QPoint(5, 5));
  qputenv("PATH", oldPath);
  gLng198.clear();

  QByteArray opened;
  EXPECT_TRUE(testsupport::waitFor([&] {
    QFile f(log);
    opened = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    return !opened.isEmpty();
  }, 5000));
  EXPECT_EQ(opened, "https://127.0.0.1/author?a=1;b\n");
  EXPECT_TRUE(frmSplash.existing()) << "the banner stays";
}

// A server that takes the connection and never answers costs the start the
// connect time-out, no message, and the start goes on.
TEST_F(SplashTest, ASilentTipsServerDoesNotHoldTheStart) {
  testenv::FtpServer::Options o;
  o.mode = testenv::FtpServer::Mode::Silent;
  testenv::FtpServer server(o);
  ASSERT_TRUE(server.started());
  qputenv("VELISTROM_TIPS_FTP", server.url().toUtf8());
  qputenv("VELISTROM_TIPS_FTP_PASSWORD", CodeLigne("secret")->toHex());
  const QString data = testenv::dataHome() + "/Velistrom";
  ASSERT_TRUE(QDir().mkpath(data));
  writeFile(data + "/FicTips.txt", "old copy\r\nlast\r\n");

  QElapsedTimer t;
  t.start();
  frmSplash().Show();
  const qint64 loadMs = t.elapsed();
  EXPECT_LT(loadMs, 9000) << "the download is bounded by the platform's time-outs";
  EXPECT_TRUE(testenv::dialogs().shown().empty());
  EXPECT_EQ(gTips, QStringList{"language tip"}) << "no connection: the old copy is not read";
  ASSERT_TRUE(waitGone(3000));
  EXPECT_EQ(mainShown, 1);
}

}  // namespace
