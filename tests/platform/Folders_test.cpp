// The per-user folders come from the XDG locations of the running user.
#include "platform/Folders.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

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

}  // namespace
