// TSevenSeg: the caption walk over cells and points, the glyph cache and
// when it is rebuilt, the cell positions on the display and odd settings.
#include "vorn/displays/sevenseg.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "vorn/platform/graphics/bitmap.h"
#include "vorn/platform/hosts/headless.h"

namespace vorn {
namespace {

using TCell = TSevenSeg::TCell;
// Cache positions of some glyphs: "0123456789-+:°ABCDEF." order.
constexpr int kMinus = 10, kColon = 12, kDegree = 13, kA = 14;

class SevenSegTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 120);
    seg = new TSevenSeg(form.get());
    seg->SetParent(form.get());
    form->Show();
  }
  std::vector<TCell> CellsOf(const std::string& Caption) {
    seg->SetCaption(Caption);
    return seg->Cells();
  }
  // Pixels of the cache cell K with the background colour left out.
  int LitPixels(int K, int Y0, int Y1) const {
    const TBitmap& cache = seg->GlyphCache();
    const int cw = seg->CellWidth();
    int n = 0;
    for (int y = Y0; y < Y1; ++y)
      for (int x = cw * K; x < cw * (K + 1); ++x) n += cache.Canvas()->Pixels(x, y) != seg->ColorBackGnd();
    return n;
  }
  std::unique_ptr<TForm> form;
  TSevenSeg* seg = nullptr;
};

TEST_F(SevenSegTest, StartsWithTheDocumentedDefaults) {
  EXPECT_EQ(seg->Width(), 216);
  EXPECT_EQ(seg->Height(), 76);
  EXPECT_EQ(seg->Caption(), "8.8.8.8.");
  EXPECT_EQ(seg->ColorBackGnd(), 0x333333);
  EXPECT_EQ(seg->ColorText(), 0x0000FF);
  EXPECT_EQ(seg->NumDigits(), 4);
  EXPECT_EQ(seg->Margin(), 8);
  EXPECT_EQ(seg->InterDigDist(), 2);
  EXPECT_EQ(seg->FrameStyle(), fsLowered);
  // Cells of (216 - 16) / 4 - 2 = 48 pixels, a cache of 21 of them.
  EXPECT_EQ(seg->CellWidth(), 48);
  EXPECT_EQ(seg->GlyphCache().Width(), 21 * 48);
  EXPECT_EQ(seg->GlyphCache().Height(), 60);
}

TEST_F(SevenSegTest, CaptionWalkLightsPointsOfThePrecedingCell) {
  EXPECT_EQ(seg->Cells(), (std::vector<TCell>(4, TCell{8, true})));
  EXPECT_EQ(CellsOf("12:34"), (std::vector<TCell>{{1, false}, {2, false}, {kColon, false}, {3, false}}));
  EXPECT_EQ(CellsOf("-1.5"), (std::vector<TCell>{{kMinus, false}, {1, true}, {5, false}}));
  EXPECT_EQ(CellsOf(".5"), (std::vector<TCell>{{-1, true}, {5, false}}));
  EXPECT_EQ(CellsOf("1,5"), CellsOf("1.5"));
  EXPECT_EQ(CellsOf("abc"), (std::vector<TCell>{{kA, false}, {kA + 1, false}, {kA + 2, false}}));
  EXPECT_EQ(CellsOf("X9"), (std::vector<TCell>{{-1, false}, {9, false}}));
  EXPECT_EQ(CellsOf("..1"), (std::vector<TCell>{{-1, true}, {-1, true}, {1, false}}));
  EXPECT_EQ(CellsOf("25\xC2\xB0"), (std::vector<TCell>{{2, false}, {5, false}, {kDegree, false}}));
  EXPECT_TRUE(CellsOf("").empty());
  EXPECT_EQ(CellsOf(std::string(100000, '7')).size(), 4u);
}

TEST_F(SevenSegTest, GlyphsLightTheirSegments) {
  const int h = seg->GlyphCache().Height();
  // "-" lights the middle only: nothing in the top and bottom quarters.
  EXPECT_EQ(LitPixels(kMinus, 0, h / 4), 0);
  EXPECT_EQ(LitPixels(kMinus, h * 3 / 4, h), 0);
  EXPECT_GT(LitPixels(kMinus, h * 2 / 5, h * 3 / 5), 0);
  // "8" covers everything "1" covers and more.
  EXPECT_GT(LitPixels(8, 0, h), 2 * LitPixels(1, 0, h));
  // The point cell is lit in its lower right corner only.
  EXPECT_EQ(LitPixels(20, 0, h * 5 / 6), 0);
  EXPECT_GT(LitPixels(20, h * 5 / 6, h), 0);
}

TEST_F(SevenSegTest, WhiteSegmentsAreDrawnOffWhite) {
  seg->SetColorText(clWhite);
  const TBitmap& cache = seg->GlyphCache();
  int white = 0, offWhite = 0;
  for (int y = 0; y < cache.Height(); ++y)
    for (int x = 0; x < cache.Width(); ++x) {
      white += cache.Canvas()->Pixels(x, y) == clWhite;
      offWhite += cache.Canvas()->Pixels(x, y) == 0xFEFEFE;
    }
  EXPECT_EQ(white, 0);
  EXPECT_GT(offWhite, 100);
}

