#include "vorn/platform/graphics/raster.h"

#include <algorithm>
#include <array>
#include <functional>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <numbers>

namespace vorn::raster {

namespace {

constexpr TPixel kRgbMask = 0x00FFFFFFu;

// Pen modes in the order of TPenMode, as the truth table of the classic
// binary raster operation codes 1..16: bit (2 * pen + dest) of (code - 1).
constexpr int kRop2Code[16] = {1, 16, 11, 6, 13, 4, 14, 5, 12, 3, 15, 2, 9, 8, 7, 10};

TPixel EvalRop2(int code, TPixel p, TPixel d) {
  const int table = code - 1;
  TPixel r = 0;
  if (table & 1) r |= ~p & ~d;
  if (table & 2) r |= ~p & d;
  if (table & 4) r |= p & ~d;
  if (table & 8) r |= p & d;
  return r & kRgbMask;
}

// Solid runs are the hot path of every fill: the C library's wide-character
// fill is vectorised and runs at memset speed (wchar_t is 32 bits here).
static_assert(sizeof(wchar_t) == sizeof(TPixel), "wide characters must be pixel-sized");
void FillPixels(TPixel* p, std::size_t n, TPixel value) {
  if (n <= 8) {
    // Short runs (outlines) are not worth a library call.
    for (std::size_t i = 0; i < n; ++i) p[i] = value;
    return;
  }
#if defined(__x86_64__)
  // Large runs: the processor's fast string store, which is what memset
  // itself uses for big blocks.
  if (n >= 1024) {
    asm volatile("rep stosl" : "+D"(p), "+c"(n) : "a"(value) : "memory");
    return;
  }
#endif
  std::wmemset(reinterpret_cast<wchar_t*>(p), static_cast<wchar_t>(value), n);
}

// Rounding of values well inside the int range, without a library call.
inline int FloorInt(double v) {
  const int t = static_cast<int>(v);
  return t > v ? t - 1 : t;
}
inline int CeilInt(double v) {
  const int t = static_cast<int>(v);
  return t < v ? t + 1 : t;
}

bool Clipped(const TRect& clip, int x, int y) {
  return x < clip.Left || x >= clip.Right || y < clip.Top || y >= clip.Bottom;
}

}  // namespace

TPixel Rop2(TPenMode mode, TPixel pen, TPixel dst) {
  switch (mode) {
    case pmCopy:
      return pen;
    case pmNot:
      return ~dst & kRgbMask;
    case pmXor:
      return (pen ^ dst) & kRgbMask;
    case pmNop:
      return dst;
    default:
      return EvalRop2(kRop2Code[mode], pen, dst);
  }
}

bool HatchAt(TBrushStyle style, int x, int y) {
  const int hx = x & 7, hy = y & 7;
  switch (style) {
    case bsHorizontal:
      return hy == 3;
    case bsVertical:
      return hx == 4;
    case bsFDiagonal:
      return hx == hy;
    case bsBDiagonal:
      return hx == 7 - hy;
    case bsCross:
      return hx == 4 || hy == 3;
    case bsDiagCross:
      return hx == hy || hx == 7 - hy;
    default:
      return true;
  }
}

void FillSpan(const TSurface& s, const TRect& clip, int y, int x0, int x1, const TInk& ink) {
  if (y < clip.Top || y >= clip.Bottom) return;
  x0 = std::max(x0, clip.Left);
  x1 = std::min(x1, clip.Right);
  if (x0 >= x1) return;
  TPixel* row = s.Row(y);
  const bool solid = ink.Pattern == bsSolid || ink.Pattern == bsClear;
  if (solid && ink.Mode == pmCopy) {
    FillPixels(row + x0, static_cast<std::size_t>(x1 - x0), ink.Color);
    return;
  }
  if (ink.Mode == pmNop) return;
  for (int x = x0; x < x1; ++x) {
    if (!solid && !HatchAt(ink.Pattern, x, y)) continue;
    row[x] = Rop2(ink.Mode, ink.Color, row[x] & kRgbMask);
  }
}

void Plot(const TSurface& s, const TRect& clip, int x, int y, const TInk& ink) {
  if (Clipped(clip, x, y)) return;
  if (ink.Pattern != bsSolid && ink.Pattern != bsClear && !HatchAt(ink.Pattern, x, y)) return;
  TPixel& p = s.Row(y)[x];
  p = Rop2(ink.Mode, ink.Color, p & kRgbMask);
}

void FillBox(const TSurface& s, const TRect& clip, const TRect& box, const TInk& ink) {
  const TRect r = IntersectRect(box, clip);
  if (r.IsEmpty()) return;
  const bool solidCopy = (ink.Pattern == bsSolid || ink.Pattern == bsClear) && ink.Mode == pmCopy;
  if (solidCopy && r.Left == 0 && r.Right == s.Width && s.Stride == s.Width) {
    // Whole rows of a packed surface are one run of memory.
    FillPixels(s.Row(r.Top), static_cast<std::size_t>(r.Height()) * static_cast<std::size_t>(s.Width), ink.Color);
    return;
  }
  for (int y = r.Top; y < r.Bottom; ++y) FillSpan(s, clip, y, r.Left, r.Right, ink);
}

// ---- TMask -------------------------------------------------------------------

TMask::TMask(const TRect& bounds) : bounds_(bounds) {
  if (bounds_.IsEmpty()) {
    bounds_ = {};
    return;
  }
  bits_.assign(static_cast<std::size_t>(bounds_.Width()) * static_cast<std::size_t>(bounds_.Height()), 0);
}

void TMask::Set(int x, int y) {
  if (!bounds_.Contains({x, y})) return;
  bits_[static_cast<std::size_t>(y - bounds_.Top) * static_cast<std::size_t>(bounds_.Width()) +
        static_cast<std::size_t>(x - bounds_.Left)] = 1;
}

void TMask::SetSpan(int y, int x0, int x1) {
  if (y < bounds_.Top || y >= bounds_.Bottom) return;
  x0 = std::max(x0, bounds_.Left);
  x1 = std::min(x1, bounds_.Right);
  if (x0 >= x1) return;
  auto* row = bits_.data() + static_cast<std::size_t>(y - bounds_.Top) * static_cast<std::size_t>(bounds_.Width());
  std::memset(row + (x0 - bounds_.Left), 1, static_cast<std::size_t>(x1 - x0));
}

bool TMask::Get(int x, int y) const {
  if (!bounds_.Contains({x, y})) return false;
  return bits_[static_cast<std::size_t>(y - bounds_.Top) * static_cast<std::size_t>(bounds_.Width()) +
               static_cast<std::size_t>(x - bounds_.Left)] != 0;
}

void TMask::Paint(const TSurface& s, const TRect& clip, const TInk& ink) const {
  const TRect r = IntersectRect(bounds_, clip);
  const int w = bounds_.Width();
  for (int y = r.Top; y < r.Bottom; ++y) {
    const auto* row = bits_.data() + static_cast<std::size_t>(y - bounds_.Top) * static_cast<std::size_t>(w);
    int x = r.Left;
    while (x < r.Right) {
      while (x < r.Right && row[x - bounds_.Left] == 0) ++x;
      const int start = x;
      while (x < r.Right && row[x - bounds_.Left] != 0) ++x;
      if (start < x) FillSpan(s, clip, y, start, x, ink);
    }
  }
}

// ---- TSpanSet -------------------------------------------------------------------

void TSpanSet::SetSpan(int y, int x0, int x1) {
  if (y < bounds_.Top || y >= bounds_.Bottom) return;
  x0 = std::max(x0, bounds_.Left);
  x1 = std::min(x1, bounds_.Right);
  if (x0 >= x1) return;
  if (direct_) {
    FillSpan(surface_, bounds_, y, x0, x1, ink_);
    return;
  }
  // Pixels added one by one along a row join the last span directly.
  if (!spans_.empty()) {
    Span& last = spans_.back();
    if (last.y == y && x0 <= last.x1 && x1 >= last.x0) {
      last.x0 = std::min(last.x0, x0);
      last.x1 = std::max(last.x1, x1);
      return;
    }
  }
  spans_.push_back({y, x0, x1});
}

bool RepeatSafe(TPenMode mode) {
  for (const TPixel p : {TPixel{0}, kRgbMask}) {
    for (const TPixel d : {TPixel{0}, kRgbMask}) {
      const TPixel once = Rop2(mode, p, d);
      if (Rop2(mode, p, once) != once) return false;
    }
  }
  return true;
}

void TSpanSet::Paint() {
  // Spans mostly arrive in order: sort the rest and merge it in.
  auto before = [](const Span& a, const Span& b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; };
  const auto tail = std::is_sorted_until(spans_.begin(), spans_.end(), before);
  if (tail != spans_.end()) {
    std::sort(tail, spans_.end(), before);
    std::inplace_merge(spans_.begin(), tail, spans_.end(), before);
  }
  std::size_t i = 0;
  while (i < spans_.size()) {
    const int y = spans_[i].y;
    int x0 = spans_[i].x0, x1 = spans_[i].x1;
    ++i;
    while (i < spans_.size() && spans_[i].y == y && spans_[i].x0 <= x1) {
      x1 = std::max(x1, spans_[i].x1);
      ++i;
    }
    FillSpan(surface_, bounds_, y, x0, x1, ink_);
  }
  spans_.clear();
}

// ---- ellipses ------------------------------------------------------------------

TEllipseShape::TEllipseShape(const TRect& box, double grow)
    : cx_((box.Left + box.Right - 1) / 2.0),
      cy_((box.Top + box.Bottom - 1) / 2.0),
      a_(std::abs(box.Right - box.Left) / 2.0 + grow),
      b_(std::abs(box.Bottom - box.Top) / 2.0 + grow) {
  if (a_ <= 0 || b_ <= 0) {
    top_ = bottom_ = 0;
    return;
  }
  top_ = static_cast<int>(std::ceil(cy_ - b_));
  bottom_ = static_cast<int>(std::floor(cy_ + b_)) + 1;
  if (grow == 0 && box.Width() <= kTracedSize && box.Height() <= kTracedSize) Trace(box);
}

void TEllipseShape::Trace(const TRect& box) {
  std::int64_t x0 = box.Left, x1 = box.Right - 1, y0 = box.Top, y1 = box.Bottom - 1;
  const std::int64_t a = x1 - x0, b = y1 - y0, odd = b & 1;
  std::int64_t dx = 4 * (1 - a) * b * b, dy = 4 * (odd + 1) * a * a;
  std::int64_t err = dx + dy + odd * a * a;
  y0 += (b + 1) / 2;
  y1 = y0 - odd;
  const std::int64_t stepY = 8 * a * a, stepX = 8 * b * b;
  top_ = box.Top;
  bottom_ = box.Bottom;
  cacheTop_ = box.Top;
  cache_.assign(static_cast<std::size_t>(box.Height()) * 2, 0);
  for (std::size_t k = 0; k < cache_.size(); k += 2) cache_[k] = 1;  // empty rows
  auto mark = [&](std::int64_t y, std::int64_t l, std::int64_t r) {
    if (y < box.Top || y >= box.Bottom) return;
    const auto k = static_cast<std::size_t>(y - box.Top) * 2;
    if (cache_[k] > cache_[k + 1]) {
      cache_[k] = static_cast<int>(l);
      cache_[k + 1] = static_cast<int>(r);
    } else {
      cache_[k] = std::min(cache_[k], static_cast<int>(l));
      cache_[k + 1] = std::max(cache_[k + 1], static_cast<int>(r));
    }
  };
  do {
    mark(y0, x0, x1);
    mark(y1, x0, x1);
    const std::int64_t e2 = 2 * err;
    if (e2 <= dy) {
      ++y0;
      --y1;
      dy += stepY;
      err += dy;
    }
    if (e2 >= dx || 2 * err > dy) {
      ++x0;
      --x1;
      dx += stepX;
      err += dx;
    }
  } while (x0 <= x1);
  // Ellipses much taller than wide stop early: finish their tips. One two
  // pixels wide is both its columns from the top row of the box to the
  // bottom one.
  const std::int64_t tips = a == 1 ? b + 1 : b;
  while (y0 - y1 < tips) {
    mark(y0++, x0 - 1, x1 + 1);
    mark(y1--, x0 - 1, x1 + 1);
  }
}

void TEllipseShape::Prepare(int y0, int y1) {
  if (!cache_.empty() && cacheTop_ == top_ && cache_.size() == static_cast<std::size_t>(bottom_ - top_) * 2) return;
  y0 = std::max(y0, top_);
  y1 = std::min(y1, bottom_);
  cache_.clear();
  cacheTop_ = y0;
  for (int y = y0; y < y1; ++y) {
    int l = 1, r = 0;
    if (!Compute(y, l, r)) {
      l = 1;
      r = 0;
    }
    cache_.push_back(l);
    cache_.push_back(r);
  }
}

bool TEllipseShape::Compute(int y, int& x0, int& x1) const {
  const double dy = (y - cy_) / b_;
  const double rest = 1.0 - dy * dy;
  if (rest < -1e-12) return false;
  const double half = a_ * std::sqrt(std::max(0.0, rest));
  // A small tolerance keeps symmetric boxes symmetric in floating point.
  // The columns are clamped to the coordinate range, which keeps the
  // rounding in int.
  constexpr double kLimit = 1 << 30;
  x0 = CeilInt(std::max(cx_ - half - 1e-9, -kLimit));
  x1 = FloorInt(std::min(cx_ + half + 1e-9, kLimit));
  return x0 <= x1;
}

TPoint TEllipseShape::PointAt(double t) const {
  const double c = std::cos(t), s = std::sin(t);
  const double denom = std::sqrt((c / a_) * (c / a_) + (s / b_) * (s / b_));
  const double r = denom > 0 ? 1.0 / denom : 0.0;
  return {static_cast<int>(std::lround(cx_ + r * c)), static_cast<int>(std::lround(cy_ - r * s))};
}

bool TSweep::Contains(double cx, double cy, int x, int y) const {
  if (Full) return true;
  int runs[4];
  return RowRuns(cx, cy, y, x, x, runs) > 0;
}

bool ClipToHalfPlane(double a, double b, int& lo, int& hi) {
  constexpr double kTol = 1e-9;
  if (std::abs(a) < 1e-12) {
    if (b < -kTol) hi = lo - 1;
  } else {
    const double edge = -b / a;
    if (a > 0) {
      if (edge > hi) {
        hi = lo - 1;
      } else {
        lo = std::max(lo, CeilInt(std::max(edge - kTol, lo - 1.0)));
      }
    } else {
      if (edge < lo) {
        hi = lo - 1;
      } else {
        hi = std::min(hi, FloorInt(std::min(edge + kTol, hi + 1.0)));
      }
    }
  }
  return lo <= hi;
}

int TSweep::RowRuns(double cx, double cy, int y, int x0, int x1, int runs[4]) const {
  if (x0 > x1) return 0;
  if (Full) {
    runs[0] = x0;
    runs[1] = x1;
    return 1;
  }
  // With p = (x - cx, cy - y): p lies counter-clockwise of direction d
  // when cross(d, p) = d.x * p.y - d.y * p.x >= 0, a condition linear in
  // x on a row: its edge is x = cx + p.y * d.x / d.y.
  const double py = cy - y;
  constexpr double kTol = 1e-9;
  // Keeps the columns lo..hi where side * cross(d, p) >= 0 (> 0 if strict).
  auto keep = [&](double dx, double dy, double ratio, double side, bool strict, int& lo, int& hi) {
    if (std::abs(dy) < 1e-12) {
      const double v = side * dx * py;
      if (strict ? v <= kTol : v < -kTol) hi = lo - 1;
      return lo <= hi;
    }
    const double edge = cx + py * ratio;
    if (-side * dy > 0) {
      const double from = strict ? edge + kTol : edge - kTol;
      if (from > hi) hi = lo - 1;
      else if (from > lo) lo = strict ? FloorInt(from) + 1 : CeilInt(from);
    } else {
      const double to = strict ? edge - kTol : edge + kTol;
      if (to < lo) hi = lo - 1;
      else if (to < hi) hi = strict ? CeilInt(to) - 1 : FloorInt(to);
    }
    return lo <= hi;
  };
  int lo = x0, hi = x1;
  if (Extent <= std::numbers::pi) {
    // Counter-clockwise of the start direction and clockwise of the end.
    if (!keep(StartX, StartY, StartRatio, 1, false, lo, hi) || !keep(EndX, EndY, EndRatio, -1, false, lo, hi)) {
      return 0;
    }
    runs[0] = lo;
    runs[1] = hi;
    return 1;
  }
  // A reflex sweep: everything but the open wedge from the end direction
  // round to the start direction.
  if (!keep(EndX, EndY, EndRatio, 1, true, lo, hi) || !keep(StartX, StartY, StartRatio, -1, true, lo, hi)) {
    runs[0] = x0;
    runs[1] = x1;
    return 1;
  }
  int n = 0;
  if (lo > x0) {
    runs[n++] = x0;
    runs[n++] = lo - 1;
  }
  if (hi < x1) {
    runs[n++] = hi + 1;
    runs[n++] = x1;
  }
  return n / 2;
}

TSweep TSweep::FromPoints(double cx, double cy, TPoint start, TPoint end) {
  constexpr double kTwoPi = 2 * std::numbers::pi;
  TSweep sweep;
  sweep.Full = false;
  sweep.Start = std::atan2(cy - start.Y, start.X - cx);
  const double stop = std::atan2(cy - end.Y, end.X - cx);
  double extent = std::fmod(stop - sweep.Start, kTwoPi);
  if (extent <= 0) extent += kTwoPi;
  sweep.Extent = extent;
  sweep.StartX = std::cos(sweep.Start);
  sweep.StartY = std::sin(sweep.Start);
  sweep.EndX = std::cos(sweep.Start + extent);
  sweep.EndY = std::sin(sweep.Start + extent);
  sweep.StartRatio = sweep.StartY != 0 ? sweep.StartX / sweep.StartY : 0;
  sweep.EndRatio = sweep.EndY != 0 ? sweep.EndX / sweep.EndY : 0;
  return sweep;
}

namespace {

// Columns l..r of row y without il..ir (the inside of a ring), limited to
// the directions of the sweep, into mask.
void AddRingRow(TSpanSet& mask, const TSweep& sweep, double cx, double cy, int y, int l, int r, int il,
                int ir) {
  l = std::max(l, mask.Bounds().Left);
  r = std::min(r, mask.Bounds().Right - 1);
  int runs[4];
  const int n = sweep.RowRuns(cx, cy, y, l, r, runs);
  for (int k = 0; k < n; ++k) {
    const int a = runs[2 * k], b = runs[2 * k + 1];
    if (il > ir) {
      mask.SetSpan(y, a, b + 1);
      continue;
    }
    mask.SetSpan(y, a, std::min(b, il - 1) + 1);
    mask.SetSpan(y, std::max(a, ir + 1), b + 1);
  }
}

// Calls f(y, l, r, il, ir) for the rows y0..y1-1 of the ellipse: columns
// l..r are the row's pixels, il..ir those not on its one-pixel outline
// (il > ir when the whole row is outline). The outline is the pixels of
// the filled ellipse that touch its outside (4-neighbours).
template <typename F>
void ForEachOutlineRow(const TEllipseShape& e, int y0, int y1, F&& f) {
  struct Row {
    bool in;
    int l, r;
  };
  auto rowAt = [&e](int y) {
    Row row{};
    row.in = e.RowSpan(y, row.l, row.r);
    return row;
  };
  y0 = std::max(y0, e.Top());
  y1 = std::min(y1, e.Bottom());
  Row up{}, cur = rowAt(y0 - 1), dn = rowAt(y0);
  for (int y = y0; y < y1; ++y) {
    up = cur;
    cur = dn;
    dn = rowAt(y + 1);
    if (!cur.in) continue;
    int il = 1, ir = 0;
    if (up.in && dn.in) {
      il = std::max({cur.l + 1, up.l, dn.l});
      ir = std::min({cur.r - 1, up.r, dn.r});
    }
    f(y, cur.l, cur.r, il, ir);
  }
}

}  // namespace

void EllipseOutline(TSpanSet& mask, const TEllipseShape& shape, const TRect& box, int width,
                    bool insideFrame, const TSweep& sweep) {
  if (width <= 1) {
    const TRect& m = mask.Bounds();
    ForEachOutlineRow(shape, m.Top, m.Bottom, [&](int y, int l, int r, int il, int ir) {
      AddRingRow(mask, sweep, shape.CenterX(), shape.CenterY(), y, l, r, il, ir);
    });
    return;
  }
  // A ring of the pen's width centred on the outline, or inside the box.
  const int lo = (width - 1) / 2;
  const double outerGrow = insideFrame ? 0.0 : lo;
  const TEllipseShape outer(box, outerGrow);
  const TEllipseShape inner(box, outerGrow - width);
  const TRect& m = mask.Bounds();
  for (int y = std::max(outer.Top(), m.Top); y < std::min(outer.Bottom(), m.Bottom); ++y) {
    int l = 0, r = 0;
    if (!outer.RowSpan(y, l, r)) continue;
    int il = 1, ir = 0;
    if (!inner.RowSpan(y, il, ir)) {
      il = 1;
      ir = 0;
    }
    AddRingRow(mask, sweep, outer.CenterX(), outer.CenterY(), y, l, r, il, ir);
  }
}

void PaintOutlinedEllipse(const TSurface& s, const TRect& clip, const TEllipseShape& shape, TPixel pen,
                          const TInk* inside) {
  ForEachOutlineRow(shape, clip.Top, clip.Bottom, [&](int y, int l, int r, int il, int ir) {
    TPixel* row = s.Row(y);
    auto outline = [&](int x0, int x1) {  // x1 exclusive
      x0 = std::max(x0, clip.Left);
      x1 = std::min(x1, clip.Right);
      if (x0 < x1) FillPixels(row + x0, static_cast<std::size_t>(x1 - x0), pen);
    };
    if (il > ir) {
      outline(l, r + 1);
      return;
    }
    outline(l, il);
    if (inside != nullptr) FillSpan(s, clip, y, il, ir + 1, *inside);
    outline(ir + 1, r + 1);
  });
}

// ---- block transfers --------------------------------------------------------------

TPixel Rop3(std::uint32_t rop, TPixel p, TPixel s, TPixel d) {
  const unsigned table = (rop >> 16) & 0xFFu;
  TPixel r = 0;
  for (unsigned i = 0; i < 8; ++i) {
    if (((table >> i) & 1u) == 0) continue;
    const TPixel pp = (i & 4u) ? p : ~p;
    const TPixel ss = (i & 2u) ? s : ~s;
    const TPixel dd = (i & 1u) ? d : ~d;
    r |= pp & ss & dd;
  }
  return r & kRgbMask;
}

namespace {

// One destination pixel from its source value under the common operations;
// the generic table for the rest.
inline TPixel Combine(std::uint32_t rop, TPixel p, TPixel s, TPixel d) {
  switch (rop) {
    case 0x00CC0020: return s;                          // source copy
    case 0x008800C6: return s & d;                      // source and
    case 0x00EE0086: return (s | d) & kRgbMask;         // source or
    case 0x00660046: return (s ^ d) & kRgbMask;         // source xor
    case 0x00330008: return ~s & kRgbMask;              // inverted source
    case 0x00440328: return s & ~d & kRgbMask;          // source and not dest
    case 0x00BB0226: return (~s | d) & kRgbMask;        // not source or dest
    case 0x001100A6: return ~(s | d) & kRgbMask;        // not (source or dest)
    case 0x00C000CA: return p & s;                      // pattern and source
    case 0x00550009: return ~d & kRgbMask;              // inverted dest
    case 0x00F00021: return p;                          // pattern
    case 0x00000042: return 0;                          // black
    case 0x00FF0062: return kRgbMask;                   // white
    default: return Rop3(rop, p, s, d);
  }
}

// Maps a destination index to the source range it samples, for one axis.
struct Axis {
  int d0, dn;     // destination start and length (positive)
  int s0, sn;     // source start and length (positive)
  bool mirror;    // source runs backwards
};

Axis MakeAxis(int d, int dw, int s, int sw) {
  Axis a{};
  bool flip = false;
  if (dw < 0) {
    d += dw;
    dw = -dw;
    flip = !flip;
  }
  if (sw < 0) {
    s += sw;
    sw = -sw;
    flip = !flip;
  }
  a.d0 = d;
  a.dn = dw;
  a.s0 = s;
  a.sn = sw;
  a.mirror = flip;
  return a;
}

// The source index sampled by destination offset i (nearest neighbour).
inline int NearestSource(const Axis& a, int i) {
  const std::int64_t k = a.mirror ? (a.dn - 1 - i) : i;
  return a.s0 + static_cast<int>(k * a.sn / a.dn);
}

// Area weights of source cells under destination offset i.
struct Weights {
  int first = 0;
  std::vector<double> w;
};

Weights AreaWeights(const Axis& a, int i, int limit) {
  const std::int64_t k = a.mirror ? (a.dn - 1 - i) : i;
  const double from = static_cast<double>(k) * a.sn / a.dn;
  const double to = static_cast<double>(k + 1) * a.sn / a.dn;
  // Only source cells that exist take part.
  const std::int64_t first = std::max<std::int64_t>(static_cast<std::int64_t>(std::floor(from)), -std::int64_t{a.s0});
  const std::int64_t last = std::min<std::int64_t>(
      std::max<std::int64_t>(static_cast<std::int64_t>(std::floor(from)) + 1, static_cast<std::int64_t>(std::ceil(to))),
      std::int64_t{limit} - a.s0);
  Weights out;
  out.first = static_cast<int>(a.s0 + first);
  double total = 0;
  for (std::int64_t c = first; c < last; ++c) {
    const double w = std::min(to, c + 1.0) - std::max(from, static_cast<double>(c));
    out.w.push_back(std::max(0.0, w));
    total += out.w.back();
  }
  if (total > 0) {
    for (double& w : out.w) w /= total;
  }
  return out;
}

void CopyStraight(const TBlit& b, const TRect& area) {
  // Same size, source copy, no mirroring: rows move as blocks.
  const int w = area.Width();
  if (w <= 0 || area.Height() <= 0) return;
  const int sxOff = b.SX - b.DX, syOff = b.SY - b.DY;
  const TSurface& dst = *b.Dest;
  const TSurface& src = *b.Source;
  const bool sameSurface = src.Bits == dst.Bits;
  const std::size_t rowBytes = static_cast<std::size_t>(w) * sizeof(TPixel);
  if (!sameSurface && area.Left == 0 && sxOff == 0 && w == dst.Width && dst.Stride == dst.Width &&
      src.Stride == src.Width && src.Width == dst.Width) {
    // Whole rows of two packed surfaces are one block of memory each: one
    // copy lets the C library pick its fastest way for large blocks.
    std::memcpy(dst.Row(area.Top), src.Row(area.Top + syOff), rowBytes * static_cast<std::size_t>(area.Height()));
    return;
  }
  const bool backwards = sameSurface && syOff < 0;
  for (int k = 0; k < area.Height(); ++k) {
    const int y = backwards ? area.Bottom - 1 - k : area.Top + k;
    TPixel* d = dst.Row(y) + area.Left;
    const TPixel* from = src.Row(y + syOff) + area.Left + sxOff;
    std::memmove(d, from, rowBytes);
  }
}

}  // namespace

void StretchBlit(const TBlit& b) {
  if (b.Dest == nullptr || !b.Dest->Valid() || b.DW == 0 || b.DH == 0) return;
  const unsigned table = (b.Rop >> 16) & 0xFFu;
  const bool needsSource = ((table ^ (table >> 2)) & 0x33u) != 0;
  if (needsSource && (b.Source == nullptr || !b.Source->Valid() || b.SW == 0 || b.SH == 0)) return;
  const Axis ax = MakeAxis(b.DX, b.DW, b.SX, needsSource ? b.SW : b.DW);
  const Axis ay = MakeAxis(b.DY, b.DH, b.SY, needsSource ? b.SH : b.DH);
  const TRect area = IntersectRect({ax.d0, ay.d0, ax.d0 + ax.dn, ay.d0 + ay.dn}, b.DestClip);
  if (area.IsEmpty()) return;
  const bool sameSize = ax.sn == ax.dn && ay.sn == ay.dn && !ax.mirror && !ay.mirror;

  if (!needsSource) {
    for (int y = area.Top; y < area.Bottom; ++y) {
      TPixel* row = b.Dest->Row(y);
      for (int x = area.Left; x < area.Right; ++x) row[x] = Combine(b.Rop, b.Pattern, 0, row[x] & kRgbMask);
    }
    return;
  }

  const TSurface& src = *b.Source;
  if (sameSize && b.Rop == 0x00CC0020 && !b.UseKey) {
    // Keep only the part whose source lies inside the source surface.
    TRect inside = area;
    const int dxOff = ax.d0 - ax.s0, dyOff = ay.d0 - ay.s0;
    inside = IntersectRect(inside, {dxOff, dyOff, dxOff + src.Width, dyOff + src.Height});
    TBlit straight = b;
    straight.DX = ax.d0;
    straight.DY = ay.d0;
    straight.SX = ax.s0;
    straight.SY = ay.s0;
    CopyStraight(straight, inside);
    return;
  }

  // Overlapping transfers on one surface read from a copy of the source.
  std::vector<TPixel> copy;
  TSurface from = src;
  if (src.Bits == b.Dest->Bits) {
    copy.assign(src.Bits, src.Bits + static_cast<std::size_t>(src.Height) * static_cast<std::size_t>(src.Stride));
    from.Bits = copy.data();
  }

  const bool average = b.Halftone && !sameSize;
  std::vector<Weights> columns;
  if (average) {
    columns.reserve(static_cast<std::size_t>(area.Width()));
    for (int x = area.Left; x < area.Right; ++x) columns.push_back(AreaWeights(ax, x - ax.d0, from.Width));
  }
  for (int y = area.Top; y < area.Bottom; ++y) {
    TPixel* row = b.Dest->Row(y);
    const int iy = y - ay.d0;
    if (!average) {
      const int sy = NearestSource(ay, iy);
      if (sy < 0 || sy >= from.Height) continue;
      const TPixel* srow = from.Row(sy);
      for (int x = area.Left; x < area.Right; ++x) {
        const int sx = NearestSource(ax, x - ax.d0);
        if (sx < 0 || sx >= from.Width) continue;
        const TPixel s = srow[sx] & kRgbMask;
        if (b.UseKey && s == b.Key) continue;
        row[x] = Combine(b.Rop, b.Pattern, s, row[x] & kRgbMask);
      }
      continue;
    }
    const Weights wy = AreaWeights(ay, iy, from.Height);
    for (int x = area.Left; x < area.Right; ++x) {
      const Weights& wx = columns[static_cast<std::size_t>(x - area.Left)];
      double acc[3] = {0, 0, 0};
      double seen = 0;
      for (std::size_t j = 0; j < wy.w.size(); ++j) {
        if (wy.w[j] == 0) continue;
        const TPixel* srow = from.Row(wy.first + static_cast<int>(j));
        for (std::size_t i = 0; i < wx.w.size(); ++i) {
          const double w = wy.w[j] * wx.w[i];
          if (w == 0) continue;
          const TPixel s = srow[wx.first + static_cast<int>(i)];
          acc[0] += w * ((s >> 16) & 0xFF);
          acc[1] += w * ((s >> 8) & 0xFF);
          acc[2] += w * (s & 0xFF);
          seen += w;
        }
      }
      if (seen <= 0) continue;
      auto channel = [&](double v) { return static_cast<TPixel>(std::lround(std::clamp(v / seen, 0.0, 255.0))); };
      const TPixel s = (channel(acc[0]) << 16) | (channel(acc[1]) << 8) | channel(acc[2]);
      if (b.UseKey && s == b.Key) continue;
      row[x] = Combine(b.Rop, b.Pattern, s, row[x] & kRgbMask);
    }
  }
}

}  // namespace vorn::raster

