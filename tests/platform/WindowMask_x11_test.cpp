// Colour-key shapes on a real X server: key pixels are outside the window's X
// shape, show what is below, let clicks through, and follow the window's changes.
#include "platform/ScreenGrab.h"
#include "platform/WindowMask.h"
#include "platform/X11Display.h"
#include "tests/support/XTestKeys.h"

#include <QMouseEvent>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

// Xlib last: its macros clash with Qt.
#include <X11/Xlib.h>
#include <X11/extensions/shape.h>

namespace {

const QRgb kKey = qRgb(255, 255, 192);

// A plain-coloured unmanaged window that counts the presses it receives.
class Plate : public QWidget {
 public:
  Plate(QWidget* parent, QColor colour, QRect geometry)
      : QWidget(parent, parent ? Qt::Widget : Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint) {
    setAutoFillBackground(true);
    setColour(colour);
    setGeometry(geometry);
  }
  void setColour(QColor c) {
    QPalette p = palette();
    p.setColor(QPalette::Window, c);
    setPalette(p);
    update();
  }
  int presses = 0;

 protected:
  void mousePressEvent(QMouseEvent*) override { ++presses; }
};

bool shapeContains(QWidget* w, QPoint p) {
  Display* dpy = platform::x11Display();
  int count = 0, ordering = 0;
  XRectangle* rects = XShapeGetRectangles(dpy, Window(w->winId()), ShapeBounding, &count, &ordering);
  bool inside = false;
  for (int i = 0; i < count; ++i)
    if (QRect(rects[i].x, rects[i].y, rects[i].width, rects[i].height).contains(p)) inside = true;
  if (rects) XFree(rects);
  return inside;
}

QRgb screenPixel(QPoint p) {
  return platform::grabScreen(QRect(p, QSize(1, 1)), platform::GrabMethod::GetImage).pixel(0, 0);
}

class WindowMaskX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(platform::x11Display(), nullptr);
    below = std::make_unique<Plate>(nullptr, Qt::red, QRect(300, 300, 200, 150));
    below->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(below.get()));
    above = std::make_unique<Plate>(nullptr, QColor(kKey), QRect(300, 300, 200, 150));
    inner = new Plate(above.get(), Qt::blue, QRect(20, 20, 40, 30));
    above->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(above.get()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return screenPixel(keyPoint) == kKey; }, 3000));
  }
  const QPoint keyPoint{300 + 150, 300 + 100};   // on the key-coloured background
  const QPoint innerPoint{300 + 30, 300 + 30};   // on the blue child
  std::unique_ptr<Plate> below, above;
  Plate* inner = nullptr;
};

TEST_F(WindowMaskX11, KeyPixelsAreOutsideTheShapeAndShowTheWindowBelow) {
  platform::setColourKey(above.get(), kKey);
  EXPECT_FALSE(shapeContains(above.get(), keyPoint - above->pos()));
  EXPECT_TRUE(shapeContains(above.get(), innerPoint - above->pos()));
  EXPECT_TRUE(QTest::qWaitFor([&] { return screenPixel(keyPoint) == qRgb(255, 0, 0); }, 3000));
  EXPECT_EQ(screenPixel(innerPoint), qRgb(0, 0, 255));

  platform::clearColourKey(above.get());
  EXPECT_TRUE(shapeContains(above.get(), keyPoint - above->pos()));
  EXPECT_TRUE(QTest::qWaitFor([&] { return screenPixel(keyPoint) == kKey; }, 3000));
}

TEST_F(WindowMaskX11, ClicksOnKeyPixelsReachTheWindowBelow) {
  platform::setColourKey(above.get(), kKey);
  testsupport::XTestInput input;
  ASSERT_TRUE(input.ok());
  input.click(keyPoint);
  EXPECT_TRUE(QTest::qWaitFor([&] { return below->presses == 1; }, 3000));
  EXPECT_EQ(above->presses, 0);
  input.click(innerPoint);
  EXPECT_TRUE(QTest::qWaitFor([&] { return inner->presses == 1; }, 3000));
  EXPECT_EQ(below->presses, 1);
}

TEST_F(WindowMaskX11, ShapeFollowsRepaintsMovesAndNewChildren) {
  platform::setColourKey(above.get(), kKey);
  ASSERT_FALSE(shapeContains(above.get(), QPoint(150, 100)));
  // A key-coloured child turning opaque fills its hole...
  auto* later = new Plate(above.get(), QColor(kKey), QRect(140, 90, 30, 30));
  later->show();
  QTest::qWait(100);  // its first paint: a change would come by then, there is none to wait for
  EXPECT_FALSE(shapeContains(above.get(), QPoint(150, 100)));
  EXPECT_TRUE(shapeContains(above.get(), innerPoint - above->pos())) << "the rest of the shape stays";
  EXPECT_EQ(screenPixel(keyPoint), qRgb(255, 0, 0)) << "the window below still shows through";
  later->setColour(Qt::green);
  EXPECT_TRUE(QTest::qWaitFor([&] { return shapeContains(above.get(), QPoint(150, 100)); }, 3000));
  EXPECT_TRUE(QTest::qWaitFor([&] { return screenPixel(keyPoint) == qRgb(0, 255, 0); }, 3000));
  // ...and a moved child leaves a hole where it was.
  inner->move(100, 20);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !shapeContains(above.get(), QPoint(30, 30)); }, 3000));
  EXPECT_TRUE(shapeContains(above.get(), QPoint(110, 30)));
  // The window grows: the new part is shaped too.
  above->resize(260, 150);
  EXPECT_TRUE(QTest::qWaitFor([&] { return platform::colourKeyShape(above.get()).boundingRect().right() < 259; }, 3000));
  EXPECT_FALSE(shapeContains(above.get(), QPoint(250, 10)));
}

