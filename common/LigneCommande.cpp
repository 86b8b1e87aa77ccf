#include "common/LigneCommande.h"

#include <QFile>
#include <QFileInfo>

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

bool dansDossier(const QString& fichier, const QString& dossier) {
  if (dossier.isEmpty()) return false;
  const QString f = QFileInfo(fichier).canonicalFilePath();
  const QString d = QFileInfo(dossier).canonicalFilePath();
  if (f.isEmpty() || d.isEmpty()) return false;
  return f.startsWith(d + '/');
}
