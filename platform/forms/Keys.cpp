#include "platform/forms/Keys.h"

namespace vb {

int vkFromQtKey(int k, bool keypad) {
  if (keypad) {
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return vbKeyNumpad0 + (k - Qt::Key_0);
    switch (k) {
      case Qt::Key_Asterisk: return vbKeyMultiply;
      case Qt::Key_Plus: return vbKeyAdd;
      case Qt::Key_Minus: return vbKeySubtract;
      case Qt::Key_Period:
      case Qt::Key_Comma: return vbKeyDecimal;
      case Qt::Key_Slash: return vbKeyDivide;
      case Qt::Key_Enter: return vbKeyReturn;
      case Qt::Key_Clear: return vbKeyClear;  // keypad 5 without NumLock
      default: break;
    }
  }
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return vbKeyA + (k - Qt::Key_A);
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return vbKey0 + (k - Qt::Key_0);
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return vbKeyF1 + (k - Qt::Key_F1);
  switch (k) {
    case Qt::Key_Backspace: return vbKeyBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vbKeyTab;
    case Qt::Key_Clear: return vbKeyClear;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vbKeyReturn;
    case Qt::Key_Shift: return vbKeyShift;
    case Qt::Key_Control: return vbKeyControl;
    case Qt::Key_Alt:
    case Qt::Key_AltGr: return vbKeyMenu;
    case Qt::Key_Pause: return vbKeyPause;
    case Qt::Key_CapsLock: return vbKeyCapital;
    case Qt::Key_Escape: return vbKeyEscape;
    case Qt::Key_Space: return vbKeySpace;
    case Qt::Key_PageUp: return vbKeyPageUp;
    case Qt::Key_PageDown: return vbKeyPageDown;
    case Qt::Key_End: return vbKeyEnd;
    case Qt::Key_Home: return vbKeyHome;
    case Qt::Key_Left: return vbKeyLeft;
    case Qt::Key_Up: return vbKeyUp;
    case Qt::Key_Right: return vbKeyRight;
    case Qt::Key_Down: return vbKeyDown;
    case Qt::Key_Select: return vbKeySelect;
    case Qt::Key_Printer: return vbKeyPrint;
    case Qt::Key_Execute: return vbKeyExecute;
    case Qt::Key_Print: return vbKeySnapshot;
    case Qt::Key_Insert: return vbKeyInsert;
    case Qt::Key_Delete: return vbKeyDelete;
    case Qt::Key_Help: return vbKeyHelp;
    case Qt::Key_Meta: return 91;   // left Windows key
    case Qt::Key_Menu: return 93;   // application key
    case Qt::Key_NumLock: return vbKeyNumlock;
    case Qt::Key_ScrollLock: return vbKeyScrollLock;
    // OEM keys as on a US layout.
    case Qt::Key_Semicolon: case Qt::Key_Colon: return 186;
    case Qt::Key_Equal: case Qt::Key_Plus: return 187;
    case Qt::Key_Comma: case Qt::Key_Less: return 188;
    case Qt::Key_Minus: case Qt::Key_Underscore: return 189;
    case Qt::Key_Period: case Qt::Key_Greater: return 190;
    case Qt::Key_Slash: case Qt::Key_Question: return 191;
    case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: return 192;
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return 219;
    case Qt::Key_Backslash: case Qt::Key_Bar: return 220;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return 221;
    case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: return 222;
    case Qt::Key_Asterisk: return vbKeyMultiply;
    default: return 0;
  }
}

int qtKeyFromVk(int vk, bool* keypad) {
  if (keypad) *keypad = false;
  if (vk >= vbKeyNumpad0 && vk <= vbKeyNumpad9) {
    if (keypad) *keypad = true;
    return Qt::Key_0 + (vk - vbKeyNumpad0);
  }
  if (vk >= vbKeyA && vk <= vbKeyZ) return Qt::Key_A + (vk - vbKeyA);
  if (vk >= vbKey0 && vk <= vbKey9) return Qt::Key_0 + (vk - vbKey0);
  if (vk >= vbKeyF1 && vk <= vbKeyF1 + 23) return Qt::Key_F1 + (vk - vbKeyF1);
  for (int k : {int(Qt::Key_Backspace), int(Qt::Key_Tab), int(Qt::Key_Return), int(Qt::Key_Shift),
                int(Qt::Key_Control), int(Qt::Key_Alt), int(Qt::Key_Pause), int(Qt::Key_CapsLock),
                int(Qt::Key_Escape), int(Qt::Key_Space), int(Qt::Key_PageUp), int(Qt::Key_PageDown),
                int(Qt::Key_End), int(Qt::Key_Home), int(Qt::Key_Left), int(Qt::Key_Up),
                int(Qt::Key_Right), int(Qt::Key_Down), int(Qt::Key_Print), int(Qt::Key_Insert),
                int(Qt::Key_Delete), int(Qt::Key_Help), int(Qt::Key_NumLock), int(Qt::Key_ScrollLock)})
    if (vkFromQtKey(k, false) == vk) return k;
  if (vk >= vbKeyMultiply && vk <= vbKeyDivide) {
    if (keypad) *keypad = true;
    static const int ops[6] = {Qt::Key_Asterisk, Qt::Key_Plus, Qt::Key_Comma,
                               Qt::Key_Minus, Qt::Key_Period, Qt::Key_Slash};
    return ops[vk - vbKeyMultiply];
  }
  return 0;
}

int shiftMask(Qt::KeyboardModifiers m) {
  return (m & Qt::ShiftModifier ? vbShiftMask : 0) | (m & Qt::ControlModifier ? vbCtrlMask : 0) |
         (m & Qt::AltModifier ? vbAltMask : 0);
}

int buttonNumber(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return vbLeftButton;
    case Qt::RightButton: return vbRightButton;
    case Qt::MiddleButton: return vbMiddleButton;
    default: return 0;
  }
}

int buttonMask(Qt::MouseButtons b) {
  return (b & Qt::LeftButton ? vbLeftButton : 0) | (b & Qt::RightButton ? vbRightButton : 0) |
         (b & Qt::MiddleButton ? vbMiddleButton : 0);
}

}  // namespace vb
