// Grids: a self-drawn table of cells with fixed (heading) rows and columns
// at the top and left, scrolling, selection, sizing by mouse and an
// in-place cell editor.
//
// - TCustomGrid: geometry, painting of the visible cells, keyboard and
//   mouse navigation, scroll bars drawn by the grid itself, the in-place
//   editor. Derived grids draw cells through DrawCell and supply cell text
//   for the editor through GetEditText/SetEditText.
// - TCustomDrawGrid/TDrawGrid: the same with events for drawing, selecting
//   and editing.
// - TStringGrid: a draw grid that keeps a text per cell.
// - TInplaceEdit/TInplaceEditList: the cell editor, the latter with an
//   ellipsis button or a pick list below the cell.
//
// Keys: a grid that can edit its cells (goEditing without goRowSelect)
// keeps Return for itself: Return opens the editor, and in the editor it
// stores the text. Return then never also presses the form's default
// button; a grid that does not edit leaves Return (and always Escape,
// unless its editor is open) to the form.
//
// Cells are numbered from 0; columns 0..FixedCols-1 and rows
// 0..FixedRows-1 are fixed and never scroll. Every cell is followed by a
// grid line GridLineWidth pixels wide (to its right and below it) when
// lines of that direction are on.
//
// A column of width 0 or a row of height 0 is hidden: it takes no pixels,
// not even its grid line, and scrolling by keys, wheel and scroll bar
// passes over it (TopRow and LeftCol always name a shown row and column
// when there is one). Widths and heights are kept as a default plus the
// exceptions (gridaxis.h), so a grid of a million rows costs memory for
// the rows that differ only, and mapping between pixels and cells costs
// O(log n): painting and hit-testing follow what is visible.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "vorn/platform/controls/controls.h"
#include "vorn/platform/controls/scrollbars.h"
#include "vorn/platform/grids/gridaxis.h"
#include "vorn/platform/stdctrls/edit.h"

namespace vorn {

enum TGridOption : std::uint8_t {
  goFixedVertLine,
  goFixedHorzLine,
  goVertLine,
  goHorzLine,
  goRangeSelect,
  goDrawFocusSelected,
  goRowSizing,
  goColSizing,
  goRowMoving,
  goColMoving,
  goEditing,
  goTabs,
  goRowSelect,
  goAlwaysShowEditor,
  goThumbTracking
};
using TGridOptions = TSet<TGridOption>;

enum TGridDrawStateItem : std::uint8_t { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateItem>;

// A cell: X is the column, Y the row.
struct TGridCoord {
  int X = 0;
  int Y = 0;
  constexpr bool operator==(const TGridCoord&) const = default;
};

// A block of cells, both corners included.
struct TGridRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  constexpr bool operator==(const TGridRect&) const = default;
  [[nodiscard]] constexpr bool Contains(int ACol, int ARow) const {
    return ACol >= Left && ACol <= Right && ARow >= Top && ARow <= Bottom;
  }
};

enum TEditStyle : std::uint8_t { esSimple, esEllipsis, esPickList };

class TCustomGrid;

using TDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, const TRect& Rect,
                                          TGridDrawState State)>;
using TSelectCellEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TGetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value)>;
using TSetEditEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, const std::string& Value)>;
using TMovedEvent = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;
using TOnGetPickListItems = std::function<void(int ACol, int ARow, std::vector<std::string>& Items)>;

// ---- the in-place editor ------------------------------------------------------------------

// A borderless edit placed over the current cell. It hands navigation
// keys (Up, Down, PageUp, PageDown, Tab, and Left/Right at the ends of its
// text) and typed characters to the grid first; Escape discards the typed
// text.
class TInplaceEdit : public TCustomEdit {
 public:
  explicit TInplaceEdit(TComponent* AOwner);

  [[nodiscard]] TCustomGrid* Grid() const { return FGrid; }
  // The grid cell being edited.
  [[nodiscard]] int EditCol() const { return FCol; }
  [[nodiscard]] int EditRow() const { return FRow; }

  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;

