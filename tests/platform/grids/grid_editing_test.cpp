// The grid under demanding use: an always-shown editor keeping each cell's
// typing, handlers that change the grid's size, programmatic selections,
// Return in a dialog, the pick list in its own window, dividers after scrolling,
// and popup menus from the keyboard.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "vorn/platform/controls/dropdown.h"
#include "vorn/platform/grids/grids.h"
#include "vorn/platform/hosts/headless.h"
#include "vorn/platform/stdctrls/buttons.h"
#include "vorn/platform/stdctrls/menus.h"

namespace vorn {
namespace {

// Column 2 edits with a pick list of seven items.
class TListGrid : public TStringGrid {
 public:
  explicit TListGrid(TComponent* AOwner) : TStringGrid(AOwner) {}

 protected:
  TEditStyle GetEditStyle(int ACol, int) override { return ACol == 2 ? esPickList : esSimple; }
};

class GridEditingTest : public ::testing::Test {
 protected:
  TListGrid* Make(int FormWidth, int FormHeight, const TRect& Bounds, TGridOptions Extra) {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, FormWidth, FormHeight);
    auto* grid = new TListGrid(form.get());
    grid->SetParent(form.get());
    grid->SetBoundsRect(Bounds);
    grid->SetOptions(grid->Options() + Extra);
    form->Show();
    grid->SetFocus();
    return grid;
  }
  static void OfferSevenItems(TCustomGrid* Grid) {
    auto* list = dynamic_cast<TInplaceEditList*>(Grid->InplaceEditor());
    ASSERT_NE(list, nullptr);
    list->SetOnGetPickListItems([](int, int, std::vector<std::string>& Items) {
      for (int i = 0; i < 7; ++i) Items.push_back("item " + std::to_string(i));
    });
  }
  // The pick list's window while it is dropped down.
  static TDropDownWindow* DroppedList() { return TDropDownWindow::Current(); }

  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
};

TEST_F(GridEditingTest, AnAlwaysShownEditorKeepsWhatWasTypedIntoEachCell) {
  TListGrid* g = Make(400, 300, {10, 10, 350, 250}, {goEditing, goAlwaysShowEditor});
  ASSERT_TRUE(g->EditorMode());
  host.Type("A");
  host.PressKey(VK_DOWN);
  host.Type("B");
  host.PressKey(VK_UP);
  EXPECT_EQ(g->Cells(1, 1), "A");
  EXPECT_EQ(g->Cells(1, 2), "B");
  EXPECT_EQ(g->InplaceEditor()->EditRow(), 1);
  EXPECT_EQ(g->InplaceEditor()->Text(), "A");
  // A click on another cell moves the editor there, with the typing.
  const TRect target = g->CellRect(3, 3);
  host.Click(*g, target.Left + 5, target.Top + 5);
  EXPECT_EQ(g->Col(), 3);
  EXPECT_EQ(g->Row(), 3);
  ASSERT_TRUE(g->EditorMode());
  EXPECT_EQ(g->InplaceEditor()->EditCol(), 3);
  EXPECT_EQ(g->InplaceEditor()->EditRow(), 3);
  host.Type("C");
  EXPECT_EQ(g->Cells(1, 1), "A");
  // Return stores the text and the editor shows what was stored.
  host.PressKey(VK_RETURN);
  EXPECT_EQ(g->Cells(3, 3), "C");
  ASSERT_TRUE(g->EditorMode());
  EXPECT_EQ(g->InplaceEditor()->Text(), "C");
  EXPECT_TRUE(g->InplaceEditor()->Focused());
}

TEST_F(GridEditingTest, SizeChangesFromHandlersKeepCurrentCellAndSelectionValid) {
  TListGrid* g = Make(400, 300, {10, 10, 350, 250}, {goEditing});
  // An emptied cell deletes its row (the last one here).
  g->SetOnSetEditText([g](TObject*, int, int ARow, const std::string& Value) {
    if (Value.empty() && ARow == g->RowCount() - 1) g->SetRowCount(g->RowCount() - 1);
  });
  g->SetCells(1, 4, "x");
  g->SetRow(4);
  host.PressKey(VK_F1 + 1);
  host.PressKey(VK_BACK);
  g->SetCol(2);  // leaving the emptied cell deletes the row the move goes to
  EXPECT_EQ(g->RowCount(), 4);
  EXPECT_EQ(g->Row(), 3);
  EXPECT_EQ(g->Col(), 2);
  const TGridRect sel = g->Selection();
  EXPECT_LT(sel.Bottom, g->RowCount());
  EXPECT_GE(sel.Top, g->FixedRows());
  // The same by mouse: the clicked row is gone, nothing points outside.
  g->SetCells(2, 3, "y");
  host.PressKey(VK_F1 + 1);
  host.PressKey(VK_BACK);
  const TRect other = g->CellRect(3, 3);
  host.Click(*g, other.Left + 5, other.Top + 5);
  EXPECT_EQ(g->RowCount(), 3);
  EXPECT_LT(g->Row(), g->RowCount());
  EXPECT_LT(g->Selection().Bottom, g->RowCount());

  // OnSelectCell that deletes columns while agreeing to the move.
  g->SetOnSelectCell([g](TObject*, int ACol, int, bool&) {
    if (ACol == 4) g->SetColCount(3);
  });
  g->SetCol(4);
  EXPECT_EQ(g->ColCount(), 3);
  EXPECT_EQ(g->Col(), 2);
  EXPECT_LE(g->Selection().Right, 2);
}

TEST_F(GridEditingTest, ProgrammaticSelectionsAreClippedToTheNonFixedCells) {
  TListGrid* g = Make(400, 300, {10, 10, 350, 250}, {});
  g->SetSelection({-3, -3, 100, 100});
  EXPECT_EQ(g->Col(), 1);
  EXPECT_EQ(g->Row(), 1);
  EXPECT_EQ(g->Selection(), (TGridRect{1, 1, 4, 4}));
  g->SetSelection({0, 0, 0, 0});
  EXPECT_EQ(g->Selection(), (TGridRect{1, 1, 1, 1}));
}

TEST_F(GridEditingTest, ReturnOnAnEditableGridInADialogEditsAndNeverAlsoPressesTheDefaultButton) {
  TListGrid* g = Make(400, 300, {10, 10, 350, 200}, {goEditing});
  auto* ok = new TButton(form.get());
  ok->SetParent(form.get());
  ok->SetBounds(10, 260, 75, 25);
  ok->SetDefault(true);
  int okClicks = 0;
  ok->SetOnClick([&](TObject*) { ++okClicks; });
  g->SetFocus();
  host.PressKey(VK_RETURN);  // opens the editor
  EXPECT_TRUE(g->EditorMode());
  host.Type("v");
  host.PressKey(VK_RETURN);  // stores the text
  EXPECT_FALSE(g->EditorMode());
  EXPECT_EQ(g->Cells(1, 1), "v");
  EXPECT_EQ(okClicks, 0);
  // A grid that does not edit leaves Return to the dialog.
  g->SetOptions(g->Options() - TGridOptions{goEditing});
  host.PressKey(VK_RETURN);
  EXPECT_EQ(okClicks, 1);
  EXPECT_FALSE(g->EditorMode());
}

TEST_F(GridEditingTest, ThePickListIsAWindowBelowTheCellReachableOutsideTheForm) {
  TListGrid* g = Make(400, 120, {10, 10, 300, 100}, {goEditing});
  g->SetCol(2);
  host.PressKey(VK_F1 + 1);
  OfferSevenItems(g);
  host.PressKey(VK_F1 + 3);  // F4
  TDropDownWindow* window = DroppedList();
  ASSERT_NE(window, nullptr);
  TControl* editor = g->InplaceEditor();
  EXPECT_EQ(window->Left(), editor->ClientToScreen({0, 0}).X);
  EXPECT_EQ(window->Top(), editor->ClientToScreen({0, editor->Height()}).Y);
  // Seven rows, reaching below the grid and the form.
  EXPECT_GT(window->Top() + window->Height(), form->ClientToScreen({0, form->ClientHeight()}).Y);
  // The last item lies outside the form and still takes a click; the
  // editor keeps the keyboard throughout.
  TControl* list = window->Controls(0);
  const int itemHeight = (list->Height() - 2) / 7;
  host.Click(*list, 10, 1 + 6 * itemHeight + itemHeight / 2);
  EXPECT_EQ(g->InplaceEditor()->Text(), "item 6");
  EXPECT_EQ(DroppedList(), nullptr);
  EXPECT_TRUE(g->EditorMode());
  // A press elsewhere only closes the list.
  host.PressKey(VK_F1 + 3);
  ASSERT_NE(DroppedList(), nullptr);
  host.Click(*g, 5, 5);
  EXPECT_EQ(DroppedList(), nullptr);
  EXPECT_EQ(g->InplaceEditor()->Text(), "item 6");
}

TEST_F(GridEditingTest, ThePickListOpensAboveTheCellWhenTheScreenEndsBelow) {
  TListGrid* g = Make(400, 200, {10, 100, 310, 195}, {goEditing});
  form->SetTop(host.ScreenHeight() - 200);
  g->SetCol(2);
  g->SetRow(2);
  host.PressKey(VK_F1 + 1);
  OfferSevenItems(g);
  host.PressKey(VK_DOWN, {ssAlt});
  TDropDownWindow* window = DroppedList();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->Top() + window->Height(), g->InplaceEditor()->ClientToScreen({0, 0}).Y);
  // Escape closes it; the editor stays.
  host.PressKey(VK_ESCAPE);
  EXPECT_EQ(DroppedList(), nullptr);
  EXPECT_TRUE(g->EditorMode());
}

