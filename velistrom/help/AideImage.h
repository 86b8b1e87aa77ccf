#pragma once
// What the three picture help windows share: each sizes itself to its picture
// (a JPEG beside the program), takes its caption and the picture's tooltip
// from the language texts, and unloads on a click on the picture.
#include "platform/forms/Controls.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace help {

// The picture file beside the program; a missing or unreadable one gives a
// blank picture of the placeholder size, so the window still opens.
QImage ImageAide(const QString& fichier, QSize placeholder = QSize(320, 200));

// Form_Load of each window: its size from the picture control's (height +
// 400, width + 100 twips), its caption, the tooltip gLng095.
void ChargerAideImage(vb::Form& form, vb::Control& image, const QString& caption);

// The hotkey poll: each window that is visible is unloaded (asking loads it).
void FermerAidesImages();

}  // namespace help
