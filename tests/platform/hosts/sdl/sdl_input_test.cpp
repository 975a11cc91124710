// The window host's input: SDL events turned into key messages, text and
// wheel steps, first as pure translations, then through the host itself on
// SDL's windowless driver with events put into its queue.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <memory>
#include <string>

#include "vorn/platform/controls/forms.h"
#include "vorn/platform/hosts/sdl/sdlhost.h"
#include "vorn/platform/hosts/sdl/sdlinput.h"
#include "vorn/platform/runtime/application.h"
#include "vorn/platform/runtime/host.h"
#include "vorn/platform/stdctrls/buttons.h"
#include "vorn/platform/stdctrls/edit.h"
#include "vorn/platform/stdctrls/menus.h"
#include "vorn/platform/stdctrls/menuview.h"

namespace vorn {
namespace {

SDL_KeyboardEvent KeyEvent(Uint32 Type, SDL_Keycode Sym, Uint16 Mod) {
  SDL_KeyboardEvent e{};
  e.type = Type;
  e.state = Type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.keysym.sym = Sym;
  e.keysym.mod = Mod;
  return e;
}

std::string Messages(const sdlinput::TKeyMessages& M) {
  std::string out;
  for (int i = 0; i < M.Count; ++i) {
    const Word k = M.Keys[static_cast<std::size_t>(i)];
    out += k == VK_CONTROL ? "Ctrl " : k == VK_MENU ? "Alt " : k == VK_SHIFT ? "Shift " : std::to_string(k) + " ";
  }
  return out;
}

SDL_MouseWheelEvent WheelEvent(float Notches, int X = 0, int Y = 0) {
  SDL_MouseWheelEvent e{};
  e.type = SDL_MOUSEWHEEL;
  e.y = static_cast<Sint32>(Notches);
  e.preciseY = Notches;
  e.direction = SDL_MOUSEWHEEL_NORMAL;
#if SDL_VERSION_ATLEAST(2, 26, 0)
  e.mouseX = X;
  e.mouseY = Y;
#else
  (void)X;
  (void)Y;
#endif
  return e;
}

TEST(SdlInput, KeyCodesBecomeVirtualKeys) {
  using sdlinput::VirtualKey;
  EXPECT_EQ(VirtualKey(SDLK_a), 'A');
  EXPECT_EQ(VirtualKey(SDLK_9), '9');
  EXPECT_EQ(VirtualKey(SDLK_F10), VK_F10);
  EXPECT_EQ(VirtualKey(SDLK_KP_ENTER), VK_RETURN);
  EXPECT_EQ(VirtualKey(SDLK_KP_5), VK_NUMPAD0 + 5);
  EXPECT_EQ(VirtualKey(SDLK_APPLICATION), VK_APPS);  // the Menu key, as keyboards report it
  EXPECT_EQ(VirtualKey(SDLK_MENU), VK_APPS);
  EXPECT_EQ(VirtualKey(SDLK_QUOTE), VK_OEM_7);
  EXPECT_EQ(VirtualKey(SDLK_F13), 0);
}

TEST(SdlInput, TheRightAltIsAltGrAndOnlyTheLeftAltIsAlt) {
  using sdlinput::KeyMessages;
  EXPECT_EQ(Messages(KeyMessages(KeyEvent(SDL_KEYDOWN, SDLK_LALT, KMOD_LALT))), "Alt ");
  EXPECT_EQ(Messages(KeyMessages(KeyEvent(SDL_KEYDOWN, SDLK_RALT, KMOD_RALT))), "Ctrl Alt ");
  EXPECT_EQ(Messages(KeyMessages(KeyEvent(SDL_KEYDOWN, SDLK_MODE, KMOD_MODE))), "Ctrl Alt ");
  EXPECT_EQ(Messages(KeyMessages(KeyEvent(SDL_KEYUP, SDLK_RALT, KMOD_NONE))), "Alt Ctrl ");
  // A modifier another held key still gives stays down.
  EXPECT_EQ(Messages(KeyMessages(KeyEvent(SDL_KEYUP, SDLK_RALT, KMOD_LCTRL))), "Alt ");
  EXPECT_EQ(Messages(KeyMessages(KeyEvent(SDL_KEYUP, SDLK_LCTRL, KMOD_RALT))), "");
  EXPECT_EQ(Messages(KeyMessages(KeyEvent(SDL_KEYUP, SDLK_LALT, KMOD_RALT))), "");
  EXPECT_EQ(Messages(KeyMessages(KeyEvent(SDL_KEYUP, SDLK_LSHIFT, KMOD_RSHIFT))), "");
  EXPECT_EQ(Messages(KeyMessages(KeyEvent(SDL_KEYUP, SDLK_LSHIFT, KMOD_NONE))), "Shift ");
  EXPECT_EQ(Messages(KeyMessages(KeyEvent(SDL_KEYDOWN, SDLK_F13, KMOD_NONE))), "");

  using sdlinput::TypesText;
  EXPECT_FALSE(TypesText(KMOD_LALT));  // an accelerator
  EXPECT_FALSE(TypesText(KMOD_LALT | KMOD_SHIFT));
  EXPECT_TRUE(TypesText(KMOD_NONE));
  EXPECT_TRUE(TypesText(KMOD_RALT));
  EXPECT_TRUE(TypesText(KMOD_MODE | KMOD_SHIFT));
  EXPECT_TRUE(TypesText(KMOD_LALT | KMOD_LCTRL));  // Ctrl with Alt is AltGr
}

TEST(SdlInput, WheelPartsAddUpToWholeNotchesWithoutLoss) {
  sdlinput::TWheelSteps wheel;
  int sum = 0;
  for (int i = 0; i < 3; ++i) sum += wheel.Delta(WheelEvent(1.0F / 3.0F));
  EXPECT_EQ(sum, WHEEL_DELTA);
  sum = 0;
  for (int i = 0; i < 70; ++i) sum += wheel.Delta(WheelEvent(0.1F));
  EXPECT_EQ(sum, 7 * WHEEL_DELTA);
  EXPECT_EQ(wheel.Delta(WheelEvent(3.0F)), 3 * WHEEL_DELTA);
  EXPECT_EQ(wheel.Delta(WheelEvent(-2.0F)), -2 * WHEEL_DELTA);
  // A backend that reports whole notches only.
  SDL_MouseWheelEvent whole = WheelEvent(0.0F);
  whole.y = -1;
  EXPECT_EQ(wheel.Delta(whole), -WHEEL_DELTA);
  // What is left of one direction does not carry into the other.
  sum = 0;
  for (int i = 0; i < 5; ++i) sum += wheel.Delta(WheelEvent(1.0F / 240.0F));
  sum += wheel.Delta(WheelEvent(-1.0F / 240.0F));
  EXPECT_EQ(sum, 2);
}

// ---- the host on the windowless driver --------------------------------------------------------

class SdlHostInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "dummy", SDL_HINT_OVERRIDE);
    host = std::make_unique<TSDLHost>();
    SetHost(host.get());
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
    edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(100, 60, 150, 24);
    form->Show();
    edit->SetFocus();
    window = keyWindow = host->WindowIdOf(*form);
    ASSERT_NE(window, 0U);
  }
  void TearDown() override {
    form.reset();
    for (const Word k : {VK_SHIFT, VK_CONTROL, VK_MENU}) SetKeyDown(k, false);
    SetHost(nullptr);
    host.reset();
  }

  void Push(SDL_Event& E) { ASSERT_EQ(SDL_PushEvent(&E), 1) << SDL_GetError(); }
  void Key(Uint32 Type, SDL_Keycode Sym, Uint16 Mod) {
    SDL_Event e{};
    e.key = KeyEvent(Type, Sym, Mod);
    e.key.windowID = keyWindow;
    Push(e);
  }
  void Press(SDL_Keycode Sym, Uint16 Mod = KMOD_NONE) {
    Key(SDL_KEYDOWN, Sym, Mod);
    Key(SDL_KEYUP, Sym, Mod);
  }
  void Text(const char* Utf8) {
    SDL_Event e{};
    e.text.type = SDL_TEXTINPUT;
    e.text.windowID = window;
    std::strncpy(e.text.text, Utf8, sizeof e.text.text - 1);
    Push(e);
  }
  // A key typed with a modifier key held, as the window system reports it:
  // the modifier's own key events around the key and its text.
  void TypeWith(SDL_Keycode Modifier, Uint16 Mod, SDL_Keycode Sym, const char* Utf8) {
    Key(SDL_KEYDOWN, Modifier, Mod);
    Key(SDL_KEYDOWN, Sym, Mod);
    Text(Utf8);
    Key(SDL_KEYUP, Sym, Mod);
    Key(SDL_KEYUP, Modifier, KMOD_NONE);
  }
  void Wheel(float Notches, int X, int Y) {
    SDL_Event e{};
    e.wheel = WheelEvent(Notches, X, Y);
    e.wheel.windowID = window;
    Push(e);
  }
  void Run() { host->ProcessMessages(); }

  std::unique_ptr<TSDLHost> host;
  std::unique_ptr<TForm> form;
  TEdit* edit = nullptr;
  Uint32 window = 0;
  Uint32 keyWindow = 0;  // the window key events name
};

