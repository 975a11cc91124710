// Every canvas operation with random, also extreme, coordinates: nothing
// may crash, overflow or write outside the clip rectangle (run under the
// sanitizers in CI).
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <vector>

#include "vorn/platform/graphics/bitmap.h"

namespace vorn {
namespace {

int Coordinate(std::mt19937& rng) {
  static const int extremes[] = {INT_MIN, INT_MIN + 1, -1000000000, -70000, -1, 0, 1, 5, 63, 64, 65, 70000, 1000000000, INT_MAX - 1, INT_MAX};
  if (rng() % 4 == 0) return extremes[rng() % std::size(extremes)];
  return static_cast<int>(rng() % 120) - 30;
}

TEST(CanvasRandomTest, ExtremeCoordinatesStayInsideTheClip) {
  std::mt19937 rng(20261208);
  TBitmap bmp(64, 48);
  TCanvas& c = *bmp.Canvas();
  const TRect clip = Rect(8, 6, 56, 40);
  TBitmap source(16, 16);
  source.Canvas()->Brush()->SetColor(clRed);
  source.Canvas()->FillRect(Rect(0, 0, 16, 16));
  for (int step = 0; step < 4000; ++step) {
    c.ResetClip();
    c.Brush()->SetColor(clWhite);
    c.FillRect(Rect(0, 0, 64, 48));
    c.SetClipRect(clip);
    c.Pen()->SetWidth(1 + static_cast<int>(rng() % 4));
    c.Pen()->SetStyle(static_cast<TPenStyle>(rng() % 7));
    c.Pen()->SetMode(static_cast<TPenMode>(rng() % 16));
    c.Pen()->SetColor(clBlack);
    c.Brush()->SetColor(clBlack);
    if (rng() % 3 == 0) c.Brush()->SetStyle(static_cast<TBrushStyle>(rng() % 8));
    int v[8];
    for (int& x : v) x = Coordinate(rng);
    switch (rng() % 14) {
      case 0: c.MoveTo(v[0], v[1]); c.LineTo(v[2], v[3]); break;
      case 1: c.Rectangle(v[0], v[1], v[2], v[3]); break;
      case 2: c.Ellipse(v[0], v[1], v[2], v[3]); break;
      case 3: c.Arc(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]); break;
      case 4: c.Pie(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]); break;
      case 5: c.Chord(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]); break;
      case 6: {
        const TPoint pts[] = {{v[0], v[1]}, {v[2], v[3]}, {v[4], v[5]}, {v[6], v[7]}};
        c.Polygon(pts);
        break;
      }
      case 7: c.FillRect(Rect(v[0], v[1], v[2], v[3])); break;
      case 8: c.FrameRect(Rect(v[0], v[1], v[2], v[3])); break;
      case 9: c.RoundRect(v[0], v[1], v[2], v[3], v[4], v[5]); break;
      case 10: c.TextOut(v[0], v[1], "Wg"); break;
      case 11: c.StretchDraw(Rect(v[0], v[1], v[2], v[3]), &source); break;
      case 12: c.CopyRect(Rect(v[0], v[1], v[2], v[3]), source.Canvas(), Rect(v[4], v[5], v[6], v[7])); break;
      default: c.FloodFill(v[0], v[1], clWhite, fsSurface); break;
    }
    c.ResetClip();
    for (int y = 0; y < 48; ++y) {
      for (int x = 0; x < 64; ++x) {
        if (!clip.Contains({x, y}) && c.Pixels(x, y) != clWhite) {
          FAIL() << "step " << step << " wrote outside the clip at " << x << "," << y;
        }
      }
    }
  }
}

// A filled ellipse with a copied one-pixel outline is painted in one pass;
// it must give what painting its inside alone and then its outline alone
// gives, for any box, clip and brush pattern.
TEST(CanvasRandomTest, CopiedEllipseOutlineLiesOverItsInsideAsDrawnApart) {
  std::mt19937 rng(20261210);
  TBitmap together(48, 40), apart(48, 40);
  for (int step = 0; step < 600; ++step) {
    const int x = static_cast<int>(rng() % 40) - 8, y = static_cast<int>(rng() % 34) - 8;
    const TRect box = Rect(x, y, x + 1 + static_cast<int>(rng() % 40), y + 1 + static_cast<int>(rng() % 34));
    const TRect clip = Rect(static_cast<int>(rng() % 20), static_cast<int>(rng() % 16), 28 + static_cast<int>(rng() % 21),
                            24 + static_cast<int>(rng() % 17));
    const auto pattern = static_cast<TBrushStyle>(rng() % 8);
    for (TBitmap* bmp : {&together, &apart}) {
      TCanvas& c = *bmp->Canvas();
      c.ResetClip();
      c.Brush()->SetStyle(bsSolid);
      c.Brush()->SetColor(clWhite);
      c.FillRect(Rect(0, 0, 48, 40));
      c.SetClipRect(clip);
      c.Pen()->SetColor(clRed);
      c.Pen()->SetStyle(step % 2 ? psSolid : psInsideFrame);
      c.Brush()->SetColor(clNavy);
      c.Brush()->SetStyle(pattern);
    }
    together.Canvas()->Ellipse(box);
    TCanvas& c = *apart.Canvas();
    const TPenStyle pen = c.Pen()->Style();
    c.Pen()->SetStyle(psClear);
    c.Ellipse(box);
    c.Pen()->SetStyle(pen);
    c.Brush()->SetStyle(bsClear);
    c.Ellipse(box);
    for (int py = 0; py < 40; ++py)
      for (int px = 0; px < 48; ++px)
        ASSERT_EQ(together.Canvas()->Pixels(px, py), apart.Canvas()->Pixels(px, py))
            << "step " << step << " at " << px << "," << py;
  }
}

}  // namespace
}  // namespace vorn
