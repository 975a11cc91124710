#include "vorn/platform/stdctrls/memo.h"

#include <algorithm>

#include "vorn/platform/runtime/utf8.h"
#include "vorn/platform/stdctrls/bevels.h"

namespace vorn {

namespace {

constexpr unsigned kBlinkMs = 500;
constexpr int kWheelRows = 3;
constexpr int kTabBlanks = 4;

// Line breaks of any kind become "\n".
std::u32string NormalizeBreaks(std::u32string_view Text) {
  std::u32string out;
  out.reserve(Text.size());
  for (std::size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == '\r') {
      out.push_back('\n');
      if (i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
    } else {
      out.push_back(Text[i]);
    }
  }
  return out;
}

// What a row shows: tabs as blanks, so that widths add up.
std::string Shown(std::u32string_view Chars) {
  std::string out;
  for (char32_t c : Chars) {
    if (c == '\t') {
      out.append(kTabBlanks, ' ');
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}

}  // namespace

// ---- lines ---------------------------------------------------------------------------------

const std::vector<std::u32string>& TMemoLines::Split() const {
  if (FSplitValid) return FSplit;
  std::vector<std::u32string>& lines = FSplit;
  lines.clear();
  FSplitValid = true;
  const std::u32string& chars = FMemo.FChars;
  if (chars.empty()) return lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = chars.find(U'\n', start);
    lines.push_back(chars.substr(start, end == std::u32string::npos ? std::u32string::npos : end - start));
    if (end == std::u32string::npos) break;
    start = end + 1;
    // A break at the very end closes the last line; it opens no new one.
    if (start == chars.size()) break;
  }
  return lines;
}

void TMemoLines::Join(const std::vector<std::u32string>& Lines) {
  std::u32string text;
  for (std::size_t i = 0; i < Lines.size(); ++i) {
    if (i > 0) text.push_back('\n');
    text += NormalizeBreaks(Lines[i]);
  }
  FMemo.AssignChars(std::move(text));
}

int TMemoLines::Count() const { return static_cast<int>(Split().size()); }

std::string TMemoLines::Strings(int Index) const {
  const auto& lines = Split();
  if (Index < 0 || Index >= static_cast<int>(lines.size())) return "";
  return U32ToUtf8(lines[static_cast<std::size_t>(Index)]);
}

void TMemoLines::SetStrings(int Index, const std::string& Value) {
  auto lines = Split();
  if (Index < 0 || Index >= static_cast<int>(lines.size())) return;
  lines[static_cast<std::size_t>(Index)] = Utf8ToU32(Value);
  Join(lines);
}

int TMemoLines::Add(const std::string& Value) {
  auto lines = Split();
  lines.push_back(Utf8ToU32(Value));
  Join(lines);
  return static_cast<int>(lines.size()) - 1;
}

void TMemoLines::Insert(int Index, const std::string& Value) {
  auto lines = Split();
  Index = std::clamp(Index, 0, static_cast<int>(lines.size()));
  lines.insert(lines.begin() + Index, Utf8ToU32(Value));
  Join(lines);
}

void TMemoLines::Delete(int Index) {
  auto lines = Split();
  if (Index < 0 || Index >= static_cast<int>(lines.size())) return;
  lines.erase(lines.begin() + Index);
  Join(lines);
}

void TMemoLines::Clear() { FMemo.AssignChars({}); }

std::string TMemoLines::Text() const { return FMemo.Text(); }

void TMemoLines::SetText(const std::string& Value) { FMemo.SetText(Value); }

// ---- the memo -------------------------------------------------------------------------------

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomControl(AOwner), FLines(*this) {
  SetBounds(0, 0, 185, 89);
  SetTabStop(true);
  SetColor(clWindow);
  SetCursor(crIBeam);
  FControlStyle.Include(csOpaque);
  FCaretWindow = AllocateHWnd([this](TMessage& m) {
    if (m.Msg != WM_TIMER) {
      m.Result = DefWindowProc(FCaretWindow, m.Msg, m.WParam, m.LParam);
      return;
    }
    FCaretShown = !FCaretShown && Focused();
    if (!Focused()) StopCaret();
    Invalidate();
  });
}

TCustomMemo::~TCustomMemo() { DeallocateHWnd(FCaretWindow); }

void TCustomMemo::SetText(const std::string& Value) { AssignChars(NormalizeBreaks(Utf8ToU32(Value))); }

void TCustomMemo::AssignChars(std::u32string NewText) {
  if (NewText == FChars) return;
  FChars = std::move(NewText);
  FLines.TextChanged();
  FSelStart = 0;
  FSelLength = 0;
  FCaretAtStart = false;
  FWantX = -1;
  FTopRow = 0;
  FScrollX = 0;
  FUndo.Reset();
  InvalidateRows();
  TCustomControl::SetText(U32ToUtf8(FChars));
  Invalidate();
  Change();
}

void TCustomMemo::Change() { RaiseEvent(FOnChange, this); }

void TCustomMemo::Edit(const std::u32string& NewText, int CaretPos, bool Typed) {
  if (NewText == FChars) {
    MoveCaret(CaretPos, false);
    return;
  }
  FUndo.Record(FChars, Caret(), Typed);
  FChars = NewText;
  FLines.TextChanged();
  FSelStart = std::clamp(CaretPos, 0, static_cast<int>(FChars.size()));
  FSelLength = 0;
  FCaretAtStart = false;
  FWantX = -1;
  FModified = true;
  InvalidateRows();
  TCustomControl::SetText(U32ToUtf8(FChars));
  ScrollToCaret();
  RestartCaret();
  Invalidate();
  Change();
}

void TCustomMemo::ReplaceSelection(std::u32string Insert, bool Typed) {
  Insert = NormalizeBreaks(Insert);
  if (!FitToLimit(Insert, static_cast<int>(FChars.size()), FSelLength, FMaxLength)) return;
  std::u32string next = FChars;
  next.replace(static_cast<std::size_t>(FSelStart), static_cast<std::size_t>(FSelLength), Insert);
  Edit(next, FSelStart + static_cast<int>(Insert.size()), Typed);
}

void TCustomMemo::DeleteRange(int From, int To) {
  From = std::clamp(From, 0, static_cast<int>(FChars.size()));
  To = std::clamp(To, From, static_cast<int>(FChars.size()));
  if (From == To) return;
  std::u32string next = FChars;
  next.erase(static_cast<std::size_t>(From), static_cast<std::size_t>(To - From));
  Edit(next, From);
}

void TCustomMemo::SetSelStart(int Value) { MoveCaret(Value, false); }

void TCustomMemo::SetSelLength(int Value) {
  FUndo.EndRun();
  const int size = static_cast<int>(FChars.size());
  if (Value < 0) {
    const int start = std::max(0, FSelStart + Value);
    FSelLength = FSelStart - start;
    FSelStart = start;
    FCaretAtStart = true;
  } else {
    FSelLength = std::min(Value, size - FSelStart);
    FCaretAtStart = false;
  }
  ScrollToCaret();
  Invalidate();
}

std::string TCustomMemo::SelText() const {
  return U32ToUtf8(std::u32string_view(FChars).substr(static_cast<std::size_t>(FSelStart),
                                                       static_cast<std::size_t>(FSelLength)));
}

void TCustomMemo::SetSelText(const std::string& Value) { ReplaceSelection(Utf8ToU32(Value), false); }

void TCustomMemo::SelectAll() {
  FUndo.EndRun();
  FSelStart = 0;
  FSelLength = static_cast<int>(FChars.size());
  FCaretAtStart = false;
  Invalidate();
}

void TCustomMemo::ClearSelection() {
  if (FSelLength > 0 && !FReadOnly) SetSelText("");
}

void TCustomMemo::CopyToClipboard() {
  if (FSelLength > 0) Clipboard()->SetAsText(SelText());
}

void TCustomMemo::CutToClipboard() {
  if (FReadOnly) return;
  CopyToClipboard();
  ClearSelection();
}

void TCustomMemo::PasteFromClipboard() {
  if (FReadOnly || !Clipboard()->HasFormat(CF_TEXT)) return;
  SetSelText(Clipboard()->AsText());
}

void TCustomMemo::Undo() {
  if (!FUndo.CanUndo() || FReadOnly) return;
  const std::u32string text = FUndo.Text();
  Edit(text, FUndo.Caret());
}

TPoint TCustomMemo::CaretPos() const {
  const int caret = Caret();
  int line = 0, lineStart = 0;
  for (int i = 0; i < caret; ++i) {
    if (FChars[static_cast<std::size_t>(i)] == '\n') {
      ++line;
      lineStart = i + 1;
    }
  }
  return {caret - lineStart, line};
}

void TCustomMemo::MoveCaret(int Pos, bool Extend, bool KeepColumn) {
  Pos = std::clamp(Pos, 0, static_cast<int>(FChars.size()));
  const int anchor = Extend ? Anchor() : Pos;
  FSelStart = std::min(anchor, Pos);
  FSelLength = std::abs(Pos - anchor);
  FCaretAtStart = Pos < anchor;
  if (!KeepColumn) FWantX = -1;
  FUndo.EndRun();
  ScrollToCaret();
  RestartCaret();
  Invalidate();
}

bool TCustomMemo::InWord(int Pos) const { return IsWordChar(FChars[static_cast<std::size_t>(Pos)]); }

// ---- settings --------------------------------------------------------------------------------

void TCustomMemo::SetReadOnly(bool Value) {
  if (Value == FReadOnly) return;
  FReadOnly = Value;
  Invalidate();
}

void TCustomMemo::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  FScrollX = 0;
  InvalidateRows();
  ScrollToCaret();
  Invalidate();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
  if (Value == FScrollBars) return;
  FScrollBars = Value;
  InvalidateRows();
  ScrollToCaret();
  Invalidate();
}

void TCustomMemo::SetHideSelection(bool Value) {
  if (Value == FHideSelection) return;
  FHideSelection = Value;
  Invalidate();
}

void TCustomMemo::SetBorderStyle(TBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  InvalidateRows();
  Invalidate();
}

void TCustomMemo::CMEnabledChanged(TMessage& Message) {
  if (!Enabled()) StopCaret();
  TCustomControl::CMEnabledChanged(Message);
}

void TCustomMemo::CMFontChanged(TMessage& Message) {
  FScrollX = 0;
  InvalidateRows();
  TCustomControl::CMFontChanged(Message);
}

void TCustomMemo::Resize() {
  InvalidateRows();
  SetTopRow(FTopRow);
  TCustomControl::Resize();
}

// ---- rows ----------------------------------------------------------------------------------------

TRect TCustomMemo::TextArea() const {
  const int b = FBorderStyle == bsSingleBorder ? 2 : 0;
  const int right = Width() - b - (HasVertBar() ? ScrollBarSize : 0);
  const int bottom = Height() - b - (HasHorzBar() ? ScrollBarSize : 0);
  return {b + 1, b, std::max(b + 1, right - 1), std::max(b, bottom)};
}

int TCustomMemo::LineHeight() const { return std::max(1, MeasuringCanvas(Font()).TextHeight("Ag")); }

void TCustomMemo::InvalidateRows() {
  FRowsWidth = -1;
  FWidest = -1;
}

const std::vector<TCustomMemo::TRow>& TCustomMemo::Rows() const {
  const int width = FWordWrap ? std::max(1, TextArea().Width() - 2) : 0;
  if (FRowsWidth != width) BuildRows(width);
  return FRows;
}

// Width 0: one row per line. Otherwise each line is cut into rows that
// fit: after the last blank that fits, or where the width runs out when a
// word is longer than a row; every row keeps at least one character.
void TCustomMemo::BuildRows(int Width) const {
  FRows.clear();
  FRowsWidth = Width;
  FWidest = -1;
  const int size = static_cast<int>(FChars.size());
  int start = 0;
  for (;;) {
    int end = start;
    while (end < size && FChars[static_cast<std::size_t>(end)] != '\n') ++end;
    int rowStart = start;
    while (Width > 0 && rowStart < end && RowWidth({rowStart, end}, end - rowStart) > Width) {
      const TRow rest{rowStart, end};
      int fit = std::max(1, ColumnAtX(rest, Width + 1));
      while (fit > 1 && RowWidth(rest, fit) > Width) --fit;
      int cut = rowStart + fit;
      // A blank just past the fitting part may end the row as well.
      for (int i = std::min(cut + 1, end); i > rowStart; --i) {
        if (FChars[static_cast<std::size_t>(i - 1)] == ' ' || FChars[static_cast<std::size_t>(i - 1)] == '\t') {
          cut = i;
          break;
        }
      }
      FRows.push_back({rowStart, cut});
      rowStart = cut;
    }
    FRows.push_back({rowStart, end});
    if (end >= size) break;
    start = end + 1;
  }
}

int TCustomMemo::RowCount() const { return static_cast<int>(Rows().size()); }

int TCustomMemo::RowOf(int Pos) const {
  const auto& rows = Rows();
  const auto it = std::upper_bound(rows.begin(), rows.end(), Pos, [](int p, const TRow& r) { return p < r.Start; });
  return std::max(0, static_cast<int>(it - rows.begin()) - 1);
}

std::string TCustomMemo::RowText(const TRow& Row, int Count) const {
  Count = std::clamp(Count, 0, Row.End - Row.Start);
  return Shown(std::u32string_view(FChars).substr(static_cast<std::size_t>(Row.Start), static_cast<std::size_t>(Count)));
}

int TCustomMemo::RowWidth(const TRow& Row, int Count) const {
  return MeasuringCanvas(Font()).TextWidth(RowText(Row, Count));
}

// The column nearest to X (pixels from the row's start).
int TCustomMemo::ColumnAtX(const TRow& Row, int X) const {
  int lo = 0, hi = Row.End - Row.Start;
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    const int a = RowWidth(Row, mid), b = RowWidth(Row, mid + 1);
    if (X < (a + b + 1) / 2) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return lo;
}

// Measured once per change of text, font or box: the scroll range needs
// it on every paint and caret move.
int TCustomMemo::WidestRow() const {
  const auto& rows = Rows();
  if (FWidest >= 0) return FWidest;
  int widest = 0;
  for (const TRow& row : rows) widest = std::max(widest, RowWidth(row, row.End - row.Start));
  FWidest = widest;
  return widest;
}

int TCustomMemo::VisibleRows() const { return std::max(1, TextArea().Height() / LineHeight()); }

TPoint TCustomMemo::PointOfChar(int Pos) const {
  Pos = std::clamp(Pos, 0, static_cast<int>(FChars.size()));
  const int row = RowOf(Pos);
  const TRow& r = Rows()[static_cast<std::size_t>(row)];
  const TRect area = TextArea();
  return {area.Left + 1 - FScrollX + RowWidth(r, Pos - r.Start), area.Top + (row - FTopRow) * LineHeight()};
}

int TCustomMemo::CharAtPoint(int X, int Y) const {
  const TRect area = TextArea();
  const auto& rows = Rows();
  const int dy = Y - area.Top;
  const int row = std::clamp(FTopRow + (dy < 0 ? -1 : dy / LineHeight()), 0, static_cast<int>(rows.size()) - 1);
  const TRow& r = rows[static_cast<std::size_t>(row)];
  return r.Start + ColumnAtX(r, X - (area.Left + 1 - FScrollX));
}

// ---- scrolling ---------------------------------------------------------------------------------

bool TCustomMemo::HasHorzBar() const { return !FWordWrap && (FScrollBars == ssHorizontal || FScrollBars == ssBoth); }

int TCustomMemo::MaxTopRow() const { return std::max(0, RowCount() - VisibleRows()); }

int TCustomMemo::MaxScrollX() const {
  if (FWordWrap) return 0;
  return std::max(0, WidestRow() + 3 - TextArea().Width());
}

void TCustomMemo::SetTopRow(int Value) {
  Value = std::clamp(Value, 0, MaxTopRow());
  if (Value == FTopRow) return;
  FTopRow = Value;
  Invalidate();
}

void TCustomMemo::SetScrollX(int Value) {
  Value = std::clamp(Value, 0, MaxScrollX());
  if (Value == FScrollX) return;
  FScrollX = Value;
  Invalidate();
}

void TCustomMemo::ScrollToCaret() {
  const TRect area = TextArea();
  if (area.IsEmpty()) return;
  const int row = RowOf(Caret());
  if (row < FTopRow) FTopRow = row;
  if (row >= FTopRow + VisibleRows()) FTopRow = row - VisibleRows() + 1;
  FTopRow = std::clamp(FTopRow, 0, MaxTopRow());
  if (FWordWrap) {
    FScrollX = 0;
    return;
  }
  const int x = PointOfChar(Caret()).X;
  if (x < area.Left + 1) FScrollX -= area.Left + 1 - x;
  if (x > area.Right - 2) FScrollX += x - (area.Right - 2);
  FScrollX = std::clamp(FScrollX, 0, MaxScrollX());
}

TRect TCustomMemo::VertBarRect() const {
  if (!HasVertBar()) return {0, 0, 0, 0};
  const int b = FBorderStyle == bsSingleBorder ? 2 : 0;
  return {Width() - b - ScrollBarSize, b, Width() - b, Height() - b - (HasHorzBar() ? ScrollBarSize : 0)};
}

TRect TCustomMemo::HorzBarRect() const {
  if (!HasHorzBar()) return {0, 0, 0, 0};
  const int b = FBorderStyle == bsSingleBorder ? 2 : 0;
  return {b, Height() - b - ScrollBarSize, Width() - b - (HasVertBar() ? ScrollBarSize : 0), Height() - b};
}

TScrollBarState TCustomMemo::VertBar() const {
  return {VertBarRect(), true, FTopRow, MaxTopRow(), VisibleRows()};
}

TScrollBarState TCustomMemo::HorzBar() const {
  return {HorzBarRect(), false, FScrollX, MaxScrollX(), TextArea().Width()};
}

// A press on a scroll bar: arrows step a row (or a few pixels), the track
// a page, the thumb starts dragging. True when the press was on a bar.
bool TCustomMemo::BarMouseDown(TPoint P) {
  const TRect vbar = VertBarRect(), hbar = HorzBarRect();
  if (vbar.Contains(P)) {
    const TScrollBarState bar = VertBar();
    const TRect thumb = ScrollBarThumb(bar);
    switch (ScrollBarPartAt(bar, P)) {
      case TScrollBarPart::LineUp: SetTopRow(FTopRow - 1); break;
      case TScrollBarPart::LineDown: SetTopRow(FTopRow + 1); break;
      case TScrollBarPart::PageUp: SetTopRow(FTopRow - VisibleRows()); break;
      case TScrollBarPart::PageDown: SetTopRow(FTopRow + VisibleRows()); break;
      case TScrollBarPart::Thumb:
        FThumbDrag = 1;
        FThumbGrab = P.Y - thumb.Top;
        break;
      default: break;
    }
    return true;
  }
  if (hbar.Contains(P)) {
    const TScrollBarState bar = HorzBar();
    const TRect thumb = ScrollBarThumb(bar);
    const int step = std::max(1, LineHeight());
    const int page = std::max(1, TextArea().Width() - step);
    switch (ScrollBarPartAt(bar, P)) {
      case TScrollBarPart::LineUp: SetScrollX(FScrollX - step); break;
      case TScrollBarPart::LineDown: SetScrollX(FScrollX + step); break;
      case TScrollBarPart::PageUp: SetScrollX(FScrollX - page); break;
      case TScrollBarPart::PageDown: SetScrollX(FScrollX + page); break;
      case TScrollBarPart::Thumb:
        FThumbDrag = 2;
        FThumbGrab = P.X - thumb.Left;
        break;
      default: break;
    }
    return true;
  }
  return false;
}

bool TCustomMemo::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  TDestroyGuard guard(this);
  if (TCustomControl::DoMouseWheelDown(Shift, MousePos) || guard.Gone()) return true;
  SetTopRow(FTopRow + kWheelRows);
  return true;
}

