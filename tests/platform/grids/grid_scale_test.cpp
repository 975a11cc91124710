// A grid of a million rows with hidden rows: mapping, scrolling by keys,
// wheel and scroll bar pass over hidden rows; painting stays with what shows.
#include <gtest/gtest.h>

#include <memory>

#include "vorn/platform/grids/grids.h"
#include "vorn/platform/hosts/headless.h"

namespace vorn {
namespace {

class TDrawCountGrid : public TDrawGrid {
 public:
  explicit TDrawCountGrid(TComponent* AOwner) : TDrawGrid(AOwner) {}
  int Draws = 0;

 protected:
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override {
    ++Draws;
    TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
  }
};

class GridScaleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 440, 260);
    grid = new TDrawCountGrid(form.get());
    grid->SetParent(form.get());
    grid->SetBounds(10, 10, 400, 200);  // 24-pixel rows with a line: 8 rows show
    grid->SetRowCount(1'000'001);
    form->Show();
    grid->SetFocus();
  }
  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
  TDrawCountGrid* grid = nullptr;
};

TEST_F(GridScaleTest, HiddenRowsTakeNoPixelsAndAreSkippedByTheHitTest) {
  for (int r = 2; r <= 5; ++r) grid->SetRowHeights(r, 0);
  EXPECT_EQ(grid->CellRect(1, 6).Top, 50);  // right below row 1
  EXPECT_EQ(grid->MouseCoord(70, 55).Y, 6);
  EXPECT_TRUE(grid->CellRect(1, 3).IsEmpty());
  EXPECT_EQ(grid->VisibleRowCount(), 7);
}

TEST_F(GridScaleTest, KeysWheelAndBarPassOverHiddenRows) {
  for (int r = 2; r <= 100'000; ++r) grid->SetRowHeights(r, 0);
  grid->SetRow(1);
  host.PressKey(VK_DOWN);
  EXPECT_EQ(grid->Row(), 100'001);
  host.PressKey(VK_UP);
  EXPECT_EQ(grid->Row(), 1);
  EXPECT_EQ(grid->TopRow(), 1);
  host.PressKey(VK_NEXT);
  EXPECT_GT(grid->TopRow(), 100'000);
  host.PressKey(VK_PRIOR);
  EXPECT_EQ(grid->TopRow(), 1);
  grid->SetTopRow(2);  // a hidden row: the next shown one comes to the top
  EXPECT_EQ(grid->TopRow(), 100'001);
  grid->SetTopRow(grid->TopRow() - 1);  // and back over the hidden run
  EXPECT_EQ(grid->TopRow(), 1);
  host.PressKey(VK_END, {ssCtrl});
  EXPECT_EQ(grid->Row(), 1'000'000);
  EXPECT_FALSE(grid->CellRect(1, 1'000'000).IsEmpty());
  host.PressKey(VK_HOME, {ssCtrl});
  EXPECT_EQ(grid->Row(), 1);
}

TEST_F(GridScaleTest, PaintingDrawsOnlyTheVisibleCells) {
  for (int r = 600'001; r < 800'000; r += 2) grid->SetRowHeights(r, 0);
  grid->SetTopRow(700'000);
  grid->Draws = 0;
  (void)host.Snapshot(*grid);
  EXPECT_GT(grid->Draws, 0);
  EXPECT_LE(grid->Draws, 5 * 10);
  EXPECT_LT(grid->SizeStorageBytes(), 32u * 1'000'000u);  // the exceptions only, no per-row array beyond them
}

}  // namespace
}  // namespace vorn
