#pragma once
// Download of one file by FTP, in the steps of the old Internet API: open a
// session, connect (log in), change directory, get the file, close. Every step
// reports success and leaves the old API's error number and the server's last
// reply for the error report. A step on a closed session or connection fails
// with kErrInvalidHandle and touches nothing. Each step runs on a control
// connection of its own (log in, walk to the current directory, act), bounded by
// the timeouts; passive mode.
#include <QByteArray>
#include <QString>

#include <chrono>
#include <memory>

namespace platform {

// Error numbers of the old Internet API (and two system ones) that callers tell
// apart; lastError() gives one of these.
enum FtpError : long {
  kFtpOk = 0,
  kErrAccessDenied = 5,       // the local file cannot be written
  kErrInvalidHandle = 6,      // the session or the connection is closed
  kErrFileTooLarge = 223,     // the file is larger than the size cap
  kErrOutOfHandles = 12001,   // no session could be opened
  kErrTimeout = 12002,        // connect or transfer timed out
  kErrExtended = 12003,       // the server refused: see lastResponse()
  kErrInternal = 12004,
  kErrBadScheme = 12006,
  kErrNameNotResolved = 12007,
  kErrLoginFailure = 12015,
  kErrCannotConnect = 12029,
  kErrConnectionAborted = 12030,
};

struct FtpTimeouts {
  std::chrono::milliseconds connect{5000};   // TCP connect and the login
  std::chrono::milliseconds transfer{10000};  // any one step once connected
};

// The server's last reply: its code and its text as received.
struct FtpResponse {
  int code = 0;
  QString text;
};

class FtpClient {
 public:
  FtpClient();
  ~FtpClient();
  FtpClient(const FtpClient&) = delete;
  FtpClient& operator=(const FtpClient&) = delete;

  void setTimeouts(FtpTimeouts t) { timeouts_ = t; }
  FtpTimeouts timeouts() const { return timeouts_; }

  // Opens the session.
  bool open();
  bool isOpen() const;
  // Connects to host:port (port 0 = 21) and logs in; passive mode.
  bool connect(const QString& host, int port, const QString& user, const QByteArray& password);
  bool isConnected() const { return connected_; }
  // Enters `dir` (relative to the current directory).
  bool setCurrentDirectory(const QString& dir);
  // Fetches `remote` from the current directory into `localPath`, in ASCII
  // mode. The file is written to a temporary file beside localPath and renamed
  // over it only once complete and no larger than maxBytes, so a failed or cut
  // transfer leaves the old local copy as it was.
  bool getFile(const QString& remote, const QString& localPath, qint64 maxBytes);
  void closeConnection();
  void closeSession();

  long lastError() const { return lastError_; }
  FtpResponse lastResponse() const;

 private:
  struct Curl;
  bool perform(const QString& path, bool noBody);
  QString urlFor(const QString& path) const;
  void fail(long error);

  std::unique_ptr<Curl> curl_;
  FtpTimeouts timeouts_;
  bool connected_ = false;
  QString host_, user_;
  QByteArray password_;
  int port_ = 21;
  QString cwd_;  // relative to the login directory, without a trailing "/"
  long lastError_ = kFtpOk;
};

// The old API's number for a libcurl result (one table for every step).
long ftpErrorFromCurl(int curlCode);

}  // namespace platform