namespace vorn::raster {

// ---- outline paths -------------------------------------------------------------

std::vector<TPoint> EllipseQuarter(int w, int h) {
  std::vector<TPoint> pts;
  if (w <= 0 || h <= 0) return pts;
  const std::int64_t a = w - 1, b = h - 1;
  const std::int64_t stepY = 8 * a * a, stepX = 8 * b * b;
  std::int64_t dx = 4 * b * b * (1 - a), dy = 4 * a * a * (1 + b % 2);
  std::int64_t err = dx + dy + a * a * (b % 2);
  TPoint p{static_cast<int>(a), h / 2};
  pts.reserve(static_cast<std::size_t>(w + h));
  while (p.X >= w / 2) {
    const std::int64_t e2 = 2 * err;
    pts.push_back(p);
    if (e2 >= dx) {
      --p.X;
      dx += stepX;
      err += dx;
    }
    if (e2 <= dy) {
      ++p.Y;
      dy += stepY;
      err += dy;
    }
  }
  return pts;
}

namespace {

// Position i of the clockwise walk round a box of w x h pixels (Y down)
// built from the quarter q: quarter i / n, starting at the right middle.
// Point k of quarter number quarter (0 to 3) of that walk.
TPoint QuarterPoint(const std::vector<TPoint>& q, std::int64_t quarter, std::int64_t k, int w, int h) {
  const auto n = static_cast<std::int64_t>(q.size());
  const int a = w - 1, b = h - 1;
  switch (quarter) {
    case 0: return q[static_cast<std::size_t>(k)];
    case 1: {
      const TPoint p = q[static_cast<std::size_t>(n - 1 - k)];
      return {a - p.X, p.Y};
    }
    case 2: {
      const TPoint p = q[static_cast<std::size_t>(k)];
      return {a - p.X, b - p.Y};
    }
    default: {
      const TPoint p = q[static_cast<std::size_t>(n - 1 - k)];
      return {p.X, b - p.Y};
    }
  }
}

// Calls f(quarter, k) for the positions first..last (inclusive) of the
// clockwise walk of quarters of n points, without a division per point.
template <typename F>
void ForWalkPositions(std::int64_t n, std::int64_t first, std::int64_t last, F&& f) {
  std::int64_t quarter = (first / n) % 4, k = first % n;
  for (std::int64_t i = first; i <= last; ++i) {
    f(quarter, k);
    if (++k == n) {
      k = 0;
      quarter = (quarter + 1) % 4;
    }
  }
}

// The first position of the clockwise walk whose direction from the
// centre reaches the direction (x, y) (relative to the centre pixel, Y
// down); q holds the quarter relative to the same pixel. Each quarter is
// searched from the middle row outwards; right of the centre the search
// stops at the first pixel on or beyond the direction, left of it at the
// first one strictly beyond.
std::int64_t WalkPosition(const std::vector<TPoint>& q, std::int64_t x, std::int64_t y) {
  const auto n = static_cast<std::int64_t>(q.size());
  std::int64_t i = 0;
  auto px = [&](std::int64_t k) { return std::int64_t{q[static_cast<std::size_t>(k)].X}; };
  auto py = [&](std::int64_t k) { return std::int64_t{q[static_cast<std::size_t>(k)].Y}; };
  if (y >= 0) {
    if (x >= 0) {
      while (i < n && !(px(i) * y <= py(i) * x)) ++i;
      return i;
    }
    while (i < n && !(px(i) * y < py(i) * -x)) ++i;
    return 2 * n - i;
  }
  if (x >= 0) {
    while (i < n && !(px(i) * -y <= py(i) * x)) ++i;
    return 4 * n - i;
  }
  while (i < n && !(px(i) * -y < py(i) * -x)) ++i;
  return 2 * n + i;
}

// True when the direction (ex, ey) lies less than half a turn counter-
// clockwise of (sx, sy) (Y up), a zero vector meaning 0 degrees.
bool NarrowSweep(std::int64_t sx, std::int64_t sy, std::int64_t ex, std::int64_t ey) {
  if (sx == 0 && sy == 0) sx = 1;
  if (ex == 0 && ey == 0) ex = 1;
  return static_cast<Wide>(sx) * ey - static_cast<Wide>(sy) * ex > 0;
}

}  // namespace

namespace {

// The arc path of a box too large to walk pixel by pixel: a polygon of
// points on the ellipse, close enough that its sides stay within half a
// pixel of the curve.
std::vector<TPoint> SampledArcPath(const TRect& box, double sx, double sy, double ex, double ey) {
  const double cx = (double(box.Left) + box.Right - 1) / 2, cy = (double(box.Top) + box.Bottom - 1) / 2;
  const double a = std::max(box.Width() - 1, 1) / 2.0, b = std::max(box.Height() - 1, 1) / 2.0;
  // Directions (Y up) turned into the ellipse's parameter.
  auto param = [&](double x, double y) { return std::atan2(a * y, b * x); };
  const double t0 = (sx == 0 && sy == 0) ? 0.0 : param(sx, sy);
  constexpr double kTwoPi = 2 * std::numbers::pi;
  double sweep = std::fmod(param(ex, ey) - t0, kTwoPi);
  if (sweep <= 0) sweep += kTwoPi;
  const double step = 1.0 / std::sqrt(std::max(a, b));
  const int n = std::max(1, static_cast<int>(std::ceil(sweep / step)));
  std::vector<TPoint> out;
  out.reserve(static_cast<std::size_t>(n) + 1);
  for (int i = 0; i <= n; ++i) {
    const double t = t0 + sweep * i / n;
    out.push_back({static_cast<int>(std::lround(cx + a * std::cos(t))), static_cast<int>(std::lround(cy - b * std::sin(t)))});
  }
  return out;
}

}  // namespace

std::vector<TPoint> ArcPath(const TRect& box, TPoint start, TPoint end) {
  std::vector<TPoint> out;
  const int w = box.Width(), h = box.Height();
  if (w > kWalkLimit || h > kWalkLimit) {
    auto rel = [&](TPoint p, double& x, double& y) {
      x = 2.0 * p.X + 1 - (double(box.Left) + box.Right);
      y = -(2.0 * p.Y + 1 - (double(box.Top) + box.Bottom));
    };
    double sx = 0, sy = 0, ex = 0, ey = 0;
    rel(start, sx, sy);
    rel(end, ex, ey);
    return SampledArcPath(box, sx, sy, ex, ey);
  }
  const std::vector<TPoint> q = EllipseQuarter(w, h);
  if (q.empty()) return out;
  // Directions are compared from the centre pixel (Left + w/2, Top + h/2),
  // the walk's points and the given points alike, mirrored top to bottom:
  // a counter-clockwise arc is a clockwise walk of the mirror. A start on
  // the centre pixel is the direction (0, 0), which the walk meets at once
  // (0 degrees).
  std::vector<TPoint> rel(q);
  for (TPoint& p : rel) p = {p.X - w / 2, p.Y - h / 2};
  auto dir = [&](TPoint p, std::int64_t& x, std::int64_t& y) {
    x = std::int64_t{p.X} - (std::int64_t{box.Left} + w / 2);
    y = (std::int64_t{box.Top} + h / 2) - p.Y;
  };
  std::int64_t sx = 0, sy = 0, ex = 0, ey = 0;
  dir(start, sx, sy);
  dir(end, ex, ey);
  const auto n = static_cast<std::int64_t>(q.size());
  const std::int64_t from = WalkPosition(rel, sx, sy);
  std::int64_t to = WalkPosition(rel, ex, ey);
  // The arc stops on the last outline pixel before the end direction. Both
  // positions lie in 0..4n (a start just below the X axis on the right is
  // 4n, not 0), so a start there and an end just above the axis leave no
  // pixel.
  if (to == from && NarrowSweep(sx, sy, ex, ey)) {
    // Two directions less than half a turn apart that reach the same
    // outline pixel: the arc is narrower than a pixel and keeps that one
    // pixel (a pie its radius), rather than becoming the whole ellipse
    // that the same direction twice gives.
    to = from + 1;
  }
  if (to <= from) to += 4 * n;
  if (to <= from) return out;
  out.reserve(static_cast<std::size_t>(to - from));
  ForWalkPositions(n, from, to - 1, [&](std::int64_t quarter, std::int64_t k) {
    const TPoint p = QuarterPoint(q, quarter, k, w, h);
    out.push_back({box.Left + p.X, box.Top + (h - 1 - p.Y)});
  });
  return out;
}

namespace {

// The smallest integer at or above num / den, for den > 0.
std::int64_t CeilDiv(std::int64_t num, std::int64_t den) {
  const std::int64_t q = num / den;
  return q * den < num ? q + 1 : q;
}

// Calls f(y, column, dir) for every crossing of a row top..bottom-1 by an
// edge of the closed path: an edge from row a to row b (a < b) crosses
// rows a..b-1, dir +1 going down and -1 going up. A pixel lies right of a
// crossing when its column is at or past the crossing's x, so a crossing
// is given as that first column, clamped to the clip (which keeps every
// pixel of the clip on the same side).
template <typename F>
void ForPathCrossings(std::span<const TPoint> path, int top, int bottom, const TRect& clip, F&& f) {
  const std::size_t n = path.size();
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const TPoint a = path[j], b = path[i];
    const bool down = a.Y < b.Y;
    const TPoint u = down ? a : b, l = down ? b : a;
    const int y0 = std::max(u.Y, top), y1 = std::min(l.Y, bottom);
    if (y0 >= y1) continue;
    const int dir = down ? 1 : -1;
    if (l.Y - u.Y == 1) {
      // A one-row step (most edges of a walked outline) crosses its upper
      // row at its upper point.
      f(y0, std::clamp(u.X, clip.Left, clip.Right), dir);
      continue;
    }
    const std::int64_t dx = std::int64_t{l.X} - u.X, dy = std::int64_t{l.Y} - u.Y;
    for (int y = y0; y < y1; ++y) {
      const std::int64_t x = u.X + CeilDiv((y - u.Y) * dx, dy);
      f(y, static_cast<int>(std::clamp<std::int64_t>(x, clip.Left, clip.Right)), dir);
    }
  }
}

}  // namespace

