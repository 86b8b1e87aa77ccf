// The upload against the real XML-RPC test host on 127.0.0.1.
#include "common/EnvoiXmlRpc.h"
#include "tests/support/ImageHost.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/TestEnv.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using envoi::ResultatEnvoi;
using Issue = envoi::ResultatEnvoi::Issue;

namespace {

// Boxes go to a log instead of the screen; each test reads its own.
class Envoi : public ::testing::Test {
 protected:
  void SetUp() override {
    qunsetenv("VELISTROM_IMAGE_HOST");
  }
  void TearDown() override {
    qunsetenv("VELISTROM_IMAGE_HOST");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "wait cursor left behind";
  }
  QStringList boxes() const { return recorder_.boxes(); }
  testenv::BoxRecorder recorder_;
  QString file(const QString& name, const QByteArray& bytes) const {
    const QString path = testenv::home() + "/" + name;
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  }
  static envoi::OptionsEnvoi vers(const testenv::ImageHost& host) {
    envoi::OptionsEnvoi o;
    o.adresseHote = host.address();
    return o;
  }
};

const envoi::ParamsEnvoi kParams{"Capt.jpg", "Title", "Comment", " "};

TEST_F(Envoi, RequestIsExact) {
  QByteArray tous;
  for (int rep = 0; rep < 3; ++rep)
    for (int b = 0; b < 256; ++b) tous.append(char(b));
  QByteArray grand(5 * 1024 * 1024, '\0');
  QRandomGenerator gen(1234);
  for (auto& c : grand) c = char(gen.bounded(256));

  struct Cas {
    const char* nom;
    QByteArray octets;
    envoi::ParamsEnvoi params;
  };
  const Cas cas[] = {
      {"every byte value", tous, kParams},
      {"empty file", {}, kParams},
      {"5 MB file", grand, kParams},
      {"comment with markup", "abc", {"n.jpg", "t", QString::fromUtf8("é & <b> \"x\""), " "}},
      {"line ends and tabs", "abc", {"n.jpg", "a\r\nb\tc\rd", "x\ny", " "}},
  };
  testenv::ImageHost host;
  ASSERT_TRUE(host.started());
  int n = 0;
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nom);
    const QString path = file(QString("f%1.bin").arg(n), c.octets);
    // No "Expect: 100-continue" (its wait stalls every large body) is checked
    // on the recorded headers below.
    const ResultatEnvoi r = envoi::EnvoiXmlRpc(path, c.params, {}, vers(host));
    ASSERT_EQ(r.issue, Issue::Succes) << r.message.toStdString();
    EXPECT_EQ(r.idImage, "Xy12_ab-3.z");
    EXPECT_EQ(r.adresseHote, host.address());

    const QJsonArray reqs = host.requests();
    ASSERT_EQ(reqs.size(), n + 1);
    const QJsonObject q = reqs[n].toObject();
    ++n;
    EXPECT_EQ(q["path"].toString(), "/apiXml.php");
    EXPECT_EQ(q["method"].toString(), "apiXml.xmlrpcUpload");
    const QJsonArray p = q["params"].toArray();
    ASSERT_EQ(p.size(), 5);
    for (const auto& v : p) EXPECT_EQ(v.toObject()["type"].toString(), "string");
    EXPECT_EQ(p[1].toObject()["value"].toString(), c.params.nom);
    EXPECT_EQ(p[2].toObject()["value"].toString(), c.params.titre);
    EXPECT_EQ(p[3].toObject()["value"].toString(), c.params.commentaire);
    EXPECT_EQ(p[4].toObject()["value"].toString(), " ");
    EXPECT_EQ(q["file_length"].toInt(), c.octets.size());
    EXPECT_EQ(q["file_sha256"].toString(),
              QString::fromLatin1(QCryptographicHash::hash(c.octets, QCryptographicHash::Sha256).toHex()));
    EXPECT_FALSE(q["b64_has_newline"].toBool());
    const QJsonObject h = q["headers"].toObject();
    EXPECT_EQ(h["Content-Length"].toString().toLongLong(), q["body_length"].toInteger());
    EXPECT_TRUE(h["Content-Type"].toString().startsWith("text/xml"));
    EXPECT_FALSE(q["header_names"].toArray().contains(QJsonValue("expect")));
  }
  EXPECT_TRUE(boxes().isEmpty());
}

