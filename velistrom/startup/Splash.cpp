#include "velistrom/startup/Splash.h"

#include "platform/Folders.h"

#include <QDir>

bool PrepDossiers() {
  gDossSys = "/usr/bin";
  gDossAppli = platform::appDataFolder() + "/Velistrom";
  return platform::makePrivateFolder(gDossAppli);
}

SplashLayout PlacerSplash(int screenWidth, int screenHeight, int width, int height, int frameTop,
                          int authorHeight) {
  SplashLayout l;
  const bool tooBig = width > screenWidth || height > screenHeight;
  l.left = tooBig ? screenWidth - width : (screenWidth - width) / 2;
  l.top = 0;
  l.frameLeft = 50;
  l.frameWidth = width - 200;
  l.frameHeight = height - 200;
  l.authorTop = frameTop + l.frameHeight - authorHeight - 100;
  return l;
}
