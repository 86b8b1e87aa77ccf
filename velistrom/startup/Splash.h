#pragma once
// The non-window steps of the start banner: the shared folders it settles, the
// tips download (TipsDownload.h) and where the banner goes on the screen.
#include "velistrom/core/GlobDossiers.h"

#include <QString>

// Sets gDossSys and gDossAppli and creates the data folder when it is missing.
// Returns false when the folder does not exist afterwards.
bool PrepDossiers();

// Where the banner and its parts go, in twips. The banner touches the top of the
// screen; it is centred across, or its right edge is put on the screen's right
// edge when it is wider or taller than the screen.
struct SplashLayout {
  int left = 0, top = 0;
  int frameLeft = 0, frameWidth = 0, frameHeight = 0;
  int authorTop = 0;
};
SplashLayout PlacerSplash(int screenWidth, int screenHeight, int width, int height, int frameTop,
                          int authorHeight);
