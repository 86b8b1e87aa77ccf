#include "velistrom/timed/FrmChrono.h"

#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Runtime.h"
#include "velistrom/helpers/Conversion.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/helpers/NomsSauv.h"
#include "velistrom/core/Bureau.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/timed/CoteMain.h"

#include <QFile>
#include <QFileInfo>
#include <QRect>

namespace {

// Layout, twips. The template field stands one column left of field 1.
constexpr int kGaucheModele = 840;
constexpr int kHautModele = 560;
constexpr int kPasColonne = 600;
constexpr int kPasLigne = 770;
constexpr int kLargChamp = 300;
constexpr int kHautChamp = 300;
constexpr int kHautBouton = 200;
constexpr int kEcartUnite = 15;
constexpr int kLargUnite = 285;

const char* const kFormats[4] = {"bmp", "jpg", "gif", "png"};

// Shown when Start is refused for an end that no time of day reaches.
const QString kFinHorsJournee = QString::fromUtf8(
    "L'heure de fin doit être avant 24:00:00, sinon indiquez un nombre d'images.\n"
    "The end time must be before 24:00:00; otherwise give a number of images.");

bool Existe(const QString& chemin) {
  const QFileInfo fi(chemin);
  return fi.exists() || fi.isSymLink();
}

}  // namespace

FrmChrono::FrmChrono()
    : vb::Form("FrmChrono"),
      Txtchrono(*this, "Txtchrono"),
      CdeChronoM(*this, "CdeChronoM"),
      CdeChronoP(*this, "CdeChronoP"),
      LabInterm(*this, "LabInterm"),
      LabHdebChrono(*this, "LabHdebChrono"),
      LabHfinChrono(*this, "LabHfinChrono"),
      LabPerioChrono(*this, "LabPerioChrono"),
      TxtNbImg(*this, "TxtNbImg"),
      LabNbImg(*this, "LabNbImg"),
      LabChangt(*this, "LabChangt"),
      OptSav(*this, "OptSav", 4),
      Labcpt(*this, "Labcpt"),
      CdeOk(*this, "CdeOk"),
      CdeStopper(*this, "CdeStopper"),
      CdeAnnul(*this, "CdeAnnul"),
      Command1(*this, "Command1"),
      Ficdescapt(*this, "Ficdescapt"),
      Timer1(*this, "Timer1", 1000, true),
      Timrapid(*this, "Timrapid", 0, false) {
  setBorderStyle(vb::vbFixedSingle);
  setWidth(8200);
  setHeight(5400);

  // ---- templates of the field columns
  Txtchrono[0].Move(kGaucheModele, kHautModele, kLargChamp, kHautChamp);
  Txtchrono[0].setMaxLength(2);
  Txtchrono[0].setAlignment(2);
  CdeChronoM[0].setCaption("-");
  CdeChronoP[0].setCaption("+");
  LabInterm[0].Move(kGaucheModele + kLargChamp + kEcartUnite, kHautModele + 40, kLargUnite, 240);
  for (vb::Control* c : std::initializer_list<vb::Control*>{&Txtchrono[0], &CdeChronoM[0], &CdeChronoP[0], &LabInterm[0]})
    c->setVisible(false);

  for (vb::Label* l : {&LabHdebChrono, &LabHfinChrono, &LabPerioChrono}) l->Move(120, 0, 700, 255);
  LabNbImg.Move(3800, 0, 2200, 255);
  TxtNbImg.Move(6050, 0, 700, 300);
  TxtNbImg.setText(QString());
  LabChangt.Move(120, 2660, 5900, 700);  // below the period row's "+" buttons
  LabChangt.setWordWrap(true);
  for (int i = 0; i < 4; ++i) {
    OptSav[i].setCaption(kFormats[i]);
    OptSav[i].Move(120 + i * 800, 3400, 750, 285);
  }
  OptSav[0].setValue(true);
  Labcpt.Move(3500, 3420, 2400, 255);
  Labcpt.setCaption("0");
  CdeOk.setCaption("Start");
  CdeStopper.setCaption("Stop");
  CdeAnnul.setCaption("Quit");
  Command1.setCaption("Help/aide");
  vb::CommandButton* const boutons[] = {&CdeOk, &CdeStopper, &CdeAnnul, &Command1};
  for (int i = 0; i < 4; ++i) boutons[i]->Move(120 + i * 1450, 3950, 1350, 400);
  Ficdescapt.Move(6150, 1750, 1800, 2600);  // below the number-of-images box

  // ---- events
  Txtchrono.on(&vb::TextBox::onChange, [this](int Index) { Txtchrono_Change(Index); });
  CdeChronoP.on(&vb::CommandButton::onClick, [this](int Index) { CdeChronoP_Click(Index); });
  CdeChronoM.on(&vb::CommandButton::onClick, [this](int Index) { CdeChronoM_Click(Index); });
  TxtNbImg.onChange = [this] { TxtNbImg_Change(); };
  CdeOk.onClick = [this] { CdeOk_Click(); };
  CdeStopper.onClick = [this] { CdeStopper_Click(); };
  CdeAnnul.onClick = [this] { CdeAnnul_Click(); };
  Command1.onClick = [this] { Command1_Click(); };
  Timer1.onTimer = [this] { Timer1_Timer(); };
  Timrapid.onTimer = [this] { Timrapid_Timer(); };
  champs.onChange = [this] { afficher(); };
}

