#include "vorn/gauges/progbar.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "vorn/numio/numformat.h"

namespace vorn {
namespace {

constexpr std::uintptr_t kAutoIncTimer = 1;
constexpr int kMinInterval = 10;
// A bar longer than this many pixels looks the same as one of this length
// in any control; limiting it keeps the integer arithmetic safe for huge
// and infinite values.
constexpr double kMaxBarLength = 1 << 24;

int RoundToInt(double X) { return static_cast<int>(std::nearbyint(X)); }

std::uint8_t Channel(TColor C, int Shift) { return static_cast<std::uint8_t>((C >> Shift) & 0xFF); }

// The pixels LineTo sets from (X1, Y1) to (X2, Y2) on a horizontal or
// vertical line (the end point left out), filled as a rectangle: the bar's
// frames and grid are all such lines, and a fill is far cheaper.
void AxisLine(TCanvas& C, TColor Color, int X1, int Y1, int X2, int Y2) {
  C.Brush()->SetColor(Color);
  if (Y1 == Y2) {
    C.FillRect(X2 > X1 ? TRect{X1, Y1, X2, Y1 + 1} : TRect{X2 + 1, Y1, X1 + 1, Y1 + 1});
  } else {
    C.FillRect(Y2 > Y1 ? TRect{X1, Y1, X1 + 1, Y2} : TRect{X1, Y2 + 1, X1 + 1, Y1 + 1});
  }
}

// The outline Rectangle draws with a clear brush: columns X1..X2-1 and
// rows Y1..Y2-1.
void Outline(TCanvas& C, TColor Color, int X1, int Y1, int X2, int Y2) {
  if (X2 <= X1 || Y2 <= Y1) return;
  C.Brush()->SetColor(Color);
  C.FillRect({X1, Y1, X2, Y1 + 1});
  C.FillRect({X1, Y2 - 1, X2, Y2});
  C.FillRect({X1, Y1, X1 + 1, Y2});
  C.FillRect({X2 - 1, Y1, X2, Y2});
}

// Draws a strip one pixel thick at position Pos along the bar and copies
// it across the thickness From..To (clipped to the canvas), doubling the
// copied part each time: a few plain block copies instead of a line per
// colour.
void SpreadStrip(TCanvas& C, const TBitmap& Strip, bool Vertical, int Pos, int Count, int From, int To) {
  const TRect bounds = C.ClipRect();
  From = std::max(From, Vertical ? bounds.Left : bounds.Top);
  To = std::min(To, Vertical ? bounds.Right : bounds.Bottom);
  if (To <= From) return;
  const auto span = [&](int A, int B) {
    return Vertical ? TRect{A, Pos, B, Pos + Count} : TRect{Pos, A, Pos + Count, B};
  };
  if (Vertical) {
    C.Draw(From, Pos, &Strip);
  } else {
    C.Draw(Pos, From, &Strip);
  }
  for (int done = 1; done < To - From; done *= 2) {
    const int n = std::min(done, To - From - done);
    C.CopyRect(span(From + done, From + done + n), &C, span(From, From + n));
  }
}

}  // namespace

TColor ColorBlend(TColor C1, TColor C2, double Fraction) {
  const double x = std::isnan(Fraction) ? 0.0 : std::clamp(Fraction, 0.0, 1.0);
  TColor result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int a = Channel(C1, shift);
    const int b = Channel(C2, shift);
    const int mixed = a + static_cast<int>(std::trunc((b - a) * x));
    result |= static_cast<TColor>(mixed) << shift;
  }
  return result;
}

// ---- life cycle ------------------------------------------------------------------------

TProgBar::TProgBar(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csOpaque);
  SetBounds(Left(), Top(), 300, 28);
  AuxBmp = std::make_unique<TBitmap>(10, 10);
  FBarColorArray[0] = 0xFF0000;
  FBarColorArray[ColorTableSize - 1] = 0x0000FF;
  RebuildColorTable();
  FTimerHandle = AllocateHWnd([this](TMessage& Message) { TimerWndProc(Message); });
}

TProgBar::~TProgBar() {
  KillTimer(FTimerHandle, kAutoIncTimer);
  DeallocateHWnd(FTimerHandle);
}

