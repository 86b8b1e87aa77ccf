#pragma once
// Globals shared by the main window, the selection overlay, the thumbnail
// window and the timed-capture window. The capture list itself (the FicheCapt
// arrays, gNbCapt, gNumCapt) is in GlobCapt.h; the settings in GlobParams.h.
#include <QString>

#include <cstdint>

// ---- pointer snapshot, taken by whatever triggers a capture
inline quint32 gHCurseur = 65557;  // pointer handle (platform/Pointer.h; 65557 = no visible pointer)
inline int gCursX = 0;               // pointer position, pixels
inline int gCursY = 0;
inline bool gParClavier = false;     // the capture came from a hotkey

// ---- last selection or capture, twips
inline int gSelX = 0;  // top-left corner of the last region (written by the overlay)
inline int gSelY = 0;
inline double gSelX0 = 0;  // anchor of the preview selection on the main view
inline double gSelY0 = 0;
inline double gLargImg = 0;  // size of the last picture; 0 = nothing to add
inline double gHautImg = 0;

// ---- capture kind and state
inline QString gModeCapt;         // "z" region, "e" whole screen, "f" window
inline bool gAnnuler = false;     // command 4: reopen the overlay on the frozen screen
inline bool gFinFull = false;     // the overlay ended a selection (cleared by frmMain.Form_Activate)
inline bool gQuitter = false;     // the thumbnail window may close
inline QString gSourceImg;        // "picture" or "image": the view box the toolbar-only layout hid
inline bool gGifDepuisCapt = false;  // the GIF maker takes its frames from the capture list

// ---- main view layout and zoom
inline bool gAgrandi = false;  // the toolbar-only layout is in force
inline int gHautRed = 0;       // window size to restore when that layout ends, twips
inline int gLargRed = 0;
inline std::int32_t gZoomSrcW = 0;  // last stretched copy into the view, pixels
inline std::int32_t gZoomSrcH = 0;
inline std::int32_t gZoomDestW = 0;
inline std::int32_t gZoomDestH = 0;

// ---- saving and companions
inline int gNumSauv = 0;         // files saved in this run (names carry it, "001" first)
inline std::int64_t gPidEditeur = 0;  // process id of the editor started by the Edit command

// ---- timed capture (EtatChrono): written by FrmChrono, run by frmMain.TimerLngPerio
inline QString gHeureDeb;        // "hh:mm:ss", compared as text
inline QString gHeureFin;
inline double gIntervPer = 0;    // milliseconds between shots
inline double gNbImgLim = 0;     // 999999999 = no limit
inline double gNbImgPer = 0;     // shots taken so far
inline bool gPremTop = false;    // the next tick is the first of the series
inline double gProchCapt = 0;    // seconds since midnight of the next shot
