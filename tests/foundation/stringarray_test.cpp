#include "vorn/foundation/stringarray.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace vorn {
namespace {

// The shown column Col as a list.
std::vector<std::string> Column(const TStringArray& a, int Col) {
  std::vector<std::string> out;
  for (int r = 1; r <= a.NrOfRows(); ++r) out.push_back(a.GetString(Col, r));
  return out;
}

void FillColumn(TStringArray& a, int Col, const std::vector<std::string>& values) {
  for (std::size_t i = 0; i < values.size(); ++i) a.SetString(Col, static_cast<int>(i) + 1, values[i]);
}

TEST(StringArray, NumbersCompareByValueTextsWithoutCaseEmptyFirst) {
  TStringArray a(1, 9);
  FillColumn(a, 1, {"banana", "10", "", "Apple", "9", "apple", "-2.5", "1e1", "Cherry"});
  a.Sort(1, -1, true);
  // 10 and 1e1 are equal numbers and keep their order; "Apple" and "apple"
  // are equal without case and ordered by case.
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"", "-2.5", "9", "10", "1e1", "Apple", "apple",
                                                    "banana", "Cherry"}));
  a.Sort(1, -1, false);
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"Cherry", "banana", "apple", "Apple", "10",
                                                    "1e1", "9", "-2.5", ""}));
}

TEST(StringArray, SortIsStableAndUsesTheSecondaryColumn) {
  TStringArray a(2, 6);
  FillColumn(a, 1, {"b", "a", "b", "a", "b", "a"});
  FillColumn(a, 2, {"3", "2", "1", "1", "2", "3"});
  for (int r = 1; r <= 6; ++r) a.SetString(0, r, std::to_string(r));

  a.Sort(1, -1, true);  // stable: the original order within each key
  EXPECT_EQ(Column(a, 0), (std::vector<std::string>{"2", "4", "6", "1", "3", "5"}));
  a.UnSort();
  a.Sort(1, 2, true);
  EXPECT_EQ(Column(a, 0), (std::vector<std::string>{"4", "2", "6", "3", "5", "1"}));
  a.UnSort();
  a.Sort(1, 2, false);
  EXPECT_EQ(Column(a, 0), (std::vector<std::string>{"1", "5", "3", "6", "2", "4"}));
}

TEST(StringArray, LongTextsThatShareAPrefixAreComparedInFull) {
  TStringArray a(1, 4);
  FillColumn(a, 1, {"prefix-same-Zeta", "PREFIX-same-alpha", "prefix-same-beta", "prefix-sam"});
  a.Sort(1, 0, true);
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"prefix-sam", "PREFIX-same-alpha",
                                                    "prefix-same-beta", "prefix-same-Zeta"}));
}

TEST(StringArray, CaseFoldingCoversAccentedLetters) {
  TStringArray a(1, 3);
  FillColumn(a, 1, {"Ölfeld", "zebra", "öl"});
  a.Sort(1, -1, true);
  // Ö and ö fold alike, and both sort after the plain letters.
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"zebra", "öl", "Ölfeld"}));
}

TEST(StringArray, PermutationCommitAndUnSort) {
  TStringArray a(1, 4);
  FillColumn(a, 1, {"d", "b", "c", "a"});
  a.Sort(1, -1, true);
  EXPECT_EQ(a.GetSortOrder(1), 4);
  EXPECT_EQ(a.GetSortOrder(4), 1);
  EXPECT_EQ(a.GetSortOrder(0), 0);
  a.UnSort();
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"d", "b", "c", "a"}));

  a.Sort(1, -1, true);
  a.CommitSorting();
  for (int r = 1; r <= 4; ++r) EXPECT_EQ(a.GetSortOrder(r), r);
  a.UnSort();
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST(StringArray, CopyingAnOrderRowByRowReproducesIt) {
  TStringArray src(1, 5), dst(1, 5);
  FillColumn(src, 1, {"e", "a", "d", "b", "c"});
  src.Sort(1, -1, true);
  for (int r = 1; r <= 5; ++r) dst.SetSortOrder(r, src.GetSortOrder(r));
  for (int r = 1; r <= 5; ++r) EXPECT_EQ(dst.GetSortOrder(r), src.GetSortOrder(r));
  // Out-of-range requests leave the order a permutation.
  dst.SetSortOrder(1, 9);
  dst.SetSortOrder(0, 1);
  for (int r = 1; r <= 5; ++r) EXPECT_EQ(dst.GetSortOrder(r), src.GetSortOrder(r));
}

