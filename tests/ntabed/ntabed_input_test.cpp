// The table editor's cell editing, keys and mouse through the headless
// host: when editing starts, what edited texts store, Enter moving on,
// Escape, pick lists of category columns and selection reports.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>

#include "vorn/ntabed/ntabed.h"
#include "vorn/platform/hosts/headless.h"

namespace vorn {
namespace {

// Reaches the grid's edit-text hooks directly.
class TProbeTabEd : public TNTabEd {
 public:
  using TNTabEd::TNTabEd;
  using TNTabEd::GetEditText;
  using TNTabEd::SetEditText;
  using TNTabEd::WMGetDlgCode;
};

// Client point inside data cell (C, R) with the row-attribute column shown.
TPoint CellPoint(int C, int R) { return {114 + (C - 1) * 65 + 20, 25 + (R - 1) * 25 + 10}; }

class NTabEdInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 500, 300);
    ed = new TProbeTabEd(form.get());
    ed->SetParent(form.get());
    ed->SetBounds(0, 0, 480, 280);
    form->Show();
    ed->SetFocus();
  }
  void ClickCell(int C, int R, TMouseButton Button = mbLeft) {
    const TPoint p = CellPoint(C, R);
    host.Click(*ed, p.X, p.Y, Button);
  }
  // Edits a cell the way a user does: two clicks, the text, Enter.
  void Edit(int C, int R, const std::string& Text) {
    ClickCell(C, R);
    ClickCell(C, R);
    ASSERT_TRUE(ed->EditorMode());
    ed->InplaceEditor()->SetText(Text);
    host.PressKey(VK_RETURN);
  }

  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
  TProbeTabEd* ed = nullptr;
};

TEST_F(NTabEdInputTest, SecondClickOnTheSameCellStartsEditing) {
  ClickCell(2, 2);
  EXPECT_FALSE(ed->EditorMode());
  EXPECT_TRUE(ed->Options().Contains(goEditing));
  ClickCell(3, 2);
  EXPECT_FALSE(ed->EditorMode());
  ClickCell(3, 2);
  EXPECT_TRUE(ed->EditorMode());
  ed->SetDataReadOnly(true);
  EXPECT_FALSE(ed->EditorMode());
  ClickCell(2, 3);
  ClickCell(2, 3);
  EXPECT_FALSE(ed->EditorMode());
  EXPECT_FALSE(ed->Options().Contains(goEditing));
}

TEST_F(NTabEdInputTest, EditedTextsStoreNumbersOrMarkTheCellInvalid) {
  ed->SetElemMarkedA(1, 1, true);
  Edit(1, 1, "1,5");
  EXPECT_EQ(ed->Elem(1, 1), 1.5);
  EXPECT_EQ(ed->CellState(1, 1), 0);  // the mark went with the edit
  Edit(1, 1, "abc");
  EXPECT_EQ(ed->Elem(1, 1), 1.5);
  EXPECT_EQ(ed->CellState(1, 1), dtsInvalid);
  Edit(2, 1, "  2.5  ");
  EXPECT_EQ(ed->Elem(2, 1), 2.5);
  EXPECT_TRUE(ed->IsNumber(2, 1));
  for (const char* bad : {"1e999", "nan", "inf", "1.5x", "", "--1", "0x10"}) {
    ed->SetEditText(3, 4, bad);
    EXPECT_EQ(ed->CellState(2, 4), dtsInvalid) << bad;
  }
  ed->SetEditText(3, 4, "+1e-3");
  EXPECT_EQ(ed->Elem(2, 4), 0.001);
}

TEST_F(NTabEdInputTest, EnterMovesOnInTheAdvanceDirection) {
  ClickCell(1, 1);
  host.PressKey(VK_RETURN);
  EXPECT_EQ(ed->Row(), 2);
  ed->SetAutoAdvanceDir(orRight);
  host.PressKey(VK_RETURN);
  EXPECT_EQ(ed->Col(), 3);
  Edit(2, 2, "7");
  EXPECT_EQ(ed->Elem(2, 2), 7.0);
  EXPECT_EQ(ed->Col(), 4);
  EXPECT_FALSE(ed->EditorMode());
  ed->SetAutoAdvance(false);
  host.PressKey(VK_RETURN);  // opens the editor now
  EXPECT_TRUE(ed->EditorMode());
}

TEST_F(NTabEdInputTest, EscapeDropsTheTextAndStopsEditing) {
  ed->SetElem(2, 2, 4);
  ClickCell(2, 2);
  ClickCell(2, 2);
  ed->InplaceEditor()->SetText("9");
  host.PressKey(VK_ESCAPE);
  EXPECT_FALSE(ed->EditorMode());
  EXPECT_EQ(ed->Elem(2, 2), 4.0);
}

