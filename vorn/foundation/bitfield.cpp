#include "vorn/foundation/bitfield.h"

#include <algorithm>
#include <bit>
#include <new>
#include <string>

#include "vorn/foundation/basics.h"

namespace vorn {

namespace {

constexpr int kWordBits = 64;

constexpr std::size_t WordsFor(int bits) {
  return (static_cast<std::size_t>(bits) + kWordBits - 1) / kWordBits;
}

constexpr std::uint64_t BitMask(int index) { return std::uint64_t{1} << (index % kWordBits); }

}  // namespace

TBitFld::TBitFld(int Size) { SetSize(Size); }

void TBitFld::SetSize(int Size) {
  Size = std::max(Size, 0);
  try {
    FWords.resize(WordsFor(Size));
  } catch (const std::bad_alloc&) {
    throw EVORNError("TBitFld.SetSize: not enough memory for " + std::to_string(Size) + " bits");
  }
  // Bits beyond the new size must read false if the set grows again.
  if (Size % kWordBits != 0) FWords.back() &= BitMask(Size) - 1;
  FSize = Size;
}

bool TBitFld::GetBit(int Index) const {
  return Inside(Index) && (FWords[static_cast<std::size_t>(Index / kWordBits)] & BitMask(Index)) != 0;
}

void TBitFld::SetBit(int Index, bool Value) {
  if (!Inside(Index)) return;
  std::uint64_t& word = FWords[static_cast<std::size_t>(Index / kWordBits)];
  word = Value ? (word | BitMask(Index)) : (word & ~BitMask(Index));
}

void TBitFld::Clear() { std::fill(FWords.begin(), FWords.end(), 0); }

int TBitFld::FirstTrueBit() const {
  for (std::size_t i = 0; i < FWords.size(); ++i)
    if (FWords[i] != 0) return static_cast<int>(i) * kWordBits + std::countr_zero(FWords[i]);
  return -1;
}

int TBitFld::CountTrueBits() const {
  int count = 0;
  for (std::uint64_t w : FWords) count += std::popcount(w);
  return count;
}

}  // namespace vorn
