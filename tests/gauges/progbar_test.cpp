// TProgBar: property rules, colour table, fill geometry per direction,
// gradient indices per mapping, grid and frame pixels, text anchors,
// the auto-increment timer on the virtual clock, and hostile values.
#include "vorn/gauges/progbar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <limits>
#include <memory>
#include <string>

#include "vorn/platform/graphics/bitmap.h"
#include "vorn/platform/hosts/headless.h"

namespace vorn {
namespace {

class ProgBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bar = std::make_unique<TProgBar>(nullptr);
    bar->SetName("Bar1");
    bar->SetTextVisible(false);
  }
  void TearDown() override { SetTimersUnavailable(false); }
  // The control drawn into a bitmap of its size.
  std::unique_ptr<TBitmap> Render() const {
    auto bmp = std::make_unique<TBitmap>(std::max(1, bar->Width()), std::max(1, bar->Height()));
    bar->PaintTo(*bmp->Canvas());
    return bmp;
  }
  static TColor Px(const TBitmap& B, int X, int Y) { return B.Canvas()->Pixels(X, Y); }

  std::unique_ptr<TProgBar> bar;
};

TEST_F(ProgBarTest, StartsWithTheDocumentedDefaults) {
  EXPECT_EQ(bar->Width(), 300);
  EXPECT_EQ(bar->Height(), 28);
  EXPECT_EQ(bar->Value(), 10.0);
  EXPECT_EQ(bar->Min(), 0.0);
  EXPECT_EQ(bar->Max(), 100.0);
  EXPECT_EQ(bar->Direction(), diRight);
  EXPECT_EQ(bar->ColorMapMode(), cgmStretch);
  EXPECT_EQ(bar->FrameStyleOuter(), fsRaised);
  EXPECT_EQ(bar->FrameStyleInner(), fsLowered);
  EXPECT_EQ(bar->ColorMin(), 0xFF0000);
  EXPECT_EQ(bar->ColorMax(), 0x0000FF);
  EXPECT_EQ(bar->RepeatInterval(), 700);
  EXPECT_EQ(bar->StartInterval(), 1500);
  EXPECT_EQ(bar->TextPosX(), 14);
  EXPECT_EQ(bar->TextAlignment(), taCenter);
  EXPECT_FALSE(bar->AutoInc());
  EXPECT_TRUE(bar->IsStartPhase());
}

TEST_F(ProgBarTest, SettersClampAndOrderAsDocumented) {
  bar->SetRange(10, 0);
  EXPECT_EQ(bar->Min(), 0.0);
  EXPECT_EQ(bar->Max(), 10.0);
  bar->SetRepeatInterval(5);
  EXPECT_EQ(bar->RepeatInterval(), 10);
  bar->SetStartInterval(-3);
  EXPECT_EQ(bar->StartInterval(), 10);
  bar->SetTextDecPlaces(-5);
  EXPECT_EQ(bar->TextDecPlaces(), -2);
  bar->SetTextDecPlaces(12);
  EXPECT_EQ(bar->TextDecPlaces(), 10);
  bar->SetTextAngle(400);
  EXPECT_EQ(bar->TextAngle(), 360);
  bar->SetTextAngle(-1);
  EXPECT_EQ(bar->TextAngle(), 0);
  bar->SetTextPosX(1000);
  EXPECT_EQ(bar->TextPosX(), 300);
  bar->SetTextPosY(-4);
  EXPECT_EQ(bar->TextPosY(), 0);
  bar->SetAutoIncStep(0);
  EXPECT_EQ(bar->AutoIncStep(), 1.0);
  bar->SetValue(500);  // no clamping to the range
  EXPECT_EQ(bar->Value(), 500.0);
  bar->SetColorScheme(csSystem);
  bar->SetBarColorElem(-1, 0x123456);  // ignored
  EXPECT_EQ(bar->GetBarColorElem(1024), 0);
}

