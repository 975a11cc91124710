// A grid deleted by its own handler: OnTopLeftChanged reached from every
// kind of scrolling and size change, OnColumnMoved and OnRowMoved, and
// OnDrawCell in the middle of a paint. Nothing may touch the grid after
// the handler returns (AddressSanitizer checks), and the form goes on.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "vorn/platform/grids/grids.h"
#include "vorn/platform/hosts/headless.h"

namespace vorn {
namespace {

constexpr int GridW = 300;
constexpr int GridH = 200;
constexpr int Bar = TCustomGrid::ScrollBarSize;

class GridDeletionTest : public ::testing::Test {
 protected:
  // 20 columns and 50 rows in a grid with both scroll bars, its
  // OnTopLeftChanged deleting it.
  TStringGrid* Make(TGridOptions Extra = {}) {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
    grid = new TStringGrid(form.get());
    grid->SetParent(form.get());
    grid->SetBounds(10, 10, GridW, GridH);
    grid->SetColCount(20);
    grid->SetRowCount(50);
    grid->SetOptions(grid->Options() + Extra);
    form->Show();
    grid->SetFocus();
    return grid;
  }
  void DeleteOnTopLeftChanged() {
    grid->SetOnTopLeftChanged([this](TObject*) { DeleteGrid(); });
  }
  void DeleteGrid() {
    delete grid;
    grid = nullptr;
  }
  // The grid is gone and the form still paints and takes keys.
  void ExpectGoneAndFormAlive() {
    EXPECT_EQ(grid, nullptr);
    EXPECT_EQ(form->ControlCount(), 0);
    EXPECT_NE(host.Snapshot(*form), nullptr);
    host.PressKey(VK_DOWN);
  }
  // Scrolled to the last rows and columns, quietly.
  void ScrollToTheEnd() {
    grid->SetTopRow(grid->RowCount());
    grid->SetLeftCol(grid->ColCount());
  }

  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
  TStringGrid* grid = nullptr;
};

TEST_F(GridDeletionTest, OnTopLeftChangedFromScrollingByProgramAndKeys) {
  const std::function<void(TStringGrid&)> scrolls[] = {
      [](TStringGrid& g) { g.SetTopRow(10); },
      [](TStringGrid& g) { g.SetLeftCol(5); },
      [](TStringGrid& g) { g.FocusCell(15, 40, true); },
      [this](TStringGrid&) { host.PressKey(VK_NEXT); },
      [this](TStringGrid&) { host.PressKey(VK_END, {ssCtrl}); },
  };
  for (const auto& scroll : scrolls) {
    Make();
    DeleteOnTopLeftChanged();
    scroll(*grid);
    ExpectGoneAndFormAlive();
  }
}

TEST_F(GridDeletionTest, OnTopLeftChangedFromSizeChangesThatPullTheTopLeftBack) {
  const std::function<void(TStringGrid&)> changes[] = {
      [](TStringGrid& g) { g.SetRowCount(3); },
      [](TStringGrid& g) { g.SetColCount(2); },
      [](TStringGrid& g) { g.SetDefaultRowHeight(2); },
      [](TStringGrid& g) { g.SetDefaultColWidth(2); },
      [](TStringGrid& g) { g.SetRowHeights(49, 0); },
      [](TStringGrid& g) { g.SetColWidths(19, 0); },
      [](TStringGrid& g) { g.SetBounds(10, 10, GridW + 60, GridH + 60); },
      [](TStringGrid& g) { g.SetScrollBars(ssNone); },
  };
  for (const auto& change : changes) {
    Make();
    ScrollToTheEnd();
    DeleteOnTopLeftChanged();
    change(*grid);
    ExpectGoneAndFormAlive();
  }
}

TEST_F(GridDeletionTest, OnTopLeftChangedFromScrollBarClicksAndThumbDrags) {
  // The down arrow of the vertical bar, and the right arrow of the other.
  Make();
  DeleteOnTopLeftChanged();
  host.Click(*grid, GridW - Bar / 2, GridH - Bar - Bar / 2);
  ExpectGoneAndFormAlive();

  Make();
  DeleteOnTopLeftChanged();
  host.Click(*grid, GridW - Bar - Bar / 2, GridH - Bar / 2);
  ExpectGoneAndFormAlive();

  // The thumb dropped further down, and dragged with live tracking.
  for (const bool tracking : {false, true}) {
    Make(tracking ? TGridOptions{goThumbTracking} : TGridOptions{});
    DeleteOnTopLeftChanged();
    host.Drag(*grid, GridW - Bar / 2, Bar + 3, GridW - Bar / 2, GridH / 2);
    ExpectGoneAndFormAlive();
  }
}

TEST_F(GridDeletionTest, OnColumnMovedAndOnRowMoved) {
  Make({goColMoving, goRowMoving, goEditing, goAlwaysShowEditor});
  grid->SetOnColumnMoved([this](TObject*, int, int) { DeleteGrid(); });
  const TRect from = grid->CellRect(1, 0);
  const TRect to = grid->CellRect(3, 0);
  host.Drag(*grid, from.Left + 5, 5, to.Left + 5, 5);
  ExpectGoneAndFormAlive();

  Make({goColMoving, goRowMoving});
  grid->SetOnRowMoved([this](TObject*, int, int) { DeleteGrid(); });
  const TRect rowFrom = grid->CellRect(0, 1);
  const TRect rowTo = grid->CellRect(0, 4);
  host.Drag(*grid, 5, rowFrom.Top + 5, 5, rowTo.Top + 5);
  ExpectGoneAndFormAlive();

  // By program, with the editor open (closing it comes first).
  Make({goEditing, goAlwaysShowEditor});
  ASSERT_TRUE(grid->EditorMode());
  grid->SetOnRowMoved([this](TObject*, int, int) { DeleteGrid(); });
  grid->MoveRow(2, 7);
  ExpectGoneAndFormAlive();
}

TEST_F(GridDeletionTest, OnDrawCellThatDeletesTheGridStopsThePaint) {
  Make();
  int calls = 0;
  grid->SetOnDrawCell([&](TObject*, int, int, const TRect&, TGridDrawState) {
    ++calls;
    DeleteGrid();
  });
  EXPECT_NE(host.Snapshot(*form), nullptr);
  EXPECT_EQ(calls, 1);
  ExpectGoneAndFormAlive();

  // A later cell, with default drawing off.
  Make();
  grid->SetDefaultDrawing(false);
  calls = 0;
  grid->SetOnDrawCell([&](TObject*, int ACol, int ARow, const TRect&, TGridDrawState) {
    ++calls;
    if (ACol == 2 && ARow == 3) DeleteGrid();
  });
  EXPECT_NE(host.Snapshot(*form), nullptr);
  EXPECT_EQ(grid, nullptr);
  const int atDeletion = calls;
  EXPECT_NE(host.Snapshot(*form), nullptr);
  EXPECT_EQ(calls, atDeletion);
}

}  // namespace
}  // namespace vorn
