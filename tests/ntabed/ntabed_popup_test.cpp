// The table editor's popup menus, driven as a user drives them: a right
// click opens the menu through the host's popup handler, which chooses an
// item; and the heading and comment editors, typed into.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "vorn/ntabed/ntabed.h"
#include "tests/ntabed/ntabed_events.h"
#include "vorn/platform/hosts/headless.h"
#include "vorn/platform/stdctrls/buttons.h"
#include "vorn/platform/stdctrls/edit.h"
#include "vorn/platform/stdctrls/memo.h"
#include "vorn/platform/stdctrls/menus.h"
#include "vorn/platform/stdctrls/menuview.h"

namespace vorn {
namespace {

TMenuItem* FindItem(TMenuItem* Parent, const std::string& Name) {
  for (int i = 0; i < Parent->Count(); ++i) {
    TMenuItem* item = Parent->Items(i);
    if (item->Name() == Name) return item;
    if (TMenuItem* inner = FindItem(item, Name)) return inner;
  }
  return nullptr;
}

// Client points: data cell (C, R), the name of data column C (grid row 0)
// and the name of data row R (grid column 0), with the row-attribute
// column shown and the column-attribute row hidden.
TPoint CellPoint(int C, int R) { return {114 + (C - 1) * 65 + 20, 25 + (R - 1) * 25 + 10}; }
TPoint ColNamePoint(int C) { return {114 + (C - 1) * 65 + 20, 10}; }
TPoint RowNamePoint(int R) { return {40, 25 + (R - 1) * 25 + 10}; }

bool SamePixels(const TBitmap& A, const TBitmap& B) {
  if (A.Width() != B.Width() || A.Height() != B.Height()) return false;
  for (int y = 0; y < A.Height(); ++y) {
    for (int x = 0; x < A.Width(); ++x) {
      if (A.ScanLine(y)[x] != B.ScanLine(y)[x]) return false;
    }
  }
  return true;
}

class NTabEdPopupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 500, 300);
    ed = new TNTabEd(form.get());
    ed->SetParent(form.get());
    ed->SetBounds(0, 0, 480, 280);
    form->Show();
    ed->SetFocus();
    for (int c = 1; c <= 3; ++c) {
      for (int r = 1; r <= 4; ++r) ed->SetElem(c, r, c * 10 + r);
    }
    CountEvents(*ed, n);
    host.SetPopupHandler([this](TPopupMenu& Menu, int X, int Y) {
      opened = &Menu;
      at = {X, Y};
      if (pick.empty()) return;
      TMenuItem* item = FindItem(Menu.Items(), pick);
      ASSERT_NE(item, nullptr) << pick;
      if (picks > 0) --picks;
      if (picks == 0) pick.clear();
      item->Click();
    });
  }
  void TearDown() override { host.SetPopupHandler(nullptr); }

  // Right-clicks at a client point and chooses the item named Item in the
  // menu that opens (Times choices when the menu opens again).
  void Choose(TPoint P, const std::string& Item, int Times = 1) {
    pick = Item;
    picks = Times;
    opened = nullptr;
    host.Click(*ed, P.X, P.Y, mbRight);
    pick.clear();
  }
  void Select(int C0, int R0, int C1, int R1) { ed->SetSelection({C0 + 1, R0, C1 + 1, R1}); }
  void Reset() { n = TCounts{}; }

  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
  TNTabEd* ed = nullptr;
  TCounts n;
  TPopupMenu* opened = nullptr;
  TPoint at{};
  std::string pick;
  int picks = 0;
};

// ---- the menus themselves ---------------------------------------------------------------

