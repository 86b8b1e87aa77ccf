// Saving captures: every unsaved one under generated names (save all, the
// automatic save, quitting), or the current one under a name the user picks.
// A capture counts as saved, and is marked so, only once its file exists; its
// temporary bitmap in the run's capture folder is never touched here, and
// CheminCapt keeps pointing at it.
#include "velistrom/mainwin/frmMain.h"

#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Runtime.h"
#include "velistrom/helpers/Conversion.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/mainwin/Sauvegarde.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString BitmapDe(int i) { return gRepCapt + "/" + gTabNomCapt[i]; }

bool Existe(const QString& chemin) {
  const QFileInfo fi(chemin);
  return fi.exists() || fi.isSymLink();
}

// A save into the save folder failed: say so, let the user pick another
// folder, and tell the caller.
void DossierSauvInutilisable(int& SavOk) {
  vb::MsgBox(gLng117, vb::vbExclamation);
  mainwin::MontrerOptions();
  SavOk = 0;
}

void EchecEnregistrement(const QString& detail) {
  vb::MsgBox("Save/Sauver " + QString::number(vb::vbErrPathFileAccess) + " " +
                 vb::Error::standardDescription(vb::vbErrPathFileAccess) + "\n" + detail,
             vb::vbCritical);
}

}  // namespace

// ---------------------------------------------------------------- save all

void FrmMain::EnregistrerTout(int& SavOk, int DebLot, const QString& FormSav) {
  NbSauves = 0;
  const int format = sauv::FormatDeMot(FormSav);
  bool dossierVu = false;
  for (int i = std::max(DebLot, 1); i <= gNbCapt; ++i) {
    if (!gTabSauv[i].isEmpty()) continue;  // saved earlier: keeps its file and its name

    // A missing save folder would otherwise surface as a conversion failure.
    if (!dossierVu) {
      const QFileInfo dossier(gRepSauve);
      if (!dossier.isDir() || !dossier.isWritable()) return DossierSauvInutilisable(SavOk);
      dossierVu = true;
    }

    const QString source = BitmapDe(i);
    const QString estampille = sauv::Estampille(gNomHorod != 0, DateSess, HeureSess, gTabHorod[i]);
    QString nomBmp, nomFinal;
    for (int essais = 0; essais < 100000; ++essais) {
      ++gNumSauv;
      nomBmp = sauv::NomSauv(gRepSauve, gPrefixe, estampille, gNumSauv);
      nomFinal = format == 0 ? nomBmp : sauv::AvecFormat(nomBmp, FormSav);
      if (!Existe(nomBmp) && !Existe(nomFinal)) break;
    }

    // The BMP is written when it is the result, or kept beside the converted
    // file (SavOk 3); a conversion reads the capture's bitmap itself.
    if (format == 0 || SavOk == 3) {
      if (!sauv::CopierFichier(source, nomBmp).isEmpty()) return DossierSauvInutilisable(SavOk);
    }
    if (format != 0) {
      // ConvImage tells the user what failed; the capture stays unsaved.
      if (!Conversion::ConvImage(source, nomFinal, format, gQualJpg) || !QFileInfo(nomFinal).isFile()) {
        SavOk = 0;
        return;
      }
    }

    NomFinal = nomFinal;
    gTabSauv[i] = nomFinal;
    mainwin::MarquerSauvee(i);
    ++NbSauves;
  }
  if (SavOk != 3 && gNumCapt >= 1 && gNumCapt <= gNbCapt && !gTabSauv[gNumCapt].isEmpty()) PictSave.setVisible(true);
}

// ---------------------------------------------------------------- save as

void FrmMain::Enregistrer2() {
  if (!mainwin::CaptureCourante()) return;
  const int num = gNumCapt;
  const QString source = BitmapDe(num);

  CDlg1.setInitDir(DossierSauv2.isEmpty() ? gRepSauve : DossierSauv2);
  if (PremDialogue) {
    PremDialogue = false;
    CDlg1.setFilterIndex(2);
    CDlg1.setFileName(gTxtCapture + vb::Format(num, "00"));
  } else {
    CDlg1.setFileName(sauv::NomPropose(NomChoisiSauv2, gTxtCapture, num));
  }
  CDlg1.setFilter(gLng175);
  CDlg1.setDialogTitle(gLng163);
  // The overwrite question is ours (below): the dialog must not ask as well.
  CDlg1.setFlags(CDlg1.Flags() & ~vb::cdlOFNOverwritePrompt);
  try {
    mainwin::AnnulationSignalee annulation(CDlg1);
    CDlg1.ShowSave();
  } catch (const vb::Error&) {
    return;  // cancelled: nothing is written
  }

  QString choisi = CDlg1.FileName();
  while (choisi.endsWith(u' ')) choisi.chop(1);
  const QString base = sauv::BaseDuNom(choisi);
  if (base.isEmpty() || base.endsWith(u'/')) return;
  const int index = CDlg1.FilterIndex();
  const QString cible = base + sauv::ExtensionDuFiltre(index);

  if (Existe(cible) &&
      vb::MsgBox(gLng119 + cible + gLng120, vb::vbYesNo | vb::vbQuestion) == vb::vbNo)
    return;

  const int format = sauv::FormatDuFiltre(index);
  if (format == 0) {
    if (const QString err = sauv::CopierFichier(source, cible); !err.isEmpty()) return EchecEnregistrement(err);
  } else {
    // The work copy stays in the run's folder, never beside the user's file.
    const QString copie = gRepCapt + "/" + QFileInfo(gTabNomCapt[num]).completeBaseName() + "_temp.bmp";
    if (const QString err = sauv::CopierFichier(source, copie); !err.isEmpty()) {
      QFile::remove(copie);
      return EchecEnregistrement(err);
    }
    const bool ok = Conversion::ConvImage(copie, cible, format, gQualJpg);
    QFile::remove(copie);
    if (!ok || !QFileInfo(cible).isFile()) return;  // ConvImage has told the user
  }

  setCaption(Caption() + " " + cible);
  gTabSauv[num] = cible;
  NomFinal = cible;
  PictSave.setVisible(true);
  NomChoisiSauv2 = choisi;
  const qsizetype slash = choisi.lastIndexOf(u'/');
  if (slash >= 0) DossierSauv2 = choisi.left(slash);
  mainwin::MarquerSauvee(num);
}
