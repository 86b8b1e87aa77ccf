// The start-up window on a real X server: only the flags and labels are left of
// it, the key colour is cut out of its shape and lets clicks through.
#include "velistrom/startup/FrmChoixLng.h"

#include "platform/WindowMask.h"
#include "tests/support/TestEnv.h"
#include "tests/support/XTestKeys.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/startup/LangLoader.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// A plain window that counts the presses it receives.
class Plate : public QWidget {
 public:
  explicit Plate(QRect geometry) : QWidget(nullptr, Qt::FramelessWindowHint) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::red);
    setPalette(p);
    setGeometry(geometry);
  }
  int presses = 0;

 protected:
  void mousePressEvent(QMouseEvent*) override { ++presses; }
};

QPoint centreOf(const vb::Control& c) {
  return QPoint(vb::twipsToPixels(c.Left() + c.Width() / 2), vb::twipsToPixels(c.Top() + c.Height() / 2));
}

class StartFormX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(program.isValid());  // no language files: the flags must show
    startup::setDossierLangues(program.path());
  }
  void TearDown() override {
    frmChoixLng.destroyNow();
    startup::setDossierLangues(QString());
  }
  // Shows the form and waits until its shape is in force.
  QWidget* showForm() {
    frmChoixLng().Show();
    if (!frmChoixLng.existing()) return nullptr;
    QWidget* w = frmChoixLng->widget();
    if (!QTest::qWaitForWindowExposed(w)) return nullptr;
    QTest::qWait(200);
    return w;
  }
  QTemporaryDir program;
};

TEST_F(StartFormX11, OnlyFlagsAndLabelsAreLeftOfTheWindow) {
  QWidget* w = showForm();
  ASSERT_TRUE(w);
  ASSERT_TRUE(platform::colourKeyActive(w));
  const QRegion shape = platform::colourKeyShape(w);
  EXPECT_TRUE(shape.contains(centreOf(frmChoixLng->Image1)));
  EXPECT_TRUE(shape.contains(centreOf(frmChoixLng->Image2)));
  EXPECT_FALSE(shape.contains(QPoint(5, w->height() - 5))) << "the background is see-through";
  EXPECT_FALSE(shape.contains(QPoint(w->width() - 5, w->height() - 5)));
}

TEST_F(StartFormX11, ClicksOnTheBackgroundGoThroughAndAFlagTakesItsClick) {
  testsupport::XTestInput input;
  if (!input.ok()) GTEST_SKIP() << "no XTest";
  // A window over the whole screen, below the form, catches what goes through.
  Plate below(QGuiApplication::primaryScreen()->geometry());
  below.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&below));
  QWidget* w = showForm();
  ASSERT_TRUE(w);
  const QString spoken = gDossLng + "/spoken.txt";
  ASSERT_FALSE(QFile::exists(spoken));

  // The flag first: a click on the window below would raise that window.
  input.click(w->mapToGlobal(centreOf(frmChoixLng->Image1)));
  input.sync();
  EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(spoken); }, 3000));
  frmChoixLng->TimSuite.setEnabled(false);  // no language file to hand over to
  QFile f(spoken);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), "ConstPRJF\r\n");
  EXPECT_EQ(below.presses, 0);

  input.click(w->mapToGlobal(QPoint(5, w->height() - 5)));
  input.sync();
  EXPECT_TRUE(QTest::qWaitFor([&] { return below.presses == 1; }, 3000)) << "the key colour takes no click";
}

}  // namespace
