// Messages, key codes and input states of the toolkit. Values follow the
// classic window-message numbering, which components and their users
// know by heart (WM_TIMER is 275, CM_BUTTONPRESSED is $B018).
#pragma once

#include <cstdint>

#include "vorn/platform/graphics/types.h"
#include "vorn/platform/runtime/sets.h"

namespace vorn {

using Word = std::uint16_t;
using WPARAM = std::intptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

struct TMessage {
  std::uint32_t Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// ---- window messages -----------------------------------------------------------
constexpr std::uint32_t WM_NULL = 0x0000;
constexpr std::uint32_t WM_SIZE = 0x0005;
constexpr std::uint32_t WM_SETFOCUS = 0x0007;
constexpr std::uint32_t WM_KILLFOCUS = 0x0008;
constexpr std::uint32_t WM_ENABLE = 0x000A;
constexpr std::uint32_t WM_PAINT = 0x000F;
constexpr std::uint32_t WM_CLOSE = 0x0010;
constexpr std::uint32_t WM_NEXTDLGCTL = 0x0028;
constexpr std::uint32_t WM_CONTEXTMENU = 0x007B;
constexpr std::uint32_t WM_GETDLGCODE = 0x0087;
constexpr std::uint32_t WM_KEYDOWN = 0x0100;
constexpr std::uint32_t WM_KEYUP = 0x0101;
constexpr std::uint32_t WM_CHAR = 0x0102;
constexpr std::uint32_t WM_TIMER = 0x0113;
constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x0206;
constexpr std::uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr std::uint32_t WM_MBUTTONUP = 0x0208;
constexpr std::uint32_t WM_MBUTTONDBLCLK = 0x0209;
constexpr std::uint32_t WM_MOUSEWHEEL = 0x020A;
constexpr std::uint32_t WM_USER = 0x0400;

// ---- toolkit messages ------------------------------------------------------------
constexpr std::uint32_t CM_BASE = 0xB000;
constexpr std::uint32_t CM_ACTIVATE = CM_BASE + 0;
constexpr std::uint32_t CM_DEACTIVATE = CM_BASE + 1;
constexpr std::uint32_t CM_ENABLEDCHANGED = CM_BASE + 3;
constexpr std::uint32_t CM_COLORCHANGED = CM_BASE + 4;
constexpr std::uint32_t CM_FONTCHANGED = CM_BASE + 5;
constexpr std::uint32_t CM_CURSORCHANGED = CM_BASE + 6;
constexpr std::uint32_t CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr std::uint32_t CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr std::uint32_t CM_HITTEST = CM_BASE + 10;
constexpr std::uint32_t CM_VISIBLECHANGED = CM_BASE + 11;
constexpr std::uint32_t CM_ENTER = CM_BASE + 12;
constexpr std::uint32_t CM_EXIT = CM_BASE + 13;
constexpr std::uint32_t CM_MOUSEENTER = CM_BASE + 19;
constexpr std::uint32_t CM_MOUSELEAVE = CM_BASE + 20;
constexpr std::uint32_t CM_DIALOGKEY = CM_BASE + 21;
constexpr std::uint32_t CM_DIALOGCHAR = CM_BASE + 22;
constexpr std::uint32_t CM_TEXTCHANGED = CM_BASE + 18;
// WParam: the group index; LParam: the sender as a TObject*.
constexpr std::uint32_t CM_BUTTONPRESSED = CM_BASE + 24;  // $B018
constexpr std::uint32_t CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr std::uint32_t CM_WANTSPECIALKEY = CM_BASE + 47;

// Notifications the toolkit sends a control before the plain key messages;
// a control that answers with a non-zero Result has taken the key.
constexpr std::uint32_t CN_BASE = 0xBC00;
constexpr std::uint32_t CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr std::uint32_t CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr std::uint32_t CN_CHAR = CN_BASE + WM_CHAR;

// Answers to WM_GETDLGCODE: which keys a control keeps for itself.
constexpr LRESULT DLGC_WANTARROWS = 0x0001;
constexpr LRESULT DLGC_WANTTAB = 0x0002;
constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
constexpr LRESULT DLGC_WANTCHARS = 0x0080;
// The control keeps Return (not Escape) for itself: a focused push button,
// a grid that edits its cells.
constexpr LRESULT DLGC_WANTRETURN = 0x4000;

// ---- virtual keys -----------------------------------------------------------------
constexpr Word VK_LBUTTON = 0x01;
constexpr Word VK_RBUTTON = 0x02;
constexpr Word VK_MBUTTON = 0x04;
constexpr Word VK_BACK = 0x08;
constexpr Word VK_TAB = 0x09;
constexpr Word VK_RETURN = 0x0D;
constexpr Word VK_SHIFT = 0x10;
constexpr Word VK_CONTROL = 0x11;
constexpr Word VK_MENU = 0x12;
constexpr Word VK_PAUSE = 0x13;
constexpr Word VK_CAPITAL = 0x14;
constexpr Word VK_ESCAPE = 0x1B;
constexpr Word VK_SPACE = 0x20;
constexpr Word VK_PRIOR = 0x21;
constexpr Word VK_NEXT = 0x22;
constexpr Word VK_END = 0x23;
constexpr Word VK_HOME = 0x24;
constexpr Word VK_LEFT = 0x25;
constexpr Word VK_UP = 0x26;
constexpr Word VK_RIGHT = 0x27;
constexpr Word VK_DOWN = 0x28;
constexpr Word VK_INSERT = 0x2D;
constexpr Word VK_DELETE = 0x2E;
// '0'..'9' are 0x30..0x39 and 'A'..'Z' are 0x41..0x5A.
constexpr Word VK_LWIN = 0x5B;
constexpr Word VK_APPS = 0x5D;
constexpr Word VK_NUMPAD0 = 0x60;
constexpr Word VK_NUMPAD9 = 0x69;
constexpr Word VK_MULTIPLY = 0x6A;
constexpr Word VK_ADD = 0x6B;
constexpr Word VK_SEPARATOR = 0x6C;
constexpr Word VK_SUBTRACT = 0x6D;
constexpr Word VK_DECIMAL = 0x6E;
constexpr Word VK_DIVIDE = 0x6F;
constexpr Word VK_F1 = 0x70;
constexpr Word VK_F2 = 0x71;
constexpr Word VK_F3 = 0x72;
constexpr Word VK_F4 = 0x73;
constexpr Word VK_F10 = 0x79;
constexpr Word VK_F12 = 0x7B;
constexpr Word VK_NUMLOCK = 0x90;
constexpr Word VK_SCROLL = 0x91;
constexpr Word VK_OEM_1 = 0xBA;       // ;:
constexpr Word VK_OEM_PLUS = 0xBB;    // =+
constexpr Word VK_OEM_COMMA = 0xBC;   // ,<
constexpr Word VK_OEM_MINUS = 0xBD;   // -_
constexpr Word VK_OEM_PERIOD = 0xBE;  // .>
constexpr Word VK_OEM_2 = 0xBF;       // /?
constexpr Word VK_OEM_3 = 0xC0;       // `~
constexpr Word VK_OEM_4 = 0xDB;       // [{
constexpr Word VK_OEM_5 = 0xDC;       // backslash |
constexpr Word VK_OEM_6 = 0xDD;       // ]}
constexpr Word VK_OEM_7 = 0xDE;       // '"

// The character a key sends besides its key messages when it types no
// text: Backspace, Tab, Return and Escape, and Ctrl with a letter (1..26).
constexpr char32_t ControlCharOfKey(Word Key, bool Ctrl) {
  switch (Key) {
    case VK_BACK: return 8;
    case VK_TAB: return 9;
    case VK_RETURN: return 13;
    case VK_ESCAPE: return 27;
    default: return Ctrl && Key >= 'A' && Key <= 'Z' ? static_cast<char32_t>(Key - 'A' + 1) : 0;
  }
}

// The same for a key pressed with modifiers held. Ctrl and Alt together
// are how AltGr arrives: such a key types text (delivered as a character
// of its own), so it sends no control character.
constexpr char32_t ControlCharOfKey(Word Key, bool Ctrl, bool Alt) {
  return Ctrl && Alt && Key >= 'A' && Key <= 'Z' ? 0 : ControlCharOfKey(Key, Ctrl);
}

// ---- input states -------------------------------------------------------------------
enum TShiftStateItem : std::uint8_t {
  ssShift,
  ssAlt,
  ssCtrl,
  ssLeft,
  ssRight,
  ssMiddle,
  ssDouble,
  ssTouch,
  ssPen,
  ssCommand
};
using TShiftState = TSet<TShiftStateItem>;

enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

// Wheel steps are multiples of this.
constexpr int WHEEL_DELTA = 120;

// Mouse messages carry the point in LParam: X in the low 16 bits, Y in the
// high 16 bits, both signed.
constexpr LPARAM PointToLParam(TPoint p) {
  return static_cast<LPARAM>(static_cast<std::uint32_t>(static_cast<std::uint16_t>(p.X)) |
                             (static_cast<std::uint32_t>(static_cast<std::uint16_t>(p.Y)) << 16));
}
constexpr TPoint LParamToPoint(LPARAM l) {
  return {static_cast<std::int16_t>(static_cast<std::uint16_t>(l & 0xFFFF)),
          static_cast<std::int16_t>(static_cast<std::uint16_t>((l >> 16) & 0xFFFF))};
}

}  // namespace vorn
