#pragma once
// The interactive help window: screenshots of the program's windows, and the
// explanation of the part under the pointer. On the main window's picture the
// menu titles pop up a picture of their menu, explained row by row.
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"

#include <QString>

class FrmAideStd : public vb::Form {
 public:
  FrmAideStd();

  void Form_Load() override;
  void Form_MouseMove(int Button, int Shift, float X, float Y);
  void PictForm_MouseMove(int Button, int Shift, float X, float Y);
  void PictForm_Click();
  void Pictmenu_MouseMove(int Button, int Shift, float X, float Y);
  void CdeFen_Click(int Index);
  void CdeFen_MouseMove(int Index, int Button, int Shift, float X, float Y);

  int page() const { return page_; }
  int menuIndex() const { return menu_; }

  vb::PictureBox PictForm;
  vb::PictureBox Pictmenu;
  vb::Shape rectmenu;
  vb::Label LabExplic;
  vb::ControlArray<vb::CommandButton> CdeFen;

 private:
  // The picture of a page or a menu: the help text names the file beside the
  // program; a missing file gives a blank picture of the expected size.
  QImage ImagePage(int page) const;
  QImage ImageMenu(int menu) const;
  void ChargerPage(int page);

  int page_ = 0;
  int menu_ = 0;
};

inline vb::DefaultInstance<FrmAideStd> frmAideStd;
