// TMeter: defaults and setter rules, the range and threshold logic with
// its events, stream loading, the mappings between values, angles and
// pixels, the mouse report, and pixel tests of needles, lamps, frames,
// anchor and images.
#include "vorn/gauges/meter.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "vorn/platform/graphics/bitmap.h"
#include "vorn/platform/hosts/headless.h"

namespace vorn {
namespace {

class MeterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    meter = std::make_unique<TMeter>(nullptr);
    meter->SetOnOverFlow([this](TObject*) { events += "O"; });
    meter->SetOnNormalRange([this](TObject*) { events += "N"; });
    meter->SetOnUnderFlow([this](TObject*) { events += "U"; });
  }
  // The meter drawn from scratch onto a grey bitmap of its size.
  std::unique_ptr<TBitmap> Render() const {
    auto bmp = std::make_unique<TBitmap>(std::max(1, meter->Width()), std::max(1, meter->Height()));
    bmp->Canvas()->Brush()->SetColor(0x123456);
    bmp->Canvas()->FillRect({0, 0, bmp->Width(), bmp->Height()});
    meter->PaintTo(*bmp->Canvas());
    return bmp;
  }
  static TColor Px(const TBitmap& B, int X, int Y) { return B.Canvas()->Pixels(X, Y); }

  std::unique_ptr<TMeter> meter;
  std::string events;
};

TEST_F(MeterTest, StartsWithTheDocumentedDefaults) {
  EXPECT_EQ(meter->Width(), 297);
  EXPECT_EQ(meter->Height(), 209);
  EXPECT_EQ(meter->MeterLayout(), mlCirc90);
  EXPECT_EQ(meter->AnchorSize(), 24);
  EXPECT_TRUE(meter->AnchorCovered());
  EXPECT_EQ(meter->ColorCover(), static_cast<TColor>(0xFF00000F));
  EXPECT_EQ(meter->ColorScale(), 0x800000);
  EXPECT_EQ(meter->ColorSclBkNorm(), 0x0080FF);
  EXPECT_EQ(meter->FrameStyle(), fsRaised);
  EXPECT_EQ(meter->MeterDecPlaces(), 1);
  EXPECT_EQ(meter->MeterNrTicks(), 3);
  EXPECT_EQ(meter->RimBottom(), 10);
  EXPECT_EQ(meter->RimTop(), 8);
  EXPECT_EQ(meter->RimSide(), 10);
  EXPECT_EQ(meter->ThresholdHigh(), 1.0);
  EXPECT_EQ(meter->MeterMaxValue(), 1.0);
  EXPECT_FALSE(meter->Logarithmic());
  EXPECT_FALSE(meter->ScaleBkVisible());
  for (TNeedleLayout* L : {meter->NeedleLayout(), meter->NeedleLayoutSec()}) {
    EXPECT_EQ(L->ColorBody(), 0xC0C0C0);
    EXPECT_EQ(L->HeadSize(), 20);
    EXPECT_EQ(L->HeadAngle(), 30);
    EXPECT_EQ(L->HeadMidLeng(), 20);
    EXPECT_EQ(L->PercentNeedleLength(), 100);
    EXPECT_EQ(L->ShadowColor(), 0x808080);
  }
  EXPECT_TRUE(meter->NeedleLayout()->Visible());
  EXPECT_FALSE(meter->NeedleLayoutSec()->Visible());
  EXPECT_EQ(meter->FontCaption()->Name(), meter->Font()->Name());
}

TEST_F(MeterTest, SettersClampWhatTheyMust) {
  meter->SetMeterNrTicks(1);
  EXPECT_EQ(meter->MeterNrTicks(), 2);
  meter->SetMeterNrTicks(30);
  EXPECT_EQ(meter->MeterNrTicks(), 21);
  meter->SetMeterDecPlaces(-3);
  EXPECT_EQ(meter->MeterDecPlaces(), 0);
  meter->SetMeterDecPlaces(9);
  EXPECT_EQ(meter->MeterDecPlaces(), 4);
  meter->SetScaleBkWidth(150);
  EXPECT_EQ(meter->ScaleBkWidth(), 100.0);
  meter->SetScaleBkWidth(std::nan(""));
  EXPECT_EQ(meter->ScaleBkWidth(), 100.0);
  TNeedleLayout* L = meter->NeedleLayout();
  L->SetPercentNeedleLength(120);
  EXPECT_EQ(L->PercentNeedleLength(), 100);
  L->SetHeadAngle(-5);
  EXPECT_EQ(L->HeadAngle(), 0);
  meter->SetColorScheme(csSystem);
  EXPECT_EQ(meter->ColorScheme(), csSystem);
}

