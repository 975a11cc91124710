#include "vorn/foundation/drawing.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace vorn {

namespace {

// Keeps the pen's colour, width and style and gives them back on exit.
class TPenKeeper {
 public:
  explicit TPenKeeper(TPen* Pen)
      : FPen(Pen), FColor(Pen->Color()), FWidth(Pen->Width()), FStyle(Pen->Style()) {
    FPen->SetWidth(1);
    FPen->SetStyle(psSolid);
  }
  TPenKeeper(const TPenKeeper&) = delete;
  TPenKeeper& operator=(const TPenKeeper&) = delete;
  ~TPenKeeper() {
    FPen->SetColor(FColor);
    FPen->SetWidth(FWidth);
    FPen->SetStyle(FStyle);
  }

 private:
  TPen* FPen;
  TColor FColor;
  int FWidth;
  TPenStyle FStyle;
};

// Pixels X1..X2 of row Y, both included.
void HorzLine(TCanvas* c, int X1, int X2, int Y) {
  c->MoveTo(X1, Y);
  c->LineTo(X2 + 1, Y);
}

void VertLine(TCanvas* c, int X, int Y1, int Y2) {
  c->MoveTo(X, Y1);
  c->LineTo(X, Y2 + 1);
}

// One ring of a frame: the top row and left column in TopLeft, the bottom
// row and right column (with the corners they end in) in BottomRight.
void Ring(TCanvas* c, int L, int T, int R, int B, TColor TopLeft, TColor BottomRight) {
  if (R < L || B < T) return;
  c->Pen()->SetColor(TopLeft);
  if (R > L) HorzLine(c, L, R - 1, T);
  if (B > T) VertLine(c, L, T, B - 1);
  c->Pen()->SetColor(BottomRight);
  HorzLine(c, L, R, B);
  VertLine(c, R, T, B);
}

}  // namespace

void DrawFrame(TCanvas* Canvas, TFrameStyle Style, int Left, int Top, int Right, int Bottom,
               TColor C1, TColor C2, TColor C3, TColor C4, TColor C5) {
  if (Canvas == nullptr || Style == fsNone || Style > fsEngraved) return;
  TPenKeeper keep(Canvas->Pen());
  struct TRings {
    TColor OuterTL, OuterBR, InnerTL, InnerBR;
  };
  TRings rings{};
  switch (Style) {
    case fsSimple: Ring(Canvas, Left, Top, Right, Bottom, C5, C5); return;
    case fsLowered: rings = {C3, C1, C4, C2}; break;
    case fsRaised: rings = {C2, C4, C1, C3}; break;
    case fsEmbossed: rings = {C1, C3, C3, C1}; break;
    default: rings = {C3, C1, C1, C3}; break;
  }
  Ring(Canvas, Left, Top, Right, Bottom, rings.OuterTL, rings.OuterBR);
  Ring(Canvas, Left + 1, Top + 1, Right - 1, Bottom - 1, rings.InnerTL, rings.InnerBR);
}

void DrawRectangle(TCanvas* Canvas, int Left, int Top, int Right, int Bottom) {
  if (Canvas == nullptr) return;
  Canvas->MoveTo(Left, Top);
  Canvas->LineTo(Right, Top);
  Canvas->LineTo(Right, Bottom);
  Canvas->LineTo(Left, Bottom);
  Canvas->LineTo(Left, Top);
}

TColor MeanColor(TColor C1, TColor C2) {
  const TColor a = ColorToRGB(C1);
  const TColor b = ColorToRGB(C2);
  const auto mean = [](int x, int y) { return (x + y + 1) / 2; };
  return RGB(mean(GetRValue(a), GetRValue(b)), mean(GetGValue(a), GetGValue(b)),
             mean(GetBValue(a), GetBValue(b)));
}

// ---- plot marks -------------------------------------------------------------------

