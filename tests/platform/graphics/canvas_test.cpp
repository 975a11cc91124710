// Pixel rules of the canvas: which pixels each operation covers.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "vorn/platform/graphics/bitmap.h"
#include "vorn/platform/graphics/canvas.h"

namespace vorn {
namespace {

constexpr TColor W = clWhite;
constexpr TColor B = clBlack;

// A white bitmap and a compact way to read what was drawn as a picture:
// one character per pixel, '#' for black, '.' for white, '?' for others.
class CanvasTest : public ::testing::Test {
 protected:
  void Make(int w, int h) {
    bmp = std::make_unique<TBitmap>(w, h);
    c = bmp->Canvas();
  }
  std::string Row(int y) const {
    std::string s;
    for (int x = 0; x < bmp->Width(); ++x) {
      const TColor p = c->Pixels(x, y);
      s += p == B ? '#' : p == W ? '.' : '?';
    }
    return s;
  }
  std::vector<std::string> Picture() const {
    std::vector<std::string> rows;
    for (int y = 0; y < bmp->Height(); ++y) rows.push_back(Row(y));
    return rows;
  }
  int Count(TColor color) const {
    int n = 0;
    for (int y = 0; y < bmp->Height(); ++y)
      for (int x = 0; x < bmp->Width(); ++x) n += c->Pixels(x, y) == color;
    return n;
  }
  std::unique_ptr<TBitmap> bmp;
  TCanvas* c = nullptr;
};

TEST_F(CanvasTest, NewBitmapIsWhiteAndKeepsPixelsWhenResized) {
  Make(4, 3);
  EXPECT_EQ(Count(W), 12);
  c->SetPixels(1, 1, clRed);
  bmp->SetSize(6, 5);
  EXPECT_EQ(c->Pixels(1, 1), clRed);
  EXPECT_EQ(c->Pixels(5, 4), W);
  EXPECT_EQ(c->Pixels(6, 0), CLR_INVALID);
  EXPECT_EQ(c->Pixels(-1, 0), CLR_INVALID);
}

TEST_F(CanvasTest, RectangleOutlinesWithPenAndFillsWithBrush) {
  Make(7, 6);
  c->Brush()->SetColor(clRed);
  c->Rectangle(1, 1, 6, 5);
  const std::vector<std::string> expect = {
      ".......",
      ".#####.",
      ".#???#.",
      ".#???#.",
      ".#####.",
      ".......",
  };
  EXPECT_EQ(Picture(), expect);
  EXPECT_EQ(c->Pixels(2, 2), clRed);
}

TEST_F(CanvasTest, RectangleWithoutPenFillsOnePixelShort) {
  Make(6, 5);
  c->Pen()->SetStyle(psClear);
  c->Brush()->SetColor(B);
  c->Rectangle(1, 1, 5, 4);
  const std::vector<std::string> expect = {"......", ".###..", ".###..", "......", "......"};
  EXPECT_EQ(Picture(), expect);
}

TEST_F(CanvasTest, RectangleCornersOrderDoesNotMatterAndEmptyDrawsNothing) {
  Make(6, 5);
  c->Rectangle(5, 4, 1, 1);
  EXPECT_EQ(Row(1), ".####.");
  Make(6, 5);
  c->Rectangle(2, 1, 2, 4);
  EXPECT_EQ(Count(B), 0);
}

TEST_F(CanvasTest, FillRectIgnoresPenAndPenMode) {
  Make(5, 4);
  c->Pen()->SetMode(pmNot);
  c->Brush()->SetColor(B);
  c->FillRect(Rect(1, 1, 4, 3));
  const std::vector<std::string> expect = {".....", ".###.", ".###.", "....."};
  EXPECT_EQ(Picture(), expect);
}

TEST_F(CanvasTest, FrameRectUsesTheBrush) {
  Make(5, 5);
  c->Brush()->SetColor(B);
  c->FrameRect(Rect(0, 0, 5, 5));
  EXPECT_EQ(Row(0), "#####");
  EXPECT_EQ(Row(2), "#...#");
  EXPECT_EQ(Row(4), "#####");
}

TEST_F(CanvasTest, LineToLeavesOutItsEndPointAndMovesThePen) {
  Make(8, 3);
  c->MoveTo(1, 1);
  c->LineTo(6, 1);
  EXPECT_EQ(Row(1), ".#####..");
  EXPECT_EQ(c->PenPos(), Point(6, 1));
  c->LineTo(6, 2);
  EXPECT_EQ(Row(1), ".######.");
  EXPECT_EQ(Row(2), "........");
}

TEST_F(CanvasTest, LineTiesTakeTheUpperOrLeftPixelInBothDirections) {
  // Shallow lines passing between two rows take the upper one.
  Make(5, 3);
  c->MoveTo(0, 0);
  c->LineTo(4, 2);
  const std::vector<std::string> forward = {"##...", "..##.", "....."};
  EXPECT_EQ(Picture(), forward);

  Make(5, 3);
  c->MoveTo(4, 2);
  c->LineTo(0, 0);
  const std::vector<std::string> backward = {".#...", "..##.", "....#"};
  EXPECT_EQ(Picture(), backward);

  // Steep lines passing between two columns take the left one.
  Make(3, 5);
  c->MoveTo(0, 0);
  c->LineTo(2, 4);
  const std::vector<std::string> down = {"#..", "#..", ".#.", ".#.", "..."};
  EXPECT_EQ(Picture(), down);

  Make(3, 5);
  c->MoveTo(2, 4);
  c->LineTo(0, 0);
  const std::vector<std::string> up = {"...", "#..", ".#.", ".#.", "..#"};
  EXPECT_EQ(Picture(), up);

  // A 45-degree line takes exactly one pixel per row.
  Make(4, 4);
  c->MoveTo(0, 0);
  c->LineTo(4, 4);
  const std::vector<std::string> diag = {"#...", ".#..", "..#.", "...#"};
  EXPECT_EQ(Picture(), diag);
}

TEST_F(CanvasTest, SteepLinesAndFarEndPointsAreClipped) {
  Make(3, 6);
  c->MoveTo(0, 0);
  c->LineTo(2, 5);
  const std::vector<std::string> steep = {"#..", "#..", ".#.", ".#.", "..#", "..."};
  EXPECT_EQ(Picture(), steep);
  // A line from far outside crosses the bitmap in the right place, fast.
  Make(10, 10);
  c->MoveTo(-1000000000, 5);
  c->LineTo(1000000000, 5);
  EXPECT_EQ(Row(5), "##########");
  EXPECT_EQ(Count(B), 10);
}

TEST_F(CanvasTest, PolylineLeavesOutOnlyTheLastPoint) {
  Make(5, 5);
  const TPoint pts[] = {{0, 0}, {4, 0}, {4, 4}};
  c->Polyline(pts);
  EXPECT_EQ(Row(0), "#####");
  EXPECT_EQ(Row(3), "....#");
  EXPECT_EQ(Row(4), ".....");
}

TEST_F(CanvasTest, PolygonFillsInsideAndOutlinesAllEdges) {
  Make(7, 7);
  c->Brush()->SetColor(clRed);
  const TPoint square[] = {{1, 1}, {5, 1}, {5, 5}, {1, 5}};
  c->Polygon(square);
  const std::vector<std::string> expect = {
      ".......", ".#####.", ".#???#.", ".#???#.", ".#???#.", ".#####.", ".......",
  };
  EXPECT_EQ(Picture(), expect);

  // Without a pen the fill covers left and top edges but not right and bottom.
  Make(7, 7);
  c->Pen()->SetStyle(psClear);
  c->Brush()->SetColor(B);
  c->Polygon(square);
  EXPECT_EQ(Count(B), 16);
  EXPECT_EQ(Row(1), ".####..");
  EXPECT_EQ(Row(5), ".......");
}

TEST_F(CanvasTest, PolygonAlternateRuleLeavesTheCentreOfAStarOpen) {
  Make(21, 21);
  c->Pen()->SetStyle(psClear);
  c->Brush()->SetColor(B);
  // A five-pointed star drawn in one stroke.
  const TPoint star[] = {{10, 0}, {16, 20}, {0, 7}, {20, 7}, {4, 20}};
  c->Polygon(star);
  EXPECT_EQ(c->Pixels(10, 11), W);
  EXPECT_EQ(c->Pixels(10, 3), B);
  Make(21, 21);
  c->Pen()->SetStyle(psClear);
  c->Brush()->SetColor(B);
  c->SetPolyFillMode(fmWinding);
  c->Polygon(star);
  EXPECT_EQ(c->Pixels(10, 11), B);
}

TEST_F(CanvasTest, EllipseStaysInsideItsBoxAndTouchesEverySide) {
  Make(14, 12);
  c->Brush()->SetColor(clRed);
  c->Ellipse(2, 1, 12, 11);
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 14; ++x) {
      const bool inBox = x >= 2 && x < 12 && y >= 1 && y < 11;
      if (!inBox) {
        EXPECT_EQ(c->Pixels(x, y), W) << x << "," << y;
      }
    }
  }
  // Touches all four sides, is symmetric, and is filled inside.
  EXPECT_NE(Row(1), "..............");
  EXPECT_NE(Row(10), "..............");
  EXPECT_EQ(c->Pixels(2, 5), B);
  EXPECT_EQ(c->Pixels(11, 5), B);
  EXPECT_EQ(c->Pixels(7, 5), clRed);
  for (int y = 1; y < 11; ++y) {
    const std::string r = Row(y);
    EXPECT_EQ(r, std::string(r.rbegin(), r.rend())) << "row " << y;
  }
  EXPECT_EQ(Picture()[1], Picture()[10]);
}