TEST_F(NTabEdPopupTest, MenusHaveTheirNamesCaptionsAndSubmenus) {
  TPopupMenu* d = ed->PopupD();
  TPopupMenu* h = ed->PopupH();
  ASSERT_NE(d, nullptr);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(d->Name(), "PopupDTAction");
  EXPECT_EQ(h->Name(), "PopupHTAction");
  EXPECT_EQ(d->Owner(), ed);
  EXPECT_EQ(d->Alignment(), paLeft);
  ASSERT_EQ(d->Items()->Count(), 12);
  ASSERT_EQ(h->Items()->Count(), 5);
  const char* data[] = {"Mark as type A", "Mark as type B", "Unmark type A", "Unmark type B",
                        "Unmark All",     "Clear",          "Copy",          "Paste",
                        "Data Read-Only", "Extract from Clipboard", "Select All", "Toggle Empty State"};
  for (int k = 1; k <= 12; ++k) {
    TMenuItem* item = d->Items()->Items(k - 1);
    EXPECT_EQ(item->Name(), "DIt" + std::to_string(k));
    EXPECT_EQ(item->Caption(), data[k - 1]);
    EXPECT_EQ(ed->PopupDCaptions(k), data[k - 1]);
    EXPECT_EQ(item->Count(), k <= 4 ? 4 : 0);
    EXPECT_EQ(item->Enabled(), k != 8) << k;  // "Paste" waits for a Copy
  }
  const char* subs[] = {"M1It", "M2It", "U1It", "U2It"};
  const char* scopes[] = {"Range", "Column", "Row", "All"};
  for (int k = 0; k < 4; ++k) {
    for (int i = 0; i < 4; ++i) {
      TMenuItem* sub = d->Items()->Items(k)->Items(i);
      EXPECT_EQ(sub->Name(), subs[k] + std::to_string(i + 1));
      EXPECT_EQ(sub->Caption(), scopes[i]);
    }
  }
  const char* heads[] = {"Edit Heading", "Change Precision", "Select..", "Insert..", "Delete.."};
  for (int k = 1; k <= 5; ++k) {
    EXPECT_EQ(h->Items()->Items(k - 1)->Name(), "HIt" + std::to_string(k));
    EXPECT_EQ(ed->PopupHCaptions(k), heads[k - 1]);
  }
}

TEST_F(NTabEdPopupTest, CaptionPropertiesCutLongTextsAndIgnoreBadIndices) {
  ed->SetPopupMCaptions(1, "Block");
  EXPECT_EQ(FindItem(ed->PopupD()->Items(), "M1It1")->Caption(), "Block");
  EXPECT_EQ(FindItem(ed->PopupD()->Items(), "M2It1")->Caption(), "Block");
  EXPECT_EQ(FindItem(ed->PopupD()->Items(), "U1It1")->Caption(), "Range");
  ed->SetPopupUCaptions(4, "Everything");
  EXPECT_EQ(FindItem(ed->PopupD()->Items(), "U2It4")->Caption(), "Everything");
  EXPECT_EQ(ed->PopupUCaptions(4), "Everything");
  ed->SetPopupDCaptions(6, std::string(70, 'x'));
  EXPECT_EQ(ed->PopupDCaptions(6), std::string(50, 'x'));
  ed->SetPopupDCaptions(13, "none");
  ed->SetPopupHCaptions(0, "none");
  EXPECT_EQ(ed->PopupDCaptions(13), "");
  EXPECT_EQ(ed->PopupHCaptions(6), "");
  EXPECT_EQ(ed->PopupMCaptions(5), "");
  // Items 3..5 of the heading popup are named anew at every opening.
  ed->SetPopupHCaptions(3, "Pick");
  Choose(RowNamePoint(2), "");
  EXPECT_EQ(ed->PopupHCaptions(3), "Select Row");
  EXPECT_EQ(ed->PopupHCaptions(4), "Insert Row");
  Choose(ColNamePoint(2), "");
  EXPECT_EQ(ed->PopupHCaptions(3), "Select Column");
  EXPECT_EQ(ed->PopupHCaptions(5), "Delete Column");
}

