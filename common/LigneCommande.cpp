#include "common/LigneCommande.h"

#include <QFile>

CheminsImage lireLigneCommande(const QStringList& args) {
  CheminsImage c;
  c.CheminImage = args.join(' ');
  c.NomImage = c.CheminImage.mid(c.CheminImage.lastIndexOf('/') + 1);
  c.CheminRecu = c.CheminImage;
  c.TitreImage = c.NomImage;
  return c;
}

QStringList argumentsBruts(int argc, char** argv) {
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QFile::decodeName(argv[i]);
  return args;
}
