#include "vorn/platform/hosts/sdl/sdlhost.h"

#include <SDL.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "vorn/platform/controls/dropdown.h"
#include "vorn/platform/controls/forms.h"
#include "vorn/platform/graphics/drawtext.h"
#include "vorn/platform/hosts/sdl/sdlinput.h"
#include "vorn/platform/runtime/timers.h"
#include "vorn/platform/stdctrls/menus.h"
#include "vorn/platform/stdctrls/menuview.h"

namespace vorn {

using sdlinput::ButtonOf;

namespace {

// Whether the open drop-down belongs to a control on Form.
bool OpenedDropDown(const TCustomForm& Form) {
  const TDropDownWindow* open = TDropDownWindow::Current();
  const TControl* opener = open != nullptr ? open->Opener() : nullptr;
  return opener != nullptr && GetParentForm(opener) == &Form;
}

}  // namespace

struct TSDLHost::Window {
  TCustomForm* Form = nullptr;
  SDL_Window* Handle = nullptr;
  SDL_Renderer* Renderer = nullptr;
  SDL_Texture* Texture = nullptr;
  int TextureW = 0, TextureH = 0;
  bool Hidden = false;  // a closed drop-down, kept for its next opening
  sdlinput::TWheelSteps Wheel;
  std::uint64_t Presented = ~std::uint64_t{0};
  ~Window() {
    if (Texture != nullptr) SDL_DestroyTexture(Texture);
    if (Renderer != nullptr) SDL_DestroyRenderer(Renderer);
    if (Handle != nullptr) SDL_DestroyWindow(Handle);
  }
};

TSDLHost::TSDLHost() {
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
    throw std::runtime_error(std::string("Cannot start the window system: ") + SDL_GetError());
  }
  SDL_StartTextInput();
}

TSDLHost::~TSDLHost() {
  FWindows.clear();
  SDL_Quit();
}

std::int64_t TSDLHost::ClockMs() const { return static_cast<std::int64_t>(SDL_GetTicks64()); }

int TSDLHost::ScreenWidth() const {
  SDL_DisplayMode mode;
  return SDL_GetCurrentDisplayMode(0, &mode) == 0 ? mode.w : 1920;
}

int TSDLHost::ScreenHeight() const {
  SDL_DisplayMode mode;
  return SDL_GetCurrentDisplayMode(0, &mode) == 0 ? mode.h : 1080;
}

void TSDLHost::FormShown(TCustomForm& Form) {
  if (auto found = FWindows.find(&Form); found != FWindows.end()) {
    // A drop-down opening again reuses its window.
    Window& w = *found->second;
    SDL_SetWindowPosition(w.Handle, Form.Left(), Form.Top());
    SDL_SetWindowSize(w.Handle, std::max(1, Form.Width()), std::max(1, Form.Height()));
    SDL_ShowWindow(w.Handle);
    w.Hidden = false;
    w.Presented = ~std::uint64_t{0};
    return;
  }
  auto w = std::make_unique<Window>();
  w->Form = &Form;
  Uint32 flags = SDL_WINDOW_SHOWN;
  if (Form.BorderStyle() == bsNone) flags |= SDL_WINDOW_BORDERLESS | SDL_WINDOW_POPUP_MENU;
  if (Form.BorderStyle() == bsSizeable) flags |= SDL_WINDOW_RESIZABLE;
  int x = Form.Left(), y = Form.Top();
  if (Form.Position() == poScreenCenter) x = y = static_cast<int>(SDL_WINDOWPOS_CENTERED);
  w->Handle = SDL_CreateWindow(Form.Caption().c_str(), x, y, std::max(1, Form.Width()), std::max(1, Form.Height()), flags);
  if (w->Handle == nullptr) throw std::runtime_error(std::string("Cannot open a window: ") + SDL_GetError());
  w->Renderer = SDL_CreateRenderer(w->Handle, -1, SDL_RENDERER_SOFTWARE);
  FWindows[&Form] = std::move(w);
}

// What a closed window covered is put on the screen again at once: the
// window system's note that it is uncovered may come late, go to a window
// that is busy in a nested loop, or not come at all (a compositor that
// kept the picture may skip it while a window under it changed).
void TSDLHost::Uncovered() {
  for (auto& entry : FWindows) entry.second->Presented = ~std::uint64_t{0};
}

