// The report list view under mouse and keyboard: selection kept in the
// row and column attribute bytes, check marks, header-click sorting, the
// automatic column width, in-place editing, and filtering.
#include <algorithm>

#include "vorn/replist/replistview.h"

namespace vorn {

namespace {

// Keeps the view's own attribute writes out of OnChange and its painting
// off while they run. Restores nothing when a handler deleted the view.
class TQuiet {
 public:
  TQuiet(const TControl* View, int& Counter, bool& SuppressPaint)
      : FView(View), FCounter(Counter), FSuppress(SuppressPaint), FSaved(SuppressPaint) {
    ++FCounter;
    FSuppress = true;
  }
  ~TQuiet() {
    if (FView.Gone()) return;
    --FCounter;
    FSuppress = FSaved;
  }
  TQuiet(const TQuiet&) = delete;
  TQuiet& operator=(const TQuiet&) = delete;

 private:
  TDestroyGuard FView;
  int& FCounter;
  bool& FSuppress;
  bool FSaved;
};

}  // namespace

// ---- selection ------------------------------------------------------------------------------------

void TReportListView::SetRowBit(int Row, std::uint8_t Bit, bool Value) {
  if (!RowInside(Row)) return;
  TStringArray& s = *FRLData->Strings();
  const std::uint8_t a = s.GetRowAttrib(Row);
  const auto b = static_cast<std::uint8_t>(Value ? a | Bit : a & ~Bit);
  if (a != b) s.SetRowAttribQuietly(Row, b);  // selection and filter marks are not content
}

void TReportListView::SetAllRowBits(std::uint8_t Bit, bool Value) {
  if (Bit == RowSelectedBit) FSoleSelected = Value ? -1 : 0;
  {
    TQuiet quiet(this, FQuietModel, FSuppressPaint);
    for (int r = 1; r <= NrOfRows(); ++r) SetRowBit(r, Bit, Value);
  }
  Redraw();
}

bool TReportListView::RowSelected(int Row) const { return RowInside(Row) && (RowAttrib(Row) & RowSelectedBit) != 0; }
bool TReportListView::RowEnabled(int Row) const { return RowInside(Row) && (RowAttrib(Row) & RowDisabledBit) == 0; }
bool TReportListView::RowFiltered(int Row) const { return RowInside(Row) && (RowAttrib(Row) & RowFilteredBit) != 0; }

bool TReportListView::ColumnSelected(int Col) const {
  return ColInside(Col) && (FRLData->Strings()->GetColAttrib(Col) & ColSelectedBit) != 0;
}

void TReportListView::SetRowSelected(int Row, bool Value) {
  if (!RowInside(Row)) return;
  SetRowBit(Row, RowSelectedBit, Value);
  FSoleSelected = -1;
  Redraw();
  ChangedSelection();
}

void TReportListView::SetRowEnabled(int Row, bool Value) {
  if (!RowInside(Row)) return;
  SetRowBit(Row, RowDisabledBit, !Value);
  Redraw();
  ChangedSelection();
}

void TReportListView::SetColumnSelected(int Col, bool Value) {
  if (!ColInside(Col)) return;
  TStringArray& s = *FRLData->Strings();
  const std::uint8_t a = s.GetColAttrib(Col);
  ++FQuietModel;
  s.SetColAttrib(Col, static_cast<std::uint8_t>(Value ? a | ColSelectedBit : a & ~ColSelectedBit));
  --FQuietModel;
  Redraw();
  ChangedSelection();
}

int TReportListView::FirstSelectedRow() const {
  for (int r = 1; r <= NrOfRows(); ++r) {
    if (RowSelected(r)) return RowEnabled(r) ? r : 0;
  }
  return 0;
}

int TReportListView::FirstSelectedColumn() const {
  for (int c = 1; c <= NrOfColumns(); ++c) {
    if (ColumnSelected(c)) return c;
  }
  return 0;
}

int TReportListView::NumSelectedRows() const {
  int n = 0;
  for (int r = 1; r <= NrOfRows(); ++r) n += RowSelected(r) ? 1 : 0;
  return n;
}

int TReportListView::NumSelectedColumns() const {
  int n = 0;
  for (int c = 1; c <= NrOfColumns(); ++c) n += ColumnSelected(c) ? 1 : 0;
  return n;
}

int TReportListView::NumEnabledRows() const {
  int n = 0;
  for (int r = 1; r <= NrOfRows(); ++r) n += RowEnabled(r) ? 1 : 0;
  return n;
}

int TReportListView::NumShownRows() const {
  int n = 0;
  for (int r = 1; r <= NrOfRows(); ++r) n += RowFiltered(r) ? 0 : 1;
  return n;
}

void TReportListView::SelectAllRows() {
  SetAllRowBits(RowSelectedBit, true);
  ChangedSelection();
}
void TReportListView::DeselectAllRows() {
  SetAllRowBits(RowSelectedBit, false);
  ChangedSelection();
}
void TReportListView::EnableAllRows() {
  SetAllRowBits(RowDisabledBit, false);
  ChangedSelection();
}
void TReportListView::DisableAllRows() {
  SetAllRowBits(RowDisabledBit, true);
  ChangedSelection();
}

void TReportListView::SelectAllColumns() {
  for (int c = 1; c <= NrOfColumns(); ++c) {
    ++FQuietModel;
    FRLData->Strings()->SetColAttrib(c, FRLData->Strings()->GetColAttrib(c) | ColSelectedBit);
    --FQuietModel;
  }
  Redraw();
  ChangedSelection();
}

void TReportListView::DeselectAllColumns() {
  for (int c = 1; c <= NrOfColumns(); ++c) {
    ++FQuietModel;
    FRLData->Strings()->SetColAttrib(c, FRLData->Strings()->GetColAttrib(c) & ~ColSelectedBit);
    --FQuietModel;
  }
  Redraw();
  ChangedSelection();
}

void TReportListView::SelectOnlyRow(int R) {
  {
    TQuiet quiet(this, FQuietModel, FSuppressPaint);
    if (FSoleSelected >= 0) {
      if (FSoleSelected != R) SetRowBit(FSoleSelected, RowSelectedBit, false);
      SetRowBit(R, RowSelectedBit, true);
    } else {
      for (int r = 1; r <= NrOfRows(); ++r) SetRowBit(r, RowSelectedBit, r == R);
    }
    FSoleSelected = RowInside(R) ? R : 0;
  }
  Redraw();
}

void TReportListView::SetRowSelectMode(int Value) {
  FRowSelectMode = Value;
  if (Value == 2) return;
  const TDestroyGuard guard(this);
  {
    TQuiet quiet(this, FQuietModel, FSuppressPaint);
    for (int r = 1; r <= NrOfRows(); ++r) SetRowBit(r, RowSelectedBit, false);
    FSoleSelected = 0;
    if (Value == 0) SetSelection({NrOfColumns() + 1, NrOfRows() + 1, NrOfColumns() + 1, NrOfRows() + 1});
  }
  if (guard.Gone()) return;
  Redraw();
  ChangedSelection();
}

void TReportListView::CenterScrollAndSelect(int Row) {
  const TDestroyGuard guard(this);
  {
    TQuiet quiet(this, FQuietModel, FSuppressPaint);
    for (int r = 1; r <= NrOfRows(); ++r) SetRowBit(r, RowSelectedBit, r == Row);
    FSoleSelected = RowInside(Row) ? Row : 0;
    const int v = VisibleRowCount();
    SetTopRow(std::max(1, Row > NrOfRows() - v / 2 ? NrOfRows() - v + 1 : Row - v / 2));
    if (guard.Gone()) return;  // OnTopLeftChanged deleted the view
    SetSelection({0, GridRowOf(Row), NrOfColumns() - 1, GridRowOf(Row)});
  }
  if (guard.Gone()) return;
  Redraw();
}

TGridCoord TReportListView::MouseCell(int X, int Y) const {
  const TGridCoord p = MouseCoord(X, Y);
  TGridCoord cell{p.X + 1, 0};
  if (p.Y < 0) return cell;
  if (p.Y >= FixedRows()) {
    cell.Y = TableRowOf(p.Y);
  } else if (CountHeadRows() == 2) {
    cell.Y = p.Y == 0 ? -2 : -1;
  } else {
    cell.Y = FComHdVis ? -2 : -1;
  }
  return cell;
}

// ---- mouse -----------------------------------------------------------------------------------------

void TReportListView::MouseMove(TShiftState Shift, int X, int Y) {
  FLastMousePosX = X;
  FLastMousePosY = Y;
  TCustomDrawGrid::MouseMove(Shift, X, Y);
}

void TReportListView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FLastMousePosX = X;
  FLastMousePosY = Y;
  TDestroyGuard guard(this);
  TCustomDrawGrid::MouseDown(Button, Shift, X, Y);
  if (guard.Gone()) return;
  if (Button != mbLeft || X <= 0 || X >= GridWidth() || Y <= 0 || Y >= GridHeight()) return;
  const TGridCoord cell = MouseCoord(X, Y);
  if (cell.X < 0 || cell.Y < 0) return;
  const int col = TableColOf(cell.X);
  if (FColHdVis && cell.Y == ColumnHeaderGridRow()) {
    const TRect r = CellRect(cell.X, cell.Y);
    if (FSortEnabled && X > r.Left + 4 && X < r.Right - 4) HeaderClickSort(col);
    return;
  }
  if (cell.Y < FixedRows()) return;
  const int row = TableRowOf(cell.Y);
  {
    TQuiet quiet(this, FQuietModel, FSuppressPaint);
    TGridOptions options = Options();
    if (ColumnEditable(col) && RowEnabled(row)) {
      options.Include(goEditing);
    } else {
      options.Exclude(goEditing);
    }
    SetOptions(options);
  }
  const TRect r = CellRect(cell.X, cell.Y);
  if (ColumnCheckMode(col) != cmNone && X < r.Left + 18 && !FROCheckMarks && RowEnabled(row) &&
      (FRLData->Strings()->StringView(col, row).size() > 1 || FShowEmptyCBx)) {
    ToggleCheck(col, row);
    if (guard.Gone()) return;
  }
  SelectByClick(TableRowOf(Selection().Top), Shift);
  if (!guard.Gone()) Redraw();
}

