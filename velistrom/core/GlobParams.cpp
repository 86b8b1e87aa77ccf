#include "velistrom/core/GlobParams.h"

QString gParams;
QString gRepSauvLigne;
QString gRepSauve;
QString gMesDocs;
QString gTouche1, gTouche2, gTouche3, gTouche4, gTouche5;
int gOptChk0 = 0;
int gFormatBmp = 0;
int gGardeVisible = 0;
int gQualJpg = 70;
QString gPrefixe;
int gMemoSel = 0;
QString gPasCopiePP = "0";
int gNomHorod = 0;
int gRectAjust = 0;
int gMuet = 0;
QString gSelLarg;
QString gSelHaut;
QString gEditeur;
QString gNomExeEdit;
QString gRepCapt;
std::int32_t gIntervPeriode = 10000;
double gTempo = 0.1;
