#include "velistrom/core/Bureau.h"
#include "velistrom/core/Ressources.h"
#include "velistrom/overlay/FrmFull.h"

#include "platform/ActiveWindow.h"
#include "platform/Clipboard.h"
#include "platform/PictureMemory.h"
#include "platform/Pointer.h"
#include "platform/ScreenGrab.h"
#include "platform/forms/App.h"
#include "platform/forms/Cover.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Runtime.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/overlay/Remise.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

using overlay::Rect;
using overlay::SelGeometry;
using overlay::mainSide;
using overlay::twips;

namespace {

constexpr vb::Color kRouge = 0x0000FF;  // RGB(255, 0, 0) as &H00BBGGRR
constexpr vb::Color kBlanc = 0xFFFFFF;
constexpr vb::Color kJaunePale = 0xC0FFFF;
constexpr std::int32_t kLargeurMax = 32500;  // widest cut, twips
constexpr int kF6 = 117, kF7 = 118, kF8 = 119, kF9 = 120;

QImage resource(const char* file) { return core::ChargerRessource(file); }

// Copies `rows` rows of `width` pixels from src (sx, sy) to dst (dx, dy), clipped
// to both pictures: never reads or writes past either.
void blit(QImage& dst, int dx, int dy, const QImage& src, int sx, int sy, int width, int rows) {
  if (dst.isNull() || src.isNull() || width <= 0 || rows <= 0) return;
  const int x0 = std::max({0, -sx, -dx});
  const int y0 = std::max({0, -sy, -dy});
  const int x1 = std::min({width, src.width() - sx, dst.width() - dx});
  const int y1 = std::min({rows, src.height() - sy, dst.height() - dy});
  if (x1 <= x0 || y1 <= y0) return;
  const QImage from = src.format() == dst.format() ? src : src.convertToFormat(dst.format());
  const int bpp = dst.depth() / 8;
  for (int r = y0; r < y1; ++r)
    std::memcpy(dst.scanLine(dy + r) + std::size_t(dx + x0) * bpp,
                from.constScanLine(sy + r) + std::size_t(sx + x0) * bpp, std::size_t(x1 - x0) * bpp);
}

// A visible control of Picture1 lies under the point (twips on Picture1).
bool covers(const vb::Control& c, float x, float y) {
  return c.Visible() && x >= c.Left() && y >= c.Top() && x < c.Left() + c.Width() && y < c.Top() + c.Height();
}

}  // namespace

// Holds the keyboard and the pointer on Picture1 while the overlay shows.
class FrmFull::InputGrabber : public QObject {
 public:
  explicit InputGrabber(FrmFull* form) : QObject(form->widget()), form_(form) {}
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Show) {
      form_->grabInput();
      form_->Form_Activate();
    } else if (e->type() == QEvent::Hide) {
      form_->releaseInput();
      form_->endGestures();
      form_->activatedThisShowing_ = false;
    }
    return false;
  }

 private:
  FrmFull* form_;
};

