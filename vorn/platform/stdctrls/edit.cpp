#include "vorn/platform/stdctrls/edit.h"

#include <algorithm>

#include "vorn/platform/runtime/utf8.h"
#include "vorn/platform/stdctrls/bevels.h"

namespace vorn {

namespace {

constexpr unsigned kBlinkMs = 500;

bool IsWordChar(char32_t c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}

}  // namespace

TCustomEdit::TCustomEdit(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 121, 21);
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

TCustomEdit::~TCustomEdit() { DeallocateHWnd(FCaretWindow); }

// ---- text and selection --------------------------------------------------------

void TCustomEdit::SetText(const std::string& Value) {
  if (Value == Text()) return;
  FChars = Utf8ToU32(Value);
  FSelStart = 0;
  FSelLength = 0;
  FScrollX = 0;
  FCanUndo = false;
  TCustomControl::SetText(U32ToUtf8(FChars));
  Change();
}

void TCustomEdit::Change() {
  RaiseEvent(FOnChange, this);
}

int TCustomEdit::Caret() const { return FCaretAtStart ? FSelStart : FSelStart + FSelLength; }
int TCustomEdit::Anchor() const { return FCaretAtStart ? FSelStart + FSelLength : FSelStart; }

void TCustomEdit::SetSelStart(int Value) {
  FTypingRun = false;
  FSelStart = std::clamp(Value, 0, static_cast<int>(FChars.size()));
  FSelLength = 0;
  FCaretAtStart = false;
  ScrollToCaret();
  Invalidate();
}

void TCustomEdit::SetSelLength(int Value) {
  FTypingRun = false;
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

std::string TCustomEdit::SelText() const {
  return U32ToUtf8(std::u32string_view(FChars).substr(static_cast<std::size_t>(FSelStart),
                                                       static_cast<std::size_t>(FSelLength)));
}

void TCustomEdit::MoveCaret(int Pos, bool Extend) {
  Pos = std::clamp(Pos, 0, static_cast<int>(FChars.size()));
  const int anchor = Extend ? Anchor() : Pos;
  FSelStart = std::min(anchor, Pos);
  FSelLength = std::abs(Pos - anchor);
  FCaretAtStart = Pos < anchor;
  FTypingRun = false;
  ScrollToCaret();
  RestartCaret();
  Invalidate();
}

void TCustomEdit::Edit(const std::u32string& NewText, int CaretPos, bool Typed) {
  if (NewText == FChars) {
    MoveCaret(CaretPos, false);
    return;
  }
  if (!Typed || !FTypingRun) {
    FUndoText = FChars;
    FUndoCaret = Caret();
  }
  FTypingRun = Typed;
  FCanUndo = true;
  FChars = NewText;
  FSelStart = std::clamp(CaretPos, 0, static_cast<int>(FChars.size()));
  FSelLength = 0;
  FCaretAtStart = false;
  FModified = true;
  TCustomControl::SetText(U32ToUtf8(FChars));
  ScrollToCaret();
  RestartCaret();
  Change();
}

void TCustomEdit::SetSelText(const std::string& Value) { ReplaceSelection(Utf8ToU32(Value), false); }

void TCustomEdit::ReplaceSelection(std::u32string Insert, bool Typed) {
  // A single line: line ends become nothing, as a paste into one line does.
  Insert.erase(std::remove_if(Insert.begin(), Insert.end(), [](char32_t c) { return c == '\r' || c == '\n'; }),
               Insert.end());
  if (FMaxLength > 0 && !Insert.empty()) {
    // The limit holds back what is added; a text already too long (assigned
    // by the program) can still lose characters.
    const int room = FMaxLength - (static_cast<int>(FChars.size()) - FSelLength);
    if (room <= 0) return;
    if (static_cast<int>(Insert.size()) > room) Insert.resize(static_cast<std::size_t>(room));
  }
  std::u32string next = FChars;
  next.replace(static_cast<std::size_t>(FSelStart), static_cast<std::size_t>(FSelLength), Insert);
  Edit(next, FSelStart + static_cast<int>(Insert.size()), Typed);
}

void TCustomEdit::SelectAll() {
  FTypingRun = false;
  FSelStart = 0;
  FSelLength = static_cast<int>(FChars.size());
  FCaretAtStart = false;
  ScrollToCaret();
  Invalidate();
}

void TCustomEdit::ClearSelection() {
  if (FSelLength > 0 && !FReadOnly) SetSelText("");
}

void TCustomEdit::CopyToClipboard() {
  if (FSelLength > 0 && FPasswordChar == 0) Clipboard()->SetAsText(SelText());
}

void TCustomEdit::CutToClipboard() {
  if (FReadOnly || FPasswordChar != 0) return;
  CopyToClipboard();
  ClearSelection();
}

void TCustomEdit::PasteFromClipboard() {
  if (FReadOnly || !Clipboard()->HasFormat(CF_TEXT)) return;
  SetSelText(Clipboard()->AsText());
}

void TCustomEdit::Undo() {
  if (!FCanUndo || FReadOnly) return;
  const std::u32string text = FUndoText;
  Edit(text, FUndoCaret);
}

// ---- settings ---------------------------------------------------------------------

void TCustomEdit::SetReadOnly(bool Value) {
  if (Value == FReadOnly) return;
  FReadOnly = Value;
  Invalidate();
}

void TCustomEdit::SetHideSelection(bool Value) {
  if (Value == FHideSelection) return;
  FHideSelection = Value;
  Invalidate();
}

void TCustomEdit::SetPasswordChar(char32_t Value) {
  if (Value == FPasswordChar) return;
  FPasswordChar = Value;
  Invalidate();
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  Invalidate();
}

void TCustomEdit::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomEdit::CMEnabledChanged(TMessage& Message) {
  if (!Enabled()) StopCaret();
  TCustomControl::CMEnabledChanged(Message);
}

void TCustomEdit::CMFontChanged(TMessage& Message) {
  FScrollX = 0;
  TCustomControl::CMFontChanged(Message);
}

// ---- geometry ------------------------------------------------------------------------

TRect TCustomEdit::TextArea() const {
  const int b = FBorderStyle == bsSingleBorder ? 2 : 0;
  return {b + 1, b, Width() - b - 1, Height() - b};
}

std::u32string TCustomEdit::Shown() const {
  return FPasswordChar != 0 ? std::u32string(FChars.size(), FPasswordChar) : FChars;
}

int TCustomEdit::TextX() const {
  const TRect area = TextArea();
  TCanvas* c = Canvas();
  c->SetFont(Font());
  const int w = c->TextWidth(U32ToUtf8(Shown()));
  if (w <= area.Width()) {
    if (FAlignment == taRightJustify) return area.Right - w - 1;
    if (FAlignment == taCenter) return area.Left + (area.Width() - w) / 2;
  }
  return area.Left + 1 - FScrollX;
}

int TCustomEdit::XOfChar(int Pos) const {
  TCanvas* c = Canvas();
  c->SetFont(Font());
  const std::u32string shown = Shown();
  Pos = std::clamp(Pos, 0, static_cast<int>(shown.size()));
  return TextX() + c->TextWidth(U32ToUtf8(std::u32string_view(shown).substr(0, static_cast<std::size_t>(Pos))));
}

int TCustomEdit::CharAtX(int X) const {
  // The boundary nearest to X; widths grow with the prefix, so search.
  int lo = 0, hi = static_cast<int>(FChars.size());
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    const int a = XOfChar(mid), b = XOfChar(mid + 1);
    if (X < (a + b + 1) / 2) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return lo;
}

void TCustomEdit::ScrollToCaret() {
  const TRect area = TextArea();
  if (area.IsEmpty()) return;
  const int x = XOfChar(Caret());
  if (x < area.Left + 1) FScrollX -= area.Left + 1 - x;
  if (x > area.Right - 2) FScrollX += x - (area.Right - 2);
  if (FScrollX < 0) FScrollX = 0;
  // No empty room after the text while text is hidden on the left.
  const int end = XOfChar(static_cast<int>(FChars.size()));
  if (FScrollX > 0 && end < area.Right - 2) FScrollX = std::max(0, FScrollX - (area.Right - 2 - end));
}

// A masked text shows no blanks, so it is one word: word moves and
// double clicks must not tell where the blanks of a password are.
bool TCustomEdit::InWord(int Pos) const {
  return FPasswordChar != 0 || IsWordChar(FChars[static_cast<std::size_t>(Pos)]);
}

int TCustomEdit::WordStart(int Pos) const {
  while (Pos > 0 && !InWord(Pos - 1)) --Pos;
  while (Pos > 0 && InWord(Pos - 1)) --Pos;
  return Pos;
}

int TCustomEdit::WordEnd(int Pos) const {
  const int n = static_cast<int>(FChars.size());
  while (Pos < n && InWord(Pos)) ++Pos;
  while (Pos < n && !InWord(Pos)) ++Pos;
  return Pos;
}

// ---- caret --------------------------------------------------------------------------------

void TCustomEdit::RestartCaret() {
  if (!Focused()) return;
  FCaretShown = true;
  KillTimer(FCaretWindow, 1);
  SetTimer(FCaretWindow, 1, kBlinkMs, nullptr);
}

void TCustomEdit::StopCaret() {
  KillTimer(FCaretWindow, 1);
  FCaretShown = false;
}

void TCustomEdit::WMSetFocus(TMessage& Message) {
  TCustomControl::WMSetFocus(Message);
  RestartCaret();
  Invalidate();
}

void TCustomEdit::WMKillFocus(TMessage& Message) {
  TCustomControl::WMKillFocus(Message);
  StopCaret();
  FSelecting = false;
  FTypingRun = false;
  Invalidate();
}

void TCustomEdit::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }

TPoint TCustomEdit::KeyboardPopupPoint() const {
  const TRect area = TextArea();
  return {std::clamp(XOfChar(Caret()), area.Left, std::max(area.Left, area.Right - 1)), area.Bottom - 1};
}

void TCustomEdit::DoEnter() {
  // Entering by keyboard selects everything; a click places the caret.
  if (FAutoSelect && !FControlState.Contains(csLButtonDown)) SelectAll();
  TCustomControl::DoEnter();
}

// ---- input -----------------------------------------------------------------------------------

void TCustomEdit::KeyDown(Word& Key, TShiftState Shift) {
  TDestroyGuard guard(this);
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0 || guard.Gone()) return;
  EditKeyDown(Key, Shift);
}

