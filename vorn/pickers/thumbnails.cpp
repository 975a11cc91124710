#include "vorn/pickers/thumbnails.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "vorn/foundation/drawing.h"
#include "vorn/platform/runtime/application.h"

namespace vorn {
namespace {

constexpr int kEdge = 10;  // background strip around the slides

int FloorDiv(int A, int B) { return A / B - ((A % B != 0) && ((A < 0) != (B < 0)) ? 1 : 0); }
int FloorMod(int A, int B) { return A - B * FloorDiv(A, B); }
int RoundToInt(double X) { return static_cast<int>(std::nearbyint(X)); }

}  // namespace

TThumbnails::TThumbnails(TComponent* AOwner)
    : TGraphicControl(AOwner), FSlides(std::make_unique<TBitmap>()) {
  FControlStyle.Include(csOpaque);
  ResizeSelection();
  SetBounds(Left(), Top(), 260, 400);
}

TThumbnails::~TThumbnails() = default;

void TThumbnails::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TThumbnails*>(Source);
  if (src == nullptr) {
    TGraphicControl::Assign(Source);
    return;
  }
  if (src == this) return;
  FFrameStyle = src->FFrameStyle;
  FOuterFrameStyle = src->FOuterFrameStyle;
  FInnerFrameStyle = src->FInnerFrameStyle;
  FColorBG = src->FColorBG;
  FColBlackLine = src->FColBlackLine;
  FColGrayLine = src->FColGrayLine;
  FColWhiteLine = src->FColWhiteLine;
  FColorScheme = src->FColorScheme;
  FFirstThumbIx = src->FFirstThumbIx;
  FMin = src->FMin;
  FMax = src->FMax;
  FNumSldX = src->FNumSldX;
  FNumSldY = src->FNumSldY;
  FThumbBaseSize = src->FThumbBaseSize;
  FSLideDist = src->FSLideDist;
  FSlideMargin = src->FSlideMargin;
  FOnImageRequest = src->FOnImageRequest;
  FOnImageClick = src->FOnImageClick;
  FOnImageDblClick = src->FOnImageDblClick;
  FOnHiliteChange = src->FOnHiliteChange;
  FOnFirstImgRequ = src->FOnFirstImgRequ;
  FOnLastImgRequ = src->FOnLastImgRequ;
  FAntiAlias = src->FAntiAlias;
  FColorCover = src->FColorCover;
  FColorSelected = src->FColorSelected;
  FColorHilite = src->FColorHilite;
  FLastHiLite = src->FLastHiLite;
  FHiliteThickness = src->FHiliteThickness;
  ResizeSelection();
  Invalidate();
}

void TThumbnails::AssignTo(TPersistent* Dest) const {
  if (auto* dest = dynamic_cast<TThumbnails*>(Dest)) {
    dest->Assign(this);
    return;
  }
  TGraphicControl::AssignTo(Dest);
}

// ---- properties --------------------------------------------------------------------------

void TThumbnails::ResizeSelection() {
  // Min above Max leaves no slides and an empty selection.
  const long long size = static_cast<long long>(FMax) - FMin + 1;
  FSelectedSlide.SetSize(size > 0 ? static_cast<int>(std::min<long long>(size, 1 << 30)) : 0);
}

void TThumbnails::SetMin(int Value) {
  if (Value == FMin) return;
  FMin = Value;
  ResizeSelection();
  Invalidate();
}

void TThumbnails::SetMax(int Value) {
  Value = std::max(Value, 1);
  if (Value == FMax) return;
  FMax = Value;
  ResizeSelection();
  Invalidate();
}

double TThumbnails::RowPosition(double Value) const {
  const double x = std::clamp(Value, static_cast<double>(FMin), static_cast<double>(FMax));
  // Rows are counted from slide 1, also for slide numbers below 1.
  const int rowStart = FNumSldX * FloorDiv(static_cast<int>(std::floor(x)) - 1, FNumSldX) + 1;
  return rowStart + (x - rowStart) / FNumSldX;
}

void TThumbnails::SetFirstThumbIx(double Value) {
  if (std::isnan(Value)) return;
  const double position = RowPosition(Value);
  if (position == FFirstThumbIx) return;
  FFirstThumbIx = position;
  Invalidate();
}

void TThumbnails::SetSlideSize(int Value) {
  SetLook(FThumbBaseSize, std::max(50, std::min(Value, Width())));
}

void TThumbnails::SetSlideDistance(int Value) { SetLook(FSLideDist, std::clamp(Value, 0, 100)); }
void TThumbnails::SetSlideMargin(int Value) { SetLook(FSlideMargin, std::clamp(Value, 0, 100)); }
void TThumbnails::SetFocusLinewidth(int Value) { SetLook(FHiliteThickness, std::clamp(Value, 0, 10)); }

