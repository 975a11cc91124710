#include "vorn/platform/runtime/application.h"

#include <array>
#include <cstdio>
#include <memory>

#include "vorn/platform/runtime/host.h"

namespace vorn {

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

void TApplication::HandleException(TObject* Sender) {
  auto report = [&](const std::exception& e) {
    try {
      if (FOnException) {
        FOnException(Sender, e);
      } else {
        ShowException(e);
      }
    } catch (...) {
      // A failing handler must not unwind into the message loop.
    }
  };
  const std::exception_ptr current = std::current_exception();
  if (!current) return;
  try {
    std::rethrow_exception(current);
  } catch (const std::exception& e) {
    report(e);
  } catch (...) {
    report(std::runtime_error("unknown exception"));
  }
}

void TApplication::ShowException(const std::exception& E) {
  ++FShown;
  std::fprintf(stderr, "%s: %s\n", FTitle.c_str(), E.what());
}

void TApplication::ProcessMessages() { CurrentHost().ProcessMessages(); }

void TApplication::Run() {
  FTerminated = false;
  CurrentHost().Run();
}

void TApplication::Terminate() {
  FTerminated = true;
  CurrentHost().Terminate();
}

TApplication* Application() {
  static const std::unique_ptr<TApplication> app = std::make_unique<TApplication>(nullptr);
  return app.get();
}

int TScreen::Width() const { return CurrentHost().ScreenWidth(); }
int TScreen::Height() const { return CurrentHost().ScreenHeight(); }

TScreen* Screen() {
  static const std::unique_ptr<TScreen> screen = std::make_unique<TScreen>(nullptr);
  return screen.get();
}

std::string TClipboard::AsText() const { return CurrentHost().ClipboardText(); }
void TClipboard::SetAsText(const std::string& Value) { CurrentHost().SetClipboardText(Value); }
bool TClipboard::HasFormat(unsigned Format) const {
  return (Format == CF_TEXT || Format == CF_UNICODETEXT) && CurrentHost().ClipboardHasText();
}
void TClipboard::Clear() { CurrentHost().SetClipboardText(""); }

TClipboard* Clipboard() {
  static TClipboard clipboard;
  return &clipboard;
}

namespace {

TBeepHook& BeepHook() {
  static TBeepHook hook;
  return hook;
}

std::array<bool, 256>& Keys() {
  static std::array<bool, 256> keys{};
  return keys;
}

}  // namespace

void MessageBeep(unsigned Type) {
  if (BeepHook()) BeepHook()(Type);
}

void SetBeepHook(TBeepHook Hook) { BeepHook() = std::move(Hook); }

std::int16_t GetKeyState(int VirtualKey) {
  if (VirtualKey < 0 || VirtualKey > 255) return 0;
  return Keys()[static_cast<std::size_t>(VirtualKey)] ? std::int16_t{INT16_MIN} : 0;
}

void SetKeyDown(int VirtualKey, bool Down) {
  if (VirtualKey < 0 || VirtualKey > 255) return;
  Keys()[static_cast<std::size_t>(VirtualKey)] = Down;
}

TShiftState KeyboardShiftState() {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  if (GetKeyState(VK_LBUTTON) < 0) s.Include(ssLeft);
  if (GetKeyState(VK_RBUTTON) < 0) s.Include(ssRight);
  if (GetKeyState(VK_MBUTTON) < 0) s.Include(ssMiddle);
  return s;
}

}  // namespace vorn
