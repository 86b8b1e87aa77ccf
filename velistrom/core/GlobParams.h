#pragma once
// The settings globals, read from "params.txt" at start (chargtparam, Params.h)
// and read everywhere else. Switches are 0 or 1.
#include <QString>

#include <cstdint>

extern QString gParams;        // the 300-character settings record (line 1)
extern QString gRepSauvLigne;  // the save-folder line as read or written (line 2), 300 characters
extern QString gRepSauve;      // the save folder
extern QString gMesDocs;       // the documents folder padded to 300 characters

extern QString gTouche1, gTouche2, gTouche3, gTouche4, gTouche5;  // one character each
extern int gOptChk0;       // snap the selection to 10 pixels (position 107)
extern int gFormatBmp;     // automatic saves as BMP instead of JPEG (108)
extern int gGardeVisible;  // windows stay visible during a capture (109)
extern int gQualJpg;       // JPEG quality in percent, 10 ... 90 (110)
extern QString gPrefixe;   // file-name prefix, 4 characters (111-114)
extern int gMemoSel;       // store the selection size when quitting (115)
extern QString gPasCopiePP;  // "1": no clipboard copy of a new capture (118)
extern int gNomHorod;      // saved files named by the capture's time stamp (119)
extern int gRectAjust;     // the selection has handles (120)
extern int gMuet;          // no shutter sound (121)
extern QString gSelLarg;   // saved selection width in pixels, 4 characters (93-96)
extern QString gSelHaut;   // saved selection height in pixels, 4 characters (97-100)
extern QString gEditeur;     // the 150-character editor field, trailing blanks included
extern QString gNomExeEdit;  // the editor's program file name
extern QString gRepCapt;     // the run's capture folder (gDossAppli + "/tempocapt" until made unique)
// The periodic-capture interval in milliseconds (0 ... 65535, 0 never fires) for frmMain's
// periodic timer; the main window sets it on the timer after chargtparam.
extern std::int32_t gIntervPeriode;
// The tempo of the options dialog, 0 to 1 (nothing reads it yet).
extern double gTempo;
