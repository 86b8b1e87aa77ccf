#include "platform/Ftp.h"

#include "platform/Folders.h"

#include <QSaveFile>
#include <QUrl>

#include <curl/curl.h>

#include <mutex>

namespace platform {

long ftpErrorFromCurl(int curlCode) {
  struct Row {
    CURLcode curl;
    long error;
  };
  // Server refusals carry a reply text (the extended error); the rest are
  // failures of the network or of our side.
  static const Row table[] = {
      {CURLE_OK, kFtpOk},
      {CURLE_FAILED_INIT, kErrOutOfHandles},
      {CURLE_OUT_OF_MEMORY, kErrOutOfHandles},
      {CURLE_UNSUPPORTED_PROTOCOL, kErrBadScheme},
      {CURLE_URL_MALFORMAT, kErrBadScheme},
      {CURLE_COULDNT_RESOLVE_HOST, kErrNameNotResolved},
      {CURLE_COULDNT_CONNECT, kErrCannotConnect},
      {CURLE_OPERATION_TIMEDOUT, kErrTimeout},
      {CURLE_FTP_ACCEPT_TIMEOUT, kErrTimeout},
      {CURLE_LOGIN_DENIED, kErrLoginFailure},
      {CURLE_REMOTE_ACCESS_DENIED, kErrExtended},
      {CURLE_REMOTE_FILE_NOT_FOUND, kErrExtended},
      {CURLE_FTP_COULDNT_RETR_FILE, kErrExtended},
      {CURLE_FTP_COULDNT_SET_TYPE, kErrExtended},
      {CURLE_FTP_WEIRD_SERVER_REPLY, kErrExtended},
      {CURLE_FTP_WEIRD_PASV_REPLY, kErrExtended},
      {CURLE_FTP_WEIRD_227_FORMAT, kErrExtended},
      {CURLE_FTP_ACCEPT_FAILED, kErrExtended},
      {CURLE_FTP_PORT_FAILED, kErrExtended},
      {CURLE_QUOTE_ERROR, kErrExtended},
      {CURLE_PARTIAL_FILE, kErrConnectionAborted},
      {CURLE_GOT_NOTHING, kErrConnectionAborted},
      {CURLE_RECV_ERROR, kErrConnectionAborted},
      {CURLE_SEND_ERROR, kErrConnectionAborted},
      {CURLE_FTP_CANT_GET_HOST, kErrCannotConnect},
      {CURLE_FILESIZE_EXCEEDED, kErrFileTooLarge},
      {CURLE_WRITE_ERROR, kErrAccessDenied},
  };
  for (const Row& r : table)
    if (r.curl == curlCode) return r.error;
  return kErrInternal;
}

namespace {

void globalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

long seconds(std::chrono::milliseconds ms) { return long((ms.count() + 999) / 1000); }

}  // namespace

struct FtpClient::Curl {
  CURL* easy = nullptr;
  // Reply lines of the reply being read, and the last complete reply.
  QString pending;
  FtpResponse last;
  // Download target of the running transfer.
  QSaveFile* out = nullptr;
  qint64 written = 0;
  qint64 cap = 0;
  bool overCap = false;
  bool writeFailed = false;
  bool quitting = false;

  ~Curl() {
    if (easy) curl_easy_cleanup(easy);
  }

  static int onDebug(CURL*, curl_infotype type, char* data, size_t size, void* self) {
    auto* c = static_cast<Curl*>(self);
    // The goodbye of the closing connection is not the reply a step failed on.
    if (type == CURLINFO_HEADER_OUT && size >= 4 && qstrncmp(data, "QUIT", 4) == 0)
      c->quitting = true;
    if (type != CURLINFO_HEADER_IN || c->quitting) return 0;
    const QString line = QString::fromLatin1(data, qsizetype(size));
    c->pending += line;
    // The last line of a reply is its code followed by a blank.
    if (line.size() >= 4 && line[0].isDigit() && line[1].isDigit() && line[2].isDigit() &&
        line[3] == u' ') {
      c->last.code = line.left(3).toInt();
      c->last.text = c->pending;
      while (c->last.text.endsWith(u'\n') || c->last.text.endsWith(u'\r')) c->last.text.chop(1);
      c->pending.clear();
    }
    return 0;
  }