void TReportListView::ToggleCheck(int C, int R) {
  bool state = !ElemChecked(C, R);
  TDestroyGuard guard(this);
  RaiseEvent(FOnBefChkStChange, this, state, C, R);
  if (guard.Gone() || !RowInside(R) || !ColInside(C)) return;  // the handler may have shrunk the table
  if (ColumnCheckMode(C) == cmRadio) {
    Model()->SetElemChecked(C, R, true);
  } else if (ColumnCheckMode(C) == cmBox) {
    Model()->SetElemChecked(C, R, state);
  }
  if (guard.Gone()) return;
  bool after = !state;
  RaiseEvent(FOnChkStChange, this, after, C, R);
}

void TReportListView::SelectByClick(int R, TShiftState Shift) {
  if (!RowInside(R)) return;
  switch (FRowSelectMode) {
    case 1: SelectOnlyRow(R); break;
    case 2:
      if (Shift.Contains(ssShift)) {
        const int anchor = std::clamp(FSelectAnchor, 1, NrOfRows());
        const std::uint8_t a = RowAttrib(anchor);
        TQuiet quiet(this, FQuietModel, FSuppressPaint);
        FSoleSelected = -1;
        for (int r = std::min(anchor, R); r <= std::max(anchor, R); ++r) {
          const auto keep = static_cast<std::uint8_t>(RowAttrib(r) & RowFilteredBit);
          FRLData->Strings()->SetRowAttrib(r, static_cast<std::uint8_t>((a & ~RowFilteredBit) | keep));
        }
      } else {
        FSelectAnchor = R;
        if (Shift.Contains(ssCtrl) || !FCtrlForMultiSel) {
          SetRowBit(R, RowSelectedBit, !RowSelected(R));
          FSoleSelected = -1;
        } else {
          SelectOnlyRow(R);
        }
      }
      break;
    default: return;
  }
  ChangedSelection();
}

