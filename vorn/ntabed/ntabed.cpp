// The table editor's binding to its table, the cell model, sizes,
// attribute bands, notifications, sorting and copying between editors.
#include "vorn/ntabed/ntabed.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "vorn/foundation/strutils.h"

namespace vorn {

namespace {

constexpr int RowNameColWidth = 80;
constexpr std::int8_t NewColumnDecimals = 3;

}  // namespace

// ---- creation and binding ----------------------------------------------------------------

TNTabEd::TNTabEd(TComponent* AOwner) : TCustomGrid(AOwner) {
  // Painting and notifications stay off until the editor is complete.
  FInternSuppPaint = true;
  SetFixedCols(2);
  TCustomGrid::SetColWidths(1, FClassColWidth);
  TCustomGrid::SetColWidths(0, RowNameColWidth);
  TDataTable* table = nullptr;
  try {
    FDataCopy = std::make_unique<TDataTable>(1, 1, nullptr);
    table = new TDataTable(ColCount() - 2, RowCount() - 1, nullptr);
    FDecP.assign(static_cast<std::size_t>(table->NrOfColumns()), NewColumnDecimals);
  } catch (const std::bad_alloc&) {
    delete table;
    throw EVORNNTabedError(ComponentMessage("failed to initialize table editor (out of memory)"));
  } catch (const EVORNError&) {
    delete table;
    throw EVORNNTabedError(ComponentMessage("failed to initialize table editor (out of memory)"));
  }
  BindTable(table, false);
  SetColor(FColorBkgnd);
  SetFixedColor(FColorFixed);
  CreatePopupMenus();
  CreateHeadingEditors();
  FInternSuppPaint = false;
}

TNTabEd::~TNTabEd() {
  Destroying();
  UnbindTable();
}

std::string TNTabEd::ComponentMessage(const std::string& Reason) const {
  return "Component \"" + Name() + "\": " + Reason;
}

void TNTabEd::BindTable(TDataTable* Table, bool External) {
  FData = Table;
  FExtMatAssigned = External;
  if (External) FreeNotification(Table);
  Table->SetOnChange([this](TObject*) { TableValueChanged(); });
  Table->SetOnChangeSetup([this](TObject*) { TableSetupChanged(); });
  Table->SetOnResize([this](TObject*, int OldCols, int OldRows, int NewCols, int NewRows) {
    TableResized(OldCols, OldRows, NewCols, NewRows);
  });
  Table->SetOnPercentDone([this](TObject*, int Percent) { RaiseEvent(FOnPercentDone, this, Percent); });
  Table->SetOnBeforeSortExchange(
      [this](TObject*, int Kind, int Pos1, int Pos2, int, int) { TableSortExchange(Kind, Pos1, Pos2); });
}

void TNTabEd::UnbindTable() {
  TDataTable* table = FData;
  if (table == nullptr) return;
  FData = nullptr;
  if (!FExtMatAssigned) {
    delete table;
    return;
  }
  table->SetOnChange(nullptr);
  table->SetOnChangeSetup(nullptr);
  table->SetOnResize(nullptr);
  table->SetOnPercentDone(nullptr);
  table->SetOnBeforeSortExchange(nullptr);
  RemoveFreeNotification(table);
  FExtMatAssigned = false;
}

void TNTabEd::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomGrid::Notification(AComponent, Operation);
  if (Operation != opRemove || AComponent != FData || !FExtMatAssigned) return;
  // The bound table is going away: the editor goes on with a table of its
  // own of the size it shows, so that it never reaches a freed table.
  FData = nullptr;
  FExtMatAssigned = false;
  if (ComponentState().Contains(csDestroying)) return;
  TDataTable* table = nullptr;
  try {
    table = new TDataTable(ColCount() - FColOffset - 1, RowCount() - FRowOffset - 1, nullptr);
  } catch (const std::exception&) {
    table = new TDataTable(1, 1, nullptr);
  }
  BindTable(table, false);
  SyncGridSize();
  Redraw();
}

