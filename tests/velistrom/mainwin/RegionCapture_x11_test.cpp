// Region capture end to end on a real X server with openbox: the real main
// window, its hotkey poll, the real overlay and its real hand-over to the
// capture list and the clipboard, driven by real XTest keys and pointer moves
// over a window whose pixels encode their screen coordinates.
#include "platform/Clipboard.h"
#include "platform/Pointer.h"
#include "platform/ScreenGrab.h"
#include "platform/X11Display.h"
#include "platform/forms/Forms.h"
#include "tests/support/OtherClient.h"
#include "tests/velistrom/ShippedTexts.h"
#include "tests/support/BoxOnScreen.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnv.h"
#include "tests/support/XTestKeys.h"
#include "velistrom/core/Bureau.h"
#include "velistrom/core/Ressources.h"
#include "velistrom/mainwin/Fcam.h"
#include "velistrom/mainwin/Flistimages.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/mainwin/frmMain.h"
#include "velistrom/overlay/FrmFull.h"
#include "velistrom/mainwin/Branchements.h"
#include "velistrom/overlay/Remise.h"
#include "velistrom/startup/LangLoader.h"
#include "velistrom/startup/Splash.h"
#include "velistrom/startup/frmTip.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QTimer>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <vector>

#include <X11/Xlib.h>
#undef KeyPress  // Xlib's event name hides QEvent::KeyPress

namespace {

// Red and green the low bytes of x and y, blue their high nibbles: every pixel
// of the screen has its own colour.
QRgb patternAt(int x, int y) { return qRgb(x & 255, y & 255, ((x >> 8) & 15) << 4 | ((y >> 8) & 15)); }
// What the pattern window shows once told to change: another picture.
QRgb changedAt(int x, int y) { return qRgb(255 - (x & 255), 255 - (y & 255), 90); }

bool within1(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) <= 1 && std::abs(qGreen(a) - qGreen(b)) <= 1 &&
         std::abs(qBlue(a) - qBlue(b)) <= 1;
}

using testsupport::waitFor;
using testsupport::xclipOutput;

// A managed window kept above the others, painting the pattern of the screen
// pixels it covers, wherever openbox put it.
class Motif : public QWidget {
 public:
  Motif() : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint) {
    setWindowTitle("pattern");
    setAttribute(Qt::WA_OpaquePaintEvent);
  }
  void changer() {
    change_ = true;
    repaint();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    const QPoint o = mapToGlobal(QPoint(0, 0));
    QImage img(size(), QImage::Format_RGB32);
    for (int y = 0; y < height(); ++y)
      for (int x = 0; x < width(); ++x)
        img.setPixel(x, y, change_ ? changedAt(o.x() + x, o.y() + y) : patternAt(o.x() + x, o.y() + y));
    QPainter(this).drawImage(0, 0, img);
  }

 private:
  bool change_ = false;
};

// Pixels of `img` that differ from the pattern at the screen rectangle it
// should show (its top-left corner at `at`).
int ecarts(const QImage& img, QPoint at) {
  int bad = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if ((img.pixel(x, y) & 0xFFFFFF) != (patternAt(at.x() + x, at.y() + y) & 0xFFFFFF)) ++bad;
  return bad;
}

// What the program has received of the fake input, seen at the application:
// the tests wait for it instead of for a fixed time.
class Temoin : public QObject {
 public:
  int touches = 0;  // key presses
  int appuis = 0, relachements = 0;
  QPoint pointeur{-1, -1};  // the last pointer movement, screen pixels
  QList<QObject*> montrees;  // windows shown

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (!o->isWidgetType()) return false;
    switch (e->type()) {
      case QEvent::KeyPress: ++touches; break;
      case QEvent::MouseButtonPress: ++appuis; break;
      case QEvent::MouseButtonRelease: ++relachements; break;
      case QEvent::MouseMove:
        pointeur = static_cast<QMouseEvent*>(e)->globalPosition().toPoint();
        break;
      case QEvent::Show:
        if (static_cast<QWidget*>(o)->isWindow()) montrees << o;
        break;
      default: break;
    }
    return false;
  }
};

// Points on the pattern window well away from the selection, its labels, the
// saved pointer and the overlay's hint on the right.
const QPoint kTemoins[] = {QPoint(260, 210), QPoint(1500, 900), QPoint(400, 850), QPoint(1300, 230)};

