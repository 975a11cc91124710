#include "vorn/gauges/meterscale.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>

#include "vorn/foundation/mathfuncs.h"
#include "vorn/platform/graphics/canvas.h"

namespace vorn {
namespace {

// How far below the centre the scale's lowest point lies, in radii, for
// the layouts with the centre inside the dial.
double DepthBelowCentre(TMeterLayout Layout) {
  switch (Layout) {
    case mlCirc270: return std::cos(45.0 * std::numbers::pi / 180.0);
    case mlCirc300: return 0.866;
    default: return 1.0;
  }
}

// (a - b) / (c - d) without overflow where the differences exceed the
// double range.
double RatioOfDifferences(double a, double b, double c, double d) {
  double r = (a - b) / (c - d);
  if (!std::isfinite(r)) r = (a / 2 - b / 2) / (c / 2 - d / 2);
  return r;
}

}  // namespace

int RoundToPixel(double X) {
  if (std::isnan(X)) return 0;
  constexpr double kLimit = kMaxCanvasCoord;
  return static_cast<int>(std::nearbyint(std::clamp(X, -kLimit, kLimit)));
}

double ClampToRange(double V, double Lo, double Hi) {
  if (!(V > Lo)) return Lo;
  return V > Hi ? Hi : V;
}

TMeterGeometry CalcMeterGeometry(TMeterLayout Layout, int W, int H, int RimBottom, int RimSide, int RimTop) {
  // Double arithmetic throughout: rims of any size must not overflow.
  const double w = W, h = H, rb = RimBottom, rs = RimSide, rt = RimTop;
  const double halfWidthRoom = w / 2 - rs - 8;
  TMeterGeometry g;
  double radius = h - rb - rt - 16;
  double cy = h - rb - 8;
  switch (Layout) {
    case mlCirc90:
      // The ends lie 45 degrees off the vertical.
      radius = std::min(radius, halfWidthRoom * std::numbers::sqrt2);
      break;
    case mlCirc120:
      g.Angle = 120;
      radius = std::min(radius, halfWidthRoom * 1.1547);
      break;
    case mlCirc180:
      g.Angle = 180;
      radius = std::min(radius, halfWidthRoom);
      break;
    case mlCirc270:
    case mlCirc300:
    case mlCirc360: {
      g.Angle = Layout == mlCirc270 ? 270 : Layout == mlCirc300 ? 300 : 360;
      const double depth = DepthBelowCentre(Layout);
      const double room = h - rt - rb - 16;
      radius = std::min(static_cast<double>(W / 2) - rs - 8, room / (1 + depth));
      cy = std::nearbyint(rt + 8 + radius + (room - radius * (1 + depth)) / 2);
      break;
    }
  }
  if (std::isnan(radius)) radius = 0.0;
  g.Radius = std::min(radius, kMaxMeterRadius);
  g.CenterX = W / 2;
  g.CenterY = RoundToPixel(cy);
  return g;
}

double ScaleFraction(double v, double Min, double Max, bool Log) {
  double f = 0.0;
  if (Log && v > 0 && Min > 0 && Max > 0) {
    f = (std::log(v) - std::log(Min)) / (std::log(Max) - std::log(Min));
  } else {
    f = RatioOfDifferences(v, Min, Max, Min);
  }
  return std::isfinite(f) ? f : 0.0;
}

TTickStep CalcTickStep(int N, double Min, double Max) {
  TTickStep t;
  if (Max == Min || N <= 0 || !std::isfinite(Min) || !std::isfinite(Max)) {
    t.First = Min;
    return t;
  }
  const double dir = Min < Max ? 1.0 : -1.0;
  const double span = std::fabs(Max / 2 - Min / 2) * 2;  // |Max - Min| without overflow
  double L = std::log10(span / N);
  double frac = L - std::trunc(L);
  if (std::fabs(frac) < 1e-10 || std::fabs(frac) > 0.9999999999) {
    frac = 0.0;
    L = std::nearbyint(L);
  }
  if (L < 0 && frac != 0.0) L -= 1.0;
  if (frac < 0) frac += 1.0;
  const double base = std::pow(10.0, std::trunc(L));
  constexpr double kTolerance = 1e-10;
  if (frac < std::log10(2.0) - kTolerance) {
    t.Step = base;
    t.NSub = 5;
  } else if (frac < std::log10(5.0) - kTolerance) {
    t.Step = 2 * base;
    t.NSub = 4;
  } else {
    t.Step = 5 * base;
    t.NSub = 5;
  }
  t.Step *= dir;
  if (!std::isfinite(t.Step) || t.Step == 0.0) {
    t = TTickStep{Min, 0.0, 1};
    return t;
  }
  t.First = (std::trunc(Min / t.Step) - 1) * t.Step;
  // Normally one or two steps; where Step is below the resolution of Min
  // the sum stops moving, and the step is of no use.
  for (int guard = 0; std::fabs(t.Step) * 0.001 < dir * (Min - t.First); ++guard) {
    if (guard >= 4) return TTickStep{Min, 0.0, 1};
    t.First += t.Step;
  }
  return t;
}

std::vector<TScaleTick> LinearMajorTicks(const TTickStep& Ticks, double Min, double Max) {
  std::vector<TScaleTick> ticks;
  if (!(Min < Max) || !std::isfinite(Ticks.First)) return ticks;
  if (Ticks.Step <= 0.0) {
    ticks.push_back({Ticks.First, true});
    return ticks;
  }
  const double end = Max + 0.001 * Ticks.Step;
  for (int k = 0;; ++k) {
    const double v = Ticks.First + k * Ticks.Step;
    if (k > 0 && v == ticks.back().Value) return {};  // below the resolution of the values
    ticks.push_back({v, true});
    if (Ticks.First + (k + 1) * Ticks.Step > end) break;
    if (k + 1 >= kMaxScaleTicks) return {};
  }
  return ticks;
}

std::vector<double> MinorTicks(const TTickStep& Ticks, double Min, double Max) {
  std::vector<double> ticks;
  if (!(Min < Max) || Ticks.Step <= 0.0 || Ticks.NSub <= 0 || !std::isfinite(Ticks.First)) return ticks;
  const double m = Ticks.Step / Ticks.NSub;
  const double start = Ticks.First - Ticks.Step;
  const double end = Max + 0.001 * m;
  for (int k = 0; start + k * m <= end; ++k) {
    if (k >= kMaxScaleTicks * 8) return {};
    const double v = start + k * m;
    const double q = (v - Ticks.First) / Ticks.Step;
    if (std::fabs(q - std::trunc(q)) <= 1e-5 || v < Min) continue;
    ticks.push_back(v);
    if (static_cast<int>(ticks.size()) > kMaxScaleTicks) return {};
  }
  return ticks;
}

std::vector<TScaleTick> LogMajorTicks(double Min, double Max) {
  std::vector<TScaleTick> ticks;
  if (!(Min > 0) || !(Min < Max) || !std::isfinite(Max)) return ticks;
  constexpr double kNearlyOne = 0.999999999;
  const double e = std::pow(10.0, IntNeg(std::log10(kNearlyOne * Min)));
  // The decades from the one holding Min on; a double has some 630 of them.
  for (double p = 1; kNearlyOne * e * p <= Max && std::isfinite(e * p); p *= 10) {
    for (int k = 1; k <= 9; ++k) {
      const double v = k * e * p;
      if (v / kNearlyOne > Min && k * kNearlyOne * e * p < Max) ticks.push_back({v, k == 1 || k == 2 || k == 5});
    }
    if (static_cast<int>(ticks.size()) > kMaxScaleTicks) return {};
  }
  return ticks;
}

std::string ScaleLabelText(double v, int DecPlaces) {
  // Enough for the widest double in fixed notation with four decimals.
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed,
                                    std::clamp(DecPlaces, 0, 4));
  if (result.ec != std::errc()) return {};
  std::string text(buffer, result.ptr);
  // A value that rounds to zero shows no minus.
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

}  // namespace vorn
