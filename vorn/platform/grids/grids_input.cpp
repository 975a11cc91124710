// The grid's keyboard and mouse handling: moving the current cell,
// range selection, sizing and moving columns and rows, the scroll bars,
// and opening and closing the in-place editor.
#include <algorithm>

#include "vorn/platform/grids/grids.h"

namespace vorn {

namespace {

constexpr int SizingMargin = 3;  // pixels either side of a divider that grab it

}  // namespace

// ---- moving the current cell ---------------------------------------------------------------

void TCustomGrid::FocusCell(int ACol, int ARow, bool MoveAnchor) { MoveCurrent(ACol, ARow, MoveAnchor); }

void TCustomGrid::MoveCurrent(int ACol, int ARow, bool MoveAnchor) {
  ACol = std::clamp(ACol, FFixedCols, FColCount - 1);
  ARow = std::clamp(ARow, FFixedRows, FRowCount - 1);
  const TGridCoord shown = ShownCell({ACol, ARow});
  ACol = shown.X;
  ARow = shown.Y;
  if (ACol == FCurrent.X && ARow == FCurrent.Y) {
    if (MoveAnchor && !(FAnchor == FCurrent)) {
      FAnchor = FCurrent;
      Invalidate();
    }
    ScrollIntoView(ACol, ARow);
    return;
  }
  TDestroyGuard guard(this);
  if (!SelectCell(ACol, ARow) || guard.Gone()) return;
  HideEditor();
  if (guard.Gone()) return;
  // OnSelectCell and OnSetEditText may have added or deleted rows and columns.
  ACol = std::clamp(ACol, FFixedCols, FColCount - 1);
  ARow = std::clamp(ARow, FFixedRows, FRowCount - 1);
  FCurrent = {ACol, ARow};
  if (MoveAnchor || !FOptions.Contains(goRangeSelect)) FAnchor = FCurrent;
  Invalidate();
  ScrollIntoView(ACol, ARow);
  if (guard.Gone()) return;
  // Closing the editor gave the focus back to the grid; it reopens here.
  if (FOptions.Contains(goAlwaysShowEditor) && Focused()) ShowEditor();
}

// ---- keyboard -------------------------------------------------------------------------------

// A grid that edits its cells keeps Return: it opens the editor (and the
// editor, which keeps every key, takes the text with it). Return never both
// edits and presses the form's default button; a grid that does not edit
// leaves Return to the form.
void TCustomGrid::WMGetDlgCode(TMessage& Message) {
  Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (FOptions.Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
  if (CanEditShow()) Message.Result |= DLGC_WANTRETURN;
}

TPoint TCustomGrid::KeyboardPopupPoint() const {
  const TRect cell = CellRect(FCurrent.X, FCurrent.Y);
  if (cell.IsEmpty()) return TCustomControl::KeyboardPopupPoint();
  return {cell.Left, cell.Bottom};
}

void TCustomGrid::KeyDown(Word& Key, TShiftState Shift) {
  TDestroyGuard guard(this);
  TCustomControl::KeyDown(Key, Shift);
  if (guard.Gone()) return;
  switch (Key) {
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
      NavigateKey(Key, Shift);
      Key = 0;
      break;
    case VK_TAB:
      if (FOptions.Contains(goTabs) && !Shift.Contains(ssAlt)) {
        TabKey(!Shift.Contains(ssShift));
        Key = 0;
      }
      break;
    case VK_F1 + 1:  // F2
      if (FOptions.Contains(goEditing)) {
        ShowEditor();
        Key = 0;
      }
      break;
    default: break;
  }
}

void TCustomGrid::NavigateKey(Word Key, TShiftState Shift) {
  const bool extend = Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect);
  const bool ctrl = Shift.Contains(ssCtrl);
  const bool rowSelect = FOptions.Contains(goRowSelect);
  const int page = std::max(1, VisibleRowCount());
  TGridCoord target = FCurrent;
  TDestroyGuard guard(this);  // scrolling raises OnTopLeftChanged
  switch (Key) {
    case VK_UP: target.Y = StepShownRows(target.Y, -1); break;
    case VK_DOWN: target.Y = StepShownRows(target.Y, 1); break;
    case VK_LEFT:
      if (rowSelect) {
        SetLeftCol(LeftCol() - 1);
        return;
      }
      --target.X;
      break;
    case VK_RIGHT:
      if (rowSelect) {
        SetLeftCol(LeftCol() + 1);
        return;
      }
      ++target.X;
      break;
    case VK_PRIOR:
      SetTopRow(PageUpRow());
      if (guard.Gone()) return;
      target.Y = StepShownRows(target.Y, -page);
      break;
    case VK_NEXT:
      SetTopRow(PageDownRow());
      if (guard.Gone()) return;
      target.Y = StepShownRows(target.Y, page);
      break;
    case VK_HOME:
      if (ctrl || rowSelect) target.Y = FFixedRows;
      if (!rowSelect) target.X = FFixedCols;
      break;
    case VK_END:
      if (ctrl || rowSelect) target.Y = FRowCount - 1;
      if (!rowSelect) target.X = FColCount - 1;
      break;
    default: return;
  }
  if (!guard.Gone()) MoveCurrent(target.X, target.Y, !extend);
}

void TCustomGrid::TabKey(bool Forward) {
  TGridCoord target = FCurrent;
  if (Forward) {
    if (++target.X >= FColCount) {
      target.X = FFixedCols;
      if (++target.Y >= FRowCount) return;
    }
  } else if (--target.X < FFixedCols) {
    target.X = FColCount - 1;
    if (--target.Y < FFixedRows) return;
  }
  MoveCurrent(target.X, target.Y, true);
}

void TCustomGrid::KeyPress(char32_t& Key) {
  TDestroyGuard guard(this);
  TCustomControl::KeyPress(Key);
  if (Key == 0 || guard.Gone() || !FOptions.Contains(goEditing)) return;
  if (Key == U'\r') {
    if (FOptions.Contains(goAlwaysShowEditor) && FEditorMode) {
      HideEditor();
      if (guard.Gone()) return;
      ShowEditor();
    } else if (FEditorMode) {
      HideEditor();
    } else {
      ShowEditor();
    }
    Key = 0;
    return;
  }
  if (Key == 27) {
    if (FEditorMode) CancelEditor();
    return;
  }
  // Typing on a cell opens the editor with the typed character as its text.
  if (!FEditorMode && Key >= 32 && Key != 127) {
    ShowEditor();
    if (guard.Gone() || !FEditorMode || FInplaceEdit == nullptr) return;
    FInplaceEdit->SelectAll();
    FInplaceEdit->Perform(WM_CHAR, static_cast<WPARAM>(Key), 0);
    Key = 0;
  }
}

void TCustomGrid::WMSetFocus(TMessage& Message) {
  TCustomControl::WMSetFocus(Message);
  Invalidate();
  // Not while the editor is closing: it hands the focus back to the grid
  // before its text is stored, and would reopen with the old text.
  if (FOptions.Contains(goAlwaysShowEditor) && !FEditorMode && !FClosingEditor) ShowEditor();
}

void TCustomGrid::WMKillFocus(TMessage& Message) {
  TCustomControl::WMKillFocus(Message);
  Invalidate();
}

// ---- editor ----------------------------------------------------------------------------------

void TCustomGrid::SetEditorMode(bool Value) {
  if (Value) {
    ShowEditor();
  } else {
    HideEditor();
  }
}

void TCustomGrid::ShowEditor() {
  if (!CanEditShow()) return;
  if (FCurrent.X < FFixedCols || FCurrent.Y < FFixedRows) return;
  if (FEditorMode) return;
  if (FInplaceEdit == nullptr) {
    FInplaceEdit = CreateEditor();
    if (FInplaceEdit == nullptr) return;
    FInplaceEdit->SetParent(this);
  }
  TDestroyGuard guard(this);
  if (auto* list = dynamic_cast<TInplaceEditList*>(FInplaceEdit)) {
    list->SetEditStyle(GetEditStyle(FCurrent.X, FCurrent.Y));
  }
  std::string original = GetEditText(FCurrent.X, FCurrent.Y);
  // OnGetEditText may have deleted the grid or opened the editor itself.
  if (guard.Gone() || FEditorMode || FInplaceEdit == nullptr) return;
  FEditOriginal = std::move(original);
  FEditorMode = true;
  FInplaceEdit->Attach(this, FCurrent.X, FCurrent.Y, CellRect(FCurrent.X, FCurrent.Y));
  FInplaceEdit->SetText(FEditOriginal);
  PlaceEditor();
  FInplaceEdit->Show();
  if (FInplaceEdit->CanFocus()) FInplaceEdit->SetFocus();
  // OnEnter and OnExit handlers ran; the editor may be closed or gone.
  if (guard.Gone() || !FEditorMode || FInplaceEdit == nullptr) return;
  FInplaceEdit->SelectAll();
  InvalidateCell(FCurrent.X, FCurrent.Y);
}

void TCustomGrid::PlaceEditor() {
  if (!FEditorMode || FInplaceEdit == nullptr) return;
  const TRect cell = CellRect(FInplaceEdit->EditCol(), FInplaceEdit->EditRow());
  const TRect shown = IntersectRect(cell, {0, 0, ClientAreaWidth(), ClientAreaHeight()});
  // A scrolled-away cell keeps its editor (and the focus), just out of sight.
  if (shown.IsEmpty()) {
    FInplaceEdit->SetBounds(0, 0, 0, 0);
  } else {
    FInplaceEdit->SetBoundsRect(shown);
  }
}

void TCustomGrid::HideEditor() {
  if (!FEditorMode || FInplaceEdit == nullptr) return;
  const std::string text = FInplaceEdit->Text();
  const std::string original = FEditOriginal;
  const int col = FInplaceEdit->EditCol();
  const int row = FInplaceEdit->EditRow();
  TDestroyGuard guard(this);
  CancelEditor();
  if (guard.Gone()) return;
  if (text != original && col < FColCount && row < FRowCount) SetEditText(col, row, text);
  if (guard.Gone()) return;
  InvalidateCell(col, row);
}

void TCustomGrid::CancelEditor() {
  if (!FEditorMode || FInplaceEdit == nullptr) return;
  FEditorMode = false;
  TDestroyGuard guard(this);
  TInplaceEdit* editor = FInplaceEdit;
  // The grid takes the focus first, so that hiding the editor does not
  // send the focus on to the next control.
  if (editor->Focused() && CanFocus()) {
    const bool closing = FClosingEditor;
    FClosingEditor = true;
    SetFocus();
    if (guard.Gone()) return;
    FClosingEditor = closing;
  }
  if (FInplaceEdit != editor || FEditorMode) return;  // a handler reopened or replaced it
  editor->BeforeHide();
  editor->Hide();
  if (guard.Gone()) return;
  Invalidate();
}

// ---- mouse ------------------------------------------------------------------------------------

int TCustomGrid::SizingColAt(int X, int Y) const {
  if (Y < 0 || Y >= std::min(FixedHeight(), ClientAreaHeight())) return -1;
  // From the right, so that a column sized down to nothing can be pulled
  // open again.
  for (int c = FColCount - 1; c >= 0; --c) {
    // Columns scrolled out to the left have no divider on screen; the
    // fixed columns' dividers still do.
    if (c >= FFixedCols && c < FTopLeft.X) {
      c = FFixedCols;
      continue;
    }
    const int x = ColX(c);
    if (x < 0) continue;
    const int divider = x + ColWidths(c);
    if (X >= divider - SizingMargin && X <= divider + SizingMargin) return c;
  }
  return -1;
}

int TCustomGrid::SizingRowAt(int X, int Y) const {
  if (X < 0 || X >= std::min(FixedWidth(), ClientAreaWidth())) return -1;
  for (int r = FRowCount - 1; r >= 0; --r) {
    if (r >= FFixedRows && r < FTopLeft.Y) {
      r = FFixedRows;
      continue;
    }
    const int y = RowY(r);
    if (y < 0) continue;
    const int divider = y + RowHeights(r);
    if (Y >= divider - SizingMargin && Y <= divider + SizingMargin) return r;
  }
  return -1;
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDestroyGuard guard(this);
  if (Button == mbLeft && CanFocus() && !Focused()) SetFocus();
  if (guard.Gone()) return;
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || guard.Gone()) return;
  const TPoint p{X, Y};
  for (const bool vertical : {true, false}) {
    const TScrollBarState state = BarState(vertical);
    const TRect bar = state.Bar;
    const TBarPart part = ScrollBarPartAt(state, p);
    if (part == TBarPart::Thumb) {
      const TRect thumb = ScrollBarThumb(state);
      FThumbGrab = {X - thumb.Left, Y - thumb.Top};
      FThumbValue = vertical ? FTopLeft.Y - FFixedRows : FTopLeft.X - FFixedCols;
      FState = vertical ? TGridState::ScrollVert : TGridState::ScrollHorz;
      return;
    }
    if (part != TBarPart::None) {
      ScrollByBar(vertical, part);
      return;
    }
    if (bar.Contains(p)) return;
  }
  if (FOptions.Contains(goColSizing) && (FSizingIndex = SizingColAt(X, Y)) >= 0) {
    FState = TGridState::ColSizing;
    FSizingOrigin = X;
    FSizingStart = ColWidths(FSizingIndex);
    return;
  }
  if (FOptions.Contains(goRowSizing) && (FSizingIndex = SizingRowAt(X, Y)) >= 0) {
    FState = TGridState::RowSizing;
    FSizingOrigin = Y;
    FSizingStart = RowHeights(FSizingIndex);
    return;
  }
  const TGridCoord cell = MouseCoord(X, Y);
  if (cell.X < 0 || cell.Y < 0) return;
  const bool fixedRow = cell.Y < FFixedRows;
  const bool fixedCol = cell.X < FFixedCols;
  if (fixedRow && !fixedCol && FOptions.Contains(goColMoving)) {
    FState = TGridState::ColMoving;
    FMoveFrom = cell.X;
    return;
  }
  if (fixedCol && !fixedRow && FOptions.Contains(goRowMoving)) {
    FState = TGridState::RowMoving;
    FMoveFrom = cell.Y;
    return;
  }
  if (fixedRow || fixedCol) return;
  StartSelecting(cell, Shift);
}

