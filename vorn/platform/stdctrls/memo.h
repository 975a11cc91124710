// The memo: a multi-line edit. The text is a list of lines (Lines) that
// the user edits with a caret and a selection, by mouse and keys, with
// the clipboard keys and one step of undo as in the single-line edit.
// Enter starts a new line; Tab types a tab only with WantTabs, else the
// form moves the focus. Positions (SelStart, SelLength, MaxLength) count
// characters, a line break counting as one.
//
// Text joins the lines with "\n"; assigned texts may break lines with
// "\r\n", "\r" or "\n". With WordWrap, long lines are shown on several
// rows (broken after a blank where there is one) and no horizontal
// scrolling happens; rows are what Up, Down, Home, End and the vertical
// scroll bar step through. Every change of the text, typed or assigned,
// raises OnChange.
#pragma once

#include <string>
#include <vector>

#include "vorn/platform/controls/controls.h"
#include "vorn/platform/controls/scrollbars.h"
#include "vorn/platform/stdctrls/edit.h"
#include "vorn/platform/stdctrls/textedit.h"

namespace vorn {

class TCustomMemo;

// The memo's lines, read and written through the memo so that every
// change repaints and raises OnChange. The lines are split from the text
// once per change of the text and kept, so that reading them one by one
// costs no more than reading the text.
class TMemoLines {
 public:
  explicit TMemoLines(TCustomMemo& Memo) : FMemo(Memo) {}
  [[nodiscard]] int Count() const;
  [[nodiscard]] std::string Strings(int Index) const;
  [[nodiscard]] std::string operator[](int Index) const { return Strings(Index); }
  // Out-of-range indices are ignored.
  void SetStrings(int Index, const std::string& Value);
  // Adds a line at the end; returns its index.
  int Add(const std::string& Value);
  void Insert(int Index, const std::string& Value);
  void Delete(int Index);
  void Clear();
  [[nodiscard]] std::string Text() const;
  void SetText(const std::string& Value);

 private:
  friend class TCustomMemo;
  [[nodiscard]] const std::vector<std::u32string>& Split() const;
  void Join(const std::vector<std::u32string>& Lines);
  // The memo's text changed: the kept lines are out of date.
  void TextChanged() {
    FSplit.clear();
    FSplitValid = false;
  }
  TCustomMemo& FMemo;
  mutable std::vector<std::u32string> FSplit;
  mutable bool FSplitValid = false;
};

class TCustomMemo : public TCustomControl {
 public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;

  [[nodiscard]] TMemoLines& Lines() { return FLines; }
  [[nodiscard]] const TMemoLines& Lines() const { return FLines; }
  void SetText(const std::string& Value) override;

  [[nodiscard]] int SelStart() const { return FSelStart; }
  void SetSelStart(int Value);
  [[nodiscard]] int SelLength() const { return FSelLength; }
  void SetSelLength(int Value);
  [[nodiscard]] std::string SelText() const;
  void SetSelText(const std::string& Value);
  void SelectAll();
  void ClearSelection();
  void Clear() { SetText(""); }
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  [[nodiscard]] bool CanUndo() const { return FUndo.CanUndo(); }
  void Undo();
  // Line and column of the caret (both from 0).
  [[nodiscard]] TPoint CaretPos() const;

