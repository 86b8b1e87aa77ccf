#include "platform/Mail.h"

#include "platform/Shell.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace platform {
namespace {

// xdg-utils' exit statuses.
QString describeExit(int code) {
  switch (code) {
    case 1:
      return QStringLiteral("xdg-email refused the message");
    case 2:
      return QStringLiteral("an attachment is missing");
    case 3:
      return QStringLiteral("no mail program is set up on this desktop");
    case 4:
      return QStringLiteral("the mail program did not take the message");
    case 5:
      return QStringLiteral("no permission to read an attachment");
    default:
      return QStringLiteral("xdg-email ended with status %1").arg(code);
  }
}

}  // namespace

QStringList xdgEmailArguments(const MailMessage& message) {
  // Without --utf8 xdg-email converts from the locale's character set, which
  // fails on accented texts under the C locale.
  QStringList args{QStringLiteral("--utf8")};
  if (!message.subject.isEmpty()) args << QStringLiteral("--subject") << message.subject;
  if (!message.body.isEmpty()) args << QStringLiteral("--body") << message.body;
  for (const QString& file : message.attachments) args << QStringLiteral("--attach") << file;
  if (!message.to.isEmpty()) args << message.to;
  return args;
}

MailResult composeMail(const MailMessage& message, int waitMs) {
  MailResult result;
  auto child = startProgram(QStringLiteral("xdg-email"), xdgEmailArguments(message));
  if (!child) {
    result.code = -1;
    result.description = QStringLiteral("xdg-email could not be started (xdg-utils is missing)");
    return result;
  }
  QElapsedTimer clock;
  clock.start();
  while (child->isRunning() && clock.elapsed() < waitMs) {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
    QThread::msleep(10);
  }
  if (child->isRunning()) {
    result.accepted = true;
    return result;
  }
  result.code = child->exitCode();
  result.accepted = result.code == 0;
  if (!result.accepted) result.description = describeExit(result.code);
  return result;
}

}  // namespace platform
