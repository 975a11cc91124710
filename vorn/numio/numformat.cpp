#include "vorn/numio/numformat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstddef>
#include <limits>
#include <system_error>
#include <type_traits>

#include "vorn/platform/runtime/formatsettings.h"

namespace vorn {

namespace {

// ---- characters ---------------------------------------------------------------------

constexpr bool IsDigit(char C) { return C >= '0' && C <= '9'; }
constexpr char UpCase(char C) { return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C; }

int TextLength(std::string_view Text) {
  return static_cast<int>(std::min<std::size_t>(Text.size(), INT_MAX - 1));
}

// Pos limited to 1..Length + 1.
int ClampPos(std::string_view Text, int Pos) { return std::clamp(Pos, 1, TextLength(Text) + 1); }

// The decimal separators a mode accepts.
struct TSeparators {
  bool Point;
  bool Comma;
  constexpr bool Accepts(char C) const { return (C == '.' && Point) || (C == ',' && Comma); }
};

constexpr TSeparators kPointOnly{true, false}, kCommaOnly{false, true}, kEither{true, true};

TSeparators SeparatorsOf(int SepMode) {
  switch (ResolveSepMode(SepMode)) {
    case 1: return kPointOnly;
    case 2: return kCommaOnly;
    default: return kEither;
  }
}

// Round to the nearest integer, ties to the even one, whatever the
// processor's rounding mode.
double RoundHalfEven(double X) {
  const double Floor = std::floor(X);
  const double Fraction = X - Floor;  // exact for every finite double
  if (Fraction < 0.5) return Floor;
  if (Fraction > 0.5) return Floor + 1;
  return std::fmod(Floor, 2.0) == 0 ? Floor : Floor + 1;
}

// ---- the decimal number automaton -------------------------------------------------------

enum TRealState : std::uint8_t {
  rsNone,       // unused, so that the states keep their numbers 1..8
  rsStart,      // leading blanks
  rsSign,       // after the sign
  rsIntDigits,  // integer digits
  rsPoint,      // just after the decimal separator
  rsFraction,   // fraction digits
  rsExpMark,    // just after "E"
  rsExpSign,    // after the exponent sign
  rsExpDigits,  // exponent digits
  rsAccept,
  rsReject
};

enum TRealClass : std::uint8_t { rcSeparator, rcBlank, rcSign, rcDigit, rcExp, rcOther };

// Rows: states 1..8 (row 0 unused); columns: the character classes.
constexpr TRealState kRealNext[9][6] = {
    // separator blank     sign       digit        "E"        other or end
    {rsReject, rsReject, rsReject, rsReject, rsReject, rsReject},
    {rsPoint, rsStart, rsSign, rsIntDigits, rsReject, rsReject},
    {rsPoint, rsReject, rsReject, rsIntDigits, rsReject, rsReject},
    {rsPoint, rsAccept, rsAccept, rsIntDigits, rsExpMark, rsAccept},
    {rsReject, rsAccept, rsAccept, rsFraction, rsExpMark, rsAccept},
    {rsReject, rsAccept, rsAccept, rsFraction, rsExpMark, rsAccept},
    {rsReject, rsReject, rsExpSign, rsExpDigits, rsReject, rsAccept},
    {rsReject, rsReject, rsReject, rsExpDigits, rsReject, rsAccept},
    {rsAccept, rsAccept, rsAccept, rsExpDigits, rsAccept, rsAccept}};

// The class of a character after upper-casing. Without exponents "E" is an
// ordinary character: it then ends a number in states 3..5 and rejects in
// states 1 and 2, as the table has it for "other", and states 6..8 are
// never reached. The end of the text reads as "\0", an "other".
constexpr TRealClass ClassifyReal(char C, bool AllowExp, TSeparators Seps) {
  if (Seps.Accepts(C)) return rcSeparator;
  if (C == ' ') return rcBlank;
  if (C == '+' || C == '-') return rcSign;
  if (IsDigit(C)) return rcDigit;
  if (UpCase(C) == 'E' && AllowExp) return rcExp;
  return rcOther;
}

using TClassTable = std::array<TRealClass, 256>;

constexpr TClassTable MakeClassTable(TSeparators Seps, bool AllowExp) {
  TClassTable Table{};
  for (std::size_t I = 0; I < Table.size(); ++I)
    Table[I] = ClassifyReal(static_cast<char>(I), AllowExp, Seps);
  return Table;
}

constexpr TClassTable kClassTables[3][2] = {
    {MakeClassTable(kPointOnly, false), MakeClassTable(kPointOnly, true)},
    {MakeClassTable(kCommaOnly, false), MakeClassTable(kCommaOnly, true)},
    {MakeClassTable(kEither, false), MakeClassTable(kEither, true)}};

const TClassTable& ClassTable(int SepMode, bool AllowExp) {
  const int Mode = ResolveSepMode(SepMode);
  const int Row = Mode == 1 ? 0 : Mode == 2 ? 1 : 2;
  return kClassTables[Row][AllowExp ? 1 : 0];
}

// Runs the automaton on Text from Pos and hands every character that leads
// into one of the states 1..8 to the sink. The exponent digits form a
// number of their own; once it exceeds MaxDecimalExponent the sink decides
// (OverCap): false rejects the text, true goes on without passing further
// exponent digits. Pos ends after the character that ended the run.
// Returns whether the run was accepted.
template <typename TSink>
bool RunRealAutomaton(std::string_view Text, bool AllowExp, int SepMode, int& Pos, TSink& Sink) {
  const TClassTable& Classes = ClassTable(SepMode, AllowExp);
  const int Length = TextLength(Text);
  TRealState State = rsStart;
  int Exponent = 0;  // saturates just above the limit
  for (;;) {
    const char C = Pos <= Length ? Text[static_cast<std::size_t>(Pos - 1)] : '\0';
    const TRealState Next = kRealNext[State][Classes[static_cast<unsigned char>(C)]];
    ++Pos;
    if (Next == rsAccept || Next == rsReject) return Next == rsAccept;
    State = Next;
    if (Next == rsExpDigits) {
      Exponent = std::min(Exponent * 10 + (C - '0'), MaxDecimalExponent + 1);
      if (Exponent > MaxDecimalExponent) {
        if (!Sink.OverCap()) return false;
        continue;
      }
    }
    Sink.Take(C, Next);
  }
}

// The sink of the validity test: takes nothing, rejects long exponents.
struct TCheckSink {
  static bool OverCap() { return false; }
  static void Take(char, TRealState) {}
};

// The first sink of the scanner: the digits that fit a 64-bit integer and
// the power of ten that scales them. When both are exact as doubles, which
// holds for the numbers people type, one multiplication or division gives
// the correctly rounded value.
class TExactSink {
 public:
  static bool OverCap() { return true; }
  void Take(char C, TRealState State) {
    switch (State) {
      case rsSign: FNegative = C == '-'; break;
      case rsIntDigits: AddDigit(C, false); break;
      case rsFraction: AddDigit(C, true); break;
      case rsExpSign: FNegativeExp = C == '-'; break;
      case rsExpDigits: FExponent = FExponent * 10 + (C - '0'); break;
      default: break;
    }
  }