 protected:
  friend class TCustomGrid;
  // Places the editor over a cell and loads its text.
  virtual void Attach(TCustomGrid* AGrid, int ACol, int ARow, const TRect& CellBounds);
  // Called before the editor hides; list editors close their list.
  virtual void BeforeHide() {}
  void WMGetDlgCode(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  // The part of the cell the text uses (list editors keep a button).
  [[nodiscard]] virtual int ButtonWidth() const { return 0; }

 private:
  [[nodiscard]] bool CaretAtStart() const;
  [[nodiscard]] bool CaretAtEnd() const;

  TCustomGrid* FGrid = nullptr;
  int FCol = 0;
  int FRow = 0;
};

class TPickListBox;
class TDropDownWindow;

// The editor with a button at the right of the cell: an ellipsis button
// that raises OnEditButtonClick, or a pick list that drops down (Alt+Down
// or F4 or a click on the button; Up/Down pick, Enter takes, Escape
// closes). The list lies on the form above all controls, below the cell,
// or above it when only there all its rows fit; it stays within the form.
class TInplaceEditList : public TInplaceEdit {
 public:
  explicit TInplaceEditList(TComponent* AOwner);
  ~TInplaceEditList() override;

  [[nodiscard]] TEditStyle EditStyle() const { return FEditStyle; }
  void SetEditStyle(TEditStyle Value);
  [[nodiscard]] int DropDownRows() const { return FDropDownRows; }
  void SetDropDownRows(int Value) { FDropDownRows = Value < 1 ? 1 : Value; }
  [[nodiscard]] const TOnGetPickListItems& OnGetPickListItems() const { return FOnGetPickListItems; }
  void SetOnGetPickListItems(TOnGetPickListItems E) { FOnGetPickListItems = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnEditButtonClick() const { return FOnEditButtonClick; }
  void SetOnEditButtonClick(TNotifyEvent E) { FOnEditButtonClick = std::move(E); }

  [[nodiscard]] bool ListVisible() const;
  [[nodiscard]] const std::vector<std::string>& PickItems() const { return FItems; }
  void DropDown();
  void CloseUp(bool Accept);

  void Paint() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 protected:
  void BeforeHide() override { CloseUp(false); }
  [[nodiscard]] int ButtonWidth() const override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TPickListBox;
  void PickItem(int Index);
  [[nodiscard]] TRect ButtonRect() const;

  TEditStyle FEditStyle = esSimple;
  int FDropDownRows = 7;
  std::vector<std::string> FItems;
  TDropDownWindow* FWindow = nullptr;  // the pick list's own window, owned
  TPickListBox* FList = nullptr;       // on FWindow
  TOnGetPickListItems FOnGetPickListItems;
  TNotifyEvent FOnEditButtonClick;
  bool FSwallowChar = false;  // the key that closed the list also sends a character
};

// ---- the grid ------------------------------------------------------------------------------

class TCustomGrid : public TCustomControl {
 public:
  explicit TCustomGrid(TComponent* AOwner);
  ~TCustomGrid() override;

  // ---- dimensions --------------------------------------------------------------------
  [[nodiscard]] int ColCount() const { return FColCount; }
  void SetColCount(int Value);
  [[nodiscard]] int RowCount() const { return FRowCount; }
  void SetRowCount(int Value);
  [[nodiscard]] int FixedCols() const { return FFixedCols; }
  void SetFixedCols(int Value);
  [[nodiscard]] int FixedRows() const { return FFixedRows; }
  void SetFixedRows(int Value);
  [[nodiscard]] int DefaultColWidth() const { return FDefaultColWidth; }
  // Sets every column to the new width.
  void SetDefaultColWidth(int Value);
  [[nodiscard]] int DefaultRowHeight() const { return FDefaultRowHeight; }
  // Sets every row to the new height.
  void SetDefaultRowHeight(int Value);
  // Width of a column; 0 outside the columns. Writes outside are ignored.
  [[nodiscard]] int ColWidths(int Index) const;
  void SetColWidths(int Index, int Value);
  [[nodiscard]] int RowHeights(int Index) const;
  void SetRowHeights(int Index, int Value);
  [[nodiscard]] int GridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(int Value);
  // Bytes the grid keeps for its width and height exceptions.
  [[nodiscard]] std::size_t SizeStorageBytes() const { return FCols.MemoryBytes() + FRows.MemoryBytes(); }

