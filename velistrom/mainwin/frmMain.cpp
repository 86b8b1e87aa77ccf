// The main window: construction of every control, start-up (Form_Load), the
// settings hooks, the window placement around the picture, the menus with
// their texts, and the tray icon.
#include "velistrom/core/Ressources.h"
#include "velistrom/mainwin/frmMain.h"

#include "platform/Folders.h"
#include "platform/Tray.h"
#include "platform/forms/App.h"
#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Runtime.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/mainwin/Commandes.h"
#include "velistrom/mainwin/Compagnons.h"
#include "velistrom/mainwin/Fcam.h"
#include "velistrom/mainwin/Flistimages.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/core/Params.h"
#include "velistrom/options/Options.h"
#include "velistrom/startup/Splash.h"
#include "velistrom/startup/frmTip.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace {

// Toolbar faces: normal picture file and image-list key of buttons 0 to 19;
// the hover face of each is the second file, its key the first key with "2".
struct Face {
  const char* file;
  const char* hoverFile;
  const char* key;
};
constexpr Face kFaces[20] = {
    {"camera.bmp", "camerac.bmp", "Clicher"},
    {"camerag.bmp", "cameragc.bmp", "agrandiss"},
    {"toutecran.bmp", "toutecranc.bmp", "Clichertout"},
    {"camerafen.bmp", "camerafenc.bmp", "Clicherfen"},
    {"undox.bmp", "undocx.bmp", "Annuler"},
    {"moverbox.bmp", "moverboxc.bmp", "Rafraichir"},
    {"moverboxtim.bmp", "moverboxtimc.bmp", "RafraichirTim"},
    {"copy.bmp", "copyc.bmp", "Copier"},
    {"deletex.bmp", "deletecx.bmp", "Supprimer"},
    {"waste.bmp", "wastec.bmp", "Supprimertout"},
    {"savex.bmp", "savecx.bmp", "Enregistrer"},
    {"saveallx.bmp", "saveallcx.bmp", "Enregistrertout"},
    {"printerx.bmp", "printercx.bmp", "Imprimer"},
    {"paintx.bmp", "paintcx.bmp", "Editer"},
    {"multiselx.bmp", "multiselcx.bmp", "Multiselection"},
    {"agrandir.bmp", "agrandirc.bmp", "Agrandir"},
    {"filmx.bmp", "filmcx.bmp", "Agrlist"},
    {"wrench.bmp", "wrenchc.bmp", "Options"},
    {"report.bmp", "reportc.bmp", "A propos"},
    {"closex.bmp", "closecx.bmp", "Quitter"},
};
constexpr char kTuile[] = "toutbleu.bmp";
constexpr int kDerniereTuile = 100;
constexpr int kTailleBouton = 360;  // 24 pixels

std::function<void()>& sortieApresEchecParams() {
  static std::function<void()> sortie;
  return sortie;
}

// Language text n, or the fallback when the language file left it empty (a
// menu entry must never show a blank caption).
QString Texte(int n, const QString& fallback) {
  const QString t = (n >= 0 && n < int(gTxtLng.size())) ? gTxtLng[n] : QString();
  return t.trimmed().isEmpty() ? fallback : t;
}

// A picture beside the program; missing or unreadable files are listed in
// `manquants` and give a plain tile so the toolbar keeps its shape.
QImage Ressource(const QString& file, QStringList& manquants) {
  QImage img = core::ChargerRessource(file, &manquants);
  if (img.isNull()) {
    img = QImage(24, 24, QImage::Format_RGB32);
    img.fill(QColor(0x4a, 0x78, 0xb4));
  }
  return img;
}

}  // namespace