  bool Value(double& Exact) const {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (FMantissa == 0) {
      Exact = FNegative ? -0.0 : 0.0;
      return true;
    }
    if (FInexact || FMantissa > (std::uint64_t{1} << 53)) return false;
    const long Power = FShift + (FNegativeExp ? -FExponent : FExponent);
    if (Power < -22 || Power > 22) return false;
    const auto Mantissa = static_cast<double>(FMantissa);
    Exact = Power >= 0 ? Mantissa * kPowers[Power] : Mantissa / kPowers[-Power];
    if (FNegative) Exact = -Exact;
    return true;
  }

 private:
  static constexpr int kMaxDigits = 19;

  // Leading zeros only move the point; digits beyond kMaxDigits make the
  // integer inexact.
  void AddDigit(char C, bool Fraction) {
    const auto Digit = static_cast<std::uint64_t>(C - '0');
    if (FMantissa == 0 && Digit == 0) {
      FShift -= Fraction ? 1 : 0;
    } else if (FDigits < kMaxDigits) {
      FMantissa = FMantissa * 10 + Digit;
      ++FDigits;
      FShift -= Fraction ? 1 : 0;
    } else {
      FInexact = true;
    }
  }

  std::uint64_t FMantissa = 0;
  long FShift = 0;     // power of ten of the last digit in FMantissa
  long FExponent = 0;  // as collected, at most MaxDecimalExponent
  int FDigits = 0;
  bool FNegative = false;
  bool FNegativeExp = false;
  bool FInexact = false;
};

// The power of ten just above the magnitude of a collected number (its
// count of integer digits, or minus its count of leading fraction zeros,
// plus the exponent). Only used for results beyond the range of the type,
// where it tells an overflow from an underflow.
long DecimalOrder(std::string_view Number) {
  std::size_t I = Number.empty() || Number[0] != '-' ? 0 : 1;
  long Order = 0;
  bool Significant = false;
  for (; I < Number.size() && IsDigit(Number[I]); ++I) {
    Significant = Significant || Number[I] != '0';
    if (Significant) ++Order;
  }
  if (I < Number.size() && Number[I] == '.') ++I;
  for (; I < Number.size() && IsDigit(Number[I]) && !Significant; ++I) {
    Significant = Number[I] != '0';
    if (!Significant) --Order;
  }
  while (I < Number.size() && Number[I] != 'E') ++I;
  long Exponent = 0;
  const bool NegativeExp = I + 1 < Number.size() && Number[I + 1] == '-';
  for (; I < Number.size(); ++I) {
    if (IsDigit(Number[I])) Exponent = std::min(Exponent * 10 + (Number[I] - '0'), 1L << 30);
  }
  return Order + (NegativeExp ? -Exponent : Exponent);
}

// The second sink of the scanner: the number as text, without blanks and
// without a "+" before the mantissa, "." as its separator, for a correctly
// rounded conversion of any length.
class TTextSink {
 public:
  static bool OverCap() { return true; }
  void Take(char C, TRealState State) {
    switch (State) {
      case rsStart: break;
      case rsSign:
        if (C == '-') FText.push_back('-');
        break;
      case rsPoint: FText.push_back('.'); break;
      case rsExpMark: FText.push_back('E'); break;
      default: FText.push_back(C); break;
    }
  }

