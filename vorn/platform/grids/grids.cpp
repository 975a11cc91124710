// The grid's dimensions, geometry, scrolling and painting. Input is in
// grids_input.cpp, the editors and the string grid in grids_edit.cpp.
#include "vorn/platform/grids/grids.h"

#include <algorithm>
#include <cstdint>

#include "vorn/platform/stdctrls/bevels.h"
#include "vorn/platform/controls/scrollbars.h"

namespace vorn {

namespace {

constexpr TColor FixedLineColor = clBlack;
constexpr TColor CellLineColor = clSilver;

int ClampInt(int Value, int Low, int High) { return std::max(Low, std::min(Value, High)); }

}  // namespace

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner) {
  FCols.SetCount(FColCount);
  FCols.SetDefaultSize(FDefaultColWidth);
  FRows.SetCount(FRowCount);
  FRows.SetDefaultSize(FDefaultRowHeight);
  SyncLineWidths();
  SetTabStop(true);
  FControlStyle.Include(csOpaque);
  SetColor(clWindow);
  SetBounds(0, 0, 320, 120);
}

TCustomGrid::~TCustomGrid() {
  // The editor is a child the grid owns; it must not call back into a
  // grid that is going away.
  if (FInplaceEdit != nullptr) {
    FEditorMode = false;
    FInplaceEdit->FGrid = nullptr;
    delete FInplaceEdit;
    FInplaceEdit = nullptr;
  }
}

// ---- dimensions -------------------------------------------------------------------------------

void TCustomGrid::SetColCount(int Value) {
  Value = std::max(1, Value);
  if (Value == FColCount) return;
  TDestroyGuard guard(this);
  HideEditor();
  if (guard.Gone()) return;
  const int oldCols = FColCount;
  FColCount = Value;
  FCols.SetCount(Value);
  FFixedCols = std::min(FFixedCols, FColCount - 1);
  ClampCurrent();
  SizeChanged(oldCols, FRowCount);
  if (!guard.Gone()) Relayout();
}

void TCustomGrid::SetRowCount(int Value) {
  Value = std::max(1, Value);
  if (Value == FRowCount) return;
  TDestroyGuard guard(this);
  HideEditor();
  if (guard.Gone()) return;
  const int oldRows = FRowCount;
  FRowCount = Value;
  FRows.SetCount(Value);
  FFixedRows = std::min(FFixedRows, FRowCount - 1);
  ClampCurrent();
  SizeChanged(FColCount, oldRows);
  if (!guard.Gone()) Relayout();
}

void TCustomGrid::SetFixedCols(int Value) {
  Value = ClampInt(Value, 0, FColCount - 1);
  if (Value == FFixedCols) return;
  TDestroyGuard guard(this);
  HideEditor();
  if (guard.Gone()) return;
  FFixedCols = Value;
  ClampCurrent();
  Relayout();
}

void TCustomGrid::SetFixedRows(int Value) {
  Value = ClampInt(Value, 0, FRowCount - 1);
  if (Value == FFixedRows) return;
  TDestroyGuard guard(this);
  HideEditor();
  if (guard.Gone()) return;
  FFixedRows = Value;
  ClampCurrent();
  Relayout();
}

void TCustomGrid::SetDefaultColWidth(int Value) {
  Value = std::max(0, Value);
  FDefaultColWidth = Value;
  FCols.SetDefaultSize(Value);
  ColWidthsChanged();
  Relayout();
}

void TCustomGrid::SetDefaultRowHeight(int Value) {
  Value = std::max(0, Value);
  FDefaultRowHeight = Value;
  FRows.SetDefaultSize(Value);
  RowHeightsChanged();
  Relayout();
}

int TCustomGrid::ColWidths(int Index) const { return FCols.Size(Index); }

int TCustomGrid::RowHeights(int Index) const { return FRows.Size(Index); }

