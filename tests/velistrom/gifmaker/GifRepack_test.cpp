// Re-packing one single-frame GIF file into a frame group: what is copied,
// what is rewritten, what is refused, and truncation anywhere.
#include "velistrom/gifmaker/GifRepack.h"

#include <gtest/gtest.h>

#include "tests/velistrom/gifmaker/GifBuilder.h"

using gifbuild::Gif;
using gifbuild::imageData;
using gifbuild::table;
using gifmaker::ErreurTrame;
using gifmaker::RepackGif;
using gifmaker::TrameGif;

namespace {

const std::vector<QRgb> kColours = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255),
                                    qRgb(255, 255, 0)};
const std::vector<std::uint8_t> kPixels = {0, 1, 2, 3, 3, 2, 1, 0};

QByteArray gceBytes(std::uint8_t packed, int delay, std::uint8_t index) {
  return Gif("").gce(packed, delay, index).bytes();
}
QByteArray descriptorBytes(int w, int h, std::uint8_t packed) {
  return Gif("").descriptor(0, 0, w, h, packed).bytes();
}

struct RepackCase {
  const char* name;
  QByteArray file;
  QByteArray expected;  // the whole frame group
};

std::vector<RepackCase> repackCases() {
  const QByteArray data = imageData(kPixels);
  const QByteArray big = imageData(std::vector<std::uint8_t>(4000, 1), 2, 255);
  const QByteArray global7 = table(kColours, 7);
  const QByteArray local3 = table({qRgb(9, 9, 9)}, 3);
  return {
      {"global table of 768 bytes, descriptor packed 00 becomes 87",
       Gif().screen(4, 2, 0xF7).raw(global7).descriptor(0, 0, 4, 2, 0x00).raw(data).trailer().bytes(),
       gceBytes(0x08, 40, 0) + descriptorBytes(4, 2, 0x87) + global7 + data},
      {"local table behind a global one: copied, packed byte as read",
       Gif().screen(4, 2, 0xF7).raw(global7).descriptor(0, 0, 4, 2, 0x83).raw(local3).raw(data)
           .trailer().bytes(),
       gceBytes(0x08, 40, 0) + descriptorBytes(4, 2, 0x83) + local3 + data},
      {"comment and NETSCAPE blocks before the image are skipped",
       Gif().screen(4, 2, 0x81).raw(table(kColours, 1))
           .extension(0xFE, {"a comment", QByteArray(255, 'x')})
           .extension(0xFF, {"NETSCAPE2.0", QByteArray("\x01\x00\x00", 3)})
           .descriptor(0, 0, 4, 2, 0).raw(data)
           .descriptor(0, 0, 4, 2, 0).raw(imageData({3, 3, 3, 3, 3, 3, 3, 3})).trailer().bytes(),
       gceBytes(0x08, 40, 0) + descriptorBytes(4, 2, 0x81) + table(kColours, 1) + data},
      {"255-byte sub-blocks copied whole",
       Gif().screen(80, 50, 0x81).raw(table(kColours, 1)).descriptor(0, 0, 80, 50, 0).raw(big)
           .trailer().bytes(),
       gceBytes(0x08, 40, 0) + descriptorBytes(80, 50, 0x81) + table(kColours, 1) + big},
      {"GIF87a is accepted",
       Gif("GIF87a").screen(4, 2, 0x81).raw(table(kColours, 1)).descriptor(0, 0, 4, 2, 0).raw(data)
           .trailer().bytes(),
       gceBytes(0x08, 40, 0) + descriptorBytes(4, 2, 0x81) + table(kColours, 1) + data},
      {"own transparent colour kept, disposal 2",
       Gif().screen(4, 2, 0x81).raw(table(kColours, 1)).gce(0x05, 7, 3)
           .descriptor(0, 0, 4, 2, 0).raw(data).trailer().bytes(),
       gceBytes(0x09, 40, 3) + descriptorBytes(4, 2, 0x81) + table(kColours, 1) + data},
      {"transparent flag clear: opaque, whatever the index",
       Gif().screen(4, 2, 0x81).raw(table(kColours, 1)).gce(0x00, 7, 3)
           .descriptor(0, 0, 4, 2, 0).raw(data).trailer().bytes(),
       gceBytes(0x08, 40, 0) + descriptorBytes(4, 2, 0x81) + table(kColours, 1) + data},
      {"interlace bit kept when the global table moves into the image",
       Gif().screen(4, 2, 0x81).raw(table(kColours, 1)).descriptor(0, 0, 4, 2, 0x40).raw(data)
           .trailer().bytes(),
       gceBytes(0x08, 40, 0) + descriptorBytes(4, 2, 0xC1) + table(kColours, 1) + data},
      {"stray bytes between blocks are passed over",
       Gif().screen(4, 2, 0x81).raw(table(kColours, 1)).raw(QByteArray("\x00\x3B\x07", 3))
           .descriptor(0, 0, 4, 2, 0).raw(data).trailer().bytes(),
       gceBytes(0x08, 40, 0) + descriptorBytes(4, 2, 0x81) + table(kColours, 1) + data},
  };
}

}  // namespace