TEST_F(Envoi, ScenarioTable) {
  struct Cas {
    const char* scenario;
    Issue issue;
    QString attendu;  // the id, the exact box text, or part of the trapped reason
    QString id = {};
  };
  const Cas cas[] = {
      {"success", Issue::Succes, "Xy12_ab-3.z"},
      {"chunked", Issue::Succes, "Xy12_ab-3.z"},
      {"fault-int", Issue::ErreurStatut, "Server returned a fault. Code is '42', description is 'Bad picture'."},
      {"fault-string", Issue::ErreurStatut,
       "Server returned a fault. Code is 'E_FULL', description is 'Quota exceeded'."},
      {"zero", Issue::ErreurStatut, "Expecting one return parameter, received '0'."},
      {"two", Issue::ErreurStatut, "Expecting one return parameter, received '2'."},
      {"http-404", Issue::ErreurStatut, "HTTP error encountered. Code is '404', description is 'Not Found'."},
      {"http-500", Issue::ErreurStatut,
       "HTTP error encountered. Code is '500', description is 'Internal Server Error'."},
      {"http-503", Issue::ErreurStatut,
       "HTTP error encountered. Code is '503', description is 'Service Unavailable'."},
      {"http-301", Issue::ErreurStatut,
       "HTTP error encountered. Code is '301', description is 'Moved Permanently'."},
      {"malformed", Issue::ErreurStatut, "XML Parsing Error encountered 'Opening and ending tag mismatch.'."},
      {"truncated", Issue::ErreurStatut, "XML Parsing Error encountered 'Premature end of document.'."},
      {"empty", Issue::ErreurStatut, "XML Parsing Error encountered 'Premature end of document.'."},
      {"int-value", Issue::ErreurPiegee, "not a string"},
      {"huge", Issue::ErreurPiegee, "larger than"},
      {"close", Issue::ErreurPiegee, "did not answer"},
      {"success", Issue::ErreurPiegee, "unusable picture id", "../../etc/passwd"},
      {"success", Issue::ErreurPiegee, "unusable picture id", "<script>"},
  };
  const QString path = file("pic.jpg", "JPEG bytes");
  int vus = 0;
  for (const auto& c : cas) {
    SCOPED_TRACE(std::string(c.scenario) + " " + c.id.toStdString());
    testenv::ImageHost host(c.scenario, c.id);
    ASSERT_TRUE(host.started());
    const ResultatEnvoi r = envoi::EnvoiXmlRpc(path, kParams, {}, vers(host));
    EXPECT_EQ(r.issue, c.issue) << r.message.toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    const QStringList b = boxes();
    switch (c.issue) {
      case Issue::Succes:
        EXPECT_EQ(r.idImage, c.attendu);
        EXPECT_EQ(b.size(), vus);
        break;
      case Issue::ErreurStatut:
        EXPECT_EQ(r.message, c.attendu);
        EXPECT_TRUE(r.idImage.isEmpty());
        ASSERT_EQ(b.size(), vus + 1);
        EXPECT_EQ(b.last(), "critical|" + QApplication::applicationName() + "|" + c.attendu);
        break;
      default:
        EXPECT_TRUE(r.message.contains(c.attendu)) << r.message.toStdString();
        EXPECT_TRUE(r.idImage.isEmpty());
        EXPECT_EQ(b.size(), vus);  // the caller words the trapped path
    }
    vus = b.size();
    EXPECT_EQ(host.requests().size(), 1);
  }
}