FrmFull::FrmFull()
    : vb::Form("FrmFull"),
      Picture1(*this, "Picture1"),
      PictClaire(Picture1, "PictClaire"),
      PictValid(Picture1, "PictValid"),
      PictHelpDbH(Picture1, "PictHelpDbH"),
      rectsel(Picture1, "rectsel"),
      rectlibre(Picture1, "rectlibre"),
      coinrect(Picture1, "coinrect"),
      LabPreAff(Picture1, "LabPreAff"),
      LabPos2(Picture1, "LabPos2"),
      LabPosition(Picture1, "LabPosition"),
      Labtaille(Picture1, "Labtaille"),
      LabPrecis(Picture1, "LabPrecis"),
      LabCarre(Picture1, "LabCarre"),
      LabDblScreen(Picture1, "LabDblScreen"),
      Labconsignes(Picture1, "Labconsignes"),
      LabGuide(Picture1, "LabGuide"),
      PictInvis(*this, "PictInvis"),
      pictcoccin(*this, "pictcoccin"),
      Label1(*this, "Label1"),
      Text1(*this, "Text1"),
      TimMvtDeb(*this, "TimMvtDeb", 10, true),
      TimForgrnd(*this, "TimForgrnd", 500, false),
      Timtransp(*this, "Timtransp", 400, false),
      Timavert(*this, "Timavert", 45000, false),
      TimLabDbhV(*this, "TimLabDbhV", 12000, false),
      TimBougPic(*this, "TimBougPic", 100, false),
      Timreinit(*this, "Timreinit", 20, true),
      Timtaille(*this, "Timtaille", 50, false),
      Timboug(*this, "Timboug"),
      Timsel(*this, "Timsel", 260, false),
      TimLabPos(*this, "TimLabPos", 500, true),
      TimLabPreAff(*this, "TimLabPreAff", 2000, false),
      TimConsignes(*this, "TimConsignes", 3000, false),
      Timdefil(*this, "Timdefil", 6000, true),
      TimCli1(*this, "TimCli1", 1000, false),
      TimCli2(*this, "TimCli2", 400, true),
      TimPremPlan(*this, "TimPremPlan", 5000, true),
      TimDrawCurs(*this, "TimDrawCurs", 100, false) {
  setBorderStyle(vb::vbBSNone);
  setShowInTaskbar(false);
  setBackColor(0);
  // Outside the window manager: no placement, no clamping to the screen, above
  // the managed windows.
  widget()->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint |
                           Qt::WindowStaysOnTopHint | Qt::Tool);

  Picture1.setBorderStyle(0);
  Picture1.setBackColor(0);
  Picture1.Move(0, 0, vb::Screen.Width(), vb::Screen.Height());
  const QImage croix = resource("cursor_cross.png");
  if (!croix.isNull()) Picture1.setMouseIcon(croix, QPoint(16, 16));

  rectsel.setBorderColor(kRouge);
  rectsel.setBorderWidth(2);
  rectsel.Move(1560, 1560, 2415, 1575);
  rectlibre.setBorderColor(kRouge);
  rectlibre.setBorderWidth(2);
  rectlibre.Move(6000, 3600, 2535, 1695);
  rectlibre.setVisible(false);
  coinrect[0].setBackStyle(1);
  coinrect[0].setBackColor(kRouge);
  coinrect[0].setBorderColor(kRouge);
  coinrect[0].Move(0, 0, 75, 75);

  for (vb::PictureBox* p : {&PictClaire, &PictValid, &PictHelpDbH}) {
    p->setBorderStyle(0);
    p->setVisible(false);
  }
  PictClaire.setBackColor(0);
  PictValid.setAutoSize(true);
  const QImage valide = resource("valid_button.png");
  if (!valide.isNull()) PictValid.setPicture(valide);
  PictHelpDbH.setAutoSize(true);
  const QImage aide = resource("dblheight_help.png");
  if (!aide.isNull()) PictHelpDbH.setPicture(aide);
  else PictHelpDbH.Move(0, 0, 380 * twppX(), 434 * twppY());

  for (vb::Label* l : {&LabPreAff, &LabPos2, &LabPosition, &Labtaille, &LabPrecis, &LabCarre, &LabDblScreen,
                       &Labconsignes, &LabGuide}) {
    l->setAutoSize(true);
    l->setUseMnemonic(false);
  }
  LabPreAff.setBackStyle(0);
  LabPreAff.setForeColor(kRouge);
  LabPreAff.setFont(QFont("MS Sans Serif", 13));
  LabPreAff.setCaption("LabPreAff");
  LabPreAff.Move(1200, 600);
  LabPreAff.setVisible(false);
  for (vb::Label* l : {&LabPos2, &LabPosition, &Labtaille, &LabPrecis}) l->setBackColor(kJaunePale);
  LabPos2.setCaption("LabPos2");
  LabPos2.setVisible(false);
  LabPosition.setCaption("LabPosition");
  Labtaille.setCaption("Labtaille");
  LabPrecis.setFont(QFont("MS Sans Serif", 9, QFont::Bold));
  LabPrecis.setCaption("LabPrecis\r\n");
  LabCarre.setBackColor(0x80FFFF);
  LabCarre.setCaption("LabCarre");
  LabCarre.setVisible(false);
  LabDblScreen.setBackStyle(0);
  LabDblScreen.setForeColor(0x008000);
  LabDblScreen.setFont(QFont("Arial", 12, QFont::Bold));
  LabDblScreen.setCaption("Double screen: keypad + / -");
  LabDblScreen.setVisible(false);
  Labconsignes.setFont(QFont("Arial", 12, QFont::Bold));
  Labconsignes.setCaption("Labconsignes");
  LabGuide.setBackStyle(0);
  LabGuide.setForeColor(kRouge);
  LabGuide.setFont(QFont("MS Sans Serif", 12, QFont::Bold));
  LabGuide.setCaption("LabGuide");

  PictInvis.setBorderStyle(0);
  PictInvis.setVisible(false);
  const QImage deco = resource("corner_deco.png");
  if (!deco.isNull()) pictcoccin.setPicture(deco);
  else pictcoccin.Move(0, 0, 56 * twppX(), 61 * twppY());
  Label1.setVisible(false);
  Text1.setVisible(false);

  Picture1.onKeyDown = [this](int& k, int s) { Picture1_KeyDown(k, s); };
  // With the pointer held by Picture1 the controls on it see no press or
  // movement of their own: hand them what the old runtime gave them. Of the
  // controls that take a press only PictClaire does something with it.
  Picture1.onMouseDown = [this](int b, int s, float x, float y) {
    auto over = [x, y](const vb::Control& c) { return covers(c, x, y); };
    if (over(PictClaire)) return PictClaire_MouseDown(b, s, x - PictClaire.Left(), y - PictClaire.Top());
    for (const vb::Control* c : std::initializer_list<const vb::Control*>{
             &PictValid, &PictHelpDbH, &LabPreAff, &LabPos2, &LabPosition, &Labtaille, &LabPrecis, &LabCarre,
             &LabDblScreen, &Labconsignes, &LabGuide})
      if (over(*c)) return;
    Picture1_MouseDown(b, s, x, y);
  };
  Picture1.onMouseMove = [this](int b, int s, float x, float y) {
    auto over = [x, y](const vb::Control& c) { return covers(c, x, y); };
    if (over(PictHelpDbH)) PictHelpDbH_MouseMove(b, s, x - PictHelpDbH.Left(), y - PictHelpDbH.Top());
    if (b == 0 && over(PictClaire))
      PictClaire_MouseMove(b, s, x - PictClaire.Left(), y - PictClaire.Top());
    else
      Picture1_MouseMove(b, s, x, y);
  };
  Picture1.onMouseUp = [this](int b, int s, float x, float y) { Picture1_MouseUp(b, s, x, y); };
  PictClaire.onMouseDown = [this](int b, int s, float x, float y) { PictClaire_MouseDown(b, s, x, y); };
  PictClaire.onMouseMove = [this](int b, int s, float x, float y) { PictClaire_MouseMove(b, s, x, y); };
  PictHelpDbH.onMouseMove = [this](int b, int s, float x, float y) { PictHelpDbH_MouseMove(b, s, x, y); };

  TimMvtDeb.onTimer = [this] { TimMvtDeb_Timer(); };
  TimForgrnd.onTimer = [this] { TimForgrnd_Timer(); };
  Timtransp.onTimer = [this] { Timtransp_Timer(); };
  Timavert.onTimer = [this] { Timavert_Timer(); };
  TimLabDbhV.onTimer = [this] { TimLabDbhV_Timer(); };
  Timreinit.onTimer = [this] { Timreinit_Timer(); };
  Timtaille.onTimer = [this] { Timtaille_Timer(); };
  Timsel.onTimer = [this] { Timsel_Timer(); };
  TimLabPos.onTimer = [this] { TimLabPos_Timer(); };
  TimLabPreAff.onTimer = [this] { TimLabPreAff_Timer(); };
  TimConsignes.onTimer = [this] { TimConsignes_Timer(); };
  Timdefil.onTimer = [this] { Timdefil_Timer(); };
  Timboug[0].setInterval(1);
  Timboug[0].setEnabled(false);
  Timboug.on(&vb::Timer::onTimer, [this](int Index) { Timboug_Timer(Index); });

  geo_.setSelClaireHook([this] { copyClearView(); });
  grabber_ = new InputGrabber(this);
  widget()->installEventFilter(grabber_);
  vb::setCoveringWindow(widget());
}

