// Forms on a real X server with a window manager: the outer frame and the
// client area differ, and activation between our own windows.
#include "TestForms.h"
#include "tests/support/Wait.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace testforms;

namespace {

using testsupport::waitFor;

TEST(FormsX11, GeometryIsTheOuterFrameAndScaleTheClient) {
  FormA& a = frmA();
  a.Move(1500, 1200, 6000, 4500);  // set before the window manager framed it
  a.Show();
  // The frame is known once the window manager reports a title bar.
  ASSERT_TRUE(waitFor([&] { return a.widget()->frameGeometry().height() - a.widget()->height() > 10; }))
      << "no window frame";
  ASSERT_TRUE(waitFor([&] { return a.widget()->frameGeometry().width() == 400; }));
  EXPECT_EQ(a.Width(), 6000);
  EXPECT_EQ(a.Height(), 4500);
  EXPECT_EQ(a.widget()->frameGeometry().height(), 300);
  EXPECT_LT(a.ScaleWidth(), 6000);
  EXPECT_LT(a.ScaleHeight(), 4500 - 150);  // a title bar of more than 10 pixels
  a.Move(3000, 1500);
  ASSERT_TRUE(waitFor([&] { return a.widget()->frameGeometry().topLeft() == QPoint(200, 100); }));
  EXPECT_EQ(a.Left(), 3000);
  EXPECT_EQ(a.Top(), 1500);
  // A new outer size keeps the frame out of the client area.
  a.setWidth(7500);
  ASSERT_TRUE(waitFor([&] { return a.widget()->frameGeometry().width() == 500; }));
  EXPECT_DOUBLE_EQ(a.ScaleWidth(), (500 - (a.widget()->frameGeometry().width() - a.widget()->width())) * 15);
}

TEST(FormsX11, ActivateOnlyWhenActivationMovesBetweenOurForms) {
  log().clear();
  frmA().Show();
  ASSERT_TRUE(waitFor([] { return log().contains("FormA.Activate"); }));
  frmB().Show();
  ASSERT_TRUE(waitFor([] { return log().contains("FormB.Activate"); }));
  EXPECT_TRUE(log().contains("FormA.Deactivate"));
  log().clear();
  frmA().widget()->activateWindow();
  ASSERT_TRUE(waitFor([] { return log().contains("FormA.Activate"); }));
  EXPECT_EQ(log().count("FormA.Activate"), 1);
  EXPECT_TRUE(log().contains("FormB.Deactivate"));
  EXPECT_EQ(vb::Screen.ActiveForm(), frmA.existing());
}

}  // namespace