void PathRows(std::span<const TPoint> path, const TRect& clip, const std::function<void(int, int, int)>& span) {
  if (path.size() < 3 || clip.IsEmpty()) return;
  int minY = path[0].Y, maxY = path[0].Y;
  for (const TPoint& p : path) {
    minY = std::min(minY, p.Y);
    maxY = std::max(maxY, p.Y);
  }
  const int top = std::max(minY, clip.Top), bottom = std::min(maxY, clip.Bottom);
  if (top >= bottom) return;
  const auto rows = static_cast<std::size_t>(bottom - top);
  // Pies and chords cross a row at most four times: one pass into four
  // slots a row. Other paths count their crossings a row first.
  constexpr std::size_t kSlots = 4;
  std::vector<TScanCrossing> slots(rows * kSlots);
  std::vector<std::uint32_t> used(rows, 0);
  bool overflow = false;
  ForPathCrossings(path, top, bottom, clip, [&](int y, int x, int dir) {
    const auto r = static_cast<std::size_t>(y - top);
    if (used[r] == kSlots) {
      overflow = true;
      return;
    }
    slots[r * kSlots + used[r]++] = {x, dir};
  });
  if (!overflow) {
    for (std::size_t r = 0; r < rows; ++r) {
      CrossingRuns(top + static_cast<int>(r), &slots[r * kSlots], used[r], true, span);
    }
    return;
  }
  std::vector<std::uint32_t> first(rows + 1, 0);
  ForPathCrossings(path, top, bottom, clip, [&](int y, int, int) { ++first[static_cast<std::size_t>(y - top) + 1]; });
  for (std::size_t r = 0; r < rows; ++r) first[r + 1] += first[r];
  slots.assign(first[rows], {});
  std::copy(first.begin(), first.end() - 1, used.begin());
  ForPathCrossings(path, top, bottom, clip,
                   [&](int y, int x, int dir) { slots[used[static_cast<std::size_t>(y - top)]++] = {x, dir}; });
  for (std::size_t r = 0; r < rows; ++r) {
    CrossingRuns(top + static_cast<int>(r), slots.data() + first[r], first[r + 1] - first[r], true, span);
  }
}

}  // namespace vorn::raster

