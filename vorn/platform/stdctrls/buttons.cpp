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
    TDestroyGuard guard(this);
    if (CanFocus()) SetFocus();
    if (guard.Gone()) return;
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
  TDestroyGuard guard(this);
  TCustomControl::KeyDown(Key, Shift);
  if (guard.Gone() || Key != VK_RETURN) return;
  Key = 0;
  Click();
}

void TButton::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTRETURN; }

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
    if (((key == VK_RETURN && FDefault) || (key == VK_ESCAPE && FCancel)) && Showing() && EnabledWithParents()) {
      Message.Result = 1;
      Click();
      return;
    }
  }
  if (Message.Msg == CM_DIALOGCHAR) {
    if (IsAccel(static_cast<char32_t>(Message.WParam), Caption()) && Showing() && EnabledWithParents()) {
      Message.Result = 1;
      Click();
    }
    return;
  }
  if (Message.Msg == WM_SETFOCUS || Message.Msg == WM_KILLFOCUS) Invalidate();
  TCustomControl::WndProc(Message);
}

}  // namespace vorn

namespace vorn {

// ---- TSpeedButton ------------------------------------------------------------------

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
  SetBounds(0, 0, 23, 22);
  FControlStyle.Exclude(csDoubleClicks);
  FGlyph->SetOnChange([this](TObject*) { Invalidate(); });
}

void TSpeedButton::SetState(TButtonState Value) {
  if (Value == FState) return;
  FState = Value;
  Invalidate();
}

void TSpeedButton::SetDown(bool Value) {
  if (FGroupIndex == 0) Value = false;
  if (Value == FDown) return;
  if (FDown && !Value && !FAllowAllUp) return;  // the group keeps one button down
  FDown = Value;
  SetState(Value ? bsExclusive : bsUp);
  if (Value) UpdateExclusive();
  Invalidate();
}

void TSpeedButton::SetGroupIndex(int Value) {
  if (Value == FGroupIndex) return;
  FGroupIndex = Value;
  UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool Value) {
  if (Value == FAllowAllUp) return;
  FAllowAllUp = Value;
  UpdateExclusive();
}

