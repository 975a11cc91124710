// The table editor's clipboard: Copy writes the selected block as text
// and keeps it for Paste; Extract from Clipboard reads numbers from any
// text into the table at the current cell.
//
// Clipboard text written by Copy, one line per row:
//
//    1.000<TAB>2.000<CR><LF>
//    3.000<TAB>####<CR><LF>
//
// (a blank before the first cell of a row, a tab before every further
// one, "####" for cells that hold no number). Reading takes any text:
// blanks, tabs and carriage returns separate numbers, line feeds end
// lines, "." and "," are decimal points, anything else is skipped.
#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>

#include "vorn/ntabed/ntabed.h"
#include "vorn/platform/runtime/application.h"

namespace vorn {

namespace {

// ---- the number scanner ----------------------------------------------------------------------

enum TCharClass : std::uint8_t { ccSep, ccBlank, ccSign, ccDigit, ccExp, ccOther };

constexpr int sFail = -1;
constexpr int sEnd = 0;
// Transitions of states 1..8 (start, after sign, integer digits, after
// point, fraction digits, after E, after exponent sign, exponent digits).
constexpr int Transitions[9][6] = {
    {sFail, sFail, sFail, sFail, sFail, sFail},  // (no state 0)
    {4, 1, 2, 3, sFail, sFail},                  // 1 start
    {4, sFail, sFail, 3, sFail, sFail},          // 2 after sign
    {4, sEnd, sEnd, 3, 6, sEnd},                 // 3 integer digits
    {sFail, sEnd, sEnd, 5, 6, sEnd},             // 4 after point
    {sFail, sEnd, sEnd, 5, 6, sEnd},             // 5 fraction digits
    {sFail, sFail, 7, 8, sFail, sEnd},           // 6 after E
    {sFail, sFail, sFail, 8, sFail, sEnd},       // 7 after exponent sign
    {sEnd, sEnd, sEnd, 8, sEnd, sEnd},           // 8 exponent digits
};

// Exponent digits stop being taken beyond this value: the value is then
// out of a double's range anyway.
constexpr int MaxExponentText = 4200;

constexpr TCharClass ClassOf(char Ch) {
  switch (Ch) {
    case '.':
    case ',': return ccSep;
    case ' ': return ccBlank;
    case '+':
    case '-': return ccSign;
    case 'E':
    case 'e': return ccExp;
    default: return Ch >= '0' && Ch <= '9' ? ccDigit : ccOther;
  }
}

constexpr std::array<TCharClass, 256> CharClasses = [] {
  std::array<TCharClass, 256> classes{};
  for (int i = 0; i < 256; ++i) classes[static_cast<std::size_t>(i)] = ClassOf(static_cast<char>(i));
  return classes;
}();

// The value of a number text the scanner accepted: an optional sign,
// digits with at most one point, and an exponent that may lack digits
// (then it counts as none). Values beyond a double's range become
// +-uc_MaxDouble or 0.
double ConvertSlow(std::string_view Text) {
  const std::size_t e = std::min(Text.find_first_of("Ee"), Text.size());
  std::string mantissa(Text.substr(0, e));
  std::string exponent(e < Text.size() ? Text.substr(e + 1) : std::string_view());
  bool negative = false;
  if (!mantissa.empty() && (mantissa.front() == '+' || mantissa.front() == '-')) {
    negative = mantissa.front() == '-';
    mantissa.erase(0, 1);
  }
  if (mantissa.find_first_of("0123456789") == std::string::npos) return 0;
  if (mantissa.front() == '.') mantissa.insert(0, 1, '0');
  if (mantissa.back() == '.') mantissa.push_back('0');
  if (exponent == "+" || exponent == "-") exponent.clear();
  if (!exponent.empty() && exponent.front() == '+') exponent.erase(0, 1);
  const std::string text = exponent.empty() ? mantissa : mantissa + "e" + exponent;
  double v = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    // Which side of the range: the decimal magnitude of the first
    // significant digit.
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    long magnitude = first < point ? static_cast<long>(point - first) - 1 : -static_cast<long>(first - point);
    magnitude += exponent.empty() ? 0 : std::strtol(exponent.c_str(), nullptr, 10);
    v = magnitude > 0 ? uc_MaxDouble : 0.0;
  } else if (result.ec != std::errc()) {
    v = 0;
  }
  v = std::clamp(v, -uc_MaxDouble, uc_MaxDouble);
  return negative ? -v : v;
}

bool IsDigit(char Ch) { return Ch >= '0' && Ch <= '9'; }

// The common case directly: digits first (after a minus) and last, so
// that the text is complete as it stands.
double ConvertNumberText(std::string_view Text) {
  const std::size_t first = !Text.empty() && Text.front() == '-' ? 1 : 0;
  if (Text.size() > first && IsDigit(Text[first]) && IsDigit(Text.back())) {
    double v = 0;
    const auto result = std::from_chars(Text.data(), Text.data() + Text.size(), v, std::chars_format::general);
    if (result.ec == std::errc() && result.ptr == Text.data() + Text.size()) return v;
  }
  return ConvertSlow(Text);
}

}  // namespace

