// The rules of the timed-capture window's fields, of Start and of the running
// series, without any widget.
#include "tests/platform/forms/TestForms.h"  // readable QString values in failures
#include "velistrom/timed/ChampsChrono.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using timed::ChampsChrono;

// The ten fields as "h:m:s h:m:s h:m:s ms".
QString Lecture(const ChampsChrono& c) {
  auto f = [&c](int i) { return c.champ(i); };
  return f(1) + ":" + f(2) + ":" + f(3) + " " + f(4) + ":" + f(5) + ":" + f(6) + " " + f(7) + ":" + f(8) + ":" +
         f(9) + " " + f(10);
}

// Fields set from a reading like Lecture's, by code.
void Poser(ChampsChrono& c, const QString& lecture) {
  const QStringList parts = lecture.split(QRegularExpression("[: ]"));
  for (int i = 1; i <= 10; ++i) c.affecter(i, parts[i - 1]);
}

}  // namespace

TEST(ChampsChrono, PlusAndMinusWrapAndCarry) {
  struct Cas {
    const char* avant;
    int champ;
    char op;
    const char* apres;
  };
  const Cas cas[] = {
      {"22:00:00 00:00:00 00:00:01 0000", 1, '+', "23:00:00 00:00:00 00:00:01 0000"},
      {"23:00:00 00:00:00 00:00:01 0000", 1, '+', "00:00:00 00:00:00 00:00:01 0000"},   // hours wrap up
      {"00:00:00 23:00:00 00:00:01 0000", 4, '+', "00:00:00 00:00:00 00:00:01 0000"},
      {"00:00:00 00:00:00 98:00:01 0000", 7, '+', "00:00:00 00:00:00 99:00:01 0000"},   // period hours to 99
      {"00:00:00 00:00:00 99:00:01 0000", 7, '+', "00:00:00 00:00:00 00:00:01 0000"},
      {"00:00:00 00:00:00 00:00:01 0000", 1, '-', "00:00:00 00:00:00 00:00:01 0000"},   // stops at 00
      {"12:00:00 00:00:00 00:00:01 0000", 1, '-', "11:00:00 00:00:00 00:00:01 0000"},
      {"10:58:59 00:00:00 00:00:01 0000", 3, '+', "10:59:00 00:00:00 00:00:01 0000"},   // 60 s carry
      {"10:59:59 00:00:00 00:00:01 0000", 3, '+', "11:00:00 00:00:00 00:00:01 0000"},   // through the minutes
      {"23:59:59 00:00:00 00:00:01 0000", 3, '+', "24:00:00 00:00:00 00:00:01 0000"},   // a carry has no bound
      {"00:75:00 00:00:00 00:00:01 0000", 2, '+', "00:76:00 00:00:00 00:00:01 0000"},
      {"00:00:00 00:00:00 00:00:01 0999", 10, '+', "00:00:00 00:00:00 00:00:01 1000"},
      {"00:00:00 00:00:00 00:00:01 1000", 10, '+', "00:00:00 00:00:00 00:00:01 0001"},  // ms wrap both ways
      {"00:00:00 00:00:00 00:00:01 0001", 10, '-', "00:00:00 00:00:00 00:00:01 1000"},
      {"00:00:00 00:00:00 00:00:01 0000", 10, '-', "00:00:00 00:00:00 00:00:01 1000"},
  };
  for (const Cas& c : cas) {
    ChampsChrono ch;
    Poser(ch, c.avant);
    ASSERT_EQ(Lecture(ch), c.avant);
    c.op == '+' ? ch.plus(c.champ) : ch.moins(c.champ);
    EXPECT_EQ(Lecture(ch), c.apres) << c.avant << " " << c.op << c.champ;
  }
}

TEST(ChampsChrono, TypedValues) {
  struct Cas {
    int champ;
    const char* tape;
    const char* apres;
  };
  const Cas cas[] = {
      {2, "75", "10:75:00 10:01:00 00:00:01 0000"},    // only exactly 60 carries
      {3, "60", "10:01:00 10:01:00 00:00:01 0000"},
      {10, "1500", "10:00:00 10:01:00 00:00:01 0000"},  // above 1000
      {10, "1000", "10:00:00 10:01:00 00:00:01 1000"},
      {10, "ab", "10:00:00 10:01:00 00:00:01 0000"},
      {8, "-5", "10:00:00 10:01:00 00:5:01 0000"},    // no sign: no negative period
      {9, "4a", "10:00:00 10:01:00 00:00:4 0000"},
      {9, "1.5", "10:00:00 10:01:00 00:00:15 0000"},
      {5, "", "10:00:00 10:00:00 00:00:01 0000"},      // empty: not a number
      {1, "", "00:00:00 10:01:00 00:00:01 0000"},
      {1, "60", "60:00:00 10:01:00 00:00:01 0000"},    // an hour field never carries
      {4, "7", "10:00:00 7:01:00 00:00:01 0000"},      // kept as typed
  };
  for (const Cas& c : cas) {
    ChampsChrono ch;
    Poser(ch, "10:00:00 10:01:00 00:00:01 0000");
    ch.taper(c.champ, c.tape);
    EXPECT_EQ(Lecture(ch), c.apres) << c.champ << " <- " << c.tape;
  }
}