namespace vorn::raster {

// ---- wide pens -----------------------------------------------------------------

void RoundRectRows(const TRect& box, int ew, int eh, const std::function<void(int, int, int)>& span) {
  if (box.IsEmpty()) return;
  ew = std::min(box.Width(), std::abs(ew));
  eh = std::min(box.Height(), std::abs(eh));
  if (ew < 2 || eh < 2) {
    for (int y = box.Top; y < box.Bottom; ++y) span(y, box.Left, box.Right);
    return;
  }
  // The walk of the corner ellipse from its middle row down gives each
  // lower corner row its inset; upper rows mirror them. A corner much
  // taller than wide ends its walk before the last rows: those rows lie
  // outside the outline, which the walk also draws, and stay empty.
  const std::int64_t a = ew - 1, b = eh - 1;
  const std::int64_t asq = 8 * a * a, bsq = 8 * b * b;
  std::int64_t dx = 4 * b * b * (1 - a), dy = 4 * a * a * (1 + b % 2);
  std::int64_t err = dx + dy + a * a * (b % 2);
  // A corner two pixels across is straight: all its rows are whole.
  constexpr int kEmpty = -1;
  std::vector<int> inset(static_cast<std::size_t>(eh) + 1, ew == 2 ? 0 : kEmpty);
  inset[static_cast<std::size_t>(eh / 2)] = 0;
  int x = 0, y = eh / 2;
  while (x <= ew / 2) {
    const std::int64_t e2 = 2 * err;
    if (e2 >= dx) {
      ++x;
      dx += bsq;
      err += dx;
    }
    if (e2 <= dy) {
      ++y;
      dy += asq;
      err += dy;
      if (y <= eh) inset[static_cast<std::size_t>(y)] = x;
    }
  }
  for (int i = 0; i < eh / 2; ++i) {
    const int k = inset[static_cast<std::size_t>(eh - 1 - i)];
    if (k != kEmpty) span(box.Top + i, box.Left + k, box.Right - k);
  }
  // The middle band, the corner ellipse's middle row stretched.
  for (int yy = box.Top + eh / 2; yy < box.Bottom - eh + eh / 2; ++yy) span(yy, box.Left, box.Right);
  for (int i = eh / 2; i < eh; ++i) {
    const int k = inset[static_cast<std::size_t>(i)];
    if (k != kEmpty) span(box.Bottom - eh + i, box.Left + k, box.Right - k);
  }
}

void PenDot(int width, const std::function<void(int, int, int)>& span) {
  const int left = -(width / 2);
  RoundRectRows({left, left, left + width, left + width}, width, width, span);
}

std::vector<TPoint> RoundRectPath(const TRect& box, int ew, int eh) {
  std::vector<TPoint> out;
  std::vector<TPoint> q = EllipseQuarter(ew, eh);
  if (q.empty()) return out;
  // A corner two pixels across is straight: its walk stops at the middle
  // row, and the outline runs on down the column to the last row.
  if (ew == 2)
    for (int y = q.back().Y + 1; y < eh; ++y) q.push_back({1, y});
  const auto n = static_cast<std::int64_t>(q.size());
  out.reserve(static_cast<std::size_t>(4 * n));
  ForWalkPositions(n, 0, 4 * n - 1, [&](std::int64_t quarter, std::int64_t k) {
    // The corner ellipse's walk with each quarter moved to its corner.
    const TPoint p = QuarterPoint(q, quarter, k, ew, eh);
    const bool right = quarter == 0 || quarter == 3, bottom = quarter < 2;
    // Mirrored top to bottom: the path runs counter-clockwise.
    out.push_back({right ? box.Right - ew + p.X : box.Left + p.X, bottom ? box.Top + eh - 1 - p.Y : box.Bottom - 1 - p.Y});
  });
  return out;
}

void WidePath(std::span<const TPoint> pts, bool closed, int width, const TRect& clip,
              const std::function<void(int, int, int)>& span) {
  if (pts.empty()) return;
  auto clipped = [&](int y, int x0, int x1) {
    if (y < clip.Top || y >= clip.Bottom) return;
    x0 = std::max(x0, clip.Left);
    x1 = std::min(x1, clip.Right);
    if (x0 < x1) span(y, x0, x1);
  };
  // Round joins and ends: the pen's dot at every point of the path.
  std::vector<std::array<int, 3>> dot;
  PenDot(width, [&](int y, int x0, int x1) { dot.push_back({y, x0, x1}); });
  // Points and segments farther than the pen from the clip leave no pixels.
  const TRect near{clip.Left - width - 1, clip.Top - width - 1, clip.Right + width + 1, clip.Bottom + width + 1};
  for (const TPoint& p : pts) {
    if (!near.Contains(p)) continue;
    for (const auto& d : dot) clipped(p.Y + d[0], p.X + d[1], p.X + d[2]);
  }
  const std::size_t n = pts.size();
  const std::size_t segments = closed ? n : n - 1;
  for (std::size_t i = 0; i < segments; ++i) {
    const TPoint p = pts[i], q = pts[(i + 1) % n];
    const int dx = q.X - p.X, dy = q.Y - p.Y;
    if (dx == 0 && dy == 0) continue;
    if (std::max(p.X, q.X) < near.Left || std::min(p.X, q.X) >= near.Right || std::max(p.Y, q.Y) < near.Top ||
        std::min(p.Y, q.Y) >= near.Bottom) {
      continue;
    }
    if (dy == 0) {
      const int top = p.Y - width / 2;
      for (int y = top; y < top + width; ++y) clipped(y, std::min(p.X, q.X), std::max(p.X, q.X));
      continue;
    }
    if (dx == 0) {
      const int left = p.X - width / 2;
      for (int y = std::min(p.Y, q.Y); y < std::max(p.Y, q.Y); ++y) clipped(y, left, left + width);
      continue;
    }
    // A band across the segment: its half widths rounded to whole pixels,
    // the larger half on the side the rounding gives it.
    const double len = std::hypot(static_cast<double>(dx), static_cast<double>(dy));
    const double wx = width * std::abs(dy) / len, wy = width * std::abs(dx) / len;
    auto round = [](double v) { return static_cast<int>(std::floor(v + 0.5)); };
    TPoint narrow{round(wx / 2), round(wy / 2)}, wide{round((wx + 1) / 2), round((wy + 1) / 2)};
    if (dx < 0) {
      wide.Y = -wide.Y;
      narrow.Y = -narrow.Y;
    }
    if (dy < 0) {
      std::swap(narrow, wide);
      narrow.X = -narrow.X;
      wide.X = -wide.X;
    }
    const TPointF quad[4] = {{double(p.X - narrow.X), double(p.Y + narrow.Y)},
                             {double(p.X + wide.X), double(p.Y - wide.Y)},
                             {double(q.X + wide.X), double(q.Y - wide.Y)},
                             {double(q.X - narrow.X), double(q.Y + narrow.Y)}};
    ScanPolygon(std::span<const TPointF>(quad, 4), false, clip, clipped);
  }
}

// ---- polygon scan ------------------------------------------------------------

bool ScanChains(std::span<const TPointF> pts, std::vector<TScanEdge>& edges, std::vector<TScanChain>& chains,
                bool& exact) {
  const std::size_t n = pts.size();
  exact = std::all_of(pts.begin(), pts.end(), [](const TPointF& p) {
    return std::abs(p.X) <= kExactScan && std::abs(p.Y) <= kExactScan && p.X == std::trunc(p.X) &&
           p.Y == std::trunc(p.Y);
  });
  const auto dirOf = [&](std::size_t i) {
    const double a = pts[i].Y, b = pts[(i + 1) % n].Y;
    return a < b ? 1 : b < a ? -1 : 0;
  };
  // Start at an edge that turns from the direction of the edges before
  // it, so that no chain wraps round the end of the list.
  int before = 0;
  for (std::size_t i = n; i-- > 0 && before == 0;) before = dirOf(i);
  if (before == 0) return false;
  std::size_t start = n;
  for (std::size_t i = 0; i < n && start == n; ++i) {
    const int d = dirOf(i);
    if (d != 0 && d != before) start = i;
    if (d != 0) before = d;
  }
  if (start == n) return false;  // all one way: not a closed outline
  edges.clear();
  edges.reserve(n);
  chains.clear();
  chains.reserve(n);  // at most a chain per edge; no regrowth on the way
  const auto close = [&] {
    if (chains.empty()) return;
    TScanChain& c = chains.back();
    c.last = edges.size();
    // An upward chain was met bottom first.
    if (c.dir < 0) std::reverse(edges.begin() + static_cast<std::ptrdiff_t>(c.first), edges.end());
  };
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t i = (start + k) % n;
    const int d = dirOf(i);
    if (d == 0) continue;
    if (chains.empty() || chains.back().dir != d) {
      close();
      chains.push_back({edges.size(), edges.size(), d});
    }
    const TPointF& p = pts[i];
    const TPointF& q = pts[(i + 1) % n];
    const TPointF& top = d > 0 ? p : q;
    const TPointF& bot = d > 0 ? q : p;
    edges.push_back({top, bot, (bot.X - top.X) / (bot.Y - top.Y)});
  }
  close();
  return true;
}

}  // namespace vorn::raster