TEST_F(ProgBarTest, ColorBlendTruncatesEachChannelAndClampsTheFraction) {
  EXPECT_EQ(ColorBlend(0x000000, 0xFFFFFF, 0.5), 0x7F7F7F);
  EXPECT_EQ(ColorBlend(0x0000FF, 0x000000, 0.5), 0x000080);  // 255 + (-127.5 truncated toward zero)
  EXPECT_EQ(ColorBlend(0x102030, 0x405060, -3), 0x102030);
  EXPECT_EQ(ColorBlend(0x102030, 0x405060, 7), 0x405060);
  EXPECT_EQ(ColorBlend(0xFF102030, 0x405060, 0), 0x102030);  // top byte cleared
  EXPECT_EQ(ColorBlend(0x102030, 0x405060, std::nan("")), 0x102030);
}

TEST_F(ProgBarTest, ColorTableBlendsBetweenItsEnds) {
  EXPECT_EQ(bar->GetBarColorElem(0), 0xFF0000);
  EXPECT_EQ(bar->GetBarColorElem(1023), 0x0000FF);
  EXPECT_EQ(bar->GetBarColorElem(512), ColorBlend(0xFF0000, 0x0000FF, 512 / 1023.0));
  bar->SetBarColorElem(300, 0x00FF00);
  EXPECT_EQ(bar->GetBarColorElem(300), 0x00FF00);
  bar->SetColorMin(0x000000);  // blends 1..1022 again, overwriting the custom entry
  EXPECT_EQ(bar->GetBarColorElem(300), ColorBlend(0x000000, 0x0000FF, 300 / 1023.0));
  bar->SetColorMax(0xFFFFFF);
  EXPECT_EQ(bar->ColorMax(), 0xFFFFFF);
  EXPECT_EQ(bar->GetBarColorElem(1), ColorBlend(0, 0xFFFFFF, 1 / 1023.0));
}

// ---- geometry ---------------------------------------------------------------------------------

TEST_F(ProgBarTest, FilledRectGrowsFromTheBaseOfEachDirection) {
  bar->SetBounds(0, 0, 108, 58);  // bar area 100 x 50 at (4, 4)
  bar->SetValue(30);
  struct Case {
    TDirection Dir;
    TRect Expected;
  };
  for (const Case& c : {Case{diRight, {4, 4, 34, 54}}, Case{diLeft, {74, 4, 104, 54}},
                        Case{diUp, {4, 39, 104, 54}}, Case{diDown, {4, 4, 104, 19}}}) {
    bar->SetDirection(c.Dir);
    EXPECT_EQ(bar->FilledRect(), c.Expected) << int(c.Dir);
  }
}

TEST_F(ProgBarTest, EqualMinAndMaxGiveAnEmptyOrFullBar) {
  bar->SetBounds(0, 0, 108, 58);
  bar->SetRange(5, 5);
  bar->SetValue(5);
  EXPECT_EQ(bar->FilledRect().Width(), 0);
  bar->SetValue(5.0001);
  EXPECT_EQ(bar->FilledRect().Width(), 100);
}

TEST_F(ProgBarTest, GradientIndexFollowsTheMapping) {
  // Filled length 50 of an area 100 long.
  bar->SetColorMapMode(cgmStretch);
  EXPECT_EQ(bar->GradientIndex(0, 50, 100), 0);
  EXPECT_EQ(bar->GradientIndex(49, 50, 100), 1003);  // Round(49 * 1023 / 50)
  bar->SetColorMapMode(cgmCover);
  EXPECT_EQ(bar->GradientIndex(0, 50, 100), 0);
  EXPECT_EQ(bar->GradientIndex(49, 50, 100), 501);  // a half-full bar ends near 511
  EXPECT_EQ(bar->GradientIndex(150, 200, 100), 1023);  // beyond the area: clamped
  bar->SetColorMapMode(cgmMove);
  EXPECT_EQ(bar->GradientIndex(49, 50, 100), 1023);  // the tip
  EXPECT_EQ(bar->GradientIndex(0, 50, 100), 522);    // 0 - Round(49 * 10.23) + 1023
  EXPECT_EQ(bar->GradientIndex(0, 200, 100), 0);     // clamped below
}

