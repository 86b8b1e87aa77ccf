#pragma once
// The main window: toolbar of twenty command buttons, menus, tray icon, the
// view of the current capture, and the procedures that run the commands.
// Its procedures live in several files, one per topic:
//   frmMain.cpp             start-up, layout entry point, menus and texts, tray
//   frmMain_Commandes.cpp   commands and hotkeys
//   frmMain_Capture.cpp     whole-screen, window and repeated capture
//   frmMain_Vignettes.cpp   capture list and deleting captures
//   frmMain_Sauvegarde.cpp  saving
//   frmMain_Presse.cpp      clipboard and printing
//   frmMain_Vue.cpp         main view layout and zoom
//   frmMain_Clavier.cpp     keyboard and the refresh of the current capture
//   frmMain_Apercu.cpp      cutting a region from the grab on show
//   frmMain_Periode.cpp     periodic and long-period capture
//   frmMain_Courriel.cpp    e-mail
//   frmMain_Editeur.cpp     the external editor and the companion programs
//   frmMain_GifAnim.cpp     the GIF maker's folder command
//   frmMain_Aide.cpp        the help menu and the about box
//   frmMain_Quitter.cpp     tray codes, quitting and the end of the session
// Geometry is in twips. Each topic keeps its declarations in its own section
// below; the constructor (frmMain.cpp) builds every control and wires every event.
#include "platform/Shell.h"
#include "platform/forms/CommonDialog.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menu.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace platform {
class TrayIcon;
}

class FrmMain : public vb::Form {
 public:
  FrmMain();
  ~FrmMain() override;

  // ================================================================ start-up (frmMain.cpp)
  void Form_Load() override;
  void Form_DblClick() {}
  void Form_GotFocus() {}
  // Reads or creates the settings file; false when the start must end.
  bool chargtparam();
  // Writes the settings file. A failure while the program runs offers the
  // reset and then leaves through the normal quit path (quitprog).
  void SavOptions();
  // Puts the language texts on the menus, labels and tooltips.
  void chargtconstMain();

  // Run stamp, fixed for the run: HeureSess 7 characters from the time of day
  // (10:30:45 -> "1030450"), DateSess yyyymmdd.
  QString HeureSess;
  QString DateSess;
  // Cleared by the open-folder and save-as commands on their first use.
  bool PremDialogue = false;

  // ================================================================ commands and hotkeys (frmMain_Commandes.cpp)
  void bouton_Click(int Index);
  void ExecBouton(int Index, int FromHotkey);
  void bouton_MouseMove(int Index, int Button, int Shift, float X, float Y);
  void bouton_DblClick(int Index);
  void Timbouton_Timer();
  void Timderoul_Timer();
  void Timlabdeb_Timer();
  void Timerclav_Timer();
  void TimCurs_Timer();

  bool SecondeCaptOk = false;  // command 1 allowed (after a command-0 capture)
  bool AnnulPossible = false;  // command 4 allowed (the overlay was opened)
  bool FenetreVide = false;    // the window capture found no window
  int DernierBouton = 0;       // button of the previous hover event
  bool SautReinit = false;
  double PosLabdeb = 0;        // scroll counter of the start hint
  QString ToucheTenue;         // key read of the previous poll (one command per press)
  int CommandesEnCours = 0;    // waits under way inside Attente: the hotkey poll starts nothing

  // ================================================================ whole-screen and window capture (frmMain_Capture.cpp)
  void CapturTTbis(int ActiveWindow);
  // What follows every whole-screen and window capture: the view laid out for
  // `modeF`, the picture into the list, the clipboard copy of its kind.
  void FinCapture(int modeF, vb::PictureBox& source);
  // The clipboard copy of the capture just taken, of the kind gModeCapt names.
  void CopieDuModeCapt();
  void Rafraichir();
  void Attente(float Secondes);
  void RideauPhoto();
  // Our windows hidden for a grab: noted while they show, then waited for
  // until the X server has them off the screen (a fixed pause loses under load).
  static void NoterFenetre(std::vector<unsigned long>& fenetres, vb::Form& forme);
  static void AttendreHorsEcran(const std::vector<unsigned long>& fenetres);

