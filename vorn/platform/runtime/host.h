// The platform behind the toolkit: where forms appear, where time comes
// from, where the clipboard lives. The headless host (hosts/headless.h)
// is the default; a program that opens real windows installs the SDL2
// host before it creates forms.
#pragma once

#include <cstdint>
#include <string>

namespace vorn {

class TCustomForm;
class TPopupMenu;

class THost {
 public:
  THost() = default;
  THost(const THost&) = delete;
  THost& operator=(const THost&) = delete;
  virtual ~THost() = default;

  // Milliseconds of this host's clock (virtual or real).
  [[nodiscard]] virtual std::int64_t ClockMs() const = 0;
  // A timer was started; a host that sleeps until the next timer wakes.
  virtual void TimersChanged() {}

  // A form was shown or hidden; the host gives it a surface and window.
  virtual void FormShown(TCustomForm& Form) = 0;
  virtual void FormHidden(TCustomForm& Form) = 0;
  // A form goes away for good.
  virtual void FormDestroyed(TCustomForm& Form) = 0;
  // A form has parts to repaint or new pixels to present.
  virtual void FormDirty(TCustomForm& /*Form*/) {}
  // Shows the form modally and returns its modal result.
  virtual int RunModal(TCustomForm& Form) = 0;
  // Shows a popup menu at a screen point; returns when it is closed.
  virtual void ShowPopup(TPopupMenu& Menu, int X, int Y) = 0;

  // Handles what is pending: due timers, repaints, input (window hosts).
  virtual void ProcessMessages() = 0;
  // Runs until Terminate (window hosts); the headless host returns at once.
  virtual void Run() = 0;
  virtual void Terminate() = 0;

  virtual std::string ClipboardText() = 0;
  virtual void SetClipboardText(const std::string& Text) = 0;
  virtual bool ClipboardHasText() = 0;

  // The screen's size in pixels.
  [[nodiscard]] virtual int ScreenWidth() const { return 1920; }
  [[nodiscard]] virtual int ScreenHeight() const { return 1080; }
};

// The host in use. The first call creates a headless host when none was
// installed. SetHost does not take ownership; pass nullptr to go back to
// the built-in headless host.
THost& CurrentHost();
void SetHost(THost* Host);

}  // namespace vorn
