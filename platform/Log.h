#pragma once
// Logging by area, off by default: QT_LOGGING_RULES="velistrom.*=true" turns
// every area on, "velistrom.capture=true" one of them.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcCapture)
Q_DECLARE_LOGGING_CATEGORY(lcOverlay)
Q_DECLARE_LOGGING_CATEGORY(lcList)
Q_DECLARE_LOGGING_CATEGORY(lcSave)
Q_DECLARE_LOGGING_CATEGORY(lcUpload)
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
