// Report list view over 1,000,000 x 5 cells: painting against a 100-row
// table (also with half of the rows hidden), a header-click sort against
// std::stable_sort of the same keys, FilterAndSort in each mode against a
// plain std::string_view::find loop over the same cells, a page of
// scrolling with half of the rows hidden against none hidden, and the
// bytes the view keeps per row with 10,000 rows hidden.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/support/ratio.h"
#include "vorn/platform/hosts/headless.h"
#include "vorn/replist/replistview.h"

namespace {

constexpr int kBig = 1000000;
constexpr int kCols = 5;

struct TShownView {
  explicit TShownView(int Rows) {
    Form = std::make_unique<vorn::TForm>(nullptr);
    Form->SetBounds(0, 0, 620, 420);
    View = new vorn::TReportListView(Form.get());
    View->SetParent(Form.get());
    View->SetBounds(0, 0, 600, 400);
    Form->Show();
    View->SetSuppressPaint(true);
    View->SetNrOfColumns(kCols);
    View->SetNrOfRows(Rows);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> letter('a', 'z');
    vorn::TStringArray& s = *View->Data()->Strings();
    for (int r = 1; r <= Rows; ++r) {
      for (int c = 1; c < kCols; ++c) {
        std::string cell(8, ' ');
        for (char& ch : cell) ch = static_cast<char>(letter(rng));
        s.SetString(c, r, cell);
      }
      s.SetString(kCols, r, r % 2 == 0 ? "even" : "odd");
    }
    View->SetSuppressPaint(false);
  }
  void HideHalf() const { View->FilterAndSort("even", {kCols}, false, vorn::fmSimple, 0, true); }
  std::unique_ptr<vorn::TForm> Form;
  vorn::TReportListView* View = nullptr;
};

TShownView& Shown(int Rows, bool HalfHidden) {
  // Kept to the end of the program: the host they sit on outlives them.
  static auto* views = new std::map<std::pair<int, bool>, std::unique_ptr<TShownView>>;
  auto& v = (*views)[{Rows, HalfHidden}];
  if (!v) {
    v = std::make_unique<TShownView>(Rows);
    if (HalfHidden) v->HideHalf();
  }
  return *v;
}

// ---- painting ---------------------------------------------------------------------------------

void PaintLoop(benchmark::State& state, int Rows, bool HalfHidden) {
  TShownView& shown = Shown(Rows, HalfHidden);
  shown.View->SetTopRow(Rows / 2);
  for (auto _ : state) {
    shown.View->Paint();
    benchmark::ClobberMemory();
  }
}

void BM_Paint_100Rows(benchmark::State& state) { PaintLoop(state, 100, false); }
void BM_Paint_1MRows(benchmark::State& state) { PaintLoop(state, kBig, false); }
void BM_Paint_1MRowsHalfHidden(benchmark::State& state) { PaintLoop(state, kBig, true); }
BENCHMARK(BM_Paint_100Rows)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Paint_1MRows)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Paint_1MRowsHalfHidden)->Unit(benchmark::kMicrosecond);
VORN_RATIO("paint 600x400, 1M rows / 100 rows", "BM_Paint_1MRows", "BM_Paint_100Rows", 1.1);
VORN_RATIO("paint 600x400, 1M rows half hidden / 100 rows", "BM_Paint_1MRowsHalfHidden", "BM_Paint_100Rows", 1.1);

// ---- sorting ----------------------------------------------------------------------------------

void BM_HeaderClickSort_1M(benchmark::State& state) {
  TShownView& shown = Shown(kBig, false);
  for (auto _ : state) {
    state.PauseTiming();
    shown.View->UnSort();
    state.ResumeTiming();
    shown.View->MouseDown(vorn::mbLeft, {}, 30, 10);  // the header of column 1
    shown.View->MouseUp(vorn::mbLeft, {}, 30, 10);
  }
  shown.View->UnSort();
}
BENCHMARK(BM_HeaderClickSort_1M)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_StableSortKeys_1M(benchmark::State& state) {
  TShownView& shown = Shown(kBig, false);
  std::vector<std::string> keys;
  keys.reserve(kBig);
  for (int r = 1; r <= kBig; ++r) keys.push_back(shown.View->Elem(1, r));
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::string> copy = keys;
    state.ResumeTiming();
    std::stable_sort(copy.begin(), copy.end(), std::greater<>());
    benchmark::DoNotOptimize(copy.data());
  }
}
BENCHMARK(BM_StableSortKeys_1M)->Unit(benchmark::kMillisecond)->Iterations(3);
VORN_RATIO("header-click sort 1M / std::stable_sort of the keys", "BM_HeaderClickSort_1M/iterations:3",
           "BM_StableSortKeys_1M/iterations:3", 1.5);

