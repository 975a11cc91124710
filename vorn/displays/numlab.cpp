#include "vorn/displays/numlab.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "vorn/foundation/drawing.h"
#include "vorn/platform/graphics/bitmap.h"
#include "vorn/platform/runtime/dates.h"

namespace vorn {

// ---- value texts ---------------------------------------------------------------------

namespace {

// The span of dates FormatDateTime writes: 0001-01-01 up to 9999-12-31.
constexpr double kMinDateTime = -693593.0;
constexpr double kMaxDateTime = 2958466.0;
constexpr const char* kDegree = "\xC2\xB0";  // "°"
// Sample text for the line height: ascenders, descenders and accents.
constexpr const char* kSampleText = "(8g]}\xC3\x9C\xC3\x84\xC2\xA7";

std::string Printf(const char* Fmt, int Prec, double Value) {
  char buf[512];
  const int n = std::snprintf(buf, sizeof buf, Fmt, Prec, Value);
  if (n < static_cast<int>(sizeof buf)) return buf;
  std::string big(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(big.data(), big.size(), Fmt, Prec, Value);
  big.resize(static_cast<std::size_t>(n));
  return big;
}

std::string NonFiniteText(double Value) {
  if (std::isnan(Value)) return "NAN";
  return Value < 0 ? "-INF" : "INF";
}

// Mantissa digits (Digits of them) and decimal exponent of |Value| rounded
// to Digits significant digits: 1234.5, 3 -> "123", 3.
void Significant(double Value, int Digits, std::string& Mantissa, int& Exponent) {
  const std::string e = Printf("%.*e", Digits - 1, std::fabs(Value));
  const std::size_t epos = e.find('e');
  Mantissa.clear();
  for (std::size_t i = 0; i < epos; ++i)
    if (e[i] != '.') Mantissa += e[i];
  Exponent = std::atoi(e.c_str() + epos + 1);
}

std::string Sign(double Value) { return std::signbit(Value) && Value != 0 ? "-" : ""; }

// General format: fixed while the integer digits fit into Precision and the
// value is at least 0.00001, else scientific; trailing zeros dropped.
std::string GeneralText(double Value, int Precision) {
  const int p = Precision < 1 ? 1 : Precision;
  if (Value == 0) return "0";
  std::string m;
  int e = 0;
  Significant(Value, p, m, e);
  while (m.size() > 1 && m.back() == '0') m.pop_back();
  std::string out = Sign(Value);
  if (e >= p || std::fabs(Value) < 0.00001) {
    out += m.substr(0, 1);
    if (m.size() > 1) out += "." + m.substr(1);
    return out + "E" + std::to_string(e);
  }
  if (e < 0) return out + "0." + std::string(static_cast<std::size_t>(-e - 1), '0') + m;
  const auto intDigits = static_cast<std::size_t>(e + 1);
  if (m.size() <= intDigits) return out + m + std::string(intDigits - m.size(), '0');
  return out + m.substr(0, intDigits) + "." + m.substr(intDigits);
}

std::string ExpText(double Value, int Precision) {
  const int p = Precision < 1 ? 1 : Precision;
  std::string m;
  int e = 0;
  Significant(Value, p, m, e);
  std::string out = Sign(Value) + m.substr(0, 1);
  if (m.size() > 1) out += "." + m.substr(1);
  char ex[16];
  std::snprintf(ex, sizeof ex, "E%c%03d", e < 0 ? '-' : '+', std::abs(e));
  return out + ex;
}

// Mantissa with 1..3 integer digits and an exponent that is a multiple of
// three; Point separates the integer digits from the rest.
std::string EngText(double Value, int Precision, int& EngExponent, const std::string& Point) {
  const int p = Precision < 1 ? 1 : Precision;
  std::string m;
  int e = 0;
  if (Value == 0) {
    m = std::string(static_cast<std::size_t>(p), '0');
  } else {
    Significant(Value, p, m, e);
  }
  EngExponent = e >= 0 ? e / 3 * 3 : -((-e + 2) / 3 * 3);
  const auto intDigits = static_cast<std::size_t>(e - EngExponent + 1);
  if (m.size() < intDigits) m += std::string(intDigits - m.size(), '0');
  std::string out = Sign(Value) + m.substr(0, intDigits);
  if (m.size() > intDigits) out += Point + m.substr(intDigits);
  return out;
}

std::string EEngText(double Value, int Precision) {
  int ee = 0;
  std::string out = EngText(Value, Precision, ee, ".");
  char ex[16];
  std::snprintf(ex, sizeof ex, "E%c%02d", ee < 0 ? '-' : '+', std::abs(ee));
  return out + ex;
}

// "4k7": the SI prefix of the exponent in place of the point; values
// without a prefix keep the point, values beyond the prefixes fall back to
// the engineering exponent.
std::string EEngNoDPText(double Value, int Precision) {
  static constexpr const char* kPrefixes = "yzafpnum.kMGTPEZY";
  int ee = 0;
  EngText(Value, Precision, ee, ".");
  const int index = ee / 3 + 8;
  if (index < 0 || index > 16) return EEngText(Value, Precision);
  const std::string letter(1, kPrefixes[index]);
  std::string out = EngText(Value, Precision, ee, letter);
  if (letter != "." && out.find(letter) == std::string::npos) out += letter;
  return out;
}

// The value rounded (ties to even); false when it is not finite.
double RoundEven(double Value) { return std::nearbyint(Value); }

std::string IntText(double Value) {
  const double r = RoundEven(Value);
  if (std::fabs(r) < 9.2e18) return std::to_string(static_cast<long long>(r));
  return Printf("%.*f", 0, r);  // beyond 64 bits: the exact integer text
}

std::string ZeroIntText(double Value, int Precision) {
  std::string digits = IntText(Value);
  std::string sign;
  if (!digits.empty() && digits[0] == '-') {
    sign = "-";
    digits.erase(0, 1);
  }
  if (static_cast<int>(digits.size()) < Precision)
    digits.insert(0, static_cast<std::size_t>(Precision) - digits.size(), '0');
  return sign + digits;
}

// Upper-case digits of the rounded value's 32-bit two's-complement pattern.
std::string PatternText(double Value, int Precision, int BitsPerDigit) {
  double r = std::fmod(RoundEven(Value), 4294967296.0);
  if (r < 0) r += 4294967296.0;
  auto pattern = static_cast<std::uint32_t>(r);
  std::string digits;
  const std::uint32_t mask = (1u << BitsPerDigit) - 1;
  do {
    digits.insert(digits.begin(), "0123456789ABCDEF"[pattern & mask]);
    pattern >>= BitsPerDigit;
  } while (pattern != 0);
  if (static_cast<int>(digits.size()) < Precision)
    digits.insert(0, static_cast<std::size_t>(Precision) - digits.size(), '0');
  return digits;
}

// Non-negative N with leading zeros to Width digits.
std::string Padded(long long N, int Width) {
  std::string digits = std::to_string(N);
  if (static_cast<int>(digits.size()) < Width) digits.insert(0, static_cast<std::size_t>(Width) - digits.size(), '0');
  return digits;
}

// Degrees with minutes (and seconds) to Precision decimals of the last
// unit. The value is rounded as a whole count of the smallest shown step,
// so 59.999 minutes carry into the next degree instead of showing "60".
std::string DegreeText(double Value, int Precision, bool Seconds) {
  const double unitsPerDegree = (Seconds ? 3600.0 : 60.0) * std::pow(10.0, Precision);
  const double steps = std::nearbyint(std::fabs(Value) * unitsPerDegree);
  if (steps > 9.0e15) return Printf("%.*f", 0, Value) + kDegree;  // too large for the steps
  const auto total = static_cast<long long>(steps);
  const auto scale = static_cast<long long>(std::pow(10.0, Precision));
  const long long perDegree = (Seconds ? 3600 : 60) * scale;
  std::string out = (std::signbit(Value) && steps != 0) ? "-" : "";
  out += std::to_string(total / perDegree) + kDegree;
  long long rest = total % perDegree;
  if (Seconds) {
    out += Padded(rest / (60 * scale), 2) + "'";
    rest %= 60 * scale;
  }
  out += Padded(rest / scale, 2);
  if (Precision > 0) out += "." + Padded(rest % scale, Precision);
  return out + (Seconds ? "\"" : "'");
}

bool IsNumericFormat(TDisplay D) { return D != dtDateTime && D != dtState; }

std::string RawText(const TNumLabFormat& F, double Value) {
  const int p = F.Precision;
  switch (F.Display) {
    case dtFloat: return GeneralText(Value, p);
    case dtFixP: return Printf("%.*f", p, Value);
    case dtExp: return ExpText(Value, p);
    case dtHex: return PatternText(Value, p, 4);
    case dtZeroInt: return ZeroIntText(Value, p);
    case dtInt: return IntText(Value);
    case dtDateTime: return FormatDateTime(F.DTFormat, Value);
    case dtState: return F.StateText;
    case dtBin: return PatternText(Value, p, 1);
    case dtOct: return PatternText(Value, p, 3);
    case dtDeg: return Printf("%.*f", p, Value) + kDegree;
    case dtDegMin: return DegreeText(Value, p, false);
    case dtDegMinSec: return DegreeText(Value, p, true);
    case dtEEng: return EEngText(Value, p);
    case dtEEngNoDP: return EEngNoDPText(Value, p);
  }
  return {};
}

}  // namespace

std::string NumLabText(const TNumLabFormat& F, double Value) {
  std::string t;
  if (F.Display == dtState) return F.StateText;
  if (!std::isfinite(Value)) {
    t = NonFiniteText(Value);
  } else if (F.Display == dtDateTime && (Value < kMinDateTime || Value >= kMaxDateTime)) {
    return Value < 0 ? "-INF" : "INF";
  } else {
    t = RawText(F, Value);
  }
  const bool decorated = F.Display != dtHex && F.Display != dtDateTime && F.Display != dtBin;
  if (!decorated || !IsNumericFormat(F.Display)) return t;
  for (char& ch : t) {
    if (F.Comma && ch == '.') ch = ',';
    if (!F.Comma && ch == ',') ch = '.';
  }
  if (F.PlusSign && Value > 0) t.insert(0, "+");
  return t;
}

// ---- the label -------------------------------------------------------------------------

TNumLab::TNumLab(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csOpaque);  // the label covers its whole area unless transparent
  SetBounds(0, 0, 160, 28);
}

TNumLabFormat TNumLab::Format() const {
  return {FDisplayType, FDecP, FComma, FPlusSign, FDtFormat, FStateText};
}

void TNumLab::Assign(const TPersistent* Source) {
  const auto* s = dynamic_cast<const TNumLab*>(Source);
  if (s == nullptr) {
    TGraphicControl::Assign(Source);
    return;
  }
  FLeftSpace = s->FLeftSpace;
  FEmpty = s->FEmpty;
  FLabWidth = s->FLabWidth;
  FDecP = s->FDecP;
  FLeftText = s->FLeftText;
  FRightText = s->FRightText;
  FFrameStyle = s->FFrameStyle;
  FAlignment = s->FAlignment;
  FRTAlignment = s->FRTAlignment;
  FLTAlignment = s->FLTAlignment;
  FOverFlowIndi = s->FOverFlowIndi;
  FLabValue = s->FLabValue;
  FStateText = s->FStateText;
  FTransParent = s->FTransParent;
  FColorLabBakG = s->FColorLabBakG;
  FColorLabText = s->FColorLabText;
  FColorOutBakG = s->FColorOutBakG;
  FColorOutText = s->FColorOutText;
  FColBlackLine = s->FColBlackLine;
  FColGrayLine = s->FColGrayLine;
  FColWhiteLine = s->FColWhiteLine;
  FColorScheme = s->FColorScheme;
  FDisplayType = s->FDisplayType;
  Changed();
}

void TNumLab::AssignTo(TPersistent* Dest) const {
  if (auto* d = dynamic_cast<TNumLab*>(Dest)) {
    d->Assign(this);
    return;
  }
  TGraphicControl::AssignTo(Dest);
}

// ---- setters -------------------------------------------------------------------------

namespace {
template <typename T>
bool Store(T& Field, const T& Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}
}  // namespace

void TNumLab::SetAlignment(TAlignment Value) {
  if (Store(FAlignment, Value)) Changed();
}
void TNumLab::SetColorLabBakG(TColor Value) {
  if (Store(FColorLabBakG, Value)) Changed();
}
void TNumLab::SetColorLabText(TColor Value) {
  if (Store(FColorLabText, Value)) Changed();
}
void TNumLab::SetColorOutBakG(TColor Value) {
  if (Store(FColorOutBakG, Value)) Changed();
}
void TNumLab::SetColorOutText(TColor Value) {
  if (Store(FColorOutText, Value)) Changed();
}
void TNumLab::SetColorScheme(TColorScheme Value) {
  if (!Store(FColorScheme, Value)) return;
  const TSchemeLines lines = SchemeLines(Value);
  FColGrayLine = lines.Gray;
  FColWhiteLine = lines.White;
  Changed();
}
void TNumLab::SetComma(bool Value) {
  if (Store(FComma, Value)) Changed();
}
void TNumLab::SetDisplayType(TDisplay Value) {
  if (Value <= dtEEngNoDP && Store(FDisplayType, Value)) Changed();
}
void TNumLab::SetDTFormat(const std::string& Value) {
  if (Store(FDtFormat, Value)) Changed();
}
void TNumLab::SetEmpty(bool Value) {
  if (Store(FEmpty, Value)) Changed();
}
void TNumLab::SetEnabled(bool Value) {
  FEnabled = Value;
  TGraphicControl::SetEnabled(Value);
  Refresh();
}
void TNumLab::SetForcePlusSign(bool Value) {
  if (Store(FPlusSign, Value)) Changed();
}
void TNumLab::SetFrameStyle(TFrameStyle Value) {
  if (Value <= fsEngraved && Store(FFrameStyle, Value)) Changed();
}
void TNumLab::SetLabelWidth(int Value) {
  if (Store(FLabWidth, Value)) Changed();
}
void TNumLab::SetLeftSpace(int Value) {
  if (Value < 0) return;
  if (Value > Width()) Value = Width();
  if (Store(FLeftSpace, Value)) Changed();
}
void TNumLab::SetLeftText(const std::string& Value) {
  if (Store(FLeftText, Value)) Changed();
}
void TNumLab::SetRightText(const std::string& Value) {
  if (Store(FRightText, Value)) Changed();
}
void TNumLab::SetLeftTextAlignment(TAlignment Value) {
  if (Store(FLTAlignment, Value)) Changed();
}
void TNumLab::SetRightTextAlignment(TAlignment Value) {
  if (Store(FRTAlignment, Value)) Changed();
}
void TNumLab::SetOverflowIndicator(const std::string& Value) {
  if (Store(FOverFlowIndi, Value)) Changed();
}
void TNumLab::SetPrecision(int Value) {
  if (Value < 0) return;
  if (Value > 15) Value = 15;
  if (Store(FDecP, Value)) Changed();
}
void TNumLab::SetStateText(const std::string& Value) {
  if (Store(FStateText, Value)) Changed();
}
void TNumLab::SetTransparent(bool Value) {
  if (!Store(FTransParent, Value)) return;
  if (Value) {
    FControlStyle.Exclude(csOpaque);
    Invalidate();
  } else {
    FControlStyle.Include(csOpaque);
    Changed();
  }
}
void TNumLab::SetValue(double Value) {
  // NaN never equals itself: compare the bits so that NaN is stored once.
  if (FLabValue == Value || (std::isnan(FLabValue) && std::isnan(Value))) return;
  FLabValue = Value;
  Changed();
}

void TNumLab::MouseMove(TShiftState Shift, int X, int Y) {
  FMouseAreaCode = 0;
  if (X > FLeftSpace) FMouseAreaCode = 1;
  if (X > FLeftSpace + FLabWidth) FMouseAreaCode = 2;
  TGraphicControl::MouseMove(Shift, X, Y);
}

// ---- painting ------------------------------------------------------------------------------

std::string TNumLab::ShownText() const {
  TCanvas& c = *Canvas();
  c.SetFont(Font());
  return ShownText(c);
}

std::string TNumLab::ShownText(TCanvas& C) const {
  if (FEmpty) return {};
  std::string t = NumLabText(Format(), FLabValue);
  if (FOnBeforeDisplay) FOnBeforeDisplay(const_cast<TNumLab*>(this), t);
  if (FDisplayType != dtState && C.TextWidth(t) > FLabWidth - 6) t = FOverFlowIndi;
  return t;
}

void TNumLab::PaintSideText(TCanvas& C, int X, int TY, const std::string& S, int LightX) const {
  if (FEnabled) {
    C.Font()->SetColor(FColorOutText);
    C.TextOut(X, TY, S);
    return;
  }
  C.Brush()->SetStyle(bsClear);
  C.Font()->SetColor(clWhite);
  C.TextOut(LightX, TY + 1, S);
  C.Font()->SetColor(clGray);
  C.TextOut(X, TY, S);
}

void TNumLab::PaintSideTexts(TCanvas& C, int TY) const {
  const int ls = FLeftSpace, lw = FLabWidth, w = Width();
  if (!FLeftText.empty()) {
    const int twl = C.TextWidth(FLeftText);
    const int x = FLTAlignment == taLeftJustify ? 7 : FLTAlignment == taRightJustify ? ls - twl - 5 : (ls - twl) / 2;
    PaintSideText(C, x, TY, FLeftText, x + 1);
  }
  if (!FRightText.empty()) {
    const int twr = C.TextWidth(FRightText);
    int x = (w - ls - lw - twr) / 2 + ls + lw + 1;
    if (FRTAlignment == taLeftJustify) x = ls + lw + 7;
    if (FRTAlignment == taRightJustify) x = w - twr - 6;
    PaintSideText(C, x, TY, FRightText, FRTAlignment == taRightJustify ? w - twr - 7 : x + 1);
  }
}

void TNumLab::PaintBox(TCanvas& C) const {
  const int ls = FLeftSpace, lw = FLabWidth, h = Height();
  TColor pen = FColGrayLine;
  if (FFrameStyle == fsNone) pen = FColorLabBakG;
  if (FFrameStyle == fsEmbossed) pen = FColWhiteLine;
  C.Pen()->SetColor(pen);
  C.Brush()->SetColor(FColorLabBakG);
  DrawFrame(&C, FFrameStyle, ls + 1, 0, ls + lw, h - 2, clWhite, clSilver, clGray, clBlack, clBlack);
  // The inside of the box, also when it shows no value.
  C.FillRect(ValueRect());
}

TRect TNumLab::ValueRect() const { return Rect(FLeftSpace + 3, 2, FLeftSpace + FLabWidth - 1, Height() - 3); }

void TNumLab::PaintValue(TCanvas& C, int TY) const {
  const std::string t = ShownText(C);
  if (t.empty()) return;
  const int ls = FLeftSpace, lw = FLabWidth;
  // Placed by the width of what is drawn, so an overflow indicator is
  // aligned like any other text.
  const int tw = C.TextWidth(t);
  int x = ls + 2 + (lw - tw) / 2;
  if (FAlignment == taLeftJustify) x = ls + 4;
  if (FAlignment == taRightJustify) x = ls + lw - tw - 2;
  C.Font()->SetColor(FEnabled ? FColorLabText : clBtnShadow);
  C.Brush()->SetColor(FColorLabBakG);
  C.TextRect(ValueRect(), x, TY, t);
}

void TNumLab::CopyToScreen(const TBitmap& Bmp) {
  TCanvas& dest = *Canvas();
  if (FTransParent) {
    const TColor under = FColorLabText == clBlack ? FColorLabBakG : clWhite;
    dest.Pen()->SetColor(under);
    dest.Brush()->SetColor(under);
    dest.Rectangle(FLeftSpace + 2, 2, FLeftSpace + FLabWidth, Height() - 2);
    dest.SetCopyMode(cmSrcAnd);
  } else {
    dest.SetCopyMode(cmSrcCopy);
  }
  dest.Draw(0, 0, &Bmp);
  dest.SetCopyMode(cmSrcCopy);
}

void TNumLab::Paint() {
  if (!Visible() && !ComponentState().Contains(csDesigning)) return;
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  TBitmap bmp(w, h);
  TCanvas& c = *bmp.Canvas();
  c.SetFont(Font());
  const int ty = (h - c.TextHeight(kSampleText)) / 2;
  const TColor back = FTransParent ? clWhite : FColorOutBakG;
  c.Pen()->SetColor(back);
  c.Brush()->SetColor(back);
  c.Rectangle(0, 0, w, h);
  PaintSideTexts(c, ty);
  PaintBox(c);
  PaintValue(c, ty);
  CopyToScreen(bmp);
}

}  // namespace vorn