FrmFull::~FrmFull() {
  // The base class hides the window after this object is gone: no more events here.
  widget()->removeEventFilter(grabber_);
  delete grabber_;
  if (vb::coveringWindow() == widget()) vb::setCoveringWindow(nullptr);
}

int FrmFull::twppX() const { return vb::Screen.TwipsPerPixelX(); }
int FrmFull::twppY() const { return vb::Screen.TwipsPerPixelY(); }

// ================================================================ load, activate, unload

void FrmFull::Form_Load() {
  overlay::Screen screen;
  screen.widthPixels = vb::twipsToPixels(vb::Screen.Width());
  screen.heightPixels = vb::twipsToPixels(vb::Screen.Height());
  screen.twipsPerPixelX = twppX();
  screen.twipsPerPixelY = twppY();
  geo_.setScreen(screen);
  geo_.setRectAjust(gRectAjust);
  geo_.setOptChk0(gOptChk0);
  geo_.setSavedSize(gSelLarg, gSelHaut);

  Labconsignes.setCaption(gLng141 + "\r\n" + gLng142);
  LabCarre.setCaption(gLng150);
  LabPrecis.setCaption(gLng148 + "\r\n" + gLng149);
  Labconsignes.setVisible(false);
  Labconsignes.setTop(vb::Screen.Height() / 2);
  Labconsignes.setLeft(vb::Screen.Width() - Labconsignes.Width() - 500);
  TimConsignes.setEnabled(true);
  Timdefil.setEnabled(true);
  LabDblScreen.setLeft(vb::Screen.Width() - LabDblScreen.Width() - 1000);
  LabDblScreen.setTop(vb::Screen.Height() / 2);
  LabDblScreen.setCaption(gLng166);
  LabPreAff.setCaption(gLng268);

  for (int i = 1; i < SelGeometry::kCoins; ++i) Timboug.Load(i);
  coinrect[0].setWidth(5 * twppX());
  coinrect[0].setHeight(5 * twppY());
  for (int i = 1; i < SelGeometry::kCoins; ++i) coinrect.Load(i);

  readLabelWidths();
  geo_.formLoad();
  if (gRectAjust != 0) {
    LabPreAff.setVisible(true);
    TimLabPreAff.setEnabled(true);
  }
  syncControls();
}

void FrmFull::Form_Activate() {
  // Once per showing: the window system's activation may come later, when the
  // user has already started a band over the hidden rectangle.
  if (activatedThisShowing_) return;
  activatedThisShowing_ = true;
  LabDblScreen.setVisible(true);
  const bool on = gRectAjust != 0;
  geo_.setRectselVisible(on);
  for (int i = 0; i < SelGeometry::kCoins; ++i) geo_.setCoinVisible(i, on);
  LabPrecis.setVisible(on);
  Labtaille.setVisible(on);
  PictValid.setVisible(on);
  LabGuide.setVisible(on);
  if (!on) {
    PictClaire.setVisible(false);
    Picture1.setMousePointer(vb::vbCustom);
  }
  syncControls();
}

void FrmFull::Form_QueryUnload(int& Cancel, int UnloadMode) {
  geo_.setTimreinitEnabled(false);
  Timreinit.setEnabled(false);
  Timavert.setEnabled(false);
}

// Hidden, the overlay gets no release: a band, a handle drag or a series'
// re-show left pending would act on the next opening (a stale band captured at
// the first click, a handle following the bare pointer, the overlay back after
// Escape or over a new grab).
void FrmFull::endGestures() {
  enTrace_ = false;
  rectlibre.setVisible(false);
  geo_.stopHandleDrags();
  syncTimers();
  FinClignEtRouge();
  Timtransp.setEnabled(false);
}

void FrmFull::grabInput() {
  if (!Visible() || vb::modalAboveCover()) return;
  if (!vb::windowsAboveCover()) widget()->raise();
  Picture1.SetFocus();
  Picture1.widget()->grabKeyboard();
  Picture1.widget()->grabMouse();
}

void FrmFull::releaseInput() {
  Picture1.widget()->releaseKeyboard();
  Picture1.widget()->releaseMouse();
}

// ================================================================ model -> controls

void FrmFull::readLabelWidths() {
  auto read = [](overlay::LabelBox& box, const vb::Label& l) {
    box.Width = l.Width();
    box.Height = l.Height();
  };
  read(geo_.labtaille(), Labtaille);
  read(geo_.labPosition(), LabPosition);
  read(geo_.labPrecis(), LabPrecis);
  read(geo_.labGuide(), LabGuide);
}

void FrmFull::syncControls() {
  auto place = [](vb::Shape& s, const Rect& r) { s.Move(r.Left, r.Top, r.Width, r.Height); };
  place(rectsel, geo_.rectsel().rect());
  rectsel.setVisible(geo_.rectselVisible());
  place(rectlibre, geo_.rectlibre().rect());
  for (int i : coinrect.indexes()) {
    place(coinrect[i], geo_.coinrect(i).rect());
    coinrect[i].setVisible(geo_.coinVisible(i));
  }
  Labtaille.setCaption(geo_.labtaille().Caption);
  LabPosition.setCaption(geo_.labPosition().Caption);
  Labtaille.Move(geo_.labtaille().Left, geo_.labtaille().Top);
  LabPosition.Move(geo_.labPosition().Left, geo_.labPosition().Top);
  LabPrecis.Move(geo_.labPrecis().Left, geo_.labPrecis().Top);
  LabGuide.Move(geo_.labGuide().Left, geo_.labGuide().Top);
  PictValid.Move(geo_.pictValidLeft(), geo_.pictValidTop());
  const auto& c = geo_.pictClaire();
  PictClaire.Move(c.Left(), c.Top(), c.Width(), c.Height());
  readLabelWidths();
  syncTimers();
}

