#include "vorn/gauges/meter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <limits>
#include <numbers>
#include <system_error>

namespace vorn {
namespace {

constexpr double kDegToRad = std::numbers::pi / 180.0;
constexpr double kLogFloor = 1e-100;
constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kGrey = 0x808080;
constexpr TColor kSilver = 0xC0C0C0;

// Round half to even, limited to the canvas's coordinate range (NaN gives 0).
int SafeRound(double X) {
  if (std::isnan(X)) return 0;
  return static_cast<int>(std::nearbyint(std::clamp(X, -double(kMaxCanvasCoord), double(kMaxCanvasCoord))));
}

bool FileExists(const std::string& Name) {
  std::error_code ec;
  return !Name.empty() && std::filesystem::is_regular_file(Name, ec);
}

// The next range end above (below) x: x + 1 where that is a different
// number, else the next representable one; NaN where none is finite.
double StepAbove(double x) {
  const double y = x + 1 > x ? x + 1 : std::nextafter(x, std::numeric_limits<double>::infinity());
  return std::isfinite(y) ? y : std::numeric_limits<double>::quiet_NaN();
}
double StepBelow(double x) { return -StepAbove(-x); }

// Lo when V is below Lo or NaN, else at most Hi (no precondition on the
// order of Lo and Hi, which raw stream values may reverse).
double ClampTo(double V, double Lo, double Hi) {
  if (!(V > Lo)) return Lo;
  return V > Hi ? Hi : V;
}

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

}  // namespace

// ---- needle layout -------------------------------------------------------------------------------

void TNeedleLayout::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TNeedleLayout*>(Source);
  if (src == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  if (src == this) return;
  FColorFill = src->FColorFill;
  FColorLine = src->FColorLine;
  FSize1 = src->FSize1;
  FThickness = src->FThickness;
  FPctNeedleLeng = src->FPctNeedleLeng;
  FAngle1 = src->FAngle1;
  FBackShift1 = src->FBackShift1;
  FShadowDx = src->FShadowDx;
  FShadowDy = src->FShadowDy;
  FShadowColor = src->FShadowColor;
  FVisible = src->FVisible;
  Changed();
}

void TNeedleLayout::Changed() {
  if (FOnChange) FOnChange(this);
}

template <typename T>
void TNeedleLayout::Store(T& Field, T Value) {
  if (Field == Value) return;
  Field = Value;
  Changed();
}

void TNeedleLayout::SetColorBody(TColor Value) { Store(FColorFill, Value); }
void TNeedleLayout::SetColorOutline(TColor Value) { Store(FColorLine, Value); }
void TNeedleLayout::SetHeadSize(int Value) { Store(FSize1, Value); }
void TNeedleLayout::SetThickness(int Value) { Store(FThickness, Value); }
void TNeedleLayout::SetPercentNeedleLength(int Value) { Store(FPctNeedleLeng, std::clamp(Value, 0, 100)); }
void TNeedleLayout::SetHeadAngle(int Value) { Store(FAngle1, std::clamp(Value, 0, 180)); }
void TNeedleLayout::SetHeadMidLeng(int Value) { Store(FBackShift1, Value); }
void TNeedleLayout::SetShadowDx(int Value) { Store(FShadowDx, Value); }
void TNeedleLayout::SetShadowDy(int Value) { Store(FShadowDy, Value); }
void TNeedleLayout::SetShadowColor(TColor Value) { Store(FShadowColor, Value); }
void TNeedleLayout::SetVisible(bool Value) { Store(FVisible, Value); }

// ---- life cycle ----------------------------------------------------------------------------------------

TMeter::TMeter(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csOpaque);
  FFontCaption = std::make_unique<TFont>();
  FFontCaption->Assign(Font());
  FFontCaption->SetOnChange([this](TObject*) { DialChanged(); });
  AuxBGBmp = std::make_unique<TBitmap>(10, 10);
  AuxACBmp = std::make_unique<TBitmap>(10, 10);
  AuxACMaskBmp = std::make_unique<TBitmap>(10, 10);
  for (auto* layout : {&FNeedleLayout, &FNeedle2Layout}) {
    *layout = std::make_unique<TNeedleLayout>();
    TNeedleLayout& L = **layout;
    L.SetColorBody(0xC0C0C0);
    L.SetColorOutline(0x000000);
    L.SetHeadSize(20);
    L.SetHeadAngle(30);
    L.SetHeadMidLeng(20);
    L.SetThickness(0);
    L.SetPercentNeedleLength(100);
    L.SetShadowColor(0x808080);
    L.SetVisible(layout == &FNeedleLayout);
    L.SetOnChange([this](TObject*) { StyleChanged(); });
  }
  SetBounds(Left(), Top(), 297, 209);
}

