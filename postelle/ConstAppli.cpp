#include "postelle/ConstAppli.h"

#include "common/LangFile.h"
#include "platform/Folders.h"
#include "platform/forms/MsgBox.h"

#include <QCoreApplication>

#include <array>

QString gDossAppData;
QString gLngForum00;
QString gLngForum01;
QString gLngForum02;
QString gLngForum03;
QString gLngForum04;
QString gLngForum05;
QString gLngForum06;
QString gLngForum07;
QString gLngForum08;
QString gLngForum09;
QString gLngForum10;
QString gLngForum11;
QString gLngForum12;
QString gLngForum13;
QString gLngForum14;
QString gLngForum15;
QString gLngForum16;
QString gLngForum17;
QString gLngForum18;
QString gLngForum19;
QString gLngForum20;
QString gLngForum21;
QString gLngForum22;
QString gLngForum23;
QString gLngForum24;
QString gLngForum25;
QString gLngForum26;
QString gLngForum27;
QString gLngForum28;
QString gLngForum29;
QString gLngForum30;

namespace ConstAppli {

CheminsImage gCheminsDepart;

namespace {

const std::array<QString*, lang::kForumTextCount> kTextes = {
    &gLngForum00, &gLngForum01, &gLngForum02, &gLngForum03, &gLngForum04, &gLngForum05,
    &gLngForum06, &gLngForum07, &gLngForum08, &gLngForum09, &gLngForum10, &gLngForum11,
    &gLngForum12, &gLngForum13, &gLngForum14, &gLngForum15, &gLngForum16, &gLngForum17,
    &gLngForum18, &gLngForum19, &gLngForum20, &gLngForum21, &gLngForum22, &gLngForum23,
    &gLngForum24, &gLngForum25, &gLngForum26, &gLngForum27, &gLngForum28, &gLngForum29,
    &gLngForum30};

void finir(const QString& pourquoi) {
  vb::MsgBox("Postelle cannot start.\n" + pourquoi, vb::vbCritical);
}

}  // namespace

bool chargerTextes(const QString& dataFolder, const QString& programFolder) {
  const lang::ForumRead lu = lang::loadForumTexts(dataFolder, programFolder);
  if (!lu.ok()) {
    finir(lang::describe(*lu.failure));
    return false;
  }
  for (int k = 0; k < lang::kForumTextCount; ++k) *kTextes[size_t(k)] = lu.texts[size_t(k)];
  return true;
}

bool Main(const QStringList& args) {
  gDossAppData = platform::velistromDataFolder();
  if (gDossAppData.isEmpty()) {
    finir("The data folder " + platform::appDataFolder() + "/Velistrom cannot be created.");
    return false;
  }
  if (!chargerTextes(gDossAppData, QCoreApplication::applicationDirPath())) return false;
  gCheminsDepart = lireLigneCommande(args);
  return true;
}

}  // namespace ConstAppli
