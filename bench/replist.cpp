// Report list model on a 1,000,000 x 5 table of 8-character cells: reading
// its document against the XML parser's own parse of the same bytes,
// writing, peak memory while reading, clipboard texts, sorting.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <pugixml.hpp>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <ostream>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>

#include "bench/support/ratio.h"
#include "vorn/replist/rlxml.h"

// ---- heap accounting: every allocation of the program and of the parser -------
// The global operators below take their memory from malloc and give it back
// with free, which is what GCC's pairing check cannot see through.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace {

std::atomic<std::int64_t> gHeapNow{0};
std::atomic<std::int64_t> gHeapPeak{0};

void* Counted(void* p) {
  if (p == nullptr) return nullptr;
  const auto now = gHeapNow += static_cast<std::int64_t>(malloc_usable_size(p));
  std::int64_t peak = gHeapPeak.load();
  while (now > peak && !gHeapPeak.compare_exchange_weak(peak, now)) {
  }
  return p;
}

void Uncounted(void* p) {
  if (p == nullptr) return;
  gHeapNow -= static_cast<std::int64_t>(malloc_usable_size(p));
  std::free(p);
}

void* CountedAlloc(std::size_t n) { return Counted(std::malloc(n == 0 ? 1 : n)); }

}  // namespace

void* operator new(std::size_t n) {
  if (void* p = CountedAlloc(n)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return CountedAlloc(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return CountedAlloc(n); }
void operator delete(void* p) noexcept { Uncounted(p); }
void operator delete[](void* p) noexcept { Uncounted(p); }
void operator delete(void* p, std::size_t) noexcept { Uncounted(p); }
void operator delete[](void* p, std::size_t) noexcept { Uncounted(p); }

namespace {

constexpr int kRows = 1000000;
constexpr int kCols = 5;

const bool gParserCounted = [] {
  pugi::set_memory_management_functions(CountedAlloc, Uncounted);
  return true;
}();

vorn::TRLData& Table() {
  static vorn::TRLData* table = [] {
    auto* t = new vorn::TRLData(nullptr);
    t->SetNrOfColumns(kCols);
    t->SetNrOfRows(kRows);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> letter('a', 'z');
    std::string cell(8, ' ');
    for (int r = 1; r <= kRows; ++r) {
      for (int c = 1; c <= kCols; ++c) {
        for (char& ch : cell) ch = static_cast<char>(letter(rng));
        t->Strings()->SetString(c, r, cell);
      }
    }
    return t;
  }();
  return *table;
}

const std::string& DocumentText() {
  static const std::string doc = [] {
    std::ostringstream out;
    Table().WriteToXMLStream(out, true, "bench");
    return out.str();
  }();
  return doc;
}

// Counts the bytes written and keeps none of them.
class TNullBuf : public std::streambuf {
 public:
  std::int64_t Bytes = 0;

 protected:
  std::streamsize xsputn(const char*, std::streamsize n) override {
    Bytes += n;
    return n;
  }
  int_type overflow(int_type c) override {
    ++Bytes;
    return traits_type::not_eof(c);
  }
};

void BM_PugixmlParse(benchmark::State& state) {
  const std::string& doc = DocumentText();
  for (auto _ : state) {
    pugi::xml_document parsed;
    benchmark::DoNotOptimize(parsed.load_buffer(doc.data(), doc.size()));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(doc.size()));
}
BENCHMARK(BM_PugixmlParse)->Unit(benchmark::kMillisecond);

void BM_ReadXML(benchmark::State& state) {
  const std::string& doc = DocumentText();
  for (auto _ : state) {
    vorn::TRLData data(nullptr);
    if (!data.ReadFromXMLString(doc, "bench")) state.SkipWithError("read failed");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(doc.size()));
}
BENCHMARK(BM_ReadXML)->Unit(benchmark::kMillisecond);

// Reads the document from a stream (the copy of the bytes included) and
// reports the heap it needed beyond the table it built, per document byte.
void BM_ReadXMLStream_PeakMemory(benchmark::State& state) {
  const std::string& doc = DocumentText();
  double overDoc = 0;
  for (auto _ : state) {
    std::istringstream in(doc);
    vorn::TRLData data(nullptr);
    const std::int64_t before = gHeapNow.load();
    gHeapPeak = before;
    if (!data.ReadFromXMLStream(in, "bench")) state.SkipWithError("read failed");
    const std::int64_t table = gHeapNow.load() - before;
    overDoc = static_cast<double>(gHeapPeak.load() - before - table) / static_cast<double>(doc.size());
    state.counters["table_MB"] = static_cast<double>(table) / 1e6;
  }
  state.counters["doc_MB"] = static_cast<double>(doc.size()) / 1e6;
  state.counters["peak_beyond_table_per_doc_byte"] = overDoc;
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(doc.size()));
}
BENCHMARK(BM_ReadXMLStream_PeakMemory)->Unit(benchmark::kMillisecond);

void BM_WriteXML(benchmark::State& state) {
  const vorn::TRLData& table = Table();
  std::int64_t bytes = 0;
  for (auto _ : state) {
    TNullBuf sink;
    std::ostream out(&sink);
    table.WriteToXMLStream(out, true, "bench");
    bytes += sink.Bytes;
  }
  state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_WriteXML)->Unit(benchmark::kMillisecond);

void BM_ClipboardTabs(benchmark::State& state) {
  vorn::TRLData& table = Table();
  for (auto _ : state) table.CopyToClipBoard(1, 1, kCols, kRows, true, true);
}
BENCHMARK(BM_ClipboardTabs)->Unit(benchmark::kMillisecond);

void BM_ClipboardPadded(benchmark::State& state) {
  vorn::TRLData& table = Table();
  for (auto _ : state) table.CopyToClipBoard(1, 1, kCols, kRows, true, false);
}
BENCHMARK(BM_ClipboardPadded)->Unit(benchmark::kMillisecond);

void BM_Sort(benchmark::State& state) {
  vorn::TRLData& table = Table();
  for (auto _ : state) {
    table.Sort(1, -1, true);
    state.PauseTiming();
    table.UnSort();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Sort)->Unit(benchmark::kMillisecond);

void BM_UnSort(benchmark::State& state) {
  vorn::TRLData& table = Table();
  for (auto _ : state) {
    state.PauseTiming();
    table.Sort(1, -1, true);
    state.ResumeTiming();
    table.UnSort();
  }
}
BENCHMARK(BM_UnSort)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

VORN_RATIO("TRLData read / pugixml parse of the same bytes", "BM_ReadXML", "BM_PugixmlParse", 2.5);
