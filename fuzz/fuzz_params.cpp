// The settings file: read it, use it, save it, read it again: the second read
// gives what the first one took.
#include "velistrom/core/GlobParams.h"
#include "velistrom/core/Params.h"
#include "velistrom/core/GlobDossiers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static QTemporaryDir dir;
  if (!dir.isValid()) std::abort();
  gDossAppli = dir.path();
  const ParamsUi ui{[](const QString&, int) { return 7; /* No */ }, "reset?", "reset."};
  {
    QFile f(CheminParams());
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    f.write(reinterpret_cast<const char*>(data), qint64(size));
  }
  if (chargtparam(ui) != ChargtParamStatus::Pret) return 0;
  const QString params = gParams, ligne = gRepSauvLigne;
  if (params.size() != EnregParams::kLongueur || ligne.size() != EnregParams::kLongueur) std::abort();
  if (SavOptions(ui) != SaveStatus::Enregistre) std::abort();
  if (chargtparam(ui) != ChargtParamStatus::Pret) std::abort();
  if (gParams != params || gRepSauvLigne != ligne) {
    std::fprintf(stderr, "the saved settings read back otherwise\n");
    std::abort();
  }
  return 0;
}