void FrmFull::syncTimers() {
  Timtaille.setEnabled(geo_.timtailleEnabled());
  Timreinit.setEnabled(geo_.timreinitEnabled());
  TimLabPos.setEnabled(geo_.timLabPosEnabled());
  for (int i : Timboug.indexes()) Timboug[i].setEnabled(geo_.timbougEnabled(i));
}

void FrmFull::copyClearView() {
  const Rect src = geo_.clearViewSourcePixels();
  if (src.Width <= 0 || src.Height <= 0 || PictPourSel.isNull()) return;
  QImage& view = PictClaire.canvas();
  // Written over while its size holds (a band being drawn changes it at every
  // move, a moved rectangle does not).
  if (view.size() == QSize(src.Width, src.Height) && view.format() == PictPourSel.format() && view.isDetached() &&
      PictPourSel.rect().contains(QRect(src.Left, src.Top, src.Width, src.Height)))
    blit(view, 0, 0, PictPourSel, src.Left, src.Top, src.Width, src.Height);
  else
    view = PictPourSel.copy(src.Left, src.Top, src.Width, src.Height);
  PictClaire.widget()->update();
}

// ================================================================ public procedures

void FrmFull::PlacDesCoins(vb::Shape&) {
  geo_.PlacDesCoins();
  syncControls();
}

void FrmFull::RedimRect(int NoCoin) {
  (void)geo_.RedimRect(NoCoin);
  syncControls();
}

void FrmFull::PlaceGuide() {
  geo_.PlaceGuide();
  syncControls();
}

void FrmFull::SelClaire(vb::Shape& UnRectSel) {
  geo_.SelClaire(&UnRectSel == &rectlibre ? geo_.rectlibre().rect() : geo_.rectsel().rect());
  syncControls();
  PictClaire.Refresh();
}

void FrmFull::CopiePP(const QString&) { platform::clipboard::setPicture(PictInvis.Image()); }

void FrmFull::ForceForeGroundWindow(platform::NativeWindow newHwnd) {
  if (newHwnd == 0) return;
  const bool ours = widget()->winId() == newHwnd;
  if (ours && !Visible()) return;  // a hidden overlay is not brought back
  if (platform::activeWindow() != newHwnd) {
    if (ours) {
      if (vb::windowsAboveCover()) return;
      widget()->raise();
      widget()->activateWindow();
    } else {
      platform::requestActivation(newHwnd);
    }
  }
  if (ours) grabInput();
}

void FrmFull::FinClignEtRouge() {
  Timsel.setEnabled(false);
  rectsel.setBorderColor(kRouge);
  LabGuide.setForeColor(kRouge);
  if (gRectAjust != 0)
    for (int i : coinrect.indexes()) coinrect[i].setBackColor(kRouge);
}

void FrmFull::BougCoin(int uncoin, int boutonSour) {
  Picture1.setMousePointer(geo_.BougCoin(uncoin, boutonSour));
  LabPos2.setVisible(false);
  if (boutonSour == 1) Timsel.setEnabled(true);
  syncTimers();
}

// ================================================================ opening

bool FrmFull::makeBuffers(int w, int h, int numB) {
  const std::int64_t one = std::int64_t(w) * h * 4;
  // Picture1 and PictPourSel are two screens high; the four one-screen grabs.
  const std::int64_t need = numB == 1 ? 4 * one + 3 * one : 4 * one + 2 * one;
  auto refuse = [] {
    vb::MsgBox(QStringLiteral("Mémoire insuffisante pour figer l'écran / "
                              "Not enough memory to freeze the screen for a selection."),
               vb::vbExclamation, gTxtCapture);
    return false;
  };
  if (w <= 0 || h <= 0 || need > core::bureau().bufferLimit) return refuse();
  QImage p1(w, 2 * h, QImage::Format_RGB32), pps(w, 2 * h, QImage::Format_RGB32);
  if (p1.isNull() || pps.isNull()) return refuse();
  return true;
}

// No picture of the screen: a black overlay would look like a frozen screen.
// Say so and close the overlay; the previous frozen picture stays for a cancel.
bool FrmFull::grabFailed() {
  TimForgrnd.setEnabled(false);
  TimMvtDeb.setEnabled(false);
  vb::MsgBox(QStringLiteral("Impossible de figer l'écran / The screen could not be grabbed for a selection."),
             vb::vbExclamation, gTxtCapture);
  if (Visible()) {
    Timavert.setEnabled(false);
    gFinFull = true;  // before the main window can become active
    Hide();
    mainSide().escapeToMain();
  }
  return false;
}

