// Scroll bars drawn inside a control: an arrow button at each end and a
// track between them with a thumb whose length shows the visible share.
// Painting, hit testing and thumb dragging all take the same geometry
// from these functions, so what is drawn is what the mouse finds.
#pragma once

#include <cstdint>

#include "vorn/platform/graphics/canvas.h"

namespace vorn {

enum class TScrollBarPart : std::uint8_t { None, LineUp, LineDown, PageUp, PageDown, Thumb };

// One bar: where it lies (client coordinates of its control) and what it
// scrolls. Positions run 0..Max; Page of them are visible at once.
struct TScrollBarState {
  TRect Bar;
  bool Vertical = true;
  int Position = 0;
  int Max = 0;  // 0: nothing to scroll, no thumb
  int Page = 1;
};

// The thickness of a scroll bar and the length of its arrow buttons.
constexpr int ScrollBarThickness = 16;

// The thumb; empty when there is nothing to scroll or no room for it.
[[nodiscard]] TRect ScrollBarThumb(const TScrollBarState& State);
[[nodiscard]] TScrollBarPart ScrollBarPartAt(const TScrollBarState& State, TPoint P);
// The position that puts the thumb's leading edge at ThumbStart (pixels
// along the bar, in the bar's coordinates), clamped to 0..Max.
[[nodiscard]] int ScrollBarPositionAt(const TScrollBarState& State, int ThumbStart);
void PaintScrollBar(TCanvas& C, const TScrollBarState& State);

// A raised button face filling R.
void DrawButtonFace(TCanvas& C, const TRect& R);
enum TArrowDirection : std::uint8_t { adUp, adDown, adLeft, adRight };
// A small filled triangle centred in R.
void DrawArrow(TCanvas& C, const TRect& R, TArrowDirection Direction);

}  // namespace vorn
