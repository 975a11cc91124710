// Pixel-exact rasterization under the canvas: spans, lines, ellipses,
// polygons, coverage masks and block transfers on 32-bit surfaces. All
// coordinates here are device coordinates; every routine writes only
// inside the clip rectangle it is given (which lies within the surface).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <limits>
#include <span>
#include <vector>

#include "vorn/platform/graphics/graphics.h"
#include "vorn/platform/graphics/surface.h"

namespace vorn::raster {

// The result of a binary raster operation (pen mode) on 24-bit pixels.
TPixel Rop2(TPenMode mode, TPixel pen, TPixel dst);

// What a span is painted with: a colour, a mix mode and, for hatched
// brushes, the hatch pattern (hatch gaps are left as they are).
struct TInk {
  TPixel Color = 0;
  TPenMode Mode = pmCopy;
  TBrushStyle Pattern = bsSolid;
};

// True where a hatch pattern puts ink at device pixel (x, y): horizontal
// lines on rows y mod 8 = 3, vertical ones on columns x mod 8 = 4,
// diagonals where x mod 8 equals y mod 8 (or 7 - y mod 8).
bool HatchAt(TBrushStyle style, int x, int y);

// Columns x0..x1-1 of row y, clipped.
void FillSpan(const TSurface& s, const TRect& clip, int y, int x0, int x1, const TInk& ink);
void Plot(const TSurface& s, const TRect& clip, int x, int y, const TInk& ink);
void FillBox(const TSurface& s, const TRect& clip, const TRect& box, const TInk& ink);

// Calls f(x, y, i) for the pixels of a one-pixel line from (x0, y0) towards
// (x1, y1), i counting from 0 at the start point. The end point itself is
// left out. Where the line passes exactly between two pixels, lines that
// run more across than down take the upper pixel and steeper lines the
// left one, whichever way the line is drawn, so a line covers the same
// pixels in both directions. Pixels outside clip are skipped without
// walking the whole line, so far-away end points cost nothing.
template <typename F>
void WalkLine(int x0, int y0, int x1, int y1, const TRect& clip, F&& f);

// A bitmap of pixels over a rectangle, for shapes found pixel by pixel
// (flood fills, focus frames); keep its rectangle as small as the shape.
class TMask {
 public:
  explicit TMask(const TRect& bounds);
  [[nodiscard]] const TRect& Bounds() const { return bounds_; }
  void Set(int x, int y);
  void SetSpan(int y, int x0, int x1);  // x1 exclusive
  [[nodiscard]] bool Get(int x, int y) const;
  void Paint(const TSurface& s, const TRect& clip, const TInk& ink) const;

 private:
  TRect bounds_;
  std::vector<std::uint8_t> bits_;
};

// True when painting a pixel twice with ink gives what painting it once
// does (copy, black, white, mask, merge, ...), so overlaps do no harm.
bool RepeatSafe(TPenMode mode);

// Row spans of a shape painted with one ink. Where parts of a shape
// overlap (joins of wide lines, radii of a pie, an outline drawn in
// pieces) and the ink is not repeat-safe (xor, invert), the spans are
// collected and their union painted once by Paint; otherwise they are
// painted as they come. Spans are clipped to bounds, which must lie
// within the surface. Memory and time follow the spans, not the bounds.
class TSpanSet {
 public:
  TSpanSet(const TRect& bounds, const TSurface& surface, const TInk& ink)
      : bounds_(bounds.IsEmpty() ? TRect{} : bounds), surface_(surface), ink_(ink), direct_(RepeatSafe(ink.Mode)) {}
  [[nodiscard]] const TRect& Bounds() const { return bounds_; }
  void Set(int x, int y) { SetSpan(y, x, x + 1); }
  void SetSpan(int y, int x0, int x1);  // x1 exclusive
  // Paints what was collected; the set is sorted in the process.
  void Paint();