TMeter::~TMeter() = default;

void TMeter::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  CalcMeterLayoutParams();
}

void TMeter::CalcMeterLayoutParams() {
  const TMeterGeometry g = CalcMeterGeometry(FMeterLayout, Width(), Height(), FBRim, FSRim, FTRim);
  FMeterAngle = g.Angle;
  FMeterRadius = g.Radius;
  FMeterCenterX = g.CenterX;
  FMeterCenterY = g.CenterY;
  FDialValid = false;
  FPictureValid = false;
}

void TMeter::Loaded() {
  TGraphicControl::Loaded();
  FValue = ClampTo(FValue, FMinValue, FMaxValue);
  if (!FBakGndFName.empty()) {
    try {
      auto bmp = std::make_unique<TBitmap>();
      bmp->LoadFromFile(FBakGndFName);
      AuxBGBmp = std::move(bmp);
    } catch (const std::exception&) {
      FBakGndFName.clear();
    }
  }
  if (!FACoverFName.empty()) LoadAnchorImage(FACoverFName);
  FDialValid = false;
  FPictureValid = false;
  Redraw(true);
}

// ---- repainting ------------------------------------------------------------------------------------------

void TMeter::DialChanged() {
  FDialValid = false;
  FPictureValid = false;
  Redraw(true);
}

void TMeter::StyleChanged() {
  FPictureValid = false;
  Redraw(true);
}

void TMeter::ValueChanged() { Redraw(false); }

void TMeter::Redraw(bool Everything) {
  if (!Visible() && !ComponentState().Contains(csDesigning)) return;
  TCanvas* target = Canvas();
  if (target == nullptr || !target->HandleAllocated()) return;
  const TBitmap* picture = Picture();
  if (picture == nullptr) return;
  target->SetCopyMode(cmSrcCopy);
  if (Everything) {
    target->Draw(0, 0, picture);
  } else {
    for (const TRect& r : FChanged) target->CopyRect(r, picture->Canvas(), r);
  }
  FChanged.clear();
}

void TMeter::Paint() { Redraw(true); }

void TMeter::CMFontChanged(TMessage&) { DialChanged(); }
void TMeter::CMTextChanged(TMessage&) { DialChanged(); }

void TMeter::SetOnBeforeDrawScaleLabel(TmtBeforeDrawScaleLabelEvent E) {
  FOnBefDrawSclLab = std::move(E);
  DialChanged();
}
void TMeter::SetOnBeforeDrawNeedle(TBeforeDrawNeedleEvent E) {
  FOnBefDrawNeedle = std::move(E);
  StyleChanged();
}
void TMeter::SetOnMeterRendered(TMeterRenderedEvent E) {
  FOnMeterRendered = std::move(E);
  StyleChanged();
}

// ---- values and range ---------------------------------------------------------------------------------------

void TMeter::RaiseRangeEvent(double Value) {
  if (Value >= FHighThreshold) {
    FOFL = true;
    DoOverFlowEvent();
  } else if (Value > FLowThreshold) {
    DoNormalRangeEvent();
  } else {
    FUFL = true;
    DoUnderFlowEvent();
  }
}

void TMeter::SetValue(double Value) {
  if (Loading()) {
    FValue = Value;
    return;
  }
  if (std::isnan(Value) || Value == FValue) return;
  FValue = ClampTo(Value, FMinValue, FMaxValue);
  FOFL = FUFL = false;
  if (FNeedleLayout->Visible()) RaiseRangeEvent(FValue);
  ValueChanged();
}

