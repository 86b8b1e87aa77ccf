#include "platform/Reduce.h"

#include <QSemaphore>
#include <QThreadPool>

#include <algorithm>
#include <cstdint>
#include <functional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {
namespace {

// Lengths are counted in units that make every boundary a whole number: along
// a side reduced from s to d pixels, a source pixel is d units long and a
// destination pixel s units, so source pixel i covers [i*d, (i+1)*d) and
// destination pixel j covers [j*s, (j+1)*s).

// acc[i] += the sum of rows[0..count)[i], for the n bytes of each row (rows
// wholly inside a destination row). The rows are summed in registers a few at
// a time, so the sums are read and written once for all of them.
void addRows(std::uint16_t* acc, const uchar* const* rows, int count, int n) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; i + 32 <= n; i += 32) {  // two blocks a row: each row's pointer read once for both
    auto* a = reinterpret_cast<__m128i*>(acc + i);
    __m128i s0 = _mm_loadu_si128(a), s1 = _mm_loadu_si128(a + 1);
    __m128i s2 = _mm_loadu_si128(a + 2), s3 = _mm_loadu_si128(a + 3);
    for (int r = 0; r < count; ++r) {
      const auto* p = reinterpret_cast<const __m128i*>(rows[r] + i);
      const __m128i v = _mm_loadu_si128(p), w = _mm_loadu_si128(p + 1);
      s0 = _mm_add_epi16(s0, _mm_unpacklo_epi8(v, zero));
      s1 = _mm_add_epi16(s1, _mm_unpackhi_epi8(v, zero));
      s2 = _mm_add_epi16(s2, _mm_unpacklo_epi8(w, zero));
      s3 = _mm_add_epi16(s3, _mm_unpackhi_epi8(w, zero));
    }
    _mm_storeu_si128(a, s0);
    _mm_storeu_si128(a + 1, s1);
    _mm_storeu_si128(a + 2, s2);
    _mm_storeu_si128(a + 3, s3);
  }
#endif
  for (; i < n; ++i)
    for (int r = 0; r < count; ++r) acc[i] = std::uint16_t(acc[i] + rows[r][i]);
}

// acc[i] += w * v[i], for 16-bit values and a weight below 65536.
void addWeighted(std::uint32_t* acc, const std::uint16_t* v, std::uint32_t w, int n) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i weight = _mm_set1_epi16(short(std::uint16_t(w)));
  for (; i + 8 <= n; i += 8) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(v + i));
    const __m128i lo = _mm_mullo_epi16(x, weight), hi = _mm_mulhi_epu16(x, weight);
    auto* a = reinterpret_cast<__m128i*>(acc + i);
    _mm_storeu_si128(a, _mm_add_epi32(_mm_loadu_si128(a), _mm_unpacklo_epi16(lo, hi)));
    _mm_storeu_si128(a + 1, _mm_add_epi32(_mm_loadu_si128(a + 1), _mm_unpackhi_epi16(lo, hi)));
  }
#endif
  for (; i < n; ++i) acc[i] += w * v[i];
}

// The same for the bytes of a row.
void addWeighted(std::uint32_t* acc, const uchar* v, std::uint32_t w, int n) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i weight = _mm_set1_epi16(short(std::uint16_t(w)));
  for (; i + 16 <= n; i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(v + i));
    auto* a = reinterpret_cast<__m128i*>(acc + i);
    for (const __m128i x : {_mm_unpacklo_epi8(bytes, zero), _mm_unpackhi_epi8(bytes, zero)}) {
      const __m128i lo = _mm_mullo_epi16(x, weight), hi = _mm_mulhi_epu16(x, weight);
      _mm_storeu_si128(a, _mm_add_epi32(_mm_loadu_si128(a), _mm_unpacklo_epi16(lo, hi)));
      _mm_storeu_si128(a + 1, _mm_add_epi32(_mm_loadu_si128(a + 1), _mm_unpackhi_epi16(lo, hi)));
      a += 2;
    }
  }
