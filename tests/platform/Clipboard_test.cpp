// The clipboard on Qt's offscreen platform (in-process): pictures and texts.
#include "platform/Clipboard.h"

#include <gtest/gtest.h>

#include "tests/platform/PictureFixtures.h"

namespace cb = platform::clipboard;

TEST(Clipboard, PictureAndTextRoundTripAndReplaceEachOther) {
  const QImage pic = fixtures::knownPixels();
  cb::setPicture(pic);
  ASSERT_TRUE(cb::hasPicture());
  EXPECT_EQ(cb::picture().convertToFormat(QImage::Format_RGB32), pic);

  cb::setText("Capture 03");
  EXPECT_EQ(cb::text(), "Capture 03");
  EXPECT_FALSE(cb::hasPicture());  // a new content replaces the old one
  EXPECT_TRUE(cb::picture().isNull());

  cb::setPicture(pic);
  EXPECT_TRUE(cb::text().isEmpty());
}

TEST(Clipboard, ClearLeavesNothing) {
  cb::setPicture(fixtures::knownPixels());
  cb::clear();
  EXPECT_FALSE(cb::hasPicture());
  EXPECT_TRUE(cb::picture().isNull());
  EXPECT_TRUE(cb::text().isEmpty());
}
