#pragma once
// Builds GIF files block by block, so a test can put exactly the blocks it
// needs (tables, extensions, odd headers) in front of real image data. The
// image data is plain LZW that any decoder reads: a clear code often enough
// that the code width never grows.
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>

#include <cstdint>
#include <vector>

namespace gifbuild {

// A colour table of 2^(size+1) entries: the colours given, then black.
inline QByteArray table(const std::vector<QRgb>& colours, int size) {
  QByteArray t;
  for (int i = 0; i < (2 << size); ++i) {
    const QRgb c = i < int(colours.size()) ? colours[size_t(i)] : qRgb(0, 0, 0);
    t.append(char(qRed(c)));
    t.append(char(qGreen(c)));
    t.append(char(qBlue(c)));
  }
  return t;
}

// The LZW minimum code size, the data sub-blocks and their terminator.
// `chunk` is the largest sub-block (255 at most).
inline QByteArray imageData(const std::vector<std::uint8_t>& pixels, int minCode = 2,
                            int chunk = 255) {
  const int clear = 1 << minCode;
  const int width = minCode + 1;
  const int perClear = std::max(1, (1 << minCode) - 3);
  QByteArray packed;
  std::uint32_t acc = 0;
  int bits = 0;
  auto put = [&](int code) {
    acc |= std::uint32_t(code) << bits;
    bits += width;
    while (bits >= 8) {
      packed.append(char(acc & 0xFF));
      acc >>= 8;
      bits -= 8;
    }
  };
  put(clear);
  int n = 0;
  for (std::uint8_t p : pixels) {
    if (n == perClear) {
      put(clear);
      n = 0;
    }
    put(p);
    ++n;
  }
  put(clear + 1);
  if (bits > 0) packed.append(char(acc & 0xFF));
  QByteArray out(1, char(minCode));
  for (qsizetype i = 0; i < packed.size(); i += chunk) {
    const QByteArray part = packed.mid(i, chunk);
    out.append(char(part.size()));
    out.append(part);
  }
  out.append('\0');
  return out;
}

inline void put16(QByteArray& b, int v) {
  b.append(char(v & 0xFF));
  b.append(char((v >> 8) & 0xFF));
}

class Gif {
 public:
  explicit Gif(const QByteArray& header = "GIF89a") : b_(header) {}
  // Logical screen descriptor with this packed byte.
  Gif& screen(int w, int h, std::uint8_t packed) {
    put16(b_, w);
    put16(b_, h);
    b_.append(char(packed));
    b_.append(2, '\0');
    return *this;
  }
  Gif& raw(const QByteArray& bytes) {
    b_.append(bytes);
    return *this;
  }
  Gif& gce(std::uint8_t packed, int delay, std::uint8_t index) {
    b_.append("\x21\xF9\x04", 3);
    b_.append(char(packed));
    put16(b_, delay);
    b_.append(char(index));
    b_.append('\0');
    return *this;
  }
  // An extension with its data sub-blocks.
  Gif& extension(std::uint8_t label, const QList<QByteArray>& blocks) {
    b_.append('\x21');
    b_.append(char(label));
    for (const QByteArray& s : blocks) {
      b_.append(char(s.size()));
      b_.append(s);
    }
    b_.append('\0');
    return *this;
  }
  // Image descriptor (separator included) with this packed byte.
  Gif& descriptor(int left, int top, int w, int h, std::uint8_t packed) {
    b_.append('\x2C');
    put16(b_, left);
    put16(b_, top);
    put16(b_, w);
    put16(b_, h);
    b_.append(char(packed));
    return *this;
  }
  Gif& trailer() { return raw("\x3B"); }
  QByteArray bytes() const { return b_; }

 private:
  QByteArray b_;
};

// A whole single-frame file of w x h pixels with a global table of
// 2^(size+1) colours.
inline QByteArray simple(int w, int h, const std::vector<QRgb>& colours,
                         const std::vector<std::uint8_t>& pixels, int size = 1) {
  return Gif()
      .screen(w, h, std::uint8_t(0x80 | size))
      .raw(table(colours, size))
      .descriptor(0, 0, w, h, 0)
      .raw(imageData(pixels, std::max(2, size + 1)))
      .trailer()
      .bytes();
}

}  // namespace gifbuild
