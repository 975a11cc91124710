// TNumLab: value texts of every format, the comma and plus-sign step, the
// overflow indicator, property rules, placement in the box and odd input.
#include "vorn/displays/numlab.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <string>

#include "tests/displays/picture.h"
#include "vorn/platform/hosts/headless.h"

namespace vorn {
namespace {

std::string Text(TDisplay D, double V, int P = 2, bool Comma = false, bool Plus = false) {
  TNumLabFormat f;
  f.Display = D;
  f.Precision = P;
  f.Comma = Comma;
  f.PlusSign = Plus;
  return NumLabText(f, V);
}

struct TCase {
  TDisplay Display;
  double Value;
  int Precision;
  const char* Expected;
};

TEST(NumLabTextTest, FormatsByDisplayType) {
  const TCase cases[] = {
      {dtFixP, 3.14159, 2, "3.14"},
      {dtFixP, -1, 2, "-1.00"},
      {dtFixP, 2.5, 0, "2"},
      {dtFloat, 1234.56, 4, "1235"},
      {dtFloat, 0.5, 4, "0.5"},
      {dtFloat, 12345.6, 4, "1.235E4"},
      {dtFloat, 0.000001, 4, "1E-6"},
      {dtFloat, 0.00001, 4, "0.00001"},
      {dtFloat, 100, 3, "100"},
      {dtFloat, 0, 3, "0"},
      {dtExp, 1234.5, 3, "1.23E+003"},
      {dtExp, -0.00012, 2, "-1.2E-004"},
      {dtExp, 9.99e300, 2, "1.0E+301"},
      {dtInt, 2.5, 2, "2"},
      {dtInt, 3.5, 2, "4"},
      {dtInt, -2.5, 2, "-2"},
      {dtInt, 1e20, 2, "100000000000000000000"},
      {dtZeroInt, 7.4, 3, "007"},
      {dtZeroInt, -42, 4, "-0042"},
      {dtZeroInt, 12345, 2, "12345"},
      {dtHex, 255, 2, "FF"},
      {dtHex, 10, 4, "000A"},
      {dtHex, -1, 2, "FFFFFFFF"},
      {dtHex, 4294967296.0 + 17, 0, "11"},
      {dtOct, 8, 0, "10"},
      {dtBin, 5, 8, "00000101"},
      {dtBin, 2.5, 0, "10"},
      {dtDeg, 12.5, 2, "12.50\xC2\xB0"},
      {dtDegMin, 12.5, 1, "12\xC2\xB0" "30.0'"},
      {dtDegMin, -3.25, 0, "-3\xC2\xB0" "15'"},
      {dtDegMin, 1.99999, 1, "2\xC2\xB0" "00.0'"},  // 59.9994 minutes carry
      {dtDegMinSec, 12.504167, 1, "12\xC2\xB0" "30'15.0\""},
      {dtEEng, 1234, 3, "1.23E+03"},
      {dtEEng, 12345, 3, "12.3E+03"},
      {dtEEng, 999.9, 3, "1.00E+03"},
      {dtEEng, 0.00047, 2, "470E-06"},
      {dtEEng, 12345, 1, "10E+03"},
      {dtEEng, 0, 3, "0.00E+00"},
      {dtEEngNoDP, 4700, 2, "4k7"},
      {dtEEngNoDP, 2.2e6, 2, "2M2"},
      {dtEEngNoDP, 0.1, 3, "100m"},
      {dtEEngNoDP, 4.7e-6, 2, "4u7"},
      {dtEEngNoDP, 4.7, 2, "4.7"},
      {dtEEngNoDP, 3300, 1, "3k"},
      {dtEEngNoDP, 1e30, 2, "1.0E+30"},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(Text(c.Display, c.Value, c.Precision), c.Expected)
        << "display " << int(c.Display) << " value " << c.Value << " precision " << c.Precision;
  }
}

TEST(NumLabTextTest, CommaAndPlusSignSkipPatternDateAndStateFormats) {
  EXPECT_EQ(Text(dtFixP, 3.14159, 2, true), "3,14");
  EXPECT_EQ(Text(dtFixP, 3.14159, 2, true, true), "+3,14");
  EXPECT_EQ(Text(dtFixP, 0, 2, false, true), "0.00");
  EXPECT_EQ(Text(dtFixP, -1, 2, false, true), "-1.00");
  EXPECT_EQ(Text(dtEEng, 1234, 3, true, true), "+1,23E+03");
  EXPECT_EQ(Text(dtHex, 255, 2, true, true), "FF");
  EXPECT_EQ(Text(dtBin, 1, 1, false, true), "1");
  TNumLabFormat f;
  f.Display = dtDateTime;
  f.DTFormat = "yyyy.mm.dd";
  f.Comma = true;
  f.PlusSign = true;
  EXPECT_EQ(NumLabText(f, 45000), "2023.03.15");
  f.Display = dtState;
  f.StateText = "1.5";
  EXPECT_EQ(NumLabText(f, 2), "1.5");
}

TEST(NumLabTextTest, DateTimeUsesTheFormatAndMatchesPython) {
  TNumLabFormat f;
  f.Display = dtDateTime;
  // python3: datetime(1899,12,30) + timedelta(days=45000.5)
  EXPECT_EQ(NumLabText(f, 45000.5), "Mar-15, 2023");
  f.DTFormat = "hh:nn";
  EXPECT_EQ(NumLabText(f, 45000.5), "12:00");
}

// NaN and infinities read as such in every format; dates beyond the
// calendar's span likewise; the state format keeps its text.
TEST(NumLabTextTest, NonFiniteValuesAreReadableInEveryFormat) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (int d = dtFloat; d <= dtEEngNoDP; ++d) {
    const auto display = static_cast<TDisplay>(d);
    if (display == dtState) continue;
    EXPECT_EQ(Text(display, nan), "NAN") << d;
    EXPECT_EQ(Text(display, -inf), "-INF") << d;
    const bool plus = display != dtHex && display != dtBin && display != dtDateTime;
    EXPECT_EQ(Text(display, inf, 2, false, true), plus ? "+INF" : "INF") << d;
  }
  EXPECT_EQ(Text(dtDateTime, 1e300), "INF");
  EXPECT_EQ(Text(dtDateTime, -1e12), "-INF");
  EXPECT_EQ(Text(dtState, nan), "undefined");
}

TEST(NumLabTextTest, PrecisionExtremesStayWithinReason) {
  EXPECT_EQ(Text(dtFixP, 1.0 / 3, 15), "0.333333333333333");
  EXPECT_EQ(Text(dtFloat, 1.0 / 3, 0), "0.3");
  EXPECT_EQ(Text(dtExp, 1.0 / 3, 0), "3E-001");
  EXPECT_EQ(Text(dtBin, -1, 15).size(), 32u);
  EXPECT_EQ(Text(dtDegMinSec, 1e300, 15).back(), '\xB0');  // too large for minutes: degrees only
  EXPECT_EQ(Text(dtFixP, -1e308, 15).size(), 326u);
}

class NumLabTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 80);
    lab = new TNumLab(form.get());
    lab->SetParent(form.get());
    lab->SetBounds(10, 10, 160, 28);
    form->Show();
  }
  std::unique_ptr<TBitmap> Shot() { return HeadlessHost().Snapshot(*lab); }
  // Columns of the box that hold text pixels (neither box background nor frame).
  std::pair<int, int> InkSpan(const TBitmap& B) const {
    int first = -1, last = -1;
    for (int x = lab->LeftSpace() + 3; x < lab->LeftSpace() + lab->LabelWidth() - 1; ++x)
      for (int y = 2; y < B.Height() - 3; ++y)
        if (B.Canvas()->Pixels(x, y) != ColorToRGB(lab->ColorLabBakG())) {
          if (first < 0) first = x;
          last = x;
        }
    return {first, last};
  }
  std::unique_ptr<TForm> form;
  TNumLab* lab = nullptr;
};

