// The table editor's number display, cell drawing and automatic column
// widths and row heights. The grid calls DrawCell for the visible cells
// only, so painting costs what is shown, not the size of the table.
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "vorn/ntabed/ntabed.h"

namespace vorn {

namespace {

// Fixed-point ranges per number of decimal places: the largest magnitude
// that still fits, and the smallest non-zero one that still shows a digit.
constexpr std::array<double, 9> FixedHigh = {999999999.0, 9999999.9,  999999.99,  99999.999, 9999.9999,
                                             999.99999,   99.999999,  9.9999999,  0.99999999};
constexpr std::array<double, 9> FixedLow = {1.0, 0.1, 0.01, 0.001, 0.0001, 0.00001, 0.000001, 0.0000001, 0.00000001};

// Mantissa digits beyond the 18th significant one carry nothing of a
// double; they are written as zeros.
constexpr int MaxMantissaDigits = 17;

constexpr TColor CommentCornerBrush = static_cast<TColor>(0x808000);
constexpr TColor CommentCornerFont = static_cast<TColor>(0xFFFFFF);

// Fixed-point text, padded on the left to Width. The value lies within
// the fixed-point ranges (below 1e9), so the buffer always holds it.
std::string FixedText(double Value, int Width, int Decimals) {
  char buf[64];
  const auto result = std::to_chars(buf, buf + sizeof buf, Value == 0 ? 0.0 : Value, std::chars_format::fixed, Decimals);
  const auto length = static_cast<std::size_t>(result.ptr - buf);
  std::string text;
  if (static_cast<std::size_t>(Width) > length) text.assign(static_cast<std::size_t>(Width) - length, ' ');
  text.append(buf, length);
  return text;
}

// Scientific text of N + 2 characters: sign or blank, digit, point,
// mantissa digits, "E", exponent sign and two exponent digits after the
// four-digit exponent lost its two leading zeros; "*" throughout when the
// exponent has three or more digits.
std::string ExponentialText(double Value, int N) {
  const int digits = std::max(1, N + 2 - 9);
  const int printed = std::min(digits, MaxMantissaDigits);
  const auto fullLength = static_cast<std::size_t>(9 + digits);
  if (!std::isfinite(Value)) return std::string(fullLength, '*');
  char buf[64];
  const auto result =
      std::to_chars(buf, buf + sizeof buf, std::fabs(Value), std::chars_format::scientific, printed);
  const char* e = std::find(buf, result.ptr, 'e');
  if (e == result.ptr) return std::string(fullLength, '*');
  int exponent = 0;
  std::from_chars(e + (e[1] == '+' ? 2 : 1), result.ptr, exponent);
  if (exponent <= -100 || exponent >= 100) return std::string(fullLength, '*');
  std::string text;
  text.reserve(fullLength);
  text += std::signbit(Value) ? '-' : ' ';
  text.append(buf, static_cast<std::size_t>(e - buf));
  text.append(static_cast<std::size_t>(digits - printed), '0');
  const int a = std::abs(exponent);
  text += 'E';
  text += exponent < 0 ? '-' : '+';
  text += static_cast<char>('0' + a / 10);
  text += static_cast<char>('0' + a % 10);
  return text;
}

}  // namespace

std::string NTabNumText(double Value, int Width, int Decimals) {
  if (std::isnan(Value)) return "-nan-";
  if (Decimals >= 0 && Decimals <= 8) {
    const double a = std::fabs(Value);
    const auto d = static_cast<std::size_t>(Decimals);
    if (Value == 0 || (a <= FixedHigh[d] && a >= FixedLow[d])) return FixedText(Value, Width, Decimals);
  }
  return ExponentialText(Value, Width + 6);
}

// ---- cell texts ----------------------------------------------------------------------------

int TNTabEd::DecimalsOf(int c) const {
  if (c < 1 || c > static_cast<int>(FDecP.size())) return 3;
  return FDecP[static_cast<std::size_t>(c - 1)];
}

bool TNTabEd::IsNominalColumn(int c) const {
  const int type = FData->GetMScaleType(c);
  return type == mstNominal || type == mstOrdinal;
}

namespace {

// A category number as text: the value rounded half to even.
std::string CategoryNumberText(double Rounded) {
  if (!std::isfinite(Rounded)) return NTabNumText(Rounded, 1, 0);
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.0f", Rounded == 0 ? 0.0 : Rounded);
  return buf;
}

}  // namespace

std::string TNTabEd::DataCellText(int c, int r) const {
  const std::uint8_t s = FData->GetCellState(c, r);
  if ((s & dtsEmpty) != 0) return {};
  if ((s & dtsInvalid) != 0) return "-nan-";
  const double value = FData->GetElem(c, r);
  if (!IsNominalColumn(c)) return NTabNumText(value, FNumWidth, DecimalsOf(c));
  const double v = std::nearbyint(value);
  if (v >= 1 && v <= MaxNominalID) {
    std::string id = FData->GetNominalID(c, static_cast<int>(v));
    if (!id.empty()) return id;
  }
  return std::string(MScaleTypeNames[static_cast<std::size_t>(FData->GetMScaleType(c))]) + ":" +
         CategoryNumberText(v);
}

std::string TNTabEd::EditCellText(int c, int r) const {
  if (c < 1 || c > NrOfColumns() || r < 1 || r > NrOfRows()) return {};
  const double value = FData->GetElem(c, r);
  if (!IsNominalColumn(c)) return NTabNumText(value, FNumWidth, DecimalsOf(c));
  const double v = std::nearbyint(value);
  if (v >= 1 && v <= MaxNominalID) {
    std::string id = FData->GetNominalID(c, static_cast<int>(v));
    if (!id.empty()) return id;
  }
  return CategoryNumberText(v);
}

// ---- drawing ---------------------------------------------------------------------------------

void TNTabEd::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  TCanvas& c = *Canvas();
  if (ACol > FColOffset && ARow > FRowOffset) {
    DrawDataCell(c, ACol - FColOffset, ARow - FRowOffset, ARect, AState);
  } else if (ACol == 0 && ARow == 0) {
    DrawCornerText(c, ARect);
  } else {
    DrawFixedCell(c, ACol, ARow, ARect);
  }
}

