#include "common/XmlRpc.h"

#include <QHash>
#include <QUrl>
#include <QXmlStreamReader>

#include <curl/curl.h>

#include <memory>
#include <mutex>
#include <vector>

namespace xmlrpc {
namespace {

// ---- request ----

// XML 1.0 cannot carry most control characters at all; CR must be a reference
// or the reader turns it into LF.
void ajouterEchappe(QString& out, const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    const char16_t u = c.unicode();
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      out += c;
      out += text[++i];
      continue;
    }
    if (c.isSurrogate() || u == 0xFFFE || u == 0xFFFF) continue;
    switch (u) {
      case '&': out += u"&amp;"; break;
      case '<': out += u"&lt;"; break;
      case '>': out += u"&gt;"; break;
      case '\r': out += u"&#13;"; break;
      case '\t':
      case '\n': out += c; break;
      default:
        if (u >= 0x20) out += c;
    }
  }
}

// ---- response ----

struct Valeur {
  ValeurRpc scalaire;
  std::vector<QString> noms;     // struct member names
  std::vector<Valeur> membres;   // struct member values
};

class Lecteur {
 public:
  explicit Lecteur(const QByteArray& corps) : xml_(corps) {}

  ReponseRpc lire() {
    ReponseRpc r;
    if (!prochainDebut() || xml_.name() != u"methodResponse") {
      echec("the answer is not an XML-RPC methodResponse");
    } else if (!prochainDebut()) {
      echec("empty methodResponse");
    } else if (xml_.name() == u"params") {
      lireParams(r);
      if (!xml_.hasError()) r.statut = kParametres;
    } else if (xml_.name() == u"fault") {
      lireFaute(r);
      if (!xml_.hasError()) r.statut = kFaute;
    } else {
      echec("unexpected element <" + xml_.name().toString() + "> in methodResponse");
    }
    if (!xml_.hasError()) finDuDocument();
    if (xml_.hasError()) {
      ReponseRpc e;
      e.statut = kErreurXml;
      e.codeHttp = 200;
      e.erreurXml = xml_.errorString();
      return e;
    }
    r.codeHttp = 200;
    return r;
  }

 private:
  void echec(const QString& msg) {
    if (!xml_.hasError()) xml_.raiseError(msg);
  }

  // Next start element at this level; false at the parent's end or on error.
  bool prochainDebut() {
    while (!xml_.atEnd()) {
      const auto t = xml_.readNext();
      if (t == QXmlStreamReader::StartElement) return true;
      if (t == QXmlStreamReader::EndElement) return false;
      if (t == QXmlStreamReader::Characters && !xml_.isWhitespace()) {
        echec("unexpected text in the answer");
        return false;
      }
    }
    return false;
  }

  void finDuDocument() {
    // Closing of methodResponse, then nothing but the end.
    while (!xml_.atEnd()) {
      const auto t = xml_.readNext();
      if (t == QXmlStreamReader::StartElement) echec("unexpected element after the answer");
      if (t == QXmlStreamReader::Characters && !xml_.isWhitespace()) echec("unexpected text after the answer");
      if (xml_.hasError()) return;
    }
  }

  void lireParams(ReponseRpc& r) {
    while (prochainDebut()) {
      if (xml_.name() != u"param") return echec("expected <param>");
      if (!prochainDebut() || xml_.name() != u"value") return echec("expected <value> in <param>");
      Valeur v = lireValeur();
      if (xml_.hasError()) return;
      r.parametres.append(v.scalaire);
      if (prochainDebut()) return echec("more than one value in <param>");
    }
  }

  void lireFaute(ReponseRpc& r) {
    if (!prochainDebut() || xml_.name() != u"value") return echec("expected <value> in <fault>");
    Valeur v = lireValeur();
    if (xml_.hasError()) return;
    if (v.scalaire.type != ValeurRpc::Type::Struct) return echec("the fault is not a struct");
    for (size_t i = 0; i < v.noms.size(); ++i) {
      if (v.noms[i] == u"faultCode") r.faute.code = v.membres[i].scalaire.texte;
      if (v.noms[i] == u"faultString") r.faute.description = v.membres[i].scalaire.texte;
    }
    if (prochainDebut()) echec("more than one value in <fault>");
  }

  // Called on the start of <value>; returns after its end.
  Valeur lireValeur() {
    Valeur v;
    // Values nest by recursion: a hostile answer must not run the stack out.
    if (profondeur_ >= kProfondeurMax) {
      echec("values nested too deeply in the answer");
      return v;
    }
    ++profondeur_;
    lireContenuValeur(v);
    --profondeur_;
    return v;
  }

