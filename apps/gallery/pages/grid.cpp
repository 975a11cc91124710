// Gallery page of the grid: a string grid with a heading row and column,
// a few hundred rows and editing switched on.
#include <string>

#include "apps/gallery/gallery.h"
#include "vorn/platform/grids/grids.h"

namespace vorn::gallery {
namespace {

void BuildGrid(TWinControl& parent) {
  auto* grid = new TStringGrid(parent.Owner());
  grid->SetParent(&parent);
  grid->SetBounds(0, 0, 460, 300);
  grid->SetColCount(7);
  grid->SetRowCount(301);
  grid->SetOptions(grid->Options() + TGridOptions{goEditing, goColSizing, goTabs});
  grid->SetColWidths(0, 48);
  const char* heads[] = {"", "Sample", "Depth m", "Temp °C", "pH", "Salinity", "Note"};
  for (int c = 0; c < 7; ++c) grid->SetCells(c, 0, heads[c]);
  for (int r = 1; r < grid->RowCount(); ++r) {
    grid->SetCells(0, r, std::to_string(r));
    grid->SetCells(1, r, "S-" + std::to_string(1000 + r));
    grid->SetCells(2, r, std::to_string(r * 5));
    grid->SetCells(3, r, std::to_string(20 - r % 13) + "." + std::to_string(r % 10));
    grid->SetCells(4, r, "7." + std::to_string(r % 9));
    grid->SetCells(5, r, std::to_string(30 + r % 7) + ".5");
  }
  grid->SetCells(6, 2, "edit me: F2");
  grid->SetSelection({1, 2, 3, 4});
}

VORN_GALLERY_PAGE(TPage{2, "grid", "String grid",
                        "A string grid with a heading row and column and 300 data rows: keys and wheel move, "
                        "Shift selects, heading dividers size columns, typing or F2 edits a cell.",
                        BuildGrid});

}  // namespace
}  // namespace vorn::gallery
