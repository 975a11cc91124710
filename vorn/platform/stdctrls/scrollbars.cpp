#include "vorn/platform/stdctrls/scrollbars.h"

#include <algorithm>

#include "vorn/platform/stdctrls/bevels.h"

namespace vorn {

namespace {

// The arrow buttons and the track between them along a bar.
struct TBarLayout {
  int Start;   // first pixel of the bar along its length
  int Length;  // bar length
  int Arrow;   // length of each arrow button
  [[nodiscard]] int TrackStart() const { return Start + Arrow; }
  [[nodiscard]] int TrackLength() const { return std::max(0, Length - 2 * Arrow); }
};

TBarLayout LayoutOf(const TScrollBarState& S) {
  const int length = S.Vertical ? S.Bar.Height() : S.Bar.Width();
  const int arrow = std::min(ScrollBarThickness, length / 2);
  return {S.Vertical ? S.Bar.Top : S.Bar.Left, length, arrow};
}

}  // namespace

TRect ScrollBarThumb(const TScrollBarState& S) {
  const TBarLayout l = LayoutOf(S);
  if (S.Max <= 0 || l.TrackLength() < 8) return {0, 0, 0, 0};
  const int page = std::max(1, S.Page);
  const int value = std::clamp(S.Position, 0, S.Max);
  const auto track = static_cast<std::int64_t>(l.TrackLength());
  const int thumb = static_cast<int>(std::clamp<std::int64_t>(track * page / (S.Max + page), 8, track));
  const int pos = l.TrackStart() + static_cast<int>((track - thumb) * value / S.Max);
  if (S.Vertical) return {S.Bar.Left, pos, S.Bar.Right, pos + thumb};
  return {pos, S.Bar.Top, pos + thumb, S.Bar.Bottom};
}

TScrollBarPart ScrollBarPartAt(const TScrollBarState& S, TPoint P) {
  if (!S.Bar.Contains(P)) return TScrollBarPart::None;
  const TBarLayout l = LayoutOf(S);
  const int along = S.Vertical ? P.Y : P.X;
  if (along < l.TrackStart()) return TScrollBarPart::LineUp;
  if (along >= l.Start + l.Length - l.Arrow) return TScrollBarPart::LineDown;
  const TRect thumb = ScrollBarThumb(S);
  if (thumb.IsEmpty()) return TScrollBarPart::None;
  const int thumbStart = S.Vertical ? thumb.Top : thumb.Left;
  const int thumbEnd = S.Vertical ? thumb.Bottom : thumb.Right;
  if (along < thumbStart) return TScrollBarPart::PageUp;
  if (along >= thumbEnd) return TScrollBarPart::PageDown;
  return TScrollBarPart::Thumb;
}

int ScrollBarPositionAt(const TScrollBarState& S, int ThumbStart) {
  const TBarLayout l = LayoutOf(S);
  const TRect thumb = ScrollBarThumb(S);
  const int room = l.TrackLength() - (S.Vertical ? thumb.Height() : thumb.Width());
  if (S.Max <= 0 || room <= 0) return std::clamp(S.Position, 0, std::max(0, S.Max));
  const int offset = ThumbStart - l.TrackStart();
  return static_cast<int>(
      std::clamp<std::int64_t>((static_cast<std::int64_t>(offset) * S.Max + room / 2) / room, 0, S.Max));
}

void PaintScrollBar(TCanvas& C, const TScrollBarState& S) {
  const TBarLayout l = LayoutOf(S);
  C.Brush()->SetStyle(bsSolid);
  C.Brush()->SetColor(static_cast<TColor>(0xE8E8E8));
  C.FillRect(S.Bar);
  TRect first, second;
  if (S.Vertical) {
    first = {S.Bar.Left, l.Start, S.Bar.Right, l.Start + l.Arrow};
    second = {S.Bar.Left, S.Bar.Bottom - l.Arrow, S.Bar.Right, S.Bar.Bottom};
  } else {
    first = {l.Start, S.Bar.Top, l.Start + l.Arrow, S.Bar.Bottom};
    second = {S.Bar.Right - l.Arrow, S.Bar.Top, S.Bar.Right, S.Bar.Bottom};
  }
  DrawButtonFace(C, first);
  DrawButtonFace(C, second);
  DrawArrow(C, first, S.Vertical ? adUp : adLeft);
  DrawArrow(C, second, S.Vertical ? adDown : adRight);
  DrawButtonFace(C, ScrollBarThumb(S));
}

void DrawButtonFace(TCanvas& C, const TRect& R) {
  if (R.IsEmpty()) return;
  C.Brush()->SetStyle(bsSolid);
  C.Brush()->SetColor(clBtnFace);
  C.FillRect(R);
  TRect r = R;
  Frame3D(C, r, clBtnHighlight, cl3DDkShadow, 1);
  Frame3D(C, r, cl3DLight, clBtnShadow, 1);
}

void DrawArrow(TCanvas& C, const TRect& R, TArrowDirection Direction) {
  const int cx = (R.Left + R.Right) / 2;
  const int cy = (R.Top + R.Bottom) / 2;
  C.Pen()->SetColor(clBlack);
  C.Brush()->SetStyle(bsSolid);
  C.Brush()->SetColor(clBlack);
  TPoint pts[3];
  switch (Direction) {
    case adUp: pts[0] = {cx - 3, cy + 1}; pts[1] = {cx + 3, cy + 1}; pts[2] = {cx, cy - 2}; break;
    case adDown: pts[0] = {cx - 3, cy - 1}; pts[1] = {cx + 3, cy - 1}; pts[2] = {cx, cy + 2}; break;
    case adLeft: pts[0] = {cx + 1, cy - 3}; pts[1] = {cx + 1, cy + 3}; pts[2] = {cx - 2, cy}; break;
    default: pts[0] = {cx - 1, cy - 3}; pts[1] = {cx - 1, cy + 3}; pts[2] = {cx + 2, cy}; break;
  }
  C.Polygon(pts);
}

}  // namespace vorn
