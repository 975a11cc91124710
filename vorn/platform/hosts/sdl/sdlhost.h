// The window host: every shown form is a real window (SDL2), input comes
// from the window system, time from the real clock, and the clipboard is
// the system's. Install it before creating forms:
//
//   TSDLHost host;  SetHost(&host);
//   TForm form(nullptr);  form.Show();
//   Application()->Run();
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "vorn/platform/runtime/host.h"

struct SDL_KeyboardEvent;
struct SDL_Window;

namespace vorn {

class TSDLHost : public THost {
 public:
  TSDLHost();
  ~TSDLHost() override;

  [[nodiscard]] std::int64_t ClockMs() const override;
  void TimersChanged() override {}

  void FormShown(TCustomForm& Form) override;
  void FormHidden(TCustomForm& Form) override;
  void FormDestroyed(TCustomForm& Form) override;
  void FormDirty(TCustomForm& Form) override;
  int RunModal(TCustomForm& Form) override;
  void ShowPopup(TPopupMenu& Menu, int X, int Y) override;

  void ProcessMessages() override;
  void Run() override;
  void Terminate() override { FTerminated = true; }

  std::string ClipboardText() override;
  void SetClipboardText(const std::string& Text) override;
  bool ClipboardHasText() override;

  [[nodiscard]] int ScreenWidth() const override;
  [[nodiscard]] int ScreenHeight() const override;

  // The window system's id of the form's window, 0 while it has none.
  [[nodiscard]] std::uint32_t WindowIdOf(const TCustomForm& Form) const;

 private:
  struct Window;
  // Waits for input or the next timer, at most MaxWaitMs.
  void WaitForWork(int MaxWaitMs);
  void HandleEvents();
  void Present();
  // Every window is put on the screen afresh at the next Present.
  void Uncovered();
  Window* WindowOf(std::uint32_t WindowId);
  void KeyEvent(TCustomForm& Form, const SDL_KeyboardEvent& Key);
  // The window whose form takes keys that name no window of ours (other
  // than Except).
  Window* KeyboardWindow(const SDL_Window* Except = nullptr);
  // Gives the keyboard to the window that keeps it when Closing had it.
  void ReturnKeyboard(SDL_Window* Closing);
  // Key state for a release no form receives.
  static void ReleaseKeys(const SDL_KeyboardEvent& Key);

  std::map<TCustomForm*, std::unique_ptr<Window>> FWindows;
  TCustomForm* FModal = nullptr;
  bool FTerminated = false;
  // Modifiers of the last key event: they decide whether the text that
  // follows it is typed.
  std::uint16_t FKeyMod = 0;
};

}  // namespace vorn
