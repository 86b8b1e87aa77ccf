// langtool SOURCE OUTPUT: turns a readable language source (UTF-8, one
// descrambled line per line) into the scrambled file the programs read.
#include "common/LangSource.h"

#include <QFile>
#include <QSaveFile>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: langtool SOURCE OUTPUT\n");
    return 2;
  }
  const QString source = QString::fromLocal8Bit(argv[1]);
  const QString output = QString::fromLocal8Bit(argv[2]);
  QFile in(source);
  if (!in.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "%s: cannot be read\n", argv[1]);
    return 1;
  }
  const lang::CompiledLang compiled = lang::compileLangSource(in.readAll());
  if (compiled.error) {
    const QString where = compiled.error->line > 0 ? QString("%1:%2").arg(source).arg(compiled.error->line) : source;
    std::fprintf(stderr, "%s: %s\n", qPrintable(where), qPrintable(compiled.error->message));
    return 1;
  }
  QSaveFile out(output);
  if (!out.open(QIODevice::WriteOnly) || out.write(compiled.bytes) != compiled.bytes.size() || !out.commit()) {
    std::fprintf(stderr, "%s: cannot be written\n", argv[2]);
    return 1;
  }
  return 0;
}