// An ellipse two pixels across is both its columns along the whole box,
// lying or standing: it touches every side of its box like any other.
TEST_F(CanvasTest, EllipseTwoPixelsAcrossCoversItsWholeBox) {
  for (int length = 2; length <= 30; ++length) {
    for (const bool standing : {true, false}) {
      const int w = standing ? 2 : length, h = standing ? length : 2;
      Make(w + 4, h + 4);
      c->Ellipse(2, 2, 2 + w, 2 + h);
      for (int y = 0; y < h + 4; ++y)
        for (int x = 0; x < w + 4; ++x) {
          const bool inBox = x >= 2 && x < 2 + w && y >= 2 && y < 2 + h;
          ASSERT_EQ(c->Pixels(x, y), inBox ? B : W) << w << "x" << h << " at " << x << "," << y;
        }
    }
  }
  // A wide pen follows the same outline: a band round the whole box.
  for (int h = 3; h <= 30; ++h) {
    Make(8, h + 6);
    c->Pen()->SetWidth(3);
    c->Ellipse(3, 3, 5, 3 + h);
    for (int y = 3; y < 3 + h; ++y) EXPECT_EQ(Row(y), "..####..") << "2x" << h << " row " << y;
    EXPECT_EQ(Row(2), "...##...") << "2x" << h;
    EXPECT_EQ(Row(3 + h), "...##...") << "2x" << h;
  }
}