void TCustomGrid::SetColWidths(int Index, int Value) {
  if (Index < 0 || Index >= FColCount) return;
  Value = std::max(0, Value);
  if (Value == ColWidths(Index)) return;
  FCols.SetSize(Index, Value);
  ColWidthsChanged();
  Relayout();
}

void TCustomGrid::SetRowHeights(int Index, int Value) {
  if (Index < 0 || Index >= FRowCount) return;
  Value = std::max(0, Value);
  if (Value == RowHeights(Index)) return;
  FRows.SetSize(Index, Value);
  RowHeightsChanged();
  Relayout();
}

void TCustomGrid::RowSizesStored() {
  RowHeightsChanged();
  Relayout();
}

void TCustomGrid::SetGridLineWidth(int Value) {
  Value = std::max(0, Value);
  if (Value == FGridLineWidth) return;
  FGridLineWidth = Value;
  SyncLineWidths();
  Relayout();
}

void TCustomGrid::SetOptions(TGridOptions Value) {
  if (Value == FOptions) return;
  TDestroyGuard guard(this);
  if (FEditorMode && !Value.Contains(goEditing)) HideEditor();
  if (guard.Gone()) return;
  FOptions = Value;
  SyncLineWidths();
  UpdateLayout();
  if (guard.Gone()) return;
  if (FOptions.Contains(goEditing) && FOptions.Contains(goAlwaysShowEditor) && Focused()) ShowEditor();
  if (!guard.Gone()) Invalidate();
}

void TCustomGrid::SetFixedColor(TColor Value) {
  if (Value == FFixedColor) return;
  FFixedColor = Value;
  Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle Value) {
  if (Value == FScrollBars) return;
  FScrollBars = Value;
  Relayout();
}

void TCustomGrid::SetDefaultDrawing(bool Value) {
  if (Value == FDefaultDrawing) return;
  FDefaultDrawing = Value;
  Invalidate();
}

void TCustomGrid::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TDestroyGuard guard(this);  // OnResize may delete the grid
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!guard.Gone()) UpdateLayout();
}

// ---- hooks with default behaviour ----------------------------------------------------------

void TCustomGrid::DrawCell(int, int, const TRect&, TGridDrawState) {}
bool TCustomGrid::SelectCell(int, int) { return true; }
void TCustomGrid::TopLeftChanged() {}
void TCustomGrid::SizeChanged(int, int) {}
void TCustomGrid::ColumnMoved(int, int) {}
void TCustomGrid::RowMoved(int, int) {}
void TCustomGrid::ColWidthsChanged() {}
void TCustomGrid::RowHeightsChanged() {}
std::string TCustomGrid::GetEditText(int, int) { return {}; }
void TCustomGrid::SetEditText(int, int, const std::string&) {}
TEditStyle TCustomGrid::GetEditStyle(int, int) { return esSimple; }
TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEditList(this); }
bool TCustomGrid::CanEditShow() { return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect); }

// ---- layout ------------------------------------------------------------------------------------

int TCustomGrid::HorzLineWidth() const {
  return FOptions.Contains(goVertLine) || FOptions.Contains(goFixedVertLine) ? FGridLineWidth : 0;
}

int TCustomGrid::VertLineWidth() const {
  return FOptions.Contains(goHorzLine) || FOptions.Contains(goFixedHorzLine) ? FGridLineWidth : 0;
}

void TCustomGrid::SyncLineWidths() {
  FCols.SetLineWidth(HorzLineWidth());
  FRows.SetLineWidth(VertLineWidth());
}

int TCustomGrid::ClientAreaWidth() const { return std::max(0, Width() - (FVertBar ? ScrollBarSize : 0)); }
int TCustomGrid::ClientAreaHeight() const { return std::max(0, Height() - (FHorzBar ? ScrollBarSize : 0)); }