  // The value of the collected number, limited to plus or minus
  // uc_MaxDouble.
  template <typename TFloat>
  TFloat Value() {
    if (FText.ends_with('+') || FText.ends_with('-')) FText.pop_back();  // an exponent without
    if (FText.ends_with('E')) FText.pop_back();                          // digits is no part of it
    if (FText.ends_with('.')) FText.push_back('0');
    TFloat Number = 0;
    const auto Result = std::from_chars(FText.data(), FText.data() + FText.size(), Number);
    if (Result.ec == std::errc::result_out_of_range) {
      Number = DecimalOrder(FText) > 0 ? std::numeric_limits<TFloat>::infinity() : TFloat(0);
      if (FText.starts_with('-')) Number = -Number;
    }
    const auto Limit = static_cast<TFloat>(uc_MaxDouble);
    return std::clamp(Number, -Limit, Limit);
  }

 private:
  std::string FText;
};

// The automaton's scan: the converted number on accept, 0 on reject; Pos
// stands on the character that ended the scan. Doubles try the exact
// conversion first and collect the text only when it does not apply.
template <typename TFloat>
TFloat ScanDecimal(std::string_view Text, bool AllowExp, int SepMode, int& Pos) {
  const int Start = ClampPos(Text, Pos);
  if constexpr (std::is_same_v<TFloat, double>) {
    TExactSink Exact;
    Pos = Start;
    const bool Accepted = RunRealAutomaton(Text, AllowExp, SepMode, Pos, Exact);
    --Pos;
    double Value = 0;
    if (!Accepted) return 0;
    if (Exact.Value(Value)) return Value;
  }
  TTextSink Number;
  Pos = Start;
  const bool Accepted = RunRealAutomaton(Text, AllowExp, SepMode, Pos, Number);
  --Pos;
  return Accepted ? Number.Value<TFloat>() : TFloat(0);
}

// ---- integer scanners --------------------------------------------------------------------

// The value of C as a digit of Base (after upper-casing), or -1.
int DigitValue(char C, int Base) {
  const char U = UpCase(C);
  int Digit = -1;
  if (IsDigit(U)) Digit = U - '0';
  if (U >= 'A' && U <= 'F') Digit = U - 'A' + 10;
  return Digit < Base ? Digit : -1;
}

// Skips blanks while the position is before the last character.
void SkipBlanks(std::string_view Text, int& Pos) {
  while (Pos < TextLength(Text) && Text[static_cast<std::size_t>(Pos - 1)] == ' ') ++Pos;
}

// Takes digits of Base from Pos into a 32-bit value that wraps around.
std::uint32_t TakeDigits(std::string_view Text, int Base, int& Pos) {
  std::uint32_t Value = 0;
  const int Length = TextLength(Text);
  for (; Pos <= Length; ++Pos) {
    const int Digit = DigitValue(Text[static_cast<std::size_t>(Pos - 1)], Base);
    if (Digit < 0) break;
    Value = Value * static_cast<std::uint32_t>(Base) + static_cast<std::uint32_t>(Digit);
  }
  return Value;
}

int ScanBase(std::string_view Text, int Base, int& Pos) {
  Pos = ClampPos(Text, Pos);
  SkipBlanks(Text, Pos);
  if (Base == 16 && Pos == 1 && !Text.empty() && Text[0] == '$') ++Pos;
  return static_cast<int>(TakeDigits(Text, Base, Pos));
}

// ---- text tests -------------------------------------------------------------------------

template <typename TPredicate>
bool AllOf(std::string_view Text, TPredicate Accepts) {
  return !Text.empty() && std::all_of(Text.begin(), Text.end(), Accepts);
}

// The 1-based position of the first C in Text, 0 when there is none.
int FirstPos(std::string_view Text, char C) {
  const auto At = Text.find(C);
  return At == std::string_view::npos ? 0 : static_cast<int>(At) + 1;
}

// ---- formatting -------------------------------------------------------------------------

// std::to_chars of a finite Value with Precision digits; short texts are
// written on the stack first.
std::string ToChars(double Value, std::chars_format Format, int Precision) {
  std::array<char, 128> Small{};
  const auto Short = std::to_chars(Small.data(), Small.data() + Small.size(), Value, Format, Precision);
  if (Short.ec == std::errc()) return std::string(Small.data(), Short.ptr);
  std::string Long(static_cast<std::size_t>(Precision) + 400, '\0');  // 309 integer digits at most
  const auto End = std::to_chars(Long.data(), Long.data() + Long.size(), Value, Format, Precision).ptr;
  Long.resize(static_cast<std::size_t>(End - Long.data()));
  return Long;
}

std::string PadLeft(std::string Text, int Width) {
  if (static_cast<int>(Text.size()) < Width)
    Text.insert(0, static_cast<std::size_t>(Width) - Text.size(), ' ');
  return Text;
}

std::string FixedText(int Width, int Decimals, double Value) {
  if (std::isnan(Value)) return PadLeft("NaN", Width);
  if (std::isinf(Value)) return PadLeft(Value < 0 ? "-Inf" : "Inf", Width);
  std::string Text = ToChars(std::fabs(Value), std::chars_format::fixed, Decimals);
  const bool Zero = Text.find_first_not_of("0.") == std::string::npos;
  if (Value < 0 && !Zero) Text.insert(0, 1, '-');
  return PadLeft(std::move(Text), Width);
}

// Scientific text of a finite Value with FractionDigits digits after the
// point: a blank or "-", "d.ddd", "E", the exponent's sign and at least two
// exponent digits.
std::string ScientificText(double Value, int FractionDigits) {
  std::string Text = ToChars(std::fabs(Value), std::chars_format::scientific, FractionDigits);
  Text[Text.find('e')] = 'E';  // to_chars writes "e+05", "e-123"
  Text.insert(Text.begin(), Value < 0 ? '-' : ' ');
  return Text;
}

// Digits after the point of a scientific text of Width characters.
int ScientificFraction(int Width) { return std::max(Width, 8) - 7; }

bool HasShortExponent(const std::string& Text) { return Text.size() - Text.find('E') == 4; }

// Digits of the unsigned pattern of Value, Bits at a time, least
// significant first, each new digit put in front.
std::string PatternDigits(int Value, int Digits, int MaxDigits, int Bits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const int Count = std::clamp(Digits, 1, MaxDigits);
  std::string Text(static_cast<std::size_t>(Count), '0');
  auto Pattern = static_cast<std::uint32_t>(Value);
  const std::uint32_t Mask = (1U << Bits) - 1;
  for (int I = Count - 1; I >= 0; --I) {
    Text[static_cast<std::size_t>(I)] = kDigits[Pattern & Mask];
    Pattern >>= Bits;
  }
  return Text;
}

// ---- field helpers ------------------------------------------------------------------------

// The low 32 bits of the integer nearest to X, as a signed pattern.
int LowPattern(double X) {
  if (!std::isfinite(X)) return 0;
  const double Rest = std::fmod(RoundHalfEven(X), 4294967296.0);  // exact
  return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::int64_t>(Rest)));
}

