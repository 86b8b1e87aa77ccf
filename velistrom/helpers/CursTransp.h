#pragma once
// Colour-key transparency of a window: pixels of one colour become invisible and
// let clicks through. Colours are in the old 0x00BBGGRR order (&HC0FFFF is the
// light yellow RGB 255, 255, 192).
#include <QtGlobal>

#include <optional>

class QWidget;

// Makes `colour` transparent on the window of `form`. The alpha has no effect:
// only the colour key is used.
void CoulTransp(QWidget* form, quint32 colour, quint8 alpha);

// Switches the colour key on (with `colour`; without one, the colour the window
// had last, black if none) or off (the whole window shows again), then repaints
// the window and its children.
void BascTransp(QWidget* form, bool switchOn, std::optional<quint32> colour = std::nullopt);

// 0x00BBGGRR -> Qt's RGB.
quint32 BgrToRgb(quint32 colour);