void TProgBar::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TProgBar*>(Source);
  if (src == nullptr) {
    TGraphicControl::Assign(Source);
    return;
  }
  if (src == this) return;
  FOuterFrameSt = src->FOuterFrameSt;
  FInnerFrameSt = src->FInnerFrameSt;
  FProgValue = src->FProgValue;
  FProgMin = src->FProgMin;
  FProgMax = src->FProgMax;
  FColorMargin = src->FColorMargin;
  FColorScheme = src->FColorScheme;
  FColBlackLine = src->FColBlackLine;
  FColGrayLine = src->FColGrayLine;
  FColWhiteLine = src->FColWhiteLine;
  FDirection = src->FDirection;
  FBarColorArray = src->FBarColorArray;
  AuxBmp->Assign(src->AuxBmp.get());
  FColorBakG = src->FColorBakG;
  FColorGrad = src->FColorGrad;
  FColorGrid = src->FColorGrid;
  FGridDist = src->FGridDist;
  FColorMapMode = src->FColorMapMode;
  FMarginLeft = src->FMarginLeft;
  FMarginRight = src->FMarginRight;
  FMarginTop = src->FMarginTop;
  FMarginBottom = src->FMarginBottom;
  FBakGndFile = src->FBakGndFile;
  FTextPosX = src->FTextPosX;
  FTextPosY = src->FTextPosY;
  FTextDecPlaces = src->FTextDecPlaces;
  FTextAngle = src->FTextAngle;
  FAlignment = src->FAlignment;
  FOnShowValue = src->FOnShowValue;
  FShowValue = src->FShowValue;
  Changed();
}

void TProgBar::AssignTo(TPersistent* Dest) const {
  if (auto* dest = dynamic_cast<TProgBar*>(Dest)) {
    dest->Assign(this);
    return;
  }
  TGraphicControl::AssignTo(Dest);
}

// Every visible change paints at once, as the bar is often driven from a
// loop that gives the host no chance to repaint.
void TProgBar::Changed() { Paint(); }

// ---- value and range -----------------------------------------------------------------------

void TProgBar::SetValue(double Value) {
  if (Value == FProgValue) return;
  FProgValue = Value;
  Changed();
}

void TProgBar::SetMin(double Value) {
  if (Value == FProgMin) return;
  FProgMin = Value;
  Changed();
}

void TProgBar::SetMax(double Value) {
  if (Value == FProgMax) return;
  FProgMax = Value;
  Changed();
}

void TProgBar::SetRange(double AMin, double AMax) {
  FProgMin = std::min(AMin, AMax);
  FProgMax = std::max(AMin, AMax);
  Changed();
}

void TProgBar::SetDirection(TDirection Value) {
  if (Value > diRight || Value == FDirection) return;
  FDirection = Value;
  Changed();
}

// ---- colours ---------------------------------------------------------------------------------

#define VORN_PROGBAR_SETTER(Setter, Type, Field) \
  void TProgBar::Setter(Type Value) {            \
    if (Value == Field) return;                  \
    Field = Value;                               \
    Changed();                                   \
  }

VORN_PROGBAR_SETTER(SetColorBackGnd, TColor, FColorBakG)
VORN_PROGBAR_SETTER(SetColorMargin, TColor, FColorMargin)
VORN_PROGBAR_SETTER(SetColorGrid, TColor, FColorGrid)
VORN_PROGBAR_SETTER(SetShowColorGradient, bool, FColorGrad)
VORN_PROGBAR_SETTER(SetGridDist, int, FGridDist)
VORN_PROGBAR_SETTER(SetMarginLeft, int, FMarginLeft)
VORN_PROGBAR_SETTER(SetMarginRight, int, FMarginRight)
VORN_PROGBAR_SETTER(SetMarginTop, int, FMarginTop)
VORN_PROGBAR_SETTER(SetMarginBottom, int, FMarginBottom)
VORN_PROGBAR_SETTER(SetTextAlignment, TAlignment, FAlignment)
#undef VORN_PROGBAR_SETTER

void TProgBar::SetColorMapMode(TColorMapping Value) {
  if (Value > cgmMove || Value == FColorMapMode) return;
  FColorMapMode = Value;
  Changed();
}