// The decimal integer of Text (optional blanks and sign, then digits up
// to the first other character), its magnitude held just beyond the int
// range so that the sign survives an overflow.
std::int64_t HeldDecInt(std::string_view Text) {
  std::size_t I = Text.find_first_not_of(' ');
  if (I == std::string_view::npos) return 0;
  const bool Negative = Text[I] == '-';
  if (Text[I] == '-' || Text[I] == '+') ++I;
  constexpr std::int64_t kBeyond = std::int64_t{INT_MAX} + 2;
  std::int64_t Magnitude = 0;
  for (; I < Text.size() && IsDigit(Text[I]); ++I) Magnitude = std::min(Magnitude * 10 + (Text[I] - '0'), kBeyond);
  return Negative ? -Magnitude : Magnitude;
}

bool FitsInt(std::int64_t Value) { return Value >= INT_MIN && Value <= INT_MAX; }

// A decimal integer text that passed CheckIntText, limited to the int
// range: texts beyond it give INT_MAX or INT_MIN by their sign.
int SaturatedDecInt(std::string_view Text) {
  return static_cast<int>(std::clamp<std::int64_t>(HeldDecInt(Text), INT_MIN, INT_MAX));
}

// Value := the hexadecimal, octal or binary digits read from Text; true
// when the scanner took all of Text.
bool ScanWholePattern(std::string_view Text, TInFormat Format, double& Value) {
  int Pos = 1;
  const int Base = Format == itHex ? 16 : Format == itOct ? 8 : 2;
  Value = ScanBase(Text, Base, Pos);
  return Pos == TextLength(Text) + 1;
}

