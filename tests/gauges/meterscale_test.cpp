// Meter scale geometry: layouts, scale fractions, round tick steps, major
// and minor tick lists, logarithmic decades, label texts, and bounded work
// on hostile ranges.
#include "vorn/gauges/meterscale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace vorn {
namespace {

std::vector<double> Values(const std::vector<TScaleTick>& Ticks, bool LabelledOnly = false) {
  std::vector<double> v;
  for (const TScaleTick& t : Ticks) {
    if (!LabelledOnly || t.Labelled) v.push_back(t.Value);
  }
  return v;
}

TEST(MeterScaleTest, GeometryOfEveryLayoutAtTheDefaultSize) {
  struct Case {
    TMeterLayout Layout;
    int Angle;
    double Radius;
    int CenterY;
  } cases[] = {
      {mlCirc90, 90, 175.0, 191},
      {mlCirc120, 120, (148.5 - 18) * 1.1547, 191},
      {mlCirc180, 180, 130.5, 191},
      {mlCirc270, 270, 175.0 / (1 + std::cos(std::numbers::pi / 4)), 119},
      {mlCirc300, 300, 175.0 / 1.866, 110},
      {mlCirc360, 360, 87.5, 104},  // 16 + 87.5 rounds half to even
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Angle);
    const TMeterGeometry g = CalcMeterGeometry(c.Layout, 297, 209, 10, 10, 8);
    EXPECT_EQ(g.Angle, c.Angle);
    EXPECT_NEAR(g.Radius, c.Radius, 1e-9);
    EXPECT_EQ(g.CenterX, 148);
    EXPECT_EQ(g.CenterY, c.CenterY);
  }
}

TEST(MeterScaleTest, GeometryLimitsTheRadiusByTheWidthAndCentresTheRoundDials) {
  // A tall narrow quarter-circle meter keeps its ends off the side rims.
  const TMeterGeometry tall = CalcMeterGeometry(mlCirc90, 100, 600, 10, 10, 8);
  EXPECT_NEAR(tall.Radius, 32 * std::numbers::sqrt2, 1e-9);
  // A wide 300-degree dial sits in the middle of the height.
  const TMeterGeometry wide = CalcMeterGeometry(mlCirc300, 800, 200, 10, 10, 8);
  EXPECT_NEAR(wide.Radius, 166.0 / 1.866, 1e-9);
  const TMeterGeometry square = CalcMeterGeometry(mlCirc360, 200, 400, 10, 10, 8);
  EXPECT_DOUBLE_EQ(square.Radius, 82.0);
  EXPECT_EQ(square.CenterY, 8 + 8 + 82 + (366 - 164) / 2);
  // Too small for a dial, and rims of any size.
  EXPECT_LE(CalcMeterGeometry(mlCirc90, 1, 1, 10, 10, 8).Radius, 0.0);
  const int big = std::numeric_limits<int>::max();
  EXPECT_LE(CalcMeterGeometry(mlCirc300, 300, 200, big, big, big).Radius, 0.0);
  EXPECT_LE(CalcMeterGeometry(mlCirc120, 300, 200, -big, -big, -big).Radius, kMaxMeterRadius);
}

TEST(MeterScaleTest, ScaleFractionIsLinearLogarithmicOrZeroForNonsense) {
  EXPECT_DOUBLE_EQ(ScaleFraction(0.25, 0, 1, false), 0.25);
  EXPECT_DOUBLE_EQ(ScaleFraction(2, 0, 1, false), 2.0);  // not clamped
  EXPECT_NEAR(ScaleFraction(10, 1, 100, true), 0.5, 1e-12);
  EXPECT_DOUBLE_EQ(ScaleFraction(0.5, -1, 1, true), 0.75);  // non-positive: linear
  EXPECT_EQ(ScaleFraction(std::nan(""), 0, 1, false), 0.0);
  EXPECT_EQ(ScaleFraction(1, 1, 1, false), 0.0);
  EXPECT_DOUBLE_EQ(ScaleFraction(1e308, -1e308, 1e308, false), 1.0);  // the span overflows
}