void TMeter::SetValueSec(double Value) {
  if (Loading()) {
    FValue2 = Value;
    return;
  }
  if (std::isnan(Value) || Value == FValue2) return;
  FValue2 = ClampTo(Value, FMinValue, FMaxValue);
  FOFL = FUFL = false;
  if (!FNeedle2Layout->Visible()) return;
  RaiseRangeEvent(FValue2);
  ValueChanged();
}

// The common first steps of the range setters: true when the write is
// finished (refused, stored raw while loading, or unchanged).
#define VORN_METER_RANGE_PROLOGUE(Field)                             \
  if (!std::isfinite(Value)) return;                                 \
  if (FLogarithmic && Value < kLogFloor) return;                     \
  if (Loading()) {                                                   \
    Field = Value;                                                   \
    return;                                                          \
  }                                                                  \
  if (Value == Field) return;

void TMeter::SetMeterMinValue(double Value) {
  VORN_METER_RANGE_PROLOGUE(FMinValue)
  if (FMaxValue <= Value) {
    const double above = StepAbove(Value);
    if (std::isnan(above)) return;
    FMaxValue = above;
  }
  FMinValue = Value;
  for (double* v : {&FValue, &FValue2, &FLowThreshold, &FHighThreshold}) *v = std::max(*v, Value);
  DialChanged();
}

void TMeter::SetMeterMaxValue(double Value) {
  VORN_METER_RANGE_PROLOGUE(FMaxValue)
  if (Value <= FMinValue) {
    double below = StepBelow(Value);
    if (std::isnan(below)) return;
    if (FLogarithmic && below <= 0) below = Value / 10;
    FMinValue = below;
  }
  FMaxValue = Value;
  for (double* v : {&FValue, &FValue2, &FLowThreshold, &FHighThreshold}) *v = std::min(*v, Value);
  DialChanged();
}

void TMeter::SetThresholdLow(double Value) {
  VORN_METER_RANGE_PROLOGUE(FLowThreshold)
  FLowThreshold = ClampTo(Value, FMinValue, FMaxValue);
  if (FLowThreshold > FHighThreshold) FHighThreshold = FLowThreshold;
  FUFL = FValue <= FLowThreshold;
  if (FUFL) DoUnderFlowEvent();
  DialChanged();
}

void TMeter::SetThresholdHigh(double Value) {
  VORN_METER_RANGE_PROLOGUE(FHighThreshold)
  FHighThreshold = ClampTo(Value, FMinValue, FMaxValue);
  if (FHighThreshold < FLowThreshold) FLowThreshold = FHighThreshold;
  FOFL = FValue >= FHighThreshold;
  if (FOFL) DoOverFlowEvent();
  DialChanged();
}

#undef VORN_METER_RANGE_PROLOGUE

void TMeter::SetLogarithmic(bool Value) {
  if (Loading()) {
    FLogarithmic = Value;
    return;
  }
  if (Value == FLogarithmic) return;
  FLogarithmic = FMinValue <= kLogFloor || FMaxValue <= kLogFloor ? false : Value;
  DialChanged();
}

void TMeter::DoOverFlowEvent() {
  if (FOnOverFlow) FOnOverFlow(this);
}
void TMeter::DoUnderFlowEvent() {
  if (FOnUnderFlow) FOnUnderFlow(this);
}
void TMeter::DoNormalRangeEvent() {
  if (FOnNormalRange) FOnNormalRange(this);
}

// ---- plain properties ------------------------------------------------------------------------------------------

#define VORN_METER_SETTER(Setter, Type, Field, Then) \
  void TMeter::Setter(Type Value) {                  \
    if (Value == Field) return;                      \
    Field = Value;                                   \
    Then();                                          \
  }

