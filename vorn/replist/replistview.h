// TReportListView: a report grid over an owned TRLData.
//
// Coordinates. CountHeadRows header rows (the common header line when
// visible, then the column header row when visible) are the grid's fixed
// rows; grid row g below them shows table row g - FixedRows + 1, and the
// grid always keeps one data row, blank for an empty table. Grid column c
// shows table column ColumnOrder(c + 1) (the order table, identity after
// Clear and every change of NrOfColumns); the table's column 0 is never
// shown. Table rows and columns given to the view's properties are 1-based;
// writes outside the table are ignored and reads give false, 0 or "".
//
// Row and column state lives in the storage's attribute bytes, so it moves
// with the rows when they are sorted: row bit $80 selected, $40 disabled,
// $20 filtered out (hidden by FilterAndSort: the grid row gets height 0);
// column bit $80 selected.
//
// Notifications. Changes of the cells fire OnChange, changes of layout and
// appearance OnChangeSetup, changes of row or column selection and enabling
// OnSelectedChange; all three fire for changes made by code as well as by
// the user. The model's progress, before-exchange and HTML-export events
// reach the view's events with the view as Sender.
//
// Drawing (replistview_paint.cpp) follows the grid: only visible cells are
// drawn; banding counts grid rows (RowColPattern rows per band, the first
// band shaded); a disabled row ignores selection and highlight colours;
// a cell in a selected row and a selected column takes the "both" colours,
// a selected column beats a selected row, the highlighted row or column
// beats both.
//
// Filtering (FilterAndSort) hides the rows that do not match, keeping them
// in the table, then sorts. Its expression syntax is in replistfilter.h.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "vorn/platform/grids/grids.h"
#include "vorn/replist/replistfilter.h"
#include "vorn/replist/rldata.h"

namespace vorn {

class TForm;
class TSpeedButton;

using TCheckStateChangeEvent = std::function<void(TObject* Sender, bool& State, int Col, int Row)>;
using TRequestEditFormatEvent = std::function<void(TObject* Sender, int Col, int Row, std::string& Format)>;
using TBeforeFilterEvent =
    std::function<void(TObject* Sender, int Row, bool& Found, TLogicOp& CombineWithInternalSearch)>;
using TRenderCellEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, TColor& PenColor, TColor& BrushColor,
                       TColor& FontColor, TFontStyles& FontStyles, std::string& Text)>;

class TReportListView : public TCustomDrawGrid {
 public:
  static constexpr std::uint8_t RowSelectedBit = 0x80;
  static constexpr std::uint8_t RowDisabledBit = 0x40;
  static constexpr std::uint8_t RowFilteredBit = 0x20;
  static constexpr std::uint8_t ColSelectedBit = 0x80;

  explicit TReportListView(TComponent* AOwner);
  ~TReportListView() override;
  void Assign(const TPersistent* Source) override;

  [[nodiscard]] TRLData* Data() const { return FRLData.get(); }

  // ---- size and coordinates --------------------------------------------------------------
  [[nodiscard]] int NrOfColumns() const { return FRLData->NrOfColumns(); }
  void SetNrOfColumns(int Value);
  [[nodiscard]] int NrOfRows() const { return FRLData->NrOfRows(); }
  void SetNrOfRows(int Value);
  [[nodiscard]] int CountHeadRows() const { return (FComHdVis ? 1 : 0) + (FColHdVis ? 1 : 0); }
  // 1-based first shown column and row (see the file comment).
  [[nodiscard]] int LeftCol() const { return TCustomGrid::LeftCol() + 1; }
  void SetLeftCol(int Value);
  [[nodiscard]] int TopRow() const { return TCustomGrid::TopRow() - CountHeadRows() + 1; }
  void SetTopRow(int Value);
  // Table column shown in the ColNr-th grid column; 0 outside 1..NrOfColumns.
  [[nodiscard]] int ColumnOrder(int ColNr) const;
  // Exactly NrOfColumns table columns; invalid entries are skipped and make
  // the result false. Duplicates are not checked. No repaint.
  bool SetColumnOrder(const std::vector<int>& ColList);
  // Width of the grid column that ColumnOrder places table column Index in.
  [[nodiscard]] int ColWidths(int Index) const;
  void SetColWidths(int Index, int Value);

