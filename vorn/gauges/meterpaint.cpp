// TMeter's picture: the three layers (dial, needles, cover), the kept dial
// and the partial repaint after a value change.
#include <algorithm>
#include <array>
#include <cmath>

#include "vorn/gauges/meter.h"
#include "vorn/gauges/meterring.h"

namespace vorn {
namespace {

constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kGrey = 0x808080;
constexpr TColor kSilver = 0xC0C0C0;

void Line(TCanvas& C, TColor Color, TPoint From, TPoint To) {
  C.Pen()->SetColor(Color);
  C.MoveTo(From.X, From.Y);
  C.LineTo(To.X, To.Y);
}

// A pen path through Points in one colour.
void Path(TCanvas& C, TColor Color, std::initializer_list<TPoint> Points) {
  C.Pen()->SetColor(Color);
  const TPoint* p = Points.begin();
  C.MoveTo(p->X, p->Y);
  for (++p; p != Points.end(); ++p) C.LineTo(p->X, p->Y);
}

// A coordinate from sums of sizes, rims and the anchor size, computed wide
// and limited to the canvas's range: properties of any int value stay safe.
int Coord(long long V) { return static_cast<int>(std::clamp<long long>(V, -kMaxCanvasCoord, kMaxCanvasCoord)); }

}  // namespace

// ---- the composed picture -----------------------------------------------------------------------------------------

TMeter::TNeedleShape TMeter::NeedleShape(const TNeedleLayout& L, double Value) const {
  Value = ClampToRange(Value, FMinValue, FMaxValue);
  const double t = PolarAngle(Value);
  const double cx = FMeterCenterX, cy = FMeterCenterY;
  const double length = L.PercentNeedleLength() * (FMeterRadius - 4) * 0.01;
  const double xt = RoundToPixel(cx + std::cos(t) * length);
  const double yt = RoundToPixel(cy - std::sin(t) * length);
  const double a = L.HeadAngle() * kDegToRad;
  const double sx = std::sin(t) * L.Thickness() / 2.0;
  const double sy = std::cos(t) * L.Thickness() / 2.0;
  const double hs = L.HeadSize();
  const double hm = L.HeadMidLeng();
  TNeedleShape shape;
  const auto add = [&](double x, double y) { shape.Body.push_back({RoundToPixel(x), RoundToPixel(y)}); };
  add(xt - std::cos(t + a / 2) * hs, yt + std::sin(t + a / 2) * hs);
  add(xt, yt);
  add(xt - std::cos(t - a / 2) * hs, yt + std::sin(t - a / 2) * hs);
  add(xt - sx - std::cos(t) * hm, yt - sy + std::sin(t) * hm);
  add(cx - sx, cy - sy);
  add(cx + sx, cy + sy);
  add(xt + sx - std::cos(t) * hm, yt + sy + std::sin(t) * hm);
  std::vector<TPoint> all = shape.Body;
  if (L.ShadowDx() != 0 || L.ShadowDy() != 0) {
    for (const TPoint& p : shape.Body) {
      shape.Shadow.push_back({ClampCoord(static_cast<int>(std::clamp<long long>(
                                  static_cast<long long>(p.X) - L.ShadowDx(), -kMaxCanvasCoord, kMaxCanvasCoord))),
                              ClampCoord(static_cast<int>(std::clamp<long long>(
                                  static_cast<long long>(p.Y) - L.ShadowDy(), -kMaxCanvasCoord, kMaxCanvasCoord)))});
    }
    all.insert(all.end(), shape.Shadow.begin(), shape.Shadow.end());
  }
  TRect box{all[0].X, all[0].Y, all[0].X, all[0].Y};
  for (const TPoint& p : all) {
    box.Left = std::min(box.Left, p.X);
    box.Top = std::min(box.Top, p.Y);
    box.Right = std::max(box.Right, p.X);
    box.Bottom = std::max(box.Bottom, p.Y);
  }
  // A pixel's margin around the outline's end points on every side.
  shape.Bounds = {box.Left - 1, box.Top - 1, box.Right + 2, box.Bottom + 2};
  return shape;
}

std::vector<TRect> TMeter::LampRects() const {
  const long long X = static_cast<long long>(Width()) - FSRim, T = FTRim, S = FSRim;
  return {{Coord(X - 18), Coord(T + 8), Coord(X - 7), Coord(T + 19)},
          {Coord(S + 8), Coord(T + 8), Coord(S + 19), Coord(T + 19)}};
}

const TBitmap* TMeter::Picture() {
  if (!(FMeterRadius > 0) || Width() <= 0 || Height() <= 0) return nullptr;
  const int W = Width(), H = Height();
  const TRect whole{0, 0, W, H};
  try {
    for (auto* bmp : {&FDial, &FPicture}) {
      if (!*bmp) *bmp = std::make_unique<TBitmap>();
      if ((*bmp)->Width() != W || (*bmp)->Height() != H) {
        FDialValid = false;
        FPictureValid = false;
        (*bmp)->SetSize(W, H);
      }
    }
  } catch (const std::exception&) {
    // Beyond the picture size limit or out of memory: no kept layers, and
    // nothing painted rather than a failing setter.
    FDial.reset();
    FPicture.reset();
    return nullptr;
  }
  if (!FDialValid) {
    PaintDial(*FDial->Canvas());
    FDialValid = true;
    FPictureValid = false;
    ++FDialBuilds;
  }
  std::array<TNeedleShape, 2> needles = CurrentNeedles();
  std::vector<TRect> areas;
  if (!FPictureValid || FOnBefDrawNeedle || FOnMeterRendered) {
    areas.push_back(whole);
  } else {
    // Old and new needle share the centre, so one box around both.
    TRect box{};
    for (int i = 0; i < 2; ++i) {
      const TNeedleShape& was = FComposedNeedles[i];
      if (needles[i].Body == was.Body && needles[i].Shadow == was.Shadow) continue;
      for (const TRect& r : {was.Bounds, needles[i].Bounds}) {
        if (!r.IsEmpty()) box = box.IsEmpty() ? r : UnionRect(box, r);
      }
    }
    if (!box.IsEmpty()) areas.push_back(box);
    if (FOFL != FComposedOFL || FUFL != FComposedUFL) {
      for (const TRect& r : LampRects()) areas.push_back(r);
    }
  }
  const bool partial = !(areas.size() == 1 && areas[0] == whole);
  // Rims, bevel and anchor come from a kept overlay on partial repaints
  // (an anchor picture mixes with what lies under it, so it is drawn).
  const bool overlay = partial && FACoverFName.empty() && BuildShell();
  if (!partial) FShellValid = false;
  TCanvas& C = *FPicture->Canvas();
  for (const TRect& area : areas) {
    const TRect r = IntersectRect(area, whole);
    if (r.IsEmpty()) continue;
    C.SetCopyMode(cmSrcCopy);
    C.CopyRect(r, FDial->Canvas(), r);
    if (r != whole) C.SetClipRect(r);
    PrepareUpperLayers(C);
    PaintNeedles(C, needles);
    if (overlay) {
      OverlayShell(r);
    } else {
      PaintShell(C);
    }
    PaintTop(C);
    C.ResetClip();
    FChanged.push_back(r);
  }
  FComposedNeedles = std::move(needles);
  FComposedOFL = FOFL;
  FComposedUFL = FUFL;
  FPictureValid = true;
  return FPicture.get();
}

// ---- painting ---------------------------------------------------------------------------------------------------------

void TMeter::PaintTo(TCanvas& C) const {
  if (!(FMeterRadius > 0) || Width() <= 0 || Height() <= 0) return;
  PaintDial(C);
  PrepareUpperLayers(C);
  PaintNeedles(C);
  PaintCover(C);
}

void TMeter::PaintDial(TCanvas& C) const {
  C.SetCopyMode(cmSrcCopy);
  C.Pen()->SetStyle(psSolid);
  C.Pen()->SetWidth(1);
  C.Pen()->SetMode(pmCopy);
  C.Brush()->SetStyle(bsSolid);
  PaintBackground(C);
  if (FScaleBkVis) PaintSections(C);
  C.Brush()->SetStyle(bsClear);  // texts are drawn transparently from here on
  if (FScaleVis) PaintScale(C);
  PaintCaption(C);
}

void TMeter::PaintBackground(TCanvas& C) const {
  const int W = Width(), H = Height();
  const bool image = !FBakGndFName.empty() && !AuxBGBmp->Empty();
  if (!image) {
    C.SetFont(Font());
    C.Pen()->SetColor(FColorBakG);
    C.Brush()->SetColor(FColorBakG);
    C.Rectangle(0, 0, W, H);
    return;
  }
  const TBitmap& bmp = *AuxBGBmp;
  switch (FBGFillMode) {
    case bfStretch: C.StretchDraw({0, 0, W, H}, &bmp); break;
    case bfTile: {
      // Tiles column by column give the same pixels as one tile copied
      // across the row and the row copied down, doubling each time; the
      // latter costs a few copies whatever the tile size.
      const int iw = bmp.Width(), ih = bmp.Height();
      C.Draw(0, 0, &bmp);
      for (int done = iw; done < W; done *= 2) {
        const int n = std::min(done, W - done);
        C.CopyRect({done, 0, done + n, ih}, &C, {0, 0, n, ih});
      }
      for (int done = ih; done < H; done *= 2) {
        const int n = std::min(done, H - done);
        C.CopyRect({0, done, W, done + n}, &C, {0, 0, W, n});
      }
      break;
    }
    default:
      C.Pen()->SetColor(0x000000);
      C.Brush()->SetColor(0xFFFFFF);
      C.Rectangle(0, 0, W, H);
      C.Draw(0, 0, &bmp);
      break;
  }
}

void TMeter::PaintSections(TCanvas& C) const {
  const double R = FMeterRadius;
  const int cx = FMeterCenterX, cy = FMeterCenterY;
  const int ro = RoundToPixel(R + 4);
  const int ri = RoundToPixel((100 - FScaleBakWidth) * R / 100);
  const double aMin = PolarAngle(FMinValue), aLow = PolarAngle(FLowThreshold);
  const double aHigh = PolarAngle(FHighThreshold), aMax = PolarAngle(FMaxValue);
  const struct {
    TColor Color;
    double Small, Large;
  } sections[] = {{FColorBakGLow, aLow, aMin}, {FColorBakGNorm, aHigh, aLow}, {FColorBakGHigh, aMax, aHigh}};
  std::vector<TRingSection> ring;
  for (const auto& s : sections) {
    if (s.Large - s.Small > 1e-6) ring.push_back({s.Color, PointAt(s.Small, R), PointAt(s.Large, R)});
  }
  const bool plain = FBakGndFName.empty() || AuxBGBmp->Empty();
  PaintSectionRing(C, cx, cy, ro, ri, ring, FColorBakG, plain ? TRect{0, 0, Width(), Height()} : TRect{});
}

void TMeter::PaintScale(TCanvas& C) const {
  const double R = FMeterRadius;
  const int cx = FMeterCenterX, cy = FMeterCenterY;
  C.Pen()->SetColor(FColorScale);
  if (FScaleLine) {
    const int rs = RoundToPixel(R);
    const TPoint from = PointAt(PolarAngle(FMaxValue), R), to = PointAt(PolarAngle(FMinValue), R);
    C.Arc(cx - rs, cy - rs, ClampCoord(cx + rs + 1), cy + rs, from.X, from.Y, to.X, to.Y);
  }
  const TTickStep steps = CalcTickStep(FNrTicks, FMinValue, FMaxValue);
  const auto tick = [&](double v, double Length) {
    const double t = PolarAngle(v);
    const TPoint outer = PointAt(t, R), inner = PointAt(t, R - Length);
    C.MoveTo(outer.X, outer.Y);
    C.LineTo(inner.X, inner.Y);
  };
  if (FShortTicks) {
    for (double v : MinorTicks(steps, FMinValue, FMaxValue)) tick(v, 4);
  }
  C.SetFont(Font());
  const TSize maxLabel = C.TextExtent(ScaleLabelText(FMaxValue, FDecPlaces));
  const int dx = maxLabel.cx / 2 + 15, dy = maxLabel.cy / 2 + 15;
  const bool decades = FLogarithmic && FMinValue > 0 && FMaxValue > 0 && std::fabs(std::log10(FMaxValue / FMinValue)) >= 1;
  const std::vector<TScaleTick> majors =
      decades ? LogMajorTicks(FMinValue, FMaxValue) : LinearMajorTicks(steps, FMinValue, FMaxValue);
  const std::vector<TPoint> centres = LabelCentres(C, majors, dx, dy);
  for (std::size_t i = 0; i < majors.size(); ++i) {
    tick(majors[i].Value, 8);
    if (majors[i].Labelled) PaintLabel(C, majors[i].Value, centres[i]);
  }
}

std::vector<TPoint> TMeter::LabelCentres(const TCanvas& C, const std::vector<TScaleTick>& Majors, int dx,
                                         int dy) const {
  std::vector<TPoint> centres;
  centres.reserve(Majors.size());
  for (const TScaleTick& major : Majors) {
    const double polar = PolarAngle(major.Value);
    centres.push_back({RoundToPixel(FMeterCenterX + std::cos(polar) * (FMeterRadius - dx)),
                       RoundToPixel(FMeterCenterY - std::sin(polar) * (FMeterRadius - dy))});
  }
  // The full circle closes on itself at the bottom, where its first and
  // last labels then stand at the same place. Where they would meet, the
  // first moves left and the last right of the point between them, a
  // small gap apart: the scale runs from its start to the left, up and
  // round, and comes back from the right to its end.
  const auto labelled = [](const TScaleTick& T) { return T.Labelled; };
  const auto first = std::find_if(Majors.begin(), Majors.end(), labelled);
  const auto last = std::find_if(Majors.rbegin(), Majors.rend(), labelled);
  if (FMeterAngle < 360 || first == Majors.end() || &*first == &*last) return centres;
  TPoint& a = centres[static_cast<std::size_t>(first - Majors.begin())];
  TPoint& b = centres[Majors.size() - 1 - static_cast<std::size_t>(last - Majors.rbegin())];
  const TSize sa = C.TextExtent(ScaleLabelText(first->Value, FDecPlaces));
  const TSize sb = C.TextExtent(ScaleLabelText(last->Value, FDecPlaces));
  const auto box = [](TPoint P, TSize S) {
    const int left = P.X - S.cx / 2, top = P.Y - S.cy / 2;
    return TRect{left, top, left + S.cx, top + S.cy};
  };
  if (IntersectRect(box(a, sa), box(b, sb)).IsEmpty()) return centres;
  constexpr int kGap = 4;
  const int middle = a.X + (b.X - a.X) / 2;
  // Centres whose boxes end (begin) half the gap left (right) of the middle.
  a.X = middle - kGap / 2 - (sa.cx - sa.cx / 2);
  b.X = middle + kGap / 2 + sb.cx / 2;
  return centres;
}

void TMeter::PaintLabel(TCanvas& C, double Value, TPoint Centre) const {
  const int x = Centre.X, y = Centre.Y;
  std::string text = ScaleLabelText(Value, FDecPlaces);
  if (FOnBefDrawSclLab) {
    const TSize size = C.TextExtent(text);
    FOnBefDrawSclLab(const_cast<TMeter*>(this), &C, text, x - size.cx / 2, y - size.cy / 2);
  }
  if (text.empty()) return;
  const TSize size = C.TextExtent(text);
  C.TextOut(x - size.cx / 2, y - size.cy / 2, text);
}

void TMeter::PaintCaption(TCanvas& C) const {
  C.SetFont(FFontCaption.get());
  const std::string& text = Caption();
  if (text.empty()) return;
  const TSize size = C.TextExtent(text);
  C.TextOut(FMeterCenterX - size.cx / 2, FMeterCenterY - RoundToPixel(FMeterRadius / 3) - size.cy / 2, text);
}

// One canvas state for needles, cover and the event handlers, whether
// the dial was drawn just now or copied from the kept bitmap.
void TMeter::PrepareUpperLayers(TCanvas& C) const {
  C.SetCopyMode(cmSrcCopy);
  C.Pen()->SetStyle(psSolid);
  C.Pen()->SetWidth(1);
  C.Pen()->SetMode(pmCopy);
  C.Pen()->SetColor(FScaleVis ? FColorScale : FColorBakG);
  C.Brush()->SetStyle(bsClear);
  if (FOnBefDrawNeedle || FOnMeterRendered) C.SetFont(FFontCaption.get());
}

std::array<TMeter::TNeedleShape, 2> TMeter::CurrentNeedles() const {
  std::array<TNeedleShape, 2> needles;
  if (FNeedle2Layout->Visible()) needles[0] = NeedleShape(*FNeedle2Layout, FValue2);
  if (FNeedleLayout->Visible()) needles[1] = NeedleShape(*FNeedleLayout, FValue);
  return needles;
}

void TMeter::PaintNeedles(TCanvas& C) const { PaintNeedles(C, CurrentNeedles()); }

void TMeter::PaintNeedles(TCanvas& C, const std::array<TNeedleShape, 2>& Needles) const {
  bool drawn = false;
  if (FOnBefDrawNeedle) FOnBefDrawNeedle(const_cast<TMeter*>(this), &C, drawn);
  if (drawn) return;
  C.Brush()->SetStyle(bsSolid);
  if (!Needles[0].Body.empty()) PaintNeedle(C, Needles[0], *FNeedle2Layout);
  if (!Needles[1].Body.empty()) PaintNeedle(C, Needles[1], *FNeedleLayout);
}

void TMeter::PaintNeedle(TCanvas& C, const TNeedleShape& Shape, const TNeedleLayout& L) const {
  if (!Shape.Shadow.empty()) {
    C.Pen()->SetColor(L.ShadowColor());
    C.Brush()->SetColor(L.ShadowColor());
    C.Polygon(Shape.Shadow);
  }
  C.Pen()->SetColor(L.ColorOutline());
  C.Brush()->SetColor(L.ColorBody());
  C.Polygon(Shape.Body);
}

// Cover parts wholly outside the canvas's clip are left out: a value
// change repaints small areas, and the parts' pixels are the same either
// way. Pen paths are drawn segment by segment for the same reason.
namespace {

bool Touches(const TCanvas& C, const TRect& Box) { return !IntersectRect(C.ClipRect(), Box).IsEmpty(); }

// The pixels LineTo sets from From to To lie in this box.
TRect SegmentBox(TPoint From, TPoint To) {
  return {std::min(From.X, To.X), std::min(From.Y, To.Y), Coord(std::max(From.X, To.X) + 1LL),
          Coord(std::max(From.Y, To.Y) + 1LL)};
}

void Segment(TCanvas& C, TColor Color, TPoint From, TPoint To) {
  if (Touches(C, SegmentBox(From, To))) Line(C, Color, From, To);
}

void Segments(TCanvas& C, TColor Color, std::initializer_list<TPoint> Points) {
  for (const TPoint* p = Points.begin(); p + 1 != Points.end(); ++p) Segment(C, Color, p[0], p[1]);
}

}  // namespace

void TMeter::PaintCover(TCanvas& C) const {
  PaintShell(C);
  PaintTop(C);
}

void TMeter::PaintShell(TCanvas& C) const {
  const int W = Width(), H = Height();
  C.Pen()->SetColor(FColorCover);
  C.Brush()->SetColor(FColorCover);
  const long long S = FSRim;
  for (const TRect& rim : {TRect{0, 0, Coord(S - 1), H}, TRect{0, 0, W, Coord(FTRim)}, TRect{Coord(W - S), 0, W, H},
                           TRect{0, Coord(static_cast<long long>(H) - FBRim), W, H}}) {
    if (Touches(C, {std::min(rim.Left, rim.Right), std::min(rim.Top, rim.Bottom), std::max(rim.Left, rim.Right),
                    std::max(rim.Top, rim.Bottom)})) {
      C.Rectangle(rim);
    }
  }
  PaintAnchor(C);
}

void TMeter::PaintTop(TCanvas& C) const {
  const std::vector<TRect> lamps = LampRects();
  if (FLimWatHighOn && Touches(C, lamps[0])) PaintLamp(C, true);
  if (FLimWatLowOn && Touches(C, lamps[1])) PaintLamp(C, false);
  if (FOnMeterRendered) FOnMeterRendered(const_cast<TMeter*>(this), &C);
  PaintFrame(C);
}

// The shell drawn once on black and once on white: where both agree it
// covers the pixel with that colour, elsewhere it leaves what is below.
// The covered pixels are kept as runs per row, so that an overlay costs
// what the shell covers inside the repainted box.
bool TMeter::BuildShell() {
  if (FShellValid) return true;
  const int W = Width(), H = Height();
  try {
    TBitmap dark(W, H), light(W, H);
    dark.Canvas()->Brush()->SetColor(0x000000);
    dark.Canvas()->FillRect({0, 0, W, H});
    PaintShell(*dark.Canvas());
    PaintShell(*light.Canvas());
    if (!FShell) FShell = std::make_unique<TBitmap>();
    FShell->SetSize(W, H);
    FShellRuns.clear();
    FShellRowStart.assign(static_cast<std::size_t>(H) + 1, 0);
    for (int y = 0; y < H; ++y) {
      FShellRowStart[static_cast<std::size_t>(y)] = FShellRuns.size();
      const TPixel* a = dark.ScanLine(y);
      const TPixel* b = light.ScanLine(y);
      std::copy(a, a + W, FShell->ScanLine(y));
      for (int x = 0; x < W;) {
        if (a[x] != b[x]) {
          ++x;
          continue;
        }
        const int start = x;
        while (x < W && a[x] == b[x]) ++x;
        FShellRuns.push_back({start, x});
      }
    }
    FShellRowStart[static_cast<std::size_t>(H)] = FShellRuns.size();
  } catch (const std::exception&) {
    FShell.reset();
    FShellRuns.clear();
    FShellRowStart.clear();
    return false;
  }
  FShellValid = true;
  return true;
}

void TMeter::OverlayShell(const TRect& R) {
  const TSurface shellRows = FShell->Surface(), picture = FPicture->Surface();
  for (int y = R.Top; y < R.Bottom; ++y) {
    const TPixel* shell = shellRows.Row(y);
    TPixel* dst = picture.Row(y);
    for (std::size_t i = FShellRowStart[static_cast<std::size_t>(y)]; i < FShellRowStart[static_cast<std::size_t>(y) + 1];
         ++i) {
      const int x0 = std::max(FShellRuns[i].first, R.Left), x1 = std::min(FShellRuns[i].second, R.Right);
      if (x0 < x1) std::copy(shell + x0, shell + x1, dst + x0);
    }
  }
}

// White along the bottom and up the right, grey along the top and down the
// left, from the bottom-left corner round.
void TMeter::PaintInnerBevel(TCanvas& C) const {
  const long long W = Width(), H = Height();
  const int left = Coord(FSRim - 1LL), right = Coord(W - FSRim), bottom = Coord(H - FBRim), top = Coord(FTRim);
  Segments(C, kWhite, {{left, bottom}, {right, bottom}, {right, top}});
  Segments(C, kGrey, {{right, top}, {left, top}, {left, bottom}});
}

void TMeter::PaintAnchor(TCanvas& C) const {
  const int W = Width(), H = Height();
  const long long cx = FMeterCenterX, cy = FMeterCenterY, SA = FSizeAnchor;
  const int left = Coord(cx - SA), right = Coord(cx + SA), top = Coord(cy - SA), bottom = Coord(cy + SA);
  const int rimLine = Coord(static_cast<long long>(H) - FBRim);
  const int sideLeft = Coord(FSRim - 1LL), sideRight = Coord(static_cast<long long>(W) - FSRim);
  const int centreY = static_cast<int>(cy);
  const int rimTop = Coord(FTRim);
  // Everything of a drawn anchor that differs from the plain inner bevel.
  const TRect anchorBox{std::min(left, right) - 1, std::min({top, bottom, rimLine}) - 1,
                        std::max(left, right) + 1, std::max({top, bottom, rimLine, H}) + 1};
  if (!FAnchorCovrd || (FACoverFName.empty() && !Touches(C, anchorBox))) {
    PaintInnerBevel(C);
  } else if (!FACoverFName.empty()) {
    PaintInnerBevel(C);
    const int iw = AuxACBmp->Width(), ih = AuxACBmp->Height();
    const TRect box{Coord(cx - iw / 2), Coord(cy - ih / 2), Coord(cx - iw / 2 + iw), Coord(cy - ih / 2 + ih)};
    C.SetCopyMode(cmSrcAnd);
    C.StretchDraw(box, AuxACMaskBmp.get());
    C.SetCopyMode(cmSrcPaint);
    C.StretchDraw(box, AuxACBmp.get());
    C.SetCopyMode(cmSrcCopy);
  } else if (FMeterLayout == mlCirc270 || FMeterLayout == mlCirc300 || FMeterLayout == mlCirc360) {
    C.Ellipse(left, top, right, bottom);
    PaintInnerBevel(C);
    C.Pen()->SetColor(kWhite);
    C.Arc(left, top, right, bottom, right, top, left, bottom);
    C.Pen()->SetColor(kGrey);
    C.Arc(left, top, right, bottom, left, bottom, right, top);
  } else {
    // A half disk on a block standing on the bottom rim; the bevel runs
    // round it. The disk leaves a notch in the row above the centre at its
    // left end (its closing radius leaves from the last outline pixel
    // before the end direction, one row up): the block reaches into that
    // row, where the disk is as wide as the block.
    C.Pie(left, top, right, bottom, W, centreY, 0, centreY);
    C.Rectangle(left, rimLine, right, centreY - 1);
    Segment(C, kGrey, {right - 1, centreY - 1}, {right - 1, rimLine});
    Segments(C, kWhite, {{right - 1, rimLine}, {sideRight, rimLine}, {sideRight, rimTop}});
    Segments(C, kGrey, {{sideRight, rimTop}, {sideLeft, rimTop}, {sideLeft, rimLine}});
    Segments(C, kWhite, {{sideLeft, rimLine}, {left, rimLine}, {left, centreY - 2}});
    C.Pen()->SetColor(kWhite);
    C.Arc(left, top, right, bottom, W, centreY, 0, centreY);
    C.Pen()->SetColor(kGrey);
    C.Arc(left, top, right, bottom, right, centreY, right, top);
  }
}

// A 10 x 10 lamp below the top rim, at the right (high) or left (low)
// side, with a small bevel.
void TMeter::PaintLamp(TCanvas& C, bool High) const {
  // The square's corner and the offsets of its bevel lines, mirrored for
  // the low lamp at the left.
  const TRect square = LampRects()[High ? 0 : 1];
  const int L = square.Left, T = square.Top;
  C.Pen()->SetColor(FColBlackLine);
  C.Brush()->SetColor((High ? FOFL : FUFL) ? FLimWatActCol : FLimWatPsvCol);
  C.Rectangle(L, T, L + 10, T + 10);
  Path(C, kWhite, {{L + 1, T + 9}, {L + 9, T + 9}, {L + 9, T}});
  Path(C, kSilver, {{L + 2, T + 8}, {L + 8, T + 8}, {L + 8, T + 1}});
  Path(C, kGrey, {{L + 1, T + 8}, {L + 1, T + 1}, {L + 9, T + 1}});
}

void TMeter::PaintFrame(TCanvas& C) const {
  const int W = Width(), H = Height();
  const TColor G = FColGrayLine, Wh = FColWhiteLine;
  switch (FFrameStyle) {
    case fsNone: break;
    case fsSimple: Segments(C, FColorBakG, {{0, H - 1}, {0, 0}, {W - 1, 0}, {W - 1, H - 1}, {0, H - 1}}); break;
    case fsLowered:
    case fsRaised: {
      const TColor first = FFrameStyle == fsLowered ? G : Wh, second = FFrameStyle == fsLowered ? Wh : G;
      Segments(C, first, {{0, H - 1}, {0, 0}, {W - 1, 0}});
      Segments(C, second, {{W - 1, 0}, {W - 1, H - 1}, {0, H - 1}});
      break;
    }
    default: {
      const TColor outer = FFrameStyle == fsEmbossed ? Wh : G, inner = FFrameStyle == fsEmbossed ? G : Wh;
      Segments(C, outer, {{0, 0}, {W - 2, 0}, {W - 2, H - 2}, {0, H - 2}, {0, 0}});
      Segments(C, inner, {{1, H - 3}, {1, 1}, {W - 2, 1}});
      Segments(C, inner, {{1, H - 1}, {W - 1, H - 1}, {W - 1, 0}});
      break;
    }
  }
}

}  // namespace vorn
