// Three-dimensional frames as the standard controls draw them.
#pragma once

#include "vorn/platform/graphics/canvas.h"

namespace vorn {

// Draws Width rings inside Rect: top and left in TopColor, bottom and
// right in BottomColor; Rect shrinks by the rings drawn.
void Frame3D(TCanvas& Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);

}  // namespace vorn
