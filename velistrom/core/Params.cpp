#include "velistrom/core/Params.h"

#include "platform/Folders.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Runtime.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/core/GlobDossiers.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

// ---------------------------------------------------------------- the record

EnregParams::EnregParams() : text_(kLongueur, u' ') {}

EnregParams::EnregParams(const QString& line) : text_(Ligne300(line)) {}

QString EnregParams::get(Champ c) const { return text_.mid(c.pos - 1, c.len); }

void EnregParams::set(Champ c, const QString& value) { text_.replace(c.pos - 1, c.len, AuLongueur(value, c.len)); }

QString AuLongueur(const QString& text, qsizetype length) {
  if (text.size() <= length) return text.leftJustified(length, u' ');
  // A character outside the basic plane is two UTF-16 units: never keep half of one.
  const qsizetype keep = text[length - 1].isHighSurrogate() ? length - 1 : length;
  return text.left(keep).leftJustified(length, u' ');
}

namespace {

// Positions 101-126 as one text; the two differ at 105 and 120.
const char kBlocCreation[] = "ZMEFY00007Capt111001010000";
const char kBlocReinit[] = "ZMEF200007Capt111000010000";

// The numeric value of a field (the usual leading-number scan).
int valeur(const EnregParams& e, EnregParams::Champ c) { return int(vb::Val(e.get(c))); }

EnregParams defauts(const char* bloc) {
  EnregParams e;
  e.set(EnregParams::Remplissage, QString(92, u'X'));
  e.set(EnregParams::SelLarg, "0420");
  e.set(EnregParams::SelHaut, "0260");
  e.set({101, 26}, bloc);
  e.set(EnregParams::Libre127, "");
  e.set(EnregParams::Editeur, kEditeurDefaut);
  e.set(EnregParams::RepCapt, "c:\\tempocapt<=======");
  return e;
}

}  // namespace

EnregParams EnregParams::creation() { return defauts(kBlocCreation); }
EnregParams EnregParams::reinit() { return defauts(kBlocReinit); }

QString Ligne300(const QString& text) { return AuLongueur(text, EnregParams::kLongueur); }

QString RepSauveDeLigne(const QString& line) {
  qsizetype end = line.size();
  while (end > 0 && line[end - 1] == u' ') --end;
  return line.left(end);
}

QString NomExeDeEditeur(const QString& field) {
  QString name = RepSauveDeLigne(field.mid(field.lastIndexOf(u'/') + 1));
  // A name kept from a Windows record ("mspaint.exe") names the same program.
  if (name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive)) name.chop(4);
  return name;
}

// ---------------------------------------------------------------- the options dialog's view

ReglagesOptions ReglagesDeEnreg(const EnregParams& e) {
  ReglagesOptions r;
  const EnregParams::Champ touches[] = {EnregParams::Touche1, EnregParams::Touche2, EnregParams::Touche3,
                                        EnregParams::Touche4, EnregParams::Touche5};
  for (std::size_t i = 0; i < r.touches.size(); ++i) r.touches[i] = e.get(touches[i]);
  for (std::size_t i = 0; i < r.cases.size(); ++i) r.cases[i] = valeur(e, kCasesOptions[i]) != 0 ? 1 : 0;
  // A damaged digit must not put a slider out of its range.
  r.qualite = std::clamp(valeur(e, EnregParams::QualJpg), 1, 9);
  r.tempo = std::clamp(valeur(e, EnregParams::Tempo), 0, 10);
  r.prefixe = e.get(EnregParams::Prefixe);
  r.intervalle = e.get(EnregParams::Intervalle);
  r.editeur = e.get(EnregParams::Editeur);
  return r;
}