TEST_F(CanvasTest, ThinEllipseOutlineHasNoGapsAndNoDoublePixels) {
  Make(40, 30);
  c->Brush()->SetStyle(bsClear);
  c->Ellipse(0, 0, 40, 30);
  // Every outline pixel has exactly two 8-neighbours on the outline,
  // except where the outline runs straight and a corner pixel is shared.
  int black = 0;
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) {
      if (c->Pixels(x, y) != B) continue;
      ++black;
      int n = 0;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          if ((dx || dy) && c->Pixels(x + dx, y + dy) == B) ++n;
      EXPECT_GE(n, 2) << x << "," << y;
      EXPECT_LE(n, 3) << x << "," << y;
    }
  }
  EXPECT_GT(black, 90);
  // The inside is untouched by a clear brush.
  EXPECT_EQ(c->Pixels(20, 15), W);
}

TEST_F(CanvasTest, PieRunsCounterClockwiseFromStartToEnd) {
  // Start at the right (3 o'clock), end at the top (12 o'clock): the
  // upper-right quarter.
  Make(21, 21);
  c->Brush()->SetColor(B);
  c->Pie(0, 0, 21, 21, 20, 10, 10, 0);
  EXPECT_EQ(c->Pixels(15, 5), B);   // upper right: inside
  EXPECT_EQ(c->Pixels(5, 5), W);    // upper left: outside
  EXPECT_EQ(c->Pixels(15, 15), W);  // lower right: outside
  EXPECT_EQ(c->Pixels(5, 15), W);
  // Swapping start and end gives the other three quarters.
  Make(21, 21);
  c->Brush()->SetColor(B);
  c->Pie(0, 0, 21, 21, 10, 0, 20, 10);
  EXPECT_EQ(c->Pixels(15, 5), W);
  EXPECT_EQ(c->Pixels(5, 5), B);
  EXPECT_EQ(c->Pixels(15, 15), B);
  EXPECT_EQ(c->Pixels(5, 15), B);
}