// ============================================================================ the window and its fields

void FrmChrono::Form_Load() {
  setLeft(timed::mainSide().mainLeft());

  // The rows: start, end, period; each field with "-" above it, "+" below
  // it and its unit after it.
  for (int i = 1; i <= timed::kNbChamps; ++i) {
    vb::TextBox& t = Txtchrono.Load(i);
    vb::Label& u = LabInterm.Load(i);
    vb::CommandButton& m = CdeChronoM.Load(i);
    vb::CommandButton& p = CdeChronoP.Load(i);
    const bool nouvelleLigne = i == 4 || i == 7;
    const vb::TextBox& avant = nouvelleLigne ? Txtchrono[i - 3] : Txtchrono[i - 1];
    const vb::Label& uniteAvant = nouvelleLigne ? LabInterm[i - 3] : LabInterm[i - 1];
    if (nouvelleLigne) {
      t.Move(avant.Left(), avant.Top() + kPasLigne);
      u.Move(uniteAvant.Left(), uniteAvant.Top() + kPasLigne);
    } else {
      t.Move(avant.Left() + kPasColonne, avant.Top());
      u.Move(uniteAvant.Left() + kPasColonne, uniteAvant.Top());
    }
    if (i == 10) {
      t.setWidth(2 * Txtchrono[9].Width());
      u.setLeft(t.Left() + t.Width() + kEcartUnite);
    }
    m.Move(t.Left(), t.Top() - kHautBouton, t.Width(), kHautBouton);
    p.Move(t.Left(), t.Top() + t.Height(), t.Width(), kHautBouton);
    t.setForeColor(i <= 3 ? vb::QBColor(2) : i <= 6 ? vb::QBColor(12) : vb::RGB(200, 120, 50));
    for (vb::Control* c : std::initializer_list<vb::Control*>{&t, &u, &m, &p}) c->setVisible(true);
  }
  Txtchrono[10].setMaxLength(4);

  LabHdebChrono.setTop(Txtchrono[1].Top());
  LabHfinChrono.setTop(Txtchrono[4].Top());
  LabPerioChrono.setTop(Txtchrono[7].Top());
  LabHfinChrono.setLeft(LabHdebChrono.Left());
  LabPerioChrono.setLeft(LabHdebChrono.Left());
  LabNbImg.setTop(Txtchrono[4].Top());
  TxtNbImg.setTop(LabNbImg.Top());

  const QString* const unites[3] = {&gLng227, &gLng228, &gLng229};
  for (int i = 1; i <= timed::kNbChamps; ++i) LabInterm[i].setCaption(i == 10 ? gLng230 : *unites[(i - 1) % 3]);
  LabHdebChrono.setCaption(gLng234);
  LabHfinChrono.setCaption(gLng235);
  LabPerioChrono.setCaption(gLng236);

  const int intervalle = int(vb::Val(vb::Mid(gParams, 122, 5)));
  champs.ouvrir(vb::Now().time(), intervalle);
  LabNbImg.setCaption(gLng249);
  Timer1_Timer();

  // A folder that is missing lists nothing: no warning then.
  const QString dossier = timed::DossierSauve(gRepSauvLigne);
  bool liste = false;
  try {
    Ficdescapt.setPath(dossier);
    liste = true;
  } catch (const vb::Error&) {
  }
  if (liste && Ficdescapt.ListCount() > 0)
    vb::MsgBox(gLng255 + dossier + gLng260, vb::vbOKCancel | vb::vbExclamation);
}

void FrmChrono::Form_Activate() { champs.activer(); }

void FrmChrono::Timer1_Timer() { setCaption(vb::TimeText() + " " + gLng231); }

void FrmChrono::CdeChronoP_Click(int Index) { champs.plus(Index); }

void FrmChrono::CdeChronoM_Click(int Index) { champs.moins(Index); }

void FrmChrono::Txtchrono_Change(int Index) {
  if (affichage_ || !Txtchrono.exists(Index)) return;
  champs.taper(Index, Txtchrono[Index].Text());
}

void FrmChrono::TxtNbImg_Change() {
  if (affichage_) return;
  champs.setNbImg(TxtNbImg.Text());
}

void FrmChrono::Command1_Click() { timed::mainSide().showTutorials(); }

void FrmChrono::CdeAnnul_Click() { vb::Unload(*this); }