  static size_t onWrite(char* data, size_t size, size_t count, void* self) {
    auto* c = static_cast<Curl*>(self);
    const qint64 n = qint64(size * count);
    if (!c->out) return 0;
    if (c->written + n > c->cap) {
      c->overCap = true;
      return 0;
    }
    if (c->out->write(data, n) != n) {
      c->writeFailed = true;
      return 0;
    }
    c->written += n;
    return size_t(n);
  }
};

FtpClient::FtpClient() = default;

FtpClient::~FtpClient() { closeSession(); }

bool FtpClient::open() {
  globalInit();
  closeSession();
  curl_ = std::make_unique<Curl>();
  curl_->easy = curl_easy_init();
  if (!curl_->easy) {
    curl_.reset();
    fail(kErrOutOfHandles);
    return false;
  }
  lastError_ = kFtpOk;
  return true;
}

bool FtpClient::isOpen() const { return curl_ != nullptr; }

void FtpClient::fail(long error) { lastError_ = error; }

FtpResponse FtpClient::lastResponse() const { return curl_ ? curl_->last : FtpResponse{}; }

QString FtpClient::urlFor(const QString& path) const {
  const QString host = host_.contains(u':') ? "[" + host_ + "]" : host_;
  QString url = "ftp://" + host + ":" + QString::number(port_) + "/";
  const QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
  for (qsizetype i = 0; i < parts.size(); ++i) {
    if (i) url += u'/';
    url += QString::fromLatin1(QUrl::toPercentEncoding(parts[i]));
  }
  if (path.endsWith(u'/') && !parts.isEmpty()) url += u'/';
  return url;
}

bool FtpClient::perform(const QString& path, bool noBody) {
  CURL* e = curl_->easy;
  curl_easy_reset(e);
  const QByteArray url = urlFor(path).toUtf8();
  const QByteArray user = user_.toUtf8();
  curl_easy_setopt(e, CURLOPT_URL, url.constData());
  curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "ftp");
  curl_easy_setopt(e, CURLOPT_USERNAME, user.constData());
  curl_easy_setopt(e, CURLOPT_PASSWORD, password_.constData());
  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(e, CURLOPT_NOPROXY, "*");
  curl_easy_setopt(e, CURLOPT_FTP_USE_EPSV, 1L);  // passive; no FTPPORT set
  // Each step logs in on a connection of its own and walks the whole path, so
  // its timeouts count from its own start (libcurl times the data connection
  // of a reused control connection from an older start).
  curl_easy_setopt(e, CURLOPT_FRESH_CONNECT, 1L);
  curl_easy_setopt(e, CURLOPT_FORBID_REUSE, 1L);
  curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, long(timeouts_.connect.count()));
  curl_easy_setopt(e, CURLOPT_SERVER_RESPONSE_TIMEOUT, seconds(timeouts_.transfer));
  curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, long((timeouts_.connect + timeouts_.transfer).count()));
  // A transfer that stalls for the transfer time is given up as well.
  curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, seconds(timeouts_.transfer));
  curl_easy_setopt(e, CURLOPT_VERBOSE, 1L);
  curl_easy_setopt(e, CURLOPT_DEBUGFUNCTION, &Curl::onDebug);
  curl_easy_setopt(e, CURLOPT_DEBUGDATA, curl_.get());
  curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &Curl::onWrite);
  curl_easy_setopt(e, CURLOPT_WRITEDATA, curl_.get());
  if (noBody) {
    curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
  } else {
    curl_easy_setopt(e, CURLOPT_TRANSFERTEXT, 1L);
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(curl_->cap));
  }
  curl_->pending.clear();
  curl_->quitting = false;
  const CURLcode rc = curl_easy_perform(e);
  if (rc == CURLE_OK) {
    lastError_ = kFtpOk;
    return true;
  }
  if (curl_->overCap) fail(kErrFileTooLarge);
  else if (curl_->writeFailed) fail(kErrAccessDenied);
  else fail(ftpErrorFromCurl(rc));
  return false;
}

bool FtpClient::connect(const QString& host, int port, const QString& user,
                        const QByteArray& password) {
  if (!curl_) {
    fail(kErrInvalidHandle);
    return false;
  }
  connected_ = false;
  host_ = host;
  port_ = port > 0 ? port : 21;
  user_ = user;
  password_ = password;
  cwd_.clear();
  // A request of the login directory without a listing: connects and logs in.
  if (!perform("/", true)) return false;
  connected_ = true;
  return true;
}

bool FtpClient::setCurrentDirectory(const QString& dir) {
  if (!curl_ || !connected_) {
    fail(kErrInvalidHandle);
    return false;
  }
  const QString target = cwd_.isEmpty() ? dir : cwd_ + "/" + dir;
  if (!perform(target + "/", true)) return false;
  cwd_ = target;
  return true;
}

bool FtpClient::getFile(const QString& remote, const QString& localPath, qint64 maxBytes) {
  if (!curl_ || !connected_) {
    fail(kErrInvalidHandle);
    return false;
  }
  QSaveFile out(localPath);
  // Unbuffered, so that a write the disk takes only in part is seen at once (a
  // buffered save file would commit the cut file).
  if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    fail(kErrAccessDenied);
    return false;
  }
  keepPrivate(out, localPath);
  curl_->out = &out;
  curl_->written = 0;
  curl_->cap = maxBytes;
  curl_->overCap = false;
  curl_->writeFailed = false;
  const QString path = cwd_.isEmpty() ? remote : cwd_ + "/" + remote;
  const bool ok = perform(path, false);
  curl_->out = nullptr;
  if (!ok) {
    out.cancelWriting();
    return false;
  }
  if (out.size() != curl_->written || !out.commit()) {
    out.cancelWriting();
    fail(kErrAccessDenied);
    return false;
  }
  return true;
}

void FtpClient::closeConnection() {
  if (!connected_) return;
  connected_ = false;
  cwd_.clear();
}

void FtpClient::closeSession() {
  connected_ = false;
  cwd_.clear();
  password_.fill('\0');
  password_.clear();
  curl_.reset();
}

}  // namespace platform