bool FrmFull::InitFull(int numB) {
  const int sw = vb::twipsToPixels(vb::Screen.Width());
  const int h = vb::twipsToPixels(vb::Screen.Height());
  const int monitors = core::bureau().monitorCount ? core::bureau().monitorCount() : 1;
  const int w = monitors != 1 ? 2 * sw : sw;
  if (!gAnnuler && !makeBuffers(w, h, numB)) return false;

  geo_.setRectAjust(gRectAjust);
  geo_.setOptChk0(gOptChk0);
  geo_.setSavedSize(gSelLarg, gSelHaut);
  TimForgrnd.setEnabled(true);
  setTop(5000);
  setLeft(5000);
  TimMvtDeb.setEnabled(true);
  Picture1.setWidth(vb::pixelsToTwips(w));
  mainSide().thumbsColourKey(false);
  screenHPix_ = h;

  if (gAnnuler) {
    // The frozen screen of the previous opening, as it was: no grab, no pointer.
    const QImage kept = mainSide().pictReserv();
    if (!kept.isNull()) {
      Picture1.canvas() = kept.convertToFormat(QImage::Format_RGB32);
      Picture1.setHeight(vb::pixelsToTwips(kept.height()));
    }
  } else {
    vb::DoEvents();
    const QImage grab = core::bureau().grab(QRect(0, 0, w, h));
    if (grab.isNull()) return grabFailed();
    QImage frame = grab.convertToFormat(QImage::Format_RGB32);
    const bool pointer = gParClavier && gHCurseur != platform::kNoPointer && core::bureau().drawPointer;
    // The pointer goes into the grab itself, so every copy made of it carries it.
    if (pointer) core::bureau().drawPointer(frame, gHCurseur, QPoint(gCursX, gCursY));

    gHautDbl = vb::Screen.Height();
    if (numB == 1) {
      QImage p1(w, 2 * h, QImage::Format_RGB32);
      p1.fill(Qt::black);
      // The first grab, dimmed, stays above; the second goes just below it.
      const QImage& upper = Picture1.Image();
      if (upper.height() >= h) blit(p1, 0, 0, upper.convertToFormat(QImage::Format_RGB32), 0, 0, w, h);
      else if (!PictHautSel.isNull()) {
        QImage d = PictHautSel.convertToFormat(QImage::Format_RGB32);
        overlay::dimRows(d, 0, d.height());
        blit(p1, 0, 0, d, 0, 0, w, h);
      }
      blit(p1, 0, h, frame, 0, 0, w, h);
      // The undimmed strips keep the grab's whole width: one screen wide, the
      // seams and the cut would lose a second monitor's half.
      PictBas = frame;
      PictBasSel = frame;
      if (PictHautSel.isNull()) {
        PictHautSel = QImage(w, h, QImage::Format_RGB32);
        PictHautSel.fill(Qt::black);
      }
      demiHautPix_ = twips(h / 2.0);
      coupF6_ = coupF7_ = vb::Screen.Height();
      minCoupF6_ = minCoupF7_ = twips(vb::Screen.Height() * 0.5);
      largPix_ = w;
      nbCoupF6_ = nbCoupF7_ = 0;  // every double-height view starts its seams afresh
      // The undimmed copy at the frozen picture's places: the first grab as the
      // previous opening kept it, the second just below.
      QImage pps(w, 2 * h, QImage::Format_RGB32);
      pps.fill(Qt::black);
      blit(pps, 0, 0, PictHautSel, 0, 0, largPix_, h);
      blit(pps, 0, h, PictBasSel, 0, 0, largPix_, h);
      PictPourSel = pps;
      PictHelpDbH.setVisible(true);
      TimLabDbhV.setEnabled(true);
      overlay::dimRows(p1, h, 2 * h);
      overlay::dimRows(PictBas, 0, PictBas.height());
      PictHaut = PictHautSel.copy();
      overlay::dimRows(PictHaut, 0, PictHaut.height());
      // Over the dimming the pointer shows in its true colours, as it was seen.
      if (pointer) core::bureau().drawPointer(p1, gHCurseur, QPoint(gCursX, gCursY + h));
      // The canvas first: sized to match, the box then keeps it as it is.
      Picture1.canvas() = p1;
    } else {
      // Both two-screen pictures in one pass over the grab.
      QImage& view = Picture1.canvas();
      overlay::freezeOneScreen(frame, QSize(w, 2 * h), PictPourSel, view);
      PictHaut = frame;
      PictHautSel = frame;
      if (pointer) core::bureau().drawPointer(view, gHCurseur, QPoint(gCursX, gCursY));
    }
    Picture1.setHeight(2 * vb::Screen.Height());
    doubleHeight_ = numB == 1;
  }
  const bool dbl = gAnnuler ? doubleHeight_ : numB == 1;
  Picture1.setTop(dbl ? -Picture1.Height() / 4 : 0);
  Picture1.setLeft(0);
  LabGuide.setCaption(gLng140);
  readLabelWidths();
  geo_.placeLabels();
  geo_.updateCaptions();
  geo_.PlacDesCoins();
  syncControls();
  setWidth(Picture1.Width());
  setHeight(Picture1.Height());
  pictcoccin.Move(Picture1.Width() - pictcoccin.Width(), Picture1.Height() - pictcoccin.Height());
  Picture1.Refresh();
  return true;
}

void FrmFull::TimMvtDeb_Timer() {
  if (Left() <= 0) {
    TimMvtDeb.setEnabled(false);
    setLeft(0);
    setTop(0);
    PictHelpDbH.setTop(Picture1.Height() / 2 - PictHelpDbH.Height() / 2);
    PictHelpDbH.setLeft(500);
    geo_.PlacDesCoins();
    geo_.placeLabels();
    syncControls();
    grabInput();
  } else {
    setLeft(Left() - 300);
    setTop(Top() - 300);
  }
}

void FrmFull::TimForgrnd_Timer() {
  ForceForeGroundWindow(widget()->winId());
  TimForgrnd.setEnabled(false);
}

// ================================================================ validation