TEST_F(SdlHostInputTest, TheMenuKeyAndShiftF10OpenTheFocusedControlsPopupMenu) {
  auto* menu = new TPopupMenu(form.get());
  auto* item = new TMenuItem(menu);
  item->SetCaption("Clear");
  menu->Items()->Add(item);
  edit->SetPopupMenu(menu);
  int popups = 0, clicks = 0;
  menu->SetOnPopup([&](TObject*) { ++popups; });
  item->SetOnClick([&](TObject*) { ++clicks; });
  // The keys after the Menu key reach the open menu: Down and Return choose.
  Press(SDLK_APPLICATION);
  Press(SDLK_DOWN);
  Press(SDLK_RETURN);
  Run();
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(TMenuTracker::Active(), nullptr);
  Key(SDL_KEYDOWN, SDLK_LSHIFT, KMOD_LSHIFT);
  Press(SDLK_F10, KMOD_LSHIFT);
  Key(SDL_KEYUP, SDLK_LSHIFT, KMOD_NONE);
  Press(SDLK_ESCAPE);
  Run();
  EXPECT_EQ(popups, 2);
  EXPECT_EQ(clicks, 1);
  Press(SDLK_F10);  // F10 alone opens nothing
  Run();
  EXPECT_EQ(popups, 2);
  // Keys naming no window (the one that had the keyboard has closed) still
  // reach the open menu.
  Press(SDLK_APPLICATION);
  keyWindow = 0;
  Press(SDLK_DOWN);
  Press(SDLK_RETURN);
  Run();
  EXPECT_EQ(popups, 3);
  EXPECT_EQ(clicks, 2);
}

