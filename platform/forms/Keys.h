#pragma once
// Key codes as the old runtime's key events carry them: Windows virtual-key
// numbers, and the modifier mask 1 Shift, 2 Ctrl, 4 Alt.
#include <Qt>

namespace vb {

enum KeyCodeConstants : int {
  vbKeyLButton = 1, vbKeyRButton = 2, vbKeyCancel = 3, vbKeyMButton = 4,
  vbKeyBack = 8, vbKeyTab = 9, vbKeyClear = 12, vbKeyReturn = 13,
  vbKeyShift = 16, vbKeyControl = 17, vbKeyMenu = 18, vbKeyPause = 19, vbKeyCapital = 20,
  vbKeyEscape = 27, vbKeySpace = 32, vbKeyPageUp = 33, vbKeyPageDown = 34,
  vbKeyEnd = 35, vbKeyHome = 36, vbKeyLeft = 37, vbKeyUp = 38, vbKeyRight = 39,
  vbKeyDown = 40, vbKeySelect = 41, vbKeyPrint = 42, vbKeyExecute = 43,
  vbKeySnapshot = 44, vbKeyInsert = 45, vbKeyDelete = 46, vbKeyHelp = 47,
  vbKey0 = 48, vbKey9 = 57, vbKeyA = 65, vbKeyZ = 90,
  vbKeyNumpad0 = 96, vbKeyNumpad9 = 105, vbKeyMultiply = 106, vbKeyAdd = 107,
  vbKeySeparator = 108, vbKeySubtract = 109, vbKeyDecimal = 110, vbKeyDivide = 111,
  vbKeyF1 = 112, vbKeyF12 = 123, vbKeyF16 = 127, vbKeyNumlock = 144, vbKeyScrollLock = 145,
};

enum ShiftConstants : int { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };
enum MouseButtonConstants : int { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };

// The virtual-key number of a Qt key. keypad: the key came from the numeric
// keypad (Qt::KeypadModifier); with NumLock on, keypad digits are 96..105 and
// the keypad operators 106..111; keypad keys without NumLock arrive from Qt
// as navigation keys and map to those (Home 36, Left 37, ...). Letters are
// 65..90 whatever the case; digits of the main row 48..57. 0 for keys with no
// virtual-key number.
int vkFromQtKey(int qtKey, bool keypad);
// The Qt key of a virtual-key number (keypad digits give Qt::Key_0.. with the
// keypad flag set in *keypad). 0 when none.
int qtKeyFromVk(int vk, bool* keypad = nullptr);

// The old Shift mask of Qt's keyboard modifiers.
int shiftMask(Qt::KeyboardModifiers modifiers);
// The old button number (1, 2, 4) of one Qt button, and the mask of buttons.
int buttonNumber(Qt::MouseButton button);
int buttonMask(Qt::MouseButtons buttons);

}  // namespace vb