// The format an itDynamic text selects by its first character.
TInFormat DynamicFormat(std::string_view Text) {
  if (Text.empty()) return itExp;
  switch (Text[0]) {
    case '$': return itHex;
    case '%': return itBin;
    case '&': return itOct;
    default: return itExp;
  }
}

bool IsPatternFormat(TInFormat Format) { return Format == itHex || Format == itOct || Format == itBin; }

bool CheckPatternText(std::string_view Text, TInFormat Format) {
  switch (Format) {
    case itHex: return CheckHexText(Text);
    case itOct: return CheckOctText(Text);
    default: return CheckBinText(Text);
  }
}

// The separator mode of ConvertNumString: the locale's mode is comma only
// when the locale's separator is ",", point only otherwise; modes other
// than 1 and 2 accept either.
int ConvertSepMode(TDecPSep DecPlaceSep) {
  switch (DecPlaceSep) {
    case dsLocale: return FormatSettings().DecimalSeparator == ',' ? 2 : 1;
    case dsPoint: return 1;
    case dsComma: return 2;
    default: return 3;
  }
}

// Cuts an exponent mark without digits off the end of a lower-case text:
// "1.5e" and "1.5e-" become "1.5" (only the first "e" of the text counts).
std::string_view WithoutOpenExponent(std::string_view Text) {
  const auto Mark = Text.find('e');
  if (Mark == std::string_view::npos) return Text;
  const std::string_view Tail = Text.substr(Mark);
  const bool Open = Tail == "e" || Tail == "e-" || Tail == "e+";
  return Open ? Text.substr(0, Mark) : Text;
}

}  // namespace

