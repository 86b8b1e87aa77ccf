// Wave playback never blocks and never fails loudly.
#include "platform/Sound.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

// A valid PCM wave of `seconds` of silence.
QByteArray wave(int seconds) {
  const quint32 rate = 8000, bytes = rate * quint32(seconds);
  QByteArray w;
  auto u32 = [&w](quint32 v) { v = qToLittleEndian(v); w.append(reinterpret_cast<char*>(&v), 4); };
  auto u16 = [&w](quint16 v) { v = qToLittleEndian(v); w.append(reinterpret_cast<char*>(&v), 2); };
  w += "RIFF"; u32(36 + bytes); w += "WAVEfmt "; u32(16); u16(1); u16(1); u32(rate); u32(rate);
  u16(1); u16(8); w += "data"; u32(bytes);
  w.append(QByteArray(int(bytes), char(128)));
  return w;
}

TEST(PlayWave, MissingOrUnreadableFilesAreRefusedAtOnce) {
  QTemporaryDir dir;
  EXPECT_FALSE(platform::playWave(dir.path() + "/camera.wav"));
  EXPECT_FALSE(platform::playWave(dir.path()));  // a folder
  EXPECT_FALSE(platform::playWave(QString()));
}

TEST(PlayWave, ReturnsBeforeTheSoundCouldHaveEnded) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/long.wav";
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(wave(4));
  f.close();
  QElapsedTimer t;
  t.start();
  const bool started = platform::playWave(path);
  EXPECT_LT(t.elapsed(), 4000);  // a blocking call would take the whole 4 s
  // Without an audio output nothing is played and we are told so.
  EXPECT_EQ(started, platform::audioAvailable());
}

TEST(PlayWave, DamagedWaveIsRefusedAtOnce) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/bad.wav";
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("RIFF\x10\0\0\0WAVEjunk");
  f.close();
  // Whatever the device, a damaged sound is refused at once and said so.
  EXPECT_FALSE(platform::playWave(path));
  const QString text = dir.path() + "/text.wav";
  QFile t(text);
  ASSERT_TRUE(t.open(QIODevice::WriteOnly));
  t.write("not a sound at all");
  t.close();
  EXPECT_FALSE(platform::playWave(text));
}

}  // namespace