void TReportListView::HeaderClickSort(int C) {
  const TCursor saved = Screen()->Cursor();
  Screen()->SetCursor(crHourGlass);
  const int shownRow = TableRowOf(Selection().Top);
  const int storage = FRLData->Strings()->GetSortOrder(shownRow);
  FRLData->SetSortToggle(!FRLData->SortToggle());
  const TDestroyGuard guard(this);
  Sort(C, SecondarySortColumn(), FRLData->SortToggle());
  if (guard.Gone()) {
    Screen()->SetCursor(saved);
    return;
  }
  if (storage > 0) {
    for (int r = 1; r <= NrOfRows(); ++r) {
      if (FRLData->Strings()->GetSortOrder(r) == storage) {
        TGridRect sel = Selection();
        sel.Top = sel.Bottom = GridRowOf(r);
        SetSelection(sel);
        break;
      }
    }
  }
  Screen()->SetCursor(saved);
}

void TReportListView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDestroyGuard guard(this);
  TCustomDrawGrid::MouseUp(Button, Shift, X, Y);
  if (guard.Gone() || FRowSelectMode != 2) return;
  if (X > GridWidth() || (Button == mbLeft && Y > GridHeight())) {
    SetAllRowBits(RowSelectedBit, false);
    ChangedSelection();
  }
}