TEST_F(NTabEdPopupTest, RightClicksOpenTheMenuOfTheCellUnlessBlocked) {
  TPopupMenu* before = nullptr;
  ed->SetOnBeforePopup([&before](TObject*, TPopupMenu* M) { before = M; });
  const TPoint p = CellPoint(2, 2);
  Choose(p, "");
  EXPECT_EQ(opened, ed->PopupD());
  EXPECT_EQ(before, ed->PopupD());
  EXPECT_EQ(at, ed->ClientToScreen({p.X + 10, p.Y - 20}));
  Choose(ColNamePoint(1), "");
  EXPECT_EQ(opened, ed->PopupH());
  const TRect cell = ed->CellRect(2, 0);
  EXPECT_EQ(at, ed->ClientToScreen({cell.Left + 20, cell.Top + 20}));
  // Left clicks and a blocked editor open none; with a menu of the
  // program's own, that one opens instead.
  const int count = host.PopupCount();
  host.Click(*ed, p.X, p.Y);
  ed->SetBlockInternalPopup(true);
  Choose(p, "");
  Choose(ColNamePoint(1), "");
  EXPECT_EQ(host.PopupCount(), count);
  ed->SetBlockInternalPopup(false);
  TPopupMenu own(nullptr);
  ed->SetPopupMenu(&own);
  Choose(RowNamePoint(1), "");
  EXPECT_EQ(opened, &own);
  Choose(p, "");
  EXPECT_EQ(opened, &own);
  ed->SetPopupMenu(nullptr);
}

TEST_F(NTabEdPopupTest, MasksEnableItemsAndReportTheChange) {
  ed->SetPopupDMask(0);
  EXPECT_EQ(n.Setup, 1);
  for (int k = 1; k <= 12; ++k) EXPECT_FALSE(ed->PopupD()->Items()->Items(k - 1)->Enabled());
  Select(1, 1, 1, 1);
  Choose(CellPoint(1, 1), "DIt11");  // "Select All" is disabled: nothing happens
  EXPECT_EQ(ed->Selection(), (TGridRect{2, 1, 2, 1}));
  ed->SetPopupDMask(0x7FFFFFFF);
  // Without bit 1 "Change Precision" stays off over column headings too.
  ed->SetPopupHMask(0x7FFFFFFF & ~2);
  Choose(ColNamePoint(1), "");
  EXPECT_FALSE(ed->PopupH()->Items()->Items(1)->Enabled());
  ed->SetPopupHMask(0x7FFFFFFF);
  Choose(ColNamePoint(1), "");
  EXPECT_TRUE(ed->PopupH()->Items()->Items(1)->Enabled());
  Choose(RowNamePoint(1), "");
  EXPECT_FALSE(ed->PopupH()->Items()->Items(1)->Enabled());
  // Inserting and deleting are off while the data are read-only.
  ed->SetDataReadOnly(true);
  Choose(RowNamePoint(1), "");
  EXPECT_TRUE(ed->PopupH()->Items()->Items(2)->Enabled());
  EXPECT_FALSE(ed->PopupH()->Items()->Items(3)->Enabled());
  EXPECT_FALSE(ed->PopupH()->Items()->Items(4)->Enabled());
}

// ---- data commands ------------------------------------------------------------------------

