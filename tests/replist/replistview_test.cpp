// The report list view: setup and coordinates, drawing checked pixel by
// pixel, mouse and keys through the headless host, and filtering.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "vorn/platform/hosts/headless.h"
#include "vorn/replist/replistview.h"

namespace vorn {
namespace {

constexpr int HeadH = 20;  // column header row
constexpr int RowH = 24;   // the grid's default row height
constexpr int ColW = 64;

// Top of data row R (1-based) with one header row: header, its line, rows
// each followed by a line.
int RowTop(int R) { return HeadH + 1 + (R - 1) * (RowH + 1); }
int ColLeft(int C) { return (C - 1) * (ColW + 1); }

class ReportListViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 440, 300);
    view = new TReportListView(form.get());
    view->SetParent(form.get());
    view->SetBounds(10, 10, 400, 250);
    form->Show();
    view->SetFocus();
  }
  [[nodiscard]] TColor At(int X, int Y) {
    auto shot = host.Snapshot(*view);
    return shot->Canvas()->Pixels(X, Y);
  }
  static TColor Rgb(TColor C) { return ColorToRGB(C); }

  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
  TReportListView* view = nullptr;
};

// ---- setup and coordinates ----------------------------------------------------------------

TEST_F(ReportListViewTest, NewViewAndHeaderRows) {
  EXPECT_EQ(view->NrOfColumns(), 5);
  EXPECT_EQ(view->NrOfRows(), 4);
  EXPECT_EQ(view->Header(1), "C-1");
  EXPECT_EQ(view->Header(5), "C-5");
  EXPECT_EQ(view->CountHeadRows(), 1);
  EXPECT_EQ(view->RowHeights(0), 20);
  EXPECT_FALSE(view->SuppressPaint());
  view->SetCommonHeaderVisible(true);
  EXPECT_EQ(view->FixedRows(), 2);
  EXPECT_EQ(view->RowCount(), 6);
  view->SetCommonHeaderVisible(false);
  view->SetColumnHeadersVisible(false);
  EXPECT_EQ(view->FixedRows(), 0);
  view->SetCommonHeaderHeight(3);
  EXPECT_EQ(view->CommonHeaderHeight(), 8);
  view->SetColumnHeadersHeight(500);
  EXPECT_EQ(view->ColumnHeadersHeight(), 127);
  view->SetNrOfRows(0);
  EXPECT_EQ(view->RowCount(), 1);  // one blank data row stays
}

TEST_F(ReportListViewTest, ColumnOrderWidthsAndOutOfRangeColumns) {
  view->SetNrOfColumns(3);
  EXPECT_TRUE(view->SetColumnOrder({2, 1, 3}));
  EXPECT_EQ(view->ColumnOrder(1), 2);
  EXPECT_FALSE(view->SetColumnOrder({1, 2}));
  EXPECT_EQ(view->ColumnOrder(1), 2);
  EXPECT_EQ(view->ColumnOrder(9), 0);
  view->SetColumnAlignment(9, taCenter);
  EXPECT_EQ(view->ColumnAlignment(9), taLeftJustify);
  EXPECT_EQ(view->ColWidths(0), 0);
  view->SetColumnIsPwd(0, true);
  EXPECT_FALSE(view->ColumnIsPwd(0));
  view->SetHeader(4, "ignored");
  EXPECT_EQ(view->Header(4), "");
  view->SetRowSelected(0, true);
  view->SetRowSelected(5, true);
  EXPECT_EQ(view->NumSelectedRows(), 0);
  EXPECT_FALSE(view->RowEnabled(99));
  view->SetSecondarySortColumn(7);
  EXPECT_EQ(view->SecondarySortColumn(), -1);
  EXPECT_EQ(view->DetermineMaxColWidth(8, true), 9);
  int setups = 0;
  view->SetOnChangeSetup([&](TObject* S) {
    EXPECT_EQ(S, view);
    ++setups;
  });
  view->SetColWidths(7, 50);  // ignored, still notifies
  EXPECT_EQ(setups, 1);
  view->SetNrOfColumns(3);
  view->SetColumnOrder({1, 2, 3});
  view->SetColWidths(1, 100);
  view->SetColWidths(3, 90);
  view->ExpandColWidth(2, 10);  // 400 - 10 - 190 = 200
  EXPECT_EQ(view->ColWidths(2), 200);
  view->SetColWidths(1, 200);
  view->ExpandColWidth(2, 10);
  EXPECT_EQ(view->ColWidths(2), 100);
  view->SetColWidths(1, 300);
  view->ExpandColWidth(2, 10);
  EXPECT_EQ(view->ColWidths(2), 16);
}