// ---- separator modes ------------------------------------------------------------------

int ResolveSepMode(int SepMode) {
  if (SepMode != 0) return SepMode;
  return FormatSettings().DecimalSeparator == '.' ? 1 : 2;
}

// ---- validity tests ---------------------------------------------------------------

bool CheckRealText(std::string_view Text, bool AllowExp, int SepMode) {
  if (Text.empty()) return false;
  int Pos = 1;
  TCheckSink Sink;
  return RunRealAutomaton(Text, AllowExp, SepMode, Pos, Sink);
}

bool CheckWholeRealText(std::string_view Text, bool AllowExp, int SepMode) {
  if (Text.empty()) return false;
  int Pos = 1;
  TCheckSink Sink;
  // Accepted at the virtual end character, which leaves Pos behind it.
  return RunRealAutomaton(Text, AllowExp, SepMode, Pos, Sink) && Pos == TextLength(Text) + 2;
}

bool DecIntInRange(std::string_view Text) { return FitsInt(HeldDecInt(Text)); }

bool CheckFloatText(std::string_view Text, int SepMode) {
  if (Text.empty()) return false;
  const TSeparators Seps = SeparatorsOf(SepMode);
  enum : std::uint8_t { cfStart, cfSign, cfPoint, cfIntDigits, cfFraction, cfInvalid };
  int State = cfStart;
  for (std::size_t I = 0; I < Text.size() && State != cfInvalid; ++I) {
    const char C = Text[I];
    const bool BeforePoint = State == cfStart || State == cfSign || State == cfIntDigits;
    if ((C == '+' || C == '-') && State == cfStart) {
      State = cfSign;
    } else if (IsDigit(C)) {
      State = BeforePoint ? cfIntDigits : cfFraction;
    } else if (Seps.Accepts(C) && BeforePoint) {
      State = cfPoint;
    } else {
      State = cfInvalid;
    }
  }
  return State != cfInvalid;
}

bool CheckIntText(std::string_view Text) {
  if (Text.empty()) return false;
  const bool SignFirst = Text[0] == '+' || Text[0] == '-';
  if (SignFirst && Text.size() == 1) return false;
  return std::all_of(Text.begin() + (SignFirst ? 1 : 0), Text.end(), IsDigit);
}

bool CheckHexText(std::string_view Text) {
  return AllOf(Text, [](char C) { return DigitValue(C, 16) >= 0; });
}

bool CheckOctText(std::string_view Text) {
  return AllOf(Text, [](char C) { return C >= '0' && C <= '7'; });
}

