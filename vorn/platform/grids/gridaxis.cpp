#include "vorn/platform/grids/gridaxis.h"

#include <algorithm>

namespace vorn {

void TGridAxis::SetCount(int Value) {
  Value = std::max(0, Value);
  if (Value < FCount) {
    const std::size_t keep = LowerBound(Value);
    FIndex.resize(keep);
    FSizes.resize(keep);
    FTreeValid = false;
  }
  FCount = Value;
}

void TGridAxis::SetDefaultSize(int Value) {
  FDefault = std::max(0, Value);
  FIndex.clear();
  FSizes.clear();
  FIndex.shrink_to_fit();
  FSizes.shrink_to_fit();
  FTree.clear();
  FTree.shrink_to_fit();
  FTreeValid = false;
}

void TGridAxis::SetLineWidth(int Value) {
  Value = std::max(0, Value);
  if (Value == FLine) return;
  FLine = Value;
  FTreeValid = false;  // deviations depend on the line
}

std::size_t TGridAxis::LowerBound(int Index) const {
  return static_cast<std::size_t>(std::lower_bound(FIndex.begin(), FIndex.end(), Index) - FIndex.begin());
}

int TGridAxis::Size(int Index) const {
  if (Index < 0 || Index >= FCount) return 0;
  const std::size_t k = LowerBound(Index);
  return k < FIndex.size() && FIndex[k] == Index ? FSizes[k] : FDefault;
}

int TGridAxis::Step(int Index) const { return Index < 0 || Index >= FCount ? 0 : StepOf(Size(Index)); }

void TGridAxis::SetSize(int Index, int Value) {
  if (Index < 0 || Index >= FCount) return;
  Value = std::max(0, Value);
  const std::size_t k = FIndex.empty() || Index > FIndex.back() ? FIndex.size() : LowerBound(Index);
  const bool present = k < FIndex.size() && FIndex[k] == Index;
  if (present) {
    if (Value == FDefault) {
      FIndex.erase(FIndex.begin() + static_cast<std::ptrdiff_t>(k));
      FSizes.erase(FSizes.begin() + static_cast<std::ptrdiff_t>(k));
      FTreeValid = false;
    } else if (Value != FSizes[k]) {
      if (FTreeValid) AddToTree(k, static_cast<std::int64_t>(StepOf(Value)) - StepOf(FSizes[k]));
      FSizes[k] = Value;
    }
    return;
  }
  if (Value == FDefault) return;
  if (k == FIndex.size() && FTreeValid) {
    // Appending keeps the tree valid: the new node covers a range that
    // ends with itself, so it sums those earlier deviations plus its own.
    FIndex.push_back(Index);
    FSizes.push_back(Value);
    const std::size_t node = FIndex.size();
    const std::size_t low = node - (node & (~node + 1));  // exclusive start of the node's range
    const std::int64_t own = static_cast<std::int64_t>(StepOf(Value)) - DefaultStep();
    FTree.push_back(DeviationBefore(node - 1) - DeviationBefore(low) + own);
    return;
  }
  FIndex.insert(FIndex.begin() + static_cast<std::ptrdiff_t>(k), Index);
  FSizes.insert(FSizes.begin() + static_cast<std::ptrdiff_t>(k), Value);
  FTreeValid = false;
}

void TGridAxis::Rebuild() const {
  const std::size_t n = FIndex.size();
  FTree.assign(n + 1, 0);
  for (std::size_t i = 1; i <= n; ++i) {
    FTree[i] += static_cast<std::int64_t>(StepOf(FSizes[i - 1])) - DefaultStep();
    const std::size_t parent = i + (i & (~i + 1));
    if (parent <= n) FTree[parent] += FTree[i];
  }
  FTreeValid = true;
}

void TGridAxis::AddToTree(std::size_t Pos, std::int64_t Delta) const {
  for (std::size_t i = Pos + 1; i < FTree.size(); i += i & (~i + 1)) FTree[i] += Delta;
}

std::int64_t TGridAxis::DeviationBefore(std::size_t K) const {
  if (!FTreeValid) Rebuild();
  std::int64_t sum = 0;
  for (std::size_t i = K; i > 0; i -= i & (~i + 1)) sum += FTree[i];
  return sum;
}

std::int64_t TGridAxis::Start(int Index) const {
  Index = std::clamp(Index, 0, FCount);
  return static_cast<std::int64_t>(Index) * DefaultStep() + DeviationBefore(LowerBound(Index));
}

int TGridAxis::FirstStartingAt(int From, std::int64_t Pixel) const {
  int low = std::clamp(From, 0, FCount);
  int high = FCount;
  while (low < high) {
    const int mid = low + (high - low) / 2;
    if (Start(mid) >= Pixel) {
      high = mid;
    } else {
      low = mid + 1;
    }
  }
  return low;
}

int TGridAxis::IndexAt(std::int64_t Pixel) const {
  if (Pixel < 0) return -1;
  // The entry whose end lies beyond Pixel: the first i with Start(i+1) > Pixel.
  const int end = FirstStartingAt(1, Pixel + 1);
  return end > FCount || Start(end) <= Pixel ? FCount : end - 1;
}

int TGridAxis::NextShown(int Index) const {
  if (Index < 0) Index = 0;
  if (Index >= FCount) return FCount;
  if (Step(Index) > 0) return Index;
  if (FDefault > 0) {
    // Hidden entries are exceptions: walk a short run of them directly.
    std::size_t k = LowerBound(Index);
    for (int i = Index; i < Index + 64; ++i, ++k) {
      if (i >= FCount) return FCount;
      if (k >= FIndex.size() || FIndex[k] != i || FSizes[k] > 0) return i;
    }
  }
  const std::int64_t here = Start(Index);
  if (Total() == here) return FCount;
  return FirstStartingAt(Index + 1, here + 1) - 1;
}

int TGridAxis::PrevShown(int Index) const {
  if (Index >= FCount) Index = FCount - 1;
  if (Index < 0) return -1;
  if (Step(Index) > 0) return Index;
  const std::int64_t end = Start(Index + 1);
  if (end == 0) return -1;
  return FirstStartingAt(1, end) - 1;
}

void TGridAxis::Move(int From, int To) {
  if (From == To || From < 0 || To < 0 || From >= FCount || To >= FCount) return;
  const int size = Size(From);
  std::vector<int> index, sizes;
  index.reserve(FIndex.size() + 1);
  sizes.reserve(FIndex.size() + 1);
  for (std::size_t k = 0; k < FIndex.size(); ++k) {
    int i = FIndex[k];
    if (i == From) continue;
    if (From < To && i > From && i <= To) --i;
    if (To < From && i >= To && i < From) ++i;
    index.push_back(i);
    sizes.push_back(FSizes[k]);
  }
  FIndex = std::move(index);
  FSizes = std::move(sizes);
  FTreeValid = false;
  // Shifted entries stay ascending; the moved one goes in at its place.
  SetSize(To, size);
}

std::size_t TGridAxis::MemoryBytes() const {
  return FIndex.capacity() * sizeof(int) + FSizes.capacity() * sizeof(int) +
         FTree.capacity() * sizeof(std::int64_t);
}

}  // namespace vorn
