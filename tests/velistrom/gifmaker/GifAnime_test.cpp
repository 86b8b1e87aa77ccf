// The animated file: its layout byte by byte, what Qt's reader and gifsicle
// make of it, and the creation from frame files with its failures.
#include "velistrom/gifmaker/GifAnime.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include "tests/support/Files.h"
#include "tests/velistrom/gifmaker/GifBuilder.h"

using namespace gifmaker;

namespace {

TrameGif trame(int w, int h, char marque) {
  // A recognisable group: the re-packer's output is tested on its own.
  return {w, h, QByteArray("\x21\xF9\x04\x08\x28\x00\x00\x00\x2C", 9) + QByteArray(9, marque)};
}

QByteArray frameFile(int w, int h, QRgb colour, const std::vector<std::uint8_t>& pixels = {}) {
  std::vector<std::uint8_t> px = pixels;
  if (px.empty()) px.assign(size_t(w * h), 0);
  return gifbuild::simple(w, h, {colour, qRgb(255, 255, 255)}, px, 0);
}

bool write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

using testsupport::readFile;

}  // namespace

TEST(GifAnime, LayoutOfTheFile) {
  const std::vector<TrameGif> abc = {trame(300, 100, 'A'), trame(200, 250, 'B'),
                                     trame(10, 10, 'C')};
  const QByteArray a = abc[0].groupe, b = abc[1].groupe, c = abc[2].groupe;
  const QByteArray loop("\x21\xFF\x0B" "NETSCAPE2.0" "\x03\x01\xFF\xFF\x00", 19);
  const QByteArray screen300x250("GIF89a\x2C\x01\xFA\x00\x00\x00\x00", 13);
  const struct {
    const char* name;
    std::vector<TrameGif> trames;
    bool boucle, allerRetour;
    QByteArray expected;
  } cases[] = {
      {"loop, A B C", abc, true, false, screen300x250 + loop + a + b + c + ";"},
      {"no loop block at all", abc, false, false, screen300x250 + a + b + c + ";"},
      {"back and forth: A B C C B A", abc, true, true,
       screen300x250 + loop + a + b + c + c + b + a + ";"},
      {"no frame", {}, true, false, QByteArray("GIF89a\0\0\0\0\0\0\0", 13) + loop + ";"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.name);
    EXPECT_EQ(AssembleGif(t.trames, t.boucle, t.allerRetour).toHex(' '), t.expected.toHex(' '));
  }
}

TEST(GifAnime, FileNameFromTheTime) {
  EXPECT_EQ(NomGifAnime("/save", "14:30:05"), "/save/animgif143005.gif");
}

// The whole road from frame files: Qt decodes the input pixels frame by frame,
// colour 0 of an opaque frame included, and gifsicle accepts the file.
TEST(GifAnime, CreatedFileDecodesToTheFramesAndPassesGifsicle) {
  QTemporaryDir dir;
  const QRgb colours[3] = {qRgb(200, 0, 0), qRgb(0, 150, 0), qRgb(0, 0, 250)};
  QStringList frames;
  for (int i = 0; i < 3; ++i) {
    const QString path = dir.filePath(QString("f%1.gif").arg(i));
    // Column 0 white (index 1), the rest the frame's colour (index 0).
    std::vector<std::uint8_t> px;
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 8; ++x) px.push_back(x == 0 ? 1 : 0);
    ASSERT_TRUE(write(path, frameFile(8, 6, colours[i], px)));
    frames << path;
  }
  const QString out = dir.filePath("animgif000000.gif");
  const ResultatCreation r = CreeGifAnime(frames, 40, true, true, out);
  ASSERT_EQ(r.etat, ResultatCreation::Ok) << r.message.toStdString();

  QImageReader reader(out);
  ASSERT_TRUE(reader.canRead());
  EXPECT_EQ(reader.imageCount(), 6);
  EXPECT_EQ(reader.size(), QSize(8, 6));
  const int order[6] = {0, 1, 2, 2, 1, 0};
  for (int k = 0; k < 6; ++k) {
    SCOPED_TRACE(k);
    const QImage frame = reader.read();
    ASSERT_FALSE(frame.isNull());
    EXPECT_EQ(reader.nextImageDelay(), 400);
    EXPECT_EQ(frame.pixel(0, 3), qRgb(255, 255, 255));
    EXPECT_EQ(frame.pixel(5, 3), colours[order[k]]);  // opaque
  }

  QProcess gifsicle;
  gifsicle.start("gifsicle", {"--info", out});
  ASSERT_TRUE(gifsicle.waitForFinished(10000)) << "gifsicle (Debian package gifsicle) is needed";
  EXPECT_EQ(gifsicle.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(gifsicle.exitCode(), 0) << gifsicle.readAllStandardError().toStdString();
  const QString info = QString::fromUtf8(gifsicle.readAllStandardOutput());
  EXPECT_TRUE(info.contains("6 images")) << info.toStdString();
  EXPECT_TRUE(info.contains("loop count 65535")) << info.toStdString();
  EXPECT_TRUE(gifsicle.readAllStandardError().isEmpty());
}

// A frame that fails leaves nothing at the output's name.
TEST(GifAnime, AFailingFrameLeavesNoOutput) {
  QTemporaryDir dir;
  const QString good = dir.filePath("good.gif");
  ASSERT_TRUE(write(good, frameFile(4, 4, qRgb(1, 2, 3))));
  const QByteArray whole = readFile(good);
  const struct {
    const char* name;
    QByteArray second;  // null: the file does not exist
    ResultatCreation::Etat expected;
  } cases[] = {
      {"missing frame file", QByteArray(), ResultatCreation::TrameIllisible},
      {"bad header", "GIF00a" + whole.mid(6), ResultatCreation::EnteteInvalide},
      {"truncated inside its data", whole.left(whole.size() - 3), ResultatCreation::Tronquee},
      {"three bytes", "GIF", ResultatCreation::EnteteCourte},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString second = dir.filePath("second.gif");
    QFile::remove(second);
    if (!c.second.isNull()) {
      ASSERT_TRUE(write(second, c.second));
    }
    const QString out = dir.filePath("animgif.gif");
    const ResultatCreation r = CreeGifAnime({good, second}, 10, true, false, out);
    EXPECT_EQ(r.etat, c.expected);
    EXPECT_EQ(r.trame, 1);
    EXPECT_FALSE(QFile::exists(out));
  }
  // The output's folder cannot be written.
  const ResultatCreation r =
      CreeGifAnime({good}, 10, true, false, dir.filePath("no/such/folder/animgif.gif"));
  EXPECT_EQ(r.etat, ResultatCreation::EcritureImpossible);
  EXPECT_FALSE(r.message.isEmpty());
}
