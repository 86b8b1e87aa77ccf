#pragma once
// A fresh account with the shipped language files and pictures: the data
// folder made, the language chosen and every text loaded, as the start-up
// leaves them before the main window loads.
#include "tests/support/TestEnv.h"
#include "velistrom/core/Ressources.h"
#include "velistrom/startup/Splash.h"
#include "velistrom/mainwin/frmMain.h"
#include "velistrom/startup/LangLoader.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace testsupport {

inline ::testing::AssertionResult textesLivres(const QByteArray& code = "ConstPRJA") {
  if (testenv::binDir().isEmpty()) return ::testing::AssertionFailure() << "VELISTROM_BIN_DIR is not set";
  gDossAppli = testenv::dataHome() + "/Velistrom";
  if (!QDir().mkpath(gDossAppli)) return ::testing::AssertionFailure() << "no data folder";
  QFile spoken(gDossAppli + "/spoken.txt");
  if (!spoken.open(QIODevice::WriteOnly | QIODevice::Truncate) || spoken.write(code + "\r\n") < 0)
    return ::testing::AssertionFailure() << "spoken.txt not written";
  spoken.close();
  if (const auto echec = startup::ChargerTextes(gDossAppli, testenv::binDir()))
    return ::testing::AssertionFailure() << code.constData() << ": " << lang::describe(*echec).toStdString();
  core::setDossierRessources(testenv::binDir());
  return ::testing::AssertionSuccess();
}

}  // namespace testsupport
