#include "tests/support/FtpServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testenv {

FtpServer::FtpServer(Options o) {
  QStringList args{QString(VELISTROM_SUPPORT_DIR) + "/ftp_server.py", "--user", o.user,
                   "--password", QString::fromLatin1(o.password), "--root", root_.path()};
  switch (o.mode) {
    case Mode::Normal: break;
    case Mode::RefuseDir: args << "--refuse-dir" << o.refusedDir; break;
    case Mode::RefuseLogin: args << "--refuse-login"; break;
    case Mode::CutTransfer: args << "--cut-after" << QString::number(o.cutAfter); break;
    case Mode::Silent: args << "--silent"; break;
  }
  // Debian's own interpreter: pyftpdlib is a Debian package.
  process_.setProcessChannelMode(QProcess::SeparateChannels);
  process_.start("/usr/bin/python3", args);
  if (!process_.waitForStarted(5000)) return;
  QDeadlineTimer deadline(10000);
  QByteArray line;
  while (!deadline.hasExpired() && !line.endsWith('\n')) {
    if (!process_.waitForReadyRead(int(deadline.remainingTime()))) break;
    line += process_.readLine();
  }
  if (line.startsWith("PORT ")) port_ = line.mid(5).trimmed().toInt();
}

FtpServer::~FtpServer() {
  if (process_.state() != QProcess::NotRunning) {
    process_.terminate();
    if (!process_.waitForFinished(3000)) {
      process_.kill();
      process_.waitForFinished(3000);
    }
  }
}

void FtpServer::put(const QString& relativePath, const QByteArray& bytes) const {
  const QString path = root_.path() + "/" + relativePath;
  QDir().mkpath(QFileInfo(path).path());
  QFile f(path);
  if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

int FtpServer::closedPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return 0;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  int port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
    port = ntohs(addr.sin_port);
  ::close(fd);
  return port;
}

}  // namespace testenv
