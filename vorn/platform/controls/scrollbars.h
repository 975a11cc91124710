// Scroll bars drawn inside a control: an arrow button at each end and a
// thumb in the track between them whose length shows the page against the
// whole. One layout feeds painting and hit-testing.
#pragma once

#include <cstdint>

#include "vorn/platform/graphics/canvas.h"

namespace vorn {

enum TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
enum class TScrollBarPart : std::uint8_t { None, LineUp, LineDown, PageUp, PageDown, Thumb };

// Thickness of a bar.
constexpr int ScrollBarSize = 16;

// The thumb for position Value of 0..Max with Page units visible; empty
// when there is nothing to scroll or no room for it.
[[nodiscard]] TRect ScrollThumbRect(const TRect& Bar, bool Vertical, int Value, int Max, int Page);
void PaintScrollBar(TCanvas& C, const TRect& Bar, bool Vertical, const TRect& Thumb);
// The position for a thumb dragged so that its leading edge is at Along
// (a pixel along the bar); -1 when the thumb cannot move.
[[nodiscard]] int ScrollValueAt(const TRect& Bar, bool Vertical, const TRect& Thumb, int Along, int Max);
[[nodiscard]] TScrollBarPart ScrollBarPartAt(const TRect& Bar, bool Vertical, const TRect& Thumb, TPoint P);

}  // namespace vorn