TEST_F(NTabEdPopupTest, MarkingCommandsCoverRangeColumnsRowsOrAll) {
  Select(2, 2, 3, 2);
  ed->SetIsEmpty(2, 2, true);
  Reset();
  Choose(CellPoint(2, 2), "M1It1");  // mark A, range
  EXPECT_EQ(n.States, 1);
  EXPECT_EQ(ed->NrOfMarkedDataA(), 2);
  EXPECT_EQ(ed->CellState(2, 2), dtsEmpty | dtsMarkA);  // other bits stay
  Choose(CellPoint(2, 2), "M2It2");  // mark B, columns 2..3
  EXPECT_EQ(ed->NrOfMarkedDataB(), 8);
  EXPECT_TRUE(ed->ElemMarkedB(3, 4));
  EXPECT_FALSE(ed->ElemMarkedB(1, 1));
  Choose(CellPoint(2, 2), "U2It3");  // unmark B, row 2
  EXPECT_EQ(ed->NrOfMarkedDataB(), 6);
  EXPECT_FALSE(ed->ElemMarkedB(3, 2));
  Choose(CellPoint(2, 2), "M1It4");  // mark A, all
  EXPECT_EQ(ed->NrOfMarkedDataA(), 12);
  Choose(CellPoint(2, 2), "U1It2");  // unmark A, columns 2..3
  EXPECT_EQ(ed->NrOfMarkedDataA(), 4);
  Choose(CellPoint(2, 2), "U1It3");
  Choose(CellPoint(2, 2), "M2It3");
  Choose(CellPoint(2, 2), "U1It1");
  Choose(CellPoint(2, 2), "U1It4");
  EXPECT_EQ(ed->NrOfMarkedDataA(), 0);
  Choose(CellPoint(2, 2), "M2It1");
  Choose(CellPoint(2, 2), "M2It4");
  EXPECT_EQ(ed->NrOfMarkedDataB(), 12);
  Choose(CellPoint(2, 2), "U2It1");
  EXPECT_EQ(ed->NrOfMarkedDataB(), 10);
  Choose(CellPoint(2, 2), "U2It2");
  EXPECT_EQ(ed->NrOfMarkedDataB(), 4);
  Choose(CellPoint(2, 2), "U2It4");
  EXPECT_EQ(ed->NrOfMarkedDataB(), 0);
  ed->MarkAllElemsA();
  ed->MarkAllElemsB();
  Reset();
  Choose(CellPoint(2, 2), "DIt5");  // unmark all
  EXPECT_FALSE(ed->IfAnyMarked());
  EXPECT_EQ(ed->CellState(2, 2), dtsEmpty);
  EXPECT_EQ(n.States, 1);
}

TEST_F(NTabEdPopupTest, ClearAndToggleEmptyWorkOnTheSelection) {
  Select(1, 1, 2, 2);
  ed->SetElemMarkedA(1, 1, true);
  ed->SetCellState(2, 2, dtsInvalid | dtsEmpty | dtsMarkB);
  ed->SetIsEmpty(3, 3, true);
  Reset();
  Choose(CellPoint(1, 1), "DIt6");
  for (int c = 1; c <= 2; ++c) {
    for (int r = 1; r <= 2; ++r) {
      EXPECT_EQ(ed->Elem(c, r), 0);
      EXPECT_EQ(ed->CellState(c, r), 0);
    }
  }
  EXPECT_EQ(ed->Elem(3, 1), 31);
  EXPECT_TRUE(ed->IsEmpty(3, 3));
  EXPECT_EQ(n.Paste + n.Data + n.States, 3);
  Reset();
  ed->SetElemMarkedB(2, 2, true);
  Choose(CellPoint(1, 1), "DIt12");
  EXPECT_EQ(ed->CellState(1, 1), dtsEmpty);
  EXPECT_EQ(ed->CellState(2, 2), dtsEmpty | dtsMarkB);
  EXPECT_EQ(n.States, 2);
  Choose(CellPoint(1, 1), "DIt12");
  EXPECT_EQ(ed->CellState(1, 1), 0);
}

TEST_F(NTabEdPopupTest, CopyOffersPasteAndReadOnlyWithdrawsIt) {
  Select(1, 1, 2, 1);
  ed->SetClipboardUseFullPrec(false);
  Choose(CellPoint(1, 1), "DIt7");
  EXPECT_EQ(host.ClipboardText(), " 11.000\t21.000\r\n");
  Select(2, 3, 2, 3);
  Reset();
  Choose(CellPoint(2, 3), "DIt8");
  EXPECT_TRUE(ed->PopupD()->Items()->Items(7)->Enabled());
  EXPECT_EQ(ed->Elem(2, 3), 11);
  EXPECT_EQ(ed->Elem(3, 3), 21);
  EXPECT_EQ(n.Paste, 1);
  // "Data Read-Only" toggles and shows its state as a box.
  Reset();
  Choose(CellPoint(1, 1), "DIt9");
  EXPECT_TRUE(ed->DataReadOnly());
  EXPECT_EQ(n.Setup, 1);
  Choose(CellPoint(1, 1), "");
  EXPECT_FALSE(ed->PopupD()->Items()->Items(7)->Enabled());
  TBitmap checked;
  checked.LoadFromResourceName("CHECKEDBOX");
  const TBitmap* shown = ed->PopupD()->Items()->Items(8)->Bitmap();
  ASSERT_EQ(shown->Width(), checked.Width());
  EXPECT_TRUE(SamePixels(*shown, checked));
  Choose(CellPoint(1, 1), "DIt9");
  EXPECT_FALSE(ed->DataReadOnly());
  Choose(CellPoint(1, 1), "");
  EXPECT_TRUE(ed->PopupD()->Items()->Items(7)->Enabled());
  TBitmap empty;
  empty.LoadFromResourceName("EMPTYBOX");
  EXPECT_TRUE(SamePixels(*shown, empty));
  EXPECT_FALSE(SamePixels(checked, empty));
}

