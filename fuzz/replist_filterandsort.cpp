// Fuzz target for FilterAndSort on a small report list: any bytes as the
// expression either filter and sort the rows or raise EVORNRepListError
// with the rows, their hidden state and the sort state unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "vorn/replist/replistview.h"
#include "fuzz/oracle.h"

namespace {

VORN_FUZZ_ORACLE std::string State(const vorn::TReportListView& View) {
  std::string s = std::to_string(View.LastSortColumn()) + (View.LastSortOrder() ? "+" : "-");
  for (int r = 1; r <= View.NrOfRows(); ++r) {
    s += View.Elem(1, r) + (View.RowFiltered(r) ? "#" : "|");
  }
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Expressions of a few hundred bytes reach every construct.
  if (size < 2 || size > 258) return 0;
  static vorn::TReportListView* view = [] {
    auto* v = new vorn::TReportListView(nullptr);
    v->SetNrOfColumns(3);
    const char* cells[] = {"red apple", "7", "x", "green", "12", "", "Blue (plum)", "3", "a|b",
                           "\xC3\xA4pfel", "-1", "AND", "", "", "\"q\""};
    v->SetNrOfRows(5);
    for (int r = 0; r < 5; ++r) {
      for (int c = 0; c < 3; ++c) v->SetElem(c + 1, r + 1, cells[r * 3 + c]);
    }
    v->SetColumnCheckMode(3, vorn::cmBox);
    return v;
  }();
  const auto mode = static_cast<vorn::TFilterMode>(data[0] % 3);
  const bool ignoreCase = (data[0] & 4) != 0;
  const int sortColumn = data[1] % 5 - 1;
  const std::vector<int> columns = (data[0] & 8) != 0 ? std::vector<int>{1, 9} : std::vector<int>{};
  const std::string expression(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::string before = State(*view);
  try {
    view->FilterAndSort(expression, columns, ignoreCase, mode, sortColumn, (data[1] & 0x80) != 0);
    if (view->NumShownRows() > view->NrOfRows()) std::abort();
  } catch (const vorn::EVORNRepListError&) {
    if (State(*view) != before) std::abort();
  }
  return 0;
}
