#pragma once
// The timed-capture window: start, end (or a number of images) and period of a
// series of repeated region captures, the file format of the shots, Start and
// Stop. A non-zero period arms the main window's long-period series; a period
// of 00:00:00 runs a burst here: a shot of the last region every N
// milliseconds, written straight into the save folder as numbered files.
// The field rules are the model's (ChampsChrono.h); the controls show it.
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"
#include "velistrom/timed/ChampsChrono.h"

#include <QString>
#include <QStringList>

class FrmChrono : public vb::Form {
 public:
  FrmChrono();

  void Form_Load() override;
  void Form_Activate() override;
  void Timer1_Timer();
  void CdeChronoP_Click(int Index);
  void CdeChronoM_Click(int Index);
  void Txtchrono_Change(int Index);
  void TxtNbImg_Change();
  void Command1_Click();
  void CdeAnnul_Click();

  // ---- Start, Stop and the burst
  void CdeOk_Click();
  void CdeStopper_Click();
  void Timrapid_Timer();

  // The format word ("bmp", "jpg", "gif", "png") of the first selected
  // OptSav button; "bmp" when none is.
  QString FormatChoisi() const;

  timed::ChampsChrono champs;
  int CptRafale = 0;  // shots of the running burst

  // ---- controls (element 0 of each field array is the hidden template)
  vb::ControlArray<vb::TextBox> Txtchrono;
  vb::ControlArray<vb::CommandButton> CdeChronoM;
  vb::ControlArray<vb::CommandButton> CdeChronoP;
  vb::ControlArray<vb::Label> LabInterm;
  vb::Label LabHdebChrono;
  vb::Label LabHfinChrono;
  vb::Label LabPerioChrono;
  vb::TextBox TxtNbImg;
  vb::Label LabNbImg;
  vb::Label LabChangt;
  vb::ControlArray<vb::OptionButton> OptSav;  // 0 bmp, 1 jpg, 2 gif, 3 png
  vb::Label Labcpt;
  vb::CommandButton CdeOk;
  vb::CommandButton CdeStopper;
  vb::CommandButton CdeAnnul;
  vb::CommandButton Command1;
  vb::FileListBox Ficdescapt;  // the save folder's files
  vb::Timer Timer1;            // 1000 ms, on: the caption clock
  vb::Timer Timrapid;          // off, no interval until Start: the burst tick

 private:
  void afficher();
  void FinRafale();
  // The window was closed (unloaded) meanwhile: nothing of it may be used.
  bool Ferme() const;
  bool affichage_ = false;  // the controls are being set from the model
  int decalage_ = 0;        // file numbers ahead of the shot count (an earlier burst's names)
  QStringList convertis_;   // bitmaps of this burst whose conversion was written
};

inline vb::DefaultInstance<FrmChrono> frmChrono;