TEST_F(NTabEdPopupTest, ExtractAndSelectAllThroughTheMenu) {
  host.SetClipboardText("1\t2\r\n3\t4\r\n");
  Select(2, 2, 2, 2);
  Choose(CellPoint(2, 2), "DIt10");
  EXPECT_EQ(ed->Elem(2, 2), 1);
  EXPECT_EQ(ed->Elem(3, 3), 4);
  Reset();
  Choose(CellPoint(1, 1), "DIt11");
  EXPECT_EQ(ed->Selection(), (TGridRect{2, 1, 4, 4}));
  EXPECT_EQ(n.Selection, 1);  // reported once, not again by the mouse-up
}

// ---- heading commands -------------------------------------------------------------------------

TEST_F(NTabEdPopupTest, ChangePrecisionStepsAndReopensTheMenu) {
  ed->SetPrecision(2, 0);
  Reset();
  const int count = host.PopupCount();
  Choose(ColNamePoint(2), "HIt2");  // chosen once; the menu opens again
  EXPECT_EQ(ed->Precision(2), -1);
  EXPECT_EQ(host.PopupCount(), count + 2);
  EXPECT_EQ(n.Layout, 1);
  Choose(ColNamePoint(2), "HIt2", 3);  // stepped three times in a row
  EXPECT_EQ(ed->Precision(2), 8);
  EXPECT_EQ(n.Layout, 4);
  // Over a row heading the command does nothing, even called directly.
  Choose(RowNamePoint(1), "");
  ed->PopupMenuClickPrecision(nullptr);
  EXPECT_EQ(ed->Precision(1), 3);
}

TEST_F(NTabEdPopupTest, SelectInsertAndDeleteColumnsAndRows) {
  host.Click(*ed, CellPoint(1, 1).X, CellPoint(1, 1).Y);
  Reset();
  Choose(ColNamePoint(2), "HIt3");
  EXPECT_EQ(ed->Selection(), (TGridRect{3, 1, 3, 4}));
  EXPECT_EQ(n.Selection, 1);
  Choose(RowNamePoint(3), "HIt3");
  EXPECT_EQ(ed->Selection(), (TGridRect{2, 3, 4, 3}));
  EXPECT_EQ(n.Selection, 2);
  ed->SetColName(2, "B");
  Reset();
  Choose(ColNamePoint(2), "HIt4");
  EXPECT_EQ(ed->NrOfColumns(), 4);
  EXPECT_EQ(ed->ColName(2), "(...)");
  EXPECT_EQ(ed->ColName(3), "B");
  EXPECT_EQ(ed->Elem(3, 1), 21);
  EXPECT_EQ(n.Setup, 1);
  Choose(RowNamePoint(1), "HIt4");
  EXPECT_EQ(ed->NrOfRows(), 5);
  EXPECT_EQ(ed->RowName(1), "(...)");
  EXPECT_EQ(ed->Elem(1, 2), 11);
  Reset();
  Choose(ColNamePoint(2), "HIt5");
  EXPECT_EQ(ed->NrOfColumns(), 3);
  EXPECT_EQ(ed->ColName(2), "B");
  EXPECT_EQ(n.Setup, 1);  // one report, not two
  Choose(RowNamePoint(1), "HIt5");
  EXPECT_EQ(ed->NrOfRows(), 4);
  EXPECT_EQ(ed->Elem(1, 1), 11);
  EXPECT_EQ(n.Setup, 2);
  // The last column stays.
  ed->Redimension(1, 1);
  Reset();
  Choose(ColNamePoint(1), "HIt5");
  EXPECT_EQ(ed->NrOfColumns(), 1);
  EXPECT_EQ(n.Setup, 0);
}

