#pragma once
// Opening web addresses and starting programs, never through a shell.
#include <QString>
#include <QStringList>

#include <memory>
#include <sys/types.h>

namespace platform {

// Hands an http or https address to the desktop's default handler (xdg-open).
// False when the address is refused or the handler cannot be started.
bool openAddress(const QString& url);

// A program we started. It is not ended when the handle goes: only terminate()
// ends it, and only while it is still our unreaped child, so a process id that
// has been reused is never touched.
class ChildProgram {
 public:
  explicit ChildProgram(pid_t pid) : pid_(pid) {}
  ~ChildProgram();
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  pid_t pid() const { return pid_; }
  bool isRunning();
  // Asks the program to end (SIGTERM); false when it has already ended.
  bool terminate();
  // Waits up to msecs for the end; true when it has ended.
  bool waitForFinished(int msecs);
  // Exit status once ended (-1 while running or when ended by a signal).
  int exitCode() const { return exitCode_; }

 private:
  void reap(bool block);
  pid_t pid_;
  bool ended_ = false;
  int exitCode_ = -1;
};

// Starts path (searched on PATH when it has no "/") with the argument list.
// nullptr when it cannot be started.
std::unique_ptr<ChildProgram> startProgram(const QString& path, const QStringList& args);

// The full path of an executable program: a name is looked up on PATH, a path
// is taken as it is. Empty when there is no such executable.
QString findProgram(const QString& nameOrPath);

// The desktop's paint program: the first of pinta, kolourpaint, mtpaint and
// gimp found on PATH, as a full path. Empty when none is installed.
QString desktopPaintProgram();

}  // namespace platform
