// TDenseGrid<T>: plain values by column and row, both numbered from 1,
// kept row after row in one block. The matrices of the math services are
// built on it.
//
// Every operation checks its indices against the grid's own size: reads
// outside give T{}, writes and moves outside change nothing. Operations
// that need memory either allocate before they change anything or come as
// a pair: a const function that builds the new grid (and may throw) and a
// swap that cannot fail. A caller that keeps several grids in step can so
// prepare all of them before it commits any.
#pragma once

#include <algorithm>
#include <cstddef>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

namespace vorn {

template <typename T>
class TDenseGrid {
  static_assert(std::is_trivially_copyable_v<T>, "grid cells are plain values");

 public:
  TDenseGrid() = default;
  // Allocates NCols x NRows cells of value Init (sizes must be valid).
  TDenseGrid(int NCols, int NRows, T Init = T{})
      : FData(static_cast<std::size_t>(NCols) * static_cast<std::size_t>(NRows), Init),
        FNCols(NCols),
        FNRows(NRows) {}

  [[nodiscard]] int NrOfColumns() const { return FNCols; }
  [[nodiscard]] int NrOfRows() const { return FNRows; }
  [[nodiscard]] bool Inside(int ACol, int ARow) const {
    return ACol >= 1 && ACol <= FNCols && ARow >= 1 && ARow <= FNRows;
  }
  [[nodiscard]] bool ColInside(int ACol) const { return ACol >= 1 && ACol <= FNCols; }
  [[nodiscard]] bool RowInside(int ARow) const { return ARow >= 1 && ARow <= FNRows; }

  [[nodiscard]] T Get(int ACol, int ARow) const { return Inside(ACol, ARow) ? Ref(ACol, ARow) : T{}; }
  void Set(int ACol, int ARow, T Value) {
    if (Inside(ACol, ARow)) Ref(ACol, ARow) = Value;
  }
  // Unchecked access; the caller keeps the indices inside.
  [[nodiscard]] T& Ref(int ACol, int ARow) { return FData[Index(ACol, ARow)]; }
  [[nodiscard]] const T& Ref(int ACol, int ARow) const { return FData[Index(ACol, ARow)]; }

  void Fill(T Value) { std::fill(FData.begin(), FData.end(), Value); }
  [[nodiscard]] std::span<T> Cells() { return FData; }
  [[nodiscard]] std::span<const T> Cells() const { return FData; }

  void swap(TDenseGrid& Other) noexcept {
    FData.swap(Other.FData);
    std::swap(FNCols, Other.FNCols);
    std::swap(FNRows, Other.FNRows);
  }

  // ---- building a changed copy (may throw std::bad_alloc) ----------------------

  // The top-left block that fits, new cells T{}. Every cell of the result
  // is written once.
  [[nodiscard]] TDenseGrid Resized(int NCols, int NRows) const {
    TDenseGrid out = Empty(NCols, NRows);
    const int cols = std::min(NCols, FNCols);
    for (int r = 1; r <= std::min(NRows, FNRows); ++r) {
      out.FData.insert(out.FData.end(), At(1, r), At(1, r) + cols);
      out.FData.resize(out.FData.size() + static_cast<std::size_t>(NCols - cols));
    }
    out.FData.resize(static_cast<std::size_t>(NCols) * static_cast<std::size_t>(NRows));
    return out;
  }

  // A copy with an empty column before ACol (1..NrOfColumns + 1).
  [[nodiscard]] TDenseGrid WithColumnInserted(int ACol) const {
    TDenseGrid out = Empty(FNCols + 1, FNRows);
    const int before = std::clamp(ACol, 1, FNCols + 1) - 1;
    for (int r = 1; r <= FNRows; ++r) {
      out.FData.insert(out.FData.end(), At(1, r), At(1, r) + before);
      out.FData.push_back(T{});
      out.FData.insert(out.FData.end(), At(1, r) + before, At(1, r) + FNCols);
    }
    return out;
  }

  // ---- changes in place ---------------------------------------------------------------