  int HautGrab = 0;  // Picture1's size at the last activation, twips
  int LargGrab = 0;

  // ================================================================ periodic and long-period capture (frmMain_Periode.cpp)
  void MnuCaptper_Click();
  void TimPeriod_Timer();
  void TimerLngPerio_Timer();

  bool TirSerie = false;  // a shot of the periodic or the long-period timer is under way

  // ================================================================ capture list (frmMain_Vignettes.cpp)
  void GestVignettes(vb::PictureBox& uneImage);
  // Writes the temporary bitmap; false (after telling the user) when it could not.
  bool EnregVign(int& NouVign, vb::PictureBox& uneImage);
  void Voirtabprov();
  void SuppVignette(int& numerVign);
  void Supprimertout(int& AvecMess);

  QString CheminCapt;  // full path of the temporary bitmap written or handed over last
  // Full path of capture n's temporary bitmap.
  static QString CheminTemp(int n);

  // ================================================================ saving (frmMain_Sauvegarde.cpp)
  void EnregistrerTout(int& SavOk, int DebLot, const QString& FormSav);
  void Enregistrer2();

  int NbSauves = 0;  // files written by the last save-all
  QString NomFinal;  // full path of the last file written
  QString NomChoisiSauv2;  // the name chosen in the save-as dialog last time ("" = none yet)
  QString DossierSauv2;    // its folder: where the save-as dialog opens next

  // ================================================================ clipboard and printing (frmMain_Presse.cpp)
  void CopiePP(QString& modcap);
  void Buttcopier();
  void Imprimer();
  void Timdeja_Timer();

  // ================================================================ e-mail (frmMain_Courriel.cpp)
  // Mails the ticked captures as JPEG attachments through the desktop's mail
  // program (which always shows its composer: SendMail changes nothing).
  void EnvoiMailCoch(bool SendMail);
  void envoimail();
  void mnucourriel_Click();
  void mnujoindreune_Click();
  void mnujoindretout_Click();
  void mnujoindrecoch_Click();
  void mnumail_Click();

  static constexpr int kMaxPiecesJointes = 51;  // attachments of one message
  // The mail JPEGs made in this run: the mail program reads them after
  // xdg-email has returned, so they go only when the program quits.
  QStringList PiecesJointes;
  bool MailEnCours = false;  // a message is being handed over (events run meanwhile)

  // ================================================================ editor and companion programs (frmMain_Editeur.cpp)
  void MnuEditPaint_Click();
  void mnuFeditpaint_Click();
  void TimPaint_Timer();
  void mnuimgforum_Click();
  void StatusBar1_PanelClick(vb::Panel& Panel);
  void EnvoiPartage();
  void mnuFabGif_Click();
  void MnuOuvDos_Click();
  // The current capture as a fresh hand-over JPEG (JpegEnvoi, NomFinal);
  // false, after telling the user, when there is none to hand over.
  bool PreparerJpegEnvoi();
  // Whether a JPEG name was handed out in this run or exists.
  bool JpegPris(const QString& chemin) const;

  QString JpegEnvoi;       // the hand-over JPEG
  QStringList JpegsRemis;  // every hand-over and mail JPEG named in this run
  QString TitreAvantEdit;  // caption kept while the editor runs
  std::unique_ptr<platform::ChildProgram> ProcLance;  // program started from the status bar
  // The editor the Edit command started, and the temporary bitmap of the
  // capture it was opened on: TimPaint follows that child and reloads only
  // that capture.
  std::unique_ptr<platform::ChildProgram> ProcEditeur;
  QString NomCaptEditee;
  // The editor we started still runs, whatever its program's name.
  bool EditeurEnCours() { return ProcEditeur && ProcEditeur->isRunning(); }
  bool RechargeSignalee = false;  // an unreadable save of the editor was reported
  bool DansTimPaint = false;

  // ================================================================ main view (layout and zoom)
  void Form_Activate() override;
  void MefImageF(int& modeF);
  void mnuzoomX_Click(int& Index);
  void TimZoom_Timer();
  // Only zoom entry `index` ticked.
  void CocherZoom(int index);
  // Sizes and places the window for the current picture (gHautImg, gLargImg).
  void PosDimRedMain();
  // Window width for a view box of that width: the view + 180, never narrower
  // than the toolbar strip (24 widths of button 0).
  int LargeurFenetre(double largeurVue) const;
  void Agrandred();