bool CheckBinText(std::string_view Text) {
  return AllOf(Text, [](char C) { return C == '0' || C == '1'; });
}

// ---- scanners ------------------------------------------------------------------------

double ScanReal(std::string_view Text, bool AllowExp, int SepMode, int& Pos) {
  return ScanDecimal<double>(Text, AllowExp, SepMode, Pos);
}

long double ScanRealExtended(std::string_view Text, bool AllowExp, int SepMode, int& Pos) {
  return ScanDecimal<long double>(Text, AllowExp, SepMode, Pos);
}

int ScanDecInt(std::string_view Text, int& Pos) {
  Pos = ClampPos(Text, Pos);
  if (Text.empty()) return 0;
  SkipBlanks(Text, Pos);
  bool Negative = false;
  if (Pos <= TextLength(Text)) {
    const char C = Text[static_cast<std::size_t>(Pos - 1)];
    Negative = C == '-';
    if (C == '-' || C == '+') ++Pos;
  }
  const std::uint32_t Magnitude = TakeDigits(Text, 10, Pos);
  return static_cast<int>(Negative ? 0U - Magnitude : Magnitude);
}

int ScanHex(std::string_view Text, int& Pos) { return ScanBase(Text, 16, Pos); }
int ScanOct(std::string_view Text, int& Pos) { return ScanBase(Text, 8, Pos); }
int ScanBin(std::string_view Text, int& Pos) { return ScanBase(Text, 2, Pos); }

// ---- formatters -----------------------------------------------------------------------

std::string FormatReal(int Width, int Decimals, double Value) {
  if (Decimals >= 0) return FixedText(Width, Decimals, Value);
  const int Size = std::max(Width, 8);
  if (!std::isfinite(Value)) return std::string(static_cast<std::size_t>(Size), '*');
  std::string Text = ScientificText(Value, ScientificFraction(Width));
  if (!HasShortExponent(Text)) Text.assign(Text.size() - 1, '*');
  return Text;
}

std::string IntToHexText(int Value, int Digits) { return PatternDigits(Value, Digits, 8, 4); }
std::string IntToOctText(int Value, int Digits) { return PatternDigits(Value, Digits, 11, 3); }
std::string IntToBinText(int Value, int Digits) { return PatternDigits(Value, Digits, 32, 1); }

// ---- the format-dependent operations of the numeric fields ---------------------------

char TNumFieldFormat::FixPointSeparator() const { return ResolveSepMode(DecPlaceSep) == 2 ? ',' : '.'; }

bool TNumFieldFormat::CheckValidity(std::string_view Instring) const {
  const int Mode = ResolveSepMode(DecPlaceSep);
  switch (InputFormat) {
    case itExp: return CheckRealText(Instring, true, Mode);
    case itFloat: return CheckFloatText(Instring, Mode);
    case itFixPoint:
      return CheckFloatText(Instring, Mode) &&
             FirstPos(Instring, FixPointSeparator()) == TextLength(Instring) - FixPointDecPlaces;
    case itInt: return CheckIntText(Instring);
    case itHex:
    case itOct:
    case itBin: return CheckPatternText(Instring, InputFormat);
    case itDynamic:
      if (Instring.empty()) return false;
      if (IsPatternFormat(DynamicFormat(Instring)))
        return CheckPatternText(Instring.substr(1), DynamicFormat(Instring));
      return CheckFloatText(Instring, Mode);
  }
  return false;
}

bool TNumFieldFormat::CheckOnline(std::string_view Buffer) const {
  if (Buffer.empty() || Buffer == "-" || Buffer == "+") return true;
  if (InputFormat == itDynamic && Buffer.size() == 1 && IsPatternFormat(DynamicFormat(Buffer))) return true;
  if (InputFormat == itExp) return CheckWholeRealText(Buffer, true, ResolveSepMode(DecPlaceSep));
  return CheckValidity(Buffer);
}

