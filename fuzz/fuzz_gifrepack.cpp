// A frame file of the GIF maker: re-packed, then assembled into an animation
// that must read back as a GIF with as many frames as were put in.
#include "velistrom/gifmaker/GifAnime.h"
#include "velistrom/gifmaker/GifRepack.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  gifmaker::TrameGif trame;
  if (gifmaker::RepackGif(bytes, 40, trame) != gifmaker::ErreurTrame::Aucune) return 0;
  if (trame.groupe.isEmpty() || trame.groupe.size() > bytes.size() + 64) std::abort();
  const QByteArray anime = gifmaker::AssembleGif({trame, trame}, true, false);
  if (!anime.startsWith("GIF89a") || !anime.endsWith(';')) std::abort();
  return 0;
}
