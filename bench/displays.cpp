// Labels and displays: one paint of each, compared with one FillRect of
// the same area in the same run; the seven-segment glyph cache rebuilt
// after a resize.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/support/ratio.h"
#include "vorn/displays/gradfl.h"
#include "vorn/displays/numlab.h"
#include "vorn/displays/rasterlab.h"
#include "vorn/displays/sevenseg.h"
#include "vorn/platform/graphics/bitmap.h"
#include "vorn/platform/hosts/headless.h"

namespace {

// A control of type T at W x H on a shown form.
template <typename T>
struct TShown {
  TShown(int W, int H) {
    Form = std::make_unique<vorn::TForm>(nullptr);
    Form->SetBounds(0, 0, W + 20, H + 20);
    Control = new T(Form.get());
    Control->SetParent(Form.get());
    Control->SetBounds(0, 0, W, H);
    Form->Show();
  }
  std::unique_ptr<vorn::TForm> Form;
  T* Control = nullptr;
};

void FillArea(benchmark::State& state, int W, int H) {
  vorn::TBitmap bmp(W, H);
  auto* c = bmp.Canvas();
  int v = 0;
  for (auto _ : state) {
    c->Brush()->SetColor(vorn::RGB(++v & 0xFF, 0, 0));
    c->FillRect(vorn::Rect(0, 0, W, H));
    benchmark::DoNotOptimize(bmp.ScanLine(0));
    benchmark::ClobberMemory();
  }
}

void BM_FillRect_216x76(benchmark::State& state) { FillArea(state, 216, 76); }
BENCHMARK(BM_FillRect_216x76)->Unit(benchmark::kMicrosecond);
void BM_FillRect_160x28(benchmark::State& state) { FillArea(state, 160, 28); }
BENCHMARK(BM_FillRect_160x28)->Unit(benchmark::kMicrosecond);
void BM_FillRect_121x121(benchmark::State& state) { FillArea(state, 121, 121); }
BENCHMARK(BM_FillRect_121x121)->Unit(benchmark::kMicrosecond);

void BM_SevenSeg_Paint(benchmark::State& state) {
  TShown<vorn::TSevenSeg> shown(216, 76);
  shown.Control->SetCaption("8.8.8.8.");
  for (auto _ : state) {
    shown.Control->Paint();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SevenSeg_Paint)->Unit(benchmark::kMicrosecond);

// The same without a frame: what the display itself costs, apart from the
// canvas's line drawing of the frame.
void BM_SevenSeg_PaintNoFrame(benchmark::State& state) {
  TShown<vorn::TSevenSeg> shown(216, 76);
  shown.Control->SetFrameStyle(vorn::fsNone);
  for (auto _ : state) {
    shown.Control->Paint();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SevenSeg_PaintNoFrame)->Unit(benchmark::kMicrosecond);

// Alternating between two sizes rebuilds the 21 scaled glyphs each time.
void BM_SevenSeg_ResizeRebuild(benchmark::State& state) {
  TShown<vorn::TSevenSeg> shown(216, 76);
  bool wide = false;
  for (auto _ : state) {
    shown.Control->SetBounds(0, 0, wide ? 216 : 217, 76);
    wide = !wide;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SevenSeg_ResizeRebuild)->Unit(benchmark::kMicrosecond);

void BM_NumLab_Paint(benchmark::State& state) {
  TShown<vorn::TNumLab> shown(160, 28);
  shown.Control->SetValue(3.14159);
  for (auto _ : state) {
    shown.Control->Paint();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_NumLab_Paint)->Unit(benchmark::kMicrosecond);

void BM_FillRect_400x68(benchmark::State& state) { FillArea(state, 400, 68); }
BENCHMARK(BM_FillRect_400x68)->Unit(benchmark::kMicrosecond);

void BM_RasterLab_Paint(benchmark::State& state) {
  TShown<vorn::TRasterLab> shown(400, 68);
  shown.Control->SetText("Dot matrix 0123456789");
  for (auto _ : state) {
    shown.Control->Paint();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RasterLab_Paint)->Unit(benchmark::kMicrosecond);

// One timer step of a scrolling display: the shift moves and it repaints.
void BM_RasterLab_ScrollStep(benchmark::State& state) {
  TShown<vorn::TRasterLab> shown(400, 68);
  shown.Control->SetText("Dot matrix 0123456789");
  shown.Control->SetScrollInterval(10);
  shown.Control->SetScrollMode(vorn::rdsmLeft);
  auto& host = vorn::HeadlessHost();
  for (auto _ : state) {
    host.Advance(10);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RasterLab_ScrollStep)->Unit(benchmark::kMicrosecond);

void BM_GradFill_Paint(benchmark::State& state) {
  TShown<vorn::TGradFill> shown(121, 121);
  for (auto _ : state) {
    shown.Control->Paint();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_GradFill_Paint)->Unit(benchmark::kMicrosecond);

VORN_RATIO("seven-segment paint / FillRect 216x76", "BM_SevenSeg_Paint", "BM_FillRect_216x76");
VORN_RATIO("seven-segment paint without frame / FillRect 216x76", "BM_SevenSeg_PaintNoFrame", "BM_FillRect_216x76");
VORN_RATIO("seven-segment cache rebuild / FillRect 216x76", "BM_SevenSeg_ResizeRebuild", "BM_FillRect_216x76");
VORN_RATIO("numeric label paint / FillRect 160x28", "BM_NumLab_Paint", "BM_FillRect_160x28");
VORN_RATIO("dot-matrix paint / FillRect 400x68", "BM_RasterLab_Paint", "BM_FillRect_400x68");
VORN_RATIO("dot-matrix scroll step / dot-matrix paint", "BM_RasterLab_ScrollStep", "BM_RasterLab_Paint", 1.0);
VORN_RATIO("gradient paint / FillRect 121x121", "BM_GradFill_Paint", "BM_FillRect_121x121");

}  // namespace
