// TBitFld: a resizable set of bits numbered from 0.
#pragma once

#include <cstdint>
#include <vector>

namespace vorn {

// An index outside 0..Size-1 reads false and is not written.
class TBitFld {
 public:
  explicit TBitFld(int Size = 0);

  [[nodiscard]] int Size() const { return FSize; }
  // Keeps the bits below the new size; new bits are false. Negative sizes
  // count as 0. Raises EVORNError, with the set unchanged, when the memory
  // cannot be had.
  void SetSize(int Size);

  [[nodiscard]] bool GetBit(int Index) const;
  void SetBit(int Index, bool Value);
  // Sets every bit false.
  void Clear();
  // The lowest index of a true bit, -1 when there is none.
  [[nodiscard]] int FirstTrueBit() const;
  [[nodiscard]] int CountTrueBits() const;

 private:
  [[nodiscard]] bool Inside(int Index) const { return Index >= 0 && Index < FSize; }

  std::vector<std::uint64_t> FWords;
  int FSize = 0;
};

}  // namespace vorn