namespace mainwin {

void setSortieApresEchecParams(std::function<void()> sortie) { sortieApresEchecParams() = std::move(sortie); }

QString HeureSessDe(const QString& timeText) {
  QString h = timeText;
  h.remove(u':');
  h = h.left(7).leftJustified(7, u' ');
  h.replace(u' ', u'0');
  return h;
}

QString DateSessDe(const QString& shortDateText) {
  QString d = shortDateText;
  if (d.indexOf(u'/') == 1) d.prepend(u'0');  // one-digit first field
  if (d.indexOf(u'/', 3) == 4) d.insert(3, u'0');  // one-digit second field
  QString s = d.right(4) + d.mid(3, 2) + d.left(2);
  s.remove(u'/');
  return s;
}

QString DossierCaptLibre(const QString& base, const std::function<double()>& rnd) {
  QString name = base;
  // A dangling link counts as taken too: nothing could be made under its name.
  auto pris = [](const QString& p) {
    const QFileInfo fi(p);
    return fi.exists() || fi.isSymLink();
  };
  while (pris(name)) name += QString::number(int(std::floor(rnd() * 999))).rightJustified(3, u'0');
  return name;
}

}  // namespace mainwin

// ============================================================================ construction

FrmMain::FrmMain()
    : vb::Form("frmMain"),
      bouton(*this, "bouton"),
      ImageList1(*this, "ImageList1"),
      Line1(*this, "Line1"),
      Picture1(*this, "Picture1"),
      rectsel(Picture1, "rectsel"),
      Picture2(*this, "Picture2"),
      Picture2S(*this, "Picture2S"),
      PictReserv(*this, "PictReserv"),
      ImgTTscreen(*this, "ImgTTscreen"),
      PictSave(*this, "PictSave"),
      StatusBar1(*this, "StatusBar1"),
      labdeb(*this, "labdeb"),
      Labtaille(*this, "Labtaille"),
      Labtaill2(*this, "Labtaill2"),
      LabDoubleClick(*this, "LabDoubleClick"),
      Labdeja(*this, "Labdeja"),
      Labdeja2(*this, "Labdeja2"),
      Timbouton(*this, "Timbouton", 200, false),
      Timderoul(*this, "Timderoul", 20, true),
      Timlabdeb(*this, "Timlabdeb", 1, false),
      Timerclav(*this, "Timerclav", 100, false),
      TimCurs(*this, "TimCurs", 50, true),
      TimPeriod(*this, "TimPeriod", 10000, false),
      TimerLngPerio(*this, "TimerLngPerio", 100, false),
      TimZoom(*this, "TimZoom", 2000, false),
      Timdeja(*this, "Timdeja", 1000, false),
      TimPaint(*this, "TimPaint", 5000, false),
      TimerUnload(*this, "TimerUnload", 100, true),
      Timsplash(*this, "Timsplash", 2000, false),
      mnufichier(*this, "mnufichier"),
      Mnuenregistrer(mnufichier, "Mnuenregistrer"),
      Mnuenregistrertout(mnufichier, "Mnuenregistrertout"),
      Mnuimprimer(mnufichier, "Mnuimprimer"),
      Mnuquitter(mnufichier, "Mnuquitter"),
      mnuedition(*this, "mnuedition"),
      mnuttscreen(mnuedition, "mnuttscreen"),
      mnuretour(mnuedition, "mnuretour"),
      mnucopier(mnuedition, "mnucopier"),
      mnurafraichir(mnuedition, "mnurafraichir"),
      Mnudelcap(mnuedition, "Mnudelcap"),
      Mnudeltout(mnuedition, "Mnudeltout"),
      MnuEditPaint(mnuedition, "MnuEditPaint"),
      mnuoutils(*this, "mnuoutils"),
      mnuoptions(mnuoutils, "mnuoptions"),
      MnuCaptper(mnuoutils, "MnuCaptper"),
      mnuFabGif(mnuoutils, "mnuFabGif"),
      Mnumulti(mnuoutils, "Mnumulti"),
      MnuEnAuto(mnuoutils, "MnuEnAuto"),
      mnuReacTip(mnuoutils, "mnuReacTip"),
      MnuChgLang(mnuoutils, "MnuChgLang"),
      mnuzoom(*this, "mnuzoom", "&Zoom +/-"),
      mnuzoomX(mnuzoom, "mnuzoomX", 5),
      mnucourriel(*this, "mnucourriel"),
      mnujoindreune(mnucourriel, "mnujoindreune"),
      mnujoindretout(mnucourriel, "mnujoindretout"),
      mnujoindrecoch(mnucourriel, "mnujoindrecoch"),
      mnuimgforum(mnucourriel, "mnuimgforum"),
      mnuHelp(*this, "mnuHelp"),
      MnuAide(mnuHelp, "MnuAide"),
      MnuNouversion(mnuHelp, "MnuNouversion"),
      Tutosite(mnuHelp, "Tutosite"),
      mnuapropos(mnuHelp, "mnuapropos"),
      mnumail(mnuHelp, "mnumail"),
      mnucaptu(*this, "mnucaptu"),
      Mnuphotorapid(mnucaptu, "Mnuphotorapid"),
      mnuveille(mnucaptu, "mnuveille"),
      Mnuquitt(mnucaptu, "Mnuquitt"),
      Mnuflott(*this, "Mnuflott"),
      mnuFenregistrer(Mnuflott, "mnuFenregistrer"),
      MnuFenregistrertout(Mnuflott, "MnuFenregistrertout"),
      MnuOuvDos(Mnuflott, "MnuOuvDos", "Ouvrir dossier "),
      MnuFdelcap(Mnuflott, "MnuFdelcap"),
      mnufDelCaptCoch(Mnuflott, "mnufDelCaptCoch"),
      Mnufdeltout(Mnuflott, "Mnufdeltout"),
      mnuFeditpaint(Mnuflott, "mnuFeditpaint"),
      MnuRaff(*this, "MnuRaff"),
      Mnured2(*this, "Mnured2") {
  setBorderStyle(vb::vbFixedSingle);
  setWidth(10000);
  setHeight(2000);

  // ---- toolbar template: button 0; the others are loaded by Form_Load
  bouton[0].setBorderStyle(0);
  bouton[0].setAppearance(0);
  bouton[0].Move(20, 20, kTailleBouton, kTailleBouton);

  // ---- main view
  Picture1.setVisible(false);
  Picture1.setBorderStyle(0);
  Picture1.setAutoRedraw(true);
  Picture1.setAutoSize(true);
  rectsel.setVisible(false);
  rectsel.setBorderColor(0x0000FF);  // red on any grab
  Picture2.setBorderStyle(0);
  Picture2.setAutoRedraw(true);
  Picture2.setAutoSize(true);  // takes the size of each picture it is given
  Picture2.Move(20, 500, 2000, 200);
  Picture2.setVisible(false);  // an empty view until the first capture, not a blank box over the start hint
  Picture2S.setVisible(false);
  Picture2S.setBorderStyle(0);
  Picture2S.setAutoRedraw(true);
  Picture2S.setAutoSize(true);
  PictReserv.setVisible(false);
  PictReserv.setBorderStyle(0);
  PictReserv.setAutoRedraw(true);
  PictReserv.setAutoSize(true);
  ImgTTscreen.setStretch(true);
  ImgTTscreen.Move(20, 500, 2000, 200);
  PictSave.setVisible(false);
  PictSave.setBorderStyle(0);
  PictSave.Move(9400, 440, 255, 255);

  // ---- status bar: fixed texts in every language
  StatusBar1.setVisible(false);
  {
    vb::Panel& share = StatusBar1.Panels(1);  // the bar's own first panel
    share.setKey("share");
    share.setText("< Click (Partager/Share)");
    share.setToolTipText(QString::fromUtf8("partager l'image sur les réseaux sociaux"));
    share.setAutoSize(2);
    share.setEnabled(false);
    vb::Panel& mosaiq = StatusBar1.AddPanel("mosaiq", QString::fromUtf8("< Mosaiq (Jeu/Game)   Jeu de mosaïque"));
    mosaiq.setAutoSize(2);
  }

  // ---- labels
  labdeb.setBackStyle(0);
  labdeb.setAutoSize(true);
  labdeb.setFontBold(true);
  labdeb.Move(600, 420, 6000, 285);
  for (vb::Label* l : {&Labtaille, &Labtaill2, &LabDoubleClick, &Labdeja, &Labdeja2}) l->setVisible(false);
  Labtaille.Move(0, 0, 1500, 255);
  Labtaill2.Move(0, 0, 1500, 255);
  LabDoubleClick.setAutoSize(true);
  LabDoubleClick.setBackColor(0xE1FFFF);
  LabDoubleClick.Move(6000, 420, 3000, 255);
  for (vb::Label* l : {&Labdeja, &Labdeja2}) {
    l->setAutoSize(true);
    l->setBackColor(0x80FFFF);
    l->setFontBold(true);
    l->Move(50, 50, 3000, 285);
  }
  Line1.setBorderColor(0x808080);

  // ---- menus: design state (the four main menus, the holders and the two
  // single entries start hidden; the zoom starts at 100 %)
  for (vb::Menu* m : {&mnufichier, &mnuedition, &mnuoutils, &mnuHelp, &mnucaptu, &Mnuflott, &MnuRaff, &Mnured2})
    m->setVisible(false);
  static const char* const kZoom[5] = {"-> 25 %", "-> 50 %", "-> 75 %", "-> 100%", "-> 200 %"};
  for (int i = 0; i < 5; ++i) mnuzoomX[i].setCaption(kZoom[i]);
  mnuzoomX[3].setChecked(true);

  // ---- events: toolbar
  bouton.on(&vb::PictureBox::onClick, [this](int Index) { bouton_Click(Index); });
  bouton.on(&vb::PictureBox::onDblClick, [this](int Index) { bouton_DblClick(Index); });
  bouton.on(&vb::PictureBox::onMouseMove,
            [this](int Index, int Button, int Shift, float X, float Y) { bouton_MouseMove(Index, Button, Shift, X, Y); });
  // ---- events: the form and the view
  onMouseMove = [this](int Button, int Shift, float X, float Y) { Form_MouseMove(Button, Shift, X, Y); };
  // The window's keys work whichever of its boxes has the focus.
  setKeyPreview(true);
  onKeyDown = [this](int& KeyCode, int Shift) { Form_KeyDown(KeyCode, Shift); };
  onDblClick = [this] { Form_DblClick(); };
  onGotFocus = [this] { Form_GotFocus(); };
  Picture1.onMouseDown = [this](int B, int S, float X, float Y) { Picture1_MouseDown(B, S, X, Y); };
  Picture1.onMouseMove = [this](int B, int S, float X, float Y) { Picture1_MouseMove(B, S, X, Y); };
  Picture1.onMouseUp = [this](int B, int S, float X, float Y) { Picture1_MouseUp(B, S, X, Y); };
  Picture2.onClick = [this] { Picture2_Click(); };
  Picture2.onMouseMove = [this](int B, int S, float X, float Y) { Picture2_MouseMove(B, S, X, Y); };
  StatusBar1.onPanelClick = [this](vb::Panel& p) { StatusBar1_PanelClick(p); };
  // ---- events: timers
  Timbouton.onTimer = [this] { Timbouton_Timer(); };
  Timderoul.onTimer = [this] { Timderoul_Timer(); };
  Timlabdeb.onTimer = [this] { Timlabdeb_Timer(); };
  Timerclav.onTimer = [this] { Timerclav_Timer(); };
  TimCurs.onTimer = [this] { TimCurs_Timer(); };
  TimPeriod.onTimer = [this] { TimPeriod_Timer(); };
  TimerLngPerio.onTimer = [this] { TimerLngPerio_Timer(); };
  TimZoom.onTimer = [this] { TimZoom_Timer(); };
  Timdeja.onTimer = [this] { Timdeja_Timer(); };
  TimPaint.onTimer = [this] { TimPaint_Timer(); };
  TimerUnload.onTimer = [this] { TimerUnload_Timer(); };
  Timsplash.onTimer = [this] { Timsplash_Timer(); };

  // ---- events: menus. Most entries run the toolbar command of the same number.
  auto commande = [this](vb::Menu& m, int n) { m.onClick = [this, n] { bouton_Click(n); }; };
  commande(Mnuenregistrer, 10);
  commande(Mnuenregistrertout, 11);
  commande(Mnuimprimer, 12);
  commande(Mnuquitter, 19);
  commande(mnuttscreen, 0);
  commande(mnuretour, 4);
  commande(mnucopier, 7);
  commande(mnurafraichir, 5);
  commande(Mnudelcap, 8);
  commande(Mnudeltout, 9);
  commande(mnuapropos, 18);
  commande(Mnuphotorapid, 0);
  commande(Mnuquitt, 19);
  commande(mnuFenregistrer, 10);
  commande(MnuFenregistrertout, 11);
  commande(MnuFdelcap, 8);
  commande(Mnufdeltout, 9);
  mnufichier.onClick = [this] { mnufichier_Click(); };
  mnuedition.onClick = [this] { mnuedition_Click(); };
  MnuEditPaint.onClick = [this] { MnuEditPaint_Click(); };
  mnuoutils.onClick = [this] { mnuoutils_Click(); };
  mnuoptions.onClick = [this] { mnuoptions_Click(); };
  MnuCaptper.onClick = [this] { MnuCaptper_Click(); };
  mnuFabGif.onClick = [this] { mnuFabGif_Click(); };
  Mnumulti.onClick = [this] { Mnumulti_Click(); };
  MnuEnAuto.onClick = [this] { MnuEnAuto_Click(); };
  mnuReacTip.onClick = [this] { mnuReacTip_Click(); };
  MnuChgLang.onClick = [this] { MnuChgLang_Click(); };
  for (int i = 0; i < 5; ++i)
    mnuzoomX[i].onClick = [this, i] {
      int Index = i;
      mnuzoomX_Click(Index);
    };
  mnucourriel.onClick = [this] { mnucourriel_Click(); };
  mnujoindreune.onClick = [this] { mnujoindreune_Click(); };
  mnujoindretout.onClick = [this] { mnujoindretout_Click(); };
  mnujoindrecoch.onClick = [this] { mnujoindrecoch_Click(); };
  mnuimgforum.onClick = [this] { mnuimgforum_Click(); };
  MnuAide.onClick = [this] { MnuAide_Click(); };
  MnuNouversion.onClick = [this] { MnuNouversion_Click(); };
  Tutosite.onClick = [this] { Tutosite_Click(); };
  mnumail.onClick = [this] { mnumail_Click(); };
  mnuveille.onClick = [this] { mnuveille_Click(); };
  Mnuflott.onClick = [this] { Mnuflott_Click(); };
  MnuOuvDos.onClick = [this] { MnuOuvDos_Click(); };
  mnufDelCaptCoch.onClick = [this] { mnufDelCaptCoch_Click(); };
  mnuFeditpaint.onClick = [this] { mnuFeditpaint_Click(); };
  MnuRaff.onClick = [this] { MnuRaff_Click(); };
  Mnured2.onClick = [this] { Mnured2_Click(); };
}