TEST_F(MeterTest, NeedleLayoutsCopyEverythingButTheirChangeHandler) {
  int changes = 0;
  TNeedleLayout source;
  source.SetOnChange([&](TObject*) { ++changes; });
  source.SetColorBody(0x112233);
  source.SetThickness(6);
  source.SetShadowDx(3);
  source.SetVisible(true);
  source.SetHeadSize(source.HeadSize());  // unchanged: no notification
  EXPECT_EQ(changes, 4);
  meter->SetNeedleLayoutSec(&source);
  EXPECT_EQ(meter->NeedleLayoutSec()->ColorBody(), 0x112233);
  EXPECT_EQ(meter->NeedleLayoutSec()->Thickness(), 6);
  EXPECT_EQ(meter->NeedleLayoutSec()->ShadowDx(), 3);
  EXPECT_TRUE(meter->NeedleLayoutSec()->Visible());
  EXPECT_EQ(changes, 4);
  meter->NeedleLayoutSec()->SetThickness(2);  // the meter's handler stays
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(source.Thickness(), 6);
}

TEST_F(MeterTest, ValueEventsFollowTheThresholds) {
  meter->SetThresholdLow(0.2);
  meter->SetThresholdHigh(0.8);
  events.clear();
  meter->SetValue(0.5);
  meter->SetValue(0.5);  // unchanged: nothing
  meter->SetValue(0.2);  // at the low threshold: under range
  meter->SetValue(0.8);  // at the high threshold: over range
  EXPECT_EQ(events, "NUO");
  EXPECT_TRUE(meter->OverFlowLit());
  meter->SetValue(7);  // beyond the range: Max, over range again
  EXPECT_EQ(meter->Value(), 1.0);
  EXPECT_EQ(events, "NUOO");
  meter->SetValue(-3);
  EXPECT_EQ(meter->Value(), 0.0);
  EXPECT_TRUE(meter->UnderFlowLit());
  EXPECT_FALSE(meter->OverFlowLit());
  events.clear();
  meter->SetValue(std::nan(""));  // refused
  EXPECT_EQ(meter->Value(), 0.0);
  meter->SetValue(std::numeric_limits<double>::infinity());
  EXPECT_EQ(meter->Value(), 1.0);
  EXPECT_EQ(events, "O");
}

TEST_F(MeterTest, InvisibleNeedlesRaiseNoRangeEvents) {
  meter->NeedleLayout()->SetVisible(false);
  meter->SetValue(0.9);
  EXPECT_EQ(meter->Value(), 0.9);
  EXPECT_FALSE(meter->OverFlowLit());
  meter->SetValueSec(0.95);  // second needle hidden by default
  EXPECT_EQ(meter->ValueSec(), 0.95);
  meter->NeedleLayoutSec()->SetVisible(true);
  meter->SetValueSec(0.0);
  EXPECT_EQ(events, "U");
}

TEST_F(MeterTest, ThresholdSettersKeepTheirOrderAndReport) {
  meter->SetValue(0.5);
  events.clear();
  meter->SetThresholdHigh(2);  // clamped to Max; value below: no event
  EXPECT_EQ(meter->ThresholdHigh(), 1.0);
  meter->SetThresholdLow(0.7);  // value now at or under it
  EXPECT_EQ(events, "U");
  EXPECT_TRUE(meter->UnderFlowLit());
  meter->SetThresholdHigh(0.4);  // below the low one: both move
  EXPECT_EQ(meter->ThresholdHigh(), 0.4);
  EXPECT_EQ(meter->ThresholdLow(), 0.4);
  EXPECT_EQ(events, "UO");
  meter->SetThresholdLow(0.9);
  EXPECT_EQ(meter->ThresholdHigh(), 0.9);
}