VORN_METER_SETTER(SetMeterShortTicks, bool, FShortTicks, DialChanged)
VORN_METER_SETTER(SetMeterScaleLine, bool, FScaleLine, DialChanged)
VORN_METER_SETTER(SetScaleVisible, bool, FScaleVis, DialChanged)
VORN_METER_SETTER(SetScaleBkVisible, bool, FScaleBkVis, DialChanged)
VORN_METER_SETTER(SetColorBakG, TColor, FColorBakG, DialChanged)
VORN_METER_SETTER(SetColorScale, TColor, FColorScale, DialChanged)
VORN_METER_SETTER(SetColorSclBkLow, TColor, FColorBakGLow, DialChanged)
VORN_METER_SETTER(SetColorSclBkNorm, TColor, FColorBakGNorm, DialChanged)
VORN_METER_SETTER(SetColorSclBkHigh, TColor, FColorBakGHigh, DialChanged)
VORN_METER_SETTER(SetBkgndFillMode, TBkgFill, FBGFillMode, DialChanged)
VORN_METER_SETTER(SetColorCover, TColor, FColorCover, StyleChanged)
VORN_METER_SETTER(SetFrameStyle, TFrameStyle, FFrameStyle, StyleChanged)
VORN_METER_SETTER(SetAnchorSize, int, FSizeAnchor, StyleChanged)
VORN_METER_SETTER(SetAnchorCovered, bool, FAnchorCovrd, StyleChanged)
VORN_METER_SETTER(SetLimWatchHighOn, bool, FLimWatHighOn, StyleChanged)
VORN_METER_SETTER(SetLimWatchLowOn, bool, FLimWatLowOn, StyleChanged)
VORN_METER_SETTER(SetLimWatchActColor, TColor, FLimWatActCol, StyleChanged)
VORN_METER_SETTER(SetLimWatchPsvColor, TColor, FLimWatPsvCol, StyleChanged)

#undef VORN_METER_SETTER

void TMeter::SetMeterDecPlaces(int Value) {
  Value = std::clamp(Value, 0, 4);
  if (Value == FDecPlaces) return;
  FDecPlaces = Value;
  DialChanged();
}

void TMeter::SetMeterNrTicks(int Value) {
  Value = std::clamp(Value, 2, 21);
  if (Value == FNrTicks) return;
  FNrTicks = Value;
  DialChanged();
}

void TMeter::SetScaleBkWidth(double Value) {
  if (std::isnan(Value)) return;
  Value = std::clamp(Value, 0.0, 100.0);
  if (Value == FScaleBakWidth) return;
  FScaleBakWidth = Value;
  DialChanged();
}

void TMeter::SetMeterLayout(TMeterLayout Value) {
  if (Value == FMeterLayout || Value > mlCirc360) return;
  FMeterLayout = Value;
  CalcMeterLayoutParams();
  DialChanged();
}

void TMeter::SetRimBottom(int Value) {
  if (Value == FBRim) return;
  FBRim = Value;
  CalcMeterLayoutParams();
  DialChanged();
}

void TMeter::SetRimTop(int Value) {
  if (Value == FTRim) return;
  FTRim = Value;
  CalcMeterLayoutParams();
  DialChanged();
}

void TMeter::SetRimSide(int Value) {
  if (Value == FSRim) return;
  FSRim = Value;
  CalcMeterLayoutParams();
  DialChanged();
}

void TMeter::SetColorScheme(TColorScheme Value) {
  if (Value == FColorScheme) return;
  FColorScheme = Value;
  FColGrayLine = Value == csBWG ? 0x808080 : static_cast<TColor>(0xFF000010);
  FColWhiteLine = Value == csBWG ? 0xFFFFFF : static_cast<TColor>(0xFF000014);
  StyleChanged();
}

void TMeter::SetFontCaption(const TFont* Value) {
  if (Value != nullptr) FFontCaption->Assign(Value);  // its OnChange repaints
}

void TMeter::SetNeedleLayout(const TNeedleLayout* Value) {
  if (Value != nullptr) FNeedleLayout->Assign(Value);
}

void TMeter::SetNeedleLayoutSec(const TNeedleLayout* Value) {
  if (Value != nullptr) FNeedle2Layout->Assign(Value);
}

// ---- images -----------------------------------------------------------------------------------------------------

