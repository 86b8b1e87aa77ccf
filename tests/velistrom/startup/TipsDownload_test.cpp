#include "velistrom/startup/TipsDownload.h"

#include "common/VarConst.h"
#include "tests/support/Files.h"
#include "tests/support/FtpServer.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/startup/Splash.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

using testenv::FtpServer;
using namespace std::chrono_literals;

namespace {

using testsupport::readFile;

void write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

// Message boxes answered from a script, every box recorded.
struct ScriptedBoxes {
  QStringList shown;
  QList<int> answers;  // given in order; then the default button
  MsgBoxFn fn() {
    return [this](const QString& prompt, int buttons, const QString&) {
      shown << prompt;
      if (!answers.isEmpty()) return answers.takeFirst();
      return (buttons & 7) == vb::vbYesNo ? int(vb::vbYes) : int(vb::vbOK);
    };
  }
};

TipsServer serverAt(const FtpServer& s, const QByteArray& password = "secret") {
  return TipsServer{"127.0.0.1", s.port(), *CodeLigne(password)};
}

struct Download {
  QString folder = testenv::home();
  QStringList tips{"from the language file"};
  ScriptedBoxes boxes;
  void run(const std::optional<TipsServer>& server) {
    TipsOptions o;
    o.timeouts = {1000ms, 2000ms};
    o.msgBox = boxes.fn();
    ChargtTips(folder, tips, server, o);
  }
};

const QByteArray kRemote = "remote one\r\nremote two\r\nlast line\r\n";
const QByteArray kOldCopy = "old one\r\nold last\r\n";

}  // namespace

