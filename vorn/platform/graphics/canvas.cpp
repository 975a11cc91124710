#include "vorn/platform/graphics/canvas.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "vorn/platform/graphics/bitmap.h"
#include "vorn/platform/graphics/raster.h"

namespace vorn {

using raster::TInk;
using raster::TMask;
using raster::TSpanSet;

namespace {

// Dash patterns of thin styled pens, in pixels: on, off, on, off...
struct DashPattern {
  int count;
  int runs[6];
};

const DashPattern* PatternFor(TPenStyle style) {
  static constexpr DashPattern kDash{2, {18, 6}};
  static constexpr DashPattern kDot{2, {3, 3}};
  static constexpr DashPattern kDashDot{4, {9, 6, 3, 6}};
  static constexpr DashPattern kDashDotDot{6, {9, 3, 3, 3, 3, 3}};
  switch (style) {
    case psDash: return &kDash;
    case psDot: return &kDot;
    case psDashDot: return &kDashDot;
    case psDashDotDot: return &kDashDotDot;
    default: return nullptr;
  }
}

// True when pixel number i of a styled line falls on a dash.
bool OnDash(const DashPattern& p, std::int64_t i) {
  int period = 0;
  for (int k = 0; k < p.count; ++k) period += p.runs[k];
  std::int64_t pos = i % period;
  for (int k = 0; k < p.count; ++k) {
    if (pos < p.runs[k]) return (k % 2) == 0;
    pos -= p.runs[k];
  }
  return true;
}

TRect Normalized(int X1, int Y1, int X2, int Y2) {
  X1 = ClampCoord(X1);
  Y1 = ClampCoord(Y1);
  X2 = ClampCoord(X2);
  Y2 = ClampCoord(Y2);
  return {std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2)};
}

// The device pixels a figure in box drawn with a pen of the given width
// can touch: figures work in this rectangle, never in the whole clip.
TRect Reach(const TRect& box, int penWidth, const TRect& clip) {
  const int grow = std::max(penWidth, 1) + 1;
  return IntersectRect({box.Left - grow, box.Top - grow, box.Right + grow, box.Bottom + grow}, clip);
}

// The bounding box of a path's points.
TRect PathBox(std::span<const TPoint> pts) {
  TRect r{pts[0].X, pts[0].Y, pts[0].X + 1, pts[0].Y + 1};
  for (const TPoint& p : pts) {
    r.Left = std::min(r.Left, p.X);
    r.Top = std::min(r.Top, p.Y);
    r.Right = std::max(r.Right, p.X + 1);
    r.Bottom = std::max(r.Bottom, p.Y + 1);
  }
  return r;
}

// Marks the pixels of a shape given by row spans that touch its outside
// (a 4-neighbour outside the shape): its one-pixel outline.
template <typename RowSpan>
void OutlineOfSpans(TSpanSet& mask, int top, int bottom, RowSpan&& rowSpan) {
  for (int y = top; y < bottom; ++y) {
    int l = 0, r = 0;
    if (!rowSpan(y, l, r)) continue;
    int lu = 0, ru = -1, ld = 0, rd = -1;
    const bool up = rowSpan(y - 1, lu, ru);
    const bool dn = rowSpan(y + 1, ld, rd);
    int il = 1, ir = 0;
    if (up && dn) {
      il = std::max({l + 1, lu, ld});
      ir = std::min({r - 1, ru, rd});
    }
    if (il > ir) {
      mask.SetSpan(y, l, r + 1);
    } else {
      mask.SetSpan(y, l, il);
      mask.SetSpan(y, ir + 1, r + 1);
    }
  }
}

}  // namespace

TPoint TCanvas::ToDevice(int X, int Y) const { return {ClampCoord(X) + FOrigin.X, ClampCoord(Y) + FOrigin.Y}; }

TRect TCanvas::ToDevice(const TRect& R) const {
  TRect r = ClampRect(R);
  r.Offset(FOrigin.X, FOrigin.Y);
  return r;
}

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()),
      FPen(std::make_unique<TPen>()),
      FBrush(std::make_unique<TBrush>()) {}

TCanvas::~TCanvas() = default;

// ---- binding --------------------------------------------------------------------

