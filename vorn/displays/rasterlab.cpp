#include "vorn/displays/rasterlab.h"

#include <algorithm>
#include <bit>
#include <initializer_list>
#include <cstdlib>

#include "vorn/foundation/drawing.h"
#include "vorn/foundation/strutils.h"
#include "vorn/platform/graphics/bitmap.h"
#include "vorn/platform/runtime/utf8.h"

namespace vorn {

namespace {
constexpr std::uintptr_t kScrollTimer = 1;
constexpr int kMaxScrollIncrement = 1 << 16;
}  // namespace

TRasterLab::TRasterLab(TComponent* AOwner) : TGraphicControl(AOwner), FPaintBmp(std::make_unique<TBitmap>()) {
  FControlStyle.Include(csOpaque);
  SetBounds(0, 0, 400, 68);
  FScrTimerHandle = AllocateHWnd([this](TMessage& M) { TimerWndProc(M); });
  Font()->SetName("default");
  Font()->SetSize(8);  // each change rebuilds the glyph set (CMFontChanged)
  FCMat = CreateBitFont(Font());
}

TRasterLab::~TRasterLab() {
  KillTimer(FScrTimerHandle, kScrollTimer);
  DeallocateHWnd(FScrTimerHandle);
}

void TRasterLab::Assign(const TPersistent* Source) {
  const auto* s = dynamic_cast<const TRasterLab*>(Source);
  if (s == nullptr) {
    TGraphicControl::Assign(Source);
    return;
  }
  FFrameStyle = s->FFrameStyle;
  FLabText = s->FLabText;
  FColorLabBakG = s->FColorLabBakG;
  FColorDotOn = s->FColorDotOn;
  FColBlackLine = s->FColBlackLine;
  FColGrayLine = s->FColGrayLine;
  FColWhiteLine = s->FColWhiteLine;
  FColorScheme = s->FColorScheme;
  Changed();
}

void TRasterLab::AssignTo(TPersistent* Dest) const {
  if (auto* d = dynamic_cast<TRasterLab*>(Dest)) {
    d->Assign(this);
    return;
  }
  TGraphicControl::AssignTo(Dest);
}

// ---- glyph sets ------------------------------------------------------------------------------

TRDCharMatrix TRasterLab::CreateBitFont(const TFont* Font) {
  if (Font == nullptr || FoldCase(Font->Name()) == "default") return BuiltInRasterFont();
  TRDCharMatrix m{};
  TBitmap bmp(65, 65);
  TCanvas& c = *bmp.Canvas();
  c.SetFont(Font);
  c.Font()->SetColor(clBlack);
  c.Font()->SetOrientation(0);
  c.Font()->SetQuality(fqNonAntialiased);  // whole dots, no grey edges
  c.Brush()->SetColor(clWhite);
  for (int code = 32; code < 256; ++code) {
    c.FillRect(Rect(0, 0, 65, 65));
    std::string ch;
    AppendUtf8(ch, static_cast<char32_t>(code));
    c.TextOut(0, 0, ch);
    int first = 31, last = 0;
    for (int y = 0; y < 32; ++y) {
      const TPixel* row = bmp.ScanLine(y);
      std::uint32_t bits = 0;
      for (int x = 0; x < 32; ++x)
        if ((row[x] & 0xFFFFFF) != 0xFFFFFF) bits |= 1u << x;
      m.BitData[code][y] = bits;
      if (bits == 0) continue;
      first = std::min(first, std::countr_zero(bits));
      last = std::max(last, 31 - std::countl_zero(bits));
      m.FontHeight = y + 1;
    }
    m.LeftMostBit[code] = static_cast<std::uint8_t>(first);
    m.RightMostBit[code] = static_cast<std::uint8_t>(last);
    if (first <= last) m.FontWidth = std::max(m.FontWidth, last - first + 1);
  }
  m.LeftMostBit[32] = 0;
  m.RightMostBit[32] = static_cast<std::uint8_t>(m.FontWidth / 2);
  return m;
}

void TRasterLab::SetCharMatrix(const TRDCharMatrix& Value) {
  FCMat = Value;
  FCMat.FontWidth = std::clamp(FCMat.FontWidth, 0, 32);
  FCMat.FontHeight = std::clamp(FCMat.FontHeight, 0, 32);
  for (int code = 0; code < 256; ++code) {
    FCMat.LeftMostBit[code] = std::min<std::uint8_t>(FCMat.LeftMostBit[code], 31);
    FCMat.RightMostBit[code] = std::min<std::uint8_t>(FCMat.RightMostBit[code], 31);
  }
  ApplyAutoHeight();
  ApplyAutoCenter();
  Changed();
}

void TRasterLab::CMFontChanged(TMessage& Message) {
  TGraphicControl::CMFontChanged(Message);
  FCMat = CreateBitFont(Font());
  ApplyAutoHeight();
  ApplyAutoCenter();
  Changed();
}

int TRasterLab::GlyphCode(char32_t Ch) { return Ch >= 32 && Ch <= 255 ? static_cast<int>(Ch) : '?'; }

// A glyph whose first column lies beyond its last (an empty glyph of a
// rasterised font) has no columns.
int TRasterLab::GlyphFirst(int Code) const { return FProportional ? FCMat.LeftMostBit[Code] : 0; }

int TRasterLab::GlyphColumns(int Code) const {
  if (!FProportional) return FCMat.FontWidth;
  return std::max(0, FCMat.RightMostBit[Code] - FCMat.LeftMostBit[Code] + 1);
}

int TRasterLab::GlyphAdvance(int Code) const { return (GlyphColumns(Code) + 1) * Pitch(); }

int TRasterLab::TextLength() const {
  long long length = 0;
  for (char32_t ch : Utf8ToU32(FLabText)) length += GlyphAdvance(GlyphCode(ch));
  return static_cast<int>(std::min<long long>(length, 1 << 30));
}

int TRasterLab::BorderWidth() const {
  if (FFrameStyle == fsNone) return 0;
  return FFrameStyle <= fsRaised ? 1 : 2;
}

void TRasterLab::ApplyAutoHeight() {
  if (FAutoHeight) SetHeight(BorderWidth() + Pitch() * FCMat.FontHeight);
}

void TRasterLab::ApplyAutoCenter() {
  if (FAutoCenter) FXPos = (Width() - TextLength()) / 2 + BorderWidth() + 1;
}

// ---- setters ---------------------------------------------------------------------------------

void TRasterLab::SetAutoCenter(bool Value) {
  FAutoCenter = Value;
  if (Value) {
    ApplyAutoCenter();
  } else {
    FXPos = 1;
  }
  Changed();
}

void TRasterLab::SetAutoHeight(bool Value) {
  if (Value == FAutoHeight) return;
  FAutoHeight = Value;
  ApplyAutoHeight();
  Changed();
}

void TRasterLab::SetCharBlockMode(TRDBlockMode Value) {
  if (Value == FCharBlockMode || Value > rdbmRaster) return;
  FCharBlockMode = Value;
  Changed();
}

void TRasterLab::SetColorLabBakG(TColor Value) {
  if (Value == FColorLabBakG) return;
  FColorLabBakG = Value;
  Changed();
}

void TRasterLab::SetColorDotOn(TColor Value) {
  if (Value == FColorDotOn) return;
  FColorDotOn = Value;
  Changed();
}

void TRasterLab::SetColorDotOff(TColor Value) {
  if (Value == FColorDotOff) return;
  FColorDotOff = Value;
  Changed();
}

void TRasterLab::SetColorScheme(TColorScheme Value) {
  FColorScheme = Value;
  const TSchemeLines lines = SchemeLines(Value);
  FColGrayLine = lines.Gray;
  FColWhiteLine = lines.White;
  Changed();
}

void TRasterLab::SetDotSize(int Value) {
  Value = std::clamp(Value, 1, 32);
  if (Value == FDotSize) return;
  FDotSize = Value;
  ApplyAutoHeight();
  ApplyAutoCenter();
  Changed();
}

void TRasterLab::SetDotSpacing(int Value) {
  Value = std::clamp(Value, 0, 3);
  if (Value == FDotSpacing) return;
  FDotSpacing = Value;
  ApplyAutoHeight();
  ApplyAutoCenter();
  Changed();
}

void TRasterLab::SetFrameStyle(TFrameStyle Value) {
  if (Value == FFrameStyle || Value > fsEngraved) return;
  FFrameStyle = Value;
  Changed();
}

void TRasterLab::SetPosX(int Value) {
  if (Value == FXPos) return;
  FXPos = Value;
  Changed();
}

void TRasterLab::SetPosY(int Value) {
  if (Value == FYPos) return;
  FYPos = Value;
  Changed();
}

void TRasterLab::SetProportional(bool Value) {
  if (Value == FProportional) return;
  FProportional = Value;
  Changed();
}

void TRasterLab::SetScrollMode(TRDScrollMode Value) {
  if (Value == FScrollMode || Value > rdsmUp) return;
  FScrollMode = Value;
  if (ComponentState().Contains(csDesigning)) return;
  FScrTimerEnabled = Value != rdsmOff;
  UpdateTimer();
  if (Value == rdsmOff) {
    FScrollPosX = 0;
    FScrollPosY = 0;
    Changed();
  }
}

void TRasterLab::SetScrollInterval(int Value) {
  Value = std::max(Value, 10);
  if (Value == FScrollIv) return;
  FScrollIv = Value;
  UpdateTimer();
}

void TRasterLab::SetScrollIncrement(int Value) {
  Value = Value == 0 ? 1 : std::min(std::abs(std::max(Value, -kMaxScrollIncrement)), kMaxScrollIncrement);
  if (Value == FScrollInc) return;
  FScrollInc = Value;
  UpdateTimer();
}

void TRasterLab::SetScrollLoop(bool Value) {
  FScrollLoop = Value;
  Changed();
}

void TRasterLab::SetText(const std::string& Value) {
  if (Value == FLabText) return;
  FLabText = Value;
  ApplyAutoCenter();
  Changed();
}

void TRasterLab::SetOnScrollTimer(TNotifyEvent Handler) {
  FOnScrollTimer = std::move(Handler);
  UpdateTimer();
}

// ---- scrolling -------------------------------------------------------------------------------

void TRasterLab::UpdateTimer() {
  KillTimer(FScrTimerHandle, kScrollTimer);
  if (FScrollIv <= 0 || FScrollMode == rdsmOff || !FScrTimerEnabled) return;
  if (SetTimer(FScrTimerHandle, kScrollTimer, static_cast<unsigned>(FScrollIv), nullptr) == 0)
    throw EVORNRasterLabError("Component \"" + Name() + "\": no timer available");
}

void TRasterLab::TimerWndProc(TMessage& Message) {
  if (Message.Msg != WM_TIMER) {
    Message.Result = DefWindowProc(FScrTimerHandle, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  try {
    DoTimer();
  } catch (...) {
    Application()->HandleException(this);
  }
}

// Right moves the text until its origin has passed the right edge, then it
// enters again from the left (shift -length); left, down and up mirror it
// with the text length or height and the display's width or height.
void TRasterLab::DoTimer() {
  const int height = FCMat.FontHeight * Pitch();
  bool restart = false;
  switch (FScrollMode) {
    case rdsmOff:
      FScrTimerEnabled = false;
      UpdateTimer();
      FScrollPosX = 0;
      FScrollPosY = 0;
      break;
    case rdsmRight:
      FScrollPosX += FScrollInc;
      if (FScrollLoop && FScrollPosX > Width()) {
        FScrollPosX = -FTextBitLength;
        restart = true;
      }
      break;
    case rdsmLeft:
      FScrollPosX -= FScrollInc;
      if (FScrollLoop && FScrollPosX < -FTextBitLength) {
        FScrollPosX = Width();
        restart = true;
      }
      break;
    case rdsmDown:
      FScrollPosY += FScrollInc;
      if (FScrollLoop && FScrollPosY > Height()) {
        FScrollPosY = -height;
        restart = true;
      }
      break;
    case rdsmUp:
      FScrollPosY -= FScrollInc;
      if (FScrollLoop && FScrollPosY < -height) {
        FScrollPosY = Height();
        restart = true;
      }
      break;
  }
  // Without a loop the shift stops growing once the text is far out.
  FScrollPosX = std::clamp(FScrollPosX, -(1 << 30), 1 << 30);
  FScrollPosY = std::clamp(FScrollPosY, -(1 << 30), 1 << 30);
  if (restart) DoScrLoopRestart();
  Changed();
  if (FOnScrollTimer) FOnScrollTimer(this);
}

void TRasterLab::DoScrLoopRestart() {
  if (FOnScrLoopRestart) FOnScrLoopRestart(this);
}

// ---- painting --------------------------------------------------------------------------------

void TRasterLab::PaintGrid(TCanvas& C, int W, int H) const {
  const int p = Pitch();
  C.Brush()->SetColor(FColorLabBakG);
  auto phase = [p](int V) { return ((V % p) + p) % p; };
  const int oy = phase(FYPos + FScrollPosY);
  for (int b = 0; b <= H / p + 1; ++b)
    for (int i = 1; i <= FDotSpacing; ++i) {
      const int y = oy + b * p + i - FDotSpacing - 1;
      C.FillRect(Rect(0, y, W, y + 1));
    }
  const int ox = phase(FXPos + FScrollPosX);
  for (int b = 0; b <= W / p + 1; ++b)
    for (int i = 1; i <= FDotSpacing; ++i) {
      const int x = ox + b * p + i - FDotSpacing - 1;
      C.FillRect(Rect(x, 0, x + 1, H));
    }
}

void TRasterLab::PaintGlyph(TCanvas& C, int Code, int X, int Y) const {
  const int first = GlyphFirst(Code);
  const int columns = GlyphColumns(Code);
  const int p = Pitch();
  for (int r = 0; r < FCMat.FontHeight; ++r) {
    const std::uint32_t bits = FCMat.BitData[Code][r];
    if (bits == 0) continue;
    for (int c = 0; c < columns; ++c) {
      const int column = first + c;
      if (column > 31 || !(bits & (1u << column))) continue;
      const int x = X + c * p, y = Y + r * p;
      C.FillRect(Rect(x, y, x + FDotSize, y + FDotSize));
    }
  }
}

// Glyphs wholly outside the bitmap are skipped: the cost follows what is
// visible, not the length of the text.
void TRasterLab::PaintText(TCanvas& C, int X, int Y, int W, int H) {
  const int p = Pitch();
  const int start = X;
  const bool blocks = FCharBlockMode == rdbmOn;
  const bool rowsVisible = Y < H && Y + FCMat.FontHeight * p > 0;
  auto band = [&](int At) {
    if (blocks && At > 0 && At - p < W) {
      C.Brush()->SetColor(FColorLabBakG);
      C.FillRect(Rect(At - p, 0, At - 1, H));
    }
  };
  band(X);
  for (char32_t ch : Utf8ToU32(FLabText)) {
    const int code = GlyphCode(ch);
    const int advance = GlyphAdvance(code);
    if (rowsVisible && X < W && X + advance > 0) {
      C.Brush()->SetColor(FColorDotOn);
      PaintGlyph(C, code, X, Y);
    }
    X += advance;
    band(X);
    if (X > (1 << 30)) break;
  }
  FTextBitLength = X - start + 1;
}

void TRasterLab::PaintFrame(TCanvas& C, int W, int H) const {
  auto line = [&](TColor Color, std::initializer_list<TPoint> Points) {
    C.Pen()->SetColor(Color);
    C.Pen()->SetWidth(1);
    const TPoint* p = Points.begin();
    C.MoveTo(p->X, p->Y);
    for (++p; p != Points.end(); ++p) C.LineTo(p->X, p->Y);
  };
  auto outline = [&](TColor Color, int L, int T, int R, int B) { line(Color, {{L, T}, {R, T}, {R, B}, {L, B}, {L, T}}); };
  const TColor shadow = FColGrayLine, light = FColWhiteLine, dark = FColBlackLine;
  switch (FFrameStyle) {
    case fsNone: break;
    case fsSimple: outline(shadow, 0, 0, W - 1, H - 1); break;
    case fsLowered:
    case fsRaised: {
      const bool lowered = FFrameStyle == fsLowered;
      line(lowered ? dark : light, {{1, H - 3}, {1, 1}, {W - 2, 1}});
      if (lowered) {
        line(light, {{2, H - 1}, {W - 1, H - 1}, {W - 1, 0}});
      } else {
        line(dark, {{0, H - 1}, {W - 1, H - 1}, {W - 1, 0}});
      }
      outline(shadow, 0, 0, W - 2, H - 2);
      break;
    }
    case fsEmbossed:
    case fsEngraved: {
      const bool embossed = FFrameStyle == fsEmbossed;
      outline(embossed ? shadow : light, 1, 1, W - 1, H - 1);
      outline(embossed ? light : shadow, 0, 0, W - 2, H - 2);
      break;
    }
  }
}

void TRasterLab::Paint() {
  if (!Visible() && !ComponentState().Contains(csDesigning)) return;
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  if (FPaintBmp->Width() != w || FPaintBmp->Height() != h) FPaintBmp->SetSize(w, h);
  TCanvas& c = *FPaintBmp->Canvas();
  const bool grid = FCharBlockMode != rdbmOff;
  c.Brush()->SetColor(grid ? FColorDotOff : FColorLabBakG);
  c.FillRect(FFrameStyle != fsNone ? Rect(1, 1, w - 1, h - 1) : Rect(0, 0, w, h));
  if (grid) PaintGrid(c, w, h);
  PaintText(c, FXPos + FScrollPosX, FYPos + FScrollPosY, w, h);
  PaintFrame(c, w, h);
  TCanvas& dest = *Canvas();
  dest.SetCopyMode(cmSrcCopy);
  dest.Draw(0, 0, FPaintBmp.get());
}

}  // namespace vorn
