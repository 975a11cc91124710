// Random mouse and key sequences through the headless host on tables that
// are empty, have one row, have every row hidden, or shrink while a cell
// is being edited: nothing crashes or dangles, and the view's coordinates
// stay inside the table.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <random>

#include "vorn/platform/hosts/headless.h"
#include "vorn/replist/replistview.h"

namespace vorn {
namespace {

enum class TScenario { Empty, OneRow, AllHidden, ShrinkWhileEditing };

constexpr std::array<Word, 16> kKeys = {VK_UP,   VK_DOWN,  VK_LEFT,  VK_RIGHT, VK_PRIOR, VK_NEXT,
                                        VK_HOME, VK_END,   VK_RETURN, VK_ESCAPE, VK_F1 + 1, VK_TAB,
                                        'A',     VK_SPACE, VK_DELETE, VK_BACK};

class ReportListRandomTest : public ::testing::TestWithParam<TScenario> {};

TEST_P(ReportListRandomTest, InputNeverLeavesTheTable) {
  THeadlessHost& host = HeadlessHost();
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(0, 0, 360, 260);
  auto* view = new TReportListView(form.get());
  view->SetParent(form.get());
  view->SetBounds(0, 0, 340, 240);
  form->Show();
  view->SetFocus();
  view->SetNrOfColumns(4);
  view->SetColumnCheckMode(1, cmBox);
  view->SetColumnCheckMode(2, cmRadio);
  view->SetColumnEditable(3, true);
  view->SetColumnEditable(4, true);
  view->SetRowSelectMode(2);
  view->SetAutoAdvance(true);
  const TScenario scenario = GetParam();
  std::mt19937 rng(static_cast<unsigned>(scenario) * 977 + 1);
  switch (scenario) {
    case TScenario::Empty: view->SetNrOfRows(0); break;
    case TScenario::OneRow: view->SetNrOfRows(1); break;
    case TScenario::AllHidden:
      view->SetNrOfRows(40);
      view->FilterAndSort("nothing matches this", {}, false, fmSimple, 0, true);
      break;
    case TScenario::ShrinkWhileEditing:
      view->SetNrOfRows(30);
      view->SetOptions(view->Options() - TGridOptions{goRowSelect});
      view->SetOnSetEditText([view](TObject*, int, int, const std::string&) {
        if (view->NrOfRows() > 2) view->SetNrOfRows(view->NrOfRows() / 2);
      });
      view->SetOnBeforeCheckedChange([view](TObject*, bool&, int, int) { view->RemoveRow(1); });
      break;
  }
  for (int step = 0; step < 1500; ++step) {
    const int x = static_cast<int>(rng() % 360) - 10;
    const int y = static_cast<int>(rng() % 260) - 10;
    const bool shift = rng() % 5 == 0;
    const bool ctrl = rng() % 5 == 0;
    if (shift) host.KeyDown(VK_SHIFT);
    if (ctrl) host.KeyDown(VK_CONTROL);
    switch (rng() % 7) {
      case 0: host.Click(*view, x, y); break;
      case 1: host.DoubleClick(*view, x, y); break;
      case 2: host.Drag(*view, x, y, static_cast<int>(rng() % 340), static_cast<int>(rng() % 240)); break;
      case 3: host.Wheel(*view, x, y, rng() % 2 == 0 ? 120 : -120); break;
      case 4: host.Type("x1"); break;
      default: host.PressKey(kKeys[rng() % kKeys.size()]); break;
    }
    if (ctrl) host.KeyUp(VK_CONTROL);
    if (shift) host.KeyUp(VK_SHIFT);
    if (scenario == TScenario::ShrinkWhileEditing && view->EditorMode() && rng() % 3 == 0) {
      view->Data()->SetNrOfRows(view->NrOfRows() > 1 ? view->NrOfRows() - 1 : 5);  // behind the view's back
      view->SetNrOfRows(view->Data()->NrOfRows());
    }
    if (scenario == TScenario::ShrinkWhileEditing && view->NrOfRows() < 3) view->SetNrOfRows(30);
    ASSERT_GE(view->TopRow(), 1);
    ASSERT_LE(view->TopRow(), std::max(1, view->NrOfRows()));
    ASSERT_LT(view->Row(), view->RowCount());
    ASSERT_LE(view->FirstSelectedRow(), view->NrOfRows());
    if (scenario == TScenario::AllHidden) {
      ASSERT_EQ(view->NumShownRows(), 0);
    }
  }
  (void)host.Snapshot(*view);
}

INSTANTIATE_TEST_SUITE_P(Tables, ReportListRandomTest,
                         ::testing::Values(TScenario::Empty, TScenario::OneRow, TScenario::AllHidden,
                                           TScenario::ShrinkWhileEditing));

}  // namespace
}  // namespace vorn
