#include "vorn/platform/hosts/sdl/sdlhost.h"

#include <SDL.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "vorn/platform/controls/dropdown.h"
#include "vorn/platform/controls/forms.h"
#include "vorn/platform/graphics/drawtext.h"
#include "vorn/platform/runtime/timers.h"
#include "vorn/platform/stdctrls/menus.h"

namespace vorn {

namespace {

// Virtual key for an SDL key code; 0 when there is none.
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
    case SDLK_LALT:
    case SDLK_RALT: return VK_MENU;
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

// The popup menu as a small borderless form: one row per visible item.
class TPopupForm : public TForm {
 public:
  TPopupForm(TPopupMenu& menu, int x, int y) : TForm(nullptr) {
    Font()->SetName("Tahoma");
    Font()->SetSize(9);
    SetBorderStyle(bsNone);
    TCanvas measure;
    measure.SetFont(Font());
    rowHeight_ = measure.TextHeight("Ag") + 8;
    int width = 120, height = 4;
    for (int i = 0; i < menu.Items()->Count(); ++i) {
      TMenuItem* item = menu.Items()->Items(i);
      if (!item->Visible()) continue;
      items_.push_back(item);
      width = std::max(width, measure.TextWidth(item->Caption()) + 40);
      height += item->IsLine() ? 7 : rowHeight_;
    }
    SetBounds(x, y, width, height);
  }
  TMenuItem* chosen = nullptr;
  bool done = false;

  void Paint() override {
    TCanvas& c = *Canvas();
    c.Brush()->SetColor(clMenu);
    c.Pen()->SetColor(clBtnShadow);
    c.Rectangle(0, 0, Width(), Height());
    c.SetFont(Font());
    int y = 2;
    for (TMenuItem* item : items_) {
      if (item->IsLine()) {
        c.Pen()->SetColor(clBtnShadow);
        c.MoveTo(4, y + 3);
        c.LineTo(Width() - 4, y + 3);
        y += 7;
        continue;
      }
      const bool hot = item == hot_ && item->Enabled();
      c.Brush()->SetColor(hot ? clHighlight : clMenu);
      c.FillRect({2, y, Width() - 2, y + rowHeight_});
      c.Font()->SetColor(!item->Enabled() ? clGrayText : hot ? clHighlightText : clMenuText);
      TRect r{22, y, Width() - 8, y + rowHeight_};
      DrawText(c, item->Caption(), r, DT_SINGLELINE | DT_VCENTER);
      y += rowHeight_;
    }
  }
  void MouseMove(TShiftState s, int x, int y) override {
    TMenuItem* at = ItemAt(y);
    if (at != hot_) {
      hot_ = at;
      Invalidate();
    }
    TForm::MouseMove(s, x, y);
  }
  void MouseUp(TMouseButton b, TShiftState s, int x, int y) override {
    TMenuItem* at = ClientRect().Contains({x, y}) ? ItemAt(y) : nullptr;
    if (at != nullptr && at->Enabled()) chosen = at;
    done = at != nullptr || !ClientRect().Contains({x, y});
    TForm::MouseUp(b, s, x, y);
  }
  void KeyDown(Word& k, TShiftState s) override {
    if (k == VK_ESCAPE) done = true;
    TForm::KeyDown(k, s);
  }

 private:
  TMenuItem* ItemAt(int y) const {
    int top = 2;
    for (TMenuItem* item : items_) {
      const int h = item->IsLine() ? 7 : rowHeight_;
      if (y >= top && y < top + h) return item->IsLine() ? nullptr : item;
      top += h;
    }
    return nullptr;
  }
  std::vector<TMenuItem*> items_;
  TMenuItem* hot_ = nullptr;
  int rowHeight_ = 20;
};

}  // namespace

struct TSDLHost::Window {
  TCustomForm* Form = nullptr;
  SDL_Window* Handle = nullptr;
  SDL_Renderer* Renderer = nullptr;
  SDL_Texture* Texture = nullptr;
  int TextureW = 0, TextureH = 0;
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

void TSDLHost::FormHidden(TCustomForm& Form) { FWindows.erase(&Form); }

void TSDLHost::FormDestroyed(TCustomForm& Form) { FWindows.erase(&Form); }

void TSDLHost::FormDirty(TCustomForm&) {}

TSDLHost::Window* TSDLHost::WindowOf(std::uint32_t WindowId) {
  SDL_Window* handle = SDL_GetWindowFromID(WindowId);
  for (auto& [form, w] : FWindows) {
    if (w->Handle == handle) return w.get();
  }
  return nullptr;
}

void TSDLHost::Present() {
  for (auto& [form, w] : FWindows) {
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
    Window* w = WindowOf(windowId);
    if (w == nullptr) continue;
    TCustomForm* target = w->Form;
    // Keys that reach a drop-down window belong to the form of the control
    // that opened it, which keeps the keyboard.
    const bool keyboard = e.type == SDL_KEYDOWN || e.type == SDL_KEYUP || e.type == SDL_TEXTINPUT;
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
          case SDL_WINDOWEVENT_FOCUS_GAINED: form.SetWindowActive(true); break;
          case SDL_WINDOWEVENT_FOCUS_LOST: form.SetWindowActive(false); break;
          case SDL_WINDOWEVENT_LEAVE: form.InputMouseLeave(); break;
          case SDL_WINDOWEVENT_SIZE_CHANGED:
            form.SetBounds(form.Left(), form.Top(), e.window.data1, e.window.data2);
            break;
          case SDL_WINDOWEVENT_EXPOSED: w->Presented = ~std::uint64_t{0}; break;
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
        int mx = 0, my = 0;
        SDL_GetMouseState(&mx, &my);
#if SDL_VERSION_ATLEAST(2, 0, 18)
        // Fine-stepping wheels report parts of a notch; controls add them up.
        const int delta = static_cast<int>(e.wheel.preciseY * WHEEL_DELTA);
#else
        const int delta = e.wheel.y * WHEEL_DELTA;
#endif
        form.InputMouseWheel(shift, delta, mx, my);
        break;
      }
      case SDL_KEYDOWN: {
        const Word vk = VirtualKey(e.key.keysym.sym);
        if (vk == 0) break;
        form.InputKeyDown(vk);
        const char32_t c = ControlCharOfKey(vk, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0);
        if (c != 0 && IsLiveControl(&form)) form.InputChar(c);
        break;
      }
      case SDL_KEYUP: {
        const Word vk = VirtualKey(e.key.keysym.sym);
        if (vk != 0) form.InputKeyUp(vk);
        break;
      }
      case SDL_TEXTINPUT: {
        // The left Alt alone makes a key an accelerator, handled with its
        // key message. Ctrl with Alt, and a right Alt or mode key, are how
        // AltGr arrives on the various systems: those type.
        const SDL_Keymod mod = SDL_GetModState();
        if ((mod & KMOD_LALT) != 0 && (mod & (KMOD_CTRL | KMOD_RALT | KMOD_MODE)) == 0) break;
        const std::string_view text(e.text.text);
        std::size_t pos = 0;
        while (pos < text.size() && IsLiveControl(&form)) form.InputChar(NextCodePoint(text, pos));
        break;
      }
      default: break;
    }
  }
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
  while (!FTerminated && !FWindows.empty()) {
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
    TPopupForm popup(Menu, X, Y);
    popup.Show();
    TCustomForm* outer = FModal;
    FModal = &popup;
    while (!FTerminated && !popup.done && popup.Showing()) {
      ProcessMessages();
      WaitForWork(250);
    }
    FModal = outer;
    chosen = popup.chosen;
  }
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
