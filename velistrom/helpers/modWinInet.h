#pragma once
// Error report of the tips download: the step that failed and its error number,
// the server's own reply when it sent one, and the offer to close the session.
#include "platform/Ftp.h"
#include "platform/forms/MsgBox.h"

#include <QString>

#include <functional>

// The message service the report goes through (vb::MsgBox unless a caller
// scripts the answers).
using MsgBoxFn = std::function<int(const QString& prompt, int buttons, const QString& title)>;

// Reports that `source` failed with `errorNumber`. For a server refusal
// (platform::kErrExtended) it first shows the server's reply code and text.
// Then asks whether to close the connection and session; on Yes both are closed
// (the client's later steps then fail with platform::kErrInvalidHandle).
void ErreurInet(platform::FtpClient& inet, long errorNumber, const QString& source,
                const MsgBoxFn& msgBox = vb::MsgBox);
