// Gallery page of the numeric table editor: 200 water samples with a
// category column, marks of both kinds, an empty and an invalid cell,
// columns of different precision, and a second editor to copy blocks into.
#include <cmath>
#include <functional>
#include <string>

#include "apps/gallery/gallery.h"
#include "vorn/ntabed/ntabed.h"
#include "vorn/platform/stdctrls/buttons.h"
#include "vorn/platform/stdctrls/label.h"

namespace vorn::gallery {
namespace {

constexpr int kRows = 200;

void FillSamples(TNTabEd& ed) {
  ed.SetSuppressPaint(true);
  ed.Redimension(6, kRows);
  const char* heads[] = {"Depth m", "Temp C", "pH", "Salinity", "Oxygen", "Site"};
  const int places[] = {1, 2, 2, 3, -1, 0};
  for (int c = 1; c <= 6; ++c) {
    ed.SetColName(c, heads[c - 1]);
    ed.SetPrecision(c, places[c - 1]);
    ed.SetColAttrib(c, static_cast<std::uint8_t>(c));
  }
  TDataTable& t = *ed.Data();
  t.SetMScaleType(6, mstNominal);
  const char* sites[] = {"Ridge", "Lake", "Quarry", "Dune"};
  for (int i = 0; i < 4; ++i) t.SetNominalID(6, i + 1, sites[i]);
  for (int r = 1; r <= kRows; ++r) {
    ed.SetRowName(r, "S-" + std::to_string(1000 + r));
    ed.SetRowAttrib(r, static_cast<std::uint8_t>(r % 4));
    t.DataMat().SetElem(1, r, r * 2.5);
    t.DataMat().SetElem(2, r, 4 + 12 * std::sin(r / 9.0) * std::sin(r / 9.0));
    t.DataMat().SetElem(3, r, 6.8 + 0.05 * (r % 17));
    t.DataMat().SetElem(4, r, 30 + (r % 7) * 0.125);
    t.DataMat().SetElem(5, r, 0.000815 * (1 + r % 5));
    t.DataMat().SetElem(6, r, 1 + r % 5);  // category 5 has no name
  }
  t.SetCellState(2, 3, dtsEmpty);
  t.SetCellState(3, 5, dtsInvalid);
  for (int r = 6; r <= 8; ++r) t.SetCellState(2, r, dtsMarkA);
  t.SetCellState(4, 7, dtsMarkB);
  t.SetCellState(4, 8, dtsMarkA | dtsMarkB);
  ed.SetComment("Field campaign, spring");
  ed.SetColWidths(0, 70);
  ed.AutoColWidth(-1, true, 0);  // room for the "Attrib" heading
  ed.SetColWidths(5, 80);
  ed.SetSuppressPaint(false);
}

void BuildTableEditor(TWinControl& parent) {
  TComponent* owner = parent.Owner();
  auto* ed = new TNTabEd(owner);
  ed->SetParent(&parent);
  ed->SetBounds(0, 0, 640, 300);
  FillSamples(*ed);
  ed->SetSelection({2, 6, 4, 9});

  auto* target = new TNTabEd(owner);
  target->SetParent(&parent);
  target->SetBounds(0, 340, 640, 160);
  target->Redimension(4, 5);
  target->Clear();
  target->AutoColWidth(-1, true, 0);

  auto* status = new TLabel(owner);
  status->SetParent(&parent);
  status->SetBounds(0, 506, 640, 18);
  auto report = [ed, status] {
    int cols = 0, rows = 0;
    const bool text = ed->GetClipMatrixSize(cols, rows);
    status->SetCaption("Marked A: " + std::to_string(ed->NrOfMarkedDataA()) +
                       ", B: " + std::to_string(ed->NrOfMarkedDataB()) +
                       (text ? ", clipboard block " + std::to_string(cols) + " x " + std::to_string(rows) : ""));
  };
  struct TAction {
    const char* Caption;
    std::function<void()> Run;
  };
  const TAction actions[] = {
      {"Copy", [ed] { ed->PopupMenuClickCopy(nullptr); }},
      {"Extract below", [target] { target->PopupMenuClickExtClip(nullptr); }},
      {"Paste here", [ed] { ed->PopupMenuClickPaste(nullptr); }},
      {"Mark all A", [ed] { ed->MarkAllElemsA(); }},
      {"Swap marks", [ed] { ed->ExchangeMarkings(); }},
      {"Unmark all", [ed] { ed->UnMarkAllElems(); }},
      {"Sort by pH", [ed] { ed->SortRows(3, true, 1, 1, ed->NrOfColumns(), ed->NrOfRows(), true); }},
  };
  int x = 0;
  for (const TAction& a : actions) {
    auto* button = new TButton(owner);
    button->SetParent(&parent);
    button->SetBounds(x, 306, 88, 26);
    button->SetCaption(a.Caption);
    button->SetOnClick([run = a.Run, report](TObject*) {
      run();
      report();
    });
    x += 92;
  }
  ed->SetOnCellStateChanged([report](TObject*) { report(); });
  report();
}

VORN_GALLERY_PAGE(TPage{4, "ntabed", "Table editor",
                        "Marks A (red) and B (blue), an empty and an invalid cell. A second click edits a cell. "
                        "Right-click a cell for the data menu, a heading for the heading menu (Edit Heading), the "
                        "top-left corner for the comment; Enter keeps, Escape drops.",
                        BuildTableEditor});

}  // namespace
}  // namespace vorn::gallery
