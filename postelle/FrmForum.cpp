#include "postelle/FrmForum.h"

#include "common/LigneCommande.h"
#include "platform/Clipboard.h"
#include "platform/Folders.h"
#include "platform/Shell.h"
#include "platform/forms/App.h"
#include "platform/forms/MsgBox.h"
#include "postelle/Apercus.h"
#include "postelle/ConstAppli.h"
#include "postelle/HistoForum.h"
#include "postelle/LienForum.h"

#include <QFile>
#include <QImageReader>

#include <array>

namespace {

constexpr int kGenres = 8;
constexpr int kEcartOptions = 400;  // twips between two link options of a column

// The captions of link kinds 1 to 8.
std::array<const QString*, kGenres> captionsGenres() {
  return {&gLngForum05, &gLngForum06, &gLngForum07, &gLngForum08,
          &gLngForum09, &gLngForum10, &gLngForum11, &gLngForum12};
}

// A grey square with a crossed frame, when "MinIndisp.jpg" is missing too.
QImage apercuVide() {
  QImage img(apercu::kLimitePetite, apercu::kLimitePetite, QImage::Format_RGB32);
  img.fill(QColor(224, 224, 224));
  return img;
}

}  // namespace

FrmForum::FrmForum()
    : vb::Form("FrmForum"),
      label1(*this, "label1"),
      Label2(*this, "Label2"),
      GrandeMinia(*this, "GrandeMinia"),
      PetiteMinia(*this, "PetiteMinia"),
      Label3(*this, "Label3"),
      Labseq(*this, "Labseq", 3),
      LabChemImg(*this, "LabChemImg"),
      CdeParcourir(*this, "CdeParcourir"),
      CdeTitre(*this, "CdeTitre"),
      CmdUpload(*this, "CmdUpload"),
      Labverif(*this, "Labverif"),
      Label5(*this, "Label5"),
      FrameChoix(*this, "FrameChoix"),
      OptTypLien(FrameChoix, "OptTypLien"),
      TxtLienForum(*this, "TxtLienForum", true),
      CdeCopier(*this, "CdeCopier"),
      Labcoller(*this, "Labcoller"),
      CdeQuitter(*this, "CdeQuitter"),
      MnuHisto(*this, "MnuHisto"),
      mnulhisto(MnuHisto, "mnulhisto") {
  setBorderStyle(vb::vbFixedSingle);
  setWidth(9840);  // a client area of 9750 x 7800, a menu bar and the frame around them
  setHeight(8595);

  label1.Move(120, 50, 3750, 200);
  GrandeMinia.Move(120, 300, 3750, 3750);
  Label2.Move(4080, 50, 1500, 200);
  PetiteMinia.Move(4080, 300, 1050, 1050);
  for (vb::PictureBox* p : {&GrandeMinia, &PetiteMinia}) {
    // The box is the preview: no border takes from the picture.
    p->setBorderStyle(0);
    p->setBackColor(0xFFFFFF);
  }
  Labseq[0].Move(5280, 300, 330, 255);
  Labseq[1].Move(4080, 2580, 330, 255);
  Labseq[2].Move(120, 4140, 330, 255);
  for (int i = 0; i < 3; ++i) {
    Labseq[i].setCaption(QString::number(i + 1) + QChar(0x00B0));
    Labseq[i].setFontBold(true);
  }
  Label3.Move(5640, 300, 3990, 1050);
  Label3.setWordWrap(true);
  LabChemImg.Move(4080, 1440, 5550, 450);
  LabChemImg.setWordWrap(true);
  LabChemImg.setUseMnemonic(false);
  CdeParcourir.Move(4080, 1980, 2700, 375);
  CdeTitre.Move(6900, 1980, 2730, 375);
  CdeTitre.setToolTipText(QStringLiteral("Personnaliser le titre et le commentaire de l'image"));
  CmdUpload.Move(4440, 2460, 5190, 495);
  CmdUpload.setFontBold(true);
  Labverif.Move(4080, 3060, 5550, 255);
  Labverif.setForeColor(0xFF0000);  // blue
  Labverif.setFontUnderline(true);
  Labverif.setUseMnemonic(false);
  Labverif.setMousePointer(vb::vbCustom);
  Labverif.setMouseIcon(QCursor(Qt::PointingHandCursor));
  Labverif.setVisible(false);
  Label5.Move(480, 4140, 9150, 255);
  FrameChoix.Move(120, 4440, 9510, 1950);
  OptTypLien[0].Move(240, 300, 4350, 330);
  TxtLienForum.Move(120, 6480, 9510, 735);
  TxtLienForum.setToolTipText(
      QStringLiteral("Il est recommandé de ne pas modifier ce lien avant de le copier !! "));
  CdeCopier.Move(120, 7320, 2400, 375);
  CdeCopier.setEnabled(false);
  Labcoller.Move(2640, 7380, 5070, 255);
  Labcoller.setVisible(false);
  CdeQuitter.Move(7830, 7320, 1800, 375);

  CdeParcourir.onClick = [this] { CdeParcourir_Click(); };
  CdeTitre.onClick = [this] { CdeTitre_Click(); };
  CmdUpload.onClick = [this] { CmdUpload_Click(); };
  CdeQuitter.onClick = [this] { CdeQuitter_Click(); };
  CdeCopier.onClick = [this] { CdeCopier_Click(); };
  Labverif.onClick = [this] { Labverif_Click(); };
  OptTypLien.on(&vb::OptionButton::onClick, [this](int Index) { OptTypLien_Click(Index); });
  mnulhisto.on(&vb::Menu::onClick, [this](int Index) { mnulhisto_Click(Index); });
}

