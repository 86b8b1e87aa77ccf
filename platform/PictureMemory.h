#pragma once
// Pictures of a whole screen and more, in memory kept for them: fresh pages
// cost far more than filling them (on a virtual machine a whole screen's worth
// can take longer than the grab itself), so such pictures live in huge pages
// and the memory of a picture that goes is handed to the next one of its size.
#include <QImage>
#include <QSize>

namespace platform {

// An uninitialised picture of `size` and `format`, like QImage(size, format);
// null when there is no memory for it.
QImage newPicture(QSize size, QImage::Format format);

}  // namespace platform