void TNTabEd::AssignAnotherDataMatrix(TDataTable* NewDTab) {
  if (NewDTab == nullptr || NewDTab == FData) return;
  TDestroyGuard guard(this);
  HideEditor();
  if (guard.Gone()) return;
  {
    TBulk bulk(*this);
    UnbindTable();
    BindTable(NewDTab, true);
    FDecP.resize(static_cast<std::size_t>(NewDTab->NrOfColumns()), NewColumnDecimals);
    SyncGridSize();
    if (guard.Gone()) return;
  }
  Redraw();
  ChangedSetup();
  if (!guard.Gone()) ChangedData();
}

// ---- reports of the table --------------------------------------------------------------------

void TNTabEd::TableValueChanged() {
  if (FValueEventQuiet) return;
  TDestroyGuard guard(this);
  ChangedData();
  if (!guard.Gone()) Redraw();
}

void TNTabEd::TableSetupChanged() {
  if (FValueEventQuiet) return;
  TDestroyGuard guard(this);
  ChangedSetup();
  if (!guard.Gone()) Redraw();
}

// The grid follows every change of the table's size, also one made by
// someone else on a bound table. New columns take the width and the
// decimal places of the former last column; decimal places stay with
// column positions.
void TNTabEd::TableResized(int OldCols, int, int NewCols, int) {
  std::int8_t decimals = NewColumnDecimals;
  if (!FDecP.empty()) {
    const std::size_t from = std::min<std::size_t>(FDecP.size(), static_cast<std::size_t>(std::max(OldCols, 1)));
    decimals = FDecP[from - 1];
  }
  const int width = TCustomGrid::ColWidths(ColCount() - 1);
  try {
    FDecP.resize(static_cast<std::size_t>(std::max(NewCols, 0)), decimals);
  } catch (const std::bad_alloc&) {
    throw EVORNNTabedError(ComponentMessage("not enough memory on heap"));
  } catch (const std::length_error&) {
    throw EVORNNTabedError(ComponentMessage("not enough memory on heap"));
  }
  TDestroyGuard guard(this);
  SyncGridSize();
  if (guard.Gone()) return;
  for (int c = OldCols + 1; c <= NewCols; ++c) TCustomGrid::SetColWidths(c + FColOffset, width);
  Redraw();
}

void TNTabEd::TableSortExchange(int Kind, int Pos1, int Pos2) {
  if (Kind != 1 || !FSortIncludeHd) return;
  const auto n = static_cast<int>(FDecP.size());
  if (Pos1 < 1 || Pos2 < 1 || Pos1 > n || Pos2 > n) return;
  std::swap(FDecP[static_cast<std::size_t>(Pos1 - 1)], FDecP[static_cast<std::size_t>(Pos2 - 1)]);
}

// The grid keeps at least one data column and row, so that the fixed
// bands stay in place also over a table without cells; cells beyond the
// table are drawn empty and ignore edits.
void TNTabEd::SyncGridSize() {
  TDestroyGuard guard(this);
  TCustomGrid::SetColCount(std::max(NrOfColumns(), 1) + FColOffset + 1);
  if (guard.Gone()) return;
  TCustomGrid::SetRowCount(std::max(NrOfRows(), 1) + FRowOffset + 1);
  if (guard.Gone()) return;
  SetFixedCols(1 + FColOffset);
  if (guard.Gone()) return;
  SetFixedRows(1 + FRowOffset);
}

// ---- notifications and painting --------------------------------------------------------------

namespace {

template <typename Event>
void Notify(const Event& Handler, TObject* Sender, bool Quiet) {
  if (!Quiet) RaiseEvent(Handler, Sender);
}

}  // namespace

