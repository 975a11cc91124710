// Drawn pixel by pixel, so a fresh run gives the same files anywhere.
#include "apps/resgen/boxes.h"

namespace vorn::resgen {
namespace {

constexpr int kSize = 16;
constexpr TColor kKey = 0xEBBEEB;
constexpr TColor kShadow = 0x808080;
constexpr TColor kDarkShadow = 0x404040;
constexpr TColor kLight = 0xC8D0D4;
constexpr TColor kHighlight = 0xFFFFFF;
constexpr TColor kTick = 0x000000;
// The box covers columns and rows First..Last.
constexpr int kFirst = 1;
constexpr int kLast = 13;

void Put(TBitmap& B, int X, int Y, TColor C) { B.ScanLine(Y)[X] = ColorToPixel(C); }

void DrawBox(TBitmap& B) {
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) Put(B, x, y, kKey);
  }
  for (int y = kFirst; y <= kLast; ++y) {
    for (int x = kFirst; x <= kLast; ++x) {
      TColor c = kHighlight;  // the inside
      if (x == kLast || y == kLast) {
        c = kHighlight;  // outer edge, lit
      } else if (x == kFirst || y == kFirst) {
        c = kShadow;  // outer edge, shaded
      } else if (x == kLast - 1 || y == kLast - 1) {
        c = kLight;  // inner edge, lit
      } else if (x == kFirst + 1 || y == kFirst + 1) {
        c = kDarkShadow;  // inner edge, shaded
      }
      Put(B, x, y, c);
    }
  }
}

// A tick seven pixels wide and three thick: down two steps, up four.
void DrawTick(TBitmap& B) {
  constexpr int kTop[7] = {2, 3, 4, 3, 2, 1, 0};
  for (int i = 0; i < 7; ++i) {
    for (int t = 0; t < 3; ++t) Put(B, kFirst + 3 + i, kFirst + 3 + kTop[i] + t, kTick);
  }
}

}  // namespace

const std::vector<TGeneratedPicture>& MenuBoxPictures() {
  static const std::vector<TGeneratedPicture> list = {
      {"CHECKEDBOX", kSize, kSize,
       [](TBitmap& B) {
         DrawBox(B);
         DrawTick(B);
       }},
      {"EMPTYBOX", kSize, kSize, DrawBox},
  };
  return list;
}

}  // namespace vorn::resgen