void FrmFull::ValidSel(vb::Shape& LaSelect) {
  const bool band = &LaSelect == &rectlibre;
  overlay::ShapeBox& s = band ? geo_.rectlibre() : geo_.rectsel();
  // Less than a pixel across or down is nothing to capture.
  if (s.Width() < twppX() || s.Height() < twppY()) return;
  // A band drawn with the handles on is cut and handed to the main view and
  // the clipboard, but only becomes the selection to adjust: no list entry.
  const bool adopt = band && gRectAjust != 0;
  if (s.Width() > kLargeurMax) (void)s.setWidth(kLargeurMax);
  const std::int32_t selX = s.Left(), selY = s.Top();
  // The cut: one pixel in from the shape's corner, its full size, from the
  // undimmed copy (true colours, the saved pointer, no decorations), kept to
  // the frozen desktop: a band stretched past its edge gets no black margin.
  const int cx = vb::twipsToPixels(selX + twppX()), cy = vb::twipsToPixels(selY + twppY());
  const int cw = std::max(0, std::min(vb::twipsToPixels(s.Width()), PictPourSel.width() - cx));
  // Below a single grab the copy's second half is only black.
  const int frozenRows = doubleHeight_ ? PictPourSel.height() : PictPourSel.height() / 2;
  const int ch = std::max(0, std::min(vb::twipsToPixels(s.Height()), frozenRows - cy));
  if (cw == 0 || ch == 0) return;
  const std::int32_t larg = cw < vb::twipsToPixels(s.Width()) ? vb::pixelsToTwips(cw) : s.Width();
  const std::int32_t haut = ch < vb::twipsToPixels(s.Height()) ? vb::pixelsToTwips(ch) : s.Height();
  gModeCapt = QStringLiteral("z");
  gSelX = selX;
  gSelY = selY;
  gHautImg = haut;
  gLargImg = larg;
  LabPosition.setVisible(true);

  PictInvis.setPicture(QImage());
  PictInvis.Move(0, 0, larg, haut);
  QImage cut = platform::newPicture(QSize(cw, ch), QImage::Format_RGB32);
  cut.fill(Qt::black);
  blit(cut, 0, 0, PictPourSel, cx, cy, cw, ch);
  PictInvis.canvas() = cut;

  PictSave = Picture1.Image();
  mainSide().setPictReserv(Picture1.Image());
  mainSide().setPicture2(PictInvis.Image());
  mainSide().CopiePP(QStringLiteral("z"));
  mainSide().showCut();
  if (band) geo_.takeBand();
  else geo_.PlacDesCoins();
  syncControls();
  const Rect r = geo_.rectsel().rect();
  warp((double(r.Left) + r.Width + 400) / twppX(), (double(r.Top) + r.Height + 400) / twppY());
  if (adopt) return;

  gMargeEchapX = gMargeEchapY = 0;
  mainSide().GestVignettes(PictInvis);
  if (mainSide().severalInARow()) {
    mainSide().showThumbsForSeries();
    Timtransp.setEnabled(true);
  } else {
    gFinFull = true;  // before the main window can become active
    Hide();
    mainSide().backToMain(gHautImg);
    Timavert.setEnabled(false);
  }
  mainSide().thumbsColourKey(true);
  mainSide().startZoom();
}

void FrmFull::Timtransp_Timer() {
  mainSide().hideThumbs();
  Timtransp.setEnabled(false);
  Show();
  // Still shown, the overlay gets no new Show: this is its activation for the
  // next capture of the series.
  activatedThisShowing_ = false;
  Form_Activate();
}

void FrmFull::Timavert_Timer() { vb::MsgBox(gLng158, vb::vbExclamation); }

// The pointer to a point of Picture1 given in pixels: the form sits at the
// screen's corner, Picture1 may be scrolled inside it.
void FrmFull::warp(double xPixels, double yPixels) {
  const double x = xPixels + double(Left() + Picture1.Left()) / twppX();
  const double y = yPixels + double(Top() + Picture1.Top()) / twppY();
  if (core::bureau().warpPointer)
    core::bureau().warpPointer(QPoint(twips(x), twips(y)));
}

// ================================================================ keyboard

void FrmFull::Picture1_KeyDown(int& KeyCode, int Shift) {
  const bool shiftDown = (Shift & 1) != 0, ctrlDown = (Shift & 2) != 0, altDown = (Shift & 4) != 0;
  mainSide().overlayKey();
  if (KeyCode == vb::vbKeyF12) toggleDecorations();
  switch (KeyCode) {
    case vb::vbKeyEscape: return escape();
    case vb::vbKeyReturn: return enter();
    case kF8:
      if (doubleHeight_) keyF8();
      return;
    case kF9:
      if (doubleHeight_) keyF9();
      return;
    case kF6:
    case kF7:
      if (Shift == 0 || shiftDown) {
        if (!doubleHeight_) return;
        if (KeyCode == kF6) seamF6(shiftDown);
        else seamF7(shiftDown);
        return;
      }
      break;
    case vb::vbKeySubtract: return keypadMinus();
    case vb::vbKeyAdd: return keypadPlus();
    case vb::vbKeyTab:
      Picture1.setLeft(vb::Screen.Width());
      Timavert.setEnabled(false);
      break;
    case vb::vbKeyRight:
    case vb::vbKeyLeft:
    case vb::vbKeyDown:
    case vb::vbKeyUp: {
      const int dx = KeyCode == vb::vbKeyRight ? 1 : KeyCode == vb::vbKeyLeft ? -1 : 0;
      const int dy = KeyCode == vb::vbKeyDown ? 1 : KeyCode == vb::vbKeyUp ? -1 : 0;
      if (Shift == 0) geo_.keyResize(dx, dy);
      else if (altDown) geo_.keyResize(20 * dx, 20 * dy);
      else if (shiftDown) geo_.keyMove(dx, dy);
      else if (ctrlDown) geo_.keyMove(20 * dx, 20 * dy);
      break;
    }
    default: break;
  }
  refreshSequence();
}

void FrmFull::refreshSequence() {
  geo_.refreshAfterKey();
  Timavert.setEnabled(false);
  syncControls();
}

void FrmFull::toggleDecorations() {
  geo_.setRectselVisible(!geo_.rectselVisible());
  for (vb::Control* c : std::initializer_list<vb::Control*>{&LabPrecis, &Labtaille, &PictValid, &LabGuide, &PictClaire})
    c->setVisible(!c->Visible());
  for (int i = 0; i < SelGeometry::kCoins; ++i) geo_.setCoinVisible(i, !geo_.coinVisible(i));
}

void FrmFull::escape() {
  PictSave = Picture1.Image();
  mainSide().setPictReserv(Picture1.Image());
  Timavert.setEnabled(false);
  gFinFull = true;  // before the main window can become active
  Hide();
  mainSide().escapeToMain();
  // The main window lays the previous capture out four pixels larger; the last
  // region itself keeps its size.
  gMargeEchapX = 4 * twppX();
  gMargeEchapY = 4 * twppY();
  nbCoupF6_ = nbCoupF7_ = 0;
}