  void lireContenuValeur(Valeur& v) {
    QString texte;
    bool type = false;
    while (!xml_.atEnd()) {
      const auto t = xml_.readNext();
      if (t == QXmlStreamReader::Characters) {
        texte += xml_.text();
      } else if (t == QXmlStreamReader::StartElement) {
        if (type) {
          echec("more than one type in <value>");
          return;
        }
        type = true;
        lireType(v);
        if (xml_.hasError()) return;
      } else if (t == QXmlStreamReader::EndElement) {
        break;
      }
    }
    if (!type) {
      v.scalaire.type = ValeurRpc::Type::String;  // an untyped value is a string
      v.scalaire.texte = texte;
    } else if (!texte.trimmed().isEmpty()) {
      echec("text beside the type of a <value>");
    }
  }

  void lireType(Valeur& v) {
    using T = ValeurRpc::Type;
    static const QHash<QString, T> scalaires = {
        {"string", T::String},     {"int", T::Int},          {"i4", T::Int},
        {"i8", T::Int},            {"boolean", T::Boolean},  {"double", T::Double},
        {"dateTime.iso8601", T::DateTime}, {"base64", T::Base64}};
    const QString nom = xml_.name().toString();
    if (auto it = scalaires.find(nom); it != scalaires.end()) {
      v.scalaire.type = *it;
      v.scalaire.texte = xml_.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
      if (*it == T::Int) {
        bool ok = false;
        v.scalaire.texte.trimmed().toLongLong(&ok);
        if (!ok) echec("bad integer in the answer");
        v.scalaire.texte = v.scalaire.texte.trimmed();
      }
      return;
    }
    if (nom == u"nil") {
      v.scalaire.type = T::Nil;
      xml_.skipCurrentElement();
    } else if (nom == u"array") {
      v.scalaire.type = T::Array;
      lireTableau();
    } else if (nom == u"struct") {
      v.scalaire.type = T::Struct;
      lireStruct(v);
    } else {
      echec("unknown value type <" + nom + ">");
    }
  }

  void lireTableau() {
    if (!prochainDebut() || xml_.name() != u"data") return echec("expected <data> in <array>");
    while (prochainDebut()) {
      if (xml_.name() != u"value") return echec("expected <value> in <data>");
      lireValeur();
      if (xml_.hasError()) return;
    }
    if (prochainDebut()) echec("unexpected element in <array>");
  }

  void lireStruct(Valeur& v) {
    while (prochainDebut()) {
      if (xml_.name() != u"member") return echec("expected <member> in <struct>");
      QString nom;
      std::optional<Valeur> valeur;
      while (prochainDebut()) {
        if (xml_.name() == u"name") {
          nom = xml_.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        } else if (xml_.name() == u"value") {
          valeur = lireValeur();
        } else {
          return echec("unexpected element in <member>");
        }
        if (xml_.hasError()) return;
      }
      if (xml_.hasError()) return;
      if (!valeur) return echec("a <member> without <value>");
      v.noms.push_back(nom);
      v.membres.push_back(std::move(*valeur));
    }
  }

  static constexpr int kProfondeurMax = 64;
  int profondeur_ = 0;
  QXmlStreamReader xml_;
};

// ---- transport ----

struct Reception {
  QByteArray corps;
  qint64 max = 0;
  bool tropGros = false;
};

size_t recevoir(char* data, size_t size, size_t n, void* user) {
  auto* r = static_cast<Reception*>(user);
  const size_t total = size * n;
  if (r->corps.size() + qint64(total) > r->max) {
    r->tropGros = true;
    return 0;  // makes curl stop with a write error
  }
  r->corps.append(data, qsizetype(total));
  return total;
}

void initialiserCurl() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

std::chrono::milliseconds Limites::totalParDefaut() {
  bool ok = false;
  const int secondes = qEnvironmentVariableIntValue("VELISTROM_UPLOAD_TIMEOUT", &ok);
  if (ok && secondes >= 1 && secondes <= 86400) return std::chrono::seconds(secondes);
  return std::chrono::seconds(120);
}

QByteArray ecrireRequete(const QString& methode, const QStringList& parametres) {
  QString x;
  x += u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<methodCall><methodName>";
  ajouterEchappe(x, methode);
  x += u"</methodName><params>";
  for (const QString& p : parametres) {
    x += u"<param><value><string>";
    ajouterEchappe(x, p);
    x += u"</string></value></param>";
  }
  x += u"</params></methodCall>\n";
  return x.toUtf8();
}