bool TCustomMemo::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  TDestroyGuard guard(this);
  if (TCustomControl::DoMouseWheelUp(Shift, MousePos) || guard.Gone()) return true;
  SetTopRow(FTopRow - kWheelRows);
  return true;
}

// ---- caret and focus ------------------------------------------------------------------------

void TCustomMemo::RestartCaret() {
  if (!Focused()) return;
  FCaretShown = true;
  KillTimer(FCaretWindow, 1);
  SetTimer(FCaretWindow, 1, kBlinkMs, nullptr);
}

void TCustomMemo::StopCaret() {
  KillTimer(FCaretWindow, 1);
  FCaretShown = false;
}

void TCustomMemo::WMSetFocus(TMessage& Message) {
  TCustomControl::WMSetFocus(Message);
  RestartCaret();
  Invalidate();
}

void TCustomMemo::WMKillFocus(TMessage& Message) {
  TCustomControl::WMKillFocus(Message);
  StopCaret();
  FSelecting = false;
  FThumbDrag = 0;
  FUndo.EndRun();
  Invalidate();
}

void TCustomMemo::WMGetDlgCode(TMessage& Message) {
  Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (FWantTabs) Message.Result |= DLGC_WANTTAB;
  if (FWantReturns) Message.Result |= DLGC_WANTRETURN;
}

