// TGridAxis: the sizes of a grid's columns or rows along one axis.
//
// Every entry has the default size except for a few exceptions, which are
// kept in a sorted list together with a Fenwick tree over their deviation
// from the default. Memory therefore follows the number of exceptions, not
// the number of entries, and the position of an entry, the entry under a
// pixel and the next shown entry cost O(log n) (times log of the
// exceptions) whatever the count.
//
// Each entry is followed by a grid line of LineWidth pixels. An entry of
// size 0 is hidden: it takes no pixels at all, not even its line. Start(i)
// is the pixel where entry i begins when entry 0 begins at 0; it never
// decreases with i.
//
// Changing an existing exception's size is O(log e); adding or removing an
// exception is O(e) for the list (appending in ascending order is O(1)) and
// rebuilds the tree on the next query, O(e).
#pragma once

#include <cstdint>
#include <vector>

namespace vorn {

class TGridAxis {
 public:
  [[nodiscard]] int Count() const { return FCount; }
  // Entries beyond the new count are dropped with their exceptions; new
  // entries have the default size.
  void SetCount(int Value);
  [[nodiscard]] int DefaultSize() const { return FDefault; }
  // Sets every entry to Value (drops all exceptions).
  void SetDefaultSize(int Value);
  [[nodiscard]] int LineWidth() const { return FLine; }
  void SetLineWidth(int Value);

  // Size of entry Index (0 outside 0..Count-1).
  [[nodiscard]] int Size(int Index) const;
  // Index outside 0..Count-1 is ignored; negative sizes count as 0.
  void SetSize(int Index, int Value);
  // Pixels entry Index takes with its line: 0 for a hidden entry.
  [[nodiscard]] int Step(int Index) const;
  [[nodiscard]] bool Shown(int Index) const { return Size(Index) > 0; }

  // First pixel of entry Index (0..Count; Start(Count) is the total).
  [[nodiscard]] std::int64_t Start(int Index) const;
  [[nodiscard]] std::int64_t Total() const { return Start(FCount); }
  // The shown entry whose pixels (line included) contain Pixel, measured
  // from the start of entry 0; Count when Pixel lies beyond the last one,
  // -1 when it is negative.
  [[nodiscard]] int IndexAt(std::int64_t Pixel) const;
  // The smallest index i >= From with Start(i) >= Pixel, From..Count.
  [[nodiscard]] int FirstStartingAt(int From, std::int64_t Pixel) const;
  // The first shown entry at or after Index; Count when there is none.
  [[nodiscard]] int NextShown(int Index) const;
  // The last shown entry at or before Index; -1 when there is none.
  [[nodiscard]] int PrevShown(int Index) const;

  // Moves entry From to position To, shifting those between.
  void Move(int From, int To);
  // Bytes the exceptions take (for measuring).
  [[nodiscard]] std::size_t MemoryBytes() const;

 private:
  [[nodiscard]] int DefaultStep() const { return FDefault > 0 ? FDefault + FLine : 0; }
  [[nodiscard]] int StepOf(int Size) const { return Size > 0 ? Size + FLine : 0; }
  // Position of the first exception with an index >= Index.
  [[nodiscard]] std::size_t LowerBound(int Index) const;
  // Sum of the step deviations of the first K exceptions.
  [[nodiscard]] std::int64_t DeviationBefore(std::size_t K) const;
  void Rebuild() const;
  void AddToTree(std::size_t Pos, std::int64_t Delta) const;

  int FCount = 0;
  int FDefault = 0;
  int FLine = 0;
  std::vector<int> FIndex;  // ascending entry indices of the exceptions
  std::vector<int> FSizes;  // their sizes
  mutable std::vector<std::int64_t> FTree;  // Fenwick tree of step deviations, 1-based
  mutable bool FTreeValid = false;
};

}  // namespace vorn
