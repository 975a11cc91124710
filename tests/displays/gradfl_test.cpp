// TGradFill: band boundaries by MulDiv, band colours, flipping, the grid
// and robustness against odd sizes.
#include "vorn/displays/gradfl.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "tests/displays/picture.h"
#include "vorn/platform/hosts/headless.h"

namespace vorn {
namespace {

using testpic::Picture;

class GradFillTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 200, 200);
    fill = new TGradFill(form.get());
    fill->SetParent(form.get());
  }
  std::unique_ptr<TBitmap> Draw(int W, int H) const {
    auto bmp = std::make_unique<TBitmap>(W, H);
    fill->DrawGradient(*bmp);
    return bmp;
  }
  std::unique_ptr<TForm> form;
  TGradFill* fill = nullptr;
};

TEST_F(GradFillTest, StartsWithTheDocumentedDefaults) {
  EXPECT_EQ(fill->Width(), 121);
  EXPECT_EQ(fill->Height(), 121);
  EXPECT_EQ(fill->NrColors(), 16);
  EXPECT_EQ(fill->ColorFirst(), 0x000080);
  EXPECT_EQ(fill->ColorLast(), 0x00FFFF);
  EXPECT_EQ(fill->FillType(), gtHoriz);
  EXPECT_EQ(fill->GridMode(), gmNone);
  EXPECT_EQ(fill->GridColor(), 0x800000);
  EXPECT_EQ(fill->FrameStyle(), fsNone);
  EXPECT_FALSE(fill->ColorFlipped());
}

TEST_F(GradFillTest, NrColorsIsClampedToOneBandAtLeastAnd255AtMost) {
  fill->SetNrColors(0);
  EXPECT_EQ(fill->NrColors(), 1);
  auto bmp = Draw(5, 5);
  EXPECT_EQ(bmp->Canvas()->Pixels(2, 4), 0x000080);
  fill->SetNrColors(300);
  EXPECT_EQ(fill->NrColors(), 255);
  fill->SetNrColors(-7);
  EXPECT_EQ(fill->NrColors(), 1);
}

// 16 bands over 121 rows: MulDiv rounds 121 * k / 16, so bands are 7 or 8
// rows high and the pattern of heights is fixed.
TEST_F(GradFillTest, BandBordersFollowMulDivRounding) {
  std::vector<int> starts;
  for (int k = 0; k <= 16; ++k) starts.push_back(fill->BandStart(k, 121));
  EXPECT_EQ(starts, (std::vector<int>{0, 8, 15, 23, 30, 38, 45, 53, 61, 68, 76, 83, 91, 98, 106, 113, 121}));
  auto bmp = Draw(121, 121);
  for (int k = 0; k < 16; ++k) {
    const TColor band = fill->BandColor(k);
    EXPECT_EQ(bmp->Canvas()->Pixels(60, starts[k]), band) << k;
    EXPECT_EQ(bmp->Canvas()->Pixels(0, starts[k + 1] - 1), band) << k;
  }
}

TEST_F(GradFillTest, BandColoursStepFromFirstTowardsLast) {
  fill->SetColorFirst(RGB(0, 0, 0));
  fill->SetColorLast(RGB(160, 80, 255));
  fill->SetNrColors(4);
  EXPECT_EQ(fill->BandColor(0), RGB(0, 0, 0));
  EXPECT_EQ(fill->BandColor(1), RGB(40, 20, 64));   // 255 / 4 = 63.75
  EXPECT_EQ(fill->BandColor(3), RGB(120, 60, 191));  // the last band stops a step short
  fill->SetColorFirst(clBtnFace);  // system colours are resolved first
  EXPECT_EQ(fill->BandColor(0), ColorToRGB(clBtnFace));
}

