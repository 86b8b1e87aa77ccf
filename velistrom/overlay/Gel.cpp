#include "velistrom/overlay/Gel.h"

#include "platform/PictureMemory.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace overlay {
namespace {

// Per channel (blue, green, red): 80 x the mask plus 127 for the rounding; the
// pixel's share is 175 x its value, and the sum divided by 255.
constexpr int kMask[3] = {254, 128, 128};
constexpr int kShare = 175;
constexpr int kBias(int c) { return 80 * kMask[c] + 127; }

const std::array<std::array<quint8, 256>, 3>& dimTables() {
  // One table per channel: 256 entries each instead of a division per pixel.
  static const auto tables = [] {
    std::array<std::array<quint8, 256>, 3> t{};
    for (int c = 0; c < 3; ++c)
      for (int v = 0; v < 256; ++v) t[std::size_t(c)][std::size_t(v)] = quint8((kShare * v + kBias(c)) / 255);
    return t;
  }();
  return tables;
}

inline QRgb dimOne(QRgb p) {
  const auto& t = dimTables();
  return 0xFF000000u | (quint32(t[2][qRed(p)]) << 16) | (quint32(t[1][qGreen(p)]) << 8) | t[0][qBlue(p)];
}

// `n` pixels of `in` dimmed into `dimmed` and, when `plain` is given, copied as
// they are into it; `dimmed` may be `in` itself. Stores that bypass the cache
// when the rows are aligned: whole screens go far beyond it.
void dimRow(const QRgb* in, QRgb* plain, QRgb* dimmed, int n) {
  int x = 0;
#if defined(__SSE2__)
  // Four pixels at a time in 16-bit lanes: (175 v + bias) / 255 is exact as
  // (s + 1 + (s >> 8)) >> 8 for every s below 65535, and s stays below 65100.
  const __m128i share = _mm_set1_epi16(kShare);
  const __m128i bias = _mm_set_epi16(0, kBias(2), kBias(1), kBias(0), 0, kBias(2), kBias(1), kBias(0));
  const __m128i one = _mm_set1_epi16(1);
  const __m128i opaque = _mm_set1_epi32(int(0xFF000000u));
  const __m128i zero = _mm_setzero_si128();
  auto dim = [&](__m128i half) {
    const __m128i s = _mm_add_epi16(_mm_mullo_epi16(half, share), bias);
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(s, one), _mm_srli_epi16(s, 8)), 8);
  };
  const bool stream = (reinterpret_cast<std::uintptr_t>(dimmed) & 15) == 0 &&
                      (!plain || (reinterpret_cast<std::uintptr_t>(plain) & 15) == 0) &&
                      static_cast<const void*>(in) != dimmed;
  for (; x + 4 <= n; x += 4) {
    const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x));
    const __m128i d =
        _mm_or_si128(_mm_packus_epi16(dim(_mm_unpacklo_epi8(p, zero)), dim(_mm_unpackhi_epi8(p, zero))), opaque);
    if (stream) {
      if (plain) _mm_stream_si128(reinterpret_cast<__m128i*>(plain + x), p);
      _mm_stream_si128(reinterpret_cast<__m128i*>(dimmed + x), d);
    } else {
      if (plain) _mm_storeu_si128(reinterpret_cast<__m128i*>(plain + x), p);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dimmed + x), d);
    }
  }
#endif
  for (; x < n; ++x) {
    const QRgb p = in[x];
    if (plain) plain[x] = p;
    dimmed[x] = dimOne(p);
  }
}

void fillRow(QRgb* out, QRgb value, int n) {
  int x = 0;
#if defined(__SSE2__)
  if ((reinterpret_cast<std::uintptr_t>(out) & 15) == 0) {
    const __m128i v = _mm_set1_epi32(int(value));
    for (; x + 4 <= n; x += 4) _mm_stream_si128(reinterpret_cast<__m128i*>(out + x), v);
  }
#endif
  std::fill(out + x, out + n, value);
}

