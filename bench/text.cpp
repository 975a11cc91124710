// Text drawing: the engine with a warm glyph cache against rendering the
// same string straight through FreeType for every call.
#include <benchmark/benchmark.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>
#include <vector>

#include "bench/support/ratio.h"
#include "vorn/platform/graphics/fontengine.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 32;
constexpr vorn::TPixel kColor = 0x202020;
const std::string kText = "Pressure 1013.25 hPa";  // 20 characters

vorn::TFontSpec BenchSpec() {
  vorn::TFontSpec spec;
  spec.Name = "Arial";
  spec.Height = -11;
  return spec;
}

struct TTarget {
  std::vector<vorn::TPixel> Pixels = std::vector<vorn::TPixel>(kWidth * kHeight, 0xFFFFFF);
  vorn::TSurface Surface{Pixels.data(), kWidth, kHeight, kWidth};
};

void BM_DrawTextWarmCache(benchmark::State& state) {
  TTarget target;
  auto font = vorn::AcquireFont(BenchSpec());
  const vorn::TRect clip = target.Surface.BoundsRect();
  font->DrawText(target.Surface, clip, 2, 2, kText, kColor);  // fills the cache
  for (auto _ : state) {
    font->DrawText(target.Surface, clip, 2, 2, kText, kColor);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kText.size()));
}
BENCHMARK(BM_DrawTextWarmCache);

void BM_TextExtentWarmCache(benchmark::State& state) {
  auto font = vorn::AcquireFont(BenchSpec());
  for (auto _ : state) benchmark::DoNotOptimize(font->TextExtent(kText));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kText.size()));
}
BENCHMARK(BM_TextExtentWarmCache);

std::uint32_t BlendChannel(std::uint32_t dst, std::uint32_t src, std::uint32_t a) {
  return (dst * (255 - a) + src * a + 127) / 255;
}

void BlendGray(const FT_Bitmap& bitmap, TTarget& target, int left, int top) {
  for (unsigned y = 0; y < bitmap.rows; ++y) {
    const int py = top + static_cast<int>(y);
    if (py < 0 || py >= kHeight) continue;
    const unsigned char* row = bitmap.buffer + y * bitmap.pitch;
    for (unsigned x = 0; x < bitmap.width; ++x) {
      const int px = left + static_cast<int>(x);
      if (px < 0 || px >= kWidth || row[x] == 0) continue;
      vorn::TPixel& pixel = target.Pixels[py * kWidth + px];
      vorn::TPixel result = 0;
      for (int shift = 0; shift < 24; shift += 8) {
        result |= BlendChannel((pixel >> shift) & 0xFF, (kColor >> shift) & 0xFF, row[x]) << shift;
      }
      pixel = result;
    }
  }
}

// What every call would cost without the cache: load, hint and render each
// glyph with FreeType, then blend it in the same way.
void BM_DrawTextFreeTypeUncached(benchmark::State& state) {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  if (FT_Init_FreeType(&library) != 0 ||
      FT_New_Face(library, "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf", 0,
                  &face) != 0) {
    state.SkipWithError("Liberation Sans not found");
    if (library != nullptr) FT_Done_FreeType(library);
    return;
  }
  FT_Set_Pixel_Sizes(face, 0, 11);
  TTarget target;
  const int baseline = 2 + 10;
  for (auto _ : state) {
    int pen = 2;
    for (const char ch : kText) {
      if (FT_Load_Char(face, static_cast<unsigned char>(ch), FT_LOAD_RENDER) != 0) continue;
      const FT_GlyphSlot slot = face->glyph;
      BlendGray(slot->bitmap, target, pen + slot->bitmap_left, baseline - slot->bitmap_top);
      pen += static_cast<int>((slot->advance.x + 32) >> 6);
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kText.size()));
  FT_Done_Face(face);
  FT_Done_FreeType(library);
}
BENCHMARK(BM_DrawTextFreeTypeUncached);

// The cache should make drawing at least five times faster.
VORN_RATIO("DrawText warm cache / FreeType uncached", "BM_DrawTextWarmCache",
           "BM_DrawTextFreeTypeUncached", 0.2);

}  // namespace
