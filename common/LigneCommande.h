#pragma once
// The picture path the companions are started with. Our own senders pass it as
// one argument; a path split by a shell at its blanks is joined again with one
// blank per split.
#include <QString>
#include <QStringList>

struct CheminsImage {
  QString CheminImage;  // the whole path, unchanged (no trimming, quotes kept)
  QString NomImage;     // the text after the last "/", or the whole path
  QString CheminRecu;   // the file the program may delete when done with it
  QString TitreImage;   // = NomImage
};

// True when file lies inside folder (after resolving links); a missing file or
// folder is never inside. The companions delete a picture they were handed
// only when it is one of our own copies in the data folder.
bool dansDossier(const QString& fichier, const QString& dossier);

// args: the arguments after the program's own name.
CheminsImage lireLigneCommande(const QStringList& args);

// The arguments of main() after the program's name, read before the
// QApplication exists (it removes the options it knows, such as "-style").
QStringList argumentsBruts(int argc, char** argv);
