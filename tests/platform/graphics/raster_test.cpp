// Block copies and figures: the fast paths give the pixels the general
// ones do, and a figure's pixels do not depend on the surface around it.
#include <gtest/gtest.h>

#include <random>

#include "vorn/platform/graphics/bitmap.h"
#include "vorn/platform/graphics/canvas.h"
#include "vorn/platform/graphics/raster.h"

namespace vorn {
namespace {

// Pixels that depend only on their position and the seed.
TPixel NoiseAt(int x, int y, unsigned seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 0x9E3779B1u ^ static_cast<std::uint32_t>(y) * 0x85EBCA77u ^ seed;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  return h & 0xFFFFFFu;
}

void Noise(TBitmap& bmp, unsigned seed) {
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x) bmp.ScanLine(y)[x] = NoiseAt(x, y, seed);
}

bool SamePixels(const TBitmap& a, const TBitmap& b) {
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if ((a.ScanLine(y)[x] & 0xFFFFFFu) != (b.ScanLine(y)[x] & 0xFFFFFFu)) return false;
  return true;
}

// The straight row copy (same size, source copy) against the general
// per-pixel path, which a colour key that no pixel has forces.
TEST(RasterTest, StraightCopyAgreesWithTheGeneralPathWhenClippedAndOffset) {
  TBitmap src(37, 29);
  Noise(src, 1);
  struct Copy {
    TRect dest, source, clip;
  };
  const Copy copies[] = {
      {Rect(0, 0, 37, 29), Rect(0, 0, 37, 29), Rect(0, 0, 40, 30)},       // whole rows, packed
      {Rect(3, 2, 23, 17), Rect(10, 5, 30, 20), Rect(0, 0, 40, 30)},      // offset
      {Rect(-5, -4, 30, 25), Rect(0, 0, 35, 29), Rect(4, 3, 33, 22)},     // clipped on every side
      {Rect(20, 10, 57, 39), Rect(0, 0, 37, 29), Rect(0, 0, 40, 30)},     // past the surface
      {Rect(0, 0, 20, 20), Rect(25, 20, 45, 40), Rect(0, 0, 40, 30)},     // source partly outside
      {Rect(0, 0, 40, 29), Rect(-3, 0, 37, 29), Rect(0, 0, 40, 30)},      // source starts left of it
  };
  for (const Copy& k : copies) {
    TBitmap fast(40, 30), general(40, 30);
    Noise(fast, 2);
    Noise(general, 2);
    fast.Canvas()->SetClipRect(k.clip);
    general.Canvas()->SetClipRect(k.clip);
    fast.Canvas()->StretchFromSurface(k.dest, src.Surface(), k.source);
    general.Canvas()->StretchFromSurface(k.dest, src.Surface(), k.source, true, 0x01000000u);
    EXPECT_TRUE(SamePixels(fast, general)) << k.dest.Left << "," << k.dest.Top << " from " << k.source.Left << ","
                                           << k.source.Top;
  }
}

TEST(RasterTest, StraightCopyWithinOneSurfaceMovesBothWays) {
  for (const int dy : {-3, 3}) {
    TBitmap a(30, 20), b(30, 20);
    Noise(a, 3);
    Noise(b, 3);
    const TRect from = Rect(2, 5, 26, 15);
    const TRect to = Rect(4, 5 + dy, 28, 15 + dy);
    a.Canvas()->CopyRect(to, a.Canvas(), from);
    b.Canvas()->StretchFromSurface(to, b.Surface(), from, true, 0x01000000u);
    EXPECT_TRUE(SamePixels(a, b)) << dy;
  }
}

// Every figure kind, pen width and mode, drawn on a small bitmap and on a
// large one: the same pixels, and a clip rectangle cuts them and nothing
// more.
TEST(RasterTest, FiguresDoNotDependOnTheSurfaceOrTheClipAroundThem) {
  std::mt19937 rng(7);
  auto draw = [](TCanvas& c, int kind, const int* v) {
    switch (kind) {
      case 0: c.Ellipse(v[0], v[1], v[2], v[3]); break;
      case 1: c.Pie(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]); break;
      case 2: c.Chord(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]); break;
      case 3: c.Arc(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]); break;
      case 4: c.RoundRect(v[0], v[1], v[2], v[3], v[4] & 15, v[5] & 15); break;
      case 5: {
        const TPoint pts[4] = {{v[0], v[1]}, {v[2], v[3]}, {v[4], v[5]}, {v[6], v[7]}};
        c.Polygon(pts);
        break;
      }
      default: {
        const TPoint pts[3] = {{v[0], v[1]}, {v[2], v[3]}, {v[4], v[5]}};
        c.Polyline(pts);
      }
    }
  };
  for (int step = 0; step < 140; ++step) {
    const int kind = step % 7;
    int v[8];
    for (int& k : v) k = static_cast<int>(rng() % 50) - 5;
    const int width = 1 + static_cast<int>(rng() % 4);
    const auto mode = static_cast<TPenMode>(rng() % 16);
    const auto style = static_cast<TPenStyle>(rng() % 7);
    TBitmap small(40, 40), large(300, 200), clipped(40, 40);
    for (TBitmap* b : {&small, &large, &clipped}) {
      Noise(*b, 9);
      TCanvas& c = *b->Canvas();
      c.Pen()->SetWidth(width);
      c.Pen()->SetMode(mode);
      c.Pen()->SetStyle(style);
      c.Pen()->SetColor(clRed);
      c.Brush()->SetColor(clBlue);
    }
    const TRect clip = Rect(7, 9, 31, 28);
    clipped.Canvas()->SetClipRect(clip);
    draw(*small.Canvas(), kind, v);
    draw(*large.Canvas(), kind, v);
    draw(*clipped.Canvas(), kind, v);
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 40; ++x) {
        const TPixel s = small.ScanLine(y)[x] & 0xFFFFFFu;
        ASSERT_EQ(s, large.ScanLine(y)[x] & 0xFFFFFFu) << "kind " << kind << " at " << x << "," << y;
        const bool inside = clip.Contains({x, y});
        ASSERT_EQ(clipped.ScanLine(y)[x] & 0xFFFFFFu, inside ? s : NoiseAt(x, y, 9))
            << "kind " << kind << " at " << x << "," << y;
      }
    }
  }
}

