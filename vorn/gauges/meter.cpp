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

constexpr double kLogFloor = 1e-100;

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
  FValue = ClampToRange(FValue, FMinValue, FMaxValue);
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
  FValue = ClampToRange(Value, FMinValue, FMaxValue);
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
  FValue2 = ClampToRange(Value, FMinValue, FMaxValue);
  const bool lit = FOFL || FUFL;
  FOFL = FUFL = false;
  if (!FNeedle2Layout->Visible()) {
    // The lamps this put out are shown out too: control and state agree.
    if (lit) ValueChanged();
    return;
  }
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
  FLowThreshold = ClampToRange(Value, FMinValue, FMaxValue);
  if (FLowThreshold > FHighThreshold) FHighThreshold = FLowThreshold;
  FUFL = FValue <= FLowThreshold;
  if (FUFL) DoUnderFlowEvent();
  DialChanged();
}

void TMeter::SetThresholdHigh(double Value) {
  VORN_METER_RANGE_PROLOGUE(FHighThreshold)
  FHighThreshold = ClampToRange(Value, FMinValue, FMaxValue);
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
  return {RoundToPixel(FMeterCenterX + std::cos(PolarRadians) * Radius),
          RoundToPixel(FMeterCenterY - std::sin(PolarRadians) * Radius)};
}

double TMeter::CalcNeedleAngle(double Value) const {
  // Written so that NaN and a reversed range (possible while loading) give Min.
  Value = ClampToRange(Value, FMinValue, FMaxValue);
  return 180.0 - FMeterAngle / 2.0 + FMeterAngle * FractionOf(Value);
}

void TMeter::ConvertToPixelCoords(double Value, double pctradius, int& X, int& Y) const {
  const double t = (-90.0 - CalcNeedleAngle(Value)) * kDegToRad;
  const double r = pctradius * 0.01 * FMeterRadius;
  X = RoundToPixel(std::cos(t) * r + FMeterCenterX);
  Y = RoundToPixel(FMeterCenterY - std::sin(t) * r);
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

}  // namespace vorn