  // ---- texts ----------------------------------------------------------------------------
  [[nodiscard]] const std::string& CommonHeader() const { return FRLData->CommonHeader(); }
  void SetCommonHeader(const std::string& Value);
  [[nodiscard]] TAlignment CommonHeaderAlignment() const { return FHeaderAlignment; }
  void SetCommonHeaderAlignment(TAlignment Value);
  [[nodiscard]] const std::string& EmptyMessage() const { return FEmptyMsg; }
  void SetEmptyMessage(const std::string& Value);
  [[nodiscard]] const std::string& Comment() const { return FRLData->Comment(); }
  void SetComment(const std::string& Value) { Model()->SetComment(Value); }
  [[nodiscard]] const std::string& DataID() const { return FRLData->DataID(); }
  void SetDataID(const std::string& Value) { Model()->SetDataID(Value); }

  // ---- headers ---------------------------------------------------------------------------
  [[nodiscard]] bool CommonHeaderVisible() const { return FComHdVis; }
  void SetCommonHeaderVisible(bool Value);
  [[nodiscard]] int CommonHeaderHeight() const { return FComHdHgt; }
  void SetCommonHeaderHeight(int Value);
  [[nodiscard]] bool ColumnHeadersVisible() const { return FColHdVis; }
  void SetColumnHeadersVisible(bool Value);
  [[nodiscard]] int ColumnHeadersHeight() const { return FColHdHgt; }
  void SetColumnHeadersHeight(int Value);
  void SetDefaultColWidth(int Value);
  void SetDefaultRowHeight(int Value);

  // ---- colours (each change repaints and fires OnChangeSetup) ---------------------------
  [[nodiscard]] TColor ColorText() const { return FColorNormal; }
  void SetColorText(TColor Value) { SetSetupColor(FColorNormal, Value); }
  [[nodiscard]] TColor ColorBkgdNormal() const { return FRColorNormal; }
  void SetColorBkgdNormal(TColor Value) { SetSetupColor(FRColorNormal, Value); }
  [[nodiscard]] TColor ColorBkgdShaded() const { return FRColorShaded; }
  void SetColorBkgdShaded(TColor Value) { SetSetupColor(FRColorShaded, Value); }
  [[nodiscard]] TColor ColorHigh() const { return FHiLgtColor; }
  void SetColorHigh(TColor Value) { SetSetupColor(FHiLgtColor, Value); }
  [[nodiscard]] TColor ColorHighText() const { return FHiLgtTextColor; }
  void SetColorHighText(TColor Value) { SetSetupColor(FHiLgtTextColor, Value); }
  [[nodiscard]] TColor ColorSelectedRow() const { return FSelRowColor; }
  void SetColorSelectedRow(TColor Value) { SetSetupColor(FSelRowColor, Value); }
  [[nodiscard]] TColor ColorSelectedRowText() const { return FSelRowTextColor; }
  void SetColorSelectedRowText(TColor Value) { SetSetupColor(FSelRowTextColor, Value); }
  [[nodiscard]] TColor ColorSelectedCol() const { return FSelColColor; }
  void SetColorSelectedCol(TColor Value) { SetSetupColor(FSelColColor, Value); }
  [[nodiscard]] TColor ColorSelectedColText() const { return FSelColTextColor; }
  void SetColorSelectedColText(TColor Value) { SetSetupColor(FSelColTextColor, Value); }
  [[nodiscard]] TColor ColorSelectedBoth() const { return FSelBothColor; }
  void SetColorSelectedBoth(TColor Value) { SetSetupColor(FSelBothColor, Value); }
  [[nodiscard]] TColor ColorSelectedBothText() const { return FSelBothTextColor; }
  void SetColorSelectedBothText(TColor Value) { SetSetupColor(FSelBothTextColor, Value); }
  [[nodiscard]] TColor ColorDisabledBkgd() const { return FDisabledBkgdColor; }
  void SetColorDisabledBkgd(TColor Value) { SetSetupColor(FDisabledBkgdColor, Value); }
  [[nodiscard]] TColor ColorDisabledText() const { return FDisabledTextColor; }
  void SetColorDisabledText(TColor Value) { SetSetupColor(FDisabledTextColor, Value); }
  [[nodiscard]] TColor ColorColumnHd() const { return FColHdColor; }
  void SetColorColumnHd(TColor Value);
  [[nodiscard]] TColor ColorColumnHdText() const { return FColHdTxtColor; }
  void SetColorColumnHdText(TColor Value) { SetSetupColor(FColHdTxtColor, Value); }
  [[nodiscard]] TColor ColorCommonHd() const { return FComHdColor; }
  void SetColorCommonHd(TColor Value) { SetSetupColor(FComHdColor, Value); }
  [[nodiscard]] TColor ColorCommonHdText() const { return FComHdTxtColor; }
  void SetColorCommonHdText(TColor Value) { SetSetupColor(FComHdTxtColor, Value); }
  [[nodiscard]] TColor ColorEmptyMsg() const { return FColorEmptyMsg; }
  void SetColorEmptyMsg(TColor Value) { SetSetupColor(FColorEmptyMsg, Value); }
  [[nodiscard]] TColor InterRowIndicatorColor() const { return FInterRowColor; }
  void SetInterRowIndicatorColor(TColor Value) { SetSetupColor(FInterRowColor, Value); }
  [[nodiscard]] int InterRowIndicatorWidth() const { return FInterRowWidth; }
  void SetInterRowIndicatorWidth(int Value);
  [[nodiscard]] int InterRowIndicatorPos() const { return FInterRowIndi; }
  void SetInterRowIndicatorPos(int Value);