void FrmFull::enter() {
  Timavert.setEnabled(false);
  geo_.copyToBand();
  nbCoupF6_ = nbCoupF7_ = 0;
  syncControls();
  ValidSel(rectsel);
}

void FrmFull::keyF8() {
  if (coupF6_ < minCoupF6_) return;
  if (-Picture1.Height() / 2 < Picture1.Top()) {
    Picture1.setTop(Picture1.Top() - 100);
    minCoupF6_ += 100;
    minCoupF7_ -= 100;
    geo_.pictClaire().setLeft(0);
    Timavert.setEnabled(false);
  } else {
    Picture1.setTop(-Picture1.Height() / 2);
  }
  refreshSequence();
}

void FrmFull::keyF9() {
  if (coupF7_ > minCoupF7_) {
    Picture1.setTop(Picture1.Top() + 100);
    minCoupF6_ -= 100;
    minCoupF7_ += 100;
    geo_.pictClaire().setLeft(0);
    Timavert.setEnabled(false);
  }
  refreshSequence();
}

void FrmFull::seamF6(bool undo) {
  if (!undo) {
    if (coupF6_ < minCoupF6_) return;
    ++nbCoupF6_;
    coupF6_ -= twppY();
    if (nbCoupF6_ == 1) demiHautPix_ = twips(vb::twipsToPixels(Picture1.Height()) * 0.5 - 2);
  } else {
    if (nbCoupF6_ <= 0) return;
    --nbCoupF6_;
    coupF6_ += twppY();
  }
  copyF6Band();
}

// The second grab from its row NbCoupF6 at row DemiHautPix: the band stops at the
// grab's last row, the rows below it keep what they showed.
void FrmFull::copyF6Band() {
  largPix_ = vb::twipsToPixels(Picture1.Width());
  const int rows = std::max(0, screenHPix_ - nbCoupF6_);
  blit(Picture1.canvas(), 0, demiHautPix_, PictBas, 0, nbCoupF6_, largPix_, rows);
  blit(PictPourSel, 0, demiHautPix_, PictBasSel, 0, nbCoupF6_, largPix_, rows);
  Picture1.Refresh();
  SelClaire(rectsel);
}

void FrmFull::seamF7(bool undo) {
  if (!undo) {
    if (coupF7_ <= minCoupF7_) return;
    ++nbCoupF7_;
    coupF7_ -= twppY();
  } else {
    if (nbCoupF7_ <= 0) return;
    --nbCoupF7_;
    coupF7_ += twppY();
  }
  copyF7Band();
}

void FrmFull::copyF7Band() {
  largPix_ = vb::twipsToPixels(Picture1.Width());
  const int rows = std::max(0, screenHPix_ - nbCoupF7_);
  blit(PictPourSel, 0, nbCoupF7_, PictHautSel, 0, 0, largPix_, rows);
  blit(Picture1.canvas(), 0, nbCoupF7_, PictHaut, 0, 0, largPix_, rows);
  Picture1.Refresh();
  SelClaire(rectsel);
}

void FrmFull::keypadMinus() {
  if (Picture1.Left() < 0) {
    Picture1.setLeft(Picture1.Left() + 300);
    geo_.pictClaire().setLeft(0);
    Timavert.setEnabled(false);
  }
  refreshSequence();
}

void FrmFull::keypadPlus() {
  if (-vb::Screen.Width() < Picture1.Left()) {
    Picture1.setLeft(Picture1.Left() - 300);
    geo_.pictClaire().setLeft(0);
    const int monitors = core::bureau().monitorCount ? core::bureau().monitorCount() : 1;
    if (monitors == 1 && Picture1.Left() == -600) {
      vb::MsgBox(gLng155, vb::vbExclamation | vb::vbOKOnly, gLng156);
      Picture1.setLeft(Picture1.Left() + 600);
    }
    Timavert.setEnabled(false);
  }
  refreshSequence();
}

void FrmFull::TimLabDbhV_Timer() {
  PictHelpDbH.setVisible(false);
  TimLabDbhV.setEnabled(false);
}

void FrmFull::PictHelpDbH_MouseMove(int, int, float, float) { PictHelpDbH.setVisible(false); }

void FrmFull::PictClaire_MouseDown(int Button, int Shift, float X, float Y) {
  // Picture1 works in its own coordinates: add where the clear view lies on it.
  Picture1_MouseDown(Button, Shift, X + PictClaire.Left(), Y + PictClaire.Top());
}

void FrmFull::PictClaire_MouseMove(int, int, float X, float Y) {
  if (X > 10 && X < PictClaire.Width() - 10 && Y > 10 && Y < PictClaire.Height() - 10) PictClaire.setVisible(false);
}

// ================================================================ mouse

void FrmFull::Picture1_MouseDown(int Button, int Shift, float X, float Y) {
  Timavert.setEnabled(false);
  if (Button == vb::vbRightButton && Shift == 1) {
    geo_.makeSquare();
    syncControls();
    return;
  }
  auto validate = [this] {
    geo_.copyToBand();
    syncControls();
    ValidSel(rectsel);
  };
  if (Button == vb::vbRightButton && !enTrace_) return validate();
  if (geo_.inPressZone(X, Y)) {
    if (Button == vb::vbLeftButton) {
      geo_.startMove(X, Y);
      Picture1.setMousePointer(vb::vbSizePointer);
      LabPos2.setVisible(false);
    } else if (Button == vb::vbRightButton) {
      validate();  // while a band is drawn: the selection, not the band
    }
    return;
  }
  if (!geo_.inEnlarged(X, Y)) {
    enTrace_ = true;
    geo_.startBand(X, Y);
    PictClaire.setVisible(true);
    Labtaille.setVisible(true);
    LabPosition.setVisible(false);
    syncControls();
  }
}