TPoint TCustomMemo::KeyboardPopupPoint() const {
  const TPoint p = PointOfChar(Caret());
  const TRect area = TextArea();
  return {std::clamp(p.X, area.Left, std::max(area.Left, area.Right - 1)),
          std::clamp(p.Y + LineHeight(), area.Top, std::max(area.Top, area.Bottom - 1))};
}

// ---- input -----------------------------------------------------------------------------------------

void TCustomMemo::KeyDown(Word& Key, TShiftState Shift) {
  TDestroyGuard guard(this);
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0 || guard.Gone()) return;
  const bool shift = Shift.Contains(ssShift);
  const bool ctrl = Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
  const int caret = Caret();
  const auto& rows = Rows();
  const int row = RowOf(caret);
  const TRow& r = rows[static_cast<std::size_t>(row)];
  const auto inWord = [this](int P) { return InWord(P); };
  // Up, Down and the page keys keep the column the caret had in pixels.
  const auto toRow = [&](int target) {
    target = std::clamp(target, 0, static_cast<int>(rows.size()) - 1);
    if (FWantX < 0) FWantX = RowWidth(r, caret - r.Start);
    const TRow& t = rows[static_cast<std::size_t>(target)];
    MoveCaret(t.Start + ColumnAtX(t, FWantX), shift, true);
  };
  switch (Key) {
    case VK_LEFT:
      if (!shift && FSelLength > 0) {
        MoveCaret(FSelStart, false);
      } else {
        MoveCaret(ctrl ? WordStartBefore(caret, inWord) : caret - 1, shift);
      }
      break;
    case VK_RIGHT:
      if (!shift && FSelLength > 0) {
        MoveCaret(FSelStart + FSelLength, false);
      } else {
        MoveCaret(ctrl ? WordEndAfter(caret, static_cast<int>(FChars.size()), inWord) : caret + 1, shift);
      }
      break;
    case VK_UP: toRow(row - 1); break;
    case VK_DOWN: toRow(row + 1); break;
    case VK_PRIOR:
      SetTopRow(FTopRow - VisibleRows());
      toRow(row - VisibleRows());
      break;
    case VK_NEXT:
      SetTopRow(FTopRow + VisibleRows());
      toRow(row + VisibleRows());
      break;
    case VK_HOME: MoveCaret(ctrl ? 0 : r.Start, shift); break;
    case VK_END: MoveCaret(ctrl ? static_cast<int>(FChars.size()) : r.End, shift); break;
    case VK_DELETE:
      if (FReadOnly) break;
      if (shift) {
        CutToClipboard();
      } else if (FSelLength > 0) {
        ClearSelection();
      } else {
        DeleteRange(caret, caret + 1);
      }
      break;
    case VK_INSERT:
      if (ctrl) CopyToClipboard();
      if (shift) PasteFromClipboard();
      break;
    default:
      if (!ctrl) return;
      if (Key == 'A') SelectAll();
      if (Key == 'C') CopyToClipboard();
      if (Key == 'X') CutToClipboard();
      if (Key == 'V') PasteFromClipboard();
      if (Key == 'Z') Undo();
      return;
  }
  Key = 0;
}

