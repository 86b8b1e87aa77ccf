// The pictures and sounds that the build draws beside the programs: each one
// present, readable and of the size the windows lay out.
#include "tests/support/TestEnv.h"

#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

enum class Kind { Bmp24, Png, Gif, Jpeg, Wav };

struct Resource {
  std::string name;
  Kind kind;
  int width;   // pixels; for a sound, the shortest length in ms
  int height;  // pixels; for a sound, the longest length in ms
};

// Every toolbar face, normal then hover, in button order.
const char* const kToolbarFaces[] = {
    "camera",    "camerag",    "toutecran",  "camerafen",  "undox",     "moverbox",   "moverboxtim",
    "copy",      "deletex",    "waste",      "savex",      "saveallx",  "printerx",   "paintx",
    "multiselx", "agrandir",   "filmx",      "wrench",     "report",    "closex",     "camerac",
    "cameragc",  "toutecranc", "camerafenc", "undocx",     "moverboxc", "moverboxtimc", "copyc",
    "deletecx",  "wastec",     "savecx",     "saveallcx",  "printercx", "paintcx",    "multiselcx",
    "agrandirc", "filmcx",     "wrenchc",    "reportc",    "closecx"};

std::vector<Resource> resources() {
  std::vector<Resource> all;
  for (const char* stem : kToolbarFaces) all.push_back({std::string(stem) + ".bmp", Kind::Bmp24, 24, 24});
  all.insert(all.end(), {
                            {"toutbleu.bmp", Kind::Bmp24, 24, 24},
                            {"velistrom.png", Kind::Png, 64, 64},
                            {"velistrom_22.png", Kind::Png, 22, 22},
                            {"camera_shutter.png", Kind::Png, 120, 120},
                            {"camera.wav", Kind::Wav, 250, 350},
                            {"Capture.wav", Kind::Wav, 40, 150},
                            {"mark_saved.png", Kind::Png, 17, 17},
                            {"mark_mail.png", Kind::Png, 13, 10},
                            {"slide_arrow.png", Kind::Png, 16, 16},
                            {"flag_fr.png", Kind::Png, 100, 133},
                            {"flag_en.png", Kind::Png, 133, 100},
                            {"cursor_cross.png", Kind::Png, 32, 32},
                            {"valid_button.png", Kind::Png, 32, 32},
                            {"dblheight_help.png", Kind::Png, 380, 434},
                            {"corner_deco.png", Kind::Png, 56, 61},
                            {"nogif_en.gif", Kind::Gif, 266, 333},
                            {"pasdegif.gif", Kind::Gif, 266, 333},
                            {"MinIndisp.jpg", Kind::Jpeg, 70, 70},
                        });
  return all;
}

quint16 le16(const QByteArray& b, int at) { return qFromLittleEndian<quint16>(b.constData() + at); }
quint32 le32(const QByteArray& b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }

// A plain 16-bit mono PCM file with consistent sizes; returns its length in
// ms, or -1 with the reason in `why`.
int wavLengthMs(const QByteArray& b, std::string& why) {
  if (b.size() < 44 || std::memcmp(b.constData(), "RIFF", 4) != 0 || std::memcmp(b.constData() + 8, "WAVEfmt ", 8) != 0) {
    why = "no RIFF/WAVE header";
    return -1;
  }
  if (le32(b, 4) != quint32(b.size() - 8)) {
    why = "RIFF size does not match the file";
    return -1;
  }
  const quint32 rate = le32(b, 24);
  if (le32(b, 16) != 16 || le16(b, 20) != 1 || le16(b, 22) != 1 || le16(b, 34) != 16 || le16(b, 32) != 2 ||
      le32(b, 28) != rate * 2 || rate == 0) {
    why = "not 16-bit mono PCM";
    return -1;
  }
  if (std::memcmp(b.constData() + 36, "data", 4) != 0 || le32(b, 40) != quint32(b.size() - 44)) {
    why = "data chunk does not match the file";
    return -1;
  }
  return int(qint64(le32(b, 40)) / 2 * 1000 / rate);
}

TEST(Resources, EveryDrawnFileIsPresentAndReadable) {
  const QString dir = testenv::binDir();
  ASSERT_FALSE(dir.isEmpty()) << "VELISTROM_BIN_DIR is not set";
  QSet<QByteArray> toolbarDigests;
  for (const Resource& r : resources()) {
    SCOPED_TRACE(r.name);
    QFile f(dir + "/" + QString::fromStdString(r.name));
    if (!f.open(QIODevice::ReadOnly)) {
      ADD_FAILURE() << "missing from " << dir.toStdString();
      continue;
    }
    const QByteArray bytes = f.readAll();
    if (r.kind == Kind::Wav) {
      std::string why;
      const int ms = wavLengthMs(bytes, why);
      if (ms < 0) {
        ADD_FAILURE() << why;
        continue;
      }
      EXPECT_GE(ms, r.width);
      EXPECT_LE(ms, r.height);
      continue;
    }
    QImage img;
    if (!img.loadFromData(bytes, r.kind == Kind::Png    ? "PNG"
                                 : r.kind == Kind::Gif  ? "GIF"
                                 : r.kind == Kind::Jpeg ? "JPG"
                                                        : "BMP")) {
      ADD_FAILURE() << "cannot be read as a picture";
      continue;
    }
    EXPECT_EQ(img.width(), r.width);
    EXPECT_EQ(img.height(), r.height);
    if (r.kind == Kind::Bmp24) {
      ASSERT_GE(bytes.size(), 34);  // a readable bitmap is never shorter
      EXPECT_EQ(le16(bytes, 28), 24) << "not a 24-bit bitmap";
      EXPECT_EQ(le32(bytes, 30), 0u) << "compressed bitmap";
      if (r.name != "toutbleu.bmp") {
        // A face drawn twice (a copy-paste in the table) would show the same
        // picture on two buttons, or no change on hover.
        const QByteArray digest = QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
        EXPECT_FALSE(toolbarDigests.contains(digest)) << "same picture as another toolbar face";
        toolbarDigests.insert(digest);
      }
    }
  }
}

// The list later code reads its names from matches what the build draws.
TEST(Resources, ListInDataFolderNamesEveryFile) {
  QFile doc(QStringLiteral(VELISTROM_TEST_SOURCE_DIR "/../../../data/RESOURCES.md"));
  ASSERT_TRUE(doc.open(QIODevice::ReadOnly | QIODevice::Text));
  QSet<QString> listed;
  const QRegularExpression row(QStringLiteral("^\\| `([^`]+)`"), QRegularExpression::MultilineOption);
  for (auto it = row.globalMatch(QString::fromUtf8(doc.readAll())); it.hasNext();) listed.insert(it.next().captured(1));
  QSet<QString> drawn;
  for (const Resource& r : resources()) drawn.insert(QString::fromStdString(r.name));
  for (const QString& n : drawn) EXPECT_TRUE(listed.contains(n)) << n.toStdString() << " is not in RESOURCES.md";
  for (const QString& n : listed) EXPECT_TRUE(drawn.contains(n)) << n.toStdString() << " is listed but not drawn";
}

}  // namespace
