// The tips file fetched from the tips server.
#include "velistrom/startup/TipsDownload.h"

#include <QStringList>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  QStringList tips;
  AjoutTips(bytes, tips);
  for (const QString& t : tips)
    if (t.isEmpty() || t.contains(u'\r') || t.contains(u'\n')) std::abort();
  return 0;
}
