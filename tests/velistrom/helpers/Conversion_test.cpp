// Picture conversion: formats, the JPEG quality rule, encoder look-up, and the
// failure box (through the scripted dialog service: an unexpected box fails).
#include "velistrom/helpers/Conversion.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/Imaging.h"
#include "platform/forms/MsgBox.h"
#include "tests/support/ReadOnlyFolder.h"
#include "tests/platform/PictureFixtures.h"
#include "tests/support/ScriptedDialogs.h"
#include "velistrom/core/GlobTextes.h"
#include "tests/support/Files.h"

namespace {

using testsupport::readFile;

class ConvImage : public ::testing::Test {
 protected:
  void SetUp() override {
    savedText_ = gLng190;
    gLng190 = "The picture could not be converted";
    ASSERT_TRUE(fixtures::noise(48, 32).save(src(), "BMP"));
  }
  void TearDown() override {
    testenv::dialogs().verify();
    gLng190 = savedText_;
  }

  QString src() const { return dir_.filePath("Captprov_01.bmp"); }
  QString path(const QString& name) const { return dir_.filePath(name); }
  // The failure box: critical, OK only, the application's title.
  static void expectFailureBox(int status) {
    testenv::dialogs().expectMsgBox("\rStatus Code= " + QString::number(status), vb::vbOK);
  }
  static const std::vector<testenv::ScriptedDialogs::Shown>& boxes() {
    return testenv::dialogs().shown();
  }
  QByteArray convert(int format, int quality, const QString& name = "out") {
    EXPECT_TRUE(Conversion::ConvImage(src(), path(name), format, quality));
    return readFile(path(name));
  }

  QTemporaryDir dir_;
  QString savedText_;
};

}  // namespace

// 0 and 100 are used as they are; anything outside 0 to 100 is 75.
TEST_F(ConvImage, JpegQualityOutsideZeroToHundredGivesTheBytesOf75) {
  const QByteArray q75 = convert(Conversion::FormatJpeg, 75);
  for (int q : {101, -1, 32767, -32768}) {
    SCOPED_TRACE(q);
    EXPECT_EQ(convert(Conversion::FormatJpeg, q), q75);
  }
  const QByteArray q0 = convert(Conversion::FormatJpeg, 0);
  const QByteArray q100 = convert(Conversion::FormatJpeg, 100);
  EXPECT_NE(q0, q75);
  EXPECT_NE(q100, q75);
  EXPECT_LT(q0.size(), q75.size());
  EXPECT_GT(q100.size(), q75.size());
  EXPECT_EQ(Conversion::QualiteJpeg(0), 0);
  EXPECT_EQ(Conversion::QualiteJpeg(100), 100);
  EXPECT_TRUE(boxes().empty());
}

