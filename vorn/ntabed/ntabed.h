// TNTabEd: a grid that shows and edits a TDataTable.
//
// Coordinates. Table columns and rows are numbered from 1. The grid adds
// a fixed column of row names (grid column 0), optionally a fixed column
// of row attributes (grid column 1, FColOffset = 1), a fixed row of
// column names (grid row 0) and optionally a fixed row of column
// attributes (grid row 1, FRowOffset = 1). Data column c is grid column
// c + FColOffset, data row r grid row r + FRowOffset. Every public
// operation takes table numbers except the grid's own (Selection,
// CellRect, MouseCoord, RowHeights), which take grid numbers.
//
// Cell state byte: $01 no valid number (shown "-nan-"), $02 empty (shown
// blank), $40 mark A, $80 mark B. Operations that change some bits keep
// the others.
//
// Notifications. ChangedData (OnChange) for values, ChangedSetup
// (OnChangeSetup) for size and structure, ChangedHeading, ChangedAttrib,
// ChangedCellStates, ChangedLayout and ChangedSelection for their kinds;
// each fires only while neither SuppressPaint nor the editor's own bulk
// suppression is on. Bulk operations (marking, filling, pasting,
// resizing) run suppressed, repaint once at their end and then notify
// once. Code-driven changes fire the same events as the user's.
//
// The table. The editor owns its table unless AssignAnotherDataMatrix
// bound one that someone else owns; either way it routes the table's
// value, setup, resize, progress and sort-exchange reports to itself
// (ntabed.cpp). A bound table that is destroyed while bound is replaced
// by a fresh table of the editor's own.
//
// Units: ntabed.cpp (binding, cell model, sizes, notifications, sorting),
// ntabed_paint.cpp (number display, cell drawing, automatic sizes),
// ntabed_input.cpp (cell editing, keys, mouse), ntabed_clip.cpp (copy,
// paste and reading numbers from clipboard text), ntabed_popup.cpp (the
// data and heading popup menus with their commands, the heading and
// comment editors).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "vorn/foundation/basics.h"
#include "vorn/foundation/datatable.h"
#include "vorn/platform/grids/grids.h"

namespace vorn {

class TPopupMenu;
class TMenuItem;
class TEdit;
class TMemo;

class EVORNNTabedError : public EVORNError {
 public:
  using EVORNError::EVORNError;
};

using TBeforePopupEvent = std::function<void(TObject* Sender, TPopupMenu* PMenu)>;
using TBeforeRenderCellEvent =
    std::function<void(TObject* Sender, int colix, int rowix, std::string& Text, TColor& ColorText,
                       TColor& ColorBakg, TFontStyles& FontStyles)>;

// ---- number display -------------------------------------------------------------------

// The display text of a value with NumWidth W and D decimal places:
// fixed-point (padded to W) for D in 0..8 while the value lies in that
// precision's range, else the exponential form of width W + 6 (a blank or
// minus, one digit, point, mantissa digits, "E", sign and exponent), whose
// exponent is cut to two digits, or which turns into "*" throughout when
// the exponent needs three or more. Not-a-number shows "-nan-".
[[nodiscard]] std::string NTabNumText(double Value, int Width, int Decimals);

// ---- reading numbers from clipboard text ----------------------------------------------

// Reads one number at Pos of Text: "." and "," are decimal points, an
// exponent may follow. Leaves Pos on the character that ended the number
// and returns the value limited to +-uc_MaxDouble; a text that is no
// number gives 0 (Ok false).
double NTabScanNumber(std::string_view Text, std::size_t& Pos, bool& Ok);

// Reads a typed number: "," counts as ".", blanks around it are
// ignored, nothing else may stand beside it. False (Value unchanged) for
// anything else, also for values beyond the range of a double.
bool NTabReadTypedNumber(std::string_view Text, double& Value);

// What reading a block of numbers from text found: the numbers with their
// position (n-th number of line l, both from 0).
struct TNTabClipCell {
  int Col;
  int Line;
  double Value;
};
// Walks Text as clipboard text of numbers (blanks, tabs and carriage
// returns separate numbers, line feeds lines) and calls Store for every
// number read. Returns the number of numbers read.
std::int64_t NTabScanClipText(std::string_view Text, const std::function<void(const TNTabClipCell&)>& Store);
// The block size of clipboard text: the most numbers on a line ended by a
// line feed or by the end of the text, and the number of such lines with
// numbers. False (1 x 1) when the text holds no number.
bool NTabClipMatrixSize(std::string_view Text, int& NCols, int& NRows);

// ---- the editor ----------------------------------------------------------------------------

class TNTabEd : public TCustomGrid {
 public:
  explicit TNTabEd(TComponent* AOwner);
  ~TNTabEd() override;

