// Mailing captures and mailing the maker through the real xdg-email, handed
// to a recording mail program registered in the test's own XDG folders.
#include "platform/forms/Runtime.h"
#include "tests/platform/forms/TestForms.h"  // readable QString values in failures
#include "tests/support/MailHandler.h"
#include "tests/velistrom/mainwin/CaptureFixture.h"

#include <QFileInfo>

#include <optional>

namespace {

class Courriel : public captfix::CaptureList {
 protected:
  void SetUp() override {
    CaptureList::SetUp();
    vb::setWallClock([] { return QDateTime(QDate(2026, 12, 11), QTime(3, 20, 45)); });
    gPrefixe = "Capt";
    gQualJpg = 70;
    gLng128 = "Velistrom - a message from a user";
    gLng162 = "The mail could not be sent. Error ";
    gLng190 = "Cannot read the picture";
    gLng243 = QString::fromUtf8("Captures d'écran");
    gLng244 = "Here are my captures.";
  }
  void TearDown() override {
    vb::setWallClock(nullptr);
    qunsetenv("VELISTROM_SUPPORT_MAIL");
    CaptureList::TearDown();
  }

  // Three captures of different sizes; the third is the current one.
  void troisCaptures() {
    add(Qt::red, 40, 30);
    add(Qt::green, 24, 18);
    add(Qt::blue, 16, 50);
  }
  const QSize tailles[4] = {{}, {40, 30}, {24, 18}, {16, 50}};

