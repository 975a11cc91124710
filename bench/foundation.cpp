// The containers of the base and math services against plain standard
// library work on the same data: sorting a string table, its memory per
// cell, and the size changes of a data table.
#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "vorn/foundation/datatable.h"
#include "vorn/foundation/stringarray.h"

namespace {

constexpr int kSortRows = 1'000'000;

std::vector<std::string> RandomWords() {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> length(5, 20);
  std::uniform_int_distribution<int> letter(0, 51);
  std::vector<std::string> words(kSortRows);
  for (std::string& w : words) {
    w.resize(static_cast<std::size_t>(length(rng)));
    for (char& c : w) {
      const int l = letter(rng);
      c = static_cast<char>(l < 26 ? 'a' + l : 'A' + l - 26);
    }
  }
  return words;
}

std::vector<std::string> RandomNumbers() {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> value(-1e6, 1e6);
  std::uniform_int_distribution<int> decimals(0, 6);
  std::vector<std::string> numbers(kSortRows);
  char buf[64];
  for (std::string& n : numbers) {
    std::snprintf(buf, sizeof buf, "%.*f", decimals(rng), value(rng));
    n = buf;
  }
  return numbers;
}

const std::vector<std::string>& Words() {
  static const std::vector<std::string> words = RandomWords();
  return words;
}

const std::vector<std::string>& Numbers() {
  static const std::vector<std::string> numbers = RandomNumbers();
  return numbers;
}

void StdStableSort(benchmark::State& state, const std::vector<std::string>& data) {
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::string> copy = data;
    state.ResumeTiming();
    std::stable_sort(copy.begin(), copy.end());
    benchmark::DoNotOptimize(copy.data());
    state.PauseTiming();
    copy = {};
    state.ResumeTiming();
  }
}

void StringArraySort(benchmark::State& state, const std::vector<std::string>& data) {
  vorn::TStringArray table(1, kSortRows);
  for (int r = 1; r <= kSortRows; ++r) table.SetString(1, r, data[static_cast<std::size_t>(r - 1)]);
  for (auto _ : state) {
    state.PauseTiming();
    table.UnSort();
    state.ResumeTiming();
    table.Sort(1, -1, true);
    benchmark::DoNotOptimize(table.GetSortOrder(1));
  }
}

void BM_StdStableSort_Words(benchmark::State& state) { StdStableSort(state, Words()); }
void BM_StringArraySort_Words(benchmark::State& state) { StringArraySort(state, Words()); }
void BM_StdStableSort_Numbers(benchmark::State& state) { StdStableSort(state, Numbers()); }
void BM_StringArraySort_Numbers(benchmark::State& state) { StringArraySort(state, Numbers()); }
BENCHMARK(BM_StdStableSort_Words)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StringArraySort_Words)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdStableSort_Numbers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StringArraySort_Numbers)->Unit(benchmark::kMillisecond);

// ---- memory per cell ----------------------------------------------------------------

long StatusKiB(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(key, 0) == 0) return std::stol(line.substr(line.find(':') + 1));
  return -1;
}

// Builds a 1,000,000 x 5 table of 8-character cells in a child process, so
// that nothing this program did before counts, and gives the growth of the
// peak resident size per visible cell.
double MeasureBytesPerCell() {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    const long before = StatusKiB("VmRSS:");
    vorn::TStringArray table(5, 1'000'000);
    for (int r = 1; r <= 1'000'000; ++r)
      for (int c = 1; c <= 5; ++c) table.SetString(c, r, "abcdefgh");
    const double perCell = static_cast<double>(StatusKiB("VmHWM:") - before) * 1024.0 / 5e6;
    const ssize_t written = write(fds[1], &perCell, sizeof perCell);
    _exit(written == sizeof perCell ? 0 : 1);
  }
  double perCell = -1;
  if (read(fds[0], &perCell, sizeof perCell) != sizeof perCell) perCell = -1;
  close(fds[0]);
  close(fds[1]);
  waitpid(child, nullptr, 0);
  return perCell;
}

void BM_StringArrayMemory(benchmark::State& state) {
  double perCell = -1;
  for (auto _ : state) perCell = MeasureBytesPerCell();
  state.counters["bytes_per_cell"] = perCell;
  state.counters["target_max"] = 48;
}
BENCHMARK(BM_StringArrayMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// ---- data table size changes ------------------------------------------------------------

constexpr int kTableSide = 1000;

template <typename Op>
void TableOp(benchmark::State& state, Op op) {
  for (auto _ : state) {
    state.PauseTiming();
    auto table = std::make_unique<vorn::TDataTable>(kTableSide, kTableSide);
    state.ResumeTiming();
    op(*table);
    benchmark::DoNotOptimize(table->GetElem(1, 1));
    state.PauseTiming();
    table.reset();
    state.ResumeTiming();
  }
}

// One copy of the table's cells into fresh memory: the most a size change
// may cost. Made in the same setting as the operations measured against it,
// so that both meet the allocator in the same state.
void BM_CopyTableOnce(benchmark::State& state) {
  TableOp(state, [](vorn::TDataTable& t) {
    const std::span<const double> values = std::as_const(t).DataMat().Cells();
    std::vector<double> copy(values.begin(), values.end());
    std::vector<std::uint8_t> states(values.size());
    benchmark::DoNotOptimize(copy.data());
    benchmark::DoNotOptimize(states.data());
  });
}
void BM_DataTable_InsertColumn(benchmark::State& state) {
  TableOp(state, [](vorn::TDataTable& t) { t.InsertColumn(1); });
}
void BM_DataTable_MirrorRows(benchmark::State& state) {
  TableOp(state, [](vorn::TDataTable& t) { t.MirrorRows(); });
}
void BM_DataTable_GrowOneRow(benchmark::State& state) {
  TableOp(state, [](vorn::TDataTable& t) { t.Resize(kTableSide, kTableSide + 1); });
}
BENCHMARK(BM_CopyTableOnce)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DataTable_InsertColumn)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DataTable_MirrorRows)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DataTable_GrowOneRow)->Unit(benchmark::kMicrosecond);

}  // namespace

#include "bench/support/ratio.h"
VORN_RATIO("TStringArray::Sort words / std::stable_sort", "BM_StringArraySort_Words",
           "BM_StdStableSort_Words", 1.5);
VORN_RATIO("TStringArray::Sort numbers / std::stable_sort", "BM_StringArraySort_Numbers",
           "BM_StdStableSort_Numbers", 1.5);
VORN_RATIO("TDataTable 1000x1000 InsertColumn(1) / one table copy", "BM_DataTable_InsertColumn",
           "BM_CopyTableOnce", 1.5);
VORN_RATIO("TDataTable 1000x1000 MirrorRows / one table copy", "BM_DataTable_MirrorRows",
           "BM_CopyTableOnce", 1.5);
VORN_RATIO("TDataTable 1000x1000 Resize(+1 row) / one table copy", "BM_DataTable_GrowOneRow",
           "BM_CopyTableOnce", 1.5);