void TCustomEdit::EditKeyDown(Word& Key, TShiftState Shift) {
  const bool shift = Shift.Contains(ssShift);
  // Ctrl with Alt is AltGr: the key types a character, it is no shortcut.
  const bool ctrl = Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
  const int caret = Caret();
  switch (Key) {
    case VK_LEFT:
      if (!shift && FSelLength > 0) {
        MoveCaret(FSelStart, false);
      } else {
        MoveCaret(ctrl ? WordStart(caret) : caret - 1, shift);
      }
      break;
    case VK_RIGHT:
      if (!shift && FSelLength > 0) {
        MoveCaret(FSelStart + FSelLength, false);
      } else {
        MoveCaret(ctrl ? WordEnd(caret) : caret + 1, shift);
      }
      break;
    case VK_HOME: MoveCaret(0, shift); break;
    case VK_END: MoveCaret(static_cast<int>(FChars.size()), shift); break;
    case VK_DELETE:
      if (FReadOnly) break;
      if (shift) {
        CutToClipboard();
      } else if (FSelLength > 0) {
        ClearSelection();
      } else if (caret < static_cast<int>(FChars.size())) {
        std::u32string next = FChars;
        next.erase(static_cast<std::size_t>(caret), 1);
        Edit(next, caret);
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

void TCustomEdit::KeyPress(char32_t& Key) {
  TDestroyGuard guard(this);
  TCustomControl::KeyPress(Key);
  if (Key == 0 || guard.Gone()) return;
  EditKeyPress(Key);
}

void TCustomEdit::EditKeyPress(char32_t& Key) {
  if (FReadOnly) return;
  if (Key == 8) {
    if (FSelLength > 0) {
      ClearSelection();
    } else if (Caret() > 0) {
      std::u32string next = FChars;
      next.erase(static_cast<std::size_t>(Caret() - 1), 1);
      Edit(next, Caret() - 1);
    }
    return;
  }
  if (Key < 32 || Key == 127) return;  // other control characters type nothing
  ReplaceSelection(std::u32string(1, Key), true);
}

void TCustomEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDestroyGuard guard(this);
  if (Button == mbLeft) {
    if (!Focused() && CanFocus()) SetFocus();
    if (guard.Gone()) return;
    if (!Shift.Contains(ssDouble)) {
      FSelecting = true;
      MoveCaret(CharAtX(X), Shift.Contains(ssShift));
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomEdit::MouseMove(TShiftState Shift, int X, int Y) {
  if (FSelecting) MoveCaret(CharAtX(X), true);
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) FSelecting = false;
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomEdit::DblClick() {
  // A double click selects the word under the caret.
  int start = Caret();
  while (start > 0 && InWord(start - 1)) --start;
  int end = Caret();
  while (end < static_cast<int>(FChars.size()) && InWord(end)) ++end;
  FTypingRun = false;
  FSelStart = start;
  FSelLength = end - start;
  FCaretAtStart = false;
  FSelecting = false;
  Invalidate();
  TCustomControl::DblClick();
}

// ---- painting ------------------------------------------------------------------------------

void TCustomEdit::Paint() {
  TCanvas& c = *Canvas();
  TRect r = ClientRect();
  if (FBorderStyle == bsSingleBorder) {
    Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
    Frame3D(c, r, cl3DDkShadow, cl3DLight, 1);
  }
  c.Brush()->SetColor(Enabled() ? Color() : clBtnFace);
  c.FillRect(r);
  const TRect area = TextArea();
  const TRect savedClip = c.ClipRect();
  c.SetClipRect(IntersectRect(area, savedClip));
  c.SetFont(Font());
  if (!Enabled()) c.Font()->SetColor(clGrayText);
  const std::u32string shown = Shown();
  const std::string text = U32ToUtf8(shown);
  const int lineHeight = c.TextHeight("Ag");
  const int y = area.Top + std::max(0, (area.Height() - lineHeight) / 2);
  c.Brush()->SetStyle(bsClear);
  c.TextOut(TextX(), y, text);
  const bool showSelection = FSelLength > 0 && (Focused() || !FHideSelection);
  if (showSelection) {
    const int x1 = XOfChar(FSelStart), x2 = XOfChar(FSelStart + FSelLength);
    const TRect sel{x1, y, x2, y + lineHeight};
    c.Brush()->SetColor(Focused() ? clHighlight : clBtnFace);
    c.FillRect(sel);
    c.SetClipRect(IntersectRect(IntersectRect(sel, area), savedClip));
    c.Font()->SetColor(Focused() ? clHighlightText : clWindowText);
    c.Brush()->SetStyle(bsClear);
    c.TextOut(TextX(), y, text);
    c.SetClipRect(IntersectRect(area, savedClip));
  }
  if (Focused() && FCaretShown) {
    const int x = XOfChar(Caret());
    c.Pen()->SetColor(clWindowText);
    c.MoveTo(x, y);
    c.LineTo(x, y + lineHeight);
  }
  c.SetClipRect(savedClip);
}

}  // namespace vorn