  void cocher(std::initializer_list<int> positions) {
    for (int i : positions) fl().Chkmail[i].setValue(1);
  }
  // The one message the mail program got.
  testenv::MailHandler::Link message(const testenv::MailHandler& h) {
    const QStringList links = h.links();
    EXPECT_EQ(links.size(), 1);
    return testenv::MailHandler::parse(links.value(0));
  }
  // The captures of the attachments, by their picture's size.
  std::vector<int> capturesJointes(const QStringList& attach) {
    std::vector<int> positions;
    for (const QString& a : attach) {
      EXPECT_EQ(QFileInfo(a).absolutePath(), gRepCapt);
      const QSize s = QImage(a, "JPEG").size();
      int trouve = 0;
      for (int i = 1; i <= 3; ++i)
        if (s == tailles[i]) trouve = i;
      positions.push_back(trouve);
    }
    return positions;
  }
  // Tick value and mail mark of each of the three rows.
  std::vector<std::pair<int, bool>> marques() {
    std::vector<std::pair<int, bool>> m;
    for (int i = 1; i <= 3; ++i) m.emplace_back(fl().Chkmail[i].Value(), fl().pictmail[i].Visible());
    return m;
  }
};

using Marques = std::vector<std::pair<int, bool>>;

TEST_F(Courriel, EachCommandAttachesItsCapturesAndMarksThemSent) {
  struct Case {
    const char* nom;
    std::function<void(FrmMain&)> avant;
    std::function<void(FrmMain&)> commande;
    std::vector<int> jointes;
    Marques apres;
  };
  const Case cases[] = {
      {"the current capture",
       [](FrmMain&) { gNumCapt = 2; },
       [](FrmMain& m) { m.mnujoindreune_Click(); },
       {2},
       {{0, false}, {2, true}, {0, false}}},
      {"the ticked ones",
       [this](FrmMain&) {
         cocher({1, 3});
       },
       [](FrmMain& m) { m.mnujoindrecoch_Click(); },
       {1, 3},
       {{2, true}, {0, false}, {2, true}}},
      {"all of them",
       [](FrmMain&) {},
       [](FrmMain& m) { m.mnujoindretout_Click(); },
       {1, 2, 3},
       {{2, true}, {2, true}, {2, true}}},
      {"none ticked: no attachment",
       [](FrmMain&) {},
       [](FrmMain& m) { m.mnujoindrecoch_Click(); },
       {},
       {{0, false}, {0, false}, {0, false}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nom);
    int sansQuestion = 0;
    m().Supprimertout(sansQuestion);
    troisCaptures();
    testenv::MailHandler handler;
    c.avant(m());
    c.commande(m());
    const auto l = message(handler);
    EXPECT_TRUE(l.to.isEmpty());
    EXPECT_EQ(l.subject, QStringList{gLng243});
    EXPECT_EQ(l.body, QStringList{gLng244});
    EXPECT_EQ(capturesJointes(l.attach), c.jointes);
    EXPECT_EQ(marques(), c.apres);
    // The mail program reads them after xdg-email returns: they stay.
    for (const QString& a : l.attach) EXPECT_TRUE(QFile::exists(a)) << a.toStdString();
  }
}

TEST_F(Courriel, ASentCaptureGoesAgainOnlyWhenTickedAnewAndNeverUnderTheSameName) {
  troisCaptures();
  QStringList premiers;
  {
    testenv::MailHandler handler;
    cocher({1, 2});
    m().mnujoindrecoch_Click();
    premiers = message(handler).attach;
  }
  testenv::MailHandler handler;
  cocher({2});  // 1 stays greyed from the first message
  m().mnujoindrecoch_Click();
  const QStringList seconds = message(handler).attach;
  EXPECT_EQ(capturesJointes(seconds), std::vector<int>{2});
  // Same second, same position: a new name, and the first message's file is kept.
  ASSERT_EQ(premiers.size(), 2);
  EXPECT_NE(seconds.value(0), premiers[1]);
  EXPECT_TRUE(QFile::exists(premiers[1]));
  EXPECT_EQ(marques(), (Marques{{2, true}, {2, true}, {0, false}}));
}

TEST_F(Courriel, AFailingMailProgramIsReportedAndMarksNothing) {
  troisCaptures();
  testenv::MailHandler handler(1);
  cocher({1, 3});
  testenv::dialogs().expectMsgBox("The mail could not be sent. Error 4 ", vb::vbOK);
  m().mnujoindrecoch_Click();
  testenv::dialogs().verify();
  EXPECT_EQ(testenv::dialogs().shown()[0].icon, vb::iconName(vb::vbCritical));
  EXPECT_EQ(handler.links().size(), 1);
  EXPECT_EQ(marques(), (Marques{{1, false}, {0, false}, {1, false}}));
}

TEST_F(Courriel, AnUnreadableCaptureStopsTheMessageWithItsTicks) {
  troisCaptures();
  testenv::MailHandler handler;
  cocher({1, 2});
  ASSERT_TRUE(QFile::remove(gRepCapt + "/" + gTabNomCapt[2]));
  testenv::dialogs().expectMsgBox("Cannot read the picture", vb::vbOK);
  m().mnujoindrecoch_Click();
  testenv::dialogs().verify();
  EXPECT_TRUE(handler.links().isEmpty());
  EXPECT_EQ(marques(), (Marques{{1, false}, {1, false}, {0, false}}));
}

TEST_F(Courriel, AMessageTakesAtMostFiftyOneAttachments) {
  for (int i = 0; i < 52; ++i) add(QColor(i * 4, 0, 0), 8, 8);
  testenv::MailHandler handler;
  testenv::dialogs().expectMsgBox("9 Subscript out of range", vb::vbOK);
  m().mnujoindretout_Click();
  testenv::dialogs().verify();
  EXPECT_TRUE(handler.links().isEmpty());
  for (int i = 1; i <= 52; ++i) EXPECT_EQ(fl().Chkmail[i].Value(), 1) << i;

  // Fifty-one go.
  fl().Chkmail[52].setValue(0);
  m().mnujoindrecoch_Click();
  ASSERT_EQ(handler.links().size(), 1);
  EXPECT_EQ(testenv::MailHandler::parse(handler.links()[0]).attach.size(), 51);
}

TEST_F(Courriel, TheMakerIsMailedAtTheSupportAddressAndAFailureIsNotInsistedOn) {
  qputenv("VELISTROM_SUPPORT_MAIL", "help@example.org");
  {
    testenv::MailHandler handler;
    m().mnumail_Click();
    const auto l = message(handler);
    EXPECT_EQ(l.to, "help@example.org");
    EXPECT_EQ(l.subject, QStringList{gLng128});
    EXPECT_TRUE(l.attach.isEmpty());
  }
  testenv::MailHandler failing(1);
  m().envoimail();  // strict script: no box
  EXPECT_EQ(failing.links().size(), 1);
}

TEST_F(Courriel, TheMailMenuOffersItsEntriesOnlyWithCaptures) {
  for (int captures : {0, 1}) {
    if (captures) add(Qt::red);
    m().mnucourriel_Click();
    for (vb::Menu* e : {&m().mnujoindreune, &m().mnujoindrecoch, &m().mnujoindretout, &m().mnuimgforum})
      EXPECT_EQ(e->Enabled(), captures == 1) << e->Name().toStdString();
  }
}

}  // namespace