TEST_F(Envoi, TransportFailuresTakeTheTrappedPath) {
  const QString path = file("pic.jpg", "JPEG bytes");
  {
    envoi::OptionsEnvoi o;
    o.adresseHote = QString("http://127.0.0.1:%1").arg(testenv::freeLoopbackPort());
    const ResultatEnvoi r = envoi::EnvoiXmlRpc(path, kParams, {}, o);
    EXPECT_EQ(r.issue, Issue::ErreurPiegee);
    EXPECT_TRUE(r.message.contains("did not answer")) << r.message.toStdString();
  }
  {
    testenv::ImageHost host("hang");
    ASSERT_TRUE(host.started());
    envoi::OptionsEnvoi o = vers(host);
    o.limites.lowSpeedTime = std::chrono::seconds(1);
    QElapsedTimer t;
    t.start();
    const ResultatEnvoi r = envoi::EnvoiXmlRpc(path, kParams, {}, o);
    EXPECT_EQ(r.issue, Issue::ErreurPiegee);
    EXPECT_LT(t.elapsed(), 15000);
    EXPECT_EQ(host.requests().size(), 1);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(boxes().isEmpty());
}

// A host that drips a valid answer keeps above the stall rule; the overall
// limit ends the upload in the trapped path.
TEST_F(Envoi, AHostThatDripsItsAnswerIsGivenUpAtTheOverallLimit) {
  const xmlrpc::Limites defaults;
  EXPECT_GT(defaults.total.count(), 0);
  EXPECT_LE(defaults.total, std::chrono::minutes(2));
  const QString path = file("pic.jpg", "JPEG bytes");
  testenv::ImageHost host("drip");
  ASSERT_TRUE(host.started());
  envoi::OptionsEnvoi o = vers(host);
  o.limites.lowSpeedTime = std::chrono::seconds(1);
  o.limites.total = std::chrono::milliseconds(2500);
  QElapsedTimer t;
  t.start();
  const ResultatEnvoi r = envoi::EnvoiXmlRpc(path, kParams, {}, o);
  EXPECT_EQ(r.issue, Issue::ErreurPiegee);
  EXPECT_TRUE(r.message.contains("did not answer")) << r.message.toStdString();
  EXPECT_LT(t.elapsed(), 10000);
  EXPECT_TRUE(QFile::exists(path));
  EXPECT_TRUE(boxes().isEmpty());
}

// A hostile fault reaches its box cut and without controls or direction overrides.
TEST_F(Envoi, AFaultsTextIsCleanedBeforeItsBox) {
  xmlrpc::ReponseRpc r;
  r.statut = xmlrpc::kFaute;
  r.faute.code = QString::fromUtf8("4\u202E2");
  r.faute.description = "Bad\r\npicture" + QString(1 << 20, u'!');
  const std::optional<QString> m = envoi::messageReponse(r);
  ASSERT_TRUE(m);
  EXPECT_TRUE(m->startsWith("Server returned a fault. Code is '42', description is 'Bad  picture!!!"))
      << m->left(80).toStdString();
  EXPECT_TRUE(m->endsWith("!!!...'.")) << m->right(20).toStdString();
  EXPECT_LT(m->size(), 400);
}

// A picture above the upload limit is refused before it is read; nothing goes out.
TEST_F(Envoi, APictureAboveTheLimitIsRefusedUnread) {
  testenv::ImageHost host;
  ASSERT_TRUE(host.started());
  const QString path = file("huge.jpg", "");
  ASSERT_TRUE(QFile::resize(path, envoi::kTailleImageMax + 1));  // sparse: no disk taken
  const ResultatEnvoi r = envoi::EnvoiXmlRpc(path, kParams, {}, vers(host));
  EXPECT_EQ(r.issue, Issue::ErreurPiegee);
  EXPECT_TRUE(r.message.contains("is larger than 64 MB")) << r.message.toStdString();
  EXPECT_EQ(host.requests().size(), 0);
  EXPECT_TRUE(boxes().isEmpty());
}

TEST_F(Envoi, NothingIsSentWithoutPathFileOrHost) {
  testenv::ImageHost host;
  ASSERT_TRUE(host.started());
  EXPECT_EQ(envoi::EnvoiXmlRpc("", kParams, {}, vers(host)).issue, Issue::RienAEnvoyer);

  for (const QString& bad : {testenv::home() + "/missing.jpg", testenv::home()}) {
    const ResultatEnvoi r = envoi::EnvoiXmlRpc(bad, kParams, {}, vers(host));
    EXPECT_EQ(r.issue, Issue::ErreurPiegee) << bad.toStdString();
    EXPECT_TRUE(r.message.contains("cannot be read")) << r.message.toStdString();
  }

  const QString path = file("pic.jpg", "x");
  const ResultatEnvoi r = envoi::EnvoiXmlRpc(path, kParams);  // the environment names no host
  EXPECT_EQ(r.issue, Issue::ErreurPiegee);
  EXPECT_TRUE(r.hoteAbsent);
  EXPECT_TRUE(r.message.contains("VELISTROM_IMAGE_HOST"));

  qputenv("VELISTROM_IMAGE_HOST", "not an address");
  const ResultatEnvoi mal = envoi::EnvoiXmlRpc(path, kParams);
  EXPECT_TRUE(mal.hoteAbsent);
  EXPECT_TRUE(mal.message.contains("\"not an address\" is not an image host address"))
      << mal.message.toStdString();

  EXPECT_EQ(host.requests().size(), 0);
  EXPECT_TRUE(boxes().isEmpty());
}

TEST_F(Envoi, HostFromTheEnvironmentAndFailingSuccessSteps) {
  testenv::ImageHost host;
  ASSERT_TRUE(host.started());
  qputenv("VELISTROM_IMAGE_HOST", (host.address() + "/").toLocal8Bit());
  const QString path = file("pic.jpg", "x");
  QString vu;
  bool sablier = false;
  const ResultatEnvoi ok = envoi::EnvoiXmlRpc(path, kParams, [&](const QString& id) {
    vu = id;
    const QCursor* c = QApplication::overrideCursor();
    sablier = c && c->shape() == Qt::WaitCursor;
  });
  EXPECT_EQ(ok.issue, Issue::Succes);
  EXPECT_EQ(vu, "Xy12_ab-3.z");
  EXPECT_TRUE(sablier) << "the success steps run under the wait cursor";
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  const ResultatEnvoi ko = envoi::EnvoiXmlRpc(
      path, kParams, [](const QString&) { throw envoi::ErreurPiegee("history not writable"); });
  EXPECT_EQ(ko.issue, Issue::ErreurPiegee);
  EXPECT_EQ(ko.message, "history not writable");
  EXPECT_EQ(host.requests().size(), 2);
}

}  // namespace
