// The headless host: forms live in memory, time is a virtual clock that
// tests move forward, and input is synthesized in window coordinates.
// It is the default host, so tests and picture renderers need no setup:
//
//   TForm form(nullptr);  form.Show();
//   auto& host = HeadlessHost();
//   host.Click(form, 10, 10);
//   host.Type("12.5");
//   host.Advance(500);           // fires due timers in order, repaints
//   host.Snapshot(form)->SaveToFile("form.png");
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "vorn/platform/controls/forms.h"
#include "vorn/platform/runtime/host.h"

namespace vorn {

class THeadlessHost : public THost {
 public:
  THeadlessHost();
  ~THeadlessHost() override;

  // ---- clock ---------------------------------------------------------------------
  [[nodiscard]] std::int64_t ClockMs() const override { return FClock; }
  // Moves the clock forward, firing every timer that falls due on the way
  // at its due time, in order; then repaints.
  void Advance(std::int64_t Ms);

  // ---- forms -----------------------------------------------------------------------
  void FormShown(TCustomForm& Form) override;
  void FormHidden(TCustomForm& Form) override;
  void FormDestroyed(TCustomForm& Form) override;
  int RunModal(TCustomForm& Form) override;
  void ShowPopup(TPopupMenu& Menu, int X, int Y) override;
  [[nodiscard]] TCustomForm* ActiveForm() const;
  [[nodiscard]] const std::vector<TCustomForm*>& Forms() const { return FForms; }

  // What happens when a form is shown modally: the handler gets the shown
  // form, may click and type into it, and returns the modal result (or
  // sets the form's ModalResult). Without a handler ShowModal returns
  // mrCancel at once.
  using TModalHandler = std::function<int(TCustomForm& Form)>;
  void SetModalHandler(TModalHandler Handler) { FModalHandler = std::move(Handler); }
  // What happens when a popup menu opens (screen coordinates): the
  // handler may click one of its items, or put the menu on the screen
  // with a TMenuTracker and drive it with keys (which then go to the menu)
  // and the mouse (a press on another form closes it). Without a handler
  // the menu just closes.
  using TPopupHandler = std::function<void(TPopupMenu& Menu, int X, int Y)>;
  void SetPopupHandler(TPopupHandler Handler) { FPopupHandler = std::move(Handler); }
  [[nodiscard]] int PopupCount() const { return FPopupCount; }

  // ---- messages ----------------------------------------------------------------------
  void ProcessMessages() override;
  void Run() override { ProcessMessages(); }
  void Terminate() override {}

  // ---- clipboard ----------------------------------------------------------------------
  std::string ClipboardText() override { return FClipboard; }
  void SetClipboardText(const std::string& Text) override;
  bool ClipboardHasText() override { return FHasClipboard; }
  void ClearClipboard();

  // ---- input synthesis (coordinates of the form's window) ---------------------------
  void MouseDown(TCustomForm& Form, int X, int Y, TMouseButton Button = mbLeft);
  void MouseUp(TCustomForm& Form, int X, int Y, TMouseButton Button = mbLeft);
  void MouseMove(TCustomForm& Form, int X, int Y);
  void Click(TCustomForm& Form, int X, int Y, TMouseButton Button = mbLeft);
  void DoubleClick(TCustomForm& Form, int X, int Y);
  // Press at the start, move in Steps steps, release at the end.
  void Drag(TCustomForm& Form, int X1, int Y1, int X2, int Y2, int Steps = 4);
  void Wheel(TCustomForm& Form, int X, int Y, int Delta);
  // The same in a control's client coordinates.
  void Click(TControl& Control, int X, int Y, TMouseButton Button = mbLeft);
  void DoubleClick(TControl& Control, int X, int Y);
  void Drag(TControl& Control, int X1, int Y1, int X2, int Y2, int Steps = 4);
  void Wheel(TControl& Control, int X, int Y, int Delta);

  // Keys go to the active form's focused control.
  void KeyDown(Word Key);
  void KeyUp(Word Key);
  // Down and up, with modifier keys held around it.
  void PressKey(Word Key, TShiftState Shift = {});
  // Types text: for every character its key goes down, the character is
  // sent, the key goes up (shift held for capitals and shifted symbols).
  void Type(std::string_view Utf8);
  // Types a character with AltGr as keyboards report it: Ctrl and Alt go
  // down, then Key, the character arrives, and all go up again.
  void TypeWithAltGr(Word Key, char32_t Char);

  // ---- pictures -------------------------------------------------------------------------
  // The form's surface, or the part a control covers, after repainting.
  std::unique_ptr<TBitmap> Snapshot(TCustomForm& Form);
  std::unique_ptr<TBitmap> Snapshot(TControl& Control);

 private:
  void Activate(TCustomForm* Form);
  void PaintAll();

  std::int64_t FClock = 0;
  std::vector<TCustomForm*> FForms;
  TCustomForm* FActive = nullptr;
  TModalHandler FModalHandler;
  TPopupHandler FPopupHandler;
  int FPopupCount = 0;
  std::string FClipboard;
  bool FHasClipboard = false;
};

// The current host as the headless host; raises std::logic_error when a
// window host is installed.
THeadlessHost& HeadlessHost();

}  // namespace vorn
