// The report list view's setup, properties, coordinates and the table
// operations that go through it. Drawing is in replistview_paint.cpp,
// mouse, keys, selection and filtering in replistview_input.cpp.
#include "vorn/replist/replistview.h"

#include <algorithm>
#include <new>

namespace vorn {

namespace {

constexpr TGridOptions ViewOptions{goFixedVertLine, goFixedHorzLine, goColSizing, goRowSelect, goThumbTracking};

}  // namespace

TReportListView::TReportListView(TComponent* AOwner) : TCustomDrawGrid(AOwner) {
  FRLData = std::make_shared<TRLData>(nullptr);
  TCustomGrid::SetDefaultDrawing(false);
  SetFixedCols(0);
  SetFixedRows(1);
  FRLData->SetNrOfColumns(ColCount());
  FRLData->SetNrOfRows(RowCount() - 1);
  FRLData->SetFeedbkNumCells(static_cast<std::int64_t>(ColCount()) * (RowCount() - 1));
  FRLData->Strings()->Clear();
  ResizeColumnArrays(NrOfColumns(), "failed to initialize table editor (out of memory)");
  RouteModel();
  SetOptions(ViewOptions);
  SetHeaderHeights();
  SetTopRow(1);
  SetDoubleBuffered(true);
}

// The model may outlive the view for the rest of an operation a handler of
// the view deleted it from: it must not call back into the view.
TReportListView::~TReportListView() {
  FRLData->ResetStorageRouting();
  FRLData->SetOnPercentDone(nullptr);
  FRLData->SetOnBeforeHTMLExport(nullptr);
}

void TReportListView::CreateWnd() {
  TCustomDrawGrid::CreateWnd();
  SetSuppressPaint(false);
}

std::string TReportListView::ComponentMessage(const std::string& Reason) const {
  return "Component \"" + Name() + "\": " + Reason;
}

void TReportListView::ResizeColumnArrays(int Count, const char* Reason) {
  try {
    const auto n = static_cast<std::size_t>(std::max(Count, 0));
    FColAlignment.resize(n, taLeftJustify);
    FColumnIsPwd.resize(n, false);
    FColumnEditable.resize(n, false);
    FColOrder.resize(n);
    for (std::size_t i = 0; i < n; ++i) FColOrder[i] = static_cast<int>(i);
  } catch (const std::bad_alloc&) {
    throw EVORNRepListError(ComponentMessage(Reason));
  } catch (const std::length_error&) {
    throw EVORNRepListError(ComponentMessage(Reason));
  }
}

// The storage's content changes become the view's OnChange; attribute
// changes the view makes itself are kept quiet (they are selection, not
// content, and fire OnSelectedChange instead). The view's destructor
// replaces these routes, so a model that outlives the view (for the rest
// of an operation a handler deleted it in) calls none of them afterwards.
// Progress is the exception: a running sort holds a copy of its route, so
// that one checks that the view still exists.
void TReportListView::RouteModel() {
  TStorageRouting routing;
  routing.OnChange = [this](TObject*) {
    if (FQuietModel > 0) return;
    FSoleSelected = -1;
    Redraw();
    Changed();  // last: its handler may delete the view
  };
  auto percentDone = [this, view = TDestroyGuard(this)](TObject*, int Percent) {
    if (!view.Gone()) RaiseEvent(FOnPercentDone, this, Percent);
  };
  routing.OnPercentDone = percentDone;
  routing.OnBeforeSortExchange = [this](TObject*, int Kind, int Pos1, int Pos2, int Low, int High) {
    RaiseEvent(FOnBefSortExc, this, Kind, Pos1, Pos2, Low, High);
  };
  FRLData->RouteStorageNotifications(std::move(routing));
  FRLData->SetOnPercentDone(percentDone);
  FRLData->SetOnBeforeHTMLExport([this](TObject*, std::string& Text, int Col, int Row) {
    RaiseEvent(FOnBefHTMLExport, this, Text, Col, Row);
  });
}

void TReportListView::Redraw() {
  if (!FSuppressPaint) Invalidate();
}

void TReportListView::Changed() {
  RaiseEvent(FOnChange, this);
}
void TReportListView::ChangedSetup() {
  RaiseEvent(FOnChangeSetup, this);
}
void TReportListView::ChangedSelection() {
  RaiseEvent(FOnSelectedChange, this);
}

void TReportListView::SetSetupColor(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  Redraw();
  ChangedSetup();
}

// ---- rows, columns and headers ----------------------------------------------------------------

void TReportListView::SetNrOfRows(int Value) {
  TDestroyGuard guard(this);
  Model()->SetNrOfRows(Value);
  if (guard.Gone()) return;
  SetSelection({0, 0, 0, 0});
  if (!guard.Gone() && DeriveGridRows()) ChangedSetup();
}

bool TReportListView::DeriveGridRows() {
  FSoleSelected = -1;
  const int head = CountHeadRows();
  TDestroyGuard guard(this);
  SetRowCount(std::max(head + NrOfRows(), head + 1));
  if (guard.Gone()) return false;
  SetFixedRows(head);
  if (guard.Gone() || !SyncRowHeights()) return false;
  Redraw();
  return true;
}

void TReportListView::SetHeaderHeights() { SyncRowHeights(); }

// Header rows get their heights, data rows the default or 0 when the
// filter hid them. Walks the rows only while some row may be hidden.
bool TReportListView::SyncRowHeights() {
  TDestroyGuard guard(this);
  const int rowHeight = DefaultRowHeight();
  const int first = FComHdVis ? FComHdHgt : FColHdVis ? FColHdHgt : rowHeight;
  const bool secondIsHeader = FComHdVis && FColHdVis;
  if (!FHasFilteredRows) {
    TCustomGrid::SetRowHeights(0, first);
    if (guard.Gone()) return false;
    TCustomGrid::SetRowHeights(1, secondIsHeader ? FColHdHgt : rowHeight);
    return !guard.Gone();
  }
  const TStringArray& strings = *FRLData->Strings();
  int hidden = 0;
  for (int r = 1; r <= NrOfRows(); ++r) hidden += (strings.GetRowAttrib(r) & RowFilteredBit) != 0 ? 1 : 0;
  // Whichever kind of row is rarer is stored, so the grid keeps little.
  const bool mostlyHidden = hidden > NrOfRows() - hidden;
  ResetRowHeightsQuiet(mostlyHidden);
  const int fixed = FixedRows();
  if (fixed >= 1) StoreRowHeight(0, first);
  if (fixed >= 2) StoreRowHeight(1, FColHdHgt);
  for (int r = 1; r <= NrOfRows(); ++r) {
    const bool rowHidden = (strings.GetRowAttrib(r) & RowFilteredBit) != 0;
    if (rowHidden != mostlyHidden) StoreRowHeight(r + fixed - 1, rowHidden ? 0 : rowHeight);
  }
  if (NrOfRows() == 0 && mostlyHidden) StoreRowHeight(fixed, rowHeight);
  FHasFilteredRows = hidden > 0;
  RowSizesStored();
  return !guard.Gone();
}

void TReportListView::SetNrOfColumns(int Value) {
  const int lastWidth = TCustomGrid::ColWidths(ColCount() - 1);
  const int old = std::max(1, NrOfColumns());
  const TDestroyGuard guard(this);
  Model()->SetNrOfColumns(Value);
  if (guard.Gone()) return;
  const int now = NrOfColumns();
  SetColCount(now);
  for (int c = old - 1; c < now; ++c) TCustomGrid::SetColWidths(c, lastWidth);
  ResizeColumnArrays(now, "not enough memory on heap");
  SetTopRow(0);
  Redraw();
  ChangedSetup();
}

void TReportListView::SetLeftCol(int Value) {
  Value = std::clamp(Value, FixedCols() + 1, std::max(FixedCols() + 1, NrOfColumns()));
  TCustomGrid::SetLeftCol(Value - 1);
}

void TReportListView::SetTopRow(int Value) {
  const int head = CountHeadRows();
  TCustomGrid::SetTopRow(std::clamp(Value + head - 1, head, std::max(head, head + NrOfRows() - 1)));
}

int TReportListView::TableColOf(int GridCol) const {
  if (GridCol < 0 || GridCol >= static_cast<int>(FColOrder.size())) return 0;
  return FColOrder[static_cast<std::size_t>(GridCol)] + 1;
}

int TReportListView::ColumnOrder(int ColNr) const { return ColInside(ColNr) ? TableColOf(ColNr - 1) : 0; }

bool TReportListView::SetColumnOrder(const std::vector<int>& ColList) {
  if (static_cast<int>(ColList.size()) != NrOfColumns()) return false;
  bool ok = true;
  for (std::size_t i = 0; i < ColList.size(); ++i) {
    if (!ColInside(ColList[i])) {
      ok = false;
      continue;
    }
    FColOrder[i] = ColList[i] - 1;
  }
  return ok;
}

int TReportListView::ColWidths(int Index) const {
  return ColInside(Index) ? TCustomGrid::ColWidths(FColOrder[static_cast<std::size_t>(Index - 1)]) : 0;
}

void TReportListView::SetColWidths(int Index, int Value) {
  if (ColInside(Index)) TCustomGrid::SetColWidths(FColOrder[static_cast<std::size_t>(Index - 1)], Value);
  ChangedSetup();
}

void TReportListView::SetCommonHeader(const std::string& Value) {
  if (Value == CommonHeader()) return;
  FRLData->SetCommonHeader(Value);
  Redraw();
  Changed();
}

void TReportListView::SetCommonHeaderAlignment(TAlignment Value) {
  if (Value == FHeaderAlignment) return;
  FHeaderAlignment = Value;
  Redraw();
  Changed();
}

void TReportListView::SetEmptyMessage(const std::string& Value) {
  if (Value == FEmptyMsg) return;
  FEmptyMsg = Value;
  Redraw();
  ChangedSetup();
}

void TReportListView::SetCommonHeaderVisible(bool Value) {
  if (Value == FComHdVis) return;
  FComHdVis = Value;
  if (DeriveGridRows()) Changed();
}

void TReportListView::SetColumnHeadersVisible(bool Value) {
  if (Value == FColHdVis) return;
  FColHdVis = Value;
  if (DeriveGridRows()) Changed();
}

void TReportListView::SetCommonHeaderHeight(int Value) {
  FComHdHgt = std::clamp(Value, 8, 127);
  if (!SyncRowHeights()) return;
  Redraw();
  Changed();
}

void TReportListView::SetColumnHeadersHeight(int Value) {
  FColHdHgt = std::clamp(Value, 8, 127);
  if (!SyncRowHeights()) return;
  Redraw();
  Changed();
}

void TReportListView::SetDefaultColWidth(int Value) {
  TDestroyGuard guard(this);  // relayout raises OnTopLeftChanged
  TCustomGrid::SetDefaultColWidth(Value);
  if (guard.Gone()) return;
  Redraw();
  ChangedSetup();
}

void TReportListView::SetDefaultRowHeight(int Value) {
  TDestroyGuard guard(this);  // relayout raises OnTopLeftChanged
  TCustomGrid::SetDefaultRowHeight(Value);
  if (guard.Gone()) return;
  FHasFilteredRows = FHasFilteredRows || NrOfRows() > 0;  // the reset dropped hidden rows: re-derive
  if (!SyncRowHeights()) return;
  Redraw();
  ChangedSetup();
}

void TReportListView::SetColorColumnHd(TColor Value) {
  SetFixedColor(Value);
  SetSetupColor(FColHdColor, Value);
}

void TReportListView::SetInterRowIndicatorWidth(int Value) {
  if (Value == FInterRowWidth) return;
  FInterRowWidth = Value;
  Redraw();
  ChangedSetup();
}

void TReportListView::SetInterRowIndicatorPos(int Value) {
  if (Value == FInterRowIndi) return;
  FInterRowIndi = Value;
  Redraw();
}

// ---- look ------------------------------------------------------------------------------------

void TReportListView::SetEnabled(bool Value) {
  FEnabled = Value;
  TCustomDrawGrid::SetEnabled(Value);
  Invalidate();
}

void TReportListView::SetFixedFirstColumn(bool Value) {
  FFixedColOne = Value;
  TDestroyGuard guard(this);
  SetFixedCols(Value ? 1 : 0);
  if (guard.Gone()) return;
  Redraw();
  Changed();
}

void TReportListView::SetHighLightRow(int Value) {
  FHiLgtRow = Value;
  Redraw();
  ChangedSetup();
}

void TReportListView::SetHighLightColumn(int Value) {
  FHiLgtColumn = Value;
  Redraw();
  ChangedSetup();
}

void TReportListView::SetHighLightBold(bool Value) {
  FHiLgtBold = Value;
  Redraw();
  ChangedSetup();
}

void TReportListView::SetRowColPattern(int Value) {
  FRowColPattern = Value;
  Redraw();
  ChangedSetup();
}

void TReportListView::SetShowEmptyCheckBoxes(bool Value) {
  if (Value == FShowEmptyCBx) return;
  FShowEmptyCBx = Value;
  Redraw();
}

void TReportListView::SetCheckMarksReadOnly(bool Value) {
  if (Value == FROCheckMarks) return;
  FROCheckMarks = Value;
  Redraw();
}

void TReportListView::SetSuppressPaint(bool Value) {
  if (Value == FSuppressPaint) return;
  FSuppressPaint = Value;
  if (!Value) Invalidate();
}

void TReportListView::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TDestroyGuard guard(this);
  TCustomDrawGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!guard.Gone()) Redraw();
}