TEST_F(MeterTest, RangeSettersKeepTheRangeAndEverythingInIt) {
  meter->SetMeterMinValue(1);  // Max follows to 2
  EXPECT_EQ(meter->MeterMaxValue(), 2.0);
  EXPECT_EQ(meter->Value(), 1.0);
  EXPECT_EQ(meter->ThresholdLow(), 1.0);
  meter->SetMeterMaxValue(0.5);
  EXPECT_EQ(meter->MeterMinValue(), -0.5);
  EXPECT_EQ(meter->Value(), 0.5);
  EXPECT_EQ(meter->ThresholdHigh(), 0.5);

  meter->SetMeterMinValue(1);
  meter->SetLogarithmic(true);
  ASSERT_TRUE(meter->Logarithmic());
  meter->SetMeterMaxValue(0.5);  // Min - 1 is not positive: Max / 10
  EXPECT_EQ(meter->MeterMinValue(), 0.05);
  meter->SetMeterMinValue(1e-101);  // too small for a logarithmic scale
  EXPECT_EQ(meter->MeterMinValue(), 0.05);

  // Beyond the resolution of x + 1 the other end still moves.
  meter->SetLogarithmic(false);
  meter->SetMeterMaxValue(1e300);
  meter->SetMeterMinValue(1e300);
  EXPECT_LT(meter->MeterMinValue(), meter->MeterMaxValue());
  meter->SetMeterMinValue(std::numeric_limits<double>::max());
  EXPECT_LT(meter->MeterMinValue(), meter->MeterMaxValue());
  meter->SetMeterMaxValue(-std::numeric_limits<double>::infinity());
  EXPECT_EQ(meter->MeterMaxValue(), std::nextafter(1e300, 2e300));
}

TEST_F(MeterTest, LogarithmicNeedsAPositiveRange) {
  meter->SetLogarithmic(true);  // range starts at 0
  EXPECT_FALSE(meter->Logarithmic());
  meter->SetMeterMaxValue(1000);
  meter->SetMeterMinValue(1);
  meter->SetLogarithmic(true);
  EXPECT_TRUE(meter->Logarithmic());
  EXPECT_NEAR(meter->CalcNeedleAngle(std::sqrt(1000.0)), 180.0, 1e-9);
}

TEST_F(MeterTest, StreamLoadingStoresRawValuesUntilLoaded) {
  meter->BeginLoading();
  meter->SetMeterMaxValue(10);
  meter->SetValue(50);
  meter->SetThresholdLow(-4);
  meter->SetLogarithmic(true);
  EXPECT_EQ(meter->Value(), 50.0);
  EXPECT_EQ(meter->ThresholdLow(), -4.0);
  EXPECT_TRUE(meter->Logarithmic());
  EXPECT_EQ(events, "");
  meter->Loaded();
  EXPECT_EQ(meter->Value(), 10.0);
  EXPECT_FALSE(meter->ComponentState().Contains(csLoading));
  Render();  // a raw logarithmic range from 0 paints without trouble
}

TEST_F(MeterTest, DefaultGeometryAndTheMappingsBetweenValuesAndPixels) {
  EXPECT_EQ(meter->OriginX(), 148);
  EXPECT_EQ(meter->OriginY(), 191);
  EXPECT_EQ(meter->ScaleRadius(), 175.0);
  EXPECT_EQ(meter->MeterAngle(), 90);
  EXPECT_EQ(meter->CalcNeedleAngle(0), 135.0);
  EXPECT_EQ(meter->CalcNeedleAngle(1), 225.0);
  EXPECT_EQ(meter->CalcNeedleAngle(9), 225.0);
  EXPECT_EQ(meter->CalcNeedleAngle(std::nan("")), 135.0);
  int x = 0, y = 0;
  meter->ConvertToPixelCoords(0.5, 100, x, y);
  EXPECT_EQ(x, 148);
  EXPECT_EQ(y, 191 - 175);
  meter->ConvertToPixelCoords(1, 100, x, y);
  EXPECT_EQ(x, 148 + 124);  // 175 / sqrt 2 = 123.7
  EXPECT_EQ(y, 191 - 124);
  double v = -1;
  EXPECT_FALSE(meter->ConvertPixelToValue(147, 191, v));
  EXPECT_EQ(v, 0.0);
  EXPECT_FALSE(meter->ConvertPixelToValue(148, 250, v));
  EXPECT_TRUE(meter->ConvertPixelToValue(148, 10, v));
  EXPECT_DOUBLE_EQ(v, 0.5);

  // The mappings invert each other on every layout, linear and logarithmic.
  for (int layout = mlCirc90; layout <= mlCirc360; ++layout) {
    meter->SetMeterLayout(static_cast<TMeterLayout>(layout));
    for (bool log : {false, true}) {
      meter->SetMeterMaxValue(log ? 1000 : 10);
      meter->SetMeterMinValue(log ? 1 : -10);
      meter->SetLogarithmic(log);
      for (double f = 0.02; f < 0.99; f += 0.07) {
        const double value = log ? std::pow(1000.0, f) : -10 + 20 * f;
        meter->ConvertToPixelCoords(value, 100, x, y);
        ASSERT_TRUE(meter->ConvertPixelToValue(x, y, v)) << layout << " " << value;
        const double tolerance = log ? value * 0.05 : 0.1;
        EXPECT_NEAR(v, value, tolerance) << layout;
      }
      meter->SetLogarithmic(false);
    }
  }
}

