#include "common/Cp1252.h"

namespace cp1252 {
namespace {

// 0x80 ... 0x9F; the unassigned bytes keep their own number.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

char16_t toUnicode(unsigned char b) { return (b >= 0x80 && b <= 0x9F) ? kHigh[b - 0x80] : b; }

std::optional<unsigned char> toByte(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == c) return static_cast<unsigned char>(0x80 + i);
  return std::nullopt;
}

}  // namespace

QString decode(const QByteArray& bytes) {
  QString out(bytes.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < bytes.size(); ++i)
    out[i] = QChar(toUnicode(static_cast<unsigned char>(bytes[i])));
  return out;
}

std::optional<QByteArray> encode(QStringView text, qsizetype* badIndex) {
  QByteArray out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const auto b = toByte(text[i].unicode());
    if (!b) {
      if (badIndex) *badIndex = i;
      return std::nullopt;
    }
    out.append(char(*b));
  }
  return out;
}

}  // namespace cp1252
