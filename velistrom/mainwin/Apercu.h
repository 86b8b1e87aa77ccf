#pragma once
// The widget-free rules of cutting a region from the grab on show: the
// snapping of the band and its size text. The handlers are in frmMain_Apercu.cpp.
#include <QRect>
#include <QSize>
#include <QString>

namespace mainwin {

// A distance of the band (twips) brought down to a step of 100 when snapping:
// 1 to 99 give 0, 250 gives 200.
double AccrocherCent(double d);

// " 1500 X 900 = ~ 17 K (bmp)": width and height in twips, then the rough
// size in kilobytes of that region as an uncompressed bitmap.
QString TexteTaille(double largeur, double hauteur);

// The pixels of a grab of size `grab` that a band at (left, top), w x h twips
// covers; empty when nothing of it lies on the grab.
QRect CoupeDansGrab(double left, double top, double w, double h, QSize grab);

}  // namespace mainwin