  // ---- look and behaviour ---------------------------------------------------------------
  [[nodiscard]] TGridOptions Options() const { return FOptions; }
  void SetOptions(TGridOptions Value);
  [[nodiscard]] TColor FixedColor() const { return FFixedColor; }
  void SetFixedColor(TColor Value);
  [[nodiscard]] TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  // With default drawing the grid fills cell backgrounds (selection
  // highlighted), draws the focus rectangle and the fixed-cell bevels;
  // without it DrawCell draws everything inside the cells.
  [[nodiscard]] bool DefaultDrawing() const { return FDefaultDrawing; }
  void SetDefaultDrawing(bool Value);
  // The grid always paints into the host's off-screen surface, which is
  // copied to the screen in one step; the flag is kept for callers that set
  // and read it (a component on the grid may keep a painting of its own
  // while it is set, as the month calendar does).
  [[nodiscard]] bool DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }

  // ---- current cell and selection ----------------------------------------------------------
  [[nodiscard]] int Col() const { return FCurrent.X; }
  void SetCol(int Value) { FocusCell(Value, FCurrent.Y, true); }
  [[nodiscard]] int Row() const { return FCurrent.Y; }
  void SetRow(int Value) { FocusCell(FCurrent.X, Value, true); }
  // Moves the current cell (when SelectCell agrees) and scrolls it into
  // view; MoveAnchor false extends the selection from the anchor.
  void FocusCell(int ACol, int ARow, bool MoveAnchor);
  // The selected block; with goRowSelect it spans all non-fixed columns.
  [[nodiscard]] TGridRect Selection() const;
  // Sets the current cell to the block's top left and the anchor to its
  // bottom right, without asking SelectCell. The block is clipped to the
  // non-fixed cells.
  void SetSelection(const TGridRect& Value);

  // ---- scrolling -----------------------------------------------------------------------------
  [[nodiscard]] int TopRow() const { return FTopLeft.Y; }
  void SetTopRow(int Value) { MoveTopLeft(FTopLeft.X, Value); }
  [[nodiscard]] int LeftCol() const { return FTopLeft.X; }
  void SetLeftCol(int Value) { MoveTopLeft(Value, FTopLeft.Y); }
  // Shown non-fixed rows (columns) fully visible from TopRow (LeftCol) on.
  [[nodiscard]] int VisibleRowCount() const;
  [[nodiscard]] int VisibleColCount() const;

  // ---- geometry (client coordinates) ---------------------------------------------------------
  // The cell's rectangle without its grid lines; empty when the cell is
  // scrolled out of view or does not exist.
  [[nodiscard]] TRect CellRect(int ACol, int ARow) const;
  // The cell under a point; a coordinate is -1 where the point lies
  // outside the shown columns (rows).
  [[nodiscard]] TGridCoord MouseCoord(int X, int Y) const;
  void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
  // Right (bottom) edge of the last shown column (row) with its line,
  // within the area left of (above) the scroll bars.
  [[nodiscard]] int GridWidth() const;
  [[nodiscard]] int GridHeight() const;
  // Whether the grid shows its vertical (horizontal) scroll bar.
  [[nodiscard]] bool VertScrollBarVisible() const { return FVertBar; }
  [[nodiscard]] bool HorzScrollBarVisible() const { return FHorzBar; }
  static constexpr int ScrollBarSize = vorn::ScrollBarSize;