  // The table shown.
  [[nodiscard]] TDataTable* Data() const { return FData; }

  // ---- size ------------------------------------------------------------------------------
  [[nodiscard]] int NrOfColumns() const { return FData->NrOfColumns(); }
  void SetNrOfColumns(int Value);
  [[nodiscard]] int NrOfRows() const { return FData->NrOfRows(); }
  void SetNrOfRows(int Value);
  // Both at once; sizes below 1 become 1. Raises EVORNError (table and
  // grid keep their size) when the table cannot be had.
  void Redimension(int NrCols, int NrRows);
  void InsertRow(int ix);
  void InsertColumn(int ix);
  void RemoveRow(int ix);
  void RemoveColumn(int ix);
  void MirrorRows();
  void MirrorColumns();
  // Clears the table; names become "C-c" and "R-r", decimal places 3.
  void Clear();

  // ---- cells -------------------------------------------------------------------------------
  [[nodiscard]] double Elem(int ACol, int ARow) const { return FData->GetElem(ACol, ARow); }
  void SetElem(int ACol, int ARow, double Value);
  [[nodiscard]] std::uint8_t CellState(int ACol, int ARow) const { return FData->GetCellState(ACol, ARow); }
  // Stores the byte as it is, repaints and fires ChangedCellStates.
  void SetCellState(int ACol, int ARow, std::uint8_t Value);
  [[nodiscard]] bool ElemMarkedA(int ACol, int ARow) const { return (CellState(ACol, ARow) & dtsMarkA) != 0; }
  void SetElemMarkedA(int ACol, int ARow, bool Value);
  [[nodiscard]] bool ElemMarkedB(int ACol, int ARow) const { return (CellState(ACol, ARow) & dtsMarkB) != 0; }
  void SetElemMarkedB(int ACol, int ARow, bool Value);
  [[nodiscard]] bool IsEmpty(int ACol, int ARow) const { return (CellState(ACol, ARow) & dtsEmpty) != 0; }
  void SetIsEmpty(int ACol, int ARow, bool Value);
  [[nodiscard]] bool IsNumber(int ACol, int ARow) const { return FData->GetIsNumber(ACol, ARow); }

  void Fill(double Value);
  int FillMarkedCells(double Value, std::uint8_t Statemask);
  void InvertCellStates(std::uint8_t StateMask);
  void ExchangeMarkings();
  void MarkAllElemsA();
  void MarkAllElemsB();
  void UnMarkAllElems();
  [[nodiscard]] int NrOfMarkedDataA() const { return CountStates(dtsMarkA); }
  [[nodiscard]] int NrOfMarkedDataB() const { return CountStates(dtsMarkB); }
  [[nodiscard]] bool IfRowMarked(int row) const;
  [[nodiscard]] bool IfColumnMarked(int col) const;
  [[nodiscard]] bool IfAnyMarked() const;

  // ---- names, attributes, precision --------------------------------------------------------
  [[nodiscard]] std::uint8_t RowAttrib(int RowNr) const { return FData->GetRowAttrib(RowNr); }
  void SetRowAttrib(int RowNr, std::uint8_t Value);
  [[nodiscard]] std::uint8_t ColAttrib(int ColNr) const { return FData->GetColAttrib(ColNr); }
  void SetColAttrib(int ColNr, std::uint8_t Value);
  [[nodiscard]] TDTNameStr ColName(int ColNr) const { return FData->GetColName(ColNr); }
  void SetColName(int ColNr, std::string_view Value);
  [[nodiscard]] TDTNameStr RowName(int RowNr) const { return FData->GetRowName(RowNr); }
  void SetRowName(int RowNr, std::string_view Value);
  // Decimal places of a column, -1..10 (0 outside the table).
  [[nodiscard]] int Precision(int ColNr) const;
  void SetPrecision(int ColNr, int Value);
  [[nodiscard]] std::string Comment() const { return FData->Comment(); }
  void SetComment(std::string_view Value);