TEST(RepackGif, WritesTheFrameGroupOfEachKindOfFile) {
  for (const RepackCase& c : repackCases()) {
    SCOPED_TRACE(c.name);
    TrameGif trame;
    ASSERT_EQ(RepackGif(c.file, 40, trame), ErreurTrame::Aucune);
    EXPECT_EQ(trame.groupe.toHex(' '), c.expected.toHex(' '));
  }
}

TEST(RepackGif, ReportsTheFramesScreenAndWritesTheDelayLittleEndian) {
  const QByteArray file = Gif().screen(300, 100, 0x81).raw(table(kColours, 1))
                              .descriptor(0, 0, 4, 2, 0).raw(imageData(kPixels)).trailer().bytes();
  TrameGif trame;
  ASSERT_EQ(RepackGif(file, 0x1234, trame), ErreurTrame::Aucune);
  EXPECT_EQ(trame.largeurEcran, 300);
  EXPECT_EQ(trame.hauteurEcran, 100);
  EXPECT_EQ(trame.groupe.mid(4, 2), QByteArray("\x34\x12"));
}

TEST(RepackGif, RefusesWhatIsNotASingleFrameGifItCanCopy) {
  const QByteArray body = Gif("").screen(4, 2, 0x81).raw(table(kColours, 1))
                              .descriptor(0, 0, 4, 2, 0).raw(imageData(kPixels)).trailer().bytes();
  const struct {
    const char* name;
    QByteArray file;
    ErreurTrame expected;
  } cases[] = {
      {"lower-case signature", "gif89a" + body, ErreurTrame::EnteteInvalide},
      {"unknown version", "GIF88a" + body, ErreurTrame::EnteteInvalide},
      {"a PNG", QByteArray("\x89PNG\r\n\x1a\n") + body, ErreurTrame::EnteteInvalide},
      {"five bytes", "GIF89", ErreurTrame::EnteteCourte},
      {"empty", QByteArray(), ErreurTrame::EnteteCourte},
      {"no colour table at all",
       Gif().screen(4, 2, 0x00).descriptor(0, 0, 4, 2, 0x00).raw(imageData(kPixels)).trailer()
           .bytes(),
       ErreurTrame::SansCouleurs},
      {"no image", Gif().screen(4, 2, 0x00).trailer().bytes(), ErreurTrame::Tronquee},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TrameGif trame;
    EXPECT_EQ(RepackGif(c.file, 40, trame), c.expected);
  }
}

// Every prefix of a file that ends before its image data is complete is
// refused as truncated; from there on the frame is complete.
TEST(RepackGif, TruncationAtEveryOffsetIsReportedNeverReadPast) {
  const QByteArray data = imageData(std::vector<std::uint8_t>(600, 2), 2, 100);
  const QByteArray file = Gif().screen(30, 20, 0x81).raw(table(kColours, 1))
                              .extension(0xFE, {"note"}).gce(0x01, 5, 2)
                              .descriptor(0, 0, 30, 20, 0).raw(data).trailer().bytes();
  const qsizetype complete = file.size() - 1;  // the trailer is not needed
  for (qsizetype n = 0; n <= file.size(); ++n) {
    SCOPED_TRACE(n);
    // A copy of exactly n bytes, so that a read past its end is caught.
    const QByteArray prefix(file.constData(), n);
    TrameGif trame;
    const ErreurTrame e = RepackGif(prefix, 40, trame);
    if (n >= complete) EXPECT_EQ(e, ErreurTrame::Aucune);
    else if (n < 6) EXPECT_EQ(e, ErreurTrame::EnteteCourte);
    else EXPECT_EQ(e, ErreurTrame::Tronquee);
  }
}