void TMeter::SetBackGroundImg(const std::string& Value) {
  if (Loading()) {
    FBakGndFName = Value;  // Loaded reads it
    return;
  }
  if (!FileExists(Value)) {
    FBakGndFName.clear();
  } else {
    auto bmp = std::make_unique<TBitmap>();
    bmp->LoadFromFile(Value);  // a failure leaves name and picture as they were
    AuxBGBmp = std::move(bmp);
    FBakGndFName = Value;
  }
  DialChanged();
}

void TMeter::SetAnchorImage(const std::string& Value) {
  if (Loading()) {
    FACoverFName = Value;
    return;
  }
  if (!FileExists(Value)) {
    FACoverFName.clear();
  } else {
    LoadAnchorImage(Value);
  }
  StyleChanged();
}

void TMeter::LoadAnchorImage(const std::string& FileName) {
  try {
    auto bmp = std::make_unique<TBitmap>();
    bmp->LoadFromFile(FileName);
    AuxACBmp = std::move(bmp);
    FACoverFName = FileName;
  } catch (const std::exception&) {
    FACoverFName.clear();
    return;
  }
  BuildAnchorMask();
}

// White (kept dial) where the image is transparent: palette index 0, or
// pure black in a picture without a palette; black elsewhere.
void TMeter::BuildAnchorMask() {
  const TBitmap& image = *AuxACBmp;
  auto mask = std::make_unique<TBitmap>(image.Width(), image.Height());
  const bool indexed = image.HasPaletteIndices();
  for (int y = 0; y < image.Height(); ++y) {
    const TPixel* src = image.ScanLine(y);
    TPixel* dst = mask->ScanLine(y);
    for (int x = 0; x < image.Width(); ++x) {
      const bool clear = indexed ? image.PaletteIndex(x, y) == 0 : (src[x] & 0xFFFFFF) == 0;
      dst[x] = clear ? 0xFFFFFF : 0;
    }
  }
  AuxACMaskBmp = std::move(mask);
}

// ---- geometry and mappings --------------------------------------------------------------------------------------

double TMeter::FractionOf(double Value) const {
  return ScaleFraction(Value, FMinValue, FMaxValue, FLogarithmic);
}

double TMeter::PolarAngle(double Value) const {
  return PolarAngleOfFraction(FractionOf(Value), FMeterAngle) * kDegToRad;
}

TPoint TMeter::PointAt(double PolarRadians, double Radius) const {
  return {SafeRound(FMeterCenterX + std::cos(PolarRadians) * Radius),
          SafeRound(FMeterCenterY - std::sin(PolarRadians) * Radius)};
}

double TMeter::CalcNeedleAngle(double Value) const {
  // Written so that NaN and a reversed range (possible while loading) give Min.
  Value = ClampTo(Value, FMinValue, FMaxValue);
  return 180.0 - FMeterAngle / 2.0 + FMeterAngle * FractionOf(Value);
}

void TMeter::ConvertToPixelCoords(double Value, double pctradius, int& X, int& Y) const {
  const double t = (-90.0 - CalcNeedleAngle(Value)) * kDegToRad;
  const double r = pctradius * 0.01 * FMeterRadius;
  X = SafeRound(std::cos(t) * r + FMeterCenterX);
  Y = SafeRound(FMeterCenterY - std::sin(t) * r);
}

bool TMeter::ConvertPixelToValue(int XPos, int YPos, double& MeterValue) const {
  const double dx = static_cast<double>(XPos) - FMeterCenterX;
  const double dy = static_cast<double>(YPos) - FMeterCenterY;
  double t = 0.0;
  if (dx != 0) {
    t = std::atan(dy / dx);
    if (dx < 0) t += std::numbers::pi;
  } else {
    t = dy <= 0 ? 3 * std::numbers::pi / 2 : std::numbers::pi / 2;
  }
  if (t < 0) t += 2 * std::numbers::pi;
  if (t > 2 * std::numbers::pi) t -= 2 * std::numbers::pi;
  double d = t * 180 / std::numbers::pi - 90;
  if (d < 0) d += 360;
  const double A = FMeterAngle;
  const double b = 180 - A / 2;
  if (d < b || d > 180 + A / 2) {
    MeterValue = 0.0;
    return false;
  }
  const double f = (d - b) / A;
  if (FLogarithmic && FMinValue > 0 && FMaxValue > 0) {
    MeterValue = std::exp((std::log(FMaxValue) - std::log(FMinValue)) * f + std::log(FMinValue));
  } else {
    MeterValue = FMinValue + f * (FMaxValue - FMinValue);
  }
  return true;
}

