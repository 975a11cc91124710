// The in-place editors, the draw grid's events and the string grid.
#include <algorithm>

#include "vorn/platform/controls/dropdown.h"
#include "vorn/platform/controls/forms.h"
#include "vorn/platform/grids/grids.h"
#include "vorn/platform/stdctrls/bevels.h"

namespace vorn {

namespace {

int CharCount(const std::string& Utf8) {
  return static_cast<int>(std::count_if(Utf8.begin(), Utf8.end(), [](char ch) {
    return (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
  }));
}

}  // namespace

// ---- TInplaceEdit ---------------------------------------------------------------------------

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
  SetBorderStyle(bsNoBorder);
  SetVisible(false);
  SetTabStop(false);
}

void TInplaceEdit::Attach(TCustomGrid* AGrid, int ACol, int ARow, const TRect& CellBounds) {
  FGrid = AGrid;
  FCol = ACol;
  FRow = ARow;
  SetFont(AGrid->Font());
  SetColor(AGrid->Color());
  SetBoundsRect(CellBounds);
}

void TInplaceEdit::WMGetDlgCode(TMessage& Message) {
  Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS | DLGC_WANTTAB;
}

void TInplaceEdit::WMKillFocus(TMessage& Message) {
  TCustomEdit::WMKillFocus(Message);
  // Leaving the editor (to the grid or another control) takes its text.
  if (FGrid != nullptr && FGrid->FEditorMode && FGrid->FInplaceEdit == this) FGrid->HideEditor();
}

bool TInplaceEdit::CaretAtStart() const { return SelLength() == 0 && SelStart() == 0; }
bool TInplaceEdit::CaretAtEnd() const { return SelLength() == 0 && SelStart() == CharCount(Text()); }

void TInplaceEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (FGrid == nullptr) {
    TCustomEdit::KeyDown(Key, Shift);
    return;
  }
  TCustomGrid* grid = FGrid;
  // Closing the editor stores its text: OnSetEditText may delete rows, the
  // grid or this editor.
  TDestroyGuard gridGuard(grid);
  bool toGrid = false;
  switch (Key) {
    case VK_ESCAPE:
      grid->CancelEditor();
      Key = 0;
      return;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: toGrid = !Shift.Contains(ssAlt); break;
    case VK_LEFT: toGrid = CaretAtStart() && !Shift.Contains(ssShift); break;
    case VK_RIGHT: toGrid = CaretAtEnd() && !Shift.Contains(ssShift); break;
    case VK_HOME:
    case VK_END: toGrid = Shift.Contains(ssCtrl); break;
    case VK_TAB:
      grid->HideEditor();
      if (gridGuard.Gone()) {
        Key = 0;
        return;
      }
      if (grid->Options().Contains(goTabs)) {
        grid->KeyDown(Key, Shift);
      } else if (TCustomForm* form = GetParentForm(grid)) {
        form->Perform(CM_DIALOGKEY, VK_TAB, 0);
      }
      Key = 0;
      return;
    default: break;
  }
  if (!toGrid) {
    TCustomEdit::KeyDown(Key, Shift);
    return;
  }
  // Navigation takes the typed text first, then moves on in the grid.
  grid->HideEditor();
  if (!gridGuard.Gone()) grid->KeyDown(Key, Shift);
  Key = 0;
}

void TInplaceEdit::KeyPress(char32_t& Key) {
  if (FGrid != nullptr) {
    TDestroyGuard guard(this);
    FGrid->KeyPress(Key);
    if (Key == 0) return;
    if (guard.Gone()) {
      Key = 0;
      return;
    }
  }
  if (Key == U'\r' || Key == 27 || Key == U'\t') {
    Key = 0;
    return;
  }
  TCustomEdit::KeyPress(Key);
}

// ---- the pick list ------------------------------------------------------------------------

// The list that drops down below a pick-list editor, in a drop-down
// window of its own. It takes no focus: the editor keeps the keys and
// steers the list.
class TPickListBox : public TCustomControl {
 public:
  TPickListBox(TComponent* AOwner, TInplaceEditList* AEditor) : TCustomControl(AOwner), FEditor(AEditor) {
    FControlStyle.Include(csOpaque);
    SetVisible(false);
  }

