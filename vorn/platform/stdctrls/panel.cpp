#include "vorn/platform/stdctrls/panel.h"

#include "vorn/platform/graphics/drawtext.h"
#include "vorn/platform/stdctrls/bevels.h"

namespace vorn {

namespace {

void Bevel(TCanvas& c, TRect& r, TBevelCut cut, int width) {
  if (cut == bvNone) return;
  if (cut == bvSpace) {
    r = {r.Left + width, r.Top + width, r.Right - width, r.Bottom - width};
    return;
  }
  const bool raised = cut == bvRaised;
  Frame3D(c, r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight, width);
}

}  // namespace

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
  FControlStyle.Include(csOpaque);
}

void TCustomPanel::SetBevelOuter(TBevelCut Value) {
  if (Value == FBevelOuter) return;
  FBevelOuter = Value;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut Value) {
  if (Value == FBevelInner) return;
  FBevelInner = Value;
  Invalidate();
}

void TCustomPanel::SetBevelWidth(int Value) {
  if (Value < 1 || Value == FBevelWidth) return;
  FBevelWidth = Value;
  Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomPanel::SetShowCaption(bool Value) {
  if (Value == FShowCaption) return;
  FShowCaption = Value;
  Invalidate();
}

void TCustomPanel::Paint() {
  TCanvas& c = *Canvas();
  c.Brush()->SetColor(Color());
  c.FillRect(ClientRect());
  TRect r = ClientRect();
  Bevel(c, r, FBevelOuter, FBevelWidth);
  Bevel(c, r, FBevelInner, FBevelWidth);
  if (!FShowCaption || Caption().empty()) return;
  c.SetFont(Font());
  unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
  if (FAlignment == taCenter) flags |= DT_CENTER;
  if (FAlignment == taRightJustify) flags |= DT_RIGHT;
  TRect inner{r.Left + 2, r.Top, r.Right - 2, r.Bottom};
  DrawText(c, Caption(), inner, flags);
}

}  // namespace vorn
