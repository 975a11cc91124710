// A view of 32-bit pixel memory that drawing code writes into.
#pragma once

#include <cstddef>

#include "vorn/platform/graphics/color.h"
#include "vorn/platform/graphics/types.h"

namespace vorn {

// Rows are Stride pixels apart; pixels are 0x00RRGGBB. A surface does not
// own its memory: bitmaps and host windows do.
struct TSurface {
  TPixel* Bits = nullptr;
  int Width = 0;
  int Height = 0;
  std::ptrdiff_t Stride = 0;

  [[nodiscard]] TPixel* Row(int y) const { return Bits + y * Stride; }
  [[nodiscard]] bool Valid() const { return Bits != nullptr && Width > 0 && Height > 0; }
  [[nodiscard]] TRect BoundsRect() const { return {0, 0, Width, Height}; }
};

}  // namespace vorn