double NTabScanNumber(std::string_view Text, std::size_t& Pos, bool& Ok) {
  // The number is read in place; a copy is made only when it needs one (a
  // comma as point, or exponent digits beyond the limit).
  std::size_t start = Pos;
  std::string copy;
  bool copied = false;
  int state = 1;
  int exponent = 0;
  for (;;) {
    const char ch = Pos < Text.size() ? Text[Pos] : 'Z';
    const TCharClass cls = CharClasses[static_cast<unsigned char>(ch)];
    const int next = Transitions[state][cls];
    if (next == sFail) {
      Ok = false;
      return 0;
    }
    if (next == sEnd) break;
    if (next == 1 && cls == ccBlank) {
      start = Pos + 1;  // leading blanks carry nothing
    } else {
      bool keep = true;
      if (next == 8) {
        exponent = std::min(exponent * 10 + (ch - '0'), MaxExponentText + 1);
        keep = exponent <= MaxExponentText;
      }
      if ((ch == ',' || !keep) && !copied) {
        copy.assign(Text.substr(start, Pos - start));
        copied = true;
      }
      if (copied && keep) copy += ch == ',' ? '.' : ch;
    }
    ++Pos;
    state = next;
  }
  Ok = true;
  return ConvertNumberText(copied ? std::string_view(copy) : Text.substr(start, Pos - start));
}

std::int64_t NTabScanClipText(std::string_view Text, const std::function<void(const TNTabClipCell&)>& Store) {
  // Tabs and carriage returns separate like blanks; a blank ends the text.
  std::string t(Text);
  std::replace(t.begin(), t.end(), '\t', ' ');
  std::replace(t.begin(), t.end(), '\r', ' ');
  t += ' ';
  const std::size_t last = t.size() - 1;
  auto canStart = [&t, last](std::size_t I) {
    const char ch = t[I];
    if (std::isdigit(static_cast<unsigned char>(ch))) return true;
    return I != last && (ch == '+' || ch == '-' || ch == '.');
  };
  std::size_t pos = 0;
  while (pos < t.size() && !canStart(pos)) ++pos;
  int line = 0;
  int n = 0;
  std::int64_t count = 0;
  auto passCharacter = [&t, &pos, &line, &n] {
    if (t[pos] == '\n') {
      ++line;
      n = 0;
    }
    ++pos;
  };
  while (pos < t.size()) {
    bool ok = false;
    const double v = NTabScanNumber(t, pos, ok);
    if (Store) Store({n, line, v});
    ++n;
    ++count;
    // Past the character that ended the number (a line feed there ends
    // the line too), then on to the next number.
    if (pos < t.size()) passCharacter();
    while (pos < t.size() && !canStart(pos)) passCharacter();
  }
  return count;
}

bool NTabClipMatrixSize(std::string_view Text, int& NCols, int& NRows) {
  NCols = 1;
  NRows = 1;
  int lastCol = 0;
  int lastLine = 0;
  const std::int64_t count = NTabScanClipText(Text, [&lastCol, &lastLine](const TNTabClipCell& Cell) {
    lastCol = std::max(lastCol, Cell.Col);
    lastLine = std::max(lastLine, Cell.Line);
  });
  if (count == 0) return false;
  NCols = lastCol + 1;
  NRows = lastLine + 1;
  return true;
}

// ---- the editor's clipboard commands ---------------------------------------------------------

bool TNTabEd::GetClipMatrixSize(int& NCols, int& NRows) {
  NCols = 1;
  NRows = 1;
  if (!Clipboard()->HasFormat(CF_TEXT)) return false;
  return NTabClipMatrixSize(Clipboard()->AsText(), NCols, NRows);
}

