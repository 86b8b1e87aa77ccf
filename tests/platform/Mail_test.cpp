// The message as the mail program receives it from the real xdg-email, and
// what its answer tells the caller.
#include "platform/Mail.h"
#include "tests/support/MailHandler.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QString makeFile(const QString& path) {
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write("x");
  return path;
}

TEST(ComposeMail, SubjectBodyAddressAndEveryAttachmentReachTheMailProgram) {
  testenv::MailHandler handler;
  const QString dir = testenv::home() + "/a folder with 'quotes' & blanks";
  QDir().mkpath(dir);
  const QStringList files{makeFile(dir + "/one.jpg"), makeFile(dir + "/two #2.jpg")};

  const platform::MailResult r = platform::composeMail(
      {"someone@example.org", QString::fromUtf8("Captures d'écran"), "Line one\nline 2 & more", files});
  EXPECT_TRUE(r.accepted) << r.code << " " << r.description.toStdString();

  const QStringList links = handler.links();
  ASSERT_EQ(links.size(), 1);
  const auto l = testenv::MailHandler::parse(links[0]);
  EXPECT_EQ(l.to, "someone@example.org");
  EXPECT_EQ(l.subject, QStringList{QString::fromUtf8("Captures d'écran")});
  EXPECT_EQ(l.body.join("|").replace("\r\n", "\n"), "Line one\nline 2 & more");
  EXPECT_EQ(l.attach, files);
}

TEST(ComposeMail, EmptyTextsAreLeftOutAndNoAddressIsNeeded) {
  testenv::MailHandler handler;
  EXPECT_TRUE(platform::composeMail({}).accepted);
  ASSERT_EQ(handler.links().size(), 1);
  EXPECT_EQ(handler.links()[0], "mailto:");
}

TEST(ComposeMail, AFailingMailProgramIsReported) {
  testenv::MailHandler handler(1);
  const platform::MailResult r = platform::composeMail({QString(), "Subject", QString(), {}});
  EXPECT_FALSE(r.accepted);
  EXPECT_EQ(r.code, 4);
  EXPECT_FALSE(r.description.isEmpty());
  EXPECT_EQ(handler.links().size(), 1);
}

TEST(ComposeMail, AMissingAttachmentIsRefusedBeforeAnyMailProgramRuns) {
  testenv::MailHandler handler;
  const platform::MailResult r =
      platform::composeMail({QString(), "S", QString(), {testenv::home() + "/gone.jpg"}});
  EXPECT_FALSE(r.accepted);
  EXPECT_EQ(r.code, 2);
  EXPECT_TRUE(handler.links().isEmpty());
}

TEST(ComposeMail, AMailProgramStillComposingHoldsTheMessage) {
  // It answers only once the user closes it; it already has the message.
  testenv::MailHandler handler(1, 3);
  const platform::MailResult r = platform::composeMail({QString(), "S", QString(), {}}, 300);
  EXPECT_TRUE(r.accepted);
}

}  // namespace