std::string TNumFieldFormat::NioValueText(double X) const {
  if (std::isnan(X)) X = 0;
  X = std::clamp(X, -uc_MaxDouble, uc_MaxDouble);
  std::string Text;
  switch (InputFormat) {
    case itExp:
      Text = ScientificText(X, ScientificFraction(std::clamp(SignificantDigits, 1, 1000) + 6));
      break;
    case itFloat:
    case itFixPoint: Text = FormatReal(1, std::max(FixPointDecPlaces, 0), X); break;
    case itInt:
    case itDynamic: Text = FormatReal(1, 0, RoundHalfEven(X)); break;
    case itHex: return IntToHexText(LowPattern(X), 8);
    case itOct: return IntToOctText(LowPattern(X), 11);
    case itBin: return IntToBinText(LowPattern(X), 32);
  }
  if (ResolveSepMode(DecPlaceSep) == 2) std::replace(Text.begin(), Text.end(), '.', ',');
  return Text;
}

double TNumFieldFormat::GetNioValue(std::string_view Buffer) const {
  int Pos = 1;
  switch (InputFormat) {
    case itExp:
    case itFloat:
    case itFixPoint: return ScanReal(Buffer, true, 3, Pos);
    case itInt: return CheckIntText(Buffer) ? SaturatedDecInt(Buffer) : 0;
    case itHex:
    case itOct:
    case itBin: {
      double Value = 0;
      return ScanWholePattern(Buffer, InputFormat, Value) ? Value : 0;
    }
    case itDynamic: {
      if (Buffer.empty()) return 0;
      const TInFormat Format = DynamicFormat(Buffer);
      if (!IsPatternFormat(Format)) return ScanReal(Buffer, true, 3, Pos);
      const int Base = Format == itHex ? 16 : Format == itOct ? 8 : 2;
      return ScanBase(Buffer.substr(1), Base, Pos);
    }
  }
  return 0;
}

int TNumFieldFormat::GetNioIntValue(std::string_view Buffer, std::string_view ComponentName) const {
  const double Value = GetNioValue(Buffer);
  // An integer buffer beyond the range reads as the nearest limit, which
  // would fit: its text decides.
  const bool IntOverflow = InputFormat == itInt && CheckIntText(Buffer) && !DecIntInRange(Buffer);
  if (IntOverflow || !(Value <= INT_MAX && Value >= INT_MIN)) {
    throw EVORNNumIO2Error("Component \"" + std::string(ComponentName) + "\": integer overflow");
  }
  return static_cast<int>(RoundHalfEven(Value));
}

bool TNumFieldFormat::ConvertNumString(std::string_view Text, double& Value) const {
  if (Text.empty()) return false;
  Value = 0;
  const int Mode = ConvertSepMode(DecPlaceSep);
  const auto First = Text.find_first_not_of(' ');
  if (First == std::string_view::npos) return true;  // blanks only
  std::string Lower(Text.substr(First));
  if (Lower.find(' ') != std::string::npos) return false;
  std::transform(Lower.begin(), Lower.end(), Lower.begin(),
                 [](char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; });
  const TInFormat Format = InputFormat == itDynamic ? DynamicFormat(Lower) : InputFormat;
  const std::string_view Body =
      InputFormat == itDynamic && IsPatternFormat(Format) ? std::string_view(Lower).substr(1) : Lower;
  int Pos = 1;
  switch (Format) {
    case itExp: {
      const std::string_view Number = WithoutOpenExponent(Body);
      Value = ScanReal(Number, true, Mode, Pos);
      return Pos == TextLength(Number) + 1;
    }
    case itFloat:
    case itFixPoint: Value = ScanReal(Body, false, Mode, Pos); break;
    case itInt: Value = ScanDecInt(Body, Pos); break;
    case itHex:
    case itOct:
    case itBin: return ScanWholePattern(Body, Format, Value);
    case itDynamic: break;  // resolved above
  }
  return Pos == TextLength(Body) + 1;
}

}  // namespace vorn
