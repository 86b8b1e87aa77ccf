#pragma once
// A real FTP server on 127.0.0.1 for the download tests: tests/support/ftp_server.py
// run by Debian's Python (pyftpdlib), on a free port, with one account and a
// served folder. Modes make it misbehave the ways a real server does.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace testenv {

class FtpServer {
 public:
  enum class Mode {
    Normal,
    RefuseDir,    // CWD into refusedDir is refused with 550
    RefuseLogin,  // every login is refused with 530
    CutTransfer,  // RETR drops the data connection after cutAfter bytes
    Silent,       // accepts connections and never answers
  };
  struct Options {
    Mode mode = Mode::Normal;
    QString user = "velistro";
    QByteArray password = "secret";
    QString refusedDir = "www";
    qint64 cutAfter = 0;
  };

  explicit FtpServer(Options options);
  ~FtpServer();
  FtpServer(const FtpServer&) = delete;
  FtpServer& operator=(const FtpServer&) = delete;

  // True once the server listens (port() is then its port).
  bool started() const { return port_ > 0; }
  int port() const { return port_; }
  QString url() const { return "ftp://127.0.0.1:" + QString::number(port_); }
  // The folder the account sees as its login directory.
  QString root() const { return root_.path(); }
  // Writes a file below root() (creating folders on the way).
  void put(const QString& relativePath, const QByteArray& bytes) const;

  // A port of 127.0.0.1 that nothing listens on (it was free a moment ago).
  static int closedPort();

 private:
  QTemporaryDir root_;
  QProcess process_;
  int port_ = 0;
};

}  // namespace testenv