void TReportListView::DblClick() {
  const int x = FLastMousePosX;
  const int y = FLastMousePosY;
  const TGridCoord cell = MouseCoord(x, y);
  if (y < GridHeight() && FColHdVis && cell.X >= 0 && cell.Y == ColumnHeaderGridRow()) {
    const TRect r = CellRect(cell.X, cell.Y);
    if (x - r.Left < 5 || r.Right - x <= 4) {
      int target = x > (r.Left + r.Right) / 2 ? cell.X : cell.X - 1;
      while (target > 0 && TCustomGrid::ColWidths(target) == 0) --target;
      if (target >= 0) AutoColWidth(TableColOf(target), true, 0);
    }
    return;
  }
  TCustomDrawGrid::DblClick();
}

bool TReportListView::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (NrOfRows() == 0) return false;
  return TCustomDrawGrid::DoMouseWheelDown(Shift, MousePos);
}

bool TReportListView::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (NrOfRows() == 0) return false;
  return TCustomDrawGrid::DoMouseWheelUp(Shift, MousePos);
}

// ---- keys -----------------------------------------------------------------------------------------

void TReportListView::KeyDown(Word& Key, TShiftState Shift) {
  const Word key = Key;
  TDestroyGuard guard(this);
  TCustomDrawGrid::KeyDown(Key, Shift);
  if (guard.Gone()) return;
  switch (key) {
    case VK_DOWN:
    case VK_UP:
    case VK_RIGHT:
    case VK_LEFT:
    case VK_END:
    case VK_HOME:
    case VK_NEXT:
    case VK_PRIOR:
      SelectOnlyRow(TableRowOf(Selection().Top));
      ChangedSelection();
      break;
    default: break;
  }
}

void TReportListView::KeyPress(char32_t& Key) {
  const char32_t key = Key;
  TDestroyGuard guard(this);
  TCustomDrawGrid::KeyPress(Key);
  if (guard.Gone()) return;
  if (FAutoAdvance && (key == 0 || key == U'\r')) {
    Word down = VK_DOWN;
    KeyDown(down, {});
  }
}