 private:
  struct Span {
    int y, x0, x1;
  };
  TRect bounds_;
  TSurface surface_;
  TInk ink_;
  bool direct_;
  std::vector<Span> spans_;
};

// The ellipse that fits a box: the rows between the pixels that the
// incremental ellipse walk through the corner pixels (Left, Top) and
// (Right - 1, Bottom - 1) visits (the integer error-term algorithm for an
// ellipse in a rectangle), the walk the classic interface uses. Boxes
// beyond kTracedSize, and grown shapes, take pixel centres inside the
// continuous ellipse from Left - 0.5 to Right - 0.5 and Top - 0.5 to
// Bottom - 0.5 instead (grow widens both half-axes, negative shrinks).
class TEllipseShape {
 public:
  TEllipseShape(const TRect& box, double grow = 0.0);
  // The columns of row y inside the ellipse; false when none.
  bool RowSpan(int y, int& x0, int& x1) const {
    if (y < top_ || y >= bottom_) return false;
    const auto k = static_cast<std::size_t>(y - cacheTop_) * 2;
    if (y >= cacheTop_ && k < cache_.size()) {
      x0 = cache_[k];
      x1 = cache_[k + 1];
      return x0 <= x1;
    }
    return Compute(y, x0, x1);
  }
  // Works out the rows y0..y1-1 (within the ellipse) once, for figures
  // that ask for them more than once.
  void Prepare(int y0, int y1);
  [[nodiscard]] int Top() const { return top_; }
  [[nodiscard]] int Bottom() const { return bottom_; }  // exclusive
  [[nodiscard]] double CenterX() const { return cx_; }
  [[nodiscard]] double CenterY() const { return cy_; }
  // The point where the ray from the centre at angle t (radians, counter-
  // clockwise, Y up) meets the ellipse, rounded to a pixel.
  [[nodiscard]] TPoint PointAt(double t) const;