TEST(ChampsChrono, OpeningValues) {
  struct Cas {
    QTime maintenant;
    int intervalle;
    const char* lecture;
  };
  const Cas cas[] = {
      {QTime(10, 15, 42), 10000, "10:15:42 10:16:42 00:00:10 0000"},
      {QTime(23, 59, 30), 10000, "23:59:30 24:00:30 00:00:10 0000"},  // the end minute carries
      {QTime(8, 5, 7), 65000, "08:05:07 08:06:07 00:01:05 0000"},
      {QTime(8, 5, 7), 59999, "08:05:07 08:06:07 00:00:59 0999"},
      {QTime(8, 5, 7), 60000, "08:05:07 08:06:07 00:01:00 0000"},
      {QTime(0, 0, 0), 500, "00:00:00 00:01:00 00:00:00 0500"},
  };
  for (const Cas& c : cas) {
    ChampsChrono ch;
    ch.ouvrir(c.maintenant, c.intervalle);
    EXPECT_EQ(Lecture(ch), c.lecture) << c.maintenant.toString().toStdString() << " " << c.intervalle;
    EXPECT_TRUE(ch.nbImg().isEmpty());
    EXPECT_FALSE(ch.noteRafale()) << "the opening shows the default note";
  }
}

TEST(ChampsChrono, BurstNoteAndImageCount) {
  ChampsChrono ch;
  int vus = 0;
  ch.onChange = [&] { ++vus; };
  ch.ouvrir(QTime(9, 0, 0), 500);  // period 00:00:00 already
  EXPECT_EQ(vus, 1) << "one change for the whole opening";
  EXPECT_FALSE(ch.noteRafale());
  ch.activer();
  EXPECT_TRUE(ch.noteRafale()) << "shown once the window is active";

  ChampsChrono b;
  b.ouvrir(QTime(9, 0, 0), 2000);
  b.moins(9);
  EXPECT_FALSE(b.noteRafale()) << "00:00:01";
  b.moins(9);
  EXPECT_TRUE(b.periodeNulle());
  EXPECT_TRUE(b.noteRafale());
  b.plus(9);
  EXPECT_TRUE(b.noteRafale()) << "raising the period again keeps the burst note";

  b.setNbImg("5");
  EXPECT_EQ(Lecture(b), "09:00:00 00:00:00 00:00:01 0000") << "a count clears the end";
  b.affecter(5, "30");
  b.setNbImg("");
  EXPECT_EQ(b.champ(5), "00") << "clearing the count does not bring the end back";
}

TEST(ChampsChrono, PeriodOfTheSettings) {
  for (auto [ms, m, s, r] : std::vector<std::array<int, 4>>{{10000, 0, 10, 0}, {999, 0, 0, 999}, {65000, 1, 5, 0}, {99999, 1, 39, 999}}) {
    const timed::Periode p = timed::PeriodeDeIntervalle(ms);
    EXPECT_EQ(p.minutes, m) << ms;
    EXPECT_EQ(p.secondes, s) << ms;
    EXPECT_EQ(p.millis, r) << ms;
  }
}

TEST(ChampsChrono, StartChecks) {
  using timed::Refus;
  struct Cas {
    const char* what;
    const char* champs;
    const char* nbImg;
    int nbCapt;
    const char* mode;
    double larg, haut;
    Refus refus;
    double nbImgLim;
  };
  constexpr double kSans = timed::kSansLimite;
  const Cas cas[] = {
      {"newest is a whole screen", "10:00:00 10:01:00 00:00:01 0000", "", 2, "e", 600, 450, Refus::PasDeZone, 0},
      {"newest is a window", "10:00:00 10:01:00 00:00:01 0000", "", 1, "f", 600, 450, Refus::PasDeZone, 0},
      {"empty list, a region known", "10:00:00 10:01:00 00:00:01 0000", "", 0, "", 600, 450, Refus::Aucun, kSans},
      {"no region ever taken", "10:00:00 10:01:00 00:00:01 0000", "", 0, "", 0, 0, Refus::ZoneVide, 0},
      {"under half a pixel down", "10:00:00 10:01:00 00:00:01 0000", "", 1, "z", 600, 7, Refus::ZoneVide, 0},
      {"start after end", "10:00:00 09:59:59 00:00:01 0000", "", 1, "z", 600, 450, Refus::DebutApresFin, 0},
      {"start after end, a count", "10:00:00 00:00:00 00:00:01 0000", "5", 1, "z", 600, 450, Refus::Aucun, 5},
      {"a count that is no number", "10:00:00 09:00:00 00:00:01 0000", "abc", 1, "z", 600, 450, Refus::DebutApresFin, 0},
      {"count 0 is none", "10:00:00 10:01:00 00:00:01 0000", "0", 1, "z", 600, 450, Refus::Aucun, kSans},
      {"count with text after it", "10:00:00 00:00:00 00:00:01 0000", "12 images", 1, "z", 600, 450, Refus::Aucun, 12},
      {"end equal to start", "10:00:00 10:00:00 00:00:01 0000", "", 1, "z", 600, 450, Refus::Aucun, kSans},
      {"end at 24 h", "23:59:30 24:00:30 00:00:01 0000", "", 1, "z", 600, 450, Refus::FinHorsJournee, 0},
      {"end at 24 h with a count", "23:59:30 24:00:30 00:00:01 0000", "3", 1, "z", 600, 450, Refus::Aucun, 3},
  };
  for (const Cas& c : cas) {
    ChampsChrono ch;
    Poser(ch, c.champs);
    ch.setNbImg(c.nbImg);
    Poser(ch, c.champs);  // the count cleared the end
    const timed::Demarrage d = timed::Valider(ch, c.nbCapt, c.mode, c.larg, c.haut);
    EXPECT_EQ(int(d.refus), int(c.refus)) << c.what;
    if (c.refus == Refus::Aucun) {
      EXPECT_EQ(d.nbImgLim, c.nbImgLim) << c.what;
      EXPECT_EQ(d.heureDeb, QString(c.champs).left(8)) << c.what;
      EXPECT_EQ(d.heureFin, QString(c.champs).mid(9, 8)) << c.what;
    }
  }
}