void TProgBar::SetFrameStyleOuter(TFrameStyle Value) {
  if (Value > fsEngraved || Value == FOuterFrameSt) return;
  FOuterFrameSt = Value;
  Changed();
}

void TProgBar::SetFrameStyleInner(TFrameStyle Value) {
  if (Value > fsEngraved || Value == FInnerFrameSt) return;
  FInnerFrameSt = Value;
  Changed();
}

void TProgBar::SetColorScheme(TColorScheme Value) {
  if (Value == FColorScheme) return;
  FColorScheme = Value;
  FColGrayLine = Value == csBWG ? 0x808080 : clBtnShadow;
  FColWhiteLine = Value == csBWG ? 0xFFFFFF : clBtnHighlight;
  Changed();
}

void TProgBar::RebuildColorTable() {
  const TColor first = FBarColorArray[0];
  const TColor last = FBarColorArray[ColorTableSize - 1];
  for (int i = 1; i < ColorTableSize - 1; ++i) {
    FBarColorArray[static_cast<std::size_t>(i)] = ColorBlend(first, last, i / 1023.0);
  }
}

void TProgBar::SetColorMin(TColor Value) {
  FBarColorArray[0] = Value;
  RebuildColorTable();
  Changed();
}

void TProgBar::SetColorMax(TColor Value) {
  FBarColorArray[ColorTableSize - 1] = Value;
  RebuildColorTable();
  Changed();
}

TColor TProgBar::GetBarColorElem(int ix) const {
  if (ix < 0 || ix >= ColorTableSize) return 0;
  return FBarColorArray[static_cast<std::size_t>(ix)];
}

void TProgBar::SetBarColorElem(int ix, TColor Value) {
  if (ix < 0 || ix >= ColorTableSize) return;
  FBarColorArray[static_cast<std::size_t>(ix)] = Value;
}

void TProgBar::SetBackGroundImg(const std::string& Value) {
  if (Value.empty()) {
    FBakGndFile.clear();
  } else {
    // Read aside, so that a file that cannot be read keeps the old picture.
    auto picture = std::make_unique<TBitmap>();
    try {
      picture->LoadFromFile(Value);
    } catch (const std::exception&) {
      return;
    }
    AuxBmp = std::move(picture);
    FBakGndFile = Value;
  }
  Changed();
}

// ---- value text --------------------------------------------------------------------------------

void TProgBar::SetTextVisible(bool Value) {
  FShowValue = Value;
  Changed();
}

void TProgBar::SetTextPosX(int Value) {
  FTextPosX = std::clamp(Value, 0, std::max(0, Width()));
  Changed();
}

void TProgBar::SetTextPosY(int Value) {
  FTextPosY = std::clamp(Value, 0, std::max(0, Height()));
  Changed();
}

void TProgBar::SetTextDecPlaces(int Value) {
  FTextDecPlaces = std::clamp(Value, -2, 10);
  Changed();
}

void TProgBar::SetTextAngle(int Value) {
  FTextAngle = std::clamp(Value, 0, 360);
  Changed();
}

std::string TProgBar::ValueText() const {
  if (FTextDecPlaces >= 0) return FormatReal(1, FTextDecPlaces, FProgValue);
  if (FTextDecPlaces == -1) return FormatReal(1, -2, FProgValue);
  if (std::isnan(FProgValue)) return "NaN";
  if (std::isinf(FProgValue)) return FProgValue > 0 ? "Inf" : "-Inf";
  char text[40];
  std::snprintf(text, sizeof text, "%.14E", FProgValue);
  return text;
}

TPoint TProgBar::TextOrigin(TAlignment Alignment, int X, int Y, int TextW, int HalfH, int AngleDeg) {
  const double a = AngleDeg * std::numbers::pi / 180.0;
  const double s = std::sin(a);
  const double c = std::cos(a);
  const int m = TextW / 2;
  const double along = Alignment == taLeftJustify ? 0.0 : Alignment == taCenter ? m : 2.0 * m;
  return {X + RoundToInt(-along * c - HalfH * s), Y + RoundToInt(along * s - HalfH * c)};
}

// ---- auto increment ------------------------------------------------------------------------------