FrmMain::~FrmMain() {
  // The help windows and the thumbnail rows must not reach a main window that is gone.
  mainwin::DebrancherAide(*this);
  if (Flistimages* fl = flistimages.existing(); fl && fl->Principale == this) fl->Principale = nullptr;
}

// ============================================================================ start-up

void FrmMain::Form_Load() {
  // Picture conversion needs no start-up of its own here (Qt's image I/O is
  // always there), so the old first step has nothing to do.

  // A light tint: red 245, green and blue each 245 to 255.
  vb::Randomize();
  const int g = 245 + int(std::floor(vb::Rnd() * 11));
  const int b = 245 + int(std::floor(vb::Rnd() * 11));
  setBackColor(vb::RGB(245, g, b));

  chargtconstMain();

  // Started without the banner (or the banner could not settle the data
  // folder): settle it here so a fresh account still gets its settings file.
  if (gDossAppli.isEmpty()) PrepDossiers();
  if (!chargtparam()) {
    finirDemarrage();
    return;
  }

  HeureSess = mainwin::HeureSessDe(vb::TimeText());
  DateSess = mainwin::DateSessDe(vb::DateText());

  Picture2.setTop(bouton[0].Height() + 80);
  Picture2.setLeft(20);
  ImgTTscreen.setTop(bouton[0].Height() + 80);
  ImgTTscreen.setLeft(20);
  ImgTTscreen.setVisible(false);

  // The run's capture folder: a leftover of an earlier run is left alone.
  vb::Randomize();
  gRepCapt = mainwin::DossierCaptLibre(gRepCapt, [] { return double(vb::Rnd()); });
  if (!platform::makePrivateFolder(gRepCapt)) {
    vb::MsgBox(QString::fromUtf8("Impossible de créer le dossier / Cannot create the folder\n") + gRepCapt,
               vb::vbCritical);
    finirDemarrage();
    return;
  }

  PremDialogue = true;
  construireBarreOutils();
  gNbCapt = 0;

  // From here on a failing step is reported and the next steps still run, so
  // the start hint, and with it the hotkey poll, always starts.
  auto etape = [](const std::function<void()>& f) {
    try {
      f();
    } catch (const vb::Error& e) {
      vb::MsgBox(QString::number(e.Number()) + " " + e.Description(), vb::vbCritical);
    } catch (const std::exception& e) {
      vb::MsgBox(QString::fromLocal8Bit(e.what()), vb::vbCritical);
    }
  };
  etape([this] { setWindowState(vb::vbNormal); });
  etape([this] {
    labdeb.setTop(bouton[0].Height() + 20);
    Timlabdeb.setEnabled(true);
  });
  etape([this] {
    gHautImg = 200;
    PosDimRedMain();
  });
  etape([this] {
    const int y = bouton[0].Top() + bouton[0].Height();
    Line1.setX1(0);
    Line1.setX2(vb::Screen.Width());
    Line1.setY1(y);
    Line1.setY2(y);
  });
  etape([this] {
    for (vb::Menu* m : {&mnufichier, &mnuedition, &mnuoutils, &mnuHelp}) m->setVisible(true);
  });
  etape([this] { setCaption("Velistrom - " + gTxtLng[210]); });
  etape([this] {
    Labtaille.setVisible(false);
    Labdeja.setCaption(gTxtLng[172]);
    Labdeja2.setCaption(gTxtLng[172]);
  });
  etape([] { fcam(); });  // loaded, not shown
  etape([this] { ajouterIconeTray(); });
  // Modeless; it unloads itself at once when the tips are switched off.
  etape([] { frmTip().Show(); });
  Timsplash.setEnabled(true);
}

