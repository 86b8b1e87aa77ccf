#pragma once
// Colour-key transparency of a top-level window: every pixel of the key colour
// is cut out of the window's shape, so it is invisible and clicks go through to
// whatever lies below. The shape is rebuilt from the rendered window whenever
// the window repaints, is resized or shown.
#include <QImage>
#include <QRegion>

class QWidget;

namespace platform {

// Pure: the pixels of `image` that are not `key` (alpha ignored).
QRegion regionWithoutColour(const QImage& image, QRgb key);

// Switches the colour key on for `widget`'s top-level window (again with a new
// colour if already on).
void setColourKey(QWidget* widget, QRgb key);
// Switches it off: the whole window shows again.
void clearColourKey(QWidget* widget);
bool colourKeyActive(const QWidget* widget);
// The shape in force (window coordinates, device pixels); a null region when
// the key is off.
QRegion colourKeyShape(const QWidget* widget);
// Rebuilds the shape now instead of after the next change.
void refreshColourKey(QWidget* widget);

}  // namespace platform