TEST_F(CanvasTest, ArcDrawsOnlyItsPartOfTheOutline) {
  Make(21, 21);
  // From the top (12 o'clock) counter-clockwise to the bottom: the left half.
  c->Arc(0, 0, 21, 21, 10, 0, 10, 20);
  EXPECT_EQ(c->Pixels(0, 10), B);
  EXPECT_EQ(c->Pixels(20, 10), W);
  for (int y = 0; y < 21; ++y) {
    for (int x = 12; x < 21; ++x) {
      EXPECT_EQ(c->Pixels(x, y), W) << x << "," << y;
    }
  }
  // Nothing inside.
  EXPECT_EQ(c->Pixels(10, 10), W);
}

TEST_F(CanvasTest, ChordFillsTheArcSideOfItsLine) {
  Make(21, 21);
  c->Brush()->SetColor(B);
  // Left half-disc: from the top counter-clockwise to the bottom.
  c->Chord(0, 0, 21, 21, 10, 0, 10, 20);
  EXPECT_EQ(c->Pixels(5, 10), B);
  EXPECT_EQ(c->Pixels(15, 10), W);

  // Under half a turn the segment between the arc and its chord is filled
  // and the centre, on the other side of the chord, is not.
  Make(21, 21);
  c->Pen()->SetColor(RGB(255, 0, 0));
  c->Brush()->SetColor(B);
  c->Chord(0, 0, 21, 21, 21, 0, 0, 0);  // the top quarter: 45 to 135 degrees
  EXPECT_EQ(c->Pixels(10, 1), B);
  EXPECT_EQ(c->Pixels(10, 10), W);
  EXPECT_EQ(c->Pixels(10, 15), W);
  // Over half a turn the centre is inside.
  Make(21, 21);
  c->Brush()->SetColor(B);
  c->Chord(0, 0, 21, 21, 0, 0, 21, 0);
  EXPECT_EQ(c->Pixels(10, 10), B);
  EXPECT_EQ(c->Pixels(10, 2), W);
}

TEST_F(CanvasTest, ArcEndsAreFoundFromTheCentrePixel) {
  // Box 60 wide: the centre pixel is column 30. Straight up is reached at
  // the walk's pixel in that column; the path stops on the pixel before
  // it, which the stroke leaves out as it does every path's last point.
  Make(64, 40);
  c->Arc(0, 0, 60, 60, 60, 30, 30, 0);
  EXPECT_EQ(Row(0).substr(28, 8), "....###.");
  EXPECT_EQ(c->Pixels(59, 29), B);  // the start: the right end of the middle row
  EXPECT_EQ(c->Pixels(59, 30), W);
  // A pie closes from the arc's last path pixel to the centre pixel.
  Make(64, 40);
  c->Pie(0, 0, 60, 60, 60, 30, 30, 0);
  EXPECT_EQ(c->Pixels(31, 0), B);
  EXPECT_EQ(c->Pixels(30, 30), B);
  EXPECT_EQ(c->Pixels(29, 15), W);
}

TEST_F(CanvasTest, PieNarrowerThanAPixelIsItsRadiusNotTheWholeDisk) {
  // A slice of a few degrees on a small pie: the arc keeps one outline
  // pixel, and the pie is the line from it to the centre.
  Make(20, 10);
  c->Brush()->SetColor(clRed);
  c->Pie(0, 0, 12, 6, 20, 2, 20, 1);
  EXPECT_EQ(Count(clRed), 0);
  EXPECT_EQ(c->Pixels(6, 3), B);  // the centre pixel
  EXPECT_EQ(c->Pixels(10, 1), B);  // the arc's pixel, next to the right end of the middle
  EXPECT_EQ(Count(B), 5);
  for (const int y : {0, 4, 5}) EXPECT_EQ(Row(y), std::string(20, '.'));
}

