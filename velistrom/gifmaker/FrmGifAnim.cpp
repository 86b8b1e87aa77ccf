#include "velistrom/gifmaker/FrmGifAnim.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>

#include "common/EnvoiXmlRpc.h"
#include "platform/Shell.h"
#include "platform/forms/App.h"
#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Runtime.h"
#include "velistrom/gifmaker/GifAnime.h"
#include "velistrom/gifmaker/GifSide.h"
#include "velistrom/helpers/Conversion.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/core/GlobCapt.h"
#include "velistrom/core/GlobMain.h"
#include "velistrom/core/GlobParams.h"

namespace gifmaker {

namespace {

constexpr int kKeyDelete = 46;

// The image host's name for the upload button.
QString NomHote() {
  const std::optional<QString> hote = envoi::AdresseHote();
  return hote ? QUrl(*hote).host() : QStringLiteral("?");
}

}  // namespace

QStringList TramesDuDossier(const QStringList& noms) {
  QStringList trames;
  for (const QString& nom : noms) {
    if (trames.size() == kMaxImages) break;
    if (!nom.startsWith(QLatin1String("animgif"))) trames << nom;
  }
  return trames;
}

FrmGifAnim::FrmGifAnim()
    : Form("FrmGifAnim"),
      Slider1(*this, "Slider1"),
      Labslide(*this, "Labslide"),
      Chkloop(*this, "Chkloop"),
      ChkAR(*this, "ChkAR"),
      CdeCreGif(*this, "CdeCreGif"),
      CdeUplGif(*this, "CdeUplGif"),
      CdeAideGif(*this, "CdeAideGif"),
      Cdestop(*this, "Cdestop"),
      CdeH(*this, "CdeH"),
      CdeB(*this, "CdeB"),
      ListUtiles(*this, "ListUtiles"),
      FichdossCapt(*this, "FichdossCapt"),
      Pictevaldim(*this, "Pictevaldim"),
      WebBrowsgif(*this, "WebBrowsgif"),
      StatusBar1(*this, "StatusBar1") {
  setWidth(7400);
  setHeight(7900);
  Slider1.Move(120, 120, 2700, 450);
  Slider1.setMin(0);
  Slider1.setMax(10);
  Slider1.setValue(4);
  Labslide.Move(120, 570, 2700, 255);
  Chkloop.Move(3000, 120, 1800, 300);
  Chkloop.setValue(1);
  ChkAR.Move(3000, 440, 1800, 300);
  CdeCreGif.Move(120, 960, 2200, 420);
  CdeUplGif.Move(2400, 960, 2600, 420);
  CdeUplGif.setCaption("UpLoad -> " + NomHote());
  CdeUplGif.setEnabled(false);
  // The rightmost of the controls above the preview: the capture mode's
  // window ends 1000 twips after it.
  CdeAideGif.Move(5000, 120, 1300, 380);
  CdeAideGif.setCaption("Help/Aide");
  Cdestop.Move(5000, 560, 1300, 380);
  Cdestop.setCaption("Exit/Sortie");
  WebBrowsgif.Move(120, 1560, 4000, 5000);
  // Measures the first frame; it stands 700 twips right of the preview so the
  // list, placed from it, starts just after the preview.
  Pictevaldim.Move(WebBrowsgif.Left() + 760, 1560, 4000, 5000);
  Pictevaldim.setAutoSize(true);
  Pictevaldim.setVisible(false);
  ListUtiles.Move(4180, 1560, 3300, 5000);
  ListUtiles.setMultiSelect(2);
  CdeH.Move(7520, 1560, 450, 450);
  CdeH.setCaption(QString(QChar(0x2191)));
  CdeB.Move(7520, 2060, 450, 450);
  CdeB.setCaption(QString(QChar(0x2193)));
  FichdossCapt.setPattern("*.gif");
  FichdossCapt.setVisible(false);
  StatusBar1.Panels(1).setAutoSize(1);

  CdeCreGif.onClick = [this] { CdeCreGif_Click(); };
  CdeH.onClick = [this] { CdeH_Click(); };
  CdeB.onClick = [this] { CdeB_Click(); };
  ListUtiles.onKeyDown = [this](int& KeyCode, int Shift) { ListUtiles_KeyDown(KeyCode, Shift); };
  ListUtiles.onMouseDown = [this](int Button, int Shift, float X, float Y) {
    ListUtiles_MouseDown(Button, Shift, X, Y);
  };
  Chkloop.onClick = [this] { Chkloop_Click(); };
  CdeUplGif.onClick = [this] { CdeUplGif_Click(); };
  CdeAideGif.onClick = [this] { CdeAideGif_Click(); };
  Cdestop.onClick = [this] { Cdestop_Click(); };
}

// ---------------------------------------------------------------- loading

void FrmGifAnim::Form_Load() {
  setCaption(gLng218 + " - maximum 50 images");
  StatusBar1.Panels(1).setText(gLng252);
  Chargement();
  Labslide.setCaption(gLng219);
  CdeCreGif.setCaption(gLng222);
  Chkloop.setCaption(gLng220);
  ChkAR.setCaption(gLng221);
}

void FrmGifAnim::Chargement() {
  if (gGifDepuisCapt) ChargementCaptures();
  else ChargementDossier();
}

void FrmGifAnim::MesurePremiere(const QString& path) {
  // An unreadable frame is reported at creation; the preview keeps its size.
  QImage image;
  try {
    image = vb::LoadPicture(path);
  } catch (const vb::Error&) {
  }
  if (image.isNull()) return;
  Pictevaldim.setPicture(image);
  WebBrowsgif.setHeight(Pictevaldim.Height());
  WebBrowsgif.setWidth(Pictevaldim.Width());
}

void FrmGifAnim::ChargementDossier() {
  try {
    if (!gDossierGif.isEmpty() && FichdossCapt.Path() != gDossierGif)
      FichdossCapt.setPath(gDossierGif);
    FichdossCapt.Refresh();
  } catch (const vb::Error&) {
    // The folder has gone since it was chosen: nothing to list.
  }
  ListUtiles.Clear();
  vb::DoEvents();
  QStringList noms;
  for (int i = 0; i < FichdossCapt.ListCount(); ++i) noms << FichdossCapt.List(i);
  for (const QString& nom : TramesDuDossier(noms)) ListUtiles.AddItem(nom);
  if (ListUtiles.ListCount() > 0) MesurePremiere(FichdossCapt.Path() + "/" + ListUtiles.List(0));

  ListUtiles.setLeft(Pictevaldim.Left() + Pictevaldim.Width() - 700);
  CdeH.setLeft(ListUtiles.Left() + ListUtiles.Width() + 40);
  CdeB.setLeft(CdeH.Left());
  // The list and its arrows beside the preview; a narrow first frame must not
  // cut the buttons above it.
  setWidth(std::max(CdeB.Left() + CdeB.Width(), CdeAideGif.Left() + CdeAideGif.Width()) + 200);

  NbImages = ListUtiles.ListCount();
  if (NbImages == 0) {
    CdeCreGif.setEnabled(false);
    WebBrowsgif.setHeight(5000);
    WebBrowsgif.setWidth(4000);
    WebBrowsgif.Navigate(vb::App.Path() + "/" + gLng258 + ".gif");
  } else {
    ListUtiles.setListIndex(0);
    ListUtiles.setSelected(0, true);
    Apercu(0);
    CdeCreGif.setEnabled(true);
  }
}

void FrmGifAnim::ChargementCaptures() {
  try {
    FichdossCapt.setPath(gRepCapt);
  } catch (const vb::Error&) {
    // No capture folder: every frame will be reported missing at creation.
  }
  NbImages = std::min(int(gNbCapt), kMaxImages);
  setMousePointer(vb::vbHourglass);
  std::vector<std::pair<QString, QString>> conversions;
  for (int i = 0; i < NbImages; ++i) {
    const QString source = gRepCapt + "/" + gTabNomCapt[size_t(i + 1)];
    const QString cible = source.left(source.size() - 4) + ".gif";
    QFile::remove(cible);
    conversions.emplace_back(source, cible);
    TabImagesGif[size_t(i)] = cible;
    if (!TramesCreees.contains(cible)) TramesCreees << cible;
  }
  // A capture that cannot be converted is reported here, its frame at creation.
  Conversion::ConvImages(conversions, Conversion::FormatGif, 0);
  setMousePointer(vb::vbDefault);
  vb::DoEvents();
  if (NbImages > 0) {
    MesurePremiere(TabImagesGif[size_t(NbImages - 1)]);
    WebBrowsgif.Navigate(TabImagesGif[0]);
  }
  setWidth(CdeAideGif.Left() + CdeAideGif.Width() + 1000);
  ListUtiles.setVisible(false);
  CdeH.setVisible(false);
  CdeB.setVisible(false);
}

// ---------------------------------------------------------------- frame list

void FrmGifAnim::Apercu(int index) {
  if (index < 0 || index >= ListUtiles.ListCount()) return;
  WebBrowsgif.Navigate(FichdossCapt.Path() + "/" + ListUtiles.List(index));
}

void FrmGifAnim::ListUtiles_MouseDown(int, int, float, float) {
  const int courant = std::max(ListUtiles.ListIndex(), 0);
  Apercu(courant);
  CdeH.setEnabled(courant != 0);
  CdeB.setEnabled(courant == 0 || courant != ListUtiles.ListCount() - 1);
}

void FrmGifAnim::CdeH_Click() {
  const int courant = ListUtiles.ListIndex();
  if (courant == 0) {
    CdeH.setEnabled(false);
    return;
  }
  CdeB.setEnabled(true);
  if (courant < 0) return;
  const QString nom = ListUtiles.List(courant);
  ListUtiles.setList(courant, ListUtiles.List(courant - 1));
  ListUtiles.setList(courant - 1, nom);
  ListUtiles.setSelected(courant, false);
  ListUtiles.setListIndex(courant - 1);
  ListUtiles.setSelected(courant - 1, true);
  Apercu(courant - 1);
}

void FrmGifAnim::CdeB_Click() {
  const int courant = ListUtiles.ListIndex();
  if (courant == ListUtiles.ListCount() - 1) {
    CdeB.setEnabled(false);
    return;
  }
  if (courant < 0) return;
  const QString nom = ListUtiles.List(courant);
  ListUtiles.setList(courant, ListUtiles.List(courant + 1));
  ListUtiles.setList(courant + 1, nom);
  ListUtiles.setSelected(courant, false);
  ListUtiles.setListIndex(courant + 1);
  ListUtiles.setSelected(courant + 1, true);
  Apercu(courant + 1);
}

void FrmGifAnim::ListUtiles_KeyDown(int& KeyCode, int) {
  if (KeyCode != kKeyDelete) return;
  for (int i = ListUtiles.ListCount() - 1; i >= 0; --i) {
    if (!ListUtiles.Selected(i)) continue;
    ListUtiles.RemoveItem(i);
    --NbImages;
    if (i < ListUtiles.ListCount()) ListUtiles.setSelected(i, true);
  }
  Apercu(ListUtiles.ListIndex());
  setCaption(QString::number(ListUtiles.ListCount()) + " images gif - 50 maxi");
}

void FrmGifAnim::Chkloop_Click() {
  if (Chkloop.Value() == 0) Chargement();
}

// ---------------------------------------------------------------- creation

QStringList FrmGifAnim::Trames() const {
  QStringList trames;
  for (int i = 0; i < NbImages && i < kMaxImages; ++i) trames << TabImagesGif[size_t(i)];
  return trames;
}

void FrmGifAnim::CdeCreGif_Click() {
  setMousePointer(vb::vbHourglass);
  // Until this creation succeeds there is no file to hand over.
  CdeUplGif.setEnabled(false);
  if (!gGifDepuisCapt) {
    // The list's names are those of the chosen folder.
    for (int i = 0; i < ListUtiles.ListCount() && i < kMaxImages; ++i)
      TabImagesGif[size_t(i)] = QFileInfo(QDir(FichdossCapt.Path()), ListUtiles.List(i)).filePath();
    NbImages = std::min(ListUtiles.ListCount(), kMaxImages);
  }
  CheminGif = "0";
  CheminGif = NomGifAnime(gRepSauve, vb::TimeText());
  const ResultatCreation r = CreeGifAnime(Trames(), Slider1.Value() * 10, Chkloop.Value() == 1,
                                          ChkAR.Value() == 1, CheminGif);
  setMousePointer(vb::vbArrow);

  const QString fautive = r.trame >= 0 ? "\r\n" + TabImagesGif[size_t(r.trame)] : QString();
  switch (r.etat) {
    case ResultatCreation::Ok:
      break;
    case ResultatCreation::TrameIllisible:
      vb::MsgBox(gLng225 + fautive, vb::vbCritical);
      return;
    case ResultatCreation::EnteteCourte:
      vb::MsgBox("Error reading file .../Pb lecture fichier" + fautive, vb::vbCritical);
      vb::MsgBox(gLng223 + fautive, vb::vbCritical);
      return;
    case ResultatCreation::EnteteInvalide:
    case ResultatCreation::SansCouleurs:
      vb::MsgBox(gLng223 + fautive, vb::vbCritical);
      return;
    case ResultatCreation::Tronquee:
      vb::MsgBox(gLng224 + fautive, vb::vbCritical);
      vb::Unload(*this);
      return;
    case ResultatCreation::EcritureImpossible:
      vb::MsgBox(QString::number(vb::vbErrPathFileAccess) + " " +
                     vb::Error::standardDescription(vb::vbErrPathFileAccess) + "\r\n" + CheminGif +
                     "\r\n" + r.message,
                 vb::vbOKOnly);
      return;
  }

  // The preview takes the new GIF's own screen, as its descriptor gives it.
  WebBrowsgif.setWidth(r.ecran.largeur * vb::Screen.TwipsPerPixelX() + 650);
  WebBrowsgif.setHeight(r.ecran.hauteur * vb::Screen.TwipsPerPixelY() + 700);
  WebBrowsgif.Navigate(CheminGif);
  vb::DoEvents();
  ListUtiles.setVisible(false);
  CdeH.setVisible(false);
  CdeB.setVisible(false);
  setWidth(WebBrowsgif.Width() < 9000 ? 9000 : WebBrowsgif.Width() + 100);
  setHeight(WebBrowsgif.Height() + 2000);
  // Grown, the window may stick out of the screen; a GIF larger than the
  // screen keeps its size, with the title bar in reach.
  keepOnScreen();
  vb::MsgBox(gLng245 + gRepSauve + "\r\n" + gLng246 + QFileInfo(CheminGif).fileName(),
             vb::vbInformation);
  CdeUplGif.setEnabled(true);
  setMousePointer(vb::vbArrow);
}

// ---------------------------------------------------------------- other buttons

void FrmGifAnim::CdeUplGif_Click() {
  // Postelle runs on its own; a failed start ends the click quietly.
  platform::startProgram(gifSide().programFolder() + "/Postelle", {CheminGif});
}

void FrmGifAnim::CdeAideGif_Click() { gifSide().showTutorials(); }

void FrmGifAnim::Cdestop_Click() { vb::Unload(*this); }

void FrmGifAnim::Form_Unload(int&) {
  // Only the frames converted here: never a user's GIF files.
  for (const QString& trame : TramesCreees) QFile::remove(trame);
  TramesCreees.clear();
}

}  // namespace gifmaker
