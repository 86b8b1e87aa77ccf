// The main view: layout of a fresh whole-screen or window capture, the zoom
// entries with their halftone copies, the fitting zoom, the toolbar-only layout
// and the activation after the overlay.
#include "tests/velistrom/mainwin/CaptureFixture.h"
#include "velistrom/overlay/FrmFull.h"

#include <QColor>
#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int kTw = 15;
constexpr double kFacteurs[5] = {0.25, 0.5, 0.75, 1.0, 2.0};

int rond(double v) { return int(std::nearbyint(v)); }

// Four solid quadrants: a stretched copy keeps each in its own quarter.
QImage quadrants(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      img.setPixel(x, y, x < w / 2 ? (y < h / 2 ? qRgb(255, 0, 0) : qRgb(0, 255, 0))
                                   : (y < h / 2 ? qRgb(0, 0, 255) : qRgb(255, 255, 0)));
  return img;
}

// One-pixel checks: halftone averages them to grey, a plain copy keeps black or white.
QImage damier(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
  return img;
}

QRgb at(const QImage& img, double fx, double fy) {
  return img.pixel(int(fx * (img.width() - 1)), int(fy * (img.height() - 1))) | 0xff000000u;
}

class Vue : public captfix::CaptureList {
 protected:
  void SetUp() override {
    CaptureList::SetUp();
    gFinFull = false;
    gSourceImg.clear();
    gMargeEchapX = gMargeEchapY = 0;
    gZoomSrcW = gZoomSrcH = gZoomDestW = gZoomDestH = 0;
    gHautRed = gLargRed = 0;
    gLng107 = "Velistrom - region";
    m().setWindowState(vb::vbNormal);
  }
  void TearDown() override {
    gAgrandi = false;
    gFinFull = false;
    gMargeEchapX = gMargeEchapY = 0;
    CaptureList::TearDown();
  }

  int strip() { return 24 * m().bouton[0].Width(); }
  int sw() { return vb::Screen.Width(); }
  int sh() { return vb::Screen.Height(); }
  int checkedZoom() {
    int found = -1, count = 0;
    for (int i = 0; i < 5; ++i)
      if (m().mnuzoomX[i].Checked()) {
        found = i;
        ++count;
      }
    return count == 1 ? found : -10 - count;
  }
  // A region or window view at 100 per cent, as a capture leaves it.
  void regionView(const QImage& picture) {
    m().Picture2.setVisible(true);
    m().ImgTTscreen.setVisible(false);
    m().Picture2.Move(20, 500, picture.width() * kTw, picture.height() * kTw);
    m().Picture2.setPicture(picture);
    m().Picture2S.setPicture(picture);
  }
  // A fresh grab in Picture1, as the capture leaves it.
  void grab(const QImage& picture) {
    m().Picture1.setPicture(picture);
    gLargImg = picture.width() * kTw;
    gHautImg = picture.height() * kTw;
  }
};

// ---------------------------------------------------------------- zoom table

TEST_F(Vue, ZoomEntriesStretchTheRegionViewFromItsFullSizeCopy) {
  const QImage source = quadrants(40, 30);
  for (int i : {0, 1, 2, 4, 3}) {  // 100 % last: it must restore the copy after a stretch
    SCOPED_TRACE(i);
    regionView(source);
    m().Picture2.setPicture(QImage(5, 5, QImage::Format_RGB32));  // stale view, replaced
    const double f = kFacteurs[i];
    int index = i;
    m().mnuzoomX_Click(index);

    EXPECT_EQ(checkedZoom(), i) << "the clicked entry alone is checked";
    EXPECT_EQ(m().Picture2.Width(), rond(600 * f));
    EXPECT_EQ(m().Picture2.Height(), rond(450 * f));
    EXPECT_EQ(m().Width(), m().LargeurFenetre(m().Picture2.Width()));
    EXPECT_EQ(m().Height(), m().Picture2.Height() + 1800);
    EXPECT_EQ(m().Left(), sw() - m().Width()) << "flush right";

    const QImage& vue = m().Picture2.Image();
    if (f == 1.0) {
      EXPECT_EQ(m().Picture2.Picture(), source) << "the stored copy itself";
      EXPECT_EQ(vue.convertToFormat(QImage::Format_RGB32), source);
    } else {
      EXPECT_EQ(gZoomSrcW, 40);
      EXPECT_EQ(gZoomSrcH, 30);
      EXPECT_EQ(gZoomDestW, rond(40 * f));
      EXPECT_EQ(gZoomDestH, rond(30 * f)) << "pixels times the factor, then rounded";
      EXPECT_TRUE(m().Picture2.Picture().isNull()) << "the view is a drawing, not a picture";
      // Each quadrant stays in its quarter of the stretched copy.
      const QImage part = vue.copy(0, 0, gZoomDestW, gZoomDestH);
      EXPECT_EQ(at(part, 0.1, 0.1), qRgb(255, 0, 0));
      EXPECT_EQ(at(part, 0.1, 0.9), qRgb(0, 255, 0));
      EXPECT_EQ(at(part, 0.9, 0.1), qRgb(0, 0, 255));
      EXPECT_EQ(at(part, 0.9, 0.9), qRgb(255, 255, 0));
    }
  }
}

