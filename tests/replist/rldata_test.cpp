#include "vorn/replist/rldata.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "vorn/platform/hosts/headless.h"
#include "vorn/platform/runtime/application.h"

namespace vorn {
namespace {

// A table of Cols x Rows whose cells are given row by row.
void Put(TRLData& d, int Col, const std::vector<std::string>& Values) {
  for (std::size_t i = 0; i < Values.size(); ++i) d.SetElem(Col, static_cast<int>(i) + 1, Values[i]);
}

std::vector<std::string> StoredColumn(const TRLData& d, int Col) {
  std::vector<std::string> out;
  for (int r = 1; r <= d.NrOfRows(); ++r) out.push_back(d.Strings()->GetString(Col, r));
  return out;
}

TEST(RLData, NewModelAndColumnLookup) {
  TRLData d(nullptr);
  EXPECT_EQ(d.NrOfColumns(), 1);
  EXPECT_EQ(d.NrOfRows(), 0);
  EXPECT_EQ(d.Header(1), "C-1");
  EXPECT_EQ(d.CommonHeader(), "Vorn Report Listview");
  EXPECT_EQ(d.LastSortColumn(), -1);
  EXPECT_EQ(d.ColumnIndex("c-1", false), 1);
  d.SetNrOfColumns(2);
  EXPECT_EQ(d.ColumnIndex("C", true), 2);  // the highest-numbered match wins
  EXPECT_EQ(d.ColumnIndex("", true), -1);
  EXPECT_EQ(d.ColumnIndex("C-", false), -1);
  d.SetHeader(1, "Größe");
  EXPECT_EQ(d.ColumnIndex("GRÖSSE", false), -1);
  EXPECT_EQ(d.ColumnIndex("GRÖ", true), 1);
}

TEST(RLData, SizesAreClampedAndNewColumnsGetDefaults) {
  TRLData d(nullptr);
  d.SetNrOfColumns(0);
  EXPECT_EQ(d.NrOfColumns(), 1);
  d.SetNrOfRows(-5);
  EXPECT_EQ(d.NrOfRows(), 0);
  d.SetNrOfColumns(2);
  d.SetHeader(1, "A");
  d.SetHeader(2, "B");
  d.SetColumnFormat(2, "[i]");
  d.SetColumnCheckMode(2, cmRadio);
  d.SetNrOfColumns(4);
  EXPECT_EQ(d.Header(1), "A");
  EXPECT_EQ(d.Header(2), "B");
  EXPECT_EQ(d.ColumnFormat(2), "[i]");
  EXPECT_EQ(d.ColumnCheckMode(2), cmRadio);
  EXPECT_EQ(d.Header(3), "C-3");
  EXPECT_EQ(d.Header(4), "C-4");
  EXPECT_EQ(d.ColumnCheckMode(4), cmNone);
  // Rows counted as at least one by the column setter: 1 x (4 + 1).
  EXPECT_EQ(d.FeedbkNumCells(), 5);
  d.SetNrOfRows(1000);
  EXPECT_EQ(d.FeedbkNumCells(), 5000);
  EXPECT_EQ(d.FeedbkStep(), 51);
  // Out-of-range column numbers read empty and write nothing.
  d.SetHeader(5, "x");
  d.SetColumnCheckMode(0, cmBox);
  EXPECT_EQ(d.Header(5), "");
  EXPECT_EQ(d.ColumnCheckMode(0), cmNone);
  EXPECT_FALSE(d.IsCheckedColumn(9));
}

TEST(RLData, ImpossibleSizeRaisesAndKeepsTheTable) {
  TRLData d(nullptr);
  d.SetNrOfColumns(3);
  d.SetNrOfRows(100000);
  d.SetElem(1, 1, "keep");
  // Beyond what the storage allows: refused before anything is allocated.
  EXPECT_THROW(d.SetNrOfColumns(2000000000), EVORNError);
  EXPECT_THROW(d.SetNrOfRows(2147483647), EVORNRLDataError);
  EXPECT_EQ(d.NrOfColumns(), 3);
  EXPECT_EQ(d.NrOfRows(), 100000);
  EXPECT_EQ(d.Header(3), "C-3");
  EXPECT_EQ(d.Elem(1, 1), "keep");
  try {
    d.SetNrOfRows(2147483647);
  } catch (const EVORNError& e) {
    EXPECT_NE(std::string(e.what()).find("TRLData.NrOfRows"), std::string::npos);
  }
}

TEST(RLData, TextsAreCutAtCharacterBoundaries) {
  TRLData d(nullptr);
  d.SetNrOfRows(1);
  d.SetHeader(1, std::string(49, 'a') + "é");  // 51 bytes: the é does not fit
  EXPECT_EQ(d.Header(1), std::string(49, 'a'));
  d.SetColumnFormat(1, std::string(100, 'f'));
  EXPECT_EQ(d.ColumnFormat(1).size(), 80u);
  d.SetElem(1, 1, std::string(300, 'x'));
  EXPECT_EQ(d.Elem(1, 1).size(), 255u);
  d.SetColumnCheckMode(1, cmBox);  // the check character takes one of the 255
  d.SetElem(1, 1, std::string(300, 'y'));
  EXPECT_EQ(d.Elem(1, 1), std::string(254, 'y'));
}

TEST(RLData, CheckModeChangesConvertStoredCells) {
  TRLData d(nullptr);
  d.SetNrOfRows(2);
  Put(d, 1, {"abc", ""});
  d.SetColumnCheckMode(1, cmBox);
  EXPECT_EQ(StoredColumn(d, 1), (std::vector<std::string>{" abc", ""}));
  EXPECT_EQ(d.Elem(1, 1), "abc");
  EXPECT_EQ(d.Elem(1, 2), "");
  d.SetElemChecked(1, 1, true);
  d.SetElem(1, 1, "new");  // the mark stays
  EXPECT_EQ(d.Strings()->GetString(1, 1), "Xnew");
  d.SetColumnCheckMode(1, cmRadio);  // every cell unchecked, none empty
  EXPECT_EQ(StoredColumn(d, 1), (std::vector<std::string>{" new", " "}));
  d.SetColumnCheckMode(1, cmNone);
  EXPECT_EQ(StoredColumn(d, 1), (std::vector<std::string>{"new", ""}));
  // The hidden column never has a check mode.
  d.Strings()->SetString(0, 1, "Xhidden");
  EXPECT_EQ(d.Elem(0, 1), "Xhidden");
}

TEST(RLData, CheckMarks) {
  TRLData d(nullptr);
  d.SetNrOfColumns(2);
  d.SetNrOfRows(4);
  d.SetColumnCheckMode(1, cmBox);
  d.SetElemChecked(1, 2, true);  // an empty cell becomes "X"
  EXPECT_EQ(d.Strings()->GetString(1, 2), "X");
  EXPECT_EQ(d.Elem(1, 2), "");
  EXPECT_TRUE(d.ElemChecked(1, 2));
  d.Strings()->SetString(1, 3, "*star");  // any first character but a blank is checked
  EXPECT_TRUE(d.ElemChecked(1, 3));
  EXPECT_EQ(d.CountCheckedElemsInCol(1), 2);
  EXPECT_EQ(d.FirstCheckedElemInCol(1), 2);
  d.InvertAllCheckmarksOfCol(1);
  EXPECT_EQ(StoredColumn(d, 1), (std::vector<std::string>{"X", " ", "Xstar", "X"}));
  d.SetAllCheckmarksOfCol(1, false);
  EXPECT_EQ(d.CountCheckedElemsInCol(1), 0);
  EXPECT_EQ(d.FirstCheckedElemInCol(1), 0);

  d.SetColumnCheckMode(2, cmRadio);
  d.SetElemChecked(2, 1, true);
  d.SetElemChecked(2, 3, true);
  EXPECT_EQ(StoredColumn(d, 2), (std::vector<std::string>{" ", " ", "X", " "}));
  d.SetAllCheckmarksOfCol(2, true);  // cmBox columns only
  d.InvertAllCheckmarksOfCol(2);
  EXPECT_EQ(d.CountCheckedElemsInCol(2), 1);
  d.SetElemChecked(1, 3, true);
  EXPECT_EQ(d.CountCheckedElemsInRow(3), 2);
  EXPECT_EQ(d.FirstCheckedElemInRow(3), 1);
  EXPECT_EQ(d.FirstCheckedElemInRow(9), 0);
  // Plain and missing columns have no marks.
  d.SetNrOfColumns(3);
  d.SetElemChecked(3, 1, true);
  EXPECT_EQ(d.Elem(3, 1), "");
  EXPECT_EQ(d.CountCheckedElemsInCol(3), 0);
  EXPECT_EQ(d.CountCheckedElemsInCol(7), 0);
  EXPECT_EQ(d.FirstCheckedElemInCol(-1), 0);
}

TEST(RLData, FillKeepsMarksAndSkipsTheHiddenColumn) {
  TRLData d(nullptr);
  d.SetNrOfColumns(2);
  d.SetNrOfRows(2);
  d.SetColumnCheckMode(1, cmBox);
  d.SetElemChecked(1, 1, true);
  d.Strings()->SetString(0, 1, "id");
  d.Fill("7");
  EXPECT_EQ(StoredColumn(d, 1), (std::vector<std::string>{"X7", " 7"}));
  EXPECT_EQ(StoredColumn(d, 2), (std::vector<std::string>{"7", "7"}));
  EXPECT_EQ(d.Elem(0, 1), "id");
}

TEST(RLData, RemovingRows) {
  TRLData d(nullptr);
  d.SetNrOfRows(1);
  d.SetElem(0, 1, "h");
  d.SetElem(1, 1, "v");
  d.Strings()->SetRowAttrib(1, 0x80);
  d.RemoveRow(1);
  EXPECT_EQ(d.NrOfRows(), 0);
  d.SetNrOfRows(1);  // the kept storage row comes back empty and unselected
  EXPECT_EQ(d.Elem(0, 1), "");
  EXPECT_EQ(d.Elem(1, 1), "");
  EXPECT_EQ(d.Strings()->GetRowAttrib(1), 0);

  // A removal in a sorted table removes the shown row and keeps the shown
  // order as the new unsorted one.
  d.SetNrOfRows(4);
  Put(d, 1, {"c", "a", "d", "b"});
  d.Sort(1, -1, true);
  d.RemoveRow(2);  // "b"
  d.UnSort();
  EXPECT_EQ(StoredColumn(d, 1), (std::vector<std::string>{"a", "c", "d"}));
  d.RemoveRow(0);
  d.RemoveRow(4);
  EXPECT_EQ(d.NrOfRows(), 3);
}

TEST(RLData, RemoveEmptyRows) {
  TRLData d(nullptr);
  d.SetNrOfColumns(2);
  d.SetNrOfRows(5);
  d.SetColumnCheckMode(2, cmBox);
  Put(d, 1, {"", "a", "", "", "b"});
  d.SetElemChecked(2, 1, true);  // only a check character: empty
  d.SetElem(0, 3, "hidden");     // the hidden column counts
  d.Strings()->SetRowAttrib(5, 0x40);
  d.RemoveEmptyRows();
  EXPECT_EQ(d.NrOfRows(), 3);
  EXPECT_EQ(d.Elem(1, 1), "a");
  EXPECT_EQ(d.Elem(0, 2), "hidden");
  EXPECT_EQ(d.Elem(1, 3), "b");
  EXPECT_EQ(d.Strings()->GetRowAttrib(3), 0x40);
  d.Fill("");
  d.SetElem(0, 2, "");
  d.RemoveEmptyRows();
  EXPECT_EQ(d.NrOfRows(), 0);
}

TEST(RLData, CopyRowCopiesStoredStringsAndAttribute) {
  TRLData d(nullptr);
  d.SetNrOfRows(2);
  d.SetColumnCheckMode(1, cmBox);
  d.SetElem(0, 1, "h");
  d.SetElemChecked(1, 1, true);
  d.SetElem(1, 1, "v");
  d.Strings()->SetRowAttrib(1, 0xC0);
  d.CopyRow(1, 2);
  EXPECT_EQ(d.Strings()->GetString(1, 2), "Xv");
  EXPECT_EQ(d.Elem(0, 2), "h");
  EXPECT_EQ(d.Strings()->GetRowAttrib(2), 0xC0);
  d.CopyRow(1, 3);  // out of range: nothing
  EXPECT_EQ(d.NrOfRows(), 2);
}

TEST(RLData, DefaultValues) {
  TRLData d(nullptr);
  d.SetNrOfColumns(12);
  const std::vector<std::string> formats{"[i][60]rix3", "[h]rix2", "[l]red|green", "[#s]abc", "[s]$PWD$12",
                                         "[f]rix2", "[i]rix2", "[c:5][80]", "[d dd.MM.yyyy]01.02.2003",
                                         "plain", "[h]rix12", "[i]rix99999"};
  for (int c = 1; c <= 12; ++c) d.SetColumnFormat(c, formats[static_cast<std::size_t>(c - 1)]);
  EXPECT_EQ(d.DefaultValue(1, 7), "007");
  EXPECT_EQ(d.DefaultValue(2, 255), "FF");
  EXPECT_EQ(d.DefaultValue(2, 0x1AB), "AB");  // higher digits dropped
  EXPECT_EQ(d.DefaultValue(3, 1), "red");
  EXPECT_EQ(d.DefaultValue(4, 1), "");
  const std::string password = d.DefaultValue(5, 1);
  EXPECT_EQ(password.size(), 12u);
  EXPECT_EQ(password.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
            std::string::npos);
  EXPECT_EQ(d.DefaultValue(6, 3), "3.00");
  EXPECT_EQ(d.DefaultValue(7, 123), "23");
  EXPECT_EQ(d.DefaultValue(7, -5), "-05");
  EXPECT_EQ(d.DefaultValue(8, 1), "");  // the width bracket leaves nothing
  EXPECT_EQ(d.DefaultValue(9, 1), "01.02.2003");
  EXPECT_EQ(d.DefaultValue(10, 1), "plain");
  EXPECT_EQ(d.DefaultValue(11, 0x12345678), "12345678");  // at most 8 digits
  EXPECT_LE(d.DefaultValue(12, 1).size(), 255u);
  EXPECT_EQ(d.DefaultValue(13, 1), "");
}

TEST(RLData, ClipboardForms) {
  TRLData d(nullptr);
  d.SetNrOfColumns(2);
  d.SetNrOfRows(1);
  d.SetHeader(1, "A");
  d.SetHeader(2, "B");
  Put(d, 1, {"1"});
  Put(d, 2, {"2"});
  d.CopyToClipBoard(1, 1, 2, 1, true, true);
  EXPECT_EQ(HeadlessHost().ClipboardText(), "A\tB\n\n1\t2\n");
  d.CopyToClipBoard(1, 1, 2, 1, false, std::string_view(" | "));
  EXPECT_EQ(Clipboard()->AsText(), "1 | 2\n");

  d.SetHeader(1, "Name");
  d.SetHeader(2, "N");
  Put(d, 1, {"Al"});
  Put(d, 2, {"12345"});
  d.CopyToClipBoard(1, 1, 2, 1, true, false);
  EXPECT_EQ(Clipboard()->AsText(), "Name N     \n\nAl   12345 \n");
  // Widths come from the stored strings, check characters included; a
  // block beyond the table is clipped.
  d.SetColumnCheckMode(1, cmBox);
  d.CopyToClipBoard(1, 1, 9, 9, false, false);
  EXPECT_EQ(Clipboard()->AsText(), "Al  12345 \n");
}

TEST(RLData, AssignCopiesTheWholeTable) {
  TRLData src(nullptr);
  src.SetNrOfColumns(2);
  src.SetNrOfRows(3);
  Put(src, 1, {"b", "c", "a"});
  src.SetElem(0, 2, "hidden");
  src.SetColumnCheckMode(2, cmRadio);
  src.SetElemChecked(2, 3, true);
  src.SetHeader(1, "Name");
  src.SetColumnFormat(1, "[s]");
  src.SetComment("note");
  src.SetDataID("set");
  src.SetCommonHeader("head");
  src.Strings()->SetRowAttrib(1, 0x80);
  src.Sort(1, 2, false);
  src.SetSortToggle(false);
  int exchanges = 0;
  src.SetOnBeforeSortExchange([&](TObject* Sender, int, int, int, int, int) {
    ++exchanges;
    EXPECT_NE(dynamic_cast<TRLData*>(Sender), nullptr);
  });
  src.SetOnPercentDone([](TObject*, int) {});

  TRLData dst(nullptr);
  int changes = 0;
  dst.RouteStorageNotifications({[&](TObject*) { ++changes; }, nullptr, nullptr});
  dst.Assign(&src);
  EXPECT_GT(changes, 0);
  EXPECT_EQ(dst.NrOfColumns(), 2);
  EXPECT_EQ(dst.NrOfRows(), 3);
  EXPECT_EQ(dst.LastSortColumn(), 1);
  EXPECT_EQ(dst.SecondarySortColumn(), 2);
  EXPECT_FALSE(dst.LastSortOrder());
  EXPECT_FALSE(dst.SortToggle());
  EXPECT_EQ(dst.Comment(), "note");
  EXPECT_EQ(dst.DataID(), "set");
  EXPECT_EQ(dst.CommonHeader(), "head");
  EXPECT_EQ(dst.Header(1), "Name");
  EXPECT_EQ(dst.ColumnFormat(1), "[s]");
  EXPECT_EQ(dst.ColumnCheckMode(2), cmRadio);
  EXPECT_FALSE(dst.OnPercentDone());
  for (int r = 1; r <= 3; ++r)
    for (int c = 0; c <= 2; ++c) EXPECT_EQ(dst.Strings()->GetString(c, r), src.Strings()->GetString(c, r));
  src.UnSort();
  dst.UnSort();
  EXPECT_EQ(StoredColumn(dst, 1), StoredColumn(src, 1));
  EXPECT_EQ(dst.Strings()->GetRowAttrib(1), 0x80);
  // The copy keeps its routing on the new storage and got the handler.
  changes = 0;
  dst.SetElem(1, 1, "z");
  EXPECT_EQ(changes, 1);
  dst.ResetStorageRouting();
  dst.Sort(1, -1, true);
  EXPECT_GT(exchanges, 0);
  EXPECT_THROW(dst.Assign(nullptr), EConvertError);
}

TEST(RLData, NotificationRouting) {
  TRLData d(nullptr);
  d.SetNrOfColumns(2);
  d.SetNrOfRows(300);
  std::vector<TObject*> senders;
  std::vector<int> percents;
  d.SetOnBeforeSortExchange([&](TObject* Sender, int, int, int, int, int) { senders.push_back(Sender); });
  d.SetOnPercentDone([&](TObject* Sender, int Percent) {
    senders.push_back(Sender);
    percents.push_back(Percent);
  });
  for (int r = 1; r <= 300; ++r) d.SetElem(1, r, std::to_string(301 - r));
  d.Sort(1, -1, true);
  ASSERT_FALSE(senders.empty());
  for (TObject* s : senders) EXPECT_EQ(s, &d);
  EXPECT_EQ(percents.back(), 100);

  // A view's routing replaces the model's; bulk operations notify once.
  int changes = 0, viewExchanges = 0;
  d.RouteStorageNotifications({[&](TObject*) { ++changes; }, nullptr,
                               [&](TObject*, int, int, int, int, int) { ++viewExchanges; }});
  senders.clear();
  d.Fill("x");
  EXPECT_EQ(changes, 1);
  changes = 0;
  d.SetColumnCheckMode(1, cmBox);
  d.SetAllCheckmarksOfCol(1, true);
  d.InvertAllCheckmarksOfCol(1);
  EXPECT_EQ(changes, 3);
  d.SetElem(2, 1, "b");
  d.SetElem(2, 2, "a");
  d.Sort(2, -1, true);
  EXPECT_GT(viewExchanges, 0);
  EXPECT_TRUE(senders.empty());
}

// Everything a change handler may read of a model, as one text.
std::string Describe(const TRLData& d) {
  std::string out = std::to_string(d.NrOfColumns()) + "x" + std::to_string(d.NrOfRows()) + " sort " +
                    std::to_string(d.LastSortColumn()) + "/" + std::to_string(d.SecondarySortColumn()) +
                    (d.LastSortOrder() ? "+" : "-") + (d.SortToggle() ? "t" : "f") +
                    (d.OnBeforeSortExchange() ? " exchange" : "") + " " + d.Comment() + "|" + d.DataID() + "\n";
  for (int c = 0; c <= d.NrOfColumns(); ++c) {
    out += d.Header(c) + "|" + d.ColumnFormat(c) + "|" + std::to_string(d.ColumnCheckMode(c)) + "|" +
           std::to_string(d.CountCheckedElemsInCol(c)) + "|" + std::to_string(d.FirstCheckedElemInCol(c)) + ":";
    for (int r = 1; r <= d.NrOfRows(); ++r) out += " " + d.Elem(c, r) + (d.ElemChecked(c, r) ? "*" : "");
    out += "\n";
  }
  return out;
}

// Runs Operation on a model whose change notification is routed to a
// handler, and checks that the handler was called once and then read the
// model as it stands afterwards.
template <typename TOperation>
void ExpectOneConsistentNotification(TRLData& d, const char* What, TOperation Operation) {
  std::vector<std::string> seen;
  d.RouteStorageNotifications({[&](TObject*) { seen.push_back(Describe(d)); }, nullptr, nullptr});
  Operation();
  d.ResetStorageRouting();
  ASSERT_EQ(seen.size(), 1u) << What;
  EXPECT_EQ(seen.back(), Describe(d)) << What;
}

TEST(RLData, BulkOperationsNotifyOnceTheModelIsConsistent) {
  TRLData d(nullptr);
  d.SetNrOfColumns(3);
  d.SetNrOfRows(4);
  Put(d, 1, {"abc", "", "X1", "d"});
  Put(d, 2, {"1", "2", "3", "4"});
  Put(d, 3, {"q", "", "", "r"});
  ExpectOneConsistentNotification(d, "none to box", [&] { d.SetColumnCheckMode(1, cmBox); });
  d.SetElemChecked(1, 3, true);
  ExpectOneConsistentNotification(d, "box to radio", [&] { d.SetColumnCheckMode(1, cmRadio); });
  d.SetElemChecked(1, 1, true);
  ExpectOneConsistentNotification(d, "radio check", [&] { d.SetElemChecked(1, 4, true); });
  ExpectOneConsistentNotification(d, "radio to box", [&] { d.SetColumnCheckMode(1, cmBox); });
  ExpectOneConsistentNotification(d, "box to none", [&] { d.SetColumnCheckMode(1, cmNone); });
  ExpectOneConsistentNotification(d, "is checked", [&] { d.SetIsCheckedColumn(3, true); });
  ExpectOneConsistentNotification(d, "all marks", [&] { d.SetAllCheckmarksOfCol(3, true); });
  ExpectOneConsistentNotification(d, "invert", [&] { d.InvertAllCheckmarksOfCol(3); });
  ExpectOneConsistentNotification(d, "fill", [&] { d.Fill("f"); });
  ExpectOneConsistentNotification(d, "sort", [&] { d.Sort(2, -1, false); });
  ExpectOneConsistentNotification(d, "unsort", [&] { d.UnSort(); });
  ExpectOneConsistentNotification(d, "copy row", [&] { d.CopyRow(1, 2); });
  ExpectOneConsistentNotification(d, "remove row", [&] { d.RemoveRow(2); });
  ExpectOneConsistentNotification(d, "rows", [&] { d.SetNrOfRows(5); });
  ExpectOneConsistentNotification(d, "empty rows", [&] { d.RemoveEmptyRows(); });
  ExpectOneConsistentNotification(d, "columns", [&] { d.SetNrOfColumns(4); });
  ExpectOneConsistentNotification(d, "clear", [&] { d.Clear(); });
  d.SetNrOfRows(1);
  ExpectOneConsistentNotification(d, "last row", [&] { d.RemoveRow(1); });

  TRLData src(nullptr);
  src.SetNrOfRows(3);
  Put(src, 1, {"b", "c", "a"});
  src.Sort(1, -1, false);
  src.SetSortToggle(false);
  src.SetOnBeforeSortExchange([](TObject*, int, int, int, int, int) {});
  ExpectOneConsistentNotification(d, "assign", [&] { d.Assign(&src); });
}

TEST(RLData, ACheckModeHandlerReadsConvertedCells) {
  TRLData d(nullptr);
  d.SetNrOfRows(2);
  Put(d, 1, {"abc", "def"});
  d.SetColumnCheckMode(1, cmBox);
  d.SetElemChecked(1, 2, true);
  std::string seen;
  int counted = -1;
  d.RouteStorageNotifications({[&](TObject*) {
                                 seen = d.Elem(1, 1);
                                 counted = d.CountCheckedElemsInCol(1);
                               },
                               nullptr, nullptr});
  d.SetColumnCheckMode(1, cmNone);
  EXPECT_EQ(seen, "abc");
  EXPECT_EQ(counted, 0);
  d.SetColumnCheckMode(1, cmRadio);
  EXPECT_EQ(seen, "abc");
  EXPECT_EQ(counted, 0);
}

TEST(RLData, AFailingChangeHandlerLeavesTheModelWhole) {
  TRLData d(nullptr);
  d.SetNrOfRows(2);
  Put(d, 1, {"a", "b"});
  d.RouteStorageNotifications({[](TObject*) { throw EVORNError("handler"); }, nullptr, nullptr});
  EXPECT_THROW(d.SetColumnCheckMode(1, cmBox), EVORNError);
  EXPECT_EQ(d.ColumnCheckMode(1), cmBox);
  EXPECT_EQ(d.Strings()->GetString(1, 1), " a");
  EXPECT_THROW(d.Fill("z"), EVORNError);
  EXPECT_EQ(d.Elem(1, 2), "z");
}

TEST(RLData, AsNumberOutsideTheTableIsZero) {
  TRLData d(nullptr);
  d.SetNrOfColumns(2);
  d.SetNrOfRows(2);
  d.SetElem(1, 1, "2.5");
  d.SetElem(2, 1, "abc");
  d.SetElem(0, 2, "-7");
  EXPECT_EQ(d.AsNumber(1, 1), 2.5);
  EXPECT_EQ(d.AsNumber(0, 2), -7);
  EXPECT_TRUE(std::isnan(d.AsNumber(2, 1)));  // a cell that holds no number
  EXPECT_TRUE(std::isnan(d.AsNumber(1, 2)));  // an empty cell
  for (const auto& [c, r] : std::vector<std::pair<int, int>>{{3, 1}, {-1, 1}, {1, 0}, {1, 3}})
    EXPECT_EQ(d.AsNumber(c, r), 0.0) << c << "," << r;
}

}  // namespace
}  // namespace vorn
