// The polygon scan against an exact rule worked out pixel by pixel in
// integers: pixel (x, y) is inside when the crossings of row y at or left
// of x (an edge crosses the rows from its upper end down to, not
// including, its lower end) leave it inside by the fill rule. Vertices are
// whole numbers or, in units of 1/Scale, fractions.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "vorn/platform/graphics/raster.h"

namespace vorn {
namespace {

using raster::TPointF;

struct TIntPoint {
  std::int64_t X, Y;
};

bool InsideExactly(const std::vector<TIntPoint>& poly, bool winding, std::int64_t x, std::int64_t y, int Scale) {
  x *= Scale;
  y *= Scale;
  int count = 0;
  for (std::size_t i = 0; i < poly.size(); ++i) {
    const TIntPoint p = poly[i], q = poly[(i + 1) % poly.size()];
    if (p.Y == q.Y) continue;
    const bool down = p.Y < q.Y;
    const TIntPoint top = down ? p : q, bot = down ? q : p;
    if (y < top.Y || y >= bot.Y) continue;
    // x at or right of the crossing: (x - top.X) / (y - top.Y) >= dx / dy.
    if ((x - top.X) * (bot.Y - top.Y) >= (y - top.Y) * (bot.X - top.X)) count += winding ? (down ? 1 : -1) : 1;
  }
  return winding ? count != 0 : (count & 1) != 0;
}

// The scan's spans as a picture of W x H, failing on spans that overlap or
// leave the clip.
std::vector<std::uint8_t> Scan(const std::vector<TIntPoint>& poly, bool winding, const TRect& clip, int W, int H,
                               int Scale) {
  std::vector<TPointF> f;
  for (const TIntPoint& p : poly) f.push_back({static_cast<double>(p.X) / Scale, static_cast<double>(p.Y) / Scale});
  std::vector<std::uint8_t> picture(static_cast<std::size_t>(W * H), 0);
  raster::ScanPolygon(std::span<const TPointF>(f), winding, clip, [&](int y, int x0, int x1) {
    EXPECT_TRUE(y >= clip.Top && y < clip.Bottom && x0 >= clip.Left && x1 <= clip.Right && x0 < x1)
        << y << ": " << x0 << ".." << x1;
    for (int x = x0; x < x1; ++x) {
      std::uint8_t& px = picture[static_cast<std::size_t>(y * W + x)];
      EXPECT_EQ(px, 0) << "painted twice at " << x << "," << y;
      px = 1;
    }
  });
  return picture;
}

void ExpectExact(const std::vector<TIntPoint>& poly, bool winding, const TRect& clip, int W, int H, int Case,
                 int Scale = 1) {
  const std::vector<std::uint8_t> picture = Scan(poly, winding, clip, W, H, Scale);
  for (int y = 0; y < H; ++y) {
    for (int x = 0; x < W; ++x) {
      const bool want = clip.Contains({x, y}) && InsideExactly(poly, winding, x, y, Scale);
      if ((picture[static_cast<std::size_t>(y * W + x)] != 0) != want) {
        FAIL() << "case " << Case << (winding ? " winding" : " alternate") << ": pixel " << x << "," << y
               << " should be " << (want ? "in" : "out");
      }
    }
  }
}

// Convex, concave, self-crossing and degenerate outlines of 3 to 40
// vertices, some snapped to a coarse grid so that vertices share rows and
// columns, some on quarter pixels, under random clips.
TEST(ScanPolygonTest, RandomOutlinesFollowTheExactRule) {
  std::mt19937 rng(11);
  constexpr int W = 48, H = 40;
  for (int step = 0; step < 600; ++step) {
    const int n = 3 + static_cast<int>(rng() % 38);
    const bool coarse = step % 3 == 0;
    const int scale = step % 5 == 1 ? 4 : 1;
    std::vector<TIntPoint> poly;
    for (int i = 0; i < n; ++i) {
      std::int64_t x = static_cast<std::int64_t>(rng() % 60) - 6, y = static_cast<std::int64_t>(rng() % 52) - 6;
      if (coarse) x -= x % 8, y -= y % 8;
      poly.push_back({x * scale + static_cast<int>(rng() % scale), y * scale + static_cast<int>(rng() % scale)});
    }
    const int l = static_cast<int>(rng() % 20), t = static_cast<int>(rng() % 20);
    const TRect clip = step % 4 == 0 ? TRect{0, 0, W, H}
                                     : TRect{l, t, l + 1 + static_cast<int>(rng() % (W - l)),
                                             t + 1 + static_cast<int>(rng() % (H - t))};
    ExpectExact(poly, step % 2 == 0, clip, W, H, step, scale);
  }
}

// Shapes as figures and needles make them: many chains at once (beyond the
// count sorted by insertion), chains crossing each other between rows,
// outlines that are all level and repeated points.
TEST(ScanPolygonTest, ManyChainsCrossingsAndDegenerateOutlines) {
  constexpr int W = 120, H = 40;
  std::vector<TIntPoint> comb;  // 50 teeth: 100 chains in the rows of the teeth
  for (int i = 0; i < 50; ++i) {
    comb.push_back({2 * i, 35});
    comb.push_back({2 * i + 1, 2 + i % 7});
  }
  comb.push_back({100, 38});
  comb.push_back({0, 38});
  std::vector<TIntPoint> fan;  // long crossing spikes from both sides
  for (int i = 0; i < 40; ++i) {
    fan.push_back({i % 2 == 0 ? 0 : 110, i});
    fan.push_back({i % 2 == 0 ? 110 : 0, i + 1});
  }
  std::vector<TIntPoint> star = {{60, 0}, {75, 38}, {40, 14}, {80, 14}, {45, 38}};
  std::vector<TIntPoint> level = {{3, 5}, {30, 5}, {10, 5}};
  std::vector<TIntPoint> repeated = {{5, 5}, {5, 5}, {30, 20}, {30, 20}, {5, 30}, {5, 30}};
  std::vector<TIntPoint> needle = {{50, 30}, {60, 2}, {70, 30}, {60, 31}, {60, 39}, {60, 39}, {60, 31}};
  int c = 0;
  for (const auto* poly : {&comb, &fan, &star, &level, &repeated, &needle}) {
    for (const bool winding : {false, true}) {
      ExpectExact(*poly, winding, {0, 0, W, H}, W, H, c);
      ExpectExact(*poly, winding, {17, 9, 93, 27}, W, H, c);
    }
    ++c;
  }
}

// Rows of figures reaching far beyond the clip still meet it exactly,
// whole-number outlines walked in integers and larger ones in floating
// point alike.
TEST(ScanPolygonTest, HugeCoordinatesAreScannedWithinTheClip) {
  const std::vector<TIntPoint> big = {{-1000000, -999999}, {1000003, -5}, {20, 1000001}};
  const std::vector<TIntPoint> bigger = {{-30000000, -29999999}, {30000007, -3}, {17, 29999991}, {9, 12}};
  for (const bool winding : {false, true}) {
    ExpectExact(big, winding, {0, 0, 32, 24}, 32, 24, 0);
    ExpectExact(bigger, winding, {0, 0, 32, 24}, 32, 24, 1);
  }
}

}  // namespace
}  // namespace vorn