// ---- per column ----------------------------------------------------------------------------------

void TReportListView::SetHeader(int ColNr, const std::string& Value) {
  if (!ColInside(ColNr)) return;
  FRLData->SetHeader(ColNr, Value);
  Redraw();
  Changed();
}

void TReportListView::SetColumnFormat(int ColNr, const std::string& Value) {
  if (!ColInside(ColNr)) return;
  FRLData->SetColumnFormat(ColNr, Value);
  Redraw();
  Changed();
}

void TReportListView::SetColumnCheckMode(int ColNr, TCheckMode Value) {
  FRLData->SetColumnCheckMode(ColNr, Value);
  Redraw();
  Changed();
}

TAlignment TReportListView::ColumnAlignment(int ColNr) const {
  return ColInside(ColNr) ? FColAlignment[static_cast<std::size_t>(ColNr - 1)] : taLeftJustify;
}

void TReportListView::SetColumnAlignment(int ColNr, TAlignment Value) {
  if (!ColInside(ColNr) || FColAlignment[static_cast<std::size_t>(ColNr - 1)] == Value) return;
  FColAlignment[static_cast<std::size_t>(ColNr - 1)] = Value;
  Redraw();
  Changed();
}

bool TReportListView::ColumnIsPwd(int ColNr) const {
  return ColInside(ColNr) && FColumnIsPwd[static_cast<std::size_t>(ColNr - 1)];
}

