#pragma once
// While alive: the folder is read-only, also for root (the capabilities that
// let root write anywhere are dropped from this thread's effective set).
#include <QByteArray>
#include <QString>

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace testsupport {

class ReadOnlyFolder {
 public:
  explicit ReadOnlyFolder(const QString& dir) : dir_(dir.toLocal8Bit()) {
    ::chmod(dir_.constData(), 0555);
    hdr_ = {_LINUX_CAPABILITY_VERSION_3, 0};
    if (syscall(SYS_capget, &hdr_, saved_) != 0) return;
    __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
    lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
    dropped_ = syscall(SYS_capset, &hdr_, lowered) == 0;
  }
  ~ReadOnlyFolder() {
    if (dropped_) syscall(SYS_capset, &hdr_, saved_);
    ::chmod(dir_.constData(), 0755);
  }
  ReadOnlyFolder(const ReadOnlyFolder&) = delete;
  ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

 private:
  QByteArray dir_;
  __user_cap_header_struct hdr_{};
  __user_cap_data_struct saved_[2]{};
  bool dropped_ = false;
};

}  // namespace testsupport
