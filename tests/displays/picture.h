// Reading drawn pixels back as pictures: one character per pixel, chosen
// by a small colour legend ('?' for colours not in it).
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "vorn/platform/graphics/bitmap.h"

namespace vorn::testpic {

using TLegend = std::initializer_list<std::pair<TColor, char>>;

inline char CharOf(TColor Pixel, TLegend Legend) {
  for (const auto& [color, ch] : Legend)
    if (ColorToRGB(color) == Pixel) return ch;
  return '?';
}

// Rows Y0..Y1-1, columns X0..X1-1 of the bitmap.
inline std::vector<std::string> Picture(const TBitmap& Bmp, TLegend Legend, int X0, int Y0, int X1, int Y1) {
  std::vector<std::string> rows;
  for (int y = Y0; y < Y1; ++y) {
    std::string s;
    for (int x = X0; x < X1; ++x) s += CharOf(Bmp.Canvas()->Pixels(x, y), Legend);
    rows.push_back(s);
  }
  return rows;
}

inline std::vector<std::string> Picture(const TBitmap& Bmp, TLegend Legend) {
  return Picture(Bmp, Legend, 0, 0, Bmp.Width(), Bmp.Height());
}

}  // namespace vorn::testpic
