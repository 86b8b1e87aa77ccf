#include "spreadwell/FrmPartage.h"

#include "platform/Shell.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Runtime.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace spreadwell {

QString titreEnvoi(const QDateTime& moment) {
  return "picked with Velistrom " + vb::Format(moment, QStringLiteral("Short Date")) + " - " +
         vb::Format(moment, QStringLiteral("Long Time"));
}

int FrmPartage::Form_Load(const QStringList& args) {
  chemins = lireLigneCommande(args);
  if (chemins.CheminImage.isEmpty()) {
    vb::MsgBox(QStringLiteral("No picture was given to share."), vb::vbExclamation);
    return 2;
  }
  // Refused before the picture is decoded: the upload would refuse it anyway.
  if (QFileInfo(chemins.CheminImage).size() > envoi::kTailleImageMax) {
    vb::MsgBox("The file \"" + chemins.CheminImage + "\" is larger than " +
                   QString::number(envoi::kTailleImageMax >> 20) + " MB, the most an upload takes. Nothing was sent.",
               vb::vbExclamation);
    return 2;
  }
  QImageReader lecteur(chemins.CheminImage);
  PictInvis = lecteur.read();
  if (PictInvis.isNull()) {
    vb::MsgBox("The file \"" + chemins.CheminImage + "\" cannot be read as a picture (" +
                   lecteur.errorString() + "). Nothing was sent.",
               vb::vbExclamation);
    return 2;
  }
  return EnvoiImage() ? 0 : 1;
}

bool FrmPartage::EnvoiImage() {
  const envoi::ParamsEnvoi params{QStringLiteral("Velistrom"), titreEnvoi(vb::Now()),
                                  QStringLiteral("mon commentaire"), QStringLiteral(" ")};
  const std::optional<QString> hote = options.adresseHote ? options.adresseHote : envoi::AdresseHote();

  auto succes = [&](const QString& id) {
    IdImage = id;
    Labverif = envoi::adressePage(*hote, id);
    const bool ouvert = ouvrirAdresse ? ouvrirAdresse(Labverif) : platform::openAddress(Labverif);
    if (!ouvert)
      throw envoi::ErreurPiegee(
          ("the picture was sent, but its page " + Labverif + " could not be opened in the browser")
              .toStdString());
    // Only our own hand-over copies go; a user's file stays where it is.
    if (dansDossier(chemins.CheminRecu, dossierDonnees)) QFile::remove(chemins.CheminRecu);
  };
  const envoi::ResultatEnvoi r = envoi::EnvoiXmlRpc(chemins.CheminImage, params, succes, options);
  switch (r.issue) {
    case envoi::ResultatEnvoi::Issue::Succes: return true;
    case envoi::ResultatEnvoi::Issue::ErreurPiegee:
      vb::MsgBox("The picture could not be shared: " + r.message + ".", vb::vbExclamation);
      return false;
    default: return false;  // an error answer has had its box already
  }
}

}  // namespace spreadwell
