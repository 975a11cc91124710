// The library's emblem: a needle over a scale arc, used as window icon.
#include "apps/resgen/boxes.h"
#include "apps/resgen/pictures.h"

namespace vorn::resgen {
namespace {

void DrawLogo(TBitmap& Bitmap) {
  TCanvas& c = *Bitmap.Canvas();
  c.Brush()->SetColor(RGB(32, 64, 112));
  c.Pen()->SetColor(RGB(16, 32, 64));
  c.RoundRect(0, 0, 16, 16, 6, 6);
  c.Pen()->SetColor(clWhite);
  c.Brush()->SetStyle(bsClear);
  c.Arc(2, 3, 14, 15, 14, 9, 2, 9);
  c.Pen()->SetColor(RGB(255, 160, 0));
  c.MoveTo(8, 9);
  c.LineTo(12, 4);
  c.SetPixels(8, 9, clWhite);
}

}  // namespace

const std::vector<TGeneratedPicture>& LogoPictures() {
  static const std::vector<TGeneratedPicture> list = {{"VORN_LOGO", 16, 16, DrawLogo}};
  return list;
}

std::vector<TGeneratedPicture> AllPictures() {
  std::vector<TGeneratedPicture> all;
  for (const auto* list : {&LogoPictures(), &SevenSegPictures(), &OnOffPictures(), &MenuBoxPictures()}) {
    all.insert(all.end(), list->begin(), list->end());
  }
  return all;
}

}  // namespace vorn::resgen