void TNTabEd::DrawDataCell(TCanvas& C, int c, int r, const TRect& R, TGridDrawState State) {
  // Cells beyond a table smaller than the grid's one data row or column.
  if (c > NrOfColumns() || r > NrOfRows()) return;
  const std::uint8_t s = FData->GetCellState(c, r);
  std::string text = DataCellText(c, r);
  const bool selected = State.Contains(gdSelected);
  const bool markA = (s & dtsMarkA) != 0;
  const bool markB = (s & dtsMarkB) != 0;
  TColor textColor = markA && markB ? FColorMarkedBoth
                     : markA        ? FColorMarked1
                     : markB        ? FColorMarked2
                     : selected     ? FColorRngSelFG
                                    : FColorNormal;
  TFontStyles styles = Font()->Style();
  if ((markA || markB) && FBoldMarks) styles.Include(fsBold);
  TColor background = selected ? FColorRngSelBG : C.Brush()->Color();
  if (FOnBeforeRenderCell) {
    TDestroyGuard guard(this);
    RaiseEvent(FOnBeforeRenderCell, this, c, r, text, textColor, background, styles);
    if (guard.Gone()) return;
  }
  C.Brush()->SetStyle(bsSolid);
  C.Brush()->SetColor(background);
  C.Font()->SetStyle(styles);
  C.Font()->SetColor(textColor);
  C.TextRect(R, R.Left + 2, R.Top + 1, text);
}

