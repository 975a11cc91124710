#include "vorn/numio/numio.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

#include "vorn/platform/runtime/formatsettings.h"
#include "vorn/platform/runtime/utf8.h"

namespace vorn {

namespace {

// Value rounded to an integer, ties to even, kept within the int range.
int RoundToInt(double X) {
  if (std::isnan(X)) return 0;
  const double r = std::nearbyint(X);
  if (r >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (r <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(r);
}

// Eight digits as the field shows them, more when the number needs them,
// so that no value loses its high digits.
int DigitsFor(int Value, unsigned BitsPerDigit) {
  auto bits = static_cast<std::uint32_t>(Value);
  int digits = 0;
  while (bits != 0) {
    bits >>= BitsPerDigit;
    ++digits;
  }
  return std::max(8, digits);
}

}  // namespace

TNumIO::TNumIO(TComponent* AOwner) : TCustomEdit(AOwner) {
  if (ComponentState().Contains(csDesigning)) {
    FMinimum = -uc_MaxDouble;
    FMaximum = uc_MaxDouble;
  }
  SetEditText("");
}

TNumFieldFormat TNumIO::Format() const {
  TNumFieldFormat f;
  f.InputFormat = FInFormat;
  f.DecPlaceSep = FDecPSep;
  f.FixPointDecPlaces = FFixPDecPl;
  return f;
}

bool TNumIO::ConvertNumString(std::string_view Text, double& Value) const {
  return Format().ConvertNumString(Text, Value);
}

char TNumIO::FixPointSeparator() const { return Format().FixPointSeparator(); }

std::string TNumIO::WithOwnSeparator(std::string Text) const {
  // A field that takes only commas writes its numbers with one, so that
  // the text it shows reads back.
  if (FixPointSeparator() == ',') std::replace(Text.begin(), Text.end(), '.', ',');
  return Text;
}

void TNumIO::SetEditText(const std::string& S) {
  // Whatever the field writes itself is what a refused edit brings back.
  FOldText = S;
  // An unchanged text causes no change notification, so the flag is set
  // only when one will come and clear it.
  if (S == Text()) return;
  FInternalChg = true;
  SetText(S);
  FInternalChg = false;
}

void TNumIO::WriteText(const std::string& S, int Caret) {
  SetEditText(S);
  SetSelStart(Caret);  // once the new text stands
}

bool TNumIO::Acceptable(std::string_view Text, double& Value) const {
  if (!ConvertNumString(Text, Value)) return false;
  // An integer beyond 32 bits would read wrapped around: refused like a
  // value out of range, also when it wraps to zero.
  if (FInFormat == itInt && !DecIntInRange(Text)) return false;
  return (FMinimum <= Value && Value <= FMaximum) || Value == 0;
}

void TNumIO::Change() {
  if (ComponentState().Contains(csDesigning)) return;
  if (FInternalChg) {
    FInternalChg = false;
    return;
  }
  const std::string t = Text();
  if (FInFormat == itFixPoint) {
    ChangeFixPoint(t, SelStart());
    return;
  }
  double v = 0;
  if (!Acceptable(t, v)) {
    Refuse(t, SelStart());
    return;
  }
  FOldText = t;
  TCustomEdit::Change();
}

void TNumIO::Refuse(const std::string& Edited, int Caret) {
  // The caret goes back to where the edit started: in front of what was
  // typed or pasted, at the place of what was deleted.
  const auto grown = static_cast<int>(Utf8Length(Edited)) - static_cast<int>(Utf8Length(FOldText));
  const int at = std::max(0, grown > 0 ? Caret - grown : Caret);
  Update();
  if (FBeep) MessageBeep(0);
  WriteText(FOldText, at);
}

namespace {

bool IsAscii(std::string_view S) {
  return std::all_of(S.begin(), S.end(), [](char C) { return static_cast<unsigned char>(C) < 0x80; });
}

// Text with the character at Pos taken out.
std::string Without(std::string_view Text, std::size_t Pos) {
  std::string Out(Text.substr(0, Pos));
  Out += Text.substr(Pos + 1);
  return Out;
}

// Where the separator stands in Text; a text without one has it at its end.
int SeparatorIndex(std::string_view Text, char Sep) {
  const std::size_t At = Text.find(Sep);
  return static_cast<int>(At == std::string_view::npos ? Text.size() : At);
}

// The caret in Formatted that stands where Caret stood in Typed, counted
// from the separator: in the integer part by the characters between caret
// and separator, in the decimals by the decimals before it.
int MapCaret(std::string_view Typed, int Caret, std::string_view Formatted, char Sep) {
  const int typedSep = SeparatorIndex(Typed, Sep);
  const int sep = SeparatorIndex(Formatted, Sep);
  if (Caret <= typedSep) return std::max(0, sep - (typedSep - Caret));
  return std::min(sep + (Caret - typedSep), static_cast<int>(Formatted.size()));
}

bool StartsWithMinus(std::string_view Text) {
  const std::size_t First = Text.find_first_not_of(' ');
  return First != std::string_view::npos && Text[First] == '-';
}

}  // namespace

// More decimals than the field has: typing into the decimals overwrites
// them, so the characters after the caret give way first, then the last
// ones are cut (dropped, not rounded in).
void TNumIO::KeepDecimalPlaces(std::string& Typed, int Caret) const {
  const std::size_t sep = Typed.find(FixPointSeparator());
  if (sep == std::string::npos) return;
  int excess = static_cast<int>(Typed.size() - sep - 1) - FFixPDecPl;
  if (excess <= 0) return;
  if (Caret > static_cast<int>(sep) && Caret < static_cast<int>(Typed.size())) {
    const int after = std::min(excess, static_cast<int>(Typed.size()) - Caret);
    Typed.erase(static_cast<std::size_t>(Caret), static_cast<std::size_t>(after));
    excess -= after;
  }
  Typed.resize(Typed.size() - static_cast<std::size_t>(excess));
}

// A fixed-point field always shows its decimal places: every accepted
// edit is written again as the number with them, the caret kept at the
// same place relative to the separator. The separator itself can be
// neither deleted nor doubled: Backspace or Delete on it leaves the caret
// in front of it, typing it moves the caret behind it.
void TNumIO::ChangeFixPoint(const std::string& Edited, int Caret) {
  const char sep = FixPointSeparator();
  if (!IsAscii(Edited)) {
    Refuse(Edited, Caret);
    return;
  }
  const std::size_t oldSep = FOldText.find(sep);
  if (oldSep != std::string::npos) {
    if (Caret == static_cast<int>(oldSep) && Edited == Without(FOldText, oldSep)) {
      WriteText(FOldText, Caret);
      return;
    }
    if (Caret >= 1 && Edited[static_cast<std::size_t>(Caret - 1)] == sep &&
        Without(Edited, static_cast<std::size_t>(Caret - 1)) == FOldText) {
      WriteText(FOldText, static_cast<int>(oldSep) + 1);
      return;
    }
  }
  std::string typed = Edited;
  KeepDecimalPlaces(typed, Caret);
  double v = 0;
  const std::size_t first = typed.find(sep);
  const bool oneSeparator = first == std::string::npos || typed.find(sep, first + 1) == std::string::npos;
  if (!oneSeparator || !Acceptable(typed, v)) {
    Refuse(Edited, Caret);
    return;
  }
  std::string n = WithOwnSeparator(FormatReal(1, FFixPDecPl, v));
  // A typed minus stays while the number is still zero ("-", "-0."), so
  // that the digits after it make a negative number.
  if (StartsWithMinus(typed) && n.front() != '-') n.insert(0, 1, '-');
  WriteText(n, MapCaret(typed, Caret, n, sep));
  TCustomEdit::Change();
}

double TNumIO::GetLabValue() const {
  std::string t = Text();
  const std::size_t comma = t.find(',');
  if (comma != std::string::npos) t[comma] = '.';
  if (!t.empty() && t.back() == '.') t += '0';
  // The text now carries ".": read it with a separator setting that takes it.
  TNumFieldFormat f = Format();
  f.DecPlaceSep = dsBoth;
  double v = 0;
  return f.ConvertNumString(t, v) ? v : 0.0;
}

void TNumIO::SetLabValue(double X) {
  // Every text written reads back: no "NaN" or "Inf" texts, and exponents
  // of three digits in full (not the row of "*" of FormatReal).
  if (std::isnan(X)) X = 0;
  X = std::clamp(X, -uc_MaxDouble, uc_MaxDouble);
  std::string s;
  switch (FInFormat) {
    case itExp:
    case itDynamic: {
      TNumFieldFormat scientific = Format();
      scientific.InputFormat = itExp;
      scientific.SignificantDigits = 6;
      s = scientific.NioValueText(X);
      break;
    }
    case itFloat: s = FormatReal(1, 8, X); break;
    case itFixPoint: s = FormatReal(1, FFixPDecPl, X); break;
    case itInt: s = std::to_string(RoundToInt(X)); break;  // clamped to 32 bits
    case itHex: s = IntToHexText(RoundToInt(X), 8); break;
    case itOct: s = IntToOctText(RoundToInt(X), DigitsFor(RoundToInt(X), 3)); break;
    case itBin: s = IntToBinText(RoundToInt(X), DigitsFor(RoundToInt(X), 1)); break;
  }
  SetEditText(WithOwnSeparator(s));
}

void TNumIO::Recheck() {
  FOldText.clear();
  Change();
}

void TNumIO::SetDecPlaceSep(TDecPSep Value) {
  if (Value == FDecPSep) return;
  FDecPSep = Value;
  Recheck();
}

void TNumIO::SetFixPointDecPlaces(int Value) { FFixPDecPl = std::clamp(Value, 1, 8); }

void TNumIO::SetInputFormat(TInFormat Value) {
  if (Value == FInFormat) return;
  FInFormat = Value;
  Recheck();
}

void TNumIO::SetRangeLow(double Value) {
  if (Value >= FMaximum) {
    FMinimum = FMaximum;
    FMaximum = Value;
  } else {
    FMinimum = Value;
  }
  Recheck();
}

void TNumIO::SetRangeHigh(double Value) {
  if (Value > FMinimum) {
    FMaximum = Value;
  } else {
    FMaximum = FMinimum;
    FMinimum = Value;
  }
  Recheck();
}

void TNumIO::Assign(const TPersistent* Source) {
  if (const auto* other = dynamic_cast<const TNumIO*>(Source)) {
    FInFormat = other->FInFormat;
    FBeep = other->FBeep;
    FMinimum = other->FMinimum;
    FMaximum = other->FMaximum;
    FDecPSep = other->FDecPSep;
    return;
  }
  TCustomEdit::Assign(Source);
}

void TNumIO::AssignTo(TPersistent* Dest) const {
  if (dynamic_cast<TNumIO*>(Dest) != nullptr) {
    Dest->Assign(this);
    return;
  }
  TCustomEdit::AssignTo(Dest);
}

}  // namespace vorn