TEST(StringArray, RowAttributesFollowTheirRows) {
  TStringArray a(1, 3);
  FillColumn(a, 1, {"c", "a", "b"});
  a.SetRowAttrib(1, 0x80);  // row "c"
  a.SetRowAttrib(3, 0x40);  // row "b"
  a.Sort(1, -1, true);
  EXPECT_EQ(a.GetRowAttrib(1), 0);
  EXPECT_EQ(a.GetRowAttrib(2), 0x40);
  EXPECT_EQ(a.GetRowAttrib(3), 0x80);
  a.CommitSorting();
  a.UnSort();
  EXPECT_EQ(a.GetRowAttrib(3), 0x80);
  a.InsertRow(1);
  EXPECT_EQ(a.GetRowAttrib(1), 0);
  EXPECT_EQ(a.GetRowAttrib(4), 0x80);
  a.RemoveRow(3);  // "b"
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"", "a", "c"}));
  EXPECT_EQ(a.GetRowAttrib(3), 0x80);
}

TEST(StringArray, InsertIntoASortedTableStaysBeforeTheSameRowAfterUnSort) {
  TStringArray a(1, 3);
  FillColumn(a, 1, {"c", "a", "b"});
  a.Sort(1, -1, true);  // shows a, b, c
  a.InsertRow(3);       // before "c"
  a.SetString(1, 3, "new");
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"a", "b", "new", "c"}));
  a.UnSort();
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"new", "c", "a", "b"}));
  a.InsertRow(5);
  EXPECT_EQ(a.NrOfRows(), 5);
  a.InsertRow(7);  // out of range
  EXPECT_EQ(a.NrOfRows(), 5);
}

// A row's cells read at once follow the shown order, like StringView.
TEST(StringArray, RowViewsReadTheShownRow) {
  TStringArray a(3, 3);
  for (int r = 1; r <= 3; ++r)
    for (int c = 0; c <= 3; ++c) a.SetString(c, r, std::string(1, static_cast<char>('a' + r)) + std::to_string(c));
  a.Sort(1, 0, false);  // rows d, c, b
  const int cols[] = {3, -1, 0, 4, 1};
  std::string_view out[5];
  a.RowViews(1, cols, out);
  EXPECT_EQ(out[0], "d3");
  EXPECT_EQ(out[1], "");
  EXPECT_EQ(out[2], "d0");
  EXPECT_EQ(out[3], "");
  EXPECT_EQ(out[4], a.StringView(1, 1));
  a.RowViews(4, cols, out);
  for (const std::string_view v : out) EXPECT_TRUE(v.empty());
}

TEST(StringArray, OutOfRangeAccessReadsEmptyAndWritesNothing) {
  TStringArray a(2, 2);
  int changes = 0;
  a.SetOnChange([&](TObject*) { ++changes; });
  for (auto [c, r] : {std::pair{-1, 1}, {3, 1}, {1, 0}, {1, 3}}) {
    a.SetString(c, r, "x");
    EXPECT_EQ(a.GetString(c, r), "");
    EXPECT_TRUE(std::isnan(a.GetAsNumber(c, r)));
  }
  a.SetColAttrib(-1, 1);
  a.SetColAttrib(3, 1);
  a.SetRowAttrib(3, 1);
  a.RemoveRow(3);
  EXPECT_EQ(a.GetRowAttrib(3), 0);
  EXPECT_EQ(a.GetColAttrib(3), 0);
  EXPECT_EQ(changes, 0);
  a.SetString(0, 2, "hidden");  // column 0 is a real column
  EXPECT_EQ(a.GetString(0, 2), "hidden");
  EXPECT_EQ(changes, 1);
}

TEST(StringArray, CellsAreCutTo255BytesAtACharacterBoundary) {
  TStringArray a(1, 1);
  a.SetString(1, 1, std::string(254, 'x') + "é");  // 256 bytes, "é" straddles the limit
  EXPECT_EQ(a.GetString(1, 1), std::string(254, 'x'));
  a.SetString(1, 1, std::string(300, 'y'));
  EXPECT_EQ(a.GetString(1, 1).size(), 255u);
  // A cell assigned from itself, long and short.
  a.SetString(1, 1, a.StringView(1, 1).substr(10));
  EXPECT_EQ(a.GetString(1, 1), std::string(245, 'y'));
  a.SetString(1, 1, a.StringView(1, 1).substr(0, 3));
  EXPECT_EQ(a.GetString(1, 1), "yyy");
}

TEST(StringArray, GetAsNumber) {
  TStringArray a(1, 1);
  for (auto [text, value] : {std::tuple{" 12.5 ", 12.5}, {"-3,25", -3.25}, {"1e3", 1000.0},
                             {"1e999", 1.7976931348623157e308}}) {
    a.SetString(1, 1, text);
    EXPECT_DOUBLE_EQ(a.GetAsNumber(1, 1), value) << text;
    EXPECT_TRUE(a.IsNumber(1, 1));
  }
  for (const char* text : {"", "12abc", "1.2.3", "nan", "inf", "0x10", "1e", "+"}) {
    a.SetString(1, 1, text);
    EXPECT_TRUE(std::isnan(a.GetAsNumber(1, 1))) << text;
    EXPECT_FALSE(a.IsNumber(1, 1)) << text;
  }
}