  [[nodiscard]] bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  // 0: no limit. Limits what the user types or pastes, not assignments.
  [[nodiscard]] int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value) { FMaxLength = Value < 0 ? 0 : Value; }
  [[nodiscard]] bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  [[nodiscard]] TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  [[nodiscard]] bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }
  [[nodiscard]] bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value) { FWantReturns = Value; }
  [[nodiscard]] bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  [[nodiscard]] TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  [[nodiscard]] bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }

  // The first row shown (rows are lines, or parts of lines when wrapping)
  // and the horizontal scroll offset in pixels.
  [[nodiscard]] int TopRow() const { return FTopRow; }
  void SetTopRow(int Value);
  [[nodiscard]] int ScrollX() const { return FScrollX; }
  [[nodiscard]] int RowCount() const;
  [[nodiscard]] int VisibleRows() const;

  [[nodiscard]] const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent E) { FOnChange = std::move(E); }

  // The character position nearest to a client point, and the client
  // point of a position's top-left.
  [[nodiscard]] int CharAtPoint(int X, int Y) const;
  [[nodiscard]] TPoint PointOfChar(int Pos) const;

  void Paint() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DblClick() override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  [[nodiscard]] TPoint KeyboardPopupPoint() const override;

 protected:
  virtual void Change();
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMGetDlgCode(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void Resize() override;
  // The text area inside the border and the scroll bars.
  [[nodiscard]] TRect TextArea() const;

 private:
  friend class TMemoLines;
  // A shown row: characters Start..End-1 of the text (no line break).
  struct TRow {
    int Start;
    int End;
  };
  // Replaces the whole text as an edit (undoable, marks modified) or as
  // an assignment.
  void Edit(const std::u32string& NewText, int Caret, bool Typed = false);
  void AssignChars(std::u32string NewText);
  void ReplaceSelection(std::u32string Insert, bool Typed);
  void DeleteRange(int From, int To);
  void MoveCaret(int Pos, bool Extend, bool KeepColumn = false);
  [[nodiscard]] int Caret() const { return FCaretAtStart ? FSelStart : FSelStart + FSelLength; }
  [[nodiscard]] int Anchor() const { return FCaretAtStart ? FSelStart + FSelLength : FSelStart; }
  void ScrollToCaret();
  void RestartCaret();
  void StopCaret();
  [[nodiscard]] bool InWord(int Pos) const;

  // Rows, rebuilt lazily after the text, width, font or wrapping changes.
  const std::vector<TRow>& Rows() const;
  void InvalidateRows();
  void BuildRows(int Width) const;
  [[nodiscard]] int RowOf(int Pos) const;
  [[nodiscard]] std::string RowText(const TRow& Row, int Count) const;
  [[nodiscard]] int RowWidth(const TRow& Row, int Count) const;
  [[nodiscard]] int ColumnAtX(const TRow& Row, int X) const;
  [[nodiscard]] int LineHeight() const;
  [[nodiscard]] int WidestRow() const;

  // Scroll bars.
  [[nodiscard]] bool HasVertBar() const { return FScrollBars == ssVertical || FScrollBars == ssBoth; }
  [[nodiscard]] bool HasHorzBar() const;
  [[nodiscard]] TRect VertBarRect() const;
  [[nodiscard]] TRect HorzBarRect() const;
  [[nodiscard]] TScrollBarState VertBar() const;
  [[nodiscard]] TScrollBarState HorzBar() const;
  [[nodiscard]] int MaxTopRow() const;
  [[nodiscard]] int MaxScrollX() const;
  void SetScrollX(int Value);
  bool BarMouseDown(TPoint P);

  TMemoLines FLines;
  std::u32string FChars;
  int FSelStart = 0;
  int FSelLength = 0;
  bool FCaretAtStart = false;
  int FWantX = -1;  // column kept by Up and Down, -1: none
  int FTopRow = 0;
  int FScrollX = 0;
  bool FReadOnly = false;
  int FMaxLength = 0;
  bool FWordWrap = true;
  TScrollStyle FScrollBars = ssNone;
  bool FWantTabs = false;
  bool FWantReturns = true;
  bool FHideSelection = true;
  TBorderStyle FBorderStyle = bsSingleBorder;
  bool FModified = false;
  bool FSelecting = false;
  // Thumb dragging: which bar (0 none, 1 vertical, 2 horizontal) and where
  // in the thumb it was grabbed.
  int FThumbDrag = 0;
  int FThumbGrab = 0;
  bool FCaretShown = false;
  HWND FCaretWindow = 0;
  TTextUndo FUndo;
  mutable std::vector<TRow> FRows;
  mutable int FRowsWidth = -1;  // text width the rows were built for; -1: stale
  mutable int FWidest = -1;     // widest row in pixels; -1: not measured yet
  TNotifyEvent FOnChange;
};

class TMemo : public TCustomMemo {
 public:
  explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};

}  // namespace vorn
