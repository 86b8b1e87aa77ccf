#include "velistrom/startup/LangLoader.h"

#include "platform/forms/App.h"
#include "platform/forms/MsgBox.h"
#include "velistrom/core/GlobTextes.h"

#include <QFile>

namespace startup {
namespace {

std::function<void()>& splashHook() {
  static std::function<void()> hook;
  return hook;
}

QString& langFolderOverride() {
  static QString folder;
  return folder;
}

}  // namespace

std::optional<lang::LangFailure> ChargerTextes(const QString& dataFolder, const QString& programFolder) {
  const auto code = lang::readSpokenCode(dataFolder);
  if (!code) return lang::LangFailure{lang::LangFault::SpokenMissing, 0, dataFolder + "/spoken.txt"};
  gCodeLng = *code;

  const QString path = lang::langFilePath(programFolder, gCodeLng);
  const std::optional<QByteArray> bytes = lang::langFileBytes(path);
  if (!bytes) return lang::LangFailure{lang::LangFault::FileMissing, 0, path};
  lang::LangRead read = lang::readLangFile(*bytes);
  if (!read.ok()) {
    read.failure->file = path;
    return read.failure;
  }

  gTxtLng = std::move(read.texts.txtLng);
  gTips = std::move(read.texts.tips);
  gTxtAide = std::move(read.texts.txtAide);
  gTabAideMenu = std::move(read.texts.tabAideMenu);
  CopierTextesNommes();
  return std::nullopt;
}

void SignalerEchec(const lang::LangFailure& failure) {
  vb::MsgBox(lang::describe(failure), vb::vbCritical, vb::App.Title());
}

bool ChargerPuisSplash(const QString& dataFolder, const QString& programFolder) {
  if (const auto failure = ChargerTextes(dataFolder, programFolder)) {
    SignalerEchec(*failure);
    return false;
  }
  AfficherSplash();
  return true;
}

QString DossierLangues() {
  return langFolderOverride().isEmpty() ? vb::App.Path() : langFolderOverride();
}

void setDossierLangues(const QString& folder) { langFolderOverride() = folder; }

void setSplashHook(std::function<void()> showSplash) { splashHook() = std::move(showSplash); }

void AfficherSplash() {
  if (splashHook()) splashHook()();
}

}  // namespace startup