TEST_F(NTabEdInputTest, CategoryColumnsUseIdentifiersAndPickLists) {
  TDataTable& t = *ed->Data();
  t.SetMScaleType(2, mstNominal);
  t.SetNominalID(2, 3, "Red");
  t.SetNominalID(2, 1, "Blue");
  ed->SetEditText(3, 1, "red");
  EXPECT_EQ(ed->Elem(2, 1), 3.0);
  EXPECT_EQ(ed->CellState(2, 1), 0);
  ed->SetEditText(3, 1, "7");
  EXPECT_EQ(ed->Elem(2, 1), 7.0);
  ed->SetEditText(3, 1, "x");
  EXPECT_EQ(ed->CellState(2, 1), dtsInvalid);
  ed->SetElem(2, 2, 1);
  EXPECT_EQ(ed->GetEditText(3, 2), "Blue");
  ed->SetElem(2, 2, 9);
  EXPECT_EQ(ed->GetEditText(3, 2), "9");
  ed->SetNomEditDropDownCount(3);
  ClickCell(2, 2);
  ClickCell(2, 2);
  auto* list = dynamic_cast<TInplaceEditList*>(ed->InplaceEditor());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->EditStyle(), esPickList);
  EXPECT_EQ(list->DropDownRows(), 3);
  list->DropDown();
  ASSERT_EQ(list->PickItems().size(), 2u);
  EXPECT_EQ(list->PickItems()[0], "Blue");
  EXPECT_EQ(list->PickItems()[1], "Red");
  list->CloseUp(false);
  ed->SetNomEditDropDownCount(5);
  EXPECT_EQ(list->DropDownRows(), 5);
}

TEST_F(NTabEdInputTest, EditTextEventsSeeGridNumbers) {
  int getCol = -1, setRow = -1;
  std::string stored;
  ed->SetOnGetEditText([&](TObject*, int ACol, int, std::string& Value) {
    getCol = ACol;
    Value = "5";
  });
  ed->SetOnSetEditText([&](TObject*, int, int ARow, const std::string& Value) {
    setRow = ARow;
    stored = Value;
  });
  EXPECT_EQ(ed->GetEditText(2, 3), "5");
  EXPECT_EQ(getCol, 2);
  ed->SetEditText(2, 3, "8");
  EXPECT_EQ(setRow, 3);
  EXPECT_EQ(stored, "8");
  EXPECT_EQ(ed->Elem(1, 3), 8.0);
}

// Random texts never raise and leave either a number or an invalid cell.
TEST_F(NTabEdInputTest, AnyEditedTextIsSafe) {
  std::mt19937 rng(7);
  const std::string alphabet = "0123456789+-.,eE \txé\xff\x80";
  for (int i = 0; i < 3000; ++i) {
    std::string text;
    for (int k = static_cast<int>(rng() % 12); k > 0; --k) text += alphabet[rng() % alphabet.size()];
    ed->Data()->SetMScaleType(1, i % 2 == 0 ? 0 : mstNominal);
    ASSERT_NO_THROW(ed->SetEditText(2, 1, text)) << text;
    const std::uint8_t s = ed->CellState(1, 1);
    ASSERT_TRUE(s == 0 || s == dtsInvalid) << text;
    if (s == 0) {
      ASSERT_TRUE(std::isfinite(ed->Elem(1, 1))) << text;
    }
  }
}

TEST_F(NTabEdInputTest, KeysWheelAndClicksReportTheSelection) {
  int reports = 0;
  ed->SetOnSelectionChanged([&reports](TObject*) { ++reports; });
  host.PressKey(VK_DOWN);
  EXPECT_EQ(reports, 1);
  host.PressKey(VK_RIGHT, {ssShift});
  EXPECT_EQ(reports, 3);  // every key down reports, the Shift key's too
  EXPECT_EQ(ed->Selection(), (TGridRect{2, 2, 3, 2}));
  ClickCell(3, 3);
  EXPECT_EQ(reports, 4);  // once, however many mouse messages the click took
  const TPoint p = CellPoint(1, 1);
  host.Wheel(*ed, p.X, p.Y, -120);
  EXPECT_EQ(reports, 5);
  TMessage m{};
  ed->WMGetDlgCode(m);
  EXPECT_NE(m.Result & DLGC_WANTTAB, 0);
}

TEST_F(NTabEdInputTest, ScrollingReportsTopLeftAfterTheSelection) {
  ed->Redimension(50, 200);
  std::string order;
  ed->SetOnSelectionChanged([&order](TObject*) { order += 's'; });
  ed->SetOnTopLeftChanged([&order](TObject*) { order += 't'; });
  host.PressKey(VK_DOWN);
  order.clear();
  ed->SetTopRow(100);
  EXPECT_EQ(order, "t");  // the selection did not move
  order.clear();
  host.PressKey(VK_NEXT);
  EXPECT_NE(order.find('t'), std::string::npos);
  EXPECT_EQ(order.back(), 's');
}

TEST_F(NTabEdInputTest, PopupCellFollowsEveryClickAndRightClicksDoNotEdit) {
  ClickCell(2, 2, mbRight);
  EXPECT_EQ(ed->PopupCell(), (TGridCoord{3, 2}));
  ClickCell(2, 2, mbRight);
  EXPECT_FALSE(ed->EditorMode());
  ed->SetCommentEditingAllowed(false);
  host.Click(*ed, 40, 5, mbRight);  // the corner: no comment editor when not allowed
  EXPECT_EQ(ed->PopupCell(), (TGridCoord{0, 0}));
  EXPECT_FALSE(ed->CommentEditorActive());
}

}  // namespace
}  // namespace vorn