void TProgBar::SetAutoInc(bool Value) {
  if (Value == FTimerEnabled) return;
  FTimerEnabled = Value;
  if (Designing()) return;
  if (Value) {
    InitTimer();
  } else {
    KillTimer(FTimerHandle, kAutoIncTimer);
  }
}

void TProgBar::SetAutoIncStep(double Value) {
  if (Value == 0.0 || Value == FAutoIncStep) return;
  FAutoIncStep = Value;
}

void TProgBar::SetStartInterval(int Value) {
  Value = std::max(Value, kMinInterval);
  if (Value == FStartIv) return;
  FStartIv = Value;
  if (!Designing()) InitTimer();
}

void TProgBar::SetRepeatInterval(int Value) {
  Value = std::max(Value, kMinInterval);
  if (Value == FRepeatIv) return;
  FRepeatIv = Value;
  if (!Designing()) UpdateTimer();
}

void TProgBar::SetOnAutoInc(TNotifyEvent E) {
  FOnAutoInc = std::move(E);
  if (!Designing()) UpdateTimer();
}

void TProgBar::StartTimer(int Interval) {
  if (SetTimer(FTimerHandle, kAutoIncTimer, static_cast<unsigned>(Interval), nullptr) == 0) {
    throw EVORNProgBar("Component \"" + Name() + "\": no timer available");
  }
}

void TProgBar::InitTimer() {
  FIsStart = true;
  KillTimer(FTimerHandle, kAutoIncTimer);
  if (FStartIv > 0 && FTimerEnabled) StartTimer(FStartIv);
}

void TProgBar::UpdateTimer() {
  FIsStart = false;
  KillTimer(FTimerHandle, kAutoIncTimer);
  if (FRepeatIv > 0 && FTimerEnabled) StartTimer(FRepeatIv);
}

void TProgBar::AutoIncEvent() {
  FProgValue += FAutoIncStep;
  Changed();
}

void TProgBar::DoTimer() {
  if (FIsStart) UpdateTimer();
  AutoIncEvent();
  if (FOnAutoInc) FOnAutoInc(this);
}

