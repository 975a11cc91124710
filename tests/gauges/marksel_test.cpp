// TMarkSel: grid layout with hidden marks, nearest-mark search, clicks and
// highlight on a headless form, property rules and the disabled look.
#include "vorn/gauges/marksel.h"

#include <gtest/gtest.h>

#include <memory>

#include "vorn/platform/hosts/headless.h"

namespace vorn {
namespace {

class MarkSelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 220);
    sel = new TMarkSel(form.get());
    sel->SetParent(form.get());
    sel->SetBounds(10, 10, 236, 178);  // cells 29 x 29
    form->Show();
    host.Advance(0);
  }
  TColor ShotPixel(int X, int Y) { return host.Snapshot(*form)->Canvas()->Pixels(10 + X, 10 + Y); }

  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
  TMarkSel* sel = nullptr;
};

TEST_F(MarkSelTest, StartsWithTheDocumentedDefaults) {
  EXPECT_EQ(sel->NrOfColumns(), 8);
  EXPECT_EQ(sel->NrOfRows(), 6);
  EXPECT_EQ(sel->Selected(), -1);
  EXPECT_EQ(sel->FrameStyle(), fsEngraved);
  EXPECT_EQ(sel->ColorBackGnd(), clBtnFace);
  EXPECT_TRUE(sel->ShowZeroAsCross());
  for (int ix = 0; ix < NumPlotMarks; ++ix) EXPECT_TRUE(sel->GetVis(ix));
}

TEST_F(MarkSelTest, OutOfRangeSettingsAreIgnored) {
  sel->SetNrOfColumns(0);
  sel->SetNrOfColumns(52);
  EXPECT_EQ(sel->NrOfColumns(), 8);
  sel->SetNrOfRows(51);
  EXPECT_EQ(sel->NrOfRows(), 51);
  sel->SetSelected(-2);
  sel->SetSelected(52);
  EXPECT_EQ(sel->Selected(), -1);
  sel->SetSelected(51);
  EXPECT_EQ(sel->Selected(), 51);
  sel->SetVis(0, false);
  EXPECT_TRUE(sel->GetVis(0));
  sel->SetVis(5, false);
  EXPECT_FALSE(sel->GetVis(5));
  EXPECT_TRUE(sel->GetVis(-7));  // reads mark 0
  EXPECT_TRUE(sel->GetVis(99));
}

TEST_F(MarkSelTest, HiddenMarksTakeNoCell) {
  // 8 columns, cells 29 x 29, centres at 14 + 29 * column.
  EXPECT_EQ(sel->MarkCoords(6), (TPoint{14 + 29 * 6, 14}));
  sel->SetVis(3, false);
  sel->SetVis(5, false);
  EXPECT_EQ(sel->MarkCoords(6), (TPoint{14 + 29 * 4, 14}));  // fifth shown mark
  EXPECT_EQ(sel->MarkCoords(10), (TPoint{14 + 29 * 0, 14 + 29}));
  sel->HideAllMarks();
  EXPECT_EQ(sel->MarkCoords(0), (TPoint{14, 14}));
  EXPECT_EQ(sel->NearestMark(230, 170), 0);  // the only shown mark
  sel->ShowAllMarks();
  // 52 marks in 8 x 6 cells: the last four are drawn below the grid.
  EXPECT_EQ(sel->MarkCoords(51), (TPoint{14 + 29 * 3, 14 + 29 * 6}));
}

TEST_F(MarkSelTest, NearestMarkPrefersTheLowestIndexOnTies) {
  EXPECT_EQ(sel->NearestMark(14, 14), 0);
  EXPECT_EQ(sel->NearestMark(43, 14), 1);
  EXPECT_EQ(sel->NearestMark(28, 14), 0);  // 14 from mark 0, 15 from mark 1
  EXPECT_EQ(sel->NearestMark(29, 14), 1);
  EXPECT_EQ(sel->NearestMark(-500, -500), 0);  // far outside every cell
}