TEST_F(ReportListViewTest, ModelEventsReachTheViewWithTheViewAsSender) {
  int changes = 0;
  TObject* sender = nullptr;
  view->SetOnChange([&](TObject* S) {
    sender = S;
    ++changes;
  });
  view->SetElem(1, 1, "b");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(sender, view);
  int exchanges = 0;
  view->SetOnBeforeSortExchange([&](TObject* S, int, int, int, int, int) {
    EXPECT_EQ(S, view);
    ++exchanges;
  });
  view->SetElem(1, 2, "a");
  view->Sort(1, -1, true);
  EXPECT_GT(exchanges, 0);
  EXPECT_EQ(view->Elem(1, 3), "a");  // empty cells first
}

// ---- drawing --------------------------------------------------------------------------------

TEST_F(ReportListViewTest, BandsFollowRowColPattern) {
  view->SetNrOfRows(6);
  view->SetRowColPattern(2);
  const TColor shaded = Rgb(view->ColorBkgdShaded());
  const TColor normal = Rgb(view->ColorBkgdNormal());
  const std::vector<TColor> want{shaded, shaded, normal, normal, shaded, shaded};
  auto shot = host.Snapshot(*view);
  for (int r = 1; r <= 6; ++r) EXPECT_EQ(shot->Canvas()->Pixels(40, RowTop(r) + 20), want[static_cast<std::size_t>(r - 1)]) << r;
  view->SetRowColPattern(0);
  EXPECT_EQ(At(40, RowTop(1) + 20), normal);
}

TEST_F(ReportListViewTest, SelectionColoursTakePrecedenceInOrder) {
  view->SetColorSelectedBoth(static_cast<TColor>(0x00FF00));
  view->SetColorSelectedCol(static_cast<TColor>(0xFF0000));
  view->SetRowSelected(1, true);
  view->SetColumnSelected(2, true);
  auto shot = host.Snapshot(*view);
  const int y = RowTop(1) + 20;
  EXPECT_EQ(shot->Canvas()->Pixels(ColLeft(1) + 40, y), Rgb(view->ColorSelectedRow()));
  EXPECT_EQ(shot->Canvas()->Pixels(ColLeft(2) + 40, y), static_cast<TColor>(0x00FF00));
  EXPECT_EQ(shot->Canvas()->Pixels(ColLeft(2) + 40, RowTop(2) + 20), static_cast<TColor>(0xFF0000));
  view->SetHighLightRow(1);
  EXPECT_EQ(At(ColLeft(2) + 40, y), Rgb(view->ColorHigh()));
  view->SetRowEnabled(1, false);
  EXPECT_EQ(At(ColLeft(2) + 40, y), Rgb(view->ColorDisabledBkgd()));
}

