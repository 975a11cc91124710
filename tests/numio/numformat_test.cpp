#include "vorn/numio/numformat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "vorn/platform/runtime/formatsettings.h"

namespace vorn {
namespace {

// Restores the default format settings when a test changed them.
struct LocaleSeparator {
  explicit LocaleSeparator(char C) { FormatSettings().DecimalSeparator = C; }
  ~LocaleSeparator() { ResetFormatSettings(); }
};

struct Scan {
  double Value;
  int Pos;
};

Scan Real(std::string_view Text, bool AllowExp = true, int SepMode = 3, int Pos = 1) {
  const double Value = ScanReal(Text, AllowExp, SepMode, Pos);
  return {Value, Pos};
}

template <typename F>
Scan Int(F Scanner, std::string_view Text, int Pos = 1) {
  const int Value = Scanner(Text, Pos);
  return {static_cast<double>(Value), Pos};
}

bool operator==(const Scan& A, const Scan& B) { return A.Value == B.Value && A.Pos == B.Pos; }
void PrintTo(const Scan& S, std::ostream* Out) { *Out << S.Value << " @" << S.Pos; }

TEST(CheckRealText, TheAutomatonWithPointOnly) {
  // The test ends where the number ends: "1,5" passes as the number 1.
  for (const char* Valid : {"1e5", "  -.5E-3", "5.", ".", "-.5", "1.5x", "12 34", "1,5", "1E4200",
                            "1E-04200", "7E", "7E+", "3e+x"})
    EXPECT_TRUE(CheckRealText(Valid, true, 1)) << Valid;
  for (const char* Invalid : {"", " ", "e5", "+-1", "1..2", ",5", "-", "1E4201", "1E99999", "1E.5",
                              "1E 5", "1E+-5", "1EE", "- 1"})
    EXPECT_FALSE(CheckRealText(Invalid, true, 1)) << Invalid;
  // Without exponents "E" ends the number like any other character.
  EXPECT_TRUE(CheckRealText("1E.5", false, 1));
  EXPECT_FALSE(CheckRealText("E", false, 1));
}

TEST(CheckRealText, SeparatorModes) {
  EXPECT_TRUE(CheckRealText("1,5", true, 2));
  EXPECT_FALSE(CheckRealText(",5", true, 1));
  EXPECT_TRUE(CheckRealText(",5", true, 3));
  EXPECT_FALSE(CheckRealText("1.,5", true, 3));  // one separator only
  {
    const LocaleSeparator Comma(',');
    EXPECT_TRUE(CheckRealText(",5", true, 0));
    EXPECT_FALSE(CheckRealText(".5", true, 0));
  }
  EXPECT_TRUE(CheckRealText(".5", true, 0));
}

TEST(ScanReal, ValuesAndPositions) {
  EXPECT_EQ(Real("1.5E+3"), (Scan{1500, 7}));
  EXPECT_EQ(Real("2,5"), (Scan{2.5, 4}));
  EXPECT_EQ(Real("7.", false, 1), (Scan{7, 3}));
  EXPECT_EQ(Real("12abc", true, 1), (Scan{12, 3}));
  EXPECT_EQ(Real("-"), (Scan{0, 2}));
  EXPECT_EQ(Real("  -.5"), (Scan{-0.5, 6}));
  EXPECT_EQ(Real("1.2.3"), (Scan{0, 4}));      // rejected on the second separator
  EXPECT_EQ(Real("1.5E"), (Scan{1.5, 5}));     // an open exponent is ignored
  EXPECT_EQ(Real("1.5e-"), (Scan{1.5, 6}));
  EXPECT_EQ(Real("1E5", false), (Scan{1, 2}));
  EXPECT_EQ(Real("+4 "), (Scan{4, 3}));
  EXPECT_EQ(Real("."), (Scan{0, 2}));
  EXPECT_EQ(Real("1e-400"), (Scan{0, 7}));
  EXPECT_TRUE(std::signbit(Real("-1e-400").Value));
}

TEST(ScanReal, ExponentsSaturateAndValuesClamp) {
  EXPECT_EQ(Real("1E99999"), (Scan{uc_MaxDouble, 8}));
  EXPECT_EQ(Real("-1E4201x"), (Scan{-uc_MaxDouble, 8}));
  EXPECT_EQ(Real("1e-99999"), (Scan{0, 9}));
  EXPECT_EQ(Real("1.8e308"), (Scan{uc_MaxDouble, 8}));
  EXPECT_EQ(Real("0.000001E4200"), (Scan{uc_MaxDouble, 14}));
  int Pos = 1;
  EXPECT_EQ(ScanRealExtended("1E400", true, 3, Pos), static_cast<long double>(uc_MaxDouble));
  Pos = 1;
  EXPECT_EQ(ScanRealExtended("1.1", true, 3, Pos), 1.1L);
}

TEST(ScanReal, StartPositionIsClampedIntoTheText) {
  EXPECT_EQ(Real("12;34", true, 3, 4), (Scan{34, 6}));
  EXPECT_EQ(Real("12", true, 3, 0), (Scan{12, 3}));
  EXPECT_EQ(Real("12", true, 3, 99), (Scan{0, 3}));
  EXPECT_EQ(Real("", true, 3, 1), (Scan{0, 1}));
}

// Numbers as the automaton collects them: an optional "-", digits around an
// optional point, an optional exponent.
std::string RandomNumber(std::mt19937_64& Rng) {
  auto Below = [&](std::uint64_t N) { return static_cast<int>(Rng() % N); };
  std::string Text = Below(2) ? "-" : "";
  const int IntDigits = Below(4) == 0 ? 0 : 1 + Below(20);
  const int FracDigits = Below(3) == 0 ? 0 : 1 + Below(25);
  for (int I = 0; I < IntDigits; ++I) Text += static_cast<char>('0' + Below(10));
  if (FracDigits > 0 || IntDigits == 0) Text += '.';
  for (int I = 0; I < FracDigits || Text.back() == '.'; ++I) Text += static_cast<char>('0' + Below(10));
  if (Below(4) != 0) {
    const int Range[] = {30, 330, 4200};
    Text += "E" + std::string(Below(2) ? "-" : Below(2) ? "+" : "") + std::to_string(Below(Range[Below(3)]));
  }
  return Text;
}

// The exact decimal value of the midpoint between a random double and its
// successor, nudged just above or below by a last digit.
std::string NearMidpoint(std::mt19937_64& Rng) {
  double X = 0;
  do X = std::bit_cast<double>(Rng() & 0x7FEF'FFFF'FFFF'FFFFull); while (!std::isnormal(X));
  const long double Mid = (static_cast<long double>(X) + std::nextafter(X, 2 * X)) / 2;
  std::string Text(1200, '\0');
  const auto End = std::to_chars(Text.data(), Text.data() + Text.size(), Mid,
                                 std::chars_format::scientific, 800).ptr;
  Text.resize(static_cast<std::size_t>(End - Text.data()));
  const auto Mark = Text.find('e');
  return Text.substr(0, Mark) + (Rng() % 2 ? "1" : "") + Text.substr(Mark);
}

double Reference(const std::string& Number) {
  return std::clamp(std::strtod(Number.c_str(), nullptr), -uc_MaxDouble, uc_MaxDouble);
}

TEST(ScanReal, RoundsExactlyAsStrtod) {
  std::mt19937_64 Rng(20240611);
  int Mismatches = 0;
  for (int I = 0; I < 300000; ++I) {
    const std::string Number = I % 100 == 0 ? NearMidpoint(Rng) : RandomNumber(Rng);
    const Scan S = Real(Number);
    const bool Same = std::bit_cast<std::uint64_t>(S.Value) == std::bit_cast<std::uint64_t>(Reference(Number));
    if ((!Same || S.Pos != static_cast<int>(Number.size()) + 1) && ++Mismatches < 10)
      ADD_FAILURE() << Number << " gives " << S.Value << " @" << S.Pos;
  }
  EXPECT_EQ(Mismatches, 0);
}

TEST(CheckFloatText, UnfinishedNumbersPass) {
  for (const char* Valid : {"-", "+", ".", "12.", "+1.50", "-.5", "007"})
    EXPECT_TRUE(CheckFloatText(Valid, 1)) << Valid;
  for (const char* Invalid : {"", "1,5", "1.5.2", " 1", "1 ", "--1", "1-", "1e5", "1.-"})
    EXPECT_FALSE(CheckFloatText(Invalid, 1)) << Invalid;
  EXPECT_TRUE(CheckFloatText("1,5", 2));
  EXPECT_FALSE(CheckFloatText("1.5", 2));
  EXPECT_TRUE(CheckFloatText("1,5", 3));
  const LocaleSeparator Comma(',');
  EXPECT_TRUE(CheckFloatText("1,5", 0));
}

TEST(CheckIntAndPatternTexts, DigitsOfTheirBase) {
  EXPECT_FALSE(CheckIntText("-"));
  EXPECT_FALSE(CheckIntText(""));
  EXPECT_TRUE(CheckIntText("7"));
  EXPECT_TRUE(CheckIntText("+12"));
  EXPECT_FALSE(CheckIntText("1-2"));
  EXPECT_FALSE(CheckIntText(" 1"));
  EXPECT_TRUE(CheckHexText("09afAF"));
  EXPECT_FALSE(CheckHexText("0g"));
  EXPECT_FALSE(CheckHexText(""));
  EXPECT_TRUE(CheckOctText("01234567"));
  EXPECT_FALSE(CheckOctText("8"));
  EXPECT_TRUE(CheckBinText("0110"));
  EXPECT_FALSE(CheckBinText("012"));
}

TEST(IntegerScanners, ValuesPositionsAndWrapAround) {
  EXPECT_EQ(Int(ScanHex, "FFFFFFFF"), (Scan{-1, 9}));
  EXPECT_EQ(Int(ScanHex, "1G"), (Scan{1, 2}));
  EXPECT_EQ(Int(ScanHex, "$ff"), (Scan{255, 4}));
  EXPECT_EQ(Int(ScanHex, " $ff"), (Scan{0, 2}));  // "$" counts at position 1 only
  EXPECT_EQ(Int(ScanHex, "1FFFFFFFF"), (Scan{-1, 10}));
  EXPECT_EQ(Int(ScanDecInt, "  -42"), (Scan{-42, 6}));
  EXPECT_EQ(Int(ScanDecInt, "+7x"), (Scan{7, 3}));
  EXPECT_EQ(Int(ScanDecInt, "4294967297"), (Scan{1, 11}));
  EXPECT_EQ(Int(ScanDecInt, "-2147483648"), (Scan{-2147483648.0, 12}));
  EXPECT_EQ(Int(ScanDecInt, ""), (Scan{0, 1}));
  EXPECT_EQ(Int(ScanDecInt, "   "), (Scan{0, 3}));  // the last blank is not skipped
  EXPECT_EQ(Int(ScanOct, "778"), (Scan{63, 3}));
  EXPECT_EQ(Int(ScanBin, "1012"), (Scan{5, 4}));
  EXPECT_EQ(Int(ScanBin, "11", -5), (Scan{3, 3}));
  EXPECT_EQ(Int(ScanOct, "11", 40), (Scan{0, 3}));
}

TEST(PatternTexts, DigitCountsAreClamped) {
  EXPECT_EQ(IntToHexText(255, 4), "00FF");
  EXPECT_EQ(IntToHexText(-1, 8), "FFFFFFFF");
  EXPECT_EQ(IntToHexText(0x1234ABCD, 12), "1234ABCD");
  EXPECT_EQ(IntToHexText(0x1234ABCD, 2), "CD");
  EXPECT_EQ(IntToOctText(8, 11), "00000000010");
  EXPECT_EQ(IntToOctText(-1, 11), "37777777777");
  EXPECT_EQ(IntToBinText(5, 0), "1");
  EXPECT_EQ(IntToBinText(-2147483647 - 1, 40), "1" + std::string(31, '0'));
}

TEST(FormatReal, FixedPoint) {
  EXPECT_EQ(FormatReal(1, 2, 3.14159), "3.14");
  EXPECT_EQ(FormatReal(1, 0, 2.5), "2");
  EXPECT_EQ(FormatReal(1, 0, 3.5), "4");
  EXPECT_EQ(FormatReal(1, 2, 0.125), "0.12");
  EXPECT_EQ(FormatReal(8, 3, -1.5), "  -1.500");
  EXPECT_EQ(FormatReal(1, 2, -0.001), "0.00");
  EXPECT_EQ(FormatReal(1, 0, 1e20), "100000000000000000000");
  EXPECT_EQ(FormatReal(5, 1, std::nan("")), "  NaN");
  EXPECT_EQ(FormatReal(1, 1, -INFINITY), "-Inf");
}

TEST(FormatReal, Scientific) {
  EXPECT_EQ(FormatReal(12, -2, 1234.5678), " 1.23457E+03");
  EXPECT_EQ(FormatReal(12, -2, -0.000123), "-1.23000E-04");
  EXPECT_EQ(FormatReal(12, -2, 0), " 0.00000E+00");
  EXPECT_EQ(FormatReal(12, -2, 1e150), "************");
  EXPECT_EQ(FormatReal(12, -2, 9.999996e99), "************");  // rounds up to E+100
  EXPECT_EQ(FormatReal(9, -2, INFINITY), "*********");
  EXPECT_EQ(FormatReal(1, -2, 1234.5), " 1.2E+03");  // at least one digit after the point
  EXPECT_EQ(FormatReal(8, -2, -5), "-5.0E+00");
}

TNumFieldFormat Field(TInFormat Format, TDecPSep Sep = dsBoth, int Places = 2, int Digits = 6) {
  return TNumFieldFormat{Format, Sep, Places, Digits};
}

TEST(CheckValidity, EveryFormat) {
  struct Case {
    TInFormat Format;
    const char* Text;
    bool Valid;
  };
  for (const Case& C : std::vector<Case>{
           {itExp, " 1.5E+03", true},  {itExp, "1e", true},       {itExp, "e1", false},
           {itFloat, "-1,5", true},    {itFloat, "1.5e3", false}, {itFixPoint, "12.34", true},
           {itFixPoint, "12.3", false}, {itFixPoint, "1234", false}, {itFixPoint, "-.34", true},
           {itInt, "-12", true},       {itInt, "1.0", false},     {itHex, "fF", true},
           {itHex, "$FF", false},      {itOct, "8", false},       {itBin, "", false},
           {itDynamic, "$1aF", true},  {itDynamic, "$", false},   {itDynamic, "%102", false},
           {itDynamic, "&17", true},   {itDynamic, "-3.5", true}, {itDynamic, "1e3", false},
           {itDynamic, "", false}})
    EXPECT_EQ(Field(C.Format).CheckValidity(C.Text), C.Valid) << int(C.Format) << " " << C.Text;
  EXPECT_FALSE(Field(itExp, dsPoint).CheckValidity(",5"));
  EXPECT_TRUE(Field(itExp, dsComma).CheckValidity(",5"));
  EXPECT_TRUE(Field(itFixPoint, dsComma).CheckValidity("12,34"));
  EXPECT_FALSE(Field(itFixPoint, dsComma).CheckValidity("12.34"));
}

// Every text a field writes must pass its own validity test and read back.
TEST(NioValueText, WrittenTextsPassTheirFieldAndReadBack) {
  const double Values[] = {0, 1234.5, -0.25, 7, -3e9, 1e150, -2.5e-200, 123456789.0};
  for (TInFormat Format : {itExp, itFloat, itFixPoint, itInt, itDynamic, itHex, itOct, itBin}) {
    for (TDecPSep Sep : {dsLocale, dsPoint, dsComma, dsBoth}) {
      const TNumFieldFormat F = Field(Format, Sep);
      for (double X : Values) {
        const std::string Text = F.NioValueText(X);
        EXPECT_TRUE(F.CheckValidity(Text)) << int(Format) << " " << int(Sep) << " " << Text;
        const double Back = F.GetNioValue(Text);
        if (Format == itExp) {
          EXPECT_NEAR(Back, X, std::fabs(X) * 1e-5) << Text;
        }
        if (Format == itDynamic || (Format == itInt && std::fabs(X) < 2147483648.0)) {
          EXPECT_EQ(Back, std::nearbyint(X)) << Text;
        }
      }
    }
  }
}

TEST(NioValueText, TextsOfEachFormat) {
  EXPECT_EQ(Field(itExp).NioValueText(1234.5), " 1.23450E+03");
  EXPECT_EQ(Field(itExp).NioValueText(1e150), " 1.00000E+150");
  EXPECT_EQ(Field(itExp, dsComma).NioValueText(1234.5), " 1,23450E+03");
  EXPECT_EQ(Field(itFloat, dsBoth, 3).NioValueText(2.5), "2.500");
  EXPECT_EQ(Field(itFixPoint, dsComma).NioValueText(-2.5), "-2,50");
  EXPECT_EQ(Field(itHex).NioValueText(255.4), "000000FF");
  EXPECT_EQ(Field(itHex).NioValueText(-1), "FFFFFFFF");
  EXPECT_EQ(Field(itHex).NioValueText(4294967296.0 + 16), "00000010");
  EXPECT_EQ(Field(itOct).NioValueText(8), "00000000010");
  EXPECT_EQ(Field(itBin).NioValueText(5), std::string(29, '0') + "101");
  EXPECT_EQ(Field(itInt).NioValueText(2.5), "2");
  EXPECT_EQ(Field(itInt).NioValueText(3.5), "4");
  EXPECT_EQ(Field(itInt).NioValueText(-0.4), "0");
  EXPECT_EQ(Field(itDynamic).NioValueText(1e19), "10000000000000000000");
  EXPECT_EQ(Field(itFloat).NioValueText(INFINITY), FormatReal(1, 2, uc_MaxDouble));
  EXPECT_EQ(Field(itFloat).NioValueText(std::nan("")), "0.00");
}

TEST(GetNioValue, EachFormat) {
  EXPECT_EQ(Field(itFloat).GetNioValue("1,5x"), 1.5);
  EXPECT_EQ(Field(itFixPoint).GetNioValue("1.5e2"), 150);
  EXPECT_EQ(Field(itInt).GetNioValue("99999999999"), 2147483647);
  EXPECT_EQ(Field(itInt).GetNioValue("-99999999999"), -2147483648.0);  // keeps its sign
  EXPECT_EQ(Field(itInt).GetNioValue("-2147483648"), -2147483648.0);
  EXPECT_EQ(Field(itInt).GetNioValue("-"), 0);
  EXPECT_EQ(Field(itHex).GetNioValue("FFFFFFFF"), -1);
  EXPECT_EQ(Field(itHex).GetNioValue("1G"), 0);
  EXPECT_EQ(Field(itOct).GetNioValue("17"), 15);
  EXPECT_EQ(Field(itBin).GetNioValue("101"), 5);
  EXPECT_EQ(Field(itDynamic).GetNioValue("$1G"), 1);  // digits up to the first invalid one
  EXPECT_EQ(Field(itDynamic).GetNioValue("%101"), 5);
  EXPECT_EQ(Field(itDynamic).GetNioValue("&17"), 15);
  EXPECT_EQ(Field(itDynamic).GetNioValue("-2,5"), -2.5);
  EXPECT_EQ(Field(itDynamic).GetNioValue(""), 0);
}

TEST(GetNioIntValue, RoundsOrRaisesOnOverflow) {
  const TNumFieldFormat F = Field(itFloat, dsBoth, 1);
  EXPECT_EQ(F.GetNioIntValue("2147483646.6", "N"), 2147483647);
  EXPECT_EQ(F.GetNioIntValue("-2147483648", "N"), -2147483647 - 1);
  EXPECT_EQ(F.GetNioIntValue("2.5", "N"), 2);
  EXPECT_EQ(F.GetNioIntValue("-3.5", "N"), -4);
  try {
    F.GetNioIntValue("2147483647.5", "Gain");
    FAIL() << "no exception";
  } catch (const EVORNNumIO2Error& E) {
    EXPECT_STREQ(E.what(), "Component \"Gain\": integer overflow");
  }
  EXPECT_THROW(F.GetNioIntValue("-2147483648.5", "N"), EVORNNumIO2Error);
}

TEST(GetNioIntValue, IntegerTextsBeyondTheRangeRaiseInBothDirections) {
  const TNumFieldFormat F = Field(itInt);
  EXPECT_EQ(F.GetNioIntValue("2147483647", "N"), 2147483647);
  EXPECT_EQ(F.GetNioIntValue("-2147483648", "N"), -2147483647 - 1);
  EXPECT_EQ(F.GetNioIntValue("-0000000000002147483648", "N"), -2147483647 - 1);
  for (const char* Text : {"2147483648", "+99999999999", "-2147483649", "-99999999999"})
    EXPECT_THROW(F.GetNioIntValue(Text, "N"), EVORNNumIO2Error) << Text;
}

// The online check of a field: whole numbers or beginnings of one.
TEST(CheckOnline, AcceptsWholeNumbersAndTheirBeginnings) {
  struct Case {
    TInFormat Format;
    const char* Text;
    bool Accepted;
  };
  for (const Case& C : std::vector<Case>{
           {itExp, "", true},         {itExp, "-", true},        {itExp, "+", true},
           {itExp, " 1.5E+03", true}, {itExp, "1E", true},       {itExp, "1E-", true},
           {itExp, ".", true},        {itExp, "-.5e3", true},    {itExp, "1A2-3", false},
           {itExp, "1.5x", false},    {itExp, "1.5 ", false},    {itExp, "12-", false},
           {itExp, "1E4201", false},  {itExp, "E", false},       {itExp, "1E5E", false},
           {itDynamic, "$", true},    {itDynamic, "%", true},    {itDynamic, "&", true},
           {itDynamic, "$fF", true},  {itDynamic, "$G", false},  {itDynamic, "$$", false},
           {itDynamic, "%2", false},  {itDynamic, "-", true},    {itDynamic, "1e3", false},
           {itFixPoint, "", true},    {itFixPoint, "-", true},   {itFixPoint, "5", false},
           {itFixPoint, "5.00", true}, {itInt, "+", true},       {itInt, "1-", false},
           {itHex, "$", false},       {itFloat, "1.5x", false}})
    EXPECT_EQ(Field(C.Format).CheckOnline(C.Text), C.Accepted) << int(C.Format) << " \"" << C.Text << "\"";
  // The field's own validity test still stops at the end of the number.
  EXPECT_TRUE(Field(itExp).CheckValidity("1A2-3"));
}

TEST(ConvertNumString, DecimalFormats) {
  struct Case {
    TInFormat Format;
    const char* Text;
    bool Ok;
    double Value;
  };
  for (const Case& C : std::vector<Case>{
           {itExp, "   ", true, 0},       {itExp, "1 2", false, 0},     {itExp, "1.5e", true, 1.5},
           {itExp, "1.5E-", true, 1.5},   {itExp, "abc", false, 0},     {itExp, "  2E3", true, 2000},
           {itExp, "1e5e", false, 1e5},   {itExp, "-", true, 0},        {itFloat, "1e5", false, 1},
           {itFloat, "12.", true, 12},    {itFixPoint, "-.5", true, -0.5}, {itInt, "-42", true, -42},
           {itInt, "4.2", false, 4},      {itDynamic, "2.5E1", true, 25}, {itDynamic, "$fF", true, 255},
           {itDynamic, "%102", false, 2}, {itDynamic, "&", true, 0},    {itHex, "fffffffe", true, -2},
           {itOct, "19", false, 1},       {itBin, "101", true, 5}}) {
    double Value = 99;
    EXPECT_EQ(Field(C.Format, dsPoint).ConvertNumString(C.Text, Value), C.Ok) << C.Text;
    EXPECT_EQ(Value, C.Value) << C.Text;
  }
  double Untouched = 99;
  EXPECT_FALSE(Field(itExp).ConvertNumString("", Untouched));
  EXPECT_EQ(Untouched, 99);
}

TEST(ConvertNumString, SeparatorSetting) {
  double Value = 0;
  EXPECT_FALSE(Field(itFloat, dsLocale).ConvertNumString("1,5", Value));
  EXPECT_TRUE(Field(itFloat, dsBoth).ConvertNumString("1,5", Value));
  EXPECT_EQ(Value, 1.5);
  EXPECT_FALSE(Field(itFloat, dsComma).ConvertNumString("1.5", Value));
  const LocaleSeparator Comma(',');
  EXPECT_TRUE(Field(itFloat, dsLocale).ConvertNumString("1,5", Value));
  EXPECT_FALSE(Field(itFloat, dsLocale).ConvertNumString("1.5", Value));
}

}  // namespace
}  // namespace vorn
