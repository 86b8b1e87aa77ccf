#pragma once
// The tips of the day fetched at start: "FicTips.txt" from directory "www" of
// the tips FTP server, account "velistro", into the data folder, and its lines
// added to the tips collection.
//
// The server comes from VELISTROM_TIPS_FTP (ftp://host[:port]); its password,
// stored scrambled, from VELISTROM_TIPS_FTP_PASSWORD as the hexadecimal digits
// of the scrambled line's bytes. It is descrambled only just before the
// connection. With no server configured the download is skipped and a copy left
// by an earlier start is read.
#include "platform/Ftp.h"
#include "velistrom/helpers/modWinInet.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

struct TipsServer {
  QString host;
  int port = 0;                 // 0: the FTP port
  QByteArray scrambledPassword;  // as stored; descrambled with DecodLigne
};

// The configured server, or nullopt when either variable is missing or malformed;
// then *problem (when given) says which, for the start's one-line note.
std::optional<TipsServer> tipsServerFromEnvironment(QString* problem = nullptr);

struct TipsOptions {
  platform::FtpTimeouts timeouts{std::chrono::milliseconds(4000), std::chrono::milliseconds(8000)};
  qint64 maxBytes = 512 * 1024;  // a tips file is a few kilobytes
  MsgBoxFn msgBox = vb::MsgBox;
};

// The steps of the download and of the reading, for the given data folder and
// tips collection. Without a server only the local copy is read. A failed
// connection (server unreachable, login refused) ends the routine silently,
// without reading the local copy; a refused directory or a failed transfer is
// reported through ErreurInet and the local copy, if any, is read.
void ChargtTips(const QString& dataFolder, QStringList& tips,
                const std::optional<TipsServer>& server, const TipsOptions& options = {});
// The start's own call: gDossAppli, gTips and the environment's server.
void ChargtTips();

// Appends the tips of a tips file's bytes (Windows-1252 text) to `tips`: every
// non-empty line except the file's last one (a tips file ends with one line
// after its last tip). Lines end with CR LF, LF or CR.
void AjoutTips(const QByteArray& fileBytes, QStringList& tips);