EnregParams EnregDeReglages(const ReglagesOptions& r, const QString& selLarg, const QString& selHaut,
                            const QString& repCapt) {
  EnregParams e;  // blanks wherever nothing is written: 1-92, 106, 116, 127-130
  e.set(EnregParams::SelLarg, selLarg);
  e.set(EnregParams::SelHaut, selHaut);
  const EnregParams::Champ touches[] = {EnregParams::Touche1, EnregParams::Touche2, EnregParams::Touche3,
                                        EnregParams::Touche4, EnregParams::Touche5};
  for (std::size_t i = 0; i < r.touches.size(); ++i) e.set(touches[i], r.touches[i].left(1));
  for (std::size_t i = 0; i < r.cases.size(); ++i) e.set(kCasesOptions[i], r.cases[i] != 0 ? "1" : "0");
  e.set(EnregParams::QualJpg, QString::number(std::clamp(r.qualite, 1, 9)));
  e.set(EnregParams::Prefixe, SansSeparateurs(r.prefixe));
  e.set(EnregParams::Tempo, QString::number(std::clamp(r.tempo, 0, 9)));
  e.set(EnregParams::Intervalle, QString::number(IntervalleDeSaisie(r.intervalle)).rightJustified(5, u'0'));
  e.set(EnregParams::Editeur, r.editeur);
  e.set(EnregParams::RepCapt, repCapt + "<=======");
  return e;
}

QString SansSeparateurs(const QString& texte) {
  QString s = texte;
  s.remove(u'/');
  s.remove(u'\\');  // not a separator here, but it is one wherever the file travels
  s.remove(QChar(0));
  return s;
}

int IntervalleDeSaisie(const QString& typed) {
  const double v = vb::Val(typed);
  if (!(v > 0)) return 0;
  return v >= kIntervalleMax ? kIntervalleMax : int(v);
}

QString RepSauveDeSaisie(const QString& typed) {
  if (!typed.endsWith(QLatin1String("  "))) return typed;
  return typed.left(typed.indexOf(QLatin1String("  ")));
}

void RafraichirGlobalesOptions(const EnregParams& e) {
  gQualJpg = valeur(e, EnregParams::QualJpg) * 10;
  gGardeVisible = valeur(e, EnregParams::GardeVisible);
  gPrefixe = e.get(EnregParams::Prefixe);
  gTouche1 = e.get(EnregParams::Touche1);
  gTouche2 = e.get(EnregParams::Touche2);
  gTouche3 = e.get(EnregParams::Touche3);
  gTouche4 = e.get(EnregParams::Touche4);
  gTouche5 = e.get(EnregParams::Touche5);
  gMemoSel = valeur(e, EnregParams::MemoSel);
  gPasCopiePP = QString::number(valeur(e, EnregParams::PasCopiePP));
  gNomHorod = valeur(e, EnregParams::NomHorod);
  gRectAjust = valeur(e, EnregParams::RectAjust);
  gMuet = valeur(e, EnregParams::Muet);
}

// ---------------------------------------------------------------- the file

ParamsUi ParamsUiStandard() {
  return ParamsUi{[](const QString& prompt, int buttons) { return vb::MsgBox(prompt, buttons); },
                  gLng125, gLng126};
}

QString CheminParams() { return gDossAppli.isEmpty() ? QString() : gDossAppli + "/params.txt"; }

QByteArray ContenuParams(const QString& ligne1, const QString& ligne2) {
  return (ligne1 + "\r\n" + ligne2 + "\r\n").toUtf8();
}

bool EcrireParams(const QString& path, const QString& ligne1, const QString& ligne2, QString* raison) {
  auto echec = [&](const QString& pourquoi) {
    if (raison) *raison = pourquoi;
    return false;
  };
  if (!path.startsWith(u'/')) return echec("\"" + path + "\" is not an absolute path");  // never relative
  QSaveFile f(path);
  // Unbuffered: a buffered save file commits even when the disk took only part
  // of the bytes, so each short write must be seen here.
  if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return echec(RaisonSysteme(path, f));
  platform::keepPrivate(f, path);
  const QByteArray bytes = ContenuParams(ligne1, ligne2);
  if (f.write(bytes) != bytes.size() || f.size() != bytes.size()) {
    const QString pourquoi = RaisonSysteme(path, f);
    f.cancelWriting();
    return echec(pourquoi);
  }
  if (!f.commit()) return echec(RaisonSysteme(path, f));
  return true;
}