void TCustomMemo::KeyPress(char32_t& Key) {
  TDestroyGuard guard(this);
  TCustomControl::KeyPress(Key);
  if (Key == 0 || guard.Gone() || FReadOnly) return;
  if (Key == 8) {
    if (FSelLength > 0) {
      ClearSelection();
    } else {
      DeleteRange(Caret() - 1, Caret());
    }
    return;
  }
  if (Key == '\r' || Key == '\n') {
    if (FWantReturns) ReplaceSelection(U"\n", false);
    return;
  }
  if (Key == '\t') {
    if (FWantTabs) ReplaceSelection(U"\t", true);
    return;
  }
  if (Key < 32 || Key == 127) return;  // other control characters type nothing
  ReplaceSelection(std::u32string(1, Key), true);
}

void TCustomMemo::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDestroyGuard guard(this);
  if (Button == mbLeft) {
    if (!Focused() && CanFocus()) SetFocus();
    if (guard.Gone()) return;
    if (!BarMouseDown({X, Y}) && !Shift.Contains(ssDouble)) {
      FSelecting = true;
      MoveCaret(CharAtPoint(X, Y), Shift.Contains(ssShift));
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomMemo::MouseMove(TShiftState Shift, int X, int Y) {
  if (FThumbDrag == 1) {
    SetTopRow(ScrollBarPositionAt(VertBar(), Y - FThumbGrab));
  } else if (FThumbDrag == 2) {
    SetScrollX(ScrollBarPositionAt(HorzBar(), X - FThumbGrab));
  } else if (FSelecting) {
    // Dragging past the top or bottom scrolls, as MoveCaret follows the caret.
    MoveCaret(CharAtPoint(X, Y), true);
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomMemo::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    FSelecting = false;
    FThumbDrag = 0;
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomMemo::DblClick() {
  int start = 0, end = 0;
  WordAround(Caret(), static_cast<int>(FChars.size()), [this](int P) { return InWord(P); }, start, end);
  FUndo.EndRun();
  FSelStart = start;
  FSelLength = end - start;
  FCaretAtStart = false;
  FSelecting = false;
  Invalidate();
  TCustomControl::DblClick();
}

// ---- painting ----------------------------------------------------------------------------------------

void TCustomMemo::Paint() {
  TCanvas& c = *Canvas();
  TRect r = ClientRect();
  if (FBorderStyle == bsSingleBorder) {
    Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
    Frame3D(c, r, cl3DDkShadow, cl3DLight, 1);
  }
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->SetColor(Enabled() ? Color() : clBtnFace);
  c.FillRect(r);
  if (HasVertBar()) PaintScrollBar(c, VertBar());
  if (HasHorzBar()) PaintScrollBar(c, HorzBar());
  if (HasVertBar() && HasHorzBar()) {
    const TRect v = VertBarRect();
    c.Brush()->SetColor(clBtnFace);
    c.FillRect({v.Left, v.Bottom, v.Right, v.Bottom + ScrollBarSize});
  }
  const TRect area = TextArea();
  const TRect savedClip = c.ClipRect();
  const TRect clip = IntersectRect(area, savedClip);
  c.SetClipRect(clip);
  c.SetFont(Font());
  const TColor textColor = Enabled() ? Font()->Color() : clGrayText;
  const int lineHeight = LineHeight();
  const auto& rows = Rows();
  const bool showSelection = FSelLength > 0 && (Focused() || !FHideSelection);
  const int x0 = area.Left + 1 - FScrollX;
  // Only the rows in the box are measured and drawn.
  const int last = std::min(static_cast<int>(rows.size()), FTopRow + VisibleRows() + 1);
  for (int i = FTopRow; i < last; ++i) {
    const TRow& row = rows[static_cast<std::size_t>(i)];
    const int y = area.Top + (i - FTopRow) * lineHeight;
    const std::string text = RowText(row, row.End - row.Start);
    c.Font()->SetColor(textColor);
    c.Brush()->SetStyle(bsClear);
    c.TextOut(x0, y, text);
    if (!showSelection) continue;
    const int from = std::max(FSelStart, row.Start), to = std::min(FSelStart + FSelLength, row.End);
    // A selected line break shows as a little room after the row.
    const bool breakSelected = row.End < FSelStart + FSelLength && row.End >= FSelStart &&
                               row.End < static_cast<int>(FChars.size()) && FChars[static_cast<std::size_t>(row.End)] == '\n';
    if (from > to || (from == to && !breakSelected)) continue;
    const int xa = x0 + RowWidth(row, from - row.Start);
    const int xb = x0 + RowWidth(row, to - row.Start) + (breakSelected ? lineHeight / 3 : 0);
    const TRect sel{xa, y, xb, y + lineHeight};
    c.Brush()->SetStyle(bsSolid);
    c.Brush()->SetColor(Focused() ? clHighlight : clBtnFace);
    c.FillRect(sel);
    c.SetClipRect(IntersectRect(sel, clip));
    c.Font()->SetColor(Focused() ? clHighlightText : clWindowText);
    c.Brush()->SetStyle(bsClear);
    c.TextOut(x0, y, text);
    c.SetClipRect(clip);
  }
  if (Focused() && FCaretShown) {
    const TPoint p = PointOfChar(Caret());
    c.Pen()->SetColor(clWindowText);
    c.MoveTo(p.X, p.Y);
    c.LineTo(p.X, p.Y + lineHeight);
  }
  c.SetClipRect(savedClip);
}

}  // namespace vorn