TEST_F(GridEditingTest, HeadingDividersCanBeDraggedAfterScrolling) {
  TListGrid* g = Make(400, 300, {10, 10, 300, 200}, {goColSizing, goRowSizing});
  g->SetColCount(30);
  g->SetRowCount(60);
  g->SetLeftCol(10);
  g->SetTopRow(20);
  host.Drag(*g, 64, 5, 90, 5);  // the heading column's right edge, in the heading row
  EXPECT_EQ(g->ColWidths(0), 90);
  host.Drag(*g, 5, 24, 5, 40);  // the heading row's bottom edge, in the heading column
  EXPECT_EQ(g->RowHeights(0), 40);
  EXPECT_EQ(g->ColWidths(10), 64);  // the scrolled columns keep their widths
}

TEST_F(GridEditingTest, TheMenuKeyOpensThePopupMenuAtTheCurrentCell) {
  TListGrid* g = Make(400, 300, {10, 10, 350, 250}, {});
  auto* menu = new TPopupMenu(form.get());
  g->SetPopupMenu(menu);
  TPoint at;
  int popups = 0;
  host.SetPopupHandler([&](TPopupMenu&, int X, int Y) {
    ++popups;
    at = {X, Y};
  });
  g->SetCol(3);
  g->SetRow(2);
  host.PressKey(VK_APPS);
  host.SetPopupHandler(nullptr);
  EXPECT_EQ(popups, 1);
  const TRect cell = g->CellRect(3, 2);
  EXPECT_EQ(at, g->ClientToScreen({cell.Left, cell.Bottom}));
}

TEST_F(GridEditingTest, HandlersThatDeleteTheGridWhileEditingAreSurvived) {
  TListGrid* g = Make(400, 300, {10, 10, 350, 250}, {goEditing});
  g->SetOnSetEditText([&](TObject*, int, int, const std::string&) {
    delete g;
    g = nullptr;
  });
  host.Type("bye");
  host.PressKey(VK_DOWN);
  EXPECT_EQ(g, nullptr);
  host.Type("x");  // the form goes on working

  g = Make(400, 300, {10, 10, 350, 250}, {goEditing});
  g->SetOnKeyPress([&](TObject*, char32_t& Key) {
    if (Key == 'q') {
      delete g;
      g = nullptr;
    }
  });
  host.Type("aq");  // the editor hands the character to the grid first
  EXPECT_EQ(g, nullptr);

  g = Make(400, 300, {10, 10, 350, 250}, {goEditing});
  g->SetOnGetEditText([&](TObject*, int, int, std::string&) {
    delete g;
    g = nullptr;
  });
  host.PressKey(VK_F1 + 1);
  EXPECT_EQ(g, nullptr);
}

}  // namespace
}  // namespace vorn
