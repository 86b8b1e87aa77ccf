#include "platform/Log.h"

// Messages go out at info level, which these categories leave off unless a rule
// turns them on.
Q_LOGGING_CATEGORY(lcCapture, "velistrom.capture", QtWarningMsg)
Q_LOGGING_CATEGORY(lcOverlay, "velistrom.overlay", QtWarningMsg)
Q_LOGGING_CATEGORY(lcList, "velistrom.list", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSave, "velistrom.save", QtWarningMsg)
Q_LOGGING_CATEGORY(lcUpload, "velistrom.upload", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPlatform, "velistrom.platform", QtWarningMsg)
