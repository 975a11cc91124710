#include "vorn/platform/hosts/sdl/sdlinput.h"

#include <cmath>

namespace vorn::sdlinput {

Word VirtualKey(SDL_Keycode k) {
  if (k >= SDLK_a && k <= SDLK_z) return static_cast<Word>('A' + (k - SDLK_a));
  if (k >= SDLK_0 && k <= SDLK_9) return static_cast<Word>('0' + (k - SDLK_0));
  if (k >= SDLK_F1 && k <= SDLK_F12) return static_cast<Word>(VK_F1 + (k - SDLK_F1));
  if (k >= SDLK_KP_1 && k <= SDLK_KP_9) return static_cast<Word>(VK_NUMPAD0 + 1 + (k - SDLK_KP_1));
  switch (k) {
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT: return VK_MENU;
    case SDLK_PAUSE: return VK_PAUSE;
    case SDLK_CAPSLOCK: return VK_CAPITAL;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_END: return VK_END;
    case SDLK_HOME: return VK_HOME;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_KP_0: return VK_NUMPAD0;
    case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
    case SDLK_KP_PLUS: return VK_ADD;
    case SDLK_KP_MINUS: return VK_SUBTRACT;
    case SDLK_KP_PERIOD: return VK_DECIMAL;
    case SDLK_KP_DIVIDE: return VK_DIVIDE;
    case SDLK_NUMLOCKCLEAR: return VK_NUMLOCK;
    case SDLK_SCROLLLOCK: return VK_SCROLL;
    case SDLK_SEMICOLON: return VK_OEM_1;
    case SDLK_EQUALS: return VK_OEM_PLUS;
    case SDLK_COMMA: return VK_OEM_COMMA;
    case SDLK_MINUS: return VK_OEM_MINUS;
    case SDLK_PERIOD: return VK_OEM_PERIOD;
    case SDLK_SLASH: return VK_OEM_2;
    case SDLK_BACKQUOTE: return VK_OEM_3;
    case SDLK_LEFTBRACKET: return VK_OEM_4;
    case SDLK_BACKSLASH: return VK_OEM_5;
    case SDLK_RIGHTBRACKET: return VK_OEM_6;
    case SDLK_QUOTE: return VK_OEM_7;
    case SDLK_APPLICATION:
    case SDLK_MENU: return VK_APPS;
    default: return 0;
  }
}

TMouseButton ButtonOf(Uint8 b) {
  switch (b) {
    case SDL_BUTTON_RIGHT: return mbRight;
    case SDL_BUTTON_MIDDLE: return mbMiddle;
    default: return mbLeft;
  }
}

namespace {

constexpr Uint16 AltGrMods = KMOD_RALT | KMOD_MODE;

bool IsAltGr(SDL_Keycode k) { return k == SDLK_RALT || k == SDLK_MODE; }

// Whether the virtual key is still given by another key held after a release.
bool StillHeld(Word Key, Uint16 Mod) {
  switch (Key) {
    case VK_SHIFT: return (Mod & KMOD_SHIFT) != 0;
    case VK_CONTROL: return (Mod & (KMOD_CTRL | AltGrMods)) != 0;
    case VK_MENU: return (Mod & (KMOD_LALT | AltGrMods)) != 0;
    default: return false;
  }
}

}  // namespace

TKeyMessages KeyMessages(const SDL_KeyboardEvent& Event) {
  TKeyMessages out;
  const SDL_Keycode sym = Event.keysym.sym;
  const bool down = Event.type == SDL_KEYDOWN;
  if (IsAltGr(sym)) {
    if (down) {
      out.Add(VK_CONTROL);
      out.Add(VK_MENU);
    } else {
      if (!StillHeld(VK_MENU, Event.keysym.mod)) out.Add(VK_MENU);
      if (!StillHeld(VK_CONTROL, Event.keysym.mod)) out.Add(VK_CONTROL);
    }
    return out;
  }
  const Word vk = VirtualKey(sym);
  if (vk != 0 && (down || !StillHeld(vk, Event.keysym.mod))) out.Add(vk);
  return out;
}

bool TypesText(Uint16 Mod) {
  const bool leftAltAlone = (Mod & KMOD_LALT) != 0 && (Mod & (KMOD_CTRL | AltGrMods)) == 0;
  return !leftAltAlone;
}

int TWheelSteps::Delta(const SDL_MouseWheelEvent& Event) {
  double notches = Event.y;
#if SDL_VERSION_ATLEAST(2, 0, 18)
  // Backends that know only whole notches may leave the precise value unset.
  if (Event.preciseY != 0.0F || Event.y == 0) notches = Event.preciseY;
#endif
  // A change of direction drops what was left of the other way.
  if ((notches < 0) != (FRest < 0)) FRest = 0;
  FRest += notches * WHEEL_DELTA;
  const double whole = std::trunc(FRest + (FRest < 0 ? -1e-6 : 1e-6));
  FRest -= whole;
  return static_cast<int>(whole);
}

}  // namespace vorn::sdlinput