void TCanvas::Attach(const TSurface& surface, TPoint origin, const TRect& deviceClip) {
  FSurface = surface;
  FOrigin = origin;
  FBaseClip = IntersectRect(deviceClip, surface.BoundsRect());
  FClip = FBaseClip;
}

void TCanvas::Attach(const TSurface& surface) { Attach(surface, {0, 0}, surface.BoundsRect()); }

void TCanvas::Detach() {
  FSurface = {};
  FBaseClip = FClip = {};
}

TRect TCanvas::DeviceClip() const { return FClip.IsEmpty() ? TRect{} : FClip; }

TRect TCanvas::ClipRect() const {
  TRect r = FClip;
  r.Offset(-FOrigin.X, -FOrigin.Y);
  return r;
}

void TCanvas::SetClipRect(const TRect& Rect) {
  FClip = IntersectRect(ToDevice(Rect), FBaseClip);
}

void TCanvas::ResetClip() { FClip = FBaseClip; }

int TCanvas::SetStretchBltMode(int Mode) {
  if (Mode < BLACKONWHITE || Mode > HALFTONE) return 0;
  const int old = FStretchBltMode;
  FStretchBltMode = Mode;
  return old;
}

void TCanvas::Changed() {
  if (FOnChange) FOnChange(this);
}

bool TCanvas::PenVisible() const { return FPen->Style() != psClear && FPen->Mode() != pmNop; }

bool TCanvas::BrushVisible() const { return FBrush->Style() != bsClear; }

// ---- lines ------------------------------------------------------------------------

void TCanvas::MoveTo(int X, int Y) { FPenPos = {X, Y}; }

void TCanvas::LineTo(int X, int Y) {
  const TPoint pts[2] = {ToDevice(FPenPos.X, FPenPos.Y), ToDevice(X, Y)};
  StrokePath(pts, false);
  FPenPos = {X, Y};
  Changed();
}

void TCanvas::Polyline(std::span<const TPoint> Points) {
  if (Points.empty()) return;
  std::vector<TPoint> dev(Points.begin(), Points.end());
  for (TPoint& p : dev) p = ToDevice(p.X, p.Y);
  StrokePath(dev, false);
  Changed();
}

void TCanvas::StrokePath(std::span<const TPoint> pts, bool closed) {
  if (!FSurface.Valid() || !PenVisible() || pts.size() < 2) return;
  const int width = FPen->Width();
  if (width <= 1) {
    StrokeThin(pts, closed);
    return;
  }
  const TRect clip = Reach(PathBox(pts), width, DeviceClip());
  if (clip.IsEmpty()) return;
  TSpanSet mask(clip, FSurface, {ColorToDevice(FPen->Color()), FPen->Mode(), bsSolid});
  raster::WidePath(pts, closed, width, clip, [&](int y, int x0, int x1) { mask.SetSpan(y, x0, x1); });
  mask.Paint();
}

void TCanvas::StrokeThin(std::span<const TPoint> pts, bool closed) {
  const TRect clip = DeviceClip();
  const TInk ink{ColorToDevice(FPen->Color()), FPen->Mode(), bsSolid};
  const DashPattern* dash = PatternFor(FPen->Style());
  const bool opaqueGaps = FBrush->Style() == bsSolid;
  const TInk gap{ColorToDevice(FBrush->Color()), pmCopy, bsSolid};
  const std::size_t n = pts.size();
  const std::size_t segments = closed ? n : n - 1;
  // Solid copy lines write their pixels straight (the walk stays in the
  // clip), a level one as one span.
  const bool direct = dash == nullptr && ink.Mode == pmCopy;
  std::int64_t along = 0;  // the dash pattern runs on across segments
  for (std::size_t s = 0; s < segments; ++s) {
    const TPoint a = pts[s], b = s + 1 < n ? pts[s + 1] : pts[0];
    const std::int64_t dx = std::int64_t{b.X} - a.X, dy = std::int64_t{b.Y} - a.Y;
    const std::int64_t start = along;
    const std::int64_t length = std::max(std::abs(dx), std::abs(dy));
    along += length;
    const auto write = [&](int x, int y, std::int64_t) { FSurface.Row(y)[x] = ink.Color; };
    const auto paint = [&](int x, int y, std::int64_t i) {
      if (dash == nullptr || OnDash(*dash, start + i)) {
        raster::Plot(FSurface, clip, x, y, ink);
      } else if (opaqueGaps) {
        raster::Plot(FSurface, clip, x, y, gap);
      }
    };
    if (length == 1) {
      // A step to a neighbour (curves are walked pixel by pixel) paints
      // its start pixel only.
      if (!clip.Contains(a)) continue;
      if (direct) {
        write(a.X, a.Y, 0);
      } else {
        paint(a.X, a.Y, 0);
      }
    } else if (!direct) {
      raster::WalkLine(a.X, a.Y, b.X, b.Y, clip, paint);
    } else if (dy == 0) {
      // From the start up to, not including, the end.
      raster::FillSpan(FSurface, clip, a.Y, dx > 0 ? a.X : b.X + 1, dx > 0 ? b.X : a.X + 1, ink);
    } else {
      raster::WalkLine(a.X, a.Y, b.X, b.Y, clip, write);
    }
  }
}