void FrmForum::Form_Load() {
  gDossAppData = platform::velistromDataFolder();
  if (dossierProgramme.isEmpty()) dossierProgramme = vb::App.Path();

  OptTypLien[0].setVisible(false);
  const auto captions = captionsGenres();
  const int gauche = OptTypLien[0].Left();
  const int haut = OptTypLien[0].Top();
  for (int i = 1; i <= kGenres; ++i) {
    vb::OptionButton& o = OptTypLien.Load(i);
    o.setCaption(*captions[size_t(i - 1)]);
    const int rang = (i - 1) % 4;
    o.setLeft(i <= 4 ? gauche : FrameChoix.Width() / 2 + gauche);
    o.setTop(haut + rang * kEcartOptions);
    o.setVisible(true);
  }

  PetiteMinia.setWidth(apercu::kLimitePetite * vb::Screen.TwipsPerPixelX());
  PetiteMinia.setHeight(PetiteMinia.Width());
  label1.setTop(50);
  label1.setHeight(200);
  label1.setLeft(GrandeMinia.Left());
  Label2.setTop(50);
  Label2.setHeight(200);
  Label2.setLeft(PetiteMinia.Left());

  label1.setCaption(gLngForum16);
  Label2.setCaption(gLngForum17);
  Label3.setCaption(gLngForum18);
  Label5.setCaption(gLngForum19);
  Labverif.setCaption(gLngForum20);
  Labcoller.setCaption(gLngForum21);
  CdeTitre.setCaption(gLngForum22);
  CdeParcourir.setCaption(gLngForum23);
  CmdUpload.setCaption(gLngForum24);
  FrameChoix.setCaption(gLngForum25);
  CdeCopier.setCaption(gLngForum26);
  CdeQuitter.setCaption(gLngForum27);
  MnuHisto.setCaption(gLngForum28);
  mnulhisto[0].setCaption(gLngForum29);
  setCaption(gLngForum30);

  for (int i : OptTypLien.indexes()) OptTypLien[i].setEnabled(false);

  const CheminsImage& depart = ConstAppli::gCheminsDepart;
  CheminImage = depart.CheminImage;
  NomImage = depart.NomImage;
  TitreImage = depart.TitreImage;
  CheminRecu = depart.CheminRecu;
  CommentImage = gLngForum03;

  // Nothing to send until the picture has been read.
  CmdUpload.setEnabled(!CheminImage.isEmpty() && chargerImage());

  LabChemImg.setCaption(CheminImage);
  LabChemImg.setToolTipText(gLngForum13);
  FrameChoix.setToolTipText(gLngForum14 + gLngForum15);

  remplirHisto();
}