  // ---- widths and scrolling (table numbering) ---------------------------------------------
  // Index > 0 a data column, 0 the row-name column, < 0 the row-attribute
  // column (0 and no writes while hidden).
  [[nodiscard]] int ColWidths(int Index) const;
  void SetColWidths(int Index, int Value);
  void SetDefaultColWidth(int Value);
  [[nodiscard]] int LeftCol() const { return TCustomGrid::LeftCol() - FColOffset; }
  void SetLeftCol(int Value);
  [[nodiscard]] int TopRow() const { return TCustomGrid::TopRow() - FRowOffset; }
  void SetTopRow(int Value);
  [[nodiscard]] int ColOffset() const { return FColOffset; }
  [[nodiscard]] int RowOffset() const { return FRowOffset; }

  // ---- properties --------------------------------------------------------------------------
  [[nodiscard]] bool AutoAdvance() const { return FAutoAdvance; }
  void SetAutoAdvance(bool Value) { FAutoAdvance = Value; }
  [[nodiscard]] TOrientation AutoAdvanceDir() const { return FAutoAdvDir; }
  void SetAutoAdvanceDir(TOrientation Value) { FAutoAdvDir = Value; }
  [[nodiscard]] bool AttribRowVisible() const { return FColOffset == 1; }
  void SetAttribRowVisible(bool Value);
  [[nodiscard]] bool AttribColVisible() const { return FRowOffset == 1; }
  void SetAttribColVisible(bool Value);
  [[nodiscard]] bool BlockInternalPopup() const { return FBlockIntPopup; }
  void SetBlockInternalPopup(bool Value) { FBlockIntPopup = Value; }
  [[nodiscard]] bool CommentEditingAllowed() const { return FCommEdAllowed; }
  void SetCommentEditingAllowed(bool Value) { FCommEdAllowed = Value; }
  [[nodiscard]] TColor ColorBackground() const { return FColorBkgnd; }
  void SetColorBackground(TColor Value);
  [[nodiscard]] TColor ColorFixed() const { return FColorFixed; }
  void SetColorFixed(TColor Value);
  [[nodiscard]] TColor ColorNormal() const { return FColorNormal; }
  void SetColorNormal(TColor Value) { SetLayoutColor(FColorNormal, Value); }
  [[nodiscard]] TColor ColorSelected() const { return FColorSelected; }
  void SetColorSelected(TColor Value) { SetLayoutColor(FColorSelected, Value); }
  [[nodiscard]] TColor ColorMarkedA() const { return FColorMarked1; }
  void SetColorMarkedA(TColor Value) { SetLayoutColor(FColorMarked1, Value); }
  [[nodiscard]] TColor ColorMarkedB() const { return FColorMarked2; }
  void SetColorMarkedB(TColor Value) { SetLayoutColor(FColorMarked2, Value); }
  [[nodiscard]] TColor ColorMarkedBoth() const { return FColorMarkedBoth; }
  void SetColorMarkedBoth(TColor Value) { SetLayoutColor(FColorMarkedBoth, Value); }
  [[nodiscard]] TColor ColorRangeSelFG() const { return FColorRngSelFG; }
  void SetColorRangeSelFG(TColor Value) { SetLayoutColor(FColorRngSelFG, Value); }
  [[nodiscard]] TColor ColorRangeSelBG() const { return FColorRngSelBG; }
  void SetColorRangeSelBG(TColor Value) { SetLayoutColor(FColorRngSelBG, Value); }
  [[nodiscard]] bool BoldMarks() const { return FBoldMarks; }
  void SetBoldMarks(bool Value);
  [[nodiscard]] bool BoldSelHeads() const { return FBoldSelHeads; }
  void SetBoldSelHeads(bool Value);
  [[nodiscard]] bool ClipboardUseFullPrec() const { return FClipUseFullPrec; }
  void SetClipboardUseFullPrec(bool Value) { FClipUseFullPrec = Value; }
  [[nodiscard]] int NomEditDropDownCount() const { return FDropdownCount; }
  void SetNomEditDropDownCount(int Value);
  [[nodiscard]] int NumWidth() const { return FNumWidth; }
  void SetNumWidth(int Value);
  [[nodiscard]] bool DataReadOnly() const { return FReadOnly; }
  void SetDataReadOnly(bool Value);
  [[nodiscard]] bool OptimizeRowHeight() const { return FOptRowHeight; }
  void SetOptimizeRowHeight(bool Value);
  [[nodiscard]] bool SuppressPaint() const { return FSuppressPaint; }
  void SetSuppressPaint(bool Value);
  [[nodiscard]] TPopupMenu* PopupD() const { return FPopupD; }
  [[nodiscard]] TPopupMenu* PopupH() const { return FPopupH; }
  // The grid cell under the last mouse-down: what the heading editor and
  // the popup commands work on.
  [[nodiscard]] TGridCoord PopupCell() const { return FPopupCell; }
  // Whether Paste has a block (set by Copy).
  [[nodiscard]] bool DataCopyAvailable() const { return FDataCopyAvail; }
  [[nodiscard]] bool HeadingEditorActive() const { return FNameEdActive; }
  [[nodiscard]] bool CommentEditorActive() const { return FCommentMMActive; }