void endStreaming() {
#if defined(__SSE2__)
  _mm_sfence();  // the stores that bypassed the cache are seen before the pictures are
#endif
}

// The black part of the pictures the last call wrote, by their contents' key:
// a key changes with every write to a picture, so a picture that still has it
// still holds that black.
struct Kept {
  qint64 key = 0;
  QSize grab;
};
std::array<Kept, 2> g_kept;

const Kept* keptFor(const QImage& img) {
  for (const Kept& k : g_kept)
    if (k.key != 0 && k.key == img.cacheKey()) return &k;
  return nullptr;
}

}  // namespace

QRgb dimPixel(QRgb p) {
  auto ch = [](int mask, int v) { return (80 * mask + 175 * v + 127) / 255; };
  return qRgb(ch(128, qRed(p)), ch(128, qGreen(p)), ch(254, qBlue(p)));
}

void dimCopyRows(const QImage& src, QImage& dst, int srcRow, int dstRow, int rows) {
  const int w = std::min(src.width(), dst.width());
  rows = std::min({rows, src.height() - srcRow, dst.height() - dstRow});
  for (int r = 0; r < rows; ++r)
    dimRow(reinterpret_cast<const QRgb*>(src.constScanLine(srcRow + r)), nullptr,
           reinterpret_cast<QRgb*>(dst.scanLine(dstRow + r)), w);
  endStreaming();
}

void dimRows(QImage& picture, int fromRow, int toRow) {
  fromRow = std::max(0, fromRow);
  toRow = std::min(picture.height(), toRow);
  const int w = picture.width();
  for (int y = fromRow; y < toRow; ++y) {
    auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
    dimRow(line, nullptr, line, w);
  }
}

void freezeOneScreen(const QImage& grab, QSize size, QImage& undimmed, QImage& view) {
  auto reuse = [&size](QImage& img) {
    if (img.size() != size || img.format() != QImage::Format_RGB32 || !img.isDetached())
      img = platform::newPicture(size, QImage::Format_RGB32);
  };
  reuse(undimmed);
  reuse(view);
  if (undimmed.isNull() || view.isNull()) return;
  const QImage src = grab.format() == QImage::Format_RGB32 ? grab : grab.convertToFormat(QImage::Format_RGB32);
  const int w = std::min(src.width(), size.width()), h = std::min(src.height(), size.height());
  const QSize grabbed(w, h);
  // Black that is already there stays: only what the grab does not cover.
  const bool undimmedBlack = keptFor(undimmed) && keptFor(undimmed)->grab == grabbed;
  const bool viewBlack = keptFor(view) && keptFor(view)->grab == grabbed;
  const QRgb black = qRgb(0, 0, 0), dimBlack = dimOne(black);
  QRgb* const firstPlain = reinterpret_cast<QRgb*>(undimmed.scanLine(0));
  QRgb* const firstView = reinterpret_cast<QRgb*>(view.scanLine(0));
  const qsizetype plainStep = undimmed.bytesPerLine() / 4, viewStep = view.bytesPerLine() / 4;
  for (int y = 0; y < size.height(); ++y) {
    QRgb* plain = firstPlain + y * plainStep;
    QRgb* dimmed = firstView + y * viewStep;
    int done = 0;
    if (y < h) {
      dimRow(reinterpret_cast<const QRgb*>(src.constScanLine(y)), plain, dimmed, w);
      done = w;
    }
    if (done < size.width()) {
      if (!undimmedBlack) fillRow(plain + done, black, size.width() - done);
      if (!viewBlack) fillRow(dimmed + done, dimBlack, size.width() - done);
    }
  }
  endStreaming();
  g_kept[0] = {undimmed.cacheKey(), grabbed};
  g_kept[1] = {view.cacheKey(), grabbed};
}

}  // namespace overlay