TEST_F(MeterTest, Layout300MatchesItsFormula) {
  meter->SetMeterLayout(mlCirc300);
  EXPECT_NEAR(meter->ScaleRadius(), 175 / 1.866, 1e-9);
  EXPECT_EQ(meter->OriginY(), 110);
  meter->SetBounds(0, 0, 100, 200);
  EXPECT_NEAR(meter->ScaleRadius(), 32, 1e-9);
  meter->SetRimSide(45);
  EXPECT_LE(meter->ScaleRadius(), 0);
}

TEST(MeterMouseTest, MouseMovesReportTheValueAfterOnMouseMove) {
  THeadlessHost& host = HeadlessHost();
  TForm form(nullptr);
  form.SetBounds(0, 0, 320, 240);
  auto* meter = new TMeter(&form);
  meter->SetParent(&form);
  meter->SetBounds(10, 10, 297, 209);
  form.Show();
  host.Advance(0);
  std::string order;
  std::vector<double> values;
  std::vector<bool> within;
  meter->SetOnMouseMove([&](TObject*, TShiftState, int, int) { order += "M"; });
  meter->SetOnMouseMoveInMeter([&](TObject*, bool Within, TShiftState, double Value) {
    order += "V";
    within.push_back(Within);
    values.push_back(Value);
  });
  host.MouseMove(form, 10 + 148, 10 + 20);
  host.MouseMove(form, 10 + 20, 10 + 190);
  EXPECT_EQ(order, "MVMV");
  ASSERT_EQ(values.size(), 2u);
  EXPECT_TRUE(within[0]);
  EXPECT_DOUBLE_EQ(values[0], 0.5);
  EXPECT_FALSE(within[1]);
  EXPECT_EQ(values[1], 0.0);
}

// A value of the hidden second needle puts the lamps out; the control shows
// them out at once, not at some later repaint.
TEST(MeterLampTest, LampsPutOutByAHiddenSecondNeedleGoOutOnTheControl) {
  THeadlessHost& host = HeadlessHost();
  TForm form(nullptr);
  form.SetBounds(0, 0, 320, 240);
  auto* meter = new TMeter(&form);
  meter->SetParent(&form);
  meter->SetBounds(10, 10, 297, 209);
  form.Show();
  host.Advance(0);
  const auto lamp = [&] { return form.SurfaceBitmap().Canvas()->Pixels(10 + 297 - 10 - 13, 10 + 8 + 13); };
  meter->SetValue(1);
  host.Advance(0);
  EXPECT_EQ(lamp(), 0x0000FF);
  meter->SetValueSec(0.5);
  host.Advance(0);
  EXPECT_FALSE(meter->OverFlowLit());
  EXPECT_EQ(lamp(), 0x808080);
}

// ---- pixels ----------------------------------------------------------------------------------

TEST_F(MeterTest, LampsLightWithTheirRange) {
  meter->SetValue(1);
  auto lit = Render();
  const int hx = 297 - 10 - 13, y = 8 + 13;  // inside the 10 x 10 squares
  const int lx = 10 + 13;
  EXPECT_EQ(Px(*lit, hx, y), 0x0000FF);
  EXPECT_EQ(Px(*lit, lx, y), 0x808080);
  EXPECT_EQ(Px(*lit, 297 - 10 - 18, 8 + 8), 0x000000);  // black square outline
  EXPECT_EQ(Px(*lit, 297 - 10 - 9, 8 + 12), 0xFFFFFF);  // bevel: white right edge
  EXPECT_EQ(Px(*lit, 297 - 10 - 10, 8 + 12), 0xC0C0C0);  // then silver
  EXPECT_EQ(Px(*lit, 297 - 10 - 17, 8 + 12), 0x808080);  // grey left edge
  meter->SetValue(0);
  auto low = Render();
  EXPECT_EQ(Px(*low, hx, y), 0x808080);
  EXPECT_EQ(Px(*low, lx, y), 0x0000FF);
  meter->SetLimWatchLowOn(false);
  auto off = Render();
  EXPECT_NE(Px(*off, lx, y), 0x0000FF);
}

