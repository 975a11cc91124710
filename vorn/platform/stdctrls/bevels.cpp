#include "vorn/platform/stdctrls/bevels.h"

namespace vorn {

void Frame3D(TCanvas& Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width) {
  Canvas.Pen()->SetWidth(1);
  for (int i = 0; i < Width && !Rect.IsEmpty(); ++i) {
    Canvas.Pen()->SetColor(TopColor);
    const TPoint topLeft[3] = {{Rect.Left, Rect.Bottom - 1}, {Rect.Left, Rect.Top}, {Rect.Right - 1, Rect.Top}};
    Canvas.Polyline(topLeft);
    Canvas.Pen()->SetColor(BottomColor);
    const TPoint bottomRight[3] = {{Rect.Right - 1, Rect.Top}, {Rect.Right - 1, Rect.Bottom - 1}, {Rect.Left - 1, Rect.Bottom - 1}};
    Canvas.Polyline(bottomRight);
    Rect = {Rect.Left + 1, Rect.Top + 1, Rect.Right - 1, Rect.Bottom - 1};
  }
}

}  // namespace vorn
