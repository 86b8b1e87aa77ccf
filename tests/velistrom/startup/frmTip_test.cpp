// The tip of the day: the start-up setting, the draw, Next, OK and the box.
#include "velistrom/startup/frmTip.h"

#include "platform/forms/App.h"
#include "platform/forms/Runtime.h"
#include "tests/support/TestEnv.h"
#include "velistrom/core/GlobTextes.h"

#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const char kKey[] = "Options/Show Tips at Startup";

// The settings file as another program would read it.
QVariant stored() {
  QSettings s(vb::settingsFile(vb::App.EXEName()), QSettings::IniFormat);
  return s.value(kKey);
}
void store(const QString& value) {
  QSettings s(vb::settingsFile(vb::App.EXEName()), QSettings::IniFormat);
  s.setValue(kKey, value);
  s.sync();
}

class TipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gTips = QStringList{"tip one", "tip two", "tip three", "tip four", "tip five"};
    gLng168 = "Did you know...?";
    gLng169 = "Next tip";
    gLng170 = "Tip of the day";
    gLng171 = "Show tips at start-up";
    gLng174 = "Close";
    // A fixed clock makes the seed, and so the draws, repeatable.
    vb::setWallClock([] { return QDateTime(QDate(2026, 3, 4), QTime(10, 20, 30, 400)); });
  }
  void TearDown() override {
    frmTip.destroyNow();
    gTips.clear();
  }
  static QString shownTip() { return frmTip.existing()->lblTipText.Caption(); }
};

TEST_F(TipTest, TheStoredSettingDecidesWhetherTheWindowComes) {
  struct Case {
    const char* name;
    std::optional<QString> value;
    bool shown;
    QString after;  // the stored value once the window has loaded
  };
  const Case cases[] = {
      {"missing", std::nullopt, true, "1"},
      {"0", QString("0"), false, "0"},
      {"1", QString("1"), true, "1"},
      {"not a number", QString("abc"), true, "1"},
      {"empty", QString(""), true, "1"},
      {"zero with blanks", QString(" 0 "), false, " 0 "},
  };
  for (const Case& c : cases) {
    QFile::remove(vb::settingsFile(vb::App.EXEName()));
    if (c.value) store(*c.value);
    frmTip().Show();
    const bool visible = frmTip.existing() && frmTip.existing()->Visible();
    EXPECT_EQ(visible, c.shown) << c.name;
    EXPECT_EQ(stored().toString(), c.after) << c.name;
    frmTip.destroyNow();
  }
}

TEST_F(TipTest, ShowsTheLanguageTextsAndATipAsPlainText) {
  gTips = QStringList{"<b>Ctrl</b> & Z &amp; more"};
  frmTip().Show();
  ASSERT_TRUE(frmTip.existing());
  FrmTip& f = *frmTip.existing();
  EXPECT_EQ(f.Caption(), "Tip of the day");
  EXPECT_EQ(f.Label1.Caption(), "Did you know...?");
  EXPECT_EQ(f.cmdOK.Caption(), "Close");
  EXPECT_EQ(f.cmdNextTip.Caption(), "Next tip");
  EXPECT_EQ(f.chkLoadTipsAtStartup.Caption(), "Show tips at start-up");
  EXPECT_EQ(f.chkLoadTipsAtStartup.Value(), 1);
  auto* label = qobject_cast<QLabel*>(f.lblTipText.widget());
  ASSERT_TRUE(label);
  EXPECT_EQ(label->textFormat(), Qt::PlainText);
  EXPECT_EQ(label->text(), "<b>Ctrl</b> & Z &amp; more") << "shown as it stands";
  EXPECT_FALSE(f.Timer1.running()) << "the window does not close by itself";
}

TEST_F(TipTest, UncheckingWritesZeroAtOnceAndTheNextStartShowsNothing) {
  frmTip().Show();
  ASSERT_TRUE(frmTip.existing());
  EXPECT_EQ(stored().toString(), "1") << "created at the first showing";
  QTest::mouseClick(frmTip->chkLoadTipsAtStartup.widget(), Qt::LeftButton, {}, QPoint(6, 8));
  EXPECT_EQ(frmTip->chkLoadTipsAtStartup.Value(), 0);
  EXPECT_EQ(stored().toString(), "0") << "written at once";
  EXPECT_TRUE(frmTip->Visible()) << "the window stays open";
  QTest::mouseClick(frmTip->cmdOK.widget(), Qt::LeftButton);
  EXPECT_FALSE(frmTip.existing());

  QTest::qWait(0);
  frmTip().Show();
  EXPECT_FALSE(frmTip.existing() && frmTip.existing()->Visible());
  tips::EcrireAfficherAuDemarrage(true);  // the main window's re-enable command
  frmTip.destroyNow();
  frmTip().Show();
  EXPECT_TRUE(frmTip.existing() && frmTip->Visible());
}

TEST_F(TipTest, EnterAndEscapeClose) {
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    frmTip().Show();
    ASSERT_TRUE(frmTip.existing());
    QTest::keyClick(frmTip->widget(), key);
    EXPECT_FALSE(frmTip.existing()) << key;
    frmTip.destroyNow();
  }
}

TEST_F(TipTest, TipsAreDrawnFromTheSeedAndNextDrawsAgain) {
  // From a known generator state, seeded at 10:20:30.40, the old generator
  // gives 0.2721, 0.8462, 0.4784, 0.4560, 0.0883, 0.9341: with five tips,
  // Int(R * 5 + 1) is tip 2, 5, 3, 3, 1, 5 (drawn with replacement, both ends).
  const QStringList want{"tip two", "tip five", "tip three", "tip three", "tip one", "tip five"};
  vb::Rnd(-1);
  frmTip().Show();
  ASSERT_TRUE(frmTip.existing());
  QStringList got{shownTip()};
  for (int i = 0; i < 5; ++i) {
    QTest::mouseClick(frmTip->cmdNextTip.widget(), Qt::LeftButton);
    got << shownTip();
  }
  EXPECT_EQ(got, want);
  EXPECT_EQ(frmTip->AstuceCourante, gTips.indexOf(got.last()) + 1);
}

TEST_F(TipTest, OneTipOrNone) {
  gTips = QStringList{"the only tip"};
  frmTip().Show();
  ASSERT_TRUE(frmTip.existing());
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(shownTip(), "the only tip");
    frmTip->cmdNextTip_Click();
  }
  frmTip.destroyNow();

  gTips.clear();
  frmTip().Show();
  ASSERT_TRUE(frmTip.existing());
  EXPECT_TRUE(frmTip->Visible());
  EXPECT_EQ(shownTip(), "");
  frmTip->cmdNextTip_Click();
  EXPECT_EQ(shownTip(), "");
}

}  // namespace
