// Clipboard and printing: each new capture goes to the clipboard unless the
// user switched that off, the current capture on request, and printing the
// current capture under a header line.
#include "velistrom/mainwin/frmMain.h"

#include "platform/Clipboard.h"
#include "platform/Imaging.h"
#include "platform/Printing.h"
#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Runtime.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/helpers/PaintActif.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/mainwin/Sauvegarde.h"

#include <QPrinter>

#include <optional>

namespace {

// The current capture's bitmap at full size; null (after telling the user)
// when it cannot be read.
QImage BitmapCourant() { return mainwin::LireBitmap(FrmMain::CheminTemp(gNumCapt)); }

void MontrerNotice(vb::Label& notice) {
  notice.setTop(50);
  notice.setLeft(50);
  notice.setVisible(true);
}

// Gives our printer what the printer dialog chose: the printer or the output
// file, the page, and the copies.
void AppliquerChoix(platform::Printer& imprimante, vb::CommonDialog& dlg) {
  QPrinter& choisi = dlg.printer();
  imprimante.device().setPageLayout(choisi.pageLayout());
  if (choisi.outputFormat() == QPrinter::PdfFormat && !choisi.outputFileName().isEmpty())
    imprimante.setOutputPdf(choisi.outputFileName());
  else
    imprimante.device().setPrinterName(choisi.printerName());
  imprimante.setCopies(dlg.Copies());
}

}  // namespace

// ---------------------------------------------------------------- clipboard

void FrmMain::CopiePP(QString& modcap) {
  // Switched off: the user's clipboard is left as it is.
  if (gPasCopiePP == "1") return;
  platform::clipboard::clear();
  vb::DoEvents();
  Timdeja.setEnabled(true);
  if (modcap == "f" || modcap == "z") {
    platform::clipboard::setPicture(Picture2.Image());
    MontrerNotice(Labdeja);
  } else {
    platform::clipboard::setPicture(Picture1.Image());
    MontrerNotice(Labdeja2);
  }
}

void FrmMain::Timdeja_Timer() {
  if (ProcActif(gNomExeEdit)) return;  // the notice stays while the editor runs
  Labdeja.setVisible(false);
  Labdeja2.setVisible(false);
  Timdeja.setEnabled(false);
}

// Loads through a buffer of its own: PictReserv holds the overlay's frozen
// screen, which re-opening the overlay still needs.
void FrmMain::Buttcopier() {
  if (!mainwin::CaptureCourante()) return;
  const QImage image = BitmapCourant();
  if (image.isNull()) return;
  platform::clipboard::clear();
  platform::clipboard::setPicture(image);
}

// ---------------------------------------------------------------- printing

void FrmMain::Imprimer() {
  if (!mainwin::CaptureCourante()) return;
  // Always the capture itself at full size, whatever the view's zoom.
  const QImage image = BitmapCourant();
  if (image.isNull()) return;
  // Taken now with the picture: the boxes below run events, and a hotkey
  // capture meanwhile makes another capture the current one.
  const bool ecranComplet = gTabMode[gNumCapt] == "e";
  const std::optional<QString> entete = vb::InputBoxEx(
      gLng209, "Velistrom", sauv::EnteteProposee(gLng121, vb::DateText(), gLng122, vb::TimeText()));
  if (!entete) return;  // cancelled

  try {
    mainwin::AnnulationSignalee annulation(CDlg1);
    CDlg1.ShowPrinter();
  } catch (const vb::Error&) {
    return;  // cancelled: nothing is printed
  }

  const int tppX = vb::Screen.TwipsPerPixelX(), tppY = vb::Screen.TwipsPerPixelY();
  const sauv::Cadre cadre = sauv::CadreImpression(ecranComplet, image.width() * tppX, image.height() * tppY);

  platform::Printer imprimante;
  AppliquerChoix(imprimante, CDlg1);
  imprimante.setCurrentX(sauv::kEnteteX);
  imprimante.setCurrentY(sauv::kEnteteY);
  const bool ok = imprimante.print(*entete) &&
                  imprimante.paintPicture(image, cadre.x, cadre.y, cadre.largeur, cadre.hauteur) &&
                  imprimante.endDoc();
  if (!ok) {
    const QString pourquoi = imprimante.errorString();
    imprimante.killDoc();
    vb::MsgBox(pourquoi, vb::vbCritical);
  }
}
