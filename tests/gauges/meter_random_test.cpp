// TMeter under random settings: the kept dial and the partial repaints
// give the same pixels as a paint from scratch, the dial is rebuilt only
// when something under the needles changes, and thousands of hostile
// settings keep the range invariants and paint without trouble.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <random>

#include "vorn/gauges/meter.h"
#include "vorn/platform/graphics/bitmap.h"

namespace vorn {
namespace {

class RandomMeter {
 public:
  explicit RandomMeter(unsigned Seed) : FRandom(Seed) {}

  int Int(int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(FRandom); }
  double Real(double Lo, double Hi) { return std::uniform_real_distribution<double>(Lo, Hi)(FRandom); }
  bool Chance(double P) { return Real(0, 1) < P; }
  TColor Color() { return static_cast<TColor>(Int(0, 0xFFFFFF)); }

  // Values that have broken scales before: extremes, specials, tiny spans.
  double Hostile() {
    static const double kValues[] = {0,     1,      -1,     0.5,   1e-300, 1e300, -1e300, 1e-100, 1e-101,
                                     1e100, 1e15,   1e-15,  1e308, -1e308, 2.5,   1000,   -0.0,   1 + 1e-15,
                                     std::numeric_limits<double>::max(),  std::numeric_limits<double>::lowest(),
                                     std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                                     std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::denorm_min()};
    return kValues[Int(0, static_cast<int>(std::size(kValues)) - 1)];
  }
  double Number() { return Chance(0.3) ? Hostile() : Real(-100, 100); }
  int AnyInt() {
    static const int kInts[] = {0, 1, -1, 2, 5, 10, 30, 100, -100, 1000, 100000, std::numeric_limits<int>::max(),
                                std::numeric_limits<int>::min()};
    return Chance(0.5) ? kInts[Int(0, static_cast<int>(std::size(kInts)) - 1)] : Int(-50, 200);
  }

  // One random property change; sizes stay small unless Big is set.
  void Change(TMeter& M, bool Hostile, bool Big) {
    TNeedleLayout& L = Chance(0.5) ? *M.NeedleLayout() : *M.NeedleLayoutSec();
    const int kind = Int(0, 37);
    const auto number = [&] { return Hostile ? Number() : Real(-10, 10); };
    const auto small = [&](int Lo, int Hi) { return Hostile ? AnyInt() : Int(Lo, Hi); };
    switch (kind) {
      case 0: M.SetValue(number()); break;
      case 1: M.SetValueSec(number()); break;
      case 2: M.SetMeterMinValue(number()); break;
      case 3: M.SetMeterMaxValue(number()); break;
      case 4: M.SetThresholdLow(number()); break;
      case 5: M.SetThresholdHigh(number()); break;
      case 6: M.SetLogarithmic(Chance(0.5)); break;
      case 7: M.SetMeterLayout(static_cast<TMeterLayout>(Int(0, 5))); break;
      case 8: M.SetMeterNrTicks(small(2, 21)); break;
      case 9: M.SetMeterDecPlaces(small(0, 4)); break;
      case 10: M.SetMeterShortTicks(Chance(0.5)); break;
      case 11: M.SetMeterScaleLine(Chance(0.5)); break;
      case 12: M.SetScaleVisible(Chance(0.8)); break;
      case 13: M.SetScaleBkVisible(Chance(0.5)); break;
      case 14: M.SetScaleBkWidth(Hostile ? Number() : Real(0, 100)); break;
      case 15: M.SetRimBottom(small(0, 20)); break;
      case 16: M.SetRimTop(small(0, 20)); break;
      case 17: M.SetRimSide(small(0, 20)); break;
      case 18: M.SetColorBakG(Color()); break;
      case 19: M.SetColorCover(Color()); break;
      case 20: M.SetColorScale(Color()); break;
      case 21: M.SetColorSclBkLow(Color()); break;
      case 22: M.SetColorScheme(static_cast<TColorScheme>(Int(0, 1))); break;
      case 23: M.SetFrameStyle(static_cast<TFrameStyle>(Int(0, 5))); break;
      case 24: M.SetAnchorSize(small(0, 40)); break;
      case 25: M.SetAnchorCovered(Chance(0.7)); break;
      case 26: M.SetLimWatchHighOn(Chance(0.7)); break;
      case 27: M.SetLimWatchLowOn(Chance(0.7)); break;
      case 28: M.SetCaption(Chance(0.5) ? "" : "mV"); break;
      case 29: L.SetVisible(Chance(0.6)); break;
      case 30: L.SetThickness(small(0, 12)); break;
      case 31: L.SetHeadSize(small(0, 30)); break;
      case 32: L.SetHeadAngle(small(0, 180)); break;
      case 33: L.SetHeadMidLeng(small(0, 30)); break;
      case 34: L.SetPercentNeedleLength(small(0, 100)); break;
      case 35: L.SetShadowDx(small(-6, 6)); L.SetShadowDy(small(-6, 6)); break;
      case 36: L.SetColorBody(Color()); break;
      default: {
        const int w = Big && Chance(0.3) ? Int(1, 4000) : Int(1, 400);
        const int h = Big && Chance(0.3) ? Int(1, 4000) : Int(1, 300);
        M.SetBounds(0, 0, w, h);
        break;
      }
    }
  }