// The shape from the whole window, as a first shaping makes it. Rendering
// repaints every widget: the key's next rebuild is made here as well, so that
// the next change starts from nothing repainted.
QRegion wholeShape(QWidget* window) {
  QImage image(window->size(), QImage::Format_RGB32);
  image.fill(kKey);
  window->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
  platform::refreshColourKey(window);
  return platform::regionWithoutColour(image, kKey);
}

// The shape once the window has repainted what a change touched.
QRegion shapeAfterRepaint(QWidget* window) {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  platform::refreshColourKey(window);
  return platform::colourKeyShape(window);
}

// After a change only the part repainted is looked at again: whatever the
// change, the shape is the one the whole window gives, also where pixels were
// moved without a repaint (a moved child, a scrolled view).
TEST_F(WindowMaskX11, AfterEachChangeTheShapeIsTheWholeWindowsShape) {
  // A list of rows in the key colour and in an opaque one: scrolling it moves
  // its pixels and repaints only the rows it uncovers.
  auto* view = new QListWidget(above.get());
  view->setGeometry(110, 10, 80, 60);
  view->setFrameShape(QFrame::NoFrame);
  view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  for (int i = 0; i < 40; ++i) {
    auto* row = new QListWidgetItem(QString(), view);
    row->setSizeHint(QSize(80, 8));
    row->setBackground(i % 2 ? QColor(Qt::darkGreen) : QColor(kKey));
  }
  view->show();
  auto* second = new Plate(above.get(), Qt::yellow, QRect(20, 80, 50, 40));
  second->show();
  platform::setColourKey(above.get(), kKey);
  ASSERT_EQ(shapeAfterRepaint(above.get()), wholeShape(above.get()));

  const struct {
    const char* change;
    std::function<void()> make;
  } cases[] = {
      {"a child repainted in the key colour", [&] { inner->setColour(QColor(kKey)); }},
      {"and back", [&] { inner->setColour(Qt::blue); }},
      {"a child moved", [&] { inner->move(60, 40); }},
      {"a child moved onto another", [&] { second->move(50, 30); }},
      {"the lower one raised", [&] { inner->raise(); }},
      {"a child made smaller", [&] { second->resize(20, 15); }},
      {"a child made larger", [&] { second->resize(70, 90); }},
      {"a child hidden", [&] { inner->hide(); }},
      {"a child shown", [&] { inner->show(); }},
      {"a view scrolled by part of a stripe", [&] { view->verticalScrollBar()->setValue(5); }},
      {"and by more", [&] { view->verticalScrollBar()->setValue(37); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.change);
    c.make();
    const QRegion shape = shapeAfterRepaint(above.get());
    EXPECT_EQ(shape, wholeShape(above.get()));
  }
}

TEST_F(WindowMaskX11, KeySetBeforeShowingShapesTheWindowBeforeItAppears) {
  Plate late(nullptr, QColor(kKey), QRect(1000, 100, 100, 100));
  new Plate(&late, Qt::blue, QRect(0, 0, 10, 10));
  platform::setColourKey(&late, kKey);
  late.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&late));
  // No wait for a repaint: the shape was there when the window was mapped.
  EXPECT_FALSE(shapeContains(&late, QPoint(50, 50)));
  EXPECT_TRUE(shapeContains(&late, QPoint(5, 5)));
}

TEST_F(WindowMaskX11, FramedWindowUnderTheWindowManager) {
  // What the hole must show: a plate of its own colour below it.
  Plate under(nullptr, Qt::magenta, QRect(750, 350, 120, 120));
  under.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&under));
  QWidget framed;
  framed.setGeometry(700, 300, 200, 150);
  framed.setAutoFillBackground(true);
  QPalette p = framed.palette();
  p.setColor(QPalette::Window, QColor(kKey));
  framed.setPalette(p);
  Plate button(&framed, Qt::blue, QRect(10, 10, 50, 20));
  framed.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&framed));
  platform::setColourKey(&framed, kKey);
  EXPECT_FALSE(shapeContains(&framed, QPoint(100, 100)));
  EXPECT_TRUE(shapeContains(&framed, QPoint(20, 20)));
  // The manager shapes its frame after the client: the window below shows through.
  const QPoint hole = framed.mapToGlobal(QPoint(100, 100));
  ASSERT_TRUE(under.geometry().contains(hole));
  EXPECT_TRUE(QTest::qWaitFor([&] { return screenPixel(hole) == qRgb(255, 0, 255); }, 3000));
  EXPECT_EQ(screenPixel(framed.mapToGlobal(QPoint(20, 20))), qRgb(0, 0, 255));
}

}  // namespace
