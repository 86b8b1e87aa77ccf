#pragma once
// Wave playback that never holds the caller up.
#include <QString>

namespace platform {

// Starts playing a wave file and returns at once. False, and silence, when the
// file is missing or unreadable, when there is no audio output, or without a Qt
// application; a capture never waits on its sound.
bool playWave(const QString& path);

// True when the system has an audio output to play on.
bool audioAvailable();

}  // namespace platform