void TSDLHost::FormHidden(TCustomForm& Form) {
  auto found = FWindows.find(&Form);
  if (found == FWindows.end()) return;
  Uncovered();
  if (!Form.IsDropDown()) {
    ReturnKeyboard(found->second->Handle);
    FWindows.erase(found);
    return;
  }
  // A drop-down's window is hidden and kept for its next opening: the
  // window system may have given it the keyboard, which goes back to the
  // form of the control that opened it.
  found->second->Hidden = true;
  SDL_HideWindow(found->second->Handle);
  TControl* opener = static_cast<TDropDownWindow&>(Form).Opener();
  TCustomForm* owner = opener != nullptr ? GetParentForm(opener) : nullptr;
  if (auto back = FWindows.find(owner); back != FWindows.end() && !back->second->Hidden) {
    SDL_SetWindowInputFocus(back->second->Handle);
  }
}

void TSDLHost::FormDestroyed(TCustomForm& Form) {
  auto found = FWindows.find(&Form);
  if (found == FWindows.end()) return;
  ReturnKeyboard(found->second->Handle);
  FWindows.erase(found);
  Uncovered();
}

// A window that had the keyboard and closes (a menu level, a dialog) hands
// it to the window that keeps it; the window system would otherwise give
// it to no window of ours, and the next keys would be lost.
void TSDLHost::ReturnKeyboard(SDL_Window* Closing) {
  // Without the keyboard the program has nothing to hand on (and must not
  // take it from another program).
  if (Closing == nullptr || SDL_GetKeyboardFocus() != Closing) return;
  Window* to = KeyboardWindow(Closing);
  for (auto it = FWindows.begin(); to == nullptr && it != FWindows.end(); ++it) {
    Window& w = *it->second;
    if (!w.Hidden && w.Handle != Closing && it->first->BorderStyle() != bsNone) to = &w;
  }
  if (to != nullptr) SDL_SetWindowInputFocus(to->Handle);
}

void TSDLHost::FormDirty(TCustomForm&) {}

TSDLHost::Window* TSDLHost::WindowOf(std::uint32_t WindowId) {
  SDL_Window* handle = SDL_GetWindowFromID(WindowId);
  for (auto& [form, w] : FWindows) {
    if (w->Handle == handle) return w->Hidden ? nullptr : w.get();
  }
  return nullptr;
}

std::uint32_t TSDLHost::WindowIdOf(const TCustomForm& Form) const {
  const auto found = FWindows.find(const_cast<TCustomForm*>(&Form));
  return found != FWindows.end() ? SDL_GetWindowID(found->second->Handle) : 0;
}

void TSDLHost::Present() {
  for (auto& [form, w] : FWindows) {
    if (w->Hidden) continue;
    form->PaintDirty();
    if (w->Presented == form->SurfaceVersion() || w->Renderer == nullptr) continue;
    const TBitmap& surface = form->SurfaceBitmap();
    if (surface.Empty()) continue;
    if (w->Texture == nullptr || w->TextureW != surface.Width() || w->TextureH != surface.Height()) {
      if (w->Texture != nullptr) SDL_DestroyTexture(w->Texture);
      w->Texture = SDL_CreateTexture(w->Renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                     surface.Width(), surface.Height());
      w->TextureW = surface.Width();
      w->TextureH = surface.Height();
    }
    SDL_UpdateTexture(w->Texture, nullptr, surface.ScanLine(0), surface.Width() * 4);
    SDL_RenderClear(w->Renderer);
    SDL_RenderCopy(w->Renderer, w->Texture, nullptr, nullptr);
    SDL_RenderPresent(w->Renderer);
    w->Presented = form->SurfaceVersion();
  }
}

