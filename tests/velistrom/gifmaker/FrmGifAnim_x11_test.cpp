// The GIF maker's window under a real window manager after a creation: the
// window grown for its preview lies on the screen, or, larger than the screen,
// keeps its title bar on it.
#include "tests/velistrom/gifmaker/GifMakerFixture.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include "platform/X11Display.h"
#include "tests/support/Wait.h"

using namespace giffix;

TEST_F(GifMaker, AfterACreationTheWindowsTitleBarIsOnTheScreen) {
  if (!platform::x11Display()) GTEST_SKIP() << "no X server";
  const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
  const struct {
    const char* name;
    QSize frame;
    bool fits;
  } cases[] = {
      {"300 x 250", {300, 250}, true},
      {"larger than the screen", free.size() + QSize(120, 80), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FrmGifAnim& f = openFolder({"a.gif"}, {c.frame});
    QWidget* w = f.widget();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    // Near the bottom-right corner, where the grown window would stick out.
    f.Move((free.x() + free.width()) * 15 - 3000, (free.y() + free.height()) * 15 - 2500);
    expectSavedBox();
    f.CdeCreGif_Click();
    testenv::dialogs().verify();
    const QSize outer(f.Width() / 15, f.Height() / 15);
    // The title bar: the frame above the client area.
    auto titleBar = [&] {
      return QRect(w->frameGeometry().topLeft(), QPoint(w->frameGeometry().right(), w->geometry().top() - 1));
    };
    const bool placed = testsupport::waitFor([&] {
      const QRect frame = w->frameGeometry();
      if (frame.size() != outer || titleBar().height() <= 0) return false;
      return c.fits ? free.contains(frame) : frame.topLeft() == free.topLeft();
    }, 3000);
    EXPECT_TRUE(placed) << "frame " << w->frameGeometry().x() << "," << w->frameGeometry().y() << " "
                        << w->frameGeometry().width() << "x" << w->frameGeometry().height();
    EXPECT_TRUE(free.contains(titleBar().topLeft()));
    EXPECT_LE(titleBar().bottom(), free.bottom());
    frmGifAnim.destroyNow();
    for (const QString& n : saved()) QFile::remove(gRepSauve + "/" + n);
  }
}
