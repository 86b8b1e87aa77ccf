#include "common/TexteServeur.h"

#include <algorithm>

namespace {

bool directionnel(char32_t c) {
  return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069);
}

}  // namespace

QString texteServeur(const QString& texte) {
  QString out;
  out.reserve(std::min(texte.size(), kTexteServeurMax + 3));
  qsizetype kept = 0;
  for (qsizetype i = 0; i < texte.size(); ++i) {
    char32_t c = texte[i].unicode();
    const bool paire = texte[i].isHighSurrogate() && i + 1 < texte.size() && texte[i + 1].isLowSurrogate();
    if (paire) c = QChar::surrogateToUcs4(texte[i], texte[i + 1]);
    if (directionnel(c)) continue;
    if (kept + (paire ? 2 : 1) > kTexteServeurMax) {
      out += "...";
      break;
    }
    if (paire) {
      out += texte[i];
      out += texte[++i];
      kept += 2;
    } else {
      // Controls (line ends, tabs, C1) and a lone half of a pair: a blank.
      const QChar q = texte[i];
      out += (q.category() == QChar::Other_Control || q.isSurrogate()) ? QChar(u' ') : q;
      ++kept;
    }
  }
  return out;
}
