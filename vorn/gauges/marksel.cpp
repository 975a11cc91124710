#include "vorn/gauges/marksel.h"

#include <algorithm>

namespace vorn {
namespace {

constexpr int kMaxGrid = 51;
constexpr TColor kDisabledMarks = 0x808080;
constexpr TColor kDisabledBackground = 0xC0C0C0;
constexpr TColor kDisabledSelBackground = 0xDEDEDE;

}  // namespace

TMarkSel::TMarkSel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csOpaque);
  FMarkVis.fill(true);
  SetBounds(Left(), Top(), 236, 178);
}

// ---- properties ---------------------------------------------------------------------------

void TMarkSel::Changed() { Paint(); }

void TMarkSel::SetNrOfColumns(int Value) {
  if (Value == FNrCols || Value < 1 || Value > kMaxGrid) return;
  FNrCols = Value;
  Changed();
}

void TMarkSel::SetNrOfRows(int Value) {
  if (Value == FNrRows || Value < 1 || Value > kMaxGrid) return;
  FNrRows = Value;
  Changed();
}

#define VORN_MARKSEL_SETTER(Setter, Type, Field) \
  void TMarkSel::Setter(Type Value) {            \
    if (Value == Field) return;                  \
    Field = Value;                               \
    Changed();                                   \
  }

VORN_MARKSEL_SETTER(SetColorBackGnd, TColor, FColorBG)
VORN_MARKSEL_SETTER(SetColorMarks, TColor, FColorFG)
VORN_MARKSEL_SETTER(SetColorHiLiteBG, TColor, FColorHiLite)
VORN_MARKSEL_SETTER(SetColorHiLiteSymbol, TColor, FColorHiSymb)
VORN_MARKSEL_SETTER(SetColorSelBG, TColor, FColorSelBG)
VORN_MARKSEL_SETTER(SetColorSelFG, TColor, FColorSelFG)
#undef VORN_MARKSEL_SETTER

void TMarkSel::SetFrameStyle(TFrameStyle Value) {
  if (Value == FFrameStyle || Value > fsEngraved) return;
  FFrameStyle = Value;
  Changed();
}

void TMarkSel::SetSelected(int Value) {
  if (Value == FSelected || Value < -1 || Value >= NumPlotMarks) return;
  FSelected = Value;
  Changed();
}

void TMarkSel::SetEnabled(bool Value) {
  FEnabled = Value;
  TGraphicControl::SetEnabled(Value);
  Invalidate();
}

void TMarkSel::SetShowZeroAsCross(bool Value) {
  FZeroAsCross = Value;
  Invalidate();
}

bool TMarkSel::GetVis(int ix) const {
  if (ix < 0 || ix >= NumPlotMarks) ix = 0;
  return FMarkVis[static_cast<std::size_t>(ix)];
}

void TMarkSel::SetVis(int ix, bool Value) {
  if (ix < 1 || ix >= NumPlotMarks) return;
  FMarkVis[static_cast<std::size_t>(ix)] = Value;
  Changed();
}

void TMarkSel::ShowAllMarks() {
  std::fill(FMarkVis.begin() + 1, FMarkVis.end(), true);
  Changed();
}

void TMarkSel::HideAllMarks() {
  std::fill(FMarkVis.begin() + 1, FMarkVis.end(), false);
  Changed();
}

// ---- layout ---------------------------------------------------------------------------------

void TMarkSel::Layout() const {
  // A control narrower than its frame has cells of no size rather than
  // negative ones.
  FMarkDistHorz = std::max(0, (Width() - 4) / FNrCols);
  FMarkDistVert = std::max(0, (Height() - 4) / FNrRows);
  FMarkMarginHorz = FMarkDistHorz / 2;
  FMarkMarginVert = FMarkDistVert / 2;
  int n = 0;
  for (int ix = 0; ix < NumPlotMarks; ++ix) {
    if (!FMarkVis[static_cast<std::size_t>(ix)]) continue;
    FMarkCoords[static_cast<std::size_t>(ix)] = {FMarkMarginHorz + FMarkDistHorz * (n % FNrCols),
                                                 FMarkMarginVert + FMarkDistVert * (n / FNrCols)};
    ++n;
  }
}

TPoint TMarkSel::MarkCoords(int ix) const {
  if (ix < 0 || ix >= NumPlotMarks) return {};
  Layout();
  return FMarkCoords[static_cast<std::size_t>(ix)];
}

int TMarkSel::NearestMark(int X, int Y) const {
  Layout();
  double best = 1e10;
  int mark = 0;
  for (int ix = 0; ix < NumPlotMarks; ++ix) {
    if (!FMarkVis[static_cast<std::size_t>(ix)]) continue;
    const TPoint p = FMarkCoords[static_cast<std::size_t>(ix)];
    const double dx = static_cast<double>(X) - p.X;
    const double dy = static_cast<double>(Y) - p.Y;
    const double d = dx * dx + dy * dy;
    if (d < best) {
      best = d;
      mark = ix;
    }
  }
  return mark;
}

// ---- drawing ---------------------------------------------------------------------------------