void FrmChrono::afficher() {
  affichage_ = true;
  for (int i = 1; i <= timed::kNbChamps; ++i)
    if (Txtchrono.exists(i) && Txtchrono[i].Text() != champs.champ(i)) Txtchrono[i].setText(champs.champ(i));
  if (TxtNbImg.Text() != champs.nbImg()) TxtNbImg.setText(champs.nbImg());
  LabChangt.setCaption(champs.noteRafale() ? gLng253 : gLng233);
  affichage_ = false;
}

QString FrmChrono::FormatChoisi() const {
  for (int i = 0; i < 4; ++i)
    if (OptSav[i].Value()) return OptSav[i].Caption();
  return kFormats[0];
}

// ============================================================================ Start and Stop

void FrmChrono::CdeOk_Click() {
  Labcpt.setCaption("0");
  const timed::Demarrage d =
      timed::Valider(champs, gNbCapt, gNbCapt > 0 ? gTabMode[gNbCapt] : QString(), gLargImg, gHautImg);
  switch (d.refus) {
    case timed::Refus::PasDeZone:
    case timed::Refus::ZoneVide: vb::MsgBox(gTxtPasDeZone, vb::vbInformation); return;
    case timed::Refus::DebutApresFin: vb::MsgBox(gLng194, vb::vbExclamation); return;
    case timed::Refus::FinHorsJournee: vb::MsgBox(kFinHorsJournee, vb::vbExclamation); return;
    case timed::Refus::Aucun: break;
  }
  gHeureDeb = d.heureDeb;
  gHeureFin = d.heureFin;
  gNbImgLim = d.nbImgLim;

  if (d.rafale) {
    Timrapid.setInterval(d.intervalleRafale);
    Timrapid.setEnabled(true);
    CptRafale = 0;
    decalage_ = 0;
    convertis_.clear();
    return;
  }
  gIntervPer = d.intervPer;
  gNbImgPer = 0;
  gPremTop = true;
  timed::mainSide().armLongSeries();
  setWindowState(vb::vbMinimized);
}

void FrmChrono::CdeStopper_Click() { timed::mainSide().stopLongSeries(); }

// ============================================================================ the burst

void FrmChrono::Timrapid_Timer() {
  const QString maintenant = vb::TimeText();
  if (maintenant < gHeureDeb) return;
  if (timed::SerieFinie(maintenant, gHeureFin, gNbImgLim, CptRafale)) {
    FinRafale();
    return;
  }
  ++CptRafale;
  const int numeroTir = CptRafale;

  vb::DoEvents();
  if (Ferme()) return;  // the window closed: the burst went with it
  // The live screen at this moment, without the pointer.
  const QRect zone(vb::twipsToPixels(gSelX), vb::twipsToPixels(gSelY), vb::twipsToPixels(gLargImg),
                   vb::twipsToPixels(gHautImg));
  const QImage tir = core::bureau().grab(zone);

  const QString dossier = timed::DossierSauve(gRepSauvLigne);
  const QString mot = FormatChoisi();
  const QString hhmmss = vb::Format(vb::Now(), "hhmmss");
  const int numero = timed::NumeroLibre(dossier, gPrefixe, hhmmss, numeroTir + decalage_, mot, Existe);
  decalage_ = numero - numeroTir;
  const QString bitmap = sauv::NomSauv(dossier, gPrefixe, hhmmss, numero);
  try {
    if (dossier.isEmpty() || !QFileInfo(dossier).isDir()) throw vb::Error(vb::vbErrPathFileAccess);
    vb::SavePicture(tir, bitmap);
  } catch (const vb::Error& e) {
    // Nothing more can be written: the burst ends with what it has.
    --CptRafale;
    Timrapid.setEnabled(false);
    vb::MsgBox(QString::number(e.Number()) + " " + e.Description() + "\n" + bitmap, vb::vbCritical);
    if (!Ferme()) FinRafale();
    return;
  }
  if (const int format = sauv::FormatDeMot(mot); format != 0) {
    // A failed conversion keeps its bitmap: it is the only copy of the shot.
    const bool ecrit = Conversion::ConvImage(bitmap, sauv::AvecFormat(bitmap, mot), format, gQualJpg);
    if (Ferme()) return;  // closed while the failure was shown
    if (ecrit) convertis_ << bitmap;
  }

  vb::DoEvents();
  if (Ferme()) return;
  Labcpt.setCaption(QString::number(CptRafale) + " images");
}

bool FrmChrono::Ferme() const { return frmChrono.existing() != this; }

void FrmChrono::FinRafale() {
  Timrapid.setEnabled(false);
  try {
    Ficdescapt.Refresh();
  } catch (const vb::Error&) {
  }
  vb::DoEvents();
  timed::mainSide().seriesMarkOff();
  // Taken now: a Start while the message shows begins a list of its own, and
  // the window may be closed under the message.
  const QStringList convertis = std::move(convertis_);
  convertis_.clear();
  const bool bitmaps = OptSav[0].Value();
  vb::MsgBox(QString::number(CptRafale) + gLng254 + gRepSauvLigne, vb::vbInformation);
  if (bitmaps) return;
  for (const QString& bitmap : convertis) QFile::remove(bitmap);
}
