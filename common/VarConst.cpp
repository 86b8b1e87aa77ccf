#include "common/VarConst.h"

#include "platform/forms/Runtime.h"

#include <cmath>

namespace {

bool forbidden(unsigned char b) { return b == '\r' || b == '\n' || b == 0 || b == 26; }

}  // namespace

std::optional<QByteArray> DecodLigne(const QByteArray& stored) {
  if (stored.size() < 3) return std::nullopt;
  QByteArray keyText(3, '\0');
  for (int i = 0; i < 3; ++i) keyText[i] = char(255 - static_cast<unsigned char>(stored[i]));
  const double key = std::nearbyint(255.0 - vb::Val(keyText));
  if (!(key >= 0 && key <= 255)) return std::nullopt;
  const int k = int(key);
  QByteArray out;
  out.reserve(stored.size() - 3);
  for (qsizetype i = 3; i < stored.size(); ++i) {
    const int d = static_cast<unsigned char>(stored[i]) - k;
    out.append(char(d > 0 ? d : d + 255));
  }
  return out;
}

std::optional<QByteArray> CodeLigne(const QByteArray& plain, int key) {
  if (key < 0 || key > 255) return std::nullopt;
  // The key is written as the three digits of 255 - key, each byte inverted.
  const QByteArray digits = QByteArray::number(255 - key).rightJustified(3, '0');
  QByteArray out;
  out.reserve(plain.size() + 3);
  for (char c : digits) out.append(char(255 - static_cast<unsigned char>(c)));
  for (char c : plain) {
    const int p = static_cast<unsigned char>(c);
    // Decoding maps stored byte s to s - key, or s - key + 255 when that is not
    // positive, so plain byte 0 cannot be represented and 255 comes from s = key.
    if (p == 0) return std::nullopt;
    const int s = (p == 255) ? key : (p + key <= 255 ? p + key : p + key - 255);
    out.append(char(s));
  }
  for (char c : out)
    if (forbidden(static_cast<unsigned char>(c))) return std::nullopt;
  if (DecodLigne(out) != plain) return std::nullopt;
  return out;
}

std::optional<QByteArray> CodeLigne(const QByteArray& plain) {
  // Start from a key that depends on the line (deterministically, so the files
  // are reproducible) and try every key from there.
  unsigned start = 7;
  for (char c : plain) start = (start * 31 + static_cast<unsigned char>(c)) % 256;
  for (int n = 0; n < 256; ++n)
    if (auto coded = CodeLigne(plain, int((start + unsigned(n)) % 256))) return coded;
  return std::nullopt;
}
