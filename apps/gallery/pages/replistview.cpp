// Gallery page of the report list view: 5,000 rows with a check column, a
// radio column, a password column and editable columns, a filter box with
// the three filter modes, sorting by header click and in-place editing.
#include <algorithm>
#include <memory>
#include <string>

#include "apps/gallery/gallery.h"
#include "vorn/platform/runtime/dateformat.h"
#include "vorn/platform/stdctrls/buttons.h"
#include "vorn/platform/stdctrls/edit.h"
#include "vorn/platform/stdctrls/label.h"
#include "vorn/replist/replistview.h"

namespace vorn::gallery {
namespace {

constexpr int kRows = 5000;

void FillSamples(TReportListView& view) {
  const char* sites[] = {"North Ridge", "Lake Shore", "Old Quarry", "Birch Hollow", "Dune Field", "Red Cliff"};
  const char* kinds[] = {"soil", "water", "air", "sediment"};
  view.SetSuppressPaint(true);
  view.SetNrOfColumns(8);
  view.SetNrOfRows(kRows);
  const char* heads[] = {"OK", "Primary", "Sample", "Site", "Kind", "Depth m", "Access\ncode", "Taken"};
  for (int c = 1; c <= 8; ++c) view.SetHeader(c, heads[c - 1]);
  // How the row editor shows each column: check columns get no field.
  const char* formats[] = {"[-]", "[-]", "[s][90]", "[c:4][120]North Ridge|Lake Shore|Old Quarry|Birch Hollow|Dune Field|Red Cliff",
                           "[l][100]soil|water|air|sediment", "[f][80]0", "[s][110]$pwd$8", "[ddd.MM.yyyy][110]"};
  for (int c = 1; c <= 8; ++c) view.SetColumnFormat(c, formats[c - 1]);
  view.SetColumnCheckMode(1, cmBox);
  view.SetColumnCheckMode(2, cmRadio);
  for (int r = 1; r <= kRows; ++r) {
    view.SetElem(3, r, "S-" + std::to_string(10000 + r * 7 % 9973));
    view.SetElem(4, r, sites[r % 6]);
    view.SetElem(5, r, kinds[r * 3 % 4]);
    view.SetElem(6, r, std::to_string(r * 37 % 500) + "." + std::to_string(r % 10));
    view.SetElem(7, r, "k" + std::to_string(r * 7919 % 100000));
    view.SetElem(8, r, FormatPickerDateTime("dd.MM.yyyy", EncodeDate(2026, 1, 1) + r * 13 % 340));
    view.SetElemChecked(1, r, r % 3 == 0);
  }
  view.SetElemChecked(2, 4, true);
  view.SetColumnIsPwd(7, true);
  view.SetColumnAlignment(6, taRightJustify);
  view.SetColumnEditable(3, true);
  view.SetColumnEditable(4, true);
  view.SetColumnEditable(6, true);
  view.SetColWidths(1, 40);
  view.SetColWidths(2, 62);
  view.SetColWidths(3, 70);
  view.SetColWidths(4, 96);
  view.SetColWidths(5, 70);
  view.SetColWidths(6, 70);
  view.SetColWidths(7, 70);
  view.SetColWidths(8, 80);
  view.SetColumnHeadersHeight(34);
  view.SetCommonHeaderVisible(true);
  view.SetCommonHeader("Field samples 2026");
  view.SetRowColPattern(2);
  view.SetHighLightColumn(4);
  view.SetColorHigh(static_cast<TColor>(0xF5E6D0));
  view.SetColorHighText(static_cast<TColor>(0x202020));
  view.SetRowSelected(2, true);
  view.SetRowEnabled(5, false);
  view.SetInterRowIndicatorPos(7);
  view.SetEmptyMessage("No sample matches|the filter");
  view.SetSuppressPaint(false);
}

void BuildReportList(TWinControl& parent) {
  TComponent* owner = parent.Owner();
  auto* filter = new TEdit(owner);
  filter->SetParent(&parent);
  filter->SetBounds(0, 0, 200, 24);
  filter->SetText("(Lake | Ridge) !water");
  auto* status = new TLabel(owner);
  status->SetParent(&parent);
  status->SetBounds(0, 500, 640, 18);

  auto* view = new TReportListView(owner);
  view->SetParent(&parent);
  view->SetBounds(0, 30, 584, 462);
  // Row selection by the grid would keep the cell editor closed.
  view->SetOptions(view->Options() - TGridOptions{goRowSelect});
  FillSamples(*view);
  view->Sort(6, -1, false);

  auto mode = std::make_shared<TFilterMode>(fmBoolean);
  auto apply = [view, filter, status, mode] {
    try {
      view->FilterAndSort(filter->Text(), {3, 4, 5}, true, *mode, view->LastSortColumn(), view->LastSortOrder());
      status->SetCaption(std::to_string(view->NumShownRows()) + " of " + std::to_string(view->NrOfRows()) +
                         " rows shown");
    } catch (const EVORNRepListError& e) {
      status->SetCaption(e.what());
    }
  };
  const char* names[] = {"Simple", "Boolean", "Grep"};
  for (int i = 0; i < 3; ++i) {
    auto* button = new TSpeedButton(owner);
    button->SetParent(&parent);
    button->SetBounds(206 + i * 70, 0, 66, 24);
    button->SetCaption(names[i]);
    button->SetGroupIndex(1);
    button->SetDown(i == 1);
    button->SetOnClick([mode, apply, i](TObject*) {
      *mode = static_cast<TFilterMode>(i);
      apply();
    });
  }
  filter->SetOnChange([apply](TObject*) { apply(); });
  auto* edit = new TSpeedButton(owner);
  edit->SetParent(&parent);
  edit->SetBounds(504, 0, 80, 24);
  edit->SetCaption("Edit row...");
  edit->SetOnClick([view](TObject*) {
    const int row = std::max(1, view->FirstSelectedRow());
    const TPoint at = view->ClientToScreen({40, 60});
    view->EditRowEntries(row, at.X, at.Y);
  });
  apply();
}

VORN_GALLERY_PAGE(TPage{3, "replistview", "Report list",
                        "5,000 samples with check, radio and password columns. Filter: Simple (a substring), "
                        "Boolean (AND, OR, NOT, parentheses) or Grep (a regular expression). A header click "
                        "sorts; F2 edits a cell, \"Edit row...\" the first selected row.",
                        BuildReportList});

}  // namespace
}  // namespace vorn::gallery