void TMeter::MouseMoveInMeter(bool WithinRange, TShiftState Shift, double MeterValue) {
  if (FOnMMvInMeter) FOnMMvInMeter(this, WithinRange, Shift, MeterValue);
}

void TMeter::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  double value = 0.0;
  const bool within = ConvertPixelToValue(X, Y, value);
  MouseMoveInMeter(within, Shift, value);
}

// ---- the composed picture -----------------------------------------------------------------------------------------

TMeter::TNeedleShape TMeter::NeedleShape(const TNeedleLayout& L, double Value) const {
  Value = ClampTo(Value, FMinValue, FMaxValue);
  const double t = PolarAngle(Value);
  const double cx = FMeterCenterX, cy = FMeterCenterY;
  const double length = L.PercentNeedleLength() * (FMeterRadius - 4) * 0.01;
  const double xt = SafeRound(cx + std::cos(t) * length);
  const double yt = SafeRound(cy - std::sin(t) * length);
  const double a = L.HeadAngle() * kDegToRad;
  const double sx = std::sin(t) * L.Thickness() / 2.0;
  const double sy = std::cos(t) * L.Thickness() / 2.0;
  const double hs = L.HeadSize();
  const double hm = L.HeadMidLeng();
  TNeedleShape shape;
  const auto add = [&](double x, double y) { shape.Body.push_back({SafeRound(x), SafeRound(y)}); };
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
  const int X = Width() - FSRim;
  return {{X - 18, FTRim + 8, X - 7, FTRim + 19}, {FSRim + 8, FTRim + 8, FSRim + 19, FTRim + 19}};
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
  // The needles as they are now, hidden ones as empty shapes.
  std::array<TNeedleShape, 2> needles;
  const TNeedleLayout* layouts[2] = {FNeedle2Layout.get(), FNeedleLayout.get()};
  for (int i = 0; i < 2; ++i) {
    if (layouts[i]->Visible()) needles[i] = NeedleShape(*layouts[i], i == 1 ? FValue : FValue2);
  }
  std::vector<TRect> areas;
  if (!FPictureValid || FOnBefDrawNeedle || FOnMeterRendered) {
    areas.push_back(whole);
  } else {
    // Old and new needle share the centre, so one box around both.
    TRect moved{};
    for (int i = 0; i < 2; ++i) {
      const TNeedleShape& was = FComposedNeedles[i];
      if (needles[i].Body == was.Body && needles[i].Shadow == was.Shadow) continue;
      for (const TRect& r : {was.Bounds, needles[i].Bounds}) {
        if (!r.IsEmpty()) moved = moved.IsEmpty() ? r : UnionRect(moved, r);
      }
    }
    if (!moved.IsEmpty()) areas.push_back(moved);
    if (FOFL != FComposedOFL || FUFL != FComposedUFL) {
      for (const TRect& r : LampRects()) areas.push_back(r);
    }
  }
  TCanvas& C = *FPicture->Canvas();
  for (const TRect& area : areas) {
    const TRect r = IntersectRect(area, whole);
    if (r.IsEmpty()) continue;
    C.SetCopyMode(cmSrcCopy);
    C.CopyRect(r, FDial->Canvas(), r);
    if (r != whole) C.SetClipRect(r);
    PrepareUpperLayers(C);
    PaintNeedles(C);
    PaintCover(C);
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
  const int ro = SafeRound(R + 4);
  const int ri = SafeRound((100 - FScaleBakWidth) * R / 100);
  const double aMin = PolarAngle(FMinValue), aLow = PolarAngle(FLowThreshold);
  const double aHigh = PolarAngle(FHighThreshold), aMax = PolarAngle(FMaxValue);
  const struct {
    TColor Color;
    double Small, Large;
  } sections[] = {{FColorBakGLow, aLow, aMin}, {FColorBakGNorm, aHigh, aLow}, {FColorBakGHigh, aMax, aHigh}};
  for (const auto& s : sections) {
    if (!(s.Large - s.Small > 1e-6)) continue;
    C.Pen()->SetColor(s.Color);
    C.Brush()->SetColor(s.Color);
    const TPoint from = PointAt(s.Small, R), to = PointAt(s.Large, R);
    C.Pie(cx - ro, cy - ro, ClampCoord(cx + ro + 1), cy + ro, from.X, from.Y, to.X, to.Y);
  }
  C.Pen()->SetColor(FColorBakG);
  C.Brush()->SetColor(FColorBakG);
  C.Ellipse(cx - ri, cy - ri, ClampCoord(cx + ri + 1), cy + ri);
}

void TMeter::PaintScale(TCanvas& C) const {
  const double R = FMeterRadius;
  const int cx = FMeterCenterX, cy = FMeterCenterY;
  C.Pen()->SetColor(FColorScale);
  if (FScaleLine) {
    const int rs = SafeRound(R);
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
  for (const TScaleTick& major : majors) {
    tick(major.Value, 8);
    if (major.Labelled) PaintLabel(C, major.Value, PolarAngle(major.Value), dx, dy);
  }
}

void TMeter::PaintLabel(TCanvas& C, double Value, double Polar, int dx, int dy) const {
  const int x = SafeRound(FMeterCenterX + std::cos(Polar) * (FMeterRadius - dx));
  const int y = SafeRound(FMeterCenterY - std::sin(Polar) * (FMeterRadius - dy));
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
  C.TextOut(FMeterCenterX - size.cx / 2, FMeterCenterY - SafeRound(FMeterRadius / 3) - size.cy / 2, text);
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

void TMeter::PaintNeedles(TCanvas& C) const {
  bool drawn = false;
  if (FOnBefDrawNeedle) FOnBefDrawNeedle(const_cast<TMeter*>(this), &C, drawn);
  if (drawn) return;
  C.Brush()->SetStyle(bsSolid);
  if (FNeedle2Layout->Visible()) PaintNeedle(C, NeedleShape(*FNeedle2Layout, FValue2), *FNeedle2Layout);
  if (FNeedleLayout->Visible()) PaintNeedle(C, NeedleShape(*FNeedleLayout, FValue), *FNeedleLayout);
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
  return {std::min(From.X, To.X), std::min(From.Y, To.Y), std::max(From.X, To.X) + 1, std::max(From.Y, To.Y) + 1};
}

void Segment(TCanvas& C, TColor Color, TPoint From, TPoint To) {
  if (Touches(C, SegmentBox(From, To))) Line(C, Color, From, To);
}

void Segments(TCanvas& C, TColor Color, std::initializer_list<TPoint> Points) {
  for (const TPoint* p = Points.begin(); p + 1 != Points.end(); ++p) Segment(C, Color, p[0], p[1]);
}

}  // namespace

void TMeter::PaintCover(TCanvas& C) const {
  const int W = Width(), H = Height();
  C.Pen()->SetColor(FColorCover);
  C.Brush()->SetColor(FColorCover);
  for (const TRect& rim : {TRect{0, 0, FSRim - 1, H}, TRect{0, 0, W, FTRim}, TRect{W - FSRim, 0, W, H},
                           TRect{0, H - FBRim, W, H}}) {
    if (Touches(C, {std::min(rim.Left, rim.Right), std::min(rim.Top, rim.Bottom), std::max(rim.Left, rim.Right),
                    std::max(rim.Top, rim.Bottom)})) {
      C.Rectangle(rim);
    }
  }
  PaintAnchor(C);
  const std::vector<TRect> lamps = LampRects();
  if (FLimWatHighOn && Touches(C, lamps[0])) PaintLamp(C, true);
  if (FLimWatLowOn && Touches(C, lamps[1])) PaintLamp(C, false);
  if (FOnMeterRendered) FOnMeterRendered(const_cast<TMeter*>(this), &C);
  PaintFrame(C);
}

// White along the bottom and up the right, grey along the top and down the
// left, from the bottom-left corner round.
void TMeter::PaintInnerBevel(TCanvas& C) const {
  const int W = Width(), H = Height();
  Segments(C, kWhite, {{FSRim - 1, H - FBRim}, {W - FSRim, H - FBRim}, {W - FSRim, FTRim}});
  Segments(C, kGrey, {{W - FSRim, FTRim}, {FSRim - 1, FTRim}, {FSRim - 1, H - FBRim}});
}

void TMeter::PaintAnchor(TCanvas& C) const {
  const int W = Width(), H = Height();
  const int cx = FMeterCenterX, cy = FMeterCenterY, SA = FSizeAnchor;
  // Coordinates of an absurd anchor size stay within the canvas's range.
  const int left = ClampCoord(cx - SA), right = ClampCoord(cx + SA);
  const int top = ClampCoord(cy - SA), bottom = ClampCoord(cy + SA);
  const int rimLine = H - FBRim;
  // Everything of a drawn anchor that differs from the plain inner bevel.
  const TRect anchorBox{std::min(left, right) - 1, std::min({top, bottom, rimLine}) - 1,
                        std::max(left, right) + 1, std::max({top, bottom, rimLine, H}) + 1};
  if (!FAnchorCovrd || (FACoverFName.empty() && !Touches(C, anchorBox))) {
    PaintInnerBevel(C);
  } else if (!FACoverFName.empty()) {
    PaintInnerBevel(C);
    const int iw = AuxACBmp->Width(), ih = AuxACBmp->Height();
    const TRect box{cx - iw / 2, cy - ih / 2, cx - iw / 2 + iw, cy - ih / 2 + ih};
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
    // round it.
    C.Pie(left, top, right, bottom, W, cy, 0, cy);
    C.Rectangle(left, rimLine, right, cy);
    Segment(C, kGrey, {right - 1, cy}, {right - 1, rimLine});
    Segments(C, kWhite, {{right - 1, rimLine}, {W - FSRim, rimLine}, {W - FSRim, FTRim}});
    Segments(C, kGrey, {{W - FSRim, FTRim}, {FSRim - 1, FTRim}, {FSRim - 1, rimLine}});
    Segments(C, kWhite, {{FSRim - 1, rimLine}, {left, rimLine}, {left, cy - 1}});
    C.Pen()->SetColor(kWhite);
    C.Arc(left, top, right, bottom, W, cy, 0, cy);
    C.Pen()->SetColor(kGrey);
    C.Arc(left, top, right, bottom, right, cy, right, top);
  }
}

// A 10 x 10 lamp below the top rim, at the right (high) or left (low)
// side, with a small bevel.
void TMeter::PaintLamp(TCanvas& C, bool High) const {
  const int T = FTRim;
  C.Pen()->SetColor(FColBlackLine);
  C.Brush()->SetColor((High ? FOFL : FUFL) ? FLimWatActCol : FLimWatPsvCol);
  if (High) {
    const int X = Width() - FSRim;
    C.Rectangle(X - 18, T + 8, X - 8, T + 18);
    Path(C, kWhite, {{X - 17, T + 17}, {X - 9, T + 17}, {X - 9, T + 8}});
    Path(C, kSilver, {{X - 16, T + 16}, {X - 10, T + 16}, {X - 10, T + 9}});
    Path(C, kGrey, {{X - 17, T + 16}, {X - 17, T + 9}, {X - 9, T + 9}});
  } else {
    const int X = FSRim;
    C.Rectangle(X + 8, T + 8, X + 18, T + 18);
    Path(C, kWhite, {{X + 9, T + 17}, {X + 17, T + 17}, {X + 17, T + 8}});
    Path(C, kSilver, {{X + 10, T + 16}, {X + 16, T + 16}, {X + 16, T + 9}});
    Path(C, kGrey, {{X + 9, T + 16}, {X + 9, T + 9}, {X + 17, T + 9}});
  }
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
