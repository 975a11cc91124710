// Painting of the gauges against a FillRect of the same area: the progress
// bar at its default 300 x 28 (plain and as a gradient), an on/off button
// and the mark selector, each drawn into an off-screen bitmap as Paint does.
#include <benchmark/benchmark.h>

#include "bench/support/ratio.h"
#include "vorn/gauges/marksel.h"
#include "vorn/gauges/onoffbut.h"
#include "vorn/gauges/progbar.h"
#include "vorn/platform/graphics/bitmap.h"

namespace {

using namespace vorn;

void FillArea(benchmark::State& state, int W, int H) {
  TBitmap bmp(W, H);
  TCanvas& c = *bmp.Canvas();
  int i = 0;
  for (auto _ : state) {
    c.Brush()->SetColor((++i & 1) ? 0xC0C0C0 : 0xC0C0C1);
    c.FillRect(Rect(0, 0, W, H));
    benchmark::DoNotOptimize(bmp.ScanLine(0));
  }
}

void BM_FillRect_300x28(benchmark::State& state) { FillArea(state, 300, 28); }
BENCHMARK(BM_FillRect_300x28);

void PaintBar(benchmark::State& state, bool Gradient, bool Text = true) {
  TProgBar bar(nullptr);
  bar.SetShowColorGradient(Gradient);
  bar.SetTextVisible(Text);
  bar.SetValue(60);
  TBitmap bmp(bar.Width(), bar.Height());
  for (auto _ : state) {
    bar.PaintTo(*bmp.Canvas());
    benchmark::DoNotOptimize(bmp.ScanLine(0));
  }
}

void BM_ProgBar_Plain(benchmark::State& state) { PaintBar(state, false); }
BENCHMARK(BM_ProgBar_Plain);
void BM_ProgBar_Gradient(benchmark::State& state) { PaintBar(state, true); }
BENCHMARK(BM_ProgBar_Gradient);
void BM_ProgBar_PlainNoText(benchmark::State& state) { PaintBar(state, false, false); }
BENCHMARK(BM_ProgBar_PlainNoText);

void BM_FillRect_100x50(benchmark::State& state) { FillArea(state, 100, 50); }
BENCHMARK(BM_FillRect_100x50);

void BM_OnOffBut(benchmark::State& state) {
  TOnOffBut but(nullptr);
  TBitmap image(but.Width(), but.Height()), mask(but.Width(), but.Height());
  for (auto _ : state) {
    but.PaintTo(image, mask);
    benchmark::DoNotOptimize(image.ScanLine(0));
  }
}
BENCHMARK(BM_OnOffBut);

void BM_FillRect_236x178(benchmark::State& state) { FillArea(state, 236, 178); }
BENCHMARK(BM_FillRect_236x178);

void BM_MarkSel(benchmark::State& state) {
  TMarkSel sel(nullptr);
  sel.SetSelected(12);
  TBitmap bmp(sel.Width(), sel.Height());
  for (auto _ : state) {
    sel.DrawMarks(bmp);
    benchmark::DoNotOptimize(bmp.ScanLine(0));
  }
}
BENCHMARK(BM_MarkSel);

}  // namespace

VORN_RATIO("ProgBar plain 300x28 / FillRect", "BM_ProgBar_Plain", "BM_FillRect_300x28");
VORN_RATIO("ProgBar gradient 300x28 / FillRect", "BM_ProgBar_Gradient", "BM_FillRect_300x28");
VORN_RATIO("OnOffBut 100x50 / FillRect", "BM_OnOffBut", "BM_FillRect_100x50");
VORN_RATIO("MarkSel 236x178 / FillRect", "BM_MarkSel", "BM_FillRect_236x178");