// ---- filtering ---------------------------------------------------------------------------------

void BM_FindLoop_1Mx5(benchmark::State& state) {
  TShownView& shown = Shown(kBig, false);
  const vorn::TStringArray& s = *shown.View->Data()->Strings();
  for (auto _ : state) {
    int found = 0;
    for (int r = 1; r <= kBig; ++r) {
      bool any = false;
      for (int c = 1; c <= kCols && !any; ++c) any = s.StringView(c, r).find("qzx") != std::string_view::npos;
      found += any ? 1 : 0;
    }
    benchmark::DoNotOptimize(found);
  }
  state.SetItemsProcessed(state.iterations() * kBig);
}
BENCHMARK(BM_FindLoop_1Mx5)->Unit(benchmark::kMillisecond);

void FilterLoop(benchmark::State& state, const std::string& Expression, vorn::TFilterMode Mode) {
  TShownView& shown = Shown(kBig, false);
  for (auto _ : state) shown.View->FilterAndSort(Expression, {}, false, Mode, 0, true);
  state.SetItemsProcessed(state.iterations() * kBig);
  shown.View->FilterAndSort("", {}, false, vorn::fmSimple, 0, true);
}

void BM_Filter_Simple_1Mx5(benchmark::State& state) { FilterLoop(state, "qzx", vorn::fmSimple); }
void BM_Filter_Boolean_1Mx5(benchmark::State& state) {
  FilterLoop(state, "qzx OR (abc AND NOT xyz)", vorn::fmBoolean);
}
void BM_Filter_GrepLiteralPrefix_1Mx5(benchmark::State& state) { FilterLoop(state, "qzx[a-m]+", vorn::fmGrep); }
BENCHMARK(BM_Filter_Simple_1Mx5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Filter_Boolean_1Mx5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Filter_GrepLiteralPrefix_1Mx5)->Unit(benchmark::kMillisecond);
VORN_RATIO("FilterAndSort fmSimple / find loop", "BM_Filter_Simple_1Mx5", "BM_FindLoop_1Mx5", 1.5);
VORN_RATIO("FilterAndSort fmBoolean / find loop", "BM_Filter_Boolean_1Mx5", "BM_FindLoop_1Mx5");
VORN_RATIO("FilterAndSort fmGrep (literal prefix) / find loop", "BM_Filter_GrepLiteralPrefix_1Mx5",
           "BM_FindLoop_1Mx5", 3.0);

// ---- scrolling -----------------------------------------------------------------------------------

void ScrollLoop(benchmark::State& state, bool HalfHidden) {
  TShownView& shown = Shown(kBig, HalfHidden);
  for (auto _ : state) {
    state.PauseTiming();
    shown.View->SetTopRow(kBig / 2);
    state.ResumeTiming();
    vorn::Word key = vorn::VK_NEXT;
    shown.View->KeyDown(key, {});
    shown.View->Paint();
    benchmark::ClobberMemory();
  }
}

void BM_PageDown_1M(benchmark::State& state) { ScrollLoop(state, false); }
void BM_PageDown_1MHalfHidden(benchmark::State& state) { ScrollLoop(state, true); }
BENCHMARK(BM_PageDown_1M)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageDown_1MHalfHidden)->Unit(benchmark::kMicrosecond);
VORN_RATIO("page down 1M rows, half hidden / none hidden", "BM_PageDown_1MHalfHidden", "BM_PageDown_1M", 2.0);

// ---- memory ---------------------------------------------------------------------------------------

void BM_ViewBytesPerRow_1M_10kHidden(benchmark::State& state) {
  TShownView& shown = Shown(kBig, false);
  shown.View->SetOnBeforeFilter([](vorn::TObject*, int Row, bool& Found, vorn::TLogicOp& Op) {
    Found = Row % 100 != 0;
    Op = vorn::loNone;
  });
  shown.View->FilterAndSort("", {}, false, vorn::fmSimple, 0, true);
  const double bytes = static_cast<double>(shown.View->SizeStorageBytes()) +
                       static_cast<double>(kCols) * (sizeof(int) + 3);  // order, alignment, flags
  for (auto _ : state) benchmark::DoNotOptimize(shown.View->NumShownRows());
  state.counters["hidden_rows"] = kBig - shown.View->NumShownRows();
  state.counters["view_bytes_per_row"] = bytes / kBig;
  shown.View->SetOnBeforeFilter(nullptr);
  shown.View->FilterAndSort("", {}, false, vorn::fmSimple, 0, true);
}
BENCHMARK(BM_ViewBytesPerRow_1M_10kHidden)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
