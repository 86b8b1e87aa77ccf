#pragma once
// The animated GIF89a file the GIF maker writes: a header without a global
// colour table, the optional NETSCAPE2.0 loop block (loop count 65535), one
// group per frame re-packed from single-frame GIF files, and the trailer.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

#include "velistrom/gifmaker/GifRepack.h"

namespace gifmaker {

// "GIF89a" and the logical screen descriptor: width, height, no global table.
QByteArray EnteteAnim(int largeur, int hauteur);

// 21 FF 0B "NETSCAPE2.0" 03 01 FF FF 00.
QByteArray BlocBoucle();

// Frame indices in writing order: 0..n-1, then n-1..0 when going back and forth.
std::vector<int> OrdreTrames(int nbTrames, bool allerRetour);

// The output's logical screen: the largest width and the largest height among
// the frames' screens (0 x 0 without frames).
struct EcranAnim {
  int largeur = 0, hauteur = 0;
};
EcranAnim EcranDesTrames(const std::vector<TrameGif>& trames);

// The whole file from frames already re-packed, on the screen above.
QByteArray AssembleGif(const std::vector<TrameGif>& trames, bool boucle, bool allerRetour);

// The output's name: folder, "/animgif", characters 1-2, 4-5, 7-8 of the time
// text ("14:30:05" gives animgif143005.gif), ".gif".
QString NomGifAnime(const QString& dossier, const QString& heure);

struct ResultatCreation {
  enum Etat {
    Ok,
    TrameIllisible,     // a frame file cannot be opened or read
    EnteteCourte,       // ErreurTrame of the frame at `trame`
    EnteteInvalide,
    Tronquee,
    SansCouleurs,
    EcritureImpossible  // the output cannot be written; `message` says why
  };
  Etat etat = Ok;
  int trame = -1;  // index in the frame list of the frame at fault
  QString message;
  EcranAnim ecran;  // the output's logical screen, in pixels (when Ok)
};

// Reads and re-packs every frame file, then writes the animation to `sortie`
// (an existing file is replaced). On any failure nothing is left at `sortie`
// beyond what was there before. `delai` is in hundredths of a second.
ResultatCreation CreeGifAnime(const QStringList& trames, int delai, bool boucle, bool allerRetour,
                              const QString& sortie);

}  // namespace gifmaker