TEST_F(Vue, ReductionIsHalftoneNotDroppedPixels) {
  regionView(damier(64, 48));
  int half = 1;
  m().mnuzoomX_Click(half);
  ASSERT_EQ(gZoomDestW, 32);
  const QImage vue = m().Picture2.Image().copy(0, 0, 32, 24);
  for (QPoint p : {QPoint(3, 3), QPoint(16, 12), QPoint(30, 20)}) {
    const QColor c(vue.pixel(p));
    EXPECT_NEAR(c.red(), 128, 20) << p.x() << "," << p.y() << ": averaged to grey";
  }
}

TEST_F(Vue, QuarterOfATinyCaptureLeavesAnEmptyViewWithoutFailing) {
  regionView(quadrants(1, 1));
  int quart = 0;
  m().mnuzoomX_Click(quart);
  EXPECT_EQ(gZoomDestW, 0);
  EXPECT_EQ(gZoomDestH, 0);
  EXPECT_EQ(m().Picture2.Width(), 4);
  EXPECT_EQ(checkedZoom(), 0);
  int full = 3;
  m().mnuzoomX_Click(full);
  EXPECT_EQ(m().Picture2.Width(), kTw) << "back to the stored copy";
}

TEST_F(Vue, ZoomOnTheWholeScreenViewUsesTheGrabAtFullSizeForOneHundredPerCent) {
  const QImage grabbed = quadrants(200, 120);
  grab(grabbed);
  m().Picture2.setVisible(false);
  m().ImgTTscreen.setVisible(true);
  m().Picture2S.setPicture(quadrants(150, 90));  // the 75 % view MefImageF leaves

  int full = 3;
  m().mnuzoomX_Click(full);
  EXPECT_EQ(m().ImgTTscreen.Width(), 200 * kTw);
  EXPECT_EQ(m().ImgTTscreen.Height(), 120 * kTw);
  EXPECT_EQ(m().ImgTTscreen.Picture().convertToFormat(QImage::Format_RGB32), grabbed);
  EXPECT_EQ(m().Height(), 120 * kTw + 1800);

  int half = 1;
  m().mnuzoomX_Click(half);
  EXPECT_EQ(checkedZoom(), 1);
  EXPECT_EQ(m().ImgTTscreen.Width(), 75 * kTw) << "factors apply to the stored view";
  EXPECT_EQ(m().ImgTTscreen.Height(), 45 * kTw);
  EXPECT_EQ(gZoomDestW, 75);
  EXPECT_EQ(gZoomSrcW, 150);
  EXPECT_EQ(m().ImgTTscreen.Picture().size(), QSize(75, 45));
  EXPECT_EQ(at(m().ImgTTscreen.Picture(), 0.9, 0.9), qRgb(255, 255, 0));
  EXPECT_EQ(m().Width(), m().LargeurFenetre(m().ImgTTscreen.Width()));
  EXPECT_FALSE(m().Picture2.Visible()) << "the region view stays hidden";
}

TEST_F(Vue, MinimisedWindowKeepsItsSizeThroughZoomAndTimer) {
  regionView(quadrants(40, 30));
  m().Move(100, 200, 7000, 3000);
  m().setWindowState(vb::vbMinimized);
  ASSERT_EQ(m().WindowState(), vb::vbMinimized);
  const int left = m().Left();  // the platform may move a minimised window
  int twice = 4;
  m().mnuzoomX_Click(twice);
  EXPECT_EQ(m().Picture2.Width(), 1200) << "the view itself follows the zoom";
  m().TimZoom_Timer();
  EXPECT_EQ(m().Width(), 7000);
  EXPECT_EQ(m().Height(), 3000);
  EXPECT_EQ(m().Left(), left);
}

