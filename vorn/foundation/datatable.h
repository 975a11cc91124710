// The numeric tables of the math services: TMatrix, a matrix of doubles,
// and TDataTable, a table of doubles with a state byte per cell, names and
// attributes of columns and rows, measurement scale types, category
// identifiers and a comment.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "vorn/foundation/basics.h"
#include "vorn/foundation/densegrid.h"
#include "vorn/platform/runtime/components.h"

namespace vorn {

// ---- TMatrix ------------------------------------------------------------------------

// Doubles by column and row, both from 1. Outside the size reads give 0
// and writes do nothing.
class TMatrix : public TDenseGrid<double> {
 public:
  TMatrix() = default;
  // Raises EVORNError for sizes that are negative or cannot be allocated.
  TMatrix(int NCols, int NRows);

  [[nodiscard]] double Elem(int ACol, int ARow) const { return Get(ACol, ARow); }
  void SetElem(int ACol, int ARow, double Value) { Set(ACol, ARow, Value); }
  // Keeps the values that still fit; new cells are 0. Raises EVORNError and
  // keeps the matrix as it was when the size cannot be had.
  void Resize(int NCols, int NRows);
};

// ---- TDataTable -----------------------------------------------------------------------

// Names of columns and rows: at most DTNameLength bytes, cut at a character
// boundary.
using TDTNameStr = std::string;
constexpr std::size_t DTNameLength = 50;

// Bits of the cell state byte.
constexpr std::uint8_t dtsInvalid = 0x01;  // the cell holds no valid number
constexpr std::uint8_t dtsEmpty = 0x02;    // the cell is empty
constexpr std::uint8_t dtsMarkA = 0x40;
constexpr std::uint8_t dtsMarkB = 0x80;

// Measurement scale types of a column. Values of the two categorical types
// (nominal and ordinal) are category numbers 1..MaxNominalID, which may
// carry identifiers of up to NominalIDLength bytes.
constexpr int NumMScaleTypes = 5;
constexpr int mstNominal = 1;
constexpr int mstOrdinal = 2;
extern const std::array<const char*, NumMScaleTypes> MScaleTypeNames;
constexpr int MaxNominalID = 150;
constexpr std::size_t NominalIDLength = 10;

using TDTResizeEvent =
    std::function<void(TObject* Sender, int OldCols, int OldRows, int NewCols, int NewRows)>;

// A table of NrOfColumns x NrOfRows cells, numbered from 1.
//
// Indices out of range read as 0, false or empty and write nothing.
//
// Notifications: OnChange after values or state bytes changed; OnChangeSetup
// after names, attributes, scale types, identifiers or the comment changed;
// OnResize after every change of size (inserting and removing included),
// with the old and the new size; OnPercentDone during sorting; and
// OnBeforeSortExchange before every exchange of two rows (Kind 0) or two
// columns (Kind 1) while sorting.
class TDataTable : public TComponent {
 public:
  // A table of one cell.
  explicit TDataTable(TComponent* AOwner = nullptr);
  TDataTable(int NCols, int NRows, TComponent* AOwner = nullptr);

  [[nodiscard]] int NrOfColumns() const { return FValues.NrOfColumns(); }
  [[nodiscard]] int NrOfRows() const { return FValues.NrOfRows(); }

  // Values and states become 0, names, identifiers and the comment empty,
  // attributes and scale types 0; the size stays.
  void Clear();
  // Keeps what fits: the values, states, names and attributes of the
  // top-left block. New cells hold 0 with state 0. Raises EVORNError and
  // leaves the table as it was when a size is negative or cannot be had.
  void Resize(int NCols, int NRows);
  // From another TDataTable copies everything but the events; other sources
  // go to the inherited Assign.
  void Assign(const TPersistent* Source) override;