TEST_F(NumLabTest, StartsWithTheDocumentedDefaults) {
  EXPECT_EQ(lab->DisplayType(), dtFixP);
  EXPECT_EQ(lab->Precision(), 2);
  EXPECT_EQ(lab->LabelWidth(), 80);
  EXPECT_EQ(lab->LeftSpace(), 35);
  EXPECT_EQ(lab->Alignment(), taCenter);
  EXPECT_EQ(lab->LeftTextAlignment(), taRightJustify);
  EXPECT_EQ(lab->RightTextAlignment(), taLeftJustify);
  EXPECT_EQ(lab->OverflowIndicator(), "*********");
  EXPECT_EQ(lab->StateText(), "undefined");
  EXPECT_EQ(lab->DTFormat(), "mmm-dd, yyyy");
  EXPECT_EQ(lab->FrameStyle(), fsLowered);
  EXPECT_EQ(lab->ColorLabBakG(), clBtnFace);
  EXPECT_EQ(lab->ColorOutText(), clBlack);
  TNumLab fresh(nullptr);
  EXPECT_EQ(fresh.Width(), 160);
  EXPECT_EQ(fresh.Height(), 28);
}

TEST_F(NumLabTest, SettersClampOrIgnoreOutOfRangeValues) {
  lab->SetPrecision(-1);
  EXPECT_EQ(lab->Precision(), 2);
  lab->SetPrecision(20);
  EXPECT_EQ(lab->Precision(), 15);
  lab->SetLeftSpace(-5);
  EXPECT_EQ(lab->LeftSpace(), 35);
  lab->SetLeftSpace(500);
  EXPECT_EQ(lab->LeftSpace(), 160);
  lab->SetLabelWidth(-40);  // stored as it is; painting copes
  EXPECT_EQ(lab->LabelWidth(), -40);
  EXPECT_NO_THROW(Shot());
}