void TReportListView::SetColumnIsPwd(int ColNr, bool Value) {
  if (!ColInside(ColNr) || FColumnIsPwd[static_cast<std::size_t>(ColNr - 1)] == Value) return;
  FColumnIsPwd[static_cast<std::size_t>(ColNr - 1)] = Value;
  Redraw();
  Changed();
}

bool TReportListView::ColumnEditable(int ColNr) const {
  return ColInside(ColNr) && FColumnEditable[static_cast<std::size_t>(ColNr - 1)];
}

void TReportListView::SetColumnEditable(int ColNr, bool Value) {
  if (ColInside(ColNr)) FColumnEditable[static_cast<std::size_t>(ColNr - 1)] = Value;
}

// ---- sorting ----------------------------------------------------------------------------------------

void TReportListView::SetSecondarySortColumn(int Value) {
  if (Value < -1 || Value > NrOfColumns()) return;
  FRLData->SetSecondarySortColumn(Value);
  ChangedSetup();
}

void TReportListView::Sort(int Col, int ColSec, bool Ascending) {
  FSoleSelected = -1;
  const TDestroyGuard guard(this);
  Model()->Sort(Col, ColSec, Ascending);
  if (!guard.Gone() && SyncRowHeights()) Redraw();
}

void TReportListView::UnSort() {
  FSoleSelected = -1;
  const TDestroyGuard guard(this);
  Model()->UnSort();
  if (!guard.Gone() && SyncRowHeights()) Redraw();
}

