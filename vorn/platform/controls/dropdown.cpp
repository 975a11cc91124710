#include "vorn/platform/controls/dropdown.h"

#include <algorithm>

#include "vorn/platform/controls/forms.h"
#include "vorn/platform/stdctrls/bevels.h"

namespace vorn {

TRect DropDownBounds(const TControl& Anchor, int Width, int Height) {
  const TCustomForm* form = GetParentForm(&Anchor);
  if (form == nullptr) return {0, 0, Width, Height};
  const int formWidth = form->ClientWidth();
  const int formHeight = form->ClientHeight();
  const TPoint origin = Anchor.WindowOrigin();
  const int below = formHeight - (origin.Y + Anchor.Height());
  const int above = origin.Y;
  const bool down = Height <= below || below >= above;
  const int height = std::max(1, std::min(Height, down ? std::max(below, 1) : above));
  const int width = std::max(1, std::min(Width, formWidth));
  const int left = std::clamp(origin.X, 0, std::max(0, formWidth - width));
  const int top = down ? origin.Y + Anchor.Height() : origin.Y - height;
  return {left, top, left + width, top + height};
}

bool ShowDropDown(TControl& Anchor, TControl& Drop, const TRect& Bounds) {
  TCustomForm* form = GetParentForm(&Anchor);
  if (form == nullptr) return false;
  Drop.SetParent(form);
  Drop.SetBoundsRect(Bounds);
  Drop.Show();
  Drop.BringToFront();
  return true;
}

void DrawDropDownButton(TCanvas& Canvas, const TRect& Button, bool Enabled) {
  if (Button.IsEmpty()) return;
  Canvas.Brush()->SetStyle(bsSolid);
  Canvas.Brush()->SetColor(clBtnFace);
  Canvas.FillRect(Button);
  TRect r = Button;
  Frame3D(Canvas, r, clBtnHighlight, clBtnShadow, 1);
  const int cx = (Button.Left + Button.Right) / 2;
  const int cy = (Button.Top + Button.Bottom) / 2;
  const TColor arrowColor = Enabled ? clBlack : clGrayText;
  Canvas.Pen()->SetColor(arrowColor);
  Canvas.Brush()->SetColor(arrowColor);
  const TPoint arrow[3] = {{cx - 3, cy - 1}, {cx + 3, cy - 1}, {cx, cy + 2}};
  Canvas.Polygon(arrow);
}

}  // namespace vorn