void FrmMain::finirDemarrage() {
  // The start ends: no window, nothing left loaded.
  vb::Unload(*this);
  vb::End();
}

void FrmMain::construireBarreOutils() {
  QStringList manquants;
  for (int i = 0; i < 20; ++i) ImageList1.Add(Ressource(kFaces[i].file, manquants), kFaces[i].key);
  for (int i = 0; i < 20; ++i)
    ImageList1.Add(Ressource(kFaces[i].hoverFile, manquants), QString(kFaces[i].key) + "2");

  auto tooltip = [](int i) { return gTxtLng[i == 19 ? 263 : 39 + i]; };
  bouton[0].setPicture(ImageList1.ListImages(1).Picture);
  bouton[0].setVisible(true);
  bouton[0].setToolTipText(tooltip(0));
  for (int i = 1; i < 20; ++i) {
    vb::PictureBox& prev = bouton[i - 1];
    vb::PictureBox& b = bouton.Load(i);
    b.setTop(prev.Top());
    b.setLeft(prev.Left() + prev.Width() + 50);
    b.setPicture(ImageList1.ListImages(i + 1).Picture);
    b.setVisible(true);
    b.setToolTipText(tooltip(i));
  }
  bouton[11].setToolTipText(bouton[11].ToolTipText() + " --->    " + gRepSauve);

  const QImage tuile = Ressource(kTuile, manquants);
  for (int i = 20; i <= kDerniereTuile; ++i) {
    vb::PictureBox& prev = bouton[i - 1];
    vb::PictureBox& b = bouton.Load(i);
    b.setTop(prev.Top());
    b.setLeft(prev.Left() + prev.Width() + (i == 20 ? 40 : -5));
    b.setPicture(tuile);
    b.setToolTipText(QString());
    b.setVisible(true);
  }
  if (!manquants.isEmpty())
    vb::MsgBox("Velistrom: " + manquants.join(", ") + "\n" + core::DossierRessources(), vb::vbExclamation);
}

