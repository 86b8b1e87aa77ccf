#pragma once
// One frame of an animated GIF, taken from a single-frame GIF87a or GIF89a file
// without decoding a pixel: the block headers are read and rewritten, the
// colour table and the compressed image data are copied as they are.
#include <QByteArray>

#include <array>
#include <cstdint>

namespace gifmaker {

// Bytes of a colour table for a size field 0..7 (3 * 2^(n+1)).
inline constexpr std::array<int, 8> TabTailleTable = {6, 12, 24, 48, 96, 192, 384, 768};

// The fields of a logical screen descriptor's packed byte.
struct ChampsEcran {
  bool tableGlobale = false;
  int resolution = 0;  // colour resolution field, 0..7
  bool tri = false;
  int taille = 0;      // size field of the global table, 0..7
};
ChampsEcran BuffGlsd(std::uint8_t packed);

// The fields of an image descriptor's packed byte.
struct ChampsImage {
  bool tableLocale = false;
  bool entrelace = false;
  bool tri = false;
  int reserve = 0;
  int taille = 0;  // size field of the local table, 0..7
};
ChampsImage BuffGgid(std::uint8_t packed);

// The packed byte of an output image descriptor that carries the frame's
// global table as its local one: table flag, the interlace bit, the size field.
std::uint8_t PackGid(int tailleGlobale, bool entrelace);

enum class ErreurTrame {
  Aucune,
  EnteteCourte,    // fewer than 6 bytes
  EnteteInvalide,  // not "GIF87a" or "GIF89a"
  Tronquee,        // the file ends before its image data is complete
  SansCouleurs,    // neither a global nor a local colour table
};

struct TrameGif {
  int largeurEcran = 0;  // the frame file's logical screen
  int hauteurEcran = 0;
  // Graphic control extension, image descriptor, colour table, LZW code size
  // and data sub-blocks up to and including the zero-length terminator.
  QByteArray groupe;
};

// Re-packs the first image of `fichier` as one frame group shown for `delai`
// hundredths of a second, disposal "restore to background". The frame keeps
// the transparency of its own graphic control extension (none: opaque) and its
// interlace bit. Only the bytes up to the end of that image are looked at.
ErreurTrame RepackGif(const QByteArray& fichier, int delai, TrameGif& trame);

}  // namespace gifmaker