void FrmForum::Form_Activate() { MefMinia(true); }

void FrmForum::Form_QueryUnload(int& Cancel, int UnloadMode) {
  QString pourquoi;
  if (!histo::tailler(gDossAppData, &pourquoi))
    vb::MsgBox("The upload history could not be trimmed to its last " +
                   QString::number(histo::kEntreesGardees) + " entries: " + pourquoi + ".",
               vb::vbExclamation);
}

bool FrmForum::chargerImage() {
  QImageReader lecteur(CheminImage);
  lecteur.setAutoTransform(true);
  PictInvis = lecteur.read();
  if (!PictInvis.isNull()) return true;
  vb::MsgBox("The file \"" + CheminImage + "\" cannot be read as a picture (" +
                 lecteur.errorString() + ").",
             vb::vbExclamation);
  return false;
}

void FrmForum::etatLien(bool actif) {
  for (int i : OptTypLien.indexes()) OptTypLien[i].setEnabled(actif);
  Labverif.setVisible(actif);
  CdeCopier.setEnabled(actif);
}

void FrmForum::nouvelId(const QString& hote, const QString& id) {
  hoteLien = hote;
  IdImage = id;
  Labverif.setCaption(envoi::adressePage(hote, id));
  etatLien(true);
  // A code on show for the earlier id would hand out another picture's link.
  for (int i = 1; i <= kGenres; ++i)
    if (OptTypLien[i].Value()) OptTypLien_Click(i);
}

void FrmForum::CdeParcourir_Click() {
  // A cancelled dialog leaves everything as it was.
  CDLChoixFic.setCancelError(true);
  try {
    CDLChoixFic.ShowOpen();
  } catch (const vb::Error& e) {
    if (e.Number() == vb::vbErrCancel) return;
    throw;
  }
  etatLien(false);
  CheminImage = CDLChoixFic.FileName();
  NomImage = CheminImage.mid(CheminImage.lastIndexOf('/') + 1);
  LabChemImg.setCaption(CheminImage);
  TitreImage = NomImage;
  CommentImage = gLngForum00;
  OptTypLien_Click(0);
  Labcoller.setVisible(false);
  // The path is taken even when the picture cannot be shown: it may still be sent.
  CmdUpload.setEnabled(true);
  MefMinia(chargerImage());
}

void FrmForum::CdeTitre_Click() {
  const QString reponse = vb::InputBox(gLngForum01, gLngForum02, CommentImage);
  CommentImage = reponse.isEmpty() ? gLngForum03 : reponse + " - Velistrom";
}

void FrmForum::CmdUpload_Click() {
  const envoi::ParamsEnvoi params{NomImage, TitreImage, CommentImage, QStringLiteral(" ")};
  const envoi::ResultatEnvoi r = envoi::EnvoiXmlRpc(CheminImage, params, {}, options);
  if (r.issue == envoi::ResultatEnvoi::Issue::ErreurPiegee) {
    vb::MsgBox(gLngForum04 + "\n(" + r.message + ")", vb::vbExclamation);
    return;
  }
  if (r.issue != envoi::ResultatEnvoi::Issue::Succes) return;  // an error answer has had its box

  nouvelId(r.adresseHote, r.idImage);
  const QString texte = histo::texteEntree(vb::Now(), Labverif.Caption());
  QString pourquoi;
  if (!histo::ajouter(gDossAppData, texte, &pourquoi)) {
    // The upload itself succeeded: its page and code stay on show.
    vb::MsgBox("The picture was sent, but the upload history could not be written: " + pourquoi + ".",
               vb::vbExclamation);
    return;
  }
  ajouterAuMenu(texte);
}