ReponseRpc lireReponse(int codeHttp, const QByteArray& corps) {
  if (codeHttp != 200) {
    ReponseRpc r;
    r.statut = kErreurHttp;
    r.codeHttp = codeHttp;
    return r;
  }
  return Lecteur(corps).lire();
}

QString httpStatusText(int code) {
  static const QHash<int, const char*> phrases = {
      {100, "Continue"}, {101, "Switching Protocols"}, {102, "Processing"}, {103, "Early Hints"},
      {200, "OK"}, {201, "Created"}, {202, "Accepted"}, {203, "Non-Authoritative Information"},
      {204, "No Content"}, {205, "Reset Content"}, {206, "Partial Content"}, {207, "Multi-Status"},
      {208, "Already Reported"}, {226, "IM Used"},
      {300, "Multiple Choices"}, {301, "Moved Permanently"}, {302, "Found"}, {303, "See Other"},
      {304, "Not Modified"}, {305, "Use Proxy"}, {307, "Temporary Redirect"},
      {308, "Permanent Redirect"},
      {400, "Bad Request"}, {401, "Unauthorized"}, {402, "Payment Required"}, {403, "Forbidden"},
      {404, "Not Found"}, {405, "Method Not Allowed"}, {406, "Not Acceptable"},
      {407, "Proxy Authentication Required"}, {408, "Request Timeout"}, {409, "Conflict"},
      {410, "Gone"}, {411, "Length Required"}, {412, "Precondition Failed"},
      {413, "Content Too Large"}, {414, "URI Too Long"}, {415, "Unsupported Media Type"},
      {416, "Range Not Satisfiable"}, {417, "Expectation Failed"}, {421, "Misdirected Request"},
      {422, "Unprocessable Content"}, {423, "Locked"}, {424, "Failed Dependency"},
      {425, "Too Early"}, {426, "Upgrade Required"}, {428, "Precondition Required"},
      {429, "Too Many Requests"}, {431, "Request Header Fields Too Large"},
      {451, "Unavailable For Legal Reasons"},
      {500, "Internal Server Error"}, {501, "Not Implemented"}, {502, "Bad Gateway"},
      {503, "Service Unavailable"}, {504, "Gateway Timeout"}, {505, "HTTP Version Not Supported"},
      {506, "Variant Also Negotiates"}, {507, "Insufficient Storage"}, {508, "Loop Detected"},
      {510, "Not Extended"}, {511, "Network Authentication Required"}};
  const auto it = phrases.find(code);
  return it == phrases.end() ? QStringLiteral("Unknown") : QString::fromLatin1(*it);
}

ResultatHttp posterXml(const QString& url, const QByteArray& corps, const Limites& limites) {
  initialiserCurl();
  ResultatHttp res;
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
  if (!curl) {
    res.erreur = "the HTTP client could not be started";
    return res;
  }
  curl_slist* entetes = nullptr;
  entetes = curl_slist_append(entetes, "Content-Type: text/xml");
  entetes = curl_slist_append(entetes, "Expect:");
  std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> garde(entetes, &curl_slist_free_all);

  Reception rec;
  rec.max = limites.tailleReponseMax;
  char tampon[CURL_ERROR_SIZE] = {};
  const QByteArray adresse = url.toUtf8();
  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, adresse.constData());
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_POST, 1L);
  curl_easy_setopt(c, CURLOPT_POSTFIELDS, corps.constData());
  curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(corps.size()));
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, entetes);
  curl_easy_setopt(c, CURLOPT_USERAGENT, "Velistrom");
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  // A proxy from the environment must not catch calls to this machine.
  curl_easy_setopt(c, CURLOPT_NOPROXY, "localhost,127.0.0.1,::1");
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, long(limites.connexion.count()));
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, limites.lowSpeedBytes);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, long(limites.lowSpeedTime.count()));
  if (limites.total.count() > 0) curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, long(limites.total.count()));
  curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(limites.tailleReponseMax));
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &recevoir);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &rec);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, tampon);

  const CURLcode rc = curl_easy_perform(c);
  if (rc != CURLE_OK) {
    if (rec.tropGros || rc == CURLE_FILESIZE_EXCEEDED)
      res.erreur = QString("the answer is larger than %1 bytes").arg(limites.tailleReponseMax);
    else
      res.erreur = QString::fromUtf8(tampon[0] ? tampon : curl_easy_strerror(rc));
    return res;
  }
  long code = 0;
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &code);
  res.transmis = true;
  res.code = int(code);
  res.corps = std::move(rec.corps);
  return res;
}

}  // namespace xmlrpc
