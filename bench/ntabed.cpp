// Table editor over 1000 x 1000 cells: painting an 800x600 editor against
// one over 10 x 10 cells (both with cells sized so that about ten columns
// and ten rows are visible, so the two draw the same number of cells),
// Extract from Clipboard of 10 MB of number text against strtod over the
// same text, Copy of the whole table to clipboard text, and the bulk
// marking operations.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "bench/support/ratio.h"
#include "vorn/ntabed/ntabed.h"
#include "vorn/platform/hosts/headless.h"

namespace {

constexpr int kBig = 1000;

struct TShownEditor {
  explicit TShownEditor(int Size) {
    Form = std::make_unique<vorn::TForm>(nullptr);
    Form->SetBounds(0, 0, 820, 620);
    Editor = new vorn::TNTabEd(Form.get());
    Editor->SetParent(Form.get());
    Editor->SetBounds(0, 0, 800, 600);
    Form->Show();
    Editor->SetSuppressPaint(true);
    Editor->Redimension(Size, Size);
    // About ten columns and ten rows fill 800 x 600.
    Editor->SetDefaultColWidth(66);
    Editor->SetDefaultRowHeight(55);
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    std::uniform_int_distribution<int> exponent(-6, 7);
    for (int r = 1; r <= Size; ++r) {
      for (int c = 1; c <= Size; ++c) Editor->Data()->DataMat().SetElem(c, r, mantissa(rng) * std::pow(10.0, exponent(rng)));
    }
    for (int c = 1; c <= Size; ++c) Editor->SetPrecision(c, c % 6);
    Editor->SetSuppressPaint(false);
  }
  std::unique_ptr<vorn::TForm> Form;
  vorn::TNTabEd* Editor = nullptr;
};

TShownEditor& Shown(int Size) {
  // Kept to the end of the program: the host they sit on outlives them.
  static auto* editors = new std::map<int, std::unique_ptr<TShownEditor>>;
  auto& e = (*editors)[Size];
  if (!e) e = std::make_unique<TShownEditor>(Size);
  return *e;
}

// ---- painting ---------------------------------------------------------------------------------

void PaintLoop(benchmark::State& state, int Size) {
  vorn::TNTabEd& ed = *Shown(Size).Editor;
  ed.SetTopRow(Size / 2);
  ed.SetLeftCol(Size / 2);
  for (auto _ : state) {
    ed.Paint();
    benchmark::ClobberMemory();
  }
}

void BM_Paint_1000x1000(benchmark::State& state) { PaintLoop(state, kBig); }
void BM_Paint_10x10(benchmark::State& state) { PaintLoop(state, 10); }
BENCHMARK(BM_Paint_10x10)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Paint_1000x1000)->Unit(benchmark::kMicrosecond);
VORN_RATIO("paint 800x600, 1000 x 1000 cells / 10 x 10 cells", "BM_Paint_1000x1000", "BM_Paint_10x10", 1.1);

// ---- Extract from Clipboard ------------------------------------------------------------------------

// About 10 MB: rows of 1000 numbers of varied length, tab-separated.
const std::string& NumberText() {
  static const std::string text = [] {
    std::string t;
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> value(-1e6, 1e6);
    char buf[40];
    for (int r = 0; t.size() < 10'000'000; ++r) {
      for (int c = 0; c < kBig; ++c) {
        std::snprintf(buf, sizeof buf, c % 3 == 0 ? "%.6g" : "%.4f", value(rng));
        if (c > 0) t += '\t';
        t += buf;
      }
      t += "\r\n";
    }
    return t;
  }();
  return text;
}

void BM_ExtractFromClipboard_10MB(benchmark::State& state) {
  vorn::TNTabEd& ed = *Shown(kBig).Editor;
  const std::string& text = NumberText();
  vorn::HeadlessHost().SetClipboardText(text);
  for (auto _ : state) {
    ed.SetSelection({ed.ColOffset() + 1, ed.RowOffset() + 1, ed.ColOffset() + 1, ed.RowOffset() + 1});
    ed.PopupMenuClickExtClip(nullptr);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

void BM_StrtodSameText_10MB(benchmark::State& state) {
  const std::string& text = NumberText();
  for (auto _ : state) {
    const char* p = text.c_str();
    double sum = 0;
    for (;;) {
      char* end = nullptr;
      const double v = std::strtod(p, &end);
      if (end == p) break;
      sum += v;
      p = end;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_StrtodSameText_10MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractFromClipboard_10MB)->Unit(benchmark::kMillisecond);
VORN_RATIO("Extract from Clipboard 10 MB / strtod over the same text", "BM_ExtractFromClipboard_10MB",
           "BM_StrtodSameText_10MB", 2.0);

// ---- Copy ------------------------------------------------------------------------------------------

void CopyLoop(benchmark::State& state, bool FullPrecision) {
  vorn::TNTabEd& ed = *Shown(kBig).Editor;
  ed.SetClipboardUseFullPrec(FullPrecision);
  ed.SetSelection({ed.ColOffset() + 1, ed.RowOffset() + 1, ed.ColOffset() + kBig, ed.RowOffset() + kBig});
  std::size_t bytes = 0;
  for (auto _ : state) {
    ed.PopupMenuClickCopy(nullptr);
    bytes = vorn::Clipboard()->AsText().size();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_Copy_1000x1000_FullPrecision(benchmark::State& state) { CopyLoop(state, true); }
void BM_Copy_1000x1000_ColumnPrecision(benchmark::State& state) { CopyLoop(state, false); }
BENCHMARK(BM_Copy_1000x1000_FullPrecision)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Copy_1000x1000_ColumnPrecision)->Unit(benchmark::kMillisecond);

// ---- bulk marking ------------------------------------------------------------------------------------

void BM_MarkAllElemsA_UnMarkAllElems_1000x1000(benchmark::State& state) {
  vorn::TNTabEd& ed = *Shown(kBig).Editor;
  for (auto _ : state) {
    ed.MarkAllElemsA();
    ed.UnMarkAllElems();
  }
}

void BM_InvertCellStates_1000x1000(benchmark::State& state) {
  vorn::TNTabEd& ed = *Shown(kBig).Editor;
  for (auto _ : state) ed.InvertCellStates(vorn::dtsMarkB);
}

void BM_FillMarkedCells_1000x1000(benchmark::State& state) {
  vorn::TNTabEd& ed = *Shown(kBig).Editor;
  ed.SetElemMarkedA(3, 3, true);
  for (auto _ : state) benchmark::DoNotOptimize(ed.FillMarkedCells(1.5, vorn::dtsMarkA));
}
BENCHMARK(BM_MarkAllElemsA_UnMarkAllElems_1000x1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InvertCellStates_1000x1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillMarkedCells_1000x1000)->Unit(benchmark::kMillisecond);

}  // namespace
