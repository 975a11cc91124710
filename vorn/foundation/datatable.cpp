#include "vorn/foundation/datatable.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "vorn/foundation/strutils.h"

namespace vorn {

const std::array<const char*, NumMScaleTypes> MScaleTypeNames{"numeric", "nominal", "ordinal",
                                                              "interval", "ratio"};

namespace {

// Tables beyond this many bytes of cells are refused before any allocation.
constexpr std::uint64_t kMaxCellBytes = std::uint64_t{1} << 39;
constexpr std::uint64_t kBytesPerCell = sizeof(double) + sizeof(std::uint8_t);

void CheckTableSize(const char* What, std::int64_t NCols, std::int64_t NRows) {
  constexpr std::int64_t maxIndex = std::numeric_limits<int>::max() - 1;
  const bool valid = NCols >= 0 && NRows >= 0 && NCols <= maxIndex && NRows <= maxIndex &&
                     static_cast<std::uint64_t>(NCols) * static_cast<std::uint64_t>(NRows) <=
                         kMaxCellBytes / kBytesPerCell;
  if (!valid)
    throw EVORNError(std::string(What) + ": a table of " + std::to_string(NCols) + " x " +
                     std::to_string(NRows) + " cells is not possible");
}

// Rows to reserve so that inserting one row at a time stays cheap.
int GrownRows(int Rows) { return Rows + 1 + Rows / 2; }

}  // namespace

// ---- TMatrix --------------------------------------------------------------------------

TMatrix::TMatrix(int NCols, int NRows) { Resize(NCols, NRows); }

void TMatrix::Resize(int NCols, int NRows) {
  CheckTableSize("TMatrix.Resize", NCols, NRows);
  if (NCols == NrOfColumns() && NRows == NrOfRows()) return;
  TDenseGrid<double> resized;
  WithMemory("TMatrix.Resize", [&] { resized = Resized(NCols, NRows); });
  swap(resized);
}

// ---- TDataTable: size ----------------------------------------------------------------

TDataTable::TDataTable(TComponent* AOwner) : TDataTable(1, 1, AOwner) {}

TDataTable::TDataTable(int NCols, int NRows, TComponent* AOwner) : TComponent(AOwner) {
  Resize(NCols, NRows);
}

void TDataTable::Resize(int NCols, int NRows) {
  CheckTableSize("TDataTable.Resize", NCols, NRows);
  const int oldCols = NrOfColumns();
  const int oldRows = NrOfRows();
  if (NCols == oldCols && NRows == oldRows) return;
  const auto rows = static_cast<std::size_t>(NRows);
  if (NCols == oldCols) {
    WithMemory("TDataTable.Resize", [&] {
      FValues.ReserveRows(NRows);
      FStates.ReserveRows(NRows);
      FRows.reserve(rows);
    });
    // With the room reserved nothing below allocates.
    FValues.SetRowCount(NRows);
    FStates.SetRowCount(NRows);
  } else {
    TDenseGrid<double> values;
    TDenseGrid<std::uint8_t> states;
    std::vector<TColumnInfo> columns;
    WithMemory("TDataTable.Resize", [&] {
      values = FValues.Resized(NCols, NRows);
      states = FStates.Resized(NCols, NRows);
      columns.assign(FColumns.begin(), FColumns.begin() + std::min(NCols, oldCols));
      columns.resize(static_cast<std::size_t>(NCols));
      FRows.reserve(rows);
    });
    FValues.swap(values);
    FStates.swap(states);
    FColumns.swap(columns);
  }
  FRows.resize(rows);
  Resized(oldCols, oldRows);
}

void TDataTable::Assign(const TPersistent* Source) {
  const auto* table = dynamic_cast<const TDataTable*>(Source);
  if (table == nullptr) {
    TComponent::Assign(Source);
    return;
  }
  if (table != this) CopyFrom(*table);
}

void TDataTable::CopyFrom(const TDataTable& Source) {
  const int oldCols = NrOfColumns();
  const int oldRows = NrOfRows();
  TMatrix values;
  TDenseGrid<std::uint8_t> states;
  std::vector<TColumnInfo> columns;
  std::vector<TRowInfo> rows;
  std::string comment;
  WithMemory("TDataTable.Assign", [&] {
    values = Source.FValues;
    states = Source.FStates;
    columns = Source.FColumns;
    rows = Source.FRows;
    comment = Source.FComment;
  });
  FValues.swap(values);
  FStates.swap(states);
  FColumns.swap(columns);
  FRows.swap(rows);
  FComment.swap(comment);
  if (oldCols != NrOfColumns() || oldRows != NrOfRows()) Resized(oldCols, oldRows);
  Changed();
  SetupChanged();
}

void TDataTable::Clear() {
  FValues.Fill(0);
  FStates.Fill(0);
  for (TColumnInfo& c : FColumns) c = TColumnInfo{};
  for (TRowInfo& r : FRows) r = TRowInfo{};
  FComment.clear();
  Changed();
  SetupChanged();
}

void TDataTable::InsertColumn(int Ix) {
  const int cols = NrOfColumns();
  const int rows = NrOfRows();
  if (Ix < 1 || Ix > cols + 1) return;
  CheckTableSize("TDataTable.InsertColumn", std::int64_t{cols} + 1, rows);
  TDenseGrid<double> values;
  TDenseGrid<std::uint8_t> states;
  WithMemory("TDataTable.InsertColumn", [&] {
    values = FValues.WithColumnInserted(Ix);
    states = FStates.WithColumnInserted(Ix);
    FColumns.reserve(FColumns.size() + 1);
  });
  FValues.swap(values);
  FStates.swap(states);
  FColumns.insert(FColumns.begin() + (Ix - 1), TColumnInfo{});
  Resized(cols, rows);
}

void TDataTable::InsertRow(int Ix) {
  const int cols = NrOfColumns();
  const int rows = NrOfRows();
  if (Ix < 1 || Ix > rows + 1) return;
  CheckTableSize("TDataTable.InsertRow", cols, std::int64_t{rows} + 1);
  if (FValues.RowCapacity() <= static_cast<std::size_t>(rows) ||
      FStates.RowCapacity() <= static_cast<std::size_t>(rows) || FRows.capacity() <= FRows.size()) {
    const int room = GrownRows(rows);
    WithMemory("TDataTable.InsertRow", [&] {
      FValues.ReserveRows(room);
      FStates.ReserveRows(room);
      FRows.reserve(static_cast<std::size_t>(room));
    });
  }
  FValues.InsertRow(Ix);
  FStates.InsertRow(Ix);
  FRows.insert(FRows.begin() + (Ix - 1), TRowInfo{});
  Resized(cols, rows);
}

void TDataTable::RemoveColumn(int Ix) {
  if (!ColInside(Ix)) return;
  const int cols = NrOfColumns();
  FValues.RemoveColumn(Ix);
  FStates.RemoveColumn(Ix);
  FColumns.erase(FColumns.begin() + (Ix - 1));
  Resized(cols, NrOfRows());
}

void TDataTable::RemoveRow(int Ix) {
  if (!RowInside(Ix)) return;
  const int rows = NrOfRows();
  FValues.RemoveRow(Ix);
  FStates.RemoveRow(Ix);
  FRows.erase(FRows.begin() + (Ix - 1));
  Resized(NrOfColumns(), rows);
}

void TDataTable::MirrorRows() {
  FValues.MirrorRows();
  FStates.MirrorRows();
  std::reverse(FRows.begin(), FRows.end());
  Changed();
  SetupChanged();
}

void TDataTable::MirrorColumns() {
  FValues.MirrorColumns();
  FStates.MirrorColumns();
  std::reverse(FColumns.begin(), FColumns.end());
  Changed();
  SetupChanged();
}

// ---- TDataTable: cells -----------------------------------------------------------------

void TDataTable::SetElem(int ACol, int ARow, double Value) {
  if (!Inside(ACol, ARow)) return;
  FValues.Ref(ACol, ARow) = Value;
  FStates.Ref(ACol, ARow) &= static_cast<std::uint8_t>(~(dtsInvalid | dtsEmpty));
  Changed();
}

void TDataTable::SetCellState(int ACol, int ARow, std::uint8_t State) {
  if (!Inside(ACol, ARow)) return;
  FStates.Ref(ACol, ARow) = State;
  Changed();
}

bool TDataTable::GetIsNumber(int ACol, int ARow) const {
  return Inside(ACol, ARow) && (FStates.Ref(ACol, ARow) & (dtsInvalid | dtsEmpty)) == 0;
}

template <typename F>
void TDataTable::ForEachState(F&& Change) {
  for (std::uint8_t& s : FStates.Cells()) s = Change(s);
  Changed();
}

void TDataTable::UnmarkAllCells() {
  ForEachState([](std::uint8_t s) { return static_cast<std::uint8_t>(s & ~(dtsMarkA | dtsMarkB)); });
}

void TDataTable::InvertCellStates(std::uint8_t Mask) {
  ForEachState([Mask](std::uint8_t s) { return static_cast<std::uint8_t>(s ^ Mask); });
}

void TDataTable::ExchangeMarkings() {
  ForEachState([](std::uint8_t s) {
    const bool a = (s & dtsMarkA) != 0;
    const bool b = (s & dtsMarkB) != 0;
    s &= static_cast<std::uint8_t>(~(dtsMarkA | dtsMarkB));
    return static_cast<std::uint8_t>(s | (a ? dtsMarkB : 0) | (b ? dtsMarkA : 0));
  });
}

int TDataTable::FillMarkedCells(double Value, std::uint8_t Mask) {
  const std::span<double> values = FValues.Cells();
  const std::span<std::uint8_t> states = FStates.Cells();
  int filled = 0;
  for (std::size_t i = 0; i < std::min(values.size(), states.size()); ++i) {
    if ((states[i] & Mask) == 0) continue;
    values[i] = Value;
    states[i] &= static_cast<std::uint8_t>(~(dtsInvalid | dtsEmpty));
    ++filled;
  }
  if (filled > 0) Changed();
  return filled;
}

// ---- TDataTable: names, attributes, categories ----------------------------------------

TDTNameStr TDataTable::GetColName(int ACol) const { return ColInside(ACol) ? Column(ACol).Name : TDTNameStr(); }

void TDataTable::SetColName(int ACol, std::string_view Name) {
  if (!ColInside(ACol)) return;
  Column(ACol).Name = CutToBytes(Name, DTNameLength);
  SetupChanged();
}

TDTNameStr TDataTable::GetRowName(int ARow) const { return RowInside(ARow) ? Row(ARow).Name : TDTNameStr(); }

void TDataTable::SetRowName(int ARow, std::string_view Name) {
  if (!RowInside(ARow)) return;
  Row(ARow).Name = CutToBytes(Name, DTNameLength);
  SetupChanged();
}

std::uint8_t TDataTable::GetColAttrib(int ACol) const { return ColInside(ACol) ? Column(ACol).Attrib : 0; }

void TDataTable::SetColAttrib(int ACol, std::uint8_t Value) {
  if (!ColInside(ACol)) return;
  Column(ACol).Attrib = Value;
  SetupChanged();
}

std::uint8_t TDataTable::GetRowAttrib(int ARow) const { return RowInside(ARow) ? Row(ARow).Attrib : 0; }

void TDataTable::SetRowAttrib(int ARow, std::uint8_t Value) {
  if (!RowInside(ARow)) return;
  Row(ARow).Attrib = Value;
  SetupChanged();
}

int TDataTable::GetMScaleType(int ACol) const { return ColInside(ACol) ? Column(ACol).ScaleType : 0; }

void TDataTable::SetMScaleType(int ACol, int ScaleType) {
  if (!ColInside(ACol) || ScaleType < 0 || ScaleType >= NumMScaleTypes) return;
  Column(ACol).ScaleType = static_cast<std::uint8_t>(ScaleType);
  SetupChanged();
}

std::string TDataTable::GetNominalID(int ACol, int Number) const {
  if (!ColInside(ACol) || Number < 1 || Number > MaxNominalID) return {};
  const std::vector<std::string>& ids = Column(ACol).NominalIDs;
  return ids.empty() ? std::string() : ids[static_cast<std::size_t>(Number - 1)];
}

void TDataTable::SetNominalID(int ACol, int Number, std::string_view ID) {
  if (!ColInside(ACol) || Number < 1 || Number > MaxNominalID) return;
  std::vector<std::string>& ids = Column(ACol).NominalIDs;
  if (ids.empty()) {
    if (ID.empty()) return;
    ids.resize(MaxNominalID);
  }
  ids[static_cast<std::size_t>(Number - 1)] = CutToBytes(ID, NominalIDLength);
  SetupChanged();
}

int TDataTable::OrdinalOfNominalID(int ACol, std::string_view ID, bool IgnoreCase) const {
  if (!ColInside(ACol)) return -1;
  const std::string_view wanted = Utf8Prefix(ID, NominalIDLength);
  if (wanted.empty()) return 0;
  const std::vector<std::string>& ids = Column(ACol).NominalIDs;
  for (std::size_t i = 0; i < ids.size(); ++i) {
    const bool same = IgnoreCase ? SameText(ids[i], wanted) : ids[i] == wanted;
    if (same) return static_cast<int>(i) + 1;
  }
  return 0;
}

void TDataTable::SetFComment(std::string_view Comment) {
  FComment.assign(Comment);
  SetupChanged();
}

// ---- TDataTable: sorting ----------------------------------------------------------------

bool TDataTable::KeyLess(double A, bool ANumber, double B, bool BNumber, bool Ascending) const {
  ANumber = ANumber && !std::isnan(A);
  BNumber = BNumber && !std::isnan(B);
  if (ANumber != BNumber) return ANumber;
  if (!ANumber) return false;
  return Ascending ? A < B : B < A;
}

void TDataTable::SortRows(int SortCol, bool Ascending, int LowCol, int LowRow, int HighCol,
                          int HighRow, bool IncludeHeaders) {
  if (!ColInside(SortCol)) return;
  SortRowsBy(
      [&](int a, int b) {
        return KeyLess(GetElem(SortCol, a), GetIsNumber(SortCol, a), GetElem(SortCol, b),
                       GetIsNumber(SortCol, b), Ascending);
      },
      LowCol, LowRow, HighCol, HighRow, IncludeHeaders);
}

void TDataTable::SortCols(int SortRow, bool Ascending, int LowCol, int LowRow, int HighCol,
                          int HighRow, bool IncludeHeaders) {
  if (!RowInside(SortRow)) return;
  SortColsBy(
      [&](int a, int b) {
        return KeyLess(GetElem(a, SortRow), GetIsNumber(a, SortRow), GetElem(b, SortRow),
                       GetIsNumber(b, SortRow), Ascending);
      },
      LowCol, LowRow, HighCol, HighRow, IncludeHeaders);
}

void TDataTable::SortRowsBy(const TIndexLess& Less, int LowCol, int LowRow, int HighCol,
                            int HighRow, bool IncludeHeaders) {
  const TSortSpan span{std::max(LowRow, 1), std::min(HighRow, NrOfRows()), std::max(LowCol, 1),
                       std::min(HighCol, NrOfColumns())};
  SortBlock(skRows, Less, span, IncludeHeaders);
}

void TDataTable::SortColsBy(const TIndexLess& Less, int LowCol, int LowRow, int HighCol,
                            int HighRow, bool IncludeHeaders) {
  const TSortSpan span{std::max(LowCol, 1), std::min(HighCol, NrOfColumns()), std::max(LowRow, 1),
                       std::min(HighRow, NrOfRows())};
  SortBlock(skColumns, Less, span, IncludeHeaders);
}

void TDataTable::SortBlock(TSortKind Kind, const TIndexLess& Less, TSortSpan Span,
                           bool IncludeHeaders) {
  if (!Less || Span.Low >= Span.High || Span.OtherLow > Span.OtherHigh) return;
  const auto n = static_cast<std::size_t>(Span.High - Span.Low + 1);
  // The wanted order is found first, with the table untouched; it is then
  // reached by exchanges, each announced before it happens.
  std::vector<int> wanted(n), at(n), where(n);
  std::iota(wanted.begin(), wanted.end(), Span.Low);
  std::stable_sort(wanted.begin(), wanted.end(), Less);
  std::iota(at.begin(), at.end(), Span.Low);        // position k holds original at[k]
  std::iota(where.begin(), where.end(), 0);         // original Low + i is at where[i]
  TPercentReporter progress(FOnPercentDone, this, static_cast<std::int64_t>(n));
  for (std::size_t k = 0; k < n; ++k) {
    const int want = wanted[k];
    if (at[k] == want) continue;
    const auto j = static_cast<std::size_t>(where[static_cast<std::size_t>(want - Span.Low)]);
    const int posK = Span.Low + static_cast<int>(k);
    const int posJ = Span.Low + static_cast<int>(j);
    if (FOnBeforeSortExchange) FOnBeforeSortExchange(this, Kind, posK, posJ, Span.OtherLow, Span.OtherHigh);
    Exchange(Kind, posK, posJ, Span, IncludeHeaders);
    where[static_cast<std::size_t>(at[k] - Span.Low)] = static_cast<int>(j);
    where[static_cast<std::size_t>(want - Span.Low)] = static_cast<int>(k);
    std::swap(at[k], at[j]);
    progress.Step(static_cast<std::int64_t>(k));
  }
  progress.Finish();
  Changed();
  if (IncludeHeaders) SetupChanged();
}

void TDataTable::Exchange(TSortKind Kind, int A, int B, const TSortSpan& Span, bool IncludeHeaders) {
  if (Kind == skRows) {
    FValues.SwapRows(A, B, Span.OtherLow, Span.OtherHigh);
    FStates.SwapRows(A, B, Span.OtherLow, Span.OtherHigh);
    if (IncludeHeaders) std::swap(Row(A), Row(B));
  } else {
    FValues.SwapColumns(A, B, Span.OtherLow, Span.OtherHigh);
    FStates.SwapColumns(A, B, Span.OtherLow, Span.OtherHigh);
    if (IncludeHeaders) std::swap(Column(A), Column(B));
  }
}

// ---- TDataTable: notifications ---------------------------------------------------------

void TDataTable::Resized(int OldCols, int OldRows) {
  if (FOnResize) FOnResize(this, OldCols, OldRows, NrOfColumns(), NrOfRows());
}

void TDataTable::Changed() {
  if (FOnChange) FOnChange(this);
}

void TDataTable::SetupChanged() {
  if (FOnChangeSetup) FOnChangeSetup(this);
}

}  // namespace vorn