namespace {

constexpr int kMaxExtent = 7;
constexpr int kSide = 2 * kMaxExtent + 1;

// The figures marks are made of, each a set of pixels around the centre
// that depends on a size S.
enum TFigure : std::uint8_t {
  fgPixel,
  fgSquare,
  fgCircle,
  fgDiamond,
  fgTriUp,
  fgTriDown,
  fgTriLeft,
  fgTriRight,
  fgPlus,
  fgCross,
  fgThickPlus,
  fgThickCross,
  fgVertBar,
  fgHorzBar,
  fgHourglass,
  fgBowtie,
  fgStar,
  fgPentagon,
  fgHexagon,
  fgLeftHalfSquare,
  fgTopHalfCircle,
};

// Outline keeps only the figure's pixels that touch the outside.
struct TLayer {
  TFigure Figure = fgPixel;
  std::int8_t Size = 0;
  bool Outline = false;
};

struct TMarkRecipe {
  TLayer A, B{}, C{};
  int Layers = 1;
};

constexpr TMarkRecipe Fill(TFigure f, int s) { return {{f, static_cast<std::int8_t>(s), false}}; }
constexpr TMarkRecipe Open(TFigure f, int s) { return {{f, static_cast<std::int8_t>(s), true}}; }
constexpr TMarkRecipe With(TMarkRecipe r, TMarkRecipe add) {
  (r.Layers == 1 ? r.B : r.C) = add.A;
  ++r.Layers;
  return r;
}

constexpr std::array<TMarkRecipe, NumPlotMarks> kRecipes{{
    Fill(fgPixel, 0),                                    // 0 single pixel
    Fill(fgSquare, 1),                                   // 1 dot
    Fill(fgPlus, 4),                                     // 2 plus
    Fill(fgCross, 4),                                    // 3 diagonal cross
    With(Fill(fgPlus, 4), Fill(fgCross, 3)),             // 4 asterisk
    Open(fgSquare, 4),                                   // 5
    Fill(fgSquare, 4),                                   // 6
    Open(fgCircle, 4),                                   // 7
    Fill(fgCircle, 4),                                   // 8
    Open(fgDiamond, 5),                                  // 9
    Fill(fgDiamond, 5),                                  // 10
    Open(fgTriUp, 4),                                    // 11
    Fill(fgTriUp, 4),                                    // 12
    Open(fgTriDown, 4),                                  // 13
    Fill(fgTriDown, 4),                                  // 14
    Open(fgTriLeft, 4),                                  // 15
    Fill(fgTriLeft, 4),                                  // 16
    Open(fgTriRight, 4),                                 // 17
    Fill(fgTriRight, 4),                                 // 18
    Open(fgStar, 6),                                     // 19
    Fill(fgStar, 6),                                     // 20
    Open(fgPentagon, 5),                                 // 21
    Fill(fgPentagon, 5),                                 // 22
    Open(fgHexagon, 5),                                  // 23
    Fill(fgHexagon, 5),                                  // 24
    With(Open(fgSquare, 4), Fill(fgPixel, 0)),           // 25 square with centre
    With(Open(fgCircle, 4), Fill(fgPixel, 0)),           // 26 circle with centre
    With(Open(fgCircle, 5), Fill(fgPlus, 5)),            // 27 circled plus
    With(Open(fgCircle, 5), Fill(fgCross, 3)),           // 28 circled cross
    With(Open(fgSquare, 4), Fill(fgPlus, 4)),            // 29 boxed plus
    With(Open(fgSquare, 4), Fill(fgCross, 4)),           // 30 boxed cross
    With(Open(fgDiamond, 5), Fill(fgPlus, 5)),           // 31 diamond with plus
    Fill(fgHourglass, 4),                                // 32
    Fill(fgBowtie, 4),                                   // 33
    Fill(fgVertBar, 4),                                  // 34
    Fill(fgHorzBar, 4),                                  // 35
    Fill(fgThickPlus, 5),                                // 36
    Fill(fgThickCross, 4),                               // 37
    Open(fgSquare, 2),                                   // 38 small
    Open(fgCircle, 2),                                   // 39
    Fill(fgCircle, 2),                                   // 40
    Fill(fgPlus, 2),                                     // 41
    Fill(fgCross, 2),                                    // 42
    Open(fgSquare, 6),                                   // 43 large
    Open(fgCircle, 6),                                   // 44
    Open(fgDiamond, 7),                                  // 45
    Open(fgTriUp, 6),                                    // 46
    With(Open(fgSquare, 5), Open(fgSquare, 2)),          // 47 double square
    With(Open(fgCircle, 5), Open(fgCircle, 2)),          // 48 double circle
    With(Open(fgSquare, 4), Fill(fgLeftHalfSquare, 4)),  // 49 half filled square
    With(Open(fgCircle, 4), Fill(fgTopHalfCircle, 4)),   // 50 half filled circle
    With(Open(fgCircle, 5), Fill(fgCircle, 2)),          // 51 bullseye
}};

struct TPointF {
  double X, Y;
};

// Even-odd test of the point (x, y) against a closed polygon.
bool InPolygon(const std::vector<TPointF>& poly, double x, double y) {
  bool inside = false;
  for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const TPointF& a = poly[i];
    const TPointF& b = poly[j];
    if ((a.Y > y) != (b.Y > y) && x < (b.X - a.X) * (y - a.Y) / (b.Y - a.Y) + a.X) inside = !inside;
  }
  return inside;
}

// A regular polygon (Inner = 0) or star (Inner = ratio of the inner
// radius) with its first point straight up. Shapes with an odd number of
// points reach less far down than up; they are moved down by half the
// difference so that they are centred on the point.
std::vector<TPointF> RegularShape(int Points, double Radius, double Inner, double Turn) {
  std::vector<TPointF> poly;
  const int n = Inner > 0 ? 2 * Points : Points;
  const double shift = Points % 2 == 1 ? Radius * (1 - std::cos(std::numbers::pi / Points)) / 2 : 0;
  for (int k = 0; k < n; ++k) {
    const double r = (Inner > 0 && k % 2 == 1) ? Radius * Inner : Radius;
    const double a = -std::numbers::pi / 2 + Turn + 2 * std::numbers::pi * k / n;
    poly.push_back({r * std::cos(a), r * std::sin(a) + shift});
  }
  return poly;
}

