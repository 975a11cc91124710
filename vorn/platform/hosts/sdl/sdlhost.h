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

 private:
  struct Window;
  // Waits for input or the next timer, at most MaxWaitMs.
  void WaitForWork(int MaxWaitMs);
  void HandleEvents();
  void Present();
  Window* WindowOf(std::uint32_t WindowId);

  std::map<TCustomForm*, std::unique_ptr<Window>> FWindows;
  TCustomForm* FModal = nullptr;
  bool FTerminated = false;
};

}  // namespace vorn
