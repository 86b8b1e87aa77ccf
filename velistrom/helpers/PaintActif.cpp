#include "velistrom/helpers/PaintActif.h"

#include "platform/Processes.h"

bool ProcActif(const QString& exeName) { return platform::isProgramRunning(exeName); }
