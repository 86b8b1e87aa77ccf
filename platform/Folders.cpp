#include "platform/Folders.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

QString xdgBase(const char* variable, const QString& homeRelativeFallback) {
  const QString value = qEnvironmentVariable(variable);
  if (value.startsWith(u'/')) return QDir::cleanPath(value);
  return QDir::homePath() + "/" + homeRelativeFallback;
}

QString appDataFolder() { return xdgBase("XDG_DATA_HOME", ".local/share"); }

QString documentsFolder() {
  // A fresh account may not have its documents folder yet: it is made, as
  // the desktop's user-dirs set-up would, and the home serves when it cannot be.
  const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return !docs.isEmpty() && QDir().mkpath(docs) ? docs : QDir::homePath();
}

QString velistromDataFolder() {
  const QString dir = appDataFolder() + "/Velistrom";
  return makePrivateFolder(dir) ? dir : QString();
}

bool inPrivateFolder(const QString& path) {
  const QString root = QDir::cleanPath(appDataFolder() + "/Velistrom");
  const QString p = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  return p == root || p.startsWith(root + "/");
}

bool makePrivateFolder(const QString& dir) {
  const QString clean = QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
  if (clean.isEmpty()) return false;
  // Each missing part is made 0700 (the XDG rule for base folders too).
  const QStringList parts = clean.split(u'/', Qt::SkipEmptyParts);
  QString path;
  for (const QString& part : parts) {
    path += "/" + part;
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) return false;
  }
  if (!QFileInfo(clean).isDir()) return false;
  if (inPrivateFolder(clean)) ::chmod(QFile::encodeName(clean).constData(), 0700);
  return true;
}

void keepPrivate(QFileDevice& file, const QString& path) {
  if (inPrivateFolder(path)) file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes, QString* reason) {
  auto fail = [&](const QString& why) -> std::optional<QByteArray> {
    if (reason) *reason = "\"" + path + "\": " + why;
    return std::nullopt;
  };
  auto systemReason = [] { return QString::fromLocal8Bit(std::strerror(errno)); };
  // Opened without waiting (a FIFO would wait for a writer), then looked at.
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return fail(systemReason());
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) return fail(systemReason());
  if (!S_ISREG(st.st_mode)) return fail(QStringLiteral("not a regular file"));
  const QString tooLarge = maxBytes % (1 << 20) == 0 ? QString("larger than %1 MB").arg(maxBytes >> 20)
                                                      : QString("larger than %1 bytes").arg(maxBytes);
  if (st.st_size > maxBytes) return fail(tooLarge);
  QByteArray bytes;
  char buffer[16384];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return fail(systemReason());
    if (n == 0) break;
    if (bytes.size() + n > maxBytes) return fail(tooLarge);
    bytes.append(buffer, n);
  }
  return bytes;
}

}  // namespace platform