void TNTabEd::ChangedData() { Notify(FOnChange, this, FSuppressPaint || FInternSuppPaint); }
void TNTabEd::ChangedHeading() { Notify(FOnHeadingChanged, this, FSuppressPaint || FInternSuppPaint); }
void TNTabEd::ChangedAttrib() { Notify(FOnChangeAttrib, this, FSuppressPaint || FInternSuppPaint); }
void TNTabEd::ChangedLayout() { Notify(FOnChangeLayout, this, FSuppressPaint || FInternSuppPaint); }
void TNTabEd::ChangedCellStates() { Notify(FOnChangeCellSt, this, FSuppressPaint || FInternSuppPaint); }
void TNTabEd::ChangedSelection() { Notify(FOnSelChanged, this, FSuppressPaint || FInternSuppPaint); }
void TNTabEd::ChangedSetup() { Notify(FOnChangeSetup, this, FSuppressPaint || FInternSuppPaint); }

void TNTabEd::Redraw() {
  if (!FSuppressPaint && !FInternSuppPaint) Invalidate();
}

void TNTabEd::SetSuppressPaint(bool Value) {
  if (Value == FSuppressPaint) return;
  FSuppressPaint = Value;
  if (!Value) Redraw();
}

void TNTabEd::Paint() {
  if (FSuppressPaint || FInternSuppPaint) return;
  TDestroyGuard guard(this);
  TCustomGrid::Paint();
  if (guard.Gone() || !FOptRowHeight) return;
  const int h = AutoRowHeight(-1, 2);
  if (h != DefaultRowHeight()) TCustomGrid::SetDefaultRowHeight(h);
}

void TNTabEd::CMFontChanged(TMessage& Message) {
  TCustomGrid::CMFontChanged(Message);
  Canvas()->SetFont(Font());
  Redraw();
}

// ---- size ------------------------------------------------------------------------------------

void TNTabEd::SetNrOfColumns(int Value) { Redimension(Value, NrOfRows()); }

void TNTabEd::SetNrOfRows(int Value) { Redimension(NrOfColumns(), Value); }

void TNTabEd::Redimension(int NrCols, int NrRows) {
  NrCols = std::max(NrCols, 1);
  NrRows = std::max(NrRows, 1);
  if (NrCols == NrOfColumns() && NrRows == NrOfRows()) return;
  TDestroyGuard guard(this);
  {
    TBulk bulk(*this);
    // The decimal places get their room first, so that a failure leaves
    // the table as it was.
    try {
      FDecP.reserve(static_cast<std::size_t>(NrCols));
    } catch (const std::bad_alloc&) {
      throw EVORNNTabedError(ComponentMessage("not enough memory on heap"));
    } catch (const std::length_error&) {
      throw EVORNNTabedError(ComponentMessage("not enough memory on heap"));
    }
    try {
      FData->Resize(NrCols, NrRows);
    } catch (const EVORNError&) {
      FDecP.shrink_to_fit();
      throw;
    }
    if (guard.Gone()) return;
  }
  Redraw();
  ChangedSetup();
}

void TNTabEd::InsertRow(int ix) {
  if (ix < 1 || ix > NrOfRows() + 1) return;
  {
    TBulk bulk(*this);
    FData->InsertRow(ix);
  }
  Redraw();
  ChangedSetup();
}

void TNTabEd::InsertColumn(int ix) {
  if (ix < 1 || ix > NrOfColumns() + 1) return;
  {
    TBulk bulk(*this);
    FData->InsertColumn(ix);
  }
  Redraw();
  ChangedSetup();
}

void TNTabEd::RemoveRow(int ix) {
  if (ix < 1 || ix > NrOfRows() || NrOfRows() < 2) return;
  TDestroyGuard guard(this);
  HideEditor();
  if (guard.Gone()) return;
  {
    TBulk bulk(*this);
    FData->RemoveRow(ix);
  }
  Redraw();
  ChangedSetup();
}