// ---- the heading editor ---------------------------------------------------------------------------

TEST_F(NTabEdPopupTest, HeadingEditorStoresNamesOnEnterAndDropsThemOnEscape) {
  ed->SetColName(2, "Old");
  Reset();
  Choose(ColNamePoint(2), "HIt1");
  ASSERT_TRUE(ed->HeadingEditorActive());
  TEdit* editor = ed->HeadingEditor();
  EXPECT_TRUE(editor->Visible());
  EXPECT_TRUE(editor->Focused());
  EXPECT_EQ(editor->Text(), "Old");
  const TRect cell = ed->CellRect(3, 0);
  EXPECT_EQ(editor->Left(), cell.Left + 30);
  EXPECT_EQ(editor->Top(), cell.Top + 5);
  // While it is open, clicks on the grid do nothing at all.
  host.Click(*ed, CellPoint(1, 3).X, CellPoint(1, 3).Y);
  EXPECT_EQ(ed->PopupCell(), (TGridCoord{3, 0}));
  host.Type("Mass");
  host.PressKey(VK_RETURN);
  EXPECT_FALSE(ed->HeadingEditorActive());
  EXPECT_FALSE(editor->Visible());
  EXPECT_EQ(ed->ColName(2), "Mass");
  EXPECT_EQ(n.Heading, 1);
  EXPECT_TRUE(ed->Focused());
  ed->SetRowName(4, "R-4");
  Choose(RowNamePoint(4), "HIt1");
  EXPECT_EQ(editor->Text(), "R-4");
  host.Type(std::string(60, 'r'));
  host.PressKey(VK_RETURN);
  EXPECT_EQ(ed->RowName(4), std::string(50, 'r'));
  Reset();
  Choose(RowNamePoint(4), "HIt1");
  host.Type("gone");
  host.PressKey(VK_ESCAPE);
  EXPECT_FALSE(ed->HeadingEditorActive());
  EXPECT_EQ(ed->RowName(4), std::string(50, 'r'));
  EXPECT_EQ(n.Heading, 0);
}

TEST_F(NTabEdPopupTest, HeadingEditorReadsAttributesAsClampedNumbers) {
  ed->SetAttribColVisible(true);
  ed->SetRowAttrib(2, 7);
  const TPoint colAttrib{114 + 65 + 20, 35};        // grid cell (3, 1)
  const TPoint rowAttrib{96, 25 + 25 + 25 + 10};    // grid cell (1, 3)
  Choose(rowAttrib, "HIt1");
  ASSERT_TRUE(ed->HeadingEditorActive());
  EXPECT_EQ(ed->HeadingEditor()->Text(), "7");
  host.Type("300");
  host.PressKey(VK_RETURN);
  EXPECT_EQ(ed->RowAttrib(2), 255);
  Reset();
  Choose(colAttrib, "HIt1");
  host.Type(" 12,6 ");
  host.PressKey(VK_RETURN);
  EXPECT_EQ(ed->ColAttrib(2), 13);
  EXPECT_EQ(n.Heading, 1);
  EXPECT_EQ(n.Attrib, 1);
  Reset();
  Choose(colAttrib, "HIt1");
  host.Type("x");
  host.PressKey(VK_RETURN);
  EXPECT_EQ(ed->ColAttrib(2), 13);
  EXPECT_EQ(n.Heading + n.Attrib, 0);
  Choose(colAttrib, "HIt1");
  host.Type("-4");
  host.PressKey(VK_RETURN);
  EXPECT_EQ(ed->ColAttrib(2), 0);
  // Not over the corner block, nor over a data cell.
  host.Click(*ed, 96, 35, mbRight);
  ed->PopupMenuClickChangeID(nullptr);
  EXPECT_FALSE(ed->HeadingEditorActive());
  host.Click(*ed, CellPoint(1, 1).X, CellPoint(1, 1).Y + 25);
  ed->PopupMenuClickChangeID(nullptr);
  EXPECT_FALSE(ed->HeadingEditorActive());
}

