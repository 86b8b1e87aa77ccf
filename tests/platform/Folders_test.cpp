// The per-user folders come from the XDG locations of the running user.
#include "platform/Folders.h"
#include "platform/Imaging.h"
#include "platform/forms/App.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

TEST(Folders, DataFolderFollowsXdgAndIsCreatedWithItsParents) {
  EXPECT_EQ(platform::appDataFolder(), testenv::dataHome());
  const QString deep = testenv::home() + "/not/yet/there";
  qputenv("XDG_DATA_HOME", deep.toLocal8Bit());
  EXPECT_EQ(platform::appDataFolder(), deep);
  EXPECT_EQ(platform::velistromDataFolder(), deep + "/Velistrom");
  EXPECT_TRUE(QFileInfo(deep + "/Velistrom").isDir());
  EXPECT_EQ(platform::velistromDataFolder(), deep + "/Velistrom");  // already there
}

TEST(Folders, AnUncreatableDataFolderIsEmpty) {
  QFile blocker(testenv::home() + "/file");
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  qputenv("XDG_DATA_HOME", (blocker.fileName() + "/data").toLocal8Bit());
  EXPECT_EQ(platform::velistromDataFolder(), QString());
}

TEST(Folders, DocumentsAreAnExistingFolderInTheHome) {
  // A fresh account: no documents folder yet, then one that cannot be made.
  ASSERT_FALSE(QFileInfo::exists(testenv::home() + "/Documents"));
  const QString docs = platform::documentsFolder();
  EXPECT_TRUE(docs.startsWith(testenv::home())) << docs.toStdString();
  EXPECT_TRUE(QFileInfo(docs).isDir()) << docs.toStdString();

  ASSERT_TRUE(QDir(docs).removeRecursively());
  QFile blocker(docs);
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  EXPECT_EQ(platform::documentsFolder(), QDir::homePath());
}

// A relative XDG base counts as unset: nothing goes under the working folder.
TEST(Folders, ARelativeXdgBaseCountsAsUnset) {
  const QString cwd = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(testenv::home()));
  qputenv("XDG_DATA_HOME", "rel-data");
  qputenv("XDG_CONFIG_HOME", "rel-config");
  EXPECT_EQ(platform::appDataFolder(), testenv::home() + "/.local/share");
  EXPECT_EQ(platform::velistromDataFolder(), testenv::home() + "/.local/share/Velistrom");
  EXPECT_EQ(vb::settingsFile("Velistrom"), testenv::home() + "/.config/Velistrom/Velistrom.ini");
  EXPECT_FALSE(QFileInfo::exists(testenv::home() + "/rel-data"));
  EXPECT_FALSE(QFileInfo::exists(testenv::home() + "/rel-config"));
  QDir::setCurrent(cwd);
}

mode_t modeOf(const QString& path) {
  struct stat st {};
  return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 07777) : mode_t(0xFFFF);
}

// Captures can show anything that was on the screen: the programs' folder,
// the base folders the program makes, and the pictures written there are the
// user's alone under any umask; a picture saved elsewhere follows the umask.
TEST(Folders, ThePrivateFolderAndItsFilesAreTheUsersAlone) {
  const mode_t saved = ::umask(022);
  const QString base = testenv::home() + "/fresh/share";
  qputenv("XDG_DATA_HOME", base.toLocal8Bit());
  const QString own = platform::velistromDataFolder();
  ASSERT_EQ(own, base + "/Velistrom");
  EXPECT_EQ(modeOf(testenv::home() + "/fresh"), 0700u);
  EXPECT_EQ(modeOf(base), 0700u);
  EXPECT_EQ(modeOf(own), 0700u);
  // A run folder, and a leftover folder of an older run made 0755.
  ASSERT_TRUE(platform::makePrivateFolder(own + "/tempocapt1"));
  EXPECT_EQ(modeOf(own + "/tempocapt1"), 0700u);
  ASSERT_TRUE(QDir().mkdir(own + "/tempocapt2"));
  ::chmod(QFile::encodeName(own + "/tempocapt2").constData(), 0755);
  ASSERT_TRUE(platform::makePrivateFolder(own + "/tempocapt2"));
  EXPECT_EQ(modeOf(own + "/tempocapt2"), 0700u);
  // A base folder that was there keeps its own permissions.
  ::chmod(QFile::encodeName(base).constData(), 0755);
  ASSERT_FALSE(platform::velistromDataFolder().isEmpty());
  EXPECT_EQ(modeOf(base), 0755u);

  QImage img(4, 4, QImage::Format_RGB32);
  img.fill(Qt::red);
  const auto* bmp = platform::findEncoderByMime("image/bmp");
  ASSERT_NE(bmp, nullptr);
  for (const mode_t mask : {mode_t(022), mode_t(0)}) {
    ::umask(mask);
    const QString capture = own + "/tempocapt1/capt" + QString::number(mask) + ".bmp";
    ASSERT_EQ(platform::savePicture(img, capture, bmp->clsid), platform::ImageStatus::Ok);
    EXPECT_EQ(modeOf(capture), 0600u) << mask;
    const QString temporary = own + "/tempocapt1/Captprov_" + QString::number(mask) + ".bmp";
    ASSERT_EQ(platform::saveTemporaryBitmap(img, temporary), platform::ImageStatus::Ok);
    EXPECT_EQ(modeOf(temporary), 0600u) << mask;
    const QString chosen = testenv::home() + "/chosen" + QString::number(mask) + ".bmp";
    ASSERT_EQ(platform::savePicture(img, chosen, bmp->clsid), platform::ImageStatus::Ok);
    EXPECT_EQ(modeOf(chosen), 0666u & ~mask) << mask;
  }
  ::umask(saved);
}

}  // namespace