// ---- figures ----------------------------------------------------------------------

void TCanvas::Polygon(std::span<const TPoint> Points) {
  if (!FSurface.Valid() || Points.size() < 2) return;
  std::vector<TPoint> dev(Points.begin(), Points.end());
  for (TPoint& p : dev) p = ToDevice(p.X, p.Y);
  const TRect clip = Reach(PathBox(dev), FPen->Width(), DeviceClip());
  if (!clip.IsEmpty()) {
    std::vector<raster::TPointF> f;
    f.reserve(dev.size());
    for (const TPoint& p : dev) f.push_back({static_cast<double>(p.X), static_cast<double>(p.Y)});
    PaintFigure(clip, dev, true, [&](const TSpanSink& span) {
      raster::ScanPolygon(std::span<const raster::TPointF>(f), FFillMode == fmWinding, clip, span);
    });
  }
  Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  if (!FSurface.Valid()) return;
  const TRect r = ToDevice(Normalized(X1, Y1, X2, Y2));
  if (r.IsEmpty()) return;
  const TRect clip = DeviceClip();
  const TInk fill{ColorToDevice(FBrush->Color()), FPen->Mode(), FBrush->Style()};
  if (!PenVisible()) {
    // Without a pen the filled area ends one pixel short on the right and bottom.
    if (BrushVisible()) raster::FillBox(FSurface, clip, {r.Left, r.Top, r.Right - 1, r.Bottom - 1}, fill);
    Changed();
    return;
  }
  const int width = FPen->Width();
  if (r.Width() == 1 && r.Height() == 1) {
    // The outline path of a one-pixel box has no length: nothing to draw.
    Changed();
    return;
  }
  if (width <= 1 && FPen->Style() != psSolid && FPen->Style() != psInsideFrame) {
    if (BrushVisible()) raster::FillBox(FSurface, clip, {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, fill);
    // The pattern starts at the top right corner and runs counter-clockwise.
    const TPoint corners[4] = {{r.Right - 1, r.Top}, {r.Left, r.Top}, {r.Left, r.Bottom - 1}, {r.Right - 1, r.Bottom - 1}};
    StrokeThin(corners, true);
    Changed();
    return;
  }
  // Bands of the pen's width around the outline path through the corner
  // pixels (Left, Top) and (Right - 1, Bottom - 1), the extra pixel of an
  // even width above and left of the path; inside-frame pens keep the
  // bands in the box. Pens of width 3 and more have round joins, which
  // leave out the outermost pixel of each corner.
  const bool insideFrame = FPen->Style() == psInsideFrame;
  const int lo = width / 2;
  const TRect outer = insideFrame ? r : TRect{r.Left - lo, r.Top - lo, r.Right - 1 - lo + width, r.Bottom - 1 - lo + width};
  const TRect inner{outer.Left + width, outer.Top + width, outer.Right - width, outer.Bottom - width};
  const TInk pen{ColorToDevice(FPen->Color()), FPen->Mode(), bsSolid};
  const bool roundJoins = width >= 3;
  if (!roundJoins && fill.Pattern == bsSolid && fill.Color == pen.Color) {
    // Outline and inside in one colour: every pixel of the box once, as one block.
    raster::FillBox(FSurface, clip, outer, pen);
    Changed();
    return;
  }
  if (BrushVisible() && !inner.IsEmpty()) raster::FillBox(FSurface, clip, inner, fill);
  for (int y = std::max(outer.Top, clip.Top); y < std::min(outer.Bottom, clip.Bottom); ++y) {
    const int cut = roundJoins && (y == outer.Top || y == outer.Bottom - 1) ? 1 : 0;
    if (!inner.IsEmpty() && y >= inner.Top && y < inner.Bottom) {
      raster::FillSpan(FSurface, clip, y, outer.Left, inner.Left, pen);
      raster::FillSpan(FSurface, clip, y, inner.Right, outer.Right, pen);
    } else {
      raster::FillSpan(FSurface, clip, y, outer.Left + cut, outer.Right - cut, pen);
    }
  }
  Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  if (!FSurface.Valid()) return;
  const TRect r = ToDevice(Normalized(X1, Y1, X2, Y2));
  if (r.IsEmpty()) return;
  const int ew = std::clamp(std::abs(ClampCoord(X3)), 0, r.Width());
  const int eh = std::clamp(std::abs(ClampCoord(Y3)), 0, r.Height());
  if (ew <= 2 || eh <= 2) {
    TRect lr = r;
    lr.Offset(-FOrigin.X, -FOrigin.Y);
    Rectangle(lr);
    return;
  }
  if (r.Width() <= raster::kWalkLimit && r.Height() <= raster::kWalkLimit) {
    RoundFigure(r, ew, eh);
    Changed();
    return;
  }
  // Corners are quarter ellipses of the box (0, 0, ew, eh) placed at the corners.
  raster::TEllipseShape corner({0, 0, ew, eh});
  corner.Prepare(0, eh);
  auto rowSpan = [&](int y, int& x0, int& x1) {
    if (y < r.Top || y >= r.Bottom) return false;
    int ey = -1;
    if (y < r.Top + eh / 2) ey = y - r.Top;
    if (y >= r.Bottom - (eh - eh / 2)) ey = eh - (r.Bottom - y);
    if (ey < 0) {
      x0 = r.Left;
      x1 = r.Right - 1;
      return true;
    }
    int cl = 0, cr = 0;
    if (!corner.RowSpan(ey, cl, cr)) return false;
    x0 = r.Left + cl;
    x1 = r.Right - ew + cr;
    return x0 <= x1;
  };
  const TRect clip = Reach(r, 1, DeviceClip());
  if (BrushVisible()) {
    // The inside is painted under the outline as well.
    const TInk fill{ColorToDevice(FBrush->Color()), FPen->Mode(), FBrush->Style()};
    for (int y = std::max(r.Top, clip.Top); y < std::min(r.Bottom, clip.Bottom); ++y) {
      int x0 = 0, x1 = 0;
      if (rowSpan(y, x0, x1)) raster::FillSpan(FSurface, clip, y, x0, x1 + 1, fill);
    }
  }
  if (PenVisible()) {
    TSpanSet outline(clip, FSurface, {ColorToDevice(FPen->Color()), FPen->Mode(), bsSolid});
    OutlineOfSpans(outline, std::max(r.Top, clip.Top - 1), std::min(r.Bottom, clip.Bottom + 1), rowSpan);
    outline.Paint();
  }
  Changed();
}

// A figure whose inside is given by row spans and whose outline is a path
// stroked with the pen. A one-pixel pen paints over the inside; the outline
// of a wide pen is one region and the inside is painted around it, so each
// pixel gets one ink whatever the pen mode. clip is the rectangle the
// figure can touch; the work stays in it.
void TCanvas::PaintFigure(const TRect& clip, std::span<const TPoint> path, bool closed,
                          const std::function<void(const TSpanSink&)>& inside) {
  const bool pen = PenVisible() && path.size() >= 2;
  const bool brush = BrushVisible();
  const TInk fill{ColorToDevice(FBrush->Color()), FPen->Mode(), FBrush->Style()};
  if (!pen || FPen->Width() <= 1) {
    if (brush) inside([&](int y, int x0, int x1) { raster::FillSpan(FSurface, clip, y, x0, x1, fill); });
    if (pen) StrokePath(path, closed);
    return;
  }
  TMask outline(clip);
  raster::WidePath(path, closed, FPen->Width(), clip, [&](int y, int x0, int x1) { outline.SetSpan(y, x0, x1); });
  if (brush) {
    inside([&](int y, int x0, int x1) {
      x0 = std::max(x0, clip.Left);
      x1 = std::min(x1, clip.Right);
      for (int x = x0; x < x1;) {
        if (outline.Get(x, y)) {
          ++x;
          continue;
        }
        const int from = x;
        while (x < x1 && !outline.Get(x, y)) ++x;
        raster::FillSpan(FSurface, clip, y, from, x, fill);
      }
    });
  }
  outline.Paint(FSurface, clip, {ColorToDevice(FPen->Color()), FPen->Mode(), bsSolid});
}

// A round rectangle or, with corners the size of the box, an ellipse: the
// inside is the round rectangle region of the box, the outline its walk.
void TCanvas::RoundFigure(TRect box, int ew, int eh) {
  const bool pen = PenVisible();
  const int width = std::max(FPen->Width(), 1);
  if (pen && FPen->Style() == psInsideFrame) {
    box = {box.Left + width / 2, box.Top + width / 2, box.Right - (width - 1) / 2, box.Bottom - (width - 1) / 2};
    if (box.IsEmpty()) return;
  }
  ew = std::min(ew, box.Width());
  eh = std::min(eh, box.Height());
  const TRect clip = Reach(box, width, DeviceClip());
  if (clip.IsEmpty()) return;
  const std::vector<TPoint> path = pen ? raster::RoundRectPath(box, ew, eh) : std::vector<TPoint>{};
  PaintFigure(clip, path, true, [&](const TSpanSink& span) {
    raster::RoundRectRows(box, ew, eh, [&](int y, int x0, int x1) {
      if (y >= clip.Top && y < clip.Bottom) span(y, std::max(x0, clip.Left), std::min(x1, clip.Right));
    });
  });
}

void TCanvas::FillRect(const TRect& Rect) {
  if (!FSurface.Valid() || !BrushVisible()) return;
  const TRect r = ToDevice(Rect);
  raster::FillBox(FSurface, DeviceClip(), r, {ColorToDevice(FBrush->Color()), pmCopy, FBrush->Style()});
  Changed();
}

void TCanvas::FrameRect(const TRect& Rect) {
  if (!FSurface.Valid() || !BrushVisible()) return;
  const TRect r = ToDevice(Rect);
  if (r.IsEmpty()) return;
  const TRect clip = DeviceClip();
  const TInk ink{ColorToDevice(FBrush->Color()), pmCopy, FBrush->Style()};
  raster::FillBox(FSurface, clip, {r.Left, r.Top, r.Right, r.Top + 1}, ink);
  if (r.Height() > 1) raster::FillBox(FSurface, clip, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, ink);
  raster::FillBox(FSurface, clip, {r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}, ink);
  if (r.Width() > 1) raster::FillBox(FSurface, clip, {r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1}, ink);
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& Rect) {
  // Every other pixel of the frame inverted: drawing it twice removes it.
  if (!FSurface.Valid()) return;
  const TRect r = ToDevice(Rect);
  if (r.IsEmpty()) return;
  const TRect clip = DeviceClip();
  TSpanSet mask(IntersectRect(r, clip), FSurface, {0, pmNot, bsSolid});
  for (int x = std::max(r.Left, clip.Left - 1); x < std::min(r.Right, clip.Right + 1); ++x) {
    if (((x + r.Top) & 1) == 0) mask.Set(x, r.Top);
    if (((x + r.Bottom - 1) & 1) == 0) mask.Set(x, r.Bottom - 1);
  }
  for (int y = std::max(r.Top + 1, clip.Top - 1); y < std::min(r.Bottom - 1, clip.Bottom + 1); ++y) {
    if (((r.Left + y) & 1) == 0) mask.Set(r.Left, y);
    if (((r.Right - 1 + y) & 1) == 0) mask.Set(r.Right - 1, y);
  }
  mask.Paint();
  Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) { EllipticFigure(0, X1, Y1, X2, Y2, 0, 0, 0, 0); }

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  EllipticFigure(1, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  EllipticFigure(2, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  EllipticFigure(3, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

// kind: 0 ellipse, 1 arc, 2 pie, 3 chord.
void TCanvas::EllipticFigure(int kind, int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  if (!FSurface.Valid()) return;
  const TRect box = ToDevice(Normalized(X1, Y1, X2, Y2));
  // An ellipse of one pixel has no outline path and no inside.
  if (box.IsEmpty() || (box.Width() == 1 && box.Height() == 1)) return;
  if (kind != 0) {
    ArcFigure(kind, box, ToDevice(X3, Y3), ToDevice(X4, Y4));
    Changed();
    return;
  }
  const int width = FPen->Width();
  const bool styled = FPen->Style() != psSolid && FPen->Style() != psInsideFrame && FPen->Style() != psClear;
  if ((width > 1 || styled) && PenVisible() && box.Width() <= raster::kWalkLimit && box.Height() <= raster::kWalkLimit) {
    RoundFigure(box, box.Width(), box.Height());
    Changed();
    return;
  }
  const TRect clip = Reach(box, width, DeviceClip());
  if (clip.IsEmpty()) return;
  raster::TEllipseShape shape(box);
  shape.Prepare(clip.Top - 1, clip.Bottom + 1);
  const TInk fill{ColorToDevice(FBrush->Color()), FPen->Mode(), FBrush->Style()};
  if (PenVisible() && width <= 1 && FPen->Mode() == pmCopy) {
    // A copied one-pixel outline covers what is under it: each pixel is
    // painted once, by the outline or by the inside.
    raster::PaintOutlinedEllipse(FSurface, clip, shape, ColorToDevice(FPen->Color()), BrushVisible() ? &fill : nullptr);
    Changed();
    return;
  }
  if (BrushVisible()) {
    // With or without a pen the inside is the ellipse of the whole box,
    // painted under the outline (the pen mode applies to both).
    for (int y = std::max(shape.Top(), clip.Top); y < std::min(shape.Bottom(), clip.Bottom); ++y) {
      int x0 = 0, x1 = 0;
      if (shape.RowSpan(y, x0, x1)) raster::FillSpan(FSurface, clip, y, x0, x1 + 1, fill);
    }
  }
  if (PenVisible()) {
    TSpanSet outline(clip, FSurface, {ColorToDevice(FPen->Color()), FPen->Mode(), bsSolid});
    raster::EllipseOutline(outline, shape, box, width, FPen->Style() == psInsideFrame, raster::TSweep{});
    outline.Paint();
  }
  Changed();
}

// Arcs, pies and chords follow the outline path of their ellipse between
// the end points: the inside is the polygon of the path (closed through
// the centre for a pie, straight for a chord), the outline the path
// stroked with the pen.
void TCanvas::ArcFigure(int kind, TRect box, TPoint start, TPoint end) {
  const bool pen = PenVisible();
  const int width = FPen->Width();
  if (pen && FPen->Style() == psInsideFrame) {
    box = {box.Left + width / 2, box.Top + width / 2, box.Right - (width - 1) / 2, box.Bottom - (width - 1) / 2};
    if (box.IsEmpty()) return;
  }
  std::vector<TPoint> path = raster::ArcPath(box, start, end);
  if (path.empty()) return;
  if (kind == 2) path.push_back({box.Left + box.Width() / 2, box.Top + box.Height() / 2});
  const TRect clip = Reach(box, width, DeviceClip());
  if (clip.IsEmpty()) return;
  // A pie closes through the centre, a chord straight back to the start.
  PaintFigure(clip, pen ? std::span<const TPoint>(path) : std::span<const TPoint>{}, kind != 1,
              [&](const TSpanSink& span) {
                if (kind != 1) raster::PathRows(path, clip, span);
              });
}

void TCanvas::FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle) {
  if (!FSurface.Valid() || !BrushVisible()) return;
  const TRect clip = DeviceClip();
  const TPoint start = ToDevice(X, Y);
  const int sx = start.X, sy = start.Y;
  if (!clip.Contains({sx, sy})) return;
  const TPixel target = ColorToDevice(Color);
  auto fillable = [&](int x, int y) {
    const TPixel p = FSurface.Row(y)[x] & 0xFFFFFFu;
    return FillStyle == fsSurface ? p == target : p != target;
  };
  if (!fillable(sx, sy)) return;
  // Scan-line fill into a mask first, so that a brush of the target colour
  // cannot make the fill run forever.
  TMask region(clip);
  std::vector<TPoint> stack{{sx, sy}};
  while (!stack.empty()) {
    const TPoint p = stack.back();
    stack.pop_back();
    if (region.Get(p.X, p.Y) || !fillable(p.X, p.Y)) continue;
    int l = p.X, r = p.X;
    while (l - 1 >= clip.Left && !region.Get(l - 1, p.Y) && fillable(l - 1, p.Y)) --l;
    while (r + 1 < clip.Right && !region.Get(r + 1, p.Y) && fillable(r + 1, p.Y)) ++r;
    region.SetSpan(p.Y, l, r + 1);
    for (const int ny : {p.Y - 1, p.Y + 1}) {
      if (ny < clip.Top || ny >= clip.Bottom) continue;
      bool inRun = false;
      for (int x = l; x <= r; ++x) {
        const bool open = !region.Get(x, ny) && fillable(x, ny);
        if (open && !inRun) stack.push_back({x, ny});
        inRun = open;
      }
    }
  }
  region.Paint(FSurface, clip, {ColorToDevice(FBrush->Color()), pmCopy, FBrush->Style()});
  Changed();
}

// ---- pixels -------------------------------------------------------------------------

TColor TCanvas::Pixels(int X, int Y) const {
  const auto [x, y] = ToDevice(X, Y);
  if (!FSurface.Valid() || !FClip.Contains({x, y})) return CLR_INVALID;
  return PixelToColor(FSurface.Row(y)[x] & 0xFFFFFFu);
}

void TCanvas::SetPixels(int X, int Y, TColor Color) {
  const auto [x, y] = ToDevice(X, Y);
  if (!FSurface.Valid() || !FClip.Contains({x, y})) return;
  FSurface.Row(y)[x] = ColorToDevice(Color);
  Changed();
}

// ---- text ---------------------------------------------------------------------------

TSize TCanvas::TextExtent(std::string_view Text) const { return FFont->Instance().TextExtent(Text); }

void TCanvas::FillRotatedCell(int X, int Y, TSize extent, int orientation) {
  const TRect clip = DeviceClip();
  const TInk ink{ColorToDevice(FBrush->Color()), pmCopy, FBrush->Style()};
  if (orientation % 3600 == 0) {
    raster::FillBox(FSurface, clip, {X, Y, X + extent.cx, Y + extent.cy}, ink);
    return;
  }
  const double t = orientation / 10.0 * std::numbers::pi / 180.0;
  const double c = std::cos(t), s = std::sin(t);
  auto at = [&](double dx, double dy) { return raster::TPointF{X + dx * c + dy * s, Y - dx * s + dy * c}; };
  const raster::TPointF quad[4] = {at(0, 0), at(extent.cx, 0), at(extent.cx, extent.cy), at(0, extent.cy)};
  raster::ScanPolygon(std::span<const raster::TPointF>(quad, 4), true, clip,
                      [&](int y, int x0, int x1) { raster::FillSpan(FSurface, clip, y, x0, x1, ink); });
}

void TCanvas::DrawText(int X, int Y, std::string_view Text, const TRect& deviceClip) {
  if (deviceClip.IsEmpty() || Text.empty()) return;
  FFont->Instance().DrawText(FSurface, deviceClip, X, Y, Text, ColorToDevice(FFont->Color()));
}

void TCanvas::TextOut(int X, int Y, std::string_view Text) {
  const TSize extent = TextExtent(Text);
  if (FSurface.Valid()) {
    const auto [dx, dy] = ToDevice(X, Y);
    if (BrushVisible() && !Text.empty()) FillRotatedCell(dx, dy, extent, FFont->Orientation());
    DrawText(dx, dy, Text, DeviceClip());
    Changed();
  }
  FPenPos = {ClampCoord(X) + extent.cx, Y};
}

void TCanvas::TextRect(const TRect& Rect, int X, int Y, std::string_view Text) {
  if (!FSurface.Valid()) return;
  const TRect r = ToDevice(Rect);
  const TRect clip = IntersectRect(r, DeviceClip());
  if (clip.IsEmpty()) return;
  if (BrushVisible()) raster::FillBox(FSurface, clip, r, {ColorToDevice(FBrush->Color()), pmCopy, FBrush->Style()});
  const TPoint at = ToDevice(X, Y);
  DrawText(at.X, at.Y, Text, clip);
  Changed();
}

// ---- pictures -------------------------------------------------------------------------

void TCanvas::Draw(int X, int Y, const TGraphic* Graphic) {
  if (Graphic == nullptr || Graphic->Empty()) return;
  X = ClampCoord(X);
  Y = ClampCoord(Y);
  Graphic->DrawOn(*this, {X, Y, X + Graphic->Width(), Y + Graphic->Height()});
}

void TCanvas::StretchDraw(const TRect& Rect, const TGraphic* Graphic) {
  if (Graphic == nullptr || Graphic->Empty()) return;
  Graphic->DrawOn(*this, Rect);
}

void TCanvas::StretchFromSurface(const TRect& Dest, const TSurface& Source, const TRect& SourceRect,
                                 bool UseKey, TPixel Key) {
  if (!FSurface.Valid()) return;
  const TRect d = ToDevice(Dest);
  const TRect src{ClampCoord(SourceRect.Left), ClampCoord(SourceRect.Top), ClampCoord(SourceRect.Right),
                  ClampCoord(SourceRect.Bottom)};
  raster::TBlit b;
  b.Dest = &FSurface;
  b.DestClip = DeviceClip();
  b.DX = d.Left;
  b.DY = d.Top;
  b.DW = d.Width();
  b.DH = d.Height();
  b.Source = &Source;
  b.SX = src.Left;
  b.SY = src.Top;
  b.SW = src.Width();
  b.SH = src.Height();
  b.Rop = static_cast<std::uint32_t>(UseKey ? cmSrcCopy : FCopyMode);
  b.Halftone = FStretchBltMode == HALFTONE;
  b.Pattern = ColorToDevice(FBrush->Color());
  b.UseKey = UseKey;
  b.Key = Key;
  raster::StretchBlit(b);
  Changed();
}

bool TCanvas::StretchBlt(int X, int Y, int W, int H, const TCanvas* Source, int SX, int SY, int SW,
                         int SH, TCopyMode Rop) {
  if (!FSurface.Valid()) return false;
  raster::TBlit b;
  b.Dest = &FSurface;
  b.DestClip = DeviceClip();
  const TPoint d = ToDevice(X, Y);
  b.DX = d.X;
  b.DY = d.Y;
  b.DW = ClampCoord(W);
  b.DH = ClampCoord(H);
  if (Source != nullptr && Source->FSurface.Valid()) {
    const TPoint s = Source->ToDevice(SX, SY);
    b.Source = &Source->FSurface;
    b.SX = s.X;
    b.SY = s.Y;
    b.SW = ClampCoord(SW);
    b.SH = ClampCoord(SH);
  }
  b.Rop = static_cast<std::uint32_t>(Rop);
  b.Halftone = FStretchBltMode == HALFTONE;
  b.Pattern = ColorToDevice(FBrush->Color());
  raster::StretchBlit(b);
  Changed();
  return true;
}

void TCanvas::CopyRect(const TRect& Dest, const TCanvas* Canvas, const TRect& Source) {
  const TRect d = ClampRect(Dest), s = ClampRect(Source);
  StretchBlt(d.Left, d.Top, d.Width(), d.Height(), Canvas, s.Left, s.Top, s.Width(), s.Height(), FCopyMode);
}

int SetStretchBltMode(TCanvas* Canvas, int Mode) { return Canvas ? Canvas->SetStretchBltMode(Mode) : 0; }

bool StretchBlt(TCanvas* Dest, int X, int Y, int W, int H, const TCanvas* Source, int SX, int SY,
                int SW, int SH, TCopyMode Rop) {
  return Dest != nullptr && Dest->StretchBlt(X, Y, W, H, Source, SX, SY, SW, SH, Rop);
}

bool BitBlt(TCanvas* Dest, int X, int Y, int W, int H, const TCanvas* Source, int SX, int SY,
            TCopyMode Rop) {
  return Dest != nullptr && Dest->BitBlt(X, Y, W, H, Source, SX, SY, Rop);
}

}  // namespace vorn
