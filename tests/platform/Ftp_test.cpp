#include "platform/Ftp.h"

#include "tests/support/FtpServer.h"
#include "tests/support/TestEnv.h"
#include "tests/support/Files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using platform::FtpClient;
using testenv::FtpServer;
using namespace std::chrono_literals;

namespace {

using testsupport::readFile;

void write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QStringList filesIn(const QString& dir) { return QDir(dir).entryList(QDir::Files | QDir::Hidden); }

FtpServer::Options serverWith(FtpServer::Mode mode, qint64 cutAfter = 0) {
  FtpServer::Options o;
  o.mode = mode;
  o.cutAfter = cutAfter;
  return o;
}

// A client connected to `server` as the test account, timeouts short.
bool connectTo(FtpClient& c, const FtpServer& server, const QByteArray& password = "secret") {
  c.setTimeouts({1500ms, 3000ms});
  return c.open() && c.connect("127.0.0.1", server.port(), "velistro", password);
}

}  // namespace

TEST(Ftp, DownloadReplacesTheLocalCopyInAsciiMode) {
  FtpServer server(serverWith(FtpServer::Mode::Normal));
  ASSERT_TRUE(server.started());
  server.put("www/FicTips.txt", "first tip\r\nsecond tip\r\n\r\n");
  const QString local = testenv::home() + "/FicTips.txt";
  write(local, "old copy\r\n");

  FtpClient c;
  ASSERT_TRUE(connectTo(c, server));
  ASSERT_TRUE(c.setCurrentDirectory("www"));
  ASSERT_TRUE(c.getFile("FicTips.txt", local, 1 << 20)) << c.lastError();
  EXPECT_EQ(c.lastError(), platform::kFtpOk);
  // Text mode: the lines arrive whole, whatever line end the transfer used.
  const QByteArray got = readFile(local);
  EXPECT_EQ(QByteArray(got).replace("\r\n", "\n"), "first tip\nsecond tip\n\n");
  EXPECT_EQ(filesIn(testenv::home()), QStringList{"FicTips.txt"});
}

TEST(Ftp, RefusedDirectoryIsAnExtendedErrorWithTheServersReply) {
  FtpServer server(serverWith(FtpServer::Mode::RefuseDir));
  ASSERT_TRUE(server.started());
  server.put("www/FicTips.txt", "x\r\n");
  server.put("FicTips.txt", "top\r\n");
  FtpClient c;
  ASSERT_TRUE(connectTo(c, server));
  EXPECT_FALSE(c.setCurrentDirectory("www"));
  EXPECT_EQ(c.lastError(), platform::kErrExtended);
  EXPECT_EQ(c.lastResponse().code, 550);
  EXPECT_EQ(c.lastResponse().text, "550 Permission denied.");
  // The connection stays usable in the directory it was in.
  const QString local = testenv::home() + "/t.txt";
  ASSERT_TRUE(c.getFile("FicTips.txt", local, 1000));
  EXPECT_EQ(QByteArray(readFile(local)).replace("\r\n", "\n"), "top\n");
}

TEST(Ftp, ConnectFailures) {
  struct Case {
    const char* name;
    FtpServer::Mode mode;
    QByteArray password;
    long error;
  };
  const Case cases[] = {
      {"login refused", FtpServer::Mode::RefuseLogin, "secret", platform::kErrLoginFailure},
      {"wrong password", FtpServer::Mode::Normal, "wrong", platform::kErrLoginFailure},
      {"never answers", FtpServer::Mode::Silent, "secret", platform::kErrTimeout},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    FtpServer server(serverWith(k.mode));
    ASSERT_TRUE(server.started());
    FtpClient c;
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(connectTo(c, server, k.password));
    EXPECT_EQ(c.lastError(), k.error);
    EXPECT_FALSE(c.isConnected());
    // Bounded by the connect and transfer timeouts (1.5 s + 3 s).
    EXPECT_LT(clock.elapsed(), 6000);
  }
}

