// A report list view deleted by its own handlers: change, selection and
// check events, cell rendering in the middle of a paint, editing and
// scrolling. Nothing may touch the view after the handler returns
// (AddressSanitizer checks), and the form goes on.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

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

}  // namespace
}  // namespace vorn