// Hatch lines lie on fixed device rows and columns, wherever the figure is.
TEST(RasterTest, HatchLinesSitOnRowThreeAndColumnFourOfEveryEight) {
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      EXPECT_EQ(raster::HatchAt(bsHorizontal, x, y), y % 8 == 3);
      EXPECT_EQ(raster::HatchAt(bsVertical, x, y), x % 8 == 4);
      EXPECT_EQ(raster::HatchAt(bsCross, x, y), y % 8 == 3 || x % 8 == 4);
      EXPECT_EQ(raster::HatchAt(bsFDiagonal, x, y), x % 8 == y % 8);
    }
  }
}

// Spans added in any order and overlapping are painted once each.
TEST(RasterTest, SpanSetPaintsTheUnionOnceWithXor) {
  TBitmap bmp(20, 4);
  TSurface s = bmp.Surface();
  raster::TSpanSet set(Rect(0, 0, 20, 4), s, {0xFFFFFF, pmXor, bsSolid});
  set.SetSpan(1, 5, 9);
  set.SetSpan(1, 2, 6);
  set.SetSpan(0, 3, 4);
  set.SetSpan(1, 8, 12);
  set.Set(13, 1);
  set.SetSpan(2, -5, 40);  // clipped to the bounds
  set.Paint();
  auto row = [&](int y) {
    std::string r;
    for (int x = 0; x < 20; ++x) r += (bmp.ScanLine(y)[x] & 0xFFFFFFu) == 0 ? '#' : '.';
    return r;
  };
  EXPECT_EQ(row(0), "...#................");
  EXPECT_EQ(row(1), "..##########.#......");
  EXPECT_EQ(row(2), "####################");
  EXPECT_EQ(row(3), "....................");
}

}  // namespace
}  // namespace vorn
