#include "vorn/platform/stdctrls/buttons.h"

#include "vorn/platform/controls/forms.h"
#include "vorn/platform/graphics/drawtext.h"
#include "vorn/platform/stdctrls/bevels.h"

namespace vorn {

TButton::TButton(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
  FControlStyle.Include(csOpaque);
  FControlStyle.Exclude(csDoubleClicks);
}

void TButton::SetDefault(bool Value) {
  if (Value == FDefault) return;
  FDefault = Value;
  Invalidate();
}

void TButton::SetDown(bool Value) {
  if (Value == FDown) return;
  FDown = Value;
  Invalidate();
}

void TButton::Click() {
  if (FModalResult != 0) {
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  }
  TCustomControl::Click();
}

void TButton::Paint() {
  TCanvas& c = *Canvas();
  TRect r = ClientRect();
  c.Brush()->SetColor(clBtnFace);
  c.FillRect(r);
  if (FDefault || Focused()) {
    c.Brush()->SetColor(cl3DDkShadow);
    c.FrameRect(r);
    r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
  }
  if (FDown) {
    c.Brush()->SetColor(clBtnShadow);
    c.FrameRect(r);
  } else {
    Frame3D(c, r, clBtnHighlight, cl3DDkShadow, 1);
    TRect inner = r;
    Frame3D(c, inner, cl3DLight, clBtnShadow, 1);
  }
  c.SetFont(Font());
  if (!Enabled()) c.Font()->SetColor(clGrayText);
  TRect text = ClientRect();
  if (FDown) text.Offset(1, 1);
  DrawText(c, Caption(), text, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  if (Focused()) {
    TRect focus = ClientRect();
    focus = {focus.Left + 4, focus.Top + 4, focus.Right - 4, focus.Bottom - 4};
    c.DrawFocusRect(focus);
  }
}

void TButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && Enabled()) {
    if (CanFocus()) SetFocus();
    FTracking = true;
    SetDown(true);
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TButton::MouseMove(TShiftState Shift, int X, int Y) {
  if (FTracking) SetDown(ClientRect().Contains({X, Y}));
  TCustomControl::MouseMove(Shift, X, Y);
}

void TButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    FTracking = false;
    SetDown(false);
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TButton::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_SPACE) SetDown(true);
  TCustomControl::KeyDown(Key, Shift);
}

void TButton::KeyUp(Word& Key, TShiftState Shift) {
  if (Key == VK_SPACE && FDown) {
    SetDown(false);
    Click();
    return;
  }
  TCustomControl::KeyUp(Key, Shift);
}

void TButton::WndProc(TMessage& Message) {
  if (Message.Msg == CM_DIALOGKEY) {
    const auto key = static_cast<Word>(Message.WParam);
    if (((key == VK_RETURN && FDefault) || (key == VK_ESCAPE && FCancel)) && Showing() && Enabled()) {
      Click();
      Message.Result = 1;
      return;
    }
  }
  if (Message.Msg == WM_SETFOCUS || Message.Msg == WM_KILLFOCUS) Invalidate();
  TCustomControl::WndProc(Message);
}

}  // namespace vorn
