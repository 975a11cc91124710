#include "vorn/foundation/stringarray.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <numeric>
#include <stdexcept>

#include "vorn/foundation/strutils.h"

namespace vorn {

// ---- TCell ------------------------------------------------------------------------
// Layout: inline texts use bytes 0..14 with their length in byte 15; a
// longer text keeps its block pointer in bytes 0..7, its length in byte 8
// and kOnHeap in byte 15.

TStringArray::TCell::TCell(const TCell& Other) : TCell() { Assign(Other.View()); }

TStringArray::TCell::TCell(TCell&& Other) noexcept {
  std::memcpy(FBytes, Other.FBytes, sizeof FBytes);
  Other.FBytes[kTag] = 0;
}

TStringArray::TCell& TStringArray::TCell::operator=(const TCell& Other) {
  if (this != &Other) Assign(Other.View());
  return *this;
}

TStringArray::TCell& TStringArray::TCell::operator=(TCell&& Other) noexcept {
  if (this != &Other) {
    Release();
    std::memcpy(FBytes, Other.FBytes, sizeof FBytes);
    Other.FBytes[kTag] = 0;
  }
  return *this;
}

char* TStringArray::TCell::HeapPtr() const noexcept {
  char* p = nullptr;
  std::memcpy(&p, FBytes, sizeof p);
  return p;
}

std::string_view TStringArray::TCell::View() const noexcept {
  if (OnHeap()) return {HeapPtr(), static_cast<unsigned char>(FBytes[8])};
  return {FBytes, static_cast<unsigned char>(FBytes[kTag])};
}

void TStringArray::TCell::Release() noexcept {
  if (OnHeap()) delete[] HeapPtr();
  FBytes[kTag] = 0;
}

void TStringArray::TCell::Clear() noexcept { Release(); }

void TStringArray::TCell::Assign(std::string_view Text) {
  // Text may point into this very cell, so it is copied before the old
  // storage goes.
  if (Text.size() <= kInline) {
    char copy[kInline];
    // An empty view may carry a null pointer, which memcpy must not see.
    if (!Text.empty()) std::memcpy(copy, Text.data(), Text.size());
    Release();
    if (!Text.empty()) std::memcpy(FBytes, copy, Text.size());
    FBytes[kTag] = static_cast<char>(Text.size());
    return;
  }
  char* block = new char[Text.size()];
  std::memcpy(block, Text.data(), Text.size());
  Release();
  std::memcpy(FBytes, &block, sizeof block);
  FBytes[8] = static_cast<char>(Text.size());
  FBytes[kTag] = static_cast<char>(kOnHeap);
}

// ---- construction and size ---------------------------------------------------------

namespace {

// Tables beyond this many bytes of cells are refused before any allocation.
constexpr std::uint64_t kMaxCellBytes = std::uint64_t{1} << 39;

}  // namespace

TStringArray::TStringArray(TComponent* AOwner) : TStringArray(1, 1, AOwner) {}

TStringArray::TStringArray(int NCols, int NRows, TComponent* AOwner) : TComponent(AOwner) {
  Resize(NCols, NRows);
}

TStringArray::~TStringArray() = default;

void TStringArray::CheckSize(std::int64_t NCols, std::int64_t NRows) const {
  constexpr std::int64_t maxIndex = std::numeric_limits<int>::max() - 1;
  const bool valid = NCols >= 0 && NRows >= 0 && NCols <= maxIndex && NRows <= maxIndex &&
                     static_cast<std::uint64_t>(NCols + 1) * static_cast<std::uint64_t>(NRows) <=
                         kMaxCellBytes / sizeof(TCell);
  if (!valid)
    throw EVORNError("TStringArray.Resize: a table of " + std::to_string(NCols) + " x " +
                     std::to_string(NRows) + " cells is not possible");
}

void TStringArray::Resize(int NCols, int NRows) {
  CheckSize(NCols, NRows);
  const bool sameColumns = NCols == FNCols && !FColAttrib.empty();
  if (sameColumns && NRows == FNRows) return;
  if (sameColumns)
    ResizeRows(NRows);
  else
    ResizeColumns(NCols, NRows);
  OrderChanged();
  Changed();
}

std::size_t TStringArray::RoundRows(std::size_t Rows) const {
  const auto step = static_cast<std::size_t>(FAllocRowsBy);
  return (Rows + step - 1) / step * step;
}

void TStringArray::ReserveRowData(std::size_t Rows) {
  WithMemory("TStringArray.Resize", [&] {
    FRowAttrib.reserve(Rows);
    FOrder.reserve(Rows);
  });
}

void TStringArray::FitRowData(int NRows) {
  FRowAttrib.resize(static_cast<std::size_t>(NRows));
  if (NRows < FNRows) {
    std::erase_if(FOrder, [NRows](int phys) { return phys >= NRows; });
  } else {
    for (int phys = FNRows; phys < NRows; ++phys) FOrder.push_back(phys);
  }
  FNRows = NRows;
}

void TStringArray::ResizeRows(int NRows) {
  const auto rows = static_cast<std::size_t>(NRows);
  if (NRows > FNRows) {
    WithMemory("TStringArray.Resize", [&] { FCells.reserve(RoundRows(rows) * Stride()); });
    ReserveRowData(RoundRows(rows));
  }
  // Nothing below allocates any more.
  FCells.resize(rows * Stride());
  FitRowData(NRows);
}

void TStringArray::ResizeColumns(int NCols, int NRows) {
  const auto rows = static_cast<std::size_t>(NRows);
  const std::size_t stride = static_cast<std::size_t>(NCols) + 1;
  std::vector<TCell> cells;
  std::vector<std::uint8_t> colAttrib;
  WithMemory("TStringArray.Resize", [&] {
    colAttrib = FColAttrib;
    cells.reserve(RoundRows(rows) * stride);
    cells.resize(rows * stride);
    colAttrib.resize(stride);
  });
  ReserveRowData(RoundRows(rows));
  // Nothing below allocates any more.
  const std::size_t keepRows = std::min(rows, static_cast<std::size_t>(FNRows));
  const std::size_t keepCols = std::min(stride, Stride());
  for (std::size_t r = 0; r < keepRows; ++r)
    std::move(FCells.begin() + static_cast<std::ptrdiff_t>(r * Stride()),
              FCells.begin() + static_cast<std::ptrdiff_t>(r * Stride() + keepCols),
              cells.begin() + static_cast<std::ptrdiff_t>(r * stride));
  FCells.swap(cells);
  FColAttrib.swap(colAttrib);
  FNCols = NCols;
  FitRowData(NRows);
}

void TStringArray::SetAllocRowsBy(int Rows) { FAllocRowsBy = std::max(Rows, 1); }

void TStringArray::Changed() {
  RaiseEvent(FOnChange, this);
}

// ---- cells and attributes -----------------------------------------------------------

std::string TStringArray::GetString(int ACol, int ARow) const {
  return std::string(StringView(ACol, ARow));
}

std::string_view TStringArray::StringView(int ACol, int ARow) const {
  if (!ColInside(ACol) || !RowInside(ARow)) return {};
  return CellAt(ACol, PhysIndex(ARow)).View();
}

void TStringArray::RowViews(int ARow, std::span<const int> Cols, std::span<std::string_view> Out) const {
  const bool row = RowInside(ARow);
  const std::size_t phys = row ? PhysIndex(ARow) : 0;
  for (std::size_t i = 0; i < Cols.size() && i < Out.size(); ++i)
    Out[i] = row && ColInside(Cols[i]) ? CellAt(Cols[i], phys).View() : std::string_view();
}

void TStringArray::SetString(int ACol, int ARow, std::string_view Value) {
  if (!ColInside(ACol) || !RowInside(ARow)) return;
  CellAt(ACol, PhysIndex(ARow)).Assign(Utf8Prefix(Value, MaxCellLength));
  Changed();
}

double TStringArray::GetAsNumber(int ACol, int ARow) const {
  double value = std::numeric_limits<double>::quiet_NaN();
  ParseDecimalNumber(StringView(ACol, ARow), value);
  return value;
}

bool TStringArray::IsNumber(int ACol, int ARow) const {
  double value = 0;
  return ParseDecimalNumber(StringView(ACol, ARow), value);
}

std::uint8_t TStringArray::GetColAttrib(int ACol) const {
  return ColInside(ACol) ? FColAttrib[static_cast<std::size_t>(ACol)] : 0;
}

void TStringArray::SetColAttrib(int ACol, std::uint8_t Value) {
  if (!ColInside(ACol)) return;
  FColAttrib[static_cast<std::size_t>(ACol)] = Value;
  Changed();
}

void TStringArray::SetRowAttrib(int ARow, std::uint8_t Value) {
  if (!RowInside(ARow)) return;
  SetRowAttribQuietly(ARow, Value);
  Changed();
}

void TStringArray::SetRowAttribQuietly(int ARow, std::uint8_t Value) {
  if (RowInside(ARow)) FRowAttrib[PhysIndex(ARow)] = Value;
}

// ---- rows ----------------------------------------------------------------------------

void TStringArray::InsertRow(int ARow) {
  if (ARow < 1 || ARow > FNRows + 1) return;
  CheckSize(FNCols, static_cast<std::int64_t>(FNRows) + 1);
  const std::size_t rows = static_cast<std::size_t>(FNRows) + 1;
  if (rows * Stride() > FCells.capacity()) {
    const std::size_t room = RoundRows(rows + rows / 2);
    WithMemory("TStringArray.InsertRow", [&] { FCells.reserve(room * Stride()); });
    ReserveRowData(room);
  }
  // With the room reserved nothing below allocates.
  const int phys = ARow <= FNRows ? static_cast<int>(PhysIndex(ARow)) : FNRows;
  const auto at = static_cast<std::ptrdiff_t>(static_cast<std::size_t>(phys) * Stride());
  FCells.resize(FCells.size() + Stride());
  std::rotate(FCells.begin() + at, FCells.end() - static_cast<std::ptrdiff_t>(Stride()), FCells.end());
  FRowAttrib.insert(FRowAttrib.begin() + phys, 0);
  for (int& p : FOrder)
    if (p >= phys) ++p;
  FOrder.insert(FOrder.begin() + (ARow - 1), phys);
  ++FNRows;
  OrderChanged();
  Changed();
}

void TStringArray::RemoveRow(int ARow) {
  if (!RowInside(ARow)) return;
  const int phys = static_cast<int>(PhysIndex(ARow));
  const auto at = FCells.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(phys) * Stride());
  FCells.erase(at, at + static_cast<std::ptrdiff_t>(Stride()));
  FRowAttrib.erase(FRowAttrib.begin() + phys);
  FOrder.erase(FOrder.begin() + (ARow - 1));
  for (int& p : FOrder)
    if (p > phys) --p;
  --FNRows;
  OrderChanged();
  Changed();
}

