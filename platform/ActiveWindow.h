#pragma once
// The foreground window of the desktop and its outer rectangle, as the window
// manager shows it (frame and title bar included).
#include <QRect>

#include <vector>

#include "platform/X11Display.h"

namespace platform {

// The window the window manager reports active (_NET_ACTIVE_WINDOW); 0 when
// none. Without an X display: the native id of Qt's focus window, or 0.
NativeWindow activeWindow();

// Outer rectangle of a window in screen pixels, frame included; a null QRect
// when the window does not exist (any more) or is 0.
QRect windowFrameRect(NativeWindow window);

// Asks the window manager to activate (raise and focus) a window. False when
// there is no window manager to ask, or the window is 0.
bool requestActivation(NativeWindow window);

// Stacks `cover`, a window outside the window manager, right below the outer
// frame of `window`, so that `window` shows above it. False while that frame is
// not on the screen yet; true without an X display (nothing to stack).
bool stackBelowFrameOf(NativeWindow cover, NativeWindow window);

// The window as the window manager shows it: its frame when it reparents,
// else the window itself; 0 when the window is gone.
NativeWindow outerWindow(NativeWindow window);

// Waits, running the program's events, until the X server reports none of the
// windows on the screen any more (a hidden window's frame goes a moment after
// it), at most timeoutMs. True when they all went (at once without X).
bool waitUntilOffScreen(const std::vector<NativeWindow>& windows, int timeoutMs);

// Gives the keyboard focus to a window on the screen directly, without asking
// the window manager. False when the window is not viewable.
bool giveKeyboardFocus(NativeWindow window);

}  // namespace platform
