#pragma once
// Global key state by Windows virtual-key code, as the hotkey poll and the
// overlay's keyboard read it: Ctrl 17, Shift 16, Alt 18, letters 65-90, digits
// 48-57, keypad digits 96-105 (down only while NumLock is on; with NumLock off
// those keys are the navigation codes 33-40, 45, 46 and 12), F-keys 112-135,
// arrows 37-40, Enter 13, Esc 27, the left/right variants 160-165 and the
// mouse buttons 1, 2 and 4.
#include <array>
#include <functional>
#include <vector>

namespace platform {

// One bit per keycode, as XQueryKeymap gives it.
using KeycodeBits = std::array<unsigned char, 32>;

// What the X server reports of the keyboard at one moment.
struct KeyboardState {
  KeycodeBits keys{};     // down now
  KeycodeBits pressed{};  // went down since the previous read (a tap may be up again)
  bool numLock = false;
  unsigned buttons = 0;  // bit 0 left, bit 1 right, bit 2 middle

  bool keycodeDown(int keycode) const;
  void setKeycode(int keycode, bool down);
  bool keycodePressed(int keycode) const;
  void setKeycodePressed(int keycode, bool pressed);
};

// The keysyms that make up a virtual key under the given NumLock state; empty
// for a code we do not map (and for the mouse buttons).
std::vector<unsigned long> keysymsForVk(int vk, bool numLock);

// keysym -> keycode of the current keyboard mapping, 0 when no key carries it.
using KeysymToKeycode = std::function<int(unsigned long keysym)>;

// Whether the virtual key is down in that state. Pure: the mapping is passed in.
bool vkDown(int vk, const KeyboardState& state, const KeysymToKeycode& keycodeOf);
// Whether it went down since the previous read (mouse buttons: never).
bool vkPressed(int vk, const KeyboardState& state, const KeysymToKeycode& keycodeOf);
// The old call's 16-bit value from those two: 0x8000 down, bit 0 pressed since
// the previous read.
short vkState(int vk, const KeyboardState& state, const KeysymToKeycode& keycodeOf);

// A snapshot of the real keyboard, read once and asked about many keys (one
// round trip for a whole poll). Each read takes the presses seen since the
// previous read, of any key (see keyPressesSeen). Without an X display nothing
// is down.
class KeySnapshot {
 public:
  static KeySnapshot read();
  bool isDown(int vk) const;
  bool wasPressed(int vk) const;
  short asyncState(int vk) const;
  const KeyboardState& state() const { return state_; }

 private:
  KeyboardState state_;
  bool live_ = false;
};

// One key read on its own.
bool keyDown(int vk);
// The old call's 16-bit value: the high bit set while the key is down, bit 0
// when it went down since the previous call for that key (or read of a
// snapshot), so a tap between two calls is seen once.
short asyncKeyState(int vk);

// Starts watching presses now (the first read does it too), so that a tap
// before that first read counts.
void watchKeyPresses();

// Whether presses between two reads are seen: XInput2 raw key events on the
// root window, which see every press, XTest's too, without a grab. False
// without XInput2 2.1 (logged once): then only keys down at a read count.
bool keyPressesSeen();

}  // namespace platform