void TSDLHost::HandleEvents() {
  SDL_Event e;
  while (SDL_PollEvent(&e) != 0) {
    if (e.type == SDL_QUIT) {
      FTerminated = true;
      continue;
    }
    Uint32 windowId = 0;
    switch (e.type) {
      case SDL_WINDOWEVENT: windowId = e.window.windowID; break;
      case SDL_MOUSEMOTION: windowId = e.motion.windowID; break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: windowId = e.button.windowID; break;
      case SDL_MOUSEWHEEL: windowId = e.wheel.windowID; break;
      case SDL_KEYDOWN:
      case SDL_KEYUP: windowId = e.key.windowID; break;
      case SDL_TEXTINPUT: windowId = e.text.windowID; break;
      default: continue;
    }
    // An open popup menu takes the keyboard, whichever window has it: the
    // one that had it may be a level of the menu that just closed.
    TMenuTracker* menu = TMenuTracker::Active();
    if (menu != nullptr && (e.type == SDL_KEYDOWN || e.type == SDL_TEXTINPUT)) {
      if (e.type == SDL_KEYDOWN) {
        FKeyMod = e.key.keysym.mod;
        const sdlinput::TKeyMessages keys = sdlinput::KeyMessages(e.key);
        for (int i = 0; i < keys.Count; ++i) {
          SetKeyDown(keys.Keys[static_cast<std::size_t>(i)], true);
          menu->KeyDown(keys.Keys[static_cast<std::size_t>(i)]);
        }
      }
      continue;
    }
    const bool keyboard = e.type == SDL_KEYDOWN || e.type == SDL_KEYUP || e.type == SDL_TEXTINPUT;
    Window* w = WindowOf(windowId);
    // Keys for no window of ours (the window that had the keyboard has just
    // closed) go to the form that keeps the keyboard.
    if (w == nullptr && keyboard) w = KeyboardWindow();
    if (w == nullptr) {
      if (e.type == SDL_KEYUP) ReleaseKeys(e.key);
      continue;
    }
    TCustomForm* target = w->Form;
    // An open popup menu closes on a press outside its own windows.
    if (menu != nullptr && !menu->Owns(target) && e.type != SDL_WINDOWEVENT && e.type != SDL_KEYUP) {
      if (e.type == SDL_MOUSEBUTTONDOWN) menu->Cancel();
      continue;
    }
    // Keys that reach a drop-down window belong to the form of the control
    // that opened it, which keeps the keyboard.
    if (keyboard && target->IsDropDown()) {
      TControl* opener = static_cast<TDropDownWindow*>(target)->Opener();
      TCustomForm* owner = opener != nullptr ? GetParentForm(opener) : nullptr;
      if (owner == nullptr || FWindows.count(owner) == 0) continue;
      target = owner;
    }
    TCustomForm& form = *target;
    // While a modal form runs, the other windows take no input; a drop-down
    // opened from it does.
    const bool blocked = FModal != nullptr && &form != FModal && !form.IsDropDown() && e.type != SDL_WINDOWEVENT;
    if (blocked) {
      // A click elsewhere closes an open popup menu or drop-down.
      if (e.type == SDL_MOUSEBUTTONDOWN) {
        TDropDownWindow::DismissFor(&form);
        if (FModal->BorderStyle() == bsNone) FModal->Hide();
      }
      continue;
    }
    const TShiftState shift = KeyboardShiftState();
    switch (e.type) {
      case SDL_WINDOWEVENT:
        switch (e.window.event) {
          case SDL_WINDOWEVENT_CLOSE: form.Close(); break;
          // The keyboard moving between a form and the drop-down opened
          // from it changes nothing: the form stays active.
          case SDL_WINDOWEVENT_FOCUS_GAINED:
            if (!form.IsDropDown()) form.SetWindowActive(true);
            break;
          case SDL_WINDOWEVENT_FOCUS_LOST:
            if (!form.IsDropDown() && !OpenedDropDown(form)) form.SetWindowActive(false);
            break;
          case SDL_WINDOWEVENT_LEAVE: form.InputMouseLeave(); break;
          case SDL_WINDOWEVENT_SIZE_CHANGED:
            // The window's pixels are new, whether or not the form changed.
            form.SetBounds(form.Left(), form.Top(), e.window.data1, e.window.data2);
            w->Presented = ~std::uint64_t{0};
            break;
          case SDL_WINDOWEVENT_EXPOSED:
          case SDL_WINDOWEVENT_SHOWN:
          case SDL_WINDOWEVENT_RESTORED: w->Presented = ~std::uint64_t{0}; break;
          case SDL_WINDOWEVENT_MOVED:
            form.SetBounds(e.window.data1, e.window.data2, form.Width(), form.Height());
            break;
          default: break;
        }
        break;
      case SDL_MOUSEMOTION: form.InputMouseMove(shift, e.motion.x, e.motion.y); break;
      case SDL_MOUSEBUTTONDOWN:
        form.InputMouseDown(ButtonOf(e.button.button), shift, e.button.x, e.button.y, e.button.clicks == 2);
        break;
      case SDL_MOUSEBUTTONUP: form.InputMouseUp(ButtonOf(e.button.button), shift, e.button.x, e.button.y); break;
      case SDL_MOUSEWHEEL: {
        const int delta = w->Wheel.Delta(e.wheel);
        if (delta == 0) break;
#if SDL_VERSION_ATLEAST(2, 26, 0)
        const int mx = e.wheel.mouseX, my = e.wheel.mouseY;
#else
        int mx = 0, my = 0;
        SDL_GetMouseState(&mx, &my);
#endif
        form.InputMouseWheel(shift, delta, mx, my);
        break;
      }
      case SDL_KEYDOWN:
      case SDL_KEYUP: FKeyMod = e.key.keysym.mod; KeyEvent(form, e.key); break;
      case SDL_TEXTINPUT: {
        // Text typed with the left Alt alone belongs to an accelerator,
        // handled with its key message.
        if (!sdlinput::TypesText(FKeyMod)) break;
        const std::string_view text(e.text.text);
        std::size_t pos = 0;
        while (pos < text.size() && IsLiveControl(&form)) form.InputChar(NextCodePoint(text, pos));
        break;
      }
      default: break;
    }
  }
}