TEST_F(MarkSelTest, ClickSelectsAndReportsTheNearestMark) {
  int reported = -1, count = 0;
  sel->SetOnMarkClick([&](TObject*, int, int, int Mark) {
    reported = Mark;
    ++count;
  });
  int dbl = -1;
  sel->SetOnMarkDblClick([&](TObject*, int, int, int Mark) { dbl = Mark; });
  host.Click(*sel, 14 + 29 * 2, 14 + 29);  // row 1, column 2: mark 10
  EXPECT_EQ(reported, 10);
  EXPECT_EQ(sel->Selected(), 10);
  EXPECT_EQ(count, 1);
  host.Click(*sel, 14, 14, mbRight);
  EXPECT_EQ(count, 1);
  host.DoubleClick(*sel, 14 + 29, 14);
  EXPECT_EQ(dbl, 1);
  EXPECT_EQ(sel->Selected(), 1);
  // The selected cell's box (outline in ColorSelFG from x - 14 + 3) under
  // the highlight box (from x - 14 + 4); moving away restores ColorSelBG.
  EXPECT_EQ(ShotPixel(14 + 29 - 14 + 3, 14), 0x800000);
  EXPECT_EQ(ShotPixel(14 + 29 - 14 + 4, 14 - 14 + 4), 0x0000FF);
  host.MouseMove(*form, 10 + 14 + 29 * 5, 10 + 14 + 29 * 3);
  EXPECT_EQ(ShotPixel(14 + 29 - 14 + 4, 14 - 14 + 4), 0xFFFFFF);
}

TEST_F(MarkSelTest, MouseMoveHighlightsTheNearestCell) {
  const int x = 14 + 29 * 3;
  const TColor before = ShotPixel(x - 14 + 4, 14 - 14 + 4);
  host.MouseMove(*form, 10 + 14 + 29 * 3, 10 + 14);  // mark 3
  EXPECT_EQ(sel->LastHiLite(), 3);
  EXPECT_EQ(ShotPixel(x - 14 + 4, 14 - 14 + 4), 0x0000FF);  // highlight box
  host.MouseMove(*form, 10 + 14 + 29 * 4, 10 + 14);
  EXPECT_EQ(sel->LastHiLite(), 4);
  EXPECT_EQ(ShotPixel(x - 14 + 4, 14 - 14 + 4), before);  // restored
}

TEST_F(MarkSelTest, DisabledSelectorDrawsInGreys) {
  sel->SetColorBackGnd(0x00FFFF);
  sel->SetColorMarks(0x0000FF);
  sel->SetSelected(1);
  sel->SetEnabled(false);
  TBitmap bmp(236, 178);
  sel->DrawMarks(bmp);
  EXPECT_EQ(bmp.Canvas()->Pixels(100, 100), 0xC0C0C0);
  EXPECT_EQ(bmp.Canvas()->Pixels(14 + 29 - 14 + 4, 4), 0xDEDEDE);  // selected box
  // The cross of mark 0 from (4, 4) toward (30, 30) in grey.
  EXPECT_EQ(bmp.Canvas()->Pixels(10, 10), 0x808080);
  for (int y = 0; y < 178; ++y)
    for (int x = 0; x < 236; ++x) ASSERT_NE(bmp.Canvas()->Pixels(x, y), 0x0000FF) << x << "," << y;
}

TEST_F(MarkSelTest, TinySizesPaintWithoutHarm) {
  int paints = 0;
  sel->SetOnPaint([&](TObject*) { ++paints; });
  for (int size : {1, 2, 3, 4, 5}) {
    sel->SetBounds(10, 10, size, size);
    sel->Repaint();
    host.MouseMove(*form, 10, 10);
    host.Click(*sel, 0, 0);
  }
  EXPECT_GT(paints, 0);
  EXPECT_GE(sel->Selected(), 0);
}

}  // namespace
}  // namespace vorn
