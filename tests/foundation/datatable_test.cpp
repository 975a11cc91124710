#include "vorn/foundation/datatable.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>
#include <vector>

#include "vorn/foundation/intmatrix.h"
#include "vorn/foundation/mathfuncs.h"

namespace vorn {
namespace {

using TResize = std::array<int, 4>;

// A table whose cell (c, r) holds 10 c + r, with names "C<c>" and "R<r>".
void Number(TDataTable& t) {
  for (int c = 1; c <= t.NrOfColumns(); ++c) {
    t.SetColName(c, "C" + std::to_string(c));
    for (int r = 1; r <= t.NrOfRows(); ++r) t.SetElem(c, r, 10 * c + r);
  }
  for (int r = 1; r <= t.NrOfRows(); ++r) t.SetRowName(r, "R" + std::to_string(r));
}

std::vector<double> RowValues(const TDataTable& t, int r) {
  std::vector<double> out;
  for (int c = 1; c <= t.NrOfColumns(); ++c) out.push_back(t.GetElem(c, r));
  return out;
}

std::vector<double> ColValues(const TDataTable& t, int c) {
  std::vector<double> out;
  for (int r = 1; r <= t.NrOfRows(); ++r) out.push_back(t.GetElem(c, r));
  return out;
}

class DataTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    table.Resize(3, 4);
    Number(table);
    table.SetOnResize([this](TObject* s, int oc, int orow, int nc, int nr) {
      EXPECT_EQ(s, &table);
      resizes.push_back({oc, orow, nc, nr});
    });
  }
  TDataTable table;
  std::vector<TResize> resizes;
};

TEST_F(DataTableTest, InsertAndRemoveColumnsMoveEverythingOfTheColumn) {
  table.SetColAttrib(2, 7);
  table.SetMScaleType(2, mstNominal);
  table.SetNominalID(2, 3, "three");
  table.SetCellState(2, 1, dtsMarkA);
  table.InsertColumn(1);
  EXPECT_EQ(resizes, (std::vector<TResize>{{3, 4, 4, 4}}));
  EXPECT_EQ(RowValues(table, 1), (std::vector<double>{0, 11, 21, 31}));
  EXPECT_EQ(table.GetColName(1), "");
  EXPECT_EQ(table.GetColName(3), "C2");
  EXPECT_EQ(table.GetColAttrib(3), 7);
  EXPECT_EQ(table.GetMScaleType(3), mstNominal);
  EXPECT_EQ(table.GetNominalID(3, 3), "three");
  EXPECT_EQ(table.GetCellState(3, 1), dtsMarkA);
  EXPECT_EQ(table.GetCellState(1, 1), 0);

  table.InsertColumn(5);  // append
  table.InsertColumn(7);  // out of range
  table.RemoveColumn(1);
  table.RemoveColumn(0);
  EXPECT_EQ(resizes, (std::vector<TResize>{{3, 4, 4, 4}, {4, 4, 5, 4}, {5, 4, 4, 4}}));
  EXPECT_EQ(RowValues(table, 4), (std::vector<double>{14, 24, 34, 0}));
  EXPECT_EQ(table.GetNominalID(2, 3), "three");
}

TEST_F(DataTableTest, InsertAndRemoveRows) {
  table.SetRowAttrib(2, 9);
  table.InsertRow(2);
  EXPECT_EQ(ColValues(table, 1), (std::vector<double>{11, 0, 12, 13, 14}));
  EXPECT_EQ(table.GetRowName(3), "R2");
  EXPECT_EQ(table.GetRowAttrib(3), 9);
  table.InsertRow(6);
  table.InsertRow(8);
  table.RemoveRow(1);
  table.RemoveRow(6);
  EXPECT_EQ(ColValues(table, 2), (std::vector<double>{0, 22, 23, 24, 0}));
  EXPECT_EQ(resizes, (std::vector<TResize>{{3, 4, 3, 5}, {3, 5, 3, 6}, {3, 6, 3, 5}}));
}

