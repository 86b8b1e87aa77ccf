#pragma once
// The settings dialog: the five capture hotkeys, the file-name prefix, eight
// switches, the JPEG quality, the tempo, the periodic interval, the image
// editor and the save folder. OK checks the boxes, rebuilds the settings
// record, refreshes the settings globals and has the main window write the
// file; Cancel only hides. Once loaded it stays loaded between openings, so a
// cancelled edit is still there the next time; the hotkey poll and the quit
// path unload it.
#include "platform/forms/CommonDialog.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"
#include "velistrom/core/Params.h"

#include <QString>

#include <array>

class Options : public vb::Form {
 public:
  Options();

  void Form_Load() override;
  void OKButton_Click();
  void CdeAnnul_Click();
  void Cdeparcourir_Click();
  void CdeParcEdit_Click();
  void Check1_Click(int Index);
  // The five hotkey boxes share these two handlers.
  void TextTouche_KeyDown(vb::TextBox& box);
  void TextTouche_Change(vb::TextBox& box);

  // What the boxes hold now, as the record codec takes it.
  ReglagesOptions reglages() const;

  vb::Label lblt;
  vb::TextBox TextTouche1, TextTouche2, TextTouche3, TextTouche4, TextTouche5;
  vb::Label LabTzone, LabTMzone, LabTecran, LabTfen, LabDblH;
  vb::ControlArray<vb::CheckBox> Check1;
  vb::Label Label4;
  vb::Slider SlidQual;
  vb::Label Label3;
  vb::Label Label7;
  vb::Slider Slidtempo;
  vb::Label Label5;
  vb::TextBox Txtpref;
  vb::Label Label2;
  vb::TextBox Txtinterval;
  vb::Label LabChoixEdit;
  vb::TextBox TxtEdit;
  vb::CommandButton CdeParcEdit;
  vb::Label Label1;
  vb::TextBox Text1;
  vb::CommandButton Cdeparcourir;
  vb::CommandButton OKButton;
  vb::CommandButton CdeAnnul;
  vb::CommonDialog Cdlgparc;  // the open box of both browse buttons

  // The text of the hotkey box typed in, before the key now pressed; one for
  // all five boxes.
  QString TouchePrec;

 private:
  // TextTouche1 ... TextTouche5 and their name labels, in order.
  std::array<vb::TextBox*, 5> touches_;
  std::array<vb::Label*, 5> nomsTouches_;
  // The two browse buttons: the save folder (dossier) or the editor program.
  void parcourir(bool dossier);
};

inline vb::DefaultInstance<Options> frmOptions;