TEST_F(ReportListViewTest, CheckBoxTickRadioMarkAndReadOnlyMarks) {
  view->SetColumnCheckMode(1, cmBox);
  view->SetColumnCheckMode(2, cmRadio);
  view->Data()->Strings()->SetString(1, 1, "X");
  view->Data()->Strings()->SetString(2, 1, "Xa");
  const int l1 = ColLeft(1);
  const int l2 = ColLeft(2);
  const int u = RowTop(1);
  auto shot = host.Snapshot(*view);
  const TColor text = Rgb(view->ColorText());
  const TColor frame = Rgb(static_cast<TColor>(0xFF000010));
  EXPECT_EQ(shot->Canvas()->Pixels(l1 + 4, u + 4), frame);   // box corner
  EXPECT_EQ(shot->Canvas()->Pixels(l1 + 6, u + 9), text);    // tick, left arm
  EXPECT_EQ(shot->Canvas()->Pixels(l1 + 11, u + 9), text);   // tick, right arm
  EXPECT_NE(shot->Canvas()->Pixels(l1 + 11, u + 12), text);  // below the right arm
  EXPECT_EQ(shot->Canvas()->Pixels(l2 + 9, u + 9), text);    // radio dot
  EXPECT_EQ(shot->Canvas()->Pixels(l2 + 9, u + 4), frame);   // radio ring top
  EXPECT_NE(shot->Canvas()->Pixels(l2 + 9, u + 6), text);
  EXPECT_EQ(shot->Canvas()->Pixels(l1 + 9, u + 4), frame);   // row 2's box is drawn empty too
  view->SetCheckMarksReadOnly(true);
  shot = host.Snapshot(*view);
  EXPECT_NE(shot->Canvas()->Pixels(l1 + 4, u + 4), frame);
  EXPECT_EQ(shot->Canvas()->Pixels(l1 + 6, u + 9), text);
  view->SetCheckMarksReadOnly(false);
  view->SetShowEmptyCheckBoxes(false);
  EXPECT_NE(At(l1 + 4, RowTop(2) + 4), frame);  // empty cell: no box
}

TEST_F(ReportListViewTest, HeaderClickSortsDescendingFirstAndDrawsTheArrowDown) {
  for (int r = 1; r <= 4; ++r) view->SetElem(1, r, std::to_string(r));
  host.Click(*view, 30, 10);
  EXPECT_EQ(view->LastSortColumn(), 1);
  EXPECT_FALSE(view->LastSortOrder());
  EXPECT_EQ(view->Elem(1, 1), "4");
  // The arrow: a grey top edge and a white left-to-bottom edge right of "C-1".
  auto shot = host.Snapshot(*view);
  int greyTop = 0;
  int greyY = 0;
  for (int y = 2; y < HeadH - 2; ++y) {
    int n = 0;
    for (int x = 2; x < ColW - 2; ++x) n += shot->Canvas()->Pixels(x, y) == static_cast<TColor>(0x808080) ? 1 : 0;
    if (n > greyTop) {
      greyTop = n;
      greyY = y;
    }
  }
  EXPECT_EQ(greyTop, 8);  // the triangle's top edge: pointing down
  int whiteBelow = 0;
  for (int x = 2; x < ColW - 2; ++x) whiteBelow += shot->Canvas()->Pixels(x, greyY + 5) == static_cast<TColor>(0xFFFFFF) ? 1 : 0;
  EXPECT_GE(whiteBelow, 1);
  host.Click(*view, 30, 10);
  EXPECT_TRUE(view->LastSortOrder());
  EXPECT_EQ(view->Elem(1, 1), "1");
  host.Click(*view, ColW - 2, 10);  // on the border: sizing, no sort
  EXPECT_TRUE(view->LastSortOrder());
}

TEST_F(ReportListViewTest, PasswordColumnDrawsTheMask) {
  view->SetElem(1, 1, "secret");
  view->SetElem(2, 1, "******");
  view->SetColumnIsPwd(1, true);
  auto shot = host.Snapshot(*view);
  for (int y = RowTop(1); y < RowTop(1) + RowH; ++y) {
    for (int x = 0; x < ColW; ++x) {
      ASSERT_EQ(shot->Canvas()->Pixels(ColLeft(1) + x, y), shot->Canvas()->Pixels(ColLeft(2) + x, y)) << x << "," << y;
    }
  }
}