TEST_F(ProgBarTest, GradientPaintsTheMappedColoursFromTheBase) {
  bar->SetBounds(0, 0, 108, 58);
  bar->SetShowColorGradient(true);
  bar->SetValue(50);
  for (TDirection dir : {diRight, diLeft, diUp, diDown}) {
    bar->SetDirection(dir);
    for (TColorMapping mode : {cgmCover, cgmStretch, cgmMove}) {
      bar->SetColorMapMode(mode);
      auto bmp = Render();
      const TRect f = bar->FilledRect();
      // The first and last line of the bar, seen from its base.
      TPoint first, last;
      switch (dir) {
        case diRight: first = {f.Left, 20}; last = {f.Right - 1, 20}; break;
        case diLeft: first = {f.Right - 1, 20}; last = {f.Left, 20}; break;
        case diUp: first = {50, f.Bottom - 1}; last = {50, f.Top}; break;
        default: first = {50, f.Top}; last = {50, f.Bottom - 1}; break;
      }
      const int len = (dir == diRight || dir == diLeft) ? f.Width() : f.Height();
      const int full = (dir == diRight || dir == diLeft) ? 100 : 50;
      EXPECT_EQ(Px(*bmp, first.X, first.Y), bar->GetBarColorElem(bar->GradientIndex(0, len, full)))
          << int(dir) << " " << int(mode);
      EXPECT_EQ(Px(*bmp, last.X, last.Y), bar->GetBarColorElem(bar->GradientIndex(len - 1, len, full)))
          << int(dir) << " " << int(mode);
    }
  }
}

TEST_F(ProgBarTest, PlainBarUsesEntryZeroAndLeavesTheRestInBackground) {
  bar->SetBounds(0, 0, 108, 58);
  bar->SetValue(30);
  auto bmp = Render();
  EXPECT_EQ(Px(*bmp, 4, 10), 0xFF0000);
  EXPECT_EQ(Px(*bmp, 33, 10), 0xFF0000);
  EXPECT_EQ(Px(*bmp, 34, 10), 0xC0C0C0);
  EXPECT_EQ(Px(*bmp, 103, 53), 0xC0C0C0);
}

TEST_F(ProgBarTest, GridLinesSitEveryGridDistFromTheBase) {
  bar->SetBounds(0, 0, 108, 58);
  bar->SetColorGrid(0x00FF00);
  bar->SetFrameStyleInner(fsNone);
  bar->SetValue(30);  // rightward: columns 4..33, grid at 4, 14, 24, 34 (up to and including the end)
  bar->SetGridDist(10);
  auto bmp = Render();
  for (int x : {4, 14, 24, 34}) EXPECT_EQ(Px(*bmp, x, 30), 0x00FF00) << x;
  EXPECT_NE(Px(*bmp, 44, 30), 0x00FF00);
  EXPECT_NE(Px(*bmp, 5, 30), 0x00FF00);
  bar->SetDirection(diUp);  // rows 39..53, grid at 53, 43
  bmp = Render();
  EXPECT_EQ(Px(*bmp, 50, 53), 0x00FF00);
  EXPECT_EQ(Px(*bmp, 50, 43), 0x00FF00);
  EXPECT_NE(Px(*bmp, 50, 33), 0x00FF00);
  bar->SetDirection(diLeft);  // columns 74..103, grid at 103, 93, 83, 73
  bmp = Render();
  for (int x : {103, 93, 83, 73}) EXPECT_EQ(Px(*bmp, x, 30), 0x00FF00) << x;
  EXPECT_NE(Px(*bmp, 63, 30), 0x00FF00);
  bar->SetDirection(diDown);  // rows 4..18, grid at 4, 14
  bmp = Render();
  EXPECT_EQ(Px(*bmp, 50, 4), 0x00FF00);
  EXPECT_EQ(Px(*bmp, 50, 14), 0x00FF00);
  EXPECT_NE(Px(*bmp, 50, 24), 0x00FF00);
  bar->SetGridDist(1);  // no grid
  bmp = Render();
  EXPECT_NE(Px(*bmp, 50, 4), 0x00FF00);
}