void FrmMain::ajouterIconeTray() {
  QImage icone = core::ChargerRessource("velistrom.png");
  if (!icone.isNull()) setIcon(icone);
  QImage petite = core::ChargerRessource("velistrom_22.png");
  if (petite.isNull()) petite = icone;
  // Tray activations arrive as the old tray mouse messages: X carries the code.
  tray_ = platform::TrayIcon::add(petite, gTxtLng[104], [this](int code) {
    Form_MouseMove(0, 0, float(code * vb::Screen.TwipsPerPixelX()), 0);
  });
  if (!tray_) qInfo("Velistrom: no notification area on this desktop; running without a tray icon");
}

void FrmMain::removeTrayIcon() {
  if (tray_) tray_->remove();
}

// ============================================================================ settings

bool FrmMain::chargtparam() {
  if (::chargtparam() != ChargtParamStatus::Pret) return false;
  TimPeriod.setInterval(gIntervPeriode);
  return true;
}

void FrmMain::SavOptions() {
  if (::SavOptions() == SaveStatus::Enregistre) return;
  // The user has seen the reset question; the run ends the normal way, so the
  // captures are offered for saving and the temporary files go.
  if (EnQuitprog) return;
  if (sortieApresEchecParams())
    sortieApresEchecParams()();
  else
    quitprog();
}