  [[nodiscard]] double GetElem(int ACol, int ARow) const { return FValues.Get(ACol, ARow); }
  // Stores the value; the cell then holds a number, so its invalid and empty
  // bits are cleared (marks stay).
  void SetElem(int ACol, int ARow, double Value);
  [[nodiscard]] std::uint8_t GetCellState(int ACol, int ARow) const { return FStates.Get(ACol, ARow); }
  void SetCellState(int ACol, int ARow, std::uint8_t State);
  // State bits 0 and 1 both clear.
  [[nodiscard]] bool GetIsNumber(int ACol, int ARow) const;

  [[nodiscard]] TDTNameStr GetColName(int ACol) const;
  void SetColName(int ACol, std::string_view Name);
  [[nodiscard]] TDTNameStr GetRowName(int ARow) const;
  void SetRowName(int ARow, std::string_view Name);
  [[nodiscard]] std::uint8_t GetColAttrib(int ACol) const;
  void SetColAttrib(int ACol, std::uint8_t Value);
  [[nodiscard]] std::uint8_t GetRowAttrib(int ARow) const;
  void SetRowAttrib(int ARow, std::uint8_t Value);

  // Scale type 0..NumMScaleTypes - 1 of a column (0 out of range); other
  // types are ignored.
  [[nodiscard]] int GetMScaleType(int ACol) const;
  void SetMScaleType(int ACol, int ScaleType);
  // Identifier of category Number (1..MaxNominalID) of a column; empty if
  // none.
  [[nodiscard]] std::string GetNominalID(int ACol, int Number) const;
  void SetNominalID(int ACol, int Number, std::string_view ID);
  // The category number whose identifier equals ID (cut to NominalIDLength),
  // with or without regard to case: 0 when none does (an empty ID never
  // matches), -1 for a column out of range.
  [[nodiscard]] int OrdinalOfNominalID(int ACol, std::string_view ID, bool IgnoreCase = true) const;

  [[nodiscard]] const std::string& Comment() const { return FComment; }
  void SetFComment(std::string_view Comment);

  // Insert an empty column or row before Ix (1..count + 1); remove one
  // (1..count). Other positions are ignored.
  void InsertColumn(int Ix);
  void InsertRow(int Ix);
  void RemoveColumn(int Ix);
  void RemoveRow(int Ix);
  // Reverse the order of the rows (columns), with their names and
  // attributes (and scale types and identifiers).
  void MirrorRows();
  void MirrorColumns();

  // Marking over every cell.
  void UnmarkAllCells();                      // clears bits 6 and 7
  void InvertCellStates(std::uint8_t Mask);   // toggles the bits of Mask
  void ExchangeMarkings();                    // swaps bits 6 and 7
  // Stores Value in every cell whose state has a bit of Mask; returns the
  // number of cells filled.
  int FillMarkedCells(double Value, std::uint8_t Mask);

  // Sorting within the block LowCol..HighCol x LowRow..HighRow (clipped to
  // the table). SortRows orders the rows of the block by the values in
  // column SortCol, SortCols orders its columns by the values in row
  // SortRow; numbers come by value, cells that hold no number after them
  // in either direction, and equal cells keep their order. Only the cells
  // of the block move; with IncludeHeaders the names and attributes of the
  // moved rows (the names, attributes, scale types and identifiers of the
  // moved columns) go with them.
  void SortRows(int SortCol, bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow,
                bool IncludeHeaders);
  void SortCols(int SortRow, bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow,
                bool IncludeHeaders);
  // The same with an order of the caller's: Less(A, B) compares rows
  // (columns) A and B by table number and must be a strict weak order.
  using TIndexLess = std::function<bool(int A, int B)>;
  void SortRowsBy(const TIndexLess& Less, int LowCol, int LowRow, int HighCol, int HighRow,
                  bool IncludeHeaders);
  void SortColsBy(const TIndexLess& Less, int LowCol, int LowRow, int HighCol, int HighRow,
                  bool IncludeHeaders);

