#pragma once
// Spreadwell: shares one picture without a window. It uploads the picture it was
// started with, opens its page in the browser and deletes the hand-over copy.
#include "common/EnvoiXmlRpc.h"
#include "common/LigneCommande.h"

#include <QDateTime>
#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>

namespace spreadwell {

// Title sent with the picture: the moment of the upload.
QString titreEnvoi(const QDateTime& moment);

class FrmPartage {
 public:
  // The whole program: takes the path, checks it is a picture, uploads it.
  // Returns the exit code: 0 shared, 1 upload failed, 2 nothing to share.
  int Form_Load(const QStringList& args);
  // The upload and its success steps; true when the page was opened.
  bool EnvoiImage();

  CheminsImage chemins;
  QString IdImage;
  QString Labverif;  // the page address once shared
  QImage PictInvis;

  // Where hand-over copies live: only files inside it are deleted.
  QString dossierDonnees;
  std::function<bool(const QString&)> ouvrirAdresse;  // default platform::openAddress
  envoi::OptionsEnvoi options;
};

}  // namespace spreadwell
