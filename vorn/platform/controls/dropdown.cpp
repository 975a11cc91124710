#include "vorn/platform/controls/dropdown.h"

#include <algorithm>

#include "vorn/platform/runtime/host.h"

namespace vorn {

namespace {

TDropDownWindow*& OpenDropDown() {
  static TDropDownWindow* open = nullptr;
  return open;
}

}  // namespace

TDropDownWindow::TDropDownWindow(TComponent* AOwner) : TCustomForm(AOwner) {
  SetBorderStyle(bsNone);
  SetColor(clWindow);
}

TDropDownWindow::~TDropDownWindow() {
  if (OpenDropDown() == this) OpenDropDown() = nullptr;
}

TControl* TDropDownWindow::Opener() const { return FOpenerGuard.Gone() ? nullptr : FOpener; }

void TDropDownWindow::DropDown(TControl* Opener, int AWidth, int AHeight) {
  if (TDropDownWindow* other = OpenDropDown(); other != nullptr && other != this) other->Dismiss();
  FOpener = Opener;
  FOpenerGuard = TDestroyGuard(Opener);
  const THost& host = CurrentHost();
  const TPoint origin = Opener != nullptr ? Opener->ClientToScreen({0, 0}) : TPoint{0, 0};
  const int openerHeight = Opener != nullptr ? Opener->Height() : 0;
  int top = origin.Y + openerHeight;
  if (top + AHeight > host.ScreenHeight() && origin.Y - AHeight >= 0) top = origin.Y - AHeight;
  const int left = std::clamp(origin.X, 0, std::max(0, host.ScreenWidth() - AWidth));
  SetBounds(left, top, AWidth, AHeight);
  SetVisible(true);  // shown, but not made the active window
}

void TDropDownWindow::SetVisible(bool Value) {
  if (Value) OpenDropDown() = this;
  if (!Value && OpenDropDown() == this) OpenDropDown() = nullptr;
  TCustomForm::SetVisible(Value);
}

void TDropDownWindow::Dismiss() {
  if (!IsOpen()) return;
  TDestroyGuard guard(this);
  RaiseEvent(FOnDismiss, this);
  if (!guard.Gone() && IsOpen()) Hide();
}

TDropDownWindow* TDropDownWindow::Current() { return OpenDropDown(); }

bool TDropDownWindow::DismissFor(const TCustomForm* Form) {
  TDropDownWindow* open = OpenDropDown();
  if (open == nullptr || open == Form) return false;
  open->Dismiss();
  return true;
}

}  // namespace vorn
