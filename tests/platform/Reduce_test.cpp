// Reductions by averaging against a brute-force mean over each destination
// pixel's source area, exact in integers: every size ratio, the long columns
// whose sums outgrow 16 bits, the bands made side by side, several sizes at
// once, and what is refused.
#include "platform/Reduce.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "tests/platform/PictureFixtures.h"

namespace {

// Each destination pixel: the source pixels it covers, weighted by the
// covered part, in units where a source pixel is dw x dh and a destination
// pixel sw x sh; the mean rounded half up.
QImage bruteForce(const QImage& source, QSize size) {
  const QImage src = source.convertToFormat(QImage::Format_RGB32);
  const std::int64_t sw = src.width(), sh = src.height(), dw = size.width(), dh = size.height();
  QImage out(size, QImage::Format_RGB32);
  for (std::int64_t j = 0; j < dh; ++j)
    for (std::int64_t i = 0; i < dw; ++i) {
      std::int64_t sum[3] = {0, 0, 0};
      for (std::int64_t y = j * sh / dh; y < sh && y * dh < (j + 1) * sh; ++y) {
        const std::int64_t wy = std::min((y + 1) * dh, (j + 1) * sh) - std::max(y * dh, j * sh);
        for (std::int64_t x = i * sw / dw; x < sw && x * dw < (i + 1) * sw; ++x) {
          const std::int64_t wx = std::min((x + 1) * dw, (i + 1) * sw) - std::max(x * dw, i * sw);
          const QRgb p = src.pixel(int(x), int(y));
          sum[0] += wx * wy * qRed(p);
          sum[1] += wx * wy * qGreen(p);
          sum[2] += wx * wy * qBlue(p);
        }
      }
      const std::int64_t area = sw * sh;
      out.setPixel(int(i), int(j), qRgb(int((sum[0] + area / 2) / area), int((sum[1] + area / 2) / area),
                                        int((sum[2] + area / 2) / area)));
    }
  return out;
}

QImage reduced(const QImage& source, QSize size) { return platform::reduceByAveraging(source, {size}).front(); }

TEST(Reduce, EachPixelIsTheExactMeanOfItsArea) {
  const struct {
    const char* what;
    QImage source;
    QSize size;
  } cases[] = {
      {"thumbnail of a screen-like ratio", fixtures::noise(333, 217), {97, 55}},
      {"enlarged copy of it", fixtures::noise(333, 217), {164, 93}},
      {"ratios just above one", fixtures::noise(101, 67), {100, 66}},
      {"odd small sizes", fixtures::knownPixels(), {3, 2}},
      {"one row", fixtures::noise(100, 1), {7, 1}},
      {"one column", fixtures::noise(1, 300), {1, 17}},
      {"to one pixel", fixtures::gradient(300, 200), {1, 1}},
      {"the same size", fixtures::noise(40, 30), {40, 30}},
      {"over 256 rows a destination row (16-bit sums flushed)", fixtures::noise(6, 1300), {5, 2}},
      {"width kept, height halved", fixtures::gradient(64, 64), {64, 32}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QImage ours = reduced(c.source, c.size);
    ASSERT_EQ(ours.size(), c.size);
    EXPECT_EQ(ours.format(), QImage::Format_RGB32);
    EXPECT_EQ(ours, bruteForce(c.source, c.size));
  }
}

// A halftone stretch, not a sampling: one-pixel checks become their mean.
TEST(Reduce, OnePixelChecksBecomeGrey) {
  QImage checks(64, 48, QImage::Format_RGB32);
  for (int y = 0; y < checks.height(); ++y)
    for (int x = 0; x < checks.width(); ++x) checks.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
  const QImage grey = reduced(checks, {16, 12});
  for (int y = 0; y < grey.height(); ++y)
    for (int x = 0; x < grey.width(); ++x) ASSERT_EQ(grey.pixel(x, y), qRgb(128, 128, 128)) << x << "," << y;
}

TEST(Reduce, SeveralSizesAtOnceAreEachTheirOwnReduction) {
  const QImage source = fixtures::noise(250, 180);
  const std::vector<QSize> sizes = {{97, 55}, {250, 180}, {300, 10}, {164, 93}, {0, 5}, {1, 1}};
  const std::vector<QImage> all = platform::reduceByAveraging(source, sizes);
  ASSERT_EQ(all.size(), sizes.size());
  for (std::size_t k = 0; k < sizes.size(); ++k) {
    SCOPED_TRACE(k);
    const bool reduction = !sizes[k].isEmpty() && sizes[k].width() <= 250 && sizes[k].height() <= 180;
    if (!reduction) {
      EXPECT_TRUE(all[k].isNull()) << "larger than the source, or empty: not a reduction";
      continue;
    }
    EXPECT_EQ(all[k], bruteForce(source, sizes[k]));
  }
  EXPECT_TRUE(platform::reduceByAveraging(QImage(), sizes).front().isNull());
}

// Alpha is left out: a see-through picture is averaged as the opaque colours
// it converts to, whatever its format.
TEST(Reduce, EveryFormatIsAveragedAsItsOpaqueColours) {
  QImage translucent = fixtures::gradient(90, 60).convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < translucent.height(); ++y)
    for (int x = 0; x < translucent.width(); ++x)
      translucent.setPixel(x, y, (translucent.pixel(x, y) & 0x00FFFFFFu) | (quint32((x * 7 + y) % 256) << 24));
  for (const QImage& picture : {translucent, translucent.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                                translucent.convertToFormat(QImage::Format_RGB888)}) {
    SCOPED_TRACE(int(picture.format()));
    EXPECT_EQ(reduced(picture, {31, 17}), bruteForce(picture.convertToFormat(QImage::Format_RGB32), {31, 17}));
  }
}

}  // namespace
