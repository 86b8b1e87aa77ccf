#include "platform/Sound.h"

#include "platform/Log.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace platform {

bool audioAvailable() {
  if (!QCoreApplication::instance()) return false;
  return !QMediaDevices::defaultAudioOutput().isNull();
}

namespace {
// A RIFF "WAVE" file opening on its format chunk, as every file the program
// plays does: anything else would only fail later, out of sight.
bool isWave(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return false;
  const QByteArray head = f.read(16);
  return head.size() == 16 && head.startsWith("RIFF") && head.mid(8, 4) == "WAVE" && head.mid(12, 4) == "fmt ";
}
}  // namespace

bool playWave(const QString& path) {
  const QFileInfo file(path);
  if (!file.isFile() || !file.isReadable() || !isWave(path)) {
    qCInfo(lcPlatform) << "not a playable wave file:" << path;
    return false;
  }
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