// The pixel the window shows at a point of the form.
Uint32 ShownPixel(Uint32 Window, int X, int Y) {
  SDL_Surface* shown = SDL_GetWindowSurface(SDL_GetWindowFromID(Window));
  if (shown == nullptr || X >= shown->w || Y >= shown->h) return 0;
  return static_cast<const Uint32*>(shown->pixels)[Y * shown->pitch / 4 + X];
}

TEST_F(SdlHostInputTest, WhatAClosedMenuCoveredIsShownAgain) {
  auto* menu = new TPopupMenu(form.get());
  auto* item = new TMenuItem(menu);
  item->SetCaption("Clear");
  menu->Items()->Add(item);
  edit->SetPopupMenu(menu);
  Run();
  const Uint32 before = ShownPixel(window, 120, 70);
  // The window system lost the window's pixels under the menu and says
  // nothing about it (this driver never reports uncovered windows).
  SDL_Surface* shown = SDL_GetWindowSurface(SDL_GetWindowFromID(window));
  ASSERT_NE(shown, nullptr);
  SDL_FillRect(shown, nullptr, SDL_MapRGB(shown->format, 255, 0, 255));
  Press(SDLK_APPLICATION);
  Press(SDLK_ESCAPE);
  Run();
  EXPECT_EQ(ShownPixel(window, 120, 70), before);
  EXPECT_EQ(ShownPixel(window, 5, 290), ShownPixel(window, 395, 5));
}