void TThumbnails::SetAntiAlias(bool Value) {
  FAntiAlias = Value;
  Invalidate();
}

void TThumbnails::SetColorScheme(TColorScheme Value) {
  if (Value == FColorScheme) return;
  FColorScheme = Value;
  const TSchemeLines lines = SchemeLines(Value);
  FColGrayLine = lines.Gray;
  FColWhiteLine = lines.White;
  Invalidate();
}

void TThumbnails::SetSlideSelectMode(TSlideSelectMode Value) {
  if (Value == FSelectMode) return;
  FSelectMode = Value;
  FSelectedSlide.Clear();
  Invalidate();
}

bool TThumbnails::GetSelectedSlide(int SldNum) const {
  return FSelectedSlide.GetBit(static_cast<int>(static_cast<long long>(SldNum) - FMin));
}

void TThumbnails::SetSelectedSlide(int SldNum, bool Value) {
  const long long bit = static_cast<long long>(SldNum) - FMin;
  if (bit < 0 || bit >= FSelectedSlide.Size()) return;
  FSelectedSlide.SetBit(static_cast<int>(bit), Value);
  Invalidate();
}

void TThumbnails::ResetAllSelections() {
  FSelectedSlide.Clear();
  Invalidate();
}

int TThumbnails::FirstSelectedSlide() const { return FSelectedSlide.FirstTrueBit() + FMin; }
int TThumbnails::NumSlidesSelected() const { return FSelectedSlide.CountTrueBits(); }

// ---- geometry ------------------------------------------------------------------------------

int TThumbnails::ScrollPixels() const {
  return RoundToInt((FFirstThumbIx - std::floor(FFirstThumbIx)) * Pitch());
}

void TThumbnails::CalcSlidePos(int SldNum, int& XPos, int& YPos) const {
  const int first = static_cast<int>(std::floor(FFirstThumbIx));
  XPos = Pitch() * FloorMod(SldNum - first, FNumSldX) + kEdge;
  YPos = Pitch() * FloorDiv(SldNum - first, FNumSldX) + FSLideDist - ScrollPixels() + kEdge;
}

int TThumbnails::CalcSlideIndex(int XPos, int YPos) const {
  const int p = Pitch();
  const int box = FThumbBaseSize + 2 * FSlideMargin;
  if (XPos < kEdge || XPos > Width() - kEdge || YPos < kEdge || YPos > Height() - kEdge) return 0;
  const int k = (XPos - kEdge) / p;
  if (XPos > p * k + box + kEdge || k + 1 > FNumSldX) return 0;
  const int j = FloorDiv(YPos + ScrollPixels() - FSLideDist - kEdge, p);
  const int top = p * j + FSLideDist - ScrollPixels() + kEdge;
  if (YPos < top || YPos > top + box) return 0;
  const long long n = static_cast<long long>(std::floor(FFirstThumbIx)) + static_cast<long long>(FNumSldX) * j + k;
  return n >= FMin && n <= FMax ? static_cast<int>(n) : 0;
}

void TThumbnails::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  FSlidesValid = false;
}

// ---- painting --------------------------------------------------------------------------------

void TThumbnails::Invalidate() {
  FSlidesValid = false;
  TGraphicControl::Invalidate();
}

void TThumbnails::Paint() {
  if (FIsWorking) return;
  const int w = Width();
  const int h = Height();
  if (w <= 0 || h <= 0) return;
  if (!FSlidesValid || FSlides->Width() != w || FSlides->Height() != h) {
    TDestroyGuard guard(this);
    if (!RenderSlides() || guard.Gone()) return;
  }
  TCanvas& c = *Canvas();
  c.Draw(0, 0, FSlides.get());
  DrawFocus(c);
}