namespace {

// The scroll computations, the same for columns and rows: an axis with
// Fixed entries that never scroll, First the first scrolled entry shown
// and Room the pixels of the client area along the axis.

int Pixels(std::int64_t Value) {
  return static_cast<int>(std::clamp<std::int64_t>(Value, -0x3FFFFFFF, 0x3FFFFFFF));
}

// The largest First that still fills the room from there to the end.
int MaxFirstOf(const TGridAxis& Axis, int Fixed, int Room) {
  const int n = Axis.Count();
  const std::int64_t room = Room - Axis.Start(Fixed);
  int first = Axis.FirstStartingAt(Fixed, Axis.Total() - room);
  first = Axis.NextShown(first);
  if (first >= n) first = Axis.PrevShown(n - 1);  // the last entry alone is too big
  return std::max(first, Fixed);
}

// Client position of entry Index, or -1 when it is scrolled away.
int PositionOf(const TGridAxis& Axis, int Fixed, int First, int Index) {
  if (Index < Fixed) return Pixels(Axis.Start(Index));
  if (Index < First) return -1;
  return Pixels(Axis.Start(Fixed) + Axis.Start(Index) - Axis.Start(First));
}

// The entry under client position P, or -1.
int EntryAt(const TGridAxis& Axis, int Fixed, int First, int P) {
  const std::int64_t fixedEnd = Axis.Start(Fixed);
  if (P < fixedEnd) return Axis.IndexAt(P);
  const int i = Axis.IndexAt(P - fixedEnd + Axis.Start(First));
  return i >= Axis.Count() ? -1 : i;
}

// Shown scrolled entries whose whole extent fits into Room from First on.
int FullyShownCount(const TGridAxis& Axis, int Fixed, int First, int Room) {
  const std::int64_t limit = Room - Axis.Start(Fixed) + Axis.Start(First);
  int n = 0;
  for (int i = Axis.NextShown(First); i < Axis.Count() && Axis.Start(i + 1) <= limit; i = Axis.NextShown(i + 1)) ++n;
  return n;
}

// The smallest First that shows entry Target whole (Target itself when it
// is bigger than the room).
int FirstShowing(const TGridAxis& Axis, int Fixed, int Target, int Room) {
  const std::int64_t room = Room - Axis.Start(Fixed);
  const int first = std::min(Axis.FirstStartingAt(Fixed, Axis.Start(Target + 1) - room), Target);
  return std::max(Fixed, Axis.NextShown(first));
}

// Where First goes when asked for Wanted: a shown entry, found in the
// direction the request moves from Current.
int ShownFirst(const TGridAxis& Axis, int Fixed, int Current, int Wanted) {
  int i = Wanted < Current ? Axis.PrevShown(Wanted) : Axis.NextShown(Wanted);
  if (i < Fixed || i >= Axis.Count()) i = Wanted < Current ? Axis.NextShown(Wanted) : Axis.PrevShown(Wanted);
  return i < Fixed ? Fixed : i;
}

}  // namespace

int TCustomGrid::FixedWidth() const { return Pixels(FCols.Start(FFixedCols)); }
int TCustomGrid::FixedHeight() const { return Pixels(FRows.Start(FFixedRows)); }
bool TCustomGrid::ColsFitIn(int AWidth) const { return FCols.Total() <= AWidth; }
bool TCustomGrid::RowsFitIn(int AHeight) const { return FRows.Total() <= AHeight; }
int TCustomGrid::MaxLeftCol() const { return MaxFirstOf(FCols, FFixedCols, ClientAreaWidth()); }
int TCustomGrid::MaxTopRow() const { return MaxFirstOf(FRows, FFixedRows, ClientAreaHeight()); }

int TCustomGrid::VisibleColCount() const {
  return FullyShownCount(FCols, FFixedCols, FTopLeft.X, ClientAreaWidth());
}

int TCustomGrid::VisibleRowCount() const {
  return FullyShownCount(FRows, FFixedRows, FTopLeft.Y, ClientAreaHeight());
}

int TCustomGrid::PageDownRow() const {
  // The first row that the current page does not show whole; at least the
  // next shown row.
  const std::int64_t end = FRows.Start(FTopLeft.Y) + ClientAreaHeight() - FixedHeight();
  const int next = std::min(FRows.IndexAt(end), FRowCount - 1);
  return std::max(next, FRows.NextShown(FTopLeft.Y + 1));
}

