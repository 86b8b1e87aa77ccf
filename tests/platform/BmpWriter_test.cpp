// The streaming BMP writer against Qt's own BMP writer: the same bytes for
// every row padding, picture format and resolution.
#include "platform/BmpWriter.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageWriter>

#include <algorithm>

#include "tests/platform/PictureFixtures.h"

namespace {

QByteArray qtBmp(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter(&buffer, "bmp").write(image.convertToFormat(QImage::Format_RGB32));
  return bytes;
}

QByteArray ourBmp(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(platform::writeBmp(image, buffer));
  return bytes;
}

TEST(BmpWriter, SameBytesAsQtForEveryPaddingFormatAndResolution) {
  for (int w = 1; w <= 9; ++w) {
    const QImage base = fixtures::noise(w, 3);
    QImage translucent = base.convertToFormat(QImage::Format_ARGB32);
    for (int x = 0; x < w; ++x) translucent.setPixel(x, 1, qRgba(200, 100, 50, 30 * x));
    const struct {
      const char* name;
      QImage picture;
    } cases[] = {
        {"rgb32", base},
        {"argb32 translucent", translucent},
        {"premultiplied", translucent.convertToFormat(QImage::Format_ARGB32_Premultiplied)},
        {"rgb888", base.convertToFormat(QImage::Format_RGB888)},
        {"indexed", fixtures::knownPixels().copy(0, 0, w, 3).convertToFormat(QImage::Format_Indexed8)},
    };
    for (const auto& c : cases)
      for (int dpm : {2835, 3937, 11811}) {
        QImage picture = c.picture;
        picture.setDotsPerMeterX(dpm);
        picture.setDotsPerMeterY(dpm + 1);
        SCOPED_TRACE(testing::Message() << c.name << " width " << w << " dpm " << dpm);
        const QByteArray ours = ourBmp(picture);
        EXPECT_EQ(ours, qtBmp(picture));
        EXPECT_EQ(ours.size(), platform::bmpFileSize(w, 3));
      }
  }
}

// Rows go out in chunks of many rows: a picture taller than one chunk, with
// a width that pads, still matches row for row.
TEST(BmpWriter, PictureOfManyChunksMatches) {
  const QImage tall = fixtures::noise(1023, 700);
  EXPECT_EQ(ourBmp(tall), qtBmp(tall));
}

// A device that takes a few bytes and then refuses.
class ShortDevice : public QIODevice {
 public:
  explicit ShortDevice(qint64 room) : room_(room) { open(QIODevice::WriteOnly); }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char*, qint64 len) override {
    const qint64 n = std::min(len, room_);
    room_ -= n;
    return n == 0 ? -1 : n;
  }

 private:
  qint64 room_;
};

TEST(BmpWriter, AShortWriteIsReported) {
  const QImage picture = fixtures::noise(300, 300);
  for (qint64 room : {qint64(10), qint64(54), qint64(54 + 900 * 10), platform::bmpFileSize(300, 300) - 1}) {
    ShortDevice device(room);
    EXPECT_FALSE(platform::writeBmp(picture, device)) << room;
  }
  ShortDevice enough(platform::bmpFileSize(300, 300));
  EXPECT_TRUE(platform::writeBmp(picture, enough));
}

}  // namespace
