#include "velistrom/options/Options.h"

#include "platform/forms/MsgBox.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/options/OptionsMain.h"
#include "velistrom/options/Saisie.h"

namespace {

constexpr vb::Color kVertClair = 0x00C0FFC0;  // the hotkey boxes

// Keeps only what `regle` keeps of the box's text. The caret stays after what
// is kept of the text before it, so typing goes on where the user was (a text
// set by code alone would put it at the start).
void Filtrer(vb::TextBox& box, QString (*regle)(const QString&)) {
  const QString texte = box.Text();
  const QString garde = regle(texte);
  if (garde == texte) return;
  const int caret = int(regle(texte.left(box.SelStart())).size());
  box.setText(garde);
  box.setSelStart(caret);
}

}  // namespace

Options::Options()
    : vb::Form("Options"),
      lblt(*this, "lblt"),
      TextTouche1(*this, "TextTouche1"),
      TextTouche2(*this, "TextTouche2"),
      TextTouche3(*this, "TextTouche3"),
      TextTouche4(*this, "TextTouche4"),
      TextTouche5(*this, "TextTouche5"),
      LabTzone(*this, "LabTzone"),
      LabTMzone(*this, "LabTMzone"),
      LabTecran(*this, "LabTecran"),
      LabTfen(*this, "LabTfen"),
      LabDblH(*this, "LabDblH"),
      Check1(*this, "Check1", 8),
      Label4(*this, "Label4"),
      SlidQual(*this, "SlidQual"),
      Label3(*this, "Label3"),
      Label7(*this, "Label7"),
      Slidtempo(*this, "Slidtempo"),
      Label5(*this, "Label5"),
      Txtpref(*this, "Txtpref"),
      Label2(*this, "Label2"),
      Txtinterval(*this, "Txtinterval"),
      LabChoixEdit(*this, "LabChoixEdit"),
      TxtEdit(*this, "TxtEdit"),
      CdeParcEdit(*this, "CdeParcEdit"),
      Label1(*this, "Label1"),
      Text1(*this, "Text1"),
      Cdeparcourir(*this, "Cdeparcourir"),
      OKButton(*this, "OKButton"),
      CdeAnnul(*this, "CdeAnnul"),
      touches_{&TextTouche1, &TextTouche2, &TextTouche3, &TextTouche4, &TextTouche5},
      nomsTouches_{&LabTzone, &LabTMzone, &LabTecran, &LabTfen, &LabDblH} {
  setBorderStyle(vb::vbFixedDouble);
  setShowInTaskbar(false);
  setWidth(9900);
  setHeight(8100);

  // Hotkey rows: the boxes and their names are placed at load.
  lblt.Move(240, 240, 3000, 1500);
  lblt.setWordWrap(true);
  for (vb::TextBox* t : touches_) {
    t->setWidth(330);
    t->setHeight(300);
    t->setMaxLength(1);
    t->setBackColor(kVertClair);
    t->setAlignment(2);
  }
  for (vb::Label* l : nomsTouches_) l->setAutoSize(true);

  // The switches: the others follow Check1(0) at load.
  for (int i = 0; i < 8; ++i) Check1[i].Move(240, 2100, 5100, 255);

  Label4.Move(5600, 2100, 3900, 255);
  SlidQual.Move(5600, 2380, 3900, 450);
  SlidQual.setMin(1);
  SlidQual.setMax(9);
  SlidQual.setLargeChange(5);
  SlidQual.setSmallChange(1);
  Label3.Move(5600, 2860, 3900, 255);
  Label7.Move(5600, 3400, 600, 255);
  Label7.setAutoSize(true);
  // The design caption: the slider is placed after it at load, before the
  // language's caption comes.
  Label7.setCaption("Tempo");
  Slidtempo.Move(6250, 3330, 3250, 450);
  Slidtempo.setMin(0);
  Slidtempo.setMax(10);
  Slidtempo.setLargeChange(5);
  Slidtempo.setSmallChange(1);
  Label5.Move(5600, 4000, 1500, 255);
  Label5.setAutoSize(true);
  Txtpref.Move(7200, 3960, 1000, 300);
  Txtpref.setMaxLength(6);
  Label2.Move(240, 4700, 3000, 255);
  Label2.setAutoSize(true);
  Txtinterval.Move(3300, 4660, 900, 300);
  Txtinterval.setMaxLength(5);

  LabChoixEdit.Move(240, 5200, 6000, 255);
  TxtEdit.Move(240, 5460, 7300, 300);
  CdeParcEdit.Move(7700, 5440, 1800, 340);
  Label1.Move(240, 5950, 6000, 255);
  Text1.Move(240, 6210, 7300, 300);
  Cdeparcourir.Move(7700, 6190, 1800, 340);

  OKButton.Move(5900, 6850, 1700, 420);
  OKButton.setCaption("OK");
  OKButton.setDefault(true);
  CdeAnnul.Move(7800, 6850, 1700, 420);
  CdeAnnul.setCancel(true);

  OKButton.onClick = [this] { OKButton_Click(); };
  CdeAnnul.onClick = [this] { CdeAnnul_Click(); };
  Cdeparcourir.onClick = [this] { Cdeparcourir_Click(); };
  CdeParcEdit.onClick = [this] { CdeParcEdit_Click(); };
  Check1.on(&vb::CheckBox::onClick, [this](int Index) { Check1_Click(Index); });
  for (vb::TextBox* t : touches_) {
    t->onKeyDown = [this, t](int&, int) { TextTouche_KeyDown(*t); };
    t->onChange = [this, t] { TextTouche_Change(*t); };
  }
  // Only what a file name can hold, and only digits for the interval.
  Txtpref.onChange = [this] { Filtrer(Txtpref, SansSeparateurs); };
  Txtinterval.onChange = [this] { Filtrer(Txtinterval, options::ChiffresSeuls); };

  // A cancelled browse leaves its box as it was.
  Cdlgparc.setCancelError(true);
}

