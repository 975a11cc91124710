// TStringArray: a table of short strings with a hidden column 0, attribute
// bytes per column and per row, and a row permutation for sorting.
//
// Columns are numbered 0..NrOfColumns (0 is the hidden column an owner may
// use for per-row data), rows 1..NrOfRows. Rows are addressed in the order
// they are shown: row r is the physical row GetSortOrder(r). Sort only
// changes that permutation; CommitSorting makes it the physical order and
// UnSort returns to the physical order. Row attribute bytes belong to the
// physical row and so move with it.
//
// Indices outside the ranges read as empty, 0 or NaN and write nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vorn/foundation/basics.h"
#include "vorn/platform/runtime/components.h"

namespace vorn {

class TStringArray : public TComponent {
 public:
  // Cells hold at most this many bytes; longer texts are cut at a
  // character boundary.
  static constexpr std::size_t MaxCellLength = 255;

  // A table of one visible column (plus column 0) and one row.
  explicit TStringArray(TComponent* AOwner = nullptr);
  // A table of NCols visible columns (plus column 0) and NRows rows.
  TStringArray(int NCols, int NRows, TComponent* AOwner = nullptr);
  ~TStringArray() override;
  TStringArray(const TStringArray&) = delete;
  TStringArray& operator=(const TStringArray&) = delete;

  [[nodiscard]] int NrOfColumns() const { return FNCols; }
  [[nodiscard]] int NrOfRows() const { return FNRows; }

  // Changes the size, keeping every cell that still fits. Rows are kept and
  // dropped by their physical position; the kept rows keep their order.
  // Raises EVORNError and leaves the table as it was when a size is
  // negative, too large or cannot be allocated.
  void Resize(int NCols, int NRows);

  [[nodiscard]] std::string GetString(int ACol, int ARow) const;
  // The cell without a copy; valid until the cell or the table changes.
  [[nodiscard]] std::string_view StringView(int ACol, int ARow) const;
  // The cells of row ARow in the columns Cols, without copies, into Out (as
  // long as Cols); cells outside the table are empty. Valid until the table
  // changes. For walks over many rows: the row is looked up once.
  void RowViews(int ARow, std::span<const int> Cols, std::span<std::string_view> Out) const;
  void SetString(int ACol, int ARow, std::string_view Value);

  // The number a cell holds when its whole text reads as a decimal number
  // (see ParseDecimalNumber: blanks around it, "." or "," as separator, an
  // exponent allowed). For any other text, an empty cell and indices out of
  // range the result is NaN; IsNumber tells the cases apart.
  [[nodiscard]] double GetAsNumber(int ACol, int ARow) const;
  [[nodiscard]] bool IsNumber(int ACol, int ARow) const;

  // Inserts an empty row before row ARow (1..NrOfRows + 1). In a sorted
  // table the new row is placed physically before the row it is shown
  // before, so that UnSort keeps it there too. Raises EVORNError, with the
  // table unchanged, when the memory cannot be had.
  void InsertRow(int ARow);
  // Removes row ARow (1..NrOfRows), its cells and its attribute byte.
  void RemoveRow(int ARow);
  // Empties every cell and returns to the physical order; the size and the
  // attribute bytes stay.
  void Clear();

  [[nodiscard]] std::uint8_t GetColAttrib(int ACol) const;
  void SetColAttrib(int ACol, std::uint8_t Value);
  [[nodiscard]] std::uint8_t GetRowAttrib(int ARow) const { return RowInside(ARow) ? FRowAttrib[PhysIndex(ARow)] : 0; }
  void SetRowAttrib(int ARow, std::uint8_t Value);
  // Without the change notification: for owners that keep their own state
  // (selection, filter marks) in the attribute byte.
  void SetRowAttribQuietly(int ARow, std::uint8_t Value);

  // Rows are allocated in steps of at least this many rows (values below 1
  // count as 1).
  [[nodiscard]] int AllocRowsBy() const { return FAllocRowsBy; }
  void SetAllocRowsBy(int Rows);

  // Sorts the rows by column Col and, where those cells compare equal, by
  // ColSec (a ColSec outside 0..NrOfColumns or equal to Col means none).
  // The sort is stable: rows that compare equal keep their current order.
  // Cells compare as a user of a report expects: two cells that both read
  // as numbers compare by value; texts compare without regard to case and,
  // when equal so, with case. Empty cells come first, then numbers, then
  // other texts (descending reverses this). Before each exchange of two
  // shown rows OnBeforeSortExchange is raised (Kind 0, the two positions,
  // 0 and NrOfColumns); progress goes to OnPercentDone.
  void Sort(int Col, int ColSec, bool Ascending);

