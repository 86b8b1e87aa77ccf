#include "velistrom/gifmaker/GifRepack.h"

namespace gifmaker {

namespace {

// Reads a byte buffer front to back; every read says whether the bytes were there.
class Lecteur {
 public:
  explicit Lecteur(const QByteArray& octets) : octets_(octets) {}
  bool reste(qsizetype n) const { return n <= octets_.size() - pos_; }
  bool octet(std::uint8_t& b) {
    if (!reste(1)) return false;
    b = std::uint8_t(octets_[pos_++]);
    return true;
  }
  // The next n bytes, appended to `vers` when it is given.
  bool bloc(qsizetype n, QByteArray* vers = nullptr) {
    if (!reste(n)) return false;
    if (vers) vers->append(octets_.constData() + pos_, n);
    pos_ += n;
    return true;
  }
  const char* ici() const { return octets_.constData() + pos_; }

 private:
  const QByteArray& octets_;
  qsizetype pos_ = 0;
};

int mot16(const char* p) { return std::uint8_t(p[0]) | (std::uint8_t(p[1]) << 8); }

void ajoute16(QByteArray& out, int valeur) {
  out.append(char(valeur & 0xFF));
  out.append(char((valeur >> 8) & 0xFF));
}

// Skips the data sub-blocks of an extension, up to its zero-length block.
bool sauteSousBlocs(Lecteur& in) {
  for (;;) {
    std::uint8_t taille = 0;
    if (!in.octet(taille)) return false;
    if (taille == 0) return true;
    if (!in.bloc(taille)) return false;
  }
}

}  // namespace

ChampsEcran BuffGlsd(std::uint8_t packed) {
  return {(packed & 0x80) != 0, (packed >> 4) & 7, (packed & 0x08) != 0, packed & 7};
}

ChampsImage BuffGgid(std::uint8_t packed) {
  return {(packed & 0x80) != 0, (packed & 0x40) != 0, (packed & 0x20) != 0, (packed >> 3) & 3,
          packed & 7};
}

std::uint8_t PackGid(int tailleGlobale, bool entrelace) {
  return std::uint8_t(0x80 | (entrelace ? 0x40 : 0) | (tailleGlobale & 7));
}

ErreurTrame RepackGif(const QByteArray& fichier, int delai, TrameGif& trame) {
  trame = TrameGif{};
  if (fichier.size() < 6) return ErreurTrame::EnteteCourte;
  if (!fichier.startsWith("GIF87a") && !fichier.startsWith("GIF89a"))
    return ErreurTrame::EnteteInvalide;
  Lecteur in(fichier);
  in.bloc(6);

  if (!in.reste(7)) return ErreurTrame::Tronquee;
  const char* ecran = in.ici();
  trame.largeurEcran = mot16(ecran);
  trame.hauteurEcran = mot16(ecran + 2);
  const ChampsEcran champsEcran = BuffGlsd(std::uint8_t(ecran[4]));
  in.bloc(7);
  QByteArray tableGlobale;
  if (champsEcran.tableGlobale && !in.bloc(TabTailleTable[champsEcran.taille], &tableGlobale))
    return ErreurTrame::Tronquee;

  // The frame's own graphic control extension, if it has one before its image.
  bool transparent = false;
  std::uint8_t indexTransparent = 0;
  for (;;) {
    std::uint8_t code = 0;
    if (!in.octet(code)) return ErreurTrame::Tronquee;
    if (code == 0x2C) break;
    if (code != 0x21) continue;  // stray bytes between blocks are passed over
    std::uint8_t label = 0;
    if (!in.octet(label)) return ErreurTrame::Tronquee;
    if (label == 0xF9) {
      if (!in.reste(6)) return ErreurTrame::Tronquee;
      transparent = (std::uint8_t(in.ici()[1]) & 1) != 0;
      indexTransparent = std::uint8_t(in.ici()[4]);
      in.bloc(6);
    } else if (!sauteSousBlocs(in)) {
      return ErreurTrame::Tronquee;
    }
  }

  if (!in.reste(9)) return ErreurTrame::Tronquee;
  QByteArray descripteur(in.ici(), 9);
  in.bloc(9);
  const ChampsImage champsImage = BuffGgid(std::uint8_t(descripteur[8]));
  QByteArray table;
  if (champsImage.tableLocale) {
    if (!in.bloc(TabTailleTable[champsImage.taille], &table)) return ErreurTrame::Tronquee;
  } else if (champsEcran.tableGlobale) {
    descripteur[8] = char(PackGid(champsEcran.taille, champsImage.entrelace));
    table = tableGlobale;
  } else {
    return ErreurTrame::SansCouleurs;
  }

  QByteArray& out = trame.groupe;
  out.reserve(fichier.size() + 16);
  out.append("\x21\xF9\x04", 3);
  out.append(char(0x08 | (transparent ? 1 : 0)));  // disposal 2: restore to background
  ajoute16(out, delai);
  out.append(char(transparent ? indexTransparent : 0));
  out.append('\0');
  out.append('\x2C');
  out.append(descripteur);
  out.append(table);
  if (!in.bloc(1, &out)) return ErreurTrame::Tronquee;  // LZW minimum code size
  for (;;) {
    std::uint8_t taille = 0;
    if (!in.octet(taille)) return ErreurTrame::Tronquee;
    out.append(char(taille));
    if (taille == 0) return ErreurTrame::Aucune;
    if (!in.bloc(taille, &out)) return ErreurTrame::Tronquee;
  }
}

}  // namespace gifmaker
