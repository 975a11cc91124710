// Numeric text formats of the numeric input fields: the input formats, the
// tests that say whether a text is acceptable in a format, the scanners that
// read a number from a text, the formatters that write one, and the
// format-dependent operations of the two fields (TNumFieldFormat).
//
// Texts are UTF-8. Positions are 1-based byte positions: position 1 is the
// first byte, Length + 1 stands after the last one. Every character a
// scanner can take is ASCII and a scanner stops at the first character it
// cannot take, so a scan that starts at position 1 leaves its position
// where the character position is the same.
//
// Separator modes (the ordinal of TDecPSep): 1 accepts "." only, 2 "," only,
// 3 either; 0 stands for the locale's separator (FormatSettings()) and is
// resolved at each call as the routine says. Any other value accepts either.
//
// None of these routines throws except TNumFieldFormat::GetNioIntValue.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "vorn/foundation/basics.h"

namespace vorn {

enum TInFormat : std::uint8_t {
  itExp,       // decimal number with optional exponent ("1.25E+03")
  itFloat,     // decimal number without exponent ("-12.5")
  itFixPoint,  // decimal number with a fixed number of decimal places
  itInt,       // signed decimal integer
  itHex,       // hexadecimal digits of a 32-bit pattern
  itOct,       // octal digits of a 32-bit pattern
  itBin,       // binary digits of a 32-bit pattern
  itDynamic    // "$" hexadecimal, "%" binary, "&" octal, anything else decimal
};

// Raised by the numeric input fields.
class EVORNNumIO2Error : public EVORNError {
 public:
  using EVORNError::EVORNError;
};

// The largest exponent magnitude a decimal text may carry.
constexpr int MaxDecimalExponent = 4200;

// ---- separator modes ------------------------------------------------------------

// Mode 0 becomes 1 when the locale's separator is ".", else 2 (the rule of
// the validity tests); other modes are returned as they are.
int ResolveSepMode(int SepMode);

// ---- validity tests ---------------------------------------------------------------

// A decimal number, possibly after blanks, with an exponent when AllowExp;
// characters after the end of the number are not examined ("1.5 x" passes).
// False for an empty text and for exponents above MaxDecimalExponent.
bool CheckRealText(std::string_view Text, bool AllowExp, int SepMode);
// CheckRealText that also requires the number to take the whole text:
// "1.5E-" passes, "1.5x" and "1.5 " do not.
bool CheckWholeRealText(std::string_view Text, bool AllowExp, int SepMode);
// Whether the decimal integer at the start of Text (blanks, a sign, digits
// up to the first other character) lies in the int range, that is whether
// ScanDecInt reads it without wrapping around.
bool DecIntInRange(std::string_view Text);
// A decimal number without exponent and without blanks, also an unfinished
// one: "-", "+", "." and "12." pass.
bool CheckFloatText(std::string_view Text, int SepMode);
// An optional sign followed by decimal digits; a lone sign fails.
bool CheckIntText(std::string_view Text);
// Non-empty strings of digits of the base (hexadecimal in either case).
bool CheckHexText(std::string_view Text);
bool CheckOctText(std::string_view Text);
bool CheckBinText(std::string_view Text);

// ---- scanners ------------------------------------------------------------------------
//
// Pos enters as the position to start at (clamped into 1..Length + 1) and
// leaves on the first character not taken, or at Length + 1.

// The decimal number at Pos, correctly rounded to a double and limited to
// plus or minus uc_MaxDouble. Pos leaves on the character that ended the
// scan; when that character made the text no number ("-x", "1.2.3",
// "1E.5") the value is 0. An exponent digit that takes the exponent above
// MaxDecimalExponent, and every later one, is taken but ignored. A number ending in "E" or "E" and a sign is the number
// before the "E"; one ending in the separator has its integer value.
double ScanReal(std::string_view Text, bool AllowExp, int SepMode, int& Pos);
// The same scan in extended precision.
long double ScanRealExtended(std::string_view Text, bool AllowExp, int SepMode, int& Pos);

// Integer scanners: leading blanks (all but a last one) are skipped, then
// digits of the base are taken; the value wraps modulo 2^32. ScanDecInt
// takes one sign first; ScanHex skips a "$" at position 1 of the text.
int ScanDecInt(std::string_view Text, int& Pos);
int ScanHex(std::string_view Text, int& Pos);
int ScanOct(std::string_view Text, int& Pos);
int ScanBin(std::string_view Text, int& Pos);

// ---- formatters -----------------------------------------------------------------------

// Decimals >= 0: Value rounded to that many places (ties to even), "." as
// the separator, "-" only when the rounded value is below zero, padded on
// the left with blanks to Width. Decimals < 0: scientific text of exactly
// Width characters (at least 8): a blank or "-", one digit, ".", Width - 7
// further digits, "E", a sign and two exponent digits; a row of "*" when
// the exponent needs three digits or Value is not finite. The fixed texts
// of non-finite values are "NaN", "Inf" and "-Inf".
std::string FormatReal(int Width, int Decimals, double Value);

// Exactly Digits digits (clamped to 1..8, 1..11, 1..32) of the unsigned
// 32-bit pattern of Value, most significant first, upper-case letters.
std::string IntToHexText(int Value, int Digits);
std::string IntToOctText(int Value, int Digits);
std::string IntToBinText(int Value, int Digits);

// ---- the format-dependent operations of the numeric fields ---------------------------

// The format settings of a numeric field (defaults: those of a new TNumIO2)
// and the operations that depend on them. A field builds one from its own
// settings for each call; the object holds no other state.
struct TNumFieldFormat {
  TInFormat InputFormat = itFloat;
  TDecPSep DecPlaceSep = dsBoth;
  int FixPointDecPlaces = 2;  // itFloat and itFixPoint
  int SignificantDigits = 6;  // itExp

