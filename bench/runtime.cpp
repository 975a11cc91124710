// Input dispatch and repaint costs of a form with 50 controls.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/support/ratio.h"
#include "vorn/platform/controls/forms.h"
#include "vorn/platform/hosts/headless.h"

namespace {

using namespace vorn;

class Cell : public TCustomControl {
 public:
  explicit Cell(TComponent* owner) : TCustomControl(owner) { FControlStyle.Include(csOpaque); }
  int moves = 0;
  void MouseMove(TShiftState, int, int) override { ++moves; }
  void Paint() override {
    Canvas()->Brush()->SetColor(clSilver);
    Canvas()->FillRect(ClientRect());
    Canvas()->Pen()->SetColor(clBlack);
    Canvas()->Rectangle(0, 0, Width(), Height());
  }
};

struct Fixture {
  TForm form{nullptr};
  std::vector<Cell*> cells;
  Fixture() {
    form.SetBounds(0, 0, 800, 600);
    for (int i = 0; i < 50; ++i) {
      auto* c = new Cell(&form);
      c->SetParent(&form);
      c->SetBounds((i % 10) * 80, (i / 10) * 60, 76, 56);
      cells.push_back(c);
    }
    form.Show();
    HeadlessHost().ProcessMessages();
  }
};

void BM_DispatchMouseMoves(benchmark::State& state) {
  Fixture f;
  int x = 0;
  for (auto _ : state) {
    // Moves within one control, as a drag does.
    f.form.InputMouseMove({}, 10 + (x++ & 31), 10);
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["moves/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DispatchMouseMoves)->Iterations(1000000);

void BM_RepaintOneOfFifty(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) {
    f.cells[17]->Invalidate();
    f.form.PaintDirty();
  }
}
BENCHMARK(BM_RepaintOneOfFifty);

void BM_RepaintWholeForm(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) {
    f.form.Invalidate();
    f.form.PaintDirty();
  }
}
BENCHMARK(BM_RepaintWholeForm);

}  // namespace

VORN_RATIO("repaint one control / whole form of 50", "BM_RepaintOneOfFifty", "BM_RepaintWholeForm");
