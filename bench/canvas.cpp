// Canvas throughput against plain memory operations on the same bytes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
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

// The figures and their baseline take a few microseconds each, where a
// single stall of a shared machine shows: their ratios use the median of
// three runs.
void Repeated(benchmark::internal::Benchmark* b) { b->Repetitions(3)->ReportAggregatesOnly(true); }

// Figures: a figure's cost follows its own pixels, not the surface's.
// Figure kinds: 0 ellipse, 1 pie, 2 round rectangle, 3 twenty-point star
// polygon (its points worked out before the timing starts).
std::vector<vorn::TPoint> StarPoints(const vorn::TRect& r) {
  std::vector<vorn::TPoint> pts(20);
  const double cx = (r.Left + r.Right) / 2.0, cy = (r.Top + r.Bottom) / 2.0;
  for (int i = 0; i < 20; ++i) {
    const double a = i * 6.283185307179586 / 20, k = (i % 2) ? 1.0 : 0.7;
    pts[static_cast<std::size_t>(i)] = {static_cast<int>(cx + k * r.Width() / 2 * std::cos(a)),
                                        static_cast<int>(cy + k * r.Height() / 2 * std::sin(a))};
  }
  return pts;
}

void DrawFigure(vorn::TCanvas* c, int kind, const vorn::TRect& r, const std::vector<vorn::TPoint>& star) {
  switch (kind) {
    case 0:
      c->Ellipse(r);
      break;
    case 1:
      c->Pie(r.Left, r.Top, r.Right, r.Bottom, r.Right, r.Top, r.Left, r.Bottom);
      break;
    case 2:
      c->RoundRect(r.Left, r.Top, r.Right, r.Bottom, r.Width() / 4, r.Height() / 4);
      break;
    default:
      c->Polygon(star);
  }
}

// A figure of fw x fh drawn filled and outlined on a w x h bitmap.
void BM_Figure(benchmark::State& state, int kind, int w, int h, int fw, int fh) {
  vorn::TBitmap bmp(w, h);
  auto* c = bmp.Canvas();
  c->Brush()->SetColor(vorn::RGB(40, 90, 200));
  c->Pen()->SetColor(vorn::RGB(200, 30, 30));
  const vorn::TRect r = vorn::Rect(10, 10, 10 + fw, 10 + fh);
  const std::vector<vorn::TPoint> star = StarPoints(r);
  for (auto _ : state) {
    DrawFigure(c, kind, r, star);
    benchmark::ClobberMemory();
  }
}
BENCHMARK_CAPTURE(BM_Figure, Ellipse10_Small, 0, 32, 32, 10, 10)->Apply(Repeated);
BENCHMARK_CAPTURE(BM_Figure, Ellipse10_FullHD, 0, kW, kH, 10, 10)->Apply(Repeated);
BENCHMARK_CAPTURE(BM_Figure, Ellipse200_FullHD, 0, kW, kH, 200, 150)->Apply(Repeated);
BENCHMARK_CAPTURE(BM_Figure, Pie10_Small, 1, 32, 32, 10, 10)->Apply(Repeated);
BENCHMARK_CAPTURE(BM_Figure, Pie10_FullHD, 1, kW, kH, 10, 10)->Apply(Repeated);
BENCHMARK_CAPTURE(BM_Figure, Pie200_FullHD, 1, kW, kH, 200, 150)->Apply(Repeated);
BENCHMARK_CAPTURE(BM_Figure, RoundRect10_Small, 2, 32, 32, 10, 10)->Apply(Repeated);
BENCHMARK_CAPTURE(BM_Figure, RoundRect10_FullHD, 2, kW, kH, 10, 10)->Apply(Repeated);
BENCHMARK_CAPTURE(BM_Figure, RoundRect200_FullHD, 2, kW, kH, 200, 150)->Apply(Repeated);
BENCHMARK_CAPTURE(BM_Figure, Polygon10_Small, 3, 32, 32, 10, 10)->Apply(Repeated);
BENCHMARK_CAPTURE(BM_Figure, Polygon10_FullHD, 3, kW, kH, 10, 10)->Apply(Repeated);
BENCHMARK_CAPTURE(BM_Figure, Polygon200_FullHD, 3, kW, kH, 200, 150)->Apply(Repeated);