TEST_F(ReportListViewTest, EmptyMessageIsTwoCentredLines) {
  view->SetNrOfRows(0);
  view->SetColorEmptyMsg(static_cast<TColor>(0x0000FF));
  view->SetEmptyMessage("No data|loaded");
  auto shot = host.Snapshot(*view);
  std::vector<int> redRows;
  for (int y = 0; y < view->Height(); ++y) {
    int n = 0;
    for (int x = 0; x < view->Width(); ++x) n += shot->Canvas()->Pixels(x, y) == static_cast<TColor>(0x0000FF) ? 1 : 0;
    if (n > 0) redRows.push_back(y);
  }
  ASSERT_FALSE(redRows.empty());
  EXPECT_GT(redRows.front(), HeadH);
  int gaps = 0;
  for (std::size_t i = 1; i < redRows.size(); ++i) gaps += redRows[i] - redRows[i - 1] > 1 ? 1 : 0;
  EXPECT_GE(gaps, 1);  // two lines
}

TEST_F(ReportListViewTest, InterRowIndicatorSitsOnTheUpperEdgeOfItsRow) {
  view->SetInterRowIndicatorPos(3);
  const int y = 2 * (RowH + 1) + HeadH;
  auto shot = host.Snapshot(*view);
  EXPECT_EQ(shot->Canvas()->Pixels(100, y), static_cast<TColor>(0x0000FF));
  EXPECT_EQ(shot->Canvas()->Pixels(100, y + 1), static_cast<TColor>(0x0000FF));
  EXPECT_NE(shot->Canvas()->Pixels(100, y + 3), static_cast<TColor>(0x0000FF));
  view->SetInterRowIndicatorPos(0);
  EXPECT_NE(At(100, y), static_cast<TColor>(0x0000FF));
}

// ---- mouse and keys ------------------------------------------------------------------------------

TEST_F(ReportListViewTest, RowSelectionModes) {
  int changes = 0;
  view->SetOnSelectedChange([&](TObject*) { ++changes; });
  host.Click(*view, 100, RowTop(3) + 5);
  host.Click(*view, 100, RowTop(4) + 5);
  EXPECT_FALSE(view->RowSelected(3));
  EXPECT_TRUE(view->RowSelected(4));
  EXPECT_EQ(changes, 2);
  view->SetNrOfRows(6);
  view->SetRowSelectMode(2);
  host.Click(*view, 100, RowTop(2) + 5);
  host.PressKey(VK_SHIFT);
  host.MouseDown(*form, 10 + 100, 10 + RowTop(5) + 5);
  EXPECT_EQ(view->NumSelectedRows(), 1);  // without Shift held: a plain click
  host.MouseUp(*form, 10 + 100, 10 + RowTop(5) + 5);
  view->SetRowEnabled(5, false);
  EXPECT_EQ(view->FirstSelectedRow(), 0);  // lowest selected row is disabled
  view->SetUseCtrlForMultiSel(false);
  host.Click(*view, 100, RowTop(1) + 5);
  host.Click(*view, 100, RowTop(2) + 5);
  EXPECT_TRUE(view->RowSelected(1));
  EXPECT_TRUE(view->RowSelected(2));
  host.Click(*view, 100, RowTop(2) + 5);
  EXPECT_FALSE(view->RowSelected(2));
}

TEST_F(ReportListViewTest, CheckToggleEventsAndVeto) {
  view->SetColumnCheckMode(1, cmBox);
  bool before = false, after = true;
  bool veto = false;
  view->SetOnBeforeCheckedChange([&](TObject*, bool& State, int, int) {
    before = State;
    if (veto) State = false;
  });
  view->SetOnCheckedChange([&](TObject*, bool& State, int, int) { after = State; });
  host.Click(*view, 8, RowTop(2) + 8);
  EXPECT_TRUE(view->ElemChecked(1, 2));
  EXPECT_TRUE(before);
  EXPECT_FALSE(after);
  veto = true;
  view->SetElemChecked(1, 3, false);
  host.Click(*view, 8, RowTop(3) + 8);
  EXPECT_FALSE(view->ElemChecked(1, 3));
  view->SetRowEnabled(4, false);
  veto = false;
  host.Click(*view, 8, RowTop(4) + 8);
  EXPECT_FALSE(view->ElemChecked(1, 4));
  view->SetColumnCheckMode(2, cmRadio);
  view->SetElemChecked(2, 1, true);
  host.Click(*view, ColLeft(2) + 8, RowTop(1) + 8);
  EXPECT_TRUE(view->ElemChecked(2, 1));
  host.Click(*view, ColLeft(2) + 8, RowTop(2) + 8);
  EXPECT_TRUE(view->ElemChecked(2, 2));
  EXPECT_FALSE(view->ElemChecked(2, 1));
}

