#include "vorn/displays/sevenseg.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <vector>

#include "vorn/foundation/drawing.h"
#include "vorn/platform/graphics/bitmap.h"
#include "vorn/platform/runtime/utf8.h"

namespace vorn {

namespace {

constexpr int kMasterWidth = 312;
constexpr int kMasterHeight = 432;

// The glyphs of the cache in order; the last is the decimal point alone.
constexpr std::u32string_view kCacheOrder = U"0123456789-+:\u00B0ABCDEF.";
constexpr int kCacheCells = 21;

// Elements of the master glyph: 1 top, 2 upper left, 3 upper right,
// 4 middle, 5 lower left, 6 lower right, 7 bottom, 8 point, 9 plus,
// 10 colon, 11 degree ring.
enum TShapeKind { skHorz, skVert, skDot, skPlus, skColon, skDeg };
struct TElement {
  TShapeKind Shape;
  int X, Y;
};
constexpr std::array<TElement, 12> kElements = {{{skHorz, 0, 0},
                                                  {skHorz, 94, 0},
                                                  {skVert, 37, 23},
                                                  {skVert, 244, 23},
                                                  {skHorz, 57, 197},
                                                  {skVert, 0, 220},
                                                  {skVert, 207, 220},
                                                  {skHorz, 20, 394},
                                                  {skDot, 269, 394},
                                                  {skPlus, 57, 120},
                                                  {skColon, 122, 121},
                                                  {skDeg, 150, 0}}};

constexpr unsigned Bits(std::initializer_list<int> Elements) {
  unsigned m = 0;
  for (int e : Elements) m |= 1u << e;
  return m;
}

// Lit elements of each cache glyph, in cache order.
constexpr std::array<unsigned, kCacheCells> kPatterns = {
    Bits({1, 2, 3, 5, 6, 7}), Bits({3, 6}),          Bits({1, 3, 4, 5, 7}),    Bits({1, 3, 4, 6, 7}),
    Bits({2, 3, 4, 6}),       Bits({1, 2, 4, 6, 7}), Bits({1, 2, 4, 5, 6, 7}), Bits({1, 3, 6}),
    Bits({1, 2, 3, 4, 5, 6, 7}), Bits({1, 2, 3, 4, 6, 7}), Bits({4}), Bits({9}), Bits({10}), Bits({11}),
    Bits({1, 2, 3, 4, 5, 6}), Bits({2, 4, 5, 6, 7}), Bits({1, 2, 5, 7}), Bits({3, 4, 5, 6, 7}),
    Bits({1, 2, 4, 5, 7}),    Bits({1, 2, 4, 5}),    Bits({8})};

int CacheIndex(char32_t Ch) {
  if (Ch >= U'a' && Ch <= U'f') Ch = Ch - U'a' + U'A';
  const auto pos = kCacheOrder.find(Ch);
  return pos == std::u32string_view::npos ? -1 : static_cast<int>(pos);
}

bool IsPoint(char32_t Ch) { return Ch == U'.' || Ch == U','; }

std::unique_ptr<TBitmap> LoadShape(const char* Name) {
  auto bmp = std::make_unique<TBitmap>();
  bmp->LoadFromResourceName(Name);
  return bmp;
}

}  // namespace

TSevenSeg::TSevenSeg(TComponent* AOwner)
    : TGraphicControl(AOwner),
      DigImg(std::make_unique<TBitmap>(kMasterWidth, kMasterHeight)),
      SegHorz(LoadShape("SEGHORZ")),
      SegVert(LoadShape("SEGVERT")),
      SegDot(LoadShape("SEGDOT")),
      SegPlus(LoadShape("SEGPLUS")),
      SegColon(LoadShape("SEGCOLON")),
      SegDeg(LoadShape("SEGDEG")),
      ImgCache(std::make_unique<TBitmap>()),
      FPaintBmp(std::make_unique<TBitmap>()) {
  FControlStyle.Include(csOpaque);
  SetBounds(0, 0, 216, 76);
  FWidth = Width();
  FHeight = Height();
  SetOnResize([this](TObject*) { HandleResize(); });
  CreateImageCache();
}

TSevenSeg::~TSevenSeg() = default;

void TSevenSeg::Assign(const TPersistent* Source) {
  const auto* s = dynamic_cast<const TSevenSeg*>(Source);
  if (s == nullptr) {
    TGraphicControl::Assign(Source);
    return;
  }
  FColorBakG = s->FColorBakG;
  FColorTxt = s->FColorTxt;
  FNumDigits = s->FNumDigits;
  FCaption = s->FCaption;
  FFrameStyle = s->FFrameStyle;
  FColBlackLine = s->FColBlackLine;
  FColGrayLine = s->FColGrayLine;
  FColWhiteLine = s->FColWhiteLine;
  FColorScheme = s->FColorScheme;
  FMargin = s->FMargin;
  FInterDigDist = s->FInterDigDist;
  CreateImageCache();
  Invalidate();
}

void TSevenSeg::AssignTo(TPersistent* Dest) const {
  if (auto* d = dynamic_cast<TSevenSeg*>(Dest)) {
    d->Assign(this);
    return;
  }
  TGraphicControl::AssignTo(Dest);
}

// ---- setters ---------------------------------------------------------------------------

void TSevenSeg::Rebuild() {
  CreateImageCache();
  Repaint();
}

void TSevenSeg::SetCaption(const std::string& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  Repaint();
}

void TSevenSeg::SetColorBackGnd(TColor Value) {
  if (Value == FColorBakG) return;
  FColorBakG = Value;
  Rebuild();
}

void TSevenSeg::SetColorText(TColor Value) {
  if (Value == FColorTxt) return;
  FColorTxt = Value;
  Rebuild();
}

void TSevenSeg::SetColorScheme(TColorScheme Value) {
  if (Value == FColorScheme) return;
  FColorScheme = Value;
  const TSchemeLines lines = SchemeLines(Value);
  FColGrayLine = lines.Gray;
  FColWhiteLine = lines.White;
  Invalidate();
}

void TSevenSeg::SetFrameStyle(TFrameStyle Value) {
  if (Value == FFrameStyle || Value > fsEngraved) return;
  FFrameStyle = Value;
  Invalidate();
}

void TSevenSeg::SetInterDigDist(int Value) {
  Value = std::clamp(Value, 0, 255);
  if (Value == FInterDigDist) return;
  FInterDigDist = Value;
  Rebuild();
}

void TSevenSeg::SetMargin(int Value) {
  Value = std::max(0, std::min(Value, Height() / 2 - 1));
  if (Value == FMargin) return;
  FMargin = Value;
  Rebuild();
}

void TSevenSeg::SetNumDigits(int Value) {
  if (Value == FNumDigits || Value < 1 || Value > 32) return;
  FNumDigits = Value;
  Rebuild();
}

void TSevenSeg::HandleResize() {
  if (Width() == FWidth && Height() == FHeight) return;
  FWidth = Width();
  FHeight = Height();
  Rebuild();
}

// ---- glyphs ----------------------------------------------------------------------------------

void TSevenSeg::ColorizeSegments(TColor C) {
  C = ColorToRGB(C);
  if (C == clWhite) C = 0xFEFEFE;  // lit segments never equal the white surroundings
  struct TFill {
    TBitmap* Shape;
    int X, Y;
  };
  const TFill fills[] = {{SegVert.get(), SegVert->Width() / 2, SegVert->Height() / 2},
                         {SegHorz.get(), SegHorz->Width() / 2, SegHorz->Height() / 2},
                         {SegDot.get(), SegDot->Width() / 2, SegDot->Height() / 2},
                         {SegPlus.get(), SegPlus->Width() / 2, SegPlus->Height() / 2},
                         {SegColon.get(), 18, SegColon->Height() - 18},
                         {SegColon.get(), SegColon->Width() - 18, 18},
                         {SegDeg.get(), 25, SegDeg->Height() / 2}};
  for (const TFill& f : fills) {
    TCanvas& c = *f.Shape->Canvas();
    c.Brush()->SetColor(C);
    c.FloodFill(f.X, f.Y, c.Pixels(f.X, f.Y), fsSurface);
  }
}

void TSevenSeg::CreateDigit(char32_t Ch, bool Dot) {
  TCanvas& c = *DigImg->Canvas();
  c.Brush()->SetColor(clWhite);
  c.FillRect(Rect(0, 0, kMasterWidth, kMasterHeight));
  const int index = CacheIndex(Ch);
  unsigned lit = index >= 0 ? kPatterns[static_cast<std::size_t>(index)] : 0;
  if (Dot || IsPoint(Ch)) lit |= 1u << 8;
  const TBitmap* shapes[] = {SegHorz.get(), SegVert.get(), SegDot.get(), SegPlus.get(), SegColon.get(), SegDeg.get()};
  c.SetCopyMode(cmSrcAnd);
  for (std::size_t e = 1; e < kElements.size(); ++e)
    if (lit & (1u << e)) c.Draw(kElements[e].X, kElements[e].Y, shapes[kElements[e].Shape]);
  c.SetCopyMode(cmSrcCopy);
  // Everything still white is surroundings, enclosed parts such as the
  // inside of the degree ring included.
  const TPixel white = ColorToPixel(clWhite);
  const TPixel back = ColorToDevice(FColorBakG);
  for (int y = 0; y < kMasterHeight; ++y) {
    TPixel* row = DigImg->ScanLine(y);
    for (int x = 0; x < kMasterWidth; ++x)
      if (row[x] == white) row[x] = back;
  }
}

int TSevenSeg::CellWidth() const { return (Width() - 2 * FMargin) / FNumDigits - FInterDigDist; }

void TSevenSeg::CreateImageCache() {
  ++FCacheBuilds;
  FWidth = Width();
  FHeight = Height();
  const int cw = CellWidth();
  const int ih = Height() - 2 * FMargin;
  if (cw <= 0 || ih <= 0) {
    ImgCache->SetSize(0, 0);
    return;
  }
  ImgCache->SetSize(kCacheCells * cw, ih);
  TCanvas& c = *ImgCache->Canvas();
  c.Brush()->SetColor(FColorBakG);
  c.FillRect(Rect(0, 0, ImgCache->Width(), ih));
  ColorizeSegments(FColorTxt);
  const int old = c.SetStretchBltMode(HALFTONE);
  for (int k = 0; k < kCacheCells; ++k) {
    CreateDigit(kCacheOrder[static_cast<std::size_t>(k)], false);
    c.StretchBlt(cw * k, 0, cw, ih, DigImg->Canvas(), 0, 0, kMasterWidth, kMasterHeight, cmSrcCopy);
  }
  c.SetStretchBltMode(old);
}

// ---- painting --------------------------------------------------------------------------------

std::vector<TSevenSeg::TCell> TSevenSeg::Cells() const {
  // Two code points per cell at most: a character and its point.
  const std::u32string text =
      Utf8ToU32(Utf8Substr(FCaption, 0, 2 * static_cast<std::size_t>(FNumDigits)));
  std::vector<TCell> cells;
  std::size_t i = 0;
  while (static_cast<int>(cells.size()) < FNumDigits && i < text.size()) {
    TCell cell;
    if (IsPoint(text[i])) {
      cell.Point = true;
    } else {
      cell.Glyph = CacheIndex(text[i]);
      if (i + 1 < text.size() && IsPoint(text[i + 1])) {
        cell.Point = true;
        ++i;
      }
    }
    ++i;
    cells.push_back(cell);
  }
  return cells;
}

void TSevenSeg::Paint() {
  if (!Visible() && !ComponentState().Contains(csDesigning)) return;
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  // A host that replaced OnResize still gets glyphs of the right size.
  if (w != FWidth || h != FHeight) CreateImageCache();
  if (FPaintBmp->Width() != w || FPaintBmp->Height() != h) FPaintBmp->SetSize(w, h);
  TCanvas& c = *FPaintBmp->Canvas();
  c.Brush()->SetColor(FColorBakG);
  c.FillRect(Rect(0, 0, w, h));
  const int cw = CellWidth();
  const int ih = ImgCache->Height();
  if (cw > 0 && ih > 0 && ImgCache->Width() > 0) {
    const TCanvas* cache = ImgCache->Canvas();
    int j = 0;
    for (const TCell& cell : Cells()) {
      const int x = j++ * (FInterDigDist + cw) + FMargin;
      if (cell.Glyph >= 0)
        c.CopyRect(Rect(x, FMargin, x + cw, h - FMargin), cache, Rect(cw * cell.Glyph, 0, cw * (cell.Glyph + 1), ih));
      if (cell.Point) {
        const int px = cw * 5 / 6, py = ih * 5 / 6;
        c.CopyRect(Rect(x + px, py + FMargin, x + cw, h - FMargin), cache,
                   Rect(20 * cw + px, py, 21 * cw, ih));
      }
    }
  }
  DrawFrame(&c, FFrameStyle, 0, 0, w - 1, h - 1, clWhite, clSilver, clGray, clBlack, clBlack);
  TCanvas& dest = *Canvas();
  dest.SetCopyMode(cmSrcCopy);
  dest.Draw(0, 0, FPaintBmp.get());
}

}  // namespace vorn