// ---- table operations --------------------------------------------------------------------------------

int TReportListView::AddRow() {
  HideEditor();
  SetNrOfRows(NrOfRows() + 1);
  return NrOfRows();
}

int TReportListView::InsertRow(int R) {
  const TDestroyGuard guard(this);
  HideEditor();
  if (guard.Gone()) return R;
  const auto model = Model();
  const bool saved = FSuppressPaint;
  FSuppressPaint = true;
  if (R >= 1 && R <= NrOfRows()) {
    model->Strings()->InsertRow(R);
    if (guard.Gone()) return R;
    // The storage already holds the new row; the model takes its count.
    SetNrOfRows(NrOfRows() + 1);
  } else if (R > NrOfRows()) {
    SetNrOfRows(NrOfRows() + 1);
    if (!guard.Gone()) R = NrOfRows();
  }
  model->MarkUnsorted();
  if (guard.Gone()) return R;
  SetSuppressPaint(saved);
  Redraw();
  return R;
}

void TReportListView::RemoveRow(int R) {
  if (!RowInside(R)) return;
  const TDestroyGuard guard(this);
  HideEditor();
  if (guard.Gone()) return;
  Model()->RemoveRow(R);
  if (!guard.Gone() && DeriveGridRows()) ChangedSetup();
}