TEST_F(ReportListViewTest, MouseCellAndCenterScroll) {
  view->SetCommonHeaderVisible(true);
  EXPECT_EQ(view->MouseCell(30, 5).Y, -2);
  EXPECT_EQ(view->MouseCell(30, 25).Y, -1);
  EXPECT_EQ(view->MouseCell(30, 2 * (HeadH + 1) + 5).Y, 1);
  EXPECT_EQ(view->MouseCell(30, 240).Y, 0);
  EXPECT_EQ(view->MouseCell(30, 5).X, 1);
  view->SetCommonHeaderVisible(false);
  view->SetNrOfRows(100);
  view->CenterScrollAndSelect(1);
  EXPECT_EQ(view->TopRow(), 1);
  view->CenterScrollAndSelect(100);
  EXPECT_EQ(view->TopRow(), 100 - view->VisibleRowCount() + 1);
  EXPECT_TRUE(view->RowSelected(100));
  EXPECT_EQ(view->NumSelectedRows(), 1);
}

TEST_F(ReportListViewTest, InPlaceEditingWritesTheShownCell) {
  view->SetNrOfColumns(3);
  view->SetOptions(view->Options() - TGridOptions{goRowSelect});
  view->SetColumnEditable(2, true);
  view->SetColumnOrder({2, 1, 3});
  view->SetElem(2, 1, "old");
  host.Click(*view, 20, RowTop(1) + 5);  // grid column 0 shows table column 2
  host.Click(*view, 20, RowTop(1) + 5);
  ASSERT_TRUE(view->EditorMode());
  EXPECT_EQ(view->InplaceEditor()->Text(), "old");
  host.Type("new");
  host.PressKey(VK_RETURN);
  EXPECT_EQ(view->Elem(2, 1), "new");
  EXPECT_EQ(view->Elem(1, 1), "");
}

TEST_F(ReportListViewTest, ShiftClickCopiesTheAnchorRowAndAClickBelowClears) {
  view->SetNrOfRows(6);
  view->SetRowSelectMode(2);
  view->SetRowEnabled(2, false);
  view->SetRowSelected(2, true);
  host.Click(*view, 100, RowTop(2) + 5);  // the anchor: a selected, disabled row
  host.KeyDown(VK_SHIFT);
  host.Click(*view, 100, RowTop(5) + 5);
  host.KeyUp(VK_SHIFT);
  for (int r = 2; r <= 5; ++r) {
    EXPECT_TRUE(view->RowSelected(r)) << r;
    EXPECT_FALSE(view->RowEnabled(r)) << r;
  }
  EXPECT_FALSE(view->RowSelected(6));
  host.KeyDown(VK_CONTROL);
  host.Click(*view, 100, RowTop(6) + 5);
  host.KeyUp(VK_CONTROL);
  EXPECT_TRUE(view->RowSelected(6));
  host.Click(*view, 100, RowTop(6) + 30);  // below the last row
  EXPECT_EQ(view->NumSelectedRows(), 0);
}

TEST_F(ReportListViewTest, DoubleClickOnAHeaderBorderFitsTheColumn) {
  view->SetElem(1, 2, "a rather long cell value");
  host.DoubleClick(*view, ColW - 1, 10);
  EXPECT_EQ(view->ColWidths(1), view->DetermineMaxColWidth(1, true));
  EXPECT_GT(view->ColWidths(1), ColW);
  int dbl = 0;
  view->SetOnDblClick([&](TObject*) { ++dbl; });
  host.DoubleClick(*view, 100, RowTop(1) + 5);
  host.DoubleClick(*view, 100, 10);
  EXPECT_EQ(dbl, 1);  // never for the header row
}