class RegionCaptureX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testenv::onX11() || !keys.ok()) GTEST_SKIP() << "needs X with XTest";
    garde = Globales::lire();
    ASSERT_EQ(platform::rootRect().size(), QSize(1920, 1080)) << "run on a 1920x1080 Xvfb";
    capt::resetList();
    ASSERT_TRUE(testsupport::textesLivres());
    mainwin::setLecteurSonPourTests([](const QString&) { return true; });
    mainwin::BrancherRemise();
    overlay::setMainSide(nullptr);  // the real main window
    core::resetBureau();
    // The real grab, counted.
    auto vraie = core::bureau().grab;
    core::bureau().grab = [this, vraie](const QRect& r) {
      ++prises;
      return vraie(r);
    };

    motif.setGeometry(200, 150, 1400, 800);
    motif.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&motif));
    ASSERT_TRUE(waitFor([] {
      for (QPoint p : kTemoins)
        if (platform::grabScreen(QRect(p, QSize(1, 1))).pixel(0, 0) != patternAt(p.x(), p.y())) return false;
      return platform::grabScreen(QRect(900, 500, 1, 1)).pixel(0, 0) == patternAt(900, 500);
    })) << "the pattern is on the screen";

    qApp->installEventFilter(&temoin);
    testenv::dialogs().reset();
    frmMain();  // the real start-up: settings, toolbar, hint; its first tick arms the hotkeys
    ASSERT_TRUE(frmMain.existing());
    frmMain().Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frmMain().widget()));
    if (FrmTip* tip = frmTip.existing()) vb::Unload(*tip);
    ASSERT_TRUE(waitFor([] { return frmMain().Timerclav.Enabled(); })) << "the hotkey poll runs";
    ASSERT_EQ(gTouche1.toStdString(), "Z") << "default region letter";
    ASSERT_FALSE(gRepCapt.isEmpty());

    gRectAjust = 0;
    gOptChk0 = 0;
    gGardeVisible = 0;
    gPasCopiePP = "0";
    gSelLarg = "0420";
    gSelHaut = "0260";
    // The saved pointer lies off the pattern's checked points and off every selection.
    keys.movePointer(QPoint(1800, 1000));
    keys.sync();
    ASSERT_TRUE(waitFor([] { return gCursX == 1800 && gCursY == 1000; }));
  }

  void TearDown() override {
    qApp->removeEventFilter(&temoin);
    keys.releaseAll();
    mainwin::setLecteurSonPourTests({});
    core::setDossierRessources(QString());
    core::resetBureau();
    // Hidden first: the overlay's input grabber must not outlive the form.
    if (FrmFull* f = frmFull.existing()) f->Hide();
    frmFull.destroyNow();
    fcam.destroyNow();
    flistimages.destroyNow();
    frmTip.destroyNow();
    frmMain.destroyNow();
    capt::resetList();
    if (garde) garde->remettre();
  }

  // What these tests change of the shared state, put back for the tests after them.
  struct Globales {
    int rectAjust, optChk0, gardeVisible;
    QString pasCopiePP, selLarg, selHaut, modeCapt;
    int selX, selY;
    double largImg, hautImg;
    std::int32_t margeX, margeY;
    bool finFull, annuler, parClavier;
    static Globales lire() {
      return {gRectAjust, gOptChk0, gGardeVisible, gPasCopiePP, gSelLarg, gSelHaut, gModeCapt, gSelX, gSelY,
              gLargImg,   gHautImg, gMargeEchapX,  gMargeEchapY, gFinFull, gAnnuler, gParClavier};
    }
    void remettre() const {
      gRectAjust = rectAjust;
      gOptChk0 = optChk0;
      gGardeVisible = gardeVisible;
      gPasCopiePP = pasCopiePP;
      gSelLarg = selLarg;
      gSelHaut = selHaut;
      gModeCapt = modeCapt;
      gSelX = selX;
      gSelY = selY;
      gLargImg = largImg;
      gHautImg = hautImg;
      gMargeEchapX = margeX;
      gMargeEchapY = margeY;
      gFinFull = finFull;
      gAnnuler = annuler;
      gParClavier = parClavier;
    }
  };
  std::optional<Globales> garde;

  // The screen shows the frozen pattern, dimmed, at the witness points.
  static bool motifGeleAffiche() {
    const QImage ecran = platform::grabWholeScreen();
    for (QPoint p : kTemoins)
      if (!within1(ecran.pixel(p), overlay::dimPixel(patternAt(p.x(), p.y())))) return false;
    return true;
  }

  static bool overlayOuvert() {
    FrmFull* f = frmFull.existing();
    return f && f->Visible() && !f->TimMvtDeb.Enabled() && !f->TimForgrnd.Enabled();
  }

  // Ctrl+Z through the hotkey poll, held until the overlay is in place.
  bool ctrlZ() { return raccourci("z"); }
  // Ctrl and a region letter, held until the overlay is in place on a new grab.
  bool raccourci(const QString& lettre, const std::function<bool()>& pret = {}) {
    const int avant = prises;
    keys.press("Control_L");
    keys.press(lettre);
    keys.sync();
    const bool ok = waitFor([&] { return prises > avant && overlayOuvert() && (!pret || pret()); });
    keys.release(lettre);
    keys.release("Control_L");
    keys.sync();
    // The poll has seen the keys go up (one command per press), and the
    // shutter window has come and gone: nothing lies above the overlay.
    return ok && waitFor([] { return frmMain().ToucheTenue.isEmpty() && !fcam.existing(); });
  }

  // One key, with a modifier held; returns once the program has received it.
  bool touche(const QString& keysym, const QString& modificateur = QString()) {
    const int avant = temoin.touches;
    const int appuis = modificateur.isEmpty() ? 1 : 2;
    if (!modificateur.isEmpty() && !keys.press(modificateur)) return false;
    const bool ok = keys.tap(keysym);
    if (!modificateur.isEmpty()) keys.release(modificateur);
    keys.sync();
    return ok && waitFor([&] { return temoin.touches >= avant + appuis; });
  }

  bool entree(int n) {
    touche("Return");
    return waitFor([n] { return gNbCapt >= n; });
  }

  // A drag with the left button, in small steps, as a hand does it. The button
  // is let go once the program has seen the pointer at the end and, when given,
  // `rattrape` holds (a handle's timer has caught up with the pointer).
  bool glisser(QPoint de, QPoint a, const std::function<bool()>& rattrape = {}) {
    keys.movePointer(de);
    keys.sync();
    const int appuis = temoin.appuis;
    keys.pressButton(1);
    keys.sync();
    if (!waitFor([&] { return temoin.appuis > appuis; })) return false;
    for (int i = 1; i <= 10; ++i) {
      keys.movePointer(de + (a - de) * i / 10);
      keys.sync();
      QTest::qWait(25);  // the pace of a hand, not a wait for the program
    }
    const bool suivi = waitFor([&] { return temoin.pointeur == a && (!rattrape || rattrape()); });
    const int relachements = temoin.relachements;
    keys.releaseButton(1);
    keys.sync();
    return waitFor([&] { return temoin.relachements > relachements; }) && suivi;
  }

  static QImage capture(int i) {
    return QImage(gRepCapt + "/" + gTabNomCapt[i]).convertToFormat(QImage::Format_RGB32);
  }
  // Where the cut of the last validation starts on the screen: one pixel inside
  // the recorded corner.
  static QPoint origineCoupe() { return QPoint(gSelX / 15 + 1, gSelY / 15 + 1); }


  // Another client's attempt to take the keyboard.
  static bool clavierPris() {
    Display* d = XOpenDisplay(nullptr);
    if (!d) return false;
    const int r = XGrabKeyboard(d, DefaultRootWindow(d), False, GrabModeAsync, GrabModeAsync, CurrentTime);
    if (r == GrabSuccess) XUngrabKeyboard(d, CurrentTime);
    XCloseDisplay(d);
    return r == AlreadyGrabbed;
  }

  // The overlay's window is above every other mapped window of the screen.
  static bool auDessusDeTout(unsigned long fenetre) {
    Display* d = platform::x11Display();
    Window root = 0, parent = 0, *enfants = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &enfants, &n)) return false;
    int rang = -1, dernierVisible = -1;
    for (unsigned int i = 0; i < n; ++i) {
      XWindowAttributes wa{};
      if (XGetWindowAttributes(d, enfants[i], &wa) && wa.map_state == IsViewable) dernierVisible = int(i);
      if (enfants[i] == fenetre) rang = int(i);
    }
    if (enfants) XFree(enfants);
    return rang >= 0 && rang == dernierVisible;
  }

  testsupport::XTestInput keys;
  Temoin temoin;
  Motif motif;
  int prises = 0;
};

}  // namespace

