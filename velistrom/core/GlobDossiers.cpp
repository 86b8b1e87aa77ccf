#include "velistrom/core/GlobDossiers.h"

QString gDossAppli;
QString gDossSys;
