#pragma once
// The thumbnail window "Collection": one row per capture of the list (thumbnail,
// enlarged copy, label, position box, saved and mail marks). Docked at the top
// left of the screen, it slides off to the left on request or after 40 s,
// leaving a strip that brings it back when the pointer reaches it. Its light
// yellow background is a colour key: invisible and click-through.
//
// The main window creates, fills and removes the rows (frmMain_Vignettes.cpp);
// this form lays them out, shows the enlarged copies and moves captures.
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"

#include <QImage>

#include <array>
#include <functional>

class FrmMain;

class Flistimages : public vb::Form {
 public:
  Flistimages();

  // ---- geometry of the rows (twips)
  static constexpr vb::Color kCleTransp = 0xC0FFFF;  // the key colour (light yellow)
  static constexpr int kTopRangee = 800;     // the top row's thumbnail, slider layout
  static constexpr int kPasRangee = 1800;    // from one row's thumbnail to the next
  static constexpr int kBande = 150;         // client strip that stays on screen when slid off
  static constexpr int kLargeurFen = 3500;   // default window width
  static constexpr int kHauteurFen = 2000;   // default window height

  void Form_Load() override;
  void Form_Activate() override;
  void Form_Resize() override;
  void Form_QueryUnload(int& Cancel, int UnloadMode) override;

  // ---- event handlers
  void Form_MouseMove(int Button, int Shift, float X, float Y);
  void Frame1_MouseMove(int Button, int Shift, float X, float Y);
  void Image1_MouseMove(int Index, int Button, int Shift, float X, float Y);
  void Gimage1_MouseMove(int Index, int Button, int Shift, float X, float Y);
  void Image1_MouseDown(int Index, int Button, int Shift, float X, float Y);
  void Gimage1_MouseDown(int Index, int Button, int Shift, float X, float Y);
  void Image1_DblClick(int Index);
  void Gimage1_Click(int Index);
  void Chkmail_MouseMove(int Index, int Button, int Shift, float X, float Y);
  void Labflech_MouseMove(int Button, int Shift, float X, float Y);
  void TimerCache_Timer();
  void TimGif_Timer();
  void LabGif_Click();
  // Position box: any key locks the other boxes; Enter moves the capture.
  void Txtordre_KeyDown(int Index, int& KeyCode, int Shift);
  void Vscroll1_Change();

  // ---- public procedures
  // Makes capture Index current and shows it in the main window (view, zoom
  // entry, window size, caption, size text, border, clipboard).
  void clickimage1(int Index, bool restore);
  // Moves the capture of row numsource to the position typed in its box.
  void ReorgVign(int numsource);

  // The main window that fills the rows and shows the chosen capture (the
  // default instance until a main window adds a row).
  FrmMain* Principale = nullptr;

  // ---- hooks for code that lives elsewhere
  // The capture menu on a right press (frmMain.Mnuflott as this window's pop-up).
  std::function<void()> onCaptureMenu;

  // ---- docking
  void Glisser();  // slide off to the left, keeping the strip on screen
  void Docker();   // back to Left 0
  // Left of the slid-off window: only the strip (and the frame's right border) show.
  int GaucheGlissee() const;

  // ---- row layout (slider layout and the row placement rules)
  void PlacerRangee(int i, int topImage);  // the row's thumbnail at topImage, the rest follows
  void ParquerRangee(int i);               // out of view above the window
  void ReinitSurvol();                     // every row back from its enlarged copy
  void AppliquerHauteur();                 // the window height follows the last row
  // The bottom of row i's lowest control: the enlarged copy of a wide capture
  // is shallower than the label, position box and mail tick beside it.
  int BasRangee(int i) const;
  // One row's share of a capture: what moves when the capture changes position.
  // A position keeps its box text and its tops; the thumbnail and enlarged
  // boxes take the capture's size, the ticks and marks go with the capture.
  struct Entree {
    QImage vignette, agrandie;
    int largVign = 0, hautVign = 0, largAgr = 0, hautAgr = 0;
    int decalAgr = 0;  // enlarged copy's top relative to the thumbnail's
    QString libelle;
    int coche = 0, sauve = 0;  // Chkmail and Chksav ticks
    bool marqueSauv = false, marqueMail = false;
    bool chkmailVisible = false, chksavVisible = false;
  };
  Entree LireEntree(int i) const;
  // avecVisibiliteCoches: the check boxes' visibility moves too (a move does
  // that; a delete leaves it with the position).
  void EcrireEntree(int i, const Entree& e, bool avecVisibiliteCoches);

  // The caption cells of the GIF button marquee.
  std::array<QString, 21> LettresGif;

  // ---- controls
  vb::Frame Frame1;
  vb::ControlArray<vb::PictureBox> Image1;
  vb::ControlArray<vb::PictureBox> Gimage1;
  vb::ControlArray<vb::Label> Lbldim;
  vb::ControlArray<vb::TextBox> Txtordre;
  vb::ControlArray<vb::PictureBox> PictSave;
  vb::ControlArray<vb::PictureBox> pictmail;
  vb::ControlArray<vb::CheckBox> Chkmail;
  vb::ControlArray<vb::CheckBox> Chksav;
  vb::Label LblcheckHlp;
  vb::Label LabGif;
  vb::Image Labflech;
  vb::Shape RectSlide;
  vb::Slider Vscroll1;
  vb::Label Labscroll;
  // The strip at the right edge that brings the window back; slid off, the
  // whole client, so that it is all the screen shows of the window.
  vb::PictureBox PictBande;
  vb::Timer TimerCache;
  vb::Timer TimGif;

 private:
  void MontrerAide(const QString& texte);
  // The two views of clickimage1: a region or window capture at its own size
  // in Picture2, a whole-screen capture at 1/1.7 of the screen in ImgTTscreen.
  void MontrerZoneOuFenetre(FrmMain& m, int i, const QImage& image);
  void MontrerEcranEntier(FrmMain& m, int i, const QImage& image);
  static void CocherZoom(FrmMain& m, int index);
  void PlacerBande();
  bool glissee_ = false;  // slid off by Glisser, until Docker
};

inline vb::DefaultInstance<Flistimages> flistimages;