TEST_F(RegionCaptureX11, CtrlZFreezesAndEnterListsCopiesAndBringsTheMainWindowBack) {
  ASSERT_TRUE(ctrlZ());
  EXPECT_EQ(prises, 1);
  EXPECT_TRUE(gParClavier);
  EXPECT_FALSE(frmMain().widget()->isVisible()) << "the main window is away while the overlay shows";
  FrmFull& f = *frmFull.existing();
  EXPECT_TRUE(auDessusDeTout(f.widget()->winId())) << "the overlay lies above every window";
  EXPECT_TRUE(clavierPris()) << "the overlay holds the keyboard";

  // The window below changes; the screen keeps the frozen, dimmed copy.
  motif.changer();
  EXPECT_TRUE(waitFor(motifGeleAffiche));

  ASSERT_TRUE(entree(1));
  EXPECT_EQ(gNbCapt, 1);
  EXPECT_EQ(gTabMode[1].toStdString(), "z");
  // The saved size, centred on the screen.
  EXPECT_EQ(gSelX, (28800 - 420 * 15) / 2);
  EXPECT_EQ(gSelY, (16200 - 260 * 15) / 2);
  EXPECT_EQ(gTabLargCapt[1], 420 * 15);
  EXPECT_EQ(gTabHautCapt[1], 260 * 15);

  const QFileInfo fichier(gRepCapt + "/" + gTabNomCapt[1]);
  EXPECT_TRUE(fichier.isFile()) << fichier.filePath().toStdString();
  EXPECT_EQ(gTabNomCapt[1].toStdString(), ("Captprov_" + frmMain().HeureSess + "01.bmp").toStdString());
  const QImage prise = capture(1);
  ASSERT_EQ(prise.size(), QSize(420, 260));
  EXPECT_EQ(ecarts(prise, origineCoupe()), 0) << "the frozen pattern, not what the window shows now";

  const QImage presse = QImage::fromData(xclipOutput({"-selection", "clipboard", "-t", "image/png", "-o"}), "PNG");
  ASSERT_FALSE(presse.isNull()) << "a PNG on the clipboard";
  ASSERT_EQ(presse.size(), prise.size());
  EXPECT_EQ(ecarts(presse, origineCoupe()), 0);

  EXPECT_FALSE(f.Visible());
  EXPECT_FALSE(clavierPris()) << "the keyboard is free again";
  // The pointer waits 400 twips beyond the rectangle's bottom-right corner.
  EXPECT_EQ(platform::pointerPosition(), QPoint(1197, 697));
  EXPECT_TRUE(waitFor([] { return frmMain().widget()->isVisible(); })) << "the main window is back";
  EXPECT_TRUE(waitFor([] { return !gFinFull; })) << "its activation took the end of the selection";
  EXPECT_EQ(frmMain().Picture2S.Picture().convertToFormat(QImage::Format_RGB32), prise);
  ASSERT_TRUE(flistimages.existing() && flistimages->Image1.exists(1)) << "its thumbnail row";
}