void TNTabEd::DrawFixedCell(TCanvas& C, int ACol, int ARow, TRect R) {
  if (R.Height() > 0) {
    ++R.Top;
    --R.Bottom;
  }
  if (R.Width() > 0) {
    ++R.Left;
    --R.Right;
  }
  const TGridRect sel = Selection();
  std::string text;
  int dy = 1;
  bool heading = true;    // a name or attribute cell
  bool current = false;   // of the current column or row
  if (ACol == 0 && ARow > FRowOffset) {
    text = RowName(ARow - FRowOffset);
    dy = 0;
    current = ARow == sel.Top;
  } else if (ACol == 1 && FColOffset == 1 && ARow > FRowOffset) {
    text = ARow - FRowOffset <= NrOfRows() ? std::to_string(RowAttrib(ARow - FRowOffset)) : std::string();
    current = ARow == sel.Top;
  } else if (ARow == 0 && ACol > FColOffset) {
    text = ColName(ACol - FColOffset);
    current = ACol == sel.Left;
  } else if (ARow == 1 && FRowOffset == 1 && ACol > FColOffset) {
    text = ACol - FColOffset <= NrOfColumns() ? std::to_string(ColAttrib(ACol - FColOffset)) : std::string();
    current = ACol == sel.Left;
  } else if (ARow == 0 && ACol == 1 && FColOffset == 1) {
    text = "Attrib";
    heading = false;
  } else if (ACol == 0 && ARow == 1 && FRowOffset == 1) {
    text = "Attribute";
    heading = false;
  } else {
    return;  // the cell where both attribute bands meet
  }
  if (heading) R.Right -= 2;
  const TFontStyles normal = Font()->Style();
  TFontStyles styles = normal;
  if (current && FBoldSelHeads) styles.Include(fsBold);
  C.Font()->SetStyle(styles);
  C.Font()->SetColor(current ? FColorSelected : FColorNormal);
  C.TextRect(R, R.Left + 2, R.Top + dy, text);
  C.Font()->SetStyle(normal);
}

void TNTabEd::DrawCornerText(TCanvas& C, const TRect& R) {
  C.Brush()->SetStyle(bsSolid);
  C.Font()->SetStyle(Font()->Style());
  if (FCommentMMActive) {
    C.Brush()->SetColor(CommentCornerBrush);
    C.Font()->SetColor(CommentCornerFont);
    C.TextRect(R, R.Left + 2, R.Top + 1, "Comment:");
    return;
  }
  const TGridRect sel = Selection();
  C.Brush()->SetColor(clWindow);
  C.Font()->SetColor(FColorNormal);
  C.TextRect(R, R.Left + 3, R.Top + 2,
             std::to_string(sel.Left - FColOffset) + ":" + std::to_string(sel.Top - FRowOffset));
}

// ---- automatic sizes ---------------------------------------------------------------------------

int TNTabEd::AutoColWidth(int ColNr, bool IncludeHeader, int Addon) {
  TCanvas& c = *Canvas();
  c.SetFont(Font());
  int width = 0;
  if (ColNr == -1) {
    width = c.TextWidth(IncludeHeader ? "Attrib" : "255");
  } else if (ColNr == 0) {
    width = c.TextWidth("999:9999");
    for (int r = 1; r <= NrOfRows(); ++r) width = std::max(width, c.TextWidth(RowName(r)));
  } else if (ColNr >= 1 && ColNr <= NrOfColumns()) {
    if (IncludeHeader) width = c.TextWidth(ColName(ColNr));
    width = std::max(width, c.TextWidth(std::to_string(ColAttrib(ColNr))));
    for (int r = 1; r <= NrOfRows(); ++r) width = std::max(width, c.TextWidth(DataCellText(ColNr, r)));
  }
  const int result = std::max(4, width + Addon + 8);
  SetColWidths(ColNr, result);
  return result;
}

int TNTabEd::AutoRowHeight(int RowNr, int Addon) {
  TCanvas& c = *Canvas();
  c.SetFont(Font());
  const int h = std::max(8, c.TextHeight("9GMg\xC3\x9C$\xC2\xA7[{|") + 2 + Addon);
  if (RowNr > 0) {
    if (RowNr <= NrOfRows()) SetRowHeights(RowNr + FRowOffset, h);
  } else if (RowNr == 0) {
    SetRowHeights(0, h);
  } else if (FRowOffset == 1) {
    SetRowHeights(1, h);
  }
  return h;
}

}  // namespace vorn