void TStringArray::Clear() {
  for (TCell& cell : FCells) cell.Clear();
  std::iota(FOrder.begin(), FOrder.end(), 0);
  OrderChanged();
  Changed();
}

// ---- row order -------------------------------------------------------------------------

int TStringArray::GetSortOrder(int ARow) const {
  return RowInside(ARow) ? static_cast<int>(PhysIndex(ARow)) + 1 : 0;
}

void TStringArray::SetSortOrder(int ARow, int PhysRow) {
  if (!RowInside(ARow) || !RowInside(PhysRow)) return;
  if (!FInverseValid) {
    WithMemory("TStringArray.SetSortOrder", [&] { FInverse.resize(FOrder.size()); });
    for (std::size_t i = 0; i < FOrder.size(); ++i) FInverse[static_cast<std::size_t>(FOrder[i])] = static_cast<int>(i);
    FInverseValid = true;
  }
  const auto here = static_cast<std::size_t>(ARow - 1);
  const auto there = static_cast<std::size_t>(FInverse[static_cast<std::size_t>(PhysRow - 1)]);
  if (here == there) return;
  std::swap(FOrder[here], FOrder[there]);
  FInverse[static_cast<std::size_t>(FOrder[here])] = static_cast<int>(here);
  FInverse[static_cast<std::size_t>(FOrder[there])] = static_cast<int>(there);
  Changed();
}

