#pragma once
// Postelle's start: the shared data folder, the language choice and the 31
// interface texts of its section of the language file, and the picture path of
// the command line.
#include "common/LigneCommande.h"

#include <QString>
#include <QStringList>

// The per-user data folder shared with Velistrom ("spoken.txt", upload history).
extern QString gDossAppData;

// Entry k of the companion's section of the language file, k = 0 ... 30.
extern QString gLngForum00;
extern QString gLngForum01;
extern QString gLngForum02;
extern QString gLngForum03;
extern QString gLngForum04;
extern QString gLngForum05;
extern QString gLngForum06;
extern QString gLngForum07;
extern QString gLngForum08;
extern QString gLngForum09;
extern QString gLngForum10;
extern QString gLngForum11;
extern QString gLngForum12;
extern QString gLngForum13;
extern QString gLngForum14;
extern QString gLngForum15;
extern QString gLngForum16;
extern QString gLngForum17;
extern QString gLngForum18;
extern QString gLngForum19;
extern QString gLngForum20;
extern QString gLngForum21;
extern QString gLngForum22;
extern QString gLngForum23;
extern QString gLngForum24;
extern QString gLngForum25;
extern QString gLngForum26;
extern QString gLngForum27;
extern QString gLngForum28;
extern QString gLngForum29;
extern QString gLngForum30;

namespace ConstAppli {

// The picture the program was started with (the posting window takes it).
extern CheminsImage gCheminsDepart;

// Reads "spoken.txt" in dataFolder and the language file in programFolder into
// gLngForum00 ... gLngForum30. On failure shows a clear message and returns
// false; nothing is then set.
bool chargerTextes(const QString& dataFolder, const QString& programFolder);

// The start: data folder, texts, picture path. False when the program must end;
// the caller then shows the posting window FrmForum.
bool Main(const QStringList& args);

}  // namespace ConstAppli