TEST_F(ProgBarTest, FramePixelsFollowTheBevelRules) {
  bar->SetBounds(0, 0, 40, 20);
  bar->SetColorMargin(0x0000FF);
  bar->SetFrameStyleInner(fsNone);
  bar->SetFrameStyleOuter(fsLowered);
  auto bmp = Render();
  EXPECT_EQ(Px(*bmp, 0, 5), 0x808080);    // shadow ring, left
  EXPECT_EQ(Px(*bmp, 38, 0), 0x808080);   // shadow ring, top right before the corner
  EXPECT_EQ(Px(*bmp, 1, 5), 0x000000);    // dark inside, left
  EXPECT_EQ(Px(*bmp, 5, 1), 0x000000);    // dark inside, top
  EXPECT_EQ(Px(*bmp, 39, 5), 0xFFFFFF);   // highlight, right
  EXPECT_EQ(Px(*bmp, 5, 19), 0xFFFFFF);   // highlight, bottom
  EXPECT_EQ(Px(*bmp, 0, 19), 0x0000FF);   // corner in the margin colour
  EXPECT_EQ(Px(*bmp, 39, 0), 0x0000FF);   // corner in the margin colour
  bar->SetFrameStyleOuter(fsRaised);
  bmp = Render();
  EXPECT_EQ(Px(*bmp, 1, 5), 0xFFFFFF);
  EXPECT_EQ(Px(*bmp, 39, 5), 0x000000);
  bar->SetFrameStyleOuter(fsEmbossed);  // shadow offset by one, highlight on top of it
  bmp = Render();
  EXPECT_EQ(Px(*bmp, 0, 5), 0xFFFFFF);
  EXPECT_EQ(Px(*bmp, 1, 5), 0x808080);
  EXPECT_EQ(Px(*bmp, 39, 5), 0x808080);
  bar->SetFrameStyleOuter(fsEngraved);
  bmp = Render();
  EXPECT_EQ(Px(*bmp, 0, 5), 0x808080);
  EXPECT_EQ(Px(*bmp, 1, 5), 0xFFFFFF);
  bar->SetFrameStyleOuter(fsSimple);  // one ring, corners untouched
  bmp = Render();
  EXPECT_EQ(Px(*bmp, 0, 19), 0x808080);
  EXPECT_EQ(Px(*bmp, 39, 0), 0x808080);
  // The inner frame rings the bar area two pixels outside it.
  bar->SetFrameStyleOuter(fsNone);
  bar->SetFrameStyleInner(fsSimple);
  bar->SetValue(0);
  bmp = Render();
  EXPECT_EQ(Px(*bmp, 2, 8), 0x808080);
  EXPECT_EQ(Px(*bmp, 37, 8), 0x808080);
  EXPECT_EQ(Px(*bmp, 4, 8), 0xC0C0C0);
  EXPECT_EQ(Px(*bmp, 1, 8), 0x0000FF);
}

// ---- value text ----------------------------------------------------------------------------------

TEST_F(ProgBarTest, TextAnchorTurnsWithTheAngle) {
  // Text 40 wide, half height 6, anchor (100, 50).
  struct Case {
    TAlignment Align;
    int Angle;
    TPoint Expected;
  };
  const Case cases[] = {
      {taLeftJustify, 0, {100, 44}},  {taCenter, 0, {80, 44}},    {taRightJustify, 0, {60, 44}},
      {taLeftJustify, 90, {94, 50}},  {taCenter, 90, {94, 70}},   {taRightJustify, 90, {94, 90}},
      {taLeftJustify, 180, {100, 56}}, {taCenter, 180, {120, 56}}, {taRightJustify, 180, {140, 56}},
      {taLeftJustify, 270, {106, 50}}, {taCenter, 270, {106, 30}}, {taRightJustify, 270, {106, 10}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TProgBar::TextOrigin(c.Align, 100, 50, 40, 6, c.Angle), c.Expected)
        << int(c.Align) << " at " << c.Angle;
  }
  // Odd widths use the halved width twice.
  EXPECT_EQ(TProgBar::TextOrigin(taRightJustify, 100, 50, 41, 6, 0), (TPoint{60, 44}));
}