  [[nodiscard]] int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value) {
    const int count = static_cast<int>(FEditor->FItems.size());
    FItemIndex = count == 0 ? -1 : std::clamp(Value, 0, count - 1);
    if (FItemIndex >= 0 && FItemIndex < FTopIndex) FTopIndex = FItemIndex;
    if (FItemIndex >= FTopIndex + FRows) FTopIndex = FItemIndex - FRows + 1;
    Invalidate();
  }
  void SetRows(int Value) { FRows = std::max(1, Value); }
  [[nodiscard]] int ItemHeight() const {
    Canvas()->SetFont(Font());
    return Canvas()->TextHeight("Ag") + 2;
  }

  void Paint() override {
    TCanvas& c = *Canvas();
    c.SetFont(Font());
    c.Brush()->SetStyle(bsSolid);
    c.Brush()->SetColor(clWindow);
    c.Pen()->SetColor(clBlack);
    c.Rectangle(ClientRect());
    const int h = ItemHeight();
    const auto& items = FEditor->FItems;
    for (int i = 0; i < FRows && FTopIndex + i < static_cast<int>(items.size()); ++i) {
      const int index = FTopIndex + i;
      const TRect r{1, 1 + i * h, Width() - 1, 1 + (i + 1) * h};
      const bool chosen = index == FItemIndex;
      c.Brush()->SetColor(chosen ? clHighlight : clWindow);
      c.Font()->SetColor(chosen ? clHighlightText : clWindowText);
      c.TextRect(r, r.Left + 2, r.Top + 1, items[static_cast<std::size_t>(index)]);
    }
  }

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    TDestroyGuard guard(this);
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || guard.Gone()) return;
    const int index = FTopIndex + (Y - 1) / std::max(1, ItemHeight());
    if (index >= 0 && index < static_cast<int>(FEditor->FItems.size())) FEditor->PickItem(index);
  }

  bool DoMouseWheelDown(TShiftState, TPoint) override {
    ScrollBy(WheelScrollLines());
    return true;
  }
  bool DoMouseWheelUp(TShiftState, TPoint) override {
    ScrollBy(-WheelScrollLines());
    return true;
  }

 private:
  void ScrollBy(int Delta) {
    const int count = static_cast<int>(FEditor->FItems.size());
    FTopIndex = std::clamp(FTopIndex + Delta, 0, std::max(0, count - FRows));
    Invalidate();
  }

  TInplaceEditList* FEditor;
  int FItemIndex = -1;
  int FTopIndex = 0;
  int FRows = 1;
};

// ---- TInplaceEditList ---------------------------------------------------------------------

TInplaceEditList::TInplaceEditList(TComponent* AOwner) : TInplaceEdit(AOwner) {}

TInplaceEditList::~TInplaceEditList() {
  delete FWindow;  // with the list on it
  FWindow = nullptr;
  FList = nullptr;
}

void TInplaceEditList::Notification(TComponent* AComponent, TOperation Operation) {
  TInplaceEdit::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FWindow) {
    FWindow = nullptr;
    FList = nullptr;
  } else if (AComponent == FList) {
    FList = nullptr;
  }
}

void TInplaceEditList::SetEditStyle(TEditStyle Value) {
  if (Value == FEditStyle) return;
  CloseUp(false);
  FEditStyle = Value;
  Invalidate();
}

int TInplaceEditList::ButtonWidth() const { return FEditStyle == esSimple ? 0 : TCustomGrid::ScrollBarSize; }

TRect TInplaceEditList::ButtonRect() const {
  if (FEditStyle == esSimple) return {0, 0, 0, 0};
  return {std::max(0, Width() - ButtonWidth()), 0, Width(), Height()};
}

bool TInplaceEditList::ListVisible() const { return FWindow != nullptr && FList != nullptr && FWindow->IsOpen(); }