TEST_F(RegionCaptureX11, ASecondCaptureHidesTheThumbnailWindowForTheGrabAndBringsItBack) {
  ASSERT_TRUE(ctrlZ());
  ASSERT_TRUE(entree(1));
  ASSERT_TRUE(waitFor([] { return flistimages.existing() && flistimages->widget()->isVisible(); }))
      << "the thumbnail window shows the list";
  ASSERT_TRUE(waitFor([] { return frmMain().widget()->isVisible() && !gFinFull; }));
  bool listeVue = true, mainVue = true;
  auto vraie = core::bureau().grab;
  core::bureau().grab = [&, vraie](const QRect& r) {
    listeVue = flistimages->widget()->isVisible();
    mainVue = frmMain().widget()->isVisible();
    return vraie(r);
  };
  ASSERT_TRUE(ctrlZ());
  EXPECT_FALSE(listeVue) << "not in the frozen screen";
  EXPECT_FALSE(mainVue);
  ASSERT_TRUE(touche("Right", "Control_L"));  // 20 pixels further right
  ASSERT_TRUE(entree(2));
  EXPECT_EQ(ecarts(capture(2), origineCoupe()), 0);
  EXPECT_EQ(origineCoupe(), QPoint(771, 411));
  EXPECT_TRUE(waitFor([] { return flistimages->widget()->isVisible() && frmMain().widget()->isVisible(); }));
  EXPECT_TRUE(flistimages->Image1.exists(2));
}

TEST_F(RegionCaptureX11, KeptVisibleTheMainWindowIsFrozenToo) {
  gGardeVisible = 1;
  const QRect fenetre = frmMain().widget()->frameGeometry();
  const QImage avant = platform::grabWholeScreen();
  ASSERT_TRUE(ctrlZ());
  EXPECT_TRUE(frmMain().widget()->isVisible());
  EXPECT_TRUE(auDessusDeTout(frmFull->widget()->winId())) << "above the main window too";
  EXPECT_TRUE(clavierPris());
  // Where the main window was the overlay shows the dimmed main window, not the pattern.
  const QPoint milieu = fenetre.center();
  const QImage ecran = platform::grabWholeScreen();
  EXPECT_TRUE(within1(ecran.pixel(milieu), overlay::dimPixel(avant.pixel(milieu))));
  EXPECT_FALSE(within1(ecran.pixel(milieu), overlay::dimPixel(patternAt(milieu.x(), milieu.y()))));
  ASSERT_TRUE(entree(1));
  EXPECT_EQ(ecarts(capture(1), origineCoupe()), 0);
  EXPECT_FALSE(frmFull->Visible());
}

TEST_F(RegionCaptureX11, TheSavedPointerIsPartOfTheCaptureAtItsPlace) {
  keys.movePointer(QPoint(900, 500));  // inside the saved-size rectangle
  keys.sync();
  ASSERT_TRUE(waitFor([] { return gCursX == 900 && gCursY == 500; }));
  ASSERT_TRUE(ctrlZ());
  ASSERT_NE(gHCurseur, platform::kNoPointer) << "the hotkey poll took the pointer's shape";
  ASSERT_TRUE(entree(1));
  const QImage prise = capture(1);
  const QPoint o = origineCoupe();
  QImage attendu(prise.size(), QImage::Format_RGB32);
  for (int y = 0; y < attendu.height(); ++y)
    for (int x = 0; x < attendu.width(); ++x) attendu.setPixel(x, y, patternAt(o.x() + x, o.y() + y));
  ASSERT_TRUE(platform::drawPointer(attendu, gHCurseur, QPoint(900, 500) - o));
  EXPECT_NE(ecarts(prise, o), 0) << "a pointer was drawn";
  EXPECT_EQ(prise, attendu) << "with its hotspot where the pointer was";
}

