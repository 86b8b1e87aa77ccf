// The 24-bit bitmap class: its header and row length, drawing through its
// painter, the copy from another picture, and the pixels as a BMP file.
#include "velistrom/helpers/aDIBSection.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>
#include <QImage>

namespace {

TEST(aDIBSection, RowsArePaddedToFourBytes) {
  struct Case {
    int width, bytes;
  };
  for (const Case c : {Case{1, 4}, Case{2, 8}, Case{3, 12}, Case{4, 12}, Case{5, 16}, Case{640, 1920}}) {
    aDIBSection dib;
    ASSERT_TRUE(dib.Create(c.width, 3));
    EXPECT_EQ(dib.BytesPerScanLine(), c.bytes) << c.width;
    // The pixel memory really is laid out that way.
    EXPECT_EQ(dib.hDib()->bytesPerLine(), c.bytes) << c.width;
    EXPECT_EQ(dib.Header().biSizeImage, std::uint32_t(c.bytes * 3));
  }
}

TEST(aDIBSection, CreateFillsTheHeaderAndOpensThePainter) {
  aDIBSection dib;
  ASSERT_TRUE(dib.Create(7, 5));
  EXPECT_EQ(dib.Width(), 7);
  EXPECT_EQ(dib.Height(), 5);
  const auto& h = dib.Header();
  EXPECT_EQ(h.biSize, 40u);
  EXPECT_EQ(h.biPlanes, 1);
  EXPECT_EQ(h.biBitCount, 24);
  EXPECT_EQ(h.biCompression, 0u);
  ASSERT_NE(dib.hDib(), nullptr);
  ASSERT_NE(dib.hdc(), nullptr);
  EXPECT_TRUE(dib.hdc()->isActive());
  EXPECT_EQ(dib.DIBSectionBitsPtr(), dib.hDib()->bits());
}

TEST(aDIBSection, RefusedSizesLeaveEverythingEmpty) {
  for (const QSize s : {QSize(0, 5), QSize(5, 0), QSize(-3, 4)}) {
    aDIBSection dib;
    ASSERT_TRUE(dib.Create(4, 4));
    EXPECT_FALSE(dib.Create(s.width(), s.height()));
    EXPECT_EQ(dib.hDib(), nullptr);
    EXPECT_EQ(dib.hdc(), nullptr);
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
  }
}

TEST(aDIBSection, ClearUpEmptiesAndIsHarmlessTwice) {
  aDIBSection dib;
  dib.ClearUp();  // nothing yet
  EXPECT_EQ(dib.hDib(), nullptr);
  ASSERT_TRUE(dib.Create(3, 3));
  dib.ClearUp();
  dib.ClearUp();
  EXPECT_EQ(dib.hDib(), nullptr);
  EXPECT_EQ(dib.hdc(), nullptr);
  EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
}

TEST(aDIBSection, DrawingReachesThePixelMemoryInBlueGreenRedOrder) {
  aDIBSection dib;
  ASSERT_TRUE(dib.Create(5, 2));
  dib.hdc()->fillRect(QRect(1, 1, 1, 1), QColor(10, 20, 30));
  const uchar* row1 = dib.DIBSectionBitsPtr() + dib.BytesPerScanLine();
  EXPECT_EQ(row1[3], 30);  // blue
  EXPECT_EQ(row1[4], 20);
  EXPECT_EQ(row1[5], 10);  // red
  EXPECT_EQ(row1[0], 0);   // untouched pixels are black
}

TEST(aDIBSection, PictureCopiesAndTheirRasterOperations) {
  QImage picture(6, 4, QImage::Format_RGB32);
  picture.fill(QColor(0, 0, 0));
  picture.setPixelColor(0, 0, QColor(200, 100, 50));
  picture.setPixelColor(5, 3, QColor(1, 2, 3));
  picture.setPixelColor(2, 1, QColor(0x0F, 0xF0, 0x55));

  aDIBSection dib;
  dib.CreateFromPicture(picture);
  ASSERT_EQ(dib.Width(), 6);
  ASSERT_EQ(dib.Height(), 4);
  EXPECT_EQ(dib.hDib()->pixelColor(0, 0), QColor(200, 100, 50));
  EXPECT_EQ(dib.hDib()->pixelColor(5, 3), QColor(1, 2, 3));

  // A part of the source lands at (0, 0); -1 takes the section's own size.
  dib.hdc()->fillRect(QRect(0, 0, 6, 4), Qt::white);
  dib.LoadPictureBlt(picture, 2, 1, 1, 1);
  EXPECT_EQ(dib.hDib()->pixelColor(0, 0), QColor(0x0F, 0xF0, 0x55));
  EXPECT_EQ(dib.hDib()->pixelColor(1, 0), QColor(Qt::white));
  dib.LoadPictureBlt(picture, 0, 0, -1, -1, aDIBSection::kSrcInvert);
  EXPECT_EQ(dib.hDib()->pixelColor(0, 0), QColor(0x0F ^ 200, 0xF0 ^ 100, 0x55 ^ 50));
  EXPECT_EQ(dib.hDib()->pixelColor(1, 0), QColor(Qt::white));  // white XOR black

  aDIBSection empty;
  empty.CreateFromPicture(QImage());
  EXPECT_EQ(empty.hDib(), nullptr);
}

TEST(aDIBSection, RecreatingReplacesTheSection) {
  aDIBSection dib;
  ASSERT_TRUE(dib.Create(2, 2));
  dib.hdc()->fillRect(QRect(0, 0, 2, 2), Qt::red);
  ASSERT_TRUE(dib.Create(3, 1));
  EXPECT_EQ(dib.hDib()->size(), QSize(3, 1));
  EXPECT_EQ(dib.hDib()->pixelColor(0, 0), QColor(Qt::black));
  EXPECT_TRUE(dib.hdc()->isActive());
}

TEST(aDIBSection, ItsPixelsMakeABmpThatQtReadsBack) {
  aDIBSection dib;
  ASSERT_TRUE(dib.Create(5, 3));  // 15 bytes a row: padding on every row
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) dib.hdc()->fillRect(QRect(x, y, 1, 1), QColor(x * 50, y * 80, 7));
  dib.hdc()->end();  // everything drawn is in memory
  const QString path = testenv::home() + "/dib.bmp";
  ASSERT_TRUE(dib.hDib()->save(path, "BMP"));

  const QImage back(path);
  ASSERT_EQ(back.size(), QSize(5, 3));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(back.pixelColor(x, y), QColor(x * 50, y * 80, 7)) << x << "," << y;
}

}  // namespace