void TReportListView::RemoveEmptyRows() {
  const TDestroyGuard guard(this);
  HideEditor();
  if (guard.Gone()) return;
  Model()->RemoveEmptyRows();
  if (!guard.Gone()) DeriveGridRows();
}

// Runs a model operation with painting held back; the view's own state is
// touched afterwards only when the operation's handlers left the view alive.
template <typename Operation>
void TReportListView::WithPaintHeld(Operation&& Op) {
  const TDestroyGuard guard(this);
  const auto model = Model();
  const bool saved = FSuppressPaint;
  FSuppressPaint = true;
  Op(*model);
  if (!guard.Gone()) SetSuppressPaint(saved);
}

void TReportListView::Fill(const std::string& S) {
  const TDestroyGuard guard(this);
  HideEditor();
  if (guard.Gone()) return;
  WithPaintHeld([&S](TRLData& M) { M.Fill(S); });
}

void TReportListView::Clear() {
  const TDestroyGuard guard(this);
  HideEditor();
  if (guard.Gone()) return;
  Model()->Clear();
  if (guard.Gone()) return;
  std::fill(FColAlignment.begin(), FColAlignment.end(), taLeftJustify);
  std::fill(FColumnIsPwd.begin(), FColumnIsPwd.end(), false);
  std::fill(FColumnEditable.begin(), FColumnEditable.end(), false);
  for (std::size_t i = 0; i < FColOrder.size(); ++i) FColOrder[i] = static_cast<int>(i);
  Redraw();
}

int TReportListView::CountCheckedElemsInCol(int Column) const {
  int n = 0;
  for (int r = 1; r <= NrOfRows(); ++r) {
    if (RowEnabled(r) && ElemChecked(Column, r)) ++n;
  }
  return n;
}

