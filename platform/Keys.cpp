#include "platform/Keys.h"

#include "platform/X11Display.h"

// Xlib last: its macros clash with C++ headers.
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace platform {

bool KeyboardState::keycodeDown(int keycode) const {
  if (keycode <= 0 || keycode >= 256) return false;
  return (keys[size_t(keycode) / 8] >> (keycode % 8)) & 1;
}

void KeyboardState::setKeycode(int keycode, bool down) {
  if (keycode <= 0 || keycode >= 256) return;
  const auto bit = static_cast<unsigned char>(1u << (keycode % 8));
  if (down)
    keys[size_t(keycode) / 8] |= bit;
  else
    keys[size_t(keycode) / 8] &= static_cast<unsigned char>(~bit);
}

std::vector<unsigned long> keysymsForVk(int vk, bool numLock) {
  // Keypad keys are digits with NumLock on and navigation keys with it off.
  auto nav = [numLock](unsigned long main, unsigned long keypad) {
    return numLock ? std::vector<unsigned long>{main} : std::vector<unsigned long>{main, keypad};
  };
  auto kp = [numLock](unsigned long keysym) {
    return numLock ? std::vector<unsigned long>{keysym} : std::vector<unsigned long>{};
  };
  if (vk >= 'A' && vk <= 'Z') return {XK_a + unsigned(vk - 'A')};
  if (vk >= '0' && vk <= '9') return {XK_0 + unsigned(vk - '0')};
  if (vk >= 96 && vk <= 105) return kp(XK_KP_0 + unsigned(vk - 96));
  if (vk >= 112 && vk <= 135) return {XK_F1 + unsigned(vk - 112)};
  switch (vk) {
    case 8: return {XK_BackSpace};
    case 9: return {XK_Tab, XK_ISO_Left_Tab};
    case 12: return numLock ? std::vector<unsigned long>{XK_Clear}
                            : std::vector<unsigned long>{XK_Clear, XK_KP_Begin};
    case 13: return {XK_Return, XK_KP_Enter};
    case 16: return {XK_Shift_L, XK_Shift_R};
    case 17: return {XK_Control_L, XK_Control_R};
    case 18: return {XK_Alt_L, XK_Alt_R, XK_Meta_L, XK_Meta_R};
    case 19: return {XK_Pause};
    case 20: return {XK_Caps_Lock};
    case 27: return {XK_Escape};
    case 32: return {XK_space};
    case 33: return nav(XK_Prior, XK_KP_Prior);
    case 34: return nav(XK_Next, XK_KP_Next);
    case 35: return nav(XK_End, XK_KP_End);
    case 36: return nav(XK_Home, XK_KP_Home);
    case 37: return nav(XK_Left, XK_KP_Left);
    case 38: return nav(XK_Up, XK_KP_Up);
    case 39: return nav(XK_Right, XK_KP_Right);
    case 40: return nav(XK_Down, XK_KP_Down);
    case 44: return {XK_Print};
    case 45: return nav(XK_Insert, XK_KP_Insert);
    case 46: return nav(XK_Delete, XK_KP_Delete);
    case 91: return {XK_Super_L};
    case 92: return {XK_Super_R};
    case 93: return {XK_Menu};
    case 106: return {XK_KP_Multiply};
    case 107: return {XK_KP_Add};
    case 109: return {XK_KP_Subtract};
    case 110: return kp(XK_KP_Decimal);
    case 111: return {XK_KP_Divide};
    case 144: return {XK_Num_Lock};
    case 145: return {XK_Scroll_Lock};
    case 160: return {XK_Shift_L};
    case 161: return {XK_Shift_R};
    case 162: return {XK_Control_L};
    case 163: return {XK_Control_R};
    case 164: return {XK_Alt_L, XK_Meta_L};
    case 165: return {XK_Alt_R, XK_Meta_R};
    default: return {};
  }
}

bool vkDown(int vk, const KeyboardState& state, const KeysymToKeycode& keycodeOf) {
  switch (vk) {
    case 1: return state.buttons & 1;
    case 2: return state.buttons & 2;
    case 4: return state.buttons & 4;
    default: break;
  }
  for (unsigned long keysym : keysymsForVk(vk, state.numLock))
    if (state.keycodeDown(keycodeOf(keysym))) return true;
  return false;
}

namespace {

// The modifier bit that carries NumLock on this keyboard (usually Mod2).
unsigned numLockMask(Display* dpy) {
  const KeyCode numLock = XKeysymToKeycode(dpy, XK_Num_Lock);
  if (!numLock) return 0;
  unsigned mask = 0;
  if (XModifierKeymap* map = XGetModifierMapping(dpy)) {
    for (int mod = 0; mod < 8 && !mask; ++mod)
      for (int k = 0; k < map->max_keypermod; ++k)
        if (map->modifiermap[mod * map->max_keypermod + k] == numLock) {
          mask = 1u << mod;
          break;
        }
    XFreeModifiermap(map);
  }
  return mask;
}

}  // namespace

KeySnapshot KeySnapshot::read() {
  KeySnapshot snap;
  Display* dpy = x11Display();
  if (!dpy) return snap;
  char keys[32] = {};
  XQueryKeymap(dpy, keys);
  for (size_t i = 0; i < 32; ++i) snap.state_.keys[i] = static_cast<unsigned char>(keys[i]);
  Window root = 0, child = 0;
  int rx = 0, ry = 0, wx = 0, wy = 0;
  unsigned mask = 0;
  XQueryPointer(dpy, DefaultRootWindow(dpy), &root, &child, &rx, &ry, &wx, &wy, &mask);
  const unsigned numMask = numLockMask(dpy);
  snap.state_.numLock = numMask && (mask & numMask);
  snap.state_.buttons = ((mask & Button1Mask) ? 1u : 0u) | ((mask & Button3Mask) ? 2u : 0u) |
                        ((mask & Button2Mask) ? 4u : 0u);
  snap.live_ = true;
  return snap;
}

bool KeySnapshot::isDown(int vk) const {
  if (!live_) return false;
  Display* dpy = x11Display();
  if (!dpy) return false;
  return vkDown(vk, state_, [dpy](unsigned long keysym) { return int(XKeysymToKeycode(dpy, keysym)); });
}

bool keyDown(int vk) { return KeySnapshot::read().isDown(vk); }

short asyncKeyState(int vk) { return keyDown(vk) ? short(-32768) : short(0); }

}  // namespace platform