TEST(StringArray, ResizeKeepsCellsAndRefusesImpossibleSizes) {
  TStringArray a(2, 3);
  a.SetString(1, 1, "a");
  a.SetString(2, 3, "a long text of more than fifteen bytes");
  a.SetColAttrib(2, 7);
  a.Resize(4, 5);
  EXPECT_EQ(a.GetString(1, 1), "a");
  EXPECT_EQ(a.GetString(2, 3), "a long text of more than fifteen bytes");
  EXPECT_EQ(a.GetColAttrib(2), 7);
  EXPECT_EQ(a.GetString(4, 5), "");
  a.Resize(1, 3);
  EXPECT_EQ(a.GetString(1, 1), "a");
  EXPECT_EQ(a.GetString(2, 3), "");
  a.Resize(2, 3);
  EXPECT_EQ(a.GetString(2, 3), "");  // dropped cells do not come back

  for (auto [c, r] : {std::pair{-1, 2}, {2, -1}, {2000000000, 2000000000}, {1000, 2000000000}}) {
    EXPECT_THROW(a.Resize(c, r), EVORNError);
    EXPECT_EQ(a.NrOfColumns(), 2);
    EXPECT_EQ(a.NrOfRows(), 3);
    EXPECT_EQ(a.GetString(1, 1), "a");
  }
}

TEST(StringArray, ResizeInASortedTableDropsPhysicalRowsAndKeepsTheOrder) {
  TStringArray a(1, 4);
  FillColumn(a, 1, {"d", "c", "b", "a"});
  a.Sort(1, -1, true);
  a.Resize(1, 2);  // physical rows "d" and "c" stay, still sorted
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"c", "d"}));
  a.Resize(2, 3);
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"c", "d", ""}));
}

TEST(StringArray, NotificationsOfSortAndProgress) {
  TStringArray a(2, 5);
  FillColumn(a, 1, {"e", "d", "c", "b", "a"});
  std::vector<std::tuple<int, int, int, int, int>> exchanges;
  a.SetOnBeforeSortExchange([&](TObject* s, int kind, int p1, int p2, int lo, int hi) {
    EXPECT_EQ(s, &a);
    // Each announced exchange happens after the handler returns.
    exchanges.emplace_back(kind, p1, p2, lo, hi);
  });
  std::vector<int> percents;
  a.SetOnPercentDone([&](TObject*, int p) { percents.push_back(p); });
  int changes = 0;
  a.SetOnChange([&](TObject*) { ++changes; });
  a.Sort(1, -1, true);
  EXPECT_EQ(exchanges, (std::vector<std::tuple<int, int, int, int, int>>{{0, 1, 5, 0, 2}, {0, 2, 4, 0, 2}}));
  ASSERT_FALSE(percents.empty());
  EXPECT_EQ(percents.back(), 100);
  EXPECT_EQ(changes, 1);
}

TEST(StringArray, AssignCopiesCellsAttributesAndOrder) {
  TStringArray src(2, 3);
  FillColumn(src, 1, {"b", "c", "a"});
  src.SetString(0, 1, "hidden");
  src.SetRowAttrib(1, 5);
  src.SetColAttrib(2, 9);
  src.SetAllocRowsBy(10);
  src.Sort(1, -1, true);
  TStringArray dst;
  dst.Assign(&src);
  EXPECT_EQ(Column(dst, 1), Column(src, 1));
  EXPECT_EQ(dst.GetString(0, 2), "hidden");
  EXPECT_EQ(dst.GetRowAttrib(2), 5);
  EXPECT_EQ(dst.GetColAttrib(2), 9);
  EXPECT_EQ(dst.AllocRowsBy(), 10);
  dst.UnSort();
  EXPECT_EQ(Column(dst, 1), (std::vector<std::string>{"b", "c", "a"}));
}

TEST(StringArray, ClearEmptiesCellsAndKeepsSize) {
  TStringArray a(2, 2);
  FillColumn(a, 1, {"b", "a"});
  a.Sort(1, -1, true);
  a.Clear();
  EXPECT_EQ(a.NrOfRows(), 2);
  EXPECT_EQ(a.GetString(1, 1), "");
  EXPECT_EQ(a.GetSortOrder(1), 1);
}

TEST(StringArray, ManyInsertsAndRemovesKeepTheRowsConsistent) {
  TStringArray a(1, 0);
  a.SetAllocRowsBy(3);
  for (int i = 0; i < 200; ++i) {
    a.InsertRow(i / 2 + 1);
    a.SetString(1, i / 2 + 1, std::to_string(i));
  }
  a.Sort(1, -1, false);
  for (int r = 1; r < a.NrOfRows(); ++r) EXPECT_GT(a.GetAsNumber(1, r), a.GetAsNumber(1, r + 1));
  while (a.NrOfRows() > 0) a.RemoveRow(a.NrOfRows() / 2 + 1);
  a.UnSort();
  EXPECT_EQ(a.NrOfRows(), 0);
}

}  // namespace
}  // namespace vorn
