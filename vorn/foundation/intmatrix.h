// TIntMatrix: integers by column and row, both numbered from 1.
#pragma once

#include "vorn/foundation/densegrid.h"
#include "vorn/platform/runtime/components.h"

namespace vorn {

// Outside the size reads give 0 and writes do nothing.
class TIntMatrix : public TComponent {
 public:
  // An empty matrix.
  explicit TIntMatrix(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
  TIntMatrix(int NCols, int NRows, TComponent* AOwner = nullptr);

  [[nodiscard]] int NrOfColumns() const { return FCells.NrOfColumns(); }
  [[nodiscard]] int NrOfRows() const { return FCells.NrOfRows(); }
  // Keeps the values that still fit; new cells are 0. Raises EVORNError and
  // keeps the matrix as it was when the size cannot be had.
  void Resize(int NCols, int NRows);
  // Resize with the column count kept.
  void SetNRows(int NRows) { Resize(NrOfColumns(), NRows); }

  [[nodiscard]] int GetVal(int ACol, int ARow) const { return FCells.Get(ACol, ARow); }
  void SetVal(int ACol, int ARow, int Value) { FCells.Set(ACol, ARow, Value); }

 private:
  TDenseGrid<int> FCells;
};

}  // namespace vorn