void TInplaceEditList::DropDown() {
  if (FEditStyle != esPickList || ListVisible() || Grid() == nullptr) return;
  TDestroyGuard guard(this);
  std::vector<std::string> items;
  RaiseEvent(FOnGetPickListItems, EditCol(), EditRow(), items);
  if (guard.Gone() || ListVisible() || !Visible()) return;
  FItems = std::move(items);
  if (FItems.empty() || GetParentForm(this) == nullptr) return;
  if (FWindow == nullptr) {
    // Its own window, so that neither the grid nor the form clips it; a
    // press anywhere else closes it (OnDismiss).
    FWindow = new TDropDownWindow(this);
    FWindow->SetOnDismiss([this](TObject*) { CloseUp(false); });
    FList = new TPickListBox(FWindow, this);
    FList->SetParent(FWindow);
    FList->SetVisible(true);
  }
  FWindow->SetFont(Font());
  FList->SetFont(Font());
  const int rows = std::min(FDropDownRows, static_cast<int>(FItems.size()));
  const int height = rows * FList->ItemHeight() + 2;
  const int width = std::max(Width(), 40);
  FList->SetRows(rows);
  FList->SetBounds(0, 0, width, height);
  const auto found = std::find(FItems.begin(), FItems.end(), Text());
  FList->SetItemIndex(found == FItems.end() ? 0 : static_cast<int>(found - FItems.begin()));
  FWindow->DropDown(this, width, height);  // below the cell, or above it at the screen's end
}

void TInplaceEditList::CloseUp(bool Accept) {
  if (!ListVisible()) return;
  const int index = FList->ItemIndex();
  FWindow->Hide();
  if (Accept && index >= 0 && index < static_cast<int>(FItems.size())) {
    TDestroyGuard guard(this);
    SetText(FItems[static_cast<std::size_t>(index)]);  // OnChange runs
    if (!guard.Gone()) SelectAll();
  }
}

void TInplaceEditList::PickItem(int Index) {
  if (FList == nullptr) return;
  FList->SetItemIndex(Index);
  CloseUp(true);
}

void TInplaceEditList::KeyDown(Word& Key, TShiftState Shift) {
  if (ListVisible()) {
    switch (Key) {
      case VK_UP: FList->SetItemIndex(FList->ItemIndex() - 1); break;
      case VK_DOWN: FList->SetItemIndex(FList->ItemIndex() + 1); break;
      case VK_RETURN:
      case VK_ESCAPE: {
        const bool accept = Key == VK_RETURN;
        Key = 0;
        FSwallowChar = true;
        CloseUp(accept);
        return;
      }
      default: TInplaceEdit::KeyDown(Key, Shift); return;
    }
    Key = 0;
    return;
  }
  const bool opens = (Key == VK_DOWN && Shift.Contains(ssAlt)) || Key == VK_F1 + 3;  // Alt+Down, F4
  if (opens && FEditStyle == esPickList) {
    Key = 0;
    DropDown();
    return;
  }
  TInplaceEdit::KeyDown(Key, Shift);
}

void TInplaceEditList::KeyPress(char32_t& Key) {
  if (SwallowClosingChar(FSwallowChar, Key)) return;
  TInplaceEdit::KeyPress(Key);
}

void TInplaceEditList::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && ButtonRect().Contains({X, Y})) {
    if (FEditStyle == esPickList) {
      if (ListVisible()) {
        CloseUp(false);
      } else {
        DropDown();
      }
    } else {
      RaiseEvent(FOnEditButtonClick, this);
    }
    return;
  }
  TInplaceEdit::MouseDown(Button, Shift, X, Y);
}

void TInplaceEditList::Paint() {
  TInplaceEdit::Paint();
  const TRect button = ButtonRect();
  if (button.IsEmpty()) return;
  TCanvas& c = *Canvas();
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->SetColor(clBtnFace);
  c.FillRect(button);
  TRect r = button;
  Frame3D(c, r, clBtnHighlight, clBtnShadow, 1);
  const int cx = (button.Left + button.Right) / 2;
  const int cy = (button.Top + button.Bottom) / 2;
  c.Pen()->SetColor(clBlack);
  c.Brush()->SetColor(clBlack);
  if (FEditStyle == esPickList) {
    const TPoint arrow[3] = {{cx - 3, cy - 1}, {cx + 3, cy - 1}, {cx, cy + 2}};
    c.Polygon(arrow);
  } else {
    for (int dx = -4; dx <= 4; dx += 4) c.FillRect({cx + dx - 1, cy + 2, cx + dx + 1, cy + 4});
  }
}

// ---- TCustomDrawGrid -------------------------------------------------------------------------

void TCustomDrawGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  // Through a copy: a handler that deletes the grid must not destroy
  // itself while it runs.
  RaiseEvent(FOnDrawCell, this, ACol, ARow, ARect, AState);
}

bool TCustomDrawGrid::SelectCell(int ACol, int ARow) {
  bool canSelect = true;
  RaiseEvent(FOnSelectCell, this, ACol, ARow, canSelect);
  return canSelect;
}