TEST_F(ReportListViewTest, RenderEventAndDisabledViewColours) {
  view->SetElem(1, 1, "x");
  view->SetOnBeforeRenderCell([](TObject*, int ACol, int ARow, TColor&, TColor& Brush, TColor&, TFontStyles&,
                                 std::string& Text) {
    if (ACol == 1 && ARow == 1) {
      Brush = static_cast<TColor>(0x00FFFF);
      Text = "";
    }
  });
  EXPECT_EQ(At(40, RowTop(1) + 20), static_cast<TColor>(0x00FFFF));
  view->SetOnBeforeRenderCell(nullptr);
  view->SetRowSelected(1, true);
  view->SetEnabled(false);
  EXPECT_EQ(At(40, RowTop(1) + 20), Rgb(view->ColorBkgdShaded()));  // no selection colours
}

TEST_F(ReportListViewTest, AutoAdvanceAndKeysSelectTheCurrentRow) {
  view->SetNrOfRows(8);
  host.Click(*view, 100, RowTop(2) + 5);
  host.PressKey(VK_DOWN);
  EXPECT_TRUE(view->RowSelected(3));
  EXPECT_EQ(view->NumSelectedRows(), 1);
  view->SetAutoAdvance(true);
  host.PressKey(VK_RETURN);
  EXPECT_TRUE(view->RowSelected(4));
  // Selection changed behind the keyboard's back still ends with one row.
  for (int r = 1; r <= 8; ++r) view->SetElem(1, r, std::to_string(9 - r));
  view->Sort(1, -1, true);
  view->Data()->Strings()->SetRowAttrib(7, TReportListView::RowSelectedBit);
  host.PressKey(VK_UP);
  EXPECT_EQ(view->NumSelectedRows(), 1);
  view->SelectAllRows();
  host.PressKey(VK_DOWN);
  EXPECT_EQ(view->NumSelectedRows(), 1);
}

TEST_F(ReportListViewTest, AssignCopiesTheTableAndTheListedProperties) {
  view->SetNrOfColumns(3);
  view->SetElem(2, 3, "copied");
  view->SetColumnAlignment(2, taCenter);
  view->SetRowColPattern(3);
  view->SetEmptyMessage("not copied");
  auto* other = new TReportListView(form.get());
  other->Assign(view);
  EXPECT_EQ(other->NrOfColumns(), 3);
  EXPECT_EQ(other->ColCount(), 3);
  EXPECT_EQ(other->Elem(2, 3), "copied");
  EXPECT_EQ(other->ColumnAlignment(2), taCenter);
  EXPECT_EQ(other->RowColPattern(), 3);
  EXPECT_EQ(other->EmptyMessage(), "");
  int changes = 0;
  other->SetOnChange([&](TObject* S) {
    EXPECT_EQ(S, other);
    ++changes;
  });
  other->SetElem(1, 1, "z");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(view->Elem(1, 1), "");
}

// ---- filtering --------------------------------------------------------------------------------------

class ReportListFilterTest : public ReportListViewTest {
 protected:
  void SetUp() override {
    ReportListViewTest::SetUp();
    view->SetNrOfColumns(2);
    const std::vector<std::pair<std::string, std::string>> rows{
        {"red apple", "5"}, {"green pear", "3"}, {"dark blue plum", "8"}, {"Red cherry", "1"}, {"yellow", "2"}};
    view->SetNrOfRows(static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
      view->SetElem(1, static_cast<int>(i) + 1, rows[i].first);
      view->SetElem(2, static_cast<int>(i) + 1, rows[i].second);
    }
  }
  std::string Shown() {
    std::string s;
    for (int r = 1; r <= view->NrOfRows(); ++r) {
      if (!view->RowFiltered(r)) s += view->Elem(2, r);
    }
    return s;
  }
};

TEST_F(ReportListFilterTest, ModesHideRowsAndSort) {
  view->FilterAndSort("red", {1}, false, fmSimple, 0, true);
  EXPECT_EQ(Shown(), "5");
  view->FilterAndSort("red", {1}, true, fmSimple, 2, true);
  EXPECT_EQ(Shown(), "15");
  EXPECT_EQ(view->RowHeights(view->FixedRows()), view->DefaultRowHeight());
  view->FilterAndSort("(red | \"dark blue\") !cherry", {}, true, fmBoolean, 2, true);
  EXPECT_EQ(Shown(), "58");
  view->FilterAndSort("p[a-z]+r$", {1}, false, fmGrep, 2, false);
  EXPECT_EQ(Shown(), "3");
  EXPECT_EQ(view->NumShownRows(), 1);
  view->FilterAndSort("", {}, false, fmSimple, 0, true);
  EXPECT_EQ(view->NumShownRows(), 5);
}