void TNTabEd::RemoveColumn(int ix) {
  if (ix < 1 || ix > NrOfColumns() || NrOfColumns() < 2) return;
  TDestroyGuard guard(this);
  HideEditor();
  if (guard.Gone()) return;
  {
    TBulk bulk(*this);
    FData->RemoveColumn(ix);
  }
  Redraw();
  ChangedSetup();
}

void TNTabEd::MirrorRows() {
  {
    TBulk bulk(*this);
    FData->MirrorRows();
  }
  Redraw();
  ChangedData();
}

void TNTabEd::MirrorColumns() {
  {
    TBulk bulk(*this);
    FData->MirrorColumns();
    std::reverse(FDecP.begin(), FDecP.end());
  }
  Redraw();
  ChangedData();
}

void TNTabEd::Clear() {
  {
    TBulk bulk(*this);
    FData->Clear();
    for (int c = 1; c <= NrOfColumns(); ++c) FData->SetColName(c, "C-" + std::to_string(c));
    for (int r = 1; r <= NrOfRows(); ++r) FData->SetRowName(r, "R-" + std::to_string(r));
    std::fill(FDecP.begin(), FDecP.end(), NewColumnDecimals);
  }
  TDestroyGuard guard(this);
  Redraw();
  ChangedData();
  if (!guard.Gone()) ChangedHeading();
}

// ---- cells -------------------------------------------------------------------------------------

void TNTabEd::SetElem(int ACol, int ARow, double Value) { FData->SetElem(ACol, ARow, Value); }

void TNTabEd::SetCellState(int ACol, int ARow, std::uint8_t Value) {
  {
    TBulk bulk(*this);
    FData->SetCellState(ACol, ARow, Value);
  }
  Redraw();
  ChangedCellStates();
}

void TNTabEd::ChangeStateBit(int ACol, int ARow, std::uint8_t Bit, bool Set) {
  const std::uint8_t s = FData->GetCellState(ACol, ARow);
  const auto now = static_cast<std::uint8_t>(Set ? s | Bit : s & ~Bit);
  if (now == s) return;
  TBulk bulk(*this);
  FData->SetCellState(ACol, ARow, now);
}

void TNTabEd::SetElemMarkedA(int ACol, int ARow, bool Value) {
  ChangeStateBit(ACol, ARow, dtsMarkA, Value);
  Redraw();
  ChangedCellStates();
}

void TNTabEd::SetElemMarkedB(int ACol, int ARow, bool Value) {
  ChangeStateBit(ACol, ARow, dtsMarkB, Value);
  Redraw();
  ChangedCellStates();
}

void TNTabEd::SetIsEmpty(int ACol, int ARow, bool Value) {
  ChangeStateBit(ACol, ARow, dtsEmpty, Value);
  Redraw();
  ChangedCellStates();
}

template <typename F>
void TNTabEd::ForEachCell(F&& Change) {
  TBulk bulk(*this);
  for (int r = 1; r <= NrOfRows(); ++r) {
    for (int c = 1; c <= NrOfColumns(); ++c) {
      const std::uint8_t s = FData->GetCellState(c, r);
      const std::uint8_t now = Change(s);
      if (now != s) FData->SetCellState(c, r, now);
    }
  }
}

int TNTabEd::CountStates(std::uint8_t Mask) const {
  int n = 0;
  for (int r = 1; r <= NrOfRows(); ++r) {
    for (int c = 1; c <= NrOfColumns(); ++c) n += (FData->GetCellState(c, r) & Mask) != 0 ? 1 : 0;
  }
  return n;
}

void TNTabEd::StatesChangedEverywhere() {
  Redraw();
  ChangedCellStates();
}

void TNTabEd::Fill(double Value) {
  FData->DataMat().Fill(Value);
  Redraw();
  ChangedData();
}

int TNTabEd::FillMarkedCells(double Value, std::uint8_t Statemask) {
  int filled = 0;
  {
    TBulk bulk(*this);
    filled = FData->FillMarkedCells(Value, Statemask);
  }
  Redraw();
  ChangedData();
  return filled;
}