void TCustomDrawGrid::TopLeftChanged() {
  TCustomGrid::TopLeftChanged();
  RaiseEvent(FOnTopLeftChanged, this);
}

void TCustomDrawGrid::ColumnMoved(int FromIndex, int ToIndex) {
  RaiseEvent(FOnColumnMoved, this, FromIndex, ToIndex);
}

void TCustomDrawGrid::RowMoved(int FromIndex, int ToIndex) {
  RaiseEvent(FOnRowMoved, this, FromIndex, ToIndex);
}

std::string TCustomDrawGrid::GetEditText(int ACol, int ARow) {
  std::string value;
  RaiseEvent(FOnGetEditText, this, ACol, ARow, value);
  return value;
}

void TCustomDrawGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
  RaiseEvent(FOnSetEditText, this, ACol, ARow, Value);
}

// ---- TStringGrid ------------------------------------------------------------------------------

std::string TStringGrid::Cells(int ACol, int ARow) const {
  const auto it = FCells.find({ARow, ACol});
  return it == FCells.end() ? std::string() : it->second;
}

void TStringGrid::SetCells(int ACol, int ARow, const std::string& Value) {
  if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) return;
  if (Value.empty()) {
    FCells.erase({ARow, ACol});
  } else {
    FCells[{ARow, ACol}] = Value;
  }
  InvalidateCell(ACol, ARow);
}

std::vector<std::string> TStringGrid::Rows(int ARow) const {
  std::vector<std::string> values;
  if (ARow < 0 || ARow >= RowCount()) return values;
  for (int c = 0; c < ColCount(); ++c) values.push_back(Cells(c, ARow));
  return values;
}

void TStringGrid::SetRows(int ARow, const std::vector<std::string>& Values) {
  for (int c = 0; c < ColCount(); ++c) {
    SetCells(c, ARow, c < static_cast<int>(Values.size()) ? Values[static_cast<std::size_t>(c)] : std::string());
  }
}

std::vector<std::string> TStringGrid::Cols(int ACol) const {
  std::vector<std::string> values;
  if (ACol < 0 || ACol >= ColCount()) return values;
  for (int r = 0; r < RowCount(); ++r) values.push_back(Cells(ACol, r));
  return values;
}

void TStringGrid::SetCols(int ACol, const std::vector<std::string>& Values) {
  for (int r = 0; r < RowCount(); ++r) {
    SetCells(ACol, r, r < static_cast<int>(Values.size()) ? Values[static_cast<std::size_t>(r)] : std::string());
  }
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (DefaultDrawing()) Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, Cells(ACol, ARow));
  TCustomDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

std::string TStringGrid::GetEditText(int ACol, int ARow) {
  std::string value = Cells(ACol, ARow);
  RaiseEvent(OnGetEditText(), this, ACol, ARow, value);
  return value;
}

void TStringGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
  SetCells(ACol, ARow, Value);
  TCustomDrawGrid::SetEditText(ACol, ARow, Value);
}

void TStringGrid::SizeChanged(int OldColCount, int OldRowCount) {
  TCustomDrawGrid::SizeChanged(OldColCount, OldRowCount);
  std::erase_if(FCells, [this](const auto& entry) {
    return entry.first.first >= RowCount() || entry.first.second >= ColCount();
  });
}

namespace {

// Where index I goes when the entry at From moves to To.
int MovedIndex(int I, int From, int To) {
  if (I == From) return To;
  if (From < To && I > From && I <= To) return I - 1;
  if (To < From && I >= To && I < From) return I + 1;
  return I;
}

}  // namespace

void TStringGrid::Remap(const std::function<TKey(TKey)>& Map) {
  std::map<TKey, std::string> moved;
  for (auto& [key, text] : FCells) moved.emplace(Map(key), std::move(text));
  FCells = std::move(moved);
}

void TStringGrid::ColumnMoved(int FromIndex, int ToIndex) {
  Remap([=](TKey k) { return TKey{k.first, MovedIndex(k.second, FromIndex, ToIndex)}; });
  TCustomDrawGrid::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex) {
  Remap([=](TKey k) { return TKey{MovedIndex(k.first, FromIndex, ToIndex), k.second}; });
  TCustomDrawGrid::RowMoved(FromIndex, ToIndex);
}

}  // namespace vorn
