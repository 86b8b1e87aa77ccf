#include "platform/Shell.h"

#include "platform/Log.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <cerrno>
#include <csignal>
#include <mutex>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace platform {
namespace {

// Children whose handle went while they still ran: reaped later so that they
// do not linger as zombies.
std::mutex g_orphansMutex;
std::vector<pid_t> g_orphans;

void reapOrphans() {
  std::lock_guard lock(g_orphansMutex);
  std::erase_if(g_orphans, [](pid_t pid) {
    const pid_t r = waitpid(pid, nullptr, WNOHANG);
    return r == pid || (r < 0 && errno == ECHILD);
  });
}

}  // namespace

bool openAddress(const QString& url) {
  const QUrl u(url, QUrl::StrictMode);
  if (!u.isValid() || u.host().isEmpty()) return false;
  if (u.scheme() != u"http" && u.scheme() != u"https") return false;
  const bool started = QProcess::startDetached(QStringLiteral("xdg-open"), {u.toString(QUrl::FullyEncoded)});
  if (!started) qCInfo(lcPlatform) << "xdg-open could not be started for" << u.toString();
  return started;
}

ChildProgram::~ChildProgram() {
  if (ended_) return;
  reap(false);
  if (!ended_) {
    std::lock_guard lock(g_orphansMutex);
    g_orphans.push_back(pid_);
  }
}

void ChildProgram::reap(bool block) {
  if (ended_) return;
  int status = 0;
  pid_t r;
  do {
    r = waitpid(pid_, &status, block ? 0 : WNOHANG);
  } while (r < 0 && errno == EINTR);
  if (r == pid_) {
    ended_ = true;
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  } else if (r < 0) {
    ended_ = true;  // no longer ours to wait for
  }
}

bool ChildProgram::isRunning() {
  reap(false);
  return !ended_;
}

bool ChildProgram::terminate() {
  reap(false);
  if (ended_) return false;
  // Not yet reaped: the id still names our child, even if it has just exited.
  return ::kill(pid_, SIGTERM) == 0;
}

bool ChildProgram::waitForFinished(int msecs) {
  for (int waited = 0;; waited += 10) {
    reap(false);
    if (ended_ || waited >= msecs) return ended_;
    struct timespec ts {0, 10 * 1000 * 1000};
    nanosleep(&ts, nullptr);
  }
}

std::unique_ptr<ChildProgram> startProgram(const QString& path, const QStringList& args) {
  reapOrphans();
  if (path.isEmpty()) return nullptr;
  std::vector<QByteArray> bytes;
  bytes.push_back(QFile::encodeName(path));
  for (const QString& a : args) bytes.push_back(QFile::encodeName(a));
  std::vector<char*> argv;
  for (QByteArray& b : bytes) argv.push_back(b.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return nullptr;
  return std::make_unique<ChildProgram>(pid);
}

QString findProgram(const QString& nameOrPath) {
  if (nameOrPath.isEmpty()) return QString();
  if (!nameOrPath.contains(u'/')) return QStandardPaths::findExecutable(nameOrPath);
  const QFileInfo fi(nameOrPath);
  return fi.isFile() && fi.isExecutable() ? fi.absoluteFilePath() : QString();
}

QString desktopPaintProgram() {
  for (const char* name : {"pinta", "kolourpaint", "mtpaint", "gimp"}) {
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (!path.isEmpty()) return path;
  }
  return QString();
}

}  // namespace platform