bool TThumbnails::RenderSlides() {
  TDestroyGuard guard(this);
  // Ends the paint also when a handler throws out of it.
  const TFlagScope working(this, FIsWorking, true);
  const int w = Width();
  const int h = Height();
  FSlides->SetSize(w, h);
  TCanvas& c = *FSlides->Canvas();
  c.SetFont(Font());
  c.Pen()->SetWidth(1);
  c.Pen()->SetColor(FColorBG);
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->SetColor(FColorBG);
  c.Rectangle(0, 0, w, h);
  const int p = Pitch();
  const int nx = std::max(1, (w + FSLideDist - 20) / p);
  if (nx != FNumSldX) {
    FNumSldX = nx;
    FFirstThumbIx = RowPosition(FFirstThumbIx);
  }
  FNumSldY = h / p + 1;
  RaiseEvent(FOnFirstImgRequ, this);
  if (guard.Gone()) return false;
  TBitmap buffer;
  std::exception_ptr error;
  const int first = static_cast<int>(std::floor(FFirstThumbIx));
  const int scroll = ScrollPixels();
  for (int col = 1; col <= FNumSldX; ++col) {
    for (int row = 1; row <= FNumSldY; ++row) {
      const long long n = static_cast<long long>(first) + static_cast<long long>(FNumSldX) * (row - 1) + col - 1;
      if (n < FMin || n > FMax) continue;
      const int x0 = (col - 1) * p + kEdge;
      const int y0 = (row - 1) * p + FSLideDist - scroll + kEdge;
      if (!RenderSlide(c, static_cast<int>(n), x0, y0, buffer, error)) return false;
    }
  }
  RaiseEvent(FOnLastImgRequ, this);
  if (guard.Gone()) return false;
  c.Pen()->SetColor(FColorBG);
  c.Brush()->SetColor(FColorBG);
  c.Rectangle(0, 0, w, kEdge);
  c.Rectangle(0, h - kEdge, w, h);
  DrawFrame(&c, FFrameStyle, 0, 0, w - 2, h - 2, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x000000, 0x000000);
  FSlidesValid = true;
  if (error) {
    try {
      std::rethrow_exception(error);
    } catch (...) {
      Application()->HandleException(this);
    }
    if (guard.Gone()) return false;
  }
  return true;
}

bool TThumbnails::RenderSlide(TCanvas& C, int Number, int X0, int Y0, TBitmap& Buffer, std::exception_ptr& Error) {
  TDestroyGuard guard(this);
  const int box = FThumbBaseSize + 2 * FSlideMargin;
  const int x1 = X0 + box;
  const int y1 = Y0 + box;
  TImageRequestProcessing how = irpShowEmpty;
  int mark = -1;
  // Every slide starts with an empty picture: a handler that supplies none
  // must not show the slide before it.
  Buffer.SetSize(0, 0);
  TBitmap* picture = &Buffer;
  if (FOnImageRequest) {
    try {
      RaiseEvent(FOnImageRequest, this, Number, how, mark, picture);
    } catch (...) {
      if (guard.Gone()) return false;
      if (!Error) Error = std::current_exception();
      how = irpShowEmpty;
      mark = -1;
      picture = nullptr;
    }
    if (guard.Gone()) return false;
  }
  if (how != irpShowNothing) {
    const TColor back = GetSelectedSlide(Number) ? FColorSelected : FColorCover;
    C.Pen()->SetColor(back);
    C.Brush()->SetColor(back);
    C.Rectangle(X0, Y0, x1 + 1, y1 + 1);
    DrawFrame(&C, FOuterFrameStyle, X0, Y0, x1, y1, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x000000, 0x000000);
  }
  C.Pen()->SetColor(0x000000);
  if (how == irpShowEmpty) {
    const int m = FSlideMargin;
    C.Brush()->SetColor(0xFFFFFF);
    C.Rectangle(X0 + m, Y0 + m + 20, x1 - m, y1 - m - 20);
    C.Font()->SetColor(0x000000);
    const std::string text = std::to_string(Number);
    const TSize size = C.TextExtent(text);
    C.TextOut((X0 + x1) / 2 - size.cx / 2, (Y0 + y1) / 2 - size.cy / 2, text);
  } else if (how == irpShowSlide && picture != nullptr && !picture->Empty()) {
    DrawPicture(C, *picture, X0, Y0);
  }
  if (mark != -1) {
    C.Pen()->SetColor(FMarkColor);
    DrawMarkOnCanvas(&C, mark, X0 + 10, Y0 + 12);
  }
  RaiseEvent(FOnSlideRendered, this, &C, X0, Y0, Number);
  return !guard.Gone();
}

void TThumbnails::DrawPicture(TCanvas& C, const TBitmap& Picture, int X0, int Y0) const {
  const int s = FThumbBaseSize;
  const int iw = Picture.Width();
  const int ih = Picture.Height();
  TRect r{X0 + FSlideMargin, Y0 + FSlideMargin, X0 + FSlideMargin + s, Y0 + FSlideMargin + s};
  if (iw < ih) {
    const int fitted = RoundToInt(static_cast<double>(iw) * s / ih);
    r.Left += (s - fitted) / 2;
    r.Right = r.Left + fitted;
  } else {
    const int fitted = RoundToInt(static_cast<double>(ih) * s / iw);
    r.Top += (s - fitted) / 2;
    r.Bottom = r.Top + fitted;
  }
  const int previous = C.SetStretchBltMode(FAntiAlias ? HALFTONE : COLORONCOLOR);
  C.StretchDraw(r, &Picture);
  C.SetStretchBltMode(previous);
  DrawFrame(&C, FInnerFrameStyle, r.Left - 1, r.Top - 1, r.Right, r.Bottom, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x000000,
            0x000000);
}

