// How the window host reads SDL input: key codes become virtual keys, the
// Alt keys are told apart, and wheel movement becomes wheel deltas. These
// are pure functions of the events (the wheel keeps what is left of a
// unit), so that they are checked without a window system.
#pragma once

#include <SDL.h>

#include <array>

#include "vorn/platform/runtime/messages.h"

namespace vorn::sdlinput {

// Virtual key for an SDL key code; 0 when there is none.
Word VirtualKey(SDL_Keycode Key);

TMouseButton ButtonOf(Uint8 Button);

// The key messages of one key event, in the order they are sent.
struct TKeyMessages {
  std::array<Word, 2> Keys{};
  int Count = 0;
  void Add(Word Key) { Keys[static_cast<std::size_t>(Count++)] = Key; }
};

// The virtual keys a key event presses (SDL_KEYDOWN) or releases
// (SDL_KEYUP). The right Alt key (AltGr, also reported as the mode key) is
// pressed as Ctrl and Alt together, as keyboards with AltGr report it
// elsewhere: a letter typed with it is text, never an accelerator or a Ctrl
// shortcut. Only the left Alt is Alt alone. A modifier is released only when
// no other key that gives it is still held (the event's mod is the state
// after the change).
TKeyMessages KeyMessages(const SDL_KeyboardEvent& Event);

// Whether text typed while Mod was the modifier state is text. With the left
// Alt alone held the key is an accelerator, handled with its key message, and
// the text it produced is dropped; Ctrl with Alt and AltGr type.
bool TypesText(Uint16 Mod);

// Adds up wheel movement: fine-stepping wheels report parts of a notch, and
// what does not make a whole WHEEL_DELTA unit is kept for the next event, so
// that no movement is lost to rounding. Positive is away from the user.
class TWheelSteps {
 public:
  int Delta(const SDL_MouseWheelEvent& Event);

 private:
  double FRest = 0;
};

}  // namespace vorn::sdlinput
