// The pure pieces of the upload client: answer reader, messages, addresses.
#include "common/EnvoiXmlRpc.h"
#include "common/LigneCommande.h"
#include "common/XmlRpc.h"

#include <gtest/gtest.h>

using namespace xmlrpc;

namespace {

struct CasReponse {
  const char* nom;
  QByteArray corps;
  int statut;
  QString attendu;  // status 3: the first value; 2: "code|description"; 4: part of the error
  ValeurRpc::Type type = ValeurRpc::Type::String;
  int nombre = 1;
};

const QByteArray kDebut = "<?xml version=\"1.0\"?><methodResponse>";

TEST(LireReponse, TableOfAnswers) {
  const CasReponse cas[] = {
      {"untyped value keeps its blanks", kDebut + "<params><param><value>  a b </value></param></params></methodResponse>",
       kParametres, "  a b "},
      {"typed string with entities", kDebut + "<params><param><value><string>x&amp;&lt;y</string></value></param></params></methodResponse>",
       kParametres, "x&<y"},
      {"empty string", kDebut + "<params><param><value><string/></value></param></params></methodResponse>",
       kParametres, ""},
      {"integer", kDebut + "<params><param><value><i4> 7 </i4></value></param></params></methodResponse>",
       kParametres, "7", ValeurRpc::Type::Int},
      {"array", kDebut + "<params><param><value><array><data><value>a</value></data></array></value></param></params></methodResponse>",
       kParametres, "", ValeurRpc::Type::Array},
      {"no value", kDebut + "<params/></methodResponse>", kParametres, "", ValeurRpc::Type::String, 0},
      {"fault with int code", kDebut + "<fault><value><struct><member><name>faultCode</name><value><int>4</int></value></member>"
                                       "<member><name>faultString</name><value><string>Too big</string></value></member></struct></value></fault></methodResponse>",
       kFaute, "4|Too big"},
      {"fault with string code", kDebut + "<fault><value><struct><member><name>faultString</name><value>No</value></member>"
                                          "<member><name>faultCode</name><value>E1</value></member></struct></value></fault></methodResponse>",
       kFaute, "E1|No"},
      {"html page", "<html><body>hi</body></html>", kErreurXml, "methodResponse"},
      {"bad integer", kDebut + "<params><param><value><int>x</int></value></param></params></methodResponse>", kErreurXml, "integer"},
      {"unknown type", kDebut + "<params><param><value><blob>x</blob></value></param></params></methodResponse>", kErreurXml, "blob"},
      {"fault not a struct", kDebut + "<fault><value>oops</value></fault></methodResponse>", kErreurXml, "struct"},
      {"trailing element", kDebut + "<params/></methodResponse><x/>", kErreurXml, ""},
      {"two types in a value", kDebut + "<params><param><value><string>a</string><string>b</string></value></param></params></methodResponse>",
       kErreurXml, "more than one type"},
      {"empty body", "", kErreurXml, "Premature end of document"},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nom);
    const ReponseRpc r = lireReponse(200, c.corps);
    ASSERT_EQ(r.statut, c.statut) << r.erreurXml.toStdString();
    if (c.statut == kParametres) {
      ASSERT_EQ(r.parametres.size(), c.nombre);
      if (c.nombre == 1) {
        EXPECT_EQ(r.parametres[0].type, c.type);
        EXPECT_EQ(r.parametres[0].texte, c.attendu);
      }
    } else if (c.statut == kFaute) {
      EXPECT_EQ(r.faute.code + "|" + r.faute.description, c.attendu);
    } else {
      EXPECT_TRUE(r.erreurXml.contains(c.attendu)) << r.erreurXml.toStdString();
    }
  }
}

TEST(LireReponse, AnyStatusButOkIsAnHttpErrorWhateverTheBody) {
  const QByteArray bon = kDebut + "<params><param><value>x</value></param></params></methodResponse>";
  for (int code : {201, 301, 404, 500}) {
    const ReponseRpc r = lireReponse(code, bon);
    EXPECT_EQ(r.statut, kErreurHttp);
    EXPECT_EQ(r.codeHttp, code);
  }
}

TEST(LireReponse, DeepNestingWithinTheSizeCapIsAnXmlErrorNotACrash) {
  // The reader goes down before it sees that the answer never closes: some
  // 50000 open levels fit in the 1 MB an answer may have.
  QByteArray corps = kDebut + "<params><param>";
  for (int i = 0; i < 50000; ++i) corps += "<value><array><data>";
  ASSERT_LE(corps.size(), Limites{}.tailleReponseMax);
  const ReponseRpc r = lireReponse(200, corps);
  EXPECT_EQ(r.statut, kErreurXml);
  EXPECT_TRUE(r.erreurXml.contains("nested")) << r.erreurXml.toStdString();

  QByteArray membres = kDebut + "<params><param>";
  for (int i = 0; i < 30000; ++i) membres += "<value><struct><member><name>m</name>";
  EXPECT_EQ(lireReponse(200, membres).statut, kErreurXml);
}