void Options::Form_Load() {
  const vb::Color fond = options::mainSide().backColor();
  setBackColor(fond);
  for (int i : Check1.indexes()) Check1[i].setBackColor(fond);

  TextTouche1.setTop(lblt.Top() + 30);
  for (std::size_t i = 1; i < touches_.size(); ++i)
    touches_[i]->setTop(touches_[i - 1]->Top() + touches_[i - 1]->Height() + 30);
  for (std::size_t i = 0; i < touches_.size(); ++i) nomsTouches_[i]->setTop(touches_[i]->Top());

  for (int i = 1; i < 8; ++i) {
    Check1[i].setTop(Check1[i - 1].Top() + 300);
    Check1[i].setLeft(Check1[i - 1].Left());
  }

  TextTouche1.setLeft(lblt.Left() + lblt.Width() + 50);
  for (vb::TextBox* t : touches_) t->setLeft(TextTouche1.Left());
  for (vb::Label* l : nomsTouches_) l->setLeft(TextTouche1.Left() + 400);

  // Measured before its caption is set: a long caption runs under the slider.
  Slidtempo.setLeft(Label7.Left() + Label7.Width() + 50);

  Label7.setCaption(gLng059);
  Label1.setCaption(gLng069);
  Cdeparcourir.setCaption(gLng070);
  CdeParcEdit.setCaption(gLng070);
  lblt.setCaption(gLng072 + "\r\n" + gLng073 + "\r\n" + gLng074);
  const QString* legendes[] = {&gLng075, &gLng076, &gLng077, &gLng078, &gLng079, &gLng080, &gLng267, &gLng269};
  for (int i = 0; i < 8; ++i) Check1[i].setCaption(*legendes[i]);
  Check1[5].setToolTipText(gLng176);
  Label2.setCaption(gLng081);
  Label4.setCaption(gLng082);
  Label3.setCaption(gLng083);
  Label5.setCaption(gLng071);
  Txtpref.setLeft(Label5.Left() + Label5.Width() + 50);
  Txtinterval.setLeft(Label2.Left() + Label2.Width() + 50);
  LabChoixEdit.setCaption(gLng090);
  CdeAnnul.setCaption(gLng088);
  setCaption(gLng089);
  const QString* noms[] = {&gLng084, &gLng085, &gLng086, &gLng087, &gLng266};
  for (std::size_t i = 0; i < nomsTouches_.size(); ++i) nomsTouches_[i]->setCaption(*noms[i]);

  const ReglagesOptions r = ReglagesDeEnreg(EnregParams(gParams));
  Text1.setText(gRepSauvLigne);
  for (int i = 0; i < 8; ++i) Check1[i].setValue(r.cases[std::size_t(i)]);
  // Setting a box to the value it already has raises no Click; the rectangle
  // goes all the same when the record has it off.
  if (Check1[6].Value() == 0) Check1_Click(6);
  SlidQual.setValue(r.qualite);
  Slidtempo.setValue(r.tempo);
  Txtinterval.setText(r.intervalle);
  Txtpref.setText(r.prefixe);
  TxtEdit.setText(r.editeur);
  for (std::size_t i = 0; i < touches_.size(); ++i) touches_[i]->setText(r.touches[i]);
}