 private:
  std::mt19937 FRandom;
};

bool SamePixels(const TBitmap& A, const TBitmap& B, int& X, int& Y) {
  for (Y = 0; Y < A.Height(); ++Y) {
    const TPixel* a = A.ScanLine(Y);
    const TPixel* b = B.ScanLine(Y);
    if (std::memcmp(a, b, sizeof(TPixel) * static_cast<std::size_t>(A.Width())) == 0) continue;
    for (X = 0; a[X] == b[X]; ++X) {
    }
    return false;
  }
  return true;
}

std::unique_ptr<TBitmap> FromScratch(const TMeter& M) {
  auto bmp = std::make_unique<TBitmap>(M.Width(), M.Height());
  M.PaintTo(*bmp->Canvas());
  return bmp;
}

TEST(MeterRandomTest, KeptDialAndPartialRepaintsEqualAPaintFromScratch) {
  RandomMeter random(12);
  for (int meterIndex = 0; meterIndex < 60; ++meterIndex) {
    TMeter meter(nullptr);
    meter.SetBounds(0, 0, random.Int(120, 400), random.Int(100, 300));
    for (int i = 0; i < 12; ++i) random.Change(meter, false, false);
    meter.SetScaleBkVisible(random.Chance(0.6));
    for (int step = 0; step < 25; ++step) {
      // Mostly value changes, now and then anything else.
      if (random.Chance(0.8)) {
        const double span = meter.MeterMaxValue() - meter.MeterMinValue();
        const double v = meter.MeterMinValue() + span * random.Real(-0.1, 1.1);
        if (random.Chance(0.7)) {
          meter.SetValue(v);
        } else {
          meter.SetValueSec(v);
        }
      } else {
        random.Change(meter, false, false);
      }
      const TBitmap* kept = meter.Picture();
      if (kept == nullptr) continue;
      auto scratch = FromScratch(meter);
      int x = 0, y = 0;
      if (!SamePixels(*kept, *scratch, x, y) && std::getenv("VORN_METER_DUMP")) {
        kept->SaveToFile("/tmp/kept.png");
        scratch->SaveToFile("/tmp/scratch.png");
      }
      ASSERT_TRUE(SamePixels(*kept, *scratch, x, y))
          << "meter " << meterIndex << " step " << step << " differs at " << x << "," << y;
    }
  }
}

TEST(MeterRandomTest, OnlyChangesUnderTheNeedlesRebuildTheDial) {
  TMeter meter(nullptr);
  meter.SetMeterMaxValue(100);
  meter.NeedleLayoutSec()->SetVisible(true);
  ASSERT_NE(meter.Picture(), nullptr);
  const int builds = meter.DialBuilds();
  for (int v = 0; v <= 100; v += 7) {
    meter.SetValue(v);
    meter.SetValueSec(100 - v);
    meter.Picture();
  }
  meter.NeedleLayout()->SetThickness(5);
  meter.SetLimWatchHighOn(false);
  meter.SetFrameStyle(fsEngraved);
  meter.SetAnchorSize(30);
  meter.Picture();
  EXPECT_EQ(meter.DialBuilds(), builds);
  meter.SetMeterNrTicks(7);
  meter.Picture();
  EXPECT_EQ(meter.DialBuilds(), builds + 1);
  meter.SetThresholdHigh(80);
  meter.Picture();
  EXPECT_EQ(meter.DialBuilds(), builds + 2);
  meter.Font()->SetSize(14);
  meter.Picture();
  EXPECT_EQ(meter.DialBuilds(), builds + 3);
  meter.SetBounds(0, 0, 300, 220);
  meter.Picture();
  EXPECT_EQ(meter.DialBuilds(), builds + 4);
}

TEST(MeterRandomTest, HostileSettingsKeepTheInvariantsAndPaintSafely) {
  RandomMeter random(4711);
  TMeter meter(nullptr);
  TBitmap scratch;
  for (int i = 0; i < 4000; ++i) {
    random.Change(meter, true, i % 40 == 0);
    const double lo = meter.MeterMinValue(), hi = meter.MeterMaxValue();
    ASSERT_LT(lo, hi) << i;
    ASSERT_TRUE(std::isfinite(lo) && std::isfinite(hi)) << i;
    ASSERT_LE(lo, meter.ThresholdLow()) << i;
    ASSERT_LE(meter.ThresholdLow(), meter.ThresholdHigh()) << i;
    ASSERT_LE(meter.ThresholdHigh(), hi) << i;
    ASSERT_TRUE(meter.Value() >= lo && meter.Value() <= hi) << i;
    ASSERT_TRUE(meter.ValueSec() >= lo && meter.ValueSec() <= hi) << i;
    if (meter.Logarithmic()) {
      ASSERT_GT(lo, 0.0) << i;
    }
    if (i % 4 == 0) meter.Picture();
    if (i % 25 == 0 && meter.Width() * static_cast<double>(meter.Height()) <= 1e6) {
      scratch.SetSize(meter.Width(), meter.Height());
      meter.PaintTo(*scratch.Canvas());
    }
    if (i % 200 == 0) meter.SetBounds(0, 0, random.Int(1, 300), random.Int(1, 300));
  }
  // The extremes named for the scale: tick counts at their limits on a
  // huge range, and logarithmic limits far apart.
  meter.SetBounds(0, 0, 297, 209);
  meter.SetRimBottom(10);
  meter.SetRimTop(8);
  meter.SetRimSide(10);
  meter.SetLogarithmic(false);
  meter.SetMeterMaxValue(1e300);
  meter.SetMeterMinValue(-1e300);
  for (int n : {2, 21}) {
    meter.SetMeterNrTicks(n);
    ASSERT_NE(meter.Picture(), nullptr);
  }
  meter.SetMeterMinValue(2e-100);
  meter.SetLogarithmic(true);
  EXPECT_TRUE(meter.Logarithmic());
  ASSERT_NE(meter.Picture(), nullptr);
  meter.SetBounds(0, 0, 4000, 4000);
  ASSERT_NE(meter.Picture(), nullptr);
  // Beyond the picture limit nothing is kept and nothing fails.
  meter.SetBounds(0, 0, 20000, 20000);
  EXPECT_EQ(meter.Picture(), nullptr);
  meter.SetValue(0.5);
}

}  // namespace
}  // namespace vorn
