// The grids: geometry, navigation, scrolling, painting only what shows,
// sizing by mouse and in-place editing, driven through the headless host.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "vorn/platform/grids/grids.h"
#include "vorn/platform/hosts/headless.h"

namespace vorn {
namespace {

// A draw grid that counts its hooks.
class TCountingGrid : public TDrawGrid {
 public:
  explicit TCountingGrid(TComponent* AOwner) : TDrawGrid(AOwner) {}
  int Draws = 0;
  int TopLeftChanges = 0;
  int WidthChanges = 0;
  std::vector<TGridCoord> Drawn;

 protected:
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override {
    ++Draws;
    Drawn.push_back({ACol, ARow});
    TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
  }
  void TopLeftChanged() override {
    ++TopLeftChanges;
    TDrawGrid::TopLeftChanged();
  }
  void ColWidthsChanged() override { ++WidthChanges; }
};

// A string grid whose third column edits with a pick list.
class TPickGrid : public TStringGrid {
 public:
  explicit TPickGrid(TComponent* AOwner) : TStringGrid(AOwner) {}

 protected:
  TEditStyle GetEditStyle(int ACol, int) override { return ACol == 2 ? esPickList : esSimple; }
};

class GridTest : public ::testing::Test {
 protected:
  template <typename T>
  T* Make(int Width, int Height) {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, Width + 40, Height + 40);
    auto* grid = new T(form.get());
    grid->SetParent(form.get());
    grid->SetBounds(10, 10, Width, Height);
    form->Show();
    grid->SetFocus();
    return grid;
  }
  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
};

// ---- geometry -----------------------------------------------------------------------------

TEST_F(GridTest, CellRectAndMouseCoordFollowWidthsLinesAndFixedCells) {
  auto* g = Make<TCountingGrid>(400, 200);
  EXPECT_FALSE(g->VertScrollBarVisible());
  EXPECT_EQ(g->CellRect(0, 0), (TRect{0, 0, 64, 24}));
  EXPECT_EQ(g->CellRect(1, 1), (TRect{65, 25, 129, 49}));
  g->SetColWidths(1, 30);
  g->SetRowHeights(2, 10);
  EXPECT_EQ(g->CellRect(2, 3), (TRect{96, 61, 160, 85}));
  EXPECT_EQ(g->MouseCoord(96, 61), (TGridCoord{2, 3}));
  EXPECT_EQ(g->MouseCoord(95, 60), (TGridCoord{1, 2}));  // the line belongs to the cell before it
  EXPECT_EQ(g->MouseCoord(399, 10), (TGridCoord{-1, -1}));  // right of the last column
  EXPECT_EQ(g->MouseCoord(-1, 10), (TGridCoord{-1, -1}));
  EXPECT_EQ(g->GridWidth(), 65 + 31 + 3 * 65);
  EXPECT_TRUE(g->CellRect(5, 1).IsEmpty());
  EXPECT_TRUE(g->CellRect(-1, 1).IsEmpty());
}

TEST_F(GridTest, ScrollingMovesOnlyTheNonFixedCells) {
  auto* g = Make<TCountingGrid>(300, 200);
  g->SetRowCount(100);
  g->SetColCount(20);
  EXPECT_TRUE(g->VertScrollBarVisible());
  EXPECT_TRUE(g->HorzScrollBarVisible());
  g->SetTopRow(10);
  g->SetLeftCol(4);
  EXPECT_EQ(g->TopRow(), 10);
  EXPECT_EQ(g->LeftCol(), 4);
  EXPECT_TRUE(g->CellRect(1, 5).IsEmpty());
  EXPECT_TRUE(g->CellRect(2, 10).IsEmpty());
  EXPECT_EQ(g->CellRect(4, 10), (TRect{65, 25, 129, 49}));
  EXPECT_EQ(g->CellRect(0, 10), (TRect{0, 25, 64, 49}));  // fixed column stays
  EXPECT_EQ(g->CellRect(4, 0), (TRect{65, 0, 129, 24}));  // fixed row stays
  EXPECT_EQ(g->MouseCoord(70, 30), (TGridCoord{4, 10}));
  EXPECT_EQ(g->MouseCoord(10, 30), (TGridCoord{0, 10}));
  // The bars' area is outside the cells.
  EXPECT_EQ(g->MouseCoord(295, 30), (TGridCoord{-1, -1}));
  // Scrolling past the end stops where the last row is at the bottom.
  g->SetTopRow(1000);
  const int last = g->TopRow() + g->VisibleRowCount() - 1;
  EXPECT_EQ(last, 99);
  EXPECT_FALSE(g->CellRect(4, 99).IsEmpty());
}

// ---- keyboard -------------------------------------------------------------------------------

TEST_F(GridTest, ArrowsHomeEndAndPagesMoveTheCurrentCell) {
  auto* g = Make<TCountingGrid>(400, 200);
  g->SetColCount(6);
  g->SetRowCount(50);
  host.PressKey(VK_DOWN);
  host.PressKey(VK_RIGHT);
  EXPECT_EQ(g->Col(), 2);
  EXPECT_EQ(g->Row(), 2);
  host.PressKey(VK_END);
  EXPECT_EQ(g->Col(), 5);
  host.PressKey(VK_HOME);
  EXPECT_EQ(g->Col(), 1);
  host.PressKey(VK_UP);
  host.PressKey(VK_UP);  // stops at the first non-fixed row
  EXPECT_EQ(g->Row(), 1);
  host.PressKey(VK_NEXT);
  EXPECT_EQ(g->Row(), 1 + g->VisibleRowCount());
  host.PressKey(VK_END, {ssCtrl});
  EXPECT_EQ(g->Col(), 5);
  EXPECT_EQ(g->Row(), 49);
  host.PressKey(VK_HOME, {ssCtrl});
  EXPECT_EQ(g->Col(), 1);
  EXPECT_EQ(g->Row(), 1);
  EXPECT_EQ(g->TopRow(), 1);
}

TEST_F(GridTest, ShiftArrowsSelectARangeOnlyWithRangeSelect) {
  auto* g = Make<TCountingGrid>(400, 200);
  host.PressKey(VK_RIGHT, {ssShift});
  host.PressKey(VK_DOWN, {ssShift});
  EXPECT_EQ(g->Selection(), (TGridRect{1, 1, 2, 2}));
  host.PressKey(VK_DOWN);
  EXPECT_EQ(g->Selection(), (TGridRect{2, 3, 2, 3}));
  g->SetOptions(g->Options() - TGridOptions{goRangeSelect});
  host.PressKey(VK_UP, {ssShift});
  EXPECT_EQ(g->Selection(), (TGridRect{2, 2, 2, 2}));
  g->SetOptions(g->Options() + TGridOptions{goRowSelect});
  EXPECT_EQ(g->Selection(), (TGridRect{1, 2, 4, 2}));
}

TEST_F(GridTest, TabMovesAlongTheRowOnlyWithGoTabs) {
  auto* g = Make<TCountingGrid>(400, 200);
  g->SetOptions(g->Options() + TGridOptions{goTabs});
  for (int i = 0; i < 4; ++i) host.PressKey(VK_TAB);
  EXPECT_EQ(g->Col(), 1);  // wrapped to the next row
  EXPECT_EQ(g->Row(), 2);
  host.PressKey(VK_TAB, {ssShift});
  EXPECT_EQ(g->Col(), 4);
  EXPECT_EQ(g->Row(), 1);
}

TEST_F(GridTest, SelectCellCanRefuseAMove) {
  auto* g = Make<TCountingGrid>(400, 200);
  g->SetOnSelectCell([](TObject*, int, int ARow, bool& CanSelect) { CanSelect = ARow != 2; });
  host.PressKey(VK_DOWN);
  EXPECT_EQ(g->Row(), 1);
  g->SetRow(3);
  EXPECT_EQ(g->Row(), 3);
}

// ---- scrolling ------------------------------------------------------------------------------

TEST_F(GridTest, MovingTheCurrentCellScrollsItIntoViewAndReportsTheScroll) {
  auto* g = Make<TCountingGrid>(300, 200);
  g->SetRowCount(1000);
  g->SetColCount(30);
  int events = 0;
  g->SetOnTopLeftChanged([&events](TObject*) { ++events; });
  for (int i = 0; i < 40; ++i) host.PressKey(VK_DOWN);
  EXPECT_EQ(g->Row(), 41);
  EXPECT_FALSE(g->CellRect(g->Col(), g->Row()).IsEmpty());
  EXPECT_EQ(g->TopRow() + g->VisibleRowCount() - 1, 41);  // the row sits at the bottom
  for (int i = 0; i < 10; ++i) host.PressKey(VK_RIGHT);
  EXPECT_FALSE(g->CellRect(g->Col(), g->Row()).IsEmpty());
  EXPECT_GT(g->LeftCol(), 1);
  host.PressKey(VK_END, {ssCtrl});
  EXPECT_FALSE(g->CellRect(29, 999).IsEmpty());
  host.PressKey(VK_HOME, {ssCtrl});
  EXPECT_EQ(g->TopRow(), 1);
  EXPECT_EQ(g->LeftCol(), 1);
  EXPECT_GT(events, 3);
  EXPECT_EQ(events, g->TopLeftChanges);
}

TEST_F(GridTest, ScrollBarArrowsTrackAndThumbScrollWithoutMovingTheCurrentCell) {
  auto* g = Make<TCountingGrid>(300, 200);
  g->SetRowCount(500);
  const int barX = 300 - TCustomGrid::ScrollBarSize / 2;
  host.Click(*g, barX, 200 - TCustomGrid::ScrollBarSize - 4);  // down arrow
  EXPECT_EQ(g->TopRow(), 2);
  host.Click(*g, barX, 4);  // up arrow
  EXPECT_EQ(g->TopRow(), 1);
  host.Click(*g, barX, 150);  // the track below the thumb: a page
  EXPECT_EQ(g->TopRow(), 1 + g->VisibleRowCount());
  g->SetTopRow(1);
  host.Drag(*g, barX, TCustomGrid::ScrollBarSize + 3, barX, 400);  // thumb to the end
  EXPECT_EQ(g->TopRow() + g->VisibleRowCount() - 1, 499);
  EXPECT_EQ(g->Row(), 1);
}

TEST_F(GridTest, TheWheelMovesTheCurrentRowByNotchesTimesLinesPerNotch) {
  auto* g = Make<TCountingGrid>(300, 200);
  g->SetRowCount(100);
  host.Wheel(*g, 100, 100, -WHEEL_DELTA);
  host.Wheel(*g, 100, 100, -WHEEL_DELTA);
  EXPECT_EQ(g->Row(), 1 + 2 * 3);
  host.Wheel(*g, 100, 100, WHEEL_DELTA);
  EXPECT_EQ(g->Row(), 4);
  // One event of three notches is three notches.
  host.Wheel(*g, 100, 100, -3 * WHEEL_DELTA);
  EXPECT_EQ(g->Row(), 13);
  // Parts of a notch add up; a part alone moves nothing.
  host.Wheel(*g, 100, 100, -WHEEL_DELTA / 3);
  EXPECT_EQ(g->Row(), 13);
  host.Wheel(*g, 100, 100, -WHEEL_DELTA / 3);
  host.Wheel(*g, 100, 100, -WHEEL_DELTA / 3);
  EXPECT_EQ(g->Row(), 16);
  // A turn the other way starts afresh.
  host.Wheel(*g, 100, 100, -WHEEL_DELTA / 2);
  host.Wheel(*g, 100, 100, WHEEL_DELTA / 2);
  EXPECT_EQ(g->Row(), 16);
  SetWheelScrollLines(1);
  host.Wheel(*g, 100, 100, -WHEEL_DELTA);
  SetWheelScrollLines(3);
  EXPECT_EQ(g->Row(), 17);
}

// ---- painting -------------------------------------------------------------------------------

TEST_F(GridTest, OnlyVisibleCellsAreDrawnEvenWithAMillionRows) {
  auto* g = Make<TCountingGrid>(400, 300);
  g->SetColCount(50);
  g->SetRowCount(1000000);
  g->Draws = 0;
  g->Repaint();
  // 300 px hold 13 rows of 25 px, 400 px 7 columns of 65 px (partly visible included).
  const int bound = (g->VisibleColCount() + 2) * (g->VisibleRowCount() + 2);
  EXPECT_GT(g->Draws, 0);
  EXPECT_LE(g->Draws, bound);
  host.PressKey(VK_END, {ssCtrl});
  g->Draws = 0;
  g->Drawn.clear();
  g->Repaint();
  EXPECT_LE(g->Draws, bound);
  bool lastDrawn = false;
  for (const TGridCoord& c : g->Drawn) lastDrawn = lastDrawn || (c.X == 49 && c.Y == 999999);
  EXPECT_TRUE(lastDrawn);
}

TEST_F(GridTest, FixedAndSelectedCellsAreFilledWithTheirColours) {
  auto* g = Make<TStringGrid>(400, 200);
  g->SetFixedColor(clYellow);
  g->SetColor(clWhite);
  host.PressKey(VK_DOWN, {ssShift});  // selects (1,1)-(1,2); the focus moves to (1,2)
  auto shot = host.Snapshot(*g);
  EXPECT_EQ(shot->Canvas()->Pixels(30, 12), clYellow);
  EXPECT_EQ(shot->Canvas()->Pixels(100, 40), ColorToRGB(clHighlight));
  EXPECT_EQ(shot->Canvas()->Pixels(100, 60), ColorToRGB(clWhite));  // focused: not filled
  EXPECT_EQ(shot->Canvas()->Pixels(200, 60), ColorToRGB(clWhite));
}

TEST_F(GridTest, TheBackgroundShowsWhereNeitherCellsNorLinesPaint) {
  auto* g = Make<TCountingGrid>(400, 200);
  g->SetColCount(4);
  g->SetRowCount(5);
  g->SetColor(0x00FF00);
  constexpr TColor marker = 0x5A3C1E;
  // Paints the grid straight over a marker; counts marker pixels left in it.
  auto markerLeft = [&] {
    TCanvas& c = *form->Canvas();
    c.Brush()->SetColor(marker);
    c.FillRect(form->ClientRect());
    g->Paint();
    int left = 0;
    for (int y = 10; y < 210; ++y) {
      for (int x = 10; x < 410; ++x) left += c.Pixels(x, y) == marker ? 1 : 0;
    }
    return left;
  };
  auto at = [&](int X, int Y) { return form->Canvas()->Pixels(10 + X, 10 + Y); };
  const int right = g->GridWidth();
  EXPECT_EQ(markerLeft(), 0);
  EXPECT_EQ(at(right + 5, 20), 0x00FF00);  // beyond the last column
  EXPECT_EQ(at(20, g->GridHeight() + 5), 0x00FF00);
  TGridOptions options = g->Options();
  options.Exclude(goVertLine);
  g->SetOptions(options);
  EXPECT_EQ(markerLeft(), 0);
  const TRect cell = g->CellRect(1, 2);
  EXPECT_EQ(at(cell.Right, cell.Top + 3), 0x00FF00);  // where the line would be
  options.Include(goVertLine);
  options.Exclude(goFixedHorzLine);
  g->SetOptions(options);
  EXPECT_EQ(markerLeft(), 0);
  options.Include(goFixedHorzLine);
  g->SetOptions(options);
  g->SetGridLineWidth(3);
  g->SetColWidths(2, 0);  // hidden: no line of its own
  g->SetRowCount(40);
  g->SetTopRow(7);
  EXPECT_EQ(markerLeft(), 0);
  g->SetDefaultDrawing(false);  // the cells are left to DrawCell, which draws nothing here
  EXPECT_EQ(markerLeft(), 0);
  const TRect empty = g->CellRect(3, 9);
  EXPECT_EQ(at(empty.Left + 3, empty.Top + 3), 0x00FF00);
}

// ---- sizing and moving --------------------------------------------------------------------

TEST_F(GridTest, DraggingAFixedDividerSizesTheColumnWithColSizingOnly) {
  auto* g = Make<TCountingGrid>(400, 200);
  host.Drag(*g, 129, 10, 159, 10);  // divider right of column 1
  EXPECT_EQ(g->ColWidths(1), 64);
  g->SetOptions(g->Options() + TGridOptions{goColSizing});
  host.Drag(*g, 129, 10, 159, 10);
  EXPECT_EQ(g->ColWidths(1), 94);
  EXPECT_GT(g->WidthChanges, 0);
  host.Drag(*g, 159, 10, 0, 10);  // never below nothing
  EXPECT_EQ(g->ColWidths(1), 0);
  host.Drag(*g, 65, 10, 100, 10);  // the zero-width column opens again
  EXPECT_EQ(g->ColWidths(1), 35);
  g->SetOptions(g->Options() + TGridOptions{goRowSizing});
  host.Drag(*g, 10, 49, 10, 69);  // divider below row 1, in the fixed column
  EXPECT_EQ(g->RowHeights(1), 44);
}

TEST_F(GridTest, MovingAColumnCarriesItsTextsAndWidth) {
  auto* g = Make<TStringGrid>(400, 200);
  for (int c = 0; c < 5; ++c) g->SetCells(c, 1, std::to_string(c));
  g->SetColWidths(1, 40);
  g->MoveColumn(1, 3);
  EXPECT_EQ(g->Rows(1), (std::vector<std::string>{"0", "2", "3", "1", "4"}));
  EXPECT_EQ(g->ColWidths(3), 40);
  g->SetOptions(g->Options() + TGridOptions{goRowMoving});
  g->SetCells(0, 2, "two");
  host.Drag(*g, 10, 60, 10, 30);  // row 2 dragged onto row 1 by its fixed cell
  EXPECT_EQ(g->Cells(0, 1), "two");
  EXPECT_EQ(g->Cells(3, 2), "1");
}

TEST_F(GridTest, ShrinkingDropsCellsAndKeepsTheCurrentCellInside) {
  auto* g = Make<TStringGrid>(400, 200);
  g->SetRowCount(10);
  g->SetCells(3, 8, "gone");
  g->SetCells(1, 1, "kept");
  g->SetRow(8);
  g->SetRowCount(4);
  EXPECT_EQ(g->Row(), 3);
  g->SetRowCount(10);
  EXPECT_EQ(g->Cells(3, 8), "");
  EXPECT_EQ(g->Cells(1, 1), "kept");
  g->SetCells(99, 1, "ignored");
  EXPECT_EQ(g->Cells(99, 1), "");
  g->SetColWidths(99, 10);
  EXPECT_EQ(g->ColWidths(99), 0);
  g->SetFixedRows(50);  // kept below RowCount
  EXPECT_EQ(g->FixedRows(), 9);
}

// ---- editing --------------------------------------------------------------------------------

class GridEditTest : public GridTest {
 protected:
  void SetUp() override {
    grid = Make<TPickGrid>(400, 200);
    grid->SetOptions(grid->Options() + TGridOptions{goEditing});
    grid->SetCells(1, 1, "old");
  }
  TPickGrid* grid = nullptr;
};

TEST_F(GridEditTest, TypingOpensTheEditorAndEnterCommits) {
  host.Type("new");
  ASSERT_TRUE(grid->EditorMode());
  EXPECT_EQ(grid->InplaceEditor()->Text(), "new");
  EXPECT_EQ(grid->Cells(1, 1), "old");
  host.PressKey(VK_RETURN);
  EXPECT_FALSE(grid->EditorMode());
  EXPECT_EQ(grid->Cells(1, 1), "new");
  EXPECT_TRUE(grid->Focused());
}

TEST_F(GridEditTest, EscapeDiscardsTheTypedText) {
  host.PressKey(VK_F1 + 1);  // F2 opens with the cell's text
  ASSERT_TRUE(grid->EditorMode());
  EXPECT_EQ(grid->InplaceEditor()->Text(), "old");
  host.Type("xyz");
  host.PressKey(VK_ESCAPE);
  EXPECT_FALSE(grid->EditorMode());
  EXPECT_EQ(grid->Cells(1, 1), "old");
  host.PressKey(VK_DOWN);  // keys reach the grid again
  EXPECT_EQ(grid->Row(), 2);
}

TEST_F(GridEditTest, ArrowsCommitAndMove) {
  host.Type("a");
  host.PressKey(VK_DOWN);
  EXPECT_EQ(grid->Cells(1, 1), "a");
  EXPECT_EQ(grid->Row(), 2);
  host.Type("b");
  host.PressKey(VK_RIGHT);  // caret at the end: leaves the cell
  EXPECT_EQ(grid->Cells(1, 2), "b");
  EXPECT_EQ(grid->Col(), 2);
}

TEST_F(GridEditTest, ClickingTheCurrentCellAgainOpensTheEditorOverIt) {
  grid->SetCells(2, 1, "two");
  host.Click(*grid, 150, 40);
  EXPECT_FALSE(grid->EditorMode());
  host.Click(*grid, 150, 40);
  ASSERT_TRUE(grid->EditorMode());
  EXPECT_EQ(grid->InplaceEditor()->BoundsRect(), grid->CellRect(2, 1));
  host.Click(*grid, 200, 70);  // another cell: the editor closes, the text is unchanged
  EXPECT_FALSE(grid->EditorMode());
  EXPECT_EQ(grid->Cells(2, 1), "two");
  EXPECT_EQ(grid->Col(), 3);
}

TEST_F(GridEditTest, EditorIsNotOpenedWithoutGoEditing) {
  grid->SetOptions(grid->Options() - TGridOptions{goEditing});
  host.Type("x");
  host.PressKey(VK_F1 + 1);
  EXPECT_FALSE(grid->EditorMode());
  EXPECT_EQ(grid->Cells(1, 1), "old");
}

TEST_F(GridEditTest, PickListOffersItemsBelowTheCell) {
  grid->SetCol(2);
  host.PressKey(VK_F1 + 1);
  auto* list = dynamic_cast<TInplaceEditList*>(grid->InplaceEditor());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->EditStyle(), esPickList);
  list->SetOnGetPickListItems([](int ACol, int ARow, std::vector<std::string>& Items) {
    Items = {"alpha", "beta", "col " + std::to_string(ACol) + " row " + std::to_string(ARow)};
  });
  host.PressKey(VK_DOWN, {ssAlt});
  ASSERT_TRUE(list->ListVisible());
  EXPECT_EQ(list->PickItems().back(), "col 2 row 1");
  host.PressKey(VK_DOWN);
  host.PressKey(VK_RETURN);  // takes the item, editing goes on
  EXPECT_FALSE(list->ListVisible());
  EXPECT_TRUE(grid->EditorMode());
  EXPECT_EQ(list->Text(), "beta");
  host.PressKey(VK_RETURN);
  EXPECT_EQ(grid->Cells(2, 1), "beta");
}

TEST_F(GridEditTest, DestroyingTheGridWhileEditingIsSafe) {
  host.Type("pending");
  ASSERT_TRUE(grid->EditorMode());
  delete grid;
  grid = nullptr;
  host.PressKey(VK_DOWN);
  SUCCEED();
}

}  // namespace
}  // namespace vorn
