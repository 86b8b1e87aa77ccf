// Decoding of virtual keys from a key bitmap, over a fake keyboard mapping.
#include "platform/Keys.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

// Xlib's keysym names last.
#include <X11/keysym.h>

namespace {

// A keyboard laid out like the usual PC map: keypad keys carry both the digit
// and the navigation keysym on one keycode.
const std::map<unsigned long, int> kMap = {
    {XK_Control_L, 37}, {XK_Control_R, 105}, {XK_Shift_L, 50},  {XK_Shift_R, 62},
    {XK_Alt_L, 64},     {XK_a, 38},          {XK_z, 52},        {XK_e, 26},
    {XK_1, 10},         {XK_9, 18},          {XK_0, 19},        {XK_KP_1, 87},
    {XK_KP_End, 87},    {XK_KP_9, 81},       {XK_KP_Prior, 81}, {XK_KP_0, 90},
    {XK_KP_Insert, 90}, {XK_End, 115},       {XK_Return, 36},   {XK_KP_Enter, 104},
    {XK_Escape, 9},     {XK_F1, 67},         {XK_F12, 96},      {XK_Left, 113},
};

int keycodeOf(unsigned long keysym) {
  const auto it = kMap.find(keysym);
  return it == kMap.end() ? 0 : it->second;
}

platform::KeyboardState held(const std::vector<unsigned long>& keysyms, bool numLock) {
  platform::KeyboardState s;
  s.numLock = numLock;
  for (unsigned long k : keysyms) s.setKeycode(keycodeOf(k), true);
  return s;
}

struct Case {
  std::string what;
  std::vector<unsigned long> keys;
  bool numLock;
  std::vector<int> down;  // virtual keys that must read as down
  std::vector<int> up;    // and some that must not
};

TEST(KeyDecoding, HotkeyCombinationsOverAFakeKeyState) {
  const std::vector<Case> cases = {
      {"left Ctrl + Z", {XK_Control_L, XK_z}, false, {17, 162, 90}, {163, 65, 16}},
      {"right Ctrl + A", {XK_Control_R, XK_a}, false, {17, 163, 65}, {162, 90}},
      {"Ctrl + digit 1", {XK_Control_L, XK_1}, false, {17, 49}, {97, 35}},
      {"Ctrl + digit 0 is 48, not keypad 0", {XK_Control_L, XK_0}, false, {48}, {96, 45}},
      {"keypad 1 with NumLock on", {XK_KP_1}, true, {97}, {35, 49, 17}},
      {"keypad 1 with NumLock off is End", {XK_KP_1}, false, {35}, {97, 49}},
      {"keypad 9 with NumLock off is Page Up", {XK_KP_9}, false, {33}, {105}},
      {"keypad 0 with NumLock off is Insert", {XK_KP_0}, false, {45}, {96}},
      {"the main End key is End under NumLock too", {XK_End}, true, {35}, {97}},
      {"several keys down at once", {XK_Control_L, XK_a, XK_z, XK_e, XK_9, XK_KP_9}, true,
       {17, 65, 90, 69, 57, 105}, {66, 49, 97}},
      {"keypad Enter is Enter", {XK_KP_Enter}, false, {13}, {27}},
      {"Shift either side", {XK_Shift_R}, false, {16, 161}, {160, 17}},
      {"Escape, F1, F12, arrow", {XK_Escape, XK_F1, XK_F12, XK_Left}, false, {27, 112, 123, 37},
       {113, 38}},
      {"nothing held", {}, true, {}, {17, 16, 18, 65, 90, 48, 57, 96, 105, 13, 27}},
  };
  for (const Case& c : cases) {
    const platform::KeyboardState s = held(c.keys, c.numLock);
    for (int vk : c.down) EXPECT_TRUE(platform::vkDown(vk, s, keycodeOf)) << c.what << ": vk " << vk;
    for (int vk : c.up) EXPECT_FALSE(platform::vkDown(vk, s, keycodeOf)) << c.what << ": vk " << vk;
  }
}

TEST(KeyDecoding, UnmappedKeysAndBadKeycodesReadAsUp) {
  platform::KeyboardState s;
  s.keys.fill(0xff);  // every keycode down
  // A key the keyboard lacks (keycode 0) and a code we do not map are never down.
  EXPECT_FALSE(platform::vkDown(91, s, keycodeOf));  // no Super key in the fake map
  EXPECT_FALSE(platform::vkDown(255, s, keycodeOf));
  EXPECT_FALSE(s.keycodeDown(0));
  EXPECT_FALSE(s.keycodeDown(-3));
  EXPECT_FALSE(s.keycodeDown(300));
  s.setKeycode(300, false);  // ignored, no write out of the bitmap
  EXPECT_TRUE(s.keycodeDown(255));
}

TEST(KeyDecoding, MouseButtonsComeFromTheButtonMask) {
  platform::KeyboardState s;
  s.buttons = 1 | 4;
  EXPECT_TRUE(platform::vkDown(1, s, keycodeOf));
  EXPECT_FALSE(platform::vkDown(2, s, keycodeOf));
  EXPECT_TRUE(platform::vkDown(4, s, keycodeOf));
}

}  // namespace