  // ---- look -------------------------------------------------------------------------------
  // The view's own flag and the control's, then a repaint.
  void SetEnabled(bool Value) override;
  [[nodiscard]] bool FixedFirstColumn() const { return FFixedColOne; }
  void SetFixedFirstColumn(bool Value);
  [[nodiscard]] int HighLightRow() const { return FHiLgtRow; }
  void SetHighLightRow(int Value);
  [[nodiscard]] int HighLightColumn() const { return FHiLgtColumn; }
  void SetHighLightColumn(int Value);
  [[nodiscard]] bool HighLightBold() const { return FHiLgtBold; }
  void SetHighLightBold(bool Value);
  [[nodiscard]] int RowColPattern() const { return FRowColPattern; }
  void SetRowColPattern(int Value);
  [[nodiscard]] bool ShowEmptyCheckBoxes() const { return FShowEmptyCBx; }
  void SetShowEmptyCheckBoxes(bool Value);
  [[nodiscard]] bool CheckMarksReadOnly() const { return FROCheckMarks; }
  void SetCheckMarksReadOnly(bool Value);
  [[nodiscard]] bool SuppressPaint() const { return FSuppressPaint; }
  void SetSuppressPaint(bool Value);

  // ---- behaviour ---------------------------------------------------------------------------
  [[nodiscard]] bool AutoAdvance() const { return FAutoAdvance; }
  void SetAutoAdvance(bool Value) { FAutoAdvance = Value; }
  [[nodiscard]] int RowSelectMode() const { return FRowSelectMode; }
  void SetRowSelectMode(int Value);
  [[nodiscard]] bool UseCtrlForMultiSel() const { return FCtrlForMultiSel; }
  void SetUseCtrlForMultiSel(bool Value) { FCtrlForMultiSel = Value; }
  [[nodiscard]] bool SortEnabled() const { return FSortEnabled; }
  void SetSortEnabled(bool Value) { FSortEnabled = Value; }

  // ---- per column (1-based table columns) ---------------------------------------------------
  [[nodiscard]] TNameStrType Header(int ColNr) const { return FRLData->Header(ColNr); }
  void SetHeader(int ColNr, const std::string& Value);
  [[nodiscard]] TColFmtString ColumnFormat(int ColNr) const { return FRLData->ColumnFormat(ColNr); }
  void SetColumnFormat(int ColNr, const std::string& Value);
  [[nodiscard]] TCheckMode ColumnCheckMode(int ColNr) const { return FRLData->ColumnCheckMode(ColNr); }
  void SetColumnCheckMode(int ColNr, TCheckMode Value);
  [[nodiscard]] bool IsCheckedColumn(int ColNr) const { return FRLData->IsCheckedColumn(ColNr); }
  void SetIsCheckedColumn(int ColNr, bool Value) { SetColumnCheckMode(ColNr, Value ? cmBox : cmNone); }
  [[nodiscard]] TAlignment ColumnAlignment(int ColNr) const;
  void SetColumnAlignment(int ColNr, TAlignment Value);
  [[nodiscard]] bool ColumnIsPwd(int ColNr) const;
  void SetColumnIsPwd(int ColNr, bool Value);
  [[nodiscard]] bool ColumnEditable(int ColNr) const;
  void SetColumnEditable(int ColNr, bool Value);