TEST_F(CanvasTest, PiesAndChordsWithoutAPenFillThePolygonOfTheirPath) {
  // The path's right and bottom pixels stay out, as in any polygon; the
  // box is not grown to make up for the missing outline.
  Make(50, 50);
  c->Pen()->SetStyle(psClear);
  c->Brush()->SetColor(B);
  c->Pie(10, 10, 40, 40, 64, 25, 0, 25);  // the upper half
  EXPECT_EQ(Row(22).substr(9, 32), "." + std::string(29, '#') + "..");
  EXPECT_EQ(Row(25), std::string(50, '.'));  // the centre row closes the pie
  EXPECT_EQ(c->Pixels(24, 10), B);           // the top row of the walk
  EXPECT_EQ(c->Pixels(24, 9), W);
  // The arc stops before the left end of the middle row, and the radius
  // back to the centre leaves the left of the row above it open.
  EXPECT_EQ(Row(24).substr(10, 30), std::string(8, '.') + std::string(21, '#') + ".");
}

TEST_F(CanvasTest, NotPenModeTwiceRestoresThePicture) {
  Make(30, 20);
  c->Brush()->SetColor(clTeal);
  c->FillRect(Rect(3, 3, 20, 15));
  c->Pen()->SetColor(clRed);
  c->MoveTo(0, 0);
  c->LineTo(29, 19);
  std::vector<TColor> before;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) before.push_back(c->Pixels(x, y));

  c->Pen()->SetMode(pmNot);
  c->Brush()->SetColor(clYellow);
  for (int pass = 0; pass < 2; ++pass) {
    c->Rectangle(5, 2, 25, 18);
    c->Ellipse(1, 1, 29, 19);
    c->MoveTo(0, 19);
    c->LineTo(29, 0);
    const TPoint tri[] = {{2, 2}, {27, 5}, {10, 17}};
    c->Polygon(tri);
    c->Pen()->SetWidth(pass == 0 ? 3 : 3);
    c->MoveTo(0, 10);
    c->LineTo(29, 12);
    c->Pen()->SetWidth(1);
  }
  std::vector<TColor> after;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) after.push_back(c->Pixels(x, y));
  EXPECT_EQ(before, after);
}

TEST_F(CanvasTest, XorPenModeCombinesWithTheBackground) {
  Make(4, 1);
  c->Brush()->SetColor(0x0F0F0F);
  c->FillRect(Rect(0, 0, 4, 1));
  c->Pen()->SetMode(pmXor);
  c->Pen()->SetColor(0x00FF00);
  c->MoveTo(0, 0);
  c->LineTo(4, 0);
  EXPECT_EQ(c->Pixels(0, 0), 0x0FF00F);
}

TEST_F(CanvasTest, CopyModesAndAndOrMaskAPicture) {
  // The classic transparent draw: AND a mask (white = keep background),
  // then OR the picture (black where the background shows).
  Make(4, 1);
  c->Brush()->SetColor(clBlue);
  c->FillRect(Rect(0, 0, 4, 1));
  TBitmap mask(4, 1), image(4, 1);
  for (int x = 0; x < 4; ++x) {
    mask.Canvas()->SetPixels(x, 0, x < 2 ? clBlack : clWhite);
    image.Canvas()->SetPixels(x, 0, x < 2 ? clRed : clBlack);
  }
  c->SetCopyMode(cmSrcAnd);
  c->Draw(0, 0, &mask);
  EXPECT_EQ(c->Pixels(0, 0), clBlack);
  EXPECT_EQ(c->Pixels(3, 0), clBlue);
  c->SetCopyMode(cmSrcPaint);
  c->Draw(0, 0, &image);
  EXPECT_EQ(c->Pixels(0, 0), clRed);
  EXPECT_EQ(c->Pixels(1, 0), clRed);
  EXPECT_EQ(c->Pixels(2, 0), clBlue);
  EXPECT_EQ(c->Pixels(3, 0), clBlue);
}

TEST_F(CanvasTest, InvertingCopyOntoItselfInvertsJustTheRectangle) {
  Make(6, 1);
  c->SetCopyMode(cmNotSrcCopy);
  c->CopyRect(Rect(1, 0, 4, 1), c, Rect(1, 0, 4, 1));
  EXPECT_EQ(Row(0), ".###..");
  c->CopyRect(Rect(1, 0, 4, 1), c, Rect(1, 0, 4, 1));
  EXPECT_EQ(Row(0), "......");
}

