#pragma once
// Which programs are running, from /proc.
#include <QString>
#include <QStringList>

namespace platform {

// A program name as compared: the file name alone, a trailing ".exe" (any case)
// removed.
QString programBaseName(const QString& nameOrPath);

// The names each running process goes by: the file name of its executable
// (/proc/PID/exe) and of its argv[0], when they can be read. The second covers
// programs started through a link of another name (gimp -> gimp-2.10) and
// processes of other users, whose executable link we may not read.
QStringList runningProgramNames(const QString& procRoot = QStringLiteral("/proc"));

// True when some process goes by that name, compared whole and case-sensitively
// after programBaseName on both sides. An empty name matches nothing.
bool isProgramRunning(const QString& name, const QString& procRoot = QStringLiteral("/proc"));

}  // namespace platform