// ============================================================================ window placement

int FrmMain::LargeurFenetre(double largeurVue) const {
  const float bande = float(24 * bouton[0].Width());
  return bande < float(largeurVue) ? int(std::nearbyint(largeurVue + 180)) : int(bande);
}

void FrmMain::PosDimRedMain() {
  const int hauteur = int(std::nearbyint(gHautImg + 1800));
  const int largeur = LargeurFenetre(Picture2.Width());
  if (WindowState() == vb::vbNormal && !gAgrandi) {
    setHeight(hauteur);
    setWidth(largeur);
    setLeft(vb::Screen.Width() - Width());
    setTop(500);
  } else {
    gHautRed = hauteur;
    gLargRed = largeur;
  }
}

// ============================================================================ menus and texts

void FrmMain::chargtconstMain() {
  Picture1.setToolTipText(gTxtLng[0]);
  labdeb.setCaption(gTxtLng[1]);
  LabDoubleClick.setCaption(gTxtLng[239]);
  struct Legende {
    vb::Menu* menu;
    int texte;
  };
  const Legende legendes[] = {
      {&mnufichier, 2},        {&Mnuenregistrer, 3},   {&Mnuenregistrertout, 4}, {&Mnuimprimer, 5},
      {&Mnuquitter, 6},        {&mnuedition, 7},       {&mnuttscreen, 8},        {&mnuretour, 9},
      {&mnucopier, 10},        {&mnurafraichir, 11},   {&Mnudelcap, 12},         {&Mnudeltout, 13},
      {&MnuEditPaint, 32},     {&mnuoutils, 14},       {&mnuoptions, 15},        {&MnuCaptper, 16},
      {&mnuFabGif, 256},       {&Mnumulti, 184},       {&MnuEnAuto, 185},        {&mnuReacTip, 186},
      {&MnuChgLang, 214},      {&mnucourriel, 34},     {&mnujoindreune, 35},     {&mnujoindretout, 36},
      {&mnujoindrecoch, 37},   {&mnuimgforum, 38},     {&mnuHelp, 17},           {&MnuAide, 18},
      {&MnuNouversion, 204},   {&mnuapropos, 22},      {&mnumail, 23},           {&mnucaptu, 24},
      {&Mnuphotorapid, 25},    {&mnuveille, 105},      {&Mnuquitt, 27},          {&Mnuflott, 28},
      {&mnuFenregistrer, 29},  {&MnuFenregistrertout, 30}, {&MnuFdelcap, 12},    {&mnufDelCaptCoch, 213},
      {&Mnufdeltout, 31},      {&mnuFeditpaint, 32},   {&MnuRaff, 193},          {&Mnured2, 196},
  };
  for (const Legende& l : legendes) l.menu->setCaption(Texte(l.texte, l.menu->Name()));
  Tutosite.setCaption(Texte(187, QString()) + Texte(201, QString()));
  if (Tutosite.Caption().trimmed().isEmpty()) Tutosite.setCaption(Tutosite.Name());
}