// The baseline of a figure: FillRect of its box on the same surface.
void BM_FillBox200_FullHD(benchmark::State& state) {
  vorn::TBitmap bmp(kW, kH);
  auto* c = bmp.Canvas();
  c->Brush()->SetColor(vorn::RGB(40, 90, 200));
  for (auto _ : state) {
    c->FillRect(vorn::Rect(10, 10, 210, 160));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FillBox200_FullHD)->Apply(Repeated);

struct Line {
  int x0, y0, x1, y1;
};

// 1000 random lines of length 100 on a 1024x768 surface, fixed seed.
std::vector<Line> RandomLines() {
  std::mt19937 rng(42);
  std::uniform_real_distribution<double> angle(0, 6.283185307179586);
  std::uniform_int_distribution<int> px(100, 923), py(100, 667);
  std::vector<Line> lines;
  for (int i = 0; i < 1000; ++i) {
    const double a = angle(rng);
    const int x = px(rng), y = py(rng);
    lines.push_back({x, y, x + static_cast<int>(100 * std::cos(a)), y + static_cast<int>(100 * std::sin(a))});
  }
  return lines;
}

// 1000 random one-pixel lines of length 100 per iteration.
void BM_RandomLines(benchmark::State& state) {
  vorn::TBitmap bmp(1024, 768);
  const std::vector<Line> lines = RandomLines();
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

// The same pixels written by a plain Bresenham loop into a pixel array.
void BM_RandomLinesBresenham(benchmark::State& state) {
  constexpr int w = 1024;
  std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * 768);
  const std::vector<Line> lines = RandomLines();
  std::uint32_t colour = 0;
  for (auto _ : state) {
    ++colour;
    for (const Line& l : lines) {
      int x = l.x0, y = l.y0;
      const int dx = std::abs(l.x1 - l.x0), dy = -std::abs(l.y1 - l.y0);
      const int sx = l.x0 < l.x1 ? 1 : -1, sy = l.y0 < l.y1 ? 1 : -1;
      int err = dx + dy;
      while (x != l.x1 || y != l.y1) {
        px[static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)] = colour;
        const int e2 = 2 * err;
        if (e2 >= dy) {
          err += dy;
          x += sx;
        }
        if (e2 <= dx) {
          err += dx;
          y += sy;
        }
      }
    }
    benchmark::DoNotOptimize(px.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RandomLinesBresenham);

}  // namespace

#include "bench/support/ratio.h"
VORN_RATIO("FillRect 1920x1080 / memset", "BM_FillRect_FullHD", "BM_Memset_FullHD", 1.3);
VORN_RATIO("Draw 1920x1080 / memcpy", "BM_Draw_FullHD", "BM_Memcpy_FullHD", 1.3);
VORN_RATIO("CopyRect 1920x1080 / memcpy", "BM_CopyRect_FullHD", "BM_Memcpy_FullHD", 1.3);
VORN_RATIO("Ellipse 10x10 on 1920x1080 / on 32x32", "BM_Figure/Ellipse10_FullHD", "BM_Figure/Ellipse10_Small", 1.2);
VORN_RATIO("Ellipse 200x150 on 1920x1080 / FillRect of its box", "BM_Figure/Ellipse200_FullHD", "BM_FillBox200_FullHD", 4);
VORN_RATIO("Pie 10x10 on 1920x1080 / on 32x32", "BM_Figure/Pie10_FullHD", "BM_Figure/Pie10_Small", 1.2);
VORN_RATIO("Pie 200x150 on 1920x1080 / FillRect of its box", "BM_Figure/Pie200_FullHD", "BM_FillBox200_FullHD", 4);
VORN_RATIO("RoundRect 10x10 on 1920x1080 / on 32x32", "BM_Figure/RoundRect10_FullHD", "BM_Figure/RoundRect10_Small", 1.2);
VORN_RATIO("RoundRect 200x150 on 1920x1080 / FillRect of its box", "BM_Figure/RoundRect200_FullHD", "BM_FillBox200_FullHD", 4);
VORN_RATIO("Polygon(20) 10x10 on 1920x1080 / on 32x32", "BM_Figure/Polygon10_FullHD", "BM_Figure/Polygon10_Small", 1.2);
VORN_RATIO("Polygon(20) 200x150 on 1920x1080 / FillRect of its box", "BM_Figure/Polygon200_FullHD", "BM_FillBox200_FullHD", 4);
VORN_RATIO("1000 lines / plain Bresenham", "BM_RandomLines", "BM_RandomLinesBresenham", 2);
