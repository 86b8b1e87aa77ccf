#pragma once
// The settings file "params.txt" in the data folder: line 1 the 300-character
// settings record, line 2 the save folder padded with blanks to 300 characters,
// both ended by CR LF (UTF-8). The record keeps every setting at a fixed
// position; EnregParams names the positions, and both the start (chargtparam)
// and the options dialog build and read the record through it.
#include <QFileDevice>
#include <QString>

#include <array>
#include <functional>
#include <optional>

class EnregParams {
 public:
  static constexpr int kLongueur = 300;
  // A field: 1-based first position and length.
  struct Champ {
    int pos;
    int len;
  };
  static constexpr Champ Remplissage{1, 92};  // filler, never read
  static constexpr Champ SelLarg{93, 4};      // saved selection width, pixels
  static constexpr Champ SelHaut{97, 4};      // saved selection height, pixels
  static constexpr Champ Touche1{101, 1};     // hotkey of command 0 (region)
  static constexpr Champ Touche2{102, 1};     // command 12 (print)
  static constexpr Champ Touche3{103, 1};     // command 1 (double height)
  static constexpr Champ Touche4{104, 1};     // command 2 (whole screen)
  static constexpr Champ Touche5{105, 1};     // command 19 (quit)
  static constexpr Champ Libre106{106, 1};
  static constexpr Champ OptChk0{107, 1};       // snap to 10 pixels
  static constexpr Champ FormatBmp{108, 1};     // automatic saves as BMP
  static constexpr Champ GardeVisible{109, 1};  // windows stay visible
  static constexpr Champ QualJpg{110, 1};       // JPEG quality in tens of percent
  static constexpr Champ Prefixe{111, 4};       // file-name prefix
  static constexpr Champ MemoSel{115, 1};       // store the selection size at quit
  static constexpr Champ Libre116{116, 1};
  static constexpr Champ Tempo{117, 1};       // tempo digit (options dialog only)
  static constexpr Champ PasCopiePP{118, 1};  // no clipboard copy
  static constexpr Champ NomHorod{119, 1};    // names from the capture's time stamp
  static constexpr Champ RectAjust{120, 1};   // selection with handles
  static constexpr Champ Muet{121, 1};        // no shutter sound
  static constexpr Champ Intervalle{122, 5};  // periodic interval, milliseconds
  static constexpr Champ Libre127{127, 4};
  static constexpr Champ Editeur{131, 150};  // image editor, padded with blanks
  static constexpr Champ RepCapt{281, 20};   // capture folder + "<=======", never read

  // A record of 300 blanks.
  EnregParams();
  // A stored line: padded with blanks or cut to 300 characters.
  explicit EnregParams(const QString& line);

  // The field's characters.
  QString get(Champ c) const;
  // Puts `value` into the field, padded with blanks or cut to its length.
  void set(Champ c, const QString& value);
  const QString& texte() const { return text_; }

  // The record written when there is no settings file, and the one a reset writes.
  static EnregParams creation();
  static EnregParams reinit();

 private:
  QString text_;
};

// The default editor of the create and reset records.
inline constexpr char kEditeurDefaut[] = "mspaint";

// ---------------------------------------------------------------- the options dialog's view

// What the options dialog shows and edits of the record, as its boxes hold it.
struct ReglagesOptions {
  std::array<QString, 5> touches;  // the five hotkey boxes
  std::array<int, 8> cases{};      // the eight switches, 0 or 1, in the dialog's order
  int qualite = 7;                 // JPEG quality slider, 1-9 (tens of percent)
  int tempo = 1;                   // tempo slider, 0-10
  QString prefixe;                 // file-name prefix as typed
  QString intervalle;              // periodic interval as typed, milliseconds
  QString editeur;                 // editor program as typed
};

// The record field of each of the dialog's switches, in its order.
inline constexpr std::array<EnregParams::Champ, 8> kCasesOptions = {
    EnregParams::OptChk0,    EnregParams::FormatBmp, EnregParams::GardeVisible, EnregParams::PasCopiePP,
    EnregParams::Muet,       EnregParams::NomHorod,  EnregParams::RectAjust,    EnregParams::MemoSel};