void TSpeedButton::SetFlat(bool Value) {
  if (Value == FFlat) return;
  FFlat = Value;
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(int Value) {
  Value = std::clamp(Value, 1, 4);
  if (Value == FNumGlyphs) return;
  FNumGlyphs = Value;
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout Value) {
  if (Value == FLayout) return;
  FLayout = Value;
  Invalidate();
}

void TSpeedButton::SetSpacing(int Value) {
  if (Value == FSpacing) return;
  FSpacing = Value;
  Invalidate();
}

void TSpeedButton::UpdateExclusive() {
  if (FGroupIndex == 0 || Parent() == nullptr) return;
  TMessage m{CM_BUTTONPRESSED, FGroupIndex, reinterpret_cast<LPARAM>(static_cast<TObject*>(this)), 0};
  Parent()->Broadcast(m);
}

void TSpeedButton::CMButtonPressed(TMessage& Message) {
  // Other kinds of buttons share the message: only speed buttons count here.
  const auto* sender = dynamic_cast<const TSpeedButton*>(reinterpret_cast<TObject*>(Message.LParam));
  if (Message.WParam != FGroupIndex || sender == nullptr || sender == this) return;
  if (sender->Down() && FDown) {
    FDown = false;
    FState = bsUp;
    Invalidate();
  }
  FAllowAllUp = sender->AllowAllUp();
}

void TSpeedButton::WndProc(TMessage& Message) {
  if (Message.Msg == CM_BUTTONPRESSED) {
    CMButtonPressed(Message);
    return;
  }
  if (Message.Msg == CM_DIALOGCHAR) {
    if (IsAccel(static_cast<char32_t>(Message.WParam), Caption()) && Showing() && EnabledWithParents()) {
      Message.Result = 1;
      Click();
    }
    return;
  }
  TGraphicControl::WndProc(Message);
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDestroyGuard guard(this);
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (guard.Gone() || Button != mbLeft || !Enabled()) return;
  if (!FDown) SetState(bsDown);
  FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
  TDestroyGuard guard(this);
  TGraphicControl::MouseMove(Shift, X, Y);
  if (guard.Gone() || !FDragging) return;
  const bool inside = ClientRect().Contains({X, Y});
  if (!FDown) SetState(inside ? bsDown : bsUp);
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDestroyGuard guard(this);
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (guard.Gone() || Button != mbLeft || !FDragging) return;
  FDragging = false;
  if (!FDown) SetState(bsUp);
}

void TSpeedButton::Click() {
  // A grouped button toggles (or stays down in a group that keeps one down).
  if (FGroupIndex != 0) SetDown(!FDown || !FAllowAllUp);
  TGraphicControl::Click();
}

void TSpeedButton::MouseEnter() {
  FMouseInControl = true;
  if (FFlat) Invalidate();
  TGraphicControl::MouseEnter();
}

void TSpeedButton::MouseLeave() {
  FMouseInControl = false;
  if (FFlat) Invalidate();
  TGraphicControl::MouseLeave();
}

void TSpeedButton::DrawGlyphAndCaption(TCanvas& Canvas, const TRect& Area) {
  Canvas.SetFont(Font());
  if (!Enabled()) Canvas.Font()->SetColor(clGrayText);
  const std::string& caption = Caption();
  const TSize text = caption.empty() ? TSize{0, 0} : Canvas.TextExtent(caption);
  int gw = 0, gh = 0, index = 0;
  if (!FGlyph->Empty()) {
    gw = FGlyph->Width() / FNumGlyphs;
    gh = FGlyph->Height();
    const TButtonState look = Enabled() ? FState : bsDisabled;
    index = static_cast<int>(look) < FNumGlyphs ? static_cast<int>(look) : 0;
  }
  const bool vertical = FLayout == blGlyphTop || FLayout == blGlyphBottom;
  const int gap = (gw > 0 && text.cx > 0) ? FSpacing : 0;
  const int totalW = vertical ? std::max(gw, text.cx) : gw + gap + text.cx;
  const int totalH = vertical ? gh + gap + text.cy : std::max(gh, text.cy);
  const int x0 = Area.Left + (Area.Width() - totalW) / 2;
  const int y0 = Area.Top + (Area.Height() - totalH) / 2;
  TPoint glyphAt{}, textAt{};
  switch (FLayout) {
    case blGlyphLeft: glyphAt = {x0, y0 + (totalH - gh) / 2}; textAt = {x0 + gw + gap, y0 + (totalH - text.cy) / 2}; break;
    case blGlyphRight: textAt = {x0, y0 + (totalH - text.cy) / 2}; glyphAt = {x0 + text.cx + gap, y0 + (totalH - gh) / 2}; break;
    case blGlyphTop: glyphAt = {x0 + (totalW - gw) / 2, y0}; textAt = {x0 + (totalW - text.cx) / 2, y0 + gh + gap}; break;
    case blGlyphBottom: textAt = {x0 + (totalW - text.cx) / 2, y0}; glyphAt = {x0 + (totalW - gw) / 2, y0 + text.cy + gap}; break;
  }
  if (gw > 0) {
    Canvas.StretchFromSurface({glyphAt.X, glyphAt.Y, glyphAt.X + gw, glyphAt.Y + gh}, FGlyph->Surface(),
                              {index * gw, 0, index * gw + gw, gh}, true,
                              ColorToDevice(FGlyph->TransparentColor()));
  }
  if (!caption.empty()) {
    Canvas.Brush()->SetStyle(bsClear);
    Canvas.TextOut(textAt.X, textAt.Y, caption);
  }
}

void TSpeedButton::Paint() {
  TCanvas& c = *Canvas();
  TRect r = ClientRect();
  const bool pressed = FState == bsDown || FState == bsExclusive;
  c.Brush()->SetColor(FState == bsExclusive ? cl3DLight : clBtnFace);
  c.FillRect(r);
  if (!FFlat || FMouseInControl || pressed) {
    if (pressed) {
      Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
    } else {
      Frame3D(c, r, clBtnHighlight, cl3DDkShadow, 1);
      if (!FFlat) Frame3D(c, r, cl3DLight, clBtnShadow, 1);
    }
  }
  TRect area = ClientRect();
  if (pressed) area.Offset(1, 1);
  DrawGlyphAndCaption(c, area);
}

}  // namespace vorn
