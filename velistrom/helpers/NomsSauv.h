#pragma once
// Names of the picture files written into the save folder: the main window's
// saves and the timed-capture window's bursts share one pattern,
// folder/prefix_stamp_NNN.bmp, with the format word in place of "bmp" once the
// bitmap is converted.
#include <QString>

namespace sauv {

// A text that becomes part of a file name, without path separators.
QString SansSeparateurs(const QString& texte);

// Save folder / prefix (separators dropped) + "_" + stamp + "_" + counter
// formatted "000" (more digits beyond 999) + ".bmp".
QString NomSauv(const QString& repSauve, const QString& prefixe, const QString& estampille, int numSauv);

// The conversion format of a format word, compared exactly: "jpg" 2, "gif" 3,
// "png" 4; 0 (the bitmap itself) for "bmp" and any other word.
int FormatDeMot(const QString& mot);

// A ".bmp" name with its last three characters replaced by the format word.
QString AvecFormat(const QString& nomBmp, const QString& mot);

}  // namespace sauv