int TCustomGrid::PageUpRow() const {
  const std::int64_t room = ClientAreaHeight() - FixedHeight();
  const int first = FRows.NextShown(FRows.FirstStartingAt(FFixedRows, FRows.Start(FTopLeft.Y) - room));
  const int previous = FRows.PrevShown(FTopLeft.Y - 1);
  return previous >= FFixedRows ? std::min(first, previous) : FFixedRows;
}

TGridCoord TCustomGrid::ShownCell(TGridCoord Wanted) const {
  return {ShownFirst(FCols, FFixedCols, FCurrent.X, Wanted.X), ShownFirst(FRows, FFixedRows, FCurrent.Y, Wanted.Y)};
}

int TCustomGrid::StepShownRows(int ARow, int Count) const {
  int r = ARow;
  for (; Count > 0; --Count) {
    const int next = FRows.NextShown(r + 1);
    if (next >= FRowCount) break;
    r = next;
  }
  for (; Count < 0; ++Count) {
    const int prev = FRows.PrevShown(r - 1);
    if (prev < FFixedRows) break;
    r = prev;
  }
  return r;
}

void TCustomGrid::Relayout() {
  TDestroyGuard guard(this);
  UpdateLayout();
  if (!guard.Gone()) Invalidate();
}

void TCustomGrid::UpdateLayout() {
  const bool allowVert = FScrollBars == ssVertical || FScrollBars == ssBoth;
  const bool allowHorz = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
  // Each bar takes room from the other direction, so decide twice.
  FVertBar = FHorzBar = false;
  for (int pass = 0; pass < 2; ++pass) {
    FVertBar = allowVert && !RowsFitIn(Height() - (FHorzBar ? ScrollBarSize : 0));
    FHorzBar = allowHorz && !ColsFitIn(Width() - (FVertBar ? ScrollBarSize : 0));
  }
  TDestroyGuard guard(this);  // scrolling raises OnTopLeftChanged
  MoveTopLeft(FTopLeft.X, FTopLeft.Y);
  if (!guard.Gone()) PlaceEditor();
}

void TCustomGrid::ClampCurrent() {
  auto clamp = [this](TGridCoord& p) {
    p.X = ClampInt(p.X, FFixedCols, FColCount - 1);
    p.Y = ClampInt(p.Y, FFixedRows, FRowCount - 1);
  };
  clamp(FCurrent);
  clamp(FAnchor);
  FTopLeft.X = std::max(FTopLeft.X, FFixedCols);
  FTopLeft.Y = std::max(FTopLeft.Y, FFixedRows);
}

void TCustomGrid::MoveTopLeft(int ALeft, int ATop) {
  // Rows snap to a shown row; columns do not, so that a column sized to
  // nothing right of the fixed ones keeps its divider where it was.
  ALeft = ClampInt(ALeft, FFixedCols, MaxLeftCol());
  ATop = ClampInt(ShownFirst(FRows, FFixedRows, FTopLeft.Y, ATop), FFixedRows, MaxTopRow());
  if (ALeft == FTopLeft.X && ATop == FTopLeft.Y) return;
  FTopLeft = {ALeft, ATop};
  Invalidate();
  PlaceEditor();
  TopLeftChanged();
}

void TCustomGrid::ScrollIntoView(int ACol, int ARow) {
  int left = FTopLeft.X;
  int top = FTopLeft.Y;
  if (ARow >= FFixedRows && ARow < FRowCount) {
    if (ARow < top) {
      top = ARow;
    } else {
      top = std::max(top, FirstShowing(FRows, FFixedRows, ARow, ClientAreaHeight()));
    }
  }
  if (ACol >= FFixedCols && ACol < FColCount && !FOptions.Contains(goRowSelect)) {
    if (ACol < left) {
      left = ACol;
    } else {
      left = std::max(left, FirstShowing(FCols, FFixedCols, ACol, ClientAreaWidth()));
    }
  }
  MoveTopLeft(left, top);
}

