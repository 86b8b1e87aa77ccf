#include "velistrom/startup/FrmChoixLng.h"

#include "common/LangFile.h"
#include "platform/Folders.h"
#include "platform/forms/MsgBox.h"
#include "velistrom/helpers/CursTransp.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/core/Ressources.h"
#include "velistrom/startup/Drapeaux.h"
#include "velistrom/startup/LangLoader.h"

#include <QSaveFile>

namespace {

constexpr vb::Color kCleTransparente = 0xC0FFFF;  // the window's key colour

void Placer(vb::Control& c, int left, int top, int width, int height) { c.Move(left, top, width, height); }

// The flag pictures shipped beside the program, or drawn here when one is missing.
QImage Drapeau(const char* file, QImage (*dessiner)(QSize), QSize size) {
  QImage img = core::ChargerRessource(QLatin1String(file));
  return img.isNull() ? dessiner(size) : img;
}

}  // namespace

FrmChoixLng::FrmChoixLng()
    : vb::Form("FrmChoixLng"),
      Label4(*this, "Label4"),
      Label3(*this, "Label3"),
      Image1(*this, "Image1"),
      Image2(*this, "Image2"),
      Label1(*this, "Label1"),
      Label2(*this, "Label2"),
      TimSuite(*this, "TimSuite", 500, false) {
  setBorderStyle(vb::vbBSNone);
  setBackColor(kCleTransparente);
  setWidth(4560);
  setHeight(3390);
  setLeft((vb::Screen.Width() - 4560) / 2);
  setTop((vb::Screen.Height() - 3390) / 2);

  for (vb::Label* l : {&Label4, &Label3, &Label1, &Label2}) l->setBackStyle(0);
  Label4.setCaption("velistrom");
  Label4.setFont(QFont("Comic Sans MS", 18, QFont::Bold));
  Label4.setForeColor(0x0000FF);
  Placer(Label4, 360, 0, 3900, 525);
  Label3.setCaption("Choix de la langue / Language choice");
  Label3.setFont(QFont("Calibri", 12, QFont::Bold));
  Placer(Label3, 360, 480, 3900, 285);

  Image1.setStretch(true);
  Placer(Image1, 360, 960, 1500, 1995);
  Image1.setPicture(Drapeau("flag_fr.png", DrapeauFrancais, QSize(100, 133)));
  Image2.setStretch(true);
  Placer(Image2, 2280, 960, 1995, 1500);
  Image2.setPicture(Drapeau("flag_en.png", DrapeauAnglais, QSize(133, 100)));
  Label1.setCaption(QString::fromUtf8("Français"));
  Placer(Label1, 480, 2400, 1215, 360);
  Label2.setCaption("English");
  Placer(Label2, 2760, 1920, 1095, 360);

  Image1.onClick = [this] { Image1_Click(); };
  Image2.onClick = [this] { Image2_Click(); };
  TimSuite.onTimer = [this] { TimSuite_Timer(); };
}

void FrmChoixLng::Form_Load() {
  CoulTransp(widget(), kCleTransparente, 0);
  gDossLng = platform::appDataFolder() + "/Velistrom";

  // An empty "spoken.txt", or one naming no language file, counts as no choice.
  if (lang::languageChosen(gDossLng, startup::DossierLangues())) {
    ChargtConstEouF();
    vb::Unload(*this);
    return;
  }
  if (platform::velistromDataFolder().isEmpty()) {  // made with all its parents
    vb::MsgBox("Impossible de créer le dossier / Cannot create the folder\n" + gDossLng, vb::vbCritical);
    vb::Unload(*this);
  }
}

void FrmChoixLng::ChargtConstEouF() { startup::ChargerPuisSplash(gDossLng, startup::DossierLangues()); }

void FrmChoixLng::Choisir(const char* code, vb::Image& clicked, vb::Image& other) {
  clicked.setBorderStyle(1);
  other.setBorderStyle(0);
  QSaveFile f(gDossLng + "/spoken.txt");
  const QByteArray line = QByteArray(code) + "\r\n";
  const bool ouvert = f.open(QIODevice::WriteOnly);
  if (ouvert) platform::keepPrivate(f, f.fileName());
  if (!ouvert || f.write(line) != line.size() || !f.commit()) {
    TimSuite.setEnabled(false);
    vb::MsgBox("Impossible d'écrire / Cannot write\n" + gDossLng + "/spoken.txt", vb::vbCritical);
    vb::Unload(*this);
    return;
  }
  TimSuite.setEnabled(true);
}

void FrmChoixLng::Image1_Click() { Choisir("ConstPRJF", Image1, Image2); }

void FrmChoixLng::Image2_Click() { Choisir("ConstPRJA", Image2, Image1); }

void FrmChoixLng::TimSuite_Timer() {
  ChargtConstEouF();
  TimSuite.setEnabled(false);
  vb::Unload(*this);
}