TEST_F(RegionCaptureX11, ARightClickValidatesTheSavedSizeRectangle) {
  ASSERT_TRUE(ctrlZ());
  keys.click(QPoint(300, 300), 3);
  keys.sync();
  ASSERT_TRUE(waitFor([] { return gNbCapt == 1; }));
  const QImage prise = capture(1);
  ASSERT_EQ(prise.size(), QSize(420, 260));
  EXPECT_EQ(gSelX, (28800 - 420 * 15) / 2);
  EXPECT_EQ(ecarts(prise, origineCoupe()), 0);
  EXPECT_FALSE(frmFull->Visible());
}

TEST_F(RegionCaptureX11, WithTheClipboardCopyOffTheCaptureIsListedAndTheClipboardEmptied) {
  gPasCopiePP = "1";
  platform::clipboard::setText("le mien");
  ASSERT_TRUE(ctrlZ());
  ASSERT_TRUE(entree(1));
  EXPECT_EQ(ecarts(capture(1), origineCoupe()), 0);
  QByteArray erreurs;  // xclip says there is nothing to give
  EXPECT_EQ(xclipOutput({"-selection", "clipboard", "-o"}, &erreurs).toStdString(), "");
}

TEST_F(RegionCaptureX11, AfterEscapeTheHotkeyFreezesTheScreenAsItIsNow) {
  ASSERT_TRUE(ctrlZ());
  ASSERT_TRUE(touche("Escape"));
  ASSERT_TRUE(waitFor([] { return !frmFull->Visible() && frmMain().widget()->isVisible(); }));
  motif.changer();
  ASSERT_TRUE(waitFor([] {
    return platform::grabScreen(QRect(900, 500, 1, 1)).pixel(0, 0) == changedAt(900, 500);
  }));
  ASSERT_TRUE(ctrlZ());
  EXPECT_EQ(prises, 2);
  ASSERT_TRUE(entree(1));
  const QImage prise = capture(1);
  const QPoint o = origineCoupe();
  int bad = 0;
  for (int y = 0; y < prise.height(); ++y)
    for (int x = 0; x < prise.width(); ++x)
      if ((prise.pixel(x, y) & 0xFFFFFF) != (changedAt(o.x() + x, o.y() + y) & 0xFFFFFF)) ++bad;
  EXPECT_EQ(bad, 0) << "the new screen, not the one frozen before";
}

TEST_F(RegionCaptureX11, InASeriesEachEnterAddsACaptureUntilEscape) {
  frmMain().Mnumulti_Click();
  ASSERT_TRUE(frmMain().Mnumulti.Checked());
  ASSERT_TRUE(ctrlZ());
  temoin.montrees.clear();
  ASSERT_TRUE(entree(1));
  EXPECT_FALSE(gFinFull);
  ASSERT_TRUE(flistimages.existing());
  EXPECT_TRUE(temoin.montrees.contains(flistimages->widget()))
      << "the thumbnail window shows the new capture for a moment";
  // Then the overlay is back on the same frozen screen, the thumbnails gone.
  ASSERT_TRUE(waitFor([] { return !frmFull->Timtransp.Enabled(); }));
  EXPECT_TRUE(frmFull->Visible());
  EXPECT_FALSE(flistimages->widget()->isVisible());
  EXPECT_TRUE(clavierPris());
  ASSERT_TRUE(touche("Right", "Shift_L"));
  ASSERT_TRUE(entree(2));
  ASSERT_TRUE(waitFor([] { return !frmFull->Timtransp.Enabled(); }));
  ASSERT_TRUE(touche("Escape"));
  ASSERT_TRUE(waitFor([] { return !frmFull->Visible(); }));
  EXPECT_EQ(gNbCapt, 2);
  EXPECT_EQ(prises, 1) << "one frozen screen for the whole series";
  const QImage un = capture(1), deux = capture(2);
  const QPoint o = origineCoupe();
  EXPECT_EQ(ecarts(deux, o), 0);
  EXPECT_EQ(ecarts(un, o - QPoint(1, 0)), 0);
  EXPECT_TRUE(waitFor([] { return frmMain().widget()->isVisible(); }));
}

TEST_F(RegionCaptureX11, AFreeBandDrawnWithTheMouseIsCapturedOnRelease) {
  ASSERT_TRUE(ctrlZ());
  ASSERT_TRUE(glisser(QPoint(300, 200), QPoint(500, 350)));
  ASSERT_TRUE(waitFor([] { return gNbCapt == 1; }));
  EXPECT_EQ(gSelX, 300 * 15);
  EXPECT_EQ(gSelY, 200 * 15);
  const QImage prise = capture(1);
  ASSERT_EQ(prise.size(), QSize(200, 150));
  EXPECT_EQ(ecarts(prise, QPoint(301, 201)), 0);
  EXPECT_FALSE(frmFull->Visible());
  EXPECT_TRUE(waitFor([] { return frmMain().widget()->isVisible(); }));
}