TEST_F(CanvasTest, OverlappingCopyWithinOneBitmapMovesPixelsIntact) {
  Make(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) c->SetPixels(x, y, RGB(x * 30, y * 30, 7));
  c->CopyRect(Rect(1, 1, 8, 8), c, Rect(0, 0, 7, 7));
  for (int y = 1; y < 8; ++y) {
    for (int x = 1; x < 8; ++x) {
      EXPECT_EQ(c->Pixels(x, y), RGB((x - 1) * 30, (y - 1) * 30, 7));
    }
  }
}

TEST_F(CanvasTest, StretchModesNearestAndHalftone) {
  TBitmap src(2, 1);
  src.Canvas()->SetPixels(0, 0, clBlack);
  src.Canvas()->SetPixels(1, 0, clWhite);
  Make(4, 2);
  c->StretchDraw(Rect(0, 0, 4, 2), &src);
  EXPECT_EQ(Row(0), "##..");
  EXPECT_EQ(Row(1), "##..");
  // Shrinking two pixels into one: nearest takes one, halftone averages.
  TBitmap wide(2, 1);
  wide.Canvas()->SetPixels(0, 0, clBlack);
  wide.Canvas()->SetPixels(1, 0, clWhite);
  Make(1, 1);
  c->StretchDraw(Rect(0, 0, 1, 1), &wide);
  EXPECT_TRUE(c->Pixels(0, 0) == clBlack || c->Pixels(0, 0) == clWhite);
  c->SetStretchBltMode(HALFTONE);
  c->StretchDraw(Rect(0, 0, 1, 1), &wide);
  EXPECT_EQ(c->Pixels(0, 0), RGB(128, 128, 128));
}

TEST_F(CanvasTest, TransparentBitmapLeavesItsKeyColourOut) {
  Make(3, 1);
  c->Brush()->SetColor(clBlue);
  c->FillRect(Rect(0, 0, 3, 1));
  TBitmap pic(3, 1);
  pic.Canvas()->SetPixels(0, 0, clRed);
  pic.Canvas()->SetPixels(1, 0, clLime);
  pic.Canvas()->SetPixels(2, 0, clRed);
  pic.SetTransparent(true);  // key: bottom-left pixel, red
  c->Draw(0, 0, &pic);
  EXPECT_EQ(c->Pixels(0, 0), clBlue);
  EXPECT_EQ(c->Pixels(1, 0), clLime);
  EXPECT_EQ(c->Pixels(2, 0), clBlue);
}

TEST_F(CanvasTest, FloodFillSurfaceAndBorderStopAtTheBorder) {
  Make(9, 9);
  c->Rectangle(1, 1, 8, 8);  // black frame, white inside
  c->Brush()->SetColor(clRed);
  c->FloodFill(4, 4, clWhite, fsSurface);
  EXPECT_EQ(c->Pixels(4, 4), clRed);
  EXPECT_EQ(c->Pixels(2, 2), clRed);
  EXPECT_EQ(c->Pixels(1, 1), B);
  EXPECT_EQ(c->Pixels(0, 0), W);
  EXPECT_EQ(Count(clRed), 25);

  c->Brush()->SetColor(clLime);
  c->FloodFill(4, 4, clBlack, fsBorder);
  EXPECT_EQ(Count(clLime), 25);
  EXPECT_EQ(c->Pixels(0, 0), W);

  // A brush of the colour being replaced must not run forever.
  c->Brush()->SetColor(clLime);
  c->FloodFill(4, 4, clLime, fsSurface);
  EXPECT_EQ(Count(clLime), 25);
}

TEST_F(CanvasTest, ClipRectConfinesEveryOperation) {
  Make(10, 10);
  c->SetClipRect(Rect(2, 2, 6, 6));
  EXPECT_EQ(c->ClipRect(), Rect(2, 2, 6, 6));
  c->Brush()->SetColor(B);
  c->FillRect(Rect(0, 0, 10, 10));
  c->Ellipse(0, 0, 10, 10);
  c->MoveTo(0, 0);
  c->LineTo(10, 10);
  c->SetPixels(0, 0, B);
  EXPECT_EQ(Count(B), 16);
  EXPECT_EQ(c->Pixels(1, 1), CLR_INVALID);
  c->ResetClip();
  EXPECT_EQ(c->Pixels(1, 1), W);
}

