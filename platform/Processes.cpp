#include "platform/Processes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace platform {

QString programBaseName(const QString& nameOrPath) {
  QString name = nameOrPath.trimmed();
  // A process whose executable was replaced or deleted shows " (deleted)".
  if (name.endsWith(QLatin1String(" (deleted)"))) name.chop(10);
  const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
  if (slash >= 0) name = name.mid(slash + 1);
  if (name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive)) name.chop(4);
  return name;
}

namespace {

QStringList namesOf(const QString& procDir) {
  QStringList names;
  const QString exe = QFile::symLinkTarget(procDir + QLatin1String("/exe"));
  if (!exe.isEmpty()) names << programBaseName(exe);
  QFile cmdline(procDir + QLatin1String("/cmdline"));
  if (cmdline.open(QIODevice::ReadOnly)) {
    const QByteArray raw = cmdline.read(4096);
    const QByteArray argv0 = raw.left(raw.indexOf('\0') < 0 ? raw.size() : raw.indexOf('\0'));
    if (!argv0.isEmpty()) {
      const QString name = programBaseName(QString::fromLocal8Bit(argv0));
      if (!name.isEmpty() && !names.contains(name)) names << name;
    }
  }
  return names;
}

}  // namespace

QStringList runningProgramNames(const QString& procRoot) {
  QStringList all;
  const QStringList entries = QDir(procRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  for (const QString& entry : entries) {
    bool isPid = false;
    entry.toLongLong(&isPid);
    if (!isPid) continue;
    all << namesOf(procRoot + QLatin1Char('/') + entry);
  }
  return all;
}

bool isProgramRunning(const QString& name, const QString& procRoot) {
  const QString wanted = programBaseName(name);
  if (wanted.isEmpty()) return false;
  return runningProgramNames(procRoot).contains(wanted, Qt::CaseSensitive);
}

}  // namespace platform
