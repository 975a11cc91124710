// The section ring drawn with clipped pies and disk gives the pixels of the
// plain drawing (every pie whole, then the whole disk) for random rings,
// including rings beyond the canvas, sections in about one direction,
// ends at the centre, a narrowed canvas and dials that are not plain.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "vorn/gauges/meterring.h"
#include "vorn/platform/graphics/bitmap.h"

namespace vorn {
namespace {

void PlainRing(TCanvas& C, int CX, int CY, int Outer, int Inner, const std::vector<TRingSection>& Sections,
               TColor Dial) {
  for (const TRingSection& s : Sections) {
    C.Pen()->SetColor(s.Color);
    C.Brush()->SetColor(s.Color);
    C.Pie(CX - Outer, CY - Outer, CX + Outer + 1, CY + Outer, s.From.X, s.From.Y, s.To.X, s.To.Y);
  }
  C.Pen()->SetColor(Dial);
  C.Brush()->SetColor(Dial);
  C.Ellipse(CX - Inner, CY - Inner, CX + Inner + 1, CY + Inner);
}

std::string DescribeSections(const std::vector<TRingSection>& Sections) {
  std::string out;
  for (const TRingSection& s : Sections) {
    out += "[" + std::to_string(s.From.X) + "," + std::to_string(s.From.Y) + " -> " + std::to_string(s.To.X) + "," +
           std::to_string(s.To.Y) + "]";
  }
  return out;
}

TEST(MeterRingTest, ClippedRingEqualsThePlainDrawing) {
  std::mt19937 random(2026);
  const auto in = [&](int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(random); };
  const auto real = [&](double Lo, double Hi) { return std::uniform_real_distribution<double>(Lo, Hi)(random); };
  for (int round = 0; round < 2000; ++round) {
    const int w = in(20, 420), h = in(20, 320);
    // The dial's plain area: the whole canvas, or a part with other
    // pixels around it.
    const bool whole = in(0, 2) != 0;
    const TRect plain = whole ? TRect{0, 0, w, h} : TRect{in(0, w / 3), in(0, h / 3), in(w / 2, w), in(h / 2, h)};
    const TColor dial = static_cast<TColor>(in(0, 0xFFFFFF));
    const int outer = in(3, 320);
    const int inner = in(0, 10) == 0 ? in(0, outer + 10) : static_cast<int>(outer * real(0.5, 0.97));
    const int cx = in(-50, w + 50), cy = in(-50, h + 50);
    const double radius = outer - 4;
    std::vector<TRingSection> sections;
    double a = real(-2 * std::numbers::pi, 2 * std::numbers::pi);
    for (int i = in(1, 3); i > 0; --i) {
      const double b = a + (in(0, 8) == 0 ? real(0, 0.02) : real(0.01, 2.5));
      const auto at = [&](double t) {
        if (in(0, 30) == 0) return TPoint{cx, cy};
        return TPoint{static_cast<int>(std::lround(cx + std::cos(t) * radius)),
                      static_cast<int>(std::lround(cy - std::sin(t) * radius))};
      };
      sections.push_back({static_cast<TColor>(in(0, 0xFFFFFF)), at(a), at(b)});
      a = b;
    }
    TBitmap fast(w, h), slow(w, h);
    for (TBitmap* bmp : {&fast, &slow}) {
      TCanvas& c = *bmp->Canvas();
      c.Brush()->SetColor(0x123456);
      c.FillRect({0, 0, w, h});
      c.Brush()->SetColor(dial);
      c.FillRect(plain);
    }
    const bool narrowed = in(0, 3) == 0;
    const TRect clip{in(0, w / 2), in(0, h / 2), in(w / 2, w), in(h / 2, h)};
    if (narrowed) {
      fast.Canvas()->SetClipRect(clip);
      slow.Canvas()->SetClipRect(clip);
    }
    PaintSectionRing(*fast.Canvas(), cx, cy, outer, inner, sections, dial, plain);
    PlainRing(*slow.Canvas(), cx, cy, outer, inner, sections, dial);
    EXPECT_EQ(fast.Canvas()->ClipRect(), slow.Canvas()->ClipRect()) << round;
    for (int y = 0; y < h; ++y) {
      if (std::memcmp(fast.ScanLine(y), slow.ScanLine(y), sizeof(TPixel) * static_cast<std::size_t>(w)) != 0) {
        int x = 0;
        while (fast.ScanLine(y)[x] == slow.ScanLine(y)[x]) ++x;
        FAIL() << "round " << round << " differs at " << x << "," << y << " ring " << cx << "," << cy << " r "
               << outer << "/" << inner << " pixel " << std::hex << fast.ScanLine(y)[x] << " vs "
               << slow.ScanLine(y)[x] << std::dec << " " << DescribeSections(sections) << " plain " << plain.Left
               << "," << plain.Top << "," << plain.Right << "," << plain.Bottom << " narrowed " << narrowed;
      }
    }
  }
}

}  // namespace
}  // namespace vorn