  // The value matrix. Change values through it, not its size.
  [[nodiscard]] TMatrix& DataMat() { return FValues; }
  [[nodiscard]] const TMatrix& DataMat() const { return FValues; }

  [[nodiscard]] const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Handler) { FOnChange = std::move(Handler); }
  [[nodiscard]] const TNotifyEvent& OnChangeSetup() const { return FOnChangeSetup; }
  void SetOnChangeSetup(TNotifyEvent Handler) { FOnChangeSetup = std::move(Handler); }
  [[nodiscard]] const TOnPercentDoneEvent& OnPercentDone() const { return FOnPercentDone; }
  void SetOnPercentDone(TOnPercentDoneEvent Handler) { FOnPercentDone = std::move(Handler); }
  [[nodiscard]] const TDTResizeEvent& OnResize() const { return FOnResize; }
  void SetOnResize(TDTResizeEvent Handler) { FOnResize = std::move(Handler); }
  [[nodiscard]] const TBeforeSortExchgEvent& OnBeforeSortExchange() const { return FOnBeforeSortExchange; }
  void SetOnBeforeSortExchange(TBeforeSortExchgEvent Handler) {
    FOnBeforeSortExchange = std::move(Handler);
  }

 private:
  struct TColumnInfo {
    TDTNameStr Name;
    std::uint8_t Attrib = 0;
    std::uint8_t ScaleType = 0;
    std::vector<std::string> NominalIDs;  // empty, or MaxNominalID entries
  };
  struct TRowInfo {
    TDTNameStr Name;
    std::uint8_t Attrib = 0;
  };
  // A block to sort: the moving dimension's range and the other one's.
  struct TSortSpan {
    int Low, High;            // positions that are ordered
    int OtherLow, OtherHigh;  // the part of each that moves
  };
  enum TSortKind : std::uint8_t { skRows = 0, skColumns = 1 };

  // The value matrix can be reached from outside, so indices are checked
  // against both grids.
  [[nodiscard]] bool ColInside(int ACol) const {
    return FValues.ColInside(ACol) && FStates.ColInside(ACol);
  }
  [[nodiscard]] bool RowInside(int ARow) const {
    return FValues.RowInside(ARow) && FStates.RowInside(ARow);
  }
  [[nodiscard]] bool Inside(int ACol, int ARow) const { return ColInside(ACol) && RowInside(ARow); }
  [[nodiscard]] TColumnInfo& Column(int ACol) { return FColumns[static_cast<std::size_t>(ACol - 1)]; }
  [[nodiscard]] const TColumnInfo& Column(int ACol) const { return FColumns[static_cast<std::size_t>(ACol - 1)]; }
  [[nodiscard]] TRowInfo& Row(int ARow) { return FRows[static_cast<std::size_t>(ARow - 1)]; }
  [[nodiscard]] const TRowInfo& Row(int ARow) const { return FRows[static_cast<std::size_t>(ARow - 1)]; }

  [[nodiscard]] bool KeyLess(double A, bool ANumber, double B, bool BNumber, bool Ascending) const;
  void SortBlock(TSortKind Kind, const TIndexLess& Less, TSortSpan Span, bool IncludeHeaders);
  void Exchange(TSortKind Kind, int A, int B, const TSortSpan& Span, bool IncludeHeaders);
  template <typename F>
  void ForEachState(F&& Change);
  void CopyFrom(const TDataTable& Source);
  void Resized(int OldCols, int OldRows);
  void Changed();
  void SetupChanged();

  TMatrix FValues;
  TDenseGrid<std::uint8_t> FStates;
  std::vector<TColumnInfo> FColumns;
  std::vector<TRowInfo> FRows;
  std::string FComment;
  TNotifyEvent FOnChange;
  TNotifyEvent FOnChangeSetup;
  TOnPercentDoneEvent FOnPercentDone;
  TDTResizeEvent FOnResize;
  TBeforeSortExchgEvent FOnBeforeSortExchange;
};

}  // namespace vorn