TEST_F(RegionCaptureX11, WithHandlesABandIsAdjustedByHandleAndKeysThenEnterCapturesIt) {
  gRectAjust = 1;
  platform::clipboard::setText("avant la bande");
  ASSERT_TRUE(ctrlZ());
  FrmFull& f = *frmFull.existing();

  ASSERT_TRUE(glisser(QPoint(300, 200), QPoint(500, 350)));
  ASSERT_TRUE(waitFor([&] { return f.geometry().rectsel().Width() == 3000; }));
  EXPECT_EQ(gNbCapt, 0) << "the band becomes the selection, nothing is listed";
  EXPECT_TRUE(f.Visible());
  const QImage bande = QImage::fromData(xclipOutput({"-selection", "clipboard", "-t", "image/png", "-o"}), "PNG");
  EXPECT_FALSE(bande.isNull()) << "the band's picture is on the clipboard";
  EXPECT_EQ(platform::pointerPosition(), QPoint(550, 400)) << "the pointer off the new corner";
  overlay::Rect r = f.geometry().rectsel().rect();
  EXPECT_EQ(r.Left, 300 * 15);
  EXPECT_EQ(r.Top, 200 * 15);
  EXPECT_EQ(r.Height, 150 * 15);

  // The bottom-right handle dragged 30 pixels right and 20 down.
  ASSERT_TRUE(glisser(QPoint(500, 350), QPoint(530, 370), [&] {
    const overlay::Rect s = f.geometry().rectsel().rect();
    return s.Left + s.Width >= 530 * 15 && s.Top + s.Height >= 370 * 15;
  }));
  r = f.geometry().rectsel().rect();
  EXPECT_EQ(r.Left, 300 * 15) << "the opposite corner stays";
  EXPECT_EQ(r.Top, 200 * 15);
  EXPECT_GE(r.Width, 230 * 15);
  EXPECT_LE(r.Width, 235 * 15) << "the edge follows the pointer (within a handle's width)";
  EXPECT_GE(r.Height, 170 * 15);
  EXPECT_LE(r.Height, 175 * 15);
  EXPECT_EQ(gNbCapt, 0);
  const overlay::Rect tire = r;

  // Shift+Right three times and Ctrl+Down move it, Right twice widens it.
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(touche("Right", "Shift_L"));
  ASSERT_TRUE(touche("Down", "Control_L"));
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(touche("Right"));
  r = f.geometry().rectsel().rect();
  EXPECT_EQ(r.Left, tire.Left + 3 * 15);
  EXPECT_EQ(r.Top, tire.Top + 20 * 15);
  EXPECT_EQ(r.Width, tire.Width + 2 * 15);
  EXPECT_EQ(r.Height, tire.Height);

  ASSERT_TRUE(entree(1));
  EXPECT_EQ(gSelX, r.Left);
  EXPECT_EQ(gSelY, r.Top);
  const QImage prise = capture(1);
  ASSERT_EQ(prise.size(), QSize(r.Width / 15, r.Height / 15));
  EXPECT_EQ(ecarts(prise, QPoint(r.Left / 15 + 1, r.Top / 15 + 1)), 0);
  const QImage presse = QImage::fromData(xclipOutput({"-selection", "clipboard", "-t", "image/png", "-o"}), "PNG");
  EXPECT_EQ(presse.convertToFormat(QImage::Format_RGB32), prise) << "the capture, now, is on the clipboard";
}

// A band adopted as the selection and then given up is no capture: the last
// region (what the repeat takes again, what the main view lays out) stays.
// An adopted band is cut for the main view and becomes the last corner; the
// repeat takes that corner at the newest listed capture's size.
TEST_F(RegionCaptureX11, ABandAdoptedThenGivenUpIsTheCornerTheRepeatTakesAtTheListedSize) {
  gRectAjust = 1;
  ASSERT_TRUE(ctrlZ());
  ASSERT_TRUE(entree(1));
  ASSERT_TRUE(waitFor([] { return !frmFull->Visible() && frmMain().widget()->isVisible(); }));
  const int selX = gSelX;

  ASSERT_TRUE(ctrlZ());
  ASSERT_TRUE(glisser(QPoint(300, 200), QPoint(500, 350)));
  ASSERT_TRUE(waitFor([] { return frmFull->geometry().rectsel().Width() == 3000; }));
  ASSERT_TRUE(touche("Escape"));
  ASSERT_TRUE(waitFor([] { return !frmFull->Visible() && frmMain().widget()->isVisible(); }));
  EXPECT_EQ(gNbCapt, 1);
  EXPECT_NE(gSelX, selX);
  EXPECT_EQ(gLargImg, 3000);
  EXPECT_EQ(frmMain().Picture2.Picture().width(), 200) << "the main view shows the band's picture";
  ASSERT_TRUE(waitFor([] { return !gFinFull; })) << "the main window has taken the end of the selection";

  frmMain().bouton_Click(5);
  ASSERT_EQ(gNbCapt, 2);
  EXPECT_EQ(capture(2).size(), capture(1).size());
}