void TNTabEd::InvertCellStates(std::uint8_t StateMask) {
  {
    TBulk bulk(*this);
    FData->InvertCellStates(StateMask);
  }
  StatesChangedEverywhere();
}

void TNTabEd::ExchangeMarkings() {
  {
    TBulk bulk(*this);
    FData->ExchangeMarkings();
  }
  StatesChangedEverywhere();
}

void TNTabEd::MarkAllElemsA() {
  ForEachCell([](std::uint8_t s) { return static_cast<std::uint8_t>(s | dtsMarkA); });
  StatesChangedEverywhere();
}

void TNTabEd::MarkAllElemsB() {
  ForEachCell([](std::uint8_t s) { return static_cast<std::uint8_t>(s | dtsMarkB); });
  StatesChangedEverywhere();
}

void TNTabEd::UnMarkAllElems() {
  ForEachCell([](std::uint8_t s) { return static_cast<std::uint8_t>(s & 0x3F); });
  StatesChangedEverywhere();
}

bool TNTabEd::IfRowMarked(int row) const {
  if (row < 1 || row > NrOfRows()) return false;
  for (int c = 1; c <= NrOfColumns(); ++c) {
    if ((FData->GetCellState(c, row) & (dtsMarkA | dtsMarkB)) != 0) return true;
  }
  return false;
}

bool TNTabEd::IfColumnMarked(int col) const {
  if (col < 1 || col > NrOfColumns()) return false;
  for (int r = 1; r <= NrOfRows(); ++r) {
    if ((FData->GetCellState(col, r) & (dtsMarkA | dtsMarkB)) != 0) return true;
  }
  return false;
}

bool TNTabEd::IfAnyMarked() const {
  for (int r = 1; r <= NrOfRows(); ++r) {
    if (IfRowMarked(r)) return true;
  }
  return false;
}

// ---- names, attributes, precision, comment --------------------------------------------------

void TNTabEd::SetRowAttrib(int RowNr, std::uint8_t Value) {
  if (RowNr < 1 || RowNr > NrOfRows()) return;
  {
    TBulk bulk(*this);
    FData->SetRowAttrib(RowNr, Value);
  }
  Redraw();
  ChangedAttrib();
}

void TNTabEd::SetColAttrib(int ColNr, std::uint8_t Value) {
  if (ColNr < 1 || ColNr > NrOfColumns()) return;
  {
    TBulk bulk(*this);
    FData->SetColAttrib(ColNr, Value);
  }
  Redraw();
  ChangedAttrib();
}

void TNTabEd::SetColName(int ColNr, std::string_view Value) {
  if (ColNr < 1 || ColNr > NrOfColumns()) return;
  {
    TBulk bulk(*this);
    FData->SetColName(ColNr, Value);
  }
  TDestroyGuard guard(this);
  ChangedHeading();
  if (!guard.Gone()) Redraw();
}

void TNTabEd::SetRowName(int RowNr, std::string_view Value) {
  if (RowNr < 1 || RowNr > NrOfRows()) return;
  {
    TBulk bulk(*this);
    FData->SetRowName(RowNr, Value);
  }
  TDestroyGuard guard(this);
  ChangedHeading();
  if (!guard.Gone()) Redraw();
}

int TNTabEd::Precision(int ColNr) const {
  if (ColNr < 1 || ColNr > NrOfColumns() || ColNr > static_cast<int>(FDecP.size())) return 0;
  return FDecP[static_cast<std::size_t>(ColNr - 1)];
}

void TNTabEd::SetPrecision(int ColNr, int Value) {
  if (ColNr < 1 || ColNr > NrOfColumns() || ColNr > static_cast<int>(FDecP.size())) return;
  FDecP[static_cast<std::size_t>(ColNr - 1)] = static_cast<std::int8_t>(std::clamp(Value, -1, 10));
  Redraw();
  ChangedLayout();
}

