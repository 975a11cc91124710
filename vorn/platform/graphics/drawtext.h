// Text laid out in a rectangle: alignment, several lines, word breaks,
// ellipsis, and measuring without drawing. The flag values are those of
// the classic text-drawing call, which label and grid code pass around.
#pragma once

#include <string_view>

#include "vorn/platform/graphics/canvas.h"

namespace vorn {

constexpr unsigned DT_TOP = 0x0000;
constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_RIGHT = 0x0002;
constexpr unsigned DT_VCENTER = 0x0004;
constexpr unsigned DT_BOTTOM = 0x0008;
constexpr unsigned DT_WORDBREAK = 0x0010;
constexpr unsigned DT_SINGLELINE = 0x0020;
constexpr unsigned DT_EXPANDTABS = 0x0040;
constexpr unsigned DT_NOCLIP = 0x0100;
constexpr unsigned DT_CALCRECT = 0x0400;
constexpr unsigned DT_NOPREFIX = 0x0800;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;

// Draws Text into Rect with the canvas font (brush clear: the background
// is left as it is). Lines break at line feeds, and at blanks to fit the
// width with DT_WORDBREAK. Vertical centring and bottom alignment apply to
// single lines, as the classic call does. "&" marks the next character as
// a shortcut (underlined) unless DT_NOPREFIX; "&&" is a plain "&".
// With DT_CALCRECT nothing is drawn: Rect's right and bottom become the
// text's extent. Returns the height of the text.
int DrawText(TCanvas& Canvas, std::string_view Text, TRect& Rect, unsigned Flags);

}  // namespace vorn
