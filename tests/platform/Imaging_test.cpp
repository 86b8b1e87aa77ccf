// Picture encoders, loading and saving, and the GIF writer.
#include "platform/Imaging.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <functional>
#include <memory>

#include "platform/GifWriter.h"
#include "tests/support/ReadOnlyFolder.h"
#include "tests/platform/PictureFixtures.h"
#include "tests/support/Files.h"

using platform::ImageStatus;

namespace {

using testsupport::readFile;

QUuid encoderFor(const char* mime) {
  const auto* e = platform::findEncoderByMime(mime);
  return e ? e->clsid : QUuid();
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QImage load(const QString& path) {
  QImage img;
  EXPECT_EQ(platform::loadPicture(path, img), ImageStatus::Ok) << path.toStdString();
  return img;
}

// The GIF as giflib reads it back, so the structure can be checked.
struct GifStructure {
  int images = 0;
  int globalColours = 0;  // 0: no global colour table
  bool localTable = false;
};

GifStructure readGifStructure(const QString& path) {
  GifStructure s;
  int error = 0;
  GifFileType* gif = DGifOpenFileName(QFile::encodeName(path).constData(), &error);
  if (!gif) return s;
  if (DGifSlurp(gif) == GIF_OK) {
    s.images = gif->ImageCount;
    s.globalColours = gif->SColorMap ? gif->SColorMap->ColorCount : 0;
    s.localTable = gif->ImageCount > 0 && gif->SavedImages[0].ImageDesc.ColorMap != nullptr;
  }
  DGifCloseFile(gif, &error);
  return s;
}

class Imaging : public ::testing::Test {
 protected:
  QString path(const QString& name) const { return dir_.filePath(name); }
  QTemporaryDir dir_;
};

}  // namespace

TEST(ImageEncoders, ListsTheFourFormatsInOrderWithDistinctIdentifiers) {
  const auto& list = platform::imageEncoders();
  ASSERT_EQ(list.size(), 4u);
  const char* mimes[] = {"image/bmp", "image/jpeg", "image/gif", "image/png"};
  for (size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(list[i].mimeType, mimes[i]);
    EXPECT_FALSE(list[i].clsid.isNull());
    for (size_t j = 0; j < i; ++j) EXPECT_NE(list[i].clsid, list[j].clsid);
  }
  EXPECT_EQ(platform::findEncoderByMime("IMAGE/PNG"), &list[3]);
  EXPECT_EQ(platform::findEncoderByMime("image/tiff"), nullptr);
}

// Every format writes its own kind of file and gives the pixels back:
// BMP and PNG exactly (few and many colours), GIF (six colours) exactly, JPEG closely (its decoder
// smooths colour edges, so the measure is the PSNR and the block centres).
TEST_F(Imaging, RoundTripOfKnownPixelsThroughEachFormat) {
  struct Case {
    const char* mime;
    QByteArray signature;
    QImage picture;
  };
  const Case cases[] = {
      {"image/bmp", "BM", fixtures::knownPixels()},
      {"image/png", "\x89PNG", fixtures::knownPixels()},  // palette PNG
      {"image/png", "\x89PNG", fixtures::gradient()},     // true-colour PNG
      {"image/bmp", "BM", fixtures::gradient()},
      {"image/gif", "GIF89a", fixtures::knownPixels()},
      {"image/jpeg", "\xff\xd8\xff", fixtures::colourBlocks()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mime);
    const QString file = path("out");
    ASSERT_EQ(platform::savePicture(c.picture, file, encoderFor(c.mime), 95), ImageStatus::Ok);
    EXPECT_TRUE(readFile(file).startsWith(c.signature));
    const QImage back = load(file).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(back.size(), c.picture.size());
    if (QByteArray(c.mime) != "image/jpeg") {
      EXPECT_EQ(back, c.picture);
      continue;
    }
    EXPECT_GE(platform::picturePsnr(back, c.picture), 25.0);
    for (const QPoint centre : {QPoint(16, 8), QPoint(48, 8), QPoint(16, 24), QPoint(48, 24)})
      EXPECT_LE(fixtures::maxChannelDifference(back.copy(QRect(centre, QSize(1, 1))),
                                               c.picture.copy(QRect(centre, QSize(1, 1)))),
                4);
  }
}

TEST_F(Imaging, BmpIs24BitWithoutAlphaEvenFromATransparentPicture) {
  QImage argb(5, 3, QImage::Format_ARGB32);
  argb.fill(qRgba(10, 20, 30, 0));
  ASSERT_EQ(platform::savePicture(argb, path("a.bmp"), encoderFor("image/bmp")), ImageStatus::Ok);
  const QByteArray bytes = readFile(path("a.bmp"));
  ASSERT_GE(bytes.size(), 30);
  EXPECT_EQ(static_cast<unsigned char>(bytes[28]), 24);  // bits per pixel
  EXPECT_EQ(load(path("a.bmp")).pixel(2, 1), qRgb(10, 20, 30));
}

TEST_F(Imaging, JpegQualityReachesTheEncoder) {
  const QImage img = fixtures::noise(64, 64);
  ASSERT_EQ(platform::savePicture(img, path("lo.jpg"), encoderFor("image/jpeg"), 10),
            ImageStatus::Ok);
  ASSERT_EQ(platform::savePicture(img, path("hi.jpg"), encoderFor("image/jpeg"), 95),
            ImageStatus::Ok);
  ASSERT_EQ(platform::savePicture(img, path("def.jpg"), encoderFor("image/jpeg")), ImageStatus::Ok);
  ASSERT_EQ(platform::savePicture(img, path("75.jpg"), encoderFor("image/jpeg"), 75),
            ImageStatus::Ok);
  EXPECT_LT(readFile(path("lo.jpg")).size() * 2, readFile(path("hi.jpg")).size());
  EXPECT_EQ(readFile(path("def.jpg")), readFile(path("75.jpg")));
}

TEST_F(Imaging, EveryFailureHasItsStatusAndWritesNothing) {
  writeFile(path("junk.bmp"), "this is not a picture");
  QImage img;
  EXPECT_EQ(platform::loadPicture(path("missing.bmp"), img), ImageStatus::FileNotFound);
  EXPECT_TRUE(img.isNull());
  EXPECT_EQ(platform::loadPicture(path("junk.bmp"), img), ImageStatus::UnknownImageFormat);
  EXPECT_EQ(platform::loadPicture(dir_.path(), img), ImageStatus::AccessDenied);

  const QImage pic = fixtures::knownPixels();
  const QUuid png = encoderFor("image/png");
  EXPECT_EQ(platform::savePicture(QImage(), path("a.png"), png), ImageStatus::InvalidParameter);
  EXPECT_EQ(platform::savePicture(pic, path("a.png"), QUuid()), ImageStatus::InvalidParameter);
  EXPECT_EQ(platform::savePicture(pic, path("a.jpg"), encoderFor("image/jpeg"), 101),
            ImageStatus::InvalidParameter);
  EXPECT_EQ(platform::savePicture(pic, path("no/such/folder/a.png"), png),
            ImageStatus::FileNotFound);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"junk.bmp"});
}

