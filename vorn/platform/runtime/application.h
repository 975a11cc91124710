// Process-wide services: the application object, the screen, the
// clipboard, the beep, the keyboard state.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

#include "vorn/platform/runtime/components.h"
#include "vorn/platform/runtime/messages.h"

namespace vorn {

using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

class TApplication : public TComponent {
 public:
  explicit TApplication(TComponent* AOwner);

  // Called from a catch block: passes the exception being handled to
  // OnException, or, without a handler, shows it (standard error output).
  // Never throws.
  void HandleException(TObject* Sender);
  // Shows an exception the default way.
  void ShowException(const std::exception& E);

  void ProcessMessages();
  void Run();
  void Terminate();
  [[nodiscard]] bool Terminated() const { return FTerminated; }

  [[nodiscard]] const TExceptionEvent& OnException() const { return FOnException; }
  void SetOnException(TExceptionEvent Handler) { FOnException = std::move(Handler); }
  [[nodiscard]] const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }
  // Count of exceptions shown the default way (for tests).
  [[nodiscard]] int ShownExceptions() const { return FShown; }

 private:
  TExceptionEvent FOnException;
  std::string FTitle = "vorn";
  bool FTerminated = false;
  int FShown = 0;
};

// The one application object (created on first use, never null).
TApplication* Application();

using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

class TScreen : public TComponent {
 public:
  explicit TScreen(TComponent* AOwner) : TComponent(AOwner) {}
  [[nodiscard]] TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value) { FCursor = Value; }
  [[nodiscard]] int PixelsPerInch() const { return 96; }
  [[nodiscard]] int Width() const;
  [[nodiscard]] int Height() const;

 private:
  TCursor FCursor = crDefault;
};

TScreen* Screen();

constexpr unsigned CF_TEXT = 1;
constexpr unsigned CF_UNICODETEXT = 13;

class TClipboard : public TPersistent {
 public:
  [[nodiscard]] std::string AsText() const;
  void SetAsText(const std::string& Value);
  [[nodiscard]] bool HasFormat(unsigned Format) const;
  void Clear();
};

TClipboard* Clipboard();

// Plays the system sound of that kind ($FFFF: the simple beep). The sound
// goes to a replaceable hook; the default does nothing audible headless.
void MessageBeep(unsigned Type);
using TBeepHook = std::function<void(unsigned Type)>;
void SetBeepHook(TBeepHook Hook);

// The state of a key as the host last saw it: bit 15 set while down.
std::int16_t GetKeyState(int VirtualKey);
// Hosts report key and button changes here.
void SetKeyDown(int VirtualKey, bool Down);
// The modifier keys and mouse buttons held, as a shift state.
TShiftState KeyboardShiftState();

}  // namespace vorn
