#include "common/EnvoiXmlRpc.h"

#include "common/TexteServeur.h"
#include "platform/Folders.h"
#include "platform/forms/Busy.h"
#include "platform/forms/MsgBox.h"

#include <QApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace envoi {
namespace {

// The wait cursor for as long as the scope lives, whatever way it is left.
class Sablier {
 public:
  Sablier() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~Sablier() { QApplication::restoreOverrideCursor(); }
  Sablier(const Sablier&) = delete;
  Sablier& operator=(const Sablier&) = delete;
};

ResultatEnvoi piegee(const QString& pourquoi) {
  ResultatEnvoi r;
  r.issue = ResultatEnvoi::Issue::ErreurPiegee;
  r.message = pourquoi;
  return r;
}

}  // namespace

std::optional<QString> adresseHoteDe(const QString& texte) {
  QString t = texte.trimmed();
  while (t.endsWith('/')) t.chop(1);
  const QUrl url(t, QUrl::StrictMode);
  if (!url.isValid() || url.host().isEmpty()) return std::nullopt;
  if (url.scheme() != u"http" && url.scheme() != u"https") return std::nullopt;
  if (!url.userInfo().isEmpty() || !url.path().isEmpty() || url.hasQuery() || url.hasFragment())
    return std::nullopt;
  return url.toString(QUrl::FullyEncoded);
}

std::optional<QString> AdresseHote() {
  const QByteArray env = qgetenv("VELISTROM_IMAGE_HOST");
  if (env.isEmpty()) return std::nullopt;
  return adresseHoteDe(QString::fromLocal8Bit(env));
}

QString adressePage(const QString& base, const QString& idImage) {
  return base + "/zimage/" + idImage + ".php";
}

bool idImageValide(const QString& idImage) {
  static const QRegularExpression motif(QStringLiteral("^[A-Za-z0-9._-]{1,64}$"));
  return motif.match(idImage).hasMatch();
}

QString EncodeB64(const QByteArray& octets) { return QString::fromLatin1(octets.toBase64()); }

void AffErreur(const QString& texte) { vb::MsgBox(texte, vb::vbCritical | vb::vbOKOnly); }

std::optional<QString> messageReponse(const xmlrpc::ReponseRpc& r) {
  switch (r.statut) {
    case xmlrpc::kNonInitialise:
      return QStringLiteral("Weird, the response claims not to be initialised !!!");
    case xmlrpc::kErreurHttp:
      return "HTTP error encountered. Code is '" + QString::number(r.codeHttp) +
             "', description is '" + xmlrpc::httpStatusText(r.codeHttp) + "'.";
    case xmlrpc::kFaute:
      return "Server returned a fault. Code is '" + texteServeur(r.faute.code) + "', description is '" +
             texteServeur(r.faute.description) + "'.";
    case xmlrpc::kParametres:
      if (r.parametres.size() == 1) return std::nullopt;
      return "Expecting one return parameter, received '" + QString::number(r.parametres.size()) +
             "'.";
    case xmlrpc::kErreurXml:
      return "XML Parsing Error encountered '" + r.erreurXml + "'.";
    default:
      return "Double Weird, unknown response status '" + QString::number(r.statut) + "'.";
  }
}

ResultatEnvoi EnvoiXmlRpc(const QString& cheminImage, const ParamsEnvoi& params,
                          const std::function<void(const QString&)>& succes,
                          const OptionsEnvoi& options) {
  if (cheminImage.isEmpty()) return {};

  // Never read whole beyond the limit: base64 and the request make four copies of it.
  if (QFileInfo(cheminImage).size() > kTailleImageMax)
    return piegee("the picture \"" + cheminImage + "\" is larger than " +
                  QString::number(kTailleImageMax >> 20) + " MB, the most an upload takes");
  QString raison;
  const std::optional<QByteArray> lus = platform::readRegularFile(cheminImage, kTailleImageMax, &raison);
  if (!lus) return piegee("the picture cannot be read: " + raison);
  const QByteArray& octets = *lus;

  const std::optional<QString> hote = options.adresseHote ? options.adresseHote : AdresseHote();
  if (!hote) {
    const QString reglage = QString::fromLocal8Bit(qgetenv("VELISTROM_IMAGE_HOST"));
    ResultatEnvoi r = piegee(
        reglage.isEmpty()
            ? QStringLiteral("no image host is configured (set VELISTROM_IMAGE_HOST to an "
                             "address such as http://host:port)")
            : "VELISTROM_IMAGE_HOST=\"" + reglage +
                  "\" is not an image host address such as http://host:port");
    r.hoteAbsent = true;
    return r;
  }

  // Held through the caller's success steps too; an error box goes up without it.
  std::optional<Sablier> sablier(std::in_place);
  const QByteArray requete = xmlrpc::ecrireRequete(
      QStringLiteral("apiXml.xmlrpcUpload"),
      {EncodeB64(octets), params.nom, params.titre, params.commentaire, params.reserve});
  // The windows repaint while the host answers, but take no input.
  xmlrpc::ResultatHttp http;
  vb::RunBusy([&] { http = xmlrpc::posterXml(*hote + "/apiXml.php", requete, options.limites); });
  if (!http.transmis) return piegee("the image host did not answer: " + http.erreur);
  const xmlrpc::ReponseRpc reponse = xmlrpc::lireReponse(http.code, http.corps);

  if (const auto message = messageReponse(reponse)) {
    sablier.reset();
    AffErreur(*message);
    ResultatEnvoi r;
    r.issue = ResultatEnvoi::Issue::ErreurStatut;
    r.message = *message;
    return r;
  }
  const xmlrpc::ValeurRpc& valeur = reponse.parametres.front();
  if (!valeur.estTexte()) return piegee("the image host returned a value that is not a string");
  if (!idImageValide(valeur.texte))
    return piegee("the image host returned an unusable picture id");

  ResultatEnvoi r;
  r.issue = ResultatEnvoi::Issue::Succes;
  r.idImage = valeur.texte;
  r.adresseHote = *hote;
  if (succes) {
    try {
      succes(r.idImage);
    } catch (const ErreurPiegee& e) {
      return piegee(QString::fromUtf8(e.what()));
    }
  }
  return r;
}

}  // namespace envoi
