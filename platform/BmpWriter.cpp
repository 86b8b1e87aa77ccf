#include "platform/BmpWriter.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <vector>

namespace platform {
namespace {

constexpr int kHeaderBytes = 14 + 40;  // file header and BITMAPINFOHEADER
constexpr qint64 kChunk = 64 * 1024;  // rows gathered per write, below the heap's mmap threshold

qint64 rowBytes(int width) { return (qint64(width) * 24 + 31) / 32 * 4; }

void put16(char*& p, quint16 v) {
  qToLittleEndian(v, p);
  p += 2;
}
void put32(char*& p, quint32 v) {
  qToLittleEndian(v, p);
  p += 4;
}

// One row of RGB32 pixels as blue, green, red bytes, four pixels (twelve
// bytes) at a time, then the zero padding to four bytes.
void packRow(const quint32* in, int width, char* out, qint64 stride) {
  int x = 0;
  char* o = out;
  for (; x + 4 <= width; x += 4, o += 12) {
    const quint32 p0 = in[x], p1 = in[x + 1], p2 = in[x + 2], p3 = in[x + 3];
    const quint32 w[3] = {qToLittleEndian((p0 & 0xFFFFFFu) | (p1 << 24)),
                          qToLittleEndian(((p1 >> 8) & 0xFFFFu) | (p2 << 16)),
                          qToLittleEndian(((p2 >> 16) & 0xFFu) | (p3 << 8))};
    std::memcpy(o, w, 12);
  }
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
  std::vector<char> chunk(std::size_t(stride * std::min(rowsPerChunk, h)));
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
