#pragma once
// The desktop clipboard: a picture or a text. On X11 the content is served by
// this program while it runs; it outlives the program only when a clipboard
// manager takes it over.
#include <QImage>
#include <QString>

namespace platform::clipboard {

// Empties the clipboard (gives up what this program offered).
void clear();

void setPicture(const QImage& picture);
// The clipboard's picture, null when it holds none.
QImage picture();
bool hasPicture();

void setText(const QString& text);
QString text();

}  // namespace platform::clipboard