void TReportListView::SetAllCheckmarksOfCol(int Column, bool Checked) {
  if (ColumnCheckMode(Column) != cmBox) return;
  WithPaintHeld([Column, Checked](TRLData& M) { M.SetAllCheckmarksOfCol(Column, Checked); });
}

void TReportListView::InvertAllCheckmarksOfCol(int Column) {
  if (ColumnCheckMode(Column) != cmBox) return;
  WithPaintHeld([Column](TRLData& M) { M.InvertAllCheckmarksOfCol(Column); });
}

// ---- column widths -----------------------------------------------------------------------------------

int TReportListView::DetermineMaxColWidth(int ColNr, bool IncludeHeader) {
  if (!ColInside(ColNr)) return 9;
  TCanvas& c = *Canvas();
  c.SetFont(Font());
  const bool italic = Font()->Style().Contains(fsItalic);
  const bool check = ColumnCheckMode(ColNr) != cmNone;
  const int allowance = (check ? 16 : 0) + (italic ? 2 : 0);
  int widest = 0;
  for (int r = 1; r <= NrOfRows(); ++r) widest = std::max(widest, c.TextWidth(Elem(ColNr, r)) + allowance);
  if (IncludeHeader) {
    const int head = (ColNr == LastSortColumn() ? 13 : 0) + (italic ? 2 : 0);
    widest = std::max(widest, c.TextWidth(Header(ColNr)) + head);
  }
  return widest + 9;
}

void TReportListView::AutoColWidth(int ColNr, bool IncludeHeader, int Addon) {
  SetColWidths(ColNr, std::max(DetermineMaxColWidth(ColNr, IncludeHeader) + Addon, 4));
}

void TReportListView::AutoColWidth(int ColNr, bool IncludeHeader, int Addon, int MaxWidth) {
  SetColWidths(ColNr, std::min(MaxWidth, std::max(DetermineMaxColWidth(ColNr, IncludeHeader) + Addon, 4)));
}

void TReportListView::FitAllColWidths(int ExpandColumn, bool IncludeHeader, int Addon, int MaxWidth,
                                      int RightMargin) {
  const bool saved = FSuppressPaint;
  FSuppressPaint = true;
  for (int c = 1; c <= NrOfColumns(); ++c) {
    if (c != ExpandColumn) AutoColWidth(c, IncludeHeader, Addon, MaxWidth);
  }
  ExpandColWidth(ExpandColumn, RightMargin);
  SetSuppressPaint(saved);
}

void TReportListView::ExpandColWidth(int ColIx, int RightMargin) {
  if (ColInside(ColIx)) {
    int others = 0;
    for (int i = 0; i < NrOfColumns(); ++i) {
      if (i != ColIx - 1) others += TCustomGrid::ColWidths(FColOrder[static_cast<std::size_t>(i)]);
    }
    const int width = ClientWidth() - RightMargin - others;
    TCustomGrid::SetColWidths(FColOrder[static_cast<std::size_t>(ColIx - 1)], width > 15 ? width : 16);
  }
  ChangedSetup();
}

// ---- copying and documents --------------------------------------------------------------------------

