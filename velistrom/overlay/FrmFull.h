#pragma once
// The selection overlay: a frameless window over the whole desktop showing a
// frozen, dimmed picture of it, on which the user draws, moves and resizes the
// selection and hands it to the capture list. The numbers of the selection live
// in SelGeometry; this form copies them onto its controls and runs the timers.
//
// The window is override-redirect (outside the window manager), so that a
// picture twice the screen's height and the slide-in from below right are not
// clamped to the screen; while it shows it holds the keyboard and the pointer.
//
// Between openings the form stays loaded and hidden; everything keeps its value.
#include "platform/X11Display.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"
#include "velistrom/overlay/Gel.h"
#include "velistrom/overlay/SelGeometry.h"

#include <QImage>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <functional>

// Height of Picture1 before the doubling (one screen), twips: where a second
// grab goes. Used by the overlay only.
inline std::int32_t gHautDbl = 0;
// What Escape adds to the size of the previous capture when the main window lays
// it out again (four pixels each way, twips); 0 after a validation. Kept apart
// from gLargImg / gHautImg, which the re-capture and the bursts read.
inline std::int32_t gMargeEchapX = 0;
inline std::int32_t gMargeEchapY = 0;

class FrmFull : public vb::Form {
 public:
  FrmFull();
  ~FrmFull() override;

  void Form_Load() override;
  void Form_Activate() override;
  void Form_QueryUnload(int& Cancel, int UnloadMode) override;

  // ---- public procedures
  void PlacDesCoins(vb::Shape& rectangle);
  void RedimRect(int NoCoin);
  void ForceForeGroundWindow(platform::NativeWindow newHwnd);
  void CopiePP(const QString& modcap);
  void PlaceGuide();
  // Freezes the desktop: 0 a fresh grab, 1 a second grab below the first. False
  // (after a message) when the buffers cannot be made or the screen cannot be
  // grabbed: the caller must not show the overlay then (an overlay already
  // shown is closed as by Escape).
  [[nodiscard]] bool InitFull(int numB);
  void FinClignEtRouge();
  void BougCoin(int uncoin, int boutonSour);
  void ValidSel(vb::Shape& LaSelect);
  void SelClaire(vb::Shape& UnRectSel);
  void Picture1Move(float, float) {}

  // ---- events
  void Picture1_KeyDown(int& KeyCode, int Shift);
  void Picture1_MouseDown(int Button, int Shift, float X, float Y);
  void Picture1_MouseMove(int Button, int Shift, float X, float Y);
  void Picture1_MouseUp(int Button, int Shift, float X, float Y);
  void PictClaire_MouseDown(int Button, int Shift, float X, float Y);
  void PictClaire_MouseMove(int Button, int Shift, float X, float Y);
  void PictHelpDbH_MouseMove(int Button, int Shift, float X, float Y);

  void TimMvtDeb_Timer();
  void TimForgrnd_Timer();
  void Timtransp_Timer();
  void Timavert_Timer();
  void TimLabDbhV_Timer();
  void Timreinit_Timer();
  void Timtaille_Timer();
  void Timboug_Timer(int Index);
  void Timsel_Timer();
  void TimLabPos_Timer();
  void TimLabPreAff_Timer();
  void TimConsignes_Timer();
  void Timdefil_Timer();

  // ---- controls on Picture1
  vb::PictureBox Picture1;  // the frozen, dimmed desktop; takes every key and press
  vb::PictureBox PictClaire;
  vb::PictureBox PictValid;
  vb::PictureBox PictHelpDbH;
  vb::Shape rectsel;
  vb::Shape rectlibre;
  vb::ControlArray<vb::Shape> coinrect;
  vb::Label LabPreAff;
  vb::Label LabPos2;
  vb::Label LabPosition;
  vb::Label Labtaille;
  vb::Label LabPrecis;
  vb::Label LabCarre;
  vb::Label LabDblScreen;
  vb::Label Labconsignes;
  vb::Label LabGuide;
  // ---- on the form
  vb::PictureBox PictInvis;  // the cut: the capture handed to the main window
  vb::Image pictcoccin;
  vb::Label Label1;
  vb::TextBox Text1;

  // ---- timers
  vb::Timer TimMvtDeb, TimForgrnd, Timtransp, Timavert, TimLabDbhV, TimBougPic, Timreinit, Timtaille;
  vb::ControlArray<vb::Timer> Timboug;
  vb::Timer Timsel, TimLabPos, TimLabPreAff, TimConsignes, Timdefil, TimCli1, TimCli2, TimPremPlan,
      TimDrawCurs;

  // ---- work pictures, never shown (pixels): the undimmed frozen desktop (both
  // grabs in double height), the two grabs dimmed and undimmed (each as wide as
  // the grab, across every monitor), and Picture1's picture as kept at a validation.
  QImage PictPourSel, PictHaut, PictBas, PictHautSel, PictBasSel, PictSave;

  // ---- state, for the main window and tests
  overlay::SelGeometry& geometry() { return geo_; }
  bool doubleHeight() const { return doubleHeight_; }
  std::int32_t NbCoupF6() const { return nbCoupF6_; }
  std::int32_t NbCoupF7() const { return nbCoupF7_; }
  std::int32_t CoupF6() const { return coupF6_; }
  std::int32_t CoupF7() const { return coupF7_; }
  std::int32_t MinCoupF6() const { return minCoupF6_; }
  std::int32_t MinCoupF7() const { return minCoupF7_; }
  std::int32_t DemiHautPix() const { return demiHautPix_; }
  bool EnTrace() const { return enTrace_; }
  bool blinkWhite() const { return blinkState_; }
  // Copies the model onto the controls (every handler ends with it).
  void syncControls();

 private:
  void refreshSequence();
  void toggleDecorations();
  void escape();
  void enter();
  void keyF8();
  void keyF9();
  void seamF6(bool undo);
  void seamF7(bool undo);
  void copyF6Band();
  void copyF7Band();
  void keypadMinus();
  void keypadPlus();
  void placeLabPos2(double X, double Y);
  void pointerElsewhere();
  void nudgePointer(double X, double Y);
  void warp(double xPixels, double yPixels);
  void readLabelWidths();
  void syncTimers();
  void grabInput();
  void releaseInput();
  bool makeBuffers(int widthPx, int heightPx, int numB);
  bool grabFailed();
  void copyClearView();
  void endGestures();
  int twppX() const;
  int twppY() const;

  overlay::SelGeometry geo_;
  bool doubleHeight_ = false;
  bool enTrace_ = false;
  std::int32_t xSouris_ = 0, ySouris_ = 0;
  std::int32_t demiHautPix_ = 0, largPix_ = 0;
  std::int32_t minCoupF6_ = 0, coupF6_ = 0, minCoupF7_ = 0, coupF7_ = 0;
  std::int32_t nbCoupF6_ = 0, nbCoupF7_ = 0;
  int screenHPix_ = 0;  // one grab's height, pixels
  bool blinkState_ = false;
  bool activatedThisShowing_ = false;  // Form_Activate has run since the last Show
  class InputGrabber;
  InputGrabber* grabber_ = nullptr;
};

inline vb::DefaultInstance<FrmFull> frmFull;