  // ---- automatic sizes ----------------------------------------------------------------------
  int AutoColWidth(int ColNr, bool IncludeHeader, int Addon);
  int AutoRowHeight(int RowNr, int Addon);

  // ---- clipboard --------------------------------------------------------------------------------
  bool GetClipMatrixSize(int& NCols, int& NRows);
  void PopupMenuClickCopy(TObject* Sender);
  void PopupMenuClickPaste(TObject* Sender);
  void PopupMenuClickExtClip(TObject* Sender);

  // ---- popup menus ---------------------------------------------------------------------------
  // Bit k-1 enables item k of the data popup (12 items) or of the heading
  // popup (5 items). Writing a mask sets every item's Enabled state and
  // fires ChangedSetup.
  [[nodiscard]] int PopupDMask() const { return FPopupDMask; }
  void SetPopupDMask(int Value);
  [[nodiscard]] int PopupHMask() const { return FPopupHMask; }
  void SetPopupHMask(int Value);
  // Captions of the data items (1..12), the heading items (1..5) and the
  // four sub-items of the "Mark" and "Unmark" submenus (1..4; writing
  // changes both submenus of a kind, reading gives the first). Texts are
  // cut to 50 bytes; an index out of range reads as empty and writes
  // nothing.
  [[nodiscard]] TDTNameStr PopupDCaptions(int ix) const;
  void SetPopupDCaptions(int ix, std::string_view Value);
  [[nodiscard]] TDTNameStr PopupHCaptions(int ix) const;
  void SetPopupHCaptions(int ix, std::string_view Value);
  [[nodiscard]] TDTNameStr PopupMCaptions(int ix) const;
  void SetPopupMCaptions(int ix, std::string_view Value);
  [[nodiscard]] TDTNameStr PopupUCaptions(int ix) const;
  void SetPopupUCaptions(int ix, std::string_view Value);

  // The commands of the popup menus (Sender is ignored). Marking commands
  // work on the selection (Range), the columns or rows it spans, or the
  // whole table; heading commands on the popup cell.
  void PopupMenuClickMarkARange(TObject* Sender);
  void PopupMenuClickMarkAColumn(TObject* Sender);
  void PopupMenuClickMarkARow(TObject* Sender);
  void PopupMenuClickMarkAAll(TObject* Sender);
  void PopupMenuClickMarkBRange(TObject* Sender);
  void PopupMenuClickMarkBColumn(TObject* Sender);
  void PopupMenuClickMarkBRow(TObject* Sender);
  void PopupMenuClickMarkBAll(TObject* Sender);
  void PopupMenuClickUnMarkARange(TObject* Sender);
  void PopupMenuClickUnMarkAColumn(TObject* Sender);
  void PopupMenuClickUnMarkARow(TObject* Sender);
  void PopupMenuClickUnMarkAAll(TObject* Sender);
  void PopupMenuClickUnMarkBRange(TObject* Sender);
  void PopupMenuClickUnMarkBColumn(TObject* Sender);
  void PopupMenuClickUnMarkBRow(TObject* Sender);
  void PopupMenuClickUnMarkBAll(TObject* Sender);
  void PopupMenuClickUnMarkAll(TObject* Sender);
  void PopupMenuClickClear(TObject* Sender);
  void PopupMenuClickEdit(TObject* Sender);
  void PopupMenuClickSelAll(TObject* Sender);
  void PopupMenuClickEmptyCells(TObject* Sender);
  void PopupMenuClickChangeID(TObject* Sender);
  void PopupMenuClickPrecision(TObject* Sender);
  void PopupMenuClickSelectCol(TObject* Sender);
  void PopupMenuClickSelectRow(TObject* Sender);
  void PopupMenuClickInsertCol(TObject* Sender);
  void PopupMenuClickInsertRow(TObject* Sender);
  void PopupMenuClickDeleteCol(TObject* Sender);
  void PopupMenuClickDeleteRow(TObject* Sender);