TEST_F(ProgBarTest, ValueTextFollowsTheDecimals) {
  bar->SetValue(12.345);
  EXPECT_EQ(bar->ValueText(), "12");
  bar->SetTextDecPlaces(2);
  EXPECT_EQ(bar->ValueText(), "12.35");  // FormatReal rounds the decimal value
  bar->SetTextDecPlaces(-1);
  EXPECT_EQ(bar->ValueText(), " 1.2E+01");
  bar->SetTextDecPlaces(-2);
  EXPECT_EQ(bar->ValueText(), "1.23450000000000E+01");
  bar->SetValue(std::numeric_limits<double>::infinity());
  EXPECT_EQ(bar->ValueText(), "Inf");
}

TEST_F(ProgBarTest, ValueTextIsDrawnAroundItsAnchorAndMayBeReplaced) {
  bar->SetBounds(0, 0, 200, 40);
  bar->SetTextVisible(true);
  bar->Font()->SetColor(0x00FFFF);
  bar->SetTextPosX(100);
  bar->SetTextPosY(20);
  bar->SetOnShowValue([](TObject*, std::string& Text) { Text = "MMMM"; });
  auto bmp = Render();
  int minX = 1000, maxX = -1;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 200; ++x) {
      if (Px(*bmp, x, y) == 0x00FFFF) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
      }
    }
  }
  ASSERT_LE(minX, maxX) << "text not drawn";
  EXPECT_NEAR((minX + maxX) / 2.0, 100.0, 3.0);  // centred on the anchor
}

// ---- auto increment ----------------------------------------------------------------------------------

TEST_F(ProgBarTest, AutoIncrementWaitsTheStartIntervalThenRepeats) {
  THeadlessHost& host = HeadlessHost();
  int events = 0;
  bar->SetOnAutoInc([&](TObject* Sender) {
    EXPECT_EQ(Sender, bar.get());
    ++events;
  });
  bar->SetStartInterval(300);
  bar->SetRepeatInterval(100);
  bar->SetAutoIncStep(2.5);
  bar->SetAutoInc(true);
  EXPECT_TRUE(bar->IsStartPhase());
  host.Advance(299);
  EXPECT_EQ(bar->Value(), 10.0);
  host.Advance(1);
  EXPECT_EQ(bar->Value(), 12.5);
  EXPECT_FALSE(bar->IsStartPhase());
  EXPECT_EQ(events, 1);
  host.Advance(99);
  EXPECT_EQ(events, 1);
  host.Advance(1);
  EXPECT_EQ(events, 2);
  host.Advance(1000);  // ten more steps, no clamping at Max
  EXPECT_EQ(events, 12);
  EXPECT_EQ(bar->Value(), 10.0 + 12 * 2.5);
  bar->SetAutoInc(false);
  host.Advance(1000);
  EXPECT_EQ(events, 12);
  // Switching on again starts over with the start interval.
  bar->SetAutoInc(true);
  host.Advance(200);
  EXPECT_EQ(events, 12);
  host.Advance(100);
  EXPECT_EQ(events, 13);
}

TEST_F(ProgBarTest, ExceptionsInTheTimerGoToTheApplication) {
  THeadlessHost& host = HeadlessHost();
  int handled = 0;
  Application()->SetOnException([&](TObject*, const std::exception&) { ++handled; });
  bar->SetOnAutoInc([](TObject*) { throw std::runtime_error("boom"); });
  bar->SetStartInterval(10);
  bar->SetAutoInc(true);
  host.Advance(10);
  EXPECT_EQ(handled, 1);
  Application()->SetOnException(nullptr);
  bar->SetAutoInc(false);
}

TEST_F(ProgBarTest, NoTimerRaisesTheComponentError) {
  SetTimersUnavailable(true);
  try {
    bar->SetAutoInc(true);
    FAIL() << "no error";
  } catch (const EVORNProgBar& e) {
    EXPECT_STREQ(e.what(), "Component \"Bar1\": no timer available");
  }
}