TEST_F(ReportListFilterTest, HiddenRowsMoveWithInsertsRemovalsAndSorts) {
  view->FilterAndSort("pear", {1}, false, fmSimple, 0, true);  // only row 2 shown
  const int fixed = view->FixedRows();
  EXPECT_EQ(view->RowHeights(fixed + 1), view->DefaultRowHeight());
  EXPECT_EQ(view->RowHeights(fixed), 0);
  view->InsertRow(1);  // a new, shown row
  EXPECT_EQ(view->Elem(2, 3), "3");
  EXPECT_EQ(view->RowHeights(fixed), view->DefaultRowHeight());
  EXPECT_EQ(view->RowHeights(fixed + 2), view->DefaultRowHeight());
  EXPECT_EQ(view->RowHeights(fixed + 1), 0);
  view->Sort(2, -1, false);  // "8","5","3",... : pear's row goes up
  EXPECT_EQ(view->NumShownRows(), 2);
  for (int r = 1; r <= view->NrOfRows(); ++r) {
    EXPECT_EQ(view->RowHeights(fixed + r - 1) == 0, view->RowFiltered(r)) << r;
  }
  view->RemoveRow(1);
  for (int r = 1; r <= view->NrOfRows(); ++r) {
    EXPECT_EQ(view->RowHeights(fixed + r - 1) == 0, view->RowFiltered(r)) << r;
  }
  view->SetCommonHeaderVisible(true);
  view->SetColumnHeadersVisible(false);
  EXPECT_EQ(view->RowHeights(0), view->CommonHeaderHeight());
  // Mostly hidden rows, no header rows at all, then a row added: it shows.
  view->FilterAndSort("pear", {1}, false, fmSimple, 0, true);
  view->SetCommonHeaderVisible(false);
  ASSERT_EQ(view->FixedRows(), 0);
  const int added = view->AddRow();
  for (int r = 1; r <= view->NrOfRows(); ++r) {
    EXPECT_EQ(view->RowHeights(r - 1), view->RowFiltered(r) ? 0 : view->DefaultRowHeight()) << r;
  }
  EXPECT_FALSE(view->RowFiltered(added));
}

TEST_F(ReportListFilterTest, AnInvalidExpressionChangesNothing) {
  view->FilterAndSort("apple OR plum", {}, false, fmBoolean, 2, true);
  const std::string before = Shown();
  view->SetRowSelected(2, true);
  for (const auto& [exp, mode] : std::vector<std::pair<std::string, TFilterMode>>{
           {"(apple", fmBoolean}, {"apple OR", fmBoolean}, {"\"open", fmBoolean}, {"a(b", fmGrep}}) {
    try {
      view->FilterAndSort(exp, {}, false, mode, 1, false);
      ADD_FAILURE() << exp;
    } catch (const EVORNRepListError& e) {
      EXPECT_NE(std::string(e.what()).find("position"), std::string::npos);
    }
  }
  EXPECT_EQ(Shown(), before);
  EXPECT_EQ(view->LastSortColumn(), 2);
  EXPECT_TRUE(view->RowSelected(2));
}

TEST_F(ReportListFilterTest, BeforeFilterCombinesWithTheViewsVerdict) {
  view->SetOnBeforeFilter([](TObject*, int Row, bool& Found, TLogicOp& Op) {
    Found = Row == 5;
    Op = loOR;
  });
  view->FilterAndSort("red", {1}, false, fmSimple, 0, true);
  EXPECT_EQ(Shown(), "52");
}