  // Rows that fit without a new allocation.
  [[nodiscard]] std::size_t RowCapacity() const {
    return FNCols == 0 ? FData.max_size() : FData.capacity() / static_cast<std::size_t>(FNCols);
  }
  // Makes room for NRows rows (may throw; the grid stays as it was).
  void ReserveRows(int NRows) {
    FData.reserve(static_cast<std::size_t>(NRows) * static_cast<std::size_t>(FNCols));
  }
  // Drops rows from the bottom or adds rows of T{}; growing needs the room
  // reserved first to be sure not to throw.
  void SetRowCount(int NRows) {
    FData.resize(static_cast<std::size_t>(NRows) * static_cast<std::size_t>(FNCols));
    FNRows = NRows;
  }
  // Inserts a row of T{} before ARow (1..NrOfRows + 1); reserve first.
  void InsertRow(int ARow) {
    if (ARow < 1 || ARow > FNRows + 1) return;
    FData.insert(FData.begin() + static_cast<std::ptrdiff_t>(RowStart(ARow)), static_cast<std::size_t>(FNCols), T{});
    ++FNRows;
  }
  void RemoveRow(int ARow) {
    if (!RowInside(ARow)) return;
    const auto first = FData.begin() + static_cast<std::ptrdiff_t>(RowStart(ARow));
    FData.erase(first, first + FNCols);
    --FNRows;
  }
  void RemoveColumn(int ACol) {
    if (!ColInside(ACol)) return;
    std::size_t write = 0;
    for (int r = 1; r <= FNRows; ++r)
      for (int c = 1; c <= FNCols; ++c)
        if (c != ACol) FData[write++] = Ref(c, r);
    FData.resize(write);
    --FNCols;
  }
  void MirrorRows() {
    for (int top = 1, bottom = FNRows; top < bottom; ++top, --bottom) SwapRows(top, bottom, 1, FNCols);
  }
  void MirrorColumns() {
    for (int r = 1; r <= FNRows; ++r) std::reverse(At(1, r), At(1, r) + FNCols);
  }
  // Exchanges the cells of rows R1 and R2 in columns C1..C2.
  void SwapRows(int R1, int R2, int C1, int C2) {
    C1 = std::max(C1, 1);
    C2 = std::min(C2, FNCols);
    if (!RowInside(R1) || !RowInside(R2) || R1 == R2 || C1 > C2) return;
    std::swap_ranges(At(C1, R1), At(C2, R1) + 1, At(C1, R2));
  }
  // Exchanges the cells of columns C1 and C2 in rows R1..R2.
  void SwapColumns(int C1, int C2, int R1, int R2) {
    R1 = std::max(R1, 1);
    R2 = std::min(R2, FNRows);
    if (!ColInside(C1) || !ColInside(C2) || C1 == C2) return;
    for (int r = R1; r <= R2; ++r) std::swap(Ref(C1, r), Ref(C2, r));
  }

 private:
  // A grid of the given size with room for its cells but none written yet.
  static TDenseGrid Empty(int NCols, int NRows) {
    TDenseGrid out;
    out.FData.reserve(static_cast<std::size_t>(NCols) * static_cast<std::size_t>(NRows));
    out.FNCols = NCols;
    out.FNRows = NRows;
    return out;
  }
  [[nodiscard]] std::size_t RowStart(int ARow) const {
    return static_cast<std::size_t>(ARow - 1) * static_cast<std::size_t>(FNCols);
  }
  [[nodiscard]] std::size_t Index(int ACol, int ARow) const {
    return RowStart(ARow) + static_cast<std::size_t>(ACol - 1);
  }
  // Pointer arithmetic rather than indexing, so that a row of no columns
  // is fine.
  [[nodiscard]] T* At(int ACol, int ARow) { return FData.data() + Index(ACol, ARow); }
  [[nodiscard]] const T* At(int ACol, int ARow) const { return FData.data() + Index(ACol, ARow); }

  std::vector<T> FData;
  int FNCols = 0;
  int FNRows = 0;
};

}  // namespace vorn