TEST_F(MeterTest, NeedleAndItsShadow) {
  meter->SetValue(0.5);  // straight up from (148, 191)
  meter->SetAnchorCovered(false);
  TNeedleLayout* L = meter->NeedleLayout();
  L->SetColorBody(0x00FF00);
  L->SetColorOutline(0xFF0000);
  L->SetThickness(6);
  auto plain = Render();
  EXPECT_EQ(Px(*plain, 148, 100), 0x00FF00);  // body
  EXPECT_EQ(Px(*plain, 145, 100), 0xFF0000);  // outline at the shaft's edge
  EXPECT_EQ(Px(*plain, 148, 20), 0xFF0000);   // tip at radius 171
  EXPECT_EQ(Px(*plain, 148 - 12, 100), 0xFFFFFF);
  L->SetShadowDx(-12);  // the shadow lies 12 pixels to the right
  L->SetShadowColor(0x404040);
  auto shadow = Render();
  EXPECT_EQ(Px(*shadow, 160, 100), 0x404040);
  EXPECT_EQ(Px(*shadow, 148, 100), 0x00FF00);  // needle over its shadow
  EXPECT_EQ(Px(*shadow, 136, 100), 0xFFFFFF);
  L->SetVisible(false);
  auto hidden = Render();
  EXPECT_EQ(Px(*hidden, 148, 100), 0xFFFFFF);
}

TEST_F(MeterTest, SecondNeedleIsDrawnUnderTheMainOne) {
  meter->SetAnchorCovered(false);
  meter->NeedleLayoutSec()->SetVisible(true);
  meter->NeedleLayoutSec()->SetColorBody(0x0000FF);
  meter->NeedleLayoutSec()->SetThickness(20);
  meter->NeedleLayout()->SetThickness(6);
  meter->NeedleLayout()->SetColorBody(0x00FF00);
  meter->SetValue(0.5);
  meter->SetValueSec(0.5);
  auto both = Render();
  EXPECT_EQ(Px(*both, 148, 100), 0x00FF00);
  EXPECT_EQ(Px(*both, 154, 100), 0x0000FF);
}

TEST_F(MeterTest, FramesFollowTheirStyleAndColourScheme) {
  struct Case {
    TFrameStyle Style;
    TColor TopLeft, BottomRight, Inner;
  } cases[] = {
      {fsLowered, 0x808080, 0xFFFFFF, 0},
      {fsRaised, 0xFFFFFF, 0x808080, 0},
      {fsEmbossed, 0xFFFFFF, 0x808080, 0x808080},
      {fsEngraved, 0x808080, 0xFFFFFF, 0xFFFFFF},
  };
  for (const Case& c : cases) {
    meter->SetFrameStyle(c.Style);
    auto bmp = Render();
    EXPECT_EQ(Px(*bmp, 0, 100), c.TopLeft) << int(c.Style);
    EXPECT_EQ(Px(*bmp, 100, 0), c.TopLeft) << int(c.Style);
    EXPECT_EQ(Px(*bmp, 296, 100), c.BottomRight) << int(c.Style);
    EXPECT_EQ(Px(*bmp, 100, 208), c.BottomRight) << int(c.Style);
    if (c.Inner != 0) {
      EXPECT_EQ(Px(*bmp, 1, 100), c.Inner) << int(c.Style);
    }
  }
  meter->SetFrameStyle(fsSimple);
  meter->SetColorBakG(0x00FFFF);
  auto simple = Render();
  EXPECT_EQ(Px(*simple, 0, 100), 0x00FFFF);
  EXPECT_EQ(Px(*simple, 296, 208), 0x00FFFF);
  meter->SetFrameStyle(fsNone);
  auto none = Render();
  EXPECT_EQ(Px(*none, 0, 100), Px(*none, 2, 100));  // rim colour to the edge
}