// A write that fails half-way (the file size limit stops it) leaves the old
// destination and no temporary file, in every format.
TEST_F(Imaging, AFailedWriteKeepsTheExistingDestination) {
  const QImage big = fixtures::noise();
  for (const char* mime : {"image/bmp", "image/jpeg", "image/gif", "image/png"}) {
    SCOPED_TRACE(mime);
    writeFile(path("dest"), "previous file");
    {
      fixtures::FileSizeLimit limit(2048);
      EXPECT_EQ(platform::savePicture(big, path("dest"), encoderFor(mime), 90),
                ImageStatus::SystemError);
    }
    EXPECT_EQ(readFile(path("dest")), "previous file");
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"dest"});
  }
}

TEST_F(Imaging, ReadOnlyFolderRefusesTheSaveAndKeepsTheDestination) {
  const QString ro = path("ro");
  ASSERT_TRUE(QDir().mkpath(ro));
  writeFile(ro + "/dest.png", "previous file");
  testsupport::ReadOnlyFolder lock(ro);
  EXPECT_EQ(platform::savePicture(fixtures::knownPixels(), ro + "/dest.png", encoderFor("image/png")),
            ImageStatus::AccessDenied);
  EXPECT_EQ(readFile(ro + "/dest.png"), "previous file");
}

TEST_F(Imaging, ANewFileGetsOrdinaryPermissions) {
  ASSERT_EQ(platform::savePicture(fixtures::knownPixels(), path("p.png"), encoderFor("image/png")),
            ImageStatus::Ok);
  EXPECT_TRUE(QFile::permissions(path("p.png")) & QFile::ReadOther);  // not a 0600 temporary file
}