  // ================================================================ keyboard (frmMain_Clavier.cpp)
  // F5 reloads the current capture from its temporary bitmap (also the editor
  // watch and the refresh entry), Delete is toolbar button 9, Ctrl+Q quits.
  void Form_KeyDown(int& KeyCode, int Shift);
  // The F5 refresh; false (after telling the user) when the bitmap cannot be read.
  bool RafraichirCourante();

  // ================================================================ preview selection on the main view (frmMain_Apercu.cpp)
  void Picture1_MouseDown(int Button, int Shift, float X, float Y);
  void Picture1_MouseMove(int Button, int Shift, float X, float Y);
  void Picture1_MouseUp(int Button, int Shift, float X, float Y);
  void Picture1_Paint() {}
  void Picture2_Click() {}
  void Picture2_MouseMove(int Button, int Shift, float X, float Y);

  bool SelEnCours = false;

  // ================================================================ menus (frmMain.cpp)
  void mnufichier_Click();
  void mnuedition_Click();
  void mnuoutils_Click() {}
  void Mnuflott_Click();
  void mnuoptions_Click();
  void Mnumulti_Click();
  void MnuEnAuto_Click();
  void mnuReacTip_Click();
  void MnuChgLang_Click();
  void mnuveille_Click();
  void mnufDelCaptCoch_Click();
  void Mnured2_Click();
  void MnuAide_Click();
  void MnuNouversion_Click();
  void Tutosite_Click();
  void MnuRaff_Click();

  // ================================================================ tray and quitting
  // Tray events arrive here as the old mouse-move codes: X / 15 is 512 (move),
  // 513/514 left down/up, 515 left double click, 516/517 right down/up.
  void Form_MouseMove(int Button, int Shift, float X, float Y);
  void Form_QueryUnload(int& Cancel, int UnloadMode) override;
  void Form_Terminate() override;
  void quitprog();
  // True while quitprog runs: a settings write failing inside it leaves the
  // ending to quitprog instead of starting a second quit.
  bool EnQuitprog = false;
  void ClignBordure();
  void TimerUnload_Timer();
  void Timsplash_Timer();
  // The tray icon (absent when the desktop has no tray).
  platform::TrayIcon* trayIcon() const { return tray_.get(); }
  void removeTrayIcon();

  // ================================================================ controls
  // Toolbar: buttons 0-19 are the commands, 20-100 filler tiles.
  vb::ControlArray<vb::PictureBox> bouton;
  vb::ImageList ImageList1;
  vb::Line Line1;              // separator under the toolbar
  vb::PictureBox Picture1;     // the raw grab, full size, hidden
  vb::Shape rectsel;           // preview selection band, on Picture1
  vb::PictureBox Picture2;     // view of the current capture
  vb::PictureBox Picture2S;    // the current capture at 100 %, hidden
  vb::PictureBox PictReserv;   // last frozen screen; clipboard loading buffer
  vb::Image ImgTTscreen;       // view of a whole-screen capture
  vb::PictureBox PictSave;     // "saved" mark of the current capture
  vb::StatusBar StatusBar1;
  vb::CommonDialog CDlg1;
  vb::Label labdeb;            // start hint
  vb::Label Labtaille;         // size text of the selection (never shown)
  vb::Label Labtaill2;
  vb::Label LabDoubleClick;
  vb::Label Labdeja;           // "copied" notices
  vb::Label Labdeja2;

  // Timers (interval ms, enabled at creation)
  vb::Timer Timbouton;      // 200, off
  vb::Timer Timderoul;      // 20, on: the opening roll-out
  vb::Timer Timlabdeb;      // 1, off
  vb::Timer Timerclav;      // 100, off: hotkey poll
  vb::Timer TimCurs;        // 50, on: pointer position
  vb::Timer TimPeriod;      // periodic capture, off; interval from the settings
  vb::Timer TimerLngPerio;  // 100, off: timed series
  vb::Timer TimZoom;        // 2000, off
  vb::Timer Timdeja;        // 1000: hides the notices
  vb::Timer TimPaint;       // 5000, off: watches the editor
  vb::Timer TimerUnload;    // 100, on
  vb::Timer Timsplash;      // 2000, off

