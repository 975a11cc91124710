// The table editor's model: coordinates, sizes, the attribute bands, cell
// states and marks, notifications, the bound table, sorting and copying.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "vorn/ntabed/ntabed.h"
#include "tests/ntabed/ntabed_events.h"
#include "vorn/platform/hosts/headless.h"

namespace vorn {
namespace {

// Counts every notification by kind.
class NTabEdTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 600, 400);
    ed = new TNTabEd(form.get());
    ed->SetParent(form.get());
    ed->SetBounds(10, 10, 560, 360);
    form->Show();
    CountEvents(*ed, n);
  }

  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
  TNTabEd* ed = nullptr;
  TCounts n;
};

// ---- creation, coordinates, sizes --------------------------------------------------------

TEST_F(NTabEdTest, NewEditorShape) {
  EXPECT_EQ(ed->NrOfColumns(), 3);
  EXPECT_EQ(ed->NrOfRows(), 4);
  EXPECT_EQ(ed->ColCount(), 5);
  EXPECT_EQ(ed->RowCount(), 5);
  EXPECT_EQ(ed->FixedCols(), 2);
  EXPECT_EQ(ed->FixedRows(), 1);
  EXPECT_TRUE(ed->AttribRowVisible());
  EXPECT_FALSE(ed->AttribColVisible());
  EXPECT_EQ(ed->ColWidths(0), 80);
  EXPECT_EQ(ed->ColWidths(-1), 32);
  EXPECT_EQ(ed->Precision(1), 3);
  EXPECT_EQ(ed->Precision(4), 0);
  EXPECT_EQ(ed->DefaultRowHeight(), 24);
  EXPECT_FALSE(ed->Options().Contains(goEditing));
  EXPECT_TRUE(ed->Options().Contains(goRangeSelect));
  EXPECT_EQ(ed->NumWidth(), 1);
  EXPECT_EQ(ed->Elem(3, 4), 0.0);
  EXPECT_FALSE(ed->SuppressPaint());
}

TEST_F(NTabEdTest, GrowingColumnsCopiesWidthAndDecimalsOfTheLastColumn) {
  ed->SetColWidths(3, 90);
  ed->SetPrecision(3, 5);
  n = {};
  ed->SetNrOfColumns(5);
  EXPECT_EQ(ed->ColCount(), 7);
  EXPECT_EQ(ed->ColWidths(4), 90);
  EXPECT_EQ(ed->ColWidths(5), 90);
  EXPECT_EQ(ed->Precision(5), 5);
  EXPECT_EQ(ed->Precision(1), 3);
  EXPECT_EQ(n.Setup, 1);
  ed->Redimension(2, 7);
  EXPECT_EQ(ed->ColCount(), 4);
  EXPECT_EQ(ed->RowCount(), 8);
  EXPECT_EQ(ed->NrOfRows(), 7);
  EXPECT_EQ(n.Setup, 2);
}

TEST_F(NTabEdTest, ImpossibleSizesKeepTheEditorUsable) {
  ed->SetElem(2, 2, 5);
  EXPECT_THROW(ed->Redimension(2'000'000'000, 2'000'000'000), EVORNError);
  EXPECT_EQ(ed->NrOfColumns(), 3);
  EXPECT_EQ(ed->NrOfRows(), 4);
  EXPECT_EQ(ed->ColCount(), 5);
  EXPECT_EQ(ed->Elem(2, 2), 5.0);
  // Painting and notifications work again afterwards.
  n = {};
  ed->SetElem(1, 1, 2);
  EXPECT_EQ(n.Data, 1);
  // Sizes below one cell keep one column and one row.
  ed->Redimension(0, 0);
  EXPECT_EQ(ed->NrOfColumns(), 1);
  EXPECT_EQ(ed->NrOfRows(), 1);
  EXPECT_EQ(ed->ColCount(), 3);
  EXPECT_EQ(ed->FixedCols(), 2);
  ed->SetNrOfColumns(4);
  EXPECT_EQ(ed->FixedCols(), 2);
  EXPECT_EQ(ed->ColCount(), 6);
}