void TStringArray::UnSort() {
  std::iota(FOrder.begin(), FOrder.end(), 0);
  OrderChanged();
  Changed();
}

void TStringArray::CommitSorting() {
  // Moves every row to its shown position by following the cycles of the
  // permutation, with one row of scratch space.
  const std::size_t n = FOrder.size();
  const std::size_t stride = Stride();
  std::vector<TCell> scratch;
  std::vector<bool> done;
  WithMemory("TStringArray.CommitSorting", [&] {
    scratch.resize(stride);
    done.resize(n);
  });
  const auto moveRow = [&](std::size_t to, std::size_t from) {
    std::move(FCells.begin() + static_cast<std::ptrdiff_t>(from * stride),
              FCells.begin() + static_cast<std::ptrdiff_t>((from + 1) * stride),
              FCells.begin() + static_cast<std::ptrdiff_t>(to * stride));
    FRowAttrib[to] = FRowAttrib[from];
  };
  for (std::size_t start = 0; start < n; ++start) {
    if (done[start] || static_cast<std::size_t>(FOrder[start]) == start) continue;
    const auto first = FCells.begin() + static_cast<std::ptrdiff_t>(start * stride);
    std::move(first, first + static_cast<std::ptrdiff_t>(stride), scratch.begin());
    const std::uint8_t attrib = FRowAttrib[start];
    std::size_t cur = start;
    for (;;) {
      done[cur] = true;
      const auto next = static_cast<std::size_t>(FOrder[cur]);
      if (next == start) break;
      moveRow(cur, next);
      cur = next;
    }
    std::move(scratch.begin(), scratch.end(), FCells.begin() + static_cast<std::ptrdiff_t>(cur * stride));
    FRowAttrib[cur] = attrib;
  }
  std::iota(FOrder.begin(), FOrder.end(), 0);
  OrderChanged();
  Changed();
}

