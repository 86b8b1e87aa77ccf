#pragma once
// Handing a message to the desktop's mail program, through xdg-email.
#include <QString>
#include <QStringList>

namespace platform {

struct MailMessage {
  QString to;  // empty: the user adds the recipient in the mail program
  QString subject;
  QString body;
  QStringList attachments;  // full paths of existing files
};

struct MailResult {
  bool accepted = false;
  int code = 0;         // xdg-email's exit status; -1 when it could not be started
  QString description;  // what went wrong, for the user
};

// The arguments xdg-email is given for the message (texts as UTF-8; empty
// texts are left out, since xdg-email refuses an empty option).
QStringList xdgEmailArguments(const MailMessage& message);

// Hands the message to the mail program and waits, letting events run, until
// xdg-email returns or waitMs pass. xdg-email waits for a mail program that it
// had to start; one still composing after waitMs holds the message, so that
// counts as accepted, and it is left running.
MailResult composeMail(const MailMessage& message, int waitMs = 15000);

}  // namespace platform
