#pragma once
// A small XML-RPC client for the one call the companions make: a request writer,
// a response reader and the HTTP transport. Only string parameters go out; the
// reader understands every standard value type so that an unexpected answer is
// reported, not misread.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

namespace xmlrpc {

// One returned value. Only the type and, for scalars, the text are kept.
struct ValeurRpc {
  enum class Type { String, Int, Boolean, Double, DateTime, Base64, Array, Struct, Nil };
  Type type = Type::String;
  QString texte;  // the value as written in the answer (scalars only)
  bool estTexte() const { return type == Type::String; }
};

struct FauteRpc {
  QString code;         // faultCode as text, integer or not
  QString description;  // faultString
};

// What an answer amounts to, in the status numbers the callers test.
enum StatutRpc : int {
  kNonInitialise = 0,  // no answer read yet
  kErreurHttp = 1,     // HTTP status other than 200
  kFaute = 2,          // an XML-RPC fault
  kParametres = 3,     // returned parameters
  kErreurXml = 4,      // the body is no XML-RPC answer
};

struct ReponseRpc {
  int statut = kNonInitialise;
  int codeHttp = 0;
  QList<ValeurRpc> parametres;  // status 3
  FauteRpc faute;               // status 2
  QString erreurXml;            // status 4
};

// The XML of a call with string parameters, UTF-8, with the XML declaration.
QByteArray ecrireRequete(const QString& methode, const QStringList& parametres);

// Reads an HTTP answer: any status other than 200 is an HTTP error; otherwise
// the body must be a methodResponse with params or a fault.
ReponseRpc lireReponse(int codeHttp, const QByteArray& corps);

// The standard reason phrase of an HTTP status ("Not Found" for 404), or
// "Unknown" for a code without one.
QString httpStatusText(int code);

// Transport limits. A transfer is given up when it stalls (under lowSpeedBytes
// per second for lowSpeedTime) and, so a host that drips its answer cannot hold
// the program for days, when the whole exchange passes total.
struct Limites {
  // 120 s, or VELISTROM_UPLOAD_TIMEOUT seconds when that holds a whole number
  // from 1 to 86400 (tests take a few).
  static std::chrono::milliseconds totalParDefaut();

  std::chrono::milliseconds connexion{15000};
  std::chrono::seconds lowSpeedTime{30};
  long lowSpeedBytes = 1;
  std::chrono::milliseconds total = totalParDefaut();  // 0: no overall cap
  qint64 tailleReponseMax = 1 << 20;
};

struct ResultatHttp {
  bool transmis = false;  // false: no HTTP answer (refused, timeout, cut, too big)
  int code = 0;
  QByteArray corps;
  QString erreur;  // why there is no answer
};

// POSTs `corps` as text/xml to url (http or https). Sends a Content-Length and
// no "Expect: 100-continue", follows no redirect.
ResultatHttp posterXml(const QString& url, const QByteArray& corps, const Limites& limites);

}  // namespace xmlrpc