void FrmFull::Picture1_MouseMove(int Button, int Shift, float X, float Y) {
  xSouris_ = twips(X);
  ySouris_ = twips(Y);
  if (gRectAjust != 0 && !enTrace_) {
    if (geo_.inInnerZone(X, Y)) {
      Picture1.setMousePointer(vb::vbSizePointer);
      LabPos2.setVisible(false);
      LabCarre.Move(int(X) + 200, int(Y));
      LabCarre.setVisible(true);
      FinClignEtRouge();
      if (Button == vb::vbLeftButton) {
        Timavert.setEnabled(false);
        geo_.moveTo(X, Y);
        syncControls();
      }
    } else {
      const std::vector<int> hits = geo_.coinsAt(X, Y);
      for (int i : hits) BougCoin(i, Button);
      if (hits.empty()) pointerElsewhere();
      LabCarre.setVisible(false);
    }
    placeLabPos2(X, Y);
  } else if (!enTrace_) {
    LabPos2.Move(int(X) - 500, int(Y) - 300);
    LabPos2.setCaption("< " + vb::Str(X / twppX()) + " ^ " + vb::Str(Y / twppY()));
    LabPos2.setVisible(true);
  } else {
    const bool left = Button == vb::vbLeftButton;
    if (left) {
      Timavert.setEnabled(false);
      geo_.setRectselVisible(false);
      for (int i = 0; i < SelGeometry::kCoins; ++i) geo_.setCoinVisible(i, false);
      LabGuide.setVisible(false);
      PictValid.setVisible(false);
      LabPrecis.setVisible(false);
      rectlibre.setVisible(true);
    }
    geo_.sizeBand(X, Y, left);
    syncControls();
  }
}

void FrmFull::pointerElsewhere() {
  FinClignEtRouge();
  PictValid.setVisible(true);
  PictClaire.setVisible(true);
  Picture1.setMousePointer(vb::vbCustom);
  LabPos2.setVisible(true);
  geo_.stopHandleDrags();
  syncTimers();
}

void FrmFull::placeLabPos2(double X, double Y) {
  LabPos2.setCaption("<- " + SelGeometry::N(X / twppX()) + "  ^ " + SelGeometry::N(Y / twppY()));
  const int w = LabPos2.Width(), h = LabPos2.Height();
  LabPos2.setTop(Y > 22 * twppY() ? twips(Y - h - 80) : 500);
  const auto& c3 = geo_.coinrect(3);
  const auto& c4 = geo_.coinrect(4);
  const auto& c5 = geo_.coinrect(5);
  const auto& c7 = geo_.coinrect(7);
  if (X > c4.Left() && X < c4.Left() + w && Y > c3.Top() && Y < c5.Top()) {
    LabPos2.setLeft(twips(X));
  } else if (X > c7.Left() && X < c5.Left() && Y > c5.Top() && Y < c5.Top() + h + 100) {
    LabPos2.setTop(twips(Y));
  } else {
    LabPos2.setLeft(X > 65 * twppX() ? twips(X - w - 80) : 500);
  }
}

void FrmFull::Picture1_MouseUp(int Button, int Shift, float X, float Y) {
  if (Picture1.MousePointer() == vb::vbSizeAll) {
    Picture1.setMousePointer(vb::vbArrow);
    return;
  }
  FinClignEtRouge();
  if (enTrace_) {
    const bool wasShown = Visible();
    ValidSel(rectlibre);
    enTrace_ = false;
    if (gRectAjust != 0) {
      geo_.setRectselVisible(true);
      for (int i = 0; i < SelGeometry::kCoins; ++i) geo_.setCoinVisible(i, true);
      LabGuide.setVisible(true);
      PictValid.setVisible(true);
      LabPrecis.setVisible(true);
      geo_.placeLabels(false);
      geo_.updateCaptions();
      LabPosition.setVisible(true);
      syncControls();
      if (wasShown == Visible()) warp(X / twppX() + 50, Y / twppY() + 50);
    } else {
      Labtaille.setVisible(false);
      LabPosition.setVisible(false);
    }
    rectlibre.setVisible(false);
  } else {
    geo_.stopHandleDrags();
    syncTimers();
    Picture1.setMousePointer(vb::vbArrow);
    LabPos2.setVisible(false);
    nudgePointer(X, Y);
  }
  Timavert.setEnabled(false);
  PictClaire.setVisible(false);
}

void FrmFull::nudgePointer(double X, double Y) {
  const double x = X / twppX(), y = Y / twppY();
  if (X > geo_.coinrect(4).Left() - 200) warp(x + 40, y);
  else if (X < geo_.coinrect(7).Left() + 200) warp(x - 40, y);
  else if (Y < geo_.coinrect(2).Top() + 200) warp(x, y - 40);
  else if (Y > geo_.coinrect(7).Top() - 200) warp(x, y + 40);
}

// ================================================================ timers

void FrmFull::Timreinit_Timer() {
  geo_.onTimreinit();
  syncControls();
}

void FrmFull::Timtaille_Timer() {
  geo_.onTimtaille();
  syncControls();
}

void FrmFull::Timboug_Timer(int Index) {
  (void)geo_.onTimboug(Index, xSouris_, ySouris_);
  syncControls();
}

void FrmFull::Timsel_Timer() {
  const bool red = blinkState_;
  blinkState_ = !blinkState_;
  const vb::Color c = red ? kRouge : kBlanc;
  rectsel.setBorderColor(c);
  for (int i : coinrect.indexes()) coinrect[i].setBackColor(c);
  LabGuide.setForeColor(c);
  PictValid.setVisible(red);
}

void FrmFull::TimLabPos_Timer() {
  geo_.onTimLabPos();
  syncControls();
}

void FrmFull::TimLabPreAff_Timer() {
  LabPreAff.setVisible(false);
  TimLabPreAff.setEnabled(false);
}

void FrmFull::TimConsignes_Timer() { Labconsignes.setVisible(false); }

void FrmFull::Timdefil_Timer() { LabDblScreen.setVisible(false); }
