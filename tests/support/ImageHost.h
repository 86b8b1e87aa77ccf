#pragma once
// The test image host (image_host.py) as a fixture: a real XML-RPC server on
// 127.0.0.1 answering from one scenario and recording every request.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testenv {

class ImageHost {
 public:
  // scenario: see image_host.py; id: what "success" returns (default there).
  explicit ImageHost(const QString& scenario = QStringLiteral("success"), const QString& id = {}) {
    QStringList args{QStringLiteral(VELISTROM_SUPPORT_DIR "/image_host.py"), "--record", recordPath(),
                     "--scenario", scenario};
    if (!id.isEmpty()) args << "--id" << id;
    proc_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    proc_.start(QStringLiteral("/usr/bin/python3"), args);
    if (!proc_.waitForStarted(5000)) return;
    QByteArray line;
    while (!line.contains('\n') && proc_.waitForReadyRead(10000)) line += proc_.readAllStandardOutput();
    port_ = line.trimmed().toInt();
  }
  ~ImageHost() { stop(); }
  ImageHost(const ImageHost&) = delete;
  ImageHost& operator=(const ImageHost&) = delete;

  bool started() const { return port_ > 0; }
  int port() const { return port_; }
  QString address() const { return QStringLiteral("http://127.0.0.1:%1").arg(port_); }

  // Every request so far, oldest first (see image_host.py for the fields).
  QJsonArray requests() const {
    QFile f(recordPath());
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QJsonDocument::fromJson(f.readAll()).array();
  }

  void stop() {
    if (proc_.state() == QProcess::NotRunning) return;
    proc_.kill();
    proc_.waitForFinished(5000);
  }

 private:
  QString recordPath() const { return dir_.filePath(QStringLiteral("requests.json")); }
  QTemporaryDir dir_;
  QProcess proc_;
  int port_ = 0;
};

// A loopback port on which nothing listens (taken free, then released).
inline int freeLoopbackPort() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = 0;
  socklen_t len = sizeof a;
  int port = 0;
  if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) == 0)
    port = ntohs(a.sin_port);
  ::close(s);
  return port;
}

}  // namespace testenv