// A key event's key messages go to the form; a key that types no text
// (Return, Escape, Ctrl with a letter) sends its control character too.
void TSDLHost::KeyEvent(TCustomForm& Form, const SDL_KeyboardEvent& Key) {
  TDestroyGuard guard(&Form);
  const sdlinput::TKeyMessages keys = sdlinput::KeyMessages(Key);
  for (int i = 0; i < keys.Count && !guard.Gone(); ++i) {
    const Word vk = keys.Keys[static_cast<std::size_t>(i)];
    if (Key.type == SDL_KEYUP) {
      Form.InputKeyUp(vk);
      continue;
    }
    Form.InputKeyDown(vk);
    const char32_t c = ControlCharOfKey(vk, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0);
    if (c != 0 && !guard.Gone()) Form.InputChar(c);
  }
}

TSDLHost::Window* TSDLHost::KeyboardWindow(const SDL_Window* Except) {
  const auto takes = [Except](const Window& w) { return !w.Hidden && w.Handle != Except; };
  if (auto modal = FWindows.find(FModal); modal != FWindows.end() && takes(*modal->second)) {
    return modal->second.get();
  }
  for (auto& [form, w] : FWindows) {
    if (takes(*w) && !form->IsDropDown() && form->Active()) return w.get();
  }
  return nullptr;
}

void TSDLHost::ReleaseKeys(const SDL_KeyboardEvent& Key) {
  const sdlinput::TKeyMessages keys = sdlinput::KeyMessages(Key);
  for (int i = 0; i < keys.Count; ++i) SetKeyDown(keys.Keys[static_cast<std::size_t>(i)], false);
}

void TSDLHost::WaitForWork(int MaxWaitMs) {
  const std::int64_t due = timers::NextDue();
  int wait = MaxWaitMs;
  if (due >= 0) wait = static_cast<int>(std::clamp<std::int64_t>(due - ClockMs(), 0, MaxWaitMs));
  SDL_WaitEventTimeout(nullptr, wait);
}

void TSDLHost::ProcessMessages() {
  TCustomForm::FreeReleasedForms();
  HandleEvents();
  timers::FireDue(ClockMs());
  TCustomForm::FreeReleasedForms();
  Present();
}

void TSDLHost::Run() {
  FTerminated = false;
  // Runs while a window is shown (closed drop-downs keep hidden ones).
  const auto anyShown = [this] {
    return std::any_of(FWindows.begin(), FWindows.end(), [](const auto& entry) { return !entry.second->Hidden; });
  };
  while (!FTerminated && anyShown()) {
    ProcessMessages();
    WaitForWork(250);
  }
}

int TSDLHost::RunModal(TCustomForm& Form) {
  TCustomForm* outer = FModal;
  FModal = &Form;
  while (!FTerminated && Form.ModalResult() == mrNone && Form.Showing()) {
    ProcessMessages();
    WaitForWork(250);
  }
  FModal = outer;
  return Form.ModalResult() != mrNone ? Form.ModalResult() : mrCancel;
}

void TSDLHost::ShowPopup(TPopupMenu& Menu, int X, int Y) {
  TMenuItem* chosen = nullptr;
  {
    TMenuTracker tracker(Menu, X, Y);
    while (!FTerminated && !tracker.Done()) {
      ProcessMessages();
      WaitForWork(250);
    }
    chosen = tracker.Chosen();
  }
  // Run after the menu's windows are gone: the handler may delete the menu.
  if (chosen != nullptr) chosen->Click();
}

std::string TSDLHost::ClipboardText() {
  char* text = SDL_GetClipboardText();
  std::string out = text != nullptr ? text : "";
  SDL_free(text);
  return out;
}

void TSDLHost::SetClipboardText(const std::string& Text) { SDL_SetClipboardText(Text.c_str()); }

bool TSDLHost::ClipboardHasText() { return SDL_HasClipboardText() == SDL_TRUE; }

}  // namespace vorn