TEST(MessageReponse, EveryStatusHasItsFixedText) {
  ReponseRpc r;
  EXPECT_EQ(envoi::messageReponse(r), "Weird, the response claims not to be initialised !!!");
  r.statut = 7;
  EXPECT_EQ(envoi::messageReponse(r), "Double Weird, unknown response status '7'.");
  r.statut = -70000;
  EXPECT_EQ(envoi::messageReponse(r), "Double Weird, unknown response status '-70000'.");
  r.statut = kErreurHttp;
  r.codeHttp = 404;
  EXPECT_EQ(envoi::messageReponse(r), "HTTP error encountered. Code is '404', description is 'Not Found'.");
  r.statut = kParametres;
  EXPECT_EQ(envoi::messageReponse(r), "Expecting one return parameter, received '0'.");
  r.parametres.append(ValeurRpc{});
  EXPECT_EQ(envoi::messageReponse(r), std::nullopt);
  r.parametres.append(ValeurRpc{});
  EXPECT_EQ(envoi::messageReponse(r), "Expecting one return parameter, received '2'.");
  r.statut = kErreurXml;
  r.erreurXml = "Premature end of document.";
  EXPECT_EQ(envoi::messageReponse(r), "XML Parsing Error encountered 'Premature end of document.'.");
}

TEST(HttpStatusText, StandardPhrasesAndUnknownCodes) {
  EXPECT_EQ(httpStatusText(200), "OK");
  EXPECT_EQ(httpStatusText(301), "Moved Permanently");
  EXPECT_EQ(httpStatusText(404), "Not Found");
  EXPECT_EQ(httpStatusText(500), "Internal Server Error");
  EXPECT_EQ(httpStatusText(503), "Service Unavailable");
  EXPECT_EQ(httpStatusText(418), "Unknown");
  EXPECT_EQ(httpStatusText(0), "Unknown");
}

TEST(AdresseHote, OnlySchemeHostAndPort) {
  const std::pair<const char*, std::optional<QString>> cas[] = {
      {"http://127.0.0.1:8080", "http://127.0.0.1:8080"},
      {"http://127.0.0.1:8080/", "http://127.0.0.1:8080"},
      {" https://images.example ", "https://images.example"},
      {"127.0.0.1:8080", std::nullopt},
      {"ftp://127.0.0.1", std::nullopt},
      {"http://127.0.0.1/zimage", std::nullopt},
      {"http://user:pw@127.0.0.1", std::nullopt},
      {"http://127.0.0.1?x=1", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [texte, attendu] : cas) EXPECT_EQ(envoi::adresseHoteDe(texte), attendu) << texte;
  EXPECT_EQ(envoi::adressePage("http://h:1", "ab"), "http://h:1/zimage/ab.php");
}

// The overall limit of an upload: two minutes, or whole seconds from the
// environment; anything else there leaves the two minutes.
TEST(Limites, OverallLimitFromTheEnvironment) {
  const struct {
    const char* valeur;
    long long ms;
  } cas[] = {{nullptr, 120000}, {"3", 3000},      {"86400", 86400000}, {"0", 120000}, {"-5", 120000},
             {"86401", 120000}, {"2.5", 120000}, {"soon", 120000},     {"", 120000}};
  for (const auto& c : cas) {
    SCOPED_TRACE(c.valeur ? c.valeur : "(unset)");
    if (c.valeur)
      qputenv("VELISTROM_UPLOAD_TIMEOUT", c.valeur);
    else
      qunsetenv("VELISTROM_UPLOAD_TIMEOUT");
    EXPECT_EQ(Limites{}.total.count(), c.ms);
  }
  qunsetenv("VELISTROM_UPLOAD_TIMEOUT");
}

TEST(IdImage, OnlyShortRunsOfSafeCharacters) {
  for (const char* bon : {"a", "Xy12_ab-3.z", "0123456789012345678901234567890123456789012345678901234567890123"})
    EXPECT_TRUE(envoi::idImageValide(bon)) << bon;
  for (const char* mauvais : {"", "a/b", "a b", "<x>", "a\"b", "a\nb", "été", "a?b", "a#b",
                              "01234567890123456789012345678901234567890123456789012345678901234"})
    EXPECT_FALSE(envoi::idImageValide(mauvais)) << mauvais;
}

TEST(EncodeB64, NoLineBreaksEvenForLongInput) {
  const QByteArray octets(100000, '\xff');
  const QString b64 = envoi::EncodeB64(octets);
  EXPECT_FALSE(b64.contains('\n'));
  EXPECT_EQ(QByteArray::fromBase64(b64.toLatin1()), octets);
  EXPECT_EQ(envoi::EncodeB64({}), "");
}

TEST(LigneCommande, PathNameAndCopies) {
  struct Cas {
    QStringList args;
    QString chemin, nom;
  };
  const Cas cas[] = {
      {{"/tmp/a/Capt.jpg"}, "/tmp/a/Capt.jpg", "Capt.jpg"},
      {{"/tmp/my", "pics/a", "b.gif"}, "/tmp/my pics/a b.gif", "a b.gif"},
      {{"\"/tmp/q.jpg\""}, "\"/tmp/q.jpg\"", "q.jpg\""},
      {{"plain.png"}, "plain.png", "plain.png"},
      {{" /tmp/x.jpg "}, " /tmp/x.jpg ", "x.jpg "},
      {{}, "", ""},
  };
  for (const auto& c : cas) {
    const CheminsImage r = lireLigneCommande(c.args);
    EXPECT_EQ(r.CheminImage, c.chemin);
    EXPECT_EQ(r.NomImage, c.nom);
    EXPECT_EQ(r.TitreImage, c.nom);
    EXPECT_EQ(r.CheminRecu, c.chemin);
  }
}

}  // namespace