 private:
  static constexpr int kTracedSize = 4096;
  bool Compute(int y, int& x0, int& x1) const;
  void Trace(const TRect& box);
  double cx_, cy_, a_, b_;
  int top_, bottom_;
  int cacheTop_ = 0;
  std::vector<int> cache_;  // pairs of columns, x0 > x1 for an empty row
};

// The directions of an arc: counter-clockwise from Start over Extent.
struct TSweep {
  bool Full = true;
  double Start = 0;   // radians, counter-clockwise from the X axis, Y up
  double Extent = 0;  // 0 < Extent <= 2 pi
  // Unit vectors of the start and end directions (Y up).
  double StartX = 1, StartY = 0, EndX = 1, EndY = 0;
  double StartRatio = 0, EndRatio = 0;  // x over y of those vectors
  [[nodiscard]] bool Contains(double cx, double cy, int x, int y) const;
  // The runs of columns x0..x1 (inclusive) of row y whose direction from
  // (cx, cy) lies in the sweep, as inclusive pairs into runs; returns how
  // many runs (0 to 2). Works per row, not per pixel.
  int RowRuns(double cx, double cy, int y, int x0, int x1, int runs[4]) const;
  static TSweep FromPoints(double cx, double cy, TPoint start, TPoint end);
};

// Narrows the columns lo..hi (inclusive) to those with a * x + b >= 0;
// false when none are left.
bool ClipToHalfPlane(double a, double b, int& lo, int& hi);
// Outline pixels of an ellipse with a pen of the given width, into mask:
// for a one-pixel pen the pixels of the filled ellipse that touch its
// outside, for wider pens a ring around it. With a sweep, only pixels whose
// direction from the centre lies in it. shape is the ellipse of box.
void EllipseOutline(TSpanSet& mask, const TEllipseShape& shape, const TRect& box, int width,
                    bool insideFrame, const TSweep& sweep);
// The ellipse of shape with a one-pixel outline of colour pen copied onto
// the surface and, when inside is given, its inside painted with that ink,
// in one pass over the rows within clip: every pixel is painted once, by
// the outline or by the inside, which is what painting the whole ellipse
// and then its outline over it gives when the outline is copied.
void PaintOutlinedEllipse(const TSurface& s, const TRect& clip, const TEllipseShape& shape, TPixel pen,
                          const TInk* inside);

// The outline path of the ellipse in a box of w x h pixels, as the
// incremental error-term walk gives it: its lower right quarter, box-
// relative, from the rightmost pixel of the (lower) middle row to the
// lowest pixel of the (right) middle column, one step at a time.
std::vector<TPoint> EllipseQuarter(int w, int h);
// The path of the arc of the ellipse of box from start's direction
// counter-clockwise to end's (device points, Y down): from the first
// outline pixel of the walk at or past the start direction to the last one
// before the end direction; when both reach the same pixel, the whole
// ellipse, or that pixel alone if the end direction lies less than half a
// turn counter-clockwise of the start. Directions, of the walk's pixels and
// of the given points alike, are taken from the centre pixel
// (Left + w/2, Top + h/2) and compared exactly; a start at the centre
// pixel means 0 degrees. Boxes wider or taller than kWalkLimit take a
// polygon of points on the ellipse instead, so that the path stays short.
constexpr int kWalkLimit = 8192;
std::vector<TPoint> ArcPath(const TRect& box, TPoint start, TPoint end);

// Row spans of a polygon (vertices in order, closed implicitly): pixel
// (x, y) is inside when its point lies inside, left and top edges
// included, right and bottom edges not. Even-odd rule unless winding.
struct TPointF {
  double X = 0;
  double Y = 0;
};
template <typename Span>
void ScanPolygon(std::span<const TPointF> pts, bool winding, const TRect& clip, Span&& span);

// Row spans (y, x0, x1 exclusive) of the polygon of a closed path of
// whole-pixel points, nonzero rule: the pixels ScanPolygon gives that
// polygon. Made for walked outlines closed by straight sides (pies and
// chords): every edge adds its crossings of the rows it spans to those
// rows, so a one-pixel step costs one crossing and no edge is sorted; only
// the few crossings of a row are.
void PathRows(std::span<const TPoint> path, const TRect& clip, const std::function<void(int, int, int)>& span);

// The rows of a round rectangle region filling box, corners of the
// ellipse ew x eh (clamped to the box; under 2 a plain rectangle), as row
// spans (y, x0, x1 exclusive): the inside of round rectangles, and of
// ellipses when the corners are the whole box.
void RoundRectRows(const TRect& box, int ew, int eh, const std::function<void(int, int, int)>& span);
// The closed outline path of a round rectangle: the walk of its corner
// ellipse (ew x eh, at most the box) with each quarter moved to its
// corner, counter-clockwise from the right end of the upper right corner's
// lowest row; the sides are the steps between the quarters. With corners
// the size of the box it is the ellipse of the box.
std::vector<TPoint> RoundRectPath(const TRect& box, int ew, int eh);

// The dot of a wide pen around the origin: the ellipse region of a box of
// width x width pixels from (-width/2, -width/2), as row spans (y, x0, x1
// exclusive). Width 2 is a 2x2 square above and left, width 3 a plus.
void PenDot(int width, const std::function<void(int, int, int)>& span);
// The pixels a wide pen covers along a path, as row spans within clip
// (they overlap): the pen's dot at every point (round joins and ends) and
// for every segment a band of the pen's width - for level and upright
// segments the rows or columns from the start up to the end, the extra
// pixel of an even width above or left; for slanted ones the polygon of
// the segment moved sideways by half widths rounded to whole pixels.
void WidePath(std::span<const TPoint> pts, bool closed, int width, const TRect& clip,
              const std::function<void(int, int, int)>& span);

// Block transfer with a ternary raster operation (the pattern is a solid
// colour). Destination and source are device rectangles; a negative
// width or height on either side mirrors. Sizes that differ stretch:
// halftone averages the source area under each destination pixel, any
// other mode takes the nearest source pixel.
struct TBlit {
  const TSurface* Dest = nullptr;
  TRect DestClip;
  int DX = 0, DY = 0, DW = 0, DH = 0;
  const TSurface* Source = nullptr;
  int SX = 0, SY = 0, SW = 0, SH = 0;
  std::uint32_t Rop = 0x00CC0020;
  bool Halftone = false;
  TPixel Pattern = 0;
  // When set, source pixels of this value are left out (transparent draw).
  bool UseKey = false;
  TPixel Key = 0;
};
void StretchBlit(const TBlit& blit);

// The value of a ternary raster operation on three 24-bit pixels.
TPixel Rop3(std::uint32_t rop, TPixel pattern, TPixel source, TPixel dest);

// ---- templates ---------------------------------------------------------------

__extension__ using Wide = __int128;

template <typename F>
void WalkLine(int x0, int y0, int x1, int y1, const TRect& clip, F&& f) {
  const std::int64_t dx = std::int64_t{x1} - x0;
  const std::int64_t dy = std::int64_t{y1} - y0;
  const std::int64_t adx = dx < 0 ? -dx : dx;
  const std::int64_t ady = dy < 0 ? -dy : dy;
  const int sx = dx < 0 ? -1 : 1;
  const int sy = dy < 0 ? -1 : 1;
  const bool xMajor = adx >= ady;
  const std::int64_t n = xMajor ? adx : ady;  // pixels, end point excluded
  const std::int64_t major = n, minor = xMajor ? ady : adx;
  if (n == 0) return;
  // Steps along the major axis that keep the major coordinate in the clip.
  const int m0 = xMajor ? x0 : y0;
  const int sm = xMajor ? sx : sy;
  const int lo = xMajor ? clip.Left : clip.Top;
  const int hi = xMajor ? clip.Right - 1 : clip.Bottom - 1;
  std::int64_t iFirst = 0, iLast = n - 1;
  if (sm > 0) {
    iFirst = std::max<std::int64_t>(iFirst, std::int64_t{lo} - m0);
    iLast = std::min<std::int64_t>(iLast, std::int64_t{hi} - m0);
  } else {
    iFirst = std::max<std::int64_t>(iFirst, std::int64_t{m0} - hi);
    iLast = std::min<std::int64_t>(iLast, std::int64_t{m0} - lo);
  }
  const int smin = xMajor ? sy : sx;
  const int n0 = xMajor ? y0 : x0;
  const int minLo = xMajor ? clip.Top : clip.Left;
  const int minHi = xMajor ? clip.Bottom - 1 : clip.Right - 1;
  if (iFirst > iLast) return;
  // Minor offset of step i: i * minor / major rounded, ties toward the
  // smaller coordinate (down in size when the minor axis grows, up when it
  // shrinks); kept as a quotient and remainder of 2 * i * minor + bias by
  // 2 * major and advanced by one addition per pixel.
  const std::int64_t den = 2 * major;
  const std::int64_t bias = smin > 0 ? major - 1 : major;
  // A walk from its start point (the usual case) needs no wide division.
  std::int64_t off = 0, rem = bias;
  if (iFirst != 0) {
    const Wide first = 2 * static_cast<Wide>(iFirst) * minor + bias;
    off = static_cast<std::int64_t>(first / den);
    rem = static_cast<std::int64_t>(first % den);
  }
  std::int64_t mm = m0 + sm * iFirst;
  for (std::int64_t i = iFirst; i <= iLast; ++i, mm += sm) {
    const std::int64_t nn = n0 + smin * off;
    if (nn >= minLo && nn <= minHi) {
      if (xMajor) {
        f(static_cast<int>(mm), static_cast<int>(nn), i);
      } else {
        f(static_cast<int>(nn), static_cast<int>(mm), i);
      }
    }
    rem += 2 * minor;
    if (rem >= den) {
      rem -= den;
      ++off;
    }
  }
}

// The polygon's outline cut into chains: runs of edges that all go down
// or all go up, each kept in order from its top row to its bottom one
// (level edges are left out; they cross no row). Every row meets a chain
// at most once, so a row's crossings are one per chain that spans it, and
// a chain's walker only steps forward as the rows go down. A convex or
// otherwise y-monotone polygon has two chains: two walkers and no sorting.
struct TScanEdge {
  TPointF top, bot;
  double slope;  // columns per row
};
struct TScanChain {
  std::size_t first, last;  // its edges, top to bottom: [first, last)
  int dir;                  // +1 down, -1 up in the order of the vertices
};
// False when the outline crosses no row. exact: every vertex lies on
// whole coordinates within kExactScan of the origin.
bool ScanChains(std::span<const TPointF> pts, std::vector<TScanEdge>& edges, std::vector<TScanChain>& chains,
                bool& exact);
// Within this range a crossing's column worked out in floating point
// (with the exact quotient near whole columns) rounds up to the column of
// the exact fraction, so whole-number outlines are walked in integers.
constexpr double kExactScan = 1 << 20;

// A chain's walk down the rows: the edge it is on and, for whole-number
// outlines, the crossing kept as a fraction in integers.
struct TScanWalker {
  std::size_t edge = 0, last = 0;  // the chain's edges still ahead: [edge, last)
  int dir = 0;
  int rowsLeft = -1;  // rows of the edge after the current one; -1: not on an edge yet
  // The crossing lies (q + r / dy) columns right of x0, 0 <= r < dy; each
  // row adds dq + dr / dy.
  std::int64_t x0 = 0, q = 0, r = 0, dq = 0, dr = 0, dy = 0;
};

// Where a chain crosses a row: the first column at or right of the
// crossing, limited to the clip's columns. Only that column decides which
// pixels are inside, whatever the order among crossings that share it.
struct TScanCrossing {
  int at;
  int dir;
};

// The runs of row y between its n crossings xs (sorted here by column):
// from a crossing that enters the inside up to the one that leaves it, by
// the nonzero rule when winding, else the alternate one.
template <typename Span>
void CrossingRuns(int y, TScanCrossing* xs, std::size_t n, bool winding, Span&& span) {
  // A row has a handful of crossings: insertion sort, unless it has many.
  if (n <= 32) {
    for (std::size_t j = 1; j < n; ++j) {
      const TScanCrossing c = xs[j];
      std::size_t i = j;
      for (; i > 0 && xs[i - 1].at > c.at; --i) xs[i] = xs[i - 1];
      xs[i] = c;
    }
  } else {
    std::sort(xs, xs + n, [](const TScanCrossing& a, const TScanCrossing& b) { return a.at < b.at; });
  }
  auto inside = [winding](int count) { return winding ? count != 0 : (count & 1) != 0; };
  int count = 0;
  int runStart = 0;
  for (std::size_t k = 0; k < n; ++k) {
    const bool before = inside(count);
    count += winding ? xs[k].dir : 1;
    const bool after = inside(count);
    if (!before && after) {
      runStart = xs[k].at;
    } else if (before && !after && runStart < xs[k].at) {
      span(y, runStart, xs[k].at);
    }
  }
}

// The crossing of edge e with row y: the first column at or right of it.
inline double ScanCrossing(const TScanEdge& e, int y) {
  double x = e.top.X + (y - e.top.Y) * e.slope;
  // Near a whole column the exact quotient decides which side it is.
  const double frac = x - static_cast<double>(static_cast<std::int64_t>(x));  // in (-1, 1)
  if (std::abs(frac) < 1e-6 || std::abs(frac) > 1 - 1e-6) {
    x = e.top.X + (y - e.top.Y) * (e.bot.X - e.top.X) / (e.bot.Y - e.top.Y);
  }
  return std::ceil(x);
}

// ScanStep's answer for a chain that ended above the row.
constexpr int kScanEnded = std::numeric_limits<int>::min();

// Moves w to row y and gives its crossing's column, or kScanEnded.
inline int ScanStep(TScanWalker& w, const std::vector<TScanEdge>& edges, bool exact, int y, const TRect& clip) {
  if (exact && w.rowsLeft > 0) {
    // The next row of the same edge.
    --w.rowsLeft;
    w.q += w.dq;
    w.r += w.dr;
    if (w.r >= w.dy) {
      w.r -= w.dy;
      ++w.q;
    }
  } else {
    while (w.edge < w.last && y >= edges[w.edge].bot.Y) ++w.edge;
    if (w.edge == w.last) return kScanEnded;
    const TScanEdge& e = edges[w.edge];
    if (!exact) {
      const double c = ScanCrossing(e, y);
      return c >= clip.Right ? clip.Right : c > clip.Left ? static_cast<int>(c) : clip.Left;
    }
    const auto top = static_cast<std::int64_t>(e.top.Y), bot = static_cast<std::int64_t>(e.bot.Y);
    const auto dx = static_cast<std::int64_t>(e.bot.X) - static_cast<std::int64_t>(e.top.X);
    const auto floorDiv = [](std::int64_t a, std::int64_t b) { return a / b - (a % b < 0 ? 1 : 0); };
    w.x0 = static_cast<std::int64_t>(e.top.X);
    w.dy = bot - top;
    w.dq = floorDiv(dx, w.dy);
    w.dr = dx - w.dq * w.dy;
    w.q = floorDiv((y - top) * dx, w.dy);
    w.r = (y - top) * dx - w.q * w.dy;
    w.rowsLeft = static_cast<int>(bot - y - 1);
  }
  const std::int64_t column = w.x0 + w.q + (w.r > 0 ? 1 : 0);
  return static_cast<int>(std::clamp<std::int64_t>(column, clip.Left, clip.Right));
}

template <typename Span>
void ScanPolygon(std::span<const TPointF> pts, bool winding, const TRect& clip, Span&& span) {
  if (pts.size() < 3 || clip.IsEmpty()) return;
  std::vector<TScanEdge> edges;
  std::vector<TScanChain> chains;
  bool exact = false;
  if (!ScanChains(pts, edges, chains, exact)) return;
  double minY = pts[0].Y, maxY = pts[0].Y;
  for (const auto& p : pts) {
    minY = std::min(minY, p.Y);
    maxY = std::max(maxY, p.Y);
  }
  const int yStart = static_cast<int>(std::clamp(std::ceil(minY), double(clip.Top), double(clip.Bottom)));
  const int yEnd = static_cast<int>(std::clamp(std::ceil(maxY), double(clip.Top), double(clip.Bottom)));
  // Chains by their first row; a row looks only at the chains that cross it.
  std::sort(chains.begin(), chains.end(),
            [&](const TScanChain& a, const TScanChain& b) { return edges[a.first].top.Y < edges[b.first].top.Y; });
  // The walkers of the chains that reached the row, and their crossings.
  std::vector<TScanWalker> walkers(chains.size());
  std::vector<TScanCrossing> crossings(chains.size());
  TScanWalker* active = walkers.data();
  TScanCrossing* xs = crossings.data();
  std::size_t nActive = 0, next = 0;
  // The first row at or below Y (Y within yStart..yEnd or beyond).
  const auto rowOf = [&](double Y) { return static_cast<int>(std::clamp(std::ceil(Y), double(yStart), double(yEnd))); };
  for (int y = yStart; y < yEnd;) {
    for (; next < chains.size() && edges[chains[next].first].top.Y <= y; ++next) {
      TScanWalker& w = active[nActive++];
      w = TScanWalker{};
      w.edge = chains[next].first;
      w.last = chains[next].last;
      w.dir = chains[next].dir;
    }
    if (nActive == 2) {
      // Two chains, one entering and one leaving the inside (the
      // crossings of a row sum to no turn), up to the row where another
      // chain begins or one of them ends: a walker each, kept at hand.
      int until = next < chains.size() ? rowOf(edges[chains[next].first].top.Y) : yEnd;
      for (std::size_t k = 0; k < 2; ++k) until = std::min(until, rowOf(edges[active[k].last - 1].bot.Y));
      TScanWalker a = active[0], b = active[1];
      for (; y < until; ++y) {
        const int xa = ScanStep(a, edges, exact, y, clip), xb = ScanStep(b, edges, exact, y, clip);
        if (xa != xb) span(y, std::min(xa, xb), std::max(xa, xb));
      }
      active[0] = a;
      active[1] = b;
      if (until == y && y < yEnd) {
        // Drop a chain that ended.
        std::size_t kept = 0;
        for (std::size_t k = 0; k < 2; ++k) {
          if (rowOf(edges[active[k].last - 1].bot.Y) > y) active[kept++] = active[k];
        }
        nActive = kept;
      }
      continue;
    }
    std::size_t kept = 0;  // walkers of chains that ended above this row are dropped
    for (std::size_t k = 0; k < nActive; ++k) {
      const int at = ScanStep(active[k], edges, exact, y, clip);
      if (at == kScanEnded) continue;
      if (kept != k) active[kept] = active[k];
      xs[kept++] = {at, active[k].dir};
    }
    nActive = kept;
    CrossingRuns(y, xs, kept, winding, span);
    ++y;
  }
}

}  // namespace vorn::raster