TEST_F(MeterTest, RimsBevelAndAnchorCoverTheNeedle) {
  meter->SetColorCover(0x336699);
  meter->SetFrameStyle(fsNone);
  meter->SetValue(0.5);
  auto bmp = Render();
  EXPECT_EQ(Px(*bmp, 3, 100), 0x336699);              // side rim
  EXPECT_EQ(Px(*bmp, 9, 100), 0x808080);              // bevel down the left
  EXPECT_EQ(Px(*bmp, 287, 100), 0xFFFFFF);            // and up the right
  EXPECT_EQ(Px(*bmp, 148, 180), 0x336699);            // anchor over the needle's foot
  EXPECT_EQ(Px(*bmp, 148 - 24, 195), 0xFFFFFF);        // white left edge of its base
  EXPECT_EQ(Px(*bmp, 148 + 23, 195), 0x808080);        // grey right edge
  meter->SetMeterLayout(mlCirc360);
  auto round = Render();
  EXPECT_EQ(Px(*round, meter->OriginX(), meter->OriginY()), 0x336699);  // the disk
}

// The half-disk anchor and its block join without a gap: no pixel of the
// dial shows through where the disk's closing radius meets the block.
TEST_F(MeterTest, HalfDiskAnchorIsWholeWhereItMeetsItsBlock) {
  meter->SetColorCover(0x336699);
  for (const TMeterLayout layout : {mlCirc90, mlCirc120, mlCirc180}) {
    for (const auto& [w, h] : {std::pair{297, 209}, {246, 172}, {160, 120}}) {
      meter->SetMeterLayout(layout);
      meter->SetBounds(0, 0, w, h);
      auto bmp = Render();
      const int cx = meter->OriginX(), cy = meter->OriginY(), sa = meter->AnchorSize();
      for (int y = cy - 3; y <= cy + 3; ++y) {
        for (int x = cx - sa + 2; x <= cx + sa - 3; ++x) {
          ASSERT_EQ(Px(*bmp, x, y), 0x336699) << "layout " << static_cast<int>(layout) << " " << w << "x" << h << " at " << x << "," << y;
        }
      }
    }
  }
}

TEST_F(MeterTest, TooSmallMetersLeaveTheirAreaUntouched) {
  meter->SetBounds(0, 0, 40, 30);
  ASSERT_LE(meter->ScaleRadius(), 0);
  auto bmp = Render();
  for (int y = 0; y < 30; y += 3) {
    for (int x = 0; x < 40; x += 3) ASSERT_EQ(Px(*bmp, x, y), 0x123456);
  }
  EXPECT_EQ(meter->Picture(), nullptr);
}

class LabelRecorder {
 public:
  explicit LabelRecorder(TMeter& M) {
    M.SetOnBeforeDrawScaleLabel([this](TObject*, TCanvas* C, std::string& Text, int X, int Y) {
      Texts.push_back(Text);
      const TSize size = C->TextExtent(Text);
      Boxes.push_back({X, Y, X + size.cx, Y + size.cy});
      if (Suppress) Text.clear();
    });
  }
  std::vector<std::string> Texts;
  std::vector<TRect> Boxes;
  bool Suppress = false;
};

TEST_F(MeterTest, LabelsAndTheirEvent) {
  LabelRecorder labels(*meter);
  Render();
  EXPECT_EQ(labels.Texts, (std::vector<std::string>{"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"}));
  labels.Texts.clear();
  meter->SetMeterMaxValue(1000);
  meter->SetMeterMinValue(1);
  meter->SetLogarithmic(true);
  meter->SetMeterDecPlaces(0);
  Render();
  EXPECT_EQ(labels.Texts, (std::vector<std::string>{"1", "2", "5", "10", "20", "50", "100", "200", "500", "1000"}));
  // An emptied text draws no label: the dial matches one without a scale
  // but with ticks.
  labels.Suppress = true;
  meter->SetFrameStyle(fsNone);
  auto suppressed = Render();
  meter->SetScaleVisible(false);
  auto noScale = Render();
  int differing = 0;
  for (int y = 0; y < 209; ++y) {
    for (int x = 0; x < 297; ++x) differing += Px(*suppressed, x, y) != Px(*noScale, x, y);
  }
  EXPECT_GT(differing, 0);  // ticks and scale line
  EXPECT_LT(differing, 2000);
}