TEST_F(NumLabTest, ColorSchemeSetsTheLines) {
  lab->SetColorScheme(csSystem);
  auto other = std::make_unique<TNumLab>(nullptr);
  other->Assign(lab);
  EXPECT_EQ(other->ColorScheme(), csSystem);
}

TEST_F(NumLabTest, ValueIsCentredInTheBox) {
  lab->SetValue(3.14159);
  EXPECT_EQ(lab->ShownText(), "3.14");
  auto shot = Shot();
  const auto [first, last] = InkSpan(*shot);
  ASSERT_GE(first, 0);
  const int tw = lab->Canvas()->TextWidth("3.14");
  const int x = 35 + 2 + (80 - tw) / 2;
  // The ink lies within the text cell that starts at x.
  EXPECT_GE(first, x);
  EXPECT_LE(last, x + tw);
  EXPECT_LE(std::abs((first + last) / 2 - (35 + 1 + 80 / 2)), 3);
}

TEST_F(NumLabTest, AlignmentPlacesTheTextAtTheBoxEdges) {
  lab->SetValue(8);
  lab->SetAlignment(taLeftJustify);
  EXPECT_GE(InkSpan(*Shot()).first, 35 + 4);
  EXPECT_LE(InkSpan(*Shot()).first, 35 + 6);
  lab->SetAlignment(taRightJustify);
  EXPECT_LE(InkSpan(*Shot()).second, 35 + 80 - 2);
  EXPECT_GE(InkSpan(*Shot()).second, 35 + 80 - 5);
}

TEST_F(NumLabTest, TooWideTextShowsTheOverflowIndicatorButStatesNever) {
  lab->SetValue(123456789012.0);
  EXPECT_EQ(lab->ShownText(), "*********");
  lab->SetDisplayType(dtState);
  lab->SetStateText(std::string(200, 'W'));
  EXPECT_EQ(lab->ShownText(), std::string(200, 'W'));
  lab->SetDisplayType(dtFixP);
  lab->SetOnBeforeDisplay([](TObject*, std::string& T) { T = "n/a"; });
  EXPECT_EQ(lab->ShownText(), "n/a");
  lab->SetOnBeforeDisplay([](TObject*, std::string& T) { T = std::string(100000, '8'); });
  EXPECT_EQ(lab->ShownText(), "*********");
  EXPECT_NO_THROW(Shot());
}