TRect TThumbnails::FocusRect(int SldNum) const {
  int x = 0, y = 0;
  CalcSlidePos(SldNum, x, y);
  const int span = 2 * FSlideMargin + FThumbBaseSize;
  return {x + 2, std::max(y + 2, 2), x + span, std::min(Height() - 3, y + span - 2)};
}

void TThumbnails::DrawFocus(TCanvas& C) const {
  if (FHiliteThickness <= 0 || FLastHiLite < FMin || FLastHiLite > FMax || FLastHiLite == 0) return;
  const TRect r = FocusRect(FLastHiLite);
  C.Pen()->SetColor(FColorHilite);
  C.Pen()->SetWidth(1);
  for (int i = 1; i <= FHiliteThickness; ++i) {
    DrawRectangle(&C, r.Left + i - 1, r.Top + i - 1, r.Right - i - 1, r.Bottom - i + 1);
  }
  // The outline must not show on the background strips at the edges.
  const int w = Width();
  const int h = Height();
  C.Pen()->SetColor(FColorBG);
  C.Brush()->SetStyle(bsSolid);
  C.Brush()->SetColor(FColorBG);
  C.Rectangle(2, 2, w - 2, kEdge);
  C.Rectangle(2, h - kEdge, w - 2, h - 2);
}

// ---- mouse ------------------------------------------------------------------------------------

void TThumbnails::MoveFocus(int SldNum) {
  // Only the two outlines change: repaint their areas from the kept slides.
  auto area = [this](int n) {
    const TRect r = FocusRect(n);
    return TRect{r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 2};
  };
  if (FLastHiLite != 0) InvalidateRect(area(FLastHiLite));
  FLastHiLite = SldNum;
  if (SldNum != 0) InvalidateRect(area(SldNum));
  InvalidateRect({0, 0, Width(), kEdge});
  InvalidateRect({0, Height() - kEdge, Width(), Height()});
  RaiseEvent(FOnHiliteChange, this);
}

void TThumbnails::MouseMove(TShiftState Shift, int X, int Y) {
  TDestroyGuard guard(this);
  TGraphicControl::MouseMove(Shift, X, Y);
  if (guard.Gone() || FHiliteThickness <= 0) return;
  const int n = CalcSlideIndex(X, Y);
  if (n != FLastHiLite) MoveFocus(n);
}

void TThumbnails::SelectByClick(int SldNum, TShiftState Shift) {
  if (FSelectMode == ssmDisabled) return;
  if (FSelectMode == ssmSingle || (!Shift.Contains(ssCtrl) && !Shift.Contains(ssShift))) {
    FSelectedSlide.Clear();
    if (SldNum != 0) SetSelectedSlide(SldNum, true);
    FLastClickedSlide = SldNum;
  } else if (SldNum == 0) {
    return;  // Ctrl or Shift on a gap keeps the selection
  } else if (Shift.Contains(ssShift) && FLastClickedSlide != 0) {
    if (!Shift.Contains(ssCtrl)) FSelectedSlide.Clear();
    const int from = std::min(FLastClickedSlide, SldNum);
    const int to = std::max(FLastClickedSlide, SldNum);
    for (int n = from; n <= to; ++n) FSelectedSlide.SetBit(n - FMin, true);
  } else {
    FSelectedSlide.SetBit(SldNum - FMin, !GetSelectedSlide(SldNum));
    FLastClickedSlide = SldNum;
  }
  Invalidate();
}

void TThumbnails::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDestroyGuard guard(this);
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (guard.Gone() || Button != mbLeft || (X == -1 && Y == -1)) return;
  const int n = CalcSlideIndex(X, Y);
  SelectByClick(n, Shift);
  FLastClick = {X, Y};
  RaiseEvent(FOnImageClick, this, X, Y, n);
}

void TThumbnails::DblClick() {
  TDestroyGuard guard(this);
  TGraphicControl::DblClick();
  if (guard.Gone()) return;
  RaiseEvent(FOnImageDblClick, this, FLastClick.X, FLastClick.Y, CalcSlideIndex(FLastClick.X, FLastClick.Y));
}

}  // namespace vorn
