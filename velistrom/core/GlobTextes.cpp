#include "velistrom/core/GlobTextes.h"

QString gCodeLng;
QString gDossLng;
std::array<QString, 301> gTxtLng;
QStringList gTips;
std::array<QString, 101> gTxtAide;
std::array<std::array<QString, 7>, 5> gTabAideMenu;

#define VELISTROM_DEFINE_TEXT(name, n) QString name;
VELISTROM_NAMED_TEXTS(VELISTROM_DEFINE_TEXT)
#undef VELISTROM_DEFINE_TEXT

void CopierTextesNommes() {
#define VELISTROM_COPY_TEXT(name, n) name = gTxtLng[n];
  VELISTROM_NAMED_TEXTS(VELISTROM_COPY_TEXT)
#undef VELISTROM_COPY_TEXT
}
