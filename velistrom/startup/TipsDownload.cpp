#include "velistrom/startup/TipsDownload.h"

#include "common/Cp1252.h"
#include "common/VarConst.h"
#include "velistrom/core/GlobTextes.h"
#include "velistrom/startup/Splash.h"

#include <QFile>
#include <QUrl>

#include <cctype>

namespace {

const char kUser[] = "velistro";
const char kDirectory[] = "www";
const char kFileName[] = "FicTips.txt";

bool isHex(const QByteArray& s) {
  if (s.isEmpty() || s.size() % 2 != 0) return false;
  for (char c : s)
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

// The file's lines; a line end at the very end opens no further line.
QList<QByteArray> splitLines(const QByteArray& bytes) {
  QList<QByteArray> lines;
  qsizetype start = 0;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    lines.append(bytes.mid(start, i - start));
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < bytes.size()) lines.append(bytes.mid(start));
  return lines;
}

}  // namespace

std::optional<TipsServer> tipsServerFromEnvironment(QString* problem) {
  const QByteArray address = qgetenv("VELISTROM_TIPS_FTP").trimmed();
  const QByteArray hex = qgetenv("VELISTROM_TIPS_FTP_PASSWORD").trimmed();
  auto refuse = [problem](const QString& why) -> std::optional<TipsServer> {
    if (problem) *problem = why;
    return std::nullopt;
  };
  if (address.isEmpty() && hex.isEmpty())
    return refuse("no tips server is configured (VELISTROM_TIPS_FTP, VELISTROM_TIPS_FTP_PASSWORD)");
  const QUrl url(QString::fromUtf8(address), QUrl::StrictMode);
  if (!url.isValid() || url.scheme() != "ftp" || url.host().isEmpty())
    return refuse("VELISTROM_TIPS_FTP is not an ftp://host[:port] address");
  if (!isHex(hex) || !DecodLigne(QByteArray::fromHex(hex)))
    return refuse("VELISTROM_TIPS_FTP_PASSWORD is not the hexadecimal digits of a scrambled line");
  return TipsServer{url.host(), url.port(0), QByteArray::fromHex(hex)};
}

void AjoutTips(const QByteArray& fileBytes, QStringList& tips) {
  const QList<QByteArray> lines = splitLines(fileBytes);
  // The last line is never a tip.
  for (qsizetype i = 0; i + 1 < lines.size(); ++i)
    if (!lines[i].isEmpty()) tips.append(cp1252::decode(lines[i]));
}

void ChargtTips(const QString& dataFolder, QStringList& tips,
                const std::optional<TipsServer>& server, const TipsOptions& options) {
  if (dataFolder.isEmpty()) return;  // no data folder: nowhere to keep the file
  const QString local = dataFolder + "/" + kFileName;
  if (server) {
    platform::FtpClient inet;
    inet.setTimeouts(options.timeouts);
    if (!inet.open()) ErreurInet(inet, inet.lastError(), "InternetOpen", options.msgBox);
    QByteArray password = DecodLigne(server->scrambledPassword).value_or(QByteArray());
    const bool connected = inet.connect(server->host, server->port, kUser, password);
    password.fill('\0');
    // No connection (no network, server unreachable, login refused): the tips
    // stay those of the language file.
    if (!connected) return;
    if (!inet.setCurrentDirectory(kDirectory))
      ErreurInet(inet, inet.lastError(), "rcd", options.msgBox);
    if (!inet.getFile(kFileName, local, options.maxBytes))
      ErreurInet(inet, inet.lastError(), "FtpGetFile", options.msgBox);
    inet.closeConnection();
    inet.closeSession();
  }
  QFile file(local);
  if (!file.open(QIODevice::ReadOnly)) return;
  AjoutTips(file.read(options.maxBytes), tips);
}

void ChargtTips() {
  QString problem;
  const auto server = tipsServerFromEnvironment(&problem);
  // No box at every start: one line for whoever runs the program from a terminal.
  if (!server) qInfo("Velistrom: %s; the tips of the day are not downloaded", qPrintable(problem));
  ChargtTips(gDossAppli, gTips, server);
}
