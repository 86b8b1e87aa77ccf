// The PNG writer: every form gives back the same pixels, and the form chosen is
// the smallest one that holds them.
#include "platform/PngWriter.h"

#include <gtest/gtest.h>

#include <QBuffer>

#include "bench/Fixtures.h"
#include "tests/platform/PictureFixtures.h"

namespace {

constexpr int kGrey = 0, kRgb = 2, kPalette = 3, kRgba = 6;

struct Written {
  QByteArray bytes;
  int bitDepth = 0;
  int colourType = -1;
  QImage back;
};

// Writes `image` and reads the header and pixels back.
Written writeAndRead(const QImage& image) {
  Written w;
  QBuffer buffer(&w.bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_EQ(platform::writePng(image, buffer), platform::ImageStatus::Ok);
  if (w.bytes.size() < 26 || !w.bytes.startsWith("\x89PNG\r\n\x1a\n")) return w;
  w.bitDepth = static_cast<unsigned char>(w.bytes[24]);  // IHDR follows the signature
  w.colourType = static_cast<unsigned char>(w.bytes[25]);
  w.back.loadFromData(w.bytes, "PNG");
  return w;
}

QImage greyLevels(const std::vector<int>& levels, int width = 37, int height = 9) {
  QImage img(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int g = levels[(x * 7 + y * 3) % levels.size()];
      img.setPixel(x, y, qRgb(g, g, g));
    }
  return img;
}

std::vector<int> steps(int count, int step) {
  std::vector<int> v;
  for (int i = 0; i < count; ++i) v.push_back(i * step);
  return v;
}

TEST(PngWriter, ColourCountChoosesThePaletteDepth) {
  struct Case {
    int colours, bitDepth, colourType;
  };
  const Case cases[] = {
      {2, 1, kPalette}, {4, 2, kPalette}, {16, 4, kPalette}, {17, 8, kPalette},
      {256, 8, kPalette}, {257, 8, kRgb},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.colours);
    const QImage picture = fixtures::distinctColours(c.colours);
    const Written w = writeAndRead(picture);
    EXPECT_EQ(w.bitDepth, c.bitDepth);
    EXPECT_EQ(w.colourType, c.colourType);
    EXPECT_EQ(w.back.convertToFormat(QImage::Format_RGB32), picture);
  }
}

// Grey is written as grey when its levels fit a depth no higher than the
// palette's; other greys stay a palette.
TEST(PngWriter, GreyPicturesAsGreyAtTheirLowestDepth) {
  struct Case {
    const char* name;
    std::vector<int> levels;
    int bitDepth, colourType;
  };
  const Case cases[] = {
      {"black and white", {0, 255}, 1, kGrey},
      {"four even levels", steps(4, 85), 2, kGrey},
      {"sixteen even levels", steps(16, 17), 4, kGrey},
      {"every level", steps(256, 1), 8, kGrey},
      {"two odd levels", {100, 201}, 1, kPalette},
      {"thirty odd levels", steps(30, 3), 8, kGrey},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QImage picture = greyLevels(c.levels, c.levels.size() > 100 ? 256 : 37);
    const Written w = writeAndRead(picture);
    EXPECT_EQ(w.bitDepth, c.bitDepth);
    EXPECT_EQ(w.colourType, c.colourType);
    EXPECT_EQ(w.back.convertToFormat(QImage::Format_RGB32), picture);
  }
}

TEST(PngWriter, AlphaStaysTrueColourWithAlpha) {
  QImage picture(31, 7, QImage::Format_ARGB32);
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      picture.setPixel(x, y, qRgba(x * 8, 40, 200, (x * 8 + y * 30) % 256));
  const Written w = writeAndRead(picture);
  EXPECT_EQ(w.colourType, kRgba);
  EXPECT_EQ(w.bitDepth, 8);
  EXPECT_EQ(w.back.convertToFormat(QImage::Format_ARGB32), picture);
}

// Screenshot-sized pictures of each kind (and an odd width, whose packed rows
// end inside a byte) read back pixel for pixel.
TEST(PngWriter, FixturesReadBackIdentical) {
  const struct {
    const char* name;
    QImage picture;
  } cases[] = {
      {"desktop", benchfix::desktopFixture()},
      {"dialog", benchfix::dialogFixture()},
      {"photo", benchfix::photoFixture()},
      {"terminal", benchfix::terminalFixture()},
      {"odd width", fixtures::knownPixels()},
      {"gradient", fixtures::gradient()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Written w = writeAndRead(c.picture);
    ASSERT_FALSE(w.back.isNull());
    EXPECT_EQ(w.back.convertToFormat(QImage::Format_RGB32), c.picture);
  }
}

TEST(PngWriter, RefusingDeviceIsAnError) {
  QBuffer closed;  // not open: every write fails
  EXPECT_EQ(platform::writePng(fixtures::knownPixels(), closed), platform::ImageStatus::GenericError);
  EXPECT_EQ(platform::writePng(QImage(), closed), platform::ImageStatus::InvalidParameter);
}

}  // namespace
