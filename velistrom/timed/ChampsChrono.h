#pragma once
// The widget-free rules of the timed-capture window: its ten time fields
// (1-3 start h/m/s, 4-6 end h/m/s, 7-9 period h/m/s, 10 period milliseconds)
// with their wraps and carries, the opening values, the checks of Start, the
// end test both series share, the countdown caption and the names of burst
// shots. The form (FrmChrono) shows what this model holds.
#include <QString>
#include <QTime>

#include <array>
#include <functional>

namespace timed {

// The image count that means "none given": the series ends by its end time.
inline constexpr double kSansLimite = 999999999;
inline constexpr int kNbChamps = 10;

class ChampsChrono {
 public:
  ChampsChrono();

  // Field i (1 to 10) as it reads.
  const QString& champ(int i) const { return champs_[i]; }
  // The image-count box.
  const QString& nbImg() const { return nbImg_; }
  // The burst note (language text 253) replaced the default one (233); it
  // stays until the window closes.
  bool noteRafale() const { return noteRafale_; }
  // Fields 7, 8 and 9 each read exactly "00": Start arms a burst.
  bool periodeNulle() const;

  // The opening values: start now, end one minute later, period the interval
  // of the settings (milliseconds). Each assignment runs the change rule.
  void ouvrir(const QTime& maintenant, int intervalleMs);
  // A text set by code: the change rule runs on it.
  void affecter(int i, const QString& texte);
  // A text typed by the user: only its digits are kept (a time field takes no
  // sign, point or letter), then the change rule runs.
  void taper(int i, const QString& texte);
  void plus(int i);
  void moins(int i);
  // Any change of the image count clears the end time to 00:00:00.
  void setNbImg(const QString& texte);
  // The window became active: the burst note when the period reads 00:00:00.
  void activer();

  // Called after every change of a field or of the count (the form shows it).
  std::function<void()> onChange;

 private:
  void regle(int i);
  void changer(int i, const QString& texte);
  std::array<QString, kNbChamps + 1> champs_;  // [0] unused
  QString nbImg_;
  bool noteRafale_ = false;
  int profondeur_ = 0;  // nested carries under way: one onChange at the end
};

// The interval of the settings as the opening splits it into period minutes,
// seconds and milliseconds.
struct Periode {
  int minutes = 0;
  int secondes = 0;
  int millis = 0;
};
Periode PeriodeDeIntervalle(int intervalleMs);

// ---------------------------------------------------------------- Start

enum class Refus {
  Aucun,
  PasDeZone,      // the last capture of the list is not a region
  ZoneVide,       // no region of at least one pixel across and down is known
  DebutApresFin,  // no image count and the start sorts after the end
  FinHorsJournee, // no image count and an end hour of 24 or more: it would never end
};

struct Demarrage {
  Refus refus = Refus::Aucun;
  QString heureDeb;  // "hh:mm:ss" as typed
  QString heureFin;
  double nbImgLim = 0;  // kSansLimite when no count was given
  bool rafale = false;  // period 00:00:00
  int intervalleRafale = 0;   // burst timer, milliseconds
  double intervPer = 0;       // long-period series, milliseconds
};

// What Start does with the fields, the count, the capture list (count and the
// newest capture's kind) and the last region's size (twips).
Demarrage Valider(const ChampsChrono& c, int nbCapt, const QString& modeDernier, double largImg,
                  double hautImg);

// ---------------------------------------------------------------- running series

// The end test of both series: the count reached, or the end time reached
// while no count was given (times compared as "hh:mm:ss" text).
bool SerieFinie(const QString& maintenant, const QString& heureFin, double nbImgLim, double nbPris);

// The due time of the next long-period shot, seconds since midnight: now plus
// the period, in whole milliseconds like the clock itself, so that a shot is
// due exactly when the clock reaches it.
double Echeance(double maintenant, double intervPer);

// The countdown caption of a running long-period series: the time, a blank,
// language text 232, the seconds left as "###00.000" ("0,00" when none are
// left) and " sec".
QString Compte(const QString& maintenant, const QString& texte232, double restant);

// The save folder of the settings' line 2: its text before the first double
// blank; a line without one (a path filling the line) is taken whole, its
// trailing blanks cut.
QString DossierSauve(const QString& ligne);

// The number of a burst shot's files: `numero` (the shot count) unless its
// bitmap or its converted file already exists in the folder (an earlier burst
// in the same second), then the next free one. `existe` tells whether a path
// is taken.
int NumeroLibre(const QString& dossier, const QString& prefixe, const QString& hhmmss, int numero,
                const QString& motFormat, const std::function<bool(const QString&)>& existe);

}  // namespace timed
