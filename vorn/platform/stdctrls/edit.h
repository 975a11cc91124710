// The single-line edit control: text with a caret and a selection, typed,
// selected with mouse and keys, cut, copied and pasted through the
// clipboard. Positions (SelStart, SelLength, MaxLength) count characters.
// Every change of the text, typed or assigned, calls Change, which raises
// OnChange; derived fields check their text there. Undo takes back the
// last change; characters typed in a row count as one change (a caret
// move, a deletion or a paste ends the run). A key that arrives with Ctrl
// and Alt held (AltGr) types text and runs no Ctrl shortcut. A password
// field (PasswordChar set) is one word for word moves and double clicks.
#pragma once

#include <string>

#include "vorn/platform/controls/controls.h"
#include "vorn/platform/runtime/timers.h"

namespace vorn {

enum TBorderStyle : std::uint8_t { bsNoBorder, bsSingleBorder };

class TCustomEdit : public TCustomControl {
 public:
  explicit TCustomEdit(TComponent* AOwner);
  ~TCustomEdit() override;

  void SetText(const std::string& Value) override;

  [[nodiscard]] int SelStart() const { return FSelStart; }
  void SetSelStart(int Value);
  [[nodiscard]] int SelLength() const { return FSelLength; }
  void SetSelLength(int Value);
  [[nodiscard]] std::string SelText() const;
  // Replaces the selection (inserts at the caret when there is none).
  void SetSelText(const std::string& Value);
  void SelectAll();
  void ClearSelection();
  void Clear() { SetText(""); }
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  [[nodiscard]] bool CanUndo() const { return FCanUndo; }
  void Undo();

  [[nodiscard]] bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  [[nodiscard]] bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  [[nodiscard]] bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  // 0: no limit. Limits what the user types or pastes, not assignments;
  // deleting is always possible, also in a text longer than the limit.
  [[nodiscard]] int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value) { FMaxLength = Value < 0 ? 0 : Value; }
  [[nodiscard]] char32_t PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char32_t Value);
  [[nodiscard]] TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  [[nodiscard]] TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  [[nodiscard]] bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }

  [[nodiscard]] const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent E) { FOnChange = std::move(E); }

  // The character position nearest to a client column.
  [[nodiscard]] int CharAtX(int X) const;
  // The client column in front of character position Pos.
  [[nodiscard]] int XOfChar(int Pos) const;

  void Paint() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DblClick() override;
  void DoEnter() override;
  [[nodiscard]] TPoint KeyboardPopupPoint() const override;

 protected:
  // Called after every change of the text.
  virtual void Change();
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMGetDlgCode(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  // The text area inside the border (controls with a button beside the
  // text make it narrower).
  [[nodiscard]] virtual TRect TextArea() const;
  // The editing a key or character does, without OnKeyDown/OnKeyPress:
  // controls built on the edit that handle some keys themselves pass the
  // rest on here.
  void EditKeyDown(Word& Key, TShiftState Shift);
  void EditKeyPress(char32_t& Key);

 private:
  // Typed: part of a run of typed characters that undoes as one.
  void Edit(const std::u32string& NewText, int Caret, bool Typed = false);
  void ReplaceSelection(std::u32string Insert, bool Typed);
  void MoveCaret(int Pos, bool Extend);
  [[nodiscard]] int Caret() const;
  [[nodiscard]] int Anchor() const;
  void ScrollToCaret();
  void RestartCaret();
  void StopCaret();
  [[nodiscard]] std::u32string Shown() const;
  [[nodiscard]] int WordStart(int Pos) const;
  [[nodiscard]] int WordEnd(int Pos) const;
  [[nodiscard]] bool InWord(int Pos) const;
  [[nodiscard]] int TextX() const;

  std::u32string FChars;
  int FSelStart = 0;
  int FSelLength = 0;
  bool FCaretAtStart = false;  // the caret stands at the selection's start
  int FScrollX = 0;
  bool FReadOnly = false;
  bool FAutoSelect = true;
  bool FHideSelection = true;
  int FMaxLength = 0;
  char32_t FPasswordChar = 0;
  TBorderStyle FBorderStyle = bsSingleBorder;
  TAlignment FAlignment = taLeftJustify;
  bool FModified = false;
  bool FSelecting = false;
  bool FCaretShown = false;
  HWND FCaretWindow = 0;
  bool FCanUndo = false;
  std::u32string FUndoText;
  int FUndoCaret = 0;
  bool FTypingRun = false;
  TNotifyEvent FOnChange;
};

class TEdit : public TCustomEdit {
 public:
  explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

}  // namespace vorn
