#pragma once
// The GIF maker: frames from the run's captures or from a folder of GIF files,
// ordered and thinned out in a list, written as one animated GIF into the save
// folder, previewed, and handed to Postelle.
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/GifView.h"

#include <QString>
#include <QStringList>

#include <array>

namespace gifmaker {

inline constexpr int kMaxImages = 50;

// The folder of GIF files last chosen by the user: the folder mode lists it
// when the window loads.
inline QString gDossierGif;

class FrmGifAnim : public vb::Form {
 public:
  FrmGifAnim();

  void Form_Load() override;
  void Form_Unload(int& Cancel) override;

  void CdeCreGif_Click();
  void CdeH_Click();
  void CdeB_Click();
  void ListUtiles_KeyDown(int& KeyCode, int Shift);
  void ListUtiles_MouseDown(int Button, int Shift, float X, float Y);
  void Chkloop_Click();
  void CdeUplGif_Click();
  void CdeAideGif_Click();
  void Cdestop_Click();

  // Shows a frame of the folder list: the folder, "/", the item.
  void Apercu(int index);

  vb::Slider Slider1;
  vb::Label Labslide;
  vb::CheckBox Chkloop;
  vb::CheckBox ChkAR;
  vb::CommandButton CdeCreGif;
  vb::CommandButton CdeUplGif;
  vb::CommandButton CdeAideGif;
  vb::CommandButton Cdestop;
  vb::CommandButton CdeH;
  vb::CommandButton CdeB;
  vb::ListBox ListUtiles;
  vb::FileListBox FichdossCapt;
  vb::PictureBox Pictevaldim;
  vb::GifView WebBrowsgif;
  vb::StatusBar StatusBar1;

  int NbImages = 0;
  std::array<QString, kMaxImages> TabImagesGif;
  // The animated GIF being or last created; "0" until its name is built.
  QString CheminGif;
  // Frame files this window converted from captures: the only files it deletes.
  QStringList TramesCreees;

 private:
  // The mode-dependent part of loading, run again when Chkloop is unticked.
  void Chargement();
  void ChargementDossier();
  void ChargementCaptures();
  // Takes the size of the picture at `path` for the preview.
  void MesurePremiere(const QString& path);
  // The frame files in writing order (folder mode: the list's names).
  QStringList Trames() const;
};

inline vb::DefaultInstance<FrmGifAnim> frmGifAnim;

// Names of a folder listing that may serve as frames: in list order, without
// our own output (names starting with "animgif", case-sensitive), 50 at most.
QStringList TramesDuDossier(const QStringList& noms);

}  // namespace gifmaker