void TStringArray::Assign(const TPersistent* Source) {
  const auto* array = dynamic_cast<const TStringArray*>(Source);
  if (array == nullptr) {
    TComponent::Assign(Source);
    return;
  }
  if (array != this) CopyFrom(*array);
}

void TStringArray::CopyFrom(const TStringArray& Source) {
  std::vector<TCell> cells;
  std::vector<std::uint8_t> rowAttrib, colAttrib;
  std::vector<int> order;
  WithMemory("TStringArray.Assign", [&] {
    cells = Source.FCells;
    rowAttrib = Source.FRowAttrib;
    colAttrib = Source.FColAttrib;
    order = Source.FOrder;
  });
  FCells.swap(cells);
  FRowAttrib.swap(rowAttrib);
  FColAttrib.swap(colAttrib);
  FOrder.swap(order);
  FNCols = Source.FNCols;
  FNRows = Source.FNRows;
  FAllocRowsBy = Source.FAllocRowsBy;
  OrderChanged();
  Changed();
}

// ---- sorting ---------------------------------------------------------------------------
// Each row gets a key computed once: its class (empty, number, text) and a
// 64-bit value that orders it within the class: the number's bits in an
// order-preserving form, or the first eight bytes of the case-folded text.
// Only texts whose first eight folded bytes are equal are compared in full.

namespace {

struct TSortKey {
  std::uint64_t Value;
  std::uint32_t Phys;
  std::uint8_t Class;
};

enum TKeyClass : std::uint8_t { kcEmpty, kcNumber, kcText };

constexpr std::size_t kPrefixBytes = 8;

std::uint64_t OrderedBits(double v) {
  const auto bits = std::bit_cast<std::uint64_t>(v + 0.0);  // -0 becomes +0
  constexpr std::uint64_t sign = std::uint64_t{1} << 63;
  return (bits & sign) ? ~bits : (bits | sign);
}

std::uint64_t FoldedPrefix(std::string_view text) {
  // A two-byte character that straddles the eighth byte is folded whole.
  char folded[kPrefixBytes + 1] = {};
  const std::string_view head = text.substr(0, kPrefixBytes + 1);
  FoldCaseInto(head, folded);
  std::uint64_t key = 0;
  for (std::size_t i = 0; i < kPrefixBytes; ++i)
    key = (key << 8) | (i < head.size() ? static_cast<unsigned char>(folded[i]) : 0u);
  return key;
}

// Full comparison of two texts: folded first, then exact.
int CompareCellTexts(std::string_view a, std::string_view b) {
  char fa[TStringArray::MaxCellLength], fb[TStringArray::MaxCellLength];
  FoldCaseInto(a, fa);
  FoldCaseInto(b, fb);
  const int folded = std::string_view(fa, a.size()).compare(std::string_view(fb, b.size()));
  return folded != 0 ? folded : a.compare(b);
}

TSortKey MakeKey(std::string_view text, std::uint32_t phys) {
  if (text.empty()) return {0, phys, kcEmpty};
  double number = 0;
  if (ParseDecimalNumber(text, number)) return {OrderedBits(number), phys, kcNumber};
  return {FoldedPrefix(text), phys, kcText};
}

}  // namespace