void TNTabEd::SetComment(std::string_view Value) {
  {
    TBulk bulk(*this);
    FData->SetFComment(RemoveControlChars(Value));
  }
  ChangedData();
}

// ---- widths, scrolling and the attribute bands ---------------------------------------------

int TNTabEd::ColWidths(int Index) const {
  if (Index > 0) return Index <= NrOfColumns() ? TCustomGrid::ColWidths(Index + FColOffset) : 0;
  if (Index == 0) return TCustomGrid::ColWidths(0);
  return FColOffset == 1 ? TCustomGrid::ColWidths(1) : 0;
}

void TNTabEd::SetColWidths(int Index, int Value) {
  TDestroyGuard guard(this);
  if (Index > 0) {
    if (Index <= NrOfColumns()) TCustomGrid::SetColWidths(Index + FColOffset, Value);
  } else if (Index == 0) {
    TCustomGrid::SetColWidths(0, Value);
  } else if (FColOffset == 1) {
    TCustomGrid::SetColWidths(1, Value);
    FClassColWidth = TCustomGrid::ColWidths(1);
  }
  if (!guard.Gone()) ChangedLayout();
}

void TNTabEd::SetDefaultColWidth(int Value) {
  TCustomGrid::SetDefaultColWidth(Value);
  TCustomGrid::SetColWidths(0, RowNameColWidth);
  if (FColOffset == 1) TCustomGrid::SetColWidths(1, FClassColWidth);
  ChangedLayout();
}

void TNTabEd::SetLeftCol(int Value) {
  const int first = FColOffset + 1;
  TCustomGrid::SetLeftCol(std::clamp(Value + FColOffset, first, std::max(first, FColOffset + NrOfColumns())));
}

void TNTabEd::SetTopRow(int Value) {
  const int first = FRowOffset + 1;
  TDestroyGuard guard(this);
  TCustomGrid::SetTopRow(std::clamp(Value + FRowOffset, first, std::max(first, FRowOffset + NrOfRows())));
  if (!guard.Gone()) Invalidate();
}

void TNTabEd::SetAttribRowVisible(bool Value) {
  if (Value == AttribRowVisible()) return;
  TDestroyGuard guard(this);
  {
    TBulk bulk(*this);
    if (Value) {
      FColOffset = 1;
      TCustomGrid::SetColCount(ColCount() + 1);
      for (int i = ColCount() - 1; i >= 2; --i) TCustomGrid::SetColWidths(i, TCustomGrid::ColWidths(i - 1));
      TCustomGrid::SetColWidths(1, FClassColWidth);
      SetFixedCols(2);
    } else {
      SetFixedCols(1);
      FColOffset = 0;
      for (int i = 1; i <= ColCount() - 2; ++i) TCustomGrid::SetColWidths(i, TCustomGrid::ColWidths(i + 1));
      TCustomGrid::SetColCount(ColCount() - 1);
    }
    if (guard.Gone()) return;
  }
  Redraw();
  ChangedLayout();
}

void TNTabEd::SetAttribColVisible(bool Value) {
  if (Value == AttribColVisible()) return;
  TDestroyGuard guard(this);
  {
    TBulk bulk(*this);
    if (Value) {
      FRowOffset = 1;
      TCustomGrid::SetRowCount(RowCount() + 1);
      for (int i = RowCount() - 1; i >= 2; --i) SetRowHeights(i, RowHeights(i - 1));
      SetRowHeights(1, RowHeights(0));
      SetFixedRows(2);
    } else {
      SetFixedRows(1);
      FRowOffset = 0;
      for (int i = 1; i <= RowCount() - 2; ++i) SetRowHeights(i, RowHeights(i + 1));
      TCustomGrid::SetRowCount(RowCount() - 1);
    }
    if (guard.Gone()) return;
  }
  Redraw();
  ChangedLayout();
}

// ---- look and behaviour -------------------------------------------------------------------

void TNTabEd::SetColorBackground(TColor Value) {
  FColorBkgnd = Value;
  SetColor(Value);
}