namespace {

// The markers of a JPEG file before its scan: each marker's code and body.
std::vector<std::pair<int, QByteArray>> jpegMarkers(const QByteArray& f) {
  std::vector<std::pair<int, QByteArray>> out;
  for (int i = 2; i + 4 <= f.size() && quint8(f[i]) == 0xFF;) {
    const int code = quint8(f[i + 1]), length = quint8(f[i + 2]) * 256 + quint8(f[i + 3]);
    out.emplace_back(code, f.mid(i + 4, length - 2));
    if (code == 0xDA) break;  // the scan follows
    i += 2 + length;
  }
  return out;
}

// The example tables of the JPEG standard (Annex K), in zigzag order, as the
// IJG library scales them for a quality: 5000 / q below 50, 200 - 2q from 50.
std::vector<int> scaledTable(const int (&natural)[64], int quality) {
  static const int zigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                 12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};
  const int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
  std::vector<int> t;
  for (int k = 0; k < 64; ++k) t.push_back(std::clamp((natural[zigzag[k]] * scale + 50) / 100, 1, 255));
  return t;
}
const int kLuma[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                       14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                       18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                       49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
const int kChroma[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                         24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                         99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                         99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

}  // namespace

// What a quality means stays what it meant: the standard's tables at that
// quality, colour at half resolution both ways, a baseline file any viewer
// reads. Only the coding of the numbers is made for the picture: the same
// pixels as with the standard Huffman tables, in fewer bytes.
TEST_F(ConvImage, JpegKeepsTheQualitysTablesAndPixelsInFewerBytes) {
  QImage smooth(320, 240, QImage::Format_RGB32);  // smooth waves, like a photo
  for (int y = 0; y < smooth.height(); ++y)
    for (int x = 0; x < smooth.width(); ++x)
      smooth.setPixel(x, y, qRgb(int(127.5 + 127.5 * std::sin(x / 40.0 + std::sin(y / 30.0))),
                                 int(127.5 + 127.5 * std::sin(y / 23.0 + std::cos(x / 57.0))),
                                 int(127.5 + 127.5 * std::sin(x / 66.0 + y / 37.0 + 2))));
  ASSERT_TRUE(smooth.save(src(), "BMP"));
  for (int quality : {70, 30, 95}) {
    SCOPED_TRACE(quality);
    const QByteArray ours = convert(Conversion::FormatJpeg, quality);
    QByteArray standard;
    {
      QBuffer buffer(&standard);
      buffer.open(QIODevice::WriteOnly);
      QImageWriter writer(&buffer, "jpeg");
      writer.setQuality(quality);
      ASSERT_TRUE(writer.write(smooth));
    }
    std::vector<std::vector<int>> tables;
    QByteArray sampling;
    bool baseline = false;
    for (const auto& [code, body] : jpegMarkers(ours)) {
      if (code == 0xDB)
        for (int i = 0; i + 65 <= body.size(); i += 65) {  // 8-bit tables: id, then 64 values
          std::vector<int> t;
          for (int k = 1; k <= 64; ++k) t.push_back(quint8(body[i + k]));
          tables.push_back(t);
        }
      if (code == 0xC0) {
        baseline = true;
        for (int c = 0; c < quint8(body[5]); ++c) sampling += body[6 + 3 * c + 1];
      }
    }
    EXPECT_TRUE(baseline) << "not a baseline (SOF0) file";
    EXPECT_EQ(sampling, QByteArray("\x22\x11\x11", 3)) << "luma 2x2, chroma 1x1";
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0], scaledTable(kLuma, quality));
    EXPECT_EQ(tables[1], scaledTable(kChroma, quality));
    EXPECT_EQ(QImage::fromData(ours), QImage::fromData(standard)) << "the same pixels";
    EXPECT_LT(ours.size(), standard.size() * 9 / 10);
  }
}

TEST_F(ConvImage, BmpGifAndPngIgnoreTheQuality) {
  struct Case {
    int format;
    QByteArray signature;
  };
  for (const Case& c : {Case{Conversion::FormatBmp, "BM"}, Case{Conversion::FormatGif, "GIF89a"},
                        Case{Conversion::FormatPng, "\x89PNG"}}) {
    SCOPED_TRACE(c.format);
    const QByteArray reference = convert(c.format, 75);
    EXPECT_TRUE(reference.startsWith(c.signature));
    for (int q : {0, 100, -1, 32767}) EXPECT_EQ(convert(c.format, q), reference);
  }
}

TEST_F(ConvImage, ConvertedPicturesKeepTheirPixels) {
  const QImage known = fixtures::knownPixels();
  ASSERT_TRUE(known.save(src(), "BMP"));
  for (int format : {Conversion::FormatBmp, Conversion::FormatGif, Conversion::FormatPng}) {
    SCOPED_TRACE(format);
    convert(format, 0);
    QImage back;
    ASSERT_EQ(platform::loadPicture(path("out"), back), platform::ImageStatus::Ok);
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), known);
  }
}

TEST(ClsidEncodeur, FindsTheEncoderWhateverTheCaseAndLeavesTheIdentifierOnAMiss) {
  QUuid lower, upper;
  const int pos = Conversion::ClsidEncodeur("image/jpeg", lower);
  EXPECT_EQ(Conversion::ClsidEncodeur("IMAGE/JPEG", upper), pos);
  EXPECT_EQ(upper, lower);
  EXPECT_FALSE(lower.isNull());
  EXPECT_EQ(pos, 2);  // BMP, JPEG, GIF, PNG
  EXPECT_EQ(Conversion::ClsidEncodeur("image/png", upper), 4);

  QUuid kept = lower;
  EXPECT_EQ(Conversion::ClsidEncodeur("image/tiff", kept), -1);
  EXPECT_EQ(Conversion::ClsidEncodeur("", kept), -1);
  EXPECT_EQ(kept, lower);
}

TEST_F(ConvImage, MissingSourceShowsTheBoxWithItsPathAndWritesNothing) {
  const QString missing = path("gone.bmp");
  expectFailureBox(10);
  EXPECT_FALSE(Conversion::ConvImage(missing, path("out.jpg"), Conversion::FormatJpeg, 70));
  EXPECT_FALSE(QFile::exists(path("out.jpg")));
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].icon, "critical");
  EXPECT_EQ(boxes()[0].buttons & 7, vb::vbOKOnly);
  EXPECT_FALSE(boxes()[0].title.isEmpty());  // the application's title
  EXPECT_EQ(boxes()[0].text,
            "The picture could not be converted\r" + missing + " !\rStatus Code= 10");
}

