#pragma once
// The first window of the program: asks for the language at the first start (two
// flags floating on the desktop), remembers it in "spoken.txt", and runs the
// loader of the interface texts, which ends by showing the splash.
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"

class FrmChoixLng : public vb::Form {
 public:
  FrmChoixLng();

  void Form_Load() override;
  // Loads every interface text (LangLoader.h) and shows the splash; on a failure
  // reports it and shows nothing, so the run ends.
  void ChargtConstEouF();

  void Image1_Click();  // French
  void Image2_Click();  // English
  void TimSuite_Timer();

  vb::Label Label4;  // title
  vb::Label Label3;  // prompt
  vb::Image Image1;  // French flag
  vb::Image Image2;  // English flag
  vb::Label Label1;  // "Français"
  vb::Label Label2;  // "English"
  vb::Timer TimSuite;

 private:
  void Choisir(const char* code, vb::Image& clicked, vb::Image& other);
};

inline vb::DefaultInstance<FrmChoixLng> frmChoixLng;