TEST_F(RegionCaptureX11, EscapeCapturesNothingAndKeepsTheFrozenScreen) {
  const double larg = gLargImg, haut = gHautImg;
  ASSERT_TRUE(ctrlZ());
  motif.changer();
  ASSERT_TRUE(touche("Escape"));
  ASSERT_TRUE(waitFor([] { return !frmFull->Visible(); }));
  EXPECT_EQ(gNbCapt, 0);
  EXPECT_FALSE(clavierPris());
  EXPECT_TRUE(waitFor([] { return frmMain().widget()->isVisible(); })) << "the main window is back";
  EXPECT_TRUE(waitFor([] { return flistimages.existing() && flistimages->widget()->isVisible(); }))
      << "and the thumbnail window";
  EXPECT_EQ(gLargImg, larg);
  EXPECT_EQ(gHautImg, haut);

  const QImage gele = frmMain().PictReserv.Picture();
  ASSERT_EQ(gele.size(), QSize(1920, 2160)) << "the frozen screen, with room for a second grab";
  for (QPoint p : kTemoins)
    EXPECT_TRUE(within1(gele.pixel(p), overlay::dimPixel(patternAt(p.x(), p.y())))) << p.x() << "," << p.y();
}

TEST_F(RegionCaptureX11, ReselectionReopensTheSameFrozenScreenWithoutANewGrab) {
  ASSERT_TRUE(ctrlZ());
  ASSERT_TRUE(touche("Escape"));
  ASSERT_TRUE(waitFor([] { return !frmFull->Visible() && frmMain().widget()->isVisible(); }));
  motif.changer();
  ASSERT_TRUE(waitFor([] {
    return platform::grabScreen(QRect(900, 500, 1, 1)).pixel(0, 0) == changedAt(900, 500);
  }));

  // After Escape, then after a capture: each time the screen frozen by Ctrl+Z.
  for (int n = 1; n <= 2; ++n) {
    SCOPED_TRACE(n);
    frmMain().bouton_Click(4);
    ASSERT_TRUE(waitFor(overlayOuvert));
    EXPECT_EQ(prises, 1) << "no new grab";
    EXPECT_TRUE(waitFor(motifGeleAffiche));
    ASSERT_TRUE(entree(n));
    EXPECT_EQ(gTabMode[n].toStdString(), "z");
    const QImage prise = capture(n);
    ASSERT_EQ(prise.size(), QSize(420, 260));
    EXPECT_EQ(ecarts(prise, origineCoupe()), 0) << "cut from the frozen screen";
    ASSERT_TRUE(waitFor([] { return !frmFull->Visible() && frmMain().widget()->isVisible(); }));
  }
}

// The main window's close box while the overlay shows a new grab: the question
// on the unsaved capture shows above the overlay and its Yes takes the Enter;
// the overlay makes no capture of it.
TEST_F(RegionCaptureX11, TheQuitQuestionShowsOverTheOverlayAndTakesTheEnter) {
  ASSERT_TRUE(ctrlZ());
  ASSERT_TRUE(entree(1));
  ASSERT_TRUE(waitFor([] { return frmMain().widget()->isVisible() && !gFinFull; }));
  gRepSauve = testenv::home() + "/QuitOverOverlay";
  ASSERT_TRUE(QDir(gRepSauve).removeRecursively() && QDir().mkpath(gRepSauve));
  ASSERT_TRUE(ctrlZ());
  const int prisesAvant = prises;
  testsupport::RealBoxes vraies;

  double vu = 0;
  bool focalise = false;
  QString texte;
  QTimer::singleShot(0, [&] {
    QWidget* boite = nullptr;
    if (!waitFor([&] {
          boite = QApplication::activeModalWidget();
          return boite && boite->isVisible();
        }))
      return;
    (void)waitFor([&] { return (vu = testsupport::shareSeen(boite)) > 0.95; });
    focalise = waitFor([&] { return QApplication::focusWidget() && boite->isAncestorOf(QApplication::focusWidget()); });
    if (auto* mb = qobject_cast<QMessageBox*>(boite)) texte = mb->text();
    keys.tap("Return");
    keys.sync();
    // Should the box not take it, the test must not hang.
    QTimer::singleShot(5000, [] {
      if (QWidget* b = QApplication::activeModalWidget()) b->close();
    });
  });
  frmMain().widget()->close();  // returns once the question is answered

  EXPECT_EQ(texte.toStdString(), gLng115.toStdString());
  EXPECT_GT(vu, 0.95) << "the question is under the overlay";
  EXPECT_TRUE(focalise) << "the keyboard went to the question";
  // Yes, the default: the capture saved, the program ended; the Enter did not
  // validate the overlay (no second capture saved, no grab).
  EXPECT_EQ(QDir(gRepSauve).entryList(QDir::Files).size(), 1);
  EXPECT_TRUE(vb::programEnded());
  EXPECT_EQ(prises, prisesAvant);
  EXPECT_EQ(frmFull.existing(), nullptr);
}