TEST_F(NumLabTest, EmptyShowsTheFrameAndSideTextsButNoValue) {
  lab->SetLeftText("U");
  lab->SetRightText("V");
  lab->SetValue(88);
  lab->SetEmpty(true);
  EXPECT_EQ(lab->ShownText(), "");
  auto shot = Shot();
  EXPECT_EQ(InkSpan(*shot).first, -1);
  EXPECT_EQ(shot->Canvas()->Pixels(36, 0), clGray);  // sunken frame's outer ring
  bool leftInk = false;
  for (int x = 0; x < 35; ++x)
    for (int y = 0; y < 28; ++y) leftInk |= shot->Canvas()->Pixels(x, y) == clBlack;
  EXPECT_TRUE(leftInk);
}

TEST_F(NumLabTest, MouseAreaCodeFollowsTheBoxBorders) {
  auto& host = HeadlessHost();
  host.MouseMove(*form, 10 + 35, 20);
  EXPECT_EQ(lab->MouseAreaCode(), 0);
  host.MouseMove(*form, 10 + 36, 20);
  EXPECT_EQ(lab->MouseAreaCode(), 1);
  host.MouseMove(*form, 10 + 116, 20);
  EXPECT_EQ(lab->MouseAreaCode(), 2);
}

TEST_F(NumLabTest, AssignCopiesTheListedPropertiesOnly) {
  lab->SetValue(7);
  lab->SetPrecision(4);
  lab->SetComma(true);
  lab->SetDisplayType(dtExp);
  lab->SetDTFormat("yyyy");
  auto copy = std::make_unique<TNumLab>(nullptr);
  copy->Assign(lab);
  EXPECT_EQ(copy->Value(), 7);
  EXPECT_EQ(copy->Precision(), 4);
  EXPECT_EQ(copy->DisplayType(), dtExp);
  EXPECT_FALSE(copy->Comma());
  EXPECT_EQ(copy->DTFormat(), "mmm-dd, yyyy");
}

TEST_F(NumLabTest, TransparentLetsTheParentShowOutsideTheBox) {
  form->SetColor(clRed);
  lab->SetTransparent(true);
  auto shot = Shot();
  EXPECT_EQ(shot->Canvas()->Pixels(2, 2), clRed);
  EXPECT_EQ(shot->Canvas()->Pixels(155, 25), clRed);
}

// Random settings and values, sizes down to 1x1: painting never fails and
// the shown text is the value text or the indicator.
TEST_F(NumLabTest, RandomSettingsPaintSafely) {
  std::mt19937 rng(6);
  const double specials[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(), 0.0, -0.0,
                             std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min()};
  for (int round = 0; round < 150; ++round) {
    lab->SetDisplayType(static_cast<TDisplay>(rng() % 15));
    lab->SetPrecision(static_cast<int>(rng() % 20) - 2);
    lab->SetComma(rng() % 2);
    lab->SetForcePlusSign(rng() % 2);
    lab->SetAlignment(static_cast<TAlignment>(rng() % 3));
    lab->SetFrameStyle(static_cast<TFrameStyle>(rng() % 6));
    lab->SetTransparent(rng() % 4 == 0);
    lab->SetEnabled(rng() % 3 != 0);
    lab->SetBounds(10, 10, static_cast<int>(rng() % 200) + 1, static_cast<int>(rng() % 40) + 1);
    lab->SetLeftSpace(static_cast<int>(rng() % 100));
    lab->SetLabelWidth(static_cast<int>(rng() % 160) - 10);
    const double v = rng() % 3 == 0 ? specials[rng() % 7] : std::ldexp(double(rng()) - 2e9, int(rng() % 200) - 100);
    lab->SetValue(v);
    ASSERT_NO_THROW(Shot()) << round;
  }
}

}  // namespace
}  // namespace vorn