void TCustomGrid::StartSelecting(TGridCoord Cell, TShiftState Shift) {
  FClickedCurrent = Cell == FCurrent && !Shift.Contains(ssShift);
  const bool extend = Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect);
  MoveCurrent(Cell.X, Cell.Y, !extend);
  FState = TGridState::Selecting;
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
  TDestroyGuard guard(this);
  TCustomControl::MouseMove(Shift, X, Y);
  if (guard.Gone()) return;
  switch (FState) {
    case TGridState::ColSizing: SetColWidths(FSizingIndex, FSizingStart + X - FSizingOrigin); return;
    case TGridState::RowSizing: SetRowHeights(FSizingIndex, FSizingStart + Y - FSizingOrigin); return;
    case TGridState::ScrollVert: DragThumb(true, {X, Y}, FOptions.Contains(goThumbTracking)); return;
    case TGridState::ScrollHorz: DragThumb(false, {X, Y}, FOptions.Contains(goThumbTracking)); return;
    case TGridState::Selecting: {
      if (!FOptions.Contains(goRangeSelect)) return;
      // Beyond an edge the selection steps one cell further, scrolling.
      int c = CoordOfX(X);
      int r = CoordOfY(Y);
      if (X >= ClientAreaWidth() || (c < 0 && X >= 0)) c = std::min(FColCount - 1, FTopLeft.X + VisibleColCount());
      if (X < FixedWidth()) c = FTopLeft.X - 1;
      if (Y >= ClientAreaHeight() || (r < 0 && Y >= 0)) r = std::min(FRowCount - 1, FTopLeft.Y + VisibleRowCount());
      if (Y < FixedHeight()) r = FTopLeft.Y - 1;
      MoveCurrent(c, r, false);
      return;
    }
    default: break;
  }
  const bool colDivider = FOptions.Contains(goColSizing) && SizingColAt(X, Y) >= 0;
  const bool rowDivider = FOptions.Contains(goRowSizing) && SizingRowAt(X, Y) >= 0;
  SetCursor(colDivider ? crHSplit : rowDivider ? crVSplit : crDefault);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TGridState state = FState;
  FState = TGridState::Normal;
  TDestroyGuard guard(this);
  switch (state) {
    case TGridState::ScrollVert: DragThumb(true, {X, Y}, true); break;
    case TGridState::ScrollHorz: DragThumb(false, {X, Y}, true); break;
    case TGridState::ColMoving: {
      const int target = CoordOfX(X);
      if (target >= FFixedCols) MoveColumn(FMoveFrom, target);
      break;
    }
    case TGridState::RowMoving: {
      const int target = CoordOfY(Y);
      if (target >= FFixedRows) MoveRow(FMoveFrom, target);
      break;
    }
    case TGridState::Selecting:
      // A second click on the current cell opens the editor.
      if (FClickedCurrent && MouseCoord(X, Y) == FCurrent && FOptions.Contains(goEditing)) ShowEditor();
      break;
    default: break;
  }
  if (guard.Gone()) return;
  FClickedCurrent = false;
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

bool TCustomGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  TDestroyGuard guard(this);
  if (TCustomControl::DoMouseWheelDown(Shift, MousePos) || guard.Gone()) return true;
  MoveCurrent(FCurrent.X, FCurrent.Y + WheelScrollLines(), true);
  return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  TDestroyGuard guard(this);
  if (TCustomControl::DoMouseWheelUp(Shift, MousePos) || guard.Gone()) return true;
  MoveCurrent(FCurrent.X, FCurrent.Y - WheelScrollLines(), true);
  return true;
}

}  // namespace vorn