void TNTabEd::SetColorFixed(TColor Value) {
  FColorFixed = Value;
  SetFixedColor(Value);
}

void TNTabEd::SetLayoutColor(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  Redraw();
  ChangedLayout();
}

void TNTabEd::SetBoldMarks(bool Value) {
  if (Value == FBoldMarks) return;
  FBoldMarks = Value;
  Redraw();
  ChangedLayout();
}

void TNTabEd::SetBoldSelHeads(bool Value) {
  if (Value == FBoldSelHeads) return;
  FBoldSelHeads = Value;
  Redraw();
  ChangedLayout();
}

void TNTabEd::SetNomEditDropDownCount(int Value) {
  FDropdownCount = Value;
  if (auto* list = dynamic_cast<TInplaceEditList*>(InplaceEditor())) list->SetDropDownRows(Value);
}

void TNTabEd::SetNumWidth(int Value) {
  if (Value >= 1 && Value <= 20 && Value != FNumWidth) {
    FNumWidth = Value;
    Redraw();
  }
  ChangedLayout();
}

void TNTabEd::SetDataReadOnly(bool Value) {
  if (Value == FReadOnly) return;
  FReadOnly = Value;
  TDestroyGuard guard(this);
  if (Value) HideEditor();
  if (!guard.Gone()) SetEditingOption(!Value);
}

void TNTabEd::SetOptimizeRowHeight(bool Value) {
  if (Value == FOptRowHeight) return;
  FOptRowHeight = Value;
  Redraw();
}

// ---- sorting and finding ---------------------------------------------------------------------

void TNTabEd::SortWith(bool Columns, const TDataTable::TIndexLess& Less, int LowCol, int LowRow, int HighCol,
                       int HighRow, bool IncludeHeaders) {
  const bool savedInclude = FSortIncludeHd;
  FSortIncludeHd = IncludeHeaders;
  try {
    TBulk bulk(*this);
    if (Columns) {
      FData->SortColsBy(Less, LowCol, LowRow, HighCol, HighRow, IncludeHeaders);
    } else {
      FData->SortRowsBy(Less, LowCol, LowRow, HighCol, HighRow, IncludeHeaders);
    }
  } catch (...) {
    FSortIncludeHd = savedInclude;
    throw;
  }
  FSortIncludeHd = savedInclude;
  TDestroyGuard guard(this);
  Redraw();
  ChangedData();
  if (IncludeHeaders && !guard.Gone()) ChangedHeading();
}

namespace {

// Orders numbers by value with the cells that hold no number last, in
// either direction.
bool ValueLess(const TDataTable& T, int ACol1, int ARow1, int ACol2, int ARow2, bool Ascending) {
  const bool n1 = T.GetIsNumber(ACol1, ARow1);
  const bool n2 = T.GetIsNumber(ACol2, ARow2);
  if (n1 != n2) return n1;
  if (!n1) return false;
  const double a = T.GetElem(ACol1, ARow1);
  const double b = T.GetElem(ACol2, ARow2);
  return Ascending ? a < b : b < a;
}

template <typename Key>
TDataTable::TIndexLess KeyOrder(Key GetKey, bool Ascending) {
  return [GetKey, Ascending](int A, int B) { return Ascending ? GetKey(A) < GetKey(B) : GetKey(B) < GetKey(A); };
}

}  // namespace

void TNTabEd::SortRows(int SortColIx, bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow,
                       bool IncludeHeaders) {
  const TDataTable& t = *FData;
  SortWith(false, [&t, SortColIx, Ascending](int A, int B) { return ValueLess(t, SortColIx, A, SortColIx, B, Ascending); },
           LowCol, LowRow, HighCol, HighRow, IncludeHeaders);
}