void TProgBar::TimerWndProc(TMessage& Message) {
  if (Message.Msg != WM_TIMER) {
    Message.Result = DefWindowProc(FTimerHandle, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  try {
    DoTimer();
  } catch (...) {
    Application()->HandleException(this);
  }
}

// ---- geometry -------------------------------------------------------------------------------------

TRect TProgBar::BarArea() const {
  return {FMarginLeft, FMarginTop, Width() - FMarginRight, Height() - FMarginBottom};
}

double TProgBar::Fraction() const {
  if (std::isnan(FProgValue)) return 0.0;
  if (FProgMax == FProgMin) return FProgValue <= FProgMin ? 0.0 : 1.0;
  return (FProgValue - FProgMin) / (FProgMax - FProgMin);
}

TRect TProgBar::FilledRect() const {
  const TRect a = BarArea();
  const bool vertical = FDirection == diUp || FDirection == diDown;
  const int full = vertical ? a.Height() : a.Width();
  double length = full * Fraction();
  if (std::isnan(length)) length = 0.0;  // an infinite range times zero
  const int len = std::max(0, RoundToInt(std::clamp(length, -kMaxBarLength, kMaxBarLength)));
  switch (FDirection) {
    case diUp: return {a.Left, a.Bottom - len, a.Right, a.Bottom};
    case diDown: return {a.Left, a.Top, a.Right, a.Top + len};
    case diLeft: return {a.Right - len, a.Top, a.Right, a.Bottom};
    default: return {a.Left, a.Top, a.Left + len, a.Bottom};
  }
}

int TProgBar::GradientIndex(int n, int Len, int Full) const {
  int ix = 0;
  switch (FColorMapMode) {
    case cgmCover: ix = Full > 0 ? RoundToInt(n * 1023.0 / Full) : 1023; break;
    case cgmStretch: ix = Len > 0 ? RoundToInt(n * 1023.0 / Len) : 0; break;
    case cgmMove:
      ix = Full > 0 ? RoundToInt(n * 1023.0 / Full) - RoundToInt((Len - 1) * 1023.0 / Full) + 1023 : 1023;
      break;
  }
  return std::clamp(ix, 0, ColorTableSize - 1);
}

// ---- painting ----------------------------------------------------------------------------------------

void TProgBar::Paint() {
  if (!Visible() && !Designing()) return;
  TCanvas* target = Canvas();
  if (target == nullptr || !target->HandleAllocated() || Width() <= 0 || Height() <= 0) return;
  if (!FOffScreen) FOffScreen = std::make_unique<TBitmap>();
  if (FOffScreen->Width() != Width() || FOffScreen->Height() != Height()) FOffScreen->SetSize(Width(), Height());
  PaintTo(*FOffScreen->Canvas());
  target->SetCopyMode(cmSrcCopy);
  target->Draw(0, 0, FOffScreen.get());
}

void TProgBar::PaintTo(TCanvas& C) const {
  const int W = Width();
  const int H = Height();
  C.SetCopyMode(cmSrcCopy);
  C.Pen()->SetStyle(psSolid);
  C.Pen()->SetWidth(1);
  C.Pen()->SetMode(pmCopy);
  C.Brush()->SetStyle(bsSolid);
  C.Pen()->SetColor(FColorMargin);
  C.Brush()->SetColor(FColorMargin);
  C.Rectangle(0, 0, W, H);
  const TRect area = BarArea();
  if (area.Width() > 0 && area.Height() > 0) {
    C.Pen()->SetColor(FColorBakG);
    C.Brush()->SetColor(FColorBakG);
    C.Rectangle(area);
    if (!FBakGndFile.empty() && !AuxBmp->Empty()) C.StretchDraw(area, AuxBmp.get());
    PaintBar(C, area);
  }
  PaintFrame(C, FInnerFrameSt, {area.Left - 2, area.Top - 2, area.Right + 2, area.Bottom + 2});
  PaintFrame(C, FOuterFrameSt, {0, 0, W, H});
  if (FShowValue) PaintValueText(C);
}

// The filled part, line by line from the bar's base when drawn as a
// gradient; only the lines inside the control are visited, so a huge
// value costs no more than a full bar.
void TProgBar::PaintBar(TCanvas& C, const TRect& Area) const {
  const TRect filled = FilledRect();
  if (!FColorGrad) {
    if (filled.Width() > 0 && filled.Height() > 0) {
      C.Pen()->SetColor(FBarColorArray[0]);
      C.Brush()->SetColor(FBarColorArray[0]);
      C.Rectangle(filled);
    }
  } else {
    const bool vertical = FDirection == diUp || FDirection == diDown;
    const int full = vertical ? Area.Height() : Area.Width();
    const int len = vertical ? filled.Height() : filled.Width();
    const int extent = vertical ? Height() : Width();
    // Line n lies at position base + step * n; keep n where that is inside 0..extent-1.
    const bool fromEnd = FDirection == diUp || FDirection == diLeft;
    const int base = FDirection == diUp ? filled.Bottom - 1 : FDirection == diLeft ? filled.Right - 1
                     : vertical ? filled.Top : filled.Left;
    const int step = fromEnd ? -1 : 1;
    int first = 0;
    int last = len - 1;
    if (fromEnd) {
      first = std::max(first, base - (extent - 1));
      last = std::min(last, base);
    } else {
      first = std::max(first, -base);
      last = std::min(last, extent - 1 - base);
    }
    // The colours go into a one-pixel strip along the bar, which is then
    // copied across the bar's thickness.
    if (first <= last) {
      const int count = last - first + 1;
      const int lowPos = std::min(base + step * first, base + step * last);
      if (!FStrip) FStrip = std::make_unique<TBitmap>();
      FStrip->SetSize(vertical ? 1 : count, vertical ? count : 1);
      for (int n = first; n <= last; ++n) {
        const int at = base + step * n - lowPos;
        const TPixel px = ColorToDevice(FBarColorArray[static_cast<std::size_t>(GradientIndex(n, len, full))]);
        if (vertical) {
          FStrip->ScanLine(at)[0] = px;
        } else {
          FStrip->ScanLine(0)[at] = px;
        }
      }
      C.SetCopyMode(cmSrcCopy);
      SpreadStrip(C, *FStrip, vertical, lowPos, count, vertical ? filled.Left : filled.Top,
                  vertical ? filled.Right : filled.Bottom);
    }
  }
  if (FGridDist > 1) PaintGrid(C, Area, filled);
}

// Grid lines every GridDist pixels from the bar's base across the filled
// length: for a rightward bar from the area's left edge up to and
// including the bar's right end; the other directions mirror it.
void TProgBar::PaintGrid(TCanvas& C, const TRect& Area, const TRect& Filled) const {
  const auto hline = [&](int y) { AxisLine(C, FColorGrid, Area.Left, y, Area.Right, y); };
  const auto vline = [&](int x) { AxisLine(C, FColorGrid, x, Area.Top, x, Area.Bottom); };
  switch (FDirection) {
    case diUp:
      for (int y = Area.Bottom - 1; y >= std::max(Filled.Top, -FGridDist); y -= FGridDist) hline(y);
      break;
    case diDown:
      for (int y = Area.Top; y <= std::min(Filled.Bottom - 1, Height() + FGridDist); y += FGridDist) hline(y);
      break;
    case diLeft:
      for (int x = Area.Right - 1; x >= std::max(Filled.Left - 1, -FGridDist); x -= FGridDist) vline(x);
      break;
    default:
      for (int x = Area.Left; x <= std::min(Filled.Right, Width() + FGridDist); x += FGridDist) vline(x);
      break;
  }
}

// The bevel of the bar: style 1 a one-line shadow rectangle; 2 sunken
// (dark top and left inside a shadow ring, highlight bottom and right);
// 3 raised (2 with dark and highlight exchanged); 4 a groove and 5 a
// ridge of two offset rectangles. The two corner pixels where the light
// changes sides take the margin colour.
void TProgBar::PaintFrame(TCanvas& C, TFrameStyle Style, const TRect& R) const {
  if (Style == fsNone) return;
  const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  const auto line3 = [&](TColor Color, TPoint P1, TPoint P2, TPoint P3) {
    AxisLine(C, Color, P1.X, P1.Y, P2.X, P2.Y);
    AxisLine(C, Color, P2.X, P2.Y, P3.X, P3.Y);
  };
  switch (Style) {
    case fsSimple: Outline(C, FColGrayLine, L, T, Rt, B); return;
    case fsLowered:
    case fsRaised: {
      const TColor topLeft = Style == fsLowered ? FColBlackLine : FColWhiteLine;
      const TColor bottomRight = Style == fsLowered ? FColWhiteLine : FColBlackLine;
      line3(topLeft, {L + 1, B - 3}, {L + 1, T + 1}, {Rt - 1, T + 1});
      line3(bottomRight, {L + 1, B - 1}, {Rt - 1, B - 1}, {Rt - 1, T});
      Outline(C, FColGrayLine, L, T, Rt - 1, B - 1);
      break;
    }
    default: {
      const TColor first = Style == fsEmbossed ? FColGrayLine : FColWhiteLine;
      const TColor second = Style == fsEmbossed ? FColWhiteLine : FColGrayLine;
      Outline(C, first, L + 1, T + 1, Rt, B);
      Outline(C, second, L, T, Rt - 1, B - 1);
      break;
    }
  }
  C.SetPixels(L, B - 1, FColorMargin);
  C.SetPixels(Rt - 1, T, FColorMargin);
}

void TProgBar::PaintValueText(TCanvas& C) const {
  C.SetFont(Font());
  C.Font()->SetOrientation(FTextAngle * 10);
  C.Brush()->SetStyle(bsClear);
  std::string text = ValueText();
  if (FOnShowValue) FOnShowValue(const_cast<TProgBar*>(this), text);
  // Measured unturned: the width and height of the text along its own axes.
  C.Font()->SetOrientation(0);
  const TSize extent = C.TextExtent(text);
  C.Font()->SetOrientation(FTextAngle * 10);
  const TPoint at = TextOrigin(FAlignment, FTextPosX, FTextPosY, extent.cx, extent.cy / 2, FTextAngle);
  C.TextOut(at.X, at.Y, text);
  C.Brush()->SetStyle(bsSolid);
}

}  // namespace vorn