TEST(MeterScaleTest, TickStepsPickOneTwoOrFiveTimesAPowerOfTen) {
  struct Case {
    int N;
    double Min, Max, First, Step;
    int NSub;
  } cases[] = {
      {3, 0, 1, 0, 0.2, 4},       {3, 0, 100, 0, 20, 4},        {10, 0, 100, 0, 10, 5},
      {3, 0, 30, 0, 10, 5},       {3, 0, 0.3, 0, 0.1, 5},       {3, -1, 1, -1, 0.5, 5},
      {4, 0.13, 0.97, 0.2, 0.2, 4}, {21, 1, 2, 1, 0.02, 4},     {2, -250, -10, -200, 100, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Min << ".." << c.Max << " / " << c.N);
    const TTickStep t = CalcTickStep(c.N, c.Min, c.Max);
    EXPECT_NEAR(t.Step, c.Step, 1e-12);
    EXPECT_NEAR(t.First, c.First, 1e-12);
    EXPECT_EQ(t.NSub, c.NSub);
  }
  const TTickStep flat = CalcTickStep(3, 5, 5);
  EXPECT_EQ(flat.Step, 0.0);
  EXPECT_EQ(flat.First, 5.0);
  EXPECT_EQ(flat.NSub, 1);
}

TEST(MeterScaleTest, MajorAndMinorTicksOfALinearScale) {
  const TTickStep t = CalcTickStep(3, 0, 1);
  const std::vector<double> majors = Values(LinearMajorTicks(t, 0, 1));
  ASSERT_EQ(majors.size(), 6u);
  for (int k = 0; k < 6; ++k) EXPECT_NEAR(majors[k], 0.2 * k, 1e-12);
  const std::vector<double> minors = MinorTicks(t, 0, 1);
  ASSERT_EQ(minors.size(), 15u);  // every 0.05 except the majors
  EXPECT_NEAR(minors.front(), 0.05, 1e-12);
  EXPECT_NEAR(minors.back(), 0.95, 1e-12);
  for (double v : minors) EXPECT_GT(std::fabs(std::remainder(v, 0.2)), 0.01) << v;
}

TEST(MeterScaleTest, LogarithmicDecadesLabelOneTwoAndFive) {
  const std::vector<TScaleTick> ticks = LogMajorTicks(1, 1000);
  EXPECT_EQ(ticks.size(), 28u);  // 1..9, 10..90, 100..900, 1000
  const std::vector<double> labels = Values(ticks, true);
  const std::vector<double> expected{1, 2, 5, 10, 20, 50, 100, 200, 500, 1000};
  ASSERT_EQ(labels.size(), expected.size());
  for (std::size_t i = 0; i < labels.size(); ++i) EXPECT_NEAR(labels[i], expected[i], 1e-9 * expected[i]);
  // A range inside one decade's span starts at the first multiple not below Min.
  const std::vector<double> mid = Values(LogMajorTicks(0.3, 40));
  EXPECT_NEAR(mid.front(), 0.3, 1e-12);
  EXPECT_NEAR(mid.back(), 40, 1e-9);
  // The widest logarithmic range stays bounded.
  EXPECT_LE(LogMajorTicks(1e-100, 1e300).size(), static_cast<std::size_t>(kMaxScaleTicks));
  EXPECT_TRUE(LogMajorTicks(0, 10).empty());
}

TEST(MeterScaleTest, LabelsAreFixedPointWithAPointAndNoNegativeZero) {
  EXPECT_EQ(ScaleLabelText(1, 1), "1.0");
  EXPECT_EQ(ScaleLabelText(-0.5, 2), "-0.50");
  EXPECT_EQ(ScaleLabelText(2.5, 0), "2");  // ties to even
  EXPECT_EQ(ScaleLabelText(1e-17, 1), "0.0");
  EXPECT_EQ(ScaleLabelText(-1e-17, 1), "0.0");
  EXPECT_EQ(ScaleLabelText(1234.5678, 9), "1234.5678");
  EXPECT_EQ(ScaleLabelText(-std::numeric_limits<double>::max(), 4).size(), 1 + 309 + 5u);
}

TEST(MeterScaleTest, HostileRangesEndWithBoundedTickLists) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double Min, Max;
  } ranges[] = {{1e20, 1e20 + 16384}, {-1e308, 1e308}, {0, 1e-320}, {1, 1 + 1e-15},
                {-inf, inf},          {0, std::nan("")}, {5, -5},   {1e300, 1.0000000001e300}};
  for (const auto& r : ranges) {
    for (int n : {2, 21}) {
      const TTickStep t = CalcTickStep(n, r.Min, r.Max);
      EXPECT_LE(LinearMajorTicks(t, r.Min, r.Max).size(), static_cast<std::size_t>(kMaxScaleTicks));
      EXPECT_LE(MinorTicks(t, r.Min, r.Max).size(), static_cast<std::size_t>(kMaxScaleTicks) + 1);
      EXPECT_LE(LogMajorTicks(r.Min, r.Max).size(), static_cast<std::size_t>(kMaxScaleTicks));
    }
  }
}

}  // namespace
}  // namespace vorn
