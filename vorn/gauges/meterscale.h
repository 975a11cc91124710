// Scale geometry of the analog meter, free of any control: where the dial
// sits in a control of a given size, where a value lies on the scale, and
// which values carry ticks and labels.
//
// Angles: a dial angle is measured in degrees clockwise from straight down
// around the centre, so with a scale angle A the minimum lies at
// 180 - A/2, the middle of the scale straight up at 180 and the maximum at
// 180 + A/2. A polar angle is measured counter-clockwise from the positive
// x axis (screen points x = cx + r cos t, y = cy - r sin t); the minimum
// lies at 90 + A/2 and the maximum at 90 - A/2.
//
// Every routine here accepts any input, including NaN, infinite and
// reversed ranges, and bounds its work: tick lists never exceed
// kMaxScaleTicks entries, and a range on which ticks cannot be told apart
// gets none.
#pragma once

#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

namespace vorn {

enum TMeterLayout : std::uint8_t { mlCirc90, mlCirc120, mlCirc180, mlCirc270, mlCirc300, mlCirc360 };

// Where the scale lies in a control.
struct TMeterGeometry {
  int Angle = 90;       // scale angle in degrees
  double Radius = 0.0;  // scale radius in pixels; nothing is drawn while it is not positive
  int CenterX = 0;
  int CenterY = 0;
};

// The scale of a control of W x H pixels with the given rim widths:
// - mlCirc90, mlCirc120, mlCirc180: the centre 8 pixels above the bottom
//   rim, the radius the height between the rims less 16, limited so that
//   the scale's ends keep 8 pixels from the side rims (for 180 degrees the
//   radius is at most half the width less the side rim and 8);
// - mlCirc270, mlCirc300, mlCirc360: the radius at most half the width
//   less the side rim and 8, and small enough that the scale's lowest
//   point keeps 8 pixels from the bottom rim; the dial is centred
//   vertically between the rims.
// Radii beyond kMaxMeterRadius are limited to it.
TMeterGeometry CalcMeterGeometry(TMeterLayout Layout, int W, int H, int RimBottom, int RimSide, int RimTop);
constexpr double kMaxMeterRadius = 1e6;

// The place of v on the scale: 0 at Min, 1 at Max, outside for values
// outside the range (not clamped). Logarithmic when Log is set and v, Min
// and Max are all positive, else linear. Where the result is not finite
// (NaN, a degenerate or non-finite range) it is 0.
double ScaleFraction(double v, double Min, double Max, bool Log);

constexpr double kDegToRad = std::numbers::pi / 180.0;

// Round half to even to a pixel coordinate within the canvas's range
// (NaN gives 0).
int RoundToPixel(double X);

// V limited to Lo..Hi, Lo for NaN; unlike std::clamp it needs no order of
// Lo and Hi (Lo wins), as raw stream values may reverse a range.
double ClampToRange(double V, double Lo, double Hi);

// Polar angle in degrees of scale fraction f with scale angle A.
inline double PolarAngleOfFraction(double f, int A) { return A / 2.0 + 90.0 - A * f; }

// A round tick step: majors at First, First + Step, ..., each major
// interval divided into NSub minor ones. Step is the largest of 1, 2 or 5
// times a power of ten that does not exceed (Max - Min) / N; First is the
// first multiple of Step not below Min - 0.001 Step. Min equal to Max gives
// Step 0.
struct TTickStep {
  double First = 0.0;
  double Step = 0.0;
  int NSub = 1;
};
TTickStep CalcTickStep(int N, double Min, double Max);

constexpr int kMaxScaleTicks = 4096;

// A tick of the scale: its value and whether it carries a label.
struct TScaleTick {
  double Value;
  bool Labelled;
};

// Major ticks of a linear scale, or of a logarithmic one spanning less
// than a decade: First + k Step up to Max + 0.001 Step, all labelled.
std::vector<TScaleTick> LinearMajorTicks(const TTickStep& Ticks, double Min, double Max);
// Minor ticks: every Step / NSub from First - Step up to Max plus a
// thousandth of the minor spacing, leaving out major positions and values
// below Min.
std::vector<double> MinorTicks(const TTickStep& Ticks, double Min, double Max);
// Major ticks of a logarithmic scale of a decade or more: 1 to 9 times
// every power of ten inside the range, labelled at 1, 2 and 5.
std::vector<TScaleTick> LogMajorTicks(double Min, double Max);

// Label text of a scale value: fixed point with DecPlaces decimals, a
// point as decimal separator, a leading minus for negative values.
std::string ScaleLabelText(double v, int DecPlaces);

}  // namespace vorn