// The capture list's temporary bitmap: the BMP file savePicture writes, taking
// its name only once complete (nothing else ever shows in the folder), and
// failing as a save fails, the destination kept.
TEST_F(Imaging, ATemporaryBitmapIsTheSavedBmpAndFailsAsASaveDoes) {
  const QImage picture = fixtures::noise(301, 77);
  ASSERT_EQ(platform::savePicture(picture, path("saved.bmp"), encoderFor("image/bmp")), ImageStatus::Ok);
  const QByteArray bmp = readFile(path("saved.bmp"));
  QFile::remove(path("saved.bmp"));
  const QString dest = path("Captprov_01.bmp");
  for (const bool existing : {false, true}) {
    SCOPED_TRACE(existing ? "over an existing file" : "a new file");
    if (existing) writeFile(dest, "previous file");
    ASSERT_EQ(platform::saveTemporaryBitmap(picture, dest), ImageStatus::Ok);
    EXPECT_TRUE(readFile(dest) == bmp);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Captprov_01.bmp"});
    EXPECT_TRUE(QFile::permissions(dest) & QFile::ReadOther) << "outside the programs' folder: the umask's";
  }

  const QString ro = path("ro");
  ASSERT_TRUE(QDir().mkpath(ro));
  writeFile(ro + "/dest.bmp", "previous file");
  const struct {
    const char* what;
    QString dest;
    QImage picture;
    ImageStatus status;
    std::function<std::shared_ptr<void>()> during;
  } failures[] = {
      {"no picture", dest, QImage(), ImageStatus::InvalidParameter, [] { return nullptr; }},
      {"no such folder", path("no/such/folder/a.bmp"), picture, ImageStatus::FileNotFound, [] { return nullptr; }},
      {"a full disk", dest, picture, ImageStatus::SystemError,
       [] { return std::make_shared<fixtures::FileSizeLimit>(2048); }},
      {"a read-only folder", ro + "/dest.bmp", picture, ImageStatus::AccessDenied,
       [&] { return std::make_shared<testsupport::ReadOnlyFolder>(ro); }},
  };
  writeFile(dest, "previous file");
  for (const auto& f : failures) {
    SCOPED_TRACE(f.what);
    {
      const auto held = f.during();
      EXPECT_EQ(platform::saveTemporaryBitmap(f.picture, f.dest), f.status);
    }
    EXPECT_EQ(readFile(dest), "previous file");
    EXPECT_EQ(readFile(ro + "/dest.bmp"), "previous file");
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Captprov_01.bmp"});
    EXPECT_EQ(QDir(ro).entryList(QDir::Files | QDir::Hidden), QStringList{"dest.bmp"});
  }
}

TEST_F(Imaging, GifIsOneFrameWithAGlobalTableOnly) {
  ASSERT_EQ(platform::savePicture(fixtures::knownPixels(), path("k.gif"), encoderFor("image/gif")),
            ImageStatus::Ok);
  const GifStructure s = readGifStructure(path("k.gif"));
  EXPECT_TRUE(readFile(path("k.gif")).startsWith("GIF89a"));
  EXPECT_EQ(s.images, 1);
  EXPECT_EQ(s.globalColours, 8);  // six colours in the next power of two
  EXPECT_FALSE(s.localTable);
}

TEST(GifPalette, ExactUpTo256ColoursAndNotBeyond) {
  const QImage full = fixtures::distinctColours(256);
  const auto exact = platform::exactPalette(full);
  ASSERT_TRUE(exact.has_value());
  EXPECT_EQ(exact->palette.size(), 256u);
  EXPECT_EQ(platform::indexedToImage(*exact), full);
  EXPECT_FALSE(platform::exactPalette(fixtures::distinctColours(257)).has_value());
  const auto one = platform::exactPalette(QImage(3, 3, QImage::Format_RGB32));
  ASSERT_TRUE(one.has_value());
}

TEST(GifPalette, OneColourPictureMakesAValidFile) {
  QImage img(4, 4, QImage::Format_RGB32);
  img.fill(qRgb(1, 2, 3));
  QBuffer buf;
  buf.open(QIODevice::WriteOnly);
  ASSERT_EQ(platform::writeGif(img, buf), ImageStatus::Ok);
  QImage back;
  ASSERT_TRUE(back.loadFromData(buf.data(), "GIF"));
  EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32).pixel(3, 3), qRgb(1, 2, 3));
}

// A many-coloured picture goes through a quantiser; each one must stay close.
TEST_F(Imaging, GradientGifStaysWithinItsPsnrBound) {
  struct Case {
    platform::GifQuantiser q;
    const char* name;
    double minPsnr;
  };
  const Case cases[] = {{platform::GifQuantiser::Auto, "auto", 34},
                        {platform::GifQuantiser::ImageQuant, "imagequant", 34},
                        {platform::GifQuantiser::ImageQuantSlow, "imagequant-slow", 34},
                        {platform::GifQuantiser::ImageQuantDithered, "imagequant-dithered", 31},
                        {platform::GifQuantiser::Giflib, "giflib", 26}};
  const QImage grad = fixtures::gradient();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QFile f(path(QString(c.name) + ".gif"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(platform::writeGif(grad, f, c.q), ImageStatus::Ok);
    f.close();
    const QImage back = load(f.fileName());
    ASSERT_EQ(back.size(), grad.size());
    const double psnr = platform::picturePsnr(grad, back);
    EXPECT_GE(psnr, c.minPsnr);
    EXPECT_LE(readGifStructure(f.fileName()).globalColours, 256);
  }
}

TEST(Psnr, IsInfiniteForEqualPicturesAndFallsWithDifference) {
  const QImage a = fixtures::gradient(32, 32);
  EXPECT_TRUE(std::isinf(platform::picturePsnr(a, a)));
  QImage b = a;
  b.setPixel(0, 0, qRgb(255, 255, 255));
  QImage c = a;
  for (int x = 0; x < 32; ++x) c.setPixel(x, 0, qRgb(255, 255, 255));
  EXPECT_GT(platform::picturePsnr(a, b), platform::picturePsnr(a, c));
  EXPECT_EQ(platform::picturePsnr(a, QImage(3, 3, QImage::Format_RGB32)), 0.0);
}
