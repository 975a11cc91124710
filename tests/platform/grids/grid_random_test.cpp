// Random keys, clicks and wheel turns on an editing string grid whose
// handlers delete rows and columns, refuse cells and now and then delete
// the grid itself. Whatever happens, the current cell, the selection and
// the editor stay on cells that exist, and (under the sanitizers) nothing
// touches freed memory.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <random>
#include <string>

#include "vorn/platform/grids/grids.h"
#include "vorn/platform/hosts/headless.h"
#include "vorn/platform/stdctrls/edit.h"

namespace vorn {
namespace {

constexpr std::array<Word, 18> kKeys = {VK_UP,    VK_DOWN,     VK_LEFT,     VK_RIGHT, VK_PRIOR, VK_NEXT,
                                        VK_HOME,  VK_END,      VK_TAB,      VK_RETURN, VK_ESCAPE, VK_F1 + 1,
                                        VK_F1 + 3, VK_BACK,    VK_DELETE,   'A',      'Q',       VK_APPS};

TShiftState RandomModifiers(std::mt19937& Rng) {
  switch (Rng() % 12) {
    case 0: return {ssShift};
    case 1: return {ssCtrl};
    case 2: return {ssAlt};
    case 3: return {ssCtrl, ssAlt};
    default: return {};
  }
}

// Everything that points at a cell points at one that exists and is not fixed.
std::string Broken(const TStringGrid& G) {
  auto inCols = [&](int C) { return C >= G.FixedCols() && C < G.ColCount(); };
  auto inRows = [&](int R) { return R >= G.FixedRows() && R < G.RowCount(); };
  if (!inCols(G.Col()) || !inRows(G.Row())) return "current cell outside";
  const TGridRect s = G.Selection();
  if (!inCols(s.Left) || !inCols(s.Right) || !inRows(s.Top) || !inRows(s.Bottom) || s.Left > s.Right ||
      s.Top > s.Bottom) {
    return "selection outside";
  }
  if (!s.Contains(G.Col(), G.Row())) return "current cell outside the selection";
  if (!inCols(G.LeftCol()) || !inRows(G.TopRow())) return "top left outside";
  if (G.EditorMode()) {
    const TInplaceEdit* e = G.InplaceEditor();
    if (e == nullptr || !e->Visible()) return "editor mode without an editor";
    if (e->EditCol() != G.Col() || e->EditRow() != G.Row()) return "editor away from the current cell";
  }
  return {};
}

class GridRandomTest : public ::testing::TestWithParam<bool> {};

TEST_P(GridRandomTest, HandlersThatDeleteAndResizeKeepTheGridConsistent) {
  const bool alwaysShowEditor = GetParam();
  TForm form(nullptr);
  form.SetBounds(0, 0, 420, 320);
  auto* other = new TEdit(&form);
  other->SetParent(&form);
  other->SetBounds(10, 290, 100, 24);
  THeadlessHost& host = HeadlessHost();
  std::mt19937 rng(20261209u + (alwaysShowEditor ? 1u : 0u));
  TStringGrid* grid = nullptr;
  int gridsMade = 0;
  int stored = 0, editing = 0;

  auto makeGrid = [&] {
    ++gridsMade;
    grid = new TStringGrid(&form);
    grid->SetParent(&form);
    grid->SetBounds(10, 10, 300, 200);
    grid->SetColCount(3 + static_cast<int>(rng() % 6));
    grid->SetRowCount(3 + static_cast<int>(rng() % 30));
    TGridOptions options = grid->Options() + TGridOptions{goEditing, goTabs, goColSizing, goRowSizing};
    if (alwaysShowEditor) options.Include(goAlwaysShowEditor);
    grid->SetOptions(options);
    grid->SetOnSetEditText([&](TObject*, int, int, const std::string& Value) {
      ++stored;
      const unsigned mood = rng() % 16;
      if (mood == 0) {
        delete grid;
        grid = nullptr;
      } else if (mood < 5 || Value.empty()) {
        grid->SetRowCount(grid->RowCount() - 1);
      } else if (mood < 7) {
        grid->SetColCount(grid->ColCount() + (mood == 5 ? 1 : -1));
      }
    });
    grid->SetOnSelectCell([&](TObject*, int, int, bool& CanSelect) {
      const unsigned mood = rng() % 20;
      if (mood == 0) CanSelect = false;
      if (mood == 1) grid->SetColCount(grid->ColCount() - 1);
      if (mood == 2) grid->SetRowCount(grid->RowCount() + 2);
    });
    grid->SetOnKeyDown([&](TObject*, Word& Key, TShiftState Shift) {
      if (Key == 'Q' && Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt)) {
        delete grid;
        grid = nullptr;
      }
    });
    grid->SetOnTopLeftChanged([&](TObject*) {
      if (rng() % 25 == 0) grid->SetRowCount(grid->RowCount() - 3);
    });
    grid->SetFocus();
  };
  form.Show();
  makeGrid();

  for (int step = 0; step < 1500; ++step) {
    if (grid == nullptr) makeGrid();
    const unsigned kind = rng() % 40;
    if (kind < 6) {
      host.Click(form, 10 + static_cast<int>(rng() % 300), 10 + static_cast<int>(rng() % 200));
    } else if (kind < 8) {
      host.Wheel(form, 100, 100, static_cast<int>(rng() % 721) - 360);
    } else if (kind == 8) {
      host.Drag(form, 10 + static_cast<int>(rng() % 300), 10 + static_cast<int>(rng() % 30),
                10 + static_cast<int>(rng() % 300), 10 + static_cast<int>(rng() % 200), 3);
    } else if (kind == 9) {
      const int l = static_cast<int>(rng() % 12) - 3, t = static_cast<int>(rng() % 40) - 3;
      grid->SetSelection({l, t, l + static_cast<int>(rng() % 5), t + static_cast<int>(rng() % 5)});
    } else if (kind == 10) {
      if (rng() % 2 == 0) {
        other->SetFocus();
      } else {
        grid->SetVisible(!grid->Visible());
      }
    } else if (kind < 18) {
      host.Type(std::string(1, static_cast<char>('a' + rng() % 26)));
    } else {
      host.PressKey(kKeys[rng() % kKeys.size()], RandomModifiers(rng));
    }
    if (grid == nullptr) continue;
    editing += grid->EditorMode() ? 1 : 0;
    const std::string broken = Broken(*grid);
    ASSERT_TRUE(broken.empty()) << "step " << step << " kind " << kind << ": " << broken << " (col " << grid->Col()
                                << " row " << grid->Row() << " of " << grid->ColCount() << "x" << grid->RowCount()
                                << ")";
    ASSERT_TRUE(form.ActiveControl() == nullptr || form.ActiveControl()->CanFocus()) << "step " << step;
  }
  EXPECT_GT(gridsMade, 1);
  EXPECT_GT(stored, 50);
  EXPECT_GT(editing, 200);  // the deleting handlers did run
}

INSTANTIATE_TEST_SUITE_P(EditorModes, GridRandomTest, ::testing::Values(false, true));

}  // namespace
}  // namespace vorn
