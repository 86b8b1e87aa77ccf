#include "platform/Sound.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace platform {

bool audioAvailable() {
  if (!QCoreApplication::instance()) return false;
  return !QMediaDevices::defaultAudioOutput().isNull();
}

bool playWave(const QString& path) {
  const QFileInfo file(path);
  if (!file.isFile() || !file.isReadable()) return false;
  if (!audioAvailable()) return false;
  // One effect per sound, owned by the application until it has played.
  auto* effect = new QSoundEffect(QCoreApplication::instance());
  QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
    if (effect->status() == QSoundEffect::Error) effect->deleteLater();
    if (effect->status() == QSoundEffect::Ready) effect->play();
  });
  QObject::connect(effect, &QSoundEffect::playingChanged, effect, [effect] {
    if (!effect->isPlaying()) effect->deleteLater();
  });
  effect->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
  return true;
}

}  // namespace platform
