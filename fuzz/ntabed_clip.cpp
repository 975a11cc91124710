// Fuzz target for the table editor's clipboard reading: the number
// scanner, the walk over a whole text and its block size, and Extract from
// Clipboard into an editor. Oracles: the scanner always moves on (or fails
// in place) and gives values within +-uc_MaxDouble; the block size agrees
// with the cells read; Extract writes only inside the table, keeps its
// size and leaves every written cell a number.
//
// The top bit of the first byte picks what a run checks: the scanner from
// each start, or the walk, the block size and Extract.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "vorn/ntabed/ntabed.h"
#include "vorn/platform/hosts/headless.h"

namespace {

struct TFixture {
  TFixture() {
    form = std::make_unique<vorn::TForm>(nullptr);
    form->SetBounds(0, 0, 300, 200);
    editor = new vorn::TNTabEd(form.get());
    editor->SetParent(form.get());
    editor->SetBounds(0, 0, 280, 180);
    form->Show();
  }
  std::unique_ptr<vorn::TForm> form;
  vorn::TNTabEd* editor = nullptr;
};

void CheckScanner(std::string_view Text) {
  for (std::size_t start = 0; start < Text.size() && start < 64; ++start) {
    std::size_t pos = start;
    bool ok = false;
    const double v = vorn::NTabScanNumber(Text, pos, ok);
    if (pos < start || pos > Text.size() || std::isnan(v) || std::fabs(v) > vorn::uc_MaxDouble) std::abort();
    if (!ok && v != 0) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  static TFixture fixture;
  if (Size < 2) return 0;
  const std::string text(reinterpret_cast<const char*>(Data) + 2, Size - 2);
  if ((Data[0] & 0x80) == 0) {
    CheckScanner(text);
    return 0;
  }

  int maxCol = -1, maxLine = -1;
  vorn::NTabScanClipText(text, [&](const vorn::TNTabClipCell& C) {
    if (C.Col < 0 || C.Line < 0 || std::isnan(C.Value) || std::fabs(C.Value) > vorn::uc_MaxDouble) std::abort();
    maxCol = std::max(maxCol, C.Col);
    maxLine = std::max(maxLine, C.Line);
  });
  int cols = 0, rows = 0;
  const bool found = vorn::NTabClipMatrixSize(text, cols, rows);
  if (found != (maxCol >= 0)) std::abort();
  if (found && (cols != maxCol + 1 || rows != maxLine + 1)) std::abort();
  if (!found && (cols != 1 || rows != 1)) std::abort();

  // Extract at a cell chosen by the first two bytes; the table is reset
  // first so that every written cell can be recognised.
  vorn::TNTabEd& ed = *fixture.editor;
  ed.Redimension(5, 4);
  for (int r = 1; r <= 4; ++r)
    for (int c = 1; c <= 5; ++c) ed.Data()->SetCellState(c, r, vorn::dtsEmpty);
  const int c0 = 1 + (Data[0] & 0x7F) % 5;
  const int r0 = 1 + Data[1] % 4;
  ed.SetSelection({c0 + ed.ColOffset(), r0 + ed.RowOffset(), c0 + ed.ColOffset(), r0 + ed.RowOffset()});
  vorn::HeadlessHost().SetClipboardText(text);
  int clipCols = 0, clipRows = 0;
  if (ed.GetClipMatrixSize(clipCols, clipRows) != found) std::abort();
  ed.PopupMenuClickExtClip(nullptr);
  if (ed.NrOfColumns() != 5 || ed.NrOfRows() != 4) std::abort();
  for (int r = 1; r <= 4; ++r) {
    for (int c = 1; c <= 5; ++c) {
      const bool written = ed.IsNumber(c, r);
      const bool inBlock = found && c >= c0 && r >= r0 && c - c0 <= maxCol && r - r0 <= maxLine;
      if (written && !inBlock) std::abort();
      if (written && std::fabs(ed.Elem(c, r)) > vorn::uc_MaxDouble) std::abort();
    }
  }
  return 0;
}
