// Painting of the analog meter at its default 297 x 209 against a FillRect
// of the same area: a paint from scratch, and the repaint after a change
// of Value (the kept dial restored under the old and the new needle), for
// the default meter and for a logarithmic one with sections and both lamps.
#include <benchmark/benchmark.h>

#include "bench/support/ratio.h"
#include "vorn/gauges/meter.h"
#include "vorn/platform/graphics/bitmap.h"

namespace {

using namespace vorn;

constexpr int kW = 297, kH = 209;

void BM_FillRect_297x209(benchmark::State& state) {
  TBitmap bmp(kW, kH);
  TCanvas& c = *bmp.Canvas();
  int i = 0;
  for (auto _ : state) {
    c.Brush()->SetColor((++i & 1) ? 0xC0C0C0 : 0xC0C0C1);
    c.FillRect(Rect(0, 0, kW, kH));
    benchmark::DoNotOptimize(bmp.ScanLine(0));
  }
}
BENCHMARK(BM_FillRect_297x209);

// The logarithmic meter: 1..1000 with sections, both lamps shown and the
// high one lit.
void MakeLog(TMeter& M) {
  M.SetMeterMaxValue(1000);
  M.SetMeterMinValue(1);
  M.SetLogarithmic(true);
  M.SetMeterDecPlaces(0);
  M.SetThresholdLow(3);
  M.SetThresholdHigh(300);
  M.SetScaleBkVisible(true);
  M.SetScaleBkWidth(8);
  M.SetValue(500);
}

void FullPaint(benchmark::State& state, bool Log) {
  TMeter meter(nullptr);
  if (Log) MakeLog(meter);
  meter.SetValue(Log ? 500 : 0.5);
  TBitmap bmp(kW, kH);
  for (auto _ : state) {
    meter.PaintTo(*bmp.Canvas());
    benchmark::DoNotOptimize(bmp.ScanLine(0));
  }
}

// A live value moving by a small step each time, as a measured signal does.
void ValueChange(benchmark::State& state, bool Log) {
  TMeter meter(nullptr);
  if (Log) MakeLog(meter);
  const double a = Log ? 500 : 0.50, b = Log ? 520 : 0.52;
  meter.Picture();
  int i = 0;
  for (auto _ : state) {
    meter.SetValue((++i & 1) ? a : b);
    benchmark::DoNotOptimize(meter.Picture());
  }
}

void BM_Meter_FullPaint(benchmark::State& state) { FullPaint(state, false); }
BENCHMARK(BM_Meter_FullPaint);
void BM_Meter_ValueChange(benchmark::State& state) { ValueChange(state, false); }
BENCHMARK(BM_Meter_ValueChange);
void BM_MeterLog_FullPaint(benchmark::State& state) { FullPaint(state, true); }
BENCHMARK(BM_MeterLog_FullPaint);
void BM_MeterLog_ValueChange(benchmark::State& state) { ValueChange(state, true); }
BENCHMARK(BM_MeterLog_ValueChange);

}  // namespace

VORN_RATIO("Meter full paint 297x209 / FillRect", "BM_Meter_FullPaint", "BM_FillRect_297x209");
VORN_RATIO("Meter value change 297x209 / FillRect", "BM_Meter_ValueChange", "BM_FillRect_297x209");
VORN_RATIO("Log meter full paint 297x209 / FillRect", "BM_MeterLog_FullPaint", "BM_FillRect_297x209");
VORN_RATIO("Log meter value change 297x209 / FillRect", "BM_MeterLog_ValueChange", "BM_FillRect_297x209");