// ---- geometry ----------------------------------------------------------------------------------

int TCustomGrid::ColX(int ACol) const {
  if (ACol < 0 || ACol >= FColCount) return -1;
  const int x = PositionOf(FCols, FFixedCols, FTopLeft.X, ACol);
  return x < ClientAreaWidth() ? x : -1;
}

int TCustomGrid::RowY(int ARow) const {
  if (ARow < 0 || ARow >= FRowCount) return -1;
  const int y = PositionOf(FRows, FFixedRows, FTopLeft.Y, ARow);
  return y < ClientAreaHeight() ? y : -1;
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const {
  const int x = ColX(ACol);
  const int y = RowY(ARow);
  if (x < 0 || y < 0) return {0, 0, 0, 0};
  return {x, y, x + ColWidths(ACol), y + RowHeights(ARow)};
}

int TCustomGrid::CoordOfX(int X) const {
  if (X < 0 || X >= ClientAreaWidth()) return -1;
  return EntryAt(FCols, FFixedCols, FTopLeft.X, X);
}

int TCustomGrid::CoordOfY(int Y) const {
  if (Y < 0 || Y >= ClientAreaHeight()) return -1;
  return EntryAt(FRows, FFixedRows, FTopLeft.Y, Y);
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const {
  TGridCoord p{CoordOfX(X), CoordOfY(Y)};
  if (p.X < 0 || p.Y < 0) return {-1, -1};
  return p;
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
  const TGridCoord p = MouseCoord(X, Y);
  ACol = p.X;
  ARow = p.Y;
}

int TCustomGrid::GridWidth() const {
  const std::int64_t w = FCols.Start(FFixedCols) + FCols.Total() - FCols.Start(FTopLeft.X);
  return Pixels(std::min<std::int64_t>(w, ClientAreaWidth()));
}

int TCustomGrid::GridHeight() const {
  const std::int64_t h = FRows.Start(FFixedRows) + FRows.Total() - FRows.Start(FTopLeft.Y);
  return Pixels(std::min<std::int64_t>(h, ClientAreaHeight()));
}

// ---- selection ---------------------------------------------------------------------------------

TGridRect TCustomGrid::Selection() const {
  TGridRect r{std::min(FAnchor.X, FCurrent.X), std::min(FAnchor.Y, FCurrent.Y),
              std::max(FAnchor.X, FCurrent.X), std::max(FAnchor.Y, FCurrent.Y)};
  if (FOptions.Contains(goRowSelect)) {
    r.Left = FFixedCols;
    r.Right = FColCount - 1;
  }
  return r;
}

void TCustomGrid::SetSelection(const TGridRect& Value) {
  TDestroyGuard guard(this);
  HideEditor();
  if (guard.Gone()) return;
  // The current cell never sits on a heading.
  FCurrent = {ClampInt(Value.Left, FFixedCols, FColCount - 1), ClampInt(Value.Top, FFixedRows, FRowCount - 1)};
  FAnchor = {ClampInt(Value.Right, FFixedCols, FColCount - 1), ClampInt(Value.Bottom, FFixedRows, FRowCount - 1)};
  Invalidate();
}

void TCustomGrid::InvalidateCell(int ACol, int ARow) {
  const TRect r = CellRect(ACol, ARow);
  if (!r.IsEmpty()) InvalidateRect({r.Left, r.Top, r.Right + HorzLineWidth(), r.Bottom + VertLineWidth()});
}

void TCustomGrid::InvalidateRow(int ARow) {
  const int y = RowY(ARow);
  if (y >= 0) InvalidateRect({0, y, Width(), y + RowHeights(ARow) + VertLineWidth()});
}

void TCustomGrid::InvalidateCol(int ACol) {
  const int x = ColX(ACol);
  if (x >= 0) InvalidateRect({x, 0, x + ColWidths(ACol) + HorzLineWidth(), Height()});
}

// ---- moving columns and rows ---------------------------------------------------------------

void TCustomGrid::MoveColumn(int FromIndex, int ToIndex) {
  if (FromIndex == ToIndex || FromIndex < 0 || ToIndex < 0 || FromIndex >= FColCount ||
      ToIndex >= FColCount) {
    return;
  }
  TDestroyGuard guard(this);
  HideEditor();
  if (guard.Gone()) return;
  FCols.Move(FromIndex, ToIndex);
  ColumnMoved(FromIndex, ToIndex);
  if (!guard.Gone()) Relayout();
}

void TCustomGrid::MoveRow(int FromIndex, int ToIndex) {
  if (FromIndex == ToIndex || FromIndex < 0 || ToIndex < 0 || FromIndex >= FRowCount ||
      ToIndex >= FRowCount) {
    return;
  }
  TDestroyGuard guard(this);
  HideEditor();
  if (guard.Gone()) return;
  FRows.Move(FromIndex, ToIndex);
  RowMoved(FromIndex, ToIndex);
  if (!guard.Gone()) Relayout();
}

// ---- painting ----------------------------------------------------------------------------------

namespace {

// A shown column or row: its index, where it starts and its size.
struct TSpan {
  int Index;
  int Start;
  int Size;
};

// The fixed entries and then the shown scrolled ones from First on, as
// far as Room reaches; hidden entries are left out.
std::vector<TSpan> ShownSpans(const TGridAxis& Axis, int Fixed, int First, int Room) {
  std::vector<TSpan> spans;
  int pos = 0;
  const int line = Axis.LineWidth();
  for (int i = Axis.NextShown(0); i < Fixed && pos < Room; i = Axis.NextShown(i + 1)) {
    spans.push_back({i, pos, Axis.Size(i)});
    pos += Axis.Size(i) + line;
  }
  for (int i = Axis.NextShown(First); i < Axis.Count() && pos < Room; i = Axis.NextShown(i + 1)) {
    spans.push_back({i, pos, Axis.Size(i)});
    pos += Axis.Size(i) + line;
  }
  return spans;
}

}  // namespace

TGridDrawState TCustomGrid::CellState(int ACol, int ARow) const {
  TGridDrawState state;
  if (ACol < FFixedCols || ARow < FFixedRows) {
    state.Include(gdFixed);
    return state;
  }
  if (ACol == FCurrent.X && ARow == FCurrent.Y && Focused()) state.Include(gdFocused);
  if (Selection().Contains(ACol, ARow)) state.Include(gdSelected);
  return state;
}

void TCustomGrid::Paint() {
  TCanvas& c = *Canvas();
  const TRect saved = c.ClipRect();
  const TRect area{0, 0, ClientAreaWidth(), ClientAreaHeight()};
  const TRect clip = IntersectRect(area, saved);
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->SetColor(Color());
  PaintBackdrop(c, clip);
  if (!clip.IsEmpty()) {
    c.SetClipRect(clip);
    if (!PaintCells(c, clip)) return;  // an OnDrawCell deleted the grid
    c.SetClipRect(clip);
    PaintLines(c);
    c.SetClipRect(saved);
  }
  PaintScrollBars(c);
}

void TCustomGrid::PaintBackdrop(TCanvas& C, const TRect& Clip) {
  const bool verticalLines = HorzLineWidth() == 0 || (FOptions.Contains(goFixedVertLine) && FOptions.Contains(goVertLine));
  const bool horizontalLines = VertLineWidth() == 0 || (FOptions.Contains(goFixedHorzLine) && FOptions.Contains(goHorzLine));
  if (!CellsCoverThemselves() || !verticalLines || !horizontalLines) {
    C.FillRect(Clip);
    return;
  }
  // Cells and lines tile the grid's area: only what lies right of and
  // below it shows the background.
  const int right = GridWidth();
  const int bottom = GridHeight();
  C.FillRect(IntersectRect({right, Clip.Top, Clip.Right, Clip.Bottom}, Clip));
  C.FillRect(IntersectRect({Clip.Left, bottom, right, Clip.Bottom}, Clip));
}

bool TCustomGrid::PaintCells(TCanvas& C, const TRect& Clip) {
  const auto cols = ShownSpans(FCols, FFixedCols, FTopLeft.X, ClientAreaWidth());
  const auto rows = ShownSpans(FRows, FFixedRows, FTopLeft.Y, ClientAreaHeight());
  for (const TSpan& row : rows) {
    if (row.Start + row.Size <= Clip.Top || row.Start >= Clip.Bottom) continue;
    for (const TSpan& col : cols) {
      if (col.Start + col.Size <= Clip.Left || col.Start >= Clip.Right) continue;
      if (!PaintOneCell(C, col.Index, row.Index, {col.Start, row.Start, col.Start + col.Size, row.Start + row.Size})) {
        return false;
      }
    }
  }
  return true;
}

bool TCustomGrid::PaintOneCell(TCanvas& C, int ACol, int ARow, const TRect& R) {
  const TGridDrawState state = CellState(ACol, ARow);
  const bool fixed = state.Contains(gdFixed);
  if (FDefaultDrawing) {
    C.SetFont(Font());
    C.Brush()->SetStyle(bsSolid);
    const bool highlight = state.Contains(gdSelected) &&
                           (!state.Contains(gdFocused) || FOptions.Contains(goDrawFocusSelected) ||
                            FOptions.Contains(goRowSelect));
    if (fixed) {
      C.Brush()->SetColor(FFixedColor);
    } else if (highlight) {
      C.Brush()->SetColor(clHighlight);
      C.Font()->SetColor(clHighlightText);
    } else {
      C.Brush()->SetColor(Color());
    }
    C.FillRect(R);
  }
  TDestroyGuard guard(this);
  DrawCell(ACol, ARow, R, state);
  if (guard.Gone()) return false;
  if (!FDefaultDrawing) return true;
  if (fixed && FOptions.Contains(goFixedVertLine) && FOptions.Contains(goFixedHorzLine)) {
    TRect bevel = R;
    Frame3D(C, bevel, clBtnHighlight, clBtnShadow, 1);
  }
  if (state.Contains(gdFocused) && !FEditorMode && !FOptions.Contains(goRowSelect)) C.DrawFocusRect(R);
  return true;
}

void TCustomGrid::PaintLines(TCanvas& C) {
  const int hl = HorzLineWidth();
  const int vl = VertLineWidth();
  const int gridW = GridWidth();
  const int gridH = GridHeight();
  const int fixedRight = std::min(FixedWidth(), gridW);
  const int fixedBottom = std::min(FixedHeight(), gridH);
  C.Brush()->SetStyle(bsSolid);
  auto fill = [&C](TColor Color, const TRect& R) {
    if (R.IsEmpty()) return;
    C.Brush()->SetColor(Color);
    C.FillRect(R);
  };
  const bool fixedV = FOptions.Contains(goFixedVertLine);
  const bool fixedH = FOptions.Contains(goFixedHorzLine);
  const bool cellV = FOptions.Contains(goVertLine);
  const bool cellH = FOptions.Contains(goHorzLine);
  if (hl > 0) {
    const auto cols = ShownSpans(FCols, FFixedCols, FTopLeft.X, ClientAreaWidth());
    for (const TSpan& s : cols) {
      const int x = s.Start + s.Size;
      if (s.Index < FFixedCols) {
        if (fixedV) fill(FixedLineColor, {x, 0, x + hl, gridH});
        continue;
      }
      if (fixedV) fill(FixedLineColor, {x, 0, x + hl, fixedBottom});
      if (cellV) fill(CellLineColor, {x, fixedBottom, x + hl, gridH});
    }
  }
  if (vl > 0) {
    const auto rows = ShownSpans(FRows, FFixedRows, FTopLeft.Y, ClientAreaHeight());
    for (const TSpan& s : rows) {
      const int y = s.Start + s.Size;
      if (s.Index < FFixedRows) {
        if (fixedH) fill(FixedLineColor, {0, y, gridW, y + vl});
        continue;
      }
      if (fixedH) fill(FixedLineColor, {0, y, fixedRight, y + vl});
      if (cellH) fill(CellLineColor, {fixedRight, y, gridW, y + vl});
    }
  }
}

// ---- scroll bars -----------------------------------------------------------------------------

TRect TCustomGrid::VertBarRect() const {
  if (!FVertBar) return {0, 0, 0, 0};
  return {Width() - ScrollBarSize, 0, Width(), ClientAreaHeight()};
}

TRect TCustomGrid::HorzBarRect() const {
  if (!FHorzBar) return {0, 0, 0, 0};
  return {0, Height() - ScrollBarSize, ClientAreaWidth(), Height()};
}

TScrollBarState TCustomGrid::BarState(bool Vertical) const {
  TScrollBarState s;
  s.Bar = Vertical ? VertBarRect() : HorzBarRect();
  s.Vertical = Vertical;
  s.Max = Vertical ? MaxTopRow() - FFixedRows : MaxLeftCol() - FFixedCols;
  s.Position = Vertical ? FTopLeft.Y - FFixedRows : FTopLeft.X - FFixedCols;
  if (FState == (Vertical ? TGridState::ScrollVert : TGridState::ScrollHorz)) s.Position = FThumbValue;
  s.Page = std::max(1, Vertical ? VisibleRowCount() : VisibleColCount());
  return s;
}

void TCustomGrid::PaintScrollBars(TCanvas& C) {
  if (FVertBar) PaintScrollBar(C, BarState(true));
  if (FHorzBar) PaintScrollBar(C, BarState(false));
  if (FVertBar && FHorzBar) {
    C.Brush()->SetStyle(bsSolid);
    C.Brush()->SetColor(clBtnFace);
    C.FillRect({Width() - ScrollBarSize, Height() - ScrollBarSize, Width(), Height()});
  }
}

void TCustomGrid::ScrollByBar(bool Vertical, TBarPart Part) {
  if (Vertical) {
    // Pages follow the pixels shown, so that hidden rows do not count.
    switch (Part) {
      case TBarPart::LineUp: MoveTopLeft(FTopLeft.X, FTopLeft.Y - 1); break;
      case TBarPart::LineDown: MoveTopLeft(FTopLeft.X, FTopLeft.Y + 1); break;
      case TBarPart::PageUp: MoveTopLeft(FTopLeft.X, PageUpRow()); break;
      case TBarPart::PageDown: MoveTopLeft(FTopLeft.X, PageDownRow()); break;
      default: break;
    }
    return;
  }
  const int page = std::max(1, VisibleColCount());
  switch (Part) {
    case TBarPart::LineUp: MoveTopLeft(FTopLeft.X - 1, FTopLeft.Y); break;
    case TBarPart::LineDown: MoveTopLeft(FTopLeft.X + 1, FTopLeft.Y); break;
    case TBarPart::PageUp: MoveTopLeft(FTopLeft.X - page, FTopLeft.Y); break;
    case TBarPart::PageDown: MoveTopLeft(FTopLeft.X + page, FTopLeft.Y); break;
    default: break;
  }
}

void TCustomGrid::DragThumb(bool Vertical, TPoint P, bool Apply) {
  const TScrollBarState state = BarState(Vertical);
  if (ScrollBarThumb(state).IsEmpty()) return;
  const int value = ScrollBarPositionAt(state, Vertical ? P.Y - FThumbGrab.Y : P.X - FThumbGrab.X);
  FThumbValue = value;
  if (Apply) {
    TDestroyGuard guard(this);  // scrolling raises OnTopLeftChanged
    if (Vertical) {
      MoveTopLeft(FTopLeft.X, FFixedRows + value);
    } else {
      MoveTopLeft(FFixedCols + value, FTopLeft.Y);
    }
    if (guard.Gone()) return;
  }
  InvalidateRect(state.Bar);
}

}  // namespace vorn
