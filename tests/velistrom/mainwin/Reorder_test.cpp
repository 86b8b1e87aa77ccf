// Moving a capture by typing a position in its box.
#include "tests/velistrom/mainwin/CaptureFixture.h"

#include "platform/forms/Keys.h"
#include "velistrom/mainwin/Vignettes.h"

#include <QTest>

namespace {

using captfix::CaptureList;
using captfix::fileName;

const QColor kColours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::magenta};

class Reorder : public CaptureList {
 protected:
  void SetUp() override {
    CaptureList::SetUp();
    // Capture 2 is portrait, so a move must carry box sizes too.
    const QSize sizes[] = {{40, 30}, {30, 60}, {44, 30}, {46, 30}, {48, 30}};
    for (int i = 0; i < 5; ++i) add(kColours[i], sizes[i].width(), sizes[i].height());
    // Capture 5 is current (just added); capture 2 is saved, capture 4 ticked
    // for mail and mailed.
    gTabSauv[2] = "/saved/two.png";
    fl().PictSave[2].setVisible(true);
    fl().Chksav[2].setValue(1);
    fl().Chkmail[4].setValue(1);
    fl().pictmail[4].setVisible(true);
    for (int i = 1; i <= 5; ++i) {
      width_[i] = fl().Image1[i].Width();
      height_[i] = fl().Image1[i].Height();
      bigWidth_[i] = fl().Gimage1[i].Width();
      bigHeight_[i] = fl().Gimage1[i].Height();
    }
  }
  // Types text in box `box` and presses Enter.
  void type(int box, const QString& text) {
    fl().Txtordre[box].setText(text);
    int key = 'A';
    fl().Txtordre_KeyDown(box, key, 0);
    key = vb::vbKeyReturn;
    fl().Txtordre_KeyDown(box, key, 0);
  }
  int width_[6] = {}, height_[6] = {}, bigWidth_[6] = {}, bigHeight_[6] = {};
};

struct MoveCase {
  const char* name;
  int box;
  const char* text;
  std::array<int, 5> order;  // the former position now at 1..5
  int current;               // gNumCapt afterwards (capture 5 was current)
  bool refused;
};

TEST_F(Reorder, MovesAsATable) {
  const MoveCase cases[] = {
      {"02 typed in box 5", 5, "02", {1, 5, 2, 3, 4}, 2, false},
      {"5 typed in box 1", 1, "5", {2, 3, 4, 5, 1}, 4, false},
      {"3 typed in box 3: nothing", 3, "3", {1, 2, 3, 4, 5}, 5, false},
      {"beyond the list", 3, "9", {1, 2, 3, 4, 5}, 5, true},
      {"zero", 2, "0", {1, 2, 3, 4, 5}, 5, true},
      {"negative", 2, "-1", {1, 2, 3, 4, 5}, 5, true},
      {"not a number", 2, "abc", {1, 2, 3, 4, 5}, 5, true},
      {"a fraction", 2, "2.6", {1, 2, 3, 4, 5}, 5, true},
      {"empty", 4, "", {1, 2, 3, 4, 5}, 5, true},
  };
  for (const MoveCase& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    if (c.refused) testenv::dialogs().expectMsgBox("Positions go up to 5", vb::vbOK);
    type(c.box, c.text);
    testenv::dialogs().verify();
    if (c.refused) {
      EXPECT_EQ(testenv::dialogs().shown().back().icon, "critical");
    }
    EXPECT_EQ(gNumCapt, c.current);
    EXPECT_EQ(gNbCapt, 5);
    for (int i = 1; i <= 5; ++i) {
      SCOPED_TRACE(i);
      const int k = c.order[i - 1];
      EXPECT_EQ(gTabNomCapt[i], fileName(k));
      EXPECT_EQ(thumbColour(i), kColours[k - 1]);
      EXPECT_EQ(bigColour(i), kColours[k - 1]);
      EXPECT_EQ(fl().Image1[i].Width(), width_[k]);
      EXPECT_EQ(fl().Image1[i].Height(), height_[k]);
      EXPECT_EQ(fl().Gimage1[i].Width(), bigWidth_[k]);
      EXPECT_EQ(fl().Gimage1[i].Height(), bigHeight_[k]);
      EXPECT_EQ(fl().Image1[i].Top(), 840 + (i - 1) * 1800);  // rows stay put
      EXPECT_EQ(fl().Gimage1[i].Top(), vign::HautAgrandie(fl().Image1[i].Top(), bigHeight_[k]));
      EXPECT_TRUE(exists(i));
      // The saved mark, the saved flag and the mail tick follow their captures.
      EXPECT_EQ(fl().PictSave[i].Visible(), k == 2);
      EXPECT_EQ(fl().Chksav[i].Value(), k == 2 ? 1 : 0);
      EXPECT_EQ(gTabSauv[i], k == 2 ? "/saved/two.png" : "");
      EXPECT_EQ(fl().Chkmail[i].Value(), k == 4 ? 1 : 0);
      EXPECT_EQ(fl().pictmail[i].Visible(), k == 4);
      // Labels keep the number the capture got when it was added.
      EXPECT_TRUE(fl().Lbldim[i].Caption().startsWith(vb::Format(k, "00") + "/")) << fl().Lbldim[i].Caption().toStdString();
      // Every box shows its own position and takes input again.
      EXPECT_EQ(fl().Txtordre[i].Text(), vb::Format(i, "00"));
      EXPECT_TRUE(fl().Txtordre[i].Enabled());
      EXPECT_EQ(fl().Image1[i].BorderStyle(), i == c.current ? 1 : 0);
    }
  }
}

TEST_F(Reorder, AKeyInOneBoxLocksTheOthersUntilEnter) {
  int key = '2';
  fl().Txtordre_KeyDown(5, key, 0);
  for (int i = 1; i <= 4; ++i) EXPECT_FALSE(fl().Txtordre[i].Enabled()) << i;
  EXPECT_TRUE(fl().Txtordre[5].Enabled());
  type(5, "1");
  for (int i = 1; i <= 5; ++i) EXPECT_TRUE(fl().Txtordre[i].Enabled()) << i;
  EXPECT_EQ(gTabNomCapt[1], fileName(5));
}

TEST_F(Reorder, RealKeysInTheBoxMoveTheCapture) {
  QWidget* box = fl().Txtordre[5].widget();
  fl().Txtordre[5].setText("");
  QTest::keyClicks(box, "1");
  EXPECT_FALSE(fl().Txtordre[2].Enabled());
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(gTabNomCapt[1], fileName(5));
  EXPECT_EQ(fl().Txtordre[5].Text(), "05");
  EXPECT_TRUE(fl().Txtordre[2].Enabled());
}

TEST_F(Reorder, AMovedCaptureIsDeletedAsItself) {
  type(1, "4");  // order now 2 3 4 1 5
  int pos = 4;
  m().SuppVignette(pos);
  EXPECT_FALSE(exists(1));
  const int rest[] = {2, 3, 4, 5};
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(gTabNomCapt[i], fileName(rest[i - 1]));
    EXPECT_EQ(thumbColour(i), kColours[rest[i - 1] - 1]);
  }
}

}  // namespace