TEST_F(DataTableTest, MirrorRowsAndColumns) {
  table.SetRowAttrib(1, 1);
  table.SetCellState(1, 1, dtsEmpty);
  table.MirrorRows();
  EXPECT_EQ(ColValues(table, 3), (std::vector<double>{34, 33, 32, 31}));
  EXPECT_EQ(table.GetRowName(4), "R1");
  EXPECT_EQ(table.GetRowAttrib(4), 1);
  EXPECT_EQ(table.GetCellState(1, 4), dtsEmpty);
  table.MirrorColumns();
  EXPECT_EQ(RowValues(table, 1), (std::vector<double>{34, 24, 14}));
  EXPECT_EQ(table.GetColName(1), "C3");
  EXPECT_TRUE(resizes.empty());
}

TEST_F(DataTableTest, ResizeKeepsWhatFitsAndReportsEveryChange) {
  table.Resize(2, 5);
  table.Resize(2, 5);  // unchanged: no report
  table.Resize(2, 6);
  EXPECT_EQ(resizes, (std::vector<TResize>{{3, 4, 2, 5}, {2, 5, 2, 6}}));
  EXPECT_EQ(RowValues(table, 4), (std::vector<double>{14, 24}));
  EXPECT_EQ(RowValues(table, 6), (std::vector<double>{0, 0}));
  EXPECT_EQ(table.GetRowName(4), "R4");
  EXPECT_EQ(table.GetRowName(5), "");
  EXPECT_EQ(table.GetColName(2), "C2");

  for (auto [c, r] : {std::pair{-1, 3}, {3, -1}, {2000000000, 2000000000}}) {
    EXPECT_THROW(table.Resize(c, r), EVORNError);
    EXPECT_EQ(table.NrOfColumns(), 2);
    EXPECT_EQ(table.NrOfRows(), 6);
    EXPECT_EQ(table.GetElem(2, 4), 24);
  }
  EXPECT_EQ(resizes.size(), 2u);
}

TEST_F(DataTableTest, OutOfRangeReadsZeroAndWritesNothing) {
  int events = 0;
  table.SetOnChange([&](TObject*) { ++events; });
  table.SetOnChangeSetup([&](TObject*) { ++events; });
  for (auto [c, r] : {std::pair{0, 1}, {4, 1}, {1, 0}, {1, 5}}) {
    table.SetElem(c, r, 5);
    table.SetCellState(c, r, 3);
    EXPECT_EQ(table.GetElem(c, r), 0);
    EXPECT_EQ(table.GetCellState(c, r), 0);
    EXPECT_FALSE(table.GetIsNumber(c, r));
  }
  table.SetColName(4, "x");
  table.SetRowAttrib(0, 1);
  table.SetMScaleType(1, NumMScaleTypes);
  table.SetNominalID(1, 151, "x");
  table.SetNominalID(1, 0, "x");
  EXPECT_EQ(table.GetColName(4), "");
  EXPECT_EQ(table.GetRowAttrib(0), 0);
  EXPECT_EQ(table.GetMScaleType(1), 0);
  EXPECT_EQ(table.GetNominalID(1, 151), "");
  EXPECT_EQ(table.OrdinalOfNominalID(9, "x"), -1);
  EXPECT_EQ(events, 0);
}

TEST_F(DataTableTest, NominalIdentifiers) {
  table.SetNominalID(1, 1, "low");
  table.SetNominalID(1, 150, "High");
  table.SetNominalID(1, 2, "far too long an identifier");
  EXPECT_EQ(table.GetNominalID(1, 2), "far too lo");
  EXPECT_EQ(table.GetNominalID(1, 3), "");
  EXPECT_EQ(table.GetNominalID(2, 1), "");
  EXPECT_EQ(table.OrdinalOfNominalID(1, "high"), 150);
  EXPECT_EQ(table.OrdinalOfNominalID(1, "high", false), 0);
  EXPECT_EQ(table.OrdinalOfNominalID(1, "High", false), 150);
  EXPECT_EQ(table.OrdinalOfNominalID(1, "far too long an identifier"), 2);
  EXPECT_EQ(table.OrdinalOfNominalID(1, ""), 0);
  EXPECT_EQ(table.OrdinalOfNominalID(2, "low"), 0);
  EXPECT_STREQ(MScaleTypeNames[mstNominal], "nominal");
}

