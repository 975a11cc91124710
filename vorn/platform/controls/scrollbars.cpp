#include "vorn/platform/controls/scrollbars.h"

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

TBarLayout LayoutOf(const TRect& Bar, bool Vertical) {
  const int length = Vertical ? Bar.Height() : Bar.Width();
  const int arrow = std::min(ScrollBarSize, length / 2);
  return {Vertical ? Bar.Top : Bar.Left, length, arrow};
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

// A small filled triangle pointing in one of four directions (0 up,
// 1 down, 2 left, 3 right), centred in R.
void DrawArrow(TCanvas& C, const TRect& R, int Direction) {
  const int cx = (R.Left + R.Right) / 2;
  const int cy = (R.Top + R.Bottom) / 2;
  C.Pen()->SetColor(clBlack);
  C.Brush()->SetColor(clBlack);
  TPoint pts[3];
  switch (Direction) {
    case 0: pts[0] = {cx - 3, cy + 1}; pts[1] = {cx + 3, cy + 1}; pts[2] = {cx, cy - 2}; break;
    case 1: pts[0] = {cx - 3, cy - 1}; pts[1] = {cx + 3, cy - 1}; pts[2] = {cx, cy + 2}; break;
    case 2: pts[0] = {cx + 1, cy - 3}; pts[1] = {cx + 1, cy + 3}; pts[2] = {cx - 2, cy}; break;
    default: pts[0] = {cx - 1, cy - 3}; pts[1] = {cx - 1, cy + 3}; pts[2] = {cx + 2, cy}; break;
  }
  C.Polygon(pts);
}

}  // namespace

TRect ScrollThumbRect(const TRect& Bar, bool Vertical, int Value, int Max, int Page) {
  const TBarLayout l = LayoutOf(Bar, Vertical);
  if (Max <= 0 || l.TrackLength() < 8) return {0, 0, 0, 0};
  Page = std::max(1, Page);
  Value = std::clamp(Value, 0, Max);
  const auto track = static_cast<std::int64_t>(l.TrackLength());
  const int thumb = static_cast<int>(std::clamp<std::int64_t>(track * Page / (static_cast<std::int64_t>(Max) + Page), 8, track));
  const int pos = l.TrackStart() + static_cast<int>((track - thumb) * Value / Max);
  if (Vertical) return {Bar.Left, pos, Bar.Right, pos + thumb};
  return {pos, Bar.Top, pos + thumb, Bar.Bottom};
}

void PaintScrollBar(TCanvas& C, const TRect& Bar, bool Vertical, const TRect& Thumb) {
  const TBarLayout l = LayoutOf(Bar, Vertical);
  C.Brush()->SetStyle(bsSolid);
  C.Brush()->SetColor(static_cast<TColor>(0xE8E8E8));
  C.FillRect(Bar);
  TRect first, second;
  if (Vertical) {
    first = {Bar.Left, l.Start, Bar.Right, l.Start + l.Arrow};
    second = {Bar.Left, Bar.Bottom - l.Arrow, Bar.Right, Bar.Bottom};
  } else {
    first = {l.Start, Bar.Top, l.Start + l.Arrow, Bar.Bottom};
    second = {Bar.Right - l.Arrow, Bar.Top, Bar.Right, Bar.Bottom};
  }
  DrawButtonFace(C, first);
  DrawButtonFace(C, second);
  DrawArrow(C, first, Vertical ? 0 : 2);
  DrawArrow(C, second, Vertical ? 1 : 3);
  DrawButtonFace(C, Thumb);
}

int ScrollValueAt(const TRect& Bar, bool Vertical, const TRect& Thumb, int Along, int Max) {
  const TBarLayout l = LayoutOf(Bar, Vertical);
  const int room = l.TrackLength() - (Vertical ? Thumb.Height() : Thumb.Width());
  if (Max <= 0 || room <= 0) return -1;
  const int offset = Along - l.TrackStart();
  return static_cast<int>(std::clamp<std::int64_t>((static_cast<std::int64_t>(offset) * Max + room / 2) / room, 0, Max));
}

TScrollBarPart ScrollBarPartAt(const TRect& Bar, bool Vertical, const TRect& Thumb, TPoint P) {
  if (!Bar.Contains(P)) return TScrollBarPart::None;
  const TBarLayout l = LayoutOf(Bar, Vertical);
  const int along = Vertical ? P.Y : P.X;
  if (along < l.TrackStart()) return TScrollBarPart::LineUp;
  if (along >= l.Start + l.Length - l.Arrow) return TScrollBarPart::LineDown;
  if (Thumb.IsEmpty()) return TScrollBarPart::None;
  const int thumbStart = Vertical ? Thumb.Top : Thumb.Left;
  const int thumbEnd = Vertical ? Thumb.Bottom : Thumb.Right;
  if (along < thumbStart) return TScrollBarPart::PageUp;
  if (along >= thumbEnd) return TScrollBarPart::PageDown;
  return TScrollBarPart::Thumb;
}

}  // namespace vorn
