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

TEST(Folders, DocumentsAreInTheHome) {
  EXPECT_TRUE(platform::documentsFolder().startsWith(testenv::home())) << platform::documentsFolder().toStdString();
}

}  // namespace