  // Menus, in menu-bar order
  vb::Menu mnufichier;
  vb::Menu Mnuenregistrer;
  vb::Menu Mnuenregistrertout;
  vb::Menu Mnuimprimer;
  vb::Menu Mnuquitter;
  vb::Menu mnuedition;
  vb::Menu mnuttscreen;
  vb::Menu mnuretour;
  vb::Menu mnucopier;
  vb::Menu mnurafraichir;
  vb::Menu Mnudelcap;
  vb::Menu Mnudeltout;
  vb::Menu MnuEditPaint;
  vb::Menu mnuoutils;
  vb::Menu mnuoptions;
  vb::Menu MnuCaptper;
  vb::Menu mnuFabGif;
  vb::Menu Mnumulti;
  vb::Menu MnuEnAuto;
  vb::Menu mnuReacTip;
  vb::Menu MnuChgLang;
  vb::Menu mnuzoom;
  vb::ControlArray<vb::Menu> mnuzoomX;
  vb::Menu mnucourriel;
  vb::Menu mnujoindreune;
  vb::Menu mnujoindretout;
  vb::Menu mnujoindrecoch;
  vb::Menu mnuimgforum;
  vb::Menu mnuHelp;
  vb::Menu MnuAide;
  vb::Menu MnuNouversion;
  vb::Menu Tutosite;
  vb::Menu mnuapropos;
  vb::Menu mnumail;
  vb::Menu mnucaptu;  // tray pop-up holder
  vb::Menu Mnuphotorapid;
  vb::Menu mnuveille;
  vb::Menu Mnuquitt;
  vb::Menu Mnuflott;  // capture pop-up holder
  vb::Menu mnuFenregistrer;
  vb::Menu MnuFenregistrertout;
  vb::Menu MnuOuvDos;
  vb::Menu MnuFdelcap;
  vb::Menu mnufDelCaptCoch;
  vb::Menu Mnufdeltout;
  vb::Menu mnuFeditpaint;
  vb::Menu MnuRaff;
  vb::Menu Mnured2;

 private:
  void construireBarreOutils();
  void ajouterIconeTray();
  void finirDemarrage();
  std::unique_ptr<platform::TrayIcon> tray_;
};

inline vb::DefaultInstance<FrmMain> frmMain;

namespace mainwin {
// The run stamp from the time and date texts; free functions so tests can
// feed them any clock.
QString HeureSessDe(const QString& timeText);
QString DateSessDe(const QString& shortDateText);
// The capture folder of the run: base, then base + three random digits (the
// next value of `rnd`, in [0, 1)) while the name exists, suffixes accumulating.
QString DossierCaptLibre(const QString& base, const std::function<double()>& rnd);
// What a settings write failure at run time leads to: frmMain().quitprog()
// unless a test set another (empty = quitprog again).
void setSortieApresEchecParams(std::function<void()> sortie);
// Where bouton_Click hands its command: ExecBouton(n, 0) unless a test set
// another (empty = ExecBouton again).
void setRelaisCommandePourTests(std::function<void(int)> relais);
// The halftone copy: the source rectangle (0, 0, sw, sh) averaged onto a
// dw x dh picture; null when a size is not positive.
QImage DemiTeinte(const QImage& source, int sw, int sh, int dw, int dh);
// Halftone copies of the whole of `source`, one a size, made in one pass over
// it (a null picture for an empty size).
std::vector<QImage> DemiTeintes(const QImage& source, const std::vector<QSize>& tailles);
// Draws a copy at (0, 0) of the persistent image of `box`.
void Poser(const QImage& copie, vb::PictureBox& box);
// The whole of `source` stretched in halftone over the persistent image of
// `box`, at (0, 0, dw, dh) pixels (its client size when dw or dh is 0).
void EtirerDans(const QImage& source, vb::PictureBox& box, int dw = 0, int dh = 0);
// A picture file at full size; null (after telling the user, with the path
// and the status) when it cannot be read.
QImage LireBitmap(const QString& chemin);
}  // namespace mainwin
