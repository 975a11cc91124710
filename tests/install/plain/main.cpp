// Draws on a bitmap through the installed headers and library; the headers
// need C++20, which the package must pass on.
#include <cstdio>

#include "vorn/platform/graphics/bitmap.h"

int main() {
  vorn::TBitmap card(20, 10);
  vorn::TCanvas& canvas = *card.Canvas();
  canvas.Brush()->SetColor(vorn::clYellow);
  canvas.FillRect(vorn::Rect(0, 0, 20, 10));
  if (canvas.Pixels(5, 5) != vorn::clYellow) {
    std::puts("wrong pixel");
    return 1;
  }
  std::puts("consumer ok");
  return 0;
}
