#pragma once
// A window that covers the whole screen outside the window manager (the
// capture overlay). While it shows, every other window the program shows
// (message and input boxes, common dialogs, forms) is stacked above it, and a
// modal box takes the keyboard and the pointer from the cover's grabs until it
// closes; the grabs come back to the widgets that held them.
class QWidget;

namespace vb {

// The covering window (nullptr: none). The layer watches it; it does not own it.
void setCoveringWindow(QWidget* cover);
QWidget* coveringWindow();
// True while a window shown over the cover is still on the screen: the cover
// must not raise itself above it.
bool windowsAboveCover();
// True while a modal box shown over the cover is open: the cover must not take
// the keyboard or the pointer back.
bool modalAboveCover();

}  // namespace vb