TEST_F(RegionCaptureX11, RepeatAfterARegionAddsTheSameRegionAgain) {
  gRectAjust = 0;
  ASSERT_TRUE(ctrlZ());
  ASSERT_TRUE(glisser(QPoint(300, 200), QPoint(560, 390)));
  ASSERT_TRUE(waitFor([] { return gNbCapt == 1; }));
  ASSERT_TRUE(waitFor([] { return frmMain().widget()->isVisible() && !gFinFull; }));

  frmMain().bouton_Click(5);
  ASSERT_EQ(gNbCapt, 2);
  EXPECT_EQ(gTabMode[2].toStdString(), "z");
  EXPECT_EQ(gTabLargCapt[2], gTabLargCapt[1]);
  EXPECT_EQ(gTabHautCapt[2], gTabHautCapt[1]);
  const QImage premiere = capture(1), seconde = capture(2);
  ASSERT_EQ(premiere.size(), QSize(260, 190));
  EXPECT_EQ(ecarts(seconde, QPoint(301, 201)), 0);
  EXPECT_EQ(seconde, premiere);
  EXPECT_TRUE(frmMain().widget()->isVisible());
}

// Ctrl+E after Ctrl+Z: the overlay goes, the desktop as it is now is grabbed
// below the first grab and the view opens on the seam; F6 lifts the second grab
// and a band drawn across the seam is cut from both grabs.
TEST_F(RegionCaptureX11, CtrlEAppendsASecondGrabAndF6LiftsItAtTheSeam) {
  ASSERT_EQ(gTouche3.toStdString(), "E") << "default second-grab letter";
  gRectAjust = 0;
  ASSERT_TRUE(ctrlZ());
  motif.changer();  // behind the overlay until Ctrl+E takes it away
  ASSERT_TRUE(raccourci("e", [] { return frmFull->doubleHeight(); }));
  EXPECT_EQ(prises, 2);
  FrmFull& f = *frmFull.existing();
  EXPECT_EQ(f.Picture1.Top(), -16200 / 2);
  EXPECT_TRUE(clavierPris());
  // Screen row y shows row y + 540 of the two grabs: the first grab above the
  // middle of the screen, the second (the window as it is now) below.
  EXPECT_TRUE(waitFor([] {
    const QImage ecran = platform::grabWholeScreen();
    return within1(ecran.pixel(1300, 300), overlay::dimPixel(patternAt(1300, 840))) &&
           within1(ecran.pixel(1300, 700), overlay::dimPixel(changedAt(1300, 160)));
  })) << "the first grab above the seam, the new one below";

  ASSERT_TRUE(touche("F6"));
  EXPECT_EQ(f.NbCoupF6(), 1);
  // Screen rows 360 to 739 are rows 900 to 1279 of the two grabs.
  ASSERT_TRUE(glisser(QPoint(700, 360), QPoint(900, 740)));
  ASSERT_TRUE(waitFor([] { return gNbCapt == 1; }));
  EXPECT_EQ(gSelY, 900 * 15) << "a place in the two-screen-high picture";
  const QImage prise = capture(1);
  ASSERT_EQ(prise.size(), QSize(200, 380));
  // Only rows on the pattern window can be told apart: 901 to 949 of the first
  // grab, and after F6 the second grab from row 1078 on, one row past the seam.
  int bad = 0, vus = 0;
  for (int y = 0; y < prise.height(); ++y) {
    const int rang = 901 + y;
    const bool haut = rang < 1078;
    const int source = haut ? rang : rang - 1077;
    if (source < 150 || source >= 950) continue;
    for (int x = 0; x < prise.width(); x += 3) {
      const QRgb attendu = haut ? patternAt(701 + x, source) : changedAt(701 + x, source);
      ++vus;
      if ((prise.pixel(x, y) & 0xFFFFFF) != (attendu & 0xFFFFFF)) ++bad;
    }
  }
  EXPECT_GT(vus, 100 * 67);
  EXPECT_EQ(bad, 0);
}

// The keys that shift the view sideways come from the keypad and Tab (which
// the focus chain does not keep); the main keyboard's minus is another key; the
// keypad's Enter validates like the other one.
TEST_F(RegionCaptureX11, KeypadKeysAndTabShiftTheViewAndKeypadEnterValidates) {
  ASSERT_TRUE(ctrlZ());
  FrmFull& f = *frmFull.existing();
  struct Pas {
    const char* touche;
    int left;
  };
  for (Pas p : {Pas{"KP_Add", -300}, Pas{"minus", -300}, Pas{"KP_Subtract", 0}, Pas{"Tab", 28800},
                Pas{"KP_Add", 28500}}) {
    ASSERT_TRUE(touche(p.touche)) << p.touche;
    EXPECT_EQ(f.Picture1.Left(), p.left) << p.touche;
  }
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(gNbCapt, 0);
  ASSERT_TRUE(touche("KP_Enter"));
  ASSERT_TRUE(waitFor([] { return gNbCapt == 1; }));
  EXPECT_EQ(ecarts(capture(1), origineCoupe()), 0) << "the shifted view does not move the cut";
}
