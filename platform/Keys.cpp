#include "platform/Keys.h"

#include "platform/Log.h"
#include "platform/X11Display.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>

#include <cstdlib>

// Xlib last: its macros clash with C++ headers.
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

namespace platform {

namespace {

bool bitOf(const KeycodeBits& bits, int keycode) {
  if (keycode <= 0 || keycode >= 256) return false;
  return (bits[size_t(keycode) / 8] >> (keycode % 8)) & 1;
}

void setBit(KeycodeBits& bits, int keycode, bool on) {
  if (keycode <= 0 || keycode >= 256) return;
  const auto bit = static_cast<unsigned char>(1u << (keycode % 8));
  if (on)
    bits[size_t(keycode) / 8] |= bit;
  else
    bits[size_t(keycode) / 8] &= static_cast<unsigned char>(~bit);
}

}  // namespace

bool KeyboardState::keycodeDown(int keycode) const { return bitOf(keys, keycode); }
void KeyboardState::setKeycode(int keycode, bool down) { setBit(keys, keycode, down); }
bool KeyboardState::keycodePressed(int keycode) const { return bitOf(pressed, keycode); }
void KeyboardState::setKeycodePressed(int keycode, bool on) { setBit(pressed, keycode, on); }

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

bool vkPressed(int vk, const KeyboardState& state, const KeysymToKeycode& keycodeOf) {
  for (unsigned long keysym : keysymsForVk(vk, state.numLock))
    if (state.keycodePressed(keycodeOf(keysym))) return true;
  return false;
}

short vkState(int vk, const KeyboardState& state, const KeysymToKeycode& keycodeOf) {
  return short((vkDown(vk, state, keycodeOf) ? 0x8000 : 0) | (vkPressed(vk, state, keycodeOf) ? 1 : 0));
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

// The presses of every key, from XInput2 raw events on a connection of our
// own: Qt's event loop never sees them, and the keymap alone misses a tap that
// starts and ends between two reads.
class PressWatch {
 public:
  static PressWatch& get() {
    static PressWatch watch;
    return watch;
  }
  bool live() const { return dpy_ != nullptr; }

  // Takes every raw event the server has sent so far; with `upToNow`, first
  // waits for those of every request the server handled before this call.
  void drain(bool upToNow) {
    if (!dpy_) return;
    if (upToNow) XSync(dpy_, False);
    while (XPending(dpy_)) {
      XEvent ev;
      XNextEvent(dpy_, &ev);
      XGenericEventCookie& cookie = ev.xcookie;
      if (cookie.type != GenericEvent || cookie.extension != opcode_ || !XGetEventData(dpy_, &cookie)) continue;
      const int keycode = static_cast<XIRawEvent*>(cookie.data)->detail;
      if (cookie.evtype == XI_RawKeyPress) {
        // A press of a key already down would be a repeat, not a new press.
        if (!bitOf(down_, keycode)) setBit(pressed_, keycode, true);
        setBit(down_, keycode, true);
      } else if (cookie.evtype == XI_RawKeyRelease) {
        setBit(down_, keycode, false);
      }
      XFreeEventData(dpy_, &cookie);
    }
  }
  KeycodeBits& pressed() { return pressed_; }

 private:
  PressWatch() {
    Display* main = x11Display();
    if (!main) return;
    dpy_ = XOpenDisplay(DisplayString(main));
    if (!dpy_) {
      qCInfo(lcPlatform) << "no second X connection for XInput2: key taps between two reads are not seen";
      return;
    }
    int event = 0, error = 0, major = 2, minor = 2;
    // Raw events reach a client without a grab from XInput 2.1 on.
    if (!XQueryExtension(dpy_, "XInputExtension", &opcode_, &event, &error) ||
        XIQueryVersion(dpy_, &major, &minor) != Success || (major == 2 && minor < 1)) {
      qCInfo(lcPlatform) << "no XInput2 2.1 on this X server: key taps between two reads are not seen";
      XCloseDisplay(dpy_);
      dpy_ = nullptr;
      return;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XIEventMask mask{XIAllMasterDevices, int(sizeof bits), bits};
    XISelectEvents(dpy_, DefaultRootWindow(dpy_), &mask, 1);
    XSync(dpy_, False);
    qCInfo(lcPlatform) << "key presses watched through XInput2 raw events";
    std::atexit([] {
      PressWatch& w = get();
      if (w.dpy_) XCloseDisplay(w.dpy_);
      w.dpy_ = nullptr;
    });
    // Drained while the program idles too, so the server never queues much.
    if (QCoreApplication* app = QCoreApplication::instance()) {
      notifier_ = new QSocketNotifier(ConnectionNumber(dpy_), QSocketNotifier::Read, app);
      QObject::connect(notifier_, &QSocketNotifier::activated, [] { get().drain(false); });
    }
  }

  Display* dpy_ = nullptr;
  int opcode_ = 0;
  KeycodeBits down_{};
  KeycodeBits pressed_{};  // since the last take
  QPointer<QSocketNotifier> notifier_;
};

// The keys down now, NumLock and the buttons; presses not yet.
KeyboardState readKeyboard(Display* dpy) {
  KeyboardState state;
  char keys[32] = {};
  XQueryKeymap(dpy, keys);
  for (size_t i = 0; i < 32; ++i) state.keys[i] = static_cast<unsigned char>(keys[i]);
  Window root = 0, child = 0;
  int rx = 0, ry = 0, wx = 0, wy = 0;
  unsigned mask = 0;
  XQueryPointer(dpy, DefaultRootWindow(dpy), &root, &child, &rx, &ry, &wx, &wy, &mask);
  const unsigned numMask = numLockMask(dpy);
  state.numLock = numMask && (mask & numMask);
  state.buttons = ((mask & Button1Mask) ? 1u : 0u) | ((mask & Button3Mask) ? 2u : 0u) |
                  ((mask & Button2Mask) ? 4u : 0u);
  // After the keymap: a press that the keymap already shows down is in the
  // latch by now, and one that comes later counts at the next read, never twice.
  PressWatch::get().drain(true);
  return state;
}

KeysymToKeycode mappingOf(Display* dpy) {
  return [dpy](unsigned long keysym) { return int(XKeysymToKeycode(dpy, keysym)); };
}

}  // namespace

KeySnapshot KeySnapshot::read() {
  KeySnapshot snap;
  Display* dpy = x11Display();
  if (!dpy) return snap;
  snap.state_ = readKeyboard(dpy);
  KeycodeBits& latch = PressWatch::get().pressed();
  snap.state_.pressed = latch;
  latch = {};
  snap.live_ = true;
  return snap;
}

bool KeySnapshot::isDown(int vk) const { return asyncState(vk) & 0x8000; }

bool KeySnapshot::wasPressed(int vk) const { return asyncState(vk) & 1; }

short KeySnapshot::asyncState(int vk) const {
  if (!live_) return 0;
  Display* dpy = x11Display();
  if (!dpy) return 0;
  return vkState(vk, state_, mappingOf(dpy));
}

bool keyDown(int vk) {
  Display* dpy = x11Display();
  return dpy && vkDown(vk, readKeyboard(dpy), mappingOf(dpy));
}

short asyncKeyState(int vk) {
  Display* dpy = x11Display();
  if (!dpy) return 0;
  KeyboardState state = readKeyboard(dpy);
  KeycodeBits& latch = PressWatch::get().pressed();
  state.pressed = latch;
  const short value = vkState(vk, state, mappingOf(dpy));
  // Only this key's presses are taken.
  for (unsigned long keysym : keysymsForVk(vk, state.numLock)) setBit(latch, int(XKeysymToKeycode(dpy, keysym)), false);
  return value;
}

void watchKeyPresses() {
  if (x11Display()) PressWatch::get();
}

bool keyPressesSeen() { return x11Display() && PressWatch::get().live(); }

}  // namespace platform
