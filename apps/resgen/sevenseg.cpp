// The seven-segment display's element shapes: black areas on white, each
// one connected area around the point the display flood-fills to recolour
// it (the colon has two dots and two fill points). Vertical elements lean
// right by 37 pixels over the 197-row half height of the master glyph, the
// slant at which the display places them.
#include <cmath>
#include <vector>

#include "apps/resgen/pictures.h"

namespace vorn::resgen {
namespace {

constexpr double kSlant = 37.0 / 197.0;  // pixels to the right per row upwards

void Black(TCanvas& c) {
  c.Pen()->SetColor(clBlack);
  c.Brush()->SetColor(clBlack);
}

// A slanted bar of half width HalfWidth whose centre line passes through
// (CenterX, Middle) and which spans rows Top..Bottom with pointed ends.
void SlantedBar(TCanvas& c, double CenterX, double Middle, double HalfWidth, int Top, int Bottom) {
  auto x = [&](double y) { return CenterX + (Middle - y) * kSlant; };
  const double tip = HalfWidth;
  auto pt = [](double X, double Y) { return TPoint{static_cast<int>(std::lround(X)), static_cast<int>(std::lround(Y))}; };
  const std::vector<TPoint> points = {pt(x(Top), Top),
                                      pt(x(Top + tip) + HalfWidth, Top + tip),
                                      pt(x(Bottom - tip) + HalfWidth, Bottom - tip),
                                      pt(x(Bottom), Bottom),
                                      pt(x(Bottom - tip) - HalfWidth, Bottom - tip),
                                      pt(x(Top + tip) - HalfWidth, Top + tip)};
  Black(c);
  c.Polygon(points);
}

// A horizontal bar with pointed ends over columns Left..Right.
void HorizontalBar(TCanvas& c, int Left, int Right, int Top, int Bottom) {
  const int half = (Bottom - Top) / 2;
  const int mid = Top + half;
  const std::vector<TPoint> points = {{Left, mid},           {Left + half, Top},    {Right - half, Top},
                                      {Right, mid},          {Right - half, Bottom}, {Left + half, Bottom}};
  Black(c);
  c.Polygon(points);
}

void DrawVert(TBitmap& Bitmap) { SlantedBar(*Bitmap.Canvas(), 34, 95, 15, 1, 188); }
void DrawHorz(TBitmap& Bitmap) { HorizontalBar(*Bitmap.Canvas(), 1, 198, 1, 36); }
void DrawDot(TBitmap& Bitmap) {
  TCanvas& c = *Bitmap.Canvas();
  Black(c);
  c.Ellipse(2, 2, 36, 36);
}
void DrawPlus(TBitmap& Bitmap) {
  TCanvas& c = *Bitmap.Canvas();
  HorizontalBar(c, 22, 177, 78, 112);
  SlantedBar(c, 100, 95, 15, 14, 176);
}
void DrawColon(TBitmap& Bitmap) {
  TCanvas& c = *Bitmap.Canvas();
  Black(c);
  c.Ellipse(3, 157, 34, 188);
  c.Ellipse(35, 3, 66, 34);
}
void DrawDeg(TBitmap& Bitmap) {
  TCanvas& c = *Bitmap.Canvas();
  Black(c);
  c.Ellipse(2, 2, 158, 136);
  c.Pen()->SetColor(clWhite);
  c.Brush()->SetColor(clWhite);
  c.Ellipse(46, 40, 114, 98);
}

}  // namespace

const std::vector<TGeneratedPicture>& SevenSegPictures() {
  static const std::vector<TGeneratedPicture> list = {
      {"SEGVERT", 68, 190, DrawVert},   {"SEGHORZ", 200, 38, DrawHorz},
      {"SEGDOT", 38, 38, DrawDot},      {"SEGPLUS", 200, 190, DrawPlus},
      {"SEGCOLON", 68, 190, DrawColon}, {"SEGDEG", 160, 138, DrawDeg},
  };
  return list;
}

}  // namespace vorn::resgen