// A handler may read another document into the model while the filter
// runs: the rows after it are filtered in the new cells, never in the
// storage the document replaced.
TEST_F(ReportListFilterTest, HandlerThatReadsADocumentDuringTheFilter) {
  std::ostringstream doc;
  view->WriteToXMLStream(doc, true, "fruit");
  view->SetElem(1, 5, "red currant");  // differs from the document
  int calls = 0;
  view->SetOnBeforeFilter([&](TObject*, int, bool&, TLogicOp&) {
    if (++calls == 1) {
      ASSERT_TRUE(view->ReadFromXMLString(doc.str(), "fruit"));
    }
  });
  view->FilterAndSort("red", {1}, false, fmSimple, 0, true);
  EXPECT_EQ(calls, 5);
  EXPECT_EQ(view->Elem(1, 5), "yellow");
  EXPECT_EQ(Shown(), "5");
}

TEST(RowMatcher, BooleanGrammar) {
  EXPECT_EQ(TRowMatcher("a b | c", fmBoolean, false).Describe(), "OR(AND([a],[b]),[c])");
  EXPECT_EQ(TRowMatcher("NOT a & (b OR !c)", fmBoolean, false).Describe(), "AND(NOT([a]),OR([b],NOT([c])))");
  EXPECT_EQ(TRowMatcher("\"x \"\"y\"\"\" Or", fmBoolean, true).Describe(), "AND([x \"y\"],[or])");
  EXPECT_TRUE(TRowMatcher("   ", fmBoolean, false).MatchesAll());
  EXPECT_THROW(TRowMatcher(std::string(300, '('), fmBoolean, false), EVORNRepListError);
  EXPECT_THROW(TRowMatcher("a )", fmBoolean, false), EVORNRepListError);
  EXPECT_THROW(TRowMatcher("()", fmBoolean, false), EVORNRepListError);
  struct TCase {
    const char* Pattern;
    const char* Cell;
    bool Match;
  };
  for (const TCase& c : {TCase{"ab?c", "ac", true}, TCase{"ab*", "a", true}, TCase{"abc|x", "x", true},
                         TCase{"ab{0}c", "ac", true}, TCase{"a\\.b", "a.b", true}, TCase{"a\\.b", "axb", false},
                         TCase{"qzx[a-m]+", "qqzxb", true}, TCase{"qzx[a-m]+", "qzxz", false},
                         TCase{"h\xC3\xA9+", "h\xC3\xA9\xC3\xA9", true}}) {
    const std::string_view one[] = {c.Cell};
    EXPECT_EQ(TRowMatcher(c.Pattern, fmGrep, false).Matches(one), c.Match) << c.Pattern << " " << c.Cell;
  }
  const std::string_view cells[] = {"ÄPFEL", "x"};
  EXPECT_TRUE(TRowMatcher("äpfel", fmGrep, true).Matches(cells));
  EXPECT_FALSE(TRowMatcher("äpfel", fmSimple, true).Matches(cells));  // ASCII folding only
}

// The simple search has its own scan for short cells: it must agree with
// std::string_view::find on every cell length (short, at the limit, long),
// at the cell's ends and with repeated letters in the needle.
TEST(RowMatcher, SimpleSearchAgreesWithFind) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> letter('a', 'c');
  for (int round = 0; round < 3000; ++round) {
    std::string needle(1 + round % 4, ' ');
    for (char& ch : needle) ch = static_cast<char>(letter(rng));
    const TRowMatcher matcher(needle, fmSimple, false);
    std::string cell(static_cast<std::size_t>(round % 80), ' ');
    for (char& ch : cell) ch = static_cast<char>(letter(rng));
    const std::string_view one[] = {cell};
    ASSERT_EQ(matcher.Matches(one), cell.find(needle) != std::string::npos) << needle << " in " << cell;
  }
  const TRowMatcher aba("aba", fmSimple, false);
  for (const char* cell : {"aba", "xaba", "abax", "aab", "abba", "ab", ""}) {
    const std::string_view one[] = {cell};
    EXPECT_EQ(aba.Matches(one), std::string_view(cell).find("aba") != std::string_view::npos) << cell;
  }
}

}  // namespace
}  // namespace vorn