TEST_F(GradFillTest, MidBandRisesToTheLastColourAndFallsBack) {
  fill->SetColorFirst(RGB(0, 0, 0));
  fill->SetColorLast(RGB(200, 0, 0));
  fill->SetFillType(gtMidBandVert);
  fill->SetNrColors(5);  // m = 2
  std::vector<int> reds;
  for (int k = 0; k < 5; ++k) reds.push_back(GetRValue(fill->BandColor(k)));
  EXPECT_EQ(reds, (std::vector<int>{0, 100, 200, 100, 0}));
  fill->SetNrColors(1);
  EXPECT_EQ(fill->BandColor(0), RGB(0, 0, 0));
  auto bmp = Draw(3, 3);
  EXPECT_EQ(bmp->Canvas()->Pixels(1, 1), RGB(0, 0, 0));
}

TEST_F(GradFillTest, FlippingExchangesTheBaseColours) {
  fill->SetColorFlipped(true);
  EXPECT_EQ(fill->ColorFirst(), 0x00FFFF);
  EXPECT_EQ(fill->ColorLast(), 0x000080);
  fill->SetColorFirst(clRed);  // while flipped this is the base last colour
  fill->SetColorFlipped(false);
  EXPECT_EQ(fill->ColorFirst(), 0x000080);
  EXPECT_EQ(fill->ColorLast(), clRed);
}

TEST_F(GradFillTest, VerticalBandsWithTheGridOnTheirBorders) {
  fill->SetColorFirst(clBlack);
  fill->SetColorLast(clWhite);
  fill->SetNrColors(2);
  fill->SetFillType(gtVert);
  fill->SetGridColor(clRed);
  fill->SetGridMode(gmBoth);
  auto bmp = Draw(6, 5);
  EXPECT_EQ(Picture(*bmp, {{clBlack, '#'}, {clGray, '-'}, {clRed, 'r'}}),
            (std::vector<std::string>{
                "###r--",
                "###r--",
                "###r--",
                "rrrrrr",
                "###r--",
            }));
}

TEST_F(GradFillTest, FrameIsDrawnOverTheBands) {
  fill->SetColorFirst(clNavy);
  fill->SetColorLast(clNavy);
  fill->SetFrameStyle(fsSimple);
  auto bmp = Draw(4, 4);
  EXPECT_EQ(Picture(*bmp, {{clNavy, 'n'}, {clBlack, '#'}}),
            (std::vector<std::string>{"####", "#nn#", "#nn#", "####"}));
}

TEST_F(GradFillTest, PaintRaisesOnPaintAndCopiesTheGradient) {
  int paints = 0;
  fill->SetOnPaint([&](TObject* Sender) {
    EXPECT_EQ(Sender, fill);
    ++paints;
  });
  fill->SetBounds(10, 10, 40, 30);
  form->Show();
  auto shot = HeadlessHost().Snapshot(*fill);
  EXPECT_GE(paints, 1);
  EXPECT_EQ(shot->Canvas()->Pixels(0, 0), 0x000080);
}

// More bands than pixels, 1x1 and empty bitmaps, random settings: every
// pixel is written (no white left) and nothing breaks.
TEST_F(GradFillTest, RandomSettingsCoverEveryPixel) {
  std::mt19937 rng(14);
  for (int round = 0; round < 200; ++round) {
    fill->SetNrColors(static_cast<int>(rng() % 300) - 20);
    fill->SetFillType(static_cast<TGradType>(rng() % 4));
    fill->SetGridMode(static_cast<TGridMode>(rng() % 5));
    fill->SetFrameStyle(static_cast<TFrameStyle>(rng() % 6));
    fill->SetColorFirst(static_cast<TColor>(rng() & 0xFEFEFE));
    fill->SetColorLast(static_cast<TColor>(rng() & 0xFEFEFE));
    fill->SetGridColor(static_cast<TColor>(rng() & 0xFEFEFE));
    const int w = static_cast<int>(rng() % 40), h = static_cast<int>(rng() % 40);
    auto bmp = Draw(w, h);
    if (fill->FrameStyle() != fsNone) continue;  // frames draw white lines
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) ASSERT_NE(bmp->Canvas()->Pixels(x, y), clWhite) << round;
  }
  auto empty = Draw(0, 0);
  EXPECT_EQ(empty->Width(), 0);
}

}  // namespace
}  // namespace vorn
