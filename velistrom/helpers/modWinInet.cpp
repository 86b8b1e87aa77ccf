#include "velistrom/helpers/modWinInet.h"

#include "common/TexteServeur.h"

void ErreurInet(platform::FtpClient& inet, long errorNumber, const QString& source,
                const MsgBoxFn& msgBox) {
  if (errorNumber == platform::kErrExtended) {
    const platform::FtpResponse reply = inet.lastResponse();
    msgBox(source + " Extd Err: " + QString::number(reply.code) + " " + texteServeur(reply.text), vb::vbOKOnly,
           QString());
  }
  const int answer = msgBox(source + " Err: " + QString::number(errorNumber) +
                                "\r\nClose Connection and Session?",
                            vb::vbYesNo, QString());
  if (answer == vb::vbYes) {
    inet.closeConnection();
    inet.closeSession();
  }
}
