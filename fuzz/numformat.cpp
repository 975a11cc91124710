// Fuzz target for the numeric text formats. The first byte chooses the
// options (exponents allowed, separator mode, input format, field width),
// the rest is the text. No text may crash a scanner or a test; positions
// stay in 1..Length + 1 and never move back; values stay finite and within
// uc_MaxDouble; the validity tests agree with the scanners; the online
// check of a field accepts nothing but valid texts and the unfinished ones;
// a field's own text of any value passes the field's validity test and its
// online check.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "vorn/numio/numformat.h"

namespace {

using namespace vorn;

void Require(bool Condition) {
  if (!Condition) std::abort();
}

int Length(std::string_view Text) { return static_cast<int>(Text.size()); }

void RequirePos(std::string_view Text, int Start, int Pos) {
  Require(Pos >= 1 && Pos <= Length(Text) + 1);
  Require(Pos >= std::min(std::max(Start, 1), Length(Text) + 1));
}

void RequireValue(double Value) { Require(std::isfinite(Value) && std::fabs(Value) <= uc_MaxDouble); }

// Every scanner from several start positions.
void ScanEverywhere(std::string_view Text, bool AllowExp, int SepMode) {
  for (const int Start : {-3, 0, 1, 2, Length(Text) / 2, Length(Text), Length(Text) + 1, Length(Text) + 7}) {
    int Pos = Start;
    RequireValue(ScanReal(Text, AllowExp, SepMode, Pos));
    RequirePos(Text, Start, Pos);
    Pos = Start;
    const long double Extended = ScanRealExtended(Text, AllowExp, SepMode, Pos);
    Require(std::isfinite(Extended) && std::fabs(Extended) <= uc_MaxDouble);
    RequirePos(Text, Start, Pos);
    for (auto Scanner : {ScanDecInt, ScanHex, ScanOct, ScanBin}) {
      Pos = Start;
      Scanner(Text, Pos);
      RequirePos(Text, Start, Pos);
    }
  }
}

// True when the scanner takes all of Text from position 1.
template <typename F>
bool TakesAll(F Scanner, std::string_view Text) {
  int Pos = 1;
  Scanner(Text, Pos);
  return Pos == Length(Text) + 1;
}

// Where the C library reads the same characters as a whole number (point
// separator), both give the same double.
void RequireStrtodAgrees(std::string_view Taken, double Value, int SepMode) {
  if (SepMode != 1) return;
  const std::string Copy(Taken);
  char* End = nullptr;
  const double Reference = std::strtod(Copy.c_str(), &End);
  if (End != Copy.c_str() + Copy.size()) return;
  const double Clamped = std::clamp(Reference, -uc_MaxDouble, uc_MaxDouble);
  Require(std::memcmp(&Clamped, &Value, sizeof Value) == 0);
}

// An accepted decimal text is scanned to a number: the scan stops after at
// least one character, and the part it took is itself accepted, taken
// whole and gives the same value.
void CheckRealAgreement(std::string_view Text, bool AllowExp, int SepMode) {
  if (!CheckRealText(Text, AllowExp, SepMode)) return;
  int Pos = 1;
  const double Value = ScanReal(Text, AllowExp, SepMode, Pos);
  Require(Pos >= 2);
  const std::string_view Taken = Text.substr(0, static_cast<std::size_t>(Pos - 1));
  Require(CheckRealText(Taken, AllowExp, SepMode));
  int TakenPos = 1;
  const double TakenValue = ScanReal(Taken, AllowExp, SepMode, TakenPos);
  Require(TakenPos == Pos && std::memcmp(&TakenValue, &Value, sizeof Value) == 0);
  RequireStrtodAgrees(Taken, Value, SepMode);
}

void CheckTestsAgainstScanners(std::string_view Text, int SepMode) {
  const bool LoneSign = Text == "-" || Text == "+";
  if (CheckFloatText(Text, SepMode) && !LoneSign) {
    Require(CheckRealText(Text, false, SepMode));
    Require(TakesAll([SepMode](std::string_view T, int& P) { return ScanReal(T, false, SepMode, P); }, Text));
  }
  if (CheckIntText(Text)) Require(TakesAll(ScanDecInt, Text));
  if (CheckHexText(Text)) Require(TakesAll(ScanHex, Text));
  if (CheckOctText(Text)) Require(TakesAll(ScanOct, Text));
  if (CheckBinText(Text)) Require(TakesAll(ScanBin, Text));
}

bool IsUnfinished(const TNumFieldFormat& Format, std::string_view Text) {
  if (Text.empty() || Text == "-" || Text == "+") return true;
  return Format.InputFormat == itDynamic && (Text == "$" || Text == "%" || Text == "&");
}

// The online check: valid or unfinished texts only; an exponent number
// there is taken whole by the scanner.
void CheckOnlineAgreement(const TNumFieldFormat& Format, std::string_view Text, bool AllowExp, int SepMode) {
  if (Format.CheckOnline(Text) && !IsUnfinished(Format, Text)) Require(Format.CheckValidity(Text));
  if (CheckWholeRealText(Text, AllowExp, SepMode)) {
    Require(CheckRealText(Text, AllowExp, SepMode));
    Require(TakesAll([=](std::string_view T, int& P) { return ScanReal(T, AllowExp, SepMode, P); }, Text));
  }
}

// DecIntInRange against the C library's reading of the same integer text.
void CheckIntRange(std::string_view Text) {
  if (!CheckIntText(Text)) return;
  const std::string Copy(Text);
  errno = 0;
  const long long Reference = std::strtoll(Copy.c_str(), nullptr, 10);
  const bool InRange = errno == 0 && Reference >= INT_MIN && Reference <= INT_MAX;
  Require(DecIntInRange(Text) == InRange);
  int Pos = 1;
  if (InRange) Require(ScanDecInt(Text, Pos) == Reference);
}

void UseFieldOperations(const TNumFieldFormat& Format, std::string_view Text) {
  Format.CheckValidity(Text);
  RequireValue(Format.GetNioValue(Text));
  try {
    Format.GetNioIntValue(Text, "fuzz");
  } catch (const EVORNNumIO2Error&) {
  }
  double Value = 0;
  Format.ConvertNumString(Text, Value);
  RequireValue(Value);
}

// The value hidden in the first eight bytes of the text, any bit pattern.
void CheckFormatters(std::string_view Text, TNumFieldFormat Format, int Width) {
  if (Text.size() < 8) return;
  double X = 0;
  std::memcpy(&X, Text.data(), sizeof X);
  const std::string Scientific = FormatReal(Width, -2, X);
  Require(static_cast<int>(Scientific.size()) == std::max(Width, 8));
  Require(Scientific.find('*') == std::string::npos ||
          Scientific.find_first_not_of('*') == std::string::npos);
  Require(static_cast<int>(FormatReal(Width, Width % 20, X).size()) >= Width);
  Format.FixPointDecPlaces = 1 + Width % 15;
  Format.SignificantDigits = 1 + Width % 15;
  const std::string Own = Format.NioValueText(X);
  Require(Format.CheckValidity(Own));
  Require(Format.CheckOnline(Own));
  RequireValue(Format.GetNioValue(Own));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t Options = data[0];
  const std::string_view Text(reinterpret_cast<const char*>(data + 1), size - 1);
  const bool AllowExp = (Options & 1) != 0;
  const int SepMode = (Options >> 1) & 3;
  const TNumFieldFormat Format{static_cast<TInFormat>((Options >> 3) & 7), static_cast<TDecPSep>(SepMode), 2, 6};
  const int Width = 1 + (Options >> 6) * 7;
  ScanEverywhere(Text, AllowExp, SepMode);
  CheckRealAgreement(Text, AllowExp, SepMode);
  CheckTestsAgainstScanners(Text, SepMode);
  UseFieldOperations(Format, Text);
  CheckOnlineAgreement(Format, Text, AllowExp, SepMode);
  CheckIntRange(Text);
  CheckFormatters(Text, Format, Width);
  return 0;
}
