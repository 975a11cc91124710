#include "vorn/foundation/intmatrix.h"

#include <limits>
#include <string>

#include "vorn/foundation/basics.h"

namespace vorn {

namespace {

// Matrices beyond this many bytes are refused before any allocation.
constexpr std::uint64_t kMaxBytes = std::uint64_t{1} << 39;

}  // namespace

TIntMatrix::TIntMatrix(int NCols, int NRows, TComponent* AOwner) : TComponent(AOwner) {
  Resize(NCols, NRows);
}

void TIntMatrix::Resize(int NCols, int NRows) {
  const bool valid = NCols >= 0 && NRows >= 0 &&
                     static_cast<std::uint64_t>(NCols) * static_cast<std::uint64_t>(NRows) <=
                         kMaxBytes / sizeof(int);
  if (!valid)
    throw EVORNError("TIntMatrix.Resize: a matrix of " + std::to_string(NCols) + " x " +
                     std::to_string(NRows) + " is not possible");
  if (NCols == NrOfColumns() && NRows == NrOfRows()) return;
  if (NCols == NrOfColumns()) {
    WithMemory("TIntMatrix.Resize", [&] { FCells.ReserveRows(NRows); });
    FCells.SetRowCount(NRows);
    return;
  }
  TDenseGrid<int> resized;
  WithMemory("TIntMatrix.Resize", [&] { resized = FCells.Resized(NCols, NRows); });
  FCells.swap(resized);
}

}  // namespace vorn
