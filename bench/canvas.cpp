// Canvas throughput against plain memory operations on the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "vorn/platform/graphics/bitmap.h"

namespace {

constexpr int kW = 1920;
constexpr int kH = 1080;

void BM_Memset_FullHD(benchmark::State& state) {
  std::vector<std::uint32_t> buf(static_cast<std::size_t>(kW) * kH);
  int v = 0;
  for (auto _ : state) {
    std::memset(buf.data(), ++v & 0xFF, buf.size() * sizeof(std::uint32_t));
    benchmark::DoNotOptimize(buf.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(buf.size() * 4));
}
BENCHMARK(BM_Memset_FullHD);

void BM_FillRect_FullHD(benchmark::State& state) {
  vorn::TBitmap bmp(kW, kH);
  auto* c = bmp.Canvas();
  int v = 0;
  for (auto _ : state) {
    c->Brush()->SetColor(vorn::RGB(++v & 0xFF, 0, 0));
    c->FillRect(vorn::Rect(0, 0, kW, kH));
    benchmark::DoNotOptimize(bmp.ScanLine(0));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kW) * kH * 4);
}
BENCHMARK(BM_FillRect_FullHD);

void BM_Memcpy_FullHD(benchmark::State& state) {
  std::vector<std::uint32_t> a(static_cast<std::size_t>(kW) * kH, 1), b(a.size(), 2);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), a.size() * sizeof(std::uint32_t));
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(a.size() * 4));
}
BENCHMARK(BM_Memcpy_FullHD);

void BM_Draw_FullHD(benchmark::State& state) {
  vorn::TBitmap src(kW, kH), dst(kW, kH);
  for (auto _ : state) {
    dst.Canvas()->Draw(0, 0, &src);
    benchmark::DoNotOptimize(dst.ScanLine(0));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kW) * kH * 4);
}
BENCHMARK(BM_Draw_FullHD);

void BM_CopyRect_FullHD(benchmark::State& state) {
  vorn::TBitmap src(kW, kH), dst(kW, kH);
  const vorn::TRect r = vorn::Rect(0, 0, kW, kH);
  for (auto _ : state) {
    dst.Canvas()->CopyRect(r, src.Canvas(), r);
    benchmark::DoNotOptimize(dst.ScanLine(0));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kW) * kH * 4);
}
BENCHMARK(BM_CopyRect_FullHD);

// 1000 random one-pixel lines of length 100 per iteration.
void BM_RandomLines(benchmark::State& state) {
  vorn::TBitmap bmp(1024, 768);
  std::mt19937 rng(42);
  std::uniform_real_distribution<double> angle(0, 6.283185307179586);
  std::uniform_int_distribution<int> px(100, 923), py(100, 667);
  struct Line { int x0, y0, x1, y1; };
  std::vector<Line> lines;
  for (int i = 0; i < 1000; ++i) {
    const double a = angle(rng);
    const int x = px(rng), y = py(rng);
    lines.push_back({x, y, x + static_cast<int>(100 * std::cos(a)), y + static_cast<int>(100 * std::sin(a))});
  }
  auto* c = bmp.Canvas();
  for (auto _ : state) {
    for (const Line& l : lines) {
      c->MoveTo(l.x0, l.y0);
      c->LineTo(l.x1, l.y1);
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 1000);
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * 1000,
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RandomLines);

}  // namespace

#include "bench/support/ratio.h"
VORN_RATIO("FillRect 1920x1080 / memset", "BM_FillRect_FullHD", "BM_Memset_FullHD", 1.3);
VORN_RATIO("Draw 1920x1080 / memcpy", "BM_Draw_FullHD", "BM_Memcpy_FullHD", 1.3);
VORN_RATIO("CopyRect 1920x1080 / memcpy", "BM_CopyRect_FullHD", "BM_Memcpy_FullHD", 1.3);