// ---- editing --------------------------------------------------------------------------------------

bool TReportListView::SelectCell(int ACol, int ARow) {
  TGridOptions options = Options();
  if (ARow != 0 && ColumnEditable(TableColOf(ACol))) {
    options.Include(goEditing);
  } else {
    options.Exclude(goEditing);
  }
  if (!(options == Options())) SetOptions(options);
  return TCustomDrawGrid::SelectCell(ACol, ARow);
}

// The editor works on the cell shown (the column order applies).
std::string TReportListView::GetEditText(int ACol, int ARow) {
  const int col = TableColOf(ACol);
  const int row = TableRowOf(ARow);
  std::string value = Elem(col, row);
  RaiseEvent(OnGetEditText(), this, ACol, row, value);
  return value;
}

void TReportListView::SetEditText(int ACol, int ARow, const std::string& Value) {
  const int col = TableColOf(ACol);
  const int row = TableRowOf(ARow);
  if (!RowInside(row) || !ColInside(col)) return;  // the table shrank under the editor
  const TDestroyGuard guard(this);
  Model()->SetElem(col, row, Value);
  if (!guard.Gone()) RaiseEvent(OnSetEditText(), this, ACol, row, Value);
}

void TReportListView::TopLeftChanged() {
  Invalidate();
  TCustomDrawGrid::TopLeftChanged();
}

// ---- filtering ------------------------------------------------------------------------------------

void TReportListView::FilterAndSort(const std::string& FilterExp, const std::vector<int>& FilterColumns,
                                    bool IgnoreCase, TFilterMode FilterMode, int SortColumn, bool Ascending) {
  // Compiling first: an invalid expression raises before anything changes.
  const TRowMatcher matcher(FilterExp, FilterMode, IgnoreCase);
  std::vector<int> columns;
  for (const int c : FilterColumns) {
    if (ColInside(c)) columns.push_back(c);
  }
  if (FilterColumns.empty()) {
    for (int c = 1; c <= NrOfColumns(); ++c) columns.push_back(c);
  }
  const TDestroyGuard guard(this);
  HideEditor();
  if (guard.Gone()) return;
  const auto model = Model();  // alive for the loop even if a handler deletes the view
  std::vector<std::string_view> cells(columns.size());
  std::vector<std::size_t> checkCells;  // positions in cells of check columns
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (ColumnCheckMode(columns[i]) != cmNone) checkCells.push_back(i);
  }
  bool anyHidden = false;
  {
    TQuiet quiet(this, FQuietModel, FSuppressPaint);
    for (int r = 1; r <= NrOfRows(); ++r) {
      bool found = true;
      if (!matcher.MatchesAll()) {
        // Looked up per row: a handler may have read a document, which
        // replaces the storage.
        model->Strings()->RowViews(r, columns, cells);
        // Check columns are searched without their check character.
        for (const std::size_t i : checkCells) {
          if (!cells[i].empty()) cells[i].remove_prefix(1);
        }
        found = matcher.Matches(cells);
      }
      if (FOnBeforeFilter) {
        bool own = found;
        TLogicOp op = loNone;
        RaiseEvent(FOnBeforeFilter, this, r, own, op);
        if (guard.Gone()) return;
        found = op == loNone ? own : CombineLogic(op, own, found);
        if (!RowInside(r)) break;  // the handler shrank the table
      }
      SetRowBit(r, RowFilteredBit, !found);
      anyHidden = anyHidden || !found;
    }
  }
  FHasFilteredRows = true;
  if (SortColumn >= 1 && SortColumn <= NrOfColumns()) {
    Sort(SortColumn, SecondarySortColumn(), Ascending);
    if (guard.Gone()) return;
  } else if (!SyncRowHeights()) {
    return;
  }
  FHasFilteredRows = anyHidden || FHasFilteredRows;
  SetTopRow(1);
  Redraw();
  ChangedSetup();
}

}  // namespace vorn