TEST_F(NTabEdTest, InsertAndRemoveRowsAndColumnsWithinTheirRange) {
  ed->SetRowName(4, "last");
  ed->InsertRow(ed->NrOfRows() + 2);
  EXPECT_EQ(ed->NrOfRows(), 4);
  ed->InsertRow(ed->NrOfRows() + 1);
  EXPECT_EQ(ed->NrOfRows(), 5);
  EXPECT_EQ(ed->RowCount(), 6);
  ed->InsertRow(1);
  EXPECT_EQ(ed->RowName(5), "last");
  ed->RemoveRow(0);
  EXPECT_EQ(ed->NrOfRows(), 6);
  ed->Redimension(1, 1);
  ed->RemoveRow(1);
  ed->RemoveColumn(1);
  EXPECT_EQ(ed->NrOfRows(), 1);
  EXPECT_EQ(ed->NrOfColumns(), 1);
  // Decimal places stay with column positions when the table inserts.
  ed->SetNrOfColumns(3);
  ed->SetPrecision(1, 7);
  ed->InsertColumn(1);
  EXPECT_EQ(ed->NrOfColumns(), 4);
  EXPECT_EQ(ed->ColCount(), 6);
  EXPECT_EQ(ed->Precision(1), 7);
  EXPECT_EQ(ed->Precision(4), 3);
  ed->RemoveColumn(2);
  EXPECT_EQ(ed->NrOfColumns(), 3);
  EXPECT_EQ(ed->ColCount(), 5);
}

TEST_F(NTabEdTest, MirroringMovesValuesAndDecimalPlaces) {
  ed->SetElem(1, 1, 1);
  ed->SetElem(3, 4, 9);
  ed->SetPrecision(1, 0);
  n = {};
  ed->MirrorRows();
  ed->MirrorColumns();
  EXPECT_EQ(ed->Elem(1, 1), 9.0);
  EXPECT_EQ(ed->Elem(3, 4), 1.0);
  EXPECT_EQ(ed->Precision(3), 0);
  EXPECT_EQ(n.Data, 2);
}

TEST_F(NTabEdTest, AttributeBandsKeepDataWidths) {
  ed->SetColWidths(1, 70);
  ed->SetColWidths(2, 71);
  ed->SetColWidths(-1, 40);
  n = {};
  ed->SetAttribRowVisible(false);
  EXPECT_EQ(ed->FixedCols(), 1);
  EXPECT_EQ(ed->ColCount(), 4);
  EXPECT_EQ(ed->ColWidths(1), 70);
  EXPECT_EQ(ed->ColWidths(2), 71);
  EXPECT_EQ(ed->ColWidths(-1), 0);
  ed->SetColWidths(-1, 99);  // hidden: ignored
  ed->SetAttribRowVisible(true);
  EXPECT_EQ(ed->ColWidths(-1), 40);
  EXPECT_EQ(ed->ColWidths(1), 70);
  EXPECT_EQ(ed->ColWidths(2), 71);
  EXPECT_EQ(ed->FixedCols(), 2);
  ed->SetRowHeights(0, 30);
  ed->SetAttribColVisible(true);
  EXPECT_EQ(ed->RowCount(), 6);
  EXPECT_EQ(ed->FixedRows(), 2);
  EXPECT_EQ(ed->RowHeights(1), 30);
  ed->SetAttribColVisible(true);
  EXPECT_EQ(n.Layout, 4);  // three visibility changes and the ignored width write
  ed->SetAttribColVisible(false);
  EXPECT_EQ(ed->RowCount(), 5);
}

TEST_F(NTabEdTest, DefaultColWidthKeepsTheHeadingColumns) {
  ed->SetColWidths(-1, 45);
  n = {};
  ed->SetDefaultColWidth(50);
  EXPECT_EQ(ed->ColWidths(0), 80);
  EXPECT_EQ(ed->ColWidths(-1), 45);
  EXPECT_EQ(ed->ColWidths(2), 50);
  EXPECT_EQ(n.Layout, 1);
}

