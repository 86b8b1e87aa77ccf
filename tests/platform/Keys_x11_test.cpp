// The key state sees keys held through XTest by another connection, and stops
// seeing them once released; a tap between two reads is seen once.
#include "platform/Keys.h"
#include "platform/X11Display.h"
#include "tests/support/XTestKeys.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

class KeysX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(platform::x11Display(), nullptr);
    ASSERT_TRUE(input.ok());
  }
  void TearDown() override {
    input.releaseAll();
    if (platform::KeySnapshot::read().state().numLock) input.tap("Num_Lock");
  }
  testsupport::XTestInput input;
};

TEST_F(KeysX11, CtrlLetterAndDigitHeldThenReleased) {
  ASSERT_TRUE(input.press("Control_L"));
  ASSERT_TRUE(input.press("z"));
  ASSERT_TRUE(input.press("5"));
  platform::KeySnapshot s = platform::KeySnapshot::read();
  EXPECT_TRUE(s.isDown(17));
  EXPECT_TRUE(s.isDown(162));
  EXPECT_TRUE(s.isDown(90));
  EXPECT_TRUE(s.isDown(53));
  EXPECT_FALSE(s.isDown(65));
  EXPECT_FALSE(s.isDown(16));
  EXPECT_EQ(platform::asyncKeyState(90) & platform::asyncKeyState(17), short(-32768));

  ASSERT_TRUE(input.release("z"));
  s = platform::KeySnapshot::read();
  EXPECT_FALSE(s.isDown(90));
  EXPECT_TRUE(s.isDown(17));
  input.releaseAll();
  EXPECT_FALSE(platform::keyDown(17));
  EXPECT_FALSE(platform::keyDown(53));
  EXPECT_EQ(platform::asyncKeyState(17), 0);
}

TEST_F(KeysX11, KeypadDigitsCountOnlyWithNumLockOn) {
  ASSERT_FALSE(platform::KeySnapshot::read().state().numLock);
  ASSERT_TRUE(input.press("KP_1"));
  platform::KeySnapshot s = platform::KeySnapshot::read();
  EXPECT_FALSE(s.isDown(97));
  EXPECT_TRUE(s.isDown(35));  // End, as the key reads without NumLock
  input.release("KP_1");

  ASSERT_TRUE(input.tap("Num_Lock"));
  ASSERT_TRUE(platform::KeySnapshot::read().state().numLock);
  ASSERT_TRUE(input.press("KP_1"));
  s = platform::KeySnapshot::read();
  EXPECT_TRUE(s.isDown(97));
  EXPECT_FALSE(s.isDown(35));
  EXPECT_FALSE(s.isDown(49));  // the main-row 1 is another key
  input.release("KP_1");
  EXPECT_FALSE(platform::keyDown(97));
}

TEST_F(KeysX11, RightCtrlAndMouseButton) {
  ASSERT_TRUE(input.press("Control_R"));
  EXPECT_TRUE(platform::keyDown(17));
  EXPECT_TRUE(platform::keyDown(163));
  EXPECT_FALSE(platform::keyDown(162));
  input.pressButton(1);
  EXPECT_TRUE(platform::keyDown(1));
  EXPECT_FALSE(platform::keyDown(2));
  input.releaseButton(1);
  EXPECT_FALSE(platform::keyDown(1));
}

TEST_F(KeysX11, ATapBetweenTwoReadsIsSeenOnceByTheNextRead) {
  ASSERT_TRUE(platform::keyPressesSeen()) << "XInput2 raw key events on this server";
  platform::KeySnapshot::read();  // what came before

  ASSERT_TRUE(input.press("Control_L"));
  ASSERT_TRUE(input.tap("z"));
  ASSERT_TRUE(input.release("Control_L"));
  input.sync();
  platform::KeySnapshot s = platform::KeySnapshot::read();
  EXPECT_FALSE(s.isDown(90));
  EXPECT_TRUE(s.wasPressed(90));
  EXPECT_EQ(s.asyncState(90), 1);
  EXPECT_EQ(s.asyncState(17), 1);
  EXPECT_EQ(s.asyncState(65), 0);
  s = platform::KeySnapshot::read();
  EXPECT_EQ(s.asyncState(90), 0) << "taken by the read before";

  // Two taps between two reads are one press since the previous read.
  ASSERT_TRUE(input.tap("z"));
  ASSERT_TRUE(input.tap("z"));
  input.sync();
  EXPECT_EQ(platform::KeySnapshot::read().asyncState(90), 1);
  EXPECT_EQ(platform::KeySnapshot::read().asyncState(90), 0);
}

TEST_F(KeysX11, TheOldCallTakesOnlyItsOwnKeysPress) {
  platform::KeySnapshot::read();
  ASSERT_TRUE(input.tap("f"));
  ASSERT_TRUE(input.press("g"));
  input.sync();
  EXPECT_EQ(platform::asyncKeyState(70), 1);
  EXPECT_EQ(platform::asyncKeyState(70), 0);
  EXPECT_EQ(platform::asyncKeyState(71), short(0x8001)) << "still there after the F read";
  EXPECT_EQ(platform::asyncKeyState(71), short(0x8000));
  EXPECT_TRUE(platform::keyDown(71));
  input.release("g");
  input.sync();
  EXPECT_EQ(platform::asyncKeyState(71), 0);
}

TEST_F(KeysX11, AKeyHeldAcrossReadsIsOnePress) {
  platform::KeySnapshot::read();
  ASSERT_TRUE(input.press("z"));
  input.sync();
  EXPECT_EQ(platform::KeySnapshot::read().asyncState(90), short(0x8001));
  // Long enough for the server's auto-repeat to start (660 ms by default).
  for (int i = 0; i < 10; ++i) {
    QTest::qWait(100);
    EXPECT_EQ(platform::KeySnapshot::read().asyncState(90), short(0x8000)) << "read " << i;
  }
  input.release("z");
  input.sync();
  EXPECT_EQ(platform::KeySnapshot::read().asyncState(90), 0);
}

}  // namespace