  // The heading editor (over a name or attribute cell) and the comment
  // editor (over the top of the grid), for tests and pictures.
  [[nodiscard]] TEdit* HeadingEditor() const { return FNameEd; }
  [[nodiscard]] TMemo* CommentEditor() const { return FCommentMM; }

  // ---- sorting, finding, copying --------------------------------------------------------------
  // Stable sorts of the inclusive block LowCol..HighCol x LowRow..HighRow
  // (clipped to the table). SortRows orders rows by the values of column
  // SortColIx, SortCols columns by the values of row SortRowIx; cells
  // holding no number go last. With IncludeHeaders the names, attributes
  // and (for columns) decimal places move with their rows or columns.
  void SortRows(int SortColIx, bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow,
                bool IncludeHeaders);
  void SortCols(int SortRowIx, bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow,
                bool IncludeHeaders);
  // Rows (columns) of the block ordered by their attribute or name; the
  // key moves with its row (column), as do the other names and attributes.
  void SortRowAttributes(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow);
  void SortColAttributes(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow);
  void SortRowNames(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow);
  void SortRowNames(bool Ascending, bool IgnoreCase, int LowCol, int LowRow, int HighCol, int HighRow);
  void SortColNames(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow);
  void SortColNames(bool Ascending, bool IgnoreCase, int LowCol, int LowRow, int HighCol, int HighRow);
  // The first column (row) whose name equals the identifier without regard
  // to case; 0 when none does.
  [[nodiscard]] int FindColIndex(std::string_view ColID) const;
  [[nodiscard]] int FindRowIndex(std::string_view RowID) const;
  // Shows NewDTab, which the editor never frees; null is ignored.
  void AssignAnotherDataMatrix(TDataTable* NewDTab);
  // Values, states, names, attributes, scale types, comment and decimal
  // places of another editor's table; the size follows.
  void CopyContentsFrom(const TNTabEd* ExtTab);
  // The state bytes of another editor of the same size; false (nothing
  // changes) when the sizes differ.
  bool CopyCellStatesFrom(const TNTabEd* ExtTab);

  // ---- notifications -------------------------------------------------------------------------
  void ChangedData();
  void ChangedHeading();
  void ChangedAttrib();
  void ChangedLayout();
  void ChangedCellStates();
  void ChangedSelection();
  void ChangedSetup();

