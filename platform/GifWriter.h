#pragma once
// Single-frame GIF89a writer. A picture of at most 256 colours (most captures
// of dialogs and windows) keeps its exact colours; a richer one goes through a
// palette quantiser. The file carries one global colour table and one image
// without a local table, the plain form the GIF maker re-packs.
#include <QIODevice>
#include <QImage>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Imaging.h"

namespace platform {

enum class GifQuantiser {
  Auto,                // exact palette when it fits, else kDefaultGifQuantiser
  ImageQuant,          // libimagequant at its fastest setting (speed 10), no dithering
  ImageQuantSlow,      // libimagequant at its default speed (4), no dithering
  ImageQuantDithered,  // libimagequant, speed 10, full dithering
  Giflib,              // giflib's median cut (GifQuantizeBuffer), no dithering
};

// What Auto uses for pictures of more than 256 colours, chosen with
// bench/convimage_bench (figures in bench/README.md): best PSNR for the file
// size, and fast enough on photo-like content, where the slower setting takes
// seconds. Dithering costs PSNR and makes files several times larger.
inline constexpr GifQuantiser kDefaultGifQuantiser = GifQuantiser::ImageQuant;

// A picture as palette indices, row by row.
struct IndexedPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // width * height indices into palette
  std::vector<QRgb> palette;         // 1 to 256 opaque colours
};

// The picture's own colours in order of first appearance, when there are at
// most 256 of them; nothing otherwise. Alpha is ignored.
std::optional<IndexedPicture> exactPalette(const QImage& image);

// Palette and indices by the chosen quantiser (Auto: exact when possible).
// Empty (width 0) when the picture is null or the quantiser fails.
IndexedPicture quantisePicture(const QImage& image, GifQuantiser quantiser = GifQuantiser::Auto);

// Back to a picture: 8-bit with the palette as its colour table, or RGB32.
QImage indexedToIndexed8(const IndexedPicture& picture);
QImage indexedToImage(const IndexedPicture& picture);

// Writes `picture` as a GIF89a file. False on a write or encoder failure.
bool encodeGif(const IndexedPicture& picture, QIODevice& out);

// Quantises and writes (GenericError when the device refuses a write); pictures
// wider or taller than 65535 pixels are refused.
ImageStatus writeGif(const QImage& image, QIODevice& out,
                     GifQuantiser quantiser = GifQuantiser::Auto);

}  // namespace platform