TEST_F(DataTableTest, StatesAndMarks) {
  table.SetCellState(1, 1, dtsInvalid | dtsMarkA);
  table.SetCellState(2, 1, dtsEmpty | dtsMarkB);
  table.SetCellState(3, 1, dtsMarkA | dtsMarkB);
  EXPECT_FALSE(table.GetIsNumber(1, 1));
  EXPECT_TRUE(table.GetIsNumber(3, 1));
  table.ExchangeMarkings();
  EXPECT_EQ(table.GetCellState(1, 1), dtsInvalid | dtsMarkB);
  EXPECT_EQ(table.GetCellState(2, 1), dtsEmpty | dtsMarkA);
  EXPECT_EQ(table.GetCellState(3, 1), dtsMarkA | dtsMarkB);
  EXPECT_EQ(table.FillMarkedCells(-1, dtsMarkA), 2);
  // Storing a value makes the cell a number and keeps its marks.
  EXPECT_EQ(table.GetCellState(2, 1), dtsMarkA);
  EXPECT_EQ(table.GetElem(2, 1), -1);
  EXPECT_EQ(table.GetElem(1, 1), 11);
  table.InvertCellStates(dtsEmpty);
  EXPECT_EQ(table.GetCellState(1, 2), dtsEmpty);
  table.UnmarkAllCells();
  EXPECT_EQ(table.GetCellState(3, 1), dtsEmpty);
  EXPECT_EQ(table.GetCellState(1, 1), dtsInvalid | dtsEmpty);
  table.SetElem(1, 1, 2);
  EXPECT_EQ(table.GetCellState(1, 1), 0);
}

TEST_F(DataTableTest, SortRowsWithinARangeAnnouncesEachExchange) {
  table.Resize(3, 5);
  for (int r = 1; r <= 5; ++r) table.SetElem(2, r, std::array{5.0, 3.0, 4.0, 1.0, 2.0}[r - 1]);
  table.SetCellState(2, 2, dtsInvalid);  // sorts last
  std::vector<std::array<int, 6>> exchanges;
  table.SetOnBeforeSortExchange([&](TObject*, int kind, int a, int b, int lo, int hi) {
    exchanges.push_back({kind, a, b, lo, hi, static_cast<int>(table.GetElem(2, a))});
  });
  table.SortRows(2, true, 2, 2, 3, 5, false);  // rows 2..5, columns 2..3
  EXPECT_EQ(ColValues(table, 2), (std::vector<double>{5, 1, 2, 4, 3}));
  EXPECT_EQ(ColValues(table, 3), (std::vector<double>{31, 34, 0, 33, 32}));
  EXPECT_EQ(ColValues(table, 1), (std::vector<double>{11, 12, 13, 14, 0}));  // outside the block
  EXPECT_EQ(table.GetCellState(2, 5), dtsInvalid);
  EXPECT_EQ(table.GetRowName(2), "R2");
  ASSERT_FALSE(exchanges.empty());
  // Announced before the cells move: the first exchange still sees the old value.
  EXPECT_EQ(exchanges[0], (std::array<int, 6>{0, 2, 4, 2, 3, 3}));

  table.SortRows(2, false, 1, 1, 3, 5, true);
  EXPECT_EQ(ColValues(table, 2), (std::vector<double>{5, 4, 2, 1, 3}));
  EXPECT_EQ(table.GetRowName(2), "R4");
}

