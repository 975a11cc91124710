// Outline paths and regions of curved figures and wide pens: the walk of
// an ellipse, arcs cut from it, round rectangle rows and paths, pen dots
// and wide paths, checked against each other and against their geometry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "vorn/platform/graphics/raster.h"

namespace vorn {
namespace {

using Pixel = std::pair<int, int>;  // (y, x), so that sets sort by rows

std::set<Pixel> PixelsOf(const std::vector<TPoint>& pts) {
  std::set<Pixel> s;
  for (const TPoint& p : pts) s.insert({p.Y, p.X});
  return s;
}

// Row spans (exclusive ends) into pixels; a pixel given twice is an error.
std::set<Pixel> RowsOf(const TRect& box, int ew, int eh) {
  std::set<Pixel> s;
  raster::RoundRectRows(box, ew, eh, [&](int y, int x0, int x1) {
    for (int x = x0; x < x1; ++x) EXPECT_TRUE(s.insert({y, x}).second) << x << "," << y;
  });
  return s;
}

// The pixels of a region with a 4-neighbour outside it.
std::set<Pixel> BorderOf(const std::set<Pixel>& region) {
  std::set<Pixel> border;
  for (const auto& [y, x] : region) {
    if (!region.contains({y - 1, x}) || !region.contains({y + 1, x}) || !region.contains({y, x - 1}) ||
        !region.contains({y, x + 1})) {
      border.insert({y, x});
    }
  }
  return border;
}

TEST(RasterPathsTest, EllipseQuarterStepsFromTheRightMiddleToTheBottomMiddle) {
  for (const auto& [w, h] : std::vector<Pixel>{{2, 2}, {3, 3}, {5, 4}, {4, 9}, {17, 6}, {40, 41}, {63, 2}, {2, 30}}) {
    const std::vector<TPoint> q = raster::EllipseQuarter(w, h);
    ASSERT_FALSE(q.empty()) << w << "x" << h;
    EXPECT_EQ(q.front().X, w - 1) << w << "x" << h;
    EXPECT_EQ(q.front().Y, h / 2) << w << "x" << h;
    EXPECT_EQ(q.back().X, w / 2) << w << "x" << h;
    // The walk ends on the bottom row, except that of an ellipse much
    // taller than wide, which stops short of its tip like the classic walk.
    if (h <= 2 * w) {
      EXPECT_EQ(q.back().Y, h - 1) << w << "x" << h;
    }
    for (std::size_t i = 1; i < q.size(); ++i) {
      const int dx = q[i - 1].X - q[i].X, dy = q[i].Y - q[i - 1].Y;
      // One step at a time, never back.
      EXPECT_TRUE(dx >= 0 && dx <= 1 && dy >= 0 && dy <= 1 && dx + dy > 0) << w << "x" << h << " step " << i;
    }
  }
  EXPECT_TRUE(raster::EllipseQuarter(0, 5).empty());
  EXPECT_TRUE(raster::EllipseQuarter(5, -1).empty());
}

TEST(RasterPathsTest, EllipseWalkIsTheBorderOfTheEllipseRegion) {
  // The region's rows and the outline walk come from the same error term:
  // the walk runs exactly along the region's border, so a figure's inside
  // and its one-pixel outline meet without gaps or overlaps beyond it.
  for (const auto& [w, h] : std::vector<Pixel>{{3, 3}, {6, 6}, {7, 4}, {12, 31}, {33, 20}, {50, 3}}) {
    const TRect box{10, 20, 10 + w, 20 + h};
    const std::set<Pixel> region = RowsOf(box, w, h);
    const std::set<Pixel> walk = PixelsOf(raster::RoundRectPath(box, w, h));
    for (const Pixel& p : walk) EXPECT_TRUE(region.contains(p)) << w << "x" << h << " at " << p.second << "," << p.first;
    // Every row of the region begins and ends on the walk.
    std::map<int, std::pair<int, int>> ends;
    for (const auto& [y, x] : region) {
      auto [it, fresh] = ends.insert({y, {x, x}});
      if (!fresh) it->second = {std::min(it->second.first, x), std::max(it->second.second, x)};
    }
    EXPECT_EQ(static_cast<int>(ends.size()), h);
    for (const auto& [y, lr] : ends) {
      EXPECT_TRUE(walk.contains({y, lr.first})) << w << "x" << h << " row " << y;
      EXPECT_TRUE(walk.contains({y, lr.second})) << w << "x" << h << " row " << y;
      // Mirror symmetry about the box's middle column.
      EXPECT_EQ(lr.first - box.Left, box.Right - 1 - lr.second) << w << "x" << h << " row " << y;
    }
  }
}

TEST(RasterPathsTest, ArcsFromAToBAndFromBToASplitTheEllipse) {
  const TRect box{3, 5, 40, 27};
  const std::set<Pixel> whole = PixelsOf(raster::ArcPath(box, {60, 16}, {60, 16}));
  EXPECT_EQ(whole, PixelsOf(raster::RoundRectPath(box, box.Width(), box.Height())));
  const TPoint dirs[] = {{60, 16}, {21, -40}, {-9, 3}, {0, 30}, {39, 26}, {30, 40}};
  for (const TPoint& a : dirs) {
    for (const TPoint& b : dirs) {
      if (a.X == b.X && a.Y == b.Y) continue;
      const std::vector<TPoint> ab = raster::ArcPath(box, a, b), ba = raster::ArcPath(box, b, a);
      std::set<Pixel> both = PixelsOf(ab);
      for (const Pixel& p : PixelsOf(ba)) EXPECT_TRUE(both.insert(p).second) << "overlap at " << p.second << "," << p.first;
      EXPECT_EQ(both, whole) << a.X << "," << a.Y << " and " << b.X << "," << b.Y;
      for (std::size_t i = 1; i < ab.size(); ++i) {
        EXPECT_LE(std::max(std::abs(ab[i].X - ab[i - 1].X), std::abs(ab[i].Y - ab[i - 1].Y)), 1);
      }
    }
  }
}

TEST(RasterPathsTest, ArcStartsAtItsDirectionAndTheCentreMeansZeroDegrees) {
  const TRect box{0, 0, 21, 11};  // centre (10.5, 5.5) in pixel edges
  // Counter-clockwise from straight right to straight up: from the
  // rightmost pixel of the middle row over the upper right quarter.
  const std::vector<TPoint> up = raster::ArcPath(box, {100, 6}, {10, -100});
  ASSERT_FALSE(up.empty());
  EXPECT_EQ(up.front().X, 20);
  EXPECT_EQ(up.front().Y, 5);
  for (const TPoint& p : up) {
    EXPECT_GE(p.X, 10);
    EXPECT_LE(p.Y, 5);
  }
  EXPECT_LE(up.back().X, 11);
  EXPECT_EQ(up.back().Y, 0);
  // A start point on the centre pixel starts where a start to the right does.
  const std::vector<TPoint> fromCentre = raster::ArcPath(box, {10, 5}, {10, -100});
  EXPECT_EQ(PixelsOf(fromCentre), PixelsOf(up));
}

TEST(RasterPathsTest, ArcOfStartJustBelowTheAxisToEndJustAboveIsEmpty) {
  // A start just below the X axis on the right lies at the end of the walk
  // and an end just above it at its beginning: no pixel lies between.
  EXPECT_TRUE(raster::ArcPath({0, 0, 2, 37}, {2, 21}, {16, -39}).empty());
}

TEST(RasterPathsTest, ArcNarrowerThanAPixelKeepsOnePixel) {
  // Both directions reach the same outline pixel. A few degrees counter-
  // clockwise from start to end is an arc of that pixel alone; the other
  // way round the arc misses less than a pixel: the whole ellipse, as the
  // same direction twice gives.
  const TRect box{0, 0, 12, 6};
  const std::set<Pixel> whole = PixelsOf(raster::ArcPath(box, {20, 1}, {20, 1}));
  EXPECT_EQ(whole.size(), 24u);
  const std::vector<TPoint> narrow = raster::ArcPath(box, {20, 2}, {20, 1});
  ASSERT_EQ(narrow.size(), 1u);
  EXPECT_TRUE(whole.contains({narrow[0].Y, narrow[0].X}));
  EXPECT_EQ(PixelsOf(raster::ArcPath(box, {20, 1}, {20, 2})), whole);
  // The same on a flat ellipse, 11 degrees near the bottom.
  EXPECT_EQ(raster::ArcPath({16, 28, 57, 37}, {51, 70}, {58, 66}).size(), 1u);
}

TEST(RasterPathsTest, HugeArcBoxesTakeAShortSampledPath) {
  const TRect box{-20000, -15000, 20000, 15000};
  const std::vector<TPoint> p = raster::ArcPath(box, {30000, 0}, {0, -30000});
  ASSERT_GE(p.size(), 2u);
  EXPECT_LT(p.size(), 2000u);
  EXPECT_NEAR(p.front().X, 19999, 1);
  EXPECT_NEAR(p.back().Y, -15000, 1);
}

TEST(RasterPathsTest, RoundRectRowsCutTheCornersAndKeepTheSides) {
  const TRect box{2, 3, 32, 23};
  const std::set<Pixel> r = RowsOf(box, 10, 8);
  EXPECT_EQ(static_cast<int>(r.size()) < box.Width() * box.Height(), true);
  for (const int y : {box.Top, box.Top + 1, box.Bottom - 2, box.Bottom - 1}) {
    EXPECT_FALSE(r.contains({y, box.Left}) || r.contains({y, box.Right - 1})) << y;
  }
  for (int y = box.Top + 4; y < box.Bottom - 4; ++y) {
    EXPECT_TRUE(r.contains({y, box.Left}) && r.contains({y, box.Right - 1})) << y;
  }
  for (int x = box.Left + 5; x < box.Right - 5; ++x) {
    EXPECT_TRUE(r.contains({box.Top, x}));
    EXPECT_TRUE(r.contains({box.Bottom - 1, x}));
  }
  // Up and down, left and right mirror each other.
  for (const auto& [y, x] : r) EXPECT_TRUE(r.contains({box.Top + box.Bottom - 1 - y, box.Left + box.Right - 1 - x}));
  // Corners under two pixels, or reversed corner sizes, give the plain box
  // or the same corners.
  EXPECT_EQ(RowsOf(box, 1, 8).size(), static_cast<std::size_t>(box.Width() * box.Height()));
  EXPECT_EQ(RowsOf(box, -10, -8), r);
  EXPECT_TRUE(RowsOf({5, 5, 5, 9}, 4, 4).empty());
}

TEST(RasterPathsTest, RoundRectPathRunsRoundTheRegionBorderCounterClockwise) {
  const TRect box{4, 6, 44, 30};
  const std::vector<TPoint> path = raster::RoundRectPath(box, 12, 9);
  const std::set<Pixel> border = BorderOf(RowsOf(box, 12, 9));
  // The corners follow the border pixel by pixel; the sides are the
  // straight steps between them.
  for (const TPoint& p : path) EXPECT_TRUE(border.contains({p.Y, p.X})) << p.X << "," << p.Y;
  long twiceArea = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const TPoint a = path[i], b = path[(i + 1) % path.size()];
    EXPECT_TRUE(a.X == b.X || a.Y == b.Y || (std::abs(a.X - b.X) <= 1 && std::abs(a.Y - b.Y) <= 1));
    twiceArea += static_cast<long>(a.X) * b.Y - static_cast<long>(b.X) * a.Y;
  }
  EXPECT_LT(twiceArea, 0);  // counter-clockwise on screen, Y down
  EXPECT_EQ(path.front().X, box.Right - 1);
}

std::set<Pixel> DotOf(int width) {
  std::set<Pixel> s;
  raster::PenDot(width, [&](int y, int x0, int x1) {
    for (int x = x0; x < x1; ++x) s.insert({y, x});
  });
  return s;
}

TEST(RasterPathsTest, PenDotsAreCentredOnThePointWithTheEvenExtraAboveLeft) {
  EXPECT_EQ(DotOf(1), (std::set<Pixel>{{0, 0}}));
  EXPECT_EQ(DotOf(2), (std::set<Pixel>{{-1, -1}, {-1, 0}, {0, -1}, {0, 0}}));
  EXPECT_EQ(DotOf(3), (std::set<Pixel>{{-1, 0}, {0, -1}, {0, 0}, {0, 1}, {1, 0}}));
  for (int w = 4; w <= 12; ++w) {
    const std::set<Pixel> d = DotOf(w);
    const int lo = -(w / 2), hi = lo + w - 1;
    for (const auto& [y, x] : d) {
      EXPECT_TRUE(y >= lo && y <= hi && x >= lo && x <= hi) << w;
      EXPECT_TRUE(d.contains({x, y})) << w;                // symmetric across the diagonal
      EXPECT_TRUE(d.contains({lo + hi - y, x})) << w;      // and top to bottom
    }
    EXPECT_TRUE(d.contains({0, lo}) && d.contains({0, hi}) && d.contains({lo, 0}) && d.contains({hi, 0})) << w;
    EXPECT_FALSE(d.contains({lo, lo})) << w;  // round, not square
    EXPECT_LT(DotOf(w - 1).size(), d.size());
  }
}

std::set<Pixel> WideOf(const std::vector<TPoint>& pts, bool closed, int width, const TRect& clip) {
  std::set<Pixel> s;
  raster::WidePath(pts, closed, width, clip, [&](int y, int x0, int x1) {
    EXPECT_TRUE(y >= clip.Top && y < clip.Bottom && x0 >= clip.Left && x1 <= clip.Right && x0 < x1);
    for (int x = x0; x < x1; ++x) s.insert({y, x});
  });
  return s;
}

TEST(RasterPathsTest, WidePathBandsLevelAndUprightSegmentsByThePenWidth) {
  const TRect clip{0, 0, 64, 48};
  // Width 2: the extra row above the path, the extra column left of it.
  const std::set<Pixel> level = WideOf({{10, 20}, {30, 20}}, false, 2, clip);
  for (int x = 9; x <= 30; ++x) {
    EXPECT_TRUE(level.contains({19, x}) && level.contains({20, x})) << x;
    EXPECT_FALSE(level.contains({21, x}) || level.contains({18, x})) << x;
  }
  EXPECT_FALSE(level.contains({20, 31}) || level.contains({20, 8}));
  const std::set<Pixel> upright = WideOf({{15, 30}, {15, 5}}, false, 3, clip);
  for (int y = 5; y <= 30; ++y) {
    EXPECT_TRUE(upright.contains({y, 14}) && upright.contains({y, 15}) && upright.contains({y, 16})) << y;
    EXPECT_FALSE(upright.contains({y, 13}) || upright.contains({y, 17})) << y;
  }
  // Round ends: the plus of width 3 reaches one past each end point only
  // on the path's own column.
  EXPECT_TRUE(upright.contains({4, 15}) && upright.contains({31, 15}));
  EXPECT_FALSE(upright.contains({4, 14}) || upright.contains({31, 16}));
}

TEST(RasterPathsTest, WidePathSlantedBandsAreEvenAcrossAndCoverThePath) {
  const TRect clip{0, 0, 64, 48};
  const std::vector<TPoint> pts{{5, 40}, {50, 8}, {58, 30}};
  for (int width = 2; width <= 6; ++width) {
    const std::set<Pixel> open = WideOf(pts, false, width, clip);
    for (const TPoint& p : pts) EXPECT_TRUE(open.contains({p.Y, p.X})) << width;
    // Every row crossing the middle of the first segment has one run of a
    // length that follows the width, whichever way the segment is drawn.
    const std::set<Pixel> back = WideOf({{50, 8}, {5, 40}}, false, width, clip);
    for (int y = 18; y <= 30; ++y) {
      int n = 0, m = 0;
      for (int x = 0; x < 40; ++x) {
        n += open.contains({y, x});
        m += back.contains({y, x});
      }
      // The segment runs 45 across and 32 down: a band of the pen's
      // width is about width * 1.72 columns wide on a row, plus the
      // rounding of both sides to whole pixels.
      EXPECT_GE(n, width) << width << " row " << y;
      EXPECT_LE(n, width * 1.72 + 3) << width << " row " << y;
      EXPECT_EQ(n, m) << width << " row " << y;
    }
    // Closing adds the band back to the start, and nothing else goes away.
    const std::set<Pixel> closed = WideOf(pts, true, width, clip);
    EXPECT_TRUE(std::includes(closed.begin(), closed.end(), open.begin(), open.end()));
    EXPECT_TRUE(closed.contains({35, 30}) && !open.contains({35, 30})) << width;
  }
  // Spans stay in the clip; a clip far from the path gets nothing.
  EXPECT_TRUE(WideOf(pts, true, 5, {100, 100, 140, 140}).empty());
  const std::set<Pixel> part = WideOf(pts, false, 4, {20, 10, 30, 40});
  EXPECT_FALSE(part.empty());
}

// Collects spans as pixels; a pixel given twice is an error.
std::set<Pixel> SpanPixels(const std::function<void(const std::function<void(int, int, int)>&)>& rows) {
  std::set<Pixel> s;
  rows([&](int y, int x0, int x1) {
    for (int x = x0; x < x1; ++x) EXPECT_TRUE(s.insert({y, x}).second) << x << "," << y;
  });
  return s;
}

TEST(RasterPathsTest, PathRowsGiveThePixelsOfThePolygonScan) {
  // Walked pies and chords, and hostile paths with many crossings a row
  // (stars, zigzags) and points far outside the clip.
  std::vector<std::vector<TPoint>> paths;
  for (const TRect& box : {TRect{3, 4, 41, 30}, TRect{-10, 2, 30, 60}, TRect{5, 5, 7, 40}}) {
    for (const TPoint& end : {TPoint{0, 0}, TPoint{50, 10}, TPoint{20, -5}, TPoint{-5, 35}}) {
      std::vector<TPoint> p = raster::ArcPath(box, {60, 20}, end);
      paths.push_back(p);
      p.push_back({box.Left + box.Width() / 2, box.Top + box.Height() / 2});
      paths.push_back(p);
    }
  }
  std::uint32_t seed = 19;
  auto next = [&seed](int lo, int hi) {
    seed = seed * 1664525u + 1013904223u;
    return lo + static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(hi - lo + 1));
  };
  for (int k = 0; k < 60; ++k) {
    std::vector<TPoint> p(static_cast<std::size_t>(next(3, 24)));
    const int reach = k % 10 == 0 ? 100000 : 40;
    for (TPoint& q : p) q = {next(-reach / 4, reach), next(-reach / 4, reach)};
    paths.push_back(p);
  }
  const TRect clip{0, 0, 40, 36};
  for (const auto& path : paths) {
    const std::set<Pixel> ours = SpanPixels([&](const auto& span) { raster::PathRows(path, clip, span); });
    std::vector<raster::TPointF> f;
    for (const TPoint& q : path) f.push_back({double(q.X), double(q.Y)});
    const std::set<Pixel> scan = SpanPixels([&](const auto& span) { raster::ScanPolygon(std::span<const raster::TPointF>(f), true, clip, span); });
    EXPECT_EQ(ours, scan) << "path of " << path.size() << " points from " << path[0].X << "," << path[0].Y;
  }
}

}  // namespace
}  // namespace vorn
