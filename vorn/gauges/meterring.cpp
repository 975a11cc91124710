#include "vorn/gauges/meterring.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vorn {
namespace {

// Pixels of a pie lie within this distance of its exact wedge, and pixels
// this far inside the inner radius are painted by the disk; boxes grow by
// it so that nothing the disk does not cover is cut off.
constexpr int kMargin = 6;

// The box of the part of the ring a pie paints and the disk leaves, grown
// by the margin; the whole ring's box when the sweep is not clear (an end
// at the centre, two ends in about the same direction: the pie may take
// the whole ellipse).
TRect SectionBox(int CX, int CY, int Outer, int Inner, const TRingSection& S) {
  const TRect whole{CX - Outer - kMargin, CY - Outer - kMargin, CX + Outer + 1 + kMargin, CY + Outer + kMargin};
  if (S.From == TPoint{CX, CY} || S.To == TPoint{CX, CY}) return whole;
  constexpr double kTurn = 2 * std::numbers::pi;
  const double a0 = std::atan2(static_cast<double>(CY) - S.From.Y, static_cast<double>(S.From.X) - CX);
  const double a1 = std::atan2(static_cast<double>(CY) - S.To.Y, static_cast<double>(S.To.X) - CX);
  double sweep = std::fmod(a1 - a0 + 2 * kTurn, kTurn);
  // Without a few outline pixels between the ends the pie may take the
  // whole ellipse.
  const double least = 0.01 + 4.0 / Outer;
  if (sweep < least || sweep > kTurn - least) return whole;
  double left = whole.Right, right = whole.Left, top = whole.Bottom, bottom = whole.Top;
  const auto add = [&](double A, double R) {
    const double x = CX + std::cos(A) * R, y = CY - std::sin(A) * R;
    left = std::min(left, x);
    right = std::max(right, x);
    top = std::min(top, y);
    bottom = std::max(bottom, y);
  };
  for (const double r : {static_cast<double>(Inner), static_cast<double>(Outer)}) {
    add(a0, r);
    add(a0 + sweep, r);
  }
  // The outer arc's turning points inside the sweep.
  const double firstQuarter = std::ceil(a0 / (kTurn / 4)) * (kTurn / 4);
  for (double a = firstQuarter; a < a0 + sweep; a += kTurn / 4) add(a, Outer);
  return IntersectRect(whole, {static_cast<int>(std::floor(left)) - kMargin, static_cast<int>(std::floor(top)) - kMargin,
                               static_cast<int>(std::ceil(right)) + 1 + kMargin,
                               static_cast<int>(std::ceil(bottom)) + 1 + kMargin});
}

// Back to the clip the canvas had: its whole area stays unnarrowed.
void RestoreClip(TCanvas& C, const TRect& Saved) {
  C.ResetClip();
  if (C.ClipRect() != Saved) C.SetClipRect(Saved);
}

}  // namespace

void PaintSectionRing(TCanvas& C, int CX, int CY, int Outer, int Inner, std::span<const TRingSection> Sections,
                      TColor Dial, const TRect& PlainDial) {
  const TRect saved = C.ClipRect();
  // Boxes only pay off on a ring of some width; a thin or odd ring is drawn
  // plainly.
  const bool boxed = Inner > 2 * kMargin && Outer - Inner > 2 && Outer < kMaxCanvasCoord / 2;
  TRect touched{};
  for (const TRingSection& s : Sections) {
    C.Pen()->SetColor(s.Color);
    C.Brush()->SetColor(s.Color);
    TRect area = saved;
    if (boxed) {
      area = IntersectRect(saved, SectionBox(CX, CY, Outer, Inner, s));
      if (area.IsEmpty()) continue;
      C.SetClipRect(area);
    }
    touched = touched.IsEmpty() ? area : UnionRect(touched, area);
    C.Pie(CX - Outer, CY - Outer, ClampCoord(CX + Outer + 1), CY + Outer, s.From.X, s.From.Y, s.To.X, s.To.Y);
  }
  RestoreClip(C, saved);
  C.Pen()->SetColor(Dial);
  C.Brush()->SetColor(Dial);
  const TRect disk{CX - Inner - 1, CY - Inner - 1, CX + Inner + 2, CY + Inner + 1};
  const auto clear = [&](const TRect& Area) {
    const TRect r = IntersectRect(Area, saved);
    if (r.IsEmpty()) return;
    C.SetClipRect(r);
    C.Ellipse(CX - Inner, CY - Inner, ClampCoord(CX + Inner + 1), CY + Inner);
  };
  if (!boxed || PlainDial.IsEmpty()) {
    C.Ellipse(CX - Inner, CY - Inner, ClampCoord(CX + Inner + 1), CY + Inner);
    return;
  }
  // What the pies reached, and the disk's parts beyond the plain area.
  clear(touched);
  const TRect& p = PlainDial;
  clear({disk.Left, disk.Top, disk.Right, std::min(disk.Bottom, p.Top)});
  clear({disk.Left, std::max(disk.Top, p.Bottom), disk.Right, disk.Bottom});
  clear({disk.Left, p.Top, std::min(disk.Right, p.Left), p.Bottom});
  clear({std::max(disk.Left, p.Right), p.Top, disk.Right, p.Bottom});
  RestoreClip(C, saved);
}

}  // namespace vorn
