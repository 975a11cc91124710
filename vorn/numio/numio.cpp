#include "vorn/numio/numio.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "vorn/platform/runtime/formatsettings.h"

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

char TNumIO::FixPointSeparator() const { return ResolveSepMode(FDecPSep) == dsComma ? ',' : '.'; }

std::string TNumIO::WithOwnSeparator(std::string Text) const {
  // A field that takes only commas writes its numbers with one, so that
  // the text it shows reads back.
  if (FixPointSeparator() == ',') std::replace(Text.begin(), Text.end(), '.', ',');
  return Text;
}

void TNumIO::SetEditText(const std::string& S) {
  // An unchanged text causes no change notification, so the flag is set
  // only when one will come and clear it.
  if (S == Text()) return;
  FInternalChg = true;
  SetText(S);
  FInternalChg = false;
}

void TNumIO::Change() {
  if (ComponentState().Contains(csDesigning)) return;
  if (FInternalChg) {
    FInternalChg = false;
    return;
  }
  const std::string t = Text();
  std::string n;
  bool replace = false;
  bool cut = false;
  int selStart = SelStart();
  if (FInFormat == itFixPoint) {
    const char sep = FixPointSeparator();
    const std::size_t p = t.find(sep);
    const std::size_t oldP = FOldText.find(sep);
    const int oldPos = oldP == std::string::npos ? 0 : static_cast<int>(oldP) + 1;  // 1-based, 0: none
    if (p == std::string::npos) {
      n = FOldText;
      replace = true;
      selStart = oldPos > 1 ? oldPos - 1 : oldPos;
    } else if (t.find(sep, p + 1) != std::string::npos || oldPos == 0) {
      n = FOldText;
      replace = true;
      selStart = oldPos;
    } else if (static_cast<int>(t.size() - p - 1) > FFixPDecPl) {
      n = t.substr(0, p + 1 + static_cast<std::size_t>(FFixPDecPl));
      replace = true;
      cut = true;
    }
  }
  // A text cut to its decimal places is read as cut: the extra digit is
  // dropped, not rounded in.
  const std::string& read = cut ? n : t;
  double v = 0;
  bool accepted = false;
  if (ConvertNumString(read, v)) {
    if (FInFormat == itFixPoint) {
      n = FormatReal(1, FFixPDecPl, v);
      n = WithOwnSeparator(n);
      replace = true;
    }
    accepted = (FMinimum <= v && v <= FMaximum) || v == 0;
  }
  if (accepted) {
    // What the field shows is what it accepted.
    FOldText = replace ? n : t;
    TCustomEdit::Change();
  } else {
    n = FOldText;
    replace = true;
    selStart = std::max(0, SelStart() - 1);
    Update();
    if (FBeep) MessageBeep(0);
  }
  if (replace) {
    SetEditText(n);
    // The caret goes where the rules put it once the new text stands.
    SetSelStart(selStart);
  }
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
  std::string s;
  switch (FInFormat) {
    case itExp:
    case itDynamic: s = FormatReal(12, -2, X); break;
    case itFloat: s = FormatReal(1, 8, X); break;
    case itFixPoint: s = FormatReal(1, FFixPDecPl, X); break;
    case itInt: s = FormatReal(1, 0, X); break;
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