void TReportListView::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TReportListView*>(Source);
  if (src == nullptr) {
    TCustomDrawGrid::Assign(Source);
    return;
  }
  FAutoAdvance = src->FAutoAdvance;
  FLastMousePosX = src->FLastMousePosX;
  FLastMousePosY = src->FLastMousePosY;
  FOnChange = src->FOnChange;
  FOnChangeSetup = src->FOnChangeSetup;
  FOnSelectedChange = src->FOnSelectedChange;
  FSelectAnchor = src->FSelectAnchor;
  FRowSelectMode = src->FRowSelectMode;
  FSortEnabled = src->FSortEnabled;
  FEnabled = src->FEnabled;
  FOnChkStChange = src->FOnChkStChange;
  FOnBefChkStChange = src->FOnBefChkStChange;
  SetOnGetEditText(src->OnGetEditText());
  SetOnSetEditText(src->OnSetEditText());
  FSelRowColor = src->FSelRowColor;
  FSelRowTextColor = src->FSelRowTextColor;
  FSelColColor = src->FSelColColor;
  FSelColTextColor = src->FSelColTextColor;
  FSelBothColor = src->FSelBothColor;
  FSelBothTextColor = src->FSelBothTextColor;
  FHiLgtColor = src->FHiLgtColor;
  FHiLgtTextColor = src->FHiLgtTextColor;
  FHiLgtBold = src->FHiLgtBold;
  FHiLgtRow = src->FHiLgtRow;
  FHiLgtColumn = src->FHiLgtColumn;
  FSuppressPaint = src->FSuppressPaint;
  FColorNormal = src->FColorNormal;
  FRColorNormal = src->FRColorNormal;
  FRColorShaded = src->FRColorShaded;
  FRowColPattern = src->FRowColPattern;
  FHeaderAlignment = src->FHeaderAlignment;
  FComHdVis = src->FComHdVis;
  FComHdColor = src->FComHdColor;
  FComHdTxtColor = src->FComHdTxtColor;
  FColHdVis = src->FColHdVis;
  FColHdColor = src->FColHdColor;
  FColHdTxtColor = src->FColHdTxtColor;
  FOnRequestEdFmt = src->FOnRequestEdFmt;
  FShowEmptyCBx = src->FShowEmptyCBx;
  FOnPercentDone = src->FOnPercentDone;
  FOnBefRenderCell = src->FOnBefRenderCell;
  FOnBefSortExc = src->FOnBefSortExc;
  FOnBefHTMLExport = src->FOnBefHTMLExport;
  FOnBeforeFilter = src->FOnBeforeFilter;
  FInterRowIndi = src->FInterRowIndi;
  FInterRowColor = src->FInterRowColor;
  FInterRowWidth = src->FInterRowWidth;
  FFixedColOne = src->FFixedColOne;
  const TDestroyGuard guard(this);
  Model()->Assign(src->FRLData.get());
  if (guard.Gone()) return;
  RouteModel();
  ModelReplaced();
  if (guard.Gone()) return;
  SetFixedCols(FFixedColOne ? 1 : 0);
  FColAlignment = src->FColAlignment;
  FColumnIsPwd = src->FColumnIsPwd;
  FColumnEditable = src->FColumnEditable;
  FColOrder = src->FColOrder;
  Redraw();
}

// After the model was replaced whole: columns, arrays and rows follow it.
void TReportListView::ModelReplaced() {
  TDestroyGuard guard(this);
  HideEditor();
  if (guard.Gone()) return;
  SetColCount(NrOfColumns());
  if (guard.Gone()) return;
  ResizeColumnArrays(NrOfColumns(), "not enough memory on heap");
  FHasFilteredRows = true;  // the new rows may carry the filter bit
  DeriveGridRows();
}

bool TReportListView::ReadFromXMLString(std::string_view InString, std::string_view ADataID) {
  const TDestroyGuard guard(this);
  if (!Model()->ReadFromXMLString(InString, ADataID)) return false;
  if (!guard.Gone()) ModelReplaced();
  return true;
}

bool TReportListView::ReadFromXMLStream(std::istream& InStream, std::string_view ADataID) {
  const TDestroyGuard guard(this);
  if (!Model()->ReadFromXMLStream(InStream, ADataID)) return false;
  if (!guard.Gone()) ModelReplaced();
  return true;
}

bool TReportListView::LoadFromXMLFile(const std::string& FileName, std::string_view ADataID) {
  const TDestroyGuard guard(this);
  if (!Model()->LoadFromXMLFile(FileName, ADataID)) return false;
  if (!guard.Gone()) ModelReplaced();
  return true;
}

int TReportListView::LoadLinesFromFile(int Column, int FirstRow, const std::string& FileName) {
  const TDestroyGuard guard(this);
  const int lines = Model()->LoadLinesFromFile(Column, FirstRow, FileName);
  if (!guard.Gone()) DeriveGridRows();
  return lines;
}

}  // namespace vorn
