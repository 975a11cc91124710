#include "vorn/foundation/drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "vorn/platform/graphics/bitmap.h"

namespace vorn {
namespace {

constexpr TColor kC1 = 0x0000F1, kC2 = 0x0000F2, kC3 = 0x0000F3, kC4 = 0x0000F4, kC5 = 0x0000F5;
constexpr TColor kBack = clWhite;

// The colour of every pixel of a square area, row by row.
std::vector<TColor> Pixels(const TBitmap& bmp, int size) {
  std::vector<TColor> out;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) out.push_back(bmp.Canvas()->Pixels(x, y));
  return out;
}

TEST(DrawFrame, SunkenBevelDrawsTwoRingsAndNothingInside) {
  TBitmap bmp(12, 12);
  DrawFrame(bmp.Canvas(), fsLowered, 0, 0, 9, 9, kC1, kC2, kC3, kC4, kC5);
  TCanvas* c = bmp.Canvas();
  EXPECT_EQ(c->Pixels(0, 0), kC3);
  EXPECT_EQ(c->Pixels(8, 0), kC3);
  EXPECT_EQ(c->Pixels(0, 8), kC3);
  EXPECT_EQ(c->Pixels(9, 0), kC1);  // the top-right corner belongs to the bottom-right colour
  EXPECT_EQ(c->Pixels(0, 9), kC1);
  EXPECT_EQ(c->Pixels(9, 9), kC1);
  EXPECT_EQ(c->Pixels(1, 1), kC4);
  EXPECT_EQ(c->Pixels(7, 1), kC4);
  EXPECT_EQ(c->Pixels(8, 1), kC2);
  EXPECT_EQ(c->Pixels(1, 8), kC2);
  EXPECT_EQ(c->Pixels(8, 8), kC2);
  for (int y = 2; y <= 7; ++y)
    for (int x = 2; x <= 7; ++x) EXPECT_EQ(c->Pixels(x, y), kBack);
  EXPECT_EQ(c->Pixels(10, 5), kBack);  // nothing outside either
  EXPECT_EQ(c->Pixels(5, 10), kBack);
}

TEST(DrawFrame, StylesDifferAndKeepThePen) {
  std::set<std::vector<TColor>> looks;
  for (int style = fsNone; style <= fsEngraved; ++style) {
    TBitmap bmp(8, 8);
    bmp.Canvas()->Pen()->SetColor(clLime);
    bmp.Canvas()->Pen()->SetWidth(3);
    DrawFrame(bmp.Canvas(), static_cast<TFrameStyle>(style), 0, 0, 7, 7, kC1, kC2, kC3, kC4, kC5);
    EXPECT_EQ(bmp.Canvas()->Pen()->Color(), clLime);
    EXPECT_EQ(bmp.Canvas()->Pen()->Width(), 3);
    looks.insert(Pixels(bmp, 8));
  }
  EXPECT_EQ(looks.size(), 6u);

  TBitmap one(6, 6);
  DrawFrame(one.Canvas(), fsSimple, 1, 1, 4, 4, kC1, kC2, kC3, kC4, kC5);
  EXPECT_EQ(one.Canvas()->Pixels(1, 1), kC5);
  EXPECT_EQ(one.Canvas()->Pixels(4, 4), kC5);
  EXPECT_EQ(one.Canvas()->Pixels(2, 2), kBack);
}

TEST(PlotMarks, DistinctCentredAndWithinTheirExtent) {
  std::set<std::vector<bool>> shapes;
  for (int mark = 0; mark < NumPlotMarks; ++mark) {
    std::vector<bool> shape;
    int minX = 99, maxX = -99, minY = 99, maxY = -99;
    for (int dy = -8; dy <= 8; ++dy)
      for (int dx = -8; dx <= 8; ++dx) {
        const bool on = MarkCovers(mark, dx, dy);
        shape.push_back(on);
        if (!on) continue;
        minX = std::min(minX, dx);
        maxX = std::max(maxX, dx);
        minY = std::min(minY, dy);
        maxY = std::max(maxY, dy);
      }
    ASSERT_LE(minX, maxX) << "mark " << mark << " draws nothing";
    EXPECT_EQ(minX + maxX, 0) << "mark " << mark;
    EXPECT_LE(std::abs(minY + maxY), 1) << "mark " << mark;
    EXPECT_EQ(std::max({-minX, maxX, -minY, maxY}), MarkExtent(mark)) << "mark " << mark;
    EXPECT_LE(MarkExtent(mark), 7);
    shapes.insert(shape);
  }
  EXPECT_EQ(shapes.size(), static_cast<std::size_t>(NumPlotMarks));
  EXPECT_FALSE(MarkCovers(52, 0, 0));
  EXPECT_FALSE(MarkCovers(-1, 0, 0));
}

TEST(PlotMarks, DrawnInThePenColourExactlyWhereTheMarkIs) {
  for (int mark : {0, 7, 20, 45, 51}) {
    TBitmap bmp(21, 21);
    TCanvas* c = bmp.Canvas();
    c->Pen()->SetColor(clRed);
    c->Pen()->SetWidth(2);
    c->MoveTo(3, 4);
    DrawMarkOnCanvas(c, mark, 10, 10);
    for (int y = 0; y < 21; ++y)
      for (int x = 0; x < 21; ++x)
        EXPECT_EQ(c->Pixels(x, y), MarkCovers(mark, x - 10, y - 10) ? clRed : kBack)
            << "mark " << mark << " at " << x << "," << y;
    EXPECT_EQ(c->Pen()->Width(), 2);
    EXPECT_EQ(c->PenPos(), Point(3, 4));
  }
  TBitmap bmp(5, 5);
  DrawMarkOnCanvas(bmp.Canvas(), 60, 2, 2);  // unknown marks draw nothing
  EXPECT_EQ(bmp.Canvas()->Pixels(2, 2), kBack);
}

TEST(Drawing, RectangleOutlineAndMeanColor) {
  TBitmap bmp(6, 6);
  bmp.Canvas()->Pen()->SetColor(clBlue);
  DrawRectangle(bmp.Canvas(), 1, 1, 4, 3);
  EXPECT_EQ(bmp.Canvas()->Pixels(1, 1), clBlue);
  EXPECT_EQ(bmp.Canvas()->Pixels(4, 3), clBlue);
  EXPECT_EQ(bmp.Canvas()->Pixels(4, 1), clBlue);
  EXPECT_EQ(bmp.Canvas()->Pixels(1, 3), clBlue);
  EXPECT_EQ(bmp.Canvas()->Pixels(2, 2), kBack);
  EXPECT_EQ(bmp.Canvas()->Pixels(5, 3), kBack);

  EXPECT_EQ(MeanColor(clBlack, clWhite), RGB(128, 128, 128));
  EXPECT_EQ(MeanColor(clRed, clBlue), RGB(128, 0, 128));
  EXPECT_EQ(MeanColor(clBtnFace, clBtnFace), ColorToRGB(clBtnFace));
}

}  // namespace
}  // namespace vorn