  // ---- cells (the model's) -------------------------------------------------------------------
  [[nodiscard]] std::string Elem(int ACol, int ARow) const { return FRLData->Elem(ACol, ARow); }
  void SetElem(int ACol, int ARow, const std::string& Value) { Model()->SetElem(ACol, ARow, Value); }
  [[nodiscard]] bool ElemChecked(int ACol, int ARow) const { return FRLData->ElemChecked(ACol, ARow); }
  void SetElemChecked(int ACol, int ARow, bool Value) { Model()->SetElemChecked(ACol, ARow, Value); }
  [[nodiscard]] double AsNumber(int ACol, int ARow) const { return FRLData->AsNumber(ACol, ARow); }
  [[nodiscard]] std::string DefaultValue(int ACol, int ARow) const { return FRLData->DefaultValue(ACol, ARow); }

  // ---- selection and enabling ----------------------------------------------------------------
  [[nodiscard]] bool RowSelected(int Row) const;
  void SetRowSelected(int Row, bool Value);
  [[nodiscard]] bool RowEnabled(int Row) const;
  void SetRowEnabled(int Row, bool Value);
  [[nodiscard]] bool ColumnSelected(int Col) const;
  void SetColumnSelected(int Col, bool Value);
  // Whether FilterAndSort hid the row.
  [[nodiscard]] bool RowFiltered(int Row) const;
  [[nodiscard]] int FirstSelectedRow() const;
  [[nodiscard]] int FirstSelectedColumn() const;
  [[nodiscard]] int NumSelectedRows() const;
  [[nodiscard]] int NumSelectedColumns() const;
  [[nodiscard]] int NumEnabledRows() const;
  // Rows FilterAndSort left shown.
  [[nodiscard]] int NumShownRows() const;
  void SelectAllRows();
  void DeselectAllRows();
  void EnableAllRows();
  void DisableAllRows();
  void SelectAllColumns();
  void DeselectAllColumns();
  void CenterScrollAndSelect(int Row);
  // The cell under a client point: X the grid column + 1; Y the table row,
  // -2 on the common header, -1 on the column header row, 0 elsewhere.
  [[nodiscard]] TGridCoord MouseCell(int X, int Y) const;

  // ---- sorting and filtering ------------------------------------------------------------------
  [[nodiscard]] int LastSortColumn() const { return FRLData->LastSortColumn(); }
  [[nodiscard]] bool LastSortOrder() const { return FRLData->LastSortOrder(); }
  [[nodiscard]] int SecondarySortColumn() const { return FRLData->SecondarySortColumn(); }
  void SetSecondarySortColumn(int Value);
  void Sort(int Col, int ColSec, bool Ascending);
  void UnSort();
  // Hides every row that does not match FilterExp in the columns
  // FilterColumns (all when empty; check columns without their check
  // character) and shows every row that does (an empty expression shows
  // all); then sorts by SortColumn (none when outside 1..NrOfColumns).
  // OnBeforeFilter gets each row with Found set to the view's verdict and
  // CombineWithInternalSearch loNone: left so, Found is the row's verdict;
  // with another operation the verdict is CombineLogic(op, Found, the
  // view's verdict). An invalid expression raises EVORNRepListError naming
  // the position and changes nothing.
  void FilterAndSort(const std::string& FilterExp, const std::vector<int>& FilterColumns, bool IgnoreCase,
                     TFilterMode FilterMode, int SortColumn, bool Ascending);

