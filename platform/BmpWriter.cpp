#include "platform/BmpWriter.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {
namespace {

constexpr int kHeaderBytes = 14 + 40;  // file header and BITMAPINFOHEADER
// Rows gathered per write: the kernel's work per call weighs on a whole screen
// in small writes (a quarter less in 256 KB ones than in 64 KB ones), and more
// would not stay in the cache.
constexpr qint64 kChunk = 256 * 1024;

qint64 rowBytes(int width) { return (qint64(width) * 24 + 31) / 32 * 4; }

void put16(char*& p, quint16 v) {
  qToLittleEndian(v, p);
  p += 2;
}
void put32(char*& p, quint32 v) {
  qToLittleEndian(v, p);
  p += 4;
}

// One row of RGB32 pixels as blue, green, red bytes, then the zero padding to
// four bytes. Four pixels at a time become twelve bytes; with SSE2 the sixteen
// bytes stored each time run four bytes past them, into the padding or the next
// row, which are written after: `out` needs kSlack bytes of room past the row.
constexpr int kSlack = 16;

void packRow(const quint32* in, int width, char* out, qint64 stride) {
  int x = 0;
  char* o = out;
#if defined(__SSE2__)
  const __m128i first = _mm_set1_epi64x(0x0000000000FFFFFFll);
  const __m128i second = _mm_set1_epi64x(0x0000FFFFFF000000ll);
  for (; x + 4 <= width; x += 4, o += 12) {
    const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x));
    // Each half: its two pixels' six bytes, then two zero bytes.
    const __m128i pairs = _mm_or_si128(_mm_and_si128(p, first), _mm_and_si128(_mm_srli_epi64(p, 8), second));
    const __m128i packed = _mm_or_si128(_mm_move_epi64(pairs), _mm_slli_si128(_mm_srli_si128(pairs, 8), 6));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o), packed);
  }
#else
  for (; x + 4 <= width; x += 4, o += 12) {
    const quint32 p0 = in[x], p1 = in[x + 1], p2 = in[x + 2], p3 = in[x + 3];
    const quint32 w[3] = {qToLittleEndian((p0 & 0xFFFFFFu) | (p1 << 24)),
                          qToLittleEndian(((p1 >> 8) & 0xFFFFu) | (p2 << 16)),
                          qToLittleEndian(((p2 >> 16) & 0xFFu) | (p3 << 8))};
    std::memcpy(o, w, 12);
  }
#endif
  for (; x < width; ++x, o += 3) {
    const quint32 p = in[x];
    o[0] = char(p & 0xFF);
    o[1] = char((p >> 8) & 0xFF);
    o[2] = char((p >> 16) & 0xFF);
  }
  std::memset(o, 0, std::size_t(out + stride - o));
}

}  // namespace

qint64 bmpFileSize(int width, int height) { return kHeaderBytes + rowBytes(width) * height; }

bool writeBmp(const QImage& image, QIODevice& out) {
  const QImage src = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
  if (src.isNull()) return false;
  const int w = src.width(), h = src.height();
  const qint64 stride = rowBytes(w);
  char header[kHeaderBytes];
  char* p = header;
  *p++ = 'B';
  *p++ = 'M';
  put32(p, quint32(bmpFileSize(w, h)));
  put32(p, 0);  // reserved
  put32(p, kHeaderBytes);
  put32(p, 40);
  put32(p, quint32(w));
  put32(p, quint32(h));  // positive: the rows go bottom-up
  put16(p, 1);           // planes
  put16(p, 24);          // bits a pixel
  put32(p, 0);           // no compression
  put32(p, quint32(stride * h));
  put32(p, quint32(src.dotsPerMeterX()));
  put32(p, quint32(src.dotsPerMeterY()));
  put32(p, 0);  // colours used
  put32(p, 0);  // important colours
  if (out.write(header, kHeaderBytes) != kHeaderBytes) return false;

  const int rowsPerChunk = int(std::max<qint64>(1, kChunk / std::max<qint64>(1, stride)));
  // Kept from one picture to the next: fresh pages cost more than filling them.
  thread_local std::vector<char> chunk;
  chunk.resize(std::max(chunk.size(), std::size_t(stride * std::min(rowsPerChunk, h) + kSlack)));
  for (int y = h - 1; y >= 0;) {
    const int rows = std::min(rowsPerChunk, y + 1);
    for (int r = 0; r < rows; ++r)
      packRow(reinterpret_cast<const quint32*>(src.constScanLine(y - r)), w, chunk.data() + r * stride, stride);
    const qint64 bytes = stride * rows;
    if (out.write(chunk.data(), bytes) != bytes) return false;
    y -= rows;
  }
  return true;
}

}  // namespace platform