TEST(Ftp, ClosedPortCannotConnect) {
  const int port = FtpServer::closedPort();
  ASSERT_GT(port, 0);
  FtpClient c;
  c.setTimeouts({1500ms, 3000ms});
  ASSERT_TRUE(c.open());
  EXPECT_FALSE(c.connect("127.0.0.1", port, "velistro", "secret"));
  EXPECT_EQ(c.lastError(), platform::kErrCannotConnect);
}

TEST(Ftp, FailedDownloadLeavesTheOldCopyAndNoTemporaryFile) {
  QByteArray big;
  for (int i = 0; i < 4000; ++i) big += "tip number " + QByteArray::number(i) + "\r\n";
  struct Case {
    const char* name;
    FtpServer::Mode mode;
    qint64 cutAfter;
    const char* remote;
    qint64 cap;
    long error;
  };
  const Case cases[] = {
      {"cut in the middle", FtpServer::Mode::CutTransfer, 1000, "FicTips.txt", 1 << 20,
       platform::kErrConnectionAborted},
      {"larger than the cap", FtpServer::Mode::Normal, 0, "FicTips.txt", 5000,
       platform::kErrFileTooLarge},
      {"missing on the server", FtpServer::Mode::Normal, 0, "Nothing.txt", 1 << 20,
       platform::kErrExtended},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    FtpServer server(serverWith(k.mode, k.cutAfter));
    ASSERT_TRUE(server.started());
    server.put("FicTips.txt", big);
    const QString dir = testenv::home() + "/" + k.name;
    QDir().mkpath(dir);
    write(dir + "/FicTips.txt", "old copy\r\n");
    FtpClient c;
    ASSERT_TRUE(connectTo(c, server));
    EXPECT_FALSE(c.getFile(k.remote, dir + "/FicTips.txt", k.cap));
    EXPECT_EQ(c.lastError(), k.error);
    EXPECT_EQ(readFile(dir + "/FicTips.txt"), "old copy\r\n");
    EXPECT_EQ(filesIn(dir), QStringList{"FicTips.txt"});
  }
}

TEST(Ftp, LocalDiskTakingOnlyPartOfTheFileKeepsTheOldCopy) {
  FtpServer server(serverWith(FtpServer::Mode::Normal));
  ASSERT_TRUE(server.started());
  server.put("FicTips.txt", QByteArray(50000, 'x'));
  const QString local = testenv::home() + "/FicTips.txt";
  write(local, "old copy\r\n");
  FtpClient c;
  ASSERT_TRUE(connectTo(c, server));
  // Any file grows to 4000 bytes at most; writes past that fail.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool ok = c.getFile("FicTips.txt", local, 1 << 20);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(ok);
  EXPECT_EQ(c.lastError(), platform::kErrAccessDenied);
  EXPECT_EQ(readFile(local), "old copy\r\n");
  EXPECT_EQ(filesIn(testenv::home()), QStringList{"FicTips.txt"});
}

TEST(Ftp, StepsOnClosedHandlesFailWithoutTouchingThem) {
  FtpServer server(serverWith(FtpServer::Mode::Normal));
  ASSERT_TRUE(server.started());
  server.put("www/FicTips.txt", "a\r\n");
  const QString local = testenv::home() + "/FicTips.txt";

  FtpClient c;
  EXPECT_FALSE(c.connect("127.0.0.1", server.port(), "velistro", "secret"));
  EXPECT_EQ(c.lastError(), platform::kErrInvalidHandle);

  ASSERT_TRUE(connectTo(c, server));
  c.closeConnection();
  EXPECT_TRUE(c.isOpen());
  EXPECT_FALSE(c.setCurrentDirectory("www"));
  EXPECT_EQ(c.lastError(), platform::kErrInvalidHandle);
  EXPECT_FALSE(c.getFile("www/FicTips.txt", local, 100));
  EXPECT_EQ(c.lastError(), platform::kErrInvalidHandle);

  ASSERT_TRUE(c.connect("127.0.0.1", server.port(), "velistro", "secret"));
  c.closeSession();
  c.closeConnection();  // twice closed is harmless
  EXPECT_FALSE(c.getFile("www/FicTips.txt", local, 100));
  EXPECT_EQ(c.lastError(), platform::kErrInvalidHandle);
  EXPECT_FALSE(QFile::exists(local));
}
