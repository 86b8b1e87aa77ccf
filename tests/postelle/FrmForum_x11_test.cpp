// The posting window on a real X server with a window manager: it shows the
// picture it was started with, and the user's clicks upload it to the loopback
// host and build the link code.
#include "platform/forms/Forms.h"
#include "tests/postelle/ForumFixture.h"
#include "tests/support/Wait.h"
#include "tests/support/XTestKeys.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

namespace {

using forumtest::Forum;

QPoint centreGlobal(const vb::Control& c) {
  return c.widget()->mapToGlobal(c.widget()->rect().center());
}

using testsupport::waitFor;

TEST_F(Forum, WindowShowsThePictureAndTheUsersClicksPostIt) {
  testsupport::XTestInput input;
  if (!input.ok()) GTEST_SKIP() << "no XTest";
  testenv::ImageHost host;
  ASSERT_TRUE(host.started());
  const QString p = picture(donnees_ + "/tempocapt/Capt.png", {120, 80}, QColor(200, 0, 200));
  FrmForum& f = ouvrir({p}, &host);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f.widget()));
  // Activated by the window manager: the previews follow the picture.
  ASSERT_TRUE(waitFor([&] { return f.GrandeMinia.Width() == 1800 && f.GrandeMinia.Height() == 1200; }));

  const QWidget* grande = f.GrandeMinia.widget();
  const QPoint coin = grande->mapToGlobal(QPoint(0, 0));
  QImage ecran;
  // Once the large preview is on the screen.
  EXPECT_TRUE(waitFor([&] {
    ecran = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    const QColor c = ecran.pixelColor(coin + QPoint(60, 40));
    return std::abs(c.red() - 200) <= 12 && c.green() < 20 && std::abs(c.blue() - 200) <= 12;
  }));
  const QColor centre = ecran.pixelColor(coin + QPoint(60, 40));
  EXPECT_NEAR(centre.red(), 200, 12);
  EXPECT_LT(centre.green(), 20);
  EXPECT_NEAR(centre.blue(), 200, 12);
  const QColor petit = ecran.pixelColor(f.PetiteMinia.widget()->mapToGlobal(QPoint(30, 20)));
  EXPECT_NEAR(petit.red(), 200, 12);  // scaled to 70 x 47

  input.click(centreGlobal(f.CmdUpload));
  const QString page = host.address() + "/zimage/Xy12_ab-3.z.php";
  ASSERT_TRUE(waitFor([&] { return f.Labverif.Visible(); }));
  EXPECT_EQ(f.Labverif.Caption(), page);
  EXPECT_TRUE(f.CdeCopier.Enabled());
  ASSERT_EQ(host.requests().size(), 1);
  EXPECT_EQ(host.requests()[0].toObject()["params"].toArray()[1].toObject()["value"].toString(), "Capt.png");

  input.click(centreGlobal(f.OptTypLien[2]));
  ASSERT_TRUE(waitFor([&] { return !f.TxtLienForum.Text().isEmpty(); }));
  EXPECT_EQ(f.TxtLienForum.Text(), "[url=" + page + "][img]" + host.address() + "/miniature/Xy12_ab-3.z.png[/img][/url]");
  EXPECT_TRUE(f.OptTypLien[2].Value());

  input.click(centreGlobal(f.Labverif));
  EXPECT_TRUE(waitFor([&] { return !ouverts(0).isEmpty(); }));
  EXPECT_EQ(ouverts(1), QStringList{page});
}

}  // namespace