void FrmMain::mnufichier_Click() {
  const bool liste = gNbCapt != 0;
  for (vb::Menu* m : {&Mnuenregistrer, &Mnuenregistrertout, &Mnuimprimer}) m->setEnabled(liste);
}

void FrmMain::mnuedition_Click() {
  const bool liste = gNbCapt != 0;
  for (vb::Menu* m : {&mnuretour, &mnucopier, &mnurafraichir, &Mnudelcap, &Mnudeltout, &MnuEditPaint})
    m->setEnabled(liste);
}

void FrmMain::Mnuflott_Click() {
  // The caption ends with the saved file's path once the capture was saved.
  MnuOuvDos.setEnabled(!compag::DossierDuTitre(Caption()).isEmpty());
}

void FrmMain::mnuoptions_Click() {
  TimPeriod.setEnabled(false);
  Options& options = frmOptions();
  if (options.Visible() && !options.isShownModal()) options.Hide();  // left open by a failed save-all
  options.Show(vb::vbModal);
  // However it closed: OK, Cancel, its close box or a hotkey that unloaded it.
  if (isLoaded() && MnuCaptper.Checked()) TimPeriod.setEnabled(true);
}

void FrmMain::Mnumulti_Click() {
  Mnumulti.setChecked(!Mnumulti.Checked());
  bouton[14].setBorderStyle(Mnumulti.Checked() ? 1 : 0);
}

