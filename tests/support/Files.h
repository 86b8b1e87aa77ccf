#pragma once
// A whole file's bytes, as another program would read them.
#include <QByteArray>
#include <QFile>
#include <QString>

namespace testsupport {

// A file that cannot be read gives a marker no real content equals (not an
// empty array, which an empty file would give too).
inline QByteArray readFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable " + path.toUtf8() + ">");
}

}  // namespace testsupport