TEST_F(CanvasTest, AttachedWithOriginDrawsOffsetAndClipped) {
  // A canvas that shares a surface, as a control on its parent's window.
  TBitmap surface(10, 10);
  TCanvas canvas;
  canvas.Attach(surface.Surface(), Point(3, 4), Rect(3, 4, 7, 7));
  canvas.Brush()->SetColor(B);
  canvas.FillRect(Rect(0, 0, 100, 100));
  int black = 0;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) black += surface.Canvas()->Pixels(x, y) == B;
  EXPECT_EQ(black, 12);
  EXPECT_EQ(surface.Canvas()->Pixels(3, 4), B);
  EXPECT_EQ(surface.Canvas()->Pixels(7, 4), W);
  EXPECT_EQ(canvas.Pixels(0, 0), B);
  EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, 4, 3));
}

TEST_F(CanvasTest, WidePenDrawsABandWithRoundEnds) {
  Make(20, 9);
  c->Pen()->SetWidth(3);
  c->MoveTo(5, 4);
  c->LineTo(15, 4);
  EXPECT_EQ(c->Pixels(10, 3), B);
  EXPECT_EQ(c->Pixels(10, 4), B);
  EXPECT_EQ(c->Pixels(10, 5), B);
  EXPECT_EQ(c->Pixels(10, 2), W);
  EXPECT_EQ(c->Pixels(10, 6), W);
  EXPECT_EQ(c->Pixels(15, 4), B);  // wide lines reach their end point
  EXPECT_EQ(c->Pixels(18, 4), W);
}

TEST_F(CanvasTest, DashedPenLeavesGapsInTheBrushColour) {
  Make(30, 1);
  c->Pen()->SetStyle(psDot);
  c->Brush()->SetColor(clRed);
  c->MoveTo(0, 0);
  c->LineTo(30, 0);
  EXPECT_EQ(c->Pixels(0, 0), B);
  EXPECT_EQ(c->Pixels(2, 0), B);
  EXPECT_EQ(c->Pixels(3, 0), clRed);
  EXPECT_EQ(c->Pixels(6, 0), B);
  Make(30, 1);
  c->Pen()->SetStyle(psDot);
  c->Brush()->SetStyle(bsClear);
  c->MoveTo(0, 0);
  c->LineTo(30, 0);
  EXPECT_EQ(c->Pixels(3, 0), W);
}

TEST_F(CanvasTest, BrushColourMakesAClearBrushSolid) {
  TBrush brush;
  brush.SetStyle(bsClear);
  brush.SetColor(brush.Color());
  EXPECT_EQ(brush.Style(), bsSolid);
}

TEST_F(CanvasTest, SystemColoursDrawThroughThePlatformTable) {
  Make(2, 1);
  c->Brush()->SetColor(clBtnShadow);
  c->FillRect(Rect(0, 0, 2, 1));
  EXPECT_EQ(c->Pixels(0, 0), GetSysColor(16));
  // A foreign high byte draws as the low 24 bits.
  c->Brush()->SetColor(static_cast<TColor>(0x6088FFF0));
  c->FillRect(Rect(0, 0, 2, 1));
  EXPECT_EQ(c->Pixels(1, 0), 0x88FFF0);
}

TEST_F(CanvasTest, RoundRectIsInsideItsBoxWithRoundedCorners) {
  Make(20, 12);
  c->Brush()->SetColor(clRed);
  c->RoundRect(0, 0, 20, 12, 8, 8);
  EXPECT_EQ(c->Pixels(0, 0), W);
  EXPECT_EQ(c->Pixels(10, 0), B);
  EXPECT_EQ(c->Pixels(0, 6), B);
  EXPECT_EQ(c->Pixels(19, 6), B);
  EXPECT_EQ(c->Pixels(10, 11), B);
  EXPECT_EQ(c->Pixels(10, 6), clRed);
}