void FrmForum::CdeQuitter_Click() {
  // Only our own hand-over copy goes; a user's file stays where it is.
  if (dansDossier(CheminRecu, gDossAppData)) QFile::remove(CheminRecu);
  vb::Unload(*this);
  vb::End();
}

void FrmForum::OptTypLien_Click(int Index) {
  ExtImage = lien::extImage(CheminImage);
  const lien::ValeursLien v{hoteLien, IdImage, ExtImage, CommentImage, TitreImage};
  TxtLienForum.setText(IdImage.isEmpty() ? QString() : lien::CodeLien(Index, v));
  TxtLienForum.setSelStart(0);
  TxtLienForum.setSelLength(TxtLienForum.Text().size());
  TxtLienForum.SetFocus();
}

void FrmForum::CdeCopier_Click() {
  platform::clipboard::clear();
  platform::clipboard::setText(TxtLienForum.Text());
  Labcoller.setVisible(true);
}

void FrmForum::Labverif_Click() { platform::openAddress(Labverif.Caption()); }

void FrmForum::remplirHisto() {
  const histo::Lecture lu = histo::lire(gDossAppData);
  if (!lu.erreur.isEmpty())
    vb::MsgBox("The upload history cannot be read: " + lu.erreur + ".", vb::vbExclamation);
  entreesHisto.clear();
  NbHisto = 0;
  mnulhisto[0].setEnabled(false);  // the placeholder is no upload
  for (const QString& texte : lu.entrees) ajouterAuMenu(texte);
}

void FrmForum::ajouterAuMenu(const QString& texte) {
  if (!entreesHisto.isEmpty()) {
    ++NbHisto;
    mnulhisto.Load(NbHisto);
  }
  vb::Menu& item = mnulhisto[NbHisto];
  item.setCaption(texte);
  item.setEnabled(true);
  item.setVisible(true);
  entreesHisto << texte;
}

void FrmForum::mnulhisto_Click(int Index) {
  if (Index < 0 || Index >= entreesHisto.size()) return;  // the placeholder
  const std::optional<histo::Upload> u = histo::lireEntree(entreesHisto[Index]);
  const std::optional<QString> hote = u ? envoi::adresseHoteDe(u->adresseHote) : std::nullopt;
  if (!hote || !envoi::idImageValide(u->idImage)) {
    vb::MsgBox("This history entry holds no usable page address:\n" + entreesHisto[Index].trimmed(),
               vb::vbExclamation);
    return;
  }
  nouvelId(*hote, u->idImage);
  platform::openAddress(Labverif.Caption());
  MefMinia(false);
}

void FrmForum::MefMinia(bool Dispo) {
  if (!Dispo || PictInvis.isNull()) {
    QImage indispo(dossierProgramme + "/MinIndisp.jpg");
    if (indispo.isNull()) indispo = apercuVide();
    PetiteMinia.setPicture(indispo);
    GrandeMinia.setPicture(indispo);
    return;
  }
  const QImage& img = PictInvis;
  if (const auto r = apercu::reduction(img.size(), apercu::kLimiteGrande)) {
    GrandeMinia.setWidth(r->largeurTwips);
    GrandeMinia.setHeight(r->hauteurTwips);
    GrandeMinia.setPicture(img.scaled(r->dessin, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  } else {
    GrandeMinia.setWidth(vb::pixelsToTwips(img.width()));
    GrandeMinia.setHeight(vb::pixelsToTwips(img.height()));
    GrandeMinia.setPicture(img);
  }
  if (const auto r = apercu::reduction(img.size(), apercu::kLimitePetite)) {
    PetiteMinia.setWidth(r->largeurTwips);
    PetiteMinia.setHeight(r->hauteurTwips);
    PetiteMinia.setPicture(img.scaled(r->dessin, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  } else {
    PetiteMinia.setPicture(img);  // the box keeps its size; the picture sits top left
  }
}