// The longest interval the record keeps; more is stored as this.
inline constexpr int kIntervalleMax = 65000;

// What the dialog shows of a record: the sliders held within their ranges.
ReglagesOptions ReglagesDeEnreg(const EnregParams& e);
// The record the dialog writes: blank filler, the selection size kept, the
// dialog's values, the interval at most 65000, the editor cut to its field and
// the run's capture folder followed by "<=======". Always 300 characters and
// every field in its place: the tempo takes one digit (10 is kept as 9) and a
// prefix loses its path separators.
EnregParams EnregDeReglages(const ReglagesOptions& r, const QString& selLarg, const QString& selHaut,
                            const QString& repCapt);
// The settings globals the dialog's OK refreshes from a record (the quality,
// keep-visible, prefix, hotkeys, quit-size, clipboard, time-stamp, handles and
// mute switches). The 10-pixel snap and the BMP choice wait for the next start.
void RafraichirGlobalesOptions(const EnregParams& e);
// A text that becomes part of a file name (the prefix, a stamp), without path
// separators and NUL.
QString SansSeparateurs(const QString& texte);
// The interval a typed text stands for, at most 65000.
int IntervalleDeSaisie(const QString& typed);
// The save folder of the dialog's folder box: before its first two
// consecutive blanks when the text ends in two blanks, else the whole text.
QString RepSauveDeSaisie(const QString& typed);

// A text padded with blanks or cut to `length` UTF-16 units; a cut never keeps
// half of a character outside the basic plane (a blank takes its place).
QString AuLongueur(const QString& text, qsizetype length);
// The same at 300 (the save-folder line).
QString Ligne300(const QString& text);
// The save folder of a save-folder line: the line up to its last non-blank
// character (blanks inside a folder name are kept).
QString RepSauveDeLigne(const QString& line);
// The program's file name in an editor field: the text after its last "/" (all
// of it when there is none), without trailing blanks and without a final ".exe".
QString NomExeDeEditeur(const QString& field);

// How the settings code asks the user (the old message box: a prompt and the
// button and icon codes of platform/forms/MsgBox.h; returns the answer code).
using DemandeFn = std::function<int(const QString& prompt, int buttons)>;
struct ParamsUi {
  DemandeFn demande;
  QString question;      // "reset the settings?" (language text 125)
  QString confirmation;  // "the settings were reset" (language text 126)
};
// The message boxes and the language texts 125 and 126.
ParamsUi ParamsUiStandard();

// "params.txt" in the data folder gDossAppli.
QString CheminParams();

enum class ChargtParamStatus {
  Pret,          // the globals are set; the start goes on
  FinProgramme,  // the file could not be read or created: the start ends
};
// Reads the settings file, or creates it with the create record and the
// documents folder, and sets every settings global. A file that cannot be read
// or created asks whether to reset it (writing the reset record) and ends the
// start in either case.
ChargtParamStatus chargtparam(const ParamsUi& ui = ParamsUiStandard());

enum class SaveStatus {
  Enregistre,    // written
  Echec,         // not written; the file on disk is as it was
  EchecReinit,   // not written; the user chose the reset and the reset record was written
};
// Writes gParams and gRepSauvLigne. The file is replaced in one step, so a
// failure leaves the previous file whole. On failure the user is offered the
// reset; the program keeps running and the caller decides what follows.
SaveStatus SavOptions(const ParamsUi& ui = ParamsUiStandard());

// The two lines as the file holds them.
QByteArray ContenuParams(const QString& ligne1, const QString& ligne2);
// Writes the file through a temporary file renamed into place; false on
// failure, with the system's reason in raison when given.
bool EcrireParams(const QString& path, const QString& ligne1, const QString& ligne2,
                  QString* raison = nullptr);
// "path": the system's text for the last failure of f.
QString RaisonSysteme(const QString& path, const QFileDevice& f);
