#include "vorn/platform/stdctrls/label.h"

namespace vorn {

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 65, 17);
  FControlStyle.Include(csOpaque);
  SetColor(clBtnFace);
  SetParentColor(true);
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
  if (Value == FLayout) return;
  FLayout = Value;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool Value) {
  if (Value == FAutoSize) return;
  FAutoSize = Value;
  AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  if (Value) {
    FControlStyle.Exclude(csOpaque);
  } else {
    FControlStyle.Include(csOpaque);
  }
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
  if (Value == FShowAccelChar) return;
  FShowAccelChar = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl != nullptr) RemoveFreeNotification(FFocusControl);
  FFocusControl = Value;
  if (Value != nullptr) FreeNotification(Value);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::WndProc(TMessage& Message) {
  if (Message.Msg == CM_DIALOGCHAR) {
    if (FFocusControl != nullptr && FShowAccelChar && EnabledWithParents() &&
        IsAccel(static_cast<char32_t>(Message.WParam), Caption()) && FFocusControl->CanFocus()) {
      Message.Result = 1;
      FFocusControl->SetFocus();
    }
    return;
  }
  TGraphicControl::WndProc(Message);
}

void TCustomLabel::SetText(const std::string& Value) {
  TGraphicControl::SetText(Value);
  AdjustBounds();
}

void TCustomLabel::CMFontChanged(TMessage& Message) {
  TGraphicControl::CMFontChanged(Message);
  AdjustBounds();
}

unsigned TCustomLabel::TextFlags() const {
  unsigned flags = DT_EXPANDTABS;
  if (FAlignment == taCenter) flags |= DT_CENTER;
  if (FAlignment == taRightJustify) flags |= DT_RIGHT;
  if (FWordWrap) flags |= DT_WORDBREAK;
  if (!FShowAccelChar) flags |= DT_NOPREFIX;
  return flags;
}

void TCustomLabel::DoDrawText(TRect& Rect, unsigned Flags) {
  TCanvas& c = *Canvas();
  c.SetFont(Font());
  std::string text = Caption();
  if ((Flags & DT_CALCRECT) && text.empty()) text = " ";
  if (!Enabled() && !(Flags & DT_CALCRECT)) {
    TRect shifted = Rect;
    shifted.Offset(1, 1);
    c.Font()->SetColor(clBtnHighlight);
    DrawText(c, text, shifted, Flags);
    c.Font()->SetColor(clBtnShadow);
  }
  DrawText(c, text, Rect, Flags);
}

void TCustomLabel::Paint() {
  TCanvas& c = *Canvas();
  if (!FTransparent) {
    c.Brush()->SetColor(Color());
    c.FillRect(ClientRect());
  }
  c.Brush()->SetStyle(bsClear);
  TRect r = ClientRect();
  unsigned flags = TextFlags();
  if (FLayout != tlTop) {
    TRect calc = r;
    DoDrawText(calc, flags | DT_CALCRECT);
    const int dy = FLayout == tlBottom ? r.Height() - calc.Height() : (r.Height() - calc.Height()) / 2;
    r.Top += dy;
  }
  DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds() {
  if (!FAutoSize || ComponentState().Contains(csLoading)) return;
  TRect r = ClientRect();
  if (!FWordWrap) r.Right = r.Left + 100000;
  DoDrawText(r, TextFlags() | DT_CALCRECT);
  int x = Left();
  if (FAlignment == taRightJustify) x += Width() - r.Width();
  if (FAlignment == taCenter) x += (Width() - r.Width()) / 2;
  SetBounds(x, Top(), r.Width(), r.Height());
}

}  // namespace vorn
