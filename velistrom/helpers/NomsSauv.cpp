#include "velistrom/helpers/NomsSauv.h"

#include "platform/forms/Runtime.h"

namespace sauv {

QString SansSeparateurs(const QString& texte) {
  QString s = texte;
  s.remove(u'/');
  s.remove(u'\\');  // not a separator here, but it is one wherever the file travels
  s.remove(QChar(0));
  return s;
}

QString NomSauv(const QString& repSauve, const QString& prefixe, const QString& estampille, int numSauv) {
  QString dossier = repSauve;
  if (!dossier.endsWith(u'/')) dossier += u'/';
  return dossier + SansSeparateurs(prefixe) + "_" + SansSeparateurs(estampille) + "_" +
         vb::Format(numSauv, "000") + ".bmp";
}

int FormatDeMot(const QString& mot) {
  if (mot == "jpg") return 2;
  if (mot == "gif") return 3;
  if (mot == "png") return 4;
  return 0;
}

QString AvecFormat(const QString& nomBmp, const QString& mot) { return nomBmp.left(nomBmp.size() - 3) + mot; }

}  // namespace sauv