TEST(AjoutTips, LinesOfATipsFile) {
  struct Case {
    const char* name;
    QByteArray bytes;
    QStringList tips;
  };
  const Case cases[] = {
      {"three lines give two tips", "a\r\nb\r\nc\r\n", {"a", "b"}},
      {"one line gives none", "a\r\n", {}},
      {"an empty last line lets every tip in", "a\r\nb\r\nc\r\n\r\n", {"a", "b", "c"}},
      {"no line end after the last line", "a\r\nb", {"a"}},
      {"empty lines between tips add nothing", "a\r\n\r\n\r\nb\r\nend\r\n", {"a", "b"}},
      {"blank lines are tips", "  \r\nend\r\n", {"  "}},
      {"LF and lone CR end lines too", "a\nb\rc\r\nend", {"a", "b", "c"}},
      {"empty file", "", {}},
      {"Windows-1252 bytes", "caf\xe9 \x80 \x93ok\x94\r\nend\r\n",
       {QString::fromUtf8("café € “ok”")}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    QStringList tips{"kept"};
    AjoutTips(k.bytes, tips);
    EXPECT_EQ(tips, QStringList{"kept"} + k.tips);
  }
}

TEST(TipsServerFromEnvironment, NeedsAnFtpAddressAndAScrambledPassword) {
  const QByteArray hex = CodeLigne("secret")->toHex();
  struct Case {
    const char* address;
    QByteArray password;
    const char* problem;  // nullptr: configured
    const char* host;
    int port;
  };
  const Case cases[] = {
      {"", "", "no tips server is configured", "", 0},
      {"", hex, "VELISTROM_TIPS_FTP is not", "", 0},
      {"ftp://127.0.0.1:2121", "", "VELISTROM_TIPS_FTP_PASSWORD is not", "", 0},
      {"ftp://127.0.0.1:2121", "abc", "VELISTROM_TIPS_FTP_PASSWORD is not", "", 0},   // odd number of digits
      {"ftp://127.0.0.1:2121", "zz11", "VELISTROM_TIPS_FTP_PASSWORD is not", "", 0},  // not hexadecimal
      {"ftp://127.0.0.1:2121", "4142", "VELISTROM_TIPS_FTP_PASSWORD is not", "", 0},  // too short to descramble
      {"http://127.0.0.1:2121", hex, "VELISTROM_TIPS_FTP is not", "", 0},
      {"ftp://127.0.0.1:2121", hex, nullptr, "127.0.0.1", 2121},
      {"ftp://localhost", hex, nullptr, "localhost", 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE((k.address + QByteArray(" ") + k.password).toStdString());
    qputenv("VELISTROM_TIPS_FTP", k.address);
    qputenv("VELISTROM_TIPS_FTP_PASSWORD", k.password);
    QString problem;
    const auto s = tipsServerFromEnvironment(&problem);
    ASSERT_EQ(s.has_value(), k.problem == nullptr) << problem.toStdString();
    if (!s) {
      EXPECT_TRUE(problem.startsWith(k.problem)) << problem.toStdString();
      continue;
    }
    EXPECT_EQ(s->host, k.host);
    EXPECT_EQ(s->port, k.port);
    EXPECT_EQ(DecodLigne(s->scrambledPassword), "secret");
  }
  qunsetenv("VELISTROM_TIPS_FTP");
  qunsetenv("VELISTROM_TIPS_FTP_PASSWORD");
}

TEST(ChargtTips, DownloadReplacesTheLocalCopyAndAddsItsTips) {
  FtpServer server({});
  ASSERT_TRUE(server.started());
  server.put("www/FicTips.txt", kRemote);
  Download d;
  write(d.folder + "/FicTips.txt", kOldCopy);
  d.run(serverAt(server));
  EXPECT_TRUE(d.boxes.shown.isEmpty()) << d.boxes.shown.join(" / ").toStdString();
  EXPECT_EQ(d.tips, (QStringList{"from the language file", "remote one", "remote two"}));
  EXPECT_EQ(readFile(d.folder + "/FicTips.txt").replace("\r\n", "\n"),
            QByteArray(kRemote).replace("\r\n", "\n"));
}

TEST(ChargtTips, RefusedDirectoryAnsweredYesClosesAndTheGetFailsToo) {
  FtpServer::Options o;
  o.mode = FtpServer::Mode::RefuseDir;
  FtpServer server(o);
  ASSERT_TRUE(server.started());
  server.put("www/FicTips.txt", kRemote);
  Download d;
  write(d.folder + "/FicTips.txt", kOldCopy);
  d.boxes.answers = {vb::vbOK, vb::vbYes, vb::vbNo};
  d.run(serverAt(server));
  EXPECT_EQ(d.boxes.shown, (QStringList{"rcd Extd Err: 550 550 Permission denied.",
                                        "rcd Err: 12003\r\nClose Connection and Session?",
                                        "FtpGetFile Err: 6\r\nClose Connection and Session?"}));
  // The copy of an earlier start is read instead.
  EXPECT_EQ(d.tips, (QStringList{"from the language file", "old one"}));
  EXPECT_EQ(readFile(d.folder + "/FicTips.txt"), kOldCopy);
}

TEST(ChargtTips, RefusedDirectoryAnsweredNoFetchesFromTheLoginDirectory) {
  FtpServer::Options o;
  o.mode = FtpServer::Mode::RefuseDir;
  FtpServer server(o);
  ASSERT_TRUE(server.started());
  server.put("www/FicTips.txt", kRemote);
  server.put("FicTips.txt", "top tip\r\nend\r\n");
  Download d;
  d.boxes.answers = {vb::vbOK, vb::vbNo};
  d.run(serverAt(server));
  EXPECT_EQ(d.boxes.shown.size(), 2);
  EXPECT_EQ(d.tips, (QStringList{"from the language file", "top tip"}));
}

TEST(ChargtTips, NoConnectionEndsSilentlyWithoutReadingTheLocalCopy) {
  const int closedPort = FtpServer::closedPort();
  ASSERT_GT(closedPort, 0);

  FtpServer::Options refuse;
  refuse.mode = FtpServer::Mode::RefuseLogin;
  FtpServer refusing(refuse);
  FtpServer::Options silent;
  silent.mode = FtpServer::Mode::Silent;
  FtpServer mute(silent);
  FtpServer normal({});
  ASSERT_TRUE(refusing.started() && mute.started() && normal.started());

  struct Case {
    const char* name;
    TipsServer server;
  };
  const Case cases[] = {
      {"login refused", serverAt(refusing)},
      {"wrong password", serverAt(normal, "wrong")},
      {"closed port", TipsServer{"127.0.0.1", closedPort, *CodeLigne("secret")}},
      {"server never answers", serverAt(mute)},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Download d;
    write(d.folder + "/FicTips.txt", kOldCopy);
    QElapsedTimer clock;
    clock.start();
    d.run(k.server);
    EXPECT_LT(clock.elapsed(), 4000);  // timeouts of 1 s + 2 s
    EXPECT_TRUE(d.boxes.shown.isEmpty());
    EXPECT_EQ(d.tips, QStringList{"from the language file"});
    EXPECT_EQ(readFile(d.folder + "/FicTips.txt"), kOldCopy);
  }
}

TEST(ChargtTips, TransferCutInTheMiddleKeepsTheOldCopy) {
  QByteArray big;
  for (int i = 0; i < 3000; ++i) big += "remote tip " + QByteArray::number(i) + "\r\n";
  FtpServer::Options o;
  o.mode = FtpServer::Mode::CutTransfer;
  o.cutAfter = 2000;
  FtpServer server(o);
  ASSERT_TRUE(server.started());
  server.put("www/FicTips.txt", big);
  Download d;
  write(d.folder + "/FicTips.txt", kOldCopy);
  d.boxes.answers = {vb::vbNo};
  d.run(serverAt(server));
  ASSERT_EQ(d.boxes.shown.size(), 1);
  EXPECT_TRUE(d.boxes.shown[0].startsWith("FtpGetFile Err: 12030")) << d.boxes.shown[0].toStdString();
  EXPECT_EQ(readFile(d.folder + "/FicTips.txt"), kOldCopy);
  EXPECT_EQ(d.tips, (QStringList{"from the language file", "old one"}));
  EXPECT_EQ(QDir(d.folder).entryList(QDir::Files | QDir::Hidden), QStringList{"FicTips.txt"});
}

TEST(ChargtTips, WithoutAServerTheLocalCopyIsRead) {
  Download d;
  d.run(std::nullopt);
  EXPECT_EQ(d.tips, QStringList{"from the language file"});  // no copy yet
  write(d.folder + "/FicTips.txt", kOldCopy);
  d.run(std::nullopt);
  EXPECT_TRUE(d.boxes.shown.isEmpty());
  EXPECT_EQ(d.tips, (QStringList{"from the language file", "old one"}));
}

TEST(ChargtTips, StartCallUsesTheDataFolderAndTheEnvironment) {
  FtpServer server({});
  ASSERT_TRUE(server.started());
  server.put("www/FicTips.txt", kRemote);
  qputenv("VELISTROM_TIPS_FTP", server.url().toUtf8());
  qputenv("VELISTROM_TIPS_FTP_PASSWORD", CodeLigne("secret")->toHex());
  ASSERT_TRUE(PrepDossiers());
  EXPECT_EQ(gDossAppli, testenv::dataHome() + "/Velistrom");
  gTips = QStringList{"language tip"};
  ChargtTips();
  qunsetenv("VELISTROM_TIPS_FTP");
  qunsetenv("VELISTROM_TIPS_FTP_PASSWORD");
  EXPECT_EQ(gTips, (QStringList{"language tip", "remote one", "remote two"}));
  EXPECT_TRUE(QFile::exists(gDossAppli + "/FicTips.txt"));
  gTips.clear();
}

TEST(ChargtTips, StartCallReportsThroughTheMessageBoxes) {
  FtpServer::Options o;
  o.mode = FtpServer::Mode::RefuseDir;
  FtpServer server(o);
  ASSERT_TRUE(server.started());
  qputenv("VELISTROM_TIPS_FTP", server.url().toUtf8());
  qputenv("VELISTROM_TIPS_FTP_PASSWORD", CodeLigne("secret")->toHex());
  ASSERT_TRUE(PrepDossiers());
  gTips.clear();
  testenv::dialogs().expectMsgBox("rcd Extd Err: 550", vb::vbOK);
  testenv::dialogs().expectMsgBox("rcd Err: 12003", vb::vbYes);
  testenv::dialogs().expectMsgBox("FtpGetFile Err: 6", vb::vbNo);
  ChargtTips();
  qunsetenv("VELISTROM_TIPS_FTP");
  qunsetenv("VELISTROM_TIPS_FTP_PASSWORD");
  testenv::dialogs().verify();
  const auto& shown = testenv::dialogs().shown();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[1].buttons, vb::vbYesNo);
  EXPECT_TRUE(gTips.isEmpty());
}

TEST(PlacerSplash, CentredOrRightAlignedAtTheTop) {
  struct Case {
    int screenW, screenH, w, h;
    int left;
  };
  const Case cases[] = {
      {28800, 16200, 16035, 1995, (28800 - 16035) / 2},
      {12000, 9000, 16035, 1995, 12000 - 16035},  // narrower screen: right edges meet
      {28800, 1500, 16035, 1995, 28800 - 16035},  // lower screen counts too
  };
  for (const Case& k : cases) {
    const SplashLayout l = PlacerSplash(k.screenW, k.screenH, k.w, k.h, 0, 180);
    EXPECT_EQ(l.left, k.left);
    EXPECT_EQ(l.top, 0);
    EXPECT_EQ(l.frameWidth, k.w - 200);
    EXPECT_EQ(l.frameHeight, k.h - 200);
    EXPECT_EQ(l.authorTop, k.h - 200 - 180 - 100);
  }
}