TEST_F(NTabEdTest, ScrollPositionsInTableNumbers) {
  ed->Redimension(40, 200);
  ed->SetTopRow(50);
  EXPECT_EQ(ed->TopRow(), 50);
  EXPECT_EQ(ed->TCustomGrid::TopRow(), 50);
  ed->SetTopRow(-5);
  EXPECT_EQ(ed->TopRow(), 1);
  ed->SetLeftCol(10);
  EXPECT_EQ(ed->LeftCol(), 10);
  EXPECT_EQ(ed->TCustomGrid::LeftCol(), 11);
  ed->SetLeftCol(0);
  EXPECT_EQ(ed->LeftCol(), 1);
}

// ---- cells, marks and notifications ---------------------------------------------------------

TEST_F(NTabEdTest, StateBitsKeepTheOthers) {
  ed->SetCellState(1, 1, 0x24);  // bits the editor never sets itself
  ed->SetElemMarkedA(1, 1, true);
  ed->SetElemMarkedB(1, 1, true);
  ed->SetIsEmpty(1, 1, true);
  EXPECT_EQ(ed->CellState(1, 1), 0x24 | 0x40 | 0x80 | 0x02);
  EXPECT_FALSE(ed->IsNumber(1, 1));
  ed->SetElemMarkedA(1, 1, false);
  ed->SetIsEmpty(1, 1, false);
  EXPECT_EQ(ed->CellState(1, 1), 0x24 | 0x80);
  EXPECT_TRUE(ed->ElemMarkedB(1, 1));
  EXPECT_TRUE(ed->IsNumber(1, 1));
  // Out of the table: nothing changes, the notification still comes.
  n = {};
  ed->SetElemMarkedA(9, 9, true);
  EXPECT_FALSE(ed->ElemMarkedA(9, 9));
  EXPECT_EQ(n.States, 1);
  EXPECT_EQ(n.Data, 0);
}

TEST_F(NTabEdTest, MarkQueries) {
  EXPECT_FALSE(ed->IfAnyMarked());
  ed->SetElemMarkedB(2, 3, true);
  EXPECT_FALSE(ed->IfRowMarked(0));
  EXPECT_TRUE(ed->IfRowMarked(3));
  EXPECT_FALSE(ed->IfRowMarked(2));
  EXPECT_TRUE(ed->IfColumnMarked(2));
  EXPECT_FALSE(ed->IfColumnMarked(4));
  EXPECT_TRUE(ed->IfAnyMarked());
  EXPECT_EQ(ed->NrOfMarkedDataA(), 0);
  EXPECT_EQ(ed->NrOfMarkedDataB(), 1);
  ed->ExchangeMarkings();
  EXPECT_EQ(ed->NrOfMarkedDataA(), 1);
  ed->MarkAllElemsB();
  EXPECT_EQ(ed->NrOfMarkedDataB(), 12);
  ed->UnMarkAllElems();
  EXPECT_FALSE(ed->IfAnyMarked());
}

TEST_F(NTabEdTest, BulkOperationsNotifyOnceAndPaintOnce) {
  ed->Redimension(100, 100);
  host.Snapshot(*form);
  int paints = 0;
  ed->SetOnBeforeRenderCell([&paints](TObject*, int, int, std::string&, TColor&, TColor&, TFontStyles&) { ++paints; });
  n = {};
  ed->MarkAllElemsA();
  EXPECT_EQ(n.States, 1);
  EXPECT_EQ(n.Data, 0);
  EXPECT_EQ(ed->NrOfMarkedDataA(), 100 * 100);
  host.Snapshot(*form);
  const int cellsShown = paints;
  EXPECT_GT(cellsShown, 0);
  EXPECT_LT(cellsShown, 200);  // the visible cells, once
  ed->InvertCellStates(dtsMarkA | dtsEmpty);
  EXPECT_EQ(n.States, 2);
  host.Snapshot(*form);
  EXPECT_EQ(paints, 2 * cellsShown);
  EXPECT_EQ(ed->NrOfMarkedDataA(), 0);
  EXPECT_TRUE(ed->IsEmpty(7, 7));
  ed->SetSuppressPaint(true);
  ed->SetElemMarkedB(5, 5, true);
  ed->SetElemMarkedB(6, 6, true);
  ed->SetSuppressPaint(false);
  host.Snapshot(*form);
  EXPECT_EQ(paints, 3 * cellsShown);
  n = {};
  EXPECT_EQ(ed->FillMarkedCells(4.5, dtsMarkB), 2);
  EXPECT_EQ(n.Data, 1);
  EXPECT_EQ(ed->Elem(6, 6), 4.5);
  host.Snapshot(*form);
  EXPECT_EQ(paints, 4 * cellsShown);  // each operation: the visible cells once
}