  // The physical row shown as row ARow, 0 out of range.
  [[nodiscard]] int GetSortOrder(int ARow) const;
  // Shows physical row PhysRow as row ARow. The row that showed PhysRow so
  // far takes ARow's old physical row, so the order stays a permutation;
  // copying another table's order row by row, from 1 up, reproduces it.
  void SetSortOrder(int ARow, int PhysRow);
  // Makes the shown order the physical order.
  void CommitSorting();
  // Shows the rows in their physical order again.
  void UnSort();

  // From another TStringArray copies size, cells, attribute bytes, row order
  // and allocation step; the events stay. Other sources go to the inherited
  // Assign.
  void Assign(const TPersistent* Source) override;

  [[nodiscard]] const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Handler) { FOnChange = std::move(Handler); }
  [[nodiscard]] const TOnPercentDoneEvent& OnPercentDone() const { return FOnPercentDone; }
  void SetOnPercentDone(TOnPercentDoneEvent Handler) { FOnPercentDone = std::move(Handler); }
  [[nodiscard]] const TBeforeSortExchgEvent& OnBeforeSortExchange() const { return FOnBeforeSortExchange; }
  void SetOnBeforeSortExchange(TBeforeSortExchgEvent Handler) {
    FOnBeforeSortExchange = std::move(Handler);
  }

 private:
  // One cell in 16 bytes: texts up to 15 bytes are kept inline, longer ones
  // in a block of their own.
  class TCell {
   public:
    TCell() noexcept { FBytes[kTag] = 0; }
    TCell(const TCell& Other);
    TCell(TCell&& Other) noexcept;
    TCell& operator=(const TCell& Other);
    TCell& operator=(TCell&& Other) noexcept;
    ~TCell() { Release(); }

    [[nodiscard]] std::string_view View() const noexcept;
    void Assign(std::string_view Text);  // Text.size() <= MaxCellLength
    void Clear() noexcept;

   private:
    static constexpr std::size_t kInline = 15;
    static constexpr std::size_t kTag = 15;  // inline length, or kOnHeap
    static constexpr unsigned char kOnHeap = 0xFF;
    [[nodiscard]] bool OnHeap() const noexcept {
      return static_cast<unsigned char>(FBytes[kTag]) == kOnHeap;
    }
    [[nodiscard]] char* HeapPtr() const noexcept;
    void Release() noexcept;

    alignas(8) char FBytes[16];
  };

  [[nodiscard]] std::size_t Stride() const { return static_cast<std::size_t>(FNCols) + 1; }
  [[nodiscard]] bool ColInside(int ACol) const { return ACol >= 0 && ACol <= FNCols; }
  [[nodiscard]] bool RowInside(int ARow) const { return ARow >= 1 && ARow <= FNRows; }
  // Physical row index (0-based) of shown row ARow (1-based, checked).
  [[nodiscard]] std::size_t PhysIndex(int ARow) const {
    return static_cast<std::size_t>(FOrder[static_cast<std::size_t>(ARow - 1)]);
  }
  [[nodiscard]] const TCell& CellAt(int ACol, std::size_t Phys) const {
    return FCells[Phys * Stride() + static_cast<std::size_t>(ACol)];
  }
  [[nodiscard]] TCell& CellAt(int ACol, std::size_t Phys) {
    return FCells[Phys * Stride() + static_cast<std::size_t>(ACol)];
  }
  void CheckSize(std::int64_t NCols, std::int64_t NRows) const;
  // Rows rounded up to the allocation step.
  [[nodiscard]] std::size_t RoundRows(std::size_t Rows) const;
  void ReserveRowData(std::size_t Rows);
  // Sizes the per-row vectors (room reserved) and the row order.
  void FitRowData(int NRows);
  void ResizeRows(int NRows);
  void ResizeColumns(int NCols, int NRows);
  void CopyFrom(const TStringArray& Source);
  void ApplyOrder(std::vector<int>&& NewOrder);
  void OrderChanged() { FInverseValid = false; }
  void Changed();

  std::vector<TCell> FCells;       // physical rows, Stride() cells each
  std::vector<std::uint8_t> FRowAttrib;  // by physical row
  std::vector<std::uint8_t> FColAttrib;  // columns 0..FNCols
  std::vector<int> FOrder;         // shown row -> physical row, 0-based
  std::vector<int> FInverse;       // physical row -> shown row, built on demand
  bool FInverseValid = false;
  int FNCols = 0;
  int FNRows = 0;
  int FAllocRowsBy = 1;
  TNotifyEvent FOnChange;
  TOnPercentDoneEvent FOnPercentDone;
  TBeforeSortExchgEvent FOnBeforeSortExchange;
};

}  // namespace vorn