TEST(ChampsChrono, StartChoosesTheEngine) {
  struct Cas {
    const char* champs;
    bool rafale;
    int intervalleRafale;
    double intervPer;
  };
  const Cas cas[] = {
      {"10:00:00 10:01:00 00:00:00 0100", true, 100, 0},
      {"10:00:00 10:01:00 00:00:00 0000", true, 0, 0},  // a timer that never fires
      {"10:00:00 10:01:00 01:02:03 0004", false, 0, 3723004},
      {"10:00:00 10:01:00 00:00:01 0250", false, 0, 1250},
      {"10:00:00 10:01:00 0:00:00 0200", false, 0, 200},  // "0" is not "00": a long series
  };
  for (const Cas& c : cas) {
    ChampsChrono ch;
    Poser(ch, c.champs);
    const timed::Demarrage d = timed::Valider(ch, 1, "z", 600, 450);
    ASSERT_EQ(int(d.refus), int(timed::Refus::Aucun)) << c.champs;
    EXPECT_EQ(d.rafale, c.rafale) << c.champs;
    EXPECT_EQ(d.intervalleRafale, c.intervalleRafale) << c.champs;
    EXPECT_EQ(d.intervPer, c.intervPer) << c.champs;
  }
}

TEST(ChampsChrono, EndTestCountdownAndFolder) {
  constexpr double kSans = timed::kSansLimite;
  EXPECT_FALSE(timed::SerieFinie("10:00:00", "10:00:05", kSans, 3));
  EXPECT_TRUE(timed::SerieFinie("10:00:05", "10:00:05", kSans, 0));
  EXPECT_FALSE(timed::SerieFinie("10:00:05", "10:00:05", 5, 4)) << "with a count the end time is not looked at";
  EXPECT_TRUE(timed::SerieFinie("09:00:00", "10:00:05", 5, 5));

  EXPECT_EQ(timed::Compte("10:00:01", "- next in ", 0.5), "10:00:01 - next in 00.500 sec");
  EXPECT_EQ(timed::Compte("10:00:01", "- next in ", 12.25), "10:00:01 - next in 12.250 sec");
  EXPECT_EQ(timed::Compte("10:00:01", "- next in ", 0), "10:00:01 - next in 0,00 sec");
  EXPECT_EQ(timed::Compte("10:00:01", "- next in ", -0.1), "10:00:01 - next in 0,00 sec");

  EXPECT_EQ(timed::DossierSauve(QString("/home/a/Captures").leftJustified(300)), "/home/a/Captures");
  EXPECT_EQ(timed::DossierSauve("/home/a/My  Shots   "), "/home/a/My") << "cut before the first double blank";
  EXPECT_EQ(timed::DossierSauve(QString(299, u'x') + " "), QString(299, u'x')) << "a line with no double blank";
}

TEST(ChampsChrono, BurstNumbersSkipNamesAlreadyTaken) {
  const QSet<QString> pris = {"/s/Capt_101500_001.jpg", "/s/Capt_101500_002.jpg", "/s/Capt_101500_004.bmp"};
  auto existe = [&pris](const QString& p) { return pris.contains(p); };
  EXPECT_EQ(timed::NumeroLibre("/s", "Capt", "101500", 1, "jpg", existe), 3);
  EXPECT_EQ(timed::NumeroLibre("/s", "Capt", "101500", 1, "bmp", existe), 1) << "only the bitmap counts for bmp";
  EXPECT_EQ(timed::NumeroLibre("/s", "Capt", "101500", 4, "png", existe), 5);
  EXPECT_EQ(timed::NumeroLibre("/s", "Capt", "101501", 1, "jpg", existe), 1) << "another second";
}