TEST_F(ConvImage, AnUnreadableSourceOrAnUnknownFormatIsRefused) {
  QFile junk(path("junk.bmp"));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write("not a picture");
  junk.close();
  expectFailureBox(13);
  expectFailureBox(2);
  expectFailureBox(2);
  EXPECT_FALSE(Conversion::ConvImage(path("junk.bmp"), path("a.png"), Conversion::FormatPng, 0));
  EXPECT_FALSE(Conversion::ConvImage(src(), path("b.png"), 5, 0));
  EXPECT_FALSE(Conversion::ConvImage(src(), path("c.png"), 0, 0));
  EXPECT_FALSE(QFile::exists(path("a.png")));
  EXPECT_FALSE(QFile::exists(path("b.png")));
  EXPECT_FALSE(QFile::exists(path("c.png")));
}

TEST_F(ConvImage, ASecondConversionReplacesTheDestination) {
  const QString dest = path("Capt_001.png");
  convert(Conversion::FormatPng, 0, "Capt_001.png");
  ASSERT_TRUE(fixtures::knownPixels().save(src(), "BMP"));
  convert(Conversion::FormatPng, 0, "Capt_001.png");
  QImage back;
  ASSERT_EQ(platform::loadPicture(dest, back), platform::ImageStatus::Ok);
  EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), fixtures::knownPixels());
}

// The write fails half-way (file size limit): the box is shown, the caller
// learns it, and the earlier file is still there, whole.
TEST_F(ConvImage, AFailedWriteLeavesTheExistingDestinationIntact) {
  const QByteArray earlier = convert(Conversion::FormatBmp, 0, "Capt_001.bmp");
  ASSERT_TRUE(fixtures::noise(256, 256).save(src(), "BMP"));
  expectFailureBox(7);
  {
    fixtures::FileSizeLimit limit(earlier.size() + 100);
    EXPECT_FALSE(Conversion::ConvImage(src(), path("Capt_001.bmp"), Conversion::FormatBmp, 0));
  }
  EXPECT_EQ(readFile(path("Capt_001.bmp")), earlier);
  EXPECT_EQ(QDir(dir_.path()).entryList({"Capt_001*"}, QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(ConvImage, AReadOnlyFolderRefusesTheWriteAndKeepsTheDestination) {
  const QString ro = path("ro");
  ASSERT_TRUE(QDir().mkpath(ro));
  ASSERT_TRUE(Conversion::ConvImage(src(), ro + "/a.gif", Conversion::FormatGif, 0));
  const QByteArray earlier = readFile(ro + "/a.gif");
  ASSERT_TRUE(fixtures::knownPixels().save(src(), "BMP"));
  testsupport::ReadOnlyFolder lock(ro);
  expectFailureBox(12);
  EXPECT_FALSE(Conversion::ConvImage(src(), ro + "/a.gif", Conversion::FormatGif, 0));
  EXPECT_EQ(readFile(ro + "/a.gif"), earlier);
}

// Many at once: every destination holds the bytes a single ConvImage writes,
// and the failures come after, one box each, in list order.
TEST_F(ConvImage, ManyAtOnceGiveTheSameFilesAndReportFailuresInOrder) {
  const QByteArray single = convert(Conversion::FormatGif, 0, "single.gif");
  std::vector<std::pair<QString, QString>> pairs;
  for (int i = 0; i < 12; ++i)
    pairs.emplace_back(i == 3 || i == 9 ? path(QString("gone%1.bmp").arg(i)) : src(),
                       path(QString("f%1.gif").arg(i)));
  expectFailureBox(10);
  expectFailureBox(10);
  const std::vector<bool> written = Conversion::ConvImages(pairs, Conversion::FormatGif, 0);
  testenv::dialogs().verify();
  ASSERT_EQ(written.size(), pairs.size());
  for (size_t i = 0; i < pairs.size(); ++i) {
    SCOPED_TRACE(i);
    const bool bad = i == 3 || i == 9;
    EXPECT_EQ(written[i], !bad);
    if (bad) {
      EXPECT_FALSE(QFile::exists(pairs[i].second));
    } else {
      EXPECT_EQ(readFile(pairs[i].second), single);
    }
  }
  ASSERT_EQ(boxes().size(), 2u);
  EXPECT_TRUE(boxes()[0].text.contains("gone3.bmp"));
  EXPECT_TRUE(boxes()[1].text.contains("gone9.bmp"));
}
