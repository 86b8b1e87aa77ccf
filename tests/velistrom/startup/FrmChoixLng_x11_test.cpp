// The start-up window on a real X server: only the flags and labels are left of
// it, the key colour is cut out of its shape.
#include "velistrom/startup/FrmChoixLng.h"

#include "platform/WindowMask.h"
#include "tests/support/TestEnv.h"
#include "velistrom/startup/LangLoader.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(StartFormX11, OnlyFlagsAndLabelsAreLeftOfTheWindow) {
  QTemporaryDir program;  // no language files: the flags must show
  startup::setDossierLangues(program.path());
  frmChoixLng().Show();
  ASSERT_TRUE(frmChoixLng.existing());
  QWidget* w = frmChoixLng->widget();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  QTest::qWait(200);
  ASSERT_TRUE(platform::colourKeyActive(w));
  const QRegion shape = platform::colourKeyShape(w);
  auto centreOf = [](const vb::Control& c) {
    return QPoint(vb::twipsToPixels(c.Left() + c.Width() / 2), vb::twipsToPixels(c.Top() + c.Height() / 2));
  };
  EXPECT_TRUE(shape.contains(centreOf(frmChoixLng->Image1)));
  EXPECT_TRUE(shape.contains(centreOf(frmChoixLng->Image2)));
  EXPECT_FALSE(shape.contains(QPoint(5, w->height() - 5))) << "the background is see-through";
  EXPECT_FALSE(shape.contains(QPoint(w->width() - 5, w->height() - 5)));
  frmChoixLng.destroyNow();
  startup::setDossierLangues(QString());
}

}  // namespace