// Corners of two pixels or less across or down round nothing off: the
// figure is the rectangle, with a pen or without one (then a pixel short
// to the right and bottom, as Rectangle is).
TEST_F(CanvasTest, RoundRectWithCornersOfTwoPixelsIsItsRectangle) {
  const std::array<std::array<int, 2>, 4> corners = {{{2, 2}, {2, 13}, {13, 2}, {1, 9}}};
  for (const TPenStyle pen : {psSolid, psClear}) {
    for (const auto& [ew, eh] : corners) {
      Make(30, 24);
      c->Pen()->SetStyle(pen);
      c->Brush()->SetColor(clRed);
      c->Rectangle(3, 2, 27, 21);
      const std::vector<std::string> rectangle = Picture();
      Make(30, 24);
      c->Pen()->SetStyle(pen);
      c->Brush()->SetColor(clRed);
      c->RoundRect(3, 2, 27, 21, ew, eh);
      EXPECT_EQ(Picture(), rectangle) << ew << "x" << eh << (pen == psClear ? " without a pen" : "");
    }
  }
}

// Corners much taller than wide: the walk of such a corner stops short of
// its last rows, and the inside must stop with the outline there instead of
// filling those rows from side to side.
TEST_F(CanvasTest, RoundRectInsideNeverReachesPastItsOutline) {
  const std::array<std::array<int, 2>, 5> corners = {{{3, 21}, {4, 19}, {3, 15}, {2, 30}, {5, 40}}};
  for (const auto& [ew, eh] : corners) {
    Make(24, 48);
    c->Brush()->SetColor(clRed);
    c->RoundRect(2, 2, 22, 46, ew, eh);
    for (int y = 0; y < 48; ++y) {
      const std::string r = Row(y);
      const auto first = r.find_first_not_of('.'), last = r.find_last_not_of('.');
      if (first == std::string::npos) continue;
      EXPECT_EQ(r[first], '#') << ew << "x" << eh << " row " << y << ": " << r;
      EXPECT_EQ(r[last], '#') << ew << "x" << eh << " row " << y << ": " << r;
    }
  }
}

}  // namespace
}  // namespace vorn

namespace vorn {
namespace {

TEST(CanvasTextTest, TextRectFillsItsRectangleAndClipsTheText) {
  TBitmap bmp(120, 40);
  TCanvas& c = *bmp.Canvas();
  c.Font()->SetName("Arial");
  c.Font()->SetSize(12);
  c.Brush()->SetColor(clYellow);
  const TRect r = Rect(10, 5, 40, 30);
  c.TextRect(r, 12, 8, "WWWWWWWWWWWWWW");
  int ink = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 120; ++x) {
      const TColor p = c.Pixels(x, y);
      if (!r.Contains({x, y})) {
        EXPECT_EQ(p, clWhite) << x << "," << y;
      } else if (p != clYellow) {
        ++ink;
      }
    }
  }
  EXPECT_GT(ink, 20);
}

TEST(CanvasTextTest, TextOutPaintsTheCellWithTheBrushAndMovesThePen) {
  TBitmap bmp(100, 30);
  TCanvas& c = *bmp.Canvas();
  c.Brush()->SetColor(clAqua);
  const TSize ext = c.TextExtent("Hi");
  c.TextOut(5, 5, "Hi");
  EXPECT_EQ(c.Pixels(5, 5), clAqua);
  EXPECT_EQ(c.Pixels(5 + ext.cx - 1, 5 + ext.cy - 1), clAqua);
  EXPECT_EQ(c.Pixels(5 + ext.cx, 5), clWhite);
  EXPECT_EQ(c.PenPos(), Point(5 + ext.cx, 5));
  c.Brush()->SetStyle(bsClear);
  c.TextOut(50, 5, "Hi");
  EXPECT_EQ(c.Pixels(50, 5), clWhite);
}

TEST(CanvasTextTest, RotatedBackgroundFollowsTheText) {
  // At 90 degrees the cell runs upwards from the reference point and lies
  // to its right: width becomes height.
  TBitmap bmp(60, 120);
  TCanvas& c = *bmp.Canvas();
  c.Brush()->SetColor(clAqua);
  c.Font()->SetOrientation(900);
  const TSize ext = c.TextExtent("Upwards");
  c.TextOut(20, 100, "Upwards");
  EXPECT_EQ(c.Pixels(21, 100 - ext.cx + 2), clAqua);
  EXPECT_EQ(c.Pixels(20 + ext.cy - 2, 99), clAqua);
  EXPECT_EQ(c.Pixels(21, 102), clWhite);
  EXPECT_EQ(c.Pixels(18, 90), clWhite);
}

}  // namespace
}  // namespace vorn