QString RaisonSysteme(const QString& path, const QFileDevice& f) {
  const int err = errno;
  QString why = f.errorString();
  if (why.isEmpty() || why == u"Unknown error") why = QString::fromLocal8Bit(std::strerror(err));
  return "\"" + path + "\": " + why;
}

namespace {

// The lines of a text file; a line end at the very end opens no further line.
QStringList lignes(const QString& text) {
  QStringList out;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    out.append(text.mid(start, i - start));
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) out.append(text.mid(start));
  return out;
}

// The reset offered after a failure: true when the reset record was written.
// A failed read or write gives the system's reason below the question, so a
// full disk is not taken for a damaged file.
bool proposerReinit(const ParamsUi& ui, const QString& raison = {}) {
  const QString question = raison.isEmpty() ? ui.question : ui.question + "\n\n" + raison;
  if (ui.demande(question, vb::vbYesNo | vb::vbQuestion) != vb::vbYes) return false;
  if (!EcrireParams(CheminParams(), EnregParams::reinit().texte(), gMesDocs)) return false;
  ui.demande(ui.confirmation, vb::vbInformation);
  return true;
}

// Sets the globals from the record, in the order of the old start; false at
// the first value that cannot be taken (the later ones stay as they were).
bool deriverGlobales(const EnregParams& e) {
  gFormatBmp = valeur(e, EnregParams::FormatBmp);
  // The periodic timer takes 0 (never fires) to 65535 ms.
  const double intervalle = std::nearbyint(vb::Val(e.get(EnregParams::Intervalle)));
  if (!(intervalle >= 0 && intervalle <= 65535)) return false;
  gIntervPeriode = std::int32_t(intervalle);
  gOptChk0 = valeur(e, EnregParams::OptChk0);
  // Taken as a digit, not scanned: anything else is a damaged record.
  const QChar memo = e.get(EnregParams::MemoSel)[0];
  if (memo < u'0' || memo > u'9') return false;
  RafraichirGlobalesOptions(e);
  gSelLarg = e.get(EnregParams::SelLarg);
  gSelHaut = e.get(EnregParams::SelHaut);
  gEditeur = e.get(EnregParams::Editeur);
  gNomExeEdit = NomExeDeEditeur(gEditeur);
  gRepCapt = gDossAppli + "/tempocapt";
  return true;
}

}  // namespace

ChargtParamStatus chargtparam(const ParamsUi& ui) {
  gMesDocs = Ligne300(platform::documentsFolder());
  const QString path = CheminParams();
  bool lu = false;
  QString raison;
  if (gDossAppli.isEmpty()) {
    // No data folder: nowhere to read or write the settings.
  } else if (!QFile::exists(path)) {
    const EnregParams e = EnregParams::creation();
    if (EcrireParams(path, e.texte(), gMesDocs, &raison)) {
      gParams = e.texte();
      gRepSauvLigne = gMesDocs;
      lu = true;
    }
  } else {
    // Two lines of 300 characters; a FIFO or a huge file there is no settings file.
    const std::optional<QByteArray> bytes = platform::readRegularFile(path, 1 << 16, &raison);
    if (bytes) {
      const QStringList l = lignes(QString::fromUtf8(*bytes));
      if (l.size() >= 2) {
        gParams = EnregParams(l[0]).texte();
        gRepSauvLigne = Ligne300(l[1]);
        lu = true;
      }
    }
  }
  if (lu) {
    gRepSauve = RepSauveDeLigne(gRepSauvLigne);
    if (deriverGlobales(EnregParams(gParams))) return ChargtParamStatus::Pret;
  }
  proposerReinit(ui, raison);
  return ChargtParamStatus::FinProgramme;
}

SaveStatus SavOptions(const ParamsUi& ui) {
  QString raison;
  if (EcrireParams(CheminParams(), Ligne300(gParams), Ligne300(gRepSauvLigne), &raison))
    return SaveStatus::Enregistre;
  return proposerReinit(ui, raison) ? SaveStatus::EchecReinit : SaveStatus::Echec;
}