  // ---- editing ----------------------------------------------------------------------------------
  [[nodiscard]] bool EditorMode() const { return FEditorMode; }
  void SetEditorMode(bool Value);
  [[nodiscard]] TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }
  // Opens the editor on the current cell (with goEditing, on a non-fixed cell).
  void ShowEditor();
  // Takes the editor's text into the cell (SetEditText) and hides it.
  void HideEditor();
  // Hides the editor and drops what was typed.
  void CancelEditor();

  // ---- repainting -----------------------------------------------------------------------------
  void InvalidateCell(int ACol, int ARow);
  void InvalidateRow(int ARow);
  void InvalidateCol(int ACol);
  void InvalidateGrid() { Invalidate(); }

  // ---- moving columns and rows (with goColMoving/goRowMoving also by mouse) --------------
  void MoveColumn(int FromIndex, int ToIndex);
  void MoveRow(int FromIndex, int ToIndex);

  // ---- control hooks ------------------------------------------------------------------------
  void Paint() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // Each wheel notch moves the current row by WheelScrollLines rows.
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  // The current cell's bottom left corner.
  [[nodiscard]] TPoint KeyboardPopupPoint() const override;

 protected:
  friend class TInplaceEdit;
  // Draws one cell; called for the visible cells only, with the canvas
  // clipped to the cell area (scroll bars excluded).
  virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
  // Whether the cells as painted (the grid's own drawing, DrawCell and
  // what the control's Paint adds) cover their rectangles whole; then the
  // background is filled only where neither cells nor grid lines lie.
  // True with default drawing, which fills every cell.
  [[nodiscard]] virtual bool CellsCoverThemselves() const { return FDefaultDrawing; }
  // Whether the current cell may move to (ACol, ARow).
  virtual bool SelectCell(int ACol, int ARow);
  virtual void TopLeftChanged();
  virtual void SizeChanged(int OldColCount, int OldRowCount);
  virtual void ColumnMoved(int FromIndex, int ToIndex);
  virtual void RowMoved(int FromIndex, int ToIndex);
  virtual void ColWidthsChanged();
  virtual void RowHeightsChanged();
  // Text the editor starts with, and where its accepted text goes.
  virtual std::string GetEditText(int ACol, int ARow);
  virtual void SetEditText(int ACol, int ARow, const std::string& Value);
  virtual TEditStyle GetEditStyle(int ACol, int ARow);
  // Creates the in-place editor (a list editor by default).
  virtual TInplaceEdit* CreateEditor();
  // Whether the editor may open now.
  virtual bool CanEditShow();
  void WMGetDlgCode(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  // Many row heights at once: reset every row to the default height (or,
  // with HiddenByDefault, to 0, when most rows will be hidden: then the
  // shown rows are the ones stored) and store without relayout (ascending
  // indices are cheapest), then RowSizesStored once. Rows added later take
  // the reset height until their owner stores theirs.
  void ResetRowHeightsQuiet(bool HiddenByDefault = false) {
    FRows.SetDefaultSize(HiddenByDefault ? 0 : FDefaultRowHeight);
  }
  void StoreRowHeight(int Index, int Value) { FRows.SetSize(Index, Value); }
  void RowSizesStored();

 private:
  enum class TGridState : std::uint8_t { Normal, Selecting, ColSizing, RowSizing, ColMoving, RowMoving, ScrollVert, ScrollHorz };
  using TBarPart = TScrollBarPart;

  // Layout.
  [[nodiscard]] int HorzLineWidth() const;
  [[nodiscard]] int VertLineWidth() const;
  [[nodiscard]] int ClientAreaWidth() const;
  [[nodiscard]] int ClientAreaHeight() const;
  [[nodiscard]] int FixedWidth() const;
  [[nodiscard]] int FixedHeight() const;
  [[nodiscard]] int MaxLeftCol() const;
  [[nodiscard]] int MaxTopRow() const;
  [[nodiscard]] bool ColsFitIn(int Width) const;
  [[nodiscard]] bool RowsFitIn(int Height) const;
  [[nodiscard]] int ColX(int ACol) const;  // left edge, or -1 when not shown
  [[nodiscard]] int RowY(int ARow) const;
  [[nodiscard]] int CoordOfX(int X) const;
  [[nodiscard]] int CoordOfY(int Y) const;
  void UpdateLayout();
  // UpdateLayout and a repaint; stops when a handler deleted the grid.
  void Relayout();
  void SyncLineWidths();
  void MoveTopLeft(int ALeft, int ATop);
  // The row the next (previous) page starts with when scrolling by pages.
  [[nodiscard]] int PageDownRow() const;
  [[nodiscard]] int PageUpRow() const;
  // The row Count shown rows below (above, when negative) ARow, stopping
  // at the first and last shown row.
  [[nodiscard]] int StepShownRows(int ARow, int Count) const;
  // Wanted, moved to a shown column and row in the direction it lies from
  // the current cell.
  [[nodiscard]] TGridCoord ShownCell(TGridCoord Wanted) const;
  void ClampCurrent();
  void ScrollIntoView(int ACol, int ARow);

  // Painting.
  // False when an OnDrawCell deleted the grid: painting stops there.
  bool PaintCells(TCanvas& C, const TRect& Clip);
  bool PaintOneCell(TCanvas& C, int ACol, int ARow, const TRect& R);
  void PaintLines(TCanvas& C);
  // The background colour in the part of Clip that neither the cells nor
  // the grid lines paint.
  void PaintBackdrop(TCanvas& C, const TRect& Clip);
  void PaintScrollBars(TCanvas& C);
  [[nodiscard]] TGridDrawState CellState(int ACol, int ARow) const;

  // Input.
  void MoveCurrent(int ACol, int ARow, bool MoveAnchor);
  void NavigateKey(Word Key, TShiftState Shift);
  void TabKey(bool Forward);
  [[nodiscard]] int SizingColAt(int X, int Y) const;
  [[nodiscard]] int SizingRowAt(int X, int Y) const;
  void StartSelecting(TGridCoord Cell, TShiftState Shift);
  [[nodiscard]] TRect VertBarRect() const;
  [[nodiscard]] TRect HorzBarRect() const;
  // The bar's geometry and position, for painting, hit testing and dragging.
  [[nodiscard]] TScrollBarState BarState(bool Vertical) const;
  void ScrollByBar(bool Vertical, TBarPart Part);
  void DragThumb(bool Vertical, TPoint P, bool Apply);
  void PlaceEditor();

  int FColCount = 5;
  int FRowCount = 5;
  int FFixedCols = 1;
  int FFixedRows = 1;
  int FDefaultColWidth = 64;
  int FDefaultRowHeight = 24;
  TGridAxis FCols;  // widths: the default plus exceptions, indexed
  TGridAxis FRows;  // heights, likewise
  int FGridLineWidth = 1;
  TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
  TColor FFixedColor = clBtnFace;
  TScrollStyle FScrollBars = ssBoth;
  bool FDefaultDrawing = true;
  bool FDoubleBuffered = false;
  TGridCoord FCurrent{1, 1};
  TGridCoord FAnchor{1, 1};
  TGridCoord FTopLeft{1, 1};
  bool FVertBar = false;
  bool FHorzBar = false;

  TGridState FState = TGridState::Normal;
  int FSizingIndex = -1;
  int FSizingOrigin = 0;
  int FSizingStart = 0;
  int FMoveFrom = -1;
  TPoint FThumbGrab{0, 0};
  int FThumbValue = 0;
  bool FClickedCurrent = false;

  TInplaceEdit* FInplaceEdit = nullptr;
  bool FEditorMode = false;
  bool FClosingEditor = false;  // the editor hands the focus back to the grid
  std::string FEditOriginal;
};

// ---- the draw grid --------------------------------------------------------------------------

class TCustomDrawGrid : public TCustomGrid {
 public:
  explicit TCustomDrawGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}

