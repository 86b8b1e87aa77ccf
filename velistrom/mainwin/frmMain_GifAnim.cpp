// The GIF maker from the main window's side: the folder command, and what the
// maker asks of the rest of the program.
#include "velistrom/mainwin/frmMain.h"
#include "velistrom/mainwin/Branchements.h"

#include <QFileInfo>

#include "platform/forms/App.h"
#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "velistrom/gifmaker/FrmGifAnim.h"
#include "velistrom/gifmaker/GifSide.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/core/GlobMain.h"

void FrmMain::mnuFabGif_Click() {
  gGifDepuisCapt = false;
  if (vb::MsgBox(gLng270, vb::vbOKCancel | vb::vbInformation, gLng271) == vb::vbCancel) return;
  try {
    CDlg1.setCancelError(true);
    CDlg1.setDialogTitle(gLng257);
    CDlg1.setFilter("Images (gif)|*.gif");
    CDlg1.setFileName("navigate");
    CDlg1.ShowOpen();
    CDlg1.setCancelError(false);
    // The folder in which the dialog was closed; a window already open keeps
    // its list.
    gifmaker::gDossierGif = QFileInfo(CDlg1.FileName()).absolutePath();
    gifmaker::FrmGifAnim& maker = gifmaker::frmGifAnim();
    maker.FichdossCapt.setPath(gifmaker::gDossierGif);
    maker.FichdossCapt.Refresh();
    maker.Show();
  } catch (const vb::Error&) {
    // Cancelled, or the folder has gone: the maker is not shown.
    CDlg1.setCancelError(false);
  }
}

namespace mainwin {
namespace {

class RealGifSide final : public gifmaker::GifSide {
 public:
  void showTutorials() override { frmMain().Tutosite_Click(); }
  QString programFolder() override { return vb::App.Path(); }
};

}  // namespace

void BrancherGifMaker() {
  static RealGifSide real;
  gifmaker::setRealGifSide(&real);
}

}  // namespace mainwin