  // The separator of a fixed-point text: "," when the mode is comma only,
  // else ".".
  char FixPointSeparator() const;
  // Whether Instring is acceptable in InputFormat. A fixed-point text needs
  // its first separator exactly FixPointDecPlaces characters before the
  // end; the separator looked for is "," when the mode is comma only, else
  // ".".
  bool CheckValidity(std::string_view Instring) const;
  // The online check of a field's buffer while the user types: the texts
  // that CheckValidity accepts, but an itExp number must take the whole
  // buffer ("1A2" is refused, "1E-" is a number on its way); besides, the
  // unfinished texts "", "-" and "+", and in itDynamic a lone prefix ("$",
  // "%", "&").
  bool CheckOnline(std::string_view Buffer) const;
  // The text that writing Value X puts into the buffer (SetNioValue). Texts
  // with a separator use "," when the mode is comma only, so that the text
  // passes CheckValidity. Infinite X is written as plus or minus
  // uc_MaxDouble and NaN as 0; an exponent of three digits is written in
  // full rather than as the row of "*" of FormatReal, so the value reads
  // back.
  std::string NioValueText(double X) const;
  // The value of a buffer (GetNioValue). Hexadecimal, octal and binary
  // buffers read as 0 unless the scanner takes all of them; an itInt
  // buffer beyond the int range reads as INT_MAX or INT_MIN by its sign.
  double GetNioValue(std::string_view Buffer) const;
  // GetNioValue rounded to an integer (ties to even) (GetNioIntValue).
  // Throws EVORNNumIO2Error "Component "<ComponentName>": integer overflow"
  // when the value lies outside the int range or is not a number, and for
  // an itInt buffer whose integer lies outside it (which GetNioValue reads
  // as the nearest limit).
  int GetNioIntValue(std::string_view Buffer, std::string_view ComponentName) const;
  // The edit-text conversion of TNumIO: true when the scanner of the format
  // takes the whole text; Value gets what it read (0 when the text holds a
  // blank after its leading ones, and for blanks alone, which convert). An
  // empty text gives false and leaves Value as it was. Hexadecimal, octal
  // and binary texts (also after the prefix of an itDynamic text) follow
  // the same rule, so a lone prefix converts to 0.
  bool ConvertNumString(std::string_view Text, double& Value) const;
};

}  // namespace vorn