TEST_F(SevenSegTest, SettersClampAndIgnoreAsDocumented) {
  seg->SetNumDigits(0);
  EXPECT_EQ(seg->NumDigits(), 4);
  seg->SetNumDigits(33);
  EXPECT_EQ(seg->NumDigits(), 4);
  seg->SetMargin(100);
  EXPECT_EQ(seg->Margin(), 37);
  seg->SetMargin(-4);
  EXPECT_EQ(seg->Margin(), 0);
  seg->SetInterDigDist(1000);
  EXPECT_EQ(seg->InterDigDist(), 255);
  EXPECT_EQ(seg->GlyphCache().Width(), 0);  // no room for a cell
  EXPECT_NO_THROW(HeadlessHost().Snapshot(*seg));
}

TEST_F(SevenSegTest, CacheIsRebuiltForSizeAndColoursButNotForTheCaption) {
  const int builds = seg->CacheBuilds();
  seg->SetCaption("1234");
  seg->SetFrameStyle(fsRaised);
  EXPECT_EQ(seg->CacheBuilds(), builds);
  seg->SetColorText(clLime);
  EXPECT_EQ(seg->CacheBuilds(), builds + 1);
  seg->SetBounds(0, 0, 416, 96);
  EXPECT_EQ(seg->CacheBuilds(), builds + 2);
  EXPECT_EQ(seg->CellWidth(), (416 - 16) / 4 - 2);
  EXPECT_EQ(seg->GlyphCache().Height(), 96 - 16);
  seg->SetBounds(10, 10, 416, 96);  // moving is not resizing
  EXPECT_EQ(seg->CacheBuilds(), builds + 2);
}

// Each cell on the display is an exact copy of its cached glyph, at
// X = Margin + J * (CW + InterDigDist); a lit point replaces the cell's
// lower right sixth with that of the point glyph.
TEST_F(SevenSegTest, CellsAreCopiedToTheirPositions) {
  seg->SetCaption("4-.A");
  seg->SetFrameStyle(fsNone);
  auto shot = HeadlessHost().Snapshot(*seg);
  const TBitmap& cache = seg->GlyphCache();
  const int cw = seg->CellWidth(), ih = cache.Height(), m = seg->Margin();
  const int glyphs[] = {4, kMinus, kA};
  for (int j = 0; j < 3; ++j) {
    const int x0 = m + j * (cw + seg->InterDigDist());
    for (int y = 0; y < ih; ++y)
      for (int x = 0; x < cw; ++x) {
        const bool inPoint = j == 1 && x >= cw * 5 / 6 && y >= ih * 5 / 6;
        const int source = inPoint ? 20 * cw + x : glyphs[j] * cw + x;
        ASSERT_EQ(shot->Canvas()->Pixels(x0 + x, m + y), cache.Canvas()->Pixels(source, y))
            << "cell " << j << " at " << x << "," << y;
      }
  }
  // The gap between cells and the margins keep the background.
  EXPECT_EQ(shot->Canvas()->Pixels(m + cw, 30), 0x333333);
  EXPECT_EQ(shot->Canvas()->Pixels(3, 3), 0x333333);
}

TEST_F(SevenSegTest, AssignCopiesSettingsAndRebuildsTheTargetCache) {
  seg->SetNumDigits(6);
  seg->SetCaption("12.5");
  seg->SetColorText(clYellow);
  TSevenSeg other(nullptr);
  other.Assign(seg);
  EXPECT_EQ(other.NumDigits(), 6);
  EXPECT_EQ(other.Caption(), "12.5");
  EXPECT_EQ(other.CellWidth(), seg->CellWidth());
  EXPECT_EQ(other.GlyphCache().Canvas()->Pixels(0, 0), seg->GlyphCache().Canvas()->Pixels(0, 0));
  EXPECT_NE(&other.GlyphCache(), &seg->GlyphCache());
}

TEST_F(SevenSegTest, RandomSettingsPaintSafely) {
  std::mt19937 rng(2);
  const char* captions[] = {"", ".", "8.8.8.8.", "\xC2\xB0\xC2\xB0", "\xFF\xFE", "abcdef0123456789:+-"};
  for (int round = 0; round < 40; ++round) {
    seg->SetBounds(0, 0, static_cast<int>(rng() % 300) + 1, static_cast<int>(rng() % 100) + 1);
    seg->SetNumDigits(static_cast<int>(rng() % 40) - 3);
    seg->SetMargin(static_cast<int>(rng() % 60) - 5);
    seg->SetInterDigDist(static_cast<int>(rng() % 30) - 5);
    seg->SetFrameStyle(static_cast<TFrameStyle>(rng() % 6));
    seg->SetCaption(captions[rng() % 6]);
    ASSERT_NO_THROW(HeadlessHost().Snapshot(*seg)) << round;
  }
}

}  // namespace
}  // namespace vorn