#endif
  for (; i < n; ++i) acc[i] += w * v[i];
}

// acc[0..3] += the four lanes of each of the n pixels' sums from p.
void addPixels(std::uint32_t* acc, const std::uint32_t* p, int n) {
#if defined(__SSE2__)
  __m128i sum = _mm_loadu_si128(reinterpret_cast<const __m128i*>(acc));
  for (int x = 0; x < n; ++x) sum = _mm_add_epi32(sum, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 4 * x)));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(acc), sum);
#else
  for (int x = 0; x < n; ++x)
    for (int c = 0; c < 4; ++c) acc[c] += p[4 * x + c];
#endif
}

// One band of destination rows [first, end) of one size, made from the source
// rows it covers, in order, into `bits` (the result's rows, shared with the
// other bands, each writing only its own).
class Reduction {
 public:
  Reduction(QSize source, QSize size, int first, int end, uchar* bits, qsizetype bytesPerLine)
      : sw_(source.width()), sh_(source.height()), dw_(size.width()), dh_(size.height()), end_(end),
        bits_(bits), bytesPerLine_(bytesPerLine), whole_(std::size_t(sw_) * 4), sums_(std::size_t(sw_) * 4),
        columns_(std::size_t(dw_)), row_(first) {
    // Destination column j: source columns first..last, the two ends counted by their part.
    for (int j = 0; j < dw_; ++j) {
      const std::int64_t left = std::int64_t(j) * sw_, right = left + sw_;
      Columns& c = columns_[std::size_t(j)];
      c.first = int(left / dw_);
      c.last = int((right - 1) / dw_);
      c.firstPart = std::uint32_t(std::min<std::int64_t>((c.first + 1) * std::int64_t(dw_), right) - left);
      c.lastPart = c.last == c.first ? 0 : std::uint32_t(right - std::int64_t(c.last) * dw_);
    }
  }

  void run(const QImage& src) {
    const int from = int(std::int64_t(row_) * sh_ / dh_);
    const int to = int((std::int64_t(end_) * sh_ + dh_ - 1) / dh_);
    for (int y = from; y < to && row_ < end_; ++y) addRow(y, src.constScanLine(y));
  }

 private:
  // Source row y (4 bytes a pixel); the row stays as it is until the band is done.
  void addRow(int y, const uchar* row) {
    const std::int64_t top = std::int64_t(y) * dh_, bottom = top + dh_;
    const std::int64_t start = std::int64_t(row_) * sh_, end = start + sh_;
    if (top < start) {
      // The band's first row, across its top: only the part below counts here.
      addWeighted(sums_.data(), row, std::uint32_t(bottom - start), sw_ * 4);
      return;
    }
    if (bottom <= end) {
      // Wholly inside: dh_ units, counted when the row is finished.
      pending_[pendingRows_++] = row;
      if (pendingRows_ == kPending) addPending();
      if (bottom == end) finishRow();
      return;
    }
    // Across the boundary: its part in this row, then the rest in the next.
    addWeighted(sums_.data(), row, std::uint32_t(end - top), sw_ * 4);
    finishRow();
    if (row_ < end_) addWeighted(sums_.data(), row, std::uint32_t(bottom - end), sw_ * 4);
  }

  void addPending() {
    addRows(whole_.data(), pending_, pendingRows_, sw_ * 4);
    wholeRows_ += pendingRows_;
    pendingRows_ = 0;
    if (wholeRows_ > 256 - kPending) flushWhole();  // before a 16-bit sum could overflow
  }

  void flushWhole() {
    addWeighted(sums_.data(), whole_.data(), std::uint32_t(dh_), sw_ * 4);
    std::fill(whole_.begin(), whole_.end(), 0);
    wholeRows_ = 0;
  }