void TStringArray::Sort(int Col, int ColSec, bool Ascending) {
  if (!ColInside(Col) || FNRows < 2) return;
  const bool secondary = ColInside(ColSec) && ColSec != Col;
  const auto n = static_cast<std::size_t>(FNRows);
  TPercentReporter progress(FOnPercentDone, this, static_cast<std::int64_t>(3 * n));

  std::vector<TSortKey> keys, secKeys;
  WithMemory("TStringArray.Sort", [&] {
    keys.resize(n);
    if (secondary) secKeys.resize(n);
  });
  for (std::size_t i = 0; i < n; ++i) {
    const auto phys = static_cast<std::uint32_t>(FOrder[i]);
    keys[i] = MakeKey(CellAt(Col, phys).View(), phys);
    if (secondary) secKeys[phys] = MakeKey(CellAt(ColSec, phys).View(), phys);
    progress.Step(static_cast<std::int64_t>(i));
  }

  const auto compareKeys = [this](const TSortKey& a, const TSortKey& b, int col) {
    if (a.Class != b.Class) return a.Class < b.Class ? -1 : 1;
    if (a.Value != b.Value) return a.Value < b.Value ? -1 : 1;
    if (a.Class != kcText) return 0;
    return CompareCellTexts(CellAt(col, a.Phys).View(), CellAt(col, b.Phys).View());
  };
  const auto compareRows = [&](const TSortKey& a, const TSortKey& b) {
    const int c = compareKeys(a, b, Col);
    if (c != 0 || !secondary) return c;
    return compareKeys(secKeys[a.Phys], secKeys[b.Phys], ColSec);
  };
  if (Ascending)
    std::stable_sort(keys.begin(), keys.end(),
                     [&](const TSortKey& a, const TSortKey& b) { return compareRows(a, b) < 0; });
  else
    std::stable_sort(keys.begin(), keys.end(),
                     [&](const TSortKey& a, const TSortKey& b) { return compareRows(a, b) > 0; });
  progress.Step(static_cast<std::int64_t>(2 * n));

  std::vector<int> order;
  WithMemory("TStringArray.Sort", [&] { order.resize(n); });
  for (std::size_t i = 0; i < n; ++i) order[i] = static_cast<int>(keys[i].Phys);
  ApplyOrder(std::move(order));
  progress.Finish();
  Changed();
}

void TStringArray::ApplyOrder(std::vector<int>&& NewOrder) {
  OrderChanged();
  if (!FOnBeforeSortExchange) {
    FOrder.swap(NewOrder);
    return;
  }
  // Reach the new order by exchanges of shown rows, announcing each one.
  std::vector<int> where;
  WithMemory("TStringArray.Sort", [&] { where.resize(FOrder.size()); });
  for (std::size_t i = 0; i < FOrder.size(); ++i) where[static_cast<std::size_t>(FOrder[i])] = static_cast<int>(i);
  for (std::size_t i = 0; i < FOrder.size(); ++i) {
    const int want = NewOrder[i];
    if (FOrder[i] == want) continue;
    const auto j = static_cast<std::size_t>(where[static_cast<std::size_t>(want)]);
    // Through a copy, and looked up each time: a handler may replace it.
    RaiseEvent(FOnBeforeSortExchange, this, 0, static_cast<int>(i) + 1, static_cast<int>(j) + 1, 0, FNCols);
    where[static_cast<std::size_t>(FOrder[i])] = static_cast<int>(j);
    where[static_cast<std::size_t>(want)] = static_cast<int>(i);
    std::swap(FOrder[i], FOrder[j]);
  }
}

}  // namespace vorn
