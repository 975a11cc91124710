// Drop-down windows: a borderless form that opens below a control (a
// combo box's list, a picker's calendar) and lies above every other
// window, also beyond the edge of the opener's form. It never takes the
// keyboard: the control that opened it keeps the focus and steers what the
// window shows, so keys typed while it is open go to that control.
//
// One drop-down is open at a time; opening another dismisses the first. A
// mouse press on any other form dismisses it and does nothing else (a
// click outside only closes the list). Dismissing raises OnDismiss, where
// the opener closes up in its own way; the window hides itself afterwards
// if the handler did not.
#pragma once

#include "vorn/platform/controls/forms.h"

namespace vorn {

// The Enter or Escape that closed a drop-down also sends a character; it
// belongs to the drop-down, not to the form. Controls set Pending when a
// key closes their drop-down and call this first in KeyPress: true when
// Key was that character (and is now 0).
inline bool SwallowClosingChar(bool& Pending, char32_t& Key) {
  if (!Pending) return false;
  Pending = false;
  if (Key != U'\r' && Key != 27) return false;
  Key = 0;
  return true;
}

class TDropDownWindow : public TCustomForm {
 public:
  explicit TDropDownWindow(TComponent* AOwner);
  ~TDropDownWindow() override;

  // Shows the window AWidth x AHeight below the opener, or above it when
  // only there the screen has room; it keeps within the screen.
  void DropDown(TControl* Opener, int AWidth, int AHeight);
  [[nodiscard]] bool IsOpen() const { return Visible(); }
  [[nodiscard]] TControl* Opener() const;
  // Closed from outside: raises OnDismiss, then hides.
  void Dismiss();

  [[nodiscard]] bool IsDropDown() const override { return true; }

  // The open drop-down, or null.
  static TDropDownWindow* Current();
  // Dismisses the open drop-down unless Form is that drop-down; returns
  // whether one was dismissed. Forms call this for every mouse press.
  static bool DismissFor(const TCustomForm* Form);

  [[nodiscard]] const TNotifyEvent& OnDismiss() const { return FOnDismiss; }
  void SetOnDismiss(TNotifyEvent E) { FOnDismiss = std::move(E); }

  void SetVisible(bool Value) override;

 private:
  TControl* FOpener = nullptr;
  TDestroyGuard FOpenerGuard{nullptr};
  TNotifyEvent FOnDismiss;
};

}  // namespace vorn