TEST_F(ProgBarTest, DesignTimeNeverStartsTheTimer) {
  THeadlessHost& host = HeadlessHost();
  auto designed = std::make_unique<TProgBar>(nullptr);
  designed->SetDesigning(true);
  designed->SetStartInterval(10);
  designed->SetAutoInc(true);
  host.Advance(100);
  EXPECT_EQ(designed->Value(), 10.0);
}

TEST_F(ProgBarTest, AssignCopiesTheLookButNotTheTimer) {
  TProgBar other(nullptr);
  other.SetBarColorElem(100, 0x123456);
  other.SetValue(42);
  other.SetRange(-5, 50);
  other.SetDirection(diUp);
  other.SetGridDist(7);
  other.SetStartInterval(99);
  other.SetTextAngle(90);
  bar->Assign(&other);
  EXPECT_EQ(bar->Value(), 42.0);
  EXPECT_EQ(bar->Min(), -5.0);
  EXPECT_EQ(bar->Direction(), diUp);
  EXPECT_EQ(bar->GridDist(), 7);
  EXPECT_EQ(bar->TextAngle(), 90);
  EXPECT_EQ(bar->GetBarColorElem(100), 0x123456);
  EXPECT_EQ(bar->StartInterval(), 1500);
}

TEST_F(ProgBarTest, UnreadableBackgroundKeepsThePreviousPicture) {
  const std::string file = std::string(VORN_TEST_OUTPUT_DIR) + "/progbar_bg.png";
  std::filesystem::create_directories(VORN_TEST_OUTPUT_DIR);
  TBitmap pic(4, 4);
  pic.Canvas()->Brush()->SetColor(0x00FF00);
  pic.Canvas()->FillRect(Rect(0, 0, 4, 4));
  pic.SaveToFile(file);
  bar->SetBounds(0, 0, 50, 20);
  bar->SetValue(0);
  bar->SetBackGroundImg(file);
  EXPECT_EQ(bar->BackGroundImg(), file);
  bar->SetBackGroundImg("/nonexistent/picture.png");
  EXPECT_EQ(bar->BackGroundImg(), file);
  auto bmp = Render();
  EXPECT_EQ(Px(*bmp, 25, 10), 0x00FF00);  // stretched over the bar area
  bar->SetBackGroundImg("");
  EXPECT_EQ(bar->BackGroundImg(), "");
  bmp = Render();
  EXPECT_EQ(Px(*bmp, 25, 10), 0xC0C0C0);
}

// ---- hostile values and sizes ----------------------------------------------------------------------------

TEST_F(ProgBarTest, HostileValuesAndTinySizesPaintInsideTheBitmap) {
  const double inf = std::numeric_limits<double>::infinity();
  const double values[] = {std::nan(""), inf, -inf, 1e308, -1e308, 1e-300};
  for (int size : {1, 2, 5, 300}) {
    bar->SetBounds(0, 0, size, size == 300 ? 28 : size);
    for (TDirection dir : {diUp, diDown, diLeft, diRight}) {
      bar->SetDirection(dir);
      for (bool grad : {false, true}) {
        bar->SetShowColorGradient(grad);
        bar->SetGridDist(grad ? 3 : 0);
        bar->SetTextVisible(grad);
        for (double v : values) {
          bar->SetValue(v);
          auto bmp = Render();  // must not crash or write outside (sanitizers watch)
          EXPECT_EQ(bmp->Width(), std::max(1, bar->Width()));
        }
      }
    }
  }
  bar->SetRange(0, inf);
  bar->SetValue(5);
  EXPECT_EQ(bar->FilledRect().Width(), 0);
}

TEST_F(ProgBarTest, PaintsOnItsFormAtOnce) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 320, 60);
  bar->SetParent(&form);
  bar->SetBounds(10, 10, 300, 28);
  form.Show();
  HeadlessHost().Advance(0);
  bar->SetValue(50);  // no host repaint between: the setter paints itself
  auto shot = HeadlessHost().Snapshot(form);
  EXPECT_EQ(shot->Canvas()->Pixels(10 + 4, 20), 0xFF0000);
  EXPECT_EQ(shot->Canvas()->Pixels(10 + 4 + 145, 20), 0xFF0000);
  bar->SetParent(nullptr);
}

}  // namespace
}  // namespace vorn