// The mark's symbol in the pen's colour: mark 0 as a cross over the first
// cell (where mark 0 always sits), the others through the base routine.
void TMarkSel::DrawMark(TCanvas& C, int ix) const {
  if (ix == 0 && FZeroAsCross) {
    C.MoveTo(4, 4);
    C.LineTo(FMarkDistHorz + 1, FMarkDistVert + 1);
    C.MoveTo(4, FMarkDistVert);
    C.LineTo(FMarkDistHorz + 1, 3);
    return;
  }
  const TPoint p = FMarkCoords[static_cast<std::size_t>(ix)];
  DrawMarkOnCanvas(&C, ix, p.X + 2, p.Y + 2);
}

// The cell box of a mark: Grow pixels more on the top-left edge than the
// cell's half size, Shift pixels on the bottom-right edge.
void TMarkSel::DrawCellBox(TCanvas& C, int ix, int Grow, int Shift) const {
  const TPoint p = FMarkCoords[static_cast<std::size_t>(ix)];
  C.Rectangle(p.X - FMarkMarginHorz + Grow, p.Y - FMarkMarginVert + Grow, p.X + FMarkMarginHorz + Shift,
              p.Y + FMarkMarginVert + Shift);
}

void TMarkSel::DrawMarks(TBitmap& Bitmap) {
  const int W = Width();
  const int H = Height();
  const TColor marks = FEnabled ? FColorFG : kDisabledMarks;
  const TColor background = FEnabled ? FColorBG : kDisabledBackground;
  const TColor selMarks = FEnabled ? FColorSelFG : kDisabledMarks;
  const TColor selBackground = FEnabled ? FColorSelBG : kDisabledSelBackground;
  TCanvas& C = *Bitmap.Canvas();
  C.Pen()->SetStyle(psSolid);
  C.Pen()->SetMode(pmCopy);
  C.Pen()->SetWidth(1);
  C.Pen()->SetColor(background);
  C.Brush()->SetColor(background);
  C.Rectangle(0, 0, W, H);
  Layout();
  for (int ix = 0; ix < NumPlotMarks; ++ix) {
    if (!FMarkVis[static_cast<std::size_t>(ix)]) continue;
    if (ix == FSelected) {
      C.Pen()->SetColor(selMarks);
      C.Brush()->SetColor(selBackground);
      DrawCellBox(C, ix, 3, 3);
    } else {
      C.Pen()->SetColor(marks);
      C.Brush()->SetColor(background);
    }
    DrawMark(C, ix);
  }
  DrawFrame(&C, FFrameStyle, 0, 0, W - 1, H - 1, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x000000, background);
}

void TMarkSel::Paint() {
  TCanvas* target = Canvas();
  if (target == nullptr || !target->HandleAllocated() || Width() <= 0 || Height() <= 0) return;
  if (!FOffScreen) FOffScreen = std::make_unique<TBitmap>();
  if (FOffScreen->Width() != Width() || FOffScreen->Height() != Height()) FOffScreen->SetSize(Width(), Height());
  DrawMarks(*FOffScreen);
  target->SetCopyMode(cmSrcCopy);
  target->Draw(0, 0, FOffScreen.get());
  if (FOnPaint) FOnPaint(this);
}

void TMarkSel::HiLite(int ix) {
  if (ix < 0 || ix >= NumPlotMarks) return;
  FLastHiLite = ix;
  TCanvas* C = Canvas();
  if (C == nullptr || !C->HandleAllocated()) return;
  Layout();
  C->Pen()->SetColor(FColorHiLite);
  C->Brush()->SetColor(FColorHiLite);
  DrawCellBox(*C, ix, 4, 2);
  C->Pen()->SetColor(FColorHiSymb);
  DrawMark(*C, ix);
}

void TMarkSel::ResetLastHiLite() {
  TCanvas* C = Canvas();
  if (C == nullptr || !C->HandleAllocated()) return;
  Layout();
  const bool selected = FLastHiLite == FSelected;
  C->Pen()->SetColor(selected ? FColorSelFG : FColorBG);
  C->Brush()->SetColor(selected ? FColorSelBG : FColorBG);
  DrawCellBox(*C, FLastHiLite, 3, 3);
  C->Pen()->SetColor(selected ? FColorSelFG : FColorFG);
  DrawMark(*C, FLastHiLite);
}

// ---- mouse -------------------------------------------------------------------------------------

void TMarkSel::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  const int mark = NearestMark(X, Y);
  if (mark == FLastHiLite) return;
  ResetLastHiLite();
  HiLite(mark);
}

void TMarkSel::WndProc(TMessage& Message) {
  TGraphicControl::WndProc(Message);
  if (Message.Msg == WM_LBUTTONUP) {
    WMMarkClick(LParamToPoint(Message.LParam), FOnMarkClick);
  } else if (Message.Msg == WM_LBUTTONDBLCLK) {
    WMMarkClick(LParamToPoint(Message.LParam), FOnMarkDblClick);
  }
}

void TMarkSel::WMMarkClick(TPoint P, const TMarkClickEvent& Event) {
  if (P.X == -1 && P.Y == -1) return;
  const int mark = NearestMark(P.X, P.Y);
  FSelected = mark;
  if (Event) Event(this, P.X, P.Y, mark);
  Paint();
  HiLite(mark);
}

}  // namespace vorn