TEST_F(NTabEdTest, SuppressPaintSilencesNotifications) {
  ed->SetSuppressPaint(true);
  ed->SetElem(1, 1, 3);
  ed->SetColName(1, "x");
  ed->SetPrecision(1, 2);
  ed->MarkAllElemsA();
  EXPECT_EQ(n.Data + n.Heading + n.Layout + n.States, 0);
  int paints = 0;
  ed->SetOnBeforeRenderCell([&paints](TObject*, int, int, std::string&, TColor&, TColor&, TFontStyles&) { ++paints; });
  host.Snapshot(*form);
  EXPECT_EQ(paints, 0);
  ed->SetSuppressPaint(false);
  host.Snapshot(*form);
  EXPECT_GT(paints, 0);
}

TEST_F(NTabEdTest, IndexedPropertiesIgnoreOutOfRange) {
  ed->SetRowAttrib(0, 5);
  ed->SetColAttrib(4, 5);
  ed->SetColName(0, "x");
  ed->SetPrecision(4, 2);
  EXPECT_EQ(n.Attrib + n.Heading + n.Layout, 0);
  EXPECT_EQ(ed->RowAttrib(0), 0);
  EXPECT_EQ(ed->ColName(9), "");
  ed->SetRowAttrib(2, 200);
  EXPECT_EQ(ed->RowAttrib(2), 200);
  EXPECT_EQ(n.Attrib, 1);
  EXPECT_EQ(n.Setup, 0);
  ed->SetColName(2, std::string(80, 'n'));
  EXPECT_EQ(ed->ColName(2).size(), 50u);
  EXPECT_EQ(n.Heading, 1);
  ed->SetPrecision(1, 25);
  EXPECT_EQ(ed->Precision(1), 10);
  ed->SetPrecision(1, -7);
  EXPECT_EQ(ed->Precision(1), -1);
  ed->SetNumWidth(30);
  EXPECT_EQ(ed->NumWidth(), 1);
  EXPECT_EQ(n.Layout, 3);  // fired also for the refused width
  ed->SetComment("one\ttwo\nthree");
  EXPECT_EQ(ed->Comment(), "onetwothree");
  EXPECT_EQ(n.Data, 1);
}

TEST_F(NTabEdTest, ClearNamesColumnsAndRows) {
  ed->SetElem(1, 1, 7);
  ed->SetPrecision(2, 8);
  ed->Clear();
  EXPECT_EQ(ed->Elem(1, 1), 0.0);
  EXPECT_EQ(ed->ColName(3), "C-3");
  EXPECT_EQ(ed->RowName(4), "R-4");
  EXPECT_EQ(ed->Precision(2), 3);
  EXPECT_EQ(ed->FindColIndex("c-2"), 2);
  EXPECT_EQ(ed->FindRowIndex("R-9"), 0);
}

TEST_F(NTabEdTest, ReadOnlySwitchesEditing) {
  ed->SetDataReadOnly(false);
  EXPECT_FALSE(ed->Options().Contains(goEditing));  // unchanged value: nothing
  ed->SetDataReadOnly(true);
  EXPECT_FALSE(ed->Options().Contains(goEditing));
  ed->SetDataReadOnly(false);
  EXPECT_TRUE(ed->Options().Contains(goEditing));
}

// ---- the bound table ---------------------------------------------------------------------------