ReglagesOptions Options::reglages() const {
  ReglagesOptions r;
  for (std::size_t i = 0; i < touches_.size(); ++i) r.touches[i] = touches_[i]->Text();
  for (int i = 0; i < 8; ++i) r.cases[std::size_t(i)] = Check1[i].Value() == 1 ? 1 : 0;
  r.qualite = SlidQual.Value();
  r.tempo = Slidtempo.Value();
  r.prefixe = Txtpref.Text();
  r.intervalle = Txtinterval.Text();
  r.editeur = TxtEdit.Text();
  return r;
}

void Options::OKButton_Click() {
  options::MainSide& main = options::mainSide();
  // Before the checks: periodic capture resumes even when a check keeps the dialog open.
  if (main.periodicTicked()) main.setPeriodicOn(true);

  const ReglagesOptions r = reglages();
  switch (options::Verifier(r)) {
    case options::Verdict::PrefixeCourt:
      vb::MsgBox(gLng066, vb::vbExclamation + vb::vbOKOnly);
      Txtpref.SetFocus();
      return;
    case options::Verdict::ToucheInvalide:
      vb::MsgBox(gLng067, vb::vbExclamation + vb::vbOKOnly);
      return;
    case options::Verdict::EditeurTropLong:
      // Cut to its field the path would name a program that does not exist.
      vb::MsgBox(gLng090 + ":\n" + RepSauveDeLigne(r.editeur).left(60) + "...\n> " +
                     QString::number(options::kEditeurMax),
                 vb::vbExclamation + vb::vbOKOnly);
      TxtEdit.SetFocus();
      return;
    case options::Verdict::Accepte:
      break;
  }

  const EnregParams e = EnregDeReglages(r, gSelLarg, gSelHaut, gRepCapt);
  gParams = e.texte();
  main.setPeriodicInterval(IntervalleDeSaisie(r.intervalle));

  const QString repSauve = RepSauveDeSaisie(Text1.Text());
  const QString bulle = main.saveTooltip();
  const qsizetype fleche = bulle.indexOf(QLatin1String("--->"));
  main.setSaveTooltip((fleche < 0 ? QString() : bulle.left(fleche + 1)) + "-->    " + repSauve);

  RafraichirGlobalesOptions(e);
  gTempo = Slidtempo.Value() / 10.0;
  gEditeur = TxtEdit.Text();
  gNomExeEdit = NomExeDeEditeur(gEditeur);
  gRepSauve = repSauve;
  gMesDocs = Ligne300(repSauve);
  gRepSauvLigne = gMesDocs;

  main.SavOptions();
  // The write may have ended the program (a failed write leaves through the quit path).
  if (isLoaded()) Hide();
}

void Options::CdeAnnul_Click() { Hide(); }

void Options::Cdeparcourir_Click() { parcourir(true); }

void Options::CdeParcEdit_Click() { parcourir(false); }

void Options::parcourir(bool dossier) {
  options::MainSide& main = options::mainSide();
  const bool enMarche = main.periodicOn();
  if (enMarche) main.setPeriodicOn(false);
  try {
    if (dossier) {
      Cdlgparc.setInitDir(RepSauveDeSaisie(Text1.Text()));
      Cdlgparc.setFileName(gTxtCapture);
      Cdlgparc.setFlags(0);  // any name in the folder, also a new one
    } else {
      Cdlgparc.setFlags(vb::cdlOFNFileMustExist);
    }
    Cdlgparc.ShowOpen();
    const QString nom = Cdlgparc.FileName();
    if (dossier) {
      // The folder of the file chosen or named; a name without one changes nothing.
      const qsizetype barre = nom.lastIndexOf(u'/');
      if (barre >= 0) Text1.setText(barre == 0 ? QStringLiteral("/") : nom.left(barre));
    } else {
      TxtEdit.setText(nom);
    }
  } catch (const vb::Error&) {
    // Cancelled: the box keeps its text.
  }
  if (enMarche) main.setPeriodicOn(true);
}

void Options::Check1_Click(int Index) {
  if (Index == 6 && Check1[6].Value() == 0) options::mainSide().hideOverlayRectangle();
}

void Options::TextTouche_KeyDown(vb::TextBox& box) { TouchePrec = box.Text(); }

void Options::TextTouche_Change(vb::TextBox& box) {
  const QString garde = options::ToucheAcceptee(box.Text(), TouchePrec);
  if (garde != box.Text()) box.setText(garde);
}