// A block too big for memory raises EVORNNTabedError and leaves the held
// copy and the clipboard as they were.
void TNTabEd::PopupMenuClickCopy(TObject*) {
  const TGridRect sel = Selection();
  const int c0 = std::max(sel.Left - FColOffset, 1);
  const int r0 = std::max(sel.Top - FRowOffset, 1);
  const int c1 = std::min(sel.Right - FColOffset, NrOfColumns());
  const int r1 = std::min(sel.Bottom - FRowOffset, NrOfRows());
  if (c1 < c0 || r1 < r0) return;
  std::string text;
  auto block = std::make_unique<TDataTable>(1, 1, nullptr);
  try {
    block->Resize(c1 - c0 + 1, r1 - r0 + 1);
    text.reserve(static_cast<std::size_t>(c1 - c0 + 1) * static_cast<std::size_t>(r1 - r0 + 1) *
                 (FClipUseFullPrec ? 31 : 10));
    for (int r = r0; r <= r1; ++r) {
      for (int c = c0; c <= c1; ++c) {
        const double v = FData->GetElem(c, r);
        block->SetElem(c - c0 + 1, r - r0 + 1, v);
        block->SetCellState(c - c0 + 1, r - r0 + 1, FData->GetCellState(c, r));
        text += c == c0 ? ' ' : '\t';
        if (!FData->GetIsNumber(c, r)) {
          text += "####";
        } else if (FClipUseFullPrec) {
          text += NTabNumText(v, 22, -1);
        } else {
          text += NTabNumText(v, 1, DecimalsOf(c));
        }
      }
      text += "\r\n";
    }
  } catch (const std::bad_alloc&) {
    throw EVORNNTabedError(ComponentMessage("not enough memory on heap"));
  } catch (const std::length_error&) {
    throw EVORNNTabedError(ComponentMessage("not enough memory on heap"));
  } catch (const EVORNError&) {
    throw EVORNNTabedError(ComponentMessage("not enough memory on heap"));
  }
  FDataCopy = std::move(block);
  Clipboard()->SetAsText(text);
  FDataCopyAvail = true;
}

void TNTabEd::PopupMenuClickPaste(TObject*) {
  if (!FDataCopyAvail) return;
  const TGridRect sel = Selection();
  const int c0 = sel.Left - FColOffset;
  const int r0 = sel.Top - FRowOffset;
  const int w = FDataCopy->NrOfColumns();
  const int h = FDataCopy->NrOfRows();
  {
    TBulk bulk(*this);
    for (int j = 1; j <= h; ++j) {
      for (int i = 1; i <= w; ++i) {
        const int c = c0 + i - 1;
        const int r = r0 + j - 1;
        if (c < 1 || c > NrOfColumns() || r < 1 || r > NrOfRows()) continue;
        FData->SetElem(c, r, FDataCopy->GetElem(i, j));
        FData->SetCellState(c, r, FDataCopy->GetCellState(i, j));
      }
    }
  }
  TDestroyGuard guard(this);
  SetSelection({sel.Left, sel.Top, sel.Left + w - 1, sel.Top + h - 1});
  if (guard.Gone()) return;
  TrackSelection();
  if (guard.Gone()) return;
  Redraw();
  ChangedData();
  if (guard.Gone()) return;
  ChangedCellStates();
  if (!guard.Gone()) RaiseEvent(FOnPaste, this);
}

// Every cell written becomes a number (its empty and invalid bits go, its
// marks stay): a value behind an "empty" state would be data nobody sees.
// The selection then covers the block written.
void TNTabEd::PopupMenuClickExtClip(TObject*) {
  if (!Clipboard()->HasFormat(CF_TEXT)) return;
  const std::string text = Clipboard()->AsText();
  const TGridRect sel = Selection();
  const int c0 = sel.Left - FColOffset;
  const int r0 = sel.Top - FRowOffset;
  int right = c0;
  int bottom = r0;
  {
    TBulk bulk(*this);
    const int cols = NrOfColumns();
    const int rows = NrOfRows();
    NTabScanClipText(text, [&](const TNTabClipCell& Cell) {
      const std::int64_t c = static_cast<std::int64_t>(c0) + Cell.Col;
      const std::int64_t r = static_cast<std::int64_t>(r0) + Cell.Line;
      if (c < 1 || c > cols || r < 1 || r > rows) return;
      FData->SetElem(static_cast<int>(c), static_cast<int>(r), Cell.Value);
      right = std::max(right, static_cast<int>(c));
      bottom = std::max(bottom, static_cast<int>(r));
    });
  }
  TDestroyGuard guard(this);
  Redraw();
  ChangedData();
  if (guard.Gone()) return;
  RaiseEvent(FOnPaste, this);
  if (guard.Gone()) return;
  SetSelection({sel.Left, sel.Top, right + FColOffset, bottom + FRowOffset});
  if (!guard.Gone()) TrackSelection();
}

}  // namespace vorn
