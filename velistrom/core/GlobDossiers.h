#pragma once
// The folders every part of the program works in, settled by the start banner.
#include <QString>

// The per-user data folder: the application-data folder plus "/Velistrom". It
// holds "params.txt", "spoken.txt", "FicTips.txt" and the capture folders.
extern QString gDossAppli;
// The system's program folder (the default image editor is looked for there).
extern QString gDossSys;