  [[nodiscard]] const TDrawCellEvent& OnDrawCell() const { return FOnDrawCell; }
  void SetOnDrawCell(TDrawCellEvent E) { FOnDrawCell = std::move(E); }
  [[nodiscard]] const TSelectCellEvent& OnSelectCell() const { return FOnSelectCell; }
  void SetOnSelectCell(TSelectCellEvent E) { FOnSelectCell = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnTopLeftChanged() const { return FOnTopLeftChanged; }
  void SetOnTopLeftChanged(TNotifyEvent E) { FOnTopLeftChanged = std::move(E); }
  [[nodiscard]] const TGetEditEvent& OnGetEditText() const { return FOnGetEditText; }
  void SetOnGetEditText(TGetEditEvent E) { FOnGetEditText = std::move(E); }
  [[nodiscard]] const TSetEditEvent& OnSetEditText() const { return FOnSetEditText; }
  void SetOnSetEditText(TSetEditEvent E) { FOnSetEditText = std::move(E); }
  [[nodiscard]] const TMovedEvent& OnColumnMoved() const { return FOnColumnMoved; }
  void SetOnColumnMoved(TMovedEvent E) { FOnColumnMoved = std::move(E); }
  [[nodiscard]] const TMovedEvent& OnRowMoved() const { return FOnRowMoved; }
  void SetOnRowMoved(TMovedEvent E) { FOnRowMoved = std::move(E); }

 protected:
  // Fires OnDrawCell.
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  // Asks OnSelectCell.
  bool SelectCell(int ACol, int ARow) override;
  void TopLeftChanged() override;
  void ColumnMoved(int FromIndex, int ToIndex) override;
  void RowMoved(int FromIndex, int ToIndex) override;
  // Empty text, changed by OnGetEditText.
  std::string GetEditText(int ACol, int ARow) override;
  // Fires OnSetEditText.
  void SetEditText(int ACol, int ARow, const std::string& Value) override;

 private:
  TDrawCellEvent FOnDrawCell;
  TSelectCellEvent FOnSelectCell;
  TNotifyEvent FOnTopLeftChanged;
  TGetEditEvent FOnGetEditText;
  TSetEditEvent FOnSetEditText;
  TMovedEvent FOnColumnMoved, FOnRowMoved;
};

class TDrawGrid : public TCustomDrawGrid {
 public:
  explicit TDrawGrid(TComponent* AOwner) : TCustomDrawGrid(AOwner) {}
};

// ---- the string grid ------------------------------------------------------------------------

// A text per cell, drawn 2 pixels in from the cell's left and top edge.
// Cells outside the grid read empty and ignore writes; cells that fall
// outside when the grid shrinks are dropped.
class TStringGrid : public TCustomDrawGrid {
 public:
  explicit TStringGrid(TComponent* AOwner) : TCustomDrawGrid(AOwner) {}

  [[nodiscard]] std::string Cells(int ACol, int ARow) const;
  void SetCells(int ACol, int ARow, const std::string& Value);
  // The texts of one row (column), ColCount (RowCount) of them.
  [[nodiscard]] std::vector<std::string> Rows(int ARow) const;
  void SetRows(int ARow, const std::vector<std::string>& Values);
  [[nodiscard]] std::vector<std::string> Cols(int ACol) const;
  void SetCols(int ACol, const std::vector<std::string>& Values);

 protected:
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  std::string GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const std::string& Value) override;
  void SizeChanged(int OldColCount, int OldRowCount) override;
  void ColumnMoved(int FromIndex, int ToIndex) override;
  void RowMoved(int FromIndex, int ToIndex) override;

 private:
  using TKey = std::pair<int, int>;  // row, column
  void Remap(const std::function<TKey(TKey)>& Map);
  std::map<TKey, std::string> FCells;
};

}  // namespace vorn