TEST_F(SdlHostInputTest, AltGrTypesTextAndTheLeftAltPressesAccelerators) {
  int saves = 0, edits = 0;
  auto* save = new TButton(form.get());
  save->SetParent(form.get());
  save->SetBounds(10, 250, 75, 25);
  save->SetCaption("&Save");
  save->SetOnClick([&](TObject*) { ++saves; });
  auto* editButton = new TButton(form.get());
  editButton->SetParent(form.get());
  editButton->SetBounds(100, 250, 75, 25);
  editButton->SetCaption("&Euro");
  editButton->SetOnClick([&](TObject*) { ++edits; });
  edit->SetFocus();
  Text("ab");
  TypeWith(SDLK_RALT, KMOD_RALT, SDLK_e, "\u20AC");  // AltGr+E on many layouts
  TypeWith(SDLK_RALT, KMOD_RALT, SDLK_a, "\u0105");  // where Ctrl+A would select all
  TypeWith(SDLK_MODE, KMOD_MODE, SDLK_z, "\u017C");  // where Ctrl+Z would undo
  Run();
  EXPECT_EQ(edit->Text(), "ab\u20AC\u0105\u017C");
  EXPECT_EQ(edits, 0);
  EXPECT_EQ(GetKeyState(VK_CONTROL), 0);
  EXPECT_EQ(GetKeyState(VK_MENU), 0);
  // Ctrl with the left Alt types too.
  Key(SDL_KEYDOWN, SDLK_LCTRL, KMOD_LCTRL);
  TypeWith(SDLK_LALT, KMOD_LCTRL | KMOD_LALT, SDLK_q, "@");
  Key(SDL_KEYUP, SDLK_LCTRL, KMOD_NONE);
  Run();
  EXPECT_EQ(edit->Text(), "ab\u20AC\u0105\u017C@");
  // The left Alt alone presses the button and types nothing.
  TypeWith(SDLK_LALT, KMOD_LALT, SDLK_s, "s");
  Run();
  EXPECT_EQ(saves, 1);
  EXPECT_EQ(edit->Text(), "ab\u20AC\u0105\u017C@");
  EXPECT_EQ(edits, 0);
}

TEST_F(SdlHostInputTest, WheelStepsGoToTheControlUnderTheMouseByWholeNotches) {
  int ups = 0, downs = 0;
  edit->SetOnMouseWheelUp([&](TObject*, TShiftState, TPoint, bool& Handled) {
    ++ups;
    Handled = true;
  });
  edit->SetOnMouseWheelDown([&](TObject*, TShiftState, TPoint, bool& Handled) {
    ++downs;
    Handled = true;
  });
  for (int i = 0; i < 2; ++i) Wheel(1.0F / 3.0F, 110, 70);
  Run();
  EXPECT_EQ(ups, 0);
  Wheel(1.0F / 3.0F, 110, 70);
  Run();
  EXPECT_EQ(ups, 1);
  Wheel(-3.0F, 120, 75);
  Run();
  EXPECT_EQ(downs, 3);
  Wheel(-1.0F, 10, 10);  // beside the edit
  Run();
  EXPECT_EQ(downs, 3);
}

}  // namespace
}  // namespace vorn