TEST_F(NTabEdTest, ExternalTableIsFollowedAndNeverFreed) {
  auto table = std::make_unique<TDataTable>(6, 2);
  table->SetElem(6, 2, 42);
  ed->AssignAnotherDataMatrix(table.get());
  EXPECT_EQ(ed->Data(), table.get());
  EXPECT_EQ(ed->ColCount(), 8);
  EXPECT_EQ(ed->RowCount(), 3);
  EXPECT_EQ(ed->Precision(6), 3);
  n = {};
  table->SetElem(1, 1, 3);  // the table's reports reach the editor
  EXPECT_EQ(n.Data, 1);
  table->Resize(7, 9);
  EXPECT_EQ(ed->ColCount(), 9);
  EXPECT_EQ(ed->RowCount(), 10);
  ed->SetNrOfRows(3);
  EXPECT_EQ(table->NrOfRows(), 3);
  delete form.release();  // the editor goes; the table stays, without its handlers
  EXPECT_FALSE(table->OnChange());
  table->SetElem(1, 1, 4);
  EXPECT_EQ(table->GetElem(6, 2), 42.0);
}

TEST_F(NTabEdTest, DestroyedExternalTableIsReplaced) {
  auto* table = new TDataTable(2, 2);
  ed->AssignAnotherDataMatrix(table);
  delete table;
  ASSERT_NE(ed->Data(), nullptr);
  EXPECT_NE(ed->Data(), table);
  EXPECT_EQ(ed->NrOfColumns(), 2);
  ed->SetElem(1, 1, 2);
  EXPECT_EQ(ed->Elem(1, 1), 2.0);
  host.Snapshot(*form);
}

TEST_F(NTabEdTest, ExternalTableWithoutCellsIsShownEmpty) {
  auto table = std::make_unique<TDataTable>(0, 0);
  ed->AssignAnotherDataMatrix(table.get());
  EXPECT_EQ(ed->NrOfColumns(), 0);
  EXPECT_EQ(ed->ColCount(), 3);  // one blank data column stays
  host.Snapshot(*form);
  ed->SetElem(1, 1, 1);
  ed->MarkAllElemsA();
  EXPECT_FALSE(ed->IfAnyMarked());
}

// ---- sorting, finding, copying -------------------------------------------------------------------

TEST_F(NTabEdTest, SortRowsIsStableAndMovesHeadersOnRequest) {
  const double values[4] = {3, 1, 3, 2};
  for (int r = 1; r <= 4; ++r) {
    ed->SetElem(1, r, values[r - 1]);
    ed->SetElem(2, r, r);
    ed->SetRowName(r, "r" + std::to_string(r));
  }
  ed->SetIsEmpty(1, 2, true);  // no number: last either way
  ed->SortRows(1, true, 1, 1, 3, 4, true);
  EXPECT_EQ(ed->Elem(2, 1), 4.0);
  EXPECT_EQ(ed->Elem(2, 2), 1.0);  // the two 3s keep their order
  EXPECT_EQ(ed->Elem(2, 3), 3.0);
  EXPECT_EQ(ed->Elem(2, 4), 2.0);
  EXPECT_EQ(ed->RowName(4), "r2");
  ed->SortRows(2, false, 1, 1, 3, 4, false);
  EXPECT_EQ(ed->Elem(2, 1), 4.0);
  EXPECT_EQ(ed->RowName(1), "r4");  // names stay where they were
}

TEST_F(NTabEdTest, SortingReportsProgressAsTheEditor) {
  ed->SetNrOfRows(500);
  for (int r = 1; r <= 500; ++r) ed->Data()->DataMat().SetElem(1, r, 500 - r);
  TObject* sender = nullptr;
  int last = -1;
  ed->SetOnPercentDone([&](TObject* Sender, int Percent) {
    sender = Sender;
    last = Percent;
  });
  ed->SortRows(1, true, 1, 1, 3, 500, false);
  EXPECT_EQ(sender, ed);
  EXPECT_EQ(last, 100);
  EXPECT_EQ(ed->Elem(1, 1), 0.0);
}