  // ---- events ----------------------------------------------------------------------------------
  [[nodiscard]] const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent E) { FOnChange = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnChangeSetup() const { return FOnChangeSetup; }
  void SetOnChangeSetup(TNotifyEvent E) { FOnChangeSetup = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnHeadingChanged() const { return FOnHeadingChanged; }
  void SetOnHeadingChanged(TNotifyEvent E) { FOnHeadingChanged = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnAttributeChanged() const { return FOnChangeAttrib; }
  void SetOnAttributeChanged(TNotifyEvent E) { FOnChangeAttrib = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnCellStateChanged() const { return FOnChangeCellSt; }
  void SetOnCellStateChanged(TNotifyEvent E) { FOnChangeCellSt = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnLayoutChanged() const { return FOnChangeLayout; }
  void SetOnLayoutChanged(TNotifyEvent E) { FOnChangeLayout = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnSelectionChanged() const { return FOnSelChanged; }
  void SetOnSelectionChanged(TNotifyEvent E) { FOnSelChanged = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnTopLeftChanged() const { return FOnTopLeftChanged; }
  void SetOnTopLeftChanged(TNotifyEvent E) { FOnTopLeftChanged = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnPaste() const { return FOnPaste; }
  void SetOnPaste(TNotifyEvent E) { FOnPaste = std::move(E); }
  [[nodiscard]] const TOnPercentDoneEvent& OnPercentDone() const { return FOnPercentDone; }
  void SetOnPercentDone(TOnPercentDoneEvent E) { FOnPercentDone = std::move(E); }
  [[nodiscard]] const TBeforePopupEvent& OnBeforePopup() const { return FOnBeforePopup; }
  void SetOnBeforePopup(TBeforePopupEvent E) { FOnBeforePopup = std::move(E); }
  [[nodiscard]] const TBeforeRenderCellEvent& OnBeforeRenderCell() const { return FOnBeforeRenderCell; }
  void SetOnBeforeRenderCell(TBeforeRenderCellEvent E) { FOnBeforeRenderCell = std::move(E); }
  [[nodiscard]] const TGetEditEvent& OnGetEditText() const { return FOnGetEditText; }
  void SetOnGetEditText(TGetEditEvent E) { FOnGetEditText = std::move(E); }
  [[nodiscard]] const TSetEditEvent& OnSetEditText() const { return FOnSetEditText; }
  void SetOnSetEditText(TSetEditEvent E) { FOnSetEditText = std::move(E); }

  // ---- control hooks ----------------------------------------------------------------------------
  void Paint() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  bool WheelScrolled(bool Result);

 protected:
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  void TopLeftChanged() override;
  std::string GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const std::string& Value) override;
  TEditStyle GetEditStyle(int ACol, int ARow) override;
  TInplaceEdit* CreateEditor() override;
  void WMGetDlgCode(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CMFontChanged(TMessage& Message) override;

  // Where the popup menus and the heading and comment editors plug in:
  // each does nothing while its menu or editor does not exist.
  void OpenDataPopup(int X, int Y);
  void OpenHeadingPopup();
  void OpenCommentEditor();
  void CloseCommentEditor(bool Store);
  void OpenHeadingEditor();
  void CloseHeadingEditor(bool Store);

  TPopupMenu* FPopupD = nullptr;
  TPopupMenu* FPopupH = nullptr;
  TEdit* FNameEd = nullptr;
  TMemo* FCommentMM = nullptr;
  int FPopupDMask = 0x7FFFFFFF;
  int FPopupHMask = 0x7FFFFFFF;

 private:
  // Scoped bulk suppression: painting and notifications are off for the
  // scope; the state before is restored (nothing else: repainting and
  // notifying come after the scope, outside any destructor).
  class TBulk {
   public:
    explicit TBulk(TNTabEd& Editor) : FEditor(Editor), FSaved(Editor.FInternSuppPaint), FSavedQuiet(Editor.FValueEventQuiet) {
      Editor.FInternSuppPaint = true;
      Editor.FValueEventQuiet = true;
    }
    ~TBulk() {
      FEditor.FInternSuppPaint = FSaved;
      FEditor.FValueEventQuiet = FSavedQuiet;
    }
    TBulk(const TBulk&) = delete;
    TBulk& operator=(const TBulk&) = delete;

   private:
    TNTabEd& FEditor;
    bool FSaved;
    bool FSavedQuiet;
  };

  // Binding.
  void BindTable(TDataTable* Table, bool External);
  void UnbindTable();
  void TableValueChanged();
  void TableSetupChanged();
  void TableResized(int OldCols, int OldRows, int NewCols, int NewRows);
  void TableSortExchange(int Kind, int Pos1, int Pos2);
  void SyncGridSize();
  [[nodiscard]] std::string ComponentMessage(const std::string& Reason) const;

  // Cells.
  void ChangeStateBit(int ACol, int ARow, std::uint8_t Bit, bool Set);
  template <typename F>
  void ForEachCell(F&& Change);
  [[nodiscard]] int CountStates(std::uint8_t Mask) const;
  void StatesChangedEverywhere();
  void Redraw();
  void SetLayoutColor(TColor& Field, TColor Value);
  void SortWith(bool Columns, const TDataTable::TIndexLess& Less, int LowCol, int LowRow, int HighCol,
                int HighRow, bool IncludeHeaders);

  // Drawing (ntabed_paint.cpp).
  [[nodiscard]] std::string DataCellText(int c, int r) const;
  [[nodiscard]] std::string EditCellText(int c, int r) const;
  void DrawDataCell(TCanvas& C, int c, int r, const TRect& R, TGridDrawState State);
  void DrawFixedCell(TCanvas& C, int ACol, int ARow, TRect R);
  void DrawCornerText(TCanvas& C, const TRect& R);
  [[nodiscard]] int DecimalsOf(int c) const;
  [[nodiscard]] bool IsNominalColumn(int c) const;

  // Popup menus and heading editors (ntabed_popup.cpp).
  void CreatePopupMenus();
  void CreateHeadingEditors();
  void DataPopupOpening();
  void PrepareHeadingPopup();
  [[nodiscard]] TMenuItem* DataItem(int ix) const;
  [[nodiscard]] TMenuItem* HeadingItem(int ix) const;
  [[nodiscard]] TMenuItem* SubItem(int Item, int ix) const;
  [[nodiscard]] bool PopupOverColumn() const { return FPopupCell.X > FColOffset; }
  [[nodiscard]] TGridRect TableSelection() const;
  void ChangeMarks(std::uint8_t Bit, bool Set, int Scope);
  void OutlinePopupCell();
  void SelectGridBlock(int Left, int Top, int Right, int Bottom);
  void StepPrecision();
  void NameEdKeyPress(char32_t& Key);
  void CommentKeyPress(char32_t& Key);

  // Input (ntabed_input.cpp).
  void TrackSelection();
  void RedrawCorner();
  void SyncEditingOption();
  void SetEditingOption(bool On);
  void PickListItems(int ACol, std::vector<std::string>& Items) const;

  TDataTable* FData = nullptr;
  bool FExtMatAssigned = false;
  bool FAutoAdvance = true;
  TOrientation FAutoAdvDir = orDown;
  TGridRect FOldSel{-1, -1, -1, -1};
  int FClassColWidth = 32;
  bool FOptRowHeight = false;
  int FColOffset = 1;
  int FRowOffset = 0;
  std::vector<std::int8_t> FDecP;
  bool FClipUseFullPrec = true;
  std::unique_ptr<TDataTable> FDataCopy;  // the block Copy took, for Paste
  bool FDataCopyAvail = false;
  int FNumWidth = 1;
  bool FSortIncludeHd = false;
  bool FSuppressPaint = false;
  bool FInternSuppPaint = true;
  bool FValueEventQuiet = false;  // the table's value reports are ignored
  bool FBlockIntPopup = false;
  bool FCommEdAllowed = true;
  bool FReadOnly = false;
  TColor FColorBkgnd = static_cast<TColor>(0xFF000005);
  TColor FColorFixed = static_cast<TColor>(0xFF00000F);
  TColor FColorNormal = static_cast<TColor>(0x002000);
  TColor FColorMarked1 = static_cast<TColor>(0x0000FF);
  TColor FColorMarked2 = static_cast<TColor>(0xFF0000);
  TColor FColorMarkedBoth = static_cast<TColor>(0xCC00BB);
  TColor FColorSelected = static_cast<TColor>(0x404040);
  TColor FColorRngSelFG = static_cast<TColor>(0x80552C);
  TColor FColorRngSelBG = static_cast<TColor>(0xF8E8E0);
  bool FBoldSelHeads = true;
  bool FBoldMarks = true;
  bool FNameEdActive = false;
  bool FCommentMMActive = false;
  int FDropdownCount = 8;
  std::vector<std::string> FColPickList;
  TGridCoord FPopupCell{-1, -1};
  TPoint FPrevClick{-1, -1};

  TNotifyEvent FOnChange;
  TBeforePopupEvent FOnBeforePopup;
  TNotifyEvent FOnHeadingChanged;
  TNotifyEvent FOnChangeAttrib;
  TNotifyEvent FOnChangeLayout;
  TNotifyEvent FOnChangeCellSt;
  TBeforeRenderCellEvent FOnBeforeRenderCell;
  TNotifyEvent FOnChangeSetup;
  TNotifyEvent FOnTopLeftChanged;
  TNotifyEvent FOnSelChanged;
  TNotifyEvent FOnPaste;
  TOnPercentDoneEvent FOnPercentDone;
  TGetEditEvent FOnGetEditText;
  TSetEditEvent FOnSetEditText;
};

}  // namespace vorn
