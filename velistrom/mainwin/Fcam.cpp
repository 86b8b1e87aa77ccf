#include "velistrom/core/Ressources.h"
#include "velistrom/mainwin/Fcam.h"

#include "platform/Sound.h"
#include "velistrom/core/GlobParams.h"
#include "velistrom/mainwin/frmMain.h"

namespace {

std::function<bool(const QString&)>& lecteur() {
  static std::function<bool(const QString&)> f;
  return f;
}

}  // namespace

namespace mainwin {

QString SonObturateur() { return core::CheminRessource("camera.wav"); }

void setLecteurSonPourTests(std::function<bool(const QString&)> l) { lecteur() = std::move(l); }

bool JouerSon(const QString& fichier) { return lecteur() ? lecteur()(fichier) : platform::playWave(fichier); }

}  // namespace mainwin

Fcam::Fcam() : vb::Form("Fcam"), Imagecam(*this, "Imagecam"), Timcam(*this, "Timcam", 300, false) {
  setBorderStyle(vb::vbBSNone);
  setShowInTaskbar(false);
  setAlwaysOnTop(true);
  setBackColor(0x000000);
  Timcam.onTimer = [this] { Timcam_Timer(); };
}

void Fcam::Form_Load() {
  QImage photo = core::ChargerRessource("camera_shutter.png");
  if (!photo.isNull()) Imagecam.setPicture(photo);  // without it the window is a plain black square
  const int w = photo.isNull() ? 1500 : photo.width() * vb::twipsPerPixel();
  const int h = photo.isNull() ? 1500 : photo.height() * vb::twipsPerPixel();
  Imagecam.Move(0, 0, w, h);
  Move((vb::Screen.Width() - w) / 2, (vb::Screen.Height() - h) / 2, w, h);
}

void Fcam::Form_Activate() { Declencher(); }

void Fcam::Declencher() {
  if (sonLance_) return;
  sonLance_ = true;
  // The sound plays on its own; the window goes 300 ms after it showed,
  // whether the sound could be played or not.
  if (gMuet == 0) {
    mainwin::JouerSon(mainwin::SonObturateur());
  }
  Timcam.setEnabled(true);
}

void Fcam::Timcam_Timer() {
  Timcam.setEnabled(false);
  vb::Unload(*this);
}
