#pragma once
// The shutter window: a small camera picture that shows while the shutter
// sound starts, then closes itself. The sound never holds the capture up.
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"

#include <QString>

#include <functional>

class Fcam : public vb::Form {
 public:
  Fcam();

  void Form_Load() override;
  // Starts the shutter sound (unless muted) and the 300 ms self-unload.
  void Form_Activate() override;
  void Timcam_Timer();
  // The shutter of this showing: the sound and the 300 ms timer, once.
  void Declencher();

  vb::Image Imagecam;
  vb::Timer Timcam;  // 300 ms, off

 private:
  bool sonLance_ = false;  // the sound of this showing was started
};

inline vb::DefaultInstance<Fcam> fcam;

namespace mainwin {
// The shutter sound file beside the program.
QString SonObturateur();
// Plays a wave file without waiting, through the player in force.
bool JouerSon(const QString& fichier);
// Tests: replaces the wave player (path -> started); null = platform::playWave.
void setLecteurSonPourTests(std::function<bool(const QString&)> lecteur);
}  // namespace mainwin