  // ---- table operations ------------------------------------------------------------------------
  int AddRow();
  int InsertRow(int R);
  void RemoveRow(int R);
  void RemoveEmptyRows();
  void Fill(const std::string& S);
  void Clear();
  [[nodiscard]] int ColumnIndex(std::string_view Head, bool PartialMatch) const {
    return FRLData->ColumnIndex(Head, PartialMatch);
  }
  void CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader, bool UseTabs) {
    FRLData->CopyToClipBoard(LeftCol, TopRow, RightCol, BottomRow, AddHeader, UseTabs);
  }
  void CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                       std::string_view Separator) {
    FRLData->CopyToClipBoard(LeftCol, TopRow, RightCol, BottomRow, AddHeader, Separator);
  }
  [[nodiscard]] int CountCheckedElemsInRow(int Row) const { return FRLData->CountCheckedElemsInRow(Row); }
  // Disabled rows are not counted.
  [[nodiscard]] int CountCheckedElemsInCol(int Column) const;
  [[nodiscard]] int FirstCheckedElemInCol(int ColNr) const { return FRLData->FirstCheckedElemInCol(ColNr); }
  [[nodiscard]] int FirstCheckedElemInRow(int RowNr) const { return FRLData->FirstCheckedElemInRow(RowNr); }
  void SetAllCheckmarksOfCol(int Column, bool Checked);
  void InvertAllCheckmarksOfCol(int Column);
  void AutoColWidth(int ColNr, bool IncludeHeader, int Addon);
  void AutoColWidth(int ColNr, bool IncludeHeader, int Addon, int MaxWidth);
  void FitAllColWidths(int ExpandColumn, bool IncludeHeader, int Addon, int MaxWidth, int RightMargin);
  void ExpandColWidth(int ColIx, int RightMargin);
  [[nodiscard]] int DetermineMaxColWidth(int ColNr, bool IncludeHeader);
  void Changed();
  void ChangedSetup();
  void ChangedSelection();

  // ---- documents (the model's, then the rows are re-derived) ------------------------------------
  bool ReadFromXMLString(std::string_view InString, std::string_view ADataID);
  bool ReadFromXMLStream(std::istream& InStream, std::string_view ADataID);
  bool LoadFromXMLFile(const std::string& FileName, std::string_view ADataID);
  void WriteToXMLStream(std::ostream& OutStream, bool CreateHeader, std::string_view ADataID) const {
    FRLData->WriteToXMLStream(OutStream, CreateHeader, ADataID);
  }
  void SaveAsXMLFile(const std::string& FileName, std::string_view ADataID) const {
    FRLData->SaveAsXMLFile(FileName, ADataID);
  }
  void ExportHTMLTable(const std::string& FileName, int LoC, int LoR, int HiC, int HiR,
                       const std::vector<int>& ColumnSelection, int Border, int CellSpacing, int CellPadding,
                       bool IncludeHeader, const std::string& HeadClass, const std::string& CellClass,
                       const std::string& TableClass) const {
    Model()->ExportHTMLTable(FileName, LoC, LoR, HiC, HiR, ColumnSelection, Border, CellSpacing, CellPadding,
                             IncludeHeader, HeadClass, CellClass, TableClass);
  }
  int LoadLinesFromFile(int Column, int FirstRow, const std::string& FileName);

  // ---- row editor (rowedit.h) -------------------------------------------------------------------
  // Edits all cells of Row in a modal form placed at (PosLeft, PosTop) with
  // the caption "Editing Row <Row>" and the buttons "OK" and "Cancel";
  // returns the modal result (mrOk after the row was written back).
  int EditRowEntries(int Row, int PosLeft, int PosTop);
  int EditRowEntries(int Row, int PosLeft, int PosTop, const std::string& FormCaption, const std::string& ButOKCaption,
                     const std::string& ButCancelCaption);
  // Places the controls on ContainerForm at (PosLeft, PosTop) instead; the
  // form's caption is set empty, it grows to fit and gets no buttons.
  // Without a container form nothing happens and the result is mrCancel.
  int EditRowEntries(int Row, TForm* ContainerForm, int PosLeft, int PosTop);
  // The form of the running or last row editor; null after a form the view
  // created was freed.
  [[nodiscard]] TForm* ContainerForm() const { return FContainerForm; }

  // ---- events -------------------------------------------------------------------------------------
  [[nodiscard]] const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent E) { FOnChange = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnChangeSetup() const { return FOnChangeSetup; }
  void SetOnChangeSetup(TNotifyEvent E) { FOnChangeSetup = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnSelectedChange() const { return FOnSelectedChange; }
  void SetOnSelectedChange(TNotifyEvent E) { FOnSelectedChange = std::move(E); }
  [[nodiscard]] const TCheckStateChangeEvent& OnCheckedChange() const { return FOnChkStChange; }
  void SetOnCheckedChange(TCheckStateChangeEvent E) { FOnChkStChange = std::move(E); }
  [[nodiscard]] const TCheckStateChangeEvent& OnBeforeCheckedChange() const { return FOnBefChkStChange; }
  void SetOnBeforeCheckedChange(TCheckStateChangeEvent E) { FOnBefChkStChange = std::move(E); }
  [[nodiscard]] const TBeforeFilterEvent& OnBeforeFilter() const { return FOnBeforeFilter; }
  void SetOnBeforeFilter(TBeforeFilterEvent E) { FOnBeforeFilter = std::move(E); }
  [[nodiscard]] const TRequestEditFormatEvent& OnRequestEditFormat() const { return FOnRequestEdFmt; }
  void SetOnRequestEditFormat(TRequestEditFormatEvent E) { FOnRequestEdFmt = std::move(E); }
  [[nodiscard]] const TRenderCellEvent& OnBeforeRenderCell() const { return FOnBefRenderCell; }
  void SetOnBeforeRenderCell(TRenderCellEvent E) { FOnBefRenderCell = std::move(E); }
  [[nodiscard]] const TBeforeSortExchgEvent& OnBeforeSortExchange() const { return FOnBefSortExc; }
  void SetOnBeforeSortExchange(TBeforeSortExchgEvent E) { FOnBefSortExc = std::move(E); }
  [[nodiscard]] const TBeforeHTMLExportEvent& OnBeforeHTMLExport() const { return FOnBefHTMLExport; }
  void SetOnBeforeHTMLExport(TBeforeHTMLExportEvent E) { FOnBefHTMLExport = std::move(E); }
  [[nodiscard]] const TOnPercentDoneEvent& OnPercentDone() const { return FOnPercentDone; }
  void SetOnPercentDone(TOnPercentDoneEvent E) { FOnPercentDone = std::move(E); }

  // ---- control hooks --------------------------------------------------------------------------------
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void DblClick() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

 protected:
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  bool SelectCell(int ACol, int ARow) override;
  std::string GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const std::string& Value) override;
  void TopLeftChanged() override;
  void CreateWnd() override;

 private:
  // The model for an operation that may raise events: the copy keeps it alive
  // until the end of the caller's expression even if a handler deletes the
  // view, so the operation finishes; the caller checks a TDestroyGuard before
  // touching the view again.
  [[nodiscard]] std::shared_ptr<TRLData> Model() const { return FRLData; }
  void RouteModel();
  template <typename Operation>
  void WithPaintHeld(Operation&& Op);
  void SetSetupColor(TColor& Field, TColor Value);
  void Redraw();
  // Both return false when a handler (OnTopLeftChanged) deleted the view.
  bool DeriveGridRows();
  void SetHeaderHeights();
  bool SyncRowHeights();
  void ModelReplaced();
  void ResizeColumnArrays(int Count, const char* Reason);
  [[nodiscard]] bool ColInside(int ColNr) const { return ColNr >= 1 && ColNr <= NrOfColumns(); }
  [[nodiscard]] bool RowInside(int Row) const { return Row >= 1 && Row <= NrOfRows(); }
  [[nodiscard]] int TableColOf(int GridCol) const;
  [[nodiscard]] int TableRowOf(int GridRow) const { return GridRow - FixedRows() + 1; }
  [[nodiscard]] int GridRowOf(int Row) const { return Row + FixedRows() - 1; }
  [[nodiscard]] std::uint8_t RowAttrib(int Row) const { return FRLData->Strings()->GetRowAttrib(Row); }
  void SetRowBit(int Row, std::uint8_t Bit, bool Value);
  void SetAllRowBits(std::uint8_t Bit, bool Value);
  [[nodiscard]] int ColumnHeaderGridRow() const { return FComHdVis ? 1 : 0; }
  [[nodiscard]] std::string ComponentMessage(const std::string& Reason) const;

  // Painting (replistview_paint.cpp).
  // False when OnBeforeRenderCell deleted the view.
  bool DrawDataCell(TCanvas& C, int ACol, int ARow, const TRect& ARect, TRect& T);
  void DrawCheckMark(TCanvas& C, const TRect& B, bool Radio, bool Checked, TColor PenColor, TColor FontColor,
                     bool DisabledRow);
  void DrawCommonHeader(TCanvas& C, const TRect& B, const TRect& T, int XEnd);
  void DrawColumnHeader(TCanvas& C, int ACol, const TRect& B, const TRect& T, int XEnd);
  [[nodiscard]] int HeaderEnd() const;
  void RepaintCommonHeader(TCanvas& C);
  void PaintEmptyMessage(TCanvas& C);
  void PaintInterRowIndicator(TCanvas& C);

  // Row editor (rowedit.cpp).
  int RunRowEditor(int Row, TForm* Container, int PosLeft, int PosTop, const std::string& FormCaption,
                   const std::string& ButOKCaption, const std::string& ButCancelCaption);

  // Input (replistview_input.cpp).
  void HeaderClickSort(int C);
  void ToggleCheck(int C, int R);
  void SelectByClick(int R, TShiftState Shift);
  void SelectOnlyRow(int R);

  bool FAutoAdvance = false;
  int FLastMousePosX = 0;
  int FLastMousePosY = 0;
  TNotifyEvent FOnChange, FOnChangeSetup, FOnSelectedChange;
  std::vector<TAlignment> FColAlignment;
  TAlignment FHeaderAlignment = taCenter;
  std::string FEmptyMsg;
  std::vector<bool> FColumnEditable;
  std::vector<bool> FColumnIsPwd;
  std::vector<int> FColOrder;
  bool FComHdVis = false;
  TColor FComHdColor = static_cast<TColor>(0xFF00000F);
  TColor FComHdTxtColor = static_cast<TColor>(0x000000);
  int FComHdHgt = 20;
  bool FColHdVis = true;
  TColor FColHdColor = static_cast<TColor>(0xFF00000F);
  TColor FColHdTxtColor = static_cast<TColor>(0x000000);
  int FColHdHgt = 20;
  TColor FColorEmptyMsg = static_cast<TColor>(0x000000);
  TColor FDisabledTextColor = static_cast<TColor>(0xC0C0C0);
  TColor FDisabledBkgdColor = static_cast<TColor>(0xF0F0F0);
  bool FEnabled = true;
  int FSelectAnchor = 1;
  int FRowSelectMode = 1;
  bool FCtrlForMultiSel = true;
  bool FSortEnabled = true;
  TCheckStateChangeEvent FOnChkStChange, FOnBefChkStChange;
  TBeforeFilterEvent FOnBeforeFilter;
  TRequestEditFormatEvent FOnRequestEdFmt;
  TColor FSelRowColor = static_cast<TColor>(0x94BAED);
  TColor FSelRowTextColor = static_cast<TColor>(0x800000);
  TColor FSelColColor = static_cast<TColor>(0x000000);
  TColor FSelColTextColor = static_cast<TColor>(0x000000);
  TColor FSelBothColor = static_cast<TColor>(0x000000);
  TColor FSelBothTextColor = static_cast<TColor>(0x000000);
  bool FShowEmptyCBx = true;
  bool FROCheckMarks = false;
  TColor FHiLgtColor = static_cast<TColor>(0xCC9966);
  TColor FHiLgtTextColor = static_cast<TColor>(0xFFFFFF);
  bool FHiLgtBold = false;
  int FHiLgtRow = 0;
  int FHiLgtColumn = 0;
  TOnPercentDoneEvent FOnPercentDone;
  TRenderCellEvent FOnBefRenderCell;
  TBeforeSortExchgEvent FOnBefSortExc;
  TBeforeHTMLExportEvent FOnBefHTMLExport;
  bool FSuppressPaint = true;
  TColor FColorNormal = static_cast<TColor>(0x002000);
  TColor FRColorNormal = static_cast<TColor>(0xFFFFFF);
  TColor FRColorShaded = static_cast<TColor>(0xF0EFE8);
  int FRowColPattern = 1;
  int FInterRowIndi = 0;
  TColor FInterRowColor = static_cast<TColor>(0x0000FF);
  int FInterRowWidth = 3;
  bool FFixedColOne = false;
  TForm* FContainerForm = nullptr;
  TSpeedButton* FSBERCancel = nullptr;
  // Shared so that an operation of the model whose events delete the view
  // can finish on a live model (see Model()).
  std::shared_ptr<TRLData> FRLData;
  bool FHasFilteredRows = false;  // some row may carry RowFilteredBit
  int FQuietModel = 0;            // > 0: storage changes made by the view itself
  // The only selected row (0: none), or -1 when not known; lets keyboard
  // moves reselect without walking every row.
  int FSoleSelected = -1;
};

}  // namespace vorn