// ---------------------------------------------------------------- fitting zoom

TEST_F(Vue, TimerStepsDownOnlyWhileTheViewIsTooLarge) {
  struct Case {
    const char* what;
    int wPx, hPx;  // the capture at 100 %
    int expected;  // zoom entry in force afterwards
  };
  const int W = sw() / kTw;
  const Case cases[] = {
      {"fits at 100 %", 100, 80, 3},
      {"just inside the margins", (sw() - 500) / kTw, (sh() - 1500) / kTw, 3},
      {"too wide, fits at 75 %", W - 20, 50, 2},
      {"too tall, fits at 50 %", 50, (2 * (sh() - 1500)) / kTw - 4, 1},
      {"fits at no factor", 5 * W, 60, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    regionView(quadrants(c.wPx, c.hPx));
    for (int i = 0; i < 5; ++i) m().mnuzoomX[i].setChecked(i == 0);
    m().TimZoom.setEnabled(true);
    m().TimZoom_Timer();
    EXPECT_EQ(checkedZoom(), c.expected);
    EXPECT_EQ(m().Picture2.Width(), rond(c.wPx * kTw * kFacteurs[c.expected]));
    EXPECT_FALSE(m().TimZoom.Enabled()) << "one pass per enabling";
    EXPECT_EQ(m().Left(), sw() - m().Width());
  }
}

// ---------------------------------------------------------------- a fresh capture

TEST_F(Vue, WindowCaptureFillsTheViewAndSizesTheWindow) {
  struct Case {
    const char* what;
    int wPx, hPx;
    int width;  // the window's
  };
  const Case cases[] = {
      {"narrow: the toolbar strip", 100, 60, 24 * 360},
      {"as wide as the strip", 24 * 360 / kTw, 60, 24 * 360},
      {"wide: the view + 180", 24 * 360 / kTw + 1, 60, 24 * 360 + kTw + 180},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const QImage window = quadrants(c.wPx, c.hPx);
    grab(window);
    m().Picture1.setVisible(true);
    m().ImgTTscreen.setVisible(true);
    m().Picture2.setVisible(false);
    m().StatusBar1.setVisible(false);
    m().Picture2.Move(0, 0, 300, 300);  // smaller than the grab: it must still show all of it
    int mode = 1;
    m().MefImageF(mode);

    EXPECT_TRUE(m().Picture2.Visible());
    EXPECT_TRUE(m().StatusBar1.Visible());
    EXPECT_FALSE(m().Picture1.Visible());
    EXPECT_FALSE(m().ImgTTscreen.Visible());
    EXPECT_EQ(QRect(m().Picture2.Left(), m().Picture2.Top(), m().Picture2.Width(), m().Picture2.Height()),
              QRect(20, 500, c.wPx * kTw, c.hPx * kTw));
    EXPECT_EQ(m().Picture2.Image().convertToFormat(QImage::Format_RGB32), window);
    EXPECT_EQ(m().Picture2S.Picture().convertToFormat(QImage::Format_RGB32), window) << "the 100 % copy";
    EXPECT_EQ(m().Width(), c.width);
    EXPECT_EQ(m().Height(), c.hPx * kTw + 1800) << "room for the status bar below the view";
    EXPECT_EQ(m().Left(), sw() - m().Width());
    EXPECT_EQ(gLargImg, c.wPx * kTw);
    EXPECT_EQ(gHautImg, c.hPx * kTw);
    for (vb::Menu* menu : {&m().mnufichier, &m().mnuedition, &m().mnuoutils, &m().mnuHelp})
      EXPECT_TRUE(menu->Visible());
  }
}

TEST_F(Vue, WholeScreenCaptureShowsASmoothSeventyFivePerCentView) {
  const int W = sw() / kTw, H = sh() / kTw;
  grab(quadrants(W, H));
  m().Picture1.setVisible(true);
  m().Picture2.setVisible(true);
  m().ImgTTscreen.setVisible(false);
  for (int i = 0; i < 5; ++i) m().mnuzoomX[i].setChecked(false);
  int mode = 0;
  m().MefImageF(mode);

  const int vw = int(std::floor(sw() * 0.75)), vh = int(std::floor(sh() * 0.75));
  EXPECT_TRUE(m().mnuzoomX[2].Checked());
  EXPECT_FALSE(m().Picture1.Visible());
  EXPECT_FALSE(m().Picture2.Visible());
  EXPECT_TRUE(m().ImgTTscreen.Visible());
  EXPECT_EQ(QRect(m().ImgTTscreen.Left(), m().ImgTTscreen.Top(), m().ImgTTscreen.Width(), m().ImgTTscreen.Height()),
            QRect(20, 500, vw, vh));
  EXPECT_EQ(m().Height(), vh + 1800);
  EXPECT_EQ(m().Width(), vw + 180);
  EXPECT_EQ(m().Left(), sw() - m().Width());
  EXPECT_EQ(gLargImg, vw);
  EXPECT_EQ(gHautImg, vh);
  EXPECT_EQ(gZoomSrcW, W);
  EXPECT_EQ(gZoomSrcH, H);
  EXPECT_EQ(gZoomDestW, rond(vw / 15.0));
  EXPECT_EQ(gZoomDestH, rond(vh / 15.0));
  const QImage vue = m().ImgTTscreen.Picture();
  ASSERT_EQ(vue.size(), QSize(gZoomDestW, gZoomDestH));
  EXPECT_EQ(m().Picture2S.Picture(), vue) << "the view is the copy the zoom stretches from";
  EXPECT_EQ(at(vue, 0.2, 0.2), qRgb(255, 0, 0));
  EXPECT_EQ(at(vue, 0.2, 0.8), qRgb(0, 255, 0));
  EXPECT_EQ(at(vue, 0.8, 0.2), qRgb(0, 0, 255));
  EXPECT_EQ(at(vue, 0.8, 0.8), qRgb(255, 255, 0));
}

// ---------------------------------------------------------------- toolbar-only layout

TEST_F(Vue, ToolbarOnlyLayoutNeedsACurrentCapture) {
  for (auto [nb, num] : {std::pair{0, 0}, std::pair{2, 0}}) {
    gNbCapt = nb;
    gNumCapt = num;
    m().Move(100, 200, 12000, 5000);
    const bool vueAvant = m().Picture2.Visible();
    m().Agrandred();
    EXPECT_FALSE(gAgrandi) << nb << "," << num;
    EXPECT_EQ(m().Width(), 12000);
    EXPECT_EQ(m().Picture2.Visible(), vueAvant);
  }
  gNbCapt = gNumCapt = 0;
}

TEST_F(Vue, ToolbarOnlyLayoutOnAndOff) {
  struct Case {
    const char* what;
    bool screenView;
    int savedWidth;
    int restoredWidth;
  };
  const Case cases[] = {
      {"region view", false, 12000, 12000},
      {"whole-screen view", true, 12000, 12000},
      {"saved width narrower than the strip", false, 4000, 24 * 360},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    gNbCapt = 1;
    gNumCapt = 1;
    m().Picture2.setVisible(!c.screenView);
    m().StatusBar1.setVisible(true);  // a whole-screen capture shows it too
    m().ImgTTscreen.setVisible(c.screenView);
    m().Move(300, 500, c.savedWidth, 6000);

    m().Agrandred();
    EXPECT_TRUE(gAgrandi);
    EXPECT_EQ(gSourceImg.toStdString(), c.screenView ? "image" : "picture");
    EXPECT_FALSE(m().Picture2.Visible());
    EXPECT_FALSE(m().ImgTTscreen.Visible());
    EXPECT_EQ(m().StatusBar1.Visible(), c.screenView) << "the status bar goes with Picture2 only";
    EXPECT_EQ(m().Height(), 1800);
    EXPECT_EQ(m().Width(), strip());
    EXPECT_EQ(m().Left(), sw() - strip() - 50) << "50 twips further left";
    EXPECT_EQ(gHautRed, 6000);
    EXPECT_EQ(gLargRed, c.savedWidth);

    m().Agrandred();
    EXPECT_FALSE(gAgrandi);
    EXPECT_EQ(m().Height(), 6000);
    EXPECT_EQ(m().Width(), c.restoredWidth);
    EXPECT_EQ(m().Left(), sw() - c.restoredWidth - 50);
    EXPECT_EQ(m().Picture2.Visible(), !c.screenView);
    EXPECT_EQ(m().ImgTTscreen.Visible(), c.screenView);
  }
  gNbCapt = gNumCapt = 0;
}

// ---------------------------------------------------------------- activation

TEST_F(Vue, ActivationAfterASelectionLaysTheCutOut) {
  struct Case {
    const char* what;
    int wPx, hPx;
    int marge;  // Escape's four pixels
    int zoom;   // entry checked afterwards
  };
  const int W = sw() / kTw;
  const Case cases[] = {
      {"a region that fits", 120, 80, 0, 3},
      {"wider than 90 % of the screen", W - 10, 80, 0, 0},
      {"after Escape: four pixels larger", 120, 80, 4 * kTw, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    gNumCapt = 1;
    for (int i = 0; i < 5; ++i) m().mnuzoomX[i].setChecked(i == 3);
    m().StatusBar1.Panels(1).setEnabled(false);
    m().Picture1.setVisible(true);
    m().PictSave.setVisible(true);
    m().Labtaille.setVisible(true);
    m().Picture2.setVisible(false);
    m().StatusBar1.setVisible(false);
    m().Picture1.Move(0, 0, 900, 600);
    // What the overlay leaves: the cut given to a box of the previous size,
    // which takes the cut's size.
    const QImage cut = quadrants(c.wPx, c.hPx);
    m().Picture2.Move(20, 500, 300, 300);
    m().Picture2.setPicture(cut);
    ASSERT_EQ(m().Picture2.Width(), c.wPx * kTw);
    m().Picture2S.setPicture(cut);
    gLargImg = c.wPx * kTw;
    gHautImg = c.hPx * kTw;
    gMargeEchapX = gMargeEchapY = c.marge;
    gFinFull = true;

    m().Form_Activate();
    EXPECT_FALSE(gFinFull);
    EXPECT_TRUE(m().StatusBar1.Panels(1).Enabled());
    EXPECT_EQ(m().Caption().toStdString(), "Velistrom - region");
    EXPECT_FALSE(m().Picture1.Visible());
    EXPECT_FALSE(m().PictSave.Visible());
    EXPECT_FALSE(m().Labtaille.Visible());
    EXPECT_TRUE(m().Picture2.Visible());
    EXPECT_TRUE(m().StatusBar1.Visible());
    EXPECT_EQ(m().Picture2.Top(), m().bouton[0].Height() + 80);
    EXPECT_EQ(m().Picture2.Left(), 20);
    EXPECT_EQ(checkedZoom(), c.zoom);
    if (c.zoom == 3) {
      EXPECT_EQ(m().Picture2.Width(), c.wPx * kTw + c.marge);
      EXPECT_EQ(m().Picture2.Height(), c.hPx * kTw + c.marge);
      // The whole cut shows, not the part that fitted the old box.
      EXPECT_EQ(m().Picture2.Image().copy(0, 0, c.wPx, c.hPx).convertToFormat(QImage::Format_RGB32), cut);
      EXPECT_EQ(m().Height(), int(gHautImg) + 1800) << "PosDimRedMain";
    } else {
      EXPECT_EQ(m().Picture2.Width(), rond(c.wPx * kTw * 0.25));
    }
    EXPECT_EQ(m().Left(), sw() - m().Width());
    EXPECT_EQ(m().HautGrab, 600);
    EXPECT_EQ(m().LargGrab, 900);
  }
  gNumCapt = 0;
}

TEST_F(Vue, PlainActivationOnlyNotesTheGrabSize) {
  regionView(quadrants(40, 30));
  m().Picture1.Move(0, 0, 1500, 750);
  m().Move(100, 200, 9000, 4000);
  m().setCaption("unchanged");
  gNumCapt = 0;
  m().StatusBar1.Panels(1).setEnabled(false);
  m().Form_Activate();
  EXPECT_EQ(m().HautGrab, 750);
  EXPECT_EQ(m().LargGrab, 1500);
  EXPECT_FALSE(m().StatusBar1.Panels(1).Enabled()) << "no current capture";
  EXPECT_EQ(m().Caption().toStdString(), "unchanged");
  EXPECT_EQ(m().Width(), 9000);
  EXPECT_EQ(m().Picture2.Width(), 600);
}

}  // namespace