  // The destination row is complete: the columns, then the means.
  void finishRow() {
    if (pendingRows_) addPending();
    if (wholeRows_) flushWhole();
    const std::uint64_t area = std::uint64_t(sw_) * std::uint64_t(sh_);
    auto* out = reinterpret_cast<QRgb*>(bits_ + row_ * bytesPerLine_);
    for (int j = 0; j < dw_; ++j) {
      const Columns& c = columns_[std::size_t(j)];
      std::uint32_t inside[4] = {0, 0, 0, 0};  // blue, green, red, unused; dw_ units each
      addPixels(inside, sums_.data() + std::size_t(c.first + 1) * 4, c.last - c.first - 1);
      const std::uint32_t* f = &sums_[std::size_t(c.first) * 4];
      const std::uint32_t* l = &sums_[std::size_t(c.last) * 4];
      std::uint64_t t[3];
      for (int k = 0; k < 3; ++k)
        t[k] = std::uint64_t(dw_) * inside[k] + std::uint64_t(c.firstPart) * f[k] + std::uint64_t(c.lastPart) * l[k];
      out[j] = qRgb(int((t[2] + area / 2) / area), int((t[1] + area / 2) / area), int((t[0] + area / 2) / area));
    }
    std::fill(sums_.begin(), sums_.end(), 0);
    ++row_;
  }

  struct Columns {
    int first, last;
    std::uint32_t firstPart, lastPart;
  };

  const int sw_, sh_, dw_, dh_, end_;
  uchar* const bits_;
  const qsizetype bytesPerLine_;
  static constexpr int kPending = 8;
  const uchar* pending_[kPending];  // rows wholly inside, not yet in whole_
  int pendingRows_ = 0;
  std::vector<std::uint16_t> whole_;  // sum of the rows wholly inside the current destination row
  int wholeRows_ = 0;
  std::vector<std::uint32_t> sums_;  // the current destination row, each source column in units of height
  std::vector<Columns> columns_;
  int row_;  // the destination row being made
};

// Bands a size is cut into: a whole screen's copies take a few threads' time
// together (about a millisecond at 1920 x 1080 on one).
constexpr int kBands = 4;

}  // namespace

std::vector<QImage> reduceByAveraging(const QImage& source, const std::vector<QSize>& sizes) {
  std::vector<QImage> results(sizes.size());
  if (source.isNull()) return results;
  // Read as blue, green, red and a byte left out; a premultiplied picture is
  // converted, as its colours are not its pixels' own where it is see-through.
  const QImage src = source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
                         ? source
                         : source.convertToFormat(QImage::Format_RGB32);
  // Bands of destination rows, shared out over the pool's idle threads (this
  // one makes the last and any no thread was free for).
  std::vector<std::function<void()>> bands;
  for (std::size_t k = 0; k < sizes.size(); ++k) {
    const QSize s = sizes[k];
    // Weights are 16-bit: a result taller than that is not a thumbnail.
    if (s.isEmpty() || s.width() > src.width() || s.height() > src.height() || s.height() > 65535) continue;
    results[k] = QImage(s, QImage::Format_RGB32);
    if (results[k].isNull()) continue;
    uchar* const bits = results[k].bits();
    const qsizetype bpl = results[k].bytesPerLine();
    const int count = std::min(kBands, s.height());
    for (int b = 0; b < count; ++b)
      bands.emplace_back([&src, s, bits, bpl, first = s.height() * b / count, end = s.height() * (b + 1) / count] {
        Reduction(src.size(), s, first, end, bits, bpl).run(src);
      });
  }
  QSemaphore done;
  int started = 0;
  for (std::size_t i = 0; i + 1 < bands.size(); ++i) {
    if (QThreadPool::globalInstance()->tryStart([&, i] {
          bands[i]();
          done.release();
        }))
      ++started;
    else
      bands[i]();
  }
  if (!bands.empty()) bands.back()();
  done.acquire(started);
  return results;
}

}  // namespace platform