TEST_F(DataTableTest, SortColumnsByARowCarriesColumnHeaders) {
  table.SetElem(1, 2, 30);
  table.SetElem(2, 2, 10);
  table.SetElem(3, 2, 20);
  std::vector<int> kinds;
  table.SetOnBeforeSortExchange([&](TObject*, int kind, int, int, int lo, int hi) {
    kinds.push_back(kind);
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 4);
  });
  table.SortCols(2, true, 1, 1, 3, 4, true);
  EXPECT_EQ(RowValues(table, 2), (std::vector<double>{10, 20, 30}));
  EXPECT_EQ(RowValues(table, 1), (std::vector<double>{21, 31, 11}));
  EXPECT_EQ(table.GetColName(1), "C2");
  EXPECT_EQ(kinds, (std::vector<int>{1, 1}));
  table.SortColsBy([&](int a, int b) { return table.GetColName(a) > table.GetColName(b); }, 1, 1, 3, 4,
                   true);
  EXPECT_EQ(table.GetColName(1), "C3");
}

TEST_F(DataTableTest, NamesAreCutAndClearResetsEverything) {
  table.SetColName(1, std::string(60, 'n'));
  EXPECT_EQ(table.GetColName(1).size(), DTNameLength);
  table.SetFComment("note");
  table.SetMScaleType(1, 3);
  table.Clear();
  EXPECT_EQ(table.NrOfColumns(), 3);
  EXPECT_EQ(table.GetElem(2, 2), 0);
  EXPECT_EQ(table.GetColName(1), "");
  EXPECT_EQ(table.GetMScaleType(1), 0);
  EXPECT_EQ(table.Comment(), "");
}

TEST_F(DataTableTest, AssignCopiesAll) {
  table.SetFComment("c");
  table.SetNominalID(3, 4, "four");
  TDataTable copy(nullptr);
  copy.Assign(&table);
  EXPECT_EQ(copy.NrOfRows(), 4);
  EXPECT_EQ(RowValues(copy, 4), RowValues(table, 4));
  EXPECT_EQ(copy.GetRowName(3), "R3");
  EXPECT_EQ(copy.GetNominalID(3, 4), "four");
  EXPECT_EQ(copy.Comment(), "c");
}

TEST(Matrix, FillResizeAndIntMatrix) {
  TMatrix m(2, 3);
  m.Fill(1.5);
  m.Resize(3, 2);
  EXPECT_EQ(m.Elem(2, 2), 1.5);
  EXPECT_EQ(m.Elem(3, 1), 0);
  EXPECT_EQ(m.Elem(4, 1), 0);
  EXPECT_THROW(m.Resize(-1, 0), EVORNError);

  TIntMatrix im(nullptr);
  im.Resize(3, 2);
  im.SetVal(3, 2, -99999);
  im.SetNRows(5);
  EXPECT_EQ(im.NrOfRows(), 5);
  EXPECT_EQ(im.GetVal(3, 2), -99999);
  im.SetVal(0, 1, 7);
  EXPECT_EQ(im.GetVal(0, 1), 0);
  EXPECT_THROW(im.Resize(2000000000, 2000000000), EVORNError);
  EXPECT_EQ(im.NrOfColumns(), 3);
}

TEST(MathFuncs, DecimalIntegersAndIntNeg) {
  for (const char* good : {"0", "-12", "+7", " 42 ", "2147483647", "-2147483648"})
    EXPECT_TRUE(IsValidDecInt(good)) << good;
  for (const char* bad : {"", " ", "+", "-", "1.0", "1e3", "12a", "+-1", "2147483648", "0x1F"})
    EXPECT_FALSE(IsValidDecInt(bad)) << bad;
  EXPECT_EQ(IntNeg(2.7), 2);
  EXPECT_EQ(IntNeg(-2.1), -3);
  EXPECT_EQ(IntNeg(-3.0), -3);
  EXPECT_EQ(IntNeg(1e300), 2147483647);
  EXPECT_EQ(IntNeg(std::nan("")), 0);
}

}  // namespace
}  // namespace vorn