TEST_F(NTabEdTest, SortColsCarriesDecimalPlacesOnlyWithHeaders) {
  ed->SetElem(1, 1, 30);
  ed->SetElem(2, 1, 10);
  ed->SetElem(3, 1, 20);
  ed->SetPrecision(1, 1);
  ed->SetPrecision(2, 2);
  ed->SetPrecision(3, 4);
  ed->SortCols(1, true, 1, 1, 3, 4, false);
  EXPECT_EQ(ed->Elem(1, 1), 10.0);
  EXPECT_EQ(ed->Precision(1), 1);
  ed->SortCols(1, false, 1, 1, 3, 4, true);
  EXPECT_EQ(ed->Elem(1, 1), 30.0);
  EXPECT_EQ(ed->Elem(3, 1), 10.0);
  EXPECT_EQ(ed->Precision(1), 4);  // the places of the column holding 30
  EXPECT_EQ(ed->Precision(2), 2);
  EXPECT_EQ(ed->Precision(3), 1);
}

TEST_F(NTabEdTest, SortByNamesAndAttributes) {
  ed->SetColName(1, "beta");
  ed->SetColName(2, "Alpha");
  ed->SetColName(3, "alpha");
  ed->SetElem(1, 1, 1);
  ed->SortColNames(true, true, 1, 1, 3, 4);
  EXPECT_EQ(ed->ColName(1), "Alpha");
  EXPECT_EQ(ed->ColName(2), "alpha");
  EXPECT_EQ(ed->ColName(3), "beta");
  EXPECT_EQ(ed->Elem(3, 1), 1.0);
  ed->SortColNames(false, 1, 1, 3, 4);  // with regard to case: "beta" > "alpha" > "Alpha"
  EXPECT_EQ(ed->ColName(1), "beta");
  EXPECT_EQ(ed->ColName(3), "Alpha");
  for (int r = 1; r <= 4; ++r) ed->SetRowAttrib(r, static_cast<std::uint8_t>(10 - r));
  ed->SortRowAttributes(true, 1, 1, 3, 4);
  EXPECT_EQ(ed->RowAttrib(1), 6);
  EXPECT_EQ(ed->RowAttrib(4), 9);
  EXPECT_EQ(ed->FindColIndex("ALPHA"), 2);
}

TEST_F(NTabEdTest, CopyingBetweenEditors) {
  auto* other = new TNTabEd(form.get());
  other->Redimension(5, 2);
  other->SetElem(5, 2, 8);
  other->SetElemMarkedA(1, 1, true);
  other->SetPrecision(5, 0);
  other->SetColName(5, "last");
  other->SetComment("note");
  EXPECT_FALSE(ed->CopyCellStatesFrom(other));
  n = {};
  ed->CopyContentsFrom(other);
  EXPECT_EQ(ed->NrOfColumns(), 5);
  EXPECT_EQ(ed->ColCount(), 7);
  EXPECT_EQ(ed->Elem(5, 2), 8.0);
  EXPECT_EQ(ed->Precision(5), 0);
  EXPECT_EQ(ed->ColName(5), "last");
  EXPECT_EQ(ed->Comment(), "note");
  EXPECT_TRUE(ed->ElemMarkedA(1, 1));
  EXPECT_EQ(n.Setup, 1);
  EXPECT_EQ(n.Data, 1);
  ed->UnMarkAllElems();
  other->SetElemMarkedB(2, 2, true);
  EXPECT_TRUE(ed->CopyCellStatesFrom(other));
  EXPECT_TRUE(ed->ElemMarkedA(1, 1));
  EXPECT_TRUE(ed->ElemMarkedB(2, 2));
  EXPECT_FALSE(ed->CopyCellStatesFrom(nullptr));
}

// A handler may delete the editor; the editor then stops touching itself.
TEST_F(NTabEdTest, HandlerDeletingTheEditor) {
  ed->SetOnCellStateChanged([this](TObject*) {
    delete ed;
    ed = nullptr;
  });
  ed->MarkAllElemsA();
  EXPECT_EQ(ed, nullptr);
  host.Snapshot(*form);
}

}  // namespace
}  // namespace vorn
