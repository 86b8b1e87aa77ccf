#pragma once
// Postelle's window: the picture it was started with as two previews, the
// comment, the upload, eight kinds of link code to copy, the picture's page,
// and the history of earlier uploads.
#include "common/EnvoiXmlRpc.h"
#include "platform/forms/CommonDialog.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menu.h"

#include <QImage>
#include <QString>
#include <QStringList>

class FrmForum : public vb::Form {
 public:
  FrmForum();

  void Form_Load() override;
  void Form_Activate() override;
  // Trims the history; never cancels.
  void Form_QueryUnload(int& Cancel, int UnloadMode) override;

  void CdeParcourir_Click();
  void CdeTitre_Click();
  void CmdUpload_Click();
  void CdeQuitter_Click();
  // Fills the link code of kind Index (1 to 8; 0 empties it).
  void OptTypLien_Click(int Index);
  void CdeCopier_Click();
  void Labverif_Click();
  void mnulhisto_Click(int Index);
  // The previews of the picture (true), or the "no preview" picture (false).
  void MefMinia(bool Dispo);

  vb::Label label1;
  vb::Label Label2;
  vb::PictureBox GrandeMinia;
  vb::PictureBox PetiteMinia;
  vb::Label Label3;
  vb::ControlArray<vb::Label> Labseq;
  vb::Label LabChemImg;
  vb::CommandButton CdeParcourir;
  vb::CommandButton CdeTitre;
  vb::CommandButton CmdUpload;
  vb::Label Labverif;
  vb::Label Label5;
  vb::Frame FrameChoix;
  vb::ControlArray<vb::OptionButton> OptTypLien;
  vb::TextBox TxtLienForum;
  vb::CommandButton CdeCopier;
  vb::Label Labcoller;
  vb::CommandButton CdeQuitter;
  vb::Menu MnuHisto;
  vb::ControlArray<vb::Menu> mnulhisto;
  vb::CommonDialog CDLChoixFic;

  QImage PictInvis;  // the picture at its full size; null when it could not be read
  QString CheminImage, NomImage, CheminRecu, TitreImage, CommentImage, IdImage, ExtImage;
  int NbHisto = 0;           // index of the last history item
  QStringList entreesHisto;  // the text of each history item, in menu order
  QString hoteLien;          // the host IdImage belongs to

  // Set-up: the upload's host and limits; where "MinIndisp.jpg" lies (the
  // program's folder unless set before the load).
  envoi::OptionsEnvoi options;
  QString dossierProgramme;

 private:
  // Reads CheminImage into PictInvis; on failure says why. True when read.
  bool chargerImage();
  // The link options, the page address and the copy button, together.
  void etatLien(bool actif);
  // A new picture id: the link code of the kind chosen follows it.
  void nouvelId(const QString& hote, const QString& id);
  void remplirHisto();
  void ajouterAuMenu(const QString& texte);
};

inline vb::DefaultInstance<FrmForum> frmForum;
