// A report list view deleted by its own handlers: change, selection and
// check events, cell rendering in the middle of a paint, editing and
// scrolling. Nothing may touch the view after the handler returns
// (AddressSanitizer checks), and the form goes on.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <memory>
#include <string>

#include <unistd.h>

#include "vorn/platform/hosts/headless.h"
#include "vorn/replist/replistview.h"

namespace vorn {
namespace {

constexpr int HeadH = 20;
constexpr int RowH = 24;

int RowTop(int R) { return HeadH + 1 + (R - 1) * (RowH + 1); }

class ReportListDeletionTest : public ::testing::Test {
 protected:
  TReportListView* Make() {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 440, 300);
    view = new TReportListView(form.get());
    view->SetParent(form.get());
    view->SetBounds(10, 10, 400, 250);
    form->Show();
    view->SetFocus();
    return view;
  }
  void DeleteView() {
    delete view;
    view = nullptr;
  }
  void ExpectGoneAndFormAlive() {
    EXPECT_EQ(view, nullptr);
    EXPECT_EQ(form->ControlCount(), 0);
    EXPECT_NE(host.Snapshot(*form), nullptr);
    host.PressKey(VK_DOWN);
  }

  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
  TReportListView* view = nullptr;
};

TEST_F(ReportListDeletionTest, OnChangeAndOnSelectedChangeFromSettersAndClicks) {
  const std::function<void(TReportListView&)> changes[] = {
      [](TReportListView& v) { v.SetHeader(1, "gone"); },
      [](TReportListView& v) { v.SetCommonHeaderHeight(30); },
      [](TReportListView& v) { v.SetFixedFirstColumn(true); },
      [](TReportListView& v) { v.SetColumnAlignment(2, taRightJustify); },
  };
  for (const auto& change : changes) {
    Make();
    view->SetOnChange([this](TObject*) { DeleteView(); });
    change(*view);
    ExpectGoneAndFormAlive();
  }

  const std::function<void(TReportListView&)> selections[] = {
      [](TReportListView& v) { v.SetRowSelected(2, true); },
      [](TReportListView& v) { v.SetRowEnabled(2, false); },
      [](TReportListView& v) { v.SetColumnSelected(2, true); },
      [this](TReportListView& v) { host.Click(v, 100, RowTop(3) + 5); },
      [this](TReportListView&) { host.PressKey(VK_DOWN); },
  };
  for (const auto& select : selections) {
    Make();
    view->SetOnSelectedChange([this](TObject*) { DeleteView(); });
    select(*view);
    ExpectGoneAndFormAlive();
  }
}

TEST_F(ReportListDeletionTest, CheckEventsFromAClickOnACheckBox) {
  Make();
  view->SetColumnCheckMode(1, cmBox);
  view->SetOnBeforeCheckedChange([this](TObject*, bool&, int, int) { DeleteView(); });
  host.Click(*view, 8, RowTop(2) + 8);
  ExpectGoneAndFormAlive();

  Make();
  view->SetColumnCheckMode(1, cmBox);
  view->SetOnCheckedChange([this](TObject*, bool&, int, int) { DeleteView(); });
  host.Click(*view, 8, RowTop(2) + 8);
  ExpectGoneAndFormAlive();
}

TEST_F(ReportListDeletionTest, OnBeforeRenderCellStopsThePaint) {
  Make();
  int calls = 0;
  view->SetOnBeforeRenderCell([&](TObject*, int, int, TColor&, TColor&, TColor&, TFontStyles&, std::string&) {
    ++calls;
    DeleteView();
  });
  EXPECT_NE(host.Snapshot(*form), nullptr);
  EXPECT_EQ(calls, 1);
  ExpectGoneAndFormAlive();
}

TEST_F(ReportListDeletionTest, EditAndScrollHandlers) {
  // The cell text is stored, then the handler deletes the view.
  Make();
  view->SetOptions(view->Options() - TGridOptions{goRowSelect});
  view->SetColumnEditable(1, true);
  view->SetOnSetEditText([this](TObject*, int, int, const std::string&) { DeleteView(); });
  host.Click(*view, 20, RowTop(1) + 5);
  host.Click(*view, 20, RowTop(1) + 5);
  ASSERT_TRUE(view->EditorMode());
  host.Type("new");
  host.PressKey(VK_RETURN);
  ExpectGoneAndFormAlive();

  Make();
  view->SetOptions(view->Options() - TGridOptions{goRowSelect});
  view->SetColumnEditable(1, true);
  view->SetOnGetEditText([this](TObject*, int, int, std::string&) { DeleteView(); });
  host.Click(*view, 20, RowTop(1) + 5);
  host.Click(*view, 20, RowTop(1) + 5);
  ExpectGoneAndFormAlive();

  // Fewer or smaller rows bring the scrolled-down top row back.
  const std::function<void(TReportListView&)> shrinks[] = {
      [](TReportListView& v) { v.SetDefaultRowHeight(1); },
      [](TReportListView& v) { v.SetNrOfRows(2); },
      [](TReportListView& v) { v.RemoveRow(100); },
  };
  for (const auto& shrink : shrinks) {
    Make();
    view->SetNrOfRows(100);
    view->SetTopRow(view->RowCount());
    view->SetOnTopLeftChanged([this](TObject*) { DeleteView(); });
    shrink(*view);
    ExpectGoneAndFormAlive();
  }
}

// Handlers raised by the view's own model in the middle of a data operation
// (a sort, a fill, a filter loop, an export) delete the view: the operation
// finishes on the model, which outlives the view until then, and nothing
// calls back into the deleted view.
TEST_F(ReportListDeletionTest, HandlersRaisedDuringDataOperations) {
  const auto fillRows = [](TReportListView& v) {
    v.SetNrOfColumns(3);
    v.SetNrOfRows(300);
    for (int r = 1; r <= 300; ++r) {
      v.SetElem(1, r, std::to_string((r * 7919) % 300));
      v.SetElem(2, r, "row " + std::to_string(r));
    }
  };
  const std::function<void(TReportListView&)> operations[] = {
      [](TReportListView& v) { v.Sort(1, -1, true); },
      [](TReportListView& v) { v.UnSort(); },
      [](TReportListView& v) { v.Fill("x"); },
      [](TReportListView& v) { v.Clear(); },
      [](TReportListView& v) { v.SetElem(2, 5, "changed"); },
      [](TReportListView& v) { v.RemoveRow(3); },
      [](TReportListView& v) { v.InsertRow(3); },
      [](TReportListView& v) { v.SetNrOfColumns(5); },
      [](TReportListView& v) {
        std::ostringstream document;
        v.WriteToXMLStream(document, true, "");
        EXPECT_TRUE(v.ReadFromXMLString(document.str(), ""));
      },
      [](TReportListView& v) { v.FilterAndSort("row 1", {}, false, fmSimple, 1, false); },
  };
  int index = 0;
  for (const auto& operation : operations) {
    SCOPED_TRACE(index++);
    Make();
    fillRows(*view);
    view->Sort(1, -1, false);  // so that UnSort has something to undo
    view->SetOnChange([this](TObject*) { DeleteView(); });
    operation(*view);
    ExpectGoneAndFormAlive();
  }

  // The sort's own notifications: the first exchange or progress report.
  Make();
  fillRows(*view);
  int exchanges = 0;
  view->SetOnBeforeSortExchange([this, &exchanges](TObject*, int, int, int, int, int) {
    ++exchanges;
    DeleteView();
  });
  view->Sort(1, -1, true);
  EXPECT_EQ(exchanges, 1);
  ExpectGoneAndFormAlive();

  Make();
  fillRows(*view);
  int reports = 0;
  view->SetOnPercentDone([this, &reports](TObject*, int) {
    ++reports;
    if (view != nullptr) DeleteView();
  });
  view->Sort(2, -1, false);
  EXPECT_GE(reports, 1);
  ExpectGoneAndFormAlive();

  // The filter loop stops at the row whose handler deleted the view.
  Make();
  fillRows(*view);
  int asked = 0;
  view->SetOnBeforeFilter([this, &asked](TObject*, int, bool&, TLogicOp&) {
    if (++asked == 10) DeleteView();
  });
  view->FilterAndSort("row", {2}, true, fmSimple, 0, true);
  EXPECT_EQ(asked, 10);
  ExpectGoneAndFormAlive();

  // Scrolling to a row whose OnTopLeftChanged deletes the view.
  Make();
  view->SetNrOfRows(100);
  view->SetOnTopLeftChanged([this](TObject*) { DeleteView(); });
  view->CenterScrollAndSelect(80);
  ExpectGoneAndFormAlive();
}

TEST_F(ReportListDeletionTest, ExportFinishesAfterItsHandlerDeletedTheView) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("vorn-rlv-export-" + std::to_string(::getpid()) + ".html");
  Make();
  view->SetNrOfColumns(2);
  view->SetNrOfRows(3);
  for (int r = 1; r <= 3; ++r) view->SetElem(1, r, "cell" + std::to_string(r));
  int calls = 0;
  view->SetOnBeforeHTMLExport([this, &calls](TObject*, std::string& Text, int, int) {
    ++calls;
    Text += "!";
    if (view != nullptr) DeleteView();
  });
  TReportListView* exporting = view;
  exporting->ExportHTMLTable(file.string(), 1, 1, 2, 3, {}, 1, 0, 0, true, "", "", "");
  EXPECT_EQ(calls, 1);  // the deleted view's handler is not called again
  std::ifstream in(file);
  const std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(html.find("cell1!"), std::string::npos);
  EXPECT_NE(html.find("cell3"), std::string::npos);  // every row written
  EXPECT_NE(html.find("</html>"), std::string::npos);
  std::filesystem::remove(file);
  ExpectGoneAndFormAlive();
}

}  // namespace
}  // namespace vorn