TEST_F(MeterTest, EveryLabelLiesInsideTheControlOnEveryLayout) {
  LabelRecorder labels(*meter);
  const struct {
    int W, H;
  } sizes[] = {{100, 80}, {160, 120}, {297, 209}, {300, 300}, {400, 150}, {120, 400}, {640, 480}, {800, 600}};
  for (int layout = mlCirc90; layout <= mlCirc360; ++layout) {
    meter->SetMeterLayout(static_cast<TMeterLayout>(layout));
    for (const auto& s : sizes) {
      meter->SetBounds(0, 0, s.W, s.H);
      for (int ticks : {3, 10}) {
        meter->SetMeterNrTicks(ticks);
        labels.Boxes.clear();
        Render();
        ASSERT_FALSE(labels.Boxes.empty());
        for (const TRect& b : labels.Boxes) {
          EXPECT_TRUE(b.Left >= 0 && b.Top >= 0 && b.Right <= s.W && b.Bottom <= s.H)
              << "layout " << static_cast<int>(layout) << " size " << s.W << "x" << s.H << " box " << b.Left << "," << b.Top << ","
              << b.Right << "," << b.Bottom;
        }
        // The ends of the full circle meet at the bottom, their labels not.
        if (layout == mlCirc360) {
          EXPECT_TRUE(IntersectRect(labels.Boxes.front(), labels.Boxes.back()).IsEmpty())
              << "size " << s.W << "x" << s.H << " ticks " << ticks;
        }
      }
    }
  }
}

// On the full circle the first label stands left of the bottom and the
// last right of it, a few pixels apart, as the scale runs from its start
// to the left and comes back to its end from the right.
TEST_F(MeterTest, FullCircleSetsItsFirstAndLastLabelsSideBySide) {
  LabelRecorder labels(*meter);
  meter->SetMeterLayout(mlCirc360);
  Render();
  ASSERT_EQ(labels.Texts.front(), "0.0");
  ASSERT_EQ(labels.Texts.back(), "1.0");
  const TRect first = labels.Boxes.front(), last = labels.Boxes.back();
  EXPECT_EQ(first.Top, last.Top);
  EXPECT_EQ(last.Left - first.Right, 4);
  EXPECT_LE(first.Right, meter->OriginX());
  EXPECT_GE(last.Left, meter->OriginX());
}

TEST_F(MeterTest, NeedleEventCanTakeOverTheNeedleButNotTheCover) {
  meter->SetValue(0.5);
  meter->NeedleLayout()->SetShadowDx(-8);
  int calls = 0;
  meter->SetOnBeforeDrawNeedle([&](TObject*, TCanvas*, bool& Drawn) {
    ++calls;
    Drawn = true;
  });
  bool rendered = false;
  meter->SetOnMeterRendered([&](TObject*, TCanvas* C) {
    rendered = true;
    C->SetPixels(100, 100, 0x0000FF);
  });
  auto bmp = Render();
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(rendered);
  EXPECT_EQ(Px(*bmp, 148, 100), 0xFFFFFF);  // no needle
  EXPECT_EQ(Px(*bmp, 156, 100), 0xFFFFFF);  // no shadow
  EXPECT_EQ(Px(*bmp, 100, 100), 0x0000FF);
  EXPECT_EQ(Px(*bmp, 148, 180), ColorToRGB(meter->ColorCover()));  // anchor still there
}

TEST_F(MeterTest, SectionsSpanTheirThresholds) {
  meter->SetScaleBkVisible(true);
  meter->SetScaleBkWidth(10);
  meter->SetThresholdLow(0.25);
  meter->SetThresholdHigh(0.75);
  meter->SetScaleVisible(false);
  int x = 0, y = 0;
  const auto at = [&](const TBitmap& B, double V) {
    meter->ConvertToPixelCoords(V, 97, x, y);
    return Px(B, x, y);
  };
  auto bmp = Render();
  EXPECT_EQ(at(*bmp, 0.1), 0x00FF00);
  EXPECT_EQ(at(*bmp, 0.5), 0x0080FF);
  EXPECT_EQ(at(*bmp, 0.9), 0x0000FF);
  meter->ConvertToPixelCoords(0.5, 80, x, y);
  EXPECT_EQ(Px(*bmp, x, y), 0xFFFFFF);  // inside the ring
  meter->SetThresholdLow(0);  // the low section is empty
  auto noLow = Render();
  EXPECT_EQ(at(*noLow, 0.1), 0x0080FF);
}

