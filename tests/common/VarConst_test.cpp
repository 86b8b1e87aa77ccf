#include "common/VarConst.h"

#include <gtest/gtest.h>

namespace {

QByteArray bytes(std::initializer_list<int> codes) {
  QByteArray b;
  for (int c : codes) b.append(char(c));
  return b;
}

// Key bytes for a key K: the three digits of 255 - K, each inverted (255 - code).
QByteArray keyBytes(int key) {
  QByteArray d = QByteArray::number(255 - key).rightJustified(3, '0');
  for (auto& c : d) c = char(255 - static_cast<unsigned char>(c));
  return d;
}

struct DecodCase {
  const char* name;
  QByteArray stored;
  std::optional<QByteArray> plain;
};

TEST(DecodLigne, HandComputedLines) {
  const DecodCase cases[] = {
      {"three bytes give the empty line", keyBytes(10), QByteArray()},
      {"plain shift", keyBytes(10) + bytes({'A' + 10, 'b' + 10}), QByteArray("Ab")},
      {"byte equal to the key decodes to 255", keyBytes(40) + bytes({40}), bytes({255})},
      {"wrap-around below the key", keyBytes(200) + bytes({5}), bytes({5 - 200 + 255})},
      // Key text " 7x": blank, 7, letter -> value 7, key 248.
      {"blank-led key text", bytes({255 - ' ', 255 - '7', 255 - 'x', 250}), bytes({2})},
      {"key of zero", keyBytes(0) + QByteArray("hi"), QByteArray("hi")},
      {"too short", QByteArray("ab"), std::nullopt},
      // Key text "999" -> key 255 - 999, outside 0 to 255.
      {"key out of range", bytes({255 - '9', 255 - '9', 255 - '9', 65}), std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodLigne(c.stored), c.plain) << c.name;
}

TEST(CodeLigne, RoundTripsEveryTextByteAndAvoidsLineBreakBytes) {
  QByteArray all;  // every byte a Windows-1252 text line can hold
  for (int b = 32; b < 256; ++b) all.append(char(b));
  const auto coded = CodeLigne(all);
  ASSERT_TRUE(coded);
  for (char c : coded->mid(3)) {
    const int b = static_cast<unsigned char>(c);
    EXPECT_TRUE(b != 13 && b != 10 && b != 0 && b != 26) << b;
  }
  EXPECT_EQ(DecodLigne(*coded), all);
  EXPECT_FALSE(CodeLigne(bytes({'a', 0, 'b'}))) << "NUL cannot be stored";
  QByteArray every;  // with every byte present some stored byte must be CR, LF or 26
  for (int b = 1; b < 256; ++b) every.append(char(b));
  EXPECT_FALSE(CodeLigne(every));
}

}  // namespace