void FrmMain::MnuEnAuto_Click() {
  MnuEnAuto.setChecked(!MnuEnAuto.Checked());
  if (MnuEnAuto.Checked()) vb::MsgBox(gTxtLng[135], vb::vbInformation + vb::vbOKOnly, vb::App.Title());
}

void FrmMain::mnuReacTip_Click() {
  tips::EcrireAfficherAuDemarrage(true);
  frmTip().Show();
}

void FrmMain::MnuChgLang_Click() {
  gDossLng = platform::appDataFolder() + "/Velistrom";
  QFile::remove(gDossLng + "/spoken.txt");  // already missing: nothing to do
  MnuChgLang.setChecked(true);
  MnuChgLang.setEnabled(false);
}

void FrmMain::mnuveille_Click() {
  // Each window is inverted on its own.
  setVisible(!Visible());
  flistimages().setVisible(!flistimages().Visible());
}

void FrmMain::mnufDelCaptCoch_Click() {
  // From the last down, so the numbers still to test stay valid as the list closes up.
  for (int i = gNbCapt; i >= 1; --i) {
    if (flistimages().Chkmail.exists(i) && flistimages().Chkmail[i].Value() == 1) {
      int n = i;
      SuppVignette(n);
    }
  }
  // With the list now empty there is no capture to select.
  if (gNbCapt > 0) flistimages().clickimage1(gNbCapt, true);
}

void FrmMain::Mnured2_Click() {
  setWindowState(vb::vbMinimized);
  flistimages().setWindowState(vb::vbMinimized);
  if (FrmTip* tip = frmTip.existing()) vb::Unload(*tip);
  mnuveille.setCaption(Texte(106, mnuveille.Name()));
}

void FrmMain::mnumail_Click() { envoimail(); }

void FrmMain::mnuFeditpaint_Click() { MnuEditPaint_Click(); }

void FrmMain::MnuRaff_Click() {
  int KeyCode = 116;
  Form_KeyDown(KeyCode, 0);
}