TEST_F(MeterTest, ImagesFillTheBackgroundAndShowThroughTheAnchor) {
  const auto dir = std::filesystem::temp_directory_path() / ("vorn_meter_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  TBitmap tile(7, 5);
  tile.Canvas()->Brush()->SetColor(0x00AA00);
  tile.Canvas()->FillRect({0, 0, 7, 5});
  tile.Canvas()->SetPixels(1, 2, 0x0000AA);
  const std::string tileFile = (dir / "tile.png").string();
  tile.SaveToFile(tileFile);
  meter->SetBackGroundImg(tileFile);
  EXPECT_EQ(meter->BackGroundImg(), tileFile);
  meter->SetBkgndFillMode(bfTile);
  meter->SetScaleVisible(false);
  auto tiled = Render();
  EXPECT_EQ(Px(*tiled, 7 * 20 + 1, 5 * 12 + 2), 0x0000AA);
  EXPECT_EQ(Px(*tiled, 7 * 20 + 2, 5 * 12 + 2), 0x00AA00);
  meter->SetBkgndFillMode(bfSimple);
  auto simple = Render();
  EXPECT_EQ(Px(*simple, 7 * 20 + 1, 5 * 12 + 2), 0xFFFFFF);

  // Anchor picture: black is transparent.
  TBitmap anchor(9, 9);
  anchor.Canvas()->Brush()->SetColor(0x000000);
  anchor.Canvas()->FillRect({0, 0, 9, 9});
  anchor.Canvas()->Brush()->SetColor(0x0000FF);
  anchor.Canvas()->FillRect({3, 3, 6, 6});
  const std::string anchorFile = (dir / "anchor.png").string();
  anchor.SaveToFile(anchorFile);
  meter->SetBackGroundImg("");
  meter->SetValue(0.5);
  meter->NeedleLayout()->SetColorOutline(0x00FF00);
  meter->SetAnchorImage(anchorFile);
  EXPECT_EQ(meter->AnchorImage(), anchorFile);
  auto withAnchor = Render();
  const int cx = meter->OriginX(), cy = meter->OriginY();
  EXPECT_EQ(Px(*withAnchor, cx, cy - 1), 0x0000FF);
  EXPECT_EQ(Px(*withAnchor, cx - 3, cy - 3), 0xFFFFFF);  // the dial shows
  EXPECT_EQ(Px(*withAnchor, cx, cy - 4), 0x00FF00);      // the needle shows

  // Missing files clear the name; unreadable ones raise and change nothing.
  meter->SetAnchorImage((dir / "missing.bmp").string());
  EXPECT_EQ(meter->AnchorImage(), "");
  const std::string junk = (dir / "junk.bmp").string();
  { std::FILE* f = std::fopen(junk.c_str(), "wb"); std::fputs("BMnot a bitmap", f); std::fclose(f); }
  meter->SetBackGroundImg(tileFile);
  EXPECT_THROW(meter->SetBackGroundImg(junk), std::exception);
  EXPECT_EQ(meter->BackGroundImg(), tileFile);
  meter->SetAnchorImage(junk);
  EXPECT_EQ(meter->AnchorImage(), "");
  // A loaded meter with an unreadable picture drops its name.
  meter->BeginLoading();
  meter->SetBackGroundImg(junk);
  meter->Loaded();
  EXPECT_EQ(meter->BackGroundImg(), "");
  std::filesystem::remove_all(dir);
}

// A palette picture lets the dial show through where its index is 0,
// whatever colour that entry has (the picture comes from ImageMagick).
TEST_F(MeterTest, PaletteAnchorPicturesAreClearAtIndexZero) {
  const std::string file =
      (std::filesystem::temp_directory_path() / ("vorn_meter_pal_" + std::to_string(::getpid()) + ".bmp")).string();
  const std::string command = "convert -size 9x9 xc:'#00FF00' -fill '#0000FF' -draw 'rectangle 3,3 5,5' "
                              "-type Palette BMP3:" + file + " 2>/dev/null";
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "ImageMagick convert is not available";
  TBitmap picture;
  picture.LoadFromFile(file);
  ASSERT_TRUE(picture.HasPaletteIndices());
  meter->NeedleLayout()->SetVisible(false);
  meter->SetAnchorImage(file);
  auto bmp = Render();
  const int left = meter->OriginX() - 4, top = meter->OriginY() - 4;
  for (const TPoint p : {TPoint{0, 0}, TPoint{4, 4}}) {
    const TColor own = Px(picture, p.X, p.Y);
    EXPECT_EQ(Px(*bmp, left + p.X, top + p.Y), picture.PaletteIndex(p.X, p.Y) == 0 ? 0xFFFFFF : own);
  }
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace vorn