bool FigureCovers(TFigure f, int s, int x, int y) {
  const int ax = std::abs(x), ay = std::abs(y);
  switch (f) {
    case fgPixel: return x == 0 && y == 0;
    case fgSquare: return ax <= s && ay <= s;
    case fgCircle: return x * x + y * y <= s * s + s;
    case fgDiamond: return ax + ay <= s;
    case fgTriUp: return y <= s && 2 * ax <= y + s;
    case fgTriDown: return y >= -s && 2 * ax <= s - y;
    case fgTriLeft: return x <= s && 2 * ay <= x + s;
    case fgTriRight: return x >= -s && 2 * ay <= s - x;
    case fgPlus: return (x == 0 && ay <= s) || (y == 0 && ax <= s);
    case fgCross: return ax == ay && ax <= s;
    case fgThickPlus: return (ax <= 1 && ay <= s) || (ay <= 1 && ax <= s);
    case fgThickCross: return std::abs(ax - ay) <= 1 && ax <= s && ay <= s;
    case fgVertBar: return x == 0 && ay <= s;
    case fgHorzBar: return y == 0 && ax <= s;
    case fgHourglass: return ax <= ay && ay <= s;
    case fgBowtie: return ay <= ax && ax <= s;
    case fgStar: return InPolygon(RegularShape(5, s + 0.5, 0.42, 0), x, y);
    case fgPentagon: return InPolygon(RegularShape(5, s + 0.5, 0, 0), x, y);
    case fgHexagon: return InPolygon(RegularShape(6, s + 0.5, 0, std::numbers::pi / 6), x, y);
    case fgLeftHalfSquare: return x <= 0 && ax <= s && ay <= s;
    case fgTopHalfCircle: return y <= 0 && x * x + y * y <= s * s + s;
  }
  return false;
}

// Pixels of one mark; row Y + kMaxExtent, bit X + kMaxExtent.
struct TMarkMask {
  std::array<std::uint16_t, kSide> Rows{};
  int Extent = 0;

  [[nodiscard]] bool Covers(int x, int y) const {
    if (std::abs(x) > kMaxExtent || std::abs(y) > kMaxExtent) return false;
    return (Rows[y + kMaxExtent] >> (x + kMaxExtent)) & 1u;
  }
};

void AddLayer(TMarkMask& m, const TLayer& layer) {
  const auto in = [&](int x, int y) {
    return std::abs(x) <= kMaxExtent && std::abs(y) <= kMaxExtent &&
           FigureCovers(layer.Figure, layer.Size, x, y);
  };
  for (int y = -kMaxExtent; y <= kMaxExtent; ++y) {
    for (int x = -kMaxExtent; x <= kMaxExtent; ++x) {
      if (!in(x, y)) continue;
      const bool edge = !in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) || !in(x, y + 1);
      if (layer.Outline && !edge) continue;
      m.Rows[y + kMaxExtent] |= static_cast<std::uint16_t>(1u << (x + kMaxExtent));
      m.Extent = std::max({m.Extent, std::abs(x), std::abs(y)});
    }
  }
}

std::array<TMarkMask, NumPlotMarks> BuildMasks() {
  std::array<TMarkMask, NumPlotMarks> masks{};
  for (int i = 0; i < NumPlotMarks; ++i) {
    const TMarkRecipe& r = kRecipes[static_cast<std::size_t>(i)];
    const std::array<TLayer, 3> layers{r.A, r.B, r.C};
    for (int l = 0; l < r.Layers; ++l) AddLayer(masks[static_cast<std::size_t>(i)], layers[static_cast<std::size_t>(l)]);
  }
  return masks;
}

const TMarkMask* MaskOf(int Mark) {
  static const std::array<TMarkMask, NumPlotMarks> masks = BuildMasks();
  return (Mark >= 0 && Mark < NumPlotMarks) ? &masks[static_cast<std::size_t>(Mark)] : nullptr;
}

}  // namespace

int MarkExtent(int Mark) {
  const TMarkMask* m = MaskOf(Mark);
  return m ? m->Extent : 0;
}

bool MarkCovers(int Mark, int DX, int DY) {
  const TMarkMask* m = MaskOf(Mark);
  return m && m->Covers(DX, DY);
}

void DrawMarkOnCanvas(TCanvas* Canvas, int Mark, int X, int Y) {
  const TMarkMask* m = MaskOf(Mark);
  if (Canvas == nullptr || m == nullptr) return;
  const TPoint oldPos = Canvas->PenPos();
  {
    TPenKeeper keep(Canvas->Pen());
    // Each row goes out as runs of set pixels, so that pen modes such as
    // inversion touch every pixel exactly once.
    for (int y = -kMaxExtent; y <= kMaxExtent; ++y) {
      int x = -kMaxExtent;
      while (x <= kMaxExtent) {
        if (!m->Covers(x, y)) {
          ++x;
          continue;
        }
        const int start = x;
        while (x <= kMaxExtent && m->Covers(x, y)) ++x;
        HorzLine(Canvas, X + start, X + x - 1, Y + y);
      }
    }
  }
  Canvas->SetPenPos(oldPos);
}

}  // namespace vorn
