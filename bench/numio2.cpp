// The numeric input field: one full paint of a default field, compared with
// one FillRect of the same area, and one validated keystroke with its
// repaint.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/support/ratio.h"
#include "vorn/numio/numio2.h"
#include "vorn/platform/graphics/bitmap.h"
#include "vorn/platform/hosts/headless.h"

namespace {

// A default field holding a number, on a shown form, with the focus.
struct TShownField {
  TShownField() {
    Form = std::make_unique<vorn::TForm>(nullptr);
    Form->SetBounds(0, 0, 200, 60);
    Field = new vorn::TNumIO2(Form.get());
    Field->SetParent(Form.get());
    Field->SetText("123.45");
    Form->Show();
    Field->SetFocus();
  }
  std::unique_ptr<vorn::TForm> Form;
  vorn::TNumIO2* Field = nullptr;
};

void BM_NumIO2_Paint(benchmark::State& state) {
  TShownField shown;
  for (auto _ : state) {
    shown.Field->Paint();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_NumIO2_Paint)->Unit(benchmark::kMicrosecond);

void BM_FillRect_FieldArea(benchmark::State& state) {
  vorn::TBitmap bmp(160, 28);
  auto* c = bmp.Canvas();
  int v = 0;
  for (auto _ : state) {
    c->Brush()->SetColor(vorn::RGB(++v & 0xFF, 0, 0));
    c->FillRect(vorn::Rect(0, 0, 160, 28));
    benchmark::DoNotOptimize(bmp.ScanLine(0));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FillRect_FieldArea)->Unit(benchmark::kMicrosecond);

// Alternately types a digit at the end and takes it back with Backspace:
// each is checked against the format and repaints the field.
void BM_NumIO2_Keystroke(benchmark::State& state) {
  TShownField shown;
  shown.Field->SetSelBegin(6);
  bool type = true;
  for (auto _ : state) {
    shown.Field->Perform(vorn::CN_KEYDOWN, type ? '7' : vorn::VK_BACK, 0);
    type = !type;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_NumIO2_Keystroke)->Unit(benchmark::kMicrosecond);

}  // namespace

VORN_RATIO("NumIO2 paint / FillRect of its area", "BM_NumIO2_Paint", "BM_FillRect_FieldArea");
VORN_RATIO("NumIO2 keystroke / paint", "BM_NumIO2_Keystroke", "BM_NumIO2_Paint");