void TNTabEd::SortCols(int SortRowIx, bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow,
                       bool IncludeHeaders) {
  const TDataTable& t = *FData;
  SortWith(true, [&t, SortRowIx, Ascending](int A, int B) { return ValueLess(t, A, SortRowIx, B, SortRowIx, Ascending); },
           LowCol, LowRow, HighCol, HighRow, IncludeHeaders);
}

void TNTabEd::SortRowAttributes(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow) {
  const TDataTable& t = *FData;
  SortWith(false, KeyOrder([&t](int R) { return t.GetRowAttrib(R); }, Ascending), LowCol, LowRow, HighCol, HighRow,
           true);
}

void TNTabEd::SortColAttributes(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow) {
  const TDataTable& t = *FData;
  SortWith(true, KeyOrder([&t](int C) { return t.GetColAttrib(C); }, Ascending), LowCol, LowRow, HighCol, HighRow,
           true);
}

void TNTabEd::SortRowNames(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow) {
  SortRowNames(Ascending, false, LowCol, LowRow, HighCol, HighRow);
}

void TNTabEd::SortRowNames(bool Ascending, bool IgnoreCase, int LowCol, int LowRow, int HighCol, int HighRow) {
  const TDataTable& t = *FData;
  SortWith(false,
           KeyOrder([&t, IgnoreCase](int R) { return IgnoreCase ? FoldCase(t.GetRowName(R)) : t.GetRowName(R); },
                    Ascending),
           LowCol, LowRow, HighCol, HighRow, true);
}

void TNTabEd::SortColNames(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow) {
  SortColNames(Ascending, false, LowCol, LowRow, HighCol, HighRow);
}

void TNTabEd::SortColNames(bool Ascending, bool IgnoreCase, int LowCol, int LowRow, int HighCol, int HighRow) {
  const TDataTable& t = *FData;
  SortWith(true,
           KeyOrder([&t, IgnoreCase](int C) { return IgnoreCase ? FoldCase(t.GetColName(C)) : t.GetColName(C); },
                    Ascending),
           LowCol, LowRow, HighCol, HighRow, true);
}

int TNTabEd::FindColIndex(std::string_view ColID) const {
  const std::string_view id = Utf8Prefix(ColID, DTNameLength);
  for (int c = 1; c <= NrOfColumns(); ++c) {
    if (SameText(FData->GetColName(c), id)) return c;
  }
  return 0;
}

int TNTabEd::FindRowIndex(std::string_view RowID) const {
  const std::string_view id = Utf8Prefix(RowID, DTNameLength);
  for (int r = 1; r <= NrOfRows(); ++r) {
    if (SameText(FData->GetRowName(r), id)) return r;
  }
  return 0;
}

// ---- copying between editors -------------------------------------------------------------------

void TNTabEd::CopyContentsFrom(const TNTabEd* ExtTab) {
  if (ExtTab == nullptr || ExtTab == this) return;
  TDestroyGuard guard(this);
  HideEditor();
  if (guard.Gone()) return;
  {
    TBulk bulk(*this);
    std::vector<std::int8_t> decimals = ExtTab->FDecP;
    FData->Assign(ExtTab->FData);
    if (guard.Gone()) return;
    decimals.resize(static_cast<std::size_t>(NrOfColumns()), NewColumnDecimals);
    FDecP = std::move(decimals);
  }
  Redraw();
  ChangedSetup();
  if (!guard.Gone()) ChangedData();
}

bool TNTabEd::CopyCellStatesFrom(const TNTabEd* ExtTab) {
  if (ExtTab == nullptr) return false;
  if (ExtTab->NrOfColumns() != NrOfColumns() || ExtTab->NrOfRows() != NrOfRows()) return false;
  if (ExtTab != this) {
    TBulk bulk(*this);
    for (int r = 1; r <= NrOfRows(); ++r) {
      for (int c = 1; c <= NrOfColumns(); ++c) FData->SetCellState(c, r, ExtTab->FData->GetCellState(c, r));
    }
  }
  StatesChangedEverywhere();
  return true;
}

}  // namespace vorn