// Enter and Escape belong to the open editor, not to the form's default
// and cancel buttons.
TEST_F(NTabEdPopupTest, EditorsKeepEnterAndEscapeFromTheFormsButtons) {
  int pressed = 0;
  auto* ok = new TButton(form.get());
  ok->SetParent(form.get());
  ok->SetBounds(400, 260, 60, 24);
  ok->SetDefault(true);
  ok->SetOnClick([&pressed](TObject*) { ++pressed; });
  auto* cancel = new TButton(form.get());
  cancel->SetParent(form.get());
  cancel->SetBounds(330, 260, 60, 24);
  cancel->SetCancel(true);
  cancel->SetOnClick([&pressed](TObject*) { ++pressed; });
  Choose(ColNamePoint(1), "HIt1");
  host.Type("Kept");
  host.PressKey(VK_RETURN);
  EXPECT_EQ(ed->ColName(1), "Kept");
  Choose(ColNamePoint(1), "HIt1");
  host.PressKey(VK_ESCAPE);
  EXPECT_FALSE(ed->HeadingEditorActive());
  host.Click(*ed, 40, 5, mbRight);
  host.Type("note");
  host.PressKey(VK_RETURN);
  EXPECT_EQ(ed->Comment(), "note");
  host.Click(*ed, 40, 5, mbRight);
  host.PressKey(VK_ESCAPE);
  EXPECT_FALSE(ed->CommentEditorActive());
  EXPECT_EQ(pressed, 0);
}

// ---- the comment editor ---------------------------------------------------------------------------

TEST_F(NTabEdPopupTest, CommentEditorOpensOnTheCornerAndStoresOnEnter) {
  ed->SetComment("first");
  Reset();
  host.Click(*ed, 40, 5, mbRight);
  ASSERT_TRUE(ed->CommentEditorActive());
  TMemo* memo = ed->CommentEditor();
  EXPECT_TRUE(memo->Visible());
  EXPECT_TRUE(memo->Focused());
  EXPECT_EQ(memo->Text(), "first");
  EXPECT_EQ(memo->BoundsRect(), (TRect{80, 0, 80 + 480 - 80 - 20, 80}));
  EXPECT_EQ(memo->Color(), static_cast<TColor>(0x808000));
  // The corner says what the memo is for.
  auto shot = host.Snapshot(*ed);
  EXPECT_EQ(ColorToRGB(shot->Canvas()->Pixels(2, 20)), static_cast<TColor>(0x808000));
  host.Type(" and more");
  host.PressKey(VK_RETURN);
  EXPECT_FALSE(ed->CommentEditorActive());
  EXPECT_FALSE(memo->Visible());
  EXPECT_EQ(ed->Comment(), "first and more");
  EXPECT_EQ(n.Data, 1);
  EXPECT_TRUE(ed->Focused());
  shot = host.Snapshot(*ed);
  EXPECT_NE(ColorToRGB(shot->Canvas()->Pixels(2, 20)), static_cast<TColor>(0x808000));
}

TEST_F(NTabEdPopupTest, CommentEditorDropsTextOnEscapeOrACornerClick) {
  ed->SetComment("kept");
  Reset();
  host.Click(*ed, 40, 5, mbRight);
  host.Type("typed");
  host.PressKey(VK_ESCAPE);
  EXPECT_FALSE(ed->CommentEditorActive());
  host.Click(*ed, 40, 5, mbRight);
  EXPECT_EQ(ed->CommentEditor()->Text(), "kept");
  host.Type("typed");
  host.Click(*ed, 40, 5);
  EXPECT_FALSE(ed->CommentEditorActive());
  EXPECT_EQ(ed->Comment(), "kept");
  EXPECT_EQ(n.Data, 0);
  ed->SetCommentEditingAllowed(false);
  host.Click(*ed, 40, 5, mbRight);
  EXPECT_FALSE(ed->CommentEditorActive());
}

}  // namespace
}  // namespace vorn
