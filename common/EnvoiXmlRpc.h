#pragma once
// The upload of one picture to the image host, shared by Postelle and Spreadwell:
// the file goes out base64-encoded as the first of five string parameters of
// "apiXml.xmlrpcUpload"; the answer is one string, the picture id.
#include "common/XmlRpc.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <stdexcept>

namespace envoi {

// The image host's base address ("http://host[:port]", no trailing slash), from
// VELISTROM_IMAGE_HOST. nullopt when it is not set or is not such an address.
std::optional<QString> AdresseHote();
// The same check on a given text.
std::optional<QString> adresseHoteDe(const QString& texte);

// The page of an uploaded picture: base + "/zimage/" + id + ".php".
QString adressePage(const QString& base, const QString& idImage);

// An id goes into addresses, link code and the history file: only a short run
// of letters, digits, '.', '-' and '_' is taken.
bool idImageValide(const QString& idImage);

// The largest picture sent; a larger one is refused before it is read.
inline constexpr qint64 kTailleImageMax = qint64(64) << 20;

// Base64 of the bytes, without line breaks.
QString EncodeB64(const QByteArray& octets);

// The error box of both programs: critical icon, OK, the program's title.
void AffErreur(const QString& texte);

// The message of an answer that is not a success; nullopt for status 3 with
// exactly one returned value.
std::optional<QString> messageReponse(const xmlrpc::ReponseRpc& reponse);

// The four parameters after the file's content.
struct ParamsEnvoi {
  QString nom;
  QString titre;
  QString commentaire;
  QString reserve = QStringLiteral(" ");
};

// Raised by the success steps of a caller to take the trapped path.
struct ErreurPiegee : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct ResultatEnvoi {
  enum class Issue {
    RienAEnvoyer,  // empty path: nothing sent, nothing shown
    Succes,        // the id came back and the success steps ran
    ErreurStatut,  // the answer was an error: its box has been shown
    ErreurPiegee,  // no usable answer (file, host, transport, id, success steps)
  };
  Issue issue = Issue::RienAEnvoyer;
  QString idImage;      // Succes
  QString adresseHote;  // Succes: the host the picture went to
  QString message;  // ErreurStatut: the text shown; ErreurPiegee: what went wrong
  bool hoteAbsent = false;  // ErreurPiegee because no image host is configured
};

struct OptionsEnvoi {
  std::optional<QString> adresseHote;  // default: AdresseHote()
  xmlrpc::Limites limites;
};

// One upload of the file at cheminImage. The wait cursor is held while the file
// is encoded and sent and while succes runs; while the host answers, the
// windows repaint but take no input (vb::RunBusy). An error answer ends in one
// AffErreur box; every other failure is returned as ErreurPiegee without a box
// (each caller words its own).
// succes runs with the id once it has been accepted; it may throw ErreurPiegee.
ResultatEnvoi EnvoiXmlRpc(const QString& cheminImage, const ParamsEnvoi& params,
                          const std::function<void(const QString& idImage)>& succes = {},
                          const OptionsEnvoi& options = {});

}  // namespace envoi
